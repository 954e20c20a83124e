// The tape's clock, display and input devices.
#include "platform/frame_record.h"
#include "platform/numbers.h"
#include "platform/recording/tap_seams.h"

namespace platform {

namespace {

// The drawing device: its state at the start of each pass is an answer (and marks the
// pass), and the texts of each frame are kept. A recorded game draws as it always does; a
// replay keeps each frame's calls and draws only the frame a shot asks for, as drawing
// every frame in software would cost it most of its time.
class TapDevice : public Device {
 public:
  TapDevice(std::unique_ptr<Device> inner, Tape& tape, Witness& w)
      : inner_(std::move(inner)), tape_(tape), w_(w), draw_(!tape.Replaying()) {}
  int32_t TestCooperativeLevel() override {
    tape_.BeginPass();
    return AnswerInt(tape_, Stream::Level, [&] { return inner_->TestCooperativeLevel(); });
  }
  bool Reset() override { return inner_->Reset(); }
  void Clear(uint32_t color) override {
    w_.frame_texts.clear();
    draw_ ? inner_->Clear(color) : frame_.Clear(color);
  }
  void BeginScene() override { inner_->BeginScene(); }
  void EndScene() override { inner_->EndScene(); }
  void Present() override {
    if (draw_) {
      inner_->Present();
    } else {
      std::swap(frame_, shown_);
      frame_.Forget();
    }
    w_.texts.swap(w_.frame_texts);
    w_.frame_texts.clear();
  }
  TextureRef LoadTexture(const std::string& path, int w, int h, uint32_t color_key) override {
    return inner_->LoadTexture(path, w, h, color_key);
  }
  void DrawQuad(const Vertex v[4], const Texture* tex) override {
    draw_ ? inner_->DrawQuad(v, tex) : frame_.Quad(v, tex);
  }
  FontRef CreateFont(const std::string& family, int points, bool bold) override {
    return inner_->CreateFont(family, points, bold);
  }
  void DrawText(const Font& font, const std::string& text, int left, int top, int right, int bottom,
                uint32_t color, bool center) override {
    w_.frame_texts.push_back(
        DrawnText{text, font.Request(), left, top, right, bottom, color, center});
    if (draw_) {
      inner_->DrawText(font, text, left, top, right, bottom, color, center);
    } else {
      frame_.Text(font, text, left, top, right, bottom, color, center);
    }
  }
  void FrameDrawn() override { inner_->FrameDrawn(); }
  bool SaveScreenshot(const std::string& png_path) override {
    if (!draw_) {
      shown_.Replay(*inner_);
      inner_->Present();
    }
    return inner_->SaveScreenshot(png_path);
  }

 private:
  std::unique_ptr<Device> inner_;
  Tape& tape_;
  Witness& w_;
  const bool draw_;
  FrameRecord frame_, shown_;
};

}  // namespace

// Each reading is kept as its difference from the one before: most are 0.
int32_t TapClock::GetTickCount() {
  int32_t now;
  if (tape_.Replaying()) {
    const auto step =
        static_cast<uint32_t>(ParseInt(tape_.Take(Stream::Clock), INT32_MIN, INT32_MAX));
    now = static_cast<int32_t>(static_cast<uint32_t>(w_.time) + step);
  } else {
    now = inner_->GetTickCount();
    tape_.Put(Stream::Clock, IntToken(TickDiff(now, w_.time)));
  }
  w_.time = now;
  return now;
}

// A replay takes its time from the readings, and never waits.
void TapClock::Sleep(int32_t ms) {
  if (!tape_.Replaying()) inner_->Sleep(ms);
}

bool TapVideo::Init(std::string& error) {
  if (!tape_.Replaying()) {
    const bool ok = inner_->Init(error);
    tape_.Put(Stream::Start, OutcomeToken(ok, error));
    return ok;
  }
  if (!ParseOutcome(tape_.Take(Stream::Start), error)) return false;
  std::string ignored;
  inner_->Init(ignored);
  return true;
}

void TapVideo::ShowWindow() {
  if (!tape_.Replaying()) inner_->ShowWindow();
}

std::vector<DisplayMode> TapVideo::Modes() {
  return Answer(
      tape_, Stream::Start, [&] { return inner_->Modes(); }, ModesToken,
      [](const std::string& t) { return ParseModes(t); });
}

std::unique_ptr<Device> TapVideo::CreateDevice(int width, int height, int format,
                                               std::string& error) {
  std::unique_ptr<Device> device;
  if (!tape_.Replaying()) {
    device = inner_->CreateDevice(width, height, format, error);
    tape_.Put(Stream::Start, OutcomeToken(device != nullptr, error));
  } else if (ParseOutcome(tape_.Take(Stream::Start), error)) {
    device = inner_->CreateDevice(width, height, format, error);
    if (!device) throw ReplayError("the replay has no device to draw on: " + error);
  }
  return device ? std::make_unique<TapDevice>(std::move(device), tape_, w_) : nullptr;
}

bool TapKeyboard::Acquire() {
  return AnswerBool(tape_, Stream::Acquire, [&] { return inner_->Acquire(); });
}

bool TapKeyboard::GetDeviceStateKeyboard(KeyboardState& state) {
  if (tape_.Replaying()) return ParseKeys(tape_.Take(Stream::Keys), state);
  const bool ok = inner_->GetDeviceStateKeyboard(state);
  tape_.Put(Stream::Keys, KeysToken(ok, state));
  return ok;
}

void TapMouse::SetEventNotification(std::function<void()> signal) {
  signal_ = std::move(signal);
  if (tape_.Replaying()) return;
  inner_->SetEventNotification([this] {
    round_.push_back({'M'});
    Signal();
  });
}

bool TapMouse::Acquire() {
  return AnswerBool(tape_, Stream::Acquire, [&] { return inner_->Acquire(); });
}

int TapMouse::GetDeviceData(MouseRecord* out, int max) {
  if (!tape_.Replaying()) {
    const int n = inner_->GetDeviceData(out, max);
    tape_.Put(Stream::Mouse, MouseToken(n, out));
    return n;
  }
  std::vector<MouseRecord> records;
  const int n = ParseMouse(tape_.Take(Stream::Mouse), records);
  if (n > max) throw ReplayError("more mouse records than the game reads at once");
  std::copy(records.begin(), records.end(), out);
  return n;
}

}  // namespace platform
