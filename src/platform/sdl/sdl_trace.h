// Timing marks for the benchmark scripts, written to standard error only when the
// environment asks for them with BRIKKA_TRACE=1. Internal to platform/.
#pragma once

#include <SDL.h>

namespace platform {

// The renderer the game draws with ("brikka-trace: renderer software").
void TraceRenderer(SDL_Renderer* renderer);
// The first frame that reaches the screen, on CLOCK_MONOTONIC in nanoseconds, with the CPU
// time the process has used until then; later frames are not reported.
void TraceFramePresented();

}  // namespace platform
