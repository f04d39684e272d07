#pragma once
// Conversions between the engine's RGB48 buffers (three unsigned 16-bit values
// per pixel, rows packed top-down), FreeImage bitmaps (stored bottom-up: scan
// line i is buffer row H - 1 - i) and packed ARGB views. Each conversion runs in
// row bands on the thread pool and returns when every band is done; only one
// runs at a time (engine operations are single-entry).
//
// None returns a result. A null pointer, a size below 1, or a bitmap whose type
// or size does not fit the conversion leaves everything unchanged.

#include "engine/core/tasks.h"

#include <cstddef>
#include <cstdint>

struct FIBITMAP;

// 8 bits per channel (24 or 32 bits per pixel, bytes blue, green, red[, alpha])
// into the buffer; each value is shifted left by 8 (0xFF becomes 0xFF00).
// The pitch argument is not used.
void MP_own_FreeImage_frombitmap(int width, int height, FIBITMAP* bitmap, int pitch, uint16_t* rgb48);
// RGB16 bitmap into the buffer: width x 6 bytes per scan line copied as they
// are, scan line i read at FreeImage_GetBits + i x pitch bytes.
void MP_own_FreeImage_fromrgb16(int width, int height, FIBITMAP* bitmap, int pitch, uint16_t* rgb48);
// Float RGB bitmap into the buffer, stretched so that the smallest sample maps
// to 0 and the largest to 65535, with the exponent 1 / (gamma + add). Samples
// that cannot be measured are written back into the bitmap first: negative
// values and NaN become 0, +Inf becomes the largest finite sample.
void MP_own_FreeImage_fromrgbf(int width, int height, FIBITMAP* bitmap, int pitch, uint16_t* rgb48);
// The rule of the float conversions, shared with the document's own float
// paths. Samples that cannot be measured are written back first: negatives and
// NaN become 0, +Inf the largest finite sample. `channels` samples of every
// pixel of `samplesPerPixel` floats are measured (min from 1e8, max from 0).
void MP_sanitiseFloatSamples(uint8_t* bits, int width, int height, size_t pitch, int samplesPerPixel, int channels,
                             float* minimum, float* maximum);
// The stretch of measured samples: max raised to min + 0.001 when not above
// min; add = ln(ln(max - min) + 1) when max - min exceeds 1, else 0; prints
// "Min: %f | Max: %f -> add: %f\r\n"; exponent 1 / (HDR gamma + add).
struct MP_FloatStretch {
    float minimum;
    float maximum;
    float exponent;
};
MP_FloatStretch MP_floatStretch(float minimum, float maximum);
// One sample as a 16-bit value: ((v - min) / (max - min))^exponent x 65535;
// below 0 (and NaN) gives 0, above 65535 gives 65535, else the integer part.
uint16_t MP_quantiseFloatSample(float v, const MP_FloatStretch& s);
// Buffer into an existing float RGB bitmap of the same size: (v / 65535)^gamma.
void MP_own_FreeImage_torgbf(int width, int height, FIBITMAP* bitmap, const uint16_t* rgb48);
// Buffer into an opaque ARGB 8888 view of the same size (rows top-down).
void MP_UI_ConvertRGB48toARGB8888(int width, int height, const uint16_t* rgb48, uint32_t* argb);

// Copies `rows` rows of `rowBytes` bytes from src to dst (blocks that do not
// overlap) in one band per engine thread on the thread pool, so that a freshly allocated dst is first touched by the
// threads that fill it. Unlike the kernels' passes it runs to the end while a
// cancel request is set: its caller needs every row. A null pointer or an
// empty size does nothing.
void MP_MT_copyRows(const void* src, void* dst, size_t rowBytes, int rows);

// Band workers: word 1 the range of scan lines (rows for the ARGB worker),
// word 4 the conversion's argument block.
void MP_taskown_FreeImage_frombitmap(TaskFuncParams p);
void MP_taskown_FreeImage_fromrgb16(TaskFuncParams p);
void MP_taskown_FreeImage_fromrgbf(TaskFuncParams p);
void MP_taskown_FreeImage_torgbf(TaskFuncParams p);
void MP_task_ConvertRGB48toARGB8888(TaskFuncParams p);
// Rows of MP_MT_copyRows.
void MP_task_copyRows(TaskFuncParams p);
