#include "app/SignalsEndProgram.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace {

// What the handler does: end the program with statusOnSignal, or (once a window exists, outside a
// box) leave the close for the frame loop to take.
volatile std::sig_atomic_t endAtOnce = 1;
volatile std::sig_atomic_t statusOnSignal = 0;
volatile std::sig_atomic_t closeAsked = 0;

void onSignal(int) {
    if (endAtOnce != 0) {
        _exit(statusOnSignal);
    }
    closeAsked = 1;
}

// SDL's X11 box forks and shows itself in the child (its Wayland box forks and runs a helper). A
// child forked while a box is open asks for SIGKILL when its parent dies, which also covers an
// end no handler sees (SIGKILL, a crash); the kernel keeps that request across an exec. A parent
// that died before the request leaves the child adopted: it then ends by itself.
volatile std::sig_atomic_t boxOpen = 0;
pid_t boxParent = 0;

void boxChildEndsWithParent() {
    if (boxOpen == 0) {
        return;
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) {
        _exit(1);
    }
}

}  // namespace

void catchSignals() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM}) {
        // A signal inherited as ignored (a script's background job, nohup) stays ignored.
        struct sigaction inherited {};
        sigaction(number, nullptr, &inherited);
        if (inherited.sa_handler != SIG_IGN) {
            sigaction(number, &action, nullptr);
        }
    }
}

void signalsVideoStarted() {}

void signalsWindowOpened() {
    endAtOnce = 0;
}

bool signalAskedClose() {
    if (closeAsked == 0) {
        return false;
    }
    closeAsked = 0;
    return true;
}

namespace {

// Boxes are modal: one at a time.
std::sig_atomic_t endAtOnceOutsideBox = 1;
std::sig_atomic_t statusOutsideBox = 0;

}  // namespace

SignalsEndProgram::SignalsEndProgram(int status) {
    static const bool forkHandled = pthread_atfork(nullptr, nullptr, boxChildEndsWithParent) == 0;
    static_cast<void>(forkHandled);
    endAtOnceOutsideBox = endAtOnce;
    statusOutsideBox = statusOnSignal;
    statusOnSignal = status;
    endAtOnce = 1;
    if (closeAsked != 0) {
        _exit(status);
    }
    boxParent = getpid();
    boxOpen = 1;
}

SignalsEndProgram::~SignalsEndProgram() {
    boxOpen = 0;
    endAtOnce = endAtOnceOutsideBox;
    statusOnSignal = statusOutsideBox;
}
