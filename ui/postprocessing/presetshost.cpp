#include "ui/postprocessing/presetshost.h"

#include "document/exposureseries.h"
#include "platform/userpaths.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/views/hdrimagepreview.h"

#include <QFileInfo>
#include <QPushButton>
#include <QSettings>

#include <memory>

void CMainWindowPresetsHost::Install(HDRMainWindow* window)
{
    static std::unique_ptr<CMainWindowPresetsHost> s_host;
    if (!window || (s_host && s_host->m_pWindow == window))
        return;
    s_host = std::make_unique<CMainWindowPresetsHost>(window);
    PresetsSeams::SetHost(s_host.get());
    QObject::connect(window, &QObject::destroyed, [] {
        PresetsSeams::SetHost(nullptr);
        s_host.reset();
    });
}

CExposureSeries* CMainWindowPresetsHost::Series() const { return m_pWindow->m_pExposureSeries; }

float CMainWindowPresetsHost::DynamicRange() const
{
    return m_pWindow->m_pExposureSeries ? m_pWindow->m_pExposureSeries->m_fDynamicRange : 0.0f;
}

const unsigned short* CMainWindowPresetsHost::GetActualHDRBuffer(int* width, int* height)
{
    return m_pWindow->GetActualHDRBuffer(width, height);
}

void CMainWindowPresetsHost::HandleValue(const QString& key, int delta)
{
    if (m_pWindow->m_pStatistic)
        m_pWindow->m_pStatistic->HandleValue(key, delta);
}

bool CMainWindowPresetsHost::PreviewMode() const { return m_pWindow->IsPreviewMode(); }

bool CMainWindowPresetsHost::PreviewButtonVisible() const
{
    const HDRImagePreview* preview = m_pWindow->m_pImagePreview;
    return preview && preview->m_pPreviewModeButton && preview->m_pPreviewModeButton->isVisible();
}

QString CMainWindowPresetsHost::ResultsFolder() const { return m_pWindow->GetPath(3); }

QString CMainWindowPresetsHost::LastDialogPath() const
{
    const QString path = lumivex::platform::userSettingsFolder() + QStringLiteral("lastsaveformat.ini");
    if (!QFileInfo::exists(path))
        return QString();
    return QSettings(path, QSettings::IniFormat).value(QStringLiteral("lastDialogPath")).toString();
}

void CMainWindowPresetsHost::SaveDepthMap() { m_pWindow->SaveDepthMap(); }
