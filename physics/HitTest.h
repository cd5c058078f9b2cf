#pragma once

#include "geom/Vector.h"
#include "physics/World.h"

// Hit tests of a ball centre's path (start plus a unit direction, a half-line) against one
// obstacle. They return 1 and write the outputs when the path meets the obstacle no more than
// 1e-8 behind the start; otherwise they return 0 and write nothing. A zero direction never hits.

// distance: along the path to the plane; normal: the plane's normal as stored.
int hitPlane(const Plane& plane, const Vector& start, const Vector& direction, double& distance,
             Vector& normal);

// distance: along the path to the surface (the exit when the start lies inside);
// normal: outward radial direction there; point: the path's point at that distance.
int hitCylinder(const Cylinder& cylinder, const Vector& start, const Vector& direction, double& distance,
                Vector& normal, Vector& point);
