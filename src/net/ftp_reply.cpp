// Reply scanner for the FTP control connection: complete lines only, one reply at a time,
// multi-line replies, the goodbye exception and the size cap.
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

// Takes one line in; true when it ends the reply. `opener` is the code of the "nnn-" line
// that opened a multi-line reply, 0 before one.
bool ScanLine(std::string_view line, ReplyScan& scan, int& opener) {
  if (!StartsWithCode(line)) return false;
  const int code = CodeOf(line);
  if (line.size() > 3 && line[3] == '-') {
    if (opener == 0) opener = code;
    scan.continuation = true;
    scan.server_message.append(line.substr(4));
    scan.server_message.append("\r\n");
    return false;
  }
  const bool final_form = line.size() == 3 || line[3] == ' ';
  if (!final_form || (opener != 0 && code != opener)) return false;
  scan.code = code;
  return true;
}

}  // namespace

ReplyScan ScanReply(std::string_view buffer, size_t max_bytes) {
  ReplyScan scan;
  int opener = 0;
  size_t start = 0;
  // A trailing piece not yet ended by LF is left alone: the rest of it is still on its way.
  for (size_t lf = buffer.find('\n'); lf != std::string_view::npos;
       start = lf + 1, lf = buffer.find('\n', start)) {
    std::string_view line = buffer.substr(start, lf - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ScanLine(line, scan, opener)) {
      scan.status = ReplyScan::Status::Complete;
      scan.end = lf + 1;
      break;
    }
  }
  if (scan.server_message.size() > 2) scan.server_message.resize(scan.server_message.size() - 2);
  if (scan.status == ReplyScan::Status::Complete) return scan;

  // A server saying goodbye may hang up after "221-..." without the final line; waiting for
  // it would only end in a time-out, so the goodbye counts as the whole reply.
  if (opener == 221 && buffer.substr(0, 4) == "221-") {
    scan.status = ReplyScan::Status::Complete;
    scan.code = 221;
    scan.end = start;
    return scan;
  }
  scan.code = 0;
  scan.status =
      buffer.size() > max_bytes ? ReplyScan::Status::TooLong : ReplyScan::Status::Incomplete;
  return scan;
}

}  // namespace net
