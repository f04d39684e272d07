// Non-local means: "Entrauschen Luminance (HD)", "Entrauschen Chrominance
// (HD)", "Schärfen Luminance (HD)" and "Schärfen Chrominance (HD)".

#include "filterfixture.h"

#include "engine/filters/nlmeans.h"

#include <cmath>
#include <limits>

namespace {

struct NLCase {
    const char* name;
    bool luminance;
    bool sharpen;
    float factor; // the strength factor of the filter width
};

const NLCase kNL[] = {
    {"MP_calcPixelDeNoiseLumHD", true, false, 0.09f},
    {"MP_calcPixelDeNoiseHD", false, false, 0.27f},
    {"MP_calcPixelHDLumSharpen", true, true, 0.09f},
    {"MP_calcPixelHDSharpen", false, true, 0.27f},
};

void nlDefaults(MP_Params& p, const NLCase& c)
{
    p.p[0][0] = c.sharpen ? 0.5f : 0.3f;
    p.p[1][0] = 0.223f;
    setMask(p.p[2], 1.0f);
    p.p[3][1] = 100.0f;
}

// The operator written out plainly from its definition, every pixel on the
// clipped path: the reference the workers must equal bit for bit.
ToneTest::Image nlReference(const NLCase& c, const ToneTest::Image& src, int w, int h, const MP_Params& p)
{
    const MP_NLWindow win = MP_nlWindow(p.p[1][0]);
    const int K = win.K, L = win.L;
    const float hw = MP_nlFilterWidth(p.p[0][0], c.factor, p.previewscalingfactor);
    auto weight = [&](int i) {
        const float fi = static_cast<float>(i);
        return expf(-(fi * (fi * MP_k)) * MP_k * (1.0f / (hw * hw)));
    };
    auto chan = [&](int x, int y, int ch) -> float {
        const uint16_t* px = &src[(static_cast<size_t>(y) * w + x) * 3];
        const float r = px[0] * MP_k, g = px[1] * MP_k, b = px[2] * MP_k;
        if (ch < 3)
            return ch == 0 ? r : ch == 1 ? g : b;
        return r * p.lumr + g * p.lumg + b * p.lumb;
    };
    auto inShape = [&](int dx, int dy) {
        const int ax = std::abs(dx), ay = std::abs(dy);
        return ax + ay <= K && !(c.luminance && (ax == 3 || ay == 3));
    };
    ToneTest::Image out(src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dxmin = std::max(-K, -x), dxmax = std::min(K, w - 1 - x);
            const int dymin = std::max(-K, -y), dymax = std::min(K, h - 1 - y);
            float sumG = 0.0f;
            for (int dy = -K; dy <= K; ++dy)
                for (int dx = -K; dx <= K; ++dx)
                    if (inShape(dx, dy) && dx >= dxmin && dx <= dxmax && dy >= dymin && dy <= dymax)
                        sumG += expf(-static_cast<float>(dx * dx + dy * dy));
            float W[3] = {}, S[3] = {};
            for (int yc = std::max(-dymin, y - L); yc <= std::min(h - 1 - dymax, y + L); ++yc) {
                const int r = L - std::abs(yc - y);
                for (int xc = std::max(-dxmin, x - r); xc <= std::min(w - 1 - dxmax, x + r); ++xc) {
                    float acc[3] = {};
                    for (int dy = -K; dy <= K; ++dy)
                        for (int dx = -K; dx <= K; ++dx) {
                            if (!inShape(dx, dy) || dx < dxmin || dx > dxmax || dy < dymin || dy > dymax)
                                continue;
                            const float g = expf(-static_cast<float>(dx * dx + dy * dy));
                            for (int k = 0; k < (c.luminance ? 1 : 3); ++k) {
                                const int ch = c.luminance ? 3 : k;
                                const float d = chan(xc + dx, yc + dy, ch) - chan(x + dx, y + dy, ch);
                                acc[k] += g * (d * d);
                            }
                        }
                    for (int k = 0; k < 3; ++k) {
                        const float wt = weight(static_cast<int>((65535.0f / sumG) * acc[c.luminance ? 0 : k]));
                        W[k] += wt;
                        S[k] += wt * chan(xc, yc, k);
                    }
                }
            }
            float c0[3], v[3];
            for (int k = 0; k < 3; ++k)
                c0[k] = chan(x, y, k);
            const float m = 1.0f; // the flat mask curve at 1
            for (int k = 0; k < 3; ++k) {
                const float f = S[k] / W[k];
                float e = f;
                if (c.sharpen && c.luminance) {
                    const float s = 2.0f * c0[k] - f;
                    e = s + 0.2f * (s - c0[k]);
                } else if (c.sharpen) {
                    e = 2.0f * c0[k] - f;
                }
                v[k] = c0[k] * (1.0f - m) + e * m;
                v[k] = v[k] < 0.0f ? 0.0f : v[k] > 1.0f ? 1.0f : v[k];
                out[(static_cast<size_t>(y) * w + x) * 3 + k] = static_cast<uint16_t>(static_cast<int>(v[k] * 65535.0f));
            }
        }
    return out;
}

class NLFrame : public FilterTest, public ::testing::WithParamInterface<NLCase> {
protected:
    void TearDown() override
    {
        g_nlGeneralPathOnly = false;
        g_nlSharedDifferences = true;
        FilterTest::TearDown();
    }
    MP_Params block() const
    {
        MP_Params p = blankParams();
        nlDefaults(p, GetParam());
        return p;
    }
};

TEST_P(NLFrame, ClippedPathEqualsTheWrittenOutDefinition)
{
    const int w = 13, h = 11;
    const Image src = noisy(w, h, 30000, 20000, 40000, 3000);
    for (float quality : {0.0f, 0.223f, 0.6f}) {
        g_nlGeneralPathOnly = true;
        MP_Params p = block();
        p.p[1][0] = quality;
        EXPECT_EQ(runCopy(GetParam().name, w, h, src, p), nlReference(GetParam(), src, w, h, p)) << quality;
    }
}

TEST_P(NLFrame, InteriorPathDiffersByOneUnitAtMost)
{
    const int w = 40, h = 36;
    const Image src = noisy(w, h, 30000, 20000, 40000, 2500);
    for (float quality : {0.0f, 0.223f, 1.0f}) {
        MP_Params p = block();
        p.p[1][0] = quality;
        g_nlGeneralPathOnly = true;
        const Image general = runCopy(GetParam().name, w, h, src, p);
        g_nlGeneralPathOnly = false;
        const Image interior = runCopy(GetParam().name, w, h, src, p);
        EXPECT_LE(maxDifference(general, interior), 1) << quality;
    }
}

TEST_P(NLFrame, RunsOfPixelsGiveTheBitsOfSinglePixels)
{
    const int w = 57, h = 30;
    const Image src = noisy(w, h, 30000, 20000, 40000, 2500);
    mp_filters::g_filterRunWalk = false;
    const Image single = runCopy(GetParam().name, w, h, src, block());
    mp_filters::g_filterRunWalk = true;
    EXPECT_EQ(runCopy(GetParam().name, w, h, src, block()), single);
}

TEST_P(NLFrame, SharedDifferencesGiveTheBitsOfThePerPixelPath)
{
    // Odd sizes and thread counts give interior spans of every width mod 8
    // (and some narrower than a lane group); 23 columns leave no interior at
    // the finest quality. The strength of 0.9 spreads the weights over the table.
    struct Size {
        int w, h;
    };
    for (Size sz : {Size{37, 29}, Size{100, 33}, Size{23, 71}, Size{61, 45}}) {
        const Image src = noisy(sz.w, sz.h, 30000, 20000, 40000, 3000);
        for (float quality : {0.0f, 0.223f, 0.6f, 1.0f})
            for (float strength : {0.3f, 0.9f})
                for (int threads : {1, 3, 4})
                    for (bool portable : {false, true}) {
                        MP_UI_SetIdealThreadCount(threads);
                        mp_filters::g_filterPortable = portable;
                        MP_Params p = block();
                        p.p[0][0] = strength;
                        p.p[1][0] = quality;
                        g_nlSharedDifferences = false;
                        const Image perPixel = runCopy(GetParam().name, sz.w, sz.h, src, p);
                        g_nlSharedDifferences = true;
                        EXPECT_EQ(runCopy(GetParam().name, sz.w, sz.h, src, p), perPixel)
                            << sz.w << "x" << sz.h << " quality " << quality << " strength " << strength << ", "
                            << threads << " threads" << (portable ? ", portable" : "");
                    }
    }
    mp_filters::g_filterPortable = false;
}

TEST_P(NLFrame, ThreadCountsGiveTheSameBits)
{
    // 385 rows: the last band of the row split must end at the height; 5
    // columns: narrower than the column comb of four threads plus one.
    for (auto [w, h] : {std::pair{29, 385}, std::pair{5, 9}}) {
        const Image src = noisy(w, h, 30000, 20000, 40000, 3000);
        MP_UI_SetIdealThreadCount(1);
        const Image one = runCopy(GetParam().name, w, h, src, block());
        for (int n : {3, 4, 8}) {
            MP_UI_SetIdealThreadCount(n);
            EXPECT_EQ(runCopy(GetParam().name, w, h, src, block()), one) << n << " threads";
        }
        for (int x = 0; x < w; ++x)
            EXPECT_NE(at(one, w, x, h - 1, 0), 0xABCD);
    }
}

TEST_P(NLFrame, InPlaceEqualsSeparateBuffers)
{
    const int w = 30, h = 24;
    const Image src = testPicture(w, h);
    Image a = src;
    MP_Params p = block();
    ASSERT_EQ(run(GetParam().name, w, h, a, a, p), 0);
    EXPECT_EQ(a, runCopy(GetParam().name, w, h, src, block()));
}

TEST_P(NLFrame, FullWorkerMatchesReduced)
{
    const int w = 30, h = 24;
    const Image src = testPicture(w, h);
    const Image reduced = runCopy(GetParam().name, w, h, src, block());
    MP_Params p = block();
    setInertGeometry(p, 4);
    EXPECT_EQ(runCopy(GetParam().name, w, h, src, p), reduced);
}

TEST_P(NLFrame, MasksAndCurveAtZeroKeepThePicture)
{
    const int w = 20, h = 16;
    const Image src = testPicture(w, h);
    MP_Params p = block();
    setHidingGeometry(p, 4);
    EXPECT_EQ(runCopy(GetParam().name, w, h, src, p), roundTripped(src));
    p = block();
    setMask(p.p[2], 0.0f);
    EXPECT_EQ(runCopy(GetParam().name, w, h, src, p), roundTripped(src));
}

TEST_P(NLFrame, UniformAndSinglePixelImagesComeBackAfterTheStore)
{
    // 257 is 0.0039215684 in the copy and is stored as 256. A single pixel
    // is its own only candidate and comes back exactly so; a uniform picture
    // may come back one lower from the float sums of its many candidates.
    const Image one = runCopy(GetParam().name, 1, 1, solidImage(1, 1, 257, 30000, 65535), block());
    EXPECT_EQ(one, solidImage(1, 1, 256, roundTrip(30000), 65535));
    const int w = 9, h = 7;
    const Image out = runCopy(GetParam().name, w, h, solidImage(w, h, 257, 30000, 65535), block());
    const Image expected = solidImage(w, h, 256, roundTrip(30000), 65535);
    for (size_t i = 0; i < out.size(); ++i)
        EXPECT_TRUE(out[i] == expected[i] || out[i] + 1 == expected[i]) << i << ": " << out[i];
}

TEST_P(NLFrame, FailuresLeaveTheDestination)
{
    const Image src = testPicture(8, 6);
    MP_Params p = block();
    Image in = src, dst(src.size(), 7);
    EXPECT_EQ(MP_UI_executeKernel(GetParam().name, 8, 6, in.data(), dst.data(), 6, 4, &p, -1, 0.0f, 1.0f), -2);
    EXPECT_EQ(MP_UI_executeKernel(GetParam().name, 8, 6, in.data(), dst.data(), 8, 6, &p, -1, 0.0f, 1.0f), -2);
    ASSERT_EQ(MP_UpdateBuffer(SIZE_MAX / 4), nullptr);
    EXPECT_EQ(MP_UI_executeKernel(GetParam().name, 8, 6, in.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f), -1);
    EXPECT_EQ(dst, Image(src.size(), 7));
    EXPECT_EQ(in, src);
    EXPECT_EQ(run(GetParam().name, 0, 4, in, dst, p), 0);
}

TEST_P(NLFrame, HostileSlidersStayInRange)
{
    const int w = 16, h = 12;
    const Image src = noisy(w, h, 30000, 20000, 40000, 3000);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float q : {nan, -0.2f, 1.5f, 1e30f}) {
        MP_Params p = block();
        p.p[1][0] = q;
        p.p[0][0] = nan;
        int r = -9;
        const Image out = runCopy(GetParam().name, w, h, src, p, &r);
        EXPECT_EQ(r, 0);
        MP_Params z = block();
        z.p[1][0] = std::isnan(q) || q < 0 ? 0.0f : 1.0f;
        z.p[0][0] = 0.0f;
        EXPECT_EQ(out, runCopy(GetParam().name, w, h, src, z)) << q;
    }
}

INSTANTIATE_TEST_SUITE_P(NL, NLFrame, ::testing::ValuesIn(kNL),
                         [](const ::testing::TestParamInfo<NLCase>& i) { return std::string(i.param.name + 12); });

using NLTest = FilterTest;

TEST_F(NLTest, QualityGivesPatchAndSearchRadius)
{
    struct Row {
        float quality;
        int q, K, L;
    } rows[] = {{0.0f, 0, 1, 1},  {0.223f, 2, 2, 3}, {1.0f, 9, 3, 10}, {0.5f, 4, 2, 5},
                {0.56f, 5, 3, 6}, {1.5f, 9, 3, 10},  {-0.2f, 0, 1, 1}, {std::numeric_limits<float>::quiet_NaN(), 0, 1, 1}};
    for (const Row& r : rows) {
        const MP_NLWindow w = MP_nlWindow(r.quality);
        EXPECT_EQ(w.q, r.q) << r.quality;
        EXPECT_EQ(w.K, r.K) << r.quality;
        EXPECT_EQ(w.L, r.L) << r.quality;
    }
}

TEST_F(NLTest, FilterWidthFollowsStrengthAndPreview)
{
    EXPECT_FLOAT_EQ(MP_nlFilterWidth(0.0f, 0.09f, 1.0f), 0.000001f);
    EXPECT_FLOAT_EQ(MP_nlFilterWidth(0.5f, 0.27f, 0.0f), 0.000001f);
    EXPECT_FLOAT_EQ(MP_nlFilterWidth(0.5f, 0.27f, 1.0f), 0.25f * 0.27f + 0.000001f);
    // A quarter-size preview filters with 1 - sqrt(0.75) = 0.134 of it.
    EXPECT_NEAR(MP_nlFilterWidth(1.0f, 0.09f, 0.25f), 0.134f * 0.09f, 0.0001f);
    EXPECT_FLOAT_EQ(MP_nlFilterWidth(std::numeric_limits<float>::quiet_NaN(), 0.09f, 1.0f), 0.000001f);
}

TEST_F(NLTest, StrengthZeroKeepsOnlyExactMatches)
{
    const int w = 12, h = 10;
    const Image src = noisy(w, h, 30000, 20000, 40000, 4000);
    MP_Params p = blankParams();
    nlDefaults(p, kNL[0]);
    p.p[0][0] = 0.0f;
    const Image out = runCopy("MP_calcPixelDeNoiseLumHD", w, h, src, p);
    EXPECT_EQ(MP_temp_table[0], 1.0f);
    EXPECT_EQ(MP_temp_table[1], 0.0f);
    // Noise far above 1/256 of full scale: every pixel its own only match.
    EXPECT_EQ(out, roundTripped(src));
}

TEST_F(NLTest, DenoiseSmoothsNoiseAndSharpenStretchesIt)
{
    const int w = 48, h = 40;
    const Image src = noisy(w, h, 30000, 30000, 30000, 1500);
    const double before = spread(src, 1);
    for (const NLCase& c : kNL) {
        MP_Params p = blankParams();
        nlDefaults(p, c);
        p.p[0][0] = c.sharpen ? 0.5f : 1.0f;
        const double after = spread(runCopy(c.name, w, h, src, p), 1);
        if (c.sharpen)
            EXPECT_GT(after, before) << c.name;
        else
            EXPECT_LT(after, before * 0.5) << c.name;
    }
}

TEST_F(NLTest, SharpenClampsItsOvershoot)
{
    // Fine checkers near black and near white: pushed away from their local
    // mean they pass both ends.
    const int w = 16, h = 16;
    Image src(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                src[(static_cast<size_t>(y) * w + x) * 3 + c] =
                    static_cast<uint16_t>(x < w / 2 ? ((x + y) % 2 ? 2000 : 0) : ((x + y) % 2 ? 63535 : 65535));
    for (const char* name : {"MP_calcPixelHDLumSharpen", "MP_calcPixelHDSharpen"}) {
        MP_Params p = blankParams();
        nlDefaults(p, kNL[2]);
        p.p[0][0] = 1.0f;
        const Image out = runCopy(name, w, h, src, p);
        EXPECT_EQ(*std::min_element(out.begin(), out.end()), 0) << name;
        EXPECT_EQ(*std::max_element(out.begin(), out.end()), 65535) << name;
    }
}

TEST_F(NLTest, EdgePixelsTakeCandidatesOnlyWhereAWholePatchFits)
{
    // Nothing wraps and nothing reaches further than L + K rows: with K = 1,
    // L = 1 a brighter row 0 changes rows 0 to 2 at most.
    const int w = 9, h = 8;
    Image src = solidImage(w, h, 20000, 20000, 20000);
    Image bright = src;
    for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c)
            bright[static_cast<size_t>(x) * 3 + c] = 20100;
    MP_Params p = blankParams();
    nlDefaults(p, kNL[0]);
    p.p[0][0] = 1.0f;
    p.p[1][0] = 0.0f; // K = 1, L = 1
    const Image a = runCopy("MP_calcPixelDeNoiseLumHD", w, h, src, p);
    const Image b = runCopy("MP_calcPixelDeNoiseLumHD", w, h, bright, p);
    for (int y = 3; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(at(a, w, x, y, 0), at(b, w, x, y, 0)) << x << "," << y;
}

} // namespace
