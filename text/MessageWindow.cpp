// The message window on the engine: start-up, the composed window and its
// cache, the text page of full-screen text mode, characters, name plates,
// page redraw and reset, the text mode switch, the click-wait mark and
// hiding the window.
//
// [SECTION] Access to the game
// [SECTION] Start-up
// [SECTION] Window and text page
// [SECTION] Characters and plates
// [SECTION] Interpreter hooks
// [SECTION] Click-wait mark
// [SECTION] Hiding the window
#include "text/MessageWindow.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "base/Sjis.h"
#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "graphics/Surfaces.h"
#include "resources/GameDefinition.h"
#include "resources/Settings.h"
#include "text/Text.h"
#include "text/TextHost.h"

namespace zk {

namespace {
// Requests to the layers above go through the host interface.
TextHost& Host(TForm1& f) {
  return *f.Hosts.Text;
}
}  // namespace

// ============================================================ [SECTION] Access to the game

namespace {

const GameDefinition& Def(const TForm1& f) {
  return f.Game.Def;
}
const PersistedSettings& Prefs(const TForm1& f) {
  return f.Game.Settings;
}
bool FullScreenText(const TForm1& f) {
  return f.State.Vars.S(kSysFullScreenText) != 0;
}
uint32_t SpeakerColour(const TForm1& f) {
  return static_cast<uint32_t>(f.State.Vars.S(kSysTextColour));
}
uint8_t Byte(int32_t v) {
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// The first text cell of the current text mode on the screen, and its pitches.
struct TextGrid {
  int X, Y, PitchX, PitchY, Cells, Rows;
};
TextGrid GridOf(const TForm1& f) {
  const GameDefinition& d = Def(f);
  if (FullScreenText(f))
    return {d.TX2_OFS_X, d.TX2_OFS_Y, d.TX2_PITCH_X, d.TX2_PITCH_Y, d.MOJI_MAX2_X, d.MOJI_MAX2_Y};
  return {d.TXW_OFS_X + d.TX_OFS_X,
          d.TXW_OFS_Y + d.TX_OFS_Y,
          d.TX_PITCH_X,
          d.TX_PITCH_Y,
          d.MOJI_MAX_X,
          d.MOJI_MAX_Y};
}

// A glyph's area copied to the screen: its cell and the shadow column that
// lies one pixel beyond it.
constexpr int kGlyphCopyWidth = kGlyphCellWidth + 1;

}  // namespace

// ============================================================ [SECTION] Start-up

namespace {

void ApplyFontSettings(TForm1& f) {
  const PersistedSettings& p = Prefs(f);
  f.Text.Glyphs.SetFont(p.FontName, p.FONTSIZE, p.FONTBold != 0);
}

}  // namespace

void CreateMessageFont(TForm1& f) {
  f.Text.Glyphs.SetRaster(f.Plat.fonts);
  ApplyFontSettings(f);
}

void ResetTextFonts(TForm1& f) {
  ApplyFontSettings(f);
}

void ResetGlyphCache(TForm1& f) {
  ApplyFontSettings(f);
  f.Text.Glyphs.ResetCache();
}

void LoadNamePlates(TForm1& f) {
  TextState& t = f.Text;
  const GameDefinition& d = Def(f);
  t.PlateBackground = Bitmap{};
  t.PlateWork = Bitmap{};
  t.PlateBackground.Resize(d.NP_SZ_X, d.NP_SZ_Y);
  t.PlateWork.Resize(d.NP_SZ_X, d.NP_SZ_Y);
  t.Plates.clear();
  for (int k = 1; k <= kNamePlateSlots; ++k) {
    char name[8];
    std::snprintf(name, sizeof name, "np%02d", k);
    Bitmap plate;
    if (!LoadScenePicture(f, name, plate)) break;
    t.Plates.push_back(std::move(plate));
  }
}

void CreateMessageWindow(TForm1& f) {
  TextState& t = f.Text;
  const GameDefinition& d = Def(f);
  t.Window = Bitmap{};
  t.WindowSaved = Bitmap{};
  t.Window.Resize(d.TXW_SIZE_X, d.TXW_SIZE_Y);
  t.WindowSaved.Resize(d.TXW_SIZE_X, d.TXW_SIZE_Y);
  BuildMessageWindowFrame(f);
}

void LoadTextPictures(TForm1& f) {
  TextState& t = f.Text;
  const GameDefinition& d = Def(f);
  t.ClickWaitSheet = Bitmap{};
  LoadScenePicture(f, "sys_clickw", t.ClickWaitSheet);
  t.ClickWaitSave = Bitmap{};
  t.ClickWaitSave.Resize(d.CLICK_WAIT_SIZE_X, d.CLICK_WAIT_SIZE_Y);
  t.WaitErased = true;
  ResetGlyphCache(f);
}

void InitTextColour(TForm1& f) {
  SetTextColour(f, 1);
  SetTextColour(f, 0);
  f.Text.PageClean = true;
}

// ============================================================ [SECTION] Window and text page

void BuildMessageWindowFrame(TForm1& f) {
  const GameDefinition& d = Def(f);
  const PersistedSettings& p = Prefs(f);
  Bitmap frame, tintArea;
  LoadScenePicture(f, "sys_tw", frame);
  LoadScenePicture(f, "sys_tw1", tintArea);
  BuildWindowFrame(frame, tintArea, d.TXW_SIZE_X, d.TXW_SIZE_Y, Byte(p.TXBG_R), Byte(p.TXBG_G),
                   Byte(p.TXBG_B), Byte(p.TXBG_A), f.Text.Frame);
  f.Text.WindowCacheValid = false;
}

void InvalidateMessageWindow(TForm1& f) {
  f.Text.WindowCacheValid = false;
}

void ComposeMessageWindow(TForm1& f) {
  TextState& t = f.Text;
  const GameDefinition& d = Def(f);
  if (t.WindowCacheValid && f.State.Mode.BgAnimFrames == 0) {
    t.Window = t.WindowSaved;
    return;
  }
  if (FullScreenText(f)) {
    BuildTextPage(f.Gfx.Stage, Prefs(f).TXBG_A2, f.Gfx.TextPage);
    return;
  }
  ComposeWindow(f.Gfx.Stage, d.TXW_OFS_X, d.TXW_OFS_Y, t.Frame, t.Window);
  Host(f).DrawQuickButtons(2);
  t.WindowSaved = t.Window;
  CopyArea(t.Window, d.NP_OFS_X, d.NP_OFS_Y, d.NP_SZ_X, d.NP_SZ_Y, t.PlateBackground, 0, 0);
  t.WindowCacheValid = true;
}

void DrawMessageWindowLayer(TForm1& f) {
  ComposeMessageWindow(f);
  if (FullScreenText(f)) {
    CopyArea(f.Gfx.TextPage, 0, 0, f.Gfx.TextPage.Width, f.Gfx.TextPage.Height, f.Gfx.Scene, 0, 0);
  } else {
    const GameDefinition& d = Def(f);
    CopyArea(f.Text.Window, 0, 0, f.Text.Window.Width, f.Text.Window.Height, f.Gfx.Scene,
             d.TXW_OFS_X, d.TXW_OFS_Y);
  }
  RedrawPage(f, false);
}

Bitmap* MessageWindowPicture(TForm1& f) {
  return &f.Text.Window;
}
Bitmap* ComposedWindowCache(TForm1& f) {
  return &f.Text.WindowSaved;
}
void MarkPageClean(TForm1& f) {
  f.Text.PageClean = true;
}

// ============================================================ [SECTION] Characters and plates

void SetTextColour(TForm1& f, int index) {
  f.Text.ColourIndex = index;
  f.Text.Colour.Set(TextColourOf(index, SpeakerColour(f)));
}

void DrawCharacter(TForm1& f, uint16_t code, int x, int y, bool toScreen) {
  if (f.State.Mode.SkipMode == SkipMode::NoText) return;
  TextState& t = f.Text;
  // The speaker colour may have changed since the index was set.
  t.Colour.Set(TextColourOf(t.ColourIndex, SpeakerColour(f)));
  if (!t.Glyphs.Render(code)) return;
  Bitmap& scene = f.Gfx.Scene;
  DrawGlyph(scene, x, y, t.Glyphs.Glyph(), t.Glyphs.Shadow(), t.Colour);
  if (!toScreen) return;
  CopyAreaToScreen(f, scene, x, y, kGlyphCopyWidth, kGlyphCellHeight, x, y);
  NoteTextDrawn(f);
}

void DrawSpeakerPlate(TForm1& f, std::string_view name, bool toScreen) {
  const GameDefinition& d = Def(f);
  const int k = FindSpeaker(d, name);
  if (k == 0) return;
  TextState& t = f.Text;
  t.PlateWork = t.PlateBackground;
  if (k <= static_cast<int>(t.Plates.size())) {
    const Bitmap& plate = t.Plates[k - 1];
    BlendStacked(t.PlateWork, 0, 0, plate, 0, plate.Width, plate.Height / 2);
  }
  const int x = d.TXW_OFS_X + d.NP_OFS_X;
  const int y = d.TXW_OFS_Y + d.NP_OFS_Y;
  CopyArea(t.PlateWork, 0, 0, t.PlateWork.Width, t.PlateWork.Height, f.Gfx.Scene, x, y);
  if (toScreen) {
    CopyAreaToScreen(f, t.PlateWork, 0, 0, t.PlateWork.Width, t.PlateWork.Height, x, y);
    PresentText(f);
  }
  f.State.Vars.S(kSysTextColour) = static_cast<int32_t>(d.NAME[k].Colour);
}

void RedrawPage(TForm1& f, bool toScreen) {
  TextState& t = f.Text;
  if (t.PageClean) return;
  const InterpreterState& in = f.State.Interp;
  const bool window = !FullScreenText(f);
  const TextGrid g = GridOf(f);
  if (window)
    DrawSpeakerPlate(f, std::string_view(in.Page[0], strnlen(in.Page[0], kPageCols)), toScreen);
  const int rows = std::min(g.Rows, kPageRows);
  const int cells = std::min(g.Cells + 2, kPageCols);
  for (int row = window ? 1 : 0; row < rows; ++row) {
    int colour = -1;
    for (int cell = 0; cell < cells;) {
      if (in.PageColours[row][cell] != colour) {
        colour = in.PageColours[row][cell];
        SetTextColour(f, colour);
      }
      const auto b = static_cast<unsigned char>(in.Page[row][cell]);
      if (b == 0) {
        ++cell;
        continue;
      }
      uint16_t code = b;
      int width = 1;
      if (b & 0x80) {
        code = static_cast<uint16_t>(
            b << 8 |
            (cell + 1 < kPageCols ? static_cast<unsigned char>(in.Page[row][cell + 1]) : 0));
        width = 2;
      }
      DrawCharacter(f, code, g.X + cell * g.PitchX, g.Y + row * g.PitchY, toScreen);
      cell += width;
    }
  }
  if (toScreen) FlushText(f);
}

namespace {

void DrawStringAt(TForm1& f, std::string_view text, int x, Bitmap& target, int colour, int y) {
  if (f.State.Mode.SkipMode == SkipMode::NoText) return;
  TextState& t = f.Text;
  SetTextColour(f, colour);
  const int pitch = Def(f).TX_PITCH_X;
  for (size_t i = 0; i < text.size();) {
    uint16_t code;
    const size_t width = SjisCodeAt(text, i, code);
    if (t.Glyphs.Render(code))
      DrawGlyph(target, x + static_cast<int>(i + 1) * pitch, y, t.Glyphs.Glyph(), t.Glyphs.Shadow(),
                t.Colour);
    i += width;
  }
}

}  // namespace

void DrawString(TForm1& f, std::string_view text, int x, Bitmap& target, int colour, int y) {
  DrawStringAt(f, text, x, target, colour, y);
}

void DrawStringCentred(TForm1& f, std::string_view text, int x, Bitmap& target, int colour, int y) {
  const int pitch = Def(f).TX_PITCH_X;
  DrawStringAt(f, text, x - static_cast<int>(text.size()) * pitch / 2, target, colour, y);
}

// ============================================================ [SECTION] Interpreter hooks

int TextCellsPerRow(const TForm1& f) {
  return GridOf(f).Cells;
}

void DrawPageChar(TForm1& f, const char* bytes, int length, int column, int row, bool moreFollows) {
  if (!bytes || length < 1) return;
  const uint16_t code = length >= 2
                            ? static_cast<uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                    static_cast<unsigned char>(bytes[1]))
                            : static_cast<unsigned char>(bytes[0]);
  const TextGrid g = GridOf(f);
  SetTextColour(f, f.State.Interp.ColourIndex);
  DrawCharacter(f, code, g.X + column * g.PitchX, g.Y + row * g.PitchY, true);
  f.Text.PageClean = false;
  ShowPrintedText(f, moreFollows);
}

void ShowNamePlate(TForm1& f, std::string_view name) {
  if (!name.empty()) {
    DrawSpeakerPlate(f, name, true);
    return;
  }
  // No name: the clean window area where the plate was.
  if (!f.State.Mode.WindowShown || FullScreenText(f)) return;
  const GameDefinition& d = Def(f);
  const Bitmap& bg = f.Text.PlateBackground;
  const int x = d.TXW_OFS_X + d.NP_OFS_X;
  const int y = d.TXW_OFS_Y + d.NP_OFS_Y;
  CopyArea(bg, 0, 0, bg.Width, bg.Height, f.Gfx.Scene, x, y);
  CopyAreaToScreen(f, bg, 0, 0, bg.Width, bg.Height, x, y);
  PresentText(f);
}

void DrawPageReset(TForm1& f) {
  ModeState& m = f.State.Mode;
  Bitmap& scene = f.Gfx.Scene;
  f.Text.WaitErased = true;  // whatever showed the mark is drawn over now
  if (!FullScreenText(f)) {
    const GameDefinition& d = Def(f);
    ComposeMessageWindow(f);
    const Bitmap& w = f.Text.Window;
    CopyArea(w, 0, 0, w.Width, w.Height, scene, d.TXW_OFS_X, d.TXW_OFS_Y);
    CopyAreaToScreen(f, w, 0, 0, w.Width, w.Height, d.TXW_OFS_X, d.TXW_OFS_Y);
    PresentText(f);
    m.WindowShown = true;
    return;
  }
  if (m.WindowShown) {
    // The page without its text.
    BuildTextPage(f.Gfx.Stage, Prefs(f).TXBG_A2, f.Gfx.TextPage);
    CopyArea(f.Gfx.TextPage, 0, 0, f.Gfx.TextPage.Width, f.Gfx.TextPage.Height, scene, 0, 0);
    CopyToScreen(f, scene);
    PresentText(f);
    return;
  }
  // The darkened page fades in over the scene (at once while skipping).
  f.Gfx.Previous = scene;
  BuildTextPage(f.Gfx.Stage, Prefs(f).TXBG_A2, f.Gfx.TextPage);
  CopyArea(f.Gfx.TextPage, 0, 0, f.Gfx.TextPage.Width, f.Gfx.TextPage.Height, scene, 0, 0);
  m.WindowShown = true;
  RunTransition(f, 6);
}

void SwitchTextModeDisplay(TForm1& f, bool switched) {
  InvalidateMessageWindow(f);
  SetTextColour(f, 0);
  if (!switched) return;
  if (!FullScreenText(f)) Host(f).RedrawQuickButtons();
  ScreenUpdate(f, 6);
}

// ============================================================ [SECTION] Click-wait mark

namespace {

// Where the mark of the current text mode goes on the screen.
void WaitMarkPosition(const TForm1& f, int& x, int& y) {
  const GameDefinition& d = Def(f);
  x = d.CLICK_WAIT_OFS_X;
  y = d.CLICK_WAIT_OFS_Y;
  if (FullScreenText(f)) {
    x = f.State.Interp.Column * d.TX2_PITCH_X + d.TX2_OFS_X;
    y = f.State.Interp.Row * d.TX2_PITCH_Y + d.TX2_OFS_Y;
  }
}

// The area a mark left at (t.WaitX, t.WaitY) is erased with: at least the
// mark's own size, so a mark larger than 24 x 24 leaves nothing.
int EraseWidth(const GameDefinition& d) {
  return std::max(24, d.CLICK_WAIT_SIZE_X);
}
int EraseHeight(const GameDefinition& d) {
  return std::max(24, d.CLICK_WAIT_SIZE_Y);
}

// The frame blended over the scene into `save`; the scene itself stays as it
// is, so erasing is a copy from it.
void ComposeWaitMark(TForm1& f, int frame, int x, int y, Bitmap& save) {
  const GameDefinition& d = Def(f);
  const int w = d.CLICK_WAIT_SIZE_X, h = d.CLICK_WAIT_SIZE_Y;
  save.Resize(w, h);
  save.Fill(0, 0, 0);
  CopyArea(f.Gfx.Scene, x, y, w, h, save, 0, 0);
  BlendStacked(save, 0, 0, f.Text.ClickWaitSheet, frame * w, w, h);
}

// The screen area one step of the mark touches (the old mark erased to the
// scene, then the new one drawn), with those two copies applied to what the
// screen shows there now.
struct WaitMarkStep {
  int X = 0, Y = 0;
  Bitmap Pixels;
};

WaitMarkStep PlanWaitMarkStep(TForm1& f, const Bitmap& save, int x, int y) {
  const TextState& t = f.Text;
  const GameDefinition& d = Def(f);
  int x0 = x, y0 = y, x1 = x + save.Width, y1 = y + save.Height;
  if (!t.WaitErased) {
    x0 = std::min(x0, t.WaitX);
    y0 = std::min(y0, t.WaitY);
    x1 = std::max(x1, t.WaitX + EraseWidth(d));
    y1 = std::max(y1, t.WaitY + EraseHeight(d));
  }
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, platform::kScreenWidth);
  y1 = std::min(y1, platform::kScreenHeight);
  WaitMarkStep step;
  if (x0 >= x1 || y0 >= y1) return step;
  step.X = x0;
  step.Y = y0;
  step.Pixels.Resize(x1 - x0, y1 - y0);
  ReadScreenArea(f, x0, y0, step.Pixels);
  // The copies clip to this area as they would to the screen: it holds all
  // of both rectangles that lies on the screen.
  if (!t.WaitErased)
    CopyArea(f.Gfx.Scene, t.WaitX, t.WaitY, EraseWidth(d), EraseHeight(d), step.Pixels,
             t.WaitX - x0, t.WaitY - y0);
  CopyArea(save, 0, 0, save.Width, save.Height, step.Pixels, x - x0, y - y0);
  return step;
}

bool WaitMarkDrawable(const TForm1& f) {
  const GameDefinition& d = Def(f);
  return d.CLICK_WAIT_SIZE_X > 0 && d.CLICK_WAIT_SIZE_Y > 0 && !f.Text.ClickWaitSheet.Empty();
}

}  // namespace

void AnimateWaitCursor(TForm1& f) {
  const ModeState& m = f.State.Mode;
  if (m.SkipMode != SkipMode::Off || m.BgAnimFrames > 0) return;
  if (!WaitMarkDrawable(f)) return;
  TextState& t = f.Text;
  const GameDefinition& d = Def(f);
  ++t.WaitCounter;
  const int frame = ClickWaitFrame(t.WaitCounter, d.CLICK_WAIT_TIMING, d.CLICK_WAIT_PAT);
  int x, y;
  WaitMarkPosition(f, x, y);
  ComposeWaitMark(f, frame, x, y, t.ClickWaitSave);
  // Erasing the old mark and drawing the new one, as one change of the
  // screen; most ticks draw the frame that is already there and change nothing.
  const WaitMarkStep step = PlanWaitMarkStep(f, t.ClickWaitSave, x, y);
  if (!step.Pixels.Empty() && !ScreenShows(f, step.Pixels, step.X, step.Y))
    CopyAreaToScreen(f, step.Pixels, 0, 0, step.Pixels.Width, step.Pixels.Height, step.X, step.Y);
  UpdateText(f);
  t.WaitX = x;
  t.WaitY = y;
  t.WaitErased = false;
}

int WaitCursorQuietTicks(TForm1& f) {
  const ModeState& m = f.State.Mode;
  if (m.SkipMode != SkipMode::Off || m.BgAnimFrames > 0 || !WaitMarkDrawable(f)) return INT_MAX;
  const TextState& t = f.Text;
  if (TextUnshown(f)) return 0;
  const GameDefinition& d = Def(f);
  const int32_t next = t.WaitCounter + 1;
  int x, y;
  WaitMarkPosition(f, x, y);
  Bitmap save;
  ComposeWaitMark(f, ClickWaitFrame(next, d.CLICK_WAIT_TIMING, d.CLICK_WAIT_PAT), x, y, save);
  const WaitMarkStep step = PlanWaitMarkStep(f, save, x, y);
  if (!step.Pixels.Empty() && !ScreenShows(f, step.Pixels, step.X, step.Y)) return 0;
  // Nothing changes until the frame does; once drawn, the mark and the area
  // around it stay as they are while the same frame is drawn again.
  if (d.CLICK_WAIT_PAT <= 1) return INT_MAX;
  const int shift = std::clamp(d.CLICK_WAIT_TIMING, 0, 31);
  const uint64_t c = static_cast<uint32_t>(next);
  const uint64_t firstOfNextFrame = ((c >> shift) + 1) << shift;
  return static_cast<int>(std::min<uint64_t>(firstOfNextFrame - c, INT_MAX));
}

void EraseWaitCursor(TForm1& f) {
  TextState& t = f.Text;
  if (t.WaitErased) return;
  const GameDefinition& d = Def(f);
  CopyAreaToScreen(f, f.Gfx.Scene, t.WaitX, t.WaitY, EraseWidth(d), EraseHeight(d), t.WaitX,
                   t.WaitY);
  PresentText(f);
  t.WaitErased = true;
}

// ============================================================ [SECTION] Hiding the window

void HideMessageWindow(TForm1& f) {
  ModeState& m = f.State.Mode;
  if (f.State.Vars.S(kSysPlayerFunctions) == 0) return;
  m.MenuLock = true;
  Host(f).RefreshMenuStates();
  f.Text.HiddenScene = f.Gfx.Scene;
  CopyToScreen(f, f.Gfx.Stage);
  PresentText(f);
  m.ScreenMode = ScreenMode::WindowHidden;
}

void ShowMessageWindow(TForm1& f) {
  ModeState& m = f.State.Mode;
  TextState& t = f.Text;
  if (!t.HiddenScene.Empty()) f.Gfx.Scene = std::move(t.HiddenScene);
  t.HiddenScene = Bitmap{};
  CopyToScreen(f, f.Gfx.Scene);
  PresentText(f);
  m.ScreenMode = ScreenMode::Play;
  m.MenuLock = false;
  Host(f).RefreshMenuStates();
  Host(f).RedrawQuickButtons();
}

}  // namespace zk
