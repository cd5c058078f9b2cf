#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/PlatformCore.h"
#include "app/WindowSystemErrorTrap.h"

struct SDL_Window;

// The desktop's window layer, on SDL2 with a legacy OpenGL context (Linux and Windows). Video
// starts at prepare (or the first window) and stops with the object.
//
// Environment: TORVEL_FRAME_PACING=0 switches the frame pacing off (see swapBuffers).
class SdlPlatform : public PlatformCore {
  public:
    SdlPlatform() = default;
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // Starts the window system and loads the GL driver ahead of the first window.
    int prepare() override;
    int setFullscreenMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    void showCursor(int show) override;
    // With the desktop entry's window class and icon; fullscreen in the mode set above.
    int createWindow(const char* title, int width, int height, int fullscreen) override;
    void showWindow() override;
    void destroyWindow() override;
    ContextResult createContext() override;
    void deleteContext() override;
    int takeMessage(WindowMessage& message, int waitMilliseconds) override;
    // Presents the frame. Where the driver gives no vsync, waits for the display's next
    // refresh period (60 Hz when unknown), so the scene runs at the same speed everywhere.
    void swapBuffers() override;

    // For tools that capture or time frames: after createContext, no vsync and no pacing.
    void presentUnpaced();

  private:
    // SDL's own box; Ctrl-C and SIGTERM while it is open end the program (SignalsEndProgram.h).
    bool showBox(const char* text, const char* caption, bool yesNo, MessageIcon icon,
                 int interruptStatus) override;
    int startVideo();
    void choosePacing();

    bool videoStarted_ = false;
    bool videoFailed_ = false;                     // not tried again
    bool glLoaded_ = false;                        // by prepare(), kept until the end
    std::optional<WindowSystemErrorTrap> glTrap_;  // from the GL library load to the first context
    std::string driverSaid_;  // the GL driver's first line on stderr, until a context works
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    int modeWidth_ = 0;
    int modeHeight_ = 0;
    bool fullscreenWindow_ = false;

    bool pacing_ = false;
    std::chrono::steady_clock::duration framePeriod_{};
    std::chrono::steady_clock::time_point nextFrame_{};
};
