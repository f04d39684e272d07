// The window size rule and the window row widths shared by the window operators.

#include "enginefixture.h"

#include "engine/core/windowsize.h"

#include <cmath>
#include <limits>

namespace {

class WindowSizeTest : public EngineTest {
protected:
    static MP_Params block(float radius, int loopstep, float preview = 1.0f, float quality = 1.0f)
    {
        MP_Params p{};
        p.p[0][0] = radius;
        p.loopstep = loopstep;
        p.previewscalingfactor = preview;
        p.unit_kernel_multiplier = quality;
        p.cpu_loopstep_mulitplier = 14.0f;
        p.kernel_exponent = 4.0f;
        return p;
    }
};

TEST_F(WindowSizeTest, SizeRuleWithLoopStep)
{
    struct Case {
        float radius;
        int loopstep;
        float preview, quality;
        int R, step;
        float scale;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.2f, 1, 1.0f, 1.0f, 96, 8, 65535.0f / (96.0f * 192.0f)}, // r0 100, s 1 + 100/14
        {0.0f, 1, 1.0f, 1.0f, 1, 1, 32767.5f},                      // radius 0: R 1
        {0.002f, 1, 1.0f, 1.0f, 1, 1, 32767.5f},                    // r0 1
        {0.2f, 0, 1.0f, 1.0f, 96, 8, 65535.0f / (96.0f * 192.0f)},  // loopstep 0 counts as 1
        {0.01f, 0, 1.0f, 1.0f, 5, 1, 65535.0f / (5.0f * 10.0f)},     // r0 5, step 1 + 0
        {1.0f, 1, 1.0f, 2.0f, 468, 36, 65535.0f / (468.0f * 936.0f)}, // quality 2: r0 held to 500
        {nan, 1, 1.0f, 1.0f, 1, 1, 32767.5f},                       // NaN truncates to 0
        {-0.5f, 1, 1.0f, 1.0f, 1, 1, 32767.5f},
    };
    for (const Case& c : cases) {
        const MP_Params p = block(c.radius, c.loopstep, c.preview, c.quality);
        const MP_WindowSize w = MP_calcWindowSize(&p, 500.0f);
        EXPECT_EQ(w.R, c.R) << c.radius << " " << c.loopstep;
        EXPECT_EQ(w.step, c.step) << c.radius << " " << c.loopstep;
        EXPECT_EQ(w.scale, c.scale) << c.radius << " " << c.loopstep;
        EXPECT_LE(w.R, 500);
    }
}

TEST_F(WindowSizeTest, StepOneAndBoxVariants)
{
    // K 50 without a loop step: the radius is not rounded to a step.
    MP_Params p = block(0.5f, 3);
    MP_WindowSize w = MP_calcWindowSize(&p, 50.0f, MP_WindowStep::One, MP_WindowWeights::Box);
    EXPECT_EQ(w.R, 25);
    EXPECT_EQ(w.step, 1);
    EXPECT_EQ(w.scale, 1.0f / 625.0f);
    p = block(0.0f, 3);
    w = MP_calcWindowSize(&p, 50.0f, MP_WindowStep::One, MP_WindowWeights::Box);
    EXPECT_EQ(w.R, 1);
    EXPECT_EQ(w.scale, 1.0f);
    // Variance: step 1, Gaussian weights; radius 1 gives R 50 (every row
    // sampled), preview 0.25 and radius 1 give r 12.
    p = block(1.0f, 4);
    w = MP_calcWindowSize(&p, 50.0f, MP_WindowStep::One);
    EXPECT_EQ(w.R, 50);
    EXPECT_EQ(w.step, 1);
    p = block(1.0f, 4, 0.25f);
    w = MP_calcWindowSize(&p, 50.0f, MP_WindowStep::One);
    EXPECT_EQ(w.R, 12);
    EXPECT_EQ(w.step, 1);
    EXPECT_EQ(w.scale, 65535.0f / (12.0f * 24.0f));
}

// The tone-mapping radius is the rule with K 500.
TEST_F(WindowSizeTest, ToneMappingRadiusIsTheSharedRule)
{
    for (float radius : {0.0f, 0.05f, 0.2f, 0.37f, 1.0f, 3.0f}) {
        for (int loopstep : {0, 1, 2, 4}) {
            const MP_Params p = block(radius, loopstep, 0.5f, 1.5f);
            int r = 0, step = 0;
            MP_calcTMRadius(&p, &r, &step);
            const MP_WindowSize w = MP_calcWindowSize(&p, 500.0f);
            EXPECT_EQ(r, w.R);
            EXPECT_EQ(step, w.step);
        }
    }
}

// Rows beyond the dispatcher's radius get half-width 1, its own rows are kept.
TEST_F(WindowSizeTest, CompleteRowWidthsKeepsWrittenRowsAndFillsTheRest)
{
    MP_Params p = block(0.01f, 1, 1.0f, 1.0f); // dispatcher radius (int)(500 * 0.01) = 5
    for (short& v : p.lx)
        v = 77; // an earlier run's rows
    for (int ky = -5; ky <= 5; ++ky)
        p.lx[500 + ky] = 9;
    MP_completeRowWidths("MP_calcPixelLocalContrast", &p, 8);
    for (int ky = -5; ky <= 5; ++ky)
        EXPECT_EQ(p.lx[500 + ky], 9) << ky;
    for (int ky = 6; ky <= 8; ++ky) {
        EXPECT_EQ(p.lx[500 + ky], 1) << ky;
        EXPECT_EQ(p.lx[500 - ky], 1) << ky;
    }
    EXPECT_EQ(p.lx[500 + 9], 77); // beyond the driver's window: untouched

    // A dispatcher radius above 500 wrote no row: every row of the window gets 1.
    p = block(2.0f, 1, 1.0f, 1.0f);
    for (short& v : p.lx)
        v = 77;
    MP_completeRowWidths("MP_calcPixelLocalContrast", &p, 500);
    for (int ky = -500; ky <= 500; ++ky)
        ASSERT_EQ(p.lx[500 + ky], 1) << ky;
}

TEST_F(WindowSizeTest, FillWindowRowsRefillsOnlyWhenTheDispatcherRowsDoNotServe)
{
    MP_Params p = block(0.02f, 1); // dispatcher radius 10
    for (short& v : p.lx)
        v = 77;
    MP_fillWindowRows("MP_calcPixelLocalContrast", &p, 10, true);
    EXPECT_EQ(p.lx[500], 77); // same radius: left alone
    MP_fillWindowRows("MP_calcPixelLocalContrast", &p, 8, false);
    EXPECT_EQ(p.lx[500], 77); // smaller window on the dispatcher's rows
    MP_fillWindowRows("MP_calcPixelLocalContrast", &p, 8, true);
    EXPECT_EQ(p.lx[500], 9); // rewritten for radius 8 (odd half-widths)
    EXPECT_EQ(p.lx[500 + 8], 1);
    for (short& v : p.lx)
        v = 77;
    MP_fillWindowRows("MP_calcPixelLocalContrast", &p, 12, false);
    EXPECT_EQ(p.lx[500 + 12], 1); // larger than the dispatcher's: rewritten
    EXPECT_EQ(p.lx[500], 13);
}

} // namespace
