// Conversion of a loaded image into an exposure: the bitmap copy into the
// 16-bit working buffer, the brightness match of a RAW decode to its embedded
// preview, the load-time corrections, re-exposure, synthetic exposures and
// reloading.

#include "document/exposure.h"

#include "document/documentseams.h"
#include "document/rescale.h"
#include "document/imageloader.h"
#include "document/kernelrunner.h"
#include "engine/MP_calc.h"
#include "engine/series/estimators.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <type_traits>
#include <vector>

const float ColorSpacesRGBXYZ[16][9] = {
    {0.412456f, 0.357576f, 0.180438f, 0.212673f, 0.715152f, 0.072175f, 0.019334f, 0.119192f, 0.950304f},
};

const float ColorSpacesXYZRGB[16][9] = {
    {3.240454f, -1.537138f, -0.498531f, -0.969266f, 1.876011f, 0.041556f, 0.055643f, -0.204026f, 1.057225f},
    {2.041369f, -0.564946f, -0.344694f, -0.969266f, 1.876011f, 0.041556f, 0.013447f, -0.118390f, 1.015410f},
    {1.345943f, -0.255607f, -0.051112f, -0.544599f, 1.508167f, 0.020535f, 0.000000f, 0.000000f, 1.211813f},
    {2.951537f, -1.289412f, -0.473844f, -1.085109f, 1.990857f, 0.037203f, 0.085493f, -0.269496f, 1.091298f},
    {1.755260f, -0.483679f, -0.253000f, -0.544134f, 1.506879f, 0.021553f, 0.006347f, -0.017576f, 1.225696f},
    {1.683227f, -0.428236f, -0.236018f, -0.771023f, 1.706557f, 0.044690f, 0.040001f, -0.088538f, 1.272364f},
    {2.745467f, -1.135814f, -0.435027f, -0.969266f, 1.876011f, 0.041556f, 0.011272f, -0.113975f, 1.013254f},
    {2.370674f, -0.900041f, -0.470634f, -0.513885f, 1.425304f, 0.088581f, 0.005298f, -0.014695f, 1.009397f},
    {2.642287f, -1.223427f, -0.393014f, -1.111976f, 2.059018f, 0.015961f, 0.082170f, -0.280725f, 1.455988f},
    {1.760390f, -0.488120f, -0.253613f, -0.712629f, 1.652743f, 0.041671f, 0.007821f, -0.034741f, 1.244774f},
    {1.782762f, -0.496985f, -0.269010f, -0.959362f, 1.947796f, -0.027581f, 0.085932f, -0.174467f, 1.322827f},
    {2.004382f, -0.730484f, -0.245005f, -0.711029f, 1.620213f, 0.079223f, 0.038126f, -0.086878f, 1.272544f},
    {1.909996f, -0.532454f, -0.288209f, -0.984666f, 1.999171f, -0.028308f, 0.058306f, -0.118378f, 0.897554f},
    {3.062897f, -1.393179f, -0.475752f, -0.969266f, 1.876011f, 0.041556f, 0.067878f, -0.228855f, 1.069349f},
    {3.505396f, -1.739489f, -0.543964f, -1.069072f, 1.977824f, 0.035172f, 0.056320f, -0.197023f, 1.050203f},
    {1.462807f, -0.184062f, -0.274361f, -0.521793f, 1.447238f, 0.067723f, 0.034934f, -0.096893f, 1.288410f},
};

namespace {

// ---- Engine settings switched for one operation, restored on every path ----

class PanoramaScope {
public:
    PanoramaScope() : m_saved(MP_UI_GetPanoramaMode()) { MP_UI_SetPanoramaMode(1); }
    ~PanoramaScope() { MP_UI_SetPanoramaMode(m_saved); }

private:
    int m_saved;
};

// Forced processor method and no per-kernel timing log.
class QuietCpuScope {
public:
    QuietCpuScope() : m_force(MP_UI_GetCalcForceMode()), m_log(MP_UI_GetShowExexcuteKernelOutput())
    {
        MP_UI_SetCalcForceMode(1);
        MP_UI_SetShowExexcuteKernelOutput(0);
    }
    ~QuietCpuScope()
    {
        MP_UI_SetCalcForceMode(m_force);
        MP_UI_SetShowExexcuteKernelOutput(m_log);
    }

private:
    int m_force;
    int m_log;
};

// ---- Parameter blocks -------------------------------------------------------

// Zeroed block with the standard header.
void standardHeader(MP_Params& p, int loopstep)
{
    std::memset(&p, 0, sizeof(p));
    p.loopstep = loopstep;
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.kernel_exponent = MP_UI_GetKernelExponent();
    p.previewscalingfactor = 1.0f;
}

// Six knots (x, y) letting every luminance through.
void flatMaskCurve(float* set)
{
    static const float knots[12] = {0.0f, 1.0f, 0.2f, 1.0f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 1.0f, 1.0f, 1.0f};
    std::memcpy(set, knots, sizeof(knots));
}

void neutralBlend(float* set)
{
    set[0] = 0.0f;
    set[1] = 100.0f;
}

// Gradation knots: x = 0, 0.2 .. 1.0 with the given y values.
void gradationKnots(float* set, const float (&y)[6])
{
    for (int i = 0; i < 6; ++i) {
        set[2 * i] = 0.2f * float(i);
        set[2 * i + 1] = y[i];
    }
}

float clampf(float v, float lo, float hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// ---- Bitmap copies -----------------------------------------------------------

inline unsigned short* destinationRow(unsigned short* dst, unsigned width, unsigned height, unsigned y)
{
    return dst + size_t(height - 1 - y) * width * 3;
}

// 24- or 32-bit standard bitmap on the calling thread.
void copyBitmap8(FIBITMAP* bitmap, unsigned short* dst)
{
    const unsigned w = FreeImage_GetWidth(bitmap);
    const unsigned h = FreeImage_GetHeight(bitmap);
    const unsigned bpp = FreeImage_GetLine(bitmap) / w;
    for (unsigned y = 0; y < h; ++y) {
        const BYTE* src = FreeImage_GetScanLine(bitmap, int(y));
        unsigned short* d = destinationRow(dst, w, h, y);
        for (unsigned x = 0; x < w; ++x, src += bpp, d += 3) {
            d[0] = (unsigned short)(src[2] << 8);
            d[1] = (unsigned short)(src[1] << 8);
            d[2] = (unsigned short)(src[0] << 8);
        }
    }
}

// Float samples (samplesPerPixel floats a pixel; the first `channels` used),
// normalised by the shared float rule; grey (channels 1) goes to R, G and B.
void copyFloatNormalised(FIBITMAP* bitmap, unsigned short* dst, int samplesPerPixel, int channels)
{
    const unsigned w = FreeImage_GetWidth(bitmap);
    const unsigned h = FreeImage_GetHeight(bitmap);
    const size_t pitch = FreeImage_GetPitch(bitmap);
    float minimum = 0.0f, maximum = 0.0f;
    MP_sanitiseFloatSamples(FreeImage_GetBits(bitmap), int(w), int(h), pitch, samplesPerPixel, channels, &minimum,
                            &maximum);
    const MP_FloatStretch stretch = MP_floatStretch(minimum, maximum);
    for (unsigned y = 0; y < h; ++y) {
        const float* src = reinterpret_cast<const float*>(FreeImage_GetScanLine(bitmap, int(y)));
        unsigned short* d = destinationRow(dst, w, h, y);
        for (unsigned x = 0; x < w; ++x, src += samplesPerPixel, d += 3) {
            if (channels == 1) {
                const unsigned short v = MP_quantiseFloatSample(src[0], stretch);
                d[0] = d[1] = d[2] = v;
            } else {
                d[0] = MP_quantiseFloatSample(src[0], stretch);
                d[1] = MP_quantiseFloatSample(src[1], stretch);
                d[2] = MP_quantiseFloatSample(src[2], stretch);
            }
        }
    }
}

// The own RGBF path: per channel v^(1 / HDR gamma) x 65535, after the float
// rule has made every sample finite and non-negative.
void copyRGBFGamma(FIBITMAP* bitmap, unsigned short* dst)
{
    const unsigned w = FreeImage_GetWidth(bitmap);
    const unsigned h = FreeImage_GetHeight(bitmap);
    float minimum = 0.0f, maximum = 0.0f;
    MP_sanitiseFloatSamples(FreeImage_GetBits(bitmap), int(w), int(h), FreeImage_GetPitch(bitmap), 3, 3, &minimum,
                            &maximum);
    const float exponent = 1.0f / MP_UI_GetHDRGammaValue();
    for (unsigned y = 0; y < h; ++y) {
        const float* src = reinterpret_cast<const float*>(FreeImage_GetScanLine(bitmap, int(y)));
        unsigned short* d = destinationRow(dst, w, h, y);
        for (unsigned k = 0; k < w * 3; ++k) {
            const float q = std::pow(src[k], exponent) * 65535.0f;
            d[k] = q > 65535.0f ? 65535 : (q >= 0.0f ? (unsigned short)q : 0);
        }
    }
}

// A double bitmap as a float bitmap of the same size (FreeImage cannot
// convert it); null when memory runs out.
FIBITMAP* doubleToFloat(FIBITMAP* bitmap)
{
    const unsigned w = FreeImage_GetWidth(bitmap);
    const unsigned h = FreeImage_GetHeight(bitmap);
    FIBITMAP* f = FreeImage_AllocateT(FIT_FLOAT, int(w), int(h));
    if (!f)
        return nullptr;
    for (unsigned y = 0; y < h; ++y) {
        const double* src = reinterpret_cast<const double*>(FreeImage_GetScanLine(bitmap, int(y)));
        float* d = reinterpret_cast<float*>(FreeImage_GetScanLine(f, int(y)));
        for (unsigned x = 0; x < w; ++x)
            d[x] = float(src[x]);
    }
    return f;
}

// ---- Banded copies (engine flag) ------------------------------------------------
// The same results as the plain loops above, split over the engine's threads
// in row bands: one task per engine thread, word 0 of a task its band number.

struct BandCopy {
    FIBITMAP* bitmap = nullptr;
    unsigned width = 0;
    unsigned height = 0;
    unsigned short* dst = nullptr;
    const RGBQUAD* palette = nullptr;
    // Float samples: floats a pixel, channels measured and written.
    int samplesPerPixel = 1;
    int channels = 1;
    MP_FloatStretch stretch{};
    // The largest finite sample: what +Inf stands for.
    float largest = 0.0f;
    // Per band: smallest and largest finite sample, whether +Inf was seen.
    std::vector<float> minimum;
    std::vector<float> maximum;
    std::vector<unsigned char> infinite;
};

void runBands(MP_TaskFunc fn, BandCopy& a)
{
    const int bands = MP_UI_GetIdealThreadCount();
    a.minimum.assign(size_t(bands > 0 ? bands : 1), 1e8f);
    a.maximum.assign(a.minimum.size(), 0.0f);
    a.infinite.assign(a.minimum.size(), 0);
    TaskFuncParams t = MP_makeTask(nullptr, &a);
    uint64_t band = 0;
    MP_forEachSingleBand(int(a.height), bands, [&](int start, int end) {
        t.w[0] = band++;
        MP_setTaskRange(t, start, end);
        C_AddTask(fn, t);
    });
    C_WaitTasks();
}

inline BandCopy& bandArgs(const TaskFuncParams& p)
{
    return *MP_taskArgs<BandCopy>(p);
}

// 1-, 4- and 8-bit palette bitmaps: each index through the palette, as a
// 24-bit copy by FreeImage would give it.
template <unsigned kBpp> void taskPalette(TaskFuncParams p)
{
    const BandCopy& a = bandArgs(p);
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const BYTE* src = FreeImage_GetScanLine(a.bitmap, i);
        unsigned short* d = destinationRow(a.dst, a.width, a.height, unsigned(i));
        for (unsigned x = 0; x < a.width; ++x, d += 3) {
            unsigned index;
            if (kBpp == 8)
                index = src[x];
            else if (kBpp == 4)
                index = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
            else
                index = (src[x >> 3] & (0x80 >> (x & 7))) ? 1 : 0;
            const RGBQUAD& c = a.palette[index];
            d[0] = (unsigned short)(c.rgbRed << 8);
            d[1] = (unsigned short)(c.rgbGreen << 8);
            d[2] = (unsigned short)(c.rgbBlue << 8);
        }
    }
}

// 16-bit 5-6-5 or 5-5-5 pixels, each field widened to 8 bits as FreeImage's
// 24-bit conversion does, then shifted to 16 bits.
template <bool k565> void taskPacked16(TaskFuncParams p)
{
    const BandCopy& a = bandArgs(p);
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const WORD* src = reinterpret_cast<const WORD*>(FreeImage_GetScanLine(a.bitmap, i));
        unsigned short* d = destinationRow(a.dst, a.width, a.height, unsigned(i));
        for (unsigned x = 0; x < a.width; ++x, d += 3) {
            const unsigned v = src[x];
            unsigned r, g, b;
            if (k565) {
                r = (((v & FI16_565_RED_MASK) >> FI16_565_RED_SHIFT) * 0xFF) / 0x1F;
                g = (((v & FI16_565_GREEN_MASK) >> FI16_565_GREEN_SHIFT) * 0xFF) / 0x3F;
                b = (((v & FI16_565_BLUE_MASK) >> FI16_565_BLUE_SHIFT) * 0xFF) / 0x1F;
            } else {
                r = (((v & FI16_555_RED_MASK) >> FI16_555_RED_SHIFT) * 0xFF) / 0x1F;
                g = (((v & FI16_555_GREEN_MASK) >> FI16_555_GREEN_SHIFT) * 0xFF) / 0x1F;
                b = (((v & FI16_555_BLUE_MASK) >> FI16_555_BLUE_SHIFT) * 0xFF) / 0x1F;
            }
            d[0] = (unsigned short)(r << 8);
            d[1] = (unsigned short)(g << 8);
            d[2] = (unsigned short)(b << 8);
        }
    }
}

void taskGrey16(TaskFuncParams p)
{
    const BandCopy& a = bandArgs(p);
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const unsigned short* src = reinterpret_cast<const unsigned short*>(FreeImage_GetScanLine(a.bitmap, i));
        unsigned short* d = destinationRow(a.dst, a.width, a.height, unsigned(i));
        for (unsigned x = 0; x < a.width; ++x, d += 3)
            d[0] = d[1] = d[2] = src[x];
    }
}

void taskRGBA16(TaskFuncParams p)
{
    const BandCopy& a = bandArgs(p);
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const FIRGBA16* src = reinterpret_cast<const FIRGBA16*>(FreeImage_GetScanLine(a.bitmap, i));
        unsigned short* d = destinationRow(a.dst, a.width, a.height, unsigned(i));
        for (unsigned x = 0; x < a.width; ++x, d += 3) {
            d[0] = src[x].red;
            d[1] = src[x].green;
            d[2] = src[x].blue;
        }
    }
}

// A sample of an integer or double image as the float FreeImage's conversion
// to a float image would hold.
template <typename T> inline float floatOf(T v)
{
    return float(v);
}

// The shared float rule, measured in bands: negative and NaN samples become
// 0 (written back into float bitmaps, as the serial rule does), +Inf is
// noted and left for the second pass; min and max of the finite samples per
// band. Integer and double samples are measured as floats without a copy.
template <typename T, bool kWriteBack> void taskMeasure(TaskFuncParams p)
{
    BandCopy& a = bandArgs(p);
    const size_t band = size_t(p.w[0]);
    float minimum = 1e8f, maximum = 0.0f;
    bool infinite = false;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        T* line = reinterpret_cast<T*>(FreeImage_GetScanLine(a.bitmap, i));
        for (unsigned x = 0; x < a.width; ++x) {
            T* px = line + size_t(x) * a.samplesPerPixel;
            for (int c = 0; c < a.channels; ++c) {
                float v = floatOf(px[c]);
                if (!(v >= 0.0f)) {
                    v = 0.0f;
                    if (kWriteBack)
                        px[c] = T(0);
                } else if (v == INFINITY) {
                    infinite = true;
                    continue;
                }
                if (v < minimum)
                    minimum = v;
                if (v > maximum)
                    maximum = v;
            }
        }
    }
    if (band < a.minimum.size()) {
        a.minimum[band] = minimum;
        a.maximum[band] = maximum;
        a.infinite[band] = infinite;
    }
}

// +Inf becomes the largest finite sample (float bitmaps, in place).
void taskReplaceInfinite(TaskFuncParams p)
{
    const BandCopy& a = bandArgs(p);
    const float maximum = a.largest;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        float* line = reinterpret_cast<float*>(FreeImage_GetScanLine(a.bitmap, i));
        for (unsigned x = 0; x < a.width; ++x) {
            float* px = line + size_t(x) * a.samplesPerPixel;
            for (int c = 0; c < a.channels; ++c)
                if (px[c] == INFINITY)
                    px[c] = maximum;
        }
    }
}

// Quantises the measured samples; grey goes to R, G and B. Samples of
// integer and double images get the rule's replacements here (negative and
// NaN 0, +Inf the largest finite sample); float bitmaps hold them already.
// The arithmetic is MP_quantiseFloatSample's, written out so that the loop
// makes no call but the power.
template <typename T> void taskQuantise(TaskFuncParams p)
{
    constexpr bool kFloat = std::is_same<T, float>::value;
    const BandCopy& a = bandArgs(p);
    const float minimum = a.stretch.minimum;
    const float range = a.stretch.maximum - a.stretch.minimum;
    const float exponent = a.stretch.exponent;
    const float largest = a.largest;
    const int channels = a.channels;
    const int step = a.samplesPerPixel;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const T* src = reinterpret_cast<const T*>(FreeImage_GetScanLine(a.bitmap, i));
        unsigned short* d = destinationRow(a.dst, a.width, a.height, unsigned(i));
        for (unsigned x = 0; x < a.width; ++x, src += step, d += 3) {
            for (int c = 0; c < channels; ++c) {
                float v = floatOf(src[c]);
                if (!kFloat) {
                    if (!(v >= 0.0f))
                        v = 0.0f;
                    else if (v == INFINITY)
                        v = largest;
                }
                const float q = std::pow((v - minimum) / range, exponent) * 65535.0f;
                d[c] = q > 65535.0f ? 65535 : (q >= 0.0f ? (unsigned short)q : 0);
            }
            if (channels == 1)
                d[1] = d[2] = d[0];
        }
    }
}

// The float rule over a bitmap of T samples, in bands.
template <typename T> void convertFloatBands(FIBITMAP* bitmap, unsigned short* dst, int samplesPerPixel, int channels)
{
    constexpr bool kFloat = std::is_same<T, float>::value;
    BandCopy a;
    a.bitmap = bitmap;
    a.width = FreeImage_GetWidth(bitmap);
    a.height = FreeImage_GetHeight(bitmap);
    a.dst = dst;
    a.samplesPerPixel = samplesPerPixel;
    a.channels = channels;
    runBands(taskMeasure<T, kFloat>, a);
    float minimum = 1e8f, maximum = 0.0f;
    bool infinite = false;
    for (size_t b = 0; b < a.minimum.size(); ++b) {
        minimum = std::min(minimum, a.minimum[b]);
        maximum = std::max(maximum, a.maximum[b]);
        infinite = infinite || a.infinite[b];
    }
    a.largest = maximum;
    if (infinite) {
        if (kFloat)
            runBands(taskReplaceInfinite, a);
        if (maximum < minimum)
            minimum = maximum;
    }
    a.stretch = MP_floatStretch(minimum, maximum);
    runBands(taskQuantise<T>, a);
}

// The banded conversion of the engine flag; false when the type has none.
bool convertInBands(FIBITMAP* bitmap, unsigned short* dst)
{
    BandCopy a;
    a.bitmap = bitmap;
    a.width = FreeImage_GetWidth(bitmap);
    a.height = FreeImage_GetHeight(bitmap);
    a.dst = dst;
    switch (FreeImage_GetImageType(bitmap)) {
    case FIT_BITMAP: {
        MP_UI_SetLoadedIsHDRMode(0);
        const FREE_IMAGE_COLOR_TYPE ct = FreeImage_GetColorType(bitmap);
        const unsigned bpp = FreeImage_GetBPP(bitmap);
        if ((ct == FIC_RGB || ct == FIC_RGBALPHA) && (bpp == 24 || bpp == 32)) {
            MP_own_FreeImage_frombitmap(int(a.width), int(a.height), bitmap, int(FreeImage_GetPitch(bitmap)), dst);
            return true;
        }
        a.palette = FreeImage_GetPalette(bitmap);
        if ((bpp == 1 || bpp == 4 || bpp == 8) && a.palette) {
            runBands(bpp == 8 ? taskPalette<8> : bpp == 4 ? taskPalette<4> : taskPalette<1>, a);
            return true;
        }
        if (bpp == 16) {
            const bool is565 = FreeImage_GetRedMask(bitmap) == FI16_565_RED_MASK &&
                               FreeImage_GetGreenMask(bitmap) == FI16_565_GREEN_MASK &&
                               FreeImage_GetBlueMask(bitmap) == FI16_565_BLUE_MASK;
            runBands(is565 ? taskPacked16<true> : taskPacked16<false>, a);
            return true;
        }
        // Anything else (CMYK) through FreeImage's 24-bit copy.
        FIBITMAP* copy = FreeImage_ConvertTo24Bits(bitmap);
        if (!copy)
            return false;
        MP_own_FreeImage_frombitmap(int(a.width), int(a.height), copy, int(FreeImage_GetPitch(copy)), dst);
        FreeImage_Unload(copy);
        return true;
    }
    case FIT_UINT16:
        MP_UI_SetLoadedIsHDRMode(0);
        runBands(taskGrey16, a);
        return true;
    case FIT_RGB16:
        MP_UI_SetLoadedIsHDRMode(0);
        MP_own_FreeImage_fromrgb16(int(a.width), int(a.height), bitmap, int(FreeImage_GetPitch(bitmap)), dst);
        return true;
    case FIT_RGBA16:
        MP_UI_SetLoadedIsHDRMode(0);
        runBands(taskRGBA16, a);
        return true;
    case FIT_FLOAT:
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<float>(bitmap, dst, 1, 1);
        return true;
    case FIT_RGBF: // the engine's normalised RGB float copy, measured in bands
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<float>(bitmap, dst, 3, 3);
        return true;
    case FIT_RGBAF:
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<float>(bitmap, dst, 4, 3);
        return true;
    case FIT_INT16:
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<short>(bitmap, dst, 1, 1);
        return true;
    case FIT_UINT32:
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<DWORD>(bitmap, dst, 1, 1);
        return true;
    case FIT_INT32:
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<LONG>(bitmap, dst, 1, 1);
        return true;
    case FIT_DOUBLE:
        MP_UI_SetLoadedIsHDRMode(1);
        convertFloatBands<double>(bitmap, dst, 1, 1);
        return true;
    default: // FIT_UNKNOWN, FIT_COMPLEX
        return false;
    }
}

} // namespace

bool CExposure::own_FreeImage_ConvertToRGB16(FIBITMAP* bitmap, unsigned short* dst, bool engine)
{
    if (!bitmap || !dst || !FreeImage_HasPixels(bitmap))
        return false;
    const unsigned w = FreeImage_GetWidth(bitmap);
    const unsigned h = FreeImage_GetHeight(bitmap);
    if (w == 0 || h == 0)
        return false;
    if (engine)
        return convertInBands(bitmap, dst);

    // The loader threads' own loops, without the engine.
    switch (FreeImage_GetImageType(bitmap)) {
    case FIT_BITMAP: {
        const FREE_IMAGE_COLOR_TYPE ct = FreeImage_GetColorType(bitmap);
        const unsigned bpp = FreeImage_GetBPP(bitmap);
        // 16-bit 5-5-5 / 5-6-5 bitmaps report RGB at two bytes a pixel: they
        // go through a 24-bit copy like palette and grey bitmaps.
        const bool direct = (ct == FIC_RGB || ct == FIC_RGBALPHA) && (bpp == 24 || bpp == 32);
        FIBITMAP* source = direct ? bitmap : FreeImage_ConvertTo24Bits(bitmap);
        if (!source)
            return false;
        copyBitmap8(source, dst);
        if (source != bitmap)
            FreeImage_Unload(source);
        return true;
    }
    case FIT_UINT16:
        for (unsigned y = 0; y < h; ++y) {
            const unsigned short* src = reinterpret_cast<const unsigned short*>(FreeImage_GetScanLine(bitmap, int(y)));
            unsigned short* d = destinationRow(dst, w, h, y);
            for (unsigned x = 0; x < w; ++x, d += 3)
                d[0] = d[1] = d[2] = src[x];
        }
        return true;
    case FIT_RGB16:
        for (unsigned y = 0; y < h; ++y)
            std::memcpy(destinationRow(dst, w, h, y), FreeImage_GetScanLine(bitmap, int(y)), size_t(w) * 6);
        return true;
    case FIT_RGBA16:
        for (unsigned y = 0; y < h; ++y) {
            const FIRGBA16* src = reinterpret_cast<const FIRGBA16*>(FreeImage_GetScanLine(bitmap, int(y)));
            unsigned short* d = destinationRow(dst, w, h, y);
            for (unsigned x = 0; x < w; ++x, d += 3) {
                d[0] = src[x].red;
                d[1] = src[x].green;
                d[2] = src[x].blue;
            }
        }
        return true;
    case FIT_FLOAT:
        copyFloatNormalised(bitmap, dst, 1, 1);
        return true;
    case FIT_RGBF:
        copyRGBFGamma(bitmap, dst);
        return true;
    case FIT_RGBAF:
        copyFloatNormalised(bitmap, dst, 4, 3);
        return true;
    case FIT_INT16:
    case FIT_UINT32:
    case FIT_INT32:
    case FIT_DOUBLE: {
        // Integer and double samples are read as float images.
        FIBITMAP* f = FreeImage_GetImageType(bitmap) == FIT_DOUBLE ? doubleToFloat(bitmap)
                                                                    : FreeImage_ConvertToType(bitmap, FIT_FLOAT);
        if (!f)
            return false;
        copyFloatNormalised(f, dst, 1, 1);
        FreeImage_Unload(f);
        return true;
    }
    default: // FIT_UNKNOWN, FIT_COMPLEX
        return false;
    }
}

bool CExposure::Load(const QString& path, FIBITMAP* bitmap)
{
    if (!bitmap) {
        CDocumentProgress::AddMessage(
            1, ExtractFileName(path) + ": " + QCoreApplication::translate("IExposure", "Datei konnte nicht geladen werden."), 2);
        return false;
    }
    SetFilePath(path);
    m_uiWidth = FreeImage_GetWidth(bitmap);
    m_uiHeight = FreeImage_GetHeight(bitmap);
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolution(&pw, &ph, nullptr, float(m_uiWidth), float(m_uiHeight), MP_UI_GetPreviewSize());
    m_uiPreviewWidth = unsigned(pw);
    m_uiPreviewHeight = unsigned(ph);
    return true;
}

bool CExposure::Prepare(FIBITMAP* bitmap, float previewLuminance)
{
    if (!CreateBuffer()) {
        if (bitmap)
            FreeImage_Unload(bitmap);
        return false;
    }
    if (!ConvertToExposure(bitmap, previewLuminance))
        return false;
    CEngineGuard guard;
    m_fAvgLuminance = MP_UI_GetAverageLuminance(m_pusBuffer, float(m_uiWidth), float(m_uiHeight));
    return true;
}

bool CExposure::ConvertToExposure(FIBITMAP*& bitmap, float previewLuminance)
{
    CEngineGuard guard; // the whole conversion is one engine operation
    const SRawDevelopmentSettings raw = CDocumentSettings::RawDevelopment();

    FreeImageAndAutomaticMaps();
    if (!CreateBuffer()) {
        if (bitmap)
            FreeImage_Unload(bitmap);
        bitmap = nullptr;
        return false;
    }

    MP_UI_SetTime();
    const bool converted = own_FreeImage_ConvertToRGB16(bitmap, m_pusBuffer, true);
    std::printf("%11.4f ms own_FreeImage_ConvertToRGB16\n", MP_UI_GetTimeDifference());
    if (bitmap)
        FreeImage_Unload(bitmap);
    bitmap = nullptr;
    if (!converted) {
        // An image type without a conversion would come out black.
        PostMessage(1, QCoreApplication::translate("IExposure", "Datei konnte nicht geladen werden."), 2);
        return false;
    }

    ReExposeRAWPrv(previewLuminance);
    return ApplyCorrectionsAndPreview(raw);
}

bool CExposure::ApplyCorrectionsAndPreview(const SRawDevelopmentSettings& raw)
{
    const unsigned w = m_uiWidth;
    const unsigned h = m_uiHeight;
    const float slider = raw.fDenoiseSharpness;

    // High-quality luminance denoising.
    if (raw.bDenoiseGroup && raw.iDenoiseQuality > 0) {
        MP_Params p;
        standardHeader(p, 1);
        const float sigma = MP_UI_CalcOptimizeDeNoiseValue(int(w), int(h), m_pusBuffer, 2);
        float s;
        if (raw.bDenoiseDarkImages) {
            const float L = MP_UI_GetAverageLuminance(m_pusBuffer, float(w), float(h));
            s = clampf(std::pow(slider, (1.0f - L) * -0.04f + 0.12f) * std::pow(sigma, 0.5f), 0.0f, 1.0f);
        } else {
            s = clampf(std::pow(slider, 0.1f) * std::pow(sigma, 0.5f), 0.0f, 1.0f);
        }
        std::cout << "DeNoiseLumHD -> sigma: " << sigma << " -> " << s << std::endl;
        p.p[0][0] = s;
        p.p[1][0] = raw.iDenoiseQuality == 2 ? 0.667f : 0.334f;
        flatMaskCurve(p.p[2]);
        neutralBlend(p.p[3]);
        CKernelRunner::RunRGB16("MP_calcPixelDeNoiseLumHD", w, h, m_pusBuffer, &p);
    }

    MP_Params p;
    standardHeader(p, 1);
    int mask = 0;

    if (raw.bDenoiseGroup && raw.bHotPixel) {
        PanoramaScope panorama;
        PostMessage(2, QCoreApplication::translate("IExposure", "Hotpixel werden entfernt"), 0);
        p.p[0][0] = 1.0f;
        flatMaskCurve(p.p[1]);
        neutralBlend(p.p[2]);
        CKernelRunner::RunRGB16("MP_calcPixelDeNoiseMedian", w, h, m_pusBuffer, &p);
    }

    p.p[1][0] = 0.0f;
    if (raw.bOptimizeGroup && raw.bOptimizeDarkColors) {
        PostMessage(2, QCoreApplication::translate("IExposure", "dunkle Bereiche werden optimiert"), 0);
        p.p[1][0] = 1.0f;
        mask = 1;
    }

    p.p[2][0] = p.p[2][1] = p.p[2][2] = 1.0f;
    if (raw.bWhiteBalanceGroup) {
        PostMessage(2, QCoreApplication::translate("IExposure", "Weißabgleich wird berechnet"), 0);
        mask += 2;
        MP_UI_SetTime();
        // Any negative temperature is automatic.
        const float kelvin = raw.AutomaticWhiteBalance() ? -1.0f : raw.fWhiteBalanceKelvin;
        MP_UI_GetWhiteValue(m_pusBuffer, &p.p[2][0], &p.p[2][1], &p.p[2][2], kelvin, float(w), float(h));
        std::printf("%11.4f ms MP_GetWhiteValue r:%f g:%f b:%f\n", MP_UI_GetTimeDifference(), p.p[2][0], p.p[2][1],
                    p.p[2][2]);
    }

    p.p[0][0] = -1.0f;
    if (raw.bDenoiseGroup && raw.iDenoiseQuality == 0) {
        PostMessage(2, QCoreApplication::translate("IExposure", "Entrauschen wird berechnet"), 0);
        mask += 4;
        p.p[0][0] = std::pow(slider, 0.5f);
        if (raw.bDenoiseDarkImages) {
            MP_UI_SetTime();
            const float L = MP_UI_GetAverageLuminance(m_pusBuffer, float(w), float(h));
            const float s = p.p[0][0];
            p.p[0][0] = s + (1.0f - L) * (1.0f - s);
            std::printf("%11.4f ms MP_UI_GetAverageLuminance Lum:%f -> Schärfe:%f\n", MP_UI_GetTimeDifference(), L,
                        p.p[0][0]);
        }
    }

    std::memcpy(p.p[3], ColorSpacesRGBXYZ[0], sizeof(ColorSpacesRGBXYZ[0]));
    std::memcpy(p.p[4], ColorSpacesXYZRGB[0], sizeof(ColorSpacesXYZRGB[0]));
    if (raw.bColorSpaceGroup) {
        const int i = raw.ColorSpaceIndex();
        std::memcpy(p.p[4], ColorSpacesXYZRGB[i], sizeof(ColorSpacesXYZRGB[i]));
        if (i != 0)
            mask += 8;
    }

    if (mask == 8) {
        CKernelRunner::RunRGB16("MP_calcPixelColorSpaceConversion", w, h, m_pusBuffer, &p);
    } else if (mask != 0) {
        PanoramaScope panorama;
        CKernelRunner::RunRGB16("MP_calcPixelCombinedPrePass", w, h, m_pusBuffer, &p);
    }

    // The alignment of the series rebuilds the preview.
    if (raw.bAlignGroup && (raw.bAlignShift || raw.bAlignMotion || raw.bAlignMicroDetails))
        return true;
    // The same scaling as MP_UI_zoomPreviewPicture, split over the cores.
    MP_UI_SetTime();
    MP_MT_zoomPreviewPicture(m_pusBuffer, m_pusPreviewBuffer, 0, 0, 0, 0, float(m_uiPreviewWidth),
                             float(m_uiPreviewHeight), float(m_uiPreviewWidth), float(w), float(h), 0.0f, 0.0f,
                             float(w), float(h));
    std::printf("%11.4f ms MP_UI_zoomPreviewPicture(%d,%d) to (%d,%d)\n", MP_UI_GetTimeDifference(), int(w), int(h),
                int(m_uiPreviewWidth), int(m_uiPreviewHeight));
    return true;
}

void CExposure::ReExposeRAWPrv(float previewLuminance)
{
    // Not a RAW file (-1), or a RAW file without a readable preview (NaN).
    if (!(previewLuminance >= 0.0f) || !m_pusBuffer)
        return;
    CEngineGuard guard;
    QuietCpuScope quiet;
    m_fExposureValue = 0.5f;
    const float r = MP_UI_GetAverageLuminance(m_pusBuffer, float(m_uiWidth), float(m_uiHeight));
    const float d = previewLuminance - r;
    const float sign = d > 0.0f ? 1.0f : (d < 0.0f ? -1.0f : 0.0f);
    const float slider = clampf(0.5f + sign * 0.5f * std::pow(std::fabs(d), 0.175f), 0.01f, 1.0f);
    ReExpose(slider);
    m_fExposureValue = 0.5f;
    std::printf("Raw:%f, Preview:%f - Slider:%f -> New:%f\n", r, previewLuminance, slider, m_fAvgLuminance);
}

void CExposure::ReExpose(float value)
{
    CEngineGuard guard;
    MP_Params p;
    std::memset(&p, 0, sizeof(p));
    p.p[0][0] = m_fExposureValue;
    p.p[1][0] = value;
    if (m_pusPreviewBuffer)
        CKernelRunner::RunRGB16("MP_calcPixelReExposePicture", m_uiPreviewWidth, m_uiPreviewHeight,
                                m_pusPreviewBuffer, &p);
    if (m_pusBuffer)
        CKernelRunner::RunRGB16("MP_calcPixelReExposePicture", m_uiWidth, m_uiHeight, m_pusBuffer, &p);
    m_fExposureValue = value;
    m_fAvgLuminance = MP_UI_GetAverageLuminance(m_pusBuffer, float(m_uiWidth), float(m_uiHeight));
}

bool CExposure::Synthetic(const CExposure* source, float value)
{
    if (!source) {
        if (m_strFilePath.isEmpty())
            return false;
        m_bSynthetic = false;
        return Reload();
    }
    CEngineGuard guard;
    if (!m_pusBuffer) {
        m_uiWidth = source->m_uiWidth;
        m_uiHeight = source->m_uiHeight;
        m_uiPreviewWidth = source->m_uiPreviewWidth;
        m_uiPreviewHeight = source->m_uiPreviewHeight;
        if (!CreateBuffer())
            return false;
    }
    m_bSynthetic = true;
    m_fExposureValue = value < 0.0f ? 0.5f : value;
    const bool preview = CDocumentSettings::PreviewMode();
    m_bSyntheticPreviewMode = preview;

    MP_Params p;
    std::memset(&p, 0, sizeof(p));
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = 0.5f;
    p.p[1][0] = m_fExposureValue;
    if (preview) {
        CKernelRunner::RunRGB16("MP_calcPixelReExposePicture", m_uiPreviewWidth, m_uiPreviewHeight,
                                source->m_pusPreviewBuffer, m_pusPreviewBuffer, &p);
        m_fAvgLuminance = MP_UI_GetAverageLuminance(m_pusPreviewBuffer, float(m_uiPreviewWidth),
                                                    float(m_uiPreviewHeight));
    } else {
        CKernelRunner::RunRGB16("MP_calcPixelReExposePicture", m_uiWidth, m_uiHeight, source->m_pusBuffer,
                                m_pusBuffer, &p);
        m_fAvgLuminance = MP_UI_GetAverageLuminance(m_pusBuffer, float(m_uiWidth), float(m_uiHeight));
    }
    return true;
}

bool CExposure::Reload()
{
    CDocumentProgress::OpenCategory(1, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Ladevorgang"));

    FIBITMAP* bitmap = nullptr;
    float previewLuminance = -1.0f;
    {
        CImageLoader loader;
        loader.Enqueue(m_strFilePath, true);
        loader.Load();
        if (!loader.m_vecBitmaps.empty()) {
            bitmap = loader.m_vecBitmaps[0];
            previewLuminance = loader.m_vecPreviewLuminances[0];
        }
    }
    bitmap = RescaleFreeImage(bitmap, -1.0f);
    m_bExifLoaded = false;

    if (!bitmap) {
        PostMessage(1, QCoreApplication::translate("IExposure", "Die Bilddatei konnte nicht neu geladen werden"), 2);
        return false;
    }
    if (FreeImage_GetWidth(bitmap) != m_uiWidth || FreeImage_GetHeight(bitmap) != m_uiHeight) {
        PostMessage(1,
                    QCoreApplication::translate("IExposure", "Die neu geladene Bilddatei hat nicht die passene Auflösung"),
                    2);
        FreeImage_Unload(bitmap);
        return false;
    }
    if (!ConvertToExposure(bitmap, previewLuminance))
        return false;
    CEngineGuard guard;
    MP_UI_SetTime();
    m_fAvgLuminance = MP_UI_GetAverageLuminance(m_pusBuffer, float(m_uiWidth), float(m_uiHeight));
    std::printf("%11.4f ms MP_UI_GetAverageLuminance\n", MP_UI_GetTimeDifference());
    m_fExposureValue = 0.5f;
    return true;
}

// ---- Batch variants --------------------------------------------------------------

bool CExposureBatch::Load(const QString& path, FIBITMAP* bitmap)
{
    if (!bitmap)
        return false;
    SetFilePath(path);
    m_uiWidth = FreeImage_GetWidth(bitmap);
    m_uiHeight = FreeImage_GetHeight(bitmap);
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolution(&pw, &ph, nullptr, float(m_uiWidth), float(m_uiHeight), 0.1f);
    m_uiPreviewWidth = unsigned(pw);
    m_uiPreviewHeight = unsigned(ph);
    return true;
}

bool CExposureBatch::ConvertToExposure(FIBITMAP*& bitmap, float previewLuminance)
{
    CEngineGuard guard;
    FreeImageAndAutomaticMaps();
    if (!bitmap || !FreeImage_HasPixels(bitmap) || FreeImage_GetWidth(bitmap) < 500 ||
        FreeImage_GetHeight(bitmap) < 500)
        return false;
    if (!CreateBuffer())
        return false;
    if (!own_FreeImage_ConvertToRGB16(bitmap, m_pusBuffer, true))
        return false;
    ReExposeRAWPrv(previewLuminance);
    if (CDocumentSettings::PreviewMode()) {
        MP_MT_zoomPreviewPicture(m_pusBuffer, m_pusPreviewBuffer, 0, 0, 0, 0, float(m_uiPreviewWidth),
                                 float(m_uiPreviewHeight), float(m_uiPreviewWidth), float(m_uiWidth),
                                 float(m_uiHeight), 0.0f, 0.0f, float(m_uiWidth), float(m_uiHeight));
        std::free(m_pusBuffer);
        m_pusBuffer = nullptr;
    }
    return true;
}

bool CExposureBatch::Prepare(FIBITMAP* bitmap, float previewLuminance)
{
    if (!ConvertToExposure(bitmap, previewLuminance))
        return false;
    CEngineGuard guard;
    m_fAvgLuminance = MP_UI_GetAverageLuminance(m_pusPreviewBuffer, float(m_uiPreviewWidth), float(m_uiPreviewHeight));
    return true;
}

// ---- Recipes the application does not call ------------------------------------------

namespace {

void stretch(unsigned short* buffer, unsigned w, unsigned h)
{
    MP_Params p;
    standardHeader(p, MP_UI_GetLoopstep());
    MP_UI_GetMinMaxLuminance(buffer, &p.lummin, &p.lummax, float(w), float(h));
    CKernelRunner::RunRGB16("MP_calcPixelbwpoint", w, h, buffer, &p);
}

// A kernel run with p[0][0], p[1][0], mask curve p[2] (flat unless given),
// neutral blend p[3], p[4] zeroed.
void runContrast(const char* name, unsigned short* buffer, unsigned w, unsigned h, float a, float b,
                 const float (*maskY)[6] = nullptr)
{
    MP_Params p;
    standardHeader(p, MP_UI_GetLoopstep());
    p.p[0][0] = a;
    p.p[1][0] = b;
    if (maskY)
        gradationKnots(p.p[2], *maskY);
    else
        flatMaskCurve(p.p[2]);
    neutralBlend(p.p[3]);
    CKernelRunner::RunRGB16(name, w, h, buffer, &p);
}

void runSharpen(unsigned short* buffer, unsigned w, unsigned h, float strength)
{
    MP_Params p;
    standardHeader(p, MP_UI_GetLoopstep());
    p.p[0][0] = strength;
    flatMaskCurve(p.p[1]);
    neutralBlend(p.p[2]);
    CKernelRunner::RunRGB16("MP_calcPixelSharpen", w, h, buffer, &p);
}

void runGradation(unsigned short* buffer, unsigned w, unsigned h, const float (&y)[6])
{
    MP_Params p;
    standardHeader(p, MP_UI_GetLoopstep());
    gradationKnots(p.p[0], y);
    neutralBlend(p.p[1]);
    CKernelRunner::RunRGB16("MP_calcPixelGradationLagrange", w, h, buffer, &p);
}

} // namespace

void CExposure::PrepareAutomaticBW()
{
    CEngineGuard guard;
    stretch(m_pusBuffer, m_uiWidth, m_uiHeight);
}

void CExposure::PrepareOptimizeLights()
{
    CEngineGuard guard;
    stretch(m_pusBuffer, m_uiWidth, m_uiHeight);
    for (int i = 0; i < 2; ++i) {
        MP_Params p;
        standardHeader(p, MP_UI_GetLoopstep());
        const float L = MP_UI_GetAverageLuminanceFull(m_pusBuffer, float(m_uiWidth), float(m_uiHeight));
        p.p[0][0] = 1.0f;
        p.p[1][0] = 0.0f;
        p.p[2][0] = 0.5f - 0.5f * L;
        p.p[3][0] = 0.5f;
        neutralBlend(p.p[4]);
        CKernelRunner::RunRGB16("MP_calcPixelLightShadow", m_uiWidth, m_uiHeight, m_pusBuffer, &p);
    }
    stretch(m_pusBuffer, m_uiWidth, m_uiHeight);
}

void CExposure::PrepareByImageType(int type)
{
    if (type < 1)
        return;
    CEngineGuard guard;
    const int panorama = MP_UI_GetPanoramaMode();
    const int iterations = MP_UI_GetTM3dIterations();
    const float sampleRate = MP_UI_GetKernelSampleRate();
    const float exponent = MP_UI_GetKernelExponent();
    MP_UI_SetKernelSampleRate(0.5f);
    if (exponent < 3.5f)
        MP_UI_SetKernelExponent(3.5f);
    MP_UI_SetPanoramaMode(1);
    MP_UI_SetTM3dIterations(0);

    static const char* const kLines[10] = {nullptr,
                                           "ImageType=1 - Landschaft",
                                           "ImageType=2 - Architektur",
                                           "ImageType=3 - Nachtaufnahme",
                                           "ImageType=4 - Portrait",
                                           "ImageType=5 - Alte Gewölbe",
                                           "ImageType=6 - Innenaufnahmen",
                                           "ImageType=7 - Botanik",
                                           "ImageType=8 - Gewaesser",
                                           "ImageType=9 - Makroaufnahme"};
    unsigned short* b = m_pusBuffer;
    const unsigned w = m_uiWidth, h = m_uiHeight;
    if (type <= 9 && b) {
        std::cout << kLines[type] << std::endl;
        stretch(b, w, h);
        switch (type) {
        case 1:
            runContrast("MP_calcPixelColorContrast", b, w, h, 1.0f, 0.5f);
            break;
        case 2: {
            MP_Params p;
            standardHeader(p, MP_UI_GetLoopstep());
            p.p[0][0] = 0.25f;
            neutralBlend(p.p[1]);
            CKernelRunner::RunRGB16("MP_calcPixelHistogramEqualize", w, h, b, &p);
            runContrast("MP_calcPixelLocalContrast", b, w, h, 1.0f, 0.5f);
            runSharpen(b, w, h, 0.25f);
            break;
        }
        case 3: {
            runGradation(b, w, h, {0.0f, 0.23f, 0.42f, 0.6f, 0.8f, 1.0f});
            static const float mask[6] = {1.0f, 0.6f, 0.1f, 0.0f, 0.0f, 0.0f};
            runContrast("MP_calcPixelDeNoiseVariance", b, w, h, 0.25f, 0.5f, &mask);
            break;
        }
        case 4:
            runContrast("MP_calcPixelLocalContrast", b, w, h, 1.0f, 0.1f);
            break;
        case 5:
            runGradation(b, w, h, {0.0f, 0.23f, 0.42f, 0.61f, 0.8f, 1.0f});
            runContrast("MP_calcPixelLocalContrast", b, w, h, 1.0f, 0.75f);
            break;
        case 6:
            runGradation(b, w, h, {0.0f, 0.16f, 0.36f, 0.55f, 0.75f, 1.0f});
            runContrast("MP_calcPixelColorContrast", b, w, h, 0.5f, 0.4f);
            break;
        case 7:
            runContrast("MP_calcPixelColorContrast", b, w, h, 1.0f, 0.6f);
            runContrast("MP_calcPixelLocalContrast", b, w, h, 0.25f, 0.1f);
            runSharpen(b, w, h, 0.3f);
            break;
        case 8:
            runGradation(b, w, h, {0.0f, 0.22f, 0.41f, 0.6f, 0.8f, 1.0f});
            runContrast("MP_calcPixelColorContrast", b, w, h, 1.0f, 0.4f);
            break;
        case 9:
            runGradation(b, w, h, {0.0f, 0.22f, 0.41f, 0.6f, 0.8f, 1.0f});
            runContrast("MP_calcPixelColorContrast", b, w, h, 1.0f, 0.3f);
            runSharpen(b, w, h, 0.5f);
            break;
        }
    }
    MP_UI_SetPanoramaMode(panorama);
    MP_UI_SetTM3dIterations(iterations);
    MP_UI_SetKernelSampleRate(sampleRate);
    MP_UI_SetKernelExponent(exponent);
}
