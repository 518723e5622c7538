// The phone's key table and stylus packing; see host_input.h.
// Invariant: every virtual key outside the table passes unchanged.
#include "platform/device/host_input.h"

#include <algorithm>
#include <cmath>

#include "runtime/jtypes.h"

namespace Host {

int32_t mapVirtualKey(int32_t vk) {
    if (vk < 13 || vk > 120) return vk;
    if (vk == 13 || (vk >= 37 && vk <= 40) || (vk >= '0' && vk <= '9')) return kUnmappedKey;
    switch (vk) {
        case 'Q': return '1';
        case 'W': return '2';
        case 'E': return '3';
        case 'A': return '4';
        case 'J': return '5';
        case 'D': return '6';
        case 'Z': return '7';
        case 'S': return '8';
        case 'C': return '9';
        case 'K': return '0';
        case 112: return -6;   // F1: left soft key
        case 113: return -7;   // F2: right soft key
        case 119: return '*';  // F8
        case 120: return '#';  // F9
        default: return vk;
    }
}

bool isSystemKey(int32_t code) {
    return code == 92 || code == 91 || code == 115 || code == 27 || code == 36 || code == 114;
}

int32_t virtualKeyOf(int32_t wParam, int32_t imeKey) { return wParam == kProcessKey ? imeKey : wParam & 0xFF; }

int32_t makeStylusParam(int32_t x, int32_t y) {
    const auto half = [](int32_t v) { return static_cast<uint32_t>(static_cast<uint16_t>(std::clamp(v, -32768, 32767))); };
    return static_cast<int32_t>(half(x) | (half(y) << 16));
}

int32_t stylusX(int32_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
int32_t stylusY(int32_t lParam) { return static_cast<int16_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFF); }

void scaleStylusPoint(int32_t& x, int32_t& y, float scaleX, float scaleY) {
    const auto scale = [](int32_t v, float s) {
        const float product = static_cast<float>(v) * s;
        return jt::d2i(std::floor(static_cast<double>(product) + 0.5));
    };
    if (scaleX != 1.0f) x = scale(x, scaleX);
    if (scaleY != 1.0f) y = scale(y, scaleY);
}

}  // namespace Host
