#include "graphics/GraphicsState.h"

namespace zk {

GraphicsState::GraphicsState() {
  for (Bitmap* b : {&Background, &Stage, &Scene, &Previous, &Output, &TextPage, &Black,
                    &SpriteStaging, &ChoiceHighlight})
    b->Resize(kSceneWidth, kSceneHeight);
  for (CharacterSlot& s : Slots) {
    s.Sprite.Resize(200, kSceneHeight);
    s.Mask.Resize(200, kSceneHeight);
  }
}

}  // namespace zk
