#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
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

// The pid of a process that has ended.
pid_t EndedPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST_F(Files, AtomicWritesFollowTheRulesForWhatIsAtThePath) {
  const std::string dead = ".tmp" + std::to_string(EndedPid());
  const std::string alive = ".tmp" + std::to_string(::getppid());
  struct Case {
    const char* situation;
    std::function<void()> setup;
    bool written;
    std::function<void()> check;
  };
  const std::string file = Path("settings.ini");
  const Case cases[] = {
      {"a new file in missing folders", [] {}, true,
       [&] { EXPECT_EQ(Read(Path("a/b/new.ini")), "new"); }},
      {"a private file stays private",
       [&] {
         ASSERT_TRUE(WriteFileAtomic(file, std::string_view("old")));
         ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
       },
       true, [&] { EXPECT_EQ(ModeOf(file), 0600u); }},
      {"a symbolic link is written through to its target",
       [&] {
         fs::create_directories(dir_ / "real");
         ASSERT_TRUE(WriteFileAtomic(Path("real/target.ini"), std::string_view("old")));
         fs::create_symlink("real/target.ini", file);
       },
       true,
       [&] {
         EXPECT_TRUE(fs::is_symlink(file));
         EXPECT_EQ(Read(Path("real/target.ini")), "new");
       }},
      {"a folder in its place is refused", [&] { fs::create_directories(file); }, false,
       [&] { EXPECT_TRUE(fs::is_directory(file)); }},
      {"a FIFO in its place is refused", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, false,
       [&] { EXPECT_TRUE(fs::is_fifo(file)); }},
      {"temporaries of ended writers are removed, a running one's kept",
       [&] {
         ASSERT_TRUE(WriteFileAtomic(file + dead, std::string_view("half")));
         ASSERT_TRUE(WriteFileAtomic(file + alive, std::string_view("busy")));
         ASSERT_TRUE(WriteFileAtomic(file + ".tmp12x", std::string_view("other")));
       },
       true,
       [&] {
         EXPECT_FALSE(fs::exists(file + dead));
         EXPECT_TRUE(fs::exists(file + alive));
         EXPECT_TRUE(fs::exists(file + ".tmp12x"));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.situation);
    TearDown();
    fs::create_directories(dir_);
    c.setup();
    const std::string path =
        std::string(c.situation).starts_with("a new") ? Path("a/b/new.ini") : file;
    std::string error;
    EXPECT_EQ(WriteFileAtomic(path, std::string_view("new"), &error), c.written);
    EXPECT_EQ(error.empty(), c.written) << error;
    if (!c.written) {
      EXPECT_NE(error.find(path), std::string::npos) << error;
    } else if (!fs::is_symlink(path)) {
      EXPECT_EQ(Read(path), "new");
    }
    c.check();
    // No temporary of this write is left beside the file.
    EXPECT_FALSE(fs::exists(fs::path(path).string() + ".tmp" + std::to_string(::getpid())));
  }
}

TEST_F(Files, RegularFileReadsNeverBlockAndSayWhatWasFound) {
  ASSERT_TRUE(WriteFileAtomic(Path("ok.ini"), std::string_view("text")));
  fs::create_directories(dir_ / "folder");
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  struct Case {
    std::string path;
    ReadStatus status;
    std::string text;
  };
  for (const Case& c : {Case{Path("ok.ini"), ReadStatus::Ok, "text"},
                        Case{Path("missing"), ReadStatus::Missing, ""},
                        Case{Path("ok.ini/below"), ReadStatus::Missing, ""},
                        Case{Path("folder"), ReadStatus::NotRegular, ""},
                        Case{Path("fifo"), ReadStatus::NotRegular, ""}}) {
    std::string text = "stale", error;
    EXPECT_EQ(ReadRegularFile(c.path, text, &error), c.status) << c.path;
    EXPECT_EQ(text, c.text) << c.path;
    EXPECT_EQ(error.empty(), c.status == ReadStatus::Ok || c.status == ReadStatus::Missing)
        << c.path << ": " << error;
  }
  // A rewrite is seen in the stamp even at the same size.
  const FileStamp before = StampOf(Path("ok.ini"));
  ASSERT_TRUE(WriteFileAtomic(Path("ok.ini"), std::string_view("next")));
  EXPECT_TRUE(before.exists);
  EXPECT_NE(StampOf(Path("ok.ini")), before);
  EXPECT_FALSE(StampOf(Path("missing")).exists);
}

}  // namespace
}  // namespace zk
