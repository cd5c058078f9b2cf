#include <tuple>
#include <vector>

#include "physics/Sound.h"
#include "physics/Step.h"
#include "support/Checks.h"

namespace {

const BallSetup falling{Vector(100, -295, 100), Vector(0, -10, 0)};  // 5 above the floor

struct StepCase {
    const char* name;
    std::vector<BallSetup> balls;
    double timeStep, gravity;  // gravity along y
    float slotAlpha;           // of every explosion slot: 0 as laid out, -0.01 faded out, 0.5 busy
    StepReport report;
    Vector velocity, position, explosion;  // ball 0 and slot 0 afterwards
    double tolerance;
};

TEST(Step, OneFrame) {
    const Vector no, floorHit(100, -300, 100), up10(0, 10, 0), pos = falling.position;
    const std::vector<BallSetup> fall = {falling};
    const std::vector<BallSetup> onFloor = {{Vector(-100, -270, 200), Vector(0, -1, 0)},
                                            {Vector(-100, -300, 200), Vector(0, -1, 0)}};
    const StepReport bounce{2, 0, 1, false}, busy{2, 0, 0, false}, nothing{0, 0, 0, false};
    const StepReport capped{maxSubsteps, maxSubsteps - 1, explosionSlots, true};
    const StepCase cases[] = {
        // Down to the floor at 0.5, up again; the floor at distance 0 next is refused: moving away.
        {"every slot faded out: free", fall, 1, 0, -0.01f, bounce, up10, pos, floorHit, 0},
        {"every slot busy", fall, 1, 0, 0.5f, busy, up10, pos, no, 0},
        // Ball 1 on the floor moving into it, ball 0 touching it from above: the floor hit comes first;
        // then, in contact at time 0 after every exchange, they use up the sub-steps.
        {"obstacle before contact", onFloor, 0.6, 0, 0, capped, Vector(0, 1, 0), Vector(-100, -269.4, 200),
         Vector(-100, -300, 200), 1e-9},
        {"zero step: not even gravity", fall, 0, -0.05, 0, nothing, falling.velocity, pos, no, 0},
    };
    int calls = 0;
    setSoundPlayer([](void* count) { ++*static_cast<int*>(count); }, &calls);
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        World world = worldWith(c.balls, c.timeStep);
        world.gravity = Vector(0, c.gravity, 0);
        for (Explosion& e : world.explosions) {
            e.alpha = c.slotAlpha;
        }
        calls = 0;
        const StepReport report = stepWorld(world);
        const StepReport& e = c.report;
        EXPECT_EQ(std::tie(report.substeps, report.sounds, calls, report.spawns, report.capped),
                  std::tie(e.substeps, e.sounds, e.sounds, e.spawns, e.capped));
        expectVector(world.ballVelocities[0], c.velocity, c.tolerance);
        expectVector(world.ballPositions[0], c.position, c.tolerance);
        expectVector(world.explosions[0].position, c.explosion, c.tolerance);
        EXPECT_EQ(world.explosions[0].scale, 1.0f);  // whether freshly spawned or still free
    }
    setSoundPlayer(nullptr, nullptr);
    requestSound();  // nobody listening now: dropped
    EXPECT_EQ(calls, 0);
}

TEST(Step, ViewAngle) {
    const struct {
        const char* name;
        int cameraMode;
        float before, after;
    } cases[] = {
        {"360 itself stays", 0, 360.0f - 0.1f, 360.0f},
        {"following camera: left to the keys", 1, 359.95f, 359.95f},
    };
    for (const auto& c : cases) {
        World world = worldWith({}, 0.0);
        world.cameraMode = c.cameraMode;
        world.viewAngle = c.before;
        stepWorld(world);
        EXPECT_EQ(world.viewAngle, c.after) << c.name;
    }
}

}  // namespace
