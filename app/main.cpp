// torvel-room: the program. Runs from a directory holding data/ (pictures) and Data/ (sound).
#include "app/ExplosionSound.h"
#include "app/MainLoop.h"
#include "app/SdlPlatform.h"
#include "physics/World.h"

namespace {

World world;

}  // namespace

int main() {
    SdlPlatform platform;
    platform.prepare();
    ExplosionSound sound;
    sound.open("Data/Explode.wav");
    Shell shell{platform, realSceneCalls(), world, ShellState{}, KeyTable{}};
    const int status = runMainLoop(shell);
    sound.close();
    return status;
}
