// Where the game picture and the tool bar go inside the window, and the
// mapping between window pixels and game-screen pixels. Pure arithmetic, so
// it is testable without a display.
#pragma once

namespace platform {

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool operator==(const PixelRect&) const = default;
};

// The tool bar panel is 21 pixels high; in window mode the game area starts
// at y 24 below it. In full screen the picture takes the whole window and the
// tool bar, when shown, lies over its top.
constexpr int kToolbarHeight = 21;
constexpr int kToolbarReserve = 24;
// The window is never made smaller than the game picture at three quarters
// of its size, below which its text can no longer be read.
constexpr int kMinPictureWidth = 800 * 3 / 4;
constexpr int kMinPictureHeight = 600 * 3 / 4;

// The largest 4:3 rectangle that fits into the window below `top` pixels,
// centred (the rest is letterbox). Empty when nothing fits.
PixelRect FitGameArea(int windowW, int windowH, int top);

// The picture rectangle moved by a shake offset given in game pixels.
PixelRect ShiftByGamePixels(const PixelRect& area, int dx, int dy);

// Window pixel -> the game pixel under its centre. Points outside the
// picture give coordinates outside 0..799 / 0..599.
void WindowToGame(const PixelRect& area, int wx, int wy, int& gx, int& gy);
// Game pixel -> the window pixel at its centre. Works for coordinates outside
// the game screen too (a menu placed above the picture).
void GameToWindow(const PixelRect& area, int gx, int gy, int& wx, int& wy);

// Clamps a game coordinate pair into the game screen.
void ClampToGame(int& gx, int& gy);

// The uncovered parts of a window around a picture rectangle (at most four
// bands: above, below, left, right); returns how many were written.
int UncoveredBands(int windowW, int windowH, const PixelRect& picture, PixelRect out[4]);

}  // namespace platform
