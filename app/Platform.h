#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct Replay;

// What the program needs of a window system, and nothing more: one window with a current OpenGL
// context, modal message boxes, a message queue read one message at a time, and the few calls
// around the shell's run. Two window layers implement it over PlatformCore (what they do alike):
// SdlPlatform on the desktop (Linux and Windows) and WebPlatform on the page. The tests drive the
// shell through a fake.
//
// All the user does reaches the program as WindowMessages through takeMessage, whatever the
// source: a window system's keys and events, or controls of a layer's own (a page's touch keys
// come as KeyDown and KeyUp, a resized page as Resized).

enum class MessageIcon { Question, Warning, Error, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

enum class MessageKind {
    KeyDown,  // also every auto-repeat of a held key
    KeyUp,
    Minimised,       // frames stop
    Restored,        // frames resume
    Resized,         // new client size in width and height
    Close,           // the user asked to close the window
    Quit,            // posted by the shell itself after Close; ends the main loop
    FullscreenLeft,  // the window system left fullscreen by itself (a browser does, on Escape)
    Other,           // anything the shell does not look at
};

struct WindowMessage {
    MessageKind kind = MessageKind::Other;
    int keyCode = 0;  // KeyDown/KeyUp: the key's code (see KeyCodes.h); may be 256 or more
    int width = 0;    // Resized
    int height = 0;
};

// How making the rendering context can fail.
enum class ContextResult { Ready, NoPixelFormat, NoContext, NotCurrent };

class Platform {
  public:
    virtual ~Platform() = default;

    // Around the shell's run, in this order: prepare, loadReplay, recordingPath, the shell, ended.
    //
    // Starts the window system ahead of the first window, so that the wait after the start-up
    // question is short. 0 when there is none (no display): failure() says why.
    virtual int prepare() { return 1; }
    // The cause of the last failure, as the layer saw it; empty when it knows none.
    virtual std::string failure() const { return {}; }
    // A recording to replay in place of the keys: 0 when none was asked for (a layer that offers
    // none), 1 when replay holds it, -1 when it was refused (a line on stderr says why).
    virtual int loadReplay(Replay& /*replay*/) { return 0; }
    // Where to record the run's key commands (docs/recording.md), after loadReplay; empty for nowhere.
    virtual std::string recordingPath() { return {}; }
    // The program ends with status: the status for the process to end with.
    virtual int ended(int status) { return status; }

    // A modal box with no owner window. A box that cannot be shown answers No (or Ok).
    // Ctrl-C or SIGTERM while it is open ends the program at once with interruptStatus.
    virtual MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons,
                                      MessageIcon icon, int interruptStatus) = 0;

    // 1 when the display can run width x height fullscreen; the next fullscreen window gets it.
    virtual int setFullscreenMode(int width, int height, int bits) = 0;
    // Back to the desktop's display mode after a fullscreen window.
    virtual void restoreDisplayMode() = 0;
    virtual void showCursor(int show) = 0;

    // A hidden window whose client area is width x height at the top-left corner of the
    // screen, resizable and maximisable, or fullscreen in the mode set above; 1 on success.
    virtual int createWindow(const char* title, int width, int height, int fullscreen) = 0;
    // Shows the window, raises it and gives it the keyboard focus.
    virtual void showWindow() = 0;
    virtual void destroyWindow() = 0;

    // A double-buffered RGBA surface with depth and stencil bits and a current legacy context.
    virtual ContextResult createContext() = 0;
    virtual void deleteContext() = 0;

    // Takes one message off the queue; 0 when the queue is empty. An empty queue is waited on
    // for up to waitMilliseconds (0: not at all).
    virtual int takeMessage(WindowMessage& message, int waitMilliseconds) = 0;
    // Presents the back buffer.
    virtual void swapBuffers() = 0;
    // The end of a replay (loadReplay gave one): line is its verdict, printed already. The layer
    // shows it with the last picture and keeps that picture for good.
    virtual void holdPicture(const char* /*line*/) {}
};

// The program's window layer, the one its build has (SdlPlatform.cpp or WebPlatform.cpp). Made on
// main's first line: the desktop's takes over Ctrl-C and SIGTERM from then on.
std::unique_ptr<Platform> makeProgramPlatform();
