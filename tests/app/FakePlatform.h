#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainLoop.h"
#include "physics/World.h"

// Everything the shell does, in order: boxes, windows, waits, projections, frames.
inline std::vector<std::string> fakeLog;
inline int fakeRendering = 1;  // what setupRendering returns

inline SceneCalls fakeScene() {
    return SceneCalls{
        [](int w, int h) { fakeLog.push_back("projection " + std::to_string(w) + "x" + std::to_string(h)); },
        [] { return fakeRendering; },
        [](World& world) { world.ballPositions[0] += Vector(1.0, 0.0, 0.0); },  // shows a reset World
        [](World&) {
            fakeLog.push_back("frame");
            return 1;
        },
        [] { fakeLog.push_back("deleteTextures"); },
    };
}

// A window system driven by a script of words: "+Key" and "-Key" press and release a key (names
// in keyNames), "." is a pass that finds the queue empty, "min", "restore", "close", "WxH" a new
// size. When the script runs out the window is closed, so that a faulty loop cannot spin forever.
class FakePlatform : public Platform {
  public:
    std::deque<MessageAnswer> answers;  // to the Yes/No questions; No when none is left
    bool fullscreenMode = true;
    int failingWindow = 0;  // 1-based createWindow call that fails
    ContextResult context = ContextResult::Ready;
    int windows = 0, contexts = 0;  // held now

    explicit FakePlatform(const std::string& script = "") {
        fakeLog.clear();
        fakeRendering = 1;
        std::istringstream words(script);
        for (std::string w; words >> w;) {
            static const std::map<std::string, MessageKind> kinds = {{"min", MessageKind::Minimised},
                                                                     {"restore", MessageKind::Restored},
                                                                     {"close", MessageKind::Close}};
            WindowMessage m;
            if (w == ".") {
                script_.push_back(std::nullopt);
                continue;
            }
            if (w[0] == '+' || w[0] == '-') {
                m.kind = w[0] == '+' ? MessageKind::KeyDown : MessageKind::KeyUp;
                m.keyCode = keyNames().at(w.substr(1));
            } else if (kinds.count(w) != 0) {
                m.kind = kinds.at(w);
            } else if (std::sscanf(w.c_str(), "%dx%d", &m.width, &m.height) == 2) {
                m.kind = MessageKind::Resized;
            }
            script_.push_back(m);
        }
    }
    static const std::map<std::string, int>& keyNames() {
        static const std::map<std::string, int> names = {{"Esc", keys::escape},
                                                         {"Left", keys::left},
                                                         {"Right", keys::right},
                                                         {"Up", keys::up},
                                                         {"Down", keys::down},
                                                         {"Plus", keys::keypadPlus},
                                                         {"Minus", keys::keypadMinus},
                                                         {"F1", keys::f1},
                                                         {"F2", keys::f2},
                                                         {"F3", keys::f3},
                                                         {"Huge", 300}};
        return names;
    }

    MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons, MessageIcon,
                              int interruptStatus) override {
        fakeLog.push_back(std::string(caption) + "|" + text + "|" + std::to_string(interruptStatus));
        if (buttons == MessageButtons::Ok) {
            return MessageAnswer::Ok;
        }
        const MessageAnswer a = answers.empty() ? MessageAnswer::No : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return a;
    }
    int setFullscreenMode(int w, int h, int bits) override {
        fakeLog.push_back("mode " + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bits));
        return fullscreenMode ? 1 : 0;
    }
    void restoreDisplayMode() override { fakeLog.push_back("desktop"); }
    void showCursor(int show) override { fakeLog.push_back(show != 0 ? "cursor" : "noCursor"); }
    int createWindow(const char* title, int w, int h, int fullscreen) override {
        fakeLog.push_back(std::string("window ") + title + (fullscreen != 0 ? " full " : " ") +
                          std::to_string(w) + "x" + std::to_string(h));
        windows += ++created_ != failingWindow ? 1 : 0;
        return created_ != failingWindow ? 1 : 0;
    }
    void showWindow() override { fakeLog.push_back("show"); }
    void destroyWindow() override { fakeLog.push_back("destroy " + std::to_string(--windows)); }
    ContextResult createContext() override {
        contexts += context != ContextResult::NoContext ? 1 : 0;  // an unusable one is still held
        return context;
    }
    void deleteContext() override { --contexts; }
    int takeMessage(WindowMessage& message, int wait) override {
        if (wait != 0) {
            fakeLog.push_back("wait " + std::to_string(wait));
        }
        if (script_.empty()) {
            fakeLog.push_back("out of script");
        }
        const std::optional<WindowMessage> next =
            script_.empty() ? WindowMessage{MessageKind::Close} : script_.front();
        if (!script_.empty()) {
            script_.pop_front();
        }
        message = next.value_or(WindowMessage{});
        return next.has_value() ? 1 : 0;
    }
    void swapBuffers() override {}

  private:
    std::deque<std::optional<WindowMessage>> script_;
    int created_ = 0;
};

// How often the log holds an entry.
inline int logged(const std::string& entry) {
    int n = 0;
    for (const std::string& e : fakeLog) {
        n += e == entry ? 1 : 0;
    }
    return n;
}
