// Groups split as the page draws them: indices into plain triangles, lines or points, in the order
// and with the winding GL 1.1 gives them (recorded from a build whose lists drew, with back faces
// culled, the same pixels as the desktop GL drawing the groups itself). Each group starts at
// index 3, so that a wrong start shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glshim/PrimitiveIndices.h"

namespace {

TEST(PrimitiveIndicesTest, GroupsSplitAsGlSplitsThem) {
    const struct {
        const char* name;
        GLenum mode, primitive;
        std::size_t count;
        const char* indices;
    } cases[] = {
        {"points", GL_POINTS, GL_POINTS, 5, "3 4 5 6 7"},
        {"lines, one vertex spare", GL_LINES, GL_LINES, 5, "3 4 5 6"},
        {"line strip", GL_LINE_STRIP, GL_LINES, 5, "3 4 4 5 5 6 6 7"},
        {"line loop", GL_LINE_LOOP, GL_LINES, 5, "3 4 4 5 5 6 6 7 7 3"},
        {"triangles, two vertices spare", GL_TRIANGLES, GL_TRIANGLES, 8, "3 4 5 6 7 8"},
        {"triangle strip, odd", GL_TRIANGLE_STRIP, GL_TRIANGLES, 7, "3 4 5 5 4 6 5 6 7 7 6 8 7 8 9"},
        {"triangle strip, even", GL_TRIANGLE_STRIP, GL_TRIANGLES, 8, "3 4 5 5 4 6 5 6 7 7 6 8 7 8 9 9 8 10"},
        {"triangle fan", GL_TRIANGLE_FAN, GL_TRIANGLES, 7, "3 4 5 3 5 6 3 6 7 3 7 8 3 8 9"},
        {"polygon", GL_POLYGON, GL_TRIANGLES, 7, "3 4 5 3 5 6 3 6 7 3 7 8 3 8 9"},
        {"quads, one vertex spare", GL_QUADS, GL_TRIANGLES, 9, "3 4 5 3 5 6 7 8 9 7 9 10"},
        {"quad strip, one vertex spare", GL_QUAD_STRIP, GL_TRIANGLES, 9,
         "3 4 5 5 4 6 5 6 7 7 6 8 7 8 9 9 8 10"},
        {"a mode GL does not know draws nothing", GL_TEXTURE_2D, GL_TRIANGLES, 9, ""},
    };
    for (const auto& c : cases) {
        std::vector<GLushort> indices;
        appendPrimitiveIndices(c.mode, 3, c.count, indices);
        std::string got;
        for (const GLushort index : indices) {
            got += (got.empty() ? "" : " ") + std::to_string(index);
        }
        EXPECT_EQ(got, c.indices) << c.name;
        EXPECT_EQ(indexedPrimitive(c.mode), c.primitive) << c.name;
    }
}

}  // namespace
