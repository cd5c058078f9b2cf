/* Hand-checked cases for the reference physics, so that it can be trusted on
 * its own before it is used to judge the C++ physics. */
#include <math.h>
#include <stdio.h>

#include "reference_physics.h"

static int failures = 0;

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

static int same(RefVec v, double x, double y, double z, int status) {
    return v.x == x && v.y == y && v.z == z && v.status == status;
}

static void testVectors(void) {
    RefVec v = refVec(3.0, 4.0, 0.0);
    refNormalize(&v);
    CHECK(same(v, 0.6000000000000001, 0.8, 0.0, REF_UNIT));
    CHECK(v.x != 0.6);
    CHECK(refLength(v) == 1.0);

    RefVec zero = refVec(0.0, 0.0, 0.0);
    CHECK(refLength(zero) == 0.0);
    refNormalize(&zero);
    CHECK(same(zero, 0.0, 0.0, 0.0, REF_UNIT));
    CHECK(refLength(zero) == 1.0);

    CHECK(same(refUnit(refVec(1e-9, 0.0, 0.0)), 0.0, 0.0, 0.0, REF_UNIT));
    CHECK(same(refUnit(refVec(1e-8, 0.0, 0.0)), 1.0, 0.0, 0.0, REF_UNIT));

    /* A Unit vector is trusted: neither measured nor normalised again. */
    RefVec fake = {2.0, 0.0, 0.0, REF_UNIT};
    refNormalize(&fake);
    CHECK(same(fake, 2.0, 0.0, 0.0, REF_UNIT));
    CHECK(refLength(fake) == 1.0);
    CHECK(refNegate(fake).status == REF_UNIT);
    CHECK(refScale(fake, 1.0).status == REF_DEFAULT);
    CHECK(refAdd(fake, refVec(0, 0, 0)).status == REF_DEFAULT);
    CHECK(refDot(fake, fake) == 4.0);

    RefVec bad = refInvalid();
    CHECK(same(refAdd(refVec(1, 2, 3), bad), 0.0, 0.0, 0.0, REF_INVALID));
    CHECK(same(refCross(bad, refVec(1, 2, 3)), 0.0, 0.0, 0.0, REF_INVALID));
    CHECK(same(refNegate(bad), 0.0, 0.0, 0.0, REF_INVALID));
    CHECK(refDot(bad, refVec(1, 2, 3)) == 0.0);
    CHECK(refLength(bad) == 0.0);
    refNormalize(&bad);
    CHECK(bad.status == REF_INVALID);

    CHECK(same(refCross(refVec(1, 0, 0), refVec(0, 1, 0)), 0.0, 0.0, 1.0, REF_DEFAULT));
}

static void testRays(void) {
    RefRay r = refRay(refVec(0, 0, 0), refVec(2, 0, 0));
    CHECK(refRayIsValid(&r));
    CHECK(same(r.direction, 1.0, 0.0, 0.0, REF_UNIT));

    /* A Unit second vector is the direction, not a second point. */
    RefRay up = refRay(refVec(5, 0, 0), refUnit(refVec(0, 1, 0)));
    CHECK(same(up.direction, 0.0, 1.0, 0.0, REF_UNIT));
    CHECK(refRayDistanceToPoint(&up, refVec(5, -100, 3)) == 3.0);

    RefRay degenerate = refRay(refVec(1, 1, 1), refVec(1, 1, 1));
    CHECK(refRayIsValid(&degenerate));
    CHECK(refRayDistanceToPoint(&degenerate, refVec(1, 4, 5)) == 5.0);

    RefRay none = {refInvalid(), refInvalid()};
    CHECK(!refRayIsValid(&none));
    CHECK(refRayDistanceToPoint(&none, refVec(1, 2, 3)) == 0.0);
    RefRay fromBad = refRay(refInvalid(), refVec(1, 0, 0));
    CHECK(!refRayIsValid(&fromBad));
}

static void testHitTests(void) {
    RefPlane floorPlane = {refVec(0, -300, 0), refVec(0, 1, 0)};
    double l = -1.0;
    RefVec n = refInvalid();
    CHECK(refHitPlane(&floorPlane, refVec(0, -200, 0), refVec(0, -1, 0), &l, &n) && l == 100.0);
    CHECK(same(n, 0, 1, 0, REF_DEFAULT));
    CHECK(!refHitPlane(&floorPlane, refVec(0, -200, 0), refVec(1, 0, 0), &l, &n));
    CHECK(!refHitPlane(&floorPlane, refVec(0, -200, 0), refVec(0, 1, 0), &l, &n));
    CHECK(refHitPlane(&floorPlane, refVec(0, -400, 0), refVec(0, 1, 0), &l, &n) && l == 100.0);
    CHECK(refHitPlane(&floorPlane, refVec(7, -300, 0), refVec(0, 1, 0), &l, &n) && l == 0.0);

    RefCylinder column = {{refVec(0, 0, 0), refVec(0, 1, 0)}, 80.0};
    RefVec p = refInvalid();
    CHECK(refHitCylinder(&column, refVec(-200, 0, 0), refVec(1, 0, 0), &l, &n, &p) && l == 120.0);
    CHECK(same(p, -80, 0, 0, REF_DEFAULT) && same(n, -1, 0, 0, REF_UNIT));
    CHECK(refHitCylinder(&column, refVec(0, 0, 0), refVec(1, 0, 0), &l, &n, &p) && l == 80.0);
    CHECK(same(p, 80, 0, 0, REF_DEFAULT) && same(n, 1, 0, 0, REF_UNIT));
    CHECK(!refHitCylinder(&column, refVec(-200, 0, 90), refVec(1, 0, 0), &l, &n, &p));
    CHECK(refHitCylinder(&column, refVec(-200, 0, 80), refVec(1, 0, 0), &l, &n, &p) && l == 200.0);
    CHECK(same(p, 0, 0, 80, REF_DEFAULT));
    CHECK(!refHitCylinder(&column, refVec(0, 0, 0), refVec(0, 1, 0), &l, &n, &p));
    CHECK(!refHitCylinder(&column, refVec(200, 0, 0), refVec(1, 0, 0), &l, &n, &p));
}

static void emptyWorld(RefWorld* w, int balls) {
    refWorldAtStart(w);
    refInitWorld(w);
    w->ballCount = balls;
    w->gravity = refVec(0, 0, 0);
}

static void testBallSearch(void) {
    static RefWorld w;
    emptyWorld(&w, 2);
    w.ballOldPositions[0] = refVec(0, 0, 0);
    w.ballVelocities[0] = refVec(1, 0, 0);
    w.ballOldPositions[1] = refVec(100, 0, 0);
    w.ballVelocities[1] = refVec(0, 0, 0);
    double t = -1.0;
    int a = -1, b = -1;
    CHECK(refFindBallCollision(&w, 150.0, &t, &a, &b) && t == 59.0 && a == 0 && b == 1);
    t = -1.0;
    CHECK(!refFindBallCollision(&w, 30.0, &t, &a, &b) && t == -1.0);

    w.ballVelocities[1] = refVec(1, 0, 0);
    w.ballOldPositions[1] = refVec(30, 0, 0);
    CHECK(refFindBallCollision(&w, 1.0, &t, &a, &b) && t == 0.0);
    w.ballOldPositions[1] = refVec(50, 0, 0);
    CHECK(!refFindBallCollision(&w, 1.0, &t, &a, &b));

    /* Two pairs touching at the same time: the first pair in loop order wins. */
    emptyWorld(&w, 4);
    w.ballOldPositions[0] = refVec(0, 0, 0);
    w.ballVelocities[0] = refVec(0, 0, 0);
    w.ballOldPositions[1] = refVec(100, 0, 0);
    w.ballVelocities[1] = refVec(-1, 0, 0);
    w.ballOldPositions[2] = refVec(0, 0, 500);
    w.ballVelocities[2] = refVec(0, 0, 0);
    w.ballOldPositions[3] = refVec(100, 0, 500);
    w.ballVelocities[3] = refVec(-1, 0, 0);
    CHECK(refFindBallCollision(&w, 150.0, &t, &a, &b) && t == 59.0 && a == 0 && b == 1);
    /* An earlier contact later in the loop order replaces it. */
    w.ballOldPositions[3] = refVec(90, 0, 500);
    CHECK(refFindBallCollision(&w, 150.0, &t, &a, &b) && t == 49.0 && a == 2 && b == 3);

    w.ballCount = 1;
    CHECK(!refFindBallCollision(&w, 150.0, &t, &a, &b));
}

static void testFloorBounce(void) {
    static RefWorld w;
    emptyWorld(&w, 1);
    w.timeStep = 1.0;
    w.ballPositions[0] = refVec(100, -295, 100);
    w.ballVelocities[0] = refVec(0, -10, 0);
    RefFrameStats s;
    refStepWorld(&w, &s);
    CHECK(same(w.ballPositions[0], 100, -295, 100, REF_DEFAULT));
    CHECK(same(w.ballVelocities[0], 0, 10, 0, REF_DEFAULT));
    CHECK(s.substeps == 2 && s.spawns == 1 && s.sounds == 0);
    CHECK(w.explosions[0].alpha == 1.0f && w.explosions[1].alpha == 0.0f);
    CHECK(same(w.explosions[0].position, 100, -300, 100, REF_DEFAULT));
}

static void testNegativeStep(void) {
    static RefWorld w;
    refWorldAtStart(&w);
    w.timeStep = -0.1;
    refInitWorld(&w);
    RefFrameStats s;
    refStepWorld(&w, &s);
    CHECK(s.substeps == 0);
    CHECK(same(w.ballPositions[9], 175, 300, -50, REF_DEFAULT));
    CHECK(w.ballVelocities[0].y == -0.1 + -0.05 * -0.1);
    CHECK(w.viewAngle == 0.1f);
}

/* Balls overlapping far too deeply to part are found touching at time 0 after
 * every exchange; the frame must still end. */
static void testSubStepCap(void) {
    static RefWorld w;
    emptyWorld(&w, 2);
    w.timeStep = 1.0;
    w.ballPositions[0] = refVec(150, 0, 150);
    w.ballVelocities[0] = refVec(1, 0, 0);
    w.ballPositions[1] = refVec(160, 0, 150);
    w.ballVelocities[1] = refVec(-1, 0, 0);
    RefFrameStats s;
    refStepWorld(&w, &s);
    CHECK(s.substeps == REF_MAX_SUBSTEPS);
    CHECK(s.sounds == REF_MAX_SUBSTEPS - 1);
    CHECK(s.spawns == REF_SLOTS);
    /* An odd number of exchanges leaves the velocities swapped. */
    CHECK(same(w.ballVelocities[0], -1, 0, 0, REF_DEFAULT));
    CHECK(same(w.ballPositions[0], 149, 0, 150, REF_DEFAULT));
    CHECK(same(w.ballOldPositions[0], 150, 0, 150, REF_DEFAULT));
}

static void testFading(void) {
    static RefWorld w;
    refWorldAtStart(&w);
    refInitWorld(&w);
    refAgeExplosions(&w);
    CHECK(w.explosions[0].alpha < 0.0f && w.explosions[0].scale == 1.0f + 0.03f);
    refAgeExplosions(&w);
    CHECK(w.explosions[0].scale == 1.0f + 0.03f);

    w.explosions[3].alpha = 1.0f;
    w.explosions[3].scale = 1.0f;
    for (int frame = 1; frame <= 100; ++frame) refAgeExplosions(&w);
    CHECK(w.explosions[3].alpha > 0.0f && w.explosions[3].alpha < 1e-5f);
    refAgeExplosions(&w);
    CHECK(w.explosions[3].alpha < 0.0f);
    CHECK(fabsf(w.explosions[3].scale - 4.03f) < 1e-3f);
}

static void testViewTurn(void) {
    static RefWorld w;
    emptyWorld(&w, 0);
    w.timeStep = 0.0;
    w.viewAngle = 359.95f;
    RefFrameStats s;
    refStepWorld(&w, &s);
    CHECK(w.viewAngle == 0.0f);
    w.cameraMode = 1;
    w.viewAngle = 12.0f;
    refStepWorld(&w, &s);
    CHECK(w.viewAngle == 12.0f);
}

int main(void) {
    testVectors();
    testRays();
    testHitTests();
    testBallSearch();
    testFloorBounce();
    testNegativeStep();
    testSubStepCap();
    testFading();
    testViewTurn();
    if (failures != 0) {
        fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    puts("all reference checks passed");
    return 0;
}
