// Which command a reply answers. Every command gets exactly one final reply (200 and up),
// maybe after preliminary ones (1xx), and a server answers in order; so the client keeps the
// commands whose final reply is still owed, oldest first, and gives each reply to the oldest.
// Only a reply to the last command sent is acted on; late ones (of a method that was
// cancelled, or ended on a broken data connection) are passed over.
//
// To get back in step after such a method, the next one sends NOOP first. A server that never
// answered the late command at all would leave us one reply behind for good; NOOP's "200"
// tells: a 200 can only answer NOOP, TYPE or PORT, so while the oldest owed command is none
// of these, a 200 means every reply before NOOP's was left out.
#include <algorithm>

#include "net/cftp_client.h"

namespace net {
namespace {

bool MayBeAnsweredBy200(const std::string& command) {
  return command == "NOOP" || command == "TYPE" || command == "PORT";
}

}  // namespace

CFtpClient::ReplyTo CFtpClient::AttributeReply(int code) {
  if (owed_.empty()) return ReplyTo::Unsolicited;
  if (code < 200) {  // preliminary: the oldest command is still owed its final reply
    return owed_.size() == 1 && owed_.front() != "NOOP" ? ReplyTo::Current : ReplyTo::Stale;
  }
  auto answered = owed_.begin();
  if (code == 200 && !MayBeAnsweredBy200(owed_.front())) {
    const auto noop = std::find(owed_.begin(), owed_.end(), "NOOP");
    if (noop != owed_.end()) answered = noop;
  }
  const bool noop = *answered == "NOOP";
  owed_.erase(owed_.begin(), answered + 1);
  if (!owed_.empty()) return ReplyTo::Stale;
  if (noop) return first_command_held_ ? ReplyTo::SyncDone : ReplyTo::Stale;
  return ReplyTo::Current;
}

bool CFtpClient::NeedsSync() const {
  return !owed_.empty();
}

void CFtpClient::ForgetOwedReplies() {
  owed_.clear();
  first_command_held_ = false;
}

}  // namespace net
