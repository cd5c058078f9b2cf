#include "tools/trace/Trace.h"

#include <cinttypes>

#include "physics/Explosion.h"
#include "physics/StateText.h"
#include "physics/Step.h"
#include "physics/World.h"

World headlessStartWorld(double timeStep) {
    World world;
    initWorld(world);
    world.timeStep = timeStep;
    world.soundOn = 1;
    world.cameraMode = 0;
    return world;
}

const char* traceUsage() {
    return "usage: torvel-trace FRAMES [--every K] [--time-step X] [--digest N] [--keys FILE] | "
           "torvel-trace --keys FILE\n";
}

ArgumentsEnd parseTraceArgs(int argc, const char* const* argv, TraceOptions& options) {
    TraceOptions parsed;
    bool shaped = false;  // --every, --time-step or --digest, which only a count takes
    const auto atLeastOne = [&shaped](std::int64_t& value) {
        return [&shaped, target = &value](const char* text) {
            shaped = true;
            return parseCount(text, *target) && *target >= 1;
        };
    };
    const std::vector<ToolOption> flags = {
        {"--every", true, false, atLeastOne(parsed.every)},
        {"--time-step", true, false,
         [&](const char* text) {
             shaped = true;
             return parseFinite(text, parsed.timeStep);
         }},
        {"--digest", true, false, atLeastOne(parsed.digest)},
        {"--keys", true, false, [&](const char* text) { return (parsed.keys = text) != nullptr; }},
    };
    std::size_t counts = 0;
    const ArgumentsEnd end = readArguments(
        argc, argv, flags, {[&](const char* text) { return parseCount(text, parsed.frames); }}, counts);
    // Without a count only a recording's own check: it starts where the program starts.
    if (end == ArgumentsEnd::Read && counts == 0 && (parsed.keys == nullptr || shaped)) {
        return ArgumentsEnd::Refused;
    }
    parsed.framesGiven = counts == 1;
    options = parsed;
    return end;
}

bool runTrace(const TraceOptions& options, Replay& keys, std::FILE* out) {
    World world = headlessStartWorld(options.timeStep);
    StateText text;
    std::uint64_t hash = fnvOffsetBasis;
    std::int64_t blockStart = 1;
    replayPasses(keys, 0, world);
    for (std::int64_t n = 1; n <= options.frames; ++n) {
        // The program applies a pass's commands after drawing its frame: they show in that frame's state.
        const StepReport report = replayFrame(keys, n, world, ageExplosions);
        if (n % options.every == 0 || n == options.frames) {
            formatFrame(text, n, report, world);
            if (options.digest == 0) {
                std::fwrite(text.bytes, 1, text.size, out);
            } else {
                hash = fnv1a(hash, text);
            }
        }
        if (options.digest > 0 && (n % options.digest == 0 || n == options.frames)) {
            std::fprintf(out, "frames %lld-%lld %016llx\n", static_cast<long long>(blockStart),
                         static_cast<long long>(n), static_cast<unsigned long long>(hash));
            hash = fnvOffsetBasis;
            blockStart = n + 1;
        }
        if (std::ferror(out) != 0) {
            return false;  // no reader wants the rest
        }
    }
    return std::fflush(out) == 0 && std::ferror(out) == 0;
}

int checkReplay(Replay& keys, std::FILE* out) {
    const std::int64_t frames = replayFrames(keys.recording);
    World world = headlessStartWorld(0.6);
    StepReport report{};
    replayPasses(keys, 0, world);
    for (std::int64_t n = 1; n <= frames; ++n) {
        report = replayFrame(keys, n, world, ageExplosions);
    }
    const std::uint64_t replayed = stateDigest(frames, report, world);
    std::fputs(replayCheckLine(keys.recording, replayed).c_str(), out);
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        return 2;
    }
    return !keys.recording.ended || replayed == keys.recording.digest ? 0 : 1;
}
