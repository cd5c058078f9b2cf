#pragma once

#include <iosfwd>

#include "geom/Matrix33.h"
#include "geom/Ray.h"
#include "geom/Vector.h"

// Stream forms of the geometry types; each forwards to the type's print or read.
std::ostream& operator<<(std::ostream& out, const Vector& v);
std::istream& operator>>(std::istream& in, Vector& v);
std::ostream& operator<<(std::ostream& out, const Ray& r);
std::istream& operator>>(std::istream& in, Ray& r);
std::ostream& operator<<(std::ostream& out, const Matrix33& mat);
std::istream& operator>>(std::istream& in, Matrix33& mat);
