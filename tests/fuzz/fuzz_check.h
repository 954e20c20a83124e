// What the fuzz targets share: the check that stops a run on a broken promise, the target
// functions (so the unit tests replay every committed input through the same checks), and
// the libFuzzer entry point that each fuzz_NAME.cpp declares with FUZZ_ENTRY.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

void Reply(std::string_view input);
void Listing(std::string_view input);
void Ini(std::string_view input);
void Script(std::string_view input);
void Highscores(std::string_view input);
void Tape(std::string_view input);

// Aborting is what both libFuzzer (a crash to keep) and CTest (a failed test) notice.
[[noreturn]] inline void Failed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
  std::abort();
}

}  // namespace fuzz

#define FUZZ_CHECK(cond) ((cond) ? static_cast<void>(0) : ::fuzz::Failed(#cond, __FILE__, __LINE__))

#ifdef BRIKKA_FUZZER
#define FUZZ_ENTRY(target)                                                  \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
    target(std::string_view(reinterpret_cast<const char*>(data), size));    \
    return 0;                                                               \
  }
#else
#define FUZZ_ENTRY(target)
#endif
