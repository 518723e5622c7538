// Texts drawn one character at a time (the waving menu rows, the level title) and with a chosen font
// palette, on the frame Graphics through the sprite fonts of s_fonts. A font index outside the table,
// a slot that holds no sprite font, or no frame Graphics draws nothing.
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"

IntArray* cGameText::s_titleOffsets = nullptr;
jint cGameText::s_titleFrames = 0;

namespace {

const StaticRefRegistration kTitleStatics(CID_cGame, &cGame::s_titleOffsets);

constexpr jint kCharAnchor = 6;   // left, vertical centre
constexpr jint kModeFlat = 1, kModeTitle = 3;
// A title over the scene sits on a plate of the menu rows' night blue, so it reads on the pale sky.
constexpr jint kPlateFill = cGame::kTitlePlateFill, kPlateLine = 0x0A0F1E, kPlatePadX = 18, kPlatePadY = 8;
constexpr jint kAnchorLeft = 4, kAnchorRight = 8, kAnchorTop = 16, kAnchorBottom = 32;

// How far the pen moves after character c: glyphs unscaled, the space and the spacing scaled.
jint glyphAdvance(Bsprite* font, jchar c) {
    const jint width = c == ' ' ? font->GetSpaceWidth() : font->GetFrameModuleX(font->MapChar(c), 0);
    return width + font->GetCharSpacing();
}

// Character c's place on a triangle wave of period 2A frames between -(A >> 1) and A - (A >> 1);
// neighbours are two frames apart. Taken in 64 bits, so no amplitude overflows or divides by zero.
jint waveOffset(jint amplitude, jint c) {
    if (amplitude == 0) return 0;
    const jint s = amplitude / 20;
    const jint speed = s < 0 ? 1 : s >= 32 ? 0 : static_cast<jint>(uint32_t{1} << s);
    const jlong phase = jlong{jt::mul(cGame::s_frameCounter, speed)} + jlong{2} * c;
    const jlong a = amplitude;
    const jlong m = phase % (2 * a);
    return static_cast<jint>((m > a ? 2 * a - m : m) - (a >> 1));
}

// One character as its own text, so each can be placed by itself.
void drawChar(Bsprite* font, String* text, jint c, jint x, jint y) {
    String* one = text->substring(c, c + 1);
    BX_RETURN_IF_NULL(one);
    font->DrawString(cGame::s_g, one, nullptr, x, y, kCharAnchor, true);
}

}  // namespace

Bsprite* cGame::fontSprite(jint font) {
    if (!s_fonts || font < 0 || font >= s_fonts->length) return nullptr;
    Object* sprite = s_fonts->get(font);
    return sprite && sprite->classId() == CID_Bsprite ? static_cast<Bsprite*>(sprite) : nullptr;
}

void cGame::drawWavyText(String* text, jint font, jint x, jint y, jint /*anchor*/, jint amplitude) {
    Bsprite* sprite = fontSprite(font);
    if (!sprite || !text || text->length() == 0 || !s_g) return;
    sprite->MeasureText(text, nullptr);
    const jint left = x - (ASprite::s_textWidth >> 1);
    jint offset = 0;
    for (jint c = 0; c < text->length(); ++c) {
        drawChar(sprite, text, c, left + offset, y + waveOffset(amplitude, c));
        BX_RETURN_IF_PENDING();
        offset += glyphAdvance(sprite, text->charAt(c));
    }
}

void cGame::drawTextPerChar(String* text, jint font, jint x, jint y, jint /*a*/, jint /*b*/, jint mode) {
    Bsprite* sprite = fontSprite(font);
    if (!sprite || !text || text->length() == 0 || !s_g) return;
    if (mode != kModeFlat && mode != kModeTitle) return;
    sprite->MeasureText(text, nullptr);
    const jint left = x - (ASprite::s_textWidth >> 1);
    jint offset = 0;
    for (jint c = 0; c < text->length(); ++c) {
        jint dy = 0;
        // Characters past the offsets table stay on the line.
        if (mode == kModeTitle && s_titleOffsets && c < s_titleOffsets->length) {
            dy = jt::mul(s_titleOffsets->get(c), s_titleFrames);
        }
        drawChar(sprite, text, c, left + offset, y + dy);
        BX_RETURN_IF_PENDING();
        offset += glyphAdvance(sprite, text->charAt(c));
    }
}

void cGame::drawStringWithPalette(jint font, jint palette, String* text, jint x, jint y, jint anchor) {
    Bsprite* sprite = fontSprite(font);
    if (!sprite || !text || !s_g) return;
    sprite->SetCurrentPalette(palette);
    sprite->DrawString(s_g, text, nullptr, x, y, anchor, true);
}

namespace {

const StaticStartValues kStartValues(&cGameText::s_titleOffsets, &cGameText::s_titleFrames);

}  // namespace

void cGameText::resetStatics() { kStartValues.restore(); }

void cGame::drawStringOnPlate(jint font, jint palette, String* text, jint x, jint y, jint anchor) {
    paintTextPlate(font, text, x, y, anchor, 0);
    BX_RETURN_IF_PENDING();
    drawStringWithPalette(font, palette, text, x, y, anchor);
}

void cGame::paintTextPlate(jint font, String* text, jint x, jint y, jint anchor, jint extraHeight) {
    Bsprite* sprite = fontSprite(font);
    if (!sprite || !text || !s_g) return;
    sprite->MeasureText(text, nullptr);
    BX_RETURN_IF_PENDING();
    const jint w = ASprite::s_textWidth + 2 * kPlatePadX, h = ASprite::s_textHeight + 2 * kPlatePadY + extraHeight;
    jint left = x - w / 2, top = y - h / 2;   // centred unless the anchor says otherwise
    if (anchor & kAnchorLeft) left = x - kPlatePadX;
    if (anchor & kAnchorRight) left = x - w + kPlatePadX;
    if (anchor & kAnchorTop) top = y - kPlatePadY;
    if (anchor & kAnchorBottom) top = y - h + kPlatePadY;
    drawFramedBox(kPlateFill, kPlateLine, left, top, w, h);
}
