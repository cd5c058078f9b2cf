#include "render/Frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "physics/Explosion.h"
#include "physics/World.h"
#include "render/RenderingState.h"
#include "render/Textures.h"

float floorClipCoefficient = 1500.0f;

namespace {

struct TexturedVertex {
    GLfloat s, t, x, y, z;
};

const TexturedVertex wallVertices[16] = {
    // z = 320
    {1, 0, 320, 320, 320},
    {1, 1, 320, -320, 320},
    {0, 1, -320, -320, 320},
    {0, 0, -320, 320, 320},
    // z = -320
    {1, 0, -320, 320, -320},
    {1, 1, -320, -320, -320},
    {0, 1, 320, -320, -320},
    {0, 0, 320, 320, -320},
    // x = 320
    {1, 0, 320, 320, -320},
    {1, 1, 320, -320, -320},
    {0, 1, 320, -320, 320},
    {0, 0, 320, 320, 320},
    // x = -320
    {1, 0, -320, 320, 320},
    {1, 1, -320, -320, 320},
    {0, 1, -320, -320, -320},
    {0, 0, -320, 320, -320},
};

const TexturedVertex floorVertices[4] = {
    {1, 0, -320, -320, 320},
    {1, 1, 320, -320, 320},
    {0, 1, 320, -320, -320},
    {0, 0, -320, -320, -320},
};

void emit(const TexturedVertex* vertices, int count) {
    for (int i = 0; i < count; ++i) {
        glTexCoord2f(vertices[i].s, vertices[i].t);
        glVertex3f(vertices[i].x, vertices[i].y, vertices[i].z);
    }
}

void placeCamera(const World& world) {
    if (world.cameraMode != 0) {
        const Vector& ball = world.ballPositions[0];
        const Vector& velocity = world.ballVelocities[0];
        gluLookAt(ball.getX() + 150.0, ball.getY() + 150.0, ball.getZ() + 0.0,  //
                  ball.getX() + velocity.getX(), ball.getY() + velocity.getY(), ball.getZ() + velocity.getZ(),
                  0.0, 1.0, 0.0);
    } else {
        const Vector& camera = world.cameraPosition;
        const Vector& offset = world.viewOffset;
        gluLookAt(camera.getX() + 0.0, camera.getY() + 600.0, camera.getZ() - 700.0,  //
                  camera.getX() + offset.getX() + 0.0, camera.getY() + offset.getY() + 585.0,
                  camera.getZ() + offset.getZ() - 700.0,  //
                  0.0, 1.0, 0.0);
    }
}

void drawCylinders() {
    glBindTexture(GL_TEXTURE_2D, marbleTexture);
    glColor3f(0.5f, 0.5f, 0.5f);

    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, -500.0f);
    gluCylinder(cylinderQuadric, 60.0, 60.0, 1000.0, 20, 2);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(200.0f, -300.0f, -500.0f);
    gluCylinder(cylinderQuadric, 60.0, 60.0, 1000.0, 20, 2);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-200.0f, 0.0f, 0.0f);
    glRotatef(135.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, -500.0f);
    gluCylinder(cylinderQuadric, 30.0, 30.0, 1000.0, 20, 2);
    glPopMatrix();
}

// Additive with the blend function left by the set-up or the previous frame's last drawBall.
void drawExplosions(World& world) {
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, sparkTexture);
    for (Explosion& explosion : world.explosions) {
        if (!ageExplosion(explosion)) {
            continue;
        }
        glPushMatrix();
        glColor4f(1.0f, 1.0f, 0.0f, explosion.alpha);
        glScalef(explosion.scale, explosion.scale, explosion.scale);
        glTranslatef(static_cast<GLfloat>(explosion.position.getX() / explosion.scale),
                     static_cast<GLfloat>(explosion.position.getY() / explosion.scale),
                     static_cast<GLfloat>(explosion.position.getZ() / explosion.scale));
        glCallList(explosionList);
        glPopMatrix();
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void drawBalls(const World& world) {
    for (int i = 0; i < world.ballCount; ++i) {
        const Vector& position = world.ballPositions[i];
        glPushMatrix();
        glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        glTranslated(position.getX(), position.getY(), position.getZ());
        drawBall();
        glPopMatrix();
    }
}

}  // namespace

void drawBall() {
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, floorTexture);
    gluSphere(ballQuadric, 20.0, 20, 20);

    glBindTexture(GL_TEXTURE_2D, sparkTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 0.4f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    gluSphere(ballQuadric, 20.0, 20, 20);

    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_BLEND);
}

void drawFloorQuad() {
    glBindTexture(GL_TEXTURE_2D, floorTexture);
    glBegin(GL_QUADS);
    emit(floorVertices, 4);
    glEnd();
}

int drawFrame(World& world) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    placeCamera(world);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glRotatef(world.viewAngle, 0.0f, 1.0f, 0.0f);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, wallTexture);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    emit(wallVertices, 16);
    glEnd();

    drawCylinders();
    drawExplosions(world);

    const GLdouble clipEquation[4] = {0.0, static_cast<GLdouble>(floorClipCoefficient), 0.0, 0.0};
    floorClipCoefficient -= 1.0f;

    // Mark the floor's screen area in the stencil buffer, without touching colour or depth.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glDisable(GL_DEPTH_TEST);
    drawFloorQuad();
    glEnable(GL_DEPTH_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);

    glEnable(GL_CLIP_PLANE0);
    glClipPlane(GL_CLIP_PLANE0, clipEquation);
    drawBalls(world);
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_STENCIL_TEST);

    // The floor goes translucent over the masked balls, textured because drawBall left texturing on.
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 0.8f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawFloorQuad();
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);

    drawBalls(world);

    glFlush();
    return 1;
}
