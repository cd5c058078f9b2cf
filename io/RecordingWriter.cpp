#include "io/RecordingWriter.h"

#include <cerrno>
#include <cstring>

RecordingWriter::~RecordingWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool RecordingWriter::open(const char* path, std::string& error) {
    // Binary, so that every system writes the same bytes.
    file_ = std::fopen(path, "wb");
    if (file_ == nullptr) {
        error = std::string(path) + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    write(0, recordingHeaderLine());
    if (file_ == nullptr) {
        error = path_ + ": cannot be written";
        return false;
    }
    return true;
}

void RecordingWriter::pass(std::int64_t frame, CommandSet commands) {
    write(frame, recordingPassLine(frame, commands));
}

void RecordingWriter::end(std::int64_t frames, std::uint64_t digest) {
    write(frames, recordingEndLine(frames, digest));
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void RecordingWriter::write(std::int64_t frame, const std::string& line) {
    if (file_ == nullptr) {
        return;
    }
    // What the readers would refuse is not written: the recording ends replayable before it.
    if (frame > recordingFrameLimit) {
        stop(("frame " + aboveFrameLimit(frame)).c_str());
    } else if (written_ + static_cast<std::int64_t>(line.size()) > sizeLimit_) {
        stop(("the file would grow above " + std::to_string(sizeLimit_) + " bytes, the most a replay takes")
                 .c_str());
    } else if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
        stop(std::strerror(errno));
    } else {
        written_ += static_cast<std::int64_t>(line.size());
    }
}

void RecordingWriter::stop(const char* cause) {
    std::fprintf(stderr, "Recording stopped: %s: %s\n", path_.c_str(), cause);
    std::fclose(file_);
    file_ = nullptr;
}
