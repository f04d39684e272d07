// The application shell's hot paths: the style colour field repainted on
// every mouse move (against a plain copy of its 210,000 bytes), a worker's
// pixmap hand-off of one megapixel (against QPixmap::fromImage on the GUI
// thread) and the construction of the options dialog with its start-up apply.

#include "benchutil.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "engine/draw/painters.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/hdrpixmapcreator.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

constexpr int kFieldW = 350;
constexpr int kFieldH = 150;

void BM_StyleFieldCopy(benchmark::State& state)
{
    std::vector<uint32_t> src(kFieldW * kFieldH, 0xff5f5f5fu), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, kFieldW, kFieldH);
}
BENCHMARK(BM_StyleFieldCopy)->Unit(benchmark::kMicrosecond);

void BM_StyleFieldPaint(benchmark::State& state)
{
    std::vector<uint32_t> field(kFieldW * kFieldH);
    float x = 0.1f;
    for (auto _ : state) {
        x = x > 0.9f ? 0.1f : x + 0.01f;
        benchmark::DoNotOptimize(
            MP_UI_paintStyleColorSelect(field.data(), kFieldW, kFieldH, kFieldW, 1, x, 0.5f));
    }
    bench::setMegapixelRate(state, kFieldW, kFieldH);
}
BENCHMARK(BM_StyleFieldPaint)->Unit(benchmark::kMicrosecond);

// The whole repaint of a mouse move: field, swatch and both label pixmaps.
void BM_StyleDialogRepaint(benchmark::State& state)
{
    HDRStyleSelectWindow dialog(nullptr);
    dialog.SetData(0x5f6f8f, true);
    float x = 0.1f;
    for (auto _ : state) {
        x = x > 0.9f ? 0.1f : x + 0.01f;
        dialog.styleColorSelected(x, 0.5f);
    }
    bench::setMegapixelRate(state, kFieldW, kFieldH);
}
BENCHMARK(BM_StyleDialogRepaint)->Unit(benchmark::kMicrosecond);

QImage megapixel()
{
    QImage image(1000, 1000, QImage::Format_ARGB32);
    image.fill(0xff336699u);
    return image;
}

void BM_PixmapFromImageGui(benchmark::State& state)
{
    const QImage image = megapixel();
    for (auto _ : state) {
        QPixmap pixmap = QPixmap::fromImage(image);
        benchmark::DoNotOptimize(pixmap);
    }
    bench::setMegapixelRate(state, 1000, 1000);
}
BENCHMARK(BM_PixmapFromImageGui)->Unit(benchmark::kMillisecond)->UseRealTime();

// One worker hands an image to the GUI thread per iteration; the GUI thread
// sleeps in its event loop until the queued call wakes it.
void BM_PixmapHandOffWorker(benchmark::State& state)
{
    HDRMainWindow window(-1, QString());
    QImage image = megapixel();
    std::mutex m;
    std::condition_variable cv;
    int requested = 0, finished = 0;
    bool stop = false;
    QThread* worker = QThread::create([&] {
        int served = 0;
        for (;;) {
            {
                std::unique_lock lock(m);
                cv.wait(lock, [&] { return stop || requested > served; });
                if (stop)
                    return;
            }
            HDRPixmapCreator creator(&image);
            benchmark::DoNotOptimize(creator.m_Pixmap);
            ++served;
            std::lock_guard lock(m);
            finished = served;
        }
    });
    worker->start();
    for (auto _ : state) {
        int target;
        {
            std::lock_guard lock(m);
            target = ++requested;
        }
        cv.notify_one();
        for (;;) {
            {
                std::lock_guard lock(m);
                if (finished >= target)
                    break;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }
    {
        std::lock_guard lock(m);
        stop = true;
    }
    cv.notify_one();
    worker->wait();
    delete worker;
    bench::setMegapixelRate(state, 1000, 1000);
}
BENCHMARK(BM_PixmapHandOffWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

// Construction with the start-up sequence: defaults, "options.ini" read and
// written, every option pushed into the engine.
void BM_OptionsWindowConstruction(benchmark::State& state)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    MP_UI_SetCalcForceMode(1);
    for (auto _ : state) {
        HDROptionsWindow window(nullptr);
        benchmark::DoNotOptimize(window.GetExternalIndex());
    }
    qputenv("HOME", oldHome);
}
BENCHMARK(BM_OptionsWindowConstruction)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
