// The headless machine: scripted mouse records, the scripted message pump and the wiring
// of every headless device into one platform.
#include "platform/headless/headless.h"

#include "platform/headless/headless_video.h"

namespace platform {

void HeadlessPump::DoEvents() {
  std::deque<int> keys;
  keys.swap(keys_);  // only what had arrived when the round began
  for (int key : keys) {
    if (key_down_) key_down_(key, 0);
  }
  mouse_.SignalIfPending();
  timers_.FireDue();
  RunPollers();
}

HeadlessPlatform::HeadlessPlatform(const HeadlessOptions& options) {
  app_dir = options.app_dir;
  data_dir = options.data_dir.empty() ? options.app_dir : options.data_dir;
  auto vclock = std::make_unique<VirtualClock>();
  vclock_ = vclock.get();
  clock = std::move(vclock);
  timers = std::make_unique<TimerHost>(*clock);
  auto headless_video = std::make_unique<HeadlessVideo>(*vclock_, options.modes);
  video_ = headless_video.get();
  video = std::move(headless_video);
  auto kb = std::make_unique<HeadlessKeyboard>();
  keys_ = kb.get();
  keyboard = std::move(kb);
  auto ms = std::make_unique<HeadlessMouse>();
  mouse_ = ms.get();
  mouse = std::move(ms);
  auto snd = std::make_unique<HeadlessSound>(vclock_);
  sounds_ = snd.get();
  sound = std::move(snd);
  auto tune = std::make_unique<HeadlessMusic>(*vclock_);
  music_ = tune.get();
  music = std::move(tune);
  auto dlg = std::make_unique<HeadlessDialogs>();
  dialogs_ = dlg.get();
  dialogs = std::move(dlg);
  auto events = std::make_unique<HeadlessPump>(*timers, *mouse_);
  pump_ = events.get();
  pump = std::move(events);
  StartNetwork();
  random.Seed(options.seed);
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::SetPassMs(int32_t ms) {
  video_->SetPassMs(ms);
}

void HeadlessPlatform::LoseDevice() {
  video_->LoseDevice();
}

void HeadlessPlatform::SetFocus(bool focused) {
  video_->SetFocus(focused);
}

const std::vector<std::string>& HeadlessPlatform::LabelCaptions() const {
  return video_->LabelCaptions();
}

}  // namespace platform
