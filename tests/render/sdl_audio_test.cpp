// The real sound and music on SDL's silent audio driver: effects load and play, missing
// files are refused, and the tune goes through the media player's play states, also while
// it is still being loaded.
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
  WriteWav(dir.file("tune.wav"), 2000);
  music.SetURL(dir.file("tune.wav"));
  music.FinishLoading();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  EXPECT_NEAR(music.Duration(), 2.0, 0.01);  // a wave can tell its length; MIDI cannot
  music.Play();
  music.Pause();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPaused);
  music.Play();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);
  music.SetCurrentPosition(0);
  EXPECT_LT(music.CurrentPosition(), 1.0);
  music.Stop();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  std::ofstream(dir.file("bad.wav")) << "nothing";
  for (const char* bad : {"missing.mid", "bad.wav"}) {
    music.SetURL(dir.file(bad));
    music.Play();
    music.FinishLoading();
    EXPECT_EQ(music.PlayState(), 0) << bad;
  }
  EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// Until the tune is in, the player answers with the state it was asked for, and the tune
// takes that state when it arrives: the first frame need not wait for the sound font. The
// game's own tune plays with the sound font the game names; like every MIDI tune on the
// mixer it cannot tell its length.
TEST_F(SdlAudio, WhatIsAskedWhileTheTuneLoadsHoldsOnceItIsIn) {
  const std::string tune = std::string(BRIKKA_APP_DIR) + "/bck.mid";
  music.SetURL(tune);
  music.Play();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);
  music.FinishLoading();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying) << Mix_GetError();
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  EXPECT_LT(music.Duration(), 0);

  music.Stop();
  music.SetURL(dir.file("elsewhere.mid"));  // another tune: the game's is let go
  music.SetURL(tune);
  music.Play();
  music.Pause();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPaused);
  music.FinishLoading();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPaused);
  EXPECT_EQ(Mix_PausedMusic(), 1);
  music.Stop();

  // Asked for again while it loads, the same tune is not loaded twice, and starts stopped.
  music.SetURL(dir.file("elsewhere.mid"));
  music.SetURL(tune);
  music.Play();
  music.SetURL(tune);
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  music.FinishLoading();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// A wave tune asked to start past its beginning while loading starts there.
TEST_F(SdlAudio, APlaceAskedForWhileLoadingIsWhereTheTuneStarts) {
  WriteWav(dir.file("tune.wav"), 3000);
  music.SetURL(dir.file("tune.wav"));
  music.SetCurrentPosition(2.0);
  EXPECT_EQ(music.CurrentPosition(), 2.0);
  music.Play();
  music.FinishLoading();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);
  EXPECT_NEAR(music.CurrentPosition(), 2.0, 0.5);
}

// A player let go while its tune still loads waits for the load and frees the tune.
TEST_F(SdlAudio, APlayerGoneWhileLoadingLeavesNothingBehind) {
  {
    SdlMusic other{out};
    other.SetURL(std::string(BRIKKA_APP_DIR) + "/bck.mid");
    other.Play();
  }
  EXPECT_EQ(Mix_PlayingMusic(), 0);
}

}  // namespace
}  // namespace platform::testing
