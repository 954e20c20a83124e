// Recordings: a game played on the headless machine through the tape, replayed by the
// simulator to the state it ended in; and recordings damaged in the ways a file from
// elsewhere may be, each refused naming its line, or (cut short) replayed as far as it goes.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "platform/headless/headless.h"
#include "platform/keycodes.h"
#include "platform/recording/tap_platform.h"
#include "platform/recording/tape_writer.h"
#include "sim/dump.h"
#include "sim/simulator.h"
#include "temp_dir.h"

namespace brikka {
namespace {

using platform::HeadlessPlatform;

// Two players in battle: the mouse on the start button, keys held and pressed, the focus
// lost and the device lost, until Escape twice ends the game.
void PlayBattle(HeadlessPlatform& in, frmMain& game) {
  ASSERT_TRUE(game.StartUp());
  in.mouse_device().Push({platform::mouse_offset::X, 237});
  in.mouse_device().Push({platform::mouse_offset::Y, 241});
  in.mouse_device().Push({platform::mouse_offset::Button0, 0x80});
  in.mouse_device().Push({platform::mouse_offset::Button0, 0});
  auto passes = [&](int n) {
    for (int i = 0; i < n && !game.Ended(); ++i) game.FramePass();
  };
  passes(5);
  in.SetPassMs(3);
  const char* held[] = {"RIGHT", "A", "DOWN", "S"};
  for (int round = 0; round < 8; ++round) {
    const uint8_t key = static_cast<uint8_t>(platform::DirectInputCodeByName(held[round % 4]));
    in.keys().Hold(key);
    in.events().QueueKeyDown(platform::VirtualKeyByName(round % 2 ? "UP" : "W"));
    passes(40);
    in.keys().Release(key);
    if (round == 3) in.SetFocus(false);
    if (round == 4) in.SetFocus(true);
    if (round == 5) in.LoseDevice();
    passes(10);
  }
  in.events().QueueKeyDown(platform::VirtualKeyByName("ESC"));
  in.events().QueueKeyDown(platform::VirtualKeyByName("ESC"));
  passes(3);
  ASSERT_TRUE(game.Ended());
}

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    { std::ofstream(data_.file("Data.ini")) << "[Menu]\nMultiplayer=-1\nBattle=-1\n"; }
    std::string error;
    auto tape = platform::TapeWriter::Create(path_, error);
    ASSERT_TRUE(tape) << error;
    platform::HeadlessOptions opt;
    opt.app_dir = BRIKKA_APP_DIR;
    opt.data_dir = data_.str();
    opt.seed = 4242;
    auto inner = std::make_unique<HeadlessPlatform>(opt);
    HeadlessPlatform& in = *inner;
    platform::TapPlatform plat(std::move(inner), *tape, opt.seed);
    frmMain game(plat);
    tape->WriteHeader(opt.seed, {{"Data.ini", "[Menu]\nMultiplayer=-1\nBattle=-1\n"}});
    PlayBattle(in, game);
    dumped_ = sim::DumpState(game, sim::WitnessedMachine(plat.witness(), plat.app_dir));
    tape->Finish(dumped_);
  }

  // Replays `text` as a recording: the exit status, the output and the errors.
  int Replay(const std::string& text, std::string& out, std::string& err) {
    const std::string file = data_.file("replayed");
    std::ofstream(file, std::ios::binary) << text;
    std::ostringstream o, e;
    sim::Simulator sim(BRIKKA_APP_DIR, data_.str(), o);
    const int status = sim.RunRecording(file, e);
    out = o.str();
    err = e.str();
    return status;
  }

  std::string Text() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  testing::TempDir data_;
  std::string path_ = data_.file("game.rec");
  std::string dumped_;
};

TEST_F(Recording, AReplayEndsInTheStateTheGameEndedIn) {
  std::string out, err;
  ASSERT_EQ(Replay(Text(), out, err), 0) << err;
  EXPECT_EQ(out, dumped_ + "\n");
  EXPECT_NE(dumped_.find("\"Battle\":true"), std::string::npos);
}

// Each damage: the edit, and what the replay says (exit status 2) or 0 for a replay. (A
// newer format: the test replay.real_games.)
TEST_F(Recording, DamagedRecordingsAreRefusedNamingTheLine) {
  struct Case {
    const char* what;
    std::regex find;
    std::string replace;
    int status;
    std::string message;
  };
  const std::string text = Text();
  const Case cases[] = {
      {"a pass left out", std::regex("\np 9 [^\n]*"), "", 2, "pass 10 where pass 9 was due"},
      {"an answer too many", std::regex("\n(p 7 t[^ ]*)"), "\n$1,0", 2,
       "line 11: the game took fewer clock readings"},
      {"a stream unknown", std::regex("\n(p 3 [^\n]*)"), "\n$1 z1", 2, "no stream is called 'z'"},
      {"a changed final state", std::regex("\"screen\":1"), "\"screen\":2", 2,
       "differs from the recorded one: screen: 2 recorded, 1 replayed"},
      {"a key never pressed", std::regex("\n(p 20 [^\n]* e)[^ \n]*"), "\n$1K80.0", 2,
       "line 25: the game asked for more"},
      {"cut in the middle of a line", std::regex("\np 30 t[^\n]*"), "\np 30 t2", 0, ""},
  };
  for (const Case& c : cases) {
    std::string damaged =
        std::regex_replace(text, c.find, c.replace, std::regex_constants::format_first_only);
    if (c.status == 0) damaged = damaged.substr(0, damaged.find("\np 30 t2") + 8);
    ASSERT_NE(damaged, text) << c.what;
    std::string out, err;
    EXPECT_EQ(Replay(damaged, out, err), c.status) << c.what << ": " << err;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.what << ": " << err;
    if (c.status == 0) {
      EXPECT_NE(out.find("\"ended\":false"), std::string::npos) << out;
    }
  }
}

}  // namespace
}  // namespace brikka
