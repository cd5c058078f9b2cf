#pragma once

#include <string>

#include "app/PlatformCore.h"

struct SDL_Window;

// The page's window layer: SDL2 for the keys and the WebGL context of the page's canvas, the page
// itself (index.html) for what SDL cannot do there: the message boxes (dialogs over the canvas),
// fullscreen (the browser's Fullscreen API on the canvas), the frame clock (the browser's
// animation frames) and messages of its own. The calls that wait for the page suspend the program
// until the page answers, so the main loop stays the desktop's loop.
//
// The page's address sets the environment: TORVEL_FRAME_PACING=0 runs the frames back to back,
// TORVEL_TIMING=1 reports as the desktop program does, frames=N holds the picture of frame N,
// keys=FILE replays the recording FILE from beside the page (or a file opened on the page). The
// page's on-screen controls come as the keys they stand for.
class WebPlatform : public PlatformCore {
  public:
    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    // Through the page (index.html):
    //
    // A recording opened on the page, else keys=FILE: fetches and reads it, a file larger than a
    // replay takes unread; the line that refuses it names the path, or the file, line and cause as
    // the tools say them.
    int loadReplay(Replay& replay) override;
    // Every live run is recorded in the page's memory, and offered for download at its end
    // (ended); a replay or a frames=N run is not.
    std::string recordingPath() override;
    // The canvas goes fullscreen now, while the user's key or click still allows it; 0 when the
    // browser refuses.
    int setFullscreenMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    void showCursor(int show) override;
    // The page's own messages first (the browser left fullscreen), then SDL's keys.
    int takeMessage(WindowMessage& message, int waitMilliseconds) override;
    // Waits for the browser's next animation frame (or, with pacing off, only lets the page run).
    void swapBuffers() override;
    // Shows the replay's verdict under the canvas and keeps the picture.
    void holdPicture(const char* line) override;
    // Also shows the ending on the page, and offers the recording.
    int ended(int status) override;

    // Through SDL, on the page's canvas:
    //
    // Starts SDL's video.
    int prepare() override;
    // The page's canvas has one WebGL context: deleting it deletes its textures and lists and
    // resets its state, so that a rebuilt window starts as with a new one.
    ContextResult createContext() override;
    void deleteContext() override;
    // The canvas at width x height; windowed, the page then gives it the size it fits and sends that
    // as a Resized message (also after each F1 rebuild), fullscreen it keeps it, scaled to the screen.
    int createWindow(const char* title, int width, int height, int fullscreen) override;
    void showWindow() override;
    void destroyWindow() override;

  private:
    // A dialog over the canvas.
    bool showBox(const char* text, const char* caption, bool yesNo, MessageIcon icon,
                 int interruptStatus) override;

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;   // made once, kept for the page's life
    bool contextHeld_ = false;  // between createContext and deleteContext
    bool pacing_ = true;
    long frameLimit_ = 0;  // frames=N: the picture is held after frame N
    bool replaying_ = false;
    std::string recording_;  // the path in the page's memory, when this run is recorded
};
