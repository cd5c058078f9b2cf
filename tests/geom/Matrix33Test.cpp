#include <gtest/gtest.h>

#include <cmath>

#include "geom/Matrix33.h"

namespace {

void expectElements(const Matrix33& mat, const double (&expected)[9]) {
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(mat[i], expected[i]) << "element " << i;
    }
}

TEST(Matrix33, DefaultIsTheIdentity) {
    const Matrix33 id;
    expectElements(id, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    EXPECT_EQ(id.determinant(), 1.0);
}

TEST(Matrix33, RotationFromAngles) {
    const Matrix33 none(0.0, 0.0, 0.0);
    expectElements(none, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    EXPECT_TRUE(std::signbit(none[1]));
    EXPECT_TRUE(std::signbit(none[5]));

    const double c = 0.7;
    const Vector turned = Matrix33(0.0, 0.0, c) * Vector(1, 0, 0);
    EXPECT_EQ(turned.getX(), std::cos(c));
    EXPECT_EQ(turned.getY(), std::sin(c));
    EXPECT_EQ(turned.getZ(), 0.0);

    // Rx(a) Ry(b) Rz(c): z first, then y, then x. A quarter turn about z then about x
    // takes x to y and then y to z.
    const double q = std::acos(0.0);
    const Vector v = Matrix33(q, 0.0, q) * Vector(1, 0, 0);
    EXPECT_NEAR(v.getX(), 0.0, 1e-15);
    EXPECT_NEAR(v.getY(), 0.0, 1e-15);
    EXPECT_NEAR(v.getZ(), 1.0, 1e-15);
}

TEST(Matrix33, TransformIgnoresTheStatus) {
    const Matrix33 id;
    const Vector fromInvalid = id * Vector();
    EXPECT_EQ(fromInvalid.getStatus(), VectorStatus::Default);
    EXPECT_EQ(fromInvalid.length(), 0.0);
    const Vector fromUnit = id * unit(Vector(0, 2, 0));
    EXPECT_EQ(fromUnit.getStatus(), VectorStatus::Default);
    EXPECT_EQ(fromUnit.getY(), 1.0);

    Vector v(1, 2, 3);
    transform(Matrix33(0, 1, 0, 0, 0, 1, 1, 0, 0), v, v);  // destination may be the operand
    EXPECT_EQ(v.getX(), 2.0);
    EXPECT_EQ(v.getY(), 3.0);
    EXPECT_EQ(v.getZ(), 1.0);
}

TEST(Matrix33, InverseOfRegularAndSingularMatrices) {
    Matrix33 inv(5, 5, 5, 5, 5, 5, 5, 5, 5);
    inverse(Matrix33(2, 0, 0, 0, 4, 0, 0, 0, 8), inv);
    expectElements(inv, {0.5, 0, 0, 0, 0.25, 0, 0, 0, 0.125});

    inverse(Matrix33(1, 2, 3, 2, 4, 6, 0, 0, 1), inv);
    expectElements(inv, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    inv = Matrix33(5, 5, 5, 5, 5, 5, 5, 5, 5);
    inverse(Matrix33(0, 0, 0, 0, 0, 0, 0, 0, 0), inv);
    expectElements(inv, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    inverse(Matrix33(NAN, 0, 0, 0, 1, 0, 0, 0, 1), inv);
    expectElements(inv, {1, 0, 0, 0, 1, 0, 0, 0, 1});

    // A general matrix times its inverse is close to the identity.
    const Matrix33 m(2, 1, 0, 1, 3, 1, 0, 1, 4);
    inverse(m, inv);
    Matrix33 product;
    multiply(m, inv, product);
    const double id[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(product[i], id[i], 1e-15);
    }
}

TEST(Matrix33, ElementwiseProductAndTranspose) {
    const Matrix33 a(1, 2, 3, 4, 5, 6, 7, 8, 9);
    Matrix33 r;
    expectElements(add(a, a, r), {2, 4, 6, 8, 10, 12, 14, 16, 18});
    expectElements(subtract(r, a, r), {1, 2, 3, 4, 5, 6, 7, 8, 9});
    expectElements(scale(a, -1.0, r), {-1, -2, -3, -4, -5, -6, -7, -8, -9});
    expectElements(multiply(Matrix33(), a, r), {1, 2, 3, 4, 5, 6, 7, 8, 9});
    expectElements(multiply(a, a, r), {30, 36, 42, 66, 81, 96, 102, 126, 150});
    Matrix33 t = a;
    expectElements(t.transpose(), {1, 4, 7, 2, 5, 8, 3, 6, 9});
    expectElements(t.transpose(), {1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(Matrix33(2, 0, 1, 1, 3, 2, 1, 1, 1).determinant(), 2 * (3 - 2) - 0 + 1 * (1 - 3));
}

}  // namespace
