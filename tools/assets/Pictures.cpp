#include <algorithm>
#include <cmath>

#include "tools/assets/Noise.h"
#include "tools/assets/Picture.h"

namespace {

constexpr int size = 256;
constexpr double twoPi = 6.283185307179586;

struct Colour {
    double r, g, b;
};

Colour mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour times(const Colour& c, double f) {
    return {c.r * f, c.g * f, c.b * f};
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// 1 on the line where sin(phase) = 0, falling off quickly to each side: a thin vein.
double vein(double phase, double sharpness) {
    return std::pow(1.0 - std::fabs(std::sin(phase)), sharpness);
}

}  // namespace

// Grey-white stone with dark, turbulent veins. Whole numbers of vein periods across each
// axis keep the picture seamless around the cylinders.
Picture makeMarble() {
    Picture picture(size, size);
    const Colour stone{0.93, 0.92, 0.90};
    const Colour cloudy{0.74, 0.74, 0.76};
    const Colour veinColour{0.30, 0.31, 0.35};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = x / double(size);
            const double v = y / double(size);
            const double turbulence = tiledFractal(u, v, 4, 6, 11u);
            const double fine = tiledFractal(u, v, 8, 5, 23u);
            const double cloud = tiledFractal(u, v, 4, 4, 37u);

            const double main = vein(twoPi * (2.0 * u + 1.0 * v) + 7.0 * turbulence, 9.0);
            const double thin = vein(twoPi * (1.0 * u - 3.0 * v) + 9.0 * fine, 28.0);
            Colour c = mix(stone, cloudy, smoothstep(0.35, 0.8, cloud));
            c = mix(c, veinColour, std::min(1.0, 0.85 * main + 0.5 * thin));
            const double grain = 0.96 + 0.08 * latticeValue(x, y, 5u);
            c = times(c, grain);
            picture.set(x, y, c.r, c.g, c.b);
        }
    }
    return picture;
}

// A soft white-yellow glow fading to black well before the edges, with faint rays; added to
// the scene, so black adds nothing.
Picture makeSpark() {
    Picture picture(size, size);
    const double half = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = (x + 0.5 - half) / half;
            const double dy = (y + 0.5 - half) / half;
            const double r2 = dx * dx + dy * dy;
            const double r = std::sqrt(r2);
            const double angle = std::atan2(dy, dx);

            const double core = std::exp(-r2 * 30.0);
            const double glow = 0.55 * std::exp(-r2 * 6.0);
            const double rays = (0.35 * std::pow(std::fabs(std::cos(3.0 * angle)), 40.0) +
                                 0.25 * std::pow(std::fabs(std::cos(3.0 * angle + 0.52)), 60.0)) *
                                std::exp(-r * 3.5);
            const double edge = 1.0 - smoothstep(0.8, 1.0, r);
            const double intensity = (core + glow + rays) * edge;

            const double red = std::min(1.0, 1.15 * intensity);
            const double green = std::min(1.0, std::pow(intensity, 1.2) * 1.05);
            const double blue = std::min(1.0, std::pow(intensity, 2.2) * 0.9);
            picture.set(x, y, red, green, blue);
        }
    }
    return picture;
}

// Eight by eight glazed tiles in two tones with grout between them and a little mottling.
Picture makeFloorTiles() {
    Picture picture(size, size);
    constexpr int tile = size / 8;
    // Warm enough to stay warm when the translucent floor lets the blue background through.
    const Colour light{0.98, 0.88, 0.66};
    const Colour dark{0.62, 0.31, 0.15};
    const Colour grout{0.33, 0.31, 0.29};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int tx = x / tile, ty = y / tile;
            const int lx = x % tile, ly = y % tile;
            const double u = x / double(size);
            const double v = y / double(size);
            const double mottle = tiledFractal(u, v, 16, 4, 71u);
            Colour c;
            if (lx < 1 || lx >= tile - 1 || ly < 1 || ly >= tile - 1) {
                c = times(grout, 0.9 + 0.2 * mottle);
            } else {
                const bool isLight = ((tx + ty) & 1) == 0;
                const double shade = 0.92 + 0.12 * latticeValue(tx, ty, 97u);
                c = times(isLight ? light : dark, shade * (0.86 + 0.24 * mottle));
                // A slight bevel: the tile's rim catches less light than its face.
                const int rim = std::min(std::min(lx - 1, tile - 2 - lx), std::min(ly - 1, tile - 2 - ly));
                if (rim < 2) {
                    c = times(c, 0.84 + 0.08 * rim);
                }
            }
            picture.set(x, y, c.r, c.g, c.b);
        }
    }
    return picture;
}

// Sixteen courses of red-brown bricks in running bond, each brick its own shade, in pale mortar.
Picture makeWallBricks() {
    // Twice the others' resolution: the following camera comes close to the walls.
    constexpr int wallSize = 2 * size;
    Picture picture(wallSize, wallSize);
    constexpr int course = wallSize / 16;
    constexpr int brick = course * 2;
    constexpr int joint = 4;
    const Colour brickColour{0.64, 0.30, 0.21};
    const Colour burnt{0.42, 0.20, 0.15};
    const Colour mortar{0.74, 0.71, 0.66};
    for (int y = 0; y < wallSize; ++y) {
        for (int x = 0; x < wallSize; ++x) {
            const int row = y / course;
            const int shifted = x + (row & 1) * (brick / 2);
            const int column = (shifted / brick) % (wallSize / brick);
            const int lx = shifted % brick;
            const int ly = y % course;
            const double u = x / double(wallSize);
            const double v = y / double(wallSize);
            const double speckle = tiledFractal(u, v, 32, 4, 131u);
            Colour c;
            if (lx < joint || ly < joint) {
                c = times(mortar, 0.85 + 0.25 * speckle);
            } else {
                const double h = latticeValue(column, row, 151u);
                c = mix(brickColour, burnt, 0.6 * h * h);
                c = times(c, 0.85 + 0.3 * speckle + 0.03 * latticeValue(x, y, 7u));
                // Shadow under the upper joint and light at the lower one give the bricks some relief.
                if (ly >= course - 2) {
                    c = times(c, 1.12);
                } else if (ly < joint + 2) {
                    c = times(c, 0.8);
                }
            }
            picture.set(x, y, c.r, c.g, c.b);
        }
    }
    return picture;
}
