// The title wordmark and the studio emblem, lettered through tools/art_lettering/.
#include <algorithm>
#include <cmath>

#include "tools/ui_art/ui_pictures.h"

namespace tools::art {

Canvas wordmark(double shine) {
    Canvas fill = boldText("BRINDLEX", 96, hex(kGoldLight), hex(kGoldDark), 0, 5);
    // A light band along the upper half of the letters, and the sweep when asked.
    for (int y = 0; y < fill.height(); ++y)
        for (int x = 0; x < fill.width(); ++x) {
            const uint32_t p = fill.argb(x, y);
            if (!(p >> 24)) continue;
            const double band = shine < 0 ? 1e9 : std::abs((x + y * 0.6) - shine * (fill.width() + fill.height()));
            if (band < 26) fill.blend(x, y, hex(kWhite), 0.75 * (1 - band / 26) * ((p >> 24) / 255.0));
        }
    fill.outline(5, hex(kOutline));
    Canvas out(fill.width() + 8, fill.height() + 8);
    // The drop shadow: the outlined letters again, dark, down and right.
    Canvas shadow(fill.width(), fill.height());
    for (int y = 0; y < fill.height(); ++y)
        for (int x = 0; x < fill.width(); ++x) shadow.blend(x, y, hex(kShadow), (fill.argb(x, y) >> 24) / 255.0 * 0.55);
    out.draw(shadow, 7, 7);
    out.draw(fill, 0, 0);
    return out;
}

}  // namespace tools::art
