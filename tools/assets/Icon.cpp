#include "tools/assets/Icon.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

constexpr double pi = 3.141592653589793;
constexpr int samplesPerAxis = 4;  // supersampling smooths the rim at 16 pixels

struct Rgb {
    double r, g, b;
};

Rgb texel(const Picture& picture, double u, double v) {
    const int x = std::clamp(static_cast<int>(u * picture.width), 0, picture.width - 1);
    const int y = std::clamp(static_cast<int>(v * picture.height), 0, picture.height - 1);
    const std::uint8_t* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0};
}

double wrap(double t) {
    return t - std::floor(t);
}

// The colour of the ball at a point of the unit disc (y up), or false outside it.
bool ballColour(const Picture& floor, const Picture& spark, double x, double y, Rgb& colour) {
    const double d2 = x * x + y * y;
    if (d2 >= 1.0) {
        return false;
    }
    const double z = std::sqrt(1.0 - d2);
    // Two turns of tiles round the visible half, as the quadric's texture wraps the sphere.
    const Rgb tile = texel(floor, wrap(std::atan2(x, z) / pi), std::asin(y) / pi + 0.5);
    // Sphere-mapped glow, as the second ball pass draws it.
    const Rgb glow = texel(spark, x * 0.5 + 0.5, y * 0.5 + 0.5);
    const double lx = -0.45, ly = 0.55, lz = 0.70;
    const double diffuse = std::max(0.0, x * lx + y * ly + z * lz);
    const double highlight = std::pow(std::max(0.0, 2.0 * diffuse * z - lz), 24.0);
    const double light = 0.30 + 0.80 * diffuse;
    colour = {tile.r * light + 0.6 * glow.r + highlight, tile.g * light + 0.6 * glow.g + highlight,
              tile.b * light + 0.6 * glow.b + highlight};
    return true;
}

std::uint8_t byte(double c) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0));
}

void put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

}  // namespace

Icon makeIcon(const Picture& floor, const Picture& spark, int size) {
    Icon icon{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4, 0)};
    const double radius = 0.94;  // a thin transparent margin, as theme icons have
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            double r = 0.0, g = 0.0, b = 0.0;
            int covered = 0;
            for (int sy = 0; sy < samplesPerAxis; ++sy) {
                for (int sx = 0; sx < samplesPerAxis; ++sx) {
                    const double px = (column + (sx + 0.5) / samplesPerAxis) / size * 2.0 - 1.0;
                    const double py = 1.0 - (row + (sy + 0.5) / samplesPerAxis) / size * 2.0;
                    Rgb c{};
                    if (ballColour(floor, spark, px / radius, py / radius, c)) {
                        r += std::min(c.r, 1.0);
                        g += std::min(c.g, 1.0);
                        b += std::min(c.b, 1.0);
                        ++covered;
                    }
                }
            }
            std::uint8_t* p = &icon.rgba[(static_cast<std::size_t>(row) * size + column) * 4];
            if (covered > 0) {
                p[0] = byte(r / covered);
                p[1] = byte(g / covered);
                p[2] = byte(b / covered);
                p[3] = byte(static_cast<double>(covered) / (samplesPerAxis * samplesPerAxis));
            }
        }
    }
    return icon;
}

bool writeIconPng(const std::string& path, const Icon& icon) {
    return stbi_write_png(path.c_str(), icon.size, icon.size, 4, icon.rgba.data(), icon.size * 4) != 0;
}

bool writeIconBmp(const std::string& path, const Icon& icon) {
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(icon.size) * icon.size * 4;
    std::vector<std::uint8_t> out{'B', 'M'};
    put(out, 54 + pixelBytes, 4);  // file size
    put(out, 0, 4);
    put(out, 54, 4);  // offset of the pixels
    put(out, 40, 4);  // info header size
    put(out, static_cast<std::uint32_t>(icon.size), 4);
    put(out, static_cast<std::uint32_t>(icon.size), 4);
    put(out, 1, 2);   // planes
    put(out, 32, 2);  // bits per pixel: blue, green, red, alpha
    put(out, 0, 4);   // no compression
    put(out, pixelBytes, 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    for (int row = icon.size - 1; row >= 0; --row) {  // bottom row first
        for (int column = 0; column < icon.size; ++column) {
            const std::uint8_t* p = &icon.rgba[(static_cast<std::size_t>(row) * icon.size + column) * 4];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}
