// HDRApplication: file-open events before and after the main window, and the
// event filter of the slider animation.

#include "appfixture.h"

#include "app/hdrapplication.h"
#include "ui/mainwindow/hdrmainwindow.h"

#include <QElapsedTimer>
#include <QFileOpenEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

namespace {

class ApplicationTest : public AppTest {
protected:
    static HDRApplication* app() { return static_cast<HDRApplication*>(QCoreApplication::instance()); }
    void TearDown() override
    {
        MP_UI_SetAnimMode(0);
        app()->m_strPendingMessage.clear();
        AppTest::TearDown();
    }
};

// Records the events that reach it.
class Recorder : public QWidget {
public:
    QList<QEvent::Type> seen;
    QList<int> keys;
    bool event(QEvent* e) override
    {
        seen << e->type();
        if (e->type() == QEvent::KeyPress)
            keys << static_cast<QKeyEvent*>(e)->key();
        return QWidget::event(e);
    }
};

} // namespace

TEST_F(ApplicationTest, FileOpenEventsBeforeTheWindowKeepTheLastPath)
{
    ASSERT_EQ(g_pHDRMainWindow, nullptr);
    QCoreApplication::postEvent(app(), new QFileOpenEvent(QStringLiteral("/a/first.jpg")));
    QCoreApplication::postEvent(app(), new QFileOpenEvent(QStringLiteral("/a/second.tif")));
    QCoreApplication::sendPostedEvents(app());
    EXPECT_EQ(app()->m_strPendingMessage, QStringLiteral("/a/second.tif"));

    HDRMainWindow window(-1, app()->m_strPendingMessage);
    EXPECT_NE(m_Log.str().find("Command Line Load:/a/second.tif\n"), std::string::npos);
    QFileOpenEvent later(QStringLiteral("/b/third.png"));
    EXPECT_TRUE(QCoreApplication::sendEvent(app(), &later));
    EXPECT_NE(m_Log.str().find("Command Line Load:/b/third.png\n"), std::string::npos);
    EXPECT_EQ(app()->m_strPendingMessage, QStringLiteral("/a/second.tif")) << "later paths go to the window";
}

TEST_F(ApplicationTest, AnimationFilterLetsOnlyEscapePaintingAndPostedWorkThrough)
{
    Recorder target;
    MP_UI_SetAnimMode(1);
    MP_UI_SetKeyPressedMode(0);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &escape);
    EXPECT_EQ(MP_UI_GetKeyPressedMode(), 1);
    EXPECT_FALSE(target.keys.contains(Qt::Key_Escape)) << "Escape is consumed";

    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(&target, &letter);
    EXPECT_TRUE(target.keys.contains(Qt::Key_A));

    QMouseEvent click(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &click);
    QWheelEvent wheel(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &wheel);
    EXPECT_FALSE(target.seen.contains(QEvent::MouseButtonPress));
    EXPECT_FALSE(target.seen.contains(QEvent::Wheel));

    QPaintEvent paint(QRect(0, 0, 4, 4));
    QCoreApplication::sendEvent(&target, &paint);
    QCloseEvent close;
    QCoreApplication::sendEvent(&target, &close);
    EXPECT_TRUE(target.seen.contains(QEvent::Paint));
    EXPECT_TRUE(target.seen.contains(QEvent::Close));

    // Posted calls and deferred deletes arrive (a worker waiting for its
    // pixmap depends on the first); timers only wait.
    bool called = false;
    QMetaObject::invokeMethod(&target, [&] { called = true; }, Qt::QueuedConnection);
    QPointer<QObject> doomed = new QObject;
    doomed->deleteLater();
    bool fired = false;
    QTimer::singleShot(1, &target, [&] { fired = true; }); // a timer event, unlike 0
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(called);
    EXPECT_TRUE(doomed.isNull());
    EXPECT_FALSE(fired);
    MP_UI_SetAnimMode(0);
    clock.restart();
    while (!fired && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(fired);
}

TEST_F(ApplicationTest, NothingIsFilteredOutsideAnimationModeOne)
{
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        Recorder target;
        MP_UI_SetAnimMode(mode);
        MP_UI_SetKeyPressedMode(0);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &escape);
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &click);
        EXPECT_TRUE(target.keys.contains(Qt::Key_Escape));
        EXPECT_TRUE(target.seen.contains(QEvent::MouseButtonPress));
        EXPECT_EQ(MP_UI_GetKeyPressedMode(), 0);
    }
}
