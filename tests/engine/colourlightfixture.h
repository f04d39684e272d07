#pragma once
// Shared set-up of the colour operator tests: parameter blocks as the chain
// fills them, curve and geometry slots, small test pictures, and runs by
// kernel name through the dispatcher.

#include "enginefixture.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

class ColourTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetShowExexcuteKernelOutput(0);
        MP_UI_SetKernelSampleRate(0.8f);
    }

    // A cleared block with the engine's luminance weights.
    static MP_Params block()
    {
        MP_Params p{};
        p.loopstep = 1;
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        return p;
    }

    static void setCombo(MP_Params& p, int slot, float mode = 0.0f, float opacity = 100.0f)
    {
        p.p[slot][0] = mode;
        p.p[slot][1] = opacity;
    }

    // Six knots at x = 0, 0.2, ..., 1 with the given heights.
    static void setCurve(MP_Params& p, int slot, const float (&y)[6])
    {
        for (int i = 0; i < 6; ++i) {
            p.p[slot][2 * i] = 0.2f * static_cast<float>(i);
            p.p[slot][2 * i + 1] = y[i];
        }
    }
    static void setFlatCurve(MP_Params& p, int slot, float y)
    {
        const float ys[6] = {y, y, y, y, y, y};
        setCurve(p, slot, ys);
    }

    // An active geometry set that is in neither the additive nor the
    // subtractive list: the full worker runs, every pixel has opacity 1.
    static void setInertGeometry(MP_Params& p, int slot)
    {
        float* g = p.p[slot];
        g[0] = 3.0f;
        g[1] = g[2] = 0.5f;
        g[3] = 0.5f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 0.5f;
    }

    // One additive ellipse around the centre: pixels far outside it keep
    // their source colour.
    static void setCentreGeometry(MP_Params& p, int slot)
    {
        float* g = p.p[slot];
        g[0] = 1.0f;
        g[1] = g[2] = 0.2f;
        g[3] = 1.0f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 0.5f;
    }

    // A deterministic picture with every kind of colour: gradients in three
    // directions plus a scrambled term, black and white corners.
    static std::vector<uint16_t> picture(int w, int h)
    {
        std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
        uint32_t seed = 12345u;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                seed = seed * 1664525u + 1013904223u;
                uint16_t* px = &img[(static_cast<size_t>(y) * w + x) * 3];
                px[0] = static_cast<uint16_t>((x * 65535) / (w > 1 ? w - 1 : 1));
                px[1] = static_cast<uint16_t>((y * 65535) / (h > 1 ? h - 1 : 1));
                px[2] = static_cast<uint16_t>(seed >> 16);
            }
        uint16_t* last = &img[img.size() - 3];
        img[0] = img[1] = img[2] = 0;
        last[0] = last[1] = last[2] = 65535;
        return img;
    }

    // One row of single-colour pixels.
    static std::vector<uint16_t> pixels(std::initializer_list<std::array<uint16_t, 3>> colours)
    {
        std::vector<uint16_t> img;
        for (const auto& c : colours)
            img.insert(img.end(), c.begin(), c.end());
        return img;
    }

    static int runByName(const char* name, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, int w, int h,
                         MP_Params& p)
    {
        return OpenCLManager::getInstance()->executeKernel(name, static_cast<unsigned>(w), static_cast<unsigned>(h),
                                                           reinterpret_cast<float*>(src.data()),
                                                           reinterpret_cast<float*>(dst.data()), 6, 6, &p, -1, 0.0f,
                                                           1.0f, true, true);
    }
    // In place, as the chain runs most operators.
    static int runByName(const char* name, std::vector<uint16_t>& img, int w, int h, MP_Params& p)
    {
        return runByName(name, img, img, w, h, p);
    }

    // v through the working colour and back: v * k, then (int)(c * 65535).
    static uint16_t roundTrip(uint16_t v)
    {
        const uint16_t in[3] = {v, v, v};
        uint16_t out[3];
        MP_storeRGB48(out, MP_loadRGB48(in));
        return out[0];
    }
};
