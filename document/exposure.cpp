// Exposure records: construction, buffers, the out-of-memory notice and the
// camera-data setters.

#include "document/exposure.h"

#include "document/documentseams.h"

#include <QCoreApplication>

#include <cstdlib>
#include <cstring>

unsigned int IExposure::m_uiInstances = 0;
unsigned char* IExposure::sm_pbRGBA = nullptr;
size_t IExposure::sm_stRGBABytes = 0;
QMutex IExposure::sm_RenderMutex;
unsigned char IExposure::sm_pbBackgroundColor[3] = {46, 46, 46};

namespace {

template <typename T> bool allocate(T*& p, size_t count)
{
    p = static_cast<T*>(std::malloc(count ? count * sizeof(T) : sizeof(T)));
    return p != nullptr;
}

template <typename T> void release(T*& p)
{
    std::free(p);
    p = nullptr;
}

template <typename T> void zero(T* p, size_t count)
{
    if (p && count)
        std::memset(p, 0, count * sizeof(T));
}

} // namespace

IExposure::IExposure()
    : m_uiWidth(0xFFFFFFFFu), m_uiHeight(0xFFFFFFFFu), m_pusBuffer(nullptr), m_uiPreviewWidth(0xFFFFFFFFu),
      m_uiPreviewHeight(0xFFFFFFFFu), m_pusPreviewBuffer(nullptr)
{
    QMutexLocker lock(&sm_RenderMutex);
    ++m_uiInstances;
}

IExposure::~IExposure()
{
    release(m_pusBuffer);
    release(m_pusPreviewBuffer);
    QMutexLocker lock(&sm_RenderMutex);
    if (m_uiInstances > 0)
        --m_uiInstances;
    if (m_uiInstances == 0) {
        release(sm_pbRGBA);
        sm_stRGBABytes = 0;
    }
}

bool IExposure::CreateBuffer()
{
    release(m_pusBuffer);
    release(m_pusPreviewBuffer);
    if (!allocate(m_pusBuffer, PixelCount() * 3) || !allocate(m_pusPreviewBuffer, PreviewPixelCount() * 3)) {
        SendOutOfMemMessage();
        return false;
    }
    {
        QMutexLocker lock(&sm_RenderMutex);
        if (!sm_pbRGBA && !EnsureRenderBuffer(PixelCount() * 4))
            return false;
    }
    ClearBuffer();
    return true;
}

void IExposure::ClearBuffer()
{
    zero(m_pusBuffer, PixelCount() * 3);
    zero(m_pusPreviewBuffer, PreviewPixelCount() * 3);
}

void IExposure::SendOutOfMemMessage()
{
    CDocumentProgress::AddMessage(
        0, QCoreApplication::translate("IExposure", "Es steht nicht genügend Arbeitsspeicher zur Verfügung."), 2);
}

bool IExposure::EnsureRenderBuffer(size_t bytes)
{
    if (sm_pbRGBA && sm_stRGBABytes >= bytes)
        return true;
    unsigned char* grown = static_cast<unsigned char*>(std::malloc(bytes ? bytes : 4));
    if (!grown) {
        SendOutOfMemMessage();
        return false;
    }
    std::free(sm_pbRGBA);
    sm_pbRGBA = grown;
    sm_stRGBABytes = bytes;
    return true;
}

bool IExposure::ReallocRenderBuffer(size_t bytes)
{
    QMutexLocker lock(&sm_RenderMutex);
    unsigned char* fresh = static_cast<unsigned char*>(std::malloc(bytes ? bytes : 4));
    if (!fresh) {
        SendOutOfMemMessage();
        return false;
    }
    std::free(sm_pbRGBA);
    sm_pbRGBA = fresh;
    sm_stRGBABytes = bytes;
    return true;
}

unsigned short* IExposure::GetWorkingBuffer() const
{
    return CDocumentSettings::PreviewMode() ? m_pusPreviewBuffer : m_pusBuffer;
}

unsigned int IExposure::GetWorkingWidth() const
{
    return CDocumentSettings::PreviewMode() ? m_uiPreviewWidth : m_uiWidth;
}

unsigned int IExposure::GetWorkingHeight() const
{
    return CDocumentSettings::PreviewMode() ? m_uiPreviewHeight : m_uiHeight;
}

// ---- CExposure ----------------------------------------------------------------

CExposure::CExposure()
    : m_bExifLoaded(false), m_fAvgLuminance(0.0f), m_fGlobalWeight(0.5f), m_iDateTime(-1), m_iISOSpeedRatings(-1),
      m_fExposureTime(0.0f), m_pusAWeightBuffer(nullptr), m_psMWeightBuffer(nullptr),
      m_pusAWeightPreviewBuffer(nullptr), m_psMWeightPreviewBuffer(nullptr), m_bMWeightInitialized(false),
      m_bMaster(false), m_bActive(true), m_bSynthetic(false), m_fExposureValue(0.5f), m_bSyntheticPreviewMode(false)
{
}

CExposure::~CExposure()
{
    release(m_pusAWeightBuffer);
    release(m_psMWeightBuffer);
    release(m_pusAWeightPreviewBuffer);
    release(m_psMWeightPreviewBuffer);
}

bool CExposure::CreateBuffer()
{
    release(m_pusAWeightBuffer);
    release(m_pusAWeightPreviewBuffer);
    bool ok = allocate(m_pusAWeightBuffer, PixelCount());
    if (ok && !m_psMWeightBuffer)
        ok = allocate(m_psMWeightBuffer, PixelCount());
    if (ok)
        ok = allocate(m_pusAWeightPreviewBuffer, PreviewPixelCount());
    if (ok && !m_psMWeightPreviewBuffer)
        ok = allocate(m_psMWeightPreviewBuffer, PreviewPixelCount());
    if (!ok) {
        SendOutOfMemMessage();
        return false;
    }
    return IExposure::CreateBuffer();
}

void CExposure::ClearBuffer()
{
    zero(m_pusAWeightBuffer, PixelCount());
    if (!m_bMWeightInitialized)
        zero(m_psMWeightBuffer, PixelCount());
    zero(m_pusAWeightPreviewBuffer, PreviewPixelCount());
    if (!m_bMWeightInitialized)
        zero(m_psMWeightPreviewBuffer, PreviewPixelCount());
    m_bMWeightInitialized = true;
    IExposure::ClearBuffer();
}

void CExposure::FreeImageAndAutomaticMaps()
{
    release(m_pusBuffer);
    release(m_pusPreviewBuffer);
    release(m_pusAWeightBuffer);
    release(m_pusAWeightPreviewBuffer);
}

void CExposure::SetGPSData(const QString& latRef, const QString& lonRef, const QString& lat, const QString& lon)
{
    if (!latRef.isEmpty())
        m_strGPSLatitudeRef = latRef;
    if (!lonRef.isEmpty())
        m_strGPSLongitudeRef = lonRef;
    if (!lat.isEmpty())
        m_strGPSLatitude = lat;
    if (!lon.isEmpty())
        m_strGPSLongitude = lon;
}

void CExposure::PostMessage(unsigned int category, const QString& text, unsigned int type) const
{
    CDocumentProgress::AddMessage(category, m_strFileName + ": " + text, type);
}

// ---- CExposureBatch -------------------------------------------------------------

bool CExposureBatch::CreateBuffer()
{
    bool ok;
    release(m_pusAWeightBuffer);
    release(m_pusAWeightPreviewBuffer);
    if (CDocumentSettings::PreviewMode()) {
        ok = allocate(m_pusAWeightPreviewBuffer, PreviewPixelCount());
        if (ok && !m_psMWeightPreviewBuffer)
            ok = allocate(m_psMWeightPreviewBuffer, PreviewPixelCount());
    } else {
        ok = allocate(m_pusAWeightBuffer, PixelCount());
        if (ok && !m_psMWeightBuffer)
            ok = allocate(m_psMWeightBuffer, PixelCount());
    }
    if (!ok) {
        SendOutOfMemMessage();
        return false;
    }
    return IExposure::CreateBuffer();
}

void CExposureBatch::ClearBuffer()
{
    if (CDocumentSettings::PreviewMode()) {
        zero(m_pusAWeightPreviewBuffer, PreviewPixelCount());
        zero(m_psMWeightPreviewBuffer, PreviewPixelCount());
    } else {
        zero(m_pusAWeightBuffer, PixelCount());
        zero(m_psMWeightBuffer, PixelCount());
    }
    IExposure::ClearBuffer();
}
