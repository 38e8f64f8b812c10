// Screen effects of the `special` and `shake` commands: white flashes,
// shakes, the letterbox, the end roll and the completion rate, all shown on
// the frame clock.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "core/TForm1.h"
#include "effects/Effects.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "text/Text.h"

namespace zk {

namespace {

constexpr int kW = platform::kScreenWidth;
constexpr int kH = platform::kScreenHeight;

}  // namespace

// White flash: seven times white, then the saved screen, 20 ms each.
void WhiteFlash(TForm1& f) {
  Bitmap saved;
  ReadScreen(f, saved);
  FrameClockStart(f);
  for (int i = 0; i < 7; ++i) {
    FillScreen(f, 0xFF);
    PresentScreen(f);
    FrameClockWait(f, 20);
    CopyToScreen(f, saved);
    PresentScreen(f);
    FrameClockWait(f, 20);
  }
}

// Vertical shake: 20 pixels up or down by bit 1 of a counter 20, 18 ... 2.
void VerticalShake(TForm1& f) {
  platform::Display& d = *f.Plat.display;
  FrameClockStart(f);
  for (int c = 20; c > 0; c -= 2) {
    d.SetShakeOffset(0, (c & 2) ? 20 : -20);
    PresentScreen(f);
    FrameClockWait(f, 50);
  }
  d.SetShakeOffset(0, 0);
  PresentScreen(f);
}

void Letterbox(TForm1& f, int32_t a, int32_t b, int32_t c) {
  Bitmap* scene = SceneSurface(f);
  if (!scene || scene->Empty()) return;
  DimRows(*scene, a, b, c);
  CopyToScreen(f, *scene);
  PresentScreen(f);
}

void CompletionRate(TForm1& f) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", CompletionCount(f.State.Vars) * 100 / 228);
  Bitmap screen;
  ReadScreen(f, screen);
  const int width = MeasureText(f, text, nullptr, 32);
  DrawTextToBitmap(f, screen, 570 - width, 12, text, nullptr, 32, 0xFFFFFF);
  CopyToScreen(f, screen);
  PresentScreen(f);
}

// The end roll: credits scroll up in a window at the right of the screen
// while the left part shows the background.
void EndRoll(TForm1& f) {
  const InterpreterState& in = f.State.Interp;
  std::vector<std::string> lines;
  for (int32_t p = 0; p < in.SideSize;) {
    const char* s = reinterpret_cast<const char*>(in.SideBuffer) + p;
    const size_t n = strnlen(s, static_cast<size_t>(in.SideSize - p));
    lines.emplace_back(s, n);
    p += static_cast<int32_t>(n) + 1;
  }
  size_t i = 0;
  const int32_t stepMs = i < lines.size() ? std::atoi(lines[i++].c_str()) : 0;
  // Caption lines up to "*": only the number of the second one is used.
  int32_t chosenRow = -1;
  for (int k = 0; i < lines.size() && lines[i] != "*"; ++i, ++k) {
    if (k != 1) continue;
    const size_t comma = lines[i].substr(0, 100).find(',');
    chosenRow = comma == std::string::npos ? 0 : std::atoi(lines[i].c_str() + comma + 1);
  }
  if (i < lines.size()) ++i;
  std::vector<std::string> credits;
  for (; i < lines.size() && (lines[i].empty() || lines[i][0] != '*'); ++i) {
    const std::string& line = lines[i];
    size_t at = 0;
    do {
      credits.push_back(line.substr(at, 99));
      at += 99;
    } while (at < line.size());
  }
  const int count = static_cast<int>(credits.size());
  Bitmap roll;
  roll.Resize(320, count * 32 + 580);
  for (int k = 0; k < count; ++k)
    DrawTextToBitmap(f, roll, 0, 600 + 32 * k, credits[k], "ＭＳ 明朝", 30, 0xFFFFFF);
  Bitmap window;
  window.Resize(256, kH);
  int refresh = 65;
  for (int p = 0; p < count * 32 + 600; p += 2) {
    const uint32_t deadline = f.Plat.clock->NowMs() + static_cast<uint32_t>(std::max(0, stepMs));
    if (refresh > 0) {
      --refresh;
      if (const Bitmap* bg = BackgroundSurface(f); bg && bg->Width >= 544)
        CopyAreaToScreen(f, *bg, 0, 0, 544, kH, 0, 0);
    }
    if (chosenRow >= 0 && p == chosenRow * 32) refresh += 130;
    // Rows below the end of the credits are black.
    for (int y = 0; y < kH; ++y) {
      uint8_t* dst = window.Row(y);
      const int src = p + y;
      if (src < roll.Height) {
        std::memcpy(dst, roll.Row(src) + 64 * 3, 256 * 3);
      } else {
        std::memset(dst, 0, 256 * 3);
      }
      const int grey = y < 128 ? 2 * y : (y >= 352 && y < 480) ? 2 * (479 - y) : -1;
      if (grey < 0) continue;
      for (int x = 0; x < 256; ++x) {
        uint8_t* px = dst + 3 * x;
        if (px[0] != 0) px[0] = px[1] = px[2] = static_cast<uint8_t>(grey);
      }
    }
    CopyAreaToScreen(f, window, 0, 0, 256, kH, 544, 0);
    PresentScreen(f);
    WaitUntilTick(f, deadline);
    if (f.State.Mode.QuitRequested) break;
  }
}

void WindowShake(TForm1& f, int kind, int amplitude, int period) {
  platform::Display& d = *f.Plat.display;
  static constexpr int kDirections[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                                            {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};
  FrameClockStart(f);
  for (int v = amplitude; v > 0;) {
    const int sign = (v & 2) ? 1 : -1;
    int dx = 0, dy = 0;
    if (kind == 0) {
      dy = sign * v;
    } else if (kind == 1) {
      dx = sign * v;
    } else if (kind == 2) {
      const int* dir = kDirections[f.Random() & 7];
      dx = dir[0] * v;
      dy = dir[1] * v;
    }
    d.SetShakeOffset(dx, dy);
    PresentScreen(f);
    v -= 2 * std::max(1, FrameClockWait(f, period));
  }
  d.SetShakeOffset(0, 0);
  PresentScreen(f);
}

int CompletionCount(const Banks& v) {
  static constexpr int kRanges[][2] = {{1, 38},    {101, 131}, {201, 250}, {301, 337},
                                       {401, 444}, {501, 521}, {601, 607}};
  int count = 0;
  for (const auto& r : kRanges)
    for (int n = r[0]; n <= r[1]; ++n) count += v.E.Test(n);
  return count;
}

void DimRows(Bitmap& picture, int32_t a, int32_t b, int32_t c) {
  for (int y = 0; y < picture.Height; ++y) {
    if (y >= a && y < b) continue;
    uint8_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width * 3; ++x)
      row[x] = static_cast<uint8_t>((static_cast<int64_t>(row[x]) * c) >> 4);
  }
}

}  // namespace zk
