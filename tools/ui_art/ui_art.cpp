// uiart: draws the interface art (tools/art_palette.h colours) and writes it as sources the build
// compiles: `uiart ASSETS_DIR` writes ASSETS_DIR/ui.pack/ (the logo, the title and loading picture,
// the menu sprite, the title wordmark: sprite descriptions with their PNG sheets) and
// ASSETS_DIR/images.pack/ (the "new" badge and the second logo, PNG) and ASSETS_DIR/icon.png (the
// application icon). The committed files were made by it.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/ui_art/sprite_builder.h"
#include "tools/ui_art/ui_menu.h"
#include "tools/ui_art/ui_pictures.h"
#include "tools/ui_art/ui_title.h"

namespace {

namespace fs = std::filesystem;
using namespace tools::art;

constexpr int kIconSize = 48;

// Item 0: the studio logo shown on white: the emblem beside the name. Its frame's top-left is the
// point it is drawn at.
void buildLogo(SpriteBuilder& b) {
    Canvas name = boldText("BRINDLEX", 80, hex(kGoldLight), hex(kGoldDark), 5);
    Canvas c(226 + name.width(), 230);
    c.draw(emblem(210), 4, 10);
    c.draw(name, 222, 32);
    const int right = 222 + name.width() - 12, middle = (236 + right) / 2;
    c.roundRect(236, 140, right - 236, 8, 4, hex(kOutline));
    c.roundRect(238, 142, right - 240, 4, 2, hex(kGold));
    Canvas studio = boldText("G A M E   S T U D I O", 28, hex(kSky), hex(kNight), 0);
    c.draw(studio, middle - studio.width() / 2, 158);
    b.frame({{b.image(c), 0, 0}});
}

// Item 3: the title wordmark, frame 0 still and frames 1..4 with a light sweeping across;
// animation 0 shines now and then.
void buildWordmark(SpriteBuilder& b) {
    for (int k = 0; k <= 4; ++k) {
        const int m = b.image(wordmark(k == 0 ? -1 : k / 5.0));
        b.frame({{m, -b.moduleWidth(m) / 2, -b.moduleHeight(m) / 2}});
    }
    b.animation({{0, 24}, {1}, {2}, {3}, {4}});
}

// A picture turned a quarter clockwise, as the portrait screen holds what the player sees upright.
Canvas turnedForScreen(const Canvas& in) {
    Canvas out(in.height(), in.width());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t px = in.argb(y, in.height() - 1 - x);
            out.blend(x, y, hex(px & 0xFFFFFF), (px >> 24) / 255.0);
        }
    return out;
}

// Image item 0: the promotion's "new" badge, shipped already turned for the portrait screen, so the
// game draws it as it is and its transparent corners stay transparent.
Canvas badge() {
    Canvas text = boldText("NEW", 20, hex(kWhite), hex(kGoldLight), 0);
    Canvas c(text.width() + 22, 36);
    c.polygon({{2, 18}, {12, 3}, {c.width() - 3.0, 3}, {c.width() - 3.0, 33}, {12, 33}}, hex(kEmber));
    c.roundRect(14, 6, c.width() - 20.0, 4, 2, hex(kEmberLight));
    c.circle(10, 18, 3, hex(kEmberDark));
    c.draw(text, 15, 18 - text.height() / 2 + 1);
    c.outline(2, hex(kOutline));
    return turnedForScreen(c);
}

// Image item 1: the second logo, on black: the emblem over the name, with a tag line.
Canvas secondLogo() {
    Canvas c(560, 330);
    c.draw(emblem(170), 195, 0);
    Canvas name = wordmark(-1);
    c.draw(name, 280 - name.width() / 2, 168);
    Canvas line = boldText("A TALE OF NIGHT AND DAY", 24, hex(kMist), hex(kHaze), 2);
    c.draw(line, 280 - line.width() / 2, 292);
    return c;
}

bool write(SpriteBuilder& b, const fs::path& dir, const char* name) {
    std::string error;
    if (b.write(dir, name, error)) return true;
    std::fprintf(stderr, "uiart: %s\n", error.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: uiart ASSETS_DIR\n");
        return 2;
    }
    const fs::path ui = fs::path(argv[1]) / "ui.pack", images = fs::path(argv[1]) / "images.pack";
    fs::create_directories(ui);
    fs::create_directories(images);
    SpriteBuilder logo(1), title(2), menu(1), mark(1);
    buildLogo(logo);
    buildTitleSprite(title);
    buildMenuSprite(menu);
    buildWordmark(mark);
    if (!write(logo, ui, "logo") || !write(title, ui, "title") || !write(menu, ui, "menu") || !write(mark, ui, "wordmark"))
        return 1;
    // The application icon app.jad names: the studio emblem.
    if (!emblem(kIconSize).save(fs::path(argv[1]) / "icon.png")) {
        std::fprintf(stderr, "uiart: cannot write the icon into %s\n", argv[1]);
        return 1;
    }
    if (!badge().save(images / "badge.png") || !secondLogo().save(images / "second_logo.png")) {
        std::fprintf(stderr, "uiart: cannot write the images into %s\n", images.c_str());
        return 1;
    }
    return 0;
}
