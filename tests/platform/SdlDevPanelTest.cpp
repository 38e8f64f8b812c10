// The developer panel of the SDL platform on SDL's dummy video driver: its
// place beside the game, clicks and typing turned into DevPanel events, and
// drawing only on change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestHooks.h"

namespace platform {
namespace {

class SdlDevPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("ZK_RENDERER", "software", 1);
    std::string error;
    p_ = SdlPlatform::Create(SdlOptions{"test"}, error);
    ASSERT_NE(nullptr, p_) << error;
  }

  std::vector<Event> Drain() {
    std::vector<Event> out;
    Event e;
    while (p_->GetClock().PollEvent(e)) out.push_back(e);
    return out;
  }

  // Opens the panel with two watches and waits until it is on screen.
  DevPanelView& OpenPanel() {
    DevPanelView* view = p_->EnableDevPanel();
    snapshot_.watches = {{"S026", "5", ""}, {"F012", "1", ""}};
    view->Show(snapshot_);
    p_->GetDisplay().Present();
    Drain();
    return *view;
  }

  void Click(const char* widget) {
    const PixelRect r = sdltest::DevPanelWidgetRect(*p_, widget);
    ASSERT_GT(r.w, 0) << widget;
    const int x = r.x + r.w / 2, y = r.y + r.h / 2;
    sdltest::PushMouseMotion(*p_, x, y);
    sdltest::PushMouseButton(*p_, x, y, false, true);
    sdltest::PushMouseButton(*p_, x, y, false, false);
  }

  void Type(const char* sdlKeyName, const char* text) {
    sdltest::PushKey(*p_, sdlKeyName, true);
    if (text) sdltest::PushTextInput(*p_, text);
    sdltest::PushKey(*p_, sdlKeyName, false);
  }

  static std::vector<Event> OfType(const std::vector<Event>& events, EventType type) {
    std::vector<Event> out;
    for (const Event& e : events)
      if (e.type == type) out.push_back(e);
    return out;
  }

  std::unique_ptr<SdlPlatform> p_;
  DevPanelSnapshot snapshot_;
};

TEST_F(SdlDevPanelTest, SitsBesideTheGameAndTurnsClicksIntoActions) {
  int w, h;
  sdltest::GetWindowSize(*p_, w, h);
  EXPECT_EQ(800, w);  // no panel unless asked for
  EXPECT_EQ(0, sdltest::DevPanelRect(*p_).w);

  DevPanelView& view = OpenPanel();
  sdltest::GetWindowSize(*p_, w, h);
  EXPECT_EQ(1100, w);
  EXPECT_EQ(624, h);
  EXPECT_EQ((PixelRect{0, 24, 800, 600}), sdltest::PictureRect(*p_));
  const PixelRect panel = sdltest::DevPanelRect(*p_);
  EXPECT_EQ((PixelRect{800, 24, 300, 600}), panel);
  int ww, wh;
  const std::vector<uint32_t> px = sdltest::ReadWindow(*p_, ww, wh);
  EXPECT_EQ(0xF0F0F0u, px.at(static_cast<size_t>(600) * ww + 1097));  // the panel's background

  struct Case {
    const char* widget;
    DevPanelAction action;  // None: the click does nothing
    int value;
  } cases[] = {
      {"Button1", DevPanelAction::None, 0},  // "Script Editor" waits for "編集有効"
      {"CheckBox3", DevPanelAction::EditEnable, 1},
      {"Button2", DevPanelAction::FlagEditor, 0},
      {"Button3", DevPanelAction::ScriptSelector, 0},
      {"CheckBox2", DevPanelAction::TraceMode, 1},
      {"Row1", DevPanelAction::SelectWatch, 1},
      {"Button5", DevPanelAction::None, 0},  // "Del" without a selected row
      {"Button4", DevPanelAction::AddWatch, 0},
      {"CheckBox1", DevPanelAction::RealTimeWatch, 1},
  };
  for (const Case& c : cases) {
    const PixelRect r = sdltest::DevPanelWidgetRect(*p_, c.widget);
    EXPECT_TRUE(panel.Contains(r.x, r.y) && panel.Contains(r.x + r.w - 1, r.y + r.h - 1))
        << c.widget;
    Click(c.widget);
    const std::vector<Event> got = Drain();
    EXPECT_TRUE(OfType(got, EventType::MouseDown).empty()) << c.widget;  // not the game's
    const std::vector<Event> actions = OfType(got, EventType::DevPanel);
    if (c.action == DevPanelAction::None) {
      EXPECT_TRUE(actions.empty()) << c.widget;
      continue;
    }
    ASSERT_EQ(1u, actions.size()) << c.widget;
    EXPECT_EQ(c.action, DevPanelActionOf(actions[0])) << c.widget;
    EXPECT_EQ(c.value, actions[0].x) << c.widget;
  }

  // The engine's answer enables "Script Editor" and "Del" and ticks the box.
  snapshot_.editEnabled = true;
  snapshot_.selected = 1;
  view.Show(snapshot_);
  Drain();
  for (auto [widget, action] : {std::pair{"Button1", DevPanelAction::ScriptEditor},
                                std::pair{"Button5", DevPanelAction::DeleteWatch},
                                std::pair{"CheckBox3", DevPanelAction::EditEnable}}) {
    Click(widget);
    const std::vector<Event> actions = OfType(Drain(), EventType::DevPanel);
    ASSERT_EQ(1u, actions.size()) << widget;
    EXPECT_EQ(action, DevPanelActionOf(actions[0])) << widget;
    if (action == DevPanelAction::EditEnable) {
      EXPECT_EQ(0, actions[0].x);  // untick
    }
  }

  // The wheel over the panel scrolls the panel, over the picture it is the game's.
  sdltest::PushMouseMotion(*p_, 950, 300);
  sdltest::PushWheel(*p_, -1);
  EXPECT_TRUE(OfType(Drain(), EventType::Wheel).empty());
  sdltest::PushMouseMotion(*p_, 400, 300);
  sdltest::PushWheel(*p_, -1);
  EXPECT_EQ(1u, OfType(Drain(), EventType::Wheel).size());
}

TEST_F(SdlDevPanelTest, TypingGoesToTheBoxUntilEnterOrAClickOnTheGame) {
  OpenPanel();
  Click("Edit1");
  Drain();
  Type("S", "s");
  Type("0", "0");
  Type("Backspace", nullptr);
  Type("2", "2");
  std::vector<Event> got = Drain();
  EXPECT_TRUE(OfType(got, EventType::KeyDown).empty());
  EXPECT_TRUE(OfType(got, EventType::KeyPress).empty());
  std::vector<std::string> texts;
  for (const Event& e : OfType(got, EventType::DevPanel)) {
    EXPECT_EQ(DevPanelAction::EditText, DevPanelActionOf(e));
    texts.push_back(e.text);
  }
  EXPECT_EQ((std::vector<std::string>{"s", "s0", "s", "s2"}), texts);

  // Enter adds the name and hands the keyboard back.
  Type("Return", nullptr);
  got = OfType(Drain(), EventType::DevPanel);
  ASSERT_EQ(1u, got.size());
  EXPECT_EQ(DevPanelAction::AddWatch, DevPanelActionOf(got[0]));
  Type("S", "s");
  EXPECT_EQ(1u, OfType(Drain(), EventType::KeyDown).size());

  // A click on the picture does the same, and is the game's click.
  Click("Edit1");
  Drain();
  Type("A", "a");
  EXPECT_TRUE(OfType(Drain(), EventType::KeyDown).empty());
  sdltest::PushMouseButton(*p_, 400, 300, false, true);
  sdltest::PushMouseButton(*p_, 400, 300, false, false);
  EXPECT_EQ(1u, OfType(Drain(), EventType::MouseDown).size());
  Type("A", "a");
  EXPECT_EQ(1u, OfType(Drain(), EventType::KeyDown).size());
}

TEST_F(SdlDevPanelTest, DrawsOnlyWhenWhatItShowsChanged) {
  DevPanelView& view = OpenPanel();
  const int presents = sdltest::PresentCount(*p_);
  view.Show(snapshot_);
  Drain();
  p_->GetDisplay().Present();
  EXPECT_EQ(presents, sdltest::PresentCount(*p_));
  snapshot_.watches[0].value = "6";
  view.Show(snapshot_);
  Drain();
  EXPECT_EQ(presents + 1, sdltest::PresentCount(*p_));
}

}  // namespace
}  // namespace platform
