// CFtpError, the record of the FTP client's last failure, and the texts of refused replies.
#pragma once

#include <cstdint>
#include <string>

namespace net {

class CFtpError {
 public:
  int32_t Number = 0;
  std::string Description;
  std::string Source;

  void Clear() { *this = CFtpError(); }
};

// The description of a refused reply code ("Requested action not taken." for 550), or ""
// for codes without one.
std::string FtpReplyDescription(int code);

// Numbers of the client's own failures.
constexpr int32_t kFtpErrBase = 16000;  // + the reply code of a refused command
constexpr int32_t kFtpErrDirectoryUnreadable = 16001;
constexpr int32_t kFtpErrMethodPending = 16007;
constexpr int32_t kFtpErrNotConnected = 16008;

}  // namespace net
