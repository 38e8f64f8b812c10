// A main window on the headless platform with a display that records what
// every present shows, and pictures made in code.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "platform/headless/Headless.h"

namespace zk {

// What a presented frame showed, compared with two reference pictures.
enum class Shown { Old, New, Other };

class RecordingDisplay : public platform::HeadlessDisplay {
 public:
  explicit RecordingDisplay(platform::HeadlessClock& clock) : clock_(clock) {}

  void Present() override {
    HeadlessDisplay::Present();
    const std::vector<uint8_t>& f = FrameBytes();
    Shown s = Shown::Other;
    if (oldRef && std::memcmp(f.data(), oldRef->Pixels.data(), f.size()) == 0) s = Shown::Old;
    else if (newRef && std::memcmp(f.data(), newRef->Pixels.data(), f.size()) == 0) s = Shown::New;
    shown.push_back(s);
    if (static_cast<int>(kept.size()) < keepFrames) kept.push_back(f);
    if (presentCostMs) clock_.Advance(presentCostMs);
  }

  const Bitmap* oldRef = nullptr;
  const Bitmap* newRef = nullptr;
  std::vector<Shown> shown;
  std::vector<std::vector<uint8_t>> kept;  // the first keepFrames presented frames
  int keepFrames = 0;
  uint32_t presentCostMs = 0;  // a slow machine: each present takes this long

 private:
  platform::HeadlessClock& clock_;
};

// An 800 x 600 picture whose bytes vary with position and seed.
inline Bitmap Pattern(int seed, int w = 800, int h = 600) {
  Bitmap b;
  b.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x) b.Row(y)[x] = static_cast<uint8_t>((x * 7 + y * 13 + seed * 91) ^ (seed * 37));
  return b;
}

inline Bitmap Solid(int w, int h, uint8_t b, uint8_t g, uint8_t r) {
  Bitmap bmp;
  bmp.Resize(w, h);
  bmp.Fill(b, g, r);
  return bmp;
}

// Blue, green, red of pixel (x, y).
struct Bgr {
  int b, g, r;
  bool operator==(const Bgr&) const = default;
};
inline Bgr PixelAt(const Bitmap& bmp, int x, int y) {
  const uint8_t* p = bmp.Row(y) + 3 * x;
  return {p[0], p[1], p[2]};
}
inline std::ostream& operator<<(std::ostream& os, const Bgr& c) {
  return os << "(b " << c.b << ", g " << c.g << ", r " << c.r << ")";
}

struct GraphicsTest : ::testing::Test {
  platform::HeadlessClock clock;
  RecordingDisplay display{clock};
  platform::HeadlessUi ui;
  platform::Platform plat{&clock, &display, &ui, true};
  TForm1 form{plat, RunConfig{}};
  GraphicsState& g = form.Gfx;
  EngineState& s = form.State;

  void SetUp() override { clock.SetSink(&form); }

  // The window shows oldPic (also the previous-frame surface); the scene
  // surface holds newPic.
  void PrepareSwap(const Bitmap& oldPic, const Bitmap& newPic) {
    g.Previous = oldPic;
    g.Scene = newPic;
    std::memcpy(display.Frame(), oldPic.Pixels.data(), oldPic.Pixels.size());
    display.oldRef = &g.Previous;
    display.newRef = &g.Scene;
    display.shown.clear();
  }
  Bitmap Window() {
    Bitmap b;
    b.Resize(800, 600);
    std::memcpy(b.Pixels.data(), display.Frame(), b.Pixels.size());
    return b;
  }
  bool WindowEquals(const Bitmap& b) {
    return std::memcmp(display.Frame(), b.Pixels.data(), b.Pixels.size()) == 0;
  }
  void ClickAt(uint32_t ms) {
    platform::Event e;
    e.type = platform::EventType::MouseDown;
    e.x = 400;
    e.y = 300;
    clock.AddEvents({{ms, e}});
  }
};

}  // namespace zk
