#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/Picture.h"

// A square picture with coverage, top row first: red, green, blue, alpha per pixel.
struct Icon {
    int size = 0;
    std::vector<std::uint8_t> rgba;
};

// One of the scene's balls as it is drawn, the floor tiles with the spark's glow over them, lit
// from the upper left on a transparent ground.
Icon makeIcon(const Picture& floor, const Picture& spark, int size);

// PNG for the desktop's icon theme; 32-bit BMP (alpha in the fourth byte) for the window, as
// SDL reads it without an image library. False when the file cannot be written.
bool writeIconPng(const std::string& path, const Icon& icon);
bool writeIconBmp(const std::string& path, const Icon& icon);
