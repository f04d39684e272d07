#pragma once
// The kernel registry: every image operator is a kernel addressed by its name
// ("MP_calcPixel" + operator name). The registry answers what the dispatcher,
// the device back-end and the operator chain ask about a kernel, and runs the
// kernel's CPU driver by name.
//
// Names are compared as byte strings, case-sensitive. A name that equals no
// registered kernel gets the defaults: geometry slot -1, spline slot -1,
// size 500, may run on a device, no whole-image need, not tone mapping, not
// focus stacking, allows scaling, run always needed, and no driver.

#include "engine/core/mp_params.h"

typedef unsigned short ushort;

// ---- Drivers -----------------------------------------------------------------
// The CPU driver of a kernel: returns 0, or -1 when it cannot obtain a working
// buffer (found out before anything is written).
using MP_KernelDriver = int (*)(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);

struct MP_DriverEntry {
    const char* name; // the kernel name the driver serves
    MP_KernelDriver driver;
};

struct MP_DriverTable {
    const MP_DriverEntry* entries;
    int count;
};

template <int N> constexpr MP_DriverTable MP_driverTable(const MP_DriverEntry (&entries)[N])
{
    return MP_DriverTable{entries, N};
}

// Adding drivers. A family file (engine/<folder>/<family>.cpp) lists its
// drivers in a table of its own:
//
//     static const MP_DriverEntry kDrivers[] = {
//         {"MP_calcPixelSepia", MP_calcPixelSepia},
//         {"MP_calcPixelNegative", MP_calcPixelNegative},
//     };
//     extern const MP_DriverTable MP_drivers_tonalcolour = MP_driverTable(kDrivers);
//
// and names the table once in engine/core/driverfamilies.h:
//
//     MP_DRIVER_FAMILY(MP_drivers_tonalcolour)
//
// A registered kernel whose driver is in no table runs as "no driver": result
// 0, nothing written. Entries for unregistered names are never run (the
// registry test reports them).

// ---- Device-calibration flags --------------------------------------------------
// One int per kernel that the device calibration may move to the processor
// (0 at start; only the calibration sets them), plus the load counter of the
// stored calibration.
#define MP_FORCECPU(kernel, flag, readBack) extern int flag;
#include "engine/core/forcecpu_list.h"
#undef MP_FORCECPU
extern int forceCPU_MP_loaded;

// ---- Queries -------------------------------------------------------------------
// Parameter slot holding the kernel's 32 geometry sets, or -1.
int MP_UI_getKernelGeometryIndex(const char* name);
// Parameter slot whose six knots the dispatcher turns into spline
// coefficients, or -1.
int MP_UI_getKernelSplineIndex(const char* name);
// Neighbourhood radius in pixels before the calculation quality, by the
// kernel's size rule (reads p[0][0] and previewscalingfactor).
int MP_UI_getKernelSize(const char* name, const MP_Params* params);
// 1 when the size follows the radius slider p[0][0] (size rules R500, R200,
// R50); the dispatcher holds that slider to 0..1.
int MP_UI_checkKernelRadiusFromSlider(const char* name);
// 1 when the kernel must run on the processor (always, or by its flag).
int MP_UI_checkKernelForcesCPU(const char* name);
// 1 when the kernel needs the whole image in one piece.
int MP_UI_checkKernelNeedFullSize(const char* name);
int MP_UI_checkKernelIsTonemapping(const char* name);
int MP_UI_checkKernelIsFocusStacking(const char* name);
// 1 for the kernels that run slowly on a graphics device (work-item packing).
int MP_UI_checkKernelForcesSlowGPUExecution(const char* name);
int MP_UI_checkKernelAllowsScaling(const char* name);
// 0 when the kernel's parameters leave the image unchanged (the run can be
// skipped); 1 otherwise.
int MP_UI_isKernelExecutionNeeded(const char* name, const MP_Params* params);
// Pixel budget of one device launch.
int MP_UI_getMaxPixelPerKernel(const char* name, const MP_Params* params);
// Factor of the kernel on the loop-step multipliers: 1.0 for every kernel.
float MP_UI_getSpecificKernelMultiplier(const char* kernelName);

// Runs the kernel's CPU driver: stores category, progressStart and
// progressDelta in _category, _progressstart, _progressdelta first; -2 for a
// null buffer or block; the driver's result; 0 (nothing written) for a name
// without driver.
int MP_UI_executeKernel(const char* name, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                        MP_Params* params, int category, float progressStart, float progressDelta);

// ---- Registry contents -----------------------------------------------------------
int MP_kernelCount();
// Name of registered kernel i (0 <= i < MP_kernelCount()), else nullptr.
const char* MP_kernelNameAt(int i);
// The first driver-table entry that names no registered kernel with a driver,
// or names one a second time; nullptr when every table is consistent.
const char* MP_firstMismatchedDriverEntry();

// For tests only: a driver table consulted before the family tables (nullptr
// removes it). Returns the previous one.
const MP_DriverTable* MP_SetTestDriverTable(const MP_DriverTable* table);
