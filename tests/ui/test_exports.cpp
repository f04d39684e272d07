// The web animation and the depth-map export over a fake export host.

#include "uifixture.h"

#include "ui/mainwindow/resultexports.h"
#include "ui/mainwindow/resultimagewriter.h"
#include "ui/toolkit/hdrdialogs.h"

#include <FreeImage.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <vector>

namespace {

struct Counter : IUsageCounters {
    QStringList keys;
    void HandleValue(const QString& key, int) override { keys << key; }
};

struct Crop : IResultCropWindow {
    Crop() { result.bCancelled = false; }
    SCropResult result;
    SCropResult Show() override { return result; }
    void Reset() override {}
    void DrawText(QPainter&, const SCropData&) const override {}
};

// W x H images: the result bright (60000), the unprocessed image dark (1000).
struct Host : IResultExportHost {
    int width = 20;
    int height = 10;
    std::vector<uint16_t> after, before;
    Crop crop;
    Counter counter;
    QString merged;
    Host() { resize(20, 10); }
    void resize(int w, int h)
    {
        width = w;
        height = h;
        after.assign(size_t(w) * size_t(h) * 3, 60000);
        before.assign(size_t(w) * size_t(h) * 3, 1000);
    }
    QWidget* DialogParent() override { return nullptr; }
    bool IsPostProcessingStage() const override { return true; }
    bool IsHDRStage() const override { return false; }
    const unsigned short* GetActualResultBuffer(int* w, int* h) override
    {
        *w = width;
        *h = height;
        return after.data();
    }
    bool IsPreviewMode() const override { return false; }
    float PreviewScalingFactor() const override { return 1.0f; }
    void TogglePreviewMode() override {}
    IResultCropWindow* CropWindow() override { return &crop; }
    QString GetPath(int) const override { return QString(); }
    QString MasterPath() const override { return QStringLiteral("/photos/master.jpg"); }
    QString GetMergedFilename(int) const override { return merged; }
    IUsageCounters* UsageCounter() override { return &counter; }
};

struct Frame {
    QString path;
    int quality, width, height;
    bool cropped;
    QString master;
    uint16_t first, last; // first and last sample of the frame
};

class ExportTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        ini = dir.filePath(QStringLiteral("lastsaveformat.ini"));
    }
    CResultSaveFlow::WriteFn recorder()
    {
        return [this](const QString& path, const uint16_t* rgb, int quality, bool, int w, int h, const QString& master,
                      const SCropData* crop) {
            frames.push_back({path, quality, w, h, crop != nullptr, master, rgb[0], rgb[size_t(w) * h * 3 - 1]});
            return true;
        };
    }
    CWebAnimExport animation()
    {
        CWebAnimExport anim(
            host,
            [this](int* w, int* h) {
                *w = beforeWidth < 0 ? host.width : beforeWidth;
                *h = host.height;
                return withBefore ? host.before.data() : nullptr;
            },
            QStringLiteral("lumivex.invalid/"), ini);
        anim.SetWriter(recorder());
        anim.SetOpenUrl([this](const QUrl& url) {
            opened << url;
            return true;
        });
        anim.SetClock([] { return QDateTime(QDate(2026, 3, 4), QTime(7, 8, 9)); });
        return anim;
    }
    // Answers the folder or file dialog with the given choice (empty: cancel)
    // and message boxes by recording their text.
    void answer(const QString& choice)
    {
        _gui::SetModalHook([this, choice](QWidget* prompt) {
            if (auto* box = qobject_cast<QMessageBox*>(prompt)) {
                messages << box->text();
                return int(QDialog::Rejected);
            }
            if (auto* window = qobject_cast<HDRProgressWindow*>(prompt)) {
                ++progressPrompts; // an error waits for the user
                window->GetContinueButton()->click();
                return int(QDialog::Accepted);
            }
            auto* dialog = qobject_cast<QFileDialog*>(prompt);
            if (!dialog)
                return answerUnexpectedPrompt(prompt);
            shownStart = dialog->selectedFiles().value(0);
            shownFilter = dialog->selectedNameFilter();
            ++dialogs;
            if (choice.isEmpty()) {
                dialog->reject();
                return int(QDialog::Rejected);
            }
            dialog->selectFile(choice);
            static_cast<QDialog*>(dialog)->accept();
            return int(QDialog::Accepted);
        });
    }

    QTemporaryDir dir;
    QString ini;
    Host host;
    bool withBefore = true;
    int beforeWidth = -1;
    std::vector<Frame> frames;
    QList<QUrl> opened;
    QStringList messages;
    QString shownStart, shownFilter;
    int dialogs = 0;
    int progressPrompts = 0;
};

TEST(WebAnimationTest, FrameSizesLimitOnlyTheLongSide)
{
    struct SCase {
        int w, h, tw, th;
    };
    const SCase cases[] = {{3000, 2000, 1280, 853}, {2000, 3000, 682, 1024}, {1500, 1500, 1280, 1280},
                           {1200, 1100, 1200, 1100}, {1280, 5000, 262, 1024}, {100, 50, 100, 50}};
    for (const SCase& c : cases)
        EXPECT_EQ(CWebAnimExport::FrameSize(c.w, c.h), QSize(c.tw, c.th)) << c.w << "x" << c.h;
}

TEST(WebAnimationTest, WipeColumnsAndFrames)
{
    const int expected[] = {1, 2, 4, 5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CWebAnimExport::BoundaryColumn(1 + i, 7), expected[i]);
        EXPECT_EQ(CWebAnimExport::BoundaryColumn(10 + i, 7), expected[i]);
    }
    const int w = 7, h = 2;
    std::vector<uint16_t> before(w * h * 3, 1), after(w * h * 3, 2), out(w * h * 3, 0);
    for (int frame = 0; frame < CWebAnimExport::kFrames; ++frame) {
        const uint16_t* shown = CWebAnimExport::ComposeFrame(frame, before.data(), after.data(), w, h, out.data());
        auto column = [&](int x) { return shown[size_t(1 * w + x) * 3 + 2]; }; // second row, blue
        for (int x = 0; x < w; ++x) {
            int want = 1;
            if (frame >= 5 && frame <= 9)
                want = 2;
            else if (frame >= 1 && frame <= 4)
                want = x < CWebAnimExport::BoundaryColumn(frame, w) ? 2 : 1;
            else if (frame >= 10)
                want = x < CWebAnimExport::BoundaryColumn(frame, w) ? 1 : 2;
            EXPECT_EQ(column(x), want) << "frame " << frame << " x " << x;
        }
    }
}

TEST(WebAnimationTest, PageLinesHeadingAndEscaping)
{
    const QString none = CWebAnimExport::PageText(QString(), QString(), QStringLiteral("D"), QStringLiteral("T"),
                                                  QStringLiteral("lumivex.invalid/"));
    QStringList lines = none.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.takeLast(), QString()); // every line ends in a line feed
    EXPECT_EQ(lines.size(), 83);
    EXPECT_EQ(lines[0], QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                                       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"));
    EXPECT_EQ(lines[1], QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\">"));
    EXPECT_EQ(lines[5], QStringLiteral("var DelayMs = 1000;"));
    EXPECT_EQ(lines[8], QStringLiteral("    AnimationArr[0][1] = 14;"));
    EXPECT_EQ(lines[59], QStringLiteral("<div id=\"frame\">"));
    EXPECT_TRUE(lines[72].startsWith(QStringLiteral("<div id=\"LoadAllImages\"> <img src=\"ImageSequence/0000.jpg\" "
                                                    "id=\"FP0\"/>")));
    EXPECT_TRUE(lines[72].endsWith(QStringLiteral("<img src=\"ImageSequence/0013.jpg\" id=\"FP13\"/></div>")));
    EXPECT_EQ(lines[73], QStringLiteral(" <font size=\"4\" color=\"#cfcfcf\">D, T</font></br></br>"));
    EXPECT_TRUE(lines[74].contains(QStringLiteral("<a href=\"http://lumivex.invalid/\">")));
    EXPECT_EQ(lines[78], QStringLiteral("    window.onload = function() \t{"));
    EXPECT_EQ(lines[82], QStringLiteral("</html>"));

    auto heading = [](const QString& title, const QString& author) {
        return CWebAnimExport::PageText(title, author, QString(), QString(), QString()).split(QLatin1Char('\n'))[59];
    };
    EXPECT_EQ(heading(QStringLiteral("Title"), QString()), QStringLiteral(" <font size=\"6\" color=\"#cfcfcf\"> Title</br>"));
    EXPECT_EQ(heading(QString(), QStringLiteral("Anna")), QStringLiteral(" <font size=\"6\" color=\"#cfcfcf\"> Anna</br>"));
    EXPECT_EQ(heading(QStringLiteral("<b>&"), QStringLiteral("Jörg €")),
              QStringLiteral(" <font size=\"6\" color=\"#cfcfcf\"> &lt;b&gt;&amp; - Jörg ?</br>"));
}

TEST_F(ExportTest, AnimationWritesFourteenFramesAndThePage)
{
    host.resize(1500, 1500);
    answer(dir.path());
    CWebAnimExport anim = animation();
    ASSERT_TRUE(anim.Run(85, QStringLiteral("Anna"), QStringLiteral("Bucht")));
    EXPECT_EQ(host.counter.keys, QStringList{QStringLiteral("m_iWebAnimCreated")});
    const QString folder = dir.path() + QStringLiteral("/VERSION_NAME LUMIVEX_html_20260304_070809");
    EXPECT_EQ(anim.ExportFolder(), folder);
    ASSERT_EQ(frames.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(frames[i].path, folder + QString::asprintf("/ImageSequence/%04d.jpg", i));
        EXPECT_EQ(frames[i].quality, 85);
        EXPECT_EQ(QSize(frames[i].width, frames[i].height), QSize(1280, 1280));
        EXPECT_FALSE(frames[i].cropped);
        EXPECT_TRUE(frames[i].master.isEmpty());
    }
    // Frame 0 is the unprocessed image, 5..9 the result; 2 shows both.
    EXPECT_EQ(frames[0].first, 1000);
    EXPECT_EQ(frames[7].first, 60000);
    EXPECT_EQ(frames[2].first, 60000);
    EXPECT_EQ(frames[2].last, 1000);
    EXPECT_EQ(frames[12].first, 1000);
    EXPECT_EQ(frames[12].last, 60000);
    ASSERT_TRUE(QDir(folder + QStringLiteral("/ImageSequence")).exists());
    QFile page(folder + QStringLiteral("/Web.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("> Bucht - Anna</br>")));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(folder + QStringLiteral("/Web.html"))});
    // The chosen folder is not remembered.
    EXPECT_FALSE(QFile::exists(ini));
}

TEST_F(ExportTest, AnimationCropDataOnlyWithASelectionOrCaption)
{
    answer(dir.path());
    host.crop.result.cropData.strText = QStringLiteral("Caption");
    ASSERT_TRUE(animation().Run(90, QString(), QString()));
    ASSERT_EQ(frames.size(), 14u);
    EXPECT_TRUE(frames[0].cropped);
    EXPECT_TRUE(frames[13].cropped);
}

TEST_F(ExportTest, AnimationEndsEarlyWithoutImagesOrChoices)
{
    // No unprocessed image, or one of another size: no dialog at all.
    withBefore = false;
    EXPECT_FALSE(animation().Run(90, QString(), QString()));
    withBefore = true;
    beforeWidth = 19;
    EXPECT_FALSE(animation().Run(90, QString(), QString()));
    beforeWidth = -1;
    // The folder chooser cancelled; then the crop window cancelled.
    answer(QString());
    EXPECT_FALSE(animation().Run(90, QString(), QString()));
    answer(dir.path());
    host.crop.result.bCancelled = true;
    EXPECT_FALSE(animation().Run(90, QString(), QString()));
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(frames.empty());
    EXPECT_TRUE(host.counter.keys.isEmpty());
}

TEST_F(ExportTest, UnwritablePageIsReportedAndNothingIsOpened)
{
    answer(dir.path());
    const QString folder = dir.path() + QStringLiteral("/VERSION_NAME LUMIVEX_html_20260304_070809");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Web.html"))); // a folder in the page's place
    EXPECT_FALSE(animation().Run(90, QString(), QString()));
    EXPECT_EQ(frames.size(), 14u);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(progressPrompts, 1);
}

TEST(DepthMapTest, GreyTakesTheGreenSample)
{
    const uint16_t source[6] = {100, 40000, 7, 1, 2, 3};
    uint16_t grey[6] = {};
    CDepthMapExport::GreyFill(source, 2, 1, grey);
    const uint16_t expected[6] = {40000, 40000, 40000, 2, 2, 2};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(grey[i], expected[i]);
}

TEST_F(ExportTest, EmptyDepthMapWarnsBeforeAnyDialog)
{
    answer(dir.filePath(QStringLiteral("never.tiff")));
    CDepthMapExport exporter(host, ini);
    exporter.SetWriter(recorder());
    EXPECT_FALSE(exporter.Run(true, SDepthMap()));
    EXPECT_FALSE(exporter.Run(false, SDepthMap{4, 4, host.after.data()}));
    EXPECT_EQ(messages, QStringList(2, QStringLiteral("Keine Tiefenkarte vorhanden.")));
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(frames.empty());
}

TEST_F(ExportTest, DepthMapFollowsTheTypedSuffixAndCarriesTheMastersMetadata)
{
    const uint16_t map[2 * 2 * 3] = {100, 40000, 7, 0, 65535, 0, 5, 5, 5, 1, 2, 3};
    const QString target = dir.filePath(QStringLiteral("depth.png"));
    answer(target);
    CDepthMapExport exporter(host, ini);
    std::vector<Frame> written;
    exporter.SetWriter([&written, this](const QString& path, const uint16_t* rgb, int quality, bool floatFromSeries,
                                        int w, int h, const QString& master, const SCropData* crop) {
        EXPECT_FALSE(floatFromSeries);
        written.push_back({path, quality, w, h, crop != nullptr, master, rgb[0], rgb[11]});
        return ResultImageWriter::SaveImageFile(path, rgb, quality, false, w, h, QString(), nullptr);
    });
    EXPECT_TRUE(exporter.Run(true, SDepthMap{2, 2, map}));
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].path, target);
    EXPECT_EQ(written[0].quality, 100);
    EXPECT_EQ(written[0].master, QStringLiteral("/photos/master.jpg"));
    EXPECT_EQ(written[0].first, 40000);
    EXPECT_EQ(written[0].last, 2);
    EXPECT_TRUE(shownStart.endsWith(QStringLiteral("/MyImage_depthmap")));
    EXPECT_EQ(shownFilter, QStringLiteral("TIFF 16-Bit (*.tiff)"));
    EXPECT_EQ(FreeImage_GetFileType(QFile::encodeName(target).constData(), 0), FIF_PNG);
    // Without a results folder the dialog's folder is remembered.
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("lastDialogPath").toString(), dir.path());
}

} // namespace
