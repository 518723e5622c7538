// ASprite's start-up step: the plain statics of loading, measuring and text drawing to their first
// values (the reference statics, the cache pools and the line table among them, are start-up roots
// and begin null).
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/asprite.h"

namespace {
const StaticInitRegistration kInit("ASprite::staticInit", &ASprite::staticInit);
}  // namespace

void ASprite::staticInit() {
    s_gcAtLoad = 1;
    s_measuring = 0;
    s_measureMinX = s_measureMinY = 0x7FFFFFFF;
    s_measureMaxX = s_measureMaxY = static_cast<jint>(0x80000000u);
    s_textWidth = s_textHeight = 0;
    s_substringStart = s_substringEnd = -1;
    s_charLimit = -1;
    s_savedPalette = 0;
}

namespace {

const StaticStartValues kStartValues(&ASprite::s_poolOwners, &ASprite::s_poolNext, &ASprite::s_poolSize,
                                     &ASprite::s_poolSprites, &ASprite::s_measuring, &ASprite::s_measureMinX,
                                     &ASprite::s_measureMinY, &ASprite::s_measureMaxX, &ASprite::s_measureMaxY,
                                     &ASprite::s_gcAtLoad, &ASprite::s_rgbPrimary, &ASprite::s_rgbSecondary,
                                     &ASprite::s_textWidth, &ASprite::s_textHeight, &ASprite::s_substringStart,
                                     &ASprite::s_substringEnd, &ASprite::s_charLimit, &ASprite::s_savedPalette,
                                     &ASprite::s_lineTable);

}  // namespace

void ASprite::resetStatics() { kStartValues.restore(); }
