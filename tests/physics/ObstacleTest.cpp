#include <tuple>
#include <vector>

#include "physics/BallCollision.h"
#include "physics/HitTest.h"
#include "support/Checks.h"

namespace {

const Vector still(0, 0, 0), up = unit(Vector(0, 1, 0)), east = unit(Vector(1, 0, 0));
const Vector unset(7, 7, 7);  // shows whether a test wrote its outputs

struct HitCase {
    const char* name;
    bool cylinder;  // else the floor
    Vector start, direction;
    int found;
    double distance;
    Vector normal, point;
};

TEST(HitTest, PathsAgainstTheFloorAndAnUprightCylinder) {
    const Plane floor{Vector(0, -300, 0), Vector(0, 1, 0)};
    const Cylinder column{Ray(Vector(0, 0, 0), up), 80.0};
    const Vector n = floor.normal;
    const HitCase cases[] = {
        {"floor from below: the way back counts", false, Vector(0, -400, 0), up, 1, 100, n, unset},
        {"floor just behind, within 1e-8", false, Vector(0, -300 + 1e-12, 0), up, 1, -1e-12, n, unset},
        {"floor behind by more", false, Vector(0, -300 + 1e-7, 0), up, 0, -1, unset, unset},
        {"floor parallel", false, Vector(0, -200, 0), east, 0, -1, unset, unset},
        {"floor nearly parallel", false, Vector(0, -200, 0), unit(Vector(1, -1e-9, 0)), 0, -1, unset, unset},
        {"far side from inside", true, Vector(0, 0, 0), east, 1, 80, east, Vector(80, 0, 0)},
        {"grazing", true, Vector(-200, 0, 80), east, 1, 200, unit(Vector(0, 0, 1)), Vector(0, 0, 80)},
        {"leaving, just outside within 1e-8", true, Vector(80 + 1e-10, 0, 0), east, 1, -1e-10, east,
         Vector(80, 0, 0)},
        {"leaving, outside by more", true, Vector(80 + 1e-7, 0, 0), east, 0, -1, unset, unset},
        {"along the axis, even inside", true, Vector(0, 0, 0), up, 0, -1, unset, unset},
        {"nearly along the axis", true, Vector(-200, 0, 0), unit(Vector(1e-9, 1, 0)), 0, -1, unset, unset},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        double distance = -1;
        Vector normal = unset, point = unset;
        EXPECT_EQ(c.cylinder ? hitCylinder(column, c.start, c.direction, distance, normal, point)
                             : hitPlane(floor, c.start, c.direction, distance, normal),
                  c.found);
        EXPECT_NEAR(distance, c.distance, 1e-12);
        expectVector(normal, c.normal, 1e-12);
        expectVector(point, c.point, 1e-12);
    }
}

struct Contact {
    int found;
    double time;
    int first, second;
};

struct SearchCase {
    const char* name;
    std::vector<BallSetup> balls;  // positions are the old positions searched from
    double window;
    Contact expected;
};

TEST(BallSearch, EarliestSampledContact) {
    const BallSetup mover{still, Vector(1, 0, 0)}, drift{still, Vector(0.5, -0.1, 0.5)};
    const BallSetup target{Vector(100, 0, 0), still}, fast{Vector(0, 200, 0), Vector(2, 0, 0)};
    const BallSetup fastTarget{Vector(100, 200, 0), still};  // fast reaches it at 30, mover target at 60
    const std::vector<BallSetup> parting = {{still, Vector(-0.001, 0, 0)}, {Vector(35, 0, 0), still}};
    const std::vector<BallSetup> invalid = {{still, Vector()}, {Vector(280, 0, 0), still}};
    auto at = [](BallSetup b, double x, double y) {
        return BallSetup{b.position + Vector(x, y, 0), b.velocity};
    };
    const Contact none{0, -1, -1, -1};
    const SearchCase cases[] = {
        {"out of reach in the window", {mover, target}, 30, none},
        {"reached at the sample past the window", {mover, at(target, -29.9, 0)}, 30, {1, 30, 0, 1}},
        {"in reach while parting", parting, 0.6, {1, 0, 0, 1}},
        {"41 apart, one velocity", {drift, at(drift, 41, 0)}, 1000, none},
        {"passing 40 beside", {mover, at(target, 0, 40)}, 150, {1, 99, 0, 1}},
        {"passing 41 beside", {mover, at(target, 0, 41)}, 300, none},
        {"earlier pair later in the order", {mover, target, fast, fastTarget}, 150, {1, 29, 2, 3}},
        {"earlier pair first in the order", {fast, fastTarget, mover, target}, 150, {1, 29, 0, 1}},
        {"a tie goes to the first pair", {drift, at(drift, 30, 0), at(drift, 60, 0)}, 1, {1, 0, 0, 1}},
        {"an Invalid velocity touches at once", invalid, 1, {1, 0, 0, 1}},
        {"one ball", {mover}, 1, none},
    };
    for (const SearchCase& c : cases) {
        Contact got = none;
        got.found = findBallCollision(worldWith(c.balls), c.window, got.time, got.first, got.second);
        const Contact& e = c.expected;
        EXPECT_EQ(std::tie(got.found, got.first, got.second), std::tie(e.found, e.first, e.second)) << c.name;
        EXPECT_NEAR(got.time, e.time, 1e-9) << c.name;
    }
}

}  // namespace
