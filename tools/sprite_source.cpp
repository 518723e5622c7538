// Reads the description field by field, cuts image modules from their sheets, matches their pixels
// against palette 0 (or builds it), and hands the definition to the writer.
#include "tools/sprite_source.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "platform/graphics/sprite_pixels.h"
#include "tools/file_bytes.h"
#include "tools/png_picture.h"
#include "tools/sprite_writer.h"

namespace tools {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Reader {
    fs::path file;
    fs::path folder;
    std::string& error;
    std::map<std::string, Picture> sheets;

    bool fail(const std::string& field, const std::string& message) {
        error = file.string() + ": " + field + ": " + message;
        return false;
    }

    bool integer(const json& node, const char* key, const std::string& field, int& out, int lo, int hi) {
        if (!node.contains(key)) return true;
        const json& v = node[key];
        if (!v.is_number_integer() || v.get<int64_t>() < lo || v.get<int64_t>() > hi)
            return fail(field + "." + key, "is an integer from " + std::to_string(lo) + " to " + std::to_string(hi));
        out = v.get<int>();
        return true;
    }

    bool onlyKeys(const json& node, const std::string& field, std::initializer_list<const char*> keys) {
        if (!node.is_object()) return fail(field, "is an object");
        for (const auto& item : node.items()) {
            const std::string& key = item.key();
            if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }))
                return fail(field, "unknown key \"" + key + "\"");
        }
        return true;
    }

    bool colour(const json& v, const std::string& field, uint32_t& out) {
        const std::string text = v.is_string() ? v.get<std::string>() : "";
        if (text.size() != 9 || text[0] != '#' ||
            text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
            return fail(field, "a colour is \"#AARRGGBB\"");
        out = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
        return true;
    }

    bool format(const json& source, const char* key, std::initializer_list<int> allowed, int& out) {
        if (!source.contains(key)) return true;
        const json& v = source[key];
        const std::string text = v.is_string() ? v.get<std::string>() : "";
        int code = -1;
        if (text.size() == 4 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos)
            code = std::stoi(text, nullptr, 16);
        if (std::find(allowed.begin(), allowed.end(), code) == allowed.end()) {
            std::string names;
            for (int a : allowed) names += (names.empty() ? "" : ", ") + formatCodeText(a);
            return fail(key, "is one of " + names);
        }
        out = code;
        return true;
    }

    bool sheet(const json& name, const std::string& field, const Picture*& out) {
        if (!name.is_string()) return fail(field, "a sheet is a file name");
        const fs::path relative = fs::path(name.get<std::string>()).lexically_normal();
        if (relative.empty() || relative.is_absolute() || *relative.begin() == "..")
            return fail(field, "\"" + name.get<std::string>() + "\" is not a path inside the description's folder");
        auto it = sheets.find(relative.string());
        if (it == sheets.end()) {
            Picture picture;
            std::string why;
            if (!readPngPicture(folder / relative, picture, why)) return fail(field, why);
            it = sheets.emplace(relative.string(), std::move(picture)).first;
        }
        out = &it->second;
        return true;
    }

    // Image module: the sheet's pixels in the module's rectangle, as colours (kept in `pixels`).
    bool imageModule(const json& m, const std::string& field, SpriteModule& module, std::vector<uint32_t>& pixels) {
        if (!onlyKeys(m, field, {"image", "x", "y", "w", "h"})) return false;
        const Picture* picture = nullptr;
        if (!sheet(m["image"], field + ".image", picture)) return false;
        module.w = picture->width;
        module.h = picture->height;
        if (!integer(m, "x", field, module.x, 0, picture->width) || !integer(m, "y", field, module.y, 0, picture->height))
            return false;
        module.w = picture->width - module.x;
        module.h = picture->height - module.y;
        const int maxW = module.w, maxH = module.h;
        if (!integer(m, "w", field, module.w, 0, maxW) || !integer(m, "h", field, module.h, 0, maxH)) return false;
        const int64_t n = static_cast<int64_t>(module.w) * module.h;
        if (n > gfx::kMaxModulePixels)
            return fail(field, std::to_string(module.w) + "x" + std::to_string(module.h) + " is " + std::to_string(n) +
                                   " pixels: at most 40960");
        for (int y = 0; y < module.h; ++y)
            for (int x = 0; x < module.w; ++x)
                pixels.push_back(picture->argb[static_cast<size_t>(module.y + y) * picture->width + module.x + x]);
        return true;
    }

    bool shapeModule(const json& m, const std::string& field, SpriteModule& module) {
        static const std::pair<const char*, ModuleKind> kKinds[] = {
            {"rect", ModuleKind::Rect},         {"fillRect", ModuleKind::FillRect}, {"arc", ModuleKind::Arc},
            {"fillArc", ModuleKind::FillArc},   {"triangle", ModuleKind::Triangle}, {"fillTriangle", ModuleKind::FillTriangle},
            {"empty", ModuleKind::Empty},
        };
        const char* name = nullptr;
        for (const auto& [key, kind] : kKinds) {
            if (m.is_object() && m.contains(key)) {
                if (name) return fail(field, "more than one module kind");
                name = key;
                module.kind = kind;
            }
        }
        if (!name) return fail(field, "a module has one of \"image\", \"rect\", \"fillRect\", \"arc\", \"fillArc\", "
                                      "\"triangle\", \"fillTriangle\", \"empty\"");
        const bool arc = module.kind == ModuleKind::Arc || module.kind == ModuleKind::FillArc;
        const bool triangle = module.kind == ModuleKind::Triangle || module.kind == ModuleKind::FillTriangle;
        if (triangle) {
            if (!onlyKeys(m, field, {name, "points"})) return false;
            const json& p = m.contains("points") ? m["points"] : json();
            if (!p.is_array() || p.size() != 4) return fail(field + ".points", "is a list of 4 integers");
            for (size_t i = 0; i < 4; ++i) {
                if (!p[i].is_number_integer() || p[i].get<int64_t>() < -32768 || p[i].get<int64_t>() > 32767)
                    return fail(field + ".points[" + std::to_string(i) + "]", "is an integer from -32768 to 32767");
                module.points[i] = p[i].get<int>();
            }
        } else if (arc) {
            if (!onlyKeys(m, field, {name, "w", "h", "start", "angle"})) return false;
        } else if (!onlyKeys(m, field, {name, "w", "h"})) {
            return false;
        }
        if (module.kind == ModuleKind::Empty) {
            if (m["empty"] != true) return fail(field + ".empty", "is true");
        } else if (!colour(m[name], field + "." + name, module.colour)) {
            return false;
        }
        if (!triangle && (!integer(m, "w", field, module.w, 0, 65535) || !integer(m, "h", field, module.h, 0, 65535)))
            return false;
        return !arc || (integer(m, "start", field, module.angles[0], -32768, 32767) &&
                        integer(m, "angle", field, module.angles[1], -32768, 32767));
    }

    bool list(const json& source, const char* key, const std::string& field, const json*& out) {
        static const json kEmpty = json::array();
        out = &kEmpty;
        if (!source.contains(key)) return true;
        if (!source[key].is_array()) return fail(field + key, "is a list");
        out = &source[key];
        return true;
    }

    bool frame(const json& f, const std::string& field, const SpriteDefinition& sprite, SpriteFrame& frame) {
        if (!onlyKeys(f, field, {"modules", "boxes", "rect"})) return false;
        const json* modules = nullptr;
        const json* boxes = nullptr;
        if (!list(f, "modules", field + ".", modules) || !list(f, "boxes", field + ".", boxes)) return false;
        for (size_t j = 0; j < modules->size(); ++j) {
            const json& m = (*modules)[j];
            const std::string at = field + ".modules[" + std::to_string(j) + "]";
            SpriteFModule fm;
            if (!onlyKeys(m, at, {"module", "x", "y", "flags"})) return false;
            if (!m.contains("module")) return fail(at, "needs \"module\"");
            if (!integer(m, "module", at, fm.module, 0, static_cast<int>(sprite.modules.size()) - 1) ||
                !integer(m, "x", at, fm.x, -32768, 32767) || !integer(m, "y", at, fm.y, -32768, 32767) ||
                !integer(m, "flags", at, fm.flags, 0, 15))
                return false;
            frame.modules.push_back(fm);
        }
        for (size_t b = 0; b < boxes->size(); ++b) {
            std::array<int, 4> r{};
            if (!rect((*boxes)[b], field + ".boxes[" + std::to_string(b) + "]", r)) return false;
            frame.boxes.push_back(r);
        }
        if (f.contains("rect")) return rect(f["rect"], field + ".rect", frame.rect);
        frame.rect = boundsOf(frame, sprite);
        return true;
    }

    bool rect(const json& r, const std::string& field, std::array<int, 4>& out) {
        if (!r.is_array() || r.size() != 4) return fail(field, "is [x, y, w, h]");
        for (size_t i = 0; i < 4; ++i) {
            const int lo = i < 2 ? -32768 : 0, hi = i < 2 ? 32767 : 65535;
            if (!r[i].is_number_integer() || r[i].get<int64_t>() < lo || r[i].get<int64_t>() > hi)
                return fail(field + "[" + std::to_string(i) + "]", "is an integer from " + std::to_string(lo) + " to " +
                                                                       std::to_string(hi));
            out[i] = r[i].get<int>();
        }
        return true;
    }

    // The frame-modules' extent: each module's w x h (exchanged when turned) at its offset.
    static std::array<int, 4> boundsOf(const SpriteFrame& frame, const SpriteDefinition& sprite) {
        if (frame.modules.empty()) return {};
        int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
        for (const SpriteFModule& fm : frame.modules) {
            const SpriteModule& m = sprite.modules[fm.module];
            int w = m.w, h = m.h, ox = 0, oy = 0;
            if (m.kind == ModuleKind::Triangle || m.kind == ModuleKind::FillTriangle) {
                const int xs[3] = {0, m.points[0], m.points[2]}, ys[3] = {0, m.points[1], m.points[3]};
                ox = std::min({xs[0], xs[1], xs[2]});
                oy = std::min({ys[0], ys[1], ys[2]});
                w = std::max({xs[0], xs[1], xs[2]}) - ox;
                h = std::max({ys[0], ys[1], ys[2]}) - oy;
            }
            if (fm.flags & 4) std::swap(w, h);
            x0 = std::min(x0, fm.x + ox);
            y0 = std::min(y0, fm.y + oy);
            x1 = std::max(x1, fm.x + ox + w);
            y1 = std::max(y1, fm.y + oy + h);
        }
        return {x0, y0, x1 - x0, y1 - y0};
    }

    bool animation(const json& a, const std::string& field, const SpriteDefinition& sprite, SpriteAnimation& anim) {
        if (!onlyKeys(a, field, {"frames"})) return false;
        const json* frames = nullptr;
        if (!list(a, "frames", field + ".", frames)) return false;
        for (size_t j = 0; j < frames->size(); ++j) {
            const json& f = (*frames)[j];
            const std::string at = field + ".frames[" + std::to_string(j) + "]";
            SpriteAFrame af;
            if (!onlyKeys(f, at, {"frame", "time", "x", "y", "flags"})) return false;
            if (!f.contains("frame")) return fail(at, "needs \"frame\"");
            if (!integer(f, "frame", at, af.frame, 0, static_cast<int>(sprite.frames.size()) - 1) ||
                !integer(f, "time", at, af.time, 0, 255) || !integer(f, "x", at, af.x, -32768, 32767) ||
                !integer(f, "y", at, af.y, -32768, 32767) || !integer(f, "flags", at, af.flags, 0, 15))
                return false;
            anim.frames.push_back(af);
        }
        return true;
    }
};

}  // namespace

bool readSpriteSource(const json& source, const fs::path& file, SpriteDefinition& sprite, std::string& error) {
    Reader r{file, file.parent_path(), error, {}};
    if (!r.onlyKeys(source, "description",
                    {"paletteFormat", "pixelFormat", "modulePositions", "palettes", "modules", "frames", "animations"}))
        return false;
    if (!r.format(source, "paletteFormat", {gfx::kPalette8888, gfx::kPalette4444, gfx::kPalette5515, gfx::kPalette6505},
                  sprite.paletteFormat) ||
        !r.format(source, "pixelFormat",
                  {gfx::kPixels1Bit, gfx::kPixels2Bit, gfx::kPixels4Bit, gfx::kPixelsRunMasked, gfx::kPixelsRunShort,
                   gfx::kPixelsRunLiteral, gfx::kPixelsRunAlpha},
                  sprite.pixelFormat))
        return false;
    if (source.contains("modulePositions")) {
        if (!source["modulePositions"].is_boolean()) return r.fail("modulePositions", "is true or false");
        sprite.modulePositions = source["modulePositions"].get<bool>();
    }
    const bool alphaPixels = sprite.pixelFormat == gfx::kPixelsRunAlpha;
    const bool autoPalette = !source.contains("palettes");
    if (!autoPalette) {
        const json& palettes = source["palettes"];
        if (!palettes.is_array() || palettes.empty()) return r.fail("palettes", "is a list of colour lists");
        if (palettes.size() > 16) return r.fail("palettes", std::to_string(palettes.size()) + " palettes: at most 16");
        for (size_t p = 0; p < palettes.size(); ++p) {
            const std::string field = "palettes[" + std::to_string(p) + "]";
            if (!palettes[p].is_array()) return r.fail(field, "is a list of colours");
            std::vector<uint32_t> colours;
            for (size_t i = 0; i < palettes[p].size(); ++i) {
                uint32_t c = 0;
                if (!r.colour(palettes[p][i], field + "[" + std::to_string(i) + "]", c)) return false;
                colours.push_back(c);
            }
            sprite.palettes.push_back(std::move(colours));
        }
    } else {
        sprite.palettes.emplace_back();
    }

    const json* modules = nullptr;
    if (!r.list(source, "modules", "", modules)) return false;
    const int maxColours = pixelFormatColours(sprite.pixelFormat);
    for (size_t i = 0; i < modules->size(); ++i) {
        const json& m = (*modules)[i];
        const std::string field = "modules[" + std::to_string(i) + "]";
        SpriteModule module;
        if (!(m.is_object() && m.contains("image"))) {
            if (!r.shapeModule(m, field, module)) return false;
            sprite.modules.push_back(std::move(module));
            continue;
        }
        std::vector<uint32_t> pixels;
        if (!r.imageModule(m, field, module, pixels)) return false;
        std::vector<uint32_t>& palette = sprite.palettes[0];
        for (size_t k = 0; k < pixels.size(); ++k) {
            const uint32_t pixel = pixels[k] >> 24 == 0 ? gfx::kColourKey : pixels[k];
            const uint32_t colour = alphaPixels && pixel != gfx::kColourKey ? pixel | 0xFF000000u : pixel;
            // The place is named only when a pixel is refused (made for every pixel, it was most of the build).
            const auto at = [&] {
                return field + ": pixel (" + std::to_string(module.x + static_cast<int>(k) % module.w) + ", " +
                       std::to_string(module.y + static_cast<int>(k) / module.w) + ") of " +
                       m["image"].get<std::string>();
            };
            auto it = std::find(palette.begin(), palette.end(), colour);
            if (it == palette.end()) {
                if (!autoPalette) return r.fail(at(), "colour " + colourText(colour) + " is not in palettes[0]");
                const uint32_t back = paletteRoundTrip(sprite.paletteFormat, colour);
                if (back != colour)
                    return r.fail(at(), "colour " + colourText(colour) + " does not fit palette format " +
                                          formatCodeText(sprite.paletteFormat) +
                                          " (it would become " + colourText(back) + ")");
                if (static_cast<int>(palette.size()) == maxColours)
                    return r.fail(at(), "colour " + colourText(colour) + " is one more than pixel format " +
                                          formatCodeText(sprite.pixelFormat) + " holds (" +
                                          std::to_string(maxColours) + ")");
                palette.push_back(colour);
                it = palette.end() - 1;
            }
            module.indices.push_back(static_cast<uint8_t>(it - palette.begin()));
            if (alphaPixels) module.alpha.push_back(static_cast<uint8_t>(pixel >> 24));
        }
        sprite.modules.push_back(std::move(module));
    }
    if (autoPalette && sprite.palettes[0].empty()) sprite.palettes.clear();

    const json* frames = nullptr;
    if (!r.list(source, "frames", "", frames)) return false;
    for (size_t f = 0; f < frames->size(); ++f) {
        SpriteFrame frame;
        if (!r.frame((*frames)[f], "frames[" + std::to_string(f) + "]", sprite, frame)) return false;
        sprite.frames.push_back(std::move(frame));
    }
    const json* animations = nullptr;
    if (!r.list(source, "animations", "", animations)) return false;
    for (size_t a = 0; a < animations->size(); ++a) {
        SpriteAnimation anim;
        if (!r.animation((*animations)[a], "animations[" + std::to_string(a) + "]", sprite, anim)) return false;
        sprite.animations.push_back(std::move(anim));
    }
    return true;
}

bool compileSpriteFile(const fs::path& file, std::string& out, std::string& error) {
    std::string text;
    if (!readFileBytes(file, text, error)) return false;
    const json source = json::parse(text, nullptr, false);
    if (source.is_discarded()) {
        error = file.string() + ": not valid JSON";
        return false;
    }
    SpriteDefinition sprite;
    return readSpriteSource(source, file, sprite, error) && writeSprite(sprite, file.string(), out, error);
}

}  // namespace tools
