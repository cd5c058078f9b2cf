#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault = checkBitmap(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "bitmap: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
