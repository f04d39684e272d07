// Batch processing through the widget-free job runner: 24-megapixel JPEG
// photographs, the default HDR settings, a chain of six landed operators and
// 16-bit TIFF output; the decodes alone for comparison; and the benchmark
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

// Runs `count` photographs through the runner on a worker thread (as the
// batch window does) with `threads` engine threads.
void runBatch(benchmark::State& state, int count, int threads)
{
    const SPhotos& p = photos();
    MP_UI_SetIdealThreadCount(threads);
    QVector<SBatchJob> jobs;
    for (int k = 0; k < count; ++k) {
        SBatchJob job;
        job.uiBox = quint32(k);
        job.bChecked = true;
        job.strTitle = QStringLiteral("IMG_%1_JPG").arg(1000 + k);
        SExposure r;
        r.m_strFilePath = p.files[k];
        job.vecFiles.append(r);
        jobs.append(job);
    }
    for (auto _ : state) {
        QTemporaryDir out;
        SBatchRunSettings settings;
        settings.strTargetFolder = out.path();
        settings.strExtension = QStringLiteral(".tiff");
        settings.strKernelName = QStringLiteral("MP_calcHDRfusion");
        settings.pChain = sixOperatorChain();
        std::atomic<bool> cancel{false};
        QuietReporter reporter;
        int written = 0;
        std::thread worker([&] {
            CBatchRunner runner(settings, reporter, cancel);
            written = runner.Run(jobs);
        });
        worker.join();
        if (written != count)
            state.SkipWithError("not every file was written");
    }
    MP_UI_SetIdealThreadCount(int(std::thread::hardware_concurrency()));
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight * count);
}

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
