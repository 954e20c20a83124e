// A small window of its own beside the game's: a title and one line of text. The highscore
// exchange shows its progress in one while the game's own window is not up yet.
#pragma once

#include <functional>
#include <string>

namespace platform {

struct LabelWindowLook {
  std::string title;    // the window's caption
  std::string caption;  // the label's first text
  std::string font;     // family name, looked up as the game's fonts are
  int points = 10;      // at 96 dpi
  int width = 360, height = 96;
};

class LabelWindow {
 public:
  virtual ~LabelWindow() = default;
  // Shows `text` in the label, replacing what it showed.
  virtual void SetCaption(const std::string& text) = 0;
  // The user asked the window to close (its close button); handled from the pump.
  void SetCloseHandler(std::function<void()> h) { close_ = std::move(h); }

 protected:
  void Closing() {
    if (close_) close_();
  }

 private:
  std::function<void()> close_;
};

}  // namespace platform
