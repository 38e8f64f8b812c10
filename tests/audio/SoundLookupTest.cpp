#include <gtest/gtest.h>

#include "SoundFixtures.h"
#include "audio/SoundLookup.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {

using test::Bytes;
using test::TempDir;

class SoundLookup : public ::testing::Test {
 protected:
  void Archive(const std::string& file, const std::vector<ArchiveEntry>& entries) {
    test::WriteArchiveFile(dir_ / file, IndexLayout::General, entries);
  }
  void Open() {
    arc_.OpenScripts(dir_.Path());
    arc_.OpenOthers("NULL", ArchiveGates{});
  }
  TempDir dir_;
  Archives arc_;
};

TEST_F(SoundLookup, VoicesThenEffectsInArchiveOrder) {
  Archive("zk_ogg1.zlk", {{"V1", Bytes("1")}, {"BOTH", Bytes("1")}});
  Archive("zk_ogg3.zlk", {{"BOTH", Bytes("3")}});
  Archive("zk_se0.zlk", {{"SE", Bytes("0")}});
  Archive("zk_se1.zlk", {{"SE", Bytes("1")}, {"V1", Bytes("fx")}});
  Archive("zk_se2.zlk", {{"LOOP", Bytes("2")}});
  Archive("zk_wav4.zlk", {{"WAVEONLY", Bytes("w")}});
  Open();
  struct Case {
    const char* name;
    bool voices, effects;
    std::optional<SoundKind> kind;
    int volume;
  };
  const Case cases[] = {
      {"both", true, true, SoundKind::Voice, 2},  // voice archive 3 before 1
      {"v1", true, true, SoundKind::Voice, 0},    // lower case finds upper case
      {"v1", false, true, SoundKind::Effect, 1},  // voices off: the effect of the same name
      {"SE", true, true, SoundKind::Effect, 0},   // effect archive 0 before 1
      {"Loop", true, true, SoundKind::LoopEffect, 2}, {"SE", true, false, std::nullopt, 0},
      {"WAVEONLY", true, true, std::nullopt, 0},  // wave archives are never played
      {"NOWHERE", true, true, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto hit = FindSound(arc_, c.name, c.voices, c.effects);
    ASSERT_EQ(hit.has_value(), c.kind.has_value());
    if (!hit) continue;
    EXPECT_EQ(hit->Kind, *c.kind);
    EXPECT_EQ(hit->Ref.Volume, c.volume);
  }
  EXPECT_TRUE(VoiceExistsIn(arc_, "waveonly"));
  EXPECT_TRUE(VoiceExistsIn(arc_, "loop"));
  EXPECT_TRUE(VoiceExistsIn(arc_, "both"));
  EXPECT_FALSE(VoiceExistsIn(arc_, "nowhere"));
}

TEST_F(SoundLookup, LoadsWhatItFinds) {
  std::vector<uint8_t> effect;
  ASSERT_TRUE(EncodeWadyRamp(test::Signal(1, 500, 22050), 1, 22050, effect));
  const std::vector<uint8_t> voice = test::EncodeOgg(test::Signal(1, 3000, 22050), 1, 22050);
  Archive("zk_ogg2.zlk", {{"VOICE", voice}, {"BROKEN", Bytes("OggS garbage")}});
  Archive("zk_se1.zlk", {{"BANG", effect}, {"NOTWADY", Bytes("RIFF....WAVEfmt ")}});
  Open();
  const auto v = LoadSound(*FindSound(arc_, "voice", true, true));
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Frames(), 3000u);
  const auto e = LoadSound(*FindSound(arc_, "bang", true, true));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Frames(), 500u);
  EXPECT_FALSE(LoadSound(*FindSound(arc_, "broken", true, true)));
  EXPECT_FALSE(LoadSound(*FindSound(arc_, "notwady", true, true)));
  // The archive went away after start-up: no sound.
  const SoundHit bang = *FindSound(arc_, "bang", true, true);
  std::filesystem::remove(dir_ / "zk_se1.zlk");
  EXPECT_FALSE(LoadSound(bang));
}

TEST_F(SoundLookup, MusicPrefersTheStreamedArchive) {
  std::vector<uint8_t> track;
  ASSERT_TRUE(EncodeWadyDelta(test::Signal(2, 1000, 44100), 2, 44100, 10, track));
  Archive("zk_bgm.zlk", {{"M01", track}});
  Archive("zk_ogm.zlk", {{"M01", Bytes("o")}, {"M12", Bytes("o")}});
  Open();
  EXPECT_EQ(MusicName(1), "M01");
  EXPECT_EQ(MusicName(12), "M12");
  const auto m1 = FindMusic(arc_, 1);
  ASSERT_TRUE(m1);
  EXPECT_EQ(m1->Kind, MusicKind::Streamed);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadMusic(*m1, bytes));
  WadyMusicStream stream;
  EXPECT_TRUE(stream.Open(bytes));
  const auto m12 = FindMusic(arc_, 12);
  ASSERT_TRUE(m12);
  EXPECT_EQ(m12->Kind, MusicKind::Ogg);
  EXPECT_FALSE(FindMusic(arc_, 2));
}

}  // namespace
}  // namespace zk
