// Helpers of the platform tests: a PNG reader and a window procedure that records what it is sent
// (the log capture and temporary folder come from tests/support/).
#pragma once

#include <png.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/device/host_input.h"
#include "platform/device/host_message.h"
#include "runtime/log.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel
};

// Reads an 8-bit RGB PNG with libpng's simplified API; an empty image when it cannot.
inline RgbImage readRgbPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    RgbImage out;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr)) return {};
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

// Records each message as text ("activate 1", "stylusdown -5,7", "keyup 81") and can run a reaction.
class RecordingProc final : public WindowProc {
public:
    int32_t windowProc(const HostMessage& m) override {
        std::string line = hostMessageName(m.kind);
        switch (m.kind) {
            case HostMessageKind::StylusDown:
            case HostMessageKind::StylusMove:
            case HostMessageKind::StylusUp:
                line += " " + std::to_string(Host::stylusX(m.lParam)) + "," + std::to_string(Host::stylusY(m.lParam));
                break;
            case HostMessageKind::Activate:
            case HostMessageKind::KeyDown:
            case HostMessageKind::KeyUp:
            case HostMessageKind::Quit: line += " " + std::to_string(m.wParam); break;
            default: break;
        }
        log.push_back(line);
        if (react) react(m);
        return 0;
    }
    std::vector<std::string> log;
    std::function<void(const HostMessage&)> react;
};
