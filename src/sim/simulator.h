// brikka-sim: the real game on the headless platform, driven by a script of commands, with
// its state dumped as JSON lines.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "game/frm_main.h"
#include "platform/headless/headless.h"
#include "sim/dump.h"
#include "sim/script.h"

namespace brikka::sim {

class Replay;

class Simulator {
 public:
  Simulator(const std::string& app_dir, const std::string& data_dir, std::ostream& out);
  ~Simulator();

  // Runs a whole script; a bad line is reported on `err` with its number and stops the run.
  // Returns the exit status: 0 at the end of the script, 2 for a script error.
  int Run(std::istream& script, std::ostream& err);
  // Runs one script line (comments and blank lines do nothing); throws ScriptError.
  void RunLine(const std::string& line);
  // The state as one JSON line (without the newline).
  std::string Dump();
  // `brikka-sim RECORDING`: replays the whole recording and prints the state it ends in.
  // Returns the exit status: 0 when it replayed, 2 when it could not (said on `err`).
  int RunRecording(const std::string& path, std::ostream& err);

  platform::HeadlessPlatform& plat() { return *plat_; }
  // The game the script drives: the replayed one once a recording is replayed.
  frmMain& game();

 private:
  void Passes(long count);
  void WaitMs(long ms);
  void SetBlocks(const ScriptCommand& c);
  void SetPiece(const ScriptCommand& c);
  void PushClick();
  void StartReplay(const std::string& path);
  void Shot(const std::string& file);
  void ReplayLine(const ScriptCommand& c);
  void Exchange(const ScriptCommand& c);  // sim_exchange.cpp

  std::ostream& out_;
  std::unique_ptr<platform::HeadlessPlatform> plat_;
  std::unique_ptr<frmMain> game_;
  bool started_ = false;
  std::unique_ptr<Replay> replay_;
  Reported reported_;  // of the replay's sounds and boxes
  // Real time for the exchange window's timer (made at the first `exchange`).
  std::unique_ptr<platform::Clock> real_clock_;
  std::unique_ptr<platform::TimerHost> real_timers_;
};

}  // namespace brikka::sim
