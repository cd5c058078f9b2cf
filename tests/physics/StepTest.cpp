#include <gtest/gtest.h>

#include <cmath>

#include "physics/Explosion.h"
#include "physics/Sound.h"
#include "physics/Step.h"

namespace {

struct Ball {
    Vector position;
    Vector velocity;
};

// The start room with only the given balls and no gravity, so velocities stay as given.
World roomWith(std::initializer_list<Ball> balls, double timeStep) {
    World world;
    initWorld(world);
    world.gravity = Vector(0, 0, 0);
    world.timeStep = timeStep;
    world.ballCount = 0;
    for (const Ball& b : balls) {
        world.ballPositions[world.ballCount] = b.position;
        world.ballVelocities[world.ballCount++] = b.velocity;
    }
    return world;
}

World startWorld() {
    World world;
    initWorld(world);
    return world;
}

void expectNear(const Vector& v, double x, double y, double z, double tolerance = 1e-9) {
    EXPECT_NEAR(v.getX(), x, tolerance);
    EXPECT_NEAR(v.getY(), y, tolerance);
    EXPECT_NEAR(v.getZ(), z, tolerance);
}

void expectExactly(const Vector& v, double x, double y, double z) {
    expectNear(v, x, y, z, 0.0);
}

// Counts sound requests while alive.
struct SoundCounter {
    SoundCounter() {
        setSoundPlayer([](void* c) { ++static_cast<SoundCounter*>(c)->calls; }, this);
    }
    ~SoundCounter() { setSoundPlayer(nullptr, nullptr); }
    int calls = 0;
};

const Vector still(0, 0, 0);
const Ball falling{Vector(100, -295, 100), Vector(0, -10, 0)};  // 5 above the floor

TEST(StepFree, TimeStepsUpTo1e8MoveNothingButGravityStillActs) {
    for (double timeStep : {0.0, -0.1, 1e-8}) {
        World world = startWorld();
        world.timeStep = timeStep;
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_EQ(stepWorld(world).substeps, 0);
        }
        expectExactly(world.ballPositions[5], -125, 300, -250);
        EXPECT_NEAR(world.ballVelocities[5].getY(), -0.1 - 3 * 0.05 * timeStep, 1e-15);  // -0.1 rises
        EXPECT_EQ(world.viewAngle, 0.1f + 0.1f + 0.1f);
    }
}

TEST(StepView, TurnsInFloatAndWrapsToZero) {
    World world = startWorld();
    world.timeStep = 0.0;
    world.viewAngle = 359.95f;  // the sum 360.05 is above 360
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 0.0f);

    world.viewAngle = 360.0f - 0.1f;
    ASSERT_EQ(world.viewAngle + 0.1f, 360.0f);
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 360.0f);  // exactly 360 stays...
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 0.0f);  // ...until the next frame

    world.cameraMode = 1;  // the following camera leaves the angle to the keys
    world.viewAngle = 359.95f;
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 359.95f);
}

TEST(StepObstacle, FloorBounceMidFrame) {
    World world = roomWith({falling}, 1.0);
    const StepReport report = stepWorld(world);
    // Down to the floor at 0.5, back up in the rest; the floor hit at distance 0 at the
    // start of the second sub-step is refused because the ball moves away from it.
    EXPECT_EQ(report.substeps, 2);
    EXPECT_EQ(report.spawns, 1);
    EXPECT_EQ(report.sounds, 0);
    expectExactly(world.ballVelocities[0], 0, 10, 0);
    expectExactly(world.ballPositions[0], 100, -295, 100);
    expectExactly(world.explosions[0].position, 100, -300, 100);
    EXPECT_EQ(world.explosions[0].alpha, 1.0f);
    EXPECT_EQ(world.explosions[1].alpha, 0.0f);
}

TEST(StepObstacle, HitWithinTheToleranceAfterTheFrameIsTakenNow) {
    World near = roomWith({falling}, 0.5 - 5e-9);
    EXPECT_EQ(stepWorld(near).spawns, 1);
    expectExactly(near.ballVelocities[0], 0, 10, 0);
    World far = roomWith({falling}, 0.5 - 2e-8);
    EXPECT_EQ(stepWorld(far).spawns, 0);
    expectExactly(far.ballVelocities[0], 0, -10, 0);
}

TEST(StepObstacle, RoomEdgeLaterWallFirstThenTheOtherAtTimeZero) {
    // The floor and the +x wall are reached together, at the end of the frame.
    World world = roomWith({{Vector(295, -295, 0), Vector(10, -10, 0)}}, 0.5);
    EXPECT_EQ(stepWorld(world).spawns, 1);
    expectNear(world.ballVelocities[0], -10, -10, 0);  // reflected by wall 1, still falling
    const StepReport next = stepWorld(world);
    EXPECT_EQ(next.spawns, 1);
    EXPECT_EQ(next.substeps, 2);
    expectNear(world.ballVelocities[0], -10, 10, 0);
    expectNear(world.ballPositions[0], 295, -295, 0);
}

TEST(StepObstacle, AnsweredEvenWhenEverySlotIsBusy) {
    World world = roomWith({falling}, 1.0);
    for (Explosion& e : world.explosions) {
        e.alpha = 0.5f;
    }
    EXPECT_EQ(stepWorld(world).spawns, 0);
    expectExactly(world.ballVelocities[0], 0, 10, 0);
    EXPECT_EQ(world.explosions[0].alpha, 0.5f);
}

TEST(StepContact, HeadOnExchangeWithTheSoundSwitch) {
    for (int soundOn : {1, 0}) {
        SoundCounter counter;
        // 120 apart, closing at 2 with a common sideways drift; clear of every obstacle.
        World world = roomWith(
            {{Vector(-60, 100, 200), Vector(1, 0, 0.25)}, {Vector(60, 100, 200), Vector(-1, 0, 0.25)}},
            100.0);
        world.soundOn = soundOn;
        const StepReport report = stepWorld(world);
        EXPECT_EQ(counter.calls, soundOn);
        EXPECT_EQ(report.sounds, soundOn);
        EXPECT_EQ(report.spawns, 1);
        expectNear(world.ballVelocities[0], -1, 0, 0.25, 1e-12);
        expectNear(world.ballVelocities[1], 1, 0, 0.25, 1e-12);
        // The explosion marks ball 0 just short of contact, not the point between the balls.
        EXPECT_NEAR(world.explosions[0].position.getX(), -20.0, 1.5);
        EXPECT_LT(world.explosions[0].position.getX(), -20.0);
    }
}

TEST(StepContact, ContactBehindAnEarlierWallHitIsStillHeard) {
    // Ball 0 would reach ball 1 (outside the room) at about 5.5, but meets wall 1 at 5 and
    // turns back: the contact is never answered, yet the search saw it.
    SoundCounter counter;
    World world = roomWith({{Vector(250, 100, 200), Vector(10, 0, 0)}, {Vector(345, 100, 200), still}}, 10.0);
    const StepReport report = stepWorld(world);
    EXPECT_EQ(report.sounds, 1);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(report.spawns, 1);
    expectNear(world.ballVelocities[0], -10, 0, 0);
    expectExactly(world.ballVelocities[1], 0, 0, 0);
}

TEST(StepContact, ObstacleHitAtTheSameTimeComesFirst) {
    // Ball 1 lies on the floor moving into it, ball 0 sits 30 above it: both events at 0.
    World world = roomWith(
        {{Vector(-100, -270, 200), Vector(0, -1, 0)}, {Vector(-100, -300, 200), Vector(0, -1, 0)}}, 0.6);
    stepWorld(world);
    expectExactly(world.explosions[0].position, -100, -300, 200);  // ball 1's floor hit
    expectExactly(world.explosions[1].position, -100, -270, 200);  // then the contact, at ball 0
}

TEST(StepContact, OverlappingBallsEndTheFrameAtTheBound) {
    // 10 apart with one velocity: in contact at time 0 after every exchange, for ever.
    World world = roomWith(
        {{Vector(0, 100, 150), Vector(0.5, -0.1, 0.5)}, {Vector(10, 100, 150), Vector(0.5, -0.1, 0.5)}}, 0.6);
    const StepReport report = stepWorld(world);
    EXPECT_TRUE(report.capped);
    EXPECT_EQ(report.substeps, maxSubsteps);
    EXPECT_EQ(report.sounds, maxSubsteps - 1);  // the last sub-step searches nothing
    EXPECT_EQ(report.spawns, 20);               // until the slots ran out
    // The bounded frame still spends its time: the last sub-step makes the whole move.
    expectNear(world.ballPositions[0], 0.3, 100 - 0.06, 150.3, 1e-12);
    expectNear(world.ballPositions[1], 10.3, 100 - 0.06, 150.3, 1e-12);
    EXPECT_TRUE(std::isfinite(world.ballVelocities[0].length()));
}

}  // namespace
