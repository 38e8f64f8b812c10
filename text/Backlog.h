// What the backlog family offers the engine: the page snapshots of the
// rewind view, the text backlog, the page rewind view and the panic picture.
// Until they land, text/BacklogStubs.cpp keeps do-nothing versions.
#pragma once

namespace zk {

class TForm1;

// The page rewind view's snapshots: store the page in the next slot, or step
// the slot counter back so the next snapshot overwrites the last one.
void TakePageSnapshot(TForm1& f);
void DropPageSnapshot(TForm1& f);

void ClearBacklog(TForm1& f);  // start-up
void OpenBacklog(TForm1& f);   // does nothing while S028 is 0
void CloseBacklog(TForm1& f);
void BacklogMouseDown(TForm1& f, int x, int y);
void BacklogMouseMove(TForm1& f, int x, int y);
void BacklogMouseUp(TForm1& f);
void BacklogWheel(TForm1& f, int delta);  // delta > 0 toward older lines

void OpenRewindView(TForm1& f);                 // does nothing while S028 is 0
void StepRewindView(TForm1& f, int direction);  // +1 an older page, -1 a newer one
void CloseRewindView(TForm1& f);

void ShowPanicPicture(TForm1& f);
bool PanicPictureShown(const TForm1& f);
void LeavePanicPicture(TForm1& f);

}  // namespace zk
