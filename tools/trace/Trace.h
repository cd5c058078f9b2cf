#pragma once

#include <cstdint>
#include <cstdio>

// A headless run of the start scene with no key pressed, printed frame by frame.
struct TraceOptions {
    std::int64_t frames = 0;
    std::int64_t every = 1;  // print after every K-th frame (and after the last)
    double timeStep = 0.6;
};

// The one-line usage text, newline included.
const char* traceUsage();

// Reads "FRAMES [--every K] [--time-step X]" (argv[0] is the program name). Returns false on
// anything else: missing or extra values, non-numbers, trailing garbage, negative FRAMES,
// K < 1, a non-finite time step, unknown or repeated flags.
bool parseTraceArgs(int argc, const char* const* argv, TraceOptions& options);

// Lays out the start scene, runs the frames (step, then explosion ageing) and prints the
// selected frames to out. Returns false when writing to out failed.
bool runTrace(const TraceOptions& options, std::FILE* out);
