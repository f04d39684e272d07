// The batch window over the real HDR operator and presets docks.

#include "presetsfixture.h"

#include "document/postprocessing.h"
#include "ui/postprocessing/hdroperatordockwidget.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"
#include "ui/tools/batchdocksources.h"
#include "ui/tools/hdrbatchwindow.h"

#include <QComboBox>

#include <memory>

namespace {

class BatchDockSourcesTest : public PresetsTest {};

} // namespace

TEST_F(BatchDockSourcesTest, TheWindowMirrorsTheDocksLists)
{
    WriteFactorySet();
    FakePresetsMainWindow window;
    auto* operators = new HDROperatorDockWidget(QStringLiteral("HDR"), &window);
    auto* presets = new HDRPresetsDockWidget(QStringLiteral("Presets"), &window);
    window.m_pDock = presets;
    CBatchOperatorDockSource operatorSource(operators);
    CBatchPresetsDockSource presetSource(presets);

    ASSERT_GT(operators->m_pPresetComboBox->count(), 1);
    EXPECT_EQ(operatorSource.HDRPresetTexts().size(), operators->m_pPresetComboBox->count());
    EXPECT_EQ(operatorSource.GetKernelName(), operators->GetKernelName());
    const QString second = operators->m_pPresetComboBox->itemText(1);
    SignalCounter changes(operators->m_pPresetComboBox, &QComboBox::currentIndexChanged);
    operatorSource.SelectHDRPresetText(second);
    EXPECT_EQ(operatorSource.CurrentHDRPresetText(), second);
    EXPECT_EQ(changes.count(), 0); // the dock's list changes with its signals blocked
    operatorSource.SelectHDRPresetText(QStringLiteral("no such preset"));
    EXPECT_EQ(operatorSource.CurrentHDRPresetText(), second);

    ASSERT_EQ(presetSource.TileCount(), 3);
    EXPECT_EQ(presetSource.TileTitle(0), presets->GetPresetGroupBox(0)->title());
    EXPECT_EQ(presetSource.TileChain(2), presets->GetPresetGroupBox(2)->m_pPostProcessing);
    EXPECT_EQ(presetSource.TileChain(3), nullptr);
    EXPECT_EQ(presetSource.TileChain(-1), nullptr);

    {
        HDRBatchWindow batch(nullptr, &operatorSource, &presetSource);
        batch.setWindowMode(0);
        batch.show();
        EXPECT_EQ(batch.m_pPresetComboBox->count(), 3);
        EXPECT_EQ(batch.m_pPresetComboBox->itemText(1), presets->GetPresetGroupBox(1)->title());
        EXPECT_EQ(batch.m_pHDRPresetComboBox->currentText(), second);
        batch.reject();
    }
    delete presets;
    delete operators;
}
