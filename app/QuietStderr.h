#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#define TORVEL_NULL_DEVICE "NUL"
#else
#define TORVEL_NULL_DEVICE "/dev/null"
#endif

// Audio and video back-ends write their own diagnostics straight to stderr. While one is
// started or stopped, stderr goes nowhere; a failure is said once, in our words, afterwards.
// Given a string, the first line the back-end wrote is kept there (when it is still empty), as
// the cause to name if what follows fails.
class QuietStderr {
  public:
    explicit QuietStderr(std::string* firstLine = nullptr) : firstLine_(firstLine) {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        kept_ = firstLine_ != nullptr ? std::tmpfile() : nullptr;
        const int nowhere = kept_ != nullptr ? dup(fileno(kept_)) : ::open(TORVEL_NULL_DEVICE, O_WRONLY);
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
        if (kept_ != nullptr) {
            char line[512] = {};
            std::rewind(kept_);
            if (firstLine_->empty() && std::fgets(line, sizeof line, kept_) != nullptr) {
                line[std::strcspn(line, "\n")] = '\0';
                *firstLine_ = line;
            }
            std::fclose(kept_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

  private:
    int saved_ = -1;
    std::string* firstLine_;
    std::FILE* kept_ = nullptr;
};
