// The numbered transitions, as one table. Each type draws successive frames
// into the window while a frame counter runs from First by Step for every
// elapsed period while it stays below End; its pacing and its answer to a
// click (EffectAbort) are data of the table.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/FrameClock.h"
#include "graphics/GraphicsState.h"
#include "graphics/Surfaces.h"

namespace zk {

class TForm1;

enum class Pacing {
  None,        // no frames, or frames with no wait at all
  Deadline,    // tick count at the frame's start plus the period, then wait for it
  FrameClock,  // the frame clock: the counter advances by the elapsed periods
  Sleep,       // a plain sleep of the period, then messages
  Unpaced,     // messages only
};

enum class AbortRule {
  None,       // a click changes nothing
  Immediate,  // after every frame: show the new picture at once and set S019 to 1
  AfterLast,  // the frames run to the end; then S019 becomes 1 if a click came
  Quiet,      // after every frame: show the new picture at once, S019 unchanged
};

struct TransitionRun;

struct TransitionType {
  int Number;
  const char* Name;
  Pacing Pace;
  int PeriodMs;
  AbortRule Abort;
  int First, Step, End;                // the frame counter
  void (*Begin)(TransitionRun& r);     // optional: prepares the run (may change End)
  bool (*Draw)(TransitionRun& r);      // draws the frame at the counter; true when shown
  void (*Advance)(TransitionRun& r, int periods);  // optional: after the counter moved
  bool ShowsScene;                     // the window ends with the scene surface
};

constexpr int kTransitionCount = 26;  // 0..25; numbers above 25 draw nothing, like 25
const TransitionType& TransitionTypeOf(int number);

// What one run works on.
struct TransitionRun {
  // Works on the graphics state of f and the display frame (the screen's canvas).
  explicit TransitionRun(TForm1& form);

  TForm1& f;
  GraphicsState& g;
  const Bitmap& New;  // the scene surface
  const Bitmap& Old;  // the previous-frame surface
  Bitmap& Out;        // the output surface
  PixelView Win;      // the display frame
  int Pos = 0;
  int End = 0;
  int Done = 0;       // scratch: columns already new (gradient wipe)
  int Q = 0;          // scratch: the star's inner-radius term
  int Levels = 16;    // checker dissolve
  std::vector<int> Order;
  std::vector<int> Split;
  std::vector<uint8_t> RowA, RowB;
};

// Runs the frames of a type on the frame clock; true when a click (EffectAbort)
// ended them early. Flags, S019 and the final picture are the caller's.
bool RunTransitionFrames(TransitionRun& r, const TransitionType& t);

}  // namespace zk
