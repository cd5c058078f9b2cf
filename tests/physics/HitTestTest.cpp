#include <gtest/gtest.h>

#include "physics/HitTest.h"

namespace {

const Plane floorPlane{Vector(0, -300, 0), Vector(0, 1, 0)};
const Cylinder column{Ray(Vector(0, 0, 0), unit(Vector(0, 1, 0))), 80.0};
const Vector up = unit(Vector(0, 1, 0));
const Vector down = unit(Vector(0, -1, 0));
const Vector east = unit(Vector(1, 0, 0));
const Vector none = unit(Vector(0, 0, 0));
const Vector sentinel(7, 7, 7);  // shows whether a test wrote its outputs

struct HitCase {
    const char* name;
    Vector start;
    Vector direction;
    int found;
    double distance;  // -1: not written
    Vector normal;
    Vector point;  // cylinders only
};

void expectVector(const Vector& v, const Vector& expected) {
    EXPECT_NEAR(v.getX(), expected.getX(), 1e-12);
    EXPECT_NEAR(v.getY(), expected.getY(), 1e-12);
    EXPECT_NEAR(v.getZ(), expected.getZ(), 1e-12);
}

TEST(HitPlane, HitsFromEitherSideAndMissesWriteNothing) {
    const Vector n(0, 1, 0);
    const HitCase cases[] = {
        {"from above", Vector(0, -200, 0), down, 1, 100.0, n, sentinel},
        {"from behind, the way back counts", Vector(0, -400, 0), up, 1, 100.0, n, sentinel},
        {"in the plane, leaving", Vector(5, -300, 5), unit(Vector(1, 1, 0)), 1, 0.0, n, sentinel},
        {"in the plane, entering", Vector(5, -300, 5), unit(Vector(1, -1, 0)), 1, 0.0, n, sentinel},
        {"within the tolerance", Vector(0, -300 + 1e-12, 0), up, 1, 1e-12, n, sentinel},
        {"parallel", Vector(0, -200, 0), east, 0, -1.0, sentinel, sentinel},
        {"plane behind", Vector(0, -200, 0), up, 0, -1.0, sentinel, sentinel},
        {"beyond the tolerance", Vector(0, -300 + 1e-7, 0), up, 0, -1.0, sentinel, sentinel},
        {"no direction", Vector(0, -200, 0), none, 0, -1.0, sentinel, sentinel},
        {"Invalid direction", Vector(0, -200, 0), Vector(), 0, -1.0, sentinel, sentinel},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        double distance = -1.0;
        Vector normal = sentinel;
        EXPECT_EQ(hitPlane(floorPlane, c.start, c.direction, distance, normal), c.found);
        EXPECT_NEAR(distance, c.distance, 1e-9);
        expectVector(normal, c.normal);
    }
}

TEST(HitCylinder, NearSideFromOutsideFarSideFromInsideAndMissesWriteNothing) {
    const HitCase cases[] = {
        {"from outside", Vector(-200, 0, 0), east, 1, 120.0, Vector(-1, 0, 0), Vector(-80, 0, 0)},
        {"from inside", Vector(0, 0, 0), east, 1, 80.0, Vector(1, 0, 0), Vector(80, 0, 0)},
        {"grazing", Vector(-200, 0, 80), east, 1, 200.0, Vector(0, 0, 1), Vector(0, 0, 80)},
        {"slanted path, radial normal", Vector(-200, 100, 0), unit(Vector(1, -0.5, 0)), 1,
         Vector(120, -60, 0).length(), Vector(-1, 0, 0), Vector(-80, 40, 0)},
        {"passes outside", Vector(-200, 0, 90), east, 0, -1.0, sentinel, sentinel},
        {"along the axis, even inside", Vector(0, 0, 0), up, 0, -1.0, sentinel, sentinel},
        {"moving away", Vector(200, 0, 0), east, 0, -1.0, sentinel, sentinel},
        {"no direction", Vector(-200, 0, 0), none, 0, -1.0, sentinel, sentinel},
        {"Invalid direction", Vector(-200, 0, 0), Vector(), 0, -1.0, sentinel, sentinel},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        double distance = -1.0;
        Vector normal = sentinel;
        Vector point = sentinel;
        EXPECT_EQ(hitCylinder(column, c.start, c.direction, distance, normal, point), c.found);
        EXPECT_NEAR(distance, c.distance, 1e-9);
        expectVector(normal, c.normal);
        expectVector(point, c.point);
    }
}

}  // namespace
