// torvel-room: the program. Runs from a directory holding data/ (pictures) and Data/ (sound).
#include <cstdio>

#include "app/ExplosionSound.h"
#include "app/MainLoop.h"
#include "physics/World.h"

// The one difference between the desktop program and the page: the window layer.
#ifdef __EMSCRIPTEN__
#include "app/WebPlatform.h"
using ProgramPlatform = WebPlatform;
#else
#include "app/SdlPlatform.h"
using ProgramPlatform = SdlPlatform;
#endif

namespace {

World world;

}  // namespace

int main() {
    ProgramPlatform platform;
    if (platform.prepare() == 0) {
        // Without a display no box can be shown: the terminal gets the one line.
        std::fprintf(stderr, "No display: %s\n", platform.failure().c_str());
        return platform.ended(failureStatus);
    }
    ExplosionSound sound;
    sound.open("Data/Explode.wav");
    Shell shell{platform, realSceneCalls(), world, ShellState{}, KeyTable{}};
    const int status = runMainLoop(shell);
    sound.close();
    return platform.ended(status);
}
