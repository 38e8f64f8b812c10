// The 26 transitions, the frame driver they share, and the cross-fades.
//
// [SECTION] Helpers
// [SECTION] Frame drawers
// [SECTION] The table
// [SECTION] Driver, RunTransition, CrossFade
#include "graphics/Transitions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "core/TForm1.h"
#include "effects/pixel/PixelOps.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "graphics/Surfaces.h"

namespace zk {

// ============================================================ [SECTION] Helpers

namespace {

constexpr int W = kSceneWidth;
constexpr int H = kSceneHeight;
constexpr int kRowBytes = W * 3;
constexpr int kRowGroups = kRowBytes / 8;

// The window is the 800 x 600 frame, so its rows are reached by a fixed
// stride; a span is clipped to the window and to its source picture. The
// transitions copy thousands of small spans a frame, so this stays lean.
uint8_t* WinRow(TransitionRun& r, int y) {
  return r.Win.Data + static_cast<size_t>(y) * kRowBytes;
}

// Copies pixels [x0, x1) of row y of src into the window, clipped to the window.
void CopySpanFrom(TransitionRun& r, const Bitmap& src, int y, int x0, int x1) {
  if (y < 0 || y >= std::min(H, src.Height) || !r.Win.Data || src.Pixels.empty()) return;
  x0 = std::max(x0, 0);
  x1 = std::min({x1, W, src.Width});
  if (x0 >= x1) return;
  std::memcpy(WinRow(r, y) + x0 * 3, src.Row(y) + x0 * 3, static_cast<size_t>(x1 - x0) * 3);
}

// Copies pixels [x0, x1) of row y of the new picture into the window.
void CopySpan(TransitionRun& r, int y, int x0, int x1) {
  CopySpanFrom(r, r.New, y, x0, x1);
}

// Copies the rectangle (x, y, w, h) of the new picture into the window at
// the same place, clipped to the window.
void CopyRect(TransitionRun& r, int x, int y, int w, int h) {
  CopyArea(ViewOf(r.New), x, y, w, h, r.Win, x, y);
}

// window = (new * w + old * (256 - w)) >> 8, whole frame.
void MixToWindow(TransitionRun& r, int w) {
  for (int y = 0; y < H; ++y) MixSpanWeighted(r.Old.Row(y), r.New.Row(y), kRowGroups, w, WinRow(r, y));
}

void Shuffle(TransitionRun& r, int count) {
  r.Order.resize(count);
  for (int i = 0; i < count; ++i) r.Order[i] = i;
  // Each position is swapped with one chosen at random.
  for (int i = 0; i < count; ++i) std::swap(r.Order[i], r.Order[r.f.Random() % count]);
}

}  // namespace

// ============================================================ [SECTION] Frame drawers

namespace {

// 0: no frames; the final copy shows the scene.
bool DrawNothing(TransitionRun&) { return false; }

// 1: vertical blinds, columns x mod 16 = f.
bool DrawBlindsVertical(TransitionRun& r) {
  for (int y = 0; y < H; ++y) {
    uint8_t* d = WinRow(r, y);
    const uint8_t* s = r.New.Row(y);
    for (int x = r.Pos; x < W; x += 16) std::memcpy(d + 3 * x, s + 3 * x, 3);
  }
  return true;
}

// 2: horizontal blinds, rows y mod 16 = f.
bool DrawBlindsHorizontal(TransitionRun& r) {
  for (int y = r.Pos; y < H; y += 16) CopySpan(r, y, 0, W);
  return true;
}

// 3: band b (16 pixels from 16b) shows its left f - b + 1 columns.
bool DrawSoftWipe(TransitionRun& r) {
  for (int b = 0; b * 16 < W; ++b) {
    const int shown = std::min(r.Pos - b + 1, 16);
    if (shown < 1) break;
    CopyRect(r, 16 * b, 0, shown, H);
  }
  return true;
}

// 4: a filled circle of the new picture around (400, 300), as horizontal spans.
void BeginIris(TransitionRun& r) {
  const Banks& v = r.f.State.Vars;
  // The reach takes S020 and S021 (the overlay's order and x) as a centre.
  const long long dx = std::llabs(static_cast<long long>(v.S(kSysOverlayOrder)) - 400);
  const long long dy = std::llabs(static_cast<long long>(v.S(kSysOverlayX)) - 300);
  // Beyond a radius of 500 the picture is complete; a runaway reach must not
  // hold the game for minutes.
  r.End = 500 + static_cast<int>(std::min(std::max(dx, dy), 800LL));
}

bool DrawIris(TransitionRun& r) {
  constexpr int cx = 400, cy = 300;
  int x = r.Pos, y = 0, err = 1 - r.Pos;
  while (x >= y) {
    CopySpan(r, cy + y, cx - x, cx + x + 1);
    CopySpan(r, cy - y, cx - x, cx + x + 1);
    CopySpan(r, cy + x, cx - y, cx + y + 1);
    CopySpan(r, cy - x, cx - y, cx + y + 1);
    ++y;
    if (err < 0) {
      err += 2 * y + 1;
    } else {
      --x;
      err += 2 * (y - x) + 1;
    }
  }
  return true;
}

// 5: 100 tiles of 80 x 60 in random order, each fading in over 17 steps.
constexpr int kTiles = 100;
void BeginTiles(TransitionRun& r) { Shuffle(r, kTiles); }

void CopyTile(TransitionRun& r, const Bitmap& src, int t) {
  const int x = (t % 10) * kTileWidth, y = (t / 10) * kTileHeight;
  for (int row = y; row < y + kTileHeight; ++row) CopySpanFrom(r, src, row, x, x + kTileWidth);
}

bool DrawTiles(TransitionRun& r) {
  const int k = r.Pos;
  for (int p = k - 19; p < k - 16; ++p)
    if (p >= 0 && p < kTiles) CopyTile(r, r.New, r.Order[p]);
  for (int j = 0; j <= 16; ++j) {
    const int p = k - 16 + j;
    if (p < 0 || p >= kTiles) continue;
    const int t = r.Order[p];
    MixTile(r.Old, r.New, (t % 10) * kTileWidth, (t / 10) * kTileHeight, 16 * j, r.Out);
    CopyTile(r, r.Out, t);
  }
  return true;
}

// 6, 9, 13 and the fades: the whole frame mixed at the counter's weight.
bool DrawCrossFade(TransitionRun& r) {
  MixToWindow(r, std::min(r.Pos, 256));
  return true;
}

// 7: five pairs of rows per frame, y from the top and 599 - y from the bottom.
bool DrawRowsBothEnds(TransitionRun& r) {
  for (int i = 0; i < 5; ++i) {
    const int y = r.Pos + 2 * i;
    if (y >= H) break;
    CopySpan(r, y, 0, W);
    CopySpan(r, H - 1 - y, 0, W);
  }
  return true;
}

// 8: the same with columns.
bool DrawColumnsBothEnds(TransitionRun& r) {
  for (int i = 0; i < 5; ++i) {
    const int x = r.Pos + 2 * i;
    if (x >= W) break;
    CopyRect(r, x, 0, 1, H);
    CopyRect(r, W - 1 - x, 0, 1, H);
  }
  return true;
}

// 10, 11: squares growing in cells along the diagonals c + r. A cell of
// diagonal d shows a square of half-size f - d + lag around its centre.
template <int kCell, int kColumns, int kRows, int kLag>
bool DrawSquares(TransitionRun& r) {
  constexpr int kHalfMax = kCell / 2;
  const int f = r.Pos;
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      const int half = f - (col + row) + kLag;
      if (half < 1 || half > kHalfMax) continue;
      const int cx = col * kCell + kHalfMax, cy = row * kCell + kHalfMax;
      CopyRect(r, cx - half, cy - half, 2 * half, 2 * half);
    }
  }
  return true;
}

// 12: 32 columns fully new, then a 256-column ramp from new to old, moving right.
void BeginGradientWipe(TransitionRun& r) { r.Done = 0; }

bool DrawGradientWipe(TransitionRun& r) {
  const int left = r.Pos;
  const int fullEnd = std::clamp(left + 32, 0, W);
  if (fullEnd > r.Done) {
    CopyRect(r, r.Done, 0, fullEnd - r.Done, H);
    r.Done = fullEnd;
  }
  const int x0 = std::max(left + 32, 0), x1 = std::min(left + 32 + 256, W);
  for (int y = 0; y < H && x0 < x1; ++y) {
    uint8_t* d = WinRow(r, y);
    const uint8_t* n = r.New.Row(y);
    const uint8_t* o = r.Old.Row(y);
    for (int x = x0; x < x1; ++x) {
      const unsigned i = static_cast<unsigned>(x - (left + 32));
      for (int c = 3 * x; c < 3 * x + 3; ++c) d[c] = static_cast<uint8_t>((n[c] * (256 - i) + o[c] * i) >> 8);
    }
  }
  return true;
}

// 14: every row split at a random point; the 1200 pieces in random order, 24 a frame.
constexpr int kPiecesPerFrame = 24;
void BeginPieces(TransitionRun& r) {
  r.Split.resize(H);
  for (int y = 0; y < H; ++y) r.Split[y] = r.f.Random() % 600 + 20;
  Shuffle(r, 2 * H);
}

bool DrawPieces(TransitionRun& r) {
  for (int i = 0; i < kPiecesPerFrame; ++i) {
    const int n = r.Pos * kPiecesPerFrame + i;
    if (n >= 2 * H) break;
    const int piece = r.Order[n], y = piece / 2;
    if (piece % 2 == 0) CopySpan(r, y, 0, r.Split[y]);
    else CopySpan(r, y, r.Split[y], W);
  }
  return true;
}

// 15: a band of 128 rows falls 8 rows a frame; inside it every byte of the
// old picture steps 16 toward the new one.
void BeginBand(TransitionRun& r) { CopySurface(r.Old, r.Out); }

bool DrawBand(TransitionRun& r) {
  const int y0 = std::max(r.Pos, 0), y1 = std::min(r.Pos + 128, H);
  for (int y = y0; y < y1; ++y) {
    uint8_t* o = r.Out.Row(y);
    const uint8_t* n = r.New.Row(y);
    for (int c = 0; c < kRowBytes; ++c) {
      const int cur = o[c], want = n[c];
      o[c] = static_cast<uint8_t>(cur < want ? std::min(cur + 16, want) : std::max(cur - 16, want));
    }
    std::memcpy(WinRow(r, y), o, kRowBytes);
  }
  return true;
}

// 16: stripes 20 pixels wide slanting left by one pixel a row; stripe d shows
// f - d + 1 of its pixels. Built in the output surface, every second frame shown.
void BeginStripes(TransitionRun& r) { CopySurface(r.Old, r.Out); }

bool DrawStripes(TransitionRun& r) {
  const int f = r.Pos;
  for (int d = std::max(f - 19, 0); d <= f; ++d) {
    const int shown = f - d + 1;
    for (int y = 0; y < H; ++y) {
      const int x0 = std::max(20 * d - y, 0), x1 = std::min(20 * d - y + shown, W);
      if (x0 < x1)
        std::memcpy(r.Out.Row(y) + x0 * 3, r.New.Row(y) + x0 * 3, static_cast<size_t>(x1 - x0) * 3);
    }
  }
  if ((f & 1) == 0) return false;
  CopyToScreen(r.f, r.Out);
  return true;
}

// 17: checker dissolve in L levels, a quarter of the pixels per sub-frame.
void BeginChecker(TransitionRun& r) {
  const int s016 = r.f.State.Vars.S(kSysDissolveLevels);
  r.Levels = s016 >= 1 && s016 <= 128 ? s016 : 16;
  r.End = 4 * r.Levels;
}

bool DrawChecker(TransitionRun& r) {
  const unsigned levels = static_cast<unsigned>(r.Levels);
  const unsigned s = static_cast<unsigned>(r.Pos / 4 + 1);
  // (even rows, even pixels), (odd, odd), (even, odd), (odd, even)
  static constexpr int kRowParity[4] = {0, 1, 0, 1};
  static constexpr int kPixelParity[4] = {0, 1, 1, 0};
  const int q = r.Pos % 4;
  // Exact division by levels (at most 128) of values below 2^15 by a multiply.
  const uint64_t inverse = (uint64_t{1} << 32) / levels + 1;
  for (int y = kRowParity[q]; y < H; y += 2) {
    uint8_t* d = WinRow(r, y);
    const uint8_t* n = r.New.Row(y);
    const uint8_t* o = r.Old.Row(y);
    for (int x = kPixelParity[q]; x < W; x += 2) {
      for (int c = 3 * x; c < 3 * x + 3; ++c) {
        const uint64_t v = n[c] * s + o[c] * (levels - s);
        d[c] = static_cast<uint8_t>((v * inverse) >> 32);
      }
    }
  }
  return true;
}

// 18: the new picture's outer columns appear at the centre and spread out.
bool DrawSplit(TransitionRun& r) {
  const int w = r.Pos;
  for (int y = 0; y < H; ++y) {
    uint8_t* d = WinRow(r, y);
    const uint8_t* n = r.New.Row(y);
    std::memcpy(d + (400 - w) * 3, n, static_cast<size_t>(w) * 3);
    std::memcpy(d + 400 * 3, n + (W - w) * 3, static_cast<size_t>(w) * 3);
  }
  return true;
}

// 19: the new picture slides in from the left, pushing the old one right.
bool DrawPush(TransitionRun& r) {
  const int w = std::min(r.Pos, W);
  for (int y = 0; y < H; ++y) {
    uint8_t* d = WinRow(r, y);
    std::memcpy(d, r.New.Row(y) + (W - w) * 3, static_cast<size_t>(w) * 3);
    std::memcpy(d + w * 3, r.Old.Row(y), static_cast<size_t>(W - w) * 3);
  }
  return true;
}

// 20: the old picture as a growing mosaic, then the new one as a shrinking one.
bool DrawMosaic(TransitionRun& r) {
  static constexpr int kSizes[10] = {2, 3, 4, 6, 8, 12, 16, 20, 28, 40};
  const int i = std::clamp(r.Pos, 0, 19);
  const Bitmap& src = i < 10 ? r.Old : r.New;
  const int size = kSizes[i < 10 ? i : 19 - i];
  uint8_t line[kRowBytes];
  for (int cy = 0; cy < H; cy += size) {
    const uint8_t* s = src.Row(cy);
    for (int cx = 0; cx < W; cx += size)
      for (int x = cx; x < std::min(cx + size, W); ++x) std::memcpy(line + 3 * x, s + 3 * cx, 3);
    for (int y = cy; y < std::min(cy + size, H); ++y) std::memcpy(WinRow(r, y), line, kRowBytes);
  }
  return true;
}

// 21: the old picture enlarged about the centre by (a + 300) / 300, mixed
// with the new one at weight a.
bool DrawZoomFade(TransitionRun& r) {
  const int a = r.Pos;
  int columns[W];
  for (int x = 0; x < W; ++x) columns[x] = 400 + (x - 400) * 300 / (a + 300);
  r.RowA.resize(kRowBytes);
  for (int y = 0; y < H; ++y) {
    const uint8_t* o = r.Old.Row(300 + (y - 300) * 300 / (a + 300));
    for (int x = 0; x < W; ++x) std::memcpy(&r.RowA[3 * x], o + 3 * columns[x], 3);
    MixSpanWeighted(r.RowA.data(), r.New.Row(y), kRowGroups, a, WinRow(r, y));
  }
  return true;
}

// Row of src shifted so that pixel x shows source pixel x + shift; black
// where the source has no pixel.
void ShiftedRow(const Bitmap& src, int y, int shift, std::vector<uint8_t>& out) {
  out.assign(kRowBytes, 0);
  const int x0 = std::max(0, -shift), x1 = std::min(W, W - shift);
  if (x0 < x1)
    std::memcpy(out.data() + 3 * x0, src.Row(y) + 3 * (x0 + shift), static_cast<size_t>(x1 - x0) * 3);
}

// 22: old slides left by a, new enters from the right, mixed at weight a.
bool DrawSlideLeftFade(TransitionRun& r) {
  const int a = r.Pos;
  for (int y = 0; y < H; ++y) {
    ShiftedRow(r.Old, y, a, r.RowA);
    ShiftedRow(r.New, y, -(256 - a), r.RowB);
    MixSpanWeighted(r.RowA.data(), r.RowB.data(), kRowGroups, a, WinRow(r, y));
  }
  return true;
}

// 23: old slides right by a, new taken from column x + 245 - a.
bool DrawSlideRightFade(TransitionRun& r) {
  const int a = r.Pos;
  for (int y = 0; y < H; ++y) {
    ShiftedRow(r.Old, y, -a, r.RowA);
    ShiftedRow(r.New, y, 245 - a, r.RowB);
    MixSpanWeighted(r.RowA.data(), r.RowB.data(), kRowGroups, a, WinRow(r, y));
  }
  return true;
}

// 24: a turning ten-pointed star filled into the transition mask at a rising
// grey level; the window shows old and new blended through the mask.
void BeginStar(TransitionRun& r) {
  r.g.TransitionMask = Bitmap{};
  r.g.TransitionMask.Resize(W, H);
  r.Q = 0;
}

void AdvanceStar(TransitionRun& r, int periods) { r.Q += periods + 2; }

void FillPolygon(Bitmap& mask, const int (&px)[10], const int (&py)[10], uint8_t level) {
  for (int y = 0; y < H; ++y) {
    const double yc = y + 0.5;
    double xs[10];
    int n = 0;
    for (int i = 0; i < 10; ++i) {
      const int j = (i + 1) % 10;
      const double y0 = py[i], y1 = py[j];
      if ((y0 <= yc) == (y1 <= yc)) continue;
      xs[n++] = px[i] + (yc - y0) * (px[j] - px[i]) / (y1 - y0);
    }
    // At most ten crossings: an insertion sort.
    for (int a = 1; a < n; ++a)
      for (int b = a; b > 0 && xs[b] < xs[b - 1]; --b) std::swap(xs[b], xs[b - 1]);
    uint8_t* row = mask.Row(y);
    for (int k = 0; k + 1 < n; k += 2) {
      const int x0 = std::max(0, static_cast<int>(std::ceil(xs[k] - 0.5)));
      const int x1 = std::min(W, static_cast<int>(std::ceil(xs[k + 1] - 0.5)));
      if (x0 < x1) std::memset(row + 3 * x0, level, static_cast<size_t>(x1 - x0) * 3);
    }
  }
}

bool DrawStar(TransitionRun& r) {
  const int radius = r.Pos;
  int px[10], py[10];
  for (int k = 0; k < 10; ++k) {
    const double angle = (36.0 * k + radius) * std::numbers::pi / 180.0;
    const double len = (k % 2 == 0) ? radius : (radius + r.Q) / 2;
    px[k] = static_cast<int>(400 - std::cos(angle) * len);
    py[k] = static_cast<int>(300 + std::sin(angle) * len);
  }
  FillPolygon(r.g.TransitionMask, px, py, static_cast<uint8_t>(std::min(radius / 2, 255)));
  MaskMixFrames(r.Old, r.New, r.g.TransitionMask, r.Out);
  CopyToScreen(r.f, r.Out);
  return true;
}

}  // namespace

// ============================================================ [SECTION] The table

namespace {

using P = Pacing;
using A = AbortRule;

// clang-format off
const TransitionType kTypes[kTransitionCount] = {
  // No. name                       pacing         ms  abort         first step  end  begin              draw                                advance      scene
  { 0, "copy",                      P::None,        0, A::None,          0,   1,    0, nullptr,           DrawNothing,                        nullptr,     true},
  { 1, "vertical blinds",           P::Deadline,   15, A::Immediate,     0,   1,   16, nullptr,           DrawBlindsVertical,                 nullptr,     true},
  { 2, "horizontal blinds",         P::Deadline,   20, A::Immediate,     0,   1,   16, nullptr,           DrawBlindsHorizontal,               nullptr,     true},
  { 3, "soft wipe right",           P::Deadline,   20, A::Immediate,     0,   1,   70, nullptr,           DrawSoftWipe,                       nullptr,     true},
  { 4, "iris",                      P::Deadline,   20, A::Immediate,     5,  10,  500, BeginIris,         DrawIris,                           nullptr,     true},
  { 5, "random tiles",              P::FrameClock, 20, A::Immediate,     0,   1,  116, BeginTiles,        DrawTiles,                          nullptr,     true},
  { 6, "cross-fade",                P::FrameClock, 10, A::AfterLast,    48,  16,  256, nullptr,           DrawCrossFade,                      nullptr,     true},
  { 7, "rows from both ends",       P::Deadline,   15, A::Immediate,     0,  10,  600, nullptr,           DrawRowsBothEnds,                   nullptr,     true},
  { 8, "columns from both ends",    P::Deadline,   10, A::Immediate,     0,  10,  800, nullptr,           DrawColumnsBothEnds,                nullptr,     true},
  { 9, "cross-fade 12",             P::FrameClock, 40, A::Quiet,         0,  12,  257, nullptr,           DrawCrossFade,                      nullptr,     true},
  {10, "growing squares 64",        P::Deadline,   30, A::Immediate,     0,   1,   57, nullptr,           DrawSquares<64, 25, 10, 0>,         nullptr,     true},
  {11, "growing squares 32",        P::Deadline,   30, A::Immediate,     0,   1,   59, nullptr,           DrawSquares<32, 25, 19, 1>,         nullptr,     true},
  {12, "gradient wipe right",       P::FrameClock, 20, A::Immediate,  -280,   8,  800, BeginGradientWipe, DrawGradientWipe,                   nullptr,     true},
  {13, "slow cross-fade",           P::FrameClock, 50, A::Quiet,         0,   2,  257, nullptr,           DrawCrossFade,                      nullptr,     true},
  {14, "random row pieces",         P::Sleep,      20, A::Immediate,     0,   1,   50, BeginPieces,       DrawPieces,                         nullptr,     true},
  {15, "falling dissolve band",     P::Unpaced,     0, A::Immediate,  -124,   8,  665, BeginBand,         DrawBand,                           nullptr,     true},
  {16, "diagonal stripes",          P::Deadline,   30, A::Immediate,     0,   1,   95, BeginStripes,      DrawStripes,                        nullptr,     true},
  {17, "checker dissolve",          P::Deadline,   50, A::Quiet,         0,   1,   64, BeginChecker,      DrawChecker,                        nullptr,     true},
  {18, "split from the centre",     P::FrameClock, 40, A::Immediate,    32,  32,  401, nullptr,           DrawSplit,                          nullptr,     true},
  {19, "push right",                P::FrameClock, 15, A::Immediate,    20,  20,  800, nullptr,           DrawPush,                           nullptr,     true},
  {20, "mosaic",                    P::FrameClock, 80, A::Immediate,     0,   1,   20, nullptr,           DrawMosaic,                         nullptr,     true},
  {21, "zoom cross-fade",           P::FrameClock, 15, A::Immediate,     8,   8,  256, nullptr,           DrawZoomFade,                       nullptr,     true},
  {22, "slide-left cross-fade",     P::FrameClock, 15, A::Immediate,     8,   8,  256, nullptr,           DrawSlideLeftFade,                  nullptr,     true},
  {23, "slide-right cross-fade",    P::FrameClock, 15, A::Immediate,     8,   8,  256, nullptr,           DrawSlideRightFade,                 nullptr,     true},
  {24, "star",                      P::FrameClock, 40, A::Quiet,         5,   5,  660, BeginStar,         DrawStar,                           AdvanceStar, true},
  {25, "none",                      P::None,        0, A::None,          0,   1,    0, nullptr,           DrawNothing,                        nullptr,     false},
};
// clang-format on

}  // namespace

const TransitionType& TransitionTypeOf(int number) {
  return kTypes[std::clamp(number, 0, kTransitionCount - 1)];
}

// ============================================================ [SECTION] Driver, RunTransition, CrossFade

TransitionRun::TransitionRun(TForm1& form)
    : f(form), g(form.Gfx), New(g.Scene), Old(g.Previous), Out(g.Output), Win(ScreenCanvas(form)) {}

bool RunTransitionFrames(TransitionRun& r, const TransitionType& t) {
  FrameClock clock(*r.f.Plat.clock);
  r.Pos = t.First;
  r.End = t.End;
  if (t.Begin) t.Begin(r);
  const bool checksEachFrame = t.Abort == AbortRule::Immediate || t.Abort == AbortRule::Quiet;
  while (r.Pos < r.End) {
    const uint32_t frameStart = clock.NowMs();
    int periods = 1;
    if (t.Draw(r)) {
      PresentScreen(r.f);
      if (checksEachFrame && r.f.State.Mode.EffectAbort != EffectAbort::None) return true;
      switch (t.Pace) {
        case Pacing::None:
          break;
        case Pacing::Deadline:
          clock.WaitUntil(frameStart + static_cast<uint32_t>(t.PeriodMs));
          break;
        case Pacing::FrameClock:
          periods = clock.Wait(t.PeriodMs);
          break;
        case Pacing::Sleep:
          r.f.Plat.clock->SleepMs(static_cast<uint32_t>(t.PeriodMs));
          r.f.Plat.clock->Pump();
          break;
        case Pacing::Unpaced:
          r.f.Plat.clock->Pump();
          break;
      }
    }
    r.Pos += t.Step * std::min(periods, 1 << 16);
    if (t.Advance) t.Advance(r, periods);
  }
  return false;
}

namespace {

// The surfaces a transition reads and writes are full frames.
void EnsureFrames(GraphicsState& g) {
  g.Scene.Resize(kSceneWidth, kSceneHeight);
  g.Previous.Resize(kSceneWidth, kSceneHeight);
  g.Output.Resize(kSceneWidth, kSceneHeight);
}

void ShowScene(TForm1& f) {
  CopyToScreen(f, f.Gfx.Scene);
  PresentScreen(f);
}

}  // namespace

void RunTransition(TForm1& f, int number) {
  ModeState& m = f.State.Mode;
  if (number < 0 || f.State.Settings.GMode != 0 || m.SkipMode != SkipMode::Off) number = 0;
  const TransitionType& t = TransitionTypeOf(number);
  GraphicsState& g = f.Gfx;
  EnsureFrames(g);

  f.State.Vars.S(kSysSleepCut) = 0;
  const EffectLock lock(m);

  TransitionRun r(f);
  const bool aborted = RunTransitionFrames(r, t);
  if (aborted ? t.Abort == AbortRule::Immediate
              : t.Abort == AbortRule::AfterLast && m.EffectAbort != EffectAbort::None)
    f.State.Vars.S(kSysSleepCut) = 1;
  if (t.ShowsScene) ShowScene(f);
  g.TransitionMask = Bitmap{};
}

void CrossFade(TForm1& f, int step, int periodMs) {
  ModeState& m = f.State.Mode;
  GraphicsState& g = f.Gfx;
  EnsureFrames(g);
  EffectLock lock(m);
  const TransitionType fade{-1, "cross-fade", Pacing::FrameClock, periodMs, AbortRule::Quiet,
                            0, std::max(step, 1), 257, nullptr, DrawCrossFade, nullptr, true};
  TransitionRun r(f);
  RunTransitionFrames(r, fade);
  lock.End();
  ShowScene(f);
}

void CrossFadeByType(TForm1& f, int type) {
  const FadeType t = CrossFadeType(type);
  CrossFade(f, t.Step, t.PeriodMs);
}

}  // namespace zk
