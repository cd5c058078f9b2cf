#pragma once

#include <iosfwd>

#include "geom/Vector.h"

// A 3x3 double matrix in row-major order: element (r, c) is m[3r + c]. Vectors are columns.
class Matrix33 {
  public:
    // The identity.
    Matrix33();
    Matrix33(double m0, double m1, double m2, double m3, double m4, double m5, double m6, double m7,
             double m8);
    // The rotation Rx(a) * Ry(b) * Rz(c), angles in radians.
    Matrix33(double a, double b, double c);

    double operator[](int index) const { return m[index]; }

    // M * v; always Default, the status of v is not consulted.
    Vector operator*(const Vector& v) const;
    double determinant() const;
    // In place.
    Matrix33& transpose();

    // Three lines "(a,b,c)", one per row.
    std::ostream& print(std::ostream& out) const;
    std::istream& read(std::istream& in);

    double m[9];
};

// add, subtract and scale may write into an operand; multiply and inverse may not.
Matrix33& add(const Matrix33& a, const Matrix33& b, Matrix33& dst);
Matrix33& subtract(const Matrix33& a, const Matrix33& b, Matrix33& dst);
Matrix33& scale(const Matrix33& a, double s, Matrix33& dst);
Matrix33& multiply(const Matrix33& a, const Matrix33& b, Matrix33& dst);
// The identity when |det| < 1e-8 (or det is not a number).
Matrix33& inverse(const Matrix33& src, Matrix33& dst);
// M * v; dst may be v.
Vector& transform(const Matrix33& mat, const Vector& v, Vector& dst);
