// The hosts of the subsystems below the engine core. Each lower subsystem
// declares what it needs from the layers above it as a host interface; the
// wiring implements all of them by forwarding to the subsystem that owns the
// operation, and installs itself in TForm1::Hosts. This is the only place
// where a lower layer's request reaches a higher one.
#pragma once
#include <string_view>

#include "graphics/GraphicsHost.h"
#include "script/ScriptHost.h"
#include "text/TextHost.h"

namespace zk {

class TForm1;

class Wiring final : public GraphicsHost,
                     public TextHost,
                     public ScriptHost {
 public:
  explicit Wiring(TForm1& f);

  // graphics
  void DrawMessageWindowLayer() override;
  void InvalidateMessageWindow() override;
  void ManpuErase() override;
  void RestoreAnimationWindows() override;
  void MarkCgSeen(std::string_view pictureName) override;
  void CountPlay() override;
  void DrawDatePanel() override;
  void AskQuitAfterClose() override;
  // graphics, text and script
  void RefreshMenuStates() override;
  // text and script
  void DrawQuickButtons(int kind) override;
  void RedrawQuickButtons() override;
  // script
  void Close() override;
  void ReportScriptError(const char* messageUtf8, int kind) override;
  bool DeveloperRun() override { return developer_; }

 private:
  TForm1& f_;
  bool developer_;  // read once: the environment does not change during a run
};

}  // namespace zk
