// Reply scanner for the FTP control connection: decides whether the text gathered so far
// holds a whole reply, and pulls out its code and multi-line message. Pure, no I/O.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace net {

// Where the reply buffer of the control connection stands.
struct ReplyScan {
  enum class Status { Incomplete, Complete, TooLong };
  Status status = Status::Incomplete;
  int code = 0;                // the final line's code when Complete, else 0
  bool continuation = false;   // a "nnn-" line was seen
  std::string server_message;  // continuation lines from their 5th character, joined by CR LF,
                               // the last CR LF removed when longer than 2 characters
};

constexpr size_t kMaxReplyBytes = 64 * 1024;

// Scans the text gathered since the last command. Only complete lines (ended by LF, CR LF
// stripped) count; a line whose first three characters are digits and whose fourth is '-'
// is a continuation line; one whose fourth is a space (or that is exactly three digits) is a
// final line: the last such line gives the code. TooLong when the buffer exceeds max_bytes
// without a final line.
//
// A server saying goodbye ("221-...") may close the connection without ever sending the
// final "221 " line, so a buffer that begins with a complete "221-" line counts as Complete
// with code 221 even when no final line has arrived.
ReplyScan ScanReply(std::string_view buffer, size_t max_bytes = kMaxReplyBytes);

}  // namespace net
