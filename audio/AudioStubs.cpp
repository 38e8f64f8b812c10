// Do-nothing versions of the sound subsystem (audio/Audio.h) until sound
// output lands; this file disappears then.
#include "audio/Audio.h"
#include "core/TForm1.h"

namespace zk {

void DetectSoundOutput(TForm1&) {}
void SoundInit(TForm1&) {}
void SoundTick(TForm1&) {}
bool SoundTickQuiet(TForm1&) {
  return true;
}  // SoundTick does nothing yet
// A voice "plays" while the stand-in flag is set, so auto mode and
// `wait_v_end` can be tested before sound output exists.
bool VoicePlaying(TForm1& f) {
  return f.VoiceStandIn;
}
void StopVoice(TForm1& f) {
  f.VoiceStandIn = false;
}
void StopMusic(TForm1&) {}
void StartMusic(TForm1&, int32_t) {}
void ApplyVolumes(TForm1&) {}
bool MoviePlaying(TForm1&) {
  return false;
}
void StopMovie(TForm1&) {}
bool WaveOutputPresent(TForm1&) {
  return true;
}
void PlayVoice(TForm1&, std::string_view) {}
void PlaySound(TForm1&, std::string_view, int) {}
void ReplayLastVoice(TForm1&) {}
void StopLoopingEffect(TForm1&) {}

StepResult CmdMusic(TForm1&, char*, char*) {
  return kStepContinue;
}
StepResult CmdMovie(TForm1&, char*, char*) {
  return kStepContinue;
}
StepResult CmdSeoff(TForm1&, char*, char*) {
  return kStepContinue;
}

}  // namespace zk
