#include "tools/trace/Trace.h"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "physics/Explosion.h"
#include "physics/StateText.h"
#include "physics/Step.h"
#include "physics/World.h"

namespace {

bool isDigits(const char* text) {
    if (*text == '\0') {
        return false;
    }
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool parseCount(const char* text, std::int64_t& value) {
    if (!isDigits(text)) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = parsed;
    return true;
}

bool parseFinite(const char* text, double& value) {
    // strtod would skip leading blanks; a value with them is as malformed as one with trailing ones.
    if (*text == '\0' || *text == ' ' || (*text >= '\t' && *text <= '\r')) {
        return false;
    }
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

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

bool parseTraceArgs(int argc, const char* const* argv, TraceOptions& options) {
    TraceOptions parsed;
    bool haveFrames = false;
    bool haveEvery = false;
    bool haveTimeStep = false;
    bool haveDigest = false;
    bool haveKeys = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--every") == 0) {
            if (haveEvery || i + 1 >= argc || !parseCount(argv[i + 1], parsed.every) || parsed.every < 1) {
                return false;
            }
            haveEvery = true;
            ++i;
        } else if (std::strcmp(arg, "--time-step") == 0) {
            if (haveTimeStep || i + 1 >= argc || !parseFinite(argv[i + 1], parsed.timeStep)) {
                return false;
            }
            haveTimeStep = true;
            ++i;
        } else if (std::strcmp(arg, "--digest") == 0) {
            if (haveDigest || i + 1 >= argc || !parseCount(argv[i + 1], parsed.digest) || parsed.digest < 1) {
                return false;
            }
            haveDigest = true;
            ++i;
        } else if (std::strcmp(arg, "--keys") == 0) {
            if (haveKeys || i + 1 >= argc) {
                return false;
            }
            parsed.keys = argv[i + 1];
            haveKeys = true;
            ++i;
        } else if (!haveFrames && parseCount(arg, parsed.frames)) {
            haveFrames = true;
        } else {
            return false;  // unknown flag, negative or malformed count, or a second count
        }
    }
    // Without a count only a recording's own check: it starts where the program starts.
    if (!haveFrames && (!haveKeys || haveEvery || haveTimeStep || haveDigest)) {
        return false;
    }
    parsed.framesGiven = haveFrames;
    options = parsed;
    return true;
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
