// torvel-assets OUTDIR [ICONDIR]: writes the scene's four pictures and the window's icon to
// OUTDIR/data and its sound to OUTDIR/Data, generated from nothing but this program's own
// arithmetic; with ICONDIR also the desktop icon, ICONDIR/NxN/apps/torvel-room.png at the icon
// theme's usual sizes, drawn from the generated pictures. Paths are printed in UTF-8 (on Windows
// they are wide strings).
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/assets/Icon.h"
#include "tools/assets/Picture.h"
#include "tools/assets/Sound.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: torvel-assets OUTDIR [ICONDIR]\n");
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    const std::filesystem::path pictures = root / "data";
    const std::filesystem::path sounds = root / "Data";
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
    if (argc == 3) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size);
            const std::filesystem::path directory = std::filesystem::path(argv[2]) / name / "apps";
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
