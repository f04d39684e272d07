// Opacity widgets, the opacity slider, the context-menu button and the label base.

#include "uifixture.h"

#include "ui/toolkit/AK_GlobalWidgets.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <map>

using namespace _gui;

namespace {

class OpacityTest : public UiTest {
protected:
    QWidget parent;
    HDROpacitySlider* control = new HDROpacitySlider(&parent, "Größe", "klein", "groß");
    QStringList events;

    void record()
    {
        QObject::connect(control, &HDROpacitySlider::SigValueUpdated, &parent, [this] { events << "value"; });
        QObject::connect(control, &HDROpacitySlider::SigControlUpdated, &parent, [this] { events << "update"; });
        QObject::connect(control, &HDROpacitySlider::SigControlFinished, &parent, [this] { events << "finished"; });
    }
};

TEST_F(OpacityTest, FractionMapping)
{
    const struct {
        float in;
        int value;
    } cases[] = {{0.125f, 13}, {1.5f, 100}, {-1.0f, 0}, {0.004f, 0}, {0.995f, 100}};
    for (const auto& c : cases) {
        control->SetValueF(c.in);
        EXPECT_EQ(control->GetSlider()->value(), c.value) << c.in;
    }
    control->SetValueF(0.125f);
    EXPECT_FLOAT_EQ(control->GetValueF(), 0.13f);
    EXPECT_EQ(control->GetSlider()->pageStep(), 0);
    EXPECT_EQ(control->GetSlider()->singleStep(), 5);
}

TEST_F(OpacityTest, SetValueReportsLikeAUserChange)
{
    record();
    control->SetValueF(0.4f);
    EXPECT_EQ(events, QStringList({"value", "finished"}));
    events.clear();
    control->SetValueF(0.4f); // no change of the slider, no report
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(OpacityTest, DragReportsOnReleaseOrContinuously)
{
    record();
    COpacitySlider* s = control->GetSlider();
    s->setSliderDown(true);
    s->setValue(30);
    s->setValue(40);
    EXPECT_TRUE(events.isEmpty());
    s->setSliderDown(false);
    EXPECT_EQ(events, QStringList({"value", "finished"}));

    events.clear();
    control->SetSmoothUpdate(true);
    s->setSliderDown(true);
    s->setValue(50);
    s->setValue(60);
    EXPECT_EQ(events, QStringList({"value", "update", "value", "update"}));
    s->setSliderDown(false);
}

TEST_F(OpacityTest, DoubleClickOnTheHandleRestoresTheCentre)
{
    record();
    COpacitySlider* s = control->GetSlider();
    s->resize(200, 20);
    s->setValue(80);
    events.clear();
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.orientation = Qt::Horizontal;
    opt.minimum = 0;
    opt.maximum = 100;
    opt.sliderPosition = opt.sliderValue = 80;
    const QPoint handle =
        s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s).center();
    ASSERT_TRUE(s->IsOnHandle(handle));

    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(handle), s->mapToGlobal(QPointF(handle)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s, &dbl);
    EXPECT_EQ(s->value(), 50);
    EXPECT_EQ(events, QStringList({"value", "finished"}));
    EXPECT_FALSE(s->isSliderDown()); // the press that follows the double click starts no drag

    // Beside the handle the double click is just a press: the centre is not restored.
    s->setValue(80);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(handle), s->mapToGlobal(QPointF(handle)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s, &release);
    const QPointF beside(5, 10);
    ASSERT_FALSE(s->IsOnHandle(beside.toPoint()));
    QMouseEvent dbl2(QEvent::MouseButtonDblClick, beside, s->mapToGlobal(beside), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(s, &dbl2);
    EXPECT_NE(s->value(), 50);
}

class PaintCounter : public QObject {
public:
    std::map<QObject*, int> paints;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints[o];
        return false;
    }
};

TEST_F(OpacityTest, OpacityRepaintsOnlyWhenItChanges)
{
    parent.show();
    QCoreApplication::processEvents();
    PaintCounter counter;
    QWidget* parts[4] = {control->GetSlider(), control->GetLowLabel(), control->GetNameLabel(),
                         control->GetHighLabel()};
    for (QWidget* w : parts)
        w->installEventFilter(&counter);
    control->SetOpacity(0.25f);
    control->SetOpacity(0.25f);
    for (QWidget* w : parts)
        EXPECT_EQ(counter.paints[w], 1);
    EXPECT_EQ(control->GetSlider()->GetOpacity(), 0.25f);

    COpacityGroupBox box(&parent);
    COpacityPushButton button(&parent);
    EXPECT_EQ(box.GetOpacity(), 1.0f);
    EXPECT_EQ(button.GetOpacity(), 1.0f);
    button.SetOpacity(0.5f);
    EXPECT_EQ(button.GetOpacity(), 0.5f);
    for (QWidget* w : parts)
        w->removeEventFilter(&counter);
}

TEST_F(OpacityTest, EnableAndTriggerAction)
{
    control->SetValueF(0.5f);
    control->SetEnabled(false);
    EXPECT_FALSE(control->GetSlider()->isEnabled());
    EXPECT_TRUE(control->GetLowLabel()->isEnabled());
    control->TriggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(control->GetSlider()->value(), 55);
    control->SetStyleSheet(" ");
    EXPECT_TRUE(control->GetSlider()->styleSheet().isEmpty());
    control->SetStyleSheet("stop:0 #000, stop:1 #fff");
    EXPECT_TRUE(control->GetSlider()->styleSheet().startsWith("QSlider::groove:horizontal"));
}

TEST(ContextMenuButton, ReportsOnlyWhenEnabledIdentifiedAndChecked)
{
    QWidget parent;
    CContextMenuPushButton button(&parent);
    QList<int> ids;
    QList<QPoint> positions;
    QObject::connect(&button, &CContextMenuPushButton::SigContextMenu, &parent, [&](int id, QPoint const& pos) {
        ids << id;
        positions << pos;
    });
    auto request = [&] {
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(3, 4), QPoint(103, 204));
        QCoreApplication::sendEvent(&button, &ev);
        return ev.isAccepted();
    };
    EXPECT_FALSE(request()); // id -1
    button.SetContextMenuId(7);
    button.setEnabled(false);
    request();
    button.setEnabled(true);
    button.SetCheckedOnly(true);
    button.setCheckable(true);
    request();
    EXPECT_TRUE(ids.isEmpty());
    button.setChecked(true);
    EXPECT_FALSE(request()); // reported, and still passed on to the parent
    ASSERT_EQ(ids.size(), 1);
    EXPECT_EQ(ids[0], 7);
    EXPECT_EQ(positions[0], QPoint(103, 204));
}

TEST(BaseLabel, KeepsItsParent)
{
    QWidget parent;
    CBaseLabel label(&parent);
    EXPECT_EQ(label.BaseParent(), &parent);
    int updates = 0;
    QObject::connect(&label, &CBaseLabel::SigUpdate, &parent, [&] { ++updates; });
    emit label.SigUpdate();
    EXPECT_EQ(updates, 1);
}

} // namespace
