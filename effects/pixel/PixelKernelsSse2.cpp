// The SSE2 kernels: 16 bytes at a time (PixelBlocks128.h).
#include "effects/pixel/PixelKernels.h"
#include "effects/pixel/PixelOps.h"

#if ZK_PIXEL_X86
#include "effects/pixel/PixelBlocks128.h"

namespace zk::pixel {
namespace {

void MixSse2(const uint8_t* a, const uint8_t* b, size_t n, unsigned w, uint8_t* out) {
  if (OutputAhead(a, out, n) || OutputAhead(b, out, n)) return kScalarKernels.Mix(a, b, n, w, out);
  v128::MixRange(a, b, 0, n, w, out);
}

void MaskBlendSse2(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t groups,
                   uint8_t* out) {
  size_t n = groups * 8;
  if (OutputAhead(bg, out, n) || OutputAhead(pic, out, n) || OutputAhead(mask, out, n)) {
    return kScalarKernels.MaskBlend(bg, pic, mask, groups, out);
  }
  v128::MaskBlendRange(bg, pic, mask, 0, n, out);
}

void MaskMixSse2(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t n,
                 uint8_t* out) {
  if (OutputAhead(bg, out, n) || OutputAhead(pic, out, n) || OutputAhead(mask, out, n)) {
    return kScalarKernels.MaskMix(bg, pic, mask, n, out);
  }
  v128::MaskMixRange(bg, pic, mask, 0, n, out);
}

void ScaleSse2(const uint8_t* src, size_t n, unsigned w, uint8_t* out) {
  if (OutputAhead(src, out, n)) return kScalarKernels.Scale(src, n, w, out);
  v128::ScaleRange(src, 0, n, w, out);
}

void ScaleAddSse2(const uint8_t* src, const uint8_t* add, size_t n, unsigned w, uint8_t* out) {
  if (OutputAhead(src, out, n) || OutputAhead(add, out, n)) {
    return kScalarKernels.ScaleAdd(src, add, n, w, out);
  }
  v128::ScaleAddRange(src, add, 0, n, w, out);
}

}  // namespace

const Kernels kSse2Kernels = {MixSse2, MaskBlendSse2, MaskMixSse2, ScaleSse2, ScaleAddSse2};

}  // namespace zk::pixel

namespace zk {

void MixSpan_SSE2(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out) {
  if (groups > 0) pixel::kSse2Kernels.Mix(a, b, size_t(groups) * 8, unsigned(MixWeight()), out);
}

void MaskBlendSpan_SSE2(const uint8_t* background, const uint8_t* picture, int groups,
                        const uint8_t* mask, uint8_t* out) {
  if (groups > 0) pixel::kSse2Kernels.MaskBlend(background, picture, mask, size_t(groups), out);
}

void ScaleAddSpan_SSE2(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out) {
  if (groups > 0) {
    pixel::kSse2Kernels.ScaleAdd(source, addend, size_t(groups) * 8, unsigned(MixWeight()), out);
  }
}

}  // namespace zk
#endif
