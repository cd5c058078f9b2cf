#pragma once

#include "physics/Step.h"

struct World;

// The shell's calls into the simulation and the renderer, routed through one record so that
// the loop can run without a rendering context. realSceneCalls() holds the real ones.
struct SceneCalls {
    void (*setupProjection)(int width, int height);
    int (*setupRendering)();
    StepReport (*stepWorld)(World& world);
    int (*drawFrame)(World& world);
    void (*deleteTextures)();
};

SceneCalls realSceneCalls();
