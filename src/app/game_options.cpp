// The game's command line.
#include "app/game_options.h"

#include "net/host_port.h"

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
    } else if (a == "--sync-highscores") {
      if (i + 1 == args.size()) {
        parsed.error = "--sync-highscores needs a server, HOST[:PORT]";
        return parsed;
      }
      const std::string why =
          net::ParseHostPort(args[++i], parsed.options.sync_host, parsed.options.sync_port);
      if (!why.empty()) {
        parsed.error = "--sync-highscores: " + why;
        return parsed;
      }
    } else if (a == "--upload") {
      parsed.options.upload = true;
    } else {
      const bool option = a.size() > 1 && a[0] == '-';
      parsed.error = (option ? "unknown option '" : "unexpected argument '") + a + "'";
      return parsed;
    }
  }
  if (parsed.options.upload && parsed.options.sync_host.empty()) {
    parsed.error = "--upload goes with --sync-highscores";
  }
  return parsed;
}

std::string GameUsage() {
  return "usage: brikka [--windowed] [--sync-highscores HOST[:PORT] [--upload]] [--record FILE]\n"
         "              [--help]\n"
         "  --windowed  play in an 800 x 600 window that can be resized, instead of full screen\n"
         "  --sync-highscores HOST[:PORT]\n"
         "              first fetch the highscore table from that server (port 21 unless\n"
         "              given), then play\n"
         "  --upload    with --sync-highscores: send brikka_highscores1.ini to the server\n"
         "              instead\n"
         "  --record FILE\n"
         "              record the game into FILE (after the exchange); brikka-sim FILE\n"
         "              replays it\n"
         "  --help      show this help and exit\n";
}

}  // namespace brikka
