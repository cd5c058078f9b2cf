#pragma once

#include "app/Window.h"

// Window size, colour depth and titles of the one window.
constexpr int windowWidth = 640;
constexpr int windowHeight = 480;
constexpr int windowBits = 16;
constexpr const char* startTitle = "Torvel Square Room";
constexpr const char* rebuiltTitle = "Torvel Room";
// Longest wait for a message while minimised; bounded, so that nothing can stall the loop.
constexpr int inactiveWaitMilliseconds = 100;

// The program: start-up question, world layout, window, frame loop, shutdown.
// Returns the exit status: 0 after Escape or closing the window, 1 after a reported failure.
// A recording, if any, ends with the frames drawn and the digest of the final state.
int runMainLoop(Shell& shell);

// Acts on the key table once per frame, and records the pass when its commands acted.
// 0 when an F1 rebuild of the window failed.
int applyKeyCommands(Shell& shell);
