#include "enginefixture.h"

#include <limits>
#include <type_traits>
#include <vector>

namespace {

class Settings : public EngineTest {};

TEST_F(Settings, CalcModeFallsBackToTheCpu)
{
    MP_UI_SetMaxMemAllocSize(2, 0);
    MP_UI_SetMaxMemAllocSize(3, 0);
    MP_UI_SetCalcMode(2);
    EXPECT_EQ(MP_UI_GetCalcMode(), 1);
    MP_UI_SetCalcMode(3);
    EXPECT_EQ(MP_UI_GetCalcMode(), 1);
    MP_UI_SetCalcMode(7);
    EXPECT_EQ(MP_UI_GetCalcMode(), 1);
    MP_UI_SetMaxMemAllocSize(2, 1e9);
    MP_UI_SetCalcMode(3);
    EXPECT_EQ(MP_UI_GetCalcMode(), 2);
}

TEST_F(Settings, MemoryLimitIndexOutsideTheMethodsIsIgnored)
{
    MP_UI_SetMaxMemAllocSize(1, 1073741824.0);
    EXPECT_NEAR(MP_UI_GetMegapixelMaxMemAllocSize(1), 89.478485, 1e-6);
    MP_UI_SetMaxMemAllocSize(4, 5.0);
    MP_UI_SetMaxMemAllocSize(-1, 5.0);
    EXPECT_EQ(MP_UI_GetMaxMemAllocSize(4), 0.0);
    EXPECT_EQ(MP_UI_GetMaxMemAllocSize(-1), 0.0);
    EXPECT_EQ(MP_UI_GetMegapixelMaxMemAllocSize(9), 0.0);
}

TEST_F(Settings, SettersClampAsTheyShould)
{
    MP_UI_SetPreviewSize(0.05f);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewSize(), 0.1f);
    MP_UI_SetPreviewScalingFactor(1.5f);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactor(), 1.0f);
    MP_UI_SetPreviewScalingFactor(-0.2f);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactor(), 0.0f);
    MP_UI_SetHDRGammaValue(0.0f);
    EXPECT_FLOAT_EQ(MP_UI_GetHDRGammaValue(), 0.01f);
    MP_UI_SetHDRGammaValue(12.0f);
    EXPECT_FLOAT_EQ(MP_UI_GetHDRGammaValue(), 9.99f);
    MP_UI_SetCompressionLevel(9);
    EXPECT_EQ(MP_UI_GetCompressionLevel(), 5);
    MP_UI_SetCompressionLevel(-3);
    EXPECT_EQ(MP_UI_GetCompressionLevel(), 0);
    MP_UI_SetTM3dIterations(-1);
    EXPECT_EQ(MP_UI_GetTM3dIterations(), 0);
    MP_UI_SetIdealThreadCount(0);
    EXPECT_EQ(MP_UI_GetIdealThreadCount(), 1);
}

// Every float setting of the store, from the settings list.
struct FloatSetting {
    const char* name;
    void (*set)(float);
    float (*get)();
};

template <typename T>
void addFloatSetting(std::vector<FloatSetting>& out, const char* name, void (*set)(T), T (*get)())
{
    if constexpr (std::is_same_v<T, float>)
        out.push_back({name, set, get});
}

std::vector<FloatSetting> floatSettings()
{
    std::vector<FloatSetting> out;
#define X(Name, global, type, initial, start, rule) addFloatSetting<type>(out, #Name, MP_UI_Set##Name, MP_UI_Get##Name);
#include "engine/core/settings_list.h"
#undef X
    return out;
}

// A settings file can hold NaN: a float setter given one keeps what it had, so
// no clamp lets it through to the views and kernels that read the value.
TEST_F(Settings, NaNKeepsThePreviousValueOfEveryFloatSetting)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const FloatSetting& s : floatSettings()) {
        SCOPED_TRACE(s.name);
        s.set(0.5f);
        const float kept = s.get();
        s.set(nan);
        EXPECT_EQ(s.get(), kept);
        s.set(-nan);
        EXPECT_EQ(s.get(), kept);
    }
    MP_UI_SetHDRGammaValue(2.2f);
    MP_UI_SetHDRGammaValue(nan);
    EXPECT_FLOAT_EQ(MP_UI_GetHDRGammaValue(), 2.2f);

    MP_UI_SetMaxMemAllocSize(2, 1e9);
    MP_UI_SetMaxMemAllocSize(2, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(MP_UI_GetMaxMemAllocSize(2), 1e9);
}

TEST_F(Settings, InitialAndStartValues)
{
    EXPECT_EQ(MP_UI_GetCalcMode(), 0);
    EXPECT_FLOAT_EQ(MP_UI_GetKernelSampleRate(), 0.5f);
    EXPECT_FLOAT_EQ(MP_UI_GetKernelExponent(), 1.0f);
    EXPECT_EQ(MP_UI_GetLoadedIsHDRMode(), 1);
    MP_ApplySettingStartValues(0);
    EXPECT_EQ(MP_UI_GetIdealThreadCount(), 1);
    EXPECT_FLOAT_EQ(MP_UI_GetKernelSampleRate(), 0.8f);
    EXPECT_FLOAT_EQ(MP_UI_GetKernelExponent(), 4.0f);
    EXPECT_FLOAT_EQ(MP_UI_GetHDRGammaValue(), 2.2f);
    EXPECT_EQ(MP_UI_GetLoadedIsHDRMode(), 0);
    EXPECT_EQ(MP_UI_GetTM3dIterations(), 2);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactor(), 1.0f); // not a start value
    EXPECT_EQ(MP_UI_GetCalcMode(), 0);
}

struct SizeCase {
    int w, h;
    int ew, eh;
    int mode; // expected image size mode (starting from 7)
};

class CalcImageSize : public EngineTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(CalcImageSize, HalvesIntoTheDisplayLimits)
{
    const SizeCase& c = GetParam();
    MP_UI_SetImageSizeMode(7);
    unsigned int w = 0, h = 0;
    MP_UI_CalcImageSize(c.w, c.h, &w, &h);
    EXPECT_EQ(int(w), c.ew);
    EXPECT_EQ(int(h), c.eh);
    EXPECT_EQ(MP_UI_GetImageSizeMode(), c.mode);
    int sw = 0, sh = 0;
    MP_UI_CalcImageSizeSigned(c.w, c.h, &sw, &sh);
    EXPECT_EQ(sw, c.ew);
    EXPECT_EQ(sh, c.eh);
}

INSTANTIATE_TEST_SUITE_P(Cases, CalcImageSize,
                         ::testing::Values(SizeCase{20000, 300, 10000, 150, 2}, SizeCase{30000, 30000, 15000, 15000, 2},
                                           SizeCase{400, 300, 400, 300, 7}, SizeCase{4000, 3000, 4000, 3000, 1},
                                           SizeCase{40000, 40000, 10000, 10000, 4}));

TEST_F(Settings, ColourVariants)
{
    EXPECT_EQ(MP_UI_GetLineColor(0), 0x474747);
    EXPECT_EQ(MP_UI_GetLineColor(2), 0xD6D6D6);
    EXPECT_EQ(MP_UI_GetLineColor(1), 0x8F8F8F);
    MP_UI_SetBackgroundColor(0x7F123456);
    EXPECT_EQ(MP_UI_GetBackgroundColor(), 0x123456);
    MP_UI_SetBorderColor(int(0xFFC0C0C0));
    EXPECT_EQ(MP_UI_GetBorderColor(2), 0xFFFFFF);
}

TEST_F(Settings, ThreadsFromMemoryStayInRange)
{
    EXPECT_EQ(MP_UI_getPossibleThreadsFromMemorySize(1, 1, 1), 32);
    const int huge = MP_UI_getPossibleThreadsFromMemorySize(65535, 65535, 65535);
    EXPECT_EQ(huge, 1);
    const int mid = MP_UI_getPossibleThreadsFromMemorySize(6000, 4000, 6);
    EXPECT_GE(mid, 1);
    EXPECT_LE(mid, 32);
}

TEST_F(Settings, DiskSpaceOfAMissingPathIsMinusOne)
{
    double total = 0, free = 0;
    MP_UI_GetDiskSpaceInformationInGB("/no/such/folder/anywhere", &total, &free);
    EXPECT_EQ(total, -1.0);
    EXPECT_EQ(free, -1.0);
    MP_UI_GetDiskSpaceInformationInGB("/", &total, &free);
    EXPECT_GT(total, 0.0);
    EXPECT_GE(total, free);
}

TEST_F(Settings, TestSwitches)
{
    MP_UI_SetTestMode(3);
    MP_UI_SetTestMode(-1);
    MP_UI_SetTestMode(32);
    EXPECT_EQ(MP_UI_GetTestMode(3), 8);
    EXPECT_EQ(MP_UI_GetTestMode(2), 0);
    EXPECT_EQ(MP_UI_GetTestMode(40), 0);
    MP_UI_SetTestModeAbsolut(int(0x80000000u));
    EXPECT_NE(MP_UI_GetTestMode(31), 0);
}

TEST_F(Settings, MemoryInformationReadsTheSystem)
{
    float total = 0, usable = 0;
    ASSERT_EQ(MP_UI_GetMemoryInformation(&total, &usable), 0);
    EXPECT_GT(total, 0.0f);
    EXPECT_GE(usable, 1024.0f);
    EXPECT_EQ(MP_UI_GetMemoryInformation(nullptr, nullptr), 0);
}

} // namespace
