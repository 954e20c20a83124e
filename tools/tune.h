// The background tune: an original upbeat piece in C major, 48 bars at 150 beats per minute
// (about 77 seconds), ending on the dominant so it runs straight back into its intro.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "midi.h"

namespace assets {

struct Tune {
  int ticks_per_quarter;
  uint32_t end_tick;
  std::vector<MidiTrack> tracks;
};

Tune ComposeTune();

// bck.mid in the application folder.
void WriteTune(const std::filesystem::path& path);

}  // namespace assets
