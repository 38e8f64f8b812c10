#include "core/Wiring.h"

#include "core/DevPanel.h"
#include "core/Input.h"
#include "core/QuickButtons.h"
#include "core/TForm1.h"
#include "devtools/DevTools.h"
#include "effects/Effects.h"
#include "services/Services.h"
#include "text/Text.h"

namespace zk {

Wiring::Wiring(TForm1& f) : f_(f), developer_(DevPanel::DeveloperBuild()) {
  f.Hosts = {this, this, this};
}

void Wiring::DrawMessageWindowLayer() {
  zk::DrawMessageWindowLayer(f_);
}
void Wiring::InvalidateMessageWindow() {
  zk::InvalidateMessageWindow(f_);
}
void Wiring::ManpuErase() {
  zk::ManpuErase(f_);
}
void Wiring::RestoreAnimationWindows() {
  zk::RestoreAnimationWindows(f_);
}
void Wiring::MarkCgSeen(std::string_view pictureName) {
  zk::MarkCgSeen(f_, pictureName);
}
void Wiring::CountPlay() {
  zk::CountPlay(f_);
}
void Wiring::DrawDatePanel() {
  zk::DrawDatePanel(f_);
}
void Wiring::AskQuitAfterClose() {
  zk::AskQuitAfterClose(f_);
}
void Wiring::RefreshMenuStates() {
  zk::RefreshMenuStates(f_);
}
void Wiring::DrawQuickButtons(int kind) {
  zk::DrawQuickButtons(f_, kind);
}
void Wiring::RedrawQuickButtons() {
  zk::RedrawQuickButtons(f_);
}
void Wiring::Close() {
  f_.Close();
}
void Wiring::ReportScriptError(const char* messageUtf8, int kind) {
  zk::ReportScriptError(f_, messageUtf8, kind);
}

}  // namespace zk
