#include "engine/core/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <sys/statvfs.h>
#include <sys/time.h>

namespace {

// A NaN argument (a settings file can hold one) is no value: the setter keeps
// the previous one. The CLAMP and FLOOR rules would let it through.
template <typename T> bool isNaN(T v)
{
    if constexpr (std::is_floating_point_v<T>)
        return std::isnan(v);
    else
        return false;
}

template <typename T> T ruleSTORE(T v) { return v; }
template <typename T> T ruleMIN1(T v) { return v < 1 ? T(1) : v; }
template <typename T> T ruleNONNEG(T v) { return v < 0 ? T(0) : v; }

#define STORE ruleSTORE(value)
#define MIN1 ruleMIN1(value)
#define NONNEG ruleNONNEG(value)
#define CLAMP(lo, hi) (value < (lo) ? (lo) : (value > (hi) ? (hi) : value))
#define FLOOR(lo) (value < (lo) ? (lo) : value)

} // namespace

#define X(Name, global, type, initial, start, rule) \
    type global = initial;                          \
    void MP_UI_Set##Name(type value)                \
    {                                               \
        if (!isNaN(value))                          \
            global = rule;                          \
    }                                               \
    type MP_UI_Get##Name() { return global; }
#include "engine/core/settings_list.h"
#undef X

#undef STORE
#undef MIN1
#undef NONNEG
#undef CLAMP
#undef FLOOR

int MP_calcmode = 0;
double MP_maxmemallocsize[4] = {0, 0, 0, 0};
int MP_backgroundcolor = 0x2E2E2E;
int MP_highlightcolor = 0xFFFFFF;
int MP_linecolor = 0x8F8F8F;
int MP_fillcolor = 0x9F9F9F;
int MP_bordercolor = 0x3F3F3F;
int64_t c1, c2, c3, c4, c5, c6, c7, c8, c9;
int MP_testmode = 0;

static struct timeval g_time;

void MP_UI_SetCalcMode(int mode)
{
    switch (mode) {
    case 1:
        MP_calcmode = 1;
        break;
    case 2:
        MP_calcmode = MP_maxmemallocsize[2] > 0 ? 2 : 1;
        break;
    case 3:
        if (MP_maxmemallocsize[3] > 0)
            MP_calcmode = 3;
        else
            MP_calcmode = MP_maxmemallocsize[2] > 0 ? 2 : 1;
        break;
    default:
        break;
    }
}
int MP_UI_GetCalcMode() { return MP_calcmode; }

void MP_UI_SetMaxMemAllocSize(int method, double bytes)
{
    if (method < 0 || method > 3 || std::isnan(bytes))
        return;
    MP_maxmemallocsize[method] = bytes;
}
double MP_UI_GetMaxMemAllocSize(int method)
{
    if (method < 0 || method > 3)
        return 0.0;
    return MP_maxmemallocsize[method];
}
double MP_UI_GetMegapixelMaxMemAllocSize(int method)
{
    return MP_UI_GetMaxMemAllocSize(method) / 12.0 / 1000000.0;
}

void MP_UI_SetBackgroundColor(int rgb) { MP_backgroundcolor = rgb; }
int MP_UI_GetBackgroundColor() { return MP_backgroundcolor & 0xFFFFFF; }
void MP_UI_SetHighlightColor(int rgb) { MP_highlightcolor = rgb; }
int MP_UI_GetHighlightColor() { return MP_highlightcolor & 0xFFFFFF; }
void MP_UI_SetLineColor(int rgb) { MP_linecolor = rgb; }
void MP_UI_SetFillColor(int rgb) { MP_fillcolor = rgb; }
void MP_UI_SetBorderColor(int rgb) { MP_bordercolor = rgb; }

static int colourVariant(int colour, int variant)
{
    int r = (colour >> 16) & 0xFF;
    int g = (colour >> 8) & 0xFF;
    int b = colour & 0xFF;
    if (variant == 0) {
        r >>= 1;
        g >>= 1;
        b >>= 1;
    } else if (variant == 2) {
        r = std::min(255, r * 150 / 100);
        g = std::min(255, g * 150 / 100);
        b = std::min(255, b * 150 / 100);
    }
    return (r << 16) + (g << 8) + b;
}
int MP_UI_GetLineColor(int variant) { return colourVariant(MP_linecolor, variant); }
int MP_UI_GetFillColor(int variant) { return colourVariant(MP_fillcolor, variant); }
int MP_UI_GetBorderColor(int variant) { return colourVariant(MP_bordercolor, variant); }

void MP_UI_CalcImageSizeSigned(int width, int height, int* outWidth, int* outHeight)
{
    bool tracked = false;
    if (width >= 500 || height >= 500) {
        MP_imagesizemode = 1;
        tracked = true;
    }
    while (width > 16383 || height > 16383 || double(width) * double(height) > 536870911.0) {
        if (tracked)
            MP_imagesizemode *= 2;
        width /= 2;
        height /= 2;
    }
    if (outWidth)
        *outWidth = width;
    if (outHeight)
        *outHeight = height;
}

void MP_UI_CalcImageSize(int width, int height, unsigned int* outWidth, unsigned int* outHeight)
{
    int w = 0, h = 0;
    MP_UI_CalcImageSizeSigned(width, height, &w, &h);
    if (outWidth)
        *outWidth = static_cast<unsigned int>(w);
    if (outHeight)
        *outHeight = static_cast<unsigned int>(h);
}

double MP_UI_GetActualTime()
{
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    return double(tv.tv_sec) * 1000.0 + double(tv.tv_usec) / 1000.0;
}
double MP_UI_CalcTimeDifference(double start) { return MP_UI_GetActualTime() - start; }
void MP_UI_SetTime() { gettimeofday(&g_time, nullptr); }
double MP_UI_GetTimeDifference()
{
    struct timeval now;
    gettimeofday(&now, nullptr);
    return double(now.tv_sec - g_time.tv_sec) * 1000.0 + double(now.tv_usec - g_time.tv_usec) / 1000.0;
}

void MP_UI_GetDiskSpaceInformationInGB(const char* path, double* total, double* free)
{
    struct statvfs st;
    if (!path || statvfs(path, &st) != 0) {
        if (total)
            *total = -1.0;
        if (free)
            *free = -1.0;
        return;
    }
    const double gib = 1073741824.0;
    if (total)
        *total = double(st.f_frsize) * double(st.f_blocks) / gib;
    if (free)
        *free = double(st.f_frsize) * double(st.f_bfree) / gib;
}

// Reads one "<key>: <n> kB" line of /proc/meminfo; -1 when absent.
static long long meminfoBytes(const char* key)
{
    // /proc files report size 0, so read them as a stream.
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f)
        return -1;
    const size_t keyLen = std::strlen(key);
    char line[256];
    long long result = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, keyLen) != 0 || line[keyLen] != ':')
            continue;
        long long kb = -1;
        if (std::sscanf(line + keyLen + 1, "%lld", &kb) == 1 && kb >= 0)
            result = kb * 1024;
        break;
    }
    std::fclose(f);
    return result;
}

int MP_UI_getPossibleThreadsFromMemorySize(unsigned int width, unsigned int height, unsigned int bytesPerPixel)
{
    // Allocation probing means nothing under overcommit: compare the block sizes
    // (2n + 64 KiB, 3n + 64 KiB, ... 32n + 64 KiB) with the memory that is
    // actually available, in 64-bit arithmetic.
    const unsigned long long n = 1ULL * width * height * bytesPerPixel;
    long long avail = meminfoBytes("MemAvailable");
    if (avail < 0)
        avail = meminfoBytes("MemFree");
    if (avail < 0)
        return 1;
    int result = 1;
    for (unsigned long long k = 2; k <= 32; ++k) {
        const unsigned long long block = k * n + 65536ULL;
        if (block > static_cast<unsigned long long>(avail))
            break;
        ++result;
    }
    return std::clamp(result, 1, 32);
}

int MP_UI_GetMemoryInformation(float* totalMB, float* usableMB)
{
    if (totalMB)
        *totalMB = 4095.0f;
    if (usableMB)
        *usableMB = 2047.0f;
    const long long bytes = meminfoBytes("MemTotal");
    if (bytes < 0)
        return -1;
    const float total = float(double(bytes) / 1048576.0);
    float factor = 0.5f;
    if (total >= 65536.0f)
        factor = 0.92f;
    else if (total >= 32768.0f)
        factor = 0.85f;
    else if (total >= 16384.0f)
        factor = 0.75f;
    else if (total >= 8192.0f)
        factor = 0.65f;
    float usable = total * factor;
    if (usable < 1024.0f)
        usable = 1024.0f;
    if (totalMB)
        *totalMB = total;
    if (usableMB)
        *usableMB = usable;
    return 0;
}

void MP_C1C9_CLEAR() { c1 = c2 = c3 = c4 = c5 = c6 = c7 = c8 = c9 = 0; }
void MP_C1C9_PRINT()
{
    const int64_t values[9] = {c1, c2, c3, c4, c5, c6, c7, c8, c9};
    for (int i = 0; i < 9; ++i)
        std::printf("c%d:%lld\r\n", i + 1, static_cast<long long>(values[i]));
}

void MP_UI_SetTestMode(int bit)
{
    if (bit >= 0 && bit <= 31)
        MP_testmode |= int(1u << bit);
}
void MP_UI_SetTestModeAbsolut(int mask) { MP_testmode = mask; }
int MP_UI_GetTestMode(int bit)
{
    if (bit < 0 || bit > 31)
        return 0;
    return MP_testmode & int(1u << bit);
}

void MP_ResetSettingsToInitial()
{
#define X(Name, global, type, initial, start, rule) global = initial;
#include "engine/core/settings_list.h"
#undef X
    MP_calcmode = 0;
    for (double& m : MP_maxmemallocsize)
        m = 0.0;
    MP_backgroundcolor = 0x2E2E2E;
    MP_highlightcolor = 0xFFFFFF;
    MP_linecolor = 0x8F8F8F;
    MP_fillcolor = 0x9F9F9F;
    MP_bordercolor = 0x3F3F3F;
    MP_C1C9_CLEAR();
    MP_testmode = 0;
}

namespace {
template <typename T> void applyStart(T& global, T value) { global = value; }
struct Keep {};
template <typename T> void applyStart(T&, Keep) {}
constexpr Keep keep{};
} // namespace

void MP_ApplySettingStartValues(int threadCount)
{
#define X(Name, global, type, initial, start, rule) applyStart<type>(global, start);
#include "engine/core/settings_list.h"
#undef X
    MP_UI_SetIdealThreadCount(threadCount);
    MP_backgroundcolor = 0x2E2E2E;
    MP_highlightcolor = 0xFFFFFF;
}
