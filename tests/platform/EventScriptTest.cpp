#include <gtest/gtest.h>

#include "platform/headless/Headless.h"

namespace platform {
namespace {

std::vector<TimedEvent> Parse(const std::string& text) {
  std::vector<TimedEvent> out;
  std::string error;
  EXPECT_TRUE(ParseEventScript(text, out, error)) << error;
  return out;
}

TEST(EventScript, ExpandsVerbsIntoEngineEvents) {
  const auto events = Parse(
      "# a comment line\n"
      "\n"
      "100 click 10 20 right   # trailing comment\n"
      "150 move 799 599\r\n"
      "200 wheel +1\n"
      "210 key z\n"
      "220 keydown Ctrl\n"
      "230 keyup ctrl\n"
      "240 key F5\n"
      "250 answer はい # kept: answers are free text\n"
      "260 dump out/state.json\n"
      "270 close\n");
  struct Want {
    uint32_t ms;
    EventType type;
    int key = kKeyNone;
    int ch = 0;
  } want[] = {
      {100, EventType::MouseDown},
      {100, EventType::MouseUp},
      {150, EventType::MouseMove},
      {200, EventType::Wheel},
      {210, EventType::KeyDown, 'Z'},
      {210, EventType::KeyPress, 'Z', 'z'},
      {210, EventType::KeyUp, 'Z'},
      {220, EventType::KeyDown, kKeyCtrl},
      {230, EventType::KeyUp, kKeyCtrl},
      {240, EventType::KeyDown, kKeyF1 + 4},
      {240, EventType::KeyUp, kKeyF1 + 4},  // no character for a function key
      {250, EventType::Answer},
      {260, EventType::Dump},
      {270, EventType::CloseRequest},
  };
  ASSERT_EQ(std::size(want), events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(want[i].ms, events[i].atMs) << i;
    EXPECT_EQ(want[i].type, events[i].event.type) << i;
    if (want[i].key != kKeyNone) {
      EXPECT_EQ(want[i].key, events[i].event.key) << i;
    }
    EXPECT_EQ(want[i].ch, events[i].event.ch) << i;
  }
  EXPECT_TRUE(events[0].event.right);
  EXPECT_EQ(10, events[0].event.x);
  EXPECT_EQ(20, events[0].event.y);
  EXPECT_EQ(1, events[3].event.delta);
  EXPECT_EQ("はい # kept: answers are free text", events[11].event.text);
  EXPECT_EQ("out/state.json", events[12].event.text);
}

TEST(EventScript, RejectsBadLinesNamingTheLine) {
  const char* bad[] = {
      "x click 1 2",        // time is not a number
      "-5 click 1 2",       // negative time
      "99999999999 close",  // time beyond the clock
      "10",                 // no verb
      "10 click 5",         // one coordinate
      "10 click 1 2 left",  // unknown flag
      "10 click 800 10",    // outside the screen
      "10 move -1 10",
      "10 down 1 600",
      "10 wheel 2",
      "10 key Home",  // unknown key name
      "10 key",
      "10 answer",
      "10 screenshot",
      "10 close now",
      "10 jump 1 2",  // unknown verb
  };
  for (const char* line : bad) {
    std::vector<TimedEvent> out;
    std::string error;
    EXPECT_FALSE(ParseEventScript(std::string("0 close\n") + line + "\n", out, error)) << line;
    EXPECT_EQ(0u, error.find("line 2:")) << line << " -> " << error;
  }
}

TEST(EventScript, ClockDeliversEventsInTimeOrderAndStableForEqualTimes) {
  HeadlessClock clock;
  clock.AddEvents(Parse("50 key A\n10 move 1 1\n10 move 2 2\n"));
  Event e;
  EXPECT_FALSE(clock.PollEvent(e));  // nothing due at 0
  clock.WaitUntil(1000);             // wakes at the first event, not the deadline
  EXPECT_EQ(10u, clock.NowMs());
  ASSERT_TRUE(clock.PollEvent(e));
  EXPECT_EQ(1, e.x);
  ASSERT_TRUE(clock.PollEvent(e));
  EXPECT_EQ(2, e.x);
  EXPECT_FALSE(clock.PollEvent(e));
  clock.WaitUntil(30);
  EXPECT_EQ(30u, clock.NowMs());
  EXPECT_FALSE(clock.InputExhausted());
  clock.WaitUntil(1000);
  EXPECT_EQ(50u, clock.NowMs());
  while (clock.PollEvent(e)) {
  }
  EXPECT_TRUE(clock.InputExhausted());
}

TEST(EventScript, TimerKeepsItsPhaseAndDropsMissedTicks) {
  HeadlessClock clock;
  clock.StartTimer();
  EXPECT_EQ(55u, clock.NextTimerDue());
  clock.Advance(54);
  EXPECT_FALSE(clock.TimerDue());
  clock.Advance(1);
  ASSERT_TRUE(clock.TimerDue());
  clock.ConsumeTimerTick();
  EXPECT_EQ(110u, clock.NextTimerDue());
  clock.Advance(200);  // busy for several periods: one tick, then back in phase
  ASSERT_TRUE(clock.TimerDue());
  clock.ConsumeTimerTick();
  EXPECT_FALSE(clock.TimerDue());
  EXPECT_EQ(275u, clock.NextTimerDue());
}

}  // namespace
}  // namespace platform
