#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "physics/WorldCommands.h"

// A recorded session: after the first line (recordingHeader), one line per pass of the program
// whose key commands acted, "FRAME NAME...", and at the end "end FRAMES DIGEST". The format is
// described in docs/recording.md.
constexpr const char* recordingName = "torvel-room-recording";
constexpr const char* recordingVersion = "1";

// What a recording may ask of a replay: frames up to 99 999 999 (19 days at 60 frames a second, a
// few minutes of a tool's replay) and a file of at most 256 MiB. The writer stops before either.
constexpr std::int64_t recordingFrameLimit = 99999999;
constexpr std::int64_t recordingSizeLimit = std::int64_t{256} << 20;

struct RecordedPass {
    std::int64_t frame = 0;  // frames drawn when the pass applied its commands
    CommandSet commands = 0;
    int line = 0;  // where it stands in the file
};

struct Recording {
    std::vector<RecordedPass> passes;  // frames never decrease
    bool ended = false;                // the end line was read; a killed run has none
    std::int64_t endFrames = 0;
    std::uint64_t digest = 0;
};

// Why a recording was refused.
struct RecordingProblem {
    int line = 0;
    std::string cause;
};

// Reads the text of a recording. Lines starting with '#' and empty lines are comments; a line
// ending in "\r\n" reads as one ending in "\n". A last line without its newline is left out (as
// a run killed while writing it leaves it) and its number put in unterminatedLine (0: none).
// Returns false with the first problem: no or an unknown header, an unknown version, an unknown or
// repeated command, no command, a frame out of order, not a number or above recordingFrameLimit, a
// bad end line, a line after it.
bool parseRecording(const std::string& text, Recording& recording, RecordingProblem& problem,
                    int& unterminatedLine);

// parseRecording on the file at path; with lastFrame >= 0 a command after that frame is refused
// too, and so is a file larger than recordingSizeLimit, unread. The message says "PATH:LINE: cause"
// (or "PATH: cause" when the file as a whole is refused); the
// note, when not empty, that a last line was left out.
bool readRecording(const char* path, std::int64_t lastFrame, Recording& recording, std::string& message,
                   std::string& note);

// The text lines, newline included.
std::string recordingHeaderLine();
std::string recordingPassLine(std::int64_t frame, CommandSet commands);
std::string recordingEndLine(std::int64_t frames, std::uint64_t digest);

// Applies, in order, the commands of the passes from index next on that were recorded at frame,
// and returns the index of the first pass after them.
std::size_t applyRecordedPasses(const Recording& recording, std::size_t next, std::int64_t frame,
                                World& world);

// The frames a replay runs to check a recording: to its end line, or without one to its last command.
std::int64_t replayFrames(const Recording& recording);

// The replay's one-line verdict, newline included: the digest replayed against the end line's, or
// the digest alone when there is none.
std::string replayCheckLine(const Recording& recording, std::uint64_t replayed);

// Writes a recording as it happens: every line whole and flushed at once, so that a run that is
// killed keeps everything up to its last line. A failed write, or a line beyond the limits a
// reader takes (a frame above recordingFrameLimit, a file above sizeLimit bytes), ends the
// recording with one line on stderr, so that what it wrote can be replayed; the program goes on.
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
