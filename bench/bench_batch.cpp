// Batch processing through the widget-free job runner: 24-megapixel JPEG
// photographs, the default HDR settings, a chain of six landed operators and
// 16-bit TIFF output, overlapped and one photograph after the other against
// ten single jobs; the decodes alone for comparison; and the benchmark
// window's untimed frame work against a copy of its 1.5 MB buffer.

#include "benchutil.h"

#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "engine/views/preview.h"
#include "ui/tools/batchjob.h"
#include "document/exposure.h"
#include "ui/tools/hdrbatchexposurewidget.h"
#include "ui/tools/hdrbatchwindow.h"
#include "ui/tools/hdrbenchmarkwindow.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <FreeImage.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

namespace {

constexpr int kPhotos = 10;

// The photographs: the test picture at 8 bits, each one brighter.
struct SPhotos {
    QTemporaryDir dir;
    QStringList files;
    SPhotos()
    {
        const auto& src = bench::testPicture();
        for (int k = 0; k < kPhotos; ++k) {
            FIBITMAP* b = FreeImage_Allocate(bench::kWidth, bench::kHeight, 24);
            for (int y = 0; y < bench::kHeight; ++y) {
                BYTE* row = FreeImage_GetScanLine(b, bench::kHeight - 1 - y);
                const uint16_t* s = src.data() + size_t(y) * bench::kWidth * 3;
                for (int x = 0; x < bench::kWidth; ++x) {
                    row[3 * x + FI_RGBA_RED] = BYTE(std::min(255, (s[3 * x] >> 8) / 2 + 12 * k));
                    row[3 * x + FI_RGBA_GREEN] = BYTE(std::min(255, (s[3 * x + 1] >> 8) / 2 + 12 * k));
                    row[3 * x + FI_RGBA_BLUE] = BYTE(std::min(255, (s[3 * x + 2] >> 8) / 2 + 12 * k));
                }
            }
            const QString path = dir.filePath(QStringLiteral("IMG_%1.JPG").arg(1000 + k));
            FreeImage_Save(FIF_JPEG, b, QFile::encodeName(path).constData(), JPEG_QUALITYGOOD);
            FreeImage_Unload(b);
            files << path;
        }
    }
};

const SPhotos& photos()
{
    static const SPhotos p;
    return p;
}

std::shared_ptr<CPostProcessing> sixOperatorChain()
{
    auto chain = std::make_shared<CPostProcessing>();
    CPPOperatorCatalogue catalogue;
    if (!catalogue.Load())
        return chain;
    for (const char* kernel : {"MP_calcPixelTMmeanlog", "MP_calcPixelGradationLagrange", "MP_calcPixelLightShadow",
                               "MP_calcPixelColorIntensity", "MP_calcPixelHueShift", "MP_calcPixelColorTemperature"}) {
        const int i = catalogue.IndexOfId(PP_OperatorId(QLatin1String(kernel)));
        if (i >= 0)
            chain->m_vecOperators.append(catalogue.MakeOperator(i));
    }
    return chain;
}

class QuietReporter : public IBatchRunReporter {
public:
    void Message(const QString&, unsigned) override {}
    void Fraction(float) override {}
    void BoxDone(quint32) override {}
};

struct SRunFigures {
    double dWall = 0.0;    // seconds
    double dCpu = 0.0;     // seconds of every thread of the process
    double dPeakMB = 0.0;  // peak resident set during the run (0: not readable)
    int iWritten = 0;
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) * 1e-6 + double(u.ru_stime.tv_sec) +
           double(u.ru_stime.tv_usec) * 1e-6;
}

// Resets the peak resident set to the current one (Linux: clear_refs 5).
bool resetPeakRss()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

double peakRssMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0.0;
}

enum class ERunMode { OneAtATimeWithPreviewPass, OneAtATime, Overlapped };

// Runs photographs first..first+count-1 through the runner on a worker thread
// (as the batch window does) with `threads` engine threads.
SRunFigures runPhotos(int first, int count, int threads, ERunMode mode)
{
    const SPhotos& p = photos();
    // The engine as the program leaves it at its start (the HDR fusion's
    // band jobs side by side), whatever ran before in this process.
    bench::useEngineStartValues();
    MP_UI_SetIdealThreadCount(threads);
    QVector<SBatchJob> jobs;
    for (int k = first; k < first + count; ++k) {
        SBatchJob job;
        job.uiBox = quint32(k - first);
        job.bChecked = true;
        job.strTitle = QStringLiteral("IMG_%1_JPG").arg(1000 + k);
        SExposure r;
        r.m_strFilePath = p.files[k];
        job.vecFiles.append(r);
        jobs.append(job);
    }
    QTemporaryDir out;
    SBatchRunSettings settings;
    settings.strTargetFolder = out.path();
    settings.strExtension = QStringLiteral(".tiff");
    settings.strKernelName = QStringLiteral("MP_calcHDRfusion");
    settings.pChain = sixOperatorChain();
    settings.bOverlapped = mode == ERunMode::Overlapped;
    settings.bHDRPreviewPass = mode == ERunMode::OneAtATimeWithPreviewPass;
    std::atomic<bool> cancel{false};
    QuietReporter reporter;
    SRunFigures f;
    const bool rss = resetPeakRss();
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::thread worker([&] {
        CBatchRunner runner(settings, reporter, cancel);
        f.iWritten = runner.Run(jobs);
    });
    worker.join();
    f.dWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    f.dCpu = cpuSeconds() - cpu0;
    f.dPeakMB = rss ? peakRssMB() : 0.0;
    MP_UI_SetIdealThreadCount(int(std::thread::hardware_concurrency()));
    return f;
}

void runBatch(benchmark::State& state, int count, int threads)
{
    for (auto _ : state)
        if (runPhotos(0, count, threads, ERunMode::OneAtATimeWithPreviewPass).iWritten != count)
            state.SkipWithError("not every file was written");
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight * count);
}

// Ten photographs three ways in one run, and ten single jobs (one photograph
// each, as the run used to do them): the wall time of each, its CPU time per
// wall second and its peak resident set; the overlapped run's wall time as a
// fraction of the ten single jobs and of the run one photograph after the
// other.
void BM_BatchOverlapTenPhotos(benchmark::State& state)
{
    const int threads = int(state.range(0));
    SRunFigures single, previous, oneByOne, overlapped;
    for (auto _ : state) {
        single = SRunFigures();
        for (int k = 0; k < kPhotos; ++k) {
            const SRunFigures one = runPhotos(k, 1, threads, ERunMode::OneAtATimeWithPreviewPass);
            single.dWall += one.dWall;
            single.dCpu += one.dCpu;
            single.dPeakMB = std::max(single.dPeakMB, one.dPeakMB);
            single.iWritten += one.iWritten;
        }
        previous = runPhotos(0, kPhotos, threads, ERunMode::OneAtATimeWithPreviewPass);
        oneByOne = runPhotos(0, kPhotos, threads, ERunMode::OneAtATime);
        overlapped = runPhotos(0, kPhotos, threads, ERunMode::Overlapped);
        for (const SRunFigures* f : {&single, &previous, &oneByOne, &overlapped})
            if (f->iWritten != kPhotos)
                state.SkipWithError("not every file was written");
    }
    auto put = [&state](const char* name, const SRunFigures& f) {
        state.counters[std::string(name) + "_wall_s"] = f.dWall;
        state.counters[std::string(name) + "_cpu_per_wall"] = f.dWall > 0.0 ? f.dCpu / f.dWall : 0.0;
        state.counters[std::string(name) + "_peak_MB"] = f.dPeakMB;
    };
    put("singles", single);
    put("previous", previous);
    put("onebyone", oneByOne);
    put("overlapped", overlapped);
    state.counters["overlapped_to_singles"] = single.dWall > 0.0 ? overlapped.dWall / single.dWall : 0.0;
    state.counters["overlapped_to_previous"] = previous.dWall > 0.0 ? overlapped.dWall / previous.dWall : 0.0;
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight * kPhotos);
}
BENCHMARK(BM_BatchOverlapTenPhotos)->Arg(8)->Arg(4)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchRun10Photos(benchmark::State& state) { runBatch(state, kPhotos, int(state.range(0))); }
BENCHMARK(BM_BatchRun10Photos)->Arg(8)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One photograph on 1 and on 8 engine threads: the engine steps' scaling.
void BM_BatchRunOnePhoto(benchmark::State& state) { runBatch(state, 1, int(state.range(0))); }
BENCHMARK(BM_BatchRunOnePhoto)->Arg(1)->Arg(8)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decodes alone: the part of a run no thread count speeds up.
void BM_BatchDecode10Photos(benchmark::State& state)
{
    const SPhotos& p = photos();
    for (auto _ : state) {
        for (const QString& f : p.files) {
            FIBITMAP* b = FreeImage_Load(FIF_JPEG, QFile::encodeName(f).constData(), 0);
            benchmark::DoNotOptimize(b);
            FreeImage_Unload(b);
        }
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight * kPhotos);
}
BENCHMARK(BM_BatchDecode10Photos)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scan's work for one box: the fast preview load of a 24-megapixel JPEG,
// the preview-size exposure, and the box's preview (HDR stage and the six
// operators at preview size) on the GUI thread.
class BenchOperators : public IBatchOperatorSource {
public:
    QStringList HDRPresetTexts() const override { return {}; }
    QString CurrentHDRPresetText() const override { return QString(); }
    void SelectHDRPresetText(const QString&) override {}
    QString GetKernelName() const override { return QStringLiteral("MP_calcHDRfusion"); }
    void GetParameterValues(float values[10][256]) const override { std::memset(values, 0, sizeof(float) * 2560); }
};
class BenchPresets : public IBatchPresetSource {
public:
    int TileCount() const override { return 1; }
    QString TileTitle(int) const override { return QStringLiteral("bench"); }
    CPostProcessing* TileChain(int i) override { return i == 0 ? m_pChain.get() : nullptr; }
    std::shared_ptr<CPostProcessing> m_pChain = sixOperatorChain();
};

void BM_BatchPreviewPerBox(benchmark::State& state)
{
    const SPhotos& p = photos();
    BenchOperators operators;
    BenchPresets presets;
    HDRBatchExposureWidget::s_pOperatorSource = &operators;
    HDRBatchExposureWidget::s_pPresetSource = &presets;
    for (auto _ : state) {
        HDRBatchExposureWidget box(0);
        box.show();
        FIBITMAP* bitmap = HDRBatchLoadThread::LoadPreviewBitmap(p.files[0]);
        auto* exposure = new CExposureBatch();
        if (!exposure->Load(p.files[0], bitmap) || !exposure->Prepare(bitmap, -1.0f) ||
            !box.AddExposureBatch(exposure)) {
            delete exposure;
            state.SkipWithError("the photograph did not load");
        }
        FreeImage_Unload(bitmap);
        box.CalculatePreview(true);
    }
    HDRBatchExposureWidget::s_pOperatorSource = nullptr;
    HDRBatchExposureWidget::s_pPresetSource = nullptr;
}
BENCHMARK(BM_BatchPreviewPerBox)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The benchmark window's frame work outside its timing: the source window
// copy, the view and the pixmap, against a plain copy of the 1.5 MB buffer.
void BM_BenchmarkFrameUntimedSingle(benchmark::State& state)
{
    HDRBenchmarkWindow w(nullptr);
    if (!w.HasBuffers()) {
        state.SkipWithError("no benchmark picture");
        return;
    }
    for (auto _ : state) {
        w.CopySourceWindow();
        w.RenderView();
        QImage image(reinterpret_cast<uchar*>(w.m_pViewBuffer), 512, 512, 2048, QImage::Format_RGB32);
        QPixmap pixmap = QPixmap::fromImage(image);
        benchmark::DoNotOptimize(pixmap.cacheKey());
    }
}
BENCHMARK(BM_BenchmarkFrameUntimedSingle)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Its three parts.
void BM_BenchmarkFramePartsSingle(benchmark::State& state)
{
    HDRBenchmarkWindow w(nullptr);
    if (!w.HasBuffers()) {
        state.SkipWithError("no benchmark picture");
        return;
    }
    const int part = int(state.range(0));
    for (auto _ : state) {
        if (part == 0)
            w.CopySourceWindow();
        if (part == 1)
            w.RenderView();
        if (part == 2) {
            QImage image(reinterpret_cast<uchar*>(w.m_pViewBuffer), 512, 512, 2048, QImage::Format_RGB32);
            QPixmap pixmap = QPixmap::fromImage(image);
            benchmark::DoNotOptimize(pixmap.cacheKey());
        }
    }
}
BENCHMARK(BM_BenchmarkFramePartsSingle)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BenchmarkBufferCopySingle(benchmark::State& state)
{
    std::vector<uint16_t> a(512 * 512 * 3, 7), b(512 * 512 * 3);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint16_t));
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_BenchmarkBufferCopySingle)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
