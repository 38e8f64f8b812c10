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

}  // namespace zk
