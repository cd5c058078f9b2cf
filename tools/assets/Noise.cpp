#include "tools/assets/Noise.h"

#include <cmath>

std::uint32_t hash32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

double latticeValue(int x, int y, std::uint32_t seed) {
    const std::uint32_t h = hash32(static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                                   static_cast<std::uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu);
    return static_cast<double>(h >> 8) / 16777216.0;
}

namespace {

int wrap(int i, int period) {
    const int r = i % period;
    return r < 0 ? r + period : r;
}

double smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

double tiledNoise(double x, double y, int period, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int x0 = static_cast<int>(fx);
    const int y0 = static_cast<int>(fy);
    const double tx = smooth(x - fx);
    const double ty = smooth(y - fy);
    const int xa = wrap(x0, period), xb = wrap(x0 + 1, period);
    const int ya = wrap(y0, period), yb = wrap(y0 + 1, period);
    const double a = latticeValue(xa, ya, seed);
    const double b = latticeValue(xb, ya, seed);
    const double c = latticeValue(xa, yb, seed);
    const double d = latticeValue(xb, yb, seed);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double tiledFractal(double u, double v, int basePeriod, int octaves, std::uint32_t seed) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    int period = basePeriod;
    for (int o = 0; o < octaves; ++o) {
        sum +=
            weight * tiledNoise(u * period, v * period, period, seed + static_cast<std::uint32_t>(o) * 101u);
        total += weight;
        weight *= 0.5;
        period *= 2;
    }
    return sum / total;
}

std::uint32_t Xorshift::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Xorshift::nextSigned() {
    return static_cast<double>(next() >> 8) / 8388608.0 - 1.0;
}
