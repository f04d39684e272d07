// Crop settings and the caption layout shared by the crop dialog and the
// result writer.

#include "uifixture.h"

#include "ui/editors/cropdata.h"

#include <QImage>
#include <QPainter>

namespace {

_hlp::SRangedRect<int> Target(int w, int h)
{
    _hlp::SRangedRect<int> r;
    r.SetRange(_hlp::SRange<int>(0, w), _hlp::SRange<int>(0, h));
    r.Set(0, 0, w, h);
    return r;
}

int InkRows(const QImage& img, int& first, int& last)
{
    first = -1;
    last = -1;
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (line[x] & 0xffffffu) {
                if (first < 0)
                    first = y;
                last = y;
                ++n;
                break;
            }
        }
    }
    return n;
}

} // namespace

TEST(CropData, DefaultsAndReset)
{
    SCropData d;
    EXPECT_FALSE(d.bHasSelection);
    EXPECT_TRUE(d.bTextBottom);
    EXPECT_FALSE(d.bTextBackground);
    EXPECT_EQ(d.fAspect, -1.0f);
    EXPECT_EQ(d.iTextSize, 1);
    EXPECT_TRUE(d.strText.isEmpty());
    EXPECT_EQ(d.strFont, "Arial");
    EXPECT_EQ(d.rcCrop.Left(), 0.0f);
    EXPECT_EQ(d.rcCrop.Top(), 0.0f);
    EXPECT_EQ(d.rcCrop.Right(), 1.0f);
    EXPECT_EQ(d.rcCrop.Bottom(), 1.0f);

    d.bHasSelection = true;
    d.bTextBottom = false;
    d.bTextBackground = true;
    d.fAspect = 2.0f;
    d.iTextSize = 2;
    d.strText = "x";
    d.strFont = "Courier";
    d.rcCrop.Set(0.1f, 0.2f, 0.3f, 0.4f);
    d.Reset();
    EXPECT_EQ(d.iTextSize, 1);
    EXPECT_EQ(d.fAspect, -1.0f);
    EXPECT_TRUE(d.bTextBottom && !d.bTextBackground && !d.bHasSelection);
    EXPECT_EQ(d.strFont, "Arial");
    EXPECT_EQ(d.rcCrop.Left(), 0.0f);
    EXPECT_EQ(d.rcCrop.Bottom(), 1.0f);

    SCropResult r;
    EXPECT_TRUE(r.bCancelled);
    r.bCancelled = false;
    r.cropData.strText = "y";
    r.Reset();
    EXPECT_TRUE(r.bCancelled);
    EXPECT_TRUE(r.cropData.strText.isEmpty());
}

TEST(CropCaption, LayoutFollowsTheTargetSize)
{
    struct Case {
        int w, h, size;
        bool valid;
        float point;
        int margin;
    };
    const Case cases[] = {
        {3000, 2000, 1, true, 2000.0f / 30.0f, 100},
        {900, 600, 1, true, 20.0f, 30},
        {30, 30, 0, true, 0.75f, 1},
        {400, 300, 2, true, 15.0f, 15},
        {0, 30, 0, false, 0.0f, 0},
        {30, 0, 1, false, 0.0f, 0},
        {300, 300, 3, false, 0.0f, 0},
        {300, 300, -1, false, 0.0f, 0},
        {1, 1, 2, true, 0.05f, 1},
    };
    for (const Case& c : cases) {
        SCropData d;
        d.iTextSize = c.size;
        const SCropCaptionLayout l = CropCaptionLayout(Target(c.w, c.h), c.w, c.h, d);
        SCOPED_TRACE(QString("%1 x %2 class %3").arg(c.w).arg(c.h).arg(c.size).toStdString());
        ASSERT_EQ(l.bValid, c.valid);
        if (!c.valid)
            continue;
        EXPECT_FLOAT_EQ(l.fPointSize, c.point);
        EXPECT_EQ(l.iMargin, c.margin);
        EXPECT_EQ(l.rcText, QRect(0, c.margin, c.w, c.h - 2 * c.margin));
    }
    // The point size never falls below 0.01; the text rectangle stays on the device.
    SCropData d;
    d.iTextSize = 0;
    EXPECT_FLOAT_EQ(CropCaptionLayout(Target(4, 200), 4, 200, d).fPointSize, 0.1f);
    EXPECT_EQ(CropCaptionLayout(Target(900, 600), 500, 400, d).rcText, QRect(0, 30, 500, 400));
}

TEST(CropCaption, TextAtTheChosenEdgeInWhite)
{
    SCropData d;
    d.strText = "Lumivex";
    for (bool bottom : {true, false}) {
        d.bTextBottom = bottom;
        QImage img(600, 400, QImage::Format_RGB32);
        img.fill(0xff000000u);
        {
            QPainter p(&img);
            DrawCropCaptionOnDevice(p, d);
        }
        int first = 0, last = 0;
        ASSERT_GT(InkRows(img, first, last), 0) << "bottom " << bottom;
        if (bottom) {
            EXPECT_GT(first, 200);
            EXPECT_LE(last, 400 - 20); // above the bottom margin
        } else {
            EXPECT_GE(first, 20); // below the top margin
            EXPECT_LT(last, 200);
        }
        // Centred: the ink's columns are symmetric about the middle within a few pixels.
        int minX = 600, maxX = -1;
        bool white = false;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x)
                if (img.pixel(x, y) & 0xffffffu) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    white = white || (img.pixel(x, y) == 0xffffffffu);
                }
        EXPECT_NEAR((minX + maxX) / 2.0, 300.0, 6.0);
        EXPECT_TRUE(white);
    }
}

TEST(CropCaption, BoxOnlyInThePreviewAndInsideTheTarget)
{
    SCropData d;
    d.strText = "Box";
    d.bTextBackground = true;
    QImage img(300, 200, QImage::Format_ARGB32);
    img.fill(0xff000000u);
    {
        QPainter p(&img);
        DrawCropCaption(p, Target(300, 200), d, false);
    }
    auto boxGrey = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == qRgb(32, 32, 32);
        return n;
    };
    const int plainGrey = boxGrey(img);
    QImage boxed(300, 200, QImage::Format_ARGB32);
    boxed.fill(0xff000000u);
    QPainter p(&boxed);
    p.setPen(Qt::red);
    const QPen pen = p.pen();
    DrawCropCaption(p, Target(300, 200), d, true);
    EXPECT_EQ(p.pen(), pen); // pen restored
    p.end();
    // 64 grey at half alpha over black: 32.
    EXPECT_GT(boxGrey(boxed), plainGrey + 100);

    // In a smaller target the box is clamped to it: outside stays black.
    QImage inner(300, 200, QImage::Format_ARGB32);
    inner.fill(0xff000000u);
    _hlp::SRangedRect<int> target;
    target.SetRange(_hlp::SRange<int>(0, 300), _hlp::SRange<int>(0, 200));
    target.Set(100, 50, 200, 120);
    QPainter q(&inner);
    DrawCropCaption(q, target, d, true);
    q.end();
    int inside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool in = x >= 100 && x <= 200 && y >= 50 && y <= 120;
            if (!in)
                ASSERT_EQ(inner.pixel(x, y), 0xff000000u) << x << "," << y;
            else
                inside += inner.pixel(x, y) != 0xff000000u;
        }
    EXPECT_GT(inside, 0);
}
