#pragma once
// Shared set-up of the neighbourhood filter tests: runs through the
// dispatcher (which fills the row table for the radius) and directly.

#include "tonefixture.h"

#include "engine/filters/filterframe.h"

class FilterTest : public ToneTest {
protected:
    void SetUp() override
    {
        ToneTest::SetUp();
        MP_UI_SetShowExexcuteKernelOutput(0);
        MP_UI_SetKernelSampleRate(0.8f);
        MP_UI_SetCalculationQuality(1.0f);
        mp_filters::g_filterRunWalk = true;
    }
    void TearDown() override
    {
        mp_filters::g_filterRunWalk = true;
        mp_filters::g_filterPortable = false;
        mp_filters::g_filterSumLanes = 16;
        ToneTest::TearDown();
    }

public:
    static int dispatch(const char* name, int w, int h, Image& src, Image& dst, MP_Params& p)
    {
        return OpenCLManager::getInstance()->executeKernel(name, w, h, reinterpret_cast<float*>(src.data()),
                                                           reinterpret_cast<float*>(dst.data()), 6, 6, &p, -1, 0.0f,
                                                           1.0f, true, true);
    }
    static Image dispatchCopy(const char* name, int w, int h, const Image& src, MP_Params p)
    {
        Image in = src, out(src.size(), 0xABCD);
        EXPECT_EQ(dispatch(name, w, h, in, out, p), 0) << name;
        return out;
    }
    // Every channel after the frame's float round trip.
    static Image roundTripped(const Image& src)
    {
        Image out(src.size());
        for (size_t i = 0; i < src.size(); ++i)
            out[i] = roundTrip(src[i]);
        return out;
    }
    // An additive geometry set far outside the picture: every pixel lies
    // outside every mask.
    static void setHidingGeometry(MP_Params& p, int slot)
    {
        float* g = p.p[slot];
        g[0] = 1.0f;
        g[1] = g[2] = 0.01f;
        g[3] = 0.5f;
        g[4] = 0.5f;
        g[5] = 1.0f;
        g[6] = g[7] = 5.0f;
    }
    // Noise around a colour, deterministic.
    static Image noisy(int w, int h, int r, int g, int b, int amplitude)
    {
        Image img(static_cast<size_t>(w) * h * 3);
        unsigned s = 12345;
        const int base[3] = {r, g, b};
        for (size_t i = 0; i < img.size(); ++i) {
            s = s * 1103515245u + 12345u;
            const int v = base[i % 3] + static_cast<int>((s >> 16) % (2 * amplitude + 1)) - amplitude;
            img[i] = static_cast<uint16_t>(base[i % 3] == 0 ? 0 : std::clamp(v, 0, 65535));
        }
        return img;
    }
    static double spread(const Image& img, int channel)
    {
        double sum = 0, sq = 0;
        const size_t n = img.size() / 3;
        for (size_t i = 0; i < n; ++i) {
            sum += img[i * 3 + channel];
            sq += double(img[i * 3 + channel]) * img[i * 3 + channel];
        }
        return sq / n - (sum / n) * (sum / n);
    }
};
