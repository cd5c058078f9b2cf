#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "io/RecordingFile.h"
#include "physics/WorldCommands.h"

// Writes a recording as it happens: every line whole and flushed at once, so that a run that is
// killed keeps everything up to its last line. A failed write, or a line beyond the limits a
// reader takes (a frame above recordingFrameLimit, a file above sizeLimit bytes), ends the
// recording with one line on stderr, so that what it wrote can be replayed; the program goes on.
// The file is named by its path, wherever the C library puts it (the page's is in memory).
class RecordingWriter {
  public:
    explicit RecordingWriter(std::int64_t sizeLimit = recordingSizeLimit) : sizeLimit_(sizeLimit) {}
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;
    ~RecordingWriter();

    // Creates or empties the file and writes the header; false with the cause in error.
    bool open(const char* path, std::string& error);
    bool isOpen() const { return file_ != nullptr; }
    void pass(std::int64_t frame, CommandSet commands);
    // The end line; the file is closed after it.
    void end(std::int64_t frames, std::uint64_t digest);

  private:
    void write(std::int64_t frame, const std::string& line);
    void stop(const char* cause);
    std::FILE* file_ = nullptr;
    std::string path_;
    std::int64_t sizeLimit_;
    std::int64_t written_ = 0;
};
