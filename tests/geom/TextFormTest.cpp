#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "geom/TextForm.h"

namespace {

// Reads values into a fresh seed copy until the stream fails and prints each one read, so a refused
// or truncated form prints nothing and the next form shows whether the previous was consumed.
template <typename T>
std::string readBack(const std::string& input, const T& seed) {
    std::istringstream in(input);
    std::ostringstream out;
    for (T value = seed; in >> value; value = seed) {
        out << value << ' ';
    }
    return out.str();
}

TEST(TextForm, PrintAndReadBack) {
    const Vector v(9, 9, 9);
    const Ray r(Vector(1, 1, 1), Vector(2, 2, 2));
    const struct {
        const char* name;
        std::string got, expected;
    } cases[] = {
        {"six digits", readBack("[-1.5,1e-7,1234567]", v), "[-1.5,1e-07,1.23457e+06] "},
        {"vectors, Invalid consumed whole", readBack("Invalid [4,5,6] Invalid<0,0,2>", v),
         "Invalid [4,5,6] Invalid <0,0,1> "},
        {"vector spacing and separators unchecked", readBack(" ( 1 ; 2 ; 3 ) ", v), "[1,2,3] "},
        {"'<' normalises", readBack("<3,4,0>", v), "<0.6,0.8,0> "},
        {"rays; a Default direction is taken as read",
         readBack("(P=[0,0,0],V=<0,0,1>) (P=[1,2,3],V=[0,0,1])", r), "(P=[0,0,0],V=<0,0,1>) Invalid "},
        {"rays, Invalid consumed whole", readBack("Invalid (P=[1,2,3],V=<0,3,4>)", r),
         "Invalid (P=[1,2,3],V=<0,0.6,0.8>) "},
        {"matrix lines", readBack("(1,2,3)\n(4,5,6)\n(7,8,0.5)\n", Matrix33()),
         "(1,2,3)\n(4,5,6)\n(7,8,0.5)\n "},
        {"truncated vector", readBack("[1,2", v), ""},
        {"empty ray", readBack("", r), ""},
        {"matrix with a word", readBack("(1,x,3)\n", Matrix33()), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.expected) << c.name;
    }
}

}  // namespace
