// promoart: draws the promotion screen's pictures and its bitmap font into a folder (the
// committed assets/promo.dat.igp/ was made by it): `promoart OUT_DIR`. Shapes are drawn with 4x4
// supersampled coverage (tools/art_canvas.h); words are lettered in the game fonts' face and
// outline (tools/art_lettering/). The font picture is a palette PNG (entry 1 is the white ink the
// screen recolours, entry 2 the outline) with its glyph table beside it.
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

#include "tools/art_canvas.h"
#include "tools/art_lettering/art_lettering.h"
#include "tools/art_palette.h"

namespace {

namespace fs = std::filesystem;

using tools::art::Canvas;
using tools::art::hex;
using tools::art::mix;
using tools::art::Rgb;

// The palette of the screen's look: a deep night blue with warm highlights.
const Rgb kNight = hex(0x14213D);
const Rgb kDusk = hex(0x27406B);
const Rgb kGold = hex(0xFCA311);
const Rgb kWhite = hex(0xFFFFFF);
const Rgb kMist = hex(0xE5E9F0);
// The menus' font (assets/fonts.pack font0): its face and size, its outline and its fill's ends.
constexpr int kMenuFontSize = 26, kMenuFontOutline = 2;
const Rgb kLetterTop = hex(0xFFFFFF), kLetterBottom = hex(0xB8C8E8);

// Words centred on (cx, cy) in the menus' lettering, `size` pixels high.
void letter(Canvas& c, int cx, int cy, const std::string& text, int size) {
    const Canvas words = tools::art::boldText(text, size, kLetterTop, kLetterBottom, kMenuFontOutline);
    c.draw(words, cx - words.width() / 2, cy - words.height() / 2);
}

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
    letter(c, 210, 32, "MORE GAMES", 34);
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
    // The name sits in a band along the top: the screen's select button is drawn over the
    // picture's middle, which holds only the scene.
    Canvas c(400, 220);
    c.gradientRect(0, 0, 400, 220, 24, top, bottom);
    scene(c);
    c.roundRect(0, 0, 400, 60, 24, [&](int, int) { return kNight; });
    c.roundRect(0, 30, 400, 30, 0, kNight);
    letter(c, 200, 28, text, 40);
    c.roundRect(150, 52, 100, 4, 2, kGold);
    c.save(dir / name);
}

void special(const fs::path& dir) {
    Canvas c(300, 120);
    c.gradientRect(0, 0, 300, 120, 22, hex(0x6A4C93), kNight);
    for (int i = 0; i < 5; ++i) c.circle(40 + i * 55, 100 - (i % 2) * 12, 6, kGold);
    letter(c, 150, 48, "GAME CLUB", 40);
    c.save(dir / "special.png");
}

void languageBadge(const fs::path& dir) {
    Canvas c(64, 40);
    c.roundRect(1, 1, 62, 38, 10, kGold);
    const Canvas code = tools::art::boldText("EN", 24, kNight, kNight, 0);
    c.draw(code, 32 - code.width() / 2, 20 - code.height() / 2);
    c.save(dir / "lang_en.png");
}

// The portal's frame: its window (70% of the width, the middle half of the height) stays clear
// for the gradient and the portal's text the screen paints behind and over it.
void portal(const fs::path& dir) {
    constexpr int kW = 420, kH = 240, kRadius = 28;
    constexpr int kWindowW = kW * 70 / 100, kWindowX = kW / 2 - kWindowW / 2, kWindowY = kH / 4, kWindowH = kH / 2;
    auto inWindow = [](double px, double py) {
        return px >= kWindowX && px < kWindowX + kWindowW && py >= kWindowY && py < kWindowY + kWindowH;
    };
    auto inRounded = [](double px, double py, double x, double y, double w, double h, double r) {
        if (px < x || py < y || px > x + w || py > y + h) return false;
        const double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
    };
    Canvas c(kW, kH);
    c.shape([&](double px, double py) { return inRounded(px, py, 0, 0, kW, kH, kRadius) && !inWindow(px, py); },
            [](int, int py) { return mix(kDusk, kNight, std::clamp(py / double(kH), 0.0, 1.0)); });
    c.shape(
        [&](double px, double py) {
            return inRounded(px, py, kWindowX - 4, kWindowY - 4, kWindowW + 8, kWindowH + 8, 6) && !inWindow(px, py);
        },
        [](int, int) { return kGold; });
    for (int i = 0; i < 2; ++i) c.ring(kW / 2, 30, 22 - i * 9, 4, mix(kGold, kWhite, i * 0.4));
    c.circle(kW / 2, 30, 5, kGold);
    for (int side : {-1, 1})
        for (int i = 0; i < 3; ++i) c.circle(kW / 2 + side * (kWindowW / 2 + 16), kWindowY + 24 + i * 36, 4, kGold);
    letter(c, kW / 2, 211, "PLAY MORE", 36);
    c.save(dir / "portal.png");
}

// The font: characters 32..126 lettered as the menus' font draws them. A palette picture reaches
// the screen without partial alpha (magenta is its only clear colour), so each pixel is ink (the
// letter covers at least half of it), outline (within the outline's reach of ink) or clear. Cells
// are cut from the lettering's box, the same height for all, so baselines line up; the screen steps
// one pixel less than a cell's width. Cells are packed in rows, each starting within the reach of
// the glyph records' byte coordinates.
bool font(const fs::path& dir) {
    constexpr int kLastCellStart = 255, kFirst = 32, kLast = 126;
    constexpr uint8_t kClear = 0, kInk = 1, kEdge = 2;
    // The lettering's box holds the advance and two clear columns each side; without the first, a
    // cell steps the advance plus the outline, as the menus' font does.
    constexpr int kTrimLeft = 1;
    struct Cell {
        int x, y, w, h;
        std::vector<uint8_t> pixels;
    };
    std::vector<Cell> cells;
    int x = 0, y = 0, rowHeight = 0, width = 0;
    for (int code = kFirst; code <= kLast; ++code) {
        const Canvas glyph = tools::art::boldText(std::string(1, static_cast<char>(code)), kMenuFontSize, kWhite,
                                                  kWhite, 0);
        Cell cell{0, 0, glyph.width() - kTrimLeft, glyph.height(), {}};
        cell.pixels.assign(static_cast<size_t>(cell.w * cell.h), kClear);
        for (int v = 0; v < cell.h; ++v)
            for (int u = 0; u < cell.w; ++u)
                if ((glyph.argb(u + kTrimLeft, v) >> 24) >= 0x80) cell.pixels[static_cast<size_t>(v * cell.w + u)] = kInk;
        const double reach = kMenuFontOutline + 0.5;
        std::vector<uint8_t> outlined = cell.pixels;
        for (int v = 0; v < cell.h; ++v)
            for (int u = 0; u < cell.w; ++u) {
                if (cell.pixels[static_cast<size_t>(v * cell.w + u)] == kInk) continue;
                for (int dy = -kMenuFontOutline; dy <= kMenuFontOutline; ++dy)
                    for (int dx = -kMenuFontOutline; dx <= kMenuFontOutline; ++dx) {
                        const int nu = u + dx, nv = v + dy;
                        if (nu < 0 || nv < 0 || nu >= cell.w || nv >= cell.h || std::hypot(dx, dy) > reach) continue;
                        if (cell.pixels[static_cast<size_t>(nv * cell.w + nu)] == kInk)
                            outlined[static_cast<size_t>(v * cell.w + u)] = kEdge;
                    }
            }
        cell.pixels = std::move(outlined);
        if (x > kLastCellStart) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        cell.x = x;
        cell.y = y;
        x += cell.w;
        width = std::max(width, x);
        rowHeight = std::max(rowHeight, cell.h);
        cells.push_back(std::move(cell));
    }
    const int h = y + rowHeight;
    if (y > kLastCellStart) return false;
    std::vector<uint8_t> indices(static_cast<size_t>(width * h), kClear);
    std::string glyphs = "[\n";
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        for (int v = 0; v < cell.h; ++v)
            for (int u = 0; u < cell.w; ++u)
                indices[static_cast<size_t>((cell.y + v) * width + cell.x + u)] =
                    cell.pixels[static_cast<size_t>(v * cell.w + u)];
        glyphs += "  [" + std::to_string(kFirst + static_cast<int>(i)) + ", " + std::to_string(cell.x) + ", " +
                  std::to_string(cell.y) + ", " + std::to_string(cell.w) + ", " + std::to_string(cell.h) + "]" +
                  (i + 1 < cells.size() ? ",\n" : "\n");
    }
    glyphs += "]\n";
    std::ofstream(dir / "font_glyphs.json") << glyphs;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = 3;
    const Rgb edge = hex(tools::art::kOutline);
    const uint8_t colormap[] = {0xFF, 0x00, 0xFF, 0x00, kWhite.r, kWhite.g, kWhite.b, 0xFF, edge.r, edge.g, edge.b, 0xFF};
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
        std::fprintf(stderr, "promoart: the font does not fit byte glyph coordinates or cannot be written\n");
        return 1;
    }
    return 0;
}
