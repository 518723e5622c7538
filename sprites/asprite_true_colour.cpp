// Modules stored as colours: each palette's modules go straight into the ARGB cache. Every byte count
// comes from sprite data and must match its module's size before a pixel is read.
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/sprite_byte_reader.h"

namespace {

constexpr uint32_t kKeyRgb = 0xFF00FF;

jint bytesPerPixel(jint format) {
    switch (format) {
        case 0x8888: return 4;
        case 0x8808: return 3;
        case 0x4444: return 2;
        default: return 0;
    }
}

// One pixel as ARGB; the colour key, whatever its alpha, becomes fully transparent.
uint32_t readPixel(sprites::ByteReader& r, jint format) {
    uint32_t c = 0;
    if (format == 0x8888) {
        c = static_cast<uint32_t>(r.s32());
    } else if (format == 0x8808) {
        c = 0xFF000000u | static_cast<uint32_t>(r.u16()) | static_cast<uint32_t>(r.u8()) << 16;
    } else {
        const auto v = static_cast<uint32_t>(r.u16());
        for (int nibble = 3; nibble >= 0; --nibble) c = c << 8 | ((v >> (4 * nibble)) & 0xF) * 0x11;
    }
    return (c & 0xFFFFFF) == kKeyRgb ? 0x00FF00FF : c;
}

}  // namespace

jint ASprite::LoadTrueColorModules(jint offset, ByteArray* data) {
    BX_RETURN_IF_NULL(data, -1);
    sprites::ByteReader r{data, offset};
    const jint format = r.u16();
    jint count = r.u8();
    if (count == 0) count = 1;
    const jint bpp = bytesPerPixel(format);
    if (r.failed || bpp == 0) return sprites::refuseSection("true-colour modules: format", offset);
    if (count > kMaxPalettes) return sprites::refuseSection("true-colour modules: palette count", offset + 2);
    if (moduleCount < 0 || (moduleCount > 0 && (!modulesW || !modulesH))) return sprites::refuseSection("true-colour modules: no modules", offset);

    ObjectArray* table = Runtime::newObjectArray(CID_ObjectArray, count);
    if (!table) return -1;
    bool transparency = false, partialAlpha = false;
    for (jint p = 0; p < count; ++p) {
        ObjectArray* row = Runtime::newObjectArray(CID_IntArray, moduleCount);
        if (!row) return -1;
        table->set(p, row);
        for (jint m = 0; m < moduleCount; ++m) {
            const jlong pixelCount = jlong{modulesW->get(m) & 0xFFFF} * (modulesH->get(m) & 0xFFFF);
            const jint bytes = r.s32();
            // A module without pixels (a shape) may give 0 bytes; any other count is its whole picture.
            if (r.failed || (bytes != 0 && pixelCount * bpp != bytes) || !r.has(bytes)) return sprites::refuseSection("true-colour modules: module size", r.pos);
            const jint n = bytes / bpp;
            if (n == 0) continue;
            IntArray* pixels = Runtime::newIntArray(n);
            if (!pixels) return -1;
            for (jint i = 0; i < n; ++i) {
                const uint32_t c = readPixel(r, format);
                const uint32_t a = c >> 24;
                transparency |= a != 0xFF;
                partialAlpha |= a != 0xFF && a != 0;
                pixels->set(i, static_cast<jint>(c));
            }
            row->set(m, pixels);
        }
    }
    argbCache = table;
    cacheModeFlags |= 1;
    paletteCount = count;
    hasTransparency = transparency;
    hasPartialAlpha = partialAlpha;
    return r.pos;
}
