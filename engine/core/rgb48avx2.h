#pragma once
// Eight interleaved RGB48 pixels at a time with AVX2: loads into three planes
// of 32-bit lanes, stores back, and the run-time test for the processor.
// Reduced workers that take this path keep a per-pixel loop for the pixels of
// a row that do not fill a group of eight, and for processors without AVX2.

#if defined(__x86_64__) || defined(__i386__)
#define MP_HAS_X86_SIMD 1
#include <immintrin.h>

using ushort = unsigned short;

// Eight interleaved RGB48 pixels (24 values from s) as three planes of ints.
__attribute__((target("avx2"))) inline void MP_loadRGB48Planes8(const ushort* s, __m256i& r, __m256i& g, __m256i& b)
{
    const __m256i A = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
    const __m256i B = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8)));
    const __m256i C = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16)));
    // value i of the 24 is A[i], B[i - 8] or C[i - 16]
    r = _mm256_blend_epi32(_mm256_blend_epi32(_mm256_permutevar8x32_epi32(A, _mm256_setr_epi32(0, 3, 6, 0, 0, 0, 0, 0)),
                                              _mm256_permutevar8x32_epi32(B, _mm256_setr_epi32(0, 0, 0, 1, 4, 7, 0, 0)),
                                              0x38),
                           _mm256_permutevar8x32_epi32(C, _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 2, 5)), 0xC0);
    g = _mm256_blend_epi32(_mm256_blend_epi32(_mm256_permutevar8x32_epi32(A, _mm256_setr_epi32(1, 4, 7, 0, 0, 0, 0, 0)),
                                              _mm256_permutevar8x32_epi32(B, _mm256_setr_epi32(0, 0, 0, 2, 5, 0, 0, 0)),
                                              0x18),
                           _mm256_permutevar8x32_epi32(C, _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 3, 6)), 0xE0);
    b = _mm256_blend_epi32(_mm256_blend_epi32(_mm256_permutevar8x32_epi32(A, _mm256_setr_epi32(2, 5, 0, 0, 0, 0, 0, 0)),
                                              _mm256_permutevar8x32_epi32(B, _mm256_setr_epi32(0, 0, 0, 3, 6, 0, 0, 0)),
                                              0x1C),
                           _mm256_permutevar8x32_epi32(C, _mm256_setr_epi32(0, 0, 0, 0, 0, 1, 4, 7)), 0xE0);
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
    const __m256i idx0 = _mm256_setr_epi32(0, 0, 0, 1, 1, 1, 2, 2);
    const __m256i idx1 = _mm256_setr_epi32(2, 3, 3, 3, 4, 4, 4, 5);
    const __m256i idx2 = _mm256_setr_epi32(5, 5, 6, 6, 6, 7, 7, 7);
    // R at positions 0, 3, 6 of A; G at 1, 4, 7; B at 2, 5 (and so on)
    const __m256i A = _mm256_blend_epi32(_mm256_blend_epi32(_mm256_permutevar8x32_epi32(r, idx0),
                                                            _mm256_permutevar8x32_epi32(g, idx0), 0x92),
                                         _mm256_permutevar8x32_epi32(b, idx0), 0x24);
    const __m256i B = _mm256_blend_epi32(_mm256_blend_epi32(_mm256_permutevar8x32_epi32(r, idx1),
                                                            _mm256_permutevar8x32_epi32(g, idx1), 0x24),
                                         _mm256_permutevar8x32_epi32(b, idx1), 0x49);
    const __m256i C = _mm256_blend_epi32(_mm256_blend_epi32(_mm256_permutevar8x32_epi32(r, idx2),
                                                            _mm256_permutevar8x32_epi32(g, idx2), 0x49),
                                         _mm256_permutevar8x32_epi32(b, idx2), 0x92);
    MP_store16x8(d, A);
    MP_store16x8(d + 8, B);
    MP_store16x8(d + 16, C);
}

// Whether the processor running the program has AVX2 (asked once).
inline bool MP_hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}
#endif
