// torvel-assets OUTDIR [ICONDIR]: writes the scene's four pictures and the window's icon to
// OUTDIR/data and its sound to OUTDIR/Data, generated from nothing but this program's own
// arithmetic; with ICONDIR also the desktop icon, ICONDIR/NxN/apps/torvel-room.png at the icon
// theme's usual sizes, drawn from the generated pictures. Paths are printed in UTF-8 (on Windows
// they are wide strings). --help prints the usage; an argument that starts with "-" is refused.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/assets/Icon.h"
#include "tools/assets/Picture.h"
#include "tools/assets/Sound.h"
#include "tools/common/Arguments.h"

namespace {

struct Options {
    std::filesystem::path root;
    std::filesystem::path icons;  // empty: no PNG icons
};

// A folder named like an option is a mistyped option (--help, -h), not a folder to make.
bool folder(const char* text, std::filesystem::path& path) {
    if (text[0] == '-') {
        std::fprintf(stderr, "torvel-assets: unknown or incomplete option \"%s\"\n", text);
        return false;
    }
    path = text;
    return true;
}

ArgumentsEnd parseOptions(int argc, const char* const* argv, Options& options) {
    const std::vector<ArgumentReader> positional = {
        [&](const char* text) { return folder(text, options.root); },
        [&](const char* text) { return folder(text, options.icons); },
    };
    std::size_t given = 0;
    const ArgumentsEnd end = readArguments(argc, argv, {}, positional, given, "torvel-assets");
    return end == ArgumentsEnd::Read && given == 0 ? ArgumentsEnd::Refused : end;
}

bool makeDirectory(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        std::fprintf(stderr, "torvel-assets: cannot create %s: %s\n", path.u8string().c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

bool picture(const std::filesystem::path& path, const Picture& image) {
    if (!writeBmp(path.string(), image)) {
        std::fprintf(stderr, "torvel-assets: cannot write %s\n", path.u8string().c_str());
        return false;
    }
    return true;
}

int generate(const Options& options) {
    const std::filesystem::path pictures = options.root / "data";
    const std::filesystem::path sounds = options.root / "Data";
    if (!makeDirectory(pictures) || !makeDirectory(sounds)) {
        return 1;
    }
    const Picture spark = makeSpark();
    const Picture floor = makeFloorTiles();
    if (!picture(pictures / "marble.bmp", makeMarble()) || !picture(pictures / "spark.bmp", spark) ||
        !picture(pictures / "boden.bmp", floor) || !picture(pictures / "wand.bmp", makeWallBricks())) {
        return 1;
    }
    const std::filesystem::path windowIcon = pictures / "icon.bmp";
    if (!writeIconBmp(windowIcon.string(), makeIcon(floor, spark, 64))) {
        std::fprintf(stderr, "torvel-assets: cannot write %s\n", windowIcon.u8string().c_str());
        return 1;
    }
    if (!options.icons.empty()) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size);
            const std::filesystem::path directory = options.icons / name / "apps";
            const std::filesystem::path png = directory / "torvel-room.png";
            if (!makeDirectory(directory)) {
                return 1;
            }
            if (!writeIconPng(png.string(), makeIcon(floor, spark, size))) {
                std::fprintf(stderr, "torvel-assets: cannot write %s\n", png.u8string().c_str());
                return 1;
            }
        }
    }
    constexpr int sampleRate = 22050;
    const std::filesystem::path wav = sounds / "Explode.wav";
    if (!writeWav(wav.string(), makeExplosionSound(sampleRate), sampleRate)) {
        std::fprintf(stderr, "torvel-assets: cannot write %s\n", wav.u8string().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return runWithArguments(argc, argv, parseOptions, "usage: torvel-assets OUTDIR [ICONDIR]\n", generate);
}
