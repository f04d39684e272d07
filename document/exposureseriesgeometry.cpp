// The series' remembered state (change detection) and its geometry: crop,
// quarter rotations, flip and mirror of every exposure on worker jobs, the
// preview rebuild, the exchange of two exposures and the depth-map hook.
//
// Geometry is all or nothing: the memory of every exposure (and of the
// series' own buffers) is had before any job is queued; when some of it
// cannot be had, nothing changes and the out-of-memory message is posted.

#include "document/exposureseries.h"

#include "document/alignmentthreads.h"
#include "document/kernelrunner.h"
#include "engine/MP_calc.h"
#include "engine/core/boxblur.h"
#include "engine/views/preview.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// ---- Remembered state --------------------------------------------------------------

namespace {

// Equal only when neither is NaN and neither is smaller.
bool sameFloat(float a, float b)
{
    return !(a != a) && !(b != b) && !(a < b) && !(b < a);
}

} // namespace

CExposureSeries::SState::SState()
{
    Clear();
}

void CExposureSeries::SState::Clear()
{
    for (int i = 0; i < kEntries; ++i) {
        m_pExposures[i] = nullptr;
        m_fLuminance[i] = 0.0f;
        m_fGlobalWeight[i] = 0.0f;
        m_bActive[i] = false;
        m_bMaster[i] = false;
        m_bSynthetic[i] = false;
        m_fExposureValue[i] = 0.0f;
    }
    m_strKernelName.clear();
    std::memset(m_pfParameterValues, 0, sizeof(m_pfParameterValues));
}

void CExposureSeries::SState::Remember(const CExposureSeries* s)
{
    Clear();
    if (int(s->m_vExposures.size()) > kEntries)
        return; // never remembered: it always differs
    for (int i = 0; i < int(s->m_vExposures.size()); ++i) {
        const CExposure* e = s->m_vExposures[i];
        m_pExposures[i] = const_cast<CExposure*>(e);
        m_fLuminance[i] = e->m_fAvgLuminance;
        m_fGlobalWeight[i] = e->m_fGlobalWeight;
        m_bActive[i] = e->m_bActive;
        m_bMaster[i] = e->m_bMaster;
        m_bSynthetic[i] = e->m_bSynthetic;
        m_fExposureValue[i] = e->m_fExposureValue;
    }
    m_strKernelName = s->m_strKernelName;
    std::memcpy(m_pfParameterValues, s->m_pfParameterValues, sizeof(m_pfParameterValues));
}

bool CExposureSeries::SState::Compare(const CExposureSeries* s) const
{
    if (int(s->m_vExposures.size()) > kEntries)
        return false;
    for (int i = 0; i < int(s->m_vExposures.size()); ++i) {
        const CExposure* e = s->m_vExposures[i];
        if (m_pExposures[i] != e || !sameFloat(m_fLuminance[i], e->m_fAvgLuminance) ||
            !sameFloat(m_fGlobalWeight[i], e->m_fGlobalWeight) || m_bActive[i] != e->m_bActive ||
            m_bMaster[i] != e->m_bMaster || m_bSynthetic[i] != e->m_bSynthetic ||
            !sameFloat(m_fExposureValue[i], e->m_fExposureValue))
            return false;
    }
    if (m_strKernelName != s->m_strKernelName)
        return false;
    for (int slot = 0; slot < kParameterSlots; ++slot)
        for (int k = 0; k < kParameterValues; ++k)
            if (!sameFloat(m_pfParameterValues[slot][k], s->m_pfParameterValues[slot][k]))
                return false;
    return true;
}

void CExposureSeries::RememberState()
{
    m_sState.Remember(this);
}

bool CExposureSeries::HasStateChanged(bool forget)
{
    const bool same = m_sState.Compare(this);
    if (forget)
        m_sState.Clear();
    return !same;
}

// ---- Geometry ------------------------------------------------------------------------

namespace {

// Every exposure's reserved blocks; released on destruction unless handed to
// the jobs.
struct SReservations {
    std::vector<CExposure::SGeometryBlocks> blocks;
    ~SReservations()
    {
        for (auto& b : blocks)
            b.Release();
    }
};

// Queues one job of the type per exposure with its reserved blocks and runs
// them; false when a job cannot be created (nothing ran).
template <typename Fill>
bool runPerExposure(const QVector<CExposure*>& list, SReservations& r, EAlignmentType type, Fill&& fill)
{
    CAlignmentScheduler scheduler(32);
    for (int i = 0; i < int(list.size()); ++i) {
        CAlignmentThread* job = scheduler.Enqueue(type);
        if (!job)
            return false;
        job->m_pExposure = list[i];
        job->m_iIndex = i;
        fill(*job);
    }
    // Every job exists: hand the blocks over.
    for (int i = 0; i < int(list.size()); ++i) {
        scheduler.m_vThreads[i]->m_sBlocks = r.blocks[i];
        r.blocks[i] = CExposure::SGeometryBlocks();
    }
    scheduler.Process();
    return true;
}

unsigned short* allocateRGB16(size_t pixels)
{
    return static_cast<unsigned short*>(std::malloc(pixels ? pixels * 6 : 6));
}

// The series' new preview size and factor, and its new preview buffer when
// one was reserved.
void adoptPreview(CExposureSeries& s, float factor, unsigned pw, unsigned ph, unsigned short* preview)
{
    MP_UI_SetPreviewScalingFactor(factor);
    s.m_uiPreviewWidth = pw;
    s.m_uiPreviewHeight = ph;
    if (preview) {
        std::free(s.m_pusPreviewBuffer);
        s.m_pusPreviewBuffer = preview;
    }
}

} // namespace

int CExposureSeries::Resize(int x0, int y0, int x1, int y1)
{
    if (x0 < 0 || y0 < 0 || x1 <= x0 || y1 <= y0 || unsigned(x1) > m_uiWidth || unsigned(y1) > m_uiHeight)
        return -2;
    for (const CExposure* e : m_vExposures)
        if (unsigned(x1) > e->m_uiWidth || unsigned(y1) > e->m_uiHeight || !e->m_pusBuffer)
            return -2;
    CEngineGuard guard;
    MP_ClearBuffer();
    const unsigned nw = unsigned(x1 - x0), nh = unsigned(y1 - y0);
    float fpw = 0.0f, fph = 0.0f, factor = 1.0f;
    MP_UI_calcPreviewResolutionSize(&fpw, &fph, &factor, float(nw), float(nh), MP_UI_GetPreviewSize());
    const unsigned pw = unsigned(fpw), ph = unsigned(fph);

    SReservations r;
    r.blocks.resize(size_t(m_vExposures.size()));
    bool ok = true;
    for (int i = 0; ok && i < int(m_vExposures.size()); ++i)
        ok = m_vExposures[i]->ReserveCrop(r.blocks[i], pw, ph);
    unsigned short* full = nullptr;
    unsigned short* preview = nullptr;
    if (ok && m_pusBuffer)
        ok = (full = allocateRGB16(size_t(nw) * nh)) != nullptr;
    if (ok && m_pusPreviewBuffer)
        ok = (preview = allocateRGB16(size_t(pw) * ph)) != nullptr;
    if (ok)
        ok = runPerExposure(m_vExposures, r, eAlignCrop, [&](CAlignmentThread& job) {
            job.m_iLeft = x0;
            job.m_iTop = y0;
            job.m_iRight = x1;
            job.m_iBottom = y1;
            job.m_iWidthPrev = int(pw);
            job.m_iHeightPrev = int(ph);
        });
    if (!ok) {
        std::free(full);
        std::free(preview);
        SendOutOfMemMessage();
        return -1;
    }
    m_uiWidth = nw;
    m_uiHeight = nh;
    if (full) {
        std::free(m_pusBuffer);
        m_pusBuffer = full;
    }
    ReallocRenderBuffer(size_t(nw) * nh * 4); // kept when it fails: renders grow it on demand
    adoptPreview(*this, factor, pw, ph, preview);
    return 0;
}

int CExposureSeries::Transform(int type, const char* name)
{
    CEngineGuard guard;
    MP_UI_SetTime();
    MP_ClearBuffer();
    std::printf("Using up to %d threads at 32BIT\n",
                MP_UI_getPossibleThreadsFromMemorySize(m_uiWidth + 20, m_uiHeight + 20, 6));
    const bool rotation = type == eAlignRotateLeft || type == eAlignRotateRight;
    SReservations r;
    r.blocks.resize(size_t(m_vExposures.size()));
    bool ok = true;
    for (int i = 0; ok && i < int(m_vExposures.size()); ++i) {
        if (rotation)
            ok = m_vExposures[i]->ReserveRotation(r.blocks[i]);
        else if (type == eAlignFlip)
            ok = m_vExposures[i]->ReserveFlip(r.blocks[i]);
    }
    if (ok)
        ok = runPerExposure(m_vExposures, r, EAlignmentType(type), [](CAlignmentThread&) {});
    if (!ok) {
        SendOutOfMemMessage();
        return -1;
    }
    if (rotation) {
        std::swap(m_uiWidth, m_uiHeight);
        std::swap(m_uiPreviewWidth, m_uiPreviewHeight);
    }
    std::printf("%11.4f ms %s\n", MP_UI_GetTimeDifference(), name);
    return 0;
}

int CExposureSeries::RotateRight()
{
    return Transform(eAlignRotateRight, "RotateRight");
}

int CExposureSeries::RotateLeft()
{
    return Transform(eAlignRotateLeft, "RotateLeft");
}

int CExposureSeries::Flip()
{
    return Transform(eAlignFlip, "Flip");
}

int CExposureSeries::Mirror()
{
    return Transform(eAlignMirror, "Mirror");
}

bool CExposureSeries::RecalcPreview()
{
    CEngineGuard guard;
    MP_ClearBuffer();
    float fpw = 0.0f, fph = 0.0f, factor = 1.0f;
    MP_UI_calcPreviewResolutionSize(&fpw, &fph, &factor, float(m_uiWidth), float(m_uiHeight),
                                    MP_UI_GetPreviewSize());
    const unsigned pw = unsigned(fpw), ph = unsigned(fph);
    SReservations r;
    r.blocks.resize(size_t(m_vExposures.size()));
    // Each exposure's preview follows its own full size (the series' size in
    // a consistent series).
    std::vector<std::pair<unsigned, unsigned>> sizes;
    bool ok = true;
    for (int i = 0; ok && i < int(m_vExposures.size()); ++i) {
        float epw = 0.0f, eph = 0.0f;
        const CExposure* e = m_vExposures[i];
        MP_UI_calcPreviewResolutionSize(&epw, &eph, nullptr, float(e->m_uiWidth), float(e->m_uiHeight),
                                        MP_UI_GetPreviewSize());
        sizes.emplace_back(unsigned(epw), unsigned(eph));
        ok = CExposure::ReservePreview(r.blocks[i], sizes.back().first, sizes.back().second);
    }
    unsigned short* preview = nullptr;
    if (ok && m_pusPreviewBuffer)
        ok = (preview = allocateRGB16(size_t(pw) * ph)) != nullptr;
    if (!ok) {
        SendOutOfMemMessage();
        return false;
    }
    for (int i = 0; i < int(m_vExposures.size()); ++i)
        m_vExposures[i]->RecalcPreviewWith(r.blocks[i], sizes[i].first, sizes[i].second);
    adoptPreview(*this, factor, pw, ph, preview);
    return true;
}

void CExposureSeries::ExchangeExposures(int i, int j)
{
    const int n = int(m_vExposures.size());
    if (i < 0 || j < 0 || i >= n || j >= n)
        return;
    std::swap(m_vExposures[i], m_vExposures[j]);
}

void CExposureSeries::PrepareDepthMap(float blur)
{
    if (!m_pDepthMap)
        return;
    CEngineGuard guard;
    const int w = m_iDepthMapWidth, h = m_iDepthMapHeight;
    const float sampleRate = MP_UI_GetKernelSampleRate();
    const float exponent = MP_UI_GetKernelExponent();
    MP_UI_SetKernelSampleRate(1.2f);
    MP_UI_SetKernelExponent(2.0f);

    MP_Params params;
    std::memset(&params, 0, sizeof(params));
    params.previewscalingfactor = MP_UI_GetPreviewScalingFactorFromResolution(w, h, w, h);
    MP_UI_GetLuminanzConvRGB(&params.lumr, &params.lumg, &params.lumb);
    params.kernel_exponent = MP_UI_GetKernelExponent();
    params.loopstep = MP_UI_GetLoopstep();
    if (blur > 0.0f) {
        params.p[0][0] = float(std::min(w, h)) * blur;
        params.p[1][0] = 2.0f;
        MP_BlurUnsignedShortBuffer(w, h, m_pDepthMap, m_pDepthMap, 2, 2, &params);
    }
    const size_t n = size_t(std::max(w, 0)) * size_t(std::max(h, 0));
    unsigned short lo = 65535, hi = 0;
    for (size_t i = n; i-- > 0;) {
        const unsigned short v = m_pDepthMap[i];
        m_pDepthMap[i * 3] = m_pDepthMap[i * 3 + 1] = m_pDepthMap[i * 3 + 2] = v;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    params.lummin = n ? float(lo) / 65535.0f : 0.0f;
    params.lummax = n ? float(hi) / 65535.0f : 1.0f;
    CKernelRunner::RunRGB16("MP_calcPixelbwpoint", unsigned(w), unsigned(h), m_pDepthMap, &params);
    std::memset(params.p, 0, sizeof(params.p));
    params.p[0][0] = 0.1f;
    CKernelRunner::RunRGB16("MP_calcPixel3duv", unsigned(w), unsigned(h), m_pDepthMap, &params);
    MP_UI_SetKernelSampleRate(sampleRate);
    MP_UI_SetKernelExponent(exponent);
}
