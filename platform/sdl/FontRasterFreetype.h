// The message-font rasteriser over FreeType, with faces found by fontconfig.
// It needs no display, so windowed and headless runs both use it.
#pragma once
#include <memory>

#include "platform/FontRaster.h"

namespace platform {

// Creates the rasteriser. Nothing is loaded until the first glyph or ascent is
// asked for; fontconfig and FreeType are then initialised once.
std::unique_ptr<FontRaster> CreateFreetypeFontRaster();

}  // namespace platform
