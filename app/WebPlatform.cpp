#include "app/WebPlatform.h"

#include <SDL2/SDL.h>
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/SdlKeys.h"
#include "app/Window.h"
#include "glshim/GlShim.h"
#include "io/RecordingFile.h"

// The page's side (index.html, Module.torvelPage). The asynchronous ones suspend the program
// until the page answers.
// clang-format off
EM_ASYNC_JS(int, pageDialog, (const char* text, const char* caption, int yesNo), {
    return await Module.torvelPage.dialog(UTF8ToString(text), UTF8ToString(caption), yesNo != 0);
});
EM_ASYNC_JS(int, pageEnterFullscreen, (), {
    return await Module.torvelPage.enterFullscreen();
});
EM_ASYNC_JS(void, pageNextFrame, (int paced), {
    await Module.torvelPage.nextFrame(paced != 0);
});
EM_ASYNC_JS(void, pageHold, (), {
    await new Promise(() => {});
});
EM_ASYNC_JS(int, pageFetchReplay, (char* path, int size), {
    const got = await Module.torvelPage.fetchReplay();
    if (got === null) return 0;
    if (!got.bytes) return -1;
    // Under the same relative name, so that the reader's lines name the file as it was asked for.
    try {
        const slash = got.path.lastIndexOf('/');
        if (slash > 0) FS.mkdirTree(got.path.slice(0, slash));
        FS.writeFile(got.path, got.bytes);
    } catch (failed) {
        Module.torvelPage.refuseReplay(got.path + ': cannot be stored: ' + failed);
        return -1;
    }
    stringToUTF8(got.path, path, size);
    return 1;
});
EM_JS(void, pageShowLine, (const char* line), {
    Module.torvelPage.showLine(UTF8ToString(line));
});
EM_JS(void, pageLeaveFullscreen, (), {
    Module.torvelPage.leaveFullscreen();
});
EM_JS(int, pageFullscreenLeft, (), {
    return Module.torvelPage.takeFullscreenLeft();
});
EM_JS(void, pageShowCursor, (int show), {
    Module.torvelPage.showCursor(show != 0);
});
EM_JS(int, pageFrameLimit, (), {
    return Module.torvelPage.frameLimit();
});
EM_JS(void, pageEnded, (int status), {
    Module.torvelPage.ended(status);
});
// clang-format on

namespace {

using Clock = std::chrono::steady_clock;

bool envIs(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set != nullptr && std::strcmp(set, value) == 0;
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

WebPlatform::WebPlatform()
    : pacing_(!envIs("TORVEL_FRAME_PACING", "0")),
      reportTiming_(envIs("TORVEL_TIMING", "1")),
      frameLimit_(pageFrameLimit()),
      created_(Clock::now()),
      lastAnswer_(created_) {}

WebPlatform::~WebPlatform() {
    deleteContext();
    if (context_ != nullptr) {
        SDL_GL_DeleteContext(context_);
    }
    destroyWindow();
    if (videoStarted_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

int WebPlatform::prepare() {
    // SDL would sleep in its own swap too; the keys go to the canvas alone, which has the focus.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        failure_ = std::string("no canvas to draw on: ") + SDL_GetError();
        return 0;
    }
    // Without text input SDL cancels the browser's action on every key the program reads.
    SDL_StopTextInput();
    videoStarted_ = true;
    return 1;
}

MessageAnswer WebPlatform::showMessage(const char* text, const char* caption, MessageButtons buttons,
                                       MessageIcon /*icon*/, int /*interruptStatus*/) {
    const bool question = buttons == MessageButtons::YesNo;
    if (!question) {
        printFailureLine(caption, text, failure_);
    }
    const int pressed = pageDialog(text, caption, question ? 1 : 0);
    lastAnswer_ = Clock::now();
    if (!question) {
        return MessageAnswer::Ok;
    }
    return pressed == 1 ? MessageAnswer::Yes : MessageAnswer::No;
}

int WebPlatform::setFullscreenMode(int /*width*/, int /*height*/, int /*bits*/) {
    if (pageEnterFullscreen() != 1) {
        failure_ = "the browser refused fullscreen";
        return 0;
    }
    return 1;
}

void WebPlatform::restoreDisplayMode() {
    pageLeaveFullscreen();
}

void WebPlatform::showCursor(int show) {
    pageShowCursor(show);
}

int WebPlatform::createWindow(const char* title, int width, int height, int /*fullscreen*/) {
    failure_.clear();
    if (!videoStarted_) {
        return 0;
    }
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
    // Fullscreen is the page's business: the canvas keeps its size and is scaled to the screen.
    window_ = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL);
    if (window_ == nullptr) {
        failure_ = SDL_GetError();
        return 0;
    }
    return 1;
}

void WebPlatform::showWindow() {
    SDL_ShowWindow(window_);
}

void WebPlatform::destroyWindow() {
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
}

ContextResult WebPlatform::createContext() {
    // The canvas has one WebGL context for the page's life, and the legacy-GL emulation sets
    // itself up once per context made: a rebuilt window takes the one made first, reset.
    if (context_ != nullptr) {
        contextHeld_ = SDL_GL_MakeCurrent(window_, context_) == 0;
        if (!contextHeld_) {
            failure_ = SDL_GetError();
            return ContextResult::NotCurrent;
        }
        return ContextResult::Ready;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (context_ == nullptr) {
        failure_ = SDL_GetError();
        return ContextResult::NoContext;
    }
    if (SDL_GL_MakeCurrent(window_, context_) != 0) {
        failure_ = SDL_GetError();
        return ContextResult::NotCurrent;
    }
    contextHeld_ = true;
    int stencilBits = 0;
    if (SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits) != 0 || stencilBits < 1) {
        failure_ = "no stencil buffer";
        return ContextResult::NoPixelFormat;
    }
    return ContextResult::Ready;
}

void WebPlatform::deleteContext() {
    // What a deleted context takes with it: every texture and list, and the state.
    if (contextHeld_) {
        torvelGlReset();
        contextHeld_ = false;
    }
}

int WebPlatform::takeMessage(WindowMessage& message, int /*waitMilliseconds*/) {
    message = WindowMessage{};
    if (pageFullscreenLeft() != 0) {
        message.kind = MessageKind::FullscreenLeft;
        return 1;
    }
    if (!videoStarted_) {
        return 0;
    }
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return 0;
    }
    keyMessageForSdlEvent(event, message);
    return 1;
}

void WebPlatform::swapBuffers() {
    // The GL layer holds the frame's last vertices until a call that needs them drawn.
    glFlush();
    SDL_GL_SwapWindow(window_);
    ++framesShown_;
    if (reportTiming_) {
        const Clock::time_point now = Clock::now();
        if (framesShown_ == 1) {
            std::fprintf(stderr,
                         "First frame presented %.1f ms after start-up, %.1f ms after the last answer\n",
                         millisecondsBetween(created_, now), millisecondsBetween(lastAnswer_, now));
        }
        if (framesShown_ % 100 == 0) {
            std::fprintf(stderr, "%ld frames presented after %.1f s\n", framesShown_,
                         millisecondsBetween(created_, now) / 1000.0);
        }
    }
    if (frameLimit_ > 0 && framesShown_ == frameLimit_) {
        std::printf("held at frame %ld\n", framesShown_);
        std::fflush(stdout);
        pageHold();
    }
    pageNextFrame(pacing_ ? 1 : 0);
}

void WebPlatform::holdPicture(const char* line) {
    pageShowLine(line);
    pageHold();
}

int WebPlatform::loadReplay(Replay& replay) {
    char path[256];
    const int fetched = pageFetchReplay(path, sizeof path);
    if (fetched != 1) {
        return fetched;
    }
    std::string message, note;
    if (!readRecording(path, frameLimit_ > 0 ? frameLimit_ : -1, replay.recording, message, note)) {
        std::fprintf(stderr, "No replay: %s\n", message.c_str());
        return -1;
    }
    if (!note.empty()) {
        std::fprintf(stderr, "Replay: %s\n", note.c_str());
    }
    // With a frame count the frames run as the tools run them, held after the last one instead.
    replay.checkAt = frameLimit_ > 0 ? -1 : replayFrames(replay.recording);
    return 1;
}

int WebPlatform::ended(int status) {
    if (reportTiming_ && framesShown_ > 0) {
        std::fprintf(stderr, "%ld frames presented in %.1f s since start-up\n", framesShown_,
                     millisecondsBetween(created_, Clock::now()) / 1000.0);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    pageEnded(status);
    return status;
}
