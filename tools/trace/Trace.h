#pragma once

#include <cstdint>
#include <cstdio>

#include "physics/Replay.h"
#include "physics/World.h"
#include "tools/common/Arguments.h"

// A headless run of the start scene, with no key pressed or with a recording's key commands,
// printed frame by frame.
struct TraceOptions {
    bool framesGiven = false;  // without a count, a recording is replayed to its end and checked
    std::int64_t frames = 0;
    std::int64_t every = 1;  // print after every K-th frame (and after the last)
    double timeStep = 0.6;
    // 0: print the frames. N: instead, one line per block of N frames (frames 1-N, N+1-2N, ...,
    // the last block may be shorter) with the FNV-1a hash of the text the block would print.
    std::int64_t digest = 0;
    const char* keys = nullptr;  // the recording to replay, if any
};

// The start scene as the program lays it out, with the given time step, sound on and the free
// camera: what the headless runs (trace, soak) start from.
World headlessStartWorld(double timeStep);

// The one-line usage text, newline included.
const char* traceUsage();

// Reads "FRAMES [--every K] [--time-step X] [--digest N] [--keys FILE]" or "--keys FILE" alone
// (argv[0] is the program name), or "--help". Refuses anything else: missing or extra values,
// non-numbers, trailing garbage, negative FRAMES, K or N < 1, a non-finite time step, unknown or
// repeated flags.
ArgumentsEnd parseTraceArgs(int argc, const char* const* argv, TraceOptions& options);

// Lays out the start scene, runs the frames (step, then explosion ageing, then the commands keys
// recorded at that frame) and prints the selected frames, or the digests of their text, to out.
// Returns false when writing to out failed.
bool runTrace(const TraceOptions& options, Replay& keys, std::FILE* out);

// Replays keys to its end line (or its last command) and prints one line: the frames, the recorded
// and the replayed digest of the final state and whether they are the same. Returns the tool's
// status: 0 the same (or nothing to check), 1 different, 2 the line could not be written.
int checkReplay(Replay& keys, std::FILE* out);
