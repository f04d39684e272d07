// Projects and undo points: the pictures of an undo point from the
// 24-megapixel result (against the banded copy), the all-or-nothing project
// save against a plain one of the same data, and the timeline's title and
// clean-up arithmetic over 50 points.

#include "benchutil.h"

#include "ui/mainwindow/projectfiles.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

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

// The project saved over an existing one: temporary file, new data folder
// of links, renames.
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
