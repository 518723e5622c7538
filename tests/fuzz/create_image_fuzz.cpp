// libFuzzer target for Image.createImage(byte[], int, int): the PNG header scan, the size checks
// and the decode into the image's rows. The first two input bytes pick the offset and the length
// cut; the rest is the data. Invariants checked: nothing stays pending, and an image that comes
// back has a header size and a pixel type of 0, 1 or 2 with every row in its array.
#include <cstdint>
#include <cstring>
#include <string>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"

namespace {

ObjectManager* start() {
    if (!Runtime::initHeaps()) __builtin_trap();
    Log::setSink([](LogLevel, const std::string&) {});  // refusals are expected; logging them only slows the run
    return new ObjectManager();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ObjectManager* manager = start();
    (void)manager;
    if (size < 2 || size > 0x40000) return 0;
    const jint n = static_cast<jint>(size - 2);
    ByteArray* bytes = Runtime::newByteArray(n);
    if (!bytes) return 0;
    if (n > 0) std::memcpy(bytes->data, data + 2, static_cast<size_t>(n));
    // Mostly the whole array; sometimes a range that starts late or ends early (or runs past it).
    const jint offset = data[0] < 224 ? 0 : data[0] - 224;
    const jint length = data[1] < 224 ? n - offset : n - offset - 16 + (data[1] - 224);
    using Image = javax_microedition_lcdui_Image;
    Image* image = Image::createImage(bytes, offset, length);
    if (Runtime::getPendingException()) __builtin_trap();
    if (image) {
        if (image->m_pixelType > kPixelARGB4444) __builtin_trap();
        if (image->getWidth() <= 0 || image->getHeight() <= 0) __builtin_trap();
        if (!image->pixels565().pixels) __builtin_trap();
    }
    return 0;
}
