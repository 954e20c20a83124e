// Sound effects and the background tune.
#pragma once

#include <memory>
#include <string>

namespace platform {

struct SoundError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  // Plays once; a buffer that is still playing is not restarted. True when it started.
  virtual bool Play() = 0;
};

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  // Opens the default output device; false with a reason on failure.
  virtual bool Open(std::string& error) = 0;
  // Loads a wave file; throws SoundError when it cannot.
  virtual std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& path) = 0;
};

// The player of the tune: play states as the media player reports them.
class MusicPlayer {
 public:
  static constexpr int kStopped = 1, kPaused = 2, kPlaying = 3;
  virtual ~MusicPlayer() = default;
  virtual void SetURL(const std::string& path) = 0;
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual int PlayState() = 0;
  // Seconds; a player that cannot tell reports a negative value.
  virtual double CurrentPosition() = 0;
  virtual void SetCurrentPosition(double seconds) = 0;
  virtual double Duration() = 0;
};

}  // namespace platform
