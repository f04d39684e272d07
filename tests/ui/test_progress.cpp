// Progress guard and progress window.

#include "uifixture.h"

#include "ui/toolkit/hdrprogresswindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

#include <atomic>
#include <thread>

namespace {

// A delay long enough that the worker never shows the window during a test.
constexpr unsigned kNeverShown = 3600 * 1000;

class ProgressTest : public UiTest {
protected:
    void TearDown() override
    {
        QCoreApplication::processEvents();
        UiTest::TearDown();
    }
    static int bar(HDRProgressThread& g) { return g.GetWindow()->GetProgressBar()->value(); }
    static QString log(HDRProgressThread& g) { return g.GetWindow()->GetLog()->toPlainText(); }
    static int logLines(HDRProgressThread& g)
    {
        const QString text = log(g);
        return text.isEmpty() ? 0 : int(text.count('\n')) + 1;
    }
};

TEST_F(ProgressTest, WithoutAGuardNothingHappens)
{
    HDRProgressThread::AddMessage(1, 0.5f);
    HDRProgressThread::AddMessage(1, "text", 2);
    HDRProgressThread::OpenCategory(1, true);
    HDRProgressThread::SetTitle("x");
    HDRProgressThread::ForcedQuit();
    C_AddMessage(1, 0.5f);
    SUCCEED();
}

TEST_F(ProgressTest, TotalIsTheSumOverTheCategoryCount)
{
    {
        HDRProgressThread guard(2, kNeverShown);
        HDRProgressThread::OpenCategory(3, false);
        HDRProgressThread::AddMessage(3, 1.0f);
        EXPECT_EQ(bar(guard), 50);
    }
    {
        HDRProgressThread guard(1, kNeverShown);
        HDRProgressThread::OpenCategory(1, false);
        HDRProgressThread::OpenCategory(2, false);
        HDRProgressThread::AddMessage(1, 0.7f);
        EXPECT_EQ(bar(guard), 70);
        HDRProgressThread::AddMessage(2, 0.7f);
        EXPECT_EQ(bar(guard), 100); // 1.4 clamped
    }
}

TEST_F(ProgressTest, FractionsNeverGoBackwards)
{
    HDRProgressThread guard(1, kNeverShown);
    HDRProgressThread::OpenCategory(5, false);
    HDRProgressThread::AddMessage(5, 0.6f);
    HDRProgressThread::AddMessage(5, 0.3f);
    EXPECT_EQ(bar(guard), 60);
    HDRProgressThread::AddMessage(5, -1.0f);
    EXPECT_EQ(bar(guard), 60);
    HDRProgressThread::AddMessage(5, 0.8f);
    EXPECT_EQ(bar(guard), 80);
}

TEST_F(ProgressTest, ZeroTotalLeavesTheBarAlone)
{
    HDRProgressThread guard(1, kNeverShown);
    guard.GetWindow()->GetProgressBar()->setValue(33);
    HDRProgressThread::OpenCategory(5, false);
    HDRProgressThread::AddMessage(5, 0.0f);
    EXPECT_EQ(bar(guard), 33);
}

TEST_F(ProgressTest, UnopenedCategoriesLogUnlessLocked)
{
    HDRProgressThread guard(1, kNeverShown);
    HDRProgressThread::OpenCategory(1, false);
    HDRProgressThread::AddMessage(1, 0.4f);
    HDRProgressThread::AddMessage(7, "beside", 0, 0.9f);
    EXPECT_EQ(log(guard), "beside");
    EXPECT_EQ(bar(guard), 40); // the unopened category stores nothing

    HDRProgressThread::OpenCategory(11, true);
    HDRProgressThread::OpenCategory(12, false); // ignored after a locked opening
    HDRProgressThread::AddMessage(12, 1.0f);
    HDRProgressThread::AddMessage(0, "dropped", 2);
    EXPECT_EQ(log(guard), "beside");
    EXPECT_EQ(guard.GetWindow()->GetMaxMessageType(), 0u);
    HDRProgressThread::AddMessage(11, "kept", 1, 1.0f);
    EXPECT_EQ(log(guard), "beside\nkept");
    EXPECT_EQ(bar(guard), 100);
}

TEST_F(ProgressTest, ProgressOnlyMessagesAddNoLogLine)
{
    int prompts = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        ++prompts;
        static_cast<HDRProgressWindow*>(prompt)->GetContinueButton()->click();
        return 0;
    });
    HDRProgressThread guard(1, kNeverShown);
    HDRProgressThread::OpenCategory(1, false);
    HDRProgressThread::AddMessage(1, 0.5f);
    EXPECT_EQ(logLines(guard), 0);
    HDRProgressThread::AddMessage(1, "a", 0);
    HDRProgressThread::AddMessage(1, "b", 7);
    EXPECT_EQ(logLines(guard), 2);
    EXPECT_EQ(guard.GetWindow()->GetMaxMessageType(), 7u); // any type above 1 counts as an error
    guard.Quit();
    EXPECT_EQ(prompts, 1);
}

TEST_F(ProgressTest, TitleIsBaseAndTheLastSuffix)
{
    HDRProgressThread guard(1, "Fortschritt", kNeverShown);
    HDRProgressThread::SetTitle("Bilder laden");
    HDRProgressThread::SetTitle("Tonemapping");
    QCoreApplication::processEvents();
    EXPECT_EQ(guard.GetWindow()->windowTitle(), "Fortschritt Tonemapping");
}

TEST_F(ProgressTest, ShowDelay)
{
    {
        HDRProgressThread guard(1, kNeverShown);
        QCoreApplication::processEvents();
        EXPECT_FALSE(guard.GetWindow()->isVisible()); // ends within the delay: never shown
    }
    {
        HDRProgressThread guard(1, 0);
        EXPECT_TRUE(guard.GetWindow()->isVisible()); // shown before the calculation begins
    }
}

TEST_F(ProgressTest, NoticeEndsWithoutWaiting)
{
    int prompts = 0;
    _gui::SetModalHook([&](QWidget*) {
        ++prompts;
        return 0;
    });
    {
        HDRProgressThread guard(1, kNeverShown);
        HDRProgressThread::AddMessage(0, "Hinweis", 1);
    }
    EXPECT_EQ(prompts, 0);
}

TEST_F(ProgressTest, ErrorWaitsForTheContinueButton)
{
    QStringList seenLog;
    bool continueShown = false;
    int logHeightGrowth = 0;
    int heightBefore = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        auto* window = qobject_cast<HDRProgressWindow*>(prompt);
        if (!window)
            return 0;
        continueShown = !window->GetContinueButton()->isHidden();
        seenLog = window->GetLog()->toPlainText().split('\n');
        logHeightGrowth = window->height() - heightBefore;
        window->GetContinueButton()->click();
        return 0;
    });
    {
        HDRProgressThread guard(1, kNeverShown);
        heightBefore = guard.GetWindow()->height();
        HDRProgressThread::AddMessage(4, "Bild speichern fehlgeschlagen", 2);
    }
    EXPECT_TRUE(continueShown);
    ASSERT_EQ(seenLog.size(), 2);
    EXPECT_EQ(seenLog[1], "Es ist ein Fehler aufgetreten, Protokoll oder fortfahren");
    EXPECT_GE(logHeightGrowth, 200); // the window makes room for the log
}

TEST_F(ProgressTest, ForcedQuitThenDestructionEndsOnce)
{
    auto* guard = new HDRProgressThread(1, kNeverShown);
    HDRProgressThread::ForcedQuit();
    EXPECT_TRUE(guard->isFinished());
    delete guard;
    HDRProgressThread::ForcedQuit(); // no current guard any more
}

TEST_F(ProgressTest, WorkerThreadMessagesArriveThroughTheQueue)
{
    HDRProgressThread guard(1, kNeverShown);
    HDRProgressThread::OpenCategory(1, false);
    std::thread worker([] {
        for (int i = 1; i <= 4; ++i)
            HDRProgressThread::AddMessage(1, QStringLiteral("Bild %1").arg(i), 0, i * 0.25f);
    });
    worker.join();
    EXPECT_EQ(logLines(guard), 0); // nothing reached the window yet
    QCoreApplication::processEvents();
    EXPECT_EQ(logLines(guard), 4);
    EXPECT_EQ(bar(guard), 100);
}

TEST_F(ProgressTest, ConcurrentPostersAndGuardTurnover)
{
    // Posters on other threads while the GUI thread creates and deletes guards.
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop.load()) {
            HDRProgressThread::AddMessage(1, 0.5f);
            HDRProgressThread::AddMessage(1, "x", 0);
        }
    });
    for (int i = 0; i < 20; ++i) {
        HDRProgressThread guard(1, kNeverShown);
        HDRProgressThread::OpenCategory(1, false);
        QCoreApplication::processEvents();
    }
    stop = true;
    worker.join();
    SUCCEED();
}

TEST_F(ProgressTest, EngineMessagesReachTheGuardAndNegativeCategoriesAreDropped)
{
    HDRProgressThread guard(1, kNeverShown);
    HDRProgressThread::OpenCategory(5, false);
    C_AddMessage(-1, 0.9f);
    EXPECT_EQ(bar(guard), 0);
    C_AddMessage(5, 0.25f);
    EXPECT_EQ(bar(guard), 25);
}

TEST_F(ProgressTest, WindowRefusesToCloseAndOffersAStopButton)
{
    HDRProgressThread guard(1, kNeverShown);
    HDRProgressWindow* w = guard.GetWindow();
    QCloseEvent close;
    QCoreApplication::sendEvent(w, &close);
    EXPECT_FALSE(close.isAccepted());

    EXPECT_FALSE(w->GetStopButton()->isEnabled());
    const int before = w->height();
    QPushButton* stop = w->EnableCancelButton(true);
    EXPECT_EQ(stop, w->GetStopButton());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_FALSE(stop->isHidden());
    EXPECT_TRUE(w->GetWaitLabel()->isHidden());
    EXPECT_FALSE(w->GetLog()->isHidden());
    EXPECT_GE(w->height(), before + 200);

    QLabel* icon = w->CreateLabel("help");
    EXPECT_EQ(icon->size(), QSize(48, 48));
    EXPECT_FALSE(icon->isEnabled());
}

} // namespace
