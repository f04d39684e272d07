#include "engine/core/boxblur.h"

#include "engine/core/cpuclones.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/results.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Index of a sample outside 0 .. count-1: the nearest edge sample, or the
// sample count places around when the map wraps.
template <bool Wrap>
inline int64_t edgeIndex(int64_t i, int64_t count)
{
    if constexpr (Wrap) {
        if (i < 0)
            i += count;
        else if (i >= count)
            i -= count;
        if (i < 0 || i >= count) { // further than one turn (vertical windows)
            i %= count;
            if (i < 0)
                i += count;
        }
        return i;
    } else {
        return i < 0 ? 0 : (i >= count ? count - 1 : i);
    }
}

// How many indices of [lo, hi] land on index j of 0 .. count-1.
template <bool Wrap>
int64_t windowMultiplicity(int64_t lo, int64_t hi, int64_t j, int64_t count)
{
    if constexpr (Wrap) {
        // indices i = j + k count with lo <= i <= hi
        auto floorDiv = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
        return floorDiv(hi - j, count) - floorDiv(lo - 1 - j, count);
    } else {
        if (count == 1)
            return hi - lo + 1;
        if (j == 0)
            return lo <= 0 ? (hi < 0 ? hi - lo + 1 : -lo + 1) : 0;
        if (j == count - 1)
            return hi >= j ? hi - (lo > j ? lo : j) + 1 : 0;
        return lo <= j && j <= hi ? 1 : 0;
    }
}

// A window of n = 2r samples, x - r + 1 .. x + r, averaged in fixed point:
// (g * (A >> 8)) >> 8 with g = 65536 / n. The sums are 32 bits wide: signed for
// signed samples (n <= 65536 keeps them in range), unsigned for unsigned ones.
// Running sums take the leaving sample off before adding the entering one, so
// they never hold more than n samples.
template <typename Sample, typename Sum>
inline Sample windowMean(Sum a, Sum g)
{
    return static_cast<Sample>((g * (a >> 8)) >> 8);
}

// Along the rows. Near the ends a running sum applies the edge rule; where
// the whole window lies inside the row, the window sums come from the row's
// prefix sums (kept modulo 2^32: their differences are the exact window sums),
// which frees that stretch from the running sum's chain of additions.
// The row's prefix sums modulo 2^32, prefix[i + 1] = s[0] + .. + s[i]: four
// quarters of the row summed side by side (four independent chains instead
// of one), then each quarter raised by the sums before it. Sums modulo 2^32
// do not depend on the order, so these are the sums of the single chain.
template <typename Sample, typename Sum>
inline void rowPrefix(const Sample* s, uint32_t* prefix, size_t w)
{
    const size_t L = w / 4;
    uint32_t p0 = 0, p1 = 0, p2 = 0, p3 = 0;
    prefix[0] = 0;
    for (size_t i = 0; i < L; ++i) {
        p0 += static_cast<uint32_t>(static_cast<Sum>(s[i]));
        p1 += static_cast<uint32_t>(static_cast<Sum>(s[L + i]));
        p2 += static_cast<uint32_t>(static_cast<Sum>(s[2 * L + i]));
        p3 += static_cast<uint32_t>(static_cast<Sum>(s[3 * L + i]));
        prefix[i + 1] = p0;
        prefix[L + i + 1] = p1;
        prefix[2 * L + i + 1] = p2;
        prefix[3 * L + i + 1] = p3;
    }
    for (size_t i = 4 * L; i < w; ++i) { // the last few samples belong to the last quarter
        p3 += static_cast<uint32_t>(static_cast<Sum>(s[i]));
        prefix[i + 1] = p3;
    }
    const uint32_t off1 = p0, off2 = off1 + p1, off3 = off2 + p2;
    for (size_t i = L + 1; i <= 2 * L; ++i)
        prefix[i] += off1;
    for (size_t i = 2 * L + 1; i <= 3 * L; ++i)
        prefix[i] += off2;
    for (size_t i = 3 * L + 1; i <= w; ++i)
        prefix[i] += off3;
}

template <typename Sample, typename Sum, bool Wrap>
MP_CPU_CLONES void horizontalRow(const Sample* s, Sample* o, uint32_t* prefix, int width, int r, Sum g)
{
    const size_t w = static_cast<size_t>(width);
    const int inner0 = r, inner1 = width - r; // x - r >= 0 and x + r <= width - 1
    {
        Sum a = 0;
        for (int i = -r; i < r; ++i)
            a += static_cast<Sum>(s[edgeIndex<Wrap>(i, width)]);
        int x = 0;
        for (; x < width && x < inner0; ++x) {
            a -= static_cast<Sum>(s[edgeIndex<Wrap>(x - r, width)]);
            a += static_cast<Sum>(s[edgeIndex<Wrap>(x + r, width)]);
            o[x] = windowMean<Sample>(a, g);
        }
        if (inner0 < inner1) {
            rowPrefix<Sample, Sum>(s, prefix, w);
            // window of x: samples x - r + 1 .. x + r
            for (int i = inner0; i < inner1; ++i)
                o[i] = windowMean<Sample>(static_cast<Sum>(prefix[i + r + 1] - prefix[i - r + 1]), g);
            a = static_cast<Sum>(prefix[inner1 + r] - prefix[inner1 - r]); // the window of inner1 - 1
            x = inner1;
        }
        for (; x < width; ++x) {
            a -= static_cast<Sum>(s[edgeIndex<Wrap>(x - r, width)]);
            a += static_cast<Sum>(s[edgeIndex<Wrap>(x + r, width)]);
            o[x] = windowMean<Sample>(a, g);
        }
    }
}

template <typename Sample, typename Sum, bool Wrap>
void horizontalPass(const Sample* in, Sample* out, uint32_t* prefix, int width, int height, int r, Sum g)
{
    const size_t w = static_cast<size_t>(width);
    for (int y = 0; y < height; ++y)
        horizontalRow<Sample, Sum, Wrap>(in + static_cast<size_t>(y) * w, out + static_cast<size_t>(y) * w, prefix,
                                         width, r, g);
}

// The same window down the columns: one running sum per column, advanced a
// whole row at a time.
template <typename Sample, typename Sum, bool Wrap>
MP_CPU_CLONES void verticalPass(const Sample* in, Sample* out, Sum* sums, int width, int height, int r, Sum g)
{
    const size_t w = static_cast<size_t>(width);
    std::memset(sums, 0, w * sizeof(Sum));
    // Window of y = -1: rows -r .. r-1, each source row counted as often as
    // the edge rule maps window rows onto it.
    for (int j = 0; j < height; ++j) {
        const Sum m = static_cast<Sum>(windowMultiplicity<Wrap>(-r, r - 1, j, height));
        if (m == 0)
            continue;
        const Sample* row = in + static_cast<size_t>(j) * w;
        for (size_t x = 0; x < w; ++x)
            sums[x] += m * static_cast<Sum>(row[x]);
    }
    for (int y = 0; y < height; ++y) {
        const Sample* enter = in + static_cast<size_t>(edgeIndex<Wrap>(int64_t(y) + r, height)) * w;
        const Sample* leave = in + static_cast<size_t>(edgeIndex<Wrap>(int64_t(y) - r, height)) * w;
        Sample* o = out + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x) {
            const Sum a = sums[x] - static_cast<Sum>(leave[x]) + static_cast<Sum>(enter[x]);
            sums[x] = a;
            o[x] = windowMean<Sample>(a, g);
        }
    }
}

// One output row of the vertical direction: the column sums advance by one
// row (leave off, enter on) and give the row's means.
template <typename Sample, typename Sum>
MP_CPU_CLONES void verticalRow(const Sample* leave, const Sample* enter, Sum* sums, Sample* o, size_t w, Sum g)
{
    for (size_t x = 0; x < w; ++x) {
        const Sum a = sums[x] - static_cast<Sum>(leave[x]) + static_cast<Sum>(enter[x]);
        sums[x] = a;
        o[x] = windowMean<Sample>(a, g);
    }
}

// One pass with edges extended, the rows blurred along the row into a ring
// of the window's rows (at most 2r + 1, or the whole map when it has fewer)
// as the vertical window reaches them, so the intermediate map stays small
// and in the cache. Row j of `in` is read before row j of `out` is written
// (the window runs ahead of the output), so in may equal out.
template <typename Sample, typename Sum>
void ringPass(const Sample* in, Sample* out, Sample* ring, size_t ringRows, Sum* sums, uint32_t* prefix, int width,
              int height, int r, Sum g)
{
    const size_t w = static_cast<size_t>(width);
    auto slot = [&](int j) { return ring + (static_cast<size_t>(j) % ringRows) * w; };
    auto blurRow = [&](int j) {
        horizontalRow<Sample, Sum, false>(in + static_cast<size_t>(j) * w, slot(j), prefix, width, r, g);
    };
    // Window of y = -1: rows -r .. r-1, each row counted as often as the edge
    // rule maps window rows onto it.
    int computed = MP_imin(r - 1, height - 1);
    std::memset(sums, 0, w * sizeof(Sum));
    for (int j = 0; j <= computed; ++j) {
        blurRow(j);
        const Sum m = static_cast<Sum>(windowMultiplicity<false>(-r, r - 1, j, height));
        const Sample* row = slot(j);
        for (size_t x = 0; x < w; ++x)
            sums[x] += m * static_cast<Sum>(row[x]);
    }
    for (int y = 0; y < height; ++y) {
        const int e = static_cast<int>(edgeIndex<false>(int64_t(y) + r, height));
        if (e > computed) { // one row further each step, until the last row
            blurRow(e);
            computed = e;
        }
        verticalRow<Sample, Sum>(slot(static_cast<int>(edgeIndex<false>(int64_t(y) - r, height))), slot(e), sums,
                                 out + static_cast<size_t>(y) * w, w, g);
    }
}

template <typename Sample, typename Sum, bool Wrap>
int blurMap(int width, int height, const Sample* src, Sample* dst, const MP_Params* params)
{
    if (!src || !dst || !params)
        return MP_ERR_INPUT;
    if (width < 1 || height < 1)
        return MP_OK;
    const float total = params->p[0][0];
    const float count = params->p[1][0];
    if (!(count >= 1.0f))
        return MP_OK;
    const int passes = MP_safeTrunc(count, 1, MP_MAX_BLUR_PASSES);
    int r = MP_safeTrunc(total / count, 0, INT_MAX);
    // The clamp holds for every pass. A map one sample wide leaves no radius
    // at all: then no pass runs (the window length 2r would be 0).
    if (r > width - 1)
        r = width - 1;
    if (r < 1)
        return MP_OK;

    const size_t w = static_cast<size_t>(width);
    // The column sums of the vertical direction and the prefix sums (one
    // more) of the horizontal one. The intermediate map: the ring of the
    // window's rows with edges extended; the whole map when the rows wrap
    // (the window's first rows come back at the end, when the output may have
    // overwritten them).
    const size_t window = 2 * static_cast<size_t>(r) + 1;
    const size_t ringRows = Wrap || window > static_cast<size_t>(height) ? static_cast<size_t>(height) : window;
    std::unique_ptr<Sum[]> sums(new (std::nothrow) Sum[w + 1]);
    std::unique_ptr<uint32_t[]> prefix(new (std::nothrow) uint32_t[w + 1]);
    std::unique_ptr<Sample[]> inter(new (std::nothrow) Sample[w * ringRows]);
    if (!sums || !prefix || !inter)
        return MP_ERR_NOMEMORY;

    const int64_t n = 2 * static_cast<int64_t>(r);
    const Sum g = static_cast<Sum>(65536 / n);
    for (int pass = 0; pass < passes; ++pass) {
        const Sample* in = pass == 0 ? src : dst;
        if (g == 0) {
            // A window longer than 65536 samples: the fixed-point mean is 0.
            std::memset(dst, 0, w * static_cast<size_t>(height) * sizeof(Sample));
            continue;
        }
        if constexpr (Wrap) {
            horizontalPass<Sample, Sum, Wrap>(in, inter.get(), prefix.get(), width, height, r, g);
            verticalPass<Sample, Sum, Wrap>(inter.get(), dst, sums.get(), width, height, r, g);
        } else {
            ringPass<Sample, Sum>(in, dst, inter.get(), ringRows, sums.get(), prefix.get(), width, height, r, g);
        }
    }
    return MP_OK;
}

} // namespace

int MP_BlurSignedShortBuffer(int width, int height, int16_t* src, int16_t* dst, int, int, const MP_Params* params)
{
    return blurMap<int16_t, int32_t, false>(width, height, src, dst, params);
}

int MP_BlurSignedShortBufferNoClip(int width, int height, int16_t* src, int16_t* dst, int, int,
                                   const MP_Params* params)
{
    return blurMap<int16_t, int32_t, true>(width, height, src, dst, params);
}

int MP_BlurUnsignedShortBuffer(int width, int height, const uint16_t* src, uint16_t* dst, int, int,
                               const MP_Params* params)
{
    return blurMap<uint16_t, uint32_t, false>(width, height, src, dst, params);
}
