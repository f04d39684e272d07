// Loading the texture store at start-up, with every slot of the table
// needed, against a plain read of the same files into fresh buffers.

#include "engine/core/textures.h"
#include "ui/mainwindow/textureloader.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>
#include <sstream>

namespace {

// The build's texture folder beside the benchmark's own folder.
QString textureFolder()
{
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return QString::fromStdString((exe.parent_path().parent_path() / "lumivex" / "textures").string());
}

void BM_LoadAllTextures(benchmark::State& state)
{
    const QString folder = textureFolder();
    const auto table = TextureLoader::Table();
    for (const auto& file : table)
        MP_UI_SetTextureNeeded(file.slot, 1);
    std::ostringstream quiet;
    std::streambuf* old = std::cout.rdbuf(quiet.rdbuf());
    int64_t bytes = 0;
    for (auto _ : state) {
        MP_UI_FreeTexturesData();
        TextureLoader::LoadAllTextures(folder);
        bytes += int64_t(MP_UI_GetTextureMemory());
        quiet.str(std::string());
    }
    std::cout.rdbuf(old);
    MP_ResetTexturesAndBuffer();
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_LoadAllTextures)->Unit(benchmark::kMillisecond);

void BM_PlainReadTextures(benchmark::State& state)
{
    const QString folder = textureFolder();
    const auto table = TextureLoader::Table();
    int64_t bytes = 0;
    for (auto _ : state) {
        // Every picture stays in memory together, as in the store.
        std::vector<std::unique_ptr<char[]>> buffers;
        for (const auto& file : table) {
            const qint64 size = qint64(file.width) * file.height * 6;
            buffers.emplace_back(new char[size_t(size)]);
            QFile f(folder + QLatin1Char('/') + file.name);
            if (f.open(QIODevice::ReadOnly))
                bytes += f.read(buffers.back().get(), size);
            benchmark::DoNotOptimize(buffers.back().get());
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PlainReadTextures)->Unit(benchmark::kMillisecond);

} // namespace
