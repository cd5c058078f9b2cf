#include "app/WindowSystemErrorTrap.h"

#include <X11/Xlib.h>

namespace {

int trapsHeld = 0;
XErrorHandler previousHandler = nullptr;

// The failing GL call says what went wrong; the error itself needs no more.
int letThrough(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

WindowSystemErrorTrap::WindowSystemErrorTrap() {
    if (trapsHeld++ == 0) {
        previousHandler = XSetErrorHandler(letThrough);
    }
}

WindowSystemErrorTrap::~WindowSystemErrorTrap() {
    if (--trapsHeld == 0) {
        XSetErrorHandler(previousHandler);
        previousHandler = nullptr;
    }
}
