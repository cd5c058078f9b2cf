#include "app/SdlPlatform.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "app/QuietStderr.h"
#include "app/SdlWindowing.h"
#include "app/SignalsEndProgram.h"
#include "render/DataRoot.h"

namespace {

using Clock = std::chrono::steady_clock;

// The desktop entry's StartupWMClass.
const char* const windowClass = "torvel-room";

Uint32 iconFlag(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return SDL_MESSAGEBOX_WARNING;
        case MessageIcon::Error:
            return SDL_MESSAGEBOX_ERROR;
        case MessageIcon::Question:
        case MessageIcon::Information:
            break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

// The window that holds a fullscreen display mode, if any. The picture loader ends the process
// from inside a window opening; this puts the desktop's mode back on the way out. Signals never
// need it: at a message box no fullscreen window is up, and while a window is, SIGINT and SIGTERM
// come to the frame loop as a request to close.
SDL_Window* fullscreenWindowUp = nullptr;

void restoreDisplayModeAtExit() {
    if (fullscreenWindowUp != nullptr) {
        SDL_SetWindowFullscreen(fullscreenWindowUp, 0);
        fullscreenWindowUp = nullptr;
    }
}

}  // namespace

std::unique_ptr<Platform> makeProgramPlatform() {
    catchSignals();
    return std::make_unique<SdlPlatform>();
}

SdlPlatform::~SdlPlatform() {
    deleteContext();
    destroyWindow();
    if (glLoaded_) {
        SDL_GL_UnloadLibrary();
    }
    if (videoStarted_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool SdlPlatform::showBox(const char* text, const char* caption, bool yesNo, MessageIcon icon,
                          int interruptStatus) {
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"},
    };
    SDL_MessageBoxData box{};
    box.flags = iconFlag(icon);
    box.window = nullptr;
    box.title = caption;
    box.message = text;
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButton;

    // A signal at the box ends the program without flushing anything (the handler may only
    // make async-signal-safe calls): what it printed so far goes out now.
    std::fflush(stdout);
    int pressed = 0;
    {
        const SignalsEndProgram signalsEndProgram(interruptStatus);
        if (SDL_ShowMessageBox(&box, &pressed) != 0) {
            pressed = 0;
        }
    }
    return pressed == 1;
}

int SdlPlatform::startVideo() {
    if (videoStarted_) {
        return 1;
    }
    if (videoFailed_) {
        return 0;
    }
    // The window's class (X11) and application id (Wayland) name the desktop entry, so that a
    // dock shows the window under the entry's icon.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", windowClass, 1);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", windowClass, 1);
    int started = 0;
    {
        const QuietStderr quiet;
        started = SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    if (started != 0) {
        failure_ = std::string("no window system: ") + SDL_GetError();
        videoFailed_ = true;
        return 0;
    }
    // Without a display SDL falls back to a driver that draws nowhere; a window nobody can
    // see is a failure unless that driver was asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (std::getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        failure_ = "none to open a window on (DISPLAY is unset or names no running X server)";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoFailed_ = true;
        return 0;
    }
    videoStarted_ = true;
    signalsVideoStarted();
    return 1;
}

int SdlPlatform::prepare() {
    if (startVideo() == 0) {
        return 0;
    }
    // A failure here comes again, with its message, at the first window. A driver that fails
    // does so with X errors and lines of its own on stderr; both wait for the first context,
    // which then fails with its box and the driver's first line as the cause.
    glTrap_.emplace();
    {
        const QuietStderr quiet(&driverSaid_);
        glLoaded_ = SDL_GL_LoadLibrary(nullptr) == 0;
    }
    return 1;
}

int SdlPlatform::setFullscreenMode(int width, int height, int /*bits*/) {
    if (startVideo() == 0) {
        return 0;
    }
    // SDL never refuses a mode: it takes the closest one at least as large. Anything else
    // than the exact size counts as refused.
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr || closest.w != width ||
        closest.h != height) {
        failure_ = "the display has no " + std::to_string(width) + " x " + std::to_string(height) + " mode";
        return 0;
    }
    modeWidth_ = width;
    modeHeight_ = height;
    return 1;
}

void SdlPlatform::restoreDisplayMode() {
    if (window_ != nullptr && fullscreenWindow_) {
        SDL_SetWindowFullscreen(window_, 0);
    }
}

void SdlPlatform::showCursor(int show) {
    SDL_ShowCursor(show != 0 ? SDL_ENABLE : SDL_DISABLE);
}

int SdlPlatform::createWindow(const char* title, int width, int height, int fullscreen) {
    failure_.clear();  // a refused fullscreen mode answered with Yes is no cause of what follows
    if (startVideo() == 0) {
        return 0;
    }
    // Every attribute must be in place before the window exists. 5-6-5 is a preference: X11
    // gives the desktop's depth.
    requestFrameSurface();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= fullscreen != 0 ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    if (openSdlWindow(window_, title, width, height, flags, failure_) == 0) {
        return 0;
    }
    signalsWindowOpened();
    // The desktop entry's icon; without its file the window manager shows its own.
    if (SDL_Surface* icon = SDL_LoadBMP(dataPath("data/icon.bmp").c_str())) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    fullscreenWindow_ = fullscreen != 0;
    if (fullscreenWindow_) {
        static const bool hooked = std::atexit(restoreDisplayModeAtExit) == 0;
        static_cast<void>(hooked);
        fullscreenWindowUp = window_;
        SDL_DisplayMode mode{};
        mode.w = modeWidth_ != 0 ? modeWidth_ : width;
        mode.h = modeHeight_ != 0 ? modeHeight_ : height;
        SDL_SetWindowDisplayMode(window_, &mode);
    }
    return 1;
}

void SdlPlatform::showWindow() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlPlatform::destroyWindow() {
    destroySdlWindow(window_);
    fullscreenWindow_ = false;
    fullscreenWindowUp = nullptr;
}

ContextResult SdlPlatform::createContext() {
    int current = -1;
    {
        const WindowSystemErrorTrap trap;
        const QuietStderr quiet(&driverSaid_);
        context_ = SDL_GL_CreateContext(window_);
        if (context_ != nullptr) {
            current = SDL_GL_MakeCurrent(window_, context_);
        }
    }
    // SDL has synchronised with the X server: errors of the earlier library load are through.
    glTrap_.reset();
    if (context_ == nullptr || current != 0) {
        failure_ = SDL_GetError();
        if (!driverSaid_.empty()) {
            failure_ += "; " + driverSaid_;
        }
        return context_ == nullptr ? ContextResult::NoContext : ContextResult::NotCurrent;
    }
    driverSaid_.clear();
    const ContextResult surface = stencilChecked(failure_);
    if (surface == ContextResult::Ready) {
        choosePacing();
    }
    return surface;
}

void SdlPlatform::choosePacing() {
    const bool synced = SDL_GL_SetSwapInterval(1) == 0 && SDL_GL_GetSwapInterval() == 1;
    pacing_ = !synced && !envIs("TORVEL_FRAME_PACING", "0");
    int refresh = 0;
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0) {
        refresh = mode.refresh_rate;
    }
    if (refresh <= 0) {
        refresh = 60;
    }
    framePeriod_ = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / refresh));
    nextFrame_ = Clock::now();
}

void SdlPlatform::presentUnpaced() {
    SDL_GL_SetSwapInterval(0);
    pacing_ = false;
}

void SdlPlatform::deleteContext() {
    if (context_ != nullptr) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
}

int SdlPlatform::takeMessage(WindowMessage& message, int waitMilliseconds) {
    message = WindowMessage{};
    // Ctrl-C and SIGTERM while a window is up: the program ends as if closed.
    if (signalAskedClose()) {
        message.kind = MessageKind::Close;
        return 1;
    }
    SDL_Event event;
    if (!videoStarted_ || takeSdlEvent(event, message, waitMilliseconds) == 0) {
        return 0;
    }
    if (message.kind != MessageKind::Other) {
        return 1;  // a key
    }
    switch (event.type) {
        case SDL_QUIT:
            // Also what Ctrl-C and SIGTERM become on Windows (SignalsEndProgram.h).
            message.kind = MessageKind::Close;
            break;
        case SDL_WINDOWEVENT:
            // A window closed by F1 can still have events queued; its size is not this one's.
            if (window_ == nullptr || event.window.windowID != SDL_GetWindowID(window_)) {
                break;
            }
            switch (event.window.event) {
                case SDL_WINDOWEVENT_MINIMIZED:
                    message.kind = MessageKind::Minimised;
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    message.kind = MessageKind::Restored;
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    message.kind = MessageKind::Resized;
                    message.width = event.window.data1;
                    message.height = event.window.data2;
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    message.kind = MessageKind::Close;
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return 1;
}

void SdlPlatform::swapBuffers() {
    SDL_GL_SwapWindow(window_);
    framePresented();
    if (pacing_) {
        const Clock::time_point now = Clock::now();
        nextFrame_ += framePeriod_;
        if (nextFrame_ < now - framePeriod_) {
            nextFrame_ = now;  // fell behind (a slow frame, a rebuild): start afresh
        } else if (nextFrame_ > now) {
            std::this_thread::sleep_until(nextFrame_);
        }
    }
}
