// A main window on the headless platform with a script loaded straight into
// the script buffer, for tests of the interpreter.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "HeadlessForm.h"
#include "base/Sjis.h"
#include "core/TForm1.h"
#include "platform/headless/Headless.h"
#include "resources/Archive.h"
#include "script/Script.h"

namespace zk::test {

// UTF-8 lines separated by '\n' as a script: Shift-JIS, each line ended by NUL.
inline std::vector<uint8_t> ScriptBytes(std::string_view utf8) {
  std::vector<uint8_t> out;
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t end = utf8.find('\n', start);
    if (end == std::string_view::npos) end = utf8.size();
    std::string line;
    EXPECT_TRUE(Utf8ToSjis(utf8.substr(start, end - start), line))
        << utf8.substr(start, end - start);
    out.insert(out.end(), line.begin(), line.end());
    out.push_back(0);
    start = end + 1;
  }
  return out;
}

// A fresh folder removed again at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zk-script-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

struct ScriptTest : HeadlessForm {
  ScratchDir dir;
  InterpreterState& in = form.State.Interp;

  void SetUp() override {
    clock.SetSink(&form);
    s.Wait.CharDelay = 0;  // whole lines per step unless a test says otherwise
    form.Game.Def.MOJI_MAX_X = 40;
    form.Game.Def.MOJI_MAX2_X = 40;
  }

  // The archives of a game made of these scripts (UTF-8 text), opened as the
  // game's archives: zk_data.zlk, and zk_data2.zlk when patch is not empty.
  void UseScripts(const std::vector<std::pair<std::string, std::string>>& scripts,
                  const std::vector<std::pair<std::string, std::string>>& patch = {}) {
    const auto write = [&](const std::string& file,
                           const std::vector<std::pair<std::string, std::string>>& list) {
      std::vector<ArchiveEntry> entries;
      for (const auto& [name, text] : list) {
        ArchiveEntry e{name, ScriptBytes(text)};
        NegateBytes(e.Data);
        entries.push_back(std::move(e));
      }
      std::vector<uint8_t> bytes;
      std::string error;
      ASSERT_TRUE(WriteArchive(IndexLayout::Fixed, entries, 0, bytes, &error)) << error;
      ASSERT_TRUE(WriteFileAtomic(dir.Path() + "/" + file, bytes));
    };
    write("zk_data.zlk", scripts);
    if (!patch.empty()) write("zk_data2.zlk", patch);
    form.Game.Arc.OpenScripts(dir.Path());
  }

  // Makes the text the running script, from its first line.
  void Load(std::string_view utf8) {
    const std::vector<uint8_t> bytes = ScriptBytes(utf8);
    ASSERT_LE(bytes.size(), kScriptBufferSize);
    std::copy(bytes.begin(), bytes.end(), in.ScriptBuffer);
    in.ScriptSize = static_cast<int32_t>(bytes.size());
    in.ScriptPos = 0;
    in.NeedLine = true;
    in.ScriptRunning = true;
    s.Shell.ScriptEnded = false;
  }

  void Step() { InterpreterStep(form); }

  // Steps, releasing every wait as a click or the timer would, until the
  // script has ended (at most limit steps).
  int RunToEnd(int limit = 1000) {
    int steps = 0;
    while (!ScriptFinished(form) && steps < limit) {
      s.Wait.WaitTicks = 0;
      s.Wait.ClickWait = ClickWait::None;
      s.Wait.SleepFrames = 0;
      Step();
      ++steps;
    }
    return steps;
  }

  std::string PageRow(int row) const {
    std::string r(in.Page[row], kPageCols);
    while (!r.empty() && r.back() == '\0') r.pop_back();
    for (char& c : r)
      if (c == '\0') c = ' ';
    return SjisToUtf8(r);
  }

  std::vector<std::string> Backlog() const {
    std::vector<std::string> lines;
    for (int i = 0; i < in.BacklogCount; ++i) {
      const char* p = in.BacklogText + i * kBacklogLineSize;
      lines.push_back(SjisToUtf8(std::string(p, strnlen(p, kBacklogLineSize))));
    }
    return lines;
  }

  // The line that starts at the current script position (for flow tests).
  std::string NextLine() const {
    if (in.ScriptPos >= in.ScriptSize) return "<end>";
    const char* p = reinterpret_cast<const char*>(in.ScriptBuffer) + in.ScriptPos;
    return SjisToUtf8(std::string(p, strnlen(p, in.ScriptSize - in.ScriptPos)));
  }

  int32_t& V(int n) { return s.Vars.V(n); }
  int32_t& S(int n) { return s.Vars.S(n); }
};

}  // namespace zk::test
