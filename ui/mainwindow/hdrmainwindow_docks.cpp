// The main window's docks and stages, the windows it opens, its saved layout
// ("window.ini"), the links and help, the remembered dialog folder and the
// textures.

#include "ui/mainwindow/hdrmainwindow.h"

#include "document/exposureseries.h"
#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "ui/editors/editorseams.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/mainwindow/resultsaveformat.h"
#include "ui/mainwindow/textureloader.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrdockwidget.h"
#include "ui/toolkit/modalhook.h"
#include "ui/views/hdrimagepreview.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <iostream>

namespace {

template <class T> QDockWidget* dockOf(T* window) { return window ? window->Dock() : nullptr; }

void setDockVisible(QDockWidget* dock, bool visible)
{
    if (dock)
        dock->setVisible(visible);
}

// Connects sender's signal to receiver's slot when the sender has that
// signal (the docks of other parts declare theirs as they are built).
void connectIfPresent(QObject* sender, const char* signal, QObject* receiver, const char* slot)
{
    if (!sender)
        return;
    const QByteArray signalSignature = QMetaObject::normalizedSignature(signal);
    const QByteArray slotSignature = QMetaObject::normalizedSignature(slot);
    const int s = sender->metaObject()->indexOfSignal(signalSignature.constData());
    const int r = receiver->metaObject()->indexOfSlot(slotSignature.constData());
    if (s < 0 || r < 0)
        return;
    QObject::connect(sender, sender->metaObject()->method(s), receiver, receiver->metaObject()->method(r));
}

// Gives a window the factory made its object name (the key of the saved
// layout); null stays null.
template <class T> T* named(T* window, const char* name)
{
    if (auto* object = dynamic_cast<QObject*>(window))
        object->setObjectName(QLatin1String(name));
    return window;
}

const char kCompareWindowCheckedId[] = "comparewindowact/checked";

} // namespace

// ---- construction ------------------------------------------------------------

void HDRMainWindow::createDocks(IWindowFactory* factory)
{
    if (factory) {
        m_pExposureSeriesDock = factory->CreateExposureSeriesDock(this);
        m_pHDROperatorDock = factory->CreateHDROperatorDock(this);
        m_pExifDock = factory->CreateExifDock(this);
        m_pHistogramDock = factory->CreateHistogramDock(this);
        m_pPresetsDock = factory->CreatePresetsDock(this);
        m_pPostProcessingDock = factory->CreatePostProcessingDock(this);
    }
    const struct {
        QDockWidget* dock;
        const char* name;
        bool stage;
    } docks[] = {{dockOf(m_pExposureSeriesDock), "m_pExposureSeriesDock", true},
                 {dockOf(m_pHDROperatorDock), "m_pHDROperatorDock", true},
                 {dockOf(m_pExifDock), "m_pExifDock", false},
                 {dockOf(m_pHistogramDock), "m_pHistogramDock", false},
                 {dockOf(m_pPresetsDock), "m_pPresetsDockWidget", true},
                 {dockOf(m_pPostProcessingDock), "m_pPostProcessingDockWidget", true}};
    for (const auto& d : docks) {
        if (!d.dock)
            continue;
        d.dock->setObjectName(QLatin1String(d.name));
        d.dock->setVisible(false);
        if (d.stage)
            connect(d.dock, &QDockWidget::visibilityChanged, this, &HDRMainWindow::dockVisibilityChanged);
    }
    QDockWidget* series = dockOf(m_pExposureSeriesDock);
    for (const char* signal : {"activateExposure(CExposure*,bool)", "globalWeightChanged(CExposure*,float)",
                               "synExposureValueChanged(CExposure*,float)", "deleteExposure(CExposure*)",
                               "syntheticExposure(CExposure*)", "displayExposureColour(CExposure*)",
                               "displayExposureWeightmap(CExposure*)"})
        connectIfPresent(series, signal, this, signal);
    QDockWidget* hdr = dockOf(m_pHDROperatorDock);
    connectIfPresent(hdr, "operatorUpdated()", this, "operatorUpdated()");
    connectIfPresent(hdr, "operatorUpdatedForced()", this, "operatorUpdatedForced()");
    connectIfPresent(dockOf(m_pExifDock), "closeClicked()", this, "exifDockClosed()");
    QDockWidget* histogram = dockOf(m_pHistogramDock);
    connectIfPresent(histogram, "updateHistogram()", this, "updateHistogram()");
    connectIfPresent(histogram, "showHistogram()", this, "showHistogram()");
    connectIfPresent(histogram, "closeClicked()", this, "histogramDockClosed()");
    connectIfPresent(dockOf(m_pPresetsDock), "combineClicked()", this, "presetCombineClicked()");
    if (m_pPostProcessingDock) {
        m_pPostProcessingDock->SetPresets(m_pPresetsDock);
        m_pPostProcessingDock->SetInitialUserPath(m_sSettingsPath);
        m_pPostProcessingDock->CollapsiblesFromSettings();
        connectIfPresent(dockOf(m_pPostProcessingDock), "updateCurrentPostProcessing()", this,
                         "updateCurrentPostProcessing()");
    }
    HDRPresetTimerStopHelper::SetPresetsDock(m_pPresetsDock);
}

void HDRMainWindow::createWindows(IWindowFactory* factory)
{
    if (factory) {
        m_pInfoDockWidget = factory->CreateInfoDock(this, false);
        m_pInfoDockWidgetStart = factory->CreateInfoDock(this, true);
    }
    if (QDockWidget* info = dockOf(m_pInfoDockWidget)) {
        info->setObjectName(QStringLiteral("m_pInfoDockWidget"));
        info->setVisible(false);
        connectIfPresent(info, "closeClicked()", this, "infoDockClosed()");
        ToolkitSeams::SetInfoDock(m_pInfoDockWidget);
    }
    if (QDockWidget* start = dockOf(m_pInfoDockWidgetStart)) {
        start->setObjectName(QStringLiteral("m_pInfoDockWidgetStart"));
        m_pInfoDockWidgetStart->SetIsTitleScreen(true);
        start->setTitleBarWidget(new QWidget(start));
        m_pInfoDockWidgetStart->EnableFixedSize(false);
        start->setVisible(true);
    }
    if (!factory)
        return;
    m_pRAWDevelopment = factory->CreateRawDevelopment(this);
    m_pOptionsWindow = factory->CreateOptionsWindow(this);
    if (m_pOptionsWindow)
        named(m_pOptionsWindow->Dialog(), "options_window");
    m_pAboutWindow = named(factory->CreateAboutWindow(this), "about_window");
    m_pStyleSelectWindow = named(factory->CreateStyleSelectWindow(this), "styleseelect_window");
    m_pStyleChooser->SetStyleColorDialog(m_pStyleSelectWindow);
    m_pPanoramaView = named(factory->CreatePanoramaView(this), "panorama_window");
    m_pGeometryPainter = named(factory->CreateGeometryPainter(this), "geometry_painter_window");
    m_pStencilPainter = named(factory->CreateStencilPainter(this), "stencil_painter_window");
    m_pCompareDock = factory->CreateCompareDock(this);
    if (QDockWidget* compare = named(dockOf(m_pCompareDock), "compare_window")) {
        compare->setVisible(false);
        connectIfPresent(compare, "SigClosed()", this, "OnCompareWindowClosed()");
    }
    m_pStatisticWindow = named(factory->CreateStatisticWindow(this), "statistic_window");
    m_pBenchmarkWindow = named(factory->CreateBenchmarkWindow(this), "benchmark_window");
    m_pCropWindow = named(factory->CreateCropWindow(this), "crop_window");
    m_pBatchWindow = named(factory->CreateBatchWindow(this), "batch_window");
    m_pPresetCombineWindow = named(factory->CreatePresetCombineWindow(this), "preset_combine_window");
}

void HDRMainWindow::disableActionsWithoutWindow()
{
    // A command whose window this build does not have yet is shown greyed
    // rather than doing nothing when chosen.
    const std::pair<QAction*, bool> openers[] = {
        {exposureSeriesBrowseAct, m_pBatchWindow != nullptr}, {batchProcessingAct, m_pBatchWindow != nullptr},
        {rawDevelopmentAct, m_pRAWDevelopment != nullptr},    {aboutAct, m_pAboutWindow != nullptr},
        {statisticAct, m_pStatisticWindow != nullptr},        {benchmarkAct, m_pBenchmarkWindow != nullptr},
        {panoramaViewAct, m_pPanoramaView != nullptr},        {compareWindowAct, m_pCompareDock != nullptr}};
    for (const auto& [action, present] : openers)
        if (!present)
            action->setEnabled(false);
}

void HDRMainWindow::createImagePreview()
{
    m_pImagePreview = new HDRImagePreview(this, toolBarImage, nullptr);
    m_pImagePreview->setObjectName(QStringLiteral("image_preview"));
    setCentralWidget(m_pImagePreview);
    m_pImagePreview->hide();
    toolBarImage->hide();
    connect(m_pImagePreview, &HDRImagePreview::showLimitsClicked, this, &HDRMainWindow::showLimitsClicked);
    connect(m_pImagePreview, &HDRImagePreview::showHeatmapClicked, this, &HDRMainWindow::showHeatmapClicked);
    connect(m_pImagePreview, &HDRImagePreview::geometryClicked, this, &HDRMainWindow::geometryClicked);
    connect(m_pImagePreview, &HDRImagePreview::alignScrollClicked, this, &HDRMainWindow::alignScrollClicked);
    connect(m_pImagePreview, &HDRImagePreview::alignRotateClicked, this, &HDRMainWindow::alignRotateClicked);
    connect(m_pImagePreview, &HDRImagePreview::alignZoomClicked, this, &HDRMainWindow::alignZoomClicked);
    connect(m_pImagePreview, &HDRImagePreview::alignDetailClicked, this, &HDRMainWindow::alignDetailClicked);
    connect(m_pImagePreview, &HDRImagePreview::alignMikroClicked, this, &HDRMainWindow::alignMikroClicked);
    connect(frameColorAct, &QAction::toggled, m_pImagePreview, &HDRImagePreview::updateFrameColor);
    ViewSeams::SetHost(this);
    CSeriesSeams::SetMainWindow(this);
    CPostProcessing::SetHost(this);
}

// ---- stages --------------------------------------------------------------------------

void HDRMainWindow::updateDockWidgets(int which)
{
    if (which < 0 || which > 4)
        which = eDW_NONE;
    // Only the stage docks that exist take part; a stage works with those.
    QDockWidget* docks[4] = {dockOf(m_pExposureSeriesDock), dockOf(m_pHDROperatorDock), dockOf(m_pPresetsDock),
                             dockOf(m_pPostProcessingDock)};
    bool blocked[4] = {};
    for (int i = 0; i < 4; ++i)
        if (docks[i])
            blocked[i] = docks[i]->blockSignals(true);
    const bool hdrStage = which == eDW_EXPOSURESERIES || which == eDW_HDROPERATOR;
    const bool ppStage = which == eDW_PRESETS || which == eDW_POSTPROCESSING;
    setDockVisible(docks[0], hdrStage);
    setDockVisible(docks[1], hdrStage);
    setDockVisible(docks[2], ppStage);
    setDockVisible(docks[3], ppStage);
    if (which == eDW_HDROPERATOR && docks[1])
        docks[1]->raise();
    for (int i = 2; i < 4; ++i) {
        const bool highlighted = which == (i == 2 ? eDW_PRESETS : eDW_POSTPROCESSING);
        if (auto* d = qobject_cast<HDRDockWidget*>(docks[i]))
            d->SetHighlighted(highlighted);
        if (highlighted && docks[i])
            docks[i]->raise();
    }
    if (postProcessingAct)
        postProcessingAct->setChecked(ppStage);
    for (int i = 0; i < 4; ++i)
        if (docks[i])
            docks[i]->blockSignals(blocked[i]);
    if (m_pHDROperatorDock)
        m_pHDROperatorDock->UpdateHDRContrastLabel();
}

void HDRMainWindow::dockVisibilityChanged(bool visible)
{
    if (!visible)
        return;
    const QObject* from = sender();
    const QDockWidget* docks[4] = {dockOf(m_pExposureSeriesDock), dockOf(m_pHDROperatorDock), dockOf(m_pPresetsDock),
                                   dockOf(m_pPostProcessingDock)};
    for (int i = 0; i < 4; ++i) {
        if (docks[i] && from == docks[i]) {
            updateDockWidgets(i + 1);
            return;
        }
    }
}

void HDRMainWindow::highlightPostProcessingDockWidget()
{
    if (!IProject::s_bLoading)
        updateDockWidgets(eDW_POSTPROCESSING);
}

void HDRMainWindow::hideAllSubWindows()
{
    if (QDockWidget* series = dockOf(m_pExposureSeriesDock)) {
        series->raise();
        series->hide();
    }
    if (QDockWidget* hdr = dockOf(m_pHDROperatorDock)) {
        hdr->hide();
        const bool blocked = hdr->blockSignals(true);
        m_pHDROperatorDock->ResetAllValues();
        hdr->blockSignals(blocked);
    }
    if (QDockWidget* presets = dockOf(m_pPresetsDock)) {
        presets->raise();
        presets->hide();
    }
    setDockVisible(dockOf(m_pPostProcessingDock), false);
    m_pPostProcessing = nullptr;
    setDockVisible(dockOf(m_pExifDock), false);
    setDockVisible(dockOf(m_pHistogramDock), false);
    if (m_pImagePreview)
        m_pImagePreview->hide();
    if (toolBarImage)
        toolBarImage->hide();
    setDockVisible(dockOf(m_pCompareDock), false);
    setDockVisible(m_pTimelineDock, false);
}

void HDRMainWindow::ClearAllSelectedExposureDockStates()
{
    if (m_pExposureSeriesDock && m_pExposureSeries)
        m_pExposureSeriesDock->ClearAllSelectedStates(m_pExposureSeries);
}

// ---- the docks around the stage and their actions ----------------------------------------

void HDRMainWindow::showInfoClicked()
{
    const bool visible = showInfoAct->isEnabled() && showInfoAct->isChecked();
    if (m_pInfoDockWidget)
        m_pInfoDockWidget->SetInfoDockVisible(visible);
    else if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->SetInfoDockVisible(visible);
}

void HDRMainWindow::infoDockClosed() { showInfoAct->setChecked(false); }

void HDRMainWindow::showExifClicked()
{
    if (showExifAct->isChecked())
        count("m_iExifViewed");
    setDockVisible(dockOf(m_pExifDock), showExifAct->isChecked());
}

void HDRMainWindow::exifDockClosed() { showExifAct->setChecked(false); }

void HDRMainWindow::showHistogramClicked()
{
    QAction* from = qobject_cast<QAction*>(sender());
    QAction* other = from == showHistogramAct ? showHistogramMenuAct
                     : from == showHistogramMenuAct ? showHistogramAct
                                                    : nullptr;
    if (!other)
        return;
    other->setChecked(from->isChecked());
    setDockVisible(dockOf(m_pHistogramDock), from->isChecked());
}

void HDRMainWindow::histogramDockClosed()
{
    showHistogramAct->setChecked(false);
    showHistogramMenuAct->setChecked(false);
}

void HDRMainWindow::OnCompareWindowAct() { setDockVisible(dockOf(m_pCompareDock), compareWindowAct->isChecked()); }

void HDRMainWindow::OnCompareWindowClosed() { compareWindowAct->setChecked(false); }

void HDRMainWindow::OnTimelineWindowClosed() { timelineWindowAct->setChecked(false); }

void HDRMainWindow::frameColorClicked(bool checked)
{
    frameColorAct->setText(checked ? tr("Rahmenfarbe: Ambient") : tr("Rahmenfarbe: Graukarte"));
}

// ---- window state ---------------------------------------------------------------------------

void HDRMainWindow::restoreDefaultWindowState()
{
    count("m_iWindowsResetted");
    toolBar->setVisible(true);
    addToolBar(Qt::TopToolBarArea, toolBar);
    addToolBar(Qt::TopToolBarArea, toolBarImage);
    const std::pair<QDockWidget*, Qt::DockWidgetArea> stage[] = {
        {dockOf(m_pHDROperatorDock), Qt::LeftDockWidgetArea},
        {dockOf(m_pExposureSeriesDock), Qt::LeftDockWidgetArea},
        {dockOf(m_pPresetsDock), Qt::LeftDockWidgetArea},
        {dockOf(m_pPostProcessingDock), Qt::RightDockWidgetArea}};
    for (const auto& [dock, area] : stage) {
        if (!dock)
            continue;
        dock->setFloating(false);
        addDockWidget(area, dock);
    }
    if (QDockWidget* exif = dockOf(m_pExifDock)) {
        exif->setFloating(true);
        addDockWidget(Qt::LeftDockWidgetArea, exif);
        exif->setVisible(showExifAct->isChecked());
        exif->resize(0, 0);
    }
    if (QDockWidget* histogram = dockOf(m_pHistogramDock)) {
        histogram->setFloating(true);
        addDockWidget(Qt::LeftDockWidgetArea, histogram);
        histogram->setVisible(showHistogramAct->isChecked());
    }
    if (QDockWidget* info = dockOf(m_pInfoDockWidget)) {
        info->setFloating(false);
        addDockWidget(Qt::BottomDockWidgetArea, info);
        m_pInfoDockWidget->EnableFixedSize(m_pExposureSeries != nullptr);
    }
    showInfoAct->setChecked(false);
    setDockVisible(dockOf(m_pInfoDockWidget), false);
    if (QDockWidget* start = dockOf(m_pInfoDockWidgetStart)) {
        start->setFloating(false);
        addDockWidget(Qt::TopDockWidgetArea, start);
        start->setVisible(!showInfoAct->isEnabled());
    }
    if (frameColorAct->isChecked())
        frameColorAct->toggle();
    if (m_pImagePreview && m_pImagePreview->m_pAdditionalButton)
        m_pImagePreview->m_pAdditionalButton->setChecked(false);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect full = screen->geometry();
        resize(static_cast<int>(static_cast<float>(full.width()) * 0.8f),
               static_cast<int>(static_cast<float>(full.height()) * 0.8f));
        const QRect available = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(QPoint((available.left() + available.right()) / 2,
                                (available.top() + available.bottom()) / 2));
        move(frame.topLeft());
    }
    const int x = pos().x(), y = pos().y(), w = width();
    QDockWidget* exif = dockOf(m_pExifDock);
    if (exif)
        exif->move(x + w - exif->width() - 40, y + 120);
    if (QDockWidget* histogram = dockOf(m_pHistogramDock))
        histogram->move(x + w - histogram->width() - 40, y + 170 + (exif ? exif->height() : 0));
    if (QDockWidget* compare = dockOf(m_pCompareDock)) {
        compare->setFloating(true);
        addDockWidget(Qt::LeftDockWidgetArea, compare);
        compare->setVisible(compareWindowAct->isChecked());
        compare->move(x + 40, y + 120);
        m_pCompareDock->SetDefaultSizing(true);
    }
}

void HDRMainWindow::persistentWindowState(bool save)
{
    QSettings ini(m_sSettingsPath + QStringLiteral("window.ini"), QSettings::IniFormat);
    QDockWidget* presets = dockOf(m_pPresetsDock);
    QDockWidget* info = dockOf(m_pInfoDockWidget);
    QPushButton* additional = m_pImagePreview ? m_pImagePreview->m_pAdditionalButton : nullptr;
    if (save) {
        ini.setValue(QStringLiteral("window/geometry"), saveGeometry());
        ini.setValue(QStringLiteral("window/state"), saveState(0));
        if (presets) {
            ini.setValue(QStringLiteral("presetsdock/width"), presets->width());
            ini.setValue(QStringLiteral("presetsdock/height"), presets->height());
        }
        ini.setValue(QStringLiteral("infoact/checked"), showInfoAct->isChecked());
        if (info) {
            ini.setValue(QStringLiteral("infodock/width"), info->width());
            ini.setValue(QStringLiteral("infodock/height"), info->height());
        }
        ini.setValue(QStringLiteral("exifact/checked"), showExifAct->isChecked());
        ini.setValue(QStringLiteral("histogramact/checked"), showHistogramAct->isChecked());
        ini.setValue(QStringLiteral("framecoloract/checked"), frameColorAct->isChecked());
        ini.setValue(QStringLiteral("imagepreview/additional/checked"), additional && additional->isChecked());
        ini.setValue(QLatin1String(kCompareWindowCheckedId), compareWindowAct->isChecked());
        ini.setValue(QStringLiteral("timelinewindowact/checked"), timelineWindowAct->isChecked());
        ini.sync();
        if (ini.status() != QSettings::NoError)
            std::cerr << "window.ini could not be written" << std::endl;
        return;
    }
    auto has = [&ini](const char* key) { return ini.contains(QLatin1String(key)); };
    auto value = [&ini](const char* key) { return ini.value(QLatin1String(key)); };
    if (has("window/geometry"))
        restoreGeometry(value("window/geometry").toByteArray());
    if (has("window/state"))
        restoreState(value("window/state").toByteArray(), 0);
    if (presets && has("presetsdock/width") && has("presetsdock/height"))
        presets->resize(int(qMin(value("presetsdock/width").toUInt(), 16777215u)),
                        int(qMin(value("presetsdock/height").toUInt(), 16777215u)));
    if (has("infoact/checked"))
        showInfoAct->setChecked(value("infoact/checked").toBool());
    if (info && has("infodock/width") && has("infodock/height"))
        info->resize(int(qMin(value("infodock/width").toUInt(), 16777215u)),
                     int(qMin(value("infodock/height").toUInt(), 16777215u)));
    if (has("exifact/checked"))
        showExifAct->setChecked(value("exifact/checked").toBool());
    if (has("histogramact/checked")) {
        showHistogramAct->setChecked(value("histogramact/checked").toBool());
        showHistogramMenuAct->setChecked(value("histogramact/checked").toBool());
    }
    if (has("framecoloract/checked") && value("framecoloract/checked").toBool() != frameColorAct->isChecked())
        frameColorAct->toggle();
    if (additional && has("imagepreview/additional/checked"))
        additional->setChecked(value("imagepreview/additional/checked").toBool());
    setDockVisible(info, showInfoAct->isEnabled() && showInfoAct->isChecked());
    setDockVisible(dockOf(m_pInfoDockWidgetStart), !showInfoAct->isEnabled());
    if (has(kCompareWindowCheckedId))
        compareWindowAct->setChecked(value(kCompareWindowCheckedId).toBool());
    if (has("timelinewindowact/checked"))
        timelineWindowAct->setChecked(value("timelinewindowact/checked").toBool());
}

// ---- window openers ----------------------------------------------------------------------------

void HDRMainWindow::runOpener(QDialog* dialog, const char* key)
{
    if (key)
        count(key);
    if (dialog)
        _gui::ExecModal(dialog, [dialog] { return dialog->exec(); });
}

void HDRMainWindow::statistic() { runOpener(m_pStatisticWindow, nullptr); }

void HDRMainWindow::benchmark() { runOpener(m_pBenchmarkWindow, "m_iBenchmarkOpened"); }

void HDRMainWindow::panoramaView() { runOpener(m_pPanoramaView, "m_iPanoramaViewerOpened"); }

void HDRMainWindow::about() { runOpener(m_pAboutWindow, "m_iAboutOpened"); }

void HDRMainWindow::presetCombineClicked()
{
    HDRPresetTimerStopHelper stop;
    runOpener(m_pPresetCombineWindow, nullptr);
}

void HDRMainWindow::rawDevelopment()
{
    if (m_pRAWDevelopment)
        m_pRAWDevelopment->Exec();
}

void HDRMainWindow::runBatchWindow(int mode)
{
    if (!m_pBatchWindow)
        return; // not built yet: the document in use stays
    if (m_pExposureSeries && !newProject())
        return;
    if (mode == 0)
        rawDevelopment();
    count(mode == 0 ? "m_iBatchProcessingOpened" : "m_iImageBrowserOpened");
    m_pBatchWindow->setWindowMode(mode);
    m_pBatchWindow->Exec();
    MP_ClearBuffer();
    QVector<SExposure> series = m_pBatchWindow->OpenAsProject();
    const QStringList files = m_pBatchWindow->SelectedFiles();
    if (!series.isEmpty()) {
        loadExposureLatitudeVecSExp(series);
    } else if (!files.isEmpty()) {
        loadExposureLatitude(files);
    } else {
        saveProjectAct->setEnabled(false);
        newProject();
    }
}

void HDRMainWindow::exposureSeriesBrowse() { runBatchWindow(1); }

void HDRMainWindow::batchProcessing() { runBatchWindow(0); }

// ---- links, help and the remembered folder -----------------------------------------------------

void HDRMainWindow::homepage()
{
    count("m_iHomepageOpened");
    QString url = tr("Homepage URL");
    url.replace(QStringLiteral("CODE_HOMEPAGEURL"), m_sHomepageURL, Qt::CaseInsensitive);
    QDesktopServices::openUrl(QUrl(url));
}

void HDRMainWindow::updatePage()
{
    count("m_iUpdatepageOpened");
    QString url = tr("UpdatePage URL");
    url.replace(QStringLiteral("CODE_UPDATEPAGEURL"), m_sUpdatePageURL, Qt::CaseInsensitive);
    QDesktopServices::openUrl(QUrl(url));
}

QString HDRMainWindow::HelpPath() const
{
    return lumivex::ApplicationFolder() + QStringLiteral("/help/") + QStringLiteral("lumivexhelp%1_").arg(3) +
           COptions::getInstance()->m_strLocale + QStringLiteral(".pdf");
}

void HDRMainWindow::help()
{
    const QString path = HelpPath();
    count("m_iHelpOpened");
    std::cout << "Öffne: " << path.toStdString() << std::endl;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString HDRMainWindow::pathfromFolderSettings(const QString& key) const
{
    const QString path = ResultSaveFormat::IniPath();
    if (!QFileInfo::exists(path))
        return QString();
    return QSettings(path, QSettings::IniFormat).value(key).toString();
}

void HDRMainWindow::pathToFolderSettings(QString path, const QString& key, bool folderOnly)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (folderOnly) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        path = slash < 0 ? QString() : path.left(slash);
    }
    QSettings ini(ResultSaveFormat::IniPath(), QSettings::IniFormat);
    ini.setValue(key, path);
}

// ---- textures -------------------------------------------------------------------------------------

void HDRMainWindow::LoadTexture(const QString& fileName, int slot, int width, int height, int bytesPerPixel,
                                int type)
{
    TextureLoader::LoadTexture(lumivex::ApplicationFolder() + QStringLiteral("/textures"), fileName, slot, width,
                               height, bytesPerPixel, type);
}

void HDRMainWindow::LoadAllTextures()
{
    TextureLoader::LoadAllTextures(lumivex::ApplicationFolder() + QStringLiteral("/textures"));
}
