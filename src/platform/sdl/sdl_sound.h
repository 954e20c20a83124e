// The real sound: effects and the tune through SDL_mixer on the default output device.
// Internal to platform/.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/sdl/sdl_handles.h"
#include "platform/sound.h"

namespace platform {

// The mixer's output, opened on first need and closed when its last user (the sound
// system, the player, a buffer the game still holds) lets go.
class AudioOutput {
 public:
  AudioOutput() = default;
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;
  ~AudioOutput();
  // Opens the default device, or SDL's silent one when the machine has no sound; false
  // with a reason when neither opens.
  bool Open(std::string& error);
  bool IsOpen() const { return open_; }

 private:
  bool TryOpen(std::string& error);
  std::unique_ptr<SdlSubsystem> audio_;
  bool open_ = false;
};

class SdlSoundSystem : public SoundSystem {
 public:
  explicit SdlSoundSystem(std::shared_ptr<AudioOutput> out) : out_(std::move(out)) {}
  bool Open(std::string& error) override { return out_->Open(error); }
  std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) override;

 private:
  std::shared_ptr<AudioOutput> out_;
};

// A tune loaded on a thread of its own. The thread is SDL's, so that what SDL keeps for
// each thread (its error text) goes when the thread ends.
class TuneLoad {
 public:
  // Starts loading `file`; loads it before returning when no thread can be had.
  explicit TuneLoad(std::string file);
  TuneLoad(const TuneLoad&) = delete;
  TuneLoad& operator=(const TuneLoad&) = delete;
  ~TuneLoad() { Take(); }
  bool Done() const { return done_.load(std::memory_order_acquire); }
  // The tune (null when it could not be loaded), once the thread has ended.
  MusicPtr Take();

 private:
  static int Run(void* self);
  std::string file_;
  MusicPtr music_;
  std::atomic<bool> done_{false};
  SDL_Thread* thread_ = nullptr;
};

// A MIDI tune is loaded on a worker thread: its sound font takes tens of milliseconds to
// read and prepare, which the window's first frame need not wait for. Until the tune is in,
// the player reports the state it was asked for (playing, paused or stopped) and the tune
// takes that state as soon as any call finds it loaded.
class SdlMusic : public MusicPlayer {
 public:
  explicit SdlMusic(std::shared_ptr<AudioOutput> out) : out_(std::move(out)) {}
  ~SdlMusic() override;
  void SetURL(const std::string& path) override;
  // Waits for the tune being loaded, if any, and gives it the state asked for meanwhile.
  void FinishLoading() { TakeLoadedTune(true); }
  void Play() override;
  void Pause() override;
  void Stop() override;
  int PlayState() override;
  double CurrentPosition() override;
  void SetCurrentPosition(double seconds) override;
  double Duration() override;

  // The player's volume on its 0 to 100 scale.
  static constexpr int kVolume = 61;

 private:
  bool Loading() const { return loading_ != nullptr; }
  // Takes the tune from the worker when it is done (or, with `wait`, once it is done).
  void TakeLoadedTune(bool wait);

  std::shared_ptr<AudioOutput> out_;  // first in, last out
  MusicPtr music_;
  std::unique_ptr<TuneLoad> loading_;  // the tune of `file_` on its way, until taken
  int wanted_ = kStopped;              // the play state asked for while it loads
  std::string file_;                   // the file `music_` was (or is being) loaded from
  double start_at_ = 0;                // where a stopped tune starts when played
};

// The General MIDI sound font the tune is played with (Debian's timgm6mb-soundfont).
inline constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

}  // namespace platform
