// The simulator's script commands.
#include "sim/simulator.h"

#include <climits>
#include <istream>
#include <ostream>

#include "menu/ini.h"
#include "platform/numbers.h"
#include "sim/replay.h"

namespace brikka::sim {

namespace {

PlayerSide Side(const ScriptCommand& c) {
  return c.right ? PlayerSide::Right : PlayerSide::Left;
}

}  // namespace

Simulator::Simulator(const std::string& app_dir, const std::string& data_dir, std::ostream& out)
    : out_(out) {
  platform::HeadlessOptions opt;
  opt.app_dir = app_dir;
  opt.data_dir = data_dir;
  plat_ = std::make_unique<platform::HeadlessPlatform>(opt);
  game_ = std::make_unique<frmMain>(*plat_);
}

Simulator::~Simulator() = default;

frmMain& Simulator::game() {
  return replay_ ? replay_->game() : *game_;
}

int Simulator::Run(std::istream& script, std::ostream& err) {
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    try {
      RunLine(line);
    } catch (const std::exception& e) {
      err << "line " << number << ": " << e.what() << "\n";
      return 2;
    }
  }
  return 0;
}

void Simulator::Passes(long count) {
  for (long i = 0; i < count && !game_->Ended(); ++i) game_->FramePass();
}

void Simulator::WaitMs(long ms) {
  const int32_t start = plat_->vclock().GetTickCount();
  while (!game_->Ended() && platform::TickDiff(plat_->vclock().GetTickCount(), start) < ms) {
    game_->FramePass();
  }
}

void Simulator::RunLine(const std::string& line) {
  const ScriptCommand c = ReadScriptLine(line);
  const std::string& cmd = c.name;
  if (cmd.empty()) return;
  if (replay_ && cmd != "dump" && cmd != "shot") return ReplayLine(c);
  auto need_start = [&] {
    if (!started_) throw ScriptError("'" + cmd + "' needs 'start' first");
  };
  if (cmd == "seed") {
    plat_->random.Seed(static_cast<uint64_t>(c.numbers[0]));
  } else if (cmd == "ini") {
    IniWrite(plat_->data_dir + "/" + c.file, c.section, c.key_name, c.text);
  } else if (cmd == "start") {
    if (started_) throw ScriptError("already started");
    started_ = true;
    game_->StartUp();
  } else if (cmd == "replay") {
    if (started_) throw ScriptError("'replay' must come before 'start'");
    StartReplay(c.text);
  } else if (cmd == "startgame") {
    need_start();
    if (!game_->Ended()) game_->StartGameFromMenu();
  } else if (cmd == "frames") {
    need_start();
    Passes(c.numbers[0]);
  } else if (cmd == "wait") {
    need_start();
    WaitMs(c.numbers[0]);
  } else if (cmd == "pass-ms") {
    plat_->SetPassMs(static_cast<int32_t>(c.numbers[0]));
  } else if (cmd == "hold") {
    plat_->keys().Hold(static_cast<uint8_t>(c.keys[0]));
  } else if (cmd == "release") {
    plat_->keys().Release(static_cast<uint8_t>(c.keys[0]));
  } else if (cmd == "press" || cmd == "type") {
    for (int key : c.keys) plat_->events().QueueKeyDown(key);
  } else if (cmd == "mouse") {
    need_start();
    const int dx = static_cast<int>(c.numbers[0]), dy = static_cast<int>(c.numbers[1]);
    if (dx) plat_->mouse_device().Push({platform::mouse_offset::X, dx});
    if (dy) plat_->mouse_device().Push({platform::mouse_offset::Y, dy});
  } else if (cmd == "click") {
    need_start();
    PushClick();
  } else if (cmd == "clickat") {
    // The cursor jumps there (a real mouse moves it two pixels a step and cannot reach
    // every pixel), after the handler took the input still waiting, so that the jump comes
    // in order; the press and release then go through the handler.
    need_start();
    if (!game_->Ended()) plat_->mouse_device().SignalIfPending();
    game_->MouseX = static_cast<int32_t>(c.numbers[0]);
    game_->MouseY = static_cast<int32_t>(c.numbers[1]);
    game_->Cursor.setdimOnly(static_cast<float>(game_->MouseX), static_cast<float>(game_->MouseY));
    PushClick();
  } else if (cmd == "answer") {
    if (c.text == "ok")
      plat_->dialog_box().QueueAnswer(platform::mb::AnswerOk);
    else if (c.text == "retry")
      plat_->dialog_box().QueueAnswer(platform::mb::AnswerRetry);
    else
      plat_->dialog_box().QueueAnswer(platform::mb::AnswerCancel);
  } else if (cmd == "setblocks") {
    need_start();
    SetBlocks(c);
  } else if (cmd == "setpiece") {
    need_start();
    SetPiece(c);
  } else if (cmd == "lose-device") {
    plat_->LoseDevice();
  } else if (cmd == "focus") {
    plat_->SetFocus(c.text == "in");
  } else if (cmd == "dump") {
    out_ << Dump() << "\n";
    out_.flush();
  } else if (cmd == "shot") {
    need_start();
    Shot(c.text);
  } else if (cmd == "quake") {
    need_start();
    // As a caller would: the rest positions brought up to date, then the shake sized.
    game_->FillOrgPos();
    game_->SetupQuake(static_cast<int16_t>(c.numbers[0]));
  } else if (cmd == "exchange") {
    Exchange(c);
  }
}

std::string Simulator::Dump() {
  if (replay_) {
    return DumpState(replay_->game(),
                     WitnessedMachine(replay_->witness(), replay_->app_dir(), &reported_));
  }
  return DumpState(*game_, HeadlessMachine(*plat_, game_->Device()));
}

void Simulator::Shot(const std::string& file) {
  if (!game().Device() || !game().Device()->SaveScreenshot(file)) {
    throw ScriptError("cannot write the screenshot '" + file + "'");
  }
}

void Simulator::StartReplay(const std::string& path) {
  replay_ = std::make_unique<Replay>(path, plat_->app_dir);
  started_ = true;
  replay_->Start();
}

// A replay's input is the recording's: the script only chooses where to look (besides
// `dump` and `shot`, which look as they do in any game).
void Simulator::ReplayLine(const ScriptCommand& c) {
  if (c.name == "frames") {
    replay_->Passes(c.numbers[0]);
  } else if (c.name == "wait") {
    replay_->WaitMs(c.numbers[0]);
  } else {
    throw ScriptError("'" + c.name +
                      "' cannot be used in a replay: the recording holds the game's input");
  }
}

int Simulator::RunRecording(const std::string& path, std::ostream& err) {
  try {
    StartReplay(path);
    replay_->Passes(LONG_MAX);
  } catch (const std::exception& e) {
    err << "brikka-sim: " << e.what() << "\n";
    return 2;
  }
  out_ << Dump() << "\n";
  return 0;
}

void Simulator::PushClick() {
  plat_->mouse_device().Push({platform::mouse_offset::Button0, 0x80});
  plat_->mouse_device().Push({platform::mouse_offset::Button0, 0});
}

void Simulator::SetBlocks(const ScriptCommand& c) {
  frmMain& g = *game_;
  PlayField& f = g.Field(Side(c));
  const double left = c.right ? g.geo.RStartX : g.geo.LStartX;
  std::vector<cBlock> blocks;
  for (const auto& [col, row] : c.cells) {
    int16_t type = 1;
    cBlock b;
    b.Color = g.GetColor(type);
    // Settled blocks are displaced with the rest of the well while the screen shakes.
    const double y = g.geo.EndY - row * g.geo.sizey + g.geo.sizey / 2 + g.Displacement();
    b.Initialise(
        frmMain::MakeVector2(static_cast<float>(left + (col - 0.5) * g.geo.sizex),
                             static_cast<float>(y)),
        frmMain::MakeVector2(static_cast<float>(g.geo.sizex), static_cast<float>(g.geo.sizey)));
    blocks.push_back(b);
  }
  f.Blocks = std::move(blocks);
}

void Simulator::SetPiece(const ScriptCommand& c) {
  frmMain& g = *game_;
  PlayField& f = g.Field(Side(c));
  int16_t type = static_cast<int16_t>(c.numbers[0]);
  f.Shape.Initialise(
      type, g.GetColor(type),
      frmMain::MakeVector2(static_cast<float>(c.x), static_cast<float>(c.y)),
      frmMain::MakeVector2(static_cast<float>(g.geo.sizex), static_cast<float>(g.geo.sizey)));
  // As a spawn: the right piece shakes with the screen from the start.
  const double shake = g.PieceDisplacement(Side(c));
  if (shake != 0) f.Shape.AmountTranslation(0, shake);
}

}  // namespace brikka::sim
