// The document's hot paths on the 24-megapixel picture: turning a loaded
// bitmap into an exposure (8- and 16-bit RGB, default settings), opening a
// JPEG against FreeImage's decode alone, the single-threaded geometry of one
// exposure (as the worker jobs run it), the load-time noise estimate and a
// pixmap render; opening a JPEG with camera data and converting the bitmap
// kinds that used to run on one thread, each former path against the present
// one in the same run. Compare with BM_CopyRGB48Bands (conversion, opening)
// and BM_CopyRGB48 (geometry).

#include "benchutil.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/imageloader.h"
#include "engine/MP_calc.h"
#include "tests/document/exifwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <FreeImage.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// The test picture as a FreeImage bitmap of 8 or 16 bits a channel.
FIBITMAP* pictureBitmap(bool sixteen)
{
    const auto& src = bench::testPicture();
    FIBITMAP* b = sixteen ? FreeImage_AllocateT(FIT_RGB16, bench::kWidth, bench::kHeight)
                          : FreeImage_Allocate(bench::kWidth, bench::kHeight, 24);
    for (int y = 0; y < bench::kHeight; ++y) {
        const uint16_t* row = src.data() + size_t(bench::kHeight - 1 - y) * bench::kWidth * 3;
        BYTE* line = FreeImage_GetScanLine(b, y);
        if (sixteen) {
            std::memcpy(line, row, size_t(bench::kWidth) * 6);
        } else {
            for (int x = 0; x < bench::kWidth; ++x) {
                line[3 * x + FI_RGBA_RED] = BYTE(row[3 * x] >> 8);
                line[3 * x + FI_RGBA_GREEN] = BYTE(row[3 * x + 1] >> 8);
                line[3 * x + FI_RGBA_BLUE] = BYTE(row[3 * x + 2] >> 8);
            }
        }
    }
    return b;
}

// Renders are measured up to the hand-off; the bench has no GUI thread.
struct NoPixmap : IPixmapHandOff {
    QPixmap ToPixmap(const QImage& image) override
    {
        benchmark::DoNotOptimize(image.constBits());
        return QPixmap();
    }
};

void convert(benchmark::State& state, bool sixteen)
{
    FIBITMAP* master = pictureBitmap(sixteen);
    CExposure e;
    e.Load("bench.tif", master);
    for (auto _ : state) {
        state.PauseTiming();
        FIBITMAP* b = FreeImage_Clone(master);
        state.ResumeTiming();
        e.ConvertToExposure(b, -1.0f);
        benchmark::DoNotOptimize(e.m_pusBuffer);
    }
    FreeImage_Unload(master);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void BM_ConvertToExposure8(benchmark::State& state)
{
    convert(state, false);
}
BENCHMARK(BM_ConvertToExposure8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ConvertToExposure16(benchmark::State& state)
{
    convert(state, true);
}
BENCHMARK(BM_ConvertToExposure16)->Unit(benchmark::kMillisecond)->UseRealTime();

// One loaded exposure of the test picture, made once.
CExposure& benchExposure()
{
    static std::unique_ptr<CExposure> e = [] {
        auto x = std::make_unique<CExposure>();
        FIBITMAP* b = pictureBitmap(false);
        x->Load("bench.tif", b);
        x->Prepare(b, -1.0f);
        return x;
    }();
    return *e;
}

// A geometry step, repeated; an odd count is undone so the exposure keeps
// its orientation for the next benchmark.
void geometry(benchmark::State& state, int (CExposure::*step)(), int (CExposure::*undo)())
{
    CExposure& e = benchExposure();
    for (auto _ : state) {
        (e.*step)();
        benchmark::DoNotOptimize(e.m_pusBuffer);
    }
    if (state.iterations() % 2)
        (e.*undo)();
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void BM_ExposureRotateRight(benchmark::State& state)
{
    geometry(state, &CExposure::RotateRight, &CExposure::RotateLeft);
}
BENCHMARK(BM_ExposureRotateRight)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExposureMirror(benchmark::State& state)
{
    geometry(state, &CExposure::Mirror, &CExposure::Mirror);
}
BENCHMARK(BM_ExposureMirror)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CalcOptimizeDeNoiseValueStep2(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(MP_UI_CalcOptimizeDeNoiseValue(bench::kWidth, bench::kHeight, src.data(), 2));
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_CalcOptimizeDeNoiseValueStep2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CreatePixmap1200x800(benchmark::State& state)
{
    CExposure& e = benchExposure();
    NoPixmap handOff;
    IPixmapHandOff* previous = CPixmapHandOff::SetHandOff(&handOff);
    for (auto _ : state)
        benchmark::DoNotOptimize(e.CreatePixmap(1200, 800));
    CPixmapHandOff::SetHandOff(previous);
    bench::setMegapixelRate(state, 1200, 800);
}
BENCHMARK(BM_CreatePixmap1200x800)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 24-megapixel JPEG of the test picture, written once.
const QByteArray& jpegPath()
{
    static QTemporaryDir dir;
    static const QByteArray path = [] {
        const QByteArray p = QFile::encodeName(dir.filePath("bench.jpg"));
        FIBITMAP* b = pictureBitmap(false);
        FreeImage_Save(FIF_JPEG, b, p.constData(), JPEG_QUALITYGOOD);
        FreeImage_Unload(b);
        return p;
    }();
    return path;
}

void BM_JpegDecode(benchmark::State& state)
{
    const QByteArray& path = jpegPath();
    for (auto _ : state) {
        FIBITMAP* b = FreeImage_Load(FIF_JPEG, path.constData(), JPEG_ACCURATE | JPEG_EXIFROTATE);
        benchmark::DoNotOptimize(b);
        FreeImage_Unload(b);
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loader thread, exposure record and conversion: what opening a JPEG costs.
void BM_JpegOpenAsExposure(benchmark::State& state)
{
    const QString path = QFile::decodeName(jpegPath());
    for (auto _ : state) {
        CImageLoader loader;
        loader.Enqueue(path, true);
        loader.Load();
        CExposure e;
        FIBITMAP* b = loader.m_vecBitmaps[0];
        e.Load(path, b);
        e.Prepare(b, -1.0f);
        benchmark::DoNotOptimize(e.m_pusBuffer);
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_JpegOpenAsExposure)->Unit(benchmark::kMillisecond)->UseRealTime();


// ---- Opening a photograph: former path against the present one ------------------

// A 24-megapixel JPEG of the test picture with camera data (EXIF main,
// advanced and GPS), written once.
const QByteArray& jpegWithExifPath()
{
    static QTemporaryDir dir;
    static const QByteArray path = [] {
        const QByteArray p = QFile::encodeName(dir.filePath("exif.jpg"));
        FIBITMAP* b = pictureBitmap(false);
        attachExifRaw(b, standardExifBlock(1));
        FreeImage_Save(FIF_JPEG, b, p.constData(), JPEG_QUALITYGOOD);
        FreeImage_Unload(b);
        return p;
    }();
    return path;
}

// What opening the JPEG costs the document: the loader thread's header check
// and decode, the exposure's conversion and preview, and the metadata that
// the master reads (GetExif). Argument 0 reads the metadata as before, by a
// second full decode; 1 reads them without the pixels. Wall and process CPU
// time.
void BM_OpenJpegWithExif(benchmark::State& state)
{
    const QByteArray& encoded = jpegWithExifPath();
    const QString path = QFile::decodeName(encoded);
    const bool former = state.range(0) == 0;
    for (auto _ : state) {
        CImageLoader loader;
        loader.Enqueue(path, true);
        loader.Load();
        CExposure e;
        FIBITMAP* b = loader.m_vecBitmaps[0];
        e.Load(path, b);
        e.Prepare(b, -1.0f);
        if (former) {
            FIBITMAP* m = FreeImage_Load(FIF_JPEG, encoded.constData(), 0);
            e.ParseExif(m);
            FreeImage_Unload(m);
            e.m_bExifLoaded = true;
        } else {
            e.GetExif();
        }
        benchmark::DoNotOptimize(e.m_mapMetadataTables.size());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_OpenJpegWithExif)
    ->ArgName("withoutPixels")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The conversion of a loaded bitmap into the exposure's 16-bit buffer for the
// kinds that used to run on one thread. Argument 0: the former path (a 24-bit
// copy by FreeImage and the engine's banded copy for grey, the serial loops
// for the others, the engine's serially measured copy for RGB float); 1: the
// present one, in bands. Wall and process CPU time.
FIBITMAP* kindBitmap(int kind)
{
    const auto& src = bench::testPicture();
    const FREE_IMAGE_TYPE types[] = {FIT_BITMAP, FIT_UINT16, FIT_RGBA16, FIT_FLOAT, FIT_RGBF};
    FIBITMAP* b = kind == 0 ? FreeImage_Allocate(bench::kWidth, bench::kHeight, 8)
                            : FreeImage_AllocateT(types[kind], bench::kWidth, bench::kHeight);
    for (int y = 0; y < bench::kHeight; ++y) {
        const uint16_t* row = src.data() + size_t(bench::kHeight - 1 - y) * bench::kWidth * 3;
        BYTE* line = FreeImage_GetScanLine(b, y);
        for (int x = 0; x < bench::kWidth; ++x) {
            const uint16_t* p = row + 3 * x;
            switch (kind) {
            case 0: line[x] = BYTE(p[1] >> 8); break;
            case 1: reinterpret_cast<uint16_t*>(line)[x] = p[1]; break;
            case 2: reinterpret_cast<FIRGBA16*>(line)[x] = FIRGBA16{p[0], p[1], p[2], 65535}; break;
            case 3: reinterpret_cast<float*>(line)[x] = float(p[1]) / 16384.0f; break;
            default: reinterpret_cast<FIRGBF*>(line)[x] = FIRGBF{p[0] / 16384.0f, p[1] / 16384.0f, p[2] / 16384.0f}; break;
            }
        }
    }
    return b;
}

void BM_ConvertKind(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const bool former = state.range(1) == 0;
    FIBITMAP* b = kindBitmap(kind);
    std::vector<unsigned short> dst(size_t(bench::kWidth) * bench::kHeight * 3);
    const char* names[] = {"grey8", "uint16", "rgba16", "float", "rgbf"};
    state.SetLabel(names[kind]);
    for (auto _ : state) {
        if (!former) {
            CExposure::own_FreeImage_ConvertToRGB16(b, dst.data(), true);
        } else if (kind == 0) {
            FIBITMAP* copy = FreeImage_ConvertTo24Bits(b);
            MP_own_FreeImage_frombitmap(bench::kWidth, bench::kHeight, copy, int(FreeImage_GetPitch(copy)),
                                        dst.data());
            FreeImage_Unload(copy);
        } else if (kind == 4) {
            MP_own_FreeImage_fromrgbf(bench::kWidth, bench::kHeight, b, int(FreeImage_GetPitch(b)), dst.data());
        } else {
            CExposure::own_FreeImage_ConvertToRGB16(b, dst.data(), false);
        }
        benchmark::DoNotOptimize(dst.data());
    }
    FreeImage_Unload(b);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ConvertKind)
    ->ArgNames({"kind", "banded"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace
