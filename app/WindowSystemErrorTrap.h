#pragma once

// While the GL library loads and a context is made, the window system's own errors are let
// through, so that the GL calls fail and the program reports that as its own failure.
// X11 (WindowSystemErrorTrap.cpp): Xlib ends the process on any X protocol error by default, and a
// GL driver that cannot make a context fails that way (for instance when the server refuses its
// indirect context). Nested traps share the first one's handler; the last to go puts the previous
// handler back. Windows (WindowSystemErrorTrapWindows.cpp): its window system reports by the
// context calls' return values alone, so there is nothing to trap.
class WindowSystemErrorTrap {
  public:
    WindowSystemErrorTrap();
    ~WindowSystemErrorTrap();
    WindowSystemErrorTrap(const WindowSystemErrorTrap&) = delete;
    WindowSystemErrorTrap& operator=(const WindowSystemErrorTrap&) = delete;
};
