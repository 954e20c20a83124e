// A machine seen through the tape: every seam of an inner platform wrapped so that each
// answer the game gets from it is written on the tape (recording), or read from it
// instead (replay). The game runs on this platform unchanged. While replaying, the inner
// platform only draws (for shots); nothing else of it is asked.
#pragma once

#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/recording/tape.h"
#include "platform/recording/tape_tokens.h"

namespace platform {

class TapPlatform : public Platform {
 public:
  // `seed`: the inner machine's seed when recording, the recorded one when replaying.
  TapPlatform(std::unique_ptr<Platform> inner, Tape& tape, uint64_t seed);
  ~TapPlatform() override;

  Witness& witness() { return witness_; }
  Platform& inner() { return *inner_; }

 private:
  std::unique_ptr<Platform> inner_;
  Witness witness_;
  std::vector<PumpEvent> round_;  // what the current round of the pump delivered
};

}  // namespace platform
