// Finding sounds by name in the game's archives and reading them.
#include "audio/SoundLookup.h"

#include <cstdio>

#include "audio/Audio.h"
#include "core/TForm1.h"

namespace zk {

std::optional<SoundHit> FindSound(const Archives& archives, std::string_view name, bool voicesOn,
                                  bool effectsOn) {
  if (voicesOn) {
    const ArchiveFamily& oggs = archives.Oggs();
    for (int v = oggs.VolumeCount() - 1; v >= 0; --v) {
      const int i = oggs.Volume(v).Find(name);
      if (i >= 0)
        return SoundHit{SoundKind::Voice, &oggs,
                        EntryRef{v, oggs.Volume(v).Offsets[i], oggs.Volume(v).Sizes[i]}};
    }
  }
  if (effectsOn) {
    const ArchiveFamily& se = archives.SoundEffects();
    if (auto ref = se.Find(name))
      return SoundHit{ref->Volume == 2 ? SoundKind::LoopEffect : SoundKind::Effect, &se, *ref};
  }
  return std::nullopt;
}

std::optional<DecodedSound> LoadSound(const SoundHit& hit) {
  std::vector<uint8_t> bytes;
  if (!hit.Family || !hit.Family->Read(hit.Ref, bytes)) return std::nullopt;
  if (hit.Kind == SoundKind::Voice) return DecodeOggMemory(bytes);
  return LoadWadyEffect(bytes);
}

std::string MusicName(int track) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "M%02d", track);
  return buf;
}

std::optional<MusicHit> FindMusic(const Archives& archives, int track) {
  const std::string name = MusicName(track);
  if (auto ref = archives.Music().Find(name))
    return MusicHit{MusicKind::Streamed, &archives.Music(), *ref};
  if (auto ref = archives.OggMusic().Find(name))
    return MusicHit{MusicKind::Ogg, &archives.OggMusic(), *ref};
  return std::nullopt;
}

bool ReadMusic(const MusicHit& hit, std::vector<uint8_t>& out) {
  out.clear();
  return hit.Family && hit.Family->Read(hit.Ref, out);
}

bool VoiceExistsIn(const Archives& archives, std::string_view name) {
  return archives.Oggs().Contains(name) || archives.Waves().Contains(name) ||
         archives.SoundEffects().Contains(name);
}

bool VoiceExists(TForm1& f, std::string_view name) {
  return VoiceExistsIn(f.Game.Arc, name);
}

}  // namespace zk
