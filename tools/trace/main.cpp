#include <cstdio>

#include "physics/Recording.h"
#include "tools/trace/Trace.h"

int main(int argc, char** argv) {
    TraceOptions options;
    if (!parseTraceArgs(argc, argv, options)) {
        std::fputs(traceUsage(), stderr);
        return 2;
    }
    Recording keys;
    if (options.keys != nullptr) {
        std::string message, note;
        if (!readRecording(options.keys, options.framesGiven ? options.frames : -1, keys, message, note)) {
            std::fprintf(stderr, "torvel-trace: %s\n", message.c_str());
            return 2;
        }
        if (!note.empty()) {
            std::fprintf(stderr, "torvel-trace: %s\n", note.c_str());
        }
        if (!options.framesGiven) {
            return checkReplay(keys, stdout);
        }
    }
    // Fully buffered: a long trace is millions of short lines.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    if (!runTrace(options, keys, stdout)) {
        std::fputs("torvel-trace: writing the trace failed\n", stderr);
        return 1;
    }
    return 0;
}
