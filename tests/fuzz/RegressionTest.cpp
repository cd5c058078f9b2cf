#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzChecks.h"

namespace fs = std::filesystem;

namespace {

using Check = std::string (*)(const std::uint8_t*, std::size_t);

std::vector<char> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every input the fuzzers ever found, run through the same check that caught it.
void replayAll(const char* kind, const std::function<std::string(const std::vector<char>&)>& check) {
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
        EXPECT_EQ(check(contents(input)), "") << input.filename();
    }
}

std::string run(Check check, const std::vector<char>& bytes) {
    return check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

long virtualMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmSize:" && status >> value) {
            return value;
        }
    }
    return 0;
}

// The check in a child process that may reserve at most 64 MiB more than it has: a loader that
// allocates what a short file's header promises fails there with the allocation line instead
// of the read-error line.
std::string runWithLittleMemory(Check check, const std::vector<char>& bytes) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const rlim_t limit = static_cast<rlim_t>(virtualMemoryKiB() + 64 * 1024) * 1024;
        const rlimit cap{limit, limit};
        setrlimit(RLIMIT_AS, &cap);
        _exit(run(check, bytes).empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "failed with its memory capped";
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool addressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool addressSanitizer = true;
#else
constexpr bool addressSanitizer = false;
#endif
#else
constexpr bool addressSanitizer = false;
#endif

TEST(FuzzRegressions, TextForms) {
    replayAll("text_forms", [](const std::vector<char>& bytes) { return run(checkTextForms, bytes); });
}

TEST(FuzzRegressions, Bitmap) {
    replayAll("bitmap", [](const std::vector<char>& bytes) { return run(checkBitmap, bytes); });
}

// A header of a few bytes that claims a large picture used to make the loader reserve the
// whole pixel block before finding the file short.
TEST(FuzzRegressions, BitmapWithLittleMemory) {
    if (addressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory does not fit under a capped address space";
    }
    replayAll("bitmap",
              [](const std::vector<char>& bytes) { return runWithLittleMemory(checkBitmap, bytes); });
}

}  // namespace
