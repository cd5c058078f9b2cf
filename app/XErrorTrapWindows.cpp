#include "app/XErrorTrap.h"

// Windows has no X protocol errors: a GL driver that cannot make a context says so by the
// return values of the context calls alone.
XErrorTrap::XErrorTrap() = default;

XErrorTrap::~XErrorTrap() = default;
