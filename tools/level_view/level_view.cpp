#include "tools/level_view/level_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "actors/z.h"
#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "platform/file_paths.h"
#include "platform/graphics/system_font.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_packs.h"
#include "tools/contact_sheet/landscape_screen.h"
#include "tools/file_bytes.h"
#include "tools/level_source.h"

namespace tools {

namespace {

using P = cGamePacks;

constexpr jint kTilesPack = 144, kSpritesPack = 138;
constexpr int kTile = 40;
constexpr uint32_t kLine = 0xFFFFFFFF, kHarmful = 0xFFFF4040, kOneWay = 0xFFFFD040, kSwitch = 0xFF40E0FF,
                   kClimb = 0xFFC080FF, kActor = 0xFF80FF80, kHero = 0xFFFFE08A, kZone = 0xFFFF80C0,
                   kTarget = 0xFFFF8A80, kBlack = 0xFF000000;

void dot(Picture& p, int x, int y, int r, uint32_t colour) {
    for (int v = -r; v <= r; ++v)
        for (int u = -r; u <= r; ++u) {
            const int px = x + u, py = y + v;
            if (px >= 0 && py >= 0 && px < p.width && py < p.height) p.argb[static_cast<size_t>(py * p.width + px)] = colour;
        }
}

// A line of the given half width, with a dark edge so it reads over any tile.
void line(Picture& p, int x0, int y0, int x1, int y1, int r, uint32_t colour, bool dashed = false) {
    const int steps = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i <= steps; ++i) {
            if (dashed && (i / 8) % 2) continue;
            const int x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
            dot(p, x, y, pass == 0 ? r + 1 : r, pass == 0 ? kBlack : colour);
        }
}

void box(Picture& p, int x, int y, int w, int h, uint32_t colour, bool dashed = false) {
    line(p, x, y, x + w, y, 0, colour, dashed);
    line(p, x, y + h, x + w, y + h, 0, colour, dashed);
    line(p, x, y, x, y + h, 0, colour, dashed);
    line(p, x + w, y, x + w, y + h, 0, colour, dashed);
}

// A label on a dark plate.
void caption(Picture& p, int x, int y, const std::string& text, uint32_t colour) {
    const int w = static_cast<int>(text.size()) * SystemFont::charWidth(u'A') + 4, h = SystemFont::height() + 2;
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u) {
            const int px = x + u, py = y + v;
            if (px >= 0 && py >= 0 && px < p.width && py < p.height) {
                uint32_t& c = p.argb[static_cast<size_t>(py * p.width + px)];
                c = 0xFF000000u | ((c >> 17 & 0x7F) << 16) | ((c >> 9 & 0x7F) << 8) | (c >> 1 & 0x7F);  // half as bright
            }
        }
    drawLabel(p, x + 2, y + 1, text, 1, colour);
}

uint32_t polylineColour(uint32_t flags) {
    if (flags & (128 | 0x1000)) return kHarmful;
    if (flags & (32 | 64)) return kSwitch;
    if (flags & (0x100 | 0x200)) return kClimb;
    if (flags & 16) return kOneWay;
    return kLine;
}

std::string flagNames(uint32_t flags) {
    std::string out;
    for (const auto& [name, bit] : polylineFlagNames())
        if (flags & bit) out += (out.empty() ? "" : " ") + name;
    return out;
}

ByteArray* bytes(const std::string& data) {
    ByteArray* a = Runtime::newByteArray(static_cast<jint>(data.size()));
    if (a) std::copy(data.begin(), data.end(), reinterpret_cast<char*>(a->elements()));
    return a;
}

bool fail(std::string& error, const std::string& what) {
    error = what;
    Runtime::clearPendingException();
    return false;
}

void overlay(Picture& p, const LevelSource& level) {
    for (const LevelPolyline& poly : level.polylines) {
        const uint32_t colour = polylineColour(poly.flags);
        for (std::size_t k = 1; k < poly.points.size(); ++k)
            line(p, poly.points[k - 1].first, poly.points[k - 1].second, poly.points[k].first, poly.points[k].second, 1,
                 colour, (poly.flags & 16) != 0);
        for (auto [x, y] : poly.points) dot(p, x, y, 2, colour);
        if (poly.flags && !poly.points.empty())
            caption(p, poly.points[0].first, poly.points[0].second + 6, flagNames(poly.flags), colour);
    }
    for (const LevelActor& actor : level.actors) {
        const auto& v = actor.values;
        const int x = v[2], y = v[3];
        const bool hero = actor.type == 1;
        const uint32_t colour = hero ? kHero : actor.type == 5 ? kZone : kActor;
        if (actor.type == 6 && v.size() > 13) box(p, x + v[7], y + v[8], v[13] - v[7], v[12] - v[8], kZone, true);
        // Where the type notices the hero, and a warp door's box.
        for (const char* left : {"rect-left", "box-left"}) {
            const int k = actorFieldIndex(actor.type, left);
            if (k > 0 && actor.type != 2) box(p, x + v[k], y + v[k + 1], v[k + 2], v[k + 3], kZone, true);
        }
        if (actor.type == 7 && v.size() > 10) {
            line(p, x + v[7], y + v[8], x + v[9], y + v[10], 0, kTarget, true);
            dot(p, x + v[9], y + v[10], 3, kTarget);
        }
        // The foot point, and a body-sized box standing on it; zones and switches show their own box.
        if (actorHasBox(actor.type)) box(p, x, y, v[6], v[7], colour, true);
        else box(p, x - 16, y - 44, 32, 44, colour);
        dot(p, x, y, 2, colour);
        const bool boxed = actorHasBox(actor.type);
        caption(p, boxed ? x : x - 16, boxed ? y - 18 : y - 62, std::to_string(v[1]) + " " + actorTypeName(actor.type),
                colour);
    }
    // Move targets; captions at one point are stacked, and kept inside the picture.
    std::map<std::pair<int, int>, int> captionsAt;
    for (const LevelTrigger& trigger : level.triggers)
        for (const LevelCommand& command : trigger.commands)
            for (const LevelEntry& entry : command.entries)
                for (const LevelAction& action : entry.actions) {
                    if (action.code % 10 != 1 && action.code != 12) continue;
                    const int x = action.args[0], y = action.args[1];
                    const int stacked = captionsAt[{x, y}]++;
                    dot(p, x, y, 3, kTarget);
                    caption(p, x + 5, std::max(y - 7, 2) + stacked * (SystemFont::height() + 4),
                            "t" + std::to_string(trigger.id) + (command.opcode == 1 ? " cam" : " ") +
                                (command.opcode == 2 ? std::to_string(command.subject) : "") + " @" +
                                std::to_string(entry.frame),
                            kTarget);
                }
}

}  // namespace

bool renderLevelView(const std::filesystem::path& source, const std::filesystem::path& dataBar, Picture& out,
                     int& spritesDrawn, std::string& error) {
    spritesDrawn = 0;
    std::string text;
    if (!readFileBytes(source, text, error)) return false;
    LevelSource level;
    std::vector<LevelProblem> problems;
    if (!readLevelSource(text, source.string(), level, problems)) return fail(error, describe(problems.front()));

    if (!std::filesystem::exists(dataBar)) return fail(error, dataBar.string() + ": no such file");
    platform::setDataFile(dataBar);
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    Runtime::loadConstants();
    // The tile sets the layers name, loaded as the level loader loads them.
    std::map<int, Bsprite*> sets;
    LevelContent content;
    P::packOpen(Runtime::ldcString(kTilesPack));
    for (const LevelTileLayer& layer : level.layers) {
        if (sets.count(layer.tileSet)) continue;
        Bsprite* sprite = P::loadSpriteFlags(layer.tileSet, 1, false, true);
        if (!sprite) {
            P::packClose();
            return fail(error, dataBar.string() + ": tile set " + std::to_string(layer.tileSet) + " did not load");
        }
        sets[layer.tileSet] = sprite;
        content.tileCounts[layer.tileSet] = sprite->GetFrameCount();
    }
    P::packClose();
    // The actors' sprites, by the type-to-sprite map; a slot without art stays null.
    std::map<int, Bsprite*> actorSprites;
    P::packOpen(Runtime::ldcString(kSpritesPack));
    for (const LevelActor& actor : level.actors) {
        const int slot = actor.type >= 0 && actor.type < Z::kTypeSpriteCount ? Z::kTypeSprites[actor.type] : -1;
        if (slot < 0) continue;
        if (!actorSprites.count(slot)) actorSprites[slot] = P::loadSpriteFlags(slot, 1, false, true);
        if (Bsprite* sprite = actorSprites[slot]) content.typeAnimations[actor.type] = sprite->animCount;
    }
    P::packClose();
    Runtime::clearPendingException();
    if (!checkLevel(level, content, problems)) return fail(error, describe(problems.front()));
    auto spriteOf = [&](const LevelActor& actor) -> Bsprite* {
        const int slot = actor.type >= 0 && actor.type < Z::kTypeSpriteCount ? Z::kTypeSprites[actor.type] : -1;
        auto it = actorSprites.find(slot);
        if (it == actorSprites.end() || !it->second) return nullptr;
        const int anim = actor.values[6];
        return !actorHasBox(actor.type) && anim < it->second->animCount && it->second->GetAFrames(anim) > 0 ? it->second
                                                                                                          : nullptr;
    };

    const LevelItems items = compileLevel(level);
    BXLibPlayer::TilesetInit(kLandscapeWidth, kLandscapeHeight, kTile, kTile);
    int width = 0, height = 0;
    std::size_t item = 2;
    std::vector<jint> loaded;
    for (int k : {0, 2, 3, 4}) {
        for (const LevelTileLayer& layer : level.layers) {
            if (layer.layer != k) continue;
            const bool backdrop = k == 0;
            BXLibPlayer::TilesetLoadLayer(k, bytes(items.levelPack[item + 1]), bytes(items.levelPack[item]),
                                          bytes(items.levelPack[item + 2]), sets[layer.tileSet], false, 0, backdrop,
                                          backdrop);
            item += 3;
            loaded.push_back(k);
            if (k == 3 || width == 0) width = layer.width * kTile, height = layer.height * kTile;
        }
    }
    if (width == 0) return fail(error, source.string() + ": no tile layer to draw");

    LandscapeScreen screen;
    if (!screen.ready()) return fail(error, "no room for the screen image");
    out.width = width, out.height = height;
    out.argb.assign(static_cast<size_t>(width) * height, kBlack);
    const int cols = kLandscapeWidth / kTile, rows = kLandscapeHeight / kTile;
    for (int wy = 0; wy < height; wy += kLandscapeHeight)
        for (int wx = 0; wx < width; wx += kLandscapeWidth) {
            screen.fill(0x000000);
            for (jint k : loaded)
                BXLibPlayer::TilesetRefreshBuffer(screen.g(), k, wx / kTile, wy / kTile, cols - 1, rows - 1, 0, 0);
            // Each actor in the first frame of its starting animation, flipped as its flags say.
            for (const LevelActor& actor : level.actors)
                if (Bsprite* sprite = spriteOf(actor)) {
                    const auto& v = actor.values;
                    sprite->PaintAFrame(screen.g(), v[6], 0, v[2] - wx, v[3] - wy, v[4] & 3, 0, 0);
                }
            const Picture part = screen.readAll();
            for (int y = 0; y < part.height && wy + y < height; ++y)
                for (int x = 0; x < part.width && wx + x < width; ++x)
                    out.argb[static_cast<size_t>((wy + y) * width + wx + x)] = part.argb[static_cast<size_t>(y * part.width + x)];
        }
    overlay(out, level);
    if (Runtime::pending()) return fail(error, "an exception was raised while painting");
    spritesDrawn = static_cast<int>(std::count_if(level.actors.begin(), level.actors.end(),
                                                  [&](const LevelActor& a) { return spriteOf(a) != nullptr; }));
    return true;
}

int runLevelView(int argc, const char* const* argv) {
    if (argc != 4) {
        std::fputs("usage: levelview LEVEL.level DATA.bar OUT.png\n", stderr);
        return 2;
    }
    if (!Runtime::initHeaps(64u << 20, 64u << 20)) {
        std::fputs("levelview: cannot create the heaps\n", stderr);
        return 1;
    }
    int status = 0;
    {
        ObjectManager collector;
        Picture picture;
        std::string error;
        int sprites = 0;
        if (!renderLevelView(argv[1], argv[2], picture, sprites, error) || !writePngPicture(argv[3], picture, error)) {
            std::fprintf(stderr, "levelview: %s\n", error.c_str());
            status = 1;
        } else {
            std::printf("levelview: %s: %d x %d pixels, %d actors drawn with their sprites\n", argv[1], picture.width,
                        picture.height, sprites);
        }
        Runtime::destroyHeaps();
    }
    return status;
}

}  // namespace tools
