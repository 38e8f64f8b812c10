#include "platform/SettingsStore.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace platform {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

}  // namespace

std::map<std::string, std::map<std::string, std::string>> ParseIni(const std::string& text) {
  std::map<std::string, std::map<std::string, std::string>> out;
  std::istringstream in(text);
  std::string line, section;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Trim(line.substr(1, line.size() - 2));
      out[section];
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    out[section][Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
  }
  return out;
}

IniSettingsStore::IniSettingsStore(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

bool IniSettingsStore::Refresh() {
  const zk::FileStamp now = zk::StampOf(path_);
  if (loaded_ && now == stamp_) return readable_;
  // The first read is at start-up: writes of an earlier run that were cut
  // short may have left their temporary files beside this one.
  if (!loaded_) zk::RemoveStaleTemporaries(path_);
  loaded_ = true;
  stamp_ = now;
  std::string text, error;
  const zk::ReadStatus status = zk::ReadRegularFile(path_, text, &error);
  readable_ = status == zk::ReadStatus::Ok || status == zk::ReadStatus::Missing;
  if (!readable_) zk::ReportFileProblem(path_, "Settings are not read or kept: " + error);
  Cache(std::move(text));
  return readable_;
}

void IniSettingsStore::Cache(std::string text) {
  text_ = std::move(text);
  auto all = ParseIni(text_);
  auto s = all.find(section_);
  values_ = s == all.end() ? std::map<std::string, std::string>{} : std::move(s->second);
}

bool IniSettingsStore::Lookup(const std::string& name, std::string& value) {
  Refresh();
  auto v = values_.find(name);
  if (v == values_.end()) return false;
  value = v->second;
  return true;
}

int32_t IniSettingsStore::ReadInt(const std::string& name, int32_t def) {
  std::string v;
  if (!Lookup(name, v)) return def;
  errno = 0;
  char* end = nullptr;
  long long n = std::strtoll(v.c_str(), &end, 10);
  if (end == v.c_str() || *end != '\0' || errno != 0 || n < INT32_MIN || n > INT32_MAX) return def;
  return static_cast<int32_t>(n);
}

std::string IniSettingsStore::ReadText(const std::string& name, const std::string& def) {
  std::string v;
  return Lookup(name, v) ? v : def;
}

void IniSettingsStore::Store(const std::string& name, const std::string& value) {
  // Rewrite the file keeping every other line as it stands. A file that
  // exists but cannot be read is left alone rather than replaced by one
  // that holds only this value.
  if (!Refresh()) return;
  std::istringstream in(text_);
  std::ostringstream out;
  std::string line, section;
  bool sectionSeen = false, written = false;
  auto emit = [&] {
    out << name << '=' << value << '\n';
    written = true;
  };
  while (std::getline(in, line)) {
    std::string t = Trim(line);
    if (!t.empty() && t.front() == '[' && t.back() == ']') {
      if (section == section_ && !written) emit();
      section = Trim(t.substr(1, t.size() - 2));
      if (section == section_) sectionSeen = true;
    } else if (section == section_) {
      size_t eq = t.find('=');
      if (eq != std::string::npos && Trim(t.substr(0, eq)) == name) {
        // The first line of the name takes the value; later duplicates,
        // which a reader would prefer, are dropped.
        if (!written) emit();
        continue;
      }
    }
    out << line << '\n';
  }
  if (!written) {
    if (!sectionSeen) out << '[' << section_ << "]\n";
    emit();
  }
  std::string s = out.str(), error;
  if (!zk::WriteFileAtomic(path_, s, &error)) {
    zk::ReportFileProblem(path_, "Settings are not kept: " + error);
    loaded_ = false;  // read again: the file on disk is what holds
    return;
  }
  Cache(std::move(s));
  stamp_ = zk::StampOf(path_);
}

void IniSettingsStore::WriteInt(const std::string& name, int32_t value) {
  Store(name, std::to_string(value));
}

void IniSettingsStore::WriteText(const std::string& name, const std::string& value) {
  // One line per value: line breaks cannot be stored and are dropped.
  std::string v;
  for (char c : value)
    if (c != '\n' && c != '\r') v += c;
  Store(name, v);
}

}  // namespace platform
