// The RAW development window: defaults, the white-balance controls and the
// one temperature they keep, the button groups, the saved group states, the
// show-again file and the snapshot the document reads.

#include "presetsfixture.h"

#include "ui/postprocessing/hdrrawdevelopmentwindow.h"
#include "ui/toolkit/hdrslider.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>

namespace {

class RawDevelopmentTest : public PresetsTest {
protected:
    void SetUp() override
    {
        PresetsTest::SetUp();
        m_pWindow = new HDRRAWDevelopmentWindow(nullptr);
    }
    void TearDown() override
    {
        delete m_pWindow;
        PresetsTest::TearDown();
    }
    HDRRAWDevelopmentWindow* m_pWindow = nullptr;
};

TEST_F(RawDevelopmentTest, DefaultsAfterConstruction)
{
    HDRRAWDevelopmentWindow* w = m_pWindow;
    EXPECT_EQ(g_pRAWDevelopment, w);
    EXPECT_EQ(w->m_pWhiteBalanceListWidget->currentRow(), 0);
    EXPECT_EQ(w->m_pWhiteBalanceSpinBox->value(), 1000);
    EXPECT_TRUE(w->m_pWhiteBalanceSpinBox->styleSheet().contains(QLatin1String("color: transparent;")));
    EXPECT_EQ(w->m_fWhiteBalanceKelvin, -0.99993896484375f);
    EXPECT_FALSE(w->IsShowAgainChecked());
    EXPECT_FALSE(QSettings(HDRRAWDevelopmentWindow::ShowAgainPath(), QSettings::IniFormat)
                     .value(QStringLiteral("rawdevshowagain"), true)
                     .toBool());
    EXPECT_EQ(w->m_pColorSpaceComboBox->count(), 16);
    EXPECT_EQ(w->m_pColorSpaceComboBox->currentText(), QStringLiteral("Colorspace Adobe RGB"));
    EXPECT_EQ(w->m_pWhiteBalanceListWidget->count(), 15);
    EXPECT_TRUE(w->m_pWhiteBalanceListWidget->item(14)->isHidden());
    EXPECT_EQ(w->m_pWhiteBalanceColorLabel->size(), QSize(270, 30));
    EXPECT_EQ(w->GetAlignQualityByCheckdState(), 1);
    EXPECT_EQ(w->GetDenoiseQualityByCheckdState(), 0);
    EXPECT_EQ(w->getImageTypeIndex(), 0);
    EXPECT_FALSE(w->m_pGeneticAlgorithmCheckBox->testAttribute(Qt::WA_ForceDisabled)); // enabled, in an unchecked group
    // Shown: the two groups and the show-again box; the others hidden.
    for (QWidget* shown : {static_cast<QWidget*>(w->m_pColorSpaceGroupBox),
                           static_cast<QWidget*>(w->m_pWhiteBalanceGroupBox),
                           static_cast<QWidget*>(w->m_pShowAgainCheckBox)})
        EXPECT_FALSE(shown->isHidden());
    for (QGroupBox* hidden : {w->m_pScaleGroupBox, w->m_pDenoiseGroupBox, w->m_pOptimizeGroupBox, w->m_pAlignGroupBox,
                              w->m_pDeGhostGroupBox, w->m_pImageTypeGroupBox})
        EXPECT_TRUE(hidden->isHidden());
    // The document's snapshot: the documented defaults.
    const SRawDevelopmentSettings s = CDocumentSettings::RawDevelopment();
    const SRawDevelopmentSettings d;
    EXPECT_EQ(s.dScalePercent, d.dScalePercent);
    EXPECT_EQ(s.iScaleMethod, d.iScaleMethod);
    EXPECT_EQ(s.iColorSpace, d.iColorSpace);
    EXPECT_TRUE(s.AutomaticWhiteBalance());
    EXPECT_EQ(s.fDenoiseSharpness, d.fDenoiseSharpness);
    EXPECT_EQ(s.fAlignAccuracy, d.fAlignAccuracy);
    EXPECT_EQ(s.fAlignSearchRadius, d.fAlignSearchRadius);
    EXPECT_EQ(s.fDeGhostStrength, d.fDeGhostStrength);
    EXPECT_EQ(s.iAlignQuality, 1);
    EXPECT_TRUE(s.bLocalMTB);
    EXPECT_TRUE(s.bDenoiseDarkImages);
    EXPECT_TRUE(s.bOptimizeExposure);
}

TEST_F(RawDevelopmentTest, OneTemperatureFromListSpinBoxAndStrip)
{
    HDRRAWDevelopmentWindow* w = m_pWindow;
    // Every preset row keeps exactly its temperature.
    for (int row = 1; row < 14; ++row) {
        w->m_pWhiteBalanceListWidget->setCurrentRow(row);
        EXPECT_EQ(w->m_fWhiteBalanceKelvin, w->m_pWhiteBalanceListWidget->item(row)->data(Qt::UserRole).toFloat());
        EXPECT_TRUE(w->m_pWhiteBalanceSpinBox->styleSheet().contains(QLatin1String("color: #")));
    }
    // Typed 2680: the custom row, not "Glühbirne 60 Watt".
    w->m_pWhiteBalanceSpinBox->setValue(2680);
    w->whiteBalanceSpinboxUpdated();
    EXPECT_EQ(w->m_fWhiteBalanceKelvin, 2680.0f);
    EXPECT_EQ(w->m_pWhiteBalanceListWidget->currentRow(), 14);
    // Back to automatic: 1000 with transparent digits; focus turns them black.
    w->m_pWhiteBalanceListWidget->setCurrentRow(0);
    EXPECT_EQ(w->m_pWhiteBalanceSpinBox->value(), 1000);
    EXPECT_LT(w->m_fWhiteBalanceKelvin, 0.0f);
    EXPECT_TRUE(w->m_pWhiteBalanceSpinBox->styleSheet().contains(QLatin1String("color: transparent;")));
    emit w->m_pWhiteBalanceSpinBox->gotFocus();
    EXPECT_TRUE(w->m_pWhiteBalanceSpinBox->styleSheet().contains(QLatin1String("color: black;")));
    // The strip (in the checked group): left edge 1000 K, dragged beyond either end clamped.
    w->m_pWhiteBalanceGroupBox->setChecked(true);
    struct {
        double x;
        float kelvin;
    } cases[] = {{0.0, 1000.0f}, {-40.0, 1000.0f}, {400.0, 16500.0f}, {135.0, 8750.0f}};
    for (const auto& c : cases) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(c.x, 10), QPointF(c.x, 10), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->m_pWhiteBalanceColorLabel, &press);
        EXPECT_EQ(w->m_fWhiteBalanceKelvin, c.kelvin) << c.x;
        EXPECT_EQ(w->m_pWhiteBalanceSpinBox->value(), int(c.kelvin));
        EXPECT_EQ(w->m_pWhiteBalanceListWidget->currentRow(), 14);
    }
}

TEST_F(RawDevelopmentTest, ButtonGroupsAndSavedGroupStates)
{
    HDRRAWDevelopmentWindow* w = m_pWindow;
    w->m_pDenoiseGroupBox->setChecked(true);
    w->m_pAlignGroupBox->setChecked(true);
    w->m_pDenoiseQualityNormalButton->click(); // the checked one stays checked
    EXPECT_TRUE(w->m_pDenoiseQualityNormalButton->isChecked());
    w->m_pAlignQualityUltraButton->click();
    EXPECT_EQ(w->GetAlignQualityByCheckdState(), 3);
    EXPECT_FALSE(w->m_pAlignQualityNormalButton->isChecked());
    w->m_pAlignQualityNormalButton->setChecked(true);
    w->m_pAlignQualityFastButton->setChecked(true);
    EXPECT_EQ(w->GetAlignQualityByCheckdState(), 3); // the highest wins
    for (QPushButton* b : {w->m_pDenoiseQualityNormalButton, w->m_pDenoiseQualityHighButton,
                           w->m_pDenoiseQualityUltraButton})
        b->setChecked(false);
    EXPECT_EQ(w->GetDenoiseQualityByCheckdState(), 1);
    w->m_pImageTypeButtons[3]->click();
    EXPECT_EQ(w->getImageTypeIndex(), 4);
    w->m_pImageTypeButtons[5]->click();
    EXPECT_EQ(w->getImageTypeIndex(), 6);
    w->m_pImageTypeButtons[5]->click();
    EXPECT_EQ(w->getImageTypeIndex(), 0);
    w->m_pAlignZoomCheckBox->setChecked(true);
    EXPECT_TRUE(w->m_pGeneticAlgorithmCheckBox->isEnabled());
    w->m_pAlignZoomCheckBox->setChecked(false);
    EXPECT_FALSE(w->m_pGeneticAlgorithmCheckBox->isEnabled());

    w->m_pDenoiseGroupBox->setChecked(false);
    w->m_pColorSpaceGroupBox->setChecked(true);
    w->rememberGroupboxStates();
    w->disableAllGroupboxStates();
    EXPECT_FALSE(w->m_pColorSpaceGroupBox->isChecked());
    w->m_pDeGhostGroupBox->setChecked(true);
    w->recoverGroupboxStates();
    EXPECT_TRUE(w->m_pColorSpaceGroupBox->isChecked());
    EXPECT_TRUE(w->m_pAlignGroupBox->isChecked());
    EXPECT_FALSE(w->m_pDeGhostGroupBox->isChecked());
    EXPECT_FALSE(w->m_pWhiteBalanceGroupBox->isChecked());

    // Restore defaults: everything back, panorama and show-again untouched.
    w->m_pPanoramaCheckBox->setChecked(true);
    w->m_pShowAgainCheckBox->setChecked(true);
    w->m_pColorSpaceComboBox->setCurrentIndex(7);
    w->m_pScaleSpinBox->setValue(50);
    w->defaultClicked();
    EXPECT_FALSE(w->m_pColorSpaceGroupBox->isChecked());
    EXPECT_EQ(w->m_pColorSpaceComboBox->currentIndex(), 1);
    EXPECT_EQ(w->m_pScaleSpinBox->value(), 100.0);
    EXPECT_EQ(w->GetAlignQualityByCheckdState(), 1);
    EXPECT_TRUE(w->m_pPanoramaCheckBox->isChecked());
    EXPECT_TRUE(w->m_pShowAgainCheckBox->isChecked());
}

TEST_F(RawDevelopmentTest, ShowAgainConfirmAndInfoText)
{
    HDRRAWDevelopmentWindow* w = m_pWindow;
    w->m_pShowAgainCheckBox->click();
    EXPECT_TRUE(QSettings(HDRRAWDevelopmentWindow::ShowAgainPath(), QSettings::IniFormat)
                    .value(QStringLiteral("rawdevshowagain"))
                    .toBool());
    // A missing file checks the box.
    QFile::remove(HDRRAWDevelopmentWindow::ShowAgainPath());
    w->ShowAgainFromSettings();
    EXPECT_TRUE(w->IsShowAgainChecked());

    // Confirming takes the panorama switch into the engine.
    for (int mode : {0, 1, 2}) {
        MP_UI_SetPainterPanoramaMode(mode);
        w->show();
        EXPECT_EQ(w->m_pPanoramaCheckBox->isChecked(), mode == 1);
        SignalCounter closed(w, &HDRRAWDevelopmentWindow::closed);
        w->m_pConfirmButton->click();
        EXPECT_EQ(MP_UI_GetPainterPanoramaMode(), mode == 1 ? 1 : 0);
        EXPECT_EQ(closed.count(), 1);
    }
    EXPECT_EQ(m_Host.m_iPanoramaAction, 3);
}

} // namespace

namespace {

class FakeInfoDock : public IInfoDock {
public:
    QString InfoHtml() const override { return m_strText; }
    void SetInfoDockVisible(bool) override {}
    void UpdateText(const QString& html) override { m_strText = html; }
    QString m_strText;
};

TEST_F(RawDevelopmentTest, InfoDockGetsItsTextBackAfterEachOpening)
{
    FakeInfoDock dock;
    ToolkitSeams::SetInfoDock(&dock);
    for (const char* before : {"first", "second"}) {
        dock.UpdateText(QLatin1String(before));
        m_pWindow->show();
        EXPECT_EQ(dock.m_strText, QStringLiteral("HDRRAWDevelopmentWindow lumivex TopicHDRRAWDevelopmentWindow lumivex"));
        m_pWindow->close();
        EXPECT_EQ(dock.m_strText, QLatin1String(before));
    }
    ToolkitSeams::SetInfoDock(nullptr);
}

} // namespace
