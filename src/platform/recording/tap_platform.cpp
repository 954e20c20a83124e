// The tape's message pump, and the platform made of the wrapped seams.
#include "platform/recording/tap_platform.h"

#include "platform/recording/tap_seams.h"

namespace platform {

TapPump::TapPump(EventPump* inner, TimerHost& timers, TapMouse& mouse, Tape& tape,
                 std::vector<PumpEvent>& round)
    : inner_(inner), timers_(timers), mouse_(mouse), tape_(tape), round_(round) {
  if (tape_.Replaying()) return;
  inner_->SetKeyDownHandler([this](int key, int shift) {
    round_.push_back({'K', key, shift});
    if (key_down_) key_down_(key, shift);
  });
  inner_->SetCloseHandler([this] {
    round_.push_back({'Q'});
    if (close_) close_();
  });
}

void TapPump::DoEvents() {
  if (tape_.Replaying()) {
    for (const PumpEvent& e : ParseRound(tape_.Take(Stream::Events))) {
      if (e.kind == 'K' && key_down_) key_down_(e.key, e.shift);
      if (e.kind == 'M') mouse_.Signal();
      if (e.kind == 'Q' && close_) close_();
    }
  } else {
    round_.clear();
    inner_->DoEvents();
    tape_.Put(Stream::Events, RoundToken(round_));
  }
  timers_.FireDue();
  RunPollers();
}

TapPlatform::TapPlatform(std::unique_ptr<Platform> inner, Tape& tape, uint64_t seed)
    : inner_(std::move(inner)) {
  Platform& in = *inner_;
  app_dir = in.app_dir;
  data_dir = in.data_dir;
  clock = std::make_unique<TapClock>(in.clock.get(), tape, witness_);
  timers = std::make_unique<TimerHost>(*clock);
  video = std::make_unique<TapVideo>(in.video.get(), tape, witness_);
  keyboard = std::make_unique<TapKeyboard>(in.keyboard.get(), tape);
  auto tap_mouse = std::make_unique<TapMouse>(in.mouse.get(), tape, round_);
  TapMouse& mouse_ref = *tap_mouse;
  mouse = std::move(tap_mouse);
  sound = std::make_unique<TapSound>(in.sound.get(), tape, witness_);
  music = std::make_unique<TapMusic>(in.music.get(), tape, witness_);
  dialogs = std::make_unique<TapDialogs>(in.dialogs.get(), tape, witness_);
  pump = std::make_unique<TapPump>(in.pump.get(), *timers, mouse_ref, tape, round_);
  random.Seed(seed);
}

// The wrappers go before the machine they wrap.
TapPlatform::~TapPlatform() {
  pump.reset();
  dialogs.reset();
  music.reset();
  sound.reset();
  mouse.reset();
  keyboard.reset();
  video.reset();
  timers.reset();
  clock.reset();
}

}  // namespace platform
