// Dialogs, message boxes and popup menus, drawn over the game screen.
#pragma once
#include <string>
#include <vector>

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Error, Question, Information };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MenuItem {
  std::string caption;  // UTF-8; empty for a separator
  bool enabled = true;
  bool visible = true;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // Modal message box; texts are UTF-8.
  virtual MsgResult MessageBox(const std::string& text, const std::string& caption,
                               MsgButtons buttons, MsgIcon icon) = 0;
  // Modal popup menu at a game-screen position; the chosen index, or -1.
  virtual int PopupMenu(const std::vector<MenuItem>& items, int x, int y) = 0;
  // A notice the player should see without being stopped (a setting that
  // cannot be kept); shown over the game until the next click. UTF-8.
  virtual void Notice(const std::string& /*text*/) {}
  // The harness's scripted answer for the next dialog (ignored by a real UI).
  virtual void QueueAnswer(const std::string& /*answer*/) {}
};

}  // namespace platform
