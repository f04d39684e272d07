#include "ui/tools/batchjob.h"

#include "document/documentseams.h"
#include "document/exposureseries.h"
#include "document/kernelrunner.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "ui/mainwindow/resultimagewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSize>

#include <algorithm>
#include <cmath>
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
    SScanResult result;
    logLine("LoadPath: " + folder.toLocal8Bit());
    QStringList all;
    if (!folder.isEmpty()) {
        if (recursive) {
            QDirIterator it(QDir(folder).absolutePath(), QDir::Files | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                all << it.next();
            std::sort(all.begin(), all.end(), caseInsensitiveLessThan);
        } else {
            const QStringList names =
                QDir(folder).entryList(QStringList() << QStringLiteral("*.*"), QDir::Files | QDir::Hidden, QDir::Name);
            for (const QString& name : names)
                all << folder + QLatin1Char('/') + name;
        }
    }
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

CBatchRunner::CBatchRunner(const SBatchRunSettings& settings, IBatchRunReporter& reporter,
                           const std::atomic<bool>& cancel)
    : m_Settings(settings), m_Reporter(reporter), m_bCancel(cancel)
{
}

unsigned short* CBatchRunner::CalculateResult(const SBatchJob& job, std::unique_ptr<CExposureSeries>& series)
{
    SPreviewOnAtEnd previewOn;
    CDocumentSettings::SetPreviewMode(false);
    series = std::make_unique<CExposureSeries>(false);
    series->m_strKernelName = m_Settings.strKernelName;
    std::memcpy(series->m_pfParameterValues, m_Settings.vecParameterValues.data(),
                sizeof(series->m_pfParameterValues));
    m_Reporter.Message(trBox(QT_TRANSLATE_NOOP("HDRBatchExposureWidget", "Bildvorbereitung")) + QStringLiteral(": ") + job.strTitle, 0);
    QVector<SExposure> files = job.vecFiles;
    series->AddSeries(files);
    for (SExposure& r : files) { // AddSeries hands every bitmap on; be sure
        if (r.m_pBitmap)
            FreeImage_Unload(r.m_pBitmap);
        r.m_pBitmap = nullptr;
    }
    if (series->m_vExposures.isEmpty()) {
        m_Reporter.Message(trBox(QT_TRANSLATE_NOOP("HDRBatchExposureWidget", "Belichtungsreihe konnte nicht geladen werden.")), 1);
        return nullptr;
    }
    m_Reporter.Message(trBox(QT_TRANSLATE_NOOP("HDRBatchExposureWidget", "Post Processing")) + QStringLiteral(": ") + job.strTitle, 0);
    CPostProcessing* chain = m_Settings.pChain.get();
    if (!chain)
        return nullptr;
    const QString outOfMemory =
        QCoreApplication::translate("IExposure", "Es steht nicht genug Arbeitsspeicher zur Verfügung.");
    if (!series->m_pusBuffer) { // the HDR stage had no memory; its own notice is not shown during the run
        m_Reporter.Message(outOfMemory, 2);
        return nullptr;
    }
    const QSize size(int(series->m_uiWidth), int(series->m_uiHeight));
    chain->SetAccordingExposureSeries(series.get());
    const bool ok = CPostProcessing::InitBuffer(series->m_pusBuffer, size, size, false) &&
                    chain->Process(series->m_uiWidth, series->m_uiHeight, false) == 0;
    chain->SetAccordingExposureSeries(nullptr);
    if (!ok || CPostProcessing::GetBuffer() == nullptr || CPostProcessing::GetBufferSize() != size) {
        m_Reporter.Message(outOfMemory, 2);
        return nullptr;
    }
    return CPostProcessing::GetBuffer();
}

int CBatchRunner::Run(const QVector<SBatchJob>& jobs)
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
                    if (ResultImageWriter::SaveImageFile(path, result, 100, false, int(series->m_uiWidth),
                                                         int(series->m_uiHeight), master, nullptr)) {
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
