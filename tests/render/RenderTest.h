#pragma once

// Makes a new legacy OpenGL context current, in a hidden window of the program's pixel format on
// SDL's offscreen driver (no display needed); the window and context opened before are closed.
// False with the reason in SDL_GetError().
bool openContext(int width, int height);
void swapBuffers();
