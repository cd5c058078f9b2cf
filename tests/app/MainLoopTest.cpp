#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace {

// The loop's outcome for a script, in one line: exit status, frames drawn, how far the fake step
// moved ball 0 (a World laid out again would lose it), then the key commands' World fields.
std::string run(FakePlatform& platform) {
    World world;
    World start;
    initWorld(start);
    Shell shell{platform, fakeScene(), world, ShellState{}, KeyTable{}};
    const int status = runMainLoop(shell);
    char line[160];
    std::snprintf(line, sizeof line, "status=%d frames=%d moved=%g angle=%g dz=%g step=%g sound=%d camera=%d",
                  status, logged("frame"), world.ballPositions[0].getX() - start.ballPositions[0].getX(),
                  world.viewAngle, world.cameraPosition.getZ() - start.cameraPosition.getZ(), world.timeStep,
                  world.soundOn, world.cameraMode);
    return line;
}

// The log without frames and the opening's fixed steps: windows, waits, resizes, the shutdown.
std::string events() {
    std::string out;
    for (const std::string& e : fakeLog) {
        if (e.rfind("window", 0) == 0 || e.rfind("wait", 0) == 0 || e.rfind("ERROR", 0) == 0 ||
            e == "out of script" || (e.rfind("projection", 0) == 0 && e != "projection 640x480") ||
            e == "deleteTextures") {
            out += (out.empty() ? "" : ", ") + e;
        }
    }
    return out;
}

TEST(MainLoopTest, ScriptsGiveTheirOutcome) {
    const std::string start = "window Torvel Square Room 640x480";
    const struct {
        const char* name;
        const char* script;
        int failingWindow;
        const char* outcome;
        std::string events;
    } cases[] = {
        {"Escape ends the loop after that pass's frame-less key commands", ". . +Esc . .", 0,
         "status=0 frames=2 moved=2 angle=0 dz=0 step=0.6 sound=1 camera=0", start + ", deleteTextures"},
        {"held keys act every pass, one-shot keys once per key-down",
         "+Left +Up +Plus +F3 . . . +Plus . . -Left -Up +Right +Down . . +Esc .", 0,
         "status=0 frames=7 moved=7 angle=4 dz=-20 step=0.8 sound=0 camera=0", start + ", deleteTextures"},
        {"taps released before any pass act once", "+Plus -Plus +F2 -F2 . +Left -Left . . +Esc -Esc .", 0,
         "status=0 frames=3 moved=3 angle=2 dz=0 step=0.7 sound=1 camera=1", start + ", deleteTextures"},
        {"keypad minus has no lower bound",
         "+Minus . +Minus . +Minus . +Minus . +Minus . +Minus . +Minus . +Esc .", 0,
         "status=0 frames=7 moved=7 angle=0 dz=0 step=-0.1 sound=1 camera=0", start + ", deleteTextures"},
        {"F2 switches the camera and resets the angle", "+Left . . +F2 -Left . +Esc .", 0,
         "status=0 frames=3 moved=3 angle=0 dz=0 step=0.6 sound=1 camera=1", start + ", deleteTextures"},
        {"minimised: waits instead of frames, keys act on restore", "min +Left +Esc . . restore .", 0,
         "status=0 frames=0 moved=0 angle=2 dz=0 step=0.6 sound=1 camera=0",
         start + ", wait 100, wait 100, wait 100, wait 100, wait 100, deleteTextures"},
        {"a close ends the loop while minimised", "min . close +Left", 0,
         "status=0 frames=0 moved=0 angle=0 dz=0 step=0.6 sound=1 camera=0",
         start + ", wait 100, wait 100, deleteTextures"},
        {"sizes reach the projection, keys beyond the table do nothing",
         "+Huge 800x600 . min 0x0 restore 800x0 . +Esc .", 0,
         "status=0 frames=2 moved=2 angle=0 dz=0 step=0.6 sound=1 camera=0",
         start +
             ", projection 800x600, wait 100, projection 0x0, wait 100, projection 800x0, deleteTextures"},
        {"F1 with Escape in one pass still rebuilds", ". +F1 +Esc .", 0,
         "status=0 frames=1 moved=1 angle=0 dz=0 step=0.6 sound=1 camera=0",
         start + ", window Torvel Room full 640x480, deleteTextures"},
        {"F1 twice: back to windowed, the World goes on", ". +F1 . +F1 . +Esc .", 0,
         "status=0 frames=3 moved=3 angle=0 dz=0 step=0.6 sound=1 camera=0",
         start + ", window Torvel Room full 640x480, window Torvel Room 640x480, deleteTextures"},
        {"a failed rebuild ends at once with status 1", ". +F1 . .", 2,
         "status=1 frames=2 moved=2 angle=0 dz=0 step=0.6 sound=1 camera=0",
         start + ", window Torvel Room full 640x480, ERROR|Window Creation Error.|1"},
        {"a failed first opening ends with status 1", ". .", 1,
         "status=1 frames=0 moved=0 angle=0 dz=0 step=0.6 sound=1 camera=0",
         start + ", ERROR|Window Creation Error.|1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform platform(c.script);
        platform.failingWindow = c.failingWindow;
        EXPECT_EQ(run(platform), c.outcome);
        EXPECT_EQ(events(), c.events);
    }
}

TEST(MainLoopTest, TheStartQuestionChoosesTheModeAndSignalsDuringItEndWithStatus0) {
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        FakePlatform platform("+Esc .");
        platform.answers = {answer};
        run(platform);
        EXPECT_EQ(fakeLog.front(), "Start FullScreen?|Would You Like To Run In Fullscreen Mode?|0");
        EXPECT_EQ(logged("window Torvel Square Room full 640x480"), answer == MessageAnswer::Yes ? 1 : 0);
        EXPECT_EQ(platform.windows + platform.contexts, 0);
    }
}

}  // namespace
