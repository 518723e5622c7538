// IGP: the promotion resource. Index, entries read with a fresh stream each, bounded value readers,
// the stepwise load into the screen's tables and the palette recolouring of the font picture.
#include <zlib.h>

#include <cstring>

#include "classlib/java_io/java_io_input_stream.h"
#include "classlib/java_lang/java_lang_class.h"
#include "classlib/lcdui/javax_microedition_lcdui_command.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "promo/igp.h"
#include "promo/igp_failures.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

using Image = javax_microedition_lcdui_Image;

javax_microedition_midlet_MIDlet* IGP::s_midlet = nullptr;
bool IGP::s_commandMode = false;
javax_microedition_lcdui_Command* IGP::s_okCommand = nullptr;
javax_microedition_lcdui_Command* IGP::s_backCommand = nullptr;
jint IGP::s_language = 0;
jint IGP::s_dataCount = 0;
IntArray* IGP::s_dataOffsets = nullptr;
jint IGP::s_readPos = 0;
ObjectArray* IGP::s_texts = nullptr;
IntArray* IGP::s_textEnds = nullptr;
ObjectArray* IGP::s_fontImages = nullptr;
ByteArray* IGP::s_glyphs = nullptr;
jint IGP::s_lineHeight = 0;
jint IGP::s_lineSpacing = 0;
ObjectArray* IGP::s_fixedImages = nullptr;
ObjectArray* IGP::s_itemImages = nullptr;
Image* IGP::s_languageImage = nullptr;
Image* IGP::s_extraImage = nullptr;
ObjectArray* IGP::s_listImages = nullptr;
jint IGP::s_glyphX = 0;
jint IGP::s_glyphY = 1;
jint IGP::s_glyphW = 2;
jint IGP::s_glyphH = 3;
jint IGP::s_wideGlyphs = 0;

namespace {

const StaticRefRegistration kDataStatics(CID_IGP, &IGP::s_midlet, &IGP::s_okCommand, &IGP::s_backCommand,
                                         &IGP::s_dataOffsets, &IGP::s_texts, &IGP::s_textEnds, &IGP::s_fontImages,
                                         &IGP::s_glyphs, &IGP::s_fixedImages, &IGP::s_itemImages,
                                         &IGP::s_languageImage, &IGP::s_extraImage, &IGP::s_listImages);

constexpr jint kPngChunkType = 4;
constexpr jint kCommandOk = 4;
constexpr jint kCommandBack = 2;
constexpr jint kCommandPriority = 1;
constexpr jint kSpaceCode = 32;
constexpr jint kTallLineHeight = 13;
constexpr jint kFixedListMark = 10;  // the list item's own picture
constexpr jint kFixedLastRow = 11;   // the picture of a list's last row

java_io_InputStream* openResource() {
    java_io_InputStream* in = java_lang_Class::getResourceAsStream(Runtime::ldcString(IGP::kResourceLiteral));
    if (igp::catchException()) return nullptr;
    return in;
}

void closeQuietly(java_io_InputStream* in) {
    if (!in) return;
    in->close();
    (void)igp::catchException();
}

// Skips exactly n bytes; false when the stream ends first.
bool skipFully(java_io_InputStream* in, jlong n) {
    while (n > 0) {
        const jlong skipped = in->skip(n);
        if (Runtime::pending() || skipped <= 0) return false;
        n -= skipped;
    }
    return true;
}

// Fills buf whole; false when the stream ends first (a short stream is the end of the data).
bool readFully(java_io_InputStream* in, ByteArray* buf) {
    jint at = 0;
    while (at < buf->length) {
        const jint n = in->read_3(buf, at, buf->length - at);
        if (Runtime::pending() || n <= 0) return false;
        at += n;
    }
    return true;
}

// The bytes left in buf from the read position, 0 once a read has failed.
jint remaining(ByteArray* buf) {
    if (!buf || IGP::s_readPos < 0 || IGP::s_readPos > buf->length) return 0;
    return buf->length - IGP::s_readPos;
}

// A read that does not fit its entry: the position goes to the end so every later read fails too.
void overrun(ByteArray* buf) {
    igp::noteShortRead();
    IGP::s_readPos = buf ? buf->length : 0;
}

ByteArray* copyOf(ByteArray* src) {
    ByteArray* copy = Runtime::newByteArray(src->length);
    if (copy && src->length > 0) std::memcpy(copy->data, src->data, static_cast<size_t>(src->length));
    return copy;
}

jint rowCount(ObjectArray* rows) { return rows ? rows->length : 0; }

void putImage(ObjectArray* array, jint index, Image* image) {
    if (array && index >= 0 && index < array->length) array->set(index, image);
}

// Each glyph must lie inside the font picture; one that does not is made empty (nothing drawn,
// no advance) instead of reading outside the picture.
void dropGlyphsOutsideFont() {
    ByteArray* glyphs = IGP::s_glyphs;
    if (!glyphs) return;
    Image* font = IGP::s_fontImages ? static_cast<Image*>(IGP::s_fontImages->get(0)) : nullptr;
    const jint fontW = font ? font->getWidth() : 0;
    const jint fontH = font ? font->getHeight() : 0;
    const jint size = 4 + IGP::s_wideGlyphs;
    const jint codes = glyphs->length / size;
    for (jint code = 0; code < codes; ++code) {
        const jint x = IGP::lookupRecordField(code, IGP::s_glyphX);
        const jint y = IGP::lookupRecordField(code, IGP::s_glyphY);
        const jint w = IGP::lookupRecordField(code, IGP::s_glyphW);
        const jint h = IGP::lookupRecordField(code, IGP::s_glyphH);
        if (x + w <= fontW && y + h <= fontH) continue;
        std::memset(static_cast<jbyte*>(glyphs->data) + code * size, 0, static_cast<size_t>(size));
    }
}

void loadTexts() {
    ByteArray* buf = IGP::readEntry(1);
    if (!buf) return;
    for (jint k = 0; k < IGP::s_language; ++k) {
        const jint skip = IGP::readU16(buf);
        if (skip > remaining(buf)) return overrun(buf);
        IGP::s_readPos += skip;
    }
    (void)IGP::readU16(buf);
    const jint size = IGP::readU16(buf);
    if (size > remaining(buf)) return overrun(buf);
    const jint dataAt = IGP::s_readPos;
    IGP::s_readPos += size;
    (void)IGP::readU16(buf);
    const jint count = IGP::readU16(buf);
    if (igp::shortRead() || (count > 0 && (count - 1) * 2 > remaining(buf))) return;
    // Ends as ints, one per text; no texts means an empty table (the last end would go at -1).
    IntArray* ends = Runtime::newIntArray(count);
    ObjectArray* texts = Runtime::newObjectArray(CID_String, count);
    if (!ends || !texts) return;
    IGP::s_textEnds = ends;
    IGP::s_texts = texts;
    for (jint j = 0; j + 1 < count; ++j) ends->set(j, IGP::readU16(buf));
    if (count > 0) ends->set(count - 1, size);
    String* encoding = Runtime::ldcString(IGP::kEncodingLiteral);
    for (jint j = 0; j < count; ++j) {
        const jint begin = j == 0 ? 0 : IGP::s_textEnds->get(j - 1);
        const jint end = IGP::s_textEnds->get(j);
        if (end <= begin || end > size) continue;  // empty, or ends out of order: no text
        auto* text = new String();
        if (!text) return;
        text->initFromBytesEnc(buf, dataAt + begin, end - begin, encoding);
        IGP::s_texts->set(j, text);
    }
    if (IGP::s_commandMode) {
        IGP::s_okCommand = Runtime::make<javax_microedition_lcdui_Command>(IGP::getText(IGP::s_textOkLabel),
                                                                            kCommandOk, kCommandPriority);
        IGP::s_backCommand = Runtime::make<javax_microedition_lcdui_Command>(IGP::getText(IGP::s_textBackLabel),
                                                                              kCommandBack, kCommandPriority);
    }
}

void loadFont() {
    ByteArray* buf = IGP::readEntry(2);
    if (!buf) return;
    ByteArray* copy = copyOf(buf);
    if (!copy) return;
    const jint pngLength = IGP::readU16(buf);
    IGP::s_readPos = 0;
    IGP::s_fontImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, IGP::kFontImageCount);
    if (!IGP::s_fontImages) return;
    putImage(IGP::s_fontImages, 0, IGP::readImage(buf));
    putImage(IGP::s_fontImages, 1, IGP::recolourPng(copy, 2, pngLength, 1, IGP::kHighlightColour));
    putImage(IGP::s_fontImages, 2, IGP::recolourPng(copy, 2, pngLength, 1, IGP::kAlertColour));
    const jint recordBytes = IGP::readU16(buf);
    const jint highest = IGP::readU16(buf);
    const jint size = 4 + IGP::s_wideGlyphs;
    IGP::s_glyphs = Runtime::newByteArray(size * (highest + 1));
    if (!IGP::s_glyphs) return;
    const jint records = recordBytes / (size + 2);
    for (jint r = 0; r < records; ++r) {
        const jint code = IGP::readU16(buf);
        if (size > remaining(buf)) {
            overrun(buf);
            break;
        }
        // A record for a code past the table is dropped: it would land outside it.
        if (code <= highest)
            std::memcpy(static_cast<jbyte*>(IGP::s_glyphs->data) + code * size,
                        static_cast<const jbyte*>(buf->data) + IGP::s_readPos, static_cast<size_t>(size));
        IGP::s_readPos += size;
    }
    dropGlyphsOutsideFont();
    IGP::s_lineHeight = IGP::lookupRecordField(kSpaceCode, IGP::s_glyphH);
    IGP::s_lineSpacing = IGP::s_lineHeight == kTallLineHeight ? 0 : -1;
    IGP::prepareTitleText();
}

void loadImagesInto(ObjectArray* target, jint from, jint count, jint entry) {
    ByteArray* buf = IGP::readEntry(entry);
    for (jint i = 0; i < count; ++i) putImage(target, from + i, IGP::readImage(buf));
}

void loadSpecial() {
    ByteArray* buf = IGP::readEntry(5);
    putImage(IGP::s_itemImages, IGP::s_specialItem, IGP::readImage(buf));
    // The other languages' pictures are passed over by their lengths, never decoded.
    for (jint k = 0; k < IGP::s_language; ++k) {
        const jint n = IGP::readU16(buf);
        if (n > remaining(buf)) return overrun(buf);
        IGP::s_readPos += n;
    }
    IGP::s_languageImage = IGP::readImage(buf);
}

void loadList(jint list) {
    ObjectArray* rows = IGP::s_listImages ? static_cast<ObjectArray*>(IGP::s_listImages->get(list)) : nullptr;
    const jint count = rowCount(rows);
    Image* mark = IGP::s_fixedImages ? static_cast<Image*>(IGP::s_fixedImages->get(kFixedListMark)) : nullptr;
    putImage(IGP::s_itemImages, list == 0 ? IGP::s_listItem0 : IGP::s_listItem1, mark);
    if (count == 0) return;  // no rows: no last row to give its picture
    loadImagesInto(rows, 0, count - 1, 6 + list);
    putImage(rows, count - 1, IGP::s_fixedImages ? static_cast<Image*>(IGP::s_fixedImages->get(kFixedLastRow)) : nullptr);
}

bool languageIs(jint literal) {
    if (!IGP::s_languageCodes || IGP::s_language < 0 || IGP::s_language >= IGP::s_languageCodes->length) return false;
    auto* code = static_cast<String*>(IGP::s_languageCodes->get(IGP::s_language));
    return code && code->equals(Runtime::ldcString(literal));
}

void loadPortal() {
    ByteArray* buf = IGP::readEntry(8);
    putImage(IGP::s_itemImages, IGP::s_portalItem, IGP::readImage(buf));
    if ((languageIs(IGP::kExtraLanguageLiteralA) || languageIs(IGP::kExtraLanguageLiteralB)) && !IGP::s_extraImage)
        IGP::s_extraImage = IGP::readImage(buf);
}

void allocateTables() {
    IGP::s_fixedImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, IGP::kFixedImageCount);
    IGP::s_itemImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, IGP::s_itemCount);
    IGP::s_listImages = Runtime::newObjectArray(CID_ObjectArray, IGP::kListCount);
    for (jint list = 0; list < IGP::kListCount && IGP::s_listImages; ++list) {
        ObjectArray* rows =
            Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, rowCount(IGP::s_listRowNames[list]));
        IGP::s_listImages->set(list, rows);
    }
}

void clearEntries(ObjectArray* array) {
    for (jint i = 0; array && i < array->length; ++i) array->set(i, nullptr);
}

}  // namespace

namespace igp {

namespace {
bool g_shortRead = false;
}  // namespace

bool catchException() {
    Object* e = Runtime::getPendingException();
    if (!e || !Runtime::instanceOf(e, CID_java_lang_Exception)) return false;
    Runtime::clearPendingException();
    return true;
}

void noteShortRead() { g_shortRead = true; }
bool shortRead() { return g_shortRead; }
void clearShortRead() { g_shortRead = false; }

}  // namespace igp

bool IGP::openData() {
    closeData();
    java_io_InputStream* in = openResource();
    if (!in) return false;
    jint bytes[4] = {};
    auto readBytesInto = [&](jint n) {
        for (jint i = 0; i < n; ++i) {
            bytes[i] = in->read();
            if (Runtime::pending() || bytes[i] < 0) return false;
        }
        return true;
    };
    bool ok = readBytesInto(2);
    const jint count = bytes[0] + (bytes[1] << 8);
    IntArray* offsets = ok && count > 0 ? Runtime::newIntArray(count) : nullptr;
    ok = ok && offsets;
    // Offsets are relative to the end of the index and never go back: an entry is [offset i,
    // offset i + 1). An offset past what an int holds counts as malformed.
    const jlong indexEnd = 2 + 4 * static_cast<jlong>(count);
    for (jint i = 0; ok && i < count; ++i) {
        ok = readBytesInto(4);
        if (!ok) break;
        const jlong offset = bytes[0] + (bytes[1] << 8) + (bytes[2] << 16) + (static_cast<jlong>(bytes[3]) << 24);
        ok = offset + indexEnd <= INT32_MAX && (i == 0 || offset >= offsets->get(i - 1));
        if (ok) offsets->set(i, static_cast<jint>(offset));
    }
    (void)igp::catchException();
    closeQuietly(in);
    if (!ok || Runtime::pending()) return false;
    s_dataOffsets = offsets;
    s_dataCount = count;
    return true;
}

void IGP::closeData() {
    s_dataCount = 0;
    s_dataOffsets = nullptr;
    java_lang_System::gc();
}

ByteArray* IGP::readEntry(jint i) {
    if (!s_dataOffsets || i < 0 || i >= s_dataCount - 1) return nullptr;
    const jint begin = s_dataOffsets->get(i);
    const jint length = s_dataOffsets->get(i + 1) - begin;
    if (length <= 0) return nullptr;
    java_io_InputStream* in = openResource();
    if (!in) return nullptr;
    ByteArray* buf = nullptr;
    if (skipFully(in, begin + 4 * static_cast<jlong>(s_dataCount) + 2)) {
        buf = Runtime::newByteArray(length);
        // An entry cut short by the end of the resource is no entry: its tail would read as zeros.
        if (buf && !readFully(in, buf)) buf = nullptr;
    }
    (void)igp::catchException();
    closeQuietly(in);
    return buf;
}

jint IGP::readU16(ByteArray* buf) {
    if (remaining(buf) < 2) {
        overrun(buf);
        return 0;
    }
    const auto* p = static_cast<const uint8_t*>(buf->data) + s_readPos;
    s_readPos += 2;
    return p[0] | (p[1] << 8);
}

ByteArray* IGP::readBytes(ByteArray* buf) {
    const jint n = readU16(buf);
    if (n > remaining(buf)) {
        overrun(buf);
        return nullptr;
    }
    ByteArray* out = Runtime::newByteArray(n);
    if (out && n > 0) std::memcpy(out->data, static_cast<const jbyte*>(buf->data) + s_readPos, static_cast<size_t>(n));
    s_readPos += n;
    return out;
}

Image* IGP::readImage(ByteArray* buf) {
    const jint n = readU16(buf);
    if (n > remaining(buf)) {
        overrun(buf);
        return nullptr;
    }
    const jint at = s_readPos;
    s_readPos += n;
    if (n == 0) return nullptr;
    Image* image = Image::createImageFromBytes(buf, at, n);
    if (igp::catchException()) return nullptr;
    return image;
}

ObjectArray* IGP::readStringArray(ByteArray* buf) {
    const jint count = readU16(buf);
    // Each string takes at least its two length bytes.
    if (count * 2 > remaining(buf)) {
        overrun(buf);
        return nullptr;
    }
    ObjectArray* strings = Runtime::newObjectArray(CID_String, count);
    if (!strings) return nullptr;
    for (jint i = 0; i < count; ++i) {
        const jint n = readU16(buf);
        if (n > remaining(buf)) {
            overrun(buf);
            return nullptr;
        }
        auto* s = new String();
        if (!s) return nullptr;
        s->initFromBytes(buf, s_readPos, n);
        strings->set(i, s);
        s_readPos += n;
    }
    return strings;
}

String* IGP::getText(jint i) {
    String* text = s_texts && i >= 0 && i < s_texts->length ? static_cast<String*>(s_texts->get(i)) : nullptr;
    auto* copy = new String();
    if (!copy) return nullptr;
    // A missing text is the empty text, never the word the platform makes of null.
    if (text) copy->initCopy(text);
    else copy->initEmpty();
    return copy;
}

Image* IGP::recolourPng(ByteArray* bytes, jint offset, jint length, jint index, jint rgb) {
    if (!bytes || offset < 0 || length < 0 || length > bytes->length - offset || index < 0) return nullptr;
    auto* data = static_cast<uint8_t*>(bytes->data);
    const jint end = offset + length;
    jint p = -1;
    for (jint at = offset + 4; at + kPngChunkType <= end; ++at) {
        if (std::memcmp(data + at, "PLTE", kPngChunkType) == 0) {
            p = at;
            break;
        }
    }
    if (p < 0) return nullptr;
    const uint32_t chunkLength = (uint32_t{data[p - 4]} << 24) | (uint32_t{data[p - 3]} << 16) |
                                 (uint32_t{data[p - 2]} << 8) | data[p - 1];
    // The entry, the chunk's data and its CRC must lie inside the picture's bytes.
    if (static_cast<int64_t>(chunkLength) > static_cast<int64_t>(end) - p - 8 ||
        3 * static_cast<int64_t>(index) + 3 > chunkLength)
        return nullptr;
    data[p + 4 + 3 * index] = static_cast<uint8_t>(rgb >> 16);
    data[p + 5 + 3 * index] = static_cast<uint8_t>(rgb >> 8);
    data[p + 6 + 3 * index] = static_cast<uint8_t>(rgb);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), data + p, chunkLength + 4);
    uint8_t* at = data + p + 4 + chunkLength;
    at[0] = static_cast<uint8_t>(crc >> 24);
    at[1] = static_cast<uint8_t>(crc >> 16);
    at[2] = static_cast<uint8_t>(crc >> 8);
    at[3] = static_cast<uint8_t>(crc);
    java_lang_System::gc();
    Image* image = Image::createImageFromBytes(bytes, offset, length);
    if (igp::catchException()) return nullptr;
    return image;
}

jint IGP::lookupRecordField(jint code, jint field) {
    const jint size = 4 + s_wideGlyphs;
    if (!s_glyphs || code < 0 || field < 0 || field >= size || code >= s_glyphs->length / size) return 0;
    const auto* p = static_cast<const uint8_t*>(s_glyphs->data) + code * size + field;
    if (s_wideGlyphs != 0 && (field == s_glyphX || field == s_glyphY)) return p[0] | (p[1] << 8);
    return p[0];
}

void IGP::loadStep(jint step) {
    s_readPos = 0;
    igp::clearShortRead();
    switch (step) {
    case -1: return allocateTables();
    case 0: (void)openData(); return;
    case 1: return loadTexts();
    case 2: return loadFont();
    case 3: return loadImagesInto(s_fixedImages, 0, kFixedImageCount, 3);
    case 4: return loadImagesInto(s_itemImages, 0, s_gameCount, 4);
    case 5: return loadSpecial();
    case 6:
    case 7: return loadList(step - 6);
    case 8: return loadPortal();
    default: break;
    }
    if (step == s_optionalItemStep) {
        ByteArray* buf = readEntry(step);
        putImage(s_itemImages, s_optionalItem, readImage(buf));
    } else if (step == s_closingStep) {
        closeData();
    }
}

jint IGP::loadStepCount() {
    const jint byItems = s_itemCount + 4;
    return byItems > s_closingStep + 1 ? byItems : s_closingStep + 1;
}

void IGP::freeImages(bool all) {
    java_lang_System::gc();
    for (jint list = 0; s_listImages && list < s_listImages->length; ++list)
        clearEntries(static_cast<ObjectArray*>(s_listImages->get(list)));
    clearEntries(s_itemImages);
    s_languageImage = nullptr;
    s_extraImage = nullptr;
    if (all) {
        s_dataCount = 0;
        s_dataOffsets = nullptr;
        s_glyphs = nullptr;
        s_fontImages = nullptr;
        clearEntries(s_fixedImages);
        s_fixedImages = nullptr;
        s_texts = nullptr;
        s_textEnds = nullptr;
        s_itemImages = nullptr;
        s_listImages = nullptr;
    }
    java_lang_System::gc();
}
