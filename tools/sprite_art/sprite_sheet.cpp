#include "tools/sprite_art/sprite_sheet.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>

namespace tools::art {

namespace {

constexpr int kSheetWidth = 512;

}  // namespace

void SpriteSheet::addModule(int frame, const Picture& whole, int x, int y, int w, int h, int anchorX, int anchorY,
                            bool trim) {
    x = std::max(0, x), y = std::max(0, y);
    w = std::min(w, whole.width - x), h = std::min(h, whole.height - y);
    int x0 = x, y0 = y, x1 = x + w, y1 = y + h;
    if (trim) {
        x0 = x + w, y0 = y + h, x1 = x, y1 = y;
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px)
                if (whole.argb[static_cast<size_t>(py * whole.width + px)] >> 24) {
                    x0 = std::min(x0, px), y0 = std::min(y0, py), x1 = std::max(x1, px + 1), y1 = std::max(y1, py + 1);
                }
        if (x0 >= x1) return;
    }
    Module m{{x1 - x0, y1 - y0, {}}, x0 - anchorX, y0 - anchorY};
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) m.picture.argb.push_back(whole.argb[static_cast<size_t>(py * whole.width + px)]);
    if (m_frames.size() <= static_cast<size_t>(frame)) m_frames.resize(static_cast<size_t>(frame) + 1);
    m_frames[static_cast<size_t>(frame)].push_back(std::move(m));
}

void SpriteSheet::frame(int frame, const SampleCanvas& canvas, int anchorX, int anchorY) {
    const Picture whole = canvas.picture();
    if (m_frames.size() <= static_cast<size_t>(frame)) m_frames.resize(static_cast<size_t>(frame) + 1);
    for (int y = 0; y < whole.height; y += kTile)
        for (int x = 0; x < whole.width; x += kTile) addModule(frame, whole, x, y, kTile, kTile, anchorX, anchorY, true);
}

void SpriteSheet::exactFrame(int frame, const SampleCanvas& canvas, int anchorX, int anchorY,
                             const std::vector<std::array<int, 4>>& rects) {
    const Picture whole = canvas.picture();
    if (m_frames.size() <= static_cast<size_t>(frame)) m_frames.resize(static_cast<size_t>(frame) + 1);
    for (const auto& r : rects) addModule(frame, whole, r[0], r[1], r[2], r[3], anchorX, anchorY, false);
}

void SpriteSheet::box(int frame, int index, std::array<int, 4> box) {
    if (m_boxes.size() <= static_cast<size_t>(frame)) m_boxes.resize(static_cast<size_t>(frame) + 1);
    auto& boxes = m_boxes[static_cast<size_t>(frame)];
    if (boxes.size() <= static_cast<size_t>(index)) boxes.resize(static_cast<size_t>(index) + 1, {0, 0, 0, 0});
    boxes[static_cast<size_t>(index)] = box;
}

void SpriteSheet::animation(int animation, std::vector<AnimStep> steps) {
    if (m_animations.size() <= static_cast<size_t>(animation)) m_animations.resize(static_cast<size_t>(animation) + 1);
    m_animations[static_cast<size_t>(animation)] = std::move(steps);
}

bool SpriteSheet::write(const std::filesystem::path& folder, const std::string& name, std::string& error) const {
    using nlohmann::json;
    // Shelf packing, tallest modules first, one pixel apart.
    std::vector<const Module*> order;
    for (const auto& f : m_frames)
        for (const Module& m : f) order.push_back(&m);
    std::stable_sort(order.begin(), order.end(),
                     [](const Module* a, const Module* b) { return a->picture.height > b->picture.height; });
    std::vector<std::array<int, 2>> place(order.size());
    int x = 0, y = 0, shelf = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        const Picture& p = order[i]->picture;
        if (x + p.width > kSheetWidth) x = 0, y += shelf + 1, shelf = 0;
        place[i] = {x, y};
        x += p.width + 1;
        shelf = std::max(shelf, p.height);
    }
    Picture sheet{kSheetWidth, y + shelf, {}};
    sheet.argb.assign(static_cast<size_t>(sheet.width * sheet.height), 0);
    json modules = json::array();
    std::vector<int> moduleOf(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const Picture& p = order[i]->picture;
        for (int py = 0; py < p.height; ++py)
            std::copy_n(&p.argb[static_cast<size_t>(py * p.width)], p.width,
                        &sheet.argb[static_cast<size_t>((place[i][1] + py) * sheet.width + place[i][0])]);
        modules.push_back({{"image", name + ".png"}, {"x", place[i][0]}, {"y", place[i][1]}, {"w", p.width}, {"h", p.height}});
    }
    if (m_boxes.size() > m_frames.size()) {
        error = name + ": a box was given to frame " + std::to_string(m_boxes.size() - 1) + ", which was never drawn";
        return false;
    }
    json frames = json::array();
    for (size_t f = 0; f < m_frames.size(); ++f) {
        if (m_frames[f].empty()) {
            error = name + ": frame " + std::to_string(f) + " was never drawn";
            return false;
        }
        json fms = json::array();
        for (const Module& m : m_frames[f]) {
            const auto at = std::find(order.begin(), order.end(), &m) - order.begin();
            fms.push_back({{"module", at}, {"x", m.x}, {"y", m.y}});
        }
        json frame = {{"modules", fms}};
        if (f < m_boxes.size() && !m_boxes[f].empty()) frame["boxes"] = m_boxes[f];
        frames.push_back(frame);
    }
    json animations = json::array();
    for (size_t a = 0; a < m_animations.size(); ++a) {
        if (m_animations[a].empty()) {
            error = name + ": animation " + std::to_string(a) + " was never made";
            return false;
        }
        json steps = json::array();
        for (const AnimStep& s : m_animations[a])
            steps.push_back({{"frame", s.frame}, {"time", s.time}, {"x", s.x}, {"y", s.y}});
        animations.push_back({{"frames", steps}});
    }
    const json description = {{"pixelFormat", "A256"}, {"modules", modules}, {"frames", frames}, {"animations", animations}};
    if (!writePngPicture(folder / (name + ".png"), sheet, error)) return false;
    std::ofstream out(folder / (name + ".json"));
    out << description.dump(1) << "\n";
    if (!out) {
        error = (folder / (name + ".json")).string() + ": cannot write";
        return false;
    }
    return true;
}

}  // namespace tools::art
