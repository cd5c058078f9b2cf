#pragma once

#include "physics/World.h"

// Earliest contact (centres at most 40 apart) of two balls within `window` time units, each ball
// moving straight on at its velocity from its old position. The window is sampled 150 times
// per pair; the contact time is that of the last sample before the first one in contact, so
// balls moved to it are in general still just apart. Returns 1 and writes time, first and
// second (first < second) on a contact, otherwise returns 0 and writes nothing.
int findBallCollision(const World& world, double window, double& time, int& first, int& second);
