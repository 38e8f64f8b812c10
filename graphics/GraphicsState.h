// The scene graphics state owned by TForm1: the surfaces every screen draws
// on, the five-slot character cache, the character layout, the names of the
// pictures on screen (kept for saving and the page snapshots), and the
// screen's own bookkeeping.
#pragma once
#include <cstdint>

#include "base/Bitmap.h"
#include "graphics/Screen.h"

namespace zk {

constexpr int kSceneWidth = 800;
constexpr int kSceneHeight = 600;
constexpr int kCharacterSlots = 5;
constexpr int kLayoutPositions = 4;  // positions that are drawn
constexpr int kLayoutNames = 5;      // name fields of a layout (the fifth is never drawn)
constexpr int kPictureNameSize = 64; // 63 bytes and the NUL
constexpr int kSpriteSpecSize = 256;

// A cached character picture: the sprite and its per-byte opacity mask.
struct CharacterSlot {
  Bitmap Sprite;
  Bitmap Mask;
  char Name[kPictureNameSize] = "0";  // "0" matches no picture name
};

struct CharacterLayout {
  int32_t Count = 0;                       // characters shown, 0..4
  int32_t Slot[kLayoutPositions] = {};     // the slot shown at each position
  char Names[kLayoutNames][kPictureNameSize] = {};
};

struct GraphicsState {
  GraphicsState();

  // ---- surfaces (24-bit, 800 x 600 unless loading resizes them)
  Bitmap Background;      // the background picture or a solid colour (resized by loading)
  Bitmap Stage;           // background + characters + overlay
  Bitmap Scene;           // stage + message window + buttons: the frame that must be on screen
  Bitmap Previous;        // the scene as it was when the current update began
  Bitmap Output;          // work surface of transitions and effects; second partsload picture
  Bitmap Overlay;         // the ovr picture (resized by loading)
  Bitmap TextPage;        // page background of full-screen text mode
  Bitmap Black;           // all black
  Bitmap Parts;           // partsload / direct picture, source of ptset (resized by loading)
  Bitmap SpriteStaging;   // a side-by-side sprite and mask before the split
  Bitmap TransitionMask;  // exists only while the star transition runs
  Bitmap ChoiceHighlight; // the highlighted choice rows

  // ---- characters
  CharacterSlot Slots[kCharacterSlots];
  int32_t NextSlot = 0;  // the slot the next newly needed picture overwrites
  CharacterLayout Layout;

  // ---- names of what is shown (saved with a game)
  char BackgroundName[kPictureNameSize] = {};
  char SpriteSpec[kSpriteSpecSize] = {};
  char OverlaySpec[kPictureNameSize] = {};

  bool PrepareOnly = false;        // set by grb: layer changes without a screen update
  bool BackgroundChanged = false;  // a background change not yet consumed by an update
  uint32_t FrameClockStartMs = 0;  // the frame clock other subsystems share

  // ---- the display frame's damage and the text printer's pacing (graphics/Screen.h)
  ScreenState Screen;
};

}  // namespace zk
