#pragma once
// Shared set-up of the tone operator tests: a parameter block as the chain and
// the dispatcher complete it, small test pictures, and the checks every
// driver of the frame must pass (in place, thread count, full worker).

#include "enginefixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

// A flat mask curve in a parameter slot: six knots at x = 0, 0.2 .. 1, all at y.
inline void setMask(float* slot, float y)
{
    for (int i = 0; i < 6; ++i) {
        slot[2 * i] = 0.2f * i;
        slot[2 * i + 1] = y;
    }
}

class ToneTest : public EngineTest {
protected:
    MP_Params params{};
    void SetUp() override
    {
        EngineTest::SetUp();
        params = blankParams();
    }

public:
    using Image = std::vector<uint16_t>;

    // A zeroed block with the engine's luminance weights and the fields the
    // dispatcher completes at the start-up's settings.
    static MP_Params blankParams()
    {
        MP_Params p{};
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        p.loopstep = 1;
        p.previewscalingfactor = 1.0f;
        p.unit_kernel_multiplier = 1.0f;
        p.kernel_exponent = 1.0f;
        p.cpu_loopstep_mulitplier = 0.8f * 17.5f;
        p.gpu_loopstep_mulitplier = 0.8f * 17.5f;
        return p;
    }

    // Runs a kernel by name through the kernel library (no neutral-run skip).
    static int run(const char* name, int w, int h, Image& src, Image& dst, MP_Params& p)
    {
        return MP_UI_executeKernel(name, w, h, src.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f);
    }
    static Image runCopy(const char* name, int w, int h, const Image& src, MP_Params p, int* result = nullptr)
    {
        Image in = src;
        Image out(src.size(), 0xABCD);
        const int r = run(name, w, h, in, out, p);
        if (result)
            *result = r;
        return out;
    }

    // A deterministic picture: grey ramps, saturated colours, black and white,
    // and a smooth colour texture.
    static Image testPicture(int w, int h)
    {
        Image img(static_cast<size_t>(w) * h * 3);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint16_t* px = &img[(static_cast<size_t>(y) * w + x) * 3];
                const unsigned v = static_cast<unsigned>((x * 65535u) / (w > 1 ? w - 1 : 1));
                switch (y % 6) {
                case 0: // grey ramp
                    px[0] = px[1] = px[2] = static_cast<uint16_t>(v);
                    break;
                case 1: // primaries and secondaries at varying brightness
                    px[0] = static_cast<uint16_t>((x % 3 == 0 || x % 6 == 4) ? v : 0);
                    px[1] = static_cast<uint16_t>((x % 3 == 1 || x % 6 == 4) ? v : 0);
                    px[2] = static_cast<uint16_t>((x % 3 == 2) ? v : 0);
                    break;
                case 2: // black and white steps
                    px[0] = px[1] = px[2] = static_cast<uint16_t>((x / 2) % 2 ? 65535 : 0);
                    break;
                default: { // texture
                    const unsigned s = static_cast<unsigned>(x * 7919 + y * 104729);
                    px[0] = static_cast<uint16_t>((s * 2654435761u) >> 16);
                    px[1] = static_cast<uint16_t>(((s + 17) * 2246822519u) >> 16);
                    px[2] = static_cast<uint16_t>(((s + 91) * 3266489917u) >> 16);
                }
                }
            }
        return img;
    }

    // A subtractive geometry set far outside the picture: the slot has an
    // active set (so the full worker runs) and every pixel keeps opacity 1.
    static void setInertGeometry(MP_Params& p, int slot)
    {
        float* g = p.p[slot];
        g[0] = 2.0f;
        g[1] = g[2] = 0.01f;
        g[3] = 0.5f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 5.0f;
    }

    static int maxDifference(const Image& a, const Image& b)
    {
        int d = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            d = std::max(d, std::abs(int(a[i]) - int(b[i])));
        return a.size() == b.size() ? d : 65536;
    }

    // The value v after the float round trip of the frame: (int)(v * k * 65535).
    static uint16_t roundTrip(uint16_t v)
    {
        const uint16_t in[3] = {v, 0, 0};
        uint16_t out[3];
        MP_storeRGB48(out, MP_loadRGB48(in));
        return out[0];
    }
    static uint16_t at(const Image& img, int w, int x, int y, int c)
    {
        return img[(static_cast<size_t>(y) * w + x) * 3 + c];
    }
};

// One driver for the checks of the frame.
struct FrameCase {
    const char* name;
    int comboSlot;
    int geoSlot;
    void (*defaults)(MP_Params&); // the catalogue defaults (combo opacity set by the check)
    int fullTolerance;            // full worker (inert geometry) against reduced
    std::string label;            // test name suffix
};

inline void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class ToneFrame : public ToneTest, public ::testing::WithParamInterface<FrameCase> {
protected:
    MP_Params defaultsBlock() const
    {
        MP_Params p = blankParams();
        p.p[GetParam().comboSlot][1] = 100.0f;
        GetParam().defaults(p);
        return p;
    }
};
