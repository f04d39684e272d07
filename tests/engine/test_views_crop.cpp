// Crop view, caption shadow, texture and geometry views.

#include "enginefixture.h"

#include "engine/core/samplers.h"
#include "engine/filters/filterframe.h"
#include "engine/views/viewarea.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t kBg = 0xFF123456u;

uint32_t grey(uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

std::vector<uint16_t> greyImage(int w, int h, uint16_t v) { return EngineTest::solidImage(w, h, v, v, v); }

} // namespace

class SmallViewTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetBackgroundColor(0x123456);
    }
};

TEST_F(SmallViewTest, CropViewMeasuresTheImageArea)
{
    const auto src = greyImage(30, 20, 0xFFFF);
    std::vector<uint32_t> out(400 * 400, 7u);
    float l = 9, t = 9, r = 9, b = 9;
    // Left, top and right given: only measures.
    ASSERT_EQ(MP_UI_previewCropView(400, 400, out.data(), 30, 20, src.data(), 0, 0, 1, 1, &l, &t, &r, &b), 1);
    EXPECT_FLOAT_EQ(l, 0.0f);
    EXPECT_FLOAT_EQ(t, 0.1675f);
    EXPECT_FLOAT_EQ(r, 1.0f);
    EXPECT_FLOAT_EQ(b, 0.8325f);
    for (uint32_t v : out)
        ASSERT_EQ(v, 7u);
    // With one of them missing it draws and still reports the rest.
    t = b = 9;
    ASSERT_EQ(MP_UI_previewCropView(400, 400, out.data(), 30, 20, src.data(), 0, 0, 1, 1, nullptr, &t, nullptr, &b), 1);
    EXPECT_FLOAT_EQ(t, 0.1675f);
    EXPECT_FLOAT_EQ(b, 0.8325f);
    EXPECT_EQ(out[0], kBg);
    EXPECT_EQ(out[66 * 400 + 200], kBg);
    EXPECT_EQ(out[67 * 400 + 200], grey(143)); // first image row: outside the strict crop test
    EXPECT_EQ(out[200 * 400 + 200], grey(255));
    EXPECT_EQ(out[333 * 400 + 200], kBg);
}

TEST_F(SmallViewTest, CropViewMissingSourceReportsMinusOne)
{
    const auto src = greyImage(4, 4, 0);
    std::vector<uint32_t> out(16, 7u);
    struct Case {
        uint32_t* out;
        const uint16_t* src;
        int vw, sw;
    };
    const Case cases[] = {{nullptr, src.data(), 4, 4}, {out.data(), nullptr, 4, 4}, {out.data(), src.data(), 0, 4},
                          {out.data(), src.data(), 4, 0}};
    for (const Case& c : cases) {
        float l = 0, t = 0, r = 0, b = 0;
        EXPECT_EQ(MP_UI_previewCropView(c.vw, 4, c.out, c.sw, 4, c.src, 0, 0, 1, 1, &l, &t, &r, &b), 0);
        EXPECT_FLOAT_EQ(l, -1.0f);
        EXPECT_FLOAT_EQ(t, -1.0f);
        EXPECT_FLOAT_EQ(r, -1.0f);
        EXPECT_FLOAT_EQ(b, -1.0f);
    }
    for (uint32_t v : out)
        EXPECT_EQ(v, 7u);
}

TEST_F(SmallViewTest, CropViewFrameAndEdges)
{
    std::vector<uint32_t> out(20 * 20);
    for (const auto& [v, g] : {std::pair<uint16_t, uint32_t>{0xFFFF, 143}, std::pair<uint16_t, uint32_t>{0, 16}}) {
        const auto src = greyImage(10, 10, v);
        ASSERT_EQ(MP_UI_previewCropView(20, 20, out.data(), 10, 10, src.data(), 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                        nullptr),
                  1);
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(out[i], grey(g));            // top row
            EXPECT_EQ(out[19 * 20 + i], grey(g));  // bottom row
            EXPECT_EQ(out[i * 20], grey(g));       // left column
            EXPECT_EQ(out[i * 20 + 19], grey(g));  // right column
        }
        EXPECT_EQ(out[20 + 1], grey(v >> 8));
        EXPECT_EQ(out[18 * 20 + 18], grey(v >> 8));
    }
    // All four edges at 0.5 move out by one pixel: one pixel stays inside.
    const auto src = greyImage(10, 10, 0xFFFF);
    ASSERT_EQ(MP_UI_previewCropView(20, 20, out.data(), 10, 10, src.data(), 0.5f, 0.5f, 0.5f, 0.5f, nullptr, nullptr,
                                    nullptr, nullptr),
              1);
    int inside = 0;
    for (int i = 0; i < 400; ++i)
        inside += out[i] == grey(255);
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(out[10 * 20 + 10], grey(255));
    // Just below 0.5 on the left, the edge does not move.
    ASSERT_EQ(MP_UI_previewCropView(20, 20, out.data(), 10, 10, src.data(), 0.49f, 0.0f, 1.0f, 1.0f, nullptr, nullptr,
                                    nullptr, nullptr),
              1);
    EXPECT_EQ(out[5 * 20 + 9], grey(143));
    EXPECT_EQ(out[5 * 20 + 10], grey(255));
}

TEST_F(SmallViewTest, CropViewCentresASquareInAWideView)
{
    const auto src = greyImage(8, 8, 0x8000);
    std::vector<uint32_t> out(40 * 10);
    ASSERT_EQ(MP_UI_previewCropView(40, 10, out.data(), 8, 8, src.data(), 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                    nullptr),
              1);
    EXPECT_EQ(out[5 * 40 + 14], kBg);
    EXPECT_EQ(out[5 * 40 + 15], grey((0x80 + 32) >> 1));
    EXPECT_EQ(out[5 * 40 + 16], grey(0x80));
    EXPECT_EQ(out[5 * 40 + 25], kBg);
}

TEST_F(SmallViewTest, CropViewSameForAnyThreadCount)
{
    std::vector<uint16_t> src(97 * 61 * 3);
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<uint16_t>(i * 2654435761u >> 9);
    std::vector<uint32_t> a(300 * 200), b(300 * 200);
    MP_UI_SetIdealThreadCount(1);
    MP_UI_previewCropView(300, 200, a.data(), 97, 61, src.data(), 0.1f, 0.2f, 0.7f, 0.9f, nullptr, nullptr, nullptr,
                          nullptr);
    MP_UI_SetIdealThreadCount(8);
    MP_UI_previewCropView(300, 200, b.data(), 97, 61, src.data(), 0.1f, 0.2f, 0.7f, 0.9f, nullptr, nullptr, nullptr,
                          nullptr);
    EXPECT_EQ(a, b);
}

class ShadowTest : public EngineTest {
protected:
    static constexpr int W = 21;
    std::vector<uint16_t> image = EngineTest::solidImage(30, 30, 0x8000, 0x4000, 0x1000);
    std::vector<uint16_t> mask = std::vector<uint16_t>(W * W * 3, 0);

    void setMask(int x, int y, uint16_t v) { mask[(static_cast<size_t>(y) * W + x) * 3] = v; }
    const uint16_t* px(int x, int y) const { return &image[(static_cast<size_t>(y) * 30 + x) * 3]; }
    // Mask over image columns/rows 2..22; caption box = the whole mask.
    void shade() { MP_UI_calcCropViewShadowedText(image.data(), mask.data(), 30, W, W, 2, 22, 2, 22, 2, 23, 2, 23); }
};

TEST_F(ShadowTest, DenseNeighbourhoodDarkensMost)
{
    for (int y = 0; y < W; ++y)
        for (int x = 0; x < W; ++x)
            setMask(x, y, 1);
    setMask(10, 10, 0); // image pixel (12, 12): 120 of its 121 neighbours set
    setMask(0, 0, 0);   // image pixel (2, 2): window clipped to 6 x 6, 35 set
    shade();
    EXPECT_EQ(px(12, 12)[0], (0x8000 * 2) >> 8);
    EXPECT_EQ(px(12, 12)[1], (0x4000 * 2) >> 8);
    EXPECT_EQ(px(12, 12)[2], (0x1000 * 2) >> 8);
    EXPECT_EQ(px(2, 2)[0], (0x8000 * 7) >> 8);
    EXPECT_EQ(px(5, 5)[0], 0x8000);   // glyph pixel
    EXPECT_EQ(px(0, 0)[0], 0x8000);   // outside the crop area
    EXPECT_EQ(px(25, 25)[0], 0x8000);
}

TEST_F(ShadowTest, EmptyMaskChangesNothing)
{
    const auto before = image;
    shade();
    EXPECT_EQ(image, before);
    // A caption box outside the crop area gives an empty range.
    MP_UI_calcCropViewShadowedText(image.data(), mask.data(), 30, W, W, 40, 50, 40, 50, 2, 23, 2, 23);
    EXPECT_EQ(image, before);
}

TEST_F(SmallViewTest, TextureViewFitsTheTexture)
{
    MP_UI_AllocTextureData(3, 512, 512, 6, 0);
    uint16_t* t = MP_UI_GetTexturePointer(3);
    ASSERT_NE(t, nullptr);
    for (size_t i = 0; i < 512u * 512u; ++i) {
        t[i * 3] = 0xFFFF;
        t[i * 3 + 1] = 0x8000;
        t[i * 3 + 2] = 0;
    }
    std::vector<uint32_t> out(100 * 60, 7u);
    ASSERT_EQ(MP_UI_previewTextureView(100, 60, out.data(), 3), 1);
    for (int y : {0, 30, 59}) {
        EXPECT_EQ(out[y * 100 + 19], kBg);
        EXPECT_EQ(out[y * 100 + 20], grey(0x80));
        EXPECT_EQ(out[y * 100 + 79], grey(0x80));
        EXPECT_EQ(out[y * 100 + 80], kBg);
    }
    // An empty slot or no buffer: 0, nothing drawn.
    std::vector<uint32_t> keep(100 * 60, 7u);
    EXPECT_EQ(MP_UI_previewTextureView(100, 60, keep.data(), 4), 0);
    EXPECT_EQ(MP_UI_previewTextureView(100, 60, keep.data(), 600), 0);
    EXPECT_EQ(MP_UI_previewTextureView(100, 60, nullptr, 3), 0);
    for (uint32_t v : keep)
        ASSERT_EQ(v, 7u);
}

class GeometryViewTest : public SmallViewTest {
protected:
    std::vector<uint16_t> src = greyImage(64, 64, 0x8000);
    std::vector<uint32_t> out = std::vector<uint32_t>(64 * 64, 7u);
    std::vector<float> sets = std::vector<float>(300, 0.0f);

    int draw(float intensity, const float* g, int count)
    {
        return MP_UI_previewGeometryViewGeometries(64, 64, out.data(), 64, 64, src.data(), intensity, g, count);
    }
    // Set i: direction, half sizes, sharpness, exponent, intensity, centre.
    void setSet(int i, float direction, float size, float cx, float cy)
    {
        float* s = &sets[static_cast<size_t>(i) * 8];
        s[0] = direction;
        s[1] = size;
        s[2] = size;
        s[3] = 1.0f;
        s[4] = 0.5f;
        s[5] = 1.0f;
        s[6] = cx;
        s[7] = cy;
    }
    uint32_t at(int x, int y) const { return out[static_cast<size_t>(y) * 64 + x]; }
};

TEST_F(GeometryViewTest, PlainImageWithoutArray)
{
    ASSERT_EQ(draw(0.5f, nullptr, 256), 1);
    EXPECT_EQ(at(0, 0), grey(0x80));
    EXPECT_EQ(at(40, 30), grey(0x80));
}

TEST_F(GeometryViewTest, InactiveSetsDimTheImage)
{
    struct Case {
        float intensity;
        uint32_t expected;
    };
    // (256 - g) x 0x8000 >> 17, g = int(intensity x 256), intensity held to 0..1.
    const Case cases[] = {{0.0f, 64}, {-3.0f, 64}, {NAN, 64}, {0.5f, 32}, {1.0f, 0}, {5.0f, 0}};
    for (const Case& c : cases) {
        ASSERT_EQ(draw(c.intensity, sets.data(), 256), 1);
        EXPECT_EQ(at(32, 32), grey(c.expected)) << c.intensity;
        ASSERT_EQ(draw(c.intensity, sets.data(), 0), 1);
        EXPECT_EQ(at(5, 60), grey(c.expected)) << c.intensity;
    }
}

TEST_F(GeometryViewTest, MaskShownAsGrey)
{
    setSet(0, 1.0f, 0.2f, 0.5f, 0.5f); // adding set in the middle
    ASSERT_EQ(draw(1.0f, sets.data(), 256), 1);
    EXPECT_EQ(at(32, 32), grey(127));
    EXPECT_EQ(at(1, 1), grey(0)); // outside the adding set
    // Intensity 0: the image at half brightness, no mask.
    ASSERT_EQ(draw(0.0f, sets.data(), 256), 1);
    EXPECT_EQ(at(32, 32), grey(64));
    EXPECT_EQ(at(1, 1), grey(64));
}

TEST_F(GeometryViewTest, RemovingSetAloneShowsTheRest)
{
    setSet(0, 2.0f, 0.2f, 0.5f, 0.5f);
    ASSERT_EQ(draw(1.0f, sets.data(), 256), 1);
    EXPECT_EQ(at(1, 1), grey(127));
    EXPECT_EQ(at(32, 32), grey(0));
}

TEST_F(GeometryViewTest, CountIsHeldTo256)
{
    setSet(0, 1.0f, 0.2f, 0.5f, 0.5f);
    ASSERT_EQ(draw(0.7f, sets.data(), 256), 1);
    const auto at256 = out;
    for (size_t i = 256; i < sets.size(); ++i)
        sets[i] = 12345.0f; // beyond the row: must not be read
    ASSERT_EQ(draw(0.7f, sets.data(), 300), 1);
    EXPECT_EQ(out, at256);
}

TEST_F(GeometryViewTest, FailuresDrawNothing)
{
    EXPECT_EQ(MP_UI_previewGeometryViewGeometries(64, 64, nullptr, 64, 64, src.data(), 0.5f, nullptr, 0), 0);
    EXPECT_EQ(MP_UI_previewGeometryViewGeometries(64, 64, out.data(), 64, 64, nullptr, 0.5f, nullptr, 0), 0);
    EXPECT_EQ(MP_UI_previewGeometryViewGeometries(64, 64, out.data(), 0, 64, src.data(), 0.5f, nullptr, 0), 0);
    MP_geometryTestFailAllocation(0);
    EXPECT_EQ(draw(0.5f, sets.data(), 256), 0);
    MP_geometryTestFailAllocation(-1);
    for (uint32_t v : out)
        ASSERT_EQ(v, 7u);
}

TEST_F(GeometryViewTest, SameForAnyThreadCount)
{
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<uint16_t>(i * 2654435761u >> 11);
    setSet(0, 1.0f, 0.3f, 0.4f, 0.5f);
    setSet(1, 2.0f, 0.1f, 0.45f, 0.5f);
    std::vector<uint32_t> big1(200 * 150), big8(200 * 150);
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(MP_UI_previewGeometryViewGeometries(200, 150, big1.data(), 64, 64, src.data(), 0.6f, sets.data(), 256), 1);
    MP_UI_SetIdealThreadCount(8);
    ASSERT_EQ(MP_UI_previewGeometryViewGeometries(200, 150, big8.data(), 64, 64, src.data(), 0.6f, sets.data(), 256), 1);
    EXPECT_EQ(big1, big8);
}

// The view drawn pixel by pixel as its description says: the area the source
// fills, the clamped bilinear sample at c * srcW / (aw + 1), r / (ah + 1) * srcH,
// and the mask opacity of each area pixel.
static std::vector<uint32_t> plainGeometryView(int vw, int vh, int sw, int sh, const std::vector<uint16_t>& src,
                                        float intensity, const float* geometry)
{
    std::vector<uint32_t> out(static_cast<size_t>(vw) * vh, kBg);
    const mp_views::Area a = mp_views::fitArea(vw, vh, sw, sh);
    const int aw = a.width(), ah = a.height();
    auto params = std::make_unique<MP_Params>();
    std::memset(params.get(), 0, sizeof(MP_Params));
    if (geometry) {
        std::memcpy(params->p[0], geometry, 256 * sizeof(float));
        EXPECT_EQ(MP_calcPrepareGeometry(aw, ah, 0, params.get()), 0);
    }
    const uint32_t g = static_cast<uint32_t>(intensity * 256.0f);
    for (int r = 0; r < ah; ++r) {
        const float fy = static_cast<float>(r) / static_cast<float>(ah + 1) * static_cast<float>(sh);
        for (int c = 0; c < aw; ++c) {
            const float fx = static_cast<float>(c) * (static_cast<float>(sw) / static_cast<float>(aw + 1));
            int v[3];
            MP_tex2D16intBilinearToInt(sw, sh, src.data(), &v[0], &v[1], &v[2], fx, fy);
            uint32_t ch[3];
            for (int k = 0; k < 3; ++k)
                ch[k] = static_cast<uint32_t>(v[k]) >> 8;
            if (geometry) {
                uint32_t A = 0;
                if (params->geometry_needed != 0)
                    A = static_cast<uint32_t>(static_cast<int>(
                            MP_calcGeometryMethodOpacity(c, r, aw, ah, 0, params.get()) * 65535.0f)) * g;
                for (int k = 0; k < 3; ++k)
                    ch[k] = (A + (256 - g) * static_cast<uint32_t>(v[k])) >> 17;
            }
            out[static_cast<size_t>(a.top + r) * vw + a.left + c] = 0xFF000000u | ch[0] << 16 | ch[1] << 8 | ch[2];
        }
    }
    return out;
}

TEST_F(SmallViewTest, GeometryViewEqualsThePlainPerPixelDrawing)
{
    struct Case {
        int vw, vh, sw, sh, sets;
        float directions; // < 1 additive only, 1..2 both, 3 also sets in no list
        int panorama;
    };
    const Case cases[] = {
        {1320, 732, 1224, 816, 32, 2.0f, 0}, // the painter's view of a one-megapixel result
        {331, 187, 300, 200, 32, 3.0f, 0},   {331, 187, 300, 200, 32, 3.0f, 1}, {97, 203, 64, 48, 9, 2.0f, 0},
        {200, 150, 64, 64, 3, 0.9f, 0},      {513, 64, 700, 90, 20, 2.0f, 0},   {50, 50, 50, 50, 0, 2.0f, 0},
        {120, 40, 2400, 300, 8, 2.0f, 0}, // a far smaller view: 20 source columns per pixel
        {90, 30, 4500, 300, 8, 2.0f, 0},  // 50 per pixel, beyond the vertical mixing's reach
    };
    const bool portableModes[] = {false, true};
    unsigned seed = 12345u;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;
    };
    for (const Case& c : cases) {
        MP_UI_SetPanoramaMode(c.panorama);
        std::vector<uint16_t> src(static_cast<size_t>(c.sw) * c.sh * 3);
        for (uint16_t& v : src)
            v = static_cast<uint16_t>(next() * 65536.0f);
        // Sets of every direction, shape, sharpness and size, centres also beyond the edges.
        std::vector<float> sets(256, 0.0f);
        for (int i = 0; i < c.sets; ++i) {
            float* s = &sets[static_cast<size_t>(i) * 8];
            const float d = next() * c.directions;
            s[0] = d < 1.0f ? 1.0f : (d < 2.0f ? 2.0f : 3.0f);
            s[1] = next() * next();
            s[2] = next() * next();
            s[3] = i % 5 == 0 ? 0.0f : (i % 5 == 1 ? 1.0f : next());
            s[4] = i % 4 == 0 ? 0.0f : (i % 4 == 1 ? 1.0f : next());
            s[5] = i % 7 == 0 ? 0.0f : next() * 1.5f;
            s[6] = next() * 1.4f - 0.2f;
            s[7] = next() * 1.4f - 0.2f;
        }
        for (const float intensity : {0.37f, 1.0f}) {
            for (const float* geometry : {static_cast<const float*>(sets.data()), static_cast<const float*>(nullptr)}) {
                const auto expected = plainGeometryView(c.vw, c.vh, c.sw, c.sh, src, intensity, geometry);
                for (bool portable : portableModes) {
                    mp_filters::g_filterPortable = portable;
                    std::vector<uint32_t> out(static_cast<size_t>(c.vw) * c.vh, 7u);
                    ASSERT_EQ(MP_UI_previewGeometryViewGeometries(c.vw, c.vh, out.data(), c.sw, c.sh, src.data(),
                                                                  intensity, geometry, 256),
                              1);
                    EXPECT_TRUE(out == expected) << c.vw << "x" << c.vh << " from " << c.sw << "x" << c.sh
                                                 << " intensity " << intensity << " masks " << (geometry != nullptr)
                                                 << " portable " << portable;
                }
                mp_filters::g_filterPortable = false;
            }
        }
    }
    MP_UI_SetPanoramaMode(0);
}
