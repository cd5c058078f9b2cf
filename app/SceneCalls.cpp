#include "app/SceneCalls.h"

#include "physics/Step.h"
#include "physics/World.h"
#include "render/Frame.h"
#include "render/RenderingState.h"
#include "render/Textures.h"

namespace {

// The loop has no use for the step's report.
void stepOnly(World& world) {
    stepWorld(world);
}

}  // namespace

SceneCalls realSceneCalls() {
    return SceneCalls{setupProjection, setupRendering, stepOnly, drawFrame, deleteTextures};
}
