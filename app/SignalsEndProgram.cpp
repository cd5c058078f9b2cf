#include "app/SignalsEndProgram.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t statusOnSignal = 0;
// The children of the thread showing the box: SDL may show the box from a child process of its
// own, which would outlive us.
char boxChildren[64] = {};
// Boxes are modal: one at a time.
struct sigaction previousInt {};
struct sigaction previousTerm {};

void endOnSignal(int) {
    const int file = open(boxChildren, O_RDONLY);
    if (file >= 0) {
        char text[256];
        const ssize_t length = read(file, text, sizeof text);
        close(file);
        long pid = 0;
        for (ssize_t i = 0; i <= length; ++i) {
            if (i < length && text[i] >= '0' && text[i] <= '9') {
                pid = pid * 10 + (text[i] - '0');
            } else {
                if (pid > 0) {
                    kill(static_cast<pid_t>(pid), SIGKILL);
                }
                pid = 0;
            }
        }
    }
    _exit(statusOnSignal);
}

// A signal inherited as ignored (a script's background job, nohup) stays ignored.
void endOnSignalUnlessIgnored(int signal, const struct sigaction& action, struct sigaction& previous) {
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

void signalsCloseProgram() {}

SignalsEndProgram::SignalsEndProgram(int status) {
    statusOnSignal = status;
    std::snprintf(boxChildren, sizeof boxChildren, "/proc/self/task/%ld/children", syscall(SYS_gettid));
    struct sigaction action {};
    action.sa_handler = endOnSignal;
    sigemptyset(&action.sa_mask);
    endOnSignalUnlessIgnored(SIGINT, action, previousInt);
    endOnSignalUnlessIgnored(SIGTERM, action, previousTerm);
}

SignalsEndProgram::~SignalsEndProgram() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}
