// The window walkers of engine/hdr/tmwindow.h for one vector width.
// Included by tmwindow.cpp once per instruction set, inside a namespace of
// its own, with TMV_BYTES (vector size in bytes) and TMV_SQRT(v) (lane-wise
// square root) defined. Every header it needs is included before. This file
// is included several times on purpose; it has no include guard.

typedef float vf __attribute__((vector_size(TMV_BYTES)));
typedef int vi __attribute__((vector_size(TMV_BYTES)));
typedef unsigned short vh __attribute__((vector_size(TMV_BYTES / 2)));
typedef unsigned vu __attribute__((vector_size(TMV_BYTES)));
constexpr int kLanes = TMV_BYTES / 4;
static_assert(kChunk % kLanes == 0, "a chunk is a whole number of vectors");

inline vf splat(float v) { return vf{} + v; }
inline vi splati(int v) { return vi{} + v; }
inline vi lanes()
{
    vi v{};
    for (int i = 0; i < kLanes; ++i)
        v[i] = i;
    return v;
}
inline vi load16(const ushort* p)
{
    vh h;
    std::memcpy(&h, p, sizeof h);
    return __builtin_convertvector(h, vi);
}
inline vi loadInts(const int* p)
{
    vi v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store(float* p, vf v) { std::memcpy(p, &v, sizeof v); }
inline vf toFloat(vi v) { return __builtin_convertvector(v, vf); }
inline vf keepWhere(vf v, vi mask) { return reinterpret_cast<vf>(reinterpret_cast<vi>(v) & mask); }
// v with the sign of d (d < 0: -v) for v >= 0.
inline vf withSignOf(vf v, vi d) { return reinterpret_cast<vf>(reinterpret_cast<vi>(v) ^ (d & splati(INT32_MIN))); }

// Window rows of image row y: ky = y1, y1 + step, ... up to y2.
inline void windowRows(int y, int height, int r, int step, bool panorama, int* y1, int* y2)
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

// Statistics over the luminance plane. The sums of each lane follow the
// sample order of its own pixel; lanes whose sample lies outside the image
// (only outside panorama mode) add nothing for it.
template <unsigned Sums>
void stats(const Window& win, int y, int x0, int n, const int* K, Stats& out)
{
    int y1, y2;
    windowRows(y, win.height, win.r, win.step, win.panorama, &y1, &y2);
    const int step = win.step;
    const vf k = splat(1.0f / 65535.0f);
    const vf eps = splat(0.001f);
    const vf one = splat(1.0f);
    const vi lane = lanes();
    const vi width = splati(win.width);

    for (int g = 0; g < n; g += kLanes) {
        const int x = x0 + g;
        const vi centre = loadInts(K + g);
        vf lumd{}, mean{}, dist{}, det{};

        for (int ky = y1; ky <= y2; ky += step) {
            const int h = win.halfWidth[ky + win.r];
            const float* wrow = &localexp[MP_localexpIndex(0, ky)];
            const ushort* lrow = win.lum + static_cast<ptrdiff_t>(y + ky) * win.stride + x;

            auto sample = [&](int kx, bool masked) __attribute__((always_inline)) {
                const vi L = load16(lrow + kx);
                const vi d = centre - L;
                const vi sign = d >> 31;
                const vi a = (d ^ sign) - sign;
                const vf af = toFloat(a);
                const vf ak = af * k;
                vf w = splat(wrow[kx]) * (one / (ak + eps));
                if (masked) {
                    const vi col = lane + (x + kx);
                    w = keepWhere(w, (col >= 0) & (col < width));
                }
                lumd += w;
                if constexpr ((Sums & kSumMean) != 0)
                    mean += toFloat(L) * w;
                if constexpr ((Sums & kSumAbs) != 0)
                    dist += af * w;
                if constexpr ((Sums & kSumSigned) != 0)
                    dist += toFloat(d) * w;
                det += withSignOf(TMV_SQRT(ak), sign) * w;
            };

            int kx = -h;
            if (win.panorama) {
                for (; kx <= h; kx += step)
                    sample(kx, false);
            } else {
                // Every lane's sample is inside the image for -x <= kx <= width - kLanes - x.
                const int lo = -x, hi = win.width - kLanes - x;
                for (; kx <= h && kx < lo; kx += step)
                    sample(kx, true);
                for (; kx <= h && kx <= hi; kx += step)
                    sample(kx, false);
                for (; kx <= h; kx += step)
                    sample(kx, true);
            }
        }
        store(out.lumd + g, lumd);
        store(out.mean + g, mean);
        store(out.dist + g, dist);
        store(out.det + g, det);
    }
}

// Statistics of TMmeandiff over the RGB source.
void colourStats(const ColourWindow& win, int y, int x0, int n, const int* K, ColourStats& out)
{
    int y1, y2;
    windowRows(y, win.height, win.r, win.step, win.panorama, &y1, &y2);
    const int step = win.step;
    const int width = win.width;
    const vf k = splat(1.0f / 65535.0f);
    const vf eps = splat(0.001f);
    const vf one = splat(1.0f);
    const vf full = splat(65535.0f);
    const vi wr = splati(win.wr), wg = splati(win.wg), wb = splati(win.wb);
    const vi maxLum = splati(65535);

    for (int g = 0; g < n; g += kLanes) {
        const int x = x0 + g;
        const vi centre = loadInts(K + g);
        vf lumd{}, mean{}, det{};
        vf red = splat(0.01f), green = splat(0.01f), blue = splat(0.01f);

        for (int ky = y1; ky <= y2; ky += step) {
            const int h = win.halfWidth[ky + win.r];
            const float* wrow = &localexp[MP_localexpIndex(0, ky)];
            const ushort* srow = win.src + static_cast<size_t>(y + ky) * static_cast<size_t>(width) * 3;

            for (int kx = -h; kx <= h; kx += step) {
                // The lanes' colours: one run of the row when every lane's
                // column is inside it, else lane by lane.
                vi R, G, B, valid = splati(-1);
                int base = x + kx;
                if (win.panorama)
                    base = ((base % width) + width) % width;
                if (base >= 0 && base + kLanes <= width) {
                    const ushort* p = srow + static_cast<size_t>(base) * 3;
                    for (int i = 0; i < kLanes; ++i) {
                        R[i] = p[3 * i];
                        G[i] = p[3 * i + 1];
                        B[i] = p[3 * i + 2];
                    }
                } else {
                    for (int i = 0; i < kLanes; ++i) {
                        int c = x + i + kx;
                        if (win.panorama) {
                            c = ((c % width) + width) % width;
                        } else if (c < 0 || c >= width) {
                            valid[i] = 0;
                            c = 0;
                        }
                        const ushort* p = srow + static_cast<size_t>(c) * 3;
                        R[i] = p[0];
                        G[i] = p[1];
                        B[i] = p[2];
                    }
                }
                // 14-bit luminance; weights of 0..16384 each keep the sum
                // inside 32 bits, and no luminance exceeds 65535.
                vi L = reinterpret_cast<vi>((reinterpret_cast<vu>(wr * R) + reinterpret_cast<vu>(wg * G) +
                                             reinterpret_cast<vu>(wb * B)) >>
                                            14);
                const vi over = L > maxLum;
                L = (L & ~over) | (maxLum & over);

                const vi d = centre - L;
                const vi sign = d >> 31;
                const vi a = (d ^ sign) - sign;
                const vf af = toFloat(a);
                const vf w = keepWhere(splat(wrow[kx]) * (one / (af * k + eps)), valid);
                lumd += w;
                mean += toFloat(L) * w;
                det += withSignOf(TMV_SQRT(af / full), sign) * w;
                red += toFloat(R) * w;
                green += toFloat(G) * w;
                blue += toFloat(B) * w;
            }
        }
        store(out.lumd + g, lumd);
        store(out.mean + g, mean);
        store(out.det + g, det);
        store(out.red + g, red);
        store(out.green + g, green);
        store(out.blue + g, blue);
    }
}
