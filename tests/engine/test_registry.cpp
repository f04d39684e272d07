#include "enginefixture.h"

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace {

class Registry : public EngineTest {};

std::set<std::string> namesWhere(int (*query)(const char*), int value)
{
    std::set<std::string> names;
    for (int i = 0; i < MP_kernelCount(); ++i)
        if (query(MP_kernelNameAt(i)) == value)
            names.insert(MP_kernelNameAt(i));
    return names;
}

std::set<std::string> prefixed(std::initializer_list<const char*> shortNames)
{
    std::set<std::string> names;
    for (const char* n : shortNames)
        names.insert(std::string("MP_calcPixel") + n);
    return names;
}

} // namespace

TEST_F(Registry, KnowsEveryKernelOnceAndEveryDriverTableMatches)
{
    ASSERT_EQ(MP_kernelCount(), 181);
    std::set<std::string> names;
    for (int i = 0; i < MP_kernelCount(); ++i) {
        const std::string n = MP_kernelNameAt(i);
        EXPECT_EQ(n.rfind("MP_calcPixel", 0), 0u) << n;
        names.insert(n);
    }
    EXPECT_EQ(names.size(), 181u);
    EXPECT_EQ(MP_kernelNameAt(181), nullptr);
    EXPECT_EQ(MP_kernelNameAt(-1), nullptr);
    // A family table entry whose name is misspelt would never run.
    EXPECT_EQ(MP_firstMismatchedDriverEntry(), nullptr);
}

struct KernelRow {
    const char* name;
    int geo, spl, cpu, full;
};

TEST_F(Registry, TableRows)
{
    const KernelRow rows[] = {
        {"MP_calcPixelTMfattal", 7, 5, 0, 0},
        {"MP_calcPixelWeighedBW", 2, -1, 1, 0}, // slot 1 is its combo
        {"MP_calcPixelCombinedPrePass", -1, -1, 1, 0},
        {"MP_calcPixelYFlip", -1, -1, 0, 1},
        {"MP_calcPixelGradationLagrange", 2, 0, 0, 0},
        {"MP_calcPixelStructureTone", 9, 7, 1, 0},
        {"MP_calcPixelColorPalette", 9, -1, 0, 0},
        {"MP_calcPixelSubSharpen", -1, -1, 0, 0},
        {"MP_calcPixelSuperquadric", 7, -1, 0, 1},
        {"MP_calcPixel3draytrace", 9, -1, 0, 0},
        {"MP_calcPixelOelbild", 5, -1, 1, 1},
        {"MP_calcPixelHDRfocusstackpyramidmce", -1, -1, 1, 0},
        // Unlisted names, letter case included, get the defaults.
        {"MP_calcPixeltmfattal", -1, -1, 0, 0},
        {"MP_calcPixel3duv", -1, -1, 0, 0},
        {"", -1, -1, 0, 0},
    };
    for (const KernelRow& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(MP_UI_getKernelGeometryIndex(r.name), r.geo);
        EXPECT_EQ(MP_UI_getKernelSplineIndex(r.name), r.spl);
        EXPECT_EQ(MP_UI_checkKernelForcesCPU(r.name), r.cpu);
        EXPECT_EQ(MP_UI_checkKernelNeedFullSize(r.name), r.full);
    }
    EXPECT_EQ(MP_UI_getKernelGeometryIndex(nullptr), -1);
    EXPECT_EQ(MP_UI_checkKernelAllowsScaling(nullptr), 1);
}

struct SizeCase {
    const char* name;
    float p0;
    float scale;
    int size;
};

TEST_F(Registry, KernelSizeRules)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const SizeCase cases[] = {
        {"MP_calcPixelTMfattal", 0.5f, 0.25f, 62}, // 500 * 0.5 * 0.25 = 62.5
        {"MP_calcPixelHDRlinBlurHorVer", 3.7f, 1.0f, 3},
        {"MP_calcPixelHDRlinBlurHorVer", -3.7f, 1.0f, -3},
        {"MP_calcPixelRadialBlur", 0.5f, 1.0f, 100},      // R200
        {"MP_calcPixelChromaticAberration", 1.0f, 0.5f, 25}, // R50
        {"MP_calcPixelDirBlur", 0.9f, 0.3f, 150},          // S500 ignores p[0][0]
        {"MP_calcPixelAddReflector", 0.9f, 0.25f, 12},     // S50
        {"MP_calcPixelPencilPaint", 0.9f, 1.0f, 25},       // S25
        {"MP_calcPixelBokehBlur", 0.9f, 0.1f, 256},
        {"MP_calcPixelDeNoiseHD", 0.9f, 0.1f, 80},
        {"MP_calcPixelSepia", 0.9f, 0.1f, 0},
        {"MP_calcPixel3dsmooth", 0.9f, 0.1f, 500},
        {"MP_calcPixelTMFattal", 0.5f, 0.25f, 500}, // unlisted
        // Values from damaged files are clamped before they become ints.
        {"MP_calcPixelTMfattal", nan, 1.0f, 0},
        {"MP_calcPixelHDRlinBlurHorVer", 1e30f, 1.0f, 2147483647},
    };
    for (const SizeCase& c : cases) {
        MP_Params p{};
        p.p[0][0] = c.p0;
        p.previewscalingfactor = c.scale;
        EXPECT_EQ(MP_UI_getKernelSize(c.name, &p), c.size) << c.name << " " << c.p0;
    }
}

TEST_F(Registry, KernelListsAnswerExactlyTheirKernels)
{
    EXPECT_EQ(namesWhere(MP_UI_checkKernelIsTonemapping, 1),
              prefixed({"TMmeandiff", "TMmeanlog", "TMmeanlin", "TMmeanexp", "TMfattal", "TMgradlum",
                        "TMconstgradlum", "TMsigmoid", "TMlummeangrad", "TMintense"}));
    EXPECT_EQ(namesWhere(MP_UI_checkKernelIsFocusStacking, 1),
              prefixed({"HDRfocusstacklin", "HDRfocusstacklum", "HDRfocusstackrgb", "HDRfocusstackvar",
                        "HDRfocusstackmse", "HDRfocusstackmce", "HDRfocusstackpyramidmse",
                        "HDRfocusstackpyramidmce"}));
    EXPECT_EQ(namesWhere(MP_UI_checkKernelForcesSlowGPUExecution, 1),
              prefixed({"DeNoiseHD", "DeNoiseLumHD", "HDSharpen", "HDLumSharpen"}));
    EXPECT_EQ(namesWhere(MP_UI_checkKernelAllowsScaling, 0),
              prefixed({"DeNoiseAverage", "SubDeNoiseAverage", "DeNoiseMedian", "DeNoiseMinMax", "Rotate",
                        "AddFrame", "Perspective", "Horizon", "Twirl", "Magnet", "Warp", "DirBlur", "DirSharpen",
                        "Airbag", "RadialBlur", "Superquadric"}));
    EXPECT_EQ(namesWhere(MP_UI_checkKernelNeedFullSize, 1).size(), 27u);
    EXPECT_EQ(namesWhere(MP_UI_checkKernelForcesCPU, 1).size(), 54u); // the "always" kernels
}

TEST_F(Registry, CalibrationFlagsDecideTheFlagKernels)
{
    EXPECT_EQ(MP_UI_checkKernelForcesCPU("MP_calcPixelSharpen"), 0);
    forceCPU_MP_calcPixelSharpen = 1;
    EXPECT_EQ(MP_UI_checkKernelForcesCPU("MP_calcPixelSharpen"), 1);
    EXPECT_EQ(MP_UI_checkKernelForcesCPU("MP_calcPixelStars"), 1);
    EXPECT_EQ(MP_UI_checkKernelForcesCPU("MP_calcPixelTMfattal"), 0);
    forceCPU_MP_calcPixelLocalWhiteBalance = 1;
    EXPECT_EQ(MP_UI_checkKernelForcesCPU("MP_calcPixelLocalWhitebalance"), 1);

    // Every flag serves exactly its own kernel.
    int flags = 0;
#define MP_FORCECPU(kernel, flag, readBack)                                   \
    {                                                                         \
        ++flags;                                                              \
        flag = 0;                                                             \
        EXPECT_EQ(MP_UI_checkKernelForcesCPU(#kernel), 0) << #kernel;         \
        const size_t before = namesWhere(MP_UI_checkKernelForcesCPU, 1).size(); \
        flag = 1;                                                             \
        EXPECT_EQ(MP_UI_checkKernelForcesCPU(#kernel), 1) << #kernel;         \
        EXPECT_EQ(namesWhere(MP_UI_checkKernelForcesCPU, 1).size(), before + 1); \
        flag = 0;                                                             \
    }
#include "engine/core/forcecpu_list.h"
#undef MP_FORCECPU
    EXPECT_EQ(flags, 48);
}

// ---- Neutral-value tests ---------------------------------------------------------

namespace {

enum class Kind {
    Off,    // p[s][0] <= 0.001
    Full,   // p[s][0] >= 0.999
    Mid,    // p[s][0] in [0.499, 0.501]
    Near,   // |p[s][i] - target| <= 0.001
    NonPos, // p[s][0] <= 0
    Pair,   // |p[s][i] - p[s][j]| <= 0.001
};

struct Cond {
    Kind kind;
    int slot;
    int i = 0;
    float target = 0.0f; // Near: the target; Pair: the second index
};

Cond off(int s) { return {Kind::Off, s}; }
Cond fullOn(int s) { return {Kind::Full, s}; }
Cond mid(int s) { return {Kind::Mid, s}; }
Cond nearTo(int s, float t) { return {Kind::Near, s, 0, t}; }
Cond nonPos(int s) { return {Kind::NonPos, s}; }
Cond pair(int s, int i, int j) { return {Kind::Pair, s, i, static_cast<float>(j)}; }

struct NeutralRow {
    const char* name;
    std::vector<Cond> conds;
};

void setNeutral(MP_Params& p, const Cond& c)
{
    switch (c.kind) {
    case Kind::Off:
    case Kind::NonPos:
        p.p[c.slot][0] = 0.0f;
        break;
    case Kind::Full:
        p.p[c.slot][0] = 1.0f;
        break;
    case Kind::Mid:
        p.p[c.slot][0] = 0.5f;
        break;
    case Kind::Near:
        p.p[c.slot][c.i] = c.target;
        break;
    case Kind::Pair:
        p.p[c.slot][c.i] = 0.3f;
        p.p[c.slot][static_cast<int>(c.target)] = 0.3f;
        break;
    }
}

// Values on the neutral side of the bound and just past it.
void sides(const Cond& c, std::vector<float>& neutral, std::vector<float>& needed)
{
    switch (c.kind) {
    case Kind::Off:
        neutral = {0.001f, 0.0f, -0.5f};
        needed = {0.0011f, 0.5f};
        break;
    case Kind::NonPos:
        neutral = {0.0f, -0.1f};
        needed = {0.0005f};
        break;
    case Kind::Full:
        neutral = {0.999f, 1.0f};
        needed = {0.9989f, 0.5f};
        break;
    case Kind::Mid:
        neutral = {0.499f, 0.5f, 0.501f};
        needed = {0.4989f, 0.5011f};
        break;
    case Kind::Near:
        neutral = {c.target, c.target - 0.0009f, c.target + 0.0009f};
        needed = {c.target - 0.0012f, c.target + 0.0012f};
        break;
    case Kind::Pair:
        neutral = {0.3f, 0.3009f};
        needed = {0.3012f, 0.2988f};
        break;
    }
}

void setValue(MP_Params& p, const Cond& c, float v)
{
    if (c.kind == Kind::Pair)
        p.p[c.slot][static_cast<int>(c.target)] = v; // move the second value of the pair
    else if (c.kind == Kind::Near)
        p.p[c.slot][c.i] = v;
    else
        p.p[c.slot][0] = v;
}

const std::vector<NeutralRow>& neutralRows()
{
    static const std::vector<NeutralRow> rows = {
        {"Sharpen", {off(0), off(2)}},
        {"DeNoiseAverage", {off(0), off(2)}},
        {"DeNoiseMedian", {off(0), off(2)}},
        {"DeNoiseMinMax", {off(0), off(2)}},
        {"AddGrain", {off(0), off(3)}},
        {"LightShadow", {fullOn(0), off(1), mid(2), mid(3), off(4)}},
        {"manualbwpoint", {off(0), fullOn(1), off(2)}},
        {"ColorTint", {off(0), off(2)}},
        {"RedEyes", {off(0), off(1)}},
        {"LocalWhitebalance", {off(1), off(2)}},
        {"ColorBalance", {mid(0), mid(1), mid(2), off(3)}},
        {"ColorIntensity", {mid(0), off(2)}},
        {"ColorMix", {nonPos(0), off(2)}},
        {"ColorPalette", {mid(0), mid(1), mid(2), mid(3), mid(4), mid(5), mid(6), mid(7), off(8)}},
        {"HSL", {mid(0), mid(1), mid(2), off(4)}},
        {"HueShift", {mid(0), mid(1), mid(2), mid(3), mid(4), mid(5), off(6)}},
        {"HueExpose", {mid(0), mid(1), mid(2), mid(3), mid(4), mid(5), off(6)}},
        {"ColorLightShadow", {mid(0), mid(1), off(2)}},
        {"Whitebalance", {pair(0, 2, 3), pair(0, 2, 4), pair(0, 3, 4), off(1)}},
        {"ImageBloom", {off(1), off(4)}},
        {"RadialBlur", {off(0), mid(1), off(2)}},
        {"BasicTools", {mid(0), mid(1), mid(2), off(4)}},
        {"ColorTemperature", {nearTo(0, 0.35385185f), off(2)}},
        {"ImageSmooth", {off(1), off(3)}},
        {"GradationLagrange",
         {pair(0, 0, 1), pair(0, 2, 3), pair(0, 4, 5), pair(0, 6, 7), pair(0, 8, 9), pair(0, 10, 11), off(1)}},
        {"SoftContrast", {nearTo(1, 0.5f), off(3)}},
        {"SoftRGBContrast", {nearTo(1, 0.0f), off(3)}},
        {"LocalContrast", {nearTo(1, 0.25f), off(3)}},
        {"LocalContour", {nearTo(1, 0.5f), off(3)}},
        {"ColorContrast", {nearTo(1, 0.25f), off(3)}},
    };
    return rows;
}

} // namespace

TEST_F(Registry, NeutralTestsHoldOnlyInsideTheirBounds)
{
    ASSERT_EQ(neutralRows().size(), 30u);
    for (const NeutralRow& row : neutralRows()) {
        const std::string name = std::string("MP_calcPixel") + row.name;
        SCOPED_TRACE(name);
        MP_Params base{};
        for (const Cond& c : row.conds)
            setNeutral(base, c);
        ASSERT_EQ(MP_UI_isKernelExecutionNeeded(name.c_str(), &base), 0);
        for (size_t k = 0; k < row.conds.size(); ++k) {
            std::vector<float> neutral, needed;
            sides(row.conds[k], neutral, needed);
            for (float v : neutral) {
                MP_Params p = base;
                setValue(p, row.conds[k], v);
                EXPECT_EQ(MP_UI_isKernelExecutionNeeded(name.c_str(), &p), 0) << "condition " << k << " at " << v;
            }
            for (float v : needed) {
                MP_Params p = base;
                setValue(p, row.conds[k], v);
                EXPECT_EQ(MP_UI_isKernelExecutionNeeded(name.c_str(), &p), 1) << "condition " << k << " at " << v;
            }
        }
        // A NaN slider never counts as neutral; the opacity of the combo slot is not tested.
        MP_Params p = base;
        p.p[row.conds.back().slot][0] = std::numeric_limits<float>::quiet_NaN();
        EXPECT_EQ(MP_UI_isKernelExecutionNeeded(name.c_str(), &p), 1);
        p = base;
        p.p[row.conds.back().slot][1] = 50.0f;
        EXPECT_EQ(MP_UI_isKernelExecutionNeeded(name.c_str(), &p), 0);
    }
    // Every other kernel and every unlisted name always runs.
    const MP_Params zero{};
    for (int i = 0; i < MP_kernelCount(); ++i) {
        MP_Params p{};
        int expected = 1;
        for (const NeutralRow& row : neutralRows())
            if (std::string("MP_calcPixel") + row.name == MP_kernelNameAt(i)) {
                for (const Cond& c : row.conds)
                    setNeutral(p, c);
                expected = 0;
            }
        EXPECT_EQ(MP_UI_isKernelExecutionNeeded(MP_kernelNameAt(i), &p), expected) << MP_kernelNameAt(i);
    }
    EXPECT_EQ(MP_UI_isKernelExecutionNeeded("MP_calcPixelsharpen", &zero), 1);
    EXPECT_EQ(MP_UI_isKernelExecutionNeeded("MP_calcPixelSharpen", nullptr), 1);
}

TEST_F(Registry, SharpenAndColorMixExamples)
{
    MP_Params p{};
    p.p[0][0] = 0.0005f;
    EXPECT_EQ(MP_UI_isKernelExecutionNeeded("MP_calcPixelSharpen", &p), 0);
    p.p[2][0] = 1.0f; // a blend mode
    EXPECT_EQ(MP_UI_isKernelExecutionNeeded("MP_calcPixelSharpen", &p), 1);
    MP_Params m{};
    m.p[0][0] = 0.0005f;
    EXPECT_EQ(MP_UI_isKernelExecutionNeeded("MP_calcPixelColorMix", &m), 1);
}

TEST_F(Registry, GradationNeutralTestReadsTheKnotsAsGiven)
{
    // Knots on one x would be repaired for the curve; the neutral test sees
    // them as they are: all on the diagonal.
    MP_Params p{};
    for (int i = 0; i < 6; ++i)
        p.p[0][2 * i] = p.p[0][2 * i + 1] = 0.5f;
    EXPECT_EQ(MP_UI_isKernelExecutionNeeded("MP_calcPixelGradationLagrange", &p), 0);
    EXPECT_EQ(p.p[0][2], 0.5f);
}

// ---- Work-item packing --------------------------------------------------------------

TEST_F(Registry, MaxPixelPerKernel)
{
    struct Case {
        const char* name;
        float p0, multiplier, exponent;
        int result;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"MP_calcPixelTMfattal", 0.5f, 0.5f, 1.0f, 56 * 8192},             // r = 125: base 56
        {"MP_calcPixelTMfattal", 0.5f, 0.5f, 4.0f, 140 * 8192},            // 56 * 5 * 0.5
        {"MP_calcPixelTMfattal", 1.0f, 1.0f, 999.0f, 256 * 8192},          // r = 500, capped
        {"MP_calcPixelTMfattal", 0.005f, 1.0f, 4.0f, 128 * 8192},          // r = 2: no exponent
        {"MP_calcPixelTMfattal", 0.02f, 1.0f, 0.0f, 56 * 8192},            // r = 10: 112 * 1 * 0.5
        {"MP_calcPixelSepia", 0.5f, 1.0f, 4.0f, 128 * 8192},               // size 0
        {"MP_calcPixelDeNoiseHD", 0.5f, 0.5f, 4.0f, 4 * 8192},             // slow on a graphics device
        {"MP_calcPixelTMfattal", 0.5f, 0.5f, nan, 2 * 8192},               // undefined: the lower bound
        {"MP_calcPixelNoSuchKernel", 0.0f, 0.5f, 1.0f, 48 * 8192},         // size 500 -> r = 250: 48
    };
    for (const Case& c : cases) {
        MP_Params p{};
        p.p[0][0] = c.p0;
        p.previewscalingfactor = 1.0f;
        p.unit_kernel_multiplier = c.multiplier;
        p.kernel_exponent = c.exponent;
        EXPECT_EQ(MP_UI_getMaxPixelPerKernel(c.name, &p), c.result) << c.name << " " << c.p0 << " " << c.exponent;
    }
}

// ---- Running by name -----------------------------------------------------------------

namespace {

int g_calls = 0;
int driverAddOne(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params*)
{
    ++g_calls;
    for (size_t i = 0; i < static_cast<size_t>(sizex) * sizey * 3; ++i)
        dst[i] = static_cast<ushort>(src[i] + 1);
    return 0;
}
int driverNoMemory(int, int, ushort*, ushort*, int, int, MP_Params*)
{
    ++g_calls;
    return -1;
}

const MP_DriverEntry kTestDrivers[] = {
    {"MP_calcPixelGreyscale", driverAddOne},
    {"MP_calcPixelRemoveArtifacts", driverNoMemory},
    {"MP_calcPixel3dlight", driverAddOne},     // known without driver: never run
    {"MP_calcPixelNotAKernel", driverAddOne}, // unregistered: never run
};
const MP_DriverTable kTestTable = MP_driverTable(kTestDrivers);

} // namespace

TEST_F(Registry, ExecuteKernelRunsTheDriverOfTheName)
{
    MP_SetTestDriverTable(&kTestTable);
    g_calls = 0;
    std::vector<uint16_t> src = solidImage(4, 3, 10, 20, 30);
    std::vector<uint16_t> dst = solidImage(4, 3, 0, 0, 0);
    MP_Params p{};
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelGreyscale", 4, 3, src.data(), dst.data(), 6, 6, &p, 2, 0.25f, 0.5f),
              0);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(dst[0], 11);
    EXPECT_EQ(dst[35], 31);
    EXPECT_EQ(_category, 2);
    EXPECT_EQ(_progressstart, 0.25f);
    EXPECT_EQ(_progressdelta, 0.5f);

    // A driver's own failure passes through.
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelRemoveArtifacts", 4, 3, src.data(), dst.data(), 6, 6, &p, -1, 0, 1),
              -1);

    // No driver: 0 and nothing written.
    const std::vector<uint16_t> before = dst;
    g_calls = 0;
    for (const char* name : {"MP_calcPixel3dlight", "MP_calcPixelNotAKernel", "MP_calcPixelgreyscale",
                             "MP_calcPixel3dsmooth", "MP_calcPixelGreyscale "}) {
        EXPECT_EQ(MP_UI_executeKernel(name, 4, 3, src.data(), dst.data(), 6, 6, &p, -1, 0, 1), 0) << name;
    }
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(dst, before);
}

TEST_F(Registry, NullBufferGivesMinusTwoAfterTheProgressStatics)
{
    MP_SetTestDriverTable(&kTestTable);
    g_calls = 0;
    std::vector<uint16_t> img = solidImage(2, 2, 1, 2, 3);
    MP_Params p{};
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelGreyscale", 2, 2, img.data(), nullptr, 6, 6, &p, 3, 0.1f, 0.2f), -2);
    EXPECT_EQ(_category, 3);
    EXPECT_EQ(_progressstart, 0.1f);
    EXPECT_EQ(_progressdelta, 0.2f);
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelGreyscale", 2, 2, nullptr, img.data(), 6, 6, &p, 4, 0, 1), -2);
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelUnlisted", 2, 2, img.data(), nullptr, 6, 6, &p, -1, 0, 1), -2);
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelGreyscale", 2, 2, img.data(), img.data(), 6, 6, nullptr, -1, 0, 1),
              -2);
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(_category, -1);
}
