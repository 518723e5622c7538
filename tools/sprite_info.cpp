// Walks the sections in load order with the widths the flags choose, printing as it goes.
#include "tools/sprite_info.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "sprites/asprite.h"

namespace tools {

namespace {

struct ShortData : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Cursor {
    const std::string& b;
    size_t pos = 0;
    uint32_t u8(const char* what) {
        if (pos >= b.size()) throw ShortData(std::string("the data ends inside ") + what);
        return static_cast<uint8_t>(b[pos++]);
    }
    uint32_t u16(const char* what) { return u8(what) | u8(what) << 8; }
    uint32_t u32(const char* what) { return u16(what) | u16(what) << 16; }
    int s8(const char* what) { return static_cast<int8_t>(u8(what)); }
    int s16(const char* what) { return static_cast<int16_t>(u16(what)); }
    int field(bool wide, bool isSigned, const char* what) {
        if (wide) return isSigned ? s16(what) : static_cast<int>(u16(what));
        return isSigned ? s8(what) : static_cast<int>(u8(what));
    }
};

std::string format(const char* f, auto... args) {
    char line[256];
    std::snprintf(line, sizeof line, f, args...);
    return line;
}

const char* kindName(uint32_t kind) {
    switch (kind) {
        case 0x00: return "image";
        case 0xFF: return "rect";
        case 0xFE: return "fillRect";
        case 0xFD: return "empty";
        case 0xFC: return "arc";
        case 0xFB: return "fillArc";
        case 0xFA: return "triangle";
        case 0xF9: return "fillTriangle";
        default: return nullptr;
    }
}

void describe(Cursor& c, std::string& out, SpriteCounts& counts) {
    c.u16("the header");
    const uint32_t flags = c.u32("the header");
    const bool size16 = flags & ASprite::kFlagModuleSize16, xy = flags & ASprite::kFlagModuleXY,
               data32 = flags & ASprite::kFlagDataSize32, f16 = flags & ASprite::kFlagFrame16,
               boxes = flags & ASprite::kFlagBoxes, af16 = flags & ASprite::kFlagAFrameOffset16;
    out += format("flags 0x%08X\n", flags);
    const int modules = c.s16("the module count");
    out += format("modules %d\n", std::max(modules, 0));
    counts.modules = std::max(modules, 0);
    for (int m = 0; m < modules; ++m) {
        const uint32_t kind = c.u8("a module");
        const char* name = kindName(kind);
        if (!name) throw ShortData(format("module %d has unknown kind 0x%02X", m, kind));
        out += format("  %4d %-12s", m, name);
        if (kind != 0x00 && kind != 0xFD) out += format(" colour #%08X", c.u32("a module"));
        if (kind == 0x00 && xy) {
            const int x = c.s16("a module");
            out += format(" at (%d, %d)", x, c.s16("a module"));
        }
        if (kind == 0xFA || kind == 0xF9) {
            int p[4];
            for (int& v : p) v = c.s16("a module");
            out += format(" points (%d, %d) (%d, %d)", p[0], p[1], p[2], p[3]);
        } else {
            const int w = c.field(size16, false, "a module");
            out += format(" %dx%d", w, c.field(size16, false, "a module"));
        }
        if (kind == 0xFC || kind == 0xFB) {
            const int start = c.s16("a module");
            out += format(" start %d angle %d", start, c.s16("a module"));
        }
        out += '\n';
    }
    const int fmodules = c.s16("the frame-module count");
    std::vector<std::string> fmLines;
    for (int i = 0; i < fmodules; ++i) {
        const int index = static_cast<int>(c.u8("a frame-module"));
        const int x = c.field(f16, true, "a frame-module");
        const int y = c.field(f16, true, "a frame-module");
        const int fl = static_cast<int>(c.u8("a frame-module"));
        fmLines.push_back(format("module %d at (%d, %d) flags %d", index + (fl & 0xC0) * 4, x, y, fl & 0x0F));
    }
    std::vector<std::string> boxLines;
    if (boxes) {
        const int count = c.s16("the box count");
        for (int i = 0; i < count; ++i) {
            int v[4];
            for (int k = 0; k < 4; ++k) v[k] = c.field(f16, k < 2, "a box");
            boxLines.push_back(format("box (%d, %d) %dx%d", v[0], v[1], v[2], v[3]));
        }
    }
    const int frames = c.s16("the frame count");
    struct FrameRecord {
        int count, first, boxes;
    };
    std::vector<FrameRecord> records;
    for (int f = 0; f < frames; ++f) {
        FrameRecord r{};
        r.count = static_cast<int>(c.u8("a frame"));
        c.u8("a frame");
        r.first = c.s16("a frame");
        r.boxes = boxes ? c.s8("a frame") : 0;
        records.push_back(r);
        counts.frameModules.push_back(r.count);
        counts.frameBoxes.push_back(std::max(r.boxes, 0));
    }
    out += format("frames %d\n", std::max(frames, 0));
    int firstBox = 0;
    for (int f = 0; f < frames; ++f) {
        std::string rect;
        if (!(flags & ASprite::kFlagComputeRects)) {
            int v[4];
            for (int k = 0; k < 4; ++k) v[k] = c.field(f16, k < 2, "a frame rectangle");
            rect = format(" rect (%d, %d) %dx%d", v[0], v[1], v[2], v[3]);
        }
        out += format("  %4d%s\n", f, rect.c_str());
        const FrameRecord& r = records[f];
        for (int j = 0; j < r.count; ++j) {
            const int i = r.first + j;
            out += "       " + (i >= 0 && i < static_cast<int>(fmLines.size()) ? fmLines[i] : format("frame-module %d is missing", i)) + '\n';
        }
        for (int j = 0; j < r.boxes; ++j) {
            const int i = firstBox + j;
            out += "       " + (i < static_cast<int>(boxLines.size()) ? boxLines[i] : format("box %d is missing", i)) + '\n';
        }
        firstBox += std::max(r.boxes, 0);
    }
    const int aframes = c.s16("the animation-frame count");
    std::vector<std::string> afLines;
    std::vector<int> afFrames;
    for (int i = 0; i < aframes; ++i) {
        const int frame = static_cast<int>(c.u8("an animation frame"));
        const int time = static_cast<int>(c.u8("an animation frame"));
        const int x = c.field(af16, true, "an animation frame");
        const int y = c.field(af16, true, "an animation frame");
        const int fl = static_cast<int>(c.u8("an animation frame"));
        afFrames.push_back(frame + (fl & 0xC0) * 4);
        afLines.push_back(format("frame %d time %d at (%d, %d) flags %d", frame + (fl & 0xC0) * 4, time, x, y, fl & 0x0F));
    }
    const int anims = c.s16("the animation count");
    out += format("animations %d\n", std::max(anims, 0));
    for (int a = 0; a < anims; ++a) {
        const int count = static_cast<int>(c.u8("an animation"));
        c.u8("an animation");
        const int first = c.s16("an animation");
        counts.animationFrames.push_back(count);
        std::vector<int> shown;
        for (int j = 0; j < count; ++j)
            shown.push_back(first + j >= 0 && first + j < static_cast<int>(afFrames.size()) ? afFrames[first + j] : -1);
        counts.animationFrameOf.push_back(std::move(shown));
        out += format("  %4d\n", a);
        for (int j = 0; j < count; ++j) {
            const int i = first + j;
            out += "       " + (i >= 0 && i < static_cast<int>(afLines.size()) ? afLines[i] : format("animation frame %d is missing", i)) + '\n';
        }
    }
    if (!(flags & ASprite::kFlagImageSection) || modules <= 0 || c.pos >= c.b.size()) return;
    const uint32_t paletteFormat = c.u16("the palette header");
    const int palettes = static_cast<int>(c.u8("the palette header"));
    int colours = static_cast<int>(c.u8("the palette header"));
    if (colours == 0) colours = 256;
    out += format("palettes %d of %d colours, format %04X\n", palettes, colours, paletteFormat);
    counts.palettes = palettes;
    for (int p = 0; p < palettes; ++p) {
        out += format("  %4d", p);
        for (int i = 0; i < colours; ++i) {
            if (i > 0 && i % 8 == 0) out += "\n      ";
            out += paletteFormat == 0x8888 ? format(" %08X", c.u32("a palette")) : format(" %04X", c.u16("a palette"));
        }
        out += '\n';
    }
    out += format("pixel format %04X\n", c.u16("the pixel format"));
    for (int m = 0; m < modules; ++m) {
        const uint32_t size = data32 ? c.u32("a module's pixel data") : static_cast<uint32_t>(c.s16("a module's pixel data"));
        if (size > c.b.size() - c.pos) throw ShortData(format("module %d's pixel data (%u bytes) runs past the end", m, size));
        c.pos += size;
        if (size > 0) out += format("  module %d: %u bytes\n", m, size);
    }
}

}  // namespace

bool describeSprite(const std::string& bytes, std::string& out, std::string& error) {
    Cursor c{bytes};
    SpriteCounts counts;
    try {
        describe(c, out, counts);
    } catch (const ShortData& e) {
        error = e.what();
        return false;
    }
    return true;
}

bool countSprite(const std::string& bytes, SpriteCounts& counts, std::string& error) {
    Cursor c{bytes};
    std::string text;
    counts = {};
    try {
        describe(c, text, counts);
    } catch (const ShortData& e) {
        error = e.what();
        return false;
    }
    counts.bytesRead = c.pos;
    return true;
}

}  // namespace tools
