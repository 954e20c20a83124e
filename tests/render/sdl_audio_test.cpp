// The real sound and music on SDL's silent audio driver: effects load and play, missing
// files are refused, and the tune goes through the media player's play states.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_sound.h"
#include "render_support.h"

namespace platform::testing {
namespace {

class SdlAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    std::string error;
    ASSERT_TRUE(sound.Open(error)) << error;
  }
  ScratchDir dir;
  std::shared_ptr<AudioOutput> out = std::make_shared<AudioOutput>();
  SdlSoundSystem sound{out};
  SdlMusic music{out};
};

TEST_F(SdlAudio, EffectsLoadAndPlayAndBadFilesThrow) {
  std::filesystem::create_directories(dir.file("Sounds"));
  WriteWav(dir.file("Sounds/rot.wav"), 300);
  auto rot = sound.CreateSoundBufferFromFile(dir.str() + "\\sounds\\ROT.wav");
  rot->Play();
  rot->Play();  // still playing: not restarted, and no second channel taken
  EXPECT_EQ(Mix_Playing(-1), 1);
  EXPECT_THROW(sound.CreateSoundBufferFromFile(dir.file("none.wav")), SoundError);
  std::ofstream(dir.file("bad.wav")) << "nothing";
  EXPECT_THROW(sound.CreateSoundBufferFromFile(dir.file("bad.wav")), SoundError);
}

TEST_F(SdlAudio, TheTuneGoesThroughThePlayStates) {
  EXPECT_EQ(music.PlayState(), 0);
  WriteWav(dir.file("tune.wav"), 2000);
  music.SetURL(dir.file("tune.wav"));
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  EXPECT_NEAR(music.Duration(), 2.0, 0.01);  // a wave can tell its length; MIDI cannot
  music.Play();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);
  music.Pause();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPaused);
  music.Play();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);
  music.SetCurrentPosition(0);
  EXPECT_LT(music.CurrentPosition(), 1.0);
  music.Stop();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  music.SetURL(dir.file("missing.mid"));
  music.Play();
  EXPECT_EQ(music.PlayState(), 0);
}

// The game's own tune plays with the sound font the game names; like every MIDI tune on
// the mixer it cannot tell its length.
TEST_F(SdlAudio, TheGameTunePlaysWithItsSoundFont) {
  music.SetURL(std::string(BRIKKA_APP_DIR) + "/bck.mid");
  ASSERT_EQ(music.PlayState(), MusicPlayer::kStopped) << Mix_GetError();
  music.Play();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);
  EXPECT_LT(music.Duration(), 0);
  music.Stop();
}

}  // namespace
}  // namespace platform::testing
