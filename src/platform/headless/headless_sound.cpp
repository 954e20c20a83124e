// Headless sound: effects are checked to be readable wave files and their plays recorded
// by name; the tune is a play-state machine that, like MIDI through the mixer, cannot
// tell its position or length.
#include <SDL.h>

#include "platform/files.h"
#include "platform/headless/headless.h"
#include "platform/numbers.h"
#include "platform/sdl/sdl_textures.h"

namespace platform {
namespace {

// Length of a wave file in milliseconds; throws SoundError when it is not one.
int32_t WaveLengthMs(const std::string& file) {
  SDL_AudioSpec wav;
  Uint8* data = nullptr;
  Uint32 bytes = 0;
  if (!SDL_LoadWAV(file.c_str(), &wav, &data, &bytes)) {
    throw SoundError("Cannot load sound " + file + ": " + SDL_GetError());
  }
  SDL_FreeWAV(data);
  long long frame = static_cast<long long>(SDL_AUDIO_BITSIZE(wav.format) / 8) * wav.channels;
  if (frame <= 0 || wav.freq <= 0) return 0;
  return static_cast<int32_t>(static_cast<long long>(bytes) / frame * 1000 / wav.freq);
}

class HeadlessBuffer : public SoundBuffer {
 public:
  HeadlessBuffer(std::vector<std::string>& log, Clock* clock, std::string name, int32_t length_ms)
      : log_(log), clock_(clock), name_(std::move(name)), length_ms_(length_ms) {}

  bool Play() override {
    if (clock_) {
      int32_t now = clock_->GetTickCount();
      if (playing_ && TickDiff(now, started_) < length_ms_) return false;  // not restarted
      playing_ = true;
      started_ = now;
    }
    log_.push_back(name_);
    return true;
  }

 private:
  std::vector<std::string>& log_;
  Clock* clock_;
  std::string name_;
  int32_t length_ms_;
  bool playing_ = false;
  int32_t started_ = 0;
};

}  // namespace

std::unique_ptr<SoundBuffer> HeadlessSound::CreateSoundBufferFromFile(const std::string& path) {
  std::string file = ResolveAssetPath(path);
  int32_t length = WaveLengthMs(file);
  return std::make_unique<HeadlessBuffer>(played_, clock_, FileStem(file), length);
}

std::vector<std::string> HeadlessSound::TakePlayed() {
  std::vector<std::string> out;
  out.swap(played_);
  return out;
}

void HeadlessMusic::SetURL(const std::string& path) {
  url_ = path;
  SDL_RWops* file = SDL_RWFromFile(ResolveAssetPath(path).c_str(), "rb");
  // A file the player cannot open leaves it with nothing to play.
  state_ = file ? kStopped : 0;
  if (file) SDL_RWclose(file);
  duration_ = file ? -1.0 : 0.0;
  position_at_start_ = 0;
}

void HeadlessMusic::Play() {
  if (state_ == 0 || state_ == kPlaying) return;  // a playing tune carries on
  if (state_ == kStopped) {
    started_at_ = clock_.GetTickCount();
    ++starts_;
  }
  state_ = kPlaying;
}

void HeadlessMusic::Pause() {
  if (state_ == kPlaying) state_ = kPaused;
}

void HeadlessMusic::Stop() {
  if (state_ == 0) return;
  state_ = kStopped;
  position_at_start_ = 0;
}

double HeadlessMusic::CurrentPosition() {
  return state_ == 0 ? 0.0 : -1.0;
}

void HeadlessMusic::SetCurrentPosition(double seconds) {
  position_at_start_ = seconds;
}

}  // namespace platform
