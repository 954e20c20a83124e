// The simulator's `exchange`: the highscore exchange window on the headless machine, run on
// real time against a real server until it unloads; its unload loads the main window as
// `start` does.
#include "highscores/highscores_window.h"
#include "sim/simulator.h"

namespace brikka::sim {

void Simulator::Exchange(const ScriptCommand& c) {
  if (started_)
    throw ScriptError("'exchange' loads the main window itself: it comes before 'start'");
  ExchangeSetup setup;
  setup.server = c.host;
  setup.port = c.port;
  if (!c.numbers.empty()) setup.time_out = static_cast<int16_t>(c.numbers[0]);
  setup.data_dir = plat_->data_dir;
  if (!real_timers_) {
    // The window's Timer1 counts real milliseconds, as the network does; the pump fires it.
    real_clock_ = platform::MakeSystemClock();
    real_timers_ = std::make_unique<platform::TimerHost>(*real_clock_);
    plat_->pump->AddPoller([timers = real_timers_.get()] { timers->FireDue(); });
  }
  HighscoreFlags flags;
  flags.HighscoreDownloadMode = !c.upload;
  {
    Highscores window(*plat_, *real_timers_, flags, setup);
    window.Form_Load();
    RunHighscoresWindow(window, *plat_->pump, *real_timers_, *real_clock_);
  }
  started_ = true;
  game_->StartUp(&flags);
}

}  // namespace brikka::sim
