#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/soak/Soak.h"

namespace {

// Any component of a position or a velocity that is not a number is found, the lowest ball first.
TEST(Soak, FindsTheFirstBallThatIsNoLongerANumber) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    struct Case {
        int ball;
        bool velocity;
        Vector value;
        const char* message;  // when checked
    };
    for (const Case& c :
         {Case{3, false, Vector(nan, 0, 0), "ball 3: position (nan, 0, 0), velocity (0.5, -0.1, 0.5)"},
          Case{7, true, Vector(0, 0, -inf), nullptr}, Case{9, true, Vector(0, inf, 0), nullptr},
          Case{0, false, Vector(0, 0, nan), nullptr}}) {
        World world;
        initWorld(world);
        char message[160];
        EXPECT_EQ(findNonFiniteBall(world, message, sizeof message), -1);
        world.ballVelocities[9] = Vector(0, 0, nan);  // a later ball (but for the case of ball 9 itself)
        (c.velocity ? world.ballVelocities : world.ballPositions)[c.ball] = c.value;
        EXPECT_EQ(findNonFiniteBall(world, message, sizeof message), c.ball) << message;
        if (c.message != nullptr) {
            EXPECT_STREQ(message, c.message);
        }
    }
}

}  // namespace
