// The series' alignment driver, de-ghosting, latitude optimisation and
// congruence of a candidate image.
//
// The master image is never re-exposed in place: the alignment works against a
// temporarily re-exposed copy of it, so the master keeps its exact values and
// the synthetic exposures computed from it afterwards are the same as before.

#include "document/alignmentthreads.h"
#include "document/documentseams.h"
#include "document/exposureseries.h"
#include "document/kernelrunner.h"
#include "engine/MP_calc.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CExposureSeries", text);
}

void logSeparator(const char* title)
{
    std::printf("%s\n%s\n", std::string(61, '_').c_str(), title);
}

void postOutOfMemory(unsigned category)
{
    CDocumentProgress::AddMessage(category,
                                  QCoreApplication::translate("IExposure",
                                                              "Es steht nicht genug Arbeitsspeicher zur Verfügung."),
                                  2);
}

template <typename T> std::unique_ptr<T[]> tryAllocate(size_t count)
{
    return std::unique_ptr<T[]>(count ? new (std::nothrow) T[count] : nullptr);
}

// Re-exposes an RGB48 image from one exposure value to another.
void reExpose(unsigned w, unsigned h, unsigned short* src, unsigned short* dst, float from, float to)
{
    MP_Params p;
    std::memset(&p, 0, sizeof(p));
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = from;
    p.p[1][0] = to;
    CKernelRunner::RunRGB16("MP_calcPixelReExposePicture", w, h, src, dst, &p);
}

CExposure* findMaster(const QVector<CExposure*>& list)
{
    CExposure* master = nullptr;
    for (CExposure* e : list)
        if (e->m_bMaster)
            master = e;
    return master;
}

// Below 0.5 the alignment sliders map 0..0.5 onto 0.2..0.5.
float sliderToAlign(float v)
{
    return v < 0.5f ? v * 0.6f + 0.2f : v;
}

} // namespace

void AlignmentGrowCropRectangle(int w, int h, int& left, int& top, int& right, int& bottom, int* iterations)
{
    int count = 0;
    for (; count < 1000; ++count) {
        if (right - left > 499) {
            if (bottom - top > 499)
                break;
            --top;
            ++bottom;
        } else {
            --left;
            ++right;
            if (bottom - top <= 499) {
                --top;
                ++bottom;
            }
        }
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, w);
        bottom = std::min(bottom, h);
    }
    if (iterations)
        *iterations = count;
}

float AlignmentSliderValue(float slider)
{
    return sliderToAlign(slider);
}

// ---- Alignment driver ---------------------------------------------------------------

void CExposureSeries::Align(int detailPass, bool shift, bool rotation, bool zoom, bool detail, bool micro,
                            float radius, float accuracy, bool crop, int interpolation, bool multipass,
                            CExposure* only)
{
    const unsigned category = 6;
    CDocumentProgress::OpenCategory(category, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Bildausrichtung"));
    const SRawDevelopmentSettings raw = CDocumentSettings::RawDevelopment();
    CEngineGuard guard;
    MP_UI_SetAlignQualityValues(unsigned(std::clamp(raw.iAlignQuality, 0, 3)));

    const int kernelLog = MP_UI_GetShowExexcuteKernelOutput();
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_CalcZoomTable(interpolation);
    int w = int(m_uiWidth), h = int(m_uiHeight);
    std::printf("%s\nAlignment -> Radius: %f Quality: %f\n", std::string(61, '_').c_str(), double(radius),
                double(accuracy));
    MP_C1C9_CLEAR();
    CExposure* master = findMaster(m_vExposures);
    float fraction = 0.0f;
    CDocumentProgress::AddMessage(category, tr("Berechne Bildausrichtung"), 0, fraction);

    const int kinds = int(shift) + int(rotation) + int(zoom) + int(detail) + int(micro);
    const float step = (shift ? 0.85f : 0.95f) / float(std::max(kinds, 1));
    MP_ClearBuffer();
    if (!master || !master->m_pusBuffer || w <= 0 || h <= 0) {
        MP_UI_SetShowExexcuteKernelOutput(kernelLog);
        return;
    }

    auto isCandidate = [&](const CExposure* e) {
        return (!only || only == e) && !e->m_bMaster && !e->m_bSynthetic && e->m_pusBuffer;
    };
    int n = 0;
    for (const CExposure* e : m_vExposures)
        n += isCandidate(e) ? 1 : 0;
    std::printf("%d Pictures found for alignment\n", n);
    const bool work = kinds > 0 && n > 0;

    const int count = int(m_vExposures.size());
    std::vector<char> excluded(size_t(count), 0), changed(size_t(count), 0);
    std::vector<float> temporary(size_t(count), -1.0f);
    std::vector<std::unique_ptr<unsigned char[]>> pool;
    std::unique_ptr<unsigned char[]> reference, scratch;
    std::unique_ptr<unsigned short[]> masterCopy;
    float S = 1.0f, R = 1.0f, Z = 1.0f, D = 1.0f, M = 1.0f, total = 0.0f;

    if (work) {
        // The master's re-exposure only feeds the reference: it is done on a
        // copy, rebuilt every pass at the current size.
        reference = tryAllocate<unsigned char>(size_t(w) * size_t(h));
        scratch = tryAllocate<unsigned char>(size_t(w) * size_t(h));
        if (!reference || !scratch) {
            postOutOfMemory(category);
            MP_UI_SetShowExexcuteKernelOutput(kernelLog);
            return;
        }
        MP_UI_SetTime();
        for (int i = 0; i < count; ++i) {
            CExposure* e = m_vExposures[i];
            if (!isCandidate(e))
                continue;
            const float L = MP_UI_GetAverageLuminance(e->m_pusBuffer, float(w), float(h));
            if (L <= 0.02f || L >= 0.98f) {
                const float v = (1.0f - L) * (1.0f - L);
                temporary[size_t(i)] = v;
                std::printf("Umbelichtung von %f auf %f\n", double(L), double(v));
                CDocumentProgress::AddMessage(category, e->m_strFileName + " " + tr("wird temporär umbelichtet"), 0);
                reExpose(unsigned(w), unsigned(h), e->m_pusBuffer, e->m_pusBuffer, 0.5f, v);
            }
        }
        std::printf("%11.4f ms Umbelichtung\n", MP_UI_GetTimeDifference());
    }

    MP_UI_SetAlignMultiPassMode(multipass ? 1 : 0);
    const bool multi = MP_UI_GetAlignMultiPassMode() != 0;
    const int maxPasses = multi ? MP_align_mulitpass_maxpasses : 1;
    const int minPasses = multi ? 2 : 1;

    if (work) {
        MP_UI_SetTime();
        const int threads = MP_UI_getPossibleThreadsFromMemorySize(unsigned(w), unsigned(h), 8);
        std::printf("Using up to %d threads at 32BIT\n", threads);
        int poolSize = 0;
        for (const CExposure* e : m_vExposures)
            poolSize += (!e->m_bSynthetic && !e->m_bMaster) ? 1 : 0;
        poolSize = std::min(poolSize, 32);
        for (int i = 0; i < poolSize; ++i)
            pool.push_back(tryAllocate<unsigned char>(size_t(8) * size_t(w) * size_t(h)));
    }
    const float kindStep = step / float(std::max(maxPasses, 1));
    const float cropStep = 0.1f / float(std::max(maxPasses, 1));
    bool detailDone = false, microDone = false;
    int pass = 0;
    int left = 0, top = 0, right = w, bottom = h;

    auto runKind = [&](EAlignmentType type, const QString& text, const char* timing, float& average) -> bool {
        CAlignmentScheduler scheduler(32);
        CDocumentProgress::AddMessage(category, text, 0);
        MP_UI_SetTime();
        int position = 0;
        for (int i = 0; i < count; ++i) {
            CExposure* e = m_vExposures[i];
            if (!isCandidate(e) || excluded[size_t(i)])
                continue;
            CAlignmentThread* job = scheduler.Enqueue(type);
            if (!job) {
                postOutOfMemory(category);
                return false;
            }
            job->m_pExposure = e;
            job->m_pSource = masterCopy.get();
            job->m_pTarget = e->m_pusBuffer;
            job->m_iWidth = w;
            job->m_iHeight = h;
            job->m_pRefBitmap = reference.get();
            job->m_iIndex = i;
            job->m_iInterpolation = interpolation;
            job->m_iPass = pass;
            job->m_pWorkBuffer = pool.empty() ? nullptr : pool[size_t(position) % pool.size()].get();
            if (type != eAlignMicroDetail) {
                job->m_fAccuracy = accuracy;
                job->m_fRadius = radius;
            }
            if (type == eAlignRotate || type == eAlignZoom || type == eAlignDetail)
                job->m_fThreshold = 0.9f;
            if (type == eAlignDetail)
                job->m_iGrid = 64;
            ++position;
        }
        scheduler.Process();
        if (type == eAlignDetail)
            detailDone = true;
        if (type == eAlignMicroDetail)
            microDone = true;
        const bool mesh = type == eAlignDetail || type == eAlignMicroDetail;
        float sum = 0.0f;
        position = 0;
        for (CAlignmentThread* job : scheduler.m_vThreads) {
            const size_t i = size_t(job->m_iIndex);
            const QString name = m_vExposures[int(i)]->m_strFileName + " ";
            switch (job->m_iResult) {
            case 0:
                CDocumentProgress::AddMessage(category, name + tr("wurde erfolgreich ausgerichtet"), 0, fraction);
                sum += job->m_fCongruenceAfter - job->m_fCongruenceBefore;
                changed[i] = 1;
                if (type == eAlignDetail)
                    detailDone = false;
                if (type == eAlignMicroDetail)
                    microDone = false;
                break;
            case -3:
                CDocumentProgress::AddMessage(category, name + tr("enthält zu wenig Information"), 1, fraction);
                excluded[i] = 1;
                break;
            case -4:
                CDocumentProgress::AddMessage(category, name + tr("benötigt keine Ausrichtung"), 1, fraction);
                if (mesh)
                    excluded[i] = 1;
                break;
            case -5:
                CDocumentProgress::AddMessage(category, name + tr("erreichte keine Verbesserung"), 1, fraction);
                break;
            case -1:
                CDocumentProgress::AddMessage(category, name + tr("nicht genug freier Speicher verfügbar"), 2,
                                              fraction);
                break;
            case -2:
                CDocumentProgress::AddMessage(category, name + tr("enthält einen Leerzeiger"), 2, fraction);
                break;
            default:
                break;
            }
            std::printf("%d to Master - from %f to %f - Error:%d\n", position, double(job->m_fCongruenceBefore),
                        double(job->m_fCongruenceAfter), job->m_iResult);
            if (!mesh) {
                left = std::max(left, job->m_iLeft);
                top = std::max(top, job->m_iTop);
                right = std::min(right, job->m_iRight);
                bottom = std::min(bottom, job->m_iBottom);
            }
            ++position;
        }
        average = sum / float(n);
        std::printf(timing, MP_UI_GetTimeDifference());
        fraction += kindStep;
        CDocumentProgress::AddFraction(category, fraction);
        return true;
    };

    bool ok = work;
    while (ok) {
        if (pass >= minPasses && (pass >= maxPasses || !(S + R + Z + D + M > MP_align_multipass_minimumimprove)))
            break;
        ++pass;
        // The reference: the master's four-level bitmap, taken from a copy
        // of the master brightened or darkened to a mid luminance.
        masterCopy = tryAllocate<unsigned short>(size_t(w) * size_t(h) * 3);
        if (!masterCopy) {
            postOutOfMemory(category);
            break;
        }
        const float Lm = MP_UI_GetAverageLuminance(master->m_pusBuffer, float(w), float(h));
        CDocumentProgress::AddMessage(category, tr("Masterbild wird temporär umbelichtet"), 0);
        reExpose(unsigned(w), unsigned(h), master->m_pusBuffer, masterCopy.get(), 0.5f, 1.0f - Lm);
        MP_convertToMTB(masterCopy.get(), reference.get(), w, h, nullptr, nullptr, nullptr);
        MP_smoothMTB(2, w, h, reference.get(), scratch.get());
        std::fill(changed.begin(), changed.end(), 0);
        left = 0;
        top = 0;
        right = w;
        bottom = h;

        R = 0.0f;
        if (rotation)
            ok = ok && runKind(eAlignRotate, tr("Berechne Rotate-Bildausrichtung"), "%11.4f ms AlignRotate Gesamt\n", R);
        S = 0.0f;
        if (shift && ok)
            ok = runKind(eAlignScroll, tr("Berechne Verschiebungs-Bildausrichtung"), "%11.4f ms AlignScroll Gesamt\n",
                         S);
        Z = 0.0f;
        if (zoom && ok)
            ok = runKind(eAlignZoom, tr("Berechne Zoom-Bildausrichtung"), "%11.4f ms AlignZoom Gesamt\n", Z);
        if (detail && !detailDone && pass >= detailPass && ok)
            ok = runKind(eAlignDetail, tr("Berechne Detail-Bildausrichtung"), "%11.4f ms AlignDetail Gesamt\n", D);
        else
            D = 0.0f;
        if (micro && !microDone && pass >= detailPass && ok)
            ok = runKind(eAlignMicroDetail, tr("Berechne Mikrodetail-Bildausrichtung"),
                         "%11.4f ms AlignMikro Gesamt\n", M);
        else
            M = 0.0f;
        if (!ok)
            break;
        if (MP_align_skip_on_no_change == 1)
            for (size_t i = 0; i < changed.size(); ++i)
                if (!changed[i])
                    excluded[i] = 1;

        if (crop && (left > 0 || top > 0 || right < w || bottom < h)) {
            MP_UI_SetTime();
            CDocumentProgress::AddMessage(category, tr("Unnötige Bereiche werden entfernt"), 0);
            std::printf("Cropping Images\nOld size: %d/%d - %u/%u\nPlanned Size: %d,%d,%d,%d\n", w, h,
                        m_uiPreviewWidth, m_uiPreviewHeight, left, top, right, bottom);
            int iterations = 0;
            AlignmentGrowCropRectangle(w, h, left, top, right, bottom, &iterations);
            std::printf("Count: %d Cropped Size: %d,%d,%d,%d\n", iterations, left, top, right, bottom);
            Resize(left, top, right, bottom);
            // Sizes and the master's image are read again whatever Resize did.
            w = int(m_uiWidth);
            h = int(m_uiHeight);
            std::printf("New size: %d/%d - %u/%u\n", w, h, m_uiPreviewWidth, m_uiPreviewHeight);
            master = findMaster(m_vExposures);
            if (!master || !master->m_pusBuffer)
                break;
            if (size_t(w) * size_t(h) > 0) {
                reference = tryAllocate<unsigned char>(size_t(w) * size_t(h));
                scratch = tryAllocate<unsigned char>(size_t(w) * size_t(h));
                if (!reference || !scratch) {
                    postOutOfMemory(category);
                    break;
                }
            }
            fraction += cropStep;
            CDocumentProgress::AddFraction(category, fraction);
            std::printf("%11.4f ms Alignment Rescale\n", MP_UI_GetTimeDifference());
        }
        std::printf("Alignment Pass %d - avg.Improvement S:%6.4f R:%6.4f Z:%6.4f D:%6.4f M:%6.4f\n", pass, double(S),
                    double(R), double(Z), double(D), double(M));
        total += R + S + Z + D + M;
    }

    std::printf("Overall Improvement: %7.5f\n", double(total));
    pool.clear();
    masterCopy.reset();
    if (work) {
        MP_UI_SetTime();
        for (int i = 0; i < count; ++i) {
            CExposure* e = m_vExposures[i];
            if (temporary[size_t(i)] >= 0.0f && e->m_pusBuffer)
                reExpose(e->m_uiWidth, e->m_uiHeight, e->m_pusBuffer, e->m_pusBuffer, temporary[size_t(i)], 0.5f);
        }
        std::printf("%11.4f ms Zurückbelichtung\n", MP_UI_GetTimeDifference());
    }

    master = findMaster(m_vExposures);
    CDocumentProgress::AddMessage(category, tr("Masterbild wird wieder hergestellt"), 0);
    CDocumentProgress::AddMessage(category, tr("Erstelle Preview Belichtungsreihe"), 0);
    MP_UI_SetTime();
    std::printf("Using up to %d threads at 32BIT\n",
                MP_UI_getPossibleThreadsFromMemorySize(unsigned(std::max(w, 0)), unsigned(std::max(h, 0)), 0));
    {
        CAlignmentScheduler scheduler(32);
        for (CExposure* e : m_vExposures) {
            if (e->m_bSynthetic && master && master->m_pusBuffer && e->m_pusBuffer)
                reExpose(master->m_uiWidth, master->m_uiHeight, master->m_pusBuffer, e->m_pusBuffer, 0.5f,
                         e->m_fExposureValue);
            CAlignmentThread* job = scheduler.Enqueue(eAlignZoomPreview);
            if (!job) {
                postOutOfMemory(category);
                break;
            }
            job->m_pExposure = e;
        }
        scheduler.Process();
    }
    std::printf("%11.4f ms build Preview exposure\n", MP_UI_GetTimeDifference());
    reference.reset();
    scratch.reset();
    CDocumentProgress::AddFraction(category, 1.0f);
    MP_C1C9_PRINT();
    MP_UI_SetShowExexcuteKernelOutput(kernelLog);
}

// ---- After a load ---------------------------------------------------------------------

void CExposureSeries::AlignAndOptimizeFromDialog(CExposure* exposure)
{
    const SRawDevelopmentSettings raw = CDocumentSettings::RawDevelopment();
    bool aligned = false, optimized = false;
    if (raw.bAlignGroup && (raw.bAlignShift || raw.bAlignRotation || raw.bAlignZoom || raw.bAlignMotion ||
                            raw.bAlignMicroDetails)) {
        Align(2, raw.bAlignShift, raw.bAlignRotation, raw.bAlignZoom, raw.bAlignMotion, raw.bAlignMicroDetails,
              sliderToAlign(raw.fAlignSearchRadius), sliderToAlign(raw.fAlignAccuracy), raw.bAutoCrop,
              raw.iInterpolation, raw.bGeneticAlgorithm, exposure);
        aligned = true;
    }
    if (raw.bOptimizeGroup) {
        if (raw.bOptimizeExposure)
            OptimizeLatitudeExpose();
        optimized = true;
    }
    if (aligned || optimized)
        UpdateSynthetics();
    if (raw.bDeGhostGroup && !exposure)
        CalcDeGhostWeights(raw.fDeGhostStrength);
}

// ---- De-ghosting ------------------------------------------------------------------------

float DeGhostBlurRadiusSum(int width, int height, float strength)
{
    return float(std::max(width, height)) * (0.5f - 0.48f * strength) * 0.48f - 1.0f;
}

void CExposureSeries::CalcDeGhostWeights(float strength)
{
    const unsigned category = 8;
    CDocumentProgress::OpenCategory(category, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Geisterbildkorrektur"));
    CDocumentProgress::AddMessage(category, tr("Ermittle Geisterbilder"), 0, 0.0f);
    const SRawDevelopmentSettings raw = CDocumentSettings::RawDevelopment();
    CEngineGuard guard;
    MP_ClearBuffer();
    logSeparator("Automatic De-Ghosting");
    MP_UI_SetDeGhostLocalMode(raw.bLocalMTB ? 1 : 0);
    const bool local = MP_UI_GetDeGhostLocalMode() == 1;

    const int pw = int(m_uiPreviewWidth), ph = int(m_uiPreviewHeight);
    const int w = int(m_uiWidth), h = int(m_uiHeight);
    auto classes = tryAllocate<unsigned char>(size_t(pw) * size_t(ph));
    const int count = int(m_vExposures.size());
    int refIndex = 0;
    for (int i = 0; i < count; ++i)
        if (m_vExposures[i]->m_bMaster)
            refIndex = i;
    if (classes && count > 0 && m_vExposures[refIndex]->m_pusPreviewBuffer) {
        std::printf("Find best exposure:\nBest Exposure is %d: %d\n", refIndex, 0);
        const CExposure* ref = m_vExposures[refIndex];
        if (local)
            MP_convertToDeGhostMTBlocal(ref->m_pusPreviewBuffer, classes.get(), pw, ph, nullptr, nullptr);
        else
            MP_convertToDeGhostMTB(ref->m_pusPreviewBuffer, classes.get(), pw, ph, nullptr, nullptr);

        std::vector<int> result(size_t(count), 0);
        MP_UI_SetTime();
        {
            CAlignmentScheduler scheduler(32);
            for (int i = 0; i < count; ++i) {
                CExposure* e = m_vExposures[i];
                if (e->m_bSynthetic || i == refIndex || !e->m_pusPreviewBuffer)
                    continue;
                CAlignmentThread* job = scheduler.Enqueue(eAlignDeGhost);
                if (!job)
                    break;
                job->m_pExposure = e;
                job->m_iWidth = w;
                job->m_iHeight = h;
                job->m_iWidthPrev = pw;
                job->m_iHeightPrev = ph;
                job->m_pTarget = e->m_pusPreviewBuffer;
                job->m_pRefBitmap = classes.get();
                job->m_fStrength = strength;
                job->m_pWeightMapPrev = e->m_psMWeightPreviewBuffer;
                job->m_pWeightMap = e->m_psMWeightBuffer;
                job->m_iIndex = i;
            }
            scheduler.Process();
            for (const CAlignmentThread* job : scheduler.m_vThreads)
                result[size_t(job->m_iIndex)] = job->m_iResult;
        }
        std::printf("%11.4f ms CalcDeGhostWeights()\n", MP_UI_GetTimeDifference());
        CDocumentProgress::AddMessage(category, tr("Glätte Geisterbildbereiche"), 0, 0.7f);

        for (int preview = 0; preview < 2; ++preview) {
            const int bw = preview ? pw : w, bh = preview ? ph : h;
            MP_Params params;
            std::memset(&params, 0, sizeof(params));
            params.p[0][0] = DeGhostBlurRadiusSum(bw, bh, strength);
            params.p[1][0] = 2.0f;
            MP_UI_SetTime();
            CAlignmentScheduler scheduler(32);
            for (int i = 0; i < count; ++i) {
                CExposure* e = m_vExposures[i];
                short* map = preview ? e->m_psMWeightPreviewBuffer : e->m_psMWeightBuffer;
                if (result[size_t(i)] != 1 || !map)
                    continue;
                CAlignmentThread* job = scheduler.Enqueue(eAlignBlurSignedMap);
                if (!job)
                    break;
                job->m_pExposure = e;
                job->m_iWidth = bw;
                job->m_iHeight = bh;
                job->m_pWeightMap = map;
                job->m_pParams = &params;
                job->m_iIndex = i;
            }
            scheduler.Process();
            std::printf(preview ? "%11.4f ms CalcDeGhostBlur()-Preview\n" : "%11.4f ms CalcDeGhostBlur()-Fullsize\n",
                        MP_UI_GetTimeDifference());
        }
    }
    CDocumentProgress::AddFraction(category, 1.0f);
}

// ---- Latitude ----------------------------------------------------------------------------

void LatitudeWidenRange(float& min, float& max)
{
    min = float(std::pow(double(min), double(1.6666666f)));
    max = float(std::pow(double(max), double(0.6f)));
}

float LatitudeTarget(int k, int n, float exponent, float min, float max)
{
    const float q = float(k) / float(n - 1);
    return float(std::pow(double(q), double(exponent)) * double(max - min) + double(min));
}

void CExposureSeries::OptimizeLatitudeExpose()
{
    const unsigned category = 7;
    CEngineGuard guard;
    const int kernelLog = MP_UI_GetShowExexcuteKernelOutput();
    MP_UI_SetShowExexcuteKernelOutput(0);
    CDocumentProgress::OpenCategory(category, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Belichtungsoptimierung"));
    CDocumentProgress::AddMessage(category, tr("Berechne Belichtungsreihen Optimierung"), 0, 0.0f);
    CDocumentProgress::AddMessage(category, tr("Belichtungen werden ermittelt"), 0);
    const float e = MP_UI_GetLatitudeOptimizeExponent();
    std::printf("OptimizeLatitude -> Exponent: %f\n", double(e));
    MP_UI_SetTime();

    const int count = int(m_vExposures.size());
    const int pw = int(m_uiPreviewWidth), ph = int(m_uiPreviewHeight);
    const int w = int(m_uiWidth), h = int(m_uiHeight);
    float min = 1.0f, max = 0.0f;
    int n = 0;
    std::vector<float> lum(size_t(count), 0.0f);
    for (int i = 0; i < count; ++i) {
        CExposure* x = m_vExposures[i];
        if (!x->m_bSynthetic && x->m_pusPreviewBuffer) {
            lum[size_t(i)] = MP_UI_GetAverageLuminanceFull(x->m_pusPreviewBuffer, float(pw), float(ph));
            min = std::min(min, lum[size_t(i)]);
            max = std::max(max, lum[size_t(i)]);
            ++n;
        }
        CDocumentProgress::AddFraction(category, float(i + 1) * 0.1f / float(count));
    }
    std::printf("Bilder:%d Min: %f Max:%f\n", n, double(min), double(max));
    if (max - min < 0.1f) {
        LatitudeWidenRange(min, max);
        std::printf("Belichtungsdistanz vergrößern Min: %f Max:%f\n", double(min), double(max));
    }
    if (n > 2 && MP_UpdateBuffer(size_t(pw) * size_t(ph) * 6)) {
        CAlignmentScheduler scheduler(32);
        int k = 0;
        for (int i = 0; i < count; ++i) {
            CExposure* x = m_vExposures[i];
            if (x->m_bSynthetic || !x->m_pusPreviewBuffer)
                continue;
            const float L = lum[size_t(i)];
            if (L >= min && L <= max) {
                const float t = LatitudeTarget(k, n, e, min, max);
                std::printf("%s: %6.4f dlum: %6.4f\n", x->m_strFileName.toLocal8Bit().constData(), double(L),
                            double(t));
                CAlignmentThread* job = scheduler.Enqueue(eAlignSingleExpose);
                if (!job) {
                    postOutOfMemory(category);
                    scheduler.DestroyThreads();
                    break;
                }
                job->m_pExposure = x;
                job->m_iWidth = w;
                job->m_iHeight = h;
                job->m_iWidthPrev = pw;
                job->m_iHeightPrev = ph;
                job->m_pSource = job->m_pTarget = x->m_pusBuffer;
                job->m_pSourcePrev = job->m_pTargetPrev = x->m_pusPreviewBuffer;
                job->m_fLuminance = L;
                job->m_fTargetLuminance = t;
            }
            ++k;
            CDocumentProgress::AddFraction(category, 0.1f + float(i + 1) * 0.7f / float(count));
        }
        scheduler.Process();
    }
    CDocumentProgress::AddMessage(category, tr("Belichtungsreihen Optimierung abgeschlossen"), 0, 1.0f);
    std::printf("%6.2f ms OptimizeLatitude Full\n", MP_UI_GetTimeDifference());
    MP_UI_SetShowExexcuteKernelOutput(kernelLog);
}

// ---- Congruence of a candidate ---------------------------------------------------------------

float CExposureSeries::CalcCongruence(CExposure* candidate)
{
    const int count = int(m_vExposures.size());
    if (!candidate || count == 0 || candidate->m_uiWidth != m_uiWidth || candidate->m_uiHeight != m_uiHeight)
        return 0.0f;
    // The candidate's preview is read at the series' preview size.
    if (candidate->m_uiPreviewWidth != m_uiPreviewWidth || candidate->m_uiPreviewHeight != m_uiPreviewHeight ||
        !candidate->m_pusPreviewBuffer)
        return 0.0f;
    auto extension = [](const QString& name) {
        const int dot = name.lastIndexOf('.');
        return dot < 0 ? name : name.mid(dot + 1);
    };
    if (extension(candidate->m_strFileName) != extension(m_vExposures[0]->m_strFileName))
        return 0.0f;

    float f = 1.0f;
    if (candidate->m_iDateTime >= 0 && count > 2) {
        long long lo = -1, hi = -1;
        for (const CExposure* e : m_vExposures) {
            if (e->m_iDateTime < 0)
                continue;
            if (lo < 0 || e->m_iDateTime < lo)
                lo = e->m_iDateTime;
            if (hi < 0 || e->m_iDateTime > hi)
                hi = e->m_iDateTime;
        }
        const long long g = candidate->m_iDateTime;
        if (lo >= 0 && g < lo)
            f = 1.0f - float(lo - g) / 1200.0f;
        else if (hi >= 0 && g > hi)
            f = 1.0f - float(g - hi) / 1200.0f;
        f = std::max(f, 0.0f);
    }

    const int pw = int(m_uiPreviewWidth), ph = int(m_uiPreviewHeight);
    const size_t bytes = size_t(pw) * size_t(ph);
    auto a = tryAllocate<unsigned char>(bytes), b = tryAllocate<unsigned char>(bytes),
         c = tryAllocate<unsigned char>(bytes);
    if (!a || !b || !c)
        return 0.0f;
    CEngineGuard guard;
    MP_convertToMTB(candidate->m_pusPreviewBuffer, a.get(), pw, ph, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, pw, ph, a.get(), b.get());
    const int step = std::max(1, count / 20);
    float sum = 0.0f;
    for (int idx = 0; idx < count; idx += step)
        if (m_vExposures[idx]->m_pusPreviewBuffer)
            sum += MP_UI_CalcImageCongruenceConstantSrc(a.get(), b.get(), c.get(), m_vExposures[idx]->m_pusPreviewBuffer,
                                                        pw, ph);
    return std::sqrt(f) * sum / float(count / step);
}
