// Accompaniment patterns of the tune. Patterns are written on an eighth or sixteenth grid;
// the chord of the bar decides the pitches.
#include "tune_parts.h"

#include <array>
#include <stdexcept>
#include <vector>

namespace assets::tune {

namespace {

constexpr uint32_t kSixteenth = kEighth / 2;

int Third(const Chord& c) {
  return c.minor ? 3 : 4;
}

// The chord's root placed so the bass stays between F1 and E2.
int BassRoot(const Chord& c) {
  return c.root <= 4 ? 36 + c.root : 24 + c.root;
}

// Root, third, fifth and octave, starting between A3 and G4.
std::array<int, 4> ArpTones(const Chord& c) {
  const int root = c.root <= 7 ? 60 + c.root : 48 + c.root;
  return {root, root + Third(c), root + 7, root + 12};
}

struct DrumLine {
  int key;
  std::string steps;  // 16 sixteenths: X accent, x normal, o ghost, . rest
  float gain;
};

enum Drum {
  kKick = 36,
  kSnare = 38,
  kClap = 39,
  kClosedHat = 42,
  kOpenHat = 46,
  kCrash = 49,
  kRide = 51,
  kTambourine = 54,
  kLowTom = 45,
  kMidTom = 47,
  kHighTom = 50
};

std::vector<DrumLine> Groove(Style style) {
  switch (style) {
    case Style::kIntro:
      return {{kKick, "x...x...x...x...", 1}, {kClosedHat, "..x...x...x...x.", 0.7f}};
    case Style::kBridge:
      return {{kKick, "x.......x.x.....", 1},
              {kSnare, "........x.......", 0.9f},
              {kRide, "x.x.x.x.x.x.x.x.", 0.6f}};
    case Style::kChorus:
    case Style::kFinale: {
      std::vector<DrumLine> lines = {{kKick, "x...x...x...x...", 1},
                                     {kSnare, "....x.......x...", 0.95f},
                                     {kClap, "....x.......x...", 0.6f},
                                     {kOpenHat, "..x...x...x...x.", 0.65f},
                                     {kClosedHat, "x...x...x...x...", 0.6f}};
      if (style == Style::kFinale) lines.push_back({kTambourine, "oxoxoxoxoxoxoxox", 0.6f});
      return lines;
    }
    case Style::kVerse:
    case Style::kTurn:
      break;
  }
  return {{kKick, "x.....x.x.....x.", 1},
          {kSnare, "....x.......x...", 0.95f},
          {kClosedHat, "X.x.X.x.X.x.X.x.", 0.65f}};
}

// The last beat of a section rolls into the next; the tune's last bar ends on a tom run.
void AddFill(std::vector<DrumLine>& lines, bool big) {
  const int from = big ? 8 : 12;
  for (DrumLine& line : lines) {
    if (line.key != kKick) line.steps.replace(from, 16 - from, 16 - from, '.');
  }
  if (big) {
    lines.push_back({kHighTom, "........xx......", 0.9f});
    lines.push_back({kMidTom, "..........xx....", 0.95f});
    lines.push_back({kLowTom, "............xx..", 1});
    lines.push_back({kSnare, "..............xX", 1});
  } else {
    lines.push_back({kSnare, "............oxxX", 0.9f});
  }
}

int StepVelocity(char step, float gain) {
  const int base = step == 'X' ? 118 : step == 'x' ? 98 : step == 'o' ? 58 : 0;
  return static_cast<int>(base * gain);
}

}  // namespace

Chord ParseChord(const std::string& name) {
  static const std::string kLetters = "CDEFGAB";
  static const int kPitch[] = {0, 2, 4, 5, 7, 9, 11};
  const size_t letter = name.empty() ? std::string::npos : kLetters.find(name[0]);
  if (letter == std::string::npos) throw std::invalid_argument("bad chord " + name);
  Chord chord{kPitch[letter], false};
  size_t i = 1;
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) {
    chord.root = (chord.root + (name[i] == '#' ? 1 : 11)) % 12;
    ++i;
  }
  if (i < name.size() && name[i] == 'm') chord.minor = true, ++i;
  if (i != name.size()) throw std::invalid_argument("bad chord " + name);
  return chord;
}

void AddBass(MidiTrack& track, const Bar& bar) {
  struct Step {
    int offset;   // semitones above the root
    int eighths;  // length
  };
  std::vector<Step> steps;
  switch (bar.style) {
    case Style::kIntro:
      steps = {{0, 2}, {0, 2}, {0, 2}, {7, 2}};
      break;
    case Style::kBridge:
      steps = {{0, 3}, {0, 1}, {7, 4}};
      break;
    case Style::kChorus:
    case Style::kFinale:
      steps = {{0, 1}, {12, 1}, {0, 1}, {12, 1}, {0, 1}, {12, 1}, {0, 1}, {12, 1}};
      break;
    case Style::kVerse:
    case Style::kTurn:
      steps = {{0, 1}, {0, 1}, {12, 1}, {0, 1}, {7, 1}, {0, 1}, {12, 1}, {7, 1}};
      break;
  }
  uint32_t at = bar.start;
  for (const Step& s : steps) {
    const bool on_beat = (at - bar.start) % (2 * kEighth) == 0;
    const uint32_t length = s.eighths * kEighth * (s.eighths > 1 ? 9 : 7) / 10;
    track.Note(at, length, kBassChannel, BassRoot(bar.chord) + s.offset,
               (on_beat ? 102 : 86) - (bar.style == Style::kBridge ? 14 : 0));
    at += s.eighths * kEighth;
  }
}

void AddArpeggio(MidiTrack& track, const Bar& bar) {
  const std::array<int, 4> tones = ArpTones(bar.chord);
  if (bar.style == Style::kChorus || bar.style == Style::kFinale) {
    static const int kRun[16] = {0, 1, 2, 3, 2, 1, 2, 3, 0, 1, 2, 3, 3, 2, 1, 2};
    for (int i = 0; i < 16; ++i) {
      track.Note(bar.start + i * kSixteenth, kSixteenth - 20, kKeysChannel, tones[kRun[i]] + 12,
                 i % 4 == 0 ? 70 : 54);
    }
    return;
  }
  static const int kVerse[8] = {0, 1, 2, 3, 2, 1, 2, 3};
  static const int kBridge[8] = {3, 2, 1, 0, 1, 2, 3, 2};
  static const int kIntro[8] = {0, 2, 1, 2, 3, 2, 1, 2};
  const int* pattern = bar.style == Style::kBridge  ? kBridge
                       : bar.style == Style::kIntro ? kIntro
                                                    : kVerse;
  const int velocity = bar.style == Style::kBridge ? 50 : 62;
  for (int i = 0; i < 8; ++i) {
    track.Note(bar.start + i * kEighth, kEighth - 30, kKeysChannel, tones[pattern[i]],
               velocity + (i % 2 == 0 ? 10 : 0));
  }
}

void AddPad(MidiTrack& track, const Bar& bar) {
  if (bar.style == Style::kVerse) return;  // the verse stays light; the pad lifts the rest
  const int velocity = bar.style == Style::kIntro ? 40 : 50;
  for (int interval : {0, Third(bar.chord), 7}) {
    int note = bar.chord.root + interval + 48;
    while (note < 53) note += 12;
    while (note > 64) note -= 12;
    track.Note(bar.start, kBar - 20, kPadChannel, note, velocity);
  }
}

void AddDrums(MidiTrack& track, const Bar& bar) {
  std::vector<DrumLine> lines = Groove(bar.style);
  if (bar.section_end) AddFill(lines, bar.style == Style::kTurn);
  if (bar.section_start) lines.push_back({kCrash, "X...............", 0.85f});
  for (const DrumLine& line : lines) {
    for (int i = 0; i < 16; ++i) {
      const int velocity = StepVelocity(line.steps[static_cast<size_t>(i)], line.gain);
      if (velocity > 0)
        track.Note(bar.start + i * kSixteenth, kSixteenth / 2, kDrumChannel, line.key, velocity);
    }
  }
}

}  // namespace assets::tune
