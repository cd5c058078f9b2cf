#pragma once

// The user's requests to stop the program from outside its window: Ctrl-C and SIGTERM on Linux;
// Ctrl-C, Ctrl-Break and closing the console on Windows. SignalsEndProgram.cpp and
// SignalsEndProgramWindows.cpp are the two sides.

// While the frame loop runs, they close the program as its window's close box does (SDL's
// quit event): SDL arranges that itself on Linux, this does it on Windows. Called once video
// has started.
void signalsCloseProgram();

// While one exists (a message box is open), they end the program at once with the given status:
// SDL would only queue its quit event for after the box.
class SignalsEndProgram {
  public:
    explicit SignalsEndProgram(int status);
    ~SignalsEndProgram();
    SignalsEndProgram(const SignalsEndProgram&) = delete;
    SignalsEndProgram& operator=(const SignalsEndProgram&) = delete;
};
