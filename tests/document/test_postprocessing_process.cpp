// The chain's run: passes, parameter sets, progress, flags and failures.

#include "test_postprocessing_fixture.h"

#include <QtConcurrent/QtConcurrent>

#include <algorithm>

namespace {

const float kMask[12] = {0.0f, 1.0f, 0.2f, 1.0f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 1.0f, 1.0f, 1.0f};

SOperator Sharpen(float strength = 0.5f)
{
    return MakeOp("MP_calcPixelSharpen", {Slider(strength), Spline(kMask), Blend(0, 100), Geometry()});
}

SOperator Fattal()
{
    SOperator op = MakeOp("MP_calcPixelTMfattal", {Slider(0.5f), Slider(0.65f), Slider(0.25f), Slider(0.3f),
                                                   Slider(0.7f), Spline(kMask), Blend(0, 100), Geometry(2)});
    op.bCalcGradation = true;
    return op;
}

std::vector<float> Fractions(const CProgressRecorder& progress)
{
    std::vector<float> fractions;
    for (const auto& e : progress.Entries())
        if (e.kind == CProgressRecorder::eFraction || e.kind == CProgressRecorder::eMessage)
            fractions.push_back(e.fraction);
    return fractions;
}

} // namespace

TEST_F(PostProcessingTest, EmptyChainRunsOnlyTheFilmPassAndEndsAtOne)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CProgressRecorder progress;
    CPostProcessing chain;
    chain.m_bChanged = true;
    chain.m_vecOperators.append(Sharpen());
    chain.m_vecOperators[0].bActive = false;
    EXPECT_EQ(chain.Process(32, 16, false), 0);
    EXPECT_TRUE(recorder.runs.empty());
    EXPECT_FALSE(chain.m_bChanged);
    ASSERT_FALSE(progress.Entries().empty());
    EXPECT_EQ(progress.Entries().back().fraction, 1.0f);
    EXPECT_EQ(progress.Entries().back().category, 5u);
    EXPECT_EQ(MP_UI_GetIsCalculatingMode(), 0);
}

TEST_F(PostProcessingTest, ProgressOfTwoOperatorsAndAPreSmoothedFirst)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CProgressRecorder progress;
    CPostProcessing chain;
    chain.m_vecOperators = {Sharpen(0.4f), Sharpen(0.6f)};
    chain.m_vecOperators[0].name = "eins";
    chain.m_vecOperators[1].name = "zwei";
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    ASSERT_EQ(recorder.runs.size(), 2u);
    EXPECT_EQ(recorder.runs[0].start, 0.0f);
    EXPECT_EQ(recorder.runs[0].range, 0.5f);
    EXPECT_EQ(recorder.runs[1].start, 0.5f);
    EXPECT_EQ(recorder.runs[0].category, 5);
    EXPECT_TRUE(progress.HasMessage("eins", 5, 0));
    EXPECT_TRUE(progress.HasMessage("zwei", 5, 0));
    const std::vector<float> f = Fractions(progress);
    EXPECT_EQ(f, (std::vector<float>{0.0f, 0.5f, 0.5f, 1.0f, 1.0f}));
    // parameter set j = parameter j
    EXPECT_EQ(recorder.runs[0].params.p[0][0], 0.4f);
    EXPECT_EQ(recorder.runs[0].params.p[2][1], 100.0f);
    EXPECT_EQ(recorder.runs[1].params.p[0][0], 0.6f);

    recorder.runs.clear();
    progress.Clear();
    chain.m_vecOperators[0].iprecalcSmooth = 95;
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    ASSERT_EQ(recorder.runs.size(), 3u);
    EXPECT_EQ(recorder.runs[0].name, "MP_calcPixelLocalContrast");
    EXPECT_EQ(recorder.runs[0].start, 0.0f);
    EXPECT_EQ(recorder.runs[0].range, 0.25f);
    EXPECT_EQ(recorder.runs[1].start, 0.25f);
    EXPECT_EQ(recorder.runs[1].range, 0.25f);
    EXPECT_TRUE(progress.HasMessage("eins", 5, 0));
    EXPECT_EQ(Fractions(progress).front(), 0.25f);
}

TEST_F(PostProcessingTest, PreSmoothingTakesTheOperatorsMasksAndOpacity)
{
    Fill(32, 16, true);
    CChainRecorder recorder;
    CPostProcessing chain;
    // the comic style's parameters: four sliders, colour, blend, masks
    SOperator comic = MakeOp("MP_calcPixelComicPaint",
                             {Slider(0.5f), Slider(0.2f), Slider(0.15f), Slider(0.48f), Slider(0.0f), Blend(0, 40),
                              Geometry(1)});
    comic.parameters[4].eType = ePTColor;
    comic.iprecalcSmooth = 95;
    chain.m_vecOperators = {comic};
    const int g = MP_UI_getKernelGeometryIndex("MP_calcPixelComicPaint");
    ASSERT_EQ(g, 6);
    ASSERT_EQ(chain.Process(32, 16, true), 0);
    ASSERT_GE(recorder.runs.size(), 1u);
    const auto& smooth = recorder.runs[0];
    EXPECT_EQ(smooth.name, "MP_calcPixelLocalContrast");
    EXPECT_EQ(smooth.params.p[0][0], 0.4f);
    EXPECT_EQ(smooth.params.p[1][0], 0.0f);
    const float knots[12] = {0.0f, 1.0f, 0.2f, 1.0f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 0.8f, 1.0f, 1.0f};
    EXPECT_EQ(std::memcmp(smooth.params.p[2], knots, sizeof(knots)), 0);
    EXPECT_EQ(smooth.params.p[3][0], 0.0f);
    EXPECT_EQ(smooth.params.p[3][1], 40.0f);
    EXPECT_EQ(std::memcmp(smooth.params.p[4], comic.parameters[6].pfValues, sizeof(smooth.params.p[4])), 0);
    // a thumbnail run: no progress at all
    EXPECT_EQ(smooth.category, -1);
    EXPECT_EQ(smooth.start, 0.0f);
    EXPECT_EQ(smooth.range, 0.0f);
}

TEST_F(PostProcessingTest, ToneMappingSubPasses)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CPostProcessing chain;
    chain.m_vecOperators = {Fattal()};
    MP_UI_SetTM3dIterations(0);
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    EXPECT_EQ(recorder.Names(), (std::vector<std::string>{"MP_calcPixelTMfattal", "MP_calcPixelGradationLagrange"}));

    recorder.runs.clear();
    MP_UI_SetTM3dIterations(2);
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    EXPECT_EQ(recorder.Names(),
              (std::vector<std::string>{"MP_calcPixelTMfattal", "MP_calcPixelSubSharpen",
                                        "MP_calcPixelSubDeNoiseAverage", "MP_calcPixelSubSharpen",
                                        "MP_calcPixelSubDeNoiseAverage", "MP_calcPixelSubSharpen",
                                        "MP_calcPixelGradationLagrange"}));
    const float step = 1.0f / 25.0f;
    const auto& r = recorder.runs;
    EXPECT_EQ(r[0].range, 20.0f * step);
    EXPECT_EQ(r[1].start, 20.0f * step);
    EXPECT_EQ(r[2].start, 21.0f * step);
    EXPECT_EQ(r[3].start, 22.0f * step);
    EXPECT_EQ(r[5].start, 25.0f * step);
    EXPECT_EQ(r[5].range, step);
    const float F = 2.0f * ((2.0f - 2.0f) / -18.0f + 1.7f);
    EXPECT_EQ(r[1].params.p[1][0], 1.0f / F);
    EXPECT_EQ(r[3].params.p[1][0], 2.0f / F);
    EXPECT_EQ(r[5].params.p[1][0], 2.0f / F);
    EXPECT_FLOAT_EQ(r[1].params.p[1][0], 1.0f / 3.4f);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(r[i].params.p[0][0], 0.7f) << i; // the larger detail slider
        EXPECT_EQ(std::memcmp(r[i].params.p[2], chain.m_vecOperators[0].parameters[7].pfValues,
                              sizeof(r[i].params.p[2])),
                  0)
            << i;
    }
    EXPECT_FALSE(r[0].after);
    EXPECT_FALSE(r[1].before || r[1].after);
    // gradation after the operator: fixed curve, normal blend, the masks
    const float knots[12] = {0.0f, 0.0f, 0.2f, 0.15f, 0.4f, 0.4f, 0.6f, 0.6f, 0.8f, 0.8f, 1.0f, 1.0f};
    EXPECT_EQ(std::memcmp(r[6].params.p[0], knots, sizeof(knots)), 0);
    EXPECT_EQ(r[6].params.p[1][1], 100.0f);
    EXPECT_EQ(r[6].params.p[2][0], 1.0f);
    EXPECT_EQ(r[6].category, -1);
}

TEST_F(PostProcessingTest, TemplateMismatchReadsMissingSetsAsZero)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CPostProcessing chain;
    // a file operator with three parameters where the template has eight
    SOperator fattal = MakeOp("MP_calcPixelTMfattal", {Slider(0.5f), Slider(0.65f), Slider(0.25f)});
    fattal.bCalcGradation = true;
    chain.m_vecOperators = {fattal};
    MP_UI_SetTM3dIterations(2);
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    ASSERT_EQ(recorder.runs.size(), 7u);
    auto zero = [](const float* set) { return std::all_of(set, set + 256, [](float v) { return v == 0.0f; }); };
    EXPECT_TRUE(zero(recorder.runs[0].params.p[7])); // no masks
    for (size_t i = 1; i < recorder.runs.size(); ++i)
        EXPECT_TRUE(zero(recorder.runs[i].params.p[2])) << recorder.runs[i].name;
    EXPECT_EQ(recorder.runs[6].params.p[1][1], 100.0f); // opacity 100
}

TEST_F(PostProcessingTest, BlackWhitePointReadAndStretch)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CPostProcessing chain;
    SOperator automatic = MakeOp("MP_calcPixelautomaticbwpoint", {Blend(0, 100), Geometry()});
    automatic.bReadBWPoint = true;
    SOperator tuner = MakeOp("MP_calcPixelLightTuner", {Slider(0.5f), Slider(0.5f), Slider(0.4f), Blend(0, 100),
                                                       Geometry()});
    tuner.parameters[2].eType = ePTPosition;
    tuner.bCalcBW = true;
    chain.m_vecOperators = {automatic, tuner};
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    float lo = 0, hi = 0;
    MP_UI_GetMinMaxLuminance(image.data(), &lo, &hi, 32, 16);
    ASSERT_GE(recorder.runs.size(), 3u);
    EXPECT_EQ(recorder.runs[0].params.lummin, lo);
    EXPECT_EQ(recorder.runs[0].params.lummax, hi);
    EXPECT_EQ(recorder.runs.back().name, "MP_calcPixelbwpoint");
    EXPECT_EQ(recorder.runs.back().params.lummin, lo); // recorder does not change the image
    EXPECT_EQ(recorder.runs.back().params.p[0][0], 0.0f);
    EXPECT_EQ(recorder.runs.back().category, -1);
    // the header every run carries
    EXPECT_EQ(recorder.runs[0].params.previewscalingfactor, 1.0f);
    EXPECT_EQ(recorder.runs[0].params.depthmapwidth, 1);
    EXPECT_EQ(recorder.runs[0].params.depthmapheight, 1);
    EXPECT_NE(recorder.runs[0].params.depthmap, nullptr);
}

TEST_F(PostProcessingTest, SmallImagesRunWithoutPanoramaWrap)
{
    Fill(499, 800);
    MP_UI_SetPanoramaMode(1);
    struct CPanoramaProbe : CChainRecorder {
        int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned a,
                          unsigned b, MP_Params* params, int category, float s, float r, bool u, bool d) override
        {
            seen.push_back(MP_UI_GetPanoramaMode());
            return CChainRecorder::ExecuteKernel(name, width, height, src, dst, a, b, params, category, s, r, u, d);
        }
        std::vector<int> seen;
    } probe;
    CPostProcessing chain;
    chain.m_vecOperators = {Sharpen()};
    ASSERT_EQ(chain.Process(499, 800, false), 0);
    EXPECT_EQ(probe.seen, std::vector<int>{0});
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 1);
}

TEST_F(PostProcessingTest, ThumbnailRunLeavesChangeFlagAndCalculatingMode)
{
    Fill(40, 30, true);
    CChainRecorder recorder;
    CProgressRecorder progress;
    CPostProcessing chain;
    chain.m_bChanged = true;
    chain.m_vecOperators = {Sharpen(), Sharpen()};
    MP_UI_SetIsCalculatingMode(0);
    ASSERT_EQ(chain.Process(400, 300, true), 0);
    EXPECT_TRUE(chain.m_bChanged);
    EXPECT_TRUE(progress.Entries().empty());
    ASSERT_EQ(recorder.runs.size(), 2u);
    for (const auto& run : recorder.runs) {
        EXPECT_EQ(run.category, -1);
        EXPECT_EQ(run.start, 0.0f);
        EXPECT_EQ(run.range, 0.0f);
        EXPECT_EQ(run.width, 40u);
        EXPECT_FLOAT_EQ(run.params.previewscalingfactor, 0.1f);
    }
}

TEST_F(PostProcessingTest, StopsAtTheFirstFailedPass)
{
    Fill(32, 16);
    CPostProcessing chain;
    chain.m_bChanged = true;
    chain.m_vecOperators = {Sharpen(), Sharpen(), Sharpen()};
    MP_UI_SetPanoramaMode(1);
    {
        CChainRecorder recorder;
        CProgressRecorder progress;
        recorder.failAt = 1;
        recorder.failResult = -1;
        EXPECT_EQ(chain.Process(32, 16, false), -1);
        EXPECT_EQ(recorder.runs.size(), 2u);
        EXPECT_TRUE(chain.m_bChanged);
        EXPECT_EQ(MP_UI_GetPanoramaMode(), 1);
        EXPECT_EQ(MP_UI_GetIsCalculatingMode(), 0);
        EXPECT_TRUE(progress.HasMessage(
            QString::fromUtf8("Es steht nicht genug Arbeitsspeicher zur Verfügung."), 0, 2));
    }
    {
        // film passes too
        CChainRecorder recorder;
        CFakeFilmSettings film;
        film.rows = {NeutralFilmRow(), NeutralFilmRow()};
        film.index = 1;
        film.graining = 0.3f;
        film.rows[1][0] = 0.1f;
        recorder.failAt = 0;
        recorder.failResult = -2;
        MP_UI_SetFilmTypeAfterPPMode(0);
        EXPECT_EQ(chain.Process(32, 16, false), -2);
        EXPECT_EQ(recorder.Names(), std::vector<std::string>{"MP_calcPixelGradationLagrange"});
    }
}

TEST_F(PostProcessingTest, WithoutABufferNothingRuns)
{
    CChainRecorder recorder;
    CPostProcessing chain;
    chain.m_vecOperators = {Sharpen()};
    chain.m_bChanged = true;
    EXPECT_EQ(chain.Process(100, 100, false), -2);
    EXPECT_EQ(chain.Process(100, 100, true), -2);
    EXPECT_TRUE(recorder.runs.empty());
    EXPECT_TRUE(chain.m_bChanged);
}

TEST_F(PostProcessingTest, AWorkerRunUsesTheFilmValuesTakenBefore)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CPostProcessing chain;
    {
        CFakeFilmSettings film;
        film.rows = {NeutralFilmRow(), NeutralFilmRow()};
        film.index = 1;
        film.intensity = 0.0f;
        film.graining = 0.2f;
        chain.SetProcessData();
    }
    // no dock now; the batch thread runs with the values taken above
    const int result = QtConcurrent::run([&] { return chain.Process(32, 16, false); }).result();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(recorder.Names(), std::vector<std::string>{"MP_calcPixelAddGrain"});
    EXPECT_EQ(recorder.runs[0].params.p[0][0], 0.2f);
}

TEST_F(PostProcessingTest, AGuiRunInsideAnotherEngineOperationReportsBusy)
{
    Fill(32, 16);
    CChainRecorder recorder;
    CPostProcessing chain;
    chain.m_vecOperators = {Sharpen()};
    {
        CEngineGuard operation;
        EXPECT_EQ(chain.Process(32, 16, false), CPostProcessing::PP_BUSY);
    }
    EXPECT_TRUE(recorder.runs.empty());
    EXPECT_EQ(chain.Process(32, 16, false), 0);
    EXPECT_EQ(recorder.runs.size(), 1u);
}

TEST_F(PostProcessingTest, MainRunsMarkTheProjectAndReportTheirTime)
{
    struct CHost : IPostProcessingHost {
        void PostProcessingStarted() override { ++started; }
        void PostProcessingTime(int milliseconds) override { times.push_back(milliseconds); }
        int started = 0;
        std::vector<int> times;
    } host;
    CPostProcessing::SetHost(&host);
    Fill(32, 16);
    Fill(32, 16, true);
    CChainRecorder recorder;
    CPostProcessing chain;
    chain.m_vecOperators = {Sharpen()};
    ASSERT_EQ(chain.Process(32, 16, false), 0);
    ASSERT_EQ(chain.Process(320, 160, true), 0);
    CPostProcessing::SetHost(nullptr);
    EXPECT_EQ(host.started, 1); // the thumbnail run leaves the window alone
    ASSERT_EQ(host.times.size(), 2u);
    EXPECT_GE(host.times[0], 0);
}
