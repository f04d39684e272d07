// The options dialog: its start-up with "options.ini", apply and reload, the
// factory defaults, the handlers of its controls, and what reaches the engine.

#include "appfixture.h"

#include "app/hdroptionswindow.h"
#include "ui/toolkit/hdrslider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <memory>

namespace {

using Keys = std::map<QString, QVariant>;

class OptionsWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        MP_UI_SetCalcForceMode(1); // as the start-up leaves it
    }
    void TearDown() override
    {
        m_pWindow.reset();
        AppTest::TearDown();
    }

    static QString iniPath() { return HDROptionsWindow::OptionsIniPath(); }

    static void writeIni(const Keys& keys)
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.clear();
        for (const auto& [key, value] : keys)
            ini.setValue(key, value);
    }
    static QSettings readIni() { return QSettings(iniPath(), QSettings::IniFormat); }

    HDROptionsWindow* open()
    {
        m_pWindow = std::make_unique<HDROptionsWindow>(nullptr);
        return m_pWindow.get();
    }

    // Moves a slider as the user does.
    static void move(HDRSlider* slider, int value)
    {
        slider->SetValueInt(value);
        emit slider->valueUpdated();
    }

    static float pushedQuality()
    {
        return MP_UI_GetCalculationQuality();
    }

    std::unique_ptr<HDROptionsWindow> m_pWindow;
};

const char* const kAllKeys[25] = {
    "paths/projects", "paths/series", "paths/single", "paths/results", "external/editor", "external/editor_cs6",
    "external/editor_lr4", "external/editor_ele11", "external/index", "gamma/value", "gamma/view",
    "OpenCL/activated", "compression/level", "compression/undosave", "compression/undoamountindex",
    "compression/undosafetymem", "previewsize/value", "previewsize/mode", "quality/quality", "quality/kernelexp",
    "quality/samplerate", "luminance/preset", "luminance/r", "luminance/g", "luminance/b"};

} // namespace

TEST_F(OptionsWindowTest, FirstStartWritesTheFactoryDefaults)
{
    ASSERT_FALSE(QFile::exists(iniPath()));
    HDROptionsWindow* w = open();
    EXPECT_EQ(g_pOptionsWindow, w);
    QSettings ini = readIni();
    QStringList keys = ini.allKeys();
    keys.sort();
    EXPECT_EQ(keys.size(), 25);
    for (const char* key : kAllKeys)
        EXPECT_TRUE(ini.contains(QLatin1String(key))) << key;
    EXPECT_EQ(ini.value("external/index").toInt(), 1);
    EXPECT_EQ(ini.value("external/editor_cs6").toString(), QStringLiteral("xdg-open"));
    EXPECT_TRUE(ini.value("external/editor").toString().isEmpty());
    EXPECT_FLOAT_EQ(ini.value("compression/level").toFloat(), 0.2f);
    EXPECT_FLOAT_EQ(ini.value("quality/samplerate").toFloat(), 0.8f);
    EXPECT_EQ(ini.value("luminance/preset").toInt(), 1);
    for (const char* key : {"luminance/r", "luminance/g", "luminance/b"})
        EXPECT_NEAR(ini.value(QLatin1String(key)).toFloat(), 1.0f / 3.0f, 1e-6f) << key;
    EXPECT_EQ(ini.value("OpenCL/activated").toInt(), 0) << "the box is disabled in processor mode";
    EXPECT_EQ(ini.value("previewsize/mode").toInt(), 0);
    EXPECT_DOUBLE_EQ(ini.value("gamma/value").toDouble(), 2.2);
    // Pushed into the engine.
    EXPECT_EQ(MP_UI_GetCompressionLevel(), 1);
    EXPECT_EQ(MP_UI_GetCalcForceMode(), 1);
    EXPECT_FLOAT_EQ(MP_UI_GetKernelSampleRate(), 0.8f);
    EXPECT_EQ(w->GetExternalIndex(), 1);
    EXPECT_FALSE(w->m_pApplyButton->isEnabled());
    EXPECT_FALSE(w->m_pOpenCLCheckBox->isEnabled());
    EXPECT_FALSE(w->m_pOpenCLCheckBox->isChecked());
}

TEST_F(OptionsWindowTest, TheDocumentReadsTheGammaViewFromTheDialog)
{
    HDROptionsWindow* w = open();
    EXPECT_FALSE(CDocumentSettings::HDRGammaDisplay());
    w->m_pGammaViewCheckBox->setChecked(true);
    EXPECT_TRUE(CDocumentSettings::HDRGammaDisplay());
    EXPECT_TRUE(CDocumentSettings::Snapshot().bHDRGammaDisplay);
    m_pWindow.reset();
    EXPECT_EQ(CDocumentSettings::SetDisplayGammaSource(nullptr), nullptr) << "the dialog removed itself";
}

TEST_F(OptionsWindowTest, EngineValuesOfTheCalculationOptions)
{
    struct SCase {
        const char* name;
        int quality, kernel, rateButton;
        float engineQuality, engineExponent, engineRate;
    };
    const SCase cases[] = {
        {"defaults", 100, 50, 1, 0.5003f, 3.535f, 0.8f},
        {"lowest quality, round kernel", 1, 100, 0, 0.1314f, 0.0f, 0.5f},
        {"highest quality, square kernel", 200, 1, 2, 1.0f, 7.0f, 1.2f},
        {"ultra", 100, 50, 3, 0.5003f, 3.535f, 1.9f},
    };
    HDROptionsWindow* w = open();
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        w->m_pQualitySlider->SetValueInt(c.quality);
        w->m_pSuperquadricSlider->SetValueInt(c.kernel);
        w->m_pSampleRateButton[c.rateButton]->click();
        w->applyClicked();
        EXPECT_NEAR(MP_UI_GetCalculationQuality(), c.engineQuality, 1e-4f);
        EXPECT_NEAR(MP_UI_GetKernelExponent(), c.engineExponent, 1e-3f);
        EXPECT_FLOAT_EQ(MP_UI_GetKernelSampleRate(), c.engineRate);
        EXPECT_FLOAT_EQ(readIni().value("quality/samplerate").toFloat(), c.engineRate);
    }
}

TEST_F(OptionsWindowTest, LuminancePresetsReachTheEngineInWholePercent)
{
    struct SCase {
        int preset;
        float r, g, b;
    };
    const SCase cases[] = {{2, 0.30f, 0.59f, 0.11f}, {3, 0.21f, 0.72f, 0.07f}, {1, 1 / 3.0f, 1 / 3.0f, 1 / 3.0f}};
    HDROptionsWindow* w = open();
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.preset);
        w->m_pLuminancePresetsComboBox->setCurrentIndex(c.preset);
        w->applyClicked();
        float r = 0, g = 0, b = 0;
        MP_UI_GetLuminanzConvRGB(&r, &g, &b);
        EXPECT_NEAR(r, c.r, 1e-4f);
        EXPECT_NEAR(g, c.g, 1e-4f);
        EXPECT_NEAR(b, c.b, 1e-4f);
    }
}

TEST_F(OptionsWindowTest, StoredWeightsAreNormalisedByTheStartUpApply)
{
    writeIni({{"luminance/preset", 0}, {"luminance/r", 0.5}, {"luminance/g", 0.3}, {"luminance/b", 0.3}});
    HDROptionsWindow* w = open();
    float r = 0, g = 0, b = 0;
    MP_UI_GetLuminanzConvRGB(&r, &g, &b);
    EXPECT_NEAR(r, 0.4545f, 1e-4f);
    EXPECT_NEAR(g, 0.2727f, 1e-4f);
    EXPECT_NEAR(b, 0.2727f, 1e-4f);
    EXPECT_EQ(w->m_pLuminanceRSlider->GetValueInt(), 45);
    EXPECT_EQ(w->m_pLuminanceGSlider->GetValueInt(), 27);
    EXPECT_EQ(w->m_pLuminanceBSlider->GetValueInt(), 27);
    EXPECT_NEAR(readIni().value("luminance/r").toFloat(), 0.4545f, 1e-4f);
    EXPECT_EQ(w->m_pLuminancePresetsComboBox->currentIndex(), 0);
}

TEST_F(OptionsWindowTest, ReloadReadsStoredValuesAndRepairsBadOnes)
{
    QTemporaryDir deleted;
    const QString gone = deleted.path();
    deleted.remove();
    writeIni({{"paths/single", gone},
              {"paths/projects", QDir::homePath()},
              {"external/editor", "gimp"},
              {"external/index", -1},
              {"previewsize/mode", 7},
              {"previewsize/value", 2.0},
              {"quality/samplerate", 1.2},
              {"quality/quality", QStringLiteral("nan")},
              {"luminance/preset", 9},
              {"luminance/r", 0.0},
              {"luminance/g", 0.0},
              {"luminance/b", 0.0},
              {"gamma/value", 1.8},
              {"compression/undoamountindex", 42}});
    HDROptionsWindow* w = open();
    EXPECT_EQ(w->GetUndoMaxAmountIndex(), 5) << "an index outside the list keeps the default";
    EXPECT_EQ(w->GetPath(IOptionsWindow::ePATH_SINGLE), QDir::currentPath()) << "the folder no longer exists";
    EXPECT_EQ(w->GetPath(IOptionsWindow::ePATH_PROJECTS), QDir::homePath());
    EXPECT_EQ(w->GetPath(IOptionsWindow::ePATH_RESULTS), QString());
    EXPECT_EQ(w->GetExternal(IOptionsWindow::eEXTERNAL_EDITOR), QStringLiteral("gimp"));
    EXPECT_EQ(w->GetExternal(IOptionsWindow::eEXTERNAL_EDITOR_CS6), QStringLiteral("xdg-open"))
        << "an absent key keeps the factory program";
    EXPECT_EQ(w->GetExternalIndex(), 0) << "a negative index selects the first program";
    EXPECT_TRUE(w->m_pExternalCheckBox[0]->isChecked());
    // Mode 7 reaches the engine from reload, then 0 from the apply that follows.
    EXPECT_EQ(MP_UI_GetPreviewScaleMode(), 0);
    EXPECT_EQ(readIni().value("previewsize/mode").toInt(), 0);
    EXPECT_TRUE(w->m_pPreviewSizeSpinBox->isEnabled());
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewSize(), 2.0f);
    EXPECT_TRUE(w->m_pSampleRateButton[2]->isChecked());
    EXPECT_FLOAT_EQ(MP_UI_GetKernelSampleRate(), 1.2f);
    EXPECT_EQ(w->m_pQualitySlider->GetValueInt(), 100) << "a non-finite value counts as absent";
    // Weights of zero would make every luminance zero: Linear instead.
    EXPECT_EQ(w->m_pLuminancePresetsComboBox->currentIndex(), 1);
    float r = 0, g = 0, b = 0;
    MP_UI_GetLuminanzConvRGB(&r, &g, &b);
    EXPECT_NEAR(r, 1 / 3.0f, 1e-4f);
    EXPECT_NEAR(g + b, 2 / 3.0f, 1e-4f);
    EXPECT_FLOAT_EQ(MP_UI_GetHDRGammaValue(), 1.8f);
}

TEST_F(OptionsWindowTest, StoredPreviewModeOfSevenReachesTheEngineFirst)
{
    HDROptionsWindow* w = open();
    writeIni({{"previewsize/mode", 7}});
    w->FromSettings();
    EXPECT_EQ(MP_UI_GetPreviewScaleMode(), 7) << "reload passes the stored value unchanged";
    w->applyClicked();
    EXPECT_EQ(MP_UI_GetPreviewScaleMode(), 0);
}

TEST_F(OptionsWindowTest, CompressionActsAtOnceAndCancelRestoresIt)
{
    HDROptionsWindow* w = open();
    ASSERT_EQ(MP_UI_GetCompressionLevel(), 1);
    move(w->m_pCompressionSlider, 4);
    EXPECT_EQ(MP_UI_GetCompressionLevel(), 4);
    EXPECT_TRUE(w->m_pApplyButton->isEnabled());
    w->m_pCancelButton->click();
    EXPECT_EQ(MP_UI_GetCompressionLevel(), 1);
    EXPECT_EQ(w->m_pCompressionSlider->GetValueInt(), 1);
    EXPECT_FLOAT_EQ(readIni().value("compression/level").toFloat(), 0.2f);
}

TEST_F(OptionsWindowTest, ExternalProgramBoxesActAsOneChoice)
{
    HDROptionsWindow* w = open();
    w->m_pExternalCheckBox[2]->click();
    EXPECT_EQ(w->GetExternalIndex(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->m_pExternalCheckBox[i]->isChecked(), i == 2) << i;
    // A click on the checked box falls back to the first program.
    w->m_pExternalCheckBox[2]->click();
    EXPECT_EQ(w->GetExternalIndex(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->m_pExternalCheckBox[i]->isChecked(), i == 0) << i;
}

TEST_F(OptionsWindowTest, ChoosingAProgramTakesOnlyExecutables)
{
    HDROptionsWindow* w = open();
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("editor"));
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    for (const QString& path : {program, text}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
    }
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);

    QString chosen;
    int warnings = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        if (auto* files = qobject_cast<QFileDialog*>(prompt)) {
            files->selectFile(chosen);
            return int(QDialog::Accepted);
        }
        if (auto* box = qobject_cast<QMessageBox*>(prompt)) {
            ++warnings;
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Warnung"));
            return int(QDialog::Rejected);
        }
        ADD_FAILURE() << "unexpected prompt";
        return int(QDialog::Rejected);
    });
    chosen = program;
    w->m_pExternalButton[3]->click();
    EXPECT_EQ(w->GetExternal(IOptionsWindow::eEXTERNAL_EDITOR_ELE11), program);
    EXPECT_EQ(warnings, 0);
    chosen = text;
    w->m_pExternalButton[3]->click();
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(w->GetExternal(IOptionsWindow::eEXTERNAL_EDITOR_ELE11), program) << "the entry stays";
}

TEST_F(OptionsWindowTest, WeightSlidersShareTheRest)
{
    HDROptionsWindow* w = open();
    w->m_pLuminanceRSlider->SetValueInt(50);
    w->m_pLuminanceGSlider->SetValueInt(30);
    w->m_pLuminanceBSlider->SetValueInt(20);
    move(w->m_pLuminanceRSlider, 60);
    EXPECT_EQ(w->m_pLuminanceRSlider->GetValueInt(), 60);
    EXPECT_EQ(w->m_pLuminanceGSlider->GetValueInt(), 24);
    EXPECT_EQ(w->m_pLuminanceBSlider->GetValueInt(), 16);
    EXPECT_EQ(w->m_pLuminancePresetsComboBox->currentText(), QStringLiteral("Benutzer"));

    move(w->m_pLuminanceRSlider, 100);
    EXPECT_EQ(w->m_pLuminanceGSlider->GetValueInt(), 0);
    EXPECT_EQ(w->m_pLuminanceBSlider->GetValueInt(), 0);
    move(w->m_pLuminanceRSlider, 40);
    EXPECT_EQ(w->m_pLuminanceGSlider->GetValueInt(), 30);
    EXPECT_EQ(w->m_pLuminanceBSlider->GetValueInt(), 30);
    EXPECT_EQ(w->m_pLuminanceRSlider->GetValueInt(), 40);
}

TEST_F(OptionsWindowTest, DefaultButtonResetsOnlyTheShownPage)
{
    HDROptionsWindow* w = open();
    w->m_pPathEdit[0]->setText(QStringLiteral("/somewhere"));
    w->m_pTabWidget->setCurrentIndex(1);
    w->m_pQualitySlider->SetValueInt(180);
    w->m_pSuperquadricSlider->SetValueInt(3);
    w->m_pSampleRateButton[3]->click();
    w->m_pLuminancePresetsComboBox->setCurrentIndex(2);
    w->m_pDefaultButton->click();
    EXPECT_EQ(w->m_pQualitySlider->GetValueInt(), 100);
    EXPECT_EQ(w->m_pSuperquadricSlider->GetValueInt(), 50);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->m_pSampleRateButton[i]->isChecked(), i == 1) << i;
    EXPECT_EQ(w->m_pLuminancePresetsComboBox->currentText(), QStringLiteral("Linear"));
    for (HDRSlider* s : {w->m_pLuminanceRSlider, w->m_pLuminanceGSlider, w->m_pLuminanceBSlider})
        EXPECT_EQ(s->GetValueInt(), 33);
    EXPECT_EQ(w->m_pPathEdit[0]->text(), QStringLiteral("/somewhere")) << "the other page keeps its values";
}

TEST_F(OptionsWindowTest, KernelPictureFollowsTheQuality)
{
    HDROptionsWindow* w = open();
    const int cases[][2] = {{1, 40}, {200, 95}, {100, 68}};
    for (const auto& c : cases) {
        move(w->m_pQualitySlider, c[0]);
        EXPECT_EQ(w->m_pQualityLabel->pixmap().size(), QSize(c[1], c[1])) << c[0];
    }
    EXPECT_FALSE(w->m_pLuminanceColorLabel->pixmap().isNull());
    EXPECT_FALSE(w->m_pLuminanceGrayLabel->pixmap().isNull());
}

TEST_F(OptionsWindowTest, PreviewModeButtonsExcludeEachOther)
{
    HDROptionsWindow* w = open();
    w->m_pPreview11Button->click();
    EXPECT_FALSE(w->m_pPreviewSizeSpinBox->isEnabled());
    w->m_pPreviewFastButton->click();
    EXPECT_TRUE(w->m_pPreviewFastButton->isChecked());
    EXPECT_FALSE(w->m_pPreview11Button->isChecked());
    EXPECT_FALSE(w->m_pPreviewSizeSpinBox->isEnabled());
    w->m_pPreviewFastButton->click();
    EXPECT_FALSE(w->m_pPreviewFastButton->isChecked());
    EXPECT_TRUE(w->m_pPreviewSizeSpinBox->isEnabled());
    w->m_pPreview11Button->click();
    w->applyClicked();
    EXPECT_EQ(MP_UI_GetPreviewScaleMode(), 1);
}

TEST_F(OptionsWindowTest, LanguageChangeAsksForARestartAndApplyStoresIt)
{
    HDROptionsWindow* w = open();
    ASSERT_GE(w->m_pLanguageComboBox->count(), 2);
    int restarts = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        auto* box = qobject_cast<QMessageBox*>(prompt);
        EXPECT_NE(box, nullptr);
        if (box)
            EXPECT_EQ(box->text(), QStringLiteral("Erfordert einen Neustart des Programms."));
        ++restarts;
        return int(QDialog::Rejected);
    });
    const int other = w->m_pLanguageComboBox->currentIndex() == 0 ? 1 : 0;
    const QString locale = w->m_pLanguageComboBox->itemData(other).toString();
    w->m_pLanguageComboBox->setCurrentIndex(other);
    EXPECT_EQ(restarts, 1);
    EXPECT_TRUE(w->m_pApplyButton->isEnabled());
    w->applyClicked();
    EXPECT_EQ(COptions::getInstance()->m_strLocale, locale);
    EXPECT_EQ(QSettings(COptions::LanguageIniPath(), QSettings::IniFormat).value("locale").toString(), locale);
    // Cancel sets the entry back to the stored locale: no change, no message.
    w->cancelClicked();
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(w->m_pLanguageComboBox->currentIndex(), other);
}

TEST_F(OptionsWindowTest, FailedWriteIsReportedAndTheOldFileStays)
{
    HDROptionsWindow* w = open();
    const QByteArray before = [] {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(before.isEmpty());
    // The folder cannot take the new file: a file stands in the way of the
    // temporary file QSettings writes beside it.
    const QString folder = lumivex::platform::userSettingsFolder();
    ASSERT_TRUE(QDir().rename(folder.chopped(1), folder.chopped(1) + QStringLiteral(".moved")));
    QFile blocker(folder.chopped(1));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    int reports = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        EXPECT_NE(qobject_cast<QMessageBox*>(prompt), nullptr);
        ++reports;
        return int(QDialog::Rejected);
    });
    w->m_pQualitySlider->SetValueInt(150);
    w->applyClicked();
    EXPECT_EQ(reports, 1);
    QFile::remove(folder.chopped(1));
    ASSERT_TRUE(QDir().rename(folder.chopped(1) + QStringLiteral(".moved"), folder.chopped(1)));
    QFile after(iniPath());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(OptionsWindowTest, WithoutAnInformationDockTheSideBrowserShowsThePageText)
{
    HDROptionsWindow* w = open();
    w->show();
    EXPECT_TRUE(w->GetInfoBrowser()->toPlainText().startsWith(QStringLiteral("HDROptionsWindow Programm lumivex")));
    w->m_pTabWidget->setCurrentIndex(1);
    EXPECT_EQ(w->GetInfoBrowser()->toPlainText(), QStringLiteral("HDROptionsWindow Berechnung lumivex"));
    w->close();
}

TEST_F(OptionsWindowTest, ShowingClearsTheApplyStateAndOpensTheFirstPage)
{
    HDROptionsWindow* w = open();
    struct SDock : IInfoDock {
        QString InfoHtml() const override { return QStringLiteral("<p>") + text + QStringLiteral("</p>"); }
        void SetInfoDockVisible(bool) override {}
        void UpdateText(const QString& html) override { text = html; }
        QString StoredText() const override { return text; }
        QString text = QStringLiteral("start page");
    } dock;
    w->m_bApplied = true;
    w->m_pTabWidget->setCurrentIndex(1);
    ToolkitSeams::SetInfoDock(&dock);
    w->show();
    EXPECT_FALSE(w->m_bApplied);
    EXPECT_EQ(w->m_pTabWidget->currentIndex(), 0);
    EXPECT_FALSE(w->m_pApplyButton->isEnabled());
    EXPECT_TRUE(dock.text.startsWith(QStringLiteral("HDROptionsWindow Programm lumivex")));
    EXPECT_TRUE(w->GetInfoBrowser()->toPlainText().startsWith(QStringLiteral("HDROptionsWindow Programm lumivex")));
    w->m_pApplyButton->setEnabled(true);
    w->m_pApplyButton->click();
    EXPECT_TRUE(w->IsApplied());
    w->m_pConfirmButton->click();
    EXPECT_EQ(dock.text, QStringLiteral("start page")) << "the dock gets its text back";
    EXPECT_FALSE(w->isVisible());
}
