// The series' part of a project: its keys in the project file and the data
// files of its exposure (the full-size image, CMap0000.dat, and the manual
// weight map, MWMap0000.dat) in the project's data folder.
//
// Data files are written through a temporary file renamed over the old one,
// so a failed save leaves the previous project whole; the open image is never
// touched (the pre-coding works on a private copy). Everything read is
// checked before it is used: sizes before any allocation, file lengths and
// stored lengths before any copy.

#include "document/exposureseries.h"

#include "document/alignmentthreads.h"
#include "document/documentseams.h"
#include "document/kernelrunner.h"
#include "document/seriesseams.h"
#include "engine/MP_calc.h"
#include "engine/core/precoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include <zlib.h>

namespace {

constexpr long long kMaxPixels = 715827882; // a third of 2^31: 6 bytes a pixel fit 32 bits

QString tr(const char* text)
{
    return QCoreApplication::translate("CExposureSeries", text);
}

QString dataPath(const QString& folder, const char* pattern)
{
    return folder + QDir::separator() + QString::asprintf(pattern, 0);
}

QString exposureKey(const char* name)
{
    return QString::asprintf("Exposure%04i/", 0) + QLatin1String(name);
}

// A finite float of the project file, else the fallback.
float readFloat(const QSettings& settings, const QString& key, float fallback)
{
    const QVariant v = settings.value(key);
    bool ok = false;
    const float f = v.toFloat(&ok);
    return (ok && std::isfinite(f)) ? f : fallback;
}

int readInt(const QSettings& settings, const QString& key)
{
    bool ok = false;
    const int v = settings.value(key, 0).toInt(&ok);
    return ok ? v : 0;
}

} // namespace

// ---- Data files ------------------------------------------------------------------------

bool CExposureSeries::SaveDataBuffer(const char* data, unsigned int length, const QString& path)
{
    if (!data && length)
        return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return true;
    if (MP_UI_GetBufferCompressionMode()) {
        const QByteArray packed =
            qCompress(reinterpret_cast<const uchar*>(data), qsizetype(length), MP_UI_GetCompressionLevel());
        if (packed.isEmpty() || file.write(packed) != packed.size()) {
            file.cancelWriting();
            return true;
        }
    } else if (file.write(data, qint64(length)) != qint64(length)) {
        file.cancelWriting();
        return true;
    }
    return !file.commit();
}

bool CExposureSeries::LoadDataBuffer(char* destination, unsigned int length, const QString& path)
{
    if (!destination)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const qint64 size = file.size();
    if (!MP_UI_GetBufferCompressionMode())
        return size != qint64(length) || file.read(destination, qint64(length)) != qint64(length);

    // A 4-byte big-endian length, then a zlib stream that inflates to exactly
    // that many bytes.
    if (size < 4 || qint64(size - 4) > qint64(compressBound(uLong(length))) + 64)
        return true;
    unsigned char head[4];
    if (file.read(reinterpret_cast<char*>(head), 4) != 4)
        return true;
    const quint32 stored = (quint32(head[0]) << 24) | (quint32(head[1]) << 16) | (quint32(head[2]) << 8) | head[3];
    if (stored != length)
        return true;

    z_stream z;
    std::memset(&z, 0, sizeof(z));
    if (inflateInit(&z) != Z_OK)
        return true;
    z.next_out = reinterpret_cast<Bytef*>(destination);
    z.avail_out = uInt(length);
    constexpr qint64 kChunk = 1 << 20;
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[kChunk]);
    int rc = chunk ? Z_OK : Z_MEM_ERROR;
    while (rc == Z_OK) {
        const qint64 got = file.read(chunk.get(), kChunk);
        if (got <= 0) {
            rc = Z_DATA_ERROR; // the stream ends before its end mark
            break;
        }
        z.next_in = reinterpret_cast<Bytef*>(chunk.get());
        z.avail_in = uInt(got);
        while (z.avail_in > 0 && rc == Z_OK) {
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_OK && z.avail_out == 0 && z.avail_in > 0)
                rc = Z_BUF_ERROR; // more data than the buffer holds
        }
        if (rc == Z_BUF_ERROR && z.avail_in == 0 && z.avail_out > 0)
            rc = Z_OK; // needs more input
    }
    const bool good = rc == Z_STREAM_END && z.total_out == uLong(length) && z.avail_in == 0 && file.atEnd();
    inflateEnd(&z);
    return !good;
}

int CExposureSeries::SaveExposureData(const CExposure& e, const QString& imageFile, const QString& weightFile,
                                      int saveMode)
{
    const size_t n = e.PixelCount();
    if (n > size_t(kMaxPixels))
        return 1;
    int result = 0;
    if (!e.m_bSynthetic) {
        if (!e.m_pusBuffer)
            return 1;
        if (MP_UI_GetBufferCompressionMode()) {
            // Pre-code a private copy: the open image stays as it is.
            unsigned short* copy = static_cast<unsigned short*>(std::malloc(n * 6));
            if (!copy)
                return -1;
            std::memcpy(copy, e.m_pusBuffer, n * 6);
            const int coded = MP_UI_ConvertToCompress(copy, int(e.m_uiWidth), int(e.m_uiHeight), saveMode);
            if (coded != 0) {
                std::free(copy);
                return coded == -1 ? -1 : 1;
            }
            result |= SaveDataBuffer(reinterpret_cast<const char*>(copy), unsigned(n * 6), imageFile) ? 1 : 0;
            std::free(copy);
        } else {
            result |= SaveDataBuffer(reinterpret_cast<const char*>(e.m_pusBuffer), unsigned(n * 6), imageFile) ? 1
                                                                                                              : 0;
        }
    }
    if (!e.m_psMWeightBuffer)
        return 1;
    result |= SaveDataBuffer(reinterpret_cast<const char*>(e.m_psMWeightBuffer), unsigned(n * 2), weightFile) ? 1 : 0;
    return result;
}

int CExposureSeries::LoadExposureData(CExposure& e, const QString& imageFile, const QString& weightFile,
                                      int saveMode)
{
    const size_t n = e.PixelCount();
    if (n > size_t(kMaxPixels))
        return 1;
    if (!e.m_bSynthetic) {
        if (LoadDataBuffer(reinterpret_cast<char*>(e.m_pusBuffer), unsigned(n * 6), imageFile))
            return 1;
        if (MP_UI_GetBufferCompressionMode() &&
            MP_UI_ConvertFromCompress(e.m_pusBuffer, int(e.m_uiWidth), int(e.m_uiHeight), saveMode) != 0)
            return -1;
    }
    return LoadDataBuffer(reinterpret_cast<char*>(e.m_psMWeightBuffer), unsigned(n * 2), weightFile) ? 1 : 0;
}

// ---- Project participant -----------------------------------------------------------------

bool CExposureSeries::SaveProject(QSettings& settings, const QString& folder) const
{
    CDocumentProgress::AddMessage(9, tr("Speichere Projektdatei."), 0);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Projekt speichern"));
    settings.setValue("ExposureSeries/Size", unsigned(m_vExposures.size()));
    settings.setValue("ExposureSeries/Width", m_uiWidth);
    settings.setValue("ExposureSeries/Height", m_uiHeight);
    settings.setValue("ExposureSeries/WidthPrev", m_uiPreviewWidth);
    settings.setValue("ExposureSeries/HeightPrev", m_uiPreviewHeight);
    settings.setValue("ExposureSeries/ScalingFactor", MP_UI_GetPreviewScalingFactor());

    CEngineGuard guard;
    MP_UI_SetTime();
    std::printf("%s\nSave Project\n", std::string(61, '_').c_str());
    MP_ClearBuffer();
    std::printf("Using up to %d threads at 32BIT\n", MP_UI_getPossibleThreadsFromMemorySize(m_uiWidth, m_uiHeight, 14));
    CAlignmentScheduler scheduler(32);
    const QString imageFile = dataPath(folder, "CMap%04i.dat");
    const QString weightFile = dataPath(folder, "MWMap%04i.dat");

    const CExposure* first = m_vExposures.isEmpty() ? nullptr : m_vExposures.first();
    if (first) {
        settings.setValue(exposureKey("FileName"), first->m_strFileName);
        settings.setValue(exposureKey("FilePath"), first->m_strFilePath);
        settings.setValue(exposureKey("Active"), first->m_bActive);
        settings.setValue(exposureKey("Master"), first->m_bMaster);
        settings.setValue(exposureKey("Synthetic"), first->m_bSynthetic);
        settings.setValue(exposureKey("GlobalWeight"), first->m_fGlobalWeight);
        settings.setValue(exposureKey("ExposureValue"), first->m_fExposureValue);
        settings.setValue(exposureKey("AvgLuminance"), first->m_fAvgLuminance);
        CAlignmentThread* job = scheduler.Enqueue(eAlignSaveData);
        if (!job) {
            SendOutOfMemMessage();
            return false;
        }
        job->m_pExposure = const_cast<CExposure*>(first);
        job->m_sImageFile = imageFile;
        job->m_sWeightFile = weightFile;
        job->m_iSaveMode = CSeriesSeams::SaveMode();
        const int n = int(m_vExposures.size());
        CDocumentProgress::AddMessage(9, tr("Belichtungsreihenbild wird komprimiert") +
                                             QString(" ... %0/%1").arg(1).arg(n),
                                      0, 0.75f / float(n));
    }
    CDocumentProgress::AddMessage(9, tr("Bitte Geduld"), 1);
    scheduler.Process();

    bool failed = false;
    for (const CAlignmentThread* job : scheduler.m_vThreads) {
        if (job->m_iResult == -1) {
            SendOutOfMemMessage();
            return false;
        }
        if (job->m_iResult != 0) {
            CDocumentProgress::AddMessage(9, tr("Dateifehler:") + " " + tr("Eine Datei konnte nicht geschrieben werden"),
                                          2);
            failed = true;
        }
    }
    if (failed)
        return false;
    // Data files of an earlier save that this one did not write go now.
    if (!first || first->m_bSynthetic)
        QFile::remove(imageFile);
    if (!first)
        QFile::remove(weightFile);
    CDocumentProgress::AddMessage(9, tr("Projekt gespeichert"), 0);
    std::printf("%11.4f ms Save Project time\n", MP_UI_GetTimeDifference());
    return true;
}

bool CExposureSeries::LoadProject(QSettings& settings, const QString& folder)
{
    CDocumentProgress::OpenCategory(10, false);
    CDocumentProgress::AddMessage(10, tr("Lade Projektdatei."), 0);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Projekt laden"));

    auto fail = [&]() {
        for (CExposure* e : m_vExposures)
            delete e;
        m_vExposures.clear();
        m_pMaster = nullptr;
        m_sState.Clear();
        CDocumentProgress::AddMessage(10, tr("Projekt could not be loaded"), 2);
        return false;
    };

    const int n = readInt(settings, "ExposureSeries/Size");
    const int w = readInt(settings, "ExposureSeries/Width");
    const int h = readInt(settings, "ExposureSeries/Height");
    const int pw = readInt(settings, "ExposureSeries/WidthPrev");
    const int ph = readInt(settings, "ExposureSeries/HeightPrev");
    float factor = readFloat(settings, "ExposureSeries/ScalingFactor", -1.0f);
    if (n < 0)
        return fail();
    if (n > 0) {
        if (w < 1 || h < 1 || (long long)(w) * (long long)(h) > kMaxPixels || pw < 1 || pw > w || ph < 1 || ph > h)
            return fail();
        if (!(factor > 0.0f && factor <= 1.0f))
            factor = float(pw) / float(w);
    } else if (factor < 0.0f) {
        factor = 0.0f;
    }
    m_uiWidth = unsigned(std::max(w, 0));
    m_uiHeight = unsigned(std::max(h, 0));
    m_uiPreviewWidth = unsigned(std::max(pw, 0));
    m_uiPreviewHeight = unsigned(std::max(ph, 0));

    CEngineGuard guard;
    MP_UI_SetPreviewScalingFactor(factor);
    MP_UI_SetTime();
    std::printf("%s\nLoad Project\n", std::string(61, '_').c_str());
    MP_ClearBuffer();

    if (n > 0) {
        auto e = std::make_unique<CExposure>();
        const CExposure defaults;
        e->m_strFileName = settings.value(exposureKey("FileName")).toString();
        e->m_strFilePath = settings.value(exposureKey("FilePath")).toString();
        e->m_bActive = settings.value(exposureKey("Active"), false).toBool();
        e->m_bMaster = settings.value(exposureKey("Master"), false).toBool();
        e->m_bSynthetic = settings.value(exposureKey("Synthetic"), false).toBool();
        // -1 is the main window's marker and stays.
        e->m_fGlobalWeight = readFloat(settings, exposureKey("GlobalWeight"), defaults.m_fGlobalWeight);
        e->m_fExposureValue =
            std::clamp(readFloat(settings, exposureKey("ExposureValue"), defaults.m_fExposureValue), 0.0f, 1.0f);
        e->m_fAvgLuminance =
            std::clamp(readFloat(settings, exposureKey("AvgLuminance"), defaults.m_fAvgLuminance), 0.0f, 1.0f);
        e->m_uiWidth = m_uiWidth;
        e->m_uiHeight = m_uiHeight;
        e->m_uiPreviewWidth = m_uiPreviewWidth;
        e->m_uiPreviewHeight = m_uiPreviewHeight;
        CExposure* raw = e.release();
        m_vExposures.append(raw);
        if (!raw->CreateBuffer())
            return fail();
        raw->ClearBuffer();
        if (raw->m_bMaster)
            m_pMaster = raw;

        std::printf("Using up to %d threads at 32BIT\n",
                    MP_UI_getPossibleThreadsFromMemorySize(m_uiWidth, m_uiHeight, 14));
        CAlignmentScheduler scheduler(32);
        CAlignmentThread* job = scheduler.Enqueue(eAlignLoadData);
        if (!job)
            return fail();
        job->m_pExposure = raw;
        job->m_sImageFile = dataPath(folder, "CMap%04i.dat");
        job->m_sWeightFile = dataPath(folder, "MWMap%04i.dat");
        job->m_iSaveMode = CSeriesSeams::SaveMode();
        CDocumentProgress::AddMessage(10, tr("Belichtungsreihenbild wird dekomprimiert") +
                                              QString(" ... %0/%1").arg(1).arg(n),
                                      0, 0.8f / float(n));
        CDocumentProgress::AddMessage(10, tr("Bitte Geduld"), 1);
        scheduler.Process();
        if (job->m_iResult != 0)
            return fail();
    } else {
        CDocumentProgress::AddMessage(10, tr("Bitte Geduld"), 1);
    }
    CDocumentProgress::AddMessage(10, tr("Erzeuge Previewbilder"), 0, 0.8f);
    std::printf("%11.4f ms time for Load\n", MP_UI_GetTimeDifference());

    std::printf("Using up to %d threads at 32BIT\n", MP_UI_getPossibleThreadsFromMemorySize(m_uiWidth, m_uiHeight, 1));
    {
        CAlignmentScheduler scheduler(32);
        for (CExposure* e : m_vExposures) {
            CAlignmentThread* job = scheduler.Enqueue(eAlignZoomPreviewAfterLoad);
            if (!job)
                return fail();
            job->m_pExposure = e;
        }
        scheduler.Process();
    }
    CDocumentProgress::AddMessage(10, tr("Erzeuge synthetische Bilder"), 0, 0.92f);
    UpdateSynthetics();
    CDocumentProgress::AddMessage(10, tr("Projekt geladen"), 0, 1.0f);
    std::printf("%11.4f ms Zoom Previews\n", MP_UI_GetTimeDifference());
    return true;
}
