#include "text/Glyphs.h"

#include <algorithm>
#include <cstring>

#include "base/Sjis.h"
#include "base/Utf8.h"
#include "effects/pixel/PixelOps.h"

namespace zk {

// ============================================================ [SECTION] Cells and levels

char32_t SjisCodeToUnicode(uint16_t code) {
  char bytes[2];
  size_t n = 0;
  if (code > 0xFF) {
    bytes[n++] = static_cast<char>(code >> 8);
    bytes[n++] = static_cast<char>(code & 0xFF);
    if (!IsSjisLead(static_cast<unsigned char>(bytes[0]))) return 0;
  } else {
    bytes[n++] = static_cast<char>(code);
    if (code < 0x20 || code == 0x7F || IsSjisLead(static_cast<unsigned char>(code))) return 0;
  }
  const std::string utf8 = SjisToUtf8(std::string_view(bytes, n));
  // A code that did not decode as one character is none.
  char32_t c = 0;
  if (utf8.empty() || DecodeUtf8(utf8, 0, c) != utf8.size() || c == kReplacementChar) return 0;
  return c;
}

bool PlaceGlyph(const platform::GlyphImage& image, int ascent, GlyphCell& cell) {
  cell.fill(0);
  if (image.Width <= 0 || image.Height <= 0) return true;  // nothing to draw, nothing wrong
  if (image.Pitch < image.Width || image.Bytes() >= static_cast<size_t>(kGlyphCellBytes) ||
      image.Levels.size() < image.Bytes())
    return false;
  const int left = image.OriginX;
  const int top = ascent - image.OriginY + 2;
  for (int y = 0; y < image.Height; ++y) {
    const int r = top + y;
    if (r < 0 || r >= kGlyphCellHeight) continue;
    const uint8_t* src = image.Levels.data() + static_cast<size_t>(y) * image.Pitch;
    uint8_t* dst = cell.data() + r * kGlyphCellWidth;
    for (int x = 0; x < image.Width; ++x) {
      const int c = left + x;
      if (c >= 0 && c < kGlyphCellWidth) dst[c] = GlyphLevelCoverage(src[x]);
    }
  }
  return true;
}

void BuildShadowMask(const GlyphCell& g, GlyphCell& shadow) {
  shadow.fill(0);
  constexpr int w = kGlyphCellWidth;
  for (int r = 1; r <= kGlyphCellHeight - 2; ++r) {
    for (int c = 1; c <= kGlyphCellWidth - 2; ++c) {
      const int sum = g[(r - 1) * w + c] + g[r * w + c - 1] + g[r * w + c + 1] + g[(r + 1) * w + c];
      shadow[(r + 1) * w + c + 1] = static_cast<uint8_t>(sum / 4);
    }
  }
}

int FontPixelSize(int fontSize) {
  fontSize = std::clamp(fontSize, 1, 192);
  return (fontSize * 96 + 36) / 72;  // rounded to the nearest pixel
}

// ============================================================ [SECTION] Glyph renderer and cache

const std::vector<uint16_t>& PrerenderedGlyphCodes() {
  static const std::vector<uint16_t> codes = [] {
    std::vector<uint16_t> v;
    for (uint16_t c = 0x829F; c <= 0x82F1; ++c) v.push_back(c);  // hiragana
    for (uint16_t c = 0x8340; c <= 0x8396; ++c) v.push_back(c);  // katakana
    for (uint16_t c = 0x824F; c <= 0x8258; ++c) v.push_back(c);  // full-width digits
    for (uint16_t c : {0x8140, 0x8175, 0x8176, 0x8169, 0x816A, 0x8163, 0x8142, 0x8141, 0x8145,
                       0x8149, 0x8148, 0x93FA, 0x8177, 0x8178})
      v.push_back(c);
    return v;
  }();
  return codes;
}

void GlyphRenderer::SetFont(std::string_view faceSjis, int fontSize, bool bold) {
  faceUtf8_ = SjisToUtf8(faceSjis);
  pixelSize_ = FontPixelSize(fontSize);
  bold_ = bold;
}

void GlyphRenderer::ApplyFont() {
  if (raster_) raster_->SetFont(faceUtf8_, pixelSize_, bold_);
}

void GlyphRenderer::ResetCache() {
  for (const Entry& e : cache_) slot_[e.Code] = 0;
  cache_.clear();
  rasterCount_ = 0;
  prerenderPending_ = true;
}

bool GlyphRenderer::Rasterise(uint16_t code, GlyphCell& cell) {
  cell.fill(0);
  if (!raster_) return false;
  const char32_t c = SjisCodeToUnicode(code);
  if (c == 0) return false;
  ++rasterCount_;
  platform::GlyphImage image;
  if (!raster_->RenderGlyph(c, image)) return false;
  return PlaceGlyph(image, raster_->Ascent(), cell);
}

void GlyphRenderer::Prerender() {
  prerenderPending_ = false;
  if (cache_.capacity() < kGlyphCacheSize) cache_.reserve(kGlyphCacheSize);
  ApplyFont();
  GlyphCell cell;
  for (uint16_t code : PrerenderedGlyphCodes()) {
    if (slot_[code] != 0 || cache_.size() >= kGlyphCacheSize) continue;
    if (!Rasterise(code, cell)) continue;
    cache_.push_back({code, cell});
    slot_[code] = static_cast<int16_t>(cache_.size());
  }
}

bool GlyphRenderer::Render(uint16_t code) {
  if (prerenderPending_) Prerender();
  const int16_t slot = slot_[code];
  if (slot != 0) {
    glyph_ = cache_[slot - 1].Cell;
  } else {
    ApplyFont();
    if (!Rasterise(code, glyph_)) {
      glyph_.fill(0);
      shadow_.fill(0);
      return false;
    }
    if (cache_.size() < kGlyphCacheSize) {
      cache_.push_back({code, glyph_});
      slot_[code] = static_cast<int16_t>(cache_.size());
    }
  }
  BuildShadowMask(glyph_, shadow_);
  return true;
}

// ============================================================ [SECTION] Text colours

uint32_t TextColourOf(int index, uint32_t speakerColour) {
  // red, green, blue of indices 1-7
  static constexpr uint8_t kFixed[8][3] = {{0, 0, 0},     {0, 128, 0},    {255, 0, 0},
                                           {128, 0, 128}, {255, 255, 0},  {0, 0, 255},
                                           {0, 255, 255}, {192, 192, 192}};
  const int i = index & 7;
  if (i == 0) return speakerColour & 0xFFFFFF;
  return kFixed[i][0] | (kFixed[i][1] << 8) | (kFixed[i][2] << 16);
}

void ColourRow::Set(uint32_t colour) {
  if (colour == Colour) return;
  Colour = colour;
  for (int x = 0; x < kGlyphCellWidth; ++x) {
    Bytes[3 * x] = static_cast<uint8_t>(colour >> 16);     // blue
    Bytes[3 * x + 1] = static_cast<uint8_t>(colour >> 8);  // green
    Bytes[3 * x + 2] = static_cast<uint8_t>(colour);       // red
  }
}

// ============================================================ [SECTION] Drawing

namespace {

constexpr int kRowBytes = kGlyphCellWidth * 3;  // 96 bytes, 12 groups of 8
constexpr std::array<uint8_t, kRowBytes> kBlackRow{};

// Blends one cell row (its mask spread to the three bytes of each pixel) into
// target row y at pixel x, clipped to the bitmap.
void BlendCellRow(Bitmap& target, int x, int y, const uint8_t* maskRow, const uint8_t* colour) {
  if (y < 0 || y >= target.Height) return;
  uint8_t mask[kRowBytes];
  bool any = false;
  for (int c = 0; c < kGlyphCellWidth; ++c) {
    mask[3 * c] = mask[3 * c + 1] = mask[3 * c + 2] = maskRow[c];
    any |= maskRow[c] != 0;
  }
  if (!any) return;  // every group would be copied unchanged
  uint8_t* row = target.Row(y);
  if (x >= 0 && x + kGlyphCellWidth <= target.Width) {
    uint8_t* at = row + 3 * x;
    MaskBlendSpan(at, colour, kRowBytes / 8, mask, at);
    return;
  }
  // Partly outside: blend a copy of the visible part so groups keep their
  // place relative to the cell, then write back only the visible pixels.
  const int from = std::max(0, -x);
  const int to = std::min(kGlyphCellWidth, target.Width - x);
  if (from >= to) return;
  uint8_t work[kRowBytes] = {};
  std::memcpy(work + 3 * from, row + 3 * (x + from), 3 * (to - from));
  MaskBlendSpan(work, colour, kRowBytes / 8, mask, work);
  std::memcpy(row + 3 * (x + from), work + 3 * from, 3 * (to - from));
}

}  // namespace

void DrawGlyph(Bitmap& target, int x, int y, const GlyphCell& glyph, const GlyphCell& shadow,
               const ColourRow& colour) {
  if (target.Empty()) return;
  for (int r = 0; r < kGlyphCellHeight; ++r)
    BlendCellRow(target, x + 1, y + r, shadow.data() + r * kGlyphCellWidth, kBlackRow.data());
  for (int r = 0; r < kGlyphCellHeight; ++r)
    BlendCellRow(target, x, y + r, glyph.data() + r * kGlyphCellWidth, colour.Bytes.data());
}

}  // namespace zk
