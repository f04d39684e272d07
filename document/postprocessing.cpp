#include "document/postprocessing.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/hugepages.h"
#include "document/kernelrunner.h"
#include "engine/MP_calc.h"
#include "engine/core/conversions.h"
#include "engine/views/zoom.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSettings>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

// ---- Records and seams ---------------------------------------------------------

unsigned PP_OperatorId(const QString& kernel) { return static_cast<unsigned>(qHash(kernel)); }

IFilmSettings::~IFilmSettings() = default;
IPostProcessingHost::~IPostProcessingHost() = default;

namespace {

IFilmSettings* s_pFilmSettings = nullptr;
IPostProcessingHost* s_pHost = nullptr;
QString s_strLocale;
int s_iRunningChains = 0; // chain runs active on the GUI thread

const char* const kLocalContrast = "MP_calcPixelLocalContrast";
const char* const kBWPoint = "MP_calcPixelbwpoint";
const char* const kGradation = "MP_calcPixelGradationLagrange";
const char* const kSubSharpen = "MP_calcPixelSubSharpen";
const char* const kSubDeNoise = "MP_calcPixelSubDeNoiseAverage";

constexpr int kMainCategory = 5;

bool OnGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void Log(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString OutOfMemoryText()
{
    return QCoreApplication::translate("IExposure", "Es steht nicht genug Arbeitsspeicher zur Verfügung.");
}

void PostOutOfMemory() { CDocumentProgress::AddMessage(0, OutOfMemoryText(), 2); }

// Whether a buffer fill may run as a pass on the engine's task queue: not on
// the GUI thread while it is inside an engine operation (a paint during the
// progress window's events), which must not be re-entered.
bool MayRunBands()
{
    return !(OnGuiThread() && (s_iRunningChains > 0 || CEngineGuard::IsHeldByCurrentThread()));
}

// A block for an image that is written whole right after: not zeroed, on
// 2 MB boundaries with huge pages advised, so that the bands that fill it
// touch it first with few page faults. Freed with std::free.
unsigned short* AllocateImageBlock(size_t bytes)
{
    constexpr size_t kHuge = size_t(2) << 20;
    if (bytes < 2 * kHuge)
        return static_cast<unsigned short*>(std::malloc(bytes ? bytes : 1));
    const size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
    void* block = std::aligned_alloc(kHuge, rounded);
    if (block)
        AdviseHugePages(block, rounded);
    return static_cast<unsigned short*>(block);
}

void ClearSets(MP_Params* P) { std::memset(P->p, 0, sizeof(P->p)); }

void SetKnots(float* set, const float (&knots)[12]) { std::memcpy(set, knots, sizeof(knots)); }

void SetBlend(float* set, float opacity = 100.0f)
{
    set[0] = 0.0f;
    set[1] = opacity;
}

const float kFlatMask[12] = {0.0f, 1.0f, 0.2f, 1.0f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 1.0f, 1.0f, 1.0f};

} // namespace

// ---- CPostProcessing: object --------------------------------------------------------

unsigned short* CPostProcessing::_s_pusBuffer = nullptr;
QSize CPostProcessing::_s_Size(-1, -1);
unsigned short* CPostProcessing::_s_pusPreviewBuffer = nullptr;
QSize CPostProcessing::_s_PreviewSize(-1, -1);

CPostProcessing::CPostProcessing() = default;
CPostProcessing::~CPostProcessing() = default;

void CPostProcessing::SetFilmSettings(IFilmSettings* settings) { s_pFilmSettings = settings; }
IFilmSettings* CPostProcessing::FilmSettings() { return s_pFilmSettings; }
void CPostProcessing::SetHost(IPostProcessingHost* host) { s_pHost = host; }
void CPostProcessing::SetLocaleName(const QString& locale) { s_strLocale = locale; }

QString CPostProcessing::GetDisplayName() const
{
    const QString locale = s_strLocale.isEmpty() ? QLocale().name() : s_strLocale;
    if (m_strCategory == QLatin1String("user") || locale == QLatin1String("de_DE"))
        return m_strDisplayName;
    const QByteArray source = m_strDisplayName.toUtf8();
    return QCoreApplication::translate("PPPreset", source.constData());
}

QString CPostProcessing::GetDisplayNameWithCategory() const
{
    if (m_strCategory.isEmpty())
        return GetDisplayName();
    const QByteArray category = m_strCategory.toUtf8();
    return QCoreApplication::translate("PPPresetCategory", category.constData()) + QLatin1Char(' ') + GetDisplayName();
}

void CPostProcessing::SetStructureData(int type, float smooth, float v0, float v1, float v2, float v3,
                                       bool showDetection, int c0, int c1, int c2, int c3)
{
    m_iStructureType = type;
    m_fStructureSmooth = smooth;
    m_pfStructureValues[0] = v0;
    m_pfStructureValues[1] = v1;
    m_pfStructureValues[2] = v2;
    m_pfStructureValues[3] = v3;
    m_bStructureShowDetection = showDetection;
    m_piStructureColors[0] = c0;
    m_piStructureColors[1] = c1;
    m_piStructureColors[2] = c2;
    m_piStructureColors[3] = c3;
}

void CPostProcessing::SetProcessData()
{
    if (s_pFilmSettings == nullptr || !OnGuiThread())
        return;
    m_iFilmTyp = s_pFilmSettings->FilmTypeIndex();
    m_fFilmTypIntensity = s_pFilmSettings->FilmTypeIntensity();
    m_fFilmTypGraining = s_pFilmSettings->FilmTypeGraining();
    TakeFilmRow();
}

void CPostProcessing::TakeFilmRow()
{
    m_iFilmRow = m_iFilmTyp;
    m_bFilmRowValid = m_iFilmTyp >= 1 && s_pFilmSettings != nullptr &&
                      s_pFilmSettings->FilmTypeRow(m_iFilmTyp, m_pfFilmRow);
}

int CPostProcessing::GetLayerIconIndex(int row) const
{
    if (row < 0 || row >= m_vecOperators.size())
        return 4;
    const SOperator& op = m_vecOperators[row];
    if (op.parameters.isEmpty())
        return 4;
    int result = 4;
    for (const SParameter& parameter : op.parameters) {
        if (parameter.eType == ePTBlend) {
            const float mode = parameter.pfValues[0];
            result = (std::isfinite(mode) && std::trunc(mode) != 0.0f) ? 1 : 0;
        } else if (parameter.eType == ePTGeometry) {
            for (int r = 0; r < MP_MAX_GEOMETRYSETS; ++r) {
                if (parameter.pfValues[8 * r] != 0.0f) {
                    result |= 2;
                    break;
                }
            }
        }
    }
    return result;
}

bool CPostProcessing::IsMainKernelNeeded(const SOperator& op) const
{
    const QByteArray kernel = op.kernel.toUtf8();
    MP_Params* P = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
    if (P == nullptr)
        return true;
    const int count = std::min<int>(op.parameters.size(), MP_MAX_PARAMETER);
    for (int j = 0; j < count; ++j)
        std::memcpy(P->p[j], op.parameters[j].pfValues, sizeof(P->p[j]));
    const bool needed = MP_UI_isKernelExecutionNeeded(kernel.constData(), P) != 0;
    std::free(P);
    return needed;
}

bool CPostProcessing::KernelForcesCPU(const char* kernel) const { return MP_UI_checkKernelForcesCPU(kernel) == 1; }

bool CPostProcessing::OperatorRunsKernel(const SOperator& op, bool first, bool* forces) const
{
    // The operator's kernel runs in run order.
    QByteArray runs[4];
    int count = 0;
    if (op.iprecalcSmooth > 0)
        runs[count++] = kLocalContrast;
    if (IsMainKernelNeeded(op))
        runs[count++] = op.kernel.toUtf8();
    if (op.bCalcBW)
        runs[count++] = kBWPoint;
    if (op.bCalcGradation)
        runs[count++] = kGradation;
    if (count == 0)
        return false;
    *forces = KernelForcesCPU(runs[first ? 0 : count - 1].constData());
    return true;
}

bool CPostProcessing::IsNextKernelCPU(unsigned index) const
{
    for (qsizetype i = static_cast<qsizetype>(index) + 1; i < m_vecOperators.size(); ++i) {
        const SOperator& op = m_vecOperators[i];
        bool forces = false;
        if (op.bActive && OperatorRunsKernel(op, true, &forces))
            return forces;
    }
    return true;
}

bool CPostProcessing::IsLastKernelCPU(unsigned index) const
{
    for (qsizetype i = std::min<qsizetype>(index, m_vecOperators.size()) - 1; i >= 0; --i) {
        const SOperator& op = m_vecOperators[i];
        bool forces = false;
        if (op.bActive && OperatorRunsKernel(op, false, &forces))
            return forces;
    }
    return true;
}

void CPostProcessing::FillKernelHeader(MP_Params* P, unsigned width, unsigned height, int w, int h)
{
    std::memset(P, 0, sizeof(MP_Params));
    P->previewscalingfactor = MP_UI_GetPreviewScalingFactorFromResolution(static_cast<int>(width),
                                                                          static_cast<int>(height), w, h);
    MP_UI_GetLuminanzConvRGB(&P->lumr, &P->lumg, &P->lumb);
    P->kernel_exponent = MP_UI_GetKernelExponent();
    P->loopstep = MP_UI_GetLoopstep();
}

// ---- Class-wide buffers ---------------------------------------------------------------

bool CPostProcessing::InitBuffer(unsigned short* source, const QSize& sourceSize, const QSize& targetSize,
                                 bool preview)
{
    if (source == nullptr || sourceSize.width() <= 0 || sourceSize.height() <= 0)
        return false;
    int w = targetSize.width();
    int h = targetSize.height();
    IExposure::GetScaledSize(w, h, static_cast<unsigned>(sourceSize.width()), static_cast<unsigned>(sourceSize.height()));
    if (w <= 0 || h <= 0)
        return false;

    unsigned short*& buffer = preview ? _s_pusPreviewBuffer : _s_pusBuffer;
    QSize& size = preview ? _s_PreviewSize : _s_Size;
    if (buffer == nullptr || size != QSize(w, h)) {
        std::free(buffer);
        buffer = AllocateImageBlock(static_cast<size_t>(w) * static_cast<size_t>(h) * 6u);
        if (buffer == nullptr) {
            size = QSize(-1, -1);
            PostOutOfMemory();
            return false;
        }
    }
    const float sw = static_cast<float>(sourceSize.width());
    const float sh = static_cast<float>(sourceSize.height());
    if (!MayRunBands()) {
        // Inside a running operation of the GUI thread: no pass of its own.
        MP_UI_zoomPreviewPicture(source, buffer, 0, 0, 0, 0, static_cast<float>(w), static_cast<float>(h),
                                 static_cast<float>(w), sw, sh, 0.0f, 0.0f, sw, sh);
    } else {
        CEngineGuard guard;
        if (w == sourceSize.width() && h == sourceSize.height())
            MP_MT_copyRows(source, buffer, static_cast<size_t>(w) * 6u, h);
        else
            MP_MT_zoomPreviewPicture(source, buffer, 0, 0, 0, 0, static_cast<float>(w), static_cast<float>(h),
                                     static_cast<float>(w), sw, sh, 0.0f, 0.0f, sw, sh);
    }
    size = QSize(w, h);
    return true;
}

void CPostProcessing::DeleteBuffer()
{
    std::free(_s_pusBuffer);
    _s_pusBuffer = nullptr;
    std::free(_s_pusPreviewBuffer);
    _s_pusPreviewBuffer = nullptr;
}

QPixmap CPostProcessing::CreatePixmap(bool border, bool preview)
{
    const unsigned short* buffer = preview ? _s_pusPreviewBuffer : _s_pusBuffer;
    const QSize size = preview ? _s_PreviewSize : _s_Size;
    if (buffer == nullptr || size.width() <= 0 || size.height() <= 0)
        return QPixmap();
    const unsigned w = static_cast<unsigned>(size.width());
    const unsigned h = static_cast<unsigned>(size.height());
    QPixmap pixmap = IExposure::CreatePixmap(buffer, w, h, w, h);
    // The picture just rendered is still in the shared render buffer.
    QMutexLocker lock(&IExposure::sm_RenderMutex);
    const size_t pw = static_cast<size_t>(pixmap.width());
    const size_t ph = static_cast<size_t>(pixmap.height());
    if (border && !pixmap.isNull() && IExposure::sm_pbRGBA != nullptr && IExposure::sm_stRGBABytes >= pw * ph * 4u) {
        MP_UI_GetBorderColorFromBuffer(pixmap.width(), pixmap.height(),
                                       reinterpret_cast<const uint32_t*>(IExposure::sm_pbRGBA),
                                       &IExposure::sm_pbBackgroundColor[0], &IExposure::sm_pbBackgroundColor[1],
                                       &IExposure::sm_pbBackgroundColor[2]);
    } else if (!border) {
        IExposure::sm_pbBackgroundColor[0] = IExposure::sm_pbBackgroundColor[1] =
            IExposure::sm_pbBackgroundColor[2] = 46;
    }
    return pixmap;
}

QPixmap CPostProcessing::CreateHistogram(int width, int height, bool b1, bool b2, bool b3, bool b4, bool b5)
{
    if (_s_pusBuffer == nullptr || _s_Size.width() <= 0 || _s_Size.height() <= 0 || width <= 0 || height <= 0)
        return QPixmap();
    return IExposure::CreateHistogram(_s_pusBuffer, static_cast<unsigned>(_s_Size.width()),
                                      static_cast<unsigned>(_s_Size.height()), static_cast<unsigned>(width),
                                      static_cast<unsigned>(height), b1, b2, b3, b4, b5);
}

// ---- Processing ---------------------------------------------------------------------------

int CPostProcessing::Process(unsigned width, unsigned height, bool preview)
{
    const bool gui = OnGuiThread();
    // Asked for from event processing inside a running engine operation of
    // this thread: never re-enter the engine; the caller posts it again.
    if (gui && (s_iRunningChains > 0 || CEngineGuard::IsHeldByCurrentThread()))
        return PP_BUSY;
    CEngineGuard guard; // a worker waits for the running operation
    if (gui)
        ++s_iRunningChains;
    const int result = RunChain(width, height, preview, gui);
    if (gui)
        --s_iRunningChains;
    return result;
}

int CPostProcessing::RunChain(unsigned width, unsigned height, bool preview, bool gui)
{
    unsigned short* buffer = preview ? _s_pusPreviewBuffer : _s_pusBuffer;
    const QSize size = preview ? _s_PreviewSize : _s_Size;
    if (buffer == nullptr || size.width() <= 0 || size.height() <= 0)
        return -2;
    const bool mainRun = !preview;
    const bool logSections = mainRun && MP_UI_GetAnimMode() != 1;

    // 1. start of a main-image run
    if (mainRun) {
        if (logSections)
            Log("BEGIN");
        MP_UI_SetIsCalculatingMode(1);
        MP_UI_SetIsCalculatingCancelRequest(0);
        if (gui && s_pHost != nullptr)
            s_pHost->PostProcessingStarted();
    }
    // 2. the dock's film settings (GUI thread only; the batch uses those taken before)
    if (gui)
        SetProcessData();

    // 3. small images are never wrapped around
    const int panorama = MP_UI_GetPanoramaMode();
    const int w = size.width();
    const int h = size.height();
    if (w < 500 || h < 500)
        MP_UI_SetPanoramaMode(0);
    const double start = MP_UI_GetActualTime();

    MP_Params* P = static_cast<MP_Params*>(std::malloc(sizeof(MP_Params)));
    int result = P == nullptr ? -1 : 0;

    // 5. film pass first
    if (result == 0 && MP_UI_GetFilmTypeAfterPPMode() == 0) {
        if (logSections)
            Log("Prcoess Filmtype (Pre) --------------------------------------------");
        result = ProcessFilmType(width, height, preview, buffer, size);
    }
    if (result == 0) {
        if (logSections)
            Log("Post-Processing ---------------------------------------------------");
        // 7. every active operator
        int n = 0;
        for (const SOperator& op : m_vecOperators)
            n += op.bActive ? 1 : 0;
        n = std::max(n, 1);
        int k = 0;
        for (int i = 0; i < m_vecOperators.size() && result == 0; ++i) {
            if (!m_vecOperators[i].bActive)
                continue;
            result = ProcessOperator(i, width, height, buffer, w, h, mainRun, n, k, P);
            ++k;
            if (result == 0 && mainRun)
                CDocumentProgress::AddFraction(kMainCategory, static_cast<float>(k) / static_cast<float>(n));
        }
    }
    if (result == 0 && mainRun)
        CDocumentProgress::AddFraction(kMainCategory, 1.0f);
    // 9. film pass last
    if (result == 0 && MP_UI_GetFilmTypeAfterPPMode() != 0) {
        if (logSections)
            Log("Prcoess Filmtype (Post) -------------------------------------------");
        result = ProcessFilmType(width, height, preview, buffer, size);
    }
    std::free(P);

    if (mainRun && result == 0)
        m_bChanged = false;
    MP_UI_SetPanoramaMode(panorama);
    if (logSections)
        Log("END");
    const double ms = MP_UI_CalcTimeDifference(start);
    std::printf("%11.4f ms Process()\n", ms);
    std::fflush(stdout);
    if (gui && s_pHost != nullptr) {
        const double clamped = std::clamp(std::isfinite(ms) ? ms : 0.0, 0.0, 2147483647.0);
        s_pHost->PostProcessingTime(static_cast<int>(clamped));
    }
    if (mainRun) {
        MP_UI_SetIsCalculatingMode(0);
        MP_UI_SetIsCalculatingCancelRequest(0);
    }
    if (result == -1)
        PostOutOfMemory();
    return result;
}

int CPostProcessing::ProcessOperator(int i, unsigned width, unsigned height, unsigned short* buffer, int w, int h,
                                     bool mainRun, int n, int k, MP_Params* P)
{
    const SOperator& op = m_vecOperators[i];
    const QByteArray kernelName = op.kernel.toUtf8();
    const char* kernel = kernelName.constData();
    float* image = reinterpret_cast<float*>(buffer);
    const int category = mainRun ? kMainCategory : -1;
    const float fn = static_cast<float>(n);
    const float fk = static_cast<float>(k);
    auto run = [&](const char* name, float progressStart, float progressRange, bool before, bool after) {
        if (!mainRun)
            progressStart = progressRange = 0.0f;
        return CKernelRunner::Run(name, static_cast<unsigned>(w), static_cast<unsigned>(h), image, image, 6, 6, P,
                                  category, progressStart, progressRange, before, after);
    };

    // 1. S: the operator's parameter blocks; a set the operator lacks is zeros
    //    (no masks), at most ten are taken.
    static thread_local float S[PP_MAX_PARAMETERS][PP_PARAMETER_VALUES];
    std::memset(S, 0, sizeof(S));
    const int count = std::min<int>(op.parameters.size(), PP_MAX_PARAMETERS);
    for (int j = 0; j < count; ++j)
        std::memcpy(S[j], op.parameters[j].pfValues, sizeof(S[j]));
    const int g = MP_UI_getKernelGeometryIndex(kernel);
    const bool hasMasks = g >= 0 && g < PP_MAX_PARAMETERS;

    // 2., 3. header
    FillKernelHeader(P, width, height, w, h);
    if (op.bReadBWPoint)
        MP_UI_GetMinMaxLuminance(buffer, &P->lummin, &P->lummax, static_cast<float>(w), static_cast<float>(h));

    const bool mainNeeded = IsMainKernelNeeded(op);
    const bool lastCPU = IsLastKernelCPU(static_cast<unsigned>(i));
    const bool nextCPU = IsNextKernelCPU(static_cast<unsigned>(i));
    // forces-processor answer for the first kernel after the operator's own
    const bool afterMain = op.bCalcBW ? KernelForcesCPU(kBWPoint)
                                      : (op.bCalcGradation ? KernelForcesCPU(kGradation) : nextCPU);

    // 4. pre-smoothing
    float pre = 0.0f;
    if (op.iprecalcSmooth > 0) {
        ClearSets(P);
        P->p[0][0] = 0.4f;
        P->p[1][0] = 0.0f;
        const float knots[12] = {0.0f, 1.0f, 0.2f, 1.0f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 0.8f, 1.0f, 1.0f};
        SetKnots(P->p[2], knots);
        SetBlend(P->p[3]);
        if (hasMasks && g > 0 && g - 1 < count)
            P->p[3][1] = S[g - 1][1];
        if (hasMasks)
            std::memcpy(P->p[4], S[g], sizeof(P->p[4]));
        const bool after = mainNeeded ? KernelForcesCPU(kernel) : afterMain;
        const int result = run(kLocalContrast, fk / fn, 0.5f / fn, lastCPU, after);
        if (result < 0)
            return result;
        pre = 0.5f;
    }

    // 5. the operator's parameters
    ClearSets(P);
    std::memcpy(P->p, S, sizeof(P->p));
    // 6. progress
    if (mainRun)
        CDocumentProgress::AddMessage(kMainCategory, op.name, 0, (fk + pre) / fn);
    // 7. flags
    const bool before = op.iprecalcSmooth > 0 ? KernelForcesCPU(kLocalContrast) : lastCPU;
    // 8. depth map: the linked series' (the series keeps none), else one black pixel
    static unsigned short s_blackPixel[3] = {0, 0, 0};
    if (m_pAccordingExposureSeries != nullptr) {
        P->depthmapwidth = 0;
        P->depthmapheight = 0;
        P->depthmap = nullptr;
    } else {
        P->depthmapwidth = 1;
        P->depthmapheight = 1;
        P->depthmap = s_blackPixel;
    }
    // 9. 3D iterations
    const int t = MP_UI_GetTM3dIterations();

    // 10. the operator's kernel
    if (MP_UI_checkKernelIsTonemapping(kernel) == 0) {
        const int result = run(kernel, (fk + pre) / fn, (1.0f - pre) / fn, before, afterMain);
        if (result < 0)
            return result;
    } else {
        const float step = ((1.0f - pre) / fn) / static_cast<float>(2 * t + 21);
        const float base = (fk + pre) / fn;
        const float d = std::max(S[3][0], S[4][0]);
        if (t <= 0) {
            const int result = run(kernel, base, 20.0f * step, before, afterMain);
            if (result < 0)
                return result;
        } else {
            int result = run(kernel, base, 20.0f * step, before, false);
            if (result < 0)
                return result;
            const float ft = static_cast<float>(t);
            const float F = ft * ((ft - 2.0f) / -18.0f + 1.7f);
            for (int r = 1; r <= t; ++r) {
                P->p[0][0] = d;
                P->p[1][0] = static_cast<float>(r) / F;
                std::memcpy(P->p[2], S[7], sizeof(P->p[2]));
                result = run(kSubSharpen, base + static_cast<float>(20 + 2 * (r - 1)) * step, step, false, false);
                if (result < 0)
                    return result;
                std::memcpy(P->p[2], S[7], sizeof(P->p[2]));
                result = run(kSubDeNoise, base + static_cast<float>(21 + 2 * (r - 1)) * step, step, false, false);
                if (result < 0)
                    return result;
            }
            std::memcpy(P->p[2], S[7], sizeof(P->p[2]));
            P->p[0][0] = d;
            P->p[1][0] = ft / F;
            result = run(kSubSharpen, base + static_cast<float>(2 * t + 21) * step, step, false, afterMain);
            if (result < 0)
                return result;
        }
    }

    // 11. black/white point
    const bool beforeAfterMain = mainNeeded ? KernelForcesCPU(kernel)
                                            : (op.iprecalcSmooth > 0 ? KernelForcesCPU(kLocalContrast) : lastCPU);
    if (op.bCalcBW) {
        ClearSets(P);
        MP_UI_GetMinMaxLuminance(buffer, &P->lummin, &P->lummax, static_cast<float>(w), static_cast<float>(h));
        const bool after = op.bCalcGradation ? KernelForcesCPU(kGradation) : nextCPU;
        const int result = CKernelRunner::Run(kBWPoint, static_cast<unsigned>(w), static_cast<unsigned>(h), image,
                                              image, 6, 6, P, -1, 0.0f, 0.0f, beforeAfterMain, after);
        if (result < 0)
            return result;
    }
    // 12. gradation
    if (op.bCalcGradation) {
        ClearSets(P);
        const float knots[12] = {0.0f, 0.0f, 0.2f, 0.15f, 0.4f, 0.4f, 0.6f, 0.6f, 0.8f, 0.8f, 1.0f, 1.0f};
        SetKnots(P->p[0], knots);
        SetBlend(P->p[1]);
        if (hasMasks)
            std::memcpy(P->p[2], S[g], sizeof(P->p[2]));
        const bool beforeGradation = op.bCalcBW ? KernelForcesCPU(kBWPoint) : beforeAfterMain;
        const int result = CKernelRunner::Run(kGradation, static_cast<unsigned>(w), static_cast<unsigned>(h), image,
                                              image, 6, 6, P, -1, 0.0f, 0.0f, beforeGradation, nextCPU);
        if (result < 0)
            return result;
    }
    return 0;
}

// ---- Film pass ------------------------------------------------------------------------------------

int CPostProcessing::ProcessFilmType(unsigned width, unsigned height, bool preview, unsigned short* buffer,
                                     QSize size)
{
    (void)preview;
    if (m_iFilmTyp < 1)
        return 0;
    // The row of the dock's table: taken by SetProcessData on the GUI thread;
    // read again when the chain's row changed since.
    if (m_iFilmRow != m_iFilmTyp && OnGuiThread())
        TakeFilmRow();
    if (!m_bFilmRowValid || m_iFilmRow != m_iFilmTyp)
        return 0;
    if (buffer == nullptr || size.width() <= 0 || size.height() <= 0)
        return -2;
    const float* R = m_pfFilmRow;
    const float I = m_fFilmTypIntensity;
    const float G = m_fFilmTypGraining;
    const float hI = 0.5f * (1.0f - I);

    MP_Params* P = static_cast<MP_Params*>(std::malloc(sizeof(MP_Params)));
    if (P == nullptr)
        return -1;
    FillKernelHeader(P, width, height, size.width(), size.height());
    float* image = reinterpret_cast<float*>(buffer);
    const unsigned w = static_cast<unsigned>(size.width());
    const unsigned h = static_cast<unsigned>(size.height());
    int result = 0;
    // Clears the sets, lets fill() set the kernel's, puts mode 0 / opacity 100
    // into the blend set and runs the pass.
    auto pass = [&](const char* kernel, int blendSet, auto fill) {
        if (result < 0)
            return;
        ClearSets(P);
        fill();
        SetBlend(P->p[blendSet]);
        result = CKernelRunner::Run(kernel, w, h, image, image, 6, 6, P, -1, 0.0f, 0.0f, true, true);
    };

    // 1. infrared
    const float e = I * R[16];
    if (e > 0.005f) {
        pass("MP_calcPixelHueExpose", 6, [&] {
            const float b = 0.5f * (1.0f - e);
            P->p[0][0] = b;
            P->p[1][0] = b + 0.4f * e;
            P->p[2][0] = b + e;
            P->p[3][0] = b + 0.1f * e;
            P->p[4][0] = b;
            P->p[5][0] = b;
        });
    }
    // 2. palette
    float c[8];
    bool palette = false;
    for (int k = 0; k < 8; ++k) {
        const float v = I * R[8 + k] + hI - 0.5f;
        const float sign = v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f);
        c[k] = 0.5f + sign * std::pow(std::fabs(v), 0.75f);
        if (std::fabs(c[k] - 0.5f) >= 0.001f)
            palette = true;
    }
    if (palette) {
        pass("MP_calcPixelColorPalette", 8, [&] {
            for (int k = 0; k < 8; ++k)
                P->p[k][0] = c[k];
        });
    }
    // 3. gradation
    const float A = I * R[0];
    if (std::fabs(A) >= 0.001f) {
        pass(kGradation, 1, [&] {
            const float knots[12] = {0.0f, 0.0f, 0.2f, 0.2f - A, 0.4f, 0.4f - 0.5f * A,
                                     0.6f, 0.6f + 0.5f * A, 0.8f, 0.8f + A, 1.0f, 1.0f};
            SetKnots(P->p[0], knots);
        });
    }
    // 4. brightness and contrast
    const float B = I * R[1] + hI;
    const float C = I * R[2] + hI;
    if (std::fabs(B - 0.5f) >= 0.001f || std::fabs(C - 0.5f) >= 0.001f) {
        pass("MP_calcPixelBasicTools", 4, [&] {
            P->p[0][0] = B;
            P->p[1][0] = C;
            P->p[2][0] = 0.5f;
            SetKnots(P->p[3], kFlatMask);
        });
    }
    // 5. softening or sharpening
    const float D = I * R[3];
    if (D <= -0.001f) {
        pass("MP_calcPixelDeNoiseAverage", 2, [&] {
            P->p[0][0] = -D;
            SetKnots(P->p[1], kFlatMask);
        });
    } else if (D >= 0.001f) {
        pass("MP_calcPixelSharpen", 2, [&] {
            P->p[0][0] = D;
            SetKnots(P->p[1], kFlatMask);
        });
    }
    // 6. colour intensity
    const float S = I * R[4] + hI;
    if (std::fabs(S - 0.5f) >= 0.001f) {
        pass("MP_calcPixelColorIntensity", 2, [&] {
            P->p[0][0] = S;
            SetKnots(P->p[1], kFlatMask);
        });
    }
    // 7. temperature
    const float T = I * R[5] + 0.36f * (1.0f - I);
    if (std::fabs(T - 0.36f) >= 0.001f) {
        pass("MP_calcPixelColorTemperature", 2, [&] {
            P->p[0][0] = T;
            SetKnots(P->p[1], kFlatMask);
        });
    }
    // 8. grain
    if (std::fabs(G) >= 0.001f) {
        pass("MP_calcPixelAddGrain", 3, [&] {
            P->p[0][0] = G;
            P->p[1][0] = R[7];
            const float knots[12] = {0.0f, 1.0f, 0.2f, 0.8f, 0.4f, 0.65f, 0.6f, 0.52f, 0.8f, 0.41f, 1.0f, 0.31f};
            SetKnots(P->p[2], knots);
        });
    }
    std::free(P);
    return result;
}

// ---- Chain settings file -----------------------------------------------------------------------------

namespace {

// Thousandths, truncated; held within the format's 0..4294967.295. NaN and
// negative values store 0.
uint32_t EncodeValue(float value)
{
    if (!(value > 0.0f))
        return 0u;
    const float scaled = value * 1000.0f;
    if (!(scaled < 4294967295.0f))
        return 4294967295u;
    return static_cast<uint32_t>(static_cast<int64_t>(scaled));
}

float DecodeValue(uint32_t stored) { return static_cast<float>(stored) * 0.001f; }

QString OperatorGroup(int i) { return QString::asprintf("Operator_%06i", i); }

} // namespace

bool CPostProcessing::ToSettings()
{
    QSettings settings(m_strSettingsPath, QSettings::IniFormat);
    settings.clear();
    settings.setValue("TimeStamp", m_uiTimeStamp);
    settings.setValue("DisplayName", m_strDisplayName);
    settings.setValue("Category", m_strCategory);
    settings.setValue("VersionMajor", 1);
    settings.setValue("VersionMinor", 14);
    settings.setValue("VersionBuild", 2132);
    settings.setValue("VersionFamily", 1);
    for (int i = 0; i < m_vecOperators.size(); ++i) {
        const SOperator& op = m_vecOperators[i];
        settings.beginGroup(OperatorGroup(i));
        settings.setValue("Kernel", op.kernel);
        settings.setValue("eType", op.eType);
        settings.setValue("bActive", op.bActive);
        settings.setValue("iprecalcSmooth", op.iprecalcSmooth);
        settings.setValue("bReadBWPoint", op.bReadBWPoint);
        settings.setValue("bCalcBW", op.bCalcBW);
        settings.setValue("bCalcGradation", op.bCalcGradation);
        for (int j = 0; j < op.parameters.size(); ++j) {
            const SParameter& parameter = op.parameters[j];
            settings.beginGroup(QStringLiteral("Parameter_%1").arg(j));
            settings.setValue("eType", parameter.eType);
            settings.beginWriteArray("pfValues", PP_PARAMETER_VALUES);
            for (int v = 0; v < PP_PARAMETER_VALUES; ++v) {
                if (parameter.pfValues[v] == 0.0f)
                    continue;
                settings.setArrayIndex(v);
                settings.setValue("uiValue", EncodeValue(parameter.pfValues[v]));
            }
            settings.endArray();
            settings.endGroup();
        }
        settings.endGroup();
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool CPostProcessing::ToSettings(const QString& path)
{
    const QString remembered = m_strSettingsPath;
    m_strSettingsPath = path;
    const bool written = ToSettings();
    m_strSettingsPath = remembered;
    return written;
}

namespace {

// Splits "group/rest" keys by their first component: group -> rests.
QHash<QString, QStringList> SplitByGroup(const QStringList& keys)
{
    QHash<QString, QStringList> groups;
    for (const QString& key : keys) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        if (slash > 0)
            groups[key.left(slash)].append(key.mid(slash + 1));
    }
    return groups;
}

QStringList SortedGroupNames(const QHash<QString, QStringList>& groups)
{
    QStringList names = groups.keys();
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

void CPostProcessing::FromSettings()
{
    QSettings settings(m_strSettingsPath, QSettings::IniFormat);
    if (!m_bAppendOnLoad) {
        m_vecOperators.clear();
        m_uiTimeStamp = static_cast<uint32_t>(settings.value("TimeStamp").toInt());
        m_strDisplayName = settings.value("DisplayName").toString();
        m_strCategory = settings.value("Category").toString();
    }
    // One pass over the keys that are present (no probing of absent ones).
    const QHash<QString, QStringList> operatorKeys = SplitByGroup(settings.allKeys());
    const QStringList groups = SortedGroupNames(operatorKeys);
    const QString uiValue = QStringLiteral("/uiValue");
    const QString pfValues = QStringLiteral("pfValues/");
    for (int i = 0; i < groups.size() && groups[i] == OperatorGroup(i); ++i) {
        const QString g = groups[i] + QLatin1Char('/');
        SOperator op;
        op.kernel = settings.value(g + QStringLiteral("Kernel")).toString();
        op.id = PP_OperatorId(op.kernel);
        op.eType = settings.value(g + QStringLiteral("eType")).toInt();
        op.bActive = settings.value(g + QStringLiteral("bActive")).toBool();
        op.iprecalcSmooth = settings.value(g + QStringLiteral("iprecalcSmooth")).toInt();
        op.bReadBWPoint = settings.value(g + QStringLiteral("bReadBWPoint")).toBool();
        op.bCalcBW = settings.value(g + QStringLiteral("bCalcBW")).toBool();
        op.bCalcGradation = settings.value(g + QStringLiteral("bCalcGradation")).toBool();
        const QHash<QString, QStringList> parameterKeys = SplitByGroup(operatorKeys.value(groups[i]));
        const QStringList parameters = SortedGroupNames(parameterKeys);
        for (int j = 0; j < parameters.size() && j < PP_MAX_PARAMETERS &&
                        parameters[j] == QStringLiteral("Parameter_%1").arg(j);
             ++j) {
            const QString pg = g + parameters[j] + QLatin1Char('/');
            SParameter parameter;
            parameter.eType = settings.value(pg + QStringLiteral("eType")).toInt();
            // Only the elements present are read; a stored size above 256
            // reads 256 values.
            const int n = std::min(settings.value(pg + QStringLiteral("pfValues/size")).toInt(), PP_PARAMETER_VALUES);
            for (const QString& key : parameterKeys.value(parameters[j])) {
                if (!key.startsWith(pfValues) || !key.endsWith(uiValue))
                    continue;
                bool ok = false;
                const int number =
                    QStringView(key).mid(pfValues.size(), key.size() - pfValues.size() - uiValue.size()).toInt(&ok);
                if (!ok || number < 1 || number > n)
                    continue;
                bool valid = false;
                const uint32_t stored = settings.value(pg + key).toUInt(&valid);
                parameter.pfValues[number - 1] = valid ? DecodeValue(stored) : 0.0f;
            }
            op.parameters.append(parameter);
        }
        m_vecOperators.append(op);
    }
}

void CPostProcessing::FromSettings(const QString& path)
{
    const QString remembered = m_strSettingsPath;
    m_strSettingsPath = path;
    m_bAppendOnLoad = true;
    FromSettings();
    m_bAppendOnLoad = false;
    m_strSettingsPath = remembered;
}
