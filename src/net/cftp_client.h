// CFtpClient: the asynchronous FTP client. Each method checks its arguments, sends the first
// command of its sequence and returns; the replies drive the sequence on from the network
// loop, and the method's outcome arrives by its completion event with a status (0 success,
// 1 failed, 2 timed out, 3 cancelled). One method runs at a time.
//
// Every event is raised when the client has nothing left to do but raise the events that
// follow it, so a handler may do anything from any event: start the next method, reconnect,
// or destroy the client. A method's completion event always follows the state 0 that ends
// it, unless a handler destroyed the client; other events that would have followed are left
// out once a handler has destroyed the client or moved it on (started, ended or closed
// anything).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/cftp_error.h"
#include "net/csocket.h"
#include "net/ctimeout.h"
#include "net/ftp_listing.h"
#include "net/ftp_local_file.h"
#include "net/net_error.h"

namespace net {

class CFtpClient {
 public:
  // m_lngPendingMethod values.
  enum Method : int32_t {
    kNone = 0,
    kConnect = 1,
    kGetCurrentDirectory = 2,
    kSetCurrentDirectory = 3,
    kCreateDirectory = 4,
    kRemoveDirectory = 5,
    kRenameFile = 6,
    kDeleteFile = 7,
    kDownloadFile = 8,
    kUploadFile = 9,
    kEnumFiles = 10,
    kQuitSession = 11,
  };
  // Completion statuses.
  enum Status : int32_t { kSuccess = 0, kFailed = 1, kTimedOut = 2, kCancelled = 3 };
  // The password an anonymous login gives.
  static constexpr const char* kAnonymousPassword = "player@brikka.invalid";

  explicit CFtpClient(platform::NetLoop& loop);
  ~CFtpClient();
  CFtpClient(const CFtpClient&) = delete;
  CFtpClient& operator=(const CFtpClient&) = delete;

  // Methods.
  void Connect();
  void SetCurrentDirectory(const std::string& strDirectoryPath);
  void GetCurrentDirectory();
  void CreateDirectory(const std::string& strDirectoryPath);
  void RemoveDirectory(const std::string& strDirectoryPath);
  void DeleteFile(const std::string& strFilePath);
  void RenameFile(const std::string& strOldFileName, const std::string& strNewFileName);
  void DownloadFile(const std::string& strRemoteFilePath, const std::string& strLocalFilePath,
                    bool OverWrite);
  void EnumFiles();
  void UploadFile(const std::string& strLocalFile, const std::string& strRemoteFile,
                  int32_t lngStartPosition);
  void QuitSession();
  void CancelAsyncMethod();
  void CloseControlConnection();

  // Properties.
  bool DataTransferInProgress() const;
  bool Busy() const;
  const CFtpFiles& CurrentDirectoryFiles() const { return files_; }
  const std::string& CurrentDirectoryListing() const { return current_listing_; }
  const std::string& CurrentDirectory() const { return current_directory_; }
  std::string FtpServerMessage();  // hands the text out and empties it
  const std::string& FtpServer() const { return ftp_server_; }
  void SetFtpServer(const std::string& server) { ftp_server_ = server; }
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& password) { password_ = password; }
  const std::string& UserName() const { return user_name_; }
  void SetUserName(const std::string& user) { user_name_ = user; }
  bool PassiveMode() const { return passive_mode_; }
  void SetPassiveMode(bool passive) { passive_mode_ = passive; }
  int16_t SendBufferLenght() const { return send_buffer_lenght_; }
  void SetSendBufferLenght(int16_t bytes);  // 512..8192, else error 380
  int32_t RemotePort() const { return remote_port_; }
  void SetRemotePort(int32_t port);  // 1..65535, else error 380
  int32_t TransferMode() const { return transfer_mode_; }
  void SetTransferMode(int32_t mode) { transfer_mode_ = mode; }
  int16_t TimeOut() const;
  void SetTimeOut(int16_t intSeconds);
  int32_t FtpSessionState() const { return session_state_; }
  const std::string& LastServerResponse() const { return last_response_; }
  const CFtpError& LastFtpError() const { return last_error_; }

  // Completion events.
  std::function<void(int32_t AsyncResultStatus)> OnConnect, OnCreateDirectory, OnDeleteFile,
      OnGetCurrentDirectory, OnSetCurrentDirectory, OnRemoveDirectory, OnRenameFile, OnDownloadFile,
      OnUploadFile, OnEnumFiles, OnQuitSession;
  // Bytes done so far in a transfer (64-bit: files may pass 2 GiB).
  std::function<void(int64_t bytes)> OnDataTransferProgress;
  // 0 a command sent, 1 a reply below 400, 2 a reply of 400 or more; and its text.
  std::function<void(int32_t kind, const std::string& text)> SessionProtocolMessage;
  std::function<void(int32_t SessionState)> OnStateChange;

  // The most a listing may hold: a bigger one fails instead of eating the memory.
  static constexpr size_t kMaxListingBytes = 64u << 20;

 private:
  // cftp_client.cpp: starting and ending methods, raising events.
  void StartMethod(Method method, const char* name,
                   std::initializer_list<const std::string*> required = {});
  void Begin(Method method);
  void SendFirstCommand(const char* name, const std::string& command, const std::string& argument);
  void StopMethod();
  void Finish(int32_t method, int32_t status);
  void FinishWithError(int32_t method, int32_t number, const std::string& source,
                       const std::string& description);
  bool SetSessionState(int32_t state);
  bool RaiseCompletion(int32_t method, int32_t status);
  template <class Event, class... Args>
  bool Raise(const Event& event, Args&&... args);

  // cftp_control.cpp: the control connection and its replies.
  void WireEvents();
  bool SendFtpCommand(const std::string& command, const std::string& argument = "");
  void ControlSocket_OnConnect();
  void ControlSocket_OnDataArrival();
  bool TakeReply(int code);
  void ControlSocket_OnClose();
  void ControlSocket_OnError(int32_t number, const std::string& description);
  void TimeOut_TimeOut();
  void HandleReply(int code);
  void HandleConnectReply(int code);
  void HandleCommandReply(int code);
  void LoggedIn();
  bool TakeDirectory();
  void RaiseFtpError(int code, bool close_connection = false);
  void FailMethod(int32_t number, const std::string& source, const std::string& description,
                  bool close_connection = false);
  void CloseControlQuietly();
  template <class Body>
  void Guarded(const char* routine, Body&& body);

  // cftp_replies.cpp: which command each reply answers.
  enum class ReplyTo { Current, Stale, Unsolicited, SyncDone };
  ReplyTo AttributeReply(int code);
  bool NeedsSync() const;
  void ForgetOwedReplies();

  // cftp_transfer.cpp: data connections, local files, listings.
  void HandleTransferReply(int code);
  void OpenDataConnection();
  void SendPORTCommand();
  int32_t GetFreePort();
  void ConnectPassive();
  void ResetTransfer();
  void FailSoon(int32_t number, const std::string& source, const std::string& description);
  void StartTransferCommand();
  void StartUploadData();
  void SendNextBlocks();
  void TryFinishTransfer();
  void FinishDownload();
  void FinishListing();
  void CloseDataConnection();
  void AbortTransfer();
  void DataSocket_OnConnect();
  void DataSocket_OnConnectionRequest(int32_t requestID);
  void DataSocket_OnDataArrival();
  void DataSocket_OnSendComplete();
  void DataSocket_OnClose();
  void DataSocket_OnError(int32_t number, const std::string& description);

  platform::NetLoop& loop_;
  CSocket m_objControlSocket;
  CSocket m_objDataSocket;
  CTimeout m_objTimeOut;
  CFtpError last_error_;
  std::shared_ptr<char> life_ = std::make_shared<char>(0);

  int32_t pending_ = kNone;
  uint64_t method_serial_ = 0;  // counts methods begun, so a late step knows its own
  uint64_t moves_ = 0;          // bumped whenever a method starts or ends or the line closes
  int32_t session_state_ = 1;
  std::string reply_buffer_;   // text received and not yet taken as a reply
  std::string current_reply_;  // the complete reply being acted on
  std::string last_command_;
  std::string last_response_;
  std::string server_message_;
  std::string rename_to_;

  // Replies owed: the commands sent whose final reply has not come, oldest first. More than
  // one is owed only after a method ended without its reply (cancelled, failed on the data
  // connection); those late replies are read and passed over, never taken as answers to a
  // later command. A method that starts while replies are owed sends NOOP first and holds
  // its own first command back until NOOP is answered.
  std::deque<std::string> owed_;
  bool first_command_held_ = false;
  std::string held_command_, held_argument_;

  std::string ftp_server_, user_name_, password_;
  int32_t remote_port_ = 21;
  bool passive_mode_ = false;
  int32_t transfer_mode_ = 1;
  int16_t send_buffer_lenght_ = 1460;
  std::string current_directory_;

  // Transfers.
  std::string remote_file_, local_file_;
  bool overwrite_ = false;
  int64_t start_position_ = 0;
  int64_t bytes_done_ = 0;
  int64_t file_length_ = 0;
  int64_t resume_from_ = 0;   // local length a download resumes after (REST)
  bool data_closed_ = false;  // the server ended the data connection
  bool final_reply_ = false;  // the transfer command's 226/250 arrived
  bool upload_started_ = false;
  bool stor_answered_ = false;  // a 1xx reply to STOR came
  // The data connection failed while the transfer command's reply was still owed: the
  // method waits (under its time-out) for that reply to report the server's own code.
  int32_t data_error_ = 0;
  std::string data_error_text_;
  DownloadSink sink_;
  UploadSource source_;
  std::string block_;       // one upload batch
  std::string data_chunk_;  // the last data taken from the data socket
  std::string listing_;
  std::string current_listing_;
  CFtpFiles files_;
  int32_t last_port_ = 0;
};

// Runs one step of a reply or data handler. A failure inside it cannot reach any caller
// (we are in the loop), so it ends the running method with status 1 instead, described as
// "CFtpClient.<routine> failed: ...".
template <class Body>
void CFtpClient::Guarded(const char* routine, Body&& body) {
  const std::string prefix = std::string("CFtpClient.") + routine;
  try {
    body();
  } catch (const NetError& e) {
    FailMethod(e.Number, e.Source, prefix + " failed: " + e.Description);
  } catch (const std::exception& e) {
    FailMethod(kErrInternal, prefix, prefix + " failed: " + e.what());
  }
}

// Raises an event; true when the client is still there and its handler has not moved it on
// (started, ended or closed anything), so the caller may carry on with what it was doing.
template <class Event, class... Args>
bool CFtpClient::Raise(const Event& event, Args&&... args) {
  std::weak_ptr<char> token = life_;
  const uint64_t moves = moves_;
  if (event) {
    auto handler = event;  // the handler may destroy us, and the member with us
    handler(std::forward<Args>(args)...);
  }
  return !token.expired() && moves_ == moves;  // moves_ is read only while we exist
}

}  // namespace net
