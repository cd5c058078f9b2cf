#include "glshim/PrimitiveIndices.h"

GLenum indexedPrimitive(GLenum mode) {
    switch (mode) {
        case GL_POINTS:
            return GL_POINTS;
        case GL_LINES:
        case GL_LINE_STRIP:
        case GL_LINE_LOOP:
            return GL_LINES;
        default:
            return GL_TRIANGLES;
    }
}

void appendPrimitiveIndices(GLenum mode, std::size_t first, std::size_t count, std::vector<GLushort>& out) {
    const std::size_t n = count;
    const auto point = [&](std::size_t a) { out.push_back(static_cast<GLushort>(first + a)); };
    const auto line = [&](std::size_t a, std::size_t b) {
        point(a);
        point(b);
    };
    const auto triangle = [&](std::size_t a, std::size_t b, std::size_t c) {
        point(a);
        point(b);
        point(c);
    };
    switch (mode) {
        case GL_POINTS:
            for (std::size_t i = 0; i < n; ++i) {
                point(i);
            }
            break;
        case GL_LINES:
            for (std::size_t i = 0; i + 1 < n; i += 2) {
                line(i, i + 1);
            }
            break;
        case GL_LINE_STRIP:
        case GL_LINE_LOOP:
            for (std::size_t i = 0; i + 1 < n; ++i) {
                line(i, i + 1);
            }
            if (mode == GL_LINE_LOOP && n > 2) {
                line(n - 1, 0);
            }
            break;
        case GL_TRIANGLES:
            for (std::size_t i = 0; i + 2 < n; i += 3) {
                triangle(i, i + 1, i + 2);
            }
            break;
        case GL_TRIANGLE_STRIP:
            // Every other triangle turned round, so that all keep the first one's winding.
            for (std::size_t i = 0; i + 2 < n; ++i) {
                if (i % 2 == 0) {
                    triangle(i, i + 1, i + 2);
                } else {
                    triangle(i + 1, i, i + 2);
                }
            }
            break;
        case GL_TRIANGLE_FAN:
        case GL_POLYGON:
            for (std::size_t i = 1; i + 1 < n; ++i) {
                triangle(0, i, i + 1);
            }
            break;
        case GL_QUADS:
            for (std::size_t i = 0; i + 3 < n; i += 4) {
                triangle(i, i + 1, i + 2);
                triangle(i, i + 2, i + 3);
            }
            break;
        case GL_QUAD_STRIP:
            // Split along the diagonal a triangle strip of the same vertices has.
            for (std::size_t i = 0; i + 3 < n; i += 2) {
                triangle(i, i + 1, i + 2);
                triangle(i + 2, i + 1, i + 3);
            }
            break;
        default:
            break;
    }
}
