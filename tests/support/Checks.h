#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geom/Vector.h"
#include "physics/World.h"

// Every component and the status; without a tolerance bit for bit (the sign of a zero too).
inline void expectVector(const Vector& v, double x, double y, double z, VectorStatus status,
                         double tolerance = 0.0) {
    const double got[3] = {v.getX(), v.getY(), v.getZ()}, want[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(tolerance > 0.0 ? std::fabs(got[i] - want[i]) <= tolerance
                                    : got[i] == want[i] && std::signbit(got[i]) == std::signbit(want[i]))
            << "component " << i << ": " << got[i] << " instead of " << want[i];
    }
    EXPECT_EQ(v.getStatus(), status);
}

inline void expectVector(const Vector& v, const Vector& expected, double tolerance = 0.0) {
    expectVector(v, expected.getX(), expected.getY(), expected.getZ(), expected.getStatus(), tolerance);
}

struct BallSetup {
    Vector position;
    Vector velocity;
};

// The start room holding only the given balls (old positions where they stand) and no gravity,
// so the velocities stay as given until something is hit.
inline World worldWith(const std::vector<BallSetup>& balls, double timeStep = 0.6) {
    World world;
    initWorld(world);
    world.gravity = Vector(0.0, 0.0, 0.0);
    world.timeStep = timeStep;
    world.ballCount = 0;
    for (const BallSetup& b : balls) {
        world.ballOldPositions[world.ballCount] = b.position;
        world.ballPositions[world.ballCount] = b.position;
        world.ballVelocities[world.ballCount++] = b.velocity;
    }
    return world;
}
