// torvel-assets OUTDIR: writes the scene's four pictures to OUTDIR/data and its sound to
// OUTDIR/Data, generated from nothing but this program's own arithmetic.
// Paths are printed in UTF-8 (on Windows they are wide strings).
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

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
    if (argc != 2) {
        std::fprintf(stderr, "usage: torvel-assets OUTDIR\n");
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    const std::filesystem::path pictures = root / "data";
    const std::filesystem::path sounds = root / "Data";
    if (!makeDirectory(pictures) || !makeDirectory(sounds)) {
        return 1;
    }
    if (!picture(pictures / "marble.bmp", makeMarble()) || !picture(pictures / "spark.bmp", makeSpark()) ||
        !picture(pictures / "boden.bmp", makeFloorTiles()) ||
        !picture(pictures / "wand.bmp", makeWallBricks())) {
        return 1;
    }
    constexpr int sampleRate = 22050;
    const std::filesystem::path wav = sounds / "Explode.wav";
    if (!writeWav(wav.string(), makeExplosionSound(sampleRate), sampleRate)) {
        std::fprintf(stderr, "torvel-assets: cannot write %s\n", wav.u8string().c_str());
        return 1;
    }
    return 0;
}
