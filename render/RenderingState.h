#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

// Position of light 0, a point light above the room; set again under each frame's camera.
extern const GLfloat lightPosition[4];

// The explosion sprite of the current context: two crossed rectangles, 100 wide and 80 high.
extern GLuint explosionList;
// Draws both passes of every ball (smooth normals, generated texture coordinates).
extern GLUquadric* ballQuadric;
// Draws the three cylinders (texture coordinates on). Client-side only, so one serves every context.
extern GLUquadric* cylinderQuadric;

// Viewport over the whole client area and the fixed perspective; a height of 0 counts as 1.
// Leaves the model-view matrix selected and reset.
void setupProjection(int width, int height);

// Puts a fresh context into the scene's state: lighting, material, blending, the four textures,
// the explosion sprite and the ball quadric. Always returns 1; a texture that does not load ends
// the process.
int setupRendering();
