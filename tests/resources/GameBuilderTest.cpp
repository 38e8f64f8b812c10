#include <gtest/gtest.h>

#include "base/Files.h"
#include "base/Sjis.h"
#include "resources/GameBuilder.h"
#include "resources/Png.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {

using test::TempDir;

std::string AsText(const std::vector<uint8_t>& v) {
  return std::string(v.begin(), v.end());
}

TEST(ScriptToSjis, OneZeroTerminatedLinePerTextLine) {
  struct Case {
    std::string_view text;
    std::string plain;
  };
  const Case cases[] = {
      {"a\nb\n", std::string("a\0b\0", 4)},
      {"a\r\nb", std::string("a\0b\0", 4)},            // CR LF, no final line break
      {"\xEF\xBB\xBFx\n\n", std::string("x\0\0", 3)},  // BOM dropped, empty line kept
      {"", ""},
      {"あ\n", Sjis("あ") + std::string(1, '\0')},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(ScriptToSjis(c.text, out, error)) << error;
    EXPECT_EQ(AsText(out), c.plain) << c.text;
  }
  // A character without a Shift-JIS form, invalid UTF-8, a zero character.
  const std::pair<std::string_view, const char*> bad[] = {
      {"ok\nbad 😀 here\n", "line 2: character U+1F600"},
      {"ok\nok\n\xFF\n", "line 3: invalid UTF-8"},
      {std::string_view("a\0b", 3), "line 1: zero character"},
  };
  for (auto [text, expected] : bad) {
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(ScriptToSjis(text, out, error));
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
  }
}

TEST(GameBuilder, BuildsArchivesTheEngineReads) {
  GameBuilder b;
  std::string error;
  ASSERT_TRUE(b.AddScript("main", "テキスト\n@gra abc\n", error)) << error;
  ASSERT_TRUE(b.AddScript("_config", "TITLE:t\n", error)) << error;
  const Bitmap flat = test::FlatLike(40, 30);
  ASSERT_TRUE(b.AddPicture("bg01", flat, error)) << error;
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(test::PhotoLike(16, 16), 90, jpeg));
  ASSERT_TRUE(b.AddJpeg("photo", jpeg, error)) << error;
  ASSERT_TRUE(b.AddEntry("zk_se0.zlk", IndexLayout::General, "SSE01", {1, 2, 3}, error));

  EXPECT_FALSE(b.AddScript("MAIN", "x", error));  // names ignore case
  EXPECT_NE(error.find("already"), std::string::npos);
  EXPECT_FALSE(b.AddScript("sixteen_letters_", "x", error));
  EXPECT_FALSE(b.AddScript("😀", "x", error));

  TempDir dir;
  ASSERT_TRUE(b.Write(dir.Path(), error)) << error;
  Archives arc;
  ASSERT_TRUE(arc.Open(dir.Path(), "NULL"));
  std::vector<uint8_t> script;
  ASSERT_TRUE(arc.ReadScript("MAIN", script));
  EXPECT_EQ(AsText(script), Sjis("テキスト") + std::string("\0@gra abc\0", 10));
  Bitmap pic;
  ASSERT_TRUE(LoadPicture(arc, "bg01", pic));
  EXPECT_TRUE(test::SamePixels(pic, flat));
  ASSERT_TRUE(LoadPicture(arc, "photo", pic));
  EXPECT_EQ(pic.Width, 16);
  std::vector<uint8_t> se;
  ASSERT_TRUE(arc.SoundEffects().Read(*arc.SoundEffects().Find("sse01"), se));
  EXPECT_EQ(se, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(GameBuilder, SourceFolderErrorsNameTheFile) {
  TempDir src, out;
  std::filesystem::create_directories(src / "scripts");
  auto write = [](const std::string& path, std::string_view text) {
    ASSERT_TRUE(WriteFileAtomic(path, text.data(), text.size()));
  };
  write(src / "scripts/main.s", "line one\n");
  write(src / "notes.txt", "ignored");
  Bitmap b;
  b.Resize(3, 2);
  b.Fill(1, 2, 3);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(b, png));
  ASSERT_TRUE(WriteFileAtomic(src / "sys_tw.png", png));
  std::string error;
  ASSERT_TRUE(BuildGame(src.Path(), out.Path(), error)) << error;
  Archives arc;
  ASSERT_TRUE(arc.Open(out.Path(), "NULL"));
  EXPECT_TRUE(arc.ScriptExists("main"));
  Bitmap back;
  ASSERT_TRUE(LoadPicture(arc, "SYS_TW", back));
  EXPECT_TRUE(test::SamePixels(back, b));

  write(src / "scripts/bad.s", "fine\nnot fine: ♥\n");
  EXPECT_FALSE(BuildGame(src.Path(), out.Path(), error));
  EXPECT_EQ(error.rfind(src / "scripts/bad.s:2:", 0), 0u) << error;
  std::filesystem::remove(src / "scripts/bad.s");

  write(src / "broken.png", "not a png");
  EXPECT_FALSE(BuildGame(src.Path(), out.Path(), error));
  EXPECT_NE(error.find("broken.png"), std::string::npos) << error;
  std::filesystem::remove(src / "broken.png");

  write(src / "other/main.s", "again\n");
  EXPECT_FALSE(BuildGame(src.Path(), out.Path(), error));
  EXPECT_NE(error.find("already"), std::string::npos) << error;

  EXPECT_FALSE(BuildGame(src / "missing", out.Path(), error));
}

TEST(GameBuilder, ARebuildLeavesNoArchiveOfTheEarlierBuild) {
  test::TempDir src, out;
  std::filesystem::create_directories(src / "scripts");
  ASSERT_TRUE(WriteFileAtomic(src / "scripts/main.s", std::string_view("line\n")));
  Bitmap b;
  b.Resize(2, 2);
  b.Fill(9, 8, 7);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(b, png));
  ASSERT_TRUE(WriteFileAtomic(src / "bg.png", png));
  // An earlier build had the picture as a JPEG: its archive would shadow the
  // new one.
  ASSERT_TRUE(WriteFileAtomic(out / "zk_gjp.zlk", std::string_view("earlier")));
  ASSERT_TRUE(WriteFileAtomic(out / "notes.txt", std::string_view("the author's")));
  std::string error;
  ASSERT_TRUE(BuildGame(src.Path(), out.Path(), error)) << error;
  EXPECT_FALSE(std::filesystem::exists(out / "zk_gjp.zlk"));
  EXPECT_TRUE(std::filesystem::exists(out / "zk_gra.zlk"));
  EXPECT_TRUE(std::filesystem::exists(out / "zk_data.zlk"));
  EXPECT_TRUE(std::filesystem::exists(out / "notes.txt"));  // not an archive: kept
}

}  // namespace
}  // namespace zk
