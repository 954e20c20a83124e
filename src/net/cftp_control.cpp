// CFtpClient's control connection: sending commands, gathering replies, and acting on each
// complete reply by the pending method and the last command sent. Also the failures that
// end a method (refused replies, socket errors, the server hanging up) and the time-out.
#include <string_view>

#include "net/cftp_client.h"
#include "net/ftp_reply.h"

namespace net {
namespace {

const char kFtpSource[] = "NetXferLib.CFtpClient";
const char kDirectoryUnreadable[] =
    "Cannot retrieve the current directory path. Unexpected server response.";

// The session state a command puts the client in, or -1 to leave it as it is.
int32_t StateForCommand(std::string_view command, int32_t pending) {
  if (command == "USER" || command == "PASS") return 4;
  if (command == "PWD" || command == "LIST") return 13;
  if (command == "CWD") return 6;
  if (command == "DELE") return 7;
  if (command == "RMD") return 8;
  if (command == "MKD") return 9;
  if (command == "RNFR") return 10;
  if (command == "RETR") return 15;
  if (command == "STOR") return 17;
  if (command == "QUIT") return 19;
  if (command == "TYPE" || command == "PASV" || command == "PORT" || command == "REST") {
    if (pending == CFtpClient::kEnumFiles) return 13;
    if (pending == CFtpClient::kDownloadFile) return 15;
    if (pending == CFtpClient::kUploadFile) return 17;
  }
  return -1;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

void CFtpClient::WireEvents() {
  auto& control = m_objControlSocket;
  control.OnConnect = [this] { ControlSocket_OnConnect(); };
  control.OnDataArrival = [this](int32_t) { ControlSocket_OnDataArrival(); };
  control.OnClose = [this] { ControlSocket_OnClose(); };
  control.OnError = [this](int16_t number, const std::string& description, int32_t,
                           const std::string&, const std::string&, int32_t,
                           bool&) { ControlSocket_OnError(number, description); };
  auto& data = m_objDataSocket;
  data.OnConnect = [this] { DataSocket_OnConnect(); };
  data.OnConnectionRequest = [this](int32_t id) { DataSocket_OnConnectionRequest(id); };
  data.OnDataArrival = [this](int32_t) { DataSocket_OnDataArrival(); };
  data.OnSendComplete = [this] { DataSocket_OnSendComplete(); };
  data.OnClose = [this] { DataSocket_OnClose(); };
  data.OnError = [this](int16_t number, const std::string& description, int32_t, const std::string&,
                        const std::string&, int32_t,
                        bool&) { DataSocket_OnError(number, description); };
  m_objTimeOut.TimeOut = [this] { TimeOut_TimeOut(); };
}

void CFtpClient::SendFtpCommand(const std::string& command, const std::string& argument) {
  if (m_objControlSocket.State() != CSocket::sckConnected) {
    throw NetError(kFtpErrNotConnected, "CFtpClient.SendFtpCommand",
                   "The connection is not established.");
  }
  // A line break inside a name would smuggle a second command onto the wire.
  if (HasLineBreak(argument)) {
    throw NetError(kErrInvalidCall, "CFtpClient.SendFtpCommand",
                   "Invalid procedure call or argument");
  }
  reply_buffer_.clear();
  if (int32_t state = StateForCommand(command, pending_); state >= 0) SetSessionState(state);
  const std::string line = argument.empty() ? command : command + " " + argument;
  last_command_ = command;
  m_objControlSocket.SendData(line + "\r\n");
  Raise(SessionProtocolMessage, 0, line);
}

void CFtpClient::ControlSocket_OnConnect() {
  if (pending_ != kNone) m_objTimeOut.Reset();
  SetSessionState(3);
}

void CFtpClient::ControlSocket_OnDataArrival() {
  if (pending_ != kNone) m_objTimeOut.Reset();
  std::string text;
  m_objControlSocket.GetData(text);
  last_response_ = text;
  reply_buffer_ += text;
  const ReplyScan scan = ScanReply(reply_buffer_);
  if (scan.status == ReplyScan::Status::TooLong) {
    reply_buffer_.clear();
    return FailMethod(10040, "CFtpClient.GetResponseCode", GetErrorDescription(10040), true);
  }
  if (scan.status != ReplyScan::Status::Complete) return;
  if (!scan.server_message.empty() && scan.server_message != "\r\n") {
    server_message_ = scan.server_message;
  }
  // The reply ends with the last complete line; anything after it belongs to the next one,
  // so a reply is acted on once however its bytes arrive.
  const size_t end = reply_buffer_.rfind('\n') + 1;
  current_reply_ = reply_buffer_.substr(0, end);
  reply_buffer_.erase(0, end);
  std::string shown = current_reply_;
  shown.resize(shown.size() >= 2 && shown.compare(shown.size() - 2, 2, "\r\n") == 0
                   ? shown.size() - 2
                   : shown.size() - 1);
  if (!Raise(SessionProtocolMessage, scan.code < 400 ? 1 : 2, shown)) return;
  Guarded("m_objControlSocket_OnDataArrival", [&] { HandleReply(scan.code); });
}

void CFtpClient::HandleReply(int code) {
  switch (pending_) {
    case kNone:
      if (code == 421) CloseControlQuietly();
      return;
    case kConnect:
      return HandleConnectReply(code);
    case kDownloadFile:
    case kUploadFile:
    case kEnumFiles:
      return HandleTransferReply(code);
    default:
      return HandleCommandReply(code);
  }
}

void CFtpClient::HandleConnectReply(int code) {
  const std::string& command = last_command_;
  if (command.empty()) {
    if (code == 220) return SendFtpCommand("USER", user_name_);
    return RaiseFtpError(code, true);
  }
  if (command == "USER") {
    if (code == 230) return LoggedIn();
    if (code == 331) return SendFtpCommand("PASS", password_);
    return RaiseFtpError(code, true);
  }
  if (command == "PASS") {
    if (code == 202 || code == 230) return LoggedIn();
    return RaiseFtpError(code, true);
  }
  if (command == "PWD" && code == 257) {
    if (!TakeDirectory()) {
      return FailMethod(kFtpErrDirectoryUnreadable, kFtpSource, kDirectoryUnreadable, true);
    }
    EndMethod();
    RaiseCompletion(kConnect, kSuccess);
    return;
  }
  RaiseFtpError(code);
}

void CFtpClient::LoggedIn() {
  SetSessionState(5);
  SendFtpCommand("PWD");
}

void CFtpClient::HandleCommandReply(int code) {
  const std::string& command = last_command_;
  if (pending_ == kGetCurrentDirectory && command == "PWD" && code == 257) {
    if (!TakeDirectory())
      return FailMethod(kFtpErrDirectoryUnreadable, kFtpSource, kDirectoryUnreadable);
    EndMethod();
    RaiseCompletion(kGetCurrentDirectory, kSuccess);
    return;
  }
  if (pending_ == kRenameFile && command == "RNFR" && code == 350) {
    return SendFtpCommand("RNTO", rename_to_);
  }
  struct Done {
    int32_t method;
    const char* command;
    int code;
  };
  static constexpr Done kDone[] = {
      {kSetCurrentDirectory, "CWD", 250}, {kCreateDirectory, "MKD", 257},
      {kRemoveDirectory, "RMD", 250},     {kRenameFile, "RNTO", 250},
      {kDeleteFile, "DELE", 250},         {kQuitSession, "QUIT", 221},
  };
  for (const Done& done : kDone) {
    if (done.method == pending_ && command == done.command && done.code == code) {
      const int32_t method = pending_;
      EndMethod();
      if (method == kQuitSession) CloseControlQuietly();
      RaiseCompletion(method, kSuccess);
      return;
    }
  }
  RaiseFtpError(code);
}

// The path between the first two double quotes of a 257 reply, with '/' for '\'.
bool CFtpClient::TakeDirectory() {
  current_directory_.clear();
  if (current_reply_.size() < 7) return false;
  const size_t open = current_reply_.find('"');
  if (open == std::string::npos) return false;
  const size_t close = current_reply_.find('"', open + 1);
  if (close == std::string::npos) return false;
  current_directory_ = current_reply_.substr(open + 1, close - open - 1);
  for (char& c : current_directory_) {
    if (c == '\\') c = '/';
  }
  return true;
}

void CFtpClient::RaiseFtpError(int code, bool close_connection) {
  FailMethod(kFtpErrBase + code, kFtpSource, FtpReplyDescription(code), close_connection);
}

// Ends the running method with status 1 and the given error. With close_connection the
// control connection goes too (the client reports "not connected", not "idle").
void CFtpClient::FailMethod(int32_t number, const std::string& source,
                            const std::string& description, bool close_connection) {
  const int32_t method = pending_;
  if (close_connection) {
    StopMethod();
    CloseControlQuietly();
  } else if (method != kNone) {
    EndMethod();
  }
  AbortTransfer();
  if (method == kNone) return;
  last_error_.Number = number;
  last_error_.Source = source;
  last_error_.Description = description;
  RaiseCompletion(method, kFailed);
}

void CFtpClient::CloseControlQuietly() {
  if (m_objControlSocket.State() != CSocket::sckClosed) {
    try {
      m_objControlSocket.CloseSocket();
    } catch (const NetError&) {
      // The socket is gone either way; a failed shutdown changes nothing for us.
    }
  }
  session_state_ = 1;
}

void CFtpClient::ControlSocket_OnClose() {
  const int32_t method = pending_;
  StopMethod();
  session_state_ = 1;
  if (method != kNone) {
    // The server hung up under a running method: that method failed (a QUIT is done).
    AbortTransfer();
    if (method != kQuitSession) {
      last_error_.Number = 10054;
      last_error_.Source = "CFtpClient.m_objControlSocket_OnClose";
      last_error_.Description = GetErrorDescription(10054);
    }
    if (!RaiseCompletion(method, method == kQuitSession ? kSuccess : kFailed)) return;
    if (pending_ != kNone) return;  // the handler already started something new
  }
  SetSessionState(1);
}

void CFtpClient::ControlSocket_OnError(int32_t number, const std::string& description) {
  const int32_t method = pending_;
  StopMethod();
  AbortTransfer();
  CloseControlQuietly();
  if (method == kNone) return;
  last_error_.Number = number;
  last_error_.Source = "CFtpClient.m_objControlSocket_OnError";
  last_error_.Description = description;
  RaiseCompletion(method, kFailed);
}

// Periodic: while the method stays pending, every period reports it timed out again.
void CFtpClient::TimeOut_TimeOut() {
  if (pending_ != kNone) RaiseCompletion(pending_, kTimedOut);
}

}  // namespace net
