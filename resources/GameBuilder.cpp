#include "resources/GameBuilder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "base/Files.h"
#include "base/Sjis.h"
#include "base/Utf8.h"
#include "resources/Png.h"

namespace zk {

namespace fs = std::filesystem;

namespace {

// The code point of the UTF-8 character at text[at], for messages.
std::string DescribeChar(std::string_view text, size_t at) {
  if (at >= text.size()) return "end of text";
  char32_t cp;
  const size_t len = DecodeUtf8(text, at, cp);
  if (len == 0) return "invalid UTF-8";
  char buf[32];
  std::snprintf(buf, sizeof buf, "character U+%04X", static_cast<unsigned>(cp));
  return std::string(buf) + " (\"" + std::string(text.substr(at, len)) + "\")";
}

bool ToSjisName(std::string_view utf8, std::string& out, std::string& error) {
  size_t bad = 0;
  if (!Utf8ToSjis(utf8, out, &bad)) {
    error =
        "name \"" + std::string(utf8) + "\": " + DescribeChar(utf8, bad) + " has no Shift-JIS form";
    return false;
  }
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

bool ScriptToSjis(std::string_view text, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNo = 0;
  std::string sjis;
  while (!text.empty()) {
    ++lineNo;
    size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) {
      error = "line " + std::to_string(lineNo) + ": zero character in the text";
      return false;
    }
    size_t bad = 0;
    if (!Utf8ToSjis(line, sjis, &bad)) {
      error = "line " + std::to_string(lineNo) + ": " + DescribeChar(line, bad) +
              " has no Shift-JIS form";
      return false;
    }
    out.insert(out.end(), sjis.begin(), sjis.end());
    out.push_back(0);
  }
  return true;
}

bool GameBuilder::AddEntry(const std::string& archiveFile, IndexLayout layout,
                           std::string_view utf8Name, std::vector<uint8_t> data,
                           std::string& error) {
  std::string name;
  if (!ToSjisName(utf8Name, name, error)) return false;
  if (name.empty()) {
    error = "empty entry name";
    return false;
  }
  if (layout == IndexLayout::Fixed && name.size() >= static_cast<size_t>(kFixedNameWidth)) {
    error = "name \"" + std::string(utf8Name) + "\" is longer than " +
            std::to_string(kFixedNameWidth - 1) + " bytes";
    return false;
  }
  auto [it, fresh] = archives_.try_emplace(archiveFile);
  if (fresh) it->second.Layout = layout;
  const std::string upper = UpperSjis(name);
  for (const ArchiveEntry& e : it->second.Entries) {
    if (UpperSjis(e.Name) == upper) {
      error = "name \"" + std::string(utf8Name) + "\" is already in " + archiveFile;
      return false;
    }
  }
  it->second.Entries.push_back({std::move(name), std::move(data)});
  return true;
}

bool GameBuilder::AddScriptBytes(std::string_view name, std::span<const uint8_t> plain,
                                 std::string& error) {
  std::vector<uint8_t> data(plain.begin(), plain.end());
  NegateBytes(data);
  return AddEntry("zk_data.zlk", IndexLayout::Fixed, name, std::move(data), error);
}

bool GameBuilder::AddScript(std::string_view name, std::string_view utf8Text, std::string& error) {
  std::vector<uint8_t> plain;
  if (!ScriptToSjis(utf8Text, plain, error)) return false;
  return AddScriptBytes(name, plain, error);
}

bool GameBuilder::AddPicture(std::string_view name, const Bitmap& bmp, std::string& error,
                             uint8_t flags) {
  std::vector<uint8_t> data;
  if (!EncodePicture(bmp, flags, data)) {
    error = "picture \"" + std::string(name) + "\" is larger than 65535 pixels";
    return false;
  }
  return AddEntry("zk_gra.zlk", IndexLayout::General, name, std::move(data), error);
}

bool GameBuilder::AddJpeg(std::string_view name, std::span<const uint8_t> jpeg,
                          std::string& error) {
  return AddEntry("zk_gjp.zlk", IndexLayout::General, name,
                  std::vector<uint8_t>(jpeg.begin(), jpeg.end()), error);
}

bool GameBuilder::Build(std::map<std::string, std::vector<uint8_t>>& files,
                        std::string& error) const {
  files.clear();
  for (const auto& [file, pending] : archives_) {
    int width = 32;
    for (const ArchiveEntry& e : pending.Entries)
      width = std::max(width, static_cast<int>(e.Name.size()) + 1);
    std::vector<uint8_t> bytes;
    if (!WriteArchive(pending.Layout, pending.Entries, width, bytes, &error)) {
      error = file + ": " + error;
      return false;
    }
    files[file] = std::move(bytes);
  }
  return true;
}

bool GameBuilder::Write(const std::string& outDir, std::string& error, bool removeStale) const {
  std::map<std::string, std::vector<uint8_t>> files;
  if (!Build(files, error)) return false;
  std::error_code ec;
  fs::create_directories(outDir, ec);
  if (removeStale) {
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(outDir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.starts_with("zk_") && name.ends_with(".zlk") && !files.count(name) &&
          !it->is_directory(ec))
        stale.push_back(it->path());
    }
    for (const fs::path& p : stale) {
      if (!fs::remove(p, ec) || ec) {
        error = p.string() + ": cannot remove an archive of an earlier build";
        return false;
      }
    }
  }
  for (const auto& [file, bytes] : files) {
    const std::string path = (fs::path(outDir) / file).string();
    if (!WriteFileAtomic(path, bytes)) {
      error = path + ": cannot write";
      return false;
    }
  }
  return true;
}

bool AddGameSources(GameBuilder& builder, const std::string& srcDir, std::string& error) {
  std::error_code ec;
  if (!fs::is_directory(srcDir, ec)) {
    error = srcDir + ": not a folder";
    return false;
  }
  std::vector<fs::path> files;
  for (fs::recursive_directory_iterator it(srcDir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) files.push_back(it->path());
  if (ec) {
    error = srcDir + ": " + ec.message();
    return false;
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& path : files) {
    const std::string ext = Lower(path.extension().string());
    const std::string name = path.stem().string();
    const std::string where = path.string();
    std::vector<uint8_t> bytes;
    if (ext != ".s" && ext != ".png" && ext != ".jpg" && ext != ".jpeg") continue;
    if (!ReadWholeFile(where, bytes)) {
      error = where + ": cannot read";
      return false;
    }
    std::string problem;
    bool ok = true;
    if (ext == ".s") {
      std::vector<uint8_t> plain;
      std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (!ScriptToSjis(text, plain, problem)) {
        // "line N: ..." becomes "FILE:N: ..."
        if (problem.rfind("line ", 0) == 0) {
          error = where + ":" + problem.substr(5);
          return false;
        }
        ok = false;
      } else {
        ok = builder.AddScriptBytes(name, plain, problem);
      }
    } else if (ext == ".png") {
      Bitmap bmp;
      std::string why;
      if (!DecodePng(bytes.data(), bytes.size(), bmp, &why)) {
        problem = "not a usable PNG: " + why;
        ok = false;
      } else {
        ok = builder.AddPicture(name, bmp, problem);
      }
    } else {
      Bitmap check;
      std::string why;
      if (!DecodeJpeg(bytes, check, &why)) {
        problem = "not a usable JPEG: " + why;
        ok = false;
      } else {
        ok = builder.AddJpeg(name, bytes, problem);
      }
    }
    if (!ok) {
      error = where + ": " + problem;
      return false;
    }
  }
  return true;
}

bool BuildGame(const std::string& srcDir, const std::string& outDir, std::string& error) {
  GameBuilder builder;
  if (!AddGameSources(builder, srcDir, error)) return false;
  return builder.Write(outDir, error, true);
}

}  // namespace zk
