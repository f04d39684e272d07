// The main window's frame: construction without dialogs, the title, the
// information action, closing, drags, the start message, and the pixmap
// hand-off from the GUI thread and from workers.

#include "mainwindowfixture.h"

#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/options/apppaths.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>
#include <QMimeData>
#include <QThread>
#include <QTranslator>
#include <QUrl>
#include <QDesktopServices>

#include <atomic>
#include <sstream>

namespace {

// Takes the addresses the desktop handler would open.
class UrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls << url; }

public:
    QList<QUrl> urls;
};

class MainWindowTest : public MainWindowUiTest {};

// The information dock as the main window sees it.
class FakeInfoDock : public IInfoDock {
public:
    QString InfoHtml() const override { return m_Text; }
    void SetInfoDockVisible(bool visible) override { m_bVisible = visible; }
    void UpdateText(const QString& html) override { m_Text = html; }
    QString m_Text;
    bool m_bVisible = false;
};

QImage testImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x * y) & 0xff));
    return image;
}

// Runs fn on a worker thread while the GUI thread keeps its events going.
template <class Fn>
void runOnWorker(Fn fn)
{
    std::atomic<bool> done{false};
    QThread* worker = QThread::create([&] {
        fn();
        done = true;
    });
    worker->start();
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    worker->wait();
    delete worker;
    ASSERT_TRUE(done) << "the worker's hand-off did not finish";
}

} // namespace

TEST_F(MainWindowTest, ConstructionSetsThePointersAndTheFrame)
{
    {
        HDRMainWindow window(-1, QString());
        EXPECT_EQ(g_pHDRMainWindow, &window);
        EXPECT_EQ(ToolkitSeams::MainWindow(), &window);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.contextMenuPolicy(), Qt::NoContextMenu);
        EXPECT_TRUE(window.acceptDrops());
        EXPECT_EQ(window.m_iUndoLevel, -1);
        EXPECT_EQ(window.m_iChangeCounter, 0);
        EXPECT_EQ(window.m_iSaveMode, 8);
        EXPECT_FALSE(window.saveProjectAct->isEnabled());
        EXPECT_FALSE(window.showInfoAct->isEnabled());
        EXPECT_TRUE(window.showInfoAct->isCheckable());
        // Shortcuts come from the shipped file.
        EXPECT_EQ(window.exitAct->shortcut(), QKeySequence(QKeySequence::Quit));
        EXPECT_EQ(window.propertiesAct->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+O")));
        EXPECT_EQ(window.m_sHomepageURL, QStringLiteral("HomepageURL LUMIVEX PRO")); // no translator installed
        EXPECT_NE(m_Log.str().find(" ms - MainWindow Init\n"), std::string::npos);
        EXPECT_EQ(m_Log.str().find("Command Line Load:"), std::string::npos) << "an empty start message does nothing";
        // The style menu sits in the view menu.
        ASSERT_NE(window.m_pStyleChooser->Menu(), nullptr);
        EXPECT_TRUE(window.viewMenu->actions().contains(window.m_pStyleChooser->Menu()->menuAction()));
    }
    EXPECT_EQ(g_pHDRMainWindow, nullptr);
    EXPECT_EQ(ToolkitSeams::MainWindow(), nullptr);
}

TEST_F(MainWindowTest, TitleShowsTheProjectAndItsUnsavedState)
{
    HDRMainWindow window(-1, QString());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VERSION_NAME LUMIVEX LUMIVEX VERSION_PRO "));
    window.m_sCaptionSuffix = QStringLiteral(" - Edition");
    window.m_sProjectPath = QStringLiteral("/p/a.lumivexProject");
    window.updateWindowTitle();
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("VERSION_NAME LUMIVEX LUMIVEX VERSION_PRO  - Edition - /p/a.lumivexProject"));
    window.saveProjectAct->setEnabled(true);
    window.updateWindowTitle();
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" - */p/a.lumivexProject")));
}

TEST_F(MainWindowTest, InformationActionDrivesTheDock)
{
    HDRMainWindow window(-1, QString());
    FakeInfoDock dock;
    ToolkitSeams::SetInfoDock(&dock);
    int triggered = 0;
    QObject::connect(window.showInfoAct, &QAction::toggled, [&] { ++triggered; });

    window.showInfoAct->setEnabled(true);
    window.SetShowInfoActChecked(true);
    EXPECT_TRUE(dock.m_bVisible);
    EXPECT_EQ(triggered, 0) << "signals blocked";
    window.showInfoClickedExternal(false);
    EXPECT_FALSE(window.IsShowInfoActChecked());
    EXPECT_TRUE(dock.m_bVisible) << "the dock follows only showInfoClicked";
    window.showInfoClicked();
    EXPECT_FALSE(dock.m_bVisible);
    // A disabled action keeps the dock hidden.
    window.showInfoAct->setEnabled(false);
    window.SetShowInfoActChecked(true);
    EXPECT_FALSE(dock.m_bVisible);
}

TEST_F(MainWindowTest, CloseIsRefusedWhileACalculationOrAnimationRuns)
{
    HDRMainWindow window(-1, QString());
    for (auto setBusy : {+[] { MP_UI_SetIsCalculatingMode(1); }, +[] { MP_UI_SetAnimMode(1); }}) {
        setBusy();
        QCloseEvent refused;
        QApplication::sendEvent(&window, &refused);
        EXPECT_FALSE(refused.isAccepted());
        MP_UI_SetIsCalculatingMode(0);
        MP_UI_SetAnimMode(0);
    }
    QCloseEvent accepted;
    QApplication::sendEvent(&window, &accepted);
    EXPECT_TRUE(accepted.isAccepted());
}

TEST_F(MainWindowTest, DragsAreAcceptedOnlyWithUrls)
{
    HDRMainWindow window(-1, QString());
    QMimeData text;
    text.setText(QStringLiteral("plain"));
    QDragEnterEvent plain(QPoint(1, 1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &plain);
    EXPECT_FALSE(plain.isAccepted());
    QMimeData urls;
    urls.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.jpg"))});
    QDragEnterEvent files(QPoint(1, 1), Qt::CopyAction, &urls, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &files);
    EXPECT_TRUE(files.isAccepted());
}

TEST_F(MainWindowTest, StartMessageIsLoggedAndTheEngineSwitchesRestored)
{
    MP_UI_SetAskForSaveProjectMode(1);
    MP_UI_SetRawDevOnLoadMode(1);
    HDRMainWindow window(-1, QStringLiteral("/Bilder/IMG_1.JPG"));
    EXPECT_NE(m_Log.str().find("Command Line Load:/Bilder/IMG_1.JPG\nCommand Line Lower:/bilder/img_1.jpg\n"),
              std::string::npos);
    EXPECT_EQ(MP_UI_GetAskForSaveProjectMode(), 1);
    EXPECT_EQ(MP_UI_GetRawDevOnLoadMode(), 1);
}

TEST_F(MainWindowTest, PixmapOnTheGuiThreadIsReadyAtOnceWithoutASignal)
{
    HDRMainWindow window(-1, QString());
    SignalCounter handOffs(&window, &HDRMainWindow::CreatePixmapThreadSafeSignal);
    QImage image = testImage(40, 30);
    HDRPixmapCreator creator(&image);
    EXPECT_EQ(handOffs.count(), 0);
    ASSERT_FALSE(creator.m_Pixmap.isNull());
    EXPECT_EQ(creator.m_Pixmap.toImage().convertToFormat(QImage::Format_ARGB32), image);

    HDRPixmapCreator empty;
    EXPECT_TRUE(empty.m_Pixmap.isNull());
    QImage null;
    empty.Create(&null);
    EXPECT_TRUE(empty.m_Pixmap.isNull());
}

TEST_F(MainWindowTest, PixmapOfAWorkerIsMadeByTheGuiThread)
{
    HDRMainWindow window(-1, QString());
    SignalCounter handOffs(&window, &HDRMainWindow::CreatePixmapThreadSafeSignal);
    QImage image = testImage(64, 48);
    QImage null;
    QPixmap fromWorker, nullFromWorker;
    runOnWorker([&] {
        HDRPixmapCreator creator(&image);
        fromWorker = creator.m_Pixmap;
        HDRPixmapCreator other(&null);
        nullFromWorker = other.m_Pixmap;
    });
    EXPECT_EQ(handOffs.count(), 2);
    ASSERT_FALSE(fromWorker.isNull());
    EXPECT_EQ(fromWorker.toImage().convertToFormat(QImage::Format_ARGB32), image);
    EXPECT_TRUE(nullFromWorker.isNull());
}

TEST_F(MainWindowTest, GuiThreadConversionDuringAWorkersHandOffKeepsBothImages)
{
    HDRMainWindow window(-1, QString());
    QImage workerImage = testImage(32, 32);
    QImage guiImage = testImage(16, 8);
    QPixmap guiPixmap;
    // While the worker's hand-off is pending, the GUI thread converts its own
    // image before the queued slot runs.
    QObject::connect(&window, &HDRMainWindow::CreatePixmapThreadSafeSignal, &window, [&] {
        HDRPixmapCreator own(&guiImage);
        guiPixmap = own.m_Pixmap;
    }, Qt::QueuedConnection);
    QPixmap workerPixmap;
    runOnWorker([&] {
        HDRPixmapCreator creator(&workerImage);
        workerPixmap = creator.m_Pixmap;
    });
    ASSERT_FALSE(guiPixmap.isNull());
    ASSERT_FALSE(workerPixmap.isNull());
    EXPECT_EQ(guiPixmap.size(), QSize(16, 8));
    EXPECT_EQ(workerPixmap.toImage().convertToFormat(QImage::Format_ARGB32), workerImage);
}

TEST_F(MainWindowTest, OverlappingWorkersEachGetTheirOwnPixmap)
{
    HDRMainWindow window(-1, QString());
    constexpr int kWorkers = 4;
    std::vector<QImage> images;
    for (int i = 0; i < kWorkers; ++i)
        images.push_back(testImage(8 + i, 5 + i));
    std::vector<QSize> sizes(kWorkers);
    runOnWorker([&] {
        std::vector<QThread*> threads;
        for (int i = 0; i < kWorkers; ++i) {
            threads.push_back(QThread::create([&, i] {
                for (int repeat = 0; repeat < 20; ++repeat) {
                    HDRPixmapCreator creator(&images[i]);
                    if (creator.m_Pixmap.size() != images[i].size())
                        return;
                }
                sizes[i] = images[i].size();
            }));
            threads.back()->start();
        }
        for (QThread* t : threads) {
            t->wait();
            delete t;
        }
    });
    for (int i = 0; i < kWorkers; ++i)
        EXPECT_EQ(sizes[i], images[i].size()) << "worker " << i;
}

TEST_F(MainWindowTest, DocumentPixmapsOfWorkersGoThroughTheMainWindow)
{
    HDRMainWindow window(-1, QString());
    CGuiPixmapHandOff handOff;
    IPixmapHandOff* before = CPixmapHandOff::SetHandOff(&handOff);
    SignalCounter handOffs(&window, &HDRMainWindow::CreatePixmapThreadSafeSignal);
    const QImage image = testImage(24, 12);
    QPixmap fromWorker;
    runOnWorker([&] { fromWorker = CPixmapHandOff::ToPixmap(image); });
    EXPECT_EQ(handOffs.count(), 1);
    EXPECT_EQ(fromWorker.toImage().convertToFormat(QImage::Format_ARGB32), image);
    CPixmapHandOff::SetHandOff(before);
}

TEST_F(MainWindowTest, WithoutAMainWindowOnlyTheGuiThreadGetsAPixmap)
{
    ASSERT_EQ(g_pHDRMainWindow, nullptr);
    QImage image = testImage(10, 10);
    HDRPixmapCreator gui(&image);
    EXPECT_FALSE(gui.m_Pixmap.isNull());
    QPixmap fromWorker(1, 1);
    runOnWorker([&] {
        HDRPixmapCreator creator(&image);
        fromWorker = creator.m_Pixmap;
    });
    EXPECT_TRUE(fromWorker.isNull());
}

TEST_F(MainWindowTest, DefaultLayoutTakesFourFifthsOfTheScreenCentred)
{
    HDRMainWindow window(-1, QString());
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(window.width(), static_cast<int>(screen->geometry().width() * 0.8f));
    EXPECT_EQ(window.height(), static_cast<int>(screen->geometry().height() * 0.8f));
    const QPoint centre = window.frameGeometry().center();
    const QPoint screenCentre = screen->availableGeometry().center();
    EXPECT_LE(std::abs(centre.x() - screenCentre.x()), 1);
    EXPECT_LE(std::abs(centre.y() - screenCentre.y()), 1);
}

TEST_F(MainWindowTest, StartPageAndTitleComeFromTheTranslation)
{
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_de_DE")));
    QCoreApplication::installTranslator(&german);
    {
        HDRMainWindow window(-1, QString());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumivex Pro "));
        EXPECT_EQ(window.m_sHomepageURL, QStringLiteral("lumivex.invalid/"));
        EXPECT_TRUE(window.m_sStartText.contains(QStringLiteral("<img src=\"../images/lumivexstartuppro.png\"")))
            << qPrintable(window.m_sStartText);
        EXPECT_TRUE(window.m_sStartText.contains(QStringLiteral("href=\"https://lumivex.invalid/\"")));
        EXPECT_FALSE(window.m_sStartText.contains(QStringLiteral("CODE_HOMEPAGEURL")));
        EXPECT_EQ(window.exitAct->text(), QStringLiteral("Beenden"));
        // The link commands open the configured addresses with the desktop's handler.
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        window.homepageAct->trigger();
        window.updatePageAct->trigger();
        window.helpAct->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        ASSERT_EQ(recorder.urls.size(), 3);
        EXPECT_EQ(recorder.urls[0], QUrl(QStringLiteral("https://lumivex.invalid/")));
        EXPECT_EQ(recorder.urls[1], QUrl(QStringLiteral("https://lumivex.invalid/")));
        EXPECT_TRUE(recorder.urls[2].isLocalFile());
        EXPECT_TRUE(recorder.urls[2].toLocalFile().endsWith(QStringLiteral("/help/lumivexhelp3_de_DE.pdf")) ||
                    recorder.urls[2].toLocalFile().contains(QStringLiteral("/help/lumivexhelp3_")));
    }
    QCoreApplication::removeTranslator(&german);
}

#include "test_mainwindow.moc"
