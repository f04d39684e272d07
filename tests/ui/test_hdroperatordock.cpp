// The HDR operator dock: catalogue, preset table, the choice it hands to the
// document, smoothing, sigmoid, dynamic-range text and its project part.

#include "presetsfixture.h"

#include "ui/postprocessing/hdroperatordockwidget.h"
#include "ui/toolkit/hdrslider.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QTemporaryFile>

#include <cmath>
#include <vector>

namespace {

class HDROperatorDockTest : public PresetsTest {
protected:
    void SetUp() override
    {
        PresetsTest::SetUp();
        m_pDock = new HDROperatorDockWidget(QStringLiteral("HDR"), &m_Window);
    }
    void TearDown() override
    {
        delete m_pDock;
        PresetsTest::TearDown();
    }
    // The main window's reset at start-up: signals blocked.
    void InitialReset()
    {
        const bool blocked = m_pDock->blockSignals(true);
        m_pDock->ResetAllValues();
        m_pDock->blockSignals(blocked);
    }
    std::vector<float> Values() const
    {
        std::vector<float> v(10 * 256, -1.0f);
        m_pDock->GetParameterValues(v.data());
        return v;
    }

    FakePresetsMainWindow m_Window;
    HDROperatorDockWidget* m_pDock = nullptr;
};

TEST_F(HDROperatorDockTest, CatalogueGivesElevenRowsAndThirtyFourPresets)
{
    const char* kernels[11] = {"MP_calcPixelHDRaverage",     "MP_calcPixelFastHDRentropy", "MP_calcPixelFastHDRdistance",
                               "MP_calcPixelFastHDRrgrbgb",  "MP_calcPixelHDRlumentropy",  "MP_calcPixelHDRlumrgb",
                               "MP_calcPixelHDRlinear",      "MP_calcPixelHDRloglinear",   "MP_calcPixelHDRquadriclinear",
                               "MP_calcPixelHDRsatlig",      "MP_calcPixelFastHDRabsdist"};
    ASSERT_EQ(m_pDock->m_uiOperatorCount, 11u);
    for (int r = 0; r < 11; ++r)
        EXPECT_EQ(m_pDock->m_pOperatorList->item(r)->data(Qt::UserRole).toString(), QLatin1String(kernels[r]));
    ASSERT_EQ(m_pDock->m_pPresetComboBox->count(), 34);
    EXPECT_EQ(m_pDock->m_pPresetComboBox->itemText(0), QStringLiteral("HDR Preset Durchschintt"));
    EXPECT_EQ(m_pDock->m_pPresetComboBox->itemText(33), QStringLiteral("HDR Preset absDist sehr weich"));
    EXPECT_EQ(HDRpresets[34][5], 0.75f);
    EXPECT_STREQ(HDRpresetTexts[64], "HDR Preset FocusStackVar sehr weich");
    // Construction: row 0, entry 3, no signal.
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 0);
    EXPECT_EQ(m_pDock->m_pPresetComboBox->currentIndex(), 3);
    EXPECT_EQ(m_Window.m_iOperatorUpdated, 0);
    // Which slots have sliders: row 0 slot 2 only; Radius never.
    for (int s = 0; s < 10; ++s)
        EXPECT_EQ(m_pDock->m_pppParameterSliders[0][s] != nullptr, s == 2) << s;
    for (int r = 0; r < 11; ++r)
        EXPECT_EQ(m_pDock->m_pppParameterSliders[r][0], nullptr);
}

TEST_F(HDROperatorDockTest, VisibleStateAfterTheInitialReset)
{
    InitialReset();
    EXPECT_EQ(m_Window.m_iOperatorUpdated, 0);
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 1);
    EXPECT_EQ(m_pDock->m_pPresetComboBox->currentIndex(), 3);
    EXPECT_FALSE(m_pDock->IsChangedToPreset());
    EXPECT_EQ(m_pDock->height(), 90);
    EXPECT_EQ(m_pDock->m_pPresetComboBox->width(), 272);
    EXPECT_TRUE(m_pDock->m_pOperatorList->isHidden());
    EXPECT_TRUE(m_pDock->m_pSigmoidGroupBox->isHidden());
    EXPECT_TRUE(m_pDock->m_pDepthmapGroupBox->isHidden());
    EXPECT_FALSE(m_pDock->m_pPresetGroupBox->isHidden());
    EXPECT_EQ(m_pDock->m_pPresetGroupBox->title(), QStringLiteral("HDR Presets"));
}

TEST_F(HDROperatorDockTest, ChoosingAPresetOfAnotherOperator)
{
    InitialReset();
    m_pDock->m_pPresetComboBox->setCurrentIndex(9);
    EXPECT_EQ(m_Window.m_iOperatorUpdated, 2);
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 3);
    EXPECT_EQ(m_pDock->GetKernelName(), QStringLiteral("MP_calcPixelFastHDRrgrbgb"));
    const std::vector<float> v = Values();
    const float expected[5] = {0.0f, 0.2f, 0.0f, 0.5f, 0.25f};
    for (int s = 0; s < 10; ++s) {
        for (int k = 0; k < 256; ++k)
            ASSERT_EQ(v[size_t(s) * 256 + size_t(k)], (k == 0 && s < 5) ? expected[s] : 0.0f) << s << " " << k;
    }
    EXPECT_FALSE(m_pDock->IsChangedToPreset());
    EXPECT_EQ(m_pDock->m_pSmoothingComboBox->currentText(), QStringLiteral("normal"));
    // The same operator again: one signal.
    m_Window.m_iOperatorUpdated = 0;
    m_pDock->m_pPresetComboBox->setCurrentIndex(10);
    EXPECT_EQ(m_Window.m_iOperatorUpdated, 1);
}

TEST_F(HDROperatorDockTest, EntryZeroSetsOnlyItsOneSlider)
{
    InitialReset();
    m_pDock->m_pPresetComboBox->setCurrentIndex(0);
    const std::vector<float> v = Values();
    for (size_t i = 0; i < v.size(); ++i)
        ASSERT_EQ(v[i], i == 2 * 256 ? 0.2f : 0.0f) << i;
}

TEST_F(HDROperatorDockTest, EveryPresetSurvivesTheSliderRoundTrip)
{
    InitialReset();
    for (int i = 0; i < m_pDock->m_pPresetComboBox->count(); ++i) {
        m_pDock->m_pPresetComboBox->setCurrentIndex(i);
        EXPECT_FALSE(m_pDock->IsChangedToPreset()) << i;
    }
    // Another row than the entry's: changed even when no slider differs.
    m_pDock->m_pPresetComboBox->setCurrentIndex(3);
    const bool blocked = m_pDock->m_pOperatorList->blockSignals(true);
    m_pDock->m_pOperatorList->setCurrentRow(2);
    m_pDock->m_pOperatorList->blockSignals(blocked);
    EXPECT_TRUE(m_pDock->IsChangedToPreset());
}

TEST_F(HDROperatorDockTest, SmoothingChoice)
{
    InitialReset();
    m_pDock->m_pPresetComboBox->setCurrentIndex(4); // slot 4 = 1 on row 1
    EXPECT_EQ(m_pDock->m_pSmoothingComboBox->currentText(), QStringLiteral("individuell"));
    struct {
        float value;
        const char* shown;
    } cases[] = {{0.26f, "normal"}, {0.2f, "individuell"}, {0.0f, "scharf"}, {0.75f, "sehr weich"}};
    for (const auto& c : cases) {
        m_pDock->m_pppParameterSliders[1][4]->SetValueF(c.value);
        m_pDock->updateSmoothingComboBox();
        EXPECT_EQ(m_pDock->m_pSmoothingComboBox->currentText(), QLatin1String(c.shown)) << c.value;
    }
    // Choosing "weich" sets slot 4 and leaves the preset entry 0 without applying it.
    m_Window.m_iOperatorUpdated = 0;
    m_pDock->m_pSmoothingComboBox->setCurrentIndex(3);
    EXPECT_EQ(m_pDock->m_pppParameterSliders[1][4]->GetValueF(), 0.5f);
    EXPECT_EQ(m_pDock->m_pPresetComboBox->currentIndex(), 0);
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 1);
    EXPECT_EQ(m_Window.m_iOperatorUpdated, 1);
    // Row 0 offers no choice.
    m_pDock->m_pOperatorList->setCurrentRow(0);
    EXPECT_FALSE(m_pDock->m_pSmoothingComboBox->isEnabled());
    EXPECT_EQ(m_pDock->m_pSmoothingComboBox->count(), 1);
}

TEST_F(HDROperatorDockTest, ResetsAndAManualChange)
{
    InitialReset();
    m_pDock->m_pPresetComboBox->setCurrentIndex(9);
    m_pDock->ResetValues(11); // beyond the rows: nothing
    m_pDock->m_pppParameterSliders[3][1]->SetValueF(0.9f);
    m_pDock->m_pppParameterSliders[3][1]->EmitValueUpdated();
    // The manual change leaves the preset: entry 0 applied (row 0).
    EXPECT_EQ(m_pDock->m_pPresetComboBox->currentIndex(), 0);
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 0);
    // A double click puts a row's sliders back to their centres.
    m_pDock->m_pOperatorList->setCurrentRow(3);
    emit m_pDock->m_pOperatorList->itemDoubleClicked(m_pDock->m_pOperatorList->item(3));
    EXPECT_EQ(m_pDock->m_pppParameterSliders[3][1]->GetValueF(), 0.5f);
}

TEST_F(HDROperatorDockTest, DynamicRangeText)
{
    m_pDock->m_pDynamicRangeLabel->setText(QStringLiteral("before"));
    m_pDock->UpdateHDRContrastLabel();
    EXPECT_EQ(m_pDock->m_pDynamicRangeLabel->text(), QStringLiteral("before")); // no document
    m_Host.SetDocument(true);
    struct {
        float ratio;
        bool preview;
        bool button;
        const char* text;
    } cases[] = {{1.0f, false, false, "Dynamik: 1:1 ( 1.00 EV)"},
                 {3.0f, false, false, "Dynamik: 3:1 ( 2.00 EV)"},
                 {3.0f, true, false, "Dynamik: 3:1 ( 2.00 EV)"},
                 {3.0f, true, true, "Dynamik: nur im Vollbild-Modus"}};
    for (const auto& c : cases) {
        m_Host.m_fDynamicRange = c.ratio;
        m_Host.m_bPreviewMode = c.preview;
        m_Host.m_bPreviewButton = c.button;
        m_pDock->UpdateHDRContrastLabel();
        EXPECT_EQ(m_pDock->m_pDynamicRangeLabel->text(), QLatin1String(c.text));
    }
}

TEST_F(HDROperatorDockTest, OptimalSigmoidFromTheMeanLuminance)
{
    // A result of mean luminance 0.3 that does not change: two passes.
    m_Host.m_HDR.assign(3 * 16, static_cast<unsigned short>(0.3 * 65535 + 0.5));
    m_Host.m_iHDRWidth = 4;
    m_pDock->m_pSigmoidOptimalButton->click();
    EXPECT_EQ(m_pDock->m_pSigmoidSlider->GetValueInt(), -9);
    EXPECT_NEAR(m_pDock->m_pSigmoidSlider->GetValueF(), 0.455f, 1e-6f);
    EXPECT_EQ(m_Window.m_iOperatorUpdatedForced, 2);
    ASSERT_EQ(m_Host.m_Counters.size(), 1);
    EXPECT_EQ(m_Host.m_Counters[0].first, QStringLiteral("m_iHDRDynamicOptimalUsed"));
    // A result that keeps changing: at most ten passes.
    int pass = 0;
    m_Window.m_iOperatorUpdatedForced = 0;
    m_Window.m_fnOnForced = [&] {
        ++pass;
        std::fill(m_Host.m_HDR.begin(), m_Host.m_HDR.end(), static_cast<unsigned short>((pass % 2) ? 60000 : 1000));
    };
    m_pDock->m_pSigmoidHighButton->click();
    EXPECT_EQ(m_Window.m_iOperatorUpdatedForced, 10);
    // Without a document the value goes to the maximum.
    m_Window.m_fnOnForced = nullptr;
    m_Host.m_HDR.clear();
    m_Window.m_iOperatorUpdatedForced = 0;
    m_pDock->m_pSigmoidCompressedButton->click();
    EXPECT_EQ(m_pDock->m_pSigmoidSlider->GetValueF(), 1.0f);
    EXPECT_EQ(m_Window.m_iOperatorUpdatedForced, 2);
}

TEST_F(HDROperatorDockTest, ProjectRoundTripAndLoadingOverAnotherEntry)
{
    InitialReset();
    m_pDock->m_pPresetComboBox->setCurrentIndex(9);
    m_pDock->m_pppParameterSliders[0][2]->SetValueF(0.7f);
    m_pDock->m_pSigmoidSlider->SetValueF(0.25f);
    m_pDock->m_pDepthmapInvertButton->setChecked(true);
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    {
        QSettings settings(file.fileName(), QSettings::IniFormat);
        EXPECT_TRUE(m_pDock->SaveProject(settings, QString()));
        settings.sync();
        int parameterKeys = 0;
        for (const QString& key : settings.allKeys())
            parameterKeys += key.contains(QLatin1String("/Parameter")) ? 1 : 0;
        EXPECT_EQ(parameterKeys, 39);
    }
    InitialReset();
    m_pDock->ResetPreset();
    m_pDock->m_pDepthmapInvertButton->setChecked(false);
    m_Window.m_iOperatorUpdated = 0;
    QSettings settings(file.fileName(), QSettings::IniFormat);
    EXPECT_TRUE(m_pDock->LoadProject(settings, QString()));
    EXPECT_EQ(m_Window.m_iOperatorUpdated, 0);
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 3);
    EXPECT_EQ(m_pDock->m_pPresetComboBox->currentIndex(), 9);
    EXPECT_EQ(m_pDock->m_pppParameterSliders[0][2]->GetValueF(), 0.2f); // entry 0 applied on the way
    EXPECT_EQ(m_pDock->m_pSigmoidSlider->GetValueF(), 0.25f);
    EXPECT_TRUE(m_pDock->m_pDepthmapInvertButton->isChecked());
}

TEST_F(HDROperatorDockTest, ProjectWithoutKeysOrWithValuesOutsideTheLists)
{
    InitialReset();
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    {
        QSettings settings(file.fileName(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("OperatorDock/Operator"), 57);
        settings.setValue(QStringLiteral("OperatorDock/Preset"), -4);
    }
    QSettings settings(file.fileName(), QSettings::IniFormat);
    EXPECT_TRUE(m_pDock->LoadProject(settings, QString()));
    EXPECT_EQ(m_pDock->m_pPresetComboBox->currentIndex(), 0);
    EXPECT_EQ(m_pDock->m_pOperatorList->currentRow(), 0);
    EXPECT_EQ(m_pDock->GetKernelName(), QStringLiteral("MP_calcPixelHDRaverage"));
    EXPECT_EQ(m_pDock->m_pSigmoidSlider->GetValueF(), 0.5f);
    EXPECT_EQ(m_pDock->m_pDepthmapSmoothSlider->GetValueF(), 0.5f);
    EXPECT_FALSE(m_pDock->m_pDepthmapInvertButton->isChecked());
    EXPECT_EQ(m_pDock->m_pppParameterSliders[5][3]->GetValueInt(), -360); // missing: the minimum
}

TEST_F(HDROperatorDockTest, CatalogueRules)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/ops.xml");
    auto write = [&](const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    const QByteArray parameter = "<parameter visible=\"1\" order=\"0\" type=\"slider\" style=\" \" tooltip=\"t\" "
                                 "name=\"n\" low=\"l\" high=\"h\" unit=\"%\" min=\"0\" max=\"100\" default=\"0.3\" "
                                 "grating=\"0.0\"/>";
    write("<operators><operator visible=\"1\" version=\"300\" name=\"A\" kernel=\"kA\">" + parameter +
          "</operator><operator visible=\"1\" version=\"301\" name=\"B\" kernel=\"kB\">" + parameter +
          "</operator><operator visible=\"0\" version=\"0\" name=\"C\" kernel=\"kC\">" + parameter +
          "</operator></operators>");
    {
        HDROperatorDockWidget dock(QStringLiteral("HDR"), nullptr, Qt::WindowFlags(), path);
        EXPECT_EQ(dock.m_uiOperatorCount, 1u);
        EXPECT_EQ(dock.m_pPresetComboBox->count(), 1); // entry "Durchschintt" only
        EXPECT_EQ(dock.GetKernelName(), QStringLiteral("kA"));
        dock.ResetAllValues();
        EXPECT_EQ(dock.m_pOperatorList->currentRow(), 0);
    }
    write("<operators><operator");
    HDROperatorDockWidget broken(QStringLiteral("HDR"), nullptr, Qt::WindowFlags(), path);
    EXPECT_EQ(broken.m_uiOperatorCount, 0u);
    EXPECT_EQ(broken.m_pPresetComboBox->count(), 0);
    EXPECT_TRUE(broken.GetKernelName().isEmpty());
    std::vector<float> v(2560, 1.0f);
    broken.GetParameterValues(v.data());
    for (float f : v)
        ASSERT_EQ(f, 0.0f);
    broken.ResetAllValues();
    broken.comboBoxIndexChanged(-1);
}

} // namespace

namespace {

TEST_F(HDROperatorDockTest, ListContextMenuTooltipAndDepthMapButtons)
{
    InitialReset();
    _QListWidgetWithContextMenu* list = m_pDock->m_pOperatorList;
    list->show();
    list->resize(280, 220);
    m_pDock->m_pppParameterSliders[2][1]->SetValueF(0.9f);
    int menus = 0;
    list->m_fnExecMenu = [&](QMenu*, const QPoint&) {
        ++menus;
        return true;
    };
    const QRect second = list->visualItemRect(list->item(2));
    QContextMenuEvent onItem(QContextMenuEvent::Mouse, second.center(), list->mapToGlobal(second.center()));
    QCoreApplication::sendEvent(list->viewport(), &onItem);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(list->m_pContextItem, list->item(2));
    EXPECT_EQ(m_pDock->m_pppParameterSliders[2][1]->GetValueF(), 0.5f); // reset to its centre
    const QPoint below(10, 215);
    QContextMenuEvent outside(QContextMenuEvent::Mouse, below, list->mapToGlobal(below));
    QCoreApplication::sendEvent(list->viewport(), &outside);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(list->m_pContextItem, nullptr);

    emit list->itemEntered(list->item(3));
    EXPECT_EQ(list->toolTip(), QStringLiteral("<H3><p>tooltip MP_calcPixelFastHDRrgrbgb</p></H3><p></p>"));

    m_pDock->m_pDepthmapSaveButton->click();
    EXPECT_EQ(m_Host.m_iDepthMapSaved, 1);
    m_pDock->m_pDepthmapInvertButton->click();
    EXPECT_EQ(m_Window.m_iOperatorUpdatedForced, 1);
    // The document reads the sigmoid through its settings seam.
    m_pDock->m_pSigmoidSlider->SetValueF(0.25f);
    EXPECT_EQ(CDocumentSettings::Snapshot().fSigmoid, 0.25f);
}

} // namespace
