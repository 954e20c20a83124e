// The four sound effects and the background tune.
#include "game/frm_main.h"
#include "platform/files.h"
#include "platform/numbers.h"

namespace brikka {

namespace {
std::string GamePath(const std::string& folder, const char* name) {
  return platform::ResolvePath(folder, name);
}
}  // namespace

void frmMain::InitSFX() {
  auto& ds = *plat_.sound;
  const std::string& dir = plat_.app_dir;
  sounds.LandSound = ds.CreateSoundBufferFromFile(GamePath(dir, "\\Sounds\\coll.wav"));
  sounds.LineSound = ds.CreateSoundBufferFromFile(GamePath(dir, "\\Sounds\\line.wav"));
  sounds.RotateSound = ds.CreateSoundBufferFromFile(GamePath(dir, "\\Sounds\\rot.wav"));
  sounds.LevelSound = ds.CreateSoundBufferFromFile(GamePath(dir, "\\Sounds\\lvl.wav"));
}

bool frmMain::LoadEffects() {
  try {
    InitSFX();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Effects sound only while SFX is on. The menu loads them when it switches SFX on; should
// that have failed, the first play tries again rather than play from nothing.
void frmMain::PlayEffect(std::unique_ptr<platform::SoundBuffer> Sounds::*effect) {
  if (!settings.SFX) return;
  if (!sounds.LandSound && !LoadEffects()) return;
  if (auto& buffer = sounds.*effect) buffer->Play();
}

void frmMain::StartMusic() {
  if (!plat_.music) return;
  plat_.music->SetURL(GamePath(plat_.app_dir, "\\bck.mid"));
  plat_.music->Play();
}

// Keeps the tune looping: restart it when it has played to its end, or when it stopped.
// A player that cannot tell position and length (MIDI) is looped by its play state alone.
void frmMain::KeepMusicLooping() {
  platform::MusicPlayer* mp = plat_.music.get();
  if (!mp) return;
  int state = mp->PlayState();
  if (state == platform::MusicPlayer::kPlaying) {
    double pos = mp->CurrentPosition(), len = mp->Duration();
    if (pos >= 0 && len > 0 && platform::RoundHalfEven(pos) == platform::RoundHalfEven(len)) {
      mp->SetCurrentPosition(0);
      mp->Play();
    }
  } else if (state == platform::MusicPlayer::kStopped) {
    mp->SetCurrentPosition(0);
    mp->Play();
  }
}

}  // namespace brikka
