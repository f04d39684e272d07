#include "engine/series/mtb.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/rgb48avx2.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

namespace {

constexpr int kBins = 16384;
constexpr int kLastBin = kBins - 1;

inline int keyOf(const uint16_t* px) { return (px[0] + 2 * px[1] + px[2]) >> 4; }

// The key histogram of the sample grid; returns the number of samples.
int64_t sampleHistogram(const uint16_t* img, int w, int h, uint32_t* hist)
{
    std::memset(hist, 0, sizeof(uint32_t) * kBins);
    const int sx = w / 400 < 1 ? 1 : w / 400;
    const int sy = h / 400 < 1 ? 1 : h / 400;
    int64_t n = 0;
    for (int y = 0; y < h; y += sy) {
        const uint16_t* row = img + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        for (int x = 0; x < w; x += sx) {
            ++hist[keyOf(row + static_cast<size_t>(x) * 3)];
            ++n;
        }
    }
    return n;
}

// Percentile bins of the thresholds (in ascending order): the first bin at or
// after the previous one whose accumulated count exceeds the threshold; only
// bins 0..16382 qualify, a threshold no such bin exceeds takes 16383 and so do
// all thresholds after it.
void percentileBins(const uint32_t* hist, const int64_t* thresholds, int count, int* bins)
{
    int bin = 0;
    int64_t acc = hist[0];
    for (int k = 0; k < count; ++k) {
        while (bin < kLastBin && !(acc > thresholds[k])) {
            ++bin;
            acc += hist[bin];
        }
        if (bin >= kLastBin) {
            for (; k < count; ++k)
                bins[k] = kLastBin;
            return;
        }
        bins[k] = bin;
    }
}

inline float binFraction(int bin) { return static_cast<float>(bin) * (1.0f / 16383.0f); }
// The level boundary of a bin: the truncated single-precision p * 16383,
// which for some bins lies one below the bin.
inline int boundaryOf(int bin) { return static_cast<int>(binFraction(bin) * 16383.0f); }

#ifdef MP_HAS_X86_SIMD
// Levels of the pixels in groups of eight; returns how many pixels it did.
__attribute__((target("avx2"))) size_t levelsOf3Avx2(const uint16_t* img, uint8_t* bitmap, size_t pixels, int b0,
                                                     int b1, int b2)
{
    // key >= b  <=>  key > b - 1
    const __m256i t0 = _mm256_set1_epi32(b0 - 1), t1 = _mm256_set1_epi32(b1 - 1), t2 = _mm256_set1_epi32(b2 - 1);
    size_t i = 0;
    for (; i + 8 <= pixels; i += 8) {
        __m256i r, g, b;
        MP_loadRGB48Planes8(img + i * 3, r, g, b);
        const __m256i key = _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(r, b), _mm256_slli_epi32(g, 1)), 4);
        // Each true comparison is -1: the level is minus their sum.
        const __m256i neg = _mm256_add_epi32(_mm256_add_epi32(_mm256_cmpgt_epi32(key, t0), _mm256_cmpgt_epi32(key, t1)),
                                             _mm256_cmpgt_epi32(key, t2));
        const __m256i lv = _mm256_sub_epi32(_mm256_setzero_si256(), neg);
        const __m128i w16 = _mm_packus_epi32(_mm256_castsi256_si128(lv), _mm256_extracti128_si256(lv, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(bitmap + i), _mm_packus_epi16(w16, w16));
    }
    return i;
}
#endif

// Every pixel gets the number of boundaries at or below its key.
void applyBoundaries(const uint16_t* img, uint8_t* bitmap, size_t pixels, const int* bounds, int count)
{
    if (count == 3) {
        // Comparisons instead of a table: the loop vectorises.
        const int b0 = bounds[0], b1 = bounds[1], b2 = bounds[2];
        size_t i = 0;
#ifdef MP_HAS_X86_SIMD
        if (MP_hasAvx2())
            i = levelsOf3Avx2(img, bitmap, pixels, b0, b1, b2);
#endif
        for (; i < pixels; ++i) {
            const uint16_t* px = img + i * 3;
            const int key = (px[0] + 2 * px[1] + px[2]) >> 4;
            bitmap[i] = static_cast<uint8_t>((key >= b0) + (key >= b1) + (key >= b2));
        }
        return;
    }
    uint8_t table[kBins];
    int level = 0;
    for (int key = 0; key < kBins; ++key) {
        while (level < count && key >= bounds[level])
            ++level;
        table[key] = static_cast<uint8_t>(level);
    }
    for (size_t i = 0; i < pixels; ++i)
        bitmap[i] = table[keyOf(img + i * 3)];
}

// One builder: the threshold counts t, which of them are level boundaries
// (levelIdx) and the positions of the 17th, 50th and 83rd percentile in the
// list (reportIdx).
struct Thresholds {
    int count;
    int64_t t[11];
    int reportIdx[3];
    int levelCount;
    int levelIdx[11];
};

void buildMTB(const uint16_t* img, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83,
              const Thresholds& th)
{
    if (!img || !bitmap || w <= 0 || h <= 0)
        return;
    uint32_t hist[kBins];
    (void)sampleHistogram(img, w, h, hist);
    int bins[11];
    percentileBins(hist, th.t, th.count, bins);
    int bounds[11];
    for (int k = 0; k < th.levelCount; ++k)
        bounds[k] = boundaryOf(bins[th.levelIdx[k]]);
    applyBoundaries(img, bitmap, static_cast<size_t>(w) * static_cast<size_t>(h), bounds, th.levelCount);
    if (p17)
        *p17 = binFraction(bins[th.reportIdx[0]]);
    if (p50)
        *p50 = binFraction(bins[th.reportIdx[1]]);
    if (p83)
        *p83 = binFraction(bins[th.reportIdx[2]]);
}

int64_t sampleCount(int w, int h)
{
    if (w <= 0 || h <= 0)
        return 0;
    const int sx = w / 400 < 1 ? 1 : w / 400;
    const int sy = h / 400 < 1 ? 1 : h / 400;
    return static_cast<int64_t>((w + sx - 1) / sx) * static_cast<int64_t>((h + sy - 1) / sy);
}

// Thresholds at the given percentages of the samples (integer division; 25 %
// and 50 % come out as N / 4 and N / 2) with every one a level boundary, the
// 17th, 50th and 83rd percentile reported from the positions r17, r50, r83.
Thresholds percentThresholds(int w, int h, std::initializer_list<int> percents, int r17, int r50, int r83)
{
    const int64_t n = sampleCount(w, h);
    Thresholds th{};
    for (int pct : percents) {
        th.levelIdx[th.count] = th.count;
        th.t[th.count++] = pct * n / 100;
    }
    th.levelCount = th.count;
    th.reportIdx[0] = r17;
    th.reportIdx[1] = r50;
    th.reportIdx[2] = r83;
    return th;
}

// The allocation of a caller-free buffer that reports failure as null.
template <typename T> std::unique_ptr<T[]> tryAlloc(size_t n) { return std::unique_ptr<T[]>(new (std::nothrow) T[n]); }

} // namespace

void MP_convertToMTB4(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83)
{
    buildMTB(rgb48, bitmap, w, h, p17, p50, p83, percentThresholds(w, h, {17, 50, 83}, 0, 1, 2));
}

void MP_convertToMTB(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83)
{
    MP_convertToMTB4(rgb48, bitmap, w, h, p17, p50, p83);
}

void MP_convertToMTB2(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83)
{
    Thresholds th = percentThresholds(w, h, {17, 50, 83}, 0, 1, 2);
    th.levelCount = 1; // the median alone
    th.levelIdx[0] = 1;
    buildMTB(rgb48, bitmap, w, h, p17, p50, p83, th);
}

void MP_convertToMTB6(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83)
{
    buildMTB(rgb48, bitmap, w, h, p17, p50, p83, percentThresholds(w, h, {17, 33, 50, 66, 83}, 0, 2, 4));
}

void MP_convertToMTB12(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83)
{
    buildMTB(rgb48, bitmap, w, h, p17, p50, p83,
             percentThresholds(w, h, {8, 17, 25, 33, 42, 50, 58, 66, 74, 83, 92}, 1, 5, 9));
}

// ---- Smoothing ----------------------------------------------------------------

void MP_smoothMTB(int n, int w, int h, uint8_t* bitmap, uint8_t* scratch)
{
    if (n == 2 && w > 4 && h > 4)
        MP_smoothMTB4x4(w, h, bitmap, scratch);
    else
        MP_smoothMTBNxN(n, w, h, bitmap, scratch);
}

void MP_smoothMTB4x4(int w, int h, uint8_t* bitmap, uint8_t* scratch)
{
    if (!bitmap || !scratch || w <= 4 || h <= 4)
        return;
    // The window of x is x - 1 .. x + 2; (c * sum) >> 20 with c = 2^18 is sum >> 2.
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = bitmap + static_cast<size_t>(y) * static_cast<size_t>(w);
        uint8_t* d = scratch + static_cast<size_t>(y) * static_cast<size_t>(w);
        d[0] = static_cast<uint8_t>((s[0] + s[0] + s[1] + s[2]) >> 2);
        for (int x = 1; x < w - 2; ++x)
            d[x] = static_cast<uint8_t>((s[x - 1] + s[x] + s[x + 1] + s[x + 2]) >> 2);
        d[w - 2] = static_cast<uint8_t>((s[w - 3] + s[w - 2] + s[w - 1] + s[w - 1]) >> 2);
        d[w - 1] = static_cast<uint8_t>((s[w - 2] + s[w - 1] + s[w - 1] + s[w - 1]) >> 2);
    }
    const size_t W = static_cast<size_t>(w);
    for (int y = 0; y < h; ++y) {
        const uint8_t* r0 = scratch + static_cast<size_t>(y > 0 ? y - 1 : 0) * W;
        const uint8_t* r1 = scratch + static_cast<size_t>(y) * W;
        const uint8_t* r2 = scratch + static_cast<size_t>(y + 1 < h ? y + 1 : h - 1) * W;
        const uint8_t* r3 = scratch + static_cast<size_t>(y + 2 < h ? y + 2 : h - 1) * W;
        uint8_t* d = bitmap + static_cast<size_t>(y) * W;
        for (size_t x = 0; x < W; ++x)
            d[x] = static_cast<uint8_t>((r0[x] + r1[x] + r2[x] + r3[x]) >> 2);
    }
}

void MP_smoothMTBNxN(int n, int w, int h, uint8_t* bitmap, uint8_t* scratch)
{
    if (!bitmap || !scratch || n <= 0 || w <= 0 || h <= 0)
        return;
    const int m = n >= w ? w - 1 : n;
    if (m < 1)
        return; // a one-pixel-wide bitmap: a box of width 0 has no mean
    auto sums = tryAlloc<int>(static_cast<size_t>(w));
    if (!sums)
        return;
    const int c = 1048576 / (2 * m);
    const size_t W = static_cast<size_t>(w);
    // Horizontal running sums: the window of x is x - m + 1 .. x + m.
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = bitmap + static_cast<size_t>(y) * W;
        uint8_t* d = scratch + static_cast<size_t>(y) * W;
        int sum = 0;
        for (int k = -m + 1; k <= m; ++k)
            sum += s[MP_iclamp(k, 0, w - 1)];
        for (int x = 0; x < w; ++x) {
            d[x] = static_cast<uint8_t>((c * sum) >> 20);
            sum += s[MP_iclamp(x + m + 1, 0, w - 1)] - s[MP_iclamp(x - m + 1, 0, w - 1)];
        }
    }
    // Vertical running sums over the columns at once.
    int* col = sums.get();
    std::memset(col, 0, sizeof(int) * W);
    for (int k = -m + 1; k <= m; ++k) {
        const uint8_t* r = scratch + static_cast<size_t>(MP_iclamp(k, 0, h - 1)) * W;
        for (size_t x = 0; x < W; ++x)
            col[x] += r[x];
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* d = bitmap + static_cast<size_t>(y) * W;
        for (size_t x = 0; x < W; ++x)
            d[x] = static_cast<uint8_t>((c * col[x]) >> 20);
        const uint8_t* add = scratch + static_cast<size_t>(MP_iclamp(y + m + 1, 0, h - 1)) * W;
        const uint8_t* sub = scratch + static_cast<size_t>(MP_iclamp(y - m + 1, 0, h - 1)) * W;
        for (size_t x = 0; x < W; ++x)
            col[x] += add[x] - sub[x];
    }
}

// ---- Congruence -----------------------------------------------------------------

float MP_calcMTBcongruence(const uint8_t* a, const uint8_t* b, int w, int h)
{
    if (!a || !b || w <= 0 || h <= 0)
        return 0.0f;
    const size_t W = static_cast<size_t>(w);
    int64_t count = 0;
    for (int y = 0; y < h; y += 4) {
        const uint8_t* ra = a + static_cast<size_t>(y) * W;
        const uint8_t* rb = b + static_cast<size_t>(y) * W;
        for (int x = 0; x < w; x += 4)
            count += ra[x] == rb[x];
    }
    return static_cast<float>(count) / (static_cast<float>(W * static_cast<size_t>(h)) * 0.0625f);
}

float MP_calcMTBcongruenceFull(const uint8_t* a, const uint8_t* b, int w, int h)
{
    if (!a || !b || w <= 0 || h <= 0)
        return 0.0f;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    int64_t count = 0;
    // Counted per row in 32 bits so the loop vectorises.
    for (size_t start = 0; start < n; start += 65536) {
        const size_t end = start + 65536 < n ? start + 65536 : n;
        uint32_t c = 0;
        for (size_t i = start; i < end; ++i)
            c += a[i] == b[i];
        count += c;
    }
    return static_cast<float>(count) / static_cast<float>(n);
}

float MP_calcRGBcongruenceFull(const uint16_t* a, const uint16_t* b, int w, int h)
{
    if (!a || !b || w <= 0 || h <= 0)
        return 0.0f;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    constexpr float k = 1.0f / 65535.0f;
    float sum = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        const uint16_t* pa = a + i * 3;
        const uint16_t* pb = b + i * 3;
        const MP_float3 na = MP_normalize({pa[0] * k, pa[1] * k, pa[2] * k});
        const MP_float3 nb = MP_normalize({pb[0] * k, pb[1] * k, pb[2] * k});
        sum += MP_length({na.x - nb.x, na.y - nb.y, na.z - nb.z});
    }
    return 1.0f - sum / static_cast<float>(n);
}

float MP_UI_CalcImageCongruenceConstantSrc(const uint8_t* reference, uint8_t* scratch, uint8_t* bitmap,
                                           const uint16_t* rgb48, int w, int h)
{
    MP_convertToMTB4(rgb48, bitmap, w, h, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, w, h, bitmap, scratch);
    return MP_calcMTBcongruenceFull(reference, bitmap, w, h);
}

float MP_UI_CalcImageCongruence(const uint16_t* a, const uint16_t* b, unsigned w, unsigned h)
{
    if (!a || !b || w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu)
        return 0.0f;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    auto ba = tryAlloc<uint8_t>(n);
    auto bb = tryAlloc<uint8_t>(n);
    auto scratch = tryAlloc<uint8_t>(n);
    if (!ba || !bb || !scratch)
        return 0.0f;
    const int iw = static_cast<int>(w), ih = static_cast<int>(h);
    MP_convertToMTB4(a, ba.get(), iw, ih, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, iw, ih, ba.get(), scratch.get());
    MP_convertToMTB4(b, bb.get(), iw, ih, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, iw, ih, bb.get(), scratch.get());
    return MP_calcMTBcongruenceFull(ba.get(), bb.get(), iw, ih);
}

int MP_UI_CalcImageCongruencePossible(const uint16_t* rgb48, unsigned w, unsigned h)
{
    if (!rgb48 || w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu)
        return 0;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    auto bitmap = tryAlloc<uint8_t>(n);
    auto guard = tryAlloc<uint8_t>(n);
    if (!bitmap || !guard)
        return 0;
    float p17 = 0.0f, p50 = 0.0f, p83 = 0.0f;
    MP_convertToMTB4(rgb48, bitmap.get(), static_cast<int>(w), static_cast<int>(h), &p17, &p50, &p83);
    return (p17 > 0.97f || p83 < 0.03f) ? 0 : 1;
}
