// The statistics' reports, the web-animation frames and export, the depth-map
// grey fill and the metadata dock's update.

#include "benchutil.h"

#include "engine/views/zoom.h"
#include "ui/mainwindow/resultexports.h"
#include "ui/toolkit/modalhook.h"
#include "ui/tools/hdrexifdockwidget.h"
#include "ui/tools/hdrstatistic.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

namespace {

// One counted report as the chain makes after every thumbnail: the rewrite
// of the file waits for the timer, so a report is an update under the lock.
void BM_StatisticReportCoalesced(benchmark::State& state)
{
    QTemporaryDir dir;
    HDRStatistic statistic(dir.path() + QLatin1Char('/'));
    for (auto _ : state)
        statistic.HandleValue(QStringLiteral("m_iHighestPPCalcTime"), 5);
}
BENCHMARK(BM_StatisticReportCoalesced)->Unit(benchmark::kMicrosecond);

// One whole rewrite of "statistic.ini" (temporary file, sync and rename).
void BM_StatisticRewrite(benchmark::State& state)
{
    QTemporaryDir dir;
    HDRStatistic statistic(dir.path() + QLatin1Char('/'));
    for (auto _ : state)
        statistic.ToSettings();
}
BENCHMARK(BM_StatisticRewrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// A thumbnail pass of 30 tiles: the 270 x 180 thumbnails scaled from the
// picture, with and without the report after each.
void ThumbnailPass(benchmark::State& state, bool counting)
{
    QTemporaryDir dir;
    HDRStatistic statistic(dir.path() + QLatin1Char('/'));
    const auto& src = bench::testPicture();
    std::vector<uint16_t> thumb(size_t(270) * 180 * 3);
    for (auto _ : state) {
        for (int tile = 0; tile < 30; ++tile) {
            MP_MT_zoomPreviewPicture(src.data(), thumb.data(), 0, 0, 0, 0, 270.0f, 180.0f, 270.0f,
                                     float(bench::kWidth), float(bench::kHeight), 0.0f, 0.0f, float(bench::kWidth),
                                     float(bench::kHeight));
            if (counting)
                statistic.HandleValue(QStringLiteral("m_iHighestPPCalcTime"), tile);
        }
        benchmark::DoNotOptimize(thumb.data());
    }
}
void BM_ThumbnailPassWithoutCounting(benchmark::State& state) { ThumbnailPass(state, false); }
void BM_ThumbnailPassCounting(benchmark::State& state) { ThumbnailPass(state, true); }
BENCHMARK(BM_ThumbnailPassWithoutCounting)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ThumbnailPassCounting)->Unit(benchmark::kMillisecond)->UseRealTime();

// One web-animation frame (the fourteen in turn): the wipe composite of the two
// 24-megapixel images where both show, and the scaling to the 1280-pixel frame.
void BM_WebAnimFrame(benchmark::State& state)
{
    const auto& before = bench::testPicture();
    std::vector<uint16_t> after(before.rbegin(), before.rend());
    std::vector<uint16_t> composite(before.size());
    const QSize frame = CWebAnimExport::FrameSize(bench::kWidth, bench::kHeight);
    std::vector<uint16_t> out(size_t(frame.width()) * frame.height() * 3);
    int i = 0;
    for (auto _ : state) {
        const uint16_t* source = CWebAnimExport::ComposeFrame(i++ % CWebAnimExport::kFrames, before.data(),
                                                              after.data(), bench::kWidth, bench::kHeight,
                                                              composite.data());
        MP_MT_zoomPreviewPicture(source, out.data(), 0, 0, 0, 0, float(frame.width()),
                                 float(frame.height()), float(frame.width()), float(bench::kWidth),
                                 float(bench::kHeight), 0.0f, 0.0f, float(bench::kWidth), float(bench::kHeight));
        benchmark::DoNotOptimize(out.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_WebAnimFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole export: fourteen JPEG frames and the page, dialogs answered.
struct ExportHost : IResultExportHost {
    std::vector<uint16_t> after;
    struct : IResultCropWindow {
        SCropResult Show() override
        {
            SCropResult r;
            r.bCancelled = false;
            return r;
        }
        void Reset() override {}
        void DrawText(QPainter&, const SCropData&) const override {}
    } crop;
    QWidget* DialogParent() override { return nullptr; }
    bool IsPostProcessingStage() const override { return true; }
    bool IsHDRStage() const override { return false; }
    const unsigned short* GetActualResultBuffer(int* w, int* h) override
    {
        *w = bench::kWidth;
        *h = bench::kHeight;
        return after.data();
    }
    bool IsPreviewMode() const override { return false; }
    float PreviewScalingFactor() const override { return 1.0f; }
    void TogglePreviewMode() override {}
    IResultCropWindow* CropWindow() override { return &crop; }
    QString GetPath(int) const override { return QString(); }
    QString MasterPath() const override { return QString(); }
    QString GetMergedFilename(int) const override { return QStringLiteral("Bench"); }
    IUsageCounters* UsageCounter() override { return nullptr; }
};

void BM_WebAnimExport(benchmark::State& state)
{
    QTemporaryDir dir;
    ExportHost host;
    const auto& before = bench::testPicture();
    host.after.assign(before.rbegin(), before.rend());
    const QString folder = dir.path();
    _gui::SetModalHook([folder](QWidget* prompt) {
        auto* dialog = qobject_cast<QFileDialog*>(prompt);
        if (!dialog)
            return int(QDialog::Accepted);
        dialog->selectFile(folder);
        static_cast<QDialog*>(dialog)->accept();
        return int(QDialog::Accepted);
    });
    int run = 0;
    for (auto _ : state) {
        CWebAnimExport animation(
            host,
            [&before](int* w, int* h) {
                *w = bench::kWidth;
                *h = bench::kHeight;
                return before.data();
            },
            QStringLiteral("lumivex.invalid/"), dir.filePath(QStringLiteral("last.ini")));
        animation.SetOpenUrl([](const QUrl&) { return true; });
        const int second = run++;
        animation.SetClock([second] { return QDateTime(QDate(2026, 1, 1), QTime(0, 0, 0).addSecs(second)); });
        benchmark::DoNotOptimize(animation.Run(90, QString(), QString()));
    }
    _gui::SetModalHook(nullptr);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_WebAnimExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_DepthMapGreyFill(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint16_t> grey(src.size());
    for (auto _ : state) {
        CDepthMapExport::GreyFill(src.data(), bench::kWidth, bench::kHeight, grey.data());
        benchmark::DoNotOptimize(grey.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_DepthMapGreyFill)->Unit(benchmark::kMillisecond)->UseRealTime();

// The metadata dock shows a record with a 300-row maker note.
void BM_ExifDockUpdate(benchmark::State& state)
{
    HDRExifDockwidget dock(QStringLiteral("Exif"), nullptr);
    QString makerNote;
    for (int i = 0; i < 300; ++i)
        makerNote += QStringLiteral("<TR><TD width=125>Tag %1</TD><TD width=200>%2</TD><TD width=200></TD></TR>")
                         .arg(i)
                         .arg(i * 7);
    const QMap<unsigned int, QString> headers = {{1u, QStringLiteral("Exif - main info")},
                                                 {4u, QStringLiteral("Canon Makernote")}};
    const QMap<unsigned int, QString> tables = {{1u, makerNote.left(2000)}, {4u, makerNote}};
    for (auto _ : state)
        dock.ShowMetadata(QStringLiteral("IMG.jpg"), headers, tables);
}
BENCHMARK(BM_ExifDockUpdate)->Unit(benchmark::kMillisecond);

} // namespace
