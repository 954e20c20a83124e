// The simulator's `exchange`: the highscore exchange window on the headless machine, run on
// real time against a real server until it unloads; its unload loads the main window as
// `start` does.
#include "highscores/highscores_window.h"
#include "net/host_port.h"
#include "platform/numbers.h"
#include "sim/simulator.h"

namespace brikka::sim {

namespace {

constexpr const char* kUsage = "exchange HOST[:PORT] [upload] [timeout SECONDS]";

ExchangeSetup ReadSetup(const std::vector<std::string>& w, bool& upload) {
  if (w.size() < 2) throw ScriptError(std::string("usage: ") + kUsage);
  ExchangeSetup setup;
  if (std::string why = net::ParseHostPort(w[1], setup.server, setup.port); !why.empty()) {
    throw ScriptError(why);
  }
  for (size_t i = 2; i < w.size(); ++i) {
    long long seconds = 0;
    if (w[i] == "upload") {
      upload = true;
    } else if (w[i] == "timeout" && i + 1 < w.size() &&
               platform::ParseWholeNumber(w[i + 1], seconds) && seconds >= 1 && seconds <= 32767) {
      setup.time_out = static_cast<int16_t>(seconds);
      ++i;
    } else {
      throw ScriptError(std::string("usage: ") + kUsage + " (SECONDS from 1 to 32767)");
    }
  }
  return setup;
}

}  // namespace

void Simulator::Exchange(const std::vector<std::string>& w) {
  if (started_)
    throw ScriptError("'exchange' loads the main window itself: it comes before 'start'");
  bool upload = false;
  ExchangeSetup setup = ReadSetup(w, upload);
  setup.data_dir = plat_->data_dir;
  if (!real_timers_) {
    // The window's Timer1 counts real milliseconds, as the network does; the pump fires it.
    real_clock_ = platform::MakeSystemClock();
    real_timers_ = std::make_unique<platform::TimerHost>(*real_clock_);
    plat_->pump->AddPoller([timers = real_timers_.get()] { timers->FireDue(); });
  }
  HighscoreFlags flags;
  flags.HighscoreDownloadMode = !upload;
  {
    Highscores window(*plat_, *real_timers_, flags, setup);
    window.Form_Load();
    RunHighscoresWindow(window, *plat_->pump, *real_timers_, *real_clock_);
  }
  started_ = true;
  game_->StartUp(&flags);
}

}  // namespace brikka::sim
