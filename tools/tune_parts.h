// The tune's accompaniment, written bar by bar: bass, electric-piano arpeggio, pad chords and
// drums, each shaped by the style of the section the bar belongs to.
#pragma once

#include <cstdint>
#include <string>

#include "midi.h"

namespace assets::tune {

inline constexpr int kTicksPerQuarter = 480;
inline constexpr uint32_t kEighth = 240;
inline constexpr uint32_t kBar = 8 * kEighth;

// General MIDI channels (0-based: 9 is the drum channel 10).
inline constexpr int kLeadChannel = 0;
inline constexpr int kBassChannel = 1;
inline constexpr int kKeysChannel = 2;
inline constexpr int kPadChannel = 3;
inline constexpr int kHarmonyChannel = 4;
inline constexpr int kDrumChannel = 9;

enum class Style { kIntro, kVerse, kChorus, kBridge, kFinale, kTurn };

struct Chord {
  int root = 0;  // pitch class, C = 0
  bool minor = false;
};

// "C", "Am", "F#", "Bb" ...; throws std::invalid_argument on anything else.
Chord ParseChord(const std::string& name);

struct Bar {
  uint32_t start;
  Chord chord;
  Style style;
  bool section_start;
  bool section_end;
};

void AddBass(MidiTrack& track, const Bar& bar);
void AddArpeggio(MidiTrack& track, const Bar& bar);
void AddPad(MidiTrack& track, const Bar& bar);
void AddDrums(MidiTrack& track, const Bar& bar);

}  // namespace assets::tune
