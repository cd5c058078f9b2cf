#include "tools/shot/ShotWindow.h"

#include <cstdlib>

#include "app/SdlPlatform.h"

namespace {

// The program's own window layer, so that the capture draws into the same kind of surface.
SdlPlatform* platform = nullptr;

}  // namespace

bool openShotWindow(int width, int height, std::string& error) {
    // Headless by design: without a display the capture draws offscreen.
    if (std::getenv("DISPLAY") == nullptr && std::getenv("SDL_VIDEODRIVER") == nullptr) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    }
    platform = new SdlPlatform;
    if (platform->createWindow("Torvel Square Room", width, height, 0) != 1) {
        error = "cannot create the window";
        closeShotWindow();
        return false;
    }
    if (platform->createContext() != ContextResult::Ready) {
        error = "cannot make a current OpenGL context with a stencil buffer";
        closeShotWindow();
        return false;
    }
    platform->presentUnpaced();
    return true;
}

void swapShotWindow() {
    platform->swapBuffers();
}

void closeShotWindow() {
    delete platform;  // releases the context and the window
    platform = nullptr;
}
