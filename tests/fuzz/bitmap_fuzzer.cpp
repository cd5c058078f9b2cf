// Loads the bytes as a picture file, a memory file opened by its /proc name through the same fopen
// as any other; the sanitizers judge. The one invariant: a loaded picture owns at least its
// width x height x 3 bytes of pixels (exactly these under the address sanitizer, which checks every
// access), a failed load none.
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("torvel-fuzz-picture", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    static const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;  // the loader's lines
    if (fd < 0 || !quiet || ftruncate(fd, 0) != 0 ||
        pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    Image image;
    // The largest side the program asks for on a software renderer (its GL_MAX_TEXTURE_SIZE).
    const bool loaded = loadBitmap(path.c_str(), image, 16384) == 1;
    const std::size_t bytes = std::size_t{image.width} * image.height * 3;
    if (loaded ? image.pixels == nullptr || malloc_usable_size(image.pixels) < bytes
               : image.pixels != nullptr) {
        std::abort();
    }
    std::free(image.pixels);
    return 0;
}
