#include <cmath>
#include <limits>

#include "geom/Matrix33.h"
#include "geom/Ray.h"
#include "geom/TextForm.h"
#include "support/Checks.h"

namespace {

constexpr VectorStatus I = VectorStatus::Invalid, D = VectorStatus::Default, U = VectorStatus::Unit;
const double nan = std::numeric_limits<double>::quiet_NaN();
const Vector bad, a(1, 2, 3), o(0, 0, 0);
const Ray xAxis(o, Vector(1, 0, 0));
const Ray xLine(Vector(1, 2, 0), Vector(2, 2, 0)), yLine(Vector(2, 7, 1), Vector(2, 8, 1));

struct VectorCase {
    const char* name;
    Vector got;
    double x, y, z;
    VectorStatus status;
};

TEST(Geometry, Vectors) {
    Vector d[4] = {a, a, a, Vector(1, -2, 4)}, camera = a;
    const VectorCase cases[] = {
        {"Unit scaled", unit(Vector(0, 0, 2)) * 1.0, 0, 0, 1, D},
        {"Unit plus zero", unit(Vector(0, 0, 2)) + o, 0, 0, 1, D},
        {"Unit negated", -unit(Vector(0, 3, 0)), -0.0, -1, -0.0, U},
        {"add into an operand", add(d[1], Vector(10, 20, 30), d[1]), 11, 22, 33, D},
        {"scale into its operand", scale(d[3], -0.5, d[3]), -0.5, 1, -2, D},
        {"negate into its operand", negate(d[3], d[3]), 0.5, -1, 2, D},
        {"add Invalid", add(a, bad, d[0]), 0, 0, 0, I},
        {"subtract from Invalid", subtract(bad, a, d[1]), 0, 0, 0, I},
        {"cross Invalid", cross(a, bad, d[2]), 0, 0, 0, I},
        {"scale Invalid", bad * 3.0, 0, 0, 0, I},
        {"negate Invalid", -bad, 0, 0, 0, I},
        {"+= Invalid", camera += bad, 0, 0, 0, I},
        {"unit multiplies by 1/length", unit(Vector(3, 4, 0)), 0.6000000000000001, 0.8, 0, U},
        {"unit of length 1e-8", unit(Vector(1e-8, 0, 0)), 1, 0, 0, U},
        {"unit below 1e-8", unit(Vector(1e-9, 0, 0)), 0, 0, 0, U},
        {"unit of NaN", unit(Vector(nan, 1, 1)), 0, 0, 0, U},
        {"unit of Invalid", unit(bad), 0, 0, 0, I},
        {"markDefault of Unit", unit(Vector(2, 0, 0)).markDefault(), 1, 0, 0, D},
        {"markDefault of Invalid", Vector().markDefault(), 0, 0, 0, I},
        {"transform of Invalid", Matrix33() * bad, 0, 0, 0, D},
        {"transform in place", transform(Matrix33(0, 1, 0, 0, 0, 1, 1, 0, 0), a, d[2]), 2, 3, 1, D},
        {"turn about z", Matrix33(0, 0, 0.7) * Vector(1, 0, 0), std::cos(0.7), std::sin(0.7), 0, D},
        {"turn about x", Matrix33(0.7, 0, 0) * Vector(0, 1, 0), 0, std::cos(0.7), std::sin(0.7), D},
        {"turn about y", Matrix33(0, 0.7, 0) * Vector(0, 0, 1), std::sin(0.7), 0, std::cos(0.7), D},
        {"ray through two points", Ray(o, Vector(2, 0, 0)).getDirection(), 1, 0, 0, U},
        {"ray along a Unit", Ray(a, unit(Vector(0, 3, 0))).getDirection(), 0, 1, 0, U},
        {"closest: skew lines", Vector(Ray(Vector(-3, 0, 0), Vector(1, 0, 0)), yLine), 2, 0, 0.5, D},
        {"closest: opposite", Vector(xLine, Ray(Vector(7, 5, 0), Vector(6, 5, 0))), 1, 3.5, 0, D},
        {"closest: zero direction", Vector(Ray(Vector(0, 3, 0), Vector(0, 3, 0)), xAxis), 0, 1.5, 0, D},
        {"closest: invalid ray", Vector(xAxis, Ray()), 0, 0, 0, I},
    };
    for (const VectorCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectVector(c.got, c.x, c.y, c.z, c.status);
    }
}

TEST(Geometry, Numbers) {
    Vector d1(7, 8, 9), d2 = d1;
    const auto valid = [](const Ray& r) { return r.isValid() ? 1.0 : 0.0; };
    const struct {
        const char* name;
        double got, expected, tolerance;
    } cases[] = {
        {"Unit length", unit(Vector(0, 0, 0)).length(), 1, 0},
        {"point to line", xAxis.distanceToPoint(Vector(-5, 3, 4)), 5, 0},
        {"point to point", Ray(a, a).distanceToPoint(Vector(4, 6, 3)), 5, 0},
        {"line to line", xAxis.distanceToRay(Ray(Vector(0, 0, 5), Vector(0, 1, 5))), 5, 0},
        {"nearly parallel, meeting", xAxis.distanceToRay(Ray(Vector(0, 1, 0), Vector(1e3, 2, 0))), 0, 1e-9},
        {"invalid rays: 0, 7 and 9 left", xAxis.closestPoints(Ray(), d1, d2) + d1.getX() + d2.getZ(), 16, 0},
        // Not valid: no ray, an Invalid point or second point.
        {"no ray", valid(Ray()), 0, 0},
        {"Invalid point", valid(Ray(bad, Vector(1, 0, 0))), 0, 0},
        {"Invalid point, Unit direction", valid(Ray(bad, unit(a))), 0, 0},
        {"Invalid second point", valid(Ray(a, bad)), 0, 0},
        {"valid: the same point twice", valid(Ray(a, a)), 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.got, c.expected, c.tolerance) << c.name;
    }
}

Matrix33 inverted(const Matrix33& m) {
    Matrix33 dst(5, 5, 5, 5, 5, 5, 5, 5, 5);
    return inverse(m, dst);
}

TEST(Geometry, Matrices) {
    const Matrix33 m(1, 2, 3, 4, 5, 6, 7, 8, 9), id, shift(0, 1, 0, 0, 0, 1, 1, 0, 0);
    const double p = std::ldexp(1.0, -9);  // diag(p, p, 2p) has det 2^-26, just above 1e-8
    Matrix33 r, t = m, turns;
    multiply(Matrix33(0.3, 0, 0), multiply(Matrix33(0, 0.5, 0), Matrix33(0, 0, 0.7), r), turns);
    const struct {
        const char* name;
        Matrix33 got, expected;
    } cases[] = {
        {"turns x, y, z", Matrix33(0.3, 0.5, 0.7), turns},
        {"add", add(m, shift, r), Matrix33(1, 3, 3, 4, 5, 7, 8, 8, 9)},
        {"scale", scale(m, -1, r), Matrix33(-1, -2, -3, -4, -5, -6, -7, -8, -9)},
        {"product order", multiply(m, shift, r), Matrix33(3, 1, 2, 6, 4, 5, 9, 7, 8)},
        {"transpose", t.transpose(), Matrix33(1, 4, 7, 2, 5, 8, 3, 6, 9)},
        {"inverse", inverted(Matrix33(2, 1, 0, 1, 3, 1, 0, 1, 4)),
         scale(Matrix33(11, -4, 1, -4, 8, -2, 1, -2, 5), 1 / 18.0, r)},
        {"inverse above 1e-8", inverted(Matrix33(p, 0, 0, 0, p, 0, 0, 0, 2 * p)),
         Matrix33(512, 0, 0, 0, 512, 0, 0, 0, 256)},
        {"inverse below 1e-8", inverted(Matrix33(p, 0, 0, 0, p, 0, 0, 0, p)), id},
        {"inverse of NaN", inverted(Matrix33(nan, 0, 0, 0, 1, 0, 0, 0, 1)), id},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 9; ++i) {
            EXPECT_NEAR(c.got[i], c.expected[i], 1e-15) << c.name << ", element " << i;
        }
    }
}

}  // namespace
