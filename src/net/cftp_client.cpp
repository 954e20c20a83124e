// CFtpClient's public face: construction, properties, and the methods that start a command
// sequence. Replies are handled in cftp_control.cpp, transfers in cftp_transfer.cpp.
#include "net/cftp_client.h"

#include <algorithm>

namespace net {

CFtpClient::CFtpClient(platform::NetLoop& loop)
    : loop_(loop), m_objControlSocket(loop), m_objDataSocket(loop), m_objTimeOut(loop) {
  m_objTimeOut.SetTimeOutValue(60);
  WireEvents();
}

CFtpClient::~CFtpClient() {
  life_.reset();
  m_objTimeOut.StopTimer();
}

// ---- properties -----------------------------------------------------------------------

bool CFtpClient::DataTransferInProgress() const {
  return pending_ == kDownloadFile || pending_ == kUploadFile || pending_ == kEnumFiles;
}

bool CFtpClient::Busy() const {
  return session_state_ != 0 && session_state_ != 1;
}

std::string CFtpClient::FtpServerMessage() {
  std::string message;
  message.swap(server_message_);
  return message;
}

void CFtpClient::SetSendBufferLenght(int16_t bytes) {
  if (bytes < 512 || bytes > 8192) {
    throw NetError(kErrInvalidProperty, "CFtpClient.SendBufferLenght", "Invalid property value.");
  }
  send_buffer_lenght_ = bytes;
}

void CFtpClient::SetRemotePort(int32_t port) {
  if (port < 1 || port > 65535) {
    throw NetError(kErrInvalidProperty, "CFtpClient.RemotePort", "Invalid property value.");
  }
  remote_port_ = port;
}

int16_t CFtpClient::TimeOut() const {
  return static_cast<int16_t>(m_objTimeOut.TimeOutValue());
}

void CFtpClient::SetTimeOut(int16_t intSeconds) {
  m_objTimeOut.SetTimeOutValue(intSeconds);
}

// ---- starting and ending methods ------------------------------------------------------

void CFtpClient::StartMethod(Method method, const char* name,
                             std::initializer_list<const std::string*> required) {
  const std::string source = std::string("CFtpClient.") + name;
  if (pending_ != kNone) {
    throw NetError(kFtpErrMethodPending, source,
                   std::string("Cannot execute the ") + name + " method. " +
                       "Waiting fot the server response on the previous command.");
  }
  for (const std::string* argument : required) {
    if (argument->empty()) {
      throw NetError(kErrInvalidCall, source, "Invalid procedure call or argument");
    }
  }
  Begin(method);
}

void CFtpClient::Begin(Method method) {
  last_error_.Clear();
  pending_ = method;
  ++method_serial_;
  ++moves_;
  m_objTimeOut.StartTimer();
}

// Sends a method's first command, or, while late replies of an earlier method are still
// owed, a NOOP that brings us back in step, holding the command until NOOP is answered. A
// failure here ends the method again (so the client is not left waiting for a reply that
// cannot come) and reaches the caller wrapped.
void CFtpClient::SendFirstCommand(const char* name, const std::string& command,
                                  const std::string& argument) {
  try {
    if (NeedsSync()) {
      first_command_held_ = true;
      held_command_ = command;
      held_argument_ = argument;
      if (owed_.back() != "NOOP") SendFtpCommand("NOOP");
      return;
    }
    SendFtpCommand(command, argument);
  } catch (const NetError& e) {
    StopMethod();
    AbortTransfer();
    throw NetError(e.Number, e.Source,
                   std::string("CFtpClient.") + name + " failed: " + e.Description);
  }
}

void CFtpClient::StopMethod() {
  m_objTimeOut.StopTimer();
  pending_ = kNone;
  first_command_held_ = false;
  data_error_ = 0;
  ++moves_;
}

// Reports the end of a method whose work is done: state 0, then its completion event. The
// completion follows unless a handler of the state change destroyed the client.
void CFtpClient::Finish(int32_t method, int32_t status) {
  std::weak_ptr<char> token = life_;
  SetSessionState(0);
  if (token.expired()) return;
  RaiseCompletion(method, status);
}

void CFtpClient::FinishWithError(int32_t method, int32_t number, const std::string& source,
                                 const std::string& description) {
  last_error_.Number = number;
  last_error_.Source = source;
  last_error_.Description = description;
  Finish(method, kFailed);
}

bool CFtpClient::SetSessionState(int32_t state) {
  session_state_ = state;
  return Raise(OnStateChange, state);
}

bool CFtpClient::RaiseCompletion(int32_t method, int32_t status) {
  switch (method) {
    case kConnect:
      return Raise(OnConnect, status);
    case kGetCurrentDirectory:
      return Raise(OnGetCurrentDirectory, status);
    case kSetCurrentDirectory:
      return Raise(OnSetCurrentDirectory, status);
    case kCreateDirectory:
      return Raise(OnCreateDirectory, status);
    case kRemoveDirectory:
      return Raise(OnRemoveDirectory, status);
    case kRenameFile:
      return Raise(OnRenameFile, status);
    case kDeleteFile:
      return Raise(OnDeleteFile, status);
    case kDownloadFile:
      return Raise(OnDownloadFile, status);
    case kUploadFile:
      return Raise(OnUploadFile, status);
    case kEnumFiles:
      return Raise(OnEnumFiles, status);
    case kQuitSession:
      return Raise(OnQuitSession, status);
    default:
      return true;
  }
}

// ---- methods --------------------------------------------------------------------------

void CFtpClient::Connect() {
  if (ftp_server_.empty()) {
    throw NetError(kErrInvalidProperty, "CFtpClient.Connect", "Invalid property value.");
  }
  // A session that stands is never dropped silently for a new one.
  if (pending_ == kNone && m_objControlSocket.State() == CSocket::sckConnected) {
    throw NetError(10056, "CSocket.Connect",
                   "CFtpClient.Connect failed: " + GetErrorDescription(10056));
  }
  StartMethod(kConnect, "Connect");
  if (user_name_.empty()) {
    user_name_ = "anonymous";
    password_ = kAnonymousPassword;
  }
  try {
    reply_buffer_.clear();
    last_command_.clear();
    ForgetOwedReplies();
    owed_.push_back(std::string());  // a new connection owes us its greeting
    if (m_objControlSocket.State() != CSocket::sckClosed) m_objControlSocket.CloseSocket();
    m_objControlSocket.Connect(ftp_server_, remote_port_);
  } catch (const NetError& e) {
    StopMethod();
    throw NetError(e.Number, e.Source, "CFtpClient.Connect failed: " + e.Description);
  }
  // Raised last: the socket reports only from the loop, so nothing can come before it.
  SetSessionState(2);
}

void CFtpClient::SetCurrentDirectory(const std::string& strDirectoryPath) {
  StartMethod(kSetCurrentDirectory, "SetCurrentDirectory", {&strDirectoryPath});
  SendFirstCommand("SetCurrentDirectory", "CWD", strDirectoryPath);
}

void CFtpClient::GetCurrentDirectory() {
  StartMethod(kGetCurrentDirectory, "GetCurrentDirectory");
  SendFirstCommand("GetCurrentDirectory", "PWD", "");
}

void CFtpClient::CreateDirectory(const std::string& strDirectoryPath) {
  StartMethod(kCreateDirectory, "CreateDirectory", {&strDirectoryPath});
  SendFirstCommand("CreateDirectory", "MKD", strDirectoryPath);
}

void CFtpClient::RemoveDirectory(const std::string& strDirectoryPath) {
  StartMethod(kRemoveDirectory, "RemoveDirectory", {&strDirectoryPath});
  SendFirstCommand("RemoveDirectory", "RMD", strDirectoryPath);
}

void CFtpClient::DeleteFile(const std::string& strFilePath) {
  StartMethod(kDeleteFile, "DeleteFile", {&strFilePath});
  SendFirstCommand("DeleteFile", "DELE", strFilePath);
}

void CFtpClient::RenameFile(const std::string& strOldFileName, const std::string& strNewFileName) {
  StartMethod(kRenameFile, "RenameFile", {&strOldFileName, &strNewFileName});
  rename_to_ = strNewFileName;
  SendFirstCommand("RenameFile", "RNFR", strOldFileName);
}

void CFtpClient::QuitSession() {
  StartMethod(kQuitSession, "QuitSession");
  SendFirstCommand("QuitSession", "QUIT", "");
}

// Ends whatever runs (with nothing running, it still reports the idle state). Replies the
// cancelled method still has coming are owed and passed over when they arrive.
void CFtpClient::CancelAsyncMethod() {
  const int32_t method = pending_;
  StopMethod();
  AbortTransfer();
  // A half-made login is no session: cancelling it closes the connection.
  if (method == kConnect) CloseControlQuietly();
  Finish(method, kCancelled);
}

// Ends whatever runs and closes the connection, reporting only the idle state: the close is
// ours, so nobody needs telling that the connection is gone.
void CFtpClient::CloseControlConnection() {
  StopMethod();
  AbortTransfer();
  CloseControlQuietly();
  SetSessionState(0);
}

}  // namespace net
