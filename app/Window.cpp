#include "app/Window.h"

namespace {

void reportError(Shell& shell, const char* text) {
    shell.platform.showMessage(text, "ERROR", MessageButtons::Ok, MessageIcon::Warning, failureStatus);
}

// Closes first so that the message appears with the desktop back and the window gone.
int failOpening(Shell& shell, const char* text) {
    closeGlWindow(shell);
    reportError(shell, text);
    return 0;
}

}  // namespace

void KeyTable::press(int code) {
    if (!held[code]) {
        ++unseenPresses[code];
    }
    held[code] = true;
    down[code] = 1;
}

void KeyTable::release(int code) {
    held[code] = false;
    if (unseenPresses[code] == 0) {
        down[code] = 0;
    }
}

void KeyTable::passDone() {
    for (int code = 0; code < keys::count; ++code) {
        if (unseenPresses[code] == 0) {
            continue;
        }
        if (--unseenPresses[code] > 0) {
            down[code] = 1;  // the next tap, for the next pass (a one-shot command cleared the flag)
        } else if (!held[code]) {
            down[code] = 0;
        }
    }
}

int openGlWindow(Shell& shell, const char* title, int width, int height, int bits, int fullscreen) {
    Platform& platform = shell.platform;
    shell.state.fullscreen = fullscreen;

    if (shell.state.fullscreen == 1 && platform.setFullscreenMode(width, height, bits) != 1) {
        const MessageAnswer answer = platform.showMessage(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
            "Quarn GL", MessageButtons::YesNo, MessageIcon::Warning, failureStatus);
        if (answer != MessageAnswer::Yes) {
            platform.showMessage("Program Will Now Close.", "ERROR", MessageButtons::Ok, MessageIcon::Error,
                                 failureStatus);
            return 0;
        }
        shell.state.fullscreen = 0;
    }

    if (shell.state.fullscreen == 1) {
        platform.showCursor(0);
    }

    if (platform.createWindow(title, width, height, shell.state.fullscreen) != 1) {
        return failOpening(shell, "Window Creation Error.");
    }
    shell.state.window = 1;

    const ContextResult context = platform.createContext();
    if (context != ContextResult::NoContext) {
        shell.state.renderingContext = 1;  // held even when unusable, so closing releases it
    }
    switch (context) {
        case ContextResult::Ready:
            break;
        case ContextResult::NoPixelFormat:
            // The surface lacks what the frame needs (no stencil bit).
            return failOpening(shell, "Can't Find A Suitable PixelFormat.");
        case ContextResult::NoContext:
            return failOpening(shell, "Can't Create A GL Rendering Context.");
        case ContextResult::NotCurrent:
            return failOpening(shell, "Can't Activate The GL Rendering Context.");
    }

    platform.showWindow();
    shell.scene.setupProjection(width, height);
    if (shell.scene.setupRendering() == 0) {
        return failOpening(shell, "Initialization Failed.");
    }
    return 1;
}

void closeGlWindow(Shell& shell) {
    Platform& platform = shell.platform;
    if (shell.state.fullscreen == 1) {
        platform.restoreDisplayMode();
        platform.showCursor(1);
    }
    if (shell.state.renderingContext != 0) {
        platform.deleteContext();
        shell.state.renderingContext = 0;
    }
    if (shell.state.window != 0) {
        platform.destroyWindow();
        shell.state.window = 0;
    }
}

void handleWindowMessage(Shell& shell, const WindowMessage& message) {
    switch (message.kind) {
        case MessageKind::KeyDown:
        case MessageKind::KeyUp:
            // Codes outside the table come from keys the shell has no command for.
            if (message.keyCode >= 0 && message.keyCode < keys::count) {
                if (message.kind == MessageKind::KeyDown) {
                    shell.keyTable.press(message.keyCode);
                } else {
                    shell.keyTable.release(message.keyCode);
                }
            }
            break;
        case MessageKind::Minimised:
            shell.state.active = 0;
            break;
        case MessageKind::Restored:
            shell.state.active = 1;
            break;
        case MessageKind::Resized:
            shell.scene.setupProjection(message.width, message.height);
            break;
        case MessageKind::Close:
            // The window stays: the loop ends and the shutdown tears it down.
            shell.state.quitPosted = 1;
            break;
        case MessageKind::FullscreenLeft:
            // Windowed from now on, so the next F1 asks for fullscreen again.
            if (shell.state.fullscreen == 1) {
                shell.state.fullscreen = 0;
                shell.platform.showCursor(1);
            }
            break;
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
    }
}
