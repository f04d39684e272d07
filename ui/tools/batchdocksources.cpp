#include "ui/tools/batchdocksources.h"

#include "ui/postprocessing/hdroperatordockwidget.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <cstring>

HDROperatorDockWidget* CBatchOperatorDockSource::Dock() const
{
    return m_pGivenDock ? m_pGivenDock : g_pHDROperatorDockWidget;
}

HDRPresetsDockWidget* CBatchPresetsDockSource::Dock() const
{
    return m_pGivenDock ? m_pGivenDock : g_pHDRPresetsDockWidget;
}

QStringList CBatchOperatorDockSource::HDRPresetTexts() const
{
    auto* dock = Dock();
    QStringList texts;
    if (dock && dock->m_pPresetComboBox)
        for (int i = 0; i < dock->m_pPresetComboBox->count(); ++i)
            texts << dock->m_pPresetComboBox->itemText(i);
    return texts;
}

QString CBatchOperatorDockSource::CurrentHDRPresetText() const
{
    auto* dock = Dock();
    return dock && dock->m_pPresetComboBox ? dock->m_pPresetComboBox->currentText() : QString();
}

void CBatchOperatorDockSource::SelectHDRPresetText(const QString& text)
{
    auto* dock = Dock();
    if (!dock || !dock->m_pPresetComboBox)
        return;
    const int i = dock->m_pPresetComboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0)
        return;
    const QSignalBlocker block(dock->m_pPresetComboBox);
    dock->m_pPresetComboBox->setCurrentIndex(i);
}

QString CBatchOperatorDockSource::GetKernelName() const
{
    auto* dock = Dock();
    return dock ? dock->GetKernelName() : QString();
}

void CBatchOperatorDockSource::GetParameterValues(float values[10][256]) const
{
    auto* dock = Dock();
    if (dock)
        dock->GetParameterValues(values);
    else
        std::memset(values, 0, sizeof(float) * 10 * 256);
}

int CBatchPresetsDockSource::TileCount() const
{
    auto* dock = Dock();
    return dock ? int(dock->m_PresetGroupBoxes.size()) : 0;
}

QString CBatchPresetsDockSource::TileTitle(int index) const
{
    auto* dock = Dock();
    const HDRPresetGroupBox* tile = dock && index >= 0 ? dock->GetPresetGroupBox(unsigned(index)) : nullptr;
    return tile ? tile->title() : QString();
}

CPostProcessing* CBatchPresetsDockSource::TileChain(int index)
{
    auto* dock = Dock();
    HDRPresetGroupBox* tile = dock && index >= 0 ? dock->GetPresetGroupBox(unsigned(index)) : nullptr;
    return tile ? tile->m_pPostProcessing : nullptr;
}
