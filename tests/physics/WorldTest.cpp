#include <gtest/gtest.h>

#include <cmath>

#include "physics/World.h"

namespace {

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_EQ(v.getX(), x);
    EXPECT_EQ(v.getY(), y);
    EXPECT_EQ(v.getZ(), z);
}

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

TEST(World, StartScene) {
    World world;
    initWorld(world);
    ASSERT_EQ(world.ballCount, 10);
    for (const Vector& v : world.ballVelocities) {
        expectVector(v, 0.5, -0.1, 0.5);
    }
    expectVector(world.ballPositions[0], 199.0, 180.0, 10.0);
    expectVector(world.ballPositions[1], 0.0, 150.0, 100.0);
    expectVector(world.ballPositions[2], -100.0, 180.0, -100.0);
    expectVector(world.ballPositions[3], -275.0, 300.0, -350.0);  // behind the -z wall
    expectVector(world.ballPositions[4], -200.0, 300.0, -300.0);  // in its plane
    expectVector(world.ballPositions[9], 175.0, 300.0, -50.0);
    for (const Explosion& e : world.explosions) {
        EXPECT_EQ(e.alpha, 0.0f);
        EXPECT_EQ(e.scale, 1.0f);
    }
    // Every wall normal points into the room: its centre lies 300 in front of each wall.
    for (const Plane& wall : world.walls) {
        EXPECT_EQ(dot(wall.normal, Vector(0, 0, 0) - wall.point), 300.0);
        EXPECT_EQ(wall.normal.length(), 1.0);
    }
    expectVector(world.walls[0].normal, 0, 1, 0);  // the floor is tested first
    expectVector(world.walls[1].normal, -1, 0, 0);
    expectVector(world.walls[4].normal, 0, 0, 1);

    const Cylinder* c = world.cylinders;
    expectVector(c[0].axis.getPoint(), 0, 0, 0);
    expectVector(c[0].axis.getDirection(), 0, 1, 0);
    expectVector(c[1].axis.getPoint(), 200, -300, 0);
    expectVector(c[1].axis.getDirection(), 0, 0, 1);
    expectVector(c[2].axis.getPoint(), -200, 0, 0);
    const double half = 1.0 / std::sqrt(2.0);
    expectVector(c[2].axis.getDirection(), 0, half, half);
    EXPECT_EQ(c[0].axis.direction.getStatus(), VectorStatus::Default);
    EXPECT_EQ(c[1].axis.direction.getStatus(), VectorStatus::Default);
    EXPECT_EQ(c[2].axis.direction.getStatus(), VectorStatus::Unit);
    EXPECT_EQ(c[0].radius, 80.0);
    EXPECT_EQ(c[1].radius, 80.0);
    EXPECT_EQ(c[2].radius, 50.0);
}

}  // namespace
