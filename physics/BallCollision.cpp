#include "physics/BallCollision.h"

#include "geom/Ray.h"

namespace {
constexpr double contactDistance = 40.0;
constexpr double samplesPerWindow = 150.0;
constexpr double noContact = 10000.0;
}  // namespace

int findBallCollision(const World& world, double window, double& time, int& first, int& second) {
    const double dt = window / samplesPerWindow;
    double best = noContact;
    int bestFirst = 0;
    int bestSecond = 0;

    for (int i = 0; i < world.ballCount - 1; ++i) {
        const Vector& oldI = world.ballOldPositions[i];
        for (int j = i + 1; j < world.ballCount; ++j) {
            const Vector& oldJ = world.ballOldPositions[j];
            const Vector rel = world.ballVelocities[i] - world.ballVelocities[j];

            // Pairs whose relative line never comes within reach are not sampled at all.
            const Ray relativePath(oldI, unit(rel));
            if (relativePath.distanceToPoint(oldJ) > contactDistance) {
                continue;
            }

            double t = 0.0;
            while (t < window) {
                t = t + dt;
                const Vector candidate = oldI + rel * t;
                if (candidate.distance(oldJ) <= contactDistance) {
                    if (t - dt < best) {
                        best = t - dt;
                        bestFirst = i;
                        bestSecond = j;
                    }
                    break;
                }
            }
        }
    }

    if (best == noContact) {
        return 0;
    }
    time = best;
    first = bestFirst;
    second = bestSecond;
    return 1;
}
