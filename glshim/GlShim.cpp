#define TORVEL_GL_SHIM_IMPLEMENTATION
#include "glshim/GlShim.h"

#include <set>
#include <vector>

#include "glshim/FixedFunction.h"

namespace {

// The emulation beneath: its client arrays and its matrix stack.
class EmulationBackend final : public GlBackend {
  public:
    void readModelView(GLfloat matrix[16]) override { glGetFloatv(GL_MODELVIEW_MATRIX, matrix); }

    void draw(GLenum primitive, const BatchVertex* vertices, std::size_t vertexCount, const GLushort* indices,
              std::size_t indexCount) override {
        const GLsizei stride = sizeof(BatchVertex);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, &vertices->x);
        glColorPointer(4, GL_FLOAT, stride, &vertices->r);
        glTexCoordPointer(2, GL_FLOAT, stride, &vertices->s);
        glDrawRangeElements(primitive, 0, static_cast<GLuint>(vertexCount - 1),
                            static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT, indices);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
};

EmulationBackend emulation;
FixedFunction shim(emulation);
// The textures made so far, which a new context does not have.
std::set<GLuint> textures;

}  // namespace

extern "C" {

void torvelGlBegin(GLenum mode) {
    shim.begin(mode);
}

void torvelGlEnd(void) {
    shim.end();
}

void torvelGlVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    shim.vertex(x, y, z);
}

void torvelGlNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    shim.normal(x, y, z);
}

void torvelGlTexCoord2f(GLfloat s, GLfloat t) {
    shim.texCoord(s, t);
}

void torvelGlColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    shim.colour(r, g, b, a);
}

void torvelGlColor3f(GLfloat r, GLfloat g, GLfloat b) {
    shim.colour(r, g, b, 1.0f);
}

// Lighting, colour material and texture generation are already in the batch's vertices; the
// rest changes how the emulation draws them.
void torvelGlEnable(GLenum cap) {
    if (!shim.setCapability(cap, true)) {
        shim.stateChange([cap] { glEnable(cap); });
    }
}

void torvelGlDisable(GLenum cap) {
    if (!shim.setCapability(cap, false)) {
        shim.stateChange([cap] { glDisable(cap); });
    }
}

void torvelGlLightfv(GLenum light, GLenum name, const GLfloat* values) {
    shim.light(light, name, values);
}

void torvelGlLightModelfv(GLenum name, const GLfloat* values) {
    shim.lightModel(name, values);
}

void torvelGlMaterialfv(GLenum /*face*/, GLenum name, const GLfloat* values) {
    shim.material(name, values);
}

void torvelGlColorMaterial(GLenum /*face*/, GLenum mode) {
    shim.colourMaterial(mode);
}

void torvelGlTexGeni(GLenum coord, GLenum name, GLint value) {
    shim.texGen(coord, name, value);
}

void torvelGlShadeModel(GLenum /*mode*/) {
    // WebGL interpolates colours always, which is GL_SMOOTH, the only model the scene uses.
}

void torvelGlHint(GLenum target, GLenum mode) {
    // WebGL interpolates perspective-correct always and refuses the enum.
    if (target != GL_PERSPECTIVE_CORRECTION_HINT) {
        shim.stateChange([=] { glHint(target, mode); });
    }
}

GLuint torvelGlGenLists(GLsizei range) {
    return shim.genLists(range);
}

void torvelGlNewList(GLuint list, GLenum mode) {
    shim.newList(list, mode);
}

void torvelGlEndList(void) {
    shim.endList();
}

void torvelGlCallList(GLuint list) {
    shim.callList(list);
}

void torvelGlDeleteLists(GLuint list, GLsizei range) {
    shim.deleteLists(list, range);
}

void torvelGlGenTextures(GLsizei count, GLuint* names) {
    shim.stateChange([=] { glGenTextures(count, names); });
    textures.insert(names, names + count);
}

void torvelGlDeleteTextures(GLsizei count, const GLuint* names) {
    for (GLsizei i = 0; i < count; ++i) {
        textures.erase(names[i]);
    }
    shim.stateChange([=] { glDeleteTextures(count, names); });
}

void torvelGlTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                        GLint border, GLenum format, GLenum type, const void* pixels) {
    // GL 1.1 takes a component count; WebGL wants the format's name (a count gives black).
    static const GLint named[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    if (internalFormat >= 1 && internalFormat <= 4) {
        internalFormat = named[internalFormat - 1];
    }
    shim.stateChange(
        [=] { glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels); });
}

#define TORVEL_GL_DEFINE_BARRIER(type, name, parameters, arguments)  \
    type torvelGl##name parameters {                                 \
        return shim.stateChange([&] { return gl##name arguments; }); \
    }
TORVEL_GL_BATCH_BARRIERS(TORVEL_GL_DEFINE_BARRIER)
#undef TORVEL_GL_DEFINE_BARRIER

void torvelGlReset(void) {
    // What was batched went with the old context.
    shim.reset();
    const std::vector<GLuint> names(textures.begin(), textures.end());
    if (!names.empty()) {
        glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    }
    textures.clear();

    static const GLenum capabilities[] = {GL_BLEND,     GL_DEPTH_TEST, GL_STENCIL_TEST,
                                          GL_CULL_FACE, GL_TEXTURE_2D, GL_CLIP_PLANE0};
    for (GLenum cap : capabilities) {
        glDisable(cap);
    }
    glBlendFunc(GL_ONE, GL_ZERO);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    static const GLenum matrixModes[] = {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW};
    for (GLenum mode : matrixModes) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
}

}  // extern "C"
