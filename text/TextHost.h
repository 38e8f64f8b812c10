// What the message window needs from the layers above it. The engine object
// (TForm1) implements it, so the text library never links against them.
#pragma once

namespace zk {

class TextHost {
 public:
  // The window was shown or hidden: the tool bar and menu states follow.
  virtual void RefreshMenuStates() = 0;
  // The quick buttons of the message window: drawn in the given state (2:
  // onto the composed window), or redrawn on the screen as they are.
  virtual void DrawQuickButtons(int kind) = 0;
  virtual void RedrawQuickButtons() = 0;

 protected:
  ~TextHost() = default;
};

}  // namespace zk
