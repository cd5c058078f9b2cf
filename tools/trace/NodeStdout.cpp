#include "tools/trace/NodeStdout.h"

#include <emscripten.h>
#include <stdio.h>

#include <cstddef>

// clang-format off
EM_JS(int, writeProcessStdout, (const char* data, int size), {
    try {
        let done = 0;
        while (done < size) {
            done += require('fs').writeSync(1, HEAPU8.subarray(data + done, data + size));
        }
        return done;
    } catch (failed) {
        return -1;
    }
});
// clang-format on

namespace {

ssize_t writeCookie(void*, const char* data, std::size_t size) {
    return writeProcessStdout(data, static_cast<int>(size));
}

}  // namespace

std::FILE* nodeStdout() {
    cookie_io_functions_t functions{};
    functions.write = writeCookie;
    return fopencookie(nullptr, "w", functions);
}
