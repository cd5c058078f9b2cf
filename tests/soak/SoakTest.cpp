#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tools/soak/Soak.h"

namespace {

bool parse(std::vector<const char*> args, SoakOptions& options) {
    args.insert(args.begin(), "torvel-soak");
    return parseSoakArgs(static_cast<int>(args.size()), args.data(), options);
}

TEST(Soak, ArgumentsTakeACountAndAFiniteTimeStep) {
    SoakOptions o;
    ASSERT_TRUE(parse({"1000", "--time-step", "2.0"}, o));
    EXPECT_EQ(o.frames, 1000);
    EXPECT_EQ(o.timeStep, 2.0);
    ASSERT_TRUE(parse({"--time-step", "-0.1", "5"}, o));
    EXPECT_EQ(o.timeStep, -0.1);
    EXPECT_EQ(o.frames, 5);

    for (const std::vector<const char*>& bad : {std::vector<const char*>{},
                                                {"-5"},
                                                {"1e3"},
                                                {"10", "20"},
                                                {"10", "--time-step"},
                                                {"10", "--time-step", "nan"},
                                                {"10", "--time-step", "inf"},
                                                {"10", "--time-step", " 1"},
                                                {"10", "--time-step", "1x"},
                                                {"10", "--every", "2"},
                                                {"99999999999999999999"}}) {
        EXPECT_FALSE(parse(bad, o)) << (bad.empty() ? "(none)" : bad[0]);
    }
}

TEST(Soak, FindsTheFirstBallThatIsNoLongerANumber) {
    World world;
    initWorld(world);
    char message[160];
    EXPECT_EQ(findNonFiniteBall(world, message, sizeof message), -1);
    world.ballVelocities[7] = Vector(0, std::numeric_limits<double>::infinity(), 0);
    world.ballPositions[3] = Vector(std::nan(""), 0, 0);
    EXPECT_EQ(findNonFiniteBall(world, message, sizeof message), 3);
    EXPECT_STREQ(message, "ball 3: position (nan, 0, 0), velocity (0.5, -0.1, 0.5)") << message;
}

TEST(Soak, PercentilesAreReadOffTheCounts) {
    std::vector<std::uint32_t> buckets(soakTimingBuckets);
    FrameTimes times(buckets.data());
    EXPECT_EQ(times.percentile(0.5), 0);
    for (int ns : {300, 100, 200, 400, 5000000}) {
        times.add(ns);
    }
    EXPECT_EQ(times.percentile(0.5), 300);
    EXPECT_EQ(times.percentile(0.2), 100);
    EXPECT_EQ(times.percentile(0.99), soakTimingBuckets - 1);  // beyond the counts: the top bucket
}

TEST(Soak, AShortRunOfTheStartSceneStaysWithinBounds) {
    std::vector<std::uint32_t> first(soakTimingBuckets), all(soakTimingBuckets);
    FrameTimes firstTimes(first.data()), allTimes(all.data());
    const SoakResult r = runSoak(SoakOptions{2000, 2.0}, 100, firstTimes, allTimes);
    EXPECT_EQ(r.failedFrame, 0) << r.failure;
    EXPECT_EQ(r.framesRun, 2000);
    EXPECT_EQ(firstTimes.total, 100);
    EXPECT_EQ(allTimes.total, 2000);
    EXPECT_GE(r.largestSubsteps, 2);  // collisions do happen within two thousand frames
    EXPECT_LE(r.largestSubsteps, soakSubstepLimit);
    EXPECT_GT(r.spawns, 0);
}

}  // namespace
