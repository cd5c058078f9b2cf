// loadTextures ends the process on every failure, so each case runs in a child of its own
// (re-executed, so that no rendering threads are forked) with its standard output in a file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "BmpFile.h"
#include "render/Textures.h"

namespace {

BmpFile goodPicture() {
    BmpFile file;
    file.width = 4;
    file.height = 4;
    file.pixels.assign(4 * 4 * 3, 0x80);
    return file;
}

class LoadTexturesExitTest : public testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        dir = freshDirectory(testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir / "data");
    }

    void put(const char* name, const BmpFile& file) { file.write(dir / "data" / name); }

    std::string printed() const {
        std::ifstream in(dir / "stdout.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir;
};

// In the child: run from the test's directory, standard output into stdout.txt.
[[noreturn]] void runLoadTextures(const std::filesystem::path& dir) {
    std::filesystem::current_path(dir);
    if (std::freopen("stdout.txt", "w", stdout) == nullptr) {
        std::_Exit(98);
    }
    loadTextures();
    std::exit(99);  // only reached when all four loaded
}

std::string headerLines(const char* file, int width, int height) {
    return std::string("Width of ") + file + ": " + std::to_string(width) + "\nHeight of " + file + ": " +
           std::to_string(height) + "\n";
}

TEST_F(LoadTexturesExitTest, MissingSecondFileEndsWithStatus1BeforeTheOthersAreOpened) {
    put("marble.bmp", goodPicture());
    put("boden.bmp", goodPicture());
    put("wand.bmp", goodPicture());
    EXPECT_EXIT(runLoadTextures(dir), testing::ExitedWithCode(1), "");
    EXPECT_EQ(printed(), headerLines("data/marble.bmp", 4, 4) + "File Not Found : data/spark.bmp\n");
}

TEST_F(LoadTexturesExitTest, ThirtyTwoBitPictureEndsWithStatus1) {
    BmpFile deep = goodPicture();
    deep.bitsPerPixel = 32;
    deep.pixels.assign(4 * 4 * 4, 0x80);
    put("marble.bmp", deep);
    put("spark.bmp", goodPicture());
    EXPECT_EXIT(runLoadTextures(dir), testing::ExitedWithCode(1), "");
    EXPECT_EQ(printed(), headerLines("data/marble.bmp", 4, 4) + "Bpp from data/marble.bmp is not 24: 32\n");
}

TEST_F(LoadTexturesExitTest, FailureOfTheLastFileFollowsTheFirstThree) {
    put("marble.bmp", goodPicture());
    put("spark.bmp", goodPicture());
    put("boden.bmp", goodPicture());
    BmpFile empty = goodPicture();
    empty.width = 0;
    put("wand.bmp", empty);
    EXPECT_EXIT(runLoadTextures(dir), testing::ExitedWithCode(1), "");
    EXPECT_EQ(printed(), headerLines("data/marble.bmp", 4, 4) + headerLines("data/spark.bmp", 4, 4) +
                             headerLines("data/boden.bmp", 4, 4) + headerLines("data/wand.bmp", 0, 4) +
                             "Error reading image data from data/wand.bmp.\n");
}

TEST_F(LoadTexturesExitTest, PixelMemoryThatCannotBeAllocatedEndsWithStatus1) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than this test leaves";
#else
    // 65535 x 21845 x 3 bytes fits in 32 bits but not in the address space allowed below.
    BmpFile huge = goodPicture();
    huge.width = 65535;
    huge.height = 21845;
    put("marble.bmp", huge);
    // As long as the header says (sparse), so that it is the allocation that fails, not the length.
    std::filesystem::resize_file(dir / "data" / "marble.bmp", 54 + 65535ull * 21845 * 3);
    auto limitedRun = [this] {
        const rlimit limit{512u << 20, 512u << 20};
        setrlimit(RLIMIT_AS, &limit);
        runLoadTextures(dir);
    };
    EXPECT_EXIT(limitedRun(), testing::ExitedWithCode(1), "");
    EXPECT_EQ(printed(), headerLines("data/marble.bmp", 65535, 21845) +
                             "Error allocating memory for color-corrected image data");
#endif
}

}  // namespace
