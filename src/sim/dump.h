// The state dump: one JSON line with the game's visible state and what the machine showed
// of it. The simulator prints it; a recording ends with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/frm_main.h"
#include "platform/recording/tape.h"

namespace platform {
class HeadlessPlatform;
}

namespace brikka::sim {

// What the machine showed: the time, the effects heard and the boxes shown since the last
// dump, the tune, the last presented frame's texts, the device's text statistics and the
// resources held (left out of recordings), the exchange window's captions.
struct MachineState {
  int64_t time = 0;
  std::vector<std::string> sounds;
  int music_state = 0;
  std::string music_file;  // below the application folder
  int music_starts = 0;
  const std::vector<platform::DrawnText>* texts = nullptr;
  std::optional<platform::TextStats> text_stats;
  // The files, textures and fonts the process holds (left out of recordings).
  std::optional<platform::HeldResources> resources;
  std::vector<platform::RecordedMessage> messages;
  // What the highscore exchange's window said; a recording starts after the exchange.
  std::vector<std::string> captions;
};

// Takes the sounds and the messages it reports.
MachineState HeadlessMachine(platform::HeadlessPlatform& plat, const platform::Device* device);

// How many of a witness's sounds and boxes earlier dumps reported.
struct Reported {
  size_t sounds = 0, messages = 0;
};
// The sounds and boxes since `since` (brought up to date), or since the start.
MachineState WitnessedMachine(const platform::Witness& w, const std::string& app_dir,
                              Reported* since = nullptr);

std::string DumpState(const frmMain& g, const MachineState& m);

}  // namespace brikka::sim
