// The tune's form and melody. Sections: intro, theme, theme answered, chorus, bridge, theme with
// a harmony voice, turnaround. Melody bars are written as NOTE/EIGHTHS tokens ("E5/1", "r/2").
#include "tune.h"

#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "tune_parts.h"

namespace assets {

namespace {

using tune::Style;

struct Section {
  Style style;
  std::vector<std::string> chords;
  std::vector<std::string> melody;  // one string per bar; empty: no melody
};

const std::vector<std::string> kThemeStart = {
    "E5/1 G5/1 r/1 G5/1 A5/1 G5/1 E5/2", "C5/1 E5/1 r/1 E5/1 D5/1 C5/1 A4/2",
    "A4/1 C5/1 F5/2 E5/1 F5/1 A5/2", "G5/3 F5/1 E5/1 D5/1 B4/2"};
const std::vector<std::string> kThemeAnswer = {"A5/1 C6/1 r/1 A5/1 G5/1 F5/1 C5/2",
                                               "D5/1 G5/1 r/1 G5/1 B5/1 A5/1 G5/2",
                                               "E5/2 G5/1 E5/1 D5/1 C5/1 D5/2"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Section> Form() {
  const std::vector<std::string> theme =
      Join(kThemeStart, {"E5/1 G5/1 r/1 G5/1 A5/1 G5/1 C6/2", "B5/1 A5/1 r/1 E5/1 A5/1 G5/1 E5/2",
                         "F5/1 E5/1 D5/1 F5/1 A5/2 G5/1 F5/1", "D5/1 E5/1 F5/1 G5/1 B5/2 r/2"});
  const std::vector<std::string> answer =
      Join(Join(kThemeStart, kThemeAnswer), {"C5/4 r/2 G4/1 A4/1"});
  const std::vector<std::string> finale =
      Join(Join(kThemeStart, kThemeAnswer), {"C5/2 E5/1 G5/1 C6/2 r/2"});
  return {
      {Style::kIntro, {"C", "Am", "F", "G"}, {}},
      {Style::kVerse, {"C", "Am", "F", "G", "C", "Am", "Dm", "G"}, theme},
      {Style::kVerse, {"C", "Am", "F", "G", "F", "G", "C", "C"}, answer},
      {Style::kChorus,
       {"Am", "F", "C", "G", "Am", "F", "D", "G"},
       {"A5/3 B5/1 C6/2 B5/1 A5/1", "A5/2 F5/2 r/1 F5/1 G5/1 A5/1", "G5/3 E5/1 C5/2 E5/1 G5/1",
        "D6/3 C6/1 B5/4", "A5/1 C6/1 E6/2 D6/1 C6/1 B5/1 A5/1", "C6/2 A5/2 F5/2 A5/1 C6/1",
        "D6/2 F#5/1 A5/1 D6/2 C6/1 A5/1", "B5/2 G5/1 A5/1 B5/1 D6/1 r/2"}},
      {Style::kBridge,
       {"F", "G", "Em", "Am", "Dm", "Em", "F", "G"},
       {"F5/2 A5/2 C6/3 r/1", "B5/1 A5/1 G5/2 D5/4", "E5/2 G5/2 B5/3 r/1", "C6/1 B5/1 A5/2 E5/4",
        "F5/2 A5/2 D6/2 C6/1 A5/1", "B5/2 G5/2 E5/2 G5/1 B5/1", "C6/2 B5/1 A5/1 G5/2 A5/2",
        "B5/2 D6/2 G6/2 r/2"}},
      {Style::kFinale, {"C", "Am", "F", "G", "F", "G", "C", "C"}, finale},
      {Style::kTurn,
       {"F", "G", "Am", "G"},
       {"r/4 C6/1 A5/1 F5/1 A5/1", "G5/1 B5/1 D6/2 r/4", "r/4 E6/1 C6/1 A5/1 C6/1", "B5/2 r/6"}},
  };
}

struct Note {
  int key;  // -1 for a rest
  int eighths;
};

int ParsePitch(const std::string& text) {
  static const std::string kLetters = "CDEFGAB";
  static const int kPitch[] = {0, 2, 4, 5, 7, 9, 11};
  const size_t letter = kLetters.find(text.empty() ? '?' : text[0]);
  size_t i = 1;
  if (letter == std::string::npos || text.size() < 2)
    throw std::invalid_argument("bad note " + text);
  int pitch = kPitch[letter];
  if (text[i] == '#' || text[i] == 'b') pitch += text[i++] == '#' ? 1 : -1;
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
    throw std::invalid_argument("bad note " + text);
  }
  return 12 * (std::stoi(text.substr(i)) + 1) + pitch;
}

// One bar of melody; its lengths must fill the bar exactly.
std::vector<Note> ParseBar(const std::string& bar) {
  std::vector<Note> notes;
  int total = 0;
  size_t pos = 0;
  while (pos < bar.size()) {
    const size_t end = std::min(bar.find(' ', pos), bar.size());
    const std::string token = bar.substr(pos, end - pos);
    pos = end + 1;
    if (token.empty()) continue;
    const size_t slash = token.find('/');
    if (slash == std::string::npos) throw std::invalid_argument("bad token " + token);
    const int eighths = std::stoi(token.substr(slash + 1));
    const std::string pitch = token.substr(0, slash);
    notes.push_back({pitch == "r" ? -1 : ParsePitch(pitch), eighths});
    total += eighths;
  }
  if (total != 8) throw std::invalid_argument("melody bar is not 8 eighths: " + bar);
  return notes;
}

// A third below in C major, for the harmony voice of the last theme.
int ThirdBelow(int key) {
  static const int kScale[] = {0, 2, 4, 5, 7, 9, 11};
  for (int d = 0; d < 7; ++d) {
    if (key % 12 != kScale[d]) continue;
    const int below = d - 2 < 0 ? d + 5 : d - 2;
    const int octave_drop = d - 2 < 0 ? 12 : 0;
    return key - key % 12 + kScale[below] - octave_drop;
  }
  return key - 3;
}

void AddMelodyBar(MidiTrack& lead, MidiTrack& harmony, const std::string& text, uint32_t start,
                  bool harmonise) {
  uint32_t at = start;
  for (const Note& n : ParseBar(text)) {
    const uint32_t length = n.eighths * tune::kEighth;
    if (n.key >= 0) {
      const uint32_t position = (at - start) / tune::kEighth;
      const int velocity = position % 4 == 0 ? 104 : position % 2 == 0 ? 96 : 88;
      const uint32_t gate = n.eighths == 1 ? length * 8 / 10 : length - 24;
      lead.Note(at, gate, tune::kLeadChannel, n.key, velocity);
      if (harmonise)
        harmony.Note(at, gate, tune::kHarmonyChannel, ThirdBelow(n.key), velocity - 34);
    }
    at += length;
  }
}

MidiTrack Instrument(const std::string& name, int channel, int program, int volume, int pan) {
  MidiTrack track(name);
  if (channel != tune::kDrumChannel) track.Program(0, channel, program);
  track.Control(0, channel, 7, volume);
  track.Control(0, channel, 10, pan);
  track.Control(0, channel, 91, 40);  // a little reverb
  return track;
}

}  // namespace

Tune ComposeTune() {
  MidiTrack conductor("Brikka theme");
  conductor.TimeSignature(0, 4, 2);
  conductor.Tempo(0, 150);
  MidiTrack lead = Instrument("Lead", tune::kLeadChannel, 80, 96, 64);
  MidiTrack bass = Instrument("Bass", tune::kBassChannel, 38, 110, 64);
  MidiTrack keys = Instrument("Keys", tune::kKeysChannel, 4, 84, 44);
  MidiTrack pad = Instrument("Pad", tune::kPadChannel, 89, 76, 84);
  MidiTrack harmony = Instrument("Harmony", tune::kHarmonyChannel, 81, 70, 80);
  MidiTrack drums = Instrument("Drums", tune::kDrumChannel, 0, 100, 64);
  uint32_t at = 0;
  for (const Section& section : Form()) {
    for (size_t i = 0; i < section.chords.size(); ++i, at += tune::kBar) {
      const tune::Bar bar{at, tune::ParseChord(section.chords[i]), section.style, i == 0,
                          i + 1 == section.chords.size()};
      tune::AddBass(bass, bar);
      tune::AddArpeggio(keys, bar);
      tune::AddPad(pad, bar);
      tune::AddDrums(drums, bar);
      if (!section.melody.empty()) {
        AddMelodyBar(lead, harmony, section.melody.at(i), at, section.style == Style::kFinale);
      }
    }
  }
  return {tune::kTicksPerQuarter, at, {conductor, lead, bass, keys, pad, harmony, drums}};
}

void WriteTune(const std::filesystem::path& path) {
  const Tune tune = ComposeTune();
  WriteMidi(path, tune.ticks_per_quarter, tune.tracks, tune.end_tick);
}

}  // namespace assets
