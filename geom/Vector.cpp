#include "geom/Vector.h"

#include <cmath>

namespace {
// Shortest length that normalisation divides by; anything shorter becomes the zero vector.
constexpr double normalizeThreshold = 1e-8;
}  // namespace

void Vector::makeInvalid() {
    x_ = 0.0;
    y_ = 0.0;
    z_ = 0.0;
    status_ = VectorStatus::Invalid;
}

double Vector::length() const {
    switch (status_) {
        case VectorStatus::Invalid:
            return 0.0;
        case VectorStatus::Unit:
            return 1.0;
        case VectorStatus::Default:
            break;
    }
    double s = x_ * x_;
    s = s + y_ * y_;
    s = s + z_ * z_;
    return std::sqrt(s);
}

double Vector::dot(const Vector& other) const {
    if (!isValid() || !other.isValid()) {
        return 0.0;
    }
    double p = x_ * other.x_;
    p = p + y_ * other.y_;
    p = p + z_ * other.z_;
    return p;
}

double dot(const Vector& a, const Vector& b) {
    return a.dot(b);
}

double Vector::distance(const Vector& other) const {
    Vector difference;
    return subtract(*this, other, difference).length();
}

Vector& Vector::normalize() {
    if (status_ != VectorStatus::Default) {
        return *this;
    }
    const double len = length();
    if (len >= normalizeThreshold) {  // false for NaN as well
        const double r = 1.0 / len;
        x_ = r * x_;
        y_ = r * y_;
        z_ = r * z_;
    } else {
        x_ = 0.0;
        y_ = 0.0;
        z_ = 0.0;
    }
    status_ = VectorStatus::Unit;
    return *this;
}

Vector& Vector::markDefault() {
    if (status_ == VectorStatus::Unit) {
        status_ = VectorStatus::Default;
    }
    return *this;
}

Vector unit(const Vector& v) {
    Vector copy = v;
    return copy.normalize();
}

Vector& unit(const Vector& src, Vector& dst) {
    dst = src;
    return dst.normalize();
}

// The destination forms read each operand component just before writing the same
// component, so dst may alias an operand (except in cross).

Vector& add(const Vector& a, const Vector& b, Vector& dst) {
    if (!a.isValid() || !b.isValid()) {
        dst.makeInvalid();
        return dst;
    }
    dst.x_ = a.x_ + b.x_;
    dst.y_ = a.y_ + b.y_;
    dst.z_ = a.z_ + b.z_;
    dst.status_ = VectorStatus::Default;
    return dst;
}

Vector& subtract(const Vector& a, const Vector& b, Vector& dst) {
    if (!a.isValid() || !b.isValid()) {
        dst.makeInvalid();
        return dst;
    }
    dst.x_ = a.x_ - b.x_;
    dst.y_ = a.y_ - b.y_;
    dst.z_ = a.z_ - b.z_;
    dst.status_ = VectorStatus::Default;
    return dst;
}

Vector& negate(const Vector& src, Vector& dst) {
    if (!src.isValid()) {
        dst.makeInvalid();
        return dst;
    }
    dst.x_ = -src.x_;
    dst.y_ = -src.y_;
    dst.z_ = -src.z_;
    dst.status_ = src.status_;
    return dst;
}

Vector& scale(const Vector& src, double s, Vector& dst) {
    if (!src.isValid()) {
        dst.makeInvalid();
        return dst;
    }
    dst.x_ = src.x_ * s;
    dst.y_ = src.y_ * s;
    dst.z_ = src.z_ * s;
    dst.status_ = VectorStatus::Default;
    return dst;
}

Vector& cross(const Vector& a, const Vector& b, Vector& dst) {
    if (!a.isValid() || !b.isValid()) {
        dst.makeInvalid();
        return dst;
    }
    dst.x_ = a.y_ * b.z_ - a.z_ * b.y_;
    dst.y_ = a.z_ * b.x_ - a.x_ * b.z_;
    dst.z_ = a.x_ * b.y_ - a.y_ * b.x_;
    dst.status_ = VectorStatus::Default;
    return dst;
}

Vector Vector::operator+(const Vector& other) const {
    Vector result;
    return add(*this, other, result);
}

Vector Vector::operator-(const Vector& other) const {
    Vector result;
    return subtract(*this, other, result);
}

Vector Vector::operator-() const {
    Vector result;
    return negate(*this, result);
}

Vector Vector::operator*(double s) const {
    Vector result;
    return scale(*this, s, result);
}

Vector& Vector::operator+=(const Vector& other) {
    return add(*this, other, *this);
}
