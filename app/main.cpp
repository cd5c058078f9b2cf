// torvel-room: the program. Runs from a directory holding data/ (pictures) and Data/ (sound).
#include <cstdio>

#include "app/ExplosionSound.h"
#include "app/MainLoop.h"
#include "app/SdlPlatform.h"
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
    const int status = runMainLoop(shell);
    sound.close();
    return status;
}
