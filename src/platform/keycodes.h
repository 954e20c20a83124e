// Key codes as the game tests them: virtual-key codes for key-down events and
// DirectInput codes for the polled keyboard state.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Escape = 27, Space = 32;
constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Key0 = 48;  // '0'..'9' are 48..57
constexpr int KeyA = 65;  // 'A'..'Z' are 65..90
constexpr int F1 = 112;   // F1..F12 are 112..123
}  // namespace vk

namespace dik {
constexpr uint8_t Escape = 0x01, Return = 0x1C, Space = 0x39, Back = 0x0E;
constexpr uint8_t W = 0x11, T = 0x14, P = 0x19, A = 0x1E, S = 0x1F, D = 0x20;
constexpr uint8_t Up = 0xC8, Left = 0xCB, Right = 0xCD, Down = 0xD0;
}  // namespace dik

// Names used by scripts: "UP", "ESC", "F1", "A", "7", "ENTER", "BACKSPACE", "SPACE" ...
// Return -1 for a name that is not known.
int VirtualKeyByName(const std::string& name);
int DirectInputCodeByName(const std::string& name);
// The virtual-key code a typed character produces (letters give their capital's code).
int VirtualKeyForChar(char c);

}  // namespace platform
