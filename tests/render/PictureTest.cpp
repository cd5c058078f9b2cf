// The picture loader and the texture upload, through loadTextures as the program calls it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "RenderTest.h"
#include "render/DataRoot.h"
#include "render/Textures.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool addressSanitizer = true;
#else
constexpr bool addressSanitizer = false;
#endif

// A BMP file as the loader meets it: the 54 header bytes, then the pixels as stored.
std::vector<std::uint8_t> bmpBytes(std::uint32_t width, std::uint32_t height,
                                   const std::vector<std::uint8_t>& pixels, std::uint16_t planes = 1,
                                   std::uint16_t bits = 24) {
    std::vector<std::uint8_t> out(54, 0);
    const std::uint32_t fields[][2] = {
        {0, 'B' | 'M' << 8}, {10, 54},     {14, 40},
        {18, width},         {22, height}, {26, std::uint32_t(planes | bits << 16)}};
    for (const auto& [offset, value] : fields) {
        for (int i = 0; i < 4; ++i) {
            out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Writes the file into a data/ directory of the test's own under the temporary directory.
fs::path writePicture(const std::string& test, const char* file, const std::vector<std::uint8_t>& bytes) {
    const fs::path dir = fs::path(testing::TempDir()) / "torvel-render" / test;
    fs::create_directories(dir / "data");
    std::ofstream(dir / "data" / file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return dir;
}

std::string headerLines(const std::string& file, std::uint64_t width, std::uint64_t height) {
    return "Width of data/" + file + ": " + std::to_string(width) + "\nHeight of data/" + file + ": " +
           std::to_string(height) + "\n";
}

class PictureTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(openContext(64, 64)) << SDL_GetError();
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    }
    GLint maxSize = 0;
};

// Each picture is a case the loader must read right, and each lands in its own slot: rows of 2
// pixels are padded to 8 bytes in the file but taken (and uploaded) as packed, a pixel offset of
// 122 in the header does not move the block from byte 54, and the largest side the context takes loads.
TEST_F(PictureTest, LoadsEachPictureIntoItsTextureRedFirst) {
    const std::uint32_t sizes[4][2] = {{4, 1}, {2, 2}, {4, 2}, {static_cast<std::uint32_t>(maxSize), 1}};
    std::vector<std::uint8_t> bytes[4], ramp(maxSize * 3);
    std::iota(ramp.begin(), ramp.end(), 1);
    bytes[0] = bmpBytes(4, 1, {10, 20, 30, 1, 2, 3, 0, 0, 255, 7, 8, 9});
    bytes[1] = bmpBytes(2, 2, {ramp.begin(), ramp.begin() + 16});
    bytes[2] = bmpBytes(4, 2, {ramp.begin(), ramp.begin() + 24 + 68});
    bytes[2][10] = 122;
    bytes[3] = bmpBytes(sizes[3][0], 1, ramp);
    const char* const files[4] = {"marble.bmp", "spark.bmp", "boden.bmp", "wand.bmp"};
    std::string lines;
    fs::path dir;
    for (int i = 0; i < 4; ++i) {
        dir = writePicture("pictures", files[i], bytes[i]);
        lines += headerLines(files[i], sizes[i][0], sizes[i][1]);
    }
    const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    fs::current_path(dir);
    testing::internal::CaptureStdout();
    loadTextures();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines);
    EXPECT_EQ(openFiles(), filesBefore) << "a picture file was left open";
    for (int i = 0; i < 4; ++i) {
        // Blue, green, red from byte 54 on in the file; red, green, blue in the texture.
        std::vector<std::uint8_t> expected(bytes[i].begin() + 54,
                                           bytes[i].begin() + 54 + sizes[i][0] * sizes[i][1] * 3),
            texels(ramp.size());  // room for the largest, should the slots be mixed up
        for (std::size_t p = 0; p < expected.size(); p += 3) {
            std::swap(expected[p], expected[p + 2]);
        }
        glBindTexture(GL_TEXTURE_2D, textureNames[i]);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        texels.resize(expected.size());
        EXPECT_EQ(texels, expected) << files[i];
    }
    const GLuint first = textureNames[0];
    deleteTextures();
    EXPECT_EQ(textureNames[3], 0u);
    EXPECT_EQ(glIsTexture(first), GL_FALSE);
}

// Every way a picture fails, as the second of the four after a good first one: the lines printed
// (the header values before any check; the later pictures are not opened) and the exit status, 1
// for all of them. Each case runs in a child process of its own that may take no more than 64 MiB
// of address space beyond what it holds.
TEST_F(PictureTest, EachBrokenPictureEndsTheProcessWithItsLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string over = std::to_string(maxSize + 1), max = std::to_string(maxSize);
    const std::string readError = "Error reading image data from data/spark.bmp.\n";
    const std::string tooLarge = "Size of data/spark.bmp is too large: ",
                      accepted = ", at most " + max + " x " + max;
    const std::uint32_t big = static_cast<std::uint32_t>(maxSize) + 1, cap = 64u << 20;
    struct Broken {
        const char* name;
        std::uint32_t width, height;
        std::uint16_t planes, bits;
        std::uintmax_t pixelBytes;  // UINTMAX_MAX: no file at all
        std::string lastLine;
    } cases[] = {
        {"missing", 0, 0, 1, 24, UINTMAX_MAX, "File Not Found : data/spark.bmp\n"},
        {"two planes", 4, 4, 2, 24, 48, "Planes from data/spark.bmp is not 1: 2\n"},
        {"no planes", 4, 4, 0, 24, 48, "Planes from data/spark.bmp is not 1: 0\n"},
        {"32 bits", 4, 4, 1, 32, 64, "Bpp from data/spark.bmp is not 24: 32\n"},
        {"8 bits", 4, 4, 1, 8, 16, "Bpp from data/spark.bmp is not 24: 8\n"},
        {"short pixel block", 4, 4, 1, 24, 47, readError},
        {"zero width", 0, 4, 1, 24, 48, readError},
        {"zero height", 4, 0, 1, 24, 48, readError},
        // Found before the block is reserved, not by an allocation that fails.
        {"short file claiming a large picture", 8192, 8192, 1, 24, 0, readError},
        {"no memory for the pixels", 8192, 8192, 1, 24, 8192 * 8192 * 3,
         "Error allocating memory for color-corrected image data"},
        // 0x55555556 x 3 wraps to 2 in 32 bits: a 2-byte block would pass for a huge picture.
        {"size past 32 bits", 0x55555556u, 1, 1, 24, 2,
         tooLarge + "1431655766 x 1 pixels need more than 4 GiB\n"},
        {"top-down rows", 4, 0xfffffffcu, 1, 24, 48,
         tooLarge + "4 x 4294967292 pixels need more than 4 GiB\n"},
        {"too wide", big, 1, 1, 24, 0, tooLarge + over + " x 1" + accepted + " is accepted\n"},
        {"too high", 1, big, 1, 24, 0, tooLarge + "1 x " + over + accepted + " is accepted\n"},
    };
    for (const Broken& c : cases) {
        if (addressSanitizer && c.pixelBytes > cap) {
            continue;  // the sanitizer stops the process when an allocation fails
        }
        const fs::path dir = fs::path(testing::TempDir()) / "torvel-render" / c.name;
        fs::remove_all(dir);
        writePicture(c.name, "marble.bmp", bmpBytes(1, 1, {1, 2, 3}));
        if (c.pixelBytes != UINTMAX_MAX) {  // zero pixels, sparse, so that a large picture costs no disk
            writePicture(c.name, "spark.bmp", bmpBytes(c.width, c.height, {}, c.planes, c.bits));
            fs::resize_file(dir / "data/spark.bmp", 54 + c.pixelBytes);
        }
        const auto child = [&] {
            fs::current_path(dir);
            rlim_t pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            const rlim_t bytes = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + cap;
            const rlimit limit{bytes, bytes};
            if (std::freopen("stdout.txt", "w", stdout) == nullptr || setrlimit(RLIMIT_AS, &limit) != 0) {
                std::_Exit(98);
            }
            loadTextures();
            std::exit(99);
        };
        EXPECT_EXIT(child(), testing::ExitedWithCode(1), "") << c.name;
        std::ostringstream printed;
        printed << std::ifstream(dir / "stdout.txt").rdbuf();
        const std::string spark =
            c.pixelBytes == UINTMAX_MAX ? "" : headerLines("spark.bmp", c.width, c.height);
        EXPECT_EQ(printed.str(), headerLines("marble.bmp", 1, 1) + spark + c.lastLine) << c.name;
    }
}

// Where the pictures are read from: the installed data directory beside the executable, as a plain
// path, whenever there is one; else (the build's run directory) the working directory.
TEST(DataRootTest, BesideTheExecutableFirstThenWorkingDirectory) {
    const fs::path top = fs::path(testing::TempDir()) / "torvel-data-root";
    fs::remove_all(top);
    for (const char* dir :
         {"run/data", "empty", "prefix/bin", "prefix/share/torvel-room/data", "bare/bin", "folder/data"}) {
        fs::create_directories(top / dir);
    }
    const auto at = [&top](const char* path) { return (top / path).string(); };
    const std::string program = at("prefix/bin/torvel-room"), installed = at("prefix/share/torvel-room");
    const std::string windows = at("folder/torvel-room.exe"), share = "../share/torvel-room";
    struct Case {
        const char* name;
        std::string working, executable, relative, root;
    } cases[] = {
        {"an unrelated data/ where started", at("run"), program, share, installed},
        {"installed", at("empty"), program, share, installed},
        {"nothing installed", at("empty"), at("bare/bin/torvel-room"), share, ""},
        {"no install path", at("empty"), program, "", ""},
        {"data beside the program (Windows)", at("empty"), windows, ".", at("folder")},
        {"started beside its data: relative", at("bare/../folder"), windows, ".", ""},
        {"no directory in the name", at("empty"), "torvel-room", share, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findDataRoot(c.working, c.executable, c.relative), c.root) << c.name;
    }
    setDataRoot(installed);
    EXPECT_EQ(dataPath("data/wand.bmp"), installed + "/data/wand.bmp");
    setDataRoot("");
    EXPECT_EQ(dataPath("data/wand.bmp"), "data/wand.bmp");
}

}  // namespace
