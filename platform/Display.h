// The game screen: the 800 x 600 blue-green-red frame (the paint box) and the
// window around it with its tool bar.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/Events.h"

namespace platform {

class Display {
 public:
  virtual ~Display() = default;

  // The frame the engine draws into: kScreenHeight rows of kScreenStride
  // bytes, three bytes per pixel in blue, green, red order, top row first.
  virtual uint8_t* Frame() = 0;
  // Makes the frame visible.
  virtual void Present() = 0;
  // Makes the frame visible when nothing outside the rectangle changed since
  // the last present: a cheaper present for small updates such as the
  // animated click-wait mark. By default the whole frame is presented.
  virtual void PresentRect(int /*x*/, int /*y*/, int /*w*/, int /*h*/) { Present(); }

  // Display modes: 0 window, 1 full screen, 2 borderless full window.
  // Returns false (and stays a window) when the mode cannot be entered.
  virtual bool SetFullScreen(int mode) = 0;
  virtual void SetToolbarVisible(bool visible) = 0;
  // Enabled state of the tool bar and its buttons 1..4 (quit, settings, save, load).
  virtual void SetToolbarEnabled(bool panel, bool quit, bool settings, bool save, bool load) = 0;
  virtual void SetTitle(std::string_view utf8) = 0;
  // Moves the picture inside the window (screen shaking); 0, 0 is at rest.
  virtual void SetShakeOffset(int dx, int dy) = 0;

  // Window placement in desktop pixels and the desktop size.
  virtual void GetDesktopSize(int& width, int& height) = 0;
  virtual void GetWindowPos(int& left, int& top) = 0;
  virtual void SetWindowPos(int left, int top) = 0;
  // Moves the pointer to a game-screen pixel.
  virtual void WarpPointer(int x, int y) = 0;
};

}  // namespace platform
