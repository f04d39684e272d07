// The HDR calculation of the series: weight maps, the fusion in 32 row bands
// on worker jobs, the dynamic-range figure, the focus-stacking sharpen and the
// luminance map; the global HDR weights, synthetic refresh, preview adaptation
// and the default output name.

#include "document/exposureseries.h"

#include "document/alignmentthreads.h"
#include "document/documentseams.h"
#include "document/kernelrunner.h"
#include "document/seriesseams.h"
#include "engine/MP_calc.h"
#include "engine/hdr/fusion.h"
#include "engine/hdr/lumamap.h"
#include "engine/views/preview.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CExposureSeries", text);
}

double s_hdrLastTime = 0.0;

// Puts the engine settings and the preview flag an HDR run changes back on
// every return.
struct SHDRRestore {
    int panorama = MP_UI_GetPanoramaMode();
    bool preview = CDocumentSettings::PreviewMode();
    int calculating = MP_UI_GetIsCalculatingMode();
    ~SHDRRestore()
    {
        CDocumentSettings::SetPreviewMode(preview);
        MP_UI_SetPanoramaMode(panorama);
        MP_UI_SetIsCalculatingMode(calculating);
    }
};

// Runs 32 band jobs of the type over the descriptor; false when a job cannot
// be created (nothing ran).
bool runBands(EAlignmentType type, MP_FusionParams& desc)
{
    CAlignmentScheduler scheduler(32);
    for (int band = 1; band <= 32; ++band) {
        CAlignmentThread* job = scheduler.Enqueue(type);
        if (!job)
            return false;
        AlignmentBand(desc.height, band, job->m_iRowStart, job->m_iRowEnd);
        job->m_pFusion = &desc;
    }
    scheduler.Process();
    return true;
}

} // namespace

int CExposureSeries::FillFusionDescriptor(MP_FusionParams& desc, bool preview, float sigmoid,
                                          unsigned short* output) const
{
    std::memset(&desc, 0, sizeof(desc));
    desc.width = int(preview ? m_uiPreviewWidth : m_uiWidth);
    desc.height = int(preview ? m_uiPreviewHeight : m_uiHeight);
    desc.fScale = preview ? MP_UI_GetPreviewScalingFactor() : 1.0f;
    desc.sigmoid = sigmoid;
    desc.p[0][0] = m_pfParameterValues[0][0];
    desc.p[1][0] = m_pfParameterValues[1][0];
    desc.p[3][0] = m_pfParameterValues[3][0];
    desc.output = output ? output : (preview ? m_pusPreviewBuffer : m_pusBuffer);

    QVector<CExposure*> active;
    for (CExposure* e : m_vExposures)
        if (e->m_bActive)
            active.append(e);
    const int n = int(active.size());
    if (n == 0)
        return 0;
    // The one slot: the master when it is active, else the reference (the
    // last active exposure darker than 0.5, else the middle one).
    CExposure* slot = (m_pMaster && m_pMaster->m_bActive) ? m_pMaster : nullptr;
    if (!slot) {
        for (CExposure* e : active)
            if (e->m_fAvgLuminance < 0.5f)
                slot = e;
        if (!slot)
            slot = active[n / 2];
    }
    desc.image = preview ? slot->m_pusPreviewBuffer : slot->m_pusBuffer;
    desc.weight_auto = preview ? slot->m_pusAWeightPreviewBuffer : slot->m_pusAWeightBuffer;
    desc.weight_manual = preview ? slot->m_psMWeightPreviewBuffer : slot->m_psMWeightBuffer;
    desc.exposure_flag = slot->m_bSynthetic ? 1 : 0;
    desc.exposure_weight = slot->m_fGlobalWeight;
    desc.exposure_luminance = slot->m_fAvgLuminance;
    desc.reference = desc.image;
    return n;
}

bool CExposureSeries::HDR(bool force, bool)
{
    CEngineGuard guard;
    SHDRRestore restore;
    if (MP_UI_GetPainterPanoramaMode() == 1)
        MP_UI_SetPanoramaMode(1);
    if (!force && !HasStateChanged(true))
        return false;
    if (GetNumActive() == 0)
        return false;

    MP_UI_SetIsCalculatingMode(1);
    CSeriesSeams::MarkHDRStarted();

    MP_UI_SetTime();
    const double start = MP_UI_GetActualTime();
    CDocumentProgress::OpenCategory(3, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Bildvorbereitung"));
    RecalcPreviewSeries();

    bool ok;
    if (restore.preview) {
        CDocumentSettings::SetPreviewMode(true);
        ok = HDRPass(true, true, start);
    } else {
        ok = true;
        if (m_bPreviewPassWithFullSize) {
            CDocumentSettings::SetPreviewMode(true);
            ok = HDRPass(true, false, start);
        }
        CDocumentSettings::SetPreviewMode(false);
        ok = ok && HDRPass(false, true, start);
    }
    if (!ok)
        return false;
    CSeriesSeams::RefreshCompareWindow();
    return true;
}

bool CExposureSeries::HDRPass(bool preview, bool final, double startTime)
{
    const bool log = MP_UI_GetShowExexcuteKernelOutput() != 0;
    if (final)
        CDocumentProgress::AddMessage(3, tr("Berechne HDR-Bild"), 0, 0.0f);
    const double now = MP_UI_GetActualTime();
    if (log) {
        std::printf("%s\n", std::string(61, '_').c_str());
        std::printf("%11.4f ms Time since last HDR - MP_buffer_size: %llu\n", now - s_hdrLastTime,
                    (unsigned long long)MP_buffer_size);
    }
    s_hdrLastTime = now;

    for (CExposure* e : m_vExposures)
        if (e->m_bSynthetic && e->m_bSyntheticPreviewMode != preview && m_pMaster && m_pMaster->m_pusBuffer)
            e->Synthetic(m_pMaster, e->m_fExposureValue);

    if (!m_pusBuffer && !m_pusPreviewBuffer && !CreateBuffer())
        return false; // CreateBuffer has posted the out-of-memory notice

    MP_FusionParams desc;
    const int n = FillFusionDescriptor(desc, preview, CDocumentSettings::Snapshot().fSigmoid);
    if (n == 0)
        return false;

    MP_Params params;
    std::memset(&params, 0, sizeof(params));
    params.loopstep = MP_UI_GetLoopstep();
    MP_UI_GetLuminanzConvRGB(&params.lumr, &params.lumg, &params.lumb);
    params.previewscalingfactor = desc.fScale;
    params.kernel_exponent = MP_UI_GetKernelExponent();
    std::memcpy(params.p, desc.p, sizeof(params.p));
    if (log)
        std::printf("Resolution (%d,%d) - Megapixel: %f - Preview scaling: %f\n", desc.width, desc.height,
                    double(desc.width) * desc.height / 1000000.0, double(desc.fScale));

    if (final)
        CDocumentProgress::AddMessage(3, tr("Erzeuge Gewichtungsmaps"), 0, 0.01f);
    const float mL = m_pMaster ? m_pMaster->m_fAvgLuminance : 1.0f;
    const float delta = 0.5f / float(n);
    float progress = 0.01f;
    for (CExposure* e : m_vExposures) {
        if (!e->m_bActive)
            continue;
        const float L = e->m_fAvgLuminance;
        params.p[2][0] = 0.75f * e->m_fGlobalWeight + 0.25f;
        params.p[5][0] = 0.5f * (mL / (0.001f + L) + (1.0f - L + mL) * (1.0f - L + mL));
        unsigned short* image = preview ? e->m_pusPreviewBuffer : e->m_pusBuffer;
        unsigned short* weight = preview ? e->m_pusAWeightPreviewBuffer : e->m_pusAWeightBuffer;
        CKernelRunner::Run("MP_calcPixelHDRaverage", unsigned(desc.width), unsigned(desc.height),
                           reinterpret_cast<float*>(image), reinterpret_cast<float*>(weight), 6, 2, &params, 3,
                           progress, delta, true, true);
        progress += delta;
        if (final)
            CDocumentProgress::AddFraction(3, progress);
    }

    if (final)
        CDocumentProgress::AddMessage(3, tr("Fusioniere Belichtungsreihe"), 0, 0.8f);
    MP_UI_SetTime();
    MP_ClearBuffer();
    EVmin = 1e10f;
    EVmin2 = 1e10f;
    EVmax = 1e-8f;
    const double fusionStart = MP_UI_GetActualTime();
    MP_UI_SetIsHDRLuminanceBalanceNeeded(0);
    if (!runBands(eAlignFusion, desc)) {
        SendOutOfMemMessage();
        return false;
    }
    float a = 1.0f, b = 1.0f;
    m_fDynamicRange = float(MP_UI_calcHDRDynamik(&desc, &a, &b));
    QString timing;
    if (log)
        std::printf("%11.4f ms HDR fusion\n", MP_UI_GetActualTime() - fusionStart);

    if (MP_UI_checkKernelIsFocusStacking(m_strKernelName.toLatin1().constData()) && desc.output) {
        std::memset(params.p, 0, sizeof(params.p));
        params.p[0][0] = 0.5f;
        for (int k = 0; k < 6; ++k) {
            params.p[1][2 * k] = 0.2f * float(k);
            params.p[1][2 * k + 1] = 1.0f;
        }
        params.p[2][0] = 0.0f;
        params.p[2][1] = 100.0f;
        CKernelRunner::RunRGB16("MP_calcPixelSharpen", unsigned(desc.width), unsigned(desc.height), desc.output,
                                &params);
    }
    if (log) {
        const double ms = MP_UI_GetActualTime() - startTime;
        std::printf("%11.4f ms HDR calculation time - MP_buffer_size: %llu\n", ms,
                    (unsigned long long)MP_buffer_size);
        timing = QString::asprintf(" (%5.2f Megapixel/s)",
                                   ms > 0.0 ? double(desc.width) * desc.height / ms / 1000.0 : 0.0);
    }

    if (MP_UI_GetHeatmapMode()) {
        MP_UI_SetTime();
        const double mapStart = MP_UI_GetActualTime();
        if (final)
            CDocumentProgress::AddMessage(3, tr("Erzeuge Luminanz-Karte"), 0, 0.94f);
        if (!runBands(eAlignLuminanceMap, desc)) {
            SendOutOfMemMessage();
            return false;
        }
        if (log)
            timing = QString::asprintf("%11.4f ms Luminance Map", MP_UI_GetActualTime() - mapStart);
    }
    if (final)
        CDocumentProgress::AddMessage(3, tr("HDR-Berechnung abgeschlossen") + timing, 0, 1.0f);
    return true;
}

// ---- Global HDR weights -----------------------------------------------------------

void CExposureSeries::CalcGlobalHDRWeights(int method)
{
    switch (method) {
    case 1: CalcGlobalHDRWeightsEqual(); break;
    case 2: CalcGlobalHDRWeightsLuminance(); break;
    case 3: CalcGlobalHDRWeightsCongruence(); break;
    case 4: CalcGlobalHDRWeightsLuminanceCongruence(); break;
    case 5: CalcGlobalHDRWeightsMasterDominant(); break;
    case 6: CalcGlobalHDRWeightsLightDominant(); break;
    case 7: CalcGlobalHDRWeightsDarkDominant(); break;
    default: break;
    }
}

namespace {

float previewLuminance(const CExposureSeries& s, const CExposure& e)
{
    return MP_UI_GetAverageLuminance(e.m_pusPreviewBuffer, float(s.m_uiPreviewWidth), float(s.m_uiPreviewHeight));
}

} // namespace

void CExposureSeries::CalcGlobalHDRWeightsEqual()
{
    for (CExposure* e : m_vExposures)
        e->m_fGlobalWeight = 0.5f;
}

void CExposureSeries::CalcGlobalHDRWeightsLuminance()
{
    CEngineGuard guard;
    MP_UI_SetTime();
    std::printf("%s\nGlobal Luminance HDR Weights\n", std::string(61, '_').c_str());
    for (int i = 0; i < int(m_vExposures.size()); ++i) {
        CExposure* e = m_vExposures[i];
        const float L = previewLuminance(*this, *e);
        e->m_fGlobalWeight = std::sqrt(2.0f * (0.6f - std::fabs(0.4f - L)));
        std::printf("GlobalWeight of Pic %d is %f\n", i, double(e->m_fGlobalWeight));
    }
    std::printf("%11.4f ms CalcGlobalHDRWeightsLuminance()\n", MP_UI_GetTimeDifference());
}

// Weights from the congruence of each loaded exposure's bitmap with the
// master's (methods 3 and 4); master and synthetic exposures weigh 1. Without
// memory for the three bitmaps no weight changes.
static void congruenceWeights(CExposureSeries& s, bool luminance)
{
    const size_t pw = s.m_uiPreviewWidth, ph = s.m_uiPreviewHeight;
    const size_t bytes = pw * ph;
    const int w = int(pw), h = int(ph);
    std::unique_ptr<uint8_t[]> master(bytes ? new (std::nothrow) uint8_t[bytes] : nullptr);
    std::unique_ptr<uint8_t[]> other(bytes ? new (std::nothrow) uint8_t[bytes] : nullptr);
    std::unique_ptr<uint8_t[]> scratch(bytes ? new (std::nothrow) uint8_t[bytes] : nullptr);
    if (!master || !other || !scratch)
        return;
    CEngineGuard guard;
    MP_UI_SetTime();
    std::printf("%s\nGlobal HDR Weights\n", std::string(61, '_').c_str());
    if (s.m_pMaster && s.m_pMaster->m_pusPreviewBuffer) {
        MP_convertToMTB(s.m_pMaster->m_pusPreviewBuffer, master.get(), w, h, nullptr, nullptr, nullptr);
        MP_smoothMTB(2, w, h, master.get(), scratch.get());
    } else {
        std::memset(master.get(), 0, bytes);
    }
    for (int i = 0; i < int(s.m_vExposures.size()); ++i) {
        CExposure* e = s.m_vExposures[i];
        if (e == s.m_pMaster || e->m_bSynthetic || !e->m_pusPreviewBuffer) {
            e->m_fGlobalWeight = 1.0f;
            continue;
        }
        MP_convertToMTB(e->m_pusPreviewBuffer, other.get(), w, h, nullptr, nullptr, nullptr);
        MP_smoothMTB(2, w, h, other.get(), scratch.get());
        const float c = MP_calcMTBcongruence(master.get(), other.get(), w, h);
        const float c2 = c * c;
        if (!luminance) {
            e->m_fGlobalWeight = c2;
            std::printf("GlobalWeight of Pic %d is %f\n", i, double(e->m_fGlobalWeight));
        } else {
            const float L = MP_UI_GetAverageLuminance(e->m_pusPreviewBuffer, float(pw), float(ph));
            const float factor = 0.5f + 0.5f * std::pow(2.0f * std::fabs(0.5f - L), 0.25f);
            e->m_fGlobalWeight = c2 * factor;
            std::printf("GlobalWeight of Pic %d is %f * %f = %f\n", i, double(c2), double(factor),
                        double(e->m_fGlobalWeight));
        }
    }
    std::printf(luminance ? "%11.4f ms CalcGlobalHDRWeights()\n" : "%11.4f ms CalcGlobalHDRWeightsCongruence()\n",
                MP_UI_GetTimeDifference());
}

void CExposureSeries::CalcGlobalHDRWeightsCongruence()
{
    congruenceWeights(*this, false);
}

void CExposureSeries::CalcGlobalHDRWeightsLuminanceCongruence()
{
    congruenceWeights(*this, true);
}

void CExposureSeries::CalcGlobalHDRWeightsMasterDominant()
{
    const int n = int(m_vExposures.size());
    for (CExposure* e : m_vExposures)
        e->m_fGlobalWeight = (e == m_pMaster) ? 1.0f : 1.0f / float(n - 1);
}

void CExposureSeries::CalcGlobalHDRWeightsLightDominant()
{
    CEngineGuard guard;
    for (CExposure* e : m_vExposures)
        e->m_fGlobalWeight = std::sqrt(previewLuminance(*this, *e));
}

void CExposureSeries::CalcGlobalHDRWeightsDarkDominant()
{
    CEngineGuard guard;
    for (CExposure* e : m_vExposures)
        e->m_fGlobalWeight = std::sqrt(1.0f - previewLuminance(*this, *e));
}

// ---- Synthetic refresh, previews, names --------------------------------------------

void CExposureSeries::UpdateSynthetics()
{
    // Only a master with its image can be re-exposed.
    if (!m_pMaster || !m_pMaster->m_pusBuffer)
        return;
    for (CExposure* e : m_vExposures)
        if (e->m_bSynthetic)
            e->Synthetic(m_pMaster, e->m_fExposureValue);
}

bool CExposureSeries::RecalcPreviewSeries()
{
    for (const CExposure* e : m_vExposures)
        if (!e->m_pusBuffer)
            return true;
    CEngineGuard guard;
    const unsigned pw0 = m_uiPreviewWidth, ph0 = m_uiPreviewHeight;
    const int m = MP_UI_GetPreviewScaleMode();
    const QSize area = CSeriesSeams::PreviewAreaSize();
    if (m > 0 && area.width() > 150 && area.height() > 150) {
        float w = float(m_uiWidth), h = float(m_uiHeight);
        do {
            w *= 0.999f;
            h *= 0.999f;
        } while (!(int(w) < area.width() - 10 && int(h) < area.height() - 10) && w >= 1.0f && h >= 1.0f);
        const float mp = std::clamp(float(int(h / float(m))) * float(int(w / float(m))) / 1000000.0f, 0.3f, 2.5f);
        MP_UI_SetPreviewSize(mp);
        std::printf("Preview area (%d,%d) - fitted (%d,%d)\n", area.width(), area.height(), int(w), int(h));
    }
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolutionSize(&pw, &ph, nullptr, float(m_uiWidth), float(m_uiHeight), MP_UI_GetPreviewSize());
    if (unsigned(pw) == pw0 && unsigned(ph) == ph0)
        return true;
    std::printf("Previews neu erzeugen: (%u,%u) -> (%u,%u)\n", pw0, ph0, unsigned(pw), unsigned(ph));
    const float factor = MP_UI_GetPreviewScalingFactor();
    const bool ok = RecalcPreview();
    MP_UI_SetPreviewScalingFactor(factor);
    if (!ok)
        return false;

    MP_UI_SetTime();
    std::printf("Using up to %d threads at 32BIT\n", MP_UI_getPossibleThreadsFromMemorySize(m_uiWidth, m_uiHeight, 0));
    CAlignmentScheduler scheduler(32);
    for (CExposure* e : m_vExposures) {
        if (e->m_bSynthetic && m_pMaster && m_pMaster->m_pusBuffer) {
            MP_Params params;
            std::memset(&params, 0, sizeof(params));
            params.p[0][0] = 0.5f;
            params.p[1][0] = e->m_fExposureValue;
            CKernelRunner::RunRGB16("MP_calcPixelReExposePicture", m_uiWidth, m_uiHeight, m_pMaster->m_pusBuffer,
                                    e->m_pusBuffer, &params);
        }
        CAlignmentThread* job = scheduler.Enqueue(eAlignZoomPreview);
        if (!job) {
            SendOutOfMemMessage();
            return false;
        }
        job->m_pExposure = e;
    }
    scheduler.Process();
    std::printf("%11.4f ms build Preview exposure\n", MP_UI_GetTimeDifference());
    return true;
}

bool CExposureSeries::caseInsensitiveLessThan(const QString& a, const QString& b)
{
    return a.toLower() < b.toLower();
}

QString CExposureSeries::GetMergedFilename(int max) const
{
    QStringList names;
    for (const CExposure* e : m_vExposures) {
        if (e->m_bSynthetic)
            continue;
        const qsizetype dot = e->m_strFileName.lastIndexOf('.');
        names.append(dot >= 0 ? e->m_strFileName.left(dot) : e->m_strFileName);
    }
    if (names.isEmpty())
        return QString();
    std::stable_sort(names.begin(), names.end(), caseInsensitiveLessThan);
    qsizetype shortest = names.first().size();
    for (const QString& s : names)
        shortest = std::min(shortest, s.size());
    qsizetype k = 0;
    while (k < shortest) {
        const QChar c = names.first()[k];
        bool same = true;
        for (const QString& s : names)
            if (s[k] != c) {
                same = false;
                break;
            }
        if (!same)
            break;
        ++k;
    }
    for (int i = 1; i < int(names.size()); ++i)
        names[i].remove(0, k);
    QString result = names.first();
    for (int i = 1; i < int(names.size()); ++i)
        result += "_" + names[i];
    if (result.size() > max) {
        result = names.first();
        if (names.size() >= 2)
            result += "_" + names[1];
        if (names.size() >= 3)
            result += "___" + names.last();
    }
    return result;
}

void CExposureSeries::ClearManualWeightmaps()
{
    for (CExposure* e : m_vExposures) {
        if (e->m_psMWeightBuffer)
            std::memset(e->m_psMWeightBuffer, 0, PixelCount() * 2);
        if (e->m_psMWeightPreviewBuffer)
            std::memset(e->m_psMWeightPreviewBuffer, 0, PreviewPixelCount() * 2);
    }
}
