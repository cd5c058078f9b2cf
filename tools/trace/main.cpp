#include <cstdio>

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
    // Fully buffered: a long trace is millions of short lines.
    static char buffer[1 << 16];
    std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
    if (!runTrace(options, out)) {
        std::fputs("torvel-trace: writing the trace failed\n", stderr);
        return 1;
    }
    return 0;
}
