// The save-result flow over a fake export host, printing, and the main
// window with its crop window saving a cropped and captioned result.

#include "uifixture.h"

#include "document/postprocessing.h"
#include "ui/editors/hdrcropwindow.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/resultprinter.h"
#include "ui/mainwindow/resultsaveflow.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrdockwidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <tuple>
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
    mutable int captions = 0;
    SCropResult Show() override
    {
        ++shown;
        return result;
    }
    void Reset() override {}
    void DrawText(QPainter& painter, const SCropData& data) const override
    {
        ++captions;
        DrawCropCaptionOnDevice(painter, data);
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
    // A picture of its own (printing); empty: the one- or two-pixel result.
    std::vector<uint16_t> image;
    int imageW = 0, imageH = 0;

    QWidget* DialogParent() override { return nullptr; }
    bool IsPostProcessingStage() const override { return postProcessing; }
    bool IsHDRStage() const override { return !postProcessing; }
    const unsigned short* GetActualResultBuffer(int* width, int* height) override
    {
        if (!image.empty() || imageW > 0) {
            *width = image.empty() ? 0 : imageW;
            *height = image.empty() ? 0 : imageH;
            return image.empty() ? nullptr : image.data();
        }
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
    SResultWriterContext WriterContext() override
    {
        SResultWriterContext context;
        context.pCaptionPainter = &crop;
        return context;
    }
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

// A write that fails (a full disk, a folder that went away) is no saved image.
TEST_F(ResultSaveFlowTest, FailedWriteCountsNothing)
{
    writerResult = false;
    const QString path = dir.filePath(QStringLiteral("full.tiff"));
    EXPECT_FALSE(flow().saveResultImage(path));
    EXPECT_EQ(writes.size(), 1u);
    EXPECT_EQ(host.counter.saved, 0);
    writerResult = true;
    EXPECT_TRUE(flow().saveResultImage(path));
    EXPECT_EQ(host.counter.saved, 1);
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

    // Factor 1: no question; a failed write reports false and counts nothing.
    host.factor = 1.0f;
    host.withCounter = true;
    writerResult = false;
    const int before = host.counter.saved;
    EXPECT_FALSE(flow().saveResultImage(dir.filePath(QStringLiteral("q.jpg")), true));
    EXPECT_EQ(host.counter.saved, before);
    EXPECT_EQ(settings().value("lastSavedFormat").toInt(), 0); // send-to keeps it
    host.withCounter = false;
    EXPECT_FALSE(flow().saveResultImage(dir.filePath(QStringLiteral("q.jpg")), true));
}

TEST_F(ResultSaveFlowTest, Tif32AsksBeforeReplacingTheTifFileTheDialogNeverNamed)
{
    const QString tif = dir.filePath(QStringLiteral("b.tif"));
    const QString tif32 = dir.filePath(QStringLiteral("b.tif32"));
    struct Case {
        bool exists;
        bool chosen; // typed into the dialog, else passed in
        int answer;  // -1: no question expected, 0 "Nein", 1 "Ja"
        bool written;
    };
    const Case cases[] = {
        {false, true, -1, true}, {true, true, 0, false}, {true, true, 1, true}, {true, false, -1, true}};
    for (const Case& c : cases) {
        QFile::remove(tif);
        if (c.exists) {
            QFile old(tif);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        QString asked;
        _gui::SetModalHook([&](QWidget* prompt) {
            if (auto* dialog = qobject_cast<QFileDialog*>(prompt)) {
                dialog->selectFile(tif32);
                static_cast<QDialog*>(dialog)->accept();
                return int(QDialog::Accepted);
            }
            auto* box = qobject_cast<HDRMessageBox*>(prompt);
            if (!box || c.answer < 0)
                return answerUnexpectedPrompt(prompt);
            asked = box->windowTitle() + QLatin1Char('|') + box->text();
            EXPECT_EQ(box->defaultButton(), box->GetNoButton());
            (c.answer ? box->GetYesButton() : box->GetNoButton())->click();
            return 0;
        });
        writes.clear();
        const int counted = host.counter.saved;
        EXPECT_EQ(flow().saveResultImage(c.chosen ? QString() : tif32), c.written);
        EXPECT_EQ(writes.size(), c.written ? 1u : 0u);
        EXPECT_EQ(host.counter.saved, counted + (c.written ? 1 : 0));
        if (c.answer >= 0)
            EXPECT_EQ(asked, QStringLiteral("Warnung|Die Datei ") + tif +
                                 QStringLiteral(" gibt es bereits. Soll sie ersetzt werden?"));
    }
}

TEST_F(ResultSaveFlowTest, WriteUsesTheCropWindowsCaptionPainter)
{
    host.postProcessing = true;
    host.crop.result.bCancelled = false;
    host.crop.result.cropData.strText = QStringLiteral("A");
    const QString target = dir.filePath(QStringLiteral("c.png"));
    answerDialog(target);
    CResultSaveFlow real(host, ini); // the program's own writer
    EXPECT_TRUE(real.saveResultImage());
    EXPECT_EQ(host.crop.captions, 1);
    EXPECT_TRUE(QFile::exists(target));
}

// ---- printing ----

class ResultPrintTest : public ResultSaveFlowTest {
protected:
    // Answers the print dialog with a PDF file on A4 (or cancels it) and
    // records the orientation the printer came with.
    void answerPrint(bool accept)
    {
        _gui::SetModalHook([this, accept](QWidget* prompt) {
            auto* dialog = qobject_cast<QPrintDialog*>(prompt);
            if (!dialog)
                return answerUnexpectedPrompt(prompt);
            QPrinter* printer = dialog->printer();
            orientation = printer->pageLayout().orientation();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPageSize(QPageSize(QPageSize::A4));
            return int(accept ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    void setImage(int w, int h)
    {
        host.imageW = w;
        host.imageH = h;
        host.image.assign(size_t(w) * size_t(h) * 3, 0);
        for (size_t i = 0; i < host.image.size(); ++i)
            host.image[i] = uint16_t((i * 997) & 0xffff);
    }
    QByteArray pdfBytes() const
    {
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The page size in points, from the first "/MediaBox [0 0 w h]".
    static QSize mediaBox(const QByteArray& bytes)
    {
        const qsizetype at = bytes.indexOf("/MediaBox [");
        if (at < 0)
            return QSize();
        const QList<QByteArray> numbers =
            bytes.mid(at + 11, bytes.indexOf(']', at) - at - 11).simplified().split(' ');
        if (numbers.size() != 4)
            return QSize();
        return QSize(qRound(numbers[2].toDouble()), qRound(numbers[3].toDouble()));
    }
    QString pdf = dir.filePath(QStringLiteral("print.pdf"));
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

TEST_F(ResultPrintTest, WideImagesPrintInLandscapeFittedToThePage)
{
    struct Case {
        int w, h;
        QPageLayout::Orientation orientation;
        QSize mediaBox;
    };
    const Case cases[] = {{60, 40, QPageLayout::Landscape, QSize(842, 595)},
                          {40, 60, QPageLayout::Portrait, QSize(595, 842)},
                          {50, 50, QPageLayout::Portrait, QSize(595, 842)}};
    for (const Case& c : cases) {
        setImage(c.w, c.h);
        QFile::remove(pdf);
        answerPrint(true);
        EXPECT_TRUE(ResultPrinter::PrintResultImage(host));
        EXPECT_EQ(orientation, c.orientation) << c.w << "x" << c.h;
        const QByteArray bytes = pdfBytes();
        EXPECT_EQ(mediaBox(bytes), c.mediaBox) << c.w << "x" << c.h;
        const QByteArray keep = qgetenv("LUMIVEX_RENDER_DIR");
        if (!keep.isEmpty())
            QFile::copy(pdf, QString::fromLocal8Bit(keep) + QStringLiteral("/print_%1x%2.pdf").arg(c.w).arg(c.h));
        EXPECT_TRUE(bytes.contains("/Width " + QByteArray::number(c.w)));
        EXPECT_TRUE(bytes.contains("/Height " + QByteArray::number(c.h)));
    }
    // Where the 60 x 40 image lands: inflate the page's content and read the
    // image's placement in device units (1200 dpi). It sits 15 points in from
    // the printable area's top left, as wide as that area less 30 points.
    setImage(60, 40);
    answerPrint(true);
    ASSERT_TRUE(ResultPrinter::PrintResultImage(host));
    const QByteArray bytes = pdfBytes();
    QString placement;
    for (qsizetype at = bytes.indexOf("stream"); at >= 0; at = bytes.indexOf("stream", at + 1)) {
        const qsizetype object = bytes.lastIndexOf(" obj", at);
        if ((at >= 3 && bytes.mid(at - 3, 3) == "end") || !bytes.mid(object, at - object).contains("/FlateDecode"))
            continue;
        qsizetype start = at + 6;
        start += bytes.at(start) == '\r' ? 2 : 1;
        QByteArray packed = bytes.mid(start, bytes.indexOf("endstream", at) - start);
        packed.prepend(QByteArray("\x00\x10\x00\x00", 4)); // qUncompress' size hint
        const QByteArray content = qUncompress(packed);
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("([-\\d.]+) 0 0 ([-\\d.]+) ([-\\d.]+) ([-\\d.]+) cm\\s+60 0 0 -40 0 40 cm /Im"))
                .match(QString::fromLatin1(content));
        if (m.hasMatch()) {
            placement = QStringLiteral("%1 x %2 at %3, %4")
                            .arg(qRound(m.captured(1).toDouble() * 60 * 72 / 1200))
                            .arg(qRound(m.captured(2).toDouble() * 40 * 72 / 1200))
                            .arg(m.captured(3).toDouble())
                            .arg(m.captured(4).toDouble());
            break;
        }
    }
    // A4 landscape less Qt's default margins is 822 x 575 points; fitted 822 x 548.
    EXPECT_EQ(placement.toStdString(), "792 x 518 at 250, 250");

    // The margin is 15 points at any resolution.
    EXPECT_EQ(ResultPrinter::MarginForResolution(72), 15);
    EXPECT_EQ(ResultPrinter::MarginForResolution(1200), 250);
    EXPECT_EQ(ResultPrinter::MarginForResolution(300), 63);
}

TEST_F(ResultPrintTest, CancelPrintsNothingAndAMissingResultWarnsAfterTheDialog)
{
    setImage(60, 40);
    answerPrint(false);
    EXPECT_FALSE(ResultPrinter::PrintResultImage(host));
    EXPECT_FALSE(QFile::exists(pdf));

    host.image.clear(); // no document: null, 0 x 0
    int dialogs = 0;
    QString warned;
    _gui::SetModalHook([&](QWidget* prompt) {
        if (qobject_cast<QPrintDialog*>(prompt)) {
            ++dialogs;
            return int(QDialog::Accepted);
        }
        auto* box = qobject_cast<HDRMessageBox*>(prompt);
        if (!box)
            return answerUnexpectedPrompt(prompt);
        warned = box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|') + box->GetNoButton()->text();
        box->GetNoButton()->click();
        return 0;
    });
    EXPECT_FALSE(ResultPrinter::PrintResultImage(host));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(warned, QStringLiteral("Warnung|Nicht genug Arbeitsspeicher vorhanden.|Ok"));
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace

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

namespace {

class CropWindowFactory : public IWindowFactory {
public:
    IOptionsWindow* CreateOptionsWindow(QWidget*) override { return nullptr; }
    IStyleColorDialog* CreateStyleSelectWindow(QWidget*) override { return nullptr; }
    IResultCropWindow* CreateCropWindow(QWidget* parent) override { return crop = new CCropWindow(parent); }
    CCropWindow* crop = nullptr;
};

TEST_F(MainWindowSaveTest, CropWindowComesFromTheFactoryAndANewProjectResetsIt)
{
    CropWindowFactory factory;
    HDRMainWindow window(-1, QString(), &factory);
    ASSERT_NE(factory.crop, nullptr);
    EXPECT_EQ(window.CropWindow(), factory.crop);
    EXPECT_EQ(factory.crop->parent(), &window);
    EXPECT_EQ(window.findChild<QDialog*>(QStringLiteral("crop_window")), factory.crop);
    EXPECT_EQ(window.WriterContext().pCaptionPainter, factory.crop);

    factory.crop->m_pSubTitleEdit->setText(QStringLiteral("Abendrot"));
    EXPECT_EQ(factory.crop->GetCropData().strText, QStringLiteral("Abendrot"));
    // A new project resets the window when it discards a document.
    QTemporaryDir photos;
    const QString photo = photos.filePath(QStringLiteral("dusk.png"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(200, 120, 60));
    ASSERT_TRUE(image.save(photo));
    window.InterpretReceivedMessage(photo);
    ASSERT_NE(window.m_pExposureSeries, nullptr);
    window.newProject();
    EXPECT_TRUE(factory.crop->GetCropData().strText.isEmpty());
    EXPECT_TRUE(factory.crop->m_pSubTitleEdit->text().isEmpty());

    // Printing without a document: the dialog, then the memory warning.
    QStringList prompts;
    _gui::SetModalHook([&prompts](QWidget* prompt) {
        prompts << QString::fromLatin1(prompt->metaObject()->className());
        if (auto* box = qobject_cast<HDRMessageBox*>(prompt))
            box->GetNoButton()->click();
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(window.printResultImage());
    ASSERT_EQ(prompts.size(), 2);
    EXPECT_EQ(prompts.value(1), QStringLiteral("HDRMessageBox"));
    EXPECT_GE(window.metaObject()->indexOfSlot("printResultImage()"), 0);
}

} // namespace

namespace {

class StagePostProcessingDock : public HDRDockWidget, public IPostProcessingDock {
public:
    explicit StagePostProcessingDock(QWidget* parent)
        : HDRDockWidget(QStringLiteral("pp"), parent, Qt::WindowFlags())
    {
    }
    QDockWidget* Dock() override { return this; }
    void GetInfoText(QString& text) override { text.clear(); }
    void SetCurrentPostProcessing(CPostProcessing*) override {}
};

class StageTile : public IPresetTile {
public:
    QSize LabelSize() const override { return QSize(40, 30); }
    void UpdateLabelPixmap() override {}
    void SetCalculated(bool) override {}
    void EnableModifiedButtons() override {}
};

class SaveStageFactory : public CropWindowFactory {
public:
    IPostProcessingDock* CreatePostProcessingDock(QWidget* parent) override
    {
        return new StagePostProcessingDock(parent);
    }
};

TEST_F(MainWindowSaveTest, PostProcessingResultIsCroppedAndCaptionedThroughTheCropWindow)
{
    QTemporaryDir dir;
    lumivex::SetApplicationFolder(QStringLiteral(LUMIVEX_APP_DIR));
    COptions::getInstance()->m_bPreviewMode = true; // a small image: no preview question
    QImage picture(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            picture.setPixel(x, y, qRgb(x * 2, 100, 40 + y));
    const QString source = dir.filePath(QStringLiteral("street.png"));
    ASSERT_TRUE(picture.save(source, "PNG"));

    SaveStageFactory factory;
    HDRMainWindow window(-1, QString(), &factory);
    window.InterpretReceivedMessage(source);
    ASSERT_TRUE(window.IsPostProcessingStage());
    CPostProcessing chain;
    StageTile tile;
    window.updatePostProcessing(&chain, &tile);
    int w = 0, h = 0;
    ASSERT_NE(window.GetActualResultBuffer(&w, &h), nullptr);
    ASSERT_GT(w, 0);

    const QString target = dir.filePath(QStringLiteral("result.png"));
    _hlp::SRangedRectRel chosen;
    _gui::SetModalHook([&](QWidget* prompt) {
        if (prompt == factory.crop) {
            factory.crop->show(); // renders the result into the view
            CCropLabel* view = factory.crop->m_pCropLabel;
            const QPoint corner = view->Selection().Handle(2)->GetPos();
            for (auto [type, pos, button, buttons] :
                 {std::tuple{QEvent::MouseMove, corner, Qt::NoButton, Qt::MouseButtons(Qt::NoButton)},
                  std::tuple{QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::MouseButtons(Qt::LeftButton)},
                  std::tuple{QEvent::MouseMove, corner - QPoint(120, 80), Qt::NoButton,
                             Qt::MouseButtons(Qt::LeftButton)},
                  std::tuple{QEvent::MouseButtonRelease, corner - QPoint(120, 80), Qt::LeftButton,
                             Qt::MouseButtons(Qt::NoButton)}}) {
                QMouseEvent event(type, QPointF(pos), view->mapToGlobal(QPointF(pos)), button, buttons,
                                  Qt::NoModifier);
                QCoreApplication::sendEvent(view, &event);
            }
            chosen = view->GetSelectionRel();
            factory.crop->m_pSubTitleEdit->setText(QStringLiteral("Hi"));
            factory.crop->m_pSaveButton->click();
            return factory.crop->result();
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(prompt)) {
            dialog->selectFile(target);
            static_cast<QDialog*>(dialog)->accept();
            return int(QDialog::Accepted);
        }
        return answerUnexpectedPrompt(prompt);
    });
    EXPECT_TRUE(window.saveResultImage());
    ASSERT_LT(chosen.Right(), 0.9f);
    const QImage written(target);
    ASSERT_FALSE(written.isNull());
    // The result the user sees, cut to the selection (edges truncated).
    const float fw = float(w), fh = float(h);
    EXPECT_EQ(written.size(), QSize(int(chosen.Right() * fw) - int(chosen.Left() * fw),
                                    int(chosen.Bottom() * fh) - int(chosen.Top() * fh)));
    // The caption is burnt in: light pixels the picture itself never has.
    int light = 0;
    for (int y = 0; y < written.height(); ++y)
        for (int x = 0; x < written.width(); ++x)
            light += qBlue(written.pixel(x, y)) >= 170 && qGreen(written.pixel(x, y)) >= 170;
    EXPECT_GT(light, 5);

    CPostProcessing::DeleteBuffer();
    lumivex::SetApplicationFolder(QString());
}

} // namespace
