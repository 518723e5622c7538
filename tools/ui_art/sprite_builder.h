// A sprite assembled from drawn pictures, written as a sprite source (tools/sprite_source.h): one PNG
// sheet holding every image module and the JSON description beside it. Each image module is drawn
// once per palette (the same shapes in each palette's colours); the builder finds the shared
// indices, so palette p recolours palette 0 index by index as the engine does. Pictures over the
// engine's module size are written as tiles.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/art_canvas.h"

namespace tools::art {

struct FramePart {
    int module = 0, x = 0, y = 0, flags = 0;
};

struct AnimStep {
    int frame = 0, time = 1, x = 0, y = 0, flags = 0;
};

class SpriteBuilder {
public:
    explicit SpriteBuilder(int palettes) : palettes_(palettes) {}

    // An image module drawn once per palette (all the same size); returns its number.
    int image(std::vector<Canvas> variants);
    // A single-palette image module.
    int image(Canvas picture) { return image(std::vector<Canvas>{std::move(picture)}); }
    // A filled rectangle module of an opaque colour (0xRRGGBB).
    int fillRect(uint32_t rgb, int w, int h);

    // A frame of module placements (relative to the point the frame is drawn at) and its boxes.
    int frame(std::vector<FramePart> parts, std::vector<std::array<int, 4>> boxes = {});
    // Makes frame `at` exist (frames below it that were never set stay empty), then sets it.
    void frameAt(int at, std::vector<FramePart> parts, std::vector<std::array<int, 4>> boxes = {});
    [[nodiscard]] int frameCount() const { return static_cast<int>(frames_.size()); }
    int animation(std::vector<AnimStep> steps);
    void animationAt(int at, std::vector<AnimStep> steps);

    [[nodiscard]] int moduleWidth(int m) const { return modules_[static_cast<size_t>(m)].w; }
    [[nodiscard]] int moduleHeight(int m) const { return modules_[static_cast<size_t>(m)].h; }

    // Writes NAME.png and NAME.json into `dir`; false with `error` when a file cannot be written.
    bool write(const std::filesystem::path& dir, const std::string& name, std::string& error) const;

private:
    struct Module {
        std::vector<Canvas> variants;   // empty for a shape module
        uint32_t rgb = 0;
        int w = 0, h = 0;
    };
    struct Frame {
        std::vector<FramePart> parts;
        std::vector<std::array<int, 4>> boxes;
    };
    int palettes_;
    std::vector<Module> modules_;
    std::vector<Frame> frames_;
    std::vector<std::vector<AnimStep>> animations_;
};

}  // namespace tools::art
