// Checks a definition against what the loader and the painters accept, then writes the sections in
// load order with the smallest field forms that hold every value.
#include "tools/sprite_writer.h"

#include <algorithm>

#include "platform/graphics/sprite_pixels.h"
#include "sprites/asprite.h"
#include "tools/little_endian.h"
#include "tools/sprite_pixel_encoder.h"

namespace tools {

namespace {

constexpr int kMaxIndexed = 1024;       // module and frame numbers: a byte plus two flag bits
constexpr int kMaxCount = 0x7FFF;       // section counts and first-entry indices are s16
constexpr int kMaxPerGroup = 255;       // frame-modules per frame, frames per animation (u8)
constexpr int kMaxBoxesPerFrame = 127;  // a frame's box count is read signed

bool fitsS8(int v) { return v >= -128 && v <= 127; }
// A {x, y, w, h} group fits bytes when x, y read back signed and w, h unsigned.
bool rectFitsBytes(const std::array<int, 4>& r) { return fitsS8(r[0]) && fitsS8(r[1]) && r[2] <= 255 && r[3] <= 255; }

std::string hexColour(uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%08X", c);
    return text;
}

uint32_t encodeColour(int format, uint32_t c) {
    const uint32_t a = c >> 24, r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    switch (format) {
        case gfx::kPalette8888: return c;
        case gfx::kPalette4444: return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4;
        case gfx::kPalette5515:
            if (c == gfx::kColourKey) return 31u << 10 | 31u;
            return (a == 0xFF ? 0x8000u : 0) | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
        case gfx::kPalette6505:
            if (c == gfx::kColourKey) return 0xF81F;
            return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
        default: return 0;
    }
}

void appendColour(std::string& out, int format, uint32_t c) {
    if (format == gfx::kPalette8888) appendU32LE(out, c);
    else appendU16LE(out, encodeColour(format, c));
}

struct Checker {
    const std::string& where;
    std::string& error;
    bool fail(const std::string& field, const std::string& message) {
        error = where + ": " + field + ": " + message;
        return false;
    }
    bool range(const std::string& field, int v, int lo, int hi) {
        if (v >= lo && v <= hi) return true;
        return fail(field, std::to_string(v) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    }
};

bool checkPalettes(const SpriteDefinition& s, Checker& c) {
    const bool anyImage = std::any_of(s.modules.begin(), s.modules.end(),
                                      [](const SpriteModule& m) { return m.kind == ModuleKind::Image; });
    if (!anyImage) return true;
    if (s.palettes.empty() || s.palettes.size() > static_cast<size_t>(ASprite::kMaxPalettes))
        return c.fail("palettes", std::to_string(s.palettes.size()) + " palettes: 1 to 16 are allowed");
    if (!knownPaletteFormat(s.paletteFormat)) return c.fail("paletteFormat", "unknown palette format");
    const int maxColours = pixelFormatColours(s.pixelFormat);
    if (maxColours == 0) return c.fail("pixelFormat", "no encoder for this pixel format");
    const size_t colours = s.palettes[0].size();
    if (colours < 1 || colours > 256) return c.fail("palettes[0]", std::to_string(colours) + " colours: 1 to 256 are allowed");
    if (static_cast<int>(colours) > maxColours)
        return c.fail("palettes[0]", std::to_string(colours) + " colours do not fit the pixel format (at most " +
                                         std::to_string(maxColours) + ")");
    for (size_t p = 0; p < s.palettes.size(); ++p) {
        const std::string field = "palettes[" + std::to_string(p) + "]";
        if (s.palettes[p].size() != colours)
            return c.fail(field, std::to_string(s.palettes[p].size()) + " colours, palette 0 has " + std::to_string(colours));
        for (size_t i = 0; i < colours; ++i) {
            uint32_t colour = s.palettes[p][i];
            // With per-pixel alpha only the palette's colour channels reach the screen.
            if (s.pixelFormat == gfx::kPixelsRunAlpha && colour != gfx::kColourKey) colour |= 0xFF000000u;
            const uint32_t back = paletteRoundTrip(s.paletteFormat, colour);
            if (back != colour)
                return c.fail(field + "[" + std::to_string(i) + "]",
                              "colour " + hexColour(colour) + " does not fit palette format " + hexColour(s.paletteFormat).substr(5) +
                                  " (it would become " + hexColour(back) + ")");
        }
    }
    return true;
}

bool checkModules(const SpriteDefinition& s, Checker& c) {
    if (s.modules.size() > static_cast<size_t>(kMaxIndexed))
        return c.fail("modules", std::to_string(s.modules.size()) + " modules: at most 1024");
    const int colours = s.palettes.empty() ? 0 : static_cast<int>(s.palettes[0].size());
    for (size_t i = 0; i < s.modules.size(); ++i) {
        const SpriteModule& m = s.modules[i];
        const std::string field = "modules[" + std::to_string(i) + "]";
        if (m.kind == ModuleKind::Triangle || m.kind == ModuleKind::FillTriangle) {
            for (int v : m.points)
                if (!c.range(field + ".points", v, -32768, 32767)) return false;
            continue;
        }
        if (!c.range(field + ".w", m.w, 0, 65535) || !c.range(field + ".h", m.h, 0, 65535)) return false;
        if (m.kind == ModuleKind::Arc || m.kind == ModuleKind::FillArc) {
            for (int v : m.angles)
                if (!c.range(field + ".angles", v, -32768, 32767)) return false;
        }
        if (m.kind != ModuleKind::Image) continue;
        if (!c.range(field + ".x", m.x, -32768, 32767) || !c.range(field + ".y", m.y, -32768, 32767)) return false;
        const int64_t n = static_cast<int64_t>(m.w) * m.h;
        if (n > gfx::kMaxModulePixels)
            return c.fail(field, std::to_string(m.w) + "x" + std::to_string(m.h) + " is " + std::to_string(n) +
                                     " pixels: at most 40960");
        if (m.indices.size() != static_cast<size_t>(n)) return c.fail(field, "pixel count differs from w x h");
        if (s.pixelFormat == gfx::kPixelsRunAlpha && m.alpha.size() != static_cast<size_t>(n))
            return c.fail(field, "alpha count differs from w x h");
        for (size_t k = 0; k < m.indices.size(); ++k) {
            if (m.indices[k] >= colours)
                return c.fail(field, "pixel (" + std::to_string(k % std::max(m.w, 1)) + ", " +
                                         std::to_string(k / std::max(m.w, 1)) + ") uses colour " +
                                         std::to_string(m.indices[k]) + ", past the palette");
        }
    }
    return true;
}

bool checkFrames(const SpriteDefinition& s, Checker& c) {
    if (s.frames.size() > static_cast<size_t>(kMaxIndexed))
        return c.fail("frames", std::to_string(s.frames.size()) + " frames: at most 1024");
    size_t fmodules = 0, boxes = 0;
    for (size_t f = 0; f < s.frames.size(); ++f) {
        const SpriteFrame& frame = s.frames[f];
        const std::string field = "frames[" + std::to_string(f) + "]";
        if (frame.modules.size() > static_cast<size_t>(kMaxPerGroup))
            return c.fail(field + ".modules", std::to_string(frame.modules.size()) + " frame-modules: at most 255");
        if (frame.boxes.size() > static_cast<size_t>(kMaxBoxesPerFrame))
            return c.fail(field + ".boxes", std::to_string(frame.boxes.size()) + " boxes: at most 127");
        for (size_t j = 0; j < frame.modules.size(); ++j) {
            const SpriteFModule& fm = frame.modules[j];
            const std::string at = field + ".modules[" + std::to_string(j) + "]";
            if (!c.range(at + ".module", fm.module, 0, static_cast<int>(s.modules.size()) - 1) ||
                !c.range(at + ".x", fm.x, -32768, 32767) || !c.range(at + ".y", fm.y, -32768, 32767) ||
                !c.range(at + ".flags", fm.flags, 0, 15))
                return false;
        }
        for (size_t b = 0; b < frame.boxes.size(); ++b) {
            const std::string at = field + ".boxes[" + std::to_string(b) + "]";
            const auto& r = frame.boxes[b];
            if (!c.range(at + ".x", r[0], -32768, 32767) || !c.range(at + ".y", r[1], -32768, 32767) ||
                !c.range(at + ".w", r[2], 0, 65535) || !c.range(at + ".h", r[3], 0, 65535))
                return false;
        }
        const auto& r = frame.rect;
        if (!c.range(field + ".rect.x", r[0], -32768, 32767) || !c.range(field + ".rect.y", r[1], -32768, 32767) ||
            !c.range(field + ".rect.w", r[2], 0, 65535) || !c.range(field + ".rect.h", r[3], 0, 65535))
            return false;
        fmodules += frame.modules.size();
        boxes += frame.boxes.size();
        if (fmodules > static_cast<size_t>(kMaxCount)) return c.fail(field, "more than 32767 frame-modules in all");
        if (boxes > static_cast<size_t>(kMaxCount)) return c.fail(field, "more than 32767 boxes in all");
    }
    size_t aframes = 0;
    for (size_t a = 0; a < s.animations.size(); ++a) {
        const SpriteAnimation& anim = s.animations[a];
        const std::string field = "animations[" + std::to_string(a) + "]";
        if (anim.frames.size() > static_cast<size_t>(kMaxPerGroup))
            return c.fail(field + ".frames", std::to_string(anim.frames.size()) + " frames: at most 255");
        for (size_t j = 0; j < anim.frames.size(); ++j) {
            const SpriteAFrame& af = anim.frames[j];
            const std::string at = field + ".frames[" + std::to_string(j) + "]";
            if (!c.range(at + ".frame", af.frame, 0, static_cast<int>(s.frames.size()) - 1) ||
                !c.range(at + ".time", af.time, 0, 255) || !c.range(at + ".x", af.x, -32768, 32767) ||
                !c.range(at + ".y", af.y, -32768, 32767) || !c.range(at + ".flags", af.flags, 0, 15))
                return false;
        }
        aframes += anim.frames.size();
        if (aframes > static_cast<size_t>(kMaxCount)) return c.fail(field, "more than 32767 animation frames in all");
    }
    if (s.animations.size() > static_cast<size_t>(kMaxCount)) return c.fail("animations", "more than 32767 animations");
    return true;
}

// Encodes each image module and decodes it again through the engine: the pixels must come back.
bool encodeModules(const SpriteDefinition& s, std::vector<std::string>& encoded, Checker& c) {
    std::vector<uint32_t> palette(256);
    const int colours = s.palettes.empty() ? 0 : static_cast<int>(s.palettes[0].size());
    if (colours > 0) {
        std::string stored;
        for (uint32_t colour : s.palettes[0]) appendColour(stored, s.paletteFormat, colour);
        gfx::PaletteAlpha alpha;
        gfx::expandPalette(s.paletteFormat, reinterpret_cast<const uint8_t*>(stored.data()), colours, palette.data(), alpha);
    }
    const int bits = gfx::paletteIndexBits(std::max(colours, 1));
    std::vector<uint32_t> decoded(gfx::kMaxModulePixels + 8);
    for (size_t i = 0; i < s.modules.size(); ++i) {
        const SpriteModule& m = s.modules[i];
        encoded.emplace_back();
        if (m.kind != ModuleKind::Image) continue;
        encoded.back() = encodeModulePixels(s.pixelFormat, m.indices, m.alpha, bits);
        const std::string& e = encoded.back();
        const int n = m.w * m.h;
        if (!gfx::decodeModulePixels(s.pixelFormat, reinterpret_cast<const uint8_t*>(e.data()), e.size(), palette.data(),
                                     colours, (1 << bits) - 1, bits, n, decoded.data()))
            return c.fail("modules[" + std::to_string(i) + "]", "encoded pixels do not decode");
        for (int k = 0; k < n; ++k) {
            uint32_t want = palette[m.indices[k]];
            if (s.pixelFormat == gfx::kPixelsRunAlpha) want = (want & 0xFFFFFF) | static_cast<uint32_t>(m.alpha[k]) << 24;
            if (decoded[k] != want)
                return c.fail("modules[" + std::to_string(i) + "]", "pixel " + std::to_string(k) + " decodes differently");
        }
    }
    return true;
}

}  // namespace

bool knownPaletteFormat(int format) {
    return format == gfx::kPalette8888 || format == gfx::kPalette4444 || format == gfx::kPalette5515 ||
           format == gfx::kPalette6505;
}

uint32_t paletteRoundTrip(int paletteFormat, uint32_t argb) {
    std::string stored;
    appendColour(stored, paletteFormat, argb);
    uint32_t back = 0;
    gfx::PaletteAlpha alpha;
    gfx::expandPalette(paletteFormat, reinterpret_cast<const uint8_t*>(stored.data()), 1, &back, alpha);
    return back;
}

int pixelFormatColours(int pixelFormat) {
    switch (pixelFormat) {
        case gfx::kPixels1Bit: return 2;
        case gfx::kPixels2Bit: return 4;
        case gfx::kPixels4Bit: return 16;
        case gfx::kPixelsRunMasked:
        case gfx::kPixelsRunShort:
        case gfx::kPixelsRunLiteral:
        case gfx::kPixelsRunAlpha: return 256;
        default: return 0;
    }
}

bool writeSprite(const SpriteDefinition& s, const std::string& where, std::string& out, std::string& error) {
    Checker c{where, error};
    if (!checkPalettes(s, c) || !checkModules(s, c) || !checkFrames(s, c)) return false;
    std::vector<std::string> encoded;
    const bool imageSection = std::any_of(s.modules.begin(), s.modules.end(),
                                          [](const SpriteModule& m) { return m.kind == ModuleKind::Image; });
    if (imageSection && !encodeModules(s, encoded, c)) return false;

    uint32_t flags = 0;
    bool wideSizes = false, wideData = false, wideFrames = false, wideAFrames = false, boxes = false;
    for (size_t i = 0; i < s.modules.size(); ++i) {
        wideSizes |= s.modules[i].w > 255 || s.modules[i].h > 255;
        if (imageSection) wideData |= encoded[i].size() > 0x7FFF;
    }
    for (const SpriteFrame& f : s.frames) {
        for (const SpriteFModule& fm : f.modules) wideFrames |= !fitsS8(fm.x) || !fitsS8(fm.y);
        for (const auto& b : f.boxes) wideFrames |= !rectFitsBytes(b);
        wideFrames |= !rectFitsBytes(f.rect);
        boxes |= !f.boxes.empty();
    }
    for (const SpriteAnimation& a : s.animations)
        for (const SpriteAFrame& af : a.frames) wideAFrames |= !fitsS8(af.x) || !fitsS8(af.y);
    if (wideSizes) flags |= ASprite::kFlagModuleSize16;
    if (s.modulePositions) flags |= ASprite::kFlagModuleXY;
    if (wideData) flags |= ASprite::kFlagDataSize32;
    if (wideFrames) flags |= ASprite::kFlagFrame16;
    if (boxes) flags |= ASprite::kFlagBoxes;
    if (wideAFrames) flags |= ASprite::kFlagAFrameOffset16;
    if (imageSection) flags |= ASprite::kFlagImageSection;

    std::string b;
    const auto u8 = [&](int v) { b += static_cast<char>(v & 0xFF); };
    const auto u16 = [&](int v) { appendU16LE(b, static_cast<uint32_t>(v) & 0xFFFF); };
    const auto size = [&](int v) { wideSizes ? u16(v) : u8(v); };
    const auto frameValue = [&](int v) { wideFrames ? u16(v) : u8(v); };
    const auto aframeValue = [&](int v) { wideAFrames ? u16(v) : u8(v); };

    u16(0);
    appendU32LE(b, flags);
    u16(static_cast<int>(s.modules.size()));
    for (const SpriteModule& m : s.modules) {
        u8(static_cast<int>(m.kind));
        switch (m.kind) {
            case ModuleKind::Image:
                if (s.modulePositions) {
                    u16(m.x);
                    u16(m.y);
                }
                size(m.w);
                size(m.h);
                break;
            case ModuleKind::Empty:
                size(m.w);
                size(m.h);
                break;
            case ModuleKind::Rect:
            case ModuleKind::FillRect:
                appendU32LE(b, m.colour);
                size(m.w);
                size(m.h);
                break;
            case ModuleKind::Arc:
            case ModuleKind::FillArc:
                appendU32LE(b, m.colour);
                size(m.w);
                size(m.h);
                u16(m.angles[0]);
                u16(m.angles[1]);
                break;
            case ModuleKind::Triangle:
            case ModuleKind::FillTriangle:
                appendU32LE(b, m.colour);
                for (int v : m.points) u16(v);
                break;
        }
    }
    int fmoduleCount = 0, boxCount = 0;
    for (const SpriteFrame& f : s.frames) {
        fmoduleCount += static_cast<int>(f.modules.size());
        boxCount += static_cast<int>(f.boxes.size());
    }
    u16(fmoduleCount);
    for (const SpriteFrame& f : s.frames) {
        for (const SpriteFModule& fm : f.modules) {
            u8(fm.module & 0xFF);
            frameValue(fm.x);
            frameValue(fm.y);
            u8(fm.flags | (fm.module >> 8) << 6);
        }
    }
    if (boxes) {
        u16(boxCount);
        for (const SpriteFrame& f : s.frames)
            for (const auto& r : f.boxes)
                for (int v : r) frameValue(v);
    }
    u16(static_cast<int>(s.frames.size()));
    int first = 0;
    for (const SpriteFrame& f : s.frames) {
        u8(static_cast<int>(f.modules.size()));
        u8(0);
        u16(first);
        if (boxes) u8(static_cast<int>(f.boxes.size()));
        first += static_cast<int>(f.modules.size());
    }
    for (const SpriteFrame& f : s.frames)
        for (int v : f.rect) frameValue(v);
    int aframeCount = 0;
    for (const SpriteAnimation& a : s.animations) aframeCount += static_cast<int>(a.frames.size());
    u16(aframeCount);
    for (const SpriteAnimation& a : s.animations) {
        for (const SpriteAFrame& af : a.frames) {
            u8(af.frame & 0xFF);
            u8(af.time);
            aframeValue(af.x);
            aframeValue(af.y);
            u8(af.flags | (af.frame >> 8) << 6);
        }
    }
    u16(static_cast<int>(s.animations.size()));
    first = 0;
    for (const SpriteAnimation& a : s.animations) {
        u8(static_cast<int>(a.frames.size()));
        u8(0);
        u16(first);
        first += static_cast<int>(a.frames.size());
    }
    if (imageSection) {
        u16(s.paletteFormat);
        u8(static_cast<int>(s.palettes.size()));
        u8(static_cast<int>(s.palettes[0].size()) & 0xFF);
        for (const auto& palette : s.palettes)
            for (uint32_t colour : palette) appendColour(b, s.paletteFormat, colour);
        u16(s.pixelFormat);
        for (const std::string& e : encoded) {
            if (wideData) appendU32LE(b, static_cast<uint32_t>(e.size()));
            else u16(static_cast<int>(e.size()));
            b += e;
        }
    }
    out = std::move(b);
    return true;
}

}  // namespace tools
