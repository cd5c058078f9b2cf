#include <gtest/gtest.h>

#include "physics/HitTest.h"

namespace {

const Plane floorPlane{Vector(0, -300, 0), Vector(0, 1, 0)};
const Cylinder column{Ray(Vector(0, 0, 0), unit(Vector(0, 1, 0))), 80.0};
const Vector up = unit(Vector(0, 1, 0));
const Vector down = unit(Vector(0, -1, 0));
const Vector east = unit(Vector(1, 0, 0));

// The sentinels show whether a test wrote its outputs.
struct Hit {
    int found;
    double distance = -1.0;
    Vector normal{7, 7, 7};
    Vector point{7, 7, 7};
};

Hit plane(const Vector& start, const Vector& direction) {
    Hit h{0};
    h.found = hitPlane(floorPlane, start, direction, h.distance, h.normal);
    return h;
}

Hit cylinder(const Vector& start, const Vector& direction) {
    Hit h{0};
    h.found = hitCylinder(column, start, direction, h.distance, h.normal, h.point);
    return h;
}

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_NEAR(v.getX(), x, 1e-12);
    EXPECT_NEAR(v.getY(), y, 1e-12);
    EXPECT_NEAR(v.getZ(), z, 1e-12);
}

void expectMiss(const Hit& h) {
    EXPECT_EQ(h.found, 0);
    EXPECT_EQ(h.distance, -1.0);
    expectVector(h.normal, 7, 7, 7);
    expectVector(h.point, 7, 7, 7);
}

TEST(HitPlane, HitsFromEitherSide) {
    const Hit above = plane(Vector(0, -200, 0), down);
    ASSERT_EQ(above.found, 1);
    EXPECT_EQ(above.distance, 100.0);
    expectVector(above.normal, 0, 1, 0);
    // From behind the plane, the way back to it counts too.
    const Hit below = plane(Vector(0, -400, 0), up);
    ASSERT_EQ(below.found, 1);
    EXPECT_EQ(below.distance, 100.0);
    // In the plane: distance 0 either way; 1e-12 behind still counts as in it.
    EXPECT_EQ(plane(Vector(5, -300, 5), unit(Vector(1, 1, 0))).distance, 0.0);
    EXPECT_EQ(plane(Vector(5, -300, 5), unit(Vector(1, -1, 0))).distance, 0.0);
    EXPECT_EQ(plane(Vector(0, -300 + 1e-12, 0), up).found, 1);
}

TEST(HitPlane, MissesWriteNothing) {
    expectMiss(plane(Vector(0, -200, 0), east));                   // parallel
    expectMiss(plane(Vector(0, -200, 0), up));                     // plane behind
    expectMiss(plane(Vector(0, -300 + 1e-7, 0), up));              // beyond the tolerance
    expectMiss(plane(Vector(0, -200, 0), unit(Vector(0, 0, 0))));  // no direction
    expectMiss(plane(Vector(0, -200, 0), Vector()));               // Invalid direction
}

TEST(HitCylinder, NearSideFromOutsideFarSideFromInside) {
    const Hit outside = cylinder(Vector(-200, 0, 0), east);
    ASSERT_EQ(outside.found, 1);
    EXPECT_EQ(outside.distance, 120.0);
    expectVector(outside.point, -80, 0, 0);
    expectVector(outside.normal, -1, 0, 0);

    const Hit inside = cylinder(Vector(0, 0, 0), east);
    ASSERT_EQ(inside.found, 1);
    EXPECT_EQ(inside.distance, 80.0);
    expectVector(inside.point, 80, 0, 0);
    expectVector(inside.normal, 1, 0, 0);

    const Hit grazing = cylinder(Vector(-200, 0, 80), east);
    ASSERT_EQ(grazing.found, 1);
    EXPECT_EQ(grazing.distance, 200.0);
    expectVector(grazing.point, 0, 0, 80);
}

TEST(HitCylinder, NormalIsRadialForASlantedPath) {
    const Hit h = cylinder(Vector(-200, 100, 0), unit(Vector(1, -0.5, 0)));
    ASSERT_EQ(h.found, 1);
    expectVector(h.point, -80, 40, 0);
    expectVector(h.normal, -1, 0, 0);
}

TEST(HitCylinder, MissesWriteNothing) {
    expectMiss(cylinder(Vector(-200, 0, 90), east));                  // passes outside
    expectMiss(cylinder(Vector(0, 0, 0), up));                        // along the axis, even inside
    expectMiss(cylinder(Vector(200, 0, 0), east));                    // moving away
    expectMiss(cylinder(Vector(-200, 0, 0), unit(Vector(0, 0, 0))));  // no direction
    expectMiss(cylinder(Vector(-200, 0, 0), Vector()));               // Invalid direction
}

}  // namespace
