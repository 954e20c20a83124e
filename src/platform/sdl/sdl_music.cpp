// The tune on SDL_mixer's music stream, with the play states of a media player. MIDI is
// played with a small General MIDI sound font named here; the mixer cannot tell a MIDI
// tune's position or length, and says so with negative values.
#include <SDL.h>

#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_textures.h"

namespace platform {

TuneLoad::TuneLoad(std::string file) : file_(std::move(file)) {
  thread_ = SDL_CreateThread(&TuneLoad::Run, "brikka tune", this);
  if (!thread_) Run(this);  // no thread to spare: loaded here, as the caller waits
}

int TuneLoad::Run(void* self) {
  auto* load = static_cast<TuneLoad*>(self);
  load->music_.reset(Mix_LoadMUS(load->file_.c_str()));
  load->done_.store(true, std::memory_order_release);
  return 0;
}

MusicPtr TuneLoad::Take() {
  if (thread_) SDL_WaitThread(thread_, nullptr);
  thread_ = nullptr;
  return std::move(music_);
}

SdlMusic::~SdlMusic() {
  if (Loading()) music_ = loading_->Take();  // the thread ends before the mixer closes
  if (music_) Mix_HaltMusic();
}

void SdlMusic::SetURL(const std::string& path) {
  std::string file = ResolveAssetPath(path);
  if (Loading() && file == file_) {  // the same tune still on its way: it will start stopped
    wanted_ = kStopped;
    start_at_ = 0;
    return;
  }
  if (Loading()) {  // another tune still on its way is dropped once it is in, unplayed
    loading_->Take();
    loading_.reset();
  }
  if (music_) Mix_HaltMusic();
  start_at_ = 0;
  // Loading a MIDI tune loads its sound font, which takes a noticeable moment: the same
  // file again (after a device reset, music switched back on) is only rewound.
  if (music_ && file == file_) return;
  music_.reset();
  file_ = file;
  std::string error;
  if (!out_->Open(error)) return;  // the player has nothing to play: state 0
  // The synthesiser holds its whole font in memory while the tune plays: the game names a
  // 6 MB font rather than leave the choice to the system, whose default may be 150 MB.
  Mix_SetSoundFonts(kSoundFontPath);
  wanted_ = kStopped;
  loading_ = std::make_unique<TuneLoad>(file);
}

void SdlMusic::TakeLoadedTune(bool wait) {
  if (!Loading()) return;
  if (!wait && !loading_->Done()) return;
  music_ = loading_->Take();
  loading_.reset();
  if (wanted_ == kStopped) return;
  const bool paused = wanted_ == kPaused;
  Play();
  if (paused) Pause();
}

void SdlMusic::Play() {
  TakeLoadedTune(false);
  if (Loading()) {
    wanted_ = kPlaying;
    return;
  }
  if (!music_) return;
  if (Mix_PlayingMusic()) {
    if (Mix_PausedMusic()) Mix_ResumeMusic();
    return;  // already playing: carries on
  }
  if (Mix_PlayMusic(music_.get(), 1) != 0) return;
  if (start_at_ > 0) Mix_SetMusicPosition(start_at_);
  start_at_ = 0;
}

void SdlMusic::Pause() {
  TakeLoadedTune(false);
  if (Loading()) {
    if (wanted_ == kPlaying) wanted_ = kPaused;
    return;
  }
  if (music_ && Mix_PlayingMusic()) Mix_PauseMusic();
}

void SdlMusic::Stop() {
  TakeLoadedTune(false);
  if (Loading()) {
    wanted_ = kStopped;
    start_at_ = 0;
    return;
  }
  if (!music_) return;
  Mix_HaltMusic();
  start_at_ = 0;
}

int SdlMusic::PlayState() {
  TakeLoadedTune(false);
  if (Loading()) return wanted_;
  if (!music_) return 0;
  if (!Mix_PlayingMusic()) return kStopped;
  return Mix_PausedMusic() ? kPaused : kPlaying;
}

// A tune still loading stands at the place it will start from, and cannot tell its length.
double SdlMusic::CurrentPosition() {
  TakeLoadedTune(false);
  if (Loading()) return start_at_;
  if (!music_) return 0;
  double at = Mix_GetMusicPosition(music_.get());
  if (at < 0) return at;
  return Mix_PlayingMusic() ? at : start_at_;
}

void SdlMusic::SetCurrentPosition(double seconds) {
  TakeLoadedTune(false);
  if (Loading()) {
    start_at_ = seconds;  // where it starts once in, playing or not
    return;
  }
  if (!music_) return;
  if (!Mix_PlayingMusic()) {
    start_at_ = seconds;
  } else if (seconds <= 0) {
    Mix_RewindMusic();
  } else {
    Mix_SetMusicPosition(seconds);
  }
}

double SdlMusic::Duration() {
  TakeLoadedTune(false);
  if (Loading()) return 0;
  return music_ ? Mix_MusicDuration(music_.get()) : 0;
}

}  // namespace platform
