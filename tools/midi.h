// Standard MIDI File writer: tracks of timed events encoded as a format-1 file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assets {

class MidiTrack {
 public:
  explicit MidiTrack(const std::string& name);

  void Tempo(uint32_t tick, double beats_per_minute);
  void TimeSignature(uint32_t tick, int numerator, int denominator_power);
  void Program(uint32_t tick, int channel, int program);
  void Control(uint32_t tick, int channel, int controller, int value);
  // A note from `tick` lasting `length` ticks.
  void Note(uint32_t tick, uint32_t length, int channel, int key, int velocity);

  // The track chunk's body: events in time order (at one tick, note-offs before anything else
  // and note-ons last) with delta times, closed by End of Track at `end_tick`.
  std::vector<uint8_t> Encode(uint32_t end_tick) const;

 private:
  struct Event {
    uint32_t tick;
    int order;  // 0 note-off, 1 meta and controls, 2 note-on
    uint32_t sequence;
    std::vector<uint8_t> bytes;
  };
  void Add(uint32_t tick, int order, std::vector<uint8_t> bytes);
  std::vector<Event> events_;
};

// Writes a format-1 file; every track ends at `end_tick`, so the tune loops cleanly.
void WriteMidi(const std::filesystem::path& path, int ticks_per_quarter,
               const std::vector<MidiTrack>& tracks, uint32_t end_tick);

}  // namespace assets
