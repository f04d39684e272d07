// "Luftblasen" (AirBubbles) and "Seifenblasen" (SoapBubbles): seeded bubble
// sprites from textures 40..45 added around an emitter, on the calling
// thread, onto a copy of the picture (the weather scheme of effectframe.h).
// Rows are cut at the top and bottom; columns are cut, or wrapped in
// panorama mode.

#include "engine/effects/bubbles.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/random.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int kFirstSprite = 40;
constexpr int kSprites = 6;

struct BubbleSheet {
    const ushort* px[kSprites] = {};
    int tw = 0, th = 0;
    bool ok = false;
};

// The six sprites, all read with the size of slot 40: a smaller one counts
// as missing (then no bubble is drawn).
BubbleSheet bubbleSheet()
{
    BubbleSheet s;
    const MP_EffectTexture first = MP_effectTextureAt(kFirstSprite);
    if (!first.px)
        return s;
    s.tw = first.w;
    s.th = first.h;
    for (int i = 0; i < kSprites; ++i) {
        const MP_EffectTexture t = MP_effectTextureAt(kFirstSprite + i);
        if (!t.px || t.w < s.tw || t.h < s.th)
            return s;
        s.px[i] = t.px;
    }
    s.ok = true;
    return s;
}

struct Common {
    int n = 0;     // bubbles
    int64_t Q = 0; // weight, 0..16383
    float z = 0, s = 1, emitter = 0, px = 0, py = 0;
};

Common common(const MP_Params* p)
{
    Common c;
    c.n = MP_safeTrunc((0.01f + 0.99f * p->p[0][0]) * 1000.0f, 0, 1000);
    c.Q = MP_safeTrunc(p->p[2][0] * 16383.0f, 0, 16383);
    c.z = 0.01f + 0.99f * p->p[1][0];
    c.s = p->previewscalingfactor;
    c.emitter = p->p[3][0];
    c.px = p->p[4][0];
    c.py = p->p[4][1];
    return c;
}

inline float unit11(int d) { return static_cast<float>(d & 0x7FF) / 2047.0f; }

// Draws one sprite of radius R at (cx, cy): add(pixel, texel) for every
// image pixel and its texel (row from texRow(j - cy)).
template <class TexRow, class Add>
void drawSprite(ushort* picture, int w, int h, const BubbleSheet& sheet, int R, int cx, int cy, TexRow&& texRow,
                Add&& add, const ushort* sprite)
{
    const int tw2 = sheet.tw >> 1;
    const float invR = 1.0f / static_cast<float>(R);
    const float ux = static_cast<float>(tw2 - 1) * invR;
    const bool panorama = MP_UI_GetPanoramaMode() != 0;
    const int64_t j0 = MP_imax(0, cy - R), j1 = MP_imin(h - 1, cy + R);
    for (int64_t j = j0; j <= j1; ++j) {
        const int tr = texRow(static_cast<int>(j) - cy);
        if (tr < 0 || tr >= sheet.th)
            continue;
        ushort* row = picture + static_cast<size_t>(j) * static_cast<size_t>(w) * 3;
        const ushort* trow = sprite + static_cast<size_t>(tr) * static_cast<size_t>(sheet.tw) * 3;
        for (int64_t k = int64_t{cx} - R; k <= int64_t{cx} + R; ++k) {
            int64_t col = k;
            if (panorama) {
                col %= w;
                if (col < 0)
                    col += w;
            } else if (col < 0 || col >= w) {
                continue;
            }
            const int tc = MP_safeTrunc(static_cast<float>(k - cx) * ux, -(1 << 30), 1 << 30) + tw2;
            if (tc < 0 || tc >= sheet.tw)
                continue;
            add(row + static_cast<size_t>(col) * 3, trow + static_cast<size_t>(tc) * 3);
        }
    }
}

inline ushort addClamped(ushort v, int64_t a)
{
    const int64_t s = v + a;
    return static_cast<ushort>(s > 65535 ? 65535 : s);
}

} // namespace

int MP_calcPixelAirBubbles(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginWeather(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6))
        return r;
    const Common c = common(params);
    const BubbleSheet sheet = bubbleSheet();
    MP_UI_SetRandomSeed(0x12345678);
    if (sheet.ok && c.n > 0 && sizex > 0 && sizey > 0) {
        const int th2 = sheet.th >> 1;
        for (int i = 0; i < c.n; ++i) {
            float x = (unit11(MP_rand()) - 0.5f) * 0.5f * c.emitter + c.px;
            float y = (unit11(MP_rand()) - 0.5f) * 0.5f * c.emitter + c.py;
            float drift = (unit11(MP_rand()) - 0.5f) * 0.002f;
            float rise = (unit11(MP_rand()) + 0.1f) * 0.001f;
            const int m = MP_rand() & 0xFF;
            for (int k = 0; k < m; ++k) {
                x = x + drift;
                y = y - rise;
                drift = drift * 0.99f;
                rise = rise + 0.0001f;
            }
            // At most the sprite's width for sliders in range.
            const int R = MP_safeTrunc(static_cast<float>(MP_rand() & 0xFF) * (1.0f / 256.0f) * c.z * c.s *
                                           static_cast<float>(sheet.tw),
                                       0, sheet.tw);
            const ushort* sprite = sheet.px[MP_rand() % kSprites];
            if (R > 0) {
                const float uy = (1.0f / static_cast<float>(R)) * static_cast<float>(th2 - 1);
                const int cx = MP_safeTrunc(static_cast<float>(sizex) * x, -(1 << 28), 1 << 28);
                const int cy = MP_safeTrunc(static_cast<float>(sizey) * y, -(1 << 28), 1 << 28);
                drawSprite(
                    run.dst, sizex, sizey, sheet, R, cx, cy,
                    [&](int dy) { return MP_safeTrunc(static_cast<float>(dy) * uy, -(1 << 30), 1 << 30) + th2; },
                    [&](ushort* p, const ushort* t) {
                        const int64_t b = (int64_t{t[0]} + 2 * int64_t{t[1]} + t[2]) >> 2;
                        if (b <= 128)
                            return;
                        const int64_t add = (c.Q * b) >> 14;
                        p[0] = addClamped(p[0], add);
                        p[1] = addClamped(p[1], add);
                        p[2] = addClamped(p[2], add);
                    },
                    sprite);
            }
            if (i % 256 == 0 && _category >= 0)
                C_AddMessage(_category, static_cast<float>(i) / static_cast<float>(c.n) + _progressstart);
        }
    }
    return MP_finishWeather(run, dst, 0);
}

int MP_calcPixelSoapBubbles(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginWeather(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6))
        return r;
    const Common c = common(params);
    const BubbleSheet sheet = bubbleSheet();
    MP_UI_SetRandomSeed(static_cast<int>(0x86315279u));
    if (sheet.ok && c.n > 0 && sizex > 0 && sizey > 0) {
        const int th2 = sheet.th >> 1;
        for (int i = 0; i < c.n; ++i) {
            const int cx = MP_safeTrunc(((unit11(MP_rand()) - 0.5f) * c.emitter + c.px) * static_cast<float>(sizex),
                                        -(1 << 28), 1 << 28);
            const int cy = MP_safeTrunc(((unit11(MP_rand()) - 0.5f) * c.emitter + c.py) * static_cast<float>(sizey),
                                        -(1 << 28), 1 << 28);
            const int R = MP_safeTrunc(static_cast<float>(MP_rand() & 0xFF) * (1.0f / 256.0f) * c.z * c.s *
                                           static_cast<float>(sheet.tw) * 2.0f,
                                       0, 2 * sheet.tw);
            const ushort* sprite = sheet.px[MP_rand() % kSprites];
            if (R > 0) {
                const float uy = (1.0f / static_cast<float>(R)) * static_cast<float>(th2 - 1);
                const int top = sheet.th - th2 - 1;
                drawSprite(
                    run.dst, sizex, sizey, sheet, R, cx, cy,
                    [&](int dy) { return top - MP_safeTrunc(static_cast<float>(dy) * uy, -(1 << 30), 1 << 30); },
                    [&](ushort* p, const ushort* t) {
                        for (int k = 0; k < 3; ++k)
                            p[k] = addClamped(p[k], (int64_t{t[k]} * c.Q) >> 14);
                    },
                    sprite);
            }
            if (i % 128 == 0 && _category >= 0)
                C_AddMessage(_category, static_cast<float>(i) / static_cast<float>(c.n) + _progressstart);
        }
    }
    return MP_finishWeather(run, dst, 0);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelAirBubbles", MP_calcPixelAirBubbles},
    {"MP_calcPixelSoapBubbles", MP_calcPixelSoapBubbles},
};
} // namespace
extern const MP_DriverTable MP_drivers_bubbles = MP_driverTable(kDrivers);
