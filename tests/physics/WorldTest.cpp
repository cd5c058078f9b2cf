#include <gtest/gtest.h>

#include "physics/World.h"

namespace {

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_EQ(v.getX(), x);
    EXPECT_EQ(v.getY(), y);
    EXPECT_EQ(v.getZ(), z);
}

// Ball, wall and cylinder layouts are pinned frame by frame by the reference trace comparison;
// these start values are not in the trace.
TEST(World, LayoutLeavesTheProgramStartValuesAlone) {
    World world;
    EXPECT_EQ(world.ballCount, 0);
    initWorld(world);
    EXPECT_EQ(world.timeStep, 0.6);
    EXPECT_EQ(world.soundOn, 1);
    EXPECT_EQ(world.cameraMode, 0);
    EXPECT_EQ(world.viewAngle, 0.0f);
    expectVector(world.gravity, 0.0, -0.05, 0.0);
    expectVector(world.cameraPosition, 0.0, -50.0, 1000.0);
    expectVector(world.viewOffset, 0.0, 0.0, -10.0);
    EXPECT_FALSE(world.ballOldPositions[0].isValid());  // first written by the step
}

}  // namespace
