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

struct Contact {
    int found;
    double time = -1.0;
    int first = -1;
    int second = -1;
};

// Only the old positions and the velocities take part in the search.
Contact search(std::initializer_list<Ball> balls, double window) {
    World world;
    for (const Ball& b : balls) {
        world.ballOldPositions[world.ballCount] = b.old;
        world.ballVelocities[world.ballCount++] = b.velocity;
    }
    Contact c{0};
    c.found = findBallCollision(world, window, c.time, c.first, c.second);
    return c;
}

const Vector still(0, 0, 0);
const Vector drift(0.5, -0.1, 0.5);
const Ball mover{Vector(0, 0, 0), Vector(1, 0, 0)};

TEST(BallCollision, AnswerIsTheSampleBeforeContact) {
    // Samples every 1.0; at 60 the centres are 40 apart.
    const Contact c = search({mover, {Vector(100, 0, 0), still}}, 150.0);
    ASSERT_EQ(c.found, 1);
    EXPECT_EQ(c.time, 59.0);
    EXPECT_EQ(c.first, 0);
    EXPECT_EQ(c.second, 1);
    // Out of reach within 30: nothing found, nothing written.
    const Contact none = search({mover, {Vector(100, 0, 0), still}}, 30.0);
    EXPECT_EQ(none.found, 0);
    EXPECT_EQ(none.time, -1.0);
    EXPECT_EQ(none.first, -1);
}

TEST(BallCollision, BallsInReachTouchAtTimeZeroEvenWhenParting) {
    EXPECT_EQ(search({{Vector(0, 0, 0), drift}, {Vector(30, 0, 0), drift}}, 0.6).time, 0.0);
    EXPECT_EQ(search({{Vector(0, 0, 0), Vector(-0.001, 0, 0)}, {Vector(35, 0, 0), still}}, 0.6).time, 0.0);
    EXPECT_EQ(search({{Vector(0, 0, 0), drift}, {Vector(41, 0, 0), drift}}, 1000.0).found, 0);
    // Passing 45 beside the other ball never touches; 39 beside grazes it.
    EXPECT_EQ(search({mover, {Vector(100, 45, 0), still}}, 300.0).found, 0);
    EXPECT_EQ(search({mover, {Vector(100, 39, 0), still}}, 300.0).found, 1);
}

TEST(BallCollision, EarliestPairWinsWhateverItsPlaceInThePairOrder) {
    const Ball slowB{Vector(100, 0, 0), still};  // meets mover at 59
    const Ball fastA{Vector(0, 200, 0), Vector(2, 0, 0)};
    const Ball fastB{Vector(100, 200, 0), still};  // meets fastA at 29
    const Contact late = search({mover, slowB, fastA, fastB}, 150.0);
    EXPECT_EQ(late.time, 29.0);
    EXPECT_EQ(late.first, 2);
    EXPECT_EQ(late.second, 3);
    const Contact early = search({fastA, fastB, mover, slowB}, 150.0);
    EXPECT_EQ(early.time, 29.0);
    EXPECT_EQ(early.first, 0);
    EXPECT_EQ(early.second, 1);
    // Equal times: (0,1) and (1,2) both touch at 0; the pair loop meets (0,1) first.
    const Contact tie =
        search({{Vector(0, 0, 0), drift}, {Vector(30, 0, 0), drift}, {Vector(60, 0, 0), drift}}, 1);
    EXPECT_EQ(tie.first, 0);
    EXPECT_EQ(tie.second, 1);
    EXPECT_EQ(search({}, 1.0).found, 0);
    EXPECT_EQ(search({mover}, 1.0).found, 0);
}

// The search as first defined, without the shortcut for far pairs.
Contact plainSearch(const Ball (&balls)[3], double window) {
    const double dt = window / 150.0;
    Contact c{0};
    for (int i = 0; i < 2; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            const Vector rel = balls[i].velocity - balls[j].velocity;
            if (Ray(balls[i].old, unit(rel)).distanceToPoint(balls[j].old) > 40.0) {
                continue;
            }
            for (double t = 0.0; t < window;) {
                t = t + dt;
                if ((balls[i].old + rel * t).distance(balls[j].old) <= 40.0) {
                    if (c.found == 0 || t - dt < c.time) {
                        c = Contact{1, t - dt, i, j};
                    }
                    break;
                }
            }
        }
    }
    return c;
}

TEST(BallCollision, SparingFarPairsNeverChangesTheAnswer) {
    // Pairs placed at the edge of reach, half of them closing in along an axis, where a too
    // eager shortcut would lose contacts.
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> any(-1.0, 1.0);
    int contacts = 0;
    for (int round = 0; round < 3000; ++round) {
        const double window = 15.0 + 15.0 * any(random);
        Vector velocity(3 * any(random), 3 * any(random), 3 * any(random));
        Vector direction = unit(Vector(any(random), any(random), any(random)));
        if (round % 2 == 0) {
            const int axis = round / 2 % 3;
            const double speed = 3 * any(random);
            direction = Vector(axis == 0, axis == 1, axis == 2) * (speed < 0 ? -1.0 : 1.0);
            velocity = direction * std::fabs(speed);
        }
        const Vector base(290 * any(random), 290 * any(random), 290 * any(random));
        Vector offset = direction * (40.0 + velocity.length() * window * (1.0 + 0.05 * any(random)));
        if (round % 100 == 1) {
            velocity = Vector();  // an Invalid velocity is at distance 0 from everything, however far
            offset = offset * 10.0;
        }
        const Ball balls[3] = {
            {base, velocity}, {base + offset, still}, {base - offset * 0.5, velocity * -1.0}};
        const Contact expected = plainSearch(balls, window);
        const Contact actual = search({balls[0], balls[1], balls[2]}, window);
        ASSERT_EQ(actual.found, expected.found) << round;
        ASSERT_EQ(actual.time, expected.time) << round;
        ASSERT_EQ(actual.first, expected.first) << round;
        ASSERT_EQ(actual.second, expected.second) << round;
        contacts += expected.found;
    }
    EXPECT_GT(contacts, 300);  // the edge really was met
}

}  // namespace
