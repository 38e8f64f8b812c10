// The engine's per-pixel routines: weighted mixing of two images, drawing
// through a per-byte alpha mask, brightness scaling with a saturated addend.
//
// Every routine treats a row as a plain sequence of bytes (blue, green, red,
// blue, ...) and applies the same arithmetic to each byte; pixel boundaries do
// not matter. Span routines count in groups of 8 bytes and write whole groups
// only. All arithmetic is unsigned and rounds down (">> 8").
//
// Each hot routine exists as a scalar reference and as SSE2 and AVX2 versions
// that give the same bytes. The best version the processor supports is chosen
// once, on first use; UsePixelIsa() switches it (tests and benchmarks).
//
// [SECTION] Shared mix weight
// [SECTION] Span routines
// [SECTION] Frame routines
// [SECTION] Masked draws
// [SECTION] Cross-fade types
// [SECTION] Variants and their selection
#pragma once
#include <cstdint>

#include "base/Bitmap.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZK_PIXEL_X86 1
#else
#define ZK_PIXEL_X86 0
#endif

namespace zk {

// ============================================================ [SECTION] Shared mix weight

// One engine-wide weight pair (w, 256 - w). w = 0 keeps the first image, 256
// gives the second. It stays set until a routine that takes a weight sets it
// again. Weights outside 0..256 are clamped (products must fit in 16 bits).
constexpr int kMixWeightMax = 256;
void SetMixWeight(int w);
int MixWeight();

// ============================================================ [SECTION] Span routines
// Spans are byte pointers into rows; `out` may be the same buffer as an input
// (each group is read completely before it is written). Non-positive counts do
// nothing.

// out = (b * w + a * (256 - w)) >> 8 with the shared weight.
void MixSpan(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out);
// Sets the shared weight to w, then as MixSpan.
void MixSpanWeighted(const uint8_t* a, const uint8_t* b, int groups, int w, uint8_t* out);
// Sets the shared weight to w, then as MixSpan over pixels * 3 / 8 groups; the
// remaining pixels * 3 % 8 bytes are not written.
void MixSpanPixels(const uint8_t* a, const uint8_t* b, int pixels, int w, uint8_t* out);
// A group whose 8 mask bytes are all 0 copies the background exactly; any
// other group gives out = (bg * (255 - m) + pic * m) >> 8 for each of its bytes,
// so an opaque byte (255) lands one level below the picture and a 0 mask byte
// next to non-zero ones lands one level below the background.
void MaskBlendSpan(const uint8_t* background, const uint8_t* picture, int groups,
                   const uint8_t* mask, uint8_t* out);
// out = min(255, ((source * w) >> 8) + addend) with w the shared weight.
void ScaleAddSpan(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out);

// ============================================================ [SECTION] Frame routines
// These work on the area the bitmaps have in common (an 800 x 600 frame is 600
// rows of 300 groups) and cover every byte of it, so rows whose length is not
// a multiple of 8 bytes are done to the end as well.

// out = (A * w + B * (256 - w)) >> 8; sets the shared weight to w.
void MixFrames(const Bitmap& a, const Bitmap& b, int w, Bitmap& out);
// The 80 x 60 block with its top-left at (x, y), clipped:
// out = (previous * w + scene * (256 - w)) >> 8; sets the shared weight to w.
constexpr int kTileWidth = 80;
constexpr int kTileHeight = 60;
void MixTile(const Bitmap& previous, const Bitmap& scene, int x, int y, int w, Bitmap& out);
// out = (previous * (255 - m) + scene * m) >> 8 with m from the mask, with no
// all-zero shortcut. Showing the result is the caller's business.
void MaskMixFrames(const Bitmap& previous, const Bitmap& scene, const Bitmap& mask, Bitmap& out);
// out = (source * w) >> 8; sets the shared weight to w. Starting the frame clock
// is the caller's business.
void ScaleFrame(const Bitmap& source, Bitmap& out, int w);

// ============================================================ [SECTION] Masked draws
// The picture is blended in place into the destination at (x, y).

// Separate mask bitmap; clipped to the destination. Whole blocks of 8 pixels
// go through MaskBlendSpan (with its all-zero shortcut); the last e % 8 pixels
// of each row are blended byte by byte without the shortcut. A mask smaller than
// the picture limits the drawn area to the part both cover.
void DrawMasked(Bitmap& destination, const Bitmap& picture, int y, int x, const Bitmap& mask);
// Picture in the left half of the bitmap, its mask in the right half (picture
// width = bitmap width / 2); otherwise as DrawMasked.
void DrawMaskedPaired(Bitmap& destination, int x, const Bitmap& picture, int y);
// Picture in the top half of the bitmap, its mask in the bottom half (picture
// height = bitmap height / 2). Not clipped: a picture that does not lie wholly
// inside the destination is reported as kIllegalBmp with kIllegalBmpKind to the
// error hook, nothing is drawn and the result is false. Bytes beyond the last
// whole group of a row are not drawn.
bool DrawMaskedStacked(Bitmap& destination, int x, const Bitmap& picture, int y);

constexpr const char* kIllegalBmp = "ILLEGAL BMP";
constexpr int kIllegalBmpKind = 3;
// Receives the errors of the routines above; by default nothing receives them.
using PixelErrorHook = void (*)(const char* message, int kind);
void SetPixelErrorHook(PixelErrorHook hook);

// ============================================================ [SECTION] Cross-fade types

// A full-screen cross-fade advances its weight by Step for each elapsed frame
// period of PeriodMs, from 0 while the weight is below 257.
struct FadeType {
  int Step;
  int PeriodMs;
};
constexpr FadeType CrossFadeType(int type) {
  switch (type) {
    case 1:
      return {24, 40};
    case 3:
      return {5, 50};
    case 4:
      return {2, 50};
    default:
      return {12, 40};
  }
}
constexpr int kCrossFadeEnd = 257;

// ============================================================ [SECTION] Variants and their
// selection

enum class PixelIsa { kScalar, kSse2, kAvx2 };
const char* PixelIsaName(PixelIsa isa);
bool PixelIsaSupported(PixelIsa isa);
PixelIsa BestPixelIsa();
PixelIsa ActivePixelIsa();
// Makes every routine above use this version; false (and no change) when the
// processor lacks it.
bool UsePixelIsa(PixelIsa isa);

// The span routines by version, with the public routines' signatures. The
// AVX2 ones may be called only where PixelIsaSupported(PixelIsa::kAvx2).
void MixSpan_Scalar(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out);
void MaskBlendSpan_Scalar(const uint8_t* background, const uint8_t* picture, int groups,
                          const uint8_t* mask, uint8_t* out);
void ScaleAddSpan_Scalar(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out);
#if ZK_PIXEL_X86
void MixSpan_SSE2(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out);
void MaskBlendSpan_SSE2(const uint8_t* background, const uint8_t* picture, int groups,
                        const uint8_t* mask, uint8_t* out);
void ScaleAddSpan_SSE2(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out);
void MixSpan_AVX2(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out);
void MaskBlendSpan_AVX2(const uint8_t* background, const uint8_t* picture, int groups,
                        const uint8_t* mask, uint8_t* out);
void ScaleAddSpan_AVX2(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out);
#endif

}  // namespace zk
