// Embossed texture overlays: Cloth, Crack, Paper, Metal, Puzzle and Stone.
//
// Cloth, Crack: 0 "Typ", 1 "Feinheit", 2 "Prägung", 3 "Unschärfe", 4 combo, 5 geometry
// Paper:        0 "Typ", 1 "Feinheit", 2 "Prägung", 3 colour "Farbton", 4 combo, 5 geometry
// Metal:        0 "Typ", 1 "Feinheit", 2 "Prägung", 3 "Unschärfe", 4 "Lichtquelle", 5 combo, 6 geometry
// Puzzle:       0 "Typ", 1 "Feinheit", 2 "Prägung", 3 "Lichtquelle", 4 combo, 5 geometry
// Stone:        0 "Typ", 1 "Feinheit", 2 "Prägung", 3 "Unschärfe", 4 "Winkel", 5 "Position",
//               6 combo, 7 geometry

#include "engine/effects/embossed.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

enum class Op { Cloth, Paper, Metal, Puzzle, Stone };

struct EmbossArgs {
    MP_DriverRun run;
    MP_EffectTexture tex;
    float S = 1.0f; // repetitions
    float e = 0.0f; // emboss
    float u = 0.0f; // displacement in pixels
    float lx = 0.0f, ly = 0.0f;
    float ox = 0.0f, oy = 0.0f;
    float q[3] = {0.0f, 0.0f, 0.0f}; // Paper: tint weights
};

inline MP_float3 scaled(MP_float3 c, float f) { return {c.x * f, c.y * f, c.z * f}; }

inline MP_float3 sourceAt(const EmbossArgs& a, float x, float y)
{
    return MP_tex2D16intBilinear(a.run.width, a.run.height, a.run.src, x, y);
}

template <Op op>
inline MP_float3 embossEffect(const EmbossArgs& a, MP_float3 c0, int ix, int iy)
{
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float x = static_cast<float>(ix), y = static_cast<float>(iy);
    const float tw = static_cast<float>(a.tex.w), th = static_cast<float>(a.tex.h);
    if constexpr (op == Op::Puzzle) {
        const float tx = x * a.S * tw / w, ty = y * a.S * th / h;
        const MP_float3 T = MP_tex2D16intBilinearSeemless(a.tex.w, a.tex.h, a.tex.px, tx, ty);
        const float bx = T.x - 0.5f, by = T.z - 0.5f;
        const float s = a.lx * bx + a.ly * by + 2.0f;
        int index = 0;
        if (s > 0.0f)
            index = MP_tableIndex(s / std::sqrt((bx * bx + by * by + 4.0f) * (a.lx * a.lx + a.ly * a.ly + 1.0f)));
        return scaled(c0, MP_temp_table[index]);
    } else if constexpr (op == Op::Cloth || op == Op::Stone) {
        float tx, ty;
        if constexpr (op == Op::Stone) {
            const float k = a.S / (2.0f * MP_min(w, h));
            tx = (x - w / 2.0f) * k * tw - a.ox * tw;
            ty = (y - h / 2.0f) * k * th - a.oy * th;
        } else {
            const float k = a.S / MP_min(w, h);
            tx = (x - w / 2.0f) * k * tw;
            ty = (y - h / 2.0f) * k * th;
        }
        const float A = MP_tex2D16intBilinearSeemlessG(a.tex.w, a.tex.h, a.tex.px, tx, ty);
        const float d = (2.0f * A - 1.0f) * a.u;
        const MP_float3 C = sourceAt(a, x - d, y + d);
        const float f = (op == Op::Stone ? 2.5f : 1.8f) * A * a.e + (1.0f - a.e);
        return scaled(C, f);
    } else {
        const float k = a.S / MP_min(w, h);
        const MP_float3 T =
            MP_tex2D16intBilinearSeemless(a.tex.w, a.tex.h, a.tex.px, (x - w / 2.0f) * k * tw, (y - h / 2.0f) * k * th);
        if constexpr (op == Op::Paper) {
            const MP_float3 C = sourceAt(a, x + (2.0f * T.x - 1.0f) * a.u, y - (2.0f * T.z - 1.0f) * a.u);
            const float base = 1.0f - a.e;
            return {(a.q[0] * T.y + base) * C.x, (a.q[1] * T.y + base) * C.y, (a.q[2] * T.y + base) * C.z};
        } else {
            const float nx = 8.0f - 16.0f * T.x, ny = 8.0f - 16.0f * T.z;
            const MP_float3 C = sourceAt(a, x - a.u * a.e * nx, y + a.u * a.e * ny);
            const float s = a.lx * nx + a.ly * ny + 1.0f;
            float shade = 0.0f;
            if (s > 0.0f) {
                const float c = s / std::sqrt((nx * nx + ny * ny + 1.0f) * (a.lx * a.lx + a.ly * a.ly + 1.0f));
                shade = c * c;
            }
            const float g = 2.0f * T.y - 1.0f;
            const float m = g * std::sqrt(a.e);
            const float f = shade * std::sqrt(a.e / 0.4f) + (1.0f - a.e + a.e * g);
            const float k1 = 1.0f - m;
            return {(k1 * C.x + m) * f, (k1 * C.y + m) * f, (k1 * C.z + m) * f};
        }
    }
}

template <Op op> void embossFull(TaskFuncParams t)
{
    MP_effectFullTask<EmbossArgs>(t, [](const EmbossArgs& a, MP_float3 c, int x, int y) { return embossEffect<op>(a, c, x, y); });
}
template <Op op> void embossReduced(TaskFuncParams t)
{
    MP_effectReducedTask<EmbossArgs>(
        t, [](const EmbossArgs& a, MP_float3 c, int x, int y) { return embossEffect<op>(a, c, x, y); });
}

void MP_Task_calcPixelStructureCloth(TaskFuncParams t) { embossFull<Op::Cloth>(t); }
void MP_Task_calcPixelStructureClothReduced(TaskFuncParams t) { embossReduced<Op::Cloth>(t); }
void MP_Task_calcPixelStructurePaper(TaskFuncParams t) { embossFull<Op::Paper>(t); }
void MP_Task_calcPixelStructurePaperReduced(TaskFuncParams t) { embossReduced<Op::Paper>(t); }
void MP_Task_calcPixelStructureMetal(TaskFuncParams t) { embossFull<Op::Metal>(t); }
void MP_Task_calcPixelStructureMetalReduced(TaskFuncParams t) { embossReduced<Op::Metal>(t); }
void MP_Task_calcPixelStructurePuzzle(TaskFuncParams t) { embossFull<Op::Puzzle>(t); }
void MP_Task_calcPixelStructurePuzzleReduced(TaskFuncParams t) { embossReduced<Op::Puzzle>(t); }
void MP_Task_calcPixelStructureStone(TaskFuncParams t) { embossFull<Op::Stone>(t); }
void MP_Task_calcPixelStructureStoneReduced(TaskFuncParams t) { embossReduced<Op::Stone>(t); }

// Puzzle's lighting curve: 1.2 (i / 65535)^(4 e).
void MP_TaskPre1_calcPixelStructurePuzzle(TaskFuncParams t)
{
    const EmbossArgs* a = MP_taskArgs<EmbossArgs>(t);
    const float ex = 4.0f * a->e;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = 1.2f * std::pow(static_cast<float>(i) * MP_k, ex);
}

struct Layout {
    int base, n, geoSlot;
};

template <typename Fill>
int runEmboss(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params, Layout l,
              MP_TaskFunc full, MP_TaskFunc reduced, Fill&& fill)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    EmbossArgs a;
    a.tex = MP_effectTexture(params->p[0][0], l.base, l.n);
    if (!a.tex.px)
        return -1;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, l.geoSlot))
        return r;
    fill(a, params->p, params->previewscalingfactor);
    MP_runDriverBands(a.run, &a, full, reduced, 4);
    return MP_finishEffectDriver(a.run, dst);
}

using Slots = float (*)[MP_MAX_PARAMETERSETS];

// Cloth and Crack differ only in their textures.
void fillCloth(EmbossArgs& a, Slots p, float psf)
{
    a.S = 1.0f + 5.0f * p[1][0];
    a.e = p[2][0];
    a.u = 20.0f * p[3][0] * psf;
}

} // namespace

int MP_calcPixelStructureCloth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    return runEmboss(sizex, sizey, src, dst, srcBpp, dstBpp, params, {4, 6, 5}, MP_Task_calcPixelStructureCloth,
                     MP_Task_calcPixelStructureClothReduced, fillCloth);
}

int MP_calcPixelStructureCrack(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    return runEmboss(sizex, sizey, src, dst, srcBpp, dstBpp, params, {11, 6, 5}, MP_Task_calcPixelStructureCloth,
                     MP_Task_calcPixelStructureClothReduced, fillCloth);
}

int MP_calcPixelStructurePaper(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    return runEmboss(sizex, sizey, src, dst, srcBpp, dstBpp, params, {18, 6, 5}, MP_Task_calcPixelStructurePaper,
                     MP_Task_calcPixelStructurePaperReduced, [](EmbossArgs& a, Slots p, float psf) {
                         a.S = 1.0f + 5.0f * p[1][0];
                         a.e = p[2][0];
                         a.u = 30.0f * p[2][0] * psf;
                         const float c[3] = {MP_max(p[3][2], 0.001f), MP_max(p[3][3], 0.001f),
                                             MP_max(p[3][4], 0.001f)};
                         const float m = MP_max(MP_max(c[0], c[1]), c[2]);
                         for (int i = 0; i < 3; ++i)
                             a.q[i] = (c[i] / m + 0.5f) * a.e;
                     });
}

int MP_calcPixelStructureMetal(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    return runEmboss(sizex, sizey, src, dst, srcBpp, dstBpp, params, {25, 6, 6}, MP_Task_calcPixelStructureMetal,
                     MP_Task_calcPixelStructureMetalReduced, [](EmbossArgs& a, Slots p, float psf) {
                         a.S = 1.0f + 1.5f * p[1][0];
                         a.e = 0.4f * p[2][0];
                         a.u = 16.0f * p[3][0] * psf;
                         a.lx = p[4][0] - 0.5f;
                         a.ly = p[4][1] - 0.5f;
                     });
}

int MP_calcPixelStructurePuzzle(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params)
{
    return runEmboss(sizex, sizey, src, dst, srcBpp, dstBpp, params, {33, 6, 5}, MP_Task_calcPixelStructurePuzzle,
                     MP_Task_calcPixelStructurePuzzleReduced, [params](EmbossArgs& a, Slots p, float) {
                         a.S = 1.0f + 3.0f * p[1][0];
                         a.e = p[2][0];
                         a.lx = p[3][0] - 0.5f;
                         a.ly = p[3][1] - 0.5f;
                         MP_runTablePass(MP_TaskPre1_calcPixelStructurePuzzle, MP_makeTask(params, &a));
                     });
}

int MP_calcPixelStructureStone(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    const MP_EffectTexture tex = MP_effectTexture(params->p[0][0], 200, 27);
    if (!tex.px)
        return -1;
    // The texture turned by "Winkel", wrapped around, in a copy of its own.
    const std::unique_ptr<ushort[]> turned = MP_turnedTexture(tex, 1, 0.5f + 0.5f * params->p[4][0]);
    if (!turned)
        return -1;
    return runEmboss(sizex, sizey, src, dst, srcBpp, dstBpp, params, {200, 27, 7}, MP_Task_calcPixelStructureStone,
                     MP_Task_calcPixelStructureStoneReduced, [&](EmbossArgs& a, Slots p, float psf) {
                         a.tex.px = turned.get();
                         a.S = 1.0f + 3.0f * p[1][0];
                         a.e = p[2][0];
                         a.u = 20.0f * p[3][0] * psf;
                         a.ox = p[5][0] - 0.5f;
                         a.oy = p[5][1] - 0.5f;
                     });
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelStructureCloth", MP_calcPixelStructureCloth},
    {"MP_calcPixelStructureCrack", MP_calcPixelStructureCrack},
    {"MP_calcPixelStructurePaper", MP_calcPixelStructurePaper},
    {"MP_calcPixelStructureMetal", MP_calcPixelStructureMetal},
    {"MP_calcPixelStructurePuzzle", MP_calcPixelStructurePuzzle},
    {"MP_calcPixelStructureStone", MP_calcPixelStructureStone},
};
} // namespace
extern const MP_DriverTable MP_drivers_embossed = MP_driverTable(kDrivers);
