// libFuzzer target for tile layers over untrusted map bytes: the layer header, tile ids and cell
// flags, with view and tile sizes, repeat and clamp modes, buffering and positions the input picks,
// drawn through both roads with a small tileset sprite. Invariants checked: nothing stays pending, a
// cell far outside a map that does not repeat reads as empty, and every tile id and cell flag read
// or painted lies inside the data (ASan).
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_draw.h"
#include "tests/fuzz/fuzz_heaps.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using B = BXLibPlayer;
constexpr int kTile = 8, kKinds = 4;

// Four 8 x 8 modules in one 16-colour palette, frame t drawing module t.
ByteArray* tileSprite() {
    std::vector<uint8_t> b;
    auto u8 = [&b](uint32_t v) { b.push_back(static_cast<uint8_t>(v)); };
    auto u16 = [&](uint32_t v) { u8(v & 0xFF), u8(v >> 8); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    u16(0), u32(0x01000000);
    u16(kKinds);
    for (int t = 0; t < kKinds; ++t) u8(0x00), u8(kTile), u8(kTile);
    u16(kKinds);
    for (int t = 0; t < kKinds; ++t) u8(static_cast<uint32_t>(t)), u8(0), u8(0), u8(0);
    u16(kKinds);
    for (int t = 0; t < kKinds; ++t) u8(1), u8(0), u16(static_cast<uint32_t>(t));
    for (int t = 0; t < kKinds; ++t) u8(0), u8(0), u8(kTile), u8(kTile);
    u16(0), u16(0);
    u16(0x8888), u8(1), u8(16);
    for (int i = 0; i < 16; ++i) u32(0xFF000000u | static_cast<uint32_t>(i) * 0x00101010u);
    u16(0x1600);
    for (int t = 0; t < kKinds; ++t) {
        u16(kTile * kTile / 2);
        for (int p = 0; p < kTile * kTile; p += 2) u8(static_cast<uint32_t>(((t + p) & 15) << 4 | ((t + p + 1) & 15)));
    }
    ByteArray* bytes = Runtime::newByteArray(static_cast<jint>(b.size()));
    if (bytes) std::memcpy(bytes->data, b.data(), b.size());
    return bytes;
}

// The sprite, the picture and its Graphics, held in root slots so collections keep them and all
// they reach.
struct World {
    Object* sprite = nullptr;
    Object* image = nullptr;
    Object* graphics = nullptr;
    [[nodiscard]] Bsprite* tiles() const { return static_cast<Bsprite*>(sprite); }
    [[nodiscard]] javax_microedition_lcdui_Graphics* g() const {
        return static_cast<javax_microedition_lcdui_Graphics*>(graphics);
    }
};

World& world() {
    static World* w = [] {
        startFuzzHeaps();
        ASprite::s_gcAtLoad = 0;
        cGameDraw::createDrawEffectParams();
        auto* made = new World;
        for (Object** slot : {&made->sprite, &made->image, &made->graphics}) Runtime::getObjectManager()->addRoot(slot);
        auto* sprite = Runtime::make<Bsprite>();
        made->sprite = sprite;
        ByteArray* bytes = tileSprite();
        if (!sprite || !bytes || !sprite->Load(bytes, 0)) __builtin_trap();
        auto* image = javax_microedition_lcdui_Image::createImage(96, 96);
        if (!image) __builtin_trap();
        made->image = image;
        made->graphics = image->getGraphics();
        if (!made->graphics) __builtin_trap();
        return made;
    }();
    return *w;
}

// Reads the input front to back; past its end every read is 0.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint32_t byte() { return at < size ? data[at++] : 0; }
    int32_t signed16() { return static_cast<int16_t>(byte() | byte() << 8); }
    ByteArray* bytes(size_t n) {
        n = std::min(n, size - std::min(size, at));
        ByteArray* out = Runtime::newByteArray(static_cast<jint>(n));
        if (out && n > 0) std::memcpy(out->data, data + at, n);
        at += n;
        return out;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World& w = world();
    if (size > 4096) return 0;
    Input in{data, size};
    const uint32_t mode = in.byte();
    B::TilesetInit(static_cast<jint>(in.byte() % 120), static_cast<jint>(in.byte() % 120),
                   static_cast<jint>(in.byte() % 24), static_cast<jint>(in.byte() % 24));
    const jint layer = static_cast<jint>(mode & 7) - 1;  // -1 and 5 are outside the layers
    ByteArray* header = in.bytes(in.byte() % 6);
    const size_t tileBytes = in.byte() | in.byte() << 8;
    ByteArray* tiles = in.bytes(tileBytes);
    ByteArray* cellFlags = (mode & 8) ? in.bytes(tileBytes / 2) : nullptr;
    const jint yMode = (mode & 16) ? 32 : 16;
    const jint xRepeat = static_cast<jint>(in.byte() % 3), yRepeat = static_cast<jint>(in.byte() % 3);
    cGameDraw::s_g = w.g();
    B::TilesetLoadLayer(layer, header, tiles, cellFlags, w.tiles(), (mode & 32) != 0, yMode, xRepeat, yRepeat);
    if (Runtime::pending()) __builtin_trap();
    for (int step = 0; step < 4 && in.at < in.size; ++step) {
        const jint x = in.signed16(), y = in.signed16();
        B::TilesetSetPosition(layer, x, y);
        (void)B::TilesetGetTile(layer, in.signed16(), in.signed16());
        (void)B::TilesetGetCellFlags(layer, in.signed16(), in.signed16());
        B::TilesetDraw(w.g(), static_cast<jint>(in.byte() % 96) - 16, static_cast<jint>(in.byte() % 96) - 16,
                       (in.byte() & 1) ? -1 : layer);
        if (Runtime::pending()) __builtin_trap();
    }
    // A cell far outside any map is empty.
    if (layer >= 0 && layer < B::kTileLayers && B::TilesetGetTile(layer, -70000, -70000) != B::kEmptyTile &&
        !B::TilesetLayerHasFlag(layer, B::kTileRepeatX) && !B::TilesetLayerHasFlag(layer, B::kTileRepeatY))
        __builtin_trap();
    Runtime::clearPendingException();
    return 0;
}
