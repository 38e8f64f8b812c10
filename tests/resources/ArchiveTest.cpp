#include "resources/Archive.h"

#include <gtest/gtest.h>

#include <random>

#include "base/Sjis.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {

using test::Bytes;
using test::ScriptEntry;
using test::TempDir;
using test::WriteArchiveFile;

std::vector<uint8_t> Le32(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

TEST(ArchiveIndex, ParsesGeneralLayoutWithWidth32ByHand) {
  // count 2, W = 32: records of 40 bytes at 8 and 48; data from 88.
  std::vector<uint8_t> file;
  Append(file, Le32(2));
  Append(file, Le32(32));
  std::vector<uint8_t> rec(40, 0);
  std::memcpy(rec.data(), "bg01", 4);
  std::memcpy(rec.data() + 32, Le32(88).data(), 4);
  std::memcpy(rec.data() + 36, Le32(3).data(), 4);
  Append(file, rec);
  std::fill(rec.begin(), rec.end(), 0);
  std::memcpy(rec.data(), "Sys_Tw", 6);
  std::memcpy(rec.data() + 32, Le32(91).data(), 4);
  std::memcpy(rec.data() + 36, Le32(1).data(), 4);
  Append(file, rec);
  Append(file, Bytes("abcd"));

  ArchiveIndex index;
  std::string error;
  ASSERT_TRUE(ParseIndex(IndexLayout::General, file, file.size(), index, &error)) << error;
  EXPECT_EQ(index.NameWidth, 32);
  ASSERT_EQ(index.Count(), 2);
  EXPECT_EQ(index.Names[0], "BG01");
  EXPECT_EQ(index.Names[1], "SYS_TW");
  EXPECT_EQ(index.Offsets[1], 91);
  EXPECT_EQ(index.Sizes[1], 1);
  EXPECT_EQ(index.Find("sys_tw"), 1);
}

TEST(ArchiveIndex, WriterAndParserAgreeForBothLayouts) {
  const std::vector<ArchiveEntry> entries = {{"main", Bytes("xyz")}, {"_config", Bytes("")},
                                             {"Op01", Bytes("0123456789")}};
  for (IndexLayout layout : {IndexLayout::Fixed, IndexLayout::General}) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteArchive(layout, entries, 20, bytes));
    ArchiveIndex index;
    ASSERT_TRUE(ParseIndex(layout, bytes, bytes.size(), index));
    ASSERT_EQ(index.Count(), 3);
    EXPECT_EQ(index.NameWidth, layout == IndexLayout::Fixed ? 16 : 20);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(index.Names[i], UpperSjis(entries[i].Name));
      const auto& d = entries[i].Data;
      ASSERT_EQ(index.Sizes[i], static_cast<int32_t>(d.size()));
      EXPECT_TRUE(std::equal(d.begin(), d.end(), bytes.begin() + index.Offsets[i]));
    }
  }
}

TEST(ArchiveIndex, LookupIgnoresCaseAndTheFirstRecordWins) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(WriteArchive(IndexLayout::General,
                           {{"Main", Bytes("first")}, {"MAIN", Bytes("second")}}, 16, bytes));
  ArchiveIndex index;
  ASSERT_TRUE(ParseIndex(IndexLayout::General, bytes, bytes.size(), index));
  for (const char* name : {"main", "MAIN", "Main", "mAIN"}) EXPECT_EQ(index.Find(name), 0);
  EXPECT_EQ(index.Find("mai"), -1);
  EXPECT_EQ(index.Find("main2"), -1);
}

TEST(ArchiveIndex, UpperCasingLeavesDoubleByteCharactersAlone) {
  // "ぁ" is 0x82 0x9F, "ア" 0x83 0x41, "ゃ" 0x82 0xE1; a second byte in the a-z
  // range ("ヂ" 0x83 0x61) must not be changed.
  const std::string name = "\x83\x61x";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(WriteArchive(IndexLayout::General, {{name, Bytes("1")}}, 16, bytes));
  ArchiveIndex index;
  ASSERT_TRUE(ParseIndex(IndexLayout::General, bytes, bytes.size(), index));
  EXPECT_EQ(index.Names[0], "\x83\x61X");
  EXPECT_EQ(index.Find("\x83\x61x"), 0);
  EXPECT_EQ(index.Find("\x83\x41X"), -1);
}

TEST(ArchiveIndex, CountZeroOpensEmpty) {
  for (IndexLayout layout : {IndexLayout::Fixed, IndexLayout::General}) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteArchive(layout, {}, 32, bytes));
    ArchiveIndex index;
    EXPECT_TRUE(ParseIndex(layout, bytes, bytes.size(), index));
    EXPECT_TRUE(index.Empty());
  }
}

TEST(ArchiveIndex, RejectsCorruptHeaders) {
  struct Case {
    const char* what;
    IndexLayout layout;
    std::vector<uint8_t> bytes;
  };
  auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (auto& p : parts) Append(out, p);
    return out;
  };
  const std::vector<Case> cases = {
      {"empty file", IndexLayout::Fixed, {}},
      {"short count", IndexLayout::Fixed, {1, 0}},
      {"short width", IndexLayout::General, join({Le32(0), {32, 0}})},
      {"negative count", IndexLayout::Fixed, join({Le32(-1), std::vector<uint8_t>(24)})},
      {"more records than the file holds", IndexLayout::Fixed,
       join({Le32(2), std::vector<uint8_t>(24 + 23)})},
      {"huge count", IndexLayout::General, join({Le32(0x7FFFFFFF), Le32(32)})},
      {"width zero", IndexLayout::General, join({Le32(1), Le32(0), std::vector<uint8_t>(8)})},
      {"negative width", IndexLayout::General, join({Le32(1), Le32(-8), std::vector<uint8_t>(8)})},
      {"width overflowing the record size", IndexLayout::General,
       join({Le32(1), Le32(0x7FFFFFFF)})},
  };
  for (const Case& c : cases) {
    ArchiveIndex index;
    std::string error;
    EXPECT_FALSE(ParseIndex(c.layout, c.bytes, c.bytes.size(), index, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_TRUE(index.Empty()) << c.what;
  }
}

TEST(ArchiveIndex, NameFillingItsWholeFieldIsCutAtTheField) {
  std::vector<uint8_t> file;
  Append(file, Le32(1));
  Append(file, Le32(4));
  Append(file, Bytes("ABCD"));  // no terminating zero
  Append(file, Le32(16));
  Append(file, Le32(0));
  ArchiveIndex index;
  ASSERT_TRUE(ParseIndex(IndexLayout::General, file, file.size(), index));
  EXPECT_EQ(index.Names[0], "ABCD");
  // The writer refuses names that leave no room for the zero.
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_FALSE(WriteArchive(IndexLayout::General, {{"ABCD", {}}}, 4, out, &error));
  EXPECT_FALSE(WriteArchive(IndexLayout::Fixed, {{"sixteen_letters_", {}}}, 0, out, &error));
  EXPECT_NE(error.find("sixteen_letters_"), std::string::npos);
}

TEST(ArchiveIndex, TruncatedAndRandomBytesNeverReadOutside) {
  std::vector<uint8_t> good;
  ASSERT_TRUE(WriteArchive(IndexLayout::General,
                           {{"a", Bytes("1")}, {"b", Bytes("22")}, {"c", Bytes("333")}}, 12, good));
  const size_t indexEnd = 8 + 3 * 20;
  for (size_t n = 0; n < good.size(); ++n) {
    // Each prefix holds the bytes of a file of n bytes.
    std::vector<uint8_t> cut(good.begin(), good.begin() + n);
    ArchiveIndex index;
    EXPECT_EQ(ParseIndex(IndexLayout::General, cut, cut.size(), index), n >= indexEnd) << n;
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes(rng() % 96);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    // Small counts and widths now and then, so that some parses succeed.
    if (bytes.size() >= 8 && round % 2) {
      bytes[0] = static_cast<uint8_t>(rng() % 4), bytes[1] = bytes[2] = bytes[3] = 0;
      bytes[4] = static_cast<uint8_t>(1 + rng() % 16), bytes[5] = bytes[6] = bytes[7] = 0;
    }
    for (IndexLayout layout : {IndexLayout::Fixed, IndexLayout::General}) {
      ArchiveIndex index;
      if (ParseIndex(layout, bytes, bytes.size(), index)) {
        const size_t record = static_cast<size_t>(index.NameWidth) + 8;
        EXPECT_LE(IndexHeaderSize(layout) + record * index.Count(), bytes.size());
      }
    }
  }
}

TEST(ArchiveIndex, NegationRestoresScriptBytes) {
  std::vector<uint8_t> stored = {0x00, 0x9F, 0x01};
  NegateBytes(stored);
  EXPECT_EQ(stored, (std::vector<uint8_t>{0x00, 0x61, 0xFF}));
}

// ---------------------------------------------------------------- game folders

TEST(Archives, ScriptReadsPreferThePatchArchiveAndRestoreBytes) {
  TempDir dir;
  WriteArchiveFile(dir / "zk_data2.zlk", IndexLayout::Fixed, {ScriptEntry("MAIN", "new main")});
  // Stored bytes 00 9F 01 read back as 00 61 FF.
  const std::vector<uint8_t> data = {0x00, 0x9F, 0x01};
  WriteArchiveFile(dir / "zk_data.zlk", IndexLayout::Fixed,
                   {ScriptEntry("main", "old main"), ScriptEntry("Other", "other"),
                    ArchiveEntry{"bytes", data}});

  Archives arc;
  ASSERT_TRUE(arc.Open(dir.Path(), "NULL"));
  std::vector<uint8_t> out;
  ASSERT_TRUE(arc.ReadScript("Main", out));
  EXPECT_EQ(out, Bytes("new main"));
  ASSERT_TRUE(arc.ReadScript("other", out));
  EXPECT_EQ(out, Bytes("other"));
  ASSERT_TRUE(arc.ReadScript("BYTES", out));
  EXPECT_EQ(out, (std::vector<uint8_t>{0x00, 0x61, 0xFF}));
  EXPECT_FALSE(arc.ReadScript("missing", out));
  EXPECT_TRUE(out.empty());
}

TEST(Archives, MissingMainArchiveIsReportedAndLeavesEverythingEmpty) {
  TempDir dir;
  Archives arc;
  EXPECT_FALSE(arc.Open(dir.Path(), "NULL"));
  std::vector<uint8_t> out;
  EXPECT_FALSE(arc.ReadScript("main", out));
  EXPECT_EQ(arc.Pictures().VolumeCount(), 3);
  EXPECT_FALSE(arc.Pictures().Find("x"));
}

TEST(Archives, EachFamilyOpensItsVolumesByTheirNumbering) {
  TempDir dir;
  WriteArchiveFile(dir / "zk_data.zlk", IndexLayout::Fixed, {ScriptEntry("main", "")});
  const std::vector<std::pair<std::string, const ArchiveFamily& (Archives::*)() const>> files = {
      {"zk_gra.zlk", &Archives::Pictures},  {"zk_gra2.zlk", &Archives::Pictures},
      {"zk_gra3.zlk", &Archives::Pictures}, {"zk_gjp.zlk", &Archives::Jpegs},
      {"zk_wav1.zlk", &Archives::Waves},    {"zk_wav5.zlk", &Archives::Waves},
      {"zk_se0.zlk", &Archives::SoundEffects}, {"zk_se2.zlk", &Archives::SoundEffects},
      {"zk_ogg1.zlk", &Archives::Oggs},     {"zk_ogg3.zlk", &Archives::Oggs},
      {"zk_bgm.zlk", &Archives::Music},     {"zk_ogm.zlk", &Archives::OggMusic},
      {"zk_anim.zlk", &Archives::Animations}, {"zk_anim2.zlk", &Archives::Animations2},
  };
  for (size_t i = 0; i < files.size(); ++i)
    WriteArchiveFile(dir / files[i].first, IndexLayout::General,
                     {{"E" + std::to_string(i), Bytes(files[i].first)}});
  Archives arc;
  ASSERT_TRUE(arc.Open(dir.Path(), "NULL"));
  EXPECT_TRUE(arc.Problems().empty());
  for (size_t i = 0; i < files.size(); ++i) {
    const ArchiveFamily& family = (arc.*files[i].second)();
    auto ref = family.Find("e" + std::to_string(i));
    ASSERT_TRUE(ref) << files[i].first;
    EXPECT_EQ(family.Volume(ref->Volume).FileName, dir / files[i].first);
    std::vector<uint8_t> out;
    ASSERT_TRUE(family.Read(*ref, out));
    EXPECT_EQ(out, Bytes(files[i].first));
  }
  // Volume positions follow the numbering: "zk_wav5" is the fifth wave
  // volume, "zk_se0" the first effect volume, "zk_gra3" the third picture one.
  EXPECT_EQ(arc.Waves().Find("E5")->Volume, 4);
  EXPECT_EQ(arc.SoundEffects().Find("E6")->Volume, 0);
  EXPECT_EQ(arc.Pictures().Find("E2")->Volume, 2);
}

TEST(Archives, FallbackFolderServesOnlyTheGatedVolumes) {
  TempDir game, cd;
  WriteArchiveFile(game / "zk_data.zlk", IndexLayout::Fixed,
                   {ScriptEntry("_config", std::string("ZKD_GRA:2\0ZKD_SE:0\0", 20))});
  // Volume 1 in the fallback folder only: taken (1 < 2). Volume 2 there only:
  // not taken (2 < 2 fails). An effect volume there: not gated, not taken.
  WriteArchiveFile(cd / "zk_gra2.zlk", IndexLayout::General, {{"from_cd", Bytes("cd")}});
  WriteArchiveFile(cd / "zk_gra3.zlk", IndexLayout::General, {{"third", Bytes("3")}});
  WriteArchiveFile(cd / "zk_se0.zlk", IndexLayout::General, {{"se", Bytes("se")}});
  // A volume present in the game folder is read from there.
  WriteArchiveFile(game / "zk_gra.zlk", IndexLayout::General, {{"local", Bytes("here")}});
  WriteArchiveFile(cd / "zk_gra.zlk", IndexLayout::General, {{"elsewhere", Bytes("cd")}});
  // The music archive's gate always holds.
  WriteArchiveFile(cd / "zk_bgm.zlk", IndexLayout::General, {{"M01", Bytes("m")}});

  Archives arc;
  ASSERT_TRUE(arc.Open(game.Path(), cd.Path() + "/"));
  EXPECT_EQ(arc.Pictures().Volume(1).FileName, cd / "zk_gra2.zlk");
  EXPECT_TRUE(arc.Pictures().Find("from_cd"));
  EXPECT_FALSE(arc.Pictures().Find("third"));
  EXPECT_TRUE(arc.Pictures().Volume(2).FileName.empty());
  EXPECT_TRUE(arc.Pictures().Find("local"));
  EXPECT_FALSE(arc.Pictures().Find("elsewhere"));
  EXPECT_FALSE(arc.SoundEffects().Find("se"));
  EXPECT_TRUE(arc.Music().Find("m01"));

  // With the default "NULL" nothing comes from elsewhere.
  Archives plain;
  plain.Open(game.Path(), "NULL");
  EXPECT_FALSE(plain.Pictures().Find("from_cd"));
}

TEST(Archives, EntriesOutsideTheFileFailToReadAndCorruptIndexesOpenEmpty) {
  TempDir dir;
  // A record pointing past the end, one with a negative offset, one fine.
  std::vector<uint8_t> file;
  Append(file, Le32(3));
  Append(file, Le32(8));
  auto record = [&](const char* name, int32_t offset, int32_t size) {
    std::vector<uint8_t> r(16, 0);
    std::memcpy(r.data(), name, std::strlen(name));
    std::memcpy(r.data() + 8, Le32(offset).data(), 4);
    std::memcpy(r.data() + 12, Le32(size).data(), 4);
    Append(file, r);
  };
  record("PAST", 56, 100);
  record("NEG", -4, 2);
  record("OK", 56, 4);
  Append(file, Bytes("data"));
  ASSERT_TRUE(WriteFileAtomic(dir / "zk_gjp.zlk", file));
  // A picture archive whose index claims more records than it holds.
  std::vector<uint8_t> bad;
  Append(bad, Le32(1000));
  Append(bad, Le32(32));
  ASSERT_TRUE(WriteFileAtomic(dir / "zk_gra.zlk", bad));

  Archives arc;
  arc.Open(dir.Path(), "NULL");
  std::vector<uint8_t> out;
  EXPECT_FALSE(arc.Jpegs().Read(*arc.Jpegs().Find("past"), out));
  EXPECT_FALSE(arc.Jpegs().Read(*arc.Jpegs().Find("neg"), out));
  ASSERT_TRUE(arc.Jpegs().Read(*arc.Jpegs().Find("ok"), out));
  EXPECT_EQ(out, Bytes("data"));
  EXPECT_TRUE(arc.Pictures().Volume(0).Empty());
  ASSERT_EQ(arc.Problems().size(), 1u);
  EXPECT_NE(arc.Problems()[0].find("zk_gra.zlk"), std::string::npos);
}

TEST(Archives, ReadsSeeTheFileAsItIsNow) {
  TempDir dir;
  WriteArchiveFile(dir / "zk_data.zlk", IndexLayout::Fixed, {ScriptEntry("main", "abc")});
  Archives arc;
  ASSERT_TRUE(arc.Open(dir.Path(), "NULL"));
  std::filesystem::remove(dir / "zk_data.zlk");
  std::vector<uint8_t> out;
  EXPECT_FALSE(arc.ReadScript("main", out));
}

}  // namespace
}  // namespace zk
