#include "engine/effects/effectframe.h"

#include "engine/core/rotation.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/filters/filterframe.h"

#include <cstring>
#include <new>

// The same checks as the neighbourhood filters': the workers read and write
// three 16-bit channels a pixel.
int MP_checkEffectBuffers(int sizex, int sizey, const ushort* src, const ushort* dst, int srcBpp, int dstBpp,
                          const MP_Params* params)
{
    return mp_filters::MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

size_t MP_effectScratchBytes(int sizex, int sizey, size_t bytesPerPixel)
{
    // An empty image still gets a (tiny) buffer: it has nothing to compute,
    // which is no shortage of memory.
    const size_t bytes = static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * bytesPerPixel;
    return bytes > 0 ? bytes : bytesPerPixel;
}

int MP_beginEffectDriver(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, int srcBpp,
                         int dstBpp, MP_Params* params, int geoSlot, int comboSlot)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    auto* scratch = static_cast<ushort*>(MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 6)));
    if (!scratch)
        return -1;
    if (int r = MP_beginDriver(run, sizex, sizey, src, dst, params, geoSlot, comboSlot == -2 ? geoSlot - 1 : comboSlot))
        return r;
    run.dst = scratch;
    return 0;
}

namespace {

struct CopyArgs {
    const ushort* src;
    ushort* dst;
    int width;
};

void copyRows(TaskFuncParams t)
{
    const CopyArgs* a = MP_taskArgs<CopyArgs>(t);
    const size_t row = static_cast<size_t>(a->width) * 3;
    const int s = MP_taskStart(t), e = MP_taskEnd(t);
    std::memcpy(a->dst + row * static_cast<size_t>(s), a->src + row * static_cast<size_t>(s),
                row * static_cast<size_t>(e - s) * sizeof(ushort));
}

} // namespace

void MP_copyImageBanded(const ushort* src, ushort* dst, int width, int height)
{
    if (src == dst || width <= 0 || height <= 0)
        return;
    CopyArgs a{src, dst, width};
    MP_runBandPass(copyRows, MP_makeTask(nullptr, &a), height, 0);
}

int MP_finishEffectDriver(const MP_DriverRun& run, ushort* dst)
{
    // A cancel request drops queued tasks: the scratch image then holds rows
    // that were never computed, which must not reach the picture.
    if (MP_isCalculatingCancelRequest != 0)
        return 0;
    MP_copyImageBanded(run.dst, dst, run.width, run.height);
    return 0;
}

int MP_beginWeather(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, int srcBpp, int dstBpp,
                    MP_Params* params, int geoSlot)
{
    if (int r = MP_beginEffectDriver(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, geoSlot))
        return r;
    MP_copyImageBanded(src, run.dst, sizex, sizey);
    return 0;
}

namespace {

struct LayerArgs {
    MP_DriverRun run;        // src: the source, dst: the output
    const ushort* particles; // the particle picture
};

void MP_TaskLayer_calcPixelWeather(TaskFuncParams t)
{
    const LayerArgs& a = *MP_taskArgs<LayerArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    MP_fullWorkerRows(a.run, MP_taskStart(t), MP_taskEnd(t), [&a, w](MP_float3, int x, int y) {
        return MP_loadRGB48(a.particles + (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3);
    });
}

} // namespace

int MP_finishWeather(const MP_DriverRun& run, ushort* dst, int progressPeriod)
{
    if (!run.full)
        return MP_finishEffectDriver(run, dst);
    LayerArgs a{run, run.dst};
    a.run.dst = dst;
    MP_runDriverBands(a.run, &a, MP_TaskLayer_calcPixelWeather, nullptr, progressPeriod);
    return 0;
}

int MP_effectTextureIndex(float typ, int n)
{
    return MP_safeTrunc(static_cast<float>(n) * typ + 0.05f, 0, n);
}

MP_EffectTexture MP_effectTextureAt(int id)
{
    MP_EffectTexture t;
    t.id = id;
    const int w = MP_UI_GetTextureSizeX(id);
    const int h = MP_UI_GetTextureSizeY(id);
    uint16_t* px = MP_UI_GetTexturePointer(id);
    if (px && w > 0 && h > 0) {
        t.px = px;
        t.w = w;
        t.h = h;
    }
    return t;
}

MP_EffectTexture MP_effectTexture(float typ, int base, int n)
{
    return MP_effectTextureAt(base + MP_effectTextureIndex(typ, n));
}

std::unique_ptr<ushort[]> MP_turnedTexture(const MP_EffectTexture& tex, int seamless, float a)
{
    const size_t texels = static_cast<size_t>(tex.w) * static_cast<size_t>(tex.h) * 3;
    std::unique_ptr<ushort[]> turned(new (std::nothrow) ushort[texels]);
    if (turned && MP_UI_RotateBuffer(tex.w, tex.h, tex.px, turned.get(), seamless, a, 0.5f, 0.0f, 0.5f, 0.5f) != 0)
        turned.reset();
    return turned;
}

const uint16_t* MP_tripTable()
{
    static const auto table = [] {
        auto t = std::make_unique<uint16_t[]>(65536);
        for (int v = 0; v < 65536; ++v) {
            ushort px[3];
            const float c = static_cast<float>(v) * MP_k;
            MP_storeRGB48Clamped(px, {c, c, c});
            t[v] = px[0];
        }
        return t;
    }();
    return table.get();
}

void MP_runSineTablePass(MP_Params* params)
{
    MP_runTablePass(MP_TaskPre1_RotateBuffer, MP_makeTask(params, nullptr));
}
