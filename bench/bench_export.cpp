// The result image writer on the 24-megapixel picture, against a safe
// (QSaveFile) write of the same bytes.

#include "benchutil.h"

#include "ui/mainwindow/resultimagewriter.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

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

void BM_ExportWriter(benchmark::State& state, const char* name)
{
    const auto& src = bench::testPicture();
    const QString path = benchDir().filePath(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(ResultImageWriter::SaveImageFile(path, src.data(), 100, false, bench::kWidth,
                                                                  bench::kHeight, QString(), nullptr));
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK_CAPTURE(BM_ExportWriter, tif, "r.tif")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportWriter, jpg, "r.jpg")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportWriter, tiff, "r.tiff")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ExportWriter, png, "r.png")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportWriter, exr, "r.exr")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_ExportWriter, tif32, "r.tif32")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

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
