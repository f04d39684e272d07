// The post-processing chain against its parts: a chain of ten tone and colour
// operators against the same dispatcher calls made directly, the chain's
// buffer fill at an unchanged size against a copy, and reading a chain file
// against a bare settings load of the same file (every key and value).

#include "benchutil.h"

#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "engine/openclmanager.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

namespace {

const char* const kTenOperators[] = {"MP_calcPixelBasicTools",       "MP_calcPixelGradationLagrange",
                                     "MP_calcPixelColorTemperature", "MP_calcPixelHSL",
                                     "MP_calcPixelSepia",            "MP_calcPixelHueExpose",
                                     "MP_calcPixelColorPalette",     "MP_calcPixelColorIntensity",
                                     "MP_calcPixelGammaColor",       "MP_calcPixelColorBalance"};

CPostProcessing& TenOperatorChain()
{
    static CPostProcessing chain = [] {
        CPPOperatorCatalogue catalogue;
        catalogue.Load();
        CPostProcessing c;
        for (const char* kernel : kTenOperators) {
            SOperator op = catalogue.MakeOperator(catalogue.IndexOfId(PP_OperatorId(QString::fromLatin1(kernel))));
            for (int j = 0; j < op.parameters.size(); ++j)
                if (op.parameters[j].eType == ePTSlider)
                    op.parameters[j].pfValues[0] = 0.35f + 0.05f * j;
            if (!op.parameters.isEmpty() && op.parameters[0].eType == ePTSpline)
                op.parameters[0].pfValues[3] = 0.3f;
            c.m_vecOperators.append(op);
        }
        return c;
    }();
    return chain;
}

void BM_ChainProcessTenOperators(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    CPostProcessing::InitBuffer(const_cast<uint16_t*>(src.data()), QSize(bench::kWidth, bench::kHeight),
                                QSize(bench::kWidth, bench::kHeight), true);
    CPostProcessing& chain = TenOperatorChain();
    for (auto _ : state) {
        chain.Process(bench::kWidth, bench::kHeight, true);
        benchmark::DoNotOptimize(CPostProcessing::GetPreviewBuffer());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ChainProcessTenOperators)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChainDirectTenOperators(benchmark::State& state)
{
    std::vector<uint16_t> image = bench::testPicture();
    CPostProcessing& chain = TenOperatorChain();
    MP_Params* P = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
    for (auto _ : state) {
        for (const SOperator& op : chain.m_vecOperators) {
            CPostProcessing::FillKernelHeader(P, bench::kWidth, bench::kHeight, bench::kWidth, bench::kHeight);
            for (int j = 0; j < op.parameters.size(); ++j)
                std::memcpy(P->p[j], op.parameters[j].pfValues, sizeof(P->p[j]));
            const QByteArray kernel = op.kernel.toLatin1();
            float* buffer = reinterpret_cast<float*>(image.data());
            OpenCLManager::getInstance()->executeKernel(kernel.constData(), bench::kWidth, bench::kHeight, buffer,
                                                        buffer, 6, 6, P, -1, 0, 0, true, true);
        }
        benchmark::DoNotOptimize(image.data());
    }
    std::free(P);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ChainDirectTenOperators)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChainInitBufferSameSize(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    const QSize size(bench::kWidth, bench::kHeight);
    CPostProcessing::InitBuffer(const_cast<uint16_t*>(src.data()), size, size, false);
    for (auto _ : state) {
        CPostProcessing::InitBuffer(const_cast<uint16_t*>(src.data()), size, size, false);
        benchmark::DoNotOptimize(CPostProcessing::GetBuffer());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_ChainInitBufferSameSize)->Unit(benchmark::kMillisecond)->UseRealTime();

const QString& ChainFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath("chain.ini");
        CPostProcessing chain = TenOperatorChain();
        chain.ToSettings(p);
        return p;
    }();
    return path;
}

void BM_ChainFromSettings(benchmark::State& state)
{
    const QString& path = ChainFile();
    for (auto _ : state) {
        CPostProcessing chain;
        chain.SetSettingsPath(path);
        chain.FromSettings();
        benchmark::DoNotOptimize(chain.m_vecOperators.data());
    }
}
BENCHMARK(BM_ChainFromSettings)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChainBareSettingsLoad(benchmark::State& state)
{
    const QString& path = ChainFile();
    for (auto _ : state) {
        // every key and its value, as a reader of the file needs them
        QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        qsizetype bytes = 0;
        for (const QString& key : keys)
            bytes += settings.value(key).toString().size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ChainBareSettingsLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
