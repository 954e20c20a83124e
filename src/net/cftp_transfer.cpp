// CFtpClient's transfers: DownloadFile, UploadFile and EnumFiles, their replies, the data
// connection (passive: we connect to the server; active: it connects to our listener), the
// local file, and the listing. Memory stays flat for any file size: downloads are written as
// they arrive, uploads are read in bounded batches of whole SendBufferLenght blocks.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>

#include "net/cftp_client.h"
#include "platform/net/net_tcp.h"

namespace net {
namespace {

// Bytes queued on the data socket per send completion: a whole number of blocks, large
// enough that the batches keep a fast connection busy.
constexpr size_t kUploadBatchBytes = 1024 * 1024;

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local ? local->tm_year + 1900 : 1970;
}

// The port of a 227 reply: the last two of six numbers h1,h2,h3,h4,p1,p2, found after "("
// or, for servers that leave the parentheses out, from the first digit after the code.
// Throws "Type mismatch" when they are not there.
int32_t PassivePort(const std::string& reply) {
  const size_t open = reply.find('(');
  size_t pos = open != std::string::npos ? open + 1 : reply.find_first_of("0123456789", 4);
  int values[6];
  for (int i = 0; i < 6; ++i) {
    while (pos < reply.size() && reply[pos] == ' ') ++pos;
    int digits = 0, value = 0;
    while (pos < reply.size() && reply[pos] >= '0' && reply[pos] <= '9' && digits < 3) {
      value = value * 10 + (reply[pos++] - '0');
      ++digits;
    }
    while (pos < reply.size() && reply[pos] == ' ') ++pos;
    const bool separated = i == 5 || (pos < reply.size() && reply[pos++] == ',');
    if (digits == 0 || value > 255 || !separated) {
      throw NetError(kErrTypeMismatch, "CFtpClient.ConnectPassive", "Type mismatch");
    }
    values[i] = value;
  }
  const int32_t port = values[4] * 256 + values[5];
  if (port == 0) throw NetError(kErrTypeMismatch, "CFtpClient.ConnectPassive", "Type mismatch");
  return port;
}

}  // namespace

// ---- the three methods ----------------------------------------------------------------

void CFtpClient::DownloadFile(const std::string& strRemoteFilePath,
                              const std::string& strLocalFilePath, bool OverWrite) {
  StartMethod(kDownloadFile, "DownloadFile", {&strRemoteFilePath, &strLocalFilePath});
  ResetTransfer();
  remote_file_ = strRemoteFilePath;
  local_file_ = strLocalFilePath;
  overwrite_ = OverWrite;
  try {
    // Overwriting receives into a file beside the target, so a failed download leaves the
    // copy we had; a resume appends to the target and asks the server to skip what we have.
    resume_from_ = sink_.Open(strLocalFilePath, OverWrite);
  } catch (const NetError& e) {
    return FailSoon(e.Number, e.Source, "CFtpClient.DownloadFile failed: " + e.Description);
  }
  SendFirstCommand("DownloadFile", "TYPE", transfer_mode_ == 0 ? "A" : "I");
}

void CFtpClient::UploadFile(const std::string& strLocalFile, const std::string& strRemoteFile,
                            int32_t lngStartPosition) {
  StartMethod(kUploadFile, "UploadFile", {&strLocalFile, &strRemoteFile});
  ResetTransfer();
  local_file_ = strLocalFile;
  remote_file_ = strRemoteFile;
  start_position_ = std::max<int64_t>(0, lngStartPosition);
  try {
    // A file we cannot read must never become an empty file over the server's copy: the
    // method fails before a single command goes out.
    file_length_ = source_.Open(strLocalFile, start_position_);
  } catch (const NetError& e) {
    return FailSoon(e.Number, e.Source, "CFtpClient.UploadFile failed: " + e.Description);
  }
  SendFirstCommand("UploadFile", "TYPE", transfer_mode_ == 0 ? "A" : "I");
}

void CFtpClient::EnumFiles() {
  StartMethod(kEnumFiles, "EnumFiles");
  ResetTransfer();
  SendFirstCommand("EnumFiles", "TYPE", "A");
}

void CFtpClient::ResetTransfer() {
  bytes_done_ = 0;
  resume_from_ = 0;
  data_closed_ = false;
  final_reply_ = false;
  upload_started_ = false;
  stor_answered_ = false;
  listing_.clear();
}

// Fails the method just begun from the loop, so that its event is not raised from inside
// the call that started it.
void CFtpClient::FailSoon(int32_t number, const std::string& source,
                          const std::string& description) {
  std::weak_ptr<char> token = life_;
  const uint64_t serial = method_serial_;
  loop_.Post([this, token, serial, number, source, description] {
    if (token.expired() || pending_ == kNone || method_serial_ != serial) return;
    FailMethod(number, source, description);
  });
}

// ---- replies --------------------------------------------------------------------------

void CFtpClient::HandleTransferReply(int code) {
  if (data_error_ != 0) {
    // The data connection has already failed; this is the server's word on the transfer.
    if (code < 200) return;
    if (code >= 400) return RaiseFtpError(code);
    return FailMethod(data_error_, "CFtpClient.m_objDataSocket_OnError", data_error_text_);
  }
  const std::string& command = last_command_;
  const bool upload = pending_ == kUploadFile;
  if (command == "TYPE") {
    if (code != 200) return RaiseFtpError(code);
    if (upload && start_position_ > 0) {
      return (void)SendFtpCommand("REST", std::to_string(start_position_));
    }
    return OpenDataConnection();
  }
  if (command == "REST") {
    if (code != 350) return RaiseFtpError(code);
    if (pending_ == kDownloadFile) return (void)SendFtpCommand("RETR", remote_file_);
    return OpenDataConnection();
  }
  if (command == "PASV") return code == 227 ? ConnectPassive() : RaiseFtpError(code);
  if (command == "PORT") return code == 200 ? StartTransferCommand() : RaiseFtpError(code);
  // A restart marker (110) belongs to file transfers; a listing never sends one.
  const bool preliminary = code == 125 || code == 150 || (code == 110 && command != "LIST");
  const bool done = code == 226 || code == 250;
  if (command == "RETR" || command == "LIST") {
    if (preliminary) return;
    if (!done) return RaiseFtpError(code);
    final_reply_ = true;
    return TryFinishTransfer();
  }
  if (command == "STOR") {
    if (preliminary) {
      stor_answered_ = true;
      return StartUploadData();
    }
    if (!done) return RaiseFtpError(code);
    StopMethod();
    AbortTransfer();
    return Finish(kUploadFile, kSuccess);
  }
  RaiseFtpError(code);
}

// The data connection is ready (passive: connected; active: PORT accepted): the transfer
// command goes out.
void CFtpClient::StartTransferCommand() {
  if (pending_ == kDownloadFile) {
    if (resume_from_ > 0) {
      bytes_done_ = resume_from_;
      return (void)SendFtpCommand("REST", std::to_string(resume_from_));
    }
    return (void)SendFtpCommand("RETR", remote_file_);
  }
  if (pending_ == kUploadFile) {
    bytes_done_ = start_position_;
    return (void)SendFtpCommand("STOR", remote_file_);
  }
  if (pending_ == kEnumFiles) SendFtpCommand("LIST");
}

// ---- the data connection --------------------------------------------------------------

void CFtpClient::OpenDataConnection() {
  if (passive_mode_) return (void)SendFtpCommand("PASV");
  SendPORTCommand();
}

void CFtpClient::SendPORTCommand() {
  if (!SetSessionState(11)) return;
  const std::string ip = m_objControlSocket.LocalIP();
  int32_t port = 0;
  for (int attempt = 0;; ++attempt) {
    port = GetFreePort();
    try {
      if (m_objDataSocket.State() != CSocket::sckClosed) m_objDataSocket.CloseSocket();
      m_objDataSocket.SetLocalPort(port);
      m_objDataSocket.Bind(port, ip);
      m_objDataSocket.Listen();
      break;
    } catch (const NetError&) {
      if (attempt >= 100) throw;  // no free port in a long run: give up on this method
    }
  }
  std::string address = ip;
  std::replace(address.begin(), address.end(), '.', ',');
  SendFtpCommand("PORT",
                 address + "," + std::to_string(port / 256) + "," + std::to_string(port % 256));
}

int32_t CFtpClient::GetFreePort() {
  if (last_port_ == 0) {
    std::mt19937 random(static_cast<uint32_t>(std::time(nullptr)) ^ std::random_device()());
    const double fraction = std::uniform_real_distribution<double>(0.0, 1.0)(random);
    last_port_ = static_cast<int32_t>(std::nearbyint(20000.0 + 20001.0 * fraction));
  } else {
    last_port_ = last_port_ >= 65535 ? 20000 : last_port_ + 1;
  }
  return last_port_;
}

void CFtpClient::ConnectPassive() {
  if (!SetSessionState(11)) return;
  const int32_t port = PassivePort(current_reply_);
  if (m_objDataSocket.State() != CSocket::sckClosed) m_objDataSocket.CloseSocket();
  m_objDataSocket.SetLocalPort(0);
  // Whatever host the reply names, the data goes to the host we are talking to: a server
  // must not be able to point our data connection at a third machine.
  m_objDataSocket.Connect(m_objControlSocket.RemoteHostIP(), port);
}

void CFtpClient::CloseDataConnection() {
  if (m_objDataSocket.State() == CSocket::sckClosed) return;
  try {
    if (m_objDataSocket.State() == CSocket::sckConnected) m_objDataSocket.Shutdown(2);
  } catch (const NetError&) {
    // Already shut by the other side; closing is all that is left.
  }
  try {
    m_objDataSocket.CloseSocket();
  } catch (const NetError&) {
  }
}

void CFtpClient::AbortTransfer() {
  CloseDataConnection();
  sink_.Discard();
  source_.Close();
  listing_.clear();
  data_closed_ = false;
  final_reply_ = false;
  upload_started_ = false;
  stor_answered_ = false;
}

// ---- data socket events ---------------------------------------------------------------

void CFtpClient::DataSocket_OnConnect() {
  Guarded("m_objDataSocket_OnConnect", [&] {
    if (DataTransferInProgress()) StartTransferCommand();
  });
}

void CFtpClient::DataSocket_OnConnectionRequest(int32_t requestID) {
  Guarded("m_objDataSocket_OnConnectionRequest", [&] {
    if (!DataTransferInProgress()) return;
    // Only the server we talk to may bring or take the data. Anyone else who reaches the
    // port first is turned away (left unclaimed, so closed) and we go on listening.
    platform::NetEndpoint peer;
    if (!loop_.AcceptedPeer(requestID, peer) || peer.ip != m_objControlSocket.RemoteHostIP()) {
      return;
    }
    if (m_objDataSocket.State() != CSocket::sckClosed) m_objDataSocket.CloseSocket();
    m_objDataSocket.Accept(requestID);
    if (pending_ == kUploadFile) StartUploadData();
  });
}

void CFtpClient::DataSocket_OnDataArrival() {
  if (pending_ != kNone) m_objTimeOut.Reset();
  // The socket's buffer and ours trade places, so no block is allocated per arrival.
  std::string& bytes = data_chunk_;
  m_objDataSocket.GetData(bytes);
  if (pending_ == kDownloadFile) {
    std::weak_ptr<char> token = life_;
    Guarded("m_objDataSocket_OnDataArrival", [&] { sink_.Write(bytes.data(), bytes.size()); });
    // A failed write ended the method, and its handler may have destroyed us.
    if (token.expired() || pending_ != kDownloadFile) return;
    bytes_done_ += static_cast<int64_t>(bytes.size());
    Raise(OnDataTransferProgress, bytes_done_);
  } else if (pending_ == kEnumFiles) {
    // A listing is held whole until it is parsed: past the cap it fails rather than grows.
    if (bytes.size() > kMaxListingBytes - listing_.size()) {
      return FailMethod(10040, "CFtpClient.m_objDataSocket_OnDataArrival",
                        GetErrorDescription(10040) + " The listing passed " +
                            std::to_string(kMaxListingBytes >> 20) + " MiB.");
    }
    if (listing_.empty()) {
      listing_.swap(bytes);  // the first block is taken over, not copied
    } else {
      listing_ += bytes;
    }
    Raise(OnDataTransferProgress, static_cast<int64_t>(listing_.size()));
  }
}

void CFtpClient::DataSocket_OnSendComplete() {
  if (pending_ != kUploadFile) return;
  m_objTimeOut.Reset();
  if (!Raise(OnDataTransferProgress, bytes_done_)) return;
  Guarded("m_objDataSocket_OnSendComplete", [&] { SendNextBlocks(); });
}

// The file goes out once the server has answered STOR and the data connection stands, in
// whichever order those come (some servers connect as soon as they see PORT).
void CFtpClient::StartUploadData() {
  if (upload_started_ || !stor_answered_) return;
  if (m_objDataSocket.State() != CSocket::sckConnected) return;
  SendNextBlocks();
}

// Queues the next batch of the upload; when the whole file has gone, closes the file and
// the data connection so that the server answers STOR.
void CFtpClient::SendNextBlocks() {
  if (pending_ != kUploadFile || m_objDataSocket.State() != CSocket::sckConnected) return;
  upload_started_ = true;
  const size_t block = static_cast<size_t>(send_buffer_lenght_);
  const size_t batch = block * std::max<size_t>(1, kUploadBatchBytes / block);
  const int64_t left = file_length_ - bytes_done_;
  size_t got = 0;
  if (left > 0) {
    block_.resize(static_cast<size_t>(std::min<int64_t>(left, batch)));
    got = source_.Read(block_.data(), block_.size());
    block_.resize(got);
  }
  if (got == 0) {  // everything sent (or the file ended early)
    source_.Close();
    CloseDataConnection();
    return;
  }
  bytes_done_ += static_cast<int64_t>(got);
  m_objDataSocket.SendData(std::move(block_));  // the socket's spent buffer comes back
}

void CFtpClient::DataSocket_OnClose() {
  if (pending_ != kDownloadFile && pending_ != kEnumFiles) return;
  data_closed_ = true;
  Guarded("m_objDataSocket_OnClose", [&] { TryFinishTransfer(); });
}

// The data connection failed. When the server still owes the transfer command's reply, the
// method waits for it (under its time-out): the server's own code says more than a reset,
// and a reply left unread would be taken for the answer to the next command.
void CFtpClient::DataSocket_OnError(int32_t number, const std::string& description) {
  CloseDataConnection();
  if (!DataTransferInProgress() || data_error_ != 0) return;
  if (!owed_.empty()) {
    data_error_ = number;
    data_error_text_ = description;
    return;
  }
  FailMethod(number, "CFtpClient.m_objDataSocket_OnError", description);
}

// A download or listing is complete only when the server has both closed the data
// connection and confirmed the transfer: a data connection that merely ends (the server
// died, the network dropped) is not a finished file.
void CFtpClient::TryFinishTransfer() {
  if (!data_closed_ || !final_reply_) return;
  if (pending_ == kDownloadFile) return FinishDownload();
  if (pending_ == kEnumFiles) FinishListing();
}

void CFtpClient::FinishDownload() {
  StopMethod();
  try {
    sink_.Commit();
  } catch (const NetError& e) {
    AbortTransfer();
    return FinishWithError(kDownloadFile, e.Number, e.Source,
                           "CFtpClient.DownloadFile failed: " + e.Description);
  }
  AbortTransfer();
  remote_file_.clear();
  local_file_.clear();
  Finish(kDownloadFile, kSuccess);
}

void CFtpClient::FinishListing() {
  StopMethod();
  current_listing_ = std::move(listing_);
  AbortTransfer();
  if (!ParseListing(current_listing_, CurrentYear(), files_)) {
    last_error_.Description = "Unknown listing format.";
    last_error_.Source = "CFtpClient.m_objDataSocket_OnClose";
    return Finish(kEnumFiles, kFailed);
  }
  Finish(kEnumFiles, kSuccess);
}

}  // namespace net
