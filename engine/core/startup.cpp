#include "engine/core/startup.h"

#include "engine/MP_calccl.h"
#include "engine/core/geometry.h"
#include "engine/core/luminance.h"
#include "engine/core/precoding.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/tables.h"
#include "engine/core/textures.h"
#include "engine/draw/pictures.h"
#include "engine/series/alignquality.h"
#include "engine/series/brushcache.h"

#include <cstring>

namespace {

std::string& texturePathStore()
{
    static std::string path;
    return path;
}

// Draws the fractal of the position picker: the "Mandelbrot" operator at its
// catalogue defaults over the black picture, in place.
void renderMandelbrotPicture()
{
    std::memset(MP_pic_mandelbrot, 0, sizeof(MP_pic_mandelbrot));
    MP_Params params{};
    params.p[0][0] = 0.0241f; // "Iterationen"
    params.p[1][0] = 0.0f;    // "Zoom"
    params.p[2][0] = 0.25f;   // "FarbOffset"
    params.p[3][0] = 0.5f;    // "Position"
    params.p[3][1] = 0.5f;
    params.p[4][2] = 0.5f;    // "Farbton"
    params.p[4][3] = 0.7f;
    params.p[4][4] = 0.7f;
    params.p[5][0] = 0.0f;    // blend mode
    params.p[5][1] = 100.0f;  // opacity in percent
    // Slot 6 (the geometry masks) stays zero: no mask.

    // Not part of a progress-reporting calculation: post nothing, and leave
    // the progress settings as they were.
    const int category = _category;
    const float start = _progressstart;
    const float delta = _progressdelta;
    MP_UI_executeKernel("MP_calcPixelMandelbrot", MP_PIC_MANDELBROT_SIZE, MP_PIC_MANDELBROT_SIZE, MP_pic_mandelbrot,
                        MP_pic_mandelbrot, 6, 6, &params, -1, 0.0f, 1.0f);
    _category = category;
    _progressstart = start;
    _progressdelta = delta;
}

} // namespace

const std::string& MP_texturePath() { return texturePathStore(); }

void MP_UI_Init(const char* texturePath, int threadCount)
{
    texturePathStore() = texturePath ? texturePath : "";
    MP_UI_SetIdealThreadCount(threadCount);
    MP_UI_SetTime();
    MP_ApplySettingStartValues(threadCount);
    MP_UI_SetLuminanzConv(1);
    MP_UI_SetAlignQualityValues(1);
    MP_geometryFreeBuffers();
    MP_UI_InitTexturesData();
    MP_fillLookupTables();
    MP_UI_CalcZoomTable(1);
    MP_UI_buildColorCirclePicture();
    renderMandelbrotPicture();
}

void MP_UI_ReleaseWorkingMemory()
{
    MP_ClearBuffer();
    MP_geometryFreeBuffers();
    MP_UI_BrushReleaseBuffer();
    MP_ReleasePrecodingScratch();
}

void MP_UI_Release()
{
    MP_ReleasePrecodingScratch();
    MP_ClearBuffer();
    MP_UI_FreeTexturesData();
    MP_geometryFreeBuffers();
    MP_UI_BrushReleaseBuffer();
}
