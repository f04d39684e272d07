// Dock base, collapsible panels, exposure labels and cursors.

#include "uifixture.h"

#include "ui/toolkit/hdrcollapsible.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/toolkit/hdrdockwidget.h"
#include "ui/toolkit/hdrexposurelabel.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace {

struct FakeInfoDock : IInfoDock {
    QString text;
    QString InfoHtml() const override { return text; }
    void SetInfoDockVisible(bool) override {}
    void UpdateText(const QString& t) override { text = t; }
};

class TestDock : public HDRDockWidget {
public:
    TestDock() : HDRDockWidget("Voreinstellungen", nullptr, Qt::WindowFlags()) {}
    void GetInfoText(QString& text) override { text = "<b>Wähle eine Voreinstellung</b>"; }
};

using DockTest = UiTest;

TEST_F(DockTest, DockGeometryAndFeatures)
{
    TestDock dock;
    EXPECT_EQ(dock.width(), 312);
    EXPECT_EQ(dock.minimumWidth(), 312);
    EXPECT_EQ(dock.GetContentWidget()->width(), 302);
    EXPECT_EQ(dock.allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(dock.features(), QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    EXPECT_EQ(dock.widget(), dock.GetScrollArea());
    EXPECT_EQ(dock.GetScrollArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(dock.GetScrollArea()->verticalScrollBar()->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(dock.GetContentWidget()->layout(), dock.GetContentLayout());
    EXPECT_EQ(dock.windowTitle(), "Voreinstellungen");
}

TEST_F(DockTest, HighlightMarksTheTitleAndShowsTheHelpText)
{
    FakeInfoDock info;
    ToolkitSeams::SetInfoDock(&info);
    TestDock dock;
    dock.SetHighlighted(true);
    EXPECT_EQ(dock.windowTitle(), ">> Voreinstellungen <<");
    EXPECT_EQ(info.text, "<b>Wähle eine Voreinstellung</b>");
    dock.SetHighlighted(false);
    EXPECT_EQ(dock.windowTitle(), "Voreinstellungen");
}

TEST_F(DockTest, CollapsingHidesRegisteredWidgetsAndKeepsTheHeader)
{
    HDRCollapsible panel(nullptr);
    panel.SetHeader("Farbe");
    EXPECT_EQ(panel.GetHeaderLabel()->text(), "Farbe");
    QLabel* a = new QLabel("a", &panel);
    QLabel* b = new QLabel("b", &panel);
    QLabel* loose = new QLabel("c", &panel);
    panel.AddWidget(a, true, true);
    panel.AddWidget(b, true, false);
    panel.AddWidget(loose, false, false);
    QHBoxLayout* row = new QHBoxLayout();
    row->setContentsMargins(5, 6, 7, 8);
    panel.InsertLayout(row, true);
    EXPECT_EQ(panel.GetLayout()->indexOf(loose), -1);
    EXPECT_EQ(panel.GetLayout()->contentsMargins(), QMargins(11, 2, 11, 11));
    panel.show();

    int signals_ = 0;
    QObject::connect(&panel, &HDRCollapsible::collapse, &panel, [&] { ++signals_; });
    panel.Collapse(false);
    EXPECT_FALSE(panel.IsOpened());
    EXPECT_TRUE(a->isHidden());
    EXPECT_FALSE(b->isHidden());
    EXPECT_FALSE(panel.GetHeader()->isHidden());
    EXPECT_EQ(row->contentsMargins(), QMargins(0, 0, 0, 0));
    EXPECT_EQ(panel.GetLayout()->contentsMargins(), QMargins(11, 2, 11, 2));

    // Registered while closed: stays visible until the next Collapse.
    QLabel* late = new QLabel("d", &panel);
    panel.AddWidget(late, true, true);
    late->show();
    EXPECT_FALSE(late->isHidden());

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(panel.GetHeader(), &press); // the header toggles
    EXPECT_TRUE(panel.IsOpened());
    EXPECT_FALSE(a->isHidden());
    EXPECT_EQ(row->contentsMargins(), QMargins(5, 6, 7, 8));
    EXPECT_EQ(signals_, 2);
    panel.Collapse(true); // the same state again still emits
    EXPECT_EQ(signals_, 3);
    panel.Collapse(false);
    EXPECT_TRUE(late->isHidden());
}

TEST_F(DockTest, ExposureLabelPressRules)
{
    HDRExposureLabel label(nullptr);
    EXPECT_EQ(label.size(), QSize(104, 60));
    EXPECT_EQ(label.frameShape(), QFrame::Box);
    EXPECT_TRUE(label.styleSheet().isEmpty()); // no style until the owner asks
    QList<bool> stateSeen;
    QObject::connect(&label, &HDRExposureLabel::clicked, &label, [&] { stateSeen << label.m_bChecked; });
    int doubles = 0;
    QObject::connect(&label, &HDRExposureLabel::doubleClicked, &label, [&] { ++doubles; });
    auto press = [&] {
        QMouseEvent ev(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(&label, &ev);
    };

    press();
    EXPECT_TRUE(label.m_bChecked);
    press();
    EXPECT_FALSE(label.m_bChecked);
    EXPECT_EQ(stateSeen, QList<bool>({false, true})); // receivers see the state before the press

    label.m_bStayChecked = true;
    label.SetChecked(true);
    press();
    EXPECT_TRUE(label.m_bChecked);
    EXPECT_EQ(stateSeen.size(), 3);

    label.m_bCheckable = false;
    label.m_bStayChecked = false;
    press();
    EXPECT_TRUE(label.m_bChecked);
    EXPECT_EQ(stateSeen.size(), 4);

    label.m_bIgnoreClicks = true;
    press();
    EXPECT_EQ(stateSeen.size(), 4);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(&label, &dbl);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(stateSeen.size(), 4);
}

TEST_F(DockTest, ExposureLabelStyles)
{
    CStyleEngine::instance().SetStyle(0, 0, false);
    HDRExposureLabel label(nullptr);
    label.m_uiBorderWidth = 3;
    label.SetChecked(true);
    EXPECT_EQ(label.styleSheet(), "QLabel { border-radius: 5px; border-style: solid; border-width: 3px; "
                                  "border-color: #8f8f9f; background: #2e2e2e; }");
    label.UpdateStyle(false);
    EXPECT_TRUE(label.m_bChecked);
    EXPECT_TRUE(label.styleSheet().contains("border-width: 1px"));
    EXPECT_TRUE(label.styleSheet().contains("#2f2f2f"));

    HDRExposureLabelWeightColor narrow(nullptr);
    EXPECT_EQ(narrow.width(), 24);
    int clicks = 0;
    QObject::connect(&narrow, &HDRExposureLabel::clicked, &narrow, [&] { ++clicks; });
    QMouseEvent ev(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(&narrow, &ev);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(narrow.m_bChecked);
}

TEST_F(DockTest, CursorsAndHotSpots)
{
    EXPECT_EQ(HDRCursor::Pipette.shape(), Qt::ArrowCursor); // before Init: default arrows
    HDRCursor::Init();
    struct Case {
        const QCursor* cursor;
        QPoint hot;
    } cases[] = {
        {&HDRCursor::Arrow, {0, 0}},          {&HDRCursor::Pipette, {0, 31}},   {&HDRCursor::ClosedHand, {8, 8}},
        {&HDRCursor::OpenHand, {8, 8}},       {&HDRCursor::Cross, {16, 16}},    {&HDRCursor::Paint, {0, 0}},
        {&HDRCursor::PaintStamp, {0, 0}},     {&HDRCursor::Smooth, {0, 0}},     {&HDRCursor::SmoothStamp, {0, 0}},
        {&HDRCursor::DeGhost, {0, 0}},        {&HDRCursor::Clear, {0, 0}},      {&HDRCursor::ClearStamp, {0, 0}},
        {&HDRCursor::DragDirection, {8, 8}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.cursor->shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.cursor->pixmap().size(), QSize(32, 32));
        EXPECT_EQ(c.cursor->hotSpot(), c.hot);
    }
}

} // namespace
