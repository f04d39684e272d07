// Exposure pixmaps, histograms and geometry.

#include "documentfixture.h"

#include <QImage>

#include <thread>

namespace {

class GeometryTest : public DocumentTest {
protected:
    // An exposure whose pixels and manual maps all differ.
    std::unique_ptr<CExposure> patterned(int w, int h)
    {
        auto e = exposureOf(rgb8(w, h, [](int x, int y) { return unsigned(x * 0x010203 + y * 0x070501) & 0xFFFFFFu; }));
        if (!e)
            return e;
        for (size_t i = 0; i < e->PixelCount(); ++i)
            e->m_psMWeightBuffer[i] = short(i * 7 - 1000);
        for (size_t i = 0; i < e->PreviewPixelCount(); ++i)
            e->m_psMWeightPreviewBuffer[i] = short(i * 3 + 1);
        return e;
    }

    struct Snapshot {
        unsigned w, h, pw, ph;
        std::vector<unsigned short> image, preview;
        std::vector<short> manual, manualPreview;
        bool operator==(const Snapshot&) const = default;
    };
    static Snapshot snap(const CExposure& e)
    {
        return {e.m_uiWidth,
                e.m_uiHeight,
                e.m_uiPreviewWidth,
                e.m_uiPreviewHeight,
                std::vector<unsigned short>(e.m_pusBuffer, e.m_pusBuffer + e.PixelCount() * 3),
                std::vector<unsigned short>(e.m_pusPreviewBuffer, e.m_pusPreviewBuffer + e.PreviewPixelCount() * 3),
                std::vector<short>(e.m_psMWeightBuffer, e.m_psMWeightBuffer + e.PixelCount()),
                std::vector<short>(e.m_psMWeightPreviewBuffer, e.m_psMWeightPreviewBuffer + e.PreviewPixelCount())};
    }
};

// Records what reaches the GUI-thread pixmap creator.
struct HandOffRecorder : IPixmapHandOff {
    HandOffRecorder() : previous(CPixmapHandOff::SetHandOff(this)) {}
    ~HandOffRecorder() override { CPixmapHandOff::SetHandOff(previous); }
    QPixmap ToPixmap(const QImage& image) override
    {
        images.push_back(image.copy());
        return QPixmap();
    }
    std::vector<QImage> images;
    IPixmapHandOff* previous;
};

} // namespace

TEST(ScaledSize, FitsTheBoxAndNeverEnlarges)
{
    struct Case {
        int w, h;
        int ew, eh;
        bool result;
    };
    for (Case c : {Case{800, 800, 800, 600, true}, Case{800, 200, 266, 200, true}, Case{5000, 100, 4000, 3000, true},
                   Case{-1, -1, 4000, 3000, false}, Case{0, 10, 4000, 3000, true}, Case{100, 0, 4000, 3000, true},
                   Case{4000, 3000, 4000, 3000, true}}) {
        SCOPED_TRACE(c.w * 10000 + c.h);
        int w = c.w, h = c.h;
        EXPECT_EQ(IExposure::GetScaledSize(w, h, 4000, 3000), c.result);
        EXPECT_EQ(w, c.ew);
        EXPECT_EQ(h, c.eh);
    }
}

TEST_F(GeometryTest, PixmapsChooseTheirBufferAndBackground)
{
    auto e = exposureOf(rgb8(1200, 900, [](int, int) { return 0x00FF00u; }));
    ASSERT_TRUE(e);
    ASSERT_LT(e->m_uiPreviewWidth, 1200u);
    // Mark the preview red so the two buffers tell apart.
    for (size_t i = 0; i < e->PreviewPixelCount(); ++i) {
        e->m_pusPreviewBuffer[3 * i] = 0xFF00;
        e->m_pusPreviewBuffer[3 * i + 1] = 0;
    }
    IExposure::sm_pbBackgroundColor[0] = 1;

    const QImage small = e->CreatePixmap(300, 300).toImage();
    ASSERT_EQ(small.size(), QSize(300, 225));
    EXPECT_EQ(qRed(small.pixel(10, 10)), 255); // preview, though the flag is off
    const QImage large = e->CreatePixmap(900, 900).toImage();
    ASSERT_EQ(large.size(), QSize(900, 675));
    EXPECT_EQ(qGreen(large.pixel(10, 10)), 255);
    const QImage other = e->CreatePixmap(600, 600).toImage();
    EXPECT_EQ(other.size(), QSize(600, 450));
    EXPECT_EQ(IExposure::sm_pbBackgroundColor[0], 1); // unchanged

    const QImage native = e->CreatePixmap(-1, -1).toImage();
    EXPECT_EQ(native.size(), QSize(1200, 900));
    EXPECT_EQ(IExposure::sm_pbBackgroundColor[0], 0);
    EXPECT_EQ(IExposure::sm_pbBackgroundColor[1], 255);

    // Under the preview flag the working buffer is the preview.
    settings.values.bPreviewMode = true;
    const QImage working = e->CreatePixmap(-1, -1).toImage();
    EXPECT_EQ(working.width(), int(e->m_uiPreviewWidth));
    EXPECT_EQ(qRed(working.pixel(3, 3)), 255);

    const QImage hist = e->CreateHistogram(-1, -1, true, true, true, true, false).toImage();
    EXPECT_FALSE(hist.isNull());
    EXPECT_EQ(IExposure::sm_pbBackgroundColor[0], 46);
    EXPECT_TRUE(IExposure::CreateHistogram(nullptr, 10, 10, 10, 10, true, true, true, true, false).isNull());
}

TEST_F(GeometryTest, RenderBufferGrowsForLargerRenders)
{
    auto e = exposureOf(rgb8(20, 10, [](int, int) { return 0x102030u; }));
    ASSERT_TRUE(e);
    const size_t before = IExposure::sm_stRGBABytes;
    std::vector<unsigned short> big(size_t(700) * 500 * 3, 0x8000);
    const QImage image = IExposure::CreatePixmap(big.data(), 700, 500, 700, 500).toImage();
    ASSERT_EQ(image.size(), QSize(700, 500));
    EXPECT_EQ(qRed(image.pixel(699, 499)), 0x80);
    EXPECT_GE(IExposure::sm_stRGBABytes, std::max(before, size_t(700) * 500 * 4));
}

TEST_F(GeometryTest, WorkerRenderHandsOffACopy)
{
    auto e = exposureOf(rgb8(40, 30, [](int x, int) { return x < 20 ? 0xFF0000u : 0x0000FFu; }));
    ASSERT_TRUE(e);
    HandOffRecorder handOff;
    std::thread worker([&] { e->CreatePixmap(-1, -1); });
    worker.join();
    ASSERT_EQ(handOff.images.size(), 1u);
    const QImage& image = handOff.images[0];
    EXPECT_EQ(image.size(), QSize(40, 30));
    EXPECT_EQ(qRed(image.pixel(0, 0)), 255);
    EXPECT_EQ(qBlue(image.pixel(39, 0)), 255);
    // The render buffer is free again.
    EXPECT_TRUE(IExposure::sm_RenderMutex.tryLock());
    IExposure::sm_RenderMutex.unlock();
}

TEST_F(GeometryTest, WeightmapRender)
{
    auto e = exposureOf(rgb8(40, 30, [](int, int) { return 0u; }));
    ASSERT_TRUE(e);
    for (size_t i = 0; i < e->PixelCount(); ++i) {
        e->m_pusAWeightBuffer[i] = 0x4000;
        e->m_psMWeightBuffer[i] = 0x1000;
    }
    const QImage image = e->CreatePixmapFromWeightmap(-1, -1).toImage();
    ASSERT_EQ(image.size(), QSize(40, 30));
    EXPECT_EQ(qRed(image.pixel(5, 5)), 0x60); // automatic + 2 x manual
}

TEST_F(GeometryTest, TransformsUndoExactly)
{
    auto e = patterned(37, 23);
    ASSERT_TRUE(e);
    const Snapshot start = snap(*e);
    struct Pair {
        const char* name;
        int (CExposure::*first)();
        int (CExposure::*second)();
    };
    for (Pair p : {Pair{"mirror", &CExposure::Mirror, &CExposure::Mirror}, Pair{"flip", &CExposure::Flip, &CExposure::Flip},
                   Pair{"right-left", &CExposure::RotateRight, &CExposure::RotateLeft},
                   Pair{"left-right", &CExposure::RotateLeft, &CExposure::RotateRight}}) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(((*e).*p.first)(), 0);
        EXPECT_FALSE(snap(*e) == start);
        EXPECT_EQ(((*e).*p.second)(), 0);
        EXPECT_TRUE(snap(*e) == start);
    }
}

TEST_F(GeometryTest, TransformsMoveThePixelsTheRightWay)
{
    auto e = patterned(4, 3);
    ASSERT_TRUE(e);
    const Snapshot s = snap(*e);
    auto at = [&](const Snapshot& sn, unsigned x, unsigned y) { return sn.image[(y * sn.w + x) * 3]; };

    e->Mirror();
    EXPECT_EQ(px(*e, 0, 1)[0], at(s, 3, 1));
    e->Mirror();
    e->Flip();
    EXPECT_EQ(px(*e, 2, 0)[0], at(s, 2, 2));
    e->Flip();
    e->RotateRight(); // clockwise: new (x', y') from (y', H - 1 - x')
    EXPECT_EQ(e->m_uiWidth, 3u);
    EXPECT_EQ(e->m_uiHeight, 4u);
    EXPECT_EQ(px(*e, 0, 0)[0], at(s, 0, 2));
    EXPECT_EQ(px(*e, 2, 3)[0], at(s, 3, 0));
    EXPECT_EQ(e->m_psMWeightBuffer[0], s.manual[2 * 4 + 0]);
}

TEST_F(GeometryTest, QuarterRotationsMapEveryValue)
{
    auto e = patterned(37, 23);
    ASSERT_TRUE(e);
    const Snapshot s = snap(*e);
    const unsigned W = 37, H = 23;
    ASSERT_EQ(e->RotateRight(), 0);
    for (unsigned y = 0; y < W; ++y)
        for (unsigned x = 0; x < H; ++x) {
            ASSERT_EQ(e->m_psMWeightBuffer[y * H + x], s.manual[(H - 1 - x) * W + y]) << x << "," << y;
            ASSERT_EQ(px(*e, x, y)[2], s.image[((H - 1 - x) * W + y) * 3 + 2]);
        }
    ASSERT_EQ(e->RotateLeft(), 0);
    ASSERT_EQ(e->RotateLeft(), 0);
    for (unsigned y = 0; y < W; ++y)
        for (unsigned x = 0; x < H; ++x) {
            ASSERT_EQ(e->m_psMWeightBuffer[y * H + x], s.manual[x * W + (W - 1 - y)]) << x << "," << y;
            ASSERT_EQ(px(*e, x, y)[0], s.image[(x * W + (W - 1 - y)) * 3]);
        }
}

TEST_F(GeometryTest, RotationSwapsPreviewSides)
{
    auto e = patterned(1500, 1000);
    ASSERT_TRUE(e);
    const unsigned pw = e->m_uiPreviewWidth, ph = e->m_uiPreviewHeight;
    ASSERT_NE(pw, ph);
    EXPECT_EQ(e->RotateLeft(), 0);
    EXPECT_EQ(e->m_uiWidth, 1000u);
    EXPECT_EQ(e->m_uiHeight, 1500u);
    EXPECT_EQ(e->m_uiPreviewWidth, ph);
    EXPECT_EQ(e->m_uiPreviewHeight, pw);
}

TEST_F(GeometryTest, CropMovesRowsAndZeroesThePreviewManualMap)
{
    auto e = patterned(40, 30);
    ASSERT_TRUE(e);
    const Snapshot s = snap(*e);

    // The full image: unchanged image, preview manual map zeroed.
    EXPECT_EQ(e->Resize(0, 0, 40, 30), 0);
    Snapshot full = snap(*e);
    EXPECT_EQ(full.image, s.image);
    EXPECT_EQ(full.manual, s.manual);
    for (short v : full.manualPreview)
        EXPECT_EQ(v, 0);

    EXPECT_EQ(e->Resize(5, 4, 25, 14), 0);
    EXPECT_EQ(e->m_uiWidth, 20u);
    EXPECT_EQ(e->m_uiHeight, 10u);
    EXPECT_EQ(px(*e, 0, 0)[0], s.image[(4 * 40 + 5) * 3]);
    EXPECT_EQ(px(*e, 19, 9)[1], s.image[(13 * 40 + 24) * 3 + 1]);
    EXPECT_EQ(e->m_psMWeightBuffer[0], s.manual[4 * 40 + 5]);
}

TEST_F(GeometryTest, CropOutsideTheImageChangesNothing)
{
    auto e = patterned(40, 30);
    ASSERT_TRUE(e);
    const Snapshot s = snap(*e);
    for (auto r : {std::array<int, 4>{0, 0, 41, 30}, std::array<int, 4>{-1, 0, 10, 10},
                   std::array<int, 4>{10, 10, 10, 20}, std::array<int, 4>{20, 5, 10, 25}}) {
        EXPECT_EQ(e->Resize(r[0], r[1], r[2], r[3]), -2);
        EXPECT_TRUE(snap(*e) == s);
    }
}

TEST_F(GeometryTest, RecalcPreviewFollowsTheBudget)
{
    auto e = patterned(1200, 900);
    ASSERT_TRUE(e);
    MP_UI_SetPreviewSize(0.25f);
    EXPECT_EQ(e->RecalcPreview(), 0);
    EXPECT_LE(e->PreviewPixelCount(), size_t(250000));
    EXPECT_GT(e->PreviewPixelCount(), size_t(200000));
    for (size_t i = 0; i < e->PreviewPixelCount(); ++i)
        ASSERT_EQ(e->m_psMWeightPreviewBuffer[i], 0);
}
