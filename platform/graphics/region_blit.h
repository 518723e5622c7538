// Where drawRegion's pixels go: the eight transforms, the anchor, the clip cut from the source
// region by the transform's flags, and the destination's first pixel and steps.
// Invariant: a plan that is not empty names only destination pixels inside the clip and only source
// pixels inside the requested region.
#pragma once

#include <cstdint>

#include "platform/graphics/blit.h"
#include "platform/graphics/rect.h"

// Transform flags by transform 0..7 (NONE, MIRROR_ROT180, MIRROR, ROT180, MIRROR_ROT270, ROT90,
// ROT270, MIRROR_ROT90).
enum TransformFlag : uint8_t { kMirrorX = 1, kMirrorY = 2, kSwapAxes = 4 };
[[nodiscard]] uint8_t transformFlags(int transform);
// The transform that, drawn over a picture already turned by `applied`, gives the picture drawn
// with `wanted` (both 0..7): a cache kept turned is drawn with transformAfter(wanted, turn).
[[nodiscard]] int transformAfter(int wanted, int applied);

struct RegionBlit {
    int xSrc = 0, ySrc = 0;     // first source pixel of the clipped region
    BlitSteps steps;             // width, height: the clipped source size
    int64_t destination = 0;     // element index of the first destination pixel
    [[nodiscard]] bool empty() const { return steps.width < 1 || steps.height < 1; }
};

// The region (xSrc, ySrc, width, height) of a source with `sourcePitch` pixels per row, drawn with
// `transform` (0..7) at (x, y) (translated, before the anchor) into a target of `targetPitch`
// pixels per row clipped to `clip`. Anchor: HCENTER takes half the destination width, else RIGHT
// all of it; VCENTER half the height, else BOTTOM all of it; anything else is the top-left.
[[nodiscard]] RegionBlit planRegionBlit(const Rect& clip, int64_t x, int64_t y, int xSrc, int ySrc, int width,
                                        int height, int transform, int anchor, ptrdiff_t sourcePitch,
                                        ptrdiff_t targetPitch);
