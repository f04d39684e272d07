#include "engine/views/compareview.h"

#include "engine/core/driverframe.h"
#include "engine/core/settings.h"
#include "engine/core/tasks.h"
#include "engine/views/viewarea.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <new>
#include <vector>

using mp_views::Area;

namespace {

// The arguments every band of one comparison reads.
struct CompareArgs {
    Area frame;
    int imageW = 0, imageH = 0, viewW = 0;
    const uint16_t* sideA = nullptr;
    const uint16_t* sideB = nullptr;
    const int* gammaA = nullptr; // gamma curve of a side, or null
    const int* gammaB = nullptr;
    const int* rowSplit = nullptr;   // per view row: first column of side B
    const int* sourceCol = nullptr;  // per frame column: source column
    const int* marks = nullptr;      // mark table by 16-bit luminance
    uint32_t* out = nullptr;
};

// A float from the dock held to a range where every product below stays an
// int; not-a-number counts as 0.
float saneFraction(float v)
{
    if (!std::isfinite(v))
        return 0.0f;
    return v < -64.0f ? -64.0f : (v > 64.0f ? 64.0f : v);
}

// The gamma curve of the HDR gamma, kept while the gamma stays the same: the
// comparison is redrawn on every mouse move.
const int* gammaCurve()
{
    static std::vector<int> curve;
    static float curveGamma = -1.0f;
    const float g = MP_hdrgammavalue;
    if (curve.empty() || std::memcmp(&g, &curveGamma, sizeof g) != 0) {
        try {
            curve.resize(65536);
        } catch (const std::bad_alloc&) {
            curve.clear();
            return nullptr;
        }
        for (int k = 0; k < 65536; ++k)
            curve[k] = static_cast<int>(std::pow(static_cast<float>(k) / 65535.0f, g) * 65535.0f);
        curveGamma = g;
    }
    return curve.data();
}

int threshold(float v, float scale) { return static_cast<int>(saneFraction(v) * scale); }

// Mark table of the comparison by 16-bit luminance.
void fillCompareMarks(int* t, int mode, float lumLow, float lumHigh)
{
    if (mode == 1) {
        const int a0 = threshold(lumLow - 0.05f, 65535.0f), a1 = threshold(lumLow + 0.05f, 65535.0f);
        const int b0 = threshold(lumHigh - 0.05f, 65535.0f), b1 = threshold(lumHigh + 0.05f, 65535.0f);
        for (int L = 0; L < 65536; ++L)
            t[L] = ((L >= a0 && L <= a1) || (L >= b0 && L <= b1)) ? 1 : 0;
    } else if (mode == 2) {
        const int lo = threshold(lumLow, 65535.0f), hi = threshold(lumHigh, 65535.0f);
        for (int L = 0; L < 65536; ++L)
            t[L] = (L >= lo && L <= hi) ? 1 : 0;
    } else if (mode == 3) {
        const int lo = threshold(lumLow, 65535.0f), hi = threshold(lumHigh, 65535.0f);
        for (int L = 0; L < 65536; ++L)
            t[L] = (L <= lo || L >= hi) ? 1 : 0;
    } else {
        std::memset(t, 0, 65536 * sizeof(int));
    }
}

inline bool onHatch(int c, int r) { return (c & 3) == (r & 3) || ((c + r) & 3) == 2; }

// Columns [from, to) of view row r from one image row.
template <bool Gamma>
void drawSpan(const CompareArgs& a, const uint16_t* srcRow, const int* curve, int r, int from, int to, uint32_t* out)
{
    const int* marks = a.marks;
    const int* cols = a.sourceCol - a.frame.left;
    for (int c = from; c < to; ++c) {
        const uint16_t* p = srcRow + static_cast<size_t>(cols[c]) * 3;
        int R = p[0], G = p[1], B = p[2];
        const int L = (R + 2 * G + B) >> 2;
        if (Gamma) {
            R = curve[R];
            G = curve[G];
            B = curve[B];
        }
        uint32_t v = static_cast<uint32_t>(R >> 8) << 16 | static_cast<uint32_t>(G >> 8) << 8 | static_cast<uint32_t>(B >> 8);
        if (marks[L] && onHatch(c, r))
            v ^= 0xFFFFFFu;
        out[c] = 0xFF000000u | v;
    }
}

void span(const CompareArgs& a, const uint16_t* img, const int* curve, int sy, int r, int from, int to, uint32_t* out)
{
    if (from >= to)
        return;
    const uint16_t* srcRow = img + static_cast<size_t>(sy) * static_cast<size_t>(a.imageW) * 3;
    if (curve)
        drawSpan<true>(a, srcRow, curve, r, from, to, out);
    else
        drawSpan<false>(a, srcRow, nullptr, r, from, to, out);
}

} // namespace

int MP_UI_previewCompareViewCalcValues(int viewWidth, int viewHeight, int imageWidth, int imageHeight, float* left,
                                       float* top, float* right, float* bottom)
{
    const Area a = mp_views::fitArea(viewWidth, viewHeight, imageWidth, imageHeight);
    const float vw = viewWidth > 0 ? static_cast<float>(viewWidth) : 1.0f;
    const float vh = viewHeight > 0 ? static_cast<float>(viewHeight) : 1.0f;
    if (left)
        *left = static_cast<float>(a.left) / vw;
    if (top)
        *top = static_cast<float>(a.top) / vh;
    if (right)
        *right = static_cast<float>(a.right) / vw;
    if (bottom)
        *bottom = static_cast<float>(a.bottom) / vh;
    return 1;
}

void MP_task_previewCompareView(TaskFuncParams p)
{
    const CompareArgs& a = *MP_taskArgs<const CompareArgs>(p);
    const Area& f = a.frame;
    const int fw = f.width(), fh = f.height();
    if (fw <= 0 || fh <= 0)
        return;
    const int end = f.top + MP_taskEnd(p);
    for (int r = f.top + MP_taskStart(p); r < end; ++r) {
        int sy = static_cast<int>(static_cast<float>(r - f.top) / static_cast<float>(fh) * static_cast<float>(a.imageH));
        sy = sy < 0 ? 0 : (sy >= a.imageH ? a.imageH - 1 : sy);
        int d = a.rowSplit[r];
        if (d < f.left)
            d = f.left;
        if (d >= f.right)
            d = f.right - 1;
        uint32_t* out = a.out + static_cast<size_t>(r) * static_cast<size_t>(a.viewW);
        span(a, a.sideA, a.gammaA, sy, r, f.left, d, out);
        span(a, a.sideB, a.gammaB, sy, r, d, f.right, out);
    }
}

int MP_UI_previewCompareViewLumMode(int viewWidth, int viewHeight, unsigned int* argbOut, int imageWidth,
                                    int imageHeight, const unsigned short* first, float x1, float y1, float x2,
                                    float y2, float lumLow, float lumHigh, const unsigned short* second, int gammaFirst,
                                    int gammaSecond, int swap, int lumMode)
{
    if (!argbOut || !first || !second || viewWidth <= 0 || viewHeight <= 0)
        return 0;
    std::unique_ptr<int[]> rows(new (std::nothrow) int[static_cast<size_t>(viewHeight)]);
    std::unique_ptr<int[]> cols(new (std::nothrow) int[static_cast<size_t>(viewWidth)]);
    if (!rows || !cols)
        return 0;
    x1 = saneFraction(x1);
    y1 = saneFraction(y1);
    x2 = saneFraction(x2);
    y2 = saneFraction(y2);
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }

    // A picture without pixels leaves an empty frame: background only.
    const Area f = mp_views::fitArea(viewWidth, viewHeight, imageWidth, imageHeight);
    mp_views::fillOutside(argbOut, viewWidth, viewHeight, f, mp_views::backgroundPixel());
    if (f.empty())
        return 1;

    // Where the divider crosses each frame row.
    const float E = static_cast<float>(f.bottom - f.top - 1);
    const float F = static_cast<float>(f.right - f.left - 1);
    const int row1 = f.top + static_cast<int>(E * y1);
    if (std::fabs(y2 - y1) <= 0.01f) {
        for (int r = f.top; r < f.bottom; ++r)
            rows[r] = r < row1 ? f.right : f.left;
    } else if (std::fabs(x2 - x1) <= 0.01f) {
        const int x = f.left + static_cast<int>(F * x1);
        for (int r = f.top; r < f.bottom; ++r)
            rows[r] = x;
    } else {
        const float xa = static_cast<float>(f.left + static_cast<int>(F * x1));
        const float xb = static_cast<float>(f.left + static_cast<int>(F * x2));
        const int K = f.top + static_cast<int>(E * y2) - 1 - row1;
        const float k = K > 0 ? 1.0f / static_cast<float>(K) : 1.0f;
        for (int r = f.top; r < f.bottom; ++r) {
            const float t = static_cast<float>(r - row1) * k;
            rows[r] = static_cast<int>((1.0f - t) * xa + t * xb);
        }
    }

    // Source column of each frame column.
    const float colFactor = static_cast<float>(imageWidth) / static_cast<float>(f.width());
    for (int c = 0; c < f.width(); ++c) {
        const int sx = static_cast<int>(static_cast<float>(c) * colFactor);
        cols[c] = sx < imageWidth ? sx : imageWidth - 1;
    }

    fillCompareMarks(MP_itemp2_table, lumMode, lumLow, lumHigh);
    const int* curve = nullptr;
    if (gammaFirst || gammaSecond) {
        curve = gammaCurve();
        if (!curve)
            return 0;
    }

    CompareArgs args;
    args.frame = f;
    args.imageW = imageWidth;
    args.imageH = imageHeight;
    args.viewW = viewWidth;
    args.sideA = swap ? second : first;
    args.sideB = swap ? first : second;
    args.gammaA = (swap ? gammaSecond : gammaFirst) ? curve : nullptr;
    args.gammaB = (swap ? gammaFirst : gammaSecond) ? curve : nullptr;
    args.rowSplit = rows.get();
    args.sourceCol = cols.get();
    args.marks = MP_itemp2_table;
    args.out = argbOut;
    MP_runSinglePass(MP_task_previewCompareView, MP_makeTask(nullptr, &args), f.height());
    return 1;
}

int MP_UI_previewCompareViewBarLumMode(int width, int height, unsigned int* argbOut, int lumMode, int phase,
                                       float lumLow, float lumHigh)
{
    if (!argbOut || width <= 0 || height <= 0)
        return 0;
    int* t = MP_itemp2_table;
    if (lumMode == 1) {
        const int a0 = threshold(lumLow - 0.05f, 255.0f), a1 = threshold(lumLow + 0.05f, 255.0f);
        const int b0 = threshold(lumHigh - 0.05f, 255.0f), b1 = threshold(lumHigh + 0.05f, 255.0f);
        for (int k = 0; k < 65536; ++k)
            t[k] = ((k >= a0 && k <= a1) || (k >= b0 && k <= b1)) ? 1 : 0;
    } else if (lumMode == 2) {
        const int lo = threshold(lumLow, 255.0f), hi = threshold(lumHigh, 255.0f);
        for (int k = 0; k < 256; ++k)
            t[k] = (k > lo && k <= hi) ? 1 : 0;
    } else if (lumMode == 3) {
        const int lo = threshold(lumLow, 255.0f), hi = threshold(lumHigh, 255.0f);
        for (int k = 0; k < 255; ++k)
            t[k] = (k < lo || k >= hi) ? 1 : 0;
    } else {
        lumMode = 0;
        std::memset(t, 0, 256 * sizeof(int));
    }

    for (int j = 0; j < height; ++j) {
        const int pr = ((phase % 6) + j % 6 + 6) % 6;
        uint32_t* row = argbOut + static_cast<size_t>(j) * static_cast<size_t>(width);
        for (int i = 0; i < width; ++i) {
            const int e = static_cast<int>(static_cast<int64_t>(i) * 255 / width);
            const uint32_t base = lumMode == 0 ? static_cast<uint32_t>((e >> 2) + 63) : static_cast<uint32_t>(e);
            uint32_t v = base;
            if (t[e] && (pr == i % 6 || pr == 5 - ((i + 1) % 6)))
                v = (base * 176 + static_cast<uint32_t>(255 - e) * 80) >> 8;
            row[i] = mp_views::opaque(v, v, v);
        }
    }
    return 1;
}
