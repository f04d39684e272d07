// The save-result flow over a fake export host.

#include "uifixture.h"

#include "ui/mainwindow/resultsaveflow.h"
#include "ui/toolkit/hdrdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <vector>

namespace {

struct FakeCounter : IUsageCounters {
    int saved = 0;
    void HandleValue(const QString& key, int amount) override
    {
        if (key == QLatin1String("m_iImagesSaved"))
            saved += amount;
    }
};

struct FakeCrop : IResultCropWindow {
    SCropResult result;
    int shown = 0;
    SCropResult Show() override
    {
        ++shown;
        return result;
    }
};

struct FakeHost : IResultExportHost {
    bool postProcessing = false;
    bool preview = false;
    float factor = 1.0f;
    int toggles = 0;
    QString resultsFolder;
    QString merged = QStringLiteral("Merged");
    FakeCrop crop;
    bool withCrop = true;
    FakeCounter counter;
    bool withCounter = true;
    uint16_t pixels[6] = {};

    QWidget* DialogParent() override { return nullptr; }
    bool IsPostProcessingStage() const override { return postProcessing; }
    bool IsHDRStage() const override { return !postProcessing; }
    const unsigned short* GetActualResultBuffer(int* width, int* height) override
    {
        *width = (toggles % 2) ? 2 : 1; // full size while toggled
        *height = 1;
        return pixels;
    }
    bool IsPreviewMode() const override { return preview; }
    float PreviewScalingFactor() const override { return factor; }
    void TogglePreviewMode() override { ++toggles; }
    IResultCropWindow* CropWindow() override { return withCrop ? &crop : nullptr; }
    QString GetPath(int index) const override { return index == 3 ? resultsFolder : QString(); }
    QString MasterPath() const override { return QStringLiteral("/m/master.jpg"); }
    QString GetMergedFilename(int) const override { return merged; }
    IUsageCounters* UsageCounter() override { return withCounter ? &counter : nullptr; }
};

struct Write {
    QString path;
    bool floatFromSeries;
    int width;
    bool cropped;
};

class ResultSaveFlowTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        ini = dir.filePath(QStringLiteral("lastsaveformat.ini"));
    }
    CResultSaveFlow flow()
    {
        CResultSaveFlow f(host, ini);
        f.SetWriter([this](const QString& path, const uint16_t*, int quality, bool floatFromSeries, int width, int,
                           const QString& master, const SCropData* crop) {
            EXPECT_EQ(quality, 100);
            EXPECT_EQ(master, QStringLiteral("/m/master.jpg"));
            writes.push_back({path, floatFromSeries, width, crop != nullptr});
            return writerResult;
        });
        return f;
    }
    // Answers the save dialog with a typed name (after an optional filter
    // choice) and records what it was shown.
    void answerDialog(const QString& typed, const QString& chooseFilter = QString())
    {
        _gui::SetModalHook([this, typed, chooseFilter](QWidget* prompt) {
            auto* dialog = qobject_cast<QFileDialog*>(prompt);
            if (!dialog)
                return answerUnexpectedPrompt(prompt);
            shownFilter = dialog->selectedNameFilter();
            shownStart = dialog->selectedFiles().value(0);
            shownTitle = dialog->windowTitle();
            if (!chooseFilter.isEmpty()) {
                dialog->selectNameFilter(chooseFilter);
                emit dialog->filterSelected(chooseFilter);
            }
            if (typed.isEmpty()) {
                dialog->reject();
                return int(QDialog::Rejected);
            }
            dialog->selectFile(typed);
            shownSuffix = dialog->defaultSuffix();
            static_cast<QDialog*>(dialog)->accept();
            return int(QDialog::Accepted);
        });
    }
    QSettings settings() const { return QSettings(ini, QSettings::IniFormat); }

    QTemporaryDir dir;
    QString ini;
    FakeHost host;
    std::vector<Write> writes;
    bool writerResult = true;
    QString shownFilter, shownStart, shownTitle, shownSuffix;
};

TEST_F(ResultSaveFlowTest, FirstSavePresetsJpegThenRemembersFormatAndFolder)
{
    const QString target = dir.filePath(QStringLiteral("out.tiff"));
    answerDialog(target);
    EXPECT_TRUE(flow().saveResultImage());
    EXPECT_EQ(shownFilter, QStringLiteral("Jpeg 8-Bit (*.jpg)"));
    EXPECT_EQ(shownTitle, QStringLiteral("Ergebnisbild speichern"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].path, target);
    EXPECT_TRUE(writes[0].floatFromSeries); // HDR stage
    EXPECT_FALSE(writes[0].cropped);
    EXPECT_EQ(settings().value("lastSavedFormat").toInt(), 2);
    EXPECT_EQ(settings().value("lastDialogPath").toString(), dir.path());
    EXPECT_EQ(host.counter.saved, 1);
    EXPECT_EQ(host.crop.shown, 0); // no crop window in the HDR stage

    // The next dialog presets the remembered filter and starts in the folder.
    answerDialog(QString());
    EXPECT_FALSE(flow().saveResultImage());
    EXPECT_EQ(shownFilter, QStringLiteral("TIFF 16-Bit (*.tiff)"));
    EXPECT_EQ(QFileInfo(shownStart).absolutePath(), dir.path());
    EXPECT_EQ(host.counter.saved, 1);
}

TEST_F(ResultSaveFlowTest, TypedNameGetsTheSelectedFiltersSuffix)
{
    answerDialog(dir.filePath(QStringLiteral("Bild")), QStringLiteral("PNG 16-Bit (*.png)"));
    EXPECT_TRUE(flow().saveResultImage());
    EXPECT_EQ(shownSuffix, QStringLiteral("png"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].path, dir.filePath(QStringLiteral("Bild.png")));
    EXPECT_EQ(settings().value("lastSavedFormat").toInt(), 7);
}

TEST_F(ResultSaveFlowTest, UnknownTailIsRefusedWithAWarningAndCountsNothing)
{
    settings().setValue("lastSavedFormat", 4);
    QString warned;
    _gui::SetModalHook([&warned](QWidget* prompt) {
        auto* box = qobject_cast<QMessageBox*>(prompt);
        if (!box)
            return answerUnexpectedPrompt(prompt);
        warned = box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|') +
                 box->buttons().value(0)->text();
        box->buttons().value(0)->click();
        return 0;
    });
    const QString path = dir.filePath(QStringLiteral("a.TIF"));
    EXPECT_FALSE(flow().saveResultImage(path));
    EXPECT_EQ(warned, QStringLiteral("Warnung|Dateifehler: ") + path + QStringLiteral(" konnte nicht erstellt werden|Ok"));
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(host.counter.saved, 0);
    EXPECT_EQ(settings().value("lastSavedFormat").toInt(), 4);
}

TEST_F(ResultSaveFlowTest, ResultsFolderAndDefaultNames)
{
    // The dialog shows its start name with the preset filter's suffix: JPEG
    // without "lastsaveformat.ini", TIF when the file lacks the format key.
    const QString results = dir.filePath(QStringLiteral("results"));
    const QString old = dir.filePath(QStringLiteral("old"));
    ASSERT_TRUE(QDir().mkpath(results) && QDir().mkpath(old));
    struct Case {
        QString resultsFolder, remembered, merged, start;
    };
    const Case cases[] = {
        {QString(), QString(), QString(), QStringLiteral("/MyImage.jpg")},
        {results, old, QStringLiteral("M"), results + QStringLiteral("/M.tif")},
        {QString(), old, QStringLiteral("M"), old + QStringLiteral("/M.tif")},
    };
    for (const Case& c : cases) {
        QFile::remove(ini);
        if (!c.remembered.isEmpty())
            settings().setValue("lastDialogPath", c.remembered);
        host.resultsFolder = c.resultsFolder;
        host.merged = c.merged;
        answerDialog(dir.filePath(QStringLiteral("x.jpg")));
        EXPECT_TRUE(flow().saveResultImage());
        EXPECT_EQ(shownStart, c.start);
        // A results folder leaves the remembered folder alone.
        EXPECT_EQ(settings().value("lastDialogPath").toString(),
                  c.resultsFolder.isEmpty() ? dir.path() : c.remembered);
    }
}

TEST_F(ResultSaveFlowTest, CropStage)
{
    host.postProcessing = true;
    host.crop.result.bCancelled = true;
    EXPECT_FALSE(flow().saveResultImage()); // no dialog, no key, no count
    EXPECT_FALSE(QFile::exists(ini));
    EXPECT_EQ(host.counter.saved, 0);

    host.crop.result.bCancelled = false;
    host.crop.result.cropData.strText = QStringLiteral("Caption");
    answerDialog(dir.filePath(QStringLiteral("c.jpg")));
    EXPECT_TRUE(flow().saveResultImage());
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_TRUE(writes[0].cropped);
    EXPECT_FALSE(writes[0].floatFromSeries);

    host.withCrop = false; // no crop window: the crop stage is skipped
    answerDialog(dir.filePath(QStringLiteral("d.jpg")));
    EXPECT_TRUE(flow().saveResultImage());
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_FALSE(writes[1].cropped);
}

TEST_F(ResultSaveFlowTest, PreviewQuestionAndSendTo)
{
    host.preview = true;
    host.factor = 0.5f;
    settings().setValue("lastSavedFormat", 3);
    struct Case {
        bool yes;
        bool sendTo;
        int width;
        const char* text;
    };
    const Case cases[] = {
        {false, false, 1, "Preview-Modus! Neu berechnen?"},
        {true, false, 2, "Preview-Modus! Neu berechnen?"},
        {true, true, 2, "Preview-Modus! Neu berechnen für SendTo?"},
    };
    for (const Case& c : cases) {
        QString asked;
        _gui::SetModalHook([&asked, &c](QWidget* prompt) {
            auto* box = qobject_cast<HDRMessageBox*>(prompt);
            if (!box)
                return answerUnexpectedPrompt(prompt);
            asked = box->text();
            (c.yes ? box->GetYesButton() : box->GetNoButton())->click();
            return 0;
        });
        writes.clear();
        host.toggles = 0;
        EXPECT_TRUE(flow().saveResultImage(dir.filePath(QStringLiteral("p.tif")), c.sendTo));
        EXPECT_EQ(asked, QString::fromUtf8(c.text));
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0].width, c.width);
        EXPECT_EQ(host.toggles, c.yes ? 2 : 0); // toggled back
        EXPECT_EQ(settings().value("lastSavedFormat").toInt(), 0);
    }

    // Factor 1: no question; a failed write reports false but was counted.
    host.factor = 1.0f;
    host.withCounter = true;
    writerResult = false;
    const int before = host.counter.saved;
    EXPECT_FALSE(flow().saveResultImage(dir.filePath(QStringLiteral("q.jpg")), true));
    EXPECT_EQ(host.counter.saved, before + 1);
    EXPECT_EQ(settings().value("lastSavedFormat").toInt(), 0); // send-to keeps it
    host.withCounter = false;
    EXPECT_FALSE(flow().saveResultImage(dir.filePath(QStringLiteral("q.jpg")), true));
}

} // namespace

#include "ui/mainwindow/hdrmainwindow.h"

#include <QMetaObject>

namespace {

class MainWindowSaveTest : public UiTest {};

TEST_F(MainWindowSaveTest, SaveSlotInItsThreeFormsRefusesAnUnknownTail)
{
    HDRMainWindow window(-1, QString());
    const QMetaObject* meta = window.metaObject();
    for (const char* form : {"saveResultImage(QString,bool)", "saveResultImage(QString)", "saveResultImage()"})
        EXPECT_GE(meta->indexOfSlot(form), 0) << form;

    int warnings = 0;
    _gui::SetModalHook([&warnings](QWidget* prompt) {
        auto* box = qobject_cast<QMessageBox*>(prompt);
        if (!box)
            return UiTest::answerUnexpectedPrompt(prompt);
        ++warnings;
        box->buttons().value(0)->click();
        return 0;
    });
    EXPECT_FALSE(window.saveResultImage(QStringLiteral("/nowhere/Bild"), true));
    EXPECT_EQ(warnings, 1);
    EXPECT_FALSE(window.IsPostProcessingStage());
    EXPECT_EQ(window.CropWindow(), nullptr);
    EXPECT_TRUE(window.MasterPath().isEmpty());
    EXPECT_FLOAT_EQ(window.PreviewScalingFactor(), 1.0f);
}

} // namespace
