// Exposure pixmaps, histograms and geometry: renders through the shared
// render buffer, sizes, and the in-place mirror, flip, quarter rotations,
// crop and preview recalculation of one exposure.

#include "document/exposure.h"

#include "document/documentseams.h"
#include "engine/MP_calc.h"
#include "engine/core/rgb48avx2.h"

#include <QCoreApplication>
#include <QImage>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Mirror in place: each row reversed pixel by pixel.
template <typename T, int C> void mirrorInPlace(T* buffer, unsigned W, unsigned H)
{
    if (!buffer)
        return;
    for (unsigned y = 0; y < H; ++y) {
        T* row = buffer + size_t(y) * W * C;
        for (unsigned a = 0, b = W - 1; a < b; ++a, --b)
            for (int c = 0; c < C; ++c)
                std::swap(row[size_t(a) * C + c], row[size_t(b) * C + c]);
    }
}

// Flip in place: rows swapped top with bottom through a one-row block.
template <typename T, int C> void flipInPlace(T* buffer, unsigned W, unsigned H, T* rowScratch)
{
    if (!buffer)
        return;
    const size_t bytes = size_t(W) * C * sizeof(T);
    for (unsigned a = 0, b = H - 1; a < b; ++a, --b) {
        T* ra = buffer + size_t(a) * W * C;
        T* rb = buffer + size_t(b) * W * C;
        std::memcpy(rowScratch, ra, bytes);
        std::memcpy(ra, rb, bytes);
        std::memcpy(rb, rowScratch, bytes);
    }
}

// Quarter rotation of a W x H grid into dst (H wide, W high), tile by tile
// so both sides stay in cache. Right (clockwise): (x', y') takes
// (y', H - 1 - x'); left: (W - 1 - y', x').
template <typename T, int C> void rotateTiles(const T* src, T* dst, unsigned W, unsigned H, bool right)
{
    constexpr unsigned kTile = 64;
    for (unsigned ty = 0; ty < W; ty += kTile) {
        const unsigned yEnd = std::min(W, ty + kTile);
        for (unsigned tx = 0; tx < H; tx += kTile) {
            const unsigned xEnd = std::min(H, tx + kTile);
            for (unsigned y = ty; y < yEnd; ++y) {
                T* d = dst + size_t(y) * H * C;
                if (right) {
                    for (unsigned x = tx; x < xEnd; ++x) {
                        const T* s = src + (size_t(H - 1 - x) * W + y) * C;
                        for (int c = 0; c < C; ++c)
                            d[size_t(x) * C + c] = s[c];
                    }
                } else {
                    for (unsigned x = tx; x < xEnd; ++x) {
                        const T* s = src + (size_t(x) * W + (W - 1 - y)) * C;
                        for (int c = 0; c < C; ++c)
                            d[size_t(x) * C + c] = s[c];
                    }
                }
            }
        }
    }
}

template <typename T, int C> void rotateInto(const T* src, T* dst, unsigned W, unsigned H, bool right)
{
    rotateTiles<T, C>(src, dst, W, H, right);
}

#ifdef __SSE2__
// Transposes the 8 x 8 block of 16-bit values in r (row i in r[i]).
inline void transpose8x8(__m128i (&r)[8])
{
    const __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a1 = _mm_unpackhi_epi16(r[0], r[1]);
    const __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]), a3 = _mm_unpackhi_epi16(r[2], r[3]);
    const __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a5 = _mm_unpackhi_epi16(r[4], r[5]);
    const __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]), a7 = _mm_unpackhi_epi16(r[6], r[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    r[0] = _mm_unpacklo_epi64(b0, b4);
    r[1] = _mm_unpackhi_epi64(b0, b4);
    r[2] = _mm_unpacklo_epi64(b1, b5);
    r[3] = _mm_unpackhi_epi64(b1, b5);
    r[4] = _mm_unpacklo_epi64(b2, b6);
    r[5] = _mm_unpackhi_epi64(b2, b6);
    r[6] = _mm_unpacklo_epi64(b3, b7);
    r[7] = _mm_unpackhi_epi64(b3, b7);
}

// A 16-bit map rotated in 8 x 8 blocks through registers; the edges that do
// not fill a block go value by value.
template <> void rotateInto<short, 1>(const short* src, short* dst, unsigned W, unsigned H, bool right)
{
    const unsigned W8 = W & ~7u, H8 = H & ~7u;
    for (unsigned by = 0; by < W8; by += 8) {
        for (unsigned bx = 0; bx < H8; bx += 8) {
            __m128i r[8];
            // Right: dst (bx + i, by + j) from src row H - 1 - bx - i, column
            // by + j. Left: from src row bx + i, column W - 1 - by - j.
            const size_t column = right ? by : W - 8 - by;
            for (int i = 0; i < 8; ++i) {
                const size_t row = right ? H - 1 - (bx + i) : bx + i;
                r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + row * W + column));
            }
            transpose8x8(r);
            for (int j = 0; j < 8; ++j)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + size_t(by + j) * H + bx), r[right ? j : 7 - j]);
        }
    }
    for (unsigned y = 0; y < W; ++y)
        for (unsigned x = (y < W8 ? H8 : 0); x < H; ++x)
            dst[size_t(y) * H + x] = right ? src[size_t(H - 1 - x) * W + y] : src[size_t(x) * W + (W - 1 - y)];
}
#endif

#ifdef MP_HAS_X86_SIMD
// The RGB48 image in 8 x 8 pixel blocks: each source row of eight pixels is
// split into its three channel planes, the planes are transposed in
// registers and woven back into eight destination rows.
__attribute__((target("avx2"))) void rotateRGB48Blocks(const unsigned short* src, unsigned short* dst, unsigned W,
                                                      unsigned H, bool right)
{
    using namespace mp_rgb48_detail;
    const unsigned W8 = W & ~7u, H8 = H & ~7u;
    for (unsigned by = 0; by < W8; by += 8) {
        const size_t column = right ? by : W - 8 - by;
        for (unsigned bx = 0; bx < H8; bx += 8) {
            __m128i r[8], g[8], b[8];
            for (int i = 0; i < 8; ++i) {
                const size_t row = right ? H - 1 - (bx + i) : bx + i;
                const unsigned short* s = src + (row * W + column) * 3;
                const __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
                const __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8));
                const __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
                r[i] = _mm_shuffle_epi8(_mm_blend_epi16(_mm_blend_epi16(x0, x1, 0x92), x2, 0x24), orderR());
                g[i] = _mm_shuffle_epi8(_mm_blend_epi16(_mm_blend_epi16(x0, x1, 0x24), x2, 0x49), orderG());
                b[i] = _mm_shuffle_epi8(_mm_blend_epi16(_mm_blend_epi16(x0, x1, 0x49), x2, 0x92), orderB());
            }
            transpose8x8(r);
            transpose8x8(g);
            transpose8x8(b);
            for (int j = 0; j < 8; ++j) {
                const int k = right ? j : 7 - j;
                const __m128i rs = _mm_shuffle_epi8(r[k], placeR());
                const __m128i gs = _mm_shuffle_epi8(g[k], placeG());
                const __m128i bs = _mm_shuffle_epi8(b[k], placeB());
                unsigned short* d = dst + (size_t(by + j) * H + bx) * 3;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_blend_epi16(_mm_blend_epi16(rs, gs, 0x92), bs, 0x24));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 8),
                                 _mm_blend_epi16(_mm_blend_epi16(rs, gs, 0x24), bs, 0x49));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16),
                                 _mm_blend_epi16(_mm_blend_epi16(rs, gs, 0x49), bs, 0x92));
            }
        }
    }
    for (unsigned y = 0; y < W; ++y)
        for (unsigned x = (y < W8 ? H8 : 0); x < H; ++x) {
            const size_t from = right ? size_t(H - 1 - x) * W + y : size_t(x) * W + (W - 1 - y);
            std::memcpy(dst + (size_t(y) * H + x) * 3, src + from * 3, 6);
        }
}

template <> void rotateInto<unsigned short, 3>(const unsigned short* src, unsigned short* dst, unsigned W, unsigned H,
                                               bool right)
{
    if (MP_hasAvx2()) {
        rotateRGB48Blocks(src, dst, W, H, right);
        return;
    }
    rotateTiles<unsigned short, 3>(src, dst, W, H, right);
}
#endif

template <typename T> T* allocateLike(const T* existing, size_t count)
{
    if (!existing)
        return nullptr;
    T* block = static_cast<T*>(std::malloc(count ? count * sizeof(T) : sizeof(T)));
    AdviseHugePages(block, count * sizeof(T));
    return block;
}

} // namespace

// Mirror and flip work in place; a rotation writes every grid into a new
// block and frees the old one. Either way all memory is had before anything
// changes (Reserve*), so a failure leaves the exposure as it was; the series
// reserves the memory of every exposure before any of them changes.

void CExposure::SGeometryBlocks::Release()
{
    std::free(image);
    std::free(manual);
    std::free(preview);
    std::free(manualPreview);
    std::free(autoPreview);
    image = preview = autoPreview = nullptr;
    manual = manualPreview = nullptr;
}

static void mirrorWith(CExposure& e)
{
    mirrorInPlace<unsigned short, 3>(e.m_pusBuffer, e.m_uiWidth, e.m_uiHeight);
    mirrorInPlace<short, 1>(e.m_psMWeightBuffer, e.m_uiWidth, e.m_uiHeight);
    mirrorInPlace<unsigned short, 3>(e.m_pusPreviewBuffer, e.m_uiPreviewWidth, e.m_uiPreviewHeight);
    mirrorInPlace<short, 1>(e.m_psMWeightPreviewBuffer, e.m_uiPreviewWidth, e.m_uiPreviewHeight);
}

bool CExposure::ReserveFlip(SGeometryBlocks& blocks) const
{
    const unsigned widest = std::max(m_uiWidth, m_uiPreviewWidth);
    blocks.image = static_cast<unsigned short*>(std::malloc(size_t(widest ? widest : 1) * 6));
    return blocks.image != nullptr;
}

void CExposure::FlipWith(SGeometryBlocks& blocks)
{
    unsigned short* row = blocks.image;
    flipInPlace<unsigned short, 3>(m_pusBuffer, m_uiWidth, m_uiHeight, row);
    flipInPlace<short, 1>(m_psMWeightBuffer, m_uiWidth, m_uiHeight, reinterpret_cast<short*>(row));
    flipInPlace<unsigned short, 3>(m_pusPreviewBuffer, m_uiPreviewWidth, m_uiPreviewHeight, row);
    flipInPlace<short, 1>(m_psMWeightPreviewBuffer, m_uiPreviewWidth, m_uiPreviewHeight,
                          reinterpret_cast<short*>(row));
    blocks.Release();
}

bool CExposure::ReserveRotation(SGeometryBlocks& blocks) const
{
    const size_t n = PixelCount(), pn = PreviewPixelCount();
    blocks.image = allocateLike(m_pusBuffer, n * 3);
    blocks.manual = allocateLike(m_psMWeightBuffer, n);
    blocks.preview = allocateLike(m_pusPreviewBuffer, pn * 3);
    blocks.manualPreview = allocateLike(m_psMWeightPreviewBuffer, pn);
    if ((m_pusBuffer && !blocks.image) || (m_psMWeightBuffer && !blocks.manual) ||
        (m_pusPreviewBuffer && !blocks.preview) || (m_psMWeightPreviewBuffer && !blocks.manualPreview)) {
        blocks.Release();
        return false;
    }
    return true;
}

void CExposure::RotateWith(SGeometryBlocks& blocks, bool right)
{
    auto replace = [&](auto*& block, auto*& fresh, unsigned W, unsigned H, auto channels) {
        if (!block)
            return;
        rotateInto<std::remove_reference_t<decltype(*block)>, decltype(channels)::value>(block, fresh, W, H, right);
        std::free(block);
        block = fresh;
        fresh = nullptr;
    };
    replace(m_pusBuffer, blocks.image, m_uiWidth, m_uiHeight, std::integral_constant<int, 3>());
    replace(m_psMWeightBuffer, blocks.manual, m_uiWidth, m_uiHeight, std::integral_constant<int, 1>());
    replace(m_pusPreviewBuffer, blocks.preview, m_uiPreviewWidth, m_uiPreviewHeight,
            std::integral_constant<int, 3>());
    replace(m_psMWeightPreviewBuffer, blocks.manualPreview, m_uiPreviewWidth, m_uiPreviewHeight,
            std::integral_constant<int, 1>());
    blocks.Release();
    std::swap(m_uiWidth, m_uiHeight);
    std::swap(m_uiPreviewWidth, m_uiPreviewHeight);
}

int CExposure::Mirror()
{
    mirrorWith(*this);
    return 0;
}

void CExposure::MirrorWith(SGeometryBlocks& blocks)
{
    mirrorWith(*this);
    blocks.Release();
}

int CExposure::Flip()
{
    SGeometryBlocks blocks;
    if (!ReserveFlip(blocks))
        return -1;
    FlipWith(blocks);
    return 0;
}

int CExposure::RotateRight()
{
    SGeometryBlocks blocks;
    if (!ReserveRotation(blocks))
        return -1;
    RotateWith(blocks, true);
    return 0;
}

int CExposure::RotateLeft()
{
    SGeometryBlocks blocks;
    if (!ReserveRotation(blocks))
        return -1;
    RotateWith(blocks, false);
    return 0;
}

// The three preview blocks of an exposure at a new size.
static bool allocatePreviewBlocks(CExposure::SGeometryBlocks& b, size_t n)
{
    b.preview = static_cast<unsigned short*>(std::malloc(n ? n * 6 : 6));
    b.autoPreview = static_cast<unsigned short*>(std::malloc(n ? n * 2 : 2));
    b.manualPreview = static_cast<short*>(std::malloc(n ? n * 2 : 2));
    if (b.preview && b.autoPreview && b.manualPreview)
        return true;
    b.Release();
    return false;
}

// Frees the exposure's preview blocks and puts the reserved ones in their
// place.
static void adoptPreviewBlocks(CExposure& e, CExposure::SGeometryBlocks& b)
{
    std::free(e.m_pusPreviewBuffer);
    std::free(e.m_pusAWeightPreviewBuffer);
    std::free(e.m_psMWeightPreviewBuffer);
    e.m_pusPreviewBuffer = b.preview;
    e.m_pusAWeightPreviewBuffer = b.autoPreview;
    e.m_psMWeightPreviewBuffer = b.manualPreview;
    b.preview = b.autoPreview = nullptr;
    b.manualPreview = nullptr;
}

bool CExposure::ReserveCrop(SGeometryBlocks& blocks, unsigned pw, unsigned ph) const
{
    const size_t n = size_t(pw) * ph;
    if (n <= PreviewPixelCount())
        return true; // the present blocks are large enough
    return allocatePreviewBlocks(blocks, n);
}

int CExposure::ResizeWith(int x0, int y0, int x1, int y1, unsigned npw, unsigned nph, SGeometryBlocks& blocks)
{
    if (x0 < 0 || y0 < 0 || x1 <= x0 || y1 <= y0 || unsigned(x1) > m_uiWidth || unsigned(y1) > m_uiHeight ||
        !m_pusBuffer)
        return -2;
    const unsigned nw = unsigned(x1 - x0), nh = unsigned(y1 - y0);
    const size_t newPreview = size_t(npw) * nph;
    if (newPreview > PreviewPixelCount() && !blocks.preview)
        return -1; // the caller reserved nothing

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
    if (blocks.preview)
        adoptPreviewBlocks(*this, blocks);
    blocks.Release();
    if (m_psMWeightPreviewBuffer)
        std::memset(m_psMWeightPreviewBuffer, 0, newPreview * 2);
    return 0;
}

int CExposure::Resize(int x0, int y0, int x1, int y1)
{
    if (x0 < 0 || y0 < 0 || x1 <= x0 || y1 <= y0 || unsigned(x1) > m_uiWidth || unsigned(y1) > m_uiHeight ||
        !m_pusBuffer)
        return -2;
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolutionSize(&pw, &ph, nullptr, float(x1 - x0), float(y1 - y0), MP_UI_GetPreviewSize());
    SGeometryBlocks blocks;
    if (!ReserveCrop(blocks, unsigned(pw), unsigned(ph))) {
        SendOutOfMemMessage();
        return -1;
    }
    return ResizeWith(x0, y0, x1, y1, unsigned(pw), unsigned(ph), blocks);
}

bool CExposure::ReservePreview(SGeometryBlocks& blocks, unsigned pw, unsigned ph)
{
    return allocatePreviewBlocks(blocks, size_t(pw) * ph);
}

void CExposure::RecalcPreviewWith(SGeometryBlocks& blocks, unsigned pw, unsigned ph)
{
    if (!blocks.preview)
        return;
    std::memset(blocks.manualPreview, 0, size_t(pw) * ph * 2);
    adoptPreviewBlocks(*this, blocks);
    m_uiPreviewWidth = pw;
    m_uiPreviewHeight = ph;
}

int CExposure::RecalcPreview()
{
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolutionSize(&pw, &ph, nullptr, float(m_uiWidth), float(m_uiHeight),
                                    MP_UI_GetPreviewSize());
    SGeometryBlocks blocks;
    if (!ReservePreview(blocks, unsigned(pw), unsigned(ph))) {
        SendOutOfMemMessage();
        return -1;
    }
    RecalcPreviewWith(blocks, unsigned(pw), unsigned(ph));
    return 0;
}
