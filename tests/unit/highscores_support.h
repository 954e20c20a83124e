// A game whose highscore file is laid out before start-up, with helpers to end a well with a
// given score, to type on the highscore screen, and to read the table as rows.
#pragma once

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "highscores/highscore_file.h"
#include "platform/keycodes.h"
#include "rules_support.h"

namespace brikka::testing {

using TableRows = std::vector<std::pair<std::string, std::string>>;  // nickname, score

// Rank i (1..50) is "N<i>" with (51 - i) x 100 points: 5000 down to 100.
inline TableRows StandardRows() {
  TableRows rows;
  for (int i = 1; i <= 50; ++i)
    rows.emplace_back("N" + std::to_string(i), std::to_string((51 - i) * 100));
  return rows;
}

inline std::string FileOf(const TableRows& rows) {
  std::string text = "[highscores]\r\n";
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string rank = std::to_string(i + 1);
    text += "Nickname" + rank + "=" + rows[i].first + "\r\nScore" + rank + "=" + rows[i].second +
            "\r\n";
  }
  return text;
}

inline TableRows RowsOf(const HighscoreTable& t) {
  TableRows rows;
  for (int i = 0; i < kHighscoreRanks; ++i)
    rows.emplace_back(t.HighscoreNicknames[i], t.HighscoreScores[i]);
  return rows;
}

// `Base` is RulesGame, or the render tests' ScreenGame.
template <class Base>
class HighscoreGameOn : public Base {
 public:
  explicit HighscoreGameOn(const std::string& file_bytes, RulesOptions o = {}) : Base(o) {
    if (!file_bytes.empty()) std::ofstream(g().HighscoresPath(), std::ios::binary) << file_bytes;
  }
  using Base::g;

  // The well loses with `score` points, as the row count would end it.
  void Lose(PlayerSide side, int32_t score) {
    g().Field(side).Score = score;
    bool right = side == PlayerSide::Right;
    g().EndGame(right);
  }
  // One key-down per character, as typing them on the keyboard gives.
  void Type(const std::string& text) {
    for (char c : text) g().Form_KeyDown(platform::VirtualKeyForChar(c), 0);
  }
  void Enter() { g().Form_KeyDown(platform::vk::Return, 0); }
  TableRows Table() { return RowsOf(g().highscores); }
  TableRows Saved() { return RowsOf(ReadHighscoreFile(g().HighscoresPath())); }
};

using HighscoreGame = HighscoreGameOn<RulesGame>;

}  // namespace brikka::testing
