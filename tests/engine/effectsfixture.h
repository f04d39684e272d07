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

    static const uint16_t* px(const std::vector<uint16_t>& img, int w, int x, int y)
    {
        return &img[(static_cast<size_t>(y) * w + x) * 3];
    }
};
