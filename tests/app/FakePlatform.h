#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainLoop.h"
#include "io/RecordingWriter.h"
#include "physics/World.h"

// What the shell did, in order, and what the fake setupRendering returns.
inline std::vector<std::string> fakeLog;
inline int fakeRendering = 1;

inline void note(const std::string& entry) {
    fakeLog.push_back(entry);
}

// Its step moves ball 0, so that a World laid out again would show.
inline SceneCalls fakeScene() {
    return SceneCalls{
        [](int w, int h) { note("proj " + std::to_string(w) + "x" + std::to_string(h)); },
        [] { return fakeRendering; },
        [](World& world) { return world.ballPositions[0] += Vector(1.0, 0.0, 0.0), StepReport{}; },
        [](World&) { return note("frame"), 1; },
        [] { note("textures deleted"); },
    };
}

// A window system run by a script of words, one message per takeMessage: "+Key" and "-Key" press and
// release a key, "." finds the queue empty, "min", "restore", "close", "WxH" a new size, "left" the
// window system leaving fullscreen by itself. Set-up words:
// each "Yes" answers one question with Yes (the rest get No), "nomode" refuses the fullscreen mode,
// "failN" fails the Nth window, "ctxN" makes createContext give ContextResult N, "norender" fails
// setupRendering. After the script the window is closed, so that a faulty loop cannot spin forever.
class FakePlatform : public Platform {
  public:
    int held = 0;  // windows and contexts

    explicit FakePlatform(const std::string& script) {
        static const std::vector<std::string> keyNames = {"Esc",  "Left",  "Up", "Right", "Down",
                                                          "Plus", "Minus", "F1", "F2",    "F3"};
        static const std::vector<int> keyCodes = {
            keys::escape,     keys::left,        keys::up, keys::right, keys::down,
            keys::keypadPlus, keys::keypadMinus, keys::f1, keys::f2,    keys::f3};
        fakeLog.clear();
        fakeRendering = 1;
        std::istringstream words(script);
        for (std::string w; words >> w;) {
            WindowMessage m;
            if (w == "Yes" || w == "nomode" || w == "norender" ||
                std::sscanf(w.c_str(), "fail%d", &failing_) == 1 ||
                std::sscanf(w.c_str(), "ctx%d", &context_) == 1) {
                yeses_ += w == "Yes" ? 1 : 0;
                mode_ = mode_ && w != "nomode";
                fakeRendering = w == "norender" ? 0 : fakeRendering;
            } else if (std::sscanf(w.c_str(), "%dx%d", &m.width, &m.height) == 2) {
                m.kind = MessageKind::Resized;
            } else if (w[0] == '+' || w[0] == '-') {
                m.kind = w[0] == '+' ? MessageKind::KeyDown : MessageKind::KeyUp;
                m.keyCode =
                    keyCodes.at(std::find(keyNames.begin(), keyNames.end(), w.substr(1)) - keyNames.begin());
            } else {
                // Quit stands for the empty queue: the window system never sends it.
                m.kind = w == "."         ? MessageKind::Quit
                         : w == "min"     ? MessageKind::Minimised
                         : w == "restore" ? MessageKind::Restored
                         : w == "left"    ? MessageKind::FullscreenLeft
                                          : MessageKind::Close;
            }
            if (m.kind != MessageKind::Other) {
                script_.push_back(m);
            }
        }
    }

    MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons, MessageIcon,
                              int interruptStatus) override {
        note(std::string(caption) + "|" + text + "|" + std::to_string(interruptStatus));
        if (buttons == MessageButtons::Ok) {
            return MessageAnswer::Ok;
        }
        return yeses_-- > 0 ? MessageAnswer::Yes : MessageAnswer::No;
    }
    int setFullscreenMode(int w, int h, int bits) override {
        note("mode " + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bits));
        return mode_ ? 1 : 0;
    }
    void restoreDisplayMode() override { note("desktop"); }
    void showCursor(int show) override { note(show != 0 ? "cursor" : "no cursor"); }
    int createWindow(const char* title, int w, int h, int fullscreen) override {
        note(std::string("window ") + title + " " + std::to_string(w) + "x" + std::to_string(h) +
             (fullscreen != 0 ? " full" : ""));
        held += ++windows_ != failing_ ? 1 : 0;
        return windows_ != failing_ ? 1 : 0;
    }
    void showWindow() override {}
    void destroyWindow() override { note("destroy " + std::to_string(--held)); }
    ContextResult createContext() override {
        held += context_ != static_cast<int>(ContextResult::NoContext) ? 1 : 0;  // unusable, but held
        return static_cast<ContextResult>(context_);
    }
    void deleteContext() override { --held; }
    int takeMessage(WindowMessage& message, int wait) override {
        if (wait != 0 || script_.empty()) {
            note(script_.empty() ? "end of script" : "wait " + std::to_string(wait));
        }
        message = script_.empty() ? WindowMessage{MessageKind::Close} : script_.front();
        script_.erase(script_.begin(), script_.begin() + (script_.empty() ? 0 : 1));
        return message.kind != MessageKind::Quit ? 1 : 0;
    }
    void swapBuffers() override {}
    // The verdict up to its digests, and how many frames had been drawn when it came.
    void holdPicture(const char* line) override {
        const std::string verdict(line);
        note("hold after " + std::to_string(std::count(fakeLog.begin(), fakeLog.end(), "frame")) + ": " +
             verdict.substr(0, verdict.find(':')) +
             (verdict.find("the same") != std::string::npos ? " the same" : ""));
    }

  private:
    std::deque<WindowMessage> script_;
    int yeses_ = 0;
    bool mode_ = true;
    int failing_ = 0;
    int context_ = 0;
    int windows_ = 0;
};

// Runs the program on a script and checks its outcome: the key commands' World fields (unless world is
// empty), and the log without the start-up question, headed by the number of frames. The exit status
// is 1 when the log holds a failure box, else 0. With recorded, the run is recorded too and its
// lines after the header, joined by "|" and the end line without its digest, must be those.
// With replay, the run replays that recording instead of the keys.
inline void expectRun(const std::string& script, const std::string& world, const std::string& log,
                      const char* recorded = nullptr, Replay* replay = nullptr) {
    SCOPED_TRACE(script);
    FakePlatform platform(script);
    World after;
    World start;
    initWorld(start);
    Shell shell{platform, fakeScene(), after, ShellState{}, KeyTable{}};
    shell.replay = replay;
    RecordingWriter writer;
    const std::string path = testing::TempDir() + "main-loop-recording";
    std::string error;
    if (recorded != nullptr) {
        ASSERT_TRUE(writer.open(path.c_str(), error)) << error;
        shell.recording = &writer;
    }
    EXPECT_EQ(runMainLoop(shell), log.find("ERROR|") == std::string::npos ? 0 : 1);
    if (recorded != nullptr) {
        std::ifstream in(path);
        std::string line, lines;
        std::getline(in, line);
        EXPECT_EQ(line, "torvel-room-recording 1");
        while (std::getline(in, line)) {
            lines += (lines.empty() ? "" : "|") +
                     (line.rfind("end ", 0) == 0 ? line.substr(0, line.rfind(' ')) : line);
        }
        EXPECT_EQ(lines, recorded);
    }
    char fields[120];
    std::snprintf(fields, sizeof fields, "angle %g, dz %g, step %g, sound %d, camera %d", after.viewAngle,
                  after.cameraPosition.getZ() - start.cameraPosition.getZ(), after.timeStep, after.soundOn,
                  after.cameraMode);
    EXPECT_TRUE(world.empty() || world == fields) << fields;
    EXPECT_EQ(fakeLog.front(), "Start FullScreen?|Would You Like To Run In Fullscreen Mode?|0");
    const long frames = std::count(fakeLog.begin(), fakeLog.end(), "frame");
    std::string seen = std::to_string(frames) + " frames";
    for (auto e = fakeLog.begin() + 1; e != fakeLog.end(); ++e) {
        seen += *e != "frame" ? ", " + *e : "";
    }
    EXPECT_EQ(seen, log);
    EXPECT_EQ(after.ballPositions[0].getX() - start.ballPositions[0].getX(), static_cast<double>(frames));
    EXPECT_EQ(platform.held, 0);
}
