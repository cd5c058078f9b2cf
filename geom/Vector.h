#pragma once

#include <cstdint>
#include <iosfwd>

class Ray;

// What a vector's components mean. Travels through the arithmetic: an Invalid operand
// makes an Invalid (zero) result, arithmetic gives Default, only normalisation gives Unit.
enum class VectorStatus : std::int32_t { Invalid = 0, Default = 1, Unit = 2 };

// Three doubles and a status tag. Every operation rounds each step to double in a fixed
// order (x, then y, then z), so results are reproducible to the last bit.
class Vector {
  public:
    // The Invalid zero vector.
    Vector() = default;
    // A Default vector, whatever the values (zero included).
    Vector(double x, double y, double z) : x_(x), y_(y), z_(z), status_(VectorStatus::Default) {}
    // The midpoint of the closest approach of two rays; Invalid when either ray is not valid.
    Vector(const Ray& a, const Ray& b);

    double getX() const { return x_; }
    double getY() const { return y_; }
    double getZ() const { return z_; }
    VectorStatus getStatus() const { return status_; }

    bool isValid() const { return status_ != VectorStatus::Invalid; }
    bool isUnit() const { return status_ == VectorStatus::Unit; }
    bool isDefault() const { return status_ == VectorStatus::Default; }

    // Invalid: 0. Unit: 1 without reading the components. Default: sqrt(x*x + y*y + z*z).
    double length() const;
    // 0 when either is Invalid; a Unit status gives no short cut.
    double dot(const Vector& other) const;
    // Length of (this - other); 0 when either is Invalid.
    double distance(const Vector& other) const;
    // Only a Default vector changes; it always ends Unit (zero when shorter than 1e-8).
    Vector& normalize();
    // A Unit vector becomes Default; the components are kept.
    Vector& markDefault();

    Vector operator+(const Vector& other) const;
    Vector operator-(const Vector& other) const;
    Vector operator-() const;
    Vector operator*(double s) const;
    Vector& operator+=(const Vector& other);

    // Text forms: "[x,y,z]" for Default, "<x,y,z>" for Unit, "Invalid".
    std::ostream& print(std::ostream& out) const;
    std::istream& read(std::istream& in);

  private:
    friend Vector& add(const Vector& a, const Vector& b, Vector& dst);
    friend Vector& subtract(const Vector& a, const Vector& b, Vector& dst);
    friend Vector& negate(const Vector& src, Vector& dst);
    friend Vector& scale(const Vector& src, double s, Vector& dst);
    friend Vector& cross(const Vector& a, const Vector& b, Vector& dst);

    void makeInvalid();

    double x_ = 0.0;
    double y_ = 0.0;
    double z_ = 0.0;
    VectorStatus status_ = VectorStatus::Invalid;
};

// Destination forms: write every field of dst and return it. add, subtract, negate and
// scale may write into one of their operands; cross may not.
Vector& add(const Vector& a, const Vector& b, Vector& dst);
Vector& subtract(const Vector& a, const Vector& b, Vector& dst);
Vector& negate(const Vector& src, Vector& dst);
Vector& scale(const Vector& src, double s, Vector& dst);
Vector& cross(const Vector& a, const Vector& b, Vector& dst);

double dot(const Vector& a, const Vector& b);

// A normalised copy; the source is unchanged.
Vector unit(const Vector& v);
Vector& unit(const Vector& src, Vector& dst);
