// Message boxes.
#pragma once

#include <string>

namespace platform {

// Styles and answers as the game uses them.
namespace mb {
constexpr int OkOnly = 0, RetryCancel = 5, Critical = 16, Information = 64;
constexpr int AnswerOk = 1, AnswerCancel = 2, AnswerRetry = 4;

constexpr bool OffersRetry(int style) {
  return (style & 0x0F) == RetryCancel;
}
// The answer a box gets when nobody can answer it.
constexpr int DefaultAnswer(int style) {
  return OffersRetry(style) ? AnswerCancel : AnswerOk;
}
}  // namespace mb

// A box as it was shown: title, text and style.
struct RecordedMessage {
  std::string title, text;
  int style = 0;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a modal box and returns the answer; also writes the text to standard error so
  // that a run without a display still says what happened.
  virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
};

}  // namespace platform
