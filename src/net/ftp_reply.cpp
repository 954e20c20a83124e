// Reply scanner for the FTP control connection: complete lines only, multi-line replies,
// the goodbye exception and the size cap.
#include "net/ftp_reply.h"

namespace net {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool StartsWithCode(std::string_view line) {
  return line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
}

int CodeOf(std::string_view line) {
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// Takes one line in: a continuation adds to the message, a final line sets the code.
void ScanLine(std::string_view line, ReplyScan& scan, bool& final_seen) {
  if (!StartsWithCode(line)) return;
  if (line.size() == 3 || line[3] == ' ') {
    scan.code = CodeOf(line);
    final_seen = true;
  } else if (line[3] == '-') {
    scan.continuation = true;
    scan.server_message.append(line.substr(4));
    scan.server_message.append("\r\n");
  }
}

}  // namespace

ReplyScan ScanReply(std::string_view buffer, size_t max_bytes) {
  ReplyScan scan;
  bool final_seen = false;
  size_t start = 0;
  // A trailing piece not yet ended by LF is left alone: the rest of it is still on its way.
  for (size_t lf = buffer.find('\n'); lf != std::string_view::npos;
       start = lf + 1, lf = buffer.find('\n', start)) {
    std::string_view line = buffer.substr(start, lf - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ScanLine(line, scan, final_seen);
  }
  if (scan.server_message.size() > 2) scan.server_message.resize(scan.server_message.size() - 2);

  // A server saying goodbye may hang up after "221-..." without the final line; waiting for
  // it would only end in a time-out, so the goodbye counts as the whole reply.
  const bool goodbye = scan.continuation && buffer.substr(0, 4) == "221-";
  if (final_seen) {
    scan.status = ReplyScan::Status::Complete;
  } else if (goodbye) {
    scan.status = ReplyScan::Status::Complete;
    scan.code = 221;
  } else {
    scan.code = 0;
    scan.status =
        buffer.size() > max_bytes ? ReplyScan::Status::TooLong : ReplyScan::Status::Incomplete;
  }
  return scan;
}

}  // namespace net
