// The message window's picture building blocks: the tinted frame, the window
// over the scene, the text page, stacked pictures (plates, click-wait mark),
// the speaker lookup and the click-wait frame.
#include <algorithm>
#include <cstring>
#include <vector>

#include "effects/pixel/PixelOps.h"
#include "graphics/Surfaces.h"
#include "resources/GameDefinition.h"
#include "text/MessageWindow.h"

namespace zk {

namespace {

// out = (bg x (255 - m) + pic x m) >> 8 over `bytes` bytes in 8-byte groups
// through the masked blend (an all-zero group is copied exactly). The bytes
// after the last whole group form a short group with the same rule, so a
// transparent edge stays exact whatever the width.
void BlendBytes(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, int bytes,
                uint8_t* out) {
  if (bytes <= 0) return;
  const int groups = bytes / 8;
  MaskBlendSpan(bg, pic, groups, mask, out);
  const int tail = groups * 8;
  bool any = false;
  for (int i = tail; i < bytes; ++i) any |= mask[i] != 0;
  for (int i = tail; i < bytes; ++i)
    out[i] = any ? static_cast<uint8_t>((bg[i] * (255 - mask[i]) + pic[i] * mask[i]) >> 8) : bg[i];
}

// One row of `pixels` pixels of a single colour (blue, green, red).
std::vector<uint8_t> SolidRow(int pixels, uint8_t blue, uint8_t green, uint8_t red) {
  std::vector<uint8_t> row(static_cast<size_t>(pixels) * 3);
  for (int x = 0; x < pixels; ++x) {
    row[3 * x] = blue;
    row[3 * x + 1] = green;
    row[3 * x + 2] = red;
  }
  return row;
}

}  // namespace

void BuildWindowFrame(const Bitmap& frame, const Bitmap& tintArea, int width, int height,
                      uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, Bitmap& out) {
  width = std::max(0, width);
  height = std::max(0, height);
  out = Bitmap{};
  out.Resize(width, 2 * height);
  if (out.Empty()) return;
  CopyArea(frame, 0, 0, width, 2 * height, out, 0, 0);
  Bitmap tint;
  tint.Resize(width, height);
  CopyArea(tintArea, 0, 0, width, height, tint, 0, 0);
  const std::vector<uint8_t> colour = SolidRow(width, blue, green, red);
  const std::vector<uint8_t> opacity(static_cast<size_t>(width) * 3, alpha);
  for (int r = 0; r < height; ++r) {
    BlendBytes(out.Row(r), colour.data(), tint.Row(r), width * 3, out.Row(r));
    BlendBytes(out.Row(height + r), opacity.data(), tint.Row(r), width * 3, out.Row(height + r));
  }
}

void ComposeWindow(const Bitmap& stage, int x, int y, const Bitmap& frame, Bitmap& window) {
  const int width = frame.Width;
  const int height = frame.Height / 2;
  window.Resize(width, height);
  if (window.Empty()) return;
  const int bytes = width * 3;
  const bool inside = x >= 0 && y >= 0 && x + width <= stage.Width && y + height <= stage.Height;
  std::vector<uint8_t> below;
  if (!inside) below.resize(bytes);
  for (int r = 0; r < height; ++r) {
    const uint8_t* bg;
    if (inside) {
      bg = stage.Row(y + r) + 3 * x;
    } else {
      // Parts of the window off the stage blend over black.
      std::fill(below.begin(), below.end(), 0);
      const int sy = y + r;
      if (sy >= 0 && sy < stage.Height) {
        const int from = std::max(0, -x);
        const int to = std::min(width, stage.Width - x);
        if (from < to)
          std::memcpy(below.data() + 3 * from, stage.Row(sy) + 3 * (x + from), 3 * (to - from));
      }
      bg = below.data();
    }
    BlendBytes(bg, frame.Row(r), frame.Row(height + r), bytes, window.Row(r));
  }
}

void BuildTextPage(const Bitmap& stage, int darkening, Bitmap& page) {
  page.Resize(stage.Width, stage.Height);
  ScaleFrame(stage, page, 255 - std::clamp(darkening, 0, 255));
}

void BlendStacked(Bitmap& target, int x, int y, const Bitmap& sheet, int srcX, int width,
                  int height) {
  // Visible columns c of the frame: inside the target, the sheet and the frame.
  const int c0 = std::max({0, -x, -srcX});
  const int c1 = std::min({width, target.Width - x, sheet.Width - srcX});
  if (c0 >= c1 || height <= 0) return;
  for (int r = 0; r < height; ++r) {
    const int ty = y + r;
    if (ty < 0 || ty >= target.Height) continue;
    if (r >= sheet.Height || height + r >= sheet.Height) break;
    uint8_t* at = target.Row(ty) + 3 * (x + c0);
    BlendBytes(at, sheet.Row(r) + 3 * (srcX + c0), sheet.Row(height + r) + 3 * (srcX + c0),
               3 * (c1 - c0), at);
  }
}

int FindSpeaker(const GameDefinition& def, std::string_view name) {
  for (int k = kFirstSpeaker; k <= kLastSpeaker && k < kSpeakerCount; ++k)
    if (def.NAME[k].Defined && def.NAME[k].Name == name) return k;
  return 0;
}

int ClickWaitFrame(int32_t counter, int timing, int frames) {
  if (frames <= 0) return 0;
  const uint32_t ticks = static_cast<uint32_t>(counter);
  return static_cast<int>((ticks >> std::clamp(timing, 0, 31)) % static_cast<uint32_t>(frames));
}

}  // namespace zk
