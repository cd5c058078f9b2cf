#include "app/SdlKeys.h"

#include <SDL2/SDL.h>

#include "app/KeyCodes.h"

int keyCodeForSdlKey(int sdlKey, int sdlScancode) {
    struct Entry {
        SDL_Keycode sdl;
        int code;
    };
    static const Entry table[] = {
        {SDLK_ESCAPE, keys::escape},
        {SDLK_LEFT, keys::left},
        {SDLK_UP, keys::up},
        {SDLK_RIGHT, keys::right},
        {SDLK_DOWN, keys::down},
        {SDLK_KP_PLUS, keys::keypadPlus},
        {SDLK_KP_MINUS, keys::keypadMinus},
        // Keyboards without a keypad: the keys that type + or = and - do the same, by character,
        // so that each layout's own keys work (and a recording names them as the keypad's).
        {SDLK_PLUS, keys::keypadPlus},
        {SDLK_EQUALS, keys::keypadPlus},
        {SDLK_MINUS, keys::keypadMinus},
        {SDLK_F1, keys::f1},
        {SDLK_F2, keys::f2},
        {SDLK_F3, keys::f3},
    };
    for (const Entry& entry : table) {
        if (entry.sdl == sdlKey) {
            return entry.code;
        }
    }
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) {
        return 'A' + (sdlKey - SDLK_a);
    }
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) {
        return '0' + (sdlKey - SDLK_0);
    }
    return keys::count + sdlScancode;
}

bool keyMessageForSdlEvent(const SDL_Event& event, WindowMessage& message) {
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) {
        return false;
    }
    if (event.type == SDL_KEYUP || (event.key.keysym.mod & KMOD_ALT) == 0) {
        message.kind = event.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
        message.keyCode = keyCodeForSdlKey(event.key.keysym.sym, event.key.keysym.scancode);
    }
    return true;
}
