#include <gtest/gtest.h>

#include "ExpectVector.h"
#include "geom/Ray.h"

namespace {

TEST(Ray, ConstructionFromTwoPointsOrAPointAndADirection) {
    const Ray toward(Vector(0, 0, 0), Vector(2, 0, 0));
    EXPECT_TRUE(toward.isValid());
    expectExactly(toward.getDirection(), 1, 0, 0, VectorStatus::Unit);

    // A Unit second vector is a direction, not a point.
    const Ray along(Vector(5, 5, 5), unit(Vector(0, 3, 0)));
    expectExactly(along.getDirection(), 0, 1, 0, VectorStatus::Unit);
    expectExactly(along.getPoint(), 5, 5, 5, VectorStatus::Default);

    const Ray samePoint(Vector(1, 2, 3), Vector(1, 2, 3));
    EXPECT_TRUE(samePoint.isValid());
    expectExactly(samePoint.getDirection(), 0, 0, 0, VectorStatus::Unit);
    EXPECT_EQ(samePoint.distanceToPoint(Vector(4, 6, 3)), 5.0);

    EXPECT_FALSE(Ray(Vector(), Vector(1, 0, 0)).isValid());
    EXPECT_FALSE(Ray(Vector(1, 0, 0), Vector()).isValid());
    EXPECT_FALSE(Ray().isValid());
    // A Unit direction with an Invalid point is still not valid.
    EXPECT_FALSE(Ray(Vector(), unit(Vector(1, 0, 0))).isValid());
}

TEST(Ray, DistanceToPointMeasuresTheWholeLine) {
    const Ray xAxis(Vector(0, 0, 0), Vector(1, 0, 0));
    EXPECT_EQ(xAxis.distanceToPoint(Vector(5, 3, 4)), 5.0);
    EXPECT_EQ(xAxis.distanceToPoint(Vector(-50, 0, 2)), 2.0);  // behind the origin
    EXPECT_EQ(xAxis.distanceToPoint(Vector()), 0.0);
    EXPECT_EQ(Ray().distanceToPoint(Vector(1, 1, 1)), 0.0);
}

TEST(Ray, ClosestPointsOfSkewLines) {
    const Ray xAxis(Vector(0, 0, 0), Vector(1, 0, 0));
    const Ray yAxisAbove(Vector(0, 0, 5), Vector(0, 1, 5));
    Vector onThis, onOther;
    ASSERT_EQ(xAxis.closestPoints(yAxisAbove, onThis, onOther), 1);
    expectExactly(onThis, 0, 0, 0, VectorStatus::Default);
    expectExactly(onOther, 0, 0, 5, VectorStatus::Default);
    EXPECT_EQ(xAxis.distanceToRay(yAxisAbove), 5.0);

    // Offset origins: the closest points are found on the lines, not at the origins.
    const Ray a(Vector(-3, 0, 0), Vector(1, 0, 0));
    const Ray b(Vector(2, 7, 1), Vector(2, 8, 1));
    ASSERT_EQ(a.closestPoints(b, onThis, onOther), 1);
    expectExactly(onThis, 2, 0, 0, VectorStatus::Default);
    expectExactly(onOther, 2, 0, 1, VectorStatus::Default);

    const Vector mid(a, b);
    expectExactly(mid, 2, 0, 0.5, VectorStatus::Default);
}

TEST(Ray, ParallelLinesUseTheFootOfTheFirstPoint) {
    const Ray a(Vector(1, 2, 0), Vector(2, 2, 0));
    const Ray same(Vector(7, 5, 0), Vector(8, 5, 0));
    const Ray opposite(Vector(7, 5, 0), Vector(6, 5, 0));
    Vector onThis, onOther;
    ASSERT_EQ(a.closestPoints(same, onThis, onOther), 1);
    expectExactly(onThis, 1, 2, 0, VectorStatus::Default);
    expectExactly(onOther, 1, 5, 0, VectorStatus::Default);
    ASSERT_EQ(a.closestPoints(opposite, onThis, onOther), 1);
    expectExactly(onOther, 1, 5, 0, VectorStatus::Default);
    EXPECT_EQ(a.distanceToRay(opposite), 3.0);
}

TEST(Ray, ZeroDirectionTakesTheGeneralCase) {
    const Ray point(Vector(0, 3, 0), Vector(0, 3, 0));
    const Ray xAxis(Vector(0, 0, 0), Vector(1, 0, 0));
    Vector onThis, onOther;
    ASSERT_EQ(point.closestPoints(xAxis, onThis, onOther), 1);
    expectExactly(onThis, 0, 3, 0, VectorStatus::Default);
    expectExactly(onOther, 0, 0, 0, VectorStatus::Default);
}

TEST(Ray, InvalidRaysLeaveTheDestinationsAlone) {
    const Ray valid(Vector(0, 0, 0), Vector(1, 0, 0));
    Vector onThis(9, 9, 9), onOther(8, 8, 8);
    EXPECT_EQ(valid.closestPoints(Ray(), onThis, onOther), 0);
    EXPECT_EQ(Ray().closestPoints(valid, onThis, onOther), 0);
    expectExactly(onThis, 9, 9, 9, VectorStatus::Default);
    expectExactly(onOther, 8, 8, 8, VectorStatus::Default);
    EXPECT_EQ(valid.distanceToRay(Ray()), 0.0);
    expectExactly(Vector(valid, Ray()), 0, 0, 0, VectorStatus::Invalid);
}

}  // namespace
