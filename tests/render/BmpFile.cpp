#include "BmpFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffffu);
    put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> BmpFile::bytes() const {
    std::vector<std::uint8_t> out;
    const std::uint32_t offset = 14 + infoHeaderSize;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, infoHeaderSize);
    put32(out, width);
    put32(out, height);
    put16(out, planes);
    put16(out, bitsPerPixel);
    // Compression, image size, resolutions and colour counts, then any extension: 0xEE marks them
    // so that a test sees when the loader takes header bytes for pixels.
    while (out.size() < offset) {
        out.push_back(out.size() < 54 ? 0 : 0xEE);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void BmpFile::write(const std::filesystem::path& path) const {
    const std::vector<std::uint8_t> data = bytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::filesystem::path freshDirectory(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / ("torvel-render-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

int openFileCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}
