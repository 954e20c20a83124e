// Timing marks for the benchmark scripts (BRIKKA_TRACE=1).
#include "platform/sdl/sdl_trace.h"

#include <time.h>

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

bool Tracing() {
  static const bool on = [] {
    const char* v = SDL_getenv("BRIKKA_TRACE");
    return v && std::strcmp(v, "1") == 0;
  }();
  return on;
}

}  // namespace

void TraceRenderer(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (!Tracing() || SDL_GetRendererInfo(renderer, &info) != 0) return;
  std::fprintf(stderr, "brikka-trace: renderer %s\n", info.name);
}

void TraceFramePresented() {
  static bool reported = false;
  if (reported || !Tracing()) return;
  reported = true;
  timespec now{}, cpu{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  std::fprintf(stderr, "brikka-trace: first frame presented at %lld ns after %lld ns of CPU\n",
               static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
               static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
}

}  // namespace platform
