#pragma once

#include <cstddef>
#include <cstdint>

#include "physics/Step.h"
#include "physics/World.h"

// The printed form of the world after a frame, as the trace tool prints it, and its 64-bit digest.
// The text of one frame is ten ball lines and at most twenty explosion lines: under 5 kB.
struct StateText {
    char bytes[8192];
    std::size_t size = 0;
};

// The frame line ("frame N substeps ... viewAngle ..."), the balls and the live explosions.
void formatFrame(StateText& text, std::int64_t frame, const StepReport& report, const World& world);

// Appends the line of the settings only the key commands change besides the view angle: camera
// position, time step, sound switch and camera mode.
void appendSettings(StateText& text, const World& world);

// 64-bit FNV-1a: simple, and the same on every platform, which is all a digest of known text needs.
constexpr std::uint64_t fnvOffsetBasis = 14695981039346656037u;
std::uint64_t fnv1a(std::uint64_t hash, const StateText& text);

// The digest a recording ends with: the frame's text followed by the settings line.
std::uint64_t stateDigest(std::int64_t frame, const StepReport& report, const World& world);
