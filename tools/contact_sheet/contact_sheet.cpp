// Every picture on the sheet is painted by the engine on a portrait screen image (Image 480 x 800,
// RGB565 like the phone's screen), read back with getRGB and turned upright. Sprites are loaded by
// the game's own loaders from the packs the loader opens (pool literals 134, 139, 141).
#include "tools/contact_sheet/contact_sheet.h"
#include "tools/contact_sheet/landscape_screen.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/file_paths.h"
#include "platform/graphics/system_font.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"
#include "sprites/cgame_packs.h"
#include "tools/actor_sprite_uses.h"
#include "tools/contact_sheet/animated_png.h"

namespace tools {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;
using P = cGamePacks;

constexpr int kW = 800, kH = 480;                  // the landscape picture
constexpr int kSheetWidth = 1660, kMargin = 20;
constexpr jint kTilesPack = 144, kTileSets = 8;
constexpr jint kFontsPack = 134, kImagesPack = 141, kSpritesPack = 138, kTextPrefix = 132, kLanguage0 = 167;
constexpr uint32_t kPaper = 0xFF1B2330, kInk = 0xFFE5E9F0, kCaption = 0xFF8ECAE6;

// The landscape bounds {x, y, w, h} of what a paint covers, from the engine's portrait rectangle.
std::array<int, 4> landscapeBounds(IntArray* rect) {
    const int minX = rect->get(0), minY = rect->get(1), maxX = rect->get(2), maxY = rect->get(3);
    if (maxX < minX || maxY < minY) return {0, 0, 0, 0};
    return {minY, kH - maxX, maxY - minY, maxX - minX};
}

Picture shrink(const Picture& p, int factor) {
    if (factor <= 1) return p;
    Picture out;
    out.width = p.width / factor, out.height = p.height / factor;
    out.argb.resize(static_cast<size_t>(out.width * out.height));
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            uint32_t sum[3] = {0, 0, 0};
            for (int v = 0; v < factor; ++v)
                for (int u = 0; u < factor; ++u) {
                    const uint32_t c = p.argb[static_cast<size_t>((y * factor + v) * p.width + x * factor + u)];
                    sum[0] += c >> 16 & 0xFF, sum[1] += c >> 8 & 0xFF, sum[2] += c & 0xFF;
                }
            const uint32_t n = static_cast<uint32_t>(factor * factor);
            out.argb[static_cast<size_t>(y * out.width + x)] = 0xFF000000u | (sum[0] / n) << 16 | (sum[1] / n) << 8 | sum[2] / n;
        }
    return out;
}

Picture enlarge(const Picture& p, int factor) {
    Picture out;
    out.width = p.width * factor, out.height = p.height * factor;
    out.argb.resize(static_cast<size_t>(out.width * out.height));
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.argb[static_cast<size_t>(y * out.width + x)] = p.argb[static_cast<size_t>(y / factor * p.width + x / factor)];
    return out;
}

// The sheet grows downwards row by row; cells are placed left to right and wrap.
class Sheet {
public:
    Sheet() : width_(kSheetWidth) { grow(kMargin); }
    // A fixed picture of w x h for placing cells by hand (place()), without margins.
    Sheet(int w, int h) : width_(w) {
        grow(h);
        y_ = h - kMargin;
    }

    // A picture at (x, y) with a caption in its bottom-left corner.
    void place(const Picture& p, int x, int y, const std::string& caption) {
        for (int v = 0; v < p.height && y + v < picture_.height; ++v)
            for (int u = 0; u < p.width && x + u < width_; ++u) at(x + u, y + v) = p.argb[static_cast<size_t>(v * p.width + u)];
        label(x + 2, y + p.height + 1, caption, 1, kCaption);
    }

    void heading(const std::string& text) {
        newRow();
        grow(y_ + 40);
        label(kMargin, y_ + 8, text, 2, kInk);
        y_ += 40;
    }
    void cell(const Picture& p, const std::string& caption) {
        const int w = std::max(p.width, static_cast<int>(caption.size()) * SystemFont::charWidth(u'A'));
        if (x_ + w > width_ - kMargin && x_ > kMargin) newRow();
        grow(y_ + p.height + 24);
        for (int v = 0; v < p.height; ++v)
            for (int u = 0; u < p.width; ++u) at(x_ + u, y_ + v) = p.argb[static_cast<size_t>(v * p.width + u)];
        label(x_, y_ + p.height + 3, caption, 1, kCaption);
        x_ += w + 12;
        rowHeight_ = std::max(rowHeight_, p.height + 24);
    }
    void newRow() {
        if (x_ > kMargin) y_ += rowHeight_ + 6;
        x_ = kMargin;
        rowHeight_ = 0;
    }
    Picture finish() {
        newRow();
        grow(y_ + kMargin);
        picture_.height = y_ + kMargin;
        picture_.argb.resize(static_cast<size_t>(picture_.width * picture_.height));
        return std::move(picture_);
    }

private:
    uint32_t& at(int x, int y) { return picture_.argb[static_cast<size_t>(y * width_ + x)]; }
    void grow(int height) {
        if (height <= picture_.height) return;
        picture_.width = width_;
        picture_.height = height;
        picture_.argb.resize(static_cast<size_t>(width_ * height), kPaper);
    }
    void label(int x, int y, const std::string& text, int scale, uint32_t colour) {
        grow(y + SystemFont::height() * scale);
        drawLabel(picture_, x, y, text, scale, colour);
    }

    int width_;
    Picture picture_;
    int x_ = kMargin, y_ = kMargin, rowHeight_ = 0;
};

// One frame (or animation frame when anim >= 0) painted at the centre on the checker, cut to what
// it covers, shrunk until it fits a cell of at most maxW x maxH.
Picture paintedCell(LandscapeScreen& screen, Bsprite* sprite, int anim, int frame, int maxW, int maxH) {
    screen.checker();
    IntArray* rect = Runtime::newIntArray(4);
    if (!rect) return {};
    if (anim >= 0) {
        sprite->GetAFrameRect(rect, anim, frame, kW / 2, kH / 2, 0);
        sprite->PaintAFrame(screen.g(), anim, frame, kW / 2, kH / 2, 0, 0, 0);
    } else {
        sprite->GetFrameRect(rect, frame, kW / 2, kH / 2, 0);
        sprite->PaintFrame(screen.g(), frame, kW / 2, kH / 2, 0, 0, 0);
    }
    std::array<int, 4> r = landscapeBounds(rect);
    if (r[2] == 0 || r[3] == 0) r = {kW / 2 - 12, kH / 2 - 12, 24, 24};
    const Picture p = screen.read(r[0] - 4, r[1] - 4, r[2] + 8, r[3] + 8);
    int factor = 1;
    while (p.width / factor > maxW || p.height / factor > maxH) ++factor;
    return shrink(p, factor);
}

void spriteSection(Sheet& sheet, LandscapeScreen& screen, Bsprite* sprite, const std::string& name, int maxW, int maxH) {
    sheet.heading(name + ": frames");
    for (int f = 0; f < sprite->GetFrameCount(); ++f) sheet.cell(paintedCell(screen, sprite, -1, f, maxW, maxH), "frame " + std::to_string(f));
    for (int a = 0; a < sprite->animCount; ++a) {
        sheet.heading(name + ": animation " + std::to_string(a));
        for (int k = 0; k < sprite->GetAFrames(a); ++k)
            sheet.cell(paintedCell(screen, sprite, a, k, maxW, maxH),
                       std::to_string(k) + ": " + std::to_string(sprite->GetAFrameTime(a, k) * 62) + " ms");
    }
}

// The landscape rectangle {x, y, w, h} of box `box` of an animation frame painted at the centre.
std::array<int, 4> frameBox(Bsprite* sprite, int anim, int frame, int box) {
    IntArray* r = Runtime::newIntArray(4);
    if (!r) return {0, 0, 0, 0};
    sprite->GetAFrameBox(anim, frame, box, r, 0, true);
    return {kW / 2 + r->get(0), kH / 2 + r->get(1), r->get(2), r->get(3)};
}

// An animation frame of an actor sprite with its boxes outlined (box 0 ember, box 1 gold), cut to
// what the frame and its boxes cover.
constexpr uint32_t kBoxColour[2] = {0xFF3030, 0xFFD000};
Picture actorCell(LandscapeScreen& screen, Bsprite* sprite, int anim, int frame, int boxes, int maxW, int maxH) {
    screen.checker();
    IntArray* rect = Runtime::newIntArray(4);
    if (!rect) return {};
    sprite->GetAFrameRect(rect, anim, frame, kW / 2, kH / 2, 0);
    sprite->PaintAFrame(screen.g(), anim, frame, kW / 2, kH / 2, 0, 0, 0);
    std::array<int, 4> r = landscapeBounds(rect);
    if (r[2] == 0 || r[3] == 0) r = {kW / 2 - 12, kH / 2 - 12, 24, 24};
    int x0 = r[0], y0 = r[1], x1 = r[0] + r[2], y1 = r[1] + r[3];
    for (int b = 0; b < boxes; ++b) {
        const auto [bx, by, bw, bh] = frameBox(sprite, anim, frame, b);
        if (bw <= 0 || bh <= 0) continue;
        // Landscape (x, y) is portrait (479 - y, x).
        screen.g()->setColor(static_cast<jint>(kBoxColour[b % 2]));
        screen.g()->drawRect(kH - by - bh, bx, bh - 1, bw - 1);
        x0 = std::min(x0, bx), y0 = std::min(y0, by), x1 = std::max(x1, bx + bw), y1 = std::max(y1, by + bh);
    }
    const Picture p = screen.read(x0 - 4, y0 - 4, x1 - x0 + 8, y1 - y0 + 8);
    int factor = 1;
    while (p.width / factor > maxW || p.height / factor > maxH) ++factor;
    return shrink(p, factor);
}

// The pulsing picture's mask is one quarter of it: the race draws it four times, mirrored about the
// quarter's origin corner, and so does this cell, whole.
Picture mirroredQuartersCell(LandscapeScreen& screen, Bsprite* sprite, int maxW, int maxH) {
    screen.checker();
    IntArray* rect = Runtime::newIntArray(4);
    if (!rect) return {};
    int x0 = kW / 2, y0 = kH / 2, x1 = kW / 2, y1 = kH / 2;
    for (jint flags = 0; flags < 4; ++flags) {
        sprite->GetAFrameRect(rect, 0, 0, kW / 2, kH / 2, flags);
        sprite->PaintAFrame(screen.g(), 0, 0, kW / 2, kH / 2, flags, 0, 0);
        const auto r = landscapeBounds(rect);
        if (r[2] == 0 || r[3] == 0) continue;
        x0 = std::min(x0, r[0]), y0 = std::min(y0, r[1]), x1 = std::max(x1, r[0] + r[2]), y1 = std::max(y1, r[1] + r[3]);
    }
    const Picture p = screen.read(x0 - 4, y0 - 4, x1 - x0 + 8, y1 - y0 + 8);
    int factor = 1;
    while (p.width / factor > maxW || p.height / factor > maxH) ++factor;
    return shrink(p, factor);
}

Bsprite* loadActorSprite(int slot) {
    P::packOpen(Runtime::ldcString(kSpritesPack));
    ByteArray* data = P::packReadData(slot);
    P::packClose();
    auto* sprite = Runtime::make<Bsprite>();
    if (!data || !sprite || !sprite->Load(data, 0)) return nullptr;
    return sprite;
}

// Each actor sprite's animations as strips of frames with their boxes, one after the other (the
// first frame's caption names the animation); the frame time under each.
bool actorSection(Sheet& sheet, LandscapeScreen& screen, std::string& error) {
    for (const ActorSpriteUse& use : actorSpriteUses()) {
        Bsprite* sprite = loadActorSprite(use.slot);
        if (!sprite) {
            error = "sprites pack item " + std::to_string(use.slot) + " did not load";
            return false;
        }
        sheet.heading("sprite " + std::to_string(use.slot) + ": " + use.role);
        for (int a = 0; a < sprite->animCount; ++a) {
            for (int k = 0; k < sprite->GetAFrames(a); ++k)
                sheet.cell(actorCell(screen, sprite, a, k, 2, 130, 140),
                           (k == 0 ? "anim " + std::to_string(a) + ": " : std::string()) +
                               std::to_string(sprite->GetAFrameTime(a, k) * 62) + " ms");
        }
        if (use.slot == P::kTileSpriteItem && sprite->animCount > 0)
            sheet.cell(mirroredQuartersCell(screen, sprite, 260, 280), "the four quarters the race draws");
    }
    return true;
}

bool fail(std::string& error, const std::string& what) {
    error = what;
    Runtime::clearPendingException();
    return false;
}

// The animation frame shown `tick` frame times after an animation started, looping.
int frameAt(Bsprite* sprite, int anim, int tick) {
    int total = 0;
    for (int k = 0; k < sprite->GetAFrames(anim); ++k) total += std::max(1, static_cast<int>(sprite->GetAFrameTime(anim, k)));
    if (total == 0) return 0;
    int t = tick % total;
    for (int k = 0; k < sprite->GetAFrames(anim); ++k) {
        t -= std::max(1, static_cast<int>(sprite->GetAFrameTime(anim, k)));
        if (t < 0) return k;
    }
    return 0;
}

constexpr int kPreviewTicks = 32, kPreviewColumns = 8, kTickMs = 62;

// One animated PNG per actor sprite: all its animations side by side, each playing at its own
// frame times, with its number in the corner.
bool writePreviews(LandscapeScreen& screen, const std::filesystem::path& dir, int onlySlot, std::string& error) {
    std::filesystem::create_directories(dir);
    IntArray* rect = Runtime::newIntArray(4);
    if (!rect) return fail(error, "no room for a rectangle");
    for (const ActorSpriteUse& use : actorSpriteUses()) {
        if (onlySlot >= 0 && use.slot != onlySlot) continue;
        Bsprite* sprite = loadActorSprite(use.slot);
        if (!sprite) return fail(error, "sprites pack item " + std::to_string(use.slot) + " did not load");
        // One cell size for every animation: what any of its frames covers around the position.
        int x0 = kW / 2 - 8, y0 = kH / 2 - 8, x1 = kW / 2 + 8, y1 = kH / 2 + 8;
        for (int a = 0; a < sprite->animCount; ++a)
            for (int k = 0; k < sprite->GetAFrames(a); ++k) {
                sprite->GetAFrameRect(rect, a, k, kW / 2, kH / 2, 0);
                const auto r = landscapeBounds(rect);
                if (r[2] == 0 || r[3] == 0) continue;
                x0 = std::min(x0, r[0]), y0 = std::min(y0, r[1]), x1 = std::max(x1, r[0] + r[2]), y1 = std::max(y1, r[1] + r[3]);
            }
        x0 -= 4, y0 -= 4, x1 += 4, y1 += 4;
        const int cw = x1 - x0, ch = y1 - y0 + 14;
        const int columns = std::min(kPreviewColumns, std::max(1, static_cast<int>(sprite->animCount)));
        const int rows = (sprite->animCount + columns - 1) / columns;
        std::vector<Picture> frames;
        for (int tick = 0; tick < kPreviewTicks; ++tick) {
            Sheet grid(columns * (cw + 4), rows * (ch + 4));
            for (int a = 0; a < sprite->animCount; ++a) {
                screen.checker();
                sprite->PaintAFrame(screen.g(), a, frameAt(sprite, a, tick), kW / 2, kH / 2, 0, 0, 0);
                grid.place(screen.read(x0, y0, cw, ch - 14), (a % columns) * (cw + 4), (a / columns) * (ch + 4),
                           std::to_string(a));
            }
            frames.push_back(grid.finish());
        }
        const auto path = dir / ("sprite_" + std::to_string(use.slot) + ".png");
        if (!writeAnimatedPng(path, frames, kTickMs, error)) return false;
    }
    return true;
}

String* text(jint id) { return P::getString(id); }

}  // namespace

bool renderContactSheet(const std::filesystem::path& dataBar, Picture& out, std::string& error) {
    if (!std::filesystem::exists(dataBar)) return fail(error, dataBar.string() + ": no such file");
    platform::setDataFile(dataBar);
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    Runtime::loadConstants();
    P::s_encoding = Runtime::ldcString(P::kEncodingLiteral);
    P::packLoadText(Runtime::ldcString(kTextPrefix)->concat(Runtime::ldcString(kLanguage0)), 0);

    // The interface sprites through the game's loaders, the logo as the logo screen loads it.
    P::loadInterfaceSprite(true);
    P::loadInterfaceSprite2(true);
    P::packOpen(Runtime::ldcString(P::kInterfacePackLiteral));
    P::loadMenuSprites();
    Bsprite* logo = P::loadSpriteFlags(0, 1, true, true);
    P::packClose();
    Bsprite* title = P::s_loadingPicture;
    Bsprite* menu = P::s_menuSprite;
    Bsprite* mark = P::s_interfaceSprite2;
    if (!title || !menu || !mark || !logo) return fail(error, dataBar.string() + ": an interface sprite did not load");
    // The fonts as load step 2 and 3 make them.
    P::packOpen(Runtime::ldcString(kFontsPack));
    Bsprite* fonts[3] = {P::loadSpriteFlags(1, 3, false, false), P::loadSpriteFlags(2, 1, true, false),
                         P::loadSpriteFlags(3, 1, false, false)};
    Object* charMap = P::packReadStream(0);
    P::packClose();
    if (!fonts[0] || !fonts[1] || !fonts[2] || !charMap || charMap->classId() != CID_ShortArray)
        return fail(error, dataBar.string() + ": the fonts did not load");
    for (Bsprite* font : fonts) font->BuildCharMap(static_cast<ShortArray*>(charMap));
    // The images.
    P::packOpen(Runtime::ldcString(kImagesPack));
    ByteArray* badgeBytes = P::packReadData(0);
    ByteArray* logoBytes = P::packReadData(1);
    P::packClose();
    Image* badge = badgeBytes ? Image::createImage(badgeBytes, 0, badgeBytes->length) : nullptr;
    Image* second = logoBytes ? Image::createImage(logoBytes, 0, logoBytes->length) : nullptr;
    if (!badge || !second || Runtime::pending()) return fail(error, dataBar.string() + ": an image did not load");

    LandscapeScreen screen;
    if (!screen.ready()) return fail(error, "no room for the screen image");
    Graphics* g = screen.g();
    Graphics* const savedG = cGameDraw::s_g;
    cGameDraw::s_g = g;
    Sheet sheet;
    auto say = [&](Bsprite* font, jint palette, String* s, int x, int y, jint anchor) {
        font->SetCurrentPalette(palette);
        font->DrawStringAt(g, s, x, y, anchor, false);
    };

    sheet.heading("Screens as the game composes them");
    // The splash: black, the title animation in palette 0, the blinking prompt.
    screen.fill(0);
    title->SetCurrentPalette(0);
    title->PaintAFrame(g, 1, 0, 400, 240, 0, 0, 0);
    title->SetCurrentPalette(1);
    say(fonts[0], 0, text(35), 400, 410, 3);
    sheet.cell(screen.readAll(), "splash: title animation 1, palette 0");
    // The main menu: the backdrop animation in palette 1, three rows (one selected, one special).
    screen.fill(0xFFFFFF);
    title->PaintAFrame(g, 2, 0, 400, 240, 0, 0, 0);
    menu->PaintFrame(g, 7, 400, 395, 0, 0, 0);
    const jint rows[3] = {57, 74, 58};
    for (int i = 0; i < 3; ++i) {
        const int y = 215 + 70 * i;
        menu->PaintFrame(g, i == 0 ? 10 : 8, 400, y, 0, 0, 0);
        say(fonts[0], i == 2 ? 1 : 0, text(rows[i])->toUpperCase(), 400, y, 3);
    }
    menu->PaintFrame(g, 13, 0, 480, 0, 0, 0);
    say(fonts[1], 0, text(5), 7, 473, 36);
    menu->PaintFrame(g, 15, 800, 480, 0, 0, 0);
    menu->PaintFrame(g, 11, 800, 0, 0, 0, 0);
    sheet.cell(screen.readAll(), "main menu: animation 2, rows 10/8, soft keys 13/15, corner 11");
    // A level load half way: frame 0, the level name, the bar and the runner at its tip.
    screen.fill(0);
    title->PaintFrame(g, 0, 400, 240, 0, 0, 0);
    say(fonts[2], 0, text(83), 400, 45, 3);
    const int p = 667 / 2;
    g->setColor(0xFFFFFF);
    g->drawRect(13, 66, 20, 667);
    g->setColor(0xF87800);
    g->fillRect(14, 68, 17, p - 3);
    title->PaintAFrame(g, 0, 2, 66 + p, 457, 0, 0, 0);
    sheet.cell(screen.readAll(), "level load: frame 0, font 2, runner animation 0");

    sheet.heading("ui item 1 (title): frame 0 in palette 1 (day) and palette 0 (night)");
    title->SetCurrentPalette(1);
    screen.fill(0);
    title->PaintFrame(g, 0, 400, 240, 0, 0, 0);
    sheet.cell(screen.readAll(), "palette 1");
    title->SetCurrentPalette(0);
    screen.fill(0);
    title->PaintFrame(g, 0, 400, 240, 0, 0, 0);
    sheet.cell(screen.readAll(), "palette 0");
    title->SetCurrentPalette(1);
    spriteSection(sheet, screen, title, "ui item 1 (title, palette 1)", 200, 120);
    spriteSection(sheet, screen, menu, "ui item 2 (menu)", 260, 160);
    spriteSection(sheet, screen, mark, "ui item 3 (wordmark)", 330, 160);
    sheet.heading("ui item 0 (first logo, on white) and images items 0 (badge) and 1 (second logo, on black)");
    screen.fill(0xFFFFFF);
    logo->PaintFrame(g, 0, (kW - logo->GetFrameWidth(0)) / 2, (kH - logo->GetFrameHeight(0)) / 2, 0, 0, 0);
    sheet.cell(shrink(screen.readAll(), 2), "logo frame 0");
    for (Image* image : {badge, second}) {
        Picture pic;
        pic.width = image->getWidth(), pic.height = image->getHeight();
        pic.argb.resize(static_cast<size_t>(pic.width * pic.height));
        IntArray* pixels = Runtime::newIntArray(pic.width * pic.height);
        if (!pixels) return fail(error, "no room for an image's pixels");
        image->getRGB(pixels, 0, pic.width, 0, 0, pic.width, pic.height);
        for (size_t i = 0; i < pic.argb.size(); ++i) {
            const uint32_t c = static_cast<uint32_t>(pixels->get(static_cast<jint>(i)));
            const double a = (c >> 24) / 255.0;
            auto ch = [&](int s) { return static_cast<uint32_t>((c >> s & 0xFF) * a) << s; };
            pic.argb[i] = 0xFF000000u | ch(16) | ch(8) | ch(0);   // over black
        }
        sheet.cell(image == badge ? enlarge(pic, 3) : pic, image == badge ? "badge (x3)" : "second logo");
    }

    sheet.heading("fonts 0, 1 and 2 in palettes 0 and 1");
    String* sample = String::fromCString("BRINDLEX 0123456789 Quick foxes jump!");
    const jint lines[3] = {57, 74, 58};
    for (int f = 0; f < 3; ++f)
        for (int palette = 0; palette < 2; ++palette) {
            screen.fill(palette ? 0xFFFFFF : 0x14213D);
            say(fonts[f], palette, sample, 10, 34, 6);
            say(fonts[f], palette, text(lines[f])->toUpperCase()->concat(String::fromCString(" / "))->concat(text(83 + f)), 10,
                96, 6);
            sheet.cell(screen.read(0, 0, kW, 130), "font " + std::to_string(f) + ", palette " + std::to_string(palette));
        }
    // The tile sets as the level loader loads them: ground sets tile by tile in one strip, backdrops
    // as the whole picture their 20 x 12 tiles make, at half size.
    sheet.heading("tile sets: ground tiles 0 to 19, backdrops at half size");
    P::packOpen(Runtime::ldcString(kTilesPack));
    for (jint set = 0; set < kTileSets; ++set) {
        Bsprite* tiles = P::loadSpriteFlags(set, 1, false, true);
        if (!tiles) {
            P::packClose();
            return fail(error, dataBar.string() + ": tile set " + std::to_string(set) + " did not load");
        }
        const int count = tiles->GetFrameCount();
        const bool backdrop = count >= 240;
        screen.checker();
        for (int f = 0; f < count; ++f) {
            const int x = backdrop ? f % 20 * 40 : f % 10 * 44 + 2, y = backdrop ? f / 20 * 40 : f / 10 * 44 + 2;
            tiles->PaintFrame(g, f, x, y, 0, 0, 0);
        }
        const Picture painted = backdrop ? shrink(screen.readAll(), 2) : screen.read(0, 0, 442, 90);
        sheet.cell(painted, "set " + std::to_string(set) + (backdrop ? " (half size)" : ""));
    }
    P::packClose();
    sheet.heading("Actor sprites: each animation as a strip (box 0 red, box 1 yellow)");
    if (!actorSection(sheet, screen, error)) return fail(error, dataBar.string() + ": " + error);
    cGameDraw::s_g = savedG;
    out = sheet.finish();
    if (Runtime::pending()) return fail(error, "an exception was raised while painting");
    return true;
}

bool writeActorPreviews(const std::filesystem::path& dir, std::string& error, int onlySlot) {
    LandscapeScreen screen;
    if (!screen.ready()) return fail(error, "no room for the screen image");
    return writePreviews(screen, dir, onlySlot, error);
}

int runContactSheet(int argc, const char* const* argv) {
    if (argc != 3 && argc != 4) {
        std::fputs("usage: contactsheet DATA.bar OUT.png [PREVIEW_DIR]\n", stderr);
        return 2;
    }
    if (!Runtime::initHeaps(64u << 20, 64u << 20)) {
        std::fputs("contactsheet: cannot create the heaps\n", stderr);
        return 1;
    }
    int status = 0;
    {
        ObjectManager collector;
        Picture sheet;
        std::string error;
        if (!renderContactSheet(argv[1], sheet, error) || !writePngPicture(argv[2], sheet, error) ||
            (argc == 4 && !writeActorPreviews(argv[3], error))) {
            std::fprintf(stderr, "contactsheet: %s\n", error.c_str());
            status = 1;
        }
        Runtime::destroyHeaps();
    }
    return status;
}

}  // namespace tools
