#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzChecks.h"

namespace fs = std::filesystem;

namespace {

using Check = std::string (*)(const std::uint8_t*, std::size_t);

// Every input the fuzzers ever found, run through the same check that caught it.
void replayAll(const char* kind, Check check) {
    const fs::path dir = fs::path(TORVEL_FUZZ_REGRESSIONS) / kind;
    std::vector<fs::path> inputs;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty()) << "no inputs in " << dir;
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "")
            << input.filename();
    }
}

TEST(FuzzRegressions, TextForms) {
    replayAll("text_forms", checkTextForms);
}

TEST(FuzzRegressions, Bitmap) {
    replayAll("bitmap", checkBitmap);
}

}  // namespace
