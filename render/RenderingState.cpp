#include "render/RenderingState.h"

#include "render/Textures.h"

const GLfloat lightPosition[4] = {0.0f, 400.0f, 0.0f, 1.0f};

GLuint explosionList = 0;
GLUquadric* ballQuadric = nullptr;
GLUquadric* cylinderQuadric = nullptr;

namespace {

const GLfloat materialSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat materialShininess = 100.0f;
const GLfloat sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const GLfloat setupAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
const GLfloat lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// One quad with its normal, each vertex after its texture coordinate; st and xyz per vertex.
void spriteQuad(GLfloat nx, GLfloat ny, GLfloat nz, const GLfloat vertices[4][5]) {
    glNormal3f(nx, ny, nz);
    for (int v = 0; v < 4; ++v) {
        glTexCoord2f(vertices[v][0], vertices[v][1]);
        glVertex3f(vertices[v][2], vertices[v][3], vertices[v][4]);
    }
}

void recordExplosionSprite() {
    static const GLfloat front[4][5] = {
        {0, 0, -50, -40, 0}, {0, 1, 50, -40, 0}, {1, 1, 50, 40, 0}, {1, 0, -50, 40, 0}};
    static const GLfloat back[4][5] = {
        {0, 0, -50, 40, 0}, {0, 1, 50, 40, 0}, {1, 1, 50, -40, 0}, {1, 0, -50, -40, 0}};
    static const GLfloat right[4][5] = {
        {0, 0, 0, -40, 50}, {0, 1, 0, -40, -50}, {1, 1, 0, 40, -50}, {1, 0, 0, 40, 50}};
    static const GLfloat left[4][5] = {
        {0, 0, 0, 40, 50}, {0, 1, 0, 40, -50}, {1, 1, 0, -40, -50}, {1, 0, 0, -40, 50}};

    explosionList = glGenLists(1);
    glNewList(explosionList, GL_COMPILE);
    glBegin(GL_QUADS);
    spriteQuad(0, 0, 1, front);
    spriteQuad(0, 0, -1, back);
    spriteQuad(1, 0, 0, right);
    spriteQuad(-1, 0, 0, left);
    glEnd();
    glEndList();
}

}  // namespace

void setupProjection(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 10.0, 1700.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int setupRendering() {
    // First phase: the state the textures and the sprite are made under.
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
    glMaterialfv(GL_FRONT, GL_SHININESS, &materialShininess);
    glEnable(GL_LIGHTING);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, setupAmbient);
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    // The blend function stays in force for the first frame's explosions.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    loadTextures();
    recordExplosionSprite();

    // Second phase: what the frames are drawn with.
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.2f, 0.5f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, sceneAmbient);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    // A quadric is client-side state only; the one of an earlier context is of no further use.
    if (ballQuadric != nullptr) {
        gluDeleteQuadric(ballQuadric);
    }
    ballQuadric = gluNewQuadric();
    gluQuadricNormals(ballQuadric, GLU_SMOOTH);
    gluQuadricTexture(ballQuadric, GL_TRUE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);

    // The cylinders' quadric holds no context objects, so the first set-up makes it for the whole run.
    if (cylinderQuadric == nullptr) {
        cylinderQuadric = gluNewQuadric();
        gluQuadricTexture(cylinderQuadric, GL_TRUE);
    }
    return 1;
}
