#pragma once
// Decisions of the dispatcher and the device back-end that do not need a
// device: calculation method, whole image or stripes, the stripe windows,
// the launch plan of a line kernel, the work-group size and the calibration
// rule. OpenCLManager (engine/openclmanager.h) runs on them.
//
// Byte counts are computed in 64 bits (saturating): width x height x bytes per
// pixel overflows 32 bits on large images.

#include <cstddef>
#include <cstdint>
#include <vector>

// Largest image (in pixels) a device method takes: 2^31 / 3, rounded down.
constexpr double MP_DEVICE_PIXEL_LIMIT = 715827882.0;

// (srcBpp + dstBpp) * width * rows, saturating at UINT64_MAX.
uint64_t MP_deviceBytes(unsigned srcBpp, unsigned dstBpp, uint64_t width, uint64_t rows);

// Chooses the calculation method of a run and stores it (MP_UI_SetCalcMode):
// the processor library, or a device method whose memory limit exceeds the
// bytes of `rows` rows of source and destination (the graphics device wins
// when both qualify); a force mode overrides unless the kernel forces the
// processor. Returns the stored method.
int MP_chooseCalcMethod(const char* name, unsigned width, unsigned height, unsigned srcBpp, unsigned dstBpp,
                        uint64_t rows);

// True when a run of radius R is processed as one whole image: the image is
// lower than R + 500 rows, the kernel needs the whole image, or the method's
// memory limit exceeds the whole image's bytes.
bool MP_processWholeImage(const char* name, unsigned width, unsigned height, unsigned srcBpp, unsigned dstBpp,
                          int R, int method);

// One stripe of a device run: rows [start, start + stripeRows) of the image
// are computed from the uploaded window of `rows` rows beginning at image row
// firstRow; the stripe's rows begin at row `top` of the window.
struct MP_DeviceStripe {
    int start;
    int top;
    int firstRow;
    int rows;
    int stripeRows;
};
// Stripes of 500 rows with R rows of overlap on each side (R >= 1).
std::vector<MP_DeviceStripe> MP_planDeviceStripes(unsigned height, int R);
// Rows of the device window buffers: 2R + 500.
uint64_t MP_deviceWindowRows(int R);
// Overall progress after the stripe starting at `start`.
float MP_deviceStripeProgress(int start, unsigned height, float progressStart, float progressDelta);

// One two-dimensional launch: items [offsetX, offsetX + itemsX) x
// [offsetY, offsetY + itemsY) in work groups of groupX x 1.
struct MP_DeviceLaunch {
    unsigned offsetX;
    unsigned offsetY;
    unsigned itemsX;
    unsigned itemsY;
    unsigned groupX;
};
// Launches of a line kernel over `rows` rows from rowOffset: full work groups
// across the width first, then the remaining columns, each in blocks of at
// most maxPixels items (at least one row per launch). maxItemSize0 and
// workGroupSize are the device's limits (the group size is capped at 256).
std::vector<MP_DeviceLaunch> MP_planLineLaunches(unsigned rowOffset, unsigned width, unsigned rows, unsigned maxPixels,
                                                 size_t maxItemSize0, size_t workGroupSize);

// Work-group size lx x ly for a width x height range: lx divides the width,
// ly the height, lx * ly at most the group size; the largest product wins,
// the first found (smaller ly) on ties. 1 x 1 when the device reports no sizes.
void MP_kernelLocalSize(unsigned width, unsigned height, size_t maxItemSize0, size_t maxItemSize1,
                        size_t workGroupSize, size_t* lx, size_t* ly);

// Calibration rule: 1 (force the processor) when (cpuMs + copyMs) / deviceMs
// is below 0.98, else 0 (an undefined ratio keeps the device).
int MP_kernelSpeedForcesCPU(double cpuMs, double deviceMs, double copyMs);
