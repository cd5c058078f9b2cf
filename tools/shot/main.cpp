// torvel-shot FRAMES OUT.png [options]: runs the scene headless for FRAMES frames with the
// program's own step and drawing code and writes the last frame as a PNG, or with --every K
// every K-th frame and the last as OUT-NNNNNN.png (the frame number); --keys applies a recording's key
// commands where the program applied them; --bench also reports the frame rate.
#include <GL/gl.h>
#include <stb_image_write.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "physics/World.h"
#include "render/Frame.h"
#include "render/RenderingState.h"
#include "tools/common/Arguments.h"
#include "tools/common/KeysFile.h"
#include "tools/shot/ShotWindow.h"

namespace {

struct Options {
    std::int64_t frames = 0;
    std::string output;
    int cameraMode = 0;
    bool timeStepGiven = false;
    double timeStep = 0.0;
    int width = 640, height = 480;
    bool bench = false;
    std::int64_t every = 0;  // 0: only the last frame
    const char* keys = nullptr;
};

const char* usage() {
    return "usage: torvel-shot FRAMES OUT.png [--camera-mode 0|1] [--time-step X] [--size WxH] [--every K] "
           "[--keys FILE] [--bench]\n";
}

// A value refused, with what it should have been.
bool refuse(const char* what, const char* text) {
    std::fprintf(stderr, "torvel-shot: %s, not \"%s\"\n", what, text);
    return false;
}

ArgumentsEnd parseOptions(int argc, const char* const* argv, Options& options) {
    const std::vector<ToolOption> flags = {
        {"--bench", false, true, [&](const char*) { return options.bench = true; }},
        {"--camera-mode", true, true,
         [&](const char* text) {
             options.cameraMode = std::strcmp(text, "1") == 0 ? 1 : 0;
             return std::strcmp(text, "0") == 0 || options.cameraMode == 1 ||
                    refuse("--camera-mode takes 0 or 1", text);
         }},
        {"--time-step", true, true,
         [&](const char* text) {
             options.timeStepGiven = true;
             return parseFinite(text, options.timeStep) || refuse("--time-step takes a number", text);
         }},
        {"--size", true, true,
         [&](const char* text) {
             char rest = 0;
             return (std::sscanf(text, "%dx%d%c", &options.width, &options.height, &rest) == 2 &&
                     options.width >= 1 && options.height >= 1 && options.width <= 8192 &&
                     options.height <= 8192) ||
                    refuse("--size takes WxH, e.g. 640x480", text);
         }},
        {"--every", true, true,
         [&](const char* text) {
             return (parseCount(text, options.every) && options.every >= 1) ||
                    refuse("--every takes a whole number of at least 1", text);
         }},
        {"--keys", true, false, [&](const char* text) { return (options.keys = text) != nullptr; }},
    };
    const std::vector<ArgumentReader> positional = {
        [&](const char* text) {
            return (parseCount(text, options.frames) && options.frames >= 1 && options.frames <= 100000000) ||
                   refuse("FRAMES must be a whole number of at least 1", text);
        },
        [&](const char* text) {
            options.output = text;
            return true;
        },
    };
    std::size_t given = 0;
    const ArgumentsEnd end = readArguments(argc, argv, flags, positional, given, "torvel-shot");
    return end == ArgumentsEnd::Read && given < positional.size() ? ArgumentsEnd::Refused : end;
}

// The back buffer as the next swap would show it, top row first.
std::vector<unsigned char> readBackBuffer(int width, int height) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> bottomUp(rowBytes * height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<unsigned char> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        std::memcpy(&topDown[rowBytes * y], &bottomUp[rowBytes * (height - 1 - y)], rowBytes);
    }
    return topDown;
}

// OUT.png with the frame number before the extension: the pictures sort in frame order.
std::string numbered(const std::string& output, std::int64_t frame) {
    const std::string png = ".png";
    const bool hasPng =
        output.size() >= png.size() && output.compare(output.size() - png.size(), png.size(), png) == 0;
    char number[32];
    std::snprintf(number, sizeof number, "-%06lld.png", static_cast<long long>(frame));
    return output.substr(0, hasPng ? output.size() - png.size() : output.size()) + number;
}

bool writePicture(const std::string& path, int width, int height, const std::vector<unsigned char>& picture) {
    if (stbi_write_png(path.c_str(), width, height, 3, picture.data(), width * 3) == 0) {
        std::fprintf(stderr, "torvel-shot: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

World world;

int shoot(const Options& options) {
    Replay keys;
    if (!readKeysFile("torvel-shot", options.keys, options.frames, keys)) {
        return 2;
    }

    initWorld(world);
    world.cameraMode = options.cameraMode;
    if (options.timeStepGiven) {
        world.timeStep = options.timeStep;
    }
    replayPasses(keys, 0, world);

    std::string error;
    if (!openShotWindow(options.width, options.height, error)) {
        std::fprintf(stderr, "torvel-shot: %s\n", error.c_str());
        return 1;
    }
    setupProjection(options.width, options.height);
    setupRendering();

    using Clock = std::chrono::steady_clock;
    Clock::duration busy{};
    std::vector<unsigned char> picture;
    for (std::int64_t frame = 1; frame <= options.frames; ++frame) {
        const Clock::time_point start = Clock::now();
        // The key commands are applied after the drawing, as the program applies them.
        replayFrame(keys, frame, world, [](World& drawn) { drawFrame(drawn); });
        const bool last = frame == options.frames;
        // With --every the last frame too, as the trace prints it.
        const bool kept = last || (options.every > 0 && frame % options.every == 0);
        if (kept) {
            glFinish();
            busy += Clock::now() - start;
            picture = readBackBuffer(options.width, options.height);
            if (options.every > 0 &&
                !writePicture(numbered(options.output, frame), options.width, options.height, picture)) {
                closeShotWindow();
                return 1;
            }
        }
        const Clock::time_point swapStart = Clock::now();
        swapShotWindow();
        if (kept) {
            glFinish();
        }
        busy += Clock::now() - (kept ? swapStart : start);
    }

    closeShotWindow();

    if (options.every == 0 && !writePicture(options.output, options.width, options.height, picture)) {
        return 1;
    }
    if (options.bench) {
        const double seconds = std::chrono::duration<double>(busy).count();
        std::printf("%lld frames of step + draw + swap at %dx%d in %.3f s: %.1f frames per second\n",
                    static_cast<long long>(options.frames), options.width, options.height, seconds,
                    seconds > 0.0 ? static_cast<double>(options.frames) / seconds : 0.0);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return runWithArguments(argc, argv, parseOptions, usage(), shoot);
}
