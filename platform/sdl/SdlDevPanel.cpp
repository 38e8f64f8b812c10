// [SECTION] The developer panel: a column of Dear ImGui widgets at the right
// of the window.
//
// Like the tool bar it is drawn only when something it shows can have
// changed: a new snapshot from the engine, the pointer over it, typing into
// its box. Its widgets show the snapshot; a click becomes a DevPanel event
// for the engine, whose next snapshot shows the result.
#include "platform/sdl/SdlDevPanel.h"

#include <imgui.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/SdlPlatform.h"

namespace platform {

namespace {

constexpr const char* kCaptions[] = {
    "Script Editor",
    "編集有効",
    "Flag Editor",
    "Script Selector",
    "Trace Mode",
    "Name",
    "Value",
    "Condition",
    "Add ->",
    "Del",
    "RealTime Watcher Enable",
};

PixelRect LastItemRect() {
  const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
  return {static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x - a.x),
          static_cast<int>(b.y - a.y)};
}

}  // namespace

// ============================================================ [SECTION] The view

void SdlDevPanel::Show(const DevPanelSnapshot& snapshot) {
  if (!first_ && snapshot == shown_) return;
  shown_ = snapshot;
  if (first_) {
    // The box starts with the engine's text; from then on the engine's copy
    // follows the box (a snapshot can lag behind what was typed meanwhile).
    first_ = false;
    const size_t n = std::min(snapshot.edit1.size(), edit_.size() - 1);
    std::memcpy(edit_.data(), snapshot.edit1.data(), n);
    edit_[n] = '\0';
    reported_.assign(edit_.data());
  }
  for (const DevPanelRow& row : shown_.watches) {
    backend_.RequireGlyphs(row.name);
    backend_.RequireGlyphs(row.value);
    backend_.RequireGlyphs(row.condition);
  }
  backend_.RequireGlyphs(shown_.edit1);
  if (backend_.UiReady()) backend_.uiDirty_ = true;
}

void SdlDevPanel::Act(DevPanelAction action, int value, std::string text) {
  backend_.Push(MakeDevPanelEvent(action, value, std::move(text)));
}

void SdlDevPanel::Record(std::string name) {
  rects_.emplace_back(std::move(name), LastItemRect());
}

PixelRect SdlDevPanel::WidgetRect(std::string_view name) const {
  for (const auto& [n, r] : rects_)
    if (n == name) return r;
  return {};
}

// ============================================================ [SECTION] Drawing

void SdlDevPanel::Draw(const PixelRect& rect, bool inputs) {
  ImGuiIO& io = ImGui::GetIO();
  // A blinking cursor would need frames while nothing happens.
  io.ConfigInputTextCursorBlink = false;
  if (dropFocus_) {
    dropFocus_ = false;
    ImGui::SetWindowFocus(nullptr);
  }
  rects_.clear();

  ImGui::SetNextWindowPos(ImVec2(static_cast<float>(rect.x), static_cast<float>(rect.y)));
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(rect.w), static_cast<float>(rect.h)));
  ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                           ImGuiWindowFlags_NoSavedSettings |
                           ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoNav;
  if (!inputs) flags |= ImGuiWindowFlags_NoInputs;
  ImGui::PushFont(backend_.toolbarFont_);
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(8, 8));
  ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(6, 5));
  ImGui::Begin("##zkdevpanel", nullptr, flags);
  const float width = ImGui::GetContentRegionAvail().x;
  const ImVec2 full(width, 0.0f);

  // The tools. "Script Editor" waits for "編集有効".
  ImGui::BeginDisabled(!shown_.editEnabled);
  if (ImGui::Button("Script Editor", ImVec2(width * 0.5f, 0.0f))) Act(DevPanelAction::ScriptEditor);
  ImGui::EndDisabled();
  Record("Button1");
  ImGui::SameLine();
  bool on = shown_.editEnabled;
  if (ImGui::Checkbox("編集有効", &on)) Act(DevPanelAction::EditEnable, on);
  Record("CheckBox3");
  if (ImGui::Button("Flag Editor", full)) Act(DevPanelAction::FlagEditor);
  Record("Button2");
  if (ImGui::Button("Script Selector", full)) Act(DevPanelAction::ScriptSelector);
  Record("Button3");
  on = shown_.traceMode;
  if (ImGui::Checkbox("Trace Mode", &on)) Act(DevPanelAction::TraceMode, on);
  Record("CheckBox2");
  ImGui::Spacing();

  // The watch list fills what the box and the last check box leave.
  const float below = ImGui::GetFrameHeightWithSpacing() * 2.0f;
  const float listH = std::max(ImGui::GetContentRegionAvail().y - below, 60.0f);
  const ImGuiTableFlags tableFlags = ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg |
                                     ImGuiTableFlags_ScrollY | ImGuiTableFlags_SizingStretchProp;
  if (ImGui::BeginTable("ListView1", 3, tableFlags, ImVec2(width, listH))) {
    ImGui::TableSetupScrollFreeze(0, 1);
    ImGui::TableSetupColumn("Name", ImGuiTableColumnFlags_WidthStretch, 1.0f);
    ImGui::TableSetupColumn("Value", ImGuiTableColumnFlags_WidthStretch, 1.2f);
    ImGui::TableSetupColumn("Condition", ImGuiTableColumnFlags_WidthStretch, 1.0f);
    ImGui::TableHeadersRow();
    for (size_t i = 0; i < shown_.watches.size(); ++i) {
      const DevPanelRow& row = shown_.watches[i];
      const int index = static_cast<int>(i);
      ImGui::TableNextRow();
      ImGui::TableSetColumnIndex(0);
      const std::string label = row.name + "##row" + std::to_string(i);
      if (ImGui::Selectable(label.c_str(), shown_.selected == index,
                            ImGuiSelectableFlags_SpanAllColumns))
        Act(DevPanelAction::SelectWatch, index);
      Record("Row" + std::to_string(i));
      ImGui::TableSetColumnIndex(1);
      ImGui::TextUnformatted(row.value.c_str(), row.value.c_str() + row.value.size());
      ImGui::TableSetColumnIndex(2);
      ImGui::TextUnformatted(row.condition.c_str(), row.condition.c_str() + row.condition.size());
    }
    ImGui::EndTable();
  }

  // The name box, "Add ->" and "Del". Enter in the box adds as well.
  const ImGuiStyle& style = ImGui::GetStyle();
  const float addW = ImGui::CalcTextSize("Add ->").x + style.FramePadding.x * 2.0f;
  const float delW = ImGui::CalcTextSize("Del").x + style.FramePadding.x * 2.0f + 8.0f;
  ImGui::SetNextItemWidth(std::max(width - addW - delW - style.ItemSpacing.x * 2.0f, 40.0f));
  ImGui::InputText("##Edit1", edit_.data(), edit_.size(), ImGuiInputTextFlags_CharsNoBlank);
  typing_ = ImGui::IsItemActive();
  const bool entered = ImGui::IsItemDeactivated() &&
                       (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false) ||
                        ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter), false));
  Record("Edit1");
  if (reported_ != edit_.data()) {
    reported_.assign(edit_.data());
    backend_.RequireGlyphs(reported_);
    Act(DevPanelAction::EditText, 0, reported_);
  }
  if (entered) Act(DevPanelAction::AddWatch);
  ImGui::SameLine();
  if (ImGui::Button("Add ->", ImVec2(addW, 0.0f))) Act(DevPanelAction::AddWatch);
  Record("Button4");
  ImGui::SameLine();
  ImGui::BeginDisabled(shown_.selected < 0);
  if (ImGui::Button("Del", ImVec2(delW, 0.0f))) Act(DevPanelAction::DeleteWatch);
  ImGui::EndDisabled();
  Record("Button5");
  on = shown_.realTimeWatch;
  if (ImGui::Checkbox("RealTime Watcher Enable", &on)) Act(DevPanelAction::RealTimeWatch, on);
  Record("CheckBox1");

  ImGui::End();
  ImGui::PopStyleVar(2);
  ImGui::PopFont();

  // Characters arrive as text input only while the box has the keyboard.
  if (typing_ != (SDL_IsTextInputActive() == SDL_TRUE)) {
    if (typing_)
      SDL_StartTextInput();
    else
      SDL_StopTextInput();
  }
}

// ============================================================ [SECTION] Backend side

DevPanelView* SdlBackend::EnableDevPanel() {
  if (devPanel_) return devPanel_.get();
  devPanel_ = std::make_unique<SdlDevPanel>(*this);
  for (const char* caption : kCaptions) RequireGlyphs(caption);
  // The window grows by the column, so the game keeps its unscaled picture.
  if (fullScreen_) {
    savedW_ += kDevPanelWidth;
  } else {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    SDL_SetWindowSize(window_, w + kDevPanelWidth, h);
  }
  SDL_SetWindowMinimumSize(window_, kMinPictureWidth + kDevPanelWidth,
                           kMinPictureHeight + kToolbarReserve);
  // Grown to the right, the window may now reach past the display's edge.
  if (!fullScreen_) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    PlaceOnDisplay(x, y);
  }
  UpdateLayout();
  needRender_ = true;
  if (UiReady()) uiDirty_ = true;
  return devPanel_.get();
}

int SdlBackend::DevPanelWidth() const {
  return devPanel_ ? std::min(kDevPanelWidth, outputW_) : 0;
}

PixelRect SdlBackend::DevPanelRect() const {
  if (!devPanel_) return {};
  // Below the tool bar strip in a window; the whole height in full screen.
  const int top = fullScreen_ ? 0 : kToolbarReserve;
  const int w = DevPanelWidth();
  return {outputW_ - w, top, w, std::max(outputH_ - top, 0)};
}

PixelRect SdlBackend::DevPanelWidgetRect(std::string_view name) const {
  return devPanel_ ? devPanel_->WidgetRect(name) : PixelRect{};
}

bool SdlBackend::DevPanelTakesKey(const SDL_KeyboardEvent& key) {
  if (!devPanel_ || !devPanel_->Typing() || modal_) return false;
  uiDirty_ = true;
  // Releases go to the game too, so a key held before typing began is not
  // left down there.
  if (key.type != SDL_KEYDOWN) return false;
  // The press gets a frame of its own, before its release can arrive.
  if (RunUiFrames()) needRender_ = true;
  return true;
}

void SdlBackend::DevPanelText(const char* utf8) {
  if (!devPanel_ || !devPanel_->Typing() || !UiReady() || modal_) return;
  ImGui::SetCurrentContext(uiContext_);
  ImGui::GetIO().AddInputCharactersUTF8(utf8);
  RequireGlyphs(utf8);
  // In a frame of its own, as key presses are, so the two keep their order.
  if (RunUiFrames()) needRender_ = true;
}

bool SdlBackend::DevPanelTakesWheel(int dy) {
  if (!devPanel_ || !UiReady() || !pointerInToolbar_) return false;
  ImGui::SetCurrentContext(uiContext_);
  ImGuiIO& io = ImGui::GetIO();
  if (!DevPanelRect().Contains(static_cast<int>(io.MousePos.x), static_cast<int>(io.MousePos.y)))
    return false;
  io.MouseWheel += static_cast<float>(dy);
  uiDirty_ = true;
  return true;
}

void SdlBackend::DevPanelPressElsewhere() {
  if (!devPanel_ || !devPanel_->Typing()) return;
  devPanel_->DropFocus();
  uiDirty_ = true;
}

DevPanelView* SdlPlatform::EnableDevPanel() {
  return backend_->EnableDevPanel();
}

}  // namespace platform
