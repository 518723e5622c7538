// A sprite being put together from drawn pictures: each frame is a picture cut into modules (tiles
// of at most kTile x kTile, each trimmed to its visible pixels, empty ones left out), laid out on
// one PNG sheet beside a sprite description (tools/sprite_source.h) that spritetool compiles.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/png_picture.h"
#include "tools/sprite_art/sample_canvas.h"

namespace tools::art {

struct AnimStep {
    int frame;
    int time = 1;
    int x = 0, y = 0;
};

class SpriteSheet {
public:
    static constexpr int kTile = 128;

    // Frame `frame` (frames are numbered by the caller; gaps are refused when written) from the
    // canvas, whose point (anchorX, anchorY) lands on the frame's origin.
    void frame(int frame, const SampleCanvas& canvas, int anchorX, int anchorY);
    // Like frame(), but each rectangle {x, y, w, h} of the canvas becomes one module as it is, with no
    // trimming: the frame's measured box is then exactly the union of the rectangles.
    void exactFrame(int frame, const SampleCanvas& canvas, int anchorX, int anchorY,
                    const std::vector<std::array<int, 4>>& rects);
    // Box `index` {x, y, w, h} of frame `frame`, in origin coordinates: the points and areas the game's
    // code reads from a frame (an attack area, a gun point, an impact point). Boxes below `index`
    // that were not given are empty.
    void box(int frame, int index, std::array<int, 4> box);
    void animation(int animation, std::vector<AnimStep> steps);

    // Writes NAME.png and NAME.json into `folder`.
    [[nodiscard]] bool write(const std::filesystem::path& folder, const std::string& name, std::string& error) const;

private:
    struct Module {
        Picture picture;
        int x, y;   // place in the frame
    };
    void addModule(int frame, const Picture& whole, int x, int y, int w, int h, int anchorX, int anchorY, bool trim);

    std::vector<std::vector<Module>> m_frames;
    std::vector<std::vector<std::array<int, 4>>> m_boxes;   // by frame
    std::vector<std::vector<AnimStep>> m_animations;
};

}  // namespace tools::art
