// Run forms pick the shortest record the decoder accepts: a run record from three equal pixels on,
// literals otherwise; no record ever writes zero pixels.
#include "tools/sprite_pixel_encoder.h"

#include <algorithm>

#include "platform/graphics/sprite_pixels.h"

namespace tools {

namespace {

std::string packBits(const std::vector<uint8_t>& indices, int bits) {
    std::string out;
    const int perByte = 8 / bits;
    for (size_t i = 0; i < indices.size(); i += perByte) {
        int b = 0;
        for (int k = 0; k < perByte; ++k) {
            const int v = i + k < indices.size() ? indices[i + k] : 0;
            b |= v << (8 - bits * (k + 1));
        }
        out += static_cast<char>(b);
    }
    return out;
}

// Length of the run of equal values starting at i, at most `limit`.
size_t runAt(const std::vector<uint8_t>& v, size_t i, size_t limit) {
    size_t n = 1;
    while (i + n < v.size() && n < limit && v[i + n] == v[i]) ++n;
    return n;
}

std::string runMasked(const std::vector<uint8_t>& indices, int indexBits) {
    std::string out;
    const size_t maxRun = indexBits >= 8 ? 1 : (255u >> indexBits) + 1;
    for (size_t i = 0; i < indices.size();) {
        const size_t n = runAt(indices, i, maxRun);
        out += static_cast<char>(indices[i] | (n - 1) << indexBits);
        i += n;
    }
    return out;
}

std::string runShort(const std::vector<uint8_t>& indices) {
    std::string out;
    for (size_t i = 0; i < indices.size();) {
        const size_t n = runAt(indices, i, 127);
        if (n == 1 && indices[i] < 128) {
            out += static_cast<char>(indices[i]);
        } else {
            out += static_cast<char>(128 + n);
            out += static_cast<char>(indices[i]);
        }
        i += n;
    }
    return out;
}

std::string runLiteral(const std::vector<uint8_t>& indices) {
    std::string out;
    std::string literals;
    const auto flush = [&] {
        if (literals.empty()) return;
        out += static_cast<char>(128 + literals.size());
        out += literals;
        literals.clear();
    };
    for (size_t i = 0; i < indices.size();) {
        const size_t n = runAt(indices, i, 127);
        if (n >= 3) {
            flush();
            out += static_cast<char>(n);
            out += static_cast<char>(indices[i]);
        } else {
            for (size_t k = 0; k < n; ++k) {
                literals += static_cast<char>(indices[i + k]);
                if (literals.size() == 127) flush();
            }
        }
        i += n;
    }
    flush();
    return out;
}

// 254 introduces a run {254, count, value}; any other byte is one pixel's alpha.
std::string alphaStream(const std::vector<uint8_t>& alpha) {
    std::string out;
    for (size_t i = 0; i < alpha.size();) {
        const size_t n = runAt(alpha, i, 255);
        if (n >= 3 || alpha[i] == 254) {
            out += static_cast<char>(254);
            out += static_cast<char>(n);
            out += static_cast<char>(alpha[i]);
        } else {
            out.append(n, static_cast<char>(alpha[i]));
        }
        i += n;
    }
    return out;
}

}  // namespace

std::string encodeModulePixels(int pixelFormat, const std::vector<uint8_t>& indices,
                               const std::vector<uint8_t>& alpha, int indexBits) {
    switch (pixelFormat) {
        case gfx::kPixels1Bit: return packBits(indices, 1);
        case gfx::kPixels2Bit: return packBits(indices, 2);
        case gfx::kPixels4Bit: return packBits(indices, 4);
        case gfx::kPixelsRunMasked: return runMasked(indices, indexBits);
        case gfx::kPixelsRunShort: return runShort(indices);
        case gfx::kPixelsRunLiteral: return runLiteral(indices);
        case gfx::kPixelsRunAlpha: return runLiteral(indices) + alphaStream(alpha);
        default: return {};
    }
}

}  // namespace tools
