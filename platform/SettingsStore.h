// Per-game persisted settings: named integer and text values with defaults.
// Every write goes to the file at once, as the engine expects of its settings.
#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual int32_t ReadInt(const std::string& name, int32_t def) = 0;
  virtual std::string ReadText(const std::string& name, const std::string& def) = 0;
  virtual void WriteInt(const std::string& name, int32_t value) = 0;
  virtual void WriteText(const std::string& name, const std::string& value) = 0;
};

// An INI file with one section; each access re-reads the file and each write
// replaces it through a temporary file and a rename, so a crash never leaves a
// half-written file. A missing or unreadable file reads as empty.
class IniSettingsStore : public SettingsStore {
 public:
  IniSettingsStore(std::string path, std::string section);
  int32_t ReadInt(const std::string& name, int32_t def) override;
  std::string ReadText(const std::string& name, const std::string& def) override;
  void WriteInt(const std::string& name, int32_t value) override;
  void WriteText(const std::string& name, const std::string& value) override;
  const std::string& Path() const { return path_; }

 private:
  bool Lookup(const std::string& name, std::string& value);
  void Store(const std::string& name, const std::string& value);
  std::string path_;
  std::string section_;
};

// Reads all sections of an INI text: section -> name -> value.
std::map<std::string, std::map<std::string, std::string>> ParseIni(const std::string& text);

}  // namespace platform
