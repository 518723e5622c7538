// Through libpng's simplified API: any PNG in, 8-bit RGBA out; 8-bit RGBA written.
#include "tools/png_picture.h"

#include <png.h>

#include "tools/file_bytes.h"

namespace tools {

bool readPngPicture(const std::filesystem::path& path, Picture& picture, std::string& error) {
    std::string bytes;
    if (!readFileBytes(path, bytes, error)) return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        error = path.string() + ": not a PNG: " + image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        error = path.string() + ": cannot decode: " + image.message;
        png_image_free(&image);
        return false;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.argb.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.argb.size(); ++i) {
        const uint8_t* p = &rgba[4 * i];
        picture.argb[i] = static_cast<uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
    return true;
}

bool writePngPicture(const std::filesystem::path& path, const Picture& picture, std::string& error) {
    std::vector<uint8_t> rgba(picture.argb.size() * 4);
    for (size_t i = 0; i < picture.argb.size(); ++i) {
        const uint32_t c = picture.argb[i];
        rgba[4 * i] = static_cast<uint8_t>(c >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(c >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(c);
        rgba[4 * i + 3] = static_cast<uint8_t>(c >> 24);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) {
        error = path.string() + ": cannot write: " + image.message;
        return false;
    }
    return true;
}

}  // namespace tools
