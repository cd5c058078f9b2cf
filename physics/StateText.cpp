#include "physics/StateText.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

[[gnu::format(printf, 2, 3)]] void appendLine(StateText& text, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text.bytes + text.size, sizeof text.bytes - text.size, format, args);
    va_end(args);
    // The buffer is sized so that nothing is cut; should it be, the size stays within it.
    text.size = std::min(text.size + static_cast<std::size_t>(std::max(length, 0)), sizeof text.bytes - 1);
}

}  // namespace

void formatFrame(StateText& text, std::int64_t frame, const StepReport& report, const World& world) {
    text.size = 0;
    appendLine(text, "frame %lld substeps %d sounds %d spawns %d viewAngle %.9g\n",
               static_cast<long long>(frame), report.substeps, report.sounds, report.spawns,
               static_cast<double>(world.viewAngle));
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

void appendSettings(StateText& text, const World& world) {
    const Vector& c = world.cameraPosition;
    appendLine(text, "camera %.17g %.17g %.17g timeStep %.17g soundOn %d cameraMode %d\n", c.getX(), c.getY(),
               c.getZ(), world.timeStep, static_cast<int>(world.soundOn), static_cast<int>(world.cameraMode));
}

std::uint64_t fnv1a(std::uint64_t hash, const StateText& text) {
    for (std::size_t i = 0; i < text.size; ++i) {
        hash ^= static_cast<unsigned char>(text.bytes[i]);
        hash *= 1099511628211u;
    }
    return hash;
}

std::uint64_t stateDigest(std::int64_t frame, const StepReport& report, const World& world) {
    StateText text;
    formatFrame(text, frame, report, world);
    appendSettings(text, world);
    return fnv1a(fnvOffsetBasis, text);
}
