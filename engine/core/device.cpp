#include "engine/core/device.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/openclmanager.h"
#include "platform/userpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

// ---- Decisions -------------------------------------------------------------------

uint64_t MP_deviceBytes(unsigned srcBpp, unsigned dstBpp, uint64_t width, uint64_t rows)
{
    const uint64_t bpp = static_cast<uint64_t>(srcBpp) + dstBpp;
    uint64_t bytes = 0;
    if (__builtin_mul_overflow(bpp, width, &bytes) || __builtin_mul_overflow(bytes, rows, &bytes))
        return UINT64_MAX;
    return bytes;
}

int MP_chooseCalcMethod(const char* name, unsigned width, unsigned height, unsigned srcBpp, unsigned dstBpp,
                        uint64_t rows)
{
    MP_UI_SetCalcMode(1);
    const int forcesCPU = MP_UI_checkKernelForcesCPU(name);
    if (static_cast<double>(width) * static_cast<double>(height) <= MP_DEVICE_PIXEL_LIMIT && forcesCPU == 0) {
        const double need = static_cast<double>(MP_deviceBytes(srcBpp, dstBpp, width, rows));
        if (MP_UI_GetMaxMemAllocSize(2) > need)
            MP_UI_SetCalcMode(2);
        if (MP_UI_GetMaxMemAllocSize(3) > need)
            MP_UI_SetCalcMode(3);
    }
    if (MP_UI_GetCalcForceMode() != 0 && forcesCPU == 0)
        MP_UI_SetCalcMode(MP_UI_GetCalcForceMode());
    return MP_UI_GetCalcMode();
}

bool MP_processWholeImage(const char* name, unsigned width, unsigned height, unsigned srcBpp, unsigned dstBpp,
                          int R, int method)
{
    if (static_cast<int64_t>(height) < static_cast<int64_t>(R) + MP_KERNELSTRIPE_HEIGHT)
        return true;
    if (MP_UI_checkKernelNeedFullSize(name) == 1)
        return true;
    return MP_UI_GetMaxMemAllocSize(method) > static_cast<double>(MP_deviceBytes(srcBpp, dstBpp, width, height));
}

uint64_t MP_deviceWindowRows(int R) { return 2ull * static_cast<uint64_t>(std::max(R, 0)) + MP_KERNELSTRIPE_HEIGHT; }

std::vector<MP_DeviceStripe> MP_planDeviceStripes(unsigned height, int R)
{
    std::vector<MP_DeviceStripe> stripes;
    if (R < 1)
        R = 1;
    const int64_t h = height;
    for (int64_t s = 0; s < h; s += MP_KERNELSTRIPE_HEIGHT) {
        const int64_t firstRow = std::max<int64_t>(0, s - R);
        // The window ends R rows below the stripe, or at the image's end. The
        // stripe's rows begin s - firstRow rows into the window: R, or fewer
        // when the overlap above reaches the image's top.
        const int64_t windowEnd = std::min<int64_t>(s + MP_KERNELSTRIPE_HEIGHT + R, h);
        MP_DeviceStripe stripe;
        stripe.start = static_cast<int>(s);
        stripe.top = static_cast<int>(s - firstRow);
        stripe.firstRow = static_cast<int>(firstRow);
        stripe.rows = static_cast<int>(windowEnd - firstRow);
        stripe.stripeRows = static_cast<int>(std::min<int64_t>(MP_KERNELSTRIPE_HEIGHT, h - s));
        stripes.push_back(stripe);
    }
    return stripes;
}

float MP_deviceStripeProgress(int start, unsigned height, float progressStart, float progressDelta)
{
    return static_cast<float>(start + MP_KERNELSTRIPE_HEIGHT) * progressDelta / static_cast<float>(height) +
           progressStart;
}

std::vector<MP_DeviceLaunch> MP_planLineLaunches(unsigned rowOffset, unsigned width, unsigned rows, unsigned maxPixels,
                                                 size_t maxItemSize0, size_t workGroupSize)
{
    std::vector<MP_DeviceLaunch> launches;
    if (width == 0 || rows == 0)
        return launches;
    const size_t group = std::min<size_t>(workGroupSize, 256);
    const unsigned lx = static_cast<unsigned>(std::max<size_t>(1, std::min({maxItemSize0, group, size_t(width)})));
    const unsigned wx = width / lx;
    const unsigned fullColumns = wx * lx;

    // Rows per launch for a block of `columns` items per row; at least one, so
    // a row wider than the pixel budget still advances.
    auto rowsPerLaunch = [&](unsigned columns) { return std::max(1u, std::min(rows, maxPixels / columns)); };
    auto cover = [&](unsigned offsetX, unsigned columns, unsigned groupX) {
        const unsigned r = rowsPerLaunch(columns);
        unsigned B = 0;
        for (; B + r <= rows; B += r)
            launches.push_back({offsetX, rowOffset + B, columns, r, groupX});
        if (B < rows)
            launches.push_back({offsetX, rowOffset + B, columns, rows - B, groupX});
    };
    cover(0, fullColumns, lx);
    if (fullColumns < width) {
        const unsigned c = width - fullColumns;
        cover(fullColumns, c, c);
    }
    return launches;
}

void MP_kernelLocalSize(unsigned width, unsigned height, size_t maxItemSize0, size_t maxItemSize1,
                        size_t workGroupSize, size_t* lx, size_t* ly)
{
    size_t bestX = 1, bestY = 1;
    if (maxItemSize0 > 0 && maxItemSize1 > 0 && width > 0 && height > 0) {
        size_t best = 0;
        const size_t maxY = std::min({maxItemSize1, workGroupSize, size_t(height)});
        for (size_t y = 1; y <= maxY; ++y) {
            if (height % y != 0)
                continue;
            const size_t maxX = std::min({maxItemSize0, workGroupSize / y, size_t(width)});
            for (size_t x = 1; x <= maxX; ++x) {
                if (width % x != 0 || x * y <= best)
                    continue;
                best = x * y;
                bestX = x;
                bestY = y;
            }
        }
    }
    if (lx)
        *lx = bestX;
    if (ly)
        *ly = bestY;
}

int MP_kernelSpeedForcesCPU(double cpuMs, double deviceMs, double copyMs)
{
    const double ratio = (cpuMs + copyMs) / deviceMs;
    return ratio < 0.98 ? 1 : 0; // NaN compares false: the device stays
}

// ---- Device back-end ---------------------------------------------------------------
// There is no compute device on this platform: the platform query finds none,
// so init() and setMaxMemAllocSize() fail, the device methods keep no memory
// and every device run fails over to the processor library.

namespace {

constexpr int kClSuccess = 0;
constexpr int kClDeviceNotFound = -1;
constexpr int kClInvalidContext = -34;
constexpr int kDeviceRunFailed = -6;

void logLine(const char* text) { std::printf("%s\n", text); }

void logSeparator() { logLine("_____________________________________________________________"); }

// The platforms of the device back-end. None here.
int queryPlatforms() { return 0; }

QString kernelIniPath() { return lumivex::platform::userSettingsFolder() + QStringLiteral("kernel.ini"); }

struct FlagEntry {
    const char* key;
    int* flag;
    bool readBack;
};

const FlagEntry kFlags[] = {
#define MP_FORCECPU(kernel, flag, readBack) {#flag, &flag, readBack != 0},
#include "engine/core/forcecpu_list.h"
#undef MP_FORCECPU
};

// A plain key of the [General] group: what kernel.ini holds.
bool plainKey(const QString& key)
{
    if (key.isEmpty())
        return false;
    for (const QChar c : key)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
            return false;
    return true;
}

// The integer entries of the [General] group of an INI file, in file order
// (a later duplicate replaces the earlier value). Lines that are not a plain
// key with an integer value are skipped: the file may be damaged.
std::vector<std::pair<QString, qlonglong>> readIniIntegers(const QString& path)
{
    std::vector<std::pair<QString, qlonglong>> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    bool general = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            general = line == QLatin1String("[General]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!general || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString text = line.mid(eq + 1).trimmed();
        if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
            text = text.mid(1, text.size() - 2);
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok);
        if (!ok || !plainKey(key))
            continue;
        auto it = std::find_if(values.begin(), values.end(), [&](const auto& kv) { return kv.first == key; });
        if (it != values.end())
            it->second = value;
        else
            values.emplace_back(key, value);
    }
    return values;
}

qlonglong valueOf(const std::vector<std::pair<QString, qlonglong>>& values, const QString& key)
{
    for (const auto& [k, v] : values)
        if (k == key)
            return v;
    return 0; // a missing key reads as 0
}

// Writes key=value lines as the [General] group of an INI file, through a
// temporary file renamed over the old one.
bool writeIni(const QString& path, const std::vector<std::pair<QString, qlonglong>>& values)
{
    if (!lumivex::platform::ensureFolder(QFileInfo(path).absolutePath()))
        return false;
    QByteArray text("[General]\n");
    for (const auto& [key, value] : values)
        text += key.toLatin1() + '=' + QByteArray::number(value) + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

OpenCLManager::Device* OpenCLManager::deviceFor(int method)
{
    if (method == 2)
        return &m_device[0];
    if (method == 3)
        return &m_device[1];
    return nullptr;
}

int OpenCLManager::checkErr(int err, const char* where)
{
    if (err == kClSuccess)
        return 1;
    std::printf("ERROR checkErr: %s (%d)\n", where ? where : "", err);
    return 0;
}

void OpenCLManager::checkBuildErr(int err, const char* where, DeviceId device, DeviceProgram program)
{
    (void)device;
    (void)program; // no program is ever built here, so there is no build log to add
    std::printf("ERROR checkBuildErr: %s (%d)\n", where ? where : "", err);
}

bool OpenCLManager::checkFuncPtr(const void* ptr, const char* name)
{
    std::printf("%scheckFuncPtr: %s %p\n", ptr ? "SUCCESS " : "ERROR ", name ? name : "", ptr);
    return ptr != nullptr;
}

int OpenCLManager::init(unsigned method)
{
    if (method != 2 && method != 3)
        return -1;
    logSeparator();
    logLine("OpenCLManager::init");
    logLine(method == 2 ? "Initializing OpenCL: CPU" : "Initializing OpenCL: GPU");
    logLine("clGetPlatformIDs");
    if (queryPlatforms() == 0) {
        m_iLastError = kClDeviceNotFound;
        checkErr(m_iLastError, "clGetPlatformIDs");
        return -1;
    }
    return -1;
}

int OpenCLManager::setMaxMemAllocSize(unsigned method)
{
    if (method != 2 && method != 3)
        return -1;
    MP_UI_SetMaxMemAllocSize(static_cast<int>(method), 0.0);
    logLine("OpenCLManager::setMaxMemAllocSize");
    std::printf("Device Type: %d\n", method == 3 ? 4 : 2);
    if (queryPlatforms() == 0) {
        m_iLastError = kClDeviceNotFound;
        checkErr(m_iLastError, "clGetPlatformIDs");
        return -1;
    }
    return -1;
}

void OpenCLManager::calcPixelPerKernelPack()
{
    MP_UI_SetPixelPerKernelPack(8192);
    std::printf("MaxPixelPerKernelPack: %d\n", MP_UI_GetPixelPerKernelPack());
}

bool OpenCLManager::kernelSpeedFromSettings()
{
    const QString path = kernelIniPath();
    if (!QFileInfo::exists(path))
        return false;
    // The file may be damaged or hostile: only integer entries are read, and
    // the count and the flags are kept in range.
    std::vector<std::pair<QString, qlonglong>> values = readIniIntegers(path);
    const QString counter = QStringLiteral("forceCPU_MP_loaded");
    const qlonglong stored = std::max<qlonglong>(0, valueOf(values, counter));
    if (stored >= 19) {
        // Loaded 20 times: a new calibration is due.
        forceCPU_MP_loaded = 0;
        return false;
    }
    forceCPU_MP_loaded = static_cast<int>(stored) + 1;

    // Write the count back, keeping every other entry of the file.
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& kv) { return kv.first == counter; });
    if (it != values.end())
        it->second = forceCPU_MP_loaded;
    else
        values.insert(values.begin(), {counter, forceCPU_MP_loaded});
    if (!writeIni(path, values))
        std::printf("ERROR kernel.ini could not be written: %s\n", QFile::encodeName(path).constData());

    for (const FlagEntry& f : kFlags)
        if (f.readBack)
            *f.flag = valueOf(values, QLatin1String(f.key)) != 0 ? 1 : 0;
    return true;
}

bool OpenCLManager::kernelSpeedToSettings()
{
    std::vector<std::pair<QString, qlonglong>> values;
    values.emplace_back(QStringLiteral("forceCPU_MP_loaded"), forceCPU_MP_loaded);
    for (const FlagEntry& f : kFlags)
        values.emplace_back(QLatin1String(f.key), *f.flag);
    const QString path = kernelIniPath();
    if (writeIni(path, values))
        return true;
    std::printf("ERROR kernel.ini could not be written: %s\n", QFile::encodeName(path).constData());
    return false;
}

void OpenCLManager::compareKernelSpeeds()
{
    logSeparator();
    logLine("Checking kernel specific execution speeds");
    // The comparison times device runs; without an initialised device there is
    // nothing to compare and the flags stay as they are.
    if (!m_device[0].context && !m_device[1].context)
        return;
}

int OpenCLManager::checkKernelSpeed(const char* name, unsigned width, unsigned height, float* src, float* dst,
                                    unsigned srcBpp, unsigned dstBpp, MP_Params* params, bool uploadSource,
                                    bool downloadResult, double copyTime)
{
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_SetCalcForceMode(1);
    double start = MP_UI_GetActualTime();
    executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params, -1, 0.0f, 0.0f, uploadSource,
                  downloadResult);
    const double cpuMs = MP_UI_CalcTimeDifference(start);
    MP_UI_SetCalcForceMode(0);
    start = MP_UI_GetActualTime();
    executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params, -1, 0.0f, 0.0f, uploadSource,
                  downloadResult);
    const double deviceMs = MP_UI_CalcTimeDifference(start);
    const int forceCPU = MP_kernelSpeedForcesCPU(cpuMs, deviceMs, copyTime);
    if (forceCPU)
        std::printf("%s --> CPU: %.4f vs GPU: %.4f\n", name ? name : "", cpuMs, deviceMs);
    else
        std::printf("%s --> GPU: %.4f vs CPU: %.4f\n", name ? name : "", deviceMs, cpuMs);
    MP_UI_SetShowExexcuteKernelOutput(1);
    return forceCPU;
}

int OpenCLManager::partitionLineKernel(DeviceKernel kernel, unsigned, unsigned, unsigned, unsigned, DeviceQueue queue,
                                       int, float, float)
{
    if (MP_UI_GetIsCalculatingCancelRequest() == 1)
        return 0;
    // A device would run the launches of MP_planLineLaunches here; without a
    // kernel and a queue nothing can be launched.
    if (!kernel || !queue)
        m_iLastError = kClInvalidContext;
    checkErr(m_iLastError, "partitionLineKernel");
    return kDeviceRunFailed;
}

void OpenCLManager::generateKernelLocalSize(unsigned width, unsigned height, size_t* lx, size_t* ly)
{
    // No device reports work-item sizes here.
    MP_kernelLocalSize(width, height, 0, 0, 0, lx, ly);
}

// The device runs. Without a context for the method (always, here) they fail
// at once and the dispatcher repeats the run on the processor library.
int OpenCLManager::runDeviceWhole(const char*, unsigned, unsigned, float*, float*, unsigned, unsigned, MP_Params*,
                                  int, float, float, bool, bool, int method)
{
    const Device* device = deviceFor(method);
    if (!device || !device->context)
        m_iLastError = kClInvalidContext;
    checkErr(m_iLastError, "executeKernelFull");
    return kDeviceRunFailed;
}

int OpenCLManager::runDeviceStripes(const char*, unsigned, unsigned, float*, float*, unsigned, unsigned, MP_Params*,
                                    int, float, float, int, int method)
{
    const Device* device = deviceFor(method);
    if (!device || !device->context)
        m_iLastError = kClInvalidContext;
    checkErr(m_iLastError, "executeKernel");
    return kDeviceRunFailed;
}
