// The exposure series: construction, the exposures entering and leaving it,
// their order, the master and the accessors of the views.

#include "document/exposureseries.h"

#include "document/documentseams.h"
#include "document/rescale.h"
#include "document/seriesseams.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

CExposureSeries* g_pExposureSeries = nullptr;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CExposureSeries", text);
}

QString outOfMemoryText()
{
    return QCoreApplication::translate("IExposure", "Es steht nicht genug Arbeitsspeicher zur Verfügung.");
}

// Stable bubble sort by ascending luminance: neighbours swap only when the
// left one is strictly brighter.
void sortByLuminance(QVector<CExposure*>& list)
{
    const int n = int(list.size());
    for (int pass = 0; pass < n; ++pass)
        for (int j = 0; j + 1 < n; ++j)
            if (list[j]->m_fAvgLuminance > list[j + 1]->m_fAvgLuminance)
                std::swap(list[j], list[j + 1]);
}

void releaseBitmap(FIBITMAP*& bitmap)
{
    if (bitmap)
        FreeImage_Unload(bitmap);
    bitmap = nullptr;
}

} // namespace

CExposureSeries::CExposureSeries(bool documentSeries)
    : IExposure(),
      IProject(documentSeries),
      m_pMaster(nullptr),
      m_pDummyBuffer(nullptr),
      m_iDummyBufferUsers(0),
      m_fDynamicRange(1.0f),
      m_iDepthMapWidth(0),
      m_iDepthMapHeight(0),
      m_pDepthMap(nullptr),
      m_bDocumentSeries(documentSeries)
{
    m_vExposures.reserve(1);
    std::memset(m_pfParameterValues, 0, sizeof(m_pfParameterValues));
    if (m_bDocumentSeries)
        g_pExposureSeries = this;
}

CExposureSeries::~CExposureSeries()
{
    for (CExposure* e : m_vExposures)
        delete e;
    m_vExposures.clear();
    std::free(m_pDepthMap);
    m_pDepthMap = nullptr;
    if (g_pExposureSeries == this)
        g_pExposureSeries = nullptr;
}

// ---- Exposures entering and leaving -------------------------------------------------

bool CExposureSeries::Add(SExposure& record)
{
    if (m_vExposures.size() == 1) {
        CDocumentProgress::AddMessage(0, tr("Die maximale Anzahl ladbarer Bilddateien ist erreicht."), 1);
        releaseBitmap(record.m_pBitmap);
        return true;
    }
    auto e = std::make_unique<CExposure>();
    if (!e->Load(record.m_strFilePath, record.m_pBitmap)) {
        if (record.m_pBitmap)
            CDocumentProgress::AddMessage(2, outOfMemoryText(), 2);
        releaseBitmap(record.m_pBitmap);
        return m_vExposures.size() == 1;
    }
    if (!m_vExposures.isEmpty()) {
        if (e->m_uiWidth != m_uiWidth || e->m_uiHeight != m_uiHeight) {
            CDocumentProgress::AddMessage(
                1, e->m_strFileName + ": " + tr("Die geladene Bilddatei hat nicht die passene Auflösung."), 2);
            releaseBitmap(record.m_pBitmap);
            return m_vExposures.size() == 1;
        }
    } else {
        if (e->m_uiWidth <= 499 || e->m_uiHeight <= 499) {
            CDocumentProgress::AddMessage(
                1, e->m_strFileName + ": " + tr("Die geladene Bilddatei hat eine zu geringe Auflösung."), 2);
            releaseBitmap(record.m_pBitmap);
            return false;
        }
        m_uiWidth = e->m_uiWidth;
        m_uiHeight = e->m_uiHeight;
        m_uiPreviewWidth = e->m_uiPreviewWidth;
        m_uiPreviewHeight = e->m_uiPreviewHeight;
    }
    // Prepare takes the bitmap over, on failure too.
    FIBITMAP* bitmap = record.m_pBitmap;
    record.m_pBitmap = nullptr;
    if (e->Prepare(bitmap, record.m_fPreviewLuminance))
        m_vExposures.append(e.release());
    else if (bitmap)
        CDocumentProgress::AddMessage(2, outOfMemoryText(), 2);
    return m_vExposures.size() == 1;
}

void CExposureSeries::AddSeries(QVector<SExposure>& records)
{
    CDocumentProgress::OpenCategory(1, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Ladevorgang"));
    if (!CreateDummyBuffer()) {
        CDocumentProgress::AddMessage(2, outOfMemoryText(), 2);
        ClearDummyBuffer();
        return;
    }
    const int before = int(m_vExposures.size());
    CImageLoader loader;
    for (const SExposure& r : records)
        if (!r.m_strFilePath.isEmpty())
            loader.Enqueue(r.m_strFilePath, true);
    loader.Load();

    CDocumentProgress::OpenCategory(2, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Bildvorbereitung"));

    bool notAll = false;
    bool full = false;
    size_t k = 0;
    const int count = int(records.size());
    for (int i = 0; i < count && !full; ++i) {
        SExposure& r = records[i];
        if (r.m_strFilePath.isEmpty())
            continue;
        CDocumentProgress::AddMessage(
            2, CExposure::ExtractFileName(r.m_strFilePath) + ": " + tr("Bild wird vorbereitet"), 0,
            float(i + 1) / float(count));
        FIBITMAP* loaded = k < loader.m_vecBitmaps.size() ? loader.m_vecBitmaps[k] : nullptr;
        r.m_pBitmap = RescaleFreeImage(loaded, -1.0f);
        r.m_fPreviewLuminance = k < loader.m_vecPreviewLuminances.size() ? loader.m_vecPreviewLuminances[k] : -1.0f;
        if (k < loader.m_vecBitmaps.size())
            loader.m_vecBitmaps[k] = nullptr; // handed to the record
        ++k;
        if (Add(r)) {
            full = true;
            CDocumentProgress::AddMessage(2, tr("Die maximale Anzahl ladbarer Bilddateien ist erreicht."), 1);
            bool remained = false;
            for (size_t m = k; m < loader.m_vecBitmaps.size(); ++m)
                if (loader.m_vecBitmaps[m]) {
                    FreeImage_Unload(loader.m_vecBitmaps[m]);
                    loader.m_vecBitmaps[m] = nullptr;
                    remained = true;
                }
            // Records after this point are not processed: one that was
            // enqueued counts as not loaded.
            for (int m = i + 1; m < count && !remained; ++m)
                if (!records[m].m_strFilePath.isEmpty())
                    remained = true;
            notAll = remained;
        }
    }
    if (!full)
        notAll = loader.HasNext();
    if (notAll)
        CDocumentProgress::AddMessage(2, tr("Es konnten nicht alle Bilder geladen werden."), 2);

    UpdateMaster();
    if (int(m_vExposures.size()) > before) {
        Sort();
        ClearDummyBuffer();
        AlignAndOptimizeFromDialog(nullptr);
        CSeriesSeams::HandleStatistic("m_iLargestImageLoaded", (long long)(m_uiWidth) * (long long)(m_uiHeight));
        HDR(false, true);
    }
    ClearDummyBuffer();
}

bool CExposureSeries::AddSynthetic(CExposure* e, float value, bool append, bool recalculate)
{
    if (e) {
        if (e == m_pMaster || !Exists(e))
            return m_vExposures.size() == 1;
        bool ok;
        if (e->m_bSynthetic) {
            ok = e->Synthetic(nullptr, -1.0f);
            if (ok) {
                UpdateMaster();
                Sort();
            }
        } else {
            ok = e->Synthetic(m_pMaster, -1.0f);
        }
        if (!ok)
            Remove(e, true, false);
        else if (CSeriesSeams::RealTimeMode() && recalculate)
            HDR(false, true);
        return m_vExposures.size() == 1;
    }
    if (m_vExposures.size() == 1)
        return true;
    if (!CreateDummyBuffer()) {
        CDocumentProgress::AddMessage(2, outOfMemoryText(), 2);
        ClearDummyBuffer();
        return false;
    }
    auto s = std::make_unique<CExposure>();
    const bool ok = s->Synthetic(m_pMaster, value);
    ClearDummyBuffer();
    if (ok) {
        if (append)
            m_vExposures.append(s.release());
        else
            m_vExposures.prepend(s.release());
        if (CSeriesSeams::RealTimeMode() && recalculate)
            HDR(false, true);
    }
    return m_vExposures.size() == 1;
}

bool CExposureSeries::AddExposure(CExposure* e)
{
    if (!e)
        return false;
    if (m_vExposures.isEmpty()) {
        m_uiWidth = e->m_uiWidth;
        m_uiHeight = e->m_uiHeight;
        m_uiPreviewWidth = e->m_uiPreviewWidth;
        m_uiPreviewHeight = e->m_uiPreviewHeight;
    }
    if (m_vExposures.size() > 2)
        return false;
    m_vExposures.append(e);
    Sort();
    return true;
}

void CExposureSeries::Remove(CExposure* e, bool deleteIt, bool masterAllowed)
{
    if (!e || (!masterAllowed && e == m_pMaster))
        return;
    const qsizetype at = m_vExposures.indexOf(e);
    if (at < 0)
        return;
    if (e == m_pMaster) {
        e->m_bMaster = false;
        m_pMaster = nullptr;
    }
    m_vExposures.removeAt(at);
    if (m_sState.m_pExposures[0] == e)
        m_sState.Clear(); // a later exposure at the same address must not compare equal
    if (deleteIt)
        delete e;
    if (!m_vExposures.isEmpty()) {
        UpdateMaster();
        HDR(false, true);
    }
}

bool CExposureSeries::Exists(const CExposure* e) const
{
    for (const CExposure* x : m_vExposures)
        if (x == e)
            return true;
    return false;
}

void CExposureSeries::Sort()
{
    sortByLuminance(m_vExposures);
}

void CExposureSeries::UpdateMaster()
{
    QVector<CExposure*> loaded;
    for (CExposure* e : m_vExposures)
        if (!e->m_bSynthetic) {
            e->m_bMaster = false;
            loaded.append(e);
        }
    if (loaded.isEmpty())
        return;
    sortByLuminance(loaded);
    const int n = int(loaded.size());
    int lo = n - 1, hi = 0;
    std::printf("UpdateMaster()\n");
    for (int i = 0; i < n; ++i) {
        const float L = loaded[i]->m_fAvgLuminance;
        std::printf("Exposure: %d - Lum: %f\n", i, double(L));
        if (L >= 0.07f && L <= 0.9f) {
            lo = std::min(lo, i);
            hi = std::max(hi, i);
        }
    }
    int pick;
    if (hi < lo) {
        pick = n / 2;
    } else {
        const int s = lo + hi;
        pick = s / 2;
        if (s % 2 != 0 && s / 2 < n - 1) {
            const float a = std::fabs(loaded[s / 2]->m_fAvgLuminance - 0.4f);
            const float b = std::fabs(loaded[s / 2 + 1]->m_fAvgLuminance - 0.4f);
            if (b < a)
                pick = s / 2 + 1;
        }
    }
    // The old master's flag was cleared above; SetMaster compares with it.
    SetMaster(loaded[pick]);
}

void CExposureSeries::SetMaster(CExposure* p)
{
    if (!p)
        return;
    CExposure* old = m_pMaster;
    if (old)
        old->m_bMaster = false;
    m_pMaster = p;
    p->m_bMaster = true;
    if (old != p) {
        UpdateSynthetics();
        p->GetExif();
    }
}

int CExposureSeries::GetNumActive() const
{
    int n = 0;
    for (const CExposure* e : m_vExposures)
        if (e->m_bActive)
            ++n;
    return n;
}

FIBITMAP* CExposureSeries::RescaleFreeImage(FIBITMAP* bitmap, float sideFactor)
{
    return ::RescaleFreeImage(bitmap, sideFactor);
}

bool CExposureSeries::CreateDummyBuffer()
{
    if (!m_pDummyBuffer)
        m_pDummyBuffer = std::malloc(kDummyBufferBytes);
    ++m_iDummyBufferUsers;
    return m_pDummyBuffer != nullptr;
}

void CExposureSeries::ClearDummyBuffer()
{
    if (m_iDummyBufferUsers == 0)
        return;
    if (--m_iDummyBufferUsers == 0) {
        std::free(m_pDummyBuffer);
        m_pDummyBuffer = nullptr;
    }
}

// ---- Accessors --------------------------------------------------------------------

static CExposure* clampedAt(const QVector<CExposure*>& list, int index)
{
    if (list.isEmpty())
        return nullptr;
    if (index < 0)
        index = 0;
    if (index >= int(list.size()))
        index = int(list.size()) - 1;
    return list[index];
}

unsigned short* CExposureSeries::GetExposureBuffer(int index) const
{
    const CExposure* e = clampedAt(m_vExposures, index);
    return e ? (CDocumentSettings::PreviewMode() ? e->m_pusPreviewBuffer : e->m_pusBuffer) : nullptr;
}

unsigned short* CExposureSeries::GetAWeightBuffer(int index) const
{
    const CExposure* e = clampedAt(m_vExposures, index);
    return e ? (CDocumentSettings::PreviewMode() ? e->m_pusAWeightPreviewBuffer : e->m_pusAWeightBuffer) : nullptr;
}

short* CExposureSeries::GetMWeightBuffer(int index) const
{
    const CExposure* e = clampedAt(m_vExposures, index);
    return e ? (CDocumentSettings::PreviewMode() ? e->m_psMWeightPreviewBuffer : e->m_psMWeightBuffer) : nullptr;
}

QString CExposureSeries::GetFileName(int index) const
{
    const CExposure* e = clampedAt(m_vExposures, index);
    return e ? e->m_strFileName : QString();
}

void CExposureSeries::RemoveFullSizeBuffer()
{
    if (!CDocumentSettings::PreviewMode())
        return;
    std::free(m_pusBuffer);
    m_pusBuffer = nullptr;
}
