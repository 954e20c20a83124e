// The descriptions the FTP client gives to refused replies.
#include "net/cftp_error.h"

#include <utility>

namespace net {

std::string FtpReplyDescription(int code) {
  static constexpr std::pair<int, const char*> kTexts[] = {
      {120, "Service ready in nnn minutes."},
      {332, "Need account for login."},
      {350, "Requested file action pending further information."},
      {421, "Service not available, closing control connection."},
      {425, "Can 't open data connection."},
      {426, "Connection closed; transfer aborted."},
      {450, "Requested file action not taken."},
      {451, "Requested action aborted: local error in processing."},
      {452, "Requested action not taken."},
      {500, "Syntax error, command unrecognized."},
      {501, "Syntax error in parameters or arguments."},
      {502, "Command not implemented."},
      {503, "Bad sequence of commands."},
      {504, "Command not implemented for that parameter."},
      {530, "Not logged in."},
      {532, "Need account for storing files."},
      {550, "Requested action not taken."},
      {551, "Requested action aborted: page type unknown."},
      {552, "Requested file action aborted."},
      {553, "Requested action not taken."},
  };
  for (const auto& [number, text] : kTexts) {
    if (number == code) return text;
  }
  return std::string();
}

}  // namespace net
