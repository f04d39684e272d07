#pragma once
// Shared set-up of the effect driver tests: a parameter block with the
// engine's luminance weights, test pictures and texture slots filled in
// memory.

#include "enginefixture.h"

#include <functional>

class EffectTest : public EngineTest {
protected:
    MP_Params params{};

public:
    void SetUp() override
    {
        EngineTest::SetUp();
        params = freshParams();
    }

    static MP_Params freshParams()
    {
        MP_Params p{};
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        p.previewscalingfactor = 1.0f;
        p.unit_kernel_multiplier = 1.0f;
        p.cpu_loopstep_mulitplier = 17.5f;
        p.loopstep = 1;
        return p;
    }

    // A deterministic picture with gradients and fine texture.
    static std::vector<uint16_t> pattern(int w, int h, unsigned seed = 1)
    {
        std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
        uint32_t s = seed * 2654435761u + 12345u;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                s = s * 1664525u + 1013904223u;
                uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
                p[0] = static_cast<uint16_t>((x * 65535) / (w > 1 ? w - 1 : 1));
                p[1] = static_cast<uint16_t>((y * 65535) / (h > 1 ? h - 1 : 1));
                p[2] = static_cast<uint16_t>(s >> 16);
            }
        return img;
    }

    // Fills texture slot `id` (w x h) with f(x, y, channel).
    static void fillTexture(int id, int w, int h, const std::function<uint16_t(int, int, int)>& f)
    {
        MP_UI_AllocTextureData(id, w, h, 6, 0);
        uint16_t* px = MP_UI_GetTexturePointer(id);
        ASSERT_NE(px, nullptr);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c)
                    px[(static_cast<size_t>(y) * w + x) * 3 + c] = f(x, y, c);
    }
    static void fillPatternTexture(int id, int w = 64, int h = 48)
    {
        fillTexture(id, w, h, [](int x, int y, int c) {
            return static_cast<uint16_t>((x * 7919 + y * 104729 + c * 31337) * 2654435761u >> 16);
        });
    }
    static void fillFlatTexture(int id, int w, int h, uint16_t r, uint16_t g, uint16_t b)
    {
        fillTexture(id, w, h, [=](int, int, int c) { return c == 0 ? r : (c == 1 ? g : b); });
    }

    // A cube sprite sheet for texture 3: eight bands of 64 rows, one per
    // size class; a texel is part of the cube where its red sample is not 0
    // (sample 43690 leaves a channel as it is).
    static void fillCubeSheet(int id = 3, int w = 64, int h = 512)
    {
        fillTexture(id, w, h, [](int x, int y, int c) {
            const int r = y % 64;
            if (x >= 50 || r >= 50 || (x + 2 * r) % 9 == 0)
                return static_cast<uint16_t>(0);
            return static_cast<uint16_t>(c == 0 ? 43690 : (c == 1 ? 30000 + 200 * (r % 20) : 52000));
        });
    }

    // A flake sheet for texture 32 (576 x 640, green samples only): the left
    // block of 8 x 10 cells of 64 x 64, the right column of 10 cells.
    static void fillFlakeSheet(int w = 576, int h = 640)
    {
        fillTexture(32, w, h, [](int x, int y, int c) {
            if (c != 1)
                return static_cast<uint16_t>(0);
            const int dx = (x & 63) - 32, dy = (y & 63) - 32;
            const int d2 = dx * dx + dy * dy;
            return static_cast<uint16_t>(d2 < 1024 ? 65535 - d2 * 60 : 0);
        });
    }

    // Bubble sprites for textures 40..45 (w x h each): a bright ring on black.
    static void fillBubbleSprites(int w = 32, int h = 32)
    {
        for (int id = 40; id <= 45; ++id)
            fillTexture(id, w, h, [w, h, id](int x, int y, int c) {
                const int dx = 2 * x - w, dy = 2 * y - h;
                const int d2 = dx * dx + dy * dy, r2 = w * w;
                if (d2 >= r2)
                    return static_cast<uint16_t>(0);
                return static_cast<uint16_t>(d2 * 60000 / r2 + 1000 * (id - 40) + 2000 * c);
            });
    }

    // A spline slot through six knots on the constant y.
    static void flatSpline(MP_Params& p, int slot, float y)
    {
        for (int i = 0; i < 6; ++i) {
            p.p[slot][2 * i] = static_cast<float>(i) / 5.0f;
            p.p[slot][2 * i + 1] = y;
        }
    }

    // One additive geometry set over the whole picture with intensity 1.
    static void wholeMask(MP_Params& p, int slot)
    {
        float* g = p.p[slot];
        g[0] = 1;
        g[1] = g[2] = 1.0f;
        g[3] = 0.0f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 0.5f;
    }

    // Every sample through the float trip (v * 1/65535 * 65535, truncated):
    // what a pass that leaves a pixel's colour stores.
    static std::vector<uint16_t> tripped(const std::vector<uint16_t>& src)
    {
        std::vector<uint16_t> t(src.size());
        for (size_t i = 0; i < src.size(); ++i)
            t[i] = static_cast<uint16_t>(static_cast<int>(src[i] * MP_k * 65535.0f));
        return t;
    }

    // FNV-1a over the samples, for seeded and procedural outputs.
    static uint64_t hashSamples(const uint16_t* data, size_t count)
    {
        uint64_t h = 1469598103934665603ull;
        for (size_t i = 0; i < count; ++i) {
            h ^= data[i];
            h *= 1099511628211ull;
        }
        return h;
    }
    static uint64_t hashSamples(const std::vector<uint16_t>& v) { return hashSamples(v.data(), v.size()); }

    static const uint16_t* px(const std::vector<uint16_t>& img, int w, int x, int y)
    {
        return &img[(static_cast<size_t>(y) * w + x) * 3];
    }
};
