#include <cstdio>

#include "tools/trace/Trace.h"

int main(int argc, char** argv) {
    TraceOptions options;
    if (!parseTraceArgs(argc, argv, options)) {
        std::fputs(traceUsage(), stderr);
        return 2;
    }
    // Fully buffered: a long trace is millions of short lines.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    if (!runTrace(options, stdout)) {
        std::fputs("torvel-trace: writing the trace failed\n", stderr);
        return 1;
    }
    return 0;
}
