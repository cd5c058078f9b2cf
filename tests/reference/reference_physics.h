/* Second, independent implementation of the ball physics in plain C.
 *
 * It exists only to check the C++ physics bit for bit: every double operation
 * is written out one at a time in the same order the C++ side must use, so any
 * reordering or fused operation on either side shows up as a trace difference.
 */
#ifndef TORVEL_REFERENCE_PHYSICS_H
#define TORVEL_REFERENCE_PHYSICS_H

enum { REF_INVALID = 0, REF_DEFAULT = 1, REF_UNIT = 2 };

typedef struct RefVec {
    double x, y, z;
    int status;
} RefVec;

typedef struct RefRay {
    RefVec point;
    RefVec direction;
} RefRay;

typedef struct RefPlane {
    RefVec point;
    RefVec normal;
} RefPlane;

typedef struct RefCylinder {
    RefRay axis;
    double radius;
} RefCylinder;

typedef struct RefExplosion {
    RefVec position;
    float alpha;
    float scale;
} RefExplosion;

enum { REF_MAX_BALLS = 10, REF_WALLS = 5, REF_CYLINDERS = 3, REF_SLOTS = 20 };

/* A frame may answer at most this many events before the last sub-step just
 * moves the balls: balls stuck in each other would otherwise loop for ever. */
enum { REF_MAX_SUBSTEPS = 100 };

typedef struct RefWorld {
    int ballCount;
    RefVec ballPositions[REF_MAX_BALLS];
    RefVec ballVelocities[REF_MAX_BALLS];
    RefVec ballOldPositions[REF_MAX_BALLS];
    RefVec gravity;
    RefVec startVelocity;
    RefPlane walls[REF_WALLS];
    RefCylinder cylinders[REF_CYLINDERS];
    RefExplosion explosions[REF_SLOTS];
    double timeStep;
    int soundOn;
    float viewAngle;
    int cameraMode;
} RefWorld;

/* What one frame did, for the trace. */
typedef struct RefFrameStats {
    int substeps;
    int sounds;
    int spawns;
} RefFrameStats;

RefVec refInvalid(void);
RefVec refVec(double x, double y, double z);
RefVec refAdd(RefVec a, RefVec b);
RefVec refSub(RefVec a, RefVec b);
RefVec refScale(RefVec v, double s);
RefVec refNegate(RefVec v);
RefVec refCross(RefVec a, RefVec b);
double refDot(RefVec a, RefVec b);
double refLength(RefVec v);
double refDistance(RefVec a, RefVec b);
void refNormalize(RefVec* v);
RefVec refUnit(RefVec v);

RefRay refRay(RefVec point, RefVec second);
int refRayIsValid(const RefRay* r);
double refRayDistanceToPoint(const RefRay* r, RefVec q);

int refHitPlane(const RefPlane* plane, RefVec start, RefVec direction, double* distance, RefVec* normal);
int refHitCylinder(const RefCylinder* cyl, RefVec start, RefVec direction, double* distance, RefVec* normal,
                   RefVec* point);

/* The world as the program finds it before any code runs. */
void refWorldAtStart(RefWorld* w);
void refInitWorld(RefWorld* w);

int refFindBallCollision(const RefWorld* w, double window, double* time, int* first, int* second);
void refStepWorld(RefWorld* w, RefFrameStats* stats);
/* Explosion fading and growth that the drawing applies once per frame. */
void refAgeExplosions(RefWorld* w);

#endif
