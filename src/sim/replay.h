// A recorded game replayed: the game on the tape's platform over the headless machine
// (which draws, for shots), in a private data folder made from the files the recording
// holds, so that no player's file is touched. At the end of the recording the game must
// have ended as it did when recorded, and dump the state it dumped then.
#pragma once

#include <memory>
#include <string>

#include "game/frm_main.h"
#include "platform/files.h"
#include "platform/recording/tap_platform.h"
#include "platform/recording/tape_reader.h"

namespace brikka::sim {

// The program-wide flags a game starts from (as the highscore exchange left them), as a
// recording keeps them, and back (what a recording leaves out is as at a plain start).
platform::StartValues StartValuesOf(const HighscoreFlags& flags);
HighscoreFlags FlagsOf(const platform::StartValues& values);

class Replay {
 public:
  // Checks the whole recording; throws platform::ReplayError naming the line.
  Replay(const std::string& path, const std::string& app_dir);
  ~Replay();

  frmMain& game() { return *game_; }
  platform::Witness& witness() { return plat_->witness(); }
  const std::string& app_dir() const { return plat_->app_dir; }

  // The recorded start-up, when the recording holds it.
  void Start();
  // Up to `count` passes; fewer when the game or the recording ends.
  void Passes(long count);
  // Passes until `ms` milliseconds of recorded time have gone by.
  void WaitMs(long ms);

 private:
  template <class Step>
  void Run(Step&& step);
  bool CanPass() const { return !game_->Ended() && reader_.HasPass(); }
  void CheckEnd();

  platform::PrivateFolder folder_;
  platform::TapeReader reader_;
  std::unique_ptr<platform::TapPlatform> plat_;
  std::unique_ptr<frmMain> game_;
  bool compared_ = false;
};

}  // namespace brikka::sim
