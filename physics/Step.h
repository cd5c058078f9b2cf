#pragma once

#include "physics/World.h"

// What one frame did, for tools and tests; the interactive program ignores it.
struct StepReport {
    int substeps;  // sub-steps run, a capped final one included
    int sounds;    // sound requests made
    int spawns;    // explosions put into a slot
    bool capped;   // the frame hit the sub-step bound with time still left
};

// A frame never runs more sub-steps than this. Balls found in contact at time 0 after every
// response would otherwise keep the frame from ever using up its time.
constexpr int maxSubsteps = 100;

// Advances the world by one frame of timeStep time units: gravity, then the earliest wall,
// cylinder or ball contact answered again and again until the frame's time is used up.
StepReport stepWorld(World& world);
