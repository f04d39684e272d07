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

#undef TMV_TARGET
