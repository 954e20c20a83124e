// SDL's keys in the codes the game tests: scancodes as DirectInput codes (the polled
// keyboard state) and key symbols as Windows virtual-key codes (key-down events).
// Internal to platform/.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform {

// The DirectInput code of a physical key; 0 for a key DirectInput has no code for.
uint8_t DirectInputCodeForScancode(SDL_Scancode scancode);

// The virtual-key code of a key symbol; 0 for a key without one. Letters and digits of a
// layout whose symbols are not Latin fall back to the key's position.
int VirtualKeyForSdlKey(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace platform
