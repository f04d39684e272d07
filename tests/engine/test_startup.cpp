#include "enginefixture.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

// What the fractal driver saw when the start-up ran it.
struct FractalRun {
    int calls = 0;
    int sizex = 0, sizey = 0, srcBpp = 0, dstBpp = 0;
    const ushort* src = nullptr;
    const ushort* dst = nullptr;
    int category = 0;
    MP_Params params{};
};
FractalRun g_run;

int recordFractal(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    ++g_run.calls;
    g_run.sizex = sizex;
    g_run.sizey = sizey;
    g_run.srcBpp = srcBpp;
    g_run.dstBpp = dstBpp;
    g_run.src = src;
    g_run.dst = dst;
    g_run.category = _category;
    g_run.params = *params;
    dst[0] = 1234; // drawn in place
    return 0;
}

const MP_DriverEntry kFractal[] = {{"MP_calcPixelMandelbrot", recordFractal}};
const MP_DriverTable kFractalTable = MP_driverTable(kFractal);

// Every setting of the store (and the state beside it that start-up and
// release must not touch) as numbers, in a fixed order.
std::vector<double> settingsSnapshot()
{
    std::vector<double> v;
#define X(Name, global, type, initial, start, rule) v.push_back(static_cast<double>(MP_UI_Get##Name()));
#include "engine/core/settings_list.h"
#undef X
    v.push_back(MP_UI_GetCalcMode());
    for (int m = 0; m < 4; ++m)
        v.push_back(MP_UI_GetMaxMemAllocSize(m));
    for (int c : {MP_backgroundcolor, MP_highlightcolor, MP_linecolor, MP_fillcolor, MP_bordercolor})
        v.push_back(c);
    for (float w : MP_LuminanzConv)
        v.push_back(w);
    v.push_back(MP_UI_GetRandomSeed());
    v.push_back(MP_align_mulitpass_maxpasses);
    v.push_back(MP_align_scroll_radius);
    v.push_back(MP_align_zoom_steps);
    v.push_back(MP_align_rotate_maxangle);
    return v;
}

// Puts an odd value into every setting, so start-up has to write each one it owns.
void scrambleSettings()
{
#define X(Name, global, type, initial, start, rule) global = static_cast<type>(7.25);
#include "engine/core/settings_list.h"
#undef X
    MP_backgroundcolor = MP_highlightcolor = 0x123456;
    MP_UI_SetLuminanzConv(3);
    MP_UI_SetAlignQualityValues(3);
}

class Startup : public EngineTest {
protected:
    void TearDown() override
    {
        MP_UI_Release();
        EngineTest::TearDown();
    }
};

TEST_F(Startup, StartValuesOfEverySettingItOwns)
{
    scrambleSettings();
    MP_UI_Init("/textures", 6);

    struct Expect {
        const char* name;
        std::function<double()> get;
        double value;
    };
    const Expect owned[] = {
        {"IdealThreadCount", MP_UI_GetIdealThreadCount, 6},
        {"PreviewSize", MP_UI_GetPreviewSize, 1.0},
        {"PreviewScaleMode", MP_UI_GetPreviewScaleMode, 0},
        {"BlurMode", MP_UI_GetBlurMode, 1},
        {"KernelExponent", MP_UI_GetKernelExponent, 4.0},
        {"LatitudeOptimizeExponent", MP_UI_GetLatitudeOptimizeExponent, 1.7f},
        {"CalculationQuality", MP_UI_GetCalculationQuality, 0.5},
        {"Loopstep", MP_UI_GetLoopstep, 1},
        {"ShowExexcuteKernelOutput", MP_UI_GetShowExexcuteKernelOutput, 1},
        {"AlignMeshSmooth", MP_UI_GetAlignMeshSmooth, 1},
        {"LimitPixelMode", MP_UI_GetLimitPixelMode, 0},
        {"HeatmapMode", MP_UI_GetHeatmapMode, 0},
        {"KernelSampleRate", MP_UI_GetKernelSampleRate, 0.8f},
        {"PanoramaMode", MP_UI_GetPanoramaMode, 0},
        {"RadiusDisplayMode", MP_UI_GetRadiusDisplayMode, 0},
        {"DeGhostLocalMode", MP_UI_GetDeGhostLocalMode, 1},
        {"TM3dIterations", MP_UI_GetTM3dIterations, 2},
        {"HDRNormalizeMode", MP_UI_GetHDRNormalizeMode, 0},
        {"HDRGammaValue", MP_UI_GetHDRGammaValue, 2.2f},
        {"CompressionLevel", MP_UI_GetCompressionLevel, 1},
        {"RawDevOnLoadMode", MP_UI_GetRawDevOnLoadMode, 1},
        {"AskForSaveProjectMode", MP_UI_GetAskForSaveProjectMode, 1},
        {"BufferCompressionMode", MP_UI_GetBufferCompressionMode, 1},
        {"UseMultithreadingMode", MP_UI_GetUseMultithreadingMode, 1},
        {"SuppressAutoSyntheticsMode", MP_UI_GetSuppressAutoSyntheticsMode, 0},
        {"FilmTypeAfterPPMode", MP_UI_GetFilmTypeAfterPPMode, 1},
        {"AnimMode", MP_UI_GetAnimMode, 0},
        {"DisplayGammaHDRMode", MP_UI_GetDisplayGammaHDRMode, 0},
        {"BackgroundColor", MP_UI_GetBackgroundColor, 0x2E2E2E},
        {"HighlightColor", MP_UI_GetHighlightColor, 0xFFFFFF},
        {"HighlightOpacity", MP_UI_GetHighlightOpacity, 0.0},
        {"TonemappingMultipleMode", MP_UI_GetTonemappingMultipleMode, 0},
        {"IsCalculatingMode", MP_UI_GetIsCalculatingMode, 0},
        {"IsCalculatingCancelRequest", MP_UI_GetIsCalculatingCancelRequest, 0},
        {"IsBatchMode", MP_UI_GetIsBatchMode, 0},
        {"PPStencilCopyMode", MP_UI_GetPPStencilCopyMode, 1},
        {"SaveTimeLineMode", MP_UI_GetSaveTimeLineMode, 0},
        {"BrushTypeMode", MP_UI_GetBrushTypeMode, 0},
        {"PainterPanoramaMode", MP_UI_GetPainterPanoramaMode, 0},
        {"ShowNoiseAreaMode", MP_UI_GetShowNoiseAreaMode, 0},
        {"ImageSizeMode", MP_UI_GetImageSizeMode, 1},
        {"LoadedIsHDRMode", MP_UI_GetLoadedIsHDRMode, 0},
    };
    for (const Expect& e : owned)
        EXPECT_EQ(e.get(), e.value) << e.name;

    // Settings start-up does not own keep what they held.
    const Expect kept[] = {
        {"CalcForceMode", MP_UI_GetCalcForceMode, 7},
        {"PixelPerKernelPack", MP_UI_GetPixelPerKernelPack, 7},
        {"PreviewScalingFactor", MP_UI_GetPreviewScalingFactor, 7.25f},
        {"ActualRadiusSize", MP_UI_GetActualRadiusSize, 7.25f},
        {"IsHDRLuminanceBalanceNeeded", MP_UI_GetIsHDRLuminanceBalanceNeeded, 7},
        {"AlignMultiPassMode", MP_UI_GetAlignMultiPassMode, 7},
        {"PPFinishedMode", MP_UI_GetPPFinishedMode, 7},
        {"AnimModeFrameTime", MP_UI_GetAnimModeFrameTime, 7.25f},
        {"AnimCount", MP_UI_GetAnimCount, 7.25f},
        {"KeyPressedMode", MP_UI_GetKeyPressedMode, 7},
    };
    for (const Expect& e : kept)
        EXPECT_EQ(e.get(), e.value) << e.name;

    // Luminance weights of type 1 and the alignment tuning of quality 1.
    float r = 0, g = 0, b = 0;
    MP_UI_GetLuminanzConvRGB(&r, &g, &b);
    EXPECT_EQ(r, 0.3333f);
    EXPECT_EQ(g, 0.3334f);
    EXPECT_EQ(b, 0.3333f);
    EXPECT_EQ(MP_align_mulitpass_maxpasses, 5);
    EXPECT_EQ(MP_align_scroll_radius, 0.10f);
    EXPECT_EQ(MP_align_zoom_steps, 20);
    EXPECT_EQ(MP_align_rotate_anglesteps, 10);
}

TEST_F(Startup, ThreadCountBelowOneIsStoredAsOne)
{
    MP_UI_Init("", 0);
    EXPECT_EQ(MP_UI_GetIdealThreadCount(), 1);
    MP_UI_Init("", -5);
    EXPECT_EQ(MP_idealThreadCount, 1);
}

TEST_F(Startup, TablesAndColourCircle)
{
    MP_exp_table[0] = 0.0f;
    MP_sqrt_table[65535] = 0.0f;
    MP_fillZoomTable(9);
    std::memset(MP_pic_colorcicle, 0, sizeof(MP_pic_colorcicle));
    MP_UI_Init("", 2);

    EXPECT_EQ(MP_exp_table[0], 1.0f);
    EXPECT_EQ(MP_sqrt_table[65535], 1.0f);
    EXPECT_EQ(MP_izoomtable[16384], 4096);
    EXPECT_EQ(MP_izoomtable[65535], 16384);
    // The colour circle: white in the middle, black outside the circle.
    auto px = [](int c, int r, int k) { return MP_pic_colorcicle[(size_t(r) * 80 + c) * 3 + k]; };
    EXPECT_EQ(px(40, 40, 0), 65535);
    EXPECT_EQ(px(40, 40, 2), 65535);
    EXPECT_EQ(px(0, 0, 0) + px(0, 0, 1) + px(0, 0, 2), 0);
    EXPECT_EQ(px(40, 20, 0), 32767);
    EXPECT_EQ(px(40, 20, 1), 16383);
}

TEST_F(Startup, FractalPictureIsDrawnByItsKernelAtTheCatalogueDefaults)
{
    g_run = FractalRun{};
    MP_SetTestDriverTable(&kFractalTable);
    MP_pic_mandelbrot[3] = 999; // left from an earlier start: drawn over black
    _category = 3;
    MP_UI_Init("", 2);

    ASSERT_EQ(g_run.calls, 1);
    EXPECT_EQ(g_run.sizex, 250);
    EXPECT_EQ(g_run.sizey, 250);
    EXPECT_EQ(g_run.srcBpp, 6);
    EXPECT_EQ(g_run.dstBpp, 6);
    EXPECT_EQ(g_run.src, MP_pic_mandelbrot);
    EXPECT_EQ(g_run.dst, MP_pic_mandelbrot);
    EXPECT_LT(g_run.category, 0); // no progress from the start-up
    EXPECT_EQ(_category, 3);
    EXPECT_EQ(MP_pic_mandelbrot[0], 1234);
    EXPECT_EQ(MP_pic_mandelbrot[3], 0);

    MP_Params expected{};
    expected.p[0][0] = 0.0241f;
    expected.p[2][0] = 0.25f;
    expected.p[3][0] = 0.5f;
    expected.p[3][1] = 0.5f;
    expected.p[4][2] = 0.5f;
    expected.p[4][3] = 0.7f;
    expected.p[4][4] = 0.7f;
    expected.p[5][1] = 100.0f;
    EXPECT_EQ(std::memcmp(&g_run.params, &expected, sizeof(MP_Params)), 0);
}

TEST_F(Startup, TexturePathIsKeptWhole)
{
    const std::string longPath = "/textures/" + std::string(3000, 'x');
    MP_UI_Init(longPath.c_str(), 1);
    EXPECT_EQ(MP_texturePath(), longPath);
    MP_UI_Init(nullptr, 1);
    EXPECT_EQ(MP_texturePath(), "");
}

TEST_F(Startup, ReleaseFreesTheEngineBlocksAndKeepsEverySetting)
{
    MP_UI_Init("/textures", 3);
    const std::vector<double> afterInit = settingsSnapshot();

    ASSERT_NE(MP_UpdateBuffer(1000), nullptr);
    MP_UI_SetTextureNeeded(5, 1);
    MP_UI_AllocTextureData(5, 4, 4, 6, 0);
    ASSERT_NE(MP_UI_GetTexturePointer(5), nullptr);
    ASSERT_EQ(MP_geometryAllocBuffers(64, 48), 0);
    MP_Brush_buffer = static_cast<uint32_t*>(std::malloc(16 * sizeof(uint32_t)));

    MP_UI_Release();
    EXPECT_EQ(MP_buffer, nullptr);
    EXPECT_EQ(MP_buffer_size, 0u);
    EXPECT_EQ(MP_UI_GetTexturePointer(5), nullptr);
    EXPECT_EQ(MP_UI_GetTextureSizeX(5), -1);
    EXPECT_EQ(MP_UI_GetTextureNeeded(5), 1);
    EXPECT_EQ(MP_geo_lineaddsize, 0);
    EXPECT_EQ(MP_Brush_buffer, nullptr);
    EXPECT_EQ(settingsSnapshot(), afterInit);

    // Directly after start-up there is nothing to free; releasing twice is harmless.
    MP_UI_Init("/textures", 3);
    MP_UI_Release();
    MP_UI_Release();
    EXPECT_EQ(settingsSnapshot(), afterInit);
}

TEST_F(Startup, ReleasingTheWorkingMemoryKeepsTexturesAndSettings)
{
    MP_UI_Init("/textures", 3);
    const std::vector<double> afterInit = settingsSnapshot();
    ASSERT_NE(MP_UpdateBuffer(1000), nullptr);
    MP_UI_AllocTextureData(5, 4, 4, 6, 0);
    ASSERT_EQ(MP_geometryAllocBuffers(64, 48), 0);
    std::vector<uint16_t> picture(8 * 8 * 3, 1000);
    ASSERT_EQ(MP_UI_ConvertToCompress(picture.data(), 8, 8, 9), 0); // keeps a pre-coding block

    MP_UI_ReleaseWorkingMemory();
    EXPECT_EQ(MP_buffer, nullptr);
    EXPECT_EQ(MP_buffer_size, 0u);
    EXPECT_EQ(MP_geo_lineaddsize, 0);
    EXPECT_NE(MP_UI_GetTexturePointer(5), nullptr);
    EXPECT_EQ(settingsSnapshot(), afterInit);
    // The engine works on as before.
    ASSERT_NE(MP_UpdateBuffer(500), nullptr);
    EXPECT_EQ(MP_UI_ConvertFromCompress(picture.data(), 8, 8, 9), 0);
    MP_UI_Release();
}

} // namespace
