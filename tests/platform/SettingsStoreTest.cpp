#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

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

TEST_F(SettingsStoreTest, WhatCannotBeKeptIsRefusedAndReportedOnce) {
  namespace fs = std::filesystem;
  struct Case {
    const char* situation;
    std::function<void()> setup;  // with path_ not yet made
  };
  const Case cases[] = {
      {"the file is a folder", [&] { fs::create_directories(path_); }},
      {"the file is a FIFO",
       [&] {
         fs::create_directories(fs::path(path_).parent_path());
         ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
       }},
      {"the settings folder is a file",
       [&] {
         fs::create_directories(dir_);
         Write("");
         fs::remove(path_);
         fs::remove(fs::path(path_).parent_path());
         ASSERT_TRUE(
             zk::WriteFileAtomic(fs::path(path_).parent_path().string(), std::string_view("x")));
       }},
  };
  std::vector<std::string> notices;
  zk::SetFileProblemSink([&](const std::string& m) { notices.push_back(m); });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.situation);
    notices.clear();
    fs::remove_all(dir_);
    path_ = (dir_ / c.situation / "maker" / "game.ini").string();
    c.setup();
    const fs::file_type before = fs::symlink_status(path_).type();
    ::testing::internal::CaptureStderr();
    {
      IniSettingsStore s(path_, "Game");
      EXPECT_EQ(7, s.ReadInt("Delay", 7));  // never waits on a FIFO
      s.WriteInt("Delay", 1);
      s.WriteText("FontName", "x");
      EXPECT_EQ(7, s.ReadInt("Delay", 7));  // nothing was kept, and nothing pretends it was
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(fs::symlink_status(path_).type(), before);  // left as it was
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(path_), std::string::npos) << notices[0];
    EXPECT_NE(err.find(notices[0]), std::string::npos) << err;
    EXPECT_EQ(err.find(notices[0]), err.rfind(notices[0])) << err;
  }
  zk::SetFileProblemSink(nullptr);
}

TEST_F(SettingsStoreTest, TheFileIsReadOnceUntilItChanges) {
  Write("[Game]\nA=1\n");
  IniSettingsStore s(path_, "Game");
  EXPECT_EQ(1, s.ReadInt("A", 0));
  // Changed in place with its size and time kept: the store does not read it again.
  struct stat st;
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  {
    FILE* f = std::fopen(path_.c_str(), "r+");
    ASSERT_NE(f, nullptr);
    std::fputs("[Game]\nA=2\n", f);
    std::fclose(f);
  }
  const timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  EXPECT_EQ(1, s.ReadInt("A", 0));

  // Another store's write is seen, and kept by this store's next write.
  IniSettingsStore other(path_, "DBG");
  other.WriteInt("On", 1);
  EXPECT_EQ(2, s.ReadInt("A", 0));
  s.WriteInt("B", 3);
  EXPECT_EQ("[Game]\nA=2\nB=3\n[DBG]\nOn=1\n", Text());
  EXPECT_EQ(1, other.ReadInt("On", 0));
}

TEST_F(SettingsStoreTest, StaleTemporariesAreRemovedAtTheFirstRead) {
  Write("[Game]\nA=1\n");
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  int status = 0;
  ::waitpid(ended, &status, 0);
  const std::string leftover = path_ + ".tmp" + std::to_string(ended);
  ASSERT_TRUE(zk::WriteFileAtomic(leftover, std::string_view("[Game]\nA=")));
  IniSettingsStore s(path_, "Game");
  EXPECT_EQ(1, s.ReadInt("A", 0));
  EXPECT_FALSE(std::filesystem::exists(leftover));
}

}  // namespace
}  // namespace platform
