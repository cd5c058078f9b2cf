#pragma once

#include <cstdint>

#include "app/KeyCodes.h"
#include "app/Platform.h"
#include "app/SceneCalls.h"
#include "physics/Replay.h"
#include "physics/Step.h"

class RecordingWriter;
struct World;

// The shell's flags. The window and its context themselves live in the Platform; these say
// whether they are held, so that closing releases only what an opening took.
struct ShellState {
    std::int32_t fullscreen = 1;
    std::int32_t active = 1;
    std::int32_t window = 0;            // 1 while a window is held
    std::int32_t renderingContext = 0;  // 1 while a rendering context is held
    std::int32_t quitPosted = 0;        // a Close has asked the loop to end
};

// Exit status of the program after a failure it has reported.
constexpr int failureStatus = 1;

// One down flag per key code, read by the key commands. Every press that follows a release is
// seen by a pass of its own: a release that comes before that pass waits until after it, so a
// quick tap acts as a press held for one frame, and taps quicker than the frames act one per
// frame. Auto-repeats of a held key only set the flag again.
struct KeyTable {
    std::int32_t down[keys::count] = {};
    bool held[keys::count] = {};                   // pressed and not released since
    std::int32_t unseenPresses[keys::count] = {};  // presses no pass's key commands have seen yet

    std::int32_t& operator[](int code) { return down[code]; }
    void press(int code);
    void release(int code);
    // After a pass's key commands: one press more has been seen; the next one, or the release
    // that waited for it, takes effect.
    void passDone();
};

// Everything the shell works on: the window system, the scene calls, the one World, and where the
// session is recorded (none by default).
struct Shell {
    Platform& platform;
    SceneCalls scene;
    World& world;
    ShellState state;
    KeyTable keyTable;
    RecordingWriter* recording = nullptr;
    Replay* replay = nullptr;  // in place of the live keys (the page's keys=FILE); Escape still ends it
    std::int64_t framesDrawn = 0;
    StepReport lastStep{};  // of the last frame drawn, for the recording's final digest
};

// 1 when the window, its context and the rendering set-up are ready; 0 after the failure has
// been reported (and whatever was taken released, for failures after the window exists).
int openGlWindow(Shell& shell, const char* title, int width, int height, int bits, int fullscreen);

// Leaves fullscreen and releases whatever the shell holds. Safe at any stage.
void closeGlWindow(Shell& shell);

// Keeps the key table, the active flag and the projection up to date.
void handleWindowMessage(Shell& shell, const WindowMessage& message);
