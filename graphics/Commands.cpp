// The graphics commands: gra, grb, bg, clrb, spr, ovr, partsload, ptset,
// direct and scroll. Each takes the argument text that follows its keyword.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/TextFields.h"
#include "core/TForm1.h"
#include "graphics/FrameClock.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsHost.h"
#include "graphics/Screen.h"
#include "graphics/Surfaces.h"

namespace zk {

namespace {
// Requests to the layers above go through the host interface.
GraphicsHost& Host(TForm1& f) {
  return *f.Hosts.Graphics;
}
}  // namespace

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Field n of a comma-separated text, without surrounding blanks; empty when missing.
std::string_view TrimmedField(std::string_view text, int n) {
  return Trim(CommaField(text, n));
}

// The C library's decimal reading: blanks, a sign, digits; no digits give 0.
int Number(std::string_view s) {
  s = Trim(s);
  long long v = 0;
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i)
    v = std::min(v * 10 + (s[i] - '0'), 1LL << 31);
  return static_cast<int>(std::clamp(negative ? -v : v, -(1LL << 31), (1LL << 31) - 1));
}

template <size_t N>
void CopyText(char (&dst)[N], std::string_view src) {
  const size_t n = std::min(src.size(), N - 1);
  std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
}

// A picture argument: the name, then transition digits and an L or R in any
// order, up to the end or a "]".
struct PictureArgs {
  char Name[kPictureNameSize] = {};
  int Transition = -1;
  char Side = 0;  // 'L', 'R' or 0
};

PictureArgs ParsePictureArgs(const char* args) {
  PictureArgs out;
  const char* p = args;
  while (*p == ' ' || *p == '\t') ++p;
  size_t n = 0;
  for (; *p != '\0' && !IsBlank(*p) && *p != ',' && *p != ']'; ++p)
    if (n + 1 < sizeof out.Name) out.Name[n++] = *p;
  out.Name[n] = '\0';
  for (; *p != '\0' && *p != ']'; ++p) {
    if (std::isdigit(static_cast<unsigned char>(*p))) {
      int v = 0;
      for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        v = std::min(v * 10 + (*p - '0'), 1 << 20);
      out.Transition = v;  // a later run of digits replaces an earlier one
      --p;
    } else if (*p == 'L' || *p == 'l') {
      out.Side = 'L';
    } else if (*p == 'R' || *p == 'r') {
      out.Side = 'R';
    }
  }
  return out;
}

bool LoadBackground(TForm1& f, const char* name) {
  GraphicsState& g = f.Gfx;
  if (!LoadScenePicture(f, name, g.Background)) return false;
  Host(f).MarkCgSeen(name);
  CopyText(g.BackgroundName, name);
  return true;
}

// A background change: "A" pictures (any name for bg) and "S" colours.
void ChangeBackground(TForm1& f, const PictureArgs& a, bool colour) {
  GraphicsState& g = f.Gfx;
  if (colour) {
    SetColourBackground(f, a.Name);
  } else if (!LoadBackground(f, a.Name)) {
    return;  // a picture that does not exist changes nothing
  }
  g.BackgroundChanged = true;
  Host(f).InvalidateMessageWindow();
  if (g.PrepareOnly) return;
  ClearCharacterLayout(f);
  ScreenUpdate(f, a.Transition);
}

std::string TwoPositionSpec(const GraphicsState& g) {
  return std::string(g.Layout.Names[0]) + "," + g.Layout.Names[1];
}

void ShowCharacter(TForm1& f, const PictureArgs& a) {
  GraphicsState& g = f.Gfx;
  CharacterLayout& layout = g.Layout;
  std::string spec;
  if (a.Side == 0) {
    for (int i = 0; i < kLayoutPositions; ++i) layout.Names[i][0] = '\0';
    spec = a.Name;
  } else if (a.Side == 'L') {
    CopyText(layout.Names[0], a.Name);
    spec = TwoPositionSpec(g);
  } else {
    if (layout.Count == 1) layout.Names[0][0] = '\0';
    CopyText(layout.Names[1], a.Name);
    spec = TwoPositionSpec(g);
  }
  ApplySpriteSpec(f, spec.c_str());
  Host(f).InvalidateMessageWindow();
  if (!g.PrepareOnly) ScreenUpdate(f, a.Transition);
}

void ShowPicture(TForm1& f, const char* args) {
  const PictureArgs a = ParsePictureArgs(args);
  switch (std::toupper(static_cast<unsigned char>(a.Name[0]))) {
    case 'A':
      ChangeBackground(f, a, false);
      break;
    case 'B':
      ShowCharacter(f, a);
      break;
    case 'S':
      ChangeBackground(f, a, true);
      break;
    default:
      break;
  }
}

}  // namespace

// ---------------------------------------------------------------- gra, grb, bg

StepResult GraCommand(TForm1& f, const char* args) {
  f.Gfx.PrepareOnly = false;
  ShowPicture(f, args);
  ModeState& m = f.State.Mode;
  StepResult result = kStepContinue;
  if (m.EffectAbort == EffectAbort::FinishNow) {
    result = kStepEnd;
  } else if (m.EffectAbort == EffectAbort::CloseRequested) {
    Host(f).AskQuitAfterClose();  // the window was asked to close during the transition
    result = kStepEnd;
  }
  m.EffectAbort = EffectAbort::None;
  return result;
}

StepResult GrbCommand(TForm1& f, const char* args) {
  f.Gfx.PrepareOnly = true;
  ShowPicture(f, args);
  return kStepContinue;
}

StepResult BgCommand(TForm1& f, const char* args) {
  const PictureArgs a = ParsePictureArgs(args);
  if (a.Name[0] == '\0') return kStepContinue;
  ChangeBackground(f, a, a.Name[0] == 'S' || a.Name[0] == 's');
  return kStepContinue;
}

// ---------------------------------------------------------------- clrb, spr

StepResult ClrbCommand(TForm1& f, const char* args) {
  GraphicsState& g = f.Gfx;
  const std::string_view text = Trim(args);
  const int transition = Number(text);
  const char last = text.empty()
                        ? '\0'
                        : static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
  if (last == 'L' || last == 'R') {
    // The layout count stays: the emptied position is simply not drawn.
    g.Layout.Names[last == 'L' ? 0 : 1][0] = '\0';
    CopyText(g.SpriteSpec, TwoPositionSpec(g));
  } else {
    ClearCharacterLayout(f);
  }
  Host(f).InvalidateMessageWindow();
  ScreenUpdate(f, transition);
  return kStepContinue;
}

StepResult SprCommand(TForm1& f, const char* args) {
  const int transition = ApplySpriteSpec(f, std::string(Trim(args)).c_str());
  Host(f).InvalidateMessageWindow();
  ScreenUpdate(f, transition);
  return kStepContinue;
}

// ---------------------------------------------------------------- ovr

StepResult OvrCommand(TForm1& f, const char* args) {
  GraphicsState& g = f.Gfx;
  Banks& v = f.State.Vars;
  const std::string_view text = Trim(args);
  const size_t nameEnd = text.find_first_of(", \t");
  const std::string name(text.substr(0, nameEnd));
  const std::string_view t = TrimmedField(text, 1), x = TrimmedField(text, 2),
                         y = TrimmedField(text, 3);
  const int transition = t.empty() ? 6 : Number(t);
  if (!x.empty()) v.S(kSysOverlayX) = Number(x);
  if (!y.empty()) v.S(kSysOverlayY) = Number(y);
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "OFF") {
    v.S(kSysOverlayOn) = 0;
  } else {
    LoadScenePicture(f, name, g.Overlay);  // a missing picture keeps the old overlay
    v.S(kSysOverlayOn) = 1;
  }
  CopyText(g.OverlaySpec, text);
  Host(f).InvalidateMessageWindow();
  ScreenUpdate(f, transition);
  f.State.Mode.WindowShown = false;
  return kStepEnd;
}

// ---------------------------------------------------------------- partsload, ptset, direct

StepResult PartsloadCommand(TForm1& f, const char* args) {
  GraphicsState& g = f.Gfx;
  const std::string_view text(args);
  const std::string first(TrimmedField(text, 0)), second(TrimmedField(text, 1));
  LoadScenePicture(f, first, g.Parts);
  if (second.empty()) {
    f.State.Vars.S(kSysClickMapHighlight) = 0;
  } else {
    LoadScenePicture(f, second, g.Output);
    f.State.Vars.S(kSysClickMapHighlight) = 1;
  }
  return kStepContinue;
}

void PtsetDraw(TForm1& f, int x1, int y1, int x2, int y2, int dx, int dy) {
  const Bitmap& parts = f.Gfx.Parts;
  const PixelView win = ScreenCanvas(f);
  // Source rows and columns that exist in the parts picture and land on the window.
  const long sx0 = std::max<long>({x1, 0L, static_cast<long>(x1) - dx});
  const long sx1 = std::min<long>(
      {x2, static_cast<long>(parts.Width), static_cast<long>(x1) - dx + kSceneWidth});
  const long sy0 = std::max<long>({y1, 0L, static_cast<long>(y1) - dy});
  const long sy1 = std::min<long>(
      {y2, static_cast<long>(parts.Height), static_cast<long>(y1) - dy + kSceneHeight});
  for (long sy = sy0; sy < sy1; ++sy) {
    const uint8_t* s = parts.Row(static_cast<int>(sy));
    uint8_t* d = win.Row(static_cast<int>(dy + (sy - y1)));
    for (long sx = sx0; sx < sx1; ++sx) {
      const uint8_t* px = s + 3 * sx;
      if (px[0] == 255 && px[1] == 255 && px[2] == 0)
        continue;  // red 0, green 255, blue 255: transparent
      std::memcpy(d + 3 * (dx + (sx - x1)), px, 3);
    }
  }
  PresentScreen(f);
}

StepResult DirectCommand(TForm1& f, const char* args) {
  const std::string_view text(args);
  const std::string name(TrimmedField(text, 0));
  if (!LoadScenePicture(f, name, f.Gfx.Parts)) return kStepContinue;
  const int ms = Number(TrimmedField(text, 1));
  const int x = Number(TrimmedField(text, 2)), y = Number(TrimmedField(text, 3));
  const Bitmap& parts = f.Gfx.Parts;
  CopyAreaToScreen(f, parts, 0, 0, parts.Width, parts.Height, x, y);
  PresentScreen(f);
  FrameClock(*f.Plat.clock).WaitFor(ms);
  return kStepContinue;
}

// ---------------------------------------------------------------- scroll

namespace {

// The top-left corner of the 800 x 600 window of a scrolling picture at a step.
void ScrollOffset(int direction, int width, int height, int step, int& x, int& y) {
  x = y = 0;
  switch (direction) {
    case 0:
      y = height - kSceneHeight - step;
      break;  // from the bottom, upwards
    case 1:
      x = step;
      break;  // from the left, rightwards
    case 2:
      y = step;
      break;  // from the top, downwards
    case 3:
      x = width - kSceneWidth - step;
      break;  // from the right, leftwards
    default:
      break;
  }
}

void PutWindow(const Bitmap& picture, int x, int y, Bitmap& scene) {
  scene.Resize(kSceneWidth, kSceneHeight);
  std::fill(scene.Pixels.begin(), scene.Pixels.end(), 0);
  CopyArea(picture, x, y, kSceneWidth, kSceneHeight, scene, 0, 0);
}

}  // namespace

StepResult ScrollCommand(TForm1& f, const char* args) {
  GraphicsState& g = f.Gfx;
  ModeState& m = f.State.Mode;
  const std::string_view text(args);
  Bitmap picture;
  if (!LoadScenePicture(f, std::string(TrimmedField(text, 0)), picture)) return kStepEnd;
  const int direction = Number(TrimmedField(text, 1));
  const int period = Number(TrimmedField(text, 2));
  const int transition = Number(TrimmedField(text, 3));

  m.ScreenMode = ScreenMode::ScrollingPicture;
  m.MenuLock = true;
  Host(f).RefreshMenuStates();
  int steps = 0;
  if (direction == 0 || direction == 2) steps = picture.Height - kSceneHeight;
  if (direction == 1 || direction == 3) steps = picture.Width - kSceneWidth;
  steps = std::max(steps, 0);

  int x = 0, y = 0;
  CopySurface(g.Scene, g.Previous);
  ScrollOffset(direction, picture.Width, picture.Height, 0, x, y);
  PutWindow(picture, x, y, g.Scene);
  RunTransition(f, transition);

  // A click or a close request during the scroll ends it at its last position.
  FrameClock clock(*f.Plat.clock);
  // Input stays open, and a click that ended the transition ends the scroll.
  EffectLock running(m, EffectLock::kRunning);
  for (int step = 0; step < steps;) {
    ScrollOffset(direction, picture.Width, picture.Height, step, x, y);
    CopyAreaToScreen(f, picture, x, y, kSceneWidth, kSceneHeight, 0, 0);
    PresentScreen(f);
    f.Plat.clock->Pump();
    if (m.EffectAbort != EffectAbort::None) break;
    step += clock.Wait(period);
  }
  running.End();

  ScrollOffset(direction, picture.Width, picture.Height, steps, x, y);
  PutWindow(picture, x, y, g.Scene);
  CopyToScreen(f, g.Scene);
  PresentScreen(f);
  m.ScreenMode = ScreenMode::Play;
  m.MenuLock = false;
  Host(f).RefreshMenuStates();
  if (m.EffectAbort == EffectAbort::CloseRequested) Host(f).AskQuitAfterClose();
  m.EffectAbort = EffectAbort::None;
  return kStepEnd;
}

}  // namespace zk
