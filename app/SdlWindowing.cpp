#include "app/SdlWindowing.h"

#include <SDL2/SDL.h>

#include "app/SdlKeys.h"

void requestFrameSurface() {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
}

ContextResult stencilChecked(std::string& failure) {
    int stencilBits = 0;
    if (SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits) != 0 || stencilBits < 1) {
        failure = "no stencil buffer";
        return ContextResult::NoPixelFormat;
    }
    return ContextResult::Ready;
}

int openSdlWindow(SDL_Window*& window, const char* title, int width, int height, unsigned flags,
                  std::string& failure) {
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (window == nullptr) {
        failure = SDL_GetError();
        return 0;
    }
    return 1;
}

void destroySdlWindow(SDL_Window*& window) {
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

int takeSdlEvent(SDL_Event& event, WindowMessage& message, int waitMilliseconds) {
    const int taken =
        waitMilliseconds > 0 ? SDL_WaitEventTimeout(&event, waitMilliseconds) : SDL_PollEvent(&event);
    if (taken == 0) {
        return 0;
    }
    message = WindowMessage{};
    keyMessageForSdlEvent(event, message);
    return 1;
}
