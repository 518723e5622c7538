// A sprite as the compiler holds it before writing: modules (image modules as palette indices, plus
// per-pixel alpha for the alpha-run pixel format), frames of frame-modules with boxes and a stored
// rectangle, animations of animation frames, palettes as 0xAARRGGBB, and the chosen palette and
// pixel formats. writeSprite (tools/sprite_writer.h) turns it into the bytes the game loads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// The module kind byte as written in the data.
enum class ModuleKind : uint8_t {
    Image = 0x00,
    Rect = 0xFF,
    FillRect = 0xFE,
    Empty = 0xFD,
    Arc = 0xFC,
    FillArc = 0xFB,
    Triangle = 0xFA,
    FillTriangle = 0xF9,
};

struct SpriteModule {
    ModuleKind kind = ModuleKind::Image;
    uint32_t colour = 0;                  // shape modules
    int x = 0, y = 0;                     // image modules: place in the source picture
    int w = 0, h = 0;                     // every kind but triangles
    std::array<int, 2> angles{};          // arcs: start, arc angle (degrees)
    std::array<int, 4> points{};          // triangles: second and third corner from the first
    std::vector<uint8_t> indices;         // image modules: w x h palette indices, row by row
    std::vector<uint8_t> alpha;           // pixel format 0xA256 only: w x h alpha values
};

struct SpriteFModule {
    int module = 0, x = 0, y = 0, flags = 0;   // flags: bits 0-3 (flip x, flip y, turn, pass-through)
};

struct SpriteFrame {
    std::vector<SpriteFModule> modules;
    std::vector<std::array<int, 4>> boxes;   // {x, y, w, h}
    std::array<int, 4> rect{};               // {x, y, w, h}
};

struct SpriteAFrame {
    int frame = 0, time = 1, x = 0, y = 0, flags = 0;
};

struct SpriteAnimation {
    std::vector<SpriteAFrame> frames;
};

struct SpriteDefinition {
    int paletteFormat = 0x8888;
    int pixelFormat = 0x56F2;
    bool modulePositions = false;            // store image modules' x, y (data flag 0x20)
    std::vector<std::vector<uint32_t>> palettes;
    std::vector<SpriteModule> modules;
    std::vector<SpriteFrame> frames;
    std::vector<SpriteAnimation> animations;
};

// Where a definition came from, for messages: "FILE: modules[3]: ...".
struct SpriteOrigin {
    std::string file;
};

}  // namespace tools
