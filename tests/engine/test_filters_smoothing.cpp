// The vector pieces of the edge-preserving smoothing: the sixteen-lane runs
// (unmasked inside, masked at the left and right edges) must give each
// pixel's own walk.

#include "filterfixture.h"

#include "engine/filters/filterframe.h"
#include "engine/filters/smoothing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A window of R 60 with step 5 on a noisy picture 331 pixels wide: runs with
// groups inside and groups at both edges, a last run of 11 pixels, rows
// whose windows are cut at the top and bottom. Every gather path, the
// portable code and the pixel walk give the same bits, for ImageSmooth,
// ChannelSmooth and ColorSmooth.
TEST_F(FilterTest, SmoothingRunsEqualThePixelWalk)
{
    const int w = 331, h = 23;
    Image src = noisy(w, h, 30000, 22000, 15000, 12000);
    for (int x = 150; x < w; ++x) // a hard edge inside the window
        for (int y = 0; y < h; ++y)
            src[(static_cast<size_t>(y) * w + x) * 3] = 60000;
    struct Case {
        const char* name;
        int comboSlot;
    };
    for (const Case c : {Case{"MP_calcPixelImageSmooth", 3}, Case{"MP_calcPixelChannelSmooth", 4},
                         Case{"MP_calcPixelColorSmooth", 3}}) {
        MP_Params p = blankParams();
        p.kernel_exponent = 4.0f;
        p.p[0][0] = 0.12f; // R 60, step 5
        p.p[1][0] = 0.4f;
        if (c.comboSlot == 4)
            p.p[2][0] = p.p[3][0] = 0.6f;
        else
            setMask(p.p[2], 1.0f);
        p.p[2][2] = p.p[2][3] = p.p[2][4] = 1.0f;
        p.p[c.comboSlot][1] = 100.0f;
        OpenCLManager::getInstance()->setKernelSuperquadricTable(60, &p);
        mp_filters::g_filterRunWalk = false;
        const Image walk = runCopy(c.name, w, h, src, p);
        mp_filters::g_filterRunWalk = true;
        EXPECT_NE(walk, roundTripped(src)) << c.name; // the operator did something
        for (int path : {0, 1}) {
            mp_filters::g_smoothPath = path;
            EXPECT_EQ(runCopy(c.name, w, h, src, p), walk) << c.name << " path " << path;
        }
        mp_filters::g_smoothPath = 1;
        mp_filters::g_filterPortable = true;
        EXPECT_EQ(runCopy(c.name, w, h, src, p), walk) << c.name << " portable";
        mp_filters::g_filterPortable = false;
    }
}

} // namespace
