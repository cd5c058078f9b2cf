#include "RenderTest.h"

#include <SDL.h>

#include <cstdlib>

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
}  // namespace

bool openContext(int width, int height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // The video subsystem and one extra reference to the driver stay for the whole process, so that
    // leak reports can still name the driver's modules after the last window has gone.
    static const bool driverKept = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 && SDL_GL_LoadLibrary(nullptr) == 0;
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    const int attributes[][2] = {{SDL_GL_RED_SIZE, 5},
                                 {SDL_GL_GREEN_SIZE, 6},
                                 {SDL_GL_BLUE_SIZE, 5},
                                 {SDL_GL_DEPTH_SIZE, 16},
                                 {SDL_GL_STENCIL_SIZE, 1},
                                 {SDL_GL_DOUBLEBUFFER, 1},
                                 {SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY}};
    for (const auto& [attribute, value] : attributes) {
        SDL_GL_SetAttribute(static_cast<SDL_GLattr>(attribute), value);
    }
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    window = driverKept ? SDL_CreateWindow("render test", 0, 0, width, height, flags) : nullptr;
    context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    return context != nullptr;
}

void swapBuffers() {
    SDL_GL_SwapWindow(window);
}
