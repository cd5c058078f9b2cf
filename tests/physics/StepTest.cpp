#include <tuple>
#include <vector>

#include "physics/Sound.h"
#include "physics/Step.h"
#include "support/Checks.h"

namespace {

const Vector still(0, 0, 0);
const BallSetup falling{Vector(100, -295, 100), Vector(0, -10, 0)};  // 5 above the floor

struct StepCase {
    const char* name;
    std::vector<BallSetup> balls;
    double timeStep;
    void (*setUp)(World&);
    StepReport report;
    Vector velocity, position, explosion;  // ball 0 and slot 0 afterwards
    double tolerance;
};

TEST(Step, OneFrame) {
    auto quiet = [](World& w) { w.soundOn = 0; };
    auto heavy = [](World& w) { w.gravity = Vector(0, -0.05, 0); };
    auto none = [](World&) {};
    auto busySlots = [](World& w) {
        for (Explosion& e : w.explosions) {
            e.alpha = 0.5f;
        }
    };
    auto fadedSlots = [](World& w) {
        for (Explosion& e : w.explosions) {
            e.alpha = -0.01f;
        }
    };
    const Vector no, floorHit(100, -300, 100), up10(0, 10, 0), pos = falling.position;
    const std::vector<BallSetup> fall = {falling}, resting = {{pos, still}};
    const std::vector<BallSetup> headOn = {{Vector(-60, 100, 200), Vector(1, 0, 0.25)},
                                           {Vector(60, 100, 200), Vector(-1, 0, 0.25)}};
    const std::vector<BallSetup> onFloor = {{Vector(-100, -270, 200), Vector(0, -1, 0)},
                                            {Vector(-100, -300, 200), Vector(0, -1, 0)}};
    const StepReport bounce{2, 0, 1, false}, busy{2, 0, 0, false}, nothing{0, 0, 0, false};
    const StepReport capped{maxSubsteps, maxSubsteps - 1, explosionSlots, true};
    const StepCase cases[] = {
        // Down to the floor at 0.5, up again; the floor at distance 0 next is refused: moving away.
        {"every slot faded out: free", fall, 1, fadedSlots, bounce, up10, pos, floorHit, 0},
        {"every slot busy", fall, 1, busySlots, busy, up10, pos, no, 0},
        // Exchanged; the explosion marks ball 0 at the last sample before contact.
        {"head-on, sound off", headOn, 100, quiet, bounce, Vector(-1, 0, 0.25), Vector(-80, 100, 225),
         Vector(-20, 100, 210), 1e-9},
        // Ball 1 on the floor moving into it, ball 0 touching it from above: the floor hit comes first;
        // then, in contact at time 0 after every exchange, they use up the sub-steps.
        {"obstacle before contact", onFloor, 0.6, none, capped, Vector(0, 1, 0), Vector(-100, -269.4, 200),
         Vector(-100, -300, 200), 1e-9},
        {"zero step", fall, 0, heavy, nothing, falling.velocity, pos, no, 0},
        {"negative step: gravity only", resting, -0.1, heavy, nothing, Vector(0, 0.005, 0), pos, no, 1e-15},
    };
    int calls = 0;
    setSoundPlayer([](void* count) { ++*static_cast<int*>(count); }, &calls);
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        World world = worldWith(c.balls, c.timeStep);
        c.setUp(world);
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
        {"past 360 wraps to zero", 0, 359.95f, 0.0f},
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
