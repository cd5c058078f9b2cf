#include "tools/shot/ShotWindow.h"

#include <SDL.h>

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;

void requestPixelFormat(int red, int green, int blue) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, blue);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

bool tryOpen(int width, int height, int red, int green, int blue, std::string& error) {
    requestPixelFormat(red, green, blue);
    window = SDL_CreateWindow("Torvel Square Room", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                              height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        error = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        error = std::string("cannot create the OpenGL context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        window = nullptr;
        return false;
    }
    return true;
}

}  // namespace

bool openShotWindow(int width, int height, std::string& error) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot start the video subsystem: ") + SDL_GetError();
        return false;
    }
    // 16 bits per pixel first, as the program asks for; drivers without it get 8 bits per channel.
    if (!tryOpen(width, height, 5, 6, 5, error) && !tryOpen(width, height, 8, 8, 8, error)) {
        SDL_Quit();
        return false;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        error = std::string("cannot make the OpenGL context current: ") + SDL_GetError();
        closeShotWindow();
        return false;
    }
    SDL_GL_SetSwapInterval(0);
    return true;
}

void swapShotWindow() {
    SDL_GL_SwapWindow(window);
}

void closeShotWindow() {
    if (context != nullptr) {
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    SDL_Quit();
}
