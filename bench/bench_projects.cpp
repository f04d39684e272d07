// Projects and undo points: the pictures of an undo point from the
// 24-megapixel result (against the banded copy), the all-or-nothing project
// save against a plain one of the same data, and the timeline's title and
// clean-up arithmetic over 50 points.

#include "benchutil.h"

#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/projectfiles.h"
#include "ui/options/options.h"
#include "ui/toolkit/modalhook.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <FreeImage.h>

#include <cstring>
#include <memory>

namespace PF = ProjectFiles;

namespace {

void BM_UndoPictures(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    for (auto _ : state) {
        PF::SUndoPictures pictures;
        PF::MakeUndoPictures(src.data(), bench::kWidth, bench::kHeight, 480, 360, 0x202020u, pictures);
        benchmark::DoNotOptimize(pictures.thumbnail.get());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_UndoPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

// A participant writing the 24-megapixel picture as one data file.
bool writePicture(const QString& folder)
{
    const auto& src = bench::testPicture();
    QSaveFile file(folder + QStringLiteral("/CMap0000.dat"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(reinterpret_cast<const char*>(src.data()), qint64(src.size() * sizeof(uint16_t)));
    return file.commit();
}

// The project saved over an existing one: the participants' copies of the old
// data files, the staged data folder, the commit record, the renames.
void BM_ProjectSaveAllOrNothing(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.lumivexProject"));
    PF::SSaveRequest request;
    request.projectPath = path;
    request.participants = [](QSettings& settings, const QString& folder) {
        settings.setValue(QStringLiteral("ExposureSeries/Size"), 1);
        return writePicture(folder);
    };
    PF::SaveProject(request);
    for (auto _ : state)
        benchmark::DoNotOptimize(PF::SaveProject(request));
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ProjectSaveAllOrNothing)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same data written straight into place.
void BM_ProjectSavePlain(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.lumivexProject"));
    const QString data = dir.filePath(QStringLiteral("p.lumivexdata"));
    QDir().mkpath(data);
    for (auto _ : state) {
        QSettings settings(path, QSettings::IniFormat);
        settings.clear();
        settings.setValue(QStringLiteral("Version"), 300);
        settings.setValue(QStringLiteral("ExposureSeries/Size"), 1);
        benchmark::DoNotOptimize(writePicture(data));
        settings.sync();
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ProjectSavePlain)->Unit(benchmark::kMillisecond)->UseRealTime();

class BenchHost : public ITimelineUndoHost {
public:
    bool removeDir(const QString& path) override { return PF::RemoveDir(path); }
    void setUndoLevel(int l) override { level = l; }
    void SaveUndo() override {}
    void RestoreTimeline(int) override {}
    int ChangeCounter() const override { return 0; }
    int UndoLevel() const override { return level; }
    QString UndoRoot() const override { return root; }
    QString root;
    int level = -1;
};

// Title and clean-up amount over 50 points of a few files each.
void BM_TimelineTitleAndAmount50(benchmark::State& state)
{
    QTemporaryDir dir;
    BenchHost host;
    host.root = dir.path() + QLatin1Char('/');
    HDRTimelineDockWidget dock(QStringLiteral("Timeline Window"), nullptr);
    dock.SetUndoHost(&host);
    std::vector<uint16_t> thumb(size_t(PF::kThumbBytes / 2), 0x4000);
    for (int i = 0; i < 50; ++i) {
        const QString folder = PF::UndoFolder(host.root, i);
        QDir().mkpath(folder + QStringLiteral("/undo.lumivexdata"));
        for (const char* name : {"/undo.dat", "/undo.jpg", "/datetime.ini", "/undo.lumivexProject",
                                 "/undo.lumivexdata/CMap0000.dat", "/undo.lumivexdata/MWMap0000.dat"}) {
            QFile f(folder + QLatin1String(name));
            f.open(QIODevice::WriteOnly);
            f.write("x");
        }
        host.level = i;
        dock.AddItem(thumb.data(), PF::kThumbWidth, PF::kThumbHeight, i, QStringLiteral("point"), false);
    }
    for (auto _ : state) {
        dock.SetTitle();
        benchmark::DoNotOptimize(dock.GetAutoDeleteAmount(20, 1.0));
    }
}
BENCHMARK(BM_TimelineTitleAndAmount50)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// ---- a whole undo point of the 24-megapixel photograph --------------------------------

namespace {

// The main window with the test picture opened (from a 16-bit TIFF) and a
// preset applied, in a private home folder.
struct SWindowFixture {
    QTemporaryDir home;
    QByteArray oldHome = qgetenv("HOME");
    std::unique_ptr<HDRMainWindow> window;
    CPostProcessing chain;
    struct Tile : IPresetTile {
        QSize LabelSize() const override { return QSize(40, 30); }
        void UpdateLabelPixmap() override {}
        void SetCalculated(bool) override {}
        void EnableModifiedButtons() override {}
    } tile;

    SWindowFixture()
    {
        qputenv("HOME", home.path().toLocal8Bit());
        const auto& src = bench::testPicture();
        FIBITMAP* b = FreeImage_AllocateT(FIT_RGB16, bench::kWidth, bench::kHeight);
        for (int y = 0; y < bench::kHeight; ++y)
            std::memcpy(FreeImage_GetScanLine(b, y), src.data() + size_t(bench::kHeight - 1 - y) * bench::kWidth * 3,
                        size_t(bench::kWidth) * 6);
        const QString photo = home.filePath(QStringLiteral("photo.tif"));
        FreeImage_Save(FIF_TIFF, b, QFile::encodeName(photo).constData(), TIFF_NONE);
        FreeImage_Unload(b);
        COptions::getInstance()->m_bPreviewMode = false;
        window = std::make_unique<HDRMainWindow>(0, QString(), nullptr);
        _gui::SetModalHook([](QWidget*) { return 0; });
        window->InterpretReceivedMessage(photo);
        if (window->m_pExposureSeries)
            window->updatePostProcessing(&chain, &tile);
    }
    ~SWindowFixture()
    {
        window->clearUndo();
        window.reset();
        _gui::SetModalHook(nullptr);
        qputenv("HOME", oldHome);
    }
};

void BM_UndoPointWhole(benchmark::State& state)
{
    SWindowFixture f;
    if (!f.window->m_pExposureSeries) {
        state.SkipWithError("the photograph did not open");
        return;
    }
    for (auto _ : state) {
        f.window->SaveUndo();
        state.PauseTiming();
        f.window->clearUndo();
        f.window->setUndoLevel(-1);
        state.ResumeTiming();
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_UndoPointWhole)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The series' own project save under the switches an undo point uses.
void BM_UndoPointSeriesSaveOnly(benchmark::State& state)
{
    SWindowFixture f;
    if (!f.window->m_pExposureSeries) {
        state.SkipWithError("the photograph did not open");
        return;
    }
    const int compression = MP_UI_GetBufferCompressionMode();
    const int threads = MP_UI_GetUseMultithreadingMode();
    MP_UI_SetBufferCompressionMode(1);
    MP_UI_SetUseMultithreadingMode(1);
    const QString folder = f.home.filePath(QStringLiteral("series"));
    QDir().mkpath(folder);
    for (auto _ : state) {
        QSettings settings(f.home.filePath(QStringLiteral("series.ini")), QSettings::IniFormat);
        benchmark::DoNotOptimize(f.window->m_pExposureSeries->SaveProject(settings, folder));
    }
    MP_UI_SetBufferCompressionMode(compression);
    MP_UI_SetUseMultithreadingMode(threads);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_UndoPointSeriesSaveOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_RestoreTimeline(benchmark::State& state)
{
    SWindowFixture f;
    if (!f.window->m_pExposureSeries) {
        state.SkipWithError("the photograph did not open");
        return;
    }
    f.window->SaveUndo();
    for (auto _ : state)
        f.window->RestoreTimeline(0);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_RestoreTimeline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
