#include "FakePlatform.h"

namespace {

const std::string open = " frames, window Torvel Square Room 640x480, proj 640x480, ";

TEST(MainLoopTest, ScriptsGiveTheirOutcome) {
    const std::string shut = "textures deleted, destroy 0";
    const std::string full = "destroy 0, mode 640x480x16, no cursor, window Torvel Room 640x480 full, ";
    const std::string still = "angle 0, dz 0, step 0.6, sound 1, camera 0";
    const struct {
        const char* script;
        std::string world, log;
        // The recording's lines, as expectRun shows them; not checked where null. A pass that draws
        // no frame (Escape's) goes under the last frame drawn.
        const char* recorded = nullptr;
    } cases[] = {
        // Escape ends the loop in the first pass that sees it, with no frame.
        {". . +Esc . .", still, "2" + open + shut},
        // Held keys act every frame, one-shot keys once per key-down (an auto-repeat is one more).
        {"+Left +Up +Plus +F3 . . . +Plus . . -Left -Up +Right +Down . . +Esc .",
         "angle 4, dz -20, step 0.8, sound 0, camera 0", "7" + open + shut,
         "1 Up Left KP+ F3|2 Up Left|3 Up Left|4 Up Left KP+|5 Up Left|6 Down Right|7 Down Right|7 Down "
         "Right|end 7"},
        // Taps released before any frame act once; pressed again at once, a key stays down.
        {"+Plus -Plus +F2 -F2 . +Left -Left +Down -Down +Down . . +Esc -Esc .",
         "angle 2, dz 30, step 0.7, sound 1, camera 1", "3" + open + shut},
        // Taps quicker than the frames act one per frame.
        {"+Plus -Plus +Plus -Plus +F2 -F2 +F2 -F2 +F2 -F2 . . . +Esc .",
         "angle 0, dz 0, step 0.8, sound 1, camera 1", "3" + open + shut},
        {"+Minus . +Minus . +Minus . +Minus . +Minus . +Minus . +Minus . +Esc .",
         "angle 0, dz 0, step -0.1, sound 1, camera 0", "7" + open + shut},
        {"+Left . . +F2 -Left . +Esc .", "angle 0, dz 0, step 0.6, sound 1, camera 1", "3" + open + shut,
         "1 Left|2 Left|3 F2|end 3"},
        // Minimised: waits instead of frames; keys act on restore. A close still ends the loop.
        {"min +Left +Esc . . restore .", "angle 2, dz 0, step 0.6, sound 1, camera 0",
         "0" + open + "wait 100, wait 100, wait 100, wait 100, wait 100, " + shut, "0 Left|end 0"},
        {"min . close +Left", still, "0" + open + "wait 100, wait 100, " + shut},
        {"800x600 . min 0x0 restore 800x0 . +Esc .", still,
         "2" + open + "proj 800x600, wait 100, proj 0x0, wait 100, proj 800x0, " + shut},
        // F1 in the pass that sees Escape still rebuilds; twice returns to the first mode.
        {". +F1 +Esc .", still,
         "1" + open + full + "proj 640x480, textures deleted, desktop, cursor, destroy 0", "1 F1|end 1"},
        {". +F1 . +F1 . +Esc .", still,
         "3" + open + full +
             "proj 640x480, desktop, cursor, destroy 0, window Torvel Room 640x480, proj 640x480, " + shut},
        // Fullscreen left by the window system (a browser's Escape): the next F1 goes fullscreen again.
        {". +F1 . left +F1 . +Esc .", still,
         "3" + open + full + "proj 640x480, cursor, " + full +
             "proj 640x480, textures deleted, desktop, cursor, destroy 0"},
        {". +F1 . . fail2", still, "2" + open + full + "desktop, cursor, ERROR|Window Creation Error.|1",
         "2 F1|end 2"},
    };
    for (const auto& c : cases) {
        expectRun(c.script, c.world, c.log, c.recorded);
    }
}

// A replay takes the recording's commands at their frames instead of the live keys (Escape still
// ends it; F1 lines change nothing, as in the tools) and gives the tools' verdict at its end frame,
// before the first frame when that is 0.
TEST(MainLoopTest, ReplaysARecordingInPlaceOfTheKeys) {
    const struct {
        const char* recording;
        const char* script;
        std::string world, log;
    } cases[] = {
        {"1 Left\n2 Left F3 F1\n3 KP+\nend 3 0000000000000000\n", "+Up +F1 +F3 . . . . . +Esc .",
         "angle 4, dz 0, step 0.7, sound 0, camera 0",
         "5" + open + "hold after 3: 3 frames replayed, textures deleted, destroy 0"},
        {"0 Right\nend 0 0000000000000000\n", "+Left . . +Esc .",
         "angle -2, dz 0, step 0.6, sound 1, camera 0",
         "2" + open + "hold after 0: 0 frames replayed, textures deleted, destroy 0"},
        // A recording cut short has no verdict to give.
        {"1 KP-\n", ". . +Esc .", "angle 0, dz 0, step 0.5, sound 1, camera 0",
         "2" + open + "textures deleted, destroy 0"},
    };
    for (const auto& c : cases) {
        Replay replay;
        RecordingProblem problem;
        int unterminated = 0;
        ASSERT_TRUE(parseRecording(std::string("torvel-room-recording 1\n") + c.recording, replay.recording,
                                   problem, unterminated));
        replay.checkAt = replay.recording.ended ? replayFrames(replay.recording) : -1;
        expectRun(c.script, c.world, c.log, nullptr, &replay);
    }
}

}  // namespace
