// The neighbourhood filter frame and the window filters: local contrast, edge
// enhancers, smoothing, local white balance and aberration, position blurs.

#include "filterfixture.h"

#include "engine/core/pointrows.h"
#include "engine/filters/colorenhance.h"

#include <cmath>
#include <limits>
#include <cstring>
#include <set>

namespace {

using namespace mp_filters;

void fillRows(MP_Params& p, int kernelSize)
{
    OpenCLManager::getInstance()->setKernelSuperquadricTable(kernelSize < 1 ? 1 : kernelSize, &p);
}
void localContrastDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    setMask(p.p[2], 1.0f);
    fillRows(p, 250);
}
void localContourDefaults(MP_Params& p)
{
    p.p[0][0] = 0.2f;
    p.p[1][0] = 0.75f;
    setMask(p.p[2], 1.0f);
    fillRows(p, 100);
}
void veilingGlareDefaults(MP_Params& p)
{
    p.p[0][0] = 0.75f;
    p.p[1][0] = 0.5f;
    setMask(p.p[2], 1.0f);
    fillRows(p, 375);
}
void enhanceDefaults(MP_Params& p)
{
    p.p[0][0] = 0.7f;
    p.p[1][0] = 0.6f;
    p.p[2][0] = 0.1f;
    setMask(p.p[3], 1.0f);
    fillRows(p, 350);
}
void artworkDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    fillRows(p, 250);
}
void imageSmoothDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.25f;
    setMask(p.p[2], 1.0f);
    fillRows(p, 250);
}
void channelSmoothDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = p.p[2][0] = p.p[3][0] = 0.5f;
    fillRows(p, 250);
}
void colorSmoothDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][2] = p.p[2][3] = p.p[2][4] = 1.0f;
    fillRows(p, 250);
}
void skySmoothDefaults(MP_Params& p)
{
    p.p[0][0] = 0.25f;
    p.p[1][0] = 0.5f;
    p.p[2][2] = 0.39f;
    p.p[2][3] = 0.5f;
    p.p[2][4] = 0.74f;
    fillRows(p, 125);
}
void whitebalanceDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    fillRows(p, 250);
}
void aberrationDefaults(MP_Params& p)
{
    p.p[0][0] = 0.4f;
    p.p[1][0] = 0.5f;
    fillRows(p, 20);
}
void tiltShiftDefaults(MP_Params& p)
{
    p.p[0][0] = 0.35f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.5f;
    p.p[3][0] = 0.1f;
    p.p[3][1] = 0.4f;
    p.p[3][2] = 0.9f;
    p.p[3][3] = 0.6f;
    fillRows(p, 175);
}
void focusDefaults(MP_Params& p)
{
    p.p[0][0] = 0.75f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = p.p[2][1] = 0.5f;
    fillRows(p, 375);
}

const auto kFilterCases = ::testing::Values(FrameCase{"MP_calcPixelLocalContrast", 3, 4, localContrastDefaults, 0, "LocalContrast"},
                      FrameCase{"MP_calcPixelLocalContour", 3, 4, localContourDefaults, 0, "LocalContour"},
                      FrameCase{"MP_calcPixelColorContrast", 3, 4, localContrastDefaults, 0, "ColorContrast"},
                      FrameCase{"MP_calcPixelVeilingGlare", 3, 4, veilingGlareDefaults, 0, "VeilingGlare"},
                      FrameCase{"MP_calcPixelEnhance", 4, 5, enhanceDefaults, 0, "Enhance"},
                      FrameCase{"MP_calcPixelArtworkEnhance", 2, 3, artworkDefaults, 0, "ArtworkEnhance"},
                      FrameCase{"MP_calcPixelImageSmooth", 3, 4, imageSmoothDefaults, 0, "ImageSmooth"},
                      FrameCase{"MP_calcPixelChannelSmooth", 4, 5, channelSmoothDefaults, 0, "ChannelSmooth"},
                      FrameCase{"MP_calcPixelColorSmooth", 3, 4, colorSmoothDefaults, 0, "ColorSmooth"},
                      FrameCase{"MP_calcPixelSkySmooth", 3, 4, skySmoothDefaults, 0, "SkySmooth"},
                      FrameCase{"MP_calcPixelLocalWhitebalance", 2, 3, whitebalanceDefaults, 0, "LocalWhitebalance"},
                      FrameCase{"MP_calcPixelChromaticAberration", 2, 3, aberrationDefaults, 0,
                                "ChromaticAberration"},
                      FrameCase{"MP_calcPixelTiltShift", 4, 5, tiltShiftDefaults, 0, "TiltShift"},
                      FrameCase{"MP_calcPixelFocus", 3, 4, focusDefaults, 0, "Focus"});
INSTANTIATE_TEST_SUITE_P(Filters, ToneFrame, kFilterCases, [](const auto& info) { return info.param.label; });

class FilterRuns : public FilterTest, public ::testing::WithParamInterface<FrameCase> {
    void SetUp() override { FilterTest::SetUp(); }
};
INSTANTIATE_TEST_SUITE_P(Filters, FilterRuns, kFilterCases, [](const auto& info) { return info.param.label; });
void smallWindowDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    setMask(p.p[1], 1.0f);
}
// SubDeNoiseAverage: intensity and scale (slot 1 entry 1 is not read), masks in slot 2.
void subAverageDefaults(MP_Params& p)
{
    p.p[0][0] = 0.7f;
    p.p[1][0] = 0.6f;
}
// SubSharpen: intensity and scale, masks in slot 2.
void subSharpenDefaults(MP_Params& p)
{
    p.p[0][0] = 0.8f;
    p.p[1][0] = 0.5f;
}
INSTANTIATE_TEST_SUITE_P(
    SmallWindows, FilterRuns,
    ::testing::Values(FrameCase{"MP_calcPixelDeNoiseAverage", 2, 3, smallWindowDefaults, 0, "Average"},
                      FrameCase{"MP_calcPixelDeNoiseMedian", 2, 3, smallWindowDefaults, 0, "Median"},
                      FrameCase{"MP_calcPixelDeNoiseMinMax", 2, 3, smallWindowDefaults, 0, "MinMax"},
                      FrameCase{"MP_calcPixelSubDeNoiseAverage", 1, 2, subAverageDefaults, 0, "SubDeNoiseAverage"},
                      FrameCase{"MP_calcPixelSubSharpen", 1, 2, subSharpenDefaults, 0, "SubSharpen"}),
    [](const auto& info) { return info.param.label; });

// ---- The frame -------------------------------------------------------------------

class FilterFrame : public FilterTest {
protected:
    // The samples the walk visits around (x, y), as (column, row).
    static std::vector<std::pair<int, int>> samples(const Window& win, int x, int y)
    {
        std::vector<std::pair<int, int>> out;
        MP_forEachWindowSample(win, x, y, [&](size_t i, float) {
            out.emplace_back(static_cast<int>(i % win.width), static_cast<int>(i / win.width));
        });
        return out;
    }
    static Window window(int w, int h, int R, int step, int halfWidth, bool panorama)
    {
        Window win;
        win.width = w;
        win.height = h;
        win.R = R;
        win.step = step;
        win.panorama = panorama;
        for (int& v : win.halfWidth)
            v = halfWidth;
        return win;
    }
};

TEST_F(FilterFrame, LuminanceWeightsOfTheInformationPlane)
{
    MP_Params p = blankParams();
    p.lumr = 0.3333f;
    p.lumg = 0.3334f;
    p.lumb = 0.3333f;
    const LumWeights w = LumWeights::of(&p);
    EXPECT_EQ(w.wr, 5460u);
    EXPECT_EQ(w.wg, 5462u);
    EXPECT_EQ(w.wb, 5460u);
    const ushort white[3] = {65535, 65535, 65535};
    EXPECT_EQ(w.of(white), 65527u);
    // Weights beyond 1 (a hostile block) stay within 16 bits.
    p.lumr = p.lumg = p.lumb = 7.0f;
    EXPECT_EQ(LumWeights::of(&p).of(white), 65535u);
}

// The luminance plane pass gives every pixel LumWeights::of, in the vector
// row copies (each the processor has) and the plain loop alike: saturated
// sums, full-scale channels and row ends.
TEST_F(FilterFrame, LuminancePlaneEqualsThePixelWeights)
{
    struct Case {
        float r, g, b;
    };
    for (const Case c : {Case{0.299f, 0.587f, 0.114f}, Case{0.3333f, 0.3334f, 0.3333f}, Case{7.0f, 7.0f, 7.0f},
                         Case{1.0f, 0.0f, 0.0f}}) {
        for (const int w : {1, 15, 16, 17, 50}) {
            const int h = 3;
            Image src = testPicture(w, h);
            for (size_t i = 0; i < src.size(); i += 7)
                src[i] = 65535; // full-scale channels among the picture's
            MP_Params p = blankParams();
            p.lumr = c.r;
            p.lumg = c.g;
            p.lumb = c.b;
            const LumWeights lw = LumWeights::of(&p);
            // 0 the plain loop, 1..3 the baseline, AVX2 and AVX-512 row copies.
            for (int copy : {0, 1, 2, 3}) {
                MP_SetPlainPointLoops(copy == 0);
                MP_SetPointVectorLimit(copy == 0 ? 2 : copy - 1);
                std::vector<ushort> plane(static_cast<size_t>(w) * h, 0xABCD);
                mp_filters::MP_runFilterPlanePass(src.data(), plane.data(), w, h, &p);
                for (size_t i = 0; i < plane.size(); ++i)
                    ASSERT_EQ(plane[i], lw.of(src.data() + 3 * i)) << c.r << " " << w << " " << i << " " << copy;
            }
            MP_SetPlainPointLoops(false);
            MP_SetPointVectorLimit(2);
        }
    }
}

TEST_F(FilterFrame, WindowWalkAtTheBorders)
{
    // Top row, R 1, step 2: the first grid row inside the image is +1.
    Window win = window(5, 4, 1, 2, 1, false);
    for (const auto& s : samples(win, 2, 0))
        EXPECT_EQ(s.second, 1);
    EXPECT_EQ(samples(win, 2, 0).size(), 2u); // columns -1 and +1 of row 1

    // Panorama: column 0 reads the last columns of the same rows; rows stop at
    // the image (they start at -y, not on the grid).
    win = window(6, 3, 2, 1, 2, true);
    const auto pano = samples(win, 0, 0);
    std::set<int> cols, rows;
    for (const auto& s : pano) {
        cols.insert(s.first);
        rows.insert(s.second);
    }
    EXPECT_EQ(cols, (std::set<int>{4, 5, 0, 1, 2}));
    EXPECT_EQ(rows, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(pano.front(), std::make_pair(4, 0)); // rows ascending, columns from -l

    // Panorama on an image narrower than the window: every column in bounds.
    win = window(2, 1, 7, 1, 7, true);
    const auto narrow = samples(win, 1, 0);
    EXPECT_EQ(narrow.size(), 15u);
    for (const auto& s : narrow)
        EXPECT_TRUE(s.first == 0 || s.first == 1);

    // One row, step 2, R 1: no sample of the image; the centre stands in.
    win = window(1, 1, 1, 2, 1, false);
    EXPECT_EQ(samples(win, 0, 0), (std::vector<std::pair<int, int>>{{0, 0}}));
    int n = MP_forEachWindowSample<false>(win, 0, 0, [](size_t, float) {});
    EXPECT_EQ(n, 0);
}

// A one-pixel image with step 2 gives the window operators a finite result
// (the centre is the window's only sample): a grey pixel stays close to itself.
TEST_F(FilterFrame, EmptyWindowsTakeTheCentre)
{
    MP_Params p = blankParams();
    p.loopstep = 2;
    p.p[3][1] = p.p[2][1] = p.p[4][1] = 100.0f;
    p.p[1][0] = 1.0f;
    setMask(p.p[2], 1.0f);
    const Image src = {30000, 30000, 30000};
    for (const char* name : {"MP_calcPixelVeilingGlare", "MP_calcPixelTiltShift", "MP_calcPixelColorContrast"}) {
        MP_Params q = p;
        if (std::string(name) == "MP_calcPixelTiltShift") {
            q.p[2][0] = 0.5f;
            q.p[1][0] = 0.5f;
            std::memset(q.p[3], 0, sizeof q.p[3]); // both line points equal
        }
        int r = -9;
        const Image out = runCopy(name, 1, 1, src, q, &r);
        EXPECT_EQ(r, 0) << name;
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(out[c], src[c], 100) << name;
    }
}

TEST_F(FilterFrame, PixelOutsideEveryMaskIsWrittenBack)
{
    MP_Params p = blankParams();
    localContrastDefaults(p);
    p.p[3][1] = 100.0f;
    p.p[1][0] = 1.0f;
    setHidingGeometry(p, 4);
    const Image src = solidImage(4, 3, 257, 30000, 65535);
    const Image out = runCopy("MP_calcPixelLocalContrast", 4, 3, src, p);
    EXPECT_EQ(out, roundTripped(src));
    EXPECT_EQ(out[0], 256);
}

// 1537 rows on four threads: the last band ends at the last row.
TEST_F(FilterFrame, LastRowIsWritten)
{
    const int w = 2, h = 1537;
    MP_Params p = blankParams();
    p.p[0][0] = 0.002f;
    p.p[1][0] = 0.5f;
    p.p[3][1] = 100.0f;
    setMask(p.p[2], 1.0f);
    const Image src = noisy(w, h, 30000, 30000, 30000, 5000);
    for (const char* name : {"MP_calcPixelLocalContrast", "MP_calcPixelImageSmooth"}) {
        const Image out = dispatchCopy(name, w, h, src, p);
        for (size_t i = out.size() - 6; i < out.size(); ++i)
            EXPECT_NE(out[i], 0xABCD) << name;
    }
}

// Failures: the scratch buffer refused (-1), bytes per pixel other than 6 (-2):
// the destination is untouched.
TEST_F(FilterFrame, FailuresLeaveTheDestination)
{
    const char* names[] = {"MP_calcPixelLocalContrast", "MP_calcPixelLocalContour",     "MP_calcPixelColorContrast",
                           "MP_calcPixelVeilingGlare",  "MP_calcPixelEnhance",          "MP_calcPixelArtworkEnhance",
                           "MP_calcPixelImageSmooth",   "MP_calcPixelChannelSmooth",    "MP_calcPixelColorSmooth",
                           "MP_calcPixelSkySmooth",     "MP_calcPixelLocalWhitebalance", "MP_calcPixelChromaticAberration",
                           "MP_calcPixelTiltShift",     "MP_calcPixelFocus",            "MP_calcPixelDeNoiseAverage",
                           "MP_calcPixelDeNoiseMinMax", "MP_calcPixelSubDeNoiseAverage", "MP_calcPixelDeNoiseVariance",
                           "MP_calcPixelDeNoiseIterative"};
    const Image src = testPicture(8, 6);
    for (const char* name : names) {
        MP_Params p = blankParams();
        p.p[0][0] = 0.3f;
        p.p[1][0] = 0.7f;
        Image in = src, dst(src.size(), 7);
        EXPECT_EQ(MP_UI_executeKernel(name, 8, 6, in.data(), dst.data(), 6, 4, &p, -1, 0.0f, 1.0f), -2) << name;
        EXPECT_EQ(MP_UI_executeKernel(name, 8, 6, in.data(), dst.data(), 8, 6, &p, -1, 0.0f, 1.0f), -2) << name;
        ASSERT_EQ(MP_UpdateBuffer(SIZE_MAX / 4), nullptr);
        EXPECT_EQ(MP_UI_executeKernel(name, 8, 6, in.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f), -1) << name;
        EXPECT_EQ(dst, Image(src.size(), 7)) << name;
        EXPECT_EQ(in, src) << name;
    }
}

// ---- Local contrast ----------------------------------------------------------------

TEST_F(FilterTest, LocalContrastNeutralStrength)
{
    MP_Params p = blankParams();
    p.p[0][0] = 0.1f;
    p.p[1][0] = 0.25f;
    p.p[3][1] = 100.0f;
    setMask(p.p[2], 1.0f);
    const Image src = solidImage(5, 4, 655, 655, 655);
    // By name with blend mode 0 the dispatcher skips it.
    EXPECT_EQ(dispatchCopy("MP_calcPixelLocalContrast", 5, 4, src, p), Image(src.size(), 0xABCD));
    // Called directly it runs with s = 0: each channel times lum0 / (lum0 + 0.001).
    Image in = src, out(src.size());
    ASSERT_EQ(MP_calcPixelLocalContrast(5, 4, in.data(), out.data(), 6, 6, &p), 0);
    const float c = 655.0f * MP_k;
    const float lum0 = p.lumr * c + p.lumg * c + p.lumb * c;
    const float g = lum0 / (lum0 + 0.001f);
    EXPECT_NEAR(g, 0.9090909f, 0.0005f);
    EXPECT_EQ(out[0], static_cast<uint16_t>(static_cast<int>(c * g * 65535.0f)));
}

TEST_F(FilterTest, LocalContrastOperatorsKeepBlackAndVeilingGlareAtZero)
{
    MP_Params p = blankParams();
    localContrastDefaults(p);
    p.p[3][1] = 100.0f;
    p.p[1][0] = 1.0f;
    Image src = testPicture(12, 9);
    for (size_t i = 0; i < 3 * 12; ++i)
        src[i] = 0; // a black first row
    for (const char* name : {"MP_calcPixelLocalContrast", "MP_calcPixelLocalContour", "MP_calcPixelColorContrast"}) {
        const Image out = dispatchCopy(name, 12, 9, src, p);
        for (size_t i = 0; i < 3 * 12; ++i)
            ASSERT_EQ(out[i], 0) << name;
    }
    p.p[1][0] = 0.0f;
    EXPECT_EQ(dispatchCopy("MP_calcPixelVeilingGlare", 12, 9, src, p), roundTripped(src));
}

TEST_F(FilterTest, LocalContourDirectionFollowsStrength)
{
    MP_Params p = blankParams();
    localContourDefaults(p);
    p.p[3][1] = 100.0f;
    Image src = solidImage(9, 9, 20000, 20000, 20000);
    src[(4 * 9 + 4) * 3] = src[(4 * 9 + 4) * 3 + 1] = src[(4 * 9 + 4) * 3 + 2] = 40000;
    p.p[1][0] = 1.0f; // s > 0 brightens
    EXPECT_GT(at(dispatchCopy("MP_calcPixelLocalContour", 9, 9, src, p), 9, 4, 4, 0), 40000);
    p.p[1][0] = 0.0f; // s < 0 darkens
    EXPECT_LT(at(dispatchCopy("MP_calcPixelLocalContour", 9, 9, src, p), 9, 4, 4, 0), 39999);
}

// ---- Edge enhancers -----------------------------------------------------------------

TEST_F(FilterTest, EnhanceWithoutMacroDetailKeepsTheImage)
{
    MP_Params p = blankParams();
    enhanceDefaults(p);
    p.p[4][1] = 100.0f;
    p.p[1][0] = 0.0f;
    const Image src = testPicture(14, 11);
    EXPECT_EQ(dispatchCopy("MP_calcPixelEnhance", 14, 11, src, p), roundTripped(src));
    // With detail a pixel brighter than its surroundings gets brighter (a
    // window small enough to take its neighbours on a 9 x 9 picture), and one
    // darker than them gets darker.
    p.p[1][0] = 1.0f;
    p.p[0][0] = 0.01f;
    fillRows(p, 5);
    Image spot = solidImage(9, 9, 20000, 20000, 20000);
    spot[(4 * 9 + 4) * 3] = spot[(4 * 9 + 4) * 3 + 1] = spot[(4 * 9 + 4) * 3 + 2] = 30000;
    EXPECT_GT(at(dispatchCopy("MP_calcPixelEnhance", 9, 9, spot, p), 9, 4, 4, 1), 30000);
    spot[(4 * 9 + 4) * 3] = spot[(4 * 9 + 4) * 3 + 1] = spot[(4 * 9 + 4) * 3 + 2] = 10000;
    EXPECT_LT(at(dispatchCopy("MP_calcPixelEnhance", 9, 9, spot, p), 9, 4, 4, 1), 10000);
}

// A flat area has nothing to enhance: every sample equals the centre, so the
// detail is 0 and the gain 1. The luminance plane's 14-bit weights sum to
// 16382 / 16384, so a flat plane lies up to one unit below the centre's own
// luminance; measured against that, a dark flat area grew by the micro factor
// (300 became 340, 1000 became 1045 and 100 became 132 at the catalogue
// defaults, 1000 became 1427 at "Mikrodetail" 100 %).
TEST_F(FilterTest, EnhanceKeepsFlatAreas)
{
    struct Case {
        uint16_t r, g, b;
        float micro;
    };
    for (const Case c : {Case{300, 300, 300, 0.1f}, Case{100, 100, 100, 0.1f}, Case{12345, 12345, 12345, 0.1f},
                         Case{1000, 1000, 1000, 1.0f}, Case{40000, 40000, 40000, 1.0f},
                         Case{65535, 65535, 65535, 1.0f}, Case{12000, 34000, 56000, 1.0f}, Case{40, 0, 900, 1.0f}}) {
        SCOPED_TRACE(testing::Message() << c.r << " " << c.g << " " << c.b << " micro " << c.micro);
        MP_Params p = blankParams();
        enhanceDefaults(p);
        p.p[4][1] = 100.0f;
        p.p[2][0] = c.micro;
        const Image flat = solidImage(64, 42, c.r, c.g, c.b);
        EXPECT_LE(maxDifference(dispatchCopy("MP_calcPixelEnhance", 64, 42, flat, p), flat), 1);
    }
}

// The artistic enhancer's first pass takes the local mean as a plane value; a
// flat area's mean must be the plane value itself, or every difference
// becomes -1 and the gain 1 - (1/65535)^q: a white sky became 61484 and 12345
// became 11581 at the catalogue defaults, 40000 became 441 at "Detail" 100 %.
TEST_F(FilterTest, ArtworkEnhanceKeepsFlatAreas)
{
    struct Case {
        uint16_t r, g, b;
        float detail;
    };
    for (const Case c : {Case{65535, 65535, 65535, 0.5f}, Case{12345, 12345, 12345, 0.5f},
                         Case{300, 300, 300, 0.5f}, Case{40000, 40000, 40000, 1.0f}, Case{40000, 40000, 40000, 0.0f},
                         Case{1, 1, 1, 1.0f}, Case{12000, 34000, 56000, 1.0f}}) {
        SCOPED_TRACE(testing::Message() << c.r << " " << c.g << " " << c.b << " detail " << c.detail);
        MP_Params p = blankParams();
        p.kernel_exponent = 4.0f; // the engine's start value
        artworkDefaults(p);
        p.p[2][1] = 100.0f;
        p.p[1][0] = c.detail;
        const Image flat = solidImage(160, 106, c.r, c.g, c.b);
        EXPECT_EQ(maxDifference(dispatchCopy("MP_calcPixelArtworkEnhance", 160, 106, flat, p), roundTripped(flat)), 0);
    }
}

TEST_F(FilterTest, ArtworkDetailSetsThePower)
{
    struct Case {
        float detail, q;
    };
    for (const Case c : {Case{1.0f, 0.001f}, Case{0.0f, 0.501f}}) {
        MP_Params p = blankParams();
        artworkDefaults(p);
        p.p[2][1] = 100.0f;
        p.p[1][0] = c.detail;
        dispatchCopy("MP_calcPixelArtworkEnhance", 6, 5, testPicture(6, 5), p);
        for (int i : {1, 300, 32768, 65535})
            EXPECT_EQ(MP_temp_table[i], MP_pow(static_cast<float>(i) * MP_k, c.q)) << c.detail << " " << i;
    }
}

// ---- Smoothing ------------------------------------------------------------------------

TEST_F(FilterTest, ColorSmoothActsOnlyNearItsColour)
{
    MP_Params p = blankParams();
    colorSmoothDefaults(p); // white: the neutral direction
    p.p[3][1] = 100.0f;
    p.p[0][0] = 0.02f;
    fillRows(p, 10);
    const Image grey = noisy(24, 20, 30000, 30000, 30000, 6000);
    const Image red = noisy(24, 20, 40000, 0, 0, 6000);
    const Image greyOut = dispatchCopy("MP_calcPixelColorSmooth", 24, 20, grey, p);
    EXPECT_LT(spread(greyOut, 0), 0.5 * spread(grey, 0)); // grey: h 1, smoothed
    const Image redOut = dispatchCopy("MP_calcPixelColorSmooth", 24, 20, red, p);
    EXPECT_LE(maxDifference(redOut, red), 1); // pure red: h ~ 1.7e-8, kept
    // The hue weight of pure red against white: (1 - 0.5258)^24.
    const MP_float3 t = MP_normalize({1.001f, 1.001f, 1.001f});
    const float v = (std::fabs(t.x - 1.0f) + t.y + t.z) * 0.33333f;
    EXPECT_NEAR(v, 0.5258f, 0.0001f);
    EXPECT_NEAR(MP_temp2_table[MP_tableIndex(1.0f - v)], 1.7e-8f, 0.1e-8f);
    // SkySmooth is the same operator.
    EXPECT_EQ(dispatchCopy("MP_calcPixelSkySmooth", 24, 20, grey, p), greyOut);
}

TEST_F(FilterTest, ChannelSmoothSmoothsTheChosenChannels)
{
    MP_Params p = blankParams();
    channelSmoothDefaults(p);
    p.p[0][0] = 0.02f; // R 10, step 1 (a large step thins a small image to a sample or two)
    fillRows(p, 10);
    p.p[4][1] = 100.0f;
    p.p[1][0] = 1.0f;
    p.p[2][0] = p.p[3][0] = 0.0f;
    const Image src = noisy(20, 16, 30000, 30000, 30000, 6000);
    const Image out = dispatchCopy("MP_calcPixelChannelSmooth", 20, 16, src, p);
    EXPECT_LT(spread(out, 0), 0.5 * spread(src, 0));
    for (size_t i = 0; i < src.size(); i += 3) {
        ASSERT_EQ(out[i + 1], roundTrip(src[i + 1]));
        ASSERT_EQ(out[i + 2], roundTrip(src[i + 2]));
    }
}

// The smoothing operators weigh each sample by its luminance difference from
// the centre, so a hard edge stays: next to a step from 10000 to 50000 a dark
// pixel takes about a fourteenth of the bright side's weight (divisor table
// 1/(0.61 + 0.05) against 1/0.05) and stays near 12600, where a plain Gaussian
// mean of both sides would give some 30000.
TEST_F(FilterTest, SmoothingKeepsHardEdges)
{
    const int w = 40, h = 12;
    Image src = solidImage(w, h, 10000, 10000, 10000);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                src[(static_cast<size_t>(y) * w + x) * 3 + c] = 50000;
    struct Case {
        const char* kernel;
        void (*defaults)(MP_Params&);
        int blendSlot;
    };
    for (const Case k : {Case{"MP_calcPixelImageSmooth", imageSmoothDefaults, 3},
                         Case{"MP_calcPixelChannelSmooth", channelSmoothDefaults, 4},
                         Case{"MP_calcPixelColorSmooth", colorSmoothDefaults, 3}}) {
        SCOPED_TRACE(k.kernel);
        MP_Params p = blankParams();
        k.defaults(p);
        p.p[0][0] = 0.02f; // R 10, step 1
        fillRows(p, 10);
        p.p[k.blendSlot][1] = 100.0f;
        if (k.blendSlot == 4)
            p.p[1][0] = p.p[2][0] = p.p[3][0] = 1.0f; // the whole mean
        const Image out = dispatchCopy(k.kernel, w, h, src, p);
        for (int c = 0; c < 3; ++c) {
            EXPECT_GT(at(out, w, w / 2 - 1, h / 2, c), 10000);
            EXPECT_LT(at(out, w, w / 2 - 1, h / 2, c), 14000);
            EXPECT_GT(at(out, w, w / 2, h / 2, c), 46000);
            EXPECT_LT(at(out, w, w / 2, h / 2, c), 50000);
        }
    }
}

TEST_F(FilterTest, ImageSmoothMaskAndFlatAreas)
{
    MP_Params p = blankParams();
    imageSmoothDefaults(p);
    p.p[3][1] = 100.0f;
    const Image src = noisy(20, 16, 30000, 25000, 20000, 6000);
    setMask(p.p[2], 0.0f); // curve 0: unchanged
    EXPECT_EQ(dispatchCopy("MP_calcPixelImageSmooth", 20, 16, src, p), roundTripped(src));
    setMask(p.p[2], 1.0f);
    EXPECT_LT(spread(dispatchCopy("MP_calcPixelImageSmooth", 20, 16, src, p), 1), spread(src, 1));
    const Image flat = solidImage(7, 5, 12000, 34000, 56000);
    EXPECT_LE(maxDifference(dispatchCopy("MP_calcPixelImageSmooth", 7, 5, flat, p), flat), 1);
}

// ---- Local white balance and aberration ---------------------------------------------

TEST_F(FilterTest, LocalWhitebalance)
{
    MP_Params p = blankParams();
    whitebalanceDefaults(p);
    p.p[2][1] = 100.0f;
    const Image pic = testPicture(16, 12);
    p.p[1][0] = 0.0f; // run directly: by name the dispatcher skips it
    EXPECT_EQ(runCopy("MP_calcPixelLocalWhitebalance", 16, 12, pic, p), roundTripped(pic));
    p.p[1][0] = 1.0f;
    const Image grey = solidImage(6, 5, 30000, 30000, 30000);
    const Image greyOut = dispatchCopy("MP_calcPixelLocalWhitebalance", 6, 5, grey, p);
    for (size_t i = 0; i < greyOut.size(); i += 3) {
        ASSERT_EQ(greyOut[i], greyOut[i + 1]);
        ASSERT_EQ(greyOut[i], greyOut[i + 2]);
    }
    const Image black = solidImage(6, 5, 0, 0, 0);
    EXPECT_EQ(dispatchCopy("MP_calcPixelLocalWhitebalance", 6, 5, black, p), black);
    // A red cast: red damped, green and blue raised.
    const Image cast = solidImage(6, 5, 40000, 20000, 20000);
    const Image castOut = dispatchCopy("MP_calcPixelLocalWhitebalance", 6, 5, cast, p);
    EXPECT_LT(castOut[0], 40000);
    EXPECT_GT(castOut[1], 20000);
    EXPECT_GT(castOut[2], 20000);
}

TEST_F(FilterTest, ChromaticAberration)
{
    MP_Params p = blankParams();
    aberrationDefaults(p);
    p.p[2][1] = 100.0f;
    p.p[1][0] = 1.0f;
    const Image uniform = solidImage(9, 7, 40000, 20000, 10000);
    EXPECT_EQ(dispatchCopy("MP_calcPixelChromaticAberration", 9, 7, uniform, p), roundTripped(uniform));
    const Image pic = testPicture(16, 12);
    const Image fringes = dispatchCopy("MP_calcPixelChromaticAberration", 16, 12, pic, p);
    EXPECT_NE(fringes, roundTripped(pic));
    p.p[1][0] = 0.0f;
    EXPECT_EQ(dispatchCopy("MP_calcPixelChromaticAberration", 16, 12, pic, p), roundTripped(pic));
}

// ---- Position blurs --------------------------------------------------------------------

TEST_F(FilterTest, TiltShiftSaturationAndLine)
{
    EXPECT_EQ(MP_tiltShiftSaturationExponent(0.0f), 0.0f);
    EXPECT_EQ(MP_tiltShiftSaturationExponent(0.5f), 1.25f);
    EXPECT_EQ(MP_tiltShiftSaturationExponent(1.0f), 6.25f);
    MP_Params p = blankParams();
    tiltShiftDefaults(p);
    p.p[4][1] = 100.0f;
    const Image pic = testPicture(16, 12);
    p.p[2][0] = 0.0f; // qs 0: every pixel its grey
    const Image grey = dispatchCopy("MP_calcPixelTiltShift", 16, 12, pic, p);
    for (size_t i = 0; i < grey.size(); i += 3) {
        ASSERT_NEAR(grey[i], grey[i + 1], 1);
        ASSERT_NEAR(grey[i], grey[i + 2], 1);
    }
    // Both points equal: the distance from that point; the pixel on it has
    // b 0 and a grey pixel stays grey at the default colour.
    p.p[2][0] = 0.5f;
    p.p[3][0] = p.p[3][2] = 0.5f;
    p.p[3][1] = p.p[3][3] = 0.5f;
    Image src = noisy(16, 12, 30000, 30000, 30000, 6000);
    uint16_t* centre = &src[(6 * 16 + 8) * 3];
    centre[0] = centre[1] = centre[2] = 50000;
    const Image out = dispatchCopy("MP_calcPixelTiltShift", 16, 12, src, p);
    EXPECT_NEAR(at(out, 16, 8, 6, 0), 50000, 2);
    EXPECT_NEAR(at(out, 16, 8, 6, 2), 50000, 2);
}

TEST_F(FilterTest, FocusSharpness)
{
    EXPECT_EQ(MP_focusSharpness(0.0f, 0.0f, 0.01f), 1.0f);
    EXPECT_NEAR(MP_focusSharpness(0.5f, 0.0f, 2.0f), 0.8858f, 0.0001f);
    EXPECT_NEAR(MP_focusSharpness(0.0f, 0.1f, 0.01f), 9.8e-5f, 0.05e-5f);
    // The pixel at the centre keeps its colour, its neighbours are blurred
    // (zone size 0.01).
    MP_Params p = blankParams();
    focusDefaults(p);
    p.p[3][1] = 100.0f;
    p.p[0][0] = 0.01f;
    fillRows(p, 5);
    p.p[1][0] = 0.0f;
    const int w = 32, h = 22;
    const Image src = noisy(w, h, 30000, 30000, 30000, 8000);
    const Image out = dispatchCopy("MP_calcPixelFocus", w, h, src, p);
    EXPECT_EQ(at(out, w, 16, 11, 0), roundTrip(at(src, w, 16, 11, 0)));
    EXPECT_LT(spread(out, 0), 0.5 * spread(src, 0));
}

// ---- The hue edge enhancer's driver ----------------------------------------------------

// Workers that record what the driver hands them: the mean plane value of the
// window into every channel.
void windowMeanWorker(TaskFuncParams t)
{
    const MP_ColorEnhanceRun* a = MP_taskArgs<MP_ColorEnhanceRun>(t);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y)
        for (int x = 0; x < a->run.width; ++x) {
            double sum = 0;
            const int n = MP_forEachWindowSample(a->win, x, y, [&](size_t i, float) { sum += a->plane[i]; });
            ushort* d = a->out + (static_cast<size_t>(y) * a->run.width + x) * 3;
            d[0] = d[1] = d[2] = static_cast<ushort>(sum / n);
        }
}

TEST_F(FilterTest, ColorEnhanceDriverRunsTheGivenWorkersIntoASeparateImage)
{
    MP_Params p = blankParams();
    p.p[0][0] = 0.004f; // R 2
    fillRows(p, 2);
    p.p[1][0] = 0.5f;
    p.p[4][1] = 100.0f;
    Image img = solidImage(6, 5, 0, 0, 0);
    for (int x = 0; x < 6; ++x)
        img[x * 3] = img[x * 3 + 1] = img[x * 3 + 2] = 60000; // a bright first row
    const Image src = img;
    // In place: every window still sees the source.
    ASSERT_EQ(MP_runColorEnhance(6, 5, img.data(), img.data(), 6, 6, &p, windowMeanWorker, windowMeanWorker), 0);
    EXPECT_GT(img[3 * 6 * 2], 0);  // row 2 reaches the bright row
    EXPECT_EQ(img[3 * 6 * 4], 0);  // row 4 does not
    EXPECT_LT(img[0], 60000);      // row 0 averages dark rows in
    EXPECT_EQ(MP_temp_table[32768], MP_pow(32768 * MP_k, 0.75f));
    EXPECT_EQ(MP_temp2_table[32768], MP_pow(32768 * MP_k, 24.0f));
    Image dst(src.size(), 7), in = src;
    EXPECT_EQ(MP_runColorEnhance(6, 5, in.data(), dst.data(), 6, 4, &p, windowMeanWorker, windowMeanWorker), -2);
    ASSERT_EQ(MP_UpdateBuffer(SIZE_MAX / 4), nullptr);
    EXPECT_EQ(MP_runColorEnhance(6, 5, in.data(), dst.data(), 6, 6, &p, windowMeanWorker, windowMeanWorker), -1);
    EXPECT_EQ(dst, Image(src.size(), 7));
}

// Runs of pixels gathered at once (eight lanes wide on AVX2 processors,
// sixteen on AVX-512 ones for the edge enhancer and the smoothing operators, and
// in the portable code; the window sums' sixteen-lane code and the
// compiler's loop, g_filterSumLanes) give what each pixel's own
// walk gives, in both workers and in panorama mode.
TEST_P(FilterRuns, EqualThePixelWalk)
{
    const FrameCase& c = GetParam();
    struct Size {
        int w, h;
        float radius; // R 20 on a wide image; windows larger than the image; one row
        int rows;
    };
    for (const Size z : {Size{300, 9, 0.04f, 20}, Size{23, 7, 0.5f, 250}, Size{70, 1, 0.3f, 150}}) {
        const Image src = testPicture(z.w, z.h);
        MP_Params p = blankParams();
        p.p[c.comboSlot][1] = 100.0f;
        c.defaults(p);
        p.p[0][0] = z.radius;
        fillRows(p, z.rows);
        for (bool panorama : {false, true}) {
            for (bool full : {false, true}) {
                MP_UI_SetPanoramaMode(panorama ? 1 : 0);
                MP_Params q = p;
                if (full)
                    setInertGeometry(q, c.geoSlot);
                mp_filters::g_filterRunWalk = false;
                const Image walk = runCopy(c.name, z.w, z.h, src, q);
                mp_filters::g_filterRunWalk = true;
                for (bool portable : {false, true}) {
                    mp_filters::g_filterPortable = portable;
                    for (int lanes : {16, 0}) {
                        if (portable && lanes != 0)
                            continue;
                        mp_filters::g_filterSumLanes = lanes;
                        EXPECT_EQ(runCopy(c.name, z.w, z.h, src, q), walk)
                            << z.w << "x" << z.h << " " << panorama << full << portable << " lanes " << lanes;
                    }
                }
                mp_filters::g_filterPortable = false;
                mp_filters::g_filterSumLanes = 16;
            }
        }
    }
    MP_UI_SetPanoramaMode(0);
}

// Slider values no slider gives (NaN, huge, negative) reach table indices and
// integer conversions only after a clamp: every driver runs and writes.
TEST_F(FilterFrame, HostileSlidersStayInBounds)
{
    const char* names[] = {"MP_calcPixelLocalContrast", "MP_calcPixelLocalContour",     "MP_calcPixelColorContrast",
                           "MP_calcPixelVeilingGlare",  "MP_calcPixelEnhance",          "MP_calcPixelArtworkEnhance",
                           "MP_calcPixelImageSmooth",   "MP_calcPixelChannelSmooth",    "MP_calcPixelColorSmooth",
                           "MP_calcPixelSkySmooth",     "MP_calcPixelLocalWhitebalance", "MP_calcPixelChromaticAberration",
                           "MP_calcPixelTiltShift",     "MP_calcPixelFocus",            "MP_calcPixelDeNoiseAverage",
                           "MP_calcPixelDeNoiseMedian", "MP_calcPixelDeNoiseMinMax",    "MP_calcPixelSubDeNoiseAverage",
                           "MP_calcPixelDeNoiseVariance", "MP_calcPixelDeNoiseIterative"};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Image src = testPicture(9, 7);
    for (float v : {nan, 1e9f, -1e9f, 7.0f}) {
        for (const char* name : names) {
            MP_Params p = blankParams();
            for (int slot = 0; slot < 4; ++slot)
                for (int i = 0; i < 12; ++i)
                    p.p[slot][i] = v;
            p.p[0][0] = std::isnan(v) ? nan : 0.01f * (v > 0 ? 1.0f : 0.0f);
            int r = -9;
            runCopy(name, 9, 7, src, p, &r);
            EXPECT_EQ(r, 0) << name << " " << v;
        }
    }
}

// The vector sums and factors of the contrast operators give the compiler's
// loop's bits for slider values no slider gives, too (NaN and infinite means,
// huge strengths), and in a picture with black and white areas (W and the
// luminance at their ends).
TEST_F(FilterFrame, ContrastVectorCodeEqualsTheLoopForHostileSliders)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Image src = testPicture(150, 6);
    for (size_t i = 0; i < src.size() / 3; ++i)
        src[i] = (i / 9) % 2 ? 65535 : 0;
    for (const char* name : {"MP_calcPixelLocalContrast", "MP_calcPixelLocalContour", "MP_calcPixelColorContrast",
                             "MP_calcPixelVeilingGlare"}) {
        for (float v : {nan, 1e9f, -1e9f, 0.9f, 0.1f}) {
            MP_Params p = blankParams();
            p.p[0][0] = 0.05f;
            p.p[1][0] = v;
            for (int i = 0; i < 6; ++i) {
                p.p[2][2 * i] = 0.2f * static_cast<float>(i);
                p.p[2][2 * i + 1] = 1.0f;
            }
            p.p[3][1] = 100.0f;
            fillRows(p, 20);
            mp_filters::g_filterSumLanes = 0;
            const Image loop = runCopy(name, 150, 6, src, p);
            mp_filters::g_filterSumLanes = 16;
            EXPECT_EQ(runCopy(name, 150, 6, src, p), loop) << name << " " << v;
        }
    }
}

// While the engine's cancel request is raised the passes queue nothing: the
// output image is not copied over the destination.
TEST_F(FilterFrame, CancelledRunLeavesTheDestination)
{
    const Image src = testPicture(12, 8);
    for (const char* name : {"MP_calcPixelImageSmooth", "MP_calcPixelDeNoiseMedian", "MP_calcPixelDeNoiseIterative",
                             "MP_calcPixelSubDeNoiseAverage"}) {
        MP_Params p = blankParams();
        p.p[0][0] = 0.02f;
        p.p[1][0] = 0.5f;
        Image in = src, dst(src.size(), 7);
        MP_UI_SetIsCalculatingCancelRequest(1);
        const int r = MP_UI_executeKernel(name, 12, 8, in.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f);
        MP_UI_SetIsCalculatingCancelRequest(0);
        EXPECT_EQ(r, 0) << name;
        EXPECT_EQ(dst, Image(src.size(), 7)) << name;
    }
}

} // namespace
