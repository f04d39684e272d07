// The banded row copy the chain buffer and other full-image copies use.

#include "engine/MP_calc.h"
#include "engine/core/conversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Pattern(size_t bytes)
{
    std::vector<uint8_t> v(bytes);
    uint32_t s = 77;
    for (uint8_t& b : v) {
        s = s * 1664525u + 1013904223u;
        b = uint8_t(s >> 24);
    }
    return v;
}

} // namespace

TEST(CopyRows, CopiesEveryRowWhateverTheThreadCount)
{
    const int before = MP_UI_GetIdealThreadCount();
    const struct {
        size_t rowBytes;
        int rows;
    } cases[] = {{6 * 997, 613}, {6 * 1201, 5}, {6, 1}, {3, 4000}};
    for (int threads : {1, 3, 4, 8}) {
        MP_UI_SetIdealThreadCount(threads);
        for (const auto& c : cases) {
            const std::vector<uint8_t> src = Pattern(c.rowBytes * size_t(c.rows));
            std::vector<uint8_t> dst(src.size() + 16, 0xEE);
            MP_MT_copyRows(src.data(), dst.data(), c.rowBytes, c.rows);
            EXPECT_EQ(std::memcmp(dst.data(), src.data(), src.size()), 0) << threads << " " << c.rows;
            for (size_t i = src.size(); i < dst.size(); ++i)
                ASSERT_EQ(dst[i], 0xEE) << "written past the last row";
        }
    }
    MP_UI_SetIdealThreadCount(before);
}

TEST(CopyRows, RunsToTheEndWhileACancelRequestIsSet)
{
    // The kernels' passes drop their tasks on a cancel request; a copy whose
    // caller goes on with the buffer must not.
    const std::vector<uint8_t> src = Pattern(6 * 640 * 480);
    std::vector<uint8_t> dst(src.size(), 0);
    MP_UI_SetIsCalculatingCancelRequest(1);
    MP_MT_copyRows(src.data(), dst.data(), 6 * 640, 480);
    MP_UI_SetIsCalculatingCancelRequest(0);
    EXPECT_EQ(dst, src);
}

TEST(CopyRows, NullOrEmptyDoesNothing)
{
    std::vector<uint8_t> dst(64, 1);
    const std::vector<uint8_t> src(64, 2);
    MP_MT_copyRows(nullptr, dst.data(), 8, 8);
    MP_MT_copyRows(src.data(), nullptr, 8, 8);
    MP_MT_copyRows(src.data(), dst.data(), 0, 8);
    MP_MT_copyRows(src.data(), dst.data(), 8, 0);
    MP_MT_copyRows(src.data(), dst.data(), 8, -3);
    EXPECT_EQ(dst, std::vector<uint8_t>(64, 1));
}
