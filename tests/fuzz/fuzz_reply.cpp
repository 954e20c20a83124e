// Fuzz target: the control-connection reply scanner must never crash, and its answers must
// hang together (a finished reply stays finished as more text arrives, and is the same reply
// when scanned alone).
#include "fuzz_check.h"
#include "net/ftp_reply.h"

void fuzz::Reply(std::string_view text) {
  using Status = net::ReplyScan::Status;
  const size_t size = text.size();
  const net::ReplyScan whole = net::ScanReply(text);
  FUZZ_CHECK(whole.status != Status::TooLong || size > net::kMaxReplyBytes);
  FUZZ_CHECK(whole.code >= 0 && whole.code <= 999);
  FUZZ_CHECK(whole.status == Status::Complete || whole.code == 0);
  // A complete reply ends with a line of its own, and is the same reply scanned alone.
  if (whole.status == Status::Complete) {
    FUZZ_CHECK(whole.end > 0 && whole.end <= size && text[whole.end - 1] == '\n');
    FUZZ_CHECK(net::ScanReply(text.substr(0, whole.end)).code == whole.code);
  }

  // A small cap reaches the TooLong branch within short inputs.
  const size_t cap = size == 0 ? 0 : static_cast<unsigned char>(text[0]) % 128;
  const net::ReplyScan capped = net::ScanReply(text, cap);
  FUZZ_CHECK((capped.status == Status::Complete) == (whole.status == Status::Complete));
  FUZZ_CHECK(capped.status != Status::TooLong || size > cap);

  // What was complete in the first half is still complete once the rest has arrived.
  const net::ReplyScan half = net::ScanReply(text.substr(0, size / 2));
  FUZZ_CHECK(half.status != Status::Complete || whole.status == Status::Complete);
}

FUZZ_ENTRY(fuzz::Reply)
