// promoart: draws the promotion screen's pictures and its bitmap font into a folder (the
// committed assets/promo.dat.igp/ was made by it): `promoart OUT_DIR`. Shapes are drawn with 4x4
// supersampled coverage; text is the built-in 9x15 font, scaled whole pixels. The font picture is a
// two-colour palette PNG (entry 1 is the ink the screen recolours) with its glyph table beside it.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/system_font.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
    uint8_t r, g, b;
};

Rgb hex(uint32_t v) { return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w * h) * 4, 0) {}

    [[nodiscard]] int width() const { return w_; }
    [[nodiscard]] int height() const { return h_; }

    void blend(int x, int y, Rgb c, double coverage) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0) return;
        uint8_t* p = &px_[static_cast<size_t>(y * w_ + x) * 4];
        const double a = std::min(coverage, 1.0);
        const double da = p[3] / 255.0;
        const double oa = a + da * (1 - a);
        auto ch = [&](uint8_t src, uint8_t dst) {
            return static_cast<uint8_t>(std::lround((src * a + dst * da * (1 - a)) / (oa > 0 ? oa : 1)));
        };
        p[0] = ch(c.r, p[0]);
        p[1] = ch(c.g, p[1]);
        p[2] = ch(c.b, p[2]);
        p[3] = static_cast<uint8_t>(std::lround(oa * 255));
    }

    // Fills the shape `inside` (a test on a point) with colour(x, y), 16 samples a pixel.
    void shape(const std::function<bool(double, double)>& inside, const std::function<Rgb(int, int)>& colour,
               int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
        if (x1 < 0) x1 = w_;
        if (y1 < 0) y1 = h_;
        for (int y = std::max(0, y0); y < std::min(h_, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        if (inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
                if (hits) blend(x, y, colour(x, y), hits / 16.0);
            }
    }

    void roundRect(double x, double y, double w, double h, double r, const std::function<Rgb(int, int)>& colour) {
        shape(
            [=](double px, double py) {
                if (px < x || py < y || px > x + w || py > y + h) return false;
                const double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
                return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
            },
            colour, static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w) + 1, static_cast<int>(y + h) + 1);
    }
    void roundRect(double x, double y, double w, double h, double r, Rgb c) {
        roundRect(x, y, w, h, r, [c](int, int) { return c; });
    }
    // A vertical gradient from top to bottom inside a rounded rectangle.
    void gradientRect(double x, double y, double w, double h, double r, Rgb top, Rgb bottom) {
        roundRect(x, y, w, h, r, [=](int, int py) { return mix(top, bottom, std::clamp((py - y) / h, 0.0, 1.0)); });
    }
    // Makes a rectangle fully clear (the screen paints what shows through it).
    void clear(int x, int y, int w, int h) {
        for (int py = std::max(y, 0); py < std::min(y + h, h_); ++py)
            for (int px = std::max(x, 0); px < std::min(x + w, w_); ++px)
                std::fill_n(&px_[static_cast<size_t>(py * w_ + px) * 4], 4, uint8_t{0});
    }
    void circle(double cx, double cy, double r, Rgb c) {
        shape([=](double px, double py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r; },
              [c](int, int) { return c; }, static_cast<int>(cx - r) - 1, static_cast<int>(cy - r) - 1,
              static_cast<int>(cx + r) + 2, static_cast<int>(cy + r) + 2);
    }
    void ring(double cx, double cy, double r, double thickness, Rgb c) {
        shape(
            [=](double px, double py) {
                const double d = std::hypot(px - cx, py - cy);
                return d <= r && d >= r - thickness;
            },
            [c](int, int) { return c; });
    }
    void polygon(const std::vector<std::pair<double, double>>& pts, Rgb c) {
        shape(
            [&pts](double px, double py) {
                bool in = false;
                for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                    const auto [xi, yi] = pts[i];
                    const auto [xj, yj] = pts[j];
                    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
                }
                return in;
            },
            [c](int, int) { return c; });
    }

    // Text in the built-in font, each font pixel a scale x scale block; (x, y) is the top-left.
    void text(int x, int y, const std::string& s, int scale, Rgb c) {
        const int gw = SystemFont::charWidth(u'A'), gh = SystemFont::height();
        std::vector<uint16_t> cell(static_cast<size_t>(gw * gh));
        for (size_t i = 0; i < s.size(); ++i) {
            std::fill(cell.begin(), cell.end(), 0);
            const Surface565 surface{cell.data(), gw, gh, gw};
            const char16_t ch = static_cast<unsigned char>(s[i]);
            SystemFont::drawText(surface, 0, 0, std::u16string_view(&ch, 1), 0xFFFF);
            for (int gy = 0; gy < gh; ++gy)
                for (int gx = 0; gx < gw; ++gx)
                    if (cell[static_cast<size_t>(gy * gw + gx)])
                        for (int sy = 0; sy < scale; ++sy)
                            for (int sx = 0; sx < scale; ++sx)
                                blend(x + (static_cast<int>(i) * gw + gx) * scale + sx, y + gy * scale + sy, c, 1);
        }
    }
    // Centred on (cx, cy), with a soft shadow one scale step down and right.
    void label(int cx, int cy, const std::string& s, int scale, Rgb c, bool shadow = true) {
        const int w = static_cast<int>(s.size()) * SystemFont::charWidth(u'A') * scale;
        const int h = SystemFont::height() * scale;
        if (shadow) text(cx - w / 2 + scale, cy - h / 2 + scale, s, scale, hex(0x000000));
        text(cx - w / 2, cy - h / 2, s, scale, c);
    }

    bool save(const fs::path& path) const {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(w_);
        image.height = static_cast<png_uint_32>(h_);
        image.format = PNG_FORMAT_RGBA;
        return png_image_write_to_file(&image, path.c_str(), 0, px_.data(), 0, nullptr) != 0;
    }

private:
    int w_, h_;
    std::vector<uint8_t> px_;
};

// The palette of the screen's look: a deep night blue with warm highlights.
const Rgb kNight = hex(0x14213D);
const Rgb kDusk = hex(0x27406B);
const Rgb kGold = hex(0xFCA311);
const Rgb kWhite = hex(0xFFFFFF);
const Rgb kMist = hex(0xE5E9F0);
const Rgb kInk = hex(0x1B2330);

void arrow(const fs::path& dir, const char* name, bool right, bool pressed) {
    Canvas c(40, 64);
    const Rgb body = pressed ? kGold : kDusk;
    c.roundRect(2, 2, 36, 60, 10, pressed ? hex(0xB36F00) : kNight);
    c.roundRect(4, 4, 32, 56, 8, body);
    const double l = 12, r = 28;
    if (right) c.polygon({{l, 16}, {r, 32}, {l, 48}}, kWhite);
    else c.polygon({{r, 16}, {l, 32}, {r, 48}}, kWhite);
    c.save(dir / name);
}

void softKey(const fs::path& dir, const char* name, bool pressed) {
    Canvas c(88, 64);
    c.gradientRect(1, 1, 86, 62, 14, pressed ? kGold : kDusk, pressed ? hex(0xC76B00) : kNight);
    c.roundRect(1, 1, 86, 4, 2, hex(0x3C5A8C));
    c.save(dir / name);
}

void backIcon(const fs::path& dir) {
    Canvas c(36, 36);
    c.ring(18, 18, 16, 3.5, kWhite);
    c.polygon({{10, 18}, {20, 9}, {20, 14}, {27, 14}, {27, 22}, {20, 22}, {20, 27}}, kWhite);
    c.save(dir / "key_back.png");
}

void okIcon(const fs::path& dir) {
    Canvas c(36, 36);
    c.ring(18, 18, 16, 3.5, kWhite);
    c.polygon({{9, 19}, {13, 15}, {16, 19}, {25, 9}, {29, 13}, {16, 27}}, kWhite);
    c.save(dir / "key_ok.png");
}

void bullet(const fs::path& dir, const char* name, Rgb colour) {
    Canvas c(16, 16);
    c.circle(8, 8, 7, kNight);
    c.circle(8, 8, 5, colour);
    c.save(dir / name);
}

void heading(const fs::path& dir) {
    Canvas c(360, 72);
    c.gradientRect(0, 0, 360, 72, 20, kDusk, kNight);
    c.roundRect(8, 60, 344, 4, 2, kGold);
    c.circle(40, 34, 18, kGold);
    c.polygon({{33, 24}, {51, 34}, {33, 44}}, kNight);
    c.label(200, 32, "MORE GAMES", 3, kWhite);
    c.save(dir / "heading.png");
}

void moreRow(const fs::path& dir) {
    Canvas c(56, 56);
    c.roundRect(2, 2, 52, 52, 12, kGold);
    c.roundRect(25, 12, 6, 32, 3, kWhite);
    c.roundRect(12, 25, 32, 6, 3, kWhite);
    c.save(dir / "row_more.png");
}

void rowIcon(const fs::path& dir, const char* name, Rgb top, Rgb bottom, const std::function<void(Canvas&)>& emblem) {
    Canvas c(56, 56);
    c.gradientRect(2, 2, 52, 52, 12, top, bottom);
    emblem(c);
    c.save(dir / name);
}

void title(const fs::path& dir, const char* name, const char* text, Rgb top, Rgb bottom,
           const std::function<void(Canvas&)>& scene) {
    Canvas c(400, 220);
    c.gradientRect(0, 0, 400, 220, 24, top, bottom);
    scene(c);
    c.roundRect(0, 160, 400, 60, 24, [&](int, int) { return kNight; });
    c.roundRect(0, 160, 400, 30, 0, kNight);
    c.label(200, 190, text, 3, kWhite);
    c.roundRect(150, 212, 100, 4, 2, kGold);
    c.save(dir / name);
}

void special(const fs::path& dir) {
    Canvas c(300, 120);
    c.gradientRect(0, 0, 300, 120, 22, hex(0x6A4C93), kNight);
    for (int i = 0; i < 5; ++i) c.circle(40 + i * 55, 100 - (i % 2) * 12, 6, kGold);
    c.label(150, 48, "GAME CLUB", 3, kWhite);
    c.save(dir / "special.png");
}

void languageBadge(const fs::path& dir) {
    Canvas c(64, 40);
    c.roundRect(1, 1, 62, 38, 10, kGold);
    c.label(32, 20, "EN", 2, kNight, false);
    c.save(dir / "lang_en.png");
}

// The portal's frame: its window (70% of the width, the middle half of the height) stays clear
// for the gradient and the portal's text the screen paints behind and over it.
void portal(const fs::path& dir) {
    constexpr int kW = 420, kH = 240;
    constexpr int kWindowW = kW * 70 / 100, kWindowX = kW / 2 - kWindowW / 2, kWindowY = kH / 4, kWindowH = kH / 2;
    Canvas c(kW, kH);
    c.gradientRect(0, 0, kW, kH, 28, kDusk, kNight);
    c.roundRect(kWindowX - 4, kWindowY - 4, kWindowW + 8, kWindowH + 8, 6, kGold);
    c.clear(kWindowX, kWindowY, kWindowW, kWindowH);
    for (int i = 0; i < 2; ++i) c.ring(kW / 2, 30, 22 - i * 9, 4, mix(kGold, kWhite, i * 0.4));
    c.circle(kW / 2, 30, 5, kGold);
    for (int side : {-1, 1})
        for (int i = 0; i < 3; ++i) c.circle(kW / 2 + side * (kWindowW / 2 + 16), kWindowY + 24 + i * 36, 4, kGold);
    c.label(kW / 2, 211, "PLAY MORE", 3, kWhite);
    c.save(dir / "portal.png");
}

// The font: every character 32..126 of the built-in font, 28 to a row.
bool font(const fs::path& dir) {
    const int gw = SystemFont::charWidth(u'A'), gh = SystemFont::height();
    constexpr int kPerRow = 28, kFirst = 32, kLast = 126;
    const int rows = (kLast - kFirst + kPerRow) / kPerRow;
    const int w = kPerRow * gw, h = rows * gh;
    std::vector<uint8_t> indices(static_cast<size_t>(w * h), 0);
    std::vector<uint16_t> cell(static_cast<size_t>(gw * gh));
    std::string glyphs = "[\n";
    for (int code = kFirst; code <= kLast; ++code) {
        const int x = (code - kFirst) % kPerRow * gw, y = (code - kFirst) / kPerRow * gh;
        std::fill(cell.begin(), cell.end(), 0);
        const char16_t ch = static_cast<char16_t>(code);
        SystemFont::drawText(Surface565{cell.data(), gw, gh, gw}, 0, 0, std::u16string_view(&ch, 1), 0xFFFF);
        for (int gy = 0; gy < gh; ++gy)
            for (int gx = 0; gx < gw; ++gx)
                if (cell[static_cast<size_t>(gy * gw + gx)]) indices[static_cast<size_t>((y + gy) * w + x + gx)] = 1;
        // The space is narrower than a letter; the others keep the cell.
        const int advance = code == ' ' ? gw - 3 : gw;
        glyphs += "  [" + std::to_string(code) + ", " + std::to_string(x) + ", " + std::to_string(y) + ", " +
                  std::to_string(advance) + ", " + std::to_string(gh) + "]" + (code < kLast ? ",\n" : "\n");
    }
    glyphs += "]\n";
    std::ofstream(dir / "font_glyphs.json") << glyphs;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = 2;
    const uint8_t colormap[] = {0xFF, 0x00, 0xFF, 0x00, kInk.r, kInk.g, kInk.b, 0xFF};
    return png_image_write_to_file(&image, (dir / "font.png").c_str(), 0, indices.data(), 0, colormap) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: promoart OUT_DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    bullet(dir, "mark_gold.png", kGold);
    bullet(dir, "mark_mist.png", kMist);
    bullet(dir, "mark_dusk.png", kDusk);
    bullet(dir, "mark_white.png", kWhite);
    arrow(dir, "arrow_left_pressed.png", false, true);
    arrow(dir, "arrow_left.png", false, false);
    arrow(dir, "arrow_right_pressed.png", true, true);
    arrow(dir, "arrow_right.png", true, false);
    backIcon(dir);
    okIcon(dir);
    heading(dir);
    moreRow(dir);
    softKey(dir, "key.png", false);
    softKey(dir, "key_pressed.png", true);
    title(dir, "title_skylark.png", "SKYLARK", hex(0x8ECAE6), hex(0x219EBC), [](Canvas& c) {
        c.circle(320, 60, 30, kGold);
        c.polygon({{0, 160}, {90, 70}, {170, 150}, {240, 90}, {330, 160}}, hex(0x2A6F97));
        c.polygon({{150, 60}, {190, 50}, {170, 62}, {190, 74}}, kWhite);
    });
    title(dir, "title_emberhold.png", "EMBERHOLD", hex(0xF48C06), hex(0x6A040F), [](Canvas& c) {
        const Rgb stone = hex(0x2B0A0F);
        c.roundRect(130, 66, 140, 100, 4, stone);
        for (int i = 0; i < 5; ++i) c.roundRect(130 + i * 30, 50, 20, 22, 3, stone);
        c.roundRect(182, 112, 36, 54, 18, kGold);
        c.roundRect(150, 86, 14, 18, 7, hex(0xFFBA08));
        c.roundRect(236, 86, 14, 18, 7, hex(0xFFBA08));
        c.polygon({{200, 14}, {212, 34}, {200, 44}, {188, 34}}, hex(0xFFBA08));
    });
    title(dir, "title_tidewatch.png", "TIDEWATCH", hex(0x48CAE4), hex(0x023E8A), [](Canvas& c) {
        c.polygon({{214, 40}, {400, 10}, {400, 70}}, hex(0x90E0EF));
        c.polygon({{186, 40}, {0, 10}, {0, 70}}, hex(0x90E0EF));
        c.polygon({{184, 150}, {190, 48}, {210, 48}, {216, 150}}, kWhite);
        c.roundRect(190, 78, 20, 10, 0, hex(0xE63946));
        c.roundRect(190, 110, 20, 10, 0, hex(0xE63946));
        c.roundRect(180, 28, 40, 20, 6, hex(0xE63946));
        c.circle(200, 38, 6, kGold);
        for (int i = 0; i < 11; ++i) c.circle(i * 40, 162, 24, i % 2 ? hex(0x0077B6) : hex(0x03045E));
    });
    special(dir);
    languageBadge(dir);
    rowIcon(dir, "row_skylark.png", hex(0x8ECAE6), hex(0x219EBC), [](Canvas& c) {
        c.polygon({{8, 44}, {22, 24}, {32, 36}, {40, 28}, {50, 44}}, hex(0x2A6F97));
        c.circle(40, 16, 6, kGold);
    });
    rowIcon(dir, "row_emberhold.png", hex(0xF94144), hex(0x9D0208), [](Canvas& c) {
        c.roundRect(16, 22, 24, 22, 3, hex(0x6A040F));
        c.roundRect(24, 30, 8, 14, 4, kGold);
    });
    rowIcon(dir, "row_tidewatch.png", hex(0x4CC9F0), hex(0x023E8A), [](Canvas& c) {
        c.roundRect(24, 12, 8, 30, 3, kWhite);
        c.roundRect(21, 10, 14, 6, 2, hex(0xE63946));
        c.roundRect(8, 40, 40, 6, 3, hex(0x0077B6));
    });
    rowIcon(dir, "row_portal.png", kGold, hex(0xC76B00), [](Canvas& c) {
        c.ring(28, 28, 14, 4, kWhite);
        c.circle(28, 28, 5, kWhite);
    });
    portal(dir);
    if (!font(dir)) {
        std::fprintf(stderr, "promoart: cannot write the font picture\n");
        return 1;
    }
    return 0;
}
