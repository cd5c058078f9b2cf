#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/Image.h"
#include "tests/fuzz/FuzzChecks.h"

namespace {

// The largest side the program asks for on a software renderer (its GL_MAX_TEXTURE_SIZE).
constexpr std::uint32_t maxDimension = 16384;

// The picture and what the loader prints live in memory files made once per process; the
// loader opens the picture by its /proc name, through the same fopen as any other file.
struct ScratchFiles {
    int pictureFd = memfd_create("torvel-fuzz-picture", 0);
    int outputFd = memfd_create("torvel-fuzz-output", 0);
    std::string picturePath = "/proc/self/fd/" + std::to_string(pictureFd);

    ~ScratchFiles() {
        if (pictureFd >= 0) {
            close(pictureFd);
        }
        if (outputFd >= 0) {
            close(outputFd);
        }
    }
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) {
        return false;
    }
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    off_t at = 0;
    while ((n = pread(fd, buffer, sizeof buffer, at)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
    return text;
}

// Runs loadBitmap with standard output going to the scratch output file; returns what it printed.
std::string capturedLoad(const ScratchFiles& files, Image& image, int& result) {
    std::fflush(stdout);
    if (ftruncate(files.outputFd, 0) != 0 || lseek(files.outputFd, 0, SEEK_SET) != 0) {
        result = -1;
        return "(the output file could not be emptied)";
    }
    const int saved = dup(STDOUT_FILENO);
    dup2(files.outputFd, STDOUT_FILENO);
    result = loadBitmap(files.picturePath.c_str(), image, maxDimension);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    return readAll(files.outputFd);
}

// A header byte as the loader sees it: past the end of the file every read gives EOF, all ones.
std::uint32_t byteAt(const std::uint8_t* data, std::size_t size, std::size_t i) {
    return i < size ? data[i] : 0xffu;
}

std::uint32_t le(const std::uint8_t* data, std::size_t size, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int k = 0; k < bytes; ++k) {
        value |= byteAt(data, size, at + static_cast<std::size_t>(k)) << (8 * k);
    }
    return value;
}

std::string line(const char* format, const std::string& name, unsigned long value) {
    char text[4096];
    std::snprintf(text, sizeof text, format, name.c_str(), value);
    return text;
}

}  // namespace

std::string checkBitmap(const std::uint8_t* data, std::size_t size) {
    static ScratchFiles files;
    if (files.pictureFd < 0 || files.outputFd < 0 || !writeAll(files.pictureFd, data, size)) {
        return "no scratch file could be written";
    }
    const std::string& name = files.picturePath;

    // What the header says, read the way the loader reads it.
    const std::uint32_t width = le(data, size, 18, 4);
    const std::uint32_t height = le(data, size, 22, 4);
    const std::uint32_t planes = le(data, size, 26, 2);
    const std::uint32_t bits = le(data, size, 28, 2);
    const std::uint64_t byteCount = std::uint64_t{width} * height * 3u;

    std::string expected =
        line("Width of %s: %lu\n", name, width) + line("Height of %s: %lu\n", name, height);
    bool accepted = false;
    bool tooLarge = false;
    if (planes != 1) {
        expected += line("Planes from %s is not 1: %lu\n", name, planes);
    } else if (bits != 24) {
        expected += line("Bpp from %s is not 24: %lu\n", name, bits);
    } else if (byteCount > UINT32_MAX || width > maxDimension || height > maxDimension) {
        tooLarge = true;
    } else if (byteCount == 0 || size < 54 || size - 54 < byteCount) {
        expected += line("Error reading image data from %s.\n", name, 0);
    } else {
        accepted = true;
    }

    Image image;
    int result = -1;
    const std::string output = capturedLoad(files, image, result);

    std::string fault;
    if (image.width != width || image.height != height) {
        fault = "the record's size differs from the header's";
    } else if (result != (accepted ? 1 : 0)) {
        fault = accepted ? "a sound picture was refused" : "a broken picture was accepted";
    } else if (tooLarge ? output.compare(0, expected.size(), expected) != 0 ||
                              output.find("Size of " + name + " is too large: ") != expected.size() ||
                              output.back() != '\n'
                        : output != expected) {
        fault = "printed\n" + output + "instead of\n" + expected;
    } else if (!accepted && image.pixels != nullptr) {
        fault = "pixel memory left behind by a failed load";
    } else if (accepted && image.pixels == nullptr) {
        fault = "a successful load without pixels";
    } else if (accepted) {
        // Blue-green-red on disk, red-green-blue in the record.
        const std::uint8_t* stored = data + 54;
        for (std::uint64_t i = 0; i < byteCount; i += 3) {
            if (image.pixels[i] != stored[i + 2] || image.pixels[i + 1] != stored[i + 1] ||
                image.pixels[i + 2] != stored[i]) {
                fault = "pixel " + std::to_string(i / 3) + " was not turned into red, green, blue";
                break;
            }
        }
    }
    std::free(image.pixels);
    return fault;
}
