// The labelled slider: steps, grating, fractions, signal timing, double press,
// key limit, wheel and radius adaptation.

#include "uifixture.h"

#include "ui/toolkit/hdrslider.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWheelEvent>

namespace {

class TestSlider : public HDRSlider {
public:
    using HDRSlider::HDRSlider;
    using HDRSlider::m_dLastClickTime;
};

HDRSlider* makeSlider(int min, int max, int step = 5, unsigned grating = 1, bool continuous = false)
{
    return new TestSlider(nullptr, "Radius", "klein", "gross", "px", min, max, step, grating, continuous, " ", false);
}

class SliderTest : public UiTest {
protected:
    void TearDown() override
    {
        delete slider;
        UiTest::TearDown();
    }
    HDRSlider* slider = nullptr;
};

TEST_F(SliderTest, AutomaticSingleStepTable)
{
    struct Case {
        int min, max, step;
    } cases[] = {{0, 100, 5},  {-100, 100, 10}, {1, 500, 25}, {0, 360, 25}, {0, 1000, 50}, {0, 20, 1},
                 {0, 5, 1},    {0, 40, 2},      {0, 3000, 100}, {0, 4000, 250}, {0, 10000, 500}, {0, 100000, 1000}};
    for (const Case& c : cases)
        EXPECT_EQ(HDRSlider::AutomaticSingleStep(c.min, c.max), c.step) << c.min << ".." << c.max;

    slider = makeSlider(-100, 100, 5);
    EXPECT_EQ(slider->singleStep(), 10);
    EXPECT_EQ(slider->GetSlider()->singleStep(), 10);
    EXPECT_EQ(slider->pageStep(), 0);
    delete slider;
    slider = makeSlider(-100, 100, 3);
    EXPECT_EQ(slider->singleStep(), 3);
}

TEST_F(SliderTest, GratingRoundsToTheNearestMultiple)
{
    slider = makeSlider(0, 360, 5, 90);
    slider->SetValueInt(44);
    EXPECT_EQ(slider->GetValueInt(), 0);
    slider->SetValueInt(45);
    EXPECT_EQ(slider->GetValueInt(), 90);
    EXPECT_EQ(slider->GetSlider()->value(), 90);
    EXPECT_EQ(slider->GetSpinBox()->value(), 90);
    delete slider;
    slider = makeSlider(0, 360, 5, 0);
    EXPECT_EQ(slider->GetGrating(), 1u);
    slider->SetValueInt(44);
    EXPECT_EQ(slider->GetValueInt(), 44);
}

TEST_F(SliderTest, FractionConversions)
{
    slider = makeSlider(0, 100);
    slider->SetValueF(1.0f);
    EXPECT_EQ(slider->GetValueInt(), 100);
    slider->SetValueF(0.5f);
    EXPECT_EQ(slider->GetValueInt(), 50);
    slider->SetValueF(2.0f);
    EXPECT_EQ(slider->GetValueInt(), 100);
    slider->SetValueF(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(slider->GetValueInt(), 0);
    delete slider;

    slider = makeSlider(1, 500);
    slider->SetValueF(0.5f);
    EXPECT_EQ(slider->GetValueInt(), 251);
    slider->SetCenterValueF(0.5f);
    EXPECT_EQ(slider->GetCenterValueInt(), 250);
    EXPECT_FLOAT_EQ(slider->GetValueF(), 250.0f / 499.0f);
    slider->SetCenterValueInt(9999);
    EXPECT_EQ(slider->GetCenterValueInt(), 500);
    slider->SetValueFloat(0.5f);
    EXPECT_EQ(slider->GetValueInt(), 251); // 1 + round(249.5)
    slider->SetValueFloat(7.0f);
    EXPECT_EQ(slider->GetValueInt(), 500);
    slider->SetCenterValueFloat(-3.0f);
    EXPECT_EQ(slider->GetCenterValueInt(), 1);
}

TEST_F(SliderTest, EmptyRangeGivesZeroFractions)
{
    slider = makeSlider(5, 5);
    slider->SetValueInt(5);
    EXPECT_EQ(slider->GetValueFloat(), 0.0f);
    EXPECT_EQ(slider->GetValueF(), 0.0f);
    EXPECT_EQ(slider->GetCenterValueF(), 0.0f);
    EXPECT_EQ(slider->GetCenterValueFloat(), 0.0f);
}

TEST_F(SliderTest, ProgrammaticSettersNeverEmit)
{
    slider = makeSlider(0, 100);
    SignalCounter updated(slider, &HDRSlider::valueUpdated);
    SignalCounter finished(slider, &HDRSlider::controlFinished);
    SignalCounter model(slider, &QAbstractSlider::valueChanged);
    slider->SetValueInt(30);
    slider->SetValueF(0.7f);
    slider->SetResetToValueF(0.2f);
    slider->SetToCenterValue();
    slider->SetEnabled(false);
    EXPECT_EQ(updated.count(), 0);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(model.count(), 0);
}

TEST_F(SliderTest, DragWithoutContinuousUpdatesReportsOnRelease)
{
    slider = makeSlider(0, 100);
    slider->SetValueInt(10);
    SignalCounter updated(slider, &HDRSlider::valueUpdated);
    SignalCounter during(slider, &HDRSlider::controlUpdated);
    SignalCounter finished(slider, &HDRSlider::controlFinished);
    _QSlider* s = slider->GetSlider();
    s->setSliderDown(true);
    s->setValue(40);
    s->setValue(60);
    EXPECT_EQ(slider->GetSpinBox()->value(), 60); // the value box follows the handle
    EXPECT_EQ(slider->GetValueInt(), 10);         // the model does not
    EXPECT_EQ(updated.count(), 0);
    EXPECT_EQ(during.count(), 0);
    EXPECT_EQ(finished.count(), 0);
    s->setSliderDown(false);
    EXPECT_EQ(slider->GetValueInt(), 60);
    EXPECT_EQ(updated.count(), 1);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(SliderTest, DragWithContinuousUpdatesReportsEveryMove)
{
    slider = makeSlider(0, 100, 5, 1, true);
    SignalCounter updated(slider, &HDRSlider::valueUpdated);
    SignalCounter during(slider, &HDRSlider::controlUpdated);
    SignalCounter finished(slider, &HDRSlider::controlFinished);
    _QSlider* s = slider->GetSlider();
    s->setSliderDown(true);
    s->setValue(40);
    s->setValue(60);
    EXPECT_EQ(slider->GetValueInt(), 60);
    EXPECT_EQ(updated.count(), 2);
    EXPECT_EQ(during.count(), 2);
    s->setSliderDown(false); // same value as last reported: no new report
    EXPECT_EQ(updated.count(), 2);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(SliderTest, ResetToValueIsNotReportedAgain)
{
    slider = makeSlider(0, 100);
    SignalCounter updated(slider, &HDRSlider::valueUpdated);
    slider->SetResetToValueF(0.5f);
    slider->GetSlider()->setValue(50); // no change, nothing
    slider->GetSpinBox()->setValue(50);
    EXPECT_EQ(updated.count(), 0);
    slider->GetSpinBox()->setValue(51);
    EXPECT_EQ(updated.count(), 1);
}

TEST_F(SliderTest, TypedValueIsGratedAndReported)
{
    slider = makeSlider(0, 360, 5, 90);
    SignalCounter updated(slider, &HDRSlider::valueUpdated);
    SignalCounter finished(slider, &HDRSlider::controlFinished);
    slider->GetSpinBox()->setValue(100);
    EXPECT_EQ(slider->GetValueInt(), 90);
    EXPECT_EQ(slider->GetSpinBox()->value(), 90);
    EXPECT_EQ(updated.count(), 1);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(SliderTest, DoublePressRestoresTheCentreValue)
{
    auto* s = static_cast<TestSlider*>(slider = makeSlider(0, 100));
    s->SetCenterValueInt(50);
    s->SetValueInt(50);
    s->EmitValueUpdated(); // 50 is the last report
    SignalCounter updated(s, &HDRSlider::valueUpdated);

    // Presses 250 ms apart: no reset.
    s->SetValueInt(20);
    s->m_dLastClickTime = MP_UI_GetActualTime() - 250.0;
    s->GetSlider()->setSliderDown(true);
    EXPECT_EQ(s->GetValueInt(), 20);
    s->GetSlider()->setSliderDown(false);

    // Presses 100 ms apart on a slider already at its centre: reset and report.
    s->SetValueInt(50);
    s->EmitValueUpdated();
    updated.clear();
    s->m_dLastClickTime = MP_UI_GetActualTime() - 100.0;
    s->GetSlider()->setSliderDown(true);
    EXPECT_EQ(s->GetValueInt(), 50);
    s->GetSlider()->setSliderDown(false);
    EXPECT_EQ(updated.count(), 1);

    // Switched off: nothing is restored.
    s->m_bResetOnDoubleClick = false;
    s->SetValueInt(20);
    s->m_dLastClickTime = MP_UI_GetActualTime() - 10.0;
    s->GetSlider()->setSliderDown(true);
    EXPECT_EQ(s->GetValueInt(), 20);
    s->GetSlider()->setSliderDown(false);
}

TEST_F(SliderTest, KeyPressesAreLimitedToTheInterval)
{
    slider = makeSlider(0, 100);
    _QSlider* s = slider->GetSlider();
    s->m_dMinKeyInterval = 1e9; // wide enough that no test machine is slow enough to matter
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(s, &right);
    EXPECT_EQ(slider->GetValueInt(), 5);
    QCoreApplication::sendEvent(s, &right);
    EXPECT_EQ(slider->GetValueInt(), 5); // dropped
    s->m_dLastKeyTime = MP_UI_GetActualTime() - 2e9;
    QCoreApplication::sendEvent(s, &right);
    EXPECT_EQ(slider->GetValueInt(), 10);
}

TEST_F(SliderTest, GrooveClickReachesBothEnds)
{
    slider = makeSlider(0, 100);
    _QSlider* s = slider->GetSlider();
    s->resize(204, 14);
    SignalCounter finished(slider, &HDRSlider::controlFinished);
    auto release = [&](double x) {
        QMouseEvent ev(QEvent::MouseButtonRelease, QPointF(x, 7), s->mapToGlobal(QPointF(x, 7)), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(s, &ev);
    };
    release(203);
    EXPECT_EQ(slider->GetValueInt(), 100);
    release(0);
    EXPECT_EQ(slider->GetValueInt(), 0);
    release(102);
    EXPECT_EQ(slider->GetValueInt(), 50); // -1 + 102 * 102 / 204
    EXPECT_EQ(finished.count(), 3);
}

TEST_F(SliderTest, WheelOverTheValueBoxNeedsFocus)
{
    slider = makeSlider(0, 100);
    slider->SetValueInt(50);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider->GetSpinBox(), &wheel);
    EXPECT_FALSE(wheel.isAccepted());
    EXPECT_EQ(slider->GetSpinBox()->value(), 50);
}

TEST_F(SliderTest, RadiusRangeFollowsTheCalculationQuality)
{
    struct Window : IToolkitMainWindow {
        QString radiusText;
        QRect MainWindowGeometry() const override { return {}; }
        bool IsShowInfoActChecked() const override { return false; }
        void SetShowInfoActChecked(bool) override {}
        void showInfoClickedExternal(bool) override {}
        void SetPreviewRadiusText(const QString& t) override { radiusText = t; }
    } window;
    ToolkitSeams::SetMainWindow(&window);

    slider = makeSlider(1, 500);
    slider->m_bIsRadius = true;
    slider->SetCenterValueF(0.5f);
    slider->SetValueInt(251);
    SignalCounter updated(slider, &HDRSlider::valueUpdated);

    MP_UI_SetCalculationQuality(0.25f);
    testing::internal::CaptureStdout();
    slider->grab();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "SliderMax from 500 to 250\n");
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 250);
    EXPECT_EQ(slider->GetSlider()->maximum(), 250);
    EXPECT_EQ(slider->GetSpinBox()->maximum(), 250);
    EXPECT_EQ(slider->GetValueInt(), 126); // the fraction 0.501 carried over
    EXPECT_EQ(slider->GetCenterValueInt(), 126);
    EXPECT_EQ(window.radiusText, "Radius");
    EXPECT_FLOAT_EQ(MP_UI_GetActualRadiusSize(), 1.0f + slider->GetValueF() * 249.0f);

    // Unchanged quality: no new adaptation.
    testing::internal::CaptureStdout();
    slider->grab();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    MP_UI_SetCalculationQuality(1.0f);
    testing::internal::CaptureStdout();
    slider->grab();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "SliderMax from 250 to 1000\n");
    EXPECT_EQ(slider->maximum(), 1000);
    EXPECT_EQ(updated.count(), 0);

    // A quality that would empty the range keeps one step.
    MP_UI_SetCalculationQuality(0.0f);
    testing::internal::CaptureStdout();
    slider->grab();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 2);
    EXPECT_GE(slider->GetValueF(), 0.0f);
    EXPECT_LE(slider->GetValueF(), 1.0f);
}

TEST_F(SliderTest, GrooveStyleNeedsMoreThanOneCharacter)
{
    slider = makeSlider(0, 100);
    EXPECT_TRUE(slider->GetSlider()->styleSheet().isEmpty());
    slider->SetStyleSheet("stop:0 #000, stop:1 #fff");
    const QString sheet = slider->GetSlider()->styleSheet();
    EXPECT_EQ(sheet, "QSlider::groove:horizontal { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #000, "
                     "stop:1 #fff); }");
    slider->SetStyleSheet(" ");
    EXPECT_EQ(slider->GetSlider()->styleSheet(), sheet);
}

TEST_F(SliderTest, ConstructorFormsAndVisibility)
{
    HDRSlider plain(nullptr, "low", "high");
    EXPECT_EQ(plain.GetName(), "UNDEFINED");
    EXPECT_EQ(plain.GetUnit(), "XXX");
    EXPECT_EQ(plain.maximum(), 100);
    EXPECT_TRUE(plain.GetSpinBox()->isHidden());
    EXPECT_EQ(plain.GetCenterValueInt(), 50);
    EXPECT_EQ(plain.GetValueInt(), 0);

    HDRSlider percent(nullptr, "Stärke", "schwach", "stark", true);
    EXPECT_EQ(percent.GetUnit(), "%");
    EXPECT_FALSE(percent.GetSpinBox()->isHidden());
    percent.SetValueVisible(false);
    EXPECT_TRUE(percent.GetSpinBox()->isHidden());

    HDRSlider ranged(nullptr, "a", "b", -10, 10);
    EXPECT_EQ(ranged.minimum(), -10);
    EXPECT_EQ(ranged.GetValueInt(), 0);

    ranged.SetEnabled(false);
    EXPECT_FALSE(ranged.isEnabled());
    EXPECT_TRUE(ranged.GetSpinBox()->styleSheet().contains("QSpinBox { color : rgba("));
    ranged.SetEnabled(true);
    EXPECT_FALSE(ranged.GetSpinBox()->styleSheet().contains("color"));
}

} // namespace
