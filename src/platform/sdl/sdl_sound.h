// The real sound: effects and the tune through SDL_mixer on the default output device.
// Internal to platform/.
#pragma once

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

class SdlMusic : public MusicPlayer {
 public:
  explicit SdlMusic(std::shared_ptr<AudioOutput> out) : out_(std::move(out)) {}
  ~SdlMusic() override;
  void SetURL(const std::string& path) override;
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
  std::shared_ptr<AudioOutput> out_;  // first in, last out
  MusicPtr music_;
  std::string file_;     // the file `music_` was loaded from
  double start_at_ = 0;  // where a stopped tune starts when played
};

// The General MIDI sound font the tune is played with (Debian's timgm6mb-soundfont).
inline constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

}  // namespace platform
