#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#ifdef _WIN32
#define TORVEL_NULL_DEVICE "NUL"
#else
#define TORVEL_NULL_DEVICE "/dev/null"
#endif

// Audio and video back-ends write their own diagnostics straight to stderr. While one is
// started or stopped, stderr goes nowhere; a failure is said once, in our words, afterwards.
class QuietStderr {
  public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int nowhere = ::open(TORVEL_NULL_DEVICE, O_WRONLY);
        if (saved_ >= 0 && nowhere >= 0) {
            dup2(nowhere, STDERR_FILENO);
        }
        if (nowhere >= 0) {
            ::close(nowhere);
        }
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

  private:
    int saved_ = -1;
};
