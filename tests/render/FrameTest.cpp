// Rendering in a real context (SDL's offscreen driver), read back from the back buffer.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "RenderTest.h"
#include "physics/Step.h"
#include "physics/World.h"
#include "render/Frame.h"
#include "render/RenderingState.h"

namespace {

constexpr int width = 320;
constexpr int height = 240;
using Frame = std::vector<std::uint8_t>;

// Compares a frame (or a stencil, one byte a pixel) with a reviewed picture in tests/render/golden;
// TORVEL_UPDATE_GOLDEN=1 rewrites it where it differs. Bytes may be off by a little, and a few by more,
// so that another rasteriser build still passes; the picture as a whole may not change.
void expectMatchesGolden(const Frame& frame, int channels, const std::string& name) {
    const std::string golden = std::string(TORVEL_GOLDEN_DIR) + "/" + name;
    const std::string actual =
        std::getenv("TORVEL_UPDATE_GOLDEN") ? golden : testing::TempDir() + "actual-" + name;
    stbi_flip_vertically_on_write(1);  // GL reads the bottom row first
    stbi_set_flip_vertically_on_load(1);
    int goldenWidth = 0, goldenHeight = 0, stored = 0;
    stbi_uc* expected = stbi_load(golden.c_str(), &goldenWidth, &goldenHeight, &stored, channels);
    const bool readable = expected != nullptr && goldenWidth == width && goldenHeight == height;
    int off = readable ? 0 : width * height;
    for (std::size_t i = 0; readable && i < frame.size(); ++i) {
        off += std::abs(frame[i] - expected[i]) > 12 ? 1 : 0;
    }
    stbi_image_free(expected);
    if (off > width * height / 500) {
        stbi_write_png(actual.c_str(), width, height, channels, frame.data(), width * channels);
    }
    EXPECT_LE(off, width * height / 500) << name << " differs; this frame is in " << actual;
}

// The whole back buffer (GL_RGB, 3 bytes a pixel) or stencil (GL_STENCIL_INDEX, 1), bottom row first.
Frame readBack(GLenum format, int bytesPerPixel) {
    Frame out(static_cast<std::size_t>(width) * height * bytesPerPixel);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, out.data());
    return out;
}

class FrameTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(chdir(TORVEL_RUN_DIR), 0);  // where the generated pictures are
        setUpContext();
        initWorld(world);
        // From high above the open top, straight at the room's centre (eye at (0, 900, 600)), near
        // enough for the whole floor to lie before the far plane.
        world.cameraPosition = Vector(0.0, 300.0, 1300.0);
    }

    void setUpContext() {
        ASSERT_TRUE(openContext(width, height)) << SDL_GetError();
        setupProjection(width, height);
        testing::internal::CaptureStdout();  // the loader's header lines
        setupRendering();
        testing::internal::GetCapturedStdout();
        floorClipCoefficient = 1500.0f;
    }

    // Only the given balls, after a first frame that lights the walls as every later frame finds the
    // light (and draws the start's empty explosion slots one last time).
    void onlyBalls(std::initializer_list<Vector> balls) {
        world.ballCount = static_cast<int>(balls.size());
        std::copy(balls.begin(), balls.end(), world.ballPositions);
        draw();
    }

    Frame draw() {
        drawFrame(world);
        return readBack(GL_RGB, 3);
    }

    World world;
};

// The first frame after the set-up, whose explosions add their light by the set-up's blend function,
// then the explosions fading: alpha 0.5, 0.1 and gone at frame 50, no trace of any after frame 101.
TEST_F(FrameTest, OverviewWithFadingExplosionsMatchesGolden) {
    world.explosions[0] = Explosion{Vector(-150.0, 250.0, -300.0), 1.0f, 1.0f};
    world.explosions[5] = Explosion{Vector(280.0, 0.0, 100.0), 0.6f, 2.0f};
    world.explosions[19] = Explosion{Vector(-280.0, -200.0, -200.0), 0.3f, 3.0f};
    expectMatchesGolden(draw(), 3, "overview.png");
    Frame stencil = readBack(GL_STENCIL_INDEX, 1);
    for (std::uint8_t& s : stencil) {
        s = s & 1 ? 255 : 0;
    }
    expectMatchesGolden(stencil, 1, "overview-stencil.png");
    Frame pixels;
    for (int frame = 2; frame <= 101; ++frame) {
        pixels = draw();
        if (frame == 50) {
            expectMatchesGolden(pixels, 3, "overview-frame50.png");
        }
    }
    EXPECT_EQ(pixels, draw()) << "an explosion still shows in frame 101";
}

// Seen from below, a ball shows through the translucent floor only by the masked pass, which the
// clip plane limits to the upper half of the room until frame 1500 and to the lower half after it.
TEST_F(FrameTest, ClipPlaneFlipsFromUpperToLowerHalfAfterFrame1500) {
    world.cameraMode = 1;
    world.ballVelocities[0] = Vector(150.0, 430.0, -300.0);  // eye at (0, -600, 300), at (0, -320, 0)
    const Vector followed(-150.0, -750.0, 300.0), upper(100.0, 100.0, 0.0), lower(-100.0, -200.0, -60.0);
    onlyBalls({followed});  // behind the eye
    const Frame background = draw();
    const struct {
        float clip;  // frame 0, 1500 and 1501
        Vector ball;
        bool seen;
    } cases[] = {{1500.0f, upper, true}, {1500.0f, lower, false}, {0.0f, upper, true},
                 {0.0f, lower, true},    {-1.0f, upper, false},   {-1.0f, lower, true}};
    for (const auto& c : cases) {
        onlyBalls({followed, c.ball});
        floorClipCoefficient = c.clip;
        EXPECT_EQ(draw() != background, c.seen) << "case " << &c - cases;
    }
    EXPECT_EQ(floorClipCoefficient, -2.0f);
    onlyBalls({followed, upper, lower});
    floorClipCoefficient = 1500.0f;
    expectMatchesGolden(draw(), 3, "below.png");
}

TEST_F(FrameTest, SecondSetUpInANewContextDrawsTheSamePicture) {
    world.explosions[0] = Explosion{Vector(-150.0, 250.0, -300.0), 1.0f, 1.0f};
    const World before = world;
    const Frame first = draw();
    setUpContext();
    world = before;
    EXPECT_EQ(draw(), first);
}

// The whole program path: 300 frames of simulation and drawing from the start layout.
TEST_F(FrameTest, ThreeHundredSteppedFramesMatchGolden) {
    world.cameraPosition = World{}.cameraPosition;
    Frame pixels;
    for (int frame = 0; frame < 300; ++frame) {
        stepWorld(world);
        pixels = draw();
        swapBuffers();
    }
    expectMatchesGolden(pixels, 3, "stepped300.png");
}

}  // namespace
