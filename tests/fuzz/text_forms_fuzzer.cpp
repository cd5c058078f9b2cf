// Feeds the bytes to the three text readers, one kind over and over or the kinds in turn on one
// stream, and prints whatever was read; the sanitizers judge. The one invariant: a matrix, which has
// no status and no normalising, reads back from its own text bit for bit.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "geom/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int step = 0; step < 2; ++step) {
        for (int first = 0; first < 3; ++first) {
            std::istringstream in(text);
            Vector v;
            Ray r;
            Matrix33 m;
            for (int kind = first; in.good(); kind = (kind + step) % 3) {
                if (kind == 0) {
                    in >> v;
                } else if (kind == 1) {
                    in >> r;
                } else {
                    in >> m;
                }
                std::ostringstream sink;
                sink << v << r;
                std::stringstream printed;
                printed.precision(17);
                printed << m;
                Matrix33 back(0, 0, 0, 0, 0, 0, 0, 0, 0);
                printed >> back;
                if (std::memcmp(back.m, m.m, sizeof m.m) != 0) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
