#include "physics/World.h"

void initWorld(World& world) {
    world.walls[0] = Plane{Vector(0.0, -300.0, 0.0), Vector(0.0, 1.0, 0.0)};  // floor
    world.walls[1] = Plane{Vector(300.0, 0.0, 0.0), Vector(-1.0, 0.0, 0.0)};
    world.walls[2] = Plane{Vector(-300.0, 0.0, 0.0), Vector(1.0, 0.0, 0.0)};
    world.walls[3] = Plane{Vector(0.0, 0.0, 300.0), Vector(0.0, 0.0, -1.0)};
    world.walls[4] = Plane{Vector(0.0, 0.0, -300.0), Vector(0.0, 0.0, 1.0)};

    // The axis fields are set as they stand: the upright and the lying axis keep their
    // Default status, only the slanted one is normalised in place.
    world.cylinders[0].axis.point = Vector(0.0, 0.0, 0.0);
    world.cylinders[0].axis.direction = Vector(0.0, 1.0, 0.0);
    world.cylinders[0].radius = 80.0;
    world.cylinders[1].axis.point = Vector(200.0, -300.0, 0.0);
    world.cylinders[1].axis.direction = Vector(0.0, 0.0, 1.0);
    world.cylinders[1].radius = 80.0;
    world.cylinders[2].axis.point = Vector(-200.0, 0.0, 0.0);
    world.cylinders[2].axis.direction = Vector(0.0, 1.0, 1.0).normalize();
    world.cylinders[2].radius = 50.0;

    world.ballCount = 10;
    for (int k = 0; k < world.ballCount; ++k) {
        world.ballVelocities[k] = world.startVelocity;
        world.explosions[k].alpha = 0.0f;
        world.explosions[k].scale = 1.0f;
    }
    world.ballPositions[0] = Vector(199.0, 180.0, 10.0);
    world.ballPositions[1] = Vector(0.0, 150.0, 100.0);
    world.ballPositions[2] = Vector(-100.0, 180.0, -100.0);
    for (int k = 3; k < world.ballCount; ++k) {
        world.ballPositions[k] =
            Vector(static_cast<double>(75 * k - 500), 300.0, static_cast<double>(50 * k - 500));
    }

    for (int k = world.ballCount; k < explosionSlots; ++k) {
        world.explosions[k].alpha = 0.0f;
        world.explosions[k].scale = 1.0f;
    }
}
