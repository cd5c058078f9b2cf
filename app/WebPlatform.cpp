#include "app/WebPlatform.h"

#include <SDL2/SDL.h>
#include <emscripten.h>

#include <cstdio>
#include <memory>

#include "app/KeyCodes.h"
#include "app/SdlWindowing.h"
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
EM_ASYNC_JS(int, pageFetchReplay, (char* path, int size, double sizeLimit, double* fileSize), {
    const got = await Module.torvelPage.fetchReplay(sizeLimit);
    if (got === null) return 0;
    // A file larger than a replay takes comes unread: its name and size say why it is refused.
    if (got.size !== undefined) {
        stringToUTF8(got.path, path, size);
        HEAPF64[fileSize >> 3] = got.size;
        return 2;
    }
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
// The next of the page's own messages, its fields into keyCode, width, height; its kind's place in
// the list (pageMessageKinds below), or -1 when there is none.
EM_JS(int, pageTakeMessage, (int* fields), {
    const message = Module.torvelPage.messages.shift();
    if (!message) return -1;
    HEAP32.set([message.keyCode | 0, message.width | 0, message.height | 0], fields >> 2);
    return ['KeyDown', 'KeyUp', 'Resized', 'FullscreenLeft'].indexOf(message.kind);
});
EM_JS(void, pageShowCursor, (int show), {
    Module.torvelPage.showCursor(show != 0);
});
EM_JS(int, pageFrameLimit, (), {
    return Module.torvelPage.frameLimit();
});
EM_JS(void, pageOfferRecording, (const char* path), {
    const name = UTF8ToString(path);
    try {
        Module.torvelPage.offerRecording(name, FS.readFile(name));
    } catch (notWritten) {
        // The writer could not open it, and said so.
    }
});
EM_JS(void, pageEnded, (int status), {
    Module.torvelPage.ended(status);
});
EM_JS(void, pageWindowMade, (int fullscreen), {
    Module.torvelPage.windowMade(fullscreen != 0);
});
EM_JS(void, pageOfferControl, (const char* name, int keyCode), {
    Module.torvelPage.offerControl(UTF8ToString(name), keyCode);
});
EM_JS(void, pageReplaying, (), {
    Module.torvelPage.replaying();
});
// clang-format on

namespace {

constexpr MessageKind pageMessageKinds[] = {MessageKind::KeyDown, MessageKind::KeyUp, MessageKind::Resized,
                                            MessageKind::FullscreenLeft};

// The page's on-screen controls, by the name each shows, and the key each one is: they reach the shell
// as that key's messages, so they act as the keys do and a recording names them as it names the keys.
struct PageControl {
    const char* name;
    int keyCode;
};
constexpr PageControl pageControls[] = {
    {"Forward", keys::up},       {"Back", keys::down},         {"Turn left", keys::left},
    {"Turn right", keys::right}, {"Faster", keys::keypadPlus}, {"Slower", keys::keypadMinus},
    {"Camera", keys::f2},        {"Sound", keys::f3},          {"Fullscreen", keys::f1},
    {"End", keys::escape},
};

bool takePageMessage(WindowMessage& message) {
    int fields[3] = {};
    const int kind = pageTakeMessage(fields);
    if (kind < 0) {
        return false;
    }
    message.kind = pageMessageKinds[kind];
    message.keyCode = fields[0];
    message.width = fields[1];
    message.height = fields[2];
    return true;
}

}  // namespace

std::unique_ptr<Platform> makeProgramPlatform() {
    return std::make_unique<WebPlatform>();
}

WebPlatform::WebPlatform() : pacing_(!envIs("TORVEL_FRAME_PACING", "0")), frameLimit_(pageFrameLimit()) {}

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
    for (const PageControl& control : pageControls) {
        pageOfferControl(control.name, control.keyCode);
    }
    return 1;
}

bool WebPlatform::showBox(const char* text, const char* caption, bool yesNo, MessageIcon /*icon*/,
                          int /*interruptStatus*/) {
    return pageDialog(text, caption, yesNo ? 1 : 0) == 1;
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

int WebPlatform::createWindow(const char* title, int width, int height, int fullscreen) {
    failure_.clear();
    if (!videoStarted_) {
        return 0;
    }
    requestFrameSurface();
    // Fullscreen is the page's business: the canvas keeps its size and is scaled to the screen.
    if (openSdlWindow(window_, title, width, height, SDL_WINDOW_OPENGL, failure_) == 0) {
        return 0;
    }
    // SDL made the canvas width x height; a window gets the size the page gives it, as a Resized message.
    pageWindowMade(fullscreen);
    return 1;
}

void WebPlatform::showWindow() {
    SDL_ShowWindow(window_);
}

void WebPlatform::destroyWindow() {
    destroySdlWindow(window_);
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
    return stencilChecked(failure_);
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
    if (takePageMessage(message)) {
        return 1;
    }
    // Of SDL's events the page takes only the keys.
    SDL_Event event;
    return videoStarted_ ? takeSdlEvent(event, message, 0) : 0;
}

void WebPlatform::swapBuffers() {
    // The GL layer holds the frame's last vertices until a call that needs them drawn.
    glFlush();
    SDL_GL_SwapWindow(window_);
    const long presented = framePresented();
    if (frameLimit_ > 0 && presented == frameLimit_) {
        std::printf("held at frame %ld\n", presented);
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
    double fileSize = 0;
    const int fetched =
        pageFetchReplay(path, sizeof path, static_cast<double>(recordingSizeLimit), &fileSize);
    if (fetched == 2) {
        std::fprintf(stderr, "No replay: %s\n",
                     recordingTooLarge(path, static_cast<std::int64_t>(fileSize)).c_str());
        return -1;
    }
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
    pageReplaying();
    replaying_ = true;
    return 1;
}

std::string WebPlatform::recordingPath() {
    // A replay or a run held at frame N adds nothing to what it came from.
    if (!replaying_ && frameLimit_ == 0) {
        recording_ = "torvel-room.keys";
    }
    return recording_;
}

int WebPlatform::ended(int status) {
    PlatformCore::ended(status);
    std::fflush(stdout);
    std::fflush(stderr);
    if (!recording_.empty()) {
        pageOfferRecording(recording_.c_str());
    }
    pageEnded(status);
    return status;
}
