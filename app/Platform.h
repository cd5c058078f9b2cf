#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// What the shell needs of a window system, and nothing more: one window with a current
// OpenGL context, modal message boxes, and a message queue read one message at a time.
// SdlPlatform is the real one; the tests drive the shell through a fake.

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
    // Keeps the last picture and shows line with it, for good: a replay has ended. Only the page
    // replays; elsewhere there is nothing to hold.
    virtual void holdPicture(const char* /*line*/) {}
};

// A failure box also goes to stderr, on one line with its cause, for whoever ran the program
// from a terminal or a script. The cause is said once: it is cleared here.
inline void printFailureLine(const char* caption, const char* text, std::string& cause) {
    std::string line = std::string(caption) + ": " + text;
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    if (!cause.empty()) {
        line += " (" + cause + ")";
        cause.clear();
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}
