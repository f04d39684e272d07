// The position picker: hit test and drags with the position rules, one report
// per release, the spin boxes in pixel scale, preset curves, the colour disc,
// the geometry records, the box size after the image and the pipette.

#include "uifixture.h"

#include "document/globalstate.h"
#include "ui/postprocessing/hdrpositionpicker.h"
#include "ui/postprocessing/postprocessingseams.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

#include <memory>
#include <vector>

namespace {

class FakeImageSource : public IPickerImageSource {
public:
    FakeImageSource(int w, int h) : m_Size(w, h), m_Preview(size_t(64) * 48 * 3, 0x8000) {}
    QSize ImageSize() const override { return m_Size; }
    const uint16_t* PreviewImage(QSize* size) const override
    {
        *size = QSize(64, 48);
        return m_Preview.data();
    }
    QSize m_Size;
    std::vector<uint16_t> m_Preview;
};

class PositionPickerTest : public UiTest {
protected:
    void TearDown() override
    {
        PostProcessingSeams::SetImageSource(nullptr);
        PostProcessingSeams::SetPreviewLabel(nullptr);
        CGlobalState::DeleteInstance();
        UiTest::TearDown();
    }
};

} // namespace

TEST_F(PositionPickerTest, LineEndNearTheOtherStaysAndReleaseReportsOnce)
{
    HDRPositionPicker picker(HDRPositionPicker::eModeLine, QStringLiteral("Linie"));
    picker.SetDefaultValue(0.2f, 0.2f, 0u);
    picker.SetDefaultValue(0.8f, 0.8f, 1u);
    picker.ResetToDefaultValues();
    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);

    picker.mouseMove(0.81f, 0.79f); // within 6 px of point 1
    EXPECT_EQ(picker.SelectedPoint(), 1);
    picker.mouseDrag(0.23f, 0.22f); // within 0.05 of point 0: refused
    EXPECT_FLOAT_EQ(picker.X(1), 0.8f);
    EXPECT_FLOAT_EQ(picker.Y(1), 0.8f);
    EXPECT_EQ(updates.count(), 0);
    picker.mouseDrag(0.5f, 0.4f);
    EXPECT_FLOAT_EQ(picker.X(1), 0.5f);
    EXPECT_FLOAT_EQ(picker.Y(1), 0.4f);
    EXPECT_EQ(updates.count(), 0) << "a drag reports on release only";
    picker.mouseRelease(0.5f, 0.4f);
    EXPECT_EQ(updates.count(), 1);

    // a plain move off every point clears the selection; a release then says nothing
    picker.mouseMove(0.0f, 1.0f);
    EXPECT_EQ(picker.SelectedPoint(), -1);
    picker.mouseRelease(0.0f, 1.0f);
    EXPECT_EQ(updates.count(), 1);
}

TEST_F(PositionPickerTest, SplineKnotsKeepTheirOrderAndEndsMoveOnlyVertically)
{
    HDRPositionPicker picker(HDRPositionPicker::eModeSpline, QStringLiteral("Kurve"));
    picker.SetSplineMode(HDRPositionPicker::eSplGradation, 1);
    EXPECT_EQ(picker.GradationCombo()->currentIndex(), 1);
    EXPECT_FLOAT_EQ(picker.X(2), 0.4f);
    float defaults[256];
    picker.GetDefaultValues(defaults);
    EXPECT_FLOAT_EQ(defaults[10], 1.0f) << "the preset became the default";

    struct Case {
        unsigned knot;
        float x, y;       // proposed (y upwards)
        float wantX, wantY;
    } cases[] = {
        {0, 0.3f, 0.4f, 0.0f, 0.4f},  // knot 0 keeps x = 0
        {5, 0.6f, 0.7f, 1.0f, 0.7f},  // knot 5 keeps x = 1
        {2, 0.7f, 0.5f, 0.4f, 0.5f},  // past its right neighbour: x stays
        {2, 0.22f, 0.1f, 0.4f, 0.1f}, // too close to its left neighbour
        {2, 0.25f, 0.3f, 0.25f, 0.3f}, // exactly 0.05 from knot 1 is allowed
    };
    for (const Case& c : cases) {
        picker.setPos(c.x, c.y, c.knot);
        EXPECT_FLOAT_EQ(picker.X(c.knot), c.wantX) << "knot " << c.knot << " to " << c.x;
        EXPECT_FLOAT_EQ(picker.Y(c.knot), c.wantY) << "knot " << c.knot << " to " << c.x;
    }
}

TEST_F(PositionPickerTest, DraggingAKnotShowsTheCustomItemAndRefreshFindsPresets)
{
    HDRPositionPicker picker(HDRPositionPicker::eModeSpline, QStringLiteral("Kurve"));
    picker.SetSplineMode(HDRPositionPicker::eSplEffect, 1);
    EXPECT_EQ(picker.Stack()->currentIndex(), 2);
    EXPECT_EQ(picker.EffectCombo()->currentIndex(), 1);
    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);

    // knot 3 is at (0.6, 1): on the box at y = 0
    picker.mouseMove(0.6f, 0.0f);
    ASSERT_EQ(picker.SelectedPoint(), 3);
    picker.mouseDrag(0.6f, 0.5f);
    EXPECT_FLOAT_EQ(picker.Y(3), 0.5f);
    EXPECT_EQ(picker.EffectCombo()->currentIndex(), 0);
    EXPECT_EQ(updates.count(), 0);

    // within 0.05 of "flat" again: refresh selects it, silently
    picker.SetPos(0.6f, 0.96f, 3);
    picker.RefreshComboBox();
    EXPECT_EQ(picker.EffectCombo()->currentIndex(), 1);
    EXPECT_EQ(updates.count(), 0);

    // the custom item changes nothing; a preset replaces all points and reports once
    picker.EffectCombo()->setCurrentIndex(0);
    EXPECT_FLOAT_EQ(picker.Y(3), 0.96f);
    EXPECT_EQ(updates.count(), 0);
    picker.EffectCombo()->setCurrentIndex(3); // midtones
    EXPECT_FLOAT_EQ(picker.Y(2), 0.85f);
    EXPECT_FLOAT_EQ(picker.Y(5), 0.0f);
    EXPECT_EQ(updates.count(), 1);
}

TEST_F(PositionPickerTest, TwentyPresetCurvesAreTheTable)
{
    const float (&t)[2][10][128][2] = HDRPositionPicker::s_ppppfSplineDefaults;
    EXPECT_FLOAT_EQ(t[0][1][1][1], 0.27f);   // over exposed
    EXPECT_FLOAT_EQ(t[0][9][2][0], 0.27f);   // Artwork
    EXPECT_FLOAT_EQ(t[1][9][4][1], 0.8f);    // protect light&shadow
    EXPECT_FLOAT_EQ(t[1][0][0][1], 1.0f);    // flat
    for (int m = 0; m < 2; ++m)
        for (int p = 0; p < 10; ++p) {
            EXPECT_FLOAT_EQ(t[m][p][5][0], 1.0f);
            EXPECT_FLOAT_EQ(t[m][p][6][0], 0.0f);
        }
}

TEST_F(PositionPickerTest, PointSpinBoxesCountImagePixelsAndBoxFollowsTheAspect)
{
    FakeImageSource landscape(4000, 2667);
    PostProcessingSeams::SetImageSource(&landscape);
    HDRPositionPicker picker(HDRPositionPicker::eModePoint, QStringLiteral("Punkt"));
    picker.UpdateExposureSeries();
    EXPECT_EQ(picker.Box()->size(), QSize(262, 196));
    EXPECT_EQ(picker.SpinBox(0)->maximum(), 4000);

    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);
    picker.SpinBox(0)->setValue(4000);
    EXPECT_FLOAT_EQ(picker.X(0), 1.0f);
    EXPECT_EQ(updates.count(), 1);
    picker.SetPos(1.0f, 0.5f, 0);
    EXPECT_EQ(picker.SpinBox(0)->value(), 4000);
    EXPECT_EQ(picker.SpinBox(1)->value(), 1334);
    EXPECT_EQ(updates.count(), 1) << "SetPos does not report";

    FakeImageSource portrait(2000, 3000);
    PostProcessingSeams::SetImageSource(&portrait);
    picker.UpdateExposureSeries();
    EXPECT_EQ(picker.Box()->size(), QSize(262, 349));

    // no image: the square box and 0..255 stay
    HDRPositionPicker fresh(HDRPositionPicker::eModePoint, QStringLiteral("Punkt"));
    FakeImageSource empty(0, 0);
    PostProcessingSeams::SetImageSource(&empty);
    fresh.UpdateExposureSeries();
    EXPECT_EQ(fresh.Box()->size(), QSize(262, 262));
    EXPECT_EQ(fresh.SpinBox(0)->maximum(), 255);
}

TEST_F(PositionPickerTest, ColourDiscPositionsAndTypedColours)
{
    HDRPositionPicker picker(HDRPositionPicker::eModeColor, QStringLiteral("Farbe"));
    int r = 0, g = 0, b = 0;
    picker.PosToColor(0.5f, 0.25f, &r, &g, &b);
    EXPECT_EQ(r, 127);
    EXPECT_EQ(g, 63);
    EXPECT_EQ(b, 63);

    picker.SetDefaultValue(0.9f, 0.7f, 0.3f);
    float v[256];
    picker.GetDefaultValues(v);
    EXPECT_FLOAT_EQ(v[2], 229.0f / 255.0f);
    EXPECT_FLOAT_EQ(v[3], 178.0f / 255.0f);
    EXPECT_FLOAT_EQ(v[4], 76.0f / 255.0f);
    // the reset puts the point at the nearest disc position; the colour is that position's
    picker.ResetToDefaultValues();
    picker.GetValues(v);
    int pr = 0, pg = 0, pb = 0;
    picker.PosToColor(v[0], v[1], &pr, &pg, &pb);
    EXPECT_EQ(picker.SpinBox(0)->value(), pr);
    EXPECT_EQ(picker.SpinBox(2)->value(), pb);
    // SetColor keeps the colour as given
    picker.SetColor(229, 178, 76);
    EXPECT_EQ(picker.SpinBox(0)->value(), 229);
    EXPECT_EQ(picker.SpinBox(1)->value(), 178);
    EXPECT_EQ(picker.SpinBox(2)->value(), 76);

    // a typed colour is stored as typed; only the point moves
    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);
    picker.SpinBox(1)->setValue(10);
    picker.GetValues(v);
    EXPECT_FLOAT_EQ(v[3], 10.0f / 255.0f);
    EXPECT_EQ(updates.count(), 1);

    // a press outside the disc lands on the rim and still starts a drag
    picker.mousePress(1.0f, 0.5f);
    EXPECT_FLOAT_EQ(picker.X(0), 1.0f);
    EXPECT_FLOAT_EQ(picker.Y(0), 0.5f);
    EXPECT_EQ(picker.SelectedPoint(), 0);
    picker.mouseRelease(1.0f, 0.5f);
    EXPECT_EQ(updates.count(), 2);

    // outside colour mode the colour setters do nothing
    HDRPositionPicker point(HDRPositionPicker::eModePoint, QString());
    point.SetColor(255, 0, 0);
    point.GetValues(v);
    EXPECT_FLOAT_EQ(v[2], 0.0f);
}

TEST_F(PositionPickerTest, GeometryRecordsIgnoreSlotsPastThirtyOne)
{
    HDRPositionPicker picker(HDRPositionPicker::eModeGeometry, QString());
    picker.SetGeometry(3, 1, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f);
    picker.SetGeometry(32, 2, 2, 2, 2, 2, 2, 2, 2);
    float v[256];
    picker.GetValues(v);
    EXPECT_FLOAT_EQ(v[24], 1.0f);
    EXPECT_FLOAT_EQ(v[31], 0.7f);
    float a = -1, h = -1;
    picker.GetGeometry(&a, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &h, 3);
    EXPECT_FLOAT_EQ(a, 1.0f);
    EXPECT_FLOAT_EQ(h, 0.7f);

    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);
    picker.ResetToDefaultValues();
    picker.GetValues(v);
    EXPECT_FLOAT_EQ(v[24], 0.0f);
    EXPECT_EQ(updates.count(), 0);
    picker.ForceValueUpdate();
    EXPECT_EQ(updates.count(), 1);
}

TEST_F(PositionPickerTest, PipettePicksInsideThePictureOnlyAndEndsOnAnotherClick)
{
    QLabel preview;
    preview.resize(200, 100);
    QPixmap pixmap(100, 50); // the picture is half the label's width: s = 0.5
    pixmap.fill(QColor(10, 20, 30));
    preview.setPixmap(pixmap);
    preview.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PostProcessingSeams::SetPreviewLabel(&preview);
    QLabel elsewhere;

    HDRPositionPicker picker(HDRPositionPicker::eModeColor, QStringLiteral("Farbe"));
    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);
    picker.PipetteButton()->click();
    ASSERT_TRUE(picker.PipetteButton()->isChecked());

    auto press = [](QWidget* w, QPointF p) {
        QMouseEvent e(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    auto release = [](QWidget* w, QPointF p) {
        QMouseEvent e(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    press(&preview, QPointF(20, 20));
    release(&preview, QPointF(20, 20));
    EXPECT_EQ(picker.SpinBox(0)->value(), 10);
    EXPECT_EQ(picker.SpinBox(2)->value(), 30);
    EXPECT_EQ(updates.count(), 1);
    EXPECT_TRUE(picker.PipetteButton()->isChecked()) << "picking goes on";

    // below the picture (y 60 of 100 is row 30 of 50... at s = 0.5: row 30 < 50) and past it
    press(&preview, QPointF(20, 99)); // row 49: inside
    release(&preview, QPointF(20, 99));
    EXPECT_EQ(updates.count(), 2);

    // another click ends picking and reaches its target
    press(&elsewhere, QPointF(1, 1));
    EXPECT_FALSE(picker.PipetteButton()->isChecked());
    EXPECT_EQ(updates.count(), 2);
}

TEST_F(PositionPickerTest, PipetteIgnoresALabelWithoutPicture)
{
    QLabel preview;
    preview.resize(0, 0);
    PostProcessingSeams::SetPreviewLabel(&preview);
    HDRPositionPicker picker(HDRPositionPicker::eModeColor, QString());
    SignalCounter updates(&picker, &HDRPositionPicker::valueUpdated);
    picker.PipetteButton()->click();
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&preview, &e);
    EXPECT_EQ(updates.count(), 0);
}

TEST_F(PositionPickerTest, BoxIsDrawnInEveryMode)
{
    for (auto mode : {HDRPositionPicker::eModePoint, HDRPositionPicker::eModeLine, HDRPositionPicker::eModeSpline,
                      HDRPositionPicker::eModeColor}) {
        HDRPositionPicker picker(mode, QStringLiteral("x"));
        picker.SetDefaultValue(0.3f, 0.4f, 0u);
        picker.SetDefaultValue(0.7f, 0.6f, 1u);
        picker.ResetToDefaultValues();
        picker.UpdateDisplay();
        EXPECT_FALSE(picker.Box()->pixmap().isNull()) << mode;
        EXPECT_EQ(picker.Box()->pixmap().size(), QSize(262, 262));
    }
}

TEST_F(PositionPickerTest, BackdropShowsThePreviewAndFollowsANewImage)
{
    FakeImageSource source(400, 300);
    PostProcessingSeams::SetImageSource(&source);
    HDRPositionPicker picker(HDRPositionPicker::eModePoint, QStringLiteral("Punkt"));
    picker.UpdateExposureSeries();
    picker.SetPos(0.9f, 0.9f, 0);
    picker.UpdateDisplay();
    EXPECT_EQ(picker.Box()->pixmap().toImage().pixel(3, 3), 0xFF808080u);
    // the same buffer with new content: a new image makes the picker scale it again
    std::fill(source.m_Preview.begin(), source.m_Preview.end(), 0x4000);
    picker.UpdateExposureSeries();
    EXPECT_EQ(picker.Box()->pixmap().toImage().pixel(3, 3), 0xFF404040u);

    // without a source the grey backdrop
    PostProcessingSeams::SetImageSource(nullptr);
    picker.UpdateDisplay();
    EXPECT_EQ(picker.Box()->pixmap().toImage().pixel(3, 3), 0xFF2E2E2Eu);
}
