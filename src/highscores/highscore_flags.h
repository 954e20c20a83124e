// The two program-wide flags of the highscore feature. They are the program's, not a
// window's: the exchange window sets them before the main window loads, and that window's
// start-up keeps what the exchange left.
#pragma once

namespace brikka {

struct HighscoreFlags {
  bool HighscoreDownloadMode = true;  // download the server's table, else upload ours
  bool HighscoresAvailable = true;    // scores may be entered
};

}  // namespace brikka
