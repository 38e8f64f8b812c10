// A main window on the headless platform, for tests that drive the engine
// in-process: the tests set the state they need directly.
#pragma once
#include <gtest/gtest.h>

#include "core/TForm1.h"
#include "platform/headless/Headless.h"

namespace zk {

struct HeadlessForm : ::testing::Test {
  platform::HeadlessClock clock;
  platform::HeadlessDisplay display;
  platform::HeadlessUi ui;
  platform::Platform plat{&clock, &display, &ui, true};
  TForm1 form{plat, RunConfig{}};
  EngineState& s = form.State;
};

}  // namespace zk
