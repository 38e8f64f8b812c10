// Scene graphics: layers, the graphics commands, the screen update and the
// numbered transitions. Everything draws on the surfaces of GraphicsState
// (TForm1::Gfx) and shows its result in the display frame.
//
// [SECTION] Pictures
// [SECTION] Layers
// [SECTION] Screen update
// [SECTION] Transitions and fades
// [SECTION] Command bodies
#pragma once
#include <cstdint>
#include <string_view>

#include "graphics/GraphicsState.h"
#include "script/Command.h"

namespace zk {

class TForm1;

// ============================================================ [SECTION] Pictures

// Loads a picture of the game's archives by name into target (resized to the
// picture); false and target unchanged when no archive holds it.
bool LoadScenePicture(TForm1& f, std::string_view name, Bitmap& target);

// ============================================================ [SECTION] Layers

// The x and y position of character position `position` (0-based) in a layout
// of `count` characters (1..4), from S080..S099.
void CharacterPosition(const TForm1& f, int count, int position, int& x, int& y);
// The positions of a layout of `count` characters in drawing order (later on
// top); returns how many.
int DrawingOrder(int count, bool reversed, int order[kLayoutPositions]);

// The layout request: applies a sprite list ("NAME,NAME,...[,T]") to the
// layout, loading every picture not cached, and remembers the list text
// (SpriteSpec). Returns the transition the list asks for. No screen update.
int ApplySpriteSpec(TForm1& f, const char* spec);
// Count 0, all names empty, no sprite list.
void ClearCharacterLayout(TForm1& f);
// Fills the background with a solid colour from a name "S" + three colour
// digits (red, green, blue) and remembers the name.
void SetColourBackground(TForm1& f, const char* name);
// Builds the stage surface: background, overlay (S020 = 0), characters,
// overlay (S020 = 1).
void ComposeStage(TForm1& f);

// ============================================================ [SECTION] Screen update

// Recomposes the scene from the layers and shows it with a transition
// (negative numbers mean 0).
void ScreenUpdate(TForm1& f, int transition);
// Applies the colour filter S011 (level S013) to the stage surface.
void ApplyStageFilter(TForm1& f);
// Builds the scene surface from the stage, the message window and the panels.
void BuildScene(TForm1& f);
// The sepia flash of `special 3` and `special 4` (kind is not used).
void SepiaFlash(TForm1& f, int kind);
// Copies the scene (or the stage) surface into the display frame.
void PaintScene(TForm1& f, bool stageOnly);
// Fills the screen black and copies it into the scene.
void ClearScreenToScene(TForm1& f);
// Recomposes the layers and shows them.
void RedrawScene(TForm1& f);
// Builds the scene surface from the stage with the message window (and the
// page) on it, without showing it.
void BuildSceneSurface(TForm1& f);
// The 800 x 600 surfaces; nullptr while graphics has not created them.
Bitmap* BackgroundSurface(TForm1& f);
Bitmap* StageSurface(TForm1& f);
Bitmap* SceneSurface(TForm1& f);
Bitmap* PreviousFrameSurface(TForm1& f);
Bitmap* OutputSurface(TForm1& f);
// The frame clock: start, then wait one period (pumping messages); returns
// the periods elapsed, at least 1. WaitUntilTick sleeps to a clock deadline
// and then pumps messages.
void FrameClockStart(TForm1& f);
int FrameClockWait(TForm1& f, int periodMs);
void WaitUntilTick(TForm1& f, uint32_t deadlineMs);
// Start-up: fresh surfaces, an empty cache and layout, no picture names, and
// the window filled black.
void CreateSurfaces(TForm1& f);

// ============================================================ [SECTION] Transitions and fades

// Replaces what the window shows (the previous-frame surface) by the scene
// surface with transition `number`.
void RunTransition(TForm1& f, int number);
// Full-screen cross-fade from the previous-frame surface to the scene surface:
// the weight of the new picture runs from 0 by step per elapsed period while
// it stays below 257; a click ends it early.
void CrossFade(TForm1& f, int step, int periodMs);
void CrossFadeByType(TForm1& f, int type);

// ============================================================ [SECTION] Command bodies
// Argument text as the dispatcher passes it (after the keyword). Each returns
// the step result of its command.

StepResult GraCommand(TForm1& f, const char* args);
StepResult GrbCommand(TForm1& f, const char* args);
StepResult BgCommand(TForm1& f, const char* args);
StepResult ClrbCommand(TForm1& f, const char* args);
StepResult SprCommand(TForm1& f, const char* args);
StepResult OvrCommand(TForm1& f, const char* args);
StepResult PartsloadCommand(TForm1& f, const char* args);
// ptset with its six values already evaluated.
void PtsetDraw(TForm1& f, int x1, int y1, int x2, int y2, int dx, int dy);
StepResult DirectCommand(TForm1& f, const char* args);
StepResult ScrollCommand(TForm1& f, const char* args);

}  // namespace zk
