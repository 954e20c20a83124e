// The simulator's script commands.
#include "sim/simulator.h"

#include <climits>
#include <istream>
#include <ostream>
#include <sstream>

#include "menu/ini.h"
#include "platform/keycodes.h"
#include "platform/numbers.h"
#include "sim/replay.h"

namespace brikka::sim {

namespace {

std::vector<std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The text after the first `skip` words of the line.
std::string RestAfter(const std::string& line, size_t skip) {
  size_t pos = 0;
  for (size_t i = 0; i < skip; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    pos = line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  pos = line.find_first_not_of(" \t", pos);
  return pos == std::string::npos ? "" : line.substr(pos);
}

long Number(const std::string& word, long lo, long hi) {
  long long v = 0;
  if (!platform::ParseWholeNumber(word, v) || v < lo || v > hi) {
    throw ScriptError("expected a whole number from " + std::to_string(lo) + " to " +
                      std::to_string(hi) + ", got '" + word + "'");
  }
  return static_cast<long>(v);
}

double Decimal(const std::string& word) {
  try {
    size_t used = 0;
    double d = std::stod(word, &used);
    if (used == word.size()) return d;
  } catch (const std::exception&) {
  }
  throw ScriptError("expected a number, got '" + word + "'");
}

void Expect(const std::vector<std::string>& w, size_t n, const char* usage) {
  if (w.size() != n) throw ScriptError(std::string("usage: ") + usage);
}

PlayerSide Side(const std::string& word) {
  if (word == "right") return PlayerSide::Right;
  if (word == "left") return PlayerSide::Left;
  throw ScriptError("SIDE must be right or left, got '" + word + "'");
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
  std::vector<std::string> w = Split(line);
  if (w.empty() || w[0][0] == '#') return;
  const std::string& cmd = w[0];
  if (replay_ && cmd != "dump" && cmd != "shot") return ReplayLine(w);
  auto need_start = [&] {
    if (!started_) throw ScriptError("'" + cmd + "' needs 'start' first");
  };
  if (cmd == "seed") {
    Expect(w, 2, "seed N");
    plat_->random.Seed(static_cast<uint64_t>(Number(w[1], 0, 2147483647)));
  } else if (cmd == "ini") {
    WriteIni(w, line);
  } else if (cmd == "start") {
    Expect(w, 1, "start");
    if (started_) throw ScriptError("already started");
    started_ = true;
    game_->StartUp();
  } else if (cmd == "replay") {
    if (w.size() < 2) throw ScriptError("usage: replay FILE");
    if (started_) throw ScriptError("'replay' must come before 'start'");
    StartReplay(RestAfter(line, 1));
  } else if (cmd == "startgame") {
    need_start();
    if (!game_->Ended()) game_->StartGameFromMenu();
  } else if (cmd == "frames") {
    Expect(w, 2, "frames N");
    need_start();
    Passes(Number(w[1], 0, 100000000));
  } else if (cmd == "wait") {
    Expect(w, 2, "wait MS");
    need_start();
    WaitMs(Number(w[1], 0, 1000000000));
  } else if (cmd == "pass-ms") {
    Expect(w, 2, "pass-ms N");
    plat_->SetPassMs(static_cast<int32_t>(Number(w[1], 0, 100000)));
  } else if (cmd == "hold" || cmd == "release") {
    Expect(w, 2, "hold KEY | release KEY");
    int code = platform::DirectInputCodeByName(w[1]);
    if (code < 0) throw ScriptError("unknown key '" + w[1] + "'");
    if (cmd == "hold")
      plat_->keys().Hold(static_cast<uint8_t>(code));
    else
      plat_->keys().Release(static_cast<uint8_t>(code));
  } else if (cmd == "press") {
    Expect(w, 2, "press KEY");
    int code = platform::VirtualKeyByName(w[1]);
    if (code < 0) throw ScriptError("unknown key '" + w[1] + "'");
    plat_->events().QueueKeyDown(code);
  } else if (cmd == "type") {
    for (char c : RestAfter(line, 1)) plat_->events().QueueKeyDown(platform::VirtualKeyForChar(c));
  } else if (cmd == "mouse") {
    Expect(w, 3, "mouse DX DY");
    need_start();
    int dx = static_cast<int>(Number(w[1], -100000, 100000));
    int dy = static_cast<int>(Number(w[2], -100000, 100000));
    if (dx) plat_->mouse_device().Push({platform::mouse_offset::X, dx});
    if (dy) plat_->mouse_device().Push({platform::mouse_offset::Y, dy});
  } else if (cmd == "click") {
    Expect(w, 1, "click");
    need_start();
    PushClick();
  } else if (cmd == "clickat") {
    // The cursor jumps there (a real mouse moves it two pixels a step and cannot reach
    // every pixel), after the handler took the input still waiting, so that the jump comes
    // in order; the press and release then go through the handler.
    Expect(w, 3, "clickat X Y");
    need_start();
    if (!game_->Ended()) plat_->mouse_device().SignalIfPending();
    game_->MouseX = static_cast<int32_t>(Number(w[1], 0, 832));
    game_->MouseY = static_cast<int32_t>(Number(w[2], 0, 632));
    game_->Cursor.setdimOnly(static_cast<float>(game_->MouseX), static_cast<float>(game_->MouseY));
    PushClick();
  } else if (cmd == "answer") {
    Expect(w, 2, "answer ok|retry|cancel");
    if (w[1] == "ok")
      plat_->dialog_box().QueueAnswer(platform::mb::AnswerOk);
    else if (w[1] == "retry")
      plat_->dialog_box().QueueAnswer(platform::mb::AnswerRetry);
    else if (w[1] == "cancel")
      plat_->dialog_box().QueueAnswer(platform::mb::AnswerCancel);
    else
      throw ScriptError("answer must be ok, retry or cancel");
  } else if (cmd == "setblocks") {
    need_start();
    SetBlocks(w);
  } else if (cmd == "setpiece") {
    need_start();
    SetPiece(w);
  } else if (cmd == "lose-device") {
    Expect(w, 1, "lose-device");
    plat_->LoseDevice();
  } else if (cmd == "focus") {
    if (w.size() != 2 || (w[1] != "out" && w[1] != "in")) throw ScriptError("usage: focus out|in");
    plat_->SetFocus(w[1] == "in");
  } else if (cmd == "dump") {
    Expect(w, 1, "dump");
    out_ << Dump() << "\n";
    out_.flush();
  } else if (cmd == "shot") {
    Expect(w, 2, "shot FILE");
    need_start();
    Shot(w[1]);
  } else if (cmd == "quake") {
    Expect(w, 2, "quake N");
    need_start();
    // As a caller would: the rest positions brought up to date, then the shake sized.
    game_->FillOrgPos();
    game_->SetupQuake(static_cast<int16_t>(Number(w[1], -32768, 32767)));
  } else if (cmd == "exchange") {
    Exchange(w);
  } else {
    throw ScriptError("unknown command '" + cmd + "'");
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
void Simulator::ReplayLine(const std::vector<std::string>& w) {
  const std::string& cmd = w[0];
  if (cmd == "frames") {
    Expect(w, 2, "frames N");
    replay_->Passes(Number(w[1], 0, 100000000));
  } else if (cmd == "wait") {
    Expect(w, 2, "wait MS");
    replay_->WaitMs(Number(w[1], 0, 1000000000));
  } else {
    throw ScriptError("'" + cmd +
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

void Simulator::WriteIni(const std::vector<std::string>& w, const std::string& line) {
  if (w.size() < 4) throw ScriptError("usage: ini FILE SECTION KEY VALUE");
  const std::string& file = w[1];
  if (file.find('/') != std::string::npos || file.find('\\') != std::string::npos || file == "." ||
      file == "..") {
    throw ScriptError("FILE is a file name in the data folder, got '" + file + "'");
  }
  IniWrite(plat_->data_dir + "/" + file, w[2], w[3], RestAfter(line, 4));
}

void Simulator::SetBlocks(const std::vector<std::string>& w) {
  if (w.size() < 2) throw ScriptError("usage: setblocks SIDE C,R ...");
  frmMain& g = *game_;
  PlayField& f = g.Field(Side(w[1]));
  const double left = Side(w[1]) == PlayerSide::Right ? g.geo.RStartX : g.geo.LStartX;
  std::vector<cBlock> blocks;
  for (size_t i = 2; i < w.size(); ++i) {
    size_t comma = w[i].find(',');
    if (comma == std::string::npos) throw ScriptError("blocks are C,R, got '" + w[i] + "'");
    long c = Number(w[i].substr(0, comma), 1, 10);
    long r = Number(w[i].substr(comma + 1), 1, 21);
    int16_t type = 1;
    cBlock b;
    b.Color = g.GetColor(type);
    // Settled blocks are displaced with the rest of the well while the screen shakes.
    const double y = g.geo.EndY - r * g.geo.sizey + g.geo.sizey / 2 + g.Displacement();
    b.Initialise(
        frmMain::MakeVector2(static_cast<float>(left + (c - 0.5) * g.geo.sizex),
                             static_cast<float>(y)),
        frmMain::MakeVector2(static_cast<float>(g.geo.sizex), static_cast<float>(g.geo.sizey)));
    blocks.push_back(b);
  }
  f.Blocks = std::move(blocks);
}

void Simulator::SetPiece(const std::vector<std::string>& w) {
  Expect(w, 5, "setpiece SIDE TYPE X Y");
  frmMain& g = *game_;
  PlayField& f = g.Field(Side(w[1]));
  int16_t type = static_cast<int16_t>(Number(w[2], 0, 7));
  double x = Decimal(w[3]), y = Decimal(w[4]);
  f.Shape.Initialise(
      type, g.GetColor(type), frmMain::MakeVector2(static_cast<float>(x), static_cast<float>(y)),
      frmMain::MakeVector2(static_cast<float>(g.geo.sizex), static_cast<float>(g.geo.sizey)));
  // As a spawn: the right piece shakes with the screen from the start.
  const double shake = g.PieceDisplacement(Side(w[1]));
  if (shake != 0) f.Shape.AmountTranslation(0, shake);
}

}  // namespace brikka::sim
