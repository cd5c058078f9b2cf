#pragma once

// The state machine of the GL 1.1 calls the page's GL lacks: the current normal, colour and
// texture coordinates, lighting with colour material, sphere-map texture generation and display
// lists. Every vertex leaves it lit and with its texture coordinates, in a batch: consecutive
// glBegin/glEnd groups go to the backend as one indexed draw, since each draw costs far more on a
// page than the vertices themselves. A call that changes any other GL state goes through
// stateChange, which draws the batch first, so state changes keep their order with the vertices.

#include <GL/gl.h>

#include <cstddef>
#include <map>
#include <vector>

#include "geom/Matrix33.h"
#include "geom/Vector.h"
#include "glshim/GlBackend.h"
#include "glshim/VertexShading.h"

class FixedFunction {
  public:
    explicit FixedFunction(GlBackend& backend) : backend_(&backend) {}

    void begin(GLenum mode);
    void end();
    void vertex(GLfloat x, GLfloat y, GLfloat z);
    void normal(GLfloat x, GLfloat y, GLfloat z);
    void texCoord(GLfloat s, GLfloat t);
    void colour(GLfloat r, GLfloat g, GLfloat b, GLfloat a);

    // 1 when the capability is one this keeps (lighting, the lights, colour material, texture
    // generation, GL_NORMALIZE); 0 leaves it to the GL beneath.
    int setCapability(GLenum cap, bool on);
    void light(GLenum light, GLenum name, const GLfloat* values);
    void lightModel(GLenum name, const GLfloat* values);
    void material(GLenum name, const GLfloat* values);
    void colourMaterial(GLenum mode);
    void texGen(GLenum coord, GLenum name, GLint value);

    GLuint genLists(GLsizei range);
    void newList(GLuint list, GLenum mode);
    void endList();
    void callList(GLuint list);
    void deleteLists(GLuint list, GLsizei range);

    // Draws the batch, then makes `call`, which may change any GL state, the modelview included.
    template <class Call>
    auto stateChange(Call call) {
        drawBatch();
        modelViewKnown_ = false;
        return call();
    }

    // A new context's state: nothing batched, no lists, GL's initial values.
    void reset() { *this = FixedFunction(*backend_); }

  private:
    // One recorded call of a display list.
    struct ListCall {
        enum Kind { Begin, End, Vertex, Normal, TexCoord, Colour } kind;
        GLenum mode;
        GLfloat a, b, c, d;
    };

    int recorded(const ListCall& call);
    void applyColourMaterial();
    void drawBatch();
    void knowModelView();

    GlBackend* backend_;

    Rgba colour_{{1.0f, 1.0f, 1.0f, 1.0f}};
    Vector normal_{0.0, 0.0, 1.0};
    GLfloat texCoord_[2] = {0.0f, 0.0f};

    bool lightingOn_ = false;
    bool colourMaterial_ = false;
    GLenum colourMaterialMode_ = GL_AMBIENT_AND_DIFFUSE;
    bool texGen_[2] = {false, false};  // s, t
    GLint texGenMode_[2] = {GL_EYE_LINEAR, GL_EYE_LINEAR};
    Lighting lighting_;

    // The modelview as an affine map (every matrix the scene and GLU load is one), and the matrix
    // for normals: read again only after a state change, not at every glBegin.
    bool modelViewKnown_ = false;
    Matrix33 linear_;
    Vector translation_{0.0, 0.0, 0.0};
    Matrix33 normalMatrix_;

    std::map<GLuint, std::vector<ListCall>> lists_;
    GLuint nextList_ = 1;
    GLuint recording_ = 0;  // the list being recorded, 0 for none
    bool executeWhileRecording_ = false;

    // The groups since the last draw, as indices into their vertices.
    bool inside_ = false;
    std::vector<BatchVertex> vertices_;
    std::vector<GLushort> indices_;
    GLenum primitive_ = GL_TRIANGLES;
    std::size_t groupStart_ = 0;
    GLenum groupMode_ = GL_TRIANGLES;
};
