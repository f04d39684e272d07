#include "benchutil.h"

#include "engine/MP_calc.h"

#include <QApplication>
#include <QThread>

#include <cstdlib>

namespace bench {

const std::vector<uint16_t>& testPicture()
{
    static const std::vector<uint16_t> picture = [] {
        std::vector<uint16_t> img(static_cast<size_t>(kWidth) * kHeight * 3);
        uint32_t seed = 12345;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const size_t i = (static_cast<size_t>(y) * kWidth + x) * 3;
                img[i] = static_cast<uint16_t>((x * 65535ull) / kWidth);
                img[i + 1] = static_cast<uint16_t>((y * 65535ull) / kHeight);
                img[i + 2] = static_cast<uint16_t>(seed >> 16);
            }
        }
        return img;
    }();
    return picture;
}

void setMegapixelRate(benchmark::State& state, int width, int height)
{
    state.counters["MP/s"] = benchmark::Counter(double(width) * height * double(state.iterations()) / 1e6,
                                                benchmark::Counter::kIsRate);
}

} // namespace bench

int main(int argc, char** argv)
{
    // A GUI application for the window benchmarks; no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    MP_UI_SetIdealThreadCount(QThread::idealThreadCount());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
