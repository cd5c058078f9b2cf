#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "app/SceneCalls.h"

// A window system driven by a script. Each call is written to a shared log, so that tests can
// read what the shell did in which order. Scene calls go to the same log (see fakeSceneCalls).
class FakePlatform : public Platform {
  public:
    FakePlatform();
    ~FakePlatform() override;

    // Script of the message queue: messages are taken one per call; idle(n) makes the next n
    // calls find the queue empty. When the script runs out the window is closed, so that a
    // faulty loop cannot spin for ever.
    void message(MessageKind kind, int keyCode = 0, int width = 0, int height = 0);
    void keyDown(int code) { message(MessageKind::KeyDown, code); }
    void keyUp(int code) { message(MessageKind::KeyUp, code); }
    void idle(int passes);

    MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons,
                              MessageIcon icon) override;
    int setFullscreenMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    void showCursor(int show) override;
    int createWindow(const char* title, int width, int height, int fullscreen) override;
    void showWindow() override;
    void destroyWindow() override;
    ContextResult createContext() override;
    void deleteContext() override;
    int takeMessage(WindowMessage& message) override;
    void swapBuffers() override;

    // Answers to the Yes/No questions, in order; No when none is left.
    std::deque<MessageAnswer> answers;
    bool fullscreenSupported = true;
    // 1-based number of the createWindow call that fails; 0: none fails.
    int failingWindow = 0;
    ContextResult contextResult = ContextResult::Ready;

    std::vector<std::string> titles;        // of every created window
    std::vector<int> fullscreenWindows;     // fullscreen flag of every created window
    std::vector<std::string> messageTexts;  // every message box, "caption|text"
    int windowsHeld = 0;
    int contextsHeld = 0;
    int swaps = 0;
    int emptyPolls = 0;

  private:
    struct Step {
        WindowMessage message;
        int idlePasses = 0;
    };
    std::deque<Step> script_;
};

// The shared call log and the scene calls that write to it.
std::vector<std::string>& callLog();
// Calls of a given name in the log.
int countCalls(const std::string& name);
// Index of the first log entry with that name, or -1.
int firstCall(const std::string& name);
// Its stepWorld moves ball 0 by (1, 0, 0); nothing else touches the World.
SceneCalls fakeSceneCalls();
// What the fake setupRendering returns (1 unless a test says otherwise).
extern int fakeSetupRenderingResult;
