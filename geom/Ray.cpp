#include "geom/Ray.h"

#include <cmath>

namespace {
// Below this |1 - c^2| the two lines are treated as parallel.
constexpr double parallelThreshold = 1e-8;
}  // namespace

Ray::Ray(const Vector& origin, const Vector& second) : point(origin) {
    if (second.isUnit()) {
        direction = second;
    } else {
        unit(second - origin, direction);
    }
}

int Ray::closestPoints(const Ray& other, Vector& onThis, Vector& onOther) const {
    if (!isValid() || !other.isValid()) {
        return 0;
    }
    const Vector& p1 = point;
    const Vector& d1 = direction;
    const Vector& p2 = other.point;
    const Vector& d2 = other.direction;

    const double c = dot(d1, d2);
    const double den = 1.0 - c * c;
    if (std::fabs(den) >= parallelThreshold) {
        const double e1 = dot(d1, p2 - p1);
        const double e2 = dot(d2, p1 - p2);
        const double t2 = (c * e1 + e2) / den;
        const double t1 = (c * e2 + e1) / den;
        onThis = p1 + d1 * t1;
        onOther = p2 + d2 * t2;
    } else {
        // Parallel (or den is NaN): the foot of p1 on the other line.
        const double t = dot(d1, p1 - p2) / c;
        onThis = p1;
        onOther = p2 + d2 * t;
    }
    return 1;
}

double Ray::distanceToRay(const Ray& other) const {
    Vector onThis;
    Vector onOther;
    if (closestPoints(other, onThis, onOther) != 1) {
        return 0.0;
    }
    return onThis.distance(onOther);
}

double Ray::distanceToPoint(const Vector& q) const {
    if (!isValid() || !q.isValid()) {
        return 0.0;
    }
    const Vector v = q - point;
    const double t = dot(direction, v);
    const Vector foot = point + direction * t;
    return q.distance(foot);
}

Vector::Vector(const Ray& a, const Ray& b) {
    Vector onA;
    Vector onB;
    if (a.closestPoints(b, onA, onB) == 1) {
        *this = (onA + onB) * 0.5;
    }
}
