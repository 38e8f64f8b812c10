// The layer model: character positions and drawing order, the five-slot
// character cache, the layout request, the overlay in its two modes and the
// compositor that builds the stage surface.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/TextFields.h"
#include "core/TForm1.h"
#include "effects/pixel/PixelOps.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsHost.h"
#include "graphics/Surfaces.h"
#include "resources/GameDefinition.h"

namespace zk {

namespace {
// Requests to the layers above go through the host interface.
GraphicsHost& Host(TForm1& f) {
  return *f.Hosts.Graphics;
}
}  // namespace

// ---------------------------------------------------------------- positions

void CharacterPosition(const TForm1& f, int count, int position, int& x, int& y) {
  // S080..S089 hold the x positions of the 1-, 2-, 3- and 4-character
  // layouts one after the other, S090..S099 the y positions.
  static constexpr int kFirst[5] = {0, 0, 1, 3, 6};
  count = std::clamp(count, 1, 4);
  position = std::clamp(position, 0, count - 1);
  const int cell = kFirst[count] + position;
  x = f.State.Vars.S(kSysPositions + cell);
  y = f.State.Vars.S(kSysPositionsY + cell);
}

int DrawingOrder(int count, bool reversed, int order[kLayoutPositions]) {
  static constexpr int kOrder[5][2][4] = {
      {{0, 0, 0, 0}, {0, 0, 0, 0}}, {{0, 0, 0, 0}, {0, 0, 0, 0}}, {{0, 1, 0, 0}, {1, 0, 0, 0}},
      {{0, 2, 1, 0}, {0, 2, 1, 0}},  // the middle one on top either way
      {{0, 1, 3, 2}, {3, 2, 0, 1}},
  };
  count = std::clamp(count, 0, 4);
  for (int i = 0; i < count; ++i) order[i] = kOrder[count][reversed ? 1 : 0][i];
  return count;
}

// ---------------------------------------------------------------- character cache

namespace {

void CopyName(char (&dst)[kPictureNameSize], std::string_view src) {
  const size_t n = std::min(src.size(), sizeof dst - 1);
  std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
}

// Splits a side-by-side picture (sprite left, mask right) into the slot.
void SplitStaged(const Bitmap& staged, CharacterSlot& slot) {
  const int half = staged.Width / 2;
  slot.Sprite.Resize(half, staged.Height);
  slot.Mask.Resize(half, staged.Height);
  const size_t bytes = static_cast<size_t>(half) * 3;
  for (int y = 0; y < staged.Height && bytes > 0; ++y) {
    std::memcpy(slot.Sprite.Row(y), staged.Row(y), bytes);
    std::memcpy(slot.Mask.Row(y), staged.Row(y) + bytes, bytes);
  }
}

// Loads a character picture into a slot. A picture that does not exist
// leaves the slot's bitmaps as they were, but the slot takes the name.
void LoadCharacter(TForm1& f, CharacterSlot& slot, const char* name) {
  GraphicsState& g = f.Gfx;
  CopyName(slot.Name, name);
  if (TachiType(f) == 1) {
    if (LoadScenePicture(f, name, g.SpriteStaging)) SplitStaged(g.SpriteStaging, slot);
    return;
  }
  LoadScenePicture(f, name, slot.Sprite);
  char maskName[kPictureNameSize];
  CopyName(maskName, name);
  if (maskName[0] != '\0') maskName[0] = 'M';
  LoadScenePicture(f, maskName, slot.Mask);
}

int FindSlot(const GraphicsState& g, const char* name) {
  for (int s = 0; s < kCharacterSlots; ++s)
    if (std::strcmp(g.Slots[s].Name, name) == 0) return s;
  return -1;
}

}  // namespace

int ApplySpriteSpec(TForm1& f, const char* spec) {
  GraphicsState& g = f.Gfx;
  CharacterLayout& layout = g.Layout;

  char upper[kSpriteSpecSize];
  size_t len = 0;
  for (; spec[len] != '\0' && len + 1 < sizeof upper; ++len)
    upper[len] = static_cast<char>(std::toupper(static_cast<unsigned char>(spec[len])));
  upper[len] = '\0';
  std::string_view text(upper, len);
  // A line may end in blanks or a carriage return; they are no part of the last field.
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);

  std::string_view fields[kLayoutNames];
  int last = -1;
  for (int i = 0; i < kLayoutNames; ++i) {
    fields[i] = CommaField(text, i);
    if (!fields[i].empty()) last = i;
  }
  int transition = 6;
  int names = 0;  // name fields of this request
  if (text.empty()) {
    transition = 0;
  } else {
    names = last + 1;
    if (last >= 0 && std::isdigit(static_cast<unsigned char>(fields[last][0]))) {
      transition = std::atoi(std::string(fields[last]).c_str());
      names = last;
    }
    if (text.back() == ',') ++names;  // a trailing comma adds an empty position
  }
  names = std::clamp(names, 0, kLayoutNames);
  const int count = std::min(names, kLayoutPositions);

  for (int i = 0; i < kLayoutNames; ++i) {
    if (i >= names) {
      layout.Names[i][0] = '\0';
    } else if (fields[i] != "-") {  // "-" keeps the name already at this position
      CopyName(layout.Names[i], fields[i]);
    }
  }

  // Every shown position needs its picture in a slot. Loading one picture can
  // evict another that this request needs, so the search starts again after
  // every load; with at most four positions and five slots it ends.
  for (int guard = 0; guard < 2 * kCharacterSlots; ++guard) {
    bool loaded = false;
    for (int p = 0; p < count; ++p) {
      const char* name = layout.Names[p];
      if (name[0] == '\0') continue;
      const int s = FindSlot(g, name);
      if (s >= 0) {
        layout.Slot[p] = s;
        continue;
      }
      LoadCharacter(f, g.Slots[g.NextSlot], name);
      g.NextSlot = (g.NextSlot + 1) % kCharacterSlots;
      loaded = true;
      break;
    }
    if (!loaded) break;
  }
  layout.Count = count;
  std::snprintf(g.SpriteSpec, sizeof g.SpriteSpec, "%s", spec);
  if (f.State.Mode.SkipMode == SkipMode::Off && f.State.AutoDelay() != 1) Host(f).CountPlay();
  return transition;
}

void ClearCharacterLayout(TForm1& f) {
  CharacterLayout& layout = f.Gfx.Layout;
  layout.Count = 0;
  for (auto& name : layout.Names) name[0] = '\0';
  f.Gfx.SpriteSpec[0] = '\0';
}

void SetColourBackground(TForm1& f, const char* name) {
  GraphicsState& g = f.Gfx;
  const size_t len = std::strlen(name);
  const uint32_t rgb = ColourFromDigits(std::string_view(name + (len > 0 ? 1 : 0)));
  // A colour covers the whole screen whatever size the last picture had.
  g.Background.Resize(kSceneWidth, kSceneHeight);
  g.Background.Fill(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb));
  CopyName(g.BackgroundName, name);
}

// ---------------------------------------------------------------- compositor

namespace {

void DrawOverlay(TForm1& f) {
  GraphicsState& g = f.Gfx;
  const Banks& v = f.State.Vars;
  if (g.Overlay.Empty()) return;
  const int x = v.S(kSysOverlayX), y = v.S(kSysOverlayY), weight = v.S(kSysOverlayOpacity);
  if (weight == 0) {
    DrawMaskedPaired(g.Stage, x, g.Overlay, y);
    return;
  }
  // Constant weight over the whole picture, in whole 8-byte groups of each
  // row. Such an overlay is meant to lie on the screen; what does not is cut.
  const int x0 = std::max(x, 0),
            x1 = std::min<long>(static_cast<long>(x) + g.Overlay.Width, kSceneWidth);
  const int y0 = std::max(y, 0),
            y1 = std::min<long>(static_cast<long>(y) + g.Overlay.Height, kSceneHeight);
  if (x0 >= x1 || y0 >= y1) return;
  const int groups = (x1 - x0) * 3 / 8;
  for (int row = y0; row < y1; ++row) {
    uint8_t* below = g.Stage.Row(row) + x0 * 3;
    const uint8_t* over = g.Overlay.Row(row - y) + (x0 - x) * 3;
    MixSpanWeighted(below, over, groups, weight, below);
  }
}

}  // namespace

void ComposeStage(TForm1& f) {
  GraphicsState& g = f.Gfx;
  const Banks& v = f.State.Vars;
  g.Stage.Resize(kSceneWidth, kSceneHeight);
  CopyCovering(g.Background, g.Stage);

  const bool overlayOn = v.S(kSysOverlayOn) != 0;
  if (overlayOn && v.S(kSysOverlayOrder) == 0) DrawOverlay(f);

  const CharacterLayout& layout = g.Layout;
  int order[kLayoutPositions];
  const int n = DrawingOrder(layout.Count, v.S(kSysCharacterOrder) != 0, order);
  for (int i = 0; i < n; ++i) {
    const int p = order[i];
    if (layout.Names[p][0] == '\0') continue;
    const int s = std::clamp(layout.Slot[p], 0, kCharacterSlots - 1);
    const CharacterSlot& slot = g.Slots[s];
    int x = 0, y = 0;
    CharacterPosition(f, layout.Count, p, x, y);
    const long left = static_cast<long>(x) - slot.Sprite.Width / 2;
    DrawMasked(g.Stage, slot.Sprite, y, static_cast<int>(std::clamp(left, -100000L, 100000L)),
               slot.Mask);
  }

  if (overlayOn && v.S(kSysOverlayOrder) == 1) DrawOverlay(f);
}

}  // namespace zk
