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

// The room and its obstacles as at start, with only the given balls and no gravity, so that
// velocities are exactly those given.
World roomWith(std::initializer_list<Ball> balls, double timeStep) {
    World world;
    initWorld(world);
    world.gravity = Vector(0, 0, 0);
    world.timeStep = timeStep;
    world.ballCount = 0;
    for (const Ball& b : balls) {
        world.ballPositions[world.ballCount] = b.position;
        world.ballVelocities[world.ballCount] = b.velocity;
        ++world.ballCount;
    }
    return world;
}

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_EQ(v.getX(), x);
    EXPECT_EQ(v.getY(), y);
    EXPECT_EQ(v.getZ(), z);
}

void expectNear(const Vector& v, double x, double y, double z, double tolerance = 1e-9) {
    EXPECT_NEAR(v.getX(), x, tolerance);
    EXPECT_NEAR(v.getY(), y, tolerance);
    EXPECT_NEAR(v.getZ(), z, tolerance);
}

bool finite(const Vector& v) {
    return std::isfinite(v.getX()) && std::isfinite(v.getY()) && std::isfinite(v.getZ());
}

int busySlots(const World& world) {
    int busy = 0;
    for (const Explosion& e : world.explosions) {
        busy += e.alpha > 0.0f ? 1 : 0;
    }
    return busy;
}

// Counts sound requests while alive.
class SoundCounter {
  public:
    SoundCounter() {
        setSoundPlayer([](void* c) { ++static_cast<SoundCounter*>(c)->calls; }, this);
    }
    ~SoundCounter() { setSoundPlayer(nullptr, nullptr); }
    int calls = 0;
};

// Two balls at x = -60 and 60 running into each other, clear of every obstacle.
World headOn(double crossSpeed) {
    return roomWith({{Vector(-60, 100, 200), Vector(1, 0, crossSpeed)},
                     {Vector(60, 100, 200), Vector(-1, 0, crossSpeed)}},
                    100.0);
}

const Vector still(0, 0, 0);

// ---- Frames without events -------------------------------------------------------------

TEST(StepFree, GravityOnceThenTheWholeMove) {
    World world;
    initWorld(world);
    const StepReport report = stepWorld(world);
    EXPECT_EQ(report.substeps, 1);
    EXPECT_EQ(report.spawns, 0);
    EXPECT_FALSE(report.capped);
    const Vector v = Vector(0.5, -0.1, 0.5) + Vector(0, -0.05, 0) * 0.6;
    for (int k = 0; k < world.ballCount; ++k) {
        World start;
        initWorld(start);
        expectVector(world.ballVelocities[k], v.getX(), v.getY(), v.getZ());
        const Vector p = start.ballPositions[k] + v * 0.6;
        expectVector(world.ballPositions[k], p.getX(), p.getY(), p.getZ());
        expectVector(world.ballOldPositions[k], start.ballPositions[k].getX(), start.ballPositions[k].getY(),
                     start.ballPositions[k].getZ());
    }
}

TEST(StepFree, ZeroAndNegativeTimeStepsMoveNothing) {
    for (double timeStep : {0.0, -0.1, 1e-8}) {
        World world;
        initWorld(world);
        world.timeStep = timeStep;
        const StepReport report = stepWorld(world);
        EXPECT_EQ(report.substeps, 0) << timeStep;
        World start;
        initWorld(start);
        for (int k = 0; k < world.ballCount; ++k) {
            expectVector(world.ballPositions[k], start.ballPositions[k].getX(), start.ballPositions[k].getY(),
                         start.ballPositions[k].getZ());
            EXPECT_EQ(world.ballVelocities[k].getY(), -0.1 + -0.05 * timeStep);  // gravity still counts
        }
        EXPECT_EQ(world.viewAngle, 0.1f);
    }
}

TEST(StepFree, NegativeTimeStepLiftsEveryFrame) {
    World world;
    initWorld(world);
    world.timeStep = -0.1;
    for (int frame = 0; frame < 3; ++frame) {
        stepWorld(world);
    }
    EXPECT_NEAR(world.ballVelocities[5].getY(), -0.1 + 3 * 0.005, 1e-15);
    EXPECT_EQ(world.ballPositions[5].getY(), 300.0);
}

// ---- View turn -------------------------------------------------------------------------

TEST(StepView, TurnsInFloatAndWrapsToZero) {
    World world;
    initWorld(world);
    world.timeStep = 0.0;

    world.viewAngle = 359.95f;  // + 0.1 is above 360
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 0.0f);

    const float justBelow = 360.0f - 0.1f;
    ASSERT_EQ(justBelow + 0.1f, 360.0f);
    world.viewAngle = justBelow;
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 360.0f);  // exactly 360 is kept...
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 0.0f);  // ...and zeroed on the next frame

    world.viewAngle = 10.0f;
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 10.0f + 0.1f);
}

TEST(StepView, FollowCameraLeavesTheAngleAlone) {
    World world;
    initWorld(world);
    world.cameraMode = 1;
    world.viewAngle = 359.95f;
    stepWorld(world);
    EXPECT_EQ(world.viewAngle, 359.95f);
}

// ---- Obstacles -------------------------------------------------------------------------

TEST(StepObstacle, FloorBounceMidFrame) {
    World world = roomWith({{Vector(100, -295, 100), Vector(0, -10, 0)}}, 1.0);
    const StepReport report = stepWorld(world);
    // Down 5 to the floor at time 0.5, up 5 in the rest of the frame; the floor hit at the
    // start of the second sub-step is refused because the ball moves away from it.
    EXPECT_EQ(report.substeps, 2);
    EXPECT_EQ(report.spawns, 1);
    EXPECT_EQ(report.sounds, 0);
    expectVector(world.ballVelocities[0], 0, 10, 0);
    expectVector(world.ballPositions[0], 100, -295, 100);
    expectVector(world.ballOldPositions[0], 100, -300, 100);
    EXPECT_EQ(world.explosions[0].alpha, 1.0f);
    EXPECT_EQ(world.explosions[0].scale, 1.0f);
    expectVector(world.explosions[0].position, 100, -300, 100);
    EXPECT_EQ(busySlots(world), 1);
}

TEST(StepObstacle, HitWithinTheToleranceAfterTheFrameIsTakenNow) {
    // The floor is 0.5 time units away; a frame ending 5e-9 short of it still bounces.
    World near = roomWith({{Vector(100, -295, 100), Vector(0, -10, 0)}}, 0.5 - 5e-9);
    EXPECT_EQ(stepWorld(near).spawns, 1);
    expectVector(near.ballVelocities[0], 0, 10, 0);
    expectVector(near.ballPositions[0], 100, -300, 100);

    World far = roomWith({{Vector(100, -295, 100), Vector(0, -10, 0)}}, 0.5 - 2e-8);
    EXPECT_EQ(stepWorld(far).spawns, 0);
    expectVector(far.ballVelocities[0], 0, -10, 0);
}

TEST(StepObstacle, BouncesOffTheColumnWithSpeedKept) {
    World world = roomWith({{Vector(-150, 0, 30), Vector(2, 0, 0)}}, 60.0);
    const StepReport report = stepWorld(world);
    EXPECT_EQ(report.spawns, 1);
    const Vector& v = world.ballVelocities[0];
    EXPECT_NEAR(v.length(), 2.0, 1e-12);
    EXPECT_LT(v.getX(), 0.0);  // sent back
    EXPECT_GT(v.getZ(), 0.0);  // and aside, on its own side of the axis
    EXPECT_NEAR(v.getZ() / v.getX(), -2 * 30 * std::sqrt(80.0 * 80 - 30 * 30) / (80.0 * 80 - 2 * 30 * 30),
                1e-9);
    // The explosion marks the ball centre on the collision radius.
    const Vector& p = world.explosions[0].position;
    EXPECT_NEAR(std::hypot(p.getX(), p.getZ()), 80.0, 1e-9);
}

TEST(StepObstacle, RoomEdgeTwoWallsAtOnceLaterWallFirst) {
    // Floor and the +x wall are reached at the same moment, at the end of the frame.
    World world = roomWith({{Vector(295, -295, 0), Vector(10, -10, 0)}}, 0.5);
    StepReport report = stepWorld(world);
    EXPECT_EQ(report.spawns, 1);
    expectNear(world.ballPositions[0], 300, -300, 0);
    expectNear(world.ballVelocities[0], -10, -10, 0);  // reflected by wall 1, still falling

    // The floor is then hit at distance 0 while the ball still moves into it.
    report = stepWorld(world);
    EXPECT_EQ(report.spawns, 1);
    expectNear(world.ballVelocities[0], -10, 10, 0);
    expectNear(world.ballPositions[0], 295, -295, 0);
    EXPECT_EQ(report.substeps, 2);
}

TEST(StepObstacle, EveryObstacleHitSpawnsUntilTheSlotsRunOut) {
    World world = roomWith({{Vector(100, -295, 100), Vector(0, -10, 0)}}, 1.0);
    for (Explosion& e : world.explosions) {
        e.alpha = 0.5f;
    }
    const StepReport report = stepWorld(world);
    EXPECT_EQ(report.spawns, 0);
    expectVector(world.ballVelocities[0], 0, 10, 0);  // answered all the same
    for (const Explosion& e : world.explosions) {
        EXPECT_EQ(e.alpha, 0.5f);
    }
}

// ---- Ball contacts ---------------------------------------------------------------------

TEST(StepContact, HeadOnExchangesTheSpeedsAlongTheLine) {
    World world = headOn(0.25);
    const StepReport report = stepWorld(world);
    EXPECT_EQ(report.spawns, 1);
    expectNear(world.ballVelocities[0], -1, 0, 0.25, 1e-12);
    expectNear(world.ballVelocities[1], 1, 0, 0.25, 1e-12);
    // The explosion sits at ball 0, just short of contact, not between the balls.
    const Explosion& e = world.explosions[0];
    EXPECT_NEAR(e.position.getX(), -20.0, 1.5);
    EXPECT_LT(e.position.getX(), -20.0);
    EXPECT_EQ(e.position.getY(), 100.0);
    // Contact near time 40, then back at speed 1 for the remaining 60.
    EXPECT_NEAR(world.ballPositions[0].getX(), -80.0, 1.5);
    EXPECT_NEAR(world.ballPositions[1].getX(), 80.0, 1.5);
}

TEST(StepContact, SoundFollowsTheSwitch) {
    for (int soundOn : {1, 0}) {
        SoundCounter counter;
        World world = headOn(0.0);
        world.soundOn = soundOn;
        const StepReport report = stepWorld(world);
        EXPECT_EQ(counter.calls, soundOn);
        EXPECT_EQ(report.sounds, soundOn);
        EXPECT_EQ(report.spawns, 1);  // the contact is answered either way
        EXPECT_LT(world.ballVelocities[0].getX(), 0.0);
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
    expectVector(world.ballVelocities[1], 0, 0, 0);
    expectNear(world.explosions[0].position, 300, 100, 200);
}

TEST(StepContact, ObstacleHitAtTheSameTimeComesFirst) {
    // Ball 1 lies on the floor moving into it; ball 0 sits 30 above it. Both events at time 0.
    SoundCounter counter;
    World world = roomWith(
        {{Vector(-100, -270, 200), Vector(0, -1, 0)}, {Vector(-100, -300, 200), Vector(0, -1, 0)}}, 0.6);
    const StepReport report = stepWorld(world);
    // The first explosion is ball 1's floor hit, not the contact (which would sit at ball 0).
    expectVector(world.explosions[0].position, -100, -300, 200);
    expectVector(world.explosions[1].position, -100, -270, 200);
    // The contact was already heard in the sub-step that answered the floor.
    EXPECT_GE(report.sounds, 2);
    EXPECT_EQ(counter.calls, report.sounds);
}

TEST(StepContact, OverlappingBallsEndTheFrameAtTheBound) {
    // 10 apart with the same velocity: in contact at time 0 after every exchange, for ever.
    SoundCounter counter;
    const Vector v(0.5, -0.1, 0.5);
    World world = roomWith({{Vector(0, 100, 150), v}, {Vector(10, 100, 150), v}}, 0.6);
    const StepReport report = stepWorld(world);
    EXPECT_TRUE(report.capped);
    EXPECT_EQ(report.substeps, maxSubsteps);
    EXPECT_EQ(report.sounds, maxSubsteps - 1);  // the last sub-step searches nothing
    EXPECT_EQ(report.spawns, 20);               // until the slots ran out
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(finite(world.ballPositions[k]));
        EXPECT_TRUE(finite(world.ballVelocities[k]));
    }
    // The bounded frame still spends its time: the final sub-step makes the whole move.
    expectNear(world.ballPositions[0], 0.3, 100 - 0.06, 150.3, 1e-12);

    // And the next frame starts afresh.
    const StepReport next = stepWorld(world);
    EXPECT_TRUE(next.capped);
    EXPECT_EQ(next.spawns, 0);
}

TEST(StepContact, StartSceneStaysInsideTheRoomForLong) {
    World world;
    initWorld(world);
    int spawns = 0;
    for (int frame = 0; frame < 5000; ++frame) {
        const StepReport report = stepWorld(world);
        ASSERT_FALSE(report.capped) << frame;
        spawns += report.spawns;
        ageExplosions(world);
    }
    EXPECT_GT(spawns, 100);
    for (int k = 0; k < world.ballCount; ++k) {
        const Vector& p = world.ballPositions[k];
        ASSERT_TRUE(finite(p));
        // Ball 3 starts behind the -z wall and stays out there; all others keep to the room.
        if (k != 3) {
            EXPECT_LE(std::fabs(p.getX()), 300.0 + 1e-6) << k;
            EXPECT_GE(p.getY(), -300.0 - 1e-6) << k;
            EXPECT_LE(std::fabs(p.getZ()), 300.0 + 1e-6) << k;
        }
    }
}

}  // namespace
