// Helpers for tests that run the real programs.
#pragma once
#include <cstdlib>
#include <string>
#include <vector>

namespace zk::test {

// The build folder with zelkor and zktool (set by CTest).
inline std::string BinaryDir() {
  const char* d = std::getenv("ZK_BINARY_DIR");
  return d ? d : ".";
}

// Runs a command line through the shell; returns its exit code (or -1).
int RunCommand(const std::string& command, std::string* output = nullptr);

// A fresh empty folder under the test temp folder, removed by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

bool ReadText(const std::string& path, std::string& out);
void WriteText(const std::string& path, const std::string& text);

}  // namespace zk::test
