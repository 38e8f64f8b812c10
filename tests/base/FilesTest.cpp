#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Files.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "zk-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Read(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text));
    return text;
  }
  // Every name in the folder, to see that no temporary file is left over.
  std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
  }
  fs::path dir_;
};

TEST_F(Files, AtomicWriteReplacesTheFileAndLeavesNothingElse) {
  const std::string path = Path("sub/folder/save.dat");  // missing folders are created
  ASSERT_TRUE(WriteFileAtomic(path, std::string_view("old content")));
  ASSERT_TRUE(WriteFileAtomic(path, std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_EQ(Read(path), "new");
  EXPECT_EQ(Names(dir_ / "sub/folder"), std::vector<std::string>{"save.dat"});
  ASSERT_TRUE(WriteFileAtomic(path, nullptr, 0));
  EXPECT_EQ(Read(path), "");
}

TEST_F(Files, FailedAtomicWriteKeepsTheOldFile) {
  // A folder that cannot be created: a file stands in its place.
  ASSERT_TRUE(WriteFileAtomic(Path("blocker"), std::string_view("x")));
  EXPECT_FALSE(WriteFileAtomic(Path("blocker/save.dat"), std::string_view("new")));
  EXPECT_EQ(Read(Path("blocker")), "x");

  // A write that fails part-way (the process may not grow files past 4 KiB).
  const std::string path = Path("save.dat");
  ASSERT_TRUE(WriteFileAtomic(path, std::string_view("old content")));
  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  auto* previous = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteFileAtomic(path, std::string(10000, 'z'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(Read(path), "old content");
  EXPECT_EQ(Names(dir_).size(), 2u);  // "blocker" and "save.dat"
}

TEST_F(Files, ReadsWholeFilesAndRanges) {
  const std::string path = Path("data.bin");
  ASSERT_TRUE(WriteFileAtomic(path, std::string_view("0123456789")));
  std::vector<uint8_t> bytes{1, 2, 3};
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");

  struct Case {
    uint64_t offset;
    size_t size;
    std::string expected;
  };
  for (const Case& c :
       {Case{2, 3, "234"}, Case{8, 5, "89"}, Case{10, 4, ""}, Case{50, 4, ""}, Case{0, 0, ""}}) {
    ASSERT_TRUE(ReadFileAt(path, c.offset, c.size, bytes)) << c.offset;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.expected) << c.offset;
  }

  // A missing file is a failure and leaves nothing behind in out.
  std::string text = "stale";
  EXPECT_FALSE(ReadWholeFile(Path("missing"), text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(ReadFileAt(Path("missing"), 0, 4, bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(Path("missing")));
  EXPECT_FALSE(FileExists(dir_.string()));  // a folder is not a file
}

}  // namespace
}  // namespace zk
