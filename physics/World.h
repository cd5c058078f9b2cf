#pragma once

#include <cstdint>

#include "geom/Ray.h"
#include "geom/Vector.h"

// A wall as seen by the ball centres: 20 units inside the drawn room.
struct Plane {
    Vector point;
    Vector normal;  // unit length, pointing into the room
};

// An obstacle, infinitely long for collisions; radius = drawn radius + ball radius 20.
struct Cylinder {
    Ray axis;
    double radius = 0.0;
};

// One sprite slot; free while alpha <= 0.
struct Explosion {
    Vector position;
    float alpha = 0.0f;
    float scale = 0.0f;
};

constexpr int maxBalls = 10;
constexpr int wallCount = 5;
constexpr int cylinderCount = 3;
constexpr int explosionSlots = 20;

// Everything the simulation knows. The member initialisers are the values before initWorld.
struct World {
    std::int32_t ballCount = 0;
    Vector ballPositions[maxBalls];
    Vector ballVelocities[maxBalls];
    Vector ballOldPositions[maxBalls];
    Vector gravity{0.0, -0.05, 0.0};
    Vector startVelocity{0.5, -0.1, 0.5};
    Plane walls[wallCount];
    Cylinder cylinders[cylinderCount];
    Explosion explosions[explosionSlots];
    double timeStep = 0.6;
    std::int32_t soundOn = 1;
    Vector cameraPosition{0.0, -50.0, 1000.0};
    Vector viewOffset{0.0, 0.0, -10.0};
    float viewAngle = 0.0f;
    std::int32_t cameraMode = 0;
};

// Lays out the walls, cylinders, balls and explosion slots of the start scene.
// Touches neither the camera fields, the time step, the sound switch nor the old positions.
void initWorld(World& world);
