#pragma once

#include "geom/Vector.h"
#include "physics/World.h"

// Fills the first free slot (alpha 0 or less) with a fresh sprite at p. Returns false, and
// changes nothing, when all slots are busy.
bool spawnExplosion(World& world, const Vector& p);

// One frame of fading and growth: a slot whose alpha is not below 0 gets alpha - 0.01 and
// scale + 0.03 (float arithmetic) and true; a slot already below 0 is left alone (false).
// A fresh sprite is aged 101 times before it is skipped.
bool ageExplosion(Explosion& explosion);

// ageExplosion over every slot, for callers that do not draw.
void ageExplosions(World& world);
