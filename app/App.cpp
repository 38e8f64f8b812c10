#include "app/App.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/SingleInstance.h"
#include "base/Files.h"
#include "core/StateDump.h"
#include "core/TForm1.h"
#include "platform/headless/Headless.h"
#include "platform/sdl/FontRasterFreetype.h"
#include "resources/Png.h"
#if __has_include("platform/sdl/SdlPlatform.h")
#include "platform/sdl/SdlPlatform.h"
#define ZK_HAVE_SDL 1
#endif

namespace zk {

namespace {

std::string ExecutableDir() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

bool WriteScreenshot(platform::Display& d, const std::string& path) {
  std::vector<uint8_t> png;
  if (!EncodePng(d.Frame(), platform::kScreenWidth, platform::kScreenHeight,
                 platform::kScreenStride, png))
    return false;
  return WriteFileAtomic(path, png.data(), png.size());
}

bool WriteDump(const TForm1& f, const std::string& path) {
  std::string json = DumpStateJson(f);
  json += '\n';
  return WriteFileAtomic(path, json.data(), json.size());
}

int RunForm(platform::Platform& plat, const Options& o) {
  RunConfig config;
  config.GameDir = o.gameDir.empty() ? ExecutableDir() + "/games/demo" : o.gameDir;
  config.SaveDir = o.saveDir;
  config.ConfigDir = o.configDir;
  config.DisplayOverride = o.displayOverride;

  TForm1 form(plat, config);
  bool outputFailed = false;
  form.HarnessEvent = [&](const platform::Event& e) {
    bool ok = e.type == platform::EventType::Dump ? WriteDump(form, e.text)
                                                  : WriteScreenshot(*plat.display, e.text);
    if (!ok) {
      std::fprintf(stderr, "zelkor: cannot write %s\n", e.text.c_str());
      outputFailed = true;
    }
  };
  form.FormCreate();
  LoopLimits limits;
  limits.RunMs = o.runMs;
  // A headless run without limits stops when the game waits for input that
  // will never come.
  limits.UntilIdle = o.untilIdle || (o.headless && o.runMs < 0);
  form.Run(limits);

  if (!o.dumpState.empty() && !WriteDump(form, o.dumpState)) {
    std::fprintf(stderr, "zelkor: cannot write %s\n", o.dumpState.c_str());
    outputFailed = true;
  }
  if (!o.screenshot.empty() && !WriteScreenshot(*plat.display, o.screenshot)) {
    std::fprintf(stderr, "zelkor: cannot write %s\n", o.screenshot.c_str());
    outputFailed = true;
  }
  if (!form.FatalError.empty()) {
    std::fprintf(stderr, "zelkor: %s\n", form.FatalError.c_str());
    return kExitGameError;
  }
  return outputFailed ? kExitGameError : kExitOk;
}

}  // namespace

int RunApp(const Options& o) {
  if (o.headless) {
    platform::HeadlessClock clock;
    platform::HeadlessDisplay display;
    platform::HeadlessUi ui;
    if (!o.eventsFile.empty()) {
      std::string text, error;
      std::vector<platform::TimedEvent> events;
      if (!ReadWholeFile(o.eventsFile, text)) {
        std::fprintf(stderr, "zelkor: cannot read events file %s\n", o.eventsFile.c_str());
        return kExitUsage;
      }
      if (!platform::ParseEventScript(text, events, error)) {
        std::fprintf(stderr, "zelkor: %s: %s\n", o.eventsFile.c_str(), error.c_str());
        return kExitUsage;
      }
      clock.AddEvents(events);
    }
    auto fonts = platform::CreateFreetypeFontRaster();
    platform::Platform plat{&clock, &display, &ui, true, fonts.get()};
    return RunForm(plat, o);
  }

  if (!AcquireSingleInstance()) return kExitOtherInstance;
#ifdef ZK_HAVE_SDL
  std::string error;
  platform::SdlOptions sdlOptions;
  sdlOptions.title = "Zelkor";
  auto sdl = platform::SdlPlatform::Create(sdlOptions, error);
  if (!sdl) {
    std::fprintf(
        stderr,
        "zelkor: cannot open a window (%s).\n"
        "Run without a display with --headless, for example:\n"
        "  zelkor --headless --run-ms 5000 --screenshot shot.png --dump-state state.json\n",
        error.c_str());
    return kExitNoDisplay;
  }
  auto fonts = platform::CreateFreetypeFontRaster();
  platform::Platform plat{&sdl->GetClock(), &sdl->GetDisplay(), &sdl->GetUi(), false, fonts.get()};
  // The developer panel exists only in a developer build.
  if (DevPanel::DeveloperBuild()) plat.devPanel = sdl->EnableDevPanel();
  // Settings or saves that cannot be kept are shown in the window too.
  platform::Ui& ui = sdl->GetUi();
  SetFileProblemSink([&ui](const std::string& message) { ui.Notice(message); });
  const int code = RunForm(plat, o);
  SetFileProblemSink(nullptr);
  return code;
#else
  std::fprintf(stderr, "zelkor: this build has no window support; use --headless\n");
  return kExitNoDisplay;
#endif
}

}  // namespace zk
