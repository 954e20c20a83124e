// Window timers on the virtual clock: enabling, re-timing, the cadence of due times with
// one tick per pump round, and the creation order of ticks.
#include "platform/timers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace platform {
namespace {

struct TimerRig {
  VirtualClock clock;
  TimerHost host{clock};
  std::vector<std::string> ticks;
  std::function<void()> Log(const std::string& name) {
    return [this, name] { ticks.push_back(name); };
  }
  // The ticks so far after `ms` more and one pump round.
  size_t After(int32_t ms) {
    clock.Advance(ms);
    host.FireDue();
    return ticks.size();
  }
};

// Enabling an enabled timer or setting its interval again changes nothing; a disabled one
// never fires; enabling it again or changing the interval starts a fresh interval.
TEST(Timers, EnablingADisabledTimerOrANewIntervalStartsAFreshInterval) {
  TimerRig r;
  Timer t(r.host, "t", 100, r.Log("t"));
  t.SetEnabled(true);
  r.clock.Advance(60);
  t.SetEnabled(true);
  EXPECT_EQ(r.After(40), 1u);
  r.clock.Advance(90);
  t.SetEnabled(false);
  EXPECT_EQ(r.After(50), 1u);
  t.SetEnabled(true);
  EXPECT_EQ(r.After(99), 1u);
  EXPECT_EQ(r.After(1), 2u);
  r.clock.Advance(50);
  t.SetInterval(200);
  EXPECT_EQ(r.After(150), 2u);
  EXPECT_EQ(r.After(50), 3u);
  r.clock.Advance(50);
  t.SetInterval(200);
  EXPECT_EQ(r.After(150), 4u);
}

// A pump late by several intervals ticks once, and the next tick stays on the grid of due
// times. (Pumped every 26 ms, the 45 ms key poll ticks at the first pump after each due
// time: the scenario rules_key_poll_cadence.)
TEST(Timers, ALatePumpFiresOnceAndKeepsTheCadenceOfTheDueTimes) {
  TimerRig r;
  Timer t(r.host, "t", 45, r.Log("t"));
  t.SetEnabled(true);
  r.After(1000);  // 22 due times passed
  EXPECT_EQ(r.After(0), 1u);
  EXPECT_EQ(t.DueIn(), 1035 - 1000);
  EXPECT_EQ(r.host.NextDueIn(), 35);
}

// Due timers fire in creation order, whatever the order they were enabled in; a handler may
// disable or destroy a later timer, which then does not fire.
TEST(Timers, DueTimersFireInCreationOrderAndAHandlerMayStopALaterOne) {
  TimerRig r;
  std::unique_ptr<Timer> later;
  Timer second(r.host, "second", 10, r.Log("second"));
  Timer first(r.host, "first", 10, [&] {
    r.ticks.push_back("first");
    second.SetEnabled(false);
    later.reset();
  });
  later = std::make_unique<Timer>(r.host, "later", 10, r.Log("later"));
  for (Timer* t : {later.get(), &first, &second}) t->SetEnabled(true);
  r.After(10);
  EXPECT_EQ(r.ticks, (std::vector<std::string>{"second", "first"}));
  r.After(10);
  EXPECT_EQ(r.ticks, (std::vector<std::string>{"second", "first", "first"}));
}

TEST(Timers, ZeroIntervalNeverFiresAndTheTickCountMayWrap) {
  TimerRig r;
  Timer zero(r.host, "zero", 0, r.Log("zero"));
  zero.SetEnabled(true);
  EXPECT_EQ(r.After(1000), 0u);
  EXPECT_EQ(r.host.NextDueIn(), -1);
  // Walk the clock up to just before the 32-bit wrap, then across it.
  while (r.clock.GetTickCount() < INT32_MAX - 1'000'000'000) r.clock.Advance(1'000'000'000);
  r.clock.Advance(INT32_MAX - r.clock.GetTickCount() - 20);
  Timer wrap(r.host, "wrap", 50, r.Log("wrap"));
  wrap.SetEnabled(true);
  EXPECT_EQ(r.After(49), 0u);
  r.After(1);
  EXPECT_EQ(r.ticks, std::vector<std::string>{"wrap"});
}

}  // namespace
}  // namespace platform
