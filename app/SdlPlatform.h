#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/Platform.h"
#include "app/XErrorTrap.h"

struct SDL_Window;
struct Replay;

// The window layer on SDL2 with a legacy OpenGL context. Video starts at the first window
// (or fullscreen-mode question) and stops with the object.
//
// Environment: TORVEL_FRAME_PACING=0 switches the frame pacing off (see swapBuffers);
// TORVEL_TIMING=1 prints on stderr when the first frame has been presented, every 100th
// frame, and at the end how many frames were presented in how long.
class SdlPlatform : public Platform {
  public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // Failure boxes (OK only) also go to stderr on one line, with the cause the platform saw;
    // questions do not.
    MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon,
                              int interruptStatus) override;
    int setFullscreenMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    void showCursor(int show) override;
    int createWindow(const char* title, int width, int height, int fullscreen) override;
    void showWindow() override;
    void destroyWindow() override;
    ContextResult createContext() override;
    void deleteContext() override;
    int takeMessage(WindowMessage& message, int waitMilliseconds) override;
    // Presents the frame. Where the driver gives no vsync, waits for the display's next
    // refresh period (60 Hz when unknown), so the scene runs at the same speed everywhere.
    void swapBuffers() override;

    // Starts the window system and loads the GL driver ahead of the first window, so that the
    // wait after the start-up question is short. 0 when there is no display; failure() says why.
    int prepare();
    const std::string& failure() const { return failure_; }
    // The desktop program replays nothing: its recordings are replayed by the tools.
    int loadReplay(Replay& /*replay*/) { return 0; }
    // The exit status, for the process to end with (a page shows it instead).
    int ended(int status) const { return status; }

    // For tools that capture or time frames: after createContext, no vsync and no pacing.
    void presentUnpaced();

  private:
    int startVideo();
    void choosePacing();

    bool videoStarted_ = false;
    bool videoFailed_ = false;          // not tried again
    std::string failure_;               // cause of the last failure, for the next failure box
    bool glLoaded_ = false;             // by prepare(), kept until the end
    std::optional<XErrorTrap> glTrap_;  // from the GL library load to the first context
    std::string driverSaid_;            // the GL driver's first line on stderr, until a context works
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    int modeWidth_ = 0;
    int modeHeight_ = 0;
    bool fullscreenWindow_ = false;

    bool pacing_ = false;
    std::chrono::steady_clock::duration framePeriod_{};
    std::chrono::steady_clock::time_point nextFrame_{};

    bool reportTiming_ = false;
    bool firstFrameShown_ = false;
    long framesShown_ = 0;
    std::chrono::steady_clock::time_point created_{};
    std::chrono::steady_clock::time_point lastAnswer_{};
};
