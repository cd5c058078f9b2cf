#include "io/RecordingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

std::string recordingTooLarge(const std::string& path, std::int64_t size) {
    return path + ": " + (size < 0 ? "" : std::to_string(size) + " bytes, ") + "larger than " +
           std::to_string(recordingSizeLimit >> 20) + " MiB, the most a replay takes";
}

bool readRecording(const char* path, std::int64_t lastFrame, Recording& recording, std::string& message,
                   std::string& note) {
    note.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        message = std::string(path) + ": " + std::strerror(errno);
        return false;
    }
    // A file that says it is too large is refused unread; one whose size is not known (a pipe, a
    // device) is read no further than the limit.
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    bool tooLarge = !sizeError && size > static_cast<std::uintmax_t>(recordingSizeLimit);
    std::string text;
    char buffer[1 << 14];
    for (std::size_t got; !tooLarge && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, got);
        tooLarge = static_cast<std::int64_t>(text.size()) > recordingSizeLimit;
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooLarge) {
        message = recordingTooLarge(path, sizeError ? -1 : static_cast<std::int64_t>(size));
        return false;
    }
    if (readFailed) {
        message = std::string(path) + ": cannot be read";
        return false;
    }
    RecordingProblem problem;
    int unterminated = 0;
    if (!parseRecording(text, recording, problem, unterminated)) {
        message = std::string(path) + ":" + std::to_string(problem.line) + ": " + problem.cause;
        return false;
    }
    for (const RecordedPass& pass : recording.passes) {
        if (lastFrame >= 0 && pass.frame > lastFrame) {
            message = std::string(path) + ":" + std::to_string(pass.line) + ": a command at frame " +
                      std::to_string(pass.frame) + ", beyond the " + std::to_string(lastFrame) +
                      " frames to run";
            return false;
        }
    }
    if (unterminated != 0) {
        note =
            std::string(path) + ":" + std::to_string(unterminated) + ": no newline at its end: line ignored";
    }
    return true;
}
