// What the effects subsystem offers the engine: screen effects, the message
// window fades, background animations, frame animations and staff rolls.
//
// [SECTION] Built: screen effects and window fades
// [SECTION] Not built yet (effects/EffectsStubs.cpp)
#pragma once
#include <cstdint>

#include "script/Command.h"

namespace zk {

class TForm1;
struct Banks;
struct Bitmap;

// ============================================================ [SECTION] Built: screen effects and
// window fades

// `special 0`: seven white flashes over the current screen, 20 ms each.
void WhiteFlash(TForm1& f);
// `special 1`: the screen jumps 20 pixels up and down, ten times 50 ms.
void VerticalShake(TForm1& f);
// `special 2`: the scene with rows 0..a-1 and b..bottom dimmed by c / 16.
void Letterbox(TForm1& f, int32_t a, int32_t b, int32_t c);
// `special 5`: the end roll of the credits already loaded into the side
// buffer (the data script "endroll").
void EndRoll(TForm1& f);
// `special 6`: the completion rate in per cent drawn at the top right.
void CompletionRate(TForm1& f);
// `shake`: kind 0 vertical, 1 horizontal, 2 random directions; the amplitude
// shrinks by 2 per elapsed period.
void WindowShake(TForm1& f, int kind, int amplitude, int periodMs);

// The completion rate of `special 6`: set bits among the 228 listed E flags.
int CompletionCount(const Banks& v);
// In rows 0..a-1 and b..bottom each colour byte v becomes (v x c) >> 4, kept
// to 8 bits.
void DimRows(Bitmap& picture, int32_t a, int32_t b, int32_t c);

// Closing and opening the message window with a cross-fade on the frame
// clock (skip mode: at once), and their commands (`win_close` acts in window
// mode only).
void WinClose(TForm1& f);
void WinOpen(TForm1& f);
StepResult CmdWinClose(TForm1& f, char* line, char* args);
StepResult CmdWinOpen(TForm1& f, char* line, char* args);

// ============================================================ [SECTION] Not built yet
// (effects/EffectsStubs.cpp)

void InitEffects(TForm1& f);   // start-up: the effect definitions "INIT"
void ClearObjects(TForm1& f);  // start-up: the object table of `obj_`
void EffectTick(TForm1& f);
// True while EffectTick has nothing to do until input arrives.
bool EffectTickQuiet(TForm1& f);
void BackgroundAnimationStep(TForm1& f);  // one step of a bg_anim animation
// Scene build: takes a shown manpu symbol off the window, and while a
// background animation runs restores the window area of each of its frames.
void ManpuErase(TForm1& f);
void RestoreAnimationWindows(TForm1& f);
void StaffRollIdle(TForm1& f);
void StaffRollTick(TForm1& f);
void StaffRollStop(TForm1& f);
void StaffRollPause(TForm1& f, bool paused);

StepResult CmdBgAnim(TForm1& f, char* line, char* args);
StepResult CmdRoll(TForm1& f, char* line, char* args);
StepResult CmdAnim(TForm1& f, char* line, char* args);
StepResult CmdObj(TForm1& f, char* line, char* args);
StepResult CmdSroll(TForm1& f, char* line, char* args);
StepResult CmdEffect(TForm1& f, char* line, char* args);
StepResult CmdManpu(TForm1& f, char* line, char* args);
StepResult CmdSprmv(TForm1& f, char* line, char* args);
StepResult CmdEfxanim(TForm1& f, char* line, char* args);

}  // namespace zk
