// Writes the program's texture data files: raw little-endian RGB48 pixels,
// rows top to bottom, no header, exactly width x height x 6 bytes each.
//
//   gen_textures <output folder>
//
// Every picture comes from an own seeded generator, so each build writes the
// same bytes. The tiled textures (structure, fabric, crack, paper, metal,
// puzzle) wrap seamlessly at their size: every noise lattice and every wave
// has a whole number of periods across the picture.
//
// Channel meaning, as the kernels read them:
//   structure   R, B: slopes of a glass relief (32768 flat), G: 32768
//   cubes       eight bands of 64 rows; band S holds one cube in its top-left
//               (4S + 2)-square: grey faces around 43690 (so the colour of
//               the image is kept), black (red 0) everywhere else
//   fabric,
//   crack       G: relief with a mean near 36408; R, B: 32768
//   paper       G: relief with a mean near 43690; R, B: shifts (32768 none)
//   metal       R, B: gentle slopes; G: grain near 32768
//   puzzle      R, B: bumps along the piece outlines (whole pieces each way)
//   bubbles     lit discs on black

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// splitmix64: a small, fully specified seeded generator.
struct Random {
    uint64_t state;
    explicit Random(uint64_t seed) : state(seed) {}
    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
};

uint64_t hash3(uint64_t seed, uint64_t x, uint64_t y)
{
    Random r(seed ^ (x * 0x9E3779B1ull) ^ (y * 0x85EBCA77C2B2AE63ull));
    r.next();
    return r.next();
}

struct Picture {
    int w, h;
    std::vector<uint16_t> rgb;
    Picture(int width, int height) : w(width), h(height), rgb(size_t(width) * size_t(height) * 3, 0) {}
    void set(int x, int y, double r, double g, double b)
    {
        auto clamp16 = [](double v) { return uint16_t(std::clamp(std::lround(v), 0l, 65535l)); };
        const size_t i = (size_t(y) * size_t(w) + size_t(x)) * 3;
        rgb[i] = clamp16(r);
        rgb[i + 1] = clamp16(g);
        rgb[i + 2] = clamp16(b);
    }
};

// Value noise in [-1, 1] on a lattice of cells x cells over a w x h picture,
// wrapping at the picture's edges (smooth-step interpolation).
class TiledNoise {
public:
    TiledNoise(uint64_t seed, int cellsX, int cellsY) : m_seed(seed), m_cx(cellsX), m_cy(cellsY) {}
    double at(double u, double v) const // u, v in [0, 1)
    {
        const double fx = u * m_cx, fy = v * m_cy;
        const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        const double tx = smooth(fx - x0), ty = smooth(fy - y0);
        const double a = lattice(x0, y0), b = lattice(x0 + 1, y0);
        const double c = lattice(x0, y0 + 1), d = lattice(x0 + 1, y0 + 1);
        return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
    }

private:
    static double smooth(double t) { return t * t * (3.0 - 2.0 * t); }
    double lattice(int x, int y) const
    {
        const uint64_t wx = uint64_t(((x % m_cx) + m_cx) % m_cx), wy = uint64_t(((y % m_cy) + m_cy) % m_cy);
        return double(hash3(m_seed, wx, wy) >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }
    uint64_t m_seed;
    int m_cx, m_cy;
};

// Several octaves of tiled noise; the result is roughly in [-1, 1].
double fractal(uint64_t seed, double u, double v, int baseCells, int octaves, double falloff = 0.5)
{
    double sum = 0.0, amplitude = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        const int cells = baseCells << o;
        sum += amplitude * TiledNoise(seed + uint64_t(o) * 7919u, cells, cells).at(u, v);
        norm += amplitude;
        amplitude *= falloff;
    }
    return sum / norm;
}

// Shifts the G channel so its mean is target (the relief's shape stays).
void setMeanG(Picture& p, double target)
{
    double sum = 0.0;
    const size_t n = size_t(p.w) * size_t(p.h);
    for (size_t i = 0; i < n; ++i)
        sum += p.rgb[i * 3 + 1];
    const double shift = target - sum / double(n);
    for (size_t i = 0; i < n; ++i)
        p.rgb[i * 3 + 1] = uint16_t(std::clamp(std::lround(p.rgb[i * 3 + 1] + shift), 0l, 65535l));
}

// Slopes (central differences, wrapping) of a height field as R and B around 32768.
void slopesToRB(Picture& p, const std::vector<double>& height, double gain)
{
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            auto hAt = [&](int xx, int yy) {
                return height[size_t((yy + p.h) % p.h) * size_t(p.w) + size_t((xx + p.w) % p.w)];
            };
            const double dx = hAt(x + 1, y) - hAt(x - 1, y);
            const double dy = hAt(x, y + 1) - hAt(x, y - 1);
            const size_t i = (size_t(y) * size_t(p.w) + size_t(x)) * 3;
            p.rgb[i] = uint16_t(std::clamp(std::lround(32768.0 + gain * dx), 0l, 65535l));
            p.rgb[i + 2] = uint16_t(std::clamp(std::lround(32768.0 + gain * dy), 0l, 65535l));
        }
    }
}

Picture glassStructure(uint64_t seed)
{
    Picture p(993, 993);
    std::vector<double> height(size_t(p.w) * size_t(p.h));
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            height[size_t(y) * size_t(p.w) + size_t(x)] = fractal(seed, double(x) / p.w, double(y) / p.h, 6, 4);
    slopesToRB(p, height, 60000.0);
    for (size_t i = 0; i < height.size(); ++i)
        p.rgb[i * 3 + 1] = 32768;
    return p;
}

Picture cubes()
{
    Picture p(512, 512);
    for (int s = 1; s <= 8; ++s) {
        const int top = 64 * (s - 1), size = 4 * s + 2;
        // An isometric box whose hexagon touches all four sides of the
        // square: top face light, left face mid, right face dark; the three
        // shades average 43690, so the colour of the image is kept.
        const double n = size, half = n / 2.0, quarter = n / 4.0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                // How far the hexagon's upper edges have risen: 0 in the middle, a quarter at the sides.
                const double slope = std::fabs(px - half) * (quarter / half);
                if (py < slope || py > n - slope)
                    continue; // outside the hexagon
                double shade;
                if (py < 2.0 * quarter - slope)
                    shade = 52428.0; // top face (its lower edges meet in the middle)
                else
                    shade = px < half ? 43690.0 : 34952.0; // left, right face
                p.set(x, top + y, shade, shade, shade);
            }
        }
    }
    return p;
}

Picture reliefG(uint64_t seed, int variant, double mean, bool crack)
{
    Picture p(512, 512);
    const int base = 4 + variant;
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            const double u = double(x) / p.w, v = double(y) / p.h;
            double g;
            if (crack) {
                // Cracks: thin valleys where the noise crosses zero.
                const double n = fractal(seed, u, v, base, 4);
                const double valley = std::exp(-std::fabs(n) * 40.0);
                g = mean + 9000.0 * fractal(seed + 99, u, v, base * 2, 3) - 30000.0 * valley;
            } else {
                // Fabric: a woven grid of whole periods, roughened by noise.
                const double threads = 16.0 * (1 + variant % 3);
                const double warp = std::sin(2.0 * M_PI * threads * u), weft = std::sin(2.0 * M_PI * threads * v);
                const bool over = (int(std::floor(threads * u * 2)) + int(std::floor(threads * v * 2))) % 2 == 0;
                g = mean + 9000.0 * (over ? warp * warp : weft * weft) + 4000.0 * fractal(seed, u, v, base, 3);
            }
            p.set(x, y, 32768.0, g, 32768.0);
        }
    }
    setMeanG(p, mean);
    return p;
}

Picture paper(uint64_t seed, int variant)
{
    Picture p(512, 512);
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            const double u = double(x) / p.w, v = double(y) / p.h;
            const double fibre = fractal(seed, u, v, 8 + variant * 2, 4, 0.6);
            const double r = 32768.0 + 2500.0 * fractal(seed + 11, u, v, 3 + variant, 2);
            const double b = 32768.0 + 2500.0 * fractal(seed + 23, u, v, 3 + variant, 2);
            p.set(x, y, r, 43690.0 + 7000.0 * fibre, b);
        }
    }
    setMeanG(p, 43690.0);
    return p;
}

Picture metal(uint64_t seed, int variant)
{
    Picture p(512, 512);
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            const double u = double(x) / p.w, v = double(y) / p.h;
            // Brushed grain: noise stretched along x (many cells across y).
            const double grain = TiledNoise(seed, 4, 256).at(u, v) * 0.7 + fractal(seed + 5, u, v, 16, 3) * 0.3;
            // Whole periods along both axes keep the slopes seamless.
            const double r = 32768.0 + 1200.0 * std::sin(2.0 * M_PI * ((1 + variant % 2) * u + v));
            const double b = 32768.0 + 1200.0 * std::cos(2.0 * M_PI * (2.0 * v - (1 + variant % 3) * u));
            p.set(x, y, r, 32768.0 + 3000.0 * grain, b);
        }
    }
    return p;
}

// A jigsaw of piecesX x piecesY whole pieces: the height is a ridge along
// the outlines (straight edges and a round knob on each shared edge, facing
// one way or the other by a hash), its slopes go to R and B.
Picture puzzle(uint64_t seed, int w, int h, int piecesX, int piecesY)
{
    Picture p(w, h);
    std::vector<double> height(size_t(w) * size_t(h));
    const double pw = double(w) / piecesX, ph = double(h) / piecesY, radius = std::min(pw, ph) * 0.16;
    auto wrap = [](int i, int n) { return uint64_t(((i % n) + n) % n); };
    // The knob centre of the right (edge 0) or bottom (edge 1) edge of piece (ix, iy).
    auto knob = [&](int ix, int iy, int edge, double* cx, double* cy) {
        const bool out = (hash3(seed, wrap(ix, piecesX), wrap(iy, piecesY) * 2 + uint64_t(edge)) & 1) != 0;
        const double shift = (out ? 0.12 : -0.12);
        *cx = edge == 0 ? (ix + 1 + shift) * pw : (ix + 0.5) * pw;
        *cy = edge == 0 ? (iy + 0.5) * ph : (iy + 1 + shift) * ph;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double X = x + 0.5, Y = y + 0.5;
            const int ix = int(X / pw), iy = int(Y / ph);
            const double lx = X - ix * pw, ly = Y - iy * ph;
            double d = std::min(std::min(lx, pw - lx), std::min(ly, ph - ly));
            const int edges[4][3] = {{ix, iy, 0}, {ix - 1, iy, 0}, {ix, iy, 1}, {ix, iy - 1, 1}};
            for (const auto& e : edges) {
                double cx, cy;
                knob(e[0], e[1], e[2], &cx, &cy);
                d = std::min(d, std::fabs(std::hypot(X - cx, Y - cy) - radius));
            }
            height[size_t(y) * size_t(w) + size_t(x)] = std::exp(-d * d / 8.0);
        }
    }
    slopesToRB(p, height, 14000.0);
    for (size_t i = 0; i < height.size(); ++i)
        p.rgb[i * 3 + 1] = 32768;
    return p;
}

Picture bubble(uint64_t seed)
{
    Picture p(128, 128);
    Random r(seed);
    const double cx = 64.0 + (r.unit() - 0.5) * 4.0, cy = 64.0 + (r.unit() - 0.5) * 4.0, radius = 56.0;
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d > 1.0)
                continue;
            // A thin bright rim, a soft body and a highlight up left.
            const double rim = std::exp(-(1.0 - d) * (1.0 - d) * 200.0);
            const double highlight = std::exp(-(std::pow(x - cx + 20, 2) + std::pow(y - cy + 20, 2)) / 60.0);
            const double v = 65535.0 * std::min(1.0, 0.15 + 0.6 * rim + 0.8 * highlight);
            p.set(x, y, v * 0.95, v, v);
        }
    }
    return p;
}

bool write(const std::string& folder, const std::string& name, const Picture& p)
{
    const std::string path = folder + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::vector<unsigned char> bytes(p.rgb.size() * 2);
    for (size_t i = 0; i < p.rgb.size(); ++i) {
        bytes[i * 2] = static_cast<unsigned char>(p.rgb[i] & 0xff);
        bytes[i * 2 + 1] = static_cast<unsigned char>(p.rgb[i] >> 8);
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_textures <output folder>\n");
        return 2;
    }
    const std::string out = argv[1];
    bool ok = write(out, "2d_structure.dat", glassStructure(2));
    ok = write(out, "2d_cubes.dat", cubes()) && ok;
    char name[64];
    for (int i = 1; i <= 7; ++i) {
        std::snprintf(name, sizeof name, "2d_Fabric%02d.dat", i);
        ok = write(out, name, reliefG(100 + i, i - 1, 36408.0, false)) && ok;
        std::snprintf(name, sizeof name, "2d_crack%02d.dat", i);
        ok = write(out, name, reliefG(200 + i, i - 1, 36408.0, true)) && ok;
        std::snprintf(name, sizeof name, "2d_paper%02d.dat", i);
        ok = write(out, name, paper(300 + i, i - 1)) && ok;
        std::snprintf(name, sizeof name, "2d_metal%02d.dat", i);
        ok = write(out, name, metal(400 + i, i - 1)) && ok;
    }
    const struct {
        int w, h, px, py;
    } puzzles[7] = {{1024, 768, 8, 6}, {768, 1024, 6, 8}, {512, 512, 4, 4}, {1024, 1024, 8, 8},
                    {1024, 768, 4, 3}, {768, 1024, 3, 4}, {512, 512, 8, 8}};
    for (int i = 0; i < 7; ++i) {
        std::snprintf(name, sizeof name, "2d_puzzle%d.dat", i + 1);
        ok = write(out, name, puzzle(500 + uint64_t(i), puzzles[i].w, puzzles[i].h, puzzles[i].px, puzzles[i].py)) &&
             ok;
    }
    for (int i = 1; i <= 6; ++i) {
        std::snprintf(name, sizeof name, "2d_bubble%d.dat", i);
        ok = write(out, name, bubble(600 + uint64_t(i))) && ok;
    }
    if (!ok)
        std::fprintf(stderr, "gen_textures: a file could not be written in %s\n", out.c_str());
    return ok ? 0 : 1;
}
