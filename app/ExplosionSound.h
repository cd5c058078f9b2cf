#pragma once

#include <cstdint>

// The collision sound on SDL audio: "Data/Explode.wav" loaded once and played on its own
// device. Each request restarts it from the beginning and returns at once. Without the file
// or a device there is no sound, said once on stderr.
class ExplosionSound {
  public:
    ExplosionSound() = default;
    ~ExplosionSound();
    ExplosionSound(const ExplosionSound&) = delete;
    ExplosionSound& operator=(const ExplosionSound&) = delete;

    // Loads the file, opens the device and installs the player for the simulation's requests.
    // 1 when the sound can be played.
    int open(const char* fileName);
    // Removes the player and releases the device and the samples.
    void close();
    void play();

  private:
    std::uint8_t* samples_ = nullptr;
    std::uint32_t length_ = 0;
    std::uint32_t device_ = 0;
    bool audioStarted_ = false;
};
