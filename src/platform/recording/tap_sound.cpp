// The tape's sound effects, tune and message boxes.
#include "platform/files.h"
#include "platform/recording/tap_seams.h"

namespace platform {

namespace {

// An effect: whether a play started is the machine's answer (a buffer still playing is
// not restarted); the effects that started are what the game was heard to play.
class TapBuffer : public SoundBuffer {
 public:
  TapBuffer(std::unique_ptr<SoundBuffer> inner, std::string name, Tape& tape, Witness& w)
      : inner_(std::move(inner)), name_(std::move(name)), tape_(tape), w_(w) {}
  bool Play() override {
    const bool started = AnswerBool(tape_, Stream::Plays, [&] { return inner_->Play(); });
    if (started) w_.sounds.push_back(name_);
    return started;
  }

 private:
  std::unique_ptr<SoundBuffer> inner_;
  std::string name_;
  Tape& tape_;
  Witness& w_;
};

}  // namespace

bool TapSound::Open(std::string& error) {
  if (tape_.Replaying()) return ParseOutcome(tape_.Take(Stream::Start), error);
  const bool ok = inner_->Open(error);
  tape_.Put(Stream::Start, OutcomeToken(ok, error));
  return ok;
}

std::unique_ptr<SoundBuffer> TapSound::CreateSoundBufferFromFile(const std::string& path) {
  std::unique_ptr<SoundBuffer> buffer;
  if (tape_.Replaying()) {
    std::string error;
    if (!ParseOutcome(tape_.Take(Stream::Start), error)) throw SoundError(error);
  } else {
    try {
      buffer = inner_->CreateSoundBufferFromFile(path);
    } catch (const SoundError& e) {
      tape_.Put(Stream::Start, OutcomeToken(false, e.what()));
      throw;
    }
    tape_.Put(Stream::Start, OutcomeToken(true));
  }
  return std::make_unique<TapBuffer>(std::move(buffer), FileStem(path), tape_, w_);
}

void TapMusic::SetURL(const std::string& path) {
  w_.music_url = path;
  Do([&] { inner_->SetURL(path); });
}

void TapMusic::Play() {
  const int before = w_.music_state;
  Do([&] { inner_->Play(); });
  if (before == kStopped && w_.music_state == kPlaying) ++w_.music_starts;
}

void TapMusic::Pause() {
  Do([&] { inner_->Pause(); });
}

void TapMusic::Stop() {
  Do([&] { inner_->Stop(); });
}

int TapMusic::PlayState() {
  w_.music_state = AnswerInt(tape_, Stream::Music, [&] { return inner_->PlayState(); });
  return w_.music_state;
}

double TapMusic::CurrentPosition() {
  return AnswerReal(tape_, Stream::Music, [&] { return inner_->CurrentPosition(); });
}

void TapMusic::SetCurrentPosition(double seconds) {
  if (!tape_.Replaying()) inner_->SetCurrentPosition(seconds);
}

double TapMusic::Duration() {
  return AnswerReal(tape_, Stream::Music, [&] { return inner_->Duration(); });
}

int TapDialogs::MsgBox(const std::string& text, int style, const std::string& title) {
  w_.messages.push_back(RecordedMessage{title, text, style});
  return AnswerInt(tape_, Stream::Boxes, [&] { return inner_->MsgBox(text, style, title); });
}

}  // namespace platform
