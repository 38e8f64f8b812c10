// The desktop's full-screen keys reach the main window as FullScreen events.
#include <gtest/gtest.h>

#include "FormFixture.h"

namespace zk {
namespace {

using FullScreenKeys = FormTest;

TEST_F(FullScreenKeys, ToggleAndLeaveKeepTheChosenDisplayMode) {
  platform::Event toggle;
  toggle.type = platform::EventType::FullScreen;
  toggle.button = 1;
  platform::Event leave = toggle;
  leave.button = 0;
  struct Case {
    DisplayMode chosenMode;
  };
  for (const Case& c : {Case{DisplayMode::Window}, Case{DisplayMode::FullScreen}}) {
    SCOPED_TRACE(static_cast<int>(c.chosenMode));
    s.Shell.DisplayMode = c.chosenMode;
    form.HandleEvent(leave);  // in a window: nothing to leave
    EXPECT_EQ(s.Shell.FullScreenActive, 0);
    form.HandleEvent(toggle);
    EXPECT_EQ(s.Shell.FullScreenActive, 1);
    EXPECT_FALSE(s.Shell.ToolbarShown);
    form.HandleEvent(toggle);
    EXPECT_EQ(s.Shell.FullScreenActive, 0);
    EXPECT_TRUE(s.Shell.ToolbarShown);
    form.HandleEvent(toggle);
    form.HandleEvent(leave);
    EXPECT_EQ(s.Shell.FullScreenActive, 0);
    EXPECT_EQ(s.Shell.DisplayMode, c.chosenMode);
  }
}

}  // namespace
}  // namespace zk
