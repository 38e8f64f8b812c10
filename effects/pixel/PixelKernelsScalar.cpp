// The scalar reference kernels: plain per-byte arithmetic, one 8-byte group at
// a time (the group is copied in before anything of it is written out).
#include <algorithm>
#include <cstring>

#include "effects/pixel/PixelKernels.h"
#include "effects/pixel/PixelOps.h"

namespace zk::pixel {
namespace {

constexpr size_t kGroup = 8;

void MixScalar(const uint8_t* a, const uint8_t* b, size_t n, unsigned w, uint8_t* out) {
  for (size_t i = 0; i < n; i += kGroup) {
    size_t len = std::min(kGroup, n - i);
    uint8_t ga[kGroup], gb[kGroup], r[kGroup];
    std::memcpy(ga, a + i, len);
    std::memcpy(gb, b + i, len);
    for (size_t k = 0; k < len; ++k) r[k] = static_cast<uint8_t>(MixByte(ga[k], gb[k], w));
    std::memcpy(out + i, r, len);
  }
}

void MaskBlendScalar(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t groups,
                     uint8_t* out) {
  for (size_t g = 0; g < groups; ++g) {
    size_t i = g * kGroup;
    uint8_t gbg[kGroup], gpic[kGroup], gm[kGroup], r[kGroup];
    std::memcpy(gbg, bg + i, kGroup);
    std::memcpy(gpic, pic + i, kGroup);
    std::memcpy(gm, mask + i, kGroup);
    bool clear = true;
    for (uint8_t m : gm) clear = clear && m == 0;
    if (clear) {
      std::memcpy(r, gbg, kGroup);
    } else {
      for (size_t k = 0; k < kGroup; ++k)
        r[k] = static_cast<uint8_t>(MaskByte(gbg[k], gpic[k], gm[k]));
    }
    std::memcpy(out + i, r, kGroup);
  }
}

void MaskMixScalar(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t n,
                   uint8_t* out) {
  for (size_t i = 0; i < n; i += kGroup) {
    size_t len = std::min(kGroup, n - i);
    uint8_t gbg[kGroup], gpic[kGroup], gm[kGroup], r[kGroup];
    std::memcpy(gbg, bg + i, len);
    std::memcpy(gpic, pic + i, len);
    std::memcpy(gm, mask + i, len);
    for (size_t k = 0; k < len; ++k) r[k] = static_cast<uint8_t>(MaskByte(gbg[k], gpic[k], gm[k]));
    std::memcpy(out + i, r, len);
  }
}

void ScaleScalar(const uint8_t* src, size_t n, unsigned w, uint8_t* out) {
  for (size_t i = 0; i < n; i += kGroup) {
    size_t len = std::min(kGroup, n - i);
    uint8_t gs[kGroup], r[kGroup];
    std::memcpy(gs, src + i, len);
    for (size_t k = 0; k < len; ++k) r[k] = static_cast<uint8_t>((gs[k] * w) >> 8);
    std::memcpy(out + i, r, len);
  }
}

void ScaleAddScalar(const uint8_t* src, const uint8_t* add, size_t n, unsigned w, uint8_t* out) {
  for (size_t i = 0; i < n; i += kGroup) {
    size_t len = std::min(kGroup, n - i);
    uint8_t gs[kGroup], ga[kGroup], r[kGroup];
    std::memcpy(gs, src + i, len);
    std::memcpy(ga, add + i, len);
    for (size_t k = 0; k < len; ++k) {
      r[k] = static_cast<uint8_t>(std::min(255u, ((gs[k] * w) >> 8) + ga[k]));
    }
    std::memcpy(out + i, r, len);
  }
}

}  // namespace

const Kernels kScalarKernels = {MixScalar, MaskBlendScalar, MaskMixScalar, ScaleScalar,
                                ScaleAddScalar};

}  // namespace zk::pixel

namespace zk {

void MixSpan_Scalar(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out) {
  if (groups > 0) pixel::kScalarKernels.Mix(a, b, size_t(groups) * 8, unsigned(MixWeight()), out);
}

void MaskBlendSpan_Scalar(const uint8_t* background, const uint8_t* picture, int groups,
                          const uint8_t* mask, uint8_t* out) {
  if (groups > 0) pixel::kScalarKernels.MaskBlend(background, picture, mask, size_t(groups), out);
}

void ScaleAddSpan_Scalar(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out) {
  if (groups > 0) {
    pixel::kScalarKernels.ScaleAdd(source, addend, size_t(groups) * 8, unsigned(MixWeight()), out);
  }
}

}  // namespace zk
