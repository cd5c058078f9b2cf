#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geom/Ray.h"
#include "physics/BallCollision.h"

namespace {

struct Ball {
    Vector old;
    Vector velocity;
};

// Only the old positions and the velocities take part in the search.
World worldOf(std::initializer_list<Ball> balls) {
    World world;
    world.ballCount = 0;
    for (const Ball& b : balls) {
        world.ballOldPositions[world.ballCount] = b.old;
        world.ballVelocities[world.ballCount] = b.velocity;
        ++world.ballCount;
    }
    return world;
}

struct Contact {
    int found;
    double time = -1.0;
    int first = -1;
    int second = -1;
};

Contact search(const World& world, double window) {
    Contact c{0};
    c.found = findBallCollision(world, window, c.time, c.first, c.second);
    return c;
}

const Vector still(0, 0, 0);

TEST(BallCollision, ApproachFoundAtTheSampleBeforeContact) {
    const World world = worldOf({{Vector(0, 0, 0), Vector(1, 0, 0)}, {Vector(100, 0, 0), still}});
    // Samples every 1.0: at 60 the centres are 40 apart, so the answer is the sample before.
    const Contact c = search(world, 150.0);
    ASSERT_EQ(c.found, 1);
    EXPECT_EQ(c.time, 59.0);
    EXPECT_EQ(c.first, 0);
    EXPECT_EQ(c.second, 1);
}

TEST(BallCollision, ContactBeyondTheWindowIsNotFoundAndWritesNothing) {
    const World world = worldOf({{Vector(0, 0, 0), Vector(1, 0, 0)}, {Vector(100, 0, 0), still}});
    const Contact c = search(world, 30.0);
    EXPECT_EQ(c.found, 0);
    EXPECT_EQ(c.time, -1.0);
    EXPECT_EQ(c.first, -1);
    EXPECT_EQ(c.second, -1);
}

TEST(BallCollision, BallsAlreadyInReachTouchAtTimeZero) {
    const Vector v(0.5, -0.1, 0.5);
    const Contact together = search(worldOf({{Vector(0, 0, 0), v}, {Vector(30, 0, 0), v}}), 0.6);
    ASSERT_EQ(together.found, 1);
    EXPECT_EQ(together.time, 0.0);

    // Separating, but still within reach at the first sample: only distances count.
    const Contact apart =
        search(worldOf({{Vector(0, 0, 0), Vector(-0.001, 0, 0)}, {Vector(35, 0, 0), still}}), 0.6);
    ASSERT_EQ(apart.found, 1);
    EXPECT_EQ(apart.time, 0.0);
}

TEST(BallCollision, EqualVelocitiesOutOfReachNeverTouch) {
    const Vector v(0.5, -0.1, 0.5);
    EXPECT_EQ(search(worldOf({{Vector(0, 0, 0), v}, {Vector(41, 0, 0), v}}), 1000.0).found, 0);
}

TEST(BallCollision, PassingBySideways) {
    // The relative path runs 45 from the other ball's centre: never in reach.
    EXPECT_EQ(search(worldOf({{Vector(0, 0, 0), Vector(1, 0, 0)}, {Vector(100, 45, 0), still}}), 300.0).found,
              0);
    // At 39 it grazes.
    EXPECT_EQ(search(worldOf({{Vector(0, 0, 0), Vector(1, 0, 0)}, {Vector(100, 39, 0), still}}), 300.0).found,
              1);
}

TEST(BallCollision, EarliestPairWinsWhateverItsPlaceInThePairOrder) {
    const Ball slowA{Vector(0, 0, 0), Vector(1, 0, 0)};
    const Ball slowB{Vector(100, 0, 0), still};  // meets slowA at 59
    const Ball fastA{Vector(0, 200, 0), Vector(2, 0, 0)};
    const Ball fastB{Vector(100, 200, 0), still};  // meets fastA at 29

    const Contact late = search(worldOf({slowA, slowB, fastA, fastB}), 150.0);
    ASSERT_EQ(late.found, 1);
    EXPECT_EQ(late.time, 29.0);
    EXPECT_EQ(late.first, 2);
    EXPECT_EQ(late.second, 3);

    const Contact early = search(worldOf({fastA, fastB, slowA, slowB}), 150.0);
    ASSERT_EQ(early.found, 1);
    EXPECT_EQ(early.time, 29.0);
    EXPECT_EQ(early.first, 0);
    EXPECT_EQ(early.second, 1);
}

TEST(BallCollision, EqualTimesReportTheFirstPairInOrder) {
    const Vector v(0.5, 0, 0);
    // (0,1) and (1,2) both touch at time 0; the pair loop meets (0,1) first.
    const Contact c =
        search(worldOf({{Vector(0, 0, 0), v}, {Vector(30, 0, 0), v}, {Vector(60, 0, 0), v}}), 1.0);
    ASSERT_EQ(c.found, 1);
    EXPECT_EQ(c.first, 0);
    EXPECT_EQ(c.second, 1);
}

TEST(BallCollision, FewerThanTwoBallsHaveNoPairs) {
    EXPECT_EQ(search(worldOf({}), 1.0).found, 0);
    EXPECT_EQ(search(worldOf({{Vector(0, 0, 0), still}}), 1.0).found, 0);
}

// The search as first defined: line test, then every sample, for every pair.
Contact plainSearch(const World& world, double window) {
    const double dt = window / 150.0;
    Contact c{0};
    double best = 10000.0;
    for (int i = 0; i < world.ballCount - 1; ++i) {
        for (int j = i + 1; j < world.ballCount; ++j) {
            const Vector rel = world.ballVelocities[i] - world.ballVelocities[j];
            if (Ray(world.ballOldPositions[i], unit(rel)).distanceToPoint(world.ballOldPositions[j]) > 40.0) {
                continue;
            }
            for (double t = 0.0; t < window;) {
                t = t + dt;
                if ((world.ballOldPositions[i] + rel * t).distance(world.ballOldPositions[j]) <= 40.0) {
                    if (t - dt < best) {
                        best = t - dt;
                        c = Contact{1, best, i, j};
                    }
                    break;
                }
            }
        }
    }
    return c;
}

TEST(BallCollision, SparingFarPairsNeverChangesTheAnswer) {
    // Pairs placed around the edge of reach, where a too eager shortcut would lose contacts.
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> unitInterval(-1.0, 1.0);
    std::uniform_real_distribution<double> window(0.01, 30.0);
    int contacts = 0;
    for (int round = 0; round < 3000; ++round) {
        const double w = window(random);
        const Vector base(290 * unitInterval(random), 290 * unitInterval(random), 290 * unitInterval(random));
        Vector velocity(3 * unitInterval(random), 3 * unitInterval(random), 3 * unitInterval(random));
        Vector direction = unit(Vector(unitInterval(random), unitInterval(random), unitInterval(random)));
        if (round % 2 == 0) {
            // Closing in along an axis: the edge of the shortcut itself.
            const int axis = round / 2 % 3;
            const double speed = 3 * unitInterval(random);
            direction =
                Vector(axis == 0 ? 1 : 0, axis == 1 ? 1 : 0, axis == 2 ? 1 : 0) * (speed < 0 ? -1 : 1);
            velocity = direction * std::fabs(speed);
        }
        const double reach = 40.0 + velocity.length() * w * (1.0 + 0.05 * unitInterval(random));
        const Vector offset = direction * reach;
        const World world =
            worldOf({{base, velocity}, {base + offset, still}, {base - offset * 0.5, velocity * -1.0}});
        const Contact expected = plainSearch(world, w);
        const Contact actual = search(world, w);
        ASSERT_EQ(actual.found, expected.found) << round;
        if (expected.found == 1) {
            ++contacts;
            ASSERT_EQ(actual.time, expected.time) << round;
            ASSERT_EQ(actual.first, expected.first) << round;
            ASSERT_EQ(actual.second, expected.second) << round;
        }
    }
    EXPECT_GT(contacts, 300);  // the edge cases really were met
}

}  // namespace
