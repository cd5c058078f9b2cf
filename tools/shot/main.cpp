// torvel-shot FRAMES OUT.png [options]: runs the scene headless for FRAMES frames with the
// program's own step and drawing code and writes the last frame as a PNG, or with --every K
// every K-th frame as OUT-NNNNNN.png (the frame number); --keys applies a recording's key
// commands where the program applied them; --bench also reports the frame rate.
#include <GL/gl.h>
#include <stb_image_write.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "io/RecordingFile.h"
#include "physics/Replay.h"
#include "physics/World.h"
#include "render/Frame.h"
#include "render/RenderingState.h"
#include "tools/shot/ShotWindow.h"

namespace {

struct Options {
    long frames = 0;
    std::string output;
    int cameraMode = 0;
    bool timeStepGiven = false;
    double timeStep = 0.0;
    int width = 640;
    int height = 480;
    bool bench = false;
    long every = 0;  // 0: only the last frame
    const char* keys = nullptr;
};

void usage() {
    std::fprintf(
        stderr,
        "usage: torvel-shot FRAMES OUT.png [--camera-mode 0|1] [--time-step X] [--size WxH] [--every K] "
        "[--keys FILE] [--bench]\n");
}

bool parseLong(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0';
}

bool parseOptions(int argc, char** argv, Options& options) {
    if (argc < 3) {
        return false;
    }
    if (!parseLong(argv[1], options.frames) || options.frames < 1 || options.frames > 100000000) {
        std::fprintf(stderr, "torvel-shot: FRAMES must be a whole number of at least 1, not \"%s\"\n",
                     argv[1]);
        return false;
    }
    options.output = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bench") {
            options.bench = true;
        } else if (arg == "--camera-mode" && hasValue) {
            const std::string mode = argv[++i];
            if (mode != "0" && mode != "1") {
                std::fprintf(stderr, "torvel-shot: --camera-mode takes 0 or 1, not \"%s\"\n", mode.c_str());
                return false;
            }
            options.cameraMode = mode == "1" ? 1 : 0;
        } else if (arg == "--time-step" && hasValue) {
            const char* text = argv[++i];
            char* end = nullptr;
            options.timeStep = std::strtod(text, &end);
            if (end == text || *end != '\0') {
                std::fprintf(stderr, "torvel-shot: --time-step takes a number, not \"%s\"\n", text);
                return false;
            }
            options.timeStepGiven = true;
        } else if (arg == "--size" && hasValue) {
            const char* text = argv[++i];
            int width = 0, height = 0;
            char rest = 0;
            if (std::sscanf(text, "%dx%d%c", &width, &height, &rest) != 2 || width < 1 || height < 1 ||
                width > 8192 || height > 8192) {
                std::fprintf(stderr, "torvel-shot: --size takes WxH, e.g. 640x480, not \"%s\"\n", text);
                return false;
            }
            options.width = width;
            options.height = height;
        } else if (arg == "--every" && hasValue) {
            const char* text = argv[++i];
            if (!parseLong(text, options.every) || options.every < 1) {
                std::fprintf(stderr, "torvel-shot: --every takes a whole number of at least 1, not \"%s\"\n",
                             text);
                return false;
            }
        } else if (arg == "--keys" && hasValue && options.keys == nullptr) {
            options.keys = argv[++i];
        } else {
            std::fprintf(stderr, "torvel-shot: unknown or incomplete option \"%s\"\n", arg.c_str());
            return false;
        }
    }
    return true;
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
std::string numbered(const std::string& output, long frame) {
    const std::string png = ".png";
    const bool hasPng =
        output.size() >= png.size() && output.compare(output.size() - png.size(), png.size(), png) == 0;
    char number[32];
    std::snprintf(number, sizeof number, "-%06ld.png", frame);
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

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return 2;
    }

    Replay keys;
    if (options.keys != nullptr) {
        std::string message, note;
        if (!readRecording(options.keys, options.frames, keys.recording, message, note)) {
            std::fprintf(stderr, "torvel-shot: %s\n", message.c_str());
            return 2;
        }
        if (!note.empty()) {
            std::fprintf(stderr, "torvel-shot: %s\n", note.c_str());
        }
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
    for (long frame = 1; frame <= options.frames; ++frame) {
        const Clock::time_point start = Clock::now();
        // The key commands are applied after the drawing, as the program applies them.
        replayFrame(keys, frame, world, [](World& drawn) { drawFrame(drawn); });
        const bool last = frame == options.frames;
        const bool kept = options.every > 0 ? frame % options.every == 0 : last;
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
        std::printf("%ld frames of step + draw + swap at %dx%d in %.3f s: %.1f frames per second\n",
                    options.frames, options.width, options.height, seconds,
                    seconds > 0.0 ? options.frames / seconds : 0.0);
    }
    return 0;
}
