// HDRMainWindow as the result export host, and the save command.

#include "ui/mainwindow/hdrmainwindow.h"

#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/documentseams.h"
#include "engine/views/preview.h"
#include "ui/mainwindow/resultprinter.h"
#include "ui/options/options.h"
#include "ui/options/optionswindow.h"
#include "ui/views/hdrimagepreview.h"

#include <QDockWidget>
#include <QPushButton>

bool HDRMainWindow::saveResultImage(QString path, bool sendTo)
{
    CResultSaveFlow flow(*this);
    return flow.saveResultImage(std::move(path), sendTo);
}

bool HDRMainWindow::printResultImage() { return ResultPrinter::PrintResultImage(*this); }

SResultWriterContext HDRMainWindow::WriterContext()
{
    SResultWriterContext context;
    const SDocumentSettings settings = CDocumentSettings::Snapshot();
    context.pSeries = m_pExposureSeries;
    context.fSigmoid = settings.fSigmoid;
    context.bPreviewMode = IsPreviewMode();
    context.pCaptionPainter = m_pCropWindow;
    return context;
}

bool HDRMainWindow::IsPostProcessingStage() const
{
    QDockWidget* dock = m_pPostProcessingDock ? m_pPostProcessingDock->Dock() : nullptr;
    return dock && !dock->isHidden();
}

bool HDRMainWindow::IsPreviewMode() const { return COptions::getInstance()->m_bPreviewMode; }

float HDRMainWindow::PreviewScalingFactor() const
{
    if (!m_pExposureSeries)
        return 1.0f;
    return MP_UI_GetPreviewScalingFactorFromResolution(
        int(m_pExposureSeries->m_uiWidth), int(m_pExposureSeries->m_uiHeight), int(m_pExposureSeries->m_uiPreviewWidth),
        int(m_pExposureSeries->m_uiPreviewHeight));
}

void HDRMainWindow::TogglePreviewMode()
{
    QPushButton* button = m_pImagePreview ? m_pImagePreview->m_pPreviewModeButton : nullptr;
    if (button && button->isCheckable())
        button->toggle();
    else
        previewModeToggled(!IsPreviewMode());
}

QString HDRMainWindow::GetPath(int index) const
{
    return m_pOptionsWindow ? m_pOptionsWindow->GetPath(IOptionsWindow::EPaths(index)) : QString();
}

QString HDRMainWindow::MasterPath() const
{
    return m_pExposureSeries && m_pExposureSeries->m_pMaster ? m_pExposureSeries->m_pMaster->m_strFilePath : QString();
}

QString HDRMainWindow::GetMergedFilename(int quality) const
{
    return m_pExposureSeries ? m_pExposureSeries->GetMergedFilename(quality) : QString();
}
