#include "render/Image.h"

#include <cstdlib>

std::uint32_t readUint32Le(std::FILE* file) {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(std::fgetc(file))) << shift;
    }
    return value;
}

std::uint16_t readUint16Le(std::FILE* file) {
    std::uint16_t low = static_cast<unsigned char>(std::fgetc(file));
    std::uint16_t high = static_cast<unsigned char>(std::fgetc(file));
    return static_cast<std::uint16_t>(low | (high << 8));
}

namespace {

// Closes the file on every way out of loadBitmap.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() { std::fclose(file); }
};

}  // namespace

int loadBitmap(const char* fileName, Image& image, std::uint32_t maxDimension) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        std::printf("File Not Found : %s\n", fileName);
        return 0;
    }
    FileCloser closer{file};

    std::fseek(file, 18, SEEK_CUR);
    image.width = readUint32Le(file);
    std::printf("Width of %s: %lu\n", fileName, static_cast<unsigned long>(image.width));
    image.height = readUint32Le(file);
    std::printf("Height of %s: %lu\n", fileName, static_cast<unsigned long>(image.height));

    // Counted in 64 bits so that a product past 32 bits is seen, not wrapped into a small block.
    const std::uint64_t byteCount = std::uint64_t{image.width} * image.height * 3u;

    const unsigned planes = readUint16Le(file);
    if (planes != 1) {
        std::printf("Planes from %s is not 1: %u\n", fileName, planes);
        return 0;
    }
    const unsigned bitsPerPixel = readUint16Le(file);
    if (bitsPerPixel != 24) {
        std::printf("Bpp from %s is not 24: %u\n", fileName, bitsPerPixel);
        return 0;
    }

    if (byteCount > UINT32_MAX) {
        std::printf("Size of %s is too large: %lu x %lu pixels need more than 4 GiB\n", fileName,
                    static_cast<unsigned long>(image.width), static_cast<unsigned long>(image.height));
        return 0;
    }
    if (maxDimension != 0 && (image.width > maxDimension || image.height > maxDimension)) {
        std::printf("Size of %s is too large: %lu x %lu, at most %lu x %lu is accepted\n", fileName,
                    static_cast<unsigned long>(image.width), static_cast<unsigned long>(image.height),
                    static_cast<unsigned long>(maxDimension), static_cast<unsigned long>(maxDimension));
        return 0;
    }

    // A header that promises more pixels than the file holds fails as the read would, but before
    // the block is allocated: a file of a few bytes must not make us reserve hundreds of megabytes.
    const long here = std::ftell(file);
    if (here >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        std::fseek(file, here, SEEK_SET);
        if (end >= 0 && static_cast<std::uint64_t>(end) < 54u + byteCount) {
            std::printf("Error reading image data from %s.\n", fileName);
            return 0;
        }
    }

    std::fseek(file, 24, SEEK_CUR);

    const std::size_t size = static_cast<std::size_t>(byteCount);
    // An empty picture still gets a block of its own, so that only the read below rejects it.
    image.pixels = static_cast<unsigned char*>(std::malloc(size > 0 ? size : 1));
    if (image.pixels == nullptr) {
        std::printf("Error allocating memory for color-corrected image data");
        return 0;
    }

    // A read of zero bytes delivers no item, so an empty picture fails here too.
    if (std::fread(image.pixels, size, 1, file) != 1) {
        std::printf("Error reading image data from %s.\n", fileName);
        std::free(image.pixels);
        image.pixels = nullptr;
        return 0;
    }

    for (std::size_t i = 0; i + 2 < size; i += 3) {
        const unsigned char blue = image.pixels[i];
        image.pixels[i] = image.pixels[i + 2];
        image.pixels[i + 2] = blue;
    }
    return 1;
}
