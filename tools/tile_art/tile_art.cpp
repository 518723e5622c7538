// tileart: draws the tile sets of the tiles pack (the committed assets/tiles.pack/ was made by it):
// `tileart OUT_DIR` writes setN.png and setN.json for the eight sets. Every frame is one 40 x 40 tile
// with its origin at the top-left corner, the way the tile layers paint them.
//
// Ground sets (0 day, 3 cave, 5 under the sea, 7 high sky) share one layout, so a level can be
// drawn in any world with the same numbers (docs/level_source.md lists them):
//   0 fill, 1 top surface, 2 top-left, 3 top-right, 4 left side, 5 right side, 6 underside,
//   7 underside left, 8 underside right, 9 slope up 1:1, 10 slope up 1:2 low half, 11 high half,
//   12..14 thin ledge left, middle, right, 15 back wall, 16..18 decorations, 19 spikes.
// Backdrop sets (1 day, 4 cave, 6 under the sea, 2 the race road) are one 800 x 480 picture cut into
// 20 x 12 tiles, row by row, for the repeating parallax layer 0.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "tools/art_palette.h"
#include "tools/sprite_art/sample_canvas.h"
#include "tools/sprite_art/sprite_sheet.h"

namespace {

using tools::art::SampleCanvas;
using tools::art::SpriteSheet;
namespace pal = tools::art;

constexpr int kTile = 40;
constexpr int kBackdropColumns = 20, kBackdropRows = 12;

struct World {
    uint32_t fill, fillDark, fillLight;   // the body of the ground
    uint32_t surface, surfaceLight;       // the top layer (grass, moss, sand, cloud)
    uint32_t wall;                        // the back wall
    uint32_t deco[3];                     // decoration colours
};

// Cheap deterministic noise for specks, so the art is the same on every run.
double hash(int x, int y, int salt) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(salt) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

// The ground's body with specks and strata, over the tile's pixels inside `inside`.
void body(SampleCanvas& c, const World& w, const std::function<bool(double, double)>& inside, int salt) {
    c.fill(inside, [&](double x, double y) {
        const int band = static_cast<int>(y / 10 + std::sin(x / 9.0 + salt) * 0.6);
        return band % 3 == 2 ? w.fillDark : w.fill;
    }, 0, 0, kTile, kTile);
    for (int i = 0; i < 7; ++i) {
        const double x = 3 + hash(i, salt, 1) * 34, y = 3 + hash(i, salt, 2) * 34;
        if (!inside(x, y)) continue;
        c.ellipse(x, y, 1.6 + hash(i, salt, 3) * 2, 1.2 + hash(i, salt, 4) * 1.4,
                  hash(i, salt, 5) < 0.5 ? w.fillLight : w.fillDark);
    }
}

// A surface band along y = top(x), thickness t, with an outline on its upper edge.
void surface(SampleCanvas& c, const World& w, const std::function<double(double)>& top, double x0, double x1,
             double t = 9) {
    c.fill([&](double x, double y) { return y >= top(x) && y < top(x) + t + std::sin(x * 0.8) * 1.5; },
           [&](double, double y) { return y < 0 ? w.surfaceLight : w.surface; }, x0, -4, x1, kTile);
    c.fill([&](double x, double y) { return y >= top(x) + 1.5 && y < top(x) + 4; }, w.surfaceLight, x0, -4, x1,
           kTile);
    c.fill([&](double x, double y) { return y >= top(x) - 1.2 && y < top(x) + 0.8; }, pal::kOutline, x0, -4, x1,
           kTile);
}

void groundSet(SpriteSheet& sheet, const World& w, int decoStyle) {
    const auto all = [](double, double) { return true; };
    auto tile = [&](int frame, const std::function<void(SampleCanvas&)>& draw) {
        SampleCanvas c(kTile, kTile);
        draw(c);
        sheet.frame(frame, c, 0, 0);
    };
    const auto flat = [](double) { return 0.8; };
    tile(0, [&](SampleCanvas& c) { body(c, w, all, 0); });
    tile(1, [&](SampleCanvas& c) {
        body(c, w, all, 1);
        surface(c, w, flat, 0, kTile);
    });
    // Corners: the body is rounded off and the surface wraps over it.
    const auto corner = [&](SampleCanvas& c, bool left) {
        const auto in = [left](double x, double y) {
            const double dx = left ? 14 - x : x - 26;
            return dx <= 0 || dx * dx + (14 - y) * (14 - y) <= 196 || y >= 14;
        };
        body(c, w, in, left ? 2 : 3);
        const auto top = [left](double x) {
            const double dx = left ? 14 - x : x - 26;
            return dx <= 0 ? 0.8 : 14 - std::sqrt(std::max(0.0, 196 - dx * dx)) + 0.8;
        };
        surface(c, w, top, left ? 0.5 : 0, left ? kTile : kTile - 0.5);
        c.line(left ? 1.2 : 38.8, 15, left ? 1.2 : 38.8, 40, 2.2, pal::kOutline);
    };
    tile(2, [&](SampleCanvas& c) { corner(c, true); });
    tile(3, [&](SampleCanvas& c) { corner(c, false); });
    tile(4, [&](SampleCanvas& c) {
        body(c, w, [](double x, double) { return x >= 2; }, 4);
        c.line(1.2, -2, 1.2, 42, 2.2, pal::kOutline);
    });
    tile(5, [&](SampleCanvas& c) {
        body(c, w, [](double x, double) { return x < 38; }, 5);
        c.line(38.8, -2, 38.8, 42, 2.2, pal::kOutline);
    });
    tile(6, [&](SampleCanvas& c) {
        body(c, w, [](double, double y) { return y < 36; }, 6);
        c.line(-2, 36.5, 42, 36.5, 2.2, pal::kOutline);
    });
    tile(7, [&](SampleCanvas& c) {
        body(c, w, [](double x, double y) { return x >= 2 && y < 36 && (x - 14) * (x - 14) + (y - 22) * (y - 22) >= 0; }, 7);
        c.line(1.2, -2, 1.2, 30, 2.2, pal::kOutline);
        c.line(1.2, 30, 8, 36.5, 2.2, pal::kOutline);
        c.line(8, 36.5, 42, 36.5, 2.2, pal::kOutline);
        c.erase([](double x, double y) { return y > 37.6 || x < 0.1 || (y > 30 && x < y - 29.6); }, 0, 0, kTile, kTile);
    });
    tile(8, [&](SampleCanvas& c) {
        body(c, w, [](double x, double y) { return x < 38 && y < 36; }, 8);
        c.line(38.8, -2, 38.8, 30, 2.2, pal::kOutline);
        c.line(38.8, 30, 32, 36.5, 2.2, pal::kOutline);
        c.line(-2, 36.5, 32, 36.5, 2.2, pal::kOutline);
        c.erase([](double x, double y) { return y > 37.6 || x > 39.9 || (y > 30 && 40 - x < y - 29.6); }, 0, 0, kTile,
                kTile);
    });
    // Slopes rising to the right; mirrored cells give the falling ones.
    tile(9, [&](SampleCanvas& c) {
        const auto top = [](double x) { return 40 - x; };
        body(c, w, [&](double x, double y) { return y >= top(x) + 2; }, 9);
        surface(c, w, top, 0, kTile);
    });
    tile(10, [&](SampleCanvas& c) {
        const auto top = [](double x) { return 40 - x / 2; };
        body(c, w, [&](double x, double y) { return y >= top(x) + 2; }, 10);
        surface(c, w, top, 0, kTile);
    });
    tile(11, [&](SampleCanvas& c) {
        const auto top = [](double x) { return 20 - x / 2; };
        body(c, w, [&](double x, double y) { return y >= top(x) + 2; }, 11);
        surface(c, w, top, 0, kTile);
    });
    // A thin ledge: one-way platforms sit on these.
    for (int k = 0; k < 3; ++k)
        tile(12 + k, [&](SampleCanvas& c) {
            const double x0 = k == 0 ? 4 : -2, x1 = k == 2 ? 36 : 42;
            c.roundRect(x0, 2, x1 - x0, 14, 5, pal::kOutline);
            c.roundRect(x0 + 1.5, 3.5, x1 - x0 - 3, 11, 4, w.fill);
            c.fill([](double, double y) { return y < 7; }, w.surface, x0 + 1.5, 3.5, x1 - 1.5, 7);
            c.fill([](double, double y) { return y < 5; }, w.surfaceLight, x0 + 2, 3.5, x1 - 2, 5);
            if (k == 1) c.line(20, 9, 20, 14, 1.2, w.fillDark);
        });
    tile(15, [&](SampleCanvas& c) {
        c.fill(all, w.wall, 0, 0, kTile, kTile);
        for (int row = 0; row < 4; ++row) {
            const double y = row * 10 + 9.5;
            c.line(-2, y, 42, y, 1, w.fillDark, 140);
            const double off = row % 2 ? 0 : 10;
            for (double x = off; x < 42; x += 20) c.line(x, y - 9, x, y, 1, w.fillDark, 140);
        }
    });
    // Decorations stand on a surface: their feet are at the tile's bottom edge.
    tile(16, [&](SampleCanvas& c) {
        if (decoStyle == 1) {  // stalagmite
            c.polygon({{8, 40}, {20, 6}, {32, 40}}, pal::kOutline);
            c.polygon({{10.5, 39}, {20, 10}, {29.5, 39}}, w.deco[0]);
            c.polygon({{14, 39}, {20, 14}, {20, 39}}, w.deco[1]);
        } else if (decoStyle == 2) {  // seaweed
            for (int s = 0; s < 3; ++s)
                for (double y = 40; y > 8 + s * 6; y -= 2)
                    c.circle(12 + s * 8 + std::sin(y / 5.0 + s) * 3, y, 2.6, s == 1 ? w.deco[1] : w.deco[0]);
        } else {  // bush or cloud puff
            for (auto [x, y, r] : {std::tuple{12.0, 30.0, 10.0}, {26.0, 28.0, 11.0}, {19.0, 21.0, 10.0}})
                c.circle(x, y, r + 1.6, pal::kOutline);
            for (auto [x, y, r] : {std::tuple{12.0, 30.0, 10.0}, {26.0, 28.0, 11.0}, {19.0, 21.0, 10.0}})
                c.circle(x, y, r, w.deco[0]);
            c.circle(16, 18, 4, w.deco[1]);
            c.circle(24, 26, 3, w.deco[1]);
            c.erase([](double, double y) { return y > 39.9; }, 0, 0, kTile, kTile);
        }
    });
    tile(17, [&](SampleCanvas& c) {  // a stone, a crystal, a shell or a star
        if (decoStyle == 1 || decoStyle == 3) {
            c.polygon({{12, 40}, {15, 14}, {21, 4}, {27, 14}, {29, 40}}, pal::kOutline);
            c.polygon({{14, 39}, {16.5, 15}, {21, 7}, {25.5, 15}, {27, 39}}, w.deco[2]);
            c.polygon({{17, 38}, {19, 16}, {21, 10}, {21, 38}}, pal::kWhite, 150);
        } else {
            c.ellipse(20, 32, 15, 9.5, pal::kOutline);
            c.ellipse(20, 32, 13, 7.8, decoStyle == 2 ? w.deco[2] : pal::kStone);
            c.ellipse(16, 29, 5, 2.5, pal::kStoneLight);
            c.erase([](double, double y) { return y > 39.9; }, 0, 0, kTile, kTile);
        }
    });
    tile(18, [&](SampleCanvas& c) {  // a flower, a lamp mushroom, an anemone
        c.line(20, 40, 20, 18, 3.2, pal::kOutline);
        c.line(20, 40, 20, 18, 1.6, w.deco[0]);
        for (int p = 0; p < 5; ++p) {
            const double a = p * 6.2832 / 5;
            c.circle(20 + std::cos(a) * 6, 14 + std::sin(a) * 6, 5, pal::kOutline);
        }
        for (int p = 0; p < 5; ++p) {
            const double a = p * 6.2832 / 5;
            c.circle(20 + std::cos(a) * 6, 14 + std::sin(a) * 6, 3.6, w.deco[2]);
        }
        c.circle(20, 14, 3.5, pal::kGold);
    });
    tile(19, [&](SampleCanvas& c) {  // spikes: harmful polylines lie on these
        for (int s = 0; s < 4; ++s) {
            const double x = s * 10;
            c.polygon({{x, 40}, {x + 5, 14}, {x + 10, 40}}, pal::kOutline);
            c.polygon({{x + 1.6, 39}, {x + 5, 18}, {x + 8.4, 39}}, pal::kStoneLight);
            c.polygon({{x + 5, 18}, {x + 8.4, 39}, {x + 5, 39}}, pal::kStone);
        }
    });
}

// The backdrops: one picture painted through `scene` into each 40 x 40 cell.
void backdropSet(SpriteSheet& sheet, const std::function<void(SampleCanvas&, double, double)>& scene) {
    for (int row = 0; row < kBackdropRows; ++row)
        for (int col = 0; col < kBackdropColumns; ++col) {
            SampleCanvas c(kTile, kTile);
            scene(c, col * kTile, row * kTile);
            sheet.frame(row * kBackdropColumns + col, c, 0, 0);
        }
}

// Horizontal bands of palette colours from the top (the sprite keeps at most 256 colours).
void bands(SampleCanvas& c, double oy, const std::vector<std::pair<double, uint32_t>>& stops) {
    c.fill([](double, double) { return true; }, [&](double, double y) {
        uint32_t colour = stops.front().second;
        for (const auto& [from, col] : stops)
            if (y + oy >= from) colour = col;
        return colour;
    }, 0, 0, kTile, kTile);
}

// A ridge line y(x) filled below with `colour`, the scene's x wrapping at 800 so the layer repeats.
void ridge(SampleCanvas& c, double ox, double oy, uint32_t colour, double base, double amp, double freq, double phase) {
    c.fill([&](double x, double y) {
        const double wx = (x + ox) * 6.2832 / 800;
        return y + oy >= base - amp * (0.6 * std::sin(wx * freq + phase) + 0.4 * std::sin(wx * freq * 2.0 + phase * 1.7));
    }, colour, 0, 0, kTile, kTile);
}

void dayBackdrop(SampleCanvas& c, double ox, double oy) {
    bands(c, oy, {{0, pal::kSky}, {90, pal::kSkyLight}, {200, pal::kHaze}, {300, pal::kMist}});
    for (auto [cx, cy, r] : {std::tuple{120.0, 90.0, 26.0}, {160.0, 80.0, 32.0}, {200.0, 95.0, 22.0},
                             {520.0, 140.0, 22.0}, {555.0, 128.0, 28.0}, {590.0, 142.0, 20.0}})
        if (std::abs(cx - ox - 20) < r + 30 && std::abs(cy - oy - 20) < r + 30) c.circle(cx - ox, cy - oy, r, pal::kWhite);
    ridge(c, ox, oy, pal::kLeafLight, 330, 60, 2, 0.4);
    ridge(c, ox, oy, pal::kLeaf, 390, 45, 3, 1.9);
    ridge(c, ox, oy, pal::kLeafDark, 440, 25, 5, 0.7);
}

void caveBackdrop(SampleCanvas& c, double ox, double oy) {
    bands(c, oy, {{0, pal::kNight}, {160, pal::kDusk}, {330, pal::kNight}});
    ridge(c, ox, oy, pal::kStoneDark, 400, 70, 3, 0.2);
    // Hanging rock from above, glowing crystals in the far wall.
    c.fill([&](double x, double y) {
        const double wx = (x + ox) * 6.2832 / 800;
        return y + oy < 70 + 40 * std::sin(wx * 4 + 1.1) + 20 * std::sin(wx * 11);
    }, pal::kStoneDark, 0, 0, kTile, kTile);
    for (int i = 0; i < 14; ++i) {
        const double x = 30 + i * 57 + hash(i, 7, 1) * 20, y = 190 + hash(i, 7, 2) * 120;
        if (std::abs(x - ox - 20) < 30 && std::abs(y - oy - 20) < 30) {
            c.circle(x - ox, y - oy, 9, pal::kSky);
            c.polygon({{x - ox - 4, y - oy + 6}, {x - ox, y - oy - 9}, {x - ox + 4, y - oy + 6}}, pal::kHaze);
        }
    }
}

void seaBackdrop(SampleCanvas& c, double ox, double oy) {
    bands(c, oy, {{0, pal::kHaze}, {50, pal::kSkyLight}, {150, pal::kSky}, {280, pal::kDusk}, {400, pal::kNight}});
    // Light shafts from the surface, one band lighter than the water they cross (a backdrop is
    // opaque: the layer behind it is black).
    for (int i = 0; i < 5; ++i) {
        const double x = 80 + i * 160;
        c.fill([&](double px, double py) {
            const double wx = px + ox, wy = py + oy;
            return std::abs(wx - x - wy * 0.35) < 18 - wy * 0.03 && wy < 360;
        }, [&](double, double py) {
            const double wy = py + oy;
            return wy < 50 ? pal::kMist : wy < 150 ? pal::kHaze : wy < 280 ? pal::kSkyLight : pal::kSky;
        }, 0, 0, kTile, kTile);
    }
    ridge(c, ox, oy, pal::kLeafDark, 440, 35, 4, 2.3);
    for (int i = 0; i < 20; ++i) {
        const double x = hash(i, 9, 1) * 800, y = 60 + hash(i, 9, 2) * 320, r = 2 + hash(i, 9, 3) * 4;
        if (std::abs(x - ox - 20) < 26 && std::abs(y - oy - 20) < 26) c.ring(x - ox, y - oy, r, 1.2, pal::kMist);
    }
}

void roadBackdrop(SampleCanvas& c, double ox, double oy) {
    bands(c, oy, {{0, pal::kDusk}, {70, pal::kSky}, {150, pal::kSkyLight}, {215, pal::kHaze}});
    ridge(c, ox, oy, pal::kStone, 250, 55, 3, 0.9);
    ridge(c, ox, oy, pal::kLeafDark, 262, 10, 9, 0.3);
    // The road runs to the horizon at the middle of the picture.
    c.fill([&](double x, double y) {
        const double wy = y + oy, wx = x + ox;
        return wy >= 262 && std::abs(wx - 400) <= 20 + (wy - 262) * 1.8;
    }, [&](double, double y) { return static_cast<int>(std::sqrt(std::max(0.0, y + oy - 258)) * 2) % 2 ? pal::kStoneDark : pal::kOutline; },
           0, 0, kTile, kTile);
    c.fill([&](double x, double y) {
        const double wy = y + oy, wx = x + ox;
        const double half = 20 + (wy - 262) * 1.8;
        return wy >= 262 && std::abs(std::abs(wx - 400) - half) < 1 + (wy - 262) * 0.03;
    }, pal::kWhite, 0, 0, kTile, kTile);
    c.fill([&](double x, double y) {
        const double wy = y + oy, wx = x + ox;
        return wy >= 270 && std::abs(wx - 400) < 1 + (wy - 262) * 0.04 &&
               static_cast<int>(std::sqrt(wy - 258) * 3) % 2 == 0;
    }, pal::kGold, 0, 0, kTile, kTile);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tileart OUT_DIR\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    const World day{pal::kFur, pal::kFurDark, pal::kFurLight, pal::kLeaf, pal::kLeafLight, pal::kAmber,
                    {pal::kLeaf, pal::kLeafLight, pal::kEmber}};
    const World cave{pal::kStone, pal::kStoneDark, pal::kStoneLight, pal::kSky, pal::kHaze, pal::kNight,
                     {pal::kStone, pal::kStoneLight, pal::kHaze}};
    const World sea{pal::kCream, pal::kFurLight, pal::kWhite, pal::kGoldLight, pal::kWhite, pal::kDusk,
                    {pal::kLeafDark, pal::kLeaf, pal::kEmberLight}};
    const World sky{pal::kMist, pal::kStoneLight, pal::kWhite, pal::kGoldLight, pal::kCream, pal::kSkyLight,
                    {pal::kWhite, pal::kMist, pal::kGold}};
    struct Set {
        const char* name;
        std::function<void(SpriteSheet&)> draw;
    };
    const Set sets[] = {
        {"set0_day", [&](SpriteSheet& s) { groundSet(s, day, 0); }},
        {"set1_day_backdrop", [](SpriteSheet& s) { backdropSet(s, dayBackdrop); }},
        {"set2_race_road", [](SpriteSheet& s) { backdropSet(s, roadBackdrop); }},
        {"set3_cave", [&](SpriteSheet& s) { groundSet(s, cave, 1); }},
        {"set4_cave_backdrop", [](SpriteSheet& s) { backdropSet(s, caveBackdrop); }},
        {"set5_sea", [&](SpriteSheet& s) { groundSet(s, sea, 2); }},
        {"set6_sea_backdrop", [](SpriteSheet& s) { backdropSet(s, seaBackdrop); }},
        {"set7_sky", [&](SpriteSheet& s) { groundSet(s, sky, 3); }},
    };
    for (const Set& set : sets) {
        SpriteSheet sheet;
        set.draw(sheet);
        std::string error;
        if (!sheet.write(dir, set.name, error)) {
            std::fprintf(stderr, "tileart: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
