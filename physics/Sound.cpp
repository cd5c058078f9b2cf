#include "physics/Sound.h"

namespace {
SoundPlayer installedPlayer = nullptr;
void* installedContext = nullptr;
}  // namespace

void setSoundPlayer(SoundPlayer player, void* context) {
    installedPlayer = player;
    installedContext = context;
}

void requestSound() {
    if (installedPlayer != nullptr) {
        installedPlayer(installedContext);
    }
}
