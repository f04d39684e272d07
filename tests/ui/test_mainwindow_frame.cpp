// The main window's frame around the workflow: what the construction builds
// (docks, windows, toolbars, start page, counters), the stage switch with
// whatever stage docks exist, the docks' actions, "window.ini", closing, the
// remembered dialog folder, the links and the textures.

#include "mainwindowfixture.h"

#include "document/exposureseries.h"
#include "engine/core/textures.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/postprocessingdockadapter.h"
#include "ui/mainwindow/textureloader.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrdockwidget.h"
#include "ui/views/hdrimagepreview.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrl>

#include <sstream>

namespace {

template <class Interface> class FakeDock : public HDRDockWidget, public Interface {
public:
    explicit FakeDock(QWidget* parent, const QString& title = QStringLiteral("dock"))
        : HDRDockWidget(title, parent, Qt::WindowFlags())
    {
    }
    QDockWidget* Dock() override { return this; }
    void GetInfoText(QString& text) override { text = QStringLiteral("help"); }
};

class FakeSeries : public FakeDock<IExposureSeriesDock> {
public:
    using FakeDock::FakeDock;
    void UpdateDisplay(CExposureSeries*, bool) override {}
    void resetLabelHighlights() override {}
    void ScrollToCenter() override {}
};

class FakeOperators : public FakeDock<IHDROperatorDock> {
public:
    using FakeDock::FakeDock;
    QString GetKernelName() const override { return QString(); }
    void GetParameterValues(float[10][256]) const override {}
    void UpdateHDRContrastLabel() override { ++m_iContrastLabels; }
    void ResetAllValues() override { m_bSignalsBlockedOnReset = signalsBlocked(); }
    int m_iContrastLabels = 0;
    bool m_bSignalsBlockedOnReset = false;
};

class FakePresets : public FakeDock<IPresetsDock> {
public:
    using FakeDock::FakeDock;
    void StopPreviewTimer() override {}
    void StartPreviewTimer(int) override {}
    void CreateAllPreviews(bool) override {}
    void resetCalculatedStates() override {}
    IPresetTile* GetSelectedPresetGroupBox() override { return nullptr; }
    void resetLabelHighlights() override {}
};

class FakePostProcessing : public FakeDock<IPostProcessingDock> {
public:
    using FakeDock::FakeDock;
    void SetCurrentPostProcessing(CPostProcessing*) override {}
    void SetInitialUserPath(const QString& path) override { m_strPath = path; }
    void CollapsiblesFromSettings() override { ++m_iFrom; }
    void CollapsiblesToSettings() override { ++m_iTo; }
    QString m_strPath;
    int m_iFrom = 0, m_iTo = 0;
};

class FakeInfo : public QDockWidget, public IMainInfoDock {
    Q_OBJECT
signals:
    void closeClicked();

public:
    explicit FakeInfo(QWidget* parent) : QDockWidget(parent) {}
    QDockWidget* Dock() override { return this; }
    QString InfoHtml() const override { return m_strText; }
    void SetInfoDockVisible(bool visible) override { setVisible(visible); }
    void UpdateText(const QString& html) override { m_strText = html; }
    void EnableFixedSize(bool fixed) override { m_bFixed = fixed; }
    void SetIsTitleScreen(bool title) override { m_bTitle = title; }
    QString m_strText;
    bool m_bFixed = false, m_bTitle = false;
};

template <class Interface> class FakeSideDock : public QDockWidget, public Interface {
public:
    explicit FakeSideDock(QWidget* parent) : QDockWidget(parent) {}
    QDockWidget* Dock() override { return this; }
};

class FakeCompare : public FakeSideDock<ICompareDock> {
public:
    using FakeSideDock::FakeSideDock;
    void SetDefaultSizing(bool on) override { m_bDefaultSized = on; }
    bool m_bDefaultSized = false;
};

class FakeBatch : public IBatchWindow {
public:
    void setWindowMode(int mode) override { m_vecModes.push_back(mode); }
    void setDragDropFolder(const QString& folder) override { m_strFolder = folder; }
    int Exec() override { return 0; }
    QStringList SelectedFiles() const override { return m_lstFiles; }
    std::vector<int> m_vecModes;
    QString m_strFolder;
    QStringList m_lstFiles;
};

class FakeRaw : public IRawDevelopment {
public:
    bool IsShowAgainChecked() const override { return false; }
    int Exec() override { return ++m_iExecs; }
    int ExtraProgressCategories() const override { return 0; }
    int getImageTypeIndex() const override { return 0; }
    void rememberGroupboxStates() override {}
    void disableAllGroupboxStates() override {}
    void recoverGroupboxStates() override {}
    int m_iExecs = 0;
};

class Counters : public IUsageCounters {
public:
    void HandleValue(const QString& key, int value) override
    {
        m_Values[key] += value;
        m_Log << key;
    }
    QMap<QString, int> m_Values;
    QStringList m_Log;
};

// Every window of the table, each one a plain stand-in; switches leave some out.
class FrameFactory : public IWindowFactory {
public:
    IOptionsWindow* CreateOptionsWindow(QWidget*) override { return nullptr; }
    IStyleColorDialog* CreateStyleSelectWindow(QWidget*) override { return nullptr; }
    IExposureSeriesDock* CreateExposureSeriesDock(QWidget* p) override
    {
        return stageDocks && seriesDock ? series = new FakeSeries(p) : nullptr;
    }
    IHDROperatorDock* CreateHDROperatorDock(QWidget* p) override
    {
        return stageDocks ? hdr = new FakeOperators(p) : nullptr;
    }
    IPresetsDock* CreatePresetsDock(QWidget* p) override { return stageDocks ? presets = new FakePresets(p) : nullptr; }
    IPostProcessingDock* CreatePostProcessingDock(QWidget* p) override
    {
        if (realPostProcessing)
            return CPostProcessingDockAdapter::Create(qobject_cast<HDRMainWindow*>(p));
        return pp = new FakePostProcessing(p, QStringLiteral("Expertenmodus"));
    }
    IUsageCounters* CreateStatistic(QObject*) override { return &counters; }
    IMainInfoDock* CreateInfoDock(QWidget* p, bool start) override
    {
        return start ? infoStart = new FakeInfo(p) : info = new FakeInfo(p);
    }
    IExifDock* CreateExifDock(QWidget* p) override { return exif = new FakeSideDock<IExifDock>(p); }
    IHistogramDock* CreateHistogramDock(QWidget* p) override
    {
        return histogram = new FakeSideDock<IHistogramDock>(p);
    }
    ICompareDock* CreateCompareDock(QWidget* p) override { return compare = new FakeCompare(p); }
    HDRTimelineDockWidget* CreateTimelineDock(QWidget* p) override
    {
        return timeline = new HDRTimelineDockWidget(QStringLiteral("Timeline Window"), p, Qt::WindowFlags());
    }
    QDialog* CreateAboutWindow(QWidget* p) override { return windows ? about = new QDialog(p) : nullptr; }
    QDialog* CreateBenchmarkWindow(QWidget* p) override { return windows ? new QDialog(p) : nullptr; }
    QDialog* CreateStatisticWindow(QWidget* p) override { return windows ? new QDialog(p) : nullptr; }
    QDialog* CreatePanoramaView(QWidget* p) override { return windows ? new QDialog(p) : nullptr; }
    IBatchWindow* CreateBatchWindow(QWidget*) override { return windows ? &batch : nullptr; }
    IRawDevelopment* CreateRawDevelopment(QWidget*) override { return windows ? &raw : nullptr; }

    bool stageDocks = true;
    bool seriesDock = true;
    bool realPostProcessing = false;
    bool windows = true;
    FakeBatch batch;
    FakeRaw raw;
    FakeSeries* series = nullptr;
    FakeOperators* hdr = nullptr;
    FakePresets* presets = nullptr;
    FakePostProcessing* pp = nullptr;
    FakeInfo* info = nullptr;
    FakeInfo* infoStart = nullptr;
    FakeSideDock<IExifDock>* exif = nullptr;
    FakeSideDock<IHistogramDock>* histogram = nullptr;
    FakeCompare* compare = nullptr;
    HDRTimelineDockWidget* timeline = nullptr;
    QDialog* about = nullptr;
    Counters counters;
};

class ClosableWindow : public HDRMainWindow {
public:
    using HDRMainWindow::HDRMainWindow;
    using HDRMainWindow::closeEvent;
    using HDRMainWindow::LoadAllTextures;
};

class FrameTest : public MainWindowUiTest {
protected:
    void TearDown() override
    {
        window.reset();
        MP_ResetTexturesAndBuffer();
        MainWindowUiTest::TearDown();
    }
    void build() { window = std::make_unique<ClosableWindow>(-1, QString(), &factory); }
    QString photo()
    {
        QImage image(80, 60, QImage::Format_RGB32);
        image.fill(qRgb(120, 140, 90));
        const QString path = m_Dir.filePath(QStringLiteral("field.png"));
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // The toolbar's actions and groups (runs between separators).
    static std::pair<int, int> actionsAndGroups(QToolBar* bar)
    {
        int actions = 0, groups = 0;
        bool inGroup = false;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) {
                inGroup = false;
                continue;
            }
            ++actions;
            if (!inGroup)
                ++groups;
            inGroup = true;
        }
        return {actions, groups};
    }

    FrameFactory factory;
    std::unique_ptr<ClosableWindow> window;
    QTemporaryDir m_Dir;
};

} // namespace

TEST_F(FrameTest, ConstructionBuildsEveryDockAndWindowUnderItsNameInTheStartState)
{
    build();
    const struct {
        QObject* object;
        const char* name;
    } table[] = {{factory.series, "m_pExposureSeriesDock"},
                 {factory.hdr, "m_pHDROperatorDock"},
                 {factory.exif, "m_pExifDock"},
                 {factory.histogram, "m_pHistogramDock"},
                 {factory.presets, "m_pPresetsDockWidget"},
                 {factory.pp, "m_pPostProcessingDockWidget"},
                 {factory.info, "m_pInfoDockWidget"},
                 {factory.infoStart, "m_pInfoDockWidgetStart"},
                 {factory.compare, "compare_window"},
                 {factory.timeline, "timeline_window"},
                 {factory.about, "about_window"},
                 {window->toolBar, "toolBar"},
                 {window->toolBarImage, "toolBarImage"}};
    for (const auto& row : table) {
        ASSERT_NE(row.object, nullptr) << row.name;
        EXPECT_EQ(row.object->objectName(), QLatin1String(row.name));
        EXPECT_EQ(row.object->parent(), window.get()) << row.name;
    }
    // The start state: only the start page is on show.
    for (QDockWidget* dock : {static_cast<QDockWidget*>(factory.series), static_cast<QDockWidget*>(factory.hdr),
                              static_cast<QDockWidget*>(factory.presets), static_cast<QDockWidget*>(factory.pp),
                              static_cast<QDockWidget*>(factory.exif), static_cast<QDockWidget*>(factory.histogram),
                              static_cast<QDockWidget*>(factory.info), static_cast<QDockWidget*>(factory.compare),
                              static_cast<QDockWidget*>(factory.timeline)})
        EXPECT_TRUE(dock->isHidden()) << dock->objectName().toStdString();
    EXPECT_FALSE(factory.infoStart->isHidden());
    EXPECT_TRUE(factory.infoStart->m_bTitle);
    EXPECT_TRUE(window->m_pImagePreview->isHidden());
    EXPECT_TRUE(window->toolBarImage->isHidden());
    // The dock reads its panels from the user's folder.
    EXPECT_EQ(factory.pp->m_strPath, settings());
    EXPECT_EQ(factory.pp->m_iFrom, 1);
    // The start page in both info docks, with its three replacements.
    EXPECT_EQ(factory.info->m_strText, window->m_sStartText);
    EXPECT_EQ(factory.infoStart->m_strText, window->m_sStartText);
    // One program start; the construction's own layout is no user's reset.
    EXPECT_EQ(factory.counters.m_Values.value(QStringLiteral("m_iProgramStarted")), 1);
    EXPECT_EQ(factory.counters.m_Values.value(QStringLiteral("m_iWindowsResetted")), 0);
    EXPECT_TRUE(factory.counters.m_Log.contains(QStringLiteral("m_iWindowsResetted")));
    // The filters.
    EXPECT_TRUE(window->m_sImageFilter.endsWith(QStringLiteral(";;others (*.koa *.iff *.lbm *.pict *.pct *.pic *.sgi)")));
    EXPECT_EQ(window->m_sSaveFilter, QStringLiteral("TIF 8-Bit (*.tif);;Jpeg 8-Bit (*.jpg);;TIFF 16-Bit (*.tiff);;"
                                                    "PNG 16-Bit (*.png);;Jpeg 16-Bit (*.jp2)"));
    EXPECT_TRUE(window->m_sProjectFilter.startsWith(QStringLiteral(";;")));
    EXPECT_TRUE(window->m_sProjectFilter.endsWith(QStringLiteral("(*.lumivexProject)")));
}

TEST_F(FrameTest, ActionsStartInTheirTableStateAndTheFrameColourHasItsText)
{
    build();
    // Enabled at start.
    for (QAction* a : {window->newProjectAct, window->openProjectAct, window->loadImageAct,
                       window->exposureSeriesBrowseAct, window->panoramaViewAct, window->compareWindowAct,
                       window->exitAct, window->rawDevelopmentAct, window->restoreDefaultWindowStateAct,
                       window->propertiesAct, window->batchProcessingAct, window->homepageAct, window->updatePageAct,
                       window->helpAct, window->statisticAct, window->benchmarkAct, window->aboutAct})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    // Disabled until a document exists.
    for (QAction* a : {window->saveProjectAct, window->saveProjectAsAct, window->saveResultImageAct,
                       window->printResultImageAct, window->sendResultImageToVorlixAct,
                       window->sendResultImageToAct, window->setUndoAct, window->getUndoAct,
                       window->timelineWindowAct, window->postProcessingAct, window->showInfoAct,
                       window->showExifAct, window->showHistogramAct, window->showFullscreenAct,
                       window->showHistogramMenuAct, window->frameColorAct})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(window->saveResultImageAct->text(), QStringLiteral("Ergebnisbild speichern..."));
    EXPECT_EQ(window->postProcessingAct->text(), QStringLiteral("Tonemapping/Post-Processing"));
    // The construction's default layout toggled the frame colour off.
    EXPECT_FALSE(window->frameColorAct->isChecked());
    EXPECT_EQ(window->frameColorAct->text(), QStringLiteral("Rahmenfarbe: Graukarte"));
    window->frameColorAct->setEnabled(true);
    window->frameColorAct->toggle();
    EXPECT_EQ(window->frameColorAct->text(), QStringLiteral("Rahmenfarbe: Ambient"));
    // Menus in their order.
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Datei"), QStringLiteral("Bearbeiten"), QStringLiteral("Ansicht"),
                                   QStringLiteral("Extras"), QStringLiteral("Information")}));
    EXPECT_EQ(window->fileMenu->actions().first(), window->newProjectAct);
    EXPECT_EQ(window->fileMenu->actions().last(), window->exitAct);
    // Placed nowhere.
    for (QAction* a : {window->printResultImageAct, window->timelineWindowAct, window->statisticAct,
                       window->benchmarkAct, window->showFullscreenAct})
        EXPECT_TRUE(a->associatedObjects().isEmpty()) << a->text().toStdString();
}

TEST_F(FrameTest, ToolbarHasTheStartFillingThenTheDocumentFillingOnce)
{
    build();
    EXPECT_EQ(actionsAndGroups(window->toolBar), std::make_pair(4, 3));
    window->InterpretReceivedMessage(photo());
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(actionsAndGroups(window->toolBar), std::make_pair(12, 8));
    window->InterpretReceivedMessage(photo());
    EXPECT_EQ(actionsAndGroups(window->toolBar), std::make_pair(12, 8));
    // A document enables the result actions and the frame colour.
    for (QAction* a : {window->saveResultImageAct, window->sendResultImageToAct, window->saveProjectAsAct,
                       window->frameColorAct, window->setUndoAct, window->showExifAct, window->showInfoAct})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    // With family programs: the hand-off action and the combo box too.
    window->m_slVorlixDisplayNames = QStringList{QStringLiteral("Vorlix One")};
    window->setupToolBar(true);
    EXPECT_EQ(actionsAndGroups(window->toolBar), std::make_pair(14, 8)); // 13 actions + the combo box
    // The start page again.
    window->newProject();
    EXPECT_EQ(actionsAndGroups(window->toolBar), std::make_pair(4, 3));
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    EXPECT_FALSE(factory.infoStart->isHidden());
    EXPECT_FALSE(window->showInfoAct->isEnabled());
    EXPECT_FALSE(window->saveResultImageAct->isEnabled());
    EXPECT_TRUE(window->m_pImagePreview->isHidden());
    EXPECT_TRUE(factory.pp->isHidden());
    EXPECT_TRUE(factory.presets->isHidden());
    EXPECT_EQ(window->m_iChangeCounter, 0);
}

TEST_F(FrameTest, StageSwitchShowsHighlightsAndRaisesTheRightDocks)
{
    build();
    window->updateDockWidgets(HDRMainWindow::eDW_PRESETS);
    EXPECT_FALSE(factory.presets->isHidden());
    EXPECT_FALSE(factory.pp->isHidden());
    EXPECT_TRUE(factory.series->isHidden());
    EXPECT_TRUE(factory.presets->windowTitle().startsWith(QStringLiteral(">> ")));
    EXPECT_FALSE(factory.pp->windowTitle().startsWith(QStringLiteral(">> ")));
    EXPECT_TRUE(window->postProcessingAct->isChecked());

    window->updateDockWidgets(HDRMainWindow::eDW_EXPOSURESERIES);
    EXPECT_FALSE(factory.series->isHidden());
    EXPECT_FALSE(factory.hdr->isHidden());
    EXPECT_TRUE(factory.presets->isHidden());
    EXPECT_FALSE(factory.presets->windowTitle().startsWith(QStringLiteral(">> ")));
    EXPECT_FALSE(window->postProcessingAct->isChecked());
    EXPECT_TRUE(window->IsHDRStage());

    // A stage dock shown by other means switches the whole stage; hiding one changes nothing.
    window->show();
    factory.pp->show(); // visibilityChanged(true) of the post-processing dock
    EXPECT_TRUE(factory.series->isHidden());
    EXPECT_FALSE(factory.presets->isHidden());
    EXPECT_TRUE(factory.pp->windowTitle().startsWith(QStringLiteral(">> ")));
    factory.presets->hide();
    EXPECT_FALSE(factory.pp->isHidden());
    EXPECT_TRUE(factory.series->isHidden());
    window->hide();

    // Other values act like none.
    window->updateDockWidgets(7);
    EXPECT_TRUE(factory.pp->isHidden());
    EXPECT_TRUE(factory.series->isHidden());

    // Back to the start: the HDR dock's values are reset with its signals blocked.
    window->hideAllSubWindows();
    EXPECT_TRUE(factory.hdr->m_bSignalsBlockedOnReset);
}

TEST_F(FrameTest, WithOnlyThePostProcessingDockAPhotographStillReachesItsStage)
{
    factory.stageDocks = false;
    factory.realPostProcessing = true;
    build();
    ASSERT_NE(window->m_pPostProcessingDock, nullptr);
    QDockWidget* dock = window->m_pPostProcessingDock->Dock();
    EXPECT_EQ(dock->objectName(), QStringLiteral("m_pPostProcessingDockWidget"));
    EXPECT_TRUE(dock->isHidden());
    window->InterpretReceivedMessage(photo());
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_FALSE(dock->isHidden());
    EXPECT_FALSE(window->IsHDRStage());
    EXPECT_TRUE(window->postProcessingAct->isChecked());
    EXPECT_FALSE(window->m_pImagePreview->isHidden());
    // The dock's edit signal reaches the window (nothing to run without a chain).
    emit static_cast<HDRPostProcessingDockWidget*>(dock)->updateCurrentPostProcessing();
    EXPECT_TRUE(static_cast<HDRDockWidget*>(dock)->windowTitle().startsWith(QStringLiteral(">> ")));
    window->newProject();
    EXPECT_TRUE(dock->isHidden());
}

TEST_F(FrameTest, WithoutTheExposureDockTheOperatorDockTellsTheStage)
{
    factory.seriesDock = false;
    build();
    window->InterpretReceivedMessage(photo());
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_FALSE(window->IsHDRStage());
    window->editExposureLatitude();
    EXPECT_FALSE(factory.hdr->isHidden());
    EXPECT_TRUE(window->IsHDRStage());
    EXPECT_TRUE(factory.pp->isHidden());
    window->postProcessingAct->trigger();
    EXPECT_FALSE(window->IsHDRStage());
    EXPECT_FALSE(factory.pp->isHidden());
}

TEST_F(FrameTest, DockActionsFollowTheirDocksAndTheHistogramTwins)
{
    build();
    window->InterpretReceivedMessage(photo());
    window->show();
    window->showExifAct->trigger();
    EXPECT_FALSE(factory.exif->isHidden());
    EXPECT_EQ(factory.counters.m_Values.value(QStringLiteral("m_iExifViewed")), 1);
    window->exifDockClosed();
    EXPECT_FALSE(window->showExifAct->isChecked());

    window->showHistogramMenuAct->trigger();
    EXPECT_TRUE(window->showHistogramAct->isChecked());
    EXPECT_FALSE(factory.histogram->isHidden());
    window->showHistogramAct->trigger();
    EXPECT_FALSE(window->showHistogramMenuAct->isChecked());
    EXPECT_TRUE(factory.histogram->isHidden());
    window->showHistogramClicked(); // no action as sender: nothing
    window->showHistogramMenuAct->trigger();
    window->histogramDockClosed();
    EXPECT_FALSE(window->showHistogramAct->isChecked());
    EXPECT_FALSE(window->showHistogramMenuAct->isChecked());

    // The docks' own close buttons reach the window through their signals.
    window->showInfoAct->setChecked(true);
    window->showInfoClicked();
    EXPECT_FALSE(factory.info->isHidden());
    emit factory.info->closeClicked();
    EXPECT_FALSE(window->showInfoAct->isChecked());

    window->compareWindowAct->trigger();
    EXPECT_FALSE(factory.compare->isHidden());
    window->OnCompareWindowClosed();
    EXPECT_FALSE(window->compareWindowAct->isChecked());
    window->hide();
}

TEST_F(FrameTest, CloseDuringACalculationKeepsTheWindowAndWritesNothing)
{
    build();
    const QString ini = settings() + QStringLiteral("window.ini");
    MP_UI_SetIsCalculatingMode(1);
    QCloseEvent refused;
    window->closeEvent(&refused);
    MP_UI_SetIsCalculatingMode(0);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_FALSE(QFile::exists(ini));
    EXPECT_EQ(factory.pp->m_iTo, 0);

    window->showExifAct->setChecked(true);
    window->showHistogramAct->setChecked(true);
    window->compareWindowAct->setChecked(true);
    QCloseEvent accepted;
    window->closeEvent(&accepted);
    EXPECT_TRUE(accepted.isAccepted());
    EXPECT_EQ(factory.pp->m_iTo, 1);
    ASSERT_TRUE(QFile::exists(ini));
    {
        QSettings stored(ini, QSettings::IniFormat);
        for (const char* key : {"window/geometry", "window/state", "presetsdock/width", "presetsdock/height",
                                "infoact/checked", "infodock/width", "infodock/height", "exifact/checked",
                                "histogramact/checked", "framecoloract/checked", "imagepreview/additional/checked",
                                "comparewindowact/checked", "timelinewindowact/checked"})
            EXPECT_TRUE(stored.contains(QLatin1String(key))) << key;
        EXPECT_TRUE(stored.value(QStringLiteral("histogramact/checked")).toBool());
        // A width without its height is ignored on reading.
        stored.remove(QStringLiteral("presetsdock/height"));
        stored.setValue(QStringLiteral("presetsdock/width"), 3);
        stored.setValue(QStringLiteral("framecoloract/checked"), true);
    }
    // The next start reads the saved marks back; both histogram twins take the stored one.
    window.reset();
    build();
    EXPECT_TRUE(window->showExifAct->isChecked());
    EXPECT_TRUE(window->showHistogramAct->isChecked());
    EXPECT_TRUE(window->showHistogramMenuAct->isChecked());
    EXPECT_TRUE(window->compareWindowAct->isChecked());
    EXPECT_TRUE(window->frameColorAct->isChecked());
    EXPECT_EQ(window->frameColorAct->text(), QStringLiteral("Rahmenfarbe: Ambient"));
    EXPECT_NE(factory.presets->width(), 3);
    // Nothing of the saved marks shows a dock before a document.
    EXPECT_TRUE(factory.exif->isHidden());
    EXPECT_TRUE(factory.compare->isHidden());
}

TEST_F(FrameTest, DefaultLayoutPlacesTheDocksAndCountsOnlyAUsersReset)
{
    build();
    window->restoreDefaultWindowStateAct->trigger();
    EXPECT_EQ(factory.counters.m_Values.value(QStringLiteral("m_iWindowsResetted")), 1);
    EXPECT_EQ(window->dockWidgetArea(factory.hdr), Qt::LeftDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(factory.series), Qt::LeftDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(factory.presets), Qt::LeftDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(factory.pp), Qt::RightDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(factory.info), Qt::BottomDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(factory.infoStart), Qt::TopDockWidgetArea);
    EXPECT_EQ(window->toolBarArea(window->toolBar), Qt::TopToolBarArea);
    EXPECT_EQ(window->toolBarArea(window->toolBarImage), Qt::TopToolBarArea);
    EXPECT_TRUE(factory.exif->isFloating());
    EXPECT_TRUE(factory.compare->isFloating());
    EXPECT_TRUE(factory.compare->m_bDefaultSized);
    EXPECT_EQ(factory.compare->pos(), window->pos() + QPoint(40, 120));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->width(), int(float(screen.width()) * 0.8f));
}

TEST_F(FrameTest, RememberedFolderHelpAndLinks)
{
    build();
    const struct {
        const char* path;
        bool folderOnly;
        const char* stored;
    } cases[] = {{"C:\\Bilder\\Urlaub\\a.jpg", true, "C:/Bilder/Urlaub"},
                 {"C:\\Bilder\\Urlaub\\a.jpg", false, "C:/Bilder/Urlaub/a.jpg"},
                 {"/home/anna/b.tif", true, "/home/anna"},
                 {"noslash.jpg", true, ""}};
    EXPECT_EQ(window->pathfromFolderSettings(QStringLiteral("lastDialogPath")), QString());
    for (const auto& c : cases) {
        window->pathToFolderSettings(QLatin1String(c.path), QStringLiteral("lastDialogPath"), c.folderOnly);
        EXPECT_EQ(window->pathfromFolderSettings(QStringLiteral("lastDialogPath")), QLatin1String(c.stored)) << c.path;
    }
    // The open dialog starts there and remembers the chosen file's folder.
    window->pathToFolderSettings(QStringLiteral("/pictures/x.jpg"), QStringLiteral("lastDialogPath"), true);
    EXPECT_EQ(window->DialogStartFolder(QString()), QStringLiteral("/pictures"));
    EXPECT_EQ(window->DialogStartFolder(QStringLiteral("/options")), QStringLiteral("/options"));
    const QString chosen = photo();
    window->m_OpenDialogHook = [&](bool) { return QStringList{chosen}; };
    window->loadImage();
    EXPECT_EQ(window->pathfromFolderSettings(QStringLiteral("lastDialogPath")), QFileInfo(chosen).absolutePath());

    COptions::getInstance()->m_strLocale = QStringLiteral("fr_FR");
    EXPECT_EQ(window->HelpPath(), lumivex::ApplicationFolder() + QStringLiteral("/help/lumivexhelp3_fr_FR.pdf"));

}

TEST_F(FrameTest, BatchWindowRunsInBothModesAndCommandsWithoutTheirWindowAreGreyed)
{
    build();
    const QString chosen = photo();
    factory.batch.m_lstFiles = QStringList{chosen};
    window->exposureSeriesBrowseAct->trigger();
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(factory.batch.m_vecModes, std::vector<int>{1});
    EXPECT_EQ(factory.counters.m_Values.value(QStringLiteral("m_iImageBrowserOpened")), 1);
    // Batch mode: the RAW development window first; nothing chosen leaves the start page.
    factory.batch.m_lstFiles.clear();
    window->batchProcessingAct->trigger();
    EXPECT_EQ(factory.batch.m_vecModes, (std::vector<int>{1, 0}));
    EXPECT_EQ(factory.raw.m_iExecs, 1);
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(window->m_pImagePreview->isHidden(), true);

    // A build without these windows: their commands are greyed, and a call
    // keeps the document in use.
    window.reset();
    factory.windows = false;
    build();
    for (QAction* a : {window->exposureSeriesBrowseAct, window->batchProcessingAct, window->rawDevelopmentAct,
                       window->aboutAct, window->statisticAct, window->benchmarkAct, window->panoramaViewAct})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(window->compareWindowAct->isEnabled());
    window->InterpretReceivedMessage(photo());
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    window->exposureSeriesBrowse();
    window->batchProcessing();
    EXPECT_NE(window->m_pExposureSeries, nullptr);
}

TEST_F(FrameTest, TexturesFillOnlyNeededSlotsFromWholeFiles)
{
    build();
    QTemporaryDir app;
    ASSERT_TRUE(QDir(app.path()).mkpath(QStringLiteral("textures")));
    auto write = [&](const char* name, qint64 bytes) {
        QFile f(app.filePath(QStringLiteral("textures/") + QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray data(bytes, '\0');
        for (qint64 i = 0; i < bytes; ++i)
            data[i] = char(i * 7);
        f.write(data);
    };
    write("2d_structure.dat", 993LL * 993 * 6);
    write("2d_cubes.dat", 512LL * 512 * 6 + 100); // longer: its first w x h x 6 bytes
    write("2d_Fabric01.dat", 1000);              // short: the slot stays empty
    write("2d_bubble1.dat", 128LL * 128 * 6);    // nothing marks the bubbles
    lumivex::SetApplicationFolder(app.path());
    MP_ResetTexturesAndBuffer();
    MP_UI_SetTextureNeeded(4, 1);
    MP_UI_SetTextureNeeded(32, 1);
    m_Log.str(std::string());
    window->LoadAllTextures();
    EXPECT_NE(m_Log.str().find("Texture Memory: 7.14222 MB"), std::string::npos) << m_Log.str();
    EXPECT_EQ(MP_UI_GetTextureSizeX(2), 993);
    EXPECT_EQ(MP_UI_GetTextureSizeY(3), 512);
    ASSERT_NE(MP_UI_GetTexturePointer(3), nullptr);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(MP_UI_GetTexturePointer(3))[5], (unsigned char)(5 * 7));
    EXPECT_EQ(MP_UI_GetTexturePointer(4), nullptr);
    EXPECT_EQ(MP_UI_GetTexturePointer(32), nullptr);
    EXPECT_EQ(MP_UI_GetTexturePointer(40), nullptr);
    EXPECT_EQ(MP_UI_GetTextureNeeded(40), 0);
    EXPECT_NE(m_Log.str().find("2d_Fabric01.dat"), std::string::npos);
}

namespace {

// One generated texture file, read back.
struct STexture {
    int w = 0, h = 0;
    std::vector<uint16_t> rgb;
    uint16_t at(int x, int y, int c) const { return rgb[(size_t(y) * size_t(w) + size_t(x)) * 3 + size_t(c)]; }
    double mean(int c) const
    {
        double sum = 0.0;
        for (size_t i = size_t(c); i < rgb.size(); i += 3)
            sum += rgb[i];
        return sum / double(size_t(w) * size_t(h));
    }
    // The largest mean step between two neighbouring columns inside the
    // picture, and the mean step across the wrap (last column to the first).
    std::pair<double, double> columnSteps(int c) const
    {
        double largest = 0.0, wrap = 0.0;
        for (int x = 0; x < w; ++x) {
            double step = 0.0;
            for (int y = 0; y < h; ++y)
                step += std::abs(int(at((x + 1) % w, y, c)) - int(at(x, y, c)));
            step /= h;
            if (x + 1 < w)
                largest = std::max(largest, step);
            else
                wrap = step;
        }
        return {largest, wrap};
    }
    std::pair<double, double> rowSteps(int c) const
    {
        double largest = 0.0, wrap = 0.0;
        for (int y = 0; y < h; ++y) {
            double step = 0.0;
            for (int x = 0; x < w; ++x)
                step += std::abs(int(at(x, (y + 1) % h, c)) - int(at(x, y, c)));
            step /= w;
            if (y + 1 < h)
                largest = std::max(largest, step);
            else
                wrap = step;
        }
        return {largest, wrap};
    }
};

STexture readTexture(const QString& name, int w, int h)
{
    STexture t;
    QFile f(QStringLiteral(LUMIVEX_APP_DIR "/textures/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return t;
    const QByteArray data = f.readAll();
    if (data.size() != qint64(w) * h * 6)
        return t;
    t.w = w;
    t.h = h;
    t.rgb.resize(size_t(w) * size_t(h) * 3);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    for (size_t i = 0; i < t.rgb.size(); ++i)
        t.rgb[i] = uint16_t(bytes[i * 2] | (bytes[i * 2 + 1] << 8)); // little-endian
    return t;
}

} // namespace

TEST(GeneratedTextures, EveryFileHasItsSizeAndTheTiledOnesWrapSeamlessly)
{
    qint64 total = 0;
    for (const auto& file : TextureLoader::Table()) {
        STexture t = readTexture(file.name, file.width, file.height);
        ASSERT_EQ(t.w, file.width) << file.name.toStdString() << ": missing or of the wrong length";
        total += qint64(file.width) * file.height * 6;
        if (file.slot >= 40)
            continue; // bubbles are single pictures
        // The step across the wrap is no larger than the steps inside.
        for (int c = 0; c < 3; ++c) {
            if (file.slot == 3)
                break; // the cubes are separate pictures in bands
            const auto columns = t.columnSteps(c), rows = t.rowSteps(c);
            EXPECT_LE(columns.second, columns.first * 1.25 + 16.0) << file.name.toStdString() << " channel " << c;
            EXPECT_LE(rows.second, rows.first * 1.25 + 16.0) << file.name.toStdString() << " channel " << c;
        }
    }
    EXPECT_EQ(total, 80430726);
}

TEST(GeneratedTextures, CubesShadeTheirSquaresAndChannelMeansMatchTheirUse)
{
    const STexture cubes = readTexture(QStringLiteral("2d_cubes.dat"), 512, 512);
    ASSERT_EQ(cubes.w, 512);
    double faceSum = 0.0;
    int faceCount = 0;
    for (int s = 1; s <= 8; ++s) {
        const int top = 64 * (s - 1), size = 4 * s + 2;
        int inside = 0, outside = 0;
        for (int y = top; y < top + 64; ++y) {
            for (int x = 0; x < 512; ++x) {
                const bool square = y < top + size && x < size;
                const uint16_t r = cubes.at(x, y, 0);
                if (r != 0) {
                    EXPECT_TRUE(square) << "band " << s << " at " << x << "," << y;
                    EXPECT_EQ(r, cubes.at(x, y, 1)); // grey: the colour is kept
                    EXPECT_EQ(r, cubes.at(x, y, 2));
                    faceSum += r;
                    ++faceCount;
                    ++inside;
                } else if (square) {
                    ++outside;
                }
            }
        }
        EXPECT_GT(inside, size * size / 2) << "band " << s;
        // The hexagon touches the middle of the square's top and bottom sides.
        EXPECT_NE(cubes.at(size / 2, top, 0), 0) << "band " << s;
        EXPECT_NE(cubes.at(size / 2, top + size - 1, 0), 0) << "band " << s;
    }
    EXPECT_NEAR(faceSum / faceCount, 43690.0, 2500.0);

    const struct {
        const char* name;
        int channel;
        double mean, tolerance;
    } means[] = {{"2d_Fabric03.dat", 1, 36408.0, 40.0}, {"2d_crack05.dat", 1, 36408.0, 40.0},
                 {"2d_paper02.dat", 1, 43690.0, 40.0}, {"2d_paper02.dat", 0, 32768.0, 600.0},
                 {"2d_metal04.dat", 1, 32768.0, 600.0}, {"2d_structure.dat", 0, 32768.0, 300.0},
                 {"2d_structure.dat", 2, 32768.0, 300.0}, {"2d_puzzle1.dat", 0, 32768.0, 300.0}};
    for (const auto& m : means) {
        const int w = QLatin1String(m.name).startsWith(QLatin1String("2d_structure")) ? 993
                      : QLatin1String(m.name).startsWith(QLatin1String("2d_puzzle1"))  ? 1024
                                                                                        : 512;
        const int h = w == 1024 ? 768 : w;
        const STexture t = readTexture(QLatin1String(m.name), w, h);
        ASSERT_EQ(t.w, w) << m.name;
        EXPECT_NEAR(t.mean(m.channel), m.mean, m.tolerance) << m.name << " channel " << m.channel;
    }
    // Bubbles: lit discs on black.
    const STexture bubble = readTexture(QStringLiteral("2d_bubble1.dat"), 128, 128);
    ASSERT_EQ(bubble.w, 128);
    EXPECT_EQ(bubble.at(0, 0, 1), 0);
    EXPECT_GT(bubble.at(64, 64, 1), 0);
}

#include "test_mainwindow_frame.moc"
