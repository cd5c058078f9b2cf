#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "app/Window.h"
#include "physics/World.h"

namespace {

class WindowTest : public ::testing::Test {
  protected:
    int open(int fullscreen) { return openGlWindow(shell, "Torvel Room", 640, 480, 16, fullscreen); }

    FakePlatform platform;
    World world;
    Shell shell{platform, fakeSceneCalls(), world, ShellState{}, KeyTable{}};
};

TEST_F(WindowTest, RefusedFullscreenModeAsksAndYesGoesOnWindowed) {
    platform.fullscreenSupported = false;
    platform.answers = {MessageAnswer::Yes};

    EXPECT_EQ(open(1), 1);

    EXPECT_EQ(platform.messageTexts,
              (std::vector<std::string>{"Quarn GL|The Requested Fullscreen Mode Is Not Supported By\n"
                                        "Your Video Card. Use Windowed Mode Instead?"}));
    EXPECT_EQ(shell.state.fullscreen, 0);
    EXPECT_EQ(platform.fullscreenWindows, (std::vector<int>{0}));
    EXPECT_EQ(countCalls("hideCursor"), 0);
}

TEST_F(WindowTest, RefusedFullscreenModeAndNoEndsWithoutAWindow) {
    platform.fullscreenSupported = false;
    platform.answers = {MessageAnswer::No};

    EXPECT_EQ(open(1), 0);

    EXPECT_EQ(platform.messageTexts.back(), "ERROR|Program Will Now Close.");
    EXPECT_EQ(countCalls("createWindow"), 0);
}

TEST_F(WindowTest, ContextFailuresCloseFirstThenReportAndReleaseWhatWasTaken) {
    const struct {
        ContextResult result;
        const char* text;
    } cases[] = {
        {ContextResult::NoPixelFormat, "ERROR|Can't Find A Suitable PixelFormat."},
        {ContextResult::NoContext, "ERROR|Can't Create A GL Rendering Context."},
        {ContextResult::NotCurrent, "ERROR|Can't Activate The GL Rendering Context."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        callLog().clear();
        platform.contextResult = c.result;
        EXPECT_EQ(open(1), 0);
        EXPECT_EQ(platform.messageTexts.back(), c.text);
        EXPECT_EQ(platform.windowsHeld, 0);
        EXPECT_EQ(platform.contextsHeld, 0);
        // The message comes with the desktop mode back and the window gone.
        EXPECT_LT(firstCall("restoreDisplayMode"), firstCall("message ERROR"));
        EXPECT_LT(firstCall("destroyWindow"), firstCall("message ERROR"));
        EXPECT_EQ(countCalls("setupRendering"), 0);
    }
}

TEST_F(WindowTest, FailedRenderingSetUpIsReportedAfterClosing) {
    fakeSetupRenderingResult = 0;
    EXPECT_EQ(open(0), 0);
    EXPECT_EQ(platform.messageTexts.back(), "ERROR|Initialization Failed.");
    EXPECT_EQ(platform.windowsHeld, 0);
    EXPECT_EQ(platform.contextsHeld, 0);
    EXPECT_EQ(countCalls("restoreDisplayMode"), 0);  // windowed: the display was never changed
}

TEST_F(WindowTest, ClosingTwiceReleasesNothingTheSecondTime) {
    ASSERT_EQ(open(0), 1);
    closeGlWindow(shell);
    closeGlWindow(shell);
    EXPECT_EQ(countCalls("destroyWindow"), 1);
    EXPECT_EQ(countCalls("deleteContext"), 1);
    EXPECT_EQ(platform.messageTexts.size(), 0u);
}

TEST_F(WindowTest, MessagesKeepTheKeyTableTheActiveFlagAndTheProjection) {
    auto send = [&](MessageKind kind, int code = 0, int width = 0, int height = 0) {
        WindowMessage message;
        message.kind = kind;
        message.keyCode = code;
        message.width = width;
        message.height = height;
        handleWindowMessage(shell, message);
    };
    send(MessageKind::KeyDown, 'A');
    send(MessageKind::KeyDown, keys::f1);
    send(MessageKind::KeyUp, 'A');
    send(MessageKind::KeyDown, 256);  // outside the table: ignored
    send(MessageKind::KeyDown, 300);
    send(MessageKind::KeyDown, -1);
    EXPECT_EQ(shell.keyTable['A'], 0);
    EXPECT_EQ(shell.keyTable[keys::f1], 1);

    send(MessageKind::Minimised);
    EXPECT_EQ(shell.state.active, 0);
    send(MessageKind::Restored);
    EXPECT_EQ(shell.state.active, 1);

    send(MessageKind::Resized, 0, 800, 0);
    EXPECT_EQ(callLog().back(), "setupProjection 800x0");  // the projection copes with height 0

    send(MessageKind::Close);
    EXPECT_EQ(shell.state.quitPosted, 1);
    EXPECT_EQ(countCalls("destroyWindow"), 0);  // the window stays until the shutdown
}

}  // namespace
