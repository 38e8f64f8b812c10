// What the sound subsystem offers the engine: voices, effects, music,
// volumes and movies. Until sound output lands, audio/AudioStubs.cpp keeps
// do-nothing versions of all of it.
#pragma once
#include <cstdint>
#include <string_view>

#include "script/Command.h"

namespace zk {

class TForm1;

void DetectSoundOutput(TForm1& f);  // start-up: whether a wave output device exists
void SoundInit(TForm1& f);
void SoundTick(TForm1& f);  // streaming and housekeeping, every timer tick
// True while SoundTick has nothing to do until input arrives (nothing
// streams, fades or waits for an end).
bool SoundTickQuiet(TForm1& f);
bool VoicePlaying(TForm1& f);
void StopVoice(TForm1& f);
void StopMusic(TForm1& f);
void StartMusic(TForm1& f, int32_t number);
void ApplyVolumes(TForm1& f);
bool MoviePlaying(TForm1& f);
void StopMovie(TForm1& f);
bool WaveOutputPresent(TForm1& f);
bool VoiceExists(TForm1& f, std::string_view name);
void PlayVoice(TForm1& f, std::string_view name);
void PlaySound(TForm1& f, std::string_view name, int kind);  // 1 once, 2 as the looping effect
void ReplayLastVoice(TForm1& f);
void StopLoopingEffect(TForm1& f);

// Script commands of the sound subsystem.
StepResult CmdMusic(TForm1& f, char* line, char* args);
StepResult CmdMovie(TForm1& f, char* line, char* args);
StepResult CmdSeoff(TForm1& f, char* line, char* args);

}  // namespace zk
