#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <csignal>

#include "app/SdlKeys.h"
#include "app/SignalsEndProgram.h"

namespace {

// The window layer's keys reach the table under the key codes the commands read (the usual
// virtual-key numbers; the main row's + = and - as the keypad's); keys without a command stay out.
TEST(WindowTest, SdlKeysGiveTheirVirtualKeyCodes) {
    const struct {
        SDL_Keycode key;
        int code;
    } cases[] = {
        {SDLK_ESCAPE, 0x1B}, {SDLK_LEFT, 0x25},    {SDLK_UP, 0x26},       {SDLK_RIGHT, 0x27},
        {SDLK_DOWN, 0x28},   {SDLK_KP_PLUS, 0x6B}, {SDLK_KP_MINUS, 0x6D}, {SDLK_F1, 0x70},
        {SDLK_F2, 0x71},     {SDLK_F3, 0x72},      {SDLK_a, 'A'},         {SDLK_9, '9'},
        {SDLK_PLUS, 0x6B},   {SDLK_EQUALS, 0x6B},  {SDLK_MINUS, 0x6D},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keyCodeForSdlKey(c.key, 0), c.code) << SDL_GetKeyName(c.key);
    }
    EXPECT_GE(keyCodeForSdlKey(SDLK_SLASH, SDL_SCANCODE_SLASH), 256);
}

#ifndef _WIN32
// Before a window a signal ends the program at once with 0; with one, it waits for the frame loop
// as a close, and a box that opens before the loop took it ends the program with the box's status.
TEST(WindowTest, SignalsEndOrClose) {
    EXPECT_EXIT((catchSignals(), std::raise(SIGTERM), std::exit(7)), testing::ExitedWithCode(0), "");
    const auto boxAfterSignal = [](bool take) {
        catchSignals();
        signalsWindowOpened();
        std::raise(SIGINT);
        if (take && signalAskedClose() && !signalAskedClose()) {
            std::exit(3);
        }
        const SignalsEndProgram box(1);
        std::exit(7);
    };
    EXPECT_EXIT(boxAfterSignal(false), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(boxAfterSignal(true), testing::ExitedWithCode(3), "");
}
#endif

}  // namespace
