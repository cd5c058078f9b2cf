#pragma once

#include <string>

#include "app/Platform.h"

struct SDL_Window;
union SDL_Event;

// What both window layers (the desktop's and the page's, both on SDL2) do alike with SDL's windows,
// contexts and events.

// Asks the next window's surface for what the frame needs: double-buffered, a 16-bit depth buffer
// and the stencil bit, over SDL's defaults.
void requestFrameSurface();

// Ready when the current context's surface has the stencil bit that the frame's masked ball pass
// needs; otherwise NoPixelFormat, with failure saying so.
ContextResult stencilChecked(std::string& failure);

// Makes a window for the surface asked for (SDL_WINDOW_... flags); 0 when SDL cannot, with
// failure saying why.
int openSdlWindow(SDL_Window*& window, const char* title, int width, int height, unsigned flags,
                  std::string& failure);

// Destroys the window, if there is one.
void destroySdlWindow(SDL_Window*& window);

// Takes one SDL event, waiting up to waitMilliseconds for one (0: not at all); 0 when none came.
// Keys become the shell's KeyDown and KeyUp (SdlKeys.h); any other event gives Other, for the layer
// to read from event.
int takeSdlEvent(SDL_Event& event, WindowMessage& message, int waitMilliseconds);
