// Time, the 55 ms timer and the message pump. All engine timing goes through here.
#pragma once
#include <cstdint>

#include "platform/Events.h"

namespace platform {

// Receives what the pump delivers: the main window's handlers.
class EventSink {
 public:
  virtual void HandleEvent(const Event& e) = 0;
  virtual void HandleTimer() = 0;

 protected:
  ~EventSink() = default;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since start (the tick count of the engine).
  virtual uint32_t NowMs() = 0;
  // Blocks for ms without delivering anything (a plain sleep).
  virtual void SleepMs(uint32_t ms) = 0;
  // Takes the next event that is due now, if any.
  virtual bool PollEvent(Event& e) = 0;
  // Blocks until an event may be pending or the clock reaches deadlineMs.
  virtual void WaitUntil(uint32_t deadlineMs) = 0;
  // True when no further input can arrive by itself (a scripted run whose
  // events are used up); a real window always answers false.
  virtual bool InputExhausted() const { return false; }

  void SetSink(EventSink* sink) { sink_ = sink; }
  EventSink* Sink() const { return sink_; }

  // Delivers every pending event to the sink, then one due timer tick, as a
  // message pump inside a blocking loop does.
  void Pump();

  // The 55 ms timer. Like a window timer it never queues more than one tick:
  // ticks missed while the engine was busy are dropped, the phase is kept.
  bool TimerDue() { return timerEnabled_ && NowMs() >= nextTick_; }
  uint32_t NextTimerDue() const { return nextTick_; }
  void ConsumeTimerTick();
  // Takes the oldest due tick and keeps the later ones due: for ticks a loop
  // slept through on purpose and delivers afterwards, one by one.
  void ConsumeOneTimerTick() { nextTick_ += kTimerIntervalMs; }
  void StartTimer();
  void StopTimer() { timerEnabled_ = false; }
  bool TimerEnabled() const { return timerEnabled_; }

 private:
  EventSink* sink_ = nullptr;
  bool timerEnabled_ = false;
  uint32_t nextTick_ = 0;
};

}  // namespace platform
