// The whole job of one photograph as the batch runs it: a 24-megapixel JPEG
// (quality 95, with camera data) loaded at full size, the HDR stage, the chain
// of the factory preset "Natürlich" and a 16-bit TIFF written, on 4 engine
// threads. The same calls as CBatchRunner (series, AddSeries, InitBuffer,
// Process, SaveImageFile), split so that every stage has its own clock.
//
// Counters per stage (load, hdr, init, chain, save, free: the series dropped)
// and for the whole job:
// wall time in milliseconds (<stage>_ms) and cores busy, the process CPU time
// over the wall time (<stage>_cores). peak_MiB is the process's peak resident
// set during the job (the peak is reset before it through /proc/self/clear_refs;
// where that is refused it is the process's lifetime peak, so run the job
// alone: --benchmark_filter=BM_Job); peak_to_chain_MiB the same up to the end
// of the chain (before the writer). base_MiB is the resident set before it.
//
// Arg 0 runs the chain buffer's set-up as it was before it was banded (a
// fresh block copied on the calling thread), Arg 1 as the program does now;
// everything else is the program's path in both.

#include "benchutil.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/imageloader.h"
#include "document/kernelrunner.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "tests/document/exifwriter.h"
#include "ui/mainwindow/resultimagewriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <FreeImage.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kJobThreads = 4;
constexpr int kJpegQuality = 95;
const char* const kPreset = "lumivexpp_v3_01_natuerlich.ini";

// A photograph-like picture: sky gradient, hills, textured foreground, fine
// detail and a little sensor noise, so the encoder and the operators see what
// they see in a photograph (smooth areas and edges, no pure noise).
FIBITMAP* makePhotograph(int width, int height)
{
    FIBITMAP* b = FreeImage_Allocate(width, height, 24);
    if (!b)
        return nullptr;
    uint32_t seed = 20260101u;
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(b, height - 1 - y);
        const float fy = float(y) / float(height);
        for (int x = 0; x < width; ++x) {
            const float fx = float(x) / float(width);
            seed = seed * 1664525u + 1013904223u;
            const float noise = float(int(seed >> 28) - 8) * 0.6f;
            const float horizon = 0.55f + 0.08f * std::sin(fx * 9.0f) + 0.03f * std::sin(fx * 41.0f);
            float r, g, bl;
            if (fy < horizon) { // sky: bright, blue, a soft sun
                const float sun = std::exp(-((fx - 0.7f) * (fx - 0.7f) + (fy - 0.2f) * (fy - 0.2f)) * 60.0f);
                r = 90.0f + 110.0f * fy + 150.0f * sun;
                g = 130.0f + 80.0f * fy + 120.0f * sun;
                bl = 210.0f + 30.0f * fy + 40.0f * sun;
            } else { // land: dark greens and browns with texture
                const float t = 0.5f + 0.25f * std::sin(fx * 310.0f + fy * 45.0f) * std::sin(fy * 270.0f) +
                                0.25f * std::sin((fx + fy) * 1300.0f);
                const float shade = 1.0f - (fy - horizon);
                r = (40.0f + 60.0f * t) * shade;
                g = (55.0f + 70.0f * t) * shade;
                bl = (20.0f + 30.0f * t) * shade;
            }
            row[3 * x + FI_RGBA_RED] = BYTE(std::clamp(r + noise, 0.0f, 255.0f));
            row[3 * x + FI_RGBA_GREEN] = BYTE(std::clamp(g + noise, 0.0f, 255.0f));
            row[3 * x + FI_RGBA_BLUE] = BYTE(std::clamp(bl + noise, 0.0f, 255.0f));
        }
    }
    return b;
}

struct SJobPhoto {
    QTemporaryDir dir;
    QString path;
    SJobPhoto()
    {
        FIBITMAP* b = makePhotograph(bench::kWidth, bench::kHeight);
        const std::vector<uint8_t> exif =
            exifRawBlock({ExifEntry::ascii(0x010F, "Lumicam"), ExifEntry::ascii(0x0110, "LX-1"),
                          ExifEntry::shortValue(0x0112, 1), ExifEntry::ascii(0x0132, "2026:06:01 18:30:00")},
                         {ExifEntry::rationals(0x829A, {{1, 250}}), ExifEntry::shortValue(0x8827, 100),
                          ExifEntry::rationals(0x829D, {{80, 10}}), ExifEntry::rationals(0x920A, {{35, 1}})},
                         {});
        path = dir.filePath(QStringLiteral("IMG_2026.JPG"));
        if (b && attachExifRaw(b, exif) &&
            FreeImage_Save(FIF_JPEG, b, QFile::encodeName(path).constData(), kJpegQuality))
            return;
        path.clear();
        if (b)
            FreeImage_Unload(b);
    }
};

const SJobPhoto& jobPhoto()
{
    static const SJobPhoto p;
    return p;
}

// ---- clocks ---------------------------------------------------------------------

struct SMark {
    double wall = 0.0; // seconds
    double cpu = 0.0;  // process user + system seconds
};

SMark mark()
{
    SMark m;
    m.wall = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    m.cpu = double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec) + 1e-6 * double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
    return m;
}

// A line of /proc/self/status in MiB (-1 when missing).
double statusMiB(const char* key)
{
    std::ifstream f("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(key);
    while (std::getline(f, line))
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':')
            return std::atof(line.c_str() + n + 1) / 1024.0;
    return -1.0;
}

// Resets the peak resident set to the present one; false when refused.
bool resetPeak()
{
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
    f.flush();
    return bool(f);
}

// Marks the start of the HDR stage: the series opens progress category 3 in
// HDR() after the load and its preparation.
class SStageSink : public IProgressSink {
public:
    void OpenCategory(unsigned int category, bool) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (category == 3 && !m_bHDR) {
            m_bHDR = true;
            m_HDR = mark();
        }
    }
    void SetTitle(const QString&) override {}
    void AddMessage(unsigned int, const QString&, unsigned int, float) override {}
    void AddFraction(unsigned int, float) override {}

    std::mutex m_mutex;
    bool m_bHDR = false;
    SMark m_HDR;
};

// The chain buffer's set-up as it was: a fresh block, filled on this thread.
bool initBufferOnOneThread(unsigned short* source, const QSize& size)
{
    if (!CPostProcessing::_s_pusBuffer || CPostProcessing::_s_Size != size) {
        std::free(CPostProcessing::_s_pusBuffer);
        CPostProcessing::_s_pusBuffer =
            static_cast<unsigned short*>(std::malloc(size_t(size.width()) * size_t(size.height()) * 6u));
        if (!CPostProcessing::_s_pusBuffer) {
            CPostProcessing::_s_Size = QSize(-1, -1);
            return false;
        }
    }
    const float w = float(size.width()), h = float(size.height());
    MP_UI_zoomPreviewPicture(source, CPostProcessing::_s_pusBuffer, 0, 0, 0, 0, w, h, w, w, h, 0.0f, 0.0f, w, h);
    CPostProcessing::_s_Size = size;
    return true;
}

struct SJobTimes {
    SMark start, hdr, loaded, init, chain, freed, saved, end;
    double peakBeforeSave = 0.0; // MiB
    bool ok = false;
};

// One job on the calling thread (a worker, as in the batch).
SJobTimes runJob(CPostProcessing& chain, const QString& photo, const QString& target, bool banded)
{
    SJobTimes t;
    SStageSink sink;
    IProgressSink* before = CDocumentProgress::SetSink(&sink);
    CDocumentSettings::SetPreviewMode(false);
    MP_UI_SetNewRandomSeed();
    t.start = mark();
    {
        CEngineGuard guard;
        auto series = std::make_unique<CExposureSeries>(false);
        series->m_strKernelName = QStringLiteral("MP_calcHDRfusion");
        // As the batch runs a series: no preview-size HDR pass before the full size.
        series->m_bPreviewPassWithFullSize = false;
        std::memset(series->m_pfParameterValues, 0, sizeof(series->m_pfParameterValues));
        QVector<SExposure> files(1);
        files[0].m_strFilePath = photo;
        series->AddSeries(files);
        for (SExposure& r : files) {
            if (r.m_pBitmap)
                FreeImage_Unload(r.m_pBitmap);
            r.m_pBitmap = nullptr;
        }
        t.loaded = mark();
        t.hdr = sink.m_bHDR ? sink.m_HDR : t.loaded;
        if (!series->m_vExposures.isEmpty() && series->m_pusBuffer) {
            const QSize size(int(series->m_uiWidth), int(series->m_uiHeight));
            chain.SetAccordingExposureSeries(series.get());
            const bool init = banded ? CPostProcessing::InitBuffer(series->m_pusBuffer, size, size, false)
                                     : initBufferOnOneThread(series->m_pusBuffer, size);
            t.init = mark();
            const bool processed = init && chain.Process(series->m_uiWidth, series->m_uiHeight, false) == 0;
            chain.SetAccordingExposureSeries(nullptr);
            t.chain = mark();
            t.peakBeforeSave = statusMiB("VmHWM");
            // As the batch does: the series' buffers go before the writer
            // takes its own.
            const QString master = series->m_pMaster ? series->m_pMaster->m_strFilePath
                                                     : series->m_vExposures.first()->m_strFilePath;
            series.reset();
            t.freed = mark();
            if (processed)
                t.ok = ResultImageWriter::SaveImageFile(target, CPostProcessing::GetBuffer(), 100, false,
                                                        size.width(), size.height(), master, nullptr);
            t.saved = mark();
        }
        series.reset();
    }
    t.end = mark();
    CDocumentSettings::SetPreviewMode(true);
    CDocumentProgress::SetSink(before);
    return t;
}

void BM_Job(benchmark::State& state)
{
    const SJobPhoto& photo = jobPhoto();
    if (photo.path.isEmpty()) {
        state.SkipWithError("the photograph could not be written");
        return;
    }
    bench::useEngineStartValues();
    // LUMIVEX_JOB_LOG=1: the engine's own timing lines on stdout.
    if (qEnvironmentVariableIsSet("LUMIVEX_JOB_LOG"))
        MP_UI_SetShowExexcuteKernelOutput(1);
    auto chain = std::make_shared<CPostProcessing>();
    chain->SetSettingsPath(QStringLiteral(LUMIVEX_PRESETS_DIR "/") + QLatin1String(kPreset));
    chain->FromSettings();
    if (chain->m_vecOperators.isEmpty()) {
        state.SkipWithError("the preset could not be read");
        return;
    }
    const bool banded = state.range(0) != 0;
    const int threads = MP_UI_GetIdealThreadCount();
    MP_UI_SetIdealThreadCount(kJobThreads);
    // Every job starts from no chain buffer, as the first photograph of a run.
    CPostProcessing::DeleteBuffer();
    CPostProcessing::_s_Size = QSize(-1, -1);

    struct SSum {
        double wall = 0.0, cpu = 0.0;
        void add(const SMark& a, const SMark& b)
        {
            wall += b.wall - a.wall;
            cpu += b.cpu - a.cpu;
        }
    } load, hdr, init, chainStage, save, release, total;
    double peak = 0.0, base = 0.0, peakChain = 0.0;
    bool peakReset = true;
    for (auto _ : state) {
        QTemporaryDir out;
        const QString target = out.filePath(QStringLiteral("IMG_2026_JPG.tiff"));
        base = statusMiB("VmRSS");
        peakReset = resetPeak() && peakReset;
        SJobTimes t;
        std::thread worker([&] { t = runJob(*chain, photo.path, target, banded); });
        worker.join();
        peak = std::max(peak, peakReset ? statusMiB("VmHWM") : 0.0);
        peakChain = std::max(peakChain, peakReset ? t.peakBeforeSave : 0.0);
        if (!t.ok || !QFileInfo(target).size()) {
            state.SkipWithError("the job wrote no file");
            break;
        }
        load.add(t.start, t.hdr);
        hdr.add(t.hdr, t.loaded);
        init.add(t.loaded, t.init);
        chainStage.add(t.init, t.chain);
        release.add(t.chain, t.freed);
        save.add(t.freed, t.saved);
        total.add(t.start, t.end);
        CPostProcessing::DeleteBuffer();
        CPostProcessing::_s_Size = QSize(-1, -1);
    }
    MP_UI_SetIdealThreadCount(threads);
    if (!peakReset) {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        peak = double(u.ru_maxrss) / 1024.0;
    }
    const double n = double(std::max<benchmark::IterationCount>(1, state.iterations()));
    auto put = [&](const char* name, const SSum& s) {
        state.counters[std::string(name) + "_ms"] = 1e3 * s.wall / n;
        state.counters[std::string(name) + "_cores"] = s.wall > 0.0 ? s.cpu / s.wall : 0.0;
    };
    put("load", load);
    put("hdr", hdr);
    put("init", init);
    put("chain", chainStage);
    put("save", save);
    put("free", release);
    put("job", total);
    state.counters["peak_MiB"] = peak;
    state.counters["peak_to_chain_MiB"] = peakChain;
    state.counters["base_MiB"] = base;
    double loadavg[1] = {0.0};
    if (getloadavg(loadavg, 1) == 1)
        state.counters["loadavg"] = loadavg[0];
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_Job)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The load of the job's photograph alone, as the series starts it (a
// CImageLoader with one file: the header check, then the decode). Arg 0:
// FreeImage_Load (JPEG_ACCURATE | JPEG_EXIFROTATE), the load as it was;
// Arg 1: our own JPEG reader, as the program loads now. The references, on
// one thread: Arg 2 a plain copy of a buffer of the bitmap's size (72 MB,
// both sides touched before), Arg 3 FreeImage_Allocate of the bitmap alone
// (its zero fill). load_cores: process CPU time over wall time.
void BM_JobPhotoLoad(benchmark::State& state)
{
    const SJobPhoto& photo = jobPhoto();
    if (photo.path.isEmpty()) {
        state.SkipWithError("the photograph could not be written");
        return;
    }
    const int mode = int(state.range(0));
    const size_t bytes = size_t(bench::kWidth) * size_t(bench::kHeight) * 3u;
    SMark start = mark();
    if (mode == 2) {
        std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
        start = mark();
        for (auto _ : state) {
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::DoNotOptimize(to.data());
            benchmark::ClobberMemory();
        }
    } else if (mode == 3) {
        for (auto _ : state) {
            FIBITMAP* b = FreeImage_Allocate(bench::kWidth, bench::kHeight, 24);
            benchmark::DoNotOptimize(b);
            state.PauseTiming();
            FreeImage_Unload(b);
            state.ResumeTiming();
        }
    } else {
        const bool own = CLoadThread::OwnJpegReader();
        CLoadThread::SetOwnJpegReader(mode == 1);
        for (auto _ : state) {
            CImageLoader loader;
            loader.Enqueue(photo.path, true);
            loader.Load();
            FIBITMAP* b = loader.m_vecBitmaps.empty() ? nullptr : loader.m_vecBitmaps[0];
            state.PauseTiming();
            const bool whole = b && FreeImage_GetWidth(b) == unsigned(bench::kWidth) &&
                               FreeImage_GetHeight(b) == unsigned(bench::kHeight);
            if (b)
                FreeImage_Unload(b);
            state.ResumeTiming();
            if (!whole) {
                state.SkipWithError("the photograph did not load");
                break;
            }
        }
        CLoadThread::SetOwnJpegReader(own);
    }
    const SMark end = mark();
    state.counters["load_cores"] = end.wall > start.wall ? (end.cpu - start.cpu) / (end.wall - start.wall) : 0.0;
    double loadavg[1] = {0.0};
    if (getloadavg(loadavg, 1) == 1)
        state.counters["loadavg"] = loadavg[0];
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_JobPhotoLoad)->DenseRange(0, 3)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
