// The screen: the display frame as a copy target, damage, presents and the
// text printer's pacing.
#include "graphics/Screen.h"

#include <algorithm>
#include <cstring>

#include "core/TForm1.h"

namespace zk {

namespace {

ScreenState& StateOf(TForm1& f) {
  return f.Gfx.Screen;
}

PixelView FrameView(TForm1& f) {
  return {f.Plat.display->Frame(), platform::kScreenWidth, platform::kScreenHeight,
          platform::kScreenStride};
}

// Adds an area to the damage: the damage becomes the bounding rectangle of both.
void AddDamage(TForm1& f, const PixelRect& r) {
  if (r.Empty()) return;
  PixelRect& d = StateOf(f).Damage;
  if (d.Empty()) {
    d = r;
    return;
  }
  const int x0 = std::min(d.X, r.X), y0 = std::min(d.Y, r.Y);
  const int x1 = std::max(d.X + d.W, r.X + r.W), y1 = std::max(d.Y + d.H, r.Y + r.H);
  d = {x0, y0, x1 - x0, y1 - y0};
}

constexpr PixelRect kWholeFrame{0, 0, platform::kScreenWidth, platform::kScreenHeight};

}  // namespace

// ============================================================ [SECTION] Writing the frame

void CopyAreaToScreen(TForm1& f, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy) {
  AddDamage(f, CopyArea(ViewOf(src), sx, sy, w, h, FrameView(f), dx, dy));
}

void CopyToScreen(TForm1& f, const Bitmap& src) {
  CopyAreaToScreen(f, src, 0, 0, src.Width, src.Height, 0, 0);
}

void FillScreen(TForm1& f, uint8_t value) {
  std::memset(f.Plat.display->Frame(), value,
              static_cast<size_t>(platform::kScreenStride) * platform::kScreenHeight);
  AddDamage(f, kWholeFrame);
}

PixelView ScreenCanvas(TForm1& f) {
  AddDamage(f, kWholeFrame);
  return FrameView(f);
}

// ============================================================ [SECTION] Reading the frame

void ReadScreen(TForm1& f, Bitmap& target) {
  target.Resize(platform::kScreenWidth, platform::kScreenHeight);
  ReadScreenArea(f, 0, 0, target);
}

void ReadScreenArea(TForm1& f, int x, int y, Bitmap& target) {
  CopyArea(FrameView(f), x, y, target.Width, target.Height, ViewOf(target), 0, 0);
}

bool ScreenShows(TForm1& f, const Bitmap& pixels, int x, int y) {
  const PixelView frame = FrameView(f);
  const PixelView view = ViewOf(pixels);
  if (x < 0 || y < 0 || x + view.Width > frame.Width || y + view.Height > frame.Height)
    return false;
  const size_t bytes = static_cast<size_t>(view.Width) * 3;
  for (int r = 0; r < view.Height; ++r)
    if (std::memcmp(view.Row(r), frame.Row(y + r) + 3 * x, bytes) != 0) return false;
  return true;
}

// ============================================================ [SECTION] Presenting

void PresentScreen(TForm1& f) {
  f.Plat.display->Present();
  StateOf(f).Damage = {};
}

void PresentScreenDamage(TForm1& f) {
  const PixelRect d = StateOf(f).Damage;
  if (d.Empty()) return;
  f.Plat.display->PresentRect(d.X, d.Y, d.W, d.H);
  StateOf(f).Damage = {};
}

// ============================================================ [SECTION] Showing printed text

void NoteTextDrawn(TForm1& f) {
  StateOf(f).TextUnshown = true;
}

bool TextUnshown(const TForm1& f) {
  return f.Gfx.Screen.TextUnshown;
}

void PresentText(TForm1& f) {
  PresentScreen(f);
  ScreenState& s = StateOf(f);
  s.TextShownMs = f.Plat.clock->NowMs();
  s.TextUnshown = false;
}

void ShowPrintedText(TForm1& f, bool moreFollows) {
  const ScreenState& s = StateOf(f);
  if (!s.TextUnshown) return;
  const uint32_t since = f.Plat.clock->NowMs() - s.TextShownMs;
  const bool due = f.State.Mode.SkipMode != SkipMode::Off ? since >= kSkipPresentMs
                                              : since >= kFramePresentMs || !moreFollows;
  if (due) PresentText(f);
}

void FlushText(TForm1& f) {
  if (StateOf(f).TextUnshown) PresentText(f);
}

void UpdateText(TForm1& f) {
  if (StateOf(f).TextUnshown) {
    PresentText(f);
  } else if (!StateOf(f).Damage.Empty()) {
    PresentScreenDamage(f);
    StateOf(f).TextShownMs = f.Plat.clock->NowMs();
  }
}

}  // namespace zk
