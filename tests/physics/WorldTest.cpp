#include <gtest/gtest.h>

#include <cmath>

#include "physics/World.h"

namespace {

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_EQ(v.getX(), x);
    EXPECT_EQ(v.getY(), y);
    EXPECT_EQ(v.getZ(), z);
}

TEST(World, ProgramStartValuesHoldBeforeAndAfterLayout) {
    World world;
    EXPECT_EQ(world.ballCount, 0);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(world.timeStep, 0.6);
        EXPECT_EQ(world.soundOn, 1);
        EXPECT_EQ(world.cameraMode, 0);
        EXPECT_EQ(world.viewAngle, 0.0f);
        expectVector(world.gravity, 0.0, -0.05, 0.0);
        expectVector(world.cameraPosition, 0.0, -50.0, 1000.0);
        expectVector(world.viewOffset, 0.0, 0.0, -10.0);
        initWorld(world);
    }
    // The old positions are first written by the step.
    for (const Vector& old : world.ballOldPositions) {
        EXPECT_FALSE(old.isValid());
    }
}

TEST(World, BallsStartTogetherAtTheirTabledPositions) {
    World world;
    initWorld(world);
    ASSERT_EQ(world.ballCount, 10);
    for (const Vector& v : world.ballVelocities) {
        expectVector(v, 0.5, -0.1, 0.5);
        EXPECT_TRUE(v.isDefault());
    }
    expectVector(world.ballPositions[0], 199.0, 180.0, 10.0);
    expectVector(world.ballPositions[1], 0.0, 150.0, 100.0);
    expectVector(world.ballPositions[2], -100.0, 180.0, -100.0);
    expectVector(world.ballPositions[3], -275.0, 300.0, -350.0);  // behind the -z wall
    expectVector(world.ballPositions[4], -200.0, 300.0, -300.0);  // in the -z wall's plane
    expectVector(world.ballPositions[9], 175.0, 300.0, -50.0);
    for (int i = 0; i < 10; ++i) {
        for (int j = i + 1; j < 10; ++j) {
            EXPECT_GE(world.ballPositions[i].distance(world.ballPositions[j]), 90.0) << i << " " << j;
        }
    }
}

TEST(World, WallsStandInsideTheDrawnRoom) {
    World world;
    initWorld(world);
    const double points[5][3] = {{0, -300, 0}, {300, 0, 0}, {-300, 0, 0}, {0, 0, 300}, {0, 0, -300}};
    const double normals[5][3] = {{0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int w = 0; w < 5; ++w) {
        expectVector(world.walls[w].point, points[w][0], points[w][1], points[w][2]);
        expectVector(world.walls[w].normal, normals[w][0], normals[w][1], normals[w][2]);
        EXPECT_TRUE(world.walls[w].normal.isDefault());
        // The normal points into the room: the room's centre lies 300 in front of every wall.
        EXPECT_EQ(dot(world.walls[w].normal, Vector(0, 0, 0) - world.walls[w].point), 300.0);
    }
}

TEST(World, CylindersAreTheThreeObstacles) {
    World world;
    initWorld(world);
    const Cylinder* c = world.cylinders;
    expectVector(c[0].axis.getPoint(), 0.0, 0.0, 0.0);
    expectVector(c[0].axis.getDirection(), 0.0, 1.0, 0.0);
    EXPECT_EQ(c[0].radius, 80.0);
    expectVector(c[1].axis.getPoint(), 200.0, -300.0, 0.0);
    expectVector(c[1].axis.getDirection(), 0.0, 0.0, 1.0);
    EXPECT_EQ(c[1].radius, 80.0);
    expectVector(c[2].axis.getPoint(), -200.0, 0.0, 0.0);
    const double half = 1.0 / std::sqrt(2.0);
    expectVector(c[2].axis.getDirection(), 0.0, half, half);
    EXPECT_TRUE(c[2].axis.getDirection().isUnit());
    EXPECT_EQ(c[2].radius, 50.0);
}

TEST(World, EveryExplosionSlotStartsFree) {
    World world;
    initWorld(world);
    for (const Explosion& e : world.explosions) {
        EXPECT_EQ(e.alpha, 0.0f);
        EXPECT_EQ(e.scale, 1.0f);
        EXPECT_FALSE(e.position.isValid());
    }
}

}  // namespace
