// Finding sounds by name in the game's archives and reading them.
//
// Voices and effects: the Ogg voice archives 3, 2, 1 (when voices are on),
// then the effect archives 0, 1, 2 (when effects are on); an effect found in
// archive 2 is the looping effect. Music track t is "M%02d": the music
// archive (streamed, delta-coded) first, then the Ogg music archive. Names
// are compared in upper case.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/SoundCodec.h"
#include "resources/Archive.h"

namespace zk {

class TForm1;

enum class SoundKind {
  Voice,       // Ogg, played once in the voice slot
  Effect,      // ramp-coded, played once
  LoopEffect,  // ramp-coded, looping
};

struct SoundHit {
  SoundKind Kind = SoundKind::Voice;
  const ArchiveFamily* Family = nullptr;
  EntryRef Ref;
};

std::optional<SoundHit> FindSound(const Archives& archives, std::string_view name, bool voicesOn,
                                  bool effectsOn);
// Reads and decodes a hit; nothing when the archive cannot be read or the
// entry cannot be decoded.
std::optional<DecodedSound> LoadSound(const SoundHit& hit);

enum class MusicKind {
  Streamed,  // "WADY", delta-coded, from the music archive
  Ogg,       // decoded in full, from the Ogg music archive
};

struct MusicHit {
  MusicKind Kind = MusicKind::Streamed;
  const ArchiveFamily* Family = nullptr;
  EntryRef Ref;
};

std::string MusicName(int track);  // "M01", "M12"
std::optional<MusicHit> FindMusic(const Archives& archives, int track);
// The entry's bytes (for Streamed, to be played through WadyMusicStream).
bool ReadMusic(const MusicHit& hit, std::vector<uint8_t>& out);

// Whether the name is in the directory of the Ogg voice archives 1-3, the
// wave archives 1-5 or the effect archives 0-2. Reads no entry data.
bool VoiceExistsIn(const Archives& archives, std::string_view name);

}  // namespace zk
