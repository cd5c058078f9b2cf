// Groups split as the page draws them (indices into plain triangles, lines or points) against the
// desktop GL drawing the same groups itself: the same pixels, with back faces culled, so that a
// triangle turned round shows as well as one missing or one too many.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "RenderTest.h"
#include "glshim/PrimitiveIndices.h"

namespace {

constexpr int size = 64;
// Vertices before the group's first, where a wrong start would draw them.
constexpr std::size_t leading = 3;

struct Point {
    GLfloat x, y;
};

// Top and bottom points in turn, left to right, as strips take them; or a ring, anticlockwise, as
// fans, polygons, quads and loops take them; after the stray leading ones.
std::vector<Point> vertices(bool ring, int count) {
    std::vector<Point> out = {{-0.2f, -0.1f}, {0.3f, 0.0f}, {0.0f, 0.4f}};
    for (int i = 0; i < count; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / static_cast<float>(count);
        out.push_back(ring ? Point{0.9f * std::cos(angle), 0.9f * std::sin(angle)}
                           : Point{-0.9f + 0.4f * static_cast<float>(i / 2), i % 2 == 0 ? 0.8f : -0.8f});
    }
    return out;
}

std::vector<GLubyte> drawn() {
    std::vector<GLubyte> pixels(size * size * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glClear(GL_COLOR_BUFFER_BIT);
    return pixels;
}

TEST(PrimitiveIndicesTest, GroupsDrawWhatGlDrawsOfThemItself) {
    ASSERT_TRUE(openContext(size, size)) << SDL_GetError();
    glEnable(GL_CULL_FACE);
    glClear(GL_COLOR_BUFFER_BIT);
    const struct {
        const char* name;
        GLenum mode;
        bool ring;
        int count;
    } cases[] = {
        {"points", GL_POINTS, false, 5},
        {"lines, one vertex spare", GL_LINES, false, 5},
        {"line strip", GL_LINE_STRIP, false, 5},
        {"line loop", GL_LINE_LOOP, true, 5},
        {"triangles, two vertices spare", GL_TRIANGLES, true, 8},
        {"triangle strip, odd", GL_TRIANGLE_STRIP, false, 7},
        {"triangle strip, even", GL_TRIANGLE_STRIP, false, 8},
        {"triangle fan", GL_TRIANGLE_FAN, true, 7},
        {"polygon", GL_POLYGON, true, 7},
        {"quads, one vertex spare", GL_QUADS, true, 9},
        {"quad strip, one vertex spare", GL_QUAD_STRIP, false, 9},
    };
    for (const auto& c : cases) {
        const std::vector<Point> points = vertices(c.ring, c.count);
        glBegin(c.mode);
        for (std::size_t i = leading; i < points.size(); ++i) {
            glVertex2f(points[i].x, points[i].y);
        }
        glEnd();
        const std::vector<GLubyte> byGl = drawn();

        std::vector<GLushort> indices;
        appendPrimitiveIndices(c.mode, leading, static_cast<std::size_t>(c.count), indices);
        for (GLushort index : indices) {
            ASSERT_TRUE(index >= leading && index < points.size()) << c.name << ": index " << index;
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(Point), points.data());
        glDrawElements(indexedPrimitive(c.mode), static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                       indices.data());
        glDisableClientState(GL_VERTEX_ARRAY);
        const std::vector<GLubyte> byIndices = drawn();

        EXPECT_NE(byGl, std::vector<GLubyte>(byGl.size(), 0)) << c.name << ": GL drew nothing";
        EXPECT_EQ(byIndices, byGl) << c.name;
    }
    // A mode GL does not know draws nothing.
    std::vector<GLushort> indices;
    appendPrimitiveIndices(GL_TEXTURE_2D, 0, 9, indices);
    EXPECT_TRUE(indices.empty());
}

}  // namespace
