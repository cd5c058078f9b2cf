#include "app/WindowSystemErrorTrap.h"

// Nothing to trap: a GL driver that cannot make a context says so by the return values of the
// context calls alone.
WindowSystemErrorTrap::WindowSystemErrorTrap() = default;

WindowSystemErrorTrap::~WindowSystemErrorTrap() = default;
