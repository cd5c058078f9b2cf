#pragma once

#include "app/Platform.h"

union SDL_Event;

// The key code of the KeyTable for an SDL key; keys without a command get a code of 256 or more.
// Shared by the desktop and the page platforms, which both get their keys from SDL.
int keyCodeForSdlKey(int sdlKey, int sdlScancode);

// A key event as the shell's message; false for any other event. Key-downs with Alt held belong to
// the window system and give an empty message; key-ups are always taken, so that a key released
// while Alt is down does not stay held.
bool keyMessageForSdlEvent(const SDL_Event& event, WindowMessage& message);
