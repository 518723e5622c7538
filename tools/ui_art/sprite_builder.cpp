// Colours are reduced to what one sprite palette holds: every pixel becomes the tuple of its colours
// in all palettes, snapped to 5 bits a channel and four alpha steps (fainter than a sixth is the
// colour key); when more than 255 tuples remain, a weighted k-means picks 255 that serve them best.
#include "tools/ui_art/sprite_builder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace tools::art {

namespace {

using Tuple = std::vector<uint32_t>;
constexpr size_t kMaxColours = 255;   // the colour key takes the 256th index
constexpr int kTile = 200;            // a written module stays within the engine's 40960 pixels

uint32_t snap(uint32_t argb) {
    uint32_t a = argb >> 24;
    if (a < 40) return 0;
    a = a < 96 ? 0x50 : a < 160 ? 0x80 : a < 224 ? 0xC0 : 0xFF;
    auto ch = [&](int shift) {
        const uint32_t c = argb >> shift & 0xFF;
        return ((c & 0xF8) | c >> 5) << shift;
    };
    return a << 24 | ch(16) | ch(8) | ch(0);
}

std::string colourText(uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%08X", argb);
    return text;
}

}  // namespace

int SpriteBuilder::image(std::vector<Canvas> variants) {
    Module m;
    m.w = variants.front().width();
    m.h = variants.front().height();
    while (static_cast<int>(variants.size()) < palettes_) variants.push_back(variants.front());
    m.variants = std::move(variants);
    modules_.push_back(std::move(m));
    return static_cast<int>(modules_.size()) - 1;
}

int SpriteBuilder::fillRect(uint32_t rgb, int w, int h) {
    Module m;
    m.rgb = rgb;
    m.w = w;
    m.h = h;
    modules_.push_back(std::move(m));
    return static_cast<int>(modules_.size()) - 1;
}

int SpriteBuilder::frame(std::vector<FramePart> parts, std::vector<std::array<int, 4>> boxes) {
    frames_.push_back({std::move(parts), std::move(boxes)});
    return static_cast<int>(frames_.size()) - 1;
}

void SpriteBuilder::frameAt(int at, std::vector<FramePart> parts, std::vector<std::array<int, 4>> boxes) {
    if (static_cast<int>(frames_.size()) <= at) frames_.resize(static_cast<size_t>(at) + 1);
    frames_[static_cast<size_t>(at)] = {std::move(parts), std::move(boxes)};
}

int SpriteBuilder::animation(std::vector<AnimStep> steps) {
    animations_.push_back(std::move(steps));
    return static_cast<int>(animations_.size()) - 1;
}

void SpriteBuilder::animationAt(int at, std::vector<AnimStep> steps) {
    if (static_cast<int>(animations_.size()) <= at) animations_.resize(static_cast<size_t>(at) + 1);
    animations_[static_cast<size_t>(at)] = std::move(steps);
}

bool SpriteBuilder::write(const std::filesystem::path& dir, const std::string& name, std::string& error) const {
    // Every image pixel's colour tuple, counted.
    std::map<Tuple, size_t> counts;
    auto tupleAt = [&](const Module& m, int x, int y) {
        Tuple t;
        const uint32_t first = snap(m.variants[0].argb(x, y));
        for (const Canvas& v : m.variants) t.push_back(first == 0 ? 0 : (snap(v.argb(x, y)) & 0xFFFFFFu) | (first & 0xFF000000u));
        return t;
    };
    for (const Module& m : modules_)
        for (int y = 0; y < m.h && !m.variants.empty(); ++y)
            for (int x = 0; x < m.w; ++x) {
                Tuple t = tupleAt(m, x, y);
                if (t[0] != 0) ++counts[t];
            }
    std::vector<std::pair<Tuple, size_t>> byUse(counts.begin(), counts.end());
    std::stable_sort(byUse.begin(), byUse.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    // Weighted k-means over the tuples (all palettes' channels at once), seeded with the most used.
    const size_t k = std::min(byUse.size(), kMaxColours), dims = static_cast<size_t>(palettes_) * 4;
    auto channels = [&](const Tuple& t) {
        std::vector<double> v(dims);
        for (size_t p = 0; p < t.size(); ++p)
            for (size_t c = 0; c < 4; ++c) v[p * 4 + c] = t[p] >> (c * 8) & 0xFF;
        return v;
    };
    std::vector<std::vector<double>> points, centres;
    for (const auto& [t, n] : byUse) points.push_back(channels(t));
    for (size_t i = 0; i < k; ++i) centres.push_back(points[i]);
    std::vector<size_t> nearest(points.size(), 0);
    for (int round = 0; round < 10 && byUse.size() > k; ++round) {
        for (size_t i = 0; i < points.size(); ++i) {
            double best = 1e300;
            for (size_t j = 0; j < k; ++j) {
                double d = 0;
                for (size_t c = 0; c < dims && d < best; ++c) d += (points[i][c] - centres[j][c]) * (points[i][c] - centres[j][c]);
                if (d < best) best = d, nearest[i] = j;
            }
        }
        std::vector<std::vector<double>> sums(k, std::vector<double>(dims, 0));
        std::vector<double> weights(k, 0);
        for (size_t i = 0; i < points.size(); ++i) {
            const double w = static_cast<double>(byUse[i].second);
            for (size_t c = 0; c < dims; ++c) sums[nearest[i]][c] += points[i][c] * w;
            weights[nearest[i]] += w;
        }
        for (size_t j = 0; j < k; ++j)
            if (weights[j] > 0)
                for (size_t c = 0; c < dims; ++c) centres[j][c] = sums[j][c] / weights[j];
    }
    if (byUse.size() <= k)
        for (size_t i = 0; i < points.size(); ++i) nearest[i] = i;
    // Palette 0 must tell the entries apart: a repeated colour is nudged in its blue channel.
    std::vector<Tuple> palette;
    std::set<uint32_t> used;
    for (const auto& centre : centres) {
        Tuple t(static_cast<size_t>(palettes_), 0);
        for (size_t p = 0; p < t.size(); ++p)
            for (size_t c = 0; c < 4; ++c)
                t[p] |= static_cast<uint32_t>(std::clamp(std::lround(centre[p * 4 + c]), 0L, 255L)) << (c * 8);
        for (int step = 1; used.count(t[0]); ++step) {
            const uint32_t blue = t[0] & 0xFF, d = static_cast<uint32_t>(step);
            t[0] = (t[0] & 0xFFFFFF00u) | ((blue + d <= 0xFF ? blue + d : blue - d) & 0xFF);
        }
        used.insert(t[0]);
        palette.push_back(t);
    }
    std::map<Tuple, size_t> indexOf;
    for (size_t i = 0; i < byUse.size(); ++i) indexOf[byUse[i].first] = nearest[i] + 1;

    // Pictures larger than the engine's module limit are cut into tiles; blank tiles are left out.
    struct Piece {
        size_t module;
        int x, y, w, h;
    };
    std::vector<Piece> pieces;                         // the written modules, in order
    std::vector<std::vector<size_t>> piecesOf(modules_.size());
    for (size_t i = 0; i < modules_.size(); ++i) {
        const Module& m = modules_[i];
        if (m.variants.empty()) {
            piecesOf[i].push_back(pieces.size());
            pieces.push_back({i, 0, 0, m.w, m.h});
            continue;
        }
        for (int ty = 0; ty < m.h; ty += kTile)
            for (int tx = 0; tx < m.w; tx += kTile) {
                const Piece piece{i, tx, ty, std::min(kTile, m.w - tx), std::min(kTile, m.h - ty)};
                bool blank = true;
                for (int v = 0; v < piece.h && blank; ++v)
                    for (int u = 0; u < piece.w && blank; ++u) blank = tupleAt(m, tx + u, ty + v)[0] == 0;
                if (blank) continue;
                piecesOf[i].push_back(pieces.size());
                pieces.push_back(piece);
            }
    }

    // Shelf packing, tallest first.
    constexpr int sheetWidth = 1024;
    std::vector<size_t> order;
    for (size_t i = 0; i < pieces.size(); ++i)
        if (!modules_[pieces[i].module].variants.empty()) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return pieces[a].h > pieces[b].h; });
    std::vector<std::array<int, 2>> place(pieces.size());
    int x = 0, y = 0, shelf = 0;
    for (size_t i : order) {
        if (x + pieces[i].w > sheetWidth) x = 0, y += shelf + 1, shelf = 0;
        place[i] = {x, y};
        x += pieces[i].w + 1;
        shelf = std::max(shelf, pieces[i].h);
    }
    const int sheetHeight = std::max(1, y + shelf);

    nlohmann::json source;
    if (!order.empty()) {
        std::vector<uint8_t> rgba(static_cast<size_t>(sheetWidth * sheetHeight) * 4, 0);
        for (size_t i : order) {
            const Piece& piece = pieces[i];
            const Module& m = modules_[piece.module];
            for (int v = 0; v < piece.h; ++v)
                for (int u = 0; u < piece.w; ++u) {
                    const Tuple t = tupleAt(m, piece.x + u, piece.y + v);
                    if (t[0] == 0) continue;
                    const uint32_t c = palette[indexOf[t] - 1][0];
                    uint8_t* p = &rgba[static_cast<size_t>((place[i][1] + v) * sheetWidth + place[i][0] + u) * 4];
                    p[0] = static_cast<uint8_t>(c >> 16), p[1] = static_cast<uint8_t>(c >> 8), p[2] = static_cast<uint8_t>(c);
                    p[3] = static_cast<uint8_t>(c >> 24);
                }
        }
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(sheetWidth);
        image.height = static_cast<png_uint_32>(sheetHeight);
        image.format = PNG_FORMAT_RGBA;
        const std::filesystem::path sheet = dir / (name + ".png");
        if (!png_image_write_to_file(&image, sheet.c_str(), 0, rgba.data(), 0, nullptr)) {
            error = sheet.string() + ": cannot write";
            return false;
        }
        nlohmann::json palettes = nlohmann::json::array();
        for (int p = 0; p < palettes_; ++p) {
            nlohmann::json colours = nlohmann::json::array({colourText(0x00FF00FF)});
            for (const Tuple& t : palette) colours.push_back(colourText(t[static_cast<size_t>(p)]));
            palettes.push_back(colours);
        }
        source["palettes"] = palettes;
    }
    nlohmann::json modules = nlohmann::json::array();
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Module& m = modules_[pieces[i].module];
        if (m.variants.empty())
            modules.push_back({{"fillRect", colourText(0xFF000000u | m.rgb)}, {"w", m.w}, {"h", m.h}});
        else
            modules.push_back({{"image", name + ".png"}, {"x", place[i][0]}, {"y", place[i][1]}, {"w", pieces[i].w}, {"h", pieces[i].h}});
    }
    source["modules"] = modules;
    nlohmann::json frames = nlohmann::json::array();
    for (const Frame& f : frames_) {
        nlohmann::json parts = nlohmann::json::array();
        for (const FramePart& p : f.parts) {
            const Module& m = modules_[static_cast<size_t>(p.module)];
            for (size_t k : piecesOf[static_cast<size_t>(p.module)]) {
                const Piece& piece = pieces[k];
                const int px = p.flags & 1 ? m.w - piece.x - piece.w : piece.x;
                const int py = p.flags & 2 ? m.h - piece.y - piece.h : piece.y;
                parts.push_back({{"module", k}, {"x", p.x + px}, {"y", p.y + py}, {"flags", p.flags}});
            }
        }
        nlohmann::json frame{{"modules", parts}};
        if (!f.boxes.empty()) frame["boxes"] = f.boxes;
        frames.push_back(frame);
    }
    source["frames"] = frames;
    nlohmann::json animations = nlohmann::json::array();
    for (const auto& steps : animations_) {
        nlohmann::json list = nlohmann::json::array();
        for (const AnimStep& s : steps)
            list.push_back({{"frame", s.frame}, {"time", s.time}, {"x", s.x}, {"y", s.y}, {"flags", s.flags}});
        animations.push_back({{"frames", list}});
    }
    source["animations"] = animations;
    const std::filesystem::path file = dir / (name + ".json");
    std::ofstream out(file, std::ios::trunc);
    out << source.dump(1) << '\n';
    if (!out.flush()) {
        error = file.string() + ": cannot write";
        return false;
    }
    return true;
}

}  // namespace tools::art
