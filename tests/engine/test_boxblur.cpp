#include "enginefixture.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace {

MP_Params blurParams(float radius, float passes)
{
    MP_Params p;
    std::memset(&p, 0, sizeof(p));
    p.p[0][0] = radius;
    p.p[1][0] = passes;
    return p;
}

template <typename T>
std::vector<T> randomMap(int w, int h, uint32_t seed, int lo, int hi)
{
    std::vector<T> m(static_cast<size_t>(w) * h);
    for (auto& v : m) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<T>(lo + static_cast<int>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1)));
    }
    return m;
}

// The blur written out window by window: every output sample sums its 2r
// window samples x - r + 1 .. x + r directly.
template <typename T>
std::vector<T> referenceBlur(std::vector<T> map, int w, int h, int r, int passes, bool wrap)
{
    if (r > w - 1)
        r = w - 1;
    if (r < 1)
        return map;
    const int64_t n = 2 * r, g = 65536 / n;
    auto index = [wrap](int64_t i, int64_t count) {
        if (wrap)
            return ((i % count) + count) % count;
        return i < 0 ? int64_t{0} : (i >= count ? count - 1 : i);
    };
    auto mean = [g](int64_t a) { return static_cast<T>((g * (a >> 8)) >> 8); };
    std::vector<T> tmp(map.size());
    for (int p = 0; p < passes; ++p) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int64_t a = 0;
                for (int k = x - r + 1; k <= x + r; ++k)
                    a += map[static_cast<size_t>(y) * w + index(k, w)];
                tmp[static_cast<size_t>(y) * w + x] = mean(a);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int64_t a = 0;
                for (int k = y - r + 1; k <= y + r; ++k)
                    a += tmp[static_cast<size_t>(index(k, h)) * w + x];
                map[static_cast<size_t>(y) * w + x] = mean(a);
            }
    }
    return map;
}

class BoxBlur : public EngineTest {};

TEST_F(BoxBlur, ConstantMapsLoseALittleInTheFixedPointMean)
{
    struct Case {
        float radius, passes;
        int value, expected;
    };
    // r = 10: g = 3276, 1000 -> 998 across, 985 after both directions.
    // r = 35: g = 936, 1000 -> 998 -> 994.  Two passes of r = 10: 985 -> 959.
    // Negative sums are floored: -1000 -> -1011 -> -1011.
    // Width 5 clamps r = 10 to 4: g = 8192, 1000 -> 992 -> 992.
    const Case cases[] = {{10, 1, 1000, 985}, {35, 1, 1000, 994}, {20, 2, 1000, 959}, {10, 1, -1000, -1011}};
    for (const Case& c : cases) {
        for (bool wrap : {false, true}) {
            auto map = std::vector<int16_t>(40 * 30, static_cast<int16_t>(c.value));
            const MP_Params p = blurParams(c.radius, c.passes);
            const int rc = wrap ? MP_BlurSignedShortBufferNoClip(40, 30, map.data(), map.data(), 2, 2, &p)
                                : MP_BlurSignedShortBuffer(40, 30, map.data(), map.data(), 2, 2, &p);
            ASSERT_EQ(rc, 0);
            EXPECT_EQ(map, std::vector<int16_t>(40 * 30, static_cast<int16_t>(c.expected)))
                << c.radius << "/" << c.passes << " wrap " << wrap;
        }
    }
    std::vector<int16_t> narrow(5 * 12, 1000);
    const MP_Params p = blurParams(10, 1);
    ASSERT_EQ(MP_BlurSignedShortBuffer(5, 12, narrow.data(), narrow.data(), 2, 2, &p), 0);
    EXPECT_EQ(narrow, std::vector<int16_t>(5 * 12, 992));

    std::vector<uint16_t> white(30 * 20, 65535);
    const MP_Params q = blurParams(10, 1);
    ASSERT_EQ(MP_BlurUnsignedShortBuffer(30, 20, white.data(), white.data(), 2, 2, &q), 0);
    // (3276 * (65535 * 20 >> 8)) >> 8 = 65507, then (3276 * (65507 * 20 >> 8)) >> 8 = 65481
    EXPECT_EQ(white, std::vector<uint16_t>(30 * 20, 65481));
}

TEST_F(BoxBlur, MatchesTheWindowByWindowSums)
{
    struct Case {
        int w, h;
        float radius, passes;
    };
    // Radii larger than the height (vertical windows wrap more than once) and
    // larger than the width (clamped to width - 1) included.
    const Case cases[] = {{23, 17, 6, 1}, {23, 17, 9, 3}, {7, 30, 25, 1}, {40, 3, 30, 2}, {2, 9, 4, 1}, {64, 5, 3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " R " << c.radius << " P " << c.passes);
        const int r = static_cast<int>(c.radius / c.passes);
        const int passes = static_cast<int>(c.passes);
        const MP_Params p = blurParams(c.radius, c.passes);

        auto s = randomMap<int16_t>(c.w, c.h, 17, -32768, 32767);
        auto ext = s, wrap = s;
        ASSERT_EQ(MP_BlurSignedShortBuffer(c.w, c.h, ext.data(), ext.data(), 2, 2, &p), 0);
        ASSERT_EQ(MP_BlurSignedShortBufferNoClip(c.w, c.h, wrap.data(), wrap.data(), 2, 2, &p), 0);
        EXPECT_EQ(ext, referenceBlur(s, c.w, c.h, r, passes, false));
        EXPECT_EQ(wrap, referenceBlur(s, c.w, c.h, r, passes, true));

        auto u = randomMap<uint16_t>(c.w, c.h, 23, 0, 65535);
        auto uext = u;
        ASSERT_EQ(MP_BlurUnsignedShortBuffer(c.w, c.h, uext.data(), uext.data(), 2, 2, &p), 0);
        EXPECT_EQ(uext, referenceBlur(u, c.w, c.h, r, passes, false));
    }
}

TEST_F(BoxBlur, WrappingBlursTheFirstColumnWithTheLast)
{
    const int w = 20, h = 6;
    std::vector<int16_t> map(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y)
        map[static_cast<size_t>(y) * w + w - 1] = 20000;
    auto ext = map, wrap = map;
    const MP_Params p = blurParams(3, 1);
    MP_BlurSignedShortBuffer(w, h, ext.data(), ext.data(), 2, 2, &p);
    MP_BlurSignedShortBufferNoClip(w, h, wrap.data(), wrap.data(), 2, 2, &p);
    EXPECT_EQ(ext[0], 0);
    EXPECT_GT(wrap[0], 0);
    EXPECT_GT(ext[w - 1], wrap[w - 1]); // the extended edge repeats the bright column
}

TEST_F(BoxBlur, NothingToDoLeavesTheMapAlone)
{
    const auto map = randomMap<int16_t>(9, 7, 5, -500, 500);
    struct Case {
        int w;
        float radius, passes;
    };
    // r = 0 (R 1 over 2 passes), no passes, NaN, and a map one pixel wide,
    // whose radius clamps to 0 (the window length would divide by zero).
    const Case cases[] = {{9, 1, 2}, {9, 10, 0}, {9, NAN, 1}, {9, 10, NAN}, {1, 10, 1}};
    for (const Case& c : cases) {
        auto m = map;
        const MP_Params p = blurParams(c.radius, c.passes);
        const int h = static_cast<int>(map.size()) / c.w;
        EXPECT_EQ(MP_BlurSignedShortBuffer(c.w, h, m.data(), m.data(), 2, 2, &p), 0);
        EXPECT_EQ(MP_BlurSignedShortBufferNoClip(c.w, h, m.data(), m.data(), 2, 2, &p), 0);
        EXPECT_EQ(m, map) << c.w << " " << c.radius << " " << c.passes;
    }
    std::vector<uint16_t> column(13, 4000);
    const MP_Params p = blurParams(8, 1);
    EXPECT_EQ(MP_BlurUnsignedShortBuffer(1, 13, column.data(), column.data(), 2, 2, &p), 0);
    EXPECT_EQ(column, std::vector<uint16_t>(13, 4000));
}

TEST_F(BoxBlur, SeparateSourceIsReadOnceAndKept)
{
    const auto src = randomMap<int16_t>(16, 12, 9, -9000, 9000);
    auto srcCopy = src;
    std::vector<int16_t> dst(src.size(), 0);
    const MP_Params p = blurParams(8, 2);
    ASSERT_EQ(MP_BlurSignedShortBuffer(16, 12, srcCopy.data(), dst.data(), 2, 2, &p), 0);
    EXPECT_EQ(srcCopy, src);
    EXPECT_EQ(dst, referenceBlur(src, 16, 12, 4, 2, false));
}

// A hostile pass count runs at most 1000 passes (a blink on a 64 x 48 map,
// not minutes); the result is that of 1000 passes of the same radius.
TEST_F(BoxBlur, PassCountsAreHeldToAThousand)
{
    using Blur = int (*)(int, int, const uint16_t*, uint16_t*, MP_Params*);
    struct Case {
        const char* name;
        Blur blur;
    };
    const Case cases[] = {
        {"box blur", [](int w, int h, const uint16_t* s, uint16_t* d, MP_Params* p) {
             return MP_BlurUnsignedShortBuffer(w, h, s, d, 2, 2, p);
         }},
        {"weight-map blur", [](int w, int h, const uint16_t* s, uint16_t* d, MP_Params* p) {
             return MP_calcPixelHDRlinBlurHorVer(w, h, const_cast<uint16_t*>(s), d, 2, 2, p);
         }},
    };
    const int w = 64, h = 48;
    const auto map = randomMap<uint16_t>(w, h, 17, 0, 65535);
    // Powers of two: the radius (total / passes) is exactly 4 both times.
    const float hostile = std::ldexp(1.0f, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto capped = map, thousand = map;
        MP_Params p = blurParams(4.0f * hostile, hostile);
        ASSERT_EQ(c.blur(w, h, capped.data(), capped.data(), &p), 0);
        p = blurParams(4000.0f, 1000.0f);
        ASSERT_EQ(c.blur(w, h, thousand.data(), thousand.data(), &p), 0);
        EXPECT_EQ(capped, thousand);
        EXPECT_NE(capped, map);
    }
}

TEST_F(BoxBlur, MissingInputAndMemoryAreReported)
{
    std::vector<int16_t> map(4, 1);
    const MP_Params p = blurParams(4, 1);
    EXPECT_EQ(MP_BlurSignedShortBuffer(2, 2, nullptr, map.data(), 2, 2, &p), MP_ERR_INPUT);
    EXPECT_EQ(MP_BlurSignedShortBufferNoClip(2, 2, map.data(), nullptr, 2, 2, &p), MP_ERR_INPUT);
    EXPECT_EQ(MP_BlurUnsignedShortBuffer(2, 2, nullptr, nullptr, 2, 2, &p), MP_ERR_INPUT);
    EXPECT_EQ(MP_BlurSignedShortBuffer(2, 2, map.data(), map.data(), 2, 2, nullptr), MP_ERR_INPUT);

    // An intermediate map of 2^49 bytes (a window of 2^24 rows of 2^24
    // samples) cannot be had anywhere; the map (never read then) stays as it is.
    const int huge = 1 << 24;
    const MP_Params wide = blurParams(static_cast<float>(huge / 2), 1);
    EXPECT_EQ(MP_BlurSignedShortBuffer(huge, huge, map.data(), map.data(), 2, 2, &wide), MP_ERR_NOMEMORY);
    EXPECT_EQ(MP_BlurSignedShortBufferNoClip(huge, huge, map.data(), map.data(), 2, 2, &p), MP_ERR_NOMEMORY);
    EXPECT_EQ(map, std::vector<int16_t>(4, 1));
}

} // namespace
