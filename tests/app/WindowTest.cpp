#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace {

struct Opened {
    FakePlatform platform;
    World world;
    Shell shell{platform, fakeScene(), world, ShellState{}, KeyTable{}};
    int open(int fullscreen) { return openGlWindow(shell, "Torvel Room", 640, 480, 16, fullscreen); }
};

std::string joined() {
    std::string out;
    for (const std::string& e : fakeLog) {
        out += (out.empty() ? "" : ", ") + e;
    }
    return out;
}

TEST(WindowTest, OpeningsAndTheirFailuresCloseFirstThenReport) {
    const std::string refused =
        "mode 640x480x16, Quarn GL|The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use "
        "Windowed Mode Instead?|1";
    const struct {
        const char* name;
        bool mode;
        MessageAnswer answer;
        ContextResult context;
        int rendering;
        int result;
        std::string log;
    } cases[] = {
        {"fullscreen", true, MessageAnswer::No, ContextResult::Ready, 1, 1,
         "mode 640x480x16, noCursor, window Torvel Room full 640x480, show, projection 640x480"},
        {"refused mode, Yes: windowed", false, MessageAnswer::Yes, ContextResult::Ready, 1, 1,
         refused + ", window Torvel Room 640x480, show, projection 640x480"},
        {"refused mode, No", false, MessageAnswer::No, ContextResult::Ready, 1, 0,
         refused + ", ERROR|Program Will Now Close.|1"},
        {"no pixel format", true, MessageAnswer::No, ContextResult::NoPixelFormat, 1, 0,
         "mode 640x480x16, noCursor, window Torvel Room full 640x480, desktop, cursor, destroy 0, "
         "ERROR|Can't Find A Suitable PixelFormat.|1"},
        {"no context", true, MessageAnswer::No, ContextResult::NoContext, 1, 0,
         "mode 640x480x16, noCursor, window Torvel Room full 640x480, desktop, cursor, destroy 0, "
         "ERROR|Can't Create A GL Rendering Context.|1"},
        {"context not current", true, MessageAnswer::No, ContextResult::NotCurrent, 1, 0,
         "mode 640x480x16, noCursor, window Torvel Room full 640x480, desktop, cursor, destroy 0, "
         "ERROR|Can't Activate The GL Rendering Context.|1"},
        {"rendering set-up fails", true, MessageAnswer::No, ContextResult::Ready, 0, 0,
         "mode 640x480x16, noCursor, window Torvel Room full 640x480, show, projection 640x480, desktop, "
         "cursor, "
         "destroy 0, ERROR|Initialization Failed.|1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Opened o;
        o.platform.fullscreenMode = c.mode;
        o.platform.answers = {c.answer};
        o.platform.context = c.context;
        fakeRendering = c.rendering;
        EXPECT_EQ(o.open(1), c.result);
        EXPECT_EQ(joined(), c.log);
        EXPECT_EQ(o.shell.state.fullscreen, c.log.find("Room 640") == std::string::npos ? 1 : 0);
        closeGlWindow(o.shell);  // a second closing releases nothing twice
        EXPECT_EQ(o.platform.windows + o.platform.contexts, 0);
    }
}

}  // namespace
