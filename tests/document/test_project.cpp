// Project participants and the application-wide event routing.

#include "document/globalstate.h"
#include "document/project.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Participant : IProject {
    Participant() = default;
    explicit Participant(NoRegistration n) : IProject(n) {}
    bool SaveProject(QSettings&, const QString&) const override
    {
        order->push_back(id);
        savingSeen = s_bSaving;
        return result;
    }
    bool LoadProject(QSettings&, const QString&) override
    {
        order->push_back(id);
        loadingSeen = s_bLoading;
        return result;
    }
    int id = 0;
    std::vector<int>* order = nullptr;
    bool result = true;
    mutable bool savingSeen = false;
    bool loadingSeen = false;
};

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (IProject* p : IProject::s_ppPtr)
            ASSERT_EQ(p, nullptr) << "a participant of another test is still registered";
    }
    std::vector<int> order;
    std::unique_ptr<Participant> make(int id)
    {
        auto p = std::make_unique<Participant>();
        p->id = id;
        p->order = &order;
        return p;
    }
};

} // namespace

TEST_F(ProjectTest, NinthIsNotRegisteredAndAFreedSlotIsReused)
{
    std::vector<std::unique_ptr<Participant>> all;
    for (int i = 0; i < 9; ++i)
        all.push_back(make(i));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(IProject::SlotOf(all[i].get()), i);
    EXPECT_EQ(IProject::SlotOf(all[8].get()), -1);

    all[3].reset();
    auto next = make(42);
    EXPECT_EQ(IProject::SlotOf(next.get()), 3);

    QTemporaryDir dir;
    QSettings settings(dir.filePath("p.ini"), QSettings::IniFormat);
    EXPECT_TRUE(IProject::Save(settings, dir.path()));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 42, 4, 5, 6, 7}));

    // Destroying the unregistered ninth changes nothing.
    all[8].reset();
    EXPECT_EQ(IProject::SlotOf(next.get()), 3);
}

TEST_F(ProjectTest, FlagsOnlyInsideAndFirstFailureStops)
{
    auto a = make(1);
    auto b = make(2);
    auto c = make(3);
    b->result = false;
    QTemporaryDir dir;
    QSettings settings(dir.filePath("p.ini"), QSettings::IniFormat);

    EXPECT_FALSE(IProject::s_bLoading);
    EXPECT_FALSE(IProject::Load(settings, dir.path()));
    EXPECT_TRUE(a->loadingSeen);
    EXPECT_FALSE(IProject::s_bLoading);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    order.clear();
    EXPECT_FALSE(IProject::Save(settings, dir.path()));
    EXPECT_TRUE(a->savingSeen);
    EXPECT_FALSE(IProject::s_bSaving);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    b->result = true;
    order.clear();
    EXPECT_TRUE(IProject::Load(settings, dir.path()));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(ProjectTest, NonRegisteringParticipantTakesNoSlot)
{
    Participant batch{IProject::NoRegistration{}};
    EXPECT_EQ(IProject::SlotOf(&batch), -1);
    for (IProject* p : IProject::s_ppPtr)
        EXPECT_EQ(p, nullptr);
}

namespace {

struct Receiver : IGlobalStateReceiver {
    void eventActivate() override { ++activated; }
    void eventDeactivate() override { ++deactivated; }
    bool eventFilter(QObject*, QEvent* event) override
    {
        offered.push_back(event->type());
        return answer;
    }
    bool answer = false;
    int activated = 0;
    int deactivated = 0;
    std::vector<QEvent::Type> offered;
};

// Counts the events that reach it.
struct Target : QObject {
    bool event(QEvent* e) override
    {
        received.push_back(e->type());
        return true;
    }
    std::vector<QEvent::Type> received;
};

QMouseEvent press()
{
    return QMouseEvent(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
}

} // namespace

TEST(GlobalState, PipetteConsumesUntilReceiverIsDone)
{
    Receiver r;
    Target target;
    CGlobalState::Activate(&r);
    EXPECT_EQ(r.activated, 1);

    QMouseEvent p1 = press();
    QCoreApplication::sendEvent(&target, &p1);
    EXPECT_TRUE(target.received.empty()); // consumed
    ASSERT_EQ(r.offered.size(), 1u);

    // Moves, wheel events and key-less events are never offered.
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &move);
    QWheelEvent wheel(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &wheel);
    EXPECT_EQ(r.offered.size(), 1u);
    EXPECT_EQ(target.received.size(), 2u);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &key);
    EXPECT_EQ(r.offered.size(), 2u);
    EXPECT_EQ(target.received.size(), 2u);

    r.answer = true;
    QMouseEvent p2 = press();
    QCoreApplication::sendEvent(&target, &p2);
    EXPECT_EQ(target.received.size(), 3u); // this press reaches its target
    EXPECT_EQ(r.deactivated, 1);

    QMouseEvent p3 = press();
    QCoreApplication::sendEvent(&target, &p3);
    EXPECT_EQ(r.offered.size(), 3u); // routing has stopped
    EXPECT_EQ(target.received.size(), 4u);

    CGlobalState::DeleteInstance();
    EXPECT_EQ(CGlobalState::s_pInstance, nullptr);
    CGlobalState::Deactivate(); // without an instance: nothing
}

TEST(GlobalState, ActivateOverActiveReplacesWithoutTellingTheOld)
{
    Receiver a, b;
    CGlobalState::Activate(&a);
    CGlobalState::Activate(&b);
    EXPECT_EQ(a.deactivated, 0);
    EXPECT_EQ(b.activated, 1);
    Target target;
    QMouseEvent p = press();
    QCoreApplication::sendEvent(&target, &p);
    EXPECT_TRUE(a.offered.empty());
    EXPECT_EQ(b.offered.size(), 1u);
    CGlobalState::DeleteInstance();
}
