#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "physics/Recording.h"
#include "physics/Step.h"

struct World;

// A recording replayed in place of live keys, frame by frame as the program ran it: the program
// itself (the page's keys=FILE) and the tools.
struct Replay {
    Recording recording;
    std::size_t next = 0;       // the first pass not yet applied
    std::int64_t checkAt = -1;  // the frame whose state is checked against the recording; -1: none
};

// Applies, in order, the commands recorded at frame (the program applies a pass's commands after
// drawing its frame; 0: before the first) and says whether frame is the one to check.
bool replayPasses(Replay& replay, std::int64_t frame, World& world);

// One frame of a replay: the step, the explosions aged as the drawing ages them (age: the drawing
// itself, or ageExplosions where nothing is drawn), then replayPasses. Returns the step's report.
StepReport replayFrame(Replay& replay, std::int64_t frame, World& world, void (*age)(World&));

// The frames a replay runs to check a recording: to its end line, or without one to its last command.
std::int64_t replayFrames(const Recording& recording);

// The replay's one-line verdict, newline included: the digest replayed against the end line's, or
// the digest alone when there is none.
std::string replayCheckLine(const Recording& recording, std::uint64_t replayed);
