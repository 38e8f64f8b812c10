// Runs the real zktool program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>

#include "audio/SoundCodec.h"
#include "audio/Wav.h"
#include "base/Files.h"
#include "base/Sjis.h"
#include "resources/Archive.h"
#include "resources/Picture.h"
#include "resources/Png.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {

using test::TempDir;

struct Result {
  int code = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class Zktool : public ::testing::Test {
 protected:
  Result Run(const std::vector<std::string>& args) {
    const char* dir = std::getenv("ZK_BINARY_DIR");
    std::string cmd = Quote(std::string(dir ? dir : ".") + "/zktool");
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote(tmp_ / "out.txt") + " 2>" + Quote(tmp_ / "err.txt");
    Result r;
    const int status = std::system(cmd.c_str());
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ReadWholeFile(tmp_ / "out.txt", r.out);
    ReadWholeFile(tmp_ / "err.txt", r.err);
    return r;
  }
  void Write(const std::string& path, std::string_view text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(WriteFileAtomic(path, text.data(), text.size()));
  }
  void WritePng(const std::string& path, const Bitmap& b) {
    std::vector<uint8_t> png;
    ASSERT_TRUE(EncodePng(b, png));
    ASSERT_TRUE(WriteFileAtomic(path, png));
  }
  Bitmap ReadPng(const std::string& path) {
    std::vector<uint8_t> bytes;
    Bitmap b;
    EXPECT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_TRUE(DecodePng(bytes.data(), bytes.size(), b));
    return b;
  }
  TempDir tmp_;
};

TEST_F(Zktool, BuildGameMakesArchivesTheEngineLoads) {
  const std::string src = tmp_ / "src", out = tmp_ / "game";
  Write(src + "/_config.s", "TITLE:テスト\r\nGAME_ID:t\r\n");
  Write(src + "/scenes/main.s", "こんにちは\n@gra bg01\n");
  const Bitmap flat = test::FlatLike(50, 20);
  WritePng(src + "/pictures/bg01.png", flat);
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(test::PhotoLike(8, 8), 90, jpeg));
  ASSERT_TRUE(WriteFileAtomic(src + "/pictures/ev01.jpg", jpeg));

  Result r = Run({"build-game", src, out});
  ASSERT_EQ(r.code, 0) << r.err;
  Archives arc;
  ASSERT_TRUE(arc.Open(out, "NULL"));
  std::vector<uint8_t> text;
  ASSERT_TRUE(arc.ReadScript("main", text));
  EXPECT_EQ(std::string(text.begin(), text.end()),
            Sjis("こんにちは") + std::string("\0@gra bg01\0", 11));
  ASSERT_TRUE(arc.ReadScript("_config", text));
  EXPECT_EQ(std::string(text.begin(), text.end()), Sjis("TITLE:テスト") + std::string("\0GAME_ID:t\0", 11));
  Bitmap pic;
  ASSERT_TRUE(LoadPicture(arc, "BG01", pic));
  EXPECT_TRUE(test::SamePixels(pic, flat));
  EXPECT_TRUE(LoadPicture(arc, "ev01", pic));

  // list shows the entries; extract restores script bytes.
  r = Run({"list", out + "/zk_data.zlk"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("MAIN\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("_CONFIG\t"), std::string::npos) << r.out;
  r = Run({"extract", out + "/zk_data.zlk", "main", tmp_ / "main.txt"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::string extracted;
  ReadWholeFile(tmp_ / "main.txt", extracted);
  EXPECT_EQ(extracted, Sjis("こんにちは") + std::string("\0@gra bg01\0", 11));

  // The picture entry decodes to the source pixels.
  r = Run({"extract", out + "/zk_gra.zlk", "bg01", tmp_ / "bg01.bin"});
  ASSERT_EQ(r.code, 0) << r.err;
  r = Run({"pic-decode", tmp_ / "bg01.bin", tmp_ / "bg01.png"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(test::SamePixels(ReadPng(tmp_ / "bg01.png"), flat));
}

TEST_F(Zktool, PictureRoundTripInEveryMode) {
  const Bitmap pictures[] = {test::PhotoLike(37, 23), test::FlatLike(64, 40)};
  const std::vector<std::vector<std::string>> modes = {{}, {"--rle"}, {"--delta"}, {"--rle", "--delta"}};
  const uint8_t flags[] = {0x00, 0x40, 0x80, 0xC0};
  for (const Bitmap& b : pictures) {
    WritePng(tmp_ / "in.png", b);
    for (size_t m = 0; m < modes.size(); ++m) {
      std::vector<std::string> args = {"pic-encode", tmp_ / "in.png", tmp_ / "pic.bin"};
      args.insert(args.end(), modes[m].begin(), modes[m].end());
      Result r = Run(args);
      ASSERT_EQ(r.code, 0) << r.err;
      std::vector<uint8_t> entry;
      ASSERT_TRUE(ReadWholeFile(tmp_ / "pic.bin", entry));
      ASSERT_GT(entry.size(), 16u);
      EXPECT_EQ(entry[2], flags[m]);
      r = Run({"pic-decode", tmp_ / "pic.bin", tmp_ / "out.png"});
      ASSERT_EQ(r.code, 0) << r.err;
      EXPECT_TRUE(test::SamePixels(ReadPng(tmp_ / "out.png"), b)) << m;
    }
  }
}

TEST_F(Zktool, PackListExtract) {
  Write(tmp_ / "files/alpha.bin", "AAAA");
  Write(tmp_ / "files/Beta.dat", std::string("\x00\x9F\x01", 3));
  // General layout with W = 32: records of 40 bytes, data from 8 + 2 * 40.
  Result r = Run({"pack", "general", tmp_ / "g.zlk", "--name-width", "32", tmp_ / "files/alpha.bin",
                  tmp_ / "files/Beta.dat"});
  ASSERT_EQ(r.code, 0) << r.err;
  r = Run({"list", tmp_ / "g.zlk"});
  EXPECT_EQ(r.out, "ALPHA\t88\t4\nBETA\t92\t3\n");
  r = Run({"extract", tmp_ / "g.zlk", "beta", tmp_ / "beta.out"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::string back;
  ReadWholeFile(tmp_ / "beta.out", back);
  EXPECT_EQ(back, std::string("\x00\x9F\x01", 3));

  // Fixed layout: stored negated, extracted restored.
  r = Run({"pack", "fixed", tmp_ / "zk_data.zlk", tmp_ / "files/Beta.dat"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<uint8_t> raw;
  ASSERT_TRUE(ReadWholeFile(tmp_ / "zk_data.zlk", raw));
  EXPECT_EQ(std::vector<uint8_t>(raw.end() - 3, raw.end()), (std::vector<uint8_t>{0x00, 0x61, 0xFF}));
  r = Run({"extract", tmp_ / "zk_data.zlk", "BETA", tmp_ / "beta2.out"});
  ASSERT_EQ(r.code, 0) << r.err;
  ReadWholeFile(tmp_ / "beta2.out", back);
  EXPECT_EQ(back, std::string("\x00\x9F\x01", 3));
}

TEST_F(Zktool, ErrorsNameTheProblemAndFail) {
  Write(tmp_ / "src/main.s", "ok\n©®\n");  // both have Shift-JIS forms
  Write(tmp_ / "src/bad.s", "ok\n\nこれは♪ですが✓はない\n");
  Write(tmp_ / "long/a_name_far_too_long.txt", "x");
  Write(tmp_ / "notpng.png", "nope");
  Write(tmp_ / "junk.zlk", std::string("\xFF\xFF\xFF\x7F\x20\x00\x00\x00", 8));
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"build-game", tmp_ / "src", tmp_ / "out"}, 1, tmp_ / "src/bad.s:3:"},
      {{"pack", "fixed", tmp_ / "x.zlk", tmp_ / "long/a_name_far_too_long.txt"}, 1, "does not fit"},
      {{"pic-encode", tmp_ / "notpng.png", tmp_ / "x.bin"}, 1, "notpng.png"},
      {{"pic-decode", tmp_ / "notpng.png", tmp_ / "x.png"}, 1, "notpng.png"},
      {{"list", tmp_ / "junk.zlk"}, 1, "junk.zlk"},
      {{"list", tmp_ / "missing.zlk"}, 1, "missing.zlk"},
      {{"extract", tmp_ / "junk.zlk", "a", tmp_ / "a"}, 1, "junk.zlk"},
      {{"pack", "sideways", tmp_ / "x.zlk"}, 2, "fixed or general"},
      {{"pack", "general", tmp_ / "x.zlk", "--name-width", "0", tmp_ / "notpng.png"}, 2, "--name-width"},
      {{"frobnicate"}, 2, "unknown command"},
      {{}, 2, "usage"},
  };
  for (const Case& c : cases) {
    Result r = Run(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

// A tone of frames frames, interleaved.
DecodedSound Tone(int channels, uint32_t rate, size_t frames) {
  DecodedSound s;
  s.Format = WaveFormat::Pcm16(static_cast<uint16_t>(channels), rate);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      s.Samples.push_back(static_cast<int16_t>(9000 * std::sin(0.05 * (c + 1) * i)));
  return s;
}

TEST_F(Zktool, WadyRoundTripInBothCodings) {
  struct Case {
    std::vector<std::string> options;
    int channels;
    std::string summary;
  };
  const std::vector<Case> cases = {
      {{}, 2, "delta coding, 2 channel(s), 22050 Hz, 4000 frames, loop at frame 0"},
      {{"--loop-start", "0.1"},
       1,
       "delta coding, 1 channel(s), 22050 Hz, 4000 frames, loop at frame 2205"},
      {{"--ramp"}, 2, "ramp coding, 2 channel(s), 22050 Hz, 4000 frames"},
      {{"--ramp"}, 1, "ramp coding, 1 channel(s), 22050 Hz, 4000 frames"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.summary);
    const DecodedSound in = Tone(c.channels, 22050, 4000);
    std::vector<uint8_t> wav;
    WriteWav(in, wav);
    ASSERT_TRUE(WriteFileAtomic(tmp_ / "in.wav", wav));
    std::vector<std::string> args = {"wady-encode", tmp_ / "in.wav", tmp_ / "entry"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    Result r = Run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    r = Run({"wady-decode", tmp_ / "entry", tmp_ / "out.wav"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, c.summary + "\n");
    std::vector<uint8_t> bytes;
    DecodedSound out;
    ASSERT_TRUE(ReadWholeFile(tmp_ / "out.wav", bytes));
    ASSERT_TRUE(ReadWav(bytes, out));
    EXPECT_EQ(out.Format, in.Format);
    ASSERT_EQ(out.Samples.size(), in.Samples.size());
    for (size_t i = 0; i < in.Samples.size(); ++i)
      ASSERT_NEAR(out.Samples[i], in.Samples[i], 600) << i;
  }
}

TEST_F(Zktool, WadyErrorsNameTheProblem) {
  std::vector<uint8_t> wav;
  WriteWav(Tone(3, 22050, 10), wav);
  ASSERT_TRUE(WriteFileAtomic(tmp_ / "three.wav", wav));
  WriteWav(Tone(1, 22050, 10), wav);
  ASSERT_TRUE(WriteFileAtomic(tmp_ / "mono.wav", wav));
  Write(tmp_ / "notwav.wav", "RIFF");
  Write(tmp_ / "notwady", std::string(60, 'x'));
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"wady-encode", tmp_ / "three.wav", tmp_ / "x"}, 1, "3 channels"},
      {{"wady-encode", tmp_ / "notwav.wav", tmp_ / "x"}, 1, "notwav.wav"},
      {{"wady-encode", tmp_ / "mono.wav", tmp_ / "x", "--loop-start", "1"}, 2, "--loop-start"},
      {{"wady-encode", tmp_ / "mono.wav", tmp_ / "x", "--ramp", "--loop-start", "0"}, 2, "--ramp"},
      {{"wady-decode", tmp_ / "notwady", tmp_ / "x.wav"}, 1, "not a WADY entry"},
      {{"wady-decode", tmp_ / "missing", tmp_ / "x.wav"}, 1, "missing"},
  };
  for (const Case& c : cases) {
    Result r = Run(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace zk
