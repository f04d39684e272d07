// The result image writer on the 24-megapixel picture, against a safe
// (QSaveFile) write of the same bytes, and the writer as it was (a zeroed
// bitmap filled on one thread) in the same run. "cores" is the process CPU
// time over the wall time.

#include "benchutil.h"

#include "engine/core/conversions.h"
#include "ui/mainwindow/resultimagewriter.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

QTemporaryDir& benchDir()
{
    static QTemporaryDir dir;
    return dir;
}

void BM_ExportPlainSafeWrite(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    const QString path = benchDir().filePath("plain.bin");
    for (auto _ : state) {
        QSaveFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(src.data()), qint64(src.size() * sizeof(uint16_t)));
        benchmark::DoNotOptimize(f.commit());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ExportPlainSafeWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Process CPU time (every thread) over wall time of the timed loop, as the
// counter "cores".
struct SCpuMeter {
    double cpu0 = cpuSeconds();
    std::chrono::steady_clock::time_point wall0 = std::chrono::steady_clock::now();
    static double cpuSeconds()
    {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
    }
    void report(benchmark::State& state) const
    {
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        state.counters["cores"] = wall > 0 ? (cpuSeconds() - cpu0) / wall : 0.0;
    }
};

void BM_ExportWriter(benchmark::State& state, const char* name)
{
    const auto& src = bench::testPicture();
    const QString path = benchDir().filePath(name);
    SCpuMeter meter;
    for (auto _ : state)
        benchmark::DoNotOptimize(ResultImageWriter::SaveImageFile(path, src.data(), 100, false, bench::kWidth,
                                                                  bench::kHeight, QString(), nullptr));
    meter.report(state);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK_CAPTURE(BM_ExportWriter, tif, "r.tif")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportWriter, jpg, "r.jpg")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportWriter, tiff, "r.tiff")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportWriter, png, "r.png")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportWriter, exr, "r.exr")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportWriter, tif32, "r.tif32")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportWriter, pfm, "r.pfm")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// ---- the writer as it was, for the before and after in one run ----
// A zero-filled bitmap from FreeImage_AllocateT, filled row by row on one
// thread, saved through a buffered QSaveFile (which also missed a full disk).

unsigned DLL_CALLCONV OldWriteProc(void* buffer, unsigned size, unsigned count, fi_handle handle)
{
    auto* file = static_cast<QSaveFile*>(handle);
    const qint64 bytes = qint64(size) * count;
    const qint64 put = file->write(static_cast<const char*>(buffer), bytes);
    return put == bytes ? count : unsigned(std::max<qint64>(put, 0) / size);
}
unsigned DLL_CALLCONV OldReadProc(void*, unsigned, unsigned, fi_handle) { return 0; }
int DLL_CALLCONV OldSeekProc(fi_handle handle, long offset, int origin)
{
    auto* file = static_cast<QSaveFile*>(handle);
    const qint64 base = origin == SEEK_CUR ? file->pos() : origin == SEEK_END ? file->size() : 0;
    return file->seek(base + offset) ? 0 : -1;
}
long DLL_CALLCONV OldTellProc(fi_handle handle) { return long(static_cast<QSaveFile*>(handle)->pos()); }

bool OldSave(const QString& path, const uint16_t* src, int w, int h, FREE_IMAGE_FORMAT fif, FREE_IMAGE_TYPE type,
             int bpp, int flags)
{
    FIBITMAP* dib = FreeImage_AllocateT(type, w, h, bpp);
    if (!dib)
        return false;
    if (type == FIT_RGBF) {
        MP_own_FreeImage_torgbf(w, h, dib, src);
    } else {
        for (int i = 0; i < h; ++i) {
            BYTE* line = FreeImage_GetScanLine(dib, i);
            const uint16_t* row = src + size_t(h - 1 - i) * size_t(w) * 3;
            if (type == FIT_RGB16) {
                std::memcpy(line, row, size_t(w) * 6);
                continue;
            }
            const int bytes = bpp / 8;
            for (int x = 0; x < w; ++x) {
                BYTE* px = line + size_t(x) * bytes;
                px[FI_RGBA_RED] = BYTE(row[3 * x] >> 8);
                px[FI_RGBA_GREEN] = BYTE(row[3 * x + 1] >> 8);
                px[FI_RGBA_BLUE] = BYTE(row[3 * x + 2] >> 8);
                if (bytes == 4)
                    px[FI_RGBA_ALPHA] = 255;
            }
        }
    }
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        FreeImageIO io{OldReadProc, OldWriteProc, OldSeekProc, OldTellProc};
        ok = FreeImage_SaveToHandle(fif, dib, &io, static_cast<fi_handle>(&file), flags) && file.commit();
    }
    FreeImage_Unload(dib);
    return ok;
}

void BM_ExportOldWriter(benchmark::State& state, const char* name, FREE_IMAGE_FORMAT fif, FREE_IMAGE_TYPE type,
                        int bpp, int flags)
{
    const auto& src = bench::testPicture();
    const QString path = benchDir().filePath(name);
    SCpuMeter meter;
    for (auto _ : state)
        benchmark::DoNotOptimize(OldSave(path, src.data(), bench::kWidth, bench::kHeight, fif, type, bpp, flags));
    meter.report(state);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK_CAPTURE(BM_ExportOldWriter, tif, "o.tif", FIF_TIFF, FIT_BITMAP, 32, TIFF_NONE)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportOldWriter, jpg, "o.jpg", FIF_JPEG, FIT_BITMAP, 24, JPEG_QUALITYSUPERB | JPEG_OPTIMIZE)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportOldWriter, tiff, "o.tiff", FIF_TIFF, FIT_RGB16, 48, TIFF_NONE)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportOldWriter, tif32, "o.tif", FIF_TIFF, FIT_RGBF, 96, TIFF_LZW)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportOldWriter, pfm, "o.pfm", FIF_PFM, FIT_RGBF, 96, 0)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The same ".tif" write with a 24-megapixel JPEG as master: its metadata are
// read without decoding the pixels, so the master costs next to nothing.
const QString& masterJpeg()
{
    static const QString path = [] {
        const QString file = benchDir().filePath("master.jpg");
        FIBITMAP* dib = FreeImage_Allocate(bench::kWidth, bench::kHeight, 24);
        if (dib) {
            FreeImage_Save(FIF_JPEG, dib, QFile::encodeName(file).constData(), JPEG_QUALITYNORMAL);
            FreeImage_Unload(dib);
        }
        return file;
    }();
    return path;
}

void BM_ExportWriterWithMaster(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    const QString& master = masterJpeg();
    const QString path = benchDir().filePath("m.tif");
    for (auto _ : state)
        benchmark::DoNotOptimize(ResultImageWriter::SaveImageFile(path, src.data(), 100, false, bench::kWidth,
                                                                  bench::kHeight, master, nullptr));
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ExportWriterWithMaster)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace
