#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "physics/WorldCommands.h"

// A recorded session: after the first line (recordingHeader), one line per pass of the program
// whose key commands acted, "FRAME NAME...", and at the end "end FRAMES DIGEST". The format is
// described in docs/recording.md.
constexpr const char* recordingName = "torvel-room-recording";
constexpr const char* recordingVersion = "1";

// The most frames a recording may ask a replay for: 99 999 999 (19 days at 60 frames a second, a
// few minutes of a tool's replay). The writer stops before it.
constexpr std::int64_t recordingFrameLimit = 99999999;

// "FRAME is above recordingFrameLimit, ...": why a frame is refused.
std::string aboveFrameLimit(std::int64_t frame);

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

// The text lines, newline included.
std::string recordingHeaderLine();
std::string recordingPassLine(std::int64_t frame, CommandSet commands);
std::string recordingEndLine(std::int64_t frames, std::uint64_t digest);
