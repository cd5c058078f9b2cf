#include "geom/TextForm.h"

#include <istream>
#include <ostream>

namespace {
// After a leading 'I' the rest of "Invalid" is skipped: up to 19 characters, stopping
// before the 'd' that the final character read then takes.
constexpr std::streamsize invalidTailLimit = 20;

void skipInvalidTail(std::istream& in) {
    char tail[invalidTailLimit];
    in.get(tail, invalidTailLimit, 'd');
}

char readChar(std::istream& in) {
    char c = '\0';
    in >> c;
    return c;
}
}  // namespace

std::ostream& Vector::print(std::ostream& out) const {
    if (!isValid()) {
        return out << "Invalid";
    }
    const char open = isUnit() ? '<' : '[';
    const char close = isUnit() ? '>' : ']';
    return out << open << x_ << ',' << y_ << ',' << z_ << close;
}

std::istream& Vector::read(std::istream& in) {
    const char open = readChar(in);
    if (open == 'I') {
        makeInvalid();
        skipInvalidTail(in);
    } else {
        // Brackets and separators are not checked; only '<' means the numbers form a unit vector.
        double x = 0.0, y = 0.0, z = 0.0;
        in >> x;
        readChar(in);
        in >> y;
        readChar(in);
        in >> z;
        *this = Vector(x, y, z);
        if (open == '<') {
            normalize();
        }
    }
    readChar(in);
    return in;
}

std::ostream& Ray::print(std::ostream& out) const {
    if (!isValid()) {
        return out << "Invalid";
    }
    out << "(P=";
    point.print(out);
    out << ",V=";
    direction.print(out);
    return out << ')';
}

std::istream& Ray::read(std::istream& in) {
    if (readChar(in) == 'I') {
        *this = Ray();
        skipInvalidTail(in);
    } else {
        readChar(in);  // P
        readChar(in);  // =
        point.read(in);
        readChar(in);        // ,
        readChar(in);        // V
        readChar(in);        // =
        direction.read(in);  // taken as read: a Default direction leaves the ray invalid
    }
    readChar(in);
    return in;
}

std::ostream& Matrix33::print(std::ostream& out) const {
    for (int r = 0; r < 3; ++r) {
        out << '(' << m[3 * r] << ',' << m[3 * r + 1] << ',' << m[3 * r + 2] << ')' << std::endl;
    }
    return out;
}

std::istream& Matrix33::read(std::istream& in) {
    for (int r = 0; r < 3; ++r) {
        readChar(in);
        in >> m[3 * r];
        readChar(in);
        in >> m[3 * r + 1];
        readChar(in);
        in >> m[3 * r + 2];
        readChar(in);
    }
    return in;
}

std::ostream& operator<<(std::ostream& out, const Vector& v) {
    return v.print(out);
}
std::istream& operator>>(std::istream& in, Vector& v) {
    return v.read(in);
}
std::ostream& operator<<(std::ostream& out, const Ray& r) {
    return r.print(out);
}
std::istream& operator>>(std::istream& in, Ray& r) {
    return r.read(in);
}
std::ostream& operator<<(std::ostream& out, const Matrix33& mat) {
    return mat.print(out);
}
std::istream& operator>>(std::istream& in, Matrix33& mat) {
    return mat.read(in);
}
