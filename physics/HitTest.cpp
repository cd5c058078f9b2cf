#include "physics/HitTest.h"

#include <cmath>

int hitPlane(const Plane& plane, const Vector& start, const Vector& direction, double& distance,
             Vector& normal) {
    const double denominator = dot(direction, plane.normal);
    if (denominator < 1e-8 && denominator > -1e-8) {
        return 0;  // parallel to the plane, or no direction at all
    }
    const double along = dot(plane.normal, plane.point - start) / denominator;
    if (along < -1e-8) {
        return 0;  // the plane lies behind the start
    }
    distance = along;
    normal = plane.normal;
    return 1;
}

int hitCylinder(const Cylinder& cylinder, const Vector& start, const Vector& direction, double& distance,
                Vector& normal, Vector& point) {
    const Vector axisPoint = cylinder.axis.getPoint();
    const Vector axisDirection = cylinder.axis.getDirection();
    const double radius = cylinder.radius;

    const Vector rc = start - axisPoint;
    Vector n;
    cross(direction, axisDirection, n);
    const double ln = n.length();
    if (ln < 1e-8 && ln > -1e-8) {
        return 0;  // parallel to the axis (even from inside), or no direction at all
    }
    n.normalize();

    const double d = std::fabs(dot(rc, n));  // closest distance of the path's line to the axis
    if (d > radius) {
        return 0;
    }

    Vector rcCrossAxis;
    cross(rc, axisDirection, rcCrossAxis);
    const double t = -dot(rcCrossAxis, n) / ln;  // along the path to its closest approach

    Vector o;
    cross(n, axisDirection, o);
    o.normalize();
    const double s = std::fabs(std::sqrt(radius * radius - d * d) / dot(direction, o));  // half chord

    const double nearDistance = t - s;
    const double farDistance = t + s;
    double along;
    if (nearDistance < -1e-8) {
        if (farDistance < -1e-8) {
            return 0;  // the cylinder lies behind the start
        }
        along = farDistance;  // inside: the path leaves through the far side
    } else if (farDistance < -1e-8) {
        along = nearDistance;
    } else {
        along = nearDistance < farDistance ? nearDistance : farDistance;
    }

    const Vector onPath = start + direction * along;
    const Vector fromAxis = onPath - axisPoint;
    Vector radial = fromAxis - axisDirection * dot(fromAxis, axisDirection);
    radial.normalize();

    distance = along;
    normal = radial;
    point = onPath;
    return 1;
}
