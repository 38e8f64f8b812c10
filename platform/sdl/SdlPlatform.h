// The desktop platform: one SDL window with the game picture scaled into it,
// the tool bar above it, and dialogs and menus drawn with Dear ImGui.
#pragma once
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/DevPanelView.h"
#include "platform/Display.h"
#include "platform/Ui.h"

namespace platform {

struct SdlOptions {
  std::string title;
};

class SdlBackend;

// Empty when the video driver SDL chose can show the window; else why not:
// SDL falls back to drivers that show nothing when no display is reached,
// which is accepted only when the user asked for one (SDL_VIDEODRIVER).
std::string RefuseInvisibleDriver(const std::string& driver, bool userChose);

class SdlPlatform {  // owns window, renderer, ImGui context
 public:
  // Opens the window; nullptr with error set when there is no display.
  // The renderer is SDL's software renderer unless a GPU driver is present
  // (a /dev/dri render node); ZK_RENDERER=software|accelerated overrides.
  static std::unique_ptr<SdlPlatform> Create(const SdlOptions& options, std::string& error);
  ~SdlPlatform();
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  Clock& GetClock();
  Display& GetDisplay();
  Ui& GetUi();
  // The developer panel beside the game area (the window grows by its
  // column); for developer builds only, the panel exists from the first call.
  DevPanelView* EnableDevPanel();

  // The implementation, for the test hooks in SdlTestHooks.h.
  SdlBackend& Backend() { return *backend_; }

 private:
  explicit SdlPlatform(std::unique_ptr<SdlBackend> backend);
  std::unique_ptr<SdlBackend> backend_;
};

}  // namespace platform
