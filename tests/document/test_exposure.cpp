// Exposure records and the conversion of loaded bitmaps into exposures.

#include "documentfixture.h"

#include "document/rescale.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

class ExposureTest : public DocumentTest {};

} // namespace

TEST_F(ExposureTest, FreshRecordHasItsDefaults)
{
    CExposure e;
    EXPECT_EQ(e.m_uiWidth, 0xFFFFFFFFu);
    EXPECT_EQ(e.m_uiHeight, 0xFFFFFFFFu);
    EXPECT_EQ(e.m_uiPreviewWidth, 0xFFFFFFFFu);
    EXPECT_EQ(e.m_pusBuffer, nullptr);
    EXPECT_TRUE(e.m_bActive);
    EXPECT_FALSE(e.m_bMaster);
    EXPECT_FALSE(e.m_bSynthetic);
    EXPECT_FALSE(e.m_bExifLoaded);
    EXPECT_EQ(e.m_fGlobalWeight, 0.5f);
    EXPECT_EQ(e.m_fExposureValue, 0.5f);
    EXPECT_EQ(e.m_iDateTime, -1);
    EXPECT_EQ(e.m_iISOSpeedRatings, -1);
    EXPECT_EQ(e.m_fExposureTime, 0.0f);
    EXPECT_EQ(e.m_fAvgLuminance, 0.0f);
}

TEST_F(ExposureTest, SetGPSDataChangesOnlyGivenFields)
{
    CExposure e;
    e.SetGPSData("N", "W", "48:08:12.34", "11:34:56.00");
    e.SetGPSData("", "E", "", "");
    EXPECT_EQ(e.m_strGPSLatitudeRef, "N");
    EXPECT_EQ(e.m_strGPSLongitudeRef, "E");
    EXPECT_EQ(e.m_strGPSLatitude, "48:08:12.34");
    EXPECT_EQ(e.m_strGPSLongitude, "11:34:56.00");
}

TEST_F(ExposureTest, InstanceCountAndRenderBuffer)
{
    const unsigned before = IExposure::m_uiInstances;
    {
        auto a = exposureOf(rgb8(40, 30, [](int, int) { return 0x808080u; }));
        ASSERT_TRUE(a);
        EXPECT_EQ(IExposure::m_uiInstances, before + 1);
        EXPECT_NE(IExposure::sm_pbRGBA, nullptr);
        EXPECT_GE(IExposure::sm_stRGBABytes, size_t(40) * 30 * 4);
    }
    EXPECT_EQ(IExposure::m_uiInstances, before);
    if (before == 0) {
        EXPECT_EQ(IExposure::sm_pbRGBA, nullptr);
    }
}

TEST_F(ExposureTest, ReconversionKeepsManualMapsAndClearsAutomaticOnes)
{
    auto e = exposureOf(rgb8(64, 48, [](int x, int) { return x * 0x010101u; }));
    ASSERT_TRUE(e);
    e->m_psMWeightBuffer[5] = -123;
    e->m_psMWeightPreviewBuffer[3] = 77;
    e->m_pusAWeightBuffer[5] = 999;
    FIBITMAP* again = rgb8(64, 48, [](int, int) { return 0xFFFFFFu; });
    ASSERT_TRUE(e->ConvertToExposure(again, -1.0f));
    EXPECT_EQ(again, nullptr); // taken over
    EXPECT_EQ(e->m_psMWeightBuffer[5], -123);
    EXPECT_EQ(e->m_psMWeightPreviewBuffer[3], 77);
    EXPECT_EQ(e->m_pusAWeightBuffer[5], 0);
    EXPECT_EQ(px(*e, 0, 0)[0], 65280);
}

TEST_F(ExposureTest, BatchInPreviewModeKeepsPreviewMapsOnly)
{
    settings.values.bPreviewMode = true;
    CExposureBatch b;
    FIBITMAP* bitmap = rgb8(600, 520, [](int, int) { return 0x404040u; });
    ASSERT_TRUE(b.Load("b.tif", bitmap));
    ASSERT_TRUE(b.Prepare(bitmap, -1.0f));
    EXPECT_EQ(b.m_pusAWeightBuffer, nullptr);
    EXPECT_EQ(b.m_psMWeightBuffer, nullptr);
    EXPECT_EQ(b.m_pusBuffer, nullptr); // released once the preview was made
    ASSERT_NE(b.m_psMWeightPreviewBuffer, nullptr);
    EXPECT_EQ(b.m_pusPreviewBuffer[0], 0x4000);
    b.m_psMWeightPreviewBuffer[0] = 5;
    b.m_pusAWeightPreviewBuffer[0] = 6;
    b.ClearBuffer();
    EXPECT_EQ(b.m_psMWeightPreviewBuffer[0], 0); // both maps, every time
    EXPECT_EQ(b.m_pusAWeightPreviewBuffer[0], 0);
    // Stays with its caller.
    EXPECT_EQ(FreeImage_GetWidth(bitmap), 600u);
    FreeImage_Unload(bitmap);

    // Below 500 a side: refused silently.
    CExposureBatch small;
    FIBITMAP* tiny = rgb8(499, 600, [](int, int) { return 0u; });
    ASSERT_TRUE(small.Load("s.tif", tiny));
    EXPECT_FALSE(small.Prepare(tiny, -1.0f));
    FreeImage_Unload(tiny);
    EXPECT_TRUE(progress.Messages().empty());
}

// ---- Bitmap types ----------------------------------------------------------------

TEST_F(ExposureTest, EightBitRGBIsUprightAndWhiteIs65280)
{
    for (int bpp : {24, 32}) {
        SCOPED_TRACE(bpp);
        auto e = exposureOf(rgb8(
            5, 4, [](int x, int y) { return (x == 0 && y == 0) ? 0xFFFFFFu : (y == 3 ? 0x102030u : 0u); }, bpp));
        ASSERT_TRUE(e);
        EXPECT_EQ(px(*e, 0, 0)[0], 65280);
        EXPECT_EQ(px(*e, 0, 0)[2], 65280);
        EXPECT_EQ(px(*e, 1, 0)[0], 0);
        EXPECT_EQ(px(*e, 2, 3)[0], 0x1000);
        EXPECT_EQ(px(*e, 2, 3)[1], 0x2000);
        EXPECT_EQ(px(*e, 2, 3)[2], 0x3000);
        EXPECT_EQ(MP_UI_GetLoadedIsHDRMode(), 0);
    }
}

namespace {

// A bitmap of every supported kind, 301 x 203 pixels (several bands on four
// engine threads), filled with a pattern that reaches every sample value the
// type allows; float kinds carry negative, NaN and infinite samples.
FIBITMAP* patternBitmap(const std::string& kind)
{
    const int w = 301, h = 203;
    auto bits = [](int x, int y, int c) { return unsigned(x * 131 + y * 977 + c * 71 + ((x * y) >> 3)) * 2654435761u; };
    FIBITMAP* b = nullptr;
    if (kind == "rgb24" || kind == "rgba32" || kind == "grey8" || kind == "palette8" || kind == "palette4" ||
        kind == "palette1") {
        const int bpp = kind == "rgb24" ? 24 : kind == "rgba32" ? 32 : kind == "palette4" ? 4 : kind == "palette1" ? 1 : 8;
        b = FreeImage_Allocate(w, h, bpp);
        if (bpp <= 8 && kind != "grey8") {
            RGBQUAD* pal = FreeImage_GetPalette(b);
            for (int i = 0; i < (1 << bpp); ++i)
                pal[i] = RGBQUAD{BYTE(bits(i, 1, 0) >> 24), BYTE(bits(i, 2, 0) >> 24), BYTE(bits(i, 3, 0) >> 24), 0};
        }
        for (int y = 0; y < h; ++y)
            for (unsigned k = 0; k < FreeImage_GetLine(b); ++k)
                FreeImage_GetScanLine(b, y)[k] = BYTE(bits(int(k), y, 0) >> 24);
    } else if (kind == "rgb565" || kind == "rgb555") {
        b = kind == "rgb565" ? FreeImage_Allocate(w, h, 16, FI16_565_RED_MASK, FI16_565_GREEN_MASK, FI16_565_BLUE_MASK)
                             : FreeImage_Allocate(w, h, 16, FI16_555_RED_MASK, FI16_555_GREEN_MASK, FI16_555_BLUE_MASK);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reinterpret_cast<WORD*>(FreeImage_GetScanLine(b, y))[x] = WORD(bits(x, y, 0) >> 16);
    } else {
        struct Kind {
            const char* name;
            FREE_IMAGE_TYPE type;
            int samples;
        };
        static const Kind kinds[] = {{"uint16", FIT_UINT16, 1}, {"rgb16", FIT_RGB16, 3},   {"rgba16", FIT_RGBA16, 4},
                                     {"float", FIT_FLOAT, 1},   {"rgbf", FIT_RGBF, 3},     {"rgbaf", FIT_RGBAF, 4},
                                     {"int16", FIT_INT16, 1},   {"uint32", FIT_UINT32, 1}, {"int32", FIT_INT32, 1},
                                     {"double", FIT_DOUBLE, 1}};
        for (const Kind& k : kinds) {
            if (kind != k.name)
                continue;
            b = FreeImage_AllocateT(k.type, w, h);
            for (int y = 0; y < h; ++y) {
                BYTE* line = FreeImage_GetScanLine(b, y);
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < k.samples; ++c) {
                        const unsigned v = bits(x, y, c);
                        const size_t i = size_t(x) * k.samples + c;
                        // Float kinds: values in -0.5 .. 40, a few NaN and +Inf.
                        const float f = (v % 997 == 5) ? std::numeric_limits<float>::quiet_NaN()
                                        : (v % 991 == 7) ? std::numeric_limits<float>::infinity()
                                                         : float(v >> 8) / float(1 << 24) * 40.5f - 0.5f;
                        switch (k.type) {
                        case FIT_UINT16: case FIT_RGB16: case FIT_RGBA16:
                            reinterpret_cast<WORD*>(line)[i] = WORD(v >> 16); break;
                        case FIT_FLOAT: case FIT_RGBF: case FIT_RGBAF:
                            reinterpret_cast<float*>(line)[i] = f; break;
                        case FIT_INT16: reinterpret_cast<int16_t*>(line)[i] = int16_t(v >> 16); break;
                        case FIT_UINT32: reinterpret_cast<uint32_t*>(line)[i] = v; break;
                        case FIT_INT32: reinterpret_cast<int32_t*>(line)[i] = int32_t(v); break;
                        default: reinterpret_cast<double*>(line)[i] = (v % 991 == 7) ? 1e300 : double(f); break;
                        }
                    }
            }
        }
    }
    return b;
}

} // namespace

TEST_F(ExposureTest, BandedConversionMatchesTheSerialOneForEveryType)
{
    // The engine flag converts in row bands; the loader threads' own loops
    // (FreeImage's 24-bit copy for palette and packed pixels, its float copy
    // for integer images) give the reference, bit for bit. The RGB float own
    // path is a different rule: the engine's serial conversion is its
    // reference.
    for (const char* kind : {"rgb24", "rgba32", "grey8", "palette8", "palette4", "palette1", "rgb565", "rgb555",
                             "uint16", "rgb16", "rgba16", "float", "rgbf", "rgbaf", "int16", "uint32", "int32",
                             "double"}) {
        SCOPED_TRACE(kind);
        FIBITMAP* b = patternBitmap(kind);
        ASSERT_TRUE(b);
        FIBITMAP* serialSource = FreeImage_Clone(b); // the float rule writes into its bitmap
        const unsigned w = FreeImage_GetWidth(b), h = FreeImage_GetHeight(b);
        std::vector<unsigned short> serial(size_t(w) * h * 3, 1), banded(size_t(w) * h * 3, 2);
        if (std::string(kind) == "rgbf")
            MP_own_FreeImage_fromrgbf(int(w), int(h), serialSource, int(FreeImage_GetPitch(serialSource)),
                                      serial.data());
        else
            ASSERT_TRUE(CExposure::own_FreeImage_ConvertToRGB16(serialSource, serial.data(), false));
        ASSERT_TRUE(CExposure::own_FreeImage_ConvertToRGB16(b, banded.data(), true));
        EXPECT_EQ(serial, banded);
        // The samples written back into a float bitmap match as well.
        EXPECT_EQ(std::memcmp(FreeImage_GetBits(b), FreeImage_GetBits(serialSource), size_t(FreeImage_GetPitch(b)) * h),
                  0);
        FreeImage_Unload(serialSource);
        FreeImage_Unload(b);
    }
}

TEST_F(ExposureTest, PaletteIsConvertedThroughACopyAndKept)
{
    FIBITMAP* grey = FreeImage_Allocate(4, 3, 8);
    RGBQUAD* pal = FreeImage_GetPalette(grey);
    for (int i = 0; i < 256; ++i)
        pal[i] = RGBQUAD{BYTE(i), BYTE(i / 2), BYTE(255 - i), 0};
    for (int y = 0; y < 3; ++y)
        std::memset(FreeImage_GetScanLine(grey, y), 10 * y, 4); // top row index 20
    std::vector<unsigned short> dst(4 * 3 * 3);
    ASSERT_TRUE(CExposure::own_FreeImage_ConvertToRGB16(grey, dst.data(), true));
    // Palette entry 20: blue 20, green 10, red 235.
    EXPECT_EQ(dst[0], 235 << 8);
    EXPECT_EQ(dst[1], 10 << 8);
    EXPECT_EQ(dst[2], 20 << 8);
    EXPECT_TRUE(FreeImage_HasPixels(grey)); // input kept
    EXPECT_EQ(FreeImage_GetBPP(grey), 8u);
    FreeImage_Unload(grey);
}

TEST_F(ExposureTest, SixteenBitPackedPixelsAreReadAsTwoBytes)
{
    // 5-6-5: pure red in the top row, pure blue below.
    FIBITMAP* b = FreeImage_Allocate(3, 2, 16, FI16_565_RED_MASK, FI16_565_GREEN_MASK, FI16_565_BLUE_MASK);
    ASSERT_TRUE(b);
    auto* top = reinterpret_cast<uint16_t*>(FreeImage_GetScanLine(b, 1));
    auto* bottom = reinterpret_cast<uint16_t*>(FreeImage_GetScanLine(b, 0));
    for (int x = 0; x < 3; ++x) {
        top[x] = FI16_565_RED_MASK;
        bottom[x] = FI16_565_BLUE_MASK;
    }
    std::vector<unsigned short> dst(3 * 2 * 3 + 3, 0xABCD);
    ASSERT_TRUE(CExposure::own_FreeImage_ConvertToRGB16(b, dst.data(), false));
    EXPECT_GE(dst[0], 0xF700);
    EXPECT_EQ(dst[1], 0);
    EXPECT_EQ(dst[2], 0);
    EXPECT_EQ(dst[3 * 3 + 0], 0);
    EXPECT_GE(dst[3 * 3 + 2], 0xF700);
    EXPECT_EQ(dst[18], 0xABCD); // nothing past the image
    FreeImage_Unload(b);
}

TEST_F(ExposureTest, SixteenBitGreyGivesEqualChannels)
{
    auto e = exposureOf(typed<unsigned short>(FIT_UINT16, 3, 2, [](int x, int y) { return (unsigned short)(x * 1000 + y * 30000 + 7); }));
    ASSERT_TRUE(e);
    const unsigned short* p = px(*e, 2, 1);
    EXPECT_EQ(p[0], 32007);
    EXPECT_EQ(p[1], 32007);
    EXPECT_EQ(p[2], 32007);
}

TEST_F(ExposureTest, FloatImagesAreNormalised)
{
    // All 2.0: range 0.001, everything black.
    auto flat = exposureOf(typed<float>(FIT_FLOAT, 4, 4, [](int, int) { return 2.0f; }));
    ASSERT_TRUE(flat);
    for (size_t i = 0; i < 4 * 4 * 3; ++i)
        ASSERT_EQ(flat->m_pusBuffer[i], 0);
    EXPECT_EQ(MP_UI_GetLoadedIsHDRMode(), 1);

    // 0 .. 1 with gamma 2.2: 0.5 -> 0.5^(1/2.2) x 65535.
    auto ramp = exposureOf(typed<float>(FIT_FLOAT, 3, 1, [](int x, int) { return 0.5f * float(x); }));
    ASSERT_TRUE(ramp);
    EXPECT_EQ(px(*ramp, 0, 0)[0], 0);
    EXPECT_EQ(px(*ramp, 1, 0)[1], 47823);
    EXPECT_EQ(px(*ramp, 2, 0)[2], 65535);
}

TEST_F(ExposureTest, UnmeasurableFloatSamplesFollowTheSharedRule)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float values[5] = {-3.0f, nan, inf, 0.5f, 1.0f};
    for (FREE_IMAGE_TYPE type : {FIT_FLOAT, FIT_RGBF, FIT_RGBAF}) {
        SCOPED_TRACE(int(type));
        const int spp = type == FIT_FLOAT ? 1 : (type == FIT_RGBF ? 3 : 4);
        FIBITMAP* b = FreeImage_AllocateT(type, 5, 1);
        float* line = reinterpret_cast<float*>(FreeImage_GetScanLine(b, 0));
        for (int x = 0; x < 5; ++x)
            for (int c = 0; c < spp; ++c)
                line[x * spp + c] = values[x];
        std::vector<unsigned short> dst(5 * 3);
        for (bool engine : {true, false}) {
            ASSERT_TRUE(CExposure::own_FreeImage_ConvertToRGB16(b, dst.data(), engine));
            EXPECT_EQ(dst[0], 0);      // negative
            EXPECT_EQ(dst[3], 0);      // NaN
            EXPECT_EQ(dst[6], 65535);  // +Inf -> largest finite
            EXPECT_EQ(dst[12], 65535);
            EXPECT_GT(dst[9], 0);
            EXPECT_EQ(line[0], 0.0f); // written back
            EXPECT_EQ(line[spp], 0.0f);
            EXPECT_EQ(line[2 * spp], 1.0f);
        }
        FreeImage_Unload(b);
    }
}

TEST_F(ExposureTest, IntegerAndDoubleImagesLoadAsFloat)
{
    struct Case {
        FREE_IMAGE_TYPE type;
        const char* name;
    };
    for (Case c : {Case{FIT_INT16, "int16"}, Case{FIT_UINT32, "uint32"}, Case{FIT_INT32, "int32"},
                   Case{FIT_DOUBLE, "double"}}) {
        SCOPED_TRACE(c.name);
        FIBITMAP* b = FreeImage_AllocateT(c.type, 3, 1);
        for (int x = 0; x < 3; ++x) {
            BYTE* line = FreeImage_GetScanLine(b, 0);
            switch (c.type) {
            case FIT_INT16: reinterpret_cast<int16_t*>(line)[x] = int16_t(x * 100); break;
            case FIT_UINT32: reinterpret_cast<uint32_t*>(line)[x] = uint32_t(x * 100); break;
            case FIT_INT32: reinterpret_cast<int32_t*>(line)[x] = int32_t(x * 100); break;
            default: reinterpret_cast<double*>(line)[x] = double(x * 100); break;
            }
        }
        auto e = exposureOf(b);
        ASSERT_TRUE(e);
        EXPECT_EQ(px(*e, 0, 0)[0], 0);
        EXPECT_EQ(px(*e, 2, 0)[0], 65535);
        EXPECT_GT(px(*e, 1, 0)[0], 30000); // not black
    }
}

TEST_F(ExposureTest, ComplexImageFailsWithMessage)
{
    FIBITMAP* b = FreeImage_AllocateT(FIT_COMPLEX, 2, 2);
    auto e = std::make_unique<CExposure>();
    ASSERT_TRUE(e->Load("/photos/c.tif", b));
    EXPECT_FALSE(e->Prepare(b, -1.0f));
    EXPECT_TRUE(progress.HasMessage("c.tif: Datei konnte nicht geladen werden.", 1, 2));
}

TEST_F(ExposureTest, LoadWithoutBitmapReports)
{
    CExposure e;
    EXPECT_FALSE(e.Load("/somewhere/missing.jpg", nullptr));
    EXPECT_TRUE(progress.HasMessage("missing.jpg: Datei konnte nicht geladen werden.", 1, 2));
}

// ---- RAW brightness match ---------------------------------------------------------------

TEST_F(ExposureTest, RawMatchSkipsNonRawAndMissingPreview)
{
    auto e = exposureOf(rgb8(20, 20, [](int, int) { return 0x404040u; }));
    ASSERT_TRUE(e);
    const std::vector<unsigned short> before(e->m_pusBuffer, e->m_pusBuffer + 20 * 20 * 3);
    CKernelRecorder recorder(true);
    e->ReExposeRAWPrv(-1.0f);
    e->ReExposeRAWPrv(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(recorder.Runs().empty());
    EXPECT_EQ(std::vector<unsigned short>(e->m_pusBuffer, e->m_pusBuffer + before.size()), before);
}

TEST_F(ExposureTest, RawMatchBrightensADarkerDecode)
{
    // Luminance 0.25 everywhere; the preview says 0.5.
    auto e = exposureOf(rgb8(32, 32, [](int, int) { return 0x404040u; }));
    ASSERT_TRUE(e);
    const float before = e->m_fAvgLuminance;
    CKernelRecorder recorder(true);
    const int force = MP_UI_GetCalcForceMode();
    e->ReExposeRAWPrv(before + 0.25f);
    const auto runs = recorder.Runs();
    ASSERT_EQ(runs.size(), 2u); // preview, then full size
    EXPECT_EQ(runs[0].name, "MP_calcPixelReExposePicture");
    EXPECT_NEAR(runs[0].params.p[1][0], 0.8923f, 0.0005f);
    EXPECT_EQ(runs[0].params.p[0][0], 0.5f);
    EXPECT_EQ(e->m_fExposureValue, 0.5f);
    EXPECT_GT(e->m_fAvgLuminance, before);
    EXPECT_EQ(MP_UI_GetCalcForceMode(), force); // restored
    EXPECT_EQ(MP_UI_GetShowExexcuteKernelOutput(), 0);
}

// ---- Load-time corrections -------------------------------------------------------------------

namespace {

struct CorrectionCase {
    const char* name;
    std::function<void(SRawDevelopmentSettings&)> set;
    std::vector<std::string> kernels;
};

} // namespace

TEST_F(ExposureTest, CorrectionsRunTheKernelsTheSettingsAskFor)
{
    const std::vector<CorrectionCase> cases = {
        {"groups off", [](SRawDevelopmentSettings&) {}, {}},
        {"colour space 0", [](SRawDevelopmentSettings& r) { r.bColorSpaceGroup = true; r.iColorSpace = 0; }, {}},
        {"colour space 3",
         [](SRawDevelopmentSettings& r) { r.bColorSpaceGroup = true; r.iColorSpace = 3; },
         {"MP_calcPixelColorSpaceConversion"}},
        {"white balance", [](SRawDevelopmentSettings& r) { r.bWhiteBalanceGroup = true; },
         {"MP_calcPixelCombinedPrePass"}},
        {"hot pixels and denoise",
         [](SRawDevelopmentSettings& r) { r.bDenoiseGroup = true; r.bHotPixel = true; },
         {"MP_calcPixelDeNoiseMedian", "MP_calcPixelCombinedPrePass"}},
        {"denoise high",
         [](SRawDevelopmentSettings& r) { r.bDenoiseGroup = true; r.iDenoiseQuality = 2; },
         {"MP_calcPixelDeNoiseLumHD"}},
    };
    for (const CorrectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        settings.values.raw = SRawDevelopmentSettings();
        c.set(settings.values.raw);
        CKernelRecorder recorder;
        auto e = exposureOf(rgb8(40, 30, [](int x, int y) { return unsigned(x * 3 + y * 256 * 5); }));
        ASSERT_TRUE(e);
        EXPECT_EQ(recorder.Names(), c.kernels);
        EXPECT_EQ(MP_UI_GetPanoramaMode(), 0); // restored
        // The preview was made.
        bool any = false;
        for (size_t i = 0; i < e->PreviewPixelCount() * 3; ++i)
            any |= e->m_pusPreviewBuffer[i] != 0;
        EXPECT_TRUE(any);
    }
}

TEST_F(ExposureTest, ColourSpaceBlockCarriesTheTableRows)
{
    settings.values.raw.bColorSpaceGroup = true;
    settings.values.raw.iColorSpace = 3;
    CKernelRecorder recorder;
    auto e = exposureOf(rgb8(8, 8, [](int, int) { return 0x808080u; }));
    ASSERT_TRUE(e);
    const auto runs = recorder.Runs();
    ASSERT_EQ(runs.size(), 1u);
    const float row3[9] = {2.951537f, -1.289412f, -0.473844f, -1.085109f, 1.990857f,
                           0.037203f, 0.085493f,  -0.269496f, 1.091298f};
    const float srgb[9] = {0.412456f, 0.357576f, 0.180438f, 0.212673f, 0.715152f,
                           0.072175f, 0.019334f, 0.119192f, 0.950304f};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(runs[0].params.p[4][i], row3[i]);
        EXPECT_EQ(runs[0].params.p[3][i], srgb[i]);
    }
    EXPECT_EQ(runs[0].params.p[0][0], -1.0f);
    EXPECT_EQ(runs[0].params.p[2][0], 1.0f);
    EXPECT_EQ(runs[0].category, -1);
    EXPECT_EQ(runs[0].srcBpp, 6u);

    // An index outside the table counts as sRGB: no pass.
    settings.values.raw.iColorSpace = 16;
    recorder.Clear();
    ASSERT_TRUE(exposureOf(rgb8(8, 8, [](int, int) { return 0x808080u; })));
    EXPECT_TRUE(recorder.Names().empty());
}

TEST_F(ExposureTest, AlignmentLeavesThePreviewZero)
{
    settings.values.raw.bAlignGroup = true;
    settings.values.raw.bAlignShift = true;
    auto e = exposureOf(rgb8(30, 20, [](int, int) { return 0xFFFFFFu; }));
    ASSERT_TRUE(e);
    for (size_t i = 0; i < e->PreviewPixelCount() * 3; ++i)
        ASSERT_EQ(e->m_pusPreviewBuffer[i], 0);
    EXPECT_EQ(px(*e, 0, 0)[0], 65280);
}

TEST_F(ExposureTest, ProgressMessagesOfTheCorrections)
{
    settings.values.raw.bWhiteBalanceGroup = true;
    settings.values.raw.bOptimizeGroup = true;
    settings.values.raw.bOptimizeDarkColors = true;
    CKernelRecorder recorder;
    ASSERT_TRUE(exposureOf(rgb8(8, 8, [](int, int) { return 0x808080u; }), "/p/img.jpg"));
    EXPECT_TRUE(progress.HasMessage("img.jpg: dunkle Bereiche werden optimiert", 2, 0));
    EXPECT_TRUE(progress.HasMessage("img.jpg: Weißabgleich wird berechnet", 2, 0));
    const auto runs = recorder.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].params.p[1][0], 1.0f);
}

// ---- Re-exposure, synthetic, reload -------------------------------------------------------------

TEST_F(ExposureTest, SyntheticWithoutSourceOrPath)
{
    CExposure e;
    EXPECT_FALSE(e.Synthetic(nullptr, 0.3f));
    EXPECT_EQ(e.m_pusBuffer, nullptr);
    EXPECT_FALSE(e.m_bSynthetic);
}

TEST_F(ExposureTest, SyntheticFromMasterComputesOneBuffer)
{
    auto master = exposureOf(rgb8(20, 10, [](int, int) { return 0x808080u; }));
    ASSERT_TRUE(master);
    CExposure s;
    ASSERT_TRUE(s.Synthetic(master.get(), -1.0f));
    EXPECT_TRUE(s.m_bSynthetic);
    EXPECT_EQ(s.m_fExposureValue, 0.5f);
    EXPECT_EQ(s.m_uiWidth, 20u);
    EXPECT_NEAR(px(s, 3, 3)[0], px(*master, 3, 3)[0], 1); // 0.5 -> 0.5 keeps the image
    ASSERT_TRUE(s.Synthetic(master.get(), 0.8f));
    EXPECT_GT(px(s, 3, 3)[0], px(*master, 3, 3)[0]);
    EXPECT_FALSE(s.m_bSyntheticPreviewMode);
}

TEST_F(ExposureTest, ReloadOfAResizedFileKeepsTheOldImage)
{
    const QString file = path("r.png");
    ASSERT_TRUE(save(rgb8(600, 520, [](int, int) { return 0x203040u; }), FIF_PNG, file));
    FIBITMAP* first = FreeImage_Load(FIF_PNG, QFile::encodeName(file).constData(), 0);
    auto e = exposureOf(first, file);
    ASSERT_TRUE(e);
    e->m_psMWeightBuffer[0] = 42;

    // Same size: reloads, manual map kept.
    ASSERT_TRUE(save(rgb8(600, 520, [](int, int) { return 0x102030u; }), FIF_PNG, file));
    EXPECT_TRUE(e->Reload());
    EXPECT_EQ(px(*e, 0, 0)[0], 0x1000);
    EXPECT_EQ(e->m_psMWeightBuffer[0], 42);

    ASSERT_TRUE(save(rgb8(640, 520, [](int, int) { return 0xFFFFFFu; }), FIF_PNG, file));
    progress.Clear();
    EXPECT_FALSE(e->Reload());
    EXPECT_TRUE(progress.HasMessage("r.png: Die neu geladene Bilddatei hat nicht die passene Auflösung", 1, 2));
    EXPECT_EQ(e->m_uiWidth, 600u);
    EXPECT_EQ(px(*e, 0, 0)[0], 0x1000);

    QFile::remove(file);
    progress.Clear();
    EXPECT_FALSE(e->Reload());
    EXPECT_TRUE(progress.HasMessage("r.png: Die Bilddatei konnte nicht neu geladen werden", 1, 2));
}

// ---- Rescaling -----------------------------------------------------------------------------------

TEST_F(ExposureTest, RescaleKeepsBoundsAndMapsTheMethod)
{
    struct Case {
        int w, h;
        double percent;
        int ew, eh;
    };
    for (Case c : {Case{300, 200, 100, 750, 500}, Case{4000, 3000, 25, 2000, 1500}, Case{1000, 800, 100, 1000, 800},
                   Case{2000, 1000, 50, 1400, 700}}) {
        SCOPED_TRACE(c.w);
        FIBITMAP* b = FreeImage_Allocate(c.w, c.h, 24);
        FITAG* tag = FreeImage_CreateTag();
        FreeImage_SetTagKey(tag, "Comment");
        FreeImage_SetTagType(tag, FIDT_ASCII);
        FreeImage_SetTagLength(tag, 3);
        FreeImage_SetTagCount(tag, 3);
        FreeImage_SetTagValue(tag, "hi");
        FreeImage_SetMetadata(FIMD_COMMENTS, b, "Comment", tag);
        FreeImage_DeleteTag(tag);
        FIBITMAP* r = RescaleFreeImage(b, -1.0f, c.percent, 1);
        ASSERT_TRUE(r);
        EXPECT_EQ(int(FreeImage_GetWidth(r)), c.ew);
        EXPECT_EQ(int(FreeImage_GetHeight(r)), c.eh);
        EXPECT_EQ(FreeImage_GetMetadataCount(FIMD_COMMENTS, r), 1u);
        FreeImage_Unload(r);
    }
    EXPECT_EQ(RescaleFreeImage(nullptr, -1.0f, 100, 4), nullptr);
    EXPECT_EQ(RescaleFilterOfMethod(9), FILTER_BILINEAR);
    EXPECT_EQ(RescaleFilterOfMethod(4), FILTER_CATMULLROM);
    EXPECT_EQ(RescaleFilterOfMethod(0), FILTER_BOX);
    EXPECT_EQ(RescaleFilterOfMethod(5), FILTER_LANCZOS3);

    // The settings seam gives the percent.
    settings.values.raw.dScalePercent = 25;
    FIBITMAP* big = FreeImage_Allocate(4000, 3000, 24);
    FIBITMAP* r = RescaleFreeImage(big, -1.0f);
    EXPECT_EQ(FreeImage_GetWidth(r), 2000u);
    FreeImage_Unload(r);
}

namespace {

int g_prePassRuns = 0;
float g_prePassDenoise = 0.0f;

int markingPrePass(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    ++g_prePassRuns;
    g_prePassDenoise = params->p[0][0];
    for (size_t i = 0; i < size_t(sizex) * sizey * 3; ++i)
        dst[i] = 1234;
    return 0;
}

const MP_DriverEntry kPrePass[] = {{"MP_calcPixelCombinedPrePass", markingPrePass}};
const MP_DriverTable kPrePassTable = MP_driverTable(kPrePass);

} // namespace

TEST_F(ExposureTest, PrePassRunsThroughTheDispatcherOnTheFullBuffer)
{
    settings.values.raw.bDenoiseGroup = true; // quality normal: folded into the pre-pass
    settings.values.raw.bDenoiseDarkImages = false;
    g_prePassRuns = 0;
    const MP_DriverTable* previous = MP_SetTestDriverTable(&kPrePassTable);
    auto e = exposureOf(rgb8(30, 20, [](int, int) { return 0x808080u; }));
    MP_SetTestDriverTable(previous);
    ASSERT_TRUE(e);
    EXPECT_EQ(g_prePassRuns, 1);
    EXPECT_FLOAT_EQ(g_prePassDenoise, std::pow(24.0f / 99.0f, 0.5f));
    EXPECT_EQ(px(*e, 29, 19)[2], 1234);
    EXPECT_EQ(e->m_pusPreviewBuffer[0], 1234); // the preview is made after the pass
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 0);
}
