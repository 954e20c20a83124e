// The message pump: delivers pending input events, fires due timers and runs finished
// network operations, all on the calling thread. Nothing else ever calls the game's
// handlers, so a handler never runs in the middle of a frame.
#pragma once

#include <functional>
#include <vector>

namespace platform {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // One round: input events first (key-downs in arrival order, then the mouse signal),
  // then due timers in creation order, then network completions.
  virtual void DoEvents() = 0;

  // The window's key-down event: virtual-key code and shift state; repeats while held.
  void SetKeyDownHandler(std::function<void(int key_code, int shift)> h) { key_down_ = std::move(h); }
  // The window was asked to close (the window manager's close button).
  void SetCloseHandler(std::function<void()> h) { close_ = std::move(h); }
  // Work to run at the end of every round (the network loop's poll).
  void AddPoller(std::function<void()> poll) { pollers_.push_back(std::move(poll)); }

 protected:
  void RunPollers() {
    for (auto& p : pollers_) p();
  }
  std::function<void(int, int)> key_down_;
  std::function<void()> close_;
  std::vector<std::function<void()>> pollers_;
};

}  // namespace platform
