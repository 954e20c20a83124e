// The wrapped seams the tape's platform is made of. Internal to platform/recording/.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recording/tape.h"
#include "platform/recording/tape_tokens.h"

namespace platform {

// The machine's answer: asked of the inner seam and written down, or read back.
template <class Ask, class Encode, class Decode>
auto Answer(Tape& tape, Stream s, Ask&& ask, Encode&& encode, Decode&& decode) {
  if (tape.Replaying()) return decode(tape.Take(s));
  auto v = ask();
  tape.Put(s, encode(v));
  return v;
}

template <class Ask>
bool AnswerBool(Tape& tape, Stream s, Ask&& ask) {
  return Answer(
      tape, s, ask, [](bool v) { return std::string(v ? "1" : "0"); },
      [](const std::string& t) { return ParseInt(t, 0, 1) != 0; });
}

template <class Ask>
int32_t AnswerInt(Tape& tape, Stream s, Ask&& ask) {
  return Answer(
      tape, s, ask, [](int32_t v) { return IntToken(v); },
      [](const std::string& t) { return static_cast<int32_t>(ParseInt(t, INT32_MIN, INT32_MAX)); });
}

template <class Ask>
double AnswerReal(Tape& tape, Stream s, Ask&& ask) {
  return Answer(tape, s, ask, RealToken, [](const std::string& t) { return ParseReal(t); });
}

class TapClock : public Clock {
 public:
  TapClock(Clock* inner, Tape& tape, Witness& w) : inner_(inner), tape_(tape), w_(w) {}
  int32_t GetTickCount() override;
  void Sleep(int32_t ms) override;

 private:
  Clock* inner_;
  Tape& tape_;
  Witness& w_;
};

class TapVideo : public VideoSystem {
 public:
  TapVideo(VideoSystem* inner, Tape& tape, Witness& w) : inner_(inner), tape_(tape), w_(w) {}
  bool Init(std::string& error) override;
  void ShowWindow() override;
  std::vector<DisplayMode> Modes() override;
  std::unique_ptr<Device> CreateDevice(int width, int height, int format,
                                       std::string& error) override;
  // Only the highscore exchange shows one, and a recording starts after it: a replay has
  // none to show.
  std::unique_ptr<LabelWindow> CreateLabelWindow(const LabelWindowLook& look) override {
    return tape_.Replaying() ? nullptr : inner_->CreateLabelWindow(look);
  }

 private:
  VideoSystem* inner_;
  Tape& tape_;
  Witness& w_;
};

class TapKeyboard : public KeyboardDevice {
 public:
  TapKeyboard(KeyboardDevice* inner, Tape& tape) : inner_(inner), tape_(tape) {}
  bool Acquire() override;
  bool GetDeviceStateKeyboard(KeyboardState& state) override;

 private:
  KeyboardDevice* inner_;
  Tape& tape_;
};

class TapMouse : public MouseDevice {
 public:
  TapMouse(MouseDevice* inner, Tape& tape, std::vector<PumpEvent>& round)
      : inner_(inner), tape_(tape), round_(round) {}
  void SetBufferSize(int records) override { inner_->SetBufferSize(records); }
  void SetEventNotification(std::function<void()> signal) override;
  bool Acquire() override;
  int GetDeviceData(MouseRecord* out, int max) override;
  // The pump's signal that records arrived, as the replay delivers it.
  void Signal() {
    if (signal_) signal_();
  }

 private:
  MouseDevice* inner_;
  Tape& tape_;
  std::vector<PumpEvent>& round_;
  std::function<void()> signal_;
};

class TapSound : public SoundSystem {
 public:
  TapSound(SoundSystem* inner, Tape& tape, Witness& w) : inner_(inner), tape_(tape), w_(w) {}
  bool Open(std::string& error) override;
  std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) override;

 private:
  SoundSystem* inner_;
  Tape& tape_;
  Witness& w_;
};

// The player's state is asked again after each of the game's commands, so that the
// witness knows when the tune started from its beginning.
class TapMusic : public MusicPlayer {
 public:
  TapMusic(MusicPlayer* inner, Tape& tape, Witness& w) : inner_(inner), tape_(tape), w_(w) {}
  void SetURL(const std::string& path) override;
  void Play() override;
  void Pause() override;
  void Stop() override;
  int PlayState() override;
  double CurrentPosition() override;
  void SetCurrentPosition(double seconds) override;
  double Duration() override;

 private:
  // Runs the command on the real player (not when replaying), then asks its state.
  template <class Command>
  void Do(Command&& command) {
    if (!tape_.Replaying()) command();
    PlayState();
  }
  MusicPlayer* inner_;
  Tape& tape_;
  Witness& w_;
};

class TapDialogs : public Dialogs {
 public:
  TapDialogs(Dialogs* inner, Tape& tape, Witness& w) : inner_(inner), tape_(tape), w_(w) {}
  int MsgBox(const std::string& text, int style, const std::string& title) override;

 private:
  Dialogs* inner_;
  Tape& tape_;
  Witness& w_;
};

// Recording: the inner pump delivers, and what it delivered is written as the round's
// token. Replaying: the round's token is delivered. Either way the tape's timers fire
// after it, then the pollers, as a real round goes.
class TapPump : public EventPump {
 public:
  TapPump(EventPump* inner, TimerHost& timers, TapMouse& mouse, Tape& tape,
          std::vector<PumpEvent>& round);
  void DoEvents() override;

 private:
  EventPump* inner_;
  TimerHost& timers_;
  TapMouse& mouse_;
  Tape& tape_;
  std::vector<PumpEvent>& round_;
};

}  // namespace platform
