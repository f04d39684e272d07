#include "engine/series/structure.h"

#include "engine/core/boxblur.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

struct StructureArgs {
    int w, h;
    const uint16_t* src;
    uint16_t* dst;
    uint16_t* record;
    int16_t* mask[4];
    const int16_t* cmask[4];
    int64_t weight[4]; // blend: 14-bit weights; show: 16-bit factors
    float fweight[4];
    int colour[4];
    float radius;      // blur: total radius
    int k;             // intensity blend: 13-bit factor
    float wr, wg, wb;  // grey conversion weights
};

inline size_t pix(const StructureArgs* a, int x, int y)
{
    return static_cast<size_t>(y) * static_cast<size_t>(a->w) + static_cast<size_t>(x);
}

inline int lumaOf(const uint16_t* p) { return (p[0] + 2 * p[1] + p[2]) >> 2; }

// Arguments of a driver over source, destination and four masks.
StructureArgs maskArgs(const uint16_t* src, uint16_t* dst, int w, int h, const int16_t* m1, const int16_t* m2,
                       const int16_t* m3, const int16_t* m4)
{
    StructureArgs a{};
    a.w = w;
    a.h = h;
    a.src = src;
    a.dst = dst;
    a.cmask[0] = m1;
    a.cmask[1] = m2;
    a.cmask[2] = m3;
    a.cmask[3] = m4;
    return a;
}

// Runs fn over the rows of h in the engine's single-pass bands and waits.
void runBands(MP_TaskFunc fn, StructureArgs* a)
{
    MP_runSinglePass(fn, MP_makeTask(nullptr, a), a->h);
}

// ---- Terms of the scene kinds ---------------------------------------------------

struct Px {
    float Y, D, r, g, b;
};
struct Ref {
    int R, G, B;
    float c;
};

inline float closeness(const Px& p, const Ref& ref)
{
    const float dr = p.r - static_cast<float>(ref.R) / 255.0f;
    const float dg = p.g - static_cast<float>(ref.G) / 255.0f;
    const float db = p.b - static_cast<float>(ref.B) / 255.0f;
    return 1.0f - 0.70710677f * std::sqrt(dr * dr + dg * dg + db * db);
}
inline float bump(const Px& p, float c, float r) { return 1.0f - std::fabs(c - p.Y) / r; }
inline float level(const Px& p, float c) { return bump(p, c, 1.0f - c); }
inline float detail(const Px& p, float a) { return 1.0f - std::fabs(a - p.D) / (1.0f - a); }

// Largest value over the references, at least 0.
template <typename Fn> inline float score(std::initializer_list<Ref> refs, Fn&& value)
{
    float best = 0.0f;
    for (const Ref& r : refs) {
        const float v = value(r);
        if (v > best)
            best = v;
    }
    return best;
}

const std::initializer_list<Ref> kSky = {{109, 144, 180, 0.5f}, {10, 121, 222, 0.5f}, {2, 58, 241, 0.5f}};
const std::initializer_list<Ref> kVegetation = {{144, 190, 55, 0.5f}, {148, 174, 114, 0.5f}, {154, 164, 122, 0.5f}};
const std::initializer_list<Ref> kNeutral = {{147, 147, 147, 0.5f}, {139, 147, 156, 0.5f}};
const std::initializer_list<Ref> kSand = {{188, 134, 107, 0.7f}, {188, 134, 107, 0.6f}, {245, 67, 34, 0.5f}};
const std::initializer_list<Ref> kSkyGrey = {{109, 144, 180, 0.5f}, {10, 121, 222, 0.5f}, {2, 58, 241, 0.5f},
                                             {147, 147, 147, 0.9f}};

inline bool isVegetation(const Px& p) { return p.g > 0.8f * p.r && p.g > p.b; }
inline bool isSky(const Px& p) { return p.b > p.r && p.b > p.g; }
inline bool isReddish(const Px& p) { return p.r > p.g && p.r > p.b; }
inline bool nearGrey(const Px& p, float t)
{
    return std::fabs(p.r - p.g) < t && std::fabs(p.r - p.b) < t && std::fabs(p.g - p.b) < t;
}
inline bool colourful(const Px& p)
{
    return std::fabs(p.r - p.g) >= 0.1f || std::fabs(p.r - p.b) >= 0.1f || std::fabs(p.g - p.b) >= 0.1f;
}

inline float skyScore(const Px& p)
{
    return isSky(p) ? score(kSky, [&](const Ref& r) { return closeness(p, r) * level(p, r.c) * detail(p, 0.05f); }) : 0.0f;
}

struct Scores {
    float a, b, c;
};

Scores sceneScores(int kind, const Px& p)
{
    Scores s{0.0f, 0.0f, 0.0f};
    auto L = [&](const Ref& r) { return level(p, r.c); };
    auto S = [&](const Ref& r) { return closeness(p, r); };
    switch (kind) {
    case 1:
        if (isVegetation(p))
            s.a = score(kVegetation, [&](const Ref& r) { return (S(r) - 0.5f) * 2.0f * L(r) * detail(p, 0.15f); });
        s.b = skyScore(p);
        if (nearGrey(p, 0.1f))
            s.c = score(kNeutral, [&](const Ref& r) {
                return (S(r) - 0.25f) / 0.75f * MP_max(bump(p, 0.5f, 0.5f), bump(p, 0.8f, 0.8f)) * detail(p, 0.1f);
            });
        break;
    case 2:
        s.a = skyScore(p);
        if (isReddish(p))
            s.b = score(kSand, [&](const Ref& r) { return S(r) * L(r) * detail(p, 0.15f); });
        if (nearGrey(p, 0.1f))
            s.c = score({{147, 147, 147, 0.5f}}, [&](const Ref& r) {
                return (S(r) - 0.25f) / 0.75f *
                       MP_max(MP_max(bump(p, 0.7f, 0.7f), bump(p, 0.5f, 0.5f)), bump(p, 0.9f, 0.9f)) * (1.0f - p.D);
            });
        break;
    case 3:
        if (p.r > 0.95f * p.g && p.r > p.b)
            s.a = score({{160, 149, 132, 0.7f}, {190, 135, 105, 0.5f}, {165, 160, 113, 0.8f}},
                        [&](const Ref& r) { return (S(r) - 0.75f) * 4.0f * L(r) * detail(p, 0.15f); });
        s.b = skyScore(p);
        if (nearGrey(p, 0.15f) && p.b > p.r)
            s.c = score(kNeutral, [&](const Ref& r) {
                return (S(r) - 0.25f) / 0.75f * MP_max(bump(p, 0.8f, 0.8f), bump(p, 0.5f, 0.5f)) *
                       MP_max(detail(p, 0.1f), detail(p, 0.3f));
            });
        break;
    case 4:
        s.a = skyScore(p);
        if (colourful(p))
            s.b = score({{254, 23, 14, 0.5f}, {207, 150, 2, 0.6f}, {151, 83, 188, 0.5f}, {180, 160, 86, 0.5f}},
                        [&](const Ref& r) { return S(r) * L(r) * detail(p, 0.1f); });
        if (isVegetation(p))
            s.c = score(kVegetation, [&](const Ref& r) { return S(r) * bump(p, 0.5f, 0.5f) * (1.0f - p.D); });
        break;
    case 5:
        if (isVegetation(p))
            s.a = score({{144, 190, 55, 0.5f}, {144, 190, 55, 0.2f}, {148, 174, 114, 0.5f}, {154, 164, 122, 0.5f},
                         {180, 160, 86, 0.6f}},
                        [&](const Ref& r) { return S(r) * L(r) * (1.0f - p.D); });
        if (colourful(p))
            s.b = score({{254, 23, 14, 0.5f}, {207, 150, 2, 0.6f}, {215, 116, 75, 0.4f}},
                        [&](const Ref& r) { return S(r) * L(r) * detail(p, 0.1f); });
        s.c = score(kSkyGrey, [&](const Ref& r) { return S(r) * L(r) * detail(p, 0.05f); });
        break;
    case 6:
        if (isReddish(p))
            s.a = score(kSand, [&](const Ref& r) { return S(r) * L(r) * detail(p, 0.15f); });
        if (isVegetation(p))
            s.b = score(kVegetation, [&](const Ref& r) { return (S(r) - 0.5f) * 2.0f * L(r) * detail(p, 0.15f); });
        s.c = score(kSkyGrey, [&](const Ref& r) { return S(r) * L(r) * detail(p, 0.05f); });
        break;
    case 7:
        if (nearGrey(p, 0.15f))
            s.a = score(kNeutral, [&](const Ref& r) {
                return MP_max(0.0f, (S(r) - 0.25f) / 0.75f) *
                       MP_max(MP_max(bump(p, 0.3f, 0.7f), bump(p, 0.5f, 0.5f)), bump(p, 0.8f, 0.8f)) * detail(p, 0.1f);
            });
        if (p.b > 1.2f * p.r && p.b > 1.2f * p.g)
            s.b = score(kSky, [&](const Ref& r) { return S(r) * bump(p, 0.5f, 0.5f) * (1.0f - p.D); });
        if (isVegetation(p))
            s.c = score(kVegetation, [&](const Ref& r) { return (S(r) - 0.75f) * 4.0f * bump(p, 0.5f, 0.5f) * (1.0f - p.D); });
        break;
    default:
        break;
    }
    return s;
}

inline Px pixelOf(const uint16_t* rec)
{
    return {static_cast<float>(rec[0]) / 65535.0f, static_cast<float>(rec[1]) / 65535.0f,
            static_cast<float>(rec[2]) / 65535.0f, static_cast<float>(rec[3]) / 65535.0f,
            static_cast<float>(rec[4]) / 65535.0f};
}

template <int Kind> void sceneTask(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < a->w; ++x) {
            const size_t i = pix(a, x, y);
            const Px p = pixelOf(a->record + i * 5);
            const Scores s = sceneScores(Kind, p);
            int m = 3;
            if (s.a >= 0.05f && s.a >= s.b && s.a >= s.c)
                m = 0;
            else if (s.b >= 0.05f && s.b >= s.a && s.b >= s.c)
                m = 1;
            else if (s.c >= 0.05f && s.c >= s.a && s.c >= s.b)
                m = 2;
            a->mask[m][i] = 0x7FFF;
        }
    }
}

template <int Kind> void measureTask(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    const float grey = 147.0f / 255.0f;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < a->w; ++x) {
            const size_t i = pix(a, x, y);
            const Px p = pixelOf(a->record + i * 5);
            float m[3];
            if (Kind == 8) {
                const float e = p.D, f = 1.0f / (p.Y + 0.001f);
                m[0] = (1.0f - std::fabs(0.2f - e) / 0.8f) * f;
                m[1] = (1.0f - std::fabs(0.1f - e) / 0.9f) * f;
                m[2] = (1.0f - std::fabs(0.05f - e) / 0.95f) * f;
            } else if (Kind == 9) {
                const float e = p.Y + 0.001f;
                m[0] = 1.0f - std::fabs(0.75f - e) / 0.75f;
                m[1] = 1.0f - std::fabs(0.4f - e) / 0.6f;
                m[2] = 1.0f - std::fabs(0.15f - e) / 0.85f;
            } else {
                const float dr = p.r - grey, dg = p.g - grey, db = p.b - grey;
                const float e = std::sqrt(dr * dr + dg * dg + db * db) / 1.4142135f;
                m[0] = 1.0f - std::fabs(0.24f - e) / 0.76f;
                m[1] = 1.0f - std::fabs(0.12f - e) / 0.88f;
                m[2] = 1.0f - std::fabs(0.06f - e) / 0.94f;
            }
            for (int k = 0; k < 3; ++k)
                if (m[k] >= 0.05f && m[k] >= m[(k + 1) % 3] && m[k] >= m[(k + 2) % 3])
                    a->mask[k][i] = 0x7FFF;
        }
    }
}

inline uint16_t clamp16(int64_t v) { return static_cast<uint16_t>(v < 0 ? 0 : (v > 65535 ? 65535 : v)); }

} // namespace

void MP_task_calcStructureBuffer(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    const int w = a->w, h = a->h;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const int yu = y > 0 ? y - 1 : h - 1, yd = y + 1 < h ? y + 1 : 0;
        for (int x = 0; x < w; ++x) {
            const int xl = x > 0 ? x - 1 : w - 1, xr = x + 1 < w ? x + 1 : 0;
            const uint16_t* p = a->src + pix(a, x, y) * 3;
            const int Y = lumaOf(p);
            auto d = [&](int xx, int yy) { return std::abs(lumaOf(a->src + pix(a, xx, yy) * 3) - Y); };
            const int64_t S = 2 * (d(x, yu) + d(x, yd) + d(xl, y) + d(xr, y)) + d(xl, yu) + d(xr, yu) + d(xl, yd) +
                              d(xr, yd);
            uint16_t* rec = a->record + pix(a, x, y) * 5;
            rec[0] = static_cast<uint16_t>(Y);
            rec[1] = static_cast<uint16_t>(
                MP_safeTrunc(std::sqrt(static_cast<float>(S) * 1.2715851e-6f) * 65535.0f, 0, 65535));
            // R^2 + G^2 + B^2 exceeds 32 bits.
            const int64_t n2 = static_cast<int64_t>(p[0]) * p[0] + static_cast<int64_t>(p[1]) * p[1] +
                               static_cast<int64_t>(p[2]) * p[2];
            if (n2 == 0) {
                rec[2] = rec[3] = rec[4] = 37836;
                continue;
            }
            const float len = std::sqrt(static_cast<float>(n2));
            for (int c = 0; c < 3; ++c)
                rec[2 + c] = static_cast<uint16_t>(MP_safeTrunc(static_cast<float>(p[c]) / len * 65535.0f, 0, 65535));
        }
    }
}

void MP_task_calcStructureDetection_Landscape(TaskFuncParams t) { sceneTask<1>(t); }
void MP_task_calcStructureDetection_Altstadt(TaskFuncParams t) { sceneTask<2>(t); }
void MP_task_calcStructureDetection_Beach(TaskFuncParams t) { sceneTask<3>(t); }
void MP_task_calcStructureDetection_Blumen(TaskFuncParams t) { sceneTask<4>(t); }
void MP_task_calcStructureDetection_Wald(TaskFuncParams t) { sceneTask<5>(t); }
void MP_task_calcStructureDetection_Wuste(TaskFuncParams t) { sceneTask<6>(t); }
void MP_task_calcStructureDetection_Schneeberg(TaskFuncParams t) { sceneTask<7>(t); }
void MP_task_calcStructureDetection_Sharpness(TaskFuncParams t) { measureTask<8>(t); }
void MP_task_calcStructureDetection_Luminance(TaskFuncParams t) { measureTask<9>(t); }
void MP_task_calcStructureDetection_Saturation(TaskFuncParams t) { measureTask<10>(t); }

void MP_task_blurStructureDetection(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    const int m = MP_taskStart(t) - 1;
    if (m < 0 || m > 3 || !a->mask[m])
        return;
    MP_Params p{};
    p.p[0][0] = a->radius;
    p.p[1][0] = 2.0f;
    if (MP_UI_GetPanoramaMode())
        MP_BlurSignedShortBufferNoClip(a->w, a->h, a->mask[m], a->mask[m], 2, 2, &p);
    else
        MP_BlurSignedShortBuffer(a->w, a->h, a->mask[m], a->mask[m], 2, 2, &p);
}

void MP_calcStructureBuffer(const uint16_t* src, int w, int h, uint16_t* record)
{
    if (!src || !record || w <= 0 || h <= 0)
        return;
    StructureArgs a{};
    a.w = w;
    a.h = h;
    a.src = src;
    a.record = record;
    runBands(MP_task_calcStructureBuffer, &a);
}

void MP_calcStructureDetection(int kind, const uint16_t* src, uint16_t* dst, int w, int h, int16_t* mask1,
                               int16_t* mask2, int16_t* mask3, int16_t* mask4, float strength)
{
    if (!src || !mask1 || !mask2 || !mask3 || !mask4 || w <= 0 || h <= 0)
        return;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    auto* record = static_cast<uint16_t*>(MP_UpdateBuffer(n * 5 * sizeof(uint16_t)));
    if (record) {
        StructureArgs a{};
        a.w = w;
        a.h = h;
        a.src = src;
        a.dst = dst;
        a.record = record;
        a.mask[0] = mask1;
        a.mask[1] = mask2;
        a.mask[2] = mask3;
        a.mask[3] = mask4;
        runBands(MP_task_calcStructureBuffer, &a);
        for (int16_t* m : a.mask)
            std::memset(m, 0, n * sizeof(int16_t));
        static constexpr MP_TaskFunc kTasks[10] = {
            MP_task_calcStructureDetection_Landscape, MP_task_calcStructureDetection_Altstadt,
            MP_task_calcStructureDetection_Beach,     MP_task_calcStructureDetection_Blumen,
            MP_task_calcStructureDetection_Wald,      MP_task_calcStructureDetection_Wuste,
            MP_task_calcStructureDetection_Schneeberg, MP_task_calcStructureDetection_Sharpness,
            MP_task_calcStructureDetection_Luminance, MP_task_calcStructureDetection_Saturation};
        if (kind >= 1 && kind <= 10)
            runBands(kTasks[kind - 1], &a);
        a.radius = static_cast<float>(w > h ? w : h) * 0.48f * (0.5f * std::pow(strength, 1.5f));
        for (int m = 1; m <= 4; ++m) {
            TaskFuncParams p = MP_makeTask(nullptr, &a);
            MP_setTaskRange(p, m, m + 1);
            C_AddTask(MP_task_blurStructureDetection, p);
        }
        C_WaitTasks();
    }
    MP_ClearBuffer();
}

void MP_task_blendStructureDetection(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < a->w; ++x) {
            const size_t i = pix(a, x, y);
            int64_t sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += static_cast<int64_t>(a->cmask[k][i]) * a->weight[k];
            const int64_t m = std::min<int64_t>(sum >> 15, 32767);
            const uint16_t* s = a->src + i * 3;
            uint16_t* d = a->dst + i * 3;
            for (int c = 0; c < 3; ++c)
                d[c] = clamp16((static_cast<int64_t>(s[c]) * (16384 - m) + static_cast<int64_t>(d[c]) * m) >> 14);
        }
    }
}

void MP_blendStructureDetection(const uint16_t* src, uint16_t* dst, int w, int h, const int16_t* mask1,
                                const int16_t* mask2, const int16_t* mask3, const int16_t* mask4, float weight1,
                                float weight2, float weight3, float weight4)
{
    if (!src || !dst || !mask1 || !mask2 || !mask3 || !mask4 || w <= 0 || h <= 0)
        return;
    StructureArgs a = maskArgs(src, dst, w, h, mask1, mask2, mask3, mask4);
    const float wt[4] = {weight1, weight2, weight3, weight4};
    for (int k = 0; k < 4; ++k)
        a.weight[k] = MP_safeTrunc(wt[k] * 16384.0f, -0x40000000, 0x40000000);
    runBands(MP_task_blendStructureDetection, &a);
}

void MP_task_showStructureDetection(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < a->w; ++x) {
            const size_t i = pix(a, x, y);
            int64_t ak[4];
            for (int k = 0; k < 4; ++k)
                ak[k] = MP_safeTrunc(static_cast<float>(a->cmask[k][i]) * a->fweight[k] * 65536.0f, -0x40000000,
                                     0x40000000);
            uint16_t* d = a->dst + i * 3;
            for (int c = 0; c < 3; ++c) {
                int64_t v = 0;
                for (int k = 0; k < 4; ++k)
                    v += static_cast<int64_t>((a->colour[k] >> (16 - 8 * c)) & 255) * ak[k];
                d[c] = clamp16(v);
            }
        }
    }
}

void MP_showStructureDetection(const uint16_t* src, uint16_t* dst, int w, int h, const int16_t* mask1,
                               const int16_t* mask2, const int16_t* mask3, const int16_t* mask4, float factor1,
                               float factor2, float factor3, float factor4, int colour1, int colour2, int colour3,
                               int colour4)
{
    if (!dst || !mask1 || !mask2 || !mask3 || !mask4 || w <= 0 || h <= 0)
        return;
    StructureArgs a = maskArgs(src, dst, w, h, mask1, mask2, mask3, mask4);
    const float f[4] = {factor1, factor2, factor3, factor4};
    const int col[4] = {colour1, colour2, colour3, colour4};
    for (int k = 0; k < 4; ++k) {
        a.fweight[k] = f[k] * 1.1968044e-7f;
        a.colour[k] = col[k];
    }
    runBands(MP_task_showStructureDetection, &a);
}

namespace {
void showRecord(uint16_t* out, int w, int h, const uint16_t* record, int i0, int i1, int i2)
{
    if (!out || !record || w <= 0 || h <= 0)
        return;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    for (size_t i = 0; i < n; ++i) {
        out[i * 3] = record[i * 5 + i0];
        out[i * 3 + 1] = record[i * 5 + i1];
        out[i * 3 + 2] = record[i * 5 + i2];
    }
}
} // namespace

void MP_showStructureLuminance(const void*, uint16_t* out, int w, int h, const uint16_t* record)
{
    showRecord(out, w, h, record, 0, 0, 0);
}
void MP_showStructureDetail(const void*, uint16_t* out, int w, int h, const uint16_t* record)
{
    showRecord(out, w, h, record, 1, 1, 1);
}
void MP_showStructureChrominance(const void*, uint16_t* out, int w, int h, const uint16_t* record)
{
    showRecord(out, w, h, record, 2, 3, 4);
}

void MP_task_blendBufferIntensity(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    const int64_t k = a->k;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t i0 = pix(a, 0, y) * 3;
        for (size_t i = i0; i < i0 + static_cast<size_t>(a->w) * 3; ++i) {
            const int64_t s = a->src[i];
            a->dst[i] = clamp16(s + (((static_cast<int64_t>(a->dst[i]) - s) * k) >> 13));
        }
    }
}

void MP_blendBufferIntensity(const uint16_t* src, uint16_t* dst, int w, int h, float intensity)
{
    if (!src || !dst || w <= 0 || h <= 0)
        return;
    StructureArgs a{};
    a.w = w;
    a.h = h;
    a.src = src;
    a.dst = dst;
    a.k = MP_safeTrunc(8192.0f * intensity, -0x40000000, 0x40000000);
    runBands(MP_task_blendBufferIntensity, &a);
}

void MP_task_calcGreyConversion(TaskFuncParams t)
{
    const StructureArgs* a = MP_taskArgs<StructureArgs>(t);
    const float sum = a->wr + a->wg + a->wb;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < a->w; ++x) {
            const size_t i = pix(a, x, y) * 3;
            const uint16_t* s = a->src + i;
            float g = static_cast<float>(s[0]) * a->wr + static_cast<float>(s[1]) * a->wg +
                      static_cast<float>(s[2]) * a->wb;
            if (sum > 0.0f)
                g /= sum;
            const uint16_t v = static_cast<uint16_t>(MP_safeTrunc(g, 0, 65535));
            a->dst[i] = a->dst[i + 1] = a->dst[i + 2] = v;
        }
    }
}

void MP_UI_calcGreyConversion(const uint16_t* src, uint16_t* dst, int w, int h, float hue, float strength)
{
    if (!src || !dst || w <= 0 || h <= 0)
        return;
    static constexpr float kSectors[6][3] = {{1.0f, 0.1f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f},
                                             {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {1.0f, 0.1f, 1.0f}};
    // Hues outside 0..6 wrap around the circle (NaN counts as 0). The sector
    // comes from the floor, which is the truncation inside 0..6 and keeps
    // sector and fraction together below 0.
    if (!std::isfinite(hue))
        hue = 0.0f;
    const float fl = std::floor(hue);
    const int64_t base = static_cast<int64_t>(MP_safeTrunc(fl, -0x40000000, 0x40000000));
    const int k = static_cast<int>(((base % 6) + 6) % 6);
    const int k1 = (k + 1) % 6;
    const float f = hue - fl;
    float wgt[3];
    for (int c = 0; c < 3; ++c)
        wgt[c] = ((1.0f - f) * kSectors[k][c] + f * kSectors[k1][c]) * strength + (1.0f - strength) * 0.5f;
    StructureArgs a{};
    a.w = w;
    a.h = h;
    a.src = src;
    a.dst = dst;
    a.wr = wgt[0];
    a.wg = wgt[1];
    a.wb = wgt[2];
    runBands(MP_task_calcGreyConversion, &a);
}
