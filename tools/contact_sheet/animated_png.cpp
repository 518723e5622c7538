// The chunks by hand (libpng writes no animation): IHDR, acTL, then per frame an fcTL and its image
// data (IDAT for the first frame, fdAT after), every chunk with its CRC; images are RGBA rows, each
// with filter 0, deflated by zlib.
#include "tools/contact_sheet/animated_png.h"

#include <zlib.h>

#include <fstream>

namespace tools {

namespace {

void be32(std::string& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>(v >> s & 0xFF);
}
void be16(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 8 & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    be32(out, static_cast<uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    be32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

bool deflated(const Picture& p, std::string& out) {
    std::string raw;
    raw.reserve(static_cast<size_t>(p.height) * (static_cast<size_t>(p.width) * 4 + 1));
    for (int y = 0; y < p.height; ++y) {
        raw += '\0';
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.argb[static_cast<size_t>(y * p.width + x)];
            raw += static_cast<char>(c >> 16 & 0xFF);
            raw += static_cast<char>(c >> 8 & 0xFF);
            raw += static_cast<char>(c & 0xFF);
            raw += static_cast<char>(c >> 24 & 0xFF);
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    out.resize(size);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), 6) != Z_OK)
        return false;
    out.resize(size);
    return true;
}

}  // namespace

bool writeAnimatedPng(const std::filesystem::path& path, const std::vector<Picture>& frames, int delayMs,
                      std::string& error) {
    if (frames.empty() || frames[0].width <= 0 || frames[0].height <= 0) {
        error = path.string() + ": no frames to write";
        return false;
    }
    const int w = frames[0].width, h = frames[0].height;
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string ihdr;
    be32(ihdr, static_cast<uint32_t>(w));
    be32(ihdr, static_cast<uint32_t>(h));
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);   // 8 bits, RGBA, deflate, filter set 0, no interlace
    chunk(png, "IHDR", ihdr);
    std::string actl;
    be32(actl, static_cast<uint32_t>(frames.size()));
    be32(actl, 0);   // loop for ever
    chunk(png, "acTL", actl);
    uint32_t sequence = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const Picture& f = frames[i];
        if (f.width != w || f.height != h || f.argb.size() != static_cast<size_t>(w) * static_cast<size_t>(h)) {
            error = path.string() + ": frame " + std::to_string(i) + " is not " + std::to_string(w) + "x" + std::to_string(h);
            return false;
        }
        std::string fctl;
        be32(fctl, sequence++);
        be32(fctl, static_cast<uint32_t>(w));
        be32(fctl, static_cast<uint32_t>(h));
        be32(fctl, 0);
        be32(fctl, 0);
        be16(fctl, static_cast<uint32_t>(delayMs));
        be16(fctl, 1000);
        fctl += std::string("\x00\x00", 2);   // no dispose, replace the whole area
        chunk(png, "fcTL", fctl);
        std::string data;
        if (!deflated(f, data)) {
            error = path.string() + ": cannot compress frame " + std::to_string(i);
            return false;
        }
        if (i == 0) {
            chunk(png, "IDAT", data);
        } else {
            std::string fdat;
            be32(fdat, sequence++);
            chunk(png, "fdAT", fdat + data);
        }
    }
    chunk(png, "IEND", "");
    std::ofstream out(path, std::ios::binary);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    if (!out) {
        error = path.string() + ": cannot write";
        return false;
    }
    return true;
}

}  // namespace tools
