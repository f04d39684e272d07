#pragma once
// The engine's parameter store: one global per setting, reached through
// MP_UI_Set<Name> / MP_UI_Get<Name>. No object, no lock: a setter stores its
// argument after its clamp or fallback, a getter returns what is stored. A NaN
// given to a float setter keeps the stored value.

#include <cstdint>

#define X(Name, global, type, initial, start, rule) \
    extern type global;                             \
    void MP_UI_Set##Name(type value);               \
    type MP_UI_Get##Name();
#include "engine/core/settings_list.h"
#undef X

// Calculation method: 1 the CPU kernel library, 2 and 3 the device methods.
constexpr int MP_CALCMODE_CPU = 1;
extern int MP_calcmode;
void MP_UI_SetCalcMode(int mode);
int MP_UI_GetCalcMode();

// Largest buffer in bytes a method (0..3) may use; 0 disables the method.
// An index outside 0..3 or a NaN is ignored by the setter; the index reads as 0.
extern double MP_maxmemallocsize[4];
void MP_UI_SetMaxMemAllocSize(int method, double bytes);
double MP_UI_GetMaxMemAllocSize(int method);
double MP_UI_GetMegapixelMaxMemAllocSize(int method);

// Colours of painted views, 0xRRGGBB (the top byte is ignored by the getters).
extern int MP_backgroundcolor;
extern int MP_highlightcolor;
extern int MP_linecolor;
extern int MP_fillcolor;
extern int MP_bordercolor;
void MP_UI_SetBackgroundColor(int rgb);
int MP_UI_GetBackgroundColor();
void MP_UI_SetHighlightColor(int rgb);
int MP_UI_GetHighlightColor();
void MP_UI_SetLineColor(int rgb);
void MP_UI_SetFillColor(int rgb);
void MP_UI_SetBorderColor(int rgb);
// variant 0: half brightness; 2: each channel * 150 / 100, at most 255;
// anything else: the stored colour.
int MP_UI_GetLineColor(int variant);
int MP_UI_GetFillColor(int variant);
int MP_UI_GetBorderColor(int variant);

// Fits an image size into the limits of the display path (at most 16383 on a
// side and 536,870,911 pixels) by halving; tracks the image size mode.
void MP_UI_CalcImageSize(int width, int height, unsigned int* outWidth, unsigned int* outHeight);
void MP_UI_CalcImageSizeSigned(int width, int height, int* outWidth, int* outHeight);

// Time in milliseconds of wall-clock time.
double MP_UI_GetActualTime();
double MP_UI_CalcTimeDifference(double start);
void MP_UI_SetTime();
double MP_UI_GetTimeDifference();

// Disk space of the file system holding path, in GiB; -1 in both on failure.
void MP_UI_GetDiskSpaceInformationInGB(const char* path, double* total, double* free);
// How many worker buffers of width x height x bytesPerPixel fit into the
// memory that is actually available: 1..32.
int MP_UI_getPossibleThreadsFromMemorySize(unsigned int width, unsigned int height, unsigned int bytesPerPixel);
// Installed and usable memory in MiB; negative result when unknown.
int MP_UI_GetMemoryInformation(float* totalMB, float* usableMB);

// Debug counters and test switches.
extern int64_t c1, c2, c3, c4, c5, c6, c7, c8, c9;
void MP_C1C9_CLEAR();
void MP_C1C9_PRINT();
extern int MP_testmode;
void MP_UI_SetTestMode(int bit);
void MP_UI_SetTestModeAbsolut(int mask);
int MP_UI_GetTestMode(int bit);

// Puts every setting of the store back to its value at program start
// (the state before MP_UI_Init).
void MP_ResetSettingsToInitial();
// Stores the start values of MP_UI_Init (the thread count is its argument).
void MP_ApplySettingStartValues(int threadCount);
