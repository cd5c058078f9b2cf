// loadTextures ends the process on a failure, so the case runs in a child of its own (re-executed,
// so that no rendering threads are forked) with its standard output in a file. The failures of
// each picture in turn (missing, short, bad header, too large) are run on the real program by
// tests/faults/picture.sh; the failed allocation cannot be brought about there.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "BmpFile.h"
#include "render/Textures.h"

namespace {

TEST(LoadTexturesExitTest, PixelMemoryThatCannotBeAllocatedEndsWithStatus1) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than this test leaves";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::filesystem::path dir = freshDirectory("allocation");
    std::filesystem::create_directories(dir / "data");
    // 65535 x 21845 x 3 bytes fits in 32 bits but not in the address space allowed below.
    BmpFile huge;
    huge.width = 65535;
    huge.height = 21845;
    huge.write(dir / "data" / "marble.bmp");
    // As long as the header says (sparse), so that it is the allocation that fails, not the length.
    std::filesystem::resize_file(dir / "data" / "marble.bmp", 54 + 65535ull * 21845 * 3);
    auto limitedRun = [&dir] {
        const rlimit limit{512u << 20, 512u << 20};
        setrlimit(RLIMIT_AS, &limit);
        std::filesystem::current_path(dir);
        if (std::freopen("stdout.txt", "w", stdout) == nullptr) {
            std::_Exit(98);
        }
        loadTextures();
        std::exit(99);
    };
    EXPECT_EXIT(limitedRun(), testing::ExitedWithCode(1), "");
    std::ifstream in(dir / "stdout.txt", std::ios::binary);
    std::ostringstream printed;
    printed << in.rdbuf();
    EXPECT_EQ(printed.str(),
              "Width of data/marble.bmp: 65535\nHeight of data/marble.bmp: 21845\n"
              "Error allocating memory for color-corrected image data");
#endif
}

}  // namespace
