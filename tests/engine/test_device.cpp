#include "enginefixture.h"

#include "engine/core/device.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFile>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

class Device : public EngineTest {};

// ---- Method choice ----------------------------------------------------------------

struct MethodCase {
    const char* what;
    double mem2, mem3;
    int force;
    const char* name;
    unsigned w, h;
    uint64_t rows;
    int method;
};

TEST_F(Device, MethodChoice)
{
    const char* point = "MP_calcPixelTMfattal";
    // need = (6 + 6) * w * rows
    const MethodCase cases[] = {
        {"no device memory", 0, 0, 0, point, 100, 100, 502, 1},
        {"processor device fits", 1e9, 0, 0, point, 100, 100, 502, 2},
        {"graphics device wins", 1e9, 1e9, 0, point, 100, 100, 502, 3},
        {"graphics device alone", 0, 1e9, 0, point, 100, 100, 502, 3},
        {"limit equal to need", 602400, 0, 0, point, 100, 100, 502, 1},
        {"limit just above need", 602401, 0, 0, point, 100, 100, 502, 2},
        {"kernel always on the processor", 1e12, 1e12, 0, "MP_calcPixelStars", 100, 100, 502, 1},
        {"force mode 2", 1, 0, 2, point, 100, 100, 502, 2},
        {"force mode 3 without memory falls back", 0, 0, 3, point, 100, 100, 502, 1},
        {"force mode does not move a processor kernel", 1e9, 1e9, 2, "MP_calcPixelStars", 100, 100, 502, 1},
        {"pixel limit", 1e30, 0, 0, point, 715827882, 1, 502, 2},
        {"above the pixel limit", 1e30, 0, 0, point, 715827883, 1, 502, 1},
        // 12 * 1,000,000 * 502 = 6,024,000,000 bytes; cut to 32 bits it would
        // be 1,729,032,704 and fit under the limit.
        {"need in 64 bits", 2e9, 0, 0, point, 1000000, 700, 502, 1},
    };
    for (const MethodCase& c : cases) {
        SCOPED_TRACE(c.what);
        MP_ResetSettingsToInitial();
        MP_UI_SetMaxMemAllocSize(2, c.mem2);
        MP_UI_SetMaxMemAllocSize(3, c.mem3);
        MP_UI_SetCalcForceMode(c.force);
        EXPECT_EQ(MP_chooseCalcMethod(c.name, c.w, c.h, 6, 6, c.rows), c.method);
        EXPECT_EQ(MP_UI_GetCalcMode(), c.method);
    }
    // A flag kernel leaves the device once its calibration flag is set.
    MP_ResetSettingsToInitial();
    MP_UI_SetMaxMemAllocSize(2, 1e12);
    EXPECT_EQ(MP_chooseCalcMethod("MP_calcPixelSharpen", 10, 10, 6, 6, 502), 2);
    forceCPU_MP_calcPixelSharpen = 1;
    EXPECT_EQ(MP_chooseCalcMethod("MP_calcPixelSharpen", 10, 10, 6, 6, 502), 1);
}

TEST_F(Device, BytesAreCountedIn64Bits)
{
    EXPECT_EQ(MP_deviceBytes(6, 6, 65536, 65536), 12ull * 65536 * 65536);
    EXPECT_EQ(MP_deviceBytes(6, 2, 1730, 1730), 8ull * 1730 * 1730);
    EXPECT_EQ(MP_deviceBytes(0xFFFFFFFFu, 0xFFFFFFFFu, 1ull << 40, 1ull << 40), UINT64_MAX);
}

TEST_F(Device, WholeImageOrStripes)
{
    MP_UI_SetMaxMemAllocSize(1, 1073741824.0);
    const char* k = "MP_calcPixelTMfattal";
    EXPECT_TRUE(MP_processWholeImage(k, 100, 100, 6, 6, 125, 1));   // 100 < 125 + 500
    EXPECT_TRUE(MP_processWholeImage(k, 100, 624, 6, 6, 125, 1));
    EXPECT_TRUE(MP_processWholeImage(k, 100, 625, 6, 6, 125, 1));   // fits the memory limit
    EXPECT_FALSE(MP_processWholeImage(k, 100, 625, 6, 6, 125, 2));  // no memory for method 2
    EXPECT_TRUE(MP_processWholeImage("MP_calcPixelVignette", 100, 5000, 6, 6, 1, 2)); // needs the whole image
    // 65536 x 65536 x 12 bytes: a 32-bit product would be 0 and "fit" under 1 GiB.
    EXPECT_FALSE(MP_processWholeImage(k, 65536, 65536, 6, 6, 1, 1));
    EXPECT_TRUE(MP_processWholeImage(k, 100, 3000, 6, 6, 2147483000, 2)); // R + 500 does not overflow
}

// ---- Stripes ---------------------------------------------------------------------

TEST_F(Device, StripeWindows)
{
    const std::vector<MP_DeviceStripe> s = MP_planDeviceStripes(1200, 100);
    ASSERT_EQ(s.size(), 3u);
    // start, top, first uploaded row, uploaded rows, stripe rows
    EXPECT_EQ((std::vector<int>{s[0].start, s[0].top, s[0].firstRow, s[0].rows, s[0].stripeRows}),
              (std::vector<int>{0, 0, 0, 600, 500}));
    EXPECT_EQ((std::vector<int>{s[1].start, s[1].top, s[1].firstRow, s[1].rows, s[1].stripeRows}),
              (std::vector<int>{500, 100, 400, 700, 500}));
    EXPECT_EQ((std::vector<int>{s[2].start, s[2].top, s[2].firstRow, s[2].rows, s[2].stripeRows}),
              (std::vector<int>{1000, 100, 900, 300, 200}));

    const std::vector<MP_DeviceStripe> one = MP_planDeviceStripes(500, 10);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].rows, 500);
    EXPECT_EQ(one[0].stripeRows, 500);
    EXPECT_TRUE(MP_planDeviceStripes(0, 10).empty());

    // Every stripe's window holds its rows and fits the device buffers, also
    // when the overlap reaches past the image's top (R larger than a stripe).
    for (auto [height, R] : {std::pair{1200u, 100}, std::pair{2000u, 600}, std::pair{501u, 1}, std::pair{999u, 500}}) {
        SCOPED_TRACE(R);
        int next = 0;
        for (const MP_DeviceStripe& st : MP_planDeviceStripes(height, R)) {
            EXPECT_EQ(st.start, next);
            EXPECT_EQ(st.firstRow + st.top, st.start);
            EXPECT_LE(st.top + st.stripeRows, st.rows);
            EXPECT_LE(static_cast<uint64_t>(st.rows), MP_deviceWindowRows(R));
            EXPECT_LE(st.firstRow + st.rows, static_cast<int>(height));
            next = st.start + st.stripeRows;
        }
        EXPECT_EQ(next, static_cast<int>(height));
    }
    EXPECT_EQ(MP_deviceWindowRows(125), 750u);
    EXPECT_FLOAT_EQ(MP_deviceStripeProgress(0, 1000, 0.2f, 0.5f), 0.45f);
    EXPECT_FLOAT_EQ(MP_deviceStripeProgress(500, 1000, 0.0f, 1.0f), 1.0f);
}

// ---- Launches and work groups ------------------------------------------------------

TEST_F(Device, LineLaunchPlan)
{
    // width 1000: groups of 256, three across (768 columns), 5 rows per launch
    // (4096 / 768); then the 232 remaining columns, 10 rows at once.
    const std::vector<MP_DeviceLaunch> l = MP_planLineLaunches(100, 1000, 10, 4096, 1024, 1024);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ((std::vector<unsigned>{l[0].offsetX, l[0].offsetY, l[0].itemsX, l[0].itemsY, l[0].groupX}),
              (std::vector<unsigned>{0, 100, 768, 5, 256}));
    EXPECT_EQ((std::vector<unsigned>{l[1].offsetX, l[1].offsetY, l[1].itemsX, l[1].itemsY, l[1].groupX}),
              (std::vector<unsigned>{0, 105, 768, 5, 256}));
    EXPECT_EQ((std::vector<unsigned>{l[2].offsetX, l[2].offsetY, l[2].itemsX, l[2].itemsY, l[2].groupX}),
              (std::vector<unsigned>{768, 100, 232, 10, 232}));

    struct Case {
        unsigned width, rows, maxPixels;
        size_t item0, group;
    };
    const Case cases[] = {
        {1000, 10, 4096, 1024, 256}, {7, 13, 20, 4, 1},   {300, 7, 50, 64, 64}, // budget below one row
        {256, 3, 1 << 20, 1024, 256}, {5, 5, 0, 1024, 1}, {1, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const std::vector<MP_DeviceLaunch> plan = MP_planLineLaunches(0, c.width, c.rows, c.maxPixels, c.item0, c.group);
        std::vector<int> covered(static_cast<size_t>(c.width) * c.rows, 0);
        for (const MP_DeviceLaunch& d : plan) {
            ASSERT_GT(d.itemsY, 0u);
            ASSERT_EQ(d.itemsX % d.groupX, 0u);
            for (unsigned y = d.offsetY; y < d.offsetY + d.itemsY; ++y)
                for (unsigned x = d.offsetX; x < d.offsetX + d.itemsX; ++x)
                    ++covered[static_cast<size_t>(y) * c.width + x];
        }
        for (int v : covered)
            ASSERT_EQ(v, 1);
    }
    EXPECT_TRUE(MP_planLineLaunches(0, 0, 10, 100, 16, 16).empty());
    EXPECT_TRUE(MP_planLineLaunches(0, 10, 0, 100, 16, 16).empty());
}

TEST_F(Device, WorkGroupSize)
{
    size_t lx = 0, ly = 0;
    // 128 x 2 and 64 x 4 both reach 256; the smaller ly is found first.
    MP_kernelLocalSize(1920, 1080, 1024, 1024, 256, &lx, &ly);
    EXPECT_EQ(lx, 128u);
    EXPECT_EQ(ly, 2u);
    MP_kernelLocalSize(1920, 1080, 1024, 1024, 1, &lx, &ly); // processor device without a group query
    EXPECT_EQ(lx * ly, 1u);
    MP_kernelLocalSize(7, 11, 1024, 1024, 256, &lx, &ly); // primes: 7 x 11 = 77
    EXPECT_EQ(lx, 7u);
    EXPECT_EQ(ly, 11u);
    MP_kernelLocalSize(1920, 1080, 0, 0, 256, &lx, &ly); // no sizes reported
    EXPECT_EQ(lx, 1u);
    EXPECT_EQ(ly, 1u);
    lx = ly = 9;
    OpenCLManager::getInstance()->generateKernelLocalSize(640, 480, &lx, &ly);
    EXPECT_EQ(lx, 1u);
    EXPECT_EQ(ly, 1u);
}

TEST_F(Device, CalibrationRule)
{
    EXPECT_EQ(MP_kernelSpeedForcesCPU(10.0, 20.0, 0.0), 1);  // processor twice as fast
    EXPECT_EQ(MP_kernelSpeedForcesCPU(19.6, 20.0, 0.0), 0);  // ratio 0.98 keeps the device
    EXPECT_EQ(MP_kernelSpeedForcesCPU(19.5, 20.0, 0.0), 1);
    EXPECT_EQ(MP_kernelSpeedForcesCPU(10.0, 20.0, 10.0), 0); // the copy time counts for the device
    EXPECT_EQ(MP_kernelSpeedForcesCPU(0.0, 0.0, 0.0), 0);    // undefined
    EXPECT_EQ(MP_kernelSpeedForcesCPU(5.0, 0.0, 0.0), 0);
}

// ---- Start-up of a device (none here) ------------------------------------------------

TEST_F(Device, NoDeviceIsFound)
{
    OpenCLManager* m = OpenCLManager::getInstance();
    MP_UI_SetMaxMemAllocSize(2, 5e8);
    MP_UI_SetMaxMemAllocSize(3, 5e8);
    testing::internal::CaptureStdout();
    EXPECT_EQ(m->init(2), -1);
    EXPECT_EQ(m->init(3), -1);
    EXPECT_EQ(m->setMaxMemAllocSize(3), -1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(std::string(61, '_') + "\nOpenCLManager::init\nInitializing OpenCL: CPU\n"), std::string::npos);
    EXPECT_NE(out.find("Initializing OpenCL: GPU\n"), std::string::npos);
    EXPECT_NE(out.find("OpenCLManager::setMaxMemAllocSize\nDevice Type: 4\n"), std::string::npos);
    EXPECT_EQ(MP_UI_GetMaxMemAllocSize(3), 0.0);
    EXPECT_EQ(MP_UI_GetMaxMemAllocSize(2), 5e8);

    MP_UI_SetPixelPerKernelPack(100);
    testing::internal::CaptureStdout();
    m->calcPixelPerKernelPack();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "MaxPixelPerKernelPack: 8192\n");
    EXPECT_EQ(MP_UI_GetPixelPerKernelPack(), 8192);

    EXPECT_EQ(m->getWriteEventList(), nullptr);
    EXPECT_EQ(m->getKernelEventListSize(), 0);
    EXPECT_EQ(m->LoadOpenCL_DLL(), 1);

    testing::internal::CaptureStdout();
    EXPECT_EQ(m->checkErr(0, "x"), 1);
    EXPECT_EQ(m->checkErr(-5, "clFinish"), 0);
    EXPECT_TRUE(m->checkFuncPtr(m, "f"));
    EXPECT_FALSE(m->checkFuncPtr(nullptr, "g"));
    EXPECT_EQ(m->partitionLineKernel(nullptr, 0, 10, 10, 100, nullptr, -1, 0, 1), -6);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("ERROR checkErr: clFinish (-5)\n"), std::string::npos);
    EXPECT_NE(log.find("SUCCESS checkFuncPtr: f "), std::string::npos);
    EXPECT_NE(log.find("ERROR checkFuncPtr: g "), std::string::npos);

    // Without a device the comparison leaves every flag alone.
    forceCPU_MP_calcPixelSharpen = 1;
    testing::internal::CaptureStdout();
    m->compareKernelSpeeds();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(forceCPU_MP_calcPixelSharpen, 1);
    EXPECT_EQ(forceCPU_MP_calcPixelNegative, 0);
}

TEST_F(Device, CheckKernelSpeedRestoresTheSwitches)
{
    std::vector<uint16_t> img = solidImage(4, 4, 1, 2, 3);
    MP_Params p{};
    MP_UI_SetShowExexcuteKernelOutput(0);
    testing::internal::CaptureStdout();
    const int r = OpenCLManager::getInstance()->checkKernelSpeed(
        "MP_calcPixelNegative", 4, 4, reinterpret_cast<float*>(img.data()), reinterpret_cast<float*>(img.data()), 6,
        6, &p, true, true, 0.0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(r == 0 || r == 1);
    EXPECT_NE(out.find("MP_calcPixelNegative --> "), std::string::npos);
    EXPECT_EQ(out.find(" ms MP_calcPixelNegative/"), std::string::npos); // no timing lines while measuring
    EXPECT_EQ(MP_UI_GetShowExexcuteKernelOutput(), 1);
    EXPECT_EQ(MP_UI_GetCalcForceMode(), 0);
}

// ---- kernel.ini ---------------------------------------------------------------------

class KernelIni : public EngineTest {
protected:
    QString path;
    void SetUp() override
    {
        EngineTest::SetUp();
        path = lumivex::platform::userSettingsFolder() + "kernel.ini";
        QDir(path).removeRecursively();
        QFile::remove(path);
    }
    void TearDown() override
    {
        QDir(path).removeRecursively();
        QFile::remove(path);
        EngineTest::TearDown();
    }
    void writeFile(const QByteArray& text)
    {
        lumivex::platform::ensureFolder(lumivex::platform::userSettingsFolder());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // The entries of the file as text, key -> value.
    std::map<std::string, std::string> entries()
    {
        std::map<std::string, std::string> e;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return e;
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (const QByteArray& line : lines) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                e[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
        }
        return e;
    }
    int fileValue(const char* key)
    {
        const auto e = entries();
        const auto it = e.find(key);
        return it == e.end() ? -99 : std::stoi(it->second);
    }
};

} // namespace

TEST_F(KernelIni, MissingFileLoadsNothing)
{
    forceCPU_MP_calcPixelSharpen = 1;
    EXPECT_FALSE(OpenCLManager::getInstance()->kernelSpeedFromSettings());
    EXPECT_EQ(forceCPU_MP_calcPixelSharpen, 1);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(KernelIni, WritesTheCounterAndAll48Flags)
{
    forceCPU_MP_loaded = 4;
    forceCPU_MP_calcPixelSharpen = 1;
    forceCPU_MP_calcPixelLocalWhiteBalance = 1;
    forceCPU_MP_calcPixelFastHDRabsdist = 1;
    ASSERT_TRUE(OpenCLManager::getInstance()->kernelSpeedToSettings());
    EXPECT_EQ(entries().size(), 49u);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readLine().startsWith("[General]"));
    EXPECT_EQ(fileValue("forceCPU_MP_loaded"), 4);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelSharpen"), 1);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelLocalWhiteBalance"), 1);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelFastHDRabsdist"), 1);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelNegative"), 0);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelHDRaverage"), 0);
}

TEST_F(KernelIni, LoadingReadsTheFirst38FlagsAndCountsTheLoads)
{
    writeFile("[General]\nforceCPU_MP_loaded=3\nforceCPU_MP_calcPixelSharpen=1\n"
              "forceCPU_MP_calcPixelLocalWhiteBalance=1\nforceCPU_MP_calcPixelHDRaverage=1\n"
              "forceCPU_MP_calcPixelFastHDRentropy=1\n");
    ASSERT_TRUE(OpenCLManager::getInstance()->kernelSpeedFromSettings());
    EXPECT_EQ(forceCPU_MP_loaded, 4);
    EXPECT_EQ(forceCPU_MP_calcPixelSharpen, 1);
    EXPECT_EQ(forceCPU_MP_calcPixelLocalWhiteBalance, 1);
    EXPECT_EQ(MP_UI_checkKernelForcesCPU("MP_calcPixelLocalWhitebalance"), 1);
    EXPECT_EQ(forceCPU_MP_calcPixelHDRaverage, 1);
    EXPECT_EQ(forceCPU_MP_calcPixelFastHDRentropy, 0); // written, never read back
    EXPECT_EQ(forceCPU_MP_calcPixelNegative, 0);        // missing key
    // The count is written back; the other entries stay.
    EXPECT_EQ(fileValue("forceCPU_MP_loaded"), 4);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelFastHDRentropy"), 1);
    EXPECT_EQ(fileValue("forceCPU_MP_calcPixelSharpen"), 1);
}

TEST_F(KernelIni, TwentiethLoadAsksForANewCalibration)
{
    writeFile("[General]\nforceCPU_MP_loaded=18\nforceCPU_MP_calcPixelSharpen=1\n");
    OpenCLManager* m = OpenCLManager::getInstance();
    ASSERT_TRUE(m->kernelSpeedFromSettings());
    EXPECT_EQ(forceCPU_MP_loaded, 19);
    EXPECT_EQ(fileValue("forceCPU_MP_loaded"), 19);
    forceCPU_MP_calcPixelSharpen = 0;
    EXPECT_FALSE(m->kernelSpeedFromSettings());
    EXPECT_EQ(forceCPU_MP_loaded, 0);
    EXPECT_EQ(forceCPU_MP_calcPixelSharpen, 0); // flags not read
}

TEST_F(KernelIni, DamagedValuesAreReadSafely)
{
    writeFile("[General]\nforceCPU_MP_loaded=abc\nforceCPU_MP_calcPixelSharpen=7\n"
              "forceCPU_MP_calcPixelNegative=-3\nforceCPU_MP_calcPixelSepia=x\n[Other]\nkey=1\n");
    ASSERT_TRUE(OpenCLManager::getInstance()->kernelSpeedFromSettings());
    EXPECT_EQ(forceCPU_MP_loaded, 1);
    EXPECT_EQ(forceCPU_MP_calcPixelSharpen, 1);
    EXPECT_EQ(forceCPU_MP_calcPixelNegative, 1);
    EXPECT_EQ(forceCPU_MP_calcPixelSepia, 0);

    writeFile("[General]\nforceCPU_MP_loaded=-5000000000000\n");
    ASSERT_TRUE(OpenCLManager::getInstance()->kernelSpeedFromSettings());
    EXPECT_EQ(forceCPU_MP_loaded, 1);
    writeFile("[General]\nforceCPU_MP_loaded=99999999999999999999\n");
    EXPECT_TRUE(OpenCLManager::getInstance()->kernelSpeedFromSettings()); // unreadable: 0
}

TEST_F(KernelIni, FailedWriteIsReportedAndChangesNothing)
{
    // A folder where the file should be: the write cannot happen.
    ASSERT_TRUE(QDir().mkpath(path));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenCLManager::getInstance()->kernelSpeedToSettings());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("kernel.ini could not be written"), std::string::npos);
    EXPECT_TRUE(QFileInfo(path).isDir());
}
