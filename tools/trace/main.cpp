#include <cstdio>

#include "tools/common/KeysFile.h"
#include "tools/trace/Trace.h"
#ifdef __EMSCRIPTEN__
#include "tools/trace/NodeStdout.h"
#endif

namespace {

int trace(const TraceOptions& options) {
    Replay keys;
#ifdef __EMSCRIPTEN__
    std::FILE* const out = nodeStdout();
#else
    std::FILE* const out = stdout;
#endif
    if (!readKeysFile("torvel-trace", options.keys, options.framesGiven ? options.frames : -1, keys)) {
        return 2;
    }
    if (options.keys != nullptr && !options.framesGiven) {
        return checkReplay(keys, out);
    }
    // Fully buffered: a long trace is millions of short lines.
    static char buffer[1 << 16];
    std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
    const bool written = runTrace(options, keys, out);
    if (!written) {
        std::fputs("torvel-trace: writing the trace failed\n", stderr);
    }
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return runWithArguments(argc, argv, parseTraceArgs, traceUsage(), trace);
}
