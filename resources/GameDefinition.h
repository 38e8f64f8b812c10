// The game definition: what differs between games (title, settings location,
// message-window layout, archive volume gates, speaker names ...), read once
// at start-up from the script entry "_config".
//
// The entry is a sequence of zero-terminated lines. "END" (any case) stops
// reading; empty lines and lines starting with ';' or '*' are skipped; the key
// is the upper-cased text before the first ':', the value everything after it
// as written. Unknown keys are ignored; a later line overrides an earlier one.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/Archive.h"

namespace zk {

struct ConfigRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const ConfigRect&) const = default;
};

struct Speaker {
  bool Defined = false;
  std::string Name;     // Shift-JIS, as written
  uint32_t Colour = 0;  // red in the low byte, then green, then blue
};
constexpr int kSpeakerCount = 60;

// Field names are the keys. Every int defaults to 0 and every text to "".
struct GameDefinition {
  // identity
  std::string TITLE, MAKER_REG, GAME_ID, MAKER, DEFAULT_NAME3, DEFAULT_NAME4;
  // player names
  std::string DEFAULT_NAME, DEFAULT_NAME2;
  // message window
  int32_t TXW_OFS_X = 0, TXW_OFS_Y = 0, TXW_SIZE_X = 0, TXW_SIZE_Y = 0;
  int32_t TXW_COLOR_R = 0, TXW_COLOR_G = 0, TXW_COLOR_B = 0, TXW_ALPHA = 0, TXW_ALPHA2 = 0;
  // text layouts
  int32_t TX_OFS_X = 0, TX_OFS_Y = 0, TX_PITCH_X = 0, TX_PITCH_Y = 0, MOJI_MAX_X = 0,
          MOJI_MAX_Y = 0;
  int32_t TX2_OFS_X = 0, TX2_OFS_Y = 0, TX2_PITCH_X = 0, TX2_PITCH_Y = 0, MOJI_MAX2_X = 0,
          MOJI_MAX2_Y = 0;
  // name plate
  int32_t NP_OFS_X = 0, NP_OFS_Y = 0, NP_SZ_X = 0, NP_SZ_Y = 0;
  // font
  std::string FONT_NAME;
  int32_t FONT_SIZE = 0;
  // click-wait mark
  int32_t CLICK_WAIT_OFS_X = 0, CLICK_WAIT_OFS_Y = 0, CLICK_WAIT_SIZE_X = 0,
          CLICK_WAIT_SIZE_Y = 0, CLICK_WAIT_PAT = 0, CLICK_WAIT_TIMING = 0;
  // archive gates
  int32_t ZKD_GRA = 0, ZKD_WAV = 0, ZKD_OGG = 0, ZKD_SE = 0, ZKD_GJP = 0, ZKD_ANIM = 0,
          ZKD_GDT = 0;
  // audio
  int32_t VOLUME1 = 0, VOLUME2 = 0, VOLUME3 = 0, VOLUME4 = 0;
  // sprites
  int32_t TACHI_TYPE = 0;
  // in-game configuration screen
  std::array<std::string, 2> CFG_GRA;
  ConfigRect CFG_WM_WIN, CFG_WM_FULL, CFG_GM_NORMAL, CFG_GM_FAST, CFG_TM_NORMAL, CFG_TM_FAST,
      CFG_MS_STOP, CFG_MS_NONE, CFG_CLOSE, CFG_DETAIL, CFG_VOL_CVTEST, CFG_VOL_DEFAULT;
  std::array<int32_t, 2> CFG_VOL_BAR{};
  std::array<int32_t, 2> CFG_VOL1{}, CFG_VOL2{}, CFG_VOL3{}, CFG_VOL4{};
  std::string CFG_VOL_KNOB;
  // speakers, by index 0-59
  std::array<Speaker, kSpeakerCount> NAME;
};

// A value the parser could not take; Line counts the entry's lines from 1.
struct ConfigProblem {
  int Line = 0;
  std::string Message;  // UTF-8, naming the line, the key and the value
};

// Parses the restored bytes of "_config" into def (which keeps the values of
// keys the text does not set). A malformed value leaves its field unchanged
// and is reported; returns false when anything was reported.
bool ParseGameDefinition(std::span<const uint8_t> text, GameDefinition& def,
                         std::vector<ConfigProblem>* problems = nullptr);

// Every key the parser knows, in table order.
const std::vector<std::string_view>& GameDefinitionKeys();

// The colour digit rule: '0'-'9' and 'A'-'F' (either case) give value x 16,
// 'G' (either case) 255, anything else 0.
uint8_t ColourDigit(char c);
// Red, green and blue from the first three characters (missing ones give 0),
// as a colour value with red in the low byte.
uint32_t ColourFromDigits(std::string_view digits);

ArchiveGates GatesOf(const GameDefinition& def);

}  // namespace zk
