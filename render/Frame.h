#pragma once

struct World;

// Copied into the clip plane of the masked ball pass and lowered by 1 every frame, never reset:
// frame n uses 1500 - n, keeping the upper half of the room first and the lower half later.
extern float floorClipCoefficient;

// One ball at the origin of the model-view matrix: opaque with the floor picture, then an additive
// sphere-mapped glow. Leaves texturing on, the spark bound, colour (1, 1, 1, 0.4) and the additive
// blend function in force.
void drawBall();

// The floor rectangle with its texture coordinates; colour, normal and enables are the caller's.
void drawFloorQuad();

// Draws one frame into the back buffer and ages every live explosion. Always returns 1.
int drawFrame(World& world);
