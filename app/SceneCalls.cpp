#include "app/SceneCalls.h"

#include "physics/Step.h"
#include "physics/World.h"
#include "render/Frame.h"
#include "render/RenderingState.h"
#include "render/Textures.h"

SceneCalls realSceneCalls() {
    return SceneCalls{setupProjection, setupRendering, stepWorld, drawFrame, deleteTextures};
}
