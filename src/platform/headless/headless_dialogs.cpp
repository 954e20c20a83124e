// The scripted message boxes: every box is recorded, and answered from the script's queue.
#include "platform/headless/headless.h"

namespace platform {

int HeadlessDialogs::MsgBox(const std::string& text, int style, const std::string& title) {
  messages_.push_back(RecordedMessage{title, text, style});
  if (answers_.empty()) return mb::DefaultAnswer(style);
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<RecordedMessage> HeadlessDialogs::TakeMessages() {
  std::vector<RecordedMessage> out;
  out.swap(messages_);
  return out;
}

}  // namespace platform
