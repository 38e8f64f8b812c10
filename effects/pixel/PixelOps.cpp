// The public pixel routines: the shared weight, the choice of kernels, and the
// frame and draw routines built on the kernels.
//
// [SECTION] State: weight, kernels, error hook
// [SECTION] Span routines
// [SECTION] Frame routines
// [SECTION] Masked draws
#include "effects/pixel/PixelOps.h"

#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <limits>

#include "effects/pixel/PixelKernels.h"

namespace zk {
namespace {

// ============================================================ [SECTION] State: weight, kernels,
// error hook

// The weight pair is process-wide by design: the routines that mix without a
// weight argument read the pair some earlier call has set.
int gMixWeight = 0;
PixelErrorHook gErrorHook = nullptr;

struct Choice {
  PixelIsa Isa;
  const pixel::Kernels* Table;
};
// Indexed by PixelIsa; only supported entries are ever chosen.
const Choice gChoices[] = {
    {PixelIsa::kScalar, &pixel::kScalarKernels},
#if ZK_PIXEL_X86
    {PixelIsa::kSse2, &pixel::kSse2Kernels},
    {PixelIsa::kAvx2, &pixel::kAvx2Kernels},
#endif
};
std::atomic<const Choice*> gChoice{nullptr};

const Choice& Chosen() {
  const Choice* c = gChoice.load(std::memory_order_acquire);
  if (!c) {
    c = &gChoices[static_cast<int>(BestPixelIsa())];
    gChoice.store(c, std::memory_order_release);
  }
  return *c;
}

const pixel::Kernels& K() {
  return *Chosen().Table;
}

unsigned ClampWeight(int w) {
  return static_cast<unsigned>(std::clamp(w, 0, kMixWeightMax));
}

void ReportError(const char* message, int kind) {
  if (gErrorHook) gErrorHook(message, kind);
}

// A bitmap whose fields describe its own pixel buffer; anything else is
// treated as empty.
bool Usable(const Bitmap& b) {
  return b.Width > 0 && b.Height > 0 && int64_t{b.Stride} >= int64_t{b.Width} * 3 &&
         b.Pixels.size() >= static_cast<size_t>(b.Stride) * static_cast<size_t>(b.Height);
}

}  // namespace

void SetMixWeight(int w) {
  gMixWeight = static_cast<int>(ClampWeight(w));
}
int MixWeight() {
  return gMixWeight;
}
void SetPixelErrorHook(PixelErrorHook hook) {
  gErrorHook = hook;
}

const char* PixelIsaName(PixelIsa isa) {
  switch (isa) {
    case PixelIsa::kSse2:
      return "SSE2";
    case PixelIsa::kAvx2:
      return "AVX2";
    default:
      return "Scalar";
  }
}

bool PixelIsaSupported(PixelIsa isa) {
  switch (isa) {
    case PixelIsa::kScalar:
      return true;
#if ZK_PIXEL_X86
    case PixelIsa::kSse2:
      return true;  // part of every x86-64 processor
    case PixelIsa::kAvx2:
      return __builtin_cpu_supports("avx2");
#endif
    default:
      return false;
  }
}

PixelIsa BestPixelIsa() {
  for (PixelIsa isa : {PixelIsa::kAvx2, PixelIsa::kSse2}) {
    if (PixelIsaSupported(isa)) return isa;
  }
  return PixelIsa::kScalar;
}

PixelIsa ActivePixelIsa() {
  return Chosen().Isa;
}

bool UsePixelIsa(PixelIsa isa) {
  if (!PixelIsaSupported(isa)) return false;
  gChoice.store(&gChoices[static_cast<int>(isa)], std::memory_order_release);
  return true;
}

// ============================================================ [SECTION] Span routines

void MixSpan(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out) {
  if (groups > 0) K().Mix(a, b, size_t(groups) * 8, unsigned(gMixWeight), out);
}

void MixSpanWeighted(const uint8_t* a, const uint8_t* b, int groups, int w, uint8_t* out) {
  SetMixWeight(w);
  MixSpan(a, b, groups, out);
}

void MixSpanPixels(const uint8_t* a, const uint8_t* b, int pixels, int w, uint8_t* out) {
  SetMixWeight(w);
  if (pixels > 0) MixSpan(a, b, static_cast<int>(int64_t{pixels} * 3 / 8), out);
}

void MaskBlendSpan(const uint8_t* background, const uint8_t* picture, int groups,
                   const uint8_t* mask, uint8_t* out) {
  if (groups > 0) K().MaskBlend(background, picture, mask, size_t(groups), out);
}

void ScaleAddSpan(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out) {
  if (groups > 0) K().ScaleAdd(source, addend, size_t(groups) * 8, unsigned(gMixWeight), out);
}

// ============================================================ [SECTION] Frame routines

namespace {

// Rows and bytes per row that all the bitmaps have; zero when one is unusable.
struct Area {
  int Rows = 0;
  size_t Bytes = 0;
};
Area CommonArea(std::initializer_list<const Bitmap*> bitmaps) {
  int width = std::numeric_limits<int>::max();
  int height = width;
  for (const Bitmap* b : bitmaps) {
    if (!Usable(*b)) return {};
    width = std::min(width, b->Width);
    height = std::min(height, b->Height);
  }
  return {height, static_cast<size_t>(width) * 3};
}

}  // namespace

void MixFrames(const Bitmap& a, const Bitmap& b, int w, Bitmap& out) {
  SetMixWeight(w);
  Area area = CommonArea({&a, &b, &out});
  const pixel::Kernels& k = K();
  for (int y = 0; y < area.Rows; ++y) {
    k.Mix(b.Row(y), a.Row(y), area.Bytes, unsigned(gMixWeight), out.Row(y));
  }
}

void MixTile(const Bitmap& previous, const Bitmap& scene, int x, int y, int w, Bitmap& out) {
  SetMixWeight(w);
  Area area = CommonArea({&previous, &scene, &out});
  int64_t width = static_cast<int64_t>(area.Bytes / 3);
  int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t{x} + kTileWidth, width);
  int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t{y} + kTileHeight, area.Rows);
  if (x0 >= x1 || y0 >= y1) return;
  size_t offset = static_cast<size_t>(x0) * 3, bytes = static_cast<size_t>(x1 - x0) * 3;
  const pixel::Kernels& k = K();
  for (int64_t r = y0; r < y1; ++r) {
    int row = static_cast<int>(r);
    k.Mix(scene.Row(row) + offset, previous.Row(row) + offset, bytes, unsigned(gMixWeight),
          out.Row(row) + offset);
  }
}

void MaskMixFrames(const Bitmap& previous, const Bitmap& scene, const Bitmap& mask, Bitmap& out) {
  Area area = CommonArea({&previous, &scene, &mask, &out});
  const pixel::Kernels& k = K();
  for (int y = 0; y < area.Rows; ++y) {
    k.MaskMix(previous.Row(y), scene.Row(y), mask.Row(y), area.Bytes, out.Row(y));
  }
}

void ScaleFrame(const Bitmap& source, Bitmap& out, int w) {
  SetMixWeight(w);
  Area area = CommonArea({&source, &out});
  const pixel::Kernels& k = K();
  for (int y = 0; y < area.Rows; ++y) {
    k.Scale(source.Row(y), area.Bytes, unsigned(gMixWeight), out.Row(y));
  }
}

// ============================================================ [SECTION] Masked draws

namespace {

// Where a picture of pw x ph pixels lands in a W x H destination at (x, y).
struct Placement {
  int Rows = 0;    // rows drawn
  int Pixels = 0;  // pixels drawn per row
  int DstX = 0, DstY = 0;
  int SrcX = 0, SrcY = 0;
};

// Clips as the engine always has: rows above the top are skipped; a picture
// starting below the bottom, right of the right edge or with nothing left is
// not drawn; the rest is cut to the destination.
bool PlaceClipped(int64_t W, int64_t H, int64_t pw, int64_t ph, int64_t x, int64_t y,
                  Placement* p) {
  int64_t r0 = 0, h = ph;
  if (y < 0) {
    r0 = -y;
    h += y;
    y = 0;
  }
  if (std::max<int64_t>(x, 0) >= W || y > H || h < 1) return false;
  int64_t e = x >= 0 ? pw : pw + x;
  if (e < 1) return false;
  if (x + pw > W) e = W - std::max<int64_t>(x, 0);
  if (y + h > H) h = H - y;
  if (h < 1) return false;
  p->Rows = static_cast<int>(h);
  p->Pixels = static_cast<int>(e);
  p->DstX = static_cast<int>(std::max<int64_t>(x, 0));
  p->DstY = static_cast<int>(y);
  p->SrcX = static_cast<int>(x < 0 ? -x : 0);
  p->SrcY = static_cast<int>(r0);
  return true;
}

// Blends rows of the picture (at column maskDx pixels further for the mask, in
// the row maskDy further down) into the destination: whole blocks of 8 pixels
// with the group shortcut, the rest byte by byte without it.
void BlendPlaced(Bitmap& dst, const Bitmap& pic, const Bitmap& mask, int maskDx, int maskDy,
                 const Placement& p) {
  const pixel::Kernels& k = K();
  size_t groups = size_t(p.Pixels >> 3) * 3;
  size_t tail = size_t(p.Pixels & 7) * 3;
  size_t dstOffset = size_t(p.DstX) * 3;
  size_t picOffset = size_t(p.SrcX) * 3;
  size_t maskOffset = size_t(p.SrcX + maskDx) * 3;
  for (int i = 0; i < p.Rows; ++i) {
    uint8_t* d = dst.Row(p.DstY + i) + dstOffset;
    const uint8_t* s = pic.Row(p.SrcY + i) + picOffset;
    const uint8_t* m = mask.Row(p.SrcY + i + maskDy) + maskOffset;
    k.MaskBlend(d, s, m, groups, d);
    if (tail) k.MaskMix(d + groups * 8, s + groups * 8, m + groups * 8, tail, d + groups * 8);
  }
}

}  // namespace

void DrawMasked(Bitmap& destination, const Bitmap& picture, int y, int x, const Bitmap& mask) {
  if (!Usable(destination) || !Usable(picture) || !Usable(mask)) return;
  Placement p;
  if (!PlaceClipped(destination.Width, destination.Height, std::min(picture.Width, mask.Width),
                    std::min(picture.Height, mask.Height), x, y, &p)) {
    return;
  }
  BlendPlaced(destination, picture, mask, 0, 0, p);
}

void DrawMaskedPaired(Bitmap& destination, int x, const Bitmap& picture, int y) {
  if (!Usable(destination) || !Usable(picture)) return;
  int half = picture.Width / 2;
  Placement p;
  if (!PlaceClipped(destination.Width, destination.Height, half, picture.Height, x, y, &p)) return;
  BlendPlaced(destination, picture, picture, half, 0, p);
}

bool DrawMaskedStacked(Bitmap& destination, int x, const Bitmap& picture, int y) {
  int64_t pw = Usable(picture) ? picture.Width : 0;
  int64_t hp = Usable(picture) ? picture.Height / 2 : 0;
  int64_t W = Usable(destination) ? destination.Width : 0;
  int64_t H = Usable(destination) ? destination.Height : 0;
  // A negative position would write in front of the rows; it does not fit either.
  if (x < 0 || y < 0 || x + pw > W || y + hp > H) {
    ReportError(kIllegalBmp, kIllegalBmpKind);
    return false;
  }
  size_t groups = static_cast<size_t>(pw) * 3 / 8;
  if (groups == 0 || hp == 0) return true;
  const pixel::Kernels& k = K();
  for (int r = 0; r < hp; ++r) {
    uint8_t* d = destination.Row(y + r) + size_t(x) * 3;
    k.MaskBlend(d, picture.Row(r), picture.Row(static_cast<int>(hp) + r), groups, d);
  }
  return true;
}

}  // namespace zk
