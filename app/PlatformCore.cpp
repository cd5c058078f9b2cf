#include "app/PlatformCore.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A failure box also goes to stderr, on one line with its cause, for whoever ran the program from a
// terminal or a script. The cause is said once: it is cleared here.
void printFailureLine(const char* caption, const char* text, std::string& cause) {
    std::string line = std::string(caption) + ": " + text;
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    if (!cause.empty()) {
        line += " (" + cause + ")";
        cause.clear();
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

bool envIs(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set != nullptr && std::strcmp(set, value) == 0;
}

PlatformCore::PlatformCore()
    : reportTiming_(envIs("TORVEL_TIMING", "1")), created_(Clock::now()), lastAnswer_(created_) {}

MessageAnswer PlatformCore::showMessage(const char* text, const char* caption, MessageButtons buttons,
                                        MessageIcon icon, int interruptStatus) {
    const bool question = buttons == MessageButtons::YesNo;
    if (!question) {
        printFailureLine(caption, text, failure_);
    }
    const bool first = showBox(text, caption, question, icon, interruptStatus);
    lastAnswer_ = Clock::now();
    if (!question) {
        return MessageAnswer::Ok;
    }
    return first ? MessageAnswer::Yes : MessageAnswer::No;
}

long PlatformCore::framePresented() {
    ++framesPresented_;
    if (reportTiming_) {
        const Clock::time_point now = Clock::now();
        if (framesPresented_ == 1) {
            std::fprintf(stderr,
                         "First frame presented %.1f ms after start-up, %.1f ms after the last answer\n",
                         millisecondsBetween(created_, now), millisecondsBetween(lastAnswer_, now));
        }
        if (framesPresented_ % 100 == 0) {
            std::fprintf(stderr, "%ld frames presented after %.1f s\n", framesPresented_,
                         millisecondsBetween(created_, now) / 1000.0);
        }
    }
    return framesPresented_;
}

std::string PlatformCore::recordingPath() {
    const char* path = std::getenv("TORVEL_RECORD");
    return path != nullptr ? path : "";
}

int PlatformCore::ended(int status) {
    // Only a start that presented something has frames to count.
    if (reportTiming_ && framesPresented_ > 0) {
        std::fprintf(stderr, "%ld frames presented in %.1f s since start-up\n", framesPresented_,
                     millisecondsBetween(created_, Clock::now()) / 1000.0);
    }
    return status;
}
