#include "tools/trace/Trace.h"

#include <cerrno>
#include <cmath>
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

void printFrame(std::FILE* out, std::int64_t n, const StepReport& report, const World& world) {
    std::fprintf(out, "frame %lld substeps %d sounds %d spawns %d viewAngle %.9g\n",
                 static_cast<long long>(n), report.substeps, report.sounds, report.spawns,
                 static_cast<double>(world.viewAngle));
    for (int i = 0; i < world.ballCount; ++i) {
        const Vector& p = world.ballPositions[i];
        const Vector& v = world.ballVelocities[i];
        std::fprintf(out, "ball %d %.17g %.17g %.17g %.17g %.17g %.17g\n", i, p.getX(), p.getY(), p.getZ(),
                     v.getX(), v.getY(), v.getZ());
    }
    for (int slot = 0; slot < explosionSlots; ++slot) {
        const Explosion& e = world.explosions[slot];
        if (e.alpha > 0.0f) {
            std::fprintf(out, "explosion %d %.9g %.9g %.17g %.17g %.17g\n", slot,
                         static_cast<double>(e.alpha), static_cast<double>(e.scale), e.position.getX(),
                         e.position.getY(), e.position.getZ());
        }
    }
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
    return "usage: torvel-trace FRAMES [--every K] [--time-step X]\n";
}

bool parseTraceArgs(int argc, const char* const* argv, TraceOptions& options) {
    TraceOptions parsed;
    bool haveFrames = false;
    bool haveEvery = false;
    bool haveTimeStep = false;
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
    for (std::int64_t n = 1; n <= options.frames; ++n) {
        const StepReport report = stepWorld(world);
        ageExplosions(world);
        if (n % options.every == 0 || n == options.frames) {
            printFrame(out, n, report, world);
            if (std::ferror(out) != 0) {
                return false;  // no reader wants the rest
            }
        }
    }
    return std::fflush(out) == 0 && std::ferror(out) == 0;
}
