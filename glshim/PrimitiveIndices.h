#pragma once

// A glBegin/glEnd group as a plain indexed draw takes it: WebGL has no quads, quad strips or
// polygons, and groups of different modes can share one draw only as the same primitive.

#include <GL/gl.h>

#include <cstddef>
#include <vector>

// GL_TRIANGLES, GL_LINES or GL_POINTS: what a group of the mode becomes.
GLenum indexedPrimitive(GLenum mode);

// Appends the indices of a group of `count` vertices, the first at index `first`, split the way
// GL 1.1 splits the mode, every triangle with the winding GL gives it. An incomplete last
// primitive adds nothing, as in GL, and so does a mode GL does not know.
void appendPrimitiveIndices(GLenum mode, std::size_t first, std::size_t count, std::vector<GLushort>& out);
