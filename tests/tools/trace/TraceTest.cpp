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

std::string traceText(std::int64_t frames, std::int64_t every) {
    TraceOptions options;
    options.frames = frames;
    options.every = every;
    std::FILE* file = std::tmpfile();
    EXPECT_TRUE(runTrace(options, file));
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(&text[0], 1, text.size(), file), text.size());
    std::fclose(file);
    return text;
}

TEST(TraceArgs, FlagsInAnyOrderAfterTheFrames) {
    TraceOptions options;
    ASSERT_TRUE(parse({"250"}, options));
    EXPECT_EQ(options.frames, 250);
    EXPECT_EQ(options.every, 1);
    EXPECT_EQ(options.timeStep, 0.6);
    ASSERT_TRUE(parse({"7", "--time-step", "-0.25", "--every", "3"}, options));
    EXPECT_EQ(options.every, 3);
    EXPECT_EQ(options.timeStep, -0.25);
}

TEST(TraceArgs, RefusesAnythingButExactNumbers) {
    const std::vector<std::vector<const char*>> refused = {{},
                                                           {"ten"},
                                                           {"10x"},
                                                           {" 10"},
                                                           {"-1"},
                                                           {"+5"},
                                                           {"99999999999999999999999"},
                                                           {"10", "20"},
                                                           {"10", "--every", "0"},
                                                           {"10", "--every", "2.5"},
                                                           {"10", "--every"},
                                                           {"10", "--time-step"},
                                                           {"10", "--time-step", "0.6s"},
                                                           {"10", "--time-step", ""},
                                                           {"10", "--time-step", "inf"},
                                                           {"10", "--time-step", "nan"},
                                                           {"10", "--time-step", "1e999"},
                                                           {"10", "--frames"}};
    for (const auto& args : refused) {
        TraceOptions options;
        options.frames = 42;
        EXPECT_FALSE(parse(args, options)) << (args.empty() ? "(none)" : args.back());
        EXPECT_EQ(options.frames, 42);  // untouched
    }
}

// Every printed bit, explosions included, is compared with the reference physics in
// tests/reference; this checks the frame selection on its own.
TEST(TraceRun, PrintsEveryKthFrameAndTheLast) {
    const std::string text = traceText(10, 4);
    EXPECT_EQ(text.find("frame 4 substeps 1 sounds 0 spawns 0 viewAngle 0.400000006\n"), 0u);
    EXPECT_NE(text.find("\nframe 8 "), std::string::npos);
    EXPECT_NE(text.find("\nframe 10 "), std::string::npos);
    EXPECT_EQ(text.find("\nframe 9 "), std::string::npos);
    EXPECT_NE(text.find("\nball 9 "), std::string::npos);
    EXPECT_EQ(traceText(0, 1), "");
}

}  // namespace
