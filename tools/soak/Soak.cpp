#include "tools/soak/Soak.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "physics/Explosion.h"
#include "physics/Step.h"
#include "tools/trace/Trace.h"

namespace {

bool finite(const Vector& v) {
    return std::isfinite(v.getX()) && std::isfinite(v.getY()) && std::isfinite(v.getZ());
}

}  // namespace

void FrameTimes::add(std::int64_t ns) {
    const std::int64_t bucket = ns < 0 ? 0 : (ns >= soakTimingBuckets ? soakTimingBuckets - 1 : ns);
    ++counts[bucket];
    ++total;
}

std::int64_t FrameTimes::percentile(double p) const {
    if (total == 0) {
        return 0;
    }
    // The smallest time that at least p of the frames do not exceed.
    const std::int64_t rank = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(p * total)));
    std::int64_t seen = 0;
    for (int ns = 0; ns < soakTimingBuckets; ++ns) {
        seen += counts[ns];
        if (seen >= rank) {
            return ns;
        }
    }
    return soakTimingBuckets - 1;
}

const char* soakUsage() {
    return "usage: torvel-soak FRAMES [--time-step X]\n";
}

ArgumentsEnd parseSoakArgs(int argc, const char* const* argv, SoakOptions& options) {
    SoakOptions parsed;
    std::size_t counts = 0;
    const ArgumentsEnd end = readArguments(
        argc, argv,
        {{"--time-step", true, false, [&](const char* text) { return parseFinite(text, parsed.timeStep); }}},
        {[&](const char* text) { return parseCount(text, parsed.frames); }}, counts);
    if (end == ArgumentsEnd::Read && counts == 0) {
        return ArgumentsEnd::Refused;
    }
    options = parsed;
    return end;
}

int findNonFiniteBall(const World& world, char* message, std::size_t size) {
    for (int i = 0; i < world.ballCount; ++i) {
        const Vector& p = world.ballPositions[i];
        const Vector& v = world.ballVelocities[i];
        if (!finite(p) || !finite(v)) {
            std::snprintf(message, size, "ball %d: position (%g, %g, %g), velocity (%g, %g, %g)", i, p.getX(),
                          p.getY(), p.getZ(), v.getX(), v.getY(), v.getZ());
            return i;
        }
    }
    return -1;
}

SoakResult runSoak(const SoakOptions& options, std::int64_t firstCount, FrameTimes& firstTimes,
                   FrameTimes& allTimes) {
    // The same start as the trace: the start scene, sound requested (no player), free camera.
    World world = headlessStartWorld(options.timeStep);

    // Called through a pointer so that the step stays one function of its own, which the
    // instruction counts of a profiler can be read off, however the build inlines.
    StepReport (*volatile step)(World&) = stepWorld;

    using Clock = std::chrono::steady_clock;
    SoakResult result;
    for (std::int64_t n = 1; n <= options.frames; ++n) {
        const Clock::time_point start = Clock::now();
        const StepReport report = step(world);
        const std::int64_t ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
        ageExplosions(world);

        result.framesRun = n;
        allTimes.add(ns);
        if (n <= firstCount) {
            firstTimes.add(ns);
        }
        if (ns > result.slowestFrameNs) {
            result.slowestFrameNs = ns;
            result.slowestFrame = n;
        }
        if (report.substeps > result.largestSubsteps) {
            result.largestSubsteps = report.substeps;
            result.largestSubstepsFrame = n;
        }
        result.totalSubsteps += report.substeps;
        result.cappedFrames += report.capped ? 1 : 0;
        result.sounds += report.sounds;
        result.spawns += report.spawns;

        if (report.substeps > soakSubstepLimit) {
            result.failedFrame = n;
            std::snprintf(result.failure, sizeof result.failure, "%d sub-steps, more than %d",
                          report.substeps, soakSubstepLimit);
            break;
        }
        if (findNonFiniteBall(world, result.failure, sizeof result.failure) >= 0) {
            result.failedFrame = n;
            break;
        }
    }
    return result;
}
