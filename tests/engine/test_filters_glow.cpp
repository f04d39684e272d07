// The glow and grain operators: "Weicher Kontrast", "Intensives Leuchten",
// "Neon Leuchten" and "Körnung hinzufügen".

#include "filterfixture.h"

#include "engine/filters/artifacts.h"
#include "engine/filters/bloom.h"
#include "engine/filters/glow.h"
#include "engine/core/colortemp.h"
#include "engine/filters/grain.h"
#include "engine/filters/hueedge.h"
#include "engine/filters/morphology.h"
#include "engine/filters/pathblur.h"
#include "engine/filters/polfilter.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

void softContrastDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.3f;
    setMask(p.p[2], 1.0f);
}
void softRGBDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    setMask(p.p[2], 1.0f);
}
void neonDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.1f;
    p.p[3][2] = 1.0f;
    p.p[3][3] = 0.2f;
    p.p[3][4] = 0.2f;
}
void grainDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.1f;
    setMask(p.p[2], 1.0f);
}

void bloomDefaults(MP_Params& p)
{
    p.p[0][0] = 0.02f; // radius 10
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.387097f;
    setMask(p.p[3], 1.0f);
    OpenCLManager::getInstance()->setKernelSuperquadricTable(10, &p);
}

void sharpenDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    setMask(p.p[1], 1.0f);
}

void morphologyDefaults(MP_Params& p)
{
    p.p[0][0] = 0.223f;
    p.p[1][0] = 0.3f;
    setMask(p.p[2], 1.0f);
}

void lineDefaults(MP_Params& p) // DirBlur, DirSharpen
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.3f;
    p.p[1][1] = 0.4f;
    p.p[1][2] = 0.7f;
    p.p[1][3] = 0.6f;
    setMask(p.p[2], 1.0f);
}
void radialDefaults(MP_Params& p)
{
    p.p[0][0] = 0.2f;
    p.p[1][0] = 0.8f;
}

void hueEdgeDefaults(MP_Params& p)
{
    p.p[0][0] = 0.02f; // radius 10
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.2f;
    p.p[3][2] = p.p[3][3] = p.p[3][4] = 1.0f;
    OpenCLManager::getInstance()->setKernelSuperquadricTable(10, &p);
}

struct GlowCase {
    const char* name;
    int comboSlot, geoSlot;
    void (*defaults)(MP_Params&);
    bool inPlace;       // reads dst only
    int fullTolerance;  // full worker (inert geometry) against reduced
};

class GlowFrame : public FilterTest, public ::testing::WithParamInterface<GlowCase> {
protected:
    MP_Params block() const
    {
        MP_Params p = blankParams();
        p.p[GetParam().comboSlot][1] = 100.0f;
        GetParam().defaults(p);
        return p;
    }
    // Runs the kernel as the chain does: in place for the in-place operators.
    Image runOn(const Image& src, int w, int h, MP_Params p, int* result = nullptr)
    {
        Image in = src, out = GetParam().inPlace ? src : Image(src.size(), 0xABCD);
        const int r = run(GetParam().name, w, h, in, GetParam().inPlace ? in : out, p);
        if (result)
            *result = r;
        return GetParam().inPlace ? in : out;
    }
};

TEST_P(GlowFrame, ThreadCountsGiveTheSameBits)
{
    const int w = 61, h = 385;
    const Image src = testPicture(w, h);
    MP_UI_SetIdealThreadCount(1);
    const Image one = runOn(src, w, h, block());
    for (int n : {3, 4}) {
        MP_UI_SetIdealThreadCount(n);
        EXPECT_EQ(runOn(src, w, h, block()), one) << n << " threads";
    }
    // The last row of a 385-row picture is written.
    bool changed = false;
    for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c)
            changed |= at(one, w, x, h - 1, c) != at(src, w, x, h - 1, c);
    EXPECT_TRUE(changed);
}

TEST_P(GlowFrame, InPlaceEqualsSeparateBuffers)
{
    const int w = 40, h = 30;
    const Image src = testPicture(w, h);
    Image a = src;
    MP_Params p = block();
    ASSERT_EQ(run(GetParam().name, w, h, a, a, p), 0);
    Image in = src, out = src; // the in-place operators read dst, so dst holds the picture
    p = block();
    ASSERT_EQ(run(GetParam().name, w, h, in, out, p), 0);
    EXPECT_EQ(a, out);
    EXPECT_EQ(in, src);
}

TEST_P(GlowFrame, FullWorkerMatchesReduced)
{
    const int w = 40, h = 30;
    const Image src = testPicture(w, h);
    const Image reduced = runOn(src, w, h, block());
    MP_Params p = block();
    setInertGeometry(p, GetParam().geoSlot);
    const Image full = runOn(src, w, h, p);
    EXPECT_LE(maxDifference(full, reduced), GetParam().fullTolerance);
}

TEST_P(GlowFrame, OutsideEveryMaskKeepsThePicture)
{
    const int w = 24, h = 20;
    const Image src = testPicture(w, h);
    MP_Params p = block();
    setHidingGeometry(p, GetParam().geoSlot);
    int r = -9;
    const Image out = runOn(src, w, h, p, &r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(out, roundTripped(src));
}

TEST_P(GlowFrame, BadBuffersAreRefused)
{
    const int w = 8, h = 6;
    Image src = testPicture(w, h), dst(src.size(), 7);
    MP_Params p = block();
    EXPECT_EQ(MP_UI_executeKernel(GetParam().name, w, h, src.data(), dst.data(), 6, 4, &p, -1, 0.0f, 1.0f), -2);
    EXPECT_EQ(MP_UI_executeKernel(GetParam().name, w, h, src.data(), dst.data(), 8, 6, &p, -1, 0.0f, 1.0f), -2);
    EXPECT_EQ(dst, Image(src.size(), 7));
    EXPECT_EQ(run(GetParam().name, 0, 5, src, dst, p), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Glow, GlowFrame,
    ::testing::Values(GlowCase{"MP_calcPixelSoftContrast", 3, 4, softContrastDefaults, true, 1},
                      GlowCase{"MP_calcPixelSoftRGBContrast", 3, 4, softRGBDefaults, true, 1},
                      GlowCase{"MP_calcPixelNeonLight", 4, 5, neonDefaults, false, 2},
                      GlowCase{"MP_calcPixelAddGrain", 3, 4, grainDefaults, false, 1},
                      GlowCase{"MP_calcPixelImageBloom", 4, 5, bloomDefaults, false, 1},
                      GlowCase{"MP_calcPixelSharpen", 2, 3, sharpenDefaults, false, 1},
                      GlowCase{"MP_calcPixelErode", 3, 4, morphologyDefaults, false, 1},
                      GlowCase{"MP_calcPixelDilate", 3, 4, morphologyDefaults, false, 1},
                      GlowCase{"MP_calcPixelDoppler", 3, 4, morphologyDefaults, false, 1},
                      GlowCase{"MP_calcPixelDirBlur", 3, 4, lineDefaults, false, 0},
                      GlowCase{"MP_calcPixelDirSharpen", 3, 4, lineDefaults, false, 0},
                      GlowCase{"MP_calcPixelRadialBlur", 2, 3, radialDefaults, false, 0},
                      GlowCase{"MP_calcPixelColorEnhance", 4, 5, hueEdgeDefaults, false, 1}),
    [](const ::testing::TestParamInfo<GlowCase>& i) { return std::string(i.param.name + 12); });

using GlowTest = FilterTest;

// ---- "Weicher Kontrast", "Intensives Leuchten" -------------------------------

TEST_F(GlowTest, SoftContrastsAtTheirNeutralSettingsKeepThePicture)
{
    const int w = 30, h = 20;
    const Image src = testPicture(w, h);
    for (const char* name : {"MP_calcPixelSoftContrast", "MP_calcPixelSoftRGBContrast"}) {
        MP_Params p = blankParams();
        p.p[0][0] = 0.5f;
        p.p[1][0] = std::string(name) == "MP_calcPixelSoftContrast" ? 0.5f : 0.0f;
        setMask(p.p[2], 1.0f);
        p.p[3][1] = 100.0f;
        Image img = src;
        ASSERT_EQ(run(name, w, h, img, img, p), 0) << name;
        EXPECT_LE(maxDifference(img, src), 1) << name;
        // The dispatcher skips the run: the picture in place stays as it is.
        Image same = src;
        ASSERT_EQ(dispatch(name, w, h, same, same, p), 0) << name;
        EXPECT_EQ(same, src) << name;
    }
}

TEST_F(GlowTest, SoftContrastsKeepBlack)
{
    const int w = 16, h = 12;
    for (const char* name : {"MP_calcPixelSoftContrast", "MP_calcPixelSoftRGBContrast"})
        for (float s : {0.0f, 1.0f}) {
            MP_Params p = blankParams();
            p.p[0][0] = 0.3f;
            p.p[1][0] = s;
            setMask(p.p[2], 1.0f);
            p.p[3][1] = 100.0f;
            Image black = solidImage(w, h, 0, 0, 0);
            ASSERT_EQ(run(name, w, h, black, black, p), 0);
            EXPECT_EQ(black, solidImage(w, h, 0, 0, 0)) << name << " " << s;
        }
}

TEST_F(GlowTest, SoftContrastReadsOnlyTheDestination)
{
    const int w = 20, h = 10;
    const Image pic = testPicture(w, h);
    MP_Params p = blankParams();
    softContrastDefaults(p);
    p.p[3][1] = 100.0f;
    Image a = pic;
    ASSERT_EQ(MP_calcPixelSoftContrast(w, h, nullptr, a.data(), 6, 6, &p), 0);
    Image b = pic, other = solidImage(w, h, 1, 2, 3);
    ASSERT_EQ(MP_calcPixelSoftContrast(w, h, other.data(), b.data(), 6, 6, &p), 0);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, pic);
}

TEST_F(GlowTest, SoftContrastDirectionFollowsTheStrengthSign)
{
    // A mid-grey pixel: "dunkel" (above the middle) darkens it, "hell" lightens it.
    const int w = 9, h = 9;
    for (float s : {0.8f, 0.2f}) {
        MP_Params p = blankParams();
        p.p[0][0] = 0.0f;
        p.p[1][0] = s;
        setMask(p.p[2], 1.0f);
        p.p[3][1] = 100.0f;
        Image img = solidImage(w, h, 20000, 20000, 20000);
        ASSERT_EQ(run("MP_calcPixelSoftContrast", w, h, img, img, p), 0);
        if (s > 0.5f)
            EXPECT_LT(img[0], 20000);
        else
            EXPECT_GT(img[0], 20000);
    }
}

TEST_F(GlowTest, NaNStrengthCountsAsNeutral)
{
    const int w = 12, h = 8;
    const Image src = testPicture(w, h);
    for (const char* name : {"MP_calcPixelSoftContrast", "MP_calcPixelSoftRGBContrast", "MP_calcPixelNeonLight"}) {
        MP_Params p = blankParams();
        p.p[0][0] = p.p[1][0] = p.p[2][0] = std::numeric_limits<float>::quiet_NaN();
        setMask(p.p[2], 1.0f);
        p.p[std::string(name) == "MP_calcPixelNeonLight" ? 4 : 3][1] = 100.0f;
        Image img = src, out = src;
        ASSERT_EQ(run(name, w, h, img, out, p), 0) << name;
        EXPECT_LE(maxDifference(out, src), 1) << name;
    }
}

// ---- "Neon Leuchten" ---------------------------------------------------------

TEST_F(GlowTest, NeonGlowLightsOnlyColoursNearTheHue)
{
    const uint16_t grey[3] = {30000, 30000, 30000}, red[3] = {65535, 0, 0}, orange[3] = {65535, 20000, 0},
                   blue[3] = {0, 0, 65535};
    EXPECT_EQ(MP_neonGlowValue(1, 0, 0, grey), 0); // d 0.5764, x 0.0236
    EXPECT_EQ(MP_neonGlowValue(1, 0, 0, red), 32767);
    const int o = MP_neonGlowValue(1, 0, 0, orange);
    EXPECT_GT(o, 0);
    EXPECT_LT(o, 32767);
    EXPECT_EQ(MP_neonGlowValue(1, 0, 0, blue), 0);
}

TEST_F(GlowTest, NeonWithoutStrengthOrDarkeningKeepsThePicture)
{
    const int w = 20, h = 16;
    const Image src = testPicture(w, h);
    MP_Params p = blankParams();
    neonDefaults(p);
    p.p[0][0] = 0.0f; // "Stärke"
    p.p[2][0] = 0.0f; // "Abdunkeln": power 1
    p.p[4][1] = 100.0f;
    EXPECT_EQ(runCopy("MP_calcPixelNeonLight", w, h, src, p), roundTripped(src));
}

TEST_F(GlowTest, NeonGlowsInItsHueOverAMatchingArea)
{
    const int w = 32, h = 24;
    MP_Params p = blankParams();
    neonDefaults(p);
    p.p[2][0] = 1.0f; // "Abdunkeln" 1: power 11 darkens 0.2 to 0
    p.p[4][1] = 100.0f;
    // A picture in the hue (1, 0.2, 0.2): the plane is 32767 everywhere, glow 2.5;
    // red 1 * 2.5 + 1 clipped, green and blue 0.2 * 2.5 = 0.5 over a base near 0.
    const Image img = solidImage(w, h, 65535, 13107, 13107);
    const Image out = runCopy("MP_calcPixelNeonLight", w, h, img, p);
    const int glow = MP_neonGlowValue(1.0f, 0.2f, 0.2f, img.data());
    EXPECT_GT(glow, 32500); // the direction of the hue itself
    const float g = static_cast<float>(glow) * 3.051851e-05f * 2.5f;
    EXPECT_EQ(out[0], 65535);
    // The blur of the constant plane keeps it within a fraction of a percent.
    EXPECT_NEAR(out[1], (0.2f * g + std::pow(0.2f, 11.0f)) * 65535.0f, 200.0f);
    EXPECT_EQ(out[2], out[1]);
    // A picture far from the hue keeps only the darkened base.
    const Image blue = runCopy("MP_calcPixelNeonLight", w, h, solidImage(w, h, 0, 0, 65535), p);
    EXPECT_EQ(blue[0], 0);
    EXPECT_EQ(blue[2], 65535);
}

// ---- "Körnung hinzufügen" ----------------------------------------------------

TEST_F(GlowTest, GrainAmplitudeFollowsTheLongSide)
{
    struct Case {
        float g;
        int side, A;
    } cases[] = {{0.0f, 6000, 1},        {0.5f, 6000, 24575}, {1.0f, 4000, 32767}, {1.0f, 3999, 32758},
                 {1.0f, 20000, 32767},   {-0.5f, 4000, 1},    {std::numeric_limits<float>::quiet_NaN(), 4000, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(MP_grainAmplitude(c.g, c.side), c.A) << c.g << " " << c.side;
}

TEST_F(GlowTest, GrainHashIsAClosedFunctionOfPositionAndSeed)
{
    EXPECT_EQ(MP_grainNoise(0, 0, 0, 24575), -5457); // n 12746
    EXPECT_EQ(MP_grainNoise(1, 0, 0, 24575), 2734);  // n 18207
    // The grain of any seed lies in -A .. A-1; A 1 gives -1 and 0 only.
    for (int seed : {0, MP_RANDOMSEED_INITIAL, 12345})
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const int v = MP_grainNoise(x, y, seed, 1);
                ASSERT_TRUE(v == -1 || v == 0);
                const int u = MP_grainNoise(x * 97, y * 89, seed, 32767);
                ASSERT_GE(u, -32767);
                ASSERT_LE(u, 32766);
            }
}

TEST_F(GlowTest, SameSeedSameGrainNewSeedNewGrain)
{
    const int w = 48, h = 32;
    const Image src = solidImage(w, h, 30000, 30000, 30000);
    MP_Params p = blankParams();
    grainDefaults(p);
    p.p[1][0] = 0.0f;
    p.p[3][1] = 100.0f;
    const Image a = runCopy("MP_calcPixelAddGrain", w, h, src, p);
    EXPECT_EQ(runCopy("MP_calcPixelAddGrain", w, h, src, p), a);
    EXPECT_NE(a, src);
    // The same noise on all three channels.
    for (size_t i = 0; i < a.size(); i += 3) {
        ASSERT_EQ(a[i], a[i + 1]);
        ASSERT_EQ(a[i], a[i + 2]);
    }
    MP_UI_SetRandomSeed(777);
    EXPECT_NE(runCopy("MP_calcPixelAddGrain", w, h, src, p), a);
    // The driver releases the scratch buffer.
    EXPECT_EQ(MP_buffer, nullptr);
}

TEST_F(GlowTest, GrainIsMaskedByLuminanceAndClampedAtTheEnds)
{
    const int w = 30, h = 20;
    MP_Params p = blankParams();
    grainDefaults(p);
    p.p[0][0] = 1.0f;
    p.p[3][1] = 100.0f;
    setMask(p.p[2], 0.0f);
    const Image src = testPicture(w, h);
    EXPECT_EQ(runCopy("MP_calcPixelAddGrain", w, h, src, p), src);
    setMask(p.p[2], 1.0f);
    // Black and white pixels stay inside 0..65535 (no wrap-around).
    const Image bw = runCopy("MP_calcPixelAddGrain", w, h, solidImage(w, h, 0, 0, 0), p);
    bool some = false;
    for (uint16_t v : bw) {
        ASSERT_LT(v, 20000);
        some |= v != 0;
    }
    EXPECT_TRUE(some);
    const Image ww = runCopy("MP_calcPixelAddGrain", w, h, solidImage(w, h, 65535, 65535, 65535), p);
    for (uint16_t v : ww)
        ASSERT_GT(v, 45535);
}

// ---- "Bildleuchten" ---------------------------------------------------------

TEST_F(GlowTest, BloomWithoutStrengthOrMaskKeepsThePicture)
{
    const int w = 30, h = 24;
    const Image src = testPicture(w, h);
    MP_Params p = blankParams();
    bloomDefaults(p);
    p.p[4][1] = 100.0f;
    p.p[1][0] = 0.0f;
    EXPECT_LE(maxDifference(runCopy("MP_calcPixelImageBloom", w, h, src, p), src), 1);
    p.p[1][0] = 1.0f;
    setMask(p.p[3], 0.0f);
    EXPECT_EQ(runCopy("MP_calcPixelImageBloom", w, h, src, p), roundTripped(src));
}

TEST_F(GlowTest, BloomOnFlatGreyFollowsTheFormula)
{
    // Surroundings as bright as the pixel: mean = L, X = L (N - t), e = L (1 - s) + 1.7 X^2 s.
    const int w = 16, h = 12;
    MP_Params p = blankParams();
    bloomDefaults(p);
    p.p[4][1] = 100.0f;
    const Image out = runCopy("MP_calcPixelImageBloom", w, h, solidImage(w, h, 20000, 20000, 20000), p);
    float t[3];
    MP_UI_GetRGBFromTemperatur(&t[0], &t[1], &t[2], 1000.0f + 15500.0f * 0.387097f);
    const float N = (t[0] + t[1] + t[2]) * 0.33333f + 1.0f;
    const uint16_t grey[3] = {20000, 20000, 20000};
    const double mean = mp_filters::LumWeights::of(&p).of(grey) / 65535.0, L = 20000.0 / 65535.0, q = std::sqrt(L);
    for (int c = 0; c < 3; ++c) {
        const double X = (L * mean / (0.001 + L) * q + (1.0 - q) * mean) * (N - t[c]);
        const double e = std::min(1.0, L * 0.75 + 1.7 * X * X * 0.25);
        EXPECT_NEAR(out[c], e * 65535.0, 2) << c;
    }
    // A strength far past the slider (s 5) drives the grey below 0: stored as 0, not wrapped.
    p.p[1][0] = 10.0f;
    const Image dark = runCopy("MP_calcPixelImageBloom", w, h, solidImage(w, h, 20000, 20000, 20000), p);
    for (uint16_t v : dark)
        ASSERT_LT(v, 20000);
}

// ---- "Schärfen", SubSharpen ---------------------------------------------------

TEST_F(GlowTest, SharpenKeepsFlatRegionsAndStaysFiniteBesideBlack)
{
    const int w = 12, h = 10;
    MP_Params p = blankParams();
    sharpenDefaults(p);
    p.p[0][0] = 1.0f;
    p.p[2][1] = 100.0f;
    const Image flat = solidImage(w, h, 30000, 20000, 10000);
    EXPECT_LE(maxDifference(runCopy("MP_calcPixelSharpen", w, h, flat, p), flat), 1);
    // Left half black, right half mid-grey: black stays black, the grey edge brightens.
    Image edge = solidImage(w, h, 0, 0, 0);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                edge[(static_cast<size_t>(y) * w + x) * 3 + c] = 30000;
    const Image out = runCopy("MP_calcPixelSharpen", w, h, edge, p);
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(at(out, w, w / 2 - 1, y, 0), 0);
        EXPECT_GT(at(out, w, w / 2, y, 0), 30000);
        EXPECT_LT(at(out, w, w / 2, y, 0), 65535);
        EXPECT_LE(std::abs(int(at(out, w, w - 1, y, 0)) - 30000), 1); // flat inside
    }
}

TEST_F(GlowTest, SharpenWrapsColumnsInPanoramaMode)
{
    // A bright last column: in panorama mode it is a neighbour of the first.
    const int w = 10, h = 6;
    Image img = solidImage(w, h, 30000, 30000, 30000);
    for (int y = 0; y < h; ++y)
        for (int c = 0; c < 3; ++c)
            img[(static_cast<size_t>(y) * w + w - 1) * 3 + c] = 60000;
    MP_Params p = blankParams();
    sharpenDefaults(p);
    p.p[2][1] = 100.0f;
    const Image plain = runCopy("MP_calcPixelSharpen", w, h, img, p);
    MP_UI_SetPanoramaMode(1);
    const Image pano = runCopy("MP_calcPixelSharpen", w, h, img, p);
    EXPECT_LE(std::abs(int(at(plain, w, 0, 2, 0)) - 30000), 1);
    EXPECT_LT(at(pano, w, 0, 2, 0), 29990);
}

MP_Params subSharpenBlock(float i, float sigma)
{
    MP_Params p = ToneTest::blankParams();
    p.p[0][0] = i;
    p.p[1][0] = sigma;
    return p;
}

TEST_F(GlowTest, SubSharpenAtScaleZeroUsesOnlyThePixelsOwnLuminance)
{
    const int w = 8, h = 8;
    const Image src = testPicture(w, h);
    const Image out = runCopy("MP_calcPixelSubSharpen", w, h, src, subSharpenBlock(1.0f, 0.0f));
    const mp_filters::LumWeights lw = mp_filters::LumWeights::of(&params);
    for (size_t j = 0; j < src.size(); j += 3) {
        const int L0 = static_cast<int>(lw.of(&src[j]));
        const float l = static_cast<float>(L0) * MP_k;
        const float lo = static_cast<float>(16384LL * L0) * 4.656684e-10f, hi = lo + 0.5f;
        const float g = 1.0f - 1.0f + (l - lo) / ((hi - lo) * (l + 0.001f)) * 1.0f;
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(out[j + c], static_cast<uint16_t>(std::min(65535.0f, static_cast<float>(src[j + c]) * g)))
                << j / 3;
    }
}

TEST_F(GlowTest, SubSharpenHoldsHostileScalesInRange)
{
    // A checkerboard of dark and bright: large scales drive the gain past 0 and
    // far above 1; the store clamps; a gain without a value keeps the pixel.
    const int w = 10, h = 8;
    Image src(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                src[(static_cast<size_t>(y) * w + x) * 3 + c] = (x + y) % 2 ? 65535 : 0;
    const mp_filters::LumWeights lw = mp_filters::LumWeights::of(&params);
    for (float sigma : {5.0f, 3.0f, -0.9f, -4.0f, std::numeric_limits<float>::quiet_NaN()})
        for (float i : {1.0f, -3.0f}) {
            const Image out = runCopy("MP_calcPixelSubSharpen", w, h, src, subSharpenBlock(i, sigma));
            const int S = std::isnan(sigma) ? -(1 << 24) : static_cast<int>(sigma * 16384.0f);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint16_t* px = &src[(static_cast<size_t>(y) * w + x) * 3];
                    const double L0 = lw.of(px), l = L0 / 65535.0;
                    const double mn = 0, mx = lw.of(std::array<uint16_t, 3>{65535, 65535, 65535}.data());
                    const double Y = (16384.0 - S) * L0, kappa = 1.0 / (32768.0 * 65535.0);
                    const double lo = (Y + S * mn) * kappa, hi = (Y + S * mx) * kappa + 0.5;
                    const double g = 1.0 - i + (l - lo) / ((hi - lo) * (l + 0.001)) * i;
                    for (int c = 0; c < 3; ++c) {
                        const double want = std::isfinite(g) ? std::clamp(px[c] * g, 0.0, 65535.0) : px[c];
                        ASSERT_NEAR(out[(static_cast<size_t>(y) * w + x) * 3 + c], want, 2.0 + 1e-3 * want)
                            << sigma << " " << i << " at " << x << "," << y;
                    }
                }
        }
}

// The reduced worker walks a row in runs for scales of -1..1 and pixel by
// pixel beyond: both give what the pixel walk gives, at the run boundaries,
// at the picture's edges (panorama too), for gains without a value (black
// beside white at scale -1) and in place as the chain runs it.
TEST_F(GlowTest, SubSharpenRunsEqualThePixelWalk)
{
    struct Size {
        int w, h;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Size z : {Size{1, 3}, Size{2, 2}, Size{257, 4}, Size{600, 3}}) {
        Image board(static_cast<size_t>(z.w) * z.h * 3);
        for (int y = 0; y < z.h; ++y)
            for (int x = 0; x < z.w; ++x)
                for (int c = 0; c < 3; ++c)
                    board[(static_cast<size_t>(y) * z.w + x) * 3 + c] = (x / 3 + y) % 2 ? 65535 : 0;
        for (const Image& src : {testPicture(z.w, z.h), board})
            for (float sigma : {-1.0f, -0.9f, 0.0f, 0.294f, 1.0f, 1.5f, nan})
                for (float i : {0.8f, -3.0f})
                    for (bool panorama : {false, true}) {
                        MP_UI_SetPanoramaMode(panorama ? 1 : 0);
                        const MP_Params p = subSharpenBlock(i, sigma);
                        mp_filters::g_filterRunWalk = false;
                        const Image walk = runCopy("MP_calcPixelSubSharpen", z.w, z.h, src, p);
                        mp_filters::g_filterRunWalk = true;
                        for (bool portable : {false, true}) {
                            mp_filters::g_filterPortable = portable;
                            EXPECT_EQ(runCopy("MP_calcPixelSubSharpen", z.w, z.h, src, p), walk)
                                << z.w << "x" << z.h << " sigma " << sigma << " i " << i << " " << panorama << portable;
                            Image inPlace = src;
                            MP_Params q = p;
                            ASSERT_EQ(run("MP_calcPixelSubSharpen", z.w, z.h, inPlace, inPlace, q), 0);
                            EXPECT_EQ(inPlace, walk) << "in place " << z.w << "x" << z.h << " sigma " << sigma;
                        }
                        mp_filters::g_filterPortable = false;
                    }
    }
    MP_UI_SetPanoramaMode(0);
}

TEST_F(GlowTest, SubSharpenThreadsAndMaskedWorker)
{
    const int w = 37, h = 385;
    const Image src = testPicture(w, h);
    MP_UI_SetIdealThreadCount(1);
    const Image one = runCopy("MP_calcPixelSubSharpen", w, h, src, subSharpenBlock(0.8f, 0.5f));
    for (int n : {3, 4}) {
        MP_UI_SetIdealThreadCount(n);
        EXPECT_EQ(runCopy("MP_calcPixelSubSharpen", w, h, src, subSharpenBlock(0.8f, 0.5f)), one) << n;
    }
    MP_Params p = subSharpenBlock(0.8f, 0.5f);
    setInertGeometry(p, 2);
    EXPECT_LE(maxDifference(runCopy("MP_calcPixelSubSharpen", w, h, src, p), one), 1);
    p = subSharpenBlock(0.8f, 0.5f);
    setHidingGeometry(p, 2);
    EXPECT_EQ(runCopy("MP_calcPixelSubSharpen", w, h, src, p), roundTripped(src));
}

// ---- "Erosion", "Dilatation", "Doppler" -------------------------------------

TEST_F(GlowTest, MorphologyRadiusFromQuality)
{
    struct Case {
        float q;
        int o;
    } cases[] = {{0.0f, 1}, {0.223f, 3}, {1.0f, 10}, {5.0f, 10}, {-1.0f, 1}, {std::numeric_limits<float>::quiet_NaN(), 1}};
    for (const Case& c : cases)
        EXPECT_EQ(MP_morphologyRadius(c.q), c.o) << c.q;
}

TEST_F(GlowTest, MorphologyKeepsFlatRegionsAndExtremes)
{
    const int w = 15, h = 13;
    for (const char* name : {"MP_calcPixelErode", "MP_calcPixelDilate", "MP_calcPixelDoppler"})
        for (float sharp : {0.0f, 1.0f}) {
            MP_Params p = blankParams();
            morphologyDefaults(p);
            p.p[1][0] = sharp;
            p.p[3][1] = 100.0f;
            const Image flat = solidImage(w, h, 40000, 30000, 20000);
            EXPECT_LE(maxDifference(runCopy(name, w, h, flat, p), flat), 1) << name;
            // One dark pixel in a bright field, one bright pixel in a dark field.
            Image dark = solidImage(w, h, 50000, 50000, 50000), bright = solidImage(w, h, 5000, 5000, 5000);
            for (int c = 0; c < 3; ++c) {
                dark[(7 * w + 7) * 3 + c] = 1000;
                bright[(7 * w + 7) * 3 + c] = 60000;
            }
            const Image d = runCopy(name, w, h, dark, p), b = runCopy(name, w, h, bright, p);
            const std::string n = name;
            if (n == "MP_calcPixelErode") {
                EXPECT_NEAR(at(d, w, 7, 7, 0), 1000, 1);    // the darkest keeps its colour
                EXPECT_NEAR(at(b, w, 7, 7, 0), 5000, 1);    // the bright one takes its darker neighbours
                EXPECT_LT(at(d, w, 6, 7, 0), 2000);         // its neighbour is pulled to the dark pixel
            } else if (n == "MP_calcPixelDilate") {
                EXPECT_NEAR(at(b, w, 7, 7, 0), 60000, 1);
                EXPECT_NEAR(at(d, w, 7, 7, 0), 50000, 1);
                EXPECT_NEAR(at(b, w, 6, 7, 0), 60000, 1);
            } else {
                EXPECT_NEAR(at(d, w, 7, 7, 0), 50000, 1);
                EXPECT_NEAR(at(b, w, 7, 7, 0), 5000, 1);
            }
        }
}

TEST_F(GlowTest, MorphologyWrapsColumnsInPanoramaMode)
{
    const int w = 12, h = 9;
    Image img = solidImage(w, h, 50000, 50000, 50000);
    for (int c = 0; c < 3; ++c)
        img[(4 * w + w - 1) * 3 + c] = 1000;
    MP_Params p = blankParams();
    morphologyDefaults(p);
    p.p[0][0] = 0.0f; // radius 1
    p.p[3][1] = 100.0f;
    EXPECT_NEAR(at(runCopy("MP_calcPixelErode", w, h, img, p), w, 0, 4, 0), 50000, 1);
    MP_UI_SetPanoramaMode(1);
    EXPECT_LT(at(runCopy("MP_calcPixelErode", w, h, img, p), w, 0, 4, 0), 2000);
}

// ---- "Polfilter" ---------------------------------------------------------------

TEST_F(GlowTest, PolfilterSettingsFromTheSliders)
{
    struct Case {
        float D, H, F;
        MP_PolfilterSettings want;
    } cases[] = {{0.5f, 0.75f, 0.75f, {0.625f, 0.425f, 0.75f, 0.75f, 0.7f}},
                 {0.0f, 0.75f, 0.75f, {0.25f, 0.5f, 0.75f, 0.75f, 0.7f}},
                 {0.5f, 0.0f, 0.2f, {0.625f, 0.425f, 0.0f, 0.2f, 1.0f}},
                 {0.5f, 1.0f, 0.2f, {0.625f, 0.425f, 1.0f, 0.2f, 0.6f}}};
    for (const Case& c : cases) {
        const MP_PolfilterSettings s = MP_polfilterSettings(c.D, c.H, c.F);
        EXPECT_FLOAT_EQ(s.localContrast, c.want.localContrast) << c.D;
        EXPECT_FLOAT_EQ(s.softContrast, c.want.softContrast) << c.D;
        EXPECT_FLOAT_EQ(s.lights, c.want.lights) << c.H;
        EXPECT_FLOAT_EQ(s.colour, c.want.colour) << c.F;
        EXPECT_FLOAT_EQ(s.curve, c.want.curve) << c.H;
    }
}

MP_Params polfilterBlock()
{
    MP_Params p = ToneTest::blankParams();
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.75f;
    p.p[2][0] = 0.75f;
    p.p[3][1] = 100.0f;
    p.previewscalingfactor = 0.05f; // a radius that fits the small pictures
    return p;
}

TEST_F(GlowTest, PolfilterBlendsItsResultOnceWithTheMasks)
{
    const int w = 40, h = 30;
    const Image src = testPicture(w, h);
    const Image plain = dispatchCopy("MP_calcPixelPolfilter", w, h, src, polfilterBlock());
    EXPECT_NE(plain, src);
    // Through the final pass (a mask set that leaves every pixel at opacity 1):
    // the temporary image after the float round trip.
    MP_Params p = polfilterBlock();
    setInertGeometry(p, 4);
    EXPECT_EQ(dispatchCopy("MP_calcPixelPolfilter", w, h, src, p), roundTripped(plain));
    // Outside every mask the source stays, however the chain changed the picture.
    p = polfilterBlock();
    setHidingGeometry(p, 4);
    EXPECT_EQ(dispatchCopy("MP_calcPixelPolfilter", w, h, src, p), roundTripped(src));
    // The same bits for any thread count.
    MP_UI_SetIdealThreadCount(1);
    EXPECT_EQ(dispatchCopy("MP_calcPixelPolfilter", w, h, src, polfilterBlock()), plain);
}

int failingDriver(int, int, ushort*, ushort*, int, int, MP_Params*) { return -1; }

TEST_F(GlowTest, PolfilterFailuresLeaveTheDestination)
{
    const int w = 20, h = 16;
    const Image src = testPicture(w, h);
    for (const char* inner : {"MP_calcPixelSoftContrast", "MP_calcPixelGradationLagrange"}) {
        const MP_DriverEntry entries[] = {{inner, failingDriver}};
        const MP_DriverTable table = MP_driverTable(entries);
        MP_SetTestDriverTable(&table);
        Image in = src, out(src.size(), 0xABCD);
        MP_Params p = polfilterBlock();
        EXPECT_EQ(dispatch("MP_calcPixelPolfilter", w, h, in, out, p), -1) << inner;
        EXPECT_EQ(out, Image(src.size(), 0xABCD)) << inner;
        MP_SetTestDriverTable(nullptr);
    }
    MP_Params p = polfilterBlock();
    setInertGeometry(p, 4);
    Image in = src, out(src.size(), 0xABCD);
    MP_geometryFreeBuffers();
    MP_geometryTestFailAllocation(0);
    EXPECT_EQ(dispatch("MP_calcPixelPolfilter", w, h, in, out, p), -1);
    MP_geometryTestFailAllocation(-1);
    EXPECT_EQ(out, Image(src.size(), 0xABCD));
    EXPECT_EQ(in, src);
}

// ---- "Artefakte reduzieren" ----------------------------------------------------

TEST_F(GlowTest, ArtifactLevelsAndCounts)
{
    EXPECT_FLOAT_EQ(MP_artifactLevels(0.0f), 65535.0f);
    EXPECT_FLOAT_EQ(MP_artifactLevels(1.0f), 14.0f);
    EXPECT_NEAR(MP_artifactLevels(0.5f), 59.40f, 0.01f);
    EXPECT_FLOAT_EQ(MP_artifactLevels(2.0f), 1.0f);     // past the point where H reaches 0
    EXPECT_FLOAT_EQ(MP_artifactLevels(-0.5f), 65535.0f); // NaN
    EXPECT_FLOAT_EQ(MP_artifactLevels(std::numeric_limits<float>::quiet_NaN()), 65535.0f);
    EXPECT_EQ(MP_artifactLevelCount(0.0f), 1);
    EXPECT_EQ(MP_artifactLevelCount(1.0f), 9);
    EXPECT_EQ(MP_artifactLevelCount(100.0f), 30);
    EXPECT_EQ(MP_artifactLevelCount(std::numeric_limits<float>::quiet_NaN()), 1);
    // "Dither" 0: 512 of the 65,536 values come out one lower, none further.
    int lower = 0;
    for (int v = 0; v <= 65535; ++v) {
        const int q = static_cast<int>(MP_artifactQuantise(65535.0f, v) * 65535.0f);
        ASSERT_GE(q, v - 1);
        ASSERT_LE(q, v);
        lower += q == v - 1;
    }
    EXPECT_EQ(lower, 512);
}

MP_Params artifactBlock(float c, float s, float dither)
{
    MP_Params p = ToneTest::blankParams();
    p.p[0][0] = c;
    p.p[1][0] = s;
    p.p[2][0] = dither;
    p.p[3][1] = 100.0f;
    return p;
}

TEST_F(GlowTest, RemoveArtifactsSmoothsBandsAndKeepsFlatAndMasked)
{
    const int w = 48, h = 385;
    // Flat: unchanged (up to the truncation of the mean).
    Image flat = solidImage(w, 20, 30000, 20000, 10000);
    const Image flat0 = flat;
    MP_Params p = artifactBlock(0.5f, 0.5f, 0.0f);
    ASSERT_EQ(MP_calcPixelRemoveArtifacts(w, 20, nullptr, flat.data(), 6, 6, &p), 0);
    EXPECT_LE(maxDifference(flat, flat0), 2);
    // Banding: steps of 64 units every 6 columns are softened.
    Image bands(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                bands[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint16_t>(20000 + (x / 6) * 64);
    Image smooth = bands;
    p = artifactBlock(0.5f, 0.5f, 0.0f);
    ASSERT_EQ(run("MP_calcPixelRemoveArtifacts", w, h, smooth, smooth, p), 0);
    int steps0 = 0, steps1 = 0;
    for (int x = 1; x < w; ++x) {
        steps0 = std::max(steps0, std::abs(int(at(bands, w, x, 100, 0)) - int(at(bands, w, x - 1, 100, 0))));
        steps1 = std::max(steps1, std::abs(int(at(smooth, w, x, 100, 0)) - int(at(smooth, w, x - 1, 100, 0))));
    }
    EXPECT_LT(steps1, steps0);
    // Every thread count gives the same bits (the diffusion is sequential),
    // and the last row is written.
    MP_UI_SetIdealThreadCount(1);
    Image one = bands;
    p = artifactBlock(0.5f, 0.5f, 0.5f);
    ASSERT_EQ(run("MP_calcPixelRemoveArtifacts", w, h, one, one, p), 0);
    bool lastRow = false;
    for (int x = 0; x < w; ++x)
        lastRow |= at(one, w, x, h - 1, 0) != at(bands, w, x, h - 1, 0);
    EXPECT_TRUE(lastRow);
    for (int n : {3, 4}) {
        MP_UI_SetIdealThreadCount(n);
        Image img = bands;
        p = artifactBlock(0.5f, 0.5f, 0.5f);
        ASSERT_EQ(run("MP_calcPixelRemoveArtifacts", w, h, img, img, p), 0);
        EXPECT_EQ(img, one) << n;
    }
    // Outside every mask the input stays.
    Image masked = bands;
    p = artifactBlock(0.5f, 0.5f, 0.5f);
    setHidingGeometry(p, 4);
    ASSERT_EQ(run("MP_calcPixelRemoveArtifacts", w, h, masked, masked, p), 0);
    EXPECT_EQ(masked, roundTripped(bands));
}

// ---- Path blurs ------------------------------------------------------------------

TEST_F(GlowTest, PathBlursWithoutAPathKeepThePicture)
{
    const int w = 30, h = 20;
    const Image src = testPicture(w, h);
    for (const char* name : {"MP_calcPixelDirBlur", "MP_calcPixelDirSharpen"}) {
        MP_Params p = blankParams();
        lineDefaults(p);
        p.p[0][0] = std::string(name) == "MP_calcPixelDirBlur" ? 0.0f : 1.0f;
        p.p[1][2] = p.p[1][0]; // both ends equal: one sample, the pixel itself
        p.p[1][3] = p.p[1][1];
        p.p[3][1] = 100.0f;
        EXPECT_EQ(runCopy(name, w, h, src, p), roundTripped(src)) << name;
    }
    MP_Params p = blankParams();
    radialDefaults(p);
    p.p[0][0] = 0.0f; // "Länge" 0
    p.p[2][1] = 100.0f;
    EXPECT_EQ(runCopy("MP_calcPixelRadialBlur", w, h, src, p), roundTripped(src));
}

TEST_F(GlowTest, DirBlurFollowsItsLine)
{
    // Horizontal stripes under a horizontal line stay; vertical stripes blur.
    const int w = 32, h = 24;
    Image rows(static_cast<size_t>(w) * h * 3), cols(rows.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                rows[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint16_t>(y % 2 ? 50000 : 10000);
                cols[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint16_t>(x % 2 ? 50000 : 10000);
            }
    MP_Params p = blankParams();
    lineDefaults(p);
    p.p[0][0] = 0.0f;
    p.p[1][0] = 0.25f;
    p.p[1][2] = 0.75f;
    p.p[1][1] = p.p[1][3] = 0.5f; // horizontal, half the width: a 4-pixel path, x - 2 .. x + 1
    p.p[3][1] = 100.0f;
    EXPECT_LE(maxDifference(runCopy("MP_calcPixelDirBlur", w, h, rows, p), rows), 1);
    const Image out = runCopy("MP_calcPixelDirBlur", w, h, cols, p);
    EXPECT_NEAR(at(out, w, 16, 10, 0), 30000, 1);
    EXPECT_NEAR(at(out, w, 17, 10, 0), 30000, 1);
    // In panorama mode the path wraps around instead of sticking to the border.
    const Image plain = runCopy("MP_calcPixelDirBlur", w, h, cols, p);
    MP_UI_SetPanoramaMode(1);
    const Image pano = runCopy("MP_calcPixelDirBlur", w, h, cols, p);
    EXPECT_NE(at(pano, w, 0, 10, 0), at(plain, w, 0, 10, 0));
    EXPECT_EQ(at(pano, w, 16, 10, 0), at(plain, w, 16, 10, 0));
}

TEST_F(GlowTest, RadialBlurAtTheCentreAndNearCorners)
{
    const int w = 21, h = 21;
    const Image src = testPicture(w, h);
    MP_Params p = blankParams();
    radialDefaults(p);
    p.p[0][0] = 1.0f;
    p.p[2][1] = 100.0f;
    const Image out = runCopy("MP_calcPixelRadialBlur", w, h, src, p);
    // The centre pixel (10.5, 10.5 lies between pixels: pixel 10,10 at rho 0.7)
    // and the corners stay inside 0..65535 with their samples averaged.
    EXPECT_NE(out, src);
    MP_UI_SetIdealThreadCount(1);
    EXPECT_EQ(runCopy("MP_calcPixelRadialBlur", w, h, src, p), out);
}

// ---- "Farbton Kantenverstärker" ---------------------------------------------------

TEST_F(GlowTest, HueEdgeBoostsOnlyItsHue)
{
    const int w = 30, h = 20;
    // A cyan picture with a luminance edge down the middle.
    Image img = solidImage(w, h, 0, 40000, 40000);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            for (int c = 1; c < 3; ++c)
                img[(static_cast<size_t>(y) * w + x) * 3 + c] = 20000;
    MP_Params p = blankParams();
    hueEdgeDefaults(p);
    p.p[4][1] = 100.0f;
    p.p[3][2] = 0.0f; // "Farbton" cyan: the full boost at the edge
    const Image cyan = runCopy("MP_calcPixelColorEnhance", w, h, img, p);
    EXPECT_GT(at(cyan, w, w / 2 - 1, 10, 1), 40000 + 50); // the bright side of the edge brightens
    EXPECT_LT(at(cyan, w, w / 2, 10, 1), 20000 - 40);      // the dark side darkens
    // Flat, far from the edge: unchanged.
    EXPECT_LE(std::abs(int(at(cyan, w, 0, 10, 1)) - 40000), 1);
    p.p[3][2] = 1.0f;
    p.p[3][3] = p.p[3][4] = 0.0f; // red: the complementary hue, almost no boost
    EXPECT_LE(maxDifference(runCopy("MP_calcPixelColorEnhance", w, h, img, p), img), 2);
}

// A flat area has no edge to boost, whatever its colour and brightness: the
// differences start from the centre's own plane value (from its float
// luminance, dark greys rose by tens of units and cyan by 40).
TEST_F(GlowTest, HueEdgeKeepsFlatAreas)
{
    struct Case {
        uint16_t r, g, b;
        float micro;
    };
    for (const Case c : {Case{300, 300, 300, 0.2f}, Case{100, 100, 100, 1.0f}, Case{1000, 1000, 1000, 1.0f},
                         Case{0, 40000, 40000, 0.2f}, Case{40000, 40000, 40000, 1.0f}, Case{65535, 65535, 65535, 1.0f},
                         Case{12000, 34000, 56000, 1.0f}}) {
        SCOPED_TRACE(testing::Message() << c.r << " " << c.g << " " << c.b << " micro " << c.micro);
        MP_Params p = blankParams();
        hueEdgeDefaults(p);
        p.p[4][1] = 100.0f;
        p.p[2][0] = c.micro;
        p.p[3][2] = 0.0f; // cyan, the full boost
        const Image flat = solidImage(40, 30, c.r, c.g, c.b);
        EXPECT_LE(maxDifference(runCopy("MP_calcPixelColorEnhance", 40, 30, flat, p), flat), 1);
    }
}

} // namespace
