#pragma once

#include <cstdint>

// Deterministic noise for the generated pictures and sound: the same numbers on every machine.

// A 32-bit integer hash, well mixed in every bit.
std::uint32_t hash32(std::uint32_t x);

// Uniform in [0, 1) from a lattice point and a seed.
double latticeValue(int x, int y, std::uint32_t seed);

// Smooth value noise in [0, 1] that repeats every `period` units in x and in y, so that
// pictures built from it tile without seams under repeat wrapping.
double tiledNoise(double x, double y, int period, std::uint32_t seed);

// Sum of `octaves` layers of tiledNoise, each of twice the frequency and half the weight of the
// one before; u and v in [0, 1) over one tile, basePeriod lattice cells across it. Result in [0, 1].
double tiledFractal(double u, double v, int basePeriod, int octaves, std::uint32_t seed);

// A small fast generator for the noise of the sound.
class Xorshift {
  public:
    explicit Xorshift(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9e3779b9u) {}
    std::uint32_t next();
    // Uniform in [-1, 1).
    double nextSigned();

  private:
    std::uint32_t state_;
};
