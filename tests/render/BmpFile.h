#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A BMP file laid out byte by byte, so that tests can state exactly what the loader meets.
struct BmpFile {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t infoHeaderSize = 40;  // a larger one moves the pixels past byte 54
    std::vector<std::uint8_t> pixels;   // everything after the headers, as stored

    std::vector<std::uint8_t> bytes() const;
    void write(const std::filesystem::path& path) const;
};

// A fresh, empty directory for one test.
std::filesystem::path freshDirectory(const std::string& name);

// Number of open file descriptors of this process.
int openFileCount();
