// Reply scanner for the FTP control connection: decides whether the text gathered so far
// begins with a whole reply, and pulls out its code, its length and its multi-line message.
// Pure, no I/O.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace net {

// Where the reply buffer of the control connection stands.
struct ReplyScan {
  enum class Status { Incomplete, Complete, TooLong };
  Status status = Status::Incomplete;
  int code = 0;                // the first reply's code when Complete, else 0
  size_t end = 0;              // when Complete: the bytes the first reply takes, through its LF
  bool continuation = false;   // a "nnn-" line was seen
  std::string server_message;  // continuation lines from their 5th character, joined by CR LF,
                               // the last CR LF removed when longer than 2 characters
};

constexpr size_t kMaxReplyBytes = 64 * 1024;

// Scans the text gathered on the control connection for its first reply. Only complete
// lines (ended by LF, CR LF stripped) count. A line of three digits and a space (or of three
// digits alone) is a one-line reply; one of three digits and '-' opens a multi-line reply,
// which ends at the first line of the same three digits and a space: lines in between, even
// ones that start with other digits, are its text. Lines that start with no code before a
// reply are passed over. Everything after the first reply is left for the next scan, so two
// replies that arrive together are two replies. TooLong when the buffer exceeds max_bytes
// without a complete first reply.
//
// A server saying goodbye ("221-...") may close the connection without ever sending the
// final "221 " line, so a buffer that begins with a complete "221-" line counts as Complete
// with code 221 (taking every complete line) even when no final line has arrived.
ReplyScan ScanReply(std::string_view buffer, size_t max_bytes = kMaxReplyBytes);

}  // namespace net
