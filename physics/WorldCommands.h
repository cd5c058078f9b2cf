#pragma once

#include <cstdint>

#include "physics/World.h"

// The key commands as they reach the world, one bit each, numbered in the order they are applied:
// the camera dolly, the turn, the keypad, F3, F2. F1 rebuilds the window and is kept only so that
// a recording shows it.
using CommandSet = std::uint32_t;
namespace command {
constexpr CommandSet forward = 1u << 0;        // Up: camera position + (0, 0, -10)
constexpr CommandSet back = 1u << 1;           // Down: camera position + (0, 0, +10)
constexpr CommandSet turnLeft = 1u << 2;       // view angle + 2
constexpr CommandSet turnRight = 1u << 3;      // view angle - 2
constexpr CommandSet faster = 1u << 4;         // keypad plus: time step + 0.1
constexpr CommandSet slower = 1u << 5;         // keypad minus: time step - 0.1
constexpr CommandSet soundSwitch = 1u << 6;    // F3
constexpr CommandSet cameraSwitch = 1u << 7;   // F2: other camera mode, view angle 0
constexpr CommandSet displaySwitch = 1u << 8;  // F1: nothing in the world
constexpr int count = 9;
}  // namespace command

// The key's name for command bit i (0 <= i < command::count): "Up", "Down", "Left", "Right",
// "KP+", "KP-", "F3", "F2", "F1".
const char* commandName(int index);

// One pass's commands, in the order above. Called by the program's key commands and by the tools
// that replay a recording, so that both change the world alike.
void applyWorldCommands(World& world, CommandSet commands);
