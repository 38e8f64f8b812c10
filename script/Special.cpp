// The screen-effect commands: `special` (flash, shake, letterbox dimming,
// sepia flash, end roll, completion rate), `shake` and `fix`. The effects
// themselves are drawn by effects/.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "core/TForm1.h"
#include "effects/Effects.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "script/CommandHandlers.h"
#include "script/Commands.h"
#include "script/Flow.h"

namespace zk {

namespace {

constexpr int kH = platform::kScreenHeight;

bool EffectsCut(const EngineState& s) {
  return s.Mode.SkipMode != SkipMode::Off && s.Settings.SkipCutsEffects;
}

// The argument after the next comma of the line, or 0 when there is none.
const char* AfterComma(const char* p) {
  if (!p) return nullptr;
  const char* c = std::strchr(p, ',');
  return c ? c + 1 : nullptr;
}
int32_t NumberAt(const char* p) {
  return p ? std::atoi(p) : 0;
}

// `special 2,A,B,C`: the three numbers after the kind.
void LetterboxCommand(TForm1& f, const char* args) {
  const char* a = args[0] && args[1] ? args + 2 : args + std::strlen(args);
  const char* b = AfterComma(a);
  const char* c = AfterComma(b);
  Letterbox(f, NumberAt(a), NumberAt(b), NumberAt(c));
}

}  // namespace

StepResult CmdSpecial(TForm1& f, char*, char* args) {
  if (EffectsCut(f.State)) return kStepEnd;
  switch (args[0]) {
    case '0':
      WhiteFlash(f);
      break;
    case '1':
      VerticalShake(f);
      break;
    case '2':
      LetterboxCommand(f, args);
      break;
    case '3':
    case '4':
      SepiaFlash(f, args[0] - '0');
      break;
    case '5':
      if (LoadScript(f, "endroll", kLoadSide)) EndRoll(f);
      break;
    case '6':
      CompletionRate(f);
      break;
    default:
      break;
  }
  return kStepEnd;
}

// shake A,B,C: kind A (0 vertical, 1 horizontal, 2 random), amplitude B
// (default 20) shrinking by 2 per period of C ms (default 50).
StepResult CmdShake(TForm1& f, char*, char* args) {
  if (EffectsCut(f.State)) return kStepEnd;
  const int kind = std::atoi(args);
  int amplitude = 20, period = 50;
  const size_t span = strnlen(args, 50);
  if (const char* c = static_cast<const char*>(std::memchr(args, ',', span))) {
    amplitude = std::atoi(c + 1);
    if (const char* c2 = std::strchr(c + 1, ',')) period = std::atoi(c2 + 1);
  }
  // Bounded so that a wild argument cannot hold the game for hours.
  amplitude = std::clamp(amplitude, 0, kH);
  period = std::clamp(period, 1, 1000);
  WindowShake(f, kind, amplitude, period);
  return kStepEnd;
}

// fix: the visible screen becomes the stage and the scene.
StepResult CmdFix(TForm1& f, char*, char*) {
  f.State.Vars.S(kSysOverlayOpacity) = 0;
  Bitmap* stage = StageSurface(f);
  Bitmap* scene = SceneSurface(f);
  if (stage) ReadScreen(f, *stage);
  if (stage && scene) *scene = *stage;
  return kStepContinue;
}

}  // namespace zk
