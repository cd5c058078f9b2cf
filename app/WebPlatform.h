#pragma once

#include <chrono>
#include <string>

#include "app/Platform.h"

struct SDL_Window;
struct Replay;

// The window layer on a web page: SDL2 for the keys and the WebGL context of the page's canvas,
// the page itself (index.html) for what SDL cannot do there: the message boxes (dialogs over the
// canvas), fullscreen (the browser's Fullscreen API on the canvas) and the frame clock (the
// browser's animation frames). The calls that wait for the page suspend the program until the
// page answers, so the main loop stays the desktop's loop.
//
// The page's address sets the environment: TORVEL_FRAME_PACING=0 runs the frames back to back,
// TORVEL_TIMING=1 reports as the desktop program does, frames=N holds the picture of frame N,
// keys=FILE replays the recording FILE from beside the page.
class WebPlatform : public Platform {
  public:
    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon,
                              int interruptStatus) override;
    // The canvas goes fullscreen now, while the user's key or click still allows it; 0 when the
    // browser refuses.
    int setFullscreenMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    void showCursor(int show) override;
    int createWindow(const char* title, int width, int height, int fullscreen) override;
    void showWindow() override;
    void destroyWindow() override;
    ContextResult createContext() override;
    // The page's canvas has one WebGL context: deleting it deletes its textures and lists and
    // resets its state, so that a rebuilt window starts as with a new one.
    void deleteContext() override;
    int takeMessage(WindowMessage& message, int waitMilliseconds) override;
    // Waits for the browser's next animation frame (or, with pacing off, only lets the page run).
    void swapBuffers() override;
    // Shows the replay's verdict under the canvas and keeps the picture.
    void holdPicture(const char* line) override;

    // Starts SDL's video on the page's canvas; 0 when that fails, failure() says why.
    int prepare();
    const std::string& failure() const { return failure_; }
    // keys=FILE: fetches and reads the recording. 0: none asked for; 1: read; -1: refused, with
    // the line that says why (the path, or the file, line and cause as the tools say them).
    int loadReplay(Replay& replay);
    // Shows the ending on the page (the program's exit status) and returns the status.
    int ended(int status);

  private:
    std::string failure_;
    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;   // made once, kept for the page's life
    bool contextHeld_ = false;  // between createContext and deleteContext
    bool pacing_ = true;
    bool reportTiming_ = false;
    long frameLimit_ = 0;  // frames=N: the picture is held after frame N
    long framesShown_ = 0;
    std::chrono::steady_clock::time_point created_{};
    std::chrono::steady_clock::time_point lastAnswer_{};
};
