// Sprite painting into a headless 480 x 800 portrait target, in frames of the game's shape: four
// scrolling tile layers of 40 x 40 tiles and 60 animation players of 10 modules each, (1) from
// Image caches that always hit, (2) through a cache pool too small to hold one actor's modules, so
// every module is decoded and evicted again, (3) from ARGB-array caches, (4) with half the players
// under their effects 10 (alpha) and 11 (scale); and (5) a page of sprite-font text (the tests'
// font of the built-in 9 x 15 glyphs) and (6) one of bitmap-font text through the glyph-image cache. Prints each scenario's median ms per frame and a checksum of its last frame's
// pixels, and the first scenario's figure last as `ms_per_frame: X`.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/system_font.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "sprites/bitmap_font.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_draw.h"
#include "tests/sprites/font_sprite.h"
#include "tools/sprite_writer.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr int kActors = 60;
constexpr int kModules = 10;
constexpr int kFrames = 4;
constexpr int kFramesPerRound = 50;
constexpr int kTile = 40, kTileKinds = 12, kMapCols = 30, kMapRows = 20, kLayers = 4;
constexpr int kRounds = 9;

// Ten image modules of 16..34 pixels a side in 16 colours (colour 0 the key), four frames that
// place all ten with every flip and turn, one animation through the four frames.
tools::SpriteDefinition actorSprite() {
    tools::SpriteDefinition s;
    s.pixelFormat = 0x1600;
    std::vector<uint32_t> palette = {0x00FF00FF};
    for (uint32_t i = 1; i < 16; ++i) palette.push_back(0xFF000000u | (i * 0x110000u) | ((15 - i) * 0x1100u) | (i * 7u));
    s.palettes.push_back(palette);
    for (int m = 0; m < kModules; ++m) {
        tools::SpriteModule mod;
        mod.w = 16 + 2 * m;
        mod.h = 34 - 2 * m;
        for (int y = 0; y < mod.h; ++y)
            for (int x = 0; x < mod.w; ++x)
                mod.indices.push_back(static_cast<uint8_t>((x + y) % 7 == 0 ? 0 : 1 + (x * 3 + y * 5 + m) % 15));
        s.modules.push_back(mod);
    }
    for (int f = 0; f < kFrames; ++f) {
        tools::SpriteFrame frame;
        for (int m = 0; m < kModules; ++m)
            frame.modules.push_back({m, (m % 5) * 12 - 24 + f, (m / 5) * 18 - 18, (m + f) % 8});
        frame.rect = {-24, -18, 96, 70};
        s.frames.push_back(frame);
        s.animations.resize(1);
        s.animations[0].frames.push_back({f, 1, 0, 0, 0});
    }
    return s;
}

// Twelve 40 x 40 tiles: a border, a diagonal stripe and holes of the key colour in all but tile 0.
tools::SpriteDefinition tileSprite() {
    tools::SpriteDefinition s;
    s.pixelFormat = 0x1600;
    std::vector<uint32_t> palette = {0x00FF00FF};
    for (uint32_t i = 1; i < 16; ++i) palette.push_back(0xFF000000u | (i * 0x0F0F00u) | (255 - i * 9));
    s.palettes.push_back(palette);
    for (int t = 0; t < kTileKinds; ++t) {
        tools::SpriteModule mod;
        mod.w = mod.h = kTile;
        for (int v = 0; v < kTile; ++v)
            for (int u = 0; u < kTile; ++u) {
                const bool hole = t > 0 && (u / 8 + v / 8) % 3 == 0;
                mod.indices.push_back(static_cast<uint8_t>(hole ? 0 : u == 0 || v == 0 ? 15 : (u + v) % 10 < 2 ? 14 : 1 + t));
            }
        s.modules.push_back(mod);
    }
    return s;
}

Bsprite* loadSprite(const tools::SpriteDefinition& definition) {
    std::string bytes, error;
    if (!tools::writeSprite(definition, "sprite_bench", bytes, error)) {
        std::fprintf(stderr, "sprite_bench: %s\n", error.c_str());
        return nullptr;
    }
    ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
    if (!data) return nullptr;
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(data->elements()));
    auto* sprite = Runtime::make<Bsprite>();
    if (!sprite || !sprite->Load(data, 0)) {
        std::fputs("sprite_bench: a sprite was refused\n", stderr);
        return nullptr;
    }
    return sprite;
}

Bsprite* loadActorSprite() { return loadSprite(actorSprite()); }

ByteArray* u16Bytes(const std::vector<int>& values) {
    ByteArray* a = Runtime::newByteArray(static_cast<jint>(values.size() * 2));
    if (!a) return nullptr;
    for (size_t i = 0; i < values.size(); ++i) {
        a->elements()[2 * i] = static_cast<jbyte>(values[i]);
        a->elements()[2 * i + 1] = static_cast<jbyte>(values[i] >> 8);
    }
    return a;
}

// Four repeating 30 x 20 layers over the 800 x 480 view: layer 0 full of opaque tiles, the others
// with a third of their cells filled.
bool loadTileLayers(Bsprite* tiles) {
    BXLibPlayer::TilesetInit(800, 480, kTile, kTile);
    ByteArray* header = u16Bytes({kMapCols, kMapRows});
    for (int layer = 0; layer < kLayers; ++layer) {
        std::vector<int> ids;
        for (int i = 0; i < kMapCols * kMapRows; ++i)
            ids.push_back(layer == 0 ? 0 : (i * 7 + layer) % 3 == 0 ? 1 + (i + layer) % (kTileKinds - 1) : BXLibPlayer::kEmptyTile);
        ByteArray* map = u16Bytes(ids);
        if (!header || !map) return false;
        BXLibPlayer::TilesetLoadLayer(layer, header, map, nullptr, tiles, false, BXLibPlayer::kTileClampX, 1, 1);
    }
    return true;
}

// The printable ASCII characters of the built-in font at one bit per pixel.
BitmapFont* loadBitmapFont() {
    std::u16string chars;
    for (char16_t c = 33; c < 127; ++c) chars.push_back(c);
    const int w = SystemFont::charWidth(u'A'), h = SystemFont::height();
    std::vector<uint16_t> cell(static_cast<size_t>(w) * h);
    ByteArray* widths = Runtime::newByteArray(static_cast<jint>(chars.size()));
    const int bytesPerGlyph = (w * h + 7) / 8;
    ByteArray* bits = Runtime::newByteArray(static_cast<jint>(chars.size()) * bytesPerGlyph);
    if (!widths || !bits) return nullptr;
    for (size_t i = 0; i < chars.size(); ++i) {
        std::fill(cell.begin(), cell.end(), 0);
        SystemFont::drawText({cell.data(), w, h, w}, 0, 0, std::u16string_view(&chars[i], 1), 0xFFFF);
        widths->elements()[i] = static_cast<jbyte>(w);
        for (int p = 0; p < w * h; ++p)
            if (cell[static_cast<size_t>(p)]) bits->elements()[static_cast<int>(i) * bytesPerGlyph + p / 8] |= static_cast<jbyte>(1 << (p % 8));
    }
    auto* font = Runtime::make<BitmapFont>();
    String* map = String::fromUnits(reinterpret_cast<const jchar*>(chars.data()), static_cast<jint>(chars.size()));
    if (!font || !map || !font->Load(map, widths, bits, h, 1, w)) return nullptr;
    font->SetColor(0xFFFFFF);
    return font;
}

uint64_t checksum(Image* image) {
    const auto* px = static_cast<const uint16_t*>(image->m_pixels->data);
    uint64_t h = 1469598103934665603ull;
    for (jint i = 0; i < image->m_width * image->m_height; ++i) h = (h ^ px[i]) * 1099511628211ull;
    return h;
}

// The rooted objects of the run; `sprite` is replaced by each scenario.
struct Scene {
    Image* target;
    Graphics* g;
    Bsprite* sprite;
    ObjectArray* actors;   // kActors players of sprite
    Bsprite* tiles;
    BitmapFont* font;
    Bsprite* spriteFont;
    String* page;   // 29 lines of 86 characters
};

// The printable ASCII characters, 9 pixels apart, spaces 5.
Bsprite* loadSpriteFont() {
    FontRecipe recipe;
    for (char16_t c = 32; c < 127; ++c) recipe.chars.push_back(c);
    recipe.advance = [](char16_t c) { return c == ' ' ? 5 : kGlyphW; };
    ByteArray* data = fontSprite(recipe).array();
    auto* font = Runtime::make<Bsprite>();
    if (!data || !font || !font->Load(data, 0)) return nullptr;
    font->BuildCharMap(fontCharMap(recipe));
    font->BuildModuleCache(0, 0, -1, -1);
    return font;
}

String* makePage() {
    std::string text;
    for (int row = 0; row < 29; ++row) {
        if (row) text += '\n';
        for (int i = 0; i < 86; ++i) text += static_cast<char>(33 + (row * 7 + i * 11) % 94);
    }
    return String::fromCString(text.c_str());
}

// kActors players of the sprite on a grid of the landscape screen, every second one with effect 10
// or 11, playing the animation for ever from different frames.
ObjectArray* makeActors(Bsprite* sprite, bool effects) {
    ObjectArray* actors = Runtime::newObjectArray(CID_BXLibPlayer, kActors);
    if (!actors) return nullptr;
    for (int a = 0; a < kActors; ++a) {
        auto* p = Runtime::make<BXLibPlayer>(static_cast<ASprite*>(sprite), 40 + (a % 10) * 76, 30 + (a / 10) * 72);
        if (!p) return nullptr;
        actors->set(a, p);
        p->SetAnim(0, 0);
        (void)p->SetFrame(a);
        if (effects && a % 4 == 1) p->effectParamA = 128;
        if (effects && a % 4 == 3) p->effectParamB = 150;
    }
    return actors;
}

// One frame: the tile layers scrolled one step, then every player advanced by a frame time and
// painted.
void paintActors(const Scene& s, int frame) {
    s.g->setClip(0, 0, 480, 800);
    for (int layer = 0; layer < kLayers; ++layer)
        BXLibPlayer::TilesetSetPosition(layer, frame * (layer + 1) + layer * 13, frame / 2 + layer * 7);
    BXLibPlayer::TilesetDraw(s.g, 0, 0, -1);
    for (int a = 0; a < kActors; ++a) {
        auto* p = static_cast<BXLibPlayer*>(s.actors->get(a));
        p->x = 40 + (a % 10) * 76 + (frame % 8);
        p->Update(58);
        p->Render();
    }
}

void paintSpriteText(const Scene& s) {
    s.g->setClip(0, 0, 480, 800);
    s.g->setColor(0);
    s.g->fillRect(0, 0, 480, 800);
    s.spriteFont->DrawPageFull(s.g, s.page, 4, 4, 0);
}

void paintText(const Scene& s, int frame) {
    static const char kLine[] = "The quick brown fox jumps over the lazy dog; 0123456789 (%d)";
    s.g->setClip(0, 0, 480, 800);
    s.g->setColor(0);
    s.g->fillRect(0, 0, 480, 800);
    const int lineHeight = s.font->glyphHeight + 2;
    for (int row = 0; row * lineHeight + lineHeight <= 800; ++row) {
        char text[96];
        std::snprintf(text, sizeof text, kLine, frame + row);
        jint x = 4;
        for (const char* c = text; *c && x < 470; ++c) x += s.font->DrawCharCached(s.g, static_cast<jchar>(*c), x, row * lineHeight);
    }
}

struct Result {
    double msPerFrame;
    uint64_t sum;
};

template <class Paint>
Result measure(Image* target, Paint paint) {
    std::vector<double> times;
    int frame = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kFramesPerRound; ++i) paint(frame++);
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        times.push_back(elapsed.count() / kFramesPerRound);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], checksum(target)};
}

void report(const char* name, const Result& r) {
    std::printf("%-28s %8.3f ms per frame  checksum %016llx\n", name, r.msPerFrame,
                static_cast<unsigned long long>(r.sum));
}

}  // namespace

int main() {
    if (!Runtime::initHeaps()) {
        std::fputs("sprite_bench: cannot create the heaps\n", stderr);
        return 1;
    }
    Result hits{};
    {
        ObjectManager collector;
        Scene scene{};
        Object** const roots[] = {reinterpret_cast<Object**>(&scene.target), reinterpret_cast<Object**>(&scene.g),
                                  reinterpret_cast<Object**>(&scene.sprite), reinterpret_cast<Object**>(&scene.actors),
                                  reinterpret_cast<Object**>(&scene.tiles), reinterpret_cast<Object**>(&scene.font),
                                  reinterpret_cast<Object**>(&scene.spriteFont), reinterpret_cast<Object**>(&scene.page)};
        for (Object** root : roots) collector.addRoot(root);
        scene.target = Image::createImage(480, 800);
        scene.sprite = loadActorSprite();
        scene.font = loadBitmapFont();
        scene.tiles = loadSprite(tileSprite());
        scene.spriteFont = loadSpriteFont();
        scene.page = makePage();
        if (!scene.target || !scene.sprite || !scene.font || !scene.tiles || !scene.spriteFont || !scene.page ||
            !loadTileLayers(scene.tiles) ||
            !(scene.actors = makeActors(scene.sprite, false))) {
            std::fputs("sprite_bench: cannot build the scene\n", stderr);
            return 1;
        }
        scene.g = scene.target->getGraphics();
        Image* const target = scene.target;
        cGameDraw::s_g = scene.g;
        cGameDraw::createDrawEffectParams();

        scene.tiles->BuildModuleCache(0, 0, -1, -1);
        scene.sprite->BuildModuleCache(0, 0, -1, -1);
        hits = measure(target, [&](int f) { paintActors(scene, f); });

        ASprite::InitCachePools(1);
        ASprite::InitCachePool(0, kModules / 2);
        if (!(scene.sprite = loadActorSprite()) || !(scene.actors = makeActors(scene.sprite, false))) return 1;
        scene.sprite->SetCachePool(0);
        report("pool thrashing", measure(target, [&](int f) { paintActors(scene, f); }));

        if (!(scene.sprite = loadActorSprite()) || !(scene.actors = makeActors(scene.sprite, false))) return 1;
        Bsprite::SetNoCacheFlag(scene.sprite, true);
        scene.sprite->BuildModuleCache(0, 0, -1, -1);
        report("ARGB cache", measure(target, [&](int f) { paintActors(scene, f); }));

        if (!(scene.sprite = loadActorSprite()) || !(scene.actors = makeActors(scene.sprite, true))) return 1;
        scene.sprite->BuildModuleCache(0, 0, -1, -1);
        report("effects 10 and 11 on half", measure(target, [&](int f) { paintActors(scene, f); }));

        report("sprite font page", measure(target, [&](int) { paintSpriteText(scene); }));

        BitmapFont::SetCacheCapacity(128);
        report("bitmap font page", measure(target, [&](int f) { paintText(scene, f); }));

        report("tiles and actors, cache hits", hits);
        std::printf("collections %llu\n", static_cast<unsigned long long>(collector.statistics().collections));
        cGameDraw::s_g = nullptr;
        for (Object** root : roots) collector.removeRoot(root);
        Runtime::destroyHeaps();
    }
    std::printf("ms_per_frame: %.3f\n", hits.msPerFrame);
    return 0;
}
