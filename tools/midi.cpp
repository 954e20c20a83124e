// SMF encoding: MThd, then one MTrk per track with variable-length delta times.
#include "midi.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace assets {

namespace {

void PutVarLen(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (n-- > 0) out.push_back(static_cast<uint8_t>(bytes[n] | (n > 0 ? 0x80 : 0)));
}

void PutBe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

uint8_t Data7(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 127));
}

}  // namespace

MidiTrack::MidiTrack(const std::string& name) {
  std::vector<uint8_t> meta = {0xFF, 0x03};
  PutVarLen(meta, static_cast<uint32_t>(name.size()));
  meta.insert(meta.end(), name.begin(), name.end());
  Add(0, 1, std::move(meta));
}

void MidiTrack::Add(uint32_t tick, int order, std::vector<uint8_t> bytes) {
  events_.push_back({tick, order, static_cast<uint32_t>(events_.size()), std::move(bytes)});
}

void MidiTrack::Tempo(uint32_t tick, double bpm) {
  const auto micros = static_cast<uint32_t>(std::lround(60000000.0 / bpm));
  std::vector<uint8_t> meta = {0xFF, 0x51, 0x03};
  PutBe(meta, micros, 3);
  Add(tick, 1, std::move(meta));
}

void MidiTrack::TimeSignature(uint32_t tick, int numerator, int denominator_power) {
  Add(tick, 1, {0xFF, 0x58, 0x04, Data7(numerator), Data7(denominator_power), 24, 8});
}

void MidiTrack::Program(uint32_t tick, int channel, int program) {
  Add(tick, 1, {static_cast<uint8_t>(0xC0 | (channel & 0x0F)), Data7(program)});
}

void MidiTrack::Control(uint32_t tick, int channel, int controller, int value) {
  Add(tick, 1, {static_cast<uint8_t>(0xB0 | (channel & 0x0F)), Data7(controller), Data7(value)});
}

void MidiTrack::Note(uint32_t tick, uint32_t length, int channel, int key, int velocity) {
  const uint8_t ch = static_cast<uint8_t>(channel & 0x0F);
  Add(tick, 2, {static_cast<uint8_t>(0x90 | ch), Data7(key), Data7(std::max(1, velocity))});
  Add(tick + std::max<uint32_t>(1, length), 0, {static_cast<uint8_t>(0x80 | ch), Data7(key), 0});
}

std::vector<uint8_t> MidiTrack::Encode(uint32_t end_tick) const {
  std::vector<Event> sorted = events_;
  std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.order != b.order) return a.order < b.order;
    return a.sequence < b.sequence;
  });
  std::vector<uint8_t> out;
  uint32_t now = 0;
  for (const Event& e : sorted) {
    if (e.tick > end_tick) throw std::runtime_error("MIDI event after the end of the tune");
    PutVarLen(out, e.tick - now);
    now = e.tick;
    out.insert(out.end(), e.bytes.begin(), e.bytes.end());
  }
  PutVarLen(out, end_tick - now);
  out.insert(out.end(), {0xFF, 0x2F, 0x00});
  return out;
}

void WriteMidi(const std::filesystem::path& path, int ticks_per_quarter,
               const std::vector<MidiTrack>& tracks, uint32_t end_tick) {
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
  PutBe(file, 6, 4);
  PutBe(file, 1, 2);  // format 1: simultaneous tracks
  PutBe(file, static_cast<uint32_t>(tracks.size()), 2);
  PutBe(file, static_cast<uint32_t>(ticks_per_quarter), 2);
  for (const MidiTrack& track : tracks) {
    const std::vector<uint8_t> body = track.Encode(end_tick);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBe(file, static_cast<uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace assets
