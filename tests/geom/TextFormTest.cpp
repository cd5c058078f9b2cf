#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "geom/TextForm.h"

namespace {

template <typename T>
std::string text(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

Vector readVector(const std::string& s) {
    std::istringstream in(s);
    Vector v(9, 9, 9);
    in >> v;
    return v;
}

TEST(TextForm, VectorsPrintTheirStatusInTheBrackets) {
    EXPECT_EQ(text(Vector()), "Invalid");
    EXPECT_EQ(text(Vector(1, 2, 3)), "[1,2,3]");
    EXPECT_EQ(text(unit(Vector(3, 4, 0))), "<0.6,0.8,0>");
    EXPECT_EQ(text(Vector(-1.5, 1e-7, 1234567)), "[-1.5,1e-07,1.23457e+06]");
}

TEST(TextForm, VectorsReadBackWithTheirStatus) {
    Vector v = readVector("[1,2,3]");
    EXPECT_EQ(v.getStatus(), VectorStatus::Default);
    EXPECT_EQ(v.getX(), 1.0);
    EXPECT_EQ(v.getZ(), 3.0);

    v = readVector(" [ 1 , 2 , 3 ] ");
    EXPECT_EQ(v.getY(), 2.0);
    EXPECT_EQ(v.getStatus(), VectorStatus::Default);

    v = readVector("<3,4,0>");
    EXPECT_EQ(v.getStatus(), VectorStatus::Unit);
    EXPECT_EQ(v.getX(), 0.6000000000000001);
    EXPECT_EQ(v.getY(), 0.8);

    v = readVector("(1;2;3)");  // brackets and separators are not checked
    EXPECT_EQ(v.getStatus(), VectorStatus::Default);
    EXPECT_EQ(v.getZ(), 3.0);
}

TEST(TextForm, InvalidIsConsumedWholeSoTheNextFormReads) {
    std::istringstream in("Invalid [4,5,6] Invalid<0,0,2>");
    Vector a(1, 1, 1), b, c(1, 1, 1), d;
    in >> a >> b >> c >> d;
    EXPECT_EQ(a.getStatus(), VectorStatus::Invalid);
    EXPECT_EQ(a.getX(), 0.0);
    EXPECT_EQ(text(b), "[4,5,6]");
    EXPECT_EQ(c.getStatus(), VectorStatus::Invalid);
    EXPECT_EQ(text(d), "<0,0,1>");
    EXPECT_FALSE(in.fail());
}

TEST(TextForm, TruncatedInputLeavesTheStreamFailed) {
    std::istringstream in("[1,2");
    Vector v;
    in >> v;
    EXPECT_TRUE(in.fail());
    std::istringstream empty("");
    Ray r;
    empty >> r;
    EXPECT_TRUE(empty.fail());
    std::istringstream junk("(1,x,3)\n");
    Matrix33 m;
    junk >> m;
    EXPECT_TRUE(junk.fail());
}

TEST(TextForm, Rays) {
    EXPECT_EQ(text(Ray()), "Invalid");
    const Ray up(Vector(0, 0, 0), Vector(0, 0, 2));
    EXPECT_EQ(text(up), "(P=[0,0,0],V=<0,0,1>)");

    std::istringstream in("(P=[0,0,0],V=<0,0,1>) (P=[0,0,0],V=[0,0,1]) Invalid (P=[1,2,3],V=<0,3,4>)");
    Ray a, b, c(Vector(1, 1, 1), Vector(2, 2, 2)), d;
    in >> a >> b >> c >> d;
    EXPECT_EQ(text(a), "(P=[0,0,0],V=<0,0,1>)");
    EXPECT_FALSE(b.isValid());  // a Default direction is taken as read
    EXPECT_EQ(b.getDirection().getStatus(), VectorStatus::Default);
    EXPECT_FALSE(c.isValid());
    EXPECT_EQ(text(d), "(P=[1,2,3],V=<0,0.6,0.8>)");
}

TEST(TextForm, MatricesRoundTripThroughThreeLines) {
    EXPECT_EQ(text(Matrix33()), "(1,0,0)\n(0,1,0)\n(0,0,1)\n");
    const Matrix33 m(1.5, -2, 3e-5, 4, 5.25, 6, -7, 8, 912345);
    std::istringstream in(text(m));
    Matrix33 back(0, 0, 0, 0, 0, 0, 0, 0, 0);
    in >> back;
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(back[i], m[i]) << "element " << i;
    }
}

}  // namespace
