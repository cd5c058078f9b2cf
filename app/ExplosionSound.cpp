#include "app/ExplosionSound.h"

#include <SDL2/SDL.h>

#include <cstdio>

#include "app/QuietStderr.h"
#include "physics/Sound.h"

namespace {

void playRequested(void* context) {
    static_cast<ExplosionSound*>(context)->play();
}

}  // namespace

ExplosionSound::~ExplosionSound() {
    close();
}

int ExplosionSound::open(const char* fileName) {
    int started = 0;
    {
        const QuietStderr quiet;
        started = SDL_InitSubSystem(SDL_INIT_AUDIO);
    }
    if (started != 0) {
        std::fprintf(stderr, "No sound: no audio device (%s)\n", SDL_GetError());
        return 0;
    }
    audioStarted_ = true;

    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(fileName, &format, &samples, &length) == nullptr) {
        std::fprintf(stderr, "No sound: %s cannot be read (%s)\n", fileName, SDL_GetError());
        close();
        return 0;
    }
    samples_ = samples;
    length_ = length;

    // The file's own format, so that no conversion stands between a request and the sound;
    // short buffers so that it starts without a noticeable delay.
    format.samples = 512;
    format.callback = nullptr;
    {
        const QuietStderr quiet;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
    }
    if (device_ == 0) {
        std::fprintf(stderr, "No sound: no audio device (%s)\n", SDL_GetError());
        close();
        return 0;
    }
    SDL_PauseAudioDevice(device_, 0);
    setSoundPlayer(playRequested, this);
    return 1;
}

void ExplosionSound::close() {
    setSoundPlayer(nullptr, nullptr);
    const QuietStderr quiet;
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (samples_ != nullptr) {
        SDL_FreeWAV(samples_);
        samples_ = nullptr;
        length_ = 0;
    }
    if (audioStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioStarted_ = false;
    }
}

void ExplosionSound::play() {
    if (device_ == 0) {
        return;
    }
    // Starting it again while it plays restarts it.
    SDL_ClearQueuedAudio(device_);
    SDL_QueueAudio(device_, samples_, length_);
}
