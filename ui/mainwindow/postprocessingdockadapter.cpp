#include "ui/mainwindow/postprocessingdockadapter.h"

#include "document/exposureseries.h"
#include "ui/editors/editorseams.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/views/hdrimagepreview.h"

CPostProcessingDockAdapter* CPostProcessingDockAdapter::Create(HDRMainWindow* window, const QString& catalogue)
{
    auto* dock = catalogue.isEmpty()
                     ? new HDRPostProcessingDockWidget(HDRMainWindow::tr("Expertenmodus"), window)
                     : new HDRPostProcessingDockWidget(HDRMainWindow::tr("Expertenmodus"), window, Qt::WindowFlags(),
                                                       catalogue);
    return new CPostProcessingDockAdapter(window, dock);
}

CPostProcessingDockAdapter::CPostProcessingDockAdapter(HDRMainWindow* window, HDRPostProcessingDockWidget* dock)
    : QObject(dock), m_pWindow(window), m_pDock(dock)
{
    dock->SetHost(this);
}

void CPostProcessingDockAdapter::HighlightPostProcessingDock()
{
    if (m_pWindow)
        m_pWindow->highlightPostProcessingDockWidget();
}

void CPostProcessingDockAdapter::RecomputeHDR()
{
    if (!m_pWindow || !m_pWindow->m_pExposureSeries)
        return;
    HDRProgressThread progress(1, m_pWindow->getProgressThreadDelay());
    m_pWindow->m_pExposureSeries->HDR(false);
}

bool CPostProcessingDockAdapter::PreviewMode() const { return COptions::getInstance()->m_bPreviewMode; }

void CPostProcessingDockAdapter::TogglePreviewMode()
{
    if (m_pWindow)
        m_pWindow->TogglePreviewMode();
}

void CPostProcessingDockAdapter::CountAnimModeUsed()
{
    if (m_pWindow)
        m_pWindow->CountUsage("m_iAnimModeUsed", 1);
}

void CPostProcessingDockAdapter::CountChange()
{
    if (m_pWindow)
        m_pWindow->MarkChanged();
}

void CPostProcessingDockAdapter::SetOverlayText(const QString& text)
{
    if (m_pWindow && m_pWindow->m_pImagePreview)
        m_pWindow->m_pImagePreview->SetDisplayText(text);
}

void CPostProcessingDockAdapter::EditGeometry(HDRPositionPicker* picker, const QString& title)
{
    if (m_pWindow && m_pWindow->m_pGeometryPainter)
        m_pWindow->m_pGeometryPainter->Show(picker, title);
}

void CPostProcessingDockAdapter::CalcWebAnim(bool metadata, int unused, int quality, int size, int a, int b, int c,
                                             int d, const QString& author, const QString& title)
{
    if (m_pWindow)
        m_pWindow->CalcWebAnim(metadata, unused, quality, size, a, b, c, d, author, title);
}
