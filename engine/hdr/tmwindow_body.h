// The window walkers of engine/hdr/tmwindow.h for one vector width.
// Included by tmwindow.cpp once per instruction set, inside a namespace of
// its own, with TMV_BYTES (vector size in bytes), TMV_SQRT(v) (lane-wise
// square root), TMV_QUOTIENT(v) (lane-wise v / 65535, correctly rounded) and
// TMV_RANGE_RECIP(v) (1.0f / v, exact for the range weight's denominators)
// defined. Every header it needs is included before. This file
// is included several times on purpose; it has no include guard.
//
// TMV_TARGET carries the instruction set of the wider copy on every function
// and lambda of this file (Clang honours no target pragma, GCC accepts both).
#if TMV_BYTES == 64
#define TMV_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx2,fma")))
#elif TMV_BYTES == 32
#define TMV_TARGET __attribute__((target("avx2,fma")))
#else
#define TMV_TARGET
#endif

typedef float vf __attribute__((vector_size(TMV_BYTES)));
typedef int vi __attribute__((vector_size(TMV_BYTES)));
typedef unsigned short vh __attribute__((vector_size(TMV_BYTES / 2)));
typedef unsigned vu __attribute__((vector_size(TMV_BYTES)));
constexpr int kLanes = TMV_BYTES / 4;
static_assert(kChunk % kLanes == 0, "a chunk is a whole number of vectors");

// v in every lane (one broadcast; vf{} + v would add 0 first).
TMV_TARGET inline vf splat(float v)
{
#if TMV_BYTES == 64
    return reinterpret_cast<vf>(_mm512_set1_ps(v));
#elif TMV_BYTES == 32
    return reinterpret_cast<vf>(_mm256_set1_ps(v));
#else
    return vf{v, v, v, v};
#endif
}
TMV_TARGET inline vi splati(int v) { return vi{} + v; }
TMV_TARGET inline vi lanes()
{
    vi v{};
    for (int i = 0; i < kLanes; ++i)
        v[i] = i;
    return v;
}
TMV_TARGET inline vi load16(const ushort* p)
{
#if TMV_BYTES == 64
    return reinterpret_cast<vi>(_mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))));
#elif TMV_BYTES == 32
    // One widening load (the generic conversion becomes two halves and a merge).
    return reinterpret_cast<vi>(_mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
#else
    vh h;
    std::memcpy(&h, p, sizeof h);
    return __builtin_convertvector(h, vi);
#endif
}
TMV_TARGET inline vi loadInts(const int* p)
{
    vi v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
TMV_TARGET inline void store(float* p, vf v) { std::memcpy(p, &v, sizeof v); }
TMV_TARGET inline vf load(const float* p)
{
    vf v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
TMV_TARGET inline vf toFloat(vi v) { return __builtin_convertvector(v, vf); }
TMV_TARGET inline vf keepWhere(vf v, vi mask) { return reinterpret_cast<vf>(reinterpret_cast<vi>(v) & mask); }
// v with the sign of d (d < 0 or -0: -v) for v >= 0.
TMV_TARGET inline vf withSignOf(vf v, vf d)
{
    return reinterpret_cast<vf>(reinterpret_cast<vi>(v) ^ (reinterpret_cast<vi>(d) & splati(INT32_MIN)));
}
TMV_TARGET inline vf absolute(vf v) { return reinterpret_cast<vf>(reinterpret_cast<vi>(v) & splati(INT32_MAX)); }

// Window rows of image row y: ky = y1, y1 + step, ... up to y2.
TMV_TARGET inline void windowRows(int y, int height, int r, int step, bool panorama, int* y1, int* y2)
{
    int first = -r;
    if (panorama) {
        if (y < r)
            first = -y;
    } else {
        while (y + first < 0)
            first += step;
    }
    *y1 = first;
    *y2 = MP_imin(r, height - 1 - y);
}

// The samples kx = -h, -h + step, ... h of one window row for the lanes
// starting at column x: sample(kx, clipped), clipped only where a lane's
// sample may fall outside the image (never in panorama mode).
template <class F>
TMV_TARGET inline void walkRowSamples(bool panorama, int width, int x, int h, int step, F&& sample)
{
    int kx = -h;
    if (panorama) {
        for (; kx <= h; kx += step)
            sample(kx, false);
        return;
    }
    // Every lane's sample is inside the image for -x <= kx <= width - kLanes - x.
    const int lo = -x, hi = width - kLanes - x;
    for (; kx <= h && kx < lo; kx += step)
        sample(kx, true);
    for (; kx <= h && kx <= hi; kx += step)
        sample(kx, false);
    for (; kx <= h; kx += step)
        sample(kx, true);
}

// Statistics over the luminance plane. The sums of each lane follow the
// sample order of its own pixel; lanes whose sample lies outside the image
// (only outside panorama mode) add nothing for it.
template <unsigned Sums>
TMV_TARGET void stats(const Window& win, int y, int x0, int n, const int* K, Stats& out)
{
    int y1, y2;
    windowRows(y, win.height, win.r, win.step, win.panorama, &y1, &y2);
    const int step = win.step;
    const vf k = splat(1.0f / 65535.0f);
    const vf eps = splat(0.001f);
    const vi lane = lanes();
    const vi width = splati(win.width);

    for (int g = 0; g < n; g += kLanes) {
        const int x = x0 + g;
        const vf centre = toFloat(loadInts(K + g));
        vf lumd{}, mean{}, dist{}, det{};

        for (int ky = y1; ky <= y2; ky += step) {
            const int h = win.halfWidth[ky + win.r];
            const float* wrow = &localexp[MP_localexpIndex(0, ky)];
            const ushort* lrow = win.lum + static_cast<ptrdiff_t>(y + ky) * win.stride + x;

            auto sample = [&](int kx, bool masked) TMV_TARGET __attribute__((always_inline)) {
                // d = K - L and a = |d| in single precision: exact for
                // integers below 2^24, and d is +0 where K = L.
                const vf L = toFloat(load16(lrow + kx));
                const vf d = centre - L;
                const vf a = absolute(d);
                const vf ak = a * k;
                vf w = splat(wrow[kx]) * TMV_RANGE_RECIP(ak + eps);
                if (masked) {
                    const vi col = lane + (x + kx);
                    w = keepWhere(w, (col >= 0) & (col < width));
                }
                lumd += w;
                if constexpr ((Sums & kSumMean) != 0)
                    mean += L * w;
                if constexpr ((Sums & kSumAbs) != 0)
                    dist += a * w;
                if constexpr ((Sums & kSumSigned) != 0)
                    dist += d * w;
                det += withSignOf(TMV_SQRT(ak), d) * w;
            };

            walkRowSamples(win.panorama, win.width, x, h, step, sample);
        }
        store(out.lumd + g, lumd);
        store(out.mean + g, mean);
        store(out.dist + g, dist);
        store(out.det + g, det);
    }
}

// Statistics of TMmeandiff over the planes of the RGB source, in the order
// and with the operations of the stats walk (the root of a / 65535 by
// TMV_QUOTIENT, the quotient as the division rounds it).
TMV_TARGET void colourStats(const ColourWindow& win, int y, int x0, int n, const int* K, ColourStats& out)
{
    int y1, y2;
    windowRows(y, win.height, win.r, win.step, win.panorama, &y1, &y2);
    const int step = win.step;
    const ptrdiff_t cs = win.stride;
    const vf k = splat(1.0f / 65535.0f);
    const vf eps = splat(0.001f);
    const vi lane = lanes();
    const vi width = splati(win.width);

    for (int g = 0; g < n; g += kLanes) {
        const int x = x0 + g;
        const vf centre = toFloat(loadInts(K + g));
        vf lumd{}, mean{}, det{};
        vf red = splat(0.01f), green = splat(0.01f), blue = splat(0.01f);

        for (int ky = y1; ky <= y2; ky += step) {
            const int h = win.halfWidth[ky + win.r];
            const float* wrow = &localexp[MP_localexpIndex(0, ky)];
            const ushort* lrow = win.planes + static_cast<ptrdiff_t>(y + ky) * 4 * cs + x;

            auto sample = [&](int kx, bool masked) TMV_TARGET __attribute__((always_inline)) {
                const ushort* p = lrow + kx;
                const vf L = toFloat(load16(p));
                const vf d = centre - L;
                const vf a = absolute(d);
                vf w = splat(wrow[kx]) * TMV_RANGE_RECIP(a * k + eps);
                if (masked) {
                    const vi col = lane + (x + kx);
                    w = keepWhere(w, (col >= 0) & (col < width));
                }
                lumd += w;
                mean += L * w;
                det += withSignOf(TMV_SQRT(TMV_QUOTIENT(a)), d) * w;
                red += toFloat(load16(p + cs)) * w;
                green += toFloat(load16(p + 2 * cs)) * w;
                blue += toFloat(load16(p + 3 * cs)) * w;
            };

            walkRowSamples(win.panorama, win.width, x, h, step, sample);
        }
        store(out.lumd + g, lumd);
        store(out.mean + g, mean);
        store(out.det + g, det);
        store(out.red + g, red);
        store(out.green + g, green);
        store(out.blue + g, blue);
    }
}

// The tail for the pixels of a chunk (MP_calcTMdampdetdark lane by lane).
TMV_TARGET void tail(TailChunk& t, int n, const TailParams& p)
{
    const vf zero{}, one = splat(1.0f);
    const vf lr = splat(p.lumr), lg = splat(p.lumg), lb = splat(p.lumb);
    const vf l = splat(p.damping), D = splat(p.detail), M = splat(p.microdetail);
    const vf keepD = one - D, keepM = one - M;
    const vf makro = splat(1.3f), mikro = splat(5.0f), half = splat(0.5f), two = splat(2.0f);
    for (int g = 0; g < n; g += kLanes) {
        const vf bx = load(t.c0b[0] + g), by = load(t.c0b[1] + g), bz = load(t.c0b[2] + g);
        const vf ex = load(t.ce[0] + g), ey = load(t.ce[1] + g), ez = load(t.ce[2] + g);
        const vf lumdet = load(t.lumdet + g), lum0 = load(t.lum0 + g);

        vf lume = ex * lr + ey * lg + ez * lb;
        const vi below = lume < zero, above = one < lume;
        lume = reinterpret_cast<vf>((reinterpret_cast<vi>(zero) & below) |
                                    (~below & ((reinterpret_cast<vi>(one) & above) | (~above & reinterpret_cast<vi>(lume)))));
        const vf gd = one - lume * l;
        const vf l2 = ex * ex + ey * ey + ez * ez;
        const vf inv = keepWhere(one / TMV_SQRT(l2), l2 > zero);
        const vf H = keepD + D * ((lumdet * makro + one) * keepM + (inv * mikro * lumdet + one) * M);
        const vf q = (half - lum0) * two;
        const vf q3 = q * q * q;
        const vf t6 = q3 * q3;
        const vf a0 = (one - gd) * H * (one - t6) + t6;
        const vf a1 = gd * H * (one - t6);
        store(t.out[0] + g, bx * a0 + ex * a1);
        store(t.out[1] + g, by * a0 + ey * a1);
        store(t.out[2] + g, bz * a0 + ez * a1);
    }
}

// ---- The per-pixel steps around the walk -----------------------------------------------

TMV_TARGET inline vf select(vi mask, vf a, vf b)
{
    return reinterpret_cast<vf>((reinterpret_cast<vi>(a) & mask) | (reinterpret_cast<vi>(b) & ~mask));
}
TMV_TARGET inline void storeInts(int* p, vi v) { std::memcpy(p, &v, sizeof v); }

// (int)x held to 0..65535, NaN to 0: MP_tableIndex and MP_safeTrunc(x, 0, 65535)
// of a value already scaled by 65535.
TMV_TARGET inline vi index16(vf x)
{
    x = select(x > vf{}, x, vf{});
    const vf top = splat(65535.0f);
    x = select(x < top, x, top);
    return __builtin_convertvector(x, vi);
}

TMV_TARGET inline vf gather(const float* table, vi index)
{
#if TMV_BYTES == 64
    return reinterpret_cast<vf>(_mm512_i32gather_ps(reinterpret_cast<__m512i>(index), table, 4));
#elif TMV_BYTES == 32
    return reinterpret_cast<vf>(_mm256_i32gather_ps(table, reinterpret_cast<__m256i>(index), 4));
#else
    vf v;
    for (int i = 0; i < kLanes; ++i)
        v[i] = table[index[i]];
    return v;
#endif
}

// The lanes of a mask as bits.
TMV_TARGET inline unsigned laneBits(vi mask)
{
#if TMV_BYTES == 64
    return _mm512_movepi32_mask(reinterpret_cast<__m512i>(mask));
#elif TMV_BYTES == 32
    return static_cast<unsigned>(_mm256_movemask_ps(reinterpret_cast<__m256>(mask)));
#else
    unsigned bits = 0;
    for (int i = 0; i < kLanes; ++i)
        bits |= mask[i] ? 1u << i : 0u;
    return bits;
#endif
}

#if TMV_BYTES == 64
// Word i of the channel planes from 16 interleaved pixels (words 0..47 of two
// registers) and back.
alignas(64) static const short kPickR[32] = {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45};
alignas(64) static const short kPickG[32] = {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37, 40, 43, 46};
alignas(64) static const short kPickB[32] = {2, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35, 38, 41, 44, 47};
// r in words 0..15 and g in 16..31 of the first register, b in 32..47.
alignas(64) static const short kPlace0[32] = {0,  16, 32, 1,  17, 33, 2,  18, 34, 3,  19, 35, 4,  20, 36, 5,
                                              21, 37, 6,  22, 38, 7,  23, 39, 8,  24, 40, 9,  25, 41, 10, 26};
alignas(64) static const short kPlace1[32] = {42, 11, 27, 43, 12, 28, 44, 13, 29, 45, 14, 30, 46, 15, 31, 47};
#endif

// kLanes interleaved RGB48 pixels at s as three planes of ints, and back.
TMV_TARGET inline void loadRGB(const ushort* s, vi& r, vi& g, vi& b)
{
#if TMV_BYTES == 64
    const __m512i lo = _mm512_loadu_si512(s);
    const __m512i hi = _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 32)));
    auto pick = [&](const short* idx) TMV_TARGET {
        const __m512i w = _mm512_permutex2var_epi16(lo, _mm512_load_si512(idx), hi);
        return reinterpret_cast<vi>(_mm512_cvtepu16_epi32(_mm512_castsi512_si256(w)));
    };
    r = pick(kPickR);
    g = pick(kPickG);
    b = pick(kPickB);
#elif TMV_BYTES == 32
    __m256i R, G, B;
    MP_loadRGB48Planes8(s, R, G, B);
    r = reinterpret_cast<vi>(R);
    g = reinterpret_cast<vi>(G);
    b = reinterpret_cast<vi>(B);
#else
    for (int i = 0; i < kLanes; ++i) {
        r[i] = s[3 * i];
        g[i] = s[3 * i + 1];
        b[i] = s[3 * i + 2];
    }
#endif
}

// Ints 0..65535.
TMV_TARGET inline void storeRGB(ushort* d, vi r, vi g, vi b)
{
#if TMV_BYTES == 64
    const __m256i r16 = _mm512_cvtepi32_epi16(reinterpret_cast<__m512i>(r));
    const __m256i g16 = _mm512_cvtepi32_epi16(reinterpret_cast<__m512i>(g));
    const __m512i b16 = _mm512_castsi256_si512(_mm512_cvtepi32_epi16(reinterpret_cast<__m512i>(b)));
    const __m512i rg = _mm512_inserti64x4(_mm512_castsi256_si512(r16), g16, 1);
    _mm512_storeu_si512(d, _mm512_permutex2var_epi16(rg, _mm512_load_si512(kPlace0), b16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 32),
                        _mm512_castsi512_si256(_mm512_permutex2var_epi16(rg, _mm512_load_si512(kPlace1), b16)));
#elif TMV_BYTES == 32
    MP_storeRGB48Planes8(d, reinterpret_cast<__m256i>(r), reinterpret_cast<__m256i>(g), reinterpret_cast<__m256i>(b));
#else
    for (int i = 0; i < kLanes; ++i) {
        d[3 * i] = static_cast<ushort>(r[i]);
        d[3 * i + 1] = static_cast<ushort>(g[i]);
        d[3 * i + 2] = static_cast<ushort>(b[i]);
    }
#endif
}

TMV_TARGET void loadChunk(const ushort* s, int n, const TailParams& p, TailChunk& t, int* K)
{
    const vf k = splat(1.0f / 65535.0f), scale = splat(65535.0f);
    const vf lr = splat(p.lumr), lg = splat(p.lumg), lb = splat(p.lumb);
    for (int g = 0; g < n; g += kLanes) {
        vi R, G, B;
        if (g + kLanes <= n) {
            loadRGB(s + 3 * g, R, G, B);
        } else {
            // The row ends inside this group: the missing pixels are black.
            ushort part[3 * kLanes] = {};
            std::memcpy(part, s + 3 * g, static_cast<size_t>(n - g) * 3 * sizeof(ushort));
            loadRGB(part, R, G, B);
        }
        const vf x = toFloat(R) * k, y = toFloat(G) * k, z = toFloat(B) * k;
        store(t.c0[0] + g, x);
        store(t.c0[1] + g, y);
        store(t.c0[2] + g, z);
        const vf lum0 = lr * x + lg * y + lb * z;
        store(t.lum0 + g, lum0);
        storeInts(K + g, index16(lum0 * scale));
    }
}

TMV_TARGET uint64_t localChunk(const Stats& st, int n, TailChunk& t)
{
    const vf one = splat(1.0f), k = splat(1.0f / 65535.0f), scale = splat(65535.0f);
    uint64_t empty = 0;
    for (int g = 0; g < n; g += kLanes) {
        const vf lumd = load(st.lumd + g);
        const vf inv = one / lumd;
        const vf kinv = k * inv;
        const vf lumsum = kinv * load(st.mean + g);
        store(t.lumsum + g, lumsum);
        store(t.lumdist + g, kinv * load(st.dist + g));
        store(t.lumdet + g, inv * load(st.det + g));
        storeInts(t.m16 + g, index16(lumsum * scale));
        empty |= static_cast<uint64_t>(laneBits(~(lumd > vf{}))) << g;
    }
    return n < 64 ? empty & ((uint64_t{1} << n) - 1) : empty;
}

TMV_TARGET void compressChunk(TailChunk& t, int n, float licomp, const float* powTable)
{
    const float v = licomp * 0.99f + 0.01f;
    const vf vv = splat(v), below = splat(1.0f - v), one = splat(1.0f), scale = splat(65535.0f);
    for (int g = 0; g < n; g += kLanes) {
        const vf s0 = load(t.lum0 + g) - below;
        const vi on = s0 > vf{};
        if (laneBits(on) == 0) {
            for (int c = 0; c < 3; ++c)
                store(t.c0b[c] + g, load(t.c0[c] + g));
            continue;
        }
        const vf s = s0 / vv;
        const vf keep = one - s;
        for (int c = 0; c < 3; ++c) {
            const vf col = load(t.c0[c] + g);
            const vf out = keep * col + s * gather(powTable, index16(col * scale));
            store(t.c0b[c] + g, select(on, out, col));
        }
    }
}

TMV_TARGET void tableGainChunk(TailChunk& t, int n, float b, const float* table)
{
    const vf bb = splat(b);
    for (int g = 0; g < n; g += kLanes) {
        const vf f = bb * gather(table, loadInts(t.m16 + g));
        for (int c = 0; c < 3; ++c)
            store(t.ce[c] + g, load(t.c0b[c] + g) * f);
    }
}

TMV_TARGET void formulaGainChunk(FormulaGain kind, TailChunk& t, int n, float strength)
{
    const vf zero{}, one = splat(1.0f), eps = splat(0.001f), hundredth = splat(0.01f), threeQ = splat(0.75f);
    const vf ts = splat(strength), keep = splat(1.0f - strength);
    const vf u = splat(0.99f * strength), keepU = splat(1.0f - 0.99f * strength);
    for (int g = 0; g < n; g += kLanes) {
        const vf cx = load(t.c0b[0] + g), cy = load(t.c0b[1] + g), cz = load(t.c0b[2] + g);
        const vf lumsum = load(t.lumsum + g);
        vf ex, ey, ez;
        if (kind == FormulaGain::MeanLin) {
            const vf nn = one / TMV_SQRT(cx * cx + cy * cy + cz * cz + eps);
            vf G = lumsum - load(t.lumdet + g);
            G = select(G > zero, G, zero);
            const vf H = one + select(G < one, G, one);
            const vf f = (load(t.lum0 + g) + one) * nn / H * ts;
            ex = cx * f + cx * keep;
            ey = cy * f + cy * keep;
            ez = cz * f + cz * keep;
        } else if (kind == FormulaGain::GradLum) {
            const vf nn = one / TMV_SQRT(cx * cx + cy * cy + cz * cz + eps);
            const vf f = one / (hundredth + load(t.lum0 + g));
            const vf gg = f * lumsum * load(t.lumdist + g);
            const vf keepG = one - gg;
            ex = (keepU * cx + threeQ * cx * f * u) * keepG + cx * nn * gg;
            ey = (keepU * cy + threeQ * cy * f * u) * keepG + cy * nn * gg;
            ez = (keepU * cz + threeQ * cz * f * u) * keepG + cz * nn * gg;
        } else {
            const vf P = TMV_SQRT(TMV_SQRT(load(t.lumdist + g)));
            const vf Q = (one - P) * threeQ / (lumsum + hundredth);
            ex = cx * keep + (P * cx + cx * Q) * ts;
            ey = cy * keep + (P * cy + cy * Q) * ts;
            ez = cz * keep + (P * cz + cz * Q) * ts;
        }
        store(t.ce[0] + g, ex);
        store(t.ce[1] + g, ey);
        store(t.ce[2] + g, ez);
    }
}

TMV_TARGET uint64_t colourGainChunk(const ColourStats& st, int n, float s, TailChunk& t)
{
    const vf one = splat(1.0f), k = splat(1.0f / 65535.0f), eps = splat(0.001f);
    const vf strength = splat(s), keep = splat(1.0f - s);
    uint64_t empty = 0;
    for (int g = 0; g < n; g += kLanes) {
        const vf lumd = load(st.lumd + g);
        const vf inv = one / lumd;
        const vf kinv = k * inv;
        const vf ax = load(st.red + g) * kinv, ay = load(st.green + g) * kinv, az = load(st.blue + g) * kinv;
        const vf meanp = kinv * load(st.mean + g) + eps;
        const vf q = (load(t.lum0 + g) + eps) / meanp * strength;
        const vf len = TMV_SQRT(ax * ax + ay * ay + az * az + eps);
        store(t.ce[0] + g, keep * load(t.c0b[0] + g) + ax * q / len);
        store(t.ce[1] + g, keep * load(t.c0b[1] + g) + ay * q / len);
        store(t.ce[2] + g, keep * load(t.c0b[2] + g) + az * q / len);
        store(t.lumdet + g, inv * load(st.det + g));
        empty |= static_cast<uint64_t>(laneBits(~(lumd > vf{}))) << g;
    }
    return n < 64 ? empty & ((uint64_t{1} << n) - 1) : empty;
}

TMV_TARGET void storeBlendChunk(const TailChunk& t, const int* K, const float* mask, int n, ushort* d)
{
    const vf one = splat(1.0f), scale = splat(65535.0f);
    for (int g = 0; g < n; g += kLanes) {
        const vf m = gather(mask, loadInts(K + g));
        const vf keep = one - m;
        vi out[3];
        for (int c = 0; c < 3; ++c) {
            vf v = load(t.c0[c] + g) * keep + load(t.out[c] + g) * m;
            // Held to 0..1 with NaN to 0, as MP_storeRGB48Clamped does.
            v = select(v > vf{}, select(v < one, v, one), vf{});
            out[c] = __builtin_convertvector(v * scale, vi);
        }
        if (g + kLanes <= n) {
            storeRGB(d + 3 * g, out[0], out[1], out[2]);
        } else {
            ushort part[3 * kLanes];
            storeRGB(part, out[0], out[1], out[2]);
            std::memcpy(d + 3 * g, part, static_cast<size_t>(n - g) * 3 * sizeof(ushort));
        }
    }
}

#undef TMV_TARGET
