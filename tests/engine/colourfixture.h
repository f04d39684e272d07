#pragma once
// Shared set-up of the colour operator tests: parameter blocks at the
// catalogue defaults, small test pictures and runs by kernel name.

#include "enginefixture.h"

#include <array>
#include <cstring>
#include <string>

namespace colourtest {

// Spline slot: six knots at x = 0, 0.2, ..., 1 with the given y values.
inline void setSpline(MP_Params& p, int slot, const float (&y)[6])
{
    for (int i = 0; i < 6; ++i) {
        p.p[slot][2 * i] = 0.2f * static_cast<float>(i);
        p.p[slot][2 * i + 1] = y[i];
    }
}
// "eSplEffect flat": the effect at full strength everywhere.
inline void flatMask(MP_Params& p, int slot) { setSpline(p, slot, {1, 1, 1, 1, 1, 1}); }
// "eSplGradation linear".
inline void linearCurve(MP_Params& p, int slot) { setSpline(p, slot, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}); }
inline void setColour(MP_Params& p, int slot, float r, float g, float b)
{
    p.p[slot][2] = r;
    p.p[slot][3] = g;
    p.p[slot][4] = b;
}
inline void setCombo(MP_Params& p, int slot, float mode, float opacityPercent)
{
    p.p[slot][0] = mode;
    p.p[slot][1] = opacityPercent;
}
// One active geometry set that lies in no list: every pixel has opacity 1,
// but the full worker runs.
inline void opaqueGeometry(MP_Params& p, int slot) { p.p[slot][0] = 3.0f; }

struct Kernel {
    const char* name;
    int combo;
    int geometry;
    bool neutralAtDefaults; // the dispatcher skips it at its defaults
};

// Every kernel of this family of operators with its combo and geometry slot.
inline const Kernel kKernels[] = {
    {"MP_calcPixelHSL", 4, 5, true},
    {"MP_calcPixelPsycho", 4, 5, false},
    {"MP_calcPixelPopart", 5, 6, false},
    {"MP_calcPixelHueShift", 6, 7, true},
    {"MP_calcPixelHueExpose", 6, 7, true},
    {"MP_calcPixelColorIntensity", 2, 3, false},
    {"MP_calcPixelSinCity", 2, 3, false},
    {"MP_calcPixelInvSinCity", 2, 3, false},
    {"MP_calcPixelColorMix", 2, 3, false},
    {"MP_calcPixelColorTint", 2, 3, false},
    {"MP_calcPixelRedEyes", 1, 2, false},
    {"MP_calcPixelColorSolarize", 1, 2, false},
    {"MP_calcPixelPosterize", 1, 2, false},
    {"MP_calcPixelNegative", 0, 1, false},
};

inline std::string kernelTestName(const ::testing::TestParamInfo<Kernel>& info)
{
    return std::string(info.param.name).substr(std::strlen("MP_calcPixel"));
}

// The parameter block the chain hands over for the kernel at its catalogue
// defaults ("Maskierung" flat, blend mode 0 at 100 %, no geometry), with the
// engine's luminance weights.
inline MP_Params defaults(const std::string& name)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    if (name == "MP_calcPixelHSL") {
        p.p[0][0] = p.p[1][0] = p.p[2][0] = 0.5f;
        flatMask(p, 3);
    } else if (name == "MP_calcPixelPsycho") {
        p.p[0][0] = p.p[1][0] = 0.5f;
        p.p[2][0] = 0.25f;
        flatMask(p, 3);
    } else if (name == "MP_calcPixelPopart") {
        p.p[0][0] = 0.12f;
        p.p[1][0] = p.p[2][0] = 0.5f;
        p.p[3][0] = 0.0f;
        p.p[4][0] = 1.0f;
    } else if (name == "MP_calcPixelHueShift" || name == "MP_calcPixelHueExpose") {
        for (int k = 0; k < 6; ++k)
            p.p[k][0] = 0.5f;
    } else if (name == "MP_calcPixelColorIntensity") {
        p.p[0][0] = 0.625f;
        flatMask(p, 1);
    } else if (name == "MP_calcPixelSinCity" || name == "MP_calcPixelInvSinCity") {
        linearCurve(p, 0);
        setColour(p, 1, 0.43f, 0.2f, 0.2f);
    } else if (name == "MP_calcPixelColorMix") {
        p.p[0][0] = 0.5f;
        setColour(p, 1, 0.9f, 0.7f, 0.3f);
    } else if (name == "MP_calcPixelColorTint") {
        p.p[0][0] = 0.1f;
        flatMask(p, 1);
    } else if (name == "MP_calcPixelRedEyes") {
        p.p[0][0] = 0.5f;
    } else if (name == "MP_calcPixelColorSolarize") {
        p.p[0][0] = 0.2f;
    } else if (name == "MP_calcPixelPosterize") {
        p.p[0][0] = 0.48f;
    }
    for (const Kernel& k : kKernels)
        if (name == k.name)
            setCombo(p, k.combo, 0.0f, 100.0f);
    return p;
}

// A varied picture: every channel between 1000 and 64535.
inline std::vector<uint16_t> testPicture(int w, int h)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* px = &img[(static_cast<size_t>(y) * w + x) * 3];
            px[0] = static_cast<uint16_t>(1000 + (x * 7919 + y * 3001) % 63536);
            px[1] = static_cast<uint16_t>(1000 + (x * 1237 + y * 9973 + 20000) % 63536);
            px[2] = static_cast<uint16_t>(1000 + (x * x * 331 + y * 5003 + 40000) % 63536);
        }
    return img;
}

// Runs the kernel's driver by name (the registry's entry, without the
// dispatcher's neutral skip).
inline int runByName(const char* name, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, int w, int h,
                     MP_Params p)
{
    return MP_UI_executeKernel(name, w, h, src.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f);
}

// The same through the dispatcher, the way the chain runs an operator.
inline int dispatch(const char* name, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, int w, int h,
                    MP_Params& p)
{
    return OpenCLManager::getInstance()->executeKernel(name, w, h, reinterpret_cast<float*>(src.data()),
                                                       reinterpret_cast<float*>(dst.data()), 6, 6, &p, -1, 0.0f,
                                                       1.0f, false, false);
}

// One pixel through a driver called directly.
template <typename Driver>
inline std::array<int, 3> onePixel(Driver driver, uint16_t r, uint16_t g, uint16_t b, MP_Params p)
{
    uint16_t px[3] = {r, g, b};
    uint16_t out[3] = {0, 0, 0};
    EXPECT_EQ(driver(1, 1, px, out, 6, 6, &p), 0);
    return {out[0], out[1], out[2]};
}

} // namespace colourtest
