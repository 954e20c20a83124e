// The game's command line.
#include "app/game_options.h"

namespace brikka {

ParsedOptions ParseGameOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--windowed") {
      parsed.options.windowed = true;
    } else if (a == "--record") {
      if (i + 1 == args.size()) {
        parsed.error = "--record needs the file to record into";
        return parsed;
      }
      parsed.options.record = args[++i];
    } else if (a == "--help" || a == "-h") {
      parsed.options.help = true;
    } else {
      const bool option = a.size() > 1 && a[0] == '-';
      parsed.error = (option ? "unknown option '" : "unexpected argument '") + a + "'";
      return parsed;
    }
  }
  return parsed;
}

std::string GameUsage() {
  return "usage: brikka [--windowed] [--record FILE] [--help]\n"
         "  --windowed     play in an 800 x 600 window that can be resized, instead of full "
         "screen\n"
         "  --record FILE  record the game into FILE; brikka-sim FILE replays it\n"
         "  --help         show this help and exit\n";
}

}  // namespace brikka
