#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/EngineState.h"

namespace zk {
namespace {

TEST(BitBank, NumbersOutsideTheBankAreIgnoredAndTestClear) {
  EngineState s;
  struct Case {
    const char* name;
    long first_out;  // first number outside the bank
  };
  auto check = [](auto& bank, long outside) {
    bank.Set(outside);
    bank.Set(-1);
    EXPECT_FALSE(bank.Test(outside));
    EXPECT_FALSE(bank.Test(-1));
    bank.Set(outside - 1);
    EXPECT_TRUE(bank.Test(outside - 1));
    bank.Clear(outside - 1);
    EXPECT_FALSE(bank.Test(outside - 1));
  };
  check(s.Vars.F, 1024);
  check(s.Vars.E, 1024);
  check(s.Vars.T, 10000);
  check(s.Vars.CG, 2000);
  check(s.Vars.Scene, 2000);
  // Nothing above spilled into the bytes past the bank: storage is all zero.
  for (uint8_t b : s.Vars.T.Bytes) EXPECT_EQ(b, 0);
  for (uint8_t b : s.Vars.CG.Bytes) EXPECT_EQ(b, 0);
}

TEST(BitBank, BitsAreStoredLeastSignificantFirst) {
  BitBank<1024> f;
  f.Set(0);
  f.Set(9);
  EXPECT_EQ(f.Bytes[0], 0x01);
  EXPECT_EQ(f.Bytes[1], 0x02);
}

TEST(Banks, CellNumbersReachEveryBank) {
  EngineState s;
  // A reference through V to cell 2026 is the auto delay, 3005 is G5.
  s.Vars.WriteCell(2026, 7);
  EXPECT_EQ(s.AutoDelay(), 7);
  s.Vars.WriteCell(3005, 42);
  EXPECT_EQ(s.Vars.G(5), 42);
  // Outside 0..3009: reads 0, writes nothing.
  s.Vars.WriteCell(3010, 1);
  s.Vars.WriteCell(-1, 1);
  EXPECT_EQ(s.Vars.ReadCell(3010), 0);
  EXPECT_EQ(s.Vars.ReadCell(-1), 0);
}

TEST(Banks, StringsKeepAtMost63Bytes) {
  EngineState s;
  std::string longText(100, 'a');
  s.Vars.SetString(3, longText.c_str());
  EXPECT_EQ(std::strlen(s.Vars.GetString(3)), 63u);
  // A double-byte character that would be cut in half is dropped whole.
  std::string sjis(62, 'b');
  sjis += "\x82\xa0";  // one double-byte character at bytes 62..63
  s.Vars.SetString(4, sjis.c_str());
  EXPECT_EQ(std::string(s.Vars.GetString(4)), std::string(62, 'b'));
  s.Vars.SetString(10, "x");  // no such variable: ignored
  EXPECT_STREQ(s.Vars.GetString(10), "");
}

TEST(EffectLock, HoldsWhatItNamesAndClearsItOnce) {
  ModeState m;
  m.EffectAbort = EffectAbort::FinishNow;
  {
    EffectLock outer(m);
    EXPECT_TRUE(m.InputLock);
    EXPECT_TRUE(m.EffectRunning);
    EXPECT_EQ(m.EffectAbort, EffectAbort::None);
    m.EffectAbort = EffectAbort::CloseRequested;
    { const EffectLock inner(m); }
    // A nested effect leaves the flags clear while the outer one runs on.
    EXPECT_FALSE(m.InputLock);
    EXPECT_FALSE(m.EffectRunning);
    EXPECT_EQ(m.EffectAbort, EffectAbort::None);
    outer.End();
    m.InputLock = true;  // set by later steps; the end of the scope leaves it
  }
  EXPECT_TRUE(m.InputLock);

  // Holding only the running flag keeps input and a pending request as they are.
  m.InputLock = false;
  m.EffectAbort = EffectAbort::FinishNow;
  {
    const EffectLock running(m, EffectLock::kRunning);
    EXPECT_TRUE(m.EffectRunning);
    EXPECT_FALSE(m.InputLock);
    EXPECT_EQ(m.EffectAbort, EffectAbort::FinishNow);
  }
  EXPECT_FALSE(m.EffectRunning);
  {
    const EffectLock input(m, EffectLock::kInput);
    EXPECT_TRUE(m.InputLock);
    EXPECT_FALSE(m.EffectRunning);
  }
  EXPECT_FALSE(m.InputLock);
}

}  // namespace
}  // namespace zk
