#include "ui/tools/batchjob.h"

#include "document/documentseams.h"
#include "document/exposureseries.h"
#include "document/kernelrunner.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "document/seriesseams.h"
#include "engine/core/random.h"
#include "ui/mainwindow/resultimagewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <vector>
#include <cstdio>
#include <cstring>

namespace {

QString trRun(const char* text) { return QCoreApplication::translate("HDRBatchProcessThread", text); }
QString trBox(const char* text) { return QCoreApplication::translate("HDRBatchExposureWidget", text); }

void logLine(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Puts the preview flag back to "on" however the series ends.
struct SPreviewOnAtEnd {
    ~SPreviewOnAtEnd() { CDocumentSettings::SetPreviewMode(true); }
};

} // namespace

// ---- Files, names, texts ---------------------------------------------------------------

const QStringList& BatchFiles::AcceptedExtensions()
{
    static const QStringList list = {
        ".jpg", ".jpeg", ".jif", ".tif", ".tiff", ".tif32", ".png", ".jp2", ".bmp", ".psd", ".pcx", ".tga",
        ".pcd", ".ppm", ".koa", ".iff", ".lbm", ".pict", ".pct", ".pic", ".sgi", ".exr", ".hdr", ".pfm",
        ".dng", ".cr2", ".crw", ".raf", ".fff", ".3fr", ".kdc", ".dcr", ".mrw", ".nef", ".nrw", ".nrf",
        ".orf", ".rw2", ".raw", ".rwl", ".pef", ".srw", ".sr2", ".srf", ".arw"};
    return list;
}

bool BatchFiles::IsAcceptedImage(const QString& path)
{
    for (const QString& ext : AcceptedExtensions())
        if (path.endsWith(ext, Qt::CaseInsensitive))
            return true;
    return false;
}

bool BatchFiles::caseInsensitiveLessThan(const QString& a, const QString& b) { return a.toLower() < b.toLower(); }

BatchFiles::SScanResult BatchFiles::ScanFolder(const QString& folder, bool recursive)
{
    return ScanFolder(folder, recursive, SScanControl());
}

BatchFiles::SScanResult BatchFiles::ScanFolder(const QString& folder, bool recursive, const SScanControl& control)
{
    SScanResult result;
    auto cancelled = [&] {
        if (!result.bCancelled && control.cancelled && control.cancelled())
            result.bCancelled = true;
        return result.bCancelled;
    };
    logLine("LoadPath: " + folder.toLocal8Bit());
    QStringList all;
    if (!folder.isEmpty()) {
        if (recursive) {
            QDirIterator it(QDir(folder).absolutePath(), QDir::Files | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (!cancelled() && it.hasNext())
                all << it.next();
            if (!result.bCancelled)
                std::sort(all.begin(), all.end(), caseInsensitiveLessThan);
        } else if (!cancelled()) {
            const QStringList names =
                QDir(folder).entryList(QStringList() << QStringLiteral("*.*"), QDir::Files | QDir::Hidden, QDir::Name);
            for (const QString& name : names)
                all << folder + QLatin1Char('/') + name;
        }
    }
    if (result.bCancelled)
        return result;
    result.iBefore = int(all.size());
    logLine("Batchfiles before Extension Filter: " + QByteArray::number(result.iBefore));
    for (const QString& path : all)
        if (IsAcceptedImage(path))
            result.files << path;
    logLine("Batchfiles after Extension Filter: " + QByteArray::number(result.files.size()));
    return result;
}

QString BatchFiles::TitleFromFileName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    const QString ext = dot < 0 ? fileName : fileName.mid(dot + 1);
    return base + QLatin1Char('_') + ext;
}

QString BatchFiles::OutputPath(const QString& folder, const QString& title, const QString& extension)
{
    QString path = folder + QLatin1Char('/') + title + extension;
    for (qint64 k = 0; QFileInfo::exists(path); ++k)
        path = folder + QLatin1Char('/') + QStringLiteral("%1_%2%3").arg(title).arg(k).arg(extension);
    return path;
}

int BatchFiles::LoadProgress(int maximum, unsigned loaded, unsigned threads)
{
    if (threads == 0)
        return 0;
    const float v = float(maximum) * 0.8f * float(loaded) / float(threads);
    return int(v);
}

int BatchFiles::PreviewProgress(int maximum, unsigned index, unsigned boxes)
{
    if (boxes == 0)
        return maximum;
    const float v = float(maximum) * 0.8f + float(maximum) * 0.19999999f * (float(index + 1) / float(boxes));
    return int(v);
}

QString BatchFiles::SeriesDoneText(unsigned done, unsigned checked, double totalMs)
{
    QString text = QStringLiteral("%1/%2 ").arg(done).arg(checked) + trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "abgeschlossen"));
    if (done == 0)
        return text;
    double remaining = (double(checked) - double(done)) * totalMs / double(done);
    if (!std::isfinite(remaining) || remaining < 0.0)
        remaining = 0.0;
    const long long m = (long long)std::trunc(remaining / 60000.0);
    const long long s = (long long)std::trunc(remaining / 1000.0) % 60;
    if (m > 0 || s > 0) {
        text += QStringLiteral(" - ") + trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "geschätze Restzeit")) + QStringLiteral(": ");
        if (m > 1)
            text += QStringLiteral("%1").arg(m) + QLatin1Char(' ') + trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "Minuten")) + QLatin1Char(' ');
        else if (m == 1)
            text += QStringLiteral("%1").arg(1) + QLatin1Char(' ') + trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "Minute")) + QLatin1Char(' ');
        if (s > 1)
            text += QStringLiteral("%1").arg(s) + QLatin1Char(' ') + trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "Sekunden"));
        else if (s == 1)
            text += QStringLiteral("%1").arg(1) + QLatin1Char(' ') + trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "Sekunde"));
    }
    return text;
}

// ---- The runner ----------------------------------------------------------------------

double IBatchRunReporter::Now() { return MP_UI_GetActualTime(); }

namespace {

QString outOfMemoryText()
{
    return QCoreApplication::translate("IExposure", "Es steht nicht genug Arbeitsspeicher zur Verfügung.");
}

// ---- Decode ahead: a job's files as the series' loader hands them over ----

struct SDecodedFile {
    SDecodedFile() = default;
    SDecodedFile(const SDecodedFile&) = delete;
    SDecodedFile& operator=(const SDecodedFile&) = delete;
    ~SDecodedFile()
    {
        if (pBitmap)
            FreeImage_Unload(pBitmap);
    }
    FIBITMAP* pBitmap = nullptr; // decoded and rescaled; null when the file could not be read
    float fPreviewLuminance = -1.0f;
    std::unique_ptr<CExposure> pExposure; // Load()ed: name and sizes
    bool bLoaded = false;
};

struct SDecodedJob {
    std::vector<std::unique_ptr<SDecodedFile>> files;
};

// No engine work: the image library's decode (the loader's threads), the
// rescale of the RAW settings and, for the first usable file, its camera data
// (a second read of the file that the series would otherwise make under the
// engine guard when it chooses its master).
std::unique_ptr<SDecodedJob> DecodeJob(const SBatchJob& job)
{
    auto decoded = std::make_unique<SDecodedJob>();
    CImageLoader loader;
    // The decode runs beside the engine work of the series before: its
    // speed is hidden, its memory is not (the run may hold at most two
    // full-size images more than one series alone).
    loader.m_bStagedJpeg = false;
    for (const SExposure& r : job.vecFiles)
        if (!r.m_strFilePath.isEmpty())
            loader.Enqueue(r.m_strFilePath, true);
    loader.Load();
    size_t k = 0;
    bool cameraData = false;
    for (const SExposure& r : job.vecFiles) {
        if (r.m_strFilePath.isEmpty())
            continue;
        auto f = std::make_unique<SDecodedFile>();
        FIBITMAP* loaded = k < loader.m_vecBitmaps.size() ? loader.m_vecBitmaps[k] : nullptr;
        f->pBitmap = CExposureSeries::RescaleFreeImage(loaded, -1.0f);
        f->fPreviewLuminance = k < loader.m_vecPreviewLuminances.size() ? loader.m_vecPreviewLuminances[k] : -1.0f;
        if (k < loader.m_vecBitmaps.size())
            loader.m_vecBitmaps[k] = nullptr;
        ++k;
        f->pExposure = std::make_unique<CExposure>();
        f->bLoaded = f->pExposure->Load(r.m_strFilePath, f->pBitmap);
        if (f->bLoaded && !cameraData && f->pExposure->m_uiWidth > 499 && f->pExposure->m_uiHeight > 499) {
            f->pExposure->GetExif();
            cameraData = true;
        }
        decoded->files.push_back(std::move(f));
    }
    for (FIBITMAP*& b : loader.m_vecBitmaps) { // more bitmaps than records: never, but no leak
        if (b)
            FreeImage_Unload(b);
        b = nullptr;
    }
    return decoded;
}

// CExposureSeries::Add for a file decoded ahead: true when the series holds
// exactly one exposure afterwards (it takes no more).
bool addDecoded(CExposureSeries& series, SDecodedFile& f)
{
    auto release = [&f] {
        if (f.pBitmap)
            FreeImage_Unload(f.pBitmap);
        f.pBitmap = nullptr;
    };
    if (series.m_vExposures.size() == 1) {
        release();
        return true;
    }
    if (!f.bLoaded) {
        release();
        return series.m_vExposures.size() == 1;
    }
    CExposure* e = f.pExposure.get();
    if (!series.m_vExposures.isEmpty()) {
        if (e->m_uiWidth != series.m_uiWidth || e->m_uiHeight != series.m_uiHeight) {
            release();
            return series.m_vExposures.size() == 1;
        }
    } else if (e->m_uiWidth <= 499 || e->m_uiHeight <= 499) {
        release();
        return false;
    }
    FIBITMAP* bitmap = f.pBitmap; // Prepare takes it over, on failure too
    f.pBitmap = nullptr;
    if (e->Prepare(bitmap, f.fPreviewLuminance))
        series.AddExposure(f.pExposure.release());
    else if (bitmap)
        CDocumentProgress::AddMessage(2, outOfMemoryText(), 2);
    return series.m_vExposures.size() == 1;
}

// What CExposureSeries::AddSeries does after its loader has read the files.
void buildSeries(CExposureSeries& series, SDecodedJob& job)
{
    if (!series.CreateDummyBuffer()) {
        CDocumentProgress::AddMessage(2, outOfMemoryText(), 2);
        series.ClearDummyBuffer();
        return;
    }
    const int before = int(series.m_vExposures.size());
    for (auto& f : job.files)
        if (addDecoded(series, *f))
            break;
    series.UpdateMaster();
    if (int(series.m_vExposures.size()) > before) {
        series.Sort();
        series.ClearDummyBuffer();
        series.AlignAndOptimizeFromDialog(nullptr);
        CSeriesSeams::HandleStatistic("m_iLargestImageLoaded",
                                      (long long)(series.m_uiWidth) * (long long)(series.m_uiHeight));
        series.HDR(false, true);
    }
    series.ClearDummyBuffer();
}

// ---- Encode behind: the result file without the engine ----

// The batch's formats: the 8- and 16-bit ones, which the result writer fills
// without engine work.
bool encodableWithoutEngine(const QString& extension)
{
    switch (ResultImageWriter::FormatForPath(QStringLiteral("x") + extension).eFormat) {
    case EResultFormat::Tif8:
    case EResultFormat::Jpg8:
    case EResultFormat::Tiff16:
    case EResultFormat::Png16:
    case EResultFormat::Jp216:
        return true;
    default:
        return false;
    }
}

// The result writer's bitmap of an 8- or 16-bit format, filled as the writer
// fills it, here off the engine: the encoder's thread and a few of its own
// take row bands of it. The memory is not zero-filled first (the fill writes
// every byte), so the engine, which waits for the chain buffer to be copied
// out, waits for as little as possible.
FIBITMAP* fillBitmap(EResultFormat format, const uint16_t* rgb48, int width, int height,
                     ResultImageWriter::SPixelMemory& memory)
{
    const ResultImageWriter::EFill fill = ResultImageWriter::FillForFormat(format);
    const int bpp = fill == ResultImageWriter::EFill::Rgb16 ? 48 : (fill == ResultImageWriter::EFill::Bgr8 ? 24 : 32);
    FIBITMAP* dib = rgb48 && width > 0 && height > 0 && fill != ResultImageWriter::EFill::Zero
                        ? ResultImageWriter::AllocateUnfilled(
                              fill == ResultImageWriter::EFill::Rgb16 ? FIT_RGB16 : FIT_BITMAP, width, height, bpp,
                              memory)
                        : nullptr;
    if (!dib)
        return nullptr;
    const int bands = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    auto band = [&](int k) {
        ResultImageWriter::FillResultScanlines(fill, rgb48, memory.bits, memory.pitch, width, height,
                                               int(int64_t(height) * k / bands), int(int64_t(height) * (k + 1) / bands));
    };
    std::vector<std::thread> helpers;
    for (int k = 1; k < bands; ++k) {
        try {
            helpers.emplace_back(band, k);
        } catch (...) { // no thread: this one fills the band
            band(k);
        }
    }
    band(0);
    for (std::thread& t : helpers)
        t.join();
    return dib;
}

// The master photograph's metadata, 300 dpi, the program tags and the write
// through a temporary file, as the result writer does them.
bool writeBitmap(const QString& path, FIBITMAP* dib, const QString& masterFile)
{
    const SResultFormatInfo info = ResultImageWriter::FormatForPath(path);
    std::printf("CropData=NULL\n");
    if (FIBITMAP* master = ResultImageWriter::LoadMasterMetadata(masterFile)) {
        ResultImageWriter::ApplyMasterMetadata(dib, master);
        FreeImage_Unload(master);
    }
    std::fflush(stdout);
    const int flags = info.eFormat == EResultFormat::Jpg8 ? ResultImageWriter::JpegSaveFlags(100) : info.iFlags;
    return ResultImageWriter::SaveBitmapSafely(info.fif, dib, ResultImageWriter::TargetPath(path), flags);
}

// ---- The progress lines in the order of a run one series after the other ----

// Every series (ticket t: the t-th box of the run) posts its lines here from
// whichever thread does its part; the lines of a series reach the reporter
// only after every line of the series before it. The stop button is looked at
// after each box's last line, as in a run one series after the other: from
// there on nothing more is reported and no further series is written.
class COrderedReport {
public:
    COrderedReport(IBatchRunReporter& reporter, const std::atomic<bool>& cancel, int tickets, unsigned checked)
        : m_Reporter(reporter), m_bCancel(cancel), m_vecPending(size_t(tickets)), m_vecComplete(size_t(tickets), 0),
          m_uiChecked(checked)
    {
    }
    void Message(int t, const QString& text, unsigned type) { Post(t, {SEvent::eMessage, text, type, 0.0f, 0}); }
    void Fraction(int t, float fraction) { Post(t, {SEvent::eFraction, QString(), 0, fraction, 0}); }
    void BoxDone(int t, quint32 box) { Post(t, {SEvent::eBoxDone, QString(), 0, 0.0f, box}); }
    // The series' clock starts when its first line is reported.
    void Begin(int t) { Post(t, {SEvent::eBegin, QString(), 0, 0.0f, 0}); }
    // "d/c abgeschlossen" with the time since Begin.
    void Finish(int t) { Post(t, {SEvent::eFinish, QString(), 0, 0.0f, 0}); }
    void Complete(int t)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_bStopped)
            return;
        m_vecComplete[size_t(t)] = 1;
        const int n = int(m_vecComplete.size());
        while (m_iHead < n && m_vecComplete[size_t(m_iHead)]) {
            if (m_bCancel.load()) {
                m_bStopped = true;
                m_vecPending.clear();
                return;
            }
            if (++m_iHead < n) {
                for (const SEvent& e : m_vecPending[size_t(m_iHead)])
                    Forward(e);
                m_vecPending[size_t(m_iHead)].clear();
            }
        }
    }
    bool Stopped() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_bStopped;
    }
    // The last series whose lines were all reported (-1: none yet).
    int LastReported() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_bStopped ? m_iHead : m_iHead - 1;
    }

private:
    struct SEvent {
        enum EKind { eMessage, eFraction, eBoxDone, eBegin, eFinish } kind;
        QString text;
        unsigned type;
        float fraction;
        quint32 box;
    };
    void Post(int t, SEvent e)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_bStopped)
            return;
        if (t == m_iHead)
            Forward(e);
        else
            m_vecPending[size_t(t)].push_back(std::move(e));
    }
    void Forward(const SEvent& e)
    {
        switch (e.kind) {
        case SEvent::eMessage: m_Reporter.Message(e.text, e.type); break;
        case SEvent::eFraction: m_Reporter.Fraction(e.fraction); break;
        case SEvent::eBoxDone: m_Reporter.BoxDone(e.box); break;
        case SEvent::eBegin: m_dStart = m_Reporter.Now(); break;
        case SEvent::eFinish:
            ++m_uiDone;
            m_dTotal += m_Reporter.Now() - m_dStart;
            m_Reporter.Message(BatchFiles::SeriesDoneText(m_uiDone, m_uiChecked, m_dTotal), 1);
            break;
        }
    }
    mutable std::mutex m_Mutex;
    IBatchRunReporter& m_Reporter;
    const std::atomic<bool>& m_bCancel;
    std::vector<std::vector<SEvent>> m_vecPending;
    std::vector<char> m_vecComplete;
    int m_iHead = 0;
    bool m_bStopped = false;
    unsigned m_uiChecked;
    unsigned m_uiDone = 0;
    double m_dTotal = 0.0;
    double m_dStart = 0.0;
};

} // namespace

CBatchRunner::CBatchRunner(const SBatchRunSettings& settings, IBatchRunReporter& reporter,
                           const std::atomic<bool>& cancel)
    : m_Settings(settings), m_Reporter(reporter), m_bCancel(cancel)
{
}

unsigned short* CBatchRunner::ComputeSeries(const SBatchJob& job, std::unique_ptr<CExposureSeries>& series,
                                            const std::function<void(const QString&, unsigned)>& message,
                                            const std::function<void(CExposureSeries&)>& load,
                                            const std::function<void()>& beforeChain)
{
    SPreviewOnAtEnd previewOn;
    CDocumentSettings::SetPreviewMode(false);
    series = std::make_unique<CExposureSeries>(false);
    series->m_strKernelName = m_Settings.strKernelName;
    series->m_bPreviewPassWithFullSize = m_Settings.bHDRPreviewPass;
    std::memcpy(series->m_pfParameterValues, m_Settings.vecParameterValues.data(),
                sizeof(series->m_pfParameterValues));
    message(trBox(QT_TRANSLATE_NOOP("HDRBatchExposureWidget", "Bildvorbereitung")) + QStringLiteral(": ") + job.strTitle, 0);
    load(*series);
    if (series->m_vExposures.isEmpty()) {
        message(trBox(QT_TRANSLATE_NOOP("HDRBatchExposureWidget", "Belichtungsreihe konnte nicht geladen werden.")), 1);
        return nullptr;
    }
    message(trBox(QT_TRANSLATE_NOOP("HDRBatchExposureWidget", "Post Processing")) + QStringLiteral(": ") + job.strTitle, 0);
    CPostProcessing* chain = m_Settings.pChain.get();
    if (!chain)
        return nullptr;
    if (!series->m_pusBuffer) { // the HDR stage had no memory; its own notice is not shown during the run
        message(outOfMemoryText(), 2);
        return nullptr;
    }
    const QSize size(int(series->m_uiWidth), int(series->m_uiHeight));
    beforeChain();
    chain->SetAccordingExposureSeries(series.get());
    const bool ok = CPostProcessing::InitBuffer(series->m_pusBuffer, size, size, false) &&
                    chain->Process(series->m_uiWidth, series->m_uiHeight, false) == 0;
    chain->SetAccordingExposureSeries(nullptr);
    if (!ok || CPostProcessing::GetBuffer() == nullptr || CPostProcessing::GetBufferSize() != size) {
        message(outOfMemoryText(), 2);
        return nullptr;
    }
    return CPostProcessing::GetBuffer();
}

unsigned short* CBatchRunner::CalculateResult(const SBatchJob& job, std::unique_ptr<CExposureSeries>& series)
{
    return ComputeSeries(
        job, series, [this](const QString& text, unsigned type) { m_Reporter.Message(text, type); },
        [&job](CExposureSeries& s) {
            QVector<SExposure> files = job.vecFiles;
            s.AddSeries(files);
            for (SExposure& r : files) { // AddSeries hands every bitmap on; be sure
                if (r.m_pBitmap)
                    FreeImage_Unload(r.m_pBitmap);
                r.m_pBitmap = nullptr;
            }
        },
        [] {});
}

int CBatchRunner::Run(const QVector<SBatchJob>& jobs)
{
    if (m_Settings.bOverlapped && encodableWithoutEngine(m_Settings.strExtension))
        return RunOverlapped(jobs);
    return RunOneAtATime(jobs);
}

int CBatchRunner::RunOneAtATime(const QVector<SBatchJob>& jobs)
{
    int written = 0;
    unsigned checked = 0;
    for (const SBatchJob& job : jobs)
        checked += job.bChecked ? 1 : 0;
    MP_UI_SetAnimCount(0);
    unsigned done = 0;
    double total = 0.0;
    const int n = int(jobs.size());
    if (n == 0 || m_bCancel.load())
        return 0;
    for (int i = n - 1; i >= 0; --i) {
        const SBatchJob& job = jobs[i];
        if (job.bChecked) {
            MP_UI_SetNewRandomSeed();
            MP_UI_SetAnimCount(MP_UI_GetAnimCount() + 1.0f);
            const double t0 = m_Reporter.Now();
            {
                // One engine operation from the load to the written file.
                CEngineGuard guard;
                std::unique_ptr<CExposureSeries> series;
                const unsigned short* result = CalculateResult(job, series);
                if (result) {
                    const QString path = BatchFiles::OutputPath(m_Settings.strTargetFolder, job.strTitle,
                                                                m_Settings.strExtension);
                    m_Reporter.Message(trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "Speichere")) + QLatin1Char(' ') + QFileInfo(path).fileName(), 0);
                    const QString master = series->m_pMaster ? series->m_pMaster->m_strFilePath
                                                             : series->m_vExposures.first()->m_strFilePath;
                    const int width = int(series->m_uiWidth), height = int(series->m_uiHeight);
                    // The result is the chain's buffer: the series' own buffers
                    // go before the writer takes memory for the file.
                    series.reset();
                    if (ResultImageWriter::SaveImageFile(path, result, 100, false, width, height, master, nullptr)) {
                        ++written;
                        m_lstWritten << path;
                    } else {
                        m_Reporter.Message(ResultImageWriter::FileErrorText(path), 2);
                    }
                }
            }
            ++done;
            total += m_Reporter.Now() - t0;
            m_Reporter.Message(BatchFiles::SeriesDoneText(done, checked, total), 1);
        }
        m_Reporter.BoxDone(quint32(i));
        m_Reporter.Fraction(1.0f - float(i) / float(n));
        if (m_bCancel.load())
            break;
    }
    return written;
}

// Three threads: this one does the engine work of series t (load into the
// series, HDR stage, chain) under the engine guard; a decoder reads the files
// of series t + 1 meanwhile; an encoder fills, encodes and writes the result
// of series t - 1. Neither helper does engine work, so the engine keeps one
// operation at a time, in the order and with the random seed and animation
// frame of a run one series after the other. At most one decoded series waits
// and one result is being written; the chain's shared full-size buffer is
// overwritten only after the encoder has copied the previous result out.
int CBatchRunner::RunOverlapped(const QVector<SBatchJob>& jobs)
{
    unsigned checked = 0;
    for (const SBatchJob& job : jobs)
        checked += job.bChecked ? 1 : 0;
    MP_UI_SetAnimCount(0);
    const int n = int(jobs.size());
    if (n == 0 || m_bCancel.load())
        return 0;
    COrderedReport report(m_Reporter, m_bCancel, n, checked);

    struct SEncodeTask {
        int iTicket;
        quint32 uiBox;
        QString strTitle;
        const unsigned short* pResult;
        int iWidth;
        int iHeight;
        QString strMaster;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::unique_ptr<SDecodedJob> decoded; // the decoder's mailbox
    int decodedTicket = -1;
    bool decoderEnded = false;
    bool finish = false; // the engine side is done: helpers stop
    std::deque<SEncodeTask> tasks;
    bool chainBufferInUse = false;
    int written = 0;

    std::thread decoder([&] {
        for (int t = 0; t < n; ++t) {
            const SBatchJob& job = jobs[n - 1 - t];
            if (!job.bChecked)
                continue;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (finish)
                    break;
            }
            if (report.Stopped())
                break;
            std::unique_ptr<SDecodedJob> d;
            try {
                d = DecodeJob(job);
            } catch (const std::bad_alloc&) { // no memory: the series finds nothing to load
                d = std::make_unique<SDecodedJob>();
            }
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return !decoded || finish; });
            if (finish)
                break;
            decoded = std::move(d);
            decodedTicket = t;
            changed.notify_all();
        }
        std::lock_guard<std::mutex> lock(mutex);
        decoderEnded = true;
        changed.notify_all();
    });

    std::thread encoder([&] {
        const float fn = float(n);
        for (;;) {
            SEncodeTask task;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return !tasks.empty() || finish; });
                if (tasks.empty())
                    return;
                task = tasks.front();
                tasks.pop_front();
            }
            const int t = task.iTicket;
            FIBITMAP* dib = nullptr;
            ResultImageWriter::SPixelMemory memory; // outlives dib
            QString path;
            const bool stopped = report.Stopped(); // every series before this one has reported
            if (!stopped) {
                path = BatchFiles::OutputPath(m_Settings.strTargetFolder, task.strTitle, m_Settings.strExtension);
                report.Message(t, trRun(QT_TRANSLATE_NOOP("HDRBatchProcessThread", "Speichere")) + QLatin1Char(' ') + QFileInfo(path).fileName(), 0);
                dib = fillBitmap(ResultImageWriter::FormatForPath(path).eFormat, task.pResult, task.iWidth,
                                 task.iHeight, memory);
            }
            {
                std::lock_guard<std::mutex> lock(mutex);
                chainBufferInUse = false;
                changed.notify_all();
            }
            if (stopped)
                continue;
            const bool ok = dib && writeBitmap(path, dib, task.strMaster);
            if (dib)
                FreeImage_Unload(dib);
            if (ok) {
                ++written;
                m_lstWritten << path;
            } else {
                report.Message(t, ResultImageWriter::FileErrorText(path), 2);
            }
            report.Finish(t);
            report.BoxDone(t, task.uiBox);
            report.Fraction(t, 1.0f - float(task.uiBox) / fn);
            report.Complete(t);
        }
    });

    // The engine state each series starts from, for the series whose results
    // the stop button discards (the engine may be one or two series ahead of
    // the last one written).
    std::vector<int> seedBefore(size_t(n), 0);
    std::vector<float> animBefore(size_t(n), 0.0f);
    std::vector<char> started(size_t(n), 0);
    for (int t = 0; t < n && !report.Stopped(); ++t) {
        const quint32 box = quint32(n - 1 - t);
        const SBatchJob& job = jobs[int(box)];
        if (!job.bChecked) {
            report.BoxDone(t, box);
            report.Fraction(t, 1.0f - float(box) / float(n));
            report.Complete(t);
            continue;
        }
        std::unique_ptr<SDecodedJob> files;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return (decoded && decodedTicket == t) || decoderEnded; });
            if (decoded && decodedTicket == t) {
                files = std::move(decoded);
                changed.notify_all();
            }
        }
        if (!files || report.Stopped())
            break;
        seedBefore[size_t(t)] = MP_UI_GetRandomSeed();
        animBefore[size_t(t)] = MP_UI_GetAnimCount();
        started[size_t(t)] = 1;
        MP_UI_SetNewRandomSeed();
        MP_UI_SetAnimCount(MP_UI_GetAnimCount() + 1.0f);
        report.Begin(t);
        bool handedOn = false;
        {
            CEngineGuard guard;
            std::unique_ptr<CExposureSeries> series;
            const unsigned short* result = ComputeSeries(
                job, series, [&](const QString& text, unsigned type) { report.Message(t, text, type); },
                [&files](CExposureSeries& s) { buildSeries(s, *files); },
                [&] {
                    std::unique_lock<std::mutex> lock(mutex);
                    changed.wait(lock, [&] { return !chainBufferInUse; });
                });
            files.reset();
            if (result) {
                SEncodeTask task{t,
                                 box,
                                 job.strTitle,
                                 result,
                                 int(series->m_uiWidth),
                                 int(series->m_uiHeight),
                                 series->m_pMaster ? series->m_pMaster->m_strFilePath
                                                   : series->m_vExposures.first()->m_strFilePath};
                std::lock_guard<std::mutex> lock(mutex);
                chainBufferInUse = true;
                tasks.push_back(task);
                changed.notify_all();
                handedOn = true;
            }
            series.reset();
            MP_ClearBuffer(); // as the result writer does before it writes
        }
        if (!handedOn) {
            report.Finish(t);
            report.BoxDone(t, box);
            report.Fraction(t, 1.0f - float(box) / float(n));
            report.Complete(t);
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        finish = true;
        changed.notify_all();
    }
    encoder.join();
    decoder.join();
    // The series computed after the stop was pressed are not written; the
    // random seed and frame number go back to where the first of them
    // started, as if none had started.
    if (report.Stopped()) {
        for (int t = std::max(0, report.LastReported() + 1); t < n; ++t) {
            if (started[size_t(t)]) {
                MP_UI_SetRandomSeed(seedBefore[size_t(t)]);
                MP_UI_SetAnimCount(animBefore[size_t(t)]);
                break;
            }
        }
    }
    return written;
}
