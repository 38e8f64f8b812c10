// The frame clock every blocking effect paces itself with. Wait(period)
// processes pending window messages, sleeps to the next period boundary
// counted from the start and returns how many periods elapsed (at least 1),
// so a slow machine drops frames instead of slowing an effect down.
// WaitUntil(deadline) sleeps until a tick count and then processes messages.
#pragma once
#include <cstdint>

#include "platform/Clock.h"

namespace zk {

// One wait of the frame clock whose start time is held by the caller.
int FrameClockWaitFrom(platform::Clock& clock, uint32_t& start, int periodMs);
// Sleeps until the deadline (if it lies ahead), then processes messages.
void WaitUntilDeadline(platform::Clock& clock, uint32_t deadlineMs);

class FrameClock {
 public:
  explicit FrameClock(platform::Clock& clock) : clock_(clock) { Start(); }

  void Start() { start_ = clock_.NowMs(); }
  uint32_t NowMs() const { return clock_.NowMs(); }
  // Periods below 1 ms count as 1 ms.
  int Wait(int periodMs) { return FrameClockWaitFrom(clock_, start_, periodMs); }
  void WaitUntil(uint32_t deadlineMs) { WaitUntilDeadline(clock_, deadlineMs); }
  // Waits ms milliseconds in short slices, processing messages in each, so
  // input keeps arriving at its own time during a long wait.
  void WaitFor(int ms);

 private:
  platform::Clock& clock_;
  uint32_t start_ = 0;
};

}  // namespace zk
