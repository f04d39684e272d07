// Panorama projection: uniform colour everywhere (seam and poles included),
// the start view's centre, partial blocks, thread independence, bad input.

#include "enginefixture.h"

#include <cmath>

class PanoramaViewTest : public EngineTest {};

TEST_F(PanoramaViewTest, UniformSourceGivesOneColourEverywhere)
{
    const auto src = solidImage(360, 180, 0x20FF, 0x80FF, 0xC0FF);
    struct View {
        float yaw, pitch, zoom;
    };
    const View views[] = {{0.0f, 0.0f, 1.0f},         {3.14159f, 0.0f, 1.0f},  {-3.0f, 0.3f, 0.5f},
                          {0.0f, 1.5707963f, 1.0f},   {1.0f, -1.5707963f, 1.0f}, {6.5f, 0.9f, 3.0f}};
    std::vector<uint32_t> out(128 * 64);
    for (const View& v : views) {
        std::fill(out.begin(), out.end(), 0u);
        MP_MT_CalcPanoramaView(128, 64, 128, 360, 180, src.data(), v.yaw, v.pitch, v.zoom, out.data());
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], 0xFF2080C0u) << v.yaw << "," << v.pitch << " pixel " << i;
    }
}

TEST_F(PanoramaViewTest, StartViewLooksAtTheMiddle)
{
    // Red holds the column / 2, green the row.
    std::vector<uint16_t> src(360 * 180 * 3);
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 360; ++x) {
            uint16_t* p = &src[(static_cast<size_t>(y) * 360 + x) * 3];
            p[0] = static_cast<uint16_t>((x / 2) << 8);
            p[1] = static_cast<uint16_t>(y << 8);
            p[2] = 0;
        }
    std::vector<uint32_t> out(256 * 128);
    MP_MT_CalcPanoramaView(256, 128, 256, 360, 180, src.data(), -1.57f, 0.0f, 1.0f, out.data());
    const uint32_t c = out[64 * 256 + 128];
    EXPECT_NEAR(static_cast<int>((c >> 16) & 255), 90, 1);
    EXPECT_NEAR(static_cast<int>((c >> 8) & 255), 90, 1);
}

TEST_F(PanoramaViewTest, SidesThatAreNotBlockMultiplesStayInside)
{
    const auto src = solidImage(200, 100, 0xFFFF, 0, 0);
    const int w = 40, h = 24, stride = 48, rows = 30;
    std::vector<uint32_t> out(static_cast<size_t>(stride) * rows, 7u);
    MP_MT_CalcPanoramaView(w, h, stride, 200, 100, src.data(), 0.3f, 0.2f, 1.0f, out.data());
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < stride; ++x) {
            const uint32_t expected = (y < h && x < w) ? 0xFFFF0000u : 7u;
            ASSERT_EQ(out[static_cast<size_t>(y) * stride + x], expected) << x << "," << y;
        }
}

TEST_F(PanoramaViewTest, SameForAnyThreadCount)
{
    std::vector<uint16_t> src(300 * 150 * 3);
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<uint16_t>(i * 2654435761u >> 7);
    std::vector<uint32_t> a(160 * 80), b(160 * 80);
    for (float yaw : {0.0f, 3.1f, -2.0f}) {
        MP_UI_SetIdealThreadCount(1);
        MP_MT_CalcPanoramaView(160, 80, 160, 300, 150, src.data(), yaw, 1.2f, 0.7f, a.data());
        MP_UI_SetIdealThreadCount(8);
        MP_MT_CalcPanoramaView(160, 80, 160, 300, 150, src.data(), yaw, 1.2f, 0.7f, b.data());
        EXPECT_EQ(a, b) << yaw;
    }
}

TEST_F(PanoramaViewTest, BadInputDrawsNothing)
{
    const auto src = solidImage(8, 4, 0xFFFF, 0xFFFF, 0xFFFF);
    std::vector<uint32_t> out(32 * 16, 7u);
    MP_MT_CalcPanoramaView(32, 16, 32, 0, 4, src.data(), 0, 0, 1, out.data());
    MP_MT_CalcPanoramaView(32, 16, 32, 8, -1, src.data(), 0, 0, 1, out.data());
    MP_MT_CalcPanoramaView(32, 16, 32, 8, 4, nullptr, 0, 0, 1, out.data());
    MP_MT_CalcPanoramaView(32, 16, 16, 8, 4, src.data(), 0, 0, 1, out.data());
    MP_MT_CalcPanoramaView(32, 16, 32, 8, 4, src.data(), NAN, 0, 1, out.data());
    MP_MT_CalcPanoramaView(32, 16, 32, 8, 4, src.data(), 0, 0, 0, out.data());
    MP_MT_CalcPanoramaView(0, 16, 32, 8, 4, src.data(), 0, 0, 1, out.data());
    for (uint32_t v : out)
        ASSERT_EQ(v, 7u);
}
