// Picture lookups of the graphics layer through the game's archives.
#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "graphics/Surfaces.h"
#include "resources/Picture.h"

namespace zk {

bool LoadScenePicture(TForm1& f, std::string_view name, Bitmap& target) {
  if (name.empty()) return false;
  return LoadPicture(f.Game.Arc, name, target);
}

int TachiType(const TForm1& f) { return f.Game.Def.TACHI_TYPE; }

}  // namespace zk
