// The main window's workflow: opening photographs (dialogs, drops, messages),
// the two stages, the recalculation control and the post-processing display.

#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/busyscope.h"
#include "ui/editors/editorseams.h"

#include "document/exposure.h"
#include "document/exposureseries.h"
#include "engine/MP_calc.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/options/options.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrdockwidget.h"
#include "ui/toolkit/modalhook.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/views/hdrimagepreview.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <cstring>
#include <iterator>
#include <utility>
#include <iostream>

namespace {

// The image extensions a message may carry, in comparison order.
const char* const kMessageExtensions[] = {
    ".ppm", ".pfm", ".jpg", ".jpe", ".jpeg", ".jif", ".tiff", ".tif", ".tif32", ".bmp", ".png", ".psd",
    ".pcx", ".tga", ".exr", ".hdr", ".cr2", ".crw", ".raf", ".fff", ".3fr", ".dng", ".kdc", ".dcr",
    ".mrw", ".nef", ".nrw", ".nrf", ".orf", ".rw2", ".raw", ".rwl", ".pef", ".srw", ".sr2", ".srf",
    ".arw", ".pcd", ".koa", ".iff", ".lbm", ".pict", ".pct", ".pic", ".sgi"};

void postProcessingProgressText()
{
    HDRProgressThread::OpenCategory(5, false);
    HDRProgressThread::AddMessage(5, HDRMainWindow::tr("Berechne Post Processing"), 0);
    HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Tonemapping"));
}

bool realTimeMode() { return COptions::getInstance()->m_bRealTimeMode; }

void setDockVisible(QDockWidget* dock, bool visible)
{
    if (dock)
        dock->setVisible(visible);
}

template <class T> QDockWidget* dockOf(T* window) { return window ? window->Dock() : nullptr; }

} // namespace

void HDRMainWindow::count(const char* key, int value)
{
    if (m_pStatistic)
        m_pStatistic->HandleValue(QLatin1String(key), value);
}

void HDRMainWindow::CountUsage(const char* key, int delta) { count(key, delta); }

void HDRMainWindow::pushToFront()
{
    if (isMinimized())
        showNormal();
    activateWindow();
    raise();
}

// ---- stages -----------------------------------------------------------------------

bool HDRMainWindow::IsHDRStage() const
{
    // The exposure-series dock's visibility; a build without that dock reads
    // the HDR operator dock, the other dock of the stage.
    QDockWidget* flag = dockOf(m_pExposureSeriesDock);
    if (!flag)
        flag = dockOf(m_pHDROperatorDock);
    return flag && !flag->isHidden();
}

// ---- loading ------------------------------------------------------------------------

QString HDRMainWindow::OptionsFolder(int kind) const
{
    return m_pOptionsWindow ? m_pOptionsWindow->GetPath(IOptionsWindow::EPaths(kind)) : QString();
}

QString HDRMainWindow::DialogStartFolder(const QString& optionsFolder) const
{
    QString folder = pathfromFolderSettings(QStringLiteral("lastDialogPath"));
    if (!optionsFolder.isEmpty())
        folder = optionsFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return folder;
}

bool HDRMainWindow::newProject()
{
    if (showFullscreenAct->isChecked())
        showFullscreenAct->trigger();
    if (!m_pExposureSeries)
        return true;
    if (!confirmDiscardProject()) // the HDR display gamma goes off, then the save question
        return false;
    HDRPresetTimerStopHelper stop;
    ClearAllSelectedExposureDockStates();
    m_pDisplayedExposure = nullptr;
    delete m_pExposureSeries;
    m_pExposureSeries = nullptr;
    editExposureLatitude();
    updateExposureDisplay(false, true, false);
    hideAllSubWindows();
    MP_ClearBuffer();
    COptions::getInstance()->init();
    m_pImagePreview->SetInitialButtonState();
    frameColorAct->setEnabled(false);
    if (m_pPresetsDock) {
        m_pPresetsDock->ResetAllPresets();
        m_pPresetsDock->ClearAllPreviews();
    }
    if (m_pPostProcessingDock) {
        m_pPostProcessingDock->SetCurrentPostProcessing(nullptr);
        m_pPostProcessingDock->ResetAllFilterButtons();
    }
    if (m_pHDROperatorDock)
        m_pHDROperatorDock->ResetPreset();
    if (m_pExposureSeriesDock)
        m_pExposureSeriesDock->ResetPresetToIndex(1);
    if (m_pExifDock)
        m_pExifDock->ShowDefaultCategories();
    if (m_pPanoramaView)
        invokeOptionalSlot("resetClicked()", m_pPanoramaView);
    if (m_pCropWindow)
        m_pCropWindow->Reset();
    if (m_pCompareDock)
        m_pCompareDock->Reset();
    if (m_pStencilPainter)
        m_pStencilPainter->Clear();
    // The timeline, the painters, the project and undo actions and state.
    resetProjectAndUndoState();
    setupToolBar(false);
    updateDockWidgets(eDW_NONE);
    if (m_pInfoDockWidget) {
        m_pInfoDockWidget->EnableFixedSize(false);
        m_pInfoDockWidget->SetInfoDockVisible(false);
        m_pInfoDockWidget->UpdateText(m_sStartText);
    }
    showInfoAct->setEnabled(false);
    if (m_pInfoDockWidgetStart) {
        m_pInfoDockWidgetStart->UpdateText(m_sStartText);
        setDockVisible(dockOf(m_pInfoDockWidgetStart), true);
    }
    updateWindowTitle();
    return true;
}

void HDRMainWindow::loadImage(QString path)
{
    if (m_pExposureSeries && !newProject())
        return;
    if (path.isEmpty()) {
        const QString optionsFolder = OptionsFolder(IOptionsWindow::ePATH_SINGLE);
        const QStringList chosen =
            m_OpenDialogHook ? m_OpenDialogHook(false)
                             : QStringList(QFileDialog::getOpenFileName(this, tr("lumivex Einzelbild laden"),
                                                                        DialogStartFolder(optionsFolder),
                                                                        m_sImageFilter));
        path = chosen.value(0);
        if (path.isEmpty())
            return;
        if (optionsFolder.isEmpty())
            pathToFolderSettings(path, QStringLiteral("lastDialogPath"), true);
    }
    count("m_iSingleImagesLoaded");
    loadExposureLatitude(QStringList(path));
}

void HDRMainWindow::loadExposureLatitude(QStringList paths)
{
    if (m_pExposureSeries && !newProject())
        return;
    if (paths.isEmpty()) {
        const QString optionsFolder = OptionsFolder(IOptionsWindow::ePATH_SERIES);
        paths = m_OpenDialogHook ? m_OpenDialogHook(true)
                                 : QFileDialog::getOpenFileNames(this, tr("Bildsequenz laden"),
                                                                 DialogStartFolder(optionsFolder), m_sImageFilter);
        paths.removeAll(QString());
        if (!paths.isEmpty()) {
            if (optionsFolder.isEmpty())
                pathToFolderSettings(paths.first(), QStringLiteral("lastDialogPath"), true);
            count("m_iExposureSeriesLoaded");
            count("m_iExposureSeriesImagesLoaded", int(paths.size()));
            count("m_iSeriesHighestImageAmount", int(paths.size()));
        }
    }
    if (paths.isEmpty())
        return;
    CBusyScope busy(this);
    QVector<SExposure> requests;
    {
        HDRProgressThread progress(1, 1000);
        CImageLoader loader;
        for (const QString& path : paths)
            loader.Enqueue(path, false);
        loader.Load();
        for (int i = 0; i < paths.size() && size_t(i) < loader.m_vecBitmaps.size(); ++i) {
            if (loader.m_vecBitmaps[size_t(i)] == CLoadThread::CheckMarker()) {
                SExposure request;
                request.m_strFilePath = paths[i];
                requests.append(request);
            }
        }
        loader.DestroyThreads();
    }
    if (!requests.isEmpty())
        loadExposureLatitudeVecSExp(requests);
}

void HDRMainWindow::loadExposureLatitudeVecSExp(QVector<SExposure>& exposures)
{
    CBusyScope busy(this);
    prepareExposureSeries();
    const unsigned int categories = 3 + (m_pRAWDevelopment ? unsigned(m_pRAWDevelopment->ExtraProgressCategories()) : 0u);
    {
        HDRProgressThread progress(categories, 0);
        m_pExposureSeries->RememberState();
        m_pExposureSeries->AddSeries(exposures);
    }
    if (!m_pExposureSeries->m_vExposures.isEmpty()) {
        if (m_pRAWDevelopment) {
            const int type = m_pRAWDevelopment->getImageTypeIndex();
            if (type >= 0 && type <= 9)
                count(QStringLiteral("m_iRawDevMotiv%1").arg(type).toLatin1().constData());
        }
        postLoad(false, false, true);
    } else {
        delete m_pExposureSeries;
        m_pExposureSeries = nullptr;
    }
}

void HDRMainWindow::prepareExposureSeries()
{
    if (!m_pExposureSeries) {
        if (MP_UI_GetRawDevOnLoadMode() == 1 && m_pRAWDevelopment && m_pRAWDevelopment->IsShowAgainChecked())
            m_pRAWDevelopment->Exec();
        m_pExposureSeries = new CExposureSeries();
    }
    if (m_pHDROperatorDock) {
        m_pExposureSeries->m_strKernelName = m_pHDROperatorDock->GetKernelName();
        m_pHDROperatorDock->GetParameterValues(m_pExposureSeries->m_pfParameterValues);
    }
}

void HDRMainWindow::postLoad(bool fromProject, bool projectInPostProcessing, bool)
{
    const bool pp = !fromProject || projectInPostProcessing;
    MP_UI_SetDisplayGammaHDRMode(0);
    updateExposureDisplay(false, true, false);
    if (m_pExifDock && m_pExposureSeries)
        m_pExifDock->UpdateExif(m_pExposureSeries->m_pMaster);
    setDockVisible(dockOf(m_pExposureSeriesDock), !pp);
    setDockVisible(dockOf(m_pHDROperatorDock), !pp);
    setDockVisible(dockOf(m_pExifDock), showExifAct->isChecked());
    setDockVisible(dockOf(m_pHistogramDock), showHistogramAct->isChecked());
    setDockVisible(dockOf(m_pPresetsDock), pp);
    setDockVisible(dockOf(m_pPostProcessingDock), pp);
    m_pPostProcessing = nullptr;
    m_pImagePreview->show();
    toolBarImage->show();
    m_pImagePreview->SetPreviewButtonVisible(MP_UI_GetPreviewScalingFactor() < 1.0f);
    if (m_pExposureSeries && m_pExposureSeries->HasStateChanged(true))
        m_pImagePreview->SetRefreshButtonEnabled(false);
    if (m_pExposureSeriesDock)
        m_pExposureSeriesDock->ScrollToCenter();
    if (m_pInfoDockWidget)
        m_pInfoDockWidget->EnableFixedSize(true);
    showInfoAct->setEnabled(true);
    for (QAction* action : {saveProjectAsAct, setUndoAct, timelineWindowAct})
        if (action)
            action->setEnabled(true);
    showInfoClicked();
    setDockVisible(dockOf(m_pInfoDockWidgetStart), false);
    for (QAction* action : {saveProjectAsAct, frameColorAct, setUndoAct, timelineWindowAct})
        action->setEnabled(true);
    setupToolBar(true);
    if (pp)
        postProcessing();
    else
        updateDockWidgets(eDW_EXPOSURESERIES);
    setDockVisible(dockOf(m_pCompareDock), compareWindowAct->isChecked());
}

void HDRMainWindow::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!data || !data->hasUrls())
        return;
    const QList<QUrl> urls = data->urls();
    if (urls.size() == 1 && !urls.first().isLocalFile())
        return; // a remote address names no file here
    event->acceptProposedAction();
    pushToFront();
    if (urls.size() == 1) {
        const QString path = urls.first().toLocalFile();
        if (path.endsWith(QLatin1String(".lumivexProject"))) {
            count("m_iDragDropLoadProject");
            openProject(path);
            return;
        }
        if (QFileInfo(path).isDir()) {
            count("m_iDragDropLoadFolder");
            if (m_pBatchWindow) {
                m_pBatchWindow->setDragDropFolder(path);
                QTimer::singleShot(10, this, &HDRMainWindow::exposureSeriesBrowse);
            }
            return;
        }
        count("m_iDragDropLoadImage");
        loadImage(path);
        return;
    }
    HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"), tr("Bitte nur eine Datei einladen."), QString(),
                      tr("Ok"));
    _gui::ExecModal(&box, [&box] { return box.exec(); });
}

void HDRMainWindow::InterpretDeferredMessage()
{
    if (!m_bMessageDeferred || IsBusy())
        return;
    m_bMessageDeferred = false;
    InterpretReceivedMessage(std::exchange(m_sDeferredMessage, QString()));
}

void HDRMainWindow::InterpretReceivedMessage(QString message)
{
    if (!message.isEmpty() && (IsBusy() || MP_UI_GetIsCalculatingMode() == 1)) {
        // Replacing the document under a running operation would pull it away
        // from under that operation: keep the last message for later.
        m_sDeferredMessage = message;
        m_bMessageDeferred = true;
        if (!IsBusy())
            QTimer::singleShot(50, this, &HDRMainWindow::InterpretDeferredMessage);
        return;
    }
    const int askForSave = MP_UI_GetAskForSaveProjectMode();
    const int rawDevOnLoad = MP_UI_GetRawDevOnLoadMode();
    MP_UI_SetAskForSaveProjectMode(0);
    if (!message.isEmpty()) {
        if (m_pRAWDevelopment)
            m_pRAWDevelopment->rememberGroupboxStates();
        const QString rawTag = QStringLiteral("-rawdevelopment ");
        const bool rawDevelopment = message.contains(rawTag);
        if (rawDevelopment) {
            MP_UI_SetRawDevOnLoadMode(1);
            message.remove(rawTag);
        } else {
            MP_UI_SetRawDevOnLoadMode(0);
            if (m_pRAWDevelopment)
                m_pRAWDevelopment->disableAllGroupboxStates();
        }
        if (message.endsWith(QLatin1String(".lumivexProject"))) {
            MP_UI_SetAskForSaveProjectMode(1);
            message.replace(QLatin1Char('\\'), QLatin1Char('/'));
            std::cout << "OpenProject: " << message.toStdString() << std::endl;
            pushToFront();
            openProject(message);
            message.clear();
        }
        std::cout << "Command Line Load:" << message.toStdString() << std::endl;
        QString lower = message.toLower();
        std::cout << "Command Line Lower:" << lower.toStdString() << std::endl;

        // A message that names one existing file is that file, whatever it holds.
        QString asPath = message;
        asPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
        bool used = false;
        if (!message.isEmpty() && QFileInfo(asPath).isFile()) {
            const QString lowerPath = asPath.toLower();
            for (int i = 0; i < int(std::size(kMessageExtensions)); ++i) {
                if (lowerPath.endsWith(QLatin1String(kMessageExtensions[i]))) {
                    pushToFront();
                    loadImage(asPath);
                    if (i < 2)
                        count("m_iImagesFromPlugin");
                    break;
                }
            }
            used = true;
        }
        for (int i = 0; !used && !message.isEmpty() && i < int(std::size(kMessageExtensions)); ++i) {
            const QString e = QLatin1String(kMessageExtensions[i]);
            const int n = int(lower.count(e));
            if (lower.endsWith(e) && n == 1) {
                message.replace(QLatin1Char('\\'), QLatin1Char('/'));
                pushToFront();
                loadImage(message);
                if (i < 2)
                    count("m_iImagesFromPlugin");
                used = true;
            } else if (n > 1) {
                message.replace(QLatin1Char('\\'), QLatin1Char('/'));
                if (m_pRAWDevelopment)
                    m_pRAWDevelopment->recoverGroupboxStates();
                QStringList paths;
                for (int k = 0; k < n; ++k) {
                    const int p = int(lower.indexOf(e));
                    const int end = p + int(e.size());
                    paths.append(message.left(end));
                    if (end < message.size()) {
                        message.remove(0, end + 1);
                        lower.remove(0, end + 1);
                    }
                }
                pushToFront();
                loadExposureLatitude(paths);
                used = true;
            }
        }
        if (!rawDevelopment && m_pRAWDevelopment)
            m_pRAWDevelopment->recoverGroupboxStates();
    }
    MP_UI_SetAskForSaveProjectMode(askForSave);
    MP_UI_SetRawDevOnLoadMode(rawDevOnLoad);
}

// ---- recalculation control -----------------------------------------------------------

unsigned int HDRMainWindow::getProgressThreadDelay() const
{
    if (!m_pExposureSeries)
        return 0;
    const unsigned int w = m_pExposureSeries->GetWorkingWidth();
    const unsigned int h = m_pExposureSeries->GetWorkingHeight();
    const float megapixels = float(w) * float(h) / 1000000.0f;
    return megapixels <= MP_UI_GetPreviewSize() ? 500u : 0u;
}

void HDRMainWindow::recalculateAfterChange(bool compareState, bool force, bool keepDisplayed)
{
    if (compareState && !m_pExposureSeries->HasStateChanged(false))
        return;
    if (realTimeMode()) {
        CBusyScope busy(this);
        bool computed = false;
        {
            HDRProgressThread progress(1, getProgressThreadDelay());
            computed = m_pExposureSeries->HDR(force);
        }
        if (computed)
            updateExposureDisplay(keepDisplayed, true, keepDisplayed);
    } else {
        m_pImagePreview->SetRefreshButtonEnabled(true);
    }
}

void HDRMainWindow::activateExposure(CExposure* exposure, bool active)
{
    if (exposure && m_pExposureSeries) {
        m_pExposureSeries->RememberState();
        exposure->m_bActive = active;
        recalculateAfterChange(false, false, false);
    }
    updateDockWidgets(eDW_EXPOSURESERIES);
}

void HDRMainWindow::globalWeightChanged(CExposure* exposure, float weight)
{
    if (exposure && m_pExposureSeries) {
        if (exposure->m_fGlobalWeight != -1.0f && m_pExposureSeriesDock)
            m_pExposureSeriesDock->ResetPresetToIndex(0);
        m_pExposureSeries->RememberState();
        exposure->m_fGlobalWeight = weight;
        recalculateAfterChange(true, false, true);
    }
    updateDockWidgets(eDW_EXPOSURESERIES);
}

void HDRMainWindow::synExposureValueChanged(CExposure* exposure, float value)
{
    if (exposure && m_pExposureSeries && value != exposure->m_fExposureValue) {
        CBusyScope busy(this);
        m_pExposureSeries->RememberState();
        bool computed = false;
        {
            HDRProgressThread progress(2, getProgressThreadDelay());
            if (exposure->m_bSynthetic) {
                exposure->Synthetic(m_pExposureSeries->m_pMaster, value);
            } else {
                exposure->ReExpose(value);
                if (exposure->m_bMaster)
                    m_pExposureSeries->UpdateSynthetics();
            }
            if (realTimeMode())
                computed = m_pExposureSeries->HDR(false);
        }
        if (!realTimeMode() || computed)
            updateExposureDisplay(true, true, true);
        if (m_pDisplayedExposure)
            updateHistogram();
        if (!realTimeMode())
            m_pImagePreview->SetRefreshButtonEnabled(true);
    }
    updateDockWidgets(eDW_EXPOSURESERIES);
}

void HDRMainWindow::deleteExposure(CExposure* exposure)
{
    if (exposure && m_pExposureSeries) {
        CBusyScope busy(this);
        if (m_pDisplayedExposure == exposure)
            m_pDisplayedExposure = nullptr;
        {
            HDRProgressThread progress(1, getProgressThreadDelay());
            m_pExposureSeries->Remove(exposure, true, false);
        }
        updateExposureDisplay(false, true, false);
        m_pImagePreview->SetRefreshButtonEnabled(false);
    }
    updateDockWidgets(eDW_EXPOSURESERIES);
}

void HDRMainWindow::syntheticExposure(CExposure* exposure)
{
    if (!m_pExposureSeries) {
        updateDockWidgets(eDW_EXPOSURESERIES);
        return;
    }
    CBusyScope busy(this);
    const qsizetype before = m_pExposureSeries->m_vExposures.size();
    unsigned int delay = getProgressThreadDelay();
    const bool reload = exposure && exposure->m_bSynthetic && !exposure->m_strFileName.isEmpty();
    unsigned int categories = 1;
    if (reload) {
        categories = 2 + (m_pRAWDevelopment ? unsigned(m_pRAWDevelopment->ExtraProgressCategories()) : 0u);
        delay = 0;
    }
    {
        HDRProgressThread progress(categories, delay);
        m_pExposureSeries->AddSynthetic(exposure, -1.0f, true, true);
        if (reload) {
            m_pExposureSeries->AlignAndOptimizeFromDialog(exposure);
            m_pExposureSeries->HDR(false);
        }
    }
    const bool sameCount = m_pExposureSeries->m_vExposures.size() == before;
    updateExposureDisplay(sameCount, true, false);
    if (!realTimeMode() && !sameCount)
        m_pImagePreview->SetRefreshButtonEnabled(true);
    updateDockWidgets(eDW_EXPOSURESERIES);
}

void HDRMainWindow::showLimitsClicked()
{
    if (!m_pExposureSeries)
        return;
    const bool hdrStage = IsHDRStage();
    updateExposureDisplay(true, hdrStage, false);
    if (hdrStage)
        return;
    recomputeAllPresets(1);
}

void HDRMainWindow::recomputeAllPresets(unsigned int categories)
{
    CBusyScope busy(this);
    HDRProgressThread progress(categories, getProgressThreadDelay());
    postProcessingProgressText();
    m_pPostProcessing = nullptr;
    if (m_pPresetsDock)
        m_pPresetsDock->CreateAllPreviews(true);
    m_pImagePreview->SetRefreshButtonEnabled(false);
}

void HDRMainWindow::geometryClicked()
{
    if (!m_pExposureSeries)
        return;
    const bool hdrStage = IsHDRStage();
    CBusyScope busy(this);
    HDRProgressThread progress(hdrStage ? 1 : 2, getProgressThreadDelay());
    m_pExposureSeries->HasStateChanged(true);
    m_pExposureSeries->HDR(false);
    updateExposureDisplay(true, hdrStage, true);
    if (!hdrStage) {
        postProcessingProgressText();
        m_pPostProcessing = nullptr;
        if (m_pPresetsDock)
            m_pPresetsDock->CreateAllPreviews(true);
        m_pImagePreview->SetRefreshButtonEnabled(false);
    }
}

void HDRMainWindow::operatorUpdated()
{
    if (m_pExposureSeries) {
        m_pExposureSeries->RememberState();
        prepareExposureSeries();
        recalculateAfterChange(true, false, !m_bDisplayedAsColour);
    }
    updateDockWidgets(eDW_HDROPERATOR);
}

void HDRMainWindow::operatorUpdatedForced()
{
    if (m_pExposureSeries) {
        m_pExposureSeries->RememberState();
        prepareExposureSeries();
        recalculateAfterChange(false, true, !m_bDisplayedAsColour);
    }
    updateDockWidgets(eDW_HDROPERATOR);
}

void HDRMainWindow::UpdateHDRForced()
{
    if (!m_pExposureSeries)
        return;
    CBusyScope busy(this);
    HDRProgressThread progress(1, getProgressThreadDelay());
    m_pExposureSeries->HDR(true);
    updateExposureDisplay(false, true, false);
    updateDockWidgets(eDW_EXPOSURESERIES);
}

void HDRMainWindow::postProcessing()
{
    if (sender() == postProcessingAct && postProcessingAct && !postProcessingAct->isChecked()) {
        updateDockWidgets(eDW_PRESETS);
        postProcessingAct->setChecked(true);
        return;
    }
    MP_UI_SetDisplayGammaHDRMode(0);
    m_pImagePreview->EnableShowLimits();
    if (!realTimeMode() && IsHDRStage())
        refreshClicked();
    CBusyScope busy(this);
    HDRProgressThread progress(1, getProgressThreadDelay());
    postProcessingProgressText();
    if (m_pPresetsDock)
        m_pPresetsDock->CreateAllPreviews(true);
    m_pImagePreview->SetRefreshButtonEnabled(false);
    if (m_pExifDock && m_pExposureSeries)
        m_pExifDock->UpdateExif(m_pExposureSeries->m_pMaster);
    updateDockWidgets(eDW_PRESETS);
    UpdateCompareWindow();
}

void HDRMainWindow::editExposureLatitude()
{
    MP_UI_SetDisplayGammaHDRMode(1);
    m_pImagePreview->DisableShowLimits();
    updateExposureDisplay(false, true, false);
    if (!IsHDRStage())
        showResultImage();
    m_pPostProcessing = nullptr;
    updateDockWidgets(eDW_EXPOSURESERIES);
    UpdateCompareWindow();
}

void HDRMainWindow::realTimeModeToggled(bool on)
{
    COptions::getInstance()->m_bRealTimeMode = on;
    if (on)
        refreshClicked();
    else
        m_pImagePreview->SetRefreshButtonEnabled(false);
}

void HDRMainWindow::refreshClicked()
{
    if (IsHDRStage()) {
        if (m_pExposureSeries && !m_pExposureSeries->m_vExposures.isEmpty() &&
            m_pImagePreview->GetRefreshButtonEnabled()) {
            CBusyScope busy(this);
            {
                HDRProgressThread progress(1, getProgressThreadDelay());
                m_pExposureSeries->HDR(false);
            }
            updateExposureDisplay(true, true, true);
        }
    } else {
        const bool realTime = realTimeMode();
        COptions::getInstance()->m_bRealTimeMode = true;
        if (m_pPostProcessing)
            m_pPostProcessing->m_bForceApply = true;
        updateCurrentPostProcessing();
        COptions::getInstance()->m_bRealTimeMode = realTime;
        if (m_pPostProcessing)
            m_pPostProcessing->m_bForceApply = false;
    }
    m_pImagePreview->SetNextRefreshButtonEnabledIgnore(false);
    m_pImagePreview->SetRefreshButtonEnabled(false);
}

void HDRMainWindow::previewModeToggled(bool on)
{
    HDRPresetTimerStopHelper stop;
    COptions::getInstance()->m_bPreviewMode = on;
    if (!m_pExposureSeries || m_pExposureSeries->m_vExposures.isEmpty())
        return;
    CBusyScope busy(this);
    const bool pp = m_pPostProcessing && !IsHDRStage();
    {
        HDRProgressThread progress(pp ? 2 : 1, getProgressThreadDelay());
        m_pExposureSeries->HasStateChanged(true);
        m_pExposureSeries->HDR(false);
        if (pp) {
            postProcessingProgressText();
            const unsigned int w = m_pExposureSeries->GetWorkingWidth(), h = m_pExposureSeries->GetWorkingHeight();
            m_pPostProcessing->SetAccordingExposureSeries(m_pExposureSeries);
            CPostProcessing::InitBuffer(m_pExposureSeries->GetWorkingBuffer(), QSize(int(w), int(h)),
                                        QSize(int(w), int(h)), false);
            m_pPostProcessing->Process(m_pExposureSeries->m_uiWidth, m_pExposureSeries->m_uiHeight, false);
            UpdateCompareWindow();
        }
    }
    if (pp) {
        ShowPreviewPixmap(CPostProcessing::CreatePixmap(true, false));
        dockHistogram(nullptr, true);
    } else {
        updateExposureDisplay(true, true, true);
    }
    m_pImagePreview->SetRefreshButtonEnabled(false);
    m_pImagePreview->actualSizeClicked();
    if (m_pHDROperatorDock)
        m_pHDROperatorDock->UpdateHDRContrastLabel();
}

// ---- post-processing display -----------------------------------------------------------

void HDRMainWindow::ShowPreviewPixmap(const QPixmap& pixmap)
{
    m_PreviewPixmap = pixmap;
    m_pImagePreview->SetPixmap(pixmap);
}

void HDRMainWindow::runChainOnMainImage(CPostProcessing* chain, bool preview)
{
    const unsigned int w = m_pExposureSeries->GetWorkingWidth(), h = m_pExposureSeries->GetWorkingHeight();
    chain->SetAccordingExposureSeries(m_pExposureSeries);
    CPostProcessing::InitBuffer(m_pExposureSeries->GetWorkingBuffer(), QSize(int(w), int(h)), QSize(int(w), int(h)),
                                preview);
    if (chain->Process(m_pExposureSeries->m_uiWidth, m_pExposureSeries->m_uiHeight, preview) ==
        CPostProcessing::PP_BUSY) {
        // Another engine operation runs below this call (a paint during the
        // progress window's events): run again once it has ended, when the
        // chain is still the current one.
        QPointer<HDRMainWindow> self(this);
        QMetaObject::invokeMethod(
            this,
            [self, chain, preview] {
                if (self && self->m_pExposureSeries && chain == self->m_pPostProcessing)
                    self->runChainOnMainImage(chain, preview);
            },
            Qt::QueuedConnection);
        return;
    }
    ShowPreviewPixmap(CPostProcessing::CreatePixmap(true, preview));
    dockHistogram(nullptr, true);
}

void HDRMainWindow::runChainOnThumbnail(CPostProcessing* chain, IPresetTile* tile, unsigned short* source,
                                        const QSize& sourceSize)
{
    chain->SetAccordingExposureSeries(m_pExposureSeries);
    CPostProcessing::InitBuffer(source, sourceSize, tile->LabelSize(), true);
    chain->Process(m_pExposureSeries->m_uiWidth, m_pExposureSeries->m_uiHeight, true);
    tile->UpdateLabelPixmap();
}

void HDRMainWindow::updatePostProcessing(CPostProcessing* chain, IPresetTile* tile, bool thumbnail)
{
    HDRPresetTimerStopHelper stop;
    CBusyScope busy(this);
    if (chain && m_pExposureSeries) {
        unsigned short* source = m_pExposureSeries->GetWorkingBuffer();
        QSize sourceSize(int(m_pExposureSeries->GetWorkingWidth()), int(m_pExposureSeries->GetWorkingHeight()));
        if (thumbnail) {
            source = m_pExposureSeries->m_pusPreviewBuffer;
            sourceSize = QSize(int(m_pExposureSeries->m_uiPreviewWidth), int(m_pExposureSeries->m_uiPreviewHeight));
        }
        bool apply = true;
        if ((thumbnail || chain->m_bForceApply) && tile) {
            runChainOnThumbnail(chain, tile, source, sourceSize);
            if (thumbnail && !chain->m_bForceApply)
                apply = false;
        }
        if (apply) {
            if (m_pPostProcessingDock)
                m_pPostProcessingDock->SetCurrentPostProcessing(chain);
            if (chain != m_pPostProcessing || chain->m_bForceApply)
                runChainOnMainImage(chain, thumbnail);
            if (m_pPresetsDock)
                m_pPresetsDock->resetCalculatedStates();
            if (tile)
                tile->SetCalculated(true);
            m_pPostProcessing = chain;
        }
        UpdateCompareWindow();
        if (!thumbnail && m_pImagePreview->m_bIsHistogram)
            ShowPreviewPixmap(CPostProcessing::CreatePixmap(true, false));
        chain->m_bForceApply = false;
    }
    if (m_pExposureSeriesDock)
        m_pExposureSeriesDock->resetLabelHighlights();
}

void HDRMainWindow::updatePostProcessing(CPostProcessing* chain, IPresetTile* tile)
{
    HDRPresetTimerStopHelper stop;
    updateDockWidgets(eDW_PRESETS);
    m_pImagePreview->SetRefreshButtonEnabled(false);
    if (!chain)
        return;
    CBusyScope busy(this);
    HDRProgressThread progress(1, getProgressThreadDelay());
    postProcessingProgressText();
    if (!realTimeMode())
        chain->m_bForceApply = true;
    updatePostProcessing(chain, tile, false);
}

void HDRMainWindow::updateCurrentPostProcessing()
{
    HDRPresetTimerStopHelper stop;
    updateDockWidgets(eDW_POSTPROCESSING);
    IPresetTile* tile = m_pPresetsDock ? m_pPresetsDock->GetSelectedPresetGroupBox() : nullptr;
    if (!realTimeMode()) {
        m_pImagePreview->SetRefreshButtonEnabled(true);
        if (tile && m_pPostProcessing && !m_pPostProcessing->m_bChangedByAssistant)
            tile->EnableModifiedButtons();
        return;
    }
    if (!m_pPostProcessing || !m_pExposureSeries)
        return;
    CBusyScope busy(this);
    CPostProcessing* chain = m_pPostProcessing;
    const bool recompute = chain->m_bChanged || chain->m_bForceApply;
    if (MP_UI_GetAnimMode() == 0 && tile) {
        if (recompute) {
            runChainOnThumbnail(chain, tile, m_pExposureSeries->GetWorkingBuffer(),
                                QSize(int(m_pExposureSeries->GetWorkingWidth()),
                                      int(m_pExposureSeries->GetWorkingHeight())));
        }
        if (chain->m_bChanged && !chain->m_bChangedByAssistant)
            tile->EnableModifiedButtons();
    }
    if (recompute) {
        HDRProgressThread progress(1, getProgressThreadDelay());
        postProcessingProgressText();
        runChainOnMainImage(chain, false);
    }
    UpdateCompareWindow();
    if (m_pGeometryPainter)
        m_pGeometryPainter->Refresh();
    chain->m_bChangedByAssistant = false;
}

void HDRMainWindow::updateExposureDisplay(bool keepDisplayed, bool render, bool dockRefreshOnly)
{
    const bool document = m_pExposureSeries && !m_pExposureSeries->m_vExposures.isEmpty();
    if (document) {
        if (!keepDisplayed || !m_pDisplayedExposure) {
            if (render) {
                ShowPreviewPixmap(m_pExposureSeries->CreatePixmap(-1, -1));
                dockHistogram(m_pExposureSeries, false);
            }
            m_pDisplayedExposure = nullptr;
            if (m_pExposureSeriesDock)
                m_pExposureSeriesDock->resetLabelHighlights();
        } else if (!m_bDisplayedAsColour) {
            if (render) {
                ShowPreviewPixmap(m_pDisplayedExposure->CreatePixmapFromWeightmap(-1, -1));
                dockHistogram(m_pDisplayedExposure, false);
            }
        } else if (render) {
            ShowPreviewPixmap(m_pDisplayedExposure->CreatePixmap(-1, -1));
        }
    } else {
        m_PreviewPixmap = QPixmap();
        m_pImagePreview->Clear();
        if (m_pExposureSeriesDock)
            m_pExposureSeriesDock->resetLabelHighlights();
    }
    if (m_pExposureSeriesDock)
        m_pExposureSeriesDock->UpdateDisplay(document ? m_pExposureSeries : nullptr, dockRefreshOnly);
    for (QAction* action : {saveResultImageAct, sendResultImageToVorlixAct, printResultImageAct, sendResultImageToAct,
                            postProcessingAct, showExifAct, showHistogramAct, showHistogramMenuAct, showFullscreenAct})
        action->setEnabled(document);
    if (!document)
        showHistogramAct->setIcon(QIcon::fromTheme(QStringLiteral("histogramm")));
}

void HDRMainWindow::showResultImage()
{
    if (m_pExposureSeries) {
        ShowPreviewPixmap(m_pExposureSeries->CreatePixmap(-1, -1));
        if (m_pExifDock)
            m_pExifDock->UpdateExif(m_pExposureSeries->m_pMaster);
        dockHistogram(m_pExposureSeries, false);
        m_pDisplayedExposure = nullptr;
    }
    if (m_pExposureSeriesDock)
        m_pExposureSeriesDock->resetLabelHighlights();
    if (m_pPresetsDock && m_pPresetsDock->Dock() && !m_pPresetsDock->Dock()->isHidden())
        m_pPresetsDock->resetLabelHighlights();
}

void HDRMainWindow::UpdateCompareWindow()
{
    const QDockWidget* hdr = dockOf(m_pHDROperatorDock);
    const QDockWidget* pp = dockOf(m_pPostProcessingDock);
    const bool stageShown = (hdr && !hdr->isHidden()) || (pp && !pp->isHidden());
    if (stageShown && m_pCompareDock && m_pCompareDock->Refresh())
        std::cout << "m_pCompareDock->Refresh()" << std::endl;
}

void HDRMainWindow::updateHistogramDisplay(IExposure* image, bool fromChain, int w, int h, bool toDock)
{
    bool flags[5] = {true, false, false, false, false};
    if (m_pHistogramDock)
        m_pHistogramDock->Channels(&flags[0], &flags[1], &flags[2], &flags[3], &flags[4]);
    QPixmap picture, icon;
    if (image) {
        picture = image->CreateHistogram(w, h, flags[0], flags[1], flags[2], flags[3], flags[4]);
        icon = image->CreateHistogram(32, 28, flags[0], flags[1], flags[2], flags[3], flags[4]);
    } else if (fromChain) {
        picture = CPostProcessing::CreateHistogram(w, h, flags[0], flags[1], flags[2], flags[3], flags[4]);
        icon = CPostProcessing::CreateHistogram(32, 28, flags[0], flags[1], flags[2], flags[3], flags[4]);
    }
    if (toDock) {
        if (m_pHistogramDock)
            m_pHistogramDock->SetPixmap(picture);
    } else {
        m_pImagePreview->SetPixmap(picture);
    }
    showHistogramAct->setIcon(QIcon(icon));
}

void HDRMainWindow::dockHistogram(IExposure* image, bool fromChain)
{
    const QSize size = m_pHistogramDock ? m_pHistogramDock->PictureSize() : QSize(256, 128);
    updateHistogramDisplay(image, fromChain, size.width(), size.height(), true);
}

void HDRMainWindow::showHistogram()
{
    if (!m_pExposureSeries)
        return;
    if (IsHDRStage()) {
        updateHistogramDisplay(m_pDisplayedExposure ? static_cast<IExposure*>(m_pDisplayedExposure)
                                                    : static_cast<IExposure*>(m_pExposureSeries),
                               false, -1, -1, false);
    } else {
        if (!m_pPostProcessing)
            return;
        updateHistogramDisplay(nullptr, true, int(m_pExposureSeries->GetWorkingWidth()),
                               int(m_pExposureSeries->GetWorkingHeight()), false);
    }
    m_pImagePreview->SetIsHistogram(true);
}

void HDRMainWindow::updateHistogram()
{
    if (!m_pExposureSeries)
        return;
    if (IsHDRStage()) {
        dockHistogram(m_pDisplayedExposure ? static_cast<IExposure*>(m_pDisplayedExposure)
                                           : static_cast<IExposure*>(m_pExposureSeries),
                      false);
    } else {
        if (!m_pPostProcessing)
            return;
        dockHistogram(nullptr, true);
    }
    if (m_pImagePreview->m_bIsHistogram)
        showHistogram();
}

void HDRMainWindow::displayExposureColour(CExposure* exposure) { displayExposure(exposure, true); }

void HDRMainWindow::displayExposureWeightmap(CExposure* exposure) { displayExposure(exposure, false); }

void HDRMainWindow::displayExposure(CExposure* exposure, bool colour)
{
    if (exposure) {
        if (m_pDisplayedExposure == exposure && m_bDisplayedAsColour == colour) {
            showResultImage(); // a second click returns to the result
        } else {
            ShowPreviewPixmap(colour ? exposure->CreatePixmap(-1, -1) : exposure->CreatePixmapFromWeightmap(-1, -1));
            dockHistogram(exposure, false);
            m_pDisplayedExposure = exposure;
            m_bDisplayedAsColour = colour;
            if (m_pExifDock)
                m_pExifDock->UpdateExif(exposure);
        }
    }
    updateDockWidgets(eDW_EXPOSURESERIES);
}


void HDRMainWindow::MarkHDRStarted()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, &HDRMainWindow::MarkHDRStarted, Qt::QueuedConnection);
        return;
    }
    if (saveProjectAct)
        saveProjectAct->setEnabled(true);
    ++m_iChangeCounter;
    if (m_iChangeCounter > 2 && m_pTimelineDock)
        m_pTimelineDock->SetAllUnselected();
    updateWindowTitle();
}

void HDRMainWindow::MarkChanged() { MarkHDRStarted(); }

void HDRMainWindow::PostProcessingTime(int milliseconds) { count("m_iHighestPPCalcTime", milliseconds); }

// ---- buffers ----------------------------------------------------------------------

const unsigned short* HDRMainWindow::GetActualHDRBuffer(int* width, int* height)
{
    *width = *height = 0;
    if (!m_pExposureSeries)
        return nullptr;
    *width = int(m_pExposureSeries->GetWorkingWidth());
    *height = int(m_pExposureSeries->GetWorkingHeight());
    return m_pExposureSeries->GetWorkingBuffer();
}

const unsigned short* HDRMainWindow::GetActualMasterBuffer(int* width, int* height)
{
    *width = *height = 0;
    if (!m_pExposureSeries || !m_pExposureSeries->m_pMaster)
        return nullptr;
    *width = int(m_pExposureSeries->GetWorkingWidth());
    *height = int(m_pExposureSeries->GetWorkingHeight());
    return m_pExposureSeries->m_pMaster->GetWorkingBuffer();
}

const unsigned short* HDRMainWindow::GetActualPPBuffer(int* width, int* height)
{
    *width = *height = 0;
    if (!m_pExposureSeries || IsHDRStage() || !m_pPostProcessing)
        return nullptr;
    *width = CPostProcessing::GetBufferSize().width();
    *height = CPostProcessing::GetBufferSize().height();
    return CPostProcessing::GetBuffer();
}

const unsigned short* HDRMainWindow::GetActualResultBuffer(int* width, int* height)
{
    *width = *height = 0;
    if (!m_pExposureSeries)
        return nullptr;
    if (IsHDRStage())
        return GetActualHDRBuffer(width, height);
    // The shared chain buffer holds the size of its last run: give it out
    // only when that is the working size the callers rely on.
    const QSize working(int(m_pExposureSeries->GetWorkingWidth()), int(m_pExposureSeries->GetWorkingHeight()));
    if (!CPostProcessing::GetBuffer() || CPostProcessing::GetBufferSize() != working)
        return nullptr;
    *width = working.width();
    *height = working.height();
    return CPostProcessing::GetBuffer();
}

IViewHost::SDocumentInfo HDRMainWindow::DocumentInfo() const
{
    SDocumentInfo info;
    if (!m_pExposureSeries)
        return info;
    info.exists = true;
    info.exposures = int(m_pExposureSeries->m_vExposures.size());
    info.fullWidth = int(m_pExposureSeries->m_uiWidth);
    info.fullHeight = int(m_pExposureSeries->m_uiHeight);
    info.previewWidth = int(m_pExposureSeries->m_uiPreviewWidth);
    info.previewHeight = int(m_pExposureSeries->m_uiPreviewHeight);
    info.hasMaster = m_pExposureSeries->m_pMaster != nullptr;
    return info;
}
