#include "platform/sdl/FontMatch.h"

namespace platform {

FontFileMatch MatchFontFile(FcConfig* config, const std::vector<const char*>& families,
                            bool japanese, std::initializer_list<FcChar32> mustCover) {
  FontFileMatch result;
  if (!config) return result;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return result;
  for (const char* family : families)
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  if (japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult res = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &res);
  if (match) {
    FcChar8* file = nullptr;
    FcCharSet* chars = nullptr;
    bool covers = true;
    if (mustCover.size() > 0) {
      covers = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch && chars;
      for (FcChar32 c : mustCover) covers = covers && FcCharSetHasChar(chars, c);
    }
    if (covers && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
      result.Path = reinterpret_cast<const char*>(file);
      int index = 0;
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.Index = index;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return result;
}

}  // namespace platform
