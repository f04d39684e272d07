// The main window's workflow with the later windows faked: a photograph
// opened by message, drop or dialog loads, passes the HDR stage and shows in
// the post-processing stage; messages, drops, stages, recalculation and the
// buffers the views read.

#include "mainwindowfixture.h"

#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/kernelrunner.h"
#include "document/postprocessing.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrdockwidget.h"
#include "ui/views/hdrimagepreview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <sstream>

namespace {

// A stage dock as the main window sees it: a real dock widget.
template <class Interface> class FakeStageDock : public HDRDockWidget, public Interface {
public:
    explicit FakeStageDock(QWidget* parent) : HDRDockWidget(QStringLiteral("stage"), parent, Qt::WindowFlags()) {}
    QDockWidget* Dock() override { return this; }
    void GetInfoText(QString& text) override { text = QStringLiteral("help"); }
};

class FakeSeriesDock : public FakeStageDock<IExposureSeriesDock> {
public:
    using FakeStageDock::FakeStageDock;
    void UpdateDisplay(CExposureSeries* series, bool) override { m_pShown = series; }
    void resetLabelHighlights() override {}
    void ScrollToCenter() override {}
    CExposureSeries* m_pShown = nullptr;
};

class FakeOperatorDock : public FakeStageDock<IHDROperatorDock> {
public:
    using FakeStageDock::FakeStageDock;
    QString GetKernelName() const override { return QString(); }
    void GetParameterValues(float values[10][256]) const override { values[0][0] = m_fFirst; }
    float m_fFirst = 0.0f;
    void UpdateHDRContrastLabel() override {}
};

class FakePresetTile : public IPresetTile {
public:
    QSize LabelSize() const override { return QSize(40, 30); }
    void UpdateLabelPixmap() override { ++m_iThumbnails; }
    void SetCalculated(bool calculated) override { m_bCalculated = calculated; }
    void EnableModifiedButtons() override { ++m_iModified; }
    int m_iThumbnails = 0;
    int m_iModified = 0;
    bool m_bCalculated = false;
};

class FakePresetsDock : public FakeStageDock<IPresetsDock> {
public:
    using FakeStageDock::FakeStageDock;
    void StopPreviewTimer() override { ++m_iStops; }
    void StartPreviewTimer(int ms) override
    {
        ++m_iStarts;
        m_iLastStart = ms;
    }
    void CreateAllPreviews(bool reapply) override { m_vecCreateAll.push_back(reapply); }
    void resetCalculatedStates() override { ++m_iResets; }
    IPresetTile* GetSelectedPresetGroupBox() override { return m_pSelected; }
    void resetLabelHighlights() override {}
    int m_iStops = 0, m_iStarts = 0, m_iLastStart = 0, m_iResets = 0;
    std::vector<bool> m_vecCreateAll;
    IPresetTile* m_pSelected = nullptr;
};

class FakePostProcessingDock : public FakeStageDock<IPostProcessingDock> {
public:
    using FakeStageDock::FakeStageDock;
    void SetCurrentPostProcessing(CPostProcessing* chain) override { m_pChain = chain; }
    CPostProcessing* m_pChain = nullptr;
};

class FakeRawDevelopment : public IRawDevelopment {
public:
    bool IsShowAgainChecked() const override { return m_bShowAgain; }
    int Exec() override
    {
        ++m_iExecs;
        return 0;
    }
    int ExtraProgressCategories() const override { return 0; }
    int getImageTypeIndex() const override { return 3; }
    void rememberGroupboxStates() override { ++m_iRemember; }
    void disableAllGroupboxStates() override { ++m_iDisable; }
    void recoverGroupboxStates() override { ++m_iRecover; }
    bool m_bShowAgain = true;
    int m_iExecs = 0, m_iRemember = 0, m_iDisable = 0, m_iRecover = 0;
};

class FakeCounters : public IUsageCounters {
public:
    void HandleValue(const QString& key, int value) override { m_Values[key] += value; }
    QMap<QString, int> m_Values;
};

class WorkflowFactory : public IWindowFactory {
public:
    IOptionsWindow* CreateOptionsWindow(QWidget*) override { return nullptr; }
    IStyleColorDialog* CreateStyleSelectWindow(QWidget*) override { return nullptr; }
    IExposureSeriesDock* CreateExposureSeriesDock(QWidget* parent) override
    {
        return series = new FakeSeriesDock(parent);
    }
    IHDROperatorDock* CreateHDROperatorDock(QWidget* parent) override { return hdr = new FakeOperatorDock(parent); }
    IPresetsDock* CreatePresetsDock(QWidget* parent) override { return presets = new FakePresetsDock(parent); }
    IPostProcessingDock* CreatePostProcessingDock(QWidget* parent) override
    {
        return pp = new FakePostProcessingDock(parent);
    }
    IRawDevelopment* CreateRawDevelopment(QWidget*) override { return &raw; }
    IUsageCounters* CreateStatistic(QObject*) override { return &counters; }

    FakeSeriesDock* series = nullptr;
    FakeOperatorDock* hdr = nullptr;
    FakePresetsDock* presets = nullptr;
    FakePostProcessingDock* pp = nullptr;
    FakeRawDevelopment raw;
    FakeCounters counters;
};

// The window with its drop handler in reach.
class DropWindow : public HDRMainWindow {
public:
    using HDRMainWindow::HDRMainWindow;
    using HDRMainWindow::dropEvent;
};

class WorkflowTest : public MainWindowUiTest {
protected:
    void SetUp() override
    {
        MainWindowUiTest::SetUp();
        HDRPresetTimerStopHelper::m_uiRefCnt = 0;
        ASSERT_TRUE(m_Dir.isValid());
        window = std::make_unique<DropWindow>(0, QString(), &factory);
    }
    void TearDown() override
    {
        window.reset();
        MainWindowUiTest::TearDown();
    }
    // A small photograph: a left-to-right grey ramp with a red square.
    QString photo(const QString& name, int w = 96, int h = 64)
    {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, (x > 20 && x < 40 && y > 10 && y < 30) ? qRgb(220, 30, 30)
                                                                             : qRgb(x * 255 / w, x * 255 / w, 90));
        const QString path = m_Dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(image.save(path, name.section(QLatin1Char('.'), -1).toUpper().toLatin1().constData()))
            << path.toStdString();
        return path;
    }
    QString loadedFile() const
    {
        return window->m_pExposureSeries ? window->m_pExposureSeries->GetFileName(0) : QString();
    }
    int counter(const char* key) const { return factory.counters.m_Values.value(QLatin1String(key)); }

    WorkflowFactory factory;
    std::unique_ptr<DropWindow> window;
    QTemporaryDir m_Dir;
};

TEST_F(WorkflowTest, OpenedPhotographLandsInThePostProcessingStageWithARenderedResult)
{
    const QString path = photo(QStringLiteral("street.png"));
    window->InterpretReceivedMessage(path);

    ASSERT_NE(window->m_pExposureSeries, nullptr);
    ASSERT_EQ(window->m_pExposureSeries->m_vExposures.size(), 1);
    EXPECT_EQ(loadedFile(), QFileInfo(path).fileName());
    EXPECT_EQ(counter("m_iSingleImagesLoaded"), 1);
    EXPECT_EQ(counter("m_iImagesFromPlugin"), 0);
    // The post-processing stage: both docks shown, only presets highlighted.
    EXPECT_FALSE(window->IsHDRStage());
    EXPECT_TRUE(factory.series->isHidden());
    EXPECT_TRUE(factory.hdr->isHidden());
    EXPECT_FALSE(factory.presets->isHidden());
    EXPECT_FALSE(factory.pp->isHidden());
    EXPECT_TRUE(window->postProcessingAct->isChecked());
    EXPECT_TRUE(window->postProcessingAct->isEnabled());
    EXPECT_EQ(factory.presets->m_vecCreateAll, std::vector<bool>{true});
    EXPECT_EQ(factory.series->m_pShown, window->m_pExposureSeries);
    // No chain until a tile applies; the HDR result is on show meanwhile.
    EXPECT_EQ(window->m_pPostProcessing, nullptr);
    EXPECT_FALSE(window->m_PreviewPixmap.isNull());
    int w = -1, h = -1;
    EXPECT_EQ(window->GetActualPPBuffer(&w, &h), nullptr);
    EXPECT_EQ(w, 0);
    // The working copy: the series' working buffer and size.
    const QSize working(int(window->m_pExposureSeries->GetWorkingWidth()),
                        int(window->m_pExposureSeries->GetWorkingHeight()));
    ASSERT_FALSE(working.isEmpty());
    const unsigned short* hdr = window->GetActualHDRBuffer(&w, &h);
    ASSERT_NE(hdr, nullptr);
    EXPECT_EQ(hdr, window->m_pExposureSeries->GetWorkingBuffer());
    EXPECT_EQ(QSize(w, h), working);

    // The presets dock applies a tile: the chain runs on the working copy.
    CPostProcessing chain;
    FakePresetTile tile;
    window->m_PreviewPixmap = QPixmap();
    window->updatePostProcessing(&chain, &tile);
    EXPECT_EQ(window->m_pPostProcessing, &chain);
    EXPECT_EQ(factory.pp->m_pChain, &chain);
    EXPECT_TRUE(tile.m_bCalculated);
    EXPECT_EQ(chain.m_pAccordingExposureSeries, window->m_pExposureSeries);
    ASSERT_FALSE(window->m_PreviewPixmap.isNull());
    const unsigned short* result = window->GetActualResultBuffer(&w, &h);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(QSize(w, h), working);
    EXPECT_EQ(window->GetActualPPBuffer(&w, &h), result);
    // Nested scopes of the tile slot: the thumbnail timer stops once and
    // restarts once, 20 ms after the outer one.
    EXPECT_EQ(factory.presets->m_iStops, factory.presets->m_iStarts);
    EXPECT_EQ(factory.presets->m_iLastStart, 20);
    EXPECT_EQ(HDRPresetTimerStopHelper::m_uiRefCnt, 0u);

    // A chain buffer of another size is not the current image.
    std::vector<unsigned short> other(10 * 10 * 3, 1000);
    ASSERT_TRUE(CPostProcessing::InitBuffer(other.data(), QSize(10, 10), QSize(10, 10), false));
    EXPECT_EQ(window->GetActualResultBuffer(&w, &h), nullptr);
    EXPECT_EQ(QSize(w, h), QSize(0, 0));

    // Back in the HDR stage the chain result is no longer the image.
    window->editExposureLatitude();
    EXPECT_TRUE(window->IsHDRStage());
    EXPECT_EQ(window->m_pPostProcessing, nullptr);
    EXPECT_EQ(window->GetActualPPBuffer(&w, &h), nullptr);
    EXPECT_EQ(window->GetActualResultBuffer(&w, &h), hdr);
    CPostProcessing::DeleteBuffer();
}

TEST_F(WorkflowTest, ChoosingTheAppliedTileRecomputesOnlyOutsideRealTimeMode)
{
    window->InterpretReceivedMessage(photo(QStringLiteral("tile.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    CPostProcessing chain;
    FakePresetTile tile;
    window->updatePostProcessing(&chain, &tile);
    window->m_PreviewPixmap = QPixmap();
    window->updatePostProcessing(&chain, &tile);
    EXPECT_TRUE(window->m_PreviewPixmap.isNull()) << "real-time: the applied tile is not run again";
    COptions::getInstance()->m_bRealTimeMode = false;
    window->updatePostProcessing(&chain, &tile);
    EXPECT_FALSE(window->m_PreviewPixmap.isNull());
    EXPECT_FALSE(chain.m_bForceApply);
    CPostProcessing::DeleteBuffer();
}

TEST_F(WorkflowTest, MessagesAreSplitIntoTheirPaths)
{
    const QString upper = photo(QStringLiteral("raw/IMG_1.PNG"));
    window->InterpretReceivedMessage(QStringLiteral("-rawdevelopment ") + upper);
    EXPECT_EQ(loadedFile(), QStringLiteral("IMG_1.PNG")) << "one load, case kept";
    EXPECT_EQ(counter("m_iSingleImagesLoaded"), 1);
    EXPECT_EQ(factory.raw.m_iExecs, 1) << "the RAW window opens first";
    EXPECT_EQ(factory.raw.m_iDisable, 0);
    EXPECT_EQ(MP_UI_GetRawDevOnLoadMode(), 0) << "the switch returns to its value";

    // Two paths and a blank: one request of two; the series keeps the first.
    const QString a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    window->InterpretReceivedMessage(a + QLatin1Char(' ') + b);
    EXPECT_EQ(loadedFile(), QStringLiteral("a.jpg"));
    EXPECT_EQ(counter("m_iSingleImagesLoaded"), 1);
    EXPECT_EQ(factory.raw.m_iDisable, 1);

    // A folder named like an image: the existing file is one path.
    const QString nested = photo(QStringLiteral("c.jpg/x.jpg"));
    window->InterpretReceivedMessage(nested);
    EXPECT_EQ(loadedFile(), QStringLiteral("x.jpg"));
    EXPECT_EQ(counter("m_iSingleImagesLoaded"), 2);

    // The plug-in's hand-off formats are counted.
    window->InterpretReceivedMessage(photo(QStringLiteral("handoff.ppm")));
    EXPECT_EQ(loadedFile(), QStringLiteral("handoff.ppm"));
    EXPECT_EQ(counter("m_iImagesFromPlugin"), 1);

    // Backslashes become slashes.
    const QString slashed = photo(QStringLiteral("d.png"));
    QString backslashed = slashed;
    backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
    window->InterpretReceivedMessage(backslashed);
    EXPECT_EQ(loadedFile(), QStringLiteral("d.png"));

    // Nothing to load: the document stays.
    window->InterpretReceivedMessage(QStringLiteral("notes.txt"));
    EXPECT_EQ(loadedFile(), QStringLiteral("d.png"));
}

TEST_F(WorkflowTest, AMessageArrivingWhileBusyWaitsForTheOperationToEnd)
{
    const QString path = photo(QStringLiteral("later.png"));
    MP_UI_SetIsCalculatingMode(1);
    window->InterpretReceivedMessage(path);
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    MP_UI_SetIsCalculatingMode(0);
    QElapsedTimer timer;
    timer.start();
    while (!window->m_pExposureSeries && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(loadedFile(), QStringLiteral("later.png"));
}

TEST_F(WorkflowTest, DropsLoadOneLocalFileOnly)
{
    const QString path = photo(QStringLiteral("dropped.png"));
    auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        window->dropEvent(&event);
    };
    QString shown;
    _gui::SetModalHook([&shown](QWidget* prompt) {
        if (auto* box = qobject_cast<QMessageBox*>(prompt))
            shown = box->text();
        return int(QDialog::Rejected);
    });
    drop({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)});
    EXPECT_EQ(shown, QStringLiteral("Bitte nur eine Datei einladen."));
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    shown.clear();
    drop({QUrl(QStringLiteral("https://example.invalid/a.png"))});
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(counter("m_iSingleImagesLoaded"), 0) << "a remote address opens no dialog";
    drop({QUrl::fromLocalFile(path)});
    EXPECT_EQ(loadedFile(), QStringLiteral("dropped.png"));
    EXPECT_EQ(counter("m_iDragDropLoadImage"), 1);
}

TEST_F(WorkflowTest, ProgressDelayFollowsTheWorkingSize)
{
    EXPECT_EQ(window->getProgressThreadDelay(), 0u);
    struct Case {
        unsigned w, h, delay;
    } cases[] = {{1000, 1000, 500}, {1001, 1000, 0}, {10, 10, 500}};
    for (const Case& c : cases) {
        auto* series = new CExposureSeries();
        series->m_uiPreviewWidth = c.w;
        series->m_uiPreviewHeight = c.h;
        series->m_uiWidth = c.w;
        series->m_uiHeight = c.h;
        window->m_pExposureSeries = series;
        EXPECT_EQ(window->getProgressThreadDelay(), c.delay) << c.w << " x " << c.h;
        delete series;
        window->m_pExposureSeries = nullptr;
    }
}

TEST_F(WorkflowTest, StagesSwitchTogether)
{
    window->updateDockWidgets(HDRMainWindow::eDW_PRESETS);
    EXPECT_FALSE(factory.presets->isHidden());
    EXPECT_FALSE(factory.pp->isHidden());
    EXPECT_TRUE(factory.series->isHidden());
    EXPECT_TRUE(window->postProcessingAct->isChecked());
    EXPECT_EQ(factory.presets->windowTitle(), QStringLiteral(">> stage <<"));
    EXPECT_EQ(factory.pp->windowTitle(), QStringLiteral("stage"));
    window->updateDockWidgets(HDRMainWindow::eDW_EXPOSURESERIES);
    EXPECT_TRUE(window->IsHDRStage());
    EXPECT_FALSE(window->postProcessingAct->isChecked());
    EXPECT_TRUE(factory.presets->isHidden());

    // Clicking the checked stage action keeps it checked and the stage shown.
    window->InterpretReceivedMessage(photo(QStringLiteral("stage.png")));
    ASSERT_TRUE(window->postProcessingAct->isChecked());
    window->postProcessingAct->trigger();
    EXPECT_TRUE(window->postProcessingAct->isChecked());
    EXPECT_FALSE(factory.presets->isHidden());
    EXPECT_EQ(factory.presets->m_vecCreateAll.size(), 1u);
}

TEST_F(WorkflowTest, WithoutLaterWindowsALoadStillShowsTheImage)
{
    window.reset();
    window = std::make_unique<DropWindow>(0, QString(), nullptr);
    window->InterpretReceivedMessage(photo(QStringLiteral("plain.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_FALSE(window->m_PreviewPixmap.isNull());
    EXPECT_FALSE(window->m_pImagePreview->isHidden());
    EXPECT_TRUE(window->newProject());
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    EXPECT_TRUE(window->m_PreviewPixmap.isNull());
}


TEST_F(WorkflowTest, ChainEditsRecomputeAndMarkThePresetUnlessTheAssistantMadeThem)
{
    window->InterpretReceivedMessage(photo(QStringLiteral("edit.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    CPostProcessing chain;
    FakePresetTile tile;
    factory.presets->m_pSelected = &tile;
    window->updatePostProcessing(&chain, &tile);
    ASSERT_EQ(window->m_pPostProcessing, &chain);

    struct Case {
        bool changed, assistant;
        int thumbnails, modified;
    } cases[] = {{true, false, 1, 1}, {true, true, 1, 0}, {false, false, 0, 0}};
    for (const Case& c : cases) {
        tile.m_iThumbnails = tile.m_iModified = 0;
        window->m_PreviewPixmap = QPixmap();
        chain.m_bChanged = c.changed;
        chain.m_bChangedByAssistant = c.assistant;
        window->updateCurrentPostProcessing();
        EXPECT_EQ(tile.m_iThumbnails, c.thumbnails) << c.changed << c.assistant;
        EXPECT_EQ(tile.m_iModified, c.modified) << c.changed << c.assistant;
        EXPECT_EQ(window->m_PreviewPixmap.isNull(), !c.changed);
        EXPECT_FALSE(chain.m_bChangedByAssistant);
        EXPECT_EQ(factory.pp->windowTitle(), QStringLiteral(">> stage <<"));
    }

    // Outside real-time mode an edit only enables the refresh button; the
    // refresh computes once, then the button is off again.
    COptions::getInstance()->m_bRealTimeMode = false;
    window->m_PreviewPixmap = QPixmap();
    chain.m_bChanged = true;
    window->updateCurrentPostProcessing();
    EXPECT_TRUE(window->m_PreviewPixmap.isNull());
    EXPECT_TRUE(window->m_pImagePreview->GetRefreshButtonEnabled());
    window->refreshClicked();
    EXPECT_FALSE(window->m_PreviewPixmap.isNull());
    EXPECT_FALSE(window->m_pImagePreview->GetRefreshButtonEnabled());
    EXPECT_FALSE(COptions::getInstance()->m_bRealTimeMode) << "the mode is restored";
    EXPECT_FALSE(chain.m_bForceApply);
    CPostProcessing::DeleteBuffer();
}


TEST_F(WorkflowTest, OperatorEditsEnableRefreshOnlyOnARealChangeOutsideRealTimeMode)
{
    window->InterpretReceivedMessage(photo(QStringLiteral("operator.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    window->editExposureLatitude();
    ASSERT_TRUE(window->IsHDRStage());
    COptions::getInstance()->m_bRealTimeMode = false;
    window->m_pImagePreview->SetRefreshButtonEnabled(false);
    window->operatorUpdated();
    EXPECT_FALSE(window->m_pImagePreview->GetRefreshButtonEnabled()) << "nothing changed";
    EXPECT_FALSE(factory.hdr->isHidden());
    factory.hdr->m_fFirst = 0.25f;
    window->operatorUpdated();
    EXPECT_TRUE(window->m_pImagePreview->GetRefreshButtonEnabled());
    EXPECT_FLOAT_EQ(window->m_pExposureSeries->m_pfParameterValues[0][0], 0.25f);
    window->m_PreviewPixmap = QPixmap();
    window->refreshClicked();
    EXPECT_FALSE(window->m_PreviewPixmap.isNull()) << "refresh computes once";
    EXPECT_FALSE(window->m_pImagePreview->GetRefreshButtonEnabled());
    window->m_PreviewPixmap = QPixmap();
    window->refreshClicked();
    EXPECT_TRUE(window->m_PreviewPixmap.isNull()) << "a second press does nothing";
    // A null exposure only shows the stage.
    window->activateExposure(nullptr, false);
    EXPECT_TRUE(window->IsHDRStage());
}


TEST_F(WorkflowTest, ExposureTilesChangeTheResultOnlyWhenSomethingChanged)
{
    window->InterpretReceivedMessage(photo(QStringLiteral("tiles.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    window->editExposureLatitude();
    CExposure* exposure = window->m_pExposureSeries->m_vExposures.first();

    // The exposure value it already has: only the stage.
    window->updateDockWidgets(HDRMainWindow::eDW_PRESETS);
    window->m_PreviewPixmap = QPixmap();
    window->synExposureValueChanged(exposure, exposure->m_fExposureValue);
    EXPECT_TRUE(window->m_PreviewPixmap.isNull());
    EXPECT_TRUE(window->IsHDRStage());

    // A weight change outside real-time mode enables refresh only when it is one.
    COptions::getInstance()->m_bRealTimeMode = false;
    window->m_pImagePreview->SetRefreshButtonEnabled(false);
    window->globalWeightChanged(exposure, exposure->m_fGlobalWeight);
    EXPECT_FALSE(window->m_pImagePreview->GetRefreshButtonEnabled());
    window->globalWeightChanged(exposure, exposure->m_fGlobalWeight + 0.5f);
    EXPECT_TRUE(window->m_pImagePreview->GetRefreshButtonEnabled());
    COptions::getInstance()->m_bRealTimeMode = true;

    // The weight map clicked twice: the map, then the result again.
    window->displayExposureWeightmap(exposure);
    EXPECT_EQ(window->m_pDisplayedExposure, exposure);
    EXPECT_FALSE(window->m_bDisplayedAsColour);
    const QImage weightMap = window->m_PreviewPixmap.toImage();
    window->displayExposureWeightmap(exposure);
    EXPECT_EQ(window->m_pDisplayedExposure, nullptr);
    EXPECT_NE(window->m_PreviewPixmap.toImage(), weightMap);
    window->displayExposureColour(exposure);
    EXPECT_TRUE(window->m_bDisplayedAsColour);
    window->displayExposureColour(nullptr); // a null exposure only shows the stage
    EXPECT_EQ(window->m_pDisplayedExposure, exposure);
    EXPECT_TRUE(window->IsHDRStage());

    // The toolbar's histogram icon follows the document.
    EXPECT_FALSE(window->showHistogramAct->icon().isNull());
    EXPECT_EQ(window->showHistogramAct->icon().availableSizes().value(0), QSize(32, 28));
    window->newProject();
    EXPECT_FALSE(window->showHistogramAct->isEnabled());
}

TEST_F(WorkflowTest, BorderAndGeometryChangesInThePostProcessingStageApplyTheTileAgain)
{
    window->InterpretReceivedMessage(photo(QStringLiteral("limits.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    CPostProcessing chain;
    window->updatePostProcessing(&chain, nullptr);
    ASSERT_EQ(window->m_pPostProcessing, &chain);
    // A new style shows the applied chain again on the new background.
    window->m_PreviewPixmap = QPixmap();
    window->RefreshPresetsStage();
    EXPECT_FALSE(window->m_PreviewPixmap.isNull());
    EXPECT_EQ(window->m_pPostProcessing, &chain);
    factory.presets->m_vecCreateAll.clear();
    window->showLimitsClicked();
    EXPECT_EQ(window->m_pPostProcessing, nullptr);
    EXPECT_EQ(factory.presets->m_vecCreateAll, std::vector<bool>{true});
    window->geometryClicked();
    EXPECT_EQ(factory.presets->m_vecCreateAll, (std::vector<bool>{true, true}));
    // In the HDR stage nothing of the presets.
    window->editExposureLatitude();
    window->showLimitsClicked();
    window->geometryClicked();
    EXPECT_EQ(factory.presets->m_vecCreateAll.size(), 2u);
    CPostProcessing::DeleteBuffer();
}

TEST_F(WorkflowTest, AChainRunAskedForInsideAnotherEngineOperationRunsOnceThatEnds)
{
    window->InterpretReceivedMessage(photo(QStringLiteral("busy.png")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    CPostProcessing chain;
    window->updatePostProcessing(&chain, nullptr);
    ASSERT_EQ(window->m_pPostProcessing, &chain);
    window->m_PreviewPixmap = QPixmap();
    {
        CEngineGuard running; // a paint during another operation's progress events
        chain.m_bChanged = true;
        window->updateCurrentPostProcessing();
        EXPECT_TRUE(window->m_PreviewPixmap.isNull()) << "the engine is not entered twice";
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->m_PreviewPixmap.isNull()) << "the run follows once the operation ended";
    CPostProcessing::DeleteBuffer();
}

} // namespace

// The chain's run time reaches the statistics under the key of the longest
// post-processing calculation.
TEST_F(WorkflowTest, PostProcessingTimeCountsTheLongestCalculation)
{
    window->PostProcessingTime(1500);
    EXPECT_EQ(counter("m_iHighestPPCalcTime"), 1500);
    EXPECT_EQ(counter("m_iPostProcessingTime"), 0);
}
