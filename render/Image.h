#pragma once

#include <cstdint>
#include <cstdio>

// One loaded picture: red, green, blue per pixel, bottom row first, rows packed.
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned char* pixels = nullptr;  // width * height * 3 bytes, owned by the record
};

// Little-endian reads from an open file, first byte lowest; neither looks at the end of the file.
std::uint32_t readUint32Le(std::FILE* file);
std::uint16_t readUint16Le(std::FILE* file);

// Reads an uncompressed 24-bit BMP whose pixel block starts at byte 54, printing each header
// value and any failure on standard output. Writes width and height as soon as they are read.
// A picture wider or taller than maxDimension (0: no limit), or one whose pixel byte count does
// not fit in 32 bits, is rejected before anything is allocated. Returns 1 on success, 0 on
// failure; on failure no pixel memory is left behind.
int loadBitmap(const char* fileName, Image& image, std::uint32_t maxDimension = 0);
