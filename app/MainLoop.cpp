#include "app/MainLoop.h"

#include <cstdio>
#include <string>

#include "io/RecordingWriter.h"
#include "physics/StateText.h"
#include "physics/World.h"
#include "physics/WorldCommands.h"

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

// At the frame the recording ends: the tools' verdict, and the picture is held.
void checkReplay(Shell& shell, const Replay& replay) {
    const std::string line =
        replayCheckLine(replay.recording, stateDigest(shell.framesDrawn, shell.lastStep, shell.world));
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    shell.platform.holdPicture(line.c_str());
}

// The recorded commands of this frame through the tools' own function, which leaves F1 out as they
// do; the live keys are not read.
int replayCommands(Shell& shell, Replay& replay) {
    if (replayPasses(replay, shell.framesDrawn, shell.world)) {
        checkReplay(shell, replay);
    }
    return 1;
}

}  // namespace

int applyKeyCommands(Shell& shell) {
    if (shell.replay != nullptr) {
        return replayCommands(shell, *shell.replay);
    }
    KeyTable& keyTable = shell.keyTable;
    // Held keys act while down; one-shot keys once per key-down.
    const struct {
        int key;
        bool oneShot;
        CommandSet command;
    } table[] = {
        {keys::up, false, command::forward},       {keys::down, false, command::back},
        {keys::left, false, command::turnLeft},    {keys::right, false, command::turnRight},
        {keys::keypadPlus, true, command::faster}, {keys::keypadMinus, true, command::slower},
        {keys::f3, true, command::soundSwitch},    {keys::f2, true, command::cameraSwitch},
        {keys::f1, true, command::displaySwitch},
    };
    CommandSet commands = 0;
    for (const auto& entry : table) {
        if (entry.oneShot ? takeOneShot(keyTable, entry.key) : keyTable[entry.key] != 0) {
            commands |= entry.command;
        }
    }
    applyWorldCommands(shell.world, commands);
    if (commands != 0 && shell.recording != nullptr) {
        shell.recording->pass(shell.framesDrawn, commands);
    }
    if ((commands & command::displaySwitch) != 0) {
        return toggleDisplayMode(shell);
    }
    return 1;
}

namespace {

int runFrames(Shell& shell) {
    Platform& platform = shell.platform;

    if (platform.showMessage("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                             MessageButtons::YesNo, MessageIcon::Question, 0) == MessageAnswer::No) {
        shell.state.fullscreen = 0;
    }

    initWorld(shell.world);
    const bool endsBeforeFirstFrame = shell.replay != nullptr && replayPasses(*shell.replay, 0, shell.world);

    if (openGlWindow(shell, startTitle, windowWidth, windowHeight, windowBits, shell.state.fullscreen) == 0) {
        return failureStatus;
    }
    // A recording that ends before the first frame is checked before it, in the window.
    if (endsBeforeFirstFrame) {
        checkReplay(shell, *shell.replay);
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
            shell.lastStep = shell.scene.stepWorld(shell.world);
            shell.scene.drawFrame(shell.world);
            ++shell.framesDrawn;
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

}  // namespace

int runMainLoop(Shell& shell) {
    const int status = runFrames(shell);
    if (shell.recording != nullptr) {
        shell.recording->end(shell.framesDrawn, stateDigest(shell.framesDrawn, shell.lastStep, shell.world));
    }
    return status;
}
