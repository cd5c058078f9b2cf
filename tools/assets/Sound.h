#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The collision sound: a noise burst with a fast attack and a decay, mono samples.
std::vector<std::int16_t> makeExplosionSound(int sampleRate);

// 16-bit PCM mono WAV. Returns false when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate);
