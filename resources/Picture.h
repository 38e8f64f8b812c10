// Pictures: the compressed picture format, JPEG, and loading a picture by
// name from the game's archives.
#pragma once
#include "resources/PictureCodec.h"
#include "resources/PictureLookup.h"
