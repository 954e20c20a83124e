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
};

// Enabling an enabled timer changes nothing; a disabled one never fires, and enabling it
// again starts a fresh interval.
TEST(Timers, EnablingRestartsOnlyADisabledTimer) {
  TimerRig r;
  Timer t(r.host, "t", 100, r.Log("t"));
  t.SetEnabled(true);
  r.clock.Advance(60);
  t.SetEnabled(true);
  r.clock.Advance(40);
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 1u);
  r.clock.Advance(90);
  t.SetEnabled(false);
  r.clock.Advance(50);
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 1u);
  t.SetEnabled(true);
  r.clock.Advance(99);
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 1u);
  r.clock.Advance(1);
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 2u);
}

TEST(Timers, ChangingTheIntervalRestartsAnEnabledTimer) {
  TimerRig r;
  Timer t(r.host, "t", 300, r.Log("t"));
  t.SetEnabled(true);
  r.clock.Advance(250);
  t.SetInterval(200);  // not due at 200 ms after the start: the interval began anew
  r.clock.Advance(100);
  r.host.FireDue();
  EXPECT_TRUE(r.ticks.empty());
  r.clock.Advance(100);
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 1u);
  t.SetInterval(200);  // the same interval again changes nothing
  r.clock.Advance(200);
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 2u);
}

// A pump late by several intervals ticks once, and the next tick stays on the grid of due
// times. (Pumped every 26 ms, the 45 ms key poll ticks at the first pump after each due
// time: the scenario rules_key_poll_cadence.)
TEST(Timers, ALatePumpFiresOnceAndKeepsTheCadenceOfTheDueTimes) {
  TimerRig r;
  Timer t(r.host, "t", 45, r.Log("t"));
  t.SetEnabled(true);
  r.clock.Advance(1000);  // 22 due times passed
  r.host.FireDue();
  r.host.FireDue();
  EXPECT_EQ(r.ticks.size(), 1u);
  EXPECT_EQ(t.DueIn(), 1035 - 1000);
  EXPECT_EQ(r.host.NextDueIn(), 35);
}

TEST(Timers, DueTimersFireInCreationOrder) {
  TimerRig r;
  Timer keys(r.host, "keys", 45, r.Log("keys"));
  Timer delay(r.host, "delay", 300, r.Log("delay"));
  Timer gray(r.host, "gray", 200, r.Log("gray"));
  gray.SetEnabled(true);
  delay.SetEnabled(true);
  keys.SetEnabled(true);
  r.clock.Advance(300);
  r.host.FireDue();
  EXPECT_EQ(r.ticks, (std::vector<std::string>{"keys", "delay", "gray"}));
}

TEST(Timers, AHandlerMayDisableOrDestroyALaterTimer) {
  TimerRig r;
  std::unique_ptr<Timer> later;
  Timer second(r.host, "second", 10, r.Log("second"));
  Timer first(r.host, "first", 10, [&] {
    r.ticks.push_back("first");
    second.SetEnabled(false);
    later.reset();
  });
  // Created in the order second, first, later: first runs before later only.
  later = std::make_unique<Timer>(r.host, "later", 10, r.Log("later"));
  second.SetEnabled(true);
  first.SetEnabled(true);
  later->SetEnabled(true);
  r.clock.Advance(10);
  r.host.FireDue();
  EXPECT_EQ(r.ticks, (std::vector<std::string>{"second", "first"}));
  r.clock.Advance(10);
  r.host.FireDue();
  EXPECT_EQ(r.ticks, (std::vector<std::string>{"second", "first", "first"}));
}

TEST(Timers, ZeroIntervalNeverFiresAndTheTickCountMayWrap) {
  TimerRig r;
  Timer zero(r.host, "zero", 0, r.Log("zero"));
  zero.SetEnabled(true);
  r.clock.Advance(1000);
  r.host.FireDue();
  EXPECT_TRUE(r.ticks.empty());
  EXPECT_EQ(r.host.NextDueIn(), -1);
  // Walk the clock up to just before the 32-bit wrap, then across it.
  while (r.clock.GetTickCount() < INT32_MAX - 1'000'000'000) r.clock.Advance(1'000'000'000);
  r.clock.Advance(INT32_MAX - r.clock.GetTickCount() - 20);
  Timer wrap(r.host, "wrap", 50, r.Log("wrap"));
  wrap.SetEnabled(true);
  r.clock.Advance(49);
  r.host.FireDue();
  EXPECT_TRUE(r.ticks.empty());
  r.clock.Advance(1);
  r.host.FireDue();
  EXPECT_EQ(r.ticks, std::vector<std::string>{"wrap"});
}

}  // namespace
}  // namespace platform
