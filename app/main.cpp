// torvel-room: the program. Reads data/ (pictures) and Data/ (sound) from the installed data
// directory beside the executable when there is one, else under the working directory.
// TORVEL_RECORD=FILE records the session's key commands into FILE (docs/recording.md); the page
// records every live run.
#include <cstdio>
#include <memory>
#include <string>

#include "app/ExecutablePath.h"
#include "app/ExplosionSound.h"
#include "app/MainLoop.h"
#include "io/RecordingWriter.h"
#include "physics/World.h"
#include "render/DataRoot.h"

namespace {

World world;

// As the tools end when they refuse a recording.
constexpr int replayRefusedStatus = 2;

// The data directory relative to the executable's, fixed by the install layout; relative so
// that the installed tree can be moved.
std::string installedDataRoot() {
    const std::string executable = executablePath();
    if (executable.empty()) {
        return {};
    }
    return findDataRoot(".", executable, TORVEL_DATA_FROM_BIN);
}

}  // namespace

int main() {
    // The one difference between the desktop program and the page: the window layer.
    const std::unique_ptr<Platform> programPlatform = makeProgramPlatform();
    Platform& platform = *programPlatform;
    setDataRoot(installedDataRoot());
    if (platform.prepare() == 0) {
        // Without a display no box can be shown: the terminal gets the one line.
        std::fprintf(stderr, "No display: %s\n", platform.failure().c_str());
        return platform.ended(failureStatus);
    }
    // keys=FILE on the page's address replays a recording in place of the keys.
    Replay replay;
    const int replayLoaded = platform.loadReplay(replay);
    if (replayLoaded < 0) {
        return platform.ended(replayRefusedStatus);
    }
    ExplosionSound sound;
    sound.open(dataPath("Data/Explode.wav").c_str());
    Shell shell{platform, realSceneCalls(), world, ShellState{}, KeyTable{}};
    RecordingWriter recording;
    const std::string recordPath = platform.recordingPath();
    if (!recordPath.empty()) {
        std::string error;
        if (recording.open(recordPath.c_str(), error)) {
            shell.recording = &recording;
        } else {
            std::fprintf(stderr, "No recording: %s\n", error.c_str());
        }
    }
    if (replayLoaded == 1) {
        shell.replay = &replay;
    }
    const int status = runMainLoop(shell);
    sound.close();
    return platform.ended(status);
}
