// The pack reader: the current pack's header and sub-file tables, the forward-only stream with its
// position, and items located by skipping. Invariant: s_packPos counts exactly the bytes the current
// stream has delivered; after anything that leaves it unsure (a short read) the stream is closed, so
// the next locate reopens the sub-file from its start.
#include "sprites/cgame_packs.h"

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_lang/java_lang_class.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"
#include "sprites/checked_stream_reader.h"
#include "sprites/pack_exceptions.h"

String* cGamePacks::s_packName;
java_io_InputStream* cGamePacks::s_packStream;
jint cGamePacks::s_packPos;
jint cGamePacks::s_packItemCount;
jshort cGamePacks::s_packSubFileCount;
ShortArray* cGamePacks::s_packFirstItems;
jint cGamePacks::s_packSubFile;
IntArray* cGamePacks::s_packOffsets;
jshort cGamePacks::s_packItemKind;
jint cGamePacks::s_packCompressed;
ByteArray* cGamePacks::s_packSkipBuffer;
jint cGamePacks::s_streamCount;
ObjectArray* cGamePacks::s_byteArrays;
String* cGamePacks::s_encoding;
ByteArray* cGamePacks::s_lzmaResult;
Object* cGamePacks::s_bootTableA;
Object* cGamePacks::s_bootTableB;

namespace {

const StaticRefRegistration kPackStatics(CID_cGame, &cGamePacks::s_packName, &cGamePacks::s_packStream,
                                         &cGamePacks::s_packFirstItems, &cGamePacks::s_packOffsets,
                                         &cGamePacks::s_packSkipBuffer, &cGamePacks::s_byteArrays,
                                         &cGamePacks::s_encoding, &cGamePacks::s_lzmaResult,
                                         &cGamePacks::s_bootTableA, &cGamePacks::s_bootTableB);

constexpr jint kSkipPiece = 256;

// Little-endian u16 / u32 at byte i of a buffer that has them.
jint u16At(ByteArray* b, jint i) { return (b->get(i) & 0xFF) | (b->get(i + 1) & 0xFF) << 8; }
jint s32At(ByteArray* b, jint i) { return u16At(b, i) | jt::shl(u16At(b, i + 2), 16); }

// Items in sub-file k: up to the next sub-file's first item, or to the pack's end for the last one.
jint itemsInSubFile(jint k) {
    const jint first = cGamePacks::s_packFirstItems->get(k);
    const jint next = k + 1 < cGamePacks::s_packSubFileCount ? cGamePacks::s_packFirstItems->get(k + 1)
                                                             : cGamePacks::s_packItemCount;
    return next - first;
}

// The resource holding sub-file k: the pack name itself for 0, else name + separator + k.
String* subFileName(jint k) {
    String* name = cGamePacks::s_packName;
    if (!name || k == 0) return name;
    String* withSeparator = name->concat(Runtime::ldcString(cGamePacks::kSubFileSeparatorLiteral));
    if (!withSeparator) return nullptr;
    return withSeparator->concat(String::valueOfInt(k));
}

// Forgets the header and tables, so that nothing of an earlier pack is used for this one.
void forgetTables() {
    cGamePacks::s_packItemCount = 0;
    cGamePacks::s_packSubFileCount = 0;
    cGamePacks::s_packFirstItems = nullptr;
    cGamePacks::s_packOffsets = nullptr;
    cGamePacks::s_packSubFile = 0;
}

// N, K and K first items. K is at least 1, the first items start at 0, ascend and stay within N.
bool readPackHeader() {
    ByteArray* head = Runtime::newByteArray(4);
    if (!head || cGamePacks::packReadBytes(head, 0, 4) != 4) return false;
    const jint count = u16At(head, 0);
    const jshort subFiles = static_cast<jshort>(u16At(head, 2));
    if (subFiles < 1) {
        Log::printf(LogLevel::Warn, "pack: %d sub-files", subFiles);
        return false;
    }
    ByteArray* table = Runtime::newByteArray(subFiles * 2);
    ShortArray* first = Runtime::newShortArray(subFiles);
    if (!table || !first || cGamePacks::packReadBytes(table, 0, subFiles * 2) != subFiles * 2) return false;
    for (jint k = 0; k < subFiles; ++k) {
        const jint value = static_cast<jshort>(u16At(table, 2 * k));
        const jint previous = k == 0 ? 0 : first->get(k - 1);
        if ((k == 0 && value != 0) || value < previous || value > count) {
            Log::printf(LogLevel::Warn, "pack: sub-file %d starts at item %d", k, value);
            return false;
        }
        first->set(k, static_cast<jshort>(value));
    }
    cGamePacks::s_packItemCount = count;
    cGamePacks::s_packSubFileCount = subFiles;
    cGamePacks::s_packFirstItems = first;
    return true;
}

// Opens sub-file k > 0 of the remembered pack as the current stream.
void openSubFile(jint k) {
    cGamePacks::packClose();
    cGamePacks::s_packStream = cGamePacks::packOpenStream(subFileName(k));
}

// Reads the located item's payload of `size` bytes; null when it fails (the stream is then closed,
// its position no longer being known).
ByteArray* readLocatedData(jint size) {
    ByteArray* data = nullptr;
    if (cGamePacks::s_packCompressed) {
        cGamePacks::lzmaDecode(cGamePacks::s_packStream, size);
        data = cGamePacks::s_lzmaResult;
        cGamePacks::s_lzmaResult = nullptr;
        cGamePacks::s_packPos += size;
    } else {
        data = Runtime::newByteArray(size);
        if (data && cGamePacks::packReadBytes(data, 0, size) != size) data = nullptr;
    }
    if (!data) cGamePacks::packClose();
    return data;
}

}  // namespace

void cGamePacks::packClose() {
    if (s_packStream) {
        s_packStream->close();
        (void)packs::callRaised();
    }
    s_packStream = nullptr;
    s_packPos = 0;
}

jint cGamePacks::packReadByte() {
    s_packPos += 1;
    BX_RETURN_IF_NULL(s_packStream, -1);
    const jint b = s_packStream->read();
    if (packs::callRaised()) return 0;
    return b;
}

jint cGamePacks::packReadBytes(ByteArray* buf, jint off, jint len) {
    BX_RETURN_IF_NULL(s_packStream, 0);
    const jint arrived = packs::readUntilEnd(s_packStream, buf, off, len);
    (void)packs::callRaised();
    s_packPos += arrived;
    return arrived;
}

jint cGamePacks::packSkip(jint n) {
    if (n <= 0) return 0;
    if (!s_packSkipBuffer) s_packSkipBuffer = Runtime::newByteArray(kSkipPiece);
    BX_RETURN_IF_NULL(s_packSkipBuffer, 0);
    jint skipped = 0;
    while (skipped < n) {
        const jint piece = n - skipped > kSkipPiece ? kSkipPiece : n - skipped;
        const jint got = packReadBytes(s_packSkipBuffer, 0, piece);
        skipped += got;
        if (got < piece) break;
    }
    return skipped;
}

java_io_InputStream* cGamePacks::packOpenStream(String* name) {
    return java_lang_Class::getResourceAsStream(name);
}

bool cGamePacks::packSeek(jint off) {
    if (off == s_packPos) return s_packStream != nullptr;
    if (off < s_packPos) {
        packClose();
        s_packStream = packOpenStream(subFileName(s_packSubFile));
        if (!s_packStream) return false;
    }
    const jint wanted = off - s_packPos;
    if (packSkip(wanted) == wanted) return true;
    packClose();
    return false;
}

void cGamePacks::packOpen(String* name) {
    if (s_packName && s_packName->equals(name)) return;
    packClose();
    forgetTables();
    s_packName = name;
    s_packStream = packOpenStream(name);
    if (!s_packStream) return;
    if (!readPackHeader()) {
        forgetTables();
        packClose();
        return;
    }
    s_packSubFile = 0;
    packReadOffsets();
}

void cGamePacks::packReadOffsets() {
    s_packOffsets = nullptr;
    if (!s_packFirstItems || !s_packStream) return;
    const jint entries = itemsInSubFile(s_packSubFile) + 1;
    ByteArray* raw = Runtime::newByteArray(entries * 4);
    IntArray* offsets = Runtime::newIntArray(entries);
    if (!raw || !offsets || packReadBytes(raw, 0, entries * 4) != entries * 4) {
        packClose();
        return;
    }
    // Offsets count from the sub-file's start: items lie after the table, in order, inside the
    // resource (archive entries and files know what is left of them).
    const jint remaining = s_packStream->available();
    if (packs::callRaised()) return packClose();
    const jlong end = static_cast<jlong>(s_packPos) + remaining;
    for (jint j = 0; j < entries; ++j) {
        const jint value = s32At(raw, 4 * j);
        const jint previous = j == 0 ? s_packPos : offsets->get(j - 1);
        if (value < previous || value > end) {
            Log::printf(LogLevel::Warn, "pack: sub-file %d, offset %d is %d", s_packSubFile, j, value);
            return packClose();
        }
        offsets->set(j, value);
    }
    s_packOffsets = offsets;
}

jint cGamePacks::packLocate(jint item) {
    if (!s_packFirstItems || item < 0 || item >= s_packItemCount) return -1;
    jint k = s_packSubFileCount - 1;
    while (k > 0 && s_packFirstItems->get(k) > item) --k;

    if (k != s_packSubFile || !s_packStream) {
        const bool sameTable = k == s_packSubFile && s_packOffsets;
        s_packSubFile = k;
        if (k == 0) {
            String* name = s_packName;
            s_packName = nullptr;
            packOpen(name);
        } else {
            openSubFile(k);
            if (!sameTable) packReadOffsets();
        }
    }
    // A reopened header may have changed under us; only a table that holds the item is used.
    if (!s_packFirstItems || item >= s_packItemCount || !s_packOffsets || !s_packStream) return -1;
    const jint j = item - s_packFirstItems->get(k);
    if (j < 0 || j + 1 >= s_packOffsets->length) return -1;
    const jint start = s_packOffsets->get(j);
    const jint size = s_packOffsets->get(j + 1) - start;
    if (!packSeek(start)) return -1;
    s_packCompressed = 0;
    if (size < 1) return size;
    const jint b = packReadByte();
    if (b < 0) {
        packClose();
        return -1;
    }
    s_packItemKind = static_cast<jshort>(b & 0xFF);
    if (s_packItemKind > 126) {
        s_packItemKind = static_cast<jshort>(s_packItemKind - 127);
        s_packCompressed = 1;
    }
    return size - 1;
}

ByteArray* cGamePacks::packReadData(jint item) {
    const jint size = packLocate(item);
    if (size < 0) return nullptr;
    return readLocatedData(size);
}

Object* cGamePacks::packReadStream(jint item) {
    const jint size = packLocate(item);
    // An empty item holds no array: reading one would take the next item's bytes.
    if (size < 1) return nullptr;
    s_streamCount = 0;
    if (s_packCompressed) {
        ByteArray* data = readLocatedData(size);
        if (!data) return nullptr;
        return readNestedArray(java_io_ByteArrayInputStream::over(data));
    }
    Object* result = readNestedArray(s_packStream);
    s_packPos += s_streamCount;
    if (result && s_streamCount > size) {
        Log::printf(LogLevel::Warn, "pack: item %d's array runs %d bytes past the item", item, s_streamCount - size);
        result = nullptr;
    }
    if (!result) packClose();
    return result;
}

void cGamePacks::packOpenAndLoadTwo(String* pack, jint a, jint b) {
    packOpen(pack);
    s_bootTableA = a < 0 ? nullptr : packReadStream(a);
    s_bootTableB = b < 0 ? nullptr : packReadStream(b);
    packClose();
}

void cGamePacks::packLoadText(String* pack, jint item) {
    textUnload();
    packOpen(pack);
    const jint size = packLocate(item);
    if (size >= 0) {
        if (s_packCompressed) {
            ByteArray* data = readLocatedData(size);
            if (data) (void)textLoad(java_io_ByteArrayInputStream::over(data));
        } else {
            (void)textLoad(s_packStream);
        }
    }
    packClose();
    if (Runtime::pending()) return;
    cacheAllTexts();
}

namespace {

const StaticStartValues kStartValues(&cGamePacks::s_loadingPicture, &cGamePacks::s_loadingPlayer,
                                     &cGamePacks::s_interfaceSprite2, &cGamePacks::s_menuSprite,
                                     &cGamePacks::s_transitionPlayer, &cGamePacks::s_arrowUpPlayer,
                                     &cGamePacks::s_arrowDownPlayer, &cGamePacks::s_sprites, &cGamePacks::s_tileW,
                                     &cGamePacks::s_tileH, &cGamePacks::s_tileW2, &cGamePacks::s_tileH2,
                                     &cGamePacks::s_tileArea2, &cGamePacks::s_tilePixels, &cGamePacks::s_packName,
                                     &cGamePacks::s_packStream, &cGamePacks::s_packPos, &cGamePacks::s_packItemCount,
                                     &cGamePacks::s_packSubFileCount, &cGamePacks::s_packFirstItems,
                                     &cGamePacks::s_packSubFile, &cGamePacks::s_packOffsets,
                                     &cGamePacks::s_packItemKind, &cGamePacks::s_packCompressed,
                                     &cGamePacks::s_packSkipBuffer, &cGamePacks::s_streamCount,
                                     &cGamePacks::s_byteArrays, &cGamePacks::s_encoding, &cGamePacks::s_lzmaResult,
                                     &cGamePacks::s_paused, &cGamePacks::s_textCount, &cGamePacks::s_textOffsets,
                                     &cGamePacks::s_textBytes, &cGamePacks::s_textCache);

}  // namespace

void cGamePacks::resetStatics() { kStartValues.restore(); }
