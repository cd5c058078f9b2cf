#include "tools/assets/Sound.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "tools/assets/Noise.h"

std::vector<std::int16_t> makeExplosionSound(int sampleRate) {
    const double duration = 0.8;
    const int count = static_cast<int>(duration * sampleRate);
    std::vector<double> mix(static_cast<std::size_t>(count));
    Xorshift random(20261206u);

    double low = 0.0;   // low-passed noise: the body of the blast
    double band = 0.0;  // second pole, for a darker tail
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double attack = std::min(1.0, t / 0.004);
        const double decay = std::exp(-t / 0.16);
        // The filter closes as the blast dies away, so the crack turns into a rumble.
        const double cutoff = 0.05 + 0.5 * std::exp(-t / 0.05);
        const double white = random.nextSigned();
        low += cutoff * (white - low);
        band += 0.5 * cutoff * (low - band);
        // A thump whose pitch falls from about 110 Hz to 45 Hz.
        const double frequency = 45.0 + 65.0 * std::exp(-t / 0.08);
        phase += 6.283185307179586 * frequency / sampleRate;
        const double thump = std::sin(phase) * std::exp(-t / 0.22);
        const double crack = white * std::exp(-t / 0.012);
        mix[static_cast<std::size_t>(i)] =
            attack * (decay * (1.6 * low + 1.2 * band) + 0.6 * thump + 0.25 * crack);
    }

    double peak = 0.0;
    for (double s : mix) {
        peak = std::max(peak, std::fabs(s));
    }
    const double gain = peak > 0.0 ? 0.9 / peak : 0.0;
    std::vector<std::int16_t> samples(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        // A short fade at the end avoids a click.
        const double fade = std::min(1.0, static_cast<double>(mix.size() - i) / (0.01 * sampleRate));
        samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * gain * fade * 32767.0));
    }
    return samples;
}

namespace {

void put16(std::ofstream& out, std::uint32_t v) {
    const char bytes[2] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, v & 0xffffu);
    put16(out, v >> 16);
}

}  // namespace

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVE", 4);
    out.write("fmt ", 4);
    put32(out, 16);  // format chunk size
    put16(out, 1);   // PCM
    put16(out, 1);   // mono
    put32(out, static_cast<std::uint32_t>(sampleRate));
    put32(out, static_cast<std::uint32_t>(sampleRate) * 2);  // bytes per second
    put16(out, 2);                                           // bytes per frame
    put16(out, 16);                                          // bits per sample
    out.write("data", 4);
    put32(out, dataBytes);
    for (std::int16_t s : samples) {
        put16(out, static_cast<std::uint16_t>(s));
    }
    return static_cast<bool>(out);
}
