#include <gtest/gtest.h>

#include "physics/Explosion.h"
#include "physics/Sound.h"

namespace {

TEST(Explosion, SpawnFillsTheFirstFreeSlot) {
    World world;
    initWorld(world);
    world.explosions[0].alpha = 0.5f;
    world.explosions[1].alpha = -0.01f;  // faded out: free again
    ASSERT_TRUE(spawnExplosion(world, Vector(1, 2, 3)));
    const Explosion& e = world.explosions[1];
    EXPECT_EQ(e.alpha, 1.0f);
    EXPECT_EQ(e.scale, 1.0f);
    EXPECT_EQ(e.position.getX(), 1.0);
    EXPECT_EQ(e.position.getZ(), 3.0);
    EXPECT_EQ(world.explosions[0].alpha, 0.5f);
    EXPECT_EQ(world.explosions[2].alpha, 0.0f);
}

TEST(Explosion, SpawnWithEverySlotBusyChangesNothing) {
    World world;
    initWorld(world);
    for (Explosion& e : world.explosions) {
        e.alpha = 1e-6f;
    }
    EXPECT_FALSE(spawnExplosion(world, Vector(1, 2, 3)));
    for (const Explosion& e : world.explosions) {
        EXPECT_EQ(e.alpha, 1e-6f);
        EXPECT_FALSE(e.position.isValid());
    }
}

TEST(Explosion, FreshSpriteFadesOverAHundredAndOneFrames) {
    Explosion e{Vector(0, 0, 0), 1.0f, 1.0f};
    for (int frame = 1; frame <= 99; ++frame) {
        ASSERT_TRUE(ageExplosion(e));
        ASSERT_GT(e.alpha, 0.0f) << frame;
    }
    ASSERT_TRUE(ageExplosion(e));  // the 100th: float rounding leaves a trace above zero
    EXPECT_GT(e.alpha, 0.0f);
    EXPECT_LT(e.alpha, 1e-5f);
    ASSERT_TRUE(ageExplosion(e));  // the 101st goes below zero
    EXPECT_NEAR(e.alpha, -0.01f, 1e-5f);
    EXPECT_NEAR(e.scale, 4.03f, 1e-4f);

    const Explosion faded = e;
    EXPECT_FALSE(ageExplosion(e));
    EXPECT_EQ(e.alpha, faded.alpha);
    EXPECT_EQ(e.scale, faded.scale);
}

TEST(Explosion, FreeSlotIsAgedOnceThenSkipped) {
    World world;
    initWorld(world);
    ageExplosions(world);
    for (const Explosion& e : world.explosions) {
        EXPECT_EQ(e.alpha, 0.0f - 0.01f);
        EXPECT_EQ(e.scale, 1.0f + 0.03f);
    }
    ageExplosions(world);
    EXPECT_EQ(world.explosions[19].scale, 1.0f + 0.03f);
}

TEST(Sound, RequestsReachTheInstalledPlayerOnly) {
    requestSound();  // nobody listening: dropped
    int calls = 0;
    setSoundPlayer([](void* context) { ++*static_cast<int*>(context); }, &calls);
    requestSound();
    requestSound();
    setSoundPlayer(nullptr, nullptr);
    requestSound();
    EXPECT_EQ(calls, 2);
}

}  // namespace
