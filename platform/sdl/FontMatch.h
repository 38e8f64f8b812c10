// Finding a font file through fontconfig, for the message font and the UI font.
#pragma once
#include <fontconfig/fontconfig.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace platform {

struct FontFileMatch {
  std::string Path;  // empty: nothing suitable
  int Index = 0;     // face index inside the file
};

// The best scalable face for the families, in order of preference. With
// japanese, faces for Japanese are preferred. A match that lacks any of the
// characters in mustCover is refused (Path stays empty).
FontFileMatch MatchFontFile(FcConfig* config, const std::vector<const char*>& families,
                            bool japanese, std::initializer_list<FcChar32> mustCover);

}  // namespace platform
