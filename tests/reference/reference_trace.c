/* Prints the reference physics frame by frame in the same text form as the
 * project's trace tool, so that the two can be compared byte for byte. */
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "reference_physics.h"

static const char usage[] = "usage: torvel-reference-trace FRAMES [--every K] [--time-step X]\n";

static int badArguments(void) {
    fputs(usage, stderr);
    return 2;
}

/* A whole decimal count of at least `least`, nothing else. */
static int parseCount(const char* text, long least, long* out) {
    if (text[0] < '0' || text[0] > '9')
        return 0;
    errno = 0;
    char* end = NULL;
    long value = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < least)
        return 0;
    *out = value;
    return 1;
}

static int parseFinite(const char* text, double* out) {
    if (text[0] == '\0')
        return 0;
    errno = 0;
    char* end = NULL;
    double value = strtod(text, &end);
    if (errno != 0 || *end != '\0' || !isfinite(value))
        return 0;
    *out = value;
    return 1;
}

static void printFrame(const RefWorld* w, long frame, const RefFrameStats* s) {
    printf("frame %ld substeps %d sounds %d spawns %d viewAngle %.9g\n", frame, s->substeps, s->sounds,
           s->spawns, (double)w->viewAngle);
    for (int i = 0; i < w->ballCount; ++i) {
        const RefVec* p = &w->ballPositions[i];
        const RefVec* v = &w->ballVelocities[i];
        printf("ball %d %.17g %.17g %.17g %.17g %.17g %.17g\n", i, p->x, p->y, p->z, v->x, v->y, v->z);
    }
    for (int k = 0; k < REF_SLOTS; ++k) {
        const RefExplosion* e = &w->explosions[k];
        if (e->alpha > 0.0f)
            printf("explosion %d %.9g %.9g %.17g %.17g %.17g\n", k, (double)e->alpha, (double)e->scale,
                   e->position.x, e->position.y, e->position.z);
    }
}

int main(int argc, char** argv) {
    long frames = 0;
    long every = 1;
    double timeStep = 0.6;
    int haveFrames = 0;

    for (int a = 1; a < argc; ++a) {
        if (strcmp(argv[a], "--every") == 0) {
            if (a + 1 >= argc || !parseCount(argv[a + 1], 1, &every))
                return badArguments();
            ++a;
        } else if (strcmp(argv[a], "--time-step") == 0) {
            if (a + 1 >= argc || !parseFinite(argv[a + 1], &timeStep))
                return badArguments();
            ++a;
        } else if (!haveFrames && parseCount(argv[a], 0, &frames)) {
            haveFrames = 1;
        } else {
            return badArguments();
        }
    }
    if (!haveFrames)
        return badArguments();

    static RefWorld world;
    refWorldAtStart(&world);
    world.timeStep = timeStep;
    refInitWorld(&world);

    for (long n = 1; n <= frames; ++n) {
        RefFrameStats stats;
        refStepWorld(&world, &stats);
        refAgeExplosions(&world);
        if (n % every == 0 || n == frames)
            printFrame(&world, n, &stats);
    }
    return fflush(stdout) == 0 ? 0 : 1;
}
