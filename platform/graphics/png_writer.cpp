// libpng writer for RGB565 frames. libpng reports errors by longjmp back to writePng565's frame,
// so nothing with a destructor is created after setjmp.
#include "platform/graphics/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "runtime/log.h"

namespace {

void widenRow(const uint16_t* in, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const uint16_t p = in[x];
        const uint8_t r = static_cast<uint8_t>(p >> 11), g = static_cast<uint8_t>((p >> 5) & 0x3F),
                      b = static_cast<uint8_t>(p & 0x1F);
        out[3 * x] = static_cast<uint8_t>((r << 3) | (r >> 2));
        out[3 * x + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
        out[3 * x + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
}

}  // namespace

bool writePng565(const std::string& path, const ConstSurface565& pixels) {
    if (pixels.pixels == nullptr || pixels.width <= 0 || pixels.height <= 0) return false;
    std::vector<uint8_t> row(static_cast<size_t>(pixels.width) * 3);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        Log::error("cannot write %s", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        Log::error("cannot write %s", path.c_str());
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < pixels.height; ++y) {
        widenRow(pixels.row(y), pixels.width, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}
