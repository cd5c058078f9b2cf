#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "render/Image.h"

namespace {

class LoadBitmapTest : public testing::Test {
  protected:
    void TearDown() override { std::free(image.pixels); }

    // Loads the file, keeping what it printed in `output` and checking that no file stays open.
    int load(const std::filesystem::path& path, std::uint32_t maxDimension = 0) {
        const int filesBefore = openFileCount();
        testing::internal::CaptureStdout();
        const int result = loadBitmap(path.c_str(), image, maxDimension);
        output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(openFileCount(), filesBefore) << "the loader left a file open";
        return result;
    }

    std::filesystem::path write(const BmpFile& file) {
        const std::filesystem::path path = dir / "picture.bmp";
        file.write(path);
        return path;
    }

    std::string headerLines(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height) {
        return "Width of " + path.string() + ": " + std::to_string(width) + "\nHeight of " + path.string() +
               ": " + std::to_string(height) + "\n";
    }

    std::filesystem::path dir = freshDirectory(testing::UnitTest::GetInstance()->current_test_info()->name());
    Image image;
    std::string output;
};

std::vector<std::uint8_t> swapped(std::vector<std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
        std::swap(bytes[i], bytes[i + 2]);
    }
    return bytes;
}

TEST_F(LoadBitmapTest, ExchangesBlueAndRedOfEveryPixel) {
    BmpFile file;
    file.width = 4;
    file.height = 1;
    file.pixels = {10, 20, 30, 1, 2, 3, 0, 0, 255, 7, 8, 9};
    const auto path = write(file);

    ASSERT_EQ(load(path), 1);
    EXPECT_EQ(output, headerLines(path, 4, 1));
    EXPECT_EQ(image.width, 4u);
    EXPECT_EQ(image.height, 1u);
    const std::vector<std::uint8_t> expected = {30, 20, 10, 3, 2, 1, 255, 0, 0, 9, 8, 7};
    EXPECT_EQ(std::vector<std::uint8_t>(image.pixels, image.pixels + 12), expected);
}

// Rows of 2 pixels are 6 bytes padded to 8 in the file; the loader still takes the first
// width x height x 3 bytes as packed rows, fill bytes included.
TEST_F(LoadBitmapTest, ReadsPaddedRowsAsPacked) {
    BmpFile file;
    file.width = 2;
    file.height = 2;
    file.pixels = {1, 2, 3, 4, 5, 6, 0xa0, 0xa1, 11, 12, 13, 14, 15, 16, 0xb0, 0xb1};
    const auto path = write(file);

    ASSERT_EQ(load(path), 1);
    const std::vector<std::uint8_t> stored(file.pixels.begin(), file.pixels.begin() + 12);
    EXPECT_EQ(std::vector<std::uint8_t>(image.pixels, image.pixels + 12), swapped(stored));
}

// The pixel offset in the file header is not consulted: with a larger info header the block
// still starts at byte 54, in the middle of the header's extension.
TEST_F(LoadBitmapTest, ReadsFromByte54WhateverThePixelOffset) {
    BmpFile file;
    file.width = 4;
    file.height = 2;
    file.infoHeaderSize = 108;
    for (int i = 0; i < 24; ++i) {
        file.pixels.push_back(static_cast<std::uint8_t>(i));
    }
    const auto path = write(file);

    ASSERT_EQ(load(path), 1);
    const std::vector<std::uint8_t> bytes = file.bytes();
    const std::vector<std::uint8_t> fromByte54(bytes.begin() + 54, bytes.begin() + 54 + 24);
    EXPECT_EQ(fromByte54[0], 0xEE);
    EXPECT_EQ(std::vector<std::uint8_t>(image.pixels, image.pixels + 24), swapped(fromByte54));
}

struct FailureCase {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
    std::uint16_t planes;
    std::uint16_t bitsPerPixel;
    std::size_t pixelBytes;
    std::uint32_t maxDimension;
    std::string lastLine;  // "%s" stands for the file name
};

// Every rejected file prints its two header lines first, then exactly one line naming the reason.
TEST_F(LoadBitmapTest, RejectsEachBadHeaderWithItsLine) {
    const FailureCase cases[] = {
        {"planes", 4, 4, 2, 24, 48, 0, "Planes from %s is not 1: 2\n"},
        {"bpp32", 4, 4, 1, 32, 64, 0, "Bpp from %s is not 24: 32\n"},
        {"bpp8", 4, 4, 1, 8, 64, 0, "Bpp from %s is not 24: 8\n"},
        {"short block", 4, 4, 1, 24, 47, 0, "Error reading image data from %s.\n"},
        {"zero width", 0, 4, 1, 24, 48, 0, "Error reading image data from %s.\n"},
        {"zero height", 4, 0, 1, 24, 48, 0, "Error reading image data from %s.\n"},
        // 0x55555556 x 3 wraps to 2 in 32 bits: a 2-byte block would pass for a huge picture.
        {"wrapping size", 0x55555556u, 1, 1, 24, 8, 0,
         "Size of %s is too large: 1431655766 x 1 pixels need more than 4 GiB\n"},
        {"top-down rows", 4, 0xfffffffcu, 1, 24, 48, 0,
         "Size of %s is too large: 4 x 4294967292 pixels need more than 4 GiB\n"},
        {"wider than accepted", 17, 2, 1, 24, 102, 16,
         "Size of %s is too large: 17 x 2, at most 16 x 16 is accepted\n"},
        {"taller than accepted", 4, 17, 1, 24, 204, 16,
         "Size of %s is too large: 4 x 17, at most 16 x 16 is accepted\n"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFile file;
        file.width = c.width;
        file.height = c.height;
        file.planes = c.planes;
        file.bitsPerPixel = c.bitsPerPixel;
        file.pixels.assign(c.pixelBytes, 0x5a);
        const auto path = write(file);
        image = Image{};

        EXPECT_EQ(load(path, c.maxDimension), 0);
        std::string last = c.lastLine;
        last.replace(last.find("%s"), 2, path.string());
        EXPECT_EQ(output, headerLines(path, c.width, c.height) + last);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(LoadBitmapTest, AcceptsAPictureOfExactlyTheLargestSize) {
    BmpFile file;
    file.width = 16;
    file.height = 16;
    file.pixels.assign(16 * 16 * 3, 1);
    ASSERT_EQ(load(write(file), 16), 1);
}

TEST_F(LoadBitmapTest, ReportsAMissingFile) {
    const auto path = dir / "absent.bmp";
    EXPECT_EQ(load(path), 0);
    EXPECT_EQ(output, "File Not Found : " + path.string() + "\n");
    EXPECT_EQ(image.width, 0u);
    EXPECT_EQ(image.pixels, nullptr);
}

// A picture written by another program: ImageMagick's plain 24-bit BMP, bottom row first.
TEST_F(LoadBitmapTest, LoadsA24BitBmpWrittenByImageMagick) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    // 4 x 2 pixels, top row first as PPM stores them.
    const std::vector<std::uint8_t> topDown = {255, 0,  0,  0,  255, 0,  0,   0,   255, 10, 20, 30,
                                               40,  50, 60, 70, 80,  90, 100, 110, 120, 1,  2,  3};
    const auto ppm = dir / "in.ppm";
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n4 2\n255\n";
        out.write(reinterpret_cast<const char*>(topDown.data()),
                  static_cast<std::streamsize>(topDown.size()));
    }
    const auto bmp = dir / "out.bmp";
    const std::string command =
        "convert '" + ppm.string() + "' -type TrueColor 'BMP3:" + bmp.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);

    ASSERT_EQ(load(bmp), 1);
    EXPECT_EQ(output, headerLines(bmp, 4, 2));
    std::vector<std::uint8_t> bottomUp(topDown.begin() + 12, topDown.end());
    bottomUp.insert(bottomUp.end(), topDown.begin(), topDown.begin() + 12);
    EXPECT_EQ(std::vector<std::uint8_t>(image.pixels, image.pixels + 24), bottomUp);
}

}  // namespace
