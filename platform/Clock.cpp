#include "platform/Clock.h"

namespace platform {

void Clock::StartTimer() {
  timerEnabled_ = true;
  nextTick_ = NowMs() + kTimerIntervalMs;
}

void Clock::ConsumeTimerTick() {
  const uint32_t now = NowMs();
  nextTick_ += kTimerIntervalMs;
  if (nextTick_ <= now) {
    // Missed ticks are not made up; keep the phase of the timer.
    nextTick_ += ((now - nextTick_) / kTimerIntervalMs + 1) * kTimerIntervalMs;
  }
}

void Clock::Pump() {
  if (!sink_) return;
  Event e;
  while (PollEvent(e)) sink_->HandleEvent(e);
  if (TimerDue()) {
    ConsumeTimerTick();
    sink_->HandleTimer();
  }
}

}  // namespace platform
