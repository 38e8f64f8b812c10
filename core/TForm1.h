// TForm1: the main window object. It owns all engine state and runs the
// application: start-up, the idle pass, the 55 ms timer, input routing, the
// close query, painting and full screen.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/DevPanel.h"
#include "core/EngineState.h"
#include "core/Input.h"
#include "core/QuickButtons.h"
#include "graphics/GraphicsHost.h"
#include "graphics/GraphicsState.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "resources/Settings.h"
#include "script/ScriptHost.h"
#include "text/MessageWindow.h"
#include "text/TextHost.h"

namespace zk {

// Where the game and the player's files live, from the command line.
struct RunConfig {
  std::string GameDir;        // folder with the zk_*.zlk archives
  std::string SaveDir;        // empty: the per-user default
  std::string ConfigDir;      // empty: the per-user default
  int DisplayOverride = -1;   // -1 keep the setting, else the display mode to use
};

// When the application loop stops by itself (the harness's limits).
struct LoopLimits {
  int64_t RunMs = -1;      // stop at this (virtual) time; -1 never
  bool UntilIdle = false;  // stop when the game waits for the player and no input is left
};

class Wiring;

// The host interfaces of the subsystems below the engine core: each of them
// reaches the layers above it only through its host, which the core's wiring
// (core/Wiring.cpp) installs when the engine object is made.
struct SubsystemHosts {
  GraphicsHost* Graphics = nullptr;
  TextHost* Text = nullptr;
  ScriptHost* Script = nullptr;
};

class TForm1 : public platform::EventSink {
 public:
  TForm1(platform::Platform& plat, RunConfig config);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  platform::Platform& Plat;
  RunConfig Config;
  EngineState State;
  std::unique_ptr<platform::SettingsStore> Settings;  // created by start-up
  std::string FatalError;  // set by start-up when the game cannot run (UTF-8)
  bool VoiceStandIn = false;  // the voice channel until sound output is connected
  // [subsystem state] Subsystems add their state here.
  GameData Game;  // archives, game definition, persisted settings (resources/)
  InputState Input;               // key and wheel bookkeeping of the handlers
  MenuState Menus;                // tool bar and popup menu items
  QuickButtonPanel QuickButtons;  // the panel of the message window
  DevPanel Dev;                   // the developer panel
  GraphicsState Gfx;              // surfaces, character cache and layout (graphics/)
  SubsystemHosts Hosts;           // set by the wiring in the constructor
  TextState Text;                 // message window, glyphs, name plates, click-wait mark (text/)

  // ---- lifecycle (the form's handlers)
  void FormCreate();
  void AppIdle();
  void Timer1Timer();
  // The close query: true when the window may close.
  bool FormCloseQuery();
  void FormDestroy();
  void PBPaint();
  void EnterFullScreen();
  void LeaveFullScreen();
  // Closes the main window through the close query.
  void Close();
  bool Closed() const { return closed_; }

  // ---- input (routed by HandleEvent)
  void PBMouseDown(int x, int y, bool right);
  void PBMouseMove(int x, int y);
  void PBMouseUp(int x, int y, bool right);
  void FormKeyDown(int key);
  void FormKeyUp(int key);
  void FormKeyPress(int ch);
  void FormMouseWheel(int delta);
  void ToolbarButtonClick(int button);

  // platform::EventSink
  void HandleEvent(const platform::Event& e) override;
  void HandleTimer() override { Timer1Timer(); }

  // ---- the application loop
  // Runs until the window closes or a limit is reached; FormDestroy is run
  // when the window closed.
  void Run(const LoopLimits& limits);
  // False when an idle pass could not change anything (the game waits for the
  // player or the timer), so the loop may sleep until the next event.
  bool IdleWanted() const;
  // The game waits for the player (or has ended) and nothing else is pending.
  bool WaitingForPlayer() const;
  // How many of the next timer ticks would only count (no drawing, nothing an
  // idle pass or a sound depends on) if no input arrives before them. The
  // loop sleeps through those and runs them afterwards in a row, so a game
  // that waits for a click wakes only when its screen changes.
  int QuietTicks();
  // Events the harness handles itself (screenshot, dump, answer).
  std::function<void(const platform::Event&)> HarnessEvent;

  // Deterministic stand-in for the C library generator, drawn by the idle
  // pass and by the script random operator.
  int32_t Random() {
    // The classic C library linear congruential generator (15-bit results).
    randomState_ = randomState_ * 214013u + 2531011u;
    return static_cast<int32_t>((randomState_ >> 16) & 0x7FFF);
  }
  void SeedRandom(uint32_t seed) { randomState_ = seed; }

  // Last pointer position over the game screen.
  int PointerX = 0, PointerY = 0;
  bool PointerMoved = false;

 private:
  void StartRoutine();
  std::unique_ptr<Wiring> wiring_;  // installs Hosts
  bool closed_ = false;
  bool pointerOverScreen_ = true;
  uint32_t randomState_ = 1;
};

}  // namespace zk
