// The quarter turn between the portrait screen and the upright landscape picture; see landscape_view.h.
// Invariant: window-to-screen division floors, so the mapping is monotonic through negative values.
#include "platform/graphics/landscape_view.h"

#include <cstdint>

namespace {

int64_t floorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

Viewport fitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
    Viewport v;
    if (int64_t{windowWidth} * pictureHeight <= int64_t{windowHeight} * pictureWidth) {
        v.width = windowWidth;
        v.height = static_cast<int>(int64_t{windowWidth} * pictureHeight / pictureWidth);
    } else {
        v.height = windowHeight;
        v.width = static_cast<int>(int64_t{windowHeight} * pictureWidth / pictureHeight);
    }
    v.x = (windowWidth - v.width) / 2;
    v.y = (windowHeight - v.height) / 2;
    return v;
}

ScreenPoint windowToPortrait(int windowX, int windowY, const Viewport& view, int portraitWidth, int portraitHeight) {
    if (view.width <= 0 || view.height <= 0) return {};
    // The picture is portraitHeight wide and portraitWidth high.
    const int64_t lx = floorDiv((int64_t{windowX} - view.x) * portraitHeight, view.width);
    const int64_t ly = floorDiv((int64_t{windowY} - view.y) * portraitWidth, view.height);
    return {static_cast<int>(portraitWidth - 1 - ly), static_cast<int>(lx)};
}

void turnToLandscape(const ConstSurface565& portrait, const Surface565& landscape) {
    if (landscape.width != portrait.height || landscape.height != portrait.width) return;
    for (int y = 0; y < landscape.height; ++y) {
        uint16_t* out = landscape.row(y);
        const int column = portrait.width - 1 - y;
        for (int x = 0; x < landscape.width; ++x) out[x] = portrait.row(x)[column];
    }
}
