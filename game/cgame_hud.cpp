// The heads-up display: lives, energy, meter or special shots, the submarine's air, and on the
// alternate player's levels its counters and the race gauge. It draws from the values the actors'
// registered view hands over (nothing without one) and writes only its own clock, which runs in play
// alone so that a menu over the frozen scene shows the blinking in the phase play left it.
#include "game/cgame.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"

jint cGameTouch::s_hudClock = 0;

namespace {

constexpr jint kHudSprite = 2, kEnergySprite = 7, kHudFont = 1, kDigitFont = 0;
constexpr jint kLowEnergy = 15, kLowMeter = 100, kLowAirMs = 20000;
constexpr jint kGaugeLength = 357;
constexpr jint kWhite = 0xFFFFFF, kPlayerTick = 0xF87800;

Bsprite* spriteIn(ObjectArray* table, jint slot) {
    if (!table || slot < 0 || slot >= table->length) return nullptr;
    Object* o = table->get(slot);
    return o && o->classId() == CID_Bsprite ? static_cast<Bsprite*>(o) : nullptr;
}

// Three painted frames on, three off.
bool blinkShown() { return jt::rem(cGame::s_hudClock, 6) < 3; }

void paintFrame(Bsprite* sprite, jint f, jint x, jint y) {
    if (sprite) sprite->PaintFrame(cGame::s_g, f, x, y, 0, 0, 0);
}

// The icon animation: its frame follows the HUD clock.
void icon(Bsprite* sprite, jint anim, jint x, jint y) {
    if (!sprite) return;
    const jint frames = sprite->GetAFrames(anim);
    if (frames <= 0) return;
    sprite->PaintAFrame(cGame::s_g, anim, jt::rem(cGame::s_hudClock, frames), x, y, 0, 0, 0);
}

void text(String* s, jint x, jint y) {
    Bsprite* font = cGame::fontSprite(kHudFont);
    if (font && s) font->DrawString(cGame::s_g, s, nullptr, x, y, 0, true);
}

String* join(String* a, String* b) { return a && b ? a->concat(b) : nullptr; }

String* count(jint n) { return join(Runtime::ldcString(cGame::kHudCountLiteral), String::valueOfInt(n)); }

void energy(jint value) {
    if (value < kLowEnergy && !blinkShown()) return;
    icon(spriteIn(cGame::s_sprites, kEnergySprite), 1, 233, 44);
    text(join(String::valueOfInt(value), Runtime::ldcString(cGame::kHudEnergyLiteral)), 266, 34);
}

// The rival's or the player's mark on the gauge and its tick, straight on the screen.
void racer(Bsprite* hud, jlong height, jlong top, jint markFrame, jint tickColour) {
    if (top == 0) return;   // no distance handed over: no place on the gauge
    const jint d = jt::l2i(jt::sub(jlong{kGaugeLength}, jt::div(jt::mul(height, jlong{kGaugeLength}), top)));
    paintFrame(hud, markFrame, jt::add(142, d), 110);
    if (!cGame::s_g) return;
    cGame::s_g->setColor(tickColour);
    cGame::s_g->drawLine(402, jt::add(140, d), 397, jt::add(140, d));
}

}  // namespace

void cGame::paintHud() {
    if (s_state == kStatePlay) s_hudClock = s_frameCounter;
    HudValues v{};
    if (!s_actorView || !s_actorView->hudValues || !s_actorView->hudValues(&v)) return;
    Bsprite* hud = spriteIn(s_sprites, kHudSprite);
    if (Bsprite* font = fontSprite(kHudFont)) font->SetCurrentPalette(0);
    paintFrame(hud, 0, 6, 30);
    text(count(v.lives), 116, 34);
    BX_RETURN_IF_PENDING();
    if (!s_altPlayerLevel) {
        energy(v.energy);
        if (v.specialShots > 0) {
            icon(hud, 3, 340, 30);
            text(count(v.specialShots), 400, 30);
        } else if (v.meter >= kLowMeter || blinkShown()) {
            paintFrame(hud, 9, 340, 30);
            text(join(Runtime::ldcString(kHudCountLiteral), formatNumber(v.meter, s_language)), 400, 30);
        }
        BX_RETURN_IF_PENDING();
        // The air blinks by its own clock: 150 ms on, 150 ms off.
        if (v.inVehicle && (v.airMs >= kLowAirMs || jt::rem(v.airMs, 300) >= 150))
            drawDigitString(jt::div(jt::add(v.airMs, 999), 1000), 700, 55);
        return;
    }
    energy(v.altHealth);
    paintFrame(hud, 16, 400, 30);
    text(count(v.altValues[0]), 450, 34);
    paintFrame(hud, 17, 566, 30);
    text(count(v.altValues[1]), 616, 34);
    BX_RETURN_IF_PENDING();
    if (s_g) s_g->setColor(kWhite);
    paintFrame(hud, 20, 140, 70);
    racer(hud, v.raceHeightRival, v.raceTop, 19, kWhite);
    racer(hud, v.raceHeightPlayer, v.raceTop, 18, kPlayerTick);
}

void cGame::drawDigitString(jint number, jint x, jint y) {
    Bsprite* font = fontSprite(kDigitFont);
    String* digits = formatNumber(number, s_language);
    if (!font || !digits) return;
    const jint length = digits->length();
    jint pen = jt::sub(x, jt::mul(25, length));
    if (length >= 4) pen = jt::add(pen, 12);
    for (jint i = 0; i < length; ++i) {
        const jchar c = digits->charAt(i);
        if (c == ' ' || c == '.' || c == ',') {
            pen = jt::add(pen, 12);
            continue;
        }
        font->PaintFrame(s_g, c - 46, pen, y, 0, 0, 0);
        pen = jt::add(pen, 25);
    }
}
