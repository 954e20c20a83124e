// The exchange window's handlers of the client's events: each success leads to the next
// step, each failure to its Retry/Cancel box, and the session state to the label.
#include <array>

#include "highscores/highscore_file.h"
#include "highscores/highscores_window.h"

namespace brikka {

namespace {

using Status = net::CFtpClient::Status;
// The session state of a download under way.
constexpr int32_t kRetrievingData = 15;

// The label's caption for each session state from 0 to 18; 1 has none of its own (it asks
// the "Failed To Connect" box instead).
constexpr std::array<const char*, 19> kCaptions = {
    "Waiting...",
    "",
    "Connecting to Game Server...",
    "Connected",
    "Authentication in progress...",
    "Logged in successfully",
    "Finding Directory...",
    "Deleting file...",
    "Removing directory...",
    "Creating directory...",
    "Renaming file...",
    "Establishing data connection...",
    "Data connection established",
    "Retrieving directory info...",
    "Directory info retrieved",
    "Retrieving Data in progress...",
    "Data Retrieved",
    "Updating the Game Server in progress...",
    "Updating complete",
};

}  // namespace

void Highscores::WireEvents() {
  net::CFtpClient& c = *m_objFtpClient;
  // Events of a client we have let go, or that come while we unload, find nobody home.
  auto to = [this](void (Highscores::*handler)(int32_t)) {
    return [this, handler](int32_t value) {
      if (loaded_) (this->*handler)(value);
    };
  };
  c.OnConnect = to(&Highscores::m_objFtpClient_OnConnect);
  c.OnSetCurrentDirectory = to(&Highscores::m_objFtpClient_OnSetCurrentDirectory);
  c.OnGetCurrentDirectory = to(&Highscores::m_objFtpClient_OnGetCurrentDirectory);
  c.OnEnumFiles = to(&Highscores::m_objFtpClient_OnEnumFiles);
  c.OnDownloadFile = to(&Highscores::m_objFtpClient_OnDownloadFile);
  c.OnUploadFile = to(&Highscores::m_objFtpClient_OnUploadFile);
  c.OnStateChange = to(&Highscores::m_objFtpClient_OnStateChange);
  c.OnDataTransferProgress = [this](int64_t bytes) {
    if (loaded_) m_objFtpClient_OnDataTransferProgress(bytes);
  };
}

// A method that timed out is still waiting on the server, and would time out again every
// period; it is cancelled, and its cancellation is what the window answers.
bool Highscores::TimedOut(int32_t AsyncResultStatus) {
  if (AsyncResultStatus != Status::kTimedOut) return false;
  m_objFtpClient->CancelAsyncMethod();
  return true;
}

void Highscores::m_objFtpClient_OnConnect(int32_t AsyncResultStatus) {
  if (TimedOut(AsyncResultStatus)) return;
  if (AsyncResultStatus == Status::kSuccess) {
    return Call(&net::CFtpClient::EnumFiles, &Highscores::m_objFtpClient_OnEnumFiles);
  }
  AskRetry("Failed To Connect", &Highscores::Reconnect);
}

void Highscores::m_objFtpClient_OnSetCurrentDirectory(int32_t AsyncResultStatus) {
  if (TimedOut(AsyncResultStatus)) return;
  if (AsyncResultStatus == Status::kSuccess) {
    return Call(&net::CFtpClient::GetCurrentDirectory,
                &Highscores::m_objFtpClient_OnGetCurrentDirectory);
  }
  AskRetry("Failed To Set Directory", &Highscores::Reconnect);
}

void Highscores::m_objFtpClient_OnGetCurrentDirectory(int32_t AsyncResultStatus) {
  if (TimedOut(AsyncResultStatus)) return;
  if (AsyncResultStatus == Status::kSuccess) {
    return Call(&net::CFtpClient::EnumFiles, &Highscores::m_objFtpClient_OnEnumFiles);
  }
  AskRetry("Failed To Find Directory", [](Highscores& w) {
    w.Call(&net::CFtpClient::GetCurrentDirectory,
           &Highscores::m_objFtpClient_OnGetCurrentDirectory);
  });
}

// The listing only shows the server is answering: whatever its outcome, the next step
// follows a second later.
void Highscores::m_objFtpClient_OnEnumFiles(int32_t AsyncResultStatus) {
  if (TimedOut(AsyncResultStatus)) return;
  Timer1->SetEnabled(true);
}

void Highscores::m_objFtpClient_OnDownloadFile(int32_t AsyncResultStatus) {
  if (TimedOut(AsyncResultStatus)) return;
  if (AsyncResultStatus == Status::kSuccess && TakeDownload()) {
    flags_.HighscoresAvailable = true;
    return Form_Unload();
  }
  AskRetry("Failed To Retrieve Data", &Highscores::Reconnect);
}

// However an upload ends, the window goes; the flag stays as it was.
void Highscores::m_objFtpClient_OnUploadFile(int32_t AsyncResultStatus) {
  if (TimedOut(AsyncResultStatus)) return;
  if (AsyncResultStatus != Status::kSuccess) {
    MsgBox("Failed To Update the Game Server", platform::mb::RetryCancel);
  }
  Form_Unload();
}

void Highscores::m_objFtpClient_OnStateChange(int32_t SessionState) {
  this->SessionState = SessionState;
  if (SessionState == 1) {
    AskRetry("Failed To Connect", &Highscores::Reconnect);
    if (loaded_) SetCaption("");
    return;
  }
  const bool known = SessionState >= 0 && SessionState < static_cast<int32_t>(kCaptions.size());
  SetCaption(known ? kCaptions[SessionState] : "");
}

// A table is a few kilobytes: a download growing past what a table can weigh is not one,
// and is stopped before it fills the disk.
void Highscores::m_objFtpClient_OnDataTransferProgress(int64_t bytes) {
  if (bytes > static_cast<int64_t>(kMaxHighscoreFileBytes) &&
      m_objFtpClient->FtpSessionState() == kRetrievingData) {
    m_objFtpClient->CancelAsyncMethod();
  }
}

void Highscores::AskRetry(const char* text, const std::function<void(Highscores&)>& retry) {
  if (MsgBox(text, platform::mb::RetryCancel) == platform::mb::AnswerRetry) return retry(*this);
  flags_.HighscoresAvailable = false;
  Form_Unload();
}

}  // namespace brikka
