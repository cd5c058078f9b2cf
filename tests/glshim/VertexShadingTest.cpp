// A vertex's colour and sphere-map coordinates from the shim against Mesa's own fixed function,
// read back through GL's feedback mode (the vertex after lighting and texture generation, before
// any rasterising).
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "RenderTest.h"
#include "glshim/FixedFunction.h"

namespace {

struct Case {
    const char* name;
    GLfloat rotation[4];  // glRotatef's angle and axis, then glTranslatef's offset
    GLfloat offset[3];
    bool lightFirst;  // the light's position given before the modelview moves, not after
    GLfloat lightPosition[4];
    GLfloat normal[3];
    GLfloat vertex[3];
    bool lit, colourMaterial, sphereMap;
    GLfloat shininess;
};

const GLfloat lightAmbient[] = {0.1f, 0.15f, 0.2f, 1.0f};
const GLfloat lightDiffuse[] = {0.9f, 0.8f, 0.7f, 1.0f};
const GLfloat sceneAmbient[] = {0.3f, 0.2f, 0.1f, 1.0f};
const GLfloat materialAmbient[] = {0.2f, 0.3f, 0.4f, 1.0f};
const GLfloat materialDiffuse[] = {0.5f, 0.6f, 0.7f, 0.9f};
const GLfloat materialSpecular[] = {0.6f, 0.5f, 0.4f, 1.0f};
const GLfloat colour[] = {0.9f, 0.5f, 0.2f, 0.7f};
const GLenum capabilities[] = {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T};

// The modelview reads Mesa's; the vertex drawn is kept.
class FromMesa final : public GlBackend {
  public:
    void readModelView(GLfloat matrix[16]) override { glGetFloatv(GL_MODELVIEW_MATRIX, matrix); }
    void draw(GLenum, const BatchVertex* vertices, std::size_t, const GLushort* indices,
              std::size_t) override {
        drawn = vertices[indices[0]];
    }
    BatchVertex drawn{};
};

// Moves the modelview, with the light's position given before or after as the case says.
template <class Position>
void moveModelView(const Case& c, Position position) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (c.lightFirst) {
        position();
    }
    glRotatef(c.rotation[0], c.rotation[1], c.rotation[2], c.rotation[3]);
    glTranslatef(c.offset[0], c.offset[1], c.offset[2]);
    if (!c.lightFirst) {
        position();
    }
}

bool enabled(const Case& c, int capability) {
    return capability == 0 ? c.lit : capability == 2 ? c.colourMaterial : capability == 1 || c.sphereMap;
}

// r, g, b, a, s, t as Mesa computes them.
std::vector<GLfloat> byMesa(const Case& c) {
    moveModelView(c, [&] { glLightfv(GL_LIGHT0, GL_POSITION, c.lightPosition); });
    glDisable(GL_COLOR_MATERIAL);  // which would keep the materials from changing
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, materialDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, materialSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &c.shininess);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    for (int k = 0; k < 5; ++k) {
        (enabled(c, k) ? glEnable : glDisable)(capabilities[k]);
    }
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // what colour material takes before the vertex's own
    glTexCoord2f(0.25f, 0.75f);

    GLfloat feedback[64];
    glFeedbackBuffer(64, GL_3D_COLOR_TEXTURE, feedback);
    glRenderMode(GL_FEEDBACK);
    glBegin(GL_POINTS);
    glNormal3fv(c.normal);
    glColor4fv(colour);
    glVertex3fv(c.vertex);
    glEnd();
    if (glRenderMode(GL_RENDER) != 12 || feedback[0] != GL_POINT_TOKEN) {
        return {};
    }
    return {feedback[4], feedback[5], feedback[6], feedback[7], feedback[8], feedback[9]};
}

// Through a list, the point is recorded with its texture coordinates, normal and colour, and called
// after other ones have been set.
std::vector<GLfloat> byShim(const Case& c, bool throughList) {
    FromMesa backend;
    FixedFunction shim(backend);
    moveModelView(c, [&] { shim.light(GL_LIGHT0, GL_POSITION, c.lightPosition); });
    shim.stateChange([] {});  // as the page's glRotatef and glTranslatef do
    shim.material(GL_AMBIENT, materialAmbient);
    shim.material(GL_DIFFUSE, materialDiffuse);
    shim.light(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    shim.light(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    shim.lightModel(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    shim.material(GL_SPECULAR, materialSpecular);
    shim.material(GL_SHININESS, &c.shininess);
    shim.colourMaterial(GL_AMBIENT_AND_DIFFUSE);
    for (int k = 0; k < 5; ++k) {
        shim.setCapability(capabilities[k], enabled(c, k));
    }
    shim.texGen(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    shim.texGen(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    const auto point = [&] {
        shim.texCoord(0.25f, 0.75f);
        shim.begin(GL_POINTS);
        shim.normal(c.normal[0], c.normal[1], c.normal[2]);
        shim.colour(colour[0], colour[1], colour[2], colour[3]);
        shim.vertex(c.vertex[0], c.vertex[1], c.vertex[2]);
        shim.end();
    };
    if (throughList) {
        const GLuint list = shim.genLists(1);
        shim.newList(list, GL_COMPILE);
        point();
        shim.endList();
        shim.texCoord(0.0f, 0.0f);
        shim.normal(1.0f, 0.0f, 0.0f);
        shim.colour(0.0f, 0.0f, 0.0f, 0.0f);
        shim.callList(list);
    } else {
        point();
    }
    shim.stateChange([] {});
    const BatchVertex& v = backend.drawn;
    return {v.r, v.g, v.b, v.a, v.s, v.t};
}

TEST(VertexShadingTest, LightsAndSphereMapsAVertexAsGlDoes) {
    ASSERT_TRUE(openContext(16, 16)) << SDL_GetError();
    // Mesa generates texture coordinates only for a unit that textures.
    const GLubyte texel[4] = {};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    // clang-format off
    const Case cases[] = {
        // name; rotation (angle, axis) and offset; the light's position first?, the position;
        // normal; vertex; lit, colour material, sphere map; shininess
        {"light from the side", {0, 0, 0, 1}, {0, 0, 0}, false, {0.8f, 0, 0.6f, 0},
         {0, 0, 1}, {0.1f, 0.2f, -0.3f}, true, true, false, 0},
        {"light behind: ambient only", {0, 0, 0, 1}, {0, 0, 0}, false, {0, 0.3f, -1, 0},
         {0, 0, 1}, {0, 0, 0}, true, true, false, 0},
        {"positional light beside the vertex", {0, 0, 0, 1}, {0, 0, 0}, false, {0.5f, -0.4f, 0.2f, 1},
         {0, 0.6f, 0.8f}, {0, 0, -0.5f}, true, true, false, 0},
        {"positional light at w 2", {0, 0, 0, 1}, {0, 0, 0}, false, {-0.6f, 0.4f, 1, 2},
         {0, 0, 1}, {0.2f, 0, -0.5f}, true, true, false, 0},
        {"turned modelview: normal and light turn", {50, 1, 2, 0.5f}, {0, 0, 0}, false, {0.3f, 0.8f, 0.5f, 0},
         {0, 0.6f, 0.8f}, {0.1f, -0.2f, 0.3f}, true, true, false, 0},
        {"a light given before the modelview turns stays", {70, 0, 1, 0}, {0, 0, 0}, true, {0, 0, 1, 0},
         {0, 0, 1}, {0.1f, -0.2f, 0.3f}, true, true, false, 0},
        {"moved modelview, positional light", {30, 1, 0, 0}, {0.2f, 0.1f, -0.3f}, false, {0, 0, 0.4f, 1},
         {0.6f, 0, 0.8f}, {0.1f, 0.1f, 0.1f}, true, true, false, 0},
        {"specular highlight", {0, 0, 0, 1}, {0, 0, 0}, false, {0.2f, 0.1f, 1, 0},
         {0.1f, 0, 0.995f}, {0, 0, 0}, true, true, false, 20},
        {"specular at shininess 0", {0, 0, 0, 1}, {0, 0, 0}, false, {0.6f, 0, 0.8f, 0},
         {0, 0, 1}, {0, 0, 0}, true, true, false, 0},
        {"the material's own colour", {0, 0, 0, 1}, {0, 0, 0}, false, {0.8f, 0, 0.6f, 0},
         {0, 0, 1}, {0, 0, 0}, true, false, false, 0},
        {"unlit: the colour as given", {0, 0, 0, 1}, {0, 0, 0}, false, {0, 0, 1, 0},
         {0, 0, 1}, {0, 0, 0}, false, true, false, 0},
        {"sphere map, tilted and off centre", {0, 0, 0, 1}, {0, 0, 0}, false, {0, 0, 1, 0},
         {0.6f, 0, 0.8f}, {0.3f, -0.2f, -0.5f}, true, true, true, 0},
        {"sphere map, turned modelview", {40, 0, 1, 1}, {0, 0, 0.1f}, false, {0, 0, 1, 0},
         {0, -0.28f, 0.96f}, {-0.4f, 0.3f, -0.2f}, false, true, true, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::vector<GLfloat> mesa = byMesa(c);
        ASSERT_EQ(mesa.size(), 6u) << c.name << ": no feedback from GL";
        for (const bool throughList : {false, true}) {
            const std::vector<GLfloat> shim = byShim(c, throughList);
            for (int k = 0; k < 6; ++k) {
                EXPECT_NEAR(shim[k], mesa[k], 1e-5)
                    << c.name << (throughList ? ", through a list: " : ": ") << "rgbast"[k];
            }
        }
    }
}

}  // namespace
