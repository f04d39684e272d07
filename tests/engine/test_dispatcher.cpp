#include "enginefixture.h"

#include <cstring>
#include <regex>
#include <string>

namespace {

// A recording driver: counts its runs, keeps the block it was given, and
// writes src + 1 into dst.
struct DriverRun {
    int calls = 0;
    int sizex = 0, sizey = 0, srcBpp = 0, dstBpp = 0;
    MP_Params params{};
};
DriverRun g_run;

int recordingDriver(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    ++g_run.calls;
    g_run.sizex = sizex;
    g_run.sizey = sizey;
    g_run.srcBpp = srcBpp;
    g_run.dstBpp = dstBpp;
    g_run.params = *params;
    for (size_t i = 0; i < static_cast<size_t>(sizex) * sizey * 3; ++i)
        dst[i] = static_cast<ushort>(src[i] + 1);
    return 0;
}

int noMemoryDriver(int, int, ushort*, ushort*, int, int, MP_Params*)
{
    ++g_run.calls;
    return -1;
}

const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelTMfattal", recordingDriver},
    {"MP_calcPixelSepia", recordingDriver},
    {"MP_calcPixelSharpen", recordingDriver},
    {"MP_calcPixelVignette", recordingDriver},
    {"MP_calcPixelHDRlinBlurHorVer", recordingDriver},
    {"MP_calcPixelRemoveArtifacts", noMemoryDriver},
};
const MP_DriverTable kTable = MP_driverTable(kDrivers);

class Dispatcher : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_SetTestDriverTable(&kTable);
        MP_UI_SetShowExexcuteKernelOutput(0);
        MP_UI_SetKernelSampleRate(0.8f); // the start-up's rate
        g_run = DriverRun{};
    }

    int run(const char* name, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, unsigned w, unsigned h,
            MP_Params& p)
    {
        return OpenCLManager::getInstance()->executeKernel(name, w, h, reinterpret_cast<float*>(src.data()),
                                                           reinterpret_cast<float*>(dst.data()), 6, 6, &p, -1, 0.0f,
                                                           1.0f, true, true);
    }

    // Runs with the timing line on and returns what was printed.
    std::string runPrinted(const char* name, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, unsigned w,
                           unsigned h, MP_Params& p, int* result = nullptr)
    {
        MP_UI_SetShowExexcuteKernelOutput(1);
        testing::internal::CaptureStdout();
        const int r = run(name, src, dst, w, h, p);
        std::string out = testing::internal::GetCapturedStdout();
        MP_UI_SetShowExexcuteKernelOutput(0);
        if (result)
            *result = r;
        return out;
    }

    static MP_Params fattal()
    {
        MP_Params p{};
        p.p[0][0] = 0.5f;
        p.previewscalingfactor = 1.0f;
        p.kernel_exponent = 4.0f;
        const float knots[12] = {0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.35f, 0.6f, 0.7f, 0.8f, 0.75f, 1.0f, 0.9f};
        std::memcpy(p.p[5], knots, sizeof knots);
        return p;
    }

    static bool matches(const std::string& out, const std::string& tail)
    {
        return std::regex_match(out, std::regex("^ *[0-9]+\\.[0-9]{4} ms " + tail + "\n$"));
    }
};

} // namespace

TEST(TimingLine, FormatOfThePartExample)
{
    char line[512];
    OpenCLManager::timingLine(line, sizeof line, 812.5, "MP_calcPixelTMfattal", "CPU", "komplett", 125, 0);
    EXPECT_STREQ(line, "   812.5000 ms MP_calcPixelTMfattal/CPU/komplett(125,500),Err:0");
    OpenCLManager::timingLine(line, sizeof line, 12345.67891, "MP_calcPixelSepia", "OCL_GPU", "zerlegt", 1, -2);
    EXPECT_STREQ(line, " 12345.6789 ms MP_calcPixelSepia/OCL_GPU/zerlegt(1,500),Err:-2");
    EXPECT_STREQ(OpenCLManager::methodName(0), "none");
    EXPECT_STREQ(OpenCLManager::methodName(1), "CPU");
    EXPECT_STREQ(OpenCLManager::methodName(2), "OCL_CPU");
    EXPECT_STREQ(OpenCLManager::methodName(3), "OCL_GPU");
    EXPECT_STREQ(OpenCLManager::methodName(7), "none");
}

TEST_F(Dispatcher, CompletesTheBlockAndRunsTheDriverOnce)
{
    MP_UI_SetPanoramaMode(1);
    MP_UI_SetAnimCount(3.0f);
    std::vector<uint16_t> src = solidImage(8, 6, 100, 200, 300);
    std::vector<uint16_t> dst = solidImage(8, 6, 0, 0, 0);
    MP_Params p = fattal();
    for (short& v : p.lx)
        v = 77;
    MP_Params expectSpline = p;
    const float* k = p.p[5];
    MP_cubicSplineCoefficients(&expectSpline, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9],
                               k[11]);

    int result = -9;
    const std::string out = runPrinted("MP_calcPixelTMfattal", src, dst, 8, 6, p, &result);
    EXPECT_EQ(result, 0);
    // ks = 250 at calculation quality 0.5: R = 125.
    EXPECT_TRUE(matches(out, "MP_calcPixelTMfattal/CPU/komplett\\(125,500\\),Err:0")) << out;
    ASSERT_EQ(g_run.calls, 1);
    EXPECT_EQ(g_run.sizex, 8);
    EXPECT_EQ(g_run.sizey, 6);
    EXPECT_EQ(g_run.srcBpp, 6);
    EXPECT_EQ(dst[0], 101);

    const MP_Params& seen = g_run.params;
    EXPECT_EQ(seen.width, 8);
    EXPECT_EQ(seen.height, 6);
    EXPECT_EQ(seen.y_offset, 0);
    EXPECT_EQ(seen.panoramamode, 1);
    EXPECT_EQ(seen.anim_count, 3.0f);
    EXPECT_EQ(seen.unit_kernel_multiplier, 0.5f);
    EXPECT_EQ(seen.cpu_loopstep_mulitplier, 14.0f); // 1.0 * 0.8 * 17.5
    EXPECT_EQ(seen.gpu_loopstep_mulitplier, 14.0f);
    EXPECT_EQ(std::memcmp(seen.a, expectSpline.a, sizeof seen.a), 0);
    EXPECT_EQ(std::memcmp(seen.d, expectSpline.d, sizeof seen.d), 0);
    EXPECT_EQ(std::memcmp(seen.xp, expectSpline.xp, sizeof seen.xp), 0);
    EXPECT_EQ(seen.lx[500 - 125], 1);
    EXPECT_EQ(seen.lx[500 + 125], 1);
    EXPECT_EQ(seen.lx[500], 125);
    EXPECT_EQ(seen.lx[500 - 126], 77); // rows beyond R keep what they held
    EXPECT_EQ(seen.lx[500 + 126], 77);
    EXPECT_EQ(MP_UI_GetCalcMode(), 1);
}

TEST_F(Dispatcher, LoopstepMultiplierFollowsTheSampleRate)
{
    MP_UI_SetKernelSampleRate(0.5f);
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    MP_Params p = fattal();
    run("MP_calcPixelTMfattal", img, img, 2, 2, p);
    EXPECT_EQ(g_run.params.cpu_loopstep_mulitplier, 8.75f);
    EXPECT_EQ(p.cpu_loopstep_mulitplier, 8.75f);
}

TEST_F(Dispatcher, CancelledRunWritesAndPrintsNothing)
{
    MP_UI_SetIsCalculatingCancelRequest(1);
    std::vector<uint16_t> src = solidImage(4, 4, 5, 6, 7);
    std::vector<uint16_t> dst = solidImage(4, 4, 9, 9, 9);
    MP_Params p = fattal();
    const MP_Params before = p;
    int result = -9;
    const std::string out = runPrinted("MP_calcPixelTMfattal", src, dst, 4, 4, p, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(g_run.calls, 0);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    EXPECT_EQ(dst, solidImage(4, 4, 9, 9, 9));
}

TEST_F(Dispatcher, NeutralRunIsSkippedWithoutALine)
{
    std::vector<uint16_t> img = solidImage(4, 4, 5, 6, 7);
    MP_Params p{};
    p.p[0][0] = 0.0005f;
    const MP_Params before = p;
    int result = -9;
    const std::string out = runPrinted("MP_calcPixelSharpen", img, img, 4, 4, p, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(g_run.calls, 0);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    EXPECT_EQ(img, solidImage(4, 4, 5, 6, 7));

    p.p[2][0] = 1.0f; // a blend mode makes the run needed
    runPrinted("MP_calcPixelSharpen", img, img, 4, 4, p);
    EXPECT_EQ(g_run.calls, 1);
}

TEST_F(Dispatcher, ResultsAndTheirLines)
{
    struct Case {
        const char* name;
        bool nullDst;
        int result;
        const char* line;
    };
    const Case cases[] = {
        // Registered with size 0, never has a CPU driver: runs as "no driver".
        {"MP_calcPixelSuperquadric", false, 0, "MP_calcPixelSuperquadric/CPU/komplett\\(1,500\\),Err:0"},
        // Known to the registry without a driver; size 500 at quality 0.5.
        {"MP_calcPixel3dlight", false, 0, "MP_calcPixel3dlight/CPU/komplett\\(250,500\\),Err:0"},
        // Unlisted: size 500.
        {"MP_calcPixeltmfattal", false, 0, "MP_calcPixeltmfattal/CPU/komplett\\(250,500\\),Err:0"},
        {"MP_calcPixelSepia", true, -2, "MP_calcPixelSepia/CPU/komplett\\(1,500\\),Err:-2"},
        {"MP_calcPixelRemoveArtifacts", false, -1, "MP_calcPixelRemoveArtifacts/CPU/komplett\\(1,500\\),Err:-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint16_t> src = solidImage(3, 3, 1, 2, 3);
        std::vector<uint16_t> dst = solidImage(3, 3, 4, 5, 6);
        MP_Params p{};
        p.previewscalingfactor = 1.0f;
        MP_UI_SetShowExexcuteKernelOutput(1);
        testing::internal::CaptureStdout();
        const int r = OpenCLManager::getInstance()->executeKernel(
            c.name, 3, 3, reinterpret_cast<float*>(src.data()), c.nullDst ? nullptr : reinterpret_cast<float*>(dst.data()),
            6, 6, &p, -1, 0.0f, 1.0f, true, true);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(r, c.result);
        EXPECT_TRUE(matches(out, c.line)) << out;
        EXPECT_EQ(dst, solidImage(3, 3, 4, 5, 6));
    }
    EXPECT_EQ(g_run.calls, 1); // the driver without memory only
}

TEST_F(Dispatcher, TimingLineCanBeSwitchedOff)
{
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    MP_Params p = fattal();
    testing::internal::CaptureStdout();
    run("MP_calcPixelTMfattal", img, img, 2, 2, p);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(g_run.calls, 1);
}

TEST_F(Dispatcher, PointOperatorGetsRadiusOne)
{
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    MP_Params p{};
    for (short& v : p.lx)
        v = 77;
    run("MP_calcPixelSepia", img, img, 2, 2, p);
    EXPECT_EQ(p.lx[498], 77);
    EXPECT_EQ(p.lx[499], 1);
    EXPECT_EQ(p.lx[500], 1);
    EXPECT_EQ(p.lx[501], 1);
    EXPECT_EQ(p.lx[502], 77);
    // Sepia's spline slot is 0: its knots become coefficients.
    EXPECT_EQ(p.xp[0], -0.02f);
    EXPECT_EQ(p.xp[6], 1.01f);
}

TEST_F(Dispatcher, KernelWithoutSplineSlotKeepsCoefficientsZero)
{
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    MP_Params p{};
    p.p[0][0] = 3.7f; // radius in pixels
    run("MP_calcPixelHDRlinBlurHorVer", img, img, 2, 2, p);
    EXPECT_EQ(g_run.calls, 1);
    const MP_Params zero{};
    EXPECT_EQ(std::memcmp(p.a, zero.a, sizeof p.a * 5), 0);
    EXPECT_EQ(p.lx[500], 1); // ks = 3 at quality 0.5: R = 1
}

TEST_F(Dispatcher, DegenerateSplineSlotGivesFiniteCoefficientsAndKeepsTheKnots)
{
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    MP_Params p = fattal();
    p.p[5][2] = 0.4f;
    p.p[5][4] = 0.4f; // two inner knots on one x
    run("MP_calcPixelTMfattal", img, img, 2, 2, p);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(std::isfinite(p.a[i]) && std::isfinite(p.b[i]) && std::isfinite(p.c[i]) &&
                    std::isfinite(p.d[i]))
            << i;
    EXPECT_EQ(p.p[5][2], 0.4f);
    EXPECT_EQ(p.p[5][4], 0.4f);
}

TEST_F(Dispatcher, WholeImageAndStripesBothRunTheDriverOnceOnTheCpu)
{
    struct Case {
        const char* name;
        unsigned w, h;
    };
    // 100 rows with R = 125: whole. 700 rows with R = 1 and no memory limit
    // for method 1: the stripe branch, which on the CPU runs the whole image.
    // Vignette needs the whole image.
    const Case cases[] = {{"MP_calcPixelTMfattal", 3, 100}, {"MP_calcPixelSepia", 2, 700}, {"MP_calcPixelVignette", 2, 700}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_run = DriverRun{};
        std::vector<uint16_t> img = solidImage(static_cast<int>(c.w), static_cast<int>(c.h), 1, 2, 3);
        MP_Params p = fattal();
        int result = -9;
        const std::string out = runPrinted(c.name, img, img, c.w, c.h, p, &result);
        EXPECT_EQ(result, 0);
        EXPECT_NE(out.find("/CPU/komplett("), std::string::npos) << out;
        EXPECT_EQ(g_run.calls, 1);
        EXPECT_EQ(g_run.sizey, static_cast<int>(c.h));
        EXPECT_EQ(img[img.size() - 1], 4);
    }
}

TEST_F(Dispatcher, DeviceMethodFailsOverToTheCpu)
{
    // A device memory limit makes the dispatcher choose a device method; this
    // platform has no device, so the run is repeated on the processor.
    for (int method : {2, 3}) {
        SCOPED_TRACE(method);
        MP_ResetSettingsToInitial();
        MP_UI_SetShowExexcuteKernelOutput(0);
        MP_UI_SetMaxMemAllocSize(method, 1e12);
        g_run = DriverRun{};
        for (unsigned h : {10u, 700u}) { // whole image, and stripes
            std::vector<uint16_t> img = solidImage(2, static_cast<int>(h), 1, 2, 3);
            MP_Params p{};
            int result = -9;
            const std::string out = runPrinted("MP_calcPixelSepia", img, img, 2, h, p, &result);
            EXPECT_EQ(result, 0);
            EXPECT_NE(out.find("MP_calcPixelSepia/CPU/komplett(1,500),Err:0\n"), std::string::npos) << out;
            EXPECT_EQ(img[0], 2);
        }
        EXPECT_EQ(g_run.calls, 2);
        EXPECT_NE(OpenCLManager::getInstance()->lastError(), 0);
    }
}

TEST_F(Dispatcher, OverlongNameIsAnUnlistedName)
{
    // Names come from preset and project files: a name longer than the run's
    // 255-character buffer must not run the kernel it begins with.
    const std::string name = std::string("MP_calcPixelTMfattal") + std::string(300, 'x');
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    MP_Params p = fattal();
    int result = -9;
    const std::string out = runPrinted(name.c_str(), img, img, 2, 2, p, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_run.calls, 0);
    EXPECT_EQ(img, solidImage(2, 2, 1, 1, 1));
    // The line names the 255 characters that were kept.
    EXPECT_NE(out.find(" ms " + name.substr(0, 255) + "/CPU/komplett(250,500),Err:0\n"), std::string::npos) << out;

    // 255 characters is the longest name the buffer keeps whole.
    const std::string fits(255, 'y');
    const std::string out2 = runPrinted(fits.c_str(), img, img, 2, 2, p);
    EXPECT_NE(out2.find(" ms " + fits + "/CPU/"), std::string::npos);

    EXPECT_EQ(OpenCLManager::getInstance()->executeKernel(nullptr, 2, 2, reinterpret_cast<float*>(img.data()),
                                                          reinterpret_cast<float*>(img.data()), 6, 6, &p, -1, 0, 1,
                                                          true, true),
              0);
}

TEST_F(Dispatcher, NullBlockIsInvalidInput)
{
    std::vector<uint16_t> img = solidImage(2, 2, 1, 1, 1);
    OpenCLManager* m = OpenCLManager::getInstance();
    EXPECT_EQ(m->executeKernel("MP_calcPixelSepia", 2, 2, reinterpret_cast<float*>(img.data()),
                               reinterpret_cast<float*>(img.data()), 6, 6, nullptr, -1, 0, 1, true, true),
              -2);
    EXPECT_EQ(m->executeKernelFull("MP_calcPixelSepia", 2, 2, reinterpret_cast<float*>(img.data()),
                                   reinterpret_cast<float*>(img.data()), 6, 6, nullptr, -1, 0, 1, true, true),
              -2);
    EXPECT_EQ(g_run.calls, 0);
}

TEST_F(Dispatcher, ExecuteKernelFullRunsTheWholeImage)
{
    std::vector<uint16_t> img = solidImage(3, 2, 1, 1, 1);
    MP_Params p = fattal();
    p.kernel_exponent = 1.0f;
    const int r = OpenCLManager::getInstance()->executeKernelFull(
        "MP_calcPixelTMfattal", 3, 2, reinterpret_cast<float*>(img.data()), reinterpret_cast<float*>(img.data()), 6, 6,
        &p, 5, 0.5f, 0.25f, true, true);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g_run.calls, 1);
    EXPECT_EQ(p.unit_kernel_multiplier, 0.5f);
    EXPECT_EQ(p.lx[500], 125);
    EXPECT_EQ(_category, 5);
    EXPECT_EQ(_progressstart, 0.5f);
    EXPECT_EQ(_progressdelta, 0.25f);
}

// ---- The row-width table ------------------------------------------------------------

TEST_F(Dispatcher, SuperquadricRowWidths)
{
    OpenCLManager* m = OpenCLManager::getInstance();
    MP_Params p{};
    p.kernel_exponent = 1.0f; // a circle
    for (short& v : p.lx)
        v = 77;
    m->setKernelSuperquadricTable(4, &p);
    const short circle[9] = {1, 3, 3, 3, 5, 3, 3, 3, 1};
    EXPECT_EQ(std::memcmp(&p.lx[496], circle, sizeof circle), 0);
    EXPECT_EQ(p.lx[495], 77);
    EXPECT_EQ(p.lx[505], 77);

    m->setKernelSuperquadricTable(1, &p);
    EXPECT_EQ(p.lx[499], 1);
    EXPECT_EQ(p.lx[500], 1);
    EXPECT_EQ(p.lx[501], 1);

    // Every entry is odd, symmetric, and at most R (+1 when R is even).
    p.kernel_exponent = 4.0f;
    m->setKernelSuperquadricTable(500, &p);
    for (int i = 0; i <= 500; ++i) {
        ASSERT_EQ(p.lx[500 + i], p.lx[500 - i]);
        ASSERT_EQ(p.lx[500 + i] % 2, 1);
        ASSERT_LE(p.lx[500 + i], 501);
    }
    EXPECT_EQ(p.lx[0], 1);

    // Radii outside 0..500 write nothing.
    MP_Params q{};
    for (short& v : q.lx)
        v = 77;
    const MP_Params before = q;
    m->setKernelSuperquadricTable(501, &q);
    m->setKernelSuperquadricTable(-1, &q);
    EXPECT_EQ(std::memcmp(&q, &before, sizeof q), 0);
    m->setKernelSuperquadricTable(0, &q);
    EXPECT_EQ(q.lx[500], 1);
    EXPECT_EQ(q.lx[499], 77);

    // An exponent that leaves the shape undefined still gives odd widths.
    q.kernel_exponent = -1.0f;
    m->setKernelSuperquadricTable(10, &q);
    for (int i = 490; i <= 510; ++i)
        ASSERT_EQ(q.lx[i] % 2, 1) << i;
}

TEST(OpenCLManagerSingleton, CreatedOnFirstUseAndDestroyed)
{
    OpenCLManager::destroy();
    EXPECT_EQ(OpenCLManager::getInstancePtr(), nullptr);
    OpenCLManager* m = OpenCLManager::getInstance();
    EXPECT_EQ(OpenCLManager::getInstancePtr(), m);
    EXPECT_EQ(OpenCLManager::getInstance(), m);
    EXPECT_EQ(m->getKernelMultiplier("MP_calcPixelTMfattal"), MP_UI_GetCalculationQuality());
    EXPECT_EQ(MP_UI_getSpecificKernelMultiplier("anything"), 1.0f);
    OpenCLManager::destroy();
    EXPECT_EQ(OpenCLManager::getInstancePtr(), nullptr);
}
