#pragma once

// The user's requests to stop the program from outside its window: Ctrl-C and SIGTERM on Linux;
// Ctrl-C, Ctrl-Break and closing the console on Windows. SignalsEndProgram.cpp and
// SignalsEndProgramWindows.cpp are the two sides; the window layer tells them where the program
// stands, and each acts where its platform needs to.

// From main's first line. Linux: one handler (restarting interrupted calls) serves SIGINT and
// SIGTERM, unless they were inherited as ignored; SDL then installs none of its own. Until a window
// exists it ends the program at once with status 0. Windows: nothing yet.
void catchSignals();

// Video has started. Windows: from now on, outside a box, they close the program as its window's
// close box does (SDL's quit event).
void signalsVideoStarted();

// A window exists. Linux: from now on, outside a box, they close the program as its window's close
// box does: signalAskedClose() says so, once.
void signalsWindowOpened();
bool signalAskedClose();

// While one exists (a message box is open), they end the program at once with the given status.
// Linux: so does one that came before the box and was not taken yet; and SDL shows the box from a
// child process of its own, which ends with the program however the program ends.
class SignalsEndProgram {
  public:
    explicit SignalsEndProgram(int status);
    ~SignalsEndProgram();
    SignalsEndProgram(const SignalsEndProgram&) = delete;
    SignalsEndProgram& operator=(const SignalsEndProgram&) = delete;
};
