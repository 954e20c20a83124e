// Replaying a recording in the simulator.
#include "sim/replay.h"

#include "platform/headless/headless.h"
#include "platform/numbers.h"
#include "sim/dump.h"
#include "sim/json.h"

namespace brikka::sim {

using platform::ReplayError;

namespace {

std::string PrivateDataFolder(const platform::PrivateFolder& folder,
                              const std::vector<platform::DataFile>& files) {
  if (folder.path().empty()) throw ReplayError("cannot make a private data folder for the replay");
  for (const platform::DataFile& f : files) {
    if (!platform::ReplaceFileAtomically(folder.path() + "/" + f.name, *f.bytes)) {
      throw ReplayError("cannot write " + f.name + " into the replay's data folder");
    }
  }
  return folder.path();
}

}  // namespace

platform::StartValues StartValuesOf(const HighscoreFlags& flags) {
  return {{"HighscoresAvailable", flags.HighscoresAvailable ? "1" : "0"},
          {"HighscoreDownloadMode", flags.HighscoreDownloadMode ? "1" : "0"}};
}

HighscoreFlags FlagsOf(const platform::StartValues& values) {
  HighscoreFlags flags;
  for (const auto& [name, value] : values) {
    if (name == "HighscoresAvailable") flags.HighscoresAvailable = value != "0";
    if (name == "HighscoreDownloadMode") flags.HighscoreDownloadMode = value != "0";
  }
  return flags;
}

Replay::Replay(const std::string& path, const std::string& app_dir) : reader_(path) {
  platform::HeadlessOptions opt;
  opt.app_dir = app_dir;
  opt.data_dir = PrivateDataFolder(folder_, reader_.files());
  plat_ = std::make_unique<platform::TapPlatform>(std::make_unique<platform::HeadlessPlatform>(opt),
                                                  reader_, reader_.seed());
  game_ = std::make_unique<frmMain>(*plat_);
}

Replay::~Replay() {
  game_.reset();  // before the platform it runs on
}

// A fault found while replaying names the recording's line it was found at.
template <class Step>
void Replay::Run(Step&& step) {
  try {
    step();
    CheckEnd();
  } catch (const ReplayError& e) {
    if (!reader_.Names(e.what())) throw ReplayError(reader_.At(e.what()));
    throw;
  }
}

void Replay::Start() {
  Run([&] {
    const HighscoreFlags flags = FlagsOf(reader_.start_values());
    if (reader_.HasStart()) game_->StartUp(&flags);
  });
}

void Replay::Passes(long count) {
  Run([&] {
    for (long i = 0; i < count && CanPass(); ++i) game_->FramePass();
  });
}

void Replay::WaitMs(long ms) {
  Run([&] {
    const int32_t start = witness().time;
    while (CanPass() && platform::TickDiff(witness().time, start) < ms) game_->FramePass();
  });
}

// Where the recording's passes end, or the game does, the two must end together, in the
// same state.
void Replay::CheckEnd() {
  if (compared_ || CanPass()) return;
  const bool ended = game_->Ended();
  if (ended) {
    reader_.CheckPassDone();
    if (reader_.HasPass())
      throw ReplayError(reader_.At("the game ended here in the replay, but not when recorded"));
  }
  if (!reader_.FinalDump()) return;  // cut short: replayed as far as it goes
  if (!ended) {
    throw ReplayError(reader_.At("the recorded game ended here, but the replay goes on",
                                 reader_.FinalDumpLine()));
  }
  compared_ = true;
  const std::string replayed = DumpState(*game_, WitnessedMachine(witness(), app_dir()));
  if (replayed != *reader_.FinalDump()) {
    throw ReplayError(reader_.At("the replay's state differs from the recorded one: " +
                                     JsonDifference(*reader_.FinalDump(), replayed),
                                 reader_.FinalDumpLine()));
  }
}

}  // namespace brikka::sim
