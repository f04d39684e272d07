#include "enginefixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr float k = 1.0f / 65535.0f;

const char* const kKernels[] = {"MP_calcPixelTMfattal",      "MP_calcPixelTMmeanlog",   "MP_calcPixelTMmeanexp",
                                "MP_calcPixelTMsigmoid",     "MP_calcPixelTMmeandiff",  "MP_calcPixelTMmeanlin",
                                "MP_calcPixelTMgradlum",     "MP_calcPixelTMconstgradlum",
                                "MP_calcPixelTMlummeangrad", "MP_calcPixelTMintense"};

// Catalogue defaults ("Radius", "Intensität", "Lichtkompression",
// "Makrodetail", "Mikrodetail"); TMintense has no catalogue entry.
struct Defaults {
    const char* kernel;
    float v[5];
};
const Defaults kDefaults[] = {
    {"MP_calcPixelTMfattal", {0.5f, 0.65f, 0.25f, 0.5f, 0.0f}},
    {"MP_calcPixelTMmeanlog", {0.5f, 0.701f, 0.25f, 0.5f, 0.0f}},
    {"MP_calcPixelTMmeanexp", {0.5f, 0.701f, 0.25f, 0.5f, 0.0f}},
    {"MP_calcPixelTMsigmoid", {0.5f, 0.701f, 0.25f, 0.4f, 0.0f}},
    {"MP_calcPixelTMmeandiff", {0.5f, 0.701f, 0.25f, 0.6f, 0.1f}},
    {"MP_calcPixelTMmeanlin", {0.5f, 0.701f, 0.25f, 0.25f, 0.0f}},
    {"MP_calcPixelTMgradlum", {0.5f, 0.601f, 0.25f, 0.5f, 0.0f}},
    {"MP_calcPixelTMconstgradlum", {0.5f, 0.601f, 0.25f, 0.5f, 0.0f}},
    {"MP_calcPixelTMlummeangrad", {0.5f, 0.401f, 0.25f, 0.5f, 0.0f}},
    {"MP_calcPixelTMintense", {0.5f, 0.5f, 0.25f, 0.5f, 0.0f}},
};

// A deterministic textured RGB48 picture.
std::vector<uint16_t> texture(int w, int h, uint32_t seed)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const size_t i = (static_cast<size_t>(y) * w + x) * 3;
            img[i] = static_cast<uint16_t>((x * 65535) / (w > 1 ? w - 1 : 1));
            img[i + 1] = static_cast<uint16_t>((y * 65535) / (h > 1 ? h - 1 : 1));
            img[i + 2] = static_cast<uint16_t>(seed >> 16);
        }
    return img;
}

class Tonemapping : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // The engine's start values.
        MP_UI_SetKernelSampleRate(0.8f);
        MP_UI_SetCalculationQuality(0.5f);
        MP_UI_SetKernelExponent(4.0f);
        MP_UI_SetShowExexcuteKernelOutput(0);
    }

    static MP_Params block(const char* kernel, float previewScale = 1.0f)
    {
        MP_Params p{};
        p.loopstep = 1;
        p.previewscalingfactor = previewScale;
        p.kernel_exponent = MP_UI_GetKernelExponent();
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        for (const Defaults& d : kDefaults)
            if (std::string(d.kernel) == kernel)
                for (int s = 0; s < 5; ++s)
                    p.p[s][0] = d.v[s];
        // "Maskierung" at its default: the effect everywhere.
        for (int i = 0; i < 6; ++i) {
            p.p[5][2 * i] = 0.2f * static_cast<float>(i);
            p.p[5][2 * i + 1] = 1.0f;
        }
        p.p[6][0] = 0.0f;
        p.p[6][1] = 100.0f;
        return p;
    }

    static int run(const char* kernel, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, int w, int h,
                   MP_Params& p, int category = -1)
    {
        return OpenCLManager::getInstance()->executeKernel(kernel, w, h, reinterpret_cast<float*>(src.data()),
                                                           reinterpret_cast<float*>(dst.data()), 6, 6, &p, category,
                                                           0.0f, 1.0f, true, true);
    }

    static std::vector<uint16_t> output(const char* kernel, const std::vector<uint16_t>& src, int w, int h,
                                        MP_Params p, int* result = nullptr)
    {
        std::vector<uint16_t> in = src, out(src.size(), 7);
        const int r = run(kernel, in, out, w, h, p);
        if (result)
            *result = r;
        return out;
    }
};

// ---- Radius, step and the light-compression pieces --------------------------------------

TEST_F(Tonemapping, RadiusAndStep)
{
    struct Case {
        float fraction, preview, quality;
        int loopstep;
        int r, step;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {0.5f, 1.0f, 0.5f, 1, 117, 9},  // the defaults: u = 125, step 1 + 125/14
        {0.0f, 1.0f, 0.5f, 1, 1, 1},    // "Radius" at its minimum
        {0.0f, 1.0f, 0.5f, 3, 1, 3},    // step = loopstep
        {1.0f, 1.0f, 1.0f, 1, 468, 36}, // u = 500: step 36, 500 - 500 mod 36
        {0.5f, 0.25f, 0.5f, 1, 30, 3},  // u = 31
        {0.02f, 1.0f, 0.5f, 1, 5, 1},   // u = 5
        {nan, 1.0f, 0.5f, 1, 1, 1},     // an undefined fraction is no radius
        {7.0f, 1.0f, 1.0f, 1, 468, 36}, // never beyond the window tables
    };
    for (const Case& c : cases) {
        MP_Params p{};
        p.p[0][0] = c.fraction;
        p.previewscalingfactor = c.preview;
        p.unit_kernel_multiplier = c.quality;
        p.loopstep = c.loopstep;
        p.cpu_loopstep_mulitplier = 14.0f;
        int r = 0, step = 0;
        MP_calcTMRadius(&p, &r, &step);
        EXPECT_EQ(r, c.r) << c.fraction << " " << c.preview << " " << c.quality;
        EXPECT_EQ(step, c.step) << c.fraction;
    }
}

TEST_F(Tonemapping, LightCompression)
{
    // licomp 0: only luminances above 0.99, with exponent 1.001.
    MP_Pre_calcPixelLItable(0.0f);
    EXPECT_EQ(MP_litemp_table[65535], 1.0f);
    EXPECT_EQ(MP_litemp_table[32768], std::pow(32768.0f * k, 1.001f));
    const MP_float3 c{0.9f, 0.5f, 0.2f};
    MP_float3 out = MP_calcTMtonecompressionfromtable(c, 0.98f, 0.0f);
    EXPECT_EQ(out.x, c.x);
    EXPECT_EQ(out.z, c.z);
    // Luminance 0.995: s = (0.995 - 0.99) / 0.01 = 0.5.
    const float s = (0.995f - (1.0f - 0.01f)) / 0.01f;
    EXPECT_NEAR(s, 0.5f, 1e-4f);
    out = MP_calcTMtonecompressionfromtable(c, 0.995f, 0.0f);
    const float lit = MP_litemp_table[static_cast<int>(c.y * 65535.0f)];
    EXPECT_EQ(out.y, (1.0f - s) * c.y + s * lit);
    EXPECT_NEAR(lit, std::pow(c.y, 1.001f), 1e-4f);

    // licomp 1: every pixel mixed toward c^2 by its own luminance.
    MP_Pre_calcPixelLItable(1.0f);
    EXPECT_EQ(MP_litemp_table[32768], std::pow(32768.0f * k, 2.0f));
    out = MP_calcTMtonecompressionfromtable(c, 0.3f, 1.0f);
    const float sq = MP_litemp_table[static_cast<int>(c.x * 65535.0f)];
    EXPECT_NEAR(out.x, 0.7f * c.x + 0.3f * sq, 1e-6f);
    const MP_float3 direct = MP_calcTMtonecompression(c, 0.3f, 1.0f);
    EXPECT_NEAR(direct.x, out.x, 1e-4f);
    EXPECT_NEAR(direct.y, out.y, 1e-4f);
}

TEST_F(Tonemapping, TailDampingDetailAndDarkCompression)
{
    const MP_float3 lum{0.3333f, 0.3334f, 0.3333f};
    const MP_float3 c0b{0.4f, 0.3f, 0.2f};
    const MP_float3 ce{0.8f, 0.5f, 0.1f};

    // Luminance 0 or 1: t6 = 1, the light-compressed colour comes back.
    for (float lum0 : {0.0f, 1.0f}) {
        const MP_float3 out = MP_calcTMdampdetdark(c0b, ce, lum, 0.8f, 0.05f, 1.0f, 0.5f, lum0);
        EXPECT_EQ(out.x, c0b.x);
        EXPECT_EQ(out.y, c0b.y);
        EXPECT_EQ(out.z, c0b.z);
    }
    // Luminance 0.5: t6 = 0; detail 0: H = 1, the damped colour alone.
    const MP_float3 damped = MP_calcTMdampbrightness(c0b, ce, lum, 0.8f);
    MP_float3 out = MP_calcTMdampdetdark(c0b, ce, lum, 0.8f, 0.05f, 0.0f, 0.7f, 0.5f);
    EXPECT_NEAR(out.x, damped.x, 1e-6f);
    EXPECT_NEAR(out.y, damped.y, 1e-6f);
    // Detail 1, micro detail 0: the damped colour times 1 + 1.3 lumdet.
    out = MP_calcTMdampdetdark(c0b, ce, lum, 0.8f, 0.05f, 1.0f, 0.0f, 0.5f);
    EXPECT_NEAR(out.x, damped.x * (1.0f + 1.3f * 0.05f), 1e-6f);
    EXPECT_NEAR(out.z, damped.z * (1.0f + 1.3f * 0.05f), 1e-6f);
    const MP_float3 detailed = MP_calcTMdetail(damped, 0.05f, 1.0f, 0.0f);
    EXPECT_NEAR(detailed.y, out.y, 1e-6f);
    // Dark compression alone: v = 1 - ((0.5 - lum0) * 2)^6.
    const MP_float3 dark = MP_calcTMdarkcompression(c0b, ce, 0.25f);
    const float v = 1.0f - std::pow(0.5f, 6.0f);
    EXPECT_NEAR(dark.x, c0b.x * (1.0f - v) + ce.x * v, 1e-6f);

    // A black gained colour stays finite and black, whatever the detail.
    const MP_float3 black{0.0f, 0.0f, 0.0f};
    for (float micro : {0.0f, 0.5f, 1.0f}) {
        out = MP_calcTMdampdetdark(black, black, lum, 0.9f, 0.2f, 1.0f, micro, 0.0f);
        EXPECT_EQ(out.x, 0.0f);
        EXPECT_EQ(out.y, 0.0f);
        out = MP_calcTMdampdetdark(black, black, lum, 0.9f, 0.2f, 1.0f, micro, 0.3f);
        EXPECT_EQ(out.z, 0.0f);
        const MP_float3 d = MP_calcTMdetail(black, 0.2f, 1.0f, micro);
        EXPECT_EQ(d.x, 0.0f);
    }
}

// ---- The weight prepass ------------------------------------------------------------------

TEST_F(Tonemapping, WeightPrepassFillsEveryRowAndTheWidestColumns)
{
    for (int threads : {1, 8}) {
        MP_UI_SetIdealThreadCount(threads);
        std::fill(std::begin(localexp), std::end(localexp), -1.0f);
        // r = 1: with eight tasks several are empty; rows -1, 0, 1 all filled.
        MP_runWindowWeightsPass(1, 32767.5f, nullptr);
        for (int ky = -1; ky <= 1; ++ky)
            for (int kx = -1; kx <= 1; ++kx)
                EXPECT_EQ(MP_localexpAt(kx, ky), MP_exp_table[std::min(65535, int(float(kx * kx + ky * ky) * 32767.5f))])
                    << threads << " " << kx << " " << ky;
        EXPECT_EQ(MP_localexpAt(2, 0), -1.0f);
        EXPECT_EQ(MP_localexpAt(0, 2), -1.0f);
    }

    // Rows whose half-width exceeds r get their columns up to it: the
    // widest row of a radius-500 window reaches 501.
    MP_Params p{};
    for (int ky = -500; ky <= 500; ++ky)
        p.lx[500 + ky] = 1;
    p.lx[500] = 501;
    p.lx[500 + 7] = 9;
    const float A = 1.0f / 9.0f;
    MP_runWindowWeightsPass(3, A, &p); // rows beyond r stay as they were
    EXPECT_EQ(MP_localexpAt(501, 0), MP_exp_table[std::min(65535, int(float(501 * 501) * A))]);
    EXPECT_EQ(MP_localexpAt(-501, 0), MP_localexpAt(501, 0));
    EXPECT_EQ(MP_localexpAt(3, 2), MP_exp_table[int(13.0f * A)]);
    EXPECT_EQ(MP_localexpAt(9, 7), -1.0f);
    MP_runWindowWeightsPass(500, 65535.0f / (500.0f * 1000.0f), &p);
    EXPECT_EQ(MP_localexpAt(-501, 0), MP_exp_table[int(float(501 * 501) * (65535.0f / 500000.0f))]);
    EXPECT_EQ(MP_localexpAt(-500, -500), MP_exp_table[65535]);
}

// ---- The window walk ---------------------------------------------------------------------

// The frame's window walk of one pixel, literally: rows from y1, columns from
// x1 found by stepping (wrapped around for panoramas); `visit` gets the
// offsets kx, ky and the index of the pixel read.
template <typename Visit>
void walkWindow(int w, int h, int x, int y, int r, int step, bool panorama, const std::vector<int>& hw, Visit visit)
{
    int y1 = -r;
    if (panorama)
        y1 = y < r ? -y : -r;
    else
        while (y + y1 < 0)
            y1 += step;
    const int y2 = std::min(r, h - 1 - y);
    for (int ky = y1; ky <= y2; ky += step) {
        const int hh = hw[ky + r];
        int x1 = -hh, x2 = hh;
        if (!panorama) {
            while (x + x1 < 0)
                x1 += step;
            x2 = std::min(hh, w - 1 - x);
        }
        for (int kx = x1; kx <= x2; kx += step) {
            const int col = panorama ? ((x + kx) % w + w) % w : x + kx;
            visit(kx, ky, static_cast<size_t>(y + ky) * w + col);
        }
    }
}

// The sums of the luminance walk, the tables indexed by the luminance difference.
struct Sums {
    float lumd = 0, mean = 0, dist = 0, det = 0;
};
Sums literalWalk(const std::vector<uint16_t>& lum, int w, int h, int x, int y, int K, int r, int step, bool panorama,
                 const std::vector<int>& hw, unsigned sums)
{
    Sums s;
    walkWindow(w, h, x, y, r, step, panorama, hw, [&](int kx, int ky, size_t at) {
        const int L1 = lum[at];
        const int d = K - L1;
        const int a = std::abs(d);
        const float wgt = MP_localexpAt(kx, ky) * MP_temp_table[a];
        s.lumd += wgt;
        if (sums & mp_tm::kSumMean)
            s.mean += static_cast<float>(L1) * wgt;
        if (sums & mp_tm::kSumAbs)
            s.dist += static_cast<float>(a) * wgt;
        if (sums & mp_tm::kSumSigned)
            s.dist += static_cast<float>(d) * wgt;
        s.det += (d >= 0 ? MP_temp2_table[a] : -MP_temp2_table[a]) * wgt;
    });
    return s;
}

struct WalkCase {
    int w, h, r, step, maxHalf;
    bool panorama;
};

// Random half-widths 0..maxHalf for the window rows -r..r, also stored in the
// block's row table the weight prepass reads.
template <typename Random>
std::vector<int> randomHalfWidths(const WalkCase& c, Random& rnd, MP_Params& p)
{
    std::vector<int> hw(2 * c.r + 1);
    for (int ky = -c.r; ky <= c.r; ++ky) {
        hw[ky + c.r] = static_cast<int>(rnd() % static_cast<unsigned>(c.maxHalf + 1));
        p.lx[500 + ky] = static_cast<short>(hw[ky + c.r]);
    }
    return hw;
}

// The walkers of every set this processor has (portable, AVX2, AVX-512), as
// get() gives them with that set the widest allowed.
template <class Get> auto walkers(Get get)
{
    std::vector<decltype(get())> fns;
    for (mp_tm::WalkerSet set : {mp_tm::WalkerSet::Portable, mp_tm::WalkerSet::Avx2, mp_tm::WalkerSet::Best})
        if (mp_tm::walkersAvailable(set)) {
            mp_tm::useWalkers(set);
            fns.push_back(get());
        }
    mp_tm::useWalkers(mp_tm::WalkerSet::Best);
    return fns;
}

class WindowWalk : public Tonemapping, public ::testing::WithParamInterface<WalkCase> {
protected:
    void SetUp() override
    {
        Tonemapping::SetUp();
        // The tables as the prepasses define them.
        for (int i = 0; i < 65536; ++i) {
            MP_temp_table[i] = 1.0f / (static_cast<float>(i) * k + 0.001f);
            MP_temp2_table[i] = std::sqrt(static_cast<float>(i) * k);
        }
    }
};

TEST_P(WindowWalk, EveryLaneSumsItsOwnWindowInSampleOrder)
{
    const WalkCase c = GetParam();
    uint32_t seed = 99u + static_cast<uint32_t>(c.w * 31 + c.h);
    auto rnd = [&] { return (seed = seed * 1664525u + 1013904223u) >> 8; };

    MP_Params p{};
    const std::vector<int> hw = randomHalfWidths(c, rnd, p);
    MP_runWindowWeightsPass(c.r, 65535.0f / (float(c.r) * (2.0f * float(c.r))), &p);

    // The plane with its pads: wrapped columns in panorama mode, garbage
    // otherwise (a walker must never count it).
    std::vector<uint16_t> lum(static_cast<size_t>(c.w) * c.h);
    for (auto& v : lum)
        v = static_cast<uint16_t>(rnd());
    const int pad = c.maxHalf + mp_tm::kChunk;
    const ptrdiff_t stride = c.w + 2 * pad;
    std::vector<uint16_t> padded(static_cast<size_t>(stride) * c.h);
    for (int y = 0; y < c.h; ++y)
        for (int i = -pad; i < c.w + pad; ++i)
            padded[y * stride + pad + i] = (i >= 0 && i < c.w) ? lum[y * c.w + i]
                                           : c.panorama ? lum[y * c.w + ((i % c.w) + c.w) % c.w]
                                                        : static_cast<uint16_t>(rnd());
    const mp_tm::Window win{padded.data() + pad, stride, pad, c.w, c.h, c.r, c.step, c.panorama, hw.data()};

    for (unsigned sums : {0u, 1u, 3u, 4u, 5u}) {
        for (mp_tm::StatsFn fn : walkers([sums] { return mp_tm::statsFunction(sums); })) {
            for (int y = 0; y < c.h; ++y) {
                for (int x0 = 0; x0 < c.w; x0 += mp_tm::kChunk) {
                    const int n = std::min(mp_tm::kChunk, c.w - x0);
                    int K[mp_tm::kChunk] = {};
                    for (int i = 0; i < n; ++i)
                        K[i] = static_cast<int>(rnd() & 0xFFFF);
                    mp_tm::Stats st;
                    fn(win, y, x0, n, K, st);
                    for (int i = 0; i < n; ++i) {
                        const Sums ref = literalWalk(lum, c.w, c.h, x0 + i, y, K[i], c.r, c.step, c.panorama, hw, sums);
                        ASSERT_EQ(st.lumd[i], ref.lumd) << "x " << x0 + i << " y " << y << " sums " << sums;
                        ASSERT_EQ(st.det[i], ref.det) << "x " << x0 + i << " y " << y;
                        if (sums & mp_tm::kSumMean) {
                            ASSERT_EQ(st.mean[i], ref.mean) << "x " << x0 + i << " y " << y;
                        }
                        if (sums & (mp_tm::kSumAbs | mp_tm::kSumSigned)) {
                            ASSERT_EQ(st.dist[i], ref.dist) << "x " << x0 + i << " y " << y;
                        }
                    }
                }
            }
        }
    }
}

// TMmeandiff's walk over the RGB source, literally: 14-bit luminance per
// sample, MP_sqrt_table for the root, colour sums starting at 0.01.
struct ColourSums {
    float lumd = 0, mean = 0, det = 0, red = 0.01f, green = 0.01f, blue = 0.01f;
};
ColourSums literalColourWalk(const std::vector<uint16_t>& img, int w, int h, int x, int y, int K, int r, int step,
                             bool panorama, const std::vector<int>& hw, int wr, int wg, int wb)
{
    ColourSums s;
    walkWindow(w, h, x, y, r, step, panorama, hw, [&](int kx, int ky, size_t at) {
        const uint16_t* px = &img[at * 3];
        const int L1 = (wr * px[0] + wg * px[1] + wb * px[2]) >> 14;
        const int d = K - L1;
        const int a = std::abs(d);
        const float wgt = MP_localexpAt(kx, ky) * MP_temp_table[a];
        s.lumd += wgt;
        s.mean += static_cast<float>(L1) * wgt;
        s.det += (d >= 0 ? MP_sqrt_table[a] : -MP_sqrt_table[a]) * wgt;
        s.red += static_cast<float>(px[0]) * wgt;
        s.green += static_cast<float>(px[1]) * wgt;
        s.blue += static_cast<float>(px[2]) * wgt;
    });
    return s;
}

TEST_P(WindowWalk, ColourWalkOfMeandiff)
{
    const WalkCase c = GetParam();
    uint32_t seed = 7u + static_cast<uint32_t>(c.w * 13 + c.h);
    auto rnd = [&] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    MP_Params p{};
    const std::vector<int> hw = randomHalfWidths(c, rnd, p);
    MP_runWindowWeightsPass(c.r, 1.0f / float(c.r * c.r), &p);
    std::vector<uint16_t> img(static_cast<size_t>(c.w) * c.h * 3);
    for (auto& v : img)
        v = static_cast<uint16_t>(rnd());
    const int wr = 3483, wg = 11717, wb = 1182; // Rec. 709 in 14 bits
    mp_tm::ColourWindow win{img.data(), c.w, c.h, c.r, c.step, c.panorama, hw.data(), wr, wg, wb};
    const int widest = *std::max_element(hw.begin(), hw.end());
    std::vector<uint16_t> planes(mp_tm::colourPlaneSize(c.w, c.h, widest), 0xBEEF);
    mp_tm::attachColourPlanes(win, planes.data(), widest);
    mp_tm::fillColourPlaneRows(win, 0, c.h);
    for (mp_tm::ColourStatsFn fn : walkers(mp_tm::colourStatsFunction)) {
        for (int y = 0; y < c.h; ++y) {
            for (int x0 = 0; x0 < c.w; x0 += mp_tm::kChunk) {
                const int n = std::min(mp_tm::kChunk, c.w - x0);
                int K[mp_tm::kChunk] = {};
                for (int i = 0; i < n; ++i)
                    K[i] = static_cast<int>(rnd() & 0xFFFF);
                mp_tm::ColourStats st;
                fn(win, y, x0, n, K, st);
                for (int i = 0; i < n; ++i) {
                    const ColourSums ref =
                        literalColourWalk(img, c.w, c.h, x0 + i, y, K[i], c.r, c.step, c.panorama, hw, wr, wg, wb);
                    ASSERT_EQ(st.lumd[i], ref.lumd) << "x " << x0 + i << " y " << y;
                    ASSERT_EQ(st.mean[i], ref.mean) << "x " << x0 + i << " y " << y;
                    ASSERT_EQ(st.det[i], ref.det) << "x " << x0 + i << " y " << y;
                    ASSERT_EQ(st.red[i], ref.red) << "x " << x0 + i << " y " << y;
                    ASSERT_EQ(st.green[i], ref.green) << "x " << x0 + i << " y " << y;
                    ASSERT_EQ(st.blue[i], ref.blue) << "x " << x0 + i << " y " << y;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowWalk,
                         ::testing::Values(WalkCase{1, 1, 1, 1, 1, false}, WalkCase{3, 2, 5, 2, 6, false},
                                           WalkCase{17, 5, 9, 3, 12, false}, WalkCase{70, 9, 20, 7, 25, false},
                                           WalkCase{130, 3, 4, 1, 5, false}, WalkCase{9, 4, 30, 9, 501, false},
                                           WalkCase{3, 2, 5, 2, 6, true}, WalkCase{17, 5, 9, 3, 12, true},
                                           WalkCase{70, 9, 20, 7, 25, true}, WalkCase{6, 3, 12, 5, 501, true}));

TEST_F(Tonemapping, WalkersComputeTheTableEntriesExactly)
{
    // A run fills the range-weight and root tables.
    auto img = texture(6, 4, 2);
    MP_Params p = block("MP_calcPixelTMfattal");
    ASSERT_EQ(run("MP_calcPixelTMfattal", img, img, 6, 4, p), 0);
    for (int i = 0; i < 65536; ++i) {
        ASSERT_EQ(MP_temp_table[i], 1.0f / (static_cast<float>(i) * k + 0.001f)) << i;
        ASSERT_EQ(MP_temp2_table[i], std::sqrt(static_cast<float>(i) * k)) << i;
    }

    // One sample per pixel (the pixel itself, weight 1) on a black plane:
    // pixel i of the walk has a = K = i.
    const int w = 4096, h = 16;
    std::vector<int> hw(1, 0); // radius 0: the centre row, the centre column
    MP_runWindowWeightsPass(1, 1.0f, nullptr);
    ASSERT_EQ(MP_localexpAt(0, 0), 1.0f);
    const int pad = mp_tm::kChunk;
    std::vector<uint16_t> plane(static_cast<size_t>(w + 2 * pad) * h, 0);
    const mp_tm::Window win{plane.data() + pad, w + 2 * pad, pad, w, h, 0, 1, false, hw.data()};
    std::vector<uint16_t> rgb(static_cast<size_t>(w) * h * 3, 0);
    mp_tm::ColourWindow cwin{rgb.data(), w, h, 0, 1, false, hw.data(), 16384, 0, 0};
    std::vector<uint16_t> planes(mp_tm::colourPlaneSize(w, h, 0));
    mp_tm::attachColourPlanes(cwin, planes.data(), 0);
    mp_tm::fillColourPlaneRows(cwin, 0, h);
    const auto statsFns = walkers([] { return mp_tm::statsFunction(mp_tm::kSumMean); });
    const auto colourFns = walkers(mp_tm::colourStatsFunction);
    ASSERT_EQ(statsFns.size(), colourFns.size());
    for (size_t set = 0; set < statsFns.size(); ++set) {
        SCOPED_TRACE("walker set " + std::to_string(set));
        const mp_tm::StatsFn fn = statsFns[set];
        const mp_tm::ColourStatsFn cfn = colourFns[set];
        for (int y = 0; y < h; ++y)
            for (int x0 = 0; x0 < w; x0 += mp_tm::kChunk) {
                int K[mp_tm::kChunk];
                for (int i = 0; i < mp_tm::kChunk; ++i)
                    K[i] = y * w + x0 + i;
                mp_tm::Stats st;
                fn(win, y, x0, mp_tm::kChunk, K, st);
                mp_tm::ColourStats cst;
                cfn(cwin, y, x0, mp_tm::kChunk, K, cst);
                for (int i = 0; i < mp_tm::kChunk; ++i) {
                    const int a = K[i];
                    ASSERT_EQ(st.lumd[i], MP_temp_table[a]) << a;
                    ASSERT_EQ(st.det[i], MP_temp2_table[a] * MP_temp_table[a]) << a;
                    ASSERT_EQ(cst.det[i], MP_sqrt_table[a] * MP_temp_table[a]) << a;
                }
            }
    }
    mp_tm::usePortableWalkers(false);
}

TEST_F(Tonemapping, TailOfAChunkIsTheTailOfEachPixel)
{
    uint32_t seed = 5;
    auto rnd = [&] { return static_cast<float>((seed = seed * 1664525u + 1013904223u) >> 8) / 16777216.0f; };
    const mp_tm::TailParams tp{0.2126f, 0.7152f, 0.0722f, 0.9f, 0.6f, 0.3f};
    for (mp_tm::TailFn tail : walkers(mp_tm::tailFunction)) {
        mp_tm::TailChunk tc;
        for (int i = 0; i < mp_tm::kChunk; ++i) {
            for (int c = 0; c < 3; ++c) {
                tc.c0b[c][i] = rnd();
                tc.ce[c][i] = i % 7 == 0 ? 0.0f : rnd() * 3.0f - 0.5f; // black and out-of-range colours too
            }
            tc.lumdet[i] = rnd() * 0.2f - 0.1f;
            tc.lum0[i] = i % 9 == 0 ? 0.5f : rnd();
        }
        tail(tc, mp_tm::kChunk, tp);
        for (int i = 0; i < mp_tm::kChunk; ++i) {
            const MP_float3 want = MP_calcTMdampdetdark({tc.c0b[0][i], tc.c0b[1][i], tc.c0b[2][i]},
                                                        {tc.ce[0][i], tc.ce[1][i], tc.ce[2][i]},
                                                        {tp.lumr, tp.lumg, tp.lumb}, tp.damping, tc.lumdet[i],
                                                        tp.detail, tp.microdetail, tc.lum0[i]);
            ASSERT_EQ(tc.out[0][i], want.x) << i;
            ASSERT_EQ(tc.out[1][i], want.y) << i;
            ASSERT_EQ(tc.out[2][i], want.z) << i;
        }
    }
    mp_tm::usePortableWalkers(false);
}

// The steps around the walk give each pixel of a chunk the bits of the
// per-pixel formulas, for whole and partial chunks, with black, white,
// out-of-range and NaN values, and touch nothing past the chunk's pixels.
TEST_F(Tonemapping, ChunkStepsEqualThePerPixelFormulas)
{
    uint32_t seed = 11;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    auto unit = [&] { return static_cast<float>(next() >> 8) / 16777216.0f; };
    const float nan = std::nanf("");
    const mp_tm::TailParams tp{0.2126f, 0.7152f, 0.0722f, 0.9f, 0.6f, 0.3f};
    std::vector<float> mask(65536);
    for (float& m : mask)
        m = unit();

    for (const mp_tm::ChunkSteps* steps : walkers([] { return &mp_tm::chunkSteps(); }))
        for (int n : {mp_tm::kChunk, 37, 16, 15, 1}) {
            SCOPED_TRACE("n " + std::to_string(n));
            // Source pixels: black, white, and random values.
            std::vector<uint16_t> src(static_cast<size_t>(n) * 3);
            for (size_t i = 0; i < src.size(); ++i)
                src[i] = i % 11 == 0 ? 0 : i % 13 == 0 ? 65535 : static_cast<uint16_t>(next() >> 16);
            mp_tm::TailChunk tc{};
            int K[mp_tm::kChunk] = {};
            steps->load(src.data(), n, tp, tc, K);
            for (int i = 0; i < n; ++i) {
                const MP_float3 c = MP_loadRGB48(&src[3 * static_cast<size_t>(i)]);
                const float lum0 = tp.lumr * c.x + tp.lumg * c.y + tp.lumb * c.z;
                ASSERT_EQ(tc.c0[0][i], c.x) << i;
                ASSERT_EQ(tc.c0[1][i], c.y) << i;
                ASSERT_EQ(tc.c0[2][i], c.z) << i;
                ASSERT_EQ(tc.lum0[i], lum0) << i;
                ASSERT_EQ(K[i], MP_safeTrunc(65535.0f * lum0, 0, 65535)) << i;
            }

            // Local statistics; windows without weight are left to the caller.
            mp_tm::Stats st{};
            uint64_t empty = 0;
            for (int i = 0; i < mp_tm::kChunk; ++i) {
                st.lumd[i] = i % 5 == 0 ? 0.0f : i % 17 == 0 ? -1.0f : i % 19 == 0 ? nan : unit() * 900.0f + 1e-6f;
                st.mean[i] = unit() * 3e7f;
                st.dist[i] = i % 3 == 0 ? -unit() * 1e7f : unit() * 1e7f;
                st.det[i] = unit() * 200.0f - 100.0f;
                if (i < n && !(st.lumd[i] > 0.0f))
                    empty |= uint64_t{1} << i;
            }
            ASSERT_EQ(steps->local(st, n, tc), empty);
            for (int i = 0; i < n; ++i) {
                if (!(st.lumd[i] > 0.0f))
                    continue;
                const float inv = 1.0f / st.lumd[i];
                const float kinv = k * inv;
                ASSERT_EQ(tc.lumsum[i], kinv * st.mean[i]) << i;
                ASSERT_EQ(tc.lumdist[i], kinv * st.dist[i]) << i;
                ASSERT_EQ(tc.lumdet[i], inv * st.det[i]) << i;
                ASSERT_EQ(tc.m16[i], MP_safeTrunc(tc.lumsum[i] * 65535.0f, 0, 65535)) << i;
            }

            // Light compression on either side of its threshold.
            for (float licomp : {0.0f, 0.25f, 1.0f}) {
                MP_Pre_calcPixelLItable(licomp);
                for (int i = 0; i < mp_tm::kChunk; ++i) {
                    tc.lum0[i] = i % 7 == 0 ? 1.0f - (licomp * 0.99f + 0.01f) : unit();
                    for (int c = 0; c < 3; ++c)
                        tc.c0[c][i] = i % 9 == 0 ? 1.0f : unit();
                }
                steps->compress(tc, n, licomp, MP_litemp_table);
                for (int i = 0; i < n; ++i) {
                    const MP_float3 want =
                        MP_calcTMtonecompressionfromtable({tc.c0[0][i], tc.c0[1][i], tc.c0[2][i]}, tc.lum0[i], licomp);
                    ASSERT_EQ(tc.c0b[0][i], want.x) << i << " licomp " << licomp;
                    ASSERT_EQ(tc.c0b[1][i], want.y) << i;
                    ASSERT_EQ(tc.c0b[2][i], want.z) << i;
                }
            }

            // TMmeanlog's gain from its table at the local mean.
            for (int i = 0; i < mp_tm::kChunk; ++i)
                tc.m16[i] = static_cast<int>(next() >> 16);
            steps->tableGain(tc, n, 1.37f, mask.data());
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(tc.ce[c][i], tc.c0b[c][i] * (1.37f * mask[static_cast<size_t>(tc.m16[i])])) << i;

            // The formula gains of TMmeanlin, TMgradlum and TMconstgradlum,
            // with negative and NaN distances too.
            for (int i = 0; i < mp_tm::kChunk; ++i) {
                tc.lumsum[i] = i % 10 == 0 ? 0.0f : unit();
                tc.lumdet[i] = unit() * 0.4f - 0.2f;
                tc.lumdist[i] = i % 6 == 0 ? -unit() : i % 23 == 0 ? nan : unit();
                tc.lum0[i] = i % 12 == 0 ? 0.0f : unit();
                for (int c = 0; c < 3; ++c)
                    tc.c0b[c][i] = i % 14 == 0 ? 0.0f : unit();
            }
            const float t = 0.601f;
            for (mp_tm::FormulaGain kind :
                 {mp_tm::FormulaGain::MeanLin, mp_tm::FormulaGain::GradLum, mp_tm::FormulaGain::ConstGradLum}) {
                steps->formulaGain(kind, tc, n, t);
                for (int i = 0; i < n; ++i) {
                    const float* c0b[3] = {&tc.c0b[0][i], &tc.c0b[1][i], &tc.c0b[2][i]};
                    const float cc = *c0b[0] * *c0b[0] + *c0b[1] * *c0b[1] + *c0b[2] * *c0b[2];
                    const float nn = 1.0f / std::sqrt(cc + 0.001f);
                    for (int c = 0; c < 3; ++c) {
                        const float v = *c0b[c];
                        float want = 0.0f;
                        if (kind == mp_tm::FormulaGain::MeanLin) {
                            const float G = tc.lumsum[i] - tc.lumdet[i];
                            const float H = 1.0f + MP_min(MP_max(G, 0.0f), 1.0f);
                            want = v * ((tc.lum0[i] + 1.0f) * nn / H * t) + v * (1.0f - t);
                        } else if (kind == mp_tm::FormulaGain::GradLum) {
                            const float u = 0.99f * t;
                            const float f = 1.0f / (0.01f + tc.lum0[i]);
                            const float g = f * tc.lumsum[i] * tc.lumdist[i];
                            want = ((1.0f - u) * v + 0.75f * v * f * u) * (1.0f - g) + v * nn * g;
                        } else {
                            const float P = std::sqrt(std::sqrt(tc.lumdist[i]));
                            const float Q = (1.0f - P) * 0.75f / (tc.lumsum[i] + 0.01f);
                            want = v * (1.0f - t) + (P * v + v * Q) * t;
                        }
                        if (std::isnan(want))
                            ASSERT_TRUE(std::isnan(tc.ce[c][i])) << i << " kind " << static_cast<int>(kind);
                        else
                            ASSERT_EQ(tc.ce[c][i], want) << i << " kind " << static_cast<int>(kind);
                    }
                }
            }

            // TMmeandiff's gain from its colour sums.
            mp_tm::ColourStats cst{};
            uint64_t noWeight = 0;
            for (int i = 0; i < mp_tm::kChunk; ++i) {
                cst.lumd[i] = i % 5 == 0 ? 0.0f : i % 19 == 0 ? nan : unit() * 900.0f + 1e-6f;
                cst.mean[i] = unit() * 3e7f;
                cst.det[i] = unit() * 200.0f - 100.0f;
                cst.red[i] = i % 8 == 0 ? 0.01f : unit() * 3e7f;
                cst.green[i] = unit() * 3e7f;
                cst.blue[i] = unit() * 3e7f;
                tc.lum0[i] = unit();
                if (i < n && !(cst.lumd[i] > 0.0f))
                    noWeight |= uint64_t{1} << i;
            }
            const float strength = 0.702f;
            ASSERT_EQ(steps->colourGain(cst, n, strength, tc), noWeight);
            for (int i = 0; i < n; ++i) {
                if (!(cst.lumd[i] > 0.0f))
                    continue;
                const float inv = 1.0f / cst.lumd[i];
                const float kinv = k * inv;
                const float ca[3] = {cst.red[i] * kinv, cst.green[i] * kinv, cst.blue[i] * kinv};
                const float meanp = kinv * cst.mean[i] + 0.001f;
                const float q = (tc.lum0[i] + 0.001f) / meanp * strength;
                const float len = std::sqrt(ca[0] * ca[0] + ca[1] * ca[1] + ca[2] * ca[2] + 0.001f);
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(tc.ce[c][i], (1.0f - strength) * tc.c0b[c][i] + ca[c] * q / len) << i;
                ASSERT_EQ(tc.lumdet[i], inv * cst.det[i]) << i;
            }

            // The reduced store: blended, held to 0..1 (NaN to 0), truncated,
            // and nothing written past pixel n.
            for (int i = 0; i < mp_tm::kChunk; ++i) {
                K[i] = static_cast<int>(next() >> 16);
                for (int c = 0; c < 3; ++c)
                    tc.out[c][i] = i % 6 == 0 ? nan : i % 4 == 0 ? unit() * 4.0f - 2.0f : unit();
            }
            std::vector<uint16_t> dst(static_cast<size_t>(n + 2) * 3, 4242);
            steps->storeBlend(tc, K, mask.data(), n, dst.data());
            for (int i = 0; i < n; ++i) {
                const float m = mask[static_cast<size_t>(K[i])];
                const float keep = 1.0f - m;
                uint16_t want[3];
                MP_storeRGB48Clamped(want, {tc.c0[0][i] * keep + tc.out[0][i] * m, tc.c0[1][i] * keep + tc.out[1][i] * m,
                                            tc.c0[2][i] * keep + tc.out[2][i] * m});
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(dst[3 * static_cast<size_t>(i) + c], want[c]) << i << " channel " << c;
            }
            for (size_t i = static_cast<size_t>(n) * 3; i < dst.size(); ++i)
                ASSERT_EQ(dst[i], 4242) << "written past the chunk at " << i;
        }
    mp_tm::usePortableWalkers(false);
}

TEST_F(Tonemapping, UniformMidGreyHasDetailFromTheFourteenBitPlane)
{
    // Weights 0.3333/0.3334/0.3333: the centre's index is 32768 while the
    // 14-bit plane holds (5460 + 5462 + 5460) * 32768 >> 14 = 32764.
    MP_UI_SetLuminanzConv(1);
    float lr, lg, lb;
    MP_UI_GetLuminanzConvRGB(&lr, &lg, &lb);
    const float c = 32768.0f * k;
    const int K = static_cast<int>(65535.0f * (lr * c + lg * c + lb * c));
    EXPECT_EQ(K, 32768);
    const int L = ((int(lr * 16384) + int(lg * 16384) + int(lb * 16384)) * 32768) >> 14;
    EXPECT_EQ(L, 32764);

    for (int i = 0; i < 65536; ++i)
        MP_temp2_table[i] = std::sqrt(static_cast<float>(i) * k);
    const int w = 20, h = 6, r = 4;
    std::vector<int> hw(2 * r + 1, 3);
    MP_Params p{};
    for (int ky = -r; ky <= r; ++ky)
        p.lx[500 + ky] = 3;
    MP_runWindowWeightsPass(r, 65535.0f / 32.0f, &p);
    const int pad = 3 + mp_tm::kChunk;
    std::vector<uint16_t> plane(static_cast<size_t>(w + 2 * pad) * h, static_cast<uint16_t>(L));
    const mp_tm::Window win{plane.data() + pad, w + 2 * pad, pad, w, h, r, 1, false, hw.data()};
    int Ks[mp_tm::kChunk];
    std::fill(std::begin(Ks), std::end(Ks), K);
    mp_tm::Stats st;
    mp_tm::statsFunction(mp_tm::kSumMean)(win, 2, 0, w, Ks, st);
    for (int x = 0; x < w; ++x) {
        const float lumdet = (1.0f / st.lumd[x]) * st.det[x];
        EXPECT_NEAR(lumdet, 0.0078f, 0.0001f) << x;
        EXPECT_NEAR(lumdet, std::sqrt(4.0f / 65535.0f), 1e-6f);
    }
}

// ---- The drivers through the dispatcher --------------------------------------------------

TEST_F(Tonemapping, EveryKernelByNameInPlaceAndAcrossThreadCounts)
{
    const int w = 37, h = 23;
    const auto img = texture(w, h, 5);
    for (const char* kernel : kKernels) {
        for (float preview : {1.0f, 0.1f}) {
            SCOPED_TRACE(std::string(kernel) + " preview " + std::to_string(preview));
            MP_UI_SetIdealThreadCount(4);
            int result = -9;
            const auto out = output(kernel, img, w, h, block(kernel, preview), &result);
            ASSERT_EQ(result, 0);
            EXPECT_NE(out, img);

            // One buffer as source and destination.
            auto inPlace = img;
            MP_Params p = block(kernel, preview);
            ASSERT_EQ(run(kernel, inPlace, inPlace, w, h, p), 0);
            EXPECT_EQ(inPlace, out);

            // One thread, and the narrower window walks.
            MP_UI_SetIdealThreadCount(1);
            EXPECT_EQ(output(kernel, img, w, h, block(kernel, preview)), out);
            MP_UI_SetIdealThreadCount(3);
            for (mp_tm::WalkerSet set : {mp_tm::WalkerSet::Portable, mp_tm::WalkerSet::Avx2}) {
                mp_tm::useWalkers(set);
                EXPECT_EQ(output(kernel, img, w, h, block(kernel, preview)), out) << static_cast<int>(set);
            }
            mp_tm::useWalkers(mp_tm::WalkerSet::Best);
        }
    }
}

// TMmeandiff reads its neighbours from planes made of the source, so it
// writes the destination directly: in place it equals the run into a second
// buffer also with wrapped columns, and a destination of fewer bytes per pixel
// gets the leading bytes of the image and nothing past them.
TEST_F(Tonemapping, MeandiffWritesInPlaceWithPanoramaAndIntoNarrowerDestinations)
{
    const int w = 70, h = 9;
    const auto img = texture(w, h, 3);
    const char* kernel = "MP_calcPixelTMmeandiff";
    MP_UI_SetPanoramaMode(1);
    const auto out = output(kernel, img, w, h, block(kernel));
    auto inPlace = img;
    MP_Params p = block(kernel);
    ASSERT_EQ(run(kernel, inPlace, inPlace, w, h, p), 0);
    EXPECT_EQ(inPlace, out);
    MP_UI_SetPanoramaMode(0);

    // The driver itself, with the same block for both widths.
    auto src = img;
    std::vector<uint16_t> full(img.size(), 7);
    p = block(kernel);
    MP_Params q = p;
    ASSERT_EQ(MP_calcPixelTMmeandiff(w, h, src.data(), full.data(), 6, 6, &p), 0);
    EXPECT_NE(full, img);
    const size_t bytes = static_cast<size_t>(w) * h * 4;
    std::vector<uint16_t> narrow(bytes / 2 + 16, 7);
    ASSERT_EQ(MP_calcPixelTMmeandiff(w, h, src.data(), narrow.data(), 6, 4, &q), 0);
    EXPECT_EQ(std::memcmp(narrow.data(), full.data(), bytes), 0);
    for (size_t i = bytes / 2; i < narrow.size(); ++i)
        ASSERT_EQ(narrow[i], 7) << i;
    EXPECT_EQ(src, img);
}

TEST_F(Tonemapping, BlackStaysBlackAndTinyImagesStayDefined)
{
    for (const char* kernel : kKernels) {
        SCOPED_TRACE(kernel);
        const auto black = solidImage(9, 5, 0, 0, 0);
        EXPECT_EQ(output(kernel, black, 9, 5, block(kernel)), black);

        // A picture narrower and lower than the step (9 at the defaults):
        // some pixels' windows hold no sample; they take the pixel itself.
        const auto grey = solidImage(1, 1, 30000, 30000, 30000);
        const auto out = output(kernel, grey, 1, 1, block(kernel));
        EXPECT_GT(out[0], 1000);
        EXPECT_GT(out[1], 1000);
    }
}

TEST_F(Tonemapping, BlendOpacityOrGeometrySelectTheFullWorkerWithTheSameEffect)
{
    const int w = 24, h = 16;
    const auto img = texture(w, h, 11);
    for (const char* kernel : kKernels) {
        SCOPED_TRACE(kernel);
        const auto plain = output(kernel, img, w, h, block(kernel, 0.1f));

        // One subtractive geometry set far outside the picture: the full
        // worker with opacity 1 everywhere.
        MP_Params p = block(kernel, 0.1f);
        float* g = p.p[7];
        g[0] = 2.0f;
        g[1] = g[2] = 0.01f;
        g[3] = 0.5f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 5.0f;
        MP_Params probe = p;
        ASSERT_EQ(MP_calcPrepareGeometry(w, h, 7, &probe), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(MP_calcGeometryMethodOpacity(x, y, w, h, 7, &probe), 1.0f);
        EXPECT_EQ(output(kernel, img, w, h, p), plain);

        // Blend mode 2 (darken) and opacity 50 %.
        p = block(kernel, 0.1f);
        p.p[6][0] = 2.0f;
        const auto darker = output(kernel, img, w, h, p);
        for (size_t i = 0; i < img.size(); ++i) {
            const uint16_t source = static_cast<uint16_t>(static_cast<int>(img[i] * k * 65535.0f));
            ASSERT_EQ(darker[i], std::min(plain[i], source)) << i;
        }
        p = block(kernel, 0.1f);
        p.p[6][1] = 50.0f;
        const auto half = output(kernel, img, w, h, p);
        for (size_t i = 0; i < img.size(); ++i)
            if (plain[i] > 0 && plain[i] < 65535) { // the effect is mixed before it is clamped
                ASSERT_NEAR(half[i], (int(plain[i]) + int(img[i])) / 2, 2) << i;
            }
    }
}

TEST_F(Tonemapping, GainsAtTheirEdges)
{
    // One bright pixel in a black picture: no sample of its window (the
    // centre column is not on the step lattice) is bright, so lumsum = 0.
    const int w = 31, h = 19, cx = 15, cy = 9;
    auto img = solidImage(w, h, 0, 0, 0);
    const size_t c = (static_cast<size_t>(cy) * w + cx) * 3;
    img[c] = 40000;
    img[c + 1] = 30000;
    img[c + 2] = 20000;

    struct Expect {
        const char* kernel;
        float gain; // colore = c0b * gain
        float damping;
    };
    const float t = 0.701f + 0.001f;
    const Expect cases[] = {
        {"MP_calcPixelTMfattal", 1.0f - (0.65f + 0.001f), 0.9f}, // f = 0
        {"MP_calcPixelTMmeanexp", 1.0f, 0.8f},                   // q = 1
        {"MP_calcPixelTMmeanlog",
         std::pow(MP_log2_table[int(65535.0f * (0.999f * t))], 0.999f * t) / std::pow(0.001f, 0.999f * t), 0.8f},
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.kernel);
        MP_Params p = block(e.kernel);
        const auto out = output(e.kernel, img, w, h, p);
        const MP_float3 c0 = MP_loadRGB48(&img[c]);
        const float lum0 = p.lumr * c0.x + p.lumg * c0.y + p.lumb * c0.z;
        const int K = static_cast<int>(65535.0f * lum0);
        const float lumdet = std::sqrt(K * k); // every sample is black
        const MP_float3 c0b = MP_calcTMtonecompressionfromtable(c0, lum0, p.p[2][0]);
        const MP_float3 ce{c0b.x * e.gain, c0b.y * e.gain, c0b.z * e.gain};
        const MP_float3 want = MP_calcTMdampdetdark(c0b, ce, {p.lumr, p.lumg, p.lumb}, e.damping, lumdet, p.p[3][0],
                                                    p.p[4][0], lum0);
        if (std::string(e.kernel) == "MP_calcPixelTMmeanlog") {
            // Its reduced worker holds the overshoot at 65535.
            EXPECT_GT(want.x, 1.5f);
            EXPECT_EQ(out[c], 65535);
        }
        EXPECT_NEAR(out[c], std::min(1.0f, want.x) * 65535.0f, 2.0f);
        EXPECT_NEAR(out[c + 1], std::min(1.0f, want.y) * 65535.0f, 2.0f);
        EXPECT_NEAR(out[c + 2], std::min(1.0f, want.z) * 65535.0f, 2.0f);
        EXPECT_EQ(out[0], 0);
    }

    // TMintense brightens a lone pixel by 1.5 (0.4 t + 0.1) / lum0 before
    // its power: at "Intensität" 0 still by 1.5 * 0.1004 / lum0.
    MP_Params p = block("MP_calcPixelTMintense");
    p.p[1][0] = 0.0f;
    const auto out = output("MP_calcPixelTMintense", img, w, h, p);
    EXPECT_GT(out[c + 2], img[c + 2]);
}

TEST_F(Tonemapping, ProgressAfterEveryChunk)
{
    static std::vector<float> messages;
    messages.clear();
    C_SetAddMessageHook([](int category, float fraction) {
        EXPECT_EQ(category, 3);
        messages.push_back(fraction);
    });
    MP_UI_SetIdealThreadCount(2);
    const int w = 2, h = 300; // 300 / 128 rows: two chunks
    auto img = texture(w, h, 3);
    auto dst = img;
    MP_Params p = block("MP_calcPixelTMsigmoid", 0.05f);
    ASSERT_EQ(run("MP_calcPixelTMsigmoid", img, dst, w, h, p, 3), 0);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_FLOAT_EQ(messages[1], 1.0f);
    C_SetAddMessageHook(nullptr);
}

TEST_F(Tonemapping, NoScratchBufferReturnsMinusOneUntouched)
{
    // A failed request makes every smaller one fail until the buffer is freed.
    ASSERT_EQ(MP_UpdateBuffer(size_t(1) << 62), nullptr);
    const auto img = texture(6, 4, 8);
    for (const char* kernel : {"MP_calcPixelTMfattal", "MP_calcPixelTMmeandiff", "MP_calcPixelTMmeanlog"}) {
        auto dst = solidImage(6, 4, 1, 2, 3);
        auto src = img;
        MP_Params p = block(kernel);
        EXPECT_EQ(run(kernel, src, dst, 6, 4, p), -1) << kernel;
        EXPECT_EQ(dst, solidImage(6, 4, 1, 2, 3)) << kernel;
    }
    auto dst = solidImage(6, 4, 1, 2, 3);
    auto src = img;
    MP_Params p = block("MP_calcPixelTMfattal");
    EXPECT_EQ(MP_calcPixelTMgradpowlum(6, 4, src.data(), dst.data(), 6, 6, &p), -1);
    EXPECT_EQ(MP_calcPixelTMchiu(6, 4, src.data(), dst.data(), 6, 6, &p), -1);
    EXPECT_EQ(dst, solidImage(6, 4, 1, 2, 3));
}

// ---- Radius slider and window rows ------------------------------------------------------

TEST_F(Tonemapping, DispatcherHoldsTheRadiusSliderOfRadiusKernels)
{
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelTMfattal"), 1);
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelRadialBlur"), 1);    // R200
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelDeNoiseVariance"), 1); // R50
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelSharpen"), 0);
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelDirBlur"), 0); // S500
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelHDRlinBlurHorVer"), 0);
    EXPECT_EQ(MP_UI_checkKernelRadiusFromSlider("MP_calcPixelNotAKernel"), 0);

    const int w = 12, h = 9;
    const auto img = texture(w, h, 21);
    struct Case {
        float given, held;
    };
    const float nan = std::nanf("");
    for (const Case& c : {Case{3.0f, 1.0f}, Case{-2.0f, 0.0f}, Case{nan, 0.0f}}) {
        MP_Params p = block("MP_calcPixelTMfattal");
        p.p[0][0] = c.given;
        const auto out = output("MP_calcPixelTMfattal", img, w, h, p);
        MP_Params q = block("MP_calcPixelTMfattal");
        q.p[0][0] = c.held;
        EXPECT_EQ(out, output("MP_calcPixelTMfattal", img, w, h, q)) << c.given;
    }
    // The block keeps the held value, and every row of the window was written.
    MP_Params p = block("MP_calcPixelTMfattal");
    p.p[0][0] = 3.0f;
    std::fill(std::begin(p.lx), std::end(p.lx), short(-7));
    auto src = img, dst = img;
    ASSERT_EQ(run("MP_calcPixelTMfattal", src, dst, w, h, p), 0);
    EXPECT_EQ(p.p[0][0], 1.0f);
    EXPECT_EQ(p.lx[500], 251); // R = 250, odd
    EXPECT_EQ(p.lx[250], 1);
}

// A driver that records the radius fraction it was given.
float g_seenFraction = -1.0f;
int fractionDriver(int, int, ushort*, ushort*, int, int, MP_Params* params)
{
    g_seenFraction = params->p[0][0];
    return 0;
}
const MP_DriverEntry kFractionDrivers[] = {
    {"MP_calcPixelRadialBlur", fractionDriver},
    {"MP_calcPixelDeNoiseVariance", fractionDriver},
    {"MP_calcPixelSharpen", fractionDriver},
    {"MP_calcPixelHDRlinBlurHorVer", fractionDriver},
};
const MP_DriverTable kFractionTable = MP_driverTable(kFractionDrivers);

TEST_F(Tonemapping, EveryRadiusDrivenKernelGetsItsSliderHeld)
{
    MP_SetTestDriverTable(&kFractionTable);
    auto img = texture(4, 4, 1);
    struct Case {
        const char* kernel;
        float given, seen;
    };
    const Case cases[] = {
        {"MP_calcPixelRadialBlur", 2.5f, 1.0f},      // R200
        {"MP_calcPixelDeNoiseVariance", -1.0f, 0.0f}, // R50
        {"MP_calcPixelSharpen", 2.5f, 2.5f},          // a constant size: the slot is no radius
        {"MP_calcPixelHDRlinBlurHorVer", 3.7f, 3.7f}, // size P: a pixel count
    };
    for (const Case& c : cases) {
        for (bool full : {false, true}) {
            MP_Params p = block(c.kernel);
            p.p[0][0] = c.given;
            p.p[2][0] = 1.0f; // not neutral
            g_seenFraction = -1.0f;
            auto* m = OpenCLManager::getInstance();
            auto* buf = reinterpret_cast<float*>(img.data());
            if (full)
                m->executeKernelFull(c.kernel, 4, 4, buf, buf, 6, 6, &p, -1, 0.0f, 1.0f, true, true);
            else
                m->executeKernel(c.kernel, 4, 4, buf, buf, 6, 6, &p, -1, 0.0f, 1.0f, true, true);
            EXPECT_EQ(g_seenFraction, c.seen) << c.kernel << " full " << full;
        }
    }
}

TEST_F(Tonemapping, RowsBeyondTheDispatchersRadiusAreFilled)
{
    // Quality 0.7 and "Radius" 0.2058: the dispatcher's size is 102, its
    // radius (int)(102 * 0.7) = 71, while u = (int)(102.9 * 0.7) = 72 is a
    // multiple of its step 6: the window reaches rows +-72.
    MP_UI_SetCalculationQuality(0.7f);
    const int w = 30, h = 160;
    const auto img = texture(w, h, 4);
    std::vector<uint16_t> first;
    for (short stale : {short(0), short(400), short(-3)}) {
        MP_Params p = block("MP_calcPixelTMfattal");
        p.p[0][0] = 0.2058f;
        std::fill(std::begin(p.lx), std::end(p.lx), stale);
        auto src = img, dst = img;
        ASSERT_EQ(run("MP_calcPixelTMfattal", src, dst, w, h, p), 0);
        EXPECT_EQ(p.lx[500 + 72], 1);
        EXPECT_EQ(p.lx[500 - 72], 1);
        EXPECT_EQ(p.lx[500 + 71], 1); // the dispatcher's last row
        EXPECT_EQ(p.lx[500], 71);
        if (first.empty())
            first = dst;
        EXPECT_EQ(dst, first) << stale;
    }

    // A block whose preview scale exceeds 1 makes the dispatcher's radius
    // 600: it writes no row, and the driver gives every row half-width 1.
    MP_UI_SetCalculationQuality(1.0f);
    first.clear();
    for (short stale : {short(0), short(400)}) {
        MP_Params p = block("MP_calcPixelTMfattal", 2.0f);
        p.p[0][0] = 0.6f;
        std::fill(std::begin(p.lx), std::end(p.lx), stale);
        auto src = img, dst = img;
        ASSERT_EQ(run("MP_calcPixelTMfattal", src, dst, w, h, p), 0);
        EXPECT_EQ(p.lx[500], 1);
        EXPECT_EQ(p.lx[500 + 468], 1);
        if (first.empty())
            first = dst;
        EXPECT_EQ(dst, first) << stale;
    }

    MP_Params p{};
    p.p[0][0] = 0.2058f;
    p.previewscalingfactor = 1.0f;
    p.unit_kernel_multiplier = 0.7f;
    p.loopstep = 1;
    p.cpu_loopstep_mulitplier = 14.0f;
    int r, step;
    MP_calcTMRadius(&p, &r, &step);
    EXPECT_EQ(r, 72);
    EXPECT_EQ(step, 6);
}

TEST_F(Tonemapping, WidestWindowSamplesColumn501)
{
    // "Radius" 1 at quality 1: R = 500, the centre row's half-width 501;
    // in panorama mode a small picture wraps onto every sampled column.
    MP_UI_SetCalculationQuality(1.0f);
    MP_UI_SetPanoramaMode(1);
    const int w = 13, h = 7;
    const auto img = texture(w, h, 17);
    MP_Params p = block("MP_calcPixelTMgradlum");
    p.p[0][0] = 1.0f;
    int result = -9;
    const auto out = output("MP_calcPixelTMgradlum", img, w, h, p, &result);
    ASSERT_EQ(result, 0);
    p = block("MP_calcPixelTMgradlum");
    p.p[0][0] = 1.0f;
    auto src = img, dst = img;
    ASSERT_EQ(run("MP_calcPixelTMgradlum", src, dst, w, h, p), 0);
    EXPECT_EQ(p.lx[500], 501);
    EXPECT_EQ(MP_localexpAt(-501, 0), MP_exp_table[int(float(501 * 501) * (1.0f / float(468 * 468)))]);
    mp_tm::usePortableWalkers(true);
    p = block("MP_calcPixelTMgradlum");
    p.p[0][0] = 1.0f;
    EXPECT_EQ(output("MP_calcPixelTMgradlum", img, w, h, p), out);
}

// ---- The single-threaded operators -------------------------------------------------------

TEST_F(Tonemapping, ChiuAndGradpowlum)
{
    const int w = 21, h = 13;
    const auto img = texture(w, h, 31);
    for (auto fn : {MP_calcPixelTMchiu, MP_calcPixelTMgradpowlum}) {
        MP_Params p = block("MP_calcPixelTMfattal", 0.1f);
        p.unit_kernel_multiplier = 0.5f;
        p.cpu_loopstep_mulitplier = 14.0f;
        OpenCLManager::getInstance()->setKernelSuperquadricTable(2, &p);
        MP_Params q = p;
        auto src = img, dst = solidImage(w, h, 0, 0, 0);
        ASSERT_EQ(fn(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        EXPECT_NE(dst, img);
        auto inPlace = img;
        ASSERT_EQ(fn(w, h, inPlace.data(), inPlace.data(), 6, 6, &q), 0);
        EXPECT_EQ(inPlace, dst);
        auto black = solidImage(w, h, 0, 0, 0);
        ASSERT_EQ(fn(w, h, black.data(), black.data(), 6, 6, &q), 0);
        EXPECT_EQ(black, solidImage(w, h, 0, 0, 0));
        EXPECT_EQ(fn(w, h, nullptr, dst.data(), 6, 6, &q), -2);
    }
}

} // namespace
