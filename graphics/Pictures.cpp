// Picture lookups of the graphics layer through the game's archives.
#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "graphics/Surfaces.h"

namespace zk {

// Connected to the game's archives when the start-up data lands on TForm1.
bool LoadScenePicture(TForm1&, std::string_view, Bitmap&) { return false; }
int TachiType(const TForm1&) { return 0; }

}  // namespace zk
