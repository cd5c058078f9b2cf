#include <cstdio>
#include <memory>

#include "tools/soak/Soak.h"

namespace {

double micro(std::int64_t ns) {
    return static_cast<double>(ns) / 1000.0;
}

int soak(const SoakOptions& options) {
    // Allocated before the first frame so that nothing in the loop allocates.
    constexpr std::int64_t firstCount = 10000;
    const std::unique_ptr<std::uint32_t[]> firstBuckets(new std::uint32_t[soakTimingBuckets]());
    const std::unique_ptr<std::uint32_t[]> allBuckets(new std::uint32_t[soakTimingBuckets]());
    FrameTimes firstTimes(firstBuckets.get());
    FrameTimes allTimes(allBuckets.get());

    const SoakResult r = runSoak(options, firstCount, firstTimes, allTimes);

    std::printf("frames %lld time-step %g\n", static_cast<long long>(r.framesRun), options.timeStep);
    std::printf("largest sub-step count %d (frame %lld), limit %d\n", r.largestSubsteps,
                static_cast<long long>(r.largestSubstepsFrame), soakSubstepLimit);
    std::printf(
        "sub-steps per frame on average %.3f\n",
        r.framesRun > 0 ? static_cast<double>(r.totalSubsteps) / static_cast<double>(r.framesRun) : 0.0);
    std::printf("frames that reached the sub-step cap %lld\n", static_cast<long long>(r.cappedFrames));
    std::printf("sound requests %lld, explosions spawned %lld\n", static_cast<long long>(r.sounds),
                static_cast<long long>(r.spawns));
    std::printf("slowest frame %.3f us (frame %lld)\n", micro(r.slowestFrameNs),
                static_cast<long long>(r.slowestFrame));
    std::printf("stepWorld first %lld frames: median %.3f us, p99 %.3f us\n",
                static_cast<long long>(firstTimes.total), micro(firstTimes.percentile(0.5)),
                micro(firstTimes.percentile(0.99)));
    std::printf("stepWorld all %lld frames: median %.3f us, p99 %.3f us\n",
                static_cast<long long>(allTimes.total), micro(allTimes.percentile(0.5)),
                micro(allTimes.percentile(0.99)));
    if (r.failedFrame != 0) {
        std::fprintf(stderr, "torvel-soak: frame %lld: %s\n", static_cast<long long>(r.failedFrame),
                     r.failure);
    }
    return r.failedFrame != 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    return runWithArguments(argc, argv, parseSoakArgs, soakUsage(), soak);
}
