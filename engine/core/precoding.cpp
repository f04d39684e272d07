#include "engine/core/precoding.h"

#include "engine/core/cpuclones.h"
#include "engine/core/results.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

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

// The block transforms are the heavy part. They work on whole rows of eight
// lanes (GCC vector types: element-wise arithmetic, the same single-precision
// operations in the same order as one lane at a time), in an AVX2 copy where
// the processor has it.

typedef int32_t Lanes8i __attribute__((vector_size(32)));
typedef float Lanes8f __attribute__((vector_size(32)));
typedef uint16_t Lanes8u16 __attribute__((vector_size(16)));

// (Rows go in and out through references: vectors passed by value would
// depend on the target's calling convention.)
inline void loadRow(const uint16_t* row, Lanes8i& out)
{
    Lanes8u16 v;
    std::memcpy(&v, row, sizeof(v));
    out = __builtin_convertvector(v, Lanes8i);
}

inline void storeRow(uint16_t* row, const Lanes8i& v)
{
    const Lanes8u16 n = __builtin_convertvector(v, Lanes8u16);
    std::memcpy(row, &n, sizeof(n));
}

inline void tableRow(const int32_t* row, Lanes8i& out) { std::memcpy(&out, row, sizeof(out)); }

// ---- one block --------------------------------------------------------------

// Samples f[y][x] to codes c[v][u].
MP_CPU_CLONES void dctBlock(const DctTables& tb, const uint16_t f[8][8], uint16_t c[8][8])
{
    // First pass, integer: t[y][u] = sum over x of f(y, x) T[u][x], lanes u.
    Lanes8f t[8];
    for (int y = 0; y < 8; ++y) {
        Lanes8i row, T;
        loadRow(f[y], row);
        tableRow(tb.TT[0], T);
        Lanes8i acc = row[0] * T;
        for (int x = 1; x < 8; ++x) {
            tableRow(tb.TT[x], T);
            acc += row[x] * T;
        }
        t[y] = __builtin_convertvector(acc, Lanes8f);
    }
    // Second pass, single precision, summed over y = 0..7 in order; the DC row
    // (v = 0) is multiplied by s, then the DC column (u = 0) by s again.
    const Lanes8f dcColumn = {kS, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    for (int v = 0; v < 8; ++v) {
        Lanes8f C = tb.F[v][0] * t[0];
        for (int y = 1; y < 8; ++y)
            C = C + tb.F[v][y] * t[y];
        if (v == 0)
            C = C * kS;
        C = C * dcColumn;
        // Code: 0 below -32767, 65534 above 32767, else (int)(C + 32767.5).
        const Lanes8f inRange = C < -32767.0f ? -32767.0f : (C > 32767.0f ? 32767.0f : C);
        Lanes8i code = __builtin_convertvector(inRange + 32767.5f, Lanes8i);
        code = C < -32767.0f ? 0 : code;
        code = C > 32767.0f ? 65534 : code;
        storeRow(c[v], code);
    }
}

// Codes c[v][u] to samples f[y][x].
MP_CPU_CLONES void idctBlock(const DctTables& tb, const uint16_t c[8][8], uint16_t f[8][8])
{
    // First pass, lanes x: t[v][x] = s * (d(v,0) * 2048) + (integer sum over
    // u = 1..7 of d(v,u) T[u][x]), d = code - 32767.
    Lanes8i T[8];
    for (int u = 1; u < 8; ++u)
        tableRow(tb.T[u], T[u]);
    Lanes8f t[8];
    for (int v = 0; v < 8; ++v) {
        Lanes8i d;
        loadRow(c[v], d);
        d -= 32767;
        Lanes8i acc = d[1] * T[1];
        for (int u = 2; u < 8; ++u)
            acc += d[u] * T[u];
        const float dc = kS * static_cast<float>(d[0] * 2048);
        t[v] = dc + __builtin_convertvector(acc, Lanes8f);
    }
    // Second pass: f = t1 G[1][y] + G0 t0, then + t_v G[v][y] for v = 2..7.
    const float g0 = tb.G[0][0];
    for (int y = 0; y < 8; ++y) {
        Lanes8f s = t[1] * tb.G[1][y] + g0 * t[0];
        for (int v = 2; v < 8; ++v)
            s = s + t[v] * tb.G[v][y];
        // Sample: 0 below 0, 65535 above 65535, else truncated.
        const Lanes8f inRange = s < 0.0f ? 0.0f : (s > 65535.0f ? 65535.0f : s);
        storeRow(f[y], __builtin_convertvector(inRange, Lanes8i));
    }
}

// One channel of the working data: sample (x, y) at base[y * rowStep + x * step].
// A channel of RGB48 pixels has step 3, a plane step 1.
template <typename T>
struct Plane {
    T* base;
    size_t step;
    size_t rowStep;
    T& at(size_t x, size_t y) const { return base[y * rowStep + x * step]; }
};

template <typename T>
Plane<T> pixelChannel(T* buf, int c, int width)
{
    return {buf + c, 3, static_cast<size_t>(width) * 3};
}

template <typename T>
Plane<T> planeOf(T* buf, int c, size_t pixels, int width)
{
    return {buf + c * pixels, 1, static_cast<size_t>(width)};
}

void loadBlock(const Plane<const uint16_t>& p, int bx, int by, uint16_t b[8][8])
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            b[y][x] = p.at(static_cast<size_t>(bx) * 8 + x, static_cast<size_t>(by) * 8 + y);
}

void storeBlock(const Plane<uint16_t>& p, int bx, int by, const uint16_t b[8][8])
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.at(static_cast<size_t>(bx) * 8 + x, static_cast<size_t>(by) * 8 + y) = b[y][x];
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
        // From the end, so every sample still sees its predecessor's input.
        for (size_t i = w3 - 1; i >= 3; --i)
            row[i] = static_cast<uint16_t>((row[i] >> 1) - (row[i - 3] >> 1) + 0x8000);
    }
}

void rowDeltaDecode(uint16_t* buf, const Geometry& g)
{
    const size_t w = static_cast<size_t>(g.width);
    for (int y = 0; y < g.height; ++y) {
        uint16_t* row = buf + static_cast<size_t>(y) * w * 3;
        unsigned b0 = row[0], b1 = row[1], b2 = row[2];
        for (size_t x = 1; x < w; ++x) {
            uint16_t* s = row + 3 * x;
            b0 = (b0 + 2u * s[0]) & 0xFFFFu;
            b1 = (b1 + 2u * s[1]) & 0xFFFFu;
            b2 = (b2 + 2u * s[2]) & 0xFFFFu;
            s[0] = static_cast<uint16_t>(b0);
            s[1] = static_cast<uint16_t>(b1);
            s[2] = static_cast<uint16_t>(b2);
        }
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

// The margin of a channel: the samples outside its full 8x8 blocks, in the
// order of the regrouped stream: for each block row its right margin
// (columns W8 .. W-1) row by row, then every row from H8 on. `visit(x, y, k)`
// is called with k counting the margin samples from 0.
template <typename Fn>
void forEachMarginSample(const Geometry& g, Fn&& visit)
{
    const int w8 = g.width / 8 * 8, h8 = g.height / 8 * 8;
    size_t k = 0;
    for (int y = 0; y < h8; ++y)
        for (int x = w8; x < g.width; ++x)
            visit(x, y, k++);
    for (int y = h8; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            visit(x, y, k++);
}

// The three channels of one block position of RGB48 pixels, moved row by row
// (24 neighbouring values per row).
void loadPixelBlocks(const uint16_t* pixels, int width, int bx, int by, uint16_t b[3][8][8])
{
    for (int y = 0; y < 8; ++y) {
        const uint16_t* row = pixels + ((static_cast<size_t>(by) * 8 + y) * width + static_cast<size_t>(bx) * 8) * 3;
        for (int x = 0; x < 8; ++x)
            for (int c = 0; c < 3; ++c)
                b[c][y][x] = row[3 * x + c];
    }
}

void storePixelBlocks(uint16_t* pixels, int width, int bx, int by, const uint16_t b[3][8][8])
{
    for (int y = 0; y < 8; ++y) {
        uint16_t* row = pixels + ((static_cast<size_t>(by) * 8 + y) * width + static_cast<size_t>(bx) * 8) * 3;
        for (int x = 0; x < 8; ++x)
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = b[c][y][x];
    }
}

// Step 4: the three channels become three planes with the DCT codes of their
// full blocks (margins keep their samples). One pass from `cur` to `spare`.
void dctEncode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    const DctTables& tb = tables();
    uint16_t in[3][8][8], out[8][8];
    for (int by = 0; by < g.height / 8; ++by) {
        for (int bx = 0; bx < g.width / 8; ++bx) {
            loadPixelBlocks(cur, g.width, bx, by, in);
            for (int c = 0; c < 3; ++c) {
                dctBlock(tb, in[c], out);
                storeBlock(planeOf(spare, c, g.pixels, g.width), bx, by, out);
            }
        }
    }
    for (int c = 0; c < 3; ++c) {
        const auto from = pixelChannel<const uint16_t>(cur, c, g.width);
        const auto to = planeOf(spare, c, g.pixels, g.width);
        forEachMarginSample(g, [&](int x, int y, size_t) { to.at(x, y) = from.at(x, y); });
    }
    std::swap(cur, spare);
}

void dctDecode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    const DctTables& tb = tables();
    uint16_t in[8][8], out[3][8][8];
    for (int by = 0; by < g.height / 8; ++by) {
        for (int bx = 0; bx < g.width / 8; ++bx) {
            for (int c = 0; c < 3; ++c) {
                loadBlock(planeOf<const uint16_t>(cur, c, g.pixels, g.width), bx, by, in);
                idctBlock(tb, in, out[c]);
            }
            storePixelBlocks(spare, g.width, bx, by, out);
        }
    }
    for (int c = 0; c < 3; ++c) {
        const auto from = planeOf<const uint16_t>(cur, c, g.pixels, g.width);
        const auto to = pixelChannel(spare, c, g.width);
        forEachMarginSample(g, [&](int x, int y, size_t) { to.at(x, y) = from.at(x, y); });
    }
    std::swap(cur, spare);
}

// Step 8: one stream per channel, in the order R, G, B: the coefficients of
// all full blocks grouped by zig-zag position j (for each j the blocks by rows
// top to bottom, columns left to right), then the margin samples. Blocks are
// handled in runs of 32, so each position of a stream receives 32 neighbouring
// values at a time. One pass from `cur` to `spare`.
constexpr int kBlockRun = 32;

void dctZigzagEncode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    const DctTables& tb = tables();
    const int bw = g.width / 8;
    const size_t blocks = static_cast<size_t>(bw) * static_cast<size_t>(g.height / 8);
    uint16_t in[8][8], codes[kBlockRun][8][8];
    for (int c = 0; c < 3; ++c) {
        const auto from = pixelChannel<const uint16_t>(cur, c, g.width);
        uint16_t* stream = spare + c * g.pixels;
        for (size_t b0 = 0; b0 < blocks; b0 += kBlockRun) {
            const int run = static_cast<int>(std::min<size_t>(kBlockRun, blocks - b0));
            for (int i = 0; i < run; ++i) {
                const size_t b = b0 + i;
                loadBlock(from, static_cast<int>(b % bw), static_cast<int>(b / bw), in);
                dctBlock(tb, in, codes[i]);
            }
            for (int j = 0; j < 64; ++j) {
                uint16_t* out = stream + j * blocks + b0;
                for (int i = 0; i < run; ++i)
                    out[i] = codes[i][kZigRow[j]][kZigCol[j]];
            }
        }
        uint16_t* margin = stream + 64 * blocks;
        forEachMarginSample(g, [&](int x, int y, size_t k) { margin[k] = from.at(x, y); });
    }
    std::swap(cur, spare);
}

void dctZigzagDecode(uint16_t*& cur, uint16_t*& spare, const Geometry& g)
{
    const DctTables& tb = tables();
    const int bw = g.width / 8;
    const size_t blocks = static_cast<size_t>(bw) * static_cast<size_t>(g.height / 8);
    uint16_t codes[3][kBlockRun][8][8], out[3][8][8];
    for (size_t b0 = 0; b0 < blocks; b0 += kBlockRun) {
        const int run = static_cast<int>(std::min<size_t>(kBlockRun, blocks - b0));
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < 64; ++j) {
                const uint16_t* in = cur + c * g.pixels + j * blocks + b0;
                for (int i = 0; i < run; ++i)
                    codes[c][i][kZigRow[j]][kZigCol[j]] = in[i];
            }
        }
        for (int i = 0; i < run; ++i) {
            const size_t b = b0 + i;
            for (int c = 0; c < 3; ++c)
                idctBlock(tb, codes[c][i], out[c]);
            storePixelBlocks(spare, g.width, static_cast<int>(b % bw), static_cast<int>(b / bw), out);
        }
    }
    for (int c = 0; c < 3; ++c) {
        const uint16_t* margin = cur + c * g.pixels + 64 * blocks;
        const auto to = pixelChannel(spare, c, g.width);
        forEachMarginSample(g, [&](int x, int y, size_t k) { to.at(x, y) = margin[k]; });
    }
    std::swap(cur, spare);
}

std::atomic<MP_PrecodingAllocFn> s_scratchAllocator{nullptr};

// Scratch blocks kept between calls: a project save pre-codes every exposure
// of the same size, and a fresh block of that size costs more to touch than
// the pre-coding itself. Each concurrent job takes a block of its own; a block
// too small for a request is replaced by a larger one (blocks only grow).
class ScratchPool {
public:
    ~ScratchPool() { release(); }

    void* take(size_t bytes)
    {
        void* tooSmall = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            size_t best = m_free.size();
            for (size_t i = 0; i < m_free.size(); ++i)
                if (m_free[i].bytes >= bytes && (best == m_free.size() || m_free[i].bytes < m_free[best].bytes))
                    best = i;
            if (best < m_free.size()) {
                const Block b = m_free[best];
                m_free.erase(m_free.begin() + static_cast<std::ptrdiff_t>(best));
                m_used.push_back(b);
                return b.data;
            }
            if (!m_free.empty()) { // the largest free block is too small: replaced
                tooSmall = m_free.back().data;
                m_free.pop_back();
            }
        }
        std::free(tooSmall);
        void* data = std::malloc(bytes);
        if (data) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_used.push_back({data, bytes});
        }
        return data;
    }

    void give(void* data)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t i = 0; i < m_used.size(); ++i)
            if (m_used[i].data == data) {
                m_free.push_back(m_used[i]);
                m_used.erase(m_used.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
    }

    // Frees the blocks no job is using.
    void release()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Block& b : m_free)
            std::free(b.data);
        m_free.clear();
    }

private:
    struct Block {
        void* data;
        size_t bytes;
    };
    std::mutex m_mutex;
    std::vector<Block> m_free;
    std::vector<Block> m_used;
};

ScratchPool& scratchPool()
{
    static ScratchPool s_pool;
    return s_pool;
}

// Validates the arguments and obtains the scratch block when a chosen step
// needs one; 0 when the steps may run.
int prepare(uint16_t* rgb48, int width, int height, int flags, Geometry& g, void*& scratch, bool& pooled)
{
    scratch = nullptr;
    pooled = false;
    if (!rgb48 || width < 1 || height < 1)
        return MP_ERR_INPUT;
    g.width = width;
    g.height = height;
    g.pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (g.pixels > SIZE_MAX / 6) // no such buffer can exist
        return MP_ERR_INPUT;
    if (flags & (MP_PRECODE_BYTEPLANES | MP_PRECODE_DCT | MP_PRECODE_DCTZIGZAG)) {
        const MP_PrecodingAllocFn alloc = s_scratchAllocator.load(std::memory_order_relaxed);
        const size_t bytes = g.pixels * 6;
        scratch = alloc ? alloc(bytes) : scratchPool().take(bytes);
        if (!scratch)
            return MP_ERR_NOMEMORY;
        pooled = !alloc;
    }
    return MP_OK;
}

// The data ends where the last step left it: back into the caller's buffer.
void finish(uint16_t* rgb48, const uint16_t* cur, void* scratch, bool pooled, const Geometry& g)
{
    if (cur != rgb48)
        std::memcpy(rgb48, cur, g.pixels * 6);
    if (pooled)
        scratchPool().give(scratch);
    else
        std::free(scratch);
}

} // namespace

namespace {

// Runs `transform` over every whole 8x8 block of a width x height plane,
// loading each block before storing it, so src may equal dst.
using BlockTransform = void (*)(const DctTables&, const uint16_t[8][8], uint16_t[8][8]);

void transformBlocks(const uint16_t* src, uint16_t* dst, int width, int height, BlockTransform transform)
{
    if (!src || !dst || width < 8 || height < 8)
        return;
    const DctTables& tb = tables();
    const Plane<const uint16_t> from{src, 1, static_cast<size_t>(width)};
    const Plane<uint16_t> to{dst, 1, static_cast<size_t>(width)};
    uint16_t in[8][8], out[8][8];
    for (int by = 0; by < height / 8; ++by) {
        for (int bx = 0; bx < width / 8; ++bx) {
            loadBlock(from, bx, by, in);
            transform(tb, in, out);
            storeBlock(to, bx, by, out);
        }
    }
}

} // namespace

// Dct and IDct load each block before they store it, so src may equal dst.
void Dct(const uint16_t* src, uint16_t* dst, int width, int height)
{
    transformBlocks(src, dst, width, height, dctBlock);
}

void IDct(const uint16_t* src, uint16_t* dst, int width, int height)
{
    transformBlocks(src, dst, width, height, idctBlock);
}

int MP_UI_ConvertToCompress(uint16_t* rgb48, int width, int height, int flags)
{
    Geometry g{};
    void* scratch = nullptr;
    bool pooled = false;
    const int rc = prepare(rgb48, width, height, flags, g, scratch, pooled);
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
    finish(rgb48, cur, scratch, pooled, g);
    return MP_OK;
}

int MP_UI_ConvertFromCompress(uint16_t* rgb48, int width, int height, int flags)
{
    Geometry g{};
    void* scratch = nullptr;
    bool pooled = false;
    const int rc = prepare(rgb48, width, height, flags, g, scratch, pooled);
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
    finish(rgb48, cur, scratch, pooled, g);
    return MP_OK;
}

MP_PrecodingAllocFn MP_SetPrecodingScratchAllocator(MP_PrecodingAllocFn fn)
{
    return s_scratchAllocator.exchange(fn);
}

void MP_ReleasePrecodingScratch() { scratchPool().release(); }
