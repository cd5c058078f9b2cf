#include "tools/trace/Trace.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "physics/Explosion.h"
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

// The text of one printed frame: ten ball lines and at most twenty explosion lines, under 5 kB.
struct FrameText {
    char bytes[8192];
    std::size_t size = 0;
};

[[gnu::format(printf, 2, 3)]] void appendLine(FrameText& text, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text.bytes + text.size, sizeof text.bytes - text.size, format, args);
    va_end(args);
    // The buffer is sized so that nothing is cut; should it be, the size stays within it.
    text.size = std::min(text.size + static_cast<std::size_t>(std::max(length, 0)), sizeof text.bytes - 1);
}

void formatFrame(FrameText& text, std::int64_t n, const StepReport& report, const World& world) {
    text.size = 0;
    appendLine(text, "frame %lld substeps %d sounds %d spawns %d viewAngle %.9g\n", static_cast<long long>(n),
               report.substeps, report.sounds, report.spawns, static_cast<double>(world.viewAngle));
    for (int i = 0; i < world.ballCount; ++i) {
        const Vector& p = world.ballPositions[i];
        const Vector& v = world.ballVelocities[i];
        appendLine(text, "ball %d %.17g %.17g %.17g %.17g %.17g %.17g\n", i, p.getX(), p.getY(), p.getZ(),
                   v.getX(), v.getY(), v.getZ());
    }
    for (int slot = 0; slot < explosionSlots; ++slot) {
        const Explosion& e = world.explosions[slot];
        if (e.alpha > 0.0f) {
            appendLine(text, "explosion %d %.9g %.9g %.17g %.17g %.17g\n", slot, static_cast<double>(e.alpha),
                       static_cast<double>(e.scale), e.position.getX(), e.position.getY(), e.position.getZ());
        }
    }
}

// 64-bit FNV-1a: simple, and the same on every platform, which is all a digest of known text needs.
constexpr std::uint64_t fnvOffsetBasis = 14695981039346656037u;

std::uint64_t fnv1a(std::uint64_t hash, const FrameText& text) {
    for (std::size_t i = 0; i < text.size; ++i) {
        hash ^= static_cast<unsigned char>(text.bytes[i]);
        hash *= 1099511628211u;
    }
    return hash;
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
    return "usage: torvel-trace FRAMES [--every K] [--time-step X] [--digest N]\n";
}

bool parseTraceArgs(int argc, const char* const* argv, TraceOptions& options) {
    TraceOptions parsed;
    bool haveFrames = false;
    bool haveEvery = false;
    bool haveTimeStep = false;
    bool haveDigest = false;
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
        } else if (!haveFrames && parseCount(arg, parsed.frames)) {
            haveFrames = true;
        } else {
            return false;  // unknown flag, negative or malformed count, or a second count
        }
    }
    if (!haveFrames) {
        return false;
    }
    options = parsed;
    return true;
}

bool runTrace(const TraceOptions& options, std::FILE* out) {
    World world = headlessStartWorld(options.timeStep);
    FrameText text;
    std::uint64_t hash = fnvOffsetBasis;
    std::int64_t blockStart = 1;
    for (std::int64_t n = 1; n <= options.frames; ++n) {
        const StepReport report = stepWorld(world);
        ageExplosions(world);
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
