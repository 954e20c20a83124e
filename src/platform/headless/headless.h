// The headless machine of the tests and the simulator: virtual time, scripted input,
// recorded message boxes and sounds, and SDL's software renderer on the dummy video driver.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/mouse_buffer.h"
#include "platform/platform.h"

namespace platform {

struct HeadlessOptions {
  std::string app_dir;   // assets
  std::string data_dir;  // settings and highscores; app_dir when empty
  uint64_t seed = 1;
  // The adapter's mode list as CheckDisplayMode will see it.
  std::vector<DisplayMode> modes = {{800, 600, 60, d3dfmt::X8R8G8B8}};
};

// The texts of the last frame a headless device presented, in drawing order; empty for
// any other device.
const std::vector<DrawnText>& LastFrameTexts(const Device* device);
// How often a headless device opened fonts and rasterised strings; zeros for any other.
TextStats TextStatisticsOf(const Device* device);

// What the whole process holds right now (see HeldResources).
HeldResources HeldResourceCounts();

class HeadlessKeyboard : public KeyboardDevice {
 public:
  bool Acquire() override { return true; }
  bool GetDeviceStateKeyboard(KeyboardState& state) override {
    state = state_;
    return true;
  }
  void Hold(uint8_t dik) { state_[dik] = 0x80; }
  void Release(uint8_t dik) { state_[dik] = 0; }

 private:
  KeyboardState state_{};
};

// The scripted mouse is the bare record buffer: the script pushes what a device would.
class HeadlessMouse : public MouseRecordBuffer {};

class HeadlessDialogs : public Dialogs {
 public:
  int MsgBox(const std::string& text, int style, const std::string& title) override;
  // The answer the next box gets (mb::AnswerOk, AnswerRetry, AnswerCancel); boxes without
  // a queued answer get OK, or Cancel when they offer Retry/Cancel.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  std::vector<RecordedMessage> TakeMessages();

 private:
  std::deque<int> answers_;
  std::vector<RecordedMessage> messages_;
};

// Sounds and music state kept for inspection.
class HeadlessSound : public SoundSystem {
 public:
  // With a clock, an effect counts as playing for its length in virtual time, so a second
  // play meanwhile is not heard (and not recorded), as with a real buffer.
  explicit HeadlessSound(Clock* clock = nullptr) : clock_(clock) {}
  bool Open(std::string&) override { return true; }
  std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) override;
  // Names of the effects played since the last call ("coll", "line", ...).
  std::vector<std::string> TakePlayed();
  std::vector<std::string>& played() { return played_; }

 private:
  Clock* clock_;
  std::vector<std::string> played_;
};

class HeadlessMusic : public MusicPlayer {
 public:
  explicit HeadlessMusic(Clock& clock) : clock_(clock) {}
  void SetURL(const std::string& path) override;
  void Play() override;
  void Pause() override;
  void Stop() override;
  int PlayState() override { return state_; }
  int state() const { return state_; }
  double CurrentPosition() override;
  void SetCurrentPosition(double seconds) override;
  double Duration() override { return duration_; }
  const std::string& url() const { return url_; }
  // How often the tune started from its beginning (a resumed pause does not count).
  int starts() const { return starts_; }

 private:
  Clock& clock_;
  std::string url_;
  int state_ = 0;  // undefined until a file is given
  double duration_ = 0;
  double position_at_start_ = 0;
  int32_t started_at_ = 0;
  int starts_ = 0;
};

class HeadlessPump : public EventPump {
 public:
  HeadlessPump(TimerHost& timers, HeadlessMouse& mouse) : timers_(timers), mouse_(mouse) {}
  void DoEvents() override;
  void QueueKeyDown(int key_code) { keys_.push_back(key_code); }

 private:
  TimerHost& timers_;
  HeadlessMouse& mouse_;
  std::deque<int> keys_;
};

// The video system on SDL's dummy driver with a scripted mode list and device loss.
class HeadlessVideo;

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(const HeadlessOptions& options);
  ~HeadlessPlatform() override;

  VirtualClock& vclock() { return *vclock_; }
  HeadlessKeyboard& keys() { return *keys_; }
  HeadlessMouse& mouse_device() { return *mouse_; }
  HeadlessDialogs& dialog_box() { return *dialogs_; }
  HeadlessSound& sounds() { return *sounds_; }
  HeadlessMusic& tune() { return *music_; }
  HeadlessPump& events() { return *pump_; }
  // Every text the label windows showed, in order.
  const std::vector<std::string>& LabelCaptions() const;

  // Virtual milliseconds one frame's drawing takes (charged when the frame is drawn).
  void SetPassMs(int32_t ms);
  // The device reports lost, then not yet reset, until it is reset.
  void LoseDevice();
  // Another program takes the input focus (false), or the game gets it back (true): the
  // device is lost in between, as on the real machine.
  void SetFocus(bool focused);

 private:
  VirtualClock* vclock_;
  HeadlessKeyboard* keys_;
  HeadlessMouse* mouse_;
  HeadlessDialogs* dialogs_;
  HeadlessSound* sounds_;
  HeadlessMusic* music_;
  HeadlessPump* pump_;
  HeadlessVideo* video_;
};

}  // namespace platform
