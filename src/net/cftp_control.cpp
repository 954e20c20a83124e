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

// Sends one command. The state it stands for is reported after the line has gone, and the
// protocol message after that; false when a handler of either destroyed the client or moved
// it on, so the caller must not carry on. A partial reply still in the buffer is kept: it
// belongs to an answer on its way.
bool CFtpClient::SendFtpCommand(const std::string& command, const std::string& argument) {
  if (m_objControlSocket.State() != CSocket::sckConnected) {
    throw NetError(kFtpErrNotConnected, "CFtpClient.SendFtpCommand",
                   "The connection is not established.");
  }
  // A line break inside a name would smuggle a second command onto the wire.
  if (HasLineBreak(argument)) {
    throw NetError(kErrInvalidCall, "CFtpClient.SendFtpCommand",
                   "Invalid procedure call or argument");
  }
  const std::string line = argument.empty() ? command : command + " " + argument;
  last_command_ = command;
  owed_.push_back(command);
  m_objControlSocket.SendData(line + "\r\n");
  std::weak_ptr<char> token = life_;
  bool intact = true;
  if (int32_t state = StateForCommand(command, pending_); state >= 0)
    intact = SetSessionState(state);
  if (token.expired()) return false;
  return Raise(SessionProtocolMessage, 0, line) && intact;
}

void CFtpClient::ControlSocket_OnConnect() {
  if (pending_ != kNone) m_objTimeOut.Reset();
  SetSessionState(3);
}

// Takes every complete reply the text received holds, one at a time, in order.
void CFtpClient::ControlSocket_OnDataArrival() {
  if (pending_ != kNone) m_objTimeOut.Reset();
  std::string text;
  m_objControlSocket.GetData(text);
  last_response_ = text;
  reply_buffer_ += text;
  for (;;) {
    const ReplyScan scan = ScanReply(reply_buffer_);
    if (scan.status == ReplyScan::Status::TooLong) {
      reply_buffer_.clear();
      return FailMethod(10040, "CFtpClient.GetResponseCode", GetErrorDescription(10040), true);
    }
    if (scan.status != ReplyScan::Status::Complete) return;
    if (!scan.server_message.empty() && scan.server_message != "\r\n") {
      server_message_ = scan.server_message;
    }
    current_reply_ = reply_buffer_.substr(0, scan.end);
    reply_buffer_.erase(0, scan.end);
    if (!TakeReply(scan.code)) return;
  }
}

// Shows one reply and acts on it when it answers the command in hand. False when the
// client is gone.
bool CFtpClient::TakeReply(int code) {
  const ReplyTo to = AttributeReply(code);
  std::string shown = current_reply_;
  shown.resize(shown.size() >= 2 && shown.compare(shown.size() - 2, 2, "\r\n") == 0
                   ? shown.size() - 2
                   : shown.size() - 1);
  std::weak_ptr<char> token = life_;
  const bool intact = Raise(SessionProtocolMessage, code < 400 ? 1 : 2, shown);
  if (token.expired()) return false;
  if (!intact) return true;  // a handler moved on: the step this reply was for is gone
  switch (to) {
    case ReplyTo::Current:
      Guarded("m_objControlSocket_OnDataArrival", [&] { HandleReply(code); });
      break;
    case ReplyTo::SyncDone:
      first_command_held_ = false;
      Guarded("m_objControlSocket_OnDataArrival",
              [&] { SendFtpCommand(held_command_, held_argument_); });
      break;
    case ReplyTo::Stale:
    case ReplyTo::Unsolicited:
      // Late answers are passed over, but a server that is closing closes whatever runs.
      if (code == 421) FailMethod(kFtpErrBase + 421, kFtpSource, FtpReplyDescription(421), true);
      break;
  }
  return !token.expired();
}

void CFtpClient::HandleReply(int code) {
  switch (pending_) {
    case kNone:
      if (code == 421) FailMethod(kFtpErrBase + 421, kFtpSource, FtpReplyDescription(421), true);
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
    if (code == 220) return (void)SendFtpCommand("USER", user_name_);
    return RaiseFtpError(code, true);
  }
  if (command == "USER") {
    if (code == 230) return LoggedIn();
    if (code == 331) return (void)SendFtpCommand("PASS", password_);
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
    StopMethod();
    return Finish(kConnect, kSuccess);
  }
  RaiseFtpError(code);
}

void CFtpClient::LoggedIn() {
  if (!SetSessionState(5)) return;
  SendFtpCommand("PWD");
}

void CFtpClient::HandleCommandReply(int code) {
  const std::string& command = last_command_;
  if (pending_ == kGetCurrentDirectory && command == "PWD" && code == 257) {
    if (!TakeDirectory()) {
      return FailMethod(kFtpErrDirectoryUnreadable, kFtpSource, kDirectoryUnreadable);
    }
    StopMethod();
    return Finish(kGetCurrentDirectory, kSuccess);
  }
  if (pending_ == kRenameFile && command == "RNFR" && code == 350) {
    return (void)SendFtpCommand("RNTO", rename_to_);
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
      StopMethod();
      if (method == kQuitSession) CloseControlQuietly();
      return Finish(method, kSuccess);
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
// control connection goes too, before anything is reported, so a handler may reconnect.
void CFtpClient::FailMethod(int32_t number, const std::string& source,
                            const std::string& description, bool close_connection) {
  const int32_t method = pending_;
  StopMethod();
  AbortTransfer();
  if (close_connection) CloseControlQuietly();
  if (method == kNone) {
    if (close_connection) SetSessionState(0);
    return;
  }
  FinishWithError(method, number, source, description);
}

// Closes the control connection without a word: who closes it reports what follows.
void CFtpClient::CloseControlQuietly() {
  if (m_objControlSocket.State() != CSocket::sckClosed) {
    try {
      m_objControlSocket.CloseSocket();
    } catch (const NetError&) {
      // The socket is gone either way; a failed shutdown changes nothing for us.
    }
  }
  reply_buffer_.clear();
  ForgetOwedReplies();
  ++moves_;
}

// The server hung up. A method still running has failed (a QUIT has done its work); then the
// client reports that it is not connected, unless a handler has already moved it on.
void CFtpClient::ControlSocket_OnClose() {
  const int32_t method = pending_;
  StopMethod();
  AbortTransfer();
  reply_buffer_.clear();
  ForgetOwedReplies();
  std::weak_ptr<char> token = life_;
  const uint64_t moves = moves_;
  if (method != kNone) {
    if (method != kQuitSession) {
      last_error_.Number = 10054;
      last_error_.Source = "CFtpClient.m_objControlSocket_OnClose";
      last_error_.Description = GetErrorDescription(10054);
    }
    Finish(method, method == kQuitSession ? kSuccess : kFailed);
    if (token.expired() || moves_ != moves) return;
  }
  SetSessionState(1);
}

// The connection failed under us: it is closed and the method that ran fails (a QUIT gets no
// completion: its connection is gone whatever it would have said).
void CFtpClient::ControlSocket_OnError(int32_t number, const std::string& description) {
  const int32_t method = pending_;
  StopMethod();
  AbortTransfer();
  CloseControlQuietly();
  last_error_.Number = number;
  last_error_.Source = "CFtpClient.m_objControlSocket_OnError";
  last_error_.Description = description;
  if (method >= kConnect && method <= kEnumFiles) return Finish(method, kFailed);
  SetSessionState(0);
}

// Periodic: while the method stays pending, every period reports it timed out again. A
// transfer whose data connection already failed has waited long enough for the server's
// word: it fails with the data connection's error.
void CFtpClient::TimeOut_TimeOut() {
  if (pending_ == kNone) return;
  if (data_error_ != 0) {
    return FailMethod(data_error_, "CFtpClient.m_objDataSocket_OnError", data_error_text_);
  }
  RaiseCompletion(pending_, kTimedOut);
}

}  // namespace net
