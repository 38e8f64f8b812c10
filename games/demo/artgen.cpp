// Draws the demo game's pictures: backgrounds, two characters with their
// masks, name plates and the system pictures of the message window, the quick
// buttons and the click-wait mark. Everything is computed, so the repository
// carries no binary art. Usage: demo_artgen OUT_DIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "base/Files.h"
#include "base/Utf8.h"
#include "platform/sdl/FontRasterFreetype.h"
#include "resources/Png.h"

namespace {

using zk::Bitmap;

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::fmin(1.0, std::fmax(0.0, t));
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(std::fmin(255.0, std::fmax(0.0, v + 0.5))); }

void Put(Bitmap& bmp, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= bmp.Width || y >= bmp.Height) return;
  uint8_t* p = bmp.Row(y) + 3 * x;
  p[0] = Clamp(c.b);
  p[1] = Clamp(c.g);
  p[2] = Clamp(c.r);
}

Rgb Get(const Bitmap& bmp, int x, int y) {
  const uint8_t* p = bmp.Row(y) + 3 * x;
  return {double(p[2]), double(p[1]), double(p[0])};
}

void Blend(Bitmap& bmp, int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= bmp.Width || y >= bmp.Height) return;
  Put(bmp, x, y, Mix(Get(bmp, x, y), c, a));
}

// Decodes UTF-8 into code points (the texts here are our own, so valid).
std::u32string Utf32(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t n = zk::DecodeUtf8(s, i, cp);
    out += cp;
    i += n ? n : 1;
  }
  return out;
}

// Draws text with the game's Gothic face, centred in the box (x, y, w, h);
// when opacity is given, the text's coverage is added to it too.
void Text(Bitmap& bmp, const std::string& utf8, int x, int y, int w, int h, int sizePx, Rgb c,
          Bitmap* opacity = nullptr, int opacityY = 0) {
  static auto raster = platform::CreateFreetypeFontRaster();
  raster->SetFont("ＭＳ Ｐゴシック", sizePx, true);
  std::vector<platform::GlyphImage> glyphs;
  int width = 0;
  for (char32_t cp : Utf32(utf8)) {
    platform::GlyphImage g;
    raster->RenderGlyph(cp, g);
    width += g.Advance;
    glyphs.push_back(std::move(g));
  }
  int pen = x + (w - width) / 2;
  const int baseline = y + (h + sizePx * 3 / 4) / 2;
  for (const platform::GlyphImage& g : glyphs) {
    for (int r = 0; r < g.Height; ++r)
      for (int k = 0; k < g.Width; ++k) {
        double a = g.Levels[r * g.Pitch + k] / 64.0;
        int px = pen + g.OriginX + k, py = baseline - g.OriginY + r;
        Blend(bmp, px, py, c, a);
        if (opacity) Blend(*opacity, px, opacityY + py, {255, 255, 255}, a);
      }
    pen += g.Advance;
  }
}

// A small deterministic generator so the pictures are the same on every build.
struct Rand {
  uint32_t s;
  double Next() {
    s = s * 1664525u + 1013904223u;
    return (s >> 8) / double(1 << 24);
  }
};

void Sky(Bitmap& bmp, Rgb top, Rgb bottom, int horizon) {
  for (int y = 0; y < bmp.Height; ++y)
    for (int x = 0; x < bmp.Width; ++x) Put(bmp, x, y, Mix(top, bottom, double(y) / horizon));
}

void Stars(Bitmap& bmp, int count, int maxY, uint32_t seed) {
  Rand r{seed};
  for (int i = 0; i < count; ++i) {
    int x = int(r.Next() * bmp.Width), y = int(r.Next() * maxY);
    double a = 0.4 + 0.6 * r.Next();
    Blend(bmp, x, y, {255, 250, 230}, a);
    if (r.Next() > 0.85) {
      for (int d = 1; d <= 2; ++d) {
        Blend(bmp, x + d, y, {255, 250, 230}, a / (d + 1));
        Blend(bmp, x - d, y, {255, 250, 230}, a / (d + 1));
        Blend(bmp, x, y + d, {255, 250, 230}, a / (d + 1));
        Blend(bmp, x, y - d, {255, 250, 230}, a / (d + 1));
      }
    }
  }
}

// Rolling hills: everything below the curve takes the ground colour.
void Hills(Bitmap& bmp, double base, double amp, double freq, double phase, Rgb near, Rgb far) {
  for (int x = 0; x < bmp.Width; ++x) {
    double h = base + amp * std::sin(x * freq + phase) + amp * 0.4 * std::sin(x * freq * 2.7 + 1.3);
    for (int y = 0; y < bmp.Height; ++y) {
      double d = y - h;
      if (d < -1) continue;
      double a = d < 0 ? d + 1 : 1.0;
      Blend(bmp, x, y, Mix(far, near, (y - h) / 200.0), a);
    }
  }
}

Bitmap SlopeAtDusk() {
  Bitmap b;
  b.Resize(800, 600);
  Sky(b, {40, 40, 110}, {250, 150, 90}, 420);
  Stars(b, 120, 200, 7);
  // The sun low over the far hills.
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      double d = std::hypot(x - 560.0, y - 380.0);
      if (d < 140) Blend(b, x, y, {255, 220, 150}, std::pow(1 - d / 140, 2));
    }
  Hills(b, 400, 22, 0.006, 0.5, {120, 90, 110}, {90, 70, 100});
  Hills(b, 470, 30, 0.004, 2.0, {60, 70, 60}, {80, 90, 80});
  // The slope road, widening toward the viewer.
  for (int y = 470; y < 600; ++y) {
    double t = (y - 470) / 130.0, mid = 400 + 60 * t, half = 10 + 170 * t;
    for (int x = int(mid - half); x < int(mid + half); ++x) Blend(b, x, y, {170, 150, 140}, 0.85);
  }
  return b;
}

Bitmap Room() {
  Bitmap b;
  b.Resize(800, 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      Rgb wall = Mix({235, 220, 200}, {200, 180, 160}, y / 420.0);
      if (y >= 420) wall = Mix({150, 110, 80}, {110, 80, 60}, (y - 420) / 180.0);
      if (y >= 420 && (x + (y - 420) / 3) % 90 < 2) wall = {95, 70, 50};
      Put(b, x, y, wall);
    }
  // A window with the evening sky and its frame.
  for (int y = 90; y < 330; ++y)
    for (int x = 480; x < 720; ++x) {
      bool frame = x < 490 || x >= 710 || y < 100 || y >= 320 || std::abs(x - 600) < 5 ||
                   std::abs(y - 210) < 5;
      Put(b, x, y, frame ? Rgb{250, 245, 235} : Mix({70, 70, 140}, {240, 160, 110}, (y - 100) / 220.0));
    }
  // A shelf with books.
  Rand r{3};
  for (int i = 0; i < 14; ++i) {
    int x0 = 90 + i * 18, h = 50 + int(r.Next() * 30);
    Rgb c = Mix({150, 60, 60}, {60, 90, 150}, r.Next());
    for (int y = 260 - h; y < 260; ++y)
      for (int x = x0; x < x0 + 15; ++x) Put(b, x, y, c);
  }
  for (int y = 260; y < 272; ++y)
    for (int x = 80; x < 350; ++x) Put(b, x, y, {120, 85, 60});
  return b;
}

Bitmap NightSky() {
  Bitmap b;
  b.Resize(800, 600);
  Sky(b, {5, 8, 30}, {30, 40, 90}, 600);
  Stars(b, 500, 520, 11);
  // A few falling stars.
  Rand r{5};
  for (int k = 0; k < 5; ++k) {
    double x0 = 100 + r.Next() * 600, y0 = 40 + r.Next() * 200, len = 60 + r.Next() * 80;
    for (int i = 0; i < len; ++i) Blend(b, int(x0 - i), int(y0 + i * 0.5), {255, 255, 220}, 1 - i / len);
  }
  Hills(b, 520, 18, 0.008, 1.0, {15, 20, 25}, {25, 30, 45});
  return b;
}

// A standing character: soft shapes, with the mask holding the coverage.
struct Figure {
  Rgb hair, dress, skin;
  bool longHair;
};

void DrawFigure(const Figure& f, Bitmap& sprite, Bitmap& mask) {
  const int w = 320, h = 580;
  sprite = Bitmap();
  mask = Bitmap();
  sprite.Resize(w, h);
  mask.Resize(w, h);
  auto cover = [&](int x, int y, Rgb c, double a) {
    if (a <= 0) return;
    Blend(sprite, x, y, c, a);
    Rgb m = Get(mask, x, y);
    double v = m.r + (255 - m.r) * std::fmin(a, 1.0);
    Put(mask, x, y, {v, v, v});
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double cx = x - w / 2.0;
      // Dress: a widening bell from the shoulders down.
      if (y > 190) {
        double t = (y - 190) / 390.0, half = 60 + 90 * t;
        double edge = half - std::fabs(cx);
        cover(x, y, Mix(f.dress, Mix(f.dress, {0, 0, 0}, 0.35), std::fabs(cx) / half), edge);
      }
      // Neck.
      if (y > 150 && y <= 195) cover(x, y, f.skin, 12 - std::fabs(cx));
      // Head.
      double dh = std::hypot(cx, (y - 110) * 1.1);
      cover(x, y, Mix(f.skin, {255, 255, 255}, 0.1), 52 - dh);
      // Hair: a cap over the head, and long hair down the back for one figure.
      double cap = std::hypot(cx, (y - 95) * 1.0);
      if (y < 112 || std::fabs(cx) > 38) cover(x, y, f.hair, 60 - cap);
      if (f.longHair && y > 100 && y < 330 && std::fabs(cx) > 40 && std::fabs(cx) < 70)
        cover(x, y, f.hair, std::fmin(70 - std::fabs(cx), 330.0 - y));
    }
  // Collar and ribbon.
  for (int y = 188; y < 215; ++y)
    for (int x = 0; x < w; ++x) {
      double cx = x - w / 2.0;
      if (std::fabs(cx) < 34 - (y - 188) * 0.6) Blend(sprite, x, y, {250, 250, 250}, 0.9);
      double rx = std::fabs(cx), ry = y - 204;
      if (rx < 16 && std::fabs(ry) < 2 + rx * 0.45) Blend(sprite, x, y, f.hair, 0.95);
    }
  // Hands folded in front.
  for (int y = 330; y < 362; ++y)
    for (int x = 0; x < w; ++x) {
      double d = std::hypot(x - w / 2.0, (y - 346) * 1.4);
      if (d < 20) Blend(sprite, x, y, f.skin, std::fmin(1.0, 20 - d));
    }
  // Mouth and cheeks.
  for (int y = 128; y < 146; ++y)
    for (int x = 0; x < w; ++x) {
      double cx = x - w / 2.0;
      double smile = 137 - cx * cx / 30.0;
      if (std::fabs(cx) < 7 && std::fabs(y - smile) < 0.9) Blend(sprite, x, y, {170, 70, 80}, 0.9);
      for (int side : {-1, 1}) {
        double d = std::hypot(cx - side * 26, (y - 132) * 1.5);
        if (d < 8) Blend(sprite, x, y, {250, 150, 160}, 0.35 * (1 - d / 8));
      }
    }
  // Eyes.
  for (int side : {-1, 1})
    for (int y = 110; y < 124; ++y)
      for (int x = 0; x < w; ++x) {
        double d = std::hypot(x - (w / 2.0 + side * 18), (y - 117) * 0.8);
        if (d < 6) Put(sprite, x, y, Mix({40, 30, 60}, f.hair, d / 8));
      }
}

// The buttons of the quick-button panel: place in the panel, width, column
// in the sprite sheet and label.
struct Button {
  int x, y, w, sheetX;
  const char* label;
};
constexpr Button kButtons[] = {
    {39, 96, 38, 238, "SKIP"},  {13, 32, 64, 72, "Qセーブ"}, {13, 64, 64, 136, "Qロード"},
    {0, 96, 38, 200, "LOG"},    {5, 0, 72, 0, "設定"},
};

// One 24-pixel-high button: look 0 normal, 1 under the pointer, 2 pressed.
void DrawButton(Bitmap& bmp, int x0, int y0, int w, int look, const char* label) {
  Rgb face = look == 0 ? Rgb{70, 70, 120} : look == 1 ? Rgb{110, 120, 200} : Rgb{230, 170, 80};
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < w; ++x) {
      bool edge = x == 0 || y == 0 || x == w - 1 || y == 23;
      Put(bmp, x0 + x, y0 + y,
          edge ? Rgb{20, 20, 40} : Mix(face, {255, 255, 255}, 0.3 * (1 - y / 24.0)));
    }
  Text(bmp, label, x0, y0, w, 24, 13, look == 2 ? Rgb{40, 20, 0} : Rgb{240, 240, 255});
}

// The message window frame: colour in the top half, opacity in the bottom half.
void WindowPictures(Bitmap& frame, Bitmap& tint) {
  const int w = 800, h = 160;
  frame.Resize(w, 2 * h);
  tint.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int edge = std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y));
      bool border = edge < 3;
      Put(frame, x, y, border ? Rgb{230, 220, 250} : Mix({30, 30, 70}, {10, 10, 40}, y / double(h)));
      double o = border ? 255 : 190;
      Put(frame, x, h + y, {o, o, o});
      double t = border ? 0 : 255;
      Put(tint, x, y, {t, t, t});
    }
  // The quick-button panel's normal look is part of the frame (panel at 707, 24).
  for (const Button& k : kButtons) {
    DrawButton(frame, 707 + k.x, 24 + k.y, k.w, 0, k.label);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < k.w; ++x) {
        Put(frame, 707 + k.x + x, h + 24 + k.y + y, {235, 235, 235});
        Put(tint, 707 + k.x + x, 24 + k.y + y, {0, 0, 0});
      }
  }
}

// Quick-button sheet: rows 0, 24, 48 hold the normal, hovered and pressed
// looks, each button at its own column of the sheet.
Bitmap QuickButtons() {
  Bitmap b;
  b.Resize(720, 72);
  for (const Button& k : kButtons)
    for (int look = 0; look < 3; ++look) DrawButton(b, k.sheetX, look * 24, k.w, look, k.label);
  return b;
}

// Click-wait mark: four frames of a small bouncing triangle, colour over opacity.
Bitmap ClickWait() {
  const int s = 24, frames = 4;
  Bitmap b;
  b.Resize(s * frames, 2 * s);
  for (int f = 0; f < frames; ++f) {
    int lift = (f == 1 || f == 3) ? 2 : (f == 2 ? 4 : 0);
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) {
        int ty = y - 6 + lift;
        double half = (12 - ty) * 0.7;
        double a = (ty >= 0 && ty < 12) ? std::fmin(1.0, half - std::fabs(x - 11.5)) : 0;
        a = std::fmax(0.0, a);
        Put(b, f * s + x, y, {255, 230, 150});
        Put(b, f * s + x, s + y, {255 * a, 255 * a, 255 * a});
      }
  }
  return b;
}

Bitmap NamePlate(Rgb c, const std::string& name) {
  const int w = 160, h = 30;
  Bitmap b;
  b.Resize(w, 2 * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double edge = std::fmin(std::fmin(x, w - 1 - x), std::fmin(y, h - 1 - y) * 3.0);
      Put(b, x, y, Mix(c, {255, 255, 255}, 0.3 * (1 - y / double(h))));
      double o = std::fmin(1.0, edge / 6.0) * 200;
      Put(b, x, h + y, {o, o, o});
    }
  Text(b, name, 0, 0, w, h, 20, {255, 255, 255}, &b, h);
  return b;
}

bool Save(const std::string& dir, const std::string& name, const Bitmap& bmp) {
  std::vector<uint8_t> png;
  std::string path = dir + "/" + name + ".png";
  if (!zk::EncodePng(bmp, png) || !zk::WriteFileAtomic(path, png.data(), png.size())) {
    std::fprintf(stderr, "demo_artgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_artgen OUT_DIR\n");
    return 2;
  }
  const std::string out = argv[1];
  bool ok = Save(out, "A_SLOPE", SlopeAtDusk()) && Save(out, "A_ROOM", Room()) &&
            Save(out, "A_NIGHT", NightSky());
  Bitmap sprite, mask;
  DrawFigure({{60, 40, 50}, {230, 120, 140}, {250, 220, 200}, true}, sprite, mask);
  ok = ok && Save(out, "BHIKARI", sprite) && Save(out, "MHIKARI", mask);
  DrawFigure({{200, 150, 90}, {90, 120, 200}, {245, 215, 195}, false}, sprite, mask);
  ok = ok && Save(out, "BKANADE", sprite) && Save(out, "MKANADE", mask);
  Bitmap frame, tint;
  WindowPictures(frame, tint);
  ok = ok && Save(out, "sys_tw", frame) && Save(out, "sys_tw1", tint);
  ok = ok && Save(out, "sys_qbtn", QuickButtons()) && Save(out, "sys_clickw", ClickWait());
  ok = ok && Save(out, "np01", NamePlate({200, 90, 130}, "ひかり")) &&
       Save(out, "np02", NamePlate({70, 100, 190}, "奏"));
  return ok ? 0 : 1;
}
