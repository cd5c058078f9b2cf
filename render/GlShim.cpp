#define TORVEL_GL_SHIM_IMPLEMENTATION
#include "render/GlShim.h"

#include <cmath>
#include <cstddef>
#include <map>
#include <set>
#include <vector>

#include "render/PrimitiveIndices.h"

namespace {

struct Rgba {
    GLfloat v[4];
};

struct Light {
    Rgba ambient{{0.0f, 0.0f, 0.0f, 1.0f}};
    Rgba diffuse{{1.0f, 1.0f, 1.0f, 1.0f}};
    Rgba specular{{1.0f, 1.0f, 1.0f, 1.0f}};
    GLfloat eyePosition[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    bool enabled = false;
};

// One recorded call of a display list.
struct ListCall {
    enum Kind { Begin, End, Vertex, Normal, TexCoord, Colour } kind;
    GLenum mode;
    GLfloat a, b, c, d;
};

struct ShimState {
    Rgba colour{{1.0f, 1.0f, 1.0f, 1.0f}};
    GLfloat normal[3] = {0.0f, 0.0f, 1.0f};
    GLfloat texCoord[2] = {0.0f, 0.0f};

    bool lighting = false;
    bool colourMaterial = false;
    GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    bool texGenS = false;
    bool texGenT = false;
    GLint texGenModeS = GL_EYE_LINEAR;
    GLint texGenModeT = GL_EYE_LINEAR;

    Rgba materialAmbient{{0.2f, 0.2f, 0.2f, 1.0f}};
    Rgba materialDiffuse{{0.8f, 0.8f, 0.8f, 1.0f}};
    Rgba materialSpecular{{0.0f, 0.0f, 0.0f, 1.0f}};
    Rgba materialEmission{{0.0f, 0.0f, 0.0f, 1.0f}};
    GLfloat shininess = 0.0f;
    Rgba sceneAmbient{{0.2f, 0.2f, 0.2f, 1.0f}};
    Light lights[8];

    // The modelview matrix and the one for normals, read again only after a call that may have
    // changed them (every batch barrier), not at every glBegin.
    bool inside = false;
    bool modelViewKnown = false;
    GLfloat modelView[16] = {};
    GLfloat normalMatrix[9] = {};
};

// What the emulation draws from: one interleaved vertex, the layout it takes without copying.
struct BatchVertex {
    GLfloat x, y, z;
    GLfloat r, g, b, a;
    GLfloat s, t;
};

// Groups since the last barrier, as indices into their vertices: triangles, lines or points.
struct Batch {
    std::vector<BatchVertex> vertices;
    std::vector<GLushort> indices;
    GLenum primitive = GL_TRIANGLES;
    std::size_t groupStart = 0;  // the open group's first vertex
    GLenum groupMode = GL_TRIANGLES;
};

// The emulation's vertex upload holds 2 MiB (about 58 000 of these vertices) and indices are
// 16 bits: a batch starts anew above the first figure, a group stops taking vertices at the second.
constexpr std::size_t batchFlushVertices = 16384;
constexpr std::size_t batchMaxVertices = 49152;

ShimState state;
std::map<GLuint, std::vector<ListCall>> lists;
GLuint nextList = 1;
GLuint recording = 0;  // the list being recorded, 0 for none
bool executeWhileRecording = false;
std::set<GLuint> textures;
Batch batch;

bool recordCall(const ListCall& call) {
    if (recording == 0) {
        return false;
    }
    lists[recording].push_back(call);
    return !executeWhileRecording;
}

void applyColourMaterial() {
    if (!state.colourMaterial) {
        return;
    }
    switch (state.colourMaterialMode) {
        case GL_AMBIENT:
            state.materialAmbient = state.colour;
            break;
        case GL_DIFFUSE:
            state.materialDiffuse = state.colour;
            break;
        case GL_SPECULAR:
            state.materialSpecular = state.colour;
            break;
        case GL_EMISSION:
            state.materialEmission = state.colour;
            break;
        default:
            state.materialAmbient = state.colour;
            state.materialDiffuse = state.colour;
            break;
    }
}

void currentModelView(GLfloat m[16]) {
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
}

// Draws the batch: one call of the emulation for all its groups.
void drawBatch() {
    if (!batch.indices.empty()) {
        const BatchVertex* v = batch.vertices.data();
        const GLsizei stride = sizeof(BatchVertex);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, &v->x);
        glColorPointer(4, GL_FLOAT, stride, &v->r);
        glTexCoordPointer(2, GL_FLOAT, stride, &v->s);
        glDrawRangeElements(batch.primitive, 0, static_cast<GLuint>(batch.vertices.size() - 1),
                            static_cast<GLsizei>(batch.indices.size()), GL_UNSIGNED_SHORT,
                            batch.indices.data());
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    batch.vertices.clear();
    batch.indices.clear();
    batch.groupStart = 0;
}

// Normals go through the inverse transpose of the modelview's upper 3 x 3 (column-major in,
// row-major out: row i of the result is column i of the inverse).
void invertTransposed(const GLfloat m[16], GLfloat out[9]) {
    const double a = m[0], b = m[4], c = m[8];
    const double d = m[1], e = m[5], f = m[9];
    const double g = m[2], h = m[6], i = m[10];
    const double c00 = e * i - f * h, c01 = f * g - d * i, c02 = d * h - e * g;
    const double det = a * c00 + b * c01 + c * c02;
    const double r = det != 0.0 ? 1.0 / det : 0.0;
    // (M^-1)^T = cofactor matrix / det.
    const double t[9] = {c00,           c01,           c02,           c * h - b * i, a * i - c * g,
                         b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
    for (int k = 0; k < 9; ++k) {
        out[k] = static_cast<GLfloat>(t[k] * r);
    }
}

void normalise(GLfloat v[3]) {
    const GLfloat length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

GLfloat clamp01(GLfloat x) {
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}

// The GL 1.1 lighting equation for one vertex: no attenuation, no spot lights, a viewer at
// infinity, one-sided.
Rgba lightVertex(const GLfloat eye[3], const GLfloat n[3]) {
    GLfloat sum[3];
    for (int k = 0; k < 3; ++k) {
        sum[k] = state.materialEmission.v[k] + state.sceneAmbient.v[k] * state.materialAmbient.v[k];
    }
    for (const Light& light : state.lights) {
        if (!light.enabled) {
            continue;
        }
        GLfloat toLight[3];
        for (int k = 0; k < 3; ++k) {
            toLight[k] = light.eyePosition[3] != 0.0f ? light.eyePosition[k] / light.eyePosition[3] - eye[k]
                                                      : light.eyePosition[k];
        }
        normalise(toLight);
        const GLfloat diffuse = n[0] * toLight[0] + n[1] * toLight[1] + n[2] * toLight[2];
        GLfloat specular = 0.0f;
        if (diffuse > 0.0f) {
            GLfloat half[3] = {toLight[0], toLight[1], toLight[2] + 1.0f};
            normalise(half);
            const GLfloat facing = n[0] * half[0] + n[1] * half[1] + n[2] * half[2];
            specular = facing > 0.0f ? std::pow(facing, state.shininess) : 0.0f;
        }
        for (int k = 0; k < 3; ++k) {
            sum[k] += light.ambient.v[k] * state.materialAmbient.v[k];
            if (diffuse > 0.0f) {
                sum[k] += diffuse * light.diffuse.v[k] * state.materialDiffuse.v[k];
                sum[k] += specular * light.specular.v[k] * state.materialSpecular.v[k];
            }
        }
    }
    return Rgba{{clamp01(sum[0]), clamp01(sum[1]), clamp01(sum[2]), clamp01(state.materialDiffuse.v[3])}};
}

void emitVertex(GLfloat x, GLfloat y, GLfloat z) {
    const GLfloat* m = state.modelView;
    const GLfloat eye[3] = {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                            m[2] * x + m[6] * y + m[10] * z + m[14]};
    const GLfloat* t = state.normalMatrix;
    const GLfloat* nIn = state.normal;
    const GLfloat n[3] = {t[0] * nIn[0] + t[1] * nIn[1] + t[2] * nIn[2],
                          t[3] * nIn[0] + t[4] * nIn[1] + t[5] * nIn[2],
                          t[6] * nIn[0] + t[7] * nIn[1] + t[8] * nIn[2]};

    const Rgba colour = state.lighting ? lightVertex(eye, n) : state.colour;
    GLfloat s = state.texCoord[0];
    GLfloat tc = state.texCoord[1];
    if ((state.texGenS && state.texGenModeS == GL_SPHERE_MAP) ||
        (state.texGenT && state.texGenModeT == GL_SPHERE_MAP)) {
        GLfloat u[3] = {eye[0], eye[1], eye[2]};
        normalise(u);
        const GLfloat nu = n[0] * u[0] + n[1] * u[1] + n[2] * u[2];
        const GLfloat r[3] = {u[0] - 2.0f * n[0] * nu, u[1] - 2.0f * n[1] * nu, u[2] - 2.0f * n[2] * nu};
        const GLfloat twiceM = 2.0f * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1.0f) * (r[2] + 1.0f));
        if (state.texGenS && twiceM > 0.0f) {
            s = r[0] / twiceM + 0.5f;
        }
        if (state.texGenT && twiceM > 0.0f) {
            tc = r[1] / twiceM + 0.5f;
        }
    }
    if (batch.vertices.size() < batchMaxVertices) {
        batch.vertices.push_back({x, y, z, colour.v[0], colour.v[1], colour.v[2], colour.v[3], s, tc});
    }
}

void copyRgba(Rgba& to, const GLfloat* values) {
    for (int k = 0; k < 4; ++k) {
        to.v[k] = values[k];
    }
}

}  // namespace

extern "C" {

void torvelGlBegin(GLenum mode) {
    if (recordCall({ListCall::Begin, mode, 0, 0, 0, 0})) {
        return;
    }
    if (!state.modelViewKnown) {
        currentModelView(state.modelView);
        invertTransposed(state.modelView, state.normalMatrix);
        state.modelViewKnown = true;
    }
    if (indexedPrimitive(mode) != batch.primitive || batch.vertices.size() >= batchFlushVertices) {
        drawBatch();
    }
    batch.primitive = indexedPrimitive(mode);
    batch.groupStart = batch.vertices.size();
    batch.groupMode = mode;
    state.inside = true;
}

void torvelGlEnd(void) {
    if (recordCall({ListCall::End, 0, 0, 0, 0, 0})) {
        return;
    }
    if (state.inside) {
        appendPrimitiveIndices(batch.groupMode, batch.groupStart, batch.vertices.size() - batch.groupStart,
                               batch.indices);
    }
    state.inside = false;
}

void torvelGlVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (recordCall({ListCall::Vertex, 0, x, y, z, 0})) {
        return;
    }
    if (state.inside) {
        emitVertex(x, y, z);
    }
}

void torvelGlNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (recordCall({ListCall::Normal, 0, x, y, z, 0})) {
        return;
    }
    state.normal[0] = x;
    state.normal[1] = y;
    state.normal[2] = z;
}

void torvelGlTexCoord2f(GLfloat s, GLfloat t) {
    if (recordCall({ListCall::TexCoord, 0, s, t, 0, 0})) {
        return;
    }
    state.texCoord[0] = s;
    state.texCoord[1] = t;
}

void torvelGlColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (recordCall({ListCall::Colour, 0, r, g, b, a})) {
        return;
    }
    state.colour = Rgba{{r, g, b, a}};
    applyColourMaterial();
}

void torvelGlColor3f(GLfloat r, GLfloat g, GLfloat b) {
    torvelGlColor4f(r, g, b, 1.0f);
}

namespace {

// 1 when the shim keeps the capability itself.
bool setCapability(GLenum cap, bool on) {
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + 8) {
        state.lights[cap - GL_LIGHT0].enabled = on;
        return true;
    }
    switch (cap) {
        case GL_LIGHTING:
            state.lighting = on;
            return true;
        case GL_COLOR_MATERIAL:
            state.colourMaterial = on;
            applyColourMaterial();
            return true;
        case GL_TEXTURE_GEN_S:
            state.texGenS = on;
            return true;
        case GL_TEXTURE_GEN_T:
            state.texGenT = on;
            return true;
        case GL_NORMALIZE:
            return true;
        default:
            return false;
    }
}

}  // namespace

// Lighting, colour material and texture generation are already in the batch's vertices; the
// rest changes how the emulation draws them.
void torvelGlEnable(GLenum cap) {
    if (!setCapability(cap, true)) {
        drawBatch();
        glEnable(cap);
    }
}

void torvelGlDisable(GLenum cap) {
    if (!setCapability(cap, false)) {
        drawBatch();
        glDisable(cap);
    }
}

void torvelGlLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + 8) {
        return;
    }
    Light& target = state.lights[light - GL_LIGHT0];
    switch (name) {
        case GL_AMBIENT:
            copyRgba(target.ambient, values);
            break;
        case GL_DIFFUSE:
            copyRgba(target.diffuse, values);
            break;
        case GL_SPECULAR:
            copyRgba(target.specular, values);
            break;
        case GL_POSITION: {
            // Kept in eye coordinates, as GL keeps it: through the modelview of the moment.
            GLfloat m[16];
            currentModelView(m);
            for (int row = 0; row < 4; ++row) {
                target.eyePosition[row] = m[row] * values[0] + m[4 + row] * values[1] +
                                          m[8 + row] * values[2] + m[12 + row] * values[3];
            }
            break;
        }
        default:
            break;
    }
}

void torvelGlLightModelfv(GLenum name, const GLfloat* values) {
    if (name == GL_LIGHT_MODEL_AMBIENT) {
        copyRgba(state.sceneAmbient, values);
    }
}

void torvelGlMaterialfv(GLenum /*face*/, GLenum name, const GLfloat* values) {
    switch (name) {
        case GL_AMBIENT:
            copyRgba(state.materialAmbient, values);
            break;
        case GL_DIFFUSE:
            copyRgba(state.materialDiffuse, values);
            break;
        case GL_AMBIENT_AND_DIFFUSE:
            copyRgba(state.materialAmbient, values);
            copyRgba(state.materialDiffuse, values);
            break;
        case GL_SPECULAR:
            copyRgba(state.materialSpecular, values);
            break;
        case GL_EMISSION:
            copyRgba(state.materialEmission, values);
            break;
        case GL_SHININESS:
            state.shininess = values[0];
            break;
        default:
            break;
    }
}

void torvelGlColorMaterial(GLenum /*face*/, GLenum mode) {
    state.colourMaterialMode = mode;
    applyColourMaterial();
}

void torvelGlTexGeni(GLenum coord, GLenum name, GLint value) {
    if (name != GL_TEXTURE_GEN_MODE) {
        return;
    }
    if (coord == GL_S) {
        state.texGenModeS = value;
    } else if (coord == GL_T) {
        state.texGenModeT = value;
    }
}

void torvelGlShadeModel(GLenum /*mode*/) {
    // WebGL interpolates colours always, which is GL_SMOOTH, the only model the scene uses.
}

void torvelGlHint(GLenum target, GLenum mode) {
    // WebGL interpolates perspective-correct always and refuses the enum.
    if (target != GL_PERSPECTIVE_CORRECTION_HINT) {
        drawBatch();
        glHint(target, mode);
    }
}

GLuint torvelGlGenLists(GLsizei range) {
    const GLuint first = nextList;
    for (GLsizei i = 0; i < range; ++i) {
        lists[nextList++];
    }
    return range > 0 ? first : 0;
}

void torvelGlNewList(GLuint list, GLenum mode) {
    lists[list].clear();
    recording = list;
    executeWhileRecording = mode == GL_COMPILE_AND_EXECUTE;
}

void torvelGlEndList(void) {
    recording = 0;
    executeWhileRecording = false;
}

void torvelGlCallList(GLuint list) {
    const auto found = lists.find(list);
    if (found == lists.end()) {
        return;
    }
    for (const ListCall& call : found->second) {
        switch (call.kind) {
            case ListCall::Begin:
                torvelGlBegin(call.mode);
                break;
            case ListCall::End:
                torvelGlEnd();
                break;
            case ListCall::Vertex:
                torvelGlVertex3f(call.a, call.b, call.c);
                break;
            case ListCall::Normal:
                torvelGlNormal3f(call.a, call.b, call.c);
                break;
            case ListCall::TexCoord:
                torvelGlTexCoord2f(call.a, call.b);
                break;
            case ListCall::Colour:
                torvelGlColor4f(call.a, call.b, call.c, call.d);
                break;
        }
    }
}

void torvelGlDeleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i) {
        lists.erase(list + static_cast<GLuint>(i));
    }
}

void torvelGlGenTextures(GLsizei count, GLuint* names) {
    drawBatch();
    glGenTextures(count, names);
    for (GLsizei i = 0; i < count; ++i) {
        textures.insert(names[i]);
    }
}

void torvelGlDeleteTextures(GLsizei count, const GLuint* names) {
    for (GLsizei i = 0; i < count; ++i) {
        textures.erase(names[i]);
    }
    drawBatch();
    glDeleteTextures(count, names);
}

void torvelGlTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                        GLint border, GLenum format, GLenum type, const void* pixels) {
    // GL 1.1 takes a component count; WebGL wants the format's name (a count gives black).
    switch (internalFormat) {
        case 1:
            internalFormat = GL_LUMINANCE;
            break;
        case 2:
            internalFormat = GL_LUMINANCE_ALPHA;
            break;
        case 3:
            internalFormat = GL_RGB;
            break;
        case 4:
            internalFormat = GL_RGBA;
            break;
        default:
            break;
    }
    drawBatch();
    glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

// Each draws the batch, then forwards; any of them may change the modelview.
#define TORVEL_GL_DEFINE_BARRIER(type, name, parameters, arguments) \
    type torvelGl##name parameters {                                \
        drawBatch();                                                \
        state.modelViewKnown = false;                               \
        return gl##name arguments;                                  \
    }
TORVEL_GL_BATCH_BARRIERS(TORVEL_GL_DEFINE_BARRIER)
#undef TORVEL_GL_DEFINE_BARRIER

void torvelGlReset(void) {
    // What was drawn went with the old context.
    batch = Batch{};
    const std::vector<GLuint> names(textures.begin(), textures.end());
    if (!names.empty()) {
        glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    }
    textures.clear();
    lists.clear();
    nextList = 1;
    recording = 0;
    executeWhileRecording = false;
    state = ShimState{};
    state.lights[0].enabled = false;

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
