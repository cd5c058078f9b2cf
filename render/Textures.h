#pragma once

#include <GL/gl.h>

// The four texture names of the current rendering context, adjacent so that one call deletes them.
extern GLuint textureNames[4];

inline GLuint& marbleTexture = textureNames[0];  // "data/marble.bmp": the cylinders
inline GLuint& sparkTexture = textureNames[1];   // "data/spark.bmp": explosions, ball glow
inline GLuint& floorTexture = textureNames[2];   // "data/boden.bmp": the floor, plain ball pass
inline GLuint& wallTexture = textureNames[3];    // "data/wand.bmp": the four walls

// Loads the four pictures (from the data root, see DataRoot.h) and makes them textures of the current
// context. Any failure prints its line on standard output and ends the process with status 1.
void loadTextures();

// Releases the four names of the current context (at shutdown).
void deleteTextures();
