// The tune on SDL_mixer's music stream, with the play states of a media player. MIDI is
// played with a small General MIDI sound font named here; the mixer cannot tell a MIDI
// tune's position or length, and says so with negative values.
#include <SDL.h>

#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_textures.h"

namespace platform {

SdlMusic::~SdlMusic() {
  if (music_) Mix_HaltMusic();
}

void SdlMusic::SetURL(const std::string& path) {
  if (music_) Mix_HaltMusic();
  start_at_ = 0;
  std::string file = ResolveAssetPath(path);
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
  music_.reset(Mix_LoadMUS(file.c_str()));
}

void SdlMusic::Play() {
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
  if (music_ && Mix_PlayingMusic()) Mix_PauseMusic();
}

void SdlMusic::Stop() {
  if (!music_) return;
  Mix_HaltMusic();
  start_at_ = 0;
}

int SdlMusic::PlayState() {
  if (!music_) return 0;
  if (!Mix_PlayingMusic()) return kStopped;
  return Mix_PausedMusic() ? kPaused : kPlaying;
}

double SdlMusic::CurrentPosition() {
  if (!music_) return 0;
  double at = Mix_GetMusicPosition(music_.get());
  if (at < 0) return at;
  return Mix_PlayingMusic() ? at : start_at_;
}

void SdlMusic::SetCurrentPosition(double seconds) {
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
  return music_ ? Mix_MusicDuration(music_.get()) : 0;
}

}  // namespace platform
