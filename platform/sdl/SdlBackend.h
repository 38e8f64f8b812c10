// The SDL implementation of Clock, Display and Ui: one object, since the
// three share the window, the renderer and the event queue. Internal to
// platform/sdl; the rest of the program sees SdlPlatform.h.
//
// [SECTION] index
//   SdlBackend.cpp  creation, renderer choice, clock, event translation
//   SdlPresent.cpp  frame upload, layout, drawing the window, Display
//   SdlUi.cpp       Dear ImGui: fonts, tool bar, message box, popup menu
//   SdlDevPanel.cpp the developer panel column (developer builds only)
#pragma once
#include <SDL.h>

#include <bitset>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/DevPanelView.h"
#include "platform/Display.h"
#include "platform/Ui.h"
#include "platform/sdl/Layout.h"

struct ImFont;
struct ImGuiContext;

namespace platform {

struct SdlOptions;
class MappedFont;
class SdlDevPanel;

enum class RendererKind { Software, Accelerated };
// ZK_RENDERER=software|accelerated when set, else accelerated only when the
// machine has a GPU render node.
RendererKind ChooseRenderer();

// Our key code for an SDL key, kKeyNone for keys the engine does not use.
int TranslateSdlKey(SDL_Keycode sym);
// The character a key press produces with the given modifiers, 0 for none.
int KeyPressChar(int key, uint16_t mod);

class SdlBackend final : public Clock, public Display, public Ui {
 public:
  static std::unique_ptr<SdlBackend> Create(const SdlOptions& options, std::string& error);
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  // Clock
  uint32_t NowMs() override;
  void SleepMs(uint32_t ms) override;
  bool PollEvent(Event& e) override;
  void WaitUntil(uint32_t deadlineMs) override;

  // Display
  uint8_t* Frame() override { return frame_.data(); }
  void Present() override;
  void PresentRect(int x, int y, int w, int h) override;
  bool SetFullScreen(int mode) override;
  void SetToolbarVisible(bool visible) override;
  void SetToolbarEnabled(bool panel, bool quit, bool settings, bool save, bool load) override;
  void SetTitle(std::string_view utf8) override;
  void SetShakeOffset(int dx, int dy) override;
  void GetDesktopSize(int& width, int& height) override;
  void GetWindowPos(int& left, int& top) override;
  void SetWindowPos(int left, int top) override;
  void WarpPointer(int x, int y) override;

  // Ui
  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  int PopupMenu(const std::vector<MenuItem>& items, int x, int y) override;
  void Notice(const std::string& text) override;
  // The notice shown, empty when none.
  const std::string& ShownNotice() const { return notice_; }

  // For tests and diagnostics.
  SDL_Window* Window() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  bool IsSoftware() const { return kind_ == RendererKind::Software; }
  PixelRect PictureRect() const { return ShiftByGamePixels(area_, shakeX_, shakeY_); }
  int PresentCount() const { return presents_; }
  bool UiReady() const { return uiContext_ != nullptr; }
  // Window rectangle of a tool bar button 1..4 (quit, settings, save, load).
  PixelRect ToolbarButtonRect(int button) const;
  // Rectangle of a row of the open popup menu as last drawn; empty if none.
  PixelRect MenuItemRect(int index) const;

  // [developer panel] A column at the right of the window; the game area
  // keeps the rest. Created on the first call, never in a normal build.
  DevPanelView* EnableDevPanel();
  // The panel column in output pixels; empty without a panel.
  PixelRect DevPanelRect() const;
  PixelRect DevPanelWidgetRect(std::string_view name) const;

 private:
  SdlBackend() = default;

  // [events]
  void Translate(const SDL_Event& ev);
  void TranslateMouse(const SDL_Event& ev);
  void TranslateKey(const SDL_KeyboardEvent& key);
  void HandleWindowEvent(const SDL_WindowEvent& w);
  void Push(Event e) { pending_.push_back(std::move(e)); }
  void WaitForSdlEvent(uint32_t deadlineMs);
  // Work left for a quiet moment: redraws and the first tool bar drawing.
  void FlushDeferred();
  // Window coordinates of an SDL event -> renderer output coordinates.
  void ToOutput(int& x, int& y) const;

  // [present]
  void UpdateLayout();
  // Places the window at (x, y), moved left and up as far as needed to keep
  // it whole on its display: a saved position or the developer panel's
  // column may reach past the edge, and the panel's close button with it.
  void PlaceOnDisplay(int x, int y);
  // Converts frame rows [top, bottom) into the texture.
  void UploadRows(int top, int bottom);
  // Converts the whole frame and takes the fingerprints of all rows.
  void UploadAll();
  // Presents after the engine changed at most the rows [top, bottom).
  void PresentRows(int top, int bottom);
  bool CanPresentPartially() const;
  // False on an X11 display that no window manager serves.
  bool WindowManagerPresent() const;
  void Render();
  void RecreateTextures();

  // [ui]
  bool EnsureUi();
  void ShutdownUi();
  void RequireGlyphs(std::string_view utf8);
  // A dialog or menu is about to be drawn: its font size is needed from now on.
  void WantDialogFont();
  void RebuildFonts();
  // Runs ImGui frames until the drawing is stable; true when it changed
  // since the last present.
  bool RunUiFrames(int minFrames = 1);
  void UiFrame();
  void RenderUi();
  void DrawToolbar();
  void DrawMessageBox();
  void DrawMenu();
  void DrawNotice();
  void DismissNotice();
  bool UiWanted() const;
  // Pointer position in output pixels; type is the SDL event type.
  void FeedUiMouse(int type, int x, int y, int button);
  // The same, and runs the frames a press or release needs.
  void FeedUiPointer(int type, int x, int y, int button);
  void FeedUiKey(const SDL_KeyboardEvent& key);
  void HandleModalEvent(const SDL_Event& ev);
  void HandleBoxKey(SDL_Keycode sym);
  void HandleMenuKey(SDL_Keycode sym);
  void HandleMenuMouse(int type, int x, int y);
  int MenuItemAt(int x, int y) const;
  template <class Done>
  void RunModal(Done done);
  void EndModal();

  // [developer panel]
  friend class SdlDevPanel;
  int DevPanelWidth() const;
  // A key event while the panel's box has the keyboard: true when it is the
  // box's alone (a press); releases still reach the game.
  bool DevPanelTakesKey(const SDL_KeyboardEvent& key);
  void DevPanelText(const char* utf8);
  // The wheel over the panel scrolls its list: true when taken.
  bool DevPanelTakesWheel(int dy);
  // A press that went to the game.
  void DevPanelPressElsewhere();

  RendererKind kind_ = RendererKind::Software;
  bool videoInit_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint32_t textureFormat_ = 0;
  std::vector<uint8_t> frame_;
  std::vector<uint64_t> rowHash_;  // fingerprint of each frame row as last uploaded
  bool textureStale_ = true;

  // Layout in renderer output pixels.
  int outputW_ = 0, outputH_ = 0;
  int windowW_ = 0, windowH_ = 0;
  PixelRect area_;
  int shakeX_ = 0, shakeY_ = 0;
  bool fullScreen_ = false;
  bool coverWindow_ = false;  // full screen as a borderless window over the display
  // Window place and size before full screen.
  int savedX_ = 0, savedY_ = 0;
  int savedW_ = kScreenWidth, savedH_ = kScreenHeight + kToolbarReserve;

  bool needRender_ = true;
  bool presentedOnce_ = false;
  int presents_ = 0;

  std::deque<Event> pending_;
  // The millisecond in which SDL's queue was last found empty, and how long
  // PollEvent takes only what is queued after that.
  static constexpr uint32_t kNeverPumped = UINT32_MAX;
  static constexpr uint32_t kPumpIntervalMs = 4;
  uint32_t lastPumpMs_ = kNeverPumped;
  uint8_t engineButtons_ = 0;  // mouse buttons whose down went to the engine (bit 0 left, 1 right)

  // Tool bar.
  bool toolbarVisible_ = true;
  bool toolbarEnabled_[5] = {true, true, true, true, true};  // panel, quit, settings, save, load
  bool pointerInToolbar_ = false;
  bool toolbarCapture_ = false;  // a press that began on the tool bar

  // Dear ImGui.
  ImGuiContext* uiContext_ = nullptr;
  std::unique_ptr<MappedFont> uiFont_;
  bool fontSearched_ = false;
  ImFont* toolbarFont_ = nullptr;
  ImFont* dialogFont_ = nullptr;
  bool dialogFontWanted_ = false;
  std::bitset<0x10000> glyphs_;
  bool fontsStale_ = true;
  std::vector<uint16_t> glyphRanges_;
  bool uiDirty_ = false;
  uint64_t uiFrameHash_ = 0;
  uint64_t uiPresentedHash_ = 0;
  uint64_t lastUiTime_ = 0;

  // Modal dialogs.
  bool modal_ = false;
  struct BoxState {
    std::string text, caption;
    MsgIcon icon = MsgIcon::None;
    std::vector<MsgResult> choices;
    MsgResult escape = MsgResult::Cancel;
    int focus = 0;
    std::optional<MsgResult> result;
  };
  struct MenuState {
    std::vector<MenuItem> items;
    int x = 0, y = 0;  // requested top left, output pixels
    int highlight = -1;
    int openX = 0, openY = 0;          // pointer when the menu opened
    bool armed = false;                // the pointer moved or pressed since then
    std::vector<PixelRect> itemRects;  // output pixels; empty rect for rows not shown
    PixelRect rect;
    std::optional<int> result;
  };
  std::optional<BoxState> box_;
  std::optional<MenuState> menu_;
  std::string notice_;            // shown at the foot of the game picture until a click
  std::deque<Event> afterModal_;  // key releases seen while a dialog was up

  std::unique_ptr<SdlDevPanel> devPanel_;  // developer builds only
};

}  // namespace platform
