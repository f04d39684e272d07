// The line painter the histogram draws its curves with. The engine's drawing
// module defines MP_lineToArgbPitchBuffer for every painted view; this weak
// definition only stands in while that module is not linked, and behaves the
// same: one point per pixel of length (at most height points), each point
// truncated and painted when inside the picture.

#include <cmath>
#include <cstdint>

__attribute__((weak)) int MP_lineToArgbPitchBuffer(uint32_t* argb, int pitch, int width, int height, int red, int green,
                                                   float x0, float y0, float x1, float y1, int blue)
{
    if (!argb)
        return -2;
    float dx = x1 - x0;
    float dy = y1 - y0;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(length) || (length > 0.0f && length < 1.0f))
        return 0;
    int steps = 1;
    if (length > 0.0f) {
        dx = dx / length;
        dy = dy / length;
        steps = length < static_cast<float>(height) ? static_cast<int>(length) : height;
    }
    const uint32_t colour = 0xFF000000u | (static_cast<uint32_t>(red & 0xFF) << 16) |
                            (static_cast<uint32_t>(green & 0xFF) << 8) | static_cast<uint32_t>(blue & 0xFF);
    for (int i = 0; i < steps; ++i) {
        const float t = static_cast<float>(i) + 0.5f;
        const float px = x0 + dx * t;
        const float py = y0 + dy * t;
        // Truncation maps (-1, 0) to 0, so that strip counts as inside.
        if (!(px > -1.0f && px < static_cast<float>(width) && py > -1.0f && py < static_cast<float>(height)))
            continue;
        argb[static_cast<size_t>(static_cast<int>(py)) * static_cast<size_t>(pitch) + static_cast<int>(px)] = colour;
    }
    return 0;
}
