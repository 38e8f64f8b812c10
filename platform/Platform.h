// The services one platform provides to the engine, bundled.
#pragma once
#include <memory>

#include "platform/Clock.h"
#include "platform/DevPanelView.h"
#include "platform/Display.h"
#include "platform/FontRaster.h"
#include "platform/Ui.h"

namespace platform {

struct Platform {
  Clock* clock = nullptr;
  Display* display = nullptr;
  Ui* ui = nullptr;
  bool headless = false;
  FontRaster* fonts = nullptr;       // the message font; null renders no text
  DevPanelView* devPanel = nullptr;  // the developer panel; null outside a developer build
};

}  // namespace platform
