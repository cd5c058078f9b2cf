#include <cstdio>

#include "io/RecordingFile.h"
#include "tools/trace/Trace.h"
#ifdef __EMSCRIPTEN__
#include "tools/trace/NodeStdout.h"
#endif

int main(int argc, char** argv) {
    TraceOptions options;
    if (!parseTraceArgs(argc, argv, options)) {
        std::fputs(traceUsage(), stderr);
        return 2;
    }
#ifdef __EMSCRIPTEN__
    std::FILE* const out = nodeStdout();
#else
    std::FILE* const out = stdout;
#endif
    Replay keys;
    if (options.keys != nullptr) {
        std::string message, note;
        if (!readRecording(options.keys, options.framesGiven ? options.frames : -1, keys.recording, message,
                           note)) {
            std::fprintf(stderr, "torvel-trace: %s\n", message.c_str());
            return 2;
        }
        if (!note.empty()) {
            std::fprintf(stderr, "torvel-trace: %s\n", note.c_str());
        }
        if (!options.framesGiven) {
            return checkReplay(keys, out);
        }
    }
    // Fully buffered: a long trace is millions of short lines.
    static char buffer[1 << 16];
    std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
    if (!runTrace(options, keys, out)) {
        std::fputs("torvel-trace: writing the trace failed\n", stderr);
        return 1;
    }
    return 0;
}
