#include "graphics/FrameClock.h"

#include <algorithm>

namespace zk {

int FrameClockWaitFrom(platform::Clock& clock, uint32_t& start, int periodMs) {
  clock.Pump();
  const uint32_t period = static_cast<uint32_t>(std::max(periodMs, 1));
  const uint32_t now = clock.NowMs();
  const uint32_t elapsed = now - start;
  const uint32_t n = elapsed >= period ? elapsed / period + 1 : 1;
  const uint32_t target = start + n * period;
  if (static_cast<int32_t>(target - now) > 0) clock.SleepMs(target - now);
  start = target;
  return static_cast<int>(std::min<uint32_t>(n, 1u << 20));
}

void WaitUntilDeadline(platform::Clock& clock, uint32_t deadlineMs) {
  const uint32_t now = clock.NowMs();
  if (static_cast<int32_t>(deadlineMs - now) > 0) clock.SleepMs(deadlineMs - now);
  clock.Pump();
}

void FrameClock::WaitFor(int ms) {
  if (ms <= 0) {
    clock_.Pump();
    return;
  }
  const uint32_t deadline = clock_.NowMs() + static_cast<uint32_t>(ms);
  constexpr uint32_t kSliceMs = 10;
  for (;;) {
    const uint32_t now = clock_.NowMs();
    if (static_cast<int32_t>(deadline - now) <= 0) break;
    WaitUntil(now + std::min(kSliceMs, deadline - now));
  }
}

}  // namespace zk
