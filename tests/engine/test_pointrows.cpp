// The point operators' vector row loops and kept tables against their plain
// per-pixel loops with a table fill on every run (MP_SetPlainPointLoops): the
// same bits for every pixel of a picture that holds every 16-bit value in
// every channel, greys, black, white, saturated and near-grey colours, at
// several slider settings each, run after run (a kept table must follow its
// sliders), with each copy of the row loops the processor can run.

#include "enginefixture.h"

#include "engine/core/pointrows.h"
#include "engine/filters/grain.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// 1000 x 1100 pixels (a width that leaves a partial block at each row's end).
constexpr int kW = 1000;
constexpr int kH = 1100;

std::vector<uint16_t> everyValuePicture()
{
    std::vector<uint16_t> img(static_cast<size_t>(kW) * kH * 3);
    for (size_t i = 0; i < static_cast<size_t>(kW) * kH; ++i) {
        uint16_t* px = &img[3 * i];
        const uint32_t v = static_cast<uint32_t>(i);
        px[0] = static_cast<uint16_t>(v);
        px[1] = static_cast<uint16_t>(v * 40503u + (v >> 16) * 7u);
        px[2] = static_cast<uint16_t>(v * 9973u + 12345u + (v >> 16) * 31u);
        switch ((v >> 16) & 7u) {
        case 1: // greys: every value
            px[1] = px[2] = px[0];
            break;
        case 2: // one channel off grey by a little
            px[1] = px[0];
            px[2] = static_cast<uint16_t>(px[0] + ((v & 3u) - 1u));
            break;
        case 3: // saturated: one channel black, one full
            px[1] = static_cast<uint16_t>(v % 3u == 0 ? 0 : 65535);
            px[2] = static_cast<uint16_t>(v % 3u == 1 ? 0 : (v % 3u == 2 ? 65535 : px[2]));
            break;
        default:
            break;
        }
    }
    // black and white corners
    for (int k = 0; k < 3 * 64; ++k) {
        img[static_cast<size_t>(k)] = 0;
        img[img.size() - 1 - static_cast<size_t>(k)] = 65535;
    }
    return img;
}

struct PointCase {
    const char* kernel;
    int comboSlot;
    int geometrySlot;
    void (*setup)(MP_Params& p, int variant);
    const char* label;
};

void knots(float* slot, float y0, float y1, float y2, float y3, float y4, float y5)
{
    const float y[6] = {y0, y1, y2, y3, y4, y5};
    for (int i = 0; i < 6; ++i) {
        slot[2 * i] = 0.2f * static_cast<float>(i);
        slot[2 * i + 1] = y[i];
    }
}

constexpr int kVariants = 4;

void basicTools(MP_Params& p, int v)
{
    const float b[kVariants] = {0.5f, 0.8f, 0.2f, 0.65f};
    const float c[kVariants] = {0.5f, 0.7f, 0.3f, 0.95f};
    const float g[kVariants] = {0.5f, 0.2f, 0.9f, 0.55f};
    p.p[0][0] = b[v];
    p.p[1][0] = c[v];
    p.p[2][0] = g[v];
    if (v == 2)
        knots(p.p[3], 0.0f, 0.3f, 1.0f, 1.0f, 0.6f, 0.2f);
    else
        knots(p.p[3], 1, 1, 1, 1, 1, 1);
}

void greyscale(MP_Params& p, int v)
{
    const float w[kVariants][6] = {{0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f},
                                   {1.0f, 0.0f, 0.7f, 0.2f, 0.9f, 0.35f},
                                   {0.0f, 1.0f, 0.25f, 0.8f, 0.1f, 0.6f},
                                   {0.45f, 0.55f, 1.0f, 0.0f, 0.5f, 1.0f}};
    for (int k = 0; k < 6; ++k)
        p.p[k][0] = w[v][k];
}

void colorIntensity(MP_Params& p, int v)
{
    const float strength[kVariants] = {0.5f, 0.9f, 0.2f, 0.62f};
    p.p[0][0] = strength[v];
    if (v == 3)
        knots(p.p[1], 0.2f, 1.0f, 0.7f, 0.4f, 1.0f, 0.0f);
    else
        knots(p.p[1], 1, 1, 1, 1, 1, 1);
}

void colorMix(MP_Params& p, int v)
{
    const float strength[kVariants] = {0.5f, 1.0f, 0.15f, 0.8f};
    const float colour[kVariants][3] = {{1.0f, 0.5f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.2f, 0.4f, 1.0f}, {1.0f, 1.0f, 1.0f}};
    p.p[0][0] = strength[v];
    for (int k = 0; k < 3; ++k)
        p.p[1][2 + k] = colour[v][k];
}

// Strength 0.5 (none), darker and brighter borders, and one so strong and
// hard that the power runs out of range (the brightening held finite).
void vignette(MP_Params& p, int v)
{
    const float strength[kVariants] = {0.5f, 0.1f, 0.85f, 1.0f};
    const float hardness[kVariants] = {0.3f, 0.5f, 0.2f, 1.0f};
    p.p[0][0] = strength[v];
    p.p[1][0] = hardness[v];
    p.p[2][0] = v == 2 ? 0.0f : 0.6f;
    p.p[3][0] = v == 1 ? 0.3f : 0.5f;
    p.p[3][1] = v == 1 ? 0.7f : 0.5f;
    p.p[4][2] = 0.9f;
    p.p[4][3] = 0.7f;
    p.p[4][4] = 0.4f;
}

void bleachBypass(MP_Params& p, int v)
{
    const float curve[kVariants] = {0.5f, 1.0f, 0.0f, 0.8f};
    const float bleach[kVariants] = {0.5f, 0.0f, 1.0f, 0.3f};
    p.p[0][0] = curve[v];
    p.p[1][0] = bleach[v];
    if (v == 3)
        knots(p.p[2], 0.0f, 0.5f, 1.0f, 1.0f, 0.5f, 0.0f);
    else
        knots(p.p[2], 1, 1, 1, 1, 1, 1);
}

void addGrain(MP_Params& p, int v)
{
    const float amount[kVariants] = {0.5f, 1.0f, 0.05f, 0.3f};
    const float smooth[kVariants] = {0.0f, 0.2f, 0.0f, 0.05f};
    p.p[0][0] = amount[v];
    p.p[1][0] = smooth[v];
    if (v == 1)
        knots(p.p[2], 0.0f, 0.6f, 1.0f, 0.8f, 0.3f, 0.0f);
    else
        knots(p.p[2], 1, 1, 1, 1, 1, 1);
}

// Variant 3 in panorama mode (the neighbourhood wraps at the sides).
void sharpen(MP_Params& p, int v)
{
    const float strength[kVariants] = {0.5f, 1.0f, 0.1f, 0.75f};
    p.p[0][0] = strength[v];
    if (v == 2)
        knots(p.p[1], 0.0f, 1.0f, 0.5f, 1.0f, 0.2f, 1.0f);
    else
        knots(p.p[1], 1, 1, 1, 1, 1, 1);
    MP_UI_SetPanoramaMode(v == 3 ? 1 : 0);
}

void gradation(MP_Params& p, int v)
{
    switch (v) {
    case 0:
        knots(p.p[0], 0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f);
        break;
    case 1:
        knots(p.p[0], 0.0f, 0.35f, 0.6f, 0.78f, 0.9f, 1.0f);
        break;
    case 2:
        knots(p.p[0], 0.1f, 0.1f, 0.3f, 0.7f, 1.0f, 1.0f);
        break;
    default:
        knots(p.p[0], 0.0f, 0.05f, 0.15f, 0.4f, 0.7f, 0.95f);
        break;
    }
}

// The tone mapping's sub-passes (p0 intensity, p1 scale as the chain fills
// them; no blend slot, 5 stands in): their row runs against their pixel walks.
void subPass(MP_Params& p, int v)
{
    const float intensity[kVariants] = {0.5f, 1.0f, 0.2f, 0.8f};
    const float scale[kVariants] = {2.0f / 3.4f, 0.3f, 1.0f, 0.0f};
    p.p[0][0] = intensity[v];
    p.p[1][0] = scale[v];
}

const PointCase kCases[] = {
    {"MP_calcPixelSubSharpen", 5, 2, subPass, "SubSharpen"},
    {"MP_calcPixelSubDeNoiseAverage", 5, 2, subPass, "SubDeNoiseAverage"},
    {"MP_calcPixelGradationLagrange", 1, 2, gradation, "GradationLagrange"},
    {"MP_calcPixelSharpen", 2, 3, sharpen, "Sharpen"},
    {"MP_calcPixelAddGrain", 3, 4, addGrain, "AddGrain"},
    {"MP_calcPixelVignette", 5, 6, vignette, "Vignette"},
    {"MP_calcPixelBleachBypass", 3, 4, bleachBypass, "BleachBypass"},
    {"MP_calcPixelColorIntensity", 2, 3, colorIntensity, "ColorIntensity"},
    {"MP_calcPixelColorMix", 2, 3, colorMix, "ColorMix"},
    {"MP_calcPixelBasicTools", 4, 5, basicTools, "BasicTools"},
    {"MP_calcPixelGreyscale", 6, 7, greyscale, "Greyscale"},
};

class PointRows : public KernelTest, public ::testing::WithParamInterface<PointCase> {
protected:
    void TearDown() override
    {
        MP_SetPlainPointLoops(false);
        MP_SetPointVectorLimit(2);
        KernelTest::TearDown();
    }

    MP_Params block(int variant) const
    {
        MP_Params p{};
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        p.loopstep = 1;
        p.previewscalingfactor = 1.0f;
        p.unit_kernel_multiplier = 1.0f;
        const PointCase& c = GetParam();
        p.p[c.comboSlot][0] = 0.0f;   // plain blend
        p.p[c.comboSlot][1] = 100.0f; // full opacity: the reduced worker
        c.setup(p, variant);
        return p;
    }

    std::vector<uint16_t> runOnce(int variant, bool plain, bool inPlace, int level = 2)
    {
        MP_SetPlainPointLoops(plain);
        MP_SetPointVectorLimit(level);
        std::vector<uint16_t> src = everyValuePicture();
        std::vector<uint16_t> second(src.size(), 0x5a5a);
        std::vector<uint16_t>& dst = inPlace ? src : second;
        params = block(variant);
        EXPECT_EQ(run(GetParam().kernel, kW, kH, src, dst), 0);
        return dst;
    }
};

TEST_P(PointRows, VectorRowsAndKeptTablesGiveThePlainLoopsBits)
{
    // The order of the variants revisits settings, so a kept table is both
    // reused and replaced.
    // Each copy of the row loops (AVX-512, AVX2, baseline) as far as the
    // processor has it.
    const int order[] = {0, 0, 1, 2, 0, 3, 3, 1};
    for (int level = MP_pointVectorLevel(); level >= 0; --level)
        for (int variant : order) {
            const std::vector<uint16_t> plain = runOnce(variant, true, false);
            const std::vector<uint16_t> fast = runOnce(variant, false, false, level);
            ASSERT_EQ(plain.size(), fast.size());
            size_t first = plain.size();
            for (size_t i = 0; i < plain.size(); ++i)
                if (plain[i] != fast[i]) {
                    first = i;
                    break;
                }
            ASSERT_EQ(first, plain.size()) << "level " << level << ", variant " << variant
                                           << ": first differing channel " << first << " (pixel " << first / 3
                                           << "), plain " << plain[first] << ", vector " << fast[first];
        }
    // In place as well (the blocks are read before they are written).
    EXPECT_EQ(runOnce(1, true, true), runOnce(1, false, true));
}

INSTANTIATE_TEST_SUITE_P(Kernels, PointRows, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace

namespace {

// The grain's noise rows against MP_grainNoise, value for value: every
// amplitude class, seeds of both signs, rows near 0, past 16 bits and near
// the largest int, and a row longer than 65,536 values; each copy of the
// row loops. Amplitudes outside 1..32767 take the plain function.
TEST(GrainNoiseRows, EqualTheNoiseFunctionForEveryCopy)
{
    const int amplitudes[] = {1, 2, 3, 7, 1000, 16384, 32766, 32767, 0, 40000};
    const int seeds[] = {0, 1, 12345, -1, INT32_MIN, INT32_MAX};
    struct Rows {
        int y0, y1, width;
    };
    const Rows rows[] = {{0, 9, 1500}, {65530, 65540, 1500}, {1 << 20, (1 << 20) + 3, 1500},
                         {INT32_MAX - 3, INT32_MAX, 1500}, {5, 6, 70000}};
    for (int level = MP_pointVectorLevel(); level >= 0; --level) {
        MP_SetPointVectorLimit(level);
        for (int A : amplitudes)
            for (int seed : seeds)
                for (const Rows& r : rows) {
                    std::vector<short> got(static_cast<size_t>(r.y1 - r.y0) * static_cast<size_t>(r.width));
                    MP_grainNoiseRows(got.data(), r.width, r.y0, r.y1, seed, A);
                    for (int y = r.y0; y < r.y1; ++y)
                        for (int x = 0; x < r.width; ++x) {
                            const size_t i = static_cast<size_t>(y - r.y0) * static_cast<size_t>(r.width) + x;
                            ASSERT_EQ(got[i], static_cast<short>(MP_grainNoise(x, y, seed, A)))
                                << "level " << level << ", A " << A << ", seed " << seed << ", (" << x << ", " << y
                                << ")";
                        }
                }
    }
    MP_SetPointVectorLimit(2);
}

} // namespace
