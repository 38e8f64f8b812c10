// Deterministic platform for tests and the harness: a virtual clock that
// jumps ahead when the engine sleeps, scripted input, a frame kept in memory
// and dialogs answered from a queue.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/DevPanelView.h"
#include "platform/Display.h"
#include "platform/Ui.h"

namespace platform {

struct TimedEvent {
  uint32_t atMs = 0;
  Event event;
};

// Parses an events file ("MS VERB ARGS" per line, '#' comments). On a bad line
// returns false with error naming the line.
bool ParseEventScript(const std::string& text, std::vector<TimedEvent>& out, std::string& error);

class HeadlessClock : public Clock {
 public:
  uint32_t NowMs() override { return now_; }
  void SleepMs(uint32_t ms) override { now_ += ms; }
  bool PollEvent(Event& e) override;
  void WaitUntil(uint32_t deadlineMs) override;
  bool InputExhausted() const override { return queue_.empty(); }

  // Adds events (kept in time order, stable for equal times).
  void AddEvents(const std::vector<TimedEvent>& events);
  void Post(const Event& e) { AddEvents({{now_, e}}); }
  // Time of the next scripted event, or UINT32_MAX.
  uint32_t NextEventMs() const { return queue_.empty() ? UINT32_MAX : queue_.front().atMs; }
  void Advance(uint32_t ms) { now_ += ms; }

 private:
  uint32_t now_ = 0;
  std::deque<TimedEvent> queue_;
};

class HeadlessDisplay : public Display {
 public:
  HeadlessDisplay();
  uint8_t* Frame() override { return frame_.data(); }
  void Present() override { ++presents_; }
  bool SetFullScreen(int mode) override {
    fullScreen_ = mode;
    return true;
  }
  void SetToolbarVisible(bool v) override { toolbarVisible_ = v; }
  void SetToolbarEnabled(bool panel, bool quit, bool settings, bool save, bool load) override;
  void SetTitle(std::string_view utf8) override { title_ = utf8; }
  void SetShakeOffset(int dx, int dy) override {
    shakeX_ = dx;
    shakeY_ = dy;
  }
  void GetDesktopSize(int& w, int& h) override {
    w = desktopW_;
    h = desktopH_;
  }
  void GetWindowPos(int& l, int& t) override {
    l = left_;
    t = top_;
  }
  void SetWindowPos(int l, int t) override {
    left_ = l;
    top_ = t;
  }
  void WarpPointer(int x, int y) override {
    pointerX_ = x;
    pointerY_ = y;
  }

  const std::vector<uint8_t>& FrameBytes() const { return frame_; }
  int Presents() const { return presents_; }
  int FullScreenMode() const { return fullScreen_; }
  bool ToolbarVisible() const { return toolbarVisible_; }
  const std::string& Title() const { return title_; }
  bool ToolbarButtonEnabled(int n) const { return toolbarEnabled_[n]; }
  void SetDesktopSize(int w, int h) {
    desktopW_ = w;
    desktopH_ = h;
  }
  int PointerX() const { return pointerX_; }
  int PointerY() const { return pointerY_; }

 private:
  std::vector<uint8_t> frame_;
  int presents_ = 0;
  int fullScreen_ = 0;
  bool toolbarVisible_ = true;
  bool toolbarEnabled_[5] = {true, true, true, true, true};
  std::string title_;
  int shakeX_ = 0, shakeY_ = 0;
  int desktopW_ = 1920, desktopH_ = 1080;
  int left_ = 0, top_ = 0;
  int pointerX_ = 0, pointerY_ = 0;
};

// Answers dialogs from queued answers; without one, a message box takes its
// first button and a popup menu is dismissed. Every question is recorded.
class HeadlessUi : public Ui {
 public:
  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  int PopupMenu(const std::vector<MenuItem>& items, int x, int y) override;
  void QueueAnswer(const std::string& answer) override { answers_.push_back(answer); }
  // "caption: text" of every message box shown, in order.
  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  std::deque<std::string> answers_;
  std::vector<std::string> shown_;
};

// The developer panel of a developer build: keeps the snapshot it was last
// given, and plays the player's part by posting actions to the clock.
class HeadlessDevPanel : public DevPanelView {
 public:
  explicit HeadlessDevPanel(HeadlessClock& clock) : clock_(clock) {}
  void Show(const DevPanelSnapshot& snapshot) override {
    shown_ = snapshot;
    ++shows_;
  }
  // An action, delivered by the next pump in order with other input.
  void Act(DevPanelAction action, int value = 0, std::string text = {}) {
    clock_.Post(MakeDevPanelEvent(action, value, std::move(text)));
  }
  const DevPanelSnapshot& Showing() const { return shown_; }
  int Shows() const { return shows_; }

 private:
  HeadlessClock& clock_;
  DevPanelSnapshot shown_;
  int shows_ = 0;
};

}  // namespace platform
