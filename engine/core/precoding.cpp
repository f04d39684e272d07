#include "engine/core/precoding.h"

#include "engine/core/results.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// ---- fixed tables of the DCT ------------------------------------------------
// Indexed by k = u * (2x + 1) (u the frequency, x the sample): the angle
// a_k = k * pi / 16 in single precision, an integer table for the first pass of
// the forward transform and float tables for the second passes, laid out per
// (frequency, sample) so the block loops read them linearly.
constexpr float kS = 0.70710677f; // 1 / sqrt(2)

struct DctTables {
    int32_t T[8][8];  // T[u][x] = (int)(2048 cos a_k)
    float F[8][8];    // F[v][y] = cos a_k * 2^-19
    float G[8][8];    // G[v][y] = cos a_k / 128; row 0: (1/128) * s
    int32_t TT[8][8]; // TT[x][u] = T[u][x]

    DctTables()
    {
        for (int u = 0; u < 8; ++u) {
            for (int x = 0; x < 8; ++x) {
                const int k = u * (2 * x + 1);
                const float a = (static_cast<float>(k) * 3.1415927f) * 0.0625f;
                const float c = std::cos(a);
                T[u][x] = static_cast<int32_t>(2048.0f * c);
                TT[x][u] = T[u][x];
                F[u][x] = ((c * 0.25f) * 0.015625f) * 0.00048828125f;
                G[u][x] = k == 0 ? (1.0f / 128.0f) * kS : ((c * 0.00048828125f) * 0.25f) * 64.0f;
            }
        }
    }
};

const DctTables& tables()
{
    static const DctTables t; // built once, read-only afterwards
    return t;
}

// The standard JPEG zig-zag scan: position j names coefficient (row, column).
constexpr uint8_t kZigRow[64] = {0, 0, 1, 2, 1, 0, 0, 1, 2, 3, 4, 3, 2, 1, 0, 0, 1, 2, 3, 4, 5, 6,
                                 5, 4, 3, 2, 1, 0, 0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 2,
                                 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 4, 5, 6, 7, 7, 6, 5, 6, 7, 7};
constexpr uint8_t kZigCol[64] = {0, 1, 0, 0, 1, 2, 3, 2, 1, 0, 0, 1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 0,
                                 1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 7, 7,
                                 6, 5, 4, 3, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 5, 6, 7, 7, 6, 7};

// ---- one block --------------------------------------------------------------

// Samples f[y][x] to codes c[v][u].
void dctBlock(const DctTables& tb, const uint16_t f[8][8], uint16_t c[8][8])
{
    // First pass, integer: t[y][u] = sum over x of f(y, x) T[u][x].
    float t[8][8];
    for (int y = 0; y < 8; ++y) {
        int32_t acc[8] = {};
        for (int x = 0; x < 8; ++x) {
            const int32_t s = f[y][x];
            for (int u = 0; u < 8; ++u)
                acc[u] += s * tb.TT[x][u];
        }
        for (int u = 0; u < 8; ++u)
            t[y][u] = static_cast<float>(acc[u]);
    }
    // Second pass, single precision, summed over y = 0..7 in order.
    for (int v = 0; v < 8; ++v) {
        float C[8];
        for (int u = 0; u < 8; ++u)
            C[u] = tb.F[v][0] * t[0][u];
        for (int y = 1; y < 8; ++y) {
            const float fv = tb.F[v][y];
            for (int u = 0; u < 8; ++u)
                C[u] = C[u] + fv * t[y][u];
        }
        if (v == 0) {
            for (int u = 0; u < 8; ++u)
                C[u] = C[u] * kS;
        }
        C[0] = C[0] * kS;
        for (int u = 0; u < 8; ++u) {
            const float q = C[u];
            c[v][u] = q < -32767.0f ? 0 : (q > 32767.0f ? 65534 : static_cast<uint16_t>(q + 32767.5f));
        }
    }
}

// Codes c[v][u] to samples f[y][x].
void idctBlock(const DctTables& tb, const uint16_t c[8][8], uint16_t f[8][8])
{
    // First pass: t[v][x] = s * (d(v,0) * 2048) + (integer sum over u = 1..7 of d(v,u) T[u][x]).
    float t[8][8];
    for (int v = 0; v < 8; ++v) {
        int32_t acc[8] = {};
        for (int u = 1; u < 8; ++u) {
            const int32_t d = static_cast<int32_t>(c[v][u]) - 32767;
            for (int x = 0; x < 8; ++x)
                acc[x] += d * tb.T[u][x];
        }
        const float dc = kS * static_cast<float>((static_cast<int32_t>(c[v][0]) - 32767) * 2048);
        for (int x = 0; x < 8; ++x)
            t[v][x] = dc + static_cast<float>(acc[x]);
    }
    // Second pass: f = t1 G[1][y] + G0 t0, then + t_v G[v][y] for v = 2..7.
    const float g0 = tb.G[0][0];
    for (int y = 0; y < 8; ++y) {
        float s[8];
        const float g1 = tb.G[1][y];
        for (int x = 0; x < 8; ++x)
            s[x] = t[1][x] * g1 + g0 * t[0][x];
        for (int v = 2; v < 8; ++v) {
            const float gv = tb.G[v][y];
            for (int x = 0; x < 8; ++x)
                s[x] = s[x] + t[v][x] * gv;
        }
        for (int x = 0; x < 8; ++x) {
            const float q = s[x];
            f[y][x] = q < 0.0f ? 0 : (q > 65535.0f ? 65535 : static_cast<uint16_t>(q));
        }
    }
}

void loadBlock(const uint16_t* plane, size_t width, int bx, int by, uint16_t b[8][8])
{
    const uint16_t* p = plane + static_cast<size_t>(by) * 8 * width + static_cast<size_t>(bx) * 8;
    for (int y = 0; y < 8; ++y)
        std::memcpy(b[y], p + y * width, 8 * sizeof(uint16_t));
}

void storeBlock(uint16_t* plane, size_t width, int bx, int by, const uint16_t b[8][8])
{
    uint16_t* p = plane + static_cast<size_t>(by) * 8 * width + static_cast<size_t>(bx) * 8;
    for (int y = 0; y < 8; ++y)
        std::memcpy(p + y * width, b[y], 8 * sizeof(uint16_t));
}

// ---- the steps ----------------------------------------------------------------
// Each step reads the working data at `cur`; steps that cannot work in place
// write to `spare` and swap the two, so the data moves between the caller's
// buffer and the scratch block without extra copies.

struct Geometry {
    int width;
    int height;
    size_t pixels; // width x height, the length of one plane
};

// Step 2: for each channel and row, the first sample stays; every further
// sample becomes (c - p + 0x8000) mod 65536 with c and p this and the previous
// input sample halved.
void rowDeltaEncode(uint16_t* buf, const Geometry& g)
{
    const size_t w3 = static_cast<size_t>(g.width) * 3;
    for (int y = 0; y < g.height; ++y) {
        uint16_t* row = buf + static_cast<size_t>(y) * w3;
        // Backwards, so every sample still sees its predecessor's input value.
        for (size_t i = w3 - 1; i >= 3; --i)
            row[i] = static_cast<uint16_t>((row[i] >> 1) - (row[i - 3] >> 1) + 0x8000);
    }
}

void rowDeltaDecode(uint16_t* buf, const Geometry& g)
{
    const size_t w3 = static_cast<size_t>(g.width) * 3;
    for (int y = 0; y < g.height; ++y) {
        uint16_t* row = buf + static_cast<size_t>(y) * w3;
        for (size_t i = 3; i < w3; ++i)
            row[i] = static_cast<uint16_t>(row[i - 3] + 2 * row[i]);
    }
}

// Step 1: six byte planes in the order R low, G low, B low, R high, G high, B high.
void bytePlanesEncode(const uint16_t* in, uint16_t* out, const Geometry& g)
{
    const size_t n = g.pixels;
    uint8_t* o = reinterpret_cast<uint8_t*>(out);
    for (size_t i = 0; i < n; ++i) {
        const uint16_t r = in[3 * i], gr = in[3 * i + 1], b = in[3 * i + 2];
        o[i] = static_cast<uint8_t>(r);
        o[n + i] = static_cast<uint8_t>(gr);
        o[2 * n + i] = static_cast<uint8_t>(b);
        o[3 * n + i] = static_cast<uint8_t>(r >> 8);
        o[4 * n + i] = static_cast<uint8_t>(gr >> 8);
        o[5 * n + i] = static_cast<uint8_t>(b >> 8);
    }
}

void bytePlanesDecode(const uint16_t* in, uint16_t* out, const Geometry& g)
{
    const size_t n = g.pixels;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(in);
    for (size_t i = 0; i < n; ++i) {
        out[3 * i] = static_cast<uint16_t>(p[i] | (p[3 * n + i] << 8));
        out[3 * i + 1] = static_cast<uint16_t>(p[n + i] | (p[4 * n + i] << 8));
        out[3 * i + 2] = static_cast<uint16_t>(p[2 * n + i] | (p[5 * n + i] << 8));
    }
}

// RGB48 pixels to three planes R, G, B and back.
void splitPlanes(const uint16_t* in, uint16_t* out, const Geometry& g)
{
    const size_t n = g.pixels;
    for (size_t i = 0; i < n; ++i) {
        out[i] = in[3 * i];
        out[n + i] = in[3 * i + 1];
        out[2 * n + i] = in[3 * i + 2];
    }
}

void joinPlanes(const uint16_t* in, uint16_t* out, const Geometry& g)
{
    const size_t n = g.pixels;
    for (size_t i = 0; i < n; ++i) {
        out[3 * i] = in[i];
        out[3 * i + 1] = in[n + i];
        out[3 * i + 2] = in[2 * n + i];
    }
}

// Step 4: planes, then the DCT of each plane's full blocks (margins keep their samples).
void dctEncode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    splitPlanes(cur, spare, g);
    for (int p = 0; p < 3; ++p)
        Dct(spare + p * g.pixels, spare + p * g.pixels, g.width, g.height);
    std::swap(cur, spare);
}

void dctDecode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    for (int p = 0; p < 3; ++p)
        IDct(cur + p * g.pixels, cur + p * g.pixels, g.width, g.height);
    joinPlanes(cur, spare, g);
    std::swap(cur, spare);
}

// The samples of a plane outside its full blocks, packed: for each block row
// its right margin (columns W8 .. W-1) row by row, then every row from H8 on.
// toStream: plane -> packed stream, else packed stream -> plane.
void copyMargins(const uint16_t* from, uint16_t* to, const Geometry& g, bool toStream)
{
    const size_t w = static_cast<size_t>(g.width);
    const int w8 = g.width / 8 * 8, h8 = g.height / 8 * 8;
    const size_t right = w - static_cast<size_t>(w8);
    size_t packed = 0;
    if (right > 0) {
        for (int y = 0; y < h8; ++y, packed += right) {
            const size_t at = static_cast<size_t>(y) * w + w8;
            if (toStream)
                std::memcpy(to + packed, from + at, right * sizeof(uint16_t));
            else
                std::memcpy(to + at, from + packed, right * sizeof(uint16_t));
        }
    }
    const size_t below = static_cast<size_t>(g.height - h8) * w;
    const size_t at = static_cast<size_t>(h8) * w;
    if (toStream)
        std::memcpy(to + packed, from + at, below * sizeof(uint16_t));
    else
        std::memcpy(to + at, from + packed, below * sizeof(uint16_t));
}

// Step 8 on one plane: the coefficients of all full blocks grouped by zig-zag
// position (block rows top to bottom, block columns left to right), then the
// right margin of the block rows row by row, then the rows below the blocks.
void dctRegroupPlane(const DctTables& tb, const uint16_t* plane, uint16_t* stream, const Geometry& g)
{
    const size_t w = static_cast<size_t>(g.width);
    const int bw = g.width / 8, bh = g.height / 8;
    const size_t blocks = static_cast<size_t>(bw) * bh;
    uint16_t f[8][8], c[8][8];
    for (int by = 0; by < bh; ++by) {
        for (int bx = 0; bx < bw; ++bx) {
            loadBlock(plane, w, bx, by, f);
            dctBlock(tb, f, c);
            const size_t b = static_cast<size_t>(by) * bw + bx;
            for (int j = 0; j < 64; ++j)
                stream[j * blocks + b] = c[kZigRow[j]][kZigCol[j]];
        }
    }
    copyMargins(plane, stream + 64 * blocks, g, true);
}

void regroupIdctPlane(const DctTables& tb, const uint16_t* stream, uint16_t* plane, const Geometry& g)
{
    const size_t w = static_cast<size_t>(g.width);
    const int bw = g.width / 8, bh = g.height / 8;
    const size_t blocks = static_cast<size_t>(bw) * bh;
    uint16_t f[8][8], c[8][8];
    for (int by = 0; by < bh; ++by) {
        for (int bx = 0; bx < bw; ++bx) {
            const size_t b = static_cast<size_t>(by) * bw + bx;
            for (int j = 0; j < 64; ++j)
                c[kZigRow[j]][kZigCol[j]] = stream[j * blocks + b];
            idctBlock(tb, c, f);
            storeBlock(plane, w, bx, by, f);
        }
    }
    copyMargins(stream + 64 * blocks, plane, g, false);
}

// Step 8: planes, then per plane the DCT with its coefficients regrouped.
void dctZigzagEncode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    const DctTables& tb = tables();
    splitPlanes(cur, spare, g);
    for (int p = 0; p < 3; ++p)
        dctRegroupPlane(tb, spare + p * g.pixels, cur + p * g.pixels, g);
}

void dctZigzagDecode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    const DctTables& tb = tables();
    for (int p = 0; p < 3; ++p)
        regroupIdctPlane(tb, cur + p * g.pixels, spare + p * g.pixels, g);
    joinPlanes(spare, cur, g);
}

std::atomic<MP_PrecodingAllocFn> s_scratchAllocator{nullptr};

// Validates the arguments and obtains the scratch block when a chosen step
// needs one; 0 when the steps may run.
int prepare(uint16_t* rgb48, int width, int height, int flags, Geometry& g, void*& scratch)
{
    scratch = nullptr;
    if (!rgb48 || width < 1 || height < 1)
        return MP_ERR_INPUT;
    g.width = width;
    g.height = height;
    g.pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (flags & (MP_PRECODE_BYTEPLANES | MP_PRECODE_DCT | MP_PRECODE_DCTZIGZAG)) {
        const MP_PrecodingAllocFn alloc = s_scratchAllocator.load(std::memory_order_relaxed);
        const size_t bytes = g.pixels * 6;
        scratch = alloc ? alloc(bytes) : std::malloc(bytes);
        if (!scratch)
            return MP_ERR_NOMEMORY;
    }
    return MP_OK;
}

// The data ends where the last step left it: back into the caller's buffer.
void finish(uint16_t* rgb48, const uint16_t* cur, void* scratch, const Geometry& g)
{
    if (cur != rgb48)
        std::memcpy(rgb48, cur, g.pixels * 6);
    std::free(scratch);
}

} // namespace

void Dct(const uint16_t* src, uint16_t* dst, int width, int height)
{
    if (!src || !dst || width < 8 || height < 8)
        return;
    const DctTables& tb = tables();
    const size_t w = static_cast<size_t>(width);
    uint16_t f[8][8], c[8][8];
    for (int by = 0; by < height / 8; ++by) {
        for (int bx = 0; bx < width / 8; ++bx) {
            loadBlock(src, w, bx, by, f);
            dctBlock(tb, f, c);
            storeBlock(dst, w, bx, by, c);
        }
    }
}

void IDct(const uint16_t* src, uint16_t* dst, int width, int height)
{
    if (!src || !dst || width < 8 || height < 8)
        return;
    const DctTables& tb = tables();
    const size_t w = static_cast<size_t>(width);
    uint16_t f[8][8], c[8][8];
    for (int by = 0; by < height / 8; ++by) {
        for (int bx = 0; bx < width / 8; ++bx) {
            loadBlock(src, w, bx, by, c);
            idctBlock(tb, c, f);
            storeBlock(dst, w, bx, by, f);
        }
    }
}

int MP_UI_ConvertToCompress(uint16_t* rgb48, int width, int height, int flags)
{
    Geometry g{};
    void* scratch = nullptr;
    const int rc = prepare(rgb48, width, height, flags, g, scratch);
    if (rc != MP_OK)
        return rc;
    uint16_t* cur = rgb48;
    uint16_t* spare = static_cast<uint16_t*>(scratch);
    if (flags & MP_PRECODE_ROWDELTA)
        rowDeltaEncode(cur, g);
    if (flags & MP_PRECODE_BYTEPLANES) {
        bytePlanesEncode(cur, spare, g);
        std::swap(cur, spare);
    }
    if (flags & MP_PRECODE_DCT)
        dctEncode(cur, spare, g);
    if (flags & MP_PRECODE_DCTZIGZAG)
        dctZigzagEncode(cur, spare, g);
    finish(rgb48, cur, scratch, g);
    return MP_OK;
}

int MP_UI_ConvertFromCompress(uint16_t* rgb48, int width, int height, int flags)
{
    Geometry g{};
    void* scratch = nullptr;
    const int rc = prepare(rgb48, width, height, flags, g, scratch);
    if (rc != MP_OK)
        return rc;
    uint16_t* cur = rgb48;
    uint16_t* spare = static_cast<uint16_t*>(scratch);
    if (flags & MP_PRECODE_DCTZIGZAG)
        dctZigzagDecode(cur, spare, g);
    if (flags & MP_PRECODE_DCT)
        dctDecode(cur, spare, g);
    if (flags & MP_PRECODE_BYTEPLANES) {
        bytePlanesDecode(cur, spare, g);
        std::swap(cur, spare);
    }
    if (flags & MP_PRECODE_ROWDELTA)
        rowDeltaDecode(cur, g);
    finish(rgb48, cur, scratch, g);
    return MP_OK;
}

MP_PrecodingAllocFn MP_SetPrecodingScratchAllocator(MP_PrecodingAllocFn fn)
{
    return s_scratchAllocator.exchange(fn);
}
