// Sound effects on SDL_mixer: the output device and wave buffers that play once on a free
// channel and are not restarted while still playing.
#include "platform/sdl/sdl_sound.h"

#include "platform/sdl/sdl_textures.h"

namespace platform {
namespace {

// Enough for every effect at once, with room to spare.
constexpr int kChannels = 16;

class SdlSoundBuffer : public SoundBuffer {
 public:
  SdlSoundBuffer(std::shared_ptr<AudioOutput> out, ChunkPtr chunk)
      : out_(std::move(out)), chunk_(std::move(chunk)) {}

  bool Play() override {
    if (channel_ >= 0 && Mix_Playing(channel_) && Mix_GetChunk(channel_) == chunk_.get()) {
      return false;
    }
    channel_ = Mix_PlayChannel(-1, chunk_.get(), 0);
    return channel_ >= 0;
  }

 private:
  std::shared_ptr<AudioOutput> out_;  // first in, last out: the chunk is freed before it
  ChunkPtr chunk_;
  int channel_ = -1;
};

}  // namespace

AudioOutput::~AudioOutput() {
  if (open_) Mix_CloseAudio();
}

bool AudioOutput::Open(std::string& error) {
  if (open_) return true;
  if (TryOpen(error)) return true;
  // A machine without a sound card still plays the game, silently.
  std::string first = error;
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  if (TryOpen(error)) return true;
  error = first;
  return false;
}

bool AudioOutput::TryOpen(std::string& error) {
  audio_ = SdlSubsystem::Start(SDL_INIT_AUDIO, error);
  if (!audio_) return false;
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    error = Mix_GetError();
    audio_.reset();
    return false;
  }
  Mix_AllocateChannels(kChannels);
  Mix_VolumeMusic(MIX_MAX_VOLUME * SdlMusic::kVolume / 100);
  open_ = true;
  return true;
}

std::unique_ptr<SoundBuffer> SdlSoundSystem::CreateSoundBufferFromFile(const std::string& path) {
  std::string error;
  if (!out_->Open(error)) throw SoundError("No sound output: " + error);
  std::string file = ResolveAssetPath(path);
  // Opened and closed here: the mixer forgets to close a file it could not decode.
  SDL_RWops* rw = SDL_RWFromFile(file.c_str(), "rb");
  if (!rw) throw SoundError("Cannot open sound " + file + ": " + SDL_GetError());
  ChunkPtr chunk(Mix_LoadWAV_RW(rw, 0));
  SDL_RWclose(rw);
  if (!chunk) throw SoundError("Cannot load sound " + file + ": " + Mix_GetError());
  return std::make_unique<SdlSoundBuffer>(out_, std::move(chunk));
}

}  // namespace platform
