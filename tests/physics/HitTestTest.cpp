#include <gtest/gtest.h>

#include "physics/HitTest.h"

namespace {

const Plane floorPlane{Vector(0, -300, 0), Vector(0, 1, 0)};
const Cylinder column{Ray(Vector(0, 0, 0), unit(Vector(0, 1, 0))), 80.0};

void expectVector(const Vector& v, double x, double y, double z) {
    EXPECT_EQ(v.getX(), x);
    EXPECT_EQ(v.getY(), y);
    EXPECT_EQ(v.getZ(), z);
}

// Sentinels show that a miss writes nothing.
struct Outputs {
    double distance = -12345.0;
    Vector normal{7, 7, 7};
    Vector point{8, 8, 8};
    void expectUntouched() const {
        EXPECT_EQ(distance, -12345.0);
        expectVector(normal, 7, 7, 7);
        expectVector(point, 8, 8, 8);
    }
};

int plane(const Vector& start, const Vector& direction, Outputs& out) {
    return hitPlane(floorPlane, start, direction, out.distance, out.normal);
}

int cylinder(const Vector& start, const Vector& direction, Outputs& out) {
    return hitCylinder(column, start, direction, out.distance, out.normal, out.point);
}

TEST(HitPlane, PathTowardsThePlaneHitsWithTheStoredNormal) {
    Outputs out;
    ASSERT_EQ(plane(Vector(0, -200, 0), unit(Vector(0, -1, 0)), out), 1);
    EXPECT_EQ(out.distance, 100.0);
    expectVector(out.normal, 0, 1, 0);
    EXPECT_TRUE(out.normal.isDefault());
}

TEST(HitPlane, StartBehindThePlaneHitsOnTheWayBack) {
    Outputs out;
    ASSERT_EQ(plane(Vector(0, -400, 0), unit(Vector(0, 1, 0)), out), 1);
    EXPECT_EQ(out.distance, 100.0);
    expectVector(out.normal, 0, 1, 0);
}

TEST(HitPlane, StartInThePlaneHitsAtZeroEitherWay) {
    for (double dy : {1.0, -1.0}) {
        Outputs out;
        ASSERT_EQ(plane(Vector(5, -300, 5), unit(Vector(1, dy, 0)), out), 1);
        EXPECT_EQ(out.distance, 0.0);
    }
}

TEST(HitPlane, MissesWriteNothing) {
    Outputs out;
    EXPECT_EQ(plane(Vector(0, -200, 0), unit(Vector(1, 0, 0)), out), 0);  // parallel
    EXPECT_EQ(plane(Vector(0, -200, 0), unit(Vector(0, 1, 0)), out), 0);  // plane behind
    EXPECT_EQ(plane(Vector(0, -200, 0), unit(Vector(0, 0, 0)), out), 0);  // no direction
    EXPECT_EQ(plane(Vector(0, -200, 0), Vector(), out), 0);               // Invalid direction
    out.expectUntouched();
}

TEST(HitPlane, ToleranceBehindTheStart) {
    Outputs out;
    // 1e-9 behind still counts as at the start; 1e-7 behind does not.
    EXPECT_EQ(plane(Vector(0, -300 + 1e-7, 0), unit(Vector(0, 1, 0)), out), 0);
    ASSERT_EQ(plane(Vector(0, -300.0 + 1e-12, 0), unit(Vector(0, 1, 0)), out), 1);
    EXPECT_LT(out.distance, 0.0);
}

TEST(HitCylinder, PathFromOutsideMeetsTheNearSide) {
    Outputs out;
    ASSERT_EQ(cylinder(Vector(-200, 0, 0), unit(Vector(1, 0, 0)), out), 1);
    EXPECT_EQ(out.distance, 120.0);
    expectVector(out.point, -80, 0, 0);
    expectVector(out.normal, -1, 0, 0);
    EXPECT_TRUE(out.normal.isUnit());
}

TEST(HitCylinder, PathFromInsideLeavesThroughTheFarSide) {
    Outputs out;
    ASSERT_EQ(cylinder(Vector(0, 0, 0), unit(Vector(1, 0, 0)), out), 1);
    EXPECT_EQ(out.distance, 80.0);
    expectVector(out.point, 80, 0, 0);
    expectVector(out.normal, 1, 0, 0);
}

TEST(HitCylinder, GrazingPathTouches) {
    Outputs out;
    ASSERT_EQ(cylinder(Vector(-200, 0, 80), unit(Vector(1, 0, 0)), out), 1);
    EXPECT_EQ(out.distance, 200.0);
    expectVector(out.point, 0, 0, 80);
    EXPECT_NEAR(out.normal.getZ(), 1.0, 1e-15);
}

TEST(HitCylinder, SlantedPathGetsARadialNormal) {
    // The normal is perpendicular to the axis even where the path comes in from above.
    Outputs out;
    const Vector start(-200, 100, 0);
    const Vector direction = unit(Vector(1, -0.5, 0));
    ASSERT_EQ(cylinder(start, direction, out), 1);
    EXPECT_NEAR(out.point.getX(), -80.0, 1e-12);
    EXPECT_NEAR(out.point.getY(), 40.0, 1e-12);
    EXPECT_NEAR(out.normal.getX(), -1.0, 1e-15);
    EXPECT_EQ(out.normal.getY(), 0.0);
    EXPECT_EQ(out.normal.getZ(), 0.0);
}

TEST(HitCylinder, MissesWriteNothing) {
    Outputs out;
    EXPECT_EQ(cylinder(Vector(-200, 0, 90), unit(Vector(1, 0, 0)), out), 0);  // passes outside
    EXPECT_EQ(cylinder(Vector(0, 0, 0), unit(Vector(0, 1, 0)), out), 0);      // along the axis, inside
    EXPECT_EQ(cylinder(Vector(200, 0, 0), unit(Vector(1, 0, 0)), out), 0);    // moving away
    EXPECT_EQ(cylinder(Vector(-200, 0, 0), unit(Vector(0, 0, 0)), out), 0);   // no direction
    EXPECT_EQ(cylinder(Vector(-200, 0, 0), Vector(), out), 0);                // Invalid direction
    out.expectUntouched();
}

}  // namespace
