// The SDL platform on SDL's dummy video driver: presentation, layout, input
// translation, the tool bar and the modal dialogs, with synthetic SDL events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestHooks.h"

namespace platform {
namespace {

using sdltest::Mods;

class SdlPlatformTest : public ::testing::Test, public EventSink {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("ZK_RENDERER", "software", 1);
    std::string error;
    p_ = SdlPlatform::Create(SdlOptions{"test"}, error);
    ASSERT_NE(nullptr, p_) << error;
    p_->GetClock().SetSink(this);
  }

  // Everything the platform delivers now.
  std::vector<Event> Drain() {
    std::vector<Event> out;
    Event e;
    while (p_->GetClock().PollEvent(e)) out.push_back(e);
    return out;
  }

  std::vector<Event> OfType(EventType type) {
    std::vector<Event> out;
    for (const Event& e : Drain())
      if (e.type == type) out.push_back(e);
    return out;
  }

  void FillFrame(uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* f = p_->GetDisplay().Frame();
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
      f[i * 3] = b;
      f[i * 3 + 1] = g;
      f[i * 3 + 2] = r;
    }
  }

  uint32_t Pixel(int x, int y) {
    int w, h;
    const std::vector<uint32_t> px = sdltest::ReadWindow(*p_, w, h);
    return px.at(static_cast<size_t>(y) * w + x);
  }

  void ClickWindow(int x, int y, bool right = false) {
    sdltest::PushMouseMotion(*p_, x, y);
    sdltest::PushMouseButton(*p_, x, y, right, true);
    sdltest::PushMouseButton(*p_, x, y, right, false);
  }

  // EventSink: the dialogs' own loops call the timer handler.
  void HandleEvent(const Event&) override {}
  void HandleTimer() override {
    ++ticks_;
    if (onTimer_) onTimer_();
  }

  std::unique_ptr<SdlPlatform> p_;
  int ticks_ = 0;
  std::function<void()> onTimer_;
};

TEST_F(SdlPlatformTest, PresentsTheFrameBelowTheToolbarWithoutOpenGl) {
  EXPECT_TRUE(sdltest::IsSoftwareRenderer(*p_));
  int w, h;
  sdltest::GetWindowSize(*p_, w, h);
  EXPECT_EQ(800, w);
  EXPECT_EQ(624, h);
  EXPECT_EQ((PixelRect{0, 24, 800, 600}), sdltest::PictureRect(*p_));

  uint8_t* f = p_->GetDisplay().Frame();
  FillFrame(0, 0, 0);
  f[0] = 0x11, f[1] = 0x22, f[2] = 0x33;  // top left: B, G, R
  uint8_t* last = f + (599 * kScreenWidth + 799) * 3;
  last[0] = 0xAA, last[1] = 0xBB, last[2] = 0xCC;  // bottom right
  p_->GetDisplay().Present();
  EXPECT_EQ(0x332211u, Pixel(0, 24));
  EXPECT_EQ(0xCCBBAAu, Pixel(799, 623));
  EXPECT_EQ(0x000000u, Pixel(400, 300));
}

TEST_F(SdlPlatformTest, PresentsOnlyWhenSomethingChanged) {
  FillFrame(10, 20, 30);
  p_->GetDisplay().Present();
  const int first = sdltest::PresentCount(*p_);
  p_->GetDisplay().Present();
  EXPECT_EQ(first, sdltest::PresentCount(*p_));
  p_->GetDisplay().Frame()[12345] ^= 1;
  p_->GetDisplay().Present();
  EXPECT_EQ(first + 1, sdltest::PresentCount(*p_));
  // A shake moves the picture; the uncovered strip is black.
  p_->GetDisplay().SetShakeOffset(8, 0);
  p_->GetDisplay().Present();
  EXPECT_EQ(first + 2, sdltest::PresentCount(*p_));
  EXPECT_EQ((PixelRect{8, 24, 800, 600}), sdltest::PictureRect(*p_));
  EXPECT_EQ(0u, Pixel(3, 300));
  EXPECT_EQ(0x1E140Au, Pixel(8, 300));
}

TEST_F(SdlPlatformTest, SmallChangesPatchTheWindowBandByBand) {
  Display& d = p_->GetDisplay();
  FillFrame(0, 0, 0);
  d.Present();
  uint8_t* f = d.Frame();
  // A mark at rows 500..509, presented by its rectangle only.
  for (int y = 500; y < 510; ++y)
    for (int x = 700; x < 720; ++x) f[(y * kScreenWidth + x) * 3 + 2] = 0xFF;
  d.PresentRect(700, 500, 20, 10);
  EXPECT_EQ(0xFF0000u, Pixel(710, 24 + 505));
  EXPECT_EQ(0x000000u, Pixel(699, 24 + 505));
  EXPECT_EQ(0xF0F0F0u, Pixel(790, 5));  // the tool bar strip is untouched
  // A change outside the announced rectangle waits for the next full present.
  f[(100 * kScreenWidth + 10) * 3 + 1] = 0xFF;
  d.PresentRect(700, 500, 20, 10);
  EXPECT_EQ(0x000000u, Pixel(10, 24 + 100));
  d.Present();
  EXPECT_EQ(0x00FF00u, Pixel(10, 24 + 100));
  EXPECT_EQ(0xFF0000u, Pixel(719, 24 + 509));
}

TEST_F(SdlPlatformTest, ToolbarIsDrawnAfterTheFirstFrame) {
  FillFrame(0, 0, 0);
  p_->GetDisplay().Present();
  EXPECT_FALSE(sdltest::UiReady(*p_));  // start-up does not wait for fonts
  Drain();                              // a quiet moment
  EXPECT_TRUE(sdltest::UiReady(*p_));
  // The caption of the first button left dark pixels on the grey panel.
  const PixelRect r = sdltest::ToolbarButtonRect(*p_, 1);
  int w, h;
  const std::vector<uint32_t> px = sdltest::ReadWindow(*p_, w, h);
  int dark = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) dark += (px[y * w + x] & 0xFF) < 0x60 ? 1 : 0;
  EXPECT_GT(dark, 10);
}

TEST_F(SdlPlatformTest, MouseIsMappedThroughTheLetterbox) {
  sdltest::ResizeWindow(*p_, 1000, 624);  // bars of 100 pixels left and right
  Drain();
  EXPECT_EQ((PixelRect{100, 24, 800, 600}), sdltest::PictureRect(*p_));
  ClickWindow(100 + 123, 24 + 456, true);
  sdltest::PushMouseButton(*p_, 50, 300, false, true);  // in the left bar
  sdltest::PushMouseButton(*p_, 950, 700, false, false);
  const std::vector<Event> got = Drain();
  std::vector<Event> mouse;
  for (const Event& e : got)
    if (e.type == EventType::MouseDown || e.type == EventType::MouseUp ||
        e.type == EventType::MouseMove)
      mouse.push_back(e);
  ASSERT_EQ(5u, mouse.size());
  EXPECT_EQ(EventType::MouseMove, mouse[0].type);
  EXPECT_EQ(123, mouse[0].x);
  EXPECT_EQ(456, mouse[0].y);
  EXPECT_EQ(EventType::MouseDown, mouse[1].type);
  EXPECT_TRUE(mouse[1].right);
  EXPECT_EQ(EventType::MouseUp, mouse[2].type);
  // Outside the picture the position is clamped to the game screen.
  EXPECT_EQ(EventType::MouseDown, mouse[3].type);
  EXPECT_EQ(0, mouse[3].x);
  EXPECT_EQ(276, mouse[3].y);
  EXPECT_EQ(EventType::MouseUp, mouse[4].type);
  EXPECT_EQ(799, mouse[4].x);
  EXPECT_EQ(599, mouse[4].y);

  sdltest::ResizeWindow(*p_, 1600, 1224);
  Drain();
  ClickWindow(801, 24 + 601);
  const std::vector<Event> downs = OfType(EventType::MouseDown);
  ASSERT_EQ(1u, downs.size());
  EXPECT_EQ(400, downs[0].x);
  EXPECT_EQ(300, downs[0].y);
}

TEST_F(SdlPlatformTest, BurstOfMotionGivesTheLatestPosition) {
  for (int i = 0; i < 5; ++i) sdltest::PushMouseMotion(*p_, 100 + i, 124);
  const std::vector<Event> moves = OfType(EventType::MouseMove);
  ASSERT_EQ(1u, moves.size());
  EXPECT_EQ(104, moves[0].x);
  EXPECT_EQ(100, moves[0].y);
}

TEST_F(SdlPlatformTest, ReleaseWithoutPressGoesNowhere) {
  sdltest::PushMouseButton(*p_, 10, 100, false, false);
  EXPECT_TRUE(OfType(EventType::MouseUp).empty());
}

TEST_F(SdlPlatformTest, WheelQuitAndResizeBecomeEvents) {
  sdltest::PushWheel(*p_, 3);
  sdltest::PushWheel(*p_, -1);
  sdltest::PushQuit(*p_);
  sdltest::ResizeWindow(*p_, 900, 700);
  std::vector<Event> got = Drain();
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(EventType::Wheel, got[0].type);
  EXPECT_EQ(1, got[0].delta);
  EXPECT_EQ(EventType::Wheel, got[1].type);
  EXPECT_EQ(-1, got[1].delta);
  EXPECT_EQ(EventType::CloseRequest, got[2].type);
  EXPECT_EQ(EventType::Expose, got[3].type);
}

TEST_F(SdlPlatformTest, KeysBecomeDownPressUp) {
  struct Case {
    const char* sdlName;
    Mods mods;
    int key;
    int ch;  // 0: no key press
  } cases[] = {
      {"Return", {}, kKeyEnter, '\r'},
      {"Keypad Enter", {}, kKeyEnter, '\r'},
      {"Escape", {}, kKeyEscape, 0x1b},
      {"Backspace", {}, kKeyBackspace, '\b'},
      {"Space", {}, kKeySpace, ' '},
      {"Tab", {}, kKeyTab, '\t'},
      {"Z", {}, 'Z', 'z'},
      {"Z", {.shift = true}, 'Z', 'Z'},
      {"Z", {.caps = true}, 'Z', 'Z'},
      {"Z", {.ctrl = true}, 'Z', 0},
      {"7", {}, '7', '7'},
      {"Left", {}, kKeyLeft, 0},
      {"Down", {}, kKeyDown, 0},
      {"Right Ctrl", {}, kKeyCtrl, 0},
      {"Left Shift", {}, kKeyShift, 0},
      {"F1", {}, kKeyF1, 0},
      {"F12", {}, kKeyF12, 0},
  };
  for (const Case& c : cases) {
    sdltest::PushKey(*p_, c.sdlName, true, c.mods);
    sdltest::PushKey(*p_, c.sdlName, false, c.mods);
    const std::vector<Event> got = Drain();
    const size_t want = c.ch ? 3 : 2;
    ASSERT_EQ(want, got.size()) << c.sdlName;
    EXPECT_EQ(EventType::KeyDown, got[0].type) << c.sdlName;
    EXPECT_EQ(c.key, got[0].key) << c.sdlName;
    if (c.ch) {
      EXPECT_EQ(EventType::KeyPress, got[1].type) << c.sdlName;
      EXPECT_EQ(c.ch, got[1].ch) << c.sdlName;
    }
    EXPECT_EQ(EventType::KeyUp, got.back().type) << c.sdlName;
    EXPECT_EQ(c.key, got.back().key) << c.sdlName;
  }
  // Keys the engine does not use produce nothing.
  sdltest::PushKey(*p_, "Page Up", true);
  sdltest::PushKey(*p_, "Page Up", false);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(SdlPlatformTest, ToolbarButtonsReportTheirNumberAndTakeTheClick) {
  p_->GetDisplay().Present();
  // Left to right: quit (1), load (4), save (3), settings (2).
  for (int button : {1, 4, 3, 2}) {
    const PixelRect r = sdltest::ToolbarButtonRect(*p_, button);
    ClickWindow(r.x + r.w / 2, r.y + r.h / 2);
    const std::vector<Event> got = Drain();
    ASSERT_EQ(1u, got.size()) << "button " << button;  // no mouse event for the game
    EXPECT_EQ(EventType::ToolbarButton, got[0].type);
    EXPECT_EQ(button, got[0].button);
  }
  const PixelRect load = sdltest::ToolbarButtonRect(*p_, 4);
  p_->GetDisplay().SetToolbarEnabled(true, true, true, true, false);
  ClickWindow(load.x + 5, load.y + 5);
  EXPECT_TRUE(OfType(EventType::ToolbarButton).empty());
  p_->GetDisplay().SetToolbarEnabled(false, true, true, true, true);  // the whole panel
  const PixelRect quit = sdltest::ToolbarButtonRect(*p_, 1);
  ClickWindow(quit.x + 5, quit.y + 5);
  EXPECT_TRUE(OfType(EventType::ToolbarButton).empty());
}

TEST_F(SdlPlatformTest, FullScreenScalesTheWholeScreenAndHidesTheToolbar) {
  Display& d = p_->GetDisplay();
  int dw, dh;
  d.GetDesktopSize(dw, dh);
  ASSERT_TRUE(d.SetFullScreen(1));
  Drain();
  int w, h;
  sdltest::GetWindowSize(*p_, w, h);
  EXPECT_EQ(dw, w);
  EXPECT_EQ(dh, h);
  EXPECT_EQ(FitGameArea(dw, dh, 0), sdltest::PictureRect(*p_));
  // The top strip is game picture now; a click there is the game's.
  ClickWindow(w / 2, 2);
  EXPECT_EQ(1u, OfType(EventType::MouseDown).size());
  // Shown on request, the tool bar lies over the picture and takes clicks.
  d.SetToolbarVisible(true);
  const PixelRect r = sdltest::ToolbarButtonRect(*p_, 2);
  ClickWindow(r.x + 5, r.y + 5);
  const std::vector<Event> buttons = OfType(EventType::ToolbarButton);
  ASSERT_EQ(1u, buttons.size());
  EXPECT_EQ(2, buttons[0].button);

  ASSERT_TRUE(d.SetFullScreen(0));
  Drain();
  sdltest::GetWindowSize(*p_, w, h);
  EXPECT_EQ(800, w);
  EXPECT_EQ(624, h);
  EXPECT_EQ((PixelRect{0, 24, 800, 600}), sdltest::PictureRect(*p_));
}

TEST_F(SdlPlatformTest, NoticeCoversTheFootOfThePictureUntilTheNextClick) {
  FillFrame(0, 0, 0);
  p_->GetDisplay().Present();
  Drain();
  EXPECT_EQ(0x000000u, Pixel(400, 620));
  p_->GetUi().Notice("Settings are not kept: cannot write /home/x/game.ini: Permission denied");
  Drain();
  EXPECT_NE(0x000000u, Pixel(400, 620));
  EXPECT_EQ(0x000000u, Pixel(400, 300));
  // The click still goes to the game.
  ClickWindow(400, 300);
  EXPECT_EQ(1u, OfType(EventType::MouseDown).size());
  EXPECT_EQ(0x000000u, Pixel(400, 620));
}

TEST_F(SdlPlatformTest, AltEnterAndF11ToggleFullScreenAndEscapeLeavesIt) {
  struct Case {
    const char* key;
    Mods mods;
    bool fullScreen;
    int fullScreenButton;  // -1: the key goes to the game
  };
  const Case cases[] = {
      {"Return", {.alt = true}, false, 1},
      {"F11", {}, false, 1},
      {"F11", {}, true, 1},
      {"Escape", {}, true, 0},
      {"Escape", {}, false, -1},
      {"Return", {}, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + (c.fullScreen ? " in full screen" : " in a window"));
    ASSERT_TRUE(p_->GetDisplay().SetFullScreen(c.fullScreen ? 1 : 0));
    Drain();
    sdltest::PushKey(*p_, c.key, true, c.mods);
    sdltest::PushKey(*p_, c.key, false, c.mods);
    const std::vector<Event> events = Drain();
    int toggles = 0, keys = 0;
    for (const Event& e : events) {
      if (e.type == EventType::FullScreen) {
        ++toggles;
        EXPECT_EQ(e.button, c.fullScreenButton);
      }
      keys += e.type == EventType::KeyDown || e.type == EventType::KeyPress;
    }
    EXPECT_EQ(toggles, c.fullScreenButton >= 0 ? 1 : 0);
    EXPECT_EQ(keys > 0, c.fullScreenButton < 0);
  }
}

TEST_F(SdlPlatformTest, TheToolbarLeavesThePictureWholeAndTheWindowStaysReadable) {
  FillFrame(0, 0, 0);
  p_->GetDisplay().Present();
  Drain();
  for (const auto& [w, h] : {std::pair{1000, 774}, std::pair{800, 624}}) {
    sdltest::ResizeWindow(*p_, w, h);
    Drain();
    const PixelRect r = sdltest::PictureRect(*p_);
    for (int y = r.y; y < r.y + 12; ++y)
      EXPECT_EQ(0x000000u, Pixel(r.x + r.w / 2, y)) << w << " " << y;
  }
  sdltest::ResizeWindow(*p_, 300, 250);
  Drain();
  int w, h;
  sdltest::GetWindowSize(*p_, w, h);
  EXPECT_GE(w, 600);
  EXPECT_GE(h, 450 + 24);
}

TEST_F(SdlPlatformTest, WarpPointerTakesGamePixels) {
  sdltest::ResizeWindow(*p_, 1600, 1224);
  Drain();
  p_->GetDisplay().WarpPointer(123, 456);
  const std::vector<Event> moves = OfType(EventType::MouseMove);
  ASSERT_EQ(1u, moves.size());
  EXPECT_EQ(123, moves[0].x);
  EXPECT_EQ(456, moves[0].y);
}

TEST_F(SdlPlatformTest, MessageBoxAnswersFromTheKeyboard) {
  Ui& ui = p_->GetUi();
  struct Case {
    MsgButtons buttons;
    std::vector<const char*> keys;
    MsgResult want;
  } cases[] = {
      {MsgButtons::OkCancel, {"Return"}, MsgResult::Ok},
      {MsgButtons::OkCancel, {"Escape"}, MsgResult::Cancel},
      {MsgButtons::OkCancel, {"Right", "Return"}, MsgResult::Cancel},
      {MsgButtons::OkCancel, {"Tab", "Tab", "Space"}, MsgResult::Ok},
      {MsgButtons::YesNo, {"Escape"}, MsgResult::No},
      {MsgButtons::YesNo, {"N"}, MsgResult::No},
      {MsgButtons::Ok, {"Escape"}, MsgResult::Ok},
  };
  for (const Case& c : cases) {
    for (const char* k : c.keys) {
      sdltest::PushKey(*p_, k, true);
      sdltest::PushKey(*p_, k, false);
    }
    EXPECT_EQ(c.want, ui.MessageBox("ゲームを終了しますか？", "確認", c.buttons, MsgIcon::Question))
        << c.keys.size() << " keys, first " << c.keys[0];
  }
  // The key releases seen during the dialog reach the game after it.
  const std::vector<Event> ups = OfType(EventType::KeyUp);
  EXPECT_FALSE(ups.empty());
  EXPECT_TRUE(OfType(EventType::KeyDown).empty());
}

TEST_F(SdlPlatformTest, DialogKeepsTheTimerRunningAndTakesNoClose) {
  Clock& clock = p_->GetClock();
  clock.StartTimer();
  // The answer comes from the timer handler, which only runs if the dialog's
  // loop keeps serving the 55 ms timer.
  onTimer_ = [&] {
    if (ticks_ == 2) {
      sdltest::PushQuit(*p_);
      sdltest::PushKey(*p_, "Escape", true);
    }
  };
  EXPECT_EQ(MsgResult::Cancel,
            p_->GetUi().MessageBox("text", "caption", MsgButtons::OkCancel, MsgIcon::None));
  EXPECT_EQ(2, ticks_);
  EXPECT_TRUE(OfType(EventType::CloseRequest).empty());
}

TEST_F(SdlPlatformTest, PopupMenuChoosesByKeyboardAndSkipsWhatCannotBeChosen) {
  std::vector<MenuItem> items(6);
  items[0].caption = "自動送り";
  items[1].caption = "ログ";
  items[1].enabled = false;
  items[2].caption = "";  // separator
  items[3].caption = "隠し";
  items[3].visible = false;
  items[4].caption = "設定";
  items[5].caption = "終了";
  Ui& ui = p_->GetUi();
  auto run = [&](std::vector<const char*> keys) {
    for (const char* k : keys) {
      sdltest::PushKey(*p_, k, true);
      sdltest::PushKey(*p_, k, false);
    }
    return ui.PopupMenu(items, 100, 100);
  };
  EXPECT_EQ(0, run({"Down", "Return"}));
  EXPECT_EQ(4, run({"Down", "Down", "Return"}));
  EXPECT_EQ(5, run({"Up", "Return"}));          // from the top it wraps to the last
  EXPECT_EQ(0, run({"Up", "Down", "Return"}));  // and back round to the first
  EXPECT_EQ(-1, run({"Down", "Escape"}));
  std::vector<MenuItem> none(2);
  none[0].caption = "x";
  none[0].enabled = false;
  EXPECT_EQ(-1, ui.PopupMenu(none, 0, 0));  // nothing to choose: no menu at all
}

TEST_F(SdlPlatformTest, PopupMenuChoosesByClickAndClosesOnAClickOutside) {
  std::vector<MenuItem> items(3);
  items[0].caption = "スキップ";
  items[1].caption = "セーブ";
  items[2].caption = "終了";
  p_->GetClock().StartTimer();
  int clicked = -2;
  onTimer_ = [&] {
    if (ticks_ != 1) return;
    const PixelRect r = sdltest::MenuItemRect(*p_, 1);
    ASSERT_GT(r.w, 0);
    ClickWindow(r.x + r.w / 2, r.y + r.h / 2);
  };
  clicked = p_->GetUi().PopupMenu(items, 300, 200);
  EXPECT_EQ(1, clicked);

  ticks_ = 0;
  onTimer_ = [&] {
    if (ticks_ == 1) ClickWindow(5, 600);
  };
  EXPECT_EQ(-1, p_->GetUi().PopupMenu(items, 300, 200));
  EXPECT_TRUE(OfType(EventType::MouseDown).empty());  // that click closed the menu only
}

TEST(SdlVideoDriver, OnlyADriverTheUserAskedForMayShowNothing) {
  struct Case {
    const char* driver;
    bool userChose;
    bool refused;
  };
  for (const Case& c :
       {Case{"x11", false, false}, Case{"wayland", false, false}, Case{"KMSDRM", false, false},
        Case{"offscreen", false, true}, Case{"dummy", false, true}, Case{"evdev", false, true},
        Case{"dummy", true, false}, Case{"offscreen", true, false}}) {
    const std::string why = RefuseInvisibleDriver(c.driver, c.userChose);
    EXPECT_EQ(!why.empty(), c.refused) << c.driver << " " << c.userChose;
    if (c.refused) {
      EXPECT_NE(why.find(c.driver), std::string::npos) << why;
    }
  }
}

}  // namespace
}  // namespace platform
