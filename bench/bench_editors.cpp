// The interactive editors: the clone-correction view rebuilt after an edit
// (copy, 100 units of the default radius, ARGB, pixmap) on the 24-megapixel
// picture, with and without the variation view; and one re-render of the
// mask geometry view per pointer move (1320 x 732 view of a 1-megapixel
// result with 32 geometries) next to the plain conversion at the view size.

#include "benchutil.h"

#include "engine/core/conversions.h"
#include "engine/views/cropview.h"
#include "ui/editors/HDRGeometryPainter.h"
#include "ui/editors/HDRStencilPainter.h"

#include <QApplication>
#include <QMouseEvent>

#include <vector>

namespace {

void stencilRebuild(benchmark::State& state, bool variation)
{
    auto* image = const_cast<uint16_t*>(bench::testPicture().data());
    CStencilPainter painter(nullptr);
    if (!painter.OpenImage(image, bench::kWidth, bench::kHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    CStencilLabel* label = painter.GetStencilLabel();
    for (unsigned i = 0; i < 100; ++i) {
        SStencilData d;
        d.bAutomatic = false;
        d.dDstX = 0.05 + 0.09 * (i % 10);
        d.dDstY = 0.05 + 0.09 * (i / 10);
        d.dSrcX = 0.5 + 0.4 * ((i * 7) % 10 - 5) / 5.0 * 0.5;
        d.dSrcY = 0.5 + 0.4 * ((i * 3) % 10 - 5) / 5.0 * 0.5;
        label->SetStencilData(i, d);
    }
    painter.SetVariationEnabled(variation);
    painter.GetPixmap(0); // the navigator's picture, once per opening
    for (auto _ : state) {
        painter.OnCreatePixmap();
        benchmark::DoNotOptimize(painter.GetPixmap(0));
    }
    painter.CloseImage();
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void BM_StencilViewRebuild(benchmark::State& state) { stencilRebuild(state, false); }
void BM_StencilViewRebuildVariation(benchmark::State& state) { stencilRebuild(state, true); }
BENCHMARK(BM_StencilViewRebuild)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StencilViewRebuildVariation)->Unit(benchmark::kMillisecond)->UseRealTime();

constexpr int kViewWidth = 1320, kViewHeight = 732;
constexpr int kResultWidth = 1224, kResultHeight = 816; // about one megapixel

const std::vector<uint16_t>& result()
{
    static const std::vector<uint16_t> r = [] {
        std::vector<uint16_t> img(size_t(kResultWidth) * kResultHeight * 3);
        const auto& src = bench::testPicture();
        for (int y = 0; y < kResultHeight; ++y)
            for (int x = 0; x < kResultWidth; ++x)
                for (int c = 0; c < 3; ++c)
                    img[(size_t(y) * kResultWidth + x) * 3 + c] = src[(size_t(y) * bench::kWidth + x) * 3 + c];
        return img;
    }();
    return r;
}

void BM_GeometryViewPointerMove(benchmark::State& state)
{
    CGeometryPainter painter(nullptr);
    painter.SetResultSource([](int* w, int* h) {
        *w = kResultWidth;
        *h = kResultHeight;
        return static_cast<const unsigned short*>(result().data());
    });
    CGeometryLabel* label = painter.GetLabel();
    label->setFixedSize(kViewWidth + 24, kViewHeight + 24);
    painter.SetShowGeometries(true);
    painter.GetDisplayButton(2)->click();
    painter.Update();
    for (unsigned i = 0; i < 32; ++i) {
        label->Geometry(i)->SetDefaults(i % 3 != 2);
        label->Geometry(i)->SetRadius(QPoint(40 + 3 * int(i), 30 + 2 * int(i)));
        label->Geometry(i)->SetPos(QPoint(60 + 38 * int(i), 80 + 18 * int(i)));
    }
    int step = 0;
    if (state.range(0) == 1) {
        // The engine's render alone, with the same list.
        painter.Update();
        std::vector<float> list(label->OverlayList(), label->OverlayList() + 256);
        std::vector<uint32_t> out(size_t(kViewWidth) * kViewHeight);
        for (auto _ : state) {
            MP_UI_previewGeometryViewGeometries(kViewWidth, kViewHeight, out.data(), kResultWidth, kResultHeight,
                                                result().data(), 0.5f, list.data(), 256);
            benchmark::DoNotOptimize(out.data());
        }
        bench::setMegapixelRate(state, kViewWidth, kViewHeight);
        return;
    }
    for (auto _ : state) {
        const QPointF at(100 + (step++ % 500), 300);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
    }
    bench::setMegapixelRate(state, kViewWidth, kViewHeight);
}
BENCHMARK(BM_GeometryViewPointerMove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GeometryViewConvertReference(benchmark::State& state)
{
    std::vector<uint16_t> view(size_t(kViewWidth) * kViewHeight * 3);
    const auto& src = bench::testPicture();
    std::copy(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(view.size()), view.begin());
    std::vector<uint32_t> argb(size_t(kViewWidth) * kViewHeight);
    for (auto _ : state) {
        MP_UI_ConvertRGB48toARGB8888(kViewWidth, kViewHeight, view.data(), argb.data());
        benchmark::DoNotOptimize(argb.data());
    }
    bench::setMegapixelRate(state, kViewWidth, kViewHeight);
}
BENCHMARK(BM_GeometryViewConvertReference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
