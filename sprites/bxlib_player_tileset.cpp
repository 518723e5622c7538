// The tile-layer engine: up to five grids of tile ids painted with a tileset sprite's frames (or
// modules), scrolled by a pixel origin, drawn tile by tile or through a circular back buffer one tile
// larger than the view, so that scrolling paints only the newly exposed columns and rows.
// Map data comes from packs: a layer narrower or lower than one tile is refused, and a cell outside
// the map or a tile id the sprite does not have is skipped, never read or painted.
//
// Everything is in landscape coordinates, as the sprite painters take them; they turn each module
// onto the portrait screen (X = 480 - H - y, Y = x). A back buffer is therefore held turned too: for a
// landscape buffer of BW x BH it is a BH x BW image whose Graphics is translated by BH - 480, so a
// tile painted at landscape (x, y) of the buffer lands at (BH - H - y, x) of the image, and copies from
// it go to the screen without a turn.
#include <algorithm>

#include "classlib/application.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/jtypes.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

bool BXLibPlayer::s_tilesEnabled;
IntArray* BXLibPlayer::s_tileParams;
ObjectArray* BXLibPlayer::s_layerRecords;
ObjectArray* BXLibPlayer::s_layerPlanes;
ObjectArray* BXLibPlayer::s_layerImages;
ObjectArray* BXLibPlayer::s_layerGraphics;
ObjectArray* BXLibPlayer::s_layerSprites;
jint BXLibPlayer::s_overlayBase = -1;
jint BXLibPlayer::s_overlayLayer = -1;
jint BXLibPlayer::s_overlayMode;

namespace {

using B = BXLibPlayer;
using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

const StaticRefRegistration kTileStatics(CID_BXLibPlayer, &B::s_tileParams, &B::s_layerRecords, &B::s_layerPlanes,
                                         &B::s_layerImages, &B::s_layerGraphics, &B::s_layerSprites);

// The landscape picture is the portrait screen turned: its width is the screen's height.
constexpr jint kPortraitWidth = Bsprite::kScreenWidth;
constexpr jint kLandscapeWidth = Application::kScreenHeight;
constexpr jint kLandscapeHeight = Application::kScreenWidth;

jint viewW() { return B::s_tileParams->get(0); }
jint viewH() { return B::s_tileParams->get(1); }
jint tileW() { return B::s_tileParams->get(2); }
jint tileH() { return B::s_tileParams->get(5); }

// The layer's record, or null before the engine is enabled, for a layer outside 0..4 or one never
// allocated.
IntArray* record(jint layer) {
    if (!B::s_tilesEnabled || layer < 0 || layer >= B::kTileLayers) return nullptr;
    return static_cast<IntArray*>(B::s_layerRecords->get(layer));
}

ByteArray* plane(jint layer, jint i) {
    auto* planes = static_cast<ObjectArray*>(B::s_layerPlanes->get(layer));
    return planes ? static_cast<ByteArray*>(planes->get(i)) : nullptr;
}

jint floorDiv(jint a, jint b) {
    const jint q = jt::div(a, b);
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

jint floorMod(jint a, jint b) {
    return a - floorDiv(a, b) * b;
}

// Whole tiles covering the view plus one more.
jint bufferSize(jint view, jint tile) {
    const jint rest = view % tile;
    return view - rest + tile * (1 + (rest != 0 ? 1 : 0));
}

// The cell's tile id, kEmptyTile when the cell lies outside the map or its plane.
jint tileAt(jint layer, IntArray* rec, jint column, jint row) {
    const jint cols = rec->get(B::kLayerCols), rows = rec->get(B::kLayerRows);
    ByteArray* ids = plane(layer, 0);
    if (!ids || column < 0 || column >= cols || row < 0 || row >= rows) return B::kEmptyTile;
    const jlong at = (static_cast<jlong>(row) * cols + column) * 2;
    if (at + 1 >= ids->length) return B::kEmptyTile;
    const auto i = static_cast<jint>(at);
    return (ids->get(i) & 0xFF) | (ids->get(i + 1) & 0xFF) << 8;
}

jint cellFlagsAt(jint layer, IntArray* rec, jint column, jint row) {
    const jint cols = rec->get(B::kLayerCols), rows = rec->get(B::kLayerRows);
    ByteArray* flags = plane(layer, 1);
    if (!flags || column < 0 || column >= cols || row < 0 || row >= rows) return 0;
    return flags->get(row * cols + column) & 0xFF;
}

// Paints one cell at landscape (x, y): a frame of the tileset sprite when it has frames, else a module.
void paintTile(Graphics* g, Bsprite* sprite, jint id, jint f, jint x, jint y) {
    if (sprite->frameCount > 0) {
        if (id >= sprite->frameCount) return;
        sprite->PaintFrame(g, id, x + ((f & 1) ? tileW() : 0), y + ((f & 2) ? tileH() : 0), f, 0, 0);
    } else if (id < sprite->moduleCount) {
        sprite->PaintModule(g, id, x, y, f);
    }
}

// The portrait rectangle of a landscape one, in a picture whose landscape height is `height`.
struct PortraitRect {
    jint x, y, w, h;
};
PortraitRect turned(jint x, jint y, jint w, jint h, jint height) {
    return {height - y - h, x, h, w};
}

// The new part of the range [first, last] against the old [oldFirst, oldLast] (-1 = none): the
// whole range when they do not overlap, else the part on the side it moved to.
void newPart(jint first, jint last, jint oldFirst, jint oldLast, jint* from, jint* to) {
    if (oldFirst < 0 && oldLast < 0) {
        *from = first, *to = last;
    } else if (last < oldFirst || first > oldLast) {
        *from = first, *to = last;
    } else if (first < oldFirst) {
        *from = first, *to = oldFirst - 1;
    } else {
        *from = oldLast + 1, *to = last;
    }
}

void drawLayer(Graphics* g, jint x, jint y, jint layer) {
    IntArray* rec = record(layer);
    if (!rec || rec->get(B::kLayerShown) != 1 || rec->get(B::kLayerShown2) != 1) return;
    jint clip[4] = {0, 0, 0, 0};
    if (g) clip[0] = g->getClipX(), clip[1] = g->getClipY(), clip[2] = g->getClipWidth(), clip[3] = g->getClipHeight();
    const jint tw = tileW(), th = tileH(), vw = viewW(), vh = viewH();
    jint ox = rec->get(B::kLayerOriginX), oy = rec->get(B::kLayerOriginY);
    const jint c0 = floorDiv(ox, tw), r0 = floorDiv(oy, th);
    const jint flags = rec->get(B::kLayerFlags);
    if (!(flags & B::kTileBuffered)) {
        if (!g) return;
        // Enough columns and rows to cover the view from a non-aligned origin too.
        const jint cols = (ox - c0 * tw + vw + tw - 1) / tw, rows = (oy - r0 * th + vh + th - 1) / th;
        const PortraitRect view = turned(x, y, vw, vh, kPortraitWidth);
        g->clipRect(view.x, view.y, view.w, view.h);
        B::TilesetRefreshBuffer(g, layer, c0, r0, cols - 1, rows - 1, tw * c0 - ox + x, th * r0 - oy + y);
        g->setClip(clip[0], clip[1], clip[2], clip[3]);
        return;
    }
    auto* bufferG = static_cast<Graphics*>(B::s_layerGraphics->get(layer));
    const jint bw = rec->get(B::kLayerBufferW), bh = rec->get(B::kLayerBufferH);
    if (!bufferG || bw <= 0 || bh <= 0) return;
    const jint c1 = c0 + bw / tw - 1, r1 = r0 + bh / th - 1;
    const jint oldC0 = rec->get(B::kLayerFirstCol), oldC1 = rec->get(B::kLayerLastCol);
    const jint oldR0 = rec->get(B::kLayerFirstRow), oldR1 = rec->get(B::kLayerLastRow);
    if (oldC0 != c0 || oldC1 != c1) {
        jint from, to;
        newPart(c0, c1, oldC0, oldC1, &from, &to);
        // Rows that stay buffered; the newly exposed rows are painted whole below.
        const jint keptR0 = std::max(r0, oldR0), keptR1 = std::min(r1, oldR1);
        if (oldR0 >= 0 && keptR0 <= keptR1) {
            B::TilesetRefreshBuffer(bufferG, layer, from, keptR0, to - from, keptR1 - keptR0, 0, 0);
        }
        rec->set(B::kLayerFirstCol, c0);
        rec->set(B::kLayerLastCol, c1);
    }
    if (oldR0 != r0 || oldR1 != r1) {
        jint from, to;
        newPart(r0, r1, oldR0, oldR1, &from, &to);
        B::TilesetRefreshBuffer(bufferG, layer, c0, from, c1 - c0, to - from, 0, 0);
        rec->set(B::kLayerFirstRow, r0);
        rec->set(B::kLayerLastRow, r1);
    }
    if (!g) return;
    bool clamp = false;
    const jint pw = rec->get(B::kLayerPixelW), ph = rec->get(B::kLayerPixelH);
    if (flags & (B::kTileRepeatX | B::kTileClampX)) {
        ox = floorMod(ox, bw);
    } else if (ox < 0) {
        x -= ox, ox = 0, clamp = true;
    } else if (ox > pw - vw) {
        x -= ox - (pw - vw), ox = pw - vw, clamp = true;
    }
    if (flags & (B::kTileRepeatY | B::kTileClampY)) {
        oy = floorMod(oy, bh);
    } else if (oy < 0) {
        y -= oy, oy = 0, clamp = true;
    } else if (oy > ph - vh) {
        y -= oy - (ph - vh), oy = ph - vh, clamp = true;
    }
    const jint sx = floorMod(ox, bw), sy = floorMod(oy, bh);
    const jint ex = floorMod(ox + vw, bw), ey = floorMod(oy + vh, bh);
    if (ex > sx && ey > sy) {
        B::TilesetBlitBuffer(g, layer, sx, sy, vw, vh, x, y, clamp);
    } else if (ex > sx) {
        B::TilesetBlitBuffer(g, layer, sx, sy, vw, vh - ey, x, y, clamp);
        B::TilesetBlitBuffer(g, layer, sx, 0, vw, ey, x, y + vh - ey, clamp);
    } else if (ey > sy) {
        B::TilesetBlitBuffer(g, layer, sx, sy, vw - ex, vh, x, y, clamp);
        B::TilesetBlitBuffer(g, layer, 0, sy, ex, vh, x + vw - ex, y, clamp);
    } else {
        B::TilesetBlitBuffer(g, layer, sx, sy, vw - ex, vh - ey, x, y, clamp);
        B::TilesetBlitBuffer(g, layer, sx, 0, vw - ex, ey, x, y + vh - ey, clamp);
        B::TilesetBlitBuffer(g, layer, 0, sy, ex, vh - ey, x + vw - ex, y, clamp);
        B::TilesetBlitBuffer(g, layer, 0, 0, ex, ey, x + vw - ex, y + vh - ey, clamp);
    }
    g->setClip(clip[0], clip[1], clip[2], clip[3]);
}

}  // namespace

void BXLibPlayer::TilesetInit(jint viewWidth, jint viewHeight, jint tileWidth, jint tileHeight) {
    if (viewWidth < 1 || viewHeight < 1 || tileWidth < 1 || tileHeight < 1) {
        Log::warn("tiles: engine refused (view %dx%d, tiles %dx%d)", viewWidth, viewHeight, tileWidth, tileHeight);
        return;
    }
    s_tilesEnabled = false;
    s_tileParams = Runtime::newIntArray(8);
    s_layerRecords = Runtime::newObjectArray(CID_IntArray, kTileLayers);
    s_layerPlanes = Runtime::newObjectArray(CID_ObjectArray, kTileLayers);
    s_layerImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, kTileLayers);
    s_layerGraphics = Runtime::newObjectArray(CID_javax_microedition_lcdui_Graphics, kTileLayers);
    s_layerSprites = Runtime::newObjectArray(CID_ASprite, kTileLayers);
    if (!s_tileParams || !s_layerRecords || !s_layerPlanes || !s_layerImages || !s_layerGraphics || !s_layerSprites) {
        return;
    }
    s_tileParams->set(0, viewWidth);
    s_tileParams->set(1, viewHeight);
    s_tileParams->set(2, tileWidth);
    s_tileParams->set(5, tileHeight);
    s_tilesEnabled = true;
}

void BXLibPlayer::TilesetAllocLayer(jint layer, bool withBuffer) {
    if (!s_tilesEnabled || layer < 0 || layer >= kTileLayers) return;
    s_layerRecords->set(layer, Runtime::newIntArray(kLayerRecordWords));
    s_layerPlanes->set(layer, Runtime::newObjectArray(CID_ByteArray, 2));
    s_layerSprites->set(layer, nullptr);
    if (withBuffer) {
        s_layerImages->set(layer, nullptr);
        s_layerGraphics->set(layer, nullptr);
    }
}

void BXLibPlayer::TilesetLoadLayer(jint layer, ByteArray* header, ByteArray* tiles, ByteArray* cellFlags,
                                   ASprite* sprite, bool buffered, jint yMode, jint xRepeat, jint yRepeat) {
    TilesetLoadLayerImpl(layer, header, tiles, cellFlags, sprite, buffered ? layer : -1, yMode, xRepeat, yRepeat);
}

void BXLibPlayer::TilesetLoadLayerImpl(jint layer, ByteArray* header, ByteArray* tiles, ByteArray* cellFlags,
                                       ASprite* sprite, jint bufferOwner, jint yMode, jint xRepeat, jint yRepeat) {
    if (!s_tilesEnabled || layer < 0 || layer >= kTileLayers) return;
    TilesetAllocLayer(layer, false);
    IntArray* rec = record(layer);
    auto* planes = static_cast<ObjectArray*>(s_layerPlanes->get(layer));
    BX_RETURN_IF_NULL(rec);
    BX_RETURN_IF_NULL(planes);
    BX_RETURN_IF_NULL(header);
    const jint cols = header->length >= 4 ? jt::i2s((header->get(0) & 0xFF) | (header->get(1) & 0xFF) << 8) : 0;
    const jint rows = header->length >= 4 ? jt::i2s((header->get(2) & 0xFF) | (header->get(3) & 0xFF) << 8) : 0;
    if (cols < 1 || rows < 1) {
        Log::warn("tiles: layer %d refused (%d x %d tiles)", layer, cols, rows);
        return;
    }
    planes->set(0, tiles);
    planes->set(1, cellFlags);
    rec->set(kLayerCols, cols);
    rec->set(kLayerRows, rows);
    rec->set(kLayerPixelW, cols * tileW());
    rec->set(kLayerPixelH, rows * tileH());
    s_layerSprites->set(layer, sprite);
    jint flags = 0;
    if (bufferOwner >= 0 && bufferOwner < kTileLayers) {
        const jint bw = bufferSize(viewW(), tileW()), bh = bufferSize(viewH(), tileH());
        rec->set(kLayerBufferW, bw);
        rec->set(kLayerBufferH, bh);
        if (bufferOwner == layer) {
            auto* image = static_cast<Image*>(s_layerImages->get(layer));
            if (!image || image->getWidth() != bh || image->getHeight() != bw) {
                image = Image::createImage(bh, bw);
                BX_RETURN_IF_NULL(image);
                Graphics* g = image->getGraphics();
                BX_RETURN_IF_NULL(g);
                g->translate(bh - kPortraitWidth, 0);
                s_layerImages->set(layer, image);
                s_layerGraphics->set(layer, g);
            }
        } else {
            s_layerImages->set(layer, s_layerImages->get(bufferOwner));
            s_layerGraphics->set(layer, s_layerGraphics->get(bufferOwner));
        }
        flags |= kTileBuffered;
    }
    rec->set(kLayerFirstCol, -1);
    rec->set(kLayerFirstRow, -1);
    rec->set(kLayerLastCol, -1);
    rec->set(kLayerLastRow, -1);
    rec->set(kLayerOriginX, 0);
    rec->set(kLayerOriginY, 0);
    if (xRepeat == 1) flags |= kTileRepeatX;
    if (xRepeat == 0) flags |= kTileClampX;
    if (yRepeat == 1) flags |= kTileRepeatY;
    if (yRepeat == 0) flags |= kTileClampY;
    if (yMode == 32) flags |= kTileYUp;
    rec->set(kLayerFlags, flags);
    rec->set(kLayerShown, 1);
    rec->set(kLayerShown2, 1);
}

bool BXLibPlayer::TilesetLayerHasFlag(jint layer, jint mask) {
    IntArray* rec = record(layer);
    return rec && (rec->get(kLayerFlags) & mask) != 0;
}

void BXLibPlayer::TilesetLayerSetFlag(jint layer, jint mask, bool on) {
    IntArray* rec = record(layer);
    if (rec) rec->set(kLayerFlags, on ? rec->get(kLayerFlags) | mask : rec->get(kLayerFlags) & ~mask);
}

jint BXLibPlayer::TilesetLayerY(jint layer, jint y) {
    IntArray* rec = record(layer);
    if (!rec || !(rec->get(kLayerFlags) & kTileYUp)) return y;
    return rec->get(kLayerPixelH) - y - viewH();
}

void BXLibPlayer::TilesetSetPosition(jint layer, jint x, jint y) {
    IntArray* rec = record(layer);
    if (!rec) return;
    y = TilesetLayerY(layer, y);
    const jint flags = rec->get(kLayerFlags);
    if (flags & kTileClampX) x = std::min(std::max(x, 0), rec->get(kLayerPixelW) - viewW());
    if (flags & kTileClampY) y = std::min(std::max(y, 0), rec->get(kLayerPixelH) - viewH());
    rec->set(kLayerOriginX, x);
    rec->set(kLayerOriginY, y);
}

jint BXLibPlayer::TilesetGetTile(jint layer, jint column, jint row) {
    IntArray* rec = record(layer);
    return rec ? tileAt(layer, rec, column, TilesetLayerY(layer, row)) : kEmptyTile;
}

jint BXLibPlayer::TilesetGetCellFlags(jint layer, jint column, jint row) {
    IntArray* rec = record(layer);
    return rec ? cellFlagsAt(layer, rec, column, TilesetLayerY(layer, row)) : 0;
}

void BXLibPlayer::TilesetDraw(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint layer) {
    if (!s_tilesEnabled) return;
    if (layer != -1) {
        drawLayer(g, x, y, layer);
        return;
    }
    for (jint i = 0; i < kTileLayers; ++i) {
        if (i != s_overlayLayer) drawLayer(g, x, y, i);
    }
}

void BXLibPlayer::TilesetRefreshBuffer(javax_microedition_lcdui_Graphics* g, jint layer, jint column, jint row,
                                       jint columnsMinusOne, jint rowsMinusOne, jint px, jint py) {
    IntArray* rec = record(layer);
    if (!rec) return;
    auto* sprite = static_cast<Bsprite*>(s_layerSprites->get(layer));
    if (!sprite || rec->get(kLayerCols) < 1 || rec->get(kLayerRows) < 1) return;
    const jint tw = tileW(), th = tileH(), cols = rec->get(kLayerCols), rows = rec->get(kLayerRows);
    const jint flags = rec->get(kLayerFlags);
    const jint bw = rec->get(kLayerBufferW), bh = rec->get(kLayerBufferH);
    const bool inBuffer = (flags & kTileBuffered) && g == s_layerGraphics->get(layer) && bw > 0 && bh > 0;
    jint colCount = columnsMinusOne + 1, rowCount = rowsMinusOne + 1;
    jint x0 = inBuffer ? floorMod(column * tw, bw) : px;
    jint y = inBuffer ? floorMod(row * th, bh) : py;
    auto advance = [&](jint v, jint step, jint size) { return inBuffer && v + step >= size ? 0 : v + step; };
    if (flags & kTileClampX) {
        if (column < 0) {
            colCount += column;
            x0 = inBuffer ? floorMod(x0 - column * tw, bw) : x0 - column * tw;
            column = 0;
        }
        colCount = std::min(colCount, cols - column);
    } else {
        column = floorMod(column, cols);
    }
    if (flags & kTileClampY) {
        if (row < 0) {
            rowCount += row;
            y = inBuffer ? floorMod(y - row * th, bh) : y - row * th;
            row = 0;
        }
        rowCount = std::min(rowCount, rows - row);
    } else {
        row = floorMod(row, rows);
    }
    if (colCount < 1 || rowCount < 1) return;
    for (jint r = 0; r < rowCount; ++r) {
        jint x = x0;
        jint c = column;
        for (jint i = 0; i < colCount; ++i) {
            const jint id = tileAt(layer, rec, c, row);
            if (id != kEmptyTile) paintTile(g, sprite, id, cellFlagsAt(layer, rec, c, row), x, y);
            x = advance(x, tw, bw);
            if (++c >= cols) {
                if (!(flags & kTileRepeatX)) break;
                c = 0;
            }
        }
        y = advance(y, th, bh);
        if (++row >= rows) {
            if (!(flags & kTileRepeatY)) break;
            row = 0;
        }
    }
}

void BXLibPlayer::TilesetBlitBuffer(javax_microedition_lcdui_Graphics* g, jint layer, jint sx, jint sy, jint w, jint h,
                                    jint dx, jint dy, bool clampToScreen) {
    IntArray* rec = record(layer);
    BX_RETURN_IF_NULL(g);
    if (!rec || w < 1 || h < 1) return;
    auto* image = static_cast<Image*>(s_layerImages->get(layer));
    if (!image) return;
    if (clampToScreen && (dx > kLandscapeWidth || dy > kLandscapeHeight || dx + w < 0 || dy + h < 0)) return;
    const PortraitRect to = turned(dx, dy, w, h, kPortraitWidth);
    const PortraitRect from = turned(sx, sy, w, h, rec->get(kLayerBufferH));
    g->setClip(to.x, to.y, to.w, to.h);
    if (clampToScreen) g->clipRect(0, 0, kPortraitWidth, kLandscapeWidth);
    g->drawImage(image, to.x - from.x, to.y - from.y, 0);
}
