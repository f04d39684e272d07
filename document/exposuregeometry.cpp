// Exposure pixmaps, histograms and geometry: renders through the shared
// render buffer, sizes, and the in-place mirror, flip, quarter rotations,
// crop and preview recalculation of one exposure.

#include "document/exposure.h"

#include "document/documentseams.h"
#include "engine/MP_calc.h"

#include <QCoreApplication>
#include <QImage>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- Sizes ---------------------------------------------------------------------

bool IExposure::GetScaledSize(int& w, int& h, unsigned int sw, unsigned int sh)
{
    const int SW = int(sw), SH = int(sh);
    if (w <= 0) {
        const bool asked = h > 0;
        w = SW;
        h = SH;
        return asked;
    }
    if (w > SW || h <= 0 || h > SH) {
        w = SW;
        h = SH;
        return true;
    }
    if (float(w) / float(h) >= float(SW) / float(SH))
        w = int(float(SW) * (float(h) / float(SH)));
    else
        h = int(float(SH) * (float(w) / float(SW)));
    return true;
}

bool IExposure::GetScaledSize(int& w, int& h) const
{
    return GetScaledSize(w, h, GetWorkingWidth(), GetWorkingHeight());
}

// ---- Renders ------------------------------------------------------------------------

namespace {

bool gammaSwitch()
{
    return CDocumentSettings::HDRGammaDisplay() && MP_UI_GetDisplayGammaHDRMode() != 0;
}

bool onGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

template <typename Draw>
QPixmap IExposure::Render(unsigned int dw, unsigned int dh, bool sampleBorder, bool resetBackground, Draw&& draw)
{
    if (dw == 0 || dh == 0)
        return QPixmap();
    // The render buffer stays locked until the pixels are out: the GUI thread
    // converts under the lock; another thread takes a copy and hands it off
    // unlocked (the hand-off waits for the GUI thread).
    QMutexLocker lock(&sm_RenderMutex);
    if (!EnsureRenderBuffer(size_t(dw) * dh * 4))
        return QPixmap();
    uint32_t* argb = reinterpret_cast<uint32_t*>(sm_pbRGBA);
    if (!draw(argb))
        return QPixmap();
    if (sampleBorder)
        MP_UI_GetBorderColorFromBuffer(int(dw), int(dh), argb, &sm_pbBackgroundColor[0], &sm_pbBackgroundColor[1],
                                       &sm_pbBackgroundColor[2]);
    if (resetBackground)
        sm_pbBackgroundColor[0] = sm_pbBackgroundColor[1] = sm_pbBackgroundColor[2] = 46;
    const QImage wrapped(sm_pbRGBA, int(dw), int(dh), int(dw) * 4, QImage::Format_ARGB32);
    if (onGuiThread())
        return CPixmapHandOff::ToPixmap(wrapped);
    const QImage copy = wrapped.copy();
    lock.unlock();
    if (copy.isNull())
        return QPixmap();
    return CPixmapHandOff::ToPixmap(copy);
}

namespace {

// The colour render of a whole buffer at a display size, bounded.
template <typename RenderFn>
QPixmap colourRender(RenderFn&& render, const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                     unsigned int dh, bool sampleBorder)
{
    if (!buffer || w == 0 || h == 0)
        return QPixmap();
    unsigned int bw = 0, bh = 0;
    MP_UI_CalcImageSize(int(dw), int(dh), &bw, &bh);
    const int gamma = gammaSwitch() ? 1 : 0;
    return render(bw, bh, sampleBorder, false, [&](uint32_t* argb) {
        MP_UI_previewColor(buffer, argb, gamma, float(bw), float(bh), float(bw), float(w), float(h), 0.0f, 0.0f,
                           float(w), float(h));
        return true;
    });
}

} // namespace

QPixmap IExposure::CreatePixmap(const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                                unsigned int dh)
{
    auto render = [](unsigned a, unsigned b, bool s, bool r, auto&& d) { return Render(a, b, s, r, d); };
    return colourRender(render, buffer, w, h, dw, dh, false);
}

QPixmap IExposure::CreatePixmap(int w, int h) const
{
    const bool asked = GetScaledSize(w, h);
    auto render = [](unsigned a, unsigned b, bool s, bool r, auto&& d) { return Render(a, b, s, r, d); };
    if (w <= 499 || h <= 499)
        return colourRender(render, m_pusPreviewBuffer, m_uiPreviewWidth, m_uiPreviewHeight, unsigned(w), unsigned(h),
                            !asked);
    return colourRender(render, GetWorkingBuffer(), GetWorkingWidth(), GetWorkingHeight(), unsigned(w), unsigned(h),
                        !asked);
}

QPixmap CExposure::CreatePixmapFromWeightmap(int w, int h) const
{
    const bool asked = GetScaledSize(w, h);
    const bool preview = CDocumentSettings::PreviewMode();
    const unsigned short* a = preview ? m_pusAWeightPreviewBuffer : m_pusAWeightBuffer;
    const short* m = preview ? m_psMWeightPreviewBuffer : m_psMWeightBuffer;
    const unsigned sw = preview ? m_uiPreviewWidth : m_uiWidth;
    const unsigned sh = preview ? m_uiPreviewHeight : m_uiHeight;
    if (!a || !m)
        return QPixmap();
    int bw = 0, bh = 0;
    MP_UI_CalcImageSizeSigned(w, h, &bw, &bh);
    if (bw <= 0 || bh <= 0)
        return QPixmap();
    return Render(unsigned(bw), unsigned(bh), !asked, false, [&](uint32_t* argb) {
        MP_UI_previewWeightmap(a, m, argb, float(bw), float(bh), float(bw), float(sw), float(sh), 0.0f, 0.0f,
                               float(sw), float(sh));
        return true;
    });
}

QPixmap IExposure::CreatePixmapWeighted(const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                                        unsigned int dh, float value, CExposure* e1, CExposure* e2, CExposure* e3)
{
    if (!buffer || w == 0 || h == 0)
        return QPixmap();
    const bool preview = CDocumentSettings::PreviewMode();
    auto autoMap = [&](CExposure* e) -> const uint16_t* {
        return e ? (preview ? e->m_pusAWeightPreviewBuffer : e->m_pusAWeightBuffer) : nullptr;
    };
    auto manualMap = [&](CExposure* e) -> const int16_t* {
        return e ? (preview ? e->m_psMWeightPreviewBuffer : e->m_psMWeightBuffer) : nullptr;
    };
    unsigned int bw = 0, bh = 0;
    MP_UI_CalcImageSize(int(dw), int(dh), &bw, &bh);
    const int gamma = gammaSwitch() ? 1 : 0;
    return Render(bw, bh, false, false, [&](uint32_t* argb) {
        MP_UI_previewWeightmapFusion(float(bw), float(bh), float(bw), float(w), float(h), buffer, 0.0f, 0.0f, float(w),
                                     float(h), value, autoMap(e1), autoMap(e2), autoMap(e3), manualMap(e1),
                                     manualMap(e2), manualMap(e3), argb, gamma);
        return true;
    });
}

QPixmap IExposure::CreatePixmapWeighted(int w, int h, float value, CExposure* e1, CExposure* e2, CExposure* e3) const
{
    GetScaledSize(w, h);
    QPixmap pixmap = (w <= 499 || h <= 499)
                         ? CreatePixmapWeighted(m_pusPreviewBuffer, m_uiPreviewWidth, m_uiPreviewHeight, unsigned(w),
                                                unsigned(h), value, e1, e2, e3)
                         : CreatePixmapWeighted(GetWorkingBuffer(), GetWorkingWidth(), GetWorkingHeight(),
                                                unsigned(w), unsigned(h), value, e1, e2, e3);
    QMutexLocker lock(&sm_RenderMutex);
    sm_pbBackgroundColor[0] = sm_pbBackgroundColor[1] = sm_pbBackgroundColor[2] = 46;
    return pixmap;
}

QPixmap IExposure::CreateHistogram(const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                                   unsigned int dh, bool s1, bool s2, bool s3, bool s4, bool s5)
{
    if (!buffer || w == 0 || h == 0)
        return QPixmap();
    unsigned int bw = 0, bh = 0;
    MP_UI_CalcImageSize(int(std::min(w, dw)), int(std::min(h, dh)), &bw, &bh);
    return Render(bw, bh, false, true, [&](uint32_t* argb) {
        MP_UI_SetTime();
        const int result = MP_UI_calcHistogram(buffer, argb, int(bw), int(w), int(h), int(bw), int(bh), s1, s2, s3,
                                               s4, s5);
        std::printf("%11.4f ms MP_UI_calcHistogram\n", MP_UI_GetTimeDifference());
        return result == 0;
    });
}

QPixmap IExposure::CreateHistogram(int w, int h, bool s1, bool s2, bool s3, bool s4, bool s5) const
{
    if (w < 0 && h < 0)
        GetScaledSize(w, h);
    if (w >= 500 && h >= 500)
        return CreateHistogram(GetWorkingBuffer(), GetWorkingWidth(), GetWorkingHeight(), unsigned(w), unsigned(h), s1,
                               s2, s3, s4, s5);
    return CreateHistogram(m_pusPreviewBuffer, m_uiPreviewWidth, m_uiPreviewHeight, unsigned(std::max(w, 0)),
                           unsigned(std::max(h, 0)), s1, s2, s3, s4, s5);
}

// ---- Geometry -----------------------------------------------------------------------

namespace {

enum class EGeometry { Mirror, Flip, RotateRight, RotateLeft };

// Transforms one grid of W x H pixels of C values each through the scratch
// block. Rotations go tile by tile so both sides stay in cache.
template <typename T, int C>
void transformGrid(T* buffer, unsigned W, unsigned H, EGeometry op, void* scratch)
{
    if (!buffer || W == 0 || H == 0)
        return;
    const size_t rowValues = size_t(W) * C;
    T* src = static_cast<T*>(scratch);
    std::memcpy(src, buffer, size_t(W) * H * C * sizeof(T));
    switch (op) {
    case EGeometry::Mirror:
        for (unsigned y = 0; y < H; ++y) {
            const T* s = src + y * rowValues;
            T* d = buffer + y * rowValues;
            for (unsigned x = 0; x < W; ++x)
                for (int c = 0; c < C; ++c)
                    d[size_t(x) * C + c] = s[size_t(W - 1 - x) * C + c];
        }
        break;
    case EGeometry::Flip:
        for (unsigned y = 0; y < H; ++y)
            std::memcpy(buffer + y * rowValues, src + size_t(H - 1 - y) * rowValues, rowValues * sizeof(T));
        break;
    case EGeometry::RotateRight:
    case EGeometry::RotateLeft: {
        // New grid: H wide, W high.
        const bool right = op == EGeometry::RotateRight;
        constexpr unsigned kTile = 64;
        for (unsigned ty = 0; ty < W; ty += kTile) {
            const unsigned yEnd = std::min(W, ty + kTile);
            for (unsigned tx = 0; tx < H; tx += kTile) {
                const unsigned xEnd = std::min(H, tx + kTile);
                for (unsigned y = ty; y < yEnd; ++y) {
                    T* d = buffer + size_t(y) * H * C;
                    for (unsigned x = tx; x < xEnd; ++x) {
                        // Right: source (y, H - 1 - x); left: (W - 1 - y, x).
                        const size_t sx = right ? y : W - 1 - y;
                        const size_t sy = right ? H - 1 - x : x;
                        const T* s = src + (sy * W + sx) * C;
                        for (int c = 0; c < C; ++c)
                            d[size_t(x) * C + c] = s[c];
                    }
                }
            }
        }
        break;
    }
    }
}

} // namespace

static int applyGeometry(CExposure& e, EGeometry op)
{
    const size_t bytes = e.PixelCount() * 6;
    void* scratch = std::malloc(bytes ? bytes : 6);
    if (!scratch)
        return -1;
    transformGrid<unsigned short, 3>(e.m_pusBuffer, e.m_uiWidth, e.m_uiHeight, op, scratch);
    transformGrid<short, 1>(e.m_psMWeightBuffer, e.m_uiWidth, e.m_uiHeight, op, scratch);
    if (e.PreviewPixelCount() <= e.PixelCount()) {
        transformGrid<unsigned short, 3>(e.m_pusPreviewBuffer, e.m_uiPreviewWidth, e.m_uiPreviewHeight, op, scratch);
        transformGrid<short, 1>(e.m_psMWeightPreviewBuffer, e.m_uiPreviewWidth, e.m_uiPreviewHeight, op, scratch);
    }
    std::free(scratch);
    if (op == EGeometry::RotateRight || op == EGeometry::RotateLeft) {
        std::swap(e.m_uiWidth, e.m_uiHeight);
        std::swap(e.m_uiPreviewWidth, e.m_uiPreviewHeight);
    }
    return 0;
}

int CExposure::Mirror()
{
    return applyGeometry(*this, EGeometry::Mirror);
}

int CExposure::Flip()
{
    return applyGeometry(*this, EGeometry::Flip);
}

int CExposure::RotateRight()
{
    return applyGeometry(*this, EGeometry::RotateRight);
}

int CExposure::RotateLeft()
{
    return applyGeometry(*this, EGeometry::RotateLeft);
}

int CExposure::Resize(int x0, int y0, int x1, int y1)
{
    if (x0 < 0 || y0 < 0 || x1 <= x0 || y1 <= y0 || unsigned(x1) > m_uiWidth || unsigned(y1) > m_uiHeight ||
        !m_pusBuffer)
        return -2;
    const unsigned nw = unsigned(x1 - x0), nh = unsigned(y1 - y0);
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolution(&pw, &ph, nullptr, float(nw), float(nh), MP_UI_GetPreviewSize());
    const unsigned npw = unsigned(pw), nph = unsigned(ph);
    const size_t newPreview = size_t(npw) * nph;

    // Allocate before anything changes.
    unsigned short* image = nullptr;
    unsigned short* autoMap = nullptr;
    short* manual = nullptr;
    const bool grow = newPreview > PreviewPixelCount();
    if (grow) {
        image = static_cast<unsigned short*>(std::malloc(newPreview * 6));
        autoMap = static_cast<unsigned short*>(std::malloc(newPreview * 2));
        manual = static_cast<short*>(std::malloc(newPreview * 2));
        if (!image || !autoMap || !manual) {
            std::free(image);
            std::free(autoMap);
            std::free(manual);
            return -1;
        }
    }

    for (unsigned y = 0; y < nh; ++y) {
        std::memmove(m_pusBuffer + size_t(y) * nw * 3, m_pusBuffer + (size_t(y0 + y) * m_uiWidth + x0) * 3,
                     size_t(nw) * 6);
        if (m_psMWeightBuffer)
            std::memmove(m_psMWeightBuffer + size_t(y) * nw, m_psMWeightBuffer + size_t(y0 + y) * m_uiWidth + x0,
                         size_t(nw) * 2);
    }
    m_uiWidth = nw;
    m_uiHeight = nh;
    m_uiPreviewWidth = npw;
    m_uiPreviewHeight = nph;
    if (grow) {
        std::free(m_pusPreviewBuffer);
        std::free(m_pusAWeightPreviewBuffer);
        std::free(m_psMWeightPreviewBuffer);
        m_pusPreviewBuffer = image;
        m_pusAWeightPreviewBuffer = autoMap;
        m_psMWeightPreviewBuffer = manual;
    }
    if (m_psMWeightPreviewBuffer)
        std::memset(m_psMWeightPreviewBuffer, 0, newPreview * 2);
    return 0;
}

int CExposure::RecalcPreview()
{
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolution(&pw, &ph, nullptr, float(m_uiWidth), float(m_uiHeight), MP_UI_GetPreviewSize());
    const size_t n = size_t(unsigned(pw)) * unsigned(ph);
    unsigned short* image = static_cast<unsigned short*>(std::malloc(n ? n * 6 : 6));
    unsigned short* autoMap = static_cast<unsigned short*>(std::malloc(n ? n * 2 : 2));
    short* manual = static_cast<short*>(std::calloc(n ? n : 1, 2));
    if (!image || !autoMap || !manual) {
        std::free(image);
        std::free(autoMap);
        std::free(manual);
        SendOutOfMemMessage();
        return -1;
    }
    std::free(m_pusPreviewBuffer);
    std::free(m_pusAWeightPreviewBuffer);
    std::free(m_psMWeightPreviewBuffer);
    m_pusPreviewBuffer = image;
    m_pusAWeightPreviewBuffer = autoMap;
    m_psMWeightPreviewBuffer = manual;
    m_uiPreviewWidth = unsigned(pw);
    m_uiPreviewHeight = unsigned(ph);
    return 0;
}
