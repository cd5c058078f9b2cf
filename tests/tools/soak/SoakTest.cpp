#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tools/soak/Soak.h"

namespace {

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

}  // namespace
