// Ranged types, scalar helpers, the growing buffer and the drawing helpers.

#include "ui/toolkit/AK_Global.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

using namespace _hlp;

namespace {

TEST(RangedTypes, ValueStaysInItsRange)
{
    SRangedValue<int> v;
    v.SetRange(SRange<int>(10, 20));
    v.Set(5);
    EXPECT_EQ(v.Get(), 10);
    v.Set(25);
    EXPECT_EQ(v.Get(), 20);
    v.Set(15);
    v.SetRange(SRange<int>(0, 8));
    EXPECT_EQ(v.Get(), 8);

    // A reversed range: below the first bound gives it, anything else the second.
    v.SetRange(SRange<int>(20, 10));
    v.Set(15);
    EXPECT_EQ(v.Get(), 20);
    v.Set(25);
    EXPECT_EQ(v.Get(), 10);
}

TEST(RangedTypes, DefaultsHaveAnEmptyRange)
{
    SRangedPoint<int> p;
    p.Set(5, 7);
    EXPECT_EQ(p.X(), 0);
    EXPECT_EQ(p.Y(), 0);
    p.SetRange(0, 10, 0, 10);
    p.Set(5, 17);
    EXPECT_EQ(QPoint(p), QPoint(5, 10));

    SRangedValueRel rel(1.5f);
    EXPECT_EQ(rel.Get(), 1.0f);
    rel = -0.5f;
    EXPECT_EQ(rel.Get(), 0.0f);
    SRangedPointRel prel(0.25f, 2.0f);
    EXPECT_EQ(prel.X(), 0.25f);
    EXPECT_EQ(prel.Y(), 1.0f);
}

TEST(RangedTypes, RectangleEdgesWidthAndRanges)
{
    SRangedRect<int> r;
    r.SetRange(SRange<int>(0, 99), SRange<int>(0, 49));
    r.Set(10, 5, 4, 20);
    EXPECT_EQ(r.Width(), 0);
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(QRect(r).topLeft(), QPoint(10, 5));
    EXPECT_EQ(QRect(r).bottomRight(), QPoint(4, 20));

    r.Maximise();
    EXPECT_EQ(r.Left(), 0);
    EXPECT_EQ(r.Top(), 0);
    EXPECT_EQ(r.Right(), 99);
    EXPECT_EQ(r.Bottom(), 49);
    EXPECT_EQ(QRect(r).width(), 100); // one more than Width()
    EXPECT_EQ(r.Width(), 99);

    r.Set(10, 20, 30, 40);
    r.InheritRange();
    EXPECT_EQ(r.GetXRange().Min(), 10);
    EXPECT_EQ(r.GetXRange().Max(), 30);
    EXPECT_EQ(r.GetYRange().Min(), 20);
    EXPECT_EQ(r.GetYRange().Max(), 40);
    r.SetLeft(0);
    EXPECT_EQ(r.Left(), 10);

    SRangedRect<int> other;
    other.CopyRange(r);
    other.Set(10, 20, 30, 40);
    EXPECT_TRUE(other == r);
    other.SetRight(29);
    EXPECT_TRUE(other != r);
}

TEST(RangedTypes, CombineRects)
{
    SRangedRect<int> outer;
    outer.SetRange(SRange<int>(0, 400), SRange<int>(0, 400));
    outer.Set(100, 50, 300, 250);
    SRangedRectRel rel;
    rel.Set(0.25f, 0.5f, 0.75f, 1.0f);
    const SRangedRect<int> c = CombineRects<int>(outer, rel);
    EXPECT_EQ(c.Left(), 150);
    EXPECT_EQ(c.Top(), 150);
    EXPECT_EQ(c.Right(), 250);
    EXPECT_EQ(c.Bottom(), 250);
    EXPECT_EQ(c.GetXRange().Max(), 400);
}

TEST(ScalarHelpers, RoundingHalvesAwayFromZero)
{
    EXPECT_EQ(MathRound(2.5f), 3);
    EXPECT_EQ(MathRound(-2.5f), -3);
    EXPECT_EQ(MathRound(-0.4f), 0);
    EXPECT_FLOAT_EQ(MathRound(1.23456f, 2), 1.23f);
    EXPECT_EQ(MathRound(1.5f, 9), 1.5f);
    EXPECT_EQ(MathRound(2.5f, 0), 3.0f);
}

TEST(ScalarHelpers, RoundingOfNaNAndHugeValuesIsClamped)
{
    EXPECT_EQ(MathRound(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(MathRound(3e9f), INT_MAX);
    EXPECT_EQ(MathRound(-3e9f), INT_MIN);
    EXPECT_EQ(MathRound(std::numeric_limits<float>::infinity()), INT_MAX);
    EXPECT_EQ(MathRound(1e30f, 2), static_cast<float>(INT_MAX) / 100.0f);
}

TEST(ScalarHelpers, ClampTestsTheLowerBoundFirst)
{
    EXPECT_EQ(MathClamp(5, 10, 0), 10);
    EXPECT_EQ(MathClamp(15, 10, 0), 0);
    EXPECT_EQ(MathClamp(5u, 1u, 3u), 3u);
    EXPECT_TRUE(std::isnan(MathClamp(std::numeric_limits<float>::quiet_NaN(), 0.0f, 1.0f)));
}

TEST(ScalarHelpers, LerpStaysBetweenItsEndsInEitherOrder)
{
    EXPECT_EQ(MathLerp<int>(0, 100, 0.25f), 25);
    EXPECT_EQ(MathLerp<int>(0, 100, 2.0f), 100);
    EXPECT_EQ(MathLerp<int>(100, 0, 0.25f), 75); // a > b blends too
    EXPECT_EQ(MathLerp<int>(100, 0, 1.0f), 0);
    EXPECT_EQ(MathLerp<int>(64, 10, 0.5f), 37);
    EXPECT_EQ(MathLerp<int>(64, 10, std::numeric_limits<float>::quiet_NaN()), 64);
    EXPECT_FLOAT_EQ(MathLerp<float>(1.0f, 0.0f, 0.25f), 0.75f);
    EXPECT_FLOAT_EQ(MathLerp<float>(0.0f, 1.0f, -1.0f), 0.0f);
}

TEST(ScalarHelpers, PosAndCycle)
{
    EXPECT_FLOAT_EQ(MathPos(10.0f, 20.0f, 15.0f), 0.5f);
    EXPECT_FLOAT_EQ(MathPos(10.0f, 20.0f, 25.0f), 1.0f);
    EXPECT_EQ(MathPos(5.0f, 5.0f, 7.0f), 0.0f); // empty range

    EXPECT_EQ(MathCycle(0, 100, 0.0f), 0);
    EXPECT_EQ(MathCycle(0, 100, 0.25f), 50);
    EXPECT_EQ(MathCycle(0, 100, 0.5f), 100);
    EXPECT_EQ(MathCycle(0, 100, 0.75f), 50);
    EXPECT_EQ(MathCycle(0, 100, 1.0f), 0);
    EXPECT_EQ(MathCycle(0, 100, 1.5f), 0);
    const QColor c = MathCycle(QColor(64, 64, 64, 255), QColor(0, 128, 64, 0), 0.5f);
    EXPECT_EQ(c, QColor(0, 128, 64, 0));
}

TEST(ScalarHelpers, LimitToMax)
{
    EXPECT_FLOAT_EQ(MathLimitToMax(3000, 2000, 0), 1.0f);
    EXPECT_FLOAT_EQ(MathLimitToMax(3000, 2000, 0.25f), 0.75f);
    EXPECT_EQ(MathLimitToMax(0, 2000, 0.5f), 0.0f);
    EXPECT_EQ(MathLimitToMax(100, -1, 0.5f), 0.0f);
}

TEST(ScalarHelpers, AdjustAspect)
{
    EXPECT_EQ(MathAdjustAspect(QSizeF(400, 300), QSizeF(1, 1)), QSizeF(300, 300));
    EXPECT_EQ(MathAdjustAspect(QSizeF(300, 400), QSizeF(1, 1)), QSizeF(300, 300));
    EXPECT_EQ(MathAdjustAspect(QSizeF(0, 300), QSizeF(1, 1)), QSizeF(0, 300));
    EXPECT_EQ(MathAdjustAspect(QSizeF(400, 300), QSizeF(0, 1)), QSizeF(400, 300));
}

TEST(ScalarHelpers, AbsSwapAndFill)
{
    EXPECT_EQ(MathAbs(-3), 3);
    EXPECT_EQ(MathAbs(-0.0f), 0.0f);
    EXPECT_FALSE(std::signbit(MathAbs(-0.0f)));
    int a = 1, b = 2;
    Swap(&a, &b);
    EXPECT_EQ(a, 2);
    float arr[5];
    ArrFill(arr, 1.5f);
    for (float f : arr)
        EXPECT_EQ(f, 1.5f);
}

TEST(ScalarHelpers, StrPrintFNeverOverflows)
{
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(StrPrintF(buf, sizeof buf, "%d-%s", 42, "abc"), 6u);
    EXPECT_STREQ(buf, "42-abc");
    EXPECT_EQ(StrPrintF(buf, sizeof buf, "%s", "much too long"), 7u);
    EXPECT_STREQ(buf, "much to");
    EXPECT_EQ(StrPrintF(buf, 1, "%s", "x"), 0u);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(StrPrintF(nullptr, 10, "%s", "x"), 0u);
}

TEST(GrowingBuffer, GrowsOnlyAndZeroFills)
{
    CGrowingBuffer<unsigned int> buf;
    EXPECT_FALSE(buf.IsCreated());
    unsigned int* p = buf.Create(200);
    ASSERT_NE(p, nullptr);
    p[150] = 7;
    EXPECT_EQ(buf.Create(100), p);
    EXPECT_EQ(static_cast<unsigned int*>(buf)[150], 7u);
    unsigned int* q = buf.Create(300);
    ASSERT_NE(q, nullptr);
    for (unsigned int i = 0; i < 300; ++i)
        ASSERT_EQ(q[i], 0u);
    EXPECT_EQ(static_cast<unsigned char*>(buf), reinterpret_cast<unsigned char*>(q));
    buf.Destroy();
    EXPECT_FALSE(buf.IsCreated());
    EXPECT_EQ(static_cast<unsigned int*>(buf), nullptr);
}

TEST(GuiHelpers, SizesSpacingsAndButtons)
{
    EXPECT_EQ(_gui::AdjustHeight(40), 52);
    EXPECT_EQ(_gui::AdjustWidth(40), 58);
    EXPECT_EQ(_gui::AdjustHeight(20), 26);

    QGridLayout grid;
    QHBoxLayout h;
    QVBoxLayout v;
    _gui::AdjustLayout(&grid);
    _gui::AdjustLayout(&h);
    _gui::AdjustLayout(&v);
    EXPECT_EQ(grid.spacing(), 20);
    EXPECT_EQ(h.spacing(), 20);
    EXPECT_EQ(v.spacing(), 4);

    QPixmap empty;
    QPixmap filled(2, 2);
    EXPECT_FALSE(_gui::IsPixmapValid(nullptr));
    EXPECT_FALSE(_gui::IsPixmapValid(&empty));
    EXPECT_TRUE(_gui::IsPixmapValid(&filled));

    EXPECT_TRUE(_gui::IsActionButton(Qt::LeftButton));
    EXPECT_FALSE(_gui::IsActionButton(Qt::RightButton));
    EXPECT_FALSE(_gui::IsActionButton(Qt::MiddleButton));
    EXPECT_TRUE(_gui::IsContextButton(Qt::RightButton));
    EXPECT_FALSE(_gui::IsContextButton(Qt::LeftButton));
    EXPECT_TRUE(_gui::IsActionButtonPressed(Qt::LeftButton | Qt::RightButton));
    EXPECT_FALSE(_gui::IsActionButtonPressed(Qt::RightButton));
    EXPECT_TRUE(_gui::IsContextButtonPressed(Qt::RightButton | Qt::MiddleButton));
}

// ---- drawing ---------------------------------------------------------------

class Canvas {
public:
    QImage img{40, 40, QImage::Format_ARGB32};
    Canvas() { img.fill(Qt::white); }
    QRgb at(int x, int y) const { return img.pixel(x, y); }
    bool untouched() const
    {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    }
};

TEST(GuiDrawing, EmptyShapesDrawNothing)
{
    Canvas c;
    {
        QPainter p(&c.img);
        p.setPen(Qt::red);
        _gui::DrawEllipse(p, QPoint(20, 20), 0);
        _gui::DrawArc(p, QPoint(20, 20), 10, 0, 0);
        _gui::DrawShadowedArc(p, QPoint(20, 20), -1, 0, 90);
        _gui::DrawPolygon(p, nullptr, 0);
    }
    EXPECT_TRUE(c.untouched());
}

TEST(GuiDrawing, ShadowedLineHasItsShadowOnePixelRightAndDown)
{
    Canvas c;
    {
        QPainter p(&c.img);
        p.setPen(QPen(Qt::red, 1));
        _gui::DrawShadowedLine(p, QLine(5, 10, 30, 10));
    }
    EXPECT_EQ(c.at(15, 10), qRgb(255, 0, 0));
    EXPECT_EQ(c.at(15, 11), qRgb(0x2e, 0x2e, 0x2e));
    EXPECT_EQ(c.at(15, 5), qRgb(255, 255, 255));
}

TEST(GuiDrawing, EllipseIsInscribedInTheInclusiveSquare)
{
    Canvas c;
    {
        QPainter p(&c.img);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        _gui::DrawEllipse(p, QPoint(20, 20), 5);
    }
    EXPECT_EQ(c.at(20, 20), qRgb(0, 0, 0));
    EXPECT_EQ(c.at(20, 16), qRgb(0, 0, 0));
    EXPECT_EQ(c.at(20, 27), qRgb(255, 255, 255));
}

TEST(GuiDrawing, PolygonFillStaysInsideTheOutline)
{
    Canvas c;
    const QPoint pts[4] = {{5, 5}, {30, 5}, {30, 30}, {5, 30}};
    {
        QPainter p(&c.img);
        p.setPen(QPen(Qt::red, 1));
        p.setBrush(Qt::blue);
        _gui::DrawPolygon(p, pts, 4);
    }
    EXPECT_EQ(c.at(5, 5), qRgb(255, 0, 0));    // outline corner
    EXPECT_EQ(c.at(15, 15), qRgb(0, 0, 255));  // inside
    EXPECT_EQ(c.at(4, 15), qRgb(255, 255, 255)); // outside
    EXPECT_EQ(c.at(32, 15), qRgb(255, 255, 255));
}

TEST(GuiDrawing, ShadowedCrossOutlinesTheCross)
{
    Canvas c;
    {
        QPainter p(&c.img);
        p.setPen(QPen(Qt::yellow, 1));
        _gui::DrawShadowedCross(p, QPointF(19.6, 20.2), 10.0f);
    }
    EXPECT_EQ(c.at(20, 20), qRgb(255, 255, 0));
    EXPECT_EQ(c.at(23, 23), qRgb(255, 255, 0));
    EXPECT_EQ(c.at(20, 15), qRgb(255, 255, 255));
    bool shadow = false;
    for (int d = -1; d <= 1; ++d)
        shadow = shadow || c.at(23 + d, 22) == qRgb(0x2e, 0x2e, 0x2e) || c.at(22, 23 + d) == qRgb(0x2e, 0x2e, 0x2e);
    EXPECT_TRUE(shadow);
}

} // namespace
