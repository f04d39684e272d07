#pragma once
// The window walk of the tone-mapping operators: the bilateral statistics of
// a run of neighbouring pixels of one row, gathered several pixels at a time.
//
// Each pixel's sums are taken in the frame's sample order (window rows
// ascending, columns ascending within a row) with the frame's single-precision
// operations, so a pixel's statistics do not depend on which pixels it is
// gathered with. Per sample, with d = K - L (K the pixel's luminance index,
// L the sample's 16-bit luminance), a = |d| and the spatial weight ws:
//   w = ws * (1 / (a*k + 0.001))       (the range weight, MP_temp_table[a])
//   lumd += w;  mean += L * w;  dist += a * w  or  d * w;
//   det += +-sqrt(a*k) * w             (MP_temp2_table[a], sign of d)
// The range weight and the root are evaluated with the same single-precision
// expressions that fill the tables (at sixteen lanes the reciprocal and the
// quotient a / 65535 by multiply-add sequences proven equal for every a), so
// they equal the table entries bit for bit (the tests compare them over all
// 65,536 indices on every walker set).
//
// Internal to the tone-mapping family.

#include <cmath>
#include <cstddef>
#include <cstdint>

typedef unsigned short ushort;

namespace mp_tm {

constexpr int kChunk = 64; // pixels whose statistics one call gathers

// Which sums besides lumd and det a kernel needs.
enum : unsigned { kSumMean = 1u, kSumAbs = 2u, kSumSigned = 4u };

// The window of a run over the 16-bit luminance plane.
struct Window {
    const ushort* lum;    // column 0 of row 0; rows `stride` apart, `pad` columns before and after each row
    ptrdiff_t stride;
    int pad;              // at least the widest half-width + kChunk
    int width, height;
    int r, step;
    bool panorama;        // columns wrap around (the pads hold the wrapped columns)
    const int* halfWidth; // halfWidth[ky + r] = half-width of window row ky, 0..501
};

// Statistics of pixels x0 .. x0+n-1 (n <= kChunk).
struct Stats {
    float lumd[kChunk];
    float mean[kChunk]; // sum of L * w
    float dist[kChunk]; // sum of a * w, or of d * w
    float det[kChunk];  // sum of +-sqrt * w
};

using StatsFn = void (*)(const Window& win, int y, int x0, int n, const int* K, Stats& out);

// The window of TMmeandiff over the RGB source: each sample's luminance is
// (wr*R + wg*G + wb*B) >> 14 (held to 65535), its root is MP_sqrt_table[a]
// and its colour is summed with the weight.
//
// The walk reads four planes made from the source before (attachColourPlanes,
// fillColourPlaneRows): for every row the luminance, red, green and blue rows
// one after the other, `stride` values each, every row padded by `pad`
// columns on both sides (the wrapped columns in panorama mode, zeros
// otherwise), so that a run of lanes is one load per plane.
struct ColourWindow {
    const ushort* src; // RGB48
    int width, height;
    int r, step;
    bool panorama;
    const int* halfWidth;
    int wr, wg, wb; // 14-bit luminance weights
    ushort* planes = nullptr; // luminance of column 0, row 0
    ptrdiff_t stride = 0;     // values of one plane row; a source row takes 4 * stride
    int pad = 0;              // at least the widest half-width + kChunk
};

// Values the planes of a window of this size need for half-widths up to widest.
size_t colourPlaneSize(int width, int height, int widest);
// Lays the planes out in buffer (colourPlaneSize values) for half-widths up to widest.
void attachColourPlanes(ColourWindow& win, ushort* buffer, int widest);
// Fills the plane rows [start, end) from win.src.
void fillColourPlaneRows(const ColourWindow& win, int start, int end);

struct ColourStats {
    float lumd[kChunk];
    float mean[kChunk];
    float det[kChunk];
    float red[kChunk], green[kChunk], blue[kChunk]; // each starting at 0.01
};

using ColourStatsFn = void (*)(const ColourWindow& win, int y, int x0, int n, const int* K, ColourStats& out);

// The common tail of the tone mapping (brightness damping, detail, dark
// compression) for the pixels of a chunk at once, with the operations of
// MP_calcTMdampdetdark in its order: out = c0b * a0 + ce * a1.
struct TailChunk {
    float c0b[3][kChunk]; // light-compressed colours
    float ce[3][kChunk];  // gained colours
    float lumdet[kChunk];
    float lum0[kChunk];
    float out[3][kChunk];
    // The steps around the walk (ChunkSteps) fill these too.
    float c0[3][kChunk];  // source colours, v * (1/65535)
    float lumsum[kChunk]; // local mean 0..1
    float lumdist[kChunk];
    int m16[kChunk];      // local mean as a 16-bit index
};
struct TailParams {
    float lumr, lumg, lumb; // luminance weights
    float damping, detail, microdetail;
};
using TailFn = void (*)(TailChunk& chunk, int n, const TailParams& p);

// The gains that need no more than the basic operations and roots, by
// operator (t the strength value, c the light-compressed colour c0b, n = 1 /
// sqrt(c.c + 0.001), each in the order written):
//   MeanLin:      H = 1 + min(max(lumsum - lumdet, 0), 1),
//                 ce = c * ((lum0 + 1) * n / H * t) + c * (1 - t)
//   GradLum:      u = 0.99 t, f = 1 / (0.01 + lum0), g = f * lumsum * lumdist,
//                 ce = ((1 - u) * c + 0.75 * c * f * u) * (1 - g) + c * n * g
//   ConstGradLum: P = sqrt(sqrt(lumdist)), Q = (1 - P) * 0.75 / (lumsum + 0.01),
//                 ce = c * (1 - t) + (P * c + c * Q) * t
//   MeanLog:      ce = c * (B * table[m16]), by tableGain (the run's B and table)
// None: the operator's gain runs per pixel.
enum class FormulaGain { None, MeanLin, GradLum, ConstGradLum, MeanLog };

// The per-pixel steps of a chunk around the window walk, lane by lane with
// the operations of the per-pixel formulas, so that every pixel gets the
// bits it gets alone. Lanes from n to the end of the chunk's arrays may hold
// anything afterwards; nothing is read or written past pixel n of a row.
struct ChunkSteps {
    // Pixels s[0 .. n) of a source row (RGB48): c0 = v * (1/65535),
    // lum0 = lumr*R + lumg*G + lumb*B, K = (int)(65535 * lum0) held to 0..65535.
    void (*load)(const ushort* s, int n, const TailParams& p, TailChunk& t, int* K);
    // The local statistics from the window sums: inv = 1/lumd, lumsum = (k*inv)*mean,
    // lumdist = (k*inv)*dist, lumdet = inv*det, m16 = (int)(65535 * lumsum) held to
    // 0..65535. Returns the pixels (bit i) whose window held no weight (lumd not
    // above 0): the caller finishes those from the pixel itself.
    uint64_t (*local)(const Stats& st, int n, TailChunk& t);
    // c0b = the light compression of c0 with the power table of licomp
    // (MP_calcTMtonecompressionfromtable).
    void (*compress)(TailChunk& t, int n, float licomp, const float* powTable);
    // A gain of b * table[m16] for every channel: ce = c0b * (b * table[m16]).
    void (*tableGain)(TailChunk& t, int n, float b, const float* table);
    // One of the formula gains above for every pixel (MeanLin, GradLum or ConstGradLum).
    void (*formulaGain)(FormulaGain kind, TailChunk& t, int n, float strength);
    // TMmeandiff's gain from its colour window sums with strength s:
    // inv = 1/lumd, colour a = sum * (k*inv), meanp = (k*inv)*mean + 0.001,
    // q = (lum0 + 0.001) / meanp * s, len = sqrt(a.a + 0.001),
    // ce = (1 - s)*c0b + a*q/len, lumdet = inv*det. Returns the pixels whose
    // window held no weight, as local does.
    uint64_t (*colourGain)(const ColourStats& st, int n, float s, TailChunk& t);
    // The reduced workers' end: out blended over c0 by mask[K] (c0*(1-m) + out*m),
    // held to 0..1, scaled by 65535 and truncated into the row d (RGB48).
    void (*storeBlend)(const TailChunk& t, const int* K, const float* mask, int n, ushort* d);
};

// The walkers for the processor the program runs on (sixteen lanes with
// AVX-512, eight with AVX2, the portable ones otherwise).
StatsFn statsFunction(unsigned sums);
ColourStatsFn colourStatsFunction();
TailFn tailFunction();
const ChunkSteps& chunkSteps();
// Tests and benchmarks: the widest set the functions above may give.
enum class WalkerSet { Portable, Avx2, Best };
void useWalkers(WalkerSet widest);
// Whether this processor has the set (Best: the AVX-512 walkers).
bool walkersAvailable(WalkerSet set);
// useWalkers(Portable) with true, useWalkers(Best) with false.
void usePortableWalkers(bool portable);
// The portable walkers, for tests that compare the two.
StatsFn portableStatsFunction(unsigned sums);
ColourStatsFn portableColourStatsFunction();
TailFn portableTailFunction();
const ChunkSteps& portableChunkSteps();

// The per-sample terms as the tables hold them (k = 1/65535 in single precision):
// MP_temp_table[i] = rangeWeight(i), MP_temp2_table[i] = rootDifference(i),
// MP_sqrt_table[i] = sqrt(i / 65535).
inline float rangeWeight(float a) { return 1.0f / (a * (1.0f / 65535.0f) + 0.001f); }
inline float rootDifference(float a) { return std::sqrt(a * (1.0f / 65535.0f)); }

} // namespace mp_tm
