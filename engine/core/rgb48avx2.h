#pragma once
// Eight interleaved RGB48 pixels at a time with AVX2: loads into three planes
// of 32-bit lanes, stores back, and the run-time test for the processor.
// Reduced workers that take this path keep a per-pixel loop for the pixels of
// a row that do not fill a group of eight, and for processors without AVX2.

#if defined(__x86_64__) || defined(__i386__)
#define MP_HAS_X86_SIMD 1
#include <immintrin.h>

#include <cstddef>

using ushort = unsigned short;

// Words of eight interleaved pixels: x0 = R0 G0 B0 R1 G1 B1 R2 G2,
// x1 = B2 R3 G3 B3 R4 G4 B4 R5, x2 = G5 B5 R6 G6 B6 R7 G7 B7. Each channel
// sits at word positions 0, 3, 6 / 1, 4, 7 / 2, 5 of the three in turn, so
// two word blends gather it in one register and one byte shuffle orders it.
namespace mp_rgb48_detail {
__attribute__((target("avx2"))) inline __m128i orderR() { return _mm_setr_epi8(0, 1, 6, 7, 12, 13, 2, 3, 8, 9, 14, 15, 4, 5, 10, 11); }
__attribute__((target("avx2"))) inline __m128i orderG() { return _mm_setr_epi8(2, 3, 8, 9, 14, 15, 4, 5, 10, 11, 0, 1, 6, 7, 12, 13); }
__attribute__((target("avx2"))) inline __m128i orderB() { return _mm_setr_epi8(4, 5, 10, 11, 0, 1, 6, 7, 12, 13, 2, 3, 8, 9, 14, 15); }
__attribute__((target("avx2"))) inline __m128i placeR() { return _mm_setr_epi8(0, 1, 6, 7, 12, 13, 2, 3, 8, 9, 14, 15, 4, 5, 10, 11); }
__attribute__((target("avx2"))) inline __m128i placeG() { return _mm_setr_epi8(10, 11, 0, 1, 6, 7, 12, 13, 2, 3, 8, 9, 14, 15, 4, 5); }
__attribute__((target("avx2"))) inline __m128i placeB() { return _mm_setr_epi8(4, 5, 10, 11, 0, 1, 6, 7, 12, 13, 2, 3, 8, 9, 14, 15); }
} // namespace mp_rgb48_detail

// Eight interleaved RGB48 pixels (24 values from s) as three planes of ints.
__attribute__((target("avx2"))) inline void MP_loadRGB48Planes8(const ushort* s, __m256i& r, __m256i& g, __m256i& b)
{
    using namespace mp_rgb48_detail;
    const __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8));
    const __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
    r = _mm256_cvtepu16_epi32(_mm_shuffle_epi8(_mm_blend_epi16(_mm_blend_epi16(x0, x1, 0x92), x2, 0x24), orderR()));
    g = _mm256_cvtepu16_epi32(_mm_shuffle_epi8(_mm_blend_epi16(_mm_blend_epi16(x0, x1, 0x24), x2, 0x49), orderG()));
    b = _mm256_cvtepu16_epi32(_mm_shuffle_epi8(_mm_blend_epi16(_mm_blend_epi16(x0, x1, 0x49), x2, 0x92), orderB()));
}

// Eight ints 0..65535 stored as eight 16-bit values.
__attribute__((target("avx2"))) inline void MP_store16x8(ushort* d, __m256i v)
{
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(v, v), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(packed));
}

// Three planes of ints 0..65535 back into eight interleaved pixels at d.
__attribute__((target("avx2"))) inline void MP_storeRGB48Planes8(ushort* d, __m256i r, __m256i g, __m256i b)
{
    using namespace mp_rgb48_detail;
    // r0-3 g0-3 | r4-7 g4-7 -> r0-7 | g0-7; b0-3 b0-3 | b4-7 b4-7 -> b0-7
    const __m256i rg = _mm256_permute4x64_epi64(_mm256_packus_epi32(r, g), 0xD8);
    const __m256i bb = _mm256_permute4x64_epi64(_mm256_packus_epi32(b, b), 0x08);
    const __m128i rs = _mm_shuffle_epi8(_mm256_castsi256_si128(rg), placeR());
    const __m128i gs = _mm_shuffle_epi8(_mm256_extracti128_si256(rg, 1), placeG());
    const __m128i bs = _mm_shuffle_epi8(_mm256_castsi256_si128(bb), placeB());
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_blend_epi16(_mm_blend_epi16(rs, gs, 0x92), bs, 0x24));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 8), _mm_blend_epi16(_mm_blend_epi16(rs, gs, 0x24), bs, 0x49));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), _mm_blend_epi16(_mm_blend_epi16(rs, gs, 0x49), bs, 0x92));
}

// Rows start..end of an RGB48 picture `width` pixels wide, eight pixels at a
// time: group(r, g, b) turns the three planes into the output planes in
// place; tail(s, d, x) does the pixels x..width of the row (source row s,
// destination row d) that do not fill a group. group must be built for AVX2
// too (a lambda with __attribute__((target("avx2"))) after its parameters).
template <typename Group, typename Tail>
__attribute__((target("avx2"))) inline void MP_rowsRGB48By8(const ushort* src, ushort* dst, int width, int start,
                                                            int end, Group&& group, Tail&& tail)
{
    const size_t rowLen = static_cast<size_t>(width) * 3;
    for (int y = start; y < end; ++y) {
        const ushort* s = src + static_cast<size_t>(y) * rowLen;
        ushort* d = dst + static_cast<size_t>(y) * rowLen;
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            __m256i r, g, b;
            MP_loadRGB48Planes8(s + static_cast<size_t>(x) * 3, r, g, b);
            group(r, g, b);
            MP_storeRGB48Planes8(d + static_cast<size_t>(x) * 3, r, g, b);
        }
        tail(s, d, x);
    }
}

// Rows start..end like MP_rowsRGB48By8, the eight pixels handed to group(r,
// g, b) as floats v * MP_k (the value a per-pixel loop gets from
// MP_loadRGB48); group's results are held to 0..1 (NaN to 0), scaled by 65535
// and truncated as MP_storeRGB48Clamped does, so both write the same bits.
template <typename Group, typename Tail>
__attribute__((target("avx2"))) inline void MP_rowsRGB48FloatBy8(const ushort* src, ushort* dst, int width,
                                                                 int start, int end, Group&& group, Tail&& tail)
{
    const __m256 k = _mm256_set1_ps(1.0f / 65535.0f);
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f), scale = _mm256_set1_ps(65535.0f);
    // max(x, 0) gives 0 for NaN (the second operand), min(y, 1) keeps y below 1
    auto out = [&](__m256 v) __attribute__((target("avx2"))) {
        return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_min_ps(_mm256_max_ps(v, zero), one), scale));
    };
    MP_rowsRGB48By8(
        src, dst, width, start, end,
        [&](__m256i& r, __m256i& g, __m256i& b) __attribute__((target("avx2"))) {
            __m256 fr = _mm256_mul_ps(_mm256_cvtepi32_ps(r), k);
            __m256 fg = _mm256_mul_ps(_mm256_cvtepi32_ps(g), k);
            __m256 fb = _mm256_mul_ps(_mm256_cvtepi32_ps(b), k);
            group(fr, fg, fb);
            r = out(fr);
            g = out(fg);
            b = out(fb);
        },
        tail);
}

// MP_tableIndex of eight values: v * 65535 held to 0..65535 (NaN to 0), truncated.
__attribute__((target("avx2"))) inline __m256i MP_tableIndex8(__m256 v)
{
    const __m256 x = _mm256_max_ps(_mm256_mul_ps(v, _mm256_set1_ps(65535.0f)), _mm256_setzero_ps());
    return _mm256_cvttps_epi32(_mm256_min_ps(x, _mm256_set1_ps(65535.0f)));
}

// Whether the processor running the program has AVX2 (asked once).
inline bool MP_hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}
#endif
