#include "tools/contact_sheet/landscape_screen.h"

#include <vector>

#include "platform/graphics/system_font.h"

namespace tools {

void drawLabel(Picture& picture, int x, int y, const std::string& text, int scale, uint32_t colour) {
    const int gw = SystemFont::charWidth(u'A'), gh = SystemFont::height();
    const std::u16string wide(text.begin(), text.end());
    const int w = gw * static_cast<int>(wide.size());
    std::vector<uint16_t> cell(static_cast<size_t>(std::max(w, 1) * gh), 0);
    SystemFont::drawText(Surface565{cell.data(), std::max(w, 1), gh, std::max(w, 1)}, 0, 0, wide, 0xFFFF);
    for (int v = 0; v < gh * scale; ++v)
        for (int u = 0; u < w * scale; ++u) {
            const int px = x + u, py = y + v;
            if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) continue;
            if (cell[static_cast<size_t>(v / scale * w + u / scale)])
                picture.argb[static_cast<size_t>(py * picture.width + px)] = colour;
        }
}

}  // namespace tools
