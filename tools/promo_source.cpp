// The promotion resource compiler and its dump. Every limit the screen's readers rely on is
// checked here, so a resource built by this tool always loads whole.
#include "tools/promo_source.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>

#include "tools/file_bytes.h"
#include "tools/little_endian.h"

namespace tools {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr int kFixedPictures = 14;
constexpr int kLists = 3;
// The format text that makes the screen read wide glyph records (the constant pool's literal 26).
constexpr const char* kWideFormat = "WIDE";
constexpr uint32_t kU16Max = 0xFFFF;
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Glyph {
    int code, x, y, w, h;
};

uint32_t readBE32(const std::string& s, size_t at) {
    return (uint32_t{static_cast<uint8_t>(s[at])} << 24) | (uint32_t{static_cast<uint8_t>(s[at + 1])} << 16) |
           (uint32_t{static_cast<uint8_t>(s[at + 2])} << 8) | static_cast<uint8_t>(s[at + 3]);
}

// A PNG's size from its header chunk; false when the bytes do not start like a PNG.
bool pngSize(const std::string& png, uint32_t& width, uint32_t& height) {
    if (png.size() < 24 || std::memcmp(png.data(), kPngSignature, 8) != 0 || png.compare(12, 4, "IHDR") != 0)
        return false;
    width = readBE32(png, 16);
    height = readBE32(png, 20);
    return true;
}

// The number of palette entries of a PNG (0 when it has no PLTE chunk).
uint32_t paletteEntries(const std::string& png) {
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t length = readBE32(png, at);
        if (png.compare(at + 4, 4, "PLTE") == 0) return length / 3;
        if (length > png.size() - at - 12) return 0;
        at += 12 + length;
    }
    return 0;
}

class Compiler {
public:
    Compiler(const fs::path& folder, std::string& error) : folder_(folder), error_(error) {}

    bool fail(const std::string& message) {
        error_ = (folder_ / "manifest.json").string() + ": " + message;
        return false;
    }

    // A picture's length-prefixed bytes, appended to out.
    bool appendPicture(const json& name, std::string& out, std::string* bytes = nullptr) {
        if (!name.is_string()) return fail("a picture is a file name");
        const fs::path rel = name.get<std::string>();
        const fs::path path = (folder_ / rel).lexically_normal();
        if (rel.is_absolute() || rel.lexically_normal().string().starts_with(".."))
            return fail("\"" + rel.string() + "\" is not a path inside the folder");
        std::string png;
        if (!readFileBytes(path, png, error_)) return false;
        uint32_t w = 0, h = 0;
        if (!pngSize(png, w, h)) return fail(rel.string() + ": not a PNG file");
        if (png.size() > kU16Max) return fail(rel.string() + ": a picture holds at most 65535 bytes");
        appendU16LE(out, static_cast<uint32_t>(png.size()));
        out += png;
        if (bytes) *bytes = std::move(png);
        return true;
    }

    bool appendText(const std::string& text, std::string& out) {
        if (text.size() > kU16Max) return fail("a text holds at most 65535 bytes");
        appendU16LE(out, static_cast<uint32_t>(text.size()));
        out += text;
        return true;
    }

    bool appendStrings(const std::vector<std::string>& strings, std::string& out) {
        if (strings.size() > kU16Max) return fail("too many names");
        appendU16LE(out, static_cast<uint32_t>(strings.size()));
        for (const std::string& s : strings)
            if (!appendText(s, out)) return false;
        return true;
    }

    bool compile(std::string& resource) {
        std::string text;
        if (!readFileBytes(folder_ / "manifest.json", text, error_)) return false;
        m_ = json::parse(text, nullptr, false);
        if (m_.is_discarded() || !m_.is_object()) return fail("not valid JSON");
        try {
            return build(resource);
        } catch (const json::exception& e) {
            return fail(e.what());
        }
    }

private:
    bool build(std::string& resource) {
        const bool optional = m_.value("optional", false);
        const bool wide = m_.value("wideGlyphs", false);
        // The screen reads the glyph records wide only when the format text is "WIDE".
        if (wide != (m_.value("format", std::string()) == kWideFormat))
            return fail("\"wideGlyphs\" is true exactly when \"format\" is \"" + std::string(kWideFormat) + "\"");
        const std::vector<std::string> languages = m_.at("languages").get<std::vector<std::string>>();
        if (languages.empty()) return fail("\"languages\" names at least one language");
        const json& titles = m_.at("titles");
        const json& lists = m_.at("lists");
        if (!titles.is_array() || !lists.is_array() || lists.size() != kLists)
            return fail("\"titles\" is a list and \"lists\" a list of three lists");
        std::vector<std::string> titleNames;
        for (const json& t : titles) titleNames.push_back(t.at("name").get<std::string>());
        std::vector<std::vector<std::string>> rowNames(kLists);
        for (int l = 0; l < kLists; ++l)
            for (const json& row : lists[l].at("rows")) rowNames[l].push_back(row.at("name").get<std::string>());

        std::vector<std::string> entries;
        // 0: header.
        std::string header;
        appendU16LE(header, 0);
        if (!appendText(m_.value("headerText", std::string()), header) || !appendStrings(languages, header) ||
            !appendStrings(titleNames, header))
            return false;
        for (const auto& rows : rowNames)
            if (!appendStrings(rows, header)) return false;
        appendU16LE(header, optional ? 1 : 0);
        if (!appendText(m_.value("format", std::string()), header)) return false;
        entries.push_back(std::move(header));
        // 1: texts.
        std::string texts;
        const PromoTextLayout layout = promoTextLayout(static_cast<int>(titleNames.size()),
                                                       static_cast<int>(rowNames[0].size()),
                                                       static_cast<int>(rowNames[1].size()));
        for (const std::string& language : languages) {
            std::string block;
            if (!textBlock(m_.at("texts").at(language), layout, rowNames, block)) return false;
            if (block.size() > kU16Max) return fail("the texts of " + language + " exceed 65535 bytes");
            appendU16LE(texts, static_cast<uint32_t>(block.size()));
            texts += block;
        }
        entries.push_back(std::move(texts));
        // 2: font.
        std::string font;
        if (!fontEntry(wide, font)) return false;
        entries.push_back(std::move(font));
        // 3: fixed pictures.
        const json& fixed = m_.at("fixed");
        if (!fixed.is_array() || fixed.size() != kFixedPictures) return fail("\"fixed\" lists 14 pictures");
        std::string fixedEntry;
        for (const json& p : fixed)
            if (!appendPicture(p, fixedEntry)) return false;
        entries.push_back(std::move(fixedEntry));
        // 4: title pictures.
        std::string titleEntry;
        for (const json& t : titles)
            if (!appendPicture(t.at("picture"), titleEntry)) return false;
        entries.push_back(std::move(titleEntry));
        // 5: special and one picture per language.
        const json& special = m_.at("special");
        std::string specialEntry;
        if (!appendPicture(special.at("picture"), specialEntry)) return false;
        const json& languagePictures = special.at("languagePictures");
        if (!languagePictures.is_array() || languagePictures.size() != languages.size())
            return fail("\"languagePictures\" has one picture per language");
        for (const json& p : languagePictures)
            if (!appendPicture(p, specialEntry)) return false;
        entries.push_back(std::move(specialEntry));
        // 6, 7: list pictures, every row but the last.
        for (int l = 0; l < 2; ++l) {
            std::string listEntry;
            const json& rows = lists[l].at("rows");
            for (size_t r = 0; r < rows.size(); ++r) {
                const bool last = r + 1 == rows.size();
                if (last != !rows[r].contains("picture"))
                    return fail("every row of list " + std::to_string(l) +
                                " but the last has a picture, the last has none");
                if (!last && !appendPicture(rows[r].at("picture"), listEntry)) return false;
            }
            entries.push_back(std::move(listEntry));
        }
        // 8: portal, then the second portal picture of some languages.
        const json& portal = m_.at("portal");
        std::string portalEntry;
        if (!appendPicture(portal.at("picture"), portalEntry)) return false;
        if (portal.contains("extra") && !appendPicture(portal.at("extra"), portalEntry)) return false;
        entries.push_back(std::move(portalEntry));
        // 9: the optional item's picture.
        if (optional) {
            std::string optionalEntry;
            if (!appendPicture(m_.at("optionalPicture"), optionalEntry)) return false;
            entries.push_back(std::move(optionalEntry));
        }

        const size_t count = entries.size() + 1;
        resource.clear();
        appendU16LE(resource, static_cast<uint32_t>(count));
        uint64_t at = 0;
        for (const std::string& e : entries) {
            appendU32LE(resource, static_cast<uint32_t>(at));
            at += e.size();
        }
        if (at > 0x7FFFFFFF - 2 - 4 * count) return fail("the resource is too large");
        appendU32LE(resource, static_cast<uint32_t>(at));
        for (const std::string& e : entries) resource += e;
        return true;
    }

    bool textBlock(const json& t, const PromoTextLayout& layout, const std::vector<std::vector<std::string>>& rows,
                   std::string& block) {
        std::vector<std::string> texts(static_cast<size_t>(layout.textCount));
        const auto items = t.at("items").get<std::vector<std::string>>();
        if (static_cast<int>(items.size()) != layout.items)
            return fail("\"items\" has " + std::to_string(layout.items) +
                        " texts: the titles, the special item, list 0, list 1, the portal");
        std::copy(items.begin(), items.end(), texts.begin());
        const std::pair<const char*, int> named[] = {
            {"optionalTitle", layout.optionalTitle}, {"optionalBody", layout.optionalBody}, {"ok", layout.ok},
            {"back", layout.back}, {"button", layout.button}, {"buttonTitle", layout.buttonTitle}};
        for (const auto& [key, index] : named) texts[static_cast<size_t>(index)] = t.value(key, std::string());
        const std::pair<const char*, int> rowTexts[] = {{"list0Rows", layout.list0Last}, {"list1Rows", layout.list1Last}};
        for (int l = 0; l < 2; ++l) {
            const auto lines = t.at(rowTexts[l].first).get<std::vector<std::string>>();
            if (lines.size() != rows[static_cast<size_t>(l)].size())
                return fail(std::string("\"") + rowTexts[l].first + "\" has one text per row");
            const int r = static_cast<int>(lines.size());
            for (int j = 0; j < r; ++j) texts[static_cast<size_t>(rowTexts[l].second - (r - 1 - j))] = lines[static_cast<size_t>(j)];
        }
        std::string data, ends;
        for (size_t j = 0; j < texts.size(); ++j) {
            data += texts[j];
            if (data.size() > kU16Max) return fail("a language's texts hold at most 65535 bytes");
            if (j + 1 < texts.size()) appendU16LE(ends, static_cast<uint32_t>(data.size()));
        }
        appendU16LE(block, static_cast<uint32_t>(data.size()));
        block += data;
        appendU16LE(block, 0);
        appendU16LE(block, static_cast<uint32_t>(texts.size()));
        block += ends;
        return true;
    }

    bool fontEntry(bool wide, std::string& font) {
        const json& f = m_.at("font");
        std::string png;
        if (!appendPicture(f.at("picture"), font, &png)) return false;
        if (paletteEntries(png) < 2) return fail("the font picture is a palette PNG of at least two colours");
        uint32_t fontW = 0, fontH = 0;
        (void)pngSize(png, fontW, fontH);
        std::string glyphText;
        if (!readFileBytes(folder_ / f.at("glyphs").get<std::string>(), glyphText, error_)) return false;
        const json glyphs = json::parse(glyphText, nullptr, false);
        if (!glyphs.is_array()) return fail("the glyph file is a JSON list of [code, x, y, w, h]");
        std::vector<Glyph> records;
        int highest = 0;
        for (const json& g : glyphs) {
            const auto v = g.get<std::vector<int>>();
            if (v.size() != 5) return fail("a glyph is [code, x, y, w, h]");
            const Glyph glyph{v[0], v[1], v[2], v[3], v[4]};
            const int limit = wide ? 0xFFFF : 0xFF;
            if (glyph.code < 0 || glyph.code > 0xFFFF || glyph.x < 0 || glyph.y < 0 || glyph.x > limit ||
                glyph.y > limit || glyph.w < 0 || glyph.h < 0 || glyph.w > 0xFF || glyph.h > 0xFF ||
                static_cast<uint32_t>(glyph.x + glyph.w) > fontW || static_cast<uint32_t>(glyph.y + glyph.h) > fontH)
                return fail("glyph " + std::to_string(glyph.code) + " does not fit the font picture or its record");
            highest = std::max(highest, glyph.code);
            records.push_back(glyph);
        }
        const int size = wide ? 6 : 4;
        if (records.size() * static_cast<size_t>(size + 2) > kU16Max) return fail("too many glyphs");
        appendU16LE(font, static_cast<uint32_t>(records.size() * static_cast<size_t>(size + 2)));
        appendU16LE(font, static_cast<uint32_t>(highest));
        for (const Glyph& g : records) {
            appendU16LE(font, static_cast<uint32_t>(g.code));
            if (wide) {
                appendU16LE(font, static_cast<uint32_t>(g.x));
                appendU16LE(font, static_cast<uint32_t>(g.y));
            } else {
                font += static_cast<char>(g.x);
                font += static_cast<char>(g.y);
            }
            font += static_cast<char>(g.w);
            font += static_cast<char>(g.h);
        }
        return true;
    }

    fs::path folder_;
    std::string& error_;
    json m_;
};

// The dump's bounded reader over one entry.
class EntryReader {
public:
    explicit EntryReader(std::string bytes) : b_(std::move(bytes)) {}
    bool u16(uint32_t& v) {
        if (b_.size() - at_ < 2) return false;
        v = static_cast<uint8_t>(b_[at_]) | (static_cast<uint8_t>(b_[at_ + 1]) << 8);
        at_ += 2;
        return true;
    }
    bool bytes(std::string& out) {
        uint32_t n = 0;
        if (!u16(n) || b_.size() - at_ < n) return false;
        out = b_.substr(at_, n);
        at_ += n;
        return true;
    }
    bool strings(std::vector<std::string>& out) {
        uint32_t n = 0;
        if (!u16(n)) return false;
        out.resize(n);
        for (std::string& s : out)
            if (!bytes(s)) return false;
        return true;
    }
    bool take(size_t n, std::string& out) {
        if (b_.size() - at_ < n) return false;
        out = b_.substr(at_, n);
        at_ += n;
        return true;
    }
    bool skip(size_t n) {
        if (b_.size() - at_ < n) return false;
        at_ += n;
        return true;
    }
    [[nodiscard]] bool atEnd() const { return at_ == b_.size(); }

private:
    std::string b_;
    size_t at_ = 0;
};

std::string describePicture(const std::string& png) {
    uint32_t w = 0, h = 0;
    if (!pngSize(png, w, h)) return "not a PNG";
    return std::to_string(w) + "x" + std::to_string(h) + " (" + std::to_string(png.size()) + " bytes)";
}

// A text on one line: a line break shows as \n.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
    return "[" + out + "]";
}

}  // namespace

PromoTextLayout promoTextLayout(int titles, int rows0, int rows1) {
    PromoTextLayout l;
    const int t = std::max(titles - 1, 0) + 4;
    l.items = t + 1;
    l.optionalTitle = t + 1;
    l.optionalBody = t + 2;
    l.ok = t + 7;
    l.back = t + 8;
    l.button = t + 9;
    l.buttonTitle = t + 10;
    l.list0Last = rows0 >= 2 ? t + 13 + rows0 : t + 14;
    l.list1Last = l.list0Last + (rows1 >= 2 ? rows1 : 1);
    l.textCount = l.list1Last + 1;
    return l;
}

bool compilePromoFolder(const fs::path& folder, std::string& resource, std::string& error) {
    Compiler compiler(folder, error);
    return compiler.compile(resource);
}

bool dumpPromoResource(const std::string& resource, std::string& listing, std::string& error) {
    auto fail = [&](const std::string& what) {
        error = "promotion resource: " + what;
        return false;
    };
    if (resource.size() < 2) return fail("no index");
    const uint32_t count = static_cast<uint8_t>(resource[0]) | (static_cast<uint8_t>(resource[1]) << 8);
    const size_t indexEnd = 2 + 4 * static_cast<size_t>(count);
    if (count == 0 || resource.size() < indexEnd) return fail("the index is cut short");
    std::vector<uint32_t> offsets(count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 2 + 4 * static_cast<size_t>(i);
        offsets[i] = static_cast<uint8_t>(resource[at]) | (static_cast<uint8_t>(resource[at + 1]) << 8) |
                     (static_cast<uint8_t>(resource[at + 2]) << 16) |
                     (uint32_t{static_cast<uint8_t>(resource[at + 3])} << 24);
        if ((i > 0 && offsets[i] < offsets[i - 1]) || offsets[i] > resource.size() - indexEnd)
            return fail("offset " + std::to_string(i) + " goes back or past the end");
    }
    auto entry = [&](uint32_t i) {
        return i + 1 < count ? resource.substr(indexEnd + offsets[i], offsets[i + 1] - offsets[i]) : std::string();
    };
    std::ostringstream out;
    out << "entries: " << count - 1 << "\n";

    EntryReader h(entry(0));
    uint32_t unused = 0, option = 0;
    std::string headerText, format;
    std::vector<std::string> languages, titles, lists[kLists];
    bool ok = h.u16(unused) && h.bytes(headerText) && h.strings(languages) && h.strings(titles);
    for (auto& l : lists) ok = ok && h.strings(l);
    ok = ok && h.u16(option) && h.bytes(format) && h.atEnd();
    if (!ok) return fail("the header is malformed");
    out << "header: \"" << headerText << "\"\nlanguages: " << joined(languages) << "\ntitles: " << joined(titles)
        << "\n";
    for (int l = 0; l < kLists; ++l) out << "list " << l << ": " << joined(lists[l]) << "\n";
    out << "optional: " << (option == 1 ? "yes" : "no") << "\nformat: \"" << format << "\"\n";

    EntryReader t(entry(1));
    for (const std::string& language : languages) {
        uint32_t blockLength = 0, size = 0, texts = 0;
        std::string data;
        if (!t.u16(blockLength) || !t.u16(size) || !t.take(size, data) || !t.u16(unused) || !t.u16(texts))
            return fail("the texts of " + language + " are cut short");
        out << "texts " << language << ": " << texts << "\n";
        uint32_t begin = 0;
        for (uint32_t j = 0; j < texts; ++j) {
            uint32_t end = size;
            if (j + 1 < texts && !t.u16(end)) return fail("the text ends are cut short");
            if (end < begin || end > size) return fail("text " + std::to_string(j) + " ends out of order");
            if (end > begin) out << "  " << j << ": " << oneLine(data.substr(begin, end - begin)) << "\n";
            begin = end;
        }
    }
    if (!t.atEnd()) return fail("the texts entry has bytes past its last language");

    EntryReader f(entry(2));
    std::string fontPng;
    uint32_t recordBytes = 0, highest = 0;
    if (!f.bytes(fontPng) || !f.u16(recordBytes) || !f.u16(highest)) return fail("the font is cut short");
    const uint32_t size = format == kWideFormat ? 6 : 4;
    if (!f.skip(recordBytes) || !f.atEnd()) return fail("the glyph records do not fill the font entry");
    out << "font: " << describePicture(fontPng) << ", " << paletteEntries(fontPng) << " colours, "
        << recordBytes / (size + 2) << " glyphs up to code " << highest << "\n";

    auto pictures = [&](const char* what, uint32_t index, size_t n, bool exact) {
        EntryReader r(entry(index));
        out << what << ":";
        for (size_t k = 0; k < n || (!exact && !r.atEnd()); ++k) {
            std::string png;
            if (!r.bytes(png)) return fail(std::string(what) + ": a picture is cut short");
            out << " " << describePicture(png);
        }
        out << "\n";
        return r.atEnd() || fail(std::string(what) + ": bytes past the last picture");
    };
    ok = pictures("fixed", 3, kFixedPictures, true) && pictures("titles", 4, titles.size(), true) &&
         pictures("special and languages", 5, 1 + languages.size(), true) &&
         pictures("list 0", 6, lists[0].empty() ? 0 : lists[0].size() - 1, true) &&
         pictures("list 1", 7, lists[1].empty() ? 0 : lists[1].size() - 1, true) && pictures("portal", 8, 1, false) &&
         (option != 1 || pictures("optional", 9, 1, true));
    if (!ok) return false;
    listing = out.str();
    return true;
}

}  // namespace tools
