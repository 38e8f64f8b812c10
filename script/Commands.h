// Helpers the command handlers share with the subsystems that own commands.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "script/Command.h"

namespace zk {

class TForm1;
struct Banks;
struct PlayerSettings;
struct Bitmap;

// Skip and auto mode off, quick buttons redrawn (`break`, `roll`, `viewer`).
void StopSkipAndAuto(TForm1& f);
// The choice rule: only when StopAtChoice is on, StopSkipAndAuto. Commands
// that open a choice or a game screen apply it first.
void ApplyStopAtChoice(TForm1& f);

// The name `se` (looping false) or `seloop` (true) plays: upper case, with
// the level variant of group 4 looping sounds; empty when the sound's group
// is switched off.
std::string EffectSoundName(const PlayerSettings& p, std::string_view name, bool looping);

// The completion rate of `special 6`: set bits among the 228 listed E flags.
int CompletionCount(const Banks& v);
// `special 2`: in rows 0..a-1 and b..bottom each colour byte v becomes
// (v x c) >> 4, kept to 8 bits.
void DimRows(Bitmap& picture, int32_t a, int32_t b, int32_t c);

// The screen frame and 800 x 600 bitmaps.
void CopyFrameToBitmap(TForm1& f, Bitmap& target);
void CopyBitmapToFrame(TForm1& f, const Bitmap& source);

}  // namespace zk
