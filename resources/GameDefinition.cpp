#include "resources/GameDefinition.h"

#include <cstring>
#include <variant>

#include "base/Sjis.h"
#include "base/TextFields.h"

namespace zk {

namespace {

using Gd = GameDefinition;
using IntPair = std::array<int32_t, 2>;
using TextPair = std::array<std::string, 2>;
using Field =
    std::variant<int32_t Gd::*, std::string Gd::*, ConfigRect Gd::*, IntPair Gd::*, TextPair Gd::*>;

struct Key {
  std::string_view name;
  Field field;
};

#define ZK_KEY(k) \
  Key {           \
#k, &Gd::k    \
  }
const Key kKeys[] = {
    ZK_KEY(TITLE),
    ZK_KEY(MAKER_REG),
    ZK_KEY(GAME_ID),
    ZK_KEY(MAKER),
    ZK_KEY(DEFAULT_NAME3),
    ZK_KEY(DEFAULT_NAME4),
    ZK_KEY(DEFAULT_NAME),
    ZK_KEY(DEFAULT_NAME2),
    ZK_KEY(TXW_OFS_X),
    ZK_KEY(TXW_OFS_Y),
    ZK_KEY(TXW_SIZE_X),
    ZK_KEY(TXW_SIZE_Y),
    ZK_KEY(TXW_COLOR_R),
    ZK_KEY(TXW_COLOR_G),
    ZK_KEY(TXW_COLOR_B),
    ZK_KEY(TXW_ALPHA),
    ZK_KEY(TXW_ALPHA2),
    ZK_KEY(TX_OFS_X),
    ZK_KEY(TX_OFS_Y),
    ZK_KEY(TX_PITCH_X),
    ZK_KEY(TX_PITCH_Y),
    ZK_KEY(MOJI_MAX_X),
    ZK_KEY(MOJI_MAX_Y),
    ZK_KEY(TX2_OFS_X),
    ZK_KEY(TX2_OFS_Y),
    ZK_KEY(TX2_PITCH_X),
    ZK_KEY(TX2_PITCH_Y),
    ZK_KEY(MOJI_MAX2_X),
    ZK_KEY(MOJI_MAX2_Y),
    ZK_KEY(NP_OFS_X),
    ZK_KEY(NP_OFS_Y),
    ZK_KEY(NP_SZ_X),
    ZK_KEY(NP_SZ_Y),
    ZK_KEY(FONT_NAME),
    ZK_KEY(FONT_SIZE),
    ZK_KEY(CLICK_WAIT_OFS_X),
    ZK_KEY(CLICK_WAIT_OFS_Y),
    ZK_KEY(CLICK_WAIT_SIZE_X),
    ZK_KEY(CLICK_WAIT_SIZE_Y),
    ZK_KEY(CLICK_WAIT_PAT),
    ZK_KEY(CLICK_WAIT_TIMING),
    ZK_KEY(ZKD_GRA),
    ZK_KEY(ZKD_WAV),
    ZK_KEY(ZKD_OGG),
    ZK_KEY(ZKD_SE),
    ZK_KEY(ZKD_GJP),
    ZK_KEY(ZKD_ANIM),
    ZK_KEY(ZKD_GDT),
    ZK_KEY(VOLUME1),
    ZK_KEY(VOLUME2),
    ZK_KEY(VOLUME3),
    ZK_KEY(VOLUME4),
    ZK_KEY(TACHI_TYPE),
    ZK_KEY(CFG_GRA),
    ZK_KEY(CFG_WM_WIN),
    ZK_KEY(CFG_WM_FULL),
    ZK_KEY(CFG_GM_NORMAL),
    ZK_KEY(CFG_GM_FAST),
    ZK_KEY(CFG_TM_NORMAL),
    ZK_KEY(CFG_TM_FAST),
    ZK_KEY(CFG_MS_STOP),
    ZK_KEY(CFG_MS_NONE),
    ZK_KEY(CFG_CLOSE),
    ZK_KEY(CFG_DETAIL),
    ZK_KEY(CFG_VOL_CVTEST),
    ZK_KEY(CFG_VOL_DEFAULT),
    ZK_KEY(CFG_VOL_BAR),
    ZK_KEY(CFG_VOL1),
    ZK_KEY(CFG_VOL2),
    ZK_KEY(CFG_VOL3),
    ZK_KEY(CFG_VOL4),
    ZK_KEY(CFG_VOL_KNOB),
};
#undef ZK_KEY
constexpr std::string_view kNameKey = "NAME";

// A decimal integer, optionally signed, with optional blanks around it. An
// empty text reads as 0.
bool ParseInt(std::string_view text, int32_t& out) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  text = text.substr(b, e - b);
  if (text.empty()) {
    out = 0;
    return true;
  }
  bool negative = false;
  size_t i = 0;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  out = static_cast<int32_t>(v);
  return true;
}

class Parser {
 public:
  Parser(GameDefinition& def, std::vector<ConfigProblem>* problems)
      : def_(def), problems_(problems) {}

  void Line(int lineNo, std::string_view line) {
    line_ = lineNo;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string key = UpperSjis(line.substr(0, colon));
    const std::string_view value = line.substr(colon + 1);
    key_ = key;
    value_ = value;
    if (key == kNameKey) {
      Name(value);
      return;
    }
    for (const Key& k : kKeys) {
      if (k.name != key) continue;
      std::visit([&](auto member) { Set(def_.*member, value); }, k.field);
      return;
    }
  }
  bool ok() const { return ok_; }

 private:
  void Report(std::string_view what) {
    ok_ = false;
    if (!problems_) return;
    problems_->push_back({line_, "line " + std::to_string(line_) + ": " + SjisToUtf8(key_) +
                                     ": \"" + SjisToUtf8(value_) + "\" " + std::string(what)});
  }
  bool Int(std::string_view text, int32_t& out) {
    int32_t v;
    if (!ParseInt(text, v)) {
      Report("is not a decimal integer");
      return false;
    }
    out = v;
    return true;
  }
  void Set(int32_t& field, std::string_view v) { Int(v, field); }
  void Set(std::string& field, std::string_view v) { field = std::string(v); }
  void Set(ConfigRect& field, std::string_view v) {
    ConfigRect r;
    if (Int(CommaField(v, 0), r.Left) && Int(CommaField(v, 1), r.Top) &&
        Int(CommaField(v, 2), r.Right) && Int(CommaField(v, 3), r.Bottom))
      field = r;
  }
  void Set(IntPair& field, std::string_view v) {
    IntPair p{};
    if (Int(CommaField(v, 0), p[0]) && Int(CommaField(v, 1), p[1])) field = p;
  }
  void Set(TextPair& field, std::string_view v) {
    field[0] = std::string(CommaField(v, 0));
    field[1] = std::string(CommaField(v, 1));
  }
  void Name(std::string_view v) {
    int32_t index;
    if (!Int(CommaField(v, 0), index)) return;
    if (index < 0 || index >= kSpeakerCount) return;
    Speaker& s = def_.NAME[index];
    s.Defined = true;
    s.Name = std::string(CommaField(v, 1));
    std::string_view colour = CommaField(v, 2);
    s.Colour = colour.empty() ? 0xFFFFFFu : ColourFromDigits(colour);
  }

  GameDefinition& def_;
  std::vector<ConfigProblem>* problems_;
  bool ok_ = true;
  int line_ = 0;
  std::string key_;
  std::string_view value_;
};

}  // namespace

bool ParseGameDefinition(std::span<const uint8_t> text, GameDefinition& def,
                         std::vector<ConfigProblem>* problems) {
  Parser parser(def, problems);
  const char* p = reinterpret_cast<const char*>(text.data());
  size_t left = text.size();
  int lineNo = 0;
  while (left > 0) {
    const void* nul = std::memchr(p, 0, left);
    const size_t len = nul ? static_cast<const char*>(nul) - p : left;
    std::string_view line(p, len);
    p += len;
    left -= len;
    if (nul) {
      ++p;
      --left;
    }
    ++lineNo;
    if (UpperSjis(line) == "END") break;
    if (line.empty() || line[0] == ';' || line[0] == '*') continue;
    parser.Line(lineNo, line);
  }
  return parser.ok();
}

const std::vector<std::string_view>& GameDefinitionKeys() {
  static const std::vector<std::string_view> keys = [] {
    std::vector<std::string_view> k;
    for (const Key& key : kKeys) k.push_back(key.name);
    k.push_back(kNameKey);
    return k;
  }();
  return keys;
}

uint8_t ColourDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>((c - '0') * 16);
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>((c - 'A' + 10) * 16);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>((c - 'a' + 10) * 16);
  if (c == 'G' || c == 'g') return 255;
  return 0;
}

uint32_t ColourFromDigits(std::string_view digits) {
  auto at = [&](size_t i) { return i < digits.size() ? ColourDigit(digits[i]) : uint8_t{0}; };
  return static_cast<uint32_t>(at(0)) | static_cast<uint32_t>(at(1)) << 8 |
         static_cast<uint32_t>(at(2)) << 16;
}

ArchiveGates GatesOf(const GameDefinition& def) {
  ArchiveGates g;
  g.Gra = def.ZKD_GRA;
  g.Gjp = def.ZKD_GJP;
  g.Wav = def.ZKD_WAV;
  g.Se = def.ZKD_SE;
  g.Ogg = def.ZKD_OGG;
  g.Anim = def.ZKD_ANIM;
  return g;
}

}  // namespace zk
