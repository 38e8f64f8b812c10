// Script files and control flow: loading into the script buffers, labels,
// block searches, calls and returns, and the developer script folder list.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

class TForm1;
struct InterpreterState;

// Where a block search reports "not found": past the end of any script.
constexpr int32_t kNotFound = 16777215;

enum LoadTarget : int { kLoadScript = 1, kLoadSide = 2 };

// Loads a script by name (upper-cased; the patch archive first). Target 1
// replaces the running script and starts it at offset 0; target 2 fills the
// side buffer. A script that is missing (or too large for the buffer)
// empties the target and returns false.
bool LoadScript(TForm1& f, std::string_view name, int target);

// The reset done whenever a script is started anew.
void ScriptStartReset(TForm1& f);

// The offset of the line after the first ":NAME" (the ":" anywhere in a line,
// NAME compared whole without case to the end of that line), or -1.
int32_t FindLabel(const InterpreterState& in, std::string_view name);
// Continues at the label; a missing label changes nothing.
bool Go(TForm1& f, std::string_view label);

// The offset of the line after the line at offset (ScriptSize at most).
int32_t LineAfter(const InterpreterState& in, int32_t offset);
// The first line at or after start that begins with c, or kNotFound.
int32_t NextBlockLine(const InterpreterState& in, int32_t start, char c);
// The first "}:NAME" (NAME up to the line end, without case), or kNotFound.
int32_t NamedBlockEnd(const InterpreterState& in, int32_t start, std::string_view name);
// The first "{:" followed by NAME as a prefix (without case), or kNotFound.
int32_t NamedBlockStart(const InterpreterState& in, int32_t start, std::string_view name);

// Pops the call stack and resumes the caller after its `call` line.
void ReturnFromCall(TForm1& f);

// The script editor's folder list: every "*.s" file below a folder.
struct ScriptFolderList {
  std::vector<std::string> Names;  // file names without ".s"
  std::vector<std::string> Paths;
  std::vector<std::string> Lines;  // the editor's text lines
};
// Adds every file below folder (subfolders included) whose extension is
// ".s" in any case. An empty folder name scans nothing.
void ScanScriptFolder(const std::string& folder, ScriptFolderList& list);
// Builds the list from the folder setting. While no "_config" script is among
// the names, asks chooseFolder for another folder (empty: cancelled), stores
// it through storeFolder and scans it too.
void RebuildScriptFolderList(std::string folder, ScriptFolderList& list,
                             const std::function<std::string()>& chooseFolder,
                             const std::function<void(const std::string&)>& storeFolder);

}  // namespace zk
