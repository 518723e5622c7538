// The polyline a platform actor carries (its record's element 7 indexes the level's tables), read
// with every index checked: a platform whose polyline is missing or malformed has no points.
// Points are 8.8 and relative to the platform's position; world() adds the position.
#pragma once

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"

struct PlatformPolyline {
    IntArray* points = nullptr;
    IntArray* angles = nullptr;
    jint flags = 0;
    jint count = 0;  // points

    [[nodiscard]] static PlatformPolyline of(const cActor* platform) {
        PlatformPolyline p;
        if (!platform || !cGame::s_polyPoints || !cGame::s_polyFlags || !cGame::s_polyAngles) return p;
        const jint index = platform->param(7);
        if (index < 0 || index >= cGame::s_polyCount || index >= cGame::s_polyPoints->length ||
            index >= cGame::s_polyFlags->length || index >= cGame::s_polyAngles->length)
            return p;
        auto* points = static_cast<IntArray*>(cGame::s_polyPoints->get(index));
        auto* angles = static_cast<IntArray*>(cGame::s_polyAngles->get(index));
        if (!points || !angles) return p;
        p.count = points->length / 2;
        if (angles->length < p.count - 1) p.count = angles->length + 1;
        p.points = points;
        p.angles = angles;
        p.flags = cGame::s_polyFlags->get(index);
        return p;
    }

    [[nodiscard]] bool hasSegment(jint k) const { return k >= 0 && k + 1 < count; }
    [[nodiscard]] jint x(jint i) const { return points->get(2 * i); }
    [[nodiscard]] jint y(jint i) const { return points->get(2 * i + 1); }
    [[nodiscard]] jint angle(jint k) const { return angles->get(k); }
};
