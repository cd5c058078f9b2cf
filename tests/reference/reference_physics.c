#include "reference_physics.h"

#include <math.h>
#include <string.h>

/* ---- vectors ---------------------------------------------------------- */

RefVec refInvalid(void) {
    RefVec v = {0.0, 0.0, 0.0, REF_INVALID};
    return v;
}

RefVec refVec(double x, double y, double z) {
    RefVec v = {x, y, z, REF_DEFAULT};
    return v;
}

RefVec refAdd(RefVec a, RefVec b) {
    if (a.status == REF_INVALID || b.status == REF_INVALID)
        return refInvalid();
    return refVec(a.x + b.x, a.y + b.y, a.z + b.z);
}

RefVec refSub(RefVec a, RefVec b) {
    if (a.status == REF_INVALID || b.status == REF_INVALID)
        return refInvalid();
    return refVec(a.x - b.x, a.y - b.y, a.z - b.z);
}

RefVec refScale(RefVec v, double s) {
    if (v.status == REF_INVALID)
        return refInvalid();
    return refVec(v.x * s, v.y * s, v.z * s);
}

RefVec refNegate(RefVec v) {
    if (v.status == REF_INVALID)
        return refInvalid();
    RefVec r = {-v.x, -v.y, -v.z, v.status};
    return r;
}

RefVec refCross(RefVec a, RefVec b) {
    if (a.status == REF_INVALID || b.status == REF_INVALID)
        return refInvalid();
    double x = a.y * b.z - a.z * b.y;
    double y = a.z * b.x - a.x * b.z;
    double z = a.x * b.y - a.y * b.x;
    return refVec(x, y, z);
}

double refDot(RefVec a, RefVec b) {
    if (a.status == REF_INVALID || b.status == REF_INVALID)
        return 0.0;
    double p = a.x * b.x;
    p = p + a.y * b.y;
    p = p + a.z * b.z;
    return p;
}

double refLength(RefVec v) {
    if (v.status == REF_INVALID)
        return 0.0;
    if (v.status == REF_UNIT)
        return 1.0;
    double s = v.x * v.x;
    s = s + v.y * v.y;
    s = s + v.z * v.z;
    return sqrt(s);
}

double refDistance(RefVec a, RefVec b) {
    return refLength(refSub(a, b));
}

void refNormalize(RefVec* v) {
    if (v->status != REF_DEFAULT)
        return;
    double len = refLength(*v);
    if (len >= 1e-8) {
        double r = 1.0 / len;
        v->x = r * v->x;
        v->y = r * v->y;
        v->z = r * v->z;
    } else {
        /* Also taken for a NaN length. */
        v->x = 0.0;
        v->y = 0.0;
        v->z = 0.0;
    }
    v->status = REF_UNIT;
}

RefVec refUnit(RefVec v) {
    refNormalize(&v);
    return v;
}

/* ---- rays ------------------------------------------------------------- */

RefRay refRay(RefVec point, RefVec second) {
    RefRay r;
    r.point = point;
    if (second.status == REF_UNIT)
        r.direction = second;
    else
        r.direction = refUnit(refSub(second, point));
    return r;
}

int refRayIsValid(const RefRay* r) {
    return r->direction.status == REF_UNIT && r->point.status != REF_INVALID;
}

double refRayDistanceToPoint(const RefRay* r, RefVec q) {
    if (!refRayIsValid(r) || q.status == REF_INVALID)
        return 0.0;
    RefVec v = refSub(q, r->point);
    double t = refDot(r->direction, v);
    RefVec f = refAdd(r->point, refScale(r->direction, t));
    return refDistance(q, f);
}

/* ---- hit tests -------------------------------------------------------- */

int refHitPlane(const RefPlane* plane, RefVec start, RefVec direction, double* distance, RefVec* normal) {
    double denominator = refDot(direction, plane->normal);
    if (denominator < 1e-8 && denominator > -1e-8)
        return 0;
    double d = refDot(plane->normal, refSub(plane->point, start)) / denominator;
    if (d < -1e-8)
        return 0;
    *distance = d;
    *normal = plane->normal;
    return 1;
}

int refHitCylinder(const RefCylinder* cyl, RefVec start, RefVec direction, double* distance, RefVec* normal,
                   RefVec* point) {
    RefVec a = cyl->axis.point;
    RefVec u = cyl->axis.direction;
    double radius = cyl->radius;

    RefVec rc = refSub(start, a);
    RefVec n = refCross(direction, u);
    double ln = refLength(n);
    if (ln < 1e-8 && ln > -1e-8)
        return 0;
    refNormalize(&n);
    double d = fabs(refDot(rc, n));
    if (d > radius)
        return 0;
    double t = -refDot(refCross(rc, u), n) / ln;
    RefVec o = refCross(n, u);
    refNormalize(&o);
    double s = fabs(sqrt(radius * radius - d * d) / refDot(direction, o));
    double nearD = t - s;
    double farD = t + s;

    double chosen;
    if (nearD < -1e-8 && farD < -1e-8)
        return 0;
    else if (nearD < -1e-8)
        chosen = farD;
    else if (farD < -1e-8)
        chosen = nearD;
    else
        chosen = nearD < farD ? nearD : farD;

    RefVec p = refAdd(start, refScale(direction, chosen));
    RefVec hb = refSub(p, a);
    RefVec radial = refSub(hb, refScale(u, refDot(hb, u)));
    refNormalize(&radial);

    *distance = chosen;
    *normal = radial;
    *point = p;
    return 1;
}

/* ---- world ------------------------------------------------------------ */

void refWorldAtStart(RefWorld* w) {
    memset(w, 0, sizeof *w);
    w->ballCount = 0;
    for (int k = 0; k < REF_MAX_BALLS; ++k) {
        w->ballPositions[k] = refInvalid();
        w->ballVelocities[k] = refInvalid();
        w->ballOldPositions[k] = refInvalid();
    }
    w->gravity = refVec(0.0, -0.05, 0.0);
    w->startVelocity = refVec(0.5, -0.1, 0.5);
    for (int k = 0; k < REF_WALLS; ++k) {
        w->walls[k].point = refInvalid();
        w->walls[k].normal = refInvalid();
    }
    for (int k = 0; k < REF_CYLINDERS; ++k) {
        w->cylinders[k].axis.point = refInvalid();
        w->cylinders[k].axis.direction = refInvalid();
        w->cylinders[k].radius = 0.0;
    }
    for (int k = 0; k < REF_SLOTS; ++k) {
        w->explosions[k].position = refInvalid();
        w->explosions[k].alpha = 0.0f;
        w->explosions[k].scale = 0.0f;
    }
    w->timeStep = 0.6;
    w->soundOn = 1;
    w->viewAngle = 0.0f;
    w->cameraMode = 0;
}

void refInitWorld(RefWorld* w) {
    w->walls[0].point = refVec(0.0, -300.0, 0.0);
    w->walls[0].normal = refVec(0.0, 1.0, 0.0);
    w->walls[1].point = refVec(300.0, 0.0, 0.0);
    w->walls[1].normal = refVec(-1.0, 0.0, 0.0);
    w->walls[2].point = refVec(-300.0, 0.0, 0.0);
    w->walls[2].normal = refVec(1.0, 0.0, 0.0);
    w->walls[3].point = refVec(0.0, 0.0, 300.0);
    w->walls[3].normal = refVec(0.0, 0.0, -1.0);
    w->walls[4].point = refVec(0.0, 0.0, -300.0);
    w->walls[4].normal = refVec(0.0, 0.0, 1.0);

    w->cylinders[0].axis.point = refVec(0.0, 0.0, 0.0);
    w->cylinders[0].axis.direction = refVec(0.0, 1.0, 0.0);
    w->cylinders[0].radius = 80.0;
    w->cylinders[1].axis.point = refVec(200.0, -300.0, 0.0);
    w->cylinders[1].axis.direction = refVec(0.0, 0.0, 1.0);
    w->cylinders[1].radius = 80.0;
    w->cylinders[2].axis.point = refVec(-200.0, 0.0, 0.0);
    w->cylinders[2].axis.direction = refVec(0.0, 1.0, 1.0);
    refNormalize(&w->cylinders[2].axis.direction);
    w->cylinders[2].radius = 50.0;

    w->ballCount = 10;
    for (int k = 0; k < 10; ++k) {
        w->ballVelocities[k] = w->startVelocity;
        if (k == 0)
            w->ballPositions[k] = refVec(199.0, 180.0, 10.0);
        else if (k == 1)
            w->ballPositions[k] = refVec(0.0, 150.0, 100.0);
        else if (k == 2)
            w->ballPositions[k] = refVec(-100.0, 180.0, -100.0);
        else
            w->ballPositions[k] = refVec((double)(75 * k - 500), 300.0, (double)(50 * k - 500));
        w->explosions[k].alpha = 0.0f;
        w->explosions[k].scale = 1.0f;
    }
    for (int k = 10; k < REF_SLOTS; ++k) {
        w->explosions[k].alpha = 0.0f;
        w->explosions[k].scale = 1.0f;
    }
}

/* ---- ball search ------------------------------------------------------ */

int refFindBallCollision(const RefWorld* w, double window, double* time, int* first, int* second) {
    double dt = window / 150.0;
    double best = 10000.0;
    int bestFirst = 0;
    int bestSecond = 0;
    for (int i = 0; i < w->ballCount - 1; ++i) {
        for (int j = i + 1; j < w->ballCount; ++j) {
            RefVec rel = refSub(w->ballVelocities[i], w->ballVelocities[j]);
            RefRay line = refRay(w->ballOldPositions[i], refUnit(rel));
            if (refRayDistanceToPoint(&line, w->ballOldPositions[j]) > 40.0)
                continue;
            double t = 0.0;
            while (t < window) {
                t = t + dt;
                RefVec candidate = refAdd(w->ballOldPositions[i], refScale(rel, t));
                if (refDistance(candidate, w->ballOldPositions[j]) <= 40.0) {
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
    if (best == 10000.0)
        return 0;
    *time = best;
    *first = bestFirst;
    *second = bestSecond;
    return 1;
}

/* ---- simulation step -------------------------------------------------- */

static int spawnExplosion(RefWorld* w, RefVec p) {
    for (int k = 0; k < REF_SLOTS; ++k) {
        if (w->explosions[k].alpha <= 0.0f) {
            w->explosions[k].alpha = 1.0f;
            w->explosions[k].position = p;
            w->explosions[k].scale = 1.0f;
            return 1;
        }
    }
    return 0;
}

static void moveAllTo(RefWorld* w, double t) {
    for (int k = 0; k < w->ballCount; ++k)
        w->ballPositions[k] = refAdd(w->ballOldPositions[k], refScale(w->ballVelocities[k], t));
}

void refStepWorld(RefWorld* w, RefFrameStats* stats) {
    stats->substeps = 0;
    stats->sounds = 0;
    stats->spawns = 0;

    if (w->cameraMode == 0) {
        w->viewAngle = w->viewAngle + 0.1f;
        if (w->viewAngle > 360.0f)
            w->viewAngle = 0.0f;
    }

    double remaining = w->timeStep;
    for (int k = 0; k < w->ballCount; ++k)
        w->ballVelocities[k] = refAdd(w->ballVelocities[k], refScale(w->gravity, remaining));

    while (remaining > 1e-8) {
        if (stats->substeps == REF_MAX_SUBSTEPS - 1) {
            /* Out of sub-steps: the balls take their straight paths for the rest of the frame. */
            for (int i = 0; i < w->ballCount; ++i) {
                w->ballOldPositions[i] = w->ballPositions[i];
                w->ballPositions[i] = refAdd(w->ballPositions[i], refScale(w->ballVelocities[i], remaining));
            }
            stats->substeps += 1;
            break;
        }
        stats->substeps += 1;

        double earliest = 10000.0;
        int hitBall = 0;
        RefVec hitNormal = refInvalid();
        RefVec hitPoint = refInvalid();
        for (int i = 0; i < w->ballCount; ++i) {
            w->ballOldPositions[i] = w->ballPositions[i];
            RefVec direction = refUnit(w->ballVelocities[i]);
            w->ballPositions[i] = refAdd(w->ballPositions[i], refScale(w->ballVelocities[i], remaining));
            double travel = refDistance(w->ballOldPositions[i], w->ballPositions[i]);
            RefVec start = w->ballOldPositions[i];
            for (int o = 0; o < REF_WALLS + REF_CYLINDERS; ++o) {
                double l = 0.0;
                RefVec n = refInvalid();
                RefVec p = refInvalid();
                int hit;
                if (o < REF_WALLS)
                    hit = refHitPlane(&w->walls[o], start, direction, &l, &n);
                else
                    hit = refHitCylinder(&w->cylinders[o - REF_WALLS], start, direction, &l, &n, &p);
                if (!hit)
                    continue;
                double t = (l * remaining) / travel;
                if (t <= earliest && t <= remaining + 1e-8 && (l > 1e-8 || refDot(direction, n) <= 1e-8)) {
                    hitNormal = n;
                    hitPoint = o < REF_WALLS ? refAdd(start, refScale(direction, l)) : p;
                    earliest = t;
                    hitBall = i;
                }
            }
        }

        double ballTime = 0.0;
        int a = 0;
        int b = 0;
        if (refFindBallCollision(w, remaining, &ballTime, &a, &b)) {
            if (w->soundOn != 0)
                stats->sounds += 1;
            if (earliest == 10000.0 || earliest > ballTime) {
                double t = ballTime;
                remaining = remaining - t;
                RefVec pa = refAdd(w->ballOldPositions[a], refScale(w->ballVelocities[a], t));
                RefVec pb = refAdd(w->ballOldPositions[b], refScale(w->ballVelocities[b], t));
                RefVec n = refSub(pb, pa);
                refNormalize(&n);
                RefVec ua = refScale(n, refDot(n, w->ballVelocities[a]));
                RefVec wa = refSub(w->ballVelocities[a], ua);
                RefVec m = refSub(pa, pb);
                refNormalize(&m);
                RefVec ub = refScale(m, refDot(m, w->ballVelocities[b]));
                RefVec wb = refSub(w->ballVelocities[b], ub);
                RefVec va = refScale(refSub(refAdd(ua, ub), refSub(ua, ub)), 0.5);
                RefVec vb = refScale(refSub(refAdd(ua, ub), refSub(ub, ua)), 0.5);
                moveAllTo(w, t);
                w->ballVelocities[a] = refAdd(va, wa);
                w->ballVelocities[b] = refAdd(vb, wb);
                stats->spawns += spawnExplosion(w, w->ballPositions[a]);
                continue;
            }
        }

        if (earliest != 10000.0) {
            double t = earliest;
            remaining = remaining - t;
            moveAllTo(w, t);
            RefVec* v = &w->ballVelocities[hitBall];
            double speed = refLength(*v);
            refNormalize(v);
            double f = 2.0 * refDot(hitNormal, refNegate(*v));
            *v = refScale(refUnit(refAdd(refScale(hitNormal, f), *v)), speed);
            stats->spawns += spawnExplosion(w, hitPoint);
        } else {
            remaining = 0.0;
        }
    }
}

void refAgeExplosions(RefWorld* w) {
    for (int k = 0; k < REF_SLOTS; ++k) {
        RefExplosion* e = &w->explosions[k];
        if (!(e->alpha < 0.0f)) {
            e->alpha = e->alpha - 0.01f;
            e->scale = e->scale + 0.03f;
        }
    }
}
