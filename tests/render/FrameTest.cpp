// Rendering in a real context (SDL's offscreen driver), read back from the back buffer.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "BmpFile.h"
#include "GlContext.h"
#include "physics/Step.h"
#include "physics/World.h"
#include "render/Frame.h"
#include "render/RenderingState.h"
#include "render/Textures.h"

namespace {

constexpr int width = 320;
constexpr int height = 240;

struct Rgb {
    int r, g, b;
};

Rgb at(const std::vector<std::uint8_t>& pixels, int x, int y) {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

int maxDifference(const Rgb& a, const Rgb& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// The largest difference between two frames over the 7 x 7 pixels around (x, y).
int differenceAround(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int x, int y) {
    int worst = 0;
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
            worst = std::max(worst, maxDifference(at(a, x + dx, y + dy), at(b, x + dx, y + dy)));
        }
    }
    return worst;
}

// Window coordinates of a room point under the matrices drawFrame leaves (camera and turn).
bool project(double x, double y, double z, double& windowX, double& windowY) {
    GLdouble modelView[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble windowZ = 0.0;
    return gluProject(x, y, z, modelView, projection, viewport, &windowX, &windowY, &windowZ) == GL_TRUE;
}

// Compares a frame with a reviewed picture in tests/render/golden; TORVEL_UPDATE_GOLDEN=1 rewrites it.
// Each channel may be off by a little, and a few edge pixels by more, so that another rasteriser
// build still passes; the picture as a whole may not change.
void expectMatchesGolden(const std::vector<std::uint8_t>& bottomUp, const std::string& name) {
    std::vector<std::uint8_t> topDown(bottomUp.size());
    const std::size_t row = width * 3;
    for (int y = 0; y < height; ++y) {
        std::memcpy(&topDown[row * y], &bottomUp[row * (height - 1 - y)], row);
    }
    const std::string golden = std::string(TORVEL_GOLDEN_DIR) + "/" + name;
    if (std::getenv("TORVEL_UPDATE_GOLDEN") != nullptr) {
        ASSERT_NE(stbi_write_png(golden.c_str(), width, height, 3, topDown.data(), width * 3), 0);
        return;
    }
    int goldenWidth = 0, goldenHeight = 0, channels = 0;
    stbi_uc* expected = stbi_load(golden.c_str(), &goldenWidth, &goldenHeight, &channels, 3);
    ASSERT_NE(expected, nullptr) << "cannot read " << golden;
    ASSERT_EQ(goldenWidth, width);
    ASSERT_EQ(goldenHeight, height);
    int offPixels = 0;
    for (std::size_t i = 0; i < topDown.size(); i += 3) {
        int worst = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            worst = std::max(worst, std::abs(int(topDown[i + c]) - int(expected[i + c])));
        }
        offPixels += worst > 12 ? 1 : 0;
    }
    stbi_image_free(expected);
    const std::string actual = testing::TempDir() + "/actual-" + name;
    if (offPixels > width * height / 500) {
        stbi_write_png(actual.c_str(), width, height, 3, topDown.data(), width * 3);
    }
    EXPECT_LE(offPixels, width * height / 500) << name << " differs; this frame is in " << actual;
}

class FrameTest : public testing::Test {
  protected:
    void SetUp() override {
        // The generated pictures sit in the build's run directory.
        ASSERT_EQ(chdir(TORVEL_RUN_DIR), 0);
        std::string error;
        ASSERT_TRUE(gl.open(width, height, error)) << error;
        startContext();
        floorClipCoefficient = 1500.0f;
        initWorld(world);
    }

    void startContext() {
        setupProjection(width, height);
        testing::internal::CaptureStdout();  // the loader's header lines
        setupRendering();
        testing::internal::GetCapturedStdout();
    }

    // A view from high above the open top, straight at the room's centre (eye at (0, 900, 600)),
    // near enough for the whole floor to lie before the far plane.
    void overview() { world.cameraPosition = Vector(0.0, 300.0, 1300.0); }

    // A view from below the floor, up through it; ball 0 (the followed one) stays behind the eye.
    void fromBelow() {
        world.cameraMode = 1;
        world.ballPositions[0] = Vector(-150.0, -750.0, 300.0);  // eye at (0, -600, 300)
        world.ballVelocities[0] = Vector(150.0, 430.0, -300.0);  // looking at (0, -320, 0)
    }

    void noExplosions() {
        for (Explosion& e : world.explosions) {
            e.alpha = -1.0f;
        }
    }

    std::vector<std::uint8_t> draw() {
        drawFrame(world);
        return gl.readColour();
    }

    GlContext gl;
    World world;
};

TEST_F(FrameTest, OverviewWithExplosionsMatchesGolden) {
    overview();
    world.explosions[0] = Explosion{Vector(-150.0, 250.0, -300.0), 1.0f, 1.0f};
    world.explosions[5] = Explosion{Vector(280.0, 0.0, 100.0), 0.6f, 2.0f};
    world.explosions[19] = Explosion{Vector(-280.0, -200.0, -200.0), 0.3f, 3.0f};
    expectMatchesGolden(draw(), "overview.png");
}

TEST_F(FrameTest, StencilHoldsExactlyTheFloorsScreenArea) {
    overview();
    world.viewAngle = 30.0f;
    draw();
    const auto stencil = gl.readStencil();

    double corners[4][2];
    const double floorCorners[4][2] = {{-320, 320}, {320, 320}, {320, -320}, {-320, -320}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(project(floorCorners[i][0], -320.0, floorCorners[i][1], corners[i][0], corners[i][1]));
    }
    int inside = 0, wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Signed distances to the four edges; pixels within one pixel of an edge may go either way.
            double nearest = 1e9;
            int sign = 0;
            bool mixed = false;
            for (int i = 0; i < 4; ++i) {
                const double* a = corners[i];
                const double* b = corners[(i + 1) % 4];
                const double ex = b[0] - a[0], ey = b[1] - a[1];
                const double d = (ex * (y + 0.5 - a[1]) - ey * (x + 0.5 - a[0])) / std::hypot(ex, ey);
                nearest = std::min(nearest, std::fabs(d));
                const int s = d > 0 ? 1 : -1;
                mixed = mixed || (sign != 0 && s != sign);
                sign = s;
            }
            if (nearest < 1.0) {
                continue;
            }
            const int expected = mixed ? 0 : 1;
            inside += expected;
            wrong += (stencil[static_cast<std::size_t>(y) * width + x] & 1) != expected ? 1 : 0;
        }
    }
    EXPECT_GT(inside, width * height / 20);
    EXPECT_EQ(wrong, 0);
}

TEST_F(FrameTest, ExplosionAddsYellowAndFadesOverAHundredFrames) {
    overview();
    world.ballCount = 1;                                  // keeps the additive blend function
    world.ballPositions[0] = Vector(0.0, 1100.0, 800.0);  // behind the eye
    noExplosions();
    const Vector centre(-150.0, 250.0, -300.0);  // in front of the far wall, clear of the column
    // From the second frame on the walls are lit as the frame before left the light.
    draw();
    const auto background = draw();
    double px = 0, py = 0;
    ASSERT_TRUE(project(centre.getX(), centre.getY(), centre.getZ(), px, py));
    const int x = static_cast<int>(px), y = static_cast<int>(py);
    ASSERT_TRUE(x > 0 && x < width && y > 0 && y < height);
    const Rgb wall = at(background, x, y);

    world.explosions[3] = Explosion{centre, 1.0f, 1.0f};
    int previousGreen = 256;
    for (int frame = 1; frame <= 105; ++frame) {
        const Rgb seen = at(draw(), x, y);
        SCOPED_TRACE(frame);
        EXPECT_GE(seen.r, wall.r);
        EXPECT_LE(seen.b - wall.b, (seen.g - wall.g) / 2 + 2) << "yellow: blue only from the specular light";
        EXPECT_LE(seen.g, previousGreen + 2) << "it only fades";
        previousGreen = seen.g;
        if (frame == 1) {
            EXPECT_GT(seen.g - wall.g, 60);
            EXPECT_NEAR(world.explosions[3].alpha, 0.99f, 1e-6f);  // each frame ages it once
        } else if (frame == 50) {
            EXPECT_GT(seen.g - wall.g, 10);
        } else if (frame >= 100) {
            EXPECT_LE(maxDifference(seen, wall), 2);
        }
    }
}

// Seen from below, a ball shows through the translucent floor only by the masked pass, which the
// clip plane limits to the upper half of the room until frame 1500 and to the lower half after it.
TEST_F(FrameTest, ClipPlaneFlipsFromUpperToLowerHalfAfterFrame1500) {
    fromBelow();
    noExplosions();
    world.ballCount = 1;
    draw();  // the light as a previous frame leaves it
    const auto background = draw();
    const auto stencil = gl.readStencil();

    const Vector upper(100.0, 100.0, 0.0), lower(-100.0, -200.0, -60.0);
    world.ballCount = 3;
    world.ballPositions[1] = upper;
    world.ballPositions[2] = lower;
    int ux, uy, lx, ly;
    {
        double x, y;
        ASSERT_TRUE(project(upper.getX(), upper.getY(), upper.getZ(), x, y));
        ux = int(x), uy = int(y);
        ASSERT_TRUE(project(lower.getX(), lower.getY(), lower.getZ(), x, y));
        lx = int(x), ly = int(y);
    }
    ASSERT_EQ(stencil[static_cast<std::size_t>(uy) * width + ux], 1) << "seen through the floor";
    ASSERT_EQ(stencil[static_cast<std::size_t>(ly) * width + lx], 1) << "seen through the floor";

    floorClipCoefficient = 1500.0f;  // frame 0
    auto pixels = draw();
    expectMatchesGolden(pixels, "below.png");
    EXPECT_GT(differenceAround(pixels, background, ux, uy), 12);
    EXPECT_LE(differenceAround(pixels, background, lx, ly), 2);
    EXPECT_FLOAT_EQ(floorClipCoefficient, 1499.0f);

    floorClipCoefficient = 0.0f;  // frame 1500: nothing is clipped
    pixels = draw();
    EXPECT_GT(differenceAround(pixels, background, ux, uy), 12);
    EXPECT_GT(differenceAround(pixels, background, lx, ly), 12);

    floorClipCoefficient = -1.0f;  // frame 1501
    pixels = draw();
    EXPECT_LE(differenceAround(pixels, background, ux, uy), 2);
    EXPECT_GT(differenceAround(pixels, background, lx, ly), 12);
}

TEST_F(FrameTest, SecondSetUpInANewContextDrawsTheSamePicture) {
    overview();
    world.explosions[0] = Explosion{Vector(-150.0, 250.0, -300.0), 1.0f, 1.0f};
    const World before = world;
    const auto first = draw();

    gl.close();
    std::string error;
    ASSERT_TRUE(gl.open(width, height, error)) << error;
    startContext();
    for (GLuint name : textureNames) {
        EXPECT_EQ(glIsTexture(name), GL_TRUE);
    }
    EXPECT_EQ(glIsList(explosionList), GL_TRUE);
    world = before;
    floorClipCoefficient = 1500.0f;
    EXPECT_EQ(draw(), first);
}

// The whole program path: 300 frames of simulation and drawing from the start layout.
TEST_F(FrameTest, ThreeHundredSteppedFramesMatchGolden) {
    std::vector<std::uint8_t> pixels;
    for (int frame = 0; frame < 300; ++frame) {
        stepWorld(world);
        drawFrame(world);
        if (frame == 299) {
            pixels = gl.readColour();
        }
        gl.swap();
    }
    EXPECT_FLOAT_EQ(floorClipCoefficient, 1200.0f);
    expectMatchesGolden(pixels, "stepped300.png");
}

// Rows of 2 pixels are not a multiple of four bytes: the upload must take them as packed.
TEST_F(FrameTest, UploadTakesExactlyThePackedBytes) {
    const auto dir = freshDirectory("upload");
    std::filesystem::create_directories(dir / "data");
    const char* names[4] = {"marble.bmp", "spark.bmp", "boden.bmp", "wand.bmp"};
    BmpFile files[4];
    for (int i = 0; i < 4; ++i) {
        files[i].width = 2;
        files[i].height = 2;
        for (int b = 0; b < 16; ++b) {
            files[i].pixels.push_back(static_cast<std::uint8_t>(16 * i + b));
        }
        files[i].write(dir / "data" / names[i]);
    }
    ASSERT_EQ(chdir(dir.c_str()), 0);
    testing::internal::CaptureStdout();
    loadTextures();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(TORVEL_RUN_DIR), 0);

    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the unpack alignment is put back";
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(names[i]);
        glBindTexture(GL_TEXTURE_2D, textureNames[i]);
        std::uint8_t texels[12] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        for (int t = 0; t < 12; t += 3) {
            EXPECT_EQ(texels[t + 0], files[i].pixels[t + 2]);
            EXPECT_EQ(texels[t + 1], files[i].pixels[t + 1]);
            EXPECT_EQ(texels[t + 2], files[i].pixels[t + 0]);
        }
    }

    const GLuint old[4] = {textureNames[0], textureNames[1], textureNames[2], textureNames[3]};
    deleteTextures();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(textureNames[i], 0u);
        EXPECT_EQ(glIsTexture(old[i]), GL_FALSE);
    }
}

}  // namespace
