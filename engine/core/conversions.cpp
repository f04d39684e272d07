#include "engine/core/conversions.h"

#include "engine/core/settings.h"

#include <FreeImage.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// What the bands of one conversion read. Lives on the driver's stack for the
// duration of the conversion.
struct ConversionArgs {
    int width = 0;
    int height = 0;
    FIBITMAP* bitmap = nullptr;
    const uint8_t* bits = nullptr; // scan line 0
    int pitch = 0;                 // bytes between scan lines
    int bytesPerPixel = 0;
    uint16_t* rgb48 = nullptr;
    const uint16_t* crgb48 = nullptr;
    uint32_t* argb = nullptr;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float exponent = 1.0f;
    float gamma = 1.0f;
};

constexpr float kInv65535 = 1.5259022e-05f;

void runBands(MP_TaskFunc fn, const ConversionArgs& args, int lines)
{
    MP_runSinglePass(fn, MP_makeTask(nullptr, &args), lines);
}

uint16_t* bufferRow(const ConversionArgs& a, int scanLine)
{
    return a.rgb48 + static_cast<size_t>(a.height - 1 - scanLine) * static_cast<size_t>(a.width) * 3;
}

// The bitmap is of the expected type and holds at least width x height pixels.
bool bitmapFits(FIBITMAP* bitmap, FREE_IMAGE_TYPE type, int width, int height)
{
    return bitmap && FreeImage_HasPixels(bitmap) && FreeImage_GetImageType(bitmap) == type &&
           static_cast<unsigned>(width) <= FreeImage_GetWidth(bitmap) &&
           static_cast<unsigned>(height) <= FreeImage_GetHeight(bitmap);
}

// A caller's pitch is used only when every line it addresses lies inside the
// bitmap: at least one line of pixels, at most the bitmap's own pitch.
bool pitchFits(FIBITMAP* bitmap, int pitch, int width, int bytesPerPixel)
{
    return pitch >= 0 && static_cast<size_t>(pitch) >= static_cast<size_t>(width) * bytesPerPixel &&
           static_cast<unsigned>(pitch) <= FreeImage_GetPitch(bitmap);
}

bool sizesValid(int width, int height) { return width > 0 && height > 0; }

// One normalised float sample as a 16-bit value: below 0 (and NaN) gives 0,
// above 65535 gives 65535, else the integer part.
inline uint16_t quantiseFloat(float v, float minimum, float maximum, float exponent)
{
    const float q = std::pow((v - minimum) / (maximum - minimum), exponent) * 65535.0f;
    if (q > 65535.0f)
        return 65535;
    if (q >= 0.0f)
        return static_cast<uint16_t>(q);
    return 0;
}

} // namespace

// ---- band workers -----------------------------------------------------------

void MP_taskown_FreeImage_frombitmap(TaskFuncParams p)
{
    const ConversionArgs& a = *MP_taskArgs<const ConversionArgs>(p);
    const int bpp = a.bytesPerPixel;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const uint8_t* src = FreeImage_GetScanLine(a.bitmap, i);
        uint16_t* dst = bufferRow(a, i);
        for (int x = 0; x < a.width; ++x) {
            const uint8_t* px = src + static_cast<size_t>(x) * bpp;
            dst[3 * x] = static_cast<uint16_t>(px[2] << 8);
            dst[3 * x + 1] = static_cast<uint16_t>(px[1] << 8);
            dst[3 * x + 2] = static_cast<uint16_t>(px[0] << 8);
        }
    }
}

void MP_taskown_FreeImage_fromrgb16(TaskFuncParams p)
{
    const ConversionArgs& a = *MP_taskArgs<const ConversionArgs>(p);
    const size_t lineBytes = static_cast<size_t>(a.width) * 6;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i)
        std::memcpy(bufferRow(a, i), a.bits + static_cast<size_t>(i) * a.pitch, lineBytes);
}

void MP_taskown_FreeImage_fromrgbf(TaskFuncParams p)
{
    const ConversionArgs& a = *MP_taskArgs<const ConversionArgs>(p);
    const size_t n = static_cast<size_t>(a.width) * 3;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        const float* src = reinterpret_cast<const float*>(a.bits + static_cast<size_t>(i) * a.pitch);
        uint16_t* dst = bufferRow(a, i);
        for (size_t k = 0; k < n; ++k)
            dst[k] = quantiseFloat(src[k], a.minimum, a.maximum, a.exponent);
    }
}

void MP_taskown_FreeImage_torgbf(TaskFuncParams p)
{
    const ConversionArgs& a = *MP_taskArgs<const ConversionArgs>(p);
    const size_t n = static_cast<size_t>(a.width) * 3;
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        float* dst = reinterpret_cast<float*>(FreeImage_GetScanLine(a.bitmap, i));
        const uint16_t* src =
            a.crgb48 + static_cast<size_t>(a.height - 1 - i) * static_cast<size_t>(a.width) * 3;
        for (size_t k = 0; k < n; ++k)
            dst[k] = std::pow(static_cast<float>(src[k]) * kInv65535, a.gamma);
    }
}

void MP_task_ConvertRGB48toARGB8888(TaskFuncParams p)
{
    const ConversionArgs& a = *MP_taskArgs<const ConversionArgs>(p);
    const size_t w = static_cast<size_t>(a.width);
    for (int y = MP_taskStart(p); y < MP_taskEnd(p); ++y) {
        const uint16_t* src = a.crgb48 + static_cast<size_t>(y) * w * 3;
        uint32_t* dst = a.argb + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x) {
            dst[x] = 0xFF000000u | (static_cast<uint32_t>(src[3 * x] >> 8) << 16) |
                     (static_cast<uint32_t>(src[3 * x + 1] >> 8) << 8) | static_cast<uint32_t>(src[3 * x + 2] >> 8);
        }
    }
}

// ---- the float rule ---------------------------------------------------------

void MP_sanitiseFloatSamples(uint8_t* bits, int width, int height, size_t pitch, int samplesPerPixel, int channels,
                             float* minimumOut, float* maximumOut)
{
    float minimum = 1e8f;
    float maximum = 0.0f;
    bool infinite = false;
    const size_t w = static_cast<size_t>(width > 0 ? width : 0);
    for (int i = 0; bits && i < height; ++i) {
        float* line = reinterpret_cast<float*>(bits + static_cast<size_t>(i) * pitch);
        for (size_t x = 0; x < w; ++x) {
            float* px = line + x * samplesPerPixel;
            for (int c = 0; c < channels; ++c) {
                float v = px[c];
                if (!(v >= 0.0f)) {
                    v = 0.0f;
                    px[c] = v;
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
    if (infinite) {
        // +Inf becomes the largest finite sample once that is known.
        for (int i = 0; i < height; ++i) {
            float* line = reinterpret_cast<float*>(bits + static_cast<size_t>(i) * pitch);
            for (size_t x = 0; x < w; ++x) {
                float* px = line + x * samplesPerPixel;
                for (int c = 0; c < channels; ++c)
                    if (px[c] == INFINITY)
                        px[c] = maximum;
            }
        }
        if (maximum < minimum)
            minimum = maximum;
    }
    *minimumOut = minimum;
    *maximumOut = maximum;
}

MP_FloatStretch MP_floatStretch(float minimum, float maximum)
{
    if (!(maximum > minimum))
        maximum = minimum + 0.001f;
    const float range = maximum - minimum;
    const float add = range > 1.0f ? std::log(std::log(range) + 1.0f) : 0.0f;
    std::printf("Min: %f | Max: %f -> add: %f\r\n", minimum, maximum, add);
    return MP_FloatStretch{minimum, maximum, 1.0f / (MP_UI_GetHDRGammaValue() + add)};
}

uint16_t MP_quantiseFloatSample(float v, const MP_FloatStretch& s)
{
    return quantiseFloat(v, s.minimum, s.maximum, s.exponent);
}

// ---- drivers ----------------------------------------------------------------

void MP_own_FreeImage_frombitmap(int width, int height, FIBITMAP* bitmap, int /*pitch*/, uint16_t* rgb48)
{
    if (!rgb48 || !sizesValid(width, height) || !bitmapFits(bitmap, FIT_BITMAP, width, height))
        return;
    const unsigned bpp = FreeImage_GetBPP(bitmap);
    if (bpp != 24 && bpp != 32)
        return;
    ConversionArgs a;
    a.width = width;
    a.height = height;
    a.bitmap = bitmap;
    a.bytesPerPixel = static_cast<int>(FreeImage_GetLine(bitmap) / FreeImage_GetWidth(bitmap));
    a.rgb48 = rgb48;
    runBands(MP_taskown_FreeImage_frombitmap, a, height);
}

void MP_own_FreeImage_fromrgb16(int width, int height, FIBITMAP* bitmap, int pitch, uint16_t* rgb48)
{
    if (!rgb48 || !sizesValid(width, height) || !bitmapFits(bitmap, FIT_RGB16, width, height) ||
        !pitchFits(bitmap, pitch, width, 6))
        return;
    ConversionArgs a;
    a.width = width;
    a.height = height;
    a.bits = FreeImage_GetBits(bitmap);
    a.pitch = pitch;
    a.rgb48 = rgb48;
    runBands(MP_taskown_FreeImage_fromrgb16, a, height);
}

void MP_own_FreeImage_fromrgbf(int width, int height, FIBITMAP* bitmap, int pitch, uint16_t* rgb48)
{
    if (!rgb48 || !sizesValid(width, height) || !bitmapFits(bitmap, FIT_RGBF, width, height) ||
        !pitchFits(bitmap, pitch, width, 12))
        return;
    uint8_t* bits = FreeImage_GetBits(bitmap);
    // Measure on this thread before any band starts.
    float minimum = 0.0f;
    float maximum = 0.0f;
    MP_sanitiseFloatSamples(bits, width, height, static_cast<size_t>(pitch), 3, 3, &minimum, &maximum);
    const MP_FloatStretch stretch = MP_floatStretch(minimum, maximum);

    ConversionArgs a;
    a.width = width;
    a.height = height;
    a.bits = bits;
    a.pitch = pitch;
    a.rgb48 = rgb48;
    a.minimum = stretch.minimum;
    a.maximum = stretch.maximum;
    a.exponent = stretch.exponent;
    runBands(MP_taskown_FreeImage_fromrgbf, a, height);
}

void MP_own_FreeImage_torgbf(int width, int height, FIBITMAP* bitmap, const uint16_t* rgb48)
{
    if (!rgb48 || !sizesValid(width, height) || !bitmapFits(bitmap, FIT_RGBF, width, height))
        return;
    ConversionArgs a;
    a.width = width;
    a.height = height;
    a.bitmap = bitmap;
    a.crgb48 = rgb48;
    a.gamma = MP_UI_GetHDRGammaValue();
    runBands(MP_taskown_FreeImage_torgbf, a, height);
}

void MP_UI_ConvertRGB48toARGB8888(int width, int height, const uint16_t* rgb48, uint32_t* argb)
{
    if (!rgb48 || !argb || !sizesValid(width, height))
        return;
    ConversionArgs a;
    a.width = width;
    a.height = height;
    a.crgb48 = rgb48;
    a.argb = argb;
    runBands(MP_task_ConvertRGB48toARGB8888, a, height);
}

namespace {

struct CopyRowsArgs {
    const uint8_t* src;
    uint8_t* dst;
    size_t rowBytes;
};

} // namespace

void MP_task_copyRows(TaskFuncParams p)
{
    const CopyRowsArgs* a = MP_taskArgs<const CopyRowsArgs>(p);
    const size_t start = static_cast<size_t>(MP_taskStart(p));
    const size_t end = static_cast<size_t>(MP_taskEnd(p));
    std::memcpy(a->dst + start * a->rowBytes, a->src + start * a->rowBytes, (end - start) * a->rowBytes);
}

void MP_MT_copyRows(const void* src, void* dst, size_t rowBytes, int rows)
{
    if (!src || !dst || rowBytes == 0 || rows <= 0)
        return;
    const CopyRowsArgs args{static_cast<const uint8_t*>(src), static_cast<uint8_t*>(dst), rowBytes};
    TaskFuncParams task = MP_makeTask(nullptr, &args);
    MP_forEachSingleBand(rows, MP_idealThreadCount, [&](int start, int end) {
        if (end <= start)
            return;
        MP_setTaskRange(task, start, end);
        CKernelThreads::AddTask(MP_task_copyRows, task);
    });
    CKernelThreads::WaitTasks();
}
