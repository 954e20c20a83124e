// Headless sound and music: what is recorded, what is refused, and the play states the
// frame loop sees.
#include <gtest/gtest.h>

#include "render_support.h"

namespace platform::testing {
namespace {

// Plays are recorded by the name of the file found, whatever the spelling asked for; a
// buffer still playing is not restarted. Missing or broken files throw.
TEST(HeadlessSound, PlaysAreRecordedByEffectNameButNotWhileStillPlaying) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.file("Sounds"));
  WriteWav(dir.file("Sounds/coll.wav"), 200);
  WriteWav(dir.file("Sounds/line.wav"), 100);
  VirtualClock clock;
  HeadlessSound sound(&clock);
  auto coll = sound.CreateSoundBufferFromFile(dir.str() + "\\Sounds\\COLL.wav");
  auto line = sound.CreateSoundBufferFromFile(dir.file("Sounds/line.wav"));
  coll->Play();
  line->Play();
  coll->Play();  // both wells landing in one frame
  EXPECT_EQ(sound.TakePlayed(), (std::vector<std::string>{"coll", "line"}));
  EXPECT_TRUE(sound.TakePlayed().empty());
  clock.Advance(199);
  coll->Play();
  clock.Advance(1);
  coll->Play();  // the first play has ended
  EXPECT_EQ(sound.TakePlayed(), std::vector<std::string>{"coll"});
  EXPECT_THROW(sound.CreateSoundBufferFromFile(dir.file("none.wav")), SoundError);
  std::ofstream(dir.file("bad.wav")) << "RIFF but not really";
  EXPECT_THROW(sound.CreateSoundBufferFromFile(dir.file("bad.wav")), SoundError);
}

TEST(HeadlessMusic, PlayStatesLikeTheMediaPlayer) {
  ScratchDir dir;
  std::ofstream(dir.file("bck.mid")) << "MThd";
  VirtualClock clock;
  HeadlessMusic music(clock);
  music.Play();
  EXPECT_EQ(music.PlayState(), 0);  // nothing to play yet
  music.SetURL(dir.str() + "\\BCK.MID");
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  music.Play();
  clock.Advance(60'000);
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPlaying);  // until told otherwise
  EXPECT_LT(music.CurrentPosition(), 0);                // cannot tell, like MIDI
  EXPECT_LT(music.Duration(), 0);
  music.Pause();
  EXPECT_EQ(music.PlayState(), MusicPlayer::kPaused);
  music.Stop();
  music.Pause();  // pausing a stopped player changes nothing
  EXPECT_EQ(music.PlayState(), MusicPlayer::kStopped);
  music.SetURL(dir.file("missing.mid"));
  music.Play();
  EXPECT_EQ(music.PlayState(), 0);
}

}  // namespace
}  // namespace platform::testing
