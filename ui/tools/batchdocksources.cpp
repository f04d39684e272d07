#include "ui/tools/batchdocksources.h"

#include "ui/postprocessing/hdroperatordockwidget.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <cstring>

QStringList CBatchOperatorDockSource::HDRPresetTexts() const
{
    QStringList texts;
    if (m_pDock && m_pDock->m_pPresetComboBox)
        for (int i = 0; i < m_pDock->m_pPresetComboBox->count(); ++i)
            texts << m_pDock->m_pPresetComboBox->itemText(i);
    return texts;
}

QString CBatchOperatorDockSource::CurrentHDRPresetText() const
{
    return m_pDock && m_pDock->m_pPresetComboBox ? m_pDock->m_pPresetComboBox->currentText() : QString();
}

void CBatchOperatorDockSource::SelectHDRPresetText(const QString& text)
{
    if (!m_pDock || !m_pDock->m_pPresetComboBox)
        return;
    const int i = m_pDock->m_pPresetComboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0)
        return;
    const QSignalBlocker block(m_pDock->m_pPresetComboBox);
    m_pDock->m_pPresetComboBox->setCurrentIndex(i);
}

QString CBatchOperatorDockSource::GetKernelName() const { return m_pDock ? m_pDock->GetKernelName() : QString(); }

void CBatchOperatorDockSource::GetParameterValues(float values[10][256]) const
{
    if (m_pDock)
        m_pDock->GetParameterValues(values);
    else
        std::memset(values, 0, sizeof(float) * 10 * 256);
}

int CBatchPresetsDockSource::TileCount() const { return m_pDock ? int(m_pDock->m_PresetGroupBoxes.size()) : 0; }

QString CBatchPresetsDockSource::TileTitle(int index) const
{
    const HDRPresetGroupBox* tile = m_pDock && index >= 0 ? m_pDock->GetPresetGroupBox(unsigned(index)) : nullptr;
    return tile ? tile->title() : QString();
}

CPostProcessing* CBatchPresetsDockSource::TileChain(int index)
{
    HDRPresetGroupBox* tile = m_pDock && index >= 0 ? m_pDock->GetPresetGroupBox(unsigned(index)) : nullptr;
    return tile ? tile->m_pPostProcessing : nullptr;
}
