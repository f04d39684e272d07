#include "engine/MP_calccl.h"

#include "engine/core/progress.h"
#include "engine/core/settings.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string_view>

// ---- Device-calibration flags ------------------------------------------------
#define MP_FORCECPU(kernel, flag, readBack) int flag = 0;
#include "engine/core/forcecpu_list.h"
#undef MP_FORCECPU
int forceCPU_MP_loaded = 0;

// ---- Driver tables of the families ---------------------------------------------
#define MP_DRIVER_FAMILY(table) extern const MP_DriverTable table;
#include "engine/core/driverfamilies.h"
#undef MP_DRIVER_FAMILY

namespace {

const MP_DriverTable* const kFamilies[] = {
#define MP_DRIVER_FAMILY(table) &table,
#include "engine/core/driverfamilies.h"
#undef MP_DRIVER_FAMILY
    nullptr};

// ---- The kernel table -------------------------------------------------------------

enum Trait : unsigned {
    Full = 1u << 0,          // needs the whole image in one piece, never stripes
    Tonemapping = 1u << 1,   // a tone-mapping operator
    FocusStacking = 1u << 2, // a focus-stacking weight kernel
    SlowDevice = 1u << 3,    // runs slowly on a graphics device: small launches
    NoScaling = 1u << 4,     // answers "no" to MP_UI_checkKernelAllowsScaling
    NoDriver = 1u << 5,      // known to the registry, never has a CPU driver
};

enum class Cpu : uint8_t {
    Any,    // may run on a device
    Always, // always on the processor
    Flag,   // on the processor when its calibration flag is set
};

// Size rules: a constant, or a radius from p[0][0] and/or previewscalingfactor.
enum class SizeRule : uint8_t { Constant, R500, R200, R50, S500, S50, S25, P };
struct Size {
    SizeRule rule;
    int value;
};
constexpr Size sz(int v) { return {SizeRule::Constant, v}; }
constexpr Size R500{SizeRule::R500, 0};
constexpr Size R200{SizeRule::R200, 0};
constexpr Size R50{SizeRule::R50, 0};
constexpr Size S500{SizeRule::S500, 0};
constexpr Size S50{SizeRule::S50, 0};
constexpr Size S25{SizeRule::S25, 0};
constexpr Size P{SizeRule::P, 0};

// Neutral-value tests: true when the run would leave the image unchanged.
// Bounds are single-precision constants, comparisons inclusive; the last
// condition of each test is the blend mode of the kernel's combo slot.
using NeutralTest = bool (*)(const MP_Params&);

constexpr float kOff = 0.001f;
constexpr float kFull = 0.999f;
constexpr float kMidLow = 0.499f;
constexpr float kMidHigh = 0.501f;

bool off(const MP_Params& p, int k) { return p.p[k][0] <= kOff; }
bool full(const MP_Params& p, int k) { return p.p[k][0] >= kFull; }
bool centred(const MP_Params& p, int k) { return p.p[k][0] >= kMidLow && p.p[k][0] <= kMidHigh; }
bool centred(const MP_Params& p, int first, int last)
{
    for (int k = first; k <= last; ++k)
        if (!centred(p, k))
            return false;
    return true;
}
bool near(float v, float target) { return std::fabs(v - target) <= kOff; }

bool neutralSharpen(const MP_Params& p) { return off(p, 0) && off(p, 2); }
bool neutralDeNoiseAverage(const MP_Params& p) { return off(p, 0) && off(p, 2); }
bool neutralDeNoiseMedian(const MP_Params& p) { return off(p, 0) && off(p, 2); }
bool neutralDeNoiseMinMax(const MP_Params& p) { return off(p, 0) && off(p, 2); }
bool neutralAddGrain(const MP_Params& p) { return off(p, 0) && off(p, 3); }
bool neutralLightShadow(const MP_Params& p)
{
    return full(p, 0) && off(p, 1) && centred(p, 2) && centred(p, 3) && off(p, 4);
}
bool neutralmanualbwpoint(const MP_Params& p) { return off(p, 0) && full(p, 1) && off(p, 2); }
bool neutralColorTint(const MP_Params& p) { return off(p, 0) && off(p, 2); }
bool neutralRedEyes(const MP_Params& p) { return off(p, 0) && off(p, 1); }
bool neutralLocalWhitebalance(const MP_Params& p) { return off(p, 1) && off(p, 2); }
bool neutralColorBalance(const MP_Params& p) { return centred(p, 0, 2) && off(p, 3); }
bool neutralColorIntensity(const MP_Params& p) { return centred(p, 0) && off(p, 2); }
// Its strength must be exactly zero or below.
bool neutralColorMix(const MP_Params& p) { return p.p[0][0] <= 0.0f && off(p, 2); }
bool neutralColorPalette(const MP_Params& p) { return centred(p, 0, 7) && off(p, 8); }
bool neutralHSL(const MP_Params& p) { return centred(p, 0, 2) && off(p, 4); }
bool neutralHueShift(const MP_Params& p) { return centred(p, 0, 5) && off(p, 6); }
bool neutralHueExpose(const MP_Params& p) { return centred(p, 0, 5) && off(p, 6); }
bool neutralColorLightShadow(const MP_Params& p) { return centred(p, 0, 1) && off(p, 2); }
// A grey colour in slot 0 (red, green, blue in values 2, 3, 4).
bool neutralWhitebalance(const MP_Params& p)
{
    const float* c = p.p[0];
    return near(c[2], c[3]) && near(c[2], c[4]) && near(c[3], c[4]) && off(p, 1);
}
bool neutralImageBloom(const MP_Params& p) { return off(p, 1) && off(p, 4); }
bool neutralRadialBlur(const MP_Params& p) { return off(p, 0) && centred(p, 1) && off(p, 2); }
bool neutralBasicTools(const MP_Params& p) { return centred(p, 0, 2) && off(p, 4); }
// 0.35385185 is the default of the slider "Temperatur" (5777 K on 1000..14500 K).
bool neutralColorTemperature(const MP_Params& p) { return near(p.p[0][0], 0.35385185f) && off(p, 2); }
bool neutralImageSmooth(const MP_Params& p) { return off(p, 1) && off(p, 3); }
// Every knot of the curve on the diagonal.
bool neutralGradationLagrange(const MP_Params& p)
{
    for (int i = 0; i < 6; ++i)
        if (!near(p.p[0][2 * i], p.p[0][2 * i + 1]))
            return false;
    return off(p, 1);
}
bool neutralSoftContrast(const MP_Params& p) { return near(p.p[1][0], 0.5f) && off(p, 3); }
bool neutralSoftRGBContrast(const MP_Params& p) { return near(p.p[1][0], 0.0f) && off(p, 3); }
bool neutralLocalContrast(const MP_Params& p) { return near(p.p[1][0], 0.25f) && off(p, 3); }
bool neutralLocalContour(const MP_Params& p) { return near(p.p[1][0], 0.5f) && off(p, 3); }
bool neutralColorContrast(const MP_Params& p) { return near(p.p[1][0], 0.25f) && off(p, 3); }

struct KernelEntry {
    std::string_view name;
    int geo;      // geometry slot, -1 none
    int spl;      // spline slot, -1 none
    Size size;    // size rule
    Cpu cpu;
    int* flag;    // calibration flag of Cpu::Flag kernels
    unsigned traits;
    NeutralTest neutral; // nullptr: a run is always needed
};

// In the order of the operator families; sorted by name below for lookup.
constexpr auto kTable = std::to_array<KernelEntry>({
//   name, geometry slot, spline slot, size, processor rule, calibration flag, traits, neutral test
    {"MP_calcPixelCombinedPrePass", -1, -1, sz(2), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelYFlip", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelYFlip, Full, nullptr},
    {"MP_calcPixelXFlip", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelXFlip, 0, nullptr},
    {"MP_calcPixelEnhance", 5, 3, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelColorEnhance", 5, -1, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelArtworkEnhance", 3, -1, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelOilpaint", 2, -1, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelTMmeandiff", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMmeanlog", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMmeanlin", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMmeanexp", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMfattal", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMgradlum", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMconstgradlum", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMsigmoid", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMlummeangrad", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelTMintense", 7, 5, R500, Cpu::Any, nullptr, Tonemapping, nullptr},
    {"MP_calcPixelDeNoiseAverage", 3, 1, sz(2), Cpu::Flag, &forceCPU_MP_calcPixelDeNoiseAverage, NoScaling, neutralDeNoiseAverage},
    {"MP_calcPixelSubDeNoiseAverage", -1, -1, sz(2), Cpu::Any, nullptr, NoScaling, nullptr},
    {"MP_calcPixelDeNoiseMedian", 3, 1, sz(1), Cpu::Flag, &forceCPU_MP_calcPixelDeNoiseMedian, NoScaling, neutralDeNoiseMedian},
    {"MP_calcPixelDeNoiseVariance", 4, 2, R50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelDeNoiseMinMax", 3, 1, sz(1), Cpu::Any, nullptr, NoScaling, neutralDeNoiseMinMax},
    {"MP_calcPixelDeNoiseIterative", 5, 3, R50, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelDeNoiseHD", 4, 2, sz(80), Cpu::Flag, &forceCPU_MP_calcPixelDeNoiseHD, SlowDevice, nullptr},
    {"MP_calcPixelDeNoiseLumHD", 4, 2, sz(80), Cpu::Flag, &forceCPU_MP_calcPixelDeNoiseLumHD, SlowDevice, nullptr},
    {"MP_calcPixelSyntheticExposePicture", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelSyntheticExposePicture, 0, nullptr},
    {"MP_calcPixelReExposePicture", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelReExposePicture, 0, nullptr},
    {"MP_calcPixelLocalWhitebalance", 3, -1, R500, Cpu::Flag, &forceCPU_MP_calcPixelLocalWhiteBalance, 0, neutralLocalWhitebalance},
    {"MP_calcPixelColorIntensity", 3, 1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorIntensity, 0, neutralColorIntensity},
    {"MP_calcPixelColorMix", 3, -1, sz(0), Cpu::Any, nullptr, 0, neutralColorMix},
    {"MP_calcPixelColorTemperature", 3, 1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorTemperature, 0, neutralColorTemperature},
    {"MP_calcPixelDaytime", 3, 1, sz(0), Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelYeartime", 2, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelPolfilter", 4, -1, R500, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelWeighedBW", 2, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelColorTint", 3, 1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorTint, 0, neutralColorTint},
    {"MP_calcPixelbwpoint", -1, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelmanualbwpoint", 3, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelmanualbwpoint, 0, neutralmanualbwpoint},
    {"MP_calcPixelautomaticbwpoint", 1, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelManualRGBpoint", 7, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelLightShadow", 5, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelLightShadow, 0, neutralLightShadow},
    {"MP_calcPixelColorLightShadow", 3, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorLightShadow, 0, neutralColorLightShadow},
    {"MP_calcPixelChromaticAberration", 3, -1, R50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelComicPaint", 6, -1, R50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelPencilPaint", 4, 2, S25, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelChannelSmooth", 5, -1, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelImageSmooth", 4, 2, R500, Cpu::Any, nullptr, 0, neutralImageSmooth},
    {"MP_calcPixelVeilingGlare", 4, 2, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelLocalContrast", 4, 2, R500, Cpu::Any, nullptr, 0, neutralLocalContrast},
    {"MP_calcPixelLocalContour", 4, 2, R500, Cpu::Any, nullptr, 0, neutralLocalContour},
    {"MP_calcPixelColorContrast", 4, 2, R500, Cpu::Any, nullptr, 0, neutralColorContrast},
    {"MP_calcPixelColorSmooth", 4, -1, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelSkySmooth", 4, -1, R500, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelImageBloom", 5, 3, R500, Cpu::Any, nullptr, 0, neutralImageBloom},
    {"MP_calcPixelNeonLight", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelSharpen", 3, 1, sz(1), Cpu::Flag, &forceCPU_MP_calcPixelSharpen, 0, neutralSharpen},
    {"MP_calcPixelHDSharpen", 4, 2, sz(80), Cpu::Flag, &forceCPU_MP_calcPixelHDSharpen, SlowDevice, nullptr},
    {"MP_calcPixelHDLumSharpen", 4, 2, sz(80), Cpu::Flag, &forceCPU_MP_calcPixelHDLumSharpen, SlowDevice, nullptr},
    {"MP_calcPixelSubSharpen", -1, -1, sz(1), Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelBasicTools", 5, 3, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelBasicTools, 0, neutralBasicTools},
    {"MP_calcPixelAddGrain", 4, -1, sz(0), Cpu::Always, nullptr, 0, neutralAddGrain},
    {"MP_calcPixelHSL", 5, 3, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelHSL, 0, neutralHSL},
    {"MP_calcPixelHueShift", 7, -1, sz(0), Cpu::Any, nullptr, 0, neutralHueShift},
    {"MP_calcPixelHueExpose", 7, -1, sz(0), Cpu::Any, nullptr, 0, neutralHueExpose},
    {"MP_calcPixelVignette", 6, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelVignette, Full, nullptr},
    {"MP_calcPixelCenterLight", 5, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelLensCorrection", 3, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelLensCorrection, Full, nullptr},
    {"MP_calcPixelChromaticMove", 6, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelFocus", 4, -1, R500, Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelBokehBlur", 7, -1, sz(256), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelTiltShift", 5, -1, R500, Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelTiltFog", 6, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelTiltColor", 5, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelHistogramEqualize", 2, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelWhitebalance", 2, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelWhitebalance, 0, neutralWhitebalance},
    {"MP_calcPixelGradationLagrange", 2, 0, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelGradationLagrange, 0, neutralGradationLagrange},
    {"MP_calcPixelBleachBypass", 4, 2, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelBleachBypass, 0, nullptr},
    {"MP_calcPixelPosterize", 2, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelPosterize, 0, nullptr},
    {"MP_calcPixelLightTuner", 4, -1, R50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelWaxPaint", 4, -1, R50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelSoftRelief", 7, -1, R50, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelOelbild", 5, -1, R50, Cpu::Always, nullptr, Full, nullptr},
    {"MP_calcPixelPlastics", 4, -1, R50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelAddReflector", 3, -1, S50, Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelUnderWater", 2, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelUnderWater, Full, nullptr},
    {"MP_calcPixelColorSolarize", 2, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorSolarize, 0, nullptr},
    {"MP_calcPixelGreyscale", 7, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelGreyscale, 0, nullptr},
    {"MP_calcPixelNegative", 1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelNegative, 0, nullptr},
    {"MP_calcPixelGammaColor", 4, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelGammaColor, 0, nullptr},
    {"MP_calcPixelSepia", 3, 0, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelSepia, 0, nullptr},
    {"MP_calcPixelColorBalance", 4, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorBalance, 0, neutralColorBalance},
    {"MP_calcPixelColorPalette", 9, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorPalette, 0, neutralColorPalette},
    {"MP_calcPixelMandelbrot", 6, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelC64", 2, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelPainting", 3, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelBubble", 4, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelAirbag", 4, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelAirbag, Full|NoScaling, nullptr},
    {"MP_calcPixelRotate", 5, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelAddFrame", 3, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelPerspective", 5, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelHorizon", 4, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelTwirl", 5, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelMagnet", 5, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelWarp", 5, 3, R500, Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelDirBlur", 4, 2, S500, Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelDirSharpen", 4, 2, S500, Cpu::Any, nullptr, Full|NoScaling, nullptr},
    {"MP_calcPixelRadialBlur", 3, -1, R200, Cpu::Any, nullptr, Full|NoScaling, neutralRadialBlur},
    {"MP_calcPixelWaveDistort", 7, 5, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelWaveDistort, Full, nullptr},
    {"MP_calcPixelBorder", 4, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelColorSpaceConversion", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelColorSpaceConversion, 0, nullptr},
    {"MP_calcPixelSinCity", 3, -1, sz(0), Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelInvSinCity", 3, -1, sz(0), Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelStars", 6, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelMoon", 7, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelGlasStruct", 4, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelCubify", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureTone", 9, 7, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureDust", 7, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureLight", 7, 5, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureDouble", 7, 5, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureFilmframe", 3, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureProjection", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureVignette", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureCloth", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureCrack", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureStone", 7, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructurePaper", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructureMetal", 6, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelStructurePuzzle", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelBlackWhite", 4, -1, R500, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelLensFlare", 4, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelRain", 5, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelSnow", 4, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelAirBubbles", 6, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelSoapBubbles", 6, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelRegenbogen", 7, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelPolarLight", 7, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelPopart", 6, -1, sz(0), Cpu::Any, nullptr, Full, nullptr},
    {"MP_calcPixelPsycho", 5, 3, sz(0), Cpu::Any, nullptr, 0, nullptr},
    {"MP_calcPixelSoftContrast", 4, 2, sz(0), Cpu::Always, nullptr, 0, neutralSoftContrast},
    {"MP_calcPixelSoftRGBContrast", 4, 2, sz(0), Cpu::Always, nullptr, 0, neutralSoftRGBContrast},
    {"MP_calcPixelRemoveArtifacts", 4, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelpercentbwpoint", 4, -1, sz(0), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelErode", 4, 2, sz(10), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelDilate", 4, 2, sz(10), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelDoppler", 4, 2, sz(10), Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelRedEyes", 2, -1, sz(0), Cpu::Any, nullptr, 0, neutralRedEyes},
    {"MP_calcPixelHDRaverage", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelHDRaverage, 0, nullptr},
    {"MP_calcPixelFastHDRentropy", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelFastHDRentropy, 0, nullptr},
    {"MP_calcPixelFastHDRdistance", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelFastHDRdistance, 0, nullptr},
    {"MP_calcPixelFastHDRrgrbgb", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelFastHDRrgrbgb, 0, nullptr},
    {"MP_calcPixelHDRlumentropy", -1, -1, R50, Cpu::Flag, &forceCPU_MP_calcPixelHDRlumentropy, 0, nullptr},
    {"MP_calcPixelHDRlumrgb", -1, -1, R50, Cpu::Flag, &forceCPU_MP_calcPixelHDRlumrgb, 0, nullptr},
    {"MP_calcPixelHDRlinear", -1, -1, R50, Cpu::Flag, &forceCPU_MP_calcPixelHDRlinear, 0, nullptr},
    {"MP_calcPixelHDRloglinear", -1, -1, R50, Cpu::Flag, &forceCPU_MP_calcPixelHDRloglinear, 0, nullptr},
    {"MP_calcPixelHDRquadriclinear", -1, -1, R50, Cpu::Flag, &forceCPU_MP_calcPixelHDRquadriclinear, 0, nullptr},
    {"MP_calcPixelHDRsatlig", -1, -1, R50, Cpu::Flag, &forceCPU_MP_calcPixelHDRsatlig, 0, nullptr},
    {"MP_calcPixelFastHDRabsdist", -1, -1, sz(0), Cpu::Flag, &forceCPU_MP_calcPixelFastHDRabsdist, 0, nullptr},
    {"MP_calcPixelHDRdetail", -1, -1, R50, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelHDRrgbdetail", -1, -1, R50, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelHDRfocusstacklin", -1, -1, R50, Cpu::Any, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstacklum", -1, -1, R50, Cpu::Any, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstackrgb", -1, -1, R50, Cpu::Any, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstackvar", -1, -1, R50, Cpu::Any, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstackmse", -1, -1, R50, Cpu::Any, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstackmce", -1, -1, R50, Cpu::Any, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstackpyramidmse", -1, -1, R50, Cpu::Always, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRfocusstackpyramidmce", -1, -1, R50, Cpu::Always, nullptr, FocusStacking, nullptr},
    {"MP_calcPixelHDRlinBlurHorVer", -1, -1, P, Cpu::Always, nullptr, 0, nullptr},
    {"MP_calcPixelSuperquadric", 7, -1, sz(0), Cpu::Any, nullptr, Full|NoScaling|NoDriver, nullptr},
    {"MP_calcPixel3dsmooth", 3, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3dshowz", 2, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3dlight", 6, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3draytrace", 9, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3dstereo", 3, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3dfocallength", 4, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3ddof", 4, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3ddepthfog", 4, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3dstructure", 7, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3dsnowcover", 6, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},
    {"MP_calcPixel3drotation", 9, -1, sz(500), Cpu::Any, nullptr, NoDriver, nullptr},

});

static_assert(kTable.size() == 181, "the registry knows 181 kernels");

constexpr auto kSorted = [] {
    auto sorted = kTable;
    std::sort(sorted.begin(), sorted.end(),
              [](const KernelEntry& a, const KernelEntry& b) { return a.name < b.name; });
    return sorted;
}();

constexpr bool namesUniqueAndShort()
{
    for (size_t i = 0; i < kSorted.size(); ++i) {
        if (kSorted[i].name.size() >= 255) // the dispatcher's name buffers hold 255 characters
            return false;
        if (i > 0 && kSorted[i - 1].name == kSorted[i].name)
            return false;
    }
    return true;
}
static_assert(namesUniqueAndShort(), "kernel names are unique and fit the name buffers");

constexpr int kCount = static_cast<int>(kSorted.size());

const KernelEntry* findEntry(const char* name)
{
    if (!name)
        return nullptr;
    const std::string_view n(name);
    const auto it = std::lower_bound(kSorted.begin(), kSorted.end(), n,
                                     [](const KernelEntry& e, std::string_view key) { return e.name < key; });
    if (it == kSorted.end() || it->name != n)
        return nullptr;
    return &*it;
}

bool has(const KernelEntry* e, unsigned trait) { return e && (e->traits & trait) != 0; }

// Float to int by truncation toward zero; NaN gives 0, values beyond the int
// range give its ends (sizes come from parameter files and sliders).
int truncToInt(float v)
{
    if (v != v)
        return 0;
    if (v >= 2147483648.0f)
        return INT_MAX;
    if (v <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(v);
}

int kernelSize(const KernelEntry* e, const MP_Params* params)
{
    if (!e)
        return 500;
    if (e->size.rule == SizeRule::Constant)
        return e->size.value;
    if (!params)
        return 0;
    const float p0 = params->p[0][0];
    const float scale = params->previewscalingfactor;
    switch (e->size.rule) {
    case SizeRule::R500:
        return truncToInt(500.0f * p0 * scale);
    case SizeRule::R200:
        return truncToInt(200.0f * p0 * scale);
    case SizeRule::R50:
        return truncToInt(50.0f * p0 * scale);
    case SizeRule::S500:
        return truncToInt(500.0f * scale);
    case SizeRule::S50:
        return truncToInt(50.0f * scale);
    case SizeRule::S25:
        return truncToInt(25.0f * scale);
    case SizeRule::P:
        return truncToInt(p0);
    case SizeRule::Constant:
        break;
    }
    return e->size.value;
}

// ---- Drivers ---------------------------------------------------------------------

struct DriverIndex {
    std::array<MP_KernelDriver, kCount> drivers{};
    const char* firstMismatch = nullptr;
};

DriverIndex buildDriverIndex()
{
    DriverIndex index;
    for (const MP_DriverTable* family : kFamilies) {
        if (!family)
            continue;
        for (int i = 0; i < family->count; ++i) {
            const MP_DriverEntry& entry = family->entries[i];
            const KernelEntry* e = findEntry(entry.name);
            const bool usable = e && !has(e, NoDriver) && entry.driver;
            MP_KernelDriver* slot = usable ? &index.drivers[static_cast<size_t>(e - kSorted.data())] : nullptr;
            if (!slot || *slot) {
                if (!index.firstMismatch)
                    index.firstMismatch = entry.name ? entry.name : "(null)";
                continue;
            }
            *slot = entry.driver;
        }
    }
    return index;
}

const DriverIndex& driverIndex()
{
    static const DriverIndex index = buildDriverIndex();
    return index;
}

std::atomic<const MP_DriverTable*> s_testTable{nullptr};

MP_KernelDriver driverFor(const KernelEntry* e)
{
    if (!e || has(e, NoDriver))
        return nullptr;
    if (const MP_DriverTable* test = s_testTable.load(std::memory_order_acquire)) {
        for (int i = 0; i < test->count; ++i)
            if (test->entries[i].name && e->name == test->entries[i].name && test->entries[i].driver)
                return test->entries[i].driver;
    }
    return driverIndex().drivers[static_cast<size_t>(e - kSorted.data())];
}

} // namespace

// ---- Queries ---------------------------------------------------------------------

int MP_UI_getKernelGeometryIndex(const char* name)
{
    const KernelEntry* e = findEntry(name);
    return e ? e->geo : -1;
}

int MP_UI_getKernelSplineIndex(const char* name)
{
    const KernelEntry* e = findEntry(name);
    return e ? e->spl : -1;
}

int MP_UI_getKernelSize(const char* name, const MP_Params* params) { return kernelSize(findEntry(name), params); }

int MP_UI_checkKernelRadiusFromSlider(const char* name)
{
    const KernelEntry* e = findEntry(name);
    if (!e)
        return 0;
    const SizeRule rule = e->size.rule;
    return rule == SizeRule::R500 || rule == SizeRule::R200 || rule == SizeRule::R50 ? 1 : 0;
}

int MP_UI_checkKernelForcesCPU(const char* name)
{
    const KernelEntry* e = findEntry(name);
    if (!e)
        return 0;
    switch (e->cpu) {
    case Cpu::Always:
        return 1;
    case Cpu::Flag:
        return *e->flag;
    case Cpu::Any:
        break;
    }
    return 0;
}

int MP_UI_checkKernelNeedFullSize(const char* name) { return has(findEntry(name), Full) ? 1 : 0; }
int MP_UI_checkKernelIsTonemapping(const char* name) { return has(findEntry(name), Tonemapping) ? 1 : 0; }
int MP_UI_checkKernelIsFocusStacking(const char* name) { return has(findEntry(name), FocusStacking) ? 1 : 0; }
int MP_UI_checkKernelForcesSlowGPUExecution(const char* name) { return has(findEntry(name), SlowDevice) ? 1 : 0; }
int MP_UI_checkKernelAllowsScaling(const char* name) { return has(findEntry(name), NoScaling) ? 0 : 1; }

int MP_UI_isKernelExecutionNeeded(const char* name, const MP_Params* params)
{
    const KernelEntry* e = findEntry(name);
    if (!e || !e->neutral || !params)
        return 1;
    return e->neutral(*params) ? 0 : 1;
}

int MP_UI_getMaxPixelPerKernel(const char* name, const MP_Params* params)
{
    const KernelEntry* e = findEntry(name);
    const float multiplier = params ? params->unit_kernel_multiplier : 0.0f;
    const float exponent = params ? params->kernel_exponent : 1.0f;
    const int r = truncToInt(static_cast<float>(kernelSize(e, params)) * multiplier);
    int b;
    if (r <= 2)
        b = 128;
    else if (r <= 10)
        b = 112;
    else if (r <= 20)
        b = 96;
    else if (r <= 30)
        b = 88;
    else if (r <= 50)
        b = 80;
    else if (r <= 70)
        b = 72;
    else if (r <= 110)
        b = 64;
    else if (r <= 150)
        b = 56;
    else if (r <= 250)
        b = 48;
    else if (r <= 350)
        b = 40;
    else if (r <= 450)
        b = 36;
    else
        b = 32;
    if (r > 2)
        b = truncToInt(static_cast<float>(b) * (1.0f + exponent) * 0.5f);
    if (has(e, SlowDevice))
        b = 4;
    else
        b = std::clamp(b, 2, 256);
    const long long pixels = static_cast<long long>(b) * MP_UI_GetPixelPerKernelPack();
    return static_cast<int>(std::clamp<long long>(pixels, 0, INT_MAX));
}

float MP_UI_getSpecificKernelMultiplier(const char*) { return 1.0f; }

int MP_UI_executeKernel(const char* name, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                        MP_Params* params, int category, float progressStart, float progressDelta)
{
    _category = category;
    _progressstart = progressStart;
    _progressdelta = progressDelta;
    if (!src || !dst || !params)
        return -2;
    const MP_KernelDriver driver = driverFor(findEntry(name));
    if (!driver)
        return 0;
    return driver(sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

// ---- Registry contents -------------------------------------------------------------

int MP_kernelCount() { return kCount; }

const char* MP_kernelNameAt(int i)
{
    if (i < 0 || i >= kCount)
        return nullptr;
    return kSorted[static_cast<size_t>(i)].name.data();
}

const char* MP_firstMismatchedDriverEntry() { return driverIndex().firstMismatch; }

const MP_DriverTable* MP_SetTestDriverTable(const MP_DriverTable* table)
{
    return s_testTable.exchange(table, std::memory_order_acq_rel);
}
