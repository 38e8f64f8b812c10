#include "resources/Settings.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/Sjis.h"

namespace zk {

namespace {

using PS = PersistedSettings;
using IntRef = int32_t& (*)(PS&);
using TextRef = std::string& (*)(PS&);
using IntDefault = int32_t (*)(const GameDefinition&, const SettingsEnvironment&);
using TextDefault = std::string (*)(const GameDefinition&);

struct Value {
  const char* name;
  IntRef intRef = nullptr;
  TextRef textRef = nullptr;
  IntDefault intDefault = nullptr;    // null: the member's initial value
  TextDefault textDefault = nullptr;  // null: the member's initial value
  bool sjis = false;                  // held as Shift-JIS, stored as UTF-8
};

#define ZK_INT(n) Value{#n, [](PS& s) -> int32_t& { return s.n; }}
#define ZK_INT_D(n, d) \
  Value{#n, [](PS& s) -> int32_t& { return s.n; }, nullptr, [](const GameDefinition& g, const SettingsEnvironment& e) -> int32_t { (void)g; (void)e; return d; }}
#define ZK_GV(k) Value{"GV0" #k, [](PS& s) -> int32_t& { return s.GV[k]; }}
#define ZK_TEXT_D(n, d)                                                                \
  Value{#n, nullptr, [](PS& s) -> std::string& { return s.n; }, nullptr,            \
        [](const GameDefinition& g) -> std::string { return g.d; }, true}

// In the order they are read at start-up.
const Value kValues[] = {
    Value{"CDDir", nullptr, [](PS& s) -> std::string& { return s.CDDir; }},
    ZK_INT_D(Left, (e.ScreenWidth - e.WindowWidth) / 2),
    ZK_INT_D(Top, (e.ScreenHeight - e.WindowHeight) / 2),
    ZK_INT(BGM_ENA),
    ZK_INT(SE_ENA),
    ZK_INT(Delay),
    ZK_INT(GMode),
    ZK_INT(SMode),
    ZK_INT(Clear),
    ZK_INT(Seen),
    ZK_INT(BreakonSelect),
    ZK_INT(MemorySaveMode),
    ZK_TEXT_D(FontName, FONT_NAME),
    ZK_INT(DirectSoundGlobal),
    ZK_INT(AnimQuality),
    ZK_INT(RC_MODE),
    ZK_INT(WHEEL_MODE),
    ZK_INT(CS_SWAP),
    ZK_INT(EFX_CUT),
    ZK_INT(CONFIG_MODE),
    ZK_INT(DatePanel),
    ZK_INT(TXWStyle),
    ZK_INT(CV_THROUGH),
    ZK_INT(CV1),
    ZK_INT(CV2),
    ZK_INT(SE0),
    ZK_INT(SE1),
    ZK_INT(SE2),
    ZK_INT(SE3),
    ZK_INT(SE4),
    ZK_INT_D(Vol1, g.VOLUME1),
    ZK_INT_D(Vol2, g.VOLUME2),
    ZK_INT_D(Vol3, g.VOLUME3),
    ZK_INT_D(Vol4, g.VOLUME4),
    ZK_INT(FONTAA),
    ZK_INT(FONTSIZE),
    ZK_INT(FONTBold),
    ZK_TEXT_D(PlayerName, DEFAULT_NAME),
    ZK_TEXT_D(PlayerName2, DEFAULT_NAME2),
    ZK_INT(LastSaveSlot),
    ZK_GV(0),
    ZK_GV(1),
    ZK_GV(2),
    ZK_GV(3),
    ZK_GV(4),
    ZK_GV(5),
    ZK_GV(6),
    ZK_GV(7),
    ZK_GV(8),
    ZK_GV(9),
    ZK_INT_D(TXBG_R, g.TXW_COLOR_R),
    ZK_INT_D(TXBG_G, g.TXW_COLOR_G),
    ZK_INT_D(TXBG_B, g.TXW_COLOR_B),
    ZK_INT_D(TXBG_A, g.TXW_ALPHA),
    ZK_INT_D(TXBG_A2, g.TXW_ALPHA2),
    // The seloop variant offsets, default 0.
    ZK_INT(SE_LVL0),
    ZK_INT(SE_LVL1),
    ZK_INT(SE_LVL2),
    ZK_INT(SE_LVL3),
    ZK_INT(SE_LVL4),
};
#undef ZK_INT
#undef ZK_INT_D
#undef ZK_GV
#undef ZK_TEXT_D

// Marks a text value the store does not hold (no stored text contains it).
constexpr const char* kAbsent = "\x01\x02";

const Value* FindValue(std::string_view name) {
  for (const Value& v : kValues)
    if (name == v.name) return &v;
  return nullptr;
}


}  // namespace

// ============================================================ [SECTION] Persisted settings

std::vector<std::string> PersistedSettingNames() {
  std::vector<std::string> names;
  for (const Value& v : kValues) names.emplace_back(v.name);
  return names;
}

void ReadPersistedSettings(platform::SettingsStore& store, const GameDefinition& def,
                           const SettingsEnvironment& env, PersistedSettings& out) {
  const std::string cdDir = out.CDDir;
  out = PersistedSettings{};
  out.CDDir = cdDir;
  for (const Value& v : kValues) {
    if (v.textRef == nullptr) {
      int32_t& field = v.intRef(out);
      const int32_t def0 = v.intDefault ? v.intDefault(def, env) : field;
      field = store.ReadInt(v.name, def0);
      continue;
    }
    if (std::string_view(v.name) == "CDDir") continue;
    std::string& field = v.textRef(out);
    const std::string def0 = v.textDefault ? v.textDefault(def) : field;
    const std::string stored = store.ReadText(v.name, kAbsent);
    if (stored == kAbsent) {
      field = def0;
    } else if (!v.sjis) {
      field = stored;
    } else if (!Utf8ToSjis(stored, field)) {
      field = def0;  // a name the engine cannot hold
    }
  }
  if (out.SMode == 0 && env.ScreenWidth <= 600) out.SMode = 2;
  if (def.CFG_GRA[0].empty() || def.CFG_GRA[1].empty()) out.CONFIG_MODE = 1;
}

bool WriteSetting(platform::SettingsStore& store, const PersistedSettings& settings,
                  std::string_view name) {
  const Value* v = FindValue(name);
  if (!v) return false;
  // The table's accessors take a mutable object; nothing is changed here.
  PersistedSettings& s = const_cast<PersistedSettings&>(settings);
  if (v->intRef) {
    store.WriteInt(v->name, v->intRef(s));
  } else {
    const std::string& text = v->textRef(s);
    store.WriteText(v->name, v->sjis ? SjisToUtf8(text) : text);
  }
  return true;
}

// ============================================================ [SECTION] Where the settings live

std::string SafePathPart(std::string_view sjis) {
  std::string part = SjisToUtf8(sjis);
  for (char& c : part)
    if (c == '/' || c == '\\') c = '_';
  return part;
}

std::string DefaultConfigRoot() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/zelkor";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/zelkor";
  return ".config/zelkor";
}

std::string SettingsFilePath(const std::string& configRoot, std::string_view makerReg,
                             std::string_view gameId) {
  std::filesystem::path path(configRoot);
  // Split the key path at backslashes and slashes, byte by byte but never
  // inside a double-byte character (whose second byte may be 0x5C).
  std::string part;
  auto flush = [&] {
    if (!part.empty() && part != "." && part != "..") path /= SafePathPart(part);
    part.clear();
  };
  for (size_t i = 0; i < makerReg.size(); ++i) {
    const char c = makerReg[i];
    if (IsSjisLead(static_cast<unsigned char>(c)) && i + 1 < makerReg.size()) {
      part += c;
      part += makerReg[++i];
    } else if (c == '\\' || c == '/') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  const std::string id = SafePathPart(gameId);
  const bool usable = !id.empty() && id != "." && id != "..";
  path /= (usable ? id : std::string(1, '_')) + ".ini";
  return path.string();
}

}  // namespace zk
