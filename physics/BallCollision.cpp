#include "physics/BallCollision.h"

#include <cmath>

#include "geom/Ray.h"

namespace {

constexpr double contactDistance = 40.0;
constexpr double samplesPerWindow = 150.0;
constexpr double noContact = 10000.0;

// True when, along one axis, the two balls are too far apart for any sample of the window to
// come within reach: the gap exceeds the contact distance plus the relative travel, with room
// to spare for rounding. Such a pair would pass neither the line test nor any sample, so
// skipping it leaves the result unchanged; it only spares the square roots of both.
// Invalid vectors read as zeros here but give distance 0 there, so they are never skipped.
bool outOfReachAlong(double oldI, double oldJ, double rel, double latestSample) {
    const double travel = std::fabs(rel) * latestSample;
    const double slack = 1e-9 * (std::fabs(oldI) + std::fabs(oldJ) + travel) + 1e-6;
    return std::fabs(oldI - oldJ) > contactDistance + travel + slack;
}

bool outOfReach(const Vector& oldI, const Vector& oldJ, const Vector& rel, double latestSample) {
    if (!oldI.isValid() || !oldJ.isValid() || !rel.isValid()) {
        return false;
    }
    return outOfReachAlong(oldI.getX(), oldJ.getX(), rel.getX(), latestSample) ||
           outOfReachAlong(oldI.getY(), oldJ.getY(), rel.getY(), latestSample) ||
           outOfReachAlong(oldI.getZ(), oldJ.getZ(), rel.getZ(), latestSample);
}

}  // namespace

int findBallCollision(const World& world, double window, double& time, int& first, int& second) {
    const double dt = window / samplesPerWindow;
    // Samples stop once one reaches the window, so none lies beyond window + dt.
    const double latestSample = window * 1.01;
    double best = noContact;
    int bestFirst = 0;
    int bestSecond = 0;

    for (int i = 0; i < world.ballCount - 1; ++i) {
        const Vector& oldI = world.ballOldPositions[i];
        for (int j = i + 1; j < world.ballCount; ++j) {
            const Vector& oldJ = world.ballOldPositions[j];
            const Vector rel = world.ballVelocities[i] - world.ballVelocities[j];
            if (outOfReach(oldI, oldJ, rel, latestSample)) {
                continue;
            }

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
