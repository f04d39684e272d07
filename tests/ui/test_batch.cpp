// Batch processing: the folder scan and names, the job runner on real files,
// the series box and the batch window from scan to written files.

#include "uifixture.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/kernelrunner.h"
#include "engine/openclmanager.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "engine/core/random.h"
#include "platform/userpaths.h"
#include "ui/toolkit/toolkitseams.h"
#include "ui/tools/batchjob.h"
#include "ui/tools/hdrbatchexposurewidget.h"
#include "ui/tools/hdrbatchwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QTranslator>
#include <QKeyEvent>
#include <QTemporaryFile>
#include <QTimer>

#include <unistd.h>

#include <FreeImage.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace BF = BatchFiles;

namespace {

// A w x h photograph-like picture (gradients, a bright disc) of brightness
// `level`, saved with FreeImage in the format the name's tail names.
bool WriteImage(const QString& path, int w, int h, int level)
{
    FIBITMAP* b = FreeImage_Allocate(w, h, 24);
    if (!b)
        return false;
    for (int y = 0; y < h; ++y) {
        BYTE* row = FreeImage_GetScanLine(b, y);
        for (int x = 0; x < w; ++x) {
            const int d = (x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2);
            const int disc = d < (h / 4) * (h / 4) ? 80 : 0;
            row[3 * x + FI_RGBA_RED] = BYTE(std::min(255, level + x * 100 / w + disc));
            row[3 * x + FI_RGBA_GREEN] = BYTE(std::min(255, level + y * 90 / h));
            row[3 * x + FI_RGBA_BLUE] = BYTE(std::min(255, level / 2 + ((x / 8 + y / 8) % 2) * 40));
        }
    }
    const QByteArray name = QFile::encodeName(path);
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFIFFromFilename(name.constData());
    const bool ok = FreeImage_Save(fif, b, name.constData(), fif == FIF_JPEG ? JPEG_QUALITYSUPERB : 0);
    FreeImage_Unload(b);
    return ok;
}

bool WriteText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

QSize ImageSize(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    FIBITMAP* b = FreeImage_Load(FreeImage_GetFileType(name.constData(), 0), name.constData(), 0);
    if (!b)
        return QSize();
    const QSize s(int(FreeImage_GetWidth(b)), int(FreeImage_GetHeight(b)));
    FreeImage_Unload(b);
    return s;
}

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

bool WaitFor(const std::function<bool()>& done, int ms = 60000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

// A chain of landed operators from the shipped catalogue (by default one
// colour operator).
std::unique_ptr<CPostProcessing> ColourChain(const QStringList& kernels = {"MP_calcPixelColorIntensity"})
{
    auto chain = std::make_unique<CPostProcessing>();
    CPPOperatorCatalogue catalogue;
    if (catalogue.Load()) {
        for (const QString& kernel : kernels) {
            const int i = catalogue.IndexOfId(PP_OperatorId(kernel));
            if (i >= 0)
                chain->m_vecOperators.append(catalogue.MakeOperator(i));
        }
    }
    return chain;
}

class FakeOperators : public IBatchOperatorSource {
public:
    QStringList HDRPresetTexts() const override { return {"Natürlich", "Kräftig", "Sanft"}; }
    QString CurrentHDRPresetText() const override { return m_strCurrent; }
    void SelectHDRPresetText(const QString& text) override
    {
        if (HDRPresetTexts().contains(text))
            m_strCurrent = text;
    }
    QString GetKernelName() const override { return QStringLiteral("MP_calcHDRfusion"); }
    void GetParameterValues(float values[10][256]) const override
    {
        std::memset(values, 0, sizeof(float) * 10 * 256);
        values[0][0] = 0.5f;
        values[1][0] = 0.5f;
    }
    QString m_strCurrent = QStringLiteral("Kräftig");
};

class FakePresets : public IBatchPresetSource {
public:
    FakePresets()
    {
        m_Chains.push_back(ColourChain());
        m_Chains.push_back(std::make_unique<CPostProcessing>());
    }
    int TileCount() const override { return int(m_Chains.size()); }
    QString TileTitle(int i) const override { return i == 0 ? QStringLiteral("Farbe") : QStringLiteral("Neutral"); }
    CPostProcessing* TileChain(int i) override
    {
        return i >= 0 && i < int(m_Chains.size()) ? m_Chains[size_t(i)].get() : nullptr;
    }
    std::vector<std::unique_ptr<CPostProcessing>> m_Chains;
};

class RecordingReporter : public IBatchRunReporter {
public:
    void Message(const QString& text, unsigned type) override { m_Messages.append({text, type}); }
    void Fraction(float f) override { m_Fractions.append(f); }
    void BoxDone(quint32 box) override
    {
        m_Done.append(box);
        if (m_bCancelAfterFirst && m_pCancel)
            *m_pCancel = true;
    }
    double Now() override
    {
        const double v = m_dClock;
        m_dClock += m_dStep;
        return v;
    }
    QStringList Texts(unsigned type) const
    {
        QStringList l;
        for (const auto& m : m_Messages)
            if (m.second == type)
                l << m.first;
        return l;
    }
    QVector<QPair<QString, unsigned>> m_Messages;
    QVector<float> m_Fractions;
    QVector<quint32> m_Done;
    double m_dClock = 0.0;
    double m_dStep = 0.0;
    bool m_bCancelAfterFirst = false;
    std::atomic<bool>* m_pCancel = nullptr;
};

// The run happens on a worker thread, as in the batch window.
int RunOnWorker(CBatchRunner& runner, const QVector<SBatchJob>& jobs)
{
    int written = -1;
    std::unique_ptr<QThread> t(QThread::create([&] { written = runner.Run(jobs); }));
    t->start();
    while (!t->wait(10))
        QCoreApplication::processEvents();
    return written;
}

class BatchTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_Dir.isValid());
        CDocumentSettings::SetPreviewMode(true);
        QFile::remove(lumivex::platform::userSettingsFolder() + QStringLiteral("lastsaveformat.ini"));
    }
    void TearDown() override
    {
        HDRBatchWindow::s_FolderDialog = nullptr;
        HDRBatchWindow::s_ScanHook = nullptr;
        HDRBatchExposureWidget::s_MenuExec = nullptr;
        CDocumentSettings::SetPreviewMode(true);
        UiTest::TearDown();
    }
    QString Path(const QString& name) const { return m_Dir.filePath(name); }
    QString MakeFolder(const QString& name) const
    {
        QDir().mkpath(Path(name));
        return Path(name);
    }
    SBatchJob Job(quint32 box, const QString& title, const QStringList& files, bool checked = true) const
    {
        SBatchJob job;
        job.uiBox = box;
        job.bChecked = checked;
        job.strTitle = title;
        for (const QString& f : files) {
            SExposure r;
            r.m_strFilePath = f;
            job.vecFiles.append(r);
        }
        return job;
    }
    SBatchRunSettings Settings(const QString& target, const QString& ext = QStringLiteral(".jpg")) const
    {
        SBatchRunSettings s;
        s.strTargetFolder = target;
        s.strExtension = ext;
        s.strKernelName = QStringLiteral("MP_calcHDRfusion");
        s.pChain = std::shared_ptr<CPostProcessing>(ColourChain());
        return s;
    }
    QTemporaryDir m_Dir;
};

} // namespace

// ---- Names, filters, texts --------------------------------------------------------------

TEST_F(BatchTest, AcceptedExtensionsAndTitles)
{
    const QStringList& ext = BF::AcceptedExtensions();
    ASSERT_EQ(ext.size(), 45);
    EXPECT_EQ(ext.first(), ".jpg");
    EXPECT_EQ(ext.at(5), ".tif32");
    EXPECT_EQ(ext.last(), ".arw");
    EXPECT_TRUE(BF::IsAcceptedImage("/x/IMG.JPG"));
    EXPECT_TRUE(BF::IsAcceptedImage("/x/raw.Nef"));
    EXPECT_FALSE(BF::IsAcceptedImage("/x/notes.txt"));
    EXPECT_FALSE(BF::IsAcceptedImage("/x/jpg"));

    const struct {
        const char* name;
        const char* title;
    } cases[] = {{"IMG_0042.JPG", "IMG_0042_JPG"}, {"scan", "scan_scan"}, {"Bäume.jpg", "Bäume_jpg"},
                 {"a.b.tif", "a.b_tif"},          {"Ölfeld", "Ölfeld_Ölfeld"}};
    for (const auto& c : cases)
        EXPECT_EQ(BF::TitleFromFileName(QString::fromUtf8(c.name)), QString::fromUtf8(c.title)) << c.name;
}

TEST_F(BatchTest, OutputNamesNeverTakeAnExistingFile)
{
    const QString out = MakeFolder("out");
    EXPECT_EQ(BF::OutputPath(out, "IMG_0042_JPG", ".jpg"), out + "/IMG_0042_JPG.jpg");
    ASSERT_TRUE(WriteText(out + "/IMG_0042_JPG.jpg", "x"));
    EXPECT_EQ(BF::OutputPath(out, "IMG_0042_JPG", ".jpg"), out + "/IMG_0042_JPG_0.jpg");
    ASSERT_TRUE(WriteText(out + "/IMG_0042_JPG_0.jpg", "x"));
    EXPECT_EQ(BF::OutputPath(out, "IMG_0042_JPG", ".jpg"), out + "/IMG_0042_JPG_1.jpg");
    // Another extension is another name.
    EXPECT_EQ(BF::OutputPath(out, "IMG_0042_JPG", ".tif"), out + "/IMG_0042_JPG.tif");
}

TEST_F(BatchTest, ProgressValuesInSinglePrecision)
{
    EXPECT_EQ(BF::LoadProgress(100, 10, 10), 80);
    EXPECT_EQ(BF::LoadProgress(100, 1, 3), 26);
    EXPECT_EQ(BF::LoadProgress(100, 0, 0), 0);
    EXPECT_EQ(BF::PreviewProgress(100, 0, 3), 86);
    EXPECT_EQ(BF::PreviewProgress(100, 1, 3), 93);
    EXPECT_EQ(BF::PreviewProgress(100, 2, 3), 100);
    EXPECT_EQ(BF::PreviewProgress(100, 0, 1), 100);
}

TEST_F(BatchTest, SeriesDoneTextWithRemainingTime)
{
    const struct {
        unsigned done, checked;
        double total;
        const char* text;
    } cases[] = {
        {1, 3, 20000.0, "1/3 abgeschlossen - geschätze Restzeit: 40 Sekunden"},
        {3, 3, 60000.0, "3/3 abgeschlossen"},
        {1, 2, 61000.0, "1/2 abgeschlossen - geschätze Restzeit: 1 Minute 1 Sekunde"},
        {1, 3, 62500.0, "1/3 abgeschlossen - geschätze Restzeit: 2 Minuten 5 Sekunden"},
        {1, 3, 60000.0, "1/3 abgeschlossen - geschätze Restzeit: 2 Minuten "},
        {1, 2, 500.0, "1/2 abgeschlossen"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BF::SeriesDoneText(c.done, c.checked, c.total), QString::fromUtf8(c.text)) << c.text;
}

TEST_F(BatchTest, ScanFiltersAndOrders)
{
    const QString flat = MakeFolder("flat");
    ASSERT_TRUE(WriteText(flat + "/b.JPG", "x"));
    ASSERT_TRUE(WriteText(flat + "/a.tif", "x"));
    ASSERT_TRUE(WriteText(flat + "/notes.txt", "x"));
    BF::SScanResult r = BF::ScanFolder(flat, false);
    EXPECT_EQ(r.iBefore, 3);
    EXPECT_EQ(r.files, QStringList({flat + "/a.tif", flat + "/b.JPG"}));

    const QString f = MakeFolder("F");
    MakeFolder("F/Sub");
    ASSERT_TRUE(WriteText(f + "/a.jpg", "x"));
    ASSERT_TRUE(WriteText(f + "/Sub/B.jpg", "x"));
    ASSERT_TRUE(WriteText(f + "/README", "x"));
    r = BF::ScanFolder(f, true);
    EXPECT_EQ(r.iBefore, 3);
    ASSERT_EQ(r.files.size(), 2);
    EXPECT_TRUE(r.files[0].endsWith("F/a.jpg"));
    EXPECT_TRUE(r.files[1].endsWith("F/Sub/B.jpg"));
    // Without recursion the subfolder's file is not seen.
    EXPECT_EQ(BF::ScanFolder(f, false).files.size(), 1);
    EXPECT_TRUE(BF::ScanFolder(QString(), true).files.isEmpty());

    // A cancelled walk ends at the next entry and reports nothing.
    const QString many = MakeFolder("many");
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(WriteText(many + QStringLiteral("/p%1.jpg").arg(i), "x"));
    int asked = 0;
    BF::SScanControl control;
    control.cancelled = [&asked] { return ++asked > 3; };
    r = BF::ScanFolder(many, true, control);
    EXPECT_TRUE(r.bCancelled);
    EXPECT_TRUE(r.files.isEmpty());
    EXPECT_EQ(asked, 4);
    control.cancelled = [] { return true; };
    EXPECT_TRUE(BF::ScanFolder(many, false, control).bCancelled);
    control.cancelled = [] { return false; };
    r = BF::ScanFolder(many, true, control);
    EXPECT_FALSE(r.bCancelled);
    EXPECT_EQ(r.files.size(), 40);
}

// ---- The runner on real files -------------------------------------------------------------

TEST_F(BatchTest, RunnerWritesEveryCheckedSeriesAndNeverOverwrites)
{
    MakeFolder("one");
    MakeFolder("two");
    ASSERT_TRUE(WriteImage(Path("one/IMG_0042.JPG"), 640, 520, 40));
    ASSERT_TRUE(WriteImage(Path("two/IMG_0042.JPG"), 600, 500, 120));
    ASSERT_TRUE(WriteImage(Path("two/skip.jpg"), 600, 500, 60));
    const QString out = MakeFolder("out");
    const SBatchRunSettings settings = Settings(out);
    const QVector<SBatchJob> jobs = {Job(0, "IMG_0042_JPG", {Path("one/IMG_0042.JPG")}),
                                     Job(1, "skip_jpg", {Path("two/skip.jpg")}, false),
                                     Job(2, "IMG_0042_JPG", {Path("two/IMG_0042.JPG")})};
    std::atomic<bool> cancel{false};
    RecordingReporter rep;
    rep.m_dStep = 20000.0;
    CDocumentSettings::SetPreviewMode(false);
    CBatchRunner runner(settings, rep, cancel);
    EXPECT_EQ(RunOnWorker(runner, jobs), 2);

    // Newest first: box 2 gets the plain name, box 0 the counter.
    EXPECT_EQ(QFileInfo(out + "/IMG_0042_JPG.jpg").exists(), true);
    EXPECT_EQ(ImageSize(out + "/IMG_0042_JPG.jpg"), QSize(600, 500));
    EXPECT_EQ(ImageSize(out + "/IMG_0042_JPG_0.jpg"), QSize(640, 520));
    EXPECT_FALSE(QFileInfo::exists(out + "/skip_jpg.jpg"));
    EXPECT_EQ(rep.m_Done, QVector<quint32>({2, 1, 0}));
    ASSERT_EQ(rep.m_Fractions.size(), 3);
    EXPECT_FLOAT_EQ(rep.m_Fractions[0], 1.0f - 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(rep.m_Fractions[2], 1.0f);
    const QStringList notices = rep.Texts(1);
    EXPECT_TRUE(notices.contains(QString::fromUtf8("1/2 abgeschlossen - geschätze Restzeit: 20 Sekunden")))
        << notices.join("|").toStdString();
    EXPECT_TRUE(notices.contains("2/2 abgeschlossen"));
    EXPECT_TRUE(rep.Texts(0).contains("Speichere IMG_0042_JPG_0.jpg"));
    EXPECT_TRUE(rep.Texts(0).contains("Bildvorbereitung: IMG_0042_JPG"));
    EXPECT_TRUE(rep.Texts(0).contains("Post Processing: IMG_0042_JPG"));
    EXPECT_TRUE(rep.Texts(2).isEmpty());
    // The run leaves the preview flag on and counts the series.
    EXPECT_TRUE(CDocumentSettings::PreviewMode());
    EXPECT_FLOAT_EQ(MP_UI_GetAnimCount(), 2.0f);
    EXPECT_EQ(settings.pChain->m_pAccordingExposureSeries, nullptr);

    // The same batch again adds _1 and _2; the earlier files stay as they were.
    const QByteArray before = FileHash(out + "/IMG_0042_JPG.jpg");
    CBatchRunner again(settings, rep, cancel);
    EXPECT_EQ(RunOnWorker(again, jobs), 2);
    EXPECT_TRUE(QFileInfo::exists(out + "/IMG_0042_JPG_1.jpg"));
    EXPECT_TRUE(QFileInfo::exists(out + "/IMG_0042_JPG_2.jpg"));
    EXPECT_EQ(FileHash(out + "/IMG_0042_JPG.jpg"), before);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 4);
}

TEST_F(BatchTest, RunnerReportsBadSeriesAndGoesOn)
{
    MakeFolder("in");
    ASSERT_TRUE(WriteImage(Path("in/good.tif"), 600, 500, 90));
    ASSERT_TRUE(WriteText(Path("in/broken.jpg"), "not a picture at all"));
    const QString out = MakeFolder("out");
    std::atomic<bool> cancel{false};

    // A vanished file and a broken one: warnings, nothing written, counted as done.
    {
        RecordingReporter rep;
        const QVector<SBatchJob> jobs = {Job(0, "good_tif", {Path("in/good.tif")}),
                                         Job(1, "gone_jpg", {Path("in/gone.jpg")}),
                                         Job(2, "broken_jpg", {Path("in/broken.jpg")})};
        SBatchRunSettings settings = Settings(out, ".png");
        CBatchRunner runner(settings, rep, cancel);
        EXPECT_EQ(RunOnWorker(runner, jobs), 1);
        EXPECT_EQ(rep.Texts(1).count("Belichtungsreihe konnte nicht geladen werden."), 2);
        EXPECT_TRUE(rep.Texts(1).contains("3/3 abgeschlossen"));
        EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList({"good_tif.png"}));
        EXPECT_EQ(ImageSize(out + "/good_tif.png"), QSize(600, 500));
    }
    // No chain (a tile index past the tiles): no result, nothing saved.
    {
        RecordingReporter rep;
        SBatchRunSettings settings = Settings(out, ".tif");
        settings.pChain.reset();
        CBatchRunner runner(settings, rep, cancel);
        EXPECT_EQ(RunOnWorker(runner, {Job(0, "good_tif", {Path("in/good.tif")})}), 0);
        EXPECT_FALSE(QFileInfo::exists(out + "/good_tif.tif"));
    }
    // A target that cannot be written (a file where the folder should be):
    // the file error as an error line, nothing counted as saved.
    {
        const QString notAFolder = Path("in/good.tif");
        RecordingReporter rep;
        SBatchRunSettings settings = Settings(notAFolder, ".jpg");
        CBatchRunner runner(settings, rep, cancel);
        EXPECT_EQ(RunOnWorker(runner, {Job(0, "good_tif", {Path("in/good.tif")})}), 0);
        ASSERT_EQ(rep.Texts(2).size(), 1);
        EXPECT_TRUE(rep.Texts(2).first().startsWith("Dateifehler:"));
        EXPECT_TRUE(rep.Texts(2).first().endsWith("konnte nicht erstellt werden"));
        EXPECT_TRUE(rep.Texts(1).contains("1/1 abgeschlossen"));
        EXPECT_TRUE(QFileInfo(notAFolder).isFile());
    }
}

namespace {

// Runs every kernel through the dispatcher, except that the first run of one
// kernel reports no memory.
class FailOnceExecutor : public IKernelExecutor {
public:
    explicit FailOnceExecutor(const char* kernel) : m_Kernel(kernel) {}
    int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                      unsigned dstBpp, MP_Params* params, int category, float start, float delta, bool upload,
                      bool download) override
    {
        if (m_Kernel == name && !m_bFailed.exchange(true))
            return -1;
        return OpenCLManager::getInstance()->executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params,
                                                           category, start, delta, upload, download);
    }
    QByteArray m_Kernel;
    std::atomic<bool> m_bFailed{false};
};

} // namespace

TEST_F(BatchTest, RunnerSavesNothingForAFailedChainAndGoesOn)
{
    MakeFolder("in");
    ASSERT_TRUE(WriteImage(Path("in/a.jpg"), 600, 500, 50));
    ASSERT_TRUE(WriteImage(Path("in/b.jpg"), 600, 500, 150));
    const QString out = MakeFolder("out");
    FailOnceExecutor executor("MP_calcPixelColorIntensity");
    IKernelExecutor* previous = CKernelRunner::SetExecutor(&executor);
    std::atomic<bool> cancel{false};
    RecordingReporter rep;
    SBatchRunSettings settings = Settings(out);
    CBatchRunner runner(settings, rep, cancel);
    const int written = RunOnWorker(runner, {Job(0, "a_jpg", {Path("in/a.jpg")}), Job(1, "b_jpg", {Path("in/b.jpg")})});
    CKernelRunner::SetExecutor(previous);
    EXPECT_TRUE(executor.m_bFailed.load());
    EXPECT_EQ(written, 1);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList({"a_jpg.jpg"}));
    EXPECT_EQ(rep.Texts(2), QStringList({QString::fromUtf8("Es steht nicht genug Arbeitsspeicher zur Verfügung.")}));
    EXPECT_TRUE(rep.Texts(1).contains("2/2 abgeschlossen"));
}

TEST_F(BatchTest, RunnerStopsBetweenSeries)
{
    MakeFolder("in");
    ASSERT_TRUE(WriteImage(Path("in/a.jpg"), 600, 500, 50));
    ASSERT_TRUE(WriteImage(Path("in/b.jpg"), 600, 500, 150));
    const QString out = MakeFolder("out");
    std::atomic<bool> cancel{false};
    RecordingReporter rep;
    rep.m_bCancelAfterFirst = true;
    rep.m_pCancel = &cancel;
    SBatchRunSettings settings = Settings(out);
    CBatchRunner runner(settings, rep, cancel);
    EXPECT_EQ(RunOnWorker(runner, {Job(0, "a_jpg", {Path("in/a.jpg")}), Job(1, "b_jpg", {Path("in/b.jpg")})}), 1);
    // The series in progress is finished and saved; the next one never starts.
    EXPECT_TRUE(QFileInfo::exists(out + "/b_jpg.jpg"));
    EXPECT_FALSE(QFileInfo::exists(out + "/a_jpg.jpg"));
    EXPECT_EQ(rep.m_Done, QVector<quint32>({1}));
    // Already cancelled: nothing at all.
    RecordingReporter none;
    CBatchRunner idle(settings, none, cancel);
    EXPECT_EQ(RunOnWorker(idle, {Job(0, "a_jpg", {Path("in/a.jpg")})}), 0);
    EXPECT_TRUE(none.m_Done.isEmpty());
}

TEST_F(BatchTest, RunnerFilesDoNotDependOnTheThreadCount)
{
    MakeFolder("in");
    ASSERT_TRUE(WriteImage(Path("in/a.jpg"), 700, 540, 70));
    std::atomic<bool> cancel{false};
    QByteArray hashes[2];
    const int threads[2] = {1, 8};
    for (int k = 0; k < 2; ++k) {
        MP_UI_SetIdealThreadCount(threads[k]);
        const QString out = MakeFolder(QStringLiteral("out%1").arg(k));
        RecordingReporter rep;
        SBatchRunSettings settings = Settings(out, ".tiff");
        settings.pChain = std::shared_ptr<CPostProcessing>(
            ColourChain({"MP_calcPixelTMmeanlog", "MP_calcPixelGradationLagrange", "MP_calcPixelLightShadow",
                         "MP_calcPixelColorIntensity", "MP_calcPixelHueShift", "MP_calcPixelColorTemperature"}));
        ASSERT_EQ(settings.pChain->m_vecOperators.size(), 6);
        CBatchRunner runner(settings, rep, cancel);
        ASSERT_EQ(RunOnWorker(runner, {Job(0, "a_jpg", {Path("in/a.jpg")})}), 1);
        hashes[k] = FileHash(out + "/a_jpg.tiff");
    }
    MP_UI_SetIdealThreadCount(4);
    EXPECT_FALSE(hashes[0].isEmpty());
    EXPECT_EQ(hashes[0], hashes[1]);
}

namespace {

// Counts the runs of one kernel by image width (the HDR stage's weight pass
// runs once per pass: at preview and at full size).
class WidthRecorder : public IKernelExecutor {
public:
    explicit WidthRecorder(const char* kernel) : m_Kernel(kernel) {}
    int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                      unsigned dstBpp, MP_Params* params, int category, float start, float delta, bool upload,
                      bool download) override
    {
        if (m_Kernel == name) {
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_Widths.append(width);
        }
        return OpenCLManager::getInstance()->executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params,
                                                           category, start, delta, upload, download);
    }
    QVector<unsigned> Widths()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Widths;
    }
    QByteArray m_Kernel;
    std::mutex m_Mutex;
    QVector<unsigned> m_Widths;
};

// Everything a run leaves: the files by name with their hashes, the lines,
// fractions and boxes in reporting order, the engine's seed and frame number.
struct SRunRecord {
    int iWritten = 0;
    QStringList files;     // "name sha256"
    QStringList lines;     // "type|text"
    QVector<float> fractions;
    QVector<quint32> boxes;
    QStringList written;   // file names in the order they were written
    int iSeed = 0;
    float fAnim = 0.0f;
};

} // namespace

// The overlapped run (decode ahead, encode behind) against one series after
// the other, at 1 and 8 engine threads, for every output format: the same
// bytes under the same names, the same lines in the same order. The list has
// a broken file in the middle, an unchecked box, two series of the same
// title, a file of that title already in the target, and a grain operator
// (random seed) and the tone mapping in the chain.
TEST_F(BatchTest, OverlappedRunWritesWhatARunOneAfterTheOtherWrites)
{
    MakeFolder("in");
    MakeFolder("in/sub");
    ASSERT_TRUE(WriteImage(Path("in/IMG_0042.JPG"), 640, 520, 40));
    ASSERT_TRUE(WriteImage(Path("in/sub/IMG_0042.JPG"), 600, 500, 150));
    ASSERT_TRUE(WriteImage(Path("in/b.tif"), 660, 540, 90));
    ASSERT_TRUE(WriteText(Path("in/broken.jpg"), "not a picture"));
    ASSERT_TRUE(WriteImage(Path("in/off.png"), 600, 500, 200));
    ASSERT_TRUE(WriteImage(Path("in/c.png"), 700, 510, 120));
    const QVector<SBatchJob> jobs = {Job(0, "IMG_0042_JPG", {Path("in/IMG_0042.JPG")}),
                                     Job(1, "b_tif", {Path("in/b.tif")}),
                                     Job(2, "broken_jpg", {Path("in/broken.jpg")}),
                                     Job(3, "off_png", {Path("in/off.png")}, false),
                                     Job(4, "IMG_0042_JPG", {Path("in/sub/IMG_0042.JPG")}),
                                     Job(5, "c_png", {Path("in/c.png")})};
    const QStringList kernels = {"MP_calcPixelTMmeanlog", "MP_calcPixelAddGrain", "MP_calcPixelColorIntensity"};
    auto run = [&](const QString& ext, int threads, bool overlapped) {
        MP_UI_SetIdealThreadCount(threads);
        MP_UI_SetRandomSeed(4711);
        const QString out = MakeFolder(QStringLiteral("out%1%2%3").arg(ext.mid(1)).arg(threads).arg(overlapped));
        EXPECT_TRUE(WriteText(out + "/IMG_0042_JPG" + ext, "keep me"));
        SBatchRunSettings settings = Settings(out, ext);
        settings.pChain = std::shared_ptr<CPostProcessing>(ColourChain(kernels));
        EXPECT_EQ(settings.pChain->m_vecOperators.size(), kernels.size());
        settings.bOverlapped = overlapped;
        std::atomic<bool> cancel{false};
        RecordingReporter rep;
        rep.m_dStep = 1000.0;
        CBatchRunner runner(settings, rep, cancel);
        SRunRecord r;
        r.iWritten = RunOnWorker(runner, jobs);
        for (const QString& f : QDir(out).entryList(QDir::Files, QDir::Name))
            r.files << f + " " + FileHash(out + "/" + f).toHex();
        for (const auto& m : rep.m_Messages)
            r.lines << QString::number(m.second) + "|" + m.first;
        r.fractions = rep.m_Fractions;
        r.boxes = rep.m_Done;
        for (const QString& w : runner.m_lstWritten)
            r.written << QFileInfo(w).fileName();
        r.iSeed = MP_UI_GetRandomSeed();
        r.fAnim = MP_UI_GetAnimCount();
        return r;
    };
    for (const QString ext : {".jpg", ".tif", ".tiff", ".png", ".jp2"}) {
        const SRunRecord reference = run(ext, 8, false);
        ASSERT_EQ(reference.iWritten, 4) << qPrintable(ext);
        ASSERT_EQ(reference.files.size(), 5) << qPrintable(ext);
        EXPECT_EQ(reference.written, QStringList({"c_png" + ext, "IMG_0042_JPG_0" + ext, "b_tif" + ext,
                                                  "IMG_0042_JPG_1" + ext}));
        EXPECT_EQ(reference.boxes, QVector<quint32>({5, 4, 3, 2, 1, 0}));
        EXPECT_TRUE(reference.lines.contains("1|Belichtungsreihe konnte nicht geladen werden."));
        EXPECT_TRUE(reference.lines.contains(QString::fromUtf8("1|1/5 abgeschlossen - geschätze Restzeit: 4 Sekunden")));
        EXPECT_FLOAT_EQ(reference.fAnim, 5.0f);
        for (int threads : {1, 8}) {
            const SRunRecord overlapped = run(ext, threads, true);
            EXPECT_EQ(overlapped.iWritten, reference.iWritten) << qPrintable(ext) << threads;
            EXPECT_EQ(overlapped.files, reference.files) << qPrintable(ext) << threads;
            EXPECT_EQ(overlapped.written, reference.written) << qPrintable(ext) << threads;
            EXPECT_EQ(overlapped.lines, reference.lines) << qPrintable(ext) << threads;
            EXPECT_EQ(overlapped.fractions, reference.fractions) << qPrintable(ext) << threads;
            EXPECT_EQ(overlapped.boxes, reference.boxes) << qPrintable(ext) << threads;
            EXPECT_EQ(overlapped.iSeed, reference.iSeed) << qPrintable(ext) << threads;
            EXPECT_FLOAT_EQ(overlapped.fAnim, reference.fAnim) << qPrintable(ext) << threads;
        }
    }
    MP_UI_SetIdealThreadCount(4);
}

// The stop button pressed while a series is written: that series is finished,
// the one the engine already works on is dropped (no file, no line) and the
// engine's seed and frame number are those of a run that stopped in the same
// place one series after the other.
TEST_F(BatchTest, OverlappedRunStopsWhereARunOneAfterTheOtherStops)
{
    MakeFolder("in");
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(WriteImage(Path(QStringLiteral("in/p%1.jpg").arg(i)), 600, 500, 30 + 50 * i));
    QVector<SBatchJob> jobs;
    for (int i = 0; i < 4; ++i)
        jobs.append(Job(quint32(i), QStringLiteral("p%1_jpg").arg(i), {Path(QStringLiteral("in/p%1.jpg").arg(i))}));
    for (int stopAfter : {1, 2}) {
        SRunRecord records[2];
        for (int overlapped = 0; overlapped < 2; ++overlapped) {
            MP_UI_SetRandomSeed(99);
            const QString out = MakeFolder(QStringLiteral("stop%1_%2").arg(stopAfter).arg(overlapped));
            SBatchRunSettings settings = Settings(out);
            settings.bOverlapped = overlapped == 1;
            std::atomic<bool> cancel{false};
            // Presses stop when the stopAfter-th box is reported done.
            class StopReporter : public RecordingReporter {
            public:
                void BoxDone(quint32 box) override
                {
                    RecordingReporter::BoxDone(box);
                    if (m_Done.size() == m_iStopAfter)
                        *m_pCancel = true;
                }
                int m_iStopAfter = 0;
            } rep;
            rep.m_pCancel = &cancel;
            rep.m_iStopAfter = stopAfter;
            CBatchRunner runner(settings, rep, cancel);
            SRunRecord& r = records[overlapped];
            r.iWritten = RunOnWorker(runner, jobs);
            for (const QString& f : QDir(out).entryList(QDir::Files, QDir::Name))
                r.files << f + " " + FileHash(out + "/" + f).toHex();
            for (const auto& m : rep.m_Messages)
                r.lines << QString::number(m.second) + "|" + m.first;
            r.boxes = rep.m_Done;
            r.iSeed = MP_UI_GetRandomSeed();
            r.fAnim = MP_UI_GetAnimCount();
        }
        EXPECT_EQ(records[0].iWritten, stopAfter);
        EXPECT_EQ(records[1].iWritten, records[0].iWritten) << stopAfter;
        EXPECT_EQ(records[1].files, records[0].files) << stopAfter;
        EXPECT_EQ(records[1].lines, records[0].lines) << stopAfter;
        EXPECT_EQ(records[1].boxes, records[0].boxes) << stopAfter;
        EXPECT_EQ(records[1].iSeed, records[0].iSeed) << stopAfter;
        EXPECT_FLOAT_EQ(records[1].fAnim, records[0].fAnim) << stopAfter;
    }
}

// The run computes every series at full size only: the HDR stage's preview
// pass (whose image nothing shows) is left out, and the files stay the same.
TEST_F(BatchTest, RunComputesNoPreviewSizeHDRImage)
{
    MakeFolder("in");
    ASSERT_TRUE(WriteImage(Path("in/a.jpg"), 900, 600, 70));
    QByteArray hashes[2];
    for (int withPreviewPass = 0; withPreviewPass < 2; ++withPreviewPass) {
        WidthRecorder recorder("MP_calcPixelHDRaverage");
        IKernelExecutor* previous = CKernelRunner::SetExecutor(&recorder);
        const QString out = MakeFolder(QStringLiteral("out%1").arg(withPreviewPass));
        SBatchRunSettings settings = Settings(out, ".png");
        if (withPreviewPass)
            settings.bHDRPreviewPass = true;
        std::atomic<bool> cancel{false};
        RecordingReporter rep;
        CBatchRunner runner(settings, rep, cancel);
        const int written = RunOnWorker(runner, {Job(0, "a_jpg", {Path("in/a.jpg")})});
        CKernelRunner::SetExecutor(previous);
        ASSERT_EQ(written, 1);
        hashes[withPreviewPass] = FileHash(out + "/a_jpg.png");
        const QVector<unsigned> widths = recorder.Widths();
        ASSERT_FALSE(widths.isEmpty());
        EXPECT_EQ(widths.last(), 900u);
        if (!withPreviewPass)
            EXPECT_EQ(widths, QVector<unsigned>({900u}));
        else
            EXPECT_EQ(widths.size(), 2);
    }
    EXPECT_EQ(hashes[0], hashes[1]);
}

// ---- The series box -------------------------------------------------------------------------

namespace {

CExposureBatch* LoadedExposure(const QString& path)
{
    FIBITMAP* b = HDRBatchLoadThread::LoadPreviewBitmap(path);
    if (!b)
        return nullptr;
    auto* e = new CExposureBatch();
    const bool ok = e->Load(path, b) && e->Prepare(b, -1.0f);
    FreeImage_Unload(b);
    if (!ok) {
        delete e;
        return nullptr;
    }
    return e;
}

} // namespace

TEST_F(BatchTest, SeriesBoxSlotsTitleAndFullSeries)
{
    FakeOperators ops;
    FakePresets presets;
    HDRBatchExposureWidget::s_pOperatorSource = &ops;
    HDRBatchExposureWidget::s_pPresetSource = &presets;
    const char* names[4] = {"IMG_0043.JPG", "IMG_0042.JPG", "IMG_0044.JPG", "IMG_0045.JPG"};
    const int levels[4] = {150, 20, 220, 90};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(WriteImage(Path(names[i]), 600, 500, levels[i]));

    HDRBatchExposureWidget box(0);
    box.show();
    EXPECT_TRUE(box.isCheckable());
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(box.m_aExposureLabels.size(), 15);
    ASSERT_TRUE(box.AddExposureBatch(LoadedExposure(Path(names[0]))));
    EXPECT_FALSE(box.m_aExposureLabels[0]->pixmap().isNull());
    EXPECT_TRUE(box.m_aExposureLabels[1]->isVisible());
    EXPECT_TRUE(box.m_aExposureLabels[1]->pixmap().isNull());
    EXPECT_FALSE(box.m_aExposureLabels[2]->isVisible());
    EXPECT_EQ(box.title(), "IMG_0043_JPG");

    ASSERT_TRUE(box.AddExposureBatch(LoadedExposure(Path(names[1]))));
    ASSERT_TRUE(box.AddExposureBatch(LoadedExposure(Path(names[2]))));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(box.m_aExposureLabels[i]->pixmap().isNull()) << i;
    // Sorted by luminance: the darkest names the series.
    EXPECT_EQ(box.title(), "IMG_0042_JPG");

    CExposureBatch* fourth = LoadedExposure(Path(names[3]));
    ASSERT_NE(fourth, nullptr);
    EXPECT_FALSE(box.AddExposureBatch(fourth));
    EXPECT_EQ(box.m_pExposureSeries->m_vExposures.size(), 3);
    EXPECT_EQ(box.title(), "IMG_0042_JPG");
    delete fourth;

    box.RememberFilePaths();
    ASSERT_EQ(box.m_vecFilePaths.size(), 3);
    EXPECT_TRUE(box.m_vecFilePaths[0].m_strFilePath.endsWith("IMG_0042.JPG"));
    EXPECT_EQ(box.m_vecFilePaths[0].m_pBitmap, nullptr);
    EXPECT_EQ(box.FindExposureLabel(box.m_aExposureLabels[2]), box.m_aExposureLabels[2]);
    EXPECT_EQ(box.FindExposureLabel(box.m_aExposureLabels[3]), nullptr);
    EXPECT_EQ(box.FindExposureLabel(box.m_pResultLabel), box.m_pResultLabel);

    // The preview runs the chosen tile's chain; a hidden box gets none.
    HDRBatchWindow::s_uiCurrentPPPresetIdx = 0;
    box.m_pResultLabel->clear();
    box.CalculatePreview(true);
    EXPECT_FALSE(box.m_pResultLabel->pixmap().isNull());
    EXPECT_EQ(presets.m_Chains[0]->m_pAccordingExposureSeries, box.m_pExposureSeries);
    box.m_pResultLabel->clear();
    box.hide();
    box.CalculatePreview(true);
    EXPECT_TRUE(box.m_pResultLabel->pixmap().isNull());
    // A tile index past the tiles: no chain, no preview.
    box.show();
    HDRBatchWindow::s_uiCurrentPPPresetIdx = 7;
    box.CalculatePreview(false);
    EXPECT_TRUE(box.m_pResultLabel->pixmap().isNull());
    HDRBatchWindow::s_uiCurrentPPPresetIdx = 0;

    // Deleting the series unlinks the chain that named it.
    box.DeleteExposureSeries();
    EXPECT_EQ(box.m_pExposureSeries, nullptr);
    EXPECT_EQ(presets.m_Chains[0]->m_pAccordingExposureSeries, nullptr);
    HDRBatchExposureWidget::s_pOperatorSource = nullptr;
    HDRBatchExposureWidget::s_pPresetSource = nullptr;
}

TEST_F(BatchTest, SeriesBoxContextMenuAndThumbnailGeometry)
{
    HDRBatchExposureWidget box(0);
    box.setChecked(false);
    QStringList offered;
    HDRBatchExposureWidget::s_MenuExec = [&](QMenu& menu, const QPoint&) -> QAction* {
        offered.clear();
        for (QAction* a : menu.actions())
            offered << (a->isSeparator() ? QStringLiteral("-") : a->text());
        EXPECT_TRUE(HDRBatchWindow::s_bContextMenuOpen);
        QAction* chosen = box.m_pDeactivateAction;
        chosen->trigger();
        return chosen;
    };
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    // Before loading finished: only "Bild deaktivieren"; the right click checks, the entry unchecks.
    QApplication::sendEvent(&box, &event);
    EXPECT_EQ(offered, QStringList({"Bild deaktivieren"}));
    EXPECT_FALSE(box.isChecked());
    EXPECT_FALSE(HDRBatchWindow::s_bContextMenuOpen);
    box.m_bLoadingFinished = true;
    QApplication::sendEvent(&box, &event);
    EXPECT_EQ(offered, QStringList({"Als Projekt öffnen", "-", "Bild deaktivieren", "Bild entfernen"}));

    SignalCounter open(&box, &HDRBatchExposureWidget::openSeriesAsProject);
    SignalCounter remove(&box, &HDRBatchExposureWidget::removeSeries);
    box.m_pOpenAction->trigger();
    box.m_pRemoveAction->trigger();
    EXPECT_EQ(open.count(), 1);
    EXPECT_EQ(remove.count(), 1);

    HDRBatchExposureWidget browser(1);
    EXPECT_FALSE(browser.isCheckable());
    EXPECT_TRUE(browser.ContextMenuActions().isEmpty());
    browser.m_bLoadingFinished = true;
    EXPECT_EQ(browser.ContextMenuActions().size(), 2);

    // A portrait picture in a 44 x 34 slot: at most 32 high, centred.
    EXPECT_EQ(_HDRExposureLabel::PictureRect(QSize(44, 34), QSize(300, 400)), QRect(10, 1, 24, 32));
    EXPECT_EQ(_HDRExposureLabel::PictureRect(QSize(44, 34), QSize(400, 300)), QRect(1, 1, 42, 32));
}

TEST_F(BatchTest, HoverShowsTheLabelsPictureOnlyAfterLoading)
{
    ASSERT_TRUE(WriteImage(Path("h.jpg"), 600, 500, 100));
    QLabel preview;
    preview.setFixedSize(1, 1);
    QLabel* const saved = HDRBatchWindow::s_pPreviewLabel;
    HDRBatchWindow::s_pPreviewLabel = &preview;
    {
        HDRBatchExposureWidget box(0);
        ASSERT_TRUE(box.AddExposureBatch(LoadedExposure(Path("h.jpg"))));
        const QPixmap picture = box.m_aExposureLabels[0]->pixmap();
        ASSERT_FALSE(picture.isNull());
        emit box.m_aExposureLabels[0]->entered(); // still loading: nothing
        EXPECT_EQ(preview.size(), QSize(1, 1));
        box.m_bLoadingFinished = true;
        emit box.m_aExposureLabels[0]->entered();
        EXPECT_EQ(preview.size(), picture.size());
        EXPECT_EQ(HDRBatchWindow::s_pCurrentExposureLabel, box.m_aExposureLabels[0]);
        emit box.m_aExposureLabels[5]->entered(); // an empty slot shows nothing
        EXPECT_EQ(HDRBatchWindow::s_pCurrentExposureLabel, box.m_aExposureLabels[0]);
        emit box.m_aExposureLabels[0]->left();
        EXPECT_EQ(preview.size(), QSize(1, 1));
        EXPECT_EQ(HDRBatchWindow::s_pCurrentExposureLabel, nullptr);
        emit box.m_aExposureLabels[0]->entered();
    } // a deleted box leaves no label behind in the statics
    EXPECT_EQ(HDRBatchWindow::s_pCurrentExposureLabel, nullptr);
    HDRBatchWindow::s_pPreviewLabel = saved;
}

TEST_F(BatchTest, StopPostsItsNoticeOnce)
{
    _gui::SetModalHook([](QWidget*) { return 0; });
    FakeOperators ops;
    FakePresets presets;
    HDRBatchWindow w(nullptr, &ops, &presets);
    {
        HDRProgressThread guard(1, 3600 * 1000);
        HDRProgressThread::OpenCategory(11, true);
        w.progressCancelRequested();
        w.progressCancelRequested();
        EXPECT_TRUE(w.m_bCancelRequested.load());
        QCoreApplication::processEvents();
        EXPECT_EQ(guard.GetWindow()->GetLog()->toPlainText().count("Wird abgebrochen"), 1);
    }
    _gui::SetModalHook(&UiTest::answerUnexpectedPrompt);
}

// ---- The window -----------------------------------------------------------------------------

namespace {

class FakeMainWindow : public IToolkitMainWindow {
public:
    QRect MainWindowGeometry() const override { return QRect(0, 0, 1200, m_iHeight); }
    bool IsShowInfoActChecked() const override { return false; }
    void SetShowInfoActChecked(bool) override {}
    void showInfoClickedExternal(bool) override {}
    void SetPreviewRadiusText(const QString&) override {}
    int m_iHeight = 900;
};

class FakeInfoDock : public IInfoDock {
public:
    QString InfoHtml() const override { return m_strText; }
    void SetInfoDockVisible(bool) override {}
    void UpdateText(const QString& html) override { m_strText = html; }
    QString m_strText = QStringLiteral("main text");
};

class BatchWindowTest : public BatchTest {
protected:
    void SetUp() override
    {
        BatchTest::SetUp();
        ToolkitSeams::SetMainWindow(&m_Main);
        ToolkitSeams::SetInfoDock(&m_Info);
        m_pWindow = std::make_unique<HDRBatchWindow>(nullptr, &m_Ops, &m_Presets);
    }
    void TearDown() override
    {
        m_pWindow.reset();
        ToolkitSeams::SetMainWindow(nullptr);
        ToolkitSeams::SetInfoDock(nullptr);
        BatchTest::TearDown();
    }
    bool ScanDone()
    {
        return WaitFor([this] { return !m_pWindow->m_bLoading && m_pWindow->m_bPreviewsFinished; });
    }
    FakeMainWindow m_Main;
    FakeInfoDock m_Info;
    FakeOperators m_Ops;
    FakePresets m_Presets;
    std::unique_ptr<HDRBatchWindow> m_pWindow;
};

} // namespace

TEST_F(BatchWindowTest, EveryShowStartsFromTheResetStateAndEveryEndRestores)
{
    HDRBatchWindow& w = *m_pWindow;
    MP_UI_SetPanoramaMode(1);
    MP_UI_SetShowExexcuteKernelOutput(1);
    MP_UI_SetTonemappingMultipleMode(2);
    for (int round = 0; round < 2; ++round) {
        w.setWindowMode(0);
        w.show();
        EXPECT_TRUE(w.m_pSourcePathEdit->text().isEmpty());
        EXPECT_TRUE(w.m_pTargetPathEdit->text().isEmpty());
        EXPECT_TRUE(w.m_pRecursiveCheckBox->isChecked());
        EXPECT_EQ(w.m_pFormatComboBox->currentText(), "Jpeg 8-Bit (*.jpg)");
        EXPECT_EQ(w.m_pFormatComboBox->currentData().toString(), ".jpg");
        EXPECT_EQ(w.m_pPresetComboBox->currentIndex(), 0);
        EXPECT_EQ(w.m_pPresetComboBox->count(), 2);
        EXPECT_EQ(w.m_pMatchModeComboBox->currentIndex(), 1);
        EXPECT_FALSE(w.m_pMatchModeComboBox->isVisible());
        EXPECT_EQ(w.m_pHDRPresetComboBox->currentText(), QString::fromUtf8("Kräftig"));
        EXPECT_EQ(MP_UI_GetIsBatchMode(), 1);
        EXPECT_EQ(MP_UI_GetPanoramaMode(), 0);
        EXPECT_EQ(MP_UI_GetShowExexcuteKernelOutput(), 0);
        EXPECT_EQ(MP_UI_GetTonemappingMultipleMode(), 0);
        EXPECT_EQ(m_Info.m_strText, "HDRBatchWindow Infotext lumivex");
        EXPECT_EQ(HDRBatchWindow::s_uiCurrentPPPresetIdx, 0u);
        w.m_pPresetComboBox->setCurrentIndex(1); // the next opening starts with the first tile again
        EXPECT_EQ(HDRBatchWindow::s_uiCurrentPPPresetIdx, 1u);
        // Escape ends through done without a close event: the state still comes back.
        if (round == 0)
            w.reject();
        else
            w.m_pCancelButton->click();
        EXPECT_EQ(MP_UI_GetIsBatchMode(), 0);
        EXPECT_EQ(MP_UI_GetPanoramaMode(), 1);
        EXPECT_EQ(MP_UI_GetShowExexcuteKernelOutput(), 1);
        EXPECT_EQ(MP_UI_GetTonemappingMultipleMode(), 2);
        EXPECT_EQ(m_Info.m_strText, "main text");
    }
}

TEST_F(BatchWindowTest, ListHeightsFollowTheMainWindow)
{
    const struct {
        int main, mode, height;
    } cases[] = {{900, 0, 360}, {900, 1, 500}, {700, 0, 315}, {700, 1, 415}};
    for (const auto& c : cases) {
        m_Main.m_iHeight = c.main;
        m_pWindow->setWindowMode(c.mode);
        EXPECT_EQ(m_pWindow->m_pScrollArea->height(), c.height) << c.main << " " << c.mode;
        EXPECT_EQ(m_pWindow->m_pCloseBrowserButton->isVisibleTo(m_pWindow.get()), c.mode == 1);
        EXPECT_EQ(m_pWindow->m_pStartButton->isVisibleTo(m_pWindow.get()), c.mode == 0);
    }
    EXPECT_EQ(m_pWindow->windowTitle(), "Bilddaten-Browser");
}

TEST_F(BatchWindowTest, ScanBuildsBoxesAndBadPathsClearTheList)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("src");
    ASSERT_TRUE(WriteImage(src + "/b.JPG", 600, 500, 80));
    ASSERT_TRUE(WriteImage(src + "/a.tif", 620, 510, 120));
    ASSERT_TRUE(WriteImage(src + "/small.jpg", 400, 300, 100));
    ASSERT_TRUE(WriteText(src + "/broken.png", "garbage"));
    ASSERT_TRUE(WriteText(src + "/notes.txt", "text"));
    w.setWindowMode(0);
    w.show();
    w.m_pSourcePathEdit->setText(src);
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 2);
    EXPECT_EQ(w.m_aBatchExposures[0]->title(), "a_tif");
    EXPECT_EQ(w.m_aBatchExposures[1]->title(), "b_JPG");
    EXPECT_EQ(w.m_pImagesGroupBox->title(), "Bilder: 2");
    EXPECT_EQ(w.m_pProgressBar->value(), 100);
    EXPECT_EQ(w.m_pStatusLabel->text(), "Bilder anpassen oder Berechnung starten");
    EXPECT_TRUE(w.m_aBatchExposures[0]->m_bLoadingFinished);
    EXPECT_FALSE(w.m_aBatchExposures[0]->m_pResultLabel->pixmap().isNull());
    // The newest box stands on top.
    EXPECT_LT(w.m_aBatchExposures[1]->y(), w.m_aBatchExposures[0]->y());

    // "Bild entfernen": hidden, unchecked, no series, one fewer in the title.
    emit w.m_aBatchExposures[1]->removeSeries();
    EXPECT_FALSE(w.m_aBatchExposures[1]->isVisibleTo(w.m_pScrollContent));
    EXPECT_EQ(w.m_aBatchExposures[1]->m_pExposureSeries, nullptr);
    EXPECT_EQ(w.m_pImagesGroupBox->title(), "Bilder: 1");

    // A folder change while loading: the old list goes, the new scan comes.
    const QString other = MakeFolder("other");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteImage(other + QStringLiteral("/p%1.jpg").arg(i), 600, 500, 30 + 60 * i));
    w.m_pSourcePathEdit->setText(other);
    w.m_pSourcePathEdit->setText(src); // mid-load
    ASSERT_TRUE(ScanDone());
    EXPECT_EQ(w.m_aBatchExposures.size(), 2);
    w.m_pSourcePathEdit->setText(other);
    WaitFor([&] { return w.m_pPreviewsThread != nullptr || w.m_bPreviewsFinished; });
    w.m_pSourcePathEdit->setText(src); // mid-preview: queued requests name the old boxes
    ASSERT_TRUE(ScanDone());
    EXPECT_EQ(w.m_aBatchExposures.size(), 2);
    EXPECT_EQ(w.m_pProgressBar->value(), 100);

    // A typed path that does not exist empties the list at once.
    w.m_pSourcePathEdit->setText(src + "/missing");
    EXPECT_TRUE(w.m_aBatchExposures.isEmpty());
    EXPECT_EQ(w.m_pImagesGroupBox->title(), "Bilder");
    EXPECT_EQ(w.m_pStatusLabel->text(), QString::fromUtf8("Bitte gültigen Quell & Zielordner wählen..."));
    w.m_pSourcePathEdit->setText(MakeFolder("empty"));
    ASSERT_TRUE(WaitFor([&] { return !w.m_bLoading; }));
    EXPECT_EQ(w.m_pStatusLabel->text(), QString::fromUtf8("Der Quellordner enthält keine Bilddateien."));
    w.reject();
}

TEST_F(BatchWindowTest, TenImagesFillTheBarTo80WhileLoadingAndTo100WithPreviews)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("ten");
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(WriteImage(src + QStringLiteral("/p%1.jpg").arg(i), 600, 500, 20 * i));
    QVector<int> values;
    QObject::connect(w.m_pProgressBar, &QProgressBar::valueChanged, &w, [&values](int v) { values << v; });
    w.setWindowMode(0);
    w.show();
    w.m_pSourcePathEdit->setText(src);
    ASSERT_TRUE(ScanDone());
    EXPECT_EQ(w.m_aBatchExposures.size(), 10);
    EXPECT_EQ(w.m_pImagesGroupBox->title(), "Bilder: 10");
    const QVector<int> loading = {8, 16, 24, 32, 40, 48, 56, 64, 72, 80};
    ASSERT_GE(values.size(), 11);
    EXPECT_EQ(values.mid(0, 10), loading);
    EXPECT_EQ(values.last(), 100);
    for (int i = 1; i < values.size(); ++i)
        EXPECT_GE(values[i], values[i - 1]);
    w.reject();
}

TEST_F(BatchWindowTest, BrowserOpensTheDroppedFolderOnceAndHandsASeriesOver)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("drop");
    ASSERT_TRUE(WriteImage(src + "/only.jpg", 600, 500, 100));
    w.setDragDropFolder(src);
    w.setWindowMode(1);
    w.show();
    EXPECT_EQ(w.m_pSourcePathEdit->text(), src);
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 1);
    EXPECT_FALSE(w.m_aBatchExposures[0]->isCheckable());
    emit w.m_aBatchExposures[0]->openSeriesAsProject();
    ASSERT_TRUE(WaitFor([&] { return !w.isVisible(); }, 5000));
    ASSERT_EQ(w.OpenAsProject().size(), 1);
    EXPECT_EQ(w.OpenAsProject()[0].m_strFilePath, src + "/only.jpg");
    EXPECT_TRUE(w.m_aBatchExposures.isEmpty());

    w.show(); // the next opening starts without the dropped folder
    EXPECT_TRUE(w.m_pSourcePathEdit->text().isEmpty());
    EXPECT_TRUE(w.OpenAsProject().isEmpty());
    w.m_pCloseBrowserButton->click();
    EXPECT_TRUE(w.OpenAsProject().isEmpty());
}

TEST_F(BatchWindowTest, StartRunsTheBatchEndToEnd)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("photos");
    MakeFolder("photos/more");
    ASSERT_TRUE(WriteImage(src + "/IMG_0042.JPG", 640, 520, 60));
    ASSERT_TRUE(WriteImage(src + "/more/IMG_0042.JPG", 600, 500, 140));
    ASSERT_TRUE(WriteImage(src + QString::fromUtf8("/Bäume.tif"), 600, 500, 100));
    ASSERT_TRUE(WriteImage(src + "/off.jpg", 600, 500, 180));
    ASSERT_TRUE(WriteText(src + "/broken.jpg", "no image"));
    const QString out = MakeFolder("results");
    ASSERT_TRUE(WriteText(out + "/IMG_0042_JPG.jpg", "keep me"));

    w.setWindowMode(0);
    w.show();
    w.m_pSourcePathEdit->setText(src);
    w.m_pTargetPathEdit->setText(out);
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 4);
    for (HDRBatchExposureWidget* b : w.m_aBatchExposures)
        if (b->title() == "off_jpg")
            b->setChecked(false); // "Bild deaktivieren"
    w.m_pStartButton->click();
    ASSERT_NE(w.m_pProcessThread, nullptr);
    ASSERT_TRUE(WaitFor([&] { return w.m_pProcessThread == nullptr && w.m_pProgressThread == nullptr; }));

    QStringList files = QDir(out).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, QStringList({QString::fromUtf8("Bäume_tif.jpg"), "IMG_0042_JPG.jpg", "IMG_0042_JPG_0.jpg",
                                  "IMG_0042_JPG_1.jpg"}));
    QFile kept(out + "/IMG_0042_JPG.jpg");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    EXPECT_EQ(ImageSize(out + QString::fromUtf8("/Bäume_tif.jpg")), QSize(600, 500));
    // After the run: reset list and fields, preview flag on, no chain names a series.
    EXPECT_TRUE(w.m_aBatchExposures.isEmpty());
    EXPECT_TRUE(w.m_pSourcePathEdit->text().isEmpty());
    EXPECT_TRUE(w.m_pTargetPathEdit->text().isEmpty());
    EXPECT_EQ(w.m_pFormatComboBox->currentData().toString(), ".jpg");
    EXPECT_TRUE(CDocumentSettings::PreviewMode());
    EXPECT_EQ(m_Presets.m_Chains[0]->m_pAccordingExposureSeries, nullptr);
    EXPECT_EQ(w.m_pStartButton->text(), "Starten");
    w.reject();
    EXPECT_FLOAT_EQ(MP_UI_GetAnimCount(), 0.0f);
}

TEST_F(BatchWindowTest, SourceDialogRescansTheSameFolderAndStartNeedsFolders)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("again");
    ASSERT_TRUE(WriteImage(src + "/x.jpg", 600, 500, 100));
    int dialogs = 0;
    QString answer = src;
    HDRBatchWindow::s_FolderDialog = [&](const QString&, const QString&) {
        ++dialogs;
        return answer;
    };
    w.setWindowMode(0);
    w.show();
    w.m_pSourceButton->click();
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 1);
    QPointer<HDRBatchExposureWidget> first = w.m_aBatchExposures[0];
    w.m_pSourceButton->click(); // the same folder again: a new scan
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 1);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(HDRBatchWindow::pathfromFolderSettings("lastDialogPath"), src);

    // Start without a target: the target dialog is cancelled, nothing starts.
    answer.clear();
    dialogs = 0;
    w.m_pStartButton->click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(w.m_pProcessThread, nullptr);
    EXPECT_FALSE(w.m_bStartRequested);
    // A cancelled source dialog keeps the list.
    w.m_pSourceButton->click();
    EXPECT_EQ(w.m_aBatchExposures.size(), 1);
    w.reject();
}

TEST_F(BatchWindowTest, StartWhileLoadingWaitsAndThenRuns)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("slow");
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(WriteImage(src + QStringLiteral("/s%1.jpg").arg(i), 900, 700, 40 + 40 * i));
    const QString out = MakeFolder("slowout");
    // No box may be shown yet: the source dialog then opens and is cancelled.
    HDRBatchWindow::s_FolderDialog = [](const QString&, const QString&) { return QString(); };
    w.setWindowMode(0);
    w.show();
    w.m_pSourcePathEdit->setText(src);
    w.m_pTargetPathEdit->setText(out);
    ASSERT_TRUE(w.m_bLoading);
    w.m_pStartButton->click();
    EXPECT_TRUE(w.m_bStartRequested);
    EXPECT_FALSE(w.m_pStartButton->isEnabled());
    EXPECT_EQ(w.m_pStartButton->text(), "starte...");
    ASSERT_TRUE(WaitFor([&] { return w.m_pProcessThread != nullptr; }));
    // Stop (twice) once the first series is done: the series in progress is
    // still written, no further one starts.
    ASSERT_TRUE(WaitFor([&] {
        return w.m_pProcessThread == nullptr || !w.m_aBatchExposures.last()->isVisibleTo(w.m_pScrollContent);
    }));
    w.progressCancelRequested();
    w.progressCancelRequested();
    ASSERT_TRUE(WaitFor([&] { return w.m_pProcessThread == nullptr; }));
    const int written = int(QDir(out).entryList(QDir::Files).size());
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 5);
    EXPECT_TRUE(w.m_aBatchExposures.isEmpty());
    w.reject();
}

namespace {

// Standard output of the program (the scan's log lines) while it lives.
class StdoutCapture {
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        m_iSaved = dup(1);
        m_File.open();
        dup2(m_File.handle(), 1);
    }
    ~StdoutCapture() { Stop(); }
    // The lines written so far that start with one of the prefixes.
    QStringList Lines(const QStringList& prefixes)
    {
        std::fflush(stdout);
        QFile f(m_File.fileName());
        QStringList lines;
        if (!f.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray& line : f.readAll().split('\n'))
            for (const QString& p : prefixes)
                if (line.startsWith(p.toUtf8()))
                    lines << QString::fromUtf8(line);
        return lines;
    }
    void Stop()
    {
        if (m_iSaved < 0)
            return;
        std::fflush(stdout);
        dup2(m_iSaved, 1);
        close(m_iSaved);
        m_iSaved = -1;
        QFile f(m_File.fileName());
        if (f.open(QIODevice::ReadOnly)) // what else was written meanwhile (failure texts) stays visible
            std::fputs(f.readAll().constData(), stdout);
    }

private:
    QTemporaryFile m_File;
    int m_iSaved = -1;
};

void TypeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

const QStringList kScanLog = {"LoadPath", "Batchfiles"};

} // namespace

// Typing a source folder scans it once: after a pause or at Return, never
// per key (each typed prefix, "/" first, used to be a scan of its own on the
// GUI thread). A typed path naming no folder still empties the list at once.
TEST_F(BatchWindowTest, TypedSourceFolderIsScannedOnceAfterAPauseOrAtReturn)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString src = MakeFolder("typed");
    MakeFolder("typed/sub");
    ASSERT_TRUE(WriteImage(src + "/a.jpg", 600, 500, 80));
    ASSERT_TRUE(WriteImage(src + "/b.jpg", 600, 500, 160));
    ASSERT_TRUE(WriteImage(src + "/sub/c.jpg", 600, 500, 120));
    ASSERT_TRUE(WriteText(src + "/notes.txt", "x"));
    w.setWindowMode(0);
    w.show();
    w.m_pRecursiveCheckBox->setChecked(false); // a per-key scan of "/" stays short
    StdoutCapture log;
    TypeText(w.m_pSourcePathEdit, src);
    EXPECT_EQ(w.m_pSourcePathEdit->text(), src);
    EXPECT_TRUE(log.Lines(kScanLog).isEmpty()) << log.Lines(kScanLog).join("|").toStdString();
    EXPECT_TRUE(w.m_strLoadPath.isEmpty());
    // The pause: one scan of the whole path, with the usual lines and boxes.
    ASSERT_TRUE(WaitFor([&] { return !w.m_strLoadPath.isEmpty(); }, 5000));
    ASSERT_TRUE(ScanDone());
    EXPECT_EQ(log.Lines(kScanLog), QStringList({"LoadPath: " + src, "Batchfiles before Extension Filter: 3",
                                                "Batchfiles after Extension Filter: 2"}));
    ASSERT_EQ(w.m_aBatchExposures.size(), 2);
    EXPECT_EQ(w.m_aBatchExposures[0]->title(), "a_jpg");

    // Return (the end of the editing) applies the typed text at once. On the
    // way the typed prefix ".../s" names no folder and empties the list.
    TypeText(w.m_pSourcePathEdit, "/sub");
    EXPECT_TRUE(w.m_strLoadPath.isEmpty());
    EXPECT_TRUE(w.m_pPathTimer->isActive());
    emit w.m_pSourcePathEdit->editingFinished();
    EXPECT_FALSE(w.m_pPathTimer->isActive());
    EXPECT_EQ(w.m_strLoadPath, src + "/sub");
    EXPECT_TRUE(w.m_bLoading);
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 1);
    EXPECT_EQ(log.Lines({"LoadPath"}), QStringList({"LoadPath: " + src, "LoadPath: " + src + "/sub"}));

    // A typed path that names no folder empties the list at once.
    TypeText(w.m_pSourcePathEdit, "x");
    EXPECT_TRUE(w.m_aBatchExposures.isEmpty());
    EXPECT_TRUE(w.m_strLoadPath.isEmpty());
    EXPECT_EQ(w.m_pStatusLabel->text(), QString::fromUtf8("Bitte gültigen Quell & Zielordner wählen..."));
    log.Stop();
    w.reject();
}

// The folder dialog's choice and a dropped folder are scanned at once; the
// listing runs off the GUI thread, and a newer folder wins over a listing that
// still runs: its result is dropped, its walk ends.
TEST_F(BatchWindowTest, NewerFolderWinsOverARunningScan)
{
    HDRBatchWindow& w = *m_pWindow;
    const QString slow = MakeFolder("slow");
    ASSERT_TRUE(WriteImage(slow + "/old.jpg", 600, 500, 80));
    const QString fresh = MakeFolder("fresh");
    ASSERT_TRUE(WriteImage(fresh + "/new1.jpg", 600, 500, 100));
    ASSERT_TRUE(WriteImage(fresh + "/new2.jpg", 600, 500, 140));
    std::atomic<bool> release{false};
    std::atomic<int> held{0};
    HDRBatchWindow::s_ScanHook = [&](const QString& folder) {
        if (folder != slow)
            return;
        ++held;
        while (!release.load())
            QThread::msleep(2);
    };
    HDRBatchWindow::s_FolderDialog = [&](const QString&, const QString&) { return fresh; };
    w.setWindowMode(0);
    w.show();
    StdoutCapture log;
    w.m_pSourcePathEdit->setText(slow); // set by the program: at once
    EXPECT_EQ(w.m_strLoadPath, slow);
    ASSERT_TRUE(WaitFor([&] { return held.load() == 1; }, 5000));
    // The window goes on while the listing hangs.
    EXPECT_TRUE(w.m_bLoading);
    EXPECT_EQ(w.m_pStatusLabel->text(), "Der Quellordner wird nach Dateien durchsucht.");
    bool timerFired = false;
    QTimer::singleShot(10, &w, [&] { timerFired = true; });
    EXPECT_TRUE(WaitFor([&] { return timerFired; }, 2000));

    w.m_pSourceButton->click(); // the dialog's folder: at once, while the other listing hangs
    EXPECT_EQ(w.m_strLoadPath, fresh);
    EXPECT_FALSE(w.m_pPathTimer->isActive());
    ASSERT_TRUE(ScanDone());
    ASSERT_EQ(w.m_aBatchExposures.size(), 2);
    release = true;
    ASSERT_TRUE(WaitFor([&] { return w.m_vecCancelledScans.isEmpty(); }, 5000));
    QCoreApplication::processEvents();
    ASSERT_EQ(w.m_aBatchExposures.size(), 2);
    EXPECT_EQ(w.m_aBatchExposures[0]->title(), "new1_jpg");
    EXPECT_EQ(w.m_aBatchExposures[1]->title(), "new2_jpg");
    EXPECT_EQ(w.m_pStatusLabel->text(), "Bilder anpassen oder Berechnung starten");
    // The dropped listing reported no counts.
    EXPECT_EQ(log.Lines({"Batchfiles after"}), QStringList({"Batchfiles after Extension Filter: 2"}));
    log.Stop();
    HDRBatchWindow::s_ScanHook = nullptr;
    w.reject();
}

// Renders the window with a scanned list under a dark and a light style; with
// LUMIVEX_RENDER_DIR set the pictures are kept there for a look.
TEST_F(BatchWindowTest, RendersUnderDarkAndLightStyles)
{
    const QString src = MakeFolder("render");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteImage(src + QStringLiteral("/IMG_%1.JPG").arg(100 + i), 600 + 40 * i, 500, 40 + 70 * i));
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    // The German texts, as the program shows them.
    QTranslator german;
    const bool translated = german.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_de_DE"));
    if (translated)
        QCoreApplication::installTranslator(&german);
    for (const SRenderStyle& s : kRenderStyles) {
        CStyleEngine::instance().SetStyle(s.code, s.colour, true);
        for (int mode = 0; mode < 2; ++mode) {
            QWidget main;
            CStyleEngine::instance().SetStyleSheetFromCSS(&main);
            HDRBatchWindow w(&main, &m_Ops, &m_Presets);
            w.setWindowMode(mode);
            w.show();
            w.m_pSourcePathEdit->setText(src);
            ASSERT_TRUE(WaitFor([&] { return !w.m_bLoading && w.m_bPreviewsFinished; }, 20000))
                << s.name << mode << " loading " << w.m_bLoading << " boxes " << w.m_aBatchExposures.size()
                << " thread " << (w.m_pPreviewsThread != nullptr);
            const QPixmap shot = w.grab();
            EXPECT_FALSE(shot.isNull());
            if (!dir.isEmpty())
                shot.save(QString::fromLocal8Bit(dir) +
                          QStringLiteral("/batch%1_%2.png").arg(mode).arg(QLatin1String(s.name)));
            if (translated) { // the fixed-size buttons' texts fit
                for (QPushButton* b : {w.m_pCloseBrowserButton, w.m_pCancelButton, w.m_pStartButton}) {
                    EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width() - 8) << qPrintable(b->text());
                }
            }
            w.reject();
        }
    }
    if (translated)
        QCoreApplication::removeTranslator(&german);
}
