// What scene graphics needs from the layers above it. The engine object
// (TForm1) implements it, so the graphics library never links against them.
#pragma once
#include <cstdint>
#include <string_view>

namespace zk {

class GraphicsHost {
 public:
  // Text: the message window layer of every scene build, and its cache going
  // stale when the layers under it change.
  virtual void DrawMessageWindowLayer() = 0;
  virtual void InvalidateMessageWindow() = 0;
  // Effects: before the window is drawn, a shown manpu symbol comes off and a
  // running background animation gets its window areas back.
  virtual void ManpuErase() = 0;
  virtual void RestoreAnimationWindows() = 0;
  // Services: a shown picture's CG bit, the play counter of a layout request
  // and the date panel of the scene build.
  virtual void MarkCgSeen(std::string_view pictureName) = 0;
  virtual void CountPlay() = 0;
  virtual void DrawDatePanel() = 0;
  // The shell: the window was asked to close during a transition, and the
  // tool bar and menu states after a command changed what they depend on.
  virtual void AskQuitAfterClose() = 0;
  virtual void RefreshMenuStates() = 0;

 protected:
  ~GraphicsHost() = default;
};

}  // namespace zk
