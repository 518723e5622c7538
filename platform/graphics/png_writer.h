// Writes RGB565 pixels as an 8-bit RGB PNG (screenshots and frame capture).
// Invariant: each 5/6-bit channel widens by repeating its top bits, so white stays 255.
#pragma once

#include <string>

#include "platform/graphics/surface.h"

[[nodiscard]] bool writePng565(const std::string& path, const ConstSurface565& pixels);
