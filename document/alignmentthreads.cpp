// The document's worker jobs and their scheduler.

#include "document/alignmentthreads.h"

#include "document/exposureseries.h"
#include "engine/MP_calc.h"
#include "engine/core/boxblur.h"
#include "engine/core/precoding.h"
#include "engine/hdr/fusion.h"
#include "engine/hdr/lumamap.h"
#include "engine/hdr/reexpose.h"
#include "engine/hdr/weightmaps.h"
#include "engine/views/zoom.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<CAlignmentScheduler::StartFn> g_startFn{nullptr};

bool startThread(CAlignmentThread* job)
{
    job->start();
    return job->isRunning() || job->isFinished();
}

// The exposure's full-size image and manual weight map scaled into its
// preview image and preview manual weight map (jobs 5, 14, 17).
void zoomImage(CExposure& e)
{
    if (!e.m_pusBuffer || !e.m_pusPreviewBuffer)
        return;
    const float pw = float(e.m_uiPreviewWidth), ph = float(e.m_uiPreviewHeight);
    const float w = float(e.m_uiWidth), h = float(e.m_uiHeight);
    MP_UI_zoomPreviewPicture(e.m_pusBuffer, e.m_pusPreviewBuffer, 0, 0, 0, 0, pw, ph, pw, w, h, 0.0f, 0.0f, w, h);
}

void zoomWeightmap(CExposure& e)
{
    if (!e.m_psMWeightBuffer || !e.m_psMWeightPreviewBuffer)
        return;
    const float pw = float(e.m_uiPreviewWidth), ph = float(e.m_uiPreviewHeight);
    const float w = float(e.m_uiWidth), h = float(e.m_uiHeight);
    MP_UI_zoomPreviewWeightmapInterpolateLowQuantize(e.m_psMWeightBuffer, e.m_psMWeightPreviewBuffer, 0, 0, 0, 0, pw,
                                                     ph, pw, w, h, 0.0f, 0.0f, w, h);
}

void resetRectangle(CAlignmentThread& job)
{
    job.m_iLeft = 0;
    job.m_iTop = 0;
    job.m_iRight = job.m_iWidth;
    job.m_iBottom = job.m_iHeight;
}

} // namespace

// ---- CAlignmentThread ---------------------------------------------------------

CAlignmentThread::CAlignmentThread() = default;

CAlignmentThread::~CAlignmentThread()
{
    wait();
    m_sBlocks.Release();
}

void CAlignmentThread::run()
{
    Execute();
    m_bDone.store(true, std::memory_order_release);
}

void CAlignmentThread::RunHere()
{
    Execute();
    m_bDone.store(true, std::memory_order_release);
}

void CAlignmentThread::Execute()
{
    CExposure* e = m_pExposure;
    switch (m_eType) {
    case eAlignNone:
        break;
    case eAlignScroll:
        resetRectangle(*this);
        m_iResult = MP_UI_buildAlignmentScroll(m_pWorkBuffer, m_pSource, m_pTarget, m_iWidth, m_iHeight,
                                               &m_fCongruenceBefore, m_fAccuracy, m_fRadius, &m_fCongruenceAfter,
                                               &m_iLeft, &m_iTop, &m_iRight, &m_iBottom, m_pRefBitmap);
        break;
    case eAlignRotate:
        resetRectangle(*this);
        m_iResult = MP_UI_buildAlignmentRotate(m_iPass, m_pWorkBuffer, m_pSource, m_pTarget, m_iWidth, m_iHeight,
                                               m_fAccuracy, 0.1f, m_fThreshold, m_iInterpolation,
                                               &m_fCongruenceBefore, &m_fCongruenceAfter, &m_iLeft, &m_iTop,
                                               &m_iRight, &m_iBottom, m_pRefBitmap);
        break;
    case eAlignZoom:
        resetRectangle(*this);
        m_iResult = MP_UI_buildAlignmentZoom(m_iPass, m_pWorkBuffer, m_pSource, m_pTarget, m_iWidth, m_iHeight,
                                             m_fAccuracy, 0.1f, m_fThreshold, m_iInterpolation, &m_fCongruenceBefore,
                                             &m_fCongruenceAfter, &m_iLeft, &m_iTop, &m_iRight, &m_iBottom,
                                             m_pRefBitmap);
        break;
    case eAlignDetail:
        m_iResult = MP_UI_buildAlignmentDetail(m_pWorkBuffer, m_pSource, m_pTarget, m_iWidth, m_iHeight,
                                               m_iInterpolation, m_fAccuracy, m_fRadius, m_fThreshold, m_iGrid,
                                               &m_fCongruenceBefore, &m_fCongruenceAfter, m_pRefBitmap);
        break;
    case eAlignMicroDetail:
        m_iResult = MP_UI_buildAlignmentMicroDetail(m_pWorkBuffer, m_pSource, m_pTarget, m_iWidth, m_iHeight,
                                                    m_iInterpolation, &m_fCongruenceBefore, &m_fCongruenceAfter,
                                                    m_pRefBitmap);
        break;
    case eAlignDeGhost:
        m_iResult = MP_CalcDeGhost(m_iWidthPrev, m_iHeightPrev, m_iWidth, m_iHeight, m_pTarget, m_pRefBitmap,
                                   m_fStrength, m_pWeightMapPrev, m_pWeightMap);
        break;
    case eAlignBrushSmooth:
    case eAlignBrushPaint: {
        // In panorama mode the stroke also wraps around the left and right
        // edges. The brush type is read once; the job never writes it.
        const bool panorama = MP_UI_GetPainterPanoramaMode() == 1;
        const int type = MP_UI_GetBrushTypeMode();
        const float w = float(m_iWidth);
        const float xs[3] = {m_fBrushX, m_fBrushX - w, m_fBrushX + w};
        for (int i = 0; i < (panorama ? 3 : 1); ++i) {
            if (m_eType == eAlignBrushSmooth)
                MP_UI_BrushSmooth(m_iWidth, m_iHeight, m_pWeightMap, xs[i], m_fBrushY, m_fBrushRadius);
            else
                MP_UI_BrushPaintType(type, m_iWidth, m_iHeight, m_pWeightMap, xs[i], m_fBrushY, m_fBrushRadius,
                                     m_fBrushStrength);
        }
        break;
    }
    case eAlignCrop:
        if (e)
            m_iResult = e->ResizeWith(m_iLeft, m_iTop, m_iRight, m_iBottom, unsigned(std::max(m_iWidthPrev, 0)),
                                      unsigned(std::max(m_iHeightPrev, 0)), m_sBlocks);
        break;
    case eAlignZoomPreview:
    case eAlignZoomPreviewAfterLoad:
        if (e) {
            zoomImage(*e);
            zoomWeightmap(*e);
        }
        break;
    case eAlignLinBlur:
        m_iResult = MP_calcPixelHDRlinBlurHorVer(m_iWidth, m_iHeight, m_pSource, m_pTarget, 2, 2, m_pParams);
        break;
    case eAlignFusion:
        MP_UI_calcHDRfusion(m_pFusion, m_iRowStart, m_iRowEnd);
        break;
    case eAlignNormalize:
        MP_UI_normalizeWeightmaps(m_pFusion, m_iRowStart, m_iRowEnd, m_iExtra);
        break;
    case eAlignBlurSignedMap:
        MP_BlurSignedShortBuffer(m_iWidth, m_iHeight, m_pWeightMap, m_pWeightMap, 2, 2, m_pParams);
        break;
    case eAlignSingleExpose:
        m_iResult = MP_UI_OptimizeSingleExpose(m_iWidth, m_iHeight, m_iWidthPrev, m_iHeightPrev, m_pSource,
                                               m_pTarget, m_fLuminance, m_fTargetLuminance, m_pSourcePrev);
        break;
    case eAlignZoomWeightmap:
        if (e)
            zoomWeightmap(*e);
        break;
    case eAlignSaveData:
        if (e)
            m_iResult = CExposureSeries::SaveExposureData(*e, m_sImageFile, m_sWeightFile, m_iSaveMode);
        break;
    case eAlignLoadData:
        if (e)
            m_iResult = CExposureSeries::LoadExposureData(*e, m_sImageFile, m_sWeightFile, m_iSaveMode);
        break;
    case eAlignRotateLeft:
    case eAlignRotateRight:
        if (e)
            e->RotateWith(m_sBlocks, m_eType == eAlignRotateRight);
        break;
    case eAlignMirror:
        if (e)
            e->MirrorWith(m_sBlocks);
        break;
    case eAlignFlip:
        if (e)
            e->FlipWith(m_sBlocks);
        break;
    case eAlignLuminanceMap:
        MP_UI_calcHDRLuminanceMap(m_pFusion, m_iRowStart, m_iRowEnd);
        break;
    case eAlignDepthMapFusion:
        MP_UI_calcDepthMapFusion(m_pFusion, m_iRowStart, m_iRowEnd, m_iExtra);
        break;
    }
}

// ---- CAlignmentScheduler --------------------------------------------------------

CAlignmentScheduler::CAlignmentScheduler(int)
    : m_iMaxThreads(MP_UI_GetUseMultithreadingMode() != 0 ? 32 : 1)
{
}

CAlignmentScheduler::~CAlignmentScheduler()
{
    DestroyThreads();
}

CAlignmentThread* CAlignmentScheduler::Enqueue(EAlignmentType type)
{
    CAlignmentThread* job = new (std::nothrow) CAlignmentThread;
    if (!job)
        return nullptr;
    try {
        m_vThreads.append(job);
    } catch (...) {
        delete job;
        return nullptr;
    }
    job->m_eType = type;
    return job;
}

void CAlignmentScheduler::Process()
{
    const StartFn start = g_startFn.load() ? g_startFn.load() : &startThread;
    while (!AllFinished()) {
        QVector<CAlignmentThread*> wave;
        int count = 0;
        for (CAlignmentThread* job : m_vThreads) {
            if (job->IsDone() || job->isRunning())
                continue;
            if (start(job))
                wave.append(job);
            else
                job->RunHere(); // no thread to be had: run it here
            ++count;
            if (m_iMaxThreads > 0 && count >= m_iMaxThreads)
                break;
        }
        for (CAlignmentThread* job : wave)
            job->wait();
    }
}

bool CAlignmentScheduler::AllFinished() const
{
    for (const CAlignmentThread* job : m_vThreads)
        if (!job->IsDone())
            return false;
    return true;
}

void CAlignmentScheduler::DestroyThreads()
{
    for (CAlignmentThread* job : m_vThreads)
        delete job;
    m_vThreads.clear();
}

CAlignmentScheduler::StartFn CAlignmentScheduler::SetStartFunction(StartFn fn)
{
    return g_startFn.exchange(fn);
}

void AlignmentBand(int height, int band, int& rowStart, int& rowEnd)
{
    rowStart = 0;
    rowEnd = 0;
    for (int i = 1; i <= band; ++i) {
        rowStart = rowEnd;
        rowEnd = std::min(int(float(i) * float(height) * 0.03125f), height);
    }
}
