// Per-game persisted settings: named integer and text values with defaults.
// Every write goes to the file at once, as the engine expects of its settings.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "base/Files.h"

namespace platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual int32_t ReadInt(const std::string& name, int32_t def) = 0;
  virtual std::string ReadText(const std::string& name, const std::string& def) = 0;
  virtual void WriteInt(const std::string& name, int32_t value) = 0;
  virtual void WriteText(const std::string& name, const std::string& value) = 0;
};

// An INI file with one section. The file is read once and kept until it
// changes on disk (another store may write it) or this store writes it; each
// write replaces it through zk::WriteFileAtomic, so a crash never leaves a
// half-written file. A missing or unreadable file reads as empty. A path that
// holds anything but a regular file (a folder, a FIFO) is refused: it reads
// as empty, is never waited on and never replaced. A file that cannot be read
// or written is reported once (zk::ReportFileProblem).
class IniSettingsStore : public SettingsStore {
 public:
  IniSettingsStore(std::string path, std::string section);
  int32_t ReadInt(const std::string& name, int32_t def) override;
  std::string ReadText(const std::string& name, const std::string& def) override;
  void WriteInt(const std::string& name, int32_t value) override;
  void WriteText(const std::string& name, const std::string& value) override;
  const std::string& Path() const { return path_; }

 private:
  // Brings the cached text up to date with the file. False when something
  // stands at the path that cannot be read, which must then not be replaced.
  bool Refresh();
  void Cache(std::string text);
  bool Lookup(const std::string& name, std::string& value);
  void Store(const std::string& name, const std::string& value);
  std::string path_;
  std::string section_;
  bool loaded_ = false;
  bool readable_ = true;
  zk::FileStamp stamp_;
  std::string text_;
  std::map<std::string, std::string> values_;  // of section_
};

// Reads all sections of an INI text: section -> name -> value.
std::map<std::string, std::map<std::string, std::string>> ParseIni(const std::string& text);

}  // namespace platform
