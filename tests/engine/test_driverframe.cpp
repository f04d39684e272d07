#include "enginefixture.h"

namespace {

// A test operator: halves every channel; its reduced worker is marked by
// writing 12345 into red so tests can tell which worker ran.
struct HalfArgs {
    MP_DriverRun run;
};

void halfFull(TaskFuncParams t)
{
    const HalfArgs* a = MP_taskArgs<HalfArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [](MP_float3 c, int, int) { return MP_float3{c.x * 0.5f, c.y * 0.5f, c.z * 0.5f}; });
}

void halfReduced(TaskFuncParams t)
{
    const HalfArgs* a = MP_taskArgs<HalfArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [](MP_float3 c, int, int) { return MP_float3{12345.0f * MP_k, c.y * 0.5f, c.z * 0.5f}; });
}

int halfDriver(int w, int h, ushort* src, ushort* dst, MP_Params* params)
{
    HalfArgs a;
    if (int r = MP_beginDriver(a.run, w, h, src, dst, params, 1, 0))
        return r;
    return MP_runDriverBands(a.run, &a, halfFull, halfReduced, 1);
}

class DriverFrame : public EngineTest {
protected:
    MP_Params params{};
    void SetUp() override
    {
        EngineTest::SetUp();
        params = MP_Params{};
        params.p[0][1] = 100.0f; // opacity 100 %
        MP_UI_GetLuminanzConvRGB(&params.lumr, &params.lumg, &params.lumb);
    }
};

struct WorkerCase {
    float mode;
    float opacity;
    bool geometry;
    bool full;
};

class WorkerChoice : public DriverFrame, public ::testing::WithParamInterface<WorkerCase> {};

TEST_P(WorkerChoice, FullWorkerOnlyForBlendOpacityOrGeometry)
{
    const WorkerCase& c = GetParam();
    params.p[0][0] = c.mode;
    params.p[0][1] = c.opacity;
    if (c.geometry) {
        // one additive set covering the picture
        float* g = params.p[1];
        g[0] = 1;
        g[1] = g[2] = 1.0f;
        g[3] = 0.0f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 0.5f;
    }
    auto img = solidImage(8, 8, 40000, 40000, 40000);
    ASSERT_EQ(halfDriver(8, 8, img.data(), img.data(), &params), 0);
    EXPECT_EQ(img[0] == 12345, !c.full);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkerChoice,
                         ::testing::Values(WorkerCase{0, 100, false, false}, WorkerCase{-3, 100, false, false},
                                           WorkerCase{1, 100, false, true}, WorkerCase{0, 99, false, true},
                                           WorkerCase{0, 100, true, true}, WorkerCase{NAN, 100, false, false}));

TEST_F(DriverFrame, NullBuffersAreRefusedBeforeAnythingIsWritten)
{
    auto img = solidImage(4, 4, 1, 2, 3);
    EXPECT_EQ(halfDriver(4, 4, nullptr, img.data(), &params), -2);
    EXPECT_EQ(halfDriver(4, 4, img.data(), nullptr, &params), -2);
    EXPECT_EQ(halfDriver(4, 4, img.data(), img.data(), nullptr), -2);
    EXPECT_EQ(img, solidImage(4, 4, 1, 2, 3));
}

TEST_F(DriverFrame, GeometryAllocationFailureReturnsMinusOneUntouched)
{
    float* g = params.p[1];
    g[0] = 1;
    g[1] = g[2] = 0.5f;
    g[5] = 1.0f;
    g[6] = g[7] = 0.5f;
    MP_geometryTestFailAllocation(0);
    auto img = solidImage(16, 16, 1000, 2000, 3000);
    EXPECT_EQ(halfDriver(16, 16, img.data(), img.data(), &params), -1);
    EXPECT_EQ(img, solidImage(16, 16, 1000, 2000, 3000));
}

TEST_F(DriverFrame, FloatRoundTripLosesExactly512Values)
{
    int lower = 0;
    for (int v = 0; v < 65536; ++v) {
        const ushort in[3] = {ushort(v), 0, 0};
        ushort out[3];
        MP_storeRGB48(out, MP_loadRGB48(in));
        if (out[0] != v) {
            EXPECT_EQ(out[0], v - 1);
            ++lower;
        }
    }
    EXPECT_EQ(lower, 512);
    const ushort in[3] = {257, 261, 0};
    ushort out[3];
    MP_storeRGB48(out, MP_loadRGB48(in));
    EXPECT_EQ(out[0], 256);
    EXPECT_EQ(out[1], 260);
}

TEST_F(DriverFrame, LoopStepThinsLargeWindows)
{
    params.cpu_loopstep_mulitplier = 14.0f;
    EXPECT_EQ(MP_calcLoopstep(1, 20, &params), 2);
    EXPECT_EQ(MP_calcLoopstep(1, 13, &params), 1);
    EXPECT_EQ(MP_calcLoopstep(4, 500, &params), 39);
    params.cpu_loopstep_mulitplier = 0.0f; // never divides by zero
    EXPECT_EQ(MP_calcLoopstep(1, 20, &params), 21);
}

// Loop steps that no slider gives but a block can carry: below 1 they count as
// the finest step 1, and a step near INT_MAX saturates instead of overflowing.
TEST_F(DriverFrame, LoopStepOfHostileBlocksStaysInRange)
{
    params.cpu_loopstep_mulitplier = 14.0f;
    struct Case {
        int loopstep, kernelsize, step;
    };
    const Case cases[] = {
        {0, 20, 2},        {-1000, 20, 2},        {INT32_MIN, 500, 36},  {INT32_MAX, 500, INT32_MAX},
        {INT32_MAX, 0, INT32_MAX}, {INT32_MAX - 10, 500, INT32_MAX}, {1, -100, 1}, {0, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MP_calcLoopstep(c.loopstep, c.kernelsize, &params), c.step) << c.loopstep << " " << c.kernelsize;
}

// The same blocks through the dispatcher for a tone-mapping kernel and
// BlackWhite, whose windows step by the loop step: a loopstep of 0 or below
// gives the picture of loopstep 1; INT_MAX that of a step beyond the whole
// window (which leaves one sample row), without overflow.
TEST_F(DriverFrame, DispatchedKernelsTakeHostileLoopStepsAsTheNearestValidOne)
{
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(1.0f);
    const int w = 23, h = 17;
    std::vector<uint16_t> src(static_cast<size_t>(w) * h * 3);
    uint32_t seed = 7;
    for (auto& v : src) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>(seed >> 16);
    }
    struct Kernel {
        const char* name;
        int maskSlot, comboSlot;
        float radius, strength;
    };
    const Kernel kernels[] = {
        {"MP_calcPixelTMmeanlog", 5, 6, 0.08f, 0.701f}, // radius 40: step 1 + 40 / 14 = 3
        {"MP_calcPixelBlackWhite", 2, 3, 0.08f, 0.5f},
    };
    for (const Kernel& k : kernels) {
        SCOPED_TRACE(k.name);
        auto output = [&](int loopstep) {
            MP_Params p{};
            MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
            p.previewscalingfactor = 1.0f;
            p.kernel_exponent = 1.0f;
            p.loopstep = loopstep;
            p.p[0][0] = k.radius;
            p.p[1][0] = k.strength;
            p.p[2][0] = 0.25f;
            p.p[3][0] = 0.5f;
            for (int i = 0; i < 6; ++i) {
                p.p[k.maskSlot][2 * i] = 0.2f * static_cast<float>(i);
                p.p[k.maskSlot][2 * i + 1] = 1.0f;
            }
            p.p[k.comboSlot][1] = 100.0f;
            std::vector<uint16_t> in = src, out(src.size(), 7);
            EXPECT_EQ(OpenCLManager::getInstance()->executeKernel(k.name, w, h, reinterpret_cast<float*>(in.data()),
                                                                  reinterpret_cast<float*>(out.data()), 6, 6, &p,
                                                                  -1, 0.0f, 1.0f, true, true),
                      0);
            return out;
        };
        const std::vector<uint16_t> finest = output(1);
        EXPECT_NE(finest, output(2));
        EXPECT_EQ(output(0), finest);
        EXPECT_EQ(output(-1000), finest);
        EXPECT_EQ(output(INT32_MIN), finest);
        EXPECT_EQ(output(INT32_MAX), output(1000));
    }
}

} // namespace
