// The screen effects the dispatcher runs itself: `special` (flash, shake,
// letterbox dimming, sepia flash, end roll, completion rate), `shake` and
// `fix`.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/Hooks.h"
#include "core/TForm1.h"
#include "base/Bitmap.h"
#include "script/CommandHandlers.h"
#include "script/Commands.h"
#include "script/Flow.h"

namespace zk {

namespace {

constexpr int kW = platform::kScreenWidth;
constexpr int kH = platform::kScreenHeight;

bool EffectsCut(const EngineState& s) {
  return s.Mode.SkipMode != 0 && s.Settings.SkipCutsEffects;
}

void Present(TForm1& f) {
  f.Plat.display->Present();
}

// White flash: seven times white, then the saved screen, 20 ms each.
void WhiteFlash(TForm1& f) {
  Bitmap saved;
  CopyFrameToBitmap(f, saved);
  uint8_t* frame = f.Plat.display->Frame();
  FrameClockStart(f);
  for (int i = 0; i < 7; ++i) {
    std::memset(frame, 0xFF, static_cast<size_t>(platform::kScreenStride) * kH);
    Present(f);
    FrameClockWait(f, 20);
    CopyBitmapToFrame(f, saved);
    Present(f);
    FrameClockWait(f, 20);
  }
}

// Vertical shake: 20 pixels up or down by bit 1 of a counter 20, 18 ... 2.
void VerticalShake(TForm1& f) {
  platform::Display& d = *f.Plat.display;
  FrameClockStart(f);
  for (int c = 20; c > 0; c -= 2) {
    d.SetShakeOffset(0, (c & 2) ? 20 : -20);
    Present(f);
    FrameClockWait(f, 50);
  }
  d.SetShakeOffset(0, 0);
  Present(f);
}

// The argument after the next comma of the line, or 0 when there is none.
const char* AfterComma(const char* p) {
  if (!p) return nullptr;
  const char* c = std::strchr(p, ',');
  return c ? c + 1 : nullptr;
}
int32_t NumberAt(const char* p) {
  return p ? std::atoi(p) : 0;
}

void Letterbox(TForm1& f, const char* args) {
  const char* a = args[0] && args[1] ? args + 2 : args + std::strlen(args);
  const char* b = AfterComma(a);
  const char* c = AfterComma(b);
  Bitmap* scene = SceneSurface(f);
  if (!scene || scene->Empty()) return;
  DimRows(*scene, NumberAt(a), NumberAt(b), NumberAt(c));
  CopyBitmapToFrame(f, *scene);
  Present(f);
}

void CompletionRate(TForm1& f) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", CompletionCount(f.State.Vars) * 100 / 228);
  Bitmap screen;
  CopyFrameToBitmap(f, screen);
  const int width = MeasureText(f, text, nullptr, 32);
  DrawTextToBitmap(f, screen, 570 - width, 12, text, nullptr, 32, 0xFFFFFF);
  CopyBitmapToFrame(f, screen);
  Present(f);
}

// The end roll of the data script "endroll": credits scroll up in a window at
// the right of the screen while the left part shows the background.
void EndRoll(TForm1& f) {
  if (!LoadScript(f, "endroll", kLoadSide)) return;
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
  uint8_t* frame = f.Plat.display->Frame();
  int refresh = 65;
  for (int p = 0; p < count * 32 + 600; p += 2) {
    const uint32_t deadline = f.Plat.clock->NowMs() + static_cast<uint32_t>(std::max(0, stepMs));
    if (refresh > 0) {
      --refresh;
      if (const Bitmap* bg = BackgroundSurface(f); bg && bg->Width >= 544) {
        for (int y = 0; y < std::min(kH, bg->Height); ++y)
          std::memcpy(frame + y * platform::kScreenStride, bg->Row(y), 544 * 3);
      }
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
    for (int y = 0; y < kH; ++y)
      std::memcpy(frame + y * platform::kScreenStride + 544 * 3, window.Row(y), 256 * 3);
    Present(f);
    WaitUntilTick(f, deadline);
    if (f.State.Mode.QuitRequested) break;
  }
}

}  // namespace

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

StepResult CmdSpecial(TForm1& f, char*, char* args) {
  if (EffectsCut(f.State)) return kStepEnd;
  switch (args[0]) {
    case '0':
      WhiteFlash(f);
      break;
    case '1':
      VerticalShake(f);
      break;
    case '2':
      Letterbox(f, args);
      break;
    case '3':
    case '4':
      SepiaFlash(f, args[0] - '0');
      break;
    case '5':
      EndRoll(f);
      break;
    case '6':
      CompletionRate(f);
      break;
    default:
      break;
  }
  return kStepEnd;
}

// shake A,B,C: kind A (0 vertical, 1 horizontal, 2 random), amplitude B
// (default 20) shrinking by 2 per period of C ms (default 50).
StepResult CmdShake(TForm1& f, char*, char* args) {
  if (EffectsCut(f.State)) return kStepEnd;
  const int kind = std::atoi(args);
  int amplitude = 20, period = 50;
  const size_t span = strnlen(args, 50);
  if (const char* c = static_cast<const char*>(std::memchr(args, ',', span))) {
    amplitude = std::atoi(c + 1);
    if (const char* c2 = std::strchr(c + 1, ',')) period = std::atoi(c2 + 1);
  }
  // Bounded so that a wild argument cannot hold the game for hours.
  amplitude = std::clamp(amplitude, 0, kH);
  period = std::clamp(period, 1, 1000);
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
    Present(f);
    v -= 2 * std::max(1, FrameClockWait(f, period));
  }
  d.SetShakeOffset(0, 0);
  Present(f);
  return kStepEnd;
}

// fix: the visible screen becomes the stage and the scene.
StepResult CmdFix(TForm1& f, char*, char*) {
  f.State.Vars.S(23) = 0;
  Bitmap* stage = StageSurface(f);
  Bitmap* scene = SceneSurface(f);
  if (stage) CopyFrameToBitmap(f, *stage);
  if (stage && scene) *scene = *stage;
  return kStepContinue;
}

}  // namespace zk
