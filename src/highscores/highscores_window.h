// `Highscores`: the window that exchanges the highscore file with the highscore server over
// FTP. It logs in, changes to "www", and downloads the server's table over ours or uploads
// "brikka_highscores1.ini" in its place; its label follows the client's session state, and
// every failure asks Retry or Cancel. When it unloads, the main window is loaded.
//   highscores/highscores_window.cpp  loading, unloading, the connection, Timer1's steps
//   highscores/highscores_events.cpp  the client's events and the boxes they ask
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "highscores/highscore_flags.h"
#include "net/cftp_client.h"
#include "platform/platform.h"

namespace brikka {

// Where the window finds the server and the files.
struct ExchangeSetup {
  std::string server;  // host name or IPv4 address
  int32_t port = 21;
  std::string data_dir;   // the highscore files' folder
  int16_t time_out = 60;  // seconds of silence before a step counts as failed
};

class Highscores {
 public:
  // Timer1 runs on `timers`; boxes, the label window and the network are the platform's.
  Highscores(platform::Platform& plat, platform::TimerHost& timers, HighscoreFlags& flags,
             ExchangeSetup setup);
  ~Highscores();
  Highscores(const Highscores&) = delete;
  Highscores& operator=(const Highscores&) = delete;

  void Form_Load();
  void Form_Unload();
  // Until unloaded; the caller then loads the main window.
  bool Loaded() const { return loaded_; }

  // 1 change directory next, 2 download next, 3 upload next.
  int16_t ExchangeStep = 0;
  // The last session state received.
  int32_t SessionState = 1;

  static constexpr const char* kUserName = "veridezuduri";
  static constexpr const char* kPassword = "riradido";
  static constexpr const char* kRemoteDirectory = "www";
  static constexpr const char* kRemoteFile = "brikka_highscores.ini";

 private:
  // highscores_window.cpp
  void cmdGet_Click();
  void Reconnect();
  void Timer1_Timer();
  void SetCaption(const std::string& text);
  std::string LocalFile(const char* name) const;
  void StartDownload();
  bool TakeDownload();
  // Runs one of the client's methods; one that cannot even start ends as its event with
  // status 1 would, so every step has its one failure box.
  void Call(void (net::CFtpClient::*method)(), void (Highscores::*failed)(int32_t));
  template <class Start>
  void CallWith(Start&& start, void (Highscores::*failed)(int32_t));

  // highscores_events.cpp
  void WireEvents();
  bool TimedOut(int32_t AsyncResultStatus);
  void m_objFtpClient_OnConnect(int32_t AsyncResultStatus);
  void m_objFtpClient_OnSetCurrentDirectory(int32_t AsyncResultStatus);
  void m_objFtpClient_OnGetCurrentDirectory(int32_t AsyncResultStatus);
  void m_objFtpClient_OnEnumFiles(int32_t AsyncResultStatus);
  void m_objFtpClient_OnDownloadFile(int32_t AsyncResultStatus);
  void m_objFtpClient_OnUploadFile(int32_t AsyncResultStatus);
  void m_objFtpClient_OnStateChange(int32_t SessionState);
  void m_objFtpClient_OnDataTransferProgress(int64_t bytes);
  // The Retry/Cancel box of a failure: Retry runs `retry`; Cancel gives the highscores up
  // and unloads.
  void AskRetry(const char* text, const std::function<void(Highscores&)>& retry);
  int MsgBox(const std::string& text, int style);

  platform::Platform& plat_;
  platform::TimerHost& timers_;
  HighscoreFlags& flags_;
  ExchangeSetup setup_;
  std::unique_ptr<platform::LabelWindow> window_;
  std::unique_ptr<platform::Timer> Timer1;
  std::unique_ptr<net::CFtpClient> m_objFtpClient;
  bool loaded_ = false;
};

// Shows the window until it unloads: the pump's rounds (boxes, Timer1, the network), with
// sleeps between them while nothing is due. The main window is for the caller to load.
void RunHighscoresWindow(Highscores& window, platform::EventPump& pump, platform::TimerHost& timers,
                         platform::Clock& clock);

}  // namespace brikka
