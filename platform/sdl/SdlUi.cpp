// [SECTION] Dear ImGui: fonts, tool bar, message box and popup menu.
//
// ImGui runs only when something it draws can have changed: a pointer event
// over the tool bar, a change of the tool bar's state, or an open dialog.
// Each run ends in a fingerprint of the draw lists; the window is presented
// again only when the fingerprint differs from the one on screen.
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cstring>

#include "base/Utf8.h"
#include "platform/sdl/PixelConvert.h"
#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/SdlDevPanel.h"
#include "platform/sdl/UiFont.h"

namespace platform {

namespace {

constexpr float kToolbarFontPx = 13.0f;
constexpr float kDialogFontPx = 16.0f;
constexpr float kMessageWrapPx = 440.0f;

struct ToolbarButtonDef {
  const char* caption;
  int button;  // the ToolbarButton event number, also the index into the enabled flags
};
// Left to right as on the panel.
constexpr ToolbarButtonDef kToolbarButtons[] = {{"終了", 1}, {"読込", 4}, {"記録", 3}, {"設定", 2}};
constexpr int kButtonW = 48;
constexpr int kButtonH = 19;
constexpr int kButtonGap = 2;
constexpr int kToolbarPadX = 2;
constexpr int kToolbarPadY = 1;

const char* ButtonCaption(MsgResult r) {
  switch (r) {
    case MsgResult::Ok:
      return "OK";
    case MsgResult::Cancel:
      return "キャンセル";
    case MsgResult::Yes:
      return "はい";
    case MsgResult::No:
      return "いいえ";
  }
  return "OK";
}

uint64_t DrawDataHash() {
  const ImDrawData* dd = ImGui::GetDrawData();
  if (!dd || !dd->Valid) return 0;
  uint64_t h = 0x51ED2701u + static_cast<uint64_t>(dd->CmdListsCount);
  for (int n = 0; n < dd->CmdListsCount; ++n) {
    const ImDrawList* list = dd->CmdLists[n];
    h = h * 31 + HashBytes(reinterpret_cast<const uint8_t*>(list->VtxBuffer.Data),
                           static_cast<size_t>(list->VtxBuffer.Size) * sizeof(ImDrawVert));
    h = h * 31 + HashBytes(reinterpret_cast<const uint8_t*>(list->IdxBuffer.Data),
                           static_cast<size_t>(list->IdxBuffer.Size) * sizeof(ImDrawIdx));
    for (const ImDrawCmd& cmd : list->CmdBuffer) {
      struct {
        ImVec4 clip;
        uint64_t texture;
        unsigned count, offset;
      } key{cmd.ClipRect, reinterpret_cast<uint64_t>(cmd.TextureId), cmd.ElemCount, cmd.IdxOffset};
      h = h * 31 + HashBytes(reinterpret_cast<const uint8_t*>(&key), sizeof key);
    }
  }
  return h == 0 ? 1 : h;
}

}  // namespace

PixelRect SdlBackend::ToolbarButtonRect(int button) const {
  for (int i = 0; i < 4; ++i) {
    if (kToolbarButtons[i].button == button)
      return {kToolbarPadX + i * (kButtonW + kButtonGap), kToolbarPadY, kButtonW, kButtonH};
  }
  return {};
}

// ============================================================ [SECTION] Context and fonts

bool SdlBackend::EnsureUi() {
  if (uiContext_) return true;
  uiContext_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(uiContext_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // no settings file
  io.LogFilename = nullptr;
  io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
  const std::pair<ImGuiKey_, SDL_Scancode> keys[] = {
      {ImGuiKey_Tab, SDL_SCANCODE_TAB},
      {ImGuiKey_LeftArrow, SDL_SCANCODE_LEFT},
      {ImGuiKey_RightArrow, SDL_SCANCODE_RIGHT},
      {ImGuiKey_UpArrow, SDL_SCANCODE_UP},
      {ImGuiKey_DownArrow, SDL_SCANCODE_DOWN},
      {ImGuiKey_PageUp, SDL_SCANCODE_PAGEUP},
      {ImGuiKey_PageDown, SDL_SCANCODE_PAGEDOWN},
      {ImGuiKey_Home, SDL_SCANCODE_HOME},
      {ImGuiKey_End, SDL_SCANCODE_END},
      {ImGuiKey_Insert, SDL_SCANCODE_INSERT},
      {ImGuiKey_Delete, SDL_SCANCODE_DELETE},
      {ImGuiKey_Backspace, SDL_SCANCODE_BACKSPACE},
      {ImGuiKey_Space, SDL_SCANCODE_SPACE},
      {ImGuiKey_Enter, SDL_SCANCODE_RETURN},
      {ImGuiKey_Escape, SDL_SCANCODE_ESCAPE},
      {ImGuiKey_KeyPadEnter, SDL_SCANCODE_KP_ENTER},
      {ImGuiKey_A, SDL_SCANCODE_A},
      {ImGuiKey_C, SDL_SCANCODE_C},
      {ImGuiKey_V, SDL_SCANCODE_V},
      {ImGuiKey_X, SDL_SCANCODE_X},
      {ImGuiKey_Y, SDL_SCANCODE_Y},
      {ImGuiKey_Z, SDL_SCANCODE_Z},
  };
  for (const auto& [imguiKey, scancode] : keys) io.KeyMap[imguiKey] = scancode;

  ImGui::StyleColorsLight();
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowRounding = 0.0f;
  style.FrameRounding = 2.0f;
  style.WindowBorderSize = 1.0f;
  style.FrameBorderSize = 1.0f;
  style.WindowPadding = ImVec2(12.0f, 8.0f);
  // Windows keep the size they are given: the tool bar is lower than ImGui's
  // usual minimum and would otherwise cover the top of the picture.
  style.WindowMinSize = ImVec2(1.0f, 1.0f);
  style.ItemSpacing = ImVec2(8.0f, 5.0f);
  // Grey buttons and title bars, as the desktop draws its own dialogs.
  ImVec4* c = style.Colors;
  c[ImGuiCol_WindowBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
  c[ImGuiCol_PopupBg] = ImVec4(0.98f, 0.98f, 0.98f, 1.0f);
  c[ImGuiCol_Border] = ImVec4(0.55f, 0.55f, 0.55f, 1.0f);
  c[ImGuiCol_TitleBg] = c[ImGuiCol_TitleBgActive] = c[ImGuiCol_TitleBgCollapsed] =
      ImVec4(0.84f, 0.86f, 0.90f, 1.0f);
  c[ImGuiCol_Button] = ImVec4(0.88f, 0.88f, 0.88f, 1.0f);
  c[ImGuiCol_ButtonHovered] = ImVec4(0.80f, 0.88f, 0.98f, 1.0f);
  c[ImGuiCol_ButtonActive] = ImVec4(0.70f, 0.82f, 0.96f, 1.0f);
  c[ImGuiCol_Header] = ImVec4(0.75f, 0.85f, 0.98f, 1.0f);
  c[ImGuiCol_HeaderHovered] = ImVec4(0.75f, 0.85f, 0.98f, 1.0f);
  c[ImGuiCol_HeaderActive] = ImVec4(0.65f, 0.78f, 0.96f, 1.0f);

  if (!fontSearched_) {
    fontSearched_ = true;
    uiFont_ = FindJapaneseUiFont();
  }
  io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
  for (uint32_t c = 0x20; c < 0x7F; ++c) glyphs_.set(c);
  for (const ToolbarButtonDef& b : kToolbarButtons) RequireGlyphs(b.caption);
  for (MsgResult r : {MsgResult::Ok, MsgResult::Cancel, MsgResult::Yes, MsgResult::No})
    RequireGlyphs(ButtonCaption(r));
  fontsStale_ = true;
  ImGui_ImplSDLRenderer_Init(renderer_);
  lastUiTime_ = 0;
  return true;
}

void SdlBackend::ShutdownUi() {
  if (!uiContext_) return;
  ImGui::SetCurrentContext(uiContext_);
  ImGui_ImplSDLRenderer_Shutdown();
  ImGui::DestroyContext(uiContext_);
  uiContext_ = nullptr;
}

void SdlBackend::RequireGlyphs(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();) {
    // A malformed byte counts as U+FFFD and is stepped over alone.
    char32_t cp;
    const size_t len = zk::DecodeUtf8(utf8, i, cp);
    i += len ? len : 1;
    if (cp < glyphs_.size() && !glyphs_[cp]) {
      glyphs_.set(cp);
      fontsStale_ = true;
    }
  }
}

void SdlBackend::WantDialogFont() {
  if (dialogFontWanted_) return;
  dialogFontWanted_ = true;
  fontsStale_ = true;
}

void SdlBackend::RebuildFonts() {
  // The atlas holds only the characters the tool bar and the dialogs have
  // used so far, so it stays small and builds in a few milliseconds; a text
  // with new characters rebuilds it.
  ImGuiIO& io = ImGui::GetIO();
  ImGui_ImplSDLRenderer_DestroyFontsTexture();
  io.Fonts->Clear();
  toolbarFont_ = dialogFont_ = nullptr;
  bool built = false;
  if (uiFont_) {
    glyphRanges_.clear();
    for (uint32_t c = 1; c < glyphs_.size(); ++c) {
      if (!glyphs_[c]) continue;
      if (!glyphRanges_.empty() && glyphRanges_.back() + 1u == c) {
        glyphRanges_.back() = static_cast<ImWchar>(c);
      } else {
        glyphRanges_.push_back(static_cast<ImWchar>(c));
        glyphRanges_.push_back(static_cast<ImWchar>(c));
      }
    }
    glyphRanges_.push_back(0);
    // ImGui copies font data it does not own, which would read the whole
    // (several megabyte) file into memory. Claiming ownership avoids the
    // copy; the claim is withdrawn right after the build, before anything
    // could free the mapping.
    ImFontConfig cfg;
    cfg.FontDataOwnedByAtlas = true;
    cfg.FontNo = uiFont_->FaceIndex();
    cfg.OversampleH = cfg.OversampleV = 1;
    cfg.PixelSnapH = true;
    toolbarFont_ =
        io.Fonts->AddFontFromMemoryTTF(uiFont_->Data(), static_cast<int>(uiFont_->Size()),
                                       kToolbarFontPx, &cfg, glyphRanges_.data());
    // The dialog size joins the atlas with the first dialog or menu: each
    // size has its own glyphs and lookup tables.
    dialogFont_ = dialogFontWanted_ ? io.Fonts->AddFontFromMemoryTTF(
                                          uiFont_->Data(), static_cast<int>(uiFont_->Size()),
                                          kDialogFontPx, &cfg, glyphRanges_.data())
                                    : toolbarFont_;
    built = io.Fonts->Build();
    for (ImFontConfig& used : io.Fonts->ConfigData) used.FontDataOwnedByAtlas = false;
    io.Fonts->ClearInputData();
    uiFont_->ReleasePages();  // the atlas holds the glyphs now
  }
  if (!built) {
    // No Japanese font: ImGui's own font still shows Latin text.
    io.Fonts->Clear();
    toolbarFont_ = dialogFont_ = io.Fonts->AddFontDefault();
    io.Fonts->Build();
  }
  ImGui_ImplSDLRenderer_CreateFontsTexture();
  io.Fonts->ClearTexData();  // the texture has the pixels now
  fontsStale_ = false;
}

// ============================================================ [SECTION] Frames

bool SdlBackend::UiWanted() const {
  return toolbarVisible_ || box_ || menu_ || devPanel_ || !notice_.empty();
}

void SdlBackend::UiFrame() {
  ImGui::SetCurrentContext(uiContext_);
  if (fontsStale_) RebuildFonts();
  ImGuiIO& io = ImGui::GetIO();
  io.DisplaySize = ImVec2(static_cast<float>(outputW_), static_cast<float>(outputH_));
  io.DisplayFramebufferScale = ImVec2(1.0f, 1.0f);
  const uint64_t now = SDL_GetPerformanceCounter();
  const double seconds =
      lastUiTime_ ? static_cast<double>(now - lastUiTime_) / SDL_GetPerformanceFrequency() : 0.0;
  io.DeltaTime = static_cast<float>(std::clamp(seconds, 1e-4, 1.0));
  lastUiTime_ = now;

  ImGui_ImplSDLRenderer_NewFrame();
  ImGui::NewFrame();
  if (toolbarVisible_) DrawToolbar();
  if (devPanel_) devPanel_->Draw(DevPanelRect(), !modal_);
  if (!notice_.empty()) DrawNotice();
  if (box_) DrawMessageBox();
  if (menu_) DrawMenu();
  ImGui::Render();
  uiFrameHash_ = DrawDataHash();
}

bool SdlBackend::RunUiFrames(int minFrames) {
  if (!uiContext_) return false;
  if (!UiWanted()) {
    uiFrameHash_ = 0;
    return uiFrameHash_ != uiPresentedHash_;
  }
  // A frame that draws what the one before drew means ImGui has settled;
  // windows that size themselves need a frame or two more when they appear.
  uint64_t previous = uiFrameHash_;
  for (int i = 0; i < 6; ++i) {
    UiFrame();
    if (i + 1 >= minFrames && uiFrameHash_ == previous) break;
    previous = uiFrameHash_;
  }
  return uiFrameHash_ != uiPresentedHash_;
}

void SdlBackend::RenderUi() {
  ImGui::SetCurrentContext(uiContext_);
  if (ImDrawData* dd = ImGui::GetDrawData()) ImGui_ImplSDLRenderer_RenderDrawData(dd);
}

// ============================================================ [SECTION] Input

void SdlBackend::FeedUiMouse(int type, int x, int y, int button) {
  ImGui::SetCurrentContext(uiContext_);
  ImGuiIO& io = ImGui::GetIO();
  io.MousePos = ImVec2(static_cast<float>(x), static_cast<float>(y));
  if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
    const int index = button == SDL_BUTTON_LEFT ? 0 : button == SDL_BUTTON_RIGHT ? 1 : -1;
    if (index >= 0) io.MouseDown[index] = type == SDL_MOUSEBUTTONDOWN;
  }
}

void SdlBackend::FeedUiPointer(int type, int x, int y, int button) {
  if (type == SDL_MOUSEMOTION) {
    FeedUiMouse(type, x, y, 0);
    uiDirty_ = true;  // drawn at the next quiet moment
    return;
  }
  // ImGui finds the widget under the pointer from the frame before, so the
  // pointer is settled in a frame of its own before the button changes; the
  // press and the release then get a frame each, so a quick click is seen
  // whole.
  FeedUiMouse(SDL_MOUSEMOTION, x, y, 0);
  if (RunUiFrames()) needRender_ = true;
  FeedUiMouse(type, x, y, button);
  if (RunUiFrames()) needRender_ = true;
  uiDirty_ = false;
}

void SdlBackend::FeedUiKey(const SDL_KeyboardEvent& key) {
  ImGui::SetCurrentContext(uiContext_);
  ImGuiIO& io = ImGui::GetIO();
  const int scancode = key.keysym.scancode;
  if (scancode >= 0 && scancode < IM_ARRAYSIZE(io.KeysDown))
    io.KeysDown[scancode] = key.type == SDL_KEYDOWN;
  io.KeyShift = (key.keysym.mod & KMOD_SHIFT) != 0;
  io.KeyCtrl = (key.keysym.mod & KMOD_CTRL) != 0;
  io.KeyAlt = (key.keysym.mod & KMOD_ALT) != 0;
}

// ============================================================ [SECTION] Tool bar

void SdlBackend::DrawToolbar() {
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(outputW_), kToolbarHeight));
  ImGuiWindowFlags flags =
      ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
      ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoFocusOnAppearing |
      ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoScrollWithMouse;
  // The main window takes no input while a dialog is up.
  if (modal_) flags |= ImGuiWindowFlags_NoInputs;
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(2, 1));
  ImGui::PushFont(toolbarFont_);
  ImGui::Begin("##toolbar", nullptr, flags);
  for (const ToolbarButtonDef& def : kToolbarButtons) {
    const PixelRect r = ToolbarButtonRect(def.button);
    ImGui::SetCursorPos(ImVec2(static_cast<float>(r.x), static_cast<float>(r.y)));
    const bool enabled = toolbarEnabled_[0] && toolbarEnabled_[def.button];
    ImGui::BeginDisabled(!enabled);
    if (ImGui::Button(def.caption, ImVec2(static_cast<float>(r.w), static_cast<float>(r.h))) &&
        enabled && !modal_) {
      Event e;
      e.type = EventType::ToolbarButton;
      e.button = def.button;
      Push(e);
    }
    ImGui::EndDisabled();
  }
  ImGui::End();
  ImGui::PopFont();
  ImGui::PopStyleVar(3);
}

// ============================================================ [SECTION] Message box

void SdlBackend::Notice(const std::string& text) {
  notice_ = text;
  RequireGlyphs(text);
  // Before the first frame the tool bar's start brings up ImGui (FlushDeferred).
  if (UiReady()) uiDirty_ = true;
  needRender_ = true;
}

void SdlBackend::DismissNotice() {
  if (notice_.empty()) return;
  notice_.clear();
  if (UiReady()) uiDirty_ = true;
  needRender_ = true;
}

void SdlBackend::DrawNotice() {
  const PixelRect r = area_;
  ImGui::PushFont(toolbarFont_);
  // Sized here rather than by ImGui, which would hide the window for the
  // frame in which it first measures it.
  const ImVec2 pad = ImGui::GetStyle().WindowPadding;
  const float width = static_cast<float>(r.w);
  const ImVec2 text =
      ImGui::CalcTextSize(notice_.c_str(), nullptr, false, std::max(1.0f, width - 2 * pad.x));
  const float height = std::min(text.y + 2 * pad.y, static_cast<float>(r.h));
  ImGui::SetNextWindowPos(ImVec2(static_cast<float>(r.x), static_cast<float>(r.y + r.h) - height));
  ImGui::SetNextWindowSize(ImVec2(width, height));
  ImGui::SetNextWindowBgAlpha(0.9f);
  ImGui::Begin("##notice", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoNav |
                   ImGuiWindowFlags_NoInputs);
  ImGui::TextWrapped("%s", notice_.c_str());
  ImGui::End();
  ImGui::PopFont();
}

void SdlBackend::DrawMessageBox() {
  BoxState& b = *box_;
  ImGui::PushFont(dialogFont_);
  ImGui::SetNextWindowPos(ImVec2(outputW_ * 0.5f, outputH_ * 0.5f), ImGuiCond_Always,
                          ImVec2(0.5f, 0.5f));
  const std::string title = b.caption + "###zkmessagebox";
  ImGui::Begin(title.c_str(), nullptr,
               ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoNav);
  ImGui::Spacing();
  if (b.icon != MsgIcon::None) {
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const float r = 14.0f;
    const ImVec2 c(p.x + r, p.y + r);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImU32 white = IM_COL32(255, 255, 255, 255);
    if (b.icon == MsgIcon::Error) {
      dl->AddCircleFilled(c, r, IM_COL32(200, 40, 40, 255));
      dl->AddLine(ImVec2(c.x - 6, c.y - 6), ImVec2(c.x + 6, c.y + 6), white, 3.0f);
      dl->AddLine(ImVec2(c.x - 6, c.y + 6), ImVec2(c.x + 6, c.y - 6), white, 3.0f);
    } else {
      dl->AddCircleFilled(c, r, IM_COL32(40, 90, 200, 255));
      const char* mark = b.icon == MsgIcon::Question ? "?" : "i";
      const ImVec2 size = ImGui::CalcTextSize(mark);
      dl->AddText(ImVec2(c.x - size.x * 0.5f, c.y - size.y * 0.5f), white, mark);
    }
    ImGui::Dummy(ImVec2(2 * r, 2 * r));
    ImGui::SameLine(0.0f, 12.0f);
  }
  ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + kMessageWrapPx);
  ImGui::TextUnformatted(b.text.c_str(), b.text.c_str() + b.text.size());
  ImGui::PopTextWrapPos();
  ImGui::Spacing();
  ImGui::Spacing();

  const ImGuiStyle& style = ImGui::GetStyle();
  float total = 0.0f;
  std::vector<float> widths;
  for (MsgResult c : b.choices) {
    widths.push_back(std::max(80.0f, ImGui::CalcTextSize(ButtonCaption(c)).x + 24.0f));
    total += widths.back();
  }
  total += style.ItemSpacing.x * static_cast<float>(b.choices.size() - 1);
  const float avail = ImGui::GetContentRegionAvail().x;
  if (avail > total) ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (avail - total) * 0.5f);
  for (size_t i = 0; i < b.choices.size(); ++i) {
    if (i > 0) ImGui::SameLine();
    const bool focused = static_cast<int>(i) == b.focus;
    if (focused) {
      ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
      ImGui::PushStyleColor(ImGuiCol_Border, IM_COL32(30, 90, 200, 255));
    }
    if (ImGui::Button(ButtonCaption(b.choices[i]), ImVec2(widths[i], 0.0f)))
      b.result = b.choices[i];
    if (focused) {
      ImGui::PopStyleColor();
      ImGui::PopStyleVar();
    }
  }
  ImGui::End();
  ImGui::PopFont();
}

void SdlBackend::HandleBoxKey(SDL_Keycode sym) {
  BoxState& b = *box_;
  const int n = static_cast<int>(b.choices.size());
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
      b.result = b.choices[b.focus];
      break;
    case SDLK_ESCAPE:
      b.result = b.escape;
      break;
    case SDLK_LEFT:
    case SDLK_UP:
      b.focus = (b.focus + n - 1) % n;
      break;
    case SDLK_RIGHT:
    case SDLK_DOWN:
    case SDLK_TAB:
      b.focus = (b.focus + 1) % n;
      break;
    case SDLK_y:
    case SDLK_n:
      // The accelerators of the yes and no buttons.
      if (b.choices.front() == MsgResult::Yes)
        b.result = sym == SDLK_y ? MsgResult::Yes : MsgResult::No;
      break;
    default:
      break;
  }
}

MsgResult SdlBackend::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) {
  BoxState b;
  b.text = text;
  b.caption = caption;
  b.icon = icon;
  switch (buttons) {
    case MsgButtons::Ok:
      b.choices = {MsgResult::Ok};
      b.escape = MsgResult::Ok;
      break;
    case MsgButtons::OkCancel:
      b.choices = {MsgResult::Ok, MsgResult::Cancel};
      b.escape = MsgResult::Cancel;
      break;
    case MsgButtons::YesNo:
      b.choices = {MsgResult::Yes, MsgResult::No};
      b.escape = MsgResult::No;
      break;
  }
  // One dialog at a time; a second one asked for meanwhile is dismissed.
  if (modal_ || !EnsureUi()) return b.escape;
  const MsgResult escape = b.escape;
  box_ = std::move(b);
  RequireGlyphs(text);
  RequireGlyphs(caption);
  WantDialogFont();
  RunModal([this] { return box_->result.has_value(); });
  const MsgResult result = box_->result.value_or(escape);
  box_.reset();
  EndModal();
  return result;
}

// ============================================================ [SECTION] Popup menu

void SdlBackend::DrawMenu() {
  MenuState& m = *menu_;
  ImGui::PushFont(dialogFont_);
  // Keep the whole menu inside the window once its size is known.
  int x = m.x, y = m.y;
  if (m.rect.w > 0) {
    x = std::clamp(x, 0, std::max(0, outputW_ - m.rect.w));
    y = std::clamp(y, 0, std::max(0, outputH_ - m.rect.h));
  }
  ImGui::SetNextWindowPos(ImVec2(static_cast<float>(x), static_cast<float>(y)));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(6, 6));
  ImGui::Begin("##zkmenu", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize |
                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoNav);
  m.itemRects.assign(m.items.size(), PixelRect{});
  for (size_t i = 0; i < m.items.size(); ++i) {
    const MenuItem& item = m.items[i];
    if (!item.visible) continue;
    if (item.caption.empty()) {
      ImGui::Separator();
      continue;
    }
    ImGui::BeginDisabled(!item.enabled);
    const std::string label = item.caption + "##" + std::to_string(i);
    ImGui::Selectable(label.c_str(), m.highlight == static_cast<int>(i), 0, ImVec2(0.0f, 0.0f));
    ImGui::EndDisabled();
    const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
    m.itemRects[i] = {static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x - a.x),
                      static_cast<int>(b.y - a.y)};
  }
  const ImVec2 pos = ImGui::GetWindowPos(), size = ImGui::GetWindowSize();
  m.rect = {static_cast<int>(pos.x), static_cast<int>(pos.y), static_cast<int>(size.x),
            static_cast<int>(size.y)};
  ImGui::End();
  ImGui::PopStyleVar();
  ImGui::PopFont();
}

namespace {

bool Selectable(const MenuItem& item) {
  return item.visible && item.enabled && !item.caption.empty();
}

}  // namespace

int SdlBackend::MenuItemAt(int x, int y) const {
  const MenuState& m = *menu_;
  for (size_t i = 0; i < m.itemRects.size(); ++i) {
    if (Selectable(m.items[i]) && m.itemRects[i].Contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

PixelRect SdlBackend::MenuItemRect(int index) const {
  if (!menu_ || index < 0 || index >= static_cast<int>(menu_->itemRects.size())) return {};
  return menu_->itemRects[index];
}

void SdlBackend::HandleMenuKey(SDL_Keycode sym) {
  MenuState& m = *menu_;
  const int n = static_cast<int>(m.items.size());
  switch (sym) {
    case SDLK_ESCAPE:
      m.result = -1;
      break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
      if (m.highlight >= 0) m.result = m.highlight;
      break;
    case SDLK_UP:
    case SDLK_DOWN: {
      // Step to the next choosable row, wrapping around as menus do.
      const int step = sym == SDLK_DOWN ? 1 : n - 1;
      int i = m.highlight < 0 ? (sym == SDLK_DOWN ? n - 1 : 0) : m.highlight;
      for (int k = 0; k < n; ++k) {
        i = (i + step) % n;
        if (Selectable(m.items[i])) {
          m.highlight = i;
          break;
        }
      }
      break;
    }
    default:
      break;
  }
}

void SdlBackend::HandleMenuMouse(int type, int x, int y) {
  MenuState& m = *menu_;
  switch (type) {
    case SDL_MOUSEMOTION:
      if (x != m.openX || y != m.openY) m.armed = true;
      m.highlight = MenuItemAt(x, y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      // A press outside the menu closes it and goes nowhere else.
      if (!m.rect.Contains(x, y))
        m.result = -1;
      else
        m.armed = true;
      break;
    case SDL_MOUSEBUTTONUP:
      // The release of the press that opened the menu chooses nothing
      // unless the pointer has moved since.
      if (m.armed) {
        const int i = MenuItemAt(x, y);
        if (i >= 0) m.result = i;
      }
      break;
    default:
      break;
  }
}

int SdlBackend::PopupMenu(const std::vector<MenuItem>& items, int x, int y) {
  bool any = false;
  for (const MenuItem& item : items) any = any || Selectable(item);
  if (!any || modal_ || !EnsureUi()) return -1;
  MenuState m;
  m.items = items;
  GameToWindow(PictureRect(), x, y, m.x, m.y);
  SDL_GetMouseState(&m.openX, &m.openY);
  ToOutput(m.openX, m.openY);
  menu_ = std::move(m);
  for (const MenuItem& item : items) RequireGlyphs(item.caption);
  WantDialogFont();
  RunModal([this] { return menu_->result.has_value(); });
  const int result = menu_->result.value_or(-1);
  menu_.reset();
  EndModal();
  return result;
}

// ============================================================ [SECTION] Modal loop

void SdlBackend::HandleModalEvent(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_QUIT:
      break;  // the window cannot close while a dialog is up
    case SDL_WINDOWEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      Translate(ev);
      break;
    case SDL_KEYDOWN:
      FeedUiKey(ev.key);
      if (box_) HandleBoxKey(ev.key.keysym.sym);
      if (menu_) HandleMenuKey(ev.key.keysym.sym);
      uiDirty_ = true;
      break;
    case SDL_KEYUP: {
      FeedUiKey(ev.key);
      // The game hears the release after the dialog, so a held key (Ctrl
      // for skipping) does not stay down for it.
      const int key = TranslateSdlKey(ev.key.keysym.sym);
      if (key != kKeyNone) {
        Event e;
        e.type = EventType::KeyUp;
        e.key = key;
        afterModal_.push_back(e);
      }
      break;
    }
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool motion = ev.type == SDL_MOUSEMOTION;
      int x = motion ? ev.motion.x : ev.button.x;
      int y = motion ? ev.motion.y : ev.button.y;
      ToOutput(x, y);
      const int button = motion ? 0 : ev.button.button;
      if (ev.type == SDL_MOUSEBUTTONUP) {
        const int bit = button == SDL_BUTTON_LEFT ? 1 : button == SDL_BUTTON_RIGHT ? 2 : 0;
        if (bit && (engineButtons_ & bit)) {
          // A press the game saw before the dialog: it gets the release after it.
          engineButtons_ &= ~bit;
          Event e;
          e.type = EventType::MouseUp;
          e.right = bit == 2;
          WindowToGame(area_, x, y, e.x, e.y);
          ClampToGame(e.x, e.y);
          afterModal_.push_back(e);
        }
      }
      if (menu_) HandleMenuMouse(ev.type, x, y);
      FeedUiPointer(ev.type, x, y, button);
      break;
    }
    default:
      break;
  }
}

template <class Done>
void SdlBackend::RunModal(Done done) {
  modal_ = true;
  toolbarCapture_ = false;
  pointerInToolbar_ = false;
  if (RunUiFrames(3)) needRender_ = true;
  needRender_ = true;
  while (!done()) {
    FlushDeferred();
    if (done()) break;
    // Like a modal loop of the window system, this one still runs the
    // window's timer; input goes to the dialog only.
    if (TimerDue()) {
      ConsumeTimerTick();
      if (Sink()) Sink()->HandleTimer();
      continue;
    }
    WaitForSdlEvent(TimerEnabled() ? NextTimerDue() : UINT32_MAX);
    SDL_Event ev;
    while (!done() && SDL_PollEvent(&ev)) HandleModalEvent(ev);
  }
}

void SdlBackend::EndModal() {
  modal_ = false;
  for (Event& e : afterModal_) pending_.push_back(std::move(e));
  afterModal_.clear();
  needRender_ = true;
  uiDirty_ = true;
  FlushDeferred();
}

}  // namespace platform
