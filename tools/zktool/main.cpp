// zktool: builds and inspects game data.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/SoundCodec.h"
#include "audio/Wav.h"
#include "base/Files.h"
#include "base/Sjis.h"
#include "resources/Archive.h"
#include "resources/GameBuilder.h"
#include "resources/PictureCodec.h"
#include "resources/Png.h"

namespace {

using namespace zk;
namespace fs = std::filesystem;

int Fail(const std::string& message) {
  std::fprintf(stderr, "zktool: %s\n", message.c_str());
  return 1;
}

void PrintUsage(FILE* out);

int Usage(const std::string& message) {
  if (!message.empty()) std::fprintf(stderr, "zktool: %s\n", message.c_str());
  PrintUsage(stderr);
  return 2;
}

// Splits arguments into positionals and options; options listed in withValue
// take the next argument.
struct Args {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  bool Has(const std::string& o) const {
    for (auto& [k, v] : options)
      if (k == o) return true;
    return false;
  }
  std::string Value(const std::string& o) const {
    for (auto& [k, v] : options)
      if (k == o) return v;
    return {};
  }
};

bool ParseArgs(int argc, char** argv, int first, const std::vector<std::string>& flags,
               const std::vector<std::string>& withValue, Args& out, std::string& error) {
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      bool known = false;
      for (auto& f : flags)
        if (a == f) out.options.push_back({a, ""}), known = true;
      for (auto& f : withValue) {
        if (a != f) continue;
        if (i + 1 >= argc) {
          error = a + " needs a value";
          return false;
        }
        out.options.push_back({a, argv[++i]});
        known = true;
      }
      if (!known) {
        error = "unknown option " + a;
        return false;
      }
    } else {
      out.positional.push_back(a);
    }
  }
  return true;
}

IndexLayout LayoutFor(const std::string& path, const Args& args) {
  if (args.Has("--fixed")) return IndexLayout::Fixed;
  if (args.Has("--general")) return IndexLayout::General;
  std::string name = UpperSjis(fs::path(path).filename().string());
  return name.rfind("ZK_DATA", 0) == 0 ? IndexLayout::Fixed : IndexLayout::General;
}

bool ReadArchive(const std::string& path, IndexLayout layout, ArchiveFamily& family,
                 std::string& error) {
  family.SetVolumeCount(1);
  std::string why;
  if (!ReadIndexFile(path, layout, family.MutableVolume(0), &why)) {
    error = path + ": " + why;
    return false;
  }
  return true;
}

int List(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {"--fixed", "--general"}, {}, args, error)) return Usage(error);
  if (args.positional.size() != 1) return Usage("list takes one archive");
  const std::string& path = args.positional[0];
  ArchiveFamily family;
  if (!ReadArchive(path, LayoutFor(path, args), family, error)) return Fail(error);
  const ArchiveIndex& index = family.Volume(0);
  for (int i = 0; i < index.Count(); ++i)
    std::printf("%s\t%d\t%d\n", SjisToUtf8(index.Names[i]).c_str(), index.Offsets[i],
                index.Sizes[i]);
  return 0;
}

int Extract(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {"--fixed", "--general"}, {}, args, error)) return Usage(error);
  if (args.positional.size() != 3) return Usage("extract takes ARCHIVE NAME OUT");
  const std::string& path = args.positional[0];
  const IndexLayout layout = LayoutFor(path, args);
  ArchiveFamily family;
  if (!ReadArchive(path, layout, family, error)) return Fail(error);
  std::string name;
  if (!Utf8ToSjis(args.positional[1], name)) return Fail("name has no Shift-JIS form");
  auto ref = family.Find(name);
  if (!ref) return Fail(path + ": no entry named \"" + args.positional[1] + "\"");
  std::vector<uint8_t> bytes;
  if (!family.Read(*ref, bytes))
    return Fail(path + ": entry \"" + args.positional[1] + "\" lies outside the file");
  if (layout == IndexLayout::Fixed) NegateBytes(bytes);
  if (!WriteFileAtomic(args.positional[2], bytes))
    return Fail(args.positional[2] + ": cannot write");
  return 0;
}

int Pack(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {}, {"--name-width"}, args, error)) return Usage(error);
  if (args.positional.size() < 2) return Usage("pack takes fixed|general ARCHIVE FILE...");
  const std::string& kind = args.positional[0];
  if (kind != "fixed" && kind != "general") return Usage("pack: layout must be fixed or general");
  const IndexLayout layout = kind == "fixed" ? IndexLayout::Fixed : IndexLayout::General;
  int width = 32;
  if (args.Has("--name-width")) {
    if (layout == IndexLayout::Fixed) return Usage("--name-width applies to general archives");
    const std::string v = args.Value("--name-width");
    char* end = nullptr;
    const long w = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end || w < 1 || w > kMaxNameWidth)
      return Usage("--name-width must be 1-" + std::to_string(kMaxNameWidth));
    width = static_cast<int>(w);
  }
  std::vector<ArchiveEntry> entries;
  for (size_t i = 2; i < args.positional.size(); ++i) {
    const std::string& file = args.positional[i];
    ArchiveEntry e;
    if (!ReadWholeFile(file, e.Data)) return Fail(file + ": cannot read");
    const std::string stem = fs::path(file).stem().string();
    if (!Utf8ToSjis(stem, e.Name)) return Fail(file + ": name has no Shift-JIS form");
    for (const ArchiveEntry& other : entries)
      if (UpperSjis(other.Name) == UpperSjis(e.Name))
        return Fail(file + ": name \"" + stem + "\" is given twice");
    if (layout == IndexLayout::Fixed) NegateBytes(e.Data);
    entries.push_back(std::move(e));
  }
  std::vector<uint8_t> bytes;
  if (!WriteArchive(layout, entries, width, bytes, &error))
    return Fail(args.positional[1] + ": " + error);
  if (!WriteFileAtomic(args.positional[1], bytes))
    return Fail(args.positional[1] + ": cannot write");
  return 0;
}

int PicDecode(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {}, {}, args, error)) return Usage(error);
  if (args.positional.size() != 2) return Usage("pic-decode takes ENTRY OUT.png");
  const std::string& in = args.positional[0];
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(in, bytes)) return Fail(in + ": cannot read");
  Bitmap bmp;
  bool damaged = false;
  if (IsJpeg(bytes)) {
    std::string why;
    if (!DecodeJpeg(bytes, bmp, &why)) return Fail(in + ": not a usable JPEG: " + why);
  } else {
    PictureStatus st = DecodePicture(bytes, bmp);
    if (st == PictureStatus::Invalid) return Fail(in + ": not a picture entry (bad header)");
    damaged = st == PictureStatus::Damaged;
  }
  std::vector<uint8_t> png;
  if (bmp.Empty()) return Fail(in + ": the picture has no pixels");
  if (!EncodePng(bmp, png) || !WriteFileAtomic(args.positional[1], png))
    return Fail(args.positional[1] + ": cannot write");
  if (damaged) return Fail(in + ": data is damaged; wrote what could be decoded");
  return 0;
}

int PicEncode(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {"--rle", "--delta"}, {}, args, error)) return Usage(error);
  if (args.positional.size() != 2) return Usage("pic-encode takes IN.png OUT");
  const std::string& in = args.positional[0];
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(in, bytes)) return Fail(in + ": cannot read");
  Bitmap bmp;
  std::string why;
  if (!DecodePng(bytes.data(), bytes.size(), bmp, &why))
    return Fail(in + ": not a usable PNG: " + why);
  uint8_t flags = 0;
  if (args.Has("--rle")) flags |= kPicRunLength;
  if (args.Has("--delta")) flags |= kPicDelta;
  std::vector<uint8_t> out;
  if (!EncodePicture(bmp, flags, out)) return Fail(in + ": larger than 65535 pixels");
  if (!WriteFileAtomic(args.positional[1], out)) return Fail(args.positional[1] + ": cannot write");
  return 0;
}

int WadyEncode(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {"--ramp"}, {"--loop-start"}, args, error)) return Usage(error);
  if (args.positional.size() != 2) return Usage("wady-encode takes IN.wav OUT");
  const bool ramp = args.Has("--ramp");
  if (ramp && args.Has("--loop-start"))
    return Usage("--loop-start applies to delta-coded (music) entries, not --ramp");
  const std::string& in = args.positional[0];
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(in, bytes)) return Fail(in + ": cannot read");
  DecodedSound wav;
  if (!ReadWav(bytes, wav, &error)) return Fail(in + ": " + error);
  const WaveFormat& f = wav.Format;
  if (f.Channels != 1 && f.Channels != 2)
    return Fail(in + ": " + std::to_string(f.Channels) + " channels; only 1 or 2 can be coded");
  if (f.SamplesPerSec < kMinSoundRate || f.SamplesPerSec > kMaxSoundRate)
    return Fail(in + ": sample rate " + std::to_string(f.SamplesPerSec) + " Hz is out of range");
  if (wav.Samples.empty()) return Fail(in + ": holds no samples");
  uint32_t loopFrame = 0;
  if (args.Has("--loop-start")) {
    const std::string v = args.Value("--loop-start");
    char* end = nullptr;
    const double seconds = std::strtod(v.c_str(), &end);
    const double frame = std::floor(seconds * f.SamplesPerSec + 0.5);
    if (v.empty() || *end || !(seconds >= 0) || frame >= static_cast<double>(wav.Frames()))
      return Usage("--loop-start must be a number of seconds inside the sound");
    loopFrame = static_cast<uint32_t>(frame);
  }
  std::vector<uint8_t> out;
  const bool ok = ramp ? EncodeWadyRamp(wav.Samples, f.Channels, f.SamplesPerSec, out)
                       : EncodeWadyDelta(wav.Samples, f.Channels, f.SamplesPerSec, loopFrame, out);
  if (!ok) return Fail(in + ": too long to code");
  if (!WriteFileAtomic(args.positional[1], out)) return Fail(args.positional[1] + ": cannot write");
  return 0;
}

// The entry does not say its coding: delta-coded entries hold one byte per
// sample, so their data size is frames x channels.
int WadyDecode(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {}, {}, args, error)) return Usage(error);
  if (args.positional.size() != 2) return Usage("wady-decode takes ENTRY OUT.wav");
  const std::string& in = args.positional[0];
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(in, bytes)) return Fail(in + ": cannot read");
  WadyHeader h;
  if (!ParseWadyHeader(bytes, h)) return Fail(in + ": not a WADY entry");
  const bool delta = static_cast<uint64_t>(h.FrameCount) * h.Channels == h.DataSize;
  const std::optional<DecodedSound> sound = delta ? LoadWadyOneShot(bytes) : LoadWadyEffect(bytes);
  if (!sound) return Fail(in + ": damaged " + (delta ? "delta" : "ramp") + "-coded entry");
  std::vector<uint8_t> wav;
  WriteWav(*sound, wav);
  if (!WriteFileAtomic(args.positional[1], wav)) return Fail(args.positional[1] + ": cannot write");
  std::printf("%s coding, %u channel(s), %u Hz, %zu frames", delta ? "delta" : "ramp",
              sound->Format.Channels, sound->Format.SamplesPerSec, sound->Frames());
  if (delta && h.Channels) std::printf(", loop at frame %u", h.LoopStart / h.Channels);
  std::printf("\n");
  return 0;
}

int BuildGameCommand(int argc, char** argv) {
  Args args;
  std::string error;
  if (!ParseArgs(argc, argv, 2, {}, {}, args, error)) return Usage(error);
  if (args.positional.size() != 2) return Usage("build-game takes SRC_DIR OUT_DIR");
  if (!BuildGame(args.positional[0], args.positional[1], error)) return Fail(error);
  return 0;
}

// The subcommands: the help text and the dispatch both read this table.
struct Subcommand {
  const char* Name;
  const char* Usage;    // the arguments, as the help text shows them
  const char* Summary;  // what the subcommand does
  int (*Handler)(int argc, char** argv);
};

const Subcommand kSubcommands[] = {
    {"list", "ARCHIVE [--fixed|--general]", "entries: name, offset, size", List},
    {"extract", "ARCHIVE NAME OUT [--fixed|--general]", "an entry's bytes (scripts restored)",
     Extract},
    {"pack", "fixed|general ARCHIVE [--name-width W] FILE...",
     "an archive of files named by their stems", Pack},
    {"pic-decode", "ENTRY OUT.png", "a picture entry (compressed or JPEG) to PNG", PicDecode},
    {"pic-encode", "IN.png OUT [--rle] [--delta]", "a PNG to a compressed picture entry",
     PicEncode},
    {"wady-encode", "IN.wav OUT [--ramp] [--loop-start SECONDS]",
     "a 16-bit WAV to a WADY entry (delta coding; --ramp for effects)", WadyEncode},
    {"wady-decode", "ENTRY OUT.wav", "a WADY entry (either coding) to a 16-bit WAV", WadyDecode},
    {"build-game", "SRC_DIR OUT_DIR", "a game's archives from its sources", BuildGameCommand},
};

// One line per subcommand, the summaries in one column; a usage too long for
// the column puts its summary on the next line.
void PrintUsage(FILE* out) {
  constexpr size_t kSummaryColumn = 44;
  std::fputs("usage: zktool COMMAND ...\n", out);
  for (const Subcommand& c : kSubcommands) {
    std::string line = std::string("  ") + c.Name + " " + c.Usage;
    if (line.size() < kSummaryColumn) {
      line.resize(kSummaryColumn, ' ');
    } else {
      line += "\n" + std::string(kSummaryColumn, ' ');
    }
    std::fprintf(out, "%s%s\n", line.c_str(), c.Summary);
  }
  std::fputs(
      "The layout of an archive is taken from its name (zk_data*.zlk: fixed) unless given.\n", out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("");
  const std::string cmd = argv[1];
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    PrintUsage(stdout);
    return 0;
  }
  for (const Subcommand& c : kSubcommands)
    if (cmd == c.Name) return c.Handler(argc, argv);
  return Usage("unknown command " + cmd);
}
