#pragma once

// Key codes of the KeyTable: the Win32 virtual-key numbering, whatever the window layer.
// Letters and digits are their upper-case ASCII codes.
namespace keys {
constexpr int escape = 0x1B;
constexpr int left = 0x25;
constexpr int up = 0x26;
constexpr int right = 0x27;
constexpr int down = 0x28;
constexpr int keypadPlus = 0x6B;
constexpr int keypadMinus = 0x6D;
constexpr int f1 = 0x70;
constexpr int f2 = 0x71;
constexpr int f3 = 0x72;
// Table size; a window layer's codes at or above it never reach the table.
constexpr int count = 256;
}  // namespace keys
