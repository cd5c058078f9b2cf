#pragma once

#include <gtest/gtest.h>

#include "geom/Vector.h"

// All four fields, bit for bit: the geometry's results are exact, not approximate.
inline void expectExactly(const Vector& v, double x, double y, double z, VectorStatus status) {
    EXPECT_EQ(v.getX(), x);
    EXPECT_EQ(v.getY(), y);
    EXPECT_EQ(v.getZ(), z);
    EXPECT_EQ(v.getStatus(), status);
}
