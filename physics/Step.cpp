#include "physics/Step.h"

#include "physics/BallCollision.h"
#include "physics/Explosion.h"
#include "physics/HitTest.h"
#include "physics/Sound.h"

namespace {

constexpr double tolerance = 1e-8;
constexpr double noHit = 10000.0;

struct ObstacleHit {
    double time = noHit;
    int ball = 0;
    Vector normal;
    Vector point;
};

// Hits at the start point (within the tolerance) stop only a ball moving into the surface.
bool acceptable(double t, double along, const Vector& direction, const Vector& normal, double earliest,
                double remaining) {
    return t <= earliest && t <= remaining + tolerance &&
           (along > tolerance || dot(direction, normal) <= tolerance);
}

// Records the old positions, moves every ball tentatively over the remaining time and finds the
// earliest acceptable obstacle hit on the way. Among equal times the last one tested wins.
ObstacleHit findObstacleHit(World& world, double remaining) {
    ObstacleHit hit;
    for (int i = 0; i < world.ballCount; ++i) {
        Vector& position = world.ballPositions[i];
        Vector& old = world.ballOldPositions[i];
        const Vector& velocity = world.ballVelocities[i];

        old = position;
        const Vector direction = unit(velocity);
        position = position + velocity * remaining;
        const double travel = old.distance(position);

        double along;
        Vector normal;
        for (const Plane& wall : world.walls) {
            if (hitPlane(wall, old, direction, along, normal)) {
                const double t = (along * remaining) / travel;
                if (acceptable(t, along, direction, normal, hit.time, remaining)) {
                    hit.normal = normal;
                    hit.point = old + direction * along;
                    hit.time = t;
                    hit.ball = i;
                }
            }
        }
        Vector point;
        for (const Cylinder& cylinder : world.cylinders) {
            if (hitCylinder(cylinder, old, direction, along, normal, point)) {
                const double t = (along * remaining) / travel;
                if (acceptable(t, along, direction, normal, hit.time, remaining)) {
                    hit.normal = normal;
                    hit.point = point;
                    hit.time = t;
                    hit.ball = i;
                }
            }
        }
    }
    return hit;
}

// Every ball from its old position to where it is at time t of the sub-step.
void moveAllTo(World& world, double t) {
    for (int k = 0; k < world.ballCount; ++k) {
        world.ballPositions[k] = world.ballOldPositions[k] + world.ballVelocities[k] * t;
    }
}

void spawn(World& world, const Vector& p, StepReport& report) {
    if (spawnExplosion(world, p)) {
        ++report.spawns;
    }
}

// Equal masses: the velocity components along the line of centres are exchanged.
void answerBallContact(World& world, int a, int b, double t, StepReport& report) {
    const Vector& velocityA = world.ballVelocities[a];
    const Vector& velocityB = world.ballVelocities[b];
    const Vector pa = world.ballOldPositions[a] + velocityA * t;
    const Vector pb = world.ballOldPositions[b] + velocityB * t;

    Vector n = pb - pa;
    n.normalize();
    const Vector ua = n * dot(n, velocityA);
    const Vector wa = velocityA - ua;

    Vector m = pa - pb;
    m.normalize();
    const Vector ub = m * dot(m, velocityB);
    const Vector wb = velocityB - ub;

    const Vector va = ((ua + ub) - (ua - ub)) * 0.5;
    const Vector vb = ((ua + ub) - (ub - ua)) * 0.5;

    moveAllTo(world, t);
    world.ballVelocities[a] = va + wa;
    world.ballVelocities[b] = vb + wb;
    spawn(world, world.ballPositions[a], report);
}

// Mirrors the ball's velocity in the surface, keeping its speed.
void answerObstacleHit(World& world, const ObstacleHit& hit, StepReport& report) {
    moveAllTo(world, hit.time);
    Vector& velocity = world.ballVelocities[hit.ball];
    const double speed = velocity.length();
    velocity.normalize();
    const double f = 2.0 * dot(hit.normal, -velocity);
    velocity = unit(hit.normal * f + velocity) * speed;
    spawn(world, hit.point, report);
}

// The last sub-step of a frame that reached the bound: the tentative moves alone.
void moveWithoutEvents(World& world, double remaining) {
    for (int k = 0; k < world.ballCount; ++k) {
        world.ballOldPositions[k] = world.ballPositions[k];
        world.ballPositions[k] = world.ballPositions[k] + world.ballVelocities[k] * remaining;
    }
}

}  // namespace

StepReport stepWorld(World& world) {
    StepReport report{0, 0, 0, false};

    if (world.cameraMode == 0) {
        world.viewAngle = world.viewAngle + 0.1f;
        if (world.viewAngle > 360.0f) {
            world.viewAngle = 0.0f;  // set to zero, not reduced by 360
        }
    }

    double remaining = world.timeStep;
    for (int k = 0; k < world.ballCount; ++k) {
        world.ballVelocities[k] = world.ballVelocities[k] + world.gravity * remaining;
    }

    while (remaining > tolerance) {
        ++report.substeps;
        if (report.substeps == maxSubsteps) {
            moveWithoutEvents(world, remaining);
            report.capped = true;
            break;
        }

        const ObstacleHit obstacle = findObstacleHit(world, remaining);

        double ballTime;
        int first;
        int second;
        if (findBallCollision(world, remaining, ballTime, first, second)) {
            // The sound starts as soon as a contact is seen, even if an obstacle hit comes first.
            if (world.soundOn != 0) {
                requestSound();
                ++report.sounds;
            }
            if (obstacle.time == noHit || obstacle.time > ballTime) {
                remaining = remaining - ballTime;
                answerBallContact(world, first, second, ballTime, report);
                continue;
            }
        }

        if (obstacle.time == noHit) {
            break;  // no event: the tentative moves stand and the frame's time is used up
        }
        remaining = remaining - obstacle.time;
        answerObstacleHit(world, obstacle, report);
    }
    return report;
}
