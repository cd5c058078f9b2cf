#include "FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "physics/World.h"

int fakeSetupRenderingResult = 1;

std::vector<std::string>& callLog() {
    static std::vector<std::string> log;
    return log;
}

int countCalls(const std::string& name) {
    return static_cast<int>(std::count(callLog().begin(), callLog().end(), name));
}

int firstCall(const std::string& name) {
    const auto& log = callLog();
    const auto found = std::find(log.begin(), log.end(), name);
    return found == log.end() ? -1 : static_cast<int>(found - log.begin());
}

namespace {

void logCall(const std::string& entry) {
    callLog().push_back(entry);
}

}  // namespace

SceneCalls fakeSceneCalls() {
    return SceneCalls{
        [](int width, int height) {
            logCall("setupProjection " + std::to_string(width) + "x" + std::to_string(height));
        },
        [] {
            logCall("setupRendering");
            return fakeSetupRenderingResult;
        },
        [](World& world) {
            // A visible trace of every frame, so that a World laid out again would show.
            logCall("stepWorld");
            world.ballPositions[0] += Vector(1.0, 0.0, 0.0);
        },
        [](World&) {
            logCall("drawFrame");
            return 1;
        },
        [] { logCall("deleteTextures"); },
    };
}

FakePlatform::FakePlatform() {
    callLog().clear();
    fakeSetupRenderingResult = 1;
}

FakePlatform::~FakePlatform() = default;

void FakePlatform::message(MessageKind kind, int keyCode, int width, int height) {
    Step step;
    step.message.kind = kind;
    step.message.keyCode = keyCode;
    step.message.width = width;
    step.message.height = height;
    script_.push_back(step);
}

void FakePlatform::idle(int passes) {
    Step step;
    step.idlePasses = passes;
    script_.push_back(step);
}

MessageAnswer FakePlatform::showMessage(const char* text, const char* caption, MessageButtons buttons,
                                        MessageIcon) {
    messageTexts.push_back(std::string(caption) + "|" + text);
    logCall(std::string("message ") + caption);
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers.empty()) {
        return MessageAnswer::No;
    }
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

int FakePlatform::setFullscreenMode(int width, int height, int bits) {
    logCall("setFullscreenMode " + std::to_string(width) + "x" + std::to_string(height) + "x" +
            std::to_string(bits));
    return fullscreenSupported ? 1 : 0;
}

void FakePlatform::restoreDisplayMode() {
    logCall("restoreDisplayMode");
}

void FakePlatform::showCursor(int show) {
    logCall(show != 0 ? "showCursor" : "hideCursor");
}

int FakePlatform::createWindow(const char* title, int width, int height, int fullscreen) {
    logCall("createWindow");
    titles.push_back(title);
    fullscreenWindows.push_back(fullscreen);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    if (static_cast<int>(titles.size()) == failingWindow) {
        return 0;
    }
    ++windowsHeld;
    return 1;
}

void FakePlatform::showWindow() {
    logCall("showWindow");
}

void FakePlatform::destroyWindow() {
    logCall("destroyWindow");
    --windowsHeld;
}

ContextResult FakePlatform::createContext() {
    logCall("createContext");
    if (contextResult == ContextResult::Ready || contextResult == ContextResult::NoPixelFormat ||
        contextResult == ContextResult::NotCurrent) {
        ++contextsHeld;  // a context exists even when it turns out unusable
    }
    return contextResult;
}

void FakePlatform::deleteContext() {
    logCall("deleteContext");
    --contextsHeld;
}

int FakePlatform::takeMessage(WindowMessage& message) {
    if (script_.empty()) {
        message = WindowMessage{};
        message.kind = MessageKind::Close;
        logCall("message-taken");
        return 1;
    }
    Step& step = script_.front();
    if (step.idlePasses > 0) {
        ++emptyPolls;
        if (--step.idlePasses == 0) {
            script_.pop_front();
        }
        return 0;
    }
    message = step.message;
    script_.pop_front();
    logCall("message-taken");
    return 1;
}

void FakePlatform::swapBuffers() {
    logCall("swapBuffers");
    ++swaps;
}
