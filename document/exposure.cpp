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


template <typename T> void release(T*& p)
{
    std::free(p);
    p = nullptr;
}


} // namespace

void IExposure::NoteFresh(const void* block)
{
    if (m_iFresh < kFreshSlots)
        m_pFresh[m_iFresh++] = block;
}

void IExposure::ClearBlock(void* block, size_t bytes)
{
    if (!block || !bytes)
        return;
    for (int i = 0; i < m_iFresh; ++i)
        if (m_pFresh[i] == block)
            return; // fresh from calloc: already zero
    std::memset(block, 0, bytes);
}

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
    bool ok = Allocate(m_pusBuffer, PixelCount() * 3) && Allocate(m_pusPreviewBuffer, PreviewPixelCount() * 3);
    if (!ok) {
        SendOutOfMemMessage();
    } else {
        QMutexLocker lock(&sm_RenderMutex);
        ok = sm_pbRGBA || EnsureRenderBuffer(PixelCount() * 4);
    }
    if (ok)
        ClearBuffer();
    ForgetFresh();
    return ok;
}

void IExposure::ClearBuffer()
{
    ClearBlock(m_pusBuffer, PixelCount() * 6);
    ClearBlock(m_pusPreviewBuffer, PreviewPixelCount() * 6);
}

void IExposure::SendOutOfMemMessage()
{
    CDocumentProgress::AddMessage(
        0, QCoreApplication::translate("IExposure", "Es steht nicht genügend Arbeitsspeicher zur Verfügung."), 2);
}

// Replaces the render buffer by a block of bytes (lock held); the old one is
// kept when the allocation fails.
static bool replaceRenderBuffer(size_t bytes)
{
    unsigned char* fresh = static_cast<unsigned char*>(std::malloc(bytes ? bytes : 4));
    if (!fresh) {
        IExposure::SendOutOfMemMessage();
        return false;
    }
    std::free(IExposure::sm_pbRGBA);
    IExposure::sm_pbRGBA = fresh;
    IExposure::sm_stRGBABytes = bytes;
    return true;
}

bool IExposure::EnsureRenderBuffer(size_t bytes)
{
    return (sm_pbRGBA && sm_stRGBABytes >= bytes) || replaceRenderBuffer(bytes);
}

bool IExposure::ReallocRenderBuffer(size_t bytes)
{
    QMutexLocker lock(&sm_RenderMutex);
    return replaceRenderBuffer(bytes);
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

bool CExposure::CreateMaps(bool full, bool preview)
{
    release(m_pusAWeightBuffer);
    release(m_pusAWeightPreviewBuffer);
    bool ok = true;
    if (full) {
        ok = Allocate(m_pusAWeightBuffer, PixelCount()); // always a new block
        if (ok && !m_psMWeightBuffer)
            ok = Allocate(m_psMWeightBuffer, PixelCount());
    }
    if (ok && preview) {
        ok = Allocate(m_pusAWeightPreviewBuffer, PreviewPixelCount());
        if (ok && !m_psMWeightPreviewBuffer)
            ok = Allocate(m_psMWeightPreviewBuffer, PreviewPixelCount());
    }
    if (!ok) {
        ForgetFresh();
        SendOutOfMemMessage();
    }
    return ok;
}

bool CExposure::CreateBuffer()
{
    return CreateMaps(true, true) && IExposure::CreateBuffer();
}

void CExposure::ClearBuffer()
{
    ClearBlock(m_pusAWeightBuffer, PixelCount() * 2);
    if (!m_bMWeightInitialized)
        ClearBlock(m_psMWeightBuffer, PixelCount() * 2);
    ClearBlock(m_pusAWeightPreviewBuffer, PreviewPixelCount() * 2);
    if (!m_bMWeightInitialized)
        ClearBlock(m_psMWeightPreviewBuffer, PreviewPixelCount() * 2);
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
    const bool preview = CDocumentSettings::PreviewMode();
    return CreateMaps(!preview, preview) && IExposure::CreateBuffer();
}

void CExposureBatch::ClearBuffer()
{
    if (CDocumentSettings::PreviewMode()) {
        ClearBlock(m_pusAWeightPreviewBuffer, PreviewPixelCount() * 2);
        ClearBlock(m_psMWeightPreviewBuffer, PreviewPixelCount() * 2);
    } else {
        ClearBlock(m_pusAWeightBuffer, PixelCount() * 2);
        ClearBlock(m_psMWeightBuffer, PixelCount() * 2);
    }
    IExposure::ClearBuffer();
}
