// The series' alignment driver on a bracket of three 24-megapixel exposures
// (master, a darker one shifted by (3, -2), a brighter one shifted by (-4, 1)),
// shift kind only, one pass: reference building, the two shift jobs, the
// preview rebuild of all three. Compare with BM_CopyRGB48Bands.

#include "benchutil.h"

#include "document/alignmentthreads.h"
#include "document/exposureseries.h"
#include "engine/MP_calc.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr int W = bench::kWidth, H = bench::kHeight;

// The test picture moved by (dx, dy) with every value scaled by gain.
void shifted(uint16_t* dst, int dx, int dy, float gain)
{
    const uint16_t* src = bench::testPicture().data();
    for (int y = 0; y < H; ++y) {
        const int sy = std::clamp(y - dy, 0, H - 1);
        for (int x = 0; x < W; ++x) {
            const int sx = std::clamp(x - dx, 0, W - 1);
            for (int c = 0; c < 3; ++c)
                dst[(size_t(y) * W + x) * 3 + c] =
                    uint16_t(std::min(65535.0f, float(src[(size_t(sy) * W + sx) * 3 + c]) * gain));
        }
    }
}

CExposure* exposure(const CExposureSeries& s)
{
    auto* e = new CExposure;
    e->m_uiWidth = W;
    e->m_uiHeight = H;
    e->m_uiPreviewWidth = s.m_uiPreviewWidth;
    e->m_uiPreviewHeight = s.m_uiPreviewHeight;
    if (!e->CreateBuffer()) {
        delete e;
        return nullptr;
    }
    return e;
}

void BM_SeriesAlignShiftBracket(benchmark::State& state)
{
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_SetUseMultithreadingMode(1);
    CExposureSeries s(false);
    s.m_uiWidth = W;
    s.m_uiHeight = H;
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolution(&pw, &ph, nullptr, float(W), float(H), MP_UI_GetPreviewSize());
    s.m_uiPreviewWidth = unsigned(pw);
    s.m_uiPreviewHeight = unsigned(ph);
    for (int i = 0; i < 3; ++i) {
        CExposure* e = exposure(s);
        if (!e) {
            state.SkipWithError("no memory for the bracket");
            return;
        }
        e->m_strFileName = QString("frame%1.tif").arg(i);
        s.m_vExposures.append(e);
    }
    s.m_vExposures[1]->m_bMaster = true;
    std::vector<uint16_t> under(size_t(W) * H * 3), over(under.size());
    shifted(under.data(), 3, -2, 0.25f);
    shifted(over.data(), -4, 1, 3.0f);
    std::memcpy(s.m_vExposures[1]->m_pusBuffer, bench::testPicture().data(), under.size() * 2);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(s.m_vExposures[0]->m_pusBuffer, under.data(), under.size() * 2);
        std::memcpy(s.m_vExposures[2]->m_pusBuffer, over.data(), over.size() * 2);
        state.ResumeTiming();
        s.Align(2, true, false, false, false, false, 0.5f, 0.5f, false, 0, false, nullptr);
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_SeriesAlignShiftBracket)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
