#include <cstring>
#include "benchutil.h"

#include "engine/MP_calc.h"

#include <QApplication>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

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

const std::vector<uint16_t>& previewPicture()
{
    static const std::vector<uint16_t> preview = [] {
        std::vector<uint16_t> p(size_t(kPreviewWidth) * kPreviewHeight * 3);
        const auto& big = testPicture();
        for (int y = 0; y < kPreviewHeight; ++y)
            for (int x = 0; x < kPreviewWidth; ++x)
                std::memcpy(&p[(size_t(y) * kPreviewWidth + x) * 3],
                            &big[(size_t(y * 4) * kWidth + size_t(x * 4)) * 3], 6);
        return p;
    }();
    return preview;
}

void setMegapixelRate(benchmark::State& state, int width, int height)
{
    state.counters["MP/s"] = benchmark::Counter(double(width) * height * double(state.iterations()) / 1e6,
                                                benchmark::Counter::kIsRate);
}

} // namespace bench

namespace {

// The console output, then one table of every benchmark as a ratio to the
// copy of the same buffer with the same threading: single-threaded figures
// against BM_CopyRGB48, the others against BM_CopyRGB48Bands. The ratio is
// the time of the benchmark over the time of its reference (the median
// when a benchmark ran several times).
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred || r.iterations <= 0)
                continue;
            const std::string name = baseName(r.benchmark_name());
            if (!m_seconds.count(name))
                m_order.push_back(name);
            m_seconds[name].push_back(r.real_accumulated_time / static_cast<double>(r.iterations));
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double copy1 = median("BM_CopyRGB48"), copyN = median("BM_CopyRGB48Bands");
        std::printf("\nRatio to the copy of the same buffer (lower is faster)\n");
        std::printf("%-44s %12s  %-18s %8s\n", "benchmark", "ms", "reference", "ratio");
        for (const std::string& name : m_order) {
            const double t = median(name);
            const bool single = bench::isSingleThreaded(name);
            const double ref = single ? copy1 : copyN;
            char ratio[32] = "-";
            if (ref > 0.0)
                std::snprintf(ratio, sizeof ratio, "%.2f", t / ref);
            std::printf("%-44s %12.2f  %-18s %8s\n", name.c_str(), t * 1e3,
                        single ? "CopyRGB48" : "CopyRGB48Bands", ratio);
        }
        std::fflush(stdout);
    }

private:
    static std::string baseName(std::string n)
    {
        const std::string suffix = "/real_time";
        if (n.size() > suffix.size() && n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0)
            n.resize(n.size() - suffix.size());
        return n;
    }
    double median(const std::string& name) const
    {
        const auto it = m_seconds.find(name);
        if (it == m_seconds.end() || it->second.empty())
            return 0.0;
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }

    std::map<std::string, std::vector<double>> m_seconds;
    std::vector<std::string> m_order;
};

} // namespace

namespace bench {

bool isSingleThreaded(const std::string& name)
{
    // The copy reference itself, the buffer routines that run on their
    // caller's thread, and runs with the thread count 1 (".../threads:1").
    const std::string oneThread = "/threads:1";
    if (name == "BM_CopyRGB48")
        return true;
    if (name.size() > oneThread.size() && name.compare(name.size() - oneThread.size(), oneThread.size(), oneThread) == 0)
        return true;
    return name.find("Precode") != std::string::npos || name.find("BoxBlur") != std::string::npos ||
           name.find("Single") != std::string::npos;
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
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
