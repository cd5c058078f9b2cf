#pragma once

#include <iosfwd>

#include "geom/Vector.h"

// A point and a unit direction; every operation treats it as the whole line through the point.
class Ray {
  public:
    // Not valid: both vectors Invalid.
    Ray() = default;
    // A Unit second vector is taken as the direction; any other is a second point on the line,
    // and the direction is unit(second - point).
    Ray(const Vector& origin, const Vector& second);

    // The direction is Unit (possibly the zero vector flagged Unit) and the point is valid.
    bool isValid() const { return direction.isUnit() && point.isValid(); }
    Vector getPoint() const { return point; }
    Vector getDirection() const { return direction; }

    // Closest points of the two lines; 0 (destinations untouched) when either ray is not valid.
    int closestPoints(const Ray& other, Vector& onThis, Vector& onOther) const;
    // Distance between the two lines; 0 when either ray is not valid.
    double distanceToRay(const Ray& other) const;
    // Distance from q to the line; 0 when the ray is not valid or q is Invalid.
    double distanceToPoint(const Vector& q) const;

    // Text forms: "(P=<point>,V=<direction>)" or "Invalid".
    std::ostream& print(std::ostream& out) const;
    std::istream& read(std::istream& in);

    // Plain fields, so a record can hold an axis whose direction is not flagged Unit; such a
    // ray is simply not valid for the operations above.
    Vector point;
    Vector direction;
};
