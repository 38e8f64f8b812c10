#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/Files.h"
#include "platform/SettingsStore.h"

namespace platform {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zk_settings_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    path_ = (dir_ / "maker" / "game.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Text() {
    std::string t;
    zk::ReadWholeFile(path_, t);
    return t;
  }
  void Write(const std::string& t) { ASSERT_TRUE(zk::WriteFileAtomic(path_, t.data(), t.size())); }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(SettingsStoreTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  IniSettingsStore s(path_, "Game");
  EXPECT_EQ(7, s.ReadInt("Delay", 7));
  EXPECT_EQ("ＭＳ 明朝", s.ReadText("FontName", "ＭＳ 明朝"));
  s.WriteInt("Delay", -3);
  s.WriteText("FontName", "IPA明朝\r\nx");
  EXPECT_EQ(-3, s.ReadInt("Delay", 7));
  EXPECT_EQ("IPA明朝x", s.ReadText("FontName", ""));  // line breaks cannot be stored
  EXPECT_EQ("[Game]\nDelay=-3\nFontName=IPA明朝x\n", Text());
}

TEST_F(SettingsStoreTest, WritesKeepOtherSectionsCommentsAndOrder) {
  Write("; settings\n[Other]\nDelay=1\n\n[Game]\nA=1\nB = 2\n[Tail]\nZ=9\n");
  IniSettingsStore s(path_, "Game");
  s.WriteInt("B", 5);  // replaced in place
  s.WriteInt("C", 6);  // appended at the end of its section
  EXPECT_EQ("; settings\n[Other]\nDelay=1\n\n[Game]\nA=1\nB=5\nC=6\n[Tail]\nZ=9\n", Text());
  EXPECT_EQ(1, IniSettingsStore(path_, "Other").ReadInt("Delay", 0));
  EXPECT_EQ(5, s.ReadInt("B", 0));
}

TEST_F(SettingsStoreTest, DuplicateNamesDoNotHideANewValue) {
  Write("[Game]\nVol1=10\nVol1=20\n");
  IniSettingsStore s(path_, "Game");
  s.WriteInt("Vol1", 30);
  EXPECT_EQ(30, s.ReadInt("Vol1", 0));
  EXPECT_EQ("[Game]\nVol1=30\n", Text());
}

TEST_F(SettingsStoreTest, MalformedNumbersReadAsTheDefault) {
  Write("[Game]\nA=12x\nB=\nC=99999999999\nD= -42 \n");
  IniSettingsStore s(path_, "Game");
  EXPECT_EQ(1, s.ReadInt("A", 1));
  EXPECT_EQ(2, s.ReadInt("B", 2));
  EXPECT_EQ(3, s.ReadInt("C", 3));
  EXPECT_EQ(-42, s.ReadInt("D", 4));
}

TEST_F(SettingsStoreTest, UnreadableFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  Write("[Game]\nA=1\nB=2\n");
  ASSERT_EQ(0, ::chmod(path_.c_str(), 0));
  IniSettingsStore s(path_, "Game");
  s.WriteInt("A", 5);
  ::chmod(path_.c_str(), 0644);
  EXPECT_EQ("[Game]\nA=1\nB=2\n", Text());
}

}  // namespace
}  // namespace platform
