// The clone-correction painter: the radius mapping, clamping, the unit table
// (add, order, delete, select), the source search and its failures, the view
// pictures, the dialog's controls and commands, zoom and pointer rules, and the
// refusal of an image too large for the working buffers.

#include "editorfixture.h"
#include "uifixture.h"

#include "document/kernelrunner.h"
#include "engine/core/conversions.h"
#include "ui/editors/HDRStencilPainter.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrslider.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTimer>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// A photograph-like test picture: smooth gradients with fine texture.
std::vector<unsigned short> TestImage(unsigned w, unsigned h)
{
    std::vector<unsigned short> img(size_t(w) * h * 3);
    uint32_t seed = 12345;
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 24) - 128;
            const size_t i = (size_t(y) * w + x) * 3;
            img[i] = static_cast<unsigned short>(std::clamp(int(20000 + 30000.0 * x / w) + noise * 40, 0, 65535));
            img[i + 1] = static_cast<unsigned short>(std::clamp(int(15000 + 35000.0 * y / h) + noise * 40, 0, 65535));
            img[i + 2] = static_cast<unsigned short>(
                std::clamp(int(30000 + 20000.0 * std::sin(x * 0.05)) + noise * 40, 0, 65535));
        }
    return img;
}

SStencilData Unit(double dx, double dy, double sx, double sy, float r, bool automatic = true)
{
    SStencilData d;
    d.dDstX = dx;
    d.dDstY = dy;
    d.dSrcX = sx;
    d.dSrcY = sy;
    d.fRadius = r;
    d.bAutomatic = automatic;
    return d;
}

} // namespace

class StencilPainterTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        painter = new CStencilPainter(nullptr);
        image = TestImage(width, height);
    }
    void TearDown() override
    {
        delete painter;
        UiTest::TearDown();
    }

    // Runs body while the painter is open on the image, then closes it.
    void WhileShown(const std::function<void()>& body)
    {
        RunWhileOpen(
            painter, [&] { painter->Show(image.data(), width, height); }, body);
    }
    CStencilLabel* label() const { return painter->GetStencilLabel(); }
    // Zooms in until units can be edited (the offscreen screen is small).
    void EnableEditing()
    {
        for (int i = 0; i < 10 && !label()->IsStencilEditEnabled(); ++i)
            label()->OnWheel(120, QPoint(10, 10));
        painter->Update();
        ASSERT_TRUE(label()->IsStencilEditEnabled());
    }
    QString Title() const { return painter->GetStencilGroup()->title(); }

    unsigned width = 400, height = 300;
    std::vector<unsigned short> image;
    CStencilPainter* painter = nullptr;
};

TEST(StencilData, RadiusAndSliderPositionMapOverTheRadiusRange)
{
    struct {
        float in, out;
    } toPercent[] = {{0.025f, 0.3902439f}, {0.001f, 0.0f}, {0.06f, 1.0f}};
    for (auto c : toPercent)
        EXPECT_NEAR(SStencilData::RadiusRelToPercent(c.in), c.out, 1e-6f) << c.in;
    EXPECT_EQ(_gui::COpacitySlider(nullptr).RelToValue(SStencilData::RadiusRelToPercent(0.025f)), 39);
    struct {
        float in, out;
    } toRadius[] = {{0.39f, 0.02499f}, {-1.0f, 0.009f}, {2.0f, 0.05f}};
    for (auto c : toRadius)
        EXPECT_NEAR(SStencilData::PercentToRadiusRel(c.in), c.out, 1e-6f) << c.in;
    const SStencilData d;
    EXPECT_TRUE(d.bAutomatic);
    EXPECT_FLOAT_EQ(d.fRadius, 0.025f);
    EXPECT_FLOAT_EQ(d.fReserved, 1.0f);
    EXPECT_EQ(d.dDstX, 0.5);
    EXPECT_EQ(d.dSrcY, 0.5);
}

TEST_F(StencilPainterTest, ClampingKeepsTheSourceInsideAndTheDestinationOnTheImage)
{
    struct {
        unsigned w, h;
        double srcX0, srcX1, srcY0, srcY1, dstMax;
    } cases[] = {{400, 300, 0.0375, 0.9625, 0.05, 0.95, 399.0 / 400.0},
                 {300, 400, 0.05, 0.95, 0.0375, 0.9625, 299.0 / 300.0}};
    for (auto c : cases) {
        width = c.w;
        height = c.h;
        image = TestImage(width, height);
        WhileShown([&] {
            label()->SetStencilData(0, Unit(2.0, -1.0, -1.0, 2.0, 0.05f));
            label()->SetStencilData(1, Unit(0.5, 0.5, 2.0, -1.0, 0.2f));
            label()->Update();
            const SStencilData a = label()->GetStencilData(0);
            EXPECT_DOUBLE_EQ(a.dDstX, c.dstMax);
            EXPECT_DOUBLE_EQ(a.dDstY, 0.0);
            EXPECT_NEAR(a.dSrcX, c.srcX0, 1e-7);
            EXPECT_NEAR(a.dSrcY, c.srcY1, 1e-7);
            const SStencilData b = label()->GetStencilData(1);
            EXPECT_FLOAT_EQ(b.fRadius, 0.05f);
            EXPECT_NEAR(b.dSrcX, c.srcX1, 1e-7);
            EXPECT_NEAR(b.dSrcY, c.srcY0, 1e-7);
        });
        label()->Clear();
    }
}

TEST_F(StencilPainterTest, UnitsAreOrderedByDescendingRadius)
{
    WhileShown([&] {
        // Added in rising order through the new-unit size.
        const float radii[3] = {0.01f, 0.02f, 0.03f};
        for (float r : radii) {
            painter->GetNewSizeSlider()->SetValueF(SStencilData::RadiusRelToPercent(r));
            label()->AddStencil(QPointF(0.2 + r * 10, 0.5));
        }
        ASSERT_EQ(label()->GetNumStencils(), 3u);
        EXPECT_NEAR(label()->GetStencilData(0).fRadius, 0.03f, 1e-3f);
        EXPECT_NEAR(label()->GetStencilData(1).fRadius, 0.02f, 1e-3f);
        EXPECT_NEAR(label()->GetStencilData(2).fRadius, 0.01f, 1e-3f);

        // Slots (r, r, R): the larger one moves up and reverses the equal ones.
        label()->Clear();
        label()->SetStencilData(0, Unit(0.1, 0.1, 0.5, 0.5, 0.02f, false));
        label()->SetStencilData(1, Unit(0.2, 0.2, 0.5, 0.5, 0.02f, false));
        label()->SetStencilData(2, Unit(0.3, 0.3, 0.5, 0.5, 0.04f, false));
        label()->SortStencils();
        EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dDstX, 0.3);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(1).dDstX, 0.2);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(2).dDstX, 0.1);
        const SStencilRawData& raw = label()->GetStencilRawData();
        EXPECT_EQ(raw.uiCount, 3u);
        EXPECT_FLOAT_EQ(raw.pfDstX[0], 0.3f);
        EXPECT_FLOAT_EQ(raw.pfRadius[2], 0.02f);
    });
}

TEST_F(StencilPainterTest, DeletingSelectsTheUnitBeforeAndTheTableHoldsAHundred)
{
    for (unsigned i = 0; i < 3; ++i)
        label()->SetStencilData(i, Unit(0.1 * (i + 1), 0.5, 0.5, 0.5, 0.02f, false));
    ASSERT_TRUE(label()->Select(0));
    label()->DeleteSelected();
    EXPECT_EQ(label()->GetNumStencils(), 2u);
    EXPECT_EQ(label()->SelectedIdx(), 1u);
    EXPECT_DOUBLE_EQ(label()->GetStencilData(1).dDstX, 0.3);
    EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dDstX, 0.2);

    label()->Clear();
    label()->SetStencilData(0, Unit(0.5, 0.5, 0.5, 0.5, 0.02f, false));
    label()->Select(0);
    label()->DeleteSelected();
    EXPECT_EQ(label()->GetNumStencils(), 0u);
    EXPECT_FALSE(label()->IsSelected());
    EXPECT_EQ(label()->SelectedIdx(), CStencilLabel::kNone);

    // Without an image the search does nothing; the table still fills up.
    for (unsigned i = 0; i < 100; ++i)
        EXPECT_EQ(label()->AddStencil(QPointF(0.5, 0.5)), i);
    EXPECT_EQ(label()->AddStencil(QPointF(0.5, 0.5)), 100u);
    EXPECT_EQ(label()->GetNumStencils(), 100u);
    // A slot not in use gives the defaults.
    label()->Clear();
    EXPECT_FLOAT_EQ(label()->GetStencilData(5).fRadius, 0.025f);
    EXPECT_FALSE(label()->IsStencilValid(100));
}

TEST_F(StencilPainterTest, SearchFindsASourceOutsideEveryDestination)
{
    WhileShown([&] {
        EnableEditing();
        const unsigned s0 = label()->AddStencil(QPointF(0.3, 0.4));
        label()->AddStencil(QPointF(0.7, 0.6));
        ASSERT_EQ(label()->GetNumStencils(), 2u);
        (void)s0;
        const double minSide = std::min(width, height);
        for (unsigned i = 0; i < 2; ++i) {
            const SStencilData d = label()->GetStencilData(i);
            EXPECT_TRUE(d.bAutomatic);
            const double r = d.fRadius * minSide;
            const double sx = d.dSrcX * width, sy = d.dSrcY * height;
            EXPECT_GE(sx, r - 1e-6);
            EXPECT_LE(sx, width - r + 1e-6);
            EXPECT_GE(sy, r - 1e-6);
            EXPECT_LE(sy, height - r + 1e-6);
            for (unsigned k = 0; k < 2; ++k) {
                const SStencilData o = label()->GetStencilData(k);
                const double dist = std::hypot(sx - o.dDstX * width, sy - o.dDstY * height);
                EXPECT_GE(dist, r + o.fRadius * minSide) << i << " against " << k;
            }
        }
    });
}

TEST_F(StencilPainterTest, FailedSearchKeepsTheSourceAndMakesTheUnitManual)
{
    WhileShown([&] {
        // Destinations on a dense grid forbid every source position.
        unsigned n = 0;
        for (int gy = 0; gy < 10; ++gy)
            for (int gx = 0; gx < 10; ++gx)
                label()->SetStencilData(n++, Unit((gx + 0.5) / 10.0, (gy + 0.5) / 10.0, 0.31, 0.42, 0.05f, true));
        label()->FindBestMatch(7);
        const SStencilData d = label()->GetStencilData(7);
        EXPECT_FALSE(d.bAutomatic);
        EXPECT_DOUBLE_EQ(d.dSrcX, 0.31);
        EXPECT_DOUBLE_EQ(d.dSrcY, 0.42);

        // A source dragged by hand stays through a later collision.
        label()->Clear();
        label()->SetStencilData(0, Unit(0.2, 0.2, 0.8, 0.8, 0.03f, true));
        label()->Stencil(0)->SetSrcPosRel(QPointF(0.6, 0.6));
        EXPECT_FALSE(label()->GetStencilData(0).bAutomatic);
        label()->SetStencilData(1, Unit(0.6, 0.6, 0.1, 0.1, 0.03f, false));
        EXPECT_TRUE(label()->Stencil(0)->DetectCollision(*label()->Stencil(1)));
        label()->DetectCollisions(1);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dSrcX, 0.6);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dSrcY, 0.6);
    });
}

TEST_F(StencilPainterTest, NavigatorIsAlwaysPlainAndTheViewFollowsTheToggles)
{
    std::vector<uint32_t> plain(size_t(width) * height);
    MP_UI_ConvertRGB48toARGB8888(int(width), int(height), image.data(), plain.data());
    auto same = [&](QPixmap* p) {
        if (!p || p->isNull())
            return false;
        const QImage img = p->toImage().convertToFormat(QImage::Format_RGB32);
        for (unsigned y = 0; y < height; y += 7)
            for (unsigned x = 0; x < width; x += 5)
                if ((img.pixel(int(x), int(y)) & 0xFFFFFF) != (plain[size_t(y) * width + x] & 0xFFFFFF))
                    return false;
        return true;
    };
    EXPECT_EQ(painter->GetPixmap(0), nullptr); // not open
    WhileShown([&] {
        label()->SetStencilData(0, Unit(0.3, 0.3, 0.7, 0.7, 0.05f, false));
        painter->OnCreatePixmap();
        EXPECT_FALSE(same(painter->GetPixmap(0)));
        EXPECT_TRUE(same(painter->GetPixmap(1)));
        painter->SetStencilsEnabled(false);
        EXPECT_TRUE(same(painter->GetPixmap(0)));
        EXPECT_TRUE(same(painter->GetPixmap(1)));
        painter->SetVariationEnabled(true);
        EXPECT_FALSE(same(painter->GetPixmap(0)));
        EXPECT_TRUE(same(painter->GetPixmap(1)));
        EXPECT_EQ(painter->GetPixmap(2), nullptr);
    });
}

TEST_F(StencilPainterTest, ViewPictureWaitsForABusyEngine)
{
    WhileShown([&] {
        QPixmap before = *painter->GetPixmap(0);
        label()->SetStencilData(0, Unit(0.3, 0.3, 0.7, 0.7, 0.05f, false));
        painter->OnCreatePixmap();
        CEngineGuard::Acquire();
        const QPixmap during = *painter->GetPixmap(0);
        EXPECT_EQ(during.cacheKey(), before.cacheKey());
        CEngineGuard::Release();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        EXPECT_NE(painter->GetPixmap(0)->cacheKey(), before.cacheKey());
    });
}

TEST_F(StencilPainterTest, ControlsAfterClearAndWithAFullTable)
{
    painter->Update();
    EXPECT_EQ(Title(), QStringLiteral("Korrektureinheiten  ( 0/100 )"));
    EXPECT_FALSE(painter->GetRecalcAllButton()->isEnabled());
    EXPECT_FALSE(painter->GetDeleteAllButton()->isEnabled());
    EXPECT_TRUE(painter->GetStencilsButton()->isChecked());
    EXPECT_FALSE(painter->GetSourcesButton()->isChecked());
    EXPECT_FALSE(painter->GetVariationButton()->isChecked());
    EXPECT_FALSE(painter->GetNewStencilButton()->isChecked());
    EXPECT_FALSE(painter->GetVariationSlider()->isEnabled());
    EXPECT_FLOAT_EQ(painter->GetVariationIntensity(), 0.5f);

    WhileShown([&] {
        EnableEditing();
        for (unsigned i = 0; i < 99; ++i)
            label()->SetStencilData(i, Unit(0.5, 0.5, 0.5, 0.5, 0.02f, false));
        painter->Update();
        EXPECT_TRUE(painter->GetNewStencilButton()->isEnabled());
        EXPECT_TRUE(painter->GetRecalcAllButton()->isEnabled());
        label()->SetStencilData(99, Unit(0.5, 0.5, 0.5, 0.5, 0.02f, false));
        painter->Update();
        EXPECT_FALSE(painter->GetNewStencilButton()->isEnabled());
        EXPECT_EQ(Title(), QStringLiteral("Korrektureinheiten  ( 100/100 )"));
    });
    // A new project empties the painter.
    painter->Clear();
    EXPECT_EQ(painter->GetNumStencils(), 0u);
}

TEST_F(StencilPainterTest, EditingNeedsSixPixelsForTheSmallestRadius)
{
    WhileShown([&] {
        const double side = std::min(label()->ImageArea().width(), label()->ImageArea().height());
        label()->Zoom(float(600.0 / side));
        EXPECT_NEAR(label()->RadiusRelToRadius(0.009f), 5.4f, 1e-3f);
        EXPECT_FALSE(label()->IsStencilEditEnabled());
        label()->Zoom(667.0f / 600.0f);
        EXPECT_NEAR(label()->RadiusRelToRadius(0.009f), 6.003f, 1e-3f);
        EXPECT_TRUE(label()->IsStencilEditEnabled());
        painter->Update();
        EXPECT_FLOAT_EQ(painter->GetNewStencilButton()->GetOpacity(), 1.0f);
        label()->Zoom(0.5f);
        painter->Update();
        EXPECT_FLOAT_EQ(painter->GetNewStencilButton()->GetOpacity(), 0.25f);
        EXPECT_FALSE(painter->GetNewStencilButton()->isEnabled());
    });
}

TEST_F(StencilPainterTest, WheelZoomsAndDoubleClickReturnsToTheWholeImage)
{
    WhileShown([&] {
        EXPECT_DOUBLE_EQ(label()->CenterLimits().left(), 0.5);
        EXPECT_DOUBLE_EQ(label()->CenterLimits().top(), 0.5);
        const QRectF whole = label()->GetZoomRect();
        EXPECT_NEAR(whole.width(), 1.0, 1e-9);
        EXPECT_NEAR(whole.height(), 1.0, 1e-9);
        for (int i = 0; i < 10; ++i)
            label()->OnWheel(120, QPoint(5, 5));
        float expected = 1.0f;
        for (int i = 0; i < 10; ++i)
            expected *= 1.1f;
        EXPECT_FLOAT_EQ(label()->GetZoom(), expected);
        EXPECT_NEAR(label()->GetZoom(), 2.5937f, 1e-4f);
        // Zoomed, the centre may move only as far as the view stays covered.
        const QRectF limits = label()->CenterLimits();
        const double cw = label()->ContentRect().width(), aw = label()->ImageArea().width();
        EXPECT_NEAR(limits.left(), cw / (2 * aw), 1e-9);
        EXPECT_NEAR(limits.right(), 1 - cw / (2 * aw), 1e-9);
        label()->OnSetZoomCenter(QPointF(0.0, 0.0));
        EXPECT_NEAR(label()->GetZoomCenter().x(), limits.left(), 1e-9);

        // A double click off every unit: zoom 1.
        SendMouse(label(), QEvent::MouseButtonDblClick, QPointF(100, 100), Qt::LeftButton, Qt::LeftButton);
        EXPECT_FLOAT_EQ(label()->GetZoom(), 1.0f);
    });
}

TEST_F(StencilPainterTest, PlacingAUnitEndsTheNewUnitMode)
{
    WhileShown([&] {
        EnableEditing();
        label()->OnSetZoomCenter(QPointF(0.5, 0.5));
        painter->GetNewStencilButton()->click();
        EXPECT_TRUE(painter->IsNewStencilMode());
        const QPointF at = label()->GetImagePos(QPointF(0.5, 0.5));
        SendMouse(label(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        EXPECT_FALSE(painter->IsNewStencilMode());
        EXPECT_FALSE(painter->GetNewStencilButton()->isChecked());
        EXPECT_EQ(painter->GetNumStencils(), 1u);
        const SStencilData d = label()->GetStencilData(0);
        EXPECT_NEAR(d.dDstX, 0.5, 0.01);
        EXPECT_NEAR(d.dDstY, 0.5, 0.01);
        EXPECT_EQ(Title(), QStringLiteral("Korrektureinheiten  ( 1/100 )"));
        // The new unit stays selected: its size slider shows its radius.
        EXPECT_TRUE(label()->IsSelected());
        EXPECT_EQ(painter->GetSizeSlider()->GetSlider()->value(), 39);
        EXPECT_TRUE(painter->GetDeleteButton()->isEnabled());
    });
}

TEST_F(StencilPainterTest, BestMatchAndDoubleClickOnTheSourceToggleAutomatic)
{
    WhileShown([&] {
        EnableEditing();
        label()->SetStencilData(0, Unit(0.5, 0.5, 0.6, 0.5, 0.05f, false));
        label()->OnSetZoomCenter(QPointF(0.55, 0.5));
        painter->Update();
        label()->Select(0);
        painter->Update();
        EXPECT_TRUE(painter->GetBestMatchButton()->isEnabled());
        painter->GetBestMatchButton()->click();
        SStencilData d = label()->GetStencilData(0);
        EXPECT_TRUE(d.bAutomatic);
        EXPECT_FALSE(d.dSrcX == 0.6 && d.dSrcY == 0.5);
        EXPECT_FALSE(painter->GetBestMatchButton()->isEnabled());

        // Hover the source of the selected unit and double-click it.
        for (bool expected : {false, true}) {
            label()->Select(0);
            const QPointF src = label()->Stencil(0)->SrcPos();
            SendMouse(label(), QEvent::MouseMove, src, Qt::NoButton, Qt::NoButton);
            ASSERT_EQ(label()->Stencil(0)->MouseOverElement(), 2);
            SendMouse(label(), QEvent::MouseButtonDblClick, src, Qt::LeftButton, Qt::LeftButton);
            EXPECT_EQ(label()->GetStencilData(0).bAutomatic, expected);
        }
    });
}

TEST_F(StencilPainterTest, SourcesHiddenOnlyTheSelectedUnitsSourceCanBeDragged)
{
    WhileShown([&] {
        EnableEditing();
        label()->SetStencilData(0, Unit(0.45, 0.5, 0.6, 0.5, 0.03f, true));
        label()->OnSetZoomCenter(QPointF(0.52, 0.5));
        painter->Update();
        const QPointF src = label()->Stencil(0)->SrcPos();
        SendMouse(label(), QEvent::MouseMove, src, Qt::NoButton, Qt::NoButton);
        EXPECT_FALSE(label()->IsMouseOver());
        SendMouse(label(), QEvent::MouseButtonPress, src, Qt::LeftButton, Qt::LeftButton);
        EXPECT_FALSE(label()->IsSelected());
        EXPECT_TRUE(label()->IsPanning());
        SendMouse(label(), QEvent::MouseButtonRelease, src, Qt::LeftButton, Qt::NoButton);

        // Selected, its source can be grabbed and dragged: the unit turns manual.
        label()->Select(0);
        const QPointF src2 = label()->Stencil(0)->SrcPos();
        SendMouse(label(), QEvent::MouseMove, src2, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(label()->Stencil(0)->MouseOverElement(), 2);
        SendMouse(label(), QEvent::MouseButtonPress, src2, Qt::LeftButton, Qt::LeftButton);
        EXPECT_TRUE(label()->Stencil(0)->Element(1)->IsGrabbed());
        EXPECT_FALSE(label()->IsPanning());
        const QPointF target = src2 + QPointF(10, 6);
        SendMouse(label(), QEvent::MouseMove, target, Qt::NoButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseButtonRelease, target, Qt::LeftButton, Qt::NoButton);
        const SStencilData d = label()->GetStencilData(0);
        EXPECT_FALSE(d.bAutomatic);
        EXPECT_GT(d.dSrcX, 0.6);
    });
}

TEST_F(StencilPainterTest, RecalculatingManualUnitsChangesNoSourceAndLogsTheTime)
{
    WhileShown([&] {
        label()->SetStencilData(0, Unit(0.3, 0.3, 0.7, 0.7, 0.03f, false));
        label()->SetStencilData(1, Unit(0.6, 0.3, 0.2, 0.7, 0.03f, false));
        testing::internal::CaptureStdout();
        painter->OnRecalcAll();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("OnRecalcAll: "), std::string::npos);
        EXPECT_NE(out.find(" ms\n"), std::string::npos);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dSrcX, 0.7);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(1).dSrcX, 0.2);
    });
}

TEST_F(StencilPainterTest, DeleteAllAsksFirst)
{
    for (bool yes : {false, true}) {
        label()->SetStencilData(0, Unit(0.3, 0.3, 0.7, 0.7, 0.03f, false));
        QString title;
        _gui::SetModalHook([&](QWidget* prompt) {
            auto* box = qobject_cast<HDRMessageBox*>(prompt);
            EXPECT_NE(box, nullptr);
            if (!box)
                return 0;
            title = box->windowTitle();
            EXPECT_EQ(box->text(), QStringLiteral("Sollen alle Korrekturen wirklich gelöscht werden?"));
            (yes ? box->GetYesButton() : box->GetNoButton())->click();
            return 0;
        });
        painter->OnDeleteAll();
        EXPECT_EQ(title, QStringLiteral("Alle Korrekturen löschen"));
        EXPECT_EQ(painter->GetNumStencils(), yes ? 0u : 1u);
    }
}

TEST_F(StencilPainterTest, ReopeningKeepsTheUnitsAndResetsTheView)
{
    WhileShown([&] {
        label()->SetStencilData(0, Unit(0.3, 0.3, 0.7, 0.7, 0.03f, false));
        for (int i = 0; i < 4; ++i)
            label()->OnWheel(120, QPoint(5, 5));
        label()->OnSetZoomCenter(QPointF(0.2, 0.8));
        painter->Update();
        EXPECT_GT(label()->GetZoom(), 1.0f);
    });
    WhileShown([&] {
        EXPECT_EQ(painter->GetNumStencils(), 1u);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dSrcX, 0.7);
        EXPECT_FLOAT_EQ(label()->GetZoom(), 1.0f);
        EXPECT_EQ(label()->GetZoomCenter(), QPointF(0.5, 0.5));
        EXPECT_FALSE(painter->IsNewStencilMode());
    });
}

TEST_F(StencilPainterTest, NoImageOrAnEmptySizeOpensNothing)
{
    int shows = 0;
    struct Counter : QObject {
        int* n;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Show)
                ++*n;
            return false;
        }
    } counter;
    counter.n = &shows;
    painter->installEventFilter(&counter);
    painter->Show(nullptr, 10, 10);
    painter->Show(image.data(), 0, 10);
    painter->Show(image.data(), 10, 0);
    EXPECT_EQ(shows, 0);

    // An image too large for the working buffers: the out-of-memory message,
    // no dialog, nothing changed.
    label()->SetStencilData(0, Unit(0.3, 0.3, 0.7, 0.7, 0.03f, false));
    QString text;
    _gui::SetModalHook([&](QWidget* prompt) {
        if (auto* box = qobject_cast<HDRMessageBox*>(prompt)) {
            text = box->text();
            box->GetNoButton()->click();
        }
        return 0;
    });
    painter->Show(image.data(), 70000u, 70000u);
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(text, QStringLiteral("Es steht nicht genügend Arbeitsspeicher zur Verfügung."));
    EXPECT_EQ(painter->GetNumStencils(), 1u);
    EXPECT_EQ(painter->GetPixmap(0), nullptr);
    painter->removeEventFilter(&counter);
}

TEST_F(StencilPainterTest, ShowingARadiusOnASliderChangesNoUnit)
{
    WhileShown([&] {
        EnableEditing();
        // A radius between two slider positions, placed by hand.
        label()->SetStencilData(0, Unit(0.5, 0.5, 0.7, 0.5, 0.0301f, false));
        label()->Select(0);
        painter->Update();
        const SStencilData d = label()->GetStencilData(0);
        EXPECT_FLOAT_EQ(d.fRadius, 0.0301f);
        EXPECT_FALSE(d.bAutomatic);
        EXPECT_DOUBLE_EQ(d.dSrcX, 0.7);
        EXPECT_FLOAT_EQ(painter->GetNewStencilData().fRadius, 0.025f);
    });
}

TEST_F(StencilPainterTest, NavigatorFramesTheVisiblePart)
{
    WhileShown([&] {
        CRadarLabel* radar = painter->GetRadarLabel();
        const QRectF area = radar->ImageArea();
        ASSERT_FALSE(area.isEmpty());
        const QRectF whole = radar->MapToImageAera(painter->GetZoomRect());
        EXPECT_NEAR(whole.left(), area.left(), 1e-6);
        EXPECT_NEAR(whole.width(), area.width(), 1e-6);
        // A press in the navigator moves the view's centre there.
        for (int i = 0; i < 8; ++i)
            label()->OnWheel(120, QPoint(5, 5));
        const QPointF at = radar->MapToImageAera(QPointF(0.6, 0.55));
        SendMouse(radar, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        SendMouse(radar, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        EXPECT_NEAR(label()->GetZoomCenter().x(), 0.6, 0.01);
        EXPECT_NEAR(label()->GetZoomCenter().y(), 0.55, 0.01);
    });
}

TEST_F(StencilPainterTest, UnitsShowOnlyWhileThePointerIsInsideThePainter)
{
    WhileShown([&] {
        EnableEditing();
        label()->SetStencilData(0, Unit(0.5, 0.5, 0.6, 0.5, 0.05f, false));
        label()->OnSetZoomCenter(QPointF(0.5, 0.5));
        painter->Update();
        // A point on the destination circle.
        const QPointF c = label()->Stencil(0)->DstPos();
        const QPoint edge = (c + QPointF(0, -label()->Stencil(0)->Radius())).toPoint();
        auto at = [&] { return label()->grab().toImage().pixel(edge) & 0xFFFFFF; };

        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(painter, &enter);
        EXPECT_TRUE(painter->IsMouseInside());
        const QRgb with = at();

        QCursor::setPos(painter->geometry().bottomRight() + QPoint(300, 300));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(painter, &leave);
        EXPECT_FALSE(painter->IsMouseInside());
        const QRgb without = at();
        EXPECT_NE(with, without);
    });
}

TEST_F(StencilPainterTest, SearchAskedForWhileTheEngineIsBusyFollowsTheUnitAfterwards)
{
    WhileShown([&] {
        label()->SetStencilData(0, Unit(0.2, 0.2, 0.5, 0.5, 0.02f, false));
        CEngineGuard::Acquire();
        // A larger automatic unit: the ordering moves it to slot 0 before its
        // search can run.
        label()->SetStencilData(1, Unit(0.7, 0.6, 0.5, 0.5, 0.04f, true));
        label()->UpdateStencilData(1, true);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(0).dSrcX, 0.5);
        EXPECT_FLOAT_EQ(label()->GetStencilData(0).fRadius, 0.04f);
        CEngineGuard::Release();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        const SStencilData moved = label()->GetStencilData(0);
        EXPECT_TRUE(moved.bAutomatic);
        EXPECT_FALSE(moved.dSrcX == 0.5 && moved.dSrcY == 0.5);
        EXPECT_DOUBLE_EQ(label()->GetStencilData(1).dSrcX, 0.5); // the manual unit is left alone
    });
}

TEST_F(StencilPainterTest, NavigatorShowsACrossWhenTheVisiblePartIsTiny)
{
    width = 3000;
    height = 2250;
    image.assign(size_t(width) * height * 3, 8000); // a dark grey photograph
    WhileShown([&] {
        CRadarLabel* radar = painter->GetRadarLabel();
        auto visible = [&] { return radar->MapToImageAera(painter->GetZoomRect()); };
        // White at the point or next to it (edges fall on whole pixels).
        auto white = [&](QPointF p) {
            const QImage shot = radar->grab().toImage();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((shot.pixel(p.toPoint() + QPoint(dx, dy)) & 0xFFFFFF) == 0xFFFFFF)
                        return true;
            return false;
        };
        // The whole image: a frame, its middle left free.
        radar->Update();
        EXPECT_FALSE(white(visible().center()));
        EXPECT_TRUE(white(QPointF(visible().center().x(), visible().top())));
        for (int i = 0; i < 60; ++i)
            label()->OnWheel(120, QPoint(5, 5));
        painter->Update();
        ASSERT_LT(visible().width() - 1.0, 5.0);
        // A cross of 6 through the middle instead.
        EXPECT_TRUE(white(visible().center()));
    });
}
