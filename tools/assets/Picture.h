#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGB picture in the row order of a BMP file: row 0 is stored first (it becomes texture row t = 0).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3, red, green, blue

    Picture(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
    // Channels in [0, 1]; values outside are clamped.
    void set(int x, int y, double r, double g, double b);
};

// Uncompressed 24-bit BMP with the 54-byte header. Returns false when the file cannot be written.
bool writeBmp(const std::string& path, const Picture& picture);

// The four textures of the scene, 256 x 256 (the bricks 512 x 512), the same bytes on every run.
Picture makeMarble();
Picture makeSpark();
Picture makeFloorTiles();
Picture makeWallBricks();
