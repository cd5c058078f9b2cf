// torvel-room: the program. Runs from a directory holding data/ (pictures) and Data/ (sound).
// TORVEL_RECORD=FILE records the session's key commands into FILE (docs/recording.md).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ExplosionSound.h"
#include "app/MainLoop.h"
#include "app/SdlPlatform.h"
#include "physics/Recording.h"
#include "physics/World.h"

namespace {

World world;

}  // namespace

int main() {
    SdlPlatform platform;
    if (platform.prepare() == 0) {
        // Without a display no box can be shown: the terminal gets the one line.
        std::fprintf(stderr, "No display: %s\n", platform.failure().c_str());
        return failureStatus;
    }
    ExplosionSound sound;
    sound.open("Data/Explode.wav");
    Shell shell{platform, realSceneCalls(), world, ShellState{}, KeyTable{}};
    RecordingWriter recording;
    // Set but empty counts as not set, so that "TORVEL_RECORD= torvel-room" turns it off.
    const char* recordPath = std::getenv("TORVEL_RECORD");
    if (recordPath != nullptr && *recordPath != '\0') {
        std::string error;
        if (recording.open(recordPath, error)) {
            shell.recording = &recording;
        } else {
            std::fprintf(stderr, "No recording: %s\n", error.c_str());
        }
    }
    const int status = runMainLoop(shell);
    sound.close();
    return status;
}
