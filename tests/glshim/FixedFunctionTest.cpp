// The shim's state machine against a recording backend: what reaches the GL beneath, in order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "glshim/FixedFunction.h"

namespace {

// Logs "read" for each modelview read and "TRIANGLES v/i" (vertices, indices) for each draw, and
// keeps the drawn vertices in index order.
class Recorder final : public GlBackend {
  public:
    void readModelView(GLfloat matrix[16]) override {
        log += "read ";
        for (int k = 0; k < 16; ++k) {
            matrix[k] = k % 5 == 0 ? 1.0f : 0.0f;
        }
    }
    void draw(GLenum primitive, const BatchVertex* vertices, std::size_t vertexCount, const GLushort* indices,
              std::size_t indexCount) override {
        log += std::string(primitive == GL_TRIANGLES ? "TRIANGLES "
                           : primitive == GL_LINES   ? "LINES "
                                                     : "POINTS ") +
               std::to_string(vertexCount) + "/" + std::to_string(indexCount) + " ";
        for (std::size_t i = 0; i < indexCount; ++i) {
            drawn.push_back(vertices[indices[i]]);
        }
    }
    std::string log;
    std::vector<BatchVertex> drawn;
};

void group(FixedFunction& f, GLenum mode, int count) {
    f.begin(mode);
    for (int i = 0; i < count; ++i) {
        f.colour(0.1f * static_cast<GLfloat>(i), 0.5f, 0.25f, 1.0f);
        f.texCoord(static_cast<GLfloat>(i), 2.0f);
        f.vertex(static_cast<GLfloat>(i), 1.0f, 0.0f);
    }
    f.end();
}

// Runs a script: T3 (GL_TRIANGLES), Q4 (GL_QUAD_STRIP), L3 (GL_LINE_LOOP), P2 (GL_POINTS), a group
// of that many vertices; v, a vertex outside any group; lighting and blend, enabled as the page
// enables them (a capability the shim does not keep is a state change); S, a state change;
// compile1 and execute1 (GL_COMPILE_AND_EXECUTE) record list 1 up to end; call1, delete1; gen,
// three new lists (logged); reset.
void run(FixedFunction& f, Recorder& r, const std::string& script) {
    std::istringstream in(script);
    for (std::string step; in >> step;) {
        const auto number = [&](std::size_t from) {
            return static_cast<GLuint>(std::stoul(step.substr(from)));
        };
        const std::string modes = "TQLP";
        const GLenum mode[] = {GL_TRIANGLES, GL_QUAD_STRIP, GL_LINE_LOOP, GL_POINTS};
        if (step.size() == 2 && modes.find(step[0]) != std::string::npos) {
            group(f, mode[modes.find(step[0])], static_cast<int>(number(1)));
        } else if (step == "v") {
            f.vertex(1.0f, 2.0f, 3.0f);
        } else if (step == "lighting" || step == "blend") {
            if (!f.setCapability(step == "blend" ? GL_BLEND : GL_LIGHTING, true)) {
                f.stateChange([&] { r.log += step + " "; });
            }
        } else if (step == "S") {
            f.stateChange([&] { r.log += "S "; });
        } else if (step.rfind("compile", 0) == 0 || step.rfind("execute", 0) == 0) {
            f.newList(number(7), step[0] == 'c' ? GL_COMPILE : GL_COMPILE_AND_EXECUTE);
        } else if (step == "end") {
            f.endList();
        } else if (step.rfind("call", 0) == 0) {
            f.callList(number(4));
        } else if (step.rfind("delete", 0) == 0) {
            f.deleteLists(number(6), 1);
        } else if (step == "gen") {
            r.log += "lists " + std::to_string(f.genLists(3)) + " ";
        } else if (step == "reset") {
            f.reset();
        } else {
            FAIL() << "no step " << step;
        }
    }
}

TEST(FixedFunctionTest, DrawsTheBatchBeforeAStateChange) {
    const struct {
        const char* name;
        const char* script;
        const char* log;
    } cases[] = {
        {"groups of one primitive wait for a state change", "T3 Q4 S", "read TRIANGLES 7/9 S "},
        {"a group of another primitive draws the batch first", "T3 L3 P2 S",
         "read TRIANGLES 3/3 LINES 3/6 POINTS 2/2 S "},
        {"a capability the shim keeps draws nothing", "T3 lighting T3 blend T3 S",
         "read TRIANGLES 6/6 blend read TRIANGLES 3/3 S "},
        {"the modelview is read again after a state change only", "T3 T3 S T3 S",
         "read TRIANGLES 6/6 S read TRIANGLES 3/3 S "},
        {"a vertex outside a group is dropped", "T3 v T3 S", "read TRIANGLES 6/6 S "},
        {"an empty batch draws nothing", "S v S", "S S "},
        {"a compiled list draws only when called, each time", "compile1 T3 end S call1 call1 S",
         "S read TRIANGLES 6/6 S "},
        {"a list compiled and executed draws while recording too", "execute1 T3 end call1 S",
         "read TRIANGLES 6/6 S "},
        {"a list recorded again holds only the new calls", "compile1 T3 end compile1 L3 end call1 S",
         "read LINES 3/6 S "},
        {"deleted and unknown lists draw nothing",
         "gen compile1 T3 end compile2 P2 end delete1 call1 call7 call2 S", "lists 1 read POINTS 2/2 S "},
        {"a reset forgets the batch and the lists, and numbers lists anew",
         "gen compile1 T3 end T3 reset call1 S gen", "lists 1 read S lists 1 "},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        FixedFunction shim(recorder);
        run(shim, recorder, c.script);
        EXPECT_EQ(recorder.log, c.log) << c.name;
    }
}

}  // namespace
