#include <gtest/gtest.h>

#include "physics/Explosion.h"
#include "physics/Sound.h"

namespace {

TEST(Explosion, SpawnTakesTheFirstFreeSlotOrNone) {
    World world;
    initWorld(world);
    world.explosions[0].alpha = 0.5f;
    world.explosions[1].alpha = -0.01f;  // faded out: free again
    ASSERT_TRUE(spawnExplosion(world, Vector(1, 2, 3)));
    EXPECT_EQ(world.explosions[1].alpha, 1.0f);
    EXPECT_EQ(world.explosions[1].scale, 1.0f);
    EXPECT_EQ(world.explosions[1].position.getZ(), 3.0);
    EXPECT_EQ(world.explosions[0].alpha, 0.5f);

    for (Explosion& e : world.explosions) {
        e.alpha = 1e-6f;
    }
    EXPECT_FALSE(spawnExplosion(world, Vector(4, 5, 6)));
    EXPECT_EQ(world.explosions[2].alpha, 1e-6f);
}

TEST(Explosion, FreshSpriteIsAgedAHundredAndOneTimes) {
    Explosion e{Vector(0, 0, 0), 1.0f, 1.0f};
    for (int frame = 1; frame <= 100; ++frame) {
        ASSERT_TRUE(ageExplosion(e));
        ASSERT_GT(e.alpha, 0.0f) << frame;
    }
    EXPECT_LT(e.alpha, 1e-5f);  // float rounding leaves a trace above zero after 100 frames
    ASSERT_TRUE(ageExplosion(e));
    EXPECT_NEAR(e.alpha, -0.01f, 1e-5f);
    EXPECT_NEAR(e.scale, 4.03f, 1e-4f);

    const Explosion faded = e;
    EXPECT_FALSE(ageExplosion(e));
    EXPECT_EQ(e.alpha, faded.alpha);
    EXPECT_EQ(e.scale, faded.scale);
}

TEST(Explosion, FreeStartSlotsAreAgedOnceThenSkipped) {
    World world;
    initWorld(world);
    ageExplosions(world);
    ageExplosions(world);
    for (const Explosion& e : world.explosions) {
        EXPECT_EQ(e.alpha, 0.0f - 0.01f);
        EXPECT_EQ(e.scale, 1.0f + 0.03f);
    }
}

TEST(Sound, RequestsReachOnlyTheInstalledPlayer) {
    requestSound();  // nobody listening: dropped
    int calls = 0;
    setSoundPlayer([](void* context) { ++*static_cast<int*>(context); }, &calls);
    requestSound();
    setSoundPlayer(nullptr, nullptr);
    requestSound();
    EXPECT_EQ(calls, 1);
}

}  // namespace
