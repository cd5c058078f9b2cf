// Cost of the ball physics. Run the release build: torvel-bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "physics/BallCollision.h"
#include "physics/Explosion.h"
#include "physics/HitTest.h"
#include "physics/Step.h"
#include "physics/World.h"

namespace {

constexpr int framesPerRun = 10000;

World startWorld() {
    World world;
    initWorld(world);
    return world;
}

// The first frames of the program with no key pressed, as one batch.
void BM_StepWorldFirstFrames(benchmark::State& state) {
    for (auto _ : state) {
        World world = startWorld();
        for (int frame = 0; frame < framesPerRun; ++frame) {
            benchmark::DoNotOptimize(stepWorld(world));
            ageExplosions(world);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * framesPerRun);  // items = frames
}
BENCHMARK(BM_StepWorldFirstFrames)->Unit(benchmark::kMillisecond);

// The same frames timed one by one: the frame-time distribution (median, 99th percentile,
// worst) is what decides whether a frame ever stalls, which a mean hides.
void BM_StepWorldFrameTimes(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> micros;
    micros.reserve(framesPerRun);
    std::vector<double> all;
    for (auto _ : state) {
        World world = startWorld();
        micros.clear();
        for (int frame = 0; frame < framesPerRun; ++frame) {
            const Clock::time_point begin = Clock::now();
            benchmark::DoNotOptimize(stepWorld(world));
            const Clock::time_point end = Clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
            ageExplosions(world);
        }
        all.insert(all.end(), micros.begin(), micros.end());
    }
    std::sort(all.begin(), all.end());
    const auto at = [&all](double fraction) {
        return all[std::min(all.size() - 1, static_cast<std::size_t>(fraction * all.size()))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = all.back();
}
BENCHMARK(BM_StepWorldFrameTimes)->Unit(benchmark::kMillisecond)->Iterations(5);

// The search at the start of a sub-step: old positions recorded, window = the remaining time.
World withOldPositions(World world) {
    for (int k = 0; k < world.ballCount; ++k) {
        world.ballOldPositions[k] = world.ballPositions[k];
    }
    return world;
}

void runSearch(benchmark::State& state, const World& world, double window) {
    for (auto _ : state) {
        double time = 0.0;
        int first = 0;
        int second = 0;
        benchmark::DoNotOptimize(findBallCollision(world, window, time, first, second));
        benchmark::DoNotOptimize(time);
    }
}

// Equal velocities: every pair is rejected by the line test.
void BM_FindBallCollisionStart(benchmark::State& state) {
    runSearch(state, withOldPositions(startWorld()), 0.6);
}
BENCHMARK(BM_FindBallCollisionStart);

// Ten balls crowded on one line, every pair heading for a contact: most pairs are sampled.
void BM_FindBallCollisionContacts(benchmark::State& state) {
    World world = startWorld();
    for (int k = 0; k < world.ballCount; ++k) {
        world.ballPositions[k] = Vector(-250.0 + 50.0 * k, 0.0, 150.0);
        world.ballVelocities[k] = Vector(k % 2 == 0 ? 1.0 : -1.0, 0.01 * k, 0.0);
    }
    runSearch(state, withOldPositions(world), 20.0);
}
BENCHMARK(BM_FindBallCollisionContacts);

void BM_HitPlane(benchmark::State& state) {
    const World world = startWorld();
    const Vector start(100, -200, 50);
    const Vector direction = unit(Vector(0.5, -1.0, 0.25));
    for (auto _ : state) {
        double distance = 0.0;
        Vector normal;
        benchmark::DoNotOptimize(hitPlane(world.walls[0], start, direction, distance, normal));
        benchmark::DoNotOptimize(distance);
    }
}
BENCHMARK(BM_HitPlane);

void BM_HitCylinder(benchmark::State& state) {
    const World world = startWorld();
    const Vector start(-200, 10, 30);
    const Vector direction = unit(Vector(1.0, -0.2, 0.1));
    for (auto _ : state) {
        double distance = 0.0;
        Vector normal;
        Vector point;
        benchmark::DoNotOptimize(hitCylinder(world.cylinders[0], start, direction, distance, normal, point));
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK(BM_HitCylinder);

}  // namespace

BENCHMARK_MAIN();
