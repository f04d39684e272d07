#include "engine/core/geometry.h"

#include "engine/core/results.h"
#include "engine/core/settings.h"
#include "engine/core/tasks.h"
#include "engine/filters/filterframe.h"

#include <cmath>
#include <cstdlib>
#ifdef MP_FILTERS_X86
#include <immintrin.h>
#endif
#include <cstring>

int* MP_geo_table[MP_MAX_GEOMETRYSETS] = {};
int MP_geo_size[MP_MAX_GEOMETRYSETS] = {};
float MP_geo_exponent2[MP_MAX_GEOMETRYSETS][MP_GEO_FALLOFF_SIZE] = {};
float MP_geo_exponent2_par[MP_MAX_GEOMETRYSETS][3] = {{-1.0f, 0.0f, 0.0f}};
uint8_t* MP_geo_lineaddidx = nullptr;
uint8_t* MP_geo_linesubidx = nullptr;
int* MP_geo_lineaddam = nullptr;
int* MP_geo_linesubam = nullptr;
int MP_geo_lineaddsize = 0;
int MP_geo_colfirst[MP_MAX_GEOMETRYSETS] = {};
int MP_geo_collast[MP_MAX_GEOMETRYSETS] = {};

namespace {

// Whether a set's falloff table holds what its triple in MP_geo_exponent2_par
// says. A table whose building pass was cut short by a cancel request is not.
bool s_falloffValid[MP_MAX_GEOMETRYSETS] = {};

int s_failAllocation = -1;

void* geoAlloc(size_t count, size_t size)
{
    if (s_failAllocation >= 0 && s_failAllocation-- == 0)
        return nullptr;
    // Zeroed, so per-row counts of rows no pass has reached yet read as empty.
    return std::calloc(count, size);
}

enum SetField { DIRECTION = 0, SIZEH, SIZEV, SHARPNESS, EXPONENT, INTENSITY, CENTERX, CENTERY };

// What the passes of one preparation read.
struct GeoPassArgs {
    const float* sets; // the normalised geometry slot
    int width;
    int height;
    int panorama;
    int count;                         // sets handled by the pass
    int idx[MP_MAX_GEOMETRYSETS];      // their indices
    const MP_Params* params;
};

// Distance term of a normalised distance u: u^exponent in fixed point with
// 2^28 = 1.0, or "outside" beyond the rim. Values no caller in range produces
// (NaN, negative or huge powers) count as outside, so a term never becomes a
// negative or oversized table index.
inline int geoTerm(float u, float exponent)
{
    if (!(u <= 1.0f))
        return MP_GEO_OUTSIDE;
    const float f = std::pow(u, exponent) * 268435456.0f;
    if (!(f >= 0.0f) || !(f < static_cast<float>(MP_GEO_OUTSIDE)))
        return MP_GEO_OUTSIDE;
    return static_cast<int>(f);
}

void geoFalloffTask(TaskFuncParams tp)
{
    const GeoPassArgs* a = MP_taskArgs<GeoPassArgs>(tp);
    const int start = MP_taskStart(tp);
    const int end = MP_taskEnd(tp);
    for (int k = 0; k < a->count; ++k) {
        const int s = a->idx[k];
        const float sharpness = MP_geo_exponent2_par[s][0];
        const float exponent = MP_geo_exponent2_par[s][1];
        const float intensity = MP_geo_exponent2_par[s][2];
        const float rootExponent = 1.0f / (0.08f * exponent + 0.92f);
        float* table = MP_geo_exponent2[s];
        for (int t = start; t < end; ++t)
            table[t] = std::pow(1.0f - std::pow(static_cast<float>(t) * (1.0f / 16383.0f), rootExponent), sharpness) *
                       intensity;
    }
}

void geoColumnTask(TaskFuncParams tp)
{
    const GeoPassArgs* a = MP_taskArgs<GeoPassArgs>(tp);
    const int start = MP_taskStart(tp);
    const int end = MP_taskEnd(tp);
    const int width = a->width;
    for (int k = 0; k < a->count; ++k) {
        const int s = a->idx[k];
        const float* set = a->sets + s * MP_GEO_VALUES_PER_SET;
        const float sizeh = set[SIZEH];
        const float exponent = set[EXPONENT];
        const float centerx = set[CENTERX];
        int* terms = MP_geo_table[s];
        for (int x = start; x < end; ++x) {
            float d = MP_fabs(static_cast<float>(x) - centerx);
            if (a->panorama) {
                // a panorama wraps around: the set also reaches across the seam
                const float left = MP_fabs(static_cast<float>(x - width) - centerx);
                const float right = MP_fabs(static_cast<float>(x + width) - centerx);
                d = MP_min(left, MP_min(d, right));
            }
            terms[2 * static_cast<size_t>(x)] = geoTerm(d * sizeh, exponent);
        }
    }
}

void geoRowTask(TaskFuncParams tp)
{
    const GeoPassArgs* a = MP_taskArgs<GeoPassArgs>(tp);
    const int start = MP_taskStart(tp);
    const int end = MP_taskEnd(tp);
    for (int k = 0; k < a->count; ++k) {
        const int s = a->idx[k];
        const float* set = a->sets + s * MP_GEO_VALUES_PER_SET;
        const float sizev = set[SIZEV];
        const float exponent = set[EXPONENT];
        const float centery = set[CENTERY];
        int* terms = MP_geo_table[s];
        for (int y = start; y < end; ++y)
            terms[2 * static_cast<size_t>(y) + 1] = geoTerm(MP_fabs(static_cast<float>(y) - centery) * sizev, exponent);
    }
}

void geoRowLists(const GeoPassArgs* a, int start, int end)
{
    const MP_Params* params = a->params;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * MP_MAX_GEOMETRYSETS;
        const size_t yi = 2 * static_cast<size_t>(y) + 1;
        int n = 0;
        for (int k = 0; k < params->geometry_addam; ++k) {
            const int s = params->geometry_addidx[k];
            if (MP_geo_table[s][yi] <= MP_GEO_ONE - 1)
                MP_geo_lineaddidx[row + n++] = static_cast<uint8_t>(s);
        }
        MP_geo_lineaddam[y] = n;
        n = 0;
        for (int k = 0; k < params->geometry_subam; ++k) {
            const int s = params->geometry_subidx[k];
            if (MP_geo_table[s][yi] <= MP_GEO_ONE - 1)
                MP_geo_linesubidx[row + n++] = static_cast<uint8_t>(s);
        }
        MP_geo_linesubam[y] = n;
    }
}

// One pass over max(width, height) indices: column terms of the columns,
// row terms and set lists of the rows (a row's lists read only its own terms).
void geoTermsTask(TaskFuncParams tp)
{
    const GeoPassArgs* a = MP_taskArgs<GeoPassArgs>(tp);
    const int start = MP_taskStart(tp);
    const int end = MP_taskEnd(tp);
    TaskFuncParams part = tp;
    if (start < a->width) {
        MP_setTaskRange(part, start, MP_imin(end, a->width));
        geoColumnTask(part);
    }
    if (start < a->height) {
        const int rowEnd = MP_imin(end, a->height);
        MP_setTaskRange(part, start, rowEnd);
        geoRowTask(part);
        geoRowLists(a, start, rowEnd);
    }
}

void normaliseSet(float* set, int width, int height)
{
    set[SIZEH] = 1.0f / ((0.999f * set[SIZEH] + 0.001f) * static_cast<float>(width));
    set[SIZEV] = 1.0f / ((0.999f * set[SIZEV] + 0.001f) * static_cast<float>(height));
    set[SHARPNESS] = (1.0f - set[SHARPNESS]) * 1.999f + 0.001f;
    const float e = 0.999f * set[EXPONENT] + 0.001f;
    if (e < 0.5f) {
        set[EXPONENT] = 2.0f * e + 1.0f;
    } else {
        const float q = (e - 0.5f) * 8.0f;
        set[EXPONENT] = q * q + 2.0f;
    }
    set[CENTERX] = set[CENTERX] * static_cast<float>(width);
    set[CENTERY] = set[CENTERY] * static_cast<float>(height);
}

// Frees the four per-row set lists and puts the given ones, with room for
// `rows` rows, in their place.
void replaceRowLists(uint8_t* addIdx, uint8_t* subIdx, int* addAm, int* subAm, int rows)
{
    std::free(MP_geo_lineaddidx);
    std::free(MP_geo_linesubidx);
    std::free(MP_geo_lineaddam);
    std::free(MP_geo_linesubam);
    MP_geo_lineaddidx = addIdx;
    MP_geo_linesubidx = subIdx;
    MP_geo_lineaddam = addAm;
    MP_geo_linesubam = subAm;
    MP_geo_lineaddsize = rows;
}

bool cancelRequested() { return MP_UI_GetIsCalculatingCancelRequest() != 0; }

// The column span of every active set, from its x terms.
void findColumnSpans(const GeoPassArgs& a)
{
    for (int k = 0; k < a.count; ++k) {
        const int s = a.idx[k];
        const int* terms = MP_geo_table[s];
        int first = 0;
        while (first < a.width && terms[2 * static_cast<size_t>(first)] > MP_GEO_ONE - 1)
            ++first;
        int last = a.width - 1;
        while (last >= first && terms[2 * static_cast<size_t>(last)] > MP_GEO_ONE - 1)
            --last;
        MP_geo_colfirst[s] = first;
        MP_geo_collast[s] = last;
    }
}

// The falloff of one set over columns lo .. hi, raised into strongest[x]
// where it is larger: the test and the comparison of
// MP_geometryStrongestFalloff for each column.
inline void strongestRunPortable(const int* terms, const float* falloff, int ty, int lo, int hi, float* strongest)
{
    for (int x = lo; x <= hi; ++x) {
        const int tx = terms[2 * static_cast<size_t>(x)];
        if (tx <= MP_GEO_ONE - 1) {
            const int t = tx + ty;
            if (t <= MP_GEO_ONE - 1) {
                const float f = falloff[t >> MP_GEO_FALLOFF_SHIFT];
                if (f > strongest[x])
                    strongest[x] = f;
            }
        }
    }
}

#ifdef MP_FILTERS_X86
// Eight columns at a time: the x terms of a row's columns are every other
// entry of the table; a column outside the set fetches no falloff and keeps
// its value (-1 never exceeds it). The ordered comparison skips NaN as the
// scalar test does.
__attribute__((target("avx2"))) void strongestRunAvx2(const int* terms, const float* falloff, int ty, int lo, int hi,
                                                      float* strongest)
{
    const __m256i vty = _mm256_set1_epi32(ty);
    const __m256i one = _mm256_set1_epi32(MP_GEO_ONE);
    const __m256 none = _mm256_set1_ps(-1.0f);
    int x = lo;
    for (; x + 7 <= hi; x += 8) {
        const float* p = reinterpret_cast<const float*>(terms + 2 * static_cast<size_t>(x));
        const __m256 even = _mm256_shuffle_ps(_mm256_loadu_ps(p), _mm256_loadu_ps(p + 8), _MM_SHUFFLE(2, 0, 2, 0));
        const __m256i tx = _mm256_permute4x64_epi64(_mm256_castps_si256(even), _MM_SHUFFLE(3, 1, 2, 0));
        const __m256i t = _mm256_add_epi32(tx, vty);
        const __m256i inside = _mm256_and_si256(_mm256_cmpgt_epi32(one, tx), _mm256_cmpgt_epi32(one, t));
        const __m256i index = _mm256_srli_epi32(_mm256_and_si256(t, inside), MP_GEO_FALLOFF_SHIFT);
        const __m256 f = _mm256_mask_i32gather_ps(none, falloff, index, _mm256_castsi256_ps(inside), 4);
        const __m256 s = _mm256_loadu_ps(strongest + x);
        _mm256_storeu_ps(strongest + x, _mm256_blendv_ps(s, f, _mm256_cmp_ps(f, s, _CMP_GT_OQ)));
    }
    strongestRunPortable(terms, falloff, ty, x, hi, strongest);
}
#endif

// The strongest falloff of the listed sets over columns x0 .. x1 - 1 of row
// y into strongest[0 .. x1 - x0), -1 where none covers a column.
template <class Run>
inline void strongestRow(Run run, const uint8_t* sets, int count, size_t yi, int x0, int x1, float* strongest)
{
    for (int i = 0; i < x1 - x0; ++i)
        strongest[i] = -1.0f;
    for (int k = 0; k < count; ++k) {
        const int s = sets[k];
        const int lo = MP_imax(x0, MP_geo_colfirst[s]);
        const int hi = MP_imin(x1 - 1, MP_geo_collast[s]);
        if (lo <= hi)
            run(MP_geo_table[s], MP_geo_exponent2[s], MP_geo_table[s][yi], lo, hi, strongest - x0);
    }
}

// The opacity of each column from its strongest additive and subtractive
// falloffs (out may be add).
inline void combineRow(const float* add, const float* sub, int n, float uncovered, float* out)
{
    for (int i = 0; i < n; ++i) {
        const float a = add[i] < 0.0f ? uncovered : add[i];
        const float o = sub[i] >= 0.0f ? a - sub[i] : a;
        out[i] = o < 0.0f ? 0.0f : (o < 1.0f ? o : 1.0f);
    }
}

template <class Run, class Combine>
inline void opacityRow(Run run, Combine combine, int y, int x0, int x1, const MP_Params* params, float* out,
                       float* scratch)
{
    const size_t row = static_cast<size_t>(y) * MP_MAX_GEOMETRYSETS;
    const size_t yi = 2 * static_cast<size_t>(y) + 1;
    float* add = out;
    float* sub = scratch;
    strongestRow(run, MP_geo_lineaddidx + row, MP_geo_lineaddam[y], yi, x0, x1, add);
    strongestRow(run, MP_geo_linesubidx + row, MP_geo_linesubam[y], yi, x0, x1, sub);
    combine(add, sub, x1 - x0, params->geometry_addam > 0 ? 0.0f : 1.0f, out);
}

#ifdef MP_FILTERS_X86
// The same selections as combineRow, eight columns at a time; an ordered
// comparison is false for NaN as the scalar one is.
__attribute__((target("avx2"))) void combineRowAvx2(const float* add, const float* sub, int n, float uncovered,
                                                    float* out)
{
    const __m256 zero = _mm256_setzero_ps();
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 none = _mm256_set1_ps(uncovered);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256 s = _mm256_loadu_ps(sub + i);
        __m256 a = _mm256_loadu_ps(add + i);
        a = _mm256_blendv_ps(a, none, _mm256_cmp_ps(a, zero, _CMP_LT_OQ));
        const __m256 o = _mm256_blendv_ps(a, _mm256_sub_ps(a, s), _mm256_cmp_ps(s, zero, _CMP_GE_OQ));
        const __m256 held = _mm256_blendv_ps(one, o, _mm256_cmp_ps(o, one, _CMP_LT_OQ));
        _mm256_storeu_ps(out + i, _mm256_blendv_ps(held, zero, _mm256_cmp_ps(o, zero, _CMP_LT_OQ)));
    }
    combineRow(add + i, sub + i, n - i, uncovered, out + i);
}

__attribute__((target("avx2"), flatten)) void opacityRowAvx2(int y, int x0, int x1, const MP_Params* params,
                                                             float* out, float* scratch)
{
    opacityRow(strongestRunAvx2, combineRowAvx2, y, x0, x1, params, out, scratch);
}
#endif

} // namespace

void MP_geometryTestFailAllocation(int n) { s_failAllocation = n < 0 ? -1 : n; }

int MP_geometryAllocBuffers(int width, int height)
{
    const int need = MP_imax(width, height);
    int* sets[MP_MAX_GEOMETRYSETS] = {};
    uint8_t* addIdx = nullptr;
    uint8_t* subIdx = nullptr;
    int* addAm = nullptr;
    int* subAm = nullptr;
    const bool growRows = height > MP_geo_lineaddsize;

    // Everything is obtained before anything is replaced, so a failure leaves
    // the buffers of the last preparation as they were.
    bool ok = true;
    for (int s = 0; s < MP_MAX_GEOMETRYSETS && ok; ++s) {
        if (MP_geo_size[s] < need) {
            sets[s] = static_cast<int*>(geoAlloc(2 * static_cast<size_t>(need), sizeof(int)));
            ok = sets[s] != nullptr;
        }
    }
    if (ok && growRows) {
        const size_t rows = static_cast<size_t>(height);
        addIdx = static_cast<uint8_t*>(geoAlloc(rows * MP_MAX_GEOMETRYSETS, 1));
        subIdx = addIdx ? static_cast<uint8_t*>(geoAlloc(rows * MP_MAX_GEOMETRYSETS, 1)) : nullptr;
        addAm = subIdx ? static_cast<int*>(geoAlloc(rows, sizeof(int))) : nullptr;
        subAm = addAm ? static_cast<int*>(geoAlloc(rows, sizeof(int))) : nullptr;
        ok = subAm != nullptr;
    }
    if (!ok) {
        for (int* p : sets)
            std::free(p);
        std::free(addIdx);
        std::free(subIdx);
        std::free(addAm);
        std::free(subAm);
        return MP_ERR_NOMEMORY;
    }

    for (int s = 0; s < MP_MAX_GEOMETRYSETS; ++s) {
        if (sets[s]) {
            std::free(MP_geo_table[s]);
            MP_geo_table[s] = sets[s];
            MP_geo_size[s] = need;
        }
    }
    if (growRows)
        replaceRowLists(addIdx, subIdx, addAm, subAm, height);
    return MP_OK;
}

void MP_geometryFreeBuffers()
{
    for (int s = 0; s < MP_MAX_GEOMETRYSETS; ++s) {
        std::free(MP_geo_table[s]);
        MP_geo_table[s] = nullptr;
        MP_geo_size[s] = 0;
        MP_geo_exponent2_par[s][0] = s == 0 ? -1.0f : 0.0f;
        MP_geo_exponent2_par[s][1] = 0.0f;
        MP_geo_exponent2_par[s][2] = 0.0f;
        s_falloffValid[s] = false;
    }
    replaceRowLists(nullptr, nullptr, nullptr, nullptr, 0);
}

int MP_calcPrepareGeometry(int width, int height, int slot, MP_Params* params)
{
    if (!params || slot < 0 || slot >= MP_MAX_PARAMETER)
        return MP_ERR_INPUT;
    if (MP_geometryAllocBuffers(width, height) != MP_OK)
        return MP_ERR_NOMEMORY;

    params->geometry_addam = 0;
    params->geometry_subam = 0;
    float* sets = params->p[slot];

    GeoPassArgs active{};
    GeoPassArgs rebuild{};
    for (int i = 0; i < MP_MAX_GEOMETRYSETS; ++i) {
        float* set = sets + i * MP_GEO_VALUES_PER_SET;
        if (set[DIRECTION] == 0.0f)
            continue;
        if (set[DIRECTION] == 1.0f)
            params->geometry_addidx[params->geometry_addam++] = i;
        else if (set[DIRECTION] == 2.0f)
            params->geometry_subidx[params->geometry_subam++] = i;

        normaliseSet(set, width, height);

        float* par = MP_geo_exponent2_par[i];
        if (!s_falloffValid[i] || par[0] != set[SHARPNESS] || par[1] != set[EXPONENT] || par[2] != set[INTENSITY]) {
            par[0] = set[SHARPNESS];
            par[1] = set[EXPONENT];
            par[2] = set[INTENSITY];
            rebuild.idx[rebuild.count++] = i;
        }
        active.idx[active.count++] = i;
    }

    active.sets = sets;
    active.width = width;
    active.height = height;
    active.panorama = MP_UI_GetPanoramaMode() != 0;
    active.params = params;

    if (rebuild.count > 0) {
        // A cancel request drops queued tasks: a table built then is incomplete
        // and must not be taken for its triple by a later run.
        const bool complete = !cancelRequested();
        MP_runTablePass(geoFalloffTask, MP_makeTask(params, &rebuild), MP_GEO_FALLOFF_SIZE);
        const bool valid = complete && !cancelRequested();
        for (int k = 0; k < rebuild.count; ++k)
            s_falloffValid[rebuild.idx[k]] = valid;
    }
    const int extent = MP_imax(width, height);
    if (extent > 0)
        MP_runTablePass(geoTermsTask, MP_makeTask(params, &active), extent);
    findColumnSpans(active);

    params->geometry_needed = active.count;
    return MP_OK;
}

void MP_calcGeometryOpacityRow(int y, int x0, int x1, const MP_Params* params, float* out, float* scratch)
{
    if (x1 <= x0)
        return;
#ifdef MP_FILTERS_X86
    if (mp_filters::MP_filterHasAvx2()) {
        opacityRowAvx2(y, x0, x1, params, out, scratch);
        return;
    }
#endif
    opacityRow(strongestRunPortable, combineRow, y, x0, x1, params, out, scratch);
}
