#pragma once

// The key code of the KeyTable for an SDL key; keys without a command get a code of 256 or more.
// Shared by the desktop and the page platforms, which both get their keys from SDL.
int keyCodeForSdlKey(int sdlKey, int sdlScancode);
