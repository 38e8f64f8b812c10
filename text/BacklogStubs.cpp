// Do-nothing versions of the backlog family (text/Backlog.h) until it lands.
#include "text/Backlog.h"

namespace zk {

void TakePageSnapshot(TForm1&) {}
void DropPageSnapshot(TForm1&) {}
void ClearBacklog(TForm1&) {}
void OpenBacklog(TForm1&) {}
void CloseBacklog(TForm1&) {}
void BacklogMouseDown(TForm1&, int, int) {}
void BacklogMouseMove(TForm1&, int, int) {}
void BacklogMouseUp(TForm1&) {}
void BacklogWheel(TForm1&, int) {}
void OpenRewindView(TForm1&) {}
void StepRewindView(TForm1&, int) {}
void CloseRewindView(TForm1&) {}
void ShowPanicPicture(TForm1&) {}
bool PanicPictureShown(const TForm1&) {
  return false;
}
void LeavePanicPicture(TForm1&) {}

}  // namespace zk
