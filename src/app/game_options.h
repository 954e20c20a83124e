// The game's command line: every option of `brikka` is parsed here, in one place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brikka {

struct GameOptions {
  bool windowed = false;  // an 800 x 600 window that can be resized, instead of full screen
  bool help = false;
  // --sync-highscores HOST[:PORT]: the highscore exchange with that server runs first
  // (download, or upload with --upload), then the game.
  std::string sync_host;
  int32_t sync_port = 21;
  bool upload = false;
  std::string record;  // the file the game is recorded into, when asked
};

// The options, or an error naming what was not understood.
struct ParsedOptions {
  GameOptions options;
  std::string error;  // empty when the command line was understood
};

ParsedOptions ParseGameOptions(const std::vector<std::string>& args);

// The text `brikka --help` prints.
std::string GameUsage();

// The exit status of a command line the game does not understand.
constexpr int kUsageExitStatus = 64;

}  // namespace brikka
