#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/trace/Trace.h"

namespace {

bool parse(std::vector<const char*> args, TraceOptions& options) {
    args.insert(args.begin(), "torvel-trace");
    return parseTraceArgs(static_cast<int>(args.size()), args.data(), options);
}

bool parses(std::vector<const char*> args) {
    TraceOptions options;
    return parse(std::move(args), options);
}

std::string traceText(const TraceOptions& options) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(runTrace(options, file));
    std::string text;
    std::rewind(file);
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        text.append(chunk, n);
    }
    std::fclose(file);
    return text;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(TraceArgs, FramesAloneTakesTheDefaults) {
    TraceOptions options;
    ASSERT_TRUE(parse({"250"}, options));
    EXPECT_EQ(options.frames, 250);
    EXPECT_EQ(options.every, 1);
    EXPECT_EQ(options.timeStep, 0.6);
}

TEST(TraceArgs, FlagsInEitherOrder) {
    TraceOptions options;
    ASSERT_TRUE(parse({"7", "--time-step", "-0.25", "--every", "3"}, options));
    EXPECT_EQ(options.frames, 7);
    EXPECT_EQ(options.every, 3);
    EXPECT_EQ(options.timeStep, -0.25);
    ASSERT_TRUE(parse({"0", "--time-step", "1e-3"}, options));
    EXPECT_EQ(options.frames, 0);
    EXPECT_EQ(options.timeStep, 1e-3);
}

TEST(TraceArgs, RefusesWhatIsNotExactlyANumber) {
    EXPECT_FALSE(parses({}));
    EXPECT_FALSE(parses({"ten"}));
    EXPECT_FALSE(parses({"10x"}));
    EXPECT_FALSE(parses({" 10"}));
    EXPECT_FALSE(parses({"-1"}));
    EXPECT_FALSE(parses({"+5"}));
    EXPECT_FALSE(parses({"99999999999999999999999"}));
    EXPECT_FALSE(parses({"10", "20"}));
    EXPECT_FALSE(parses({"10", "--every", "0"}));
    EXPECT_FALSE(parses({"10", "--every", "2.5"}));
    EXPECT_FALSE(parses({"10", "--every"}));
    EXPECT_FALSE(parses({"10", "--time-step"}));
    EXPECT_FALSE(parses({"10", "--time-step", "0.6s"}));
    EXPECT_FALSE(parses({"10", "--time-step", ""}));
    EXPECT_FALSE(parses({"10", "--time-step", "inf"}));
    EXPECT_FALSE(parses({"10", "--time-step", "nan"}));
    EXPECT_FALSE(parses({"10", "--time-step", "1e999"}));
    EXPECT_FALSE(parses({"10", "--frames"}));
}

TEST(TraceArgs, RefusalLeavesTheOptionsAlone) {
    TraceOptions options;
    options.frames = 42;
    EXPECT_FALSE(parse({"10", "--every", "0"}, options));
    EXPECT_EQ(options.frames, 42);
}

TEST(TraceRun, PrintsTheChosenFramesAndTheLast) {
    TraceOptions options;
    options.frames = 10;
    options.every = 4;
    const std::string text = traceText(options);
    EXPECT_EQ(count(text, "frame "), 3);  // 4, 8 and the last, 10
    EXPECT_EQ(text.find("frame 4 "), 0u);
    EXPECT_NE(text.find("\nframe 8 "), std::string::npos);
    EXPECT_NE(text.find("\nframe 10 "), std::string::npos);
    EXPECT_EQ(count(text, "\nball "), 30);
}

TEST(TraceRun, FirstFrameOfTheStartScene) {
    TraceOptions options;
    options.frames = 1;
    const std::string text = traceText(options);
    EXPECT_EQ(text.substr(0, text.find('\n')), "frame 1 substeps 1 sounds 0 spawns 0 viewAngle 0.100000001");
    // 199 + (0.5 * 0.6), 180 + (-0.1 - 0.03) * 0.6, ... printed to the last bit.
    EXPECT_NE(text.find("\nball 0 199.30000000000001 179.922 10.300000000000001 0.5 -0.13 0.5\n"),
              std::string::npos);
    EXPECT_EQ(count(text, "explosion"), 0);
}

TEST(TraceRun, ExplosionsAreListedWhileVisible) {
    TraceOptions options;
    options.frames = 3000;
    options.every = 3000;
    const std::string text = traceText(options);
    // The start scene has collided many times by then; a listed slot is still fading.
    const std::size_t at = text.find("\nexplosion ");
    ASSERT_NE(at, std::string::npos);
    int slot = -1;
    float alpha = 0.0f;
    float scale = 0.0f;
    ASSERT_EQ(std::sscanf(text.c_str() + at + 1, "explosion %d %f %f", &slot, &alpha, &scale), 3);
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, 20);
    EXPECT_GT(alpha, 0.0f);
    EXPECT_LT(alpha, 1.0f);
    EXPECT_GT(scale, 1.0f);
}

TEST(TraceRun, NoFramesPrintNothing) {
    TraceOptions options;
    EXPECT_EQ(traceText(options), "");
}

}  // namespace
