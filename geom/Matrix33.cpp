#include "geom/Matrix33.h"

#include <cmath>
#include <utility>

namespace {
// Below this |det| the matrix counts as singular and its inverse is the identity.
constexpr double singularThreshold = 1e-8;

void setIdentity(double* m) {
    for (int i = 0; i < 9; ++i) {
        m[i] = (i % 4 == 0) ? 1.0 : 0.0;
    }
}
}  // namespace

Matrix33::Matrix33() {
    setIdentity(m);
}

Matrix33::Matrix33(double m0, double m1, double m2, double m3, double m4, double m5, double m6, double m7,
                   double m8)
    : m{m0, m1, m2, m3, m4, m5, m6, m7, m8} {}

Matrix33::Matrix33(double a, double b, double c) {
    const double ca = std::cos(a), sa = std::sin(a);
    const double cb = std::cos(b), sb = std::sin(b);
    const double cc = std::cos(c), sc = std::sin(c);
    m[0] = cb * cc;
    m[1] = -(cb * sc);
    m[2] = sb;
    m[3] = (sa * sb) * cc + ca * sc;
    m[4] = ca * cc - (sa * sb) * sc;
    m[5] = -(sa * cb);
    m[6] = sa * sc - (ca * sb) * cc;
    m[7] = (ca * sb) * sc + sa * cc;
    m[8] = ca * cb;
}

Matrix33& add(const Matrix33& a, const Matrix33& b, Matrix33& dst) {
    for (int i = 0; i < 9; ++i) {
        dst.m[i] = a.m[i] + b.m[i];
    }
    return dst;
}

Matrix33& subtract(const Matrix33& a, const Matrix33& b, Matrix33& dst) {
    for (int i = 0; i < 9; ++i) {
        dst.m[i] = a.m[i] - b.m[i];
    }
    return dst;
}

Matrix33& scale(const Matrix33& a, double s, Matrix33& dst) {
    for (int i = 0; i < 9; ++i) {
        dst.m[i] = a.m[i] * s;
    }
    return dst;
}

Matrix33& multiply(const Matrix33& a, const Matrix33& b, Matrix33& dst) {
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            dst.m[3 * r + c] =
                (a.m[3 * r] * b.m[c] + a.m[3 * r + 1] * b.m[3 + c]) + a.m[3 * r + 2] * b.m[6 + c];
        }
    }
    return dst;
}

Vector& transform(const Matrix33& mat, const Vector& v, Vector& dst) {
    const double* m = mat.m;
    const double x = v.getX(), y = v.getY(), z = v.getZ();
    dst = Vector((m[0] * x + m[1] * y) + m[2] * z,  //
                 (m[3] * x + m[4] * y) + m[5] * z,  //
                 (m[6] * x + m[7] * y) + m[8] * z);
    return dst;
}

Vector Matrix33::operator*(const Vector& v) const {
    Vector result;
    return transform(*this, v, result);
}

double Matrix33::determinant() const {
    double d = (m[4] * m[8] - m[5] * m[7]) * m[0];
    d = d - (m[3] * m[8] - m[5] * m[6]) * m[1];
    d = d + (m[3] * m[7] - m[4] * m[6]) * m[2];
    return d;
}

Matrix33& Matrix33::transpose() {
    std::swap(m[1], m[3]);
    std::swap(m[2], m[6]);
    std::swap(m[5], m[7]);
    return *this;
}

Matrix33& inverse(const Matrix33& src, Matrix33& dst) {
    const double det = src.determinant();
    if (!(std::fabs(det) >= singularThreshold)) {  // NaN counts as singular
        setIdentity(dst.m);
        return dst;
    }
    const double* m = src.m;
    dst.m[0] = m[4] * m[8] - m[5] * m[7];
    dst.m[1] = m[2] * m[7] - m[1] * m[8];
    dst.m[2] = m[1] * m[5] - m[2] * m[4];
    dst.m[3] = m[5] * m[6] - m[3] * m[8];
    dst.m[4] = m[0] * m[8] - m[2] * m[6];
    dst.m[5] = m[2] * m[3] - m[0] * m[5];
    dst.m[6] = m[3] * m[7] - m[4] * m[6];
    dst.m[7] = m[1] * m[6] - m[0] * m[7];
    dst.m[8] = m[0] * m[4] - m[1] * m[3];
    const double r = 1.0 / det;
    return scale(dst, r, dst);
}
