#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ExpectVector.h"
#include "geom/Vector.h"

namespace {

TEST(Vector, DefaultConstructedIsInvalidZeroAndInert) {
    Vector v;
    expectExactly(v, 0.0, 0.0, 0.0, VectorStatus::Invalid);
    EXPECT_EQ(v.length(), 0.0);
    EXPECT_EQ(v.dot(Vector(1, 2, 3)), 0.0);
    EXPECT_EQ(Vector(1, 2, 3).dot(v), 0.0);
    EXPECT_EQ(v.distance(Vector(3, 4, 0)), 0.0);
    v.normalize();
    expectExactly(v, 0.0, 0.0, 0.0, VectorStatus::Invalid);
}

TEST(Vector, InvalidOperandsPropagateAsInvalidZero) {
    const Vector invalid;
    const Vector a(1, 2, 3);
    Vector dst[5];
    for (Vector& d : dst) {
        d = Vector(7, 8, 9);  // each result must be written
    }
    for (const Vector& result :
         {add(a, invalid, dst[0]), subtract(invalid, a, dst[1]), cross(a, invalid, dst[2]),
          scale(invalid, 2.0, dst[3]), negate(invalid, dst[4]), a + invalid, -invalid, invalid * 3.0}) {
        expectExactly(result, 0, 0, 0, VectorStatus::Invalid);
    }
    Vector camera(0, -50, 1000);
    camera += invalid;  // the value is lost, not kept
    expectExactly(camera, 0, 0, 0, VectorStatus::Invalid);
}

TEST(Vector, NormalizeMultipliesByTheReciprocal) {
    Vector v(3, 4, 0);
    v.normalize();
    expectExactly(v, 0.6000000000000001, 0.8, 0.0, VectorStatus::Unit);
    EXPECT_EQ(v.length(), 1.0);

    // Reciprocal-then-multiply differs from plain division for some inputs; check one
    // component against both to make sure the order is the reciprocal one.
    Vector w(1, 1, 1);
    w.normalize();
    const double len = std::sqrt(3.0);
    EXPECT_EQ(w.getX(), (1.0 / len) * 1.0);
}

TEST(Vector, NormalizeThresholdAndDegenerateLengths) {
    Vector tiny(1e-9, 0, 0);
    tiny.normalize();
    expectExactly(tiny, 0, 0, 0, VectorStatus::Unit);
    EXPECT_EQ(tiny.length(), 1.0);  // a Unit zero vector still answers 1

    Vector atThreshold(1e-8, 0, 0);
    EXPECT_EQ(atThreshold.length(), 1e-8);
    atThreshold.normalize();
    expectExactly(atThreshold, 1.0, 0, 0, VectorStatus::Unit);

    Vector zero(0, 0, 0);
    EXPECT_EQ(zero.getStatus(), VectorStatus::Default);
    zero.normalize();
    expectExactly(zero, 0, 0, 0, VectorStatus::Unit);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    Vector notANumber(nan, 1, 1);
    notANumber.normalize();
    expectExactly(notANumber, 0, 0, 0, VectorStatus::Unit);
}

TEST(Vector, UnitIsNotNormalisedAgainAndAnswersOne) {
    // A Unit vector with non-unit components keeps them through normalize and unit().
    Vector big = unit(Vector(0, 0, 2)) * 2.0;
    EXPECT_EQ(big.length(), 2.0);
    Vector negBig = -unit(Vector(0, 0, 2));
    EXPECT_EQ(negBig.getStatus(), VectorStatus::Unit);
    negBig.normalize();
    expectExactly(negBig, -0.0, -0.0, -1.0, VectorStatus::Unit);

    Vector fakeUnit = unit(Vector(1, 0, 0));
    fakeUnit.markDefault();
    EXPECT_EQ(fakeUnit.getStatus(), VectorStatus::Default);
    Vector invalid;
    invalid.markDefault();
    EXPECT_EQ(invalid.getStatus(), VectorStatus::Invalid);
}

TEST(Vector, UnitFormsLeaveTheSourceAlone) {
    const Vector src(0, 5, 0);
    const Vector copy = unit(src);
    expectExactly(src, 0, 5, 0, VectorStatus::Default);
    expectExactly(copy, 0, 1, 0, VectorStatus::Unit);
    Vector dst(9, 9, 9);
    expectExactly(unit(src, dst), 0, 1, 0, VectorStatus::Unit);
    // Copying a Unit source copies the status, so it is not renormalised.
    Vector dst2;
    expectExactly(unit(copy * 1.0, dst2), 0, 1, 0, VectorStatus::Unit);
}

TEST(Vector, StatusOfArithmeticResults) {
    const Vector u = unit(Vector(1, 0, 0));
    EXPECT_EQ((-u).getStatus(), VectorStatus::Unit);
    EXPECT_EQ((u * 1.0).getStatus(), VectorStatus::Default);
    EXPECT_EQ((u + Vector(0, 0, 0)).getStatus(), VectorStatus::Default);
    Vector sum = u;
    sum += Vector(0, 0, 0);
    EXPECT_EQ(sum.getStatus(), VectorStatus::Default);

    const Vector a(1.5, -2.25, 8);
    const Vector self = a - a;
    expectExactly(self, 0, 0, 0, VectorStatus::Default);
    EXPECT_EQ(self.length(), 0.0);
}

TEST(Vector, DestinationMayAliasAnOperand) {
    Vector a(1, 2, 3);
    add(a, Vector(10, 20, 30), a);
    expectExactly(a, 11, 22, 33, VectorStatus::Default);
    subtract(a, a, a);
    expectExactly(a, 0, 0, 0, VectorStatus::Default);
    Vector b(1, -2, 4);
    scale(b, -0.5, b);
    expectExactly(b, -0.5, 1, -2, VectorStatus::Default);
    negate(b, b);
    expectExactly(b, 0.5, -1, 2, VectorStatus::Default);
}

TEST(Vector, CrossDotAndDistanceFollowTheFormula) {
    Vector c;
    expectExactly(cross(Vector(1, 0, 0), Vector(0, 1, 0), c), 0, 0, 1, VectorStatus::Default);
    expectExactly(cross(Vector(2, 3, 4), Vector(5, 6, 7), c), 3 * 7 - 4 * 6, 4 * 5 - 2 * 7, 2 * 6 - 3 * 5,
                  VectorStatus::Default);
    // Unit operands give no short cut: the components are used even beyond length 1.
    const Vector u = unit(Vector(0, 0, 1)) * 1.0;
    EXPECT_EQ(dot(unit(Vector(1, 1, 0)), unit(Vector(1, 1, 0))),
              0.7071067811865475 * 0.7071067811865475 + 0.7071067811865475 * 0.7071067811865475);
    EXPECT_EQ(u.dot(Vector(0, 0, 3)), 3.0);
    // Accumulation order x, then y, then z: (1e16 + 1) - 1e16 loses the 1 in this order.
    EXPECT_EQ(Vector(1e16, 1, -1e16).dot(Vector(1, 1, 1)), (1e16 + 1.0) - 1e16);
    EXPECT_EQ(Vector(1, 1, 1).distance(Vector(4, 5, 1)), 5.0);
    EXPECT_EQ(Vector(1, 1, 1).distance(Vector()), 0.0);
}

}  // namespace
