#include "app/MainLoop.h"

#include "physics/World.h"

namespace {

// A Close is answered with a quit message that the next pass takes, as a posted quit would be.
int takeMessage(Shell& shell, WindowMessage& message, int waitMilliseconds) {
    if (shell.state.quitPosted != 0) {
        shell.state.quitPosted = 0;
        message = WindowMessage{};
        message.kind = MessageKind::Quit;
        return 1;
    }
    return shell.platform.takeMessage(message, waitMilliseconds);
}

// One-shot keys act once per key-down: the flag is cleared until the next one arrives.
bool takeOneShot(KeyTable& keyTable, int code) {
    if (keyTable[code] == 0) {
        return false;
    }
    keyTable[code] = 0;
    return true;
}

int toggleDisplayMode(Shell& shell) {
    closeGlWindow(shell);
    shell.state.fullscreen = shell.state.fullscreen == 0 ? 1 : 0;
    return openGlWindow(shell, rebuiltTitle, windowWidth, windowHeight, windowBits, shell.state.fullscreen);
}

}  // namespace

int applyKeyCommands(Shell& shell) {
    KeyTable& keyTable = shell.keyTable;
    World& world = shell.world;

    if (keyTable[keys::up] != 0) {
        world.cameraPosition += Vector(0.0, 0.0, -10.0);
    }
    if (keyTable[keys::down] != 0) {
        world.cameraPosition += Vector(0.0, 0.0, 10.0);
    }
    if (keyTable[keys::left] != 0) {
        world.viewAngle += 2.0f;
    }
    if (keyTable[keys::right] != 0) {
        world.viewAngle -= 2.0f;
    }
    if (takeOneShot(keyTable, keys::keypadPlus)) {
        world.timeStep += 0.1;
    }
    if (takeOneShot(keyTable, keys::keypadMinus)) {
        world.timeStep -= 0.1;
    }
    if (takeOneShot(keyTable, keys::f3)) {
        world.soundOn ^= 1;
    }
    if (takeOneShot(keyTable, keys::f2)) {
        world.cameraMode ^= 1;
        world.viewAngle = 0.0f;
    }
    if (takeOneShot(keyTable, keys::f1)) {
        return toggleDisplayMode(shell);
    }
    return 1;
}

int runMainLoop(Shell& shell) {
    Platform& platform = shell.platform;

    if (platform.showMessage("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                             MessageButtons::YesNo, MessageIcon::Question, 0) == MessageAnswer::No) {
        shell.state.fullscreen = 0;
    }

    initWorld(shell.world);

    if (openGlWindow(shell, startTitle, windowWidth, windowHeight, windowBits, shell.state.fullscreen) == 0) {
        return failureStatus;
    }

    bool done = false;
    while (!done) {
        WindowMessage message;
        // Without frames to draw there is nothing to do until a message comes.
        const int wait = shell.state.active != 0 ? 0 : inactiveWaitMilliseconds;
        if (takeMessage(shell, message, wait) != 0) {
            if (message.kind == MessageKind::Quit) {
                done = true;
            } else {
                handleWindowMessage(shell, message);
            }
            continue;
        }
        if (shell.state.active == 0) {
            continue;
        }
        if (shell.keyTable[keys::escape] != 0) {
            done = true;
        } else {
            shell.scene.stepWorld(shell.world);
            shell.scene.drawFrame(shell.world);
            platform.swapBuffers();
        }
        // Escape still lets this pass's commands run, an F1 rebuild included.
        if (applyKeyCommands(shell) == 0) {
            return failureStatus;
        }
        shell.keyTable.passDone();
    }

    shell.scene.deleteTextures();
    closeGlWindow(shell);
    return 0;
}
