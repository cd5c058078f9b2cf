#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

#include "geom/TextForm.h"
#include "tests/fuzz/FuzzChecks.h"

namespace {

// Seventeen significant digits give back every double exactly.
constexpr int exactDigits = 17;

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <typename T>
std::string printed(const T& value, int precision) {
    std::ostringstream out;
    out.precision(precision);
    out << value;
    return out.str();
}

template <typename T>
T readBack(const std::string& text, T start) {
    std::istringstream in(text);
    in >> start;
    return start;
}

std::string vectorFault(const Vector& v) {
    const double x = v.getX(), y = v.getY(), z = v.getZ();
    switch (v.getStatus()) {
        case VectorStatus::Invalid:
            if (x != 0.0 || y != 0.0 || z != 0.0) {
                return "an Invalid vector with non-zero components";
            }
            return {};
        case VectorStatus::Default:
            if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
                return "a read vector with a component that is not finite";
            }
            return {};
        case VectorStatus::Unit: {
            const double s = x * x + y * y + z * z;
            if (!(s == 0.0 || std::fabs(s - 1.0) <= 1e-14)) {
                return "a Unit vector that is neither zero nor of length 1: " + printed(v, exactDigits);
            }
            return {};
        }
    }
    return "a vector status outside Invalid, Default and Unit";
}

// The text of a vector read back gives its status again; a Default vector also every bit,
// a Unit one (normalised again on the way in) its components to rounding.
std::string vectorRoundTripFault(const Vector& v) {
    const std::string text = printed(v, exactDigits);
    const Vector back = readBack(text, Vector(7, 7, 7));
    if (back.getStatus() != v.getStatus()) {
        return "the status changed on the round trip of " + text;
    }
    if (v.isDefault()) {
        if (!sameBits(back.getX(), v.getX()) || !sameBits(back.getY(), v.getY()) ||
            !sameBits(back.getZ(), v.getZ())) {
            return "the components changed on the round trip of " + text;
        }
    } else if (v.isUnit()) {
        if (std::fabs(back.getX() - v.getX()) > 1e-15 || std::fabs(back.getY() - v.getY()) > 1e-15 ||
            std::fabs(back.getZ() - v.getZ()) > 1e-15) {
            return "a Unit vector moved on the round trip of " + text;
        }
    }
    return {};
}

std::string rayFault(const Ray& r) {
    const Vector p = r.getPoint();
    const Vector d = r.getDirection();
    std::string fault = vectorFault(p);
    if (fault.empty()) {
        fault = vectorFault(d);
    }
    if (!fault.empty()) {
        return "in a ray: " + fault;
    }
    const std::string text = printed(r, exactDigits);
    const Ray back = readBack(text, Ray(Vector(1, 1, 1), Vector(2, 2, 2)));
    if (back.isValid() != r.isValid()) {
        return "the validity changed on the round trip of " + text;
    }
    if (!r.isValid()) {
        if (text != "Invalid" || back.getPoint().isValid() || back.getDirection().isValid()) {
            return "a ray that is not valid did not come back as the empty ray: " + text;
        }
        return {};
    }
    if (back.getPoint().getStatus() != p.getStatus()) {
        return "the point status changed on the round trip of " + text;
    }
    return vectorRoundTripFault(p).empty() && vectorRoundTripFault(d).empty()
               ? std::string()
               : "the point or direction changed on the round trip of " + text;
}

std::string matrixFault(const Matrix33& m) {
    for (double e : m.m) {
        if (!std::isfinite(e)) {
            return "a matrix element that is not finite";
        }
    }
    const std::string text = printed(m, exactDigits);
    const Matrix33 back = readBack(text, Matrix33(9, 9, 9, 9, 9, 9, 9, 9, 9));
    for (int i = 0; i < 9; ++i) {
        if (!sameBits(back.m[i], m.m[i])) {
            return "an element changed on the round trip of " + text;
        }
    }
    return {};
}

// Reads value after value of the same or of changing kinds until the stream gives out.
// Every read from a good stream takes at least one character, so the loop must end.
std::string chainFault(const std::string& bytes, int firstKind, bool changeKind) {
    std::istringstream in(bytes);
    Vector v;
    Ray r;
    Matrix33 m;
    int kind = firstKind;
    for (std::size_t reads = 0; in.good(); ++reads) {
        if (reads > bytes.size() + 1) {
            return "a chain of reads that does not end";
        }
        const std::streamoff before = in.tellg();
        std::string fault;
        switch (kind) {
            case 0:
                in >> v;
                fault = vectorFault(v);
                if (fault.empty()) {
                    fault = vectorRoundTripFault(v);
                }
                break;
            case 1:
                in >> r;
                fault = rayFault(r);
                break;
            default:
                in >> m;
                fault = matrixFault(m);
                break;
        }
        if (!fault.empty()) {
            return fault;
        }
        if (in.good() && in.tellg() <= before) {
            return "a read that took nothing from a good stream";
        }
        // Printing in the stream's default format must be fine for whatever was read.
        std::ostringstream sink;
        sink << v << r << m;
        if (changeKind) {
            kind = (kind + 1) % 3;
        }
    }
    return {};
}

}  // namespace

std::string checkTextForms(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int kind = 0; kind < 3; ++kind) {
        std::string fault = chainFault(bytes, kind, false);
        if (fault.empty()) {
            fault = chainFault(bytes, kind, true);
        }
        if (!fault.empty()) {
            return fault;
        }
    }
    return {};
}
