// The layer model on surfaces made in code: character positions and drawing
// order, masks, the overlay in both modes, the colour filters, the layout
// request and the five-slot cache.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/Graphics.h"
#include "GraphicsFixture.h"

namespace zk {
namespace {

// A sprite of one colour whose mask shows its left half only.
void PutCharacter(GraphicsState& g, int slot, const char* name, int w, int h, uint8_t grey) {
  CharacterSlot& s = g.Slots[slot];
  std::snprintf(s.Name, sizeof s.Name, "%s", name);
  s.Sprite = Solid(w, h, grey, grey, grey);
  s.Mask = Solid(w, h, 0, 0, 0);
  for (int y = 0; y < h; ++y) std::memset(s.Mask.Row(y), 255, static_cast<size_t>(w / 2) * 3);
}

void Show(GraphicsState& g, std::initializer_list<std::pair<const char*, int>> positions) {
  CharacterLayout& l = g.Layout;
  l.Count = static_cast<int>(positions.size());
  int p = 0;
  for (const auto& [name, slot] : positions) {
    std::snprintf(l.Names[p], sizeof l.Names[p], "%s", name);
    l.Slot[p++] = slot;
  }
}

struct LayerTest : GraphicsTest {
  void SetUp() override {
    GraphicsTest::SetUp();
    g.Background = Solid(800, 600, 10, 20, 30);
    // The start-up positions: x 400; 250, 550; 200, 400, 600; 100, 300, 500, 700.
    const int xs[10] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
    for (int i = 0; i < 10; ++i) {
      s.Vars.S(80 + i) = xs[i];
      s.Vars.S(90 + i) = 0;
    }
    s.Vars.S(20) = 250;  // overlay order at start-up: not drawn
    s.Vars.S(21) = 550;
  }
  Bgr At(int x, int y) { return PixelAt(g.Stage, x, y); }
};

const Bgr kBackground{10, 20, 30};

TEST_F(LayerTest, CharactersStandAtTheirPositionsThroughTheirMasks) {
  PutCharacter(g, 0, "BA", 100, 200, 200);
  PutCharacter(g, 1, "BB", 100, 200, 100);
  Show(g, {{"BA", 0}, {"BB", 1}});
  s.Vars.S(92) = 100;  // the second of two stands 100 rows lower
  ComposeStage(form);
  // Centred on x 250: columns 200..249 opaque (mask 255 gives one level below).
  EXPECT_EQ(At(200, 0), (Bgr{199, 199, 199}));
  EXPECT_EQ(At(249, 199), (Bgr{199, 199, 199}));
  EXPECT_EQ(At(199, 0), kBackground);
  EXPECT_EQ(At(252, 0), kBackground);  // transparent half: the background exactly
  EXPECT_EQ(At(210, 200), kBackground);
  // Centred on x 550, top at 100.
  EXPECT_EQ(At(500, 100), (Bgr{99, 99, 99}));
  EXPECT_EQ(At(500, 99), kBackground);
}

TEST_F(LayerTest, DrawingOrderPutsTheRightCharacterOnTop) {
  struct Case {
    int count;
    int s024;
    int top;  // the position that ends on top
  } cases[] = {{2, 0, 1}, {2, 1, 0}, {3, 0, 1}, {3, 1, 1}, {4, 0, 2}, {4, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " characters, S024 " + std::to_string(c.s024));
    // Every position of the layout at x 400, each slot its own grey.
    for (int p = 0; p < 4; ++p) PutCharacter(g, p, ("B" + std::to_string(p)).c_str(), 100, 100, static_cast<uint8_t>(40 + 40 * p));
    CharacterLayout& l = g.Layout;
    l.Count = c.count;
    for (int p = 0; p < 4; ++p) {
      std::snprintf(l.Names[p], sizeof l.Names[p], "B%d", p);
      l.Slot[p] = p;
    }
    for (int i = 0; i < 10; ++i) s.Vars.S(80 + i) = 400;
    s.Vars.S(24) = c.s024;
    ComposeStage(form);
    const int grey = (40 + 40 * c.top) * 255 / 256;
    EXPECT_EQ(At(360, 10), (Bgr{grey, grey, grey}));
  }
}

TEST_F(LayerTest, EmptyPositionsAreSkippedAndANegativeTopCutsRows) {
  PutCharacter(g, 0, "BA", 100, 200, 200);
  for (int y = 0; y < 200; ++y) std::memset(g.Slots[0].Sprite.Row(y), y, 300);
  Show(g, {{"", 0}, {"BA", 0}});
  s.Vars.S(92) = -50;
  ComposeStage(form);
  EXPECT_EQ(At(210, 0), kBackground);  // position 0 has no name
  // Row 0 of the screen shows sprite row 50.
  EXPECT_EQ(At(500, 0), (Bgr{49, 49, 49}));
  EXPECT_EQ(At(500, 149), (Bgr{198, 198, 198}));
  EXPECT_EQ(At(500, 150), kBackground);
}

TEST_F(LayerTest, OverlayDrawsInItsOrderAndMode) {
  PutCharacter(g, 0, "BA", 100, 100, 200);
  Show(g, {{"BA", 0}});
  // A paired overlay 100 x 100: colour left, opacity right.
  g.Overlay.Resize(200, 100);
  for (int y = 0; y < 100; ++y) {
    std::memset(g.Overlay.Row(y), 60, 300);
    std::memset(g.Overlay.Row(y) + 300, 255, 300);
  }
  s.Vars.S(35) = 1;
  s.Vars.S(21) = 350;
  s.Vars.S(22) = 0;
  const Bgr character{199, 199, 199}, overlay{59, 59, 59};
  struct Case {
    int s020, s023;
    Bgr at360, at420;  // inside both, inside the overlay only
  } cases[] = {
      {250, 0, character, kBackground},  // the start-up order: not drawn
      {0, 0, character, overlay},        // before the characters
      {1, 0, overlay, overlay},          // after them
      // Constant weight 128: (60 * 128 + below * 128) / 256.
      {1, 128, Bgr{129, 129, 129}, Bgr{35, 40, 45}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("S020 " + std::to_string(c.s020) + " S023 " + std::to_string(c.s023));
    s.Vars.S(20) = c.s020;
    s.Vars.S(23) = c.s023;
    ComposeStage(form);
    EXPECT_EQ(At(360, 10), c.at360);
    EXPECT_EQ(At(420, 10), c.at420);
  }
  // Switched off: nothing.
  s.Vars.S(35) = 0;
  ComposeStage(form);
  EXPECT_EQ(At(420, 10), kBackground);
  // A constant-weight overlay partly off the screen is cut, not overrun; the
  // mix covers whole 8-byte groups of the 50 visible pixels (48 of them).
  s.Vars.S(35) = 1;
  s.Vars.S(21) = 750;
  s.Vars.S(22) = 550;
  ComposeStage(form);
  EXPECT_EQ(At(797, 599), (Bgr{35, 40, 45}));
  EXPECT_EQ(At(798, 599), kBackground);
}

TEST_F(LayerTest, ASmallBackgroundLeavesTheRestBlack) {
  g.Background = Solid(400, 300, 1, 2, 3);
  ComposeStage(form);
  EXPECT_EQ(At(399, 299), (Bgr{1, 2, 3}));
  EXPECT_EQ(At(400, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(At(0, 300), (Bgr{0, 0, 0}));
}

TEST_F(LayerTest, FiltersChangeTheStage) {
  struct Case {
    int s011, s013;
    Bgr in, out;
  } cases[] = {
      {1, 8, {100, 50, 255}, {50, 25, 127}},
      {1, 32, {100, 50, 200}, {200, 100, 255}},  // brighter saturates
      {2, 0, {30, 60, 90}, {15, 45, 60}},        // sepia: grey 60
      {3, 0, {30, 60, 91}, {60, 60, 60}},
      {5, 0, {30, 60, 90}, {30, 60, 90}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("S011 " + std::to_string(c.s011));
    g.Background = Solid(800, 600, static_cast<uint8_t>(c.in.b), static_cast<uint8_t>(c.in.g),
                         static_cast<uint8_t>(c.in.r));
    ComposeStage(form);
    s.Vars.S(11) = c.s011;
    s.Vars.S(13) = c.s013;
    ApplyStageFilter(form);
    EXPECT_EQ(At(123, 456), c.out);
  }
  // 4 turns the picture: (x, y) and (799 - x, 599 - y) change places.
  g.Background = Pattern(9);
  ComposeStage(form);
  s.Vars.S(11) = 4;
  ApplyStageFilter(form);
  EXPECT_EQ(At(0, 0), PixelAt(g.Background, 799, 599));
  EXPECT_EQ(At(10, 300), PixelAt(g.Background, 789, 299));
  EXPECT_EQ(At(400, 299), PixelAt(g.Background, 399, 300));
}

TEST_F(LayerTest, PositionsComeFromTheirCells) {
  for (int i = 0; i < 20; ++i) s.Vars.S(80 + i) = 1000 + i;
  struct Case {
    int count, position, x, y;
  } cases[] = {{1, 0, 1000, 1010}, {2, 1, 1002, 1012}, {3, 2, 1005, 1015}, {4, 0, 1006, 1016},
               {4, 3, 1009, 1019}};
  for (const Case& c : cases) {
    int x = 0, y = 0;
    CharacterPosition(form, c.count, c.position, x, y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
}

// ---------------------------------------------------------------- the layout request

std::string Names(const GraphicsState& g) {
  std::string out;
  for (int i = 0; i < g.Layout.Count; ++i) out += std::string(i ? "," : "") + g.Layout.Names[i];
  return out;
}
std::string Slots(const GraphicsState& g) {
  std::string out;
  for (int i = 0; i < kCharacterSlots; ++i) out += std::string(i ? "," : "") + g.Slots[i].Name;
  return out;
}

TEST_F(LayerTest, LayoutRequestsReadNamesAndATransition) {
  struct Case {
    const char* spec;
    int transition;
    const char* names;  // positions shown
  } cases[] = {
      {"ba,bb,3", 3, "BA,BB"},
      {"BA,BB", 6, "BA,BB"},
      {"BA,", 6, "BA,"},       // a trailing comma adds an empty position
      {"BA,,BC", 6, "BA,,BC"},
      {"", 0, ""},
      {"12", 12, ""},
      {"B1,B2,B3,B4,B5", 6, "B1,B2,B3,B4"},
      {"BA \r", 6, "BA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spec);
    EXPECT_EQ(ApplySpriteSpec(form, c.spec), c.transition);
    EXPECT_EQ(Names(g), c.names);
    EXPECT_STREQ(g.SpriteSpec, c.spec);
  }
  // "-" keeps the name already shown at its position.
  ApplySpriteSpec(form, "BA,BB");
  ApplySpriteSpec(form, "-,BC,2");
  EXPECT_EQ(Names(g), "BA,BC");
}

TEST_F(LayerTest, TheCacheRotatesAndRestartsAfterAnEviction) {
  // Five different characters over time fill the five slots in turn; the
  // sixth replaces the first loaded.
  for (const char* n : {"B1", "B2", "B3", "B4", "B5"}) ApplySpriteSpec(form, n);
  EXPECT_EQ(Slots(g), "B1,B2,B3,B4,B5");
  EXPECT_EQ(g.NextSlot, 0);
  ApplySpriteSpec(form, "B6");
  EXPECT_EQ(Slots(g), "B6,B2,B3,B4,B5");
  EXPECT_EQ(g.NextSlot, 1);
  // Cached pictures are not loaded again.
  ApplySpriteSpec(form, "B3,B4");
  EXPECT_EQ(g.NextSlot, 1);
  EXPECT_EQ(g.Layout.Slot[0], 2);
  EXPECT_EQ(g.Layout.Slot[1], 3);
  // Slots B6 B2 B3 B4 B5, pointer at B2: loading B7 evicts B2, which this
  // request also needs, so B2 comes back into the next slot.
  ApplySpriteSpec(form, "B7,B2");
  EXPECT_EQ(Slots(g), "B6,B7,B2,B4,B5");
  EXPECT_EQ(g.NextSlot, 3);
  EXPECT_STREQ(g.Slots[g.Layout.Slot[0]].Name, "B7");
  EXPECT_STREQ(g.Slots[g.Layout.Slot[1]].Name, "B2");
}

}  // namespace
}  // namespace zk
