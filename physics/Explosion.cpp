#include "physics/Explosion.h"

bool spawnExplosion(World& world, const Vector& p) {
    for (Explosion& slot : world.explosions) {
        if (slot.alpha <= 0.0f) {
            slot.alpha = 1.0f;
            slot.position = p;
            slot.scale = 1.0f;
            return true;
        }
    }
    return false;
}

bool ageExplosion(Explosion& explosion) {
    if (explosion.alpha < 0.0f) {
        return false;
    }
    explosion.alpha = explosion.alpha - 0.01f;
    explosion.scale = explosion.scale + 0.03f;
    return true;
}

void ageExplosions(World& world) {
    for (Explosion& slot : world.explosions) {
        ageExplosion(slot);
    }
}
