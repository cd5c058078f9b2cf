#include <SDL2/SDL.h>
#include <windows.h>

#include "app/SignalsEndProgram.h"

namespace {

// Windows calls these on a thread of its own; the last one installed is asked first.
volatile LONG statusOnSignal = 0;

BOOL WINAPI endAtOnce(DWORD) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(statusOnSignal));
    return TRUE;
}

BOOL WINAPI closeProgram(DWORD event) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Windows ends the process as soon as this returns: the frame loop gets the time it
        // needs to end normally (and the process's status is then the loop's).
        Sleep(5000);
    }
    return TRUE;
}

}  // namespace

// Before video starts the system's default handling ends the program.
void catchSignals() {}

void signalsVideoStarted() {
    static bool installed = false;
    if (!installed) {
        installed = SetConsoleCtrlHandler(closeProgram, TRUE) != 0;
    }
}

// The quit event closes the program since video started.
void signalsWindowOpened() {}

bool signalAskedClose() {
    return false;
}

SignalsEndProgram::SignalsEndProgram(int status) {
    statusOnSignal = status;
    SetConsoleCtrlHandler(endAtOnce, TRUE);
}

SignalsEndProgram::~SignalsEndProgram() {
    SetConsoleCtrlHandler(endAtOnce, FALSE);
}
