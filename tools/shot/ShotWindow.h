#pragma once

#include <string>

// The capture's window: hidden, with the program's pixel format (double-buffered RGBA, 5-6-5 when
// the driver has it, 16-bit depth, 1-bit stencil) and a current legacy OpenGL context.
// Kept apart from the capture loop so that the window layer can be exchanged.

// Opens the window and makes its context current; on failure writes the reason and returns false.
bool openShotWindow(int width, int height, std::string& error);
// Presents the back buffer.
void swapShotWindow();
// Releases the context and the window (safe when nothing is open).
void closeShotWindow();
