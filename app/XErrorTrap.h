#pragma once

// Xlib ends the process on any X protocol error by default. A GL driver that cannot make a
// context fails that way (for instance when the server refuses its indirect context), so
// while the GL library loads and a context is made, errors are let through: the GL calls then
// fail and the program reports that as its own failure. Nested traps share the first one's
// handler; the last to go puts the previous handler back.
class XErrorTrap {
  public:
    XErrorTrap();
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;
};
