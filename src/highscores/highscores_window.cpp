// The exchange window's life: loading (the information box, then the connection), Timer1's
// steps, taking a downloaded table, unloading, and the loop that shows the window.
#include "highscores/highscores_window.h"

#include <algorithm>
#include <filesystem>

#include "highscores/highscore_file.h"
#include "platform/files.h"

namespace brikka {

namespace {
constexpr const char* kTitle = "Brikka";
constexpr const char* kFirstCaption = "Connecting to Game Server...";
// The server's table is received beside ours under this name and takes its place only once
// it has been read as a table.
constexpr const char* kDownloadName = "brikka_highscores.ini.download";
// While the window waits on the network, the pump runs at least this often.
constexpr int32_t kIdleMs = 10;
}  // namespace

Highscores::Highscores(platform::Platform& plat, platform::TimerHost& timers, HighscoreFlags& flags,
                       ExchangeSetup setup)
    : plat_(plat), timers_(timers), flags_(flags), setup_(std::move(setup)) {}

Highscores::~Highscores() = default;

void Highscores::Form_Load() {
  loaded_ = true;
  platform::LabelWindowLook look;
  look.title = kFirstCaption;
  look.caption = kFirstCaption;
  look.font = "Arial";
  window_ = plat_.video->CreateLabelWindow(look);
  if (window_) window_->SetCloseHandler([this] { Form_Unload(); });
  Timer1 = std::make_unique<platform::Timer>(timers_, "Timer1", 1000, [this] { Timer1_Timer(); });
  if (flags_.HighscoreDownloadMode) {
    MsgBox(std::string("The Game will update the Highscores list,") + "\r\n" +
               "Please connect to the internet if you are not connected",
           platform::mb::Information);
  } else {
    MsgBox("The Game will restore after updating the Game's server.", platform::mb::Information);
  }
  ExchangeStep = 1;
  cmdGet_Click();
}

// Unloading may come from inside a handler of the client or of the window itself: the
// client goes at once (it allows that from any of its events), the label window and Timer1
// stay, quiet, until the window object goes.
void Highscores::Form_Unload() {
  if (!loaded_) return;
  loaded_ = false;
  Timer1->SetEnabled(false);
  if (m_objFtpClient) {
    auto client = std::move(m_objFtpClient);
    client->CloseControlConnection();
  }
  std::error_code ignored;
  std::filesystem::remove(LocalFile(kDownloadName), ignored);
}

void Highscores::cmdGet_Click() {
  m_objFtpClient = std::make_unique<net::CFtpClient>(*plat_.net);
  WireEvents();
  m_objFtpClient->SetFtpServer(setup_.server);
  m_objFtpClient->SetRemotePort(setup_.port);
  m_objFtpClient->SetTimeOut(setup_.time_out);
  m_objFtpClient->SetUserName(kUserName);
  m_objFtpClient->SetPassword(kPassword);
  Call(&net::CFtpClient::Connect, &Highscores::m_objFtpClient_OnConnect);
}

// A new connection logs in at the account's own directory, so the exchange starts again
// from changing to "www": a transfer straight after the login would fetch or replace the
// wrong file. A step the old session armed (a listing ends by arming Timer1, even when a
// hang-up ended it) is not the new one's: it would run while the new one is still logging in.
void Highscores::Reconnect() {
  Timer1->SetEnabled(false);
  ExchangeStep = 1;
  cmdGet_Click();
}

void Highscores::Timer1_Timer() {
  switch (ExchangeStep) {
    case 1:
      Timer1->SetEnabled(false);
      ExchangeStep = flags_.HighscoreDownloadMode ? 2 : 3;
      CallWith([this] { m_objFtpClient->SetCurrentDirectory(kRemoteDirectory); },
               &Highscores::m_objFtpClient_OnSetCurrentDirectory);
      break;
    case 2:
      Timer1->SetEnabled(false);
      StartDownload();
      break;
    case 3:
      Timer1->SetEnabled(false);
      CallWith(
          [this] {
            m_objFtpClient->UploadFile(LocalFile("brikka_highscores1.ini"), kRemoteFile, 0);
          },
          &Highscores::m_objFtpClient_OnUploadFile);
      break;
    default:
      break;
  }
}

void Highscores::StartDownload() {
  CallWith([this] { m_objFtpClient->DownloadFile(kRemoteFile, LocalFile(kDownloadName), true); },
           &Highscores::m_objFtpClient_OnDownloadFile);
}

// The server's file replaces ours only when it reads as a highscore table; anything else
// (an empty file, an error page, a huge file) would put junk over the player's table. The
// replacement is the one every save makes, so a crash midway leaves one table or the other.
bool Highscores::TakeDownload() {
  const std::string received = LocalFile(kDownloadName);
  const std::optional<std::string> table = HighscoreFileFrom(received);
  const bool taken =
      table && platform::ReplaceFileAtomically(LocalFile("brikka_highscores.ini"), *table);
  std::error_code ignored;
  std::filesystem::remove(received, ignored);
  return taken;
}

std::string Highscores::LocalFile(const char* name) const {
  return setup_.data_dir + "/" + name;
}

void Highscores::SetCaption(const std::string& text) {
  if (window_) window_->SetCaption(text);
}

int Highscores::MsgBox(const std::string& text, int style) {
  return plat_.dialogs->MsgBox(text, style, kTitle);
}

void Highscores::Call(void (net::CFtpClient::*method)(), void (Highscores::*failed)(int32_t)) {
  CallWith([this, method] { (m_objFtpClient.get()->*method)(); }, failed);
}

template <class Start>
void Highscores::CallWith(Start&& start, void (Highscores::*failed)(int32_t)) {
  try {
    start();
  } catch (const net::NetError&) {
    (this->*failed)(net::CFtpClient::kFailed);
  }
}

void RunHighscoresWindow(Highscores& window, platform::EventPump& pump, platform::TimerHost& timers,
                         platform::Clock& clock) {
  while (window.Loaded()) {
    pump.DoEvents();
    if (!window.Loaded()) break;
    const int32_t due = timers.NextDueIn();
    clock.Sleep(due < 0 ? kIdleMs : std::clamp(due, int32_t{1}, kIdleMs));
  }
}

}  // namespace brikka
