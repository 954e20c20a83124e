// The tune on SDL_mixer's music stream, with the play states of a media player. MIDI is
// played with a small General MIDI sound font named here; the mixer cannot tell a MIDI
// tune's position or length, and says so with negative values.
#include <SDL.h>

#include <chrono>
#include <system_error>

#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_textures.h"

namespace platform {

SdlMusic::~SdlMusic() {
  if (Loading()) music_ = loading_.get();  // the worker is done before the mixer closes
  if (music_) Mix_HaltMusic();
}

void SdlMusic::SetURL(const std::string& path) {
  std::string file = ResolveAssetPath(path);
  if (Loading() && file == file_) {  // the same tune still on its way: it will start stopped
    wanted_ = kStopped;
    start_at_ = 0;
    return;
  }
  TakeLoadedTune(true);  // another tune still loading is dropped only once it is in
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
  auto load = [file] { return MusicPtr(Mix_LoadMUS(file.c_str())); };
  try {
    loading_ = std::async(std::launch::async, load);
  } catch (const std::system_error&) {
    music_ = load();  // no thread to spare: loaded here, as the caller waits
  }
}

void SdlMusic::TakeLoadedTune(bool wait) {
  if (!Loading()) return;
  if (!wait && loading_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  music_ = loading_.get();
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
