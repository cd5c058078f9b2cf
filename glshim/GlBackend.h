#pragma once

#include <GL/gl.h>

#include <cstddef>

// One vertex as the shim hands it on, interleaved the way the emulation's client arrays take it
// without copying.
struct BatchVertex {
    GLfloat x, y, z;
    GLfloat r, g, b, a;
    GLfloat s, t;
};

// What the shim's state machine asks of the GL beneath it: the page's legacy-GL emulation, or a
// recorder in the tests.
class GlBackend {
  public:
    virtual ~GlBackend() = default;
    // The modelview matrix in force, column-major.
    virtual void readModelView(GLfloat matrix[16]) = 0;
    // One indexed draw; the primitive is GL_TRIANGLES, GL_LINES or GL_POINTS.
    virtual void draw(GLenum primitive, const BatchVertex* vertices, std::size_t vertexCount,
                      const GLushort* indices, std::size_t indexCount) = 0;
};
