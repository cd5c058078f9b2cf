#pragma once

#include <cstdint>
#include <cstdio>

#include "physics/World.h"
#include "tools/common/Arguments.h"

// A long headless run of the start scene, frame by frame as the trace runs it, watched for
// values that stop being numbers and for frames that take too many sub-steps.
struct SoakOptions {
    std::int64_t frames = 0;
    double timeStep = 0.6;
};

// Frames with more sub-steps than this fail the soak.
constexpr int soakSubstepLimit = 100;

// stepWorld times are kept to the nanosecond up to this; slower frames count in the top bucket.
constexpr int soakTimingBuckets = 1000000;

// Frame times in nanoseconds, counted per nanosecond; the median and the 99th percentile are
// read off it.
struct FrameTimes {
    explicit FrameTimes(std::uint32_t* buckets) : counts(buckets) {}
    void add(std::int64_t ns);
    std::int64_t percentile(double p) const;  // p in (0, 1]; 0 when empty

    std::uint32_t* counts;  // soakTimingBuckets entries, zeroed by the owner
    std::int64_t total = 0;
};

struct SoakResult {
    std::int64_t framesRun = 0;
    int largestSubsteps = 0;
    std::int64_t largestSubstepsFrame = 0;
    std::int64_t totalSubsteps = 0;
    std::int64_t cappedFrames = 0;  // frames that reached the sub-step bound with time left
    std::int64_t slowestFrameNs = 0;
    std::int64_t slowestFrame = 0;
    std::int64_t sounds = 0;
    std::int64_t spawns = 0;
    // The first failure: 0 when none; the frame it happened in otherwise.
    std::int64_t failedFrame = 0;
    char failure[160] = {};
};

const char* soakUsage();
// "FRAMES [--time-step X]", or "--help".
ArgumentsEnd parseSoakArgs(int argc, const char* const* argv, SoakOptions& options);

// The first ball whose position or velocity is not finite, writing what is wrong into
// message; -1 when every one is finite.
int findNonFiniteBall(const World& world, char* message, std::size_t size);

// Runs the soak; early frames' times go to firstTimes (the first firstCount frames), all to allTimes.
SoakResult runSoak(const SoakOptions& options, std::int64_t firstCount, FrameTimes& firstTimes,
                   FrameTimes& allTimes);
