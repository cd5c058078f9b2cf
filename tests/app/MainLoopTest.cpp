#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "app/MainLoop.h"
#include "physics/World.h"

namespace {

void expectSameVector(const Vector& a, const Vector& b) {
    EXPECT_EQ(a.getX(), b.getX());
    EXPECT_EQ(a.getY(), b.getY());
    EXPECT_EQ(a.getZ(), b.getZ());
    EXPECT_EQ(a.getStatus(), b.getStatus());
}

void expectSameWorld(const World& a, const World& b) {
    EXPECT_EQ(a.ballCount, b.ballCount);
    for (int k = 0; k < maxBalls; ++k) {
        expectSameVector(a.ballPositions[k], b.ballPositions[k]);
        expectSameVector(a.ballVelocities[k], b.ballVelocities[k]);
    }
    for (int k = 0; k < explosionSlots; ++k) {
        EXPECT_EQ(a.explosions[k].alpha, b.explosions[k].alpha);
    }
    EXPECT_EQ(a.timeStep, b.timeStep);
    EXPECT_EQ(a.soundOn, b.soundOn);
    expectSameVector(a.cameraPosition, b.cameraPosition);
    EXPECT_EQ(a.viewAngle, b.viewAngle);
    EXPECT_EQ(a.cameraMode, b.cameraMode);
}

class MainLoopTest : public ::testing::Test {
  protected:
    int run() { return runMainLoop(shell); }

    FakePlatform platform;
    World world;
    Shell shell{platform, fakeSceneCalls(), world, ShellState{}, KeyTable{}};
};

TEST_F(MainLoopTest, NoToTheQuestionOpensTheStartWindowWindowedAndEscapeEndsWithStatus0) {
    platform.idle(2);
    platform.keyDown(keys::escape);
    platform.idle(5);

    EXPECT_EQ(run(), 0);

    ASSERT_EQ(platform.messageTexts.size(), 1u);
    EXPECT_EQ(platform.messageTexts[0], "Start FullScreen?|Would You Like To Run In Fullscreen Mode?");
    ASSERT_EQ(platform.titles.size(), 1u);
    EXPECT_EQ(platform.titles[0], "Torvel Square Room");
    EXPECT_EQ(platform.fullscreenWindows[0], 0);
    EXPECT_EQ(countCalls("setFullscreenMode 640x480x16"), 0);
    EXPECT_EQ(world.ballCount, 10);  // laid out by the loop
    // Two frames, then the pass that sees Escape draws nothing and the loop ends.
    EXPECT_EQ(platform.swaps, 2);
    EXPECT_EQ(platform.emptyPolls, 3);
    // Shutdown: textures while the context is current, then everything released.
    EXPECT_LT(firstCall("deleteTextures"), firstCall("deleteContext"));
    EXPECT_EQ(platform.windowsHeld, 0);
    EXPECT_EQ(platform.contextsHeld, 0);
}

TEST_F(MainLoopTest, OpeningRunsItsStepsInOrderAndYesGoesFullscreen) {
    platform.answers = {MessageAnswer::Yes};
    platform.keyDown(keys::escape);

    EXPECT_EQ(run(), 0);

    const std::vector<std::string> opening = {
        "message Start FullScreen?",
        "setFullscreenMode 640x480x16",
        "hideCursor",
        "createWindow",
        "createContext",
        "showWindow",
        "setupProjection 640x480",
        "setupRendering",
    };
    ASSERT_GE(callLog().size(), opening.size());
    EXPECT_EQ(std::vector<std::string>(callLog().begin(), callLog().begin() + opening.size()), opening);
    EXPECT_EQ(platform.fullscreenWindows[0], 1);
    // Leaving fullscreen gives the desktop mode and the cursor back.
    EXPECT_GE(firstCall("restoreDisplayMode"), 0);
    EXPECT_EQ(countCalls("showCursor"), 1);
}

TEST_F(MainLoopTest, PendingMessagesAreTakenOnePerPassBeforeAnyFrame) {
    platform.keyDown(keys::left);
    platform.message(MessageKind::Other);
    platform.keyDown(keys::up);
    platform.idle(1);
    platform.keyDown(keys::escape);

    EXPECT_EQ(run(), 0);

    const auto& log = callLog();
    const int firstStep = firstCall("stepWorld");
    ASSERT_GE(firstStep, 3);
    EXPECT_EQ(log[firstStep - 1], "message-taken");
    EXPECT_EQ(log[firstStep - 2], "message-taken");
    EXPECT_EQ(log[firstStep - 3], "message-taken");
    EXPECT_EQ(countCalls("stepWorld"), 1);
    // Both keys had arrived before the one frame: its commands saw them.
    EXPECT_FLOAT_EQ(world.viewAngle, 2.0f);  // the fake step leaves the angle alone
}

TEST_F(MainLoopTest, WhileMinimisedNoFramesNoKeyCommandsAndEscapeWaits) {
    platform.message(MessageKind::Minimised);
    platform.keyDown(keys::left);
    platform.keyDown(keys::keypadPlus);
    platform.keyDown(keys::escape);
    platform.idle(20);
    platform.message(MessageKind::Restored);
    platform.idle(5);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(countCalls("stepWorld"), 0);
    EXPECT_EQ(platform.swaps, 0);
    EXPECT_EQ(platform.emptyPolls, 21);  // the first pass after restoring ends the loop
    // That pass still ran the key commands, once.
    EXPECT_FLOAT_EQ(world.viewAngle, 2.0f);
    EXPECT_DOUBLE_EQ(world.timeStep, 0.6 + 0.1);
}

TEST_F(MainLoopTest, CloseEndsTheLoopOnTheNextPassEvenWhileMinimised) {
    platform.message(MessageKind::Minimised);
    platform.idle(3);
    platform.message(MessageKind::Close);
    platform.keyDown(keys::left);  // never taken: the quit comes first

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(countCalls("message-taken"), 2);
    EXPECT_EQ(platform.swaps, 0);
    EXPECT_EQ(countCalls("deleteTextures"), 1);
    EXPECT_EQ(platform.windowsHeld, 0);
}

TEST_F(MainLoopTest, HeldKeysActEveryFrameOneShotKeysOncePerKeyDown) {
    platform.keyDown(keys::left);
    platform.keyDown(keys::up);
    platform.keyDown(keys::keypadPlus);
    platform.keyDown(keys::f3);
    platform.idle(5);
    platform.keyDown(keys::keypadPlus);  // an auto-repeat of the held key
    platform.idle(5);
    platform.keyUp(keys::left);
    platform.keyUp(keys::up);
    platform.keyDown(keys::right);
    platform.keyDown(keys::down);
    platform.idle(3);
    platform.keyDown(keys::escape);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(platform.swaps, 13);
    EXPECT_FLOAT_EQ(world.viewAngle, 2.0f * 10 - 2.0f * 3);
    EXPECT_DOUBLE_EQ(world.cameraPosition.getZ(), 1000.0 - 10.0 * 10 + 10.0 * 3);
    EXPECT_DOUBLE_EQ(world.cameraPosition.getY(), -50.0);
    EXPECT_DOUBLE_EQ(world.timeStep, 0.6 + 0.1 + 0.1);
    EXPECT_EQ(world.soundOn, 0);
    EXPECT_EQ(shell.keyTable[keys::keypadPlus], 0);
    EXPECT_EQ(shell.keyTable[keys::right], 1);  // held keys keep their flag
}

TEST_F(MainLoopTest, EscapeStillLetsThatPassRebuildWithF1) {
    platform.idle(1);
    platform.keyDown(keys::f1);
    platform.keyDown(keys::escape);
    platform.idle(5);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(platform.swaps, 1);
    ASSERT_EQ(platform.titles.size(), 2u);
    EXPECT_EQ(platform.titles[1], "Torvel Room");
    EXPECT_EQ(platform.fullscreenWindows[1], 1);
    EXPECT_EQ(countCalls("deleteTextures"), 1);
    EXPECT_GT(firstCall("deleteTextures"), firstCall("setupRendering") + 1);
}

TEST_F(MainLoopTest, F1TwiceReturnsToTheFirstModeWithTheWorldUntouched) {
    platform.idle(1);
    platform.keyDown(keys::f1);
    platform.idle(1);
    platform.keyDown(keys::f1);
    platform.idle(1);
    World before;
    initWorld(before);
    platform.keyDown(keys::escape);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(platform.titles,
              (std::vector<std::string>{"Torvel Square Room", "Torvel Room", "Torvel Room"}));
    EXPECT_EQ(platform.fullscreenWindows, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(shell.state.fullscreen, 0);
    EXPECT_EQ(countCalls("setupRendering"), 3);
    // Only the fullscreen window gave the display mode back.
    EXPECT_EQ(countCalls("restoreDisplayMode"), 1);
    EXPECT_EQ(countCalls("deleteTextures"), 1);
    EXPECT_EQ(platform.windowsHeld, 0);
    EXPECT_EQ(platform.contextsHeld, 0);
    // Three frames moved ball 0 by 3 (the fake step); a World laid out again would not show it.
    EXPECT_EQ(platform.swaps, 3);
    EXPECT_EQ(world.ballPositions[0].getX(), before.ballPositions[0].getX() + 3.0);
    before.ballPositions[0] = world.ballPositions[0];
    expectSameWorld(before, world);
}

TEST_F(MainLoopTest, AFailedRebuildEndsTheProgramAtOnceWithStatus1) {
    platform.failingWindow = 2;
    platform.idle(1);
    platform.keyDown(keys::f1);
    platform.idle(5);

    EXPECT_EQ(run(), 1);

    EXPECT_EQ(platform.swaps, 2);  // the pass that sees F1 draws its frame first
    EXPECT_EQ(platform.messageTexts.back(), "ERROR|Window Creation Error.");
    EXPECT_EQ(countCalls("deleteTextures"), 0);  // no shutdown steps
    // The failed opening closed again: the display mode it had asked for is restored.
    EXPECT_EQ(platform.windowsHeld, 0);
    EXPECT_EQ(countCalls("restoreDisplayMode"), 1);
    EXPECT_EQ(countCalls("destroyWindow"), 1);
}

TEST_F(MainLoopTest, AFailedFirstOpeningEndsWithStatus1) {
    platform.failingWindow = 1;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(platform.messageTexts.back(), "ERROR|Window Creation Error.");
    EXPECT_EQ(countCalls("message-taken"), 0);
}

TEST_F(MainLoopTest, KeypadPlusAndMinusHaveNoBounds) {
    for (int i = 0; i < 8; ++i) {
        platform.keyDown(keys::keypadMinus);
        platform.idle(1);
    }
    platform.keyDown(keys::escape);

    EXPECT_EQ(run(), 0);

    double expected = 0.6;
    for (int i = 0; i < 8; ++i) {
        expected -= 0.1;
    }
    EXPECT_DOUBLE_EQ(world.timeStep, expected);
    EXPECT_LT(world.timeStep, 0.0);
}

TEST_F(MainLoopTest, F2SwitchesTheCameraAndResetsTheViewAngle) {
    platform.keyDown(keys::left);
    platform.idle(3);
    platform.keyDown(keys::f2);
    platform.keyUp(keys::left);
    platform.idle(1);
    platform.keyDown(keys::escape);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(world.cameraMode, 1);
    EXPECT_FLOAT_EQ(world.viewAngle, 0.0f);
}

}  // namespace
