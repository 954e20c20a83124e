// libFuzzer entry point for the control-connection reply scanner: it must never crash, and
// its answers must hang together (a finished reply stays finished as more text arrives, and
// is the same reply when scanned alone).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/ftp_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using Status = net::ReplyScan::Status;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const net::ReplyScan whole = net::ScanReply(text);
  if (whole.status == Status::TooLong && size <= net::kMaxReplyBytes) __builtin_trap();
  if (whole.code < 0 || whole.code > 999) __builtin_trap();
  if (whole.status != Status::Complete && whole.code != 0) __builtin_trap();
  // A complete reply ends with a line of its own, and is the same reply scanned alone.
  if (whole.status == Status::Complete) {
    if (whole.end == 0 || whole.end > size || text[whole.end - 1] != '\n') __builtin_trap();
    if (net::ScanReply(text.substr(0, whole.end)).code != whole.code) __builtin_trap();
  }

  // A small cap reaches the TooLong branch within short inputs.
  const size_t cap = size == 0 ? 0 : data[0] % 128;
  const net::ReplyScan capped = net::ScanReply(text, cap);
  if ((capped.status == Status::Complete) != (whole.status == Status::Complete)) __builtin_trap();
  if (capped.status == Status::TooLong && size <= cap) __builtin_trap();

  // What was complete in the first half is still complete once the rest has arrived.
  const net::ReplyScan half = net::ScanReply(text.substr(0, size / 2));
  if (half.status == Status::Complete && whole.status != Status::Complete) __builtin_trap();
  return 0;
}
