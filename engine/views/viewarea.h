#pragma once
// Where an image lies when a view shows it whole: fitted keeping its aspect
// ratio, centred with integer division, the edges clamped into the view.
// Shared by the comparison, crop, texture and geometry views.

#include "engine/core/settings.h"

#include <cstdint>

namespace mp_views {

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

// The image area of an imageW x imageH picture in a viewW x viewH view; an
// empty area when a side of either is not positive.
inline Area fitArea(int viewW, int viewH, int imageW, int imageH)
{
    Area a;
    if (viewW <= 0 || viewH <= 0 || imageW <= 0 || imageH <= 0)
        return a;
    const int fw = static_cast<int>(static_cast<float>(viewH) * static_cast<float>(imageW) / static_cast<float>(imageH));
    if (fw > viewW) {
        const int fh =
            static_cast<int>(static_cast<float>(imageH) * static_cast<float>(viewW) / static_cast<float>(imageW));
        a.top = (viewH - fh) / 2;
        a.bottom = a.top + fh;
        a.right = viewW;
    } else {
        a.left = (viewW - fw) / 2;
        a.right = a.left + fw;
        a.bottom = viewH;
    }
    auto clamp = [](int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
    a.left = clamp(a.left, viewW);
    a.right = clamp(a.right, viewW);
    a.top = clamp(a.top, viewH);
    a.bottom = clamp(a.bottom, viewH);
    return a;
}

// The style's background colour as an opaque view pixel.
inline uint32_t backgroundPixel()
{
    return (static_cast<uint32_t>(MP_UI_GetBackgroundColor()) & 0xFFFFFFu) | 0xFF000000u;
}

// Fills everything of a packed viewW x viewH view outside the area.
inline void fillOutside(uint32_t* out, int viewW, int viewH, const Area& a, uint32_t bg)
{
    for (int y = 0; y < viewH; ++y) {
        uint32_t* row = out + static_cast<size_t>(y) * static_cast<size_t>(viewW);
        if (y < a.top || y >= a.bottom || a.empty()) {
            for (int x = 0; x < viewW; ++x)
                row[x] = bg;
            continue;
        }
        for (int x = 0; x < a.left; ++x)
            row[x] = bg;
        for (int x = a.right; x < viewW; ++x)
            row[x] = bg;
    }
}

inline uint32_t opaque(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

} // namespace mp_views
