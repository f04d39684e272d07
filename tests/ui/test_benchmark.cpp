// The benchmark window: scores, needle, phases, parameters and a run on a
// recorded clock.

#include "uifixture.h"

#include "engine/MP_calc.h"
#include "ui/toolkit/resourceinit.h"
#include "ui/tools/hdrbenchmarkwindow.h"

#include <QImage>
#include <QTextBrowser>

#include <cmath>
#include <cstring>

namespace B = Benchmark;

namespace {

double g_Clock = 0.0;
double RecordedClock() { return g_Clock; }

class BenchmarkTest : public UiTest {};

} // namespace

TEST_F(BenchmarkTest, PhaseSpeedsAndMarks)
{
    const struct {
        float ms;
        const char* text;
    } cases[] = {{10.0f, " 52.42"}, {40.0f, " 13.11"}, {100.0f, "  5.24"}};
    for (const auto& c : cases) {
        // Fifty frames of the same time give the same mean.
        EXPECT_EQ(QString::asprintf("%6.2f", double(B::PhaseSpeed(50.0f, 50.0f * c.ms))), c.text) << c.ms;
    }
    EXPECT_EQ(B::PhaseSpeed(0.0f, 0.0f), 0.0f);
    const float v = B::PhaseSpeed(1.0f, 10.0f);
    const float five[5] = {v, v, v, v, v};
    EXPECT_EQ(QString::asprintf("%6.0f", double(B::Marks(five))), "  2621");
    const float some[5] = {v, 0.0f, 0.0f, 0.0f, 0.0f};
    EXPECT_FLOAT_EQ(B::Marks(some), 10.0f * v);
}

TEST_F(BenchmarkTest, NeedleAnglesAndColours)
{
    const struct {
        float ms, degrees;
    } cases[] = {{1000.0f, -96.9f}, {100.0f, -40.1f}, {10.0f, 33.8f}, {1.0f, 110.2f}};
    for (const auto& c : cases)
        EXPECT_NEAR(B::NeedleTarget(c.ms, 0.0f), c.degrees, 0.05f) << c.ms;
    // No measured time, or a clock set back: the target stays.
    EXPECT_EQ(B::NeedleTarget(0.0f, 12.5f), 12.5f);
    EXPECT_EQ(B::NeedleTarget(-5.0f, 12.5f), 12.5f);
    EXPECT_EQ(B::NeedleTarget(std::nanf(""), -3.0f), -3.0f);

    EXPECT_EQ(B::NeedleColour(-120.0f), QColor(255, 0, 0));
    EXPECT_EQ(B::NeedleColour(-300.0f), QColor(255, 0, 0));
    EXPECT_EQ(B::NeedleColour(0.0f), QColor(255, 255, 0));
    EXPECT_EQ(B::NeedleColour(-60.0f), QColor(255, 127, 0));
    EXPECT_EQ(B::NeedleColour(120.0f), QColor(0, 255, 0));
    EXPECT_EQ(B::NeedleColour(500.0f), QColor(0, 255, 0));
    EXPECT_EQ(B::NeedleColour(std::nanf("")), QColor(255, 0, 0));
}

TEST_F(BenchmarkTest, PhasesPanAndParameters)
{
    const struct {
        double t;
        int phase;
    } cases[] = {{0.0, 0},     {1.0, 1},     {9999.0, 1},  {10000.0, 0}, {15000.0, 2}, {25000.0, 3},
                 {35000.0, 4}, {45000.0, 5}, {50000.0, 0}, {50000.5, 6}, {90000.0, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(B::PhaseAt(c.t), c.phase) << c.t;
    const char* const* names = nullptr;
    EXPECT_EQ(B::PhaseKernels(1, &names), 3);
    EXPECT_STREQ(names[0], "MP_calcPixelPlastics");
    EXPECT_EQ(B::PhaseKernels(5, &names), 1);
    EXPECT_STREQ(names[0], "MP_calcPixelPencilPaint");
    EXPECT_EQ(B::PhaseKernels(6, &names), 2);
    EXPECT_STREQ(names[1], "MP_calcPixelWarp");
    EXPECT_EQ(B::PhaseKernels(0, &names), 0);
    EXPECT_EQ(B::PhaseTargetPan(4, 35000.0), 1536.0f);
    EXPECT_FLOAT_EQ(B::PhaseTargetPan(6, 50000.0), 2047.0f);

    // Pan: at least a pixel a frame, never past the target; no time: one pixel.
    EXPECT_EQ(B::PanStep(0.0f, 512.0f, 0.0f), 1.0f);
    EXPECT_EQ(B::PanStep(0.0f, 512.0f, -5.0f), 1.0f);
    EXPECT_EQ(B::PanStep(600.0f, 512.0f, 0.0f), 599.0f);
    EXPECT_FLOAT_EQ(B::PanStep(0.0f, 512.0f, 10.0f), 25.6f);
    EXPECT_EQ(B::PanStep(0.0f, 512.0f, 1000.0f), 512.0f);
    EXPECT_EQ(B::PanStep(512.0f, 512.0f, 10.0f), 512.0f);

    MP_Params* P = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
    ASSERT_NE(P, nullptr);
    std::fill(&P->p[4][0], &P->p[4][0] + 256, 7.0f);
    const double t = 1234.0;
    B::FillKernelParameters(1, 0, t, P);
    EXPECT_EQ(P->p[0][0], 0.6f);
    EXPECT_EQ(P->p[1][0], 0.85f + 0.15f * std::sin(float(double(0.0017f) * t)));
    EXPECT_EQ(P->p[2][1], 0.5f + 0.5f * std::cos(float(double(0.0009f) * t)));
    EXPECT_EQ(P->p[3][1], 100.0f);
    EXPECT_EQ(P->p[4][255], 0.0f);
    B::FillKernelParameters(4, 2, t, P); // Sharpen of phase 4
    EXPECT_EQ(P->p[0][0], 0.5f);
    EXPECT_EQ(P->p[1][10], 1.0f);
    EXPECT_EQ(P->p[1][8], 0.8f);
    B::FillKernelParameters(5, 0, t, P);
    EXPECT_EQ(P->p[2][4], 0.4f);
    EXPECT_EQ(P->p[2][5], 0.5f + 0.5f * std::sin(float(double(0.0015f) * t)));
    std::free(P);
}

TEST_F(BenchmarkTest, ResourcesHaveTheirSizes)
{
    LumivexInitResources();
    const QImage source(QStringLiteral(":/images/Benchmark1.png"));
    EXPECT_EQ(source.size(), QSize(2560, 512));
    EXPECT_EQ(QImage(QStringLiteral(":/images/Tacho.png")).size(), QSize(63, 63));
}

TEST_F(BenchmarkTest, RunOnARecordedClock)
{
    MP_UI_SetKernelSampleRate(0.6f);
    MP_UI_SetKernelExponent(2.0f);
    MP_UI_SetShowExexcuteKernelOutput(1);
    HDRBenchmarkWindow w(nullptr);
    w.m_pClock = &RecordedClock;
    ASSERT_TRUE(w.HasBuffers());
    g_Clock = 1000.0;
    w.show(); // frame at t = 0: a boundary, no phase
    w.done(0);
    EXPECT_EQ(w.m_pTimer, nullptr);
    for (float c : w.m_fPhaseCount)
        EXPECT_EQ(c, 0.0f);

    const double times[] = {1500.0, 3000.0, 11000.0, 11000.0 + 1e-3};
    for (double t : times) {
        g_Clock = 1000.0 + t;
        w.calcView();
        // Every frame puts the engine settings back.
        EXPECT_EQ(MP_UI_GetKernelSampleRate(), 0.6f);
        EXPECT_EQ(MP_UI_GetKernelExponent(), 2.0f);
        EXPECT_EQ(MP_UI_GetShowExexcuteKernelOutput(), 1);
    }
    EXPECT_EQ(w.m_fPhaseCount[0], 2.0f);
    EXPECT_EQ(w.m_fPhaseCount[1], 2.0f);
    EXPECT_GT(w.m_fPan, 0.0f);
    EXPECT_FALSE(w.m_pView->pixmap().isNull());
    QString html = w.ResultHtml();
    EXPECT_TRUE(html.contains("<b>Strukturbeleuchtung</b><br/>"));
    EXPECT_TRUE(html.contains("<b>Geometrie</b><br/><font color=\"#7f1f00\">"));
    EXPECT_FALSE(html.contains("Details extrahieren"));
    EXPECT_FALSE(html.contains("Ihr Ergebnis"));
    EXPECT_TRUE(html.startsWith("<center><font size=\"4\"><u>"));
    EXPECT_TRUE(html.endsWith("</font></center>"));

    g_Clock = 1000.0 + 60000.0;
    w.calcView();
    html = w.ResultHtml();
    EXPECT_TRUE(html.contains("<b>Ihr Ergebnis</b>"));
    EXPECT_TRUE(html.contains("Marks"));
    EXPECT_EQ(w.m_fPan, w.m_fTargetPan);
    EXPECT_EQ(w.m_pBrowser->toHtml().isEmpty(), false);

    // Reopening starts from zero.
    g_Clock = 200000.0;
    w.show();
    w.done(0);
    EXPECT_EQ(w.m_fPhaseCount[0], 0.0f);
    EXPECT_FALSE(w.ResultHtml().contains("Strukturbeleuchtung"));

    // Without the source picture a frame runs nothing and counts nothing.
    w.m_bSourceValid = false;
    g_Clock = 200000.0 + 2000.0;
    w.calcView();
    EXPECT_EQ(w.m_fPhaseCount[0], 0.0f);
    g_Clock = 0.0;
}

// Renders the window after a few frames under a dark and a light style; with
// LUMIVEX_RENDER_DIR set the pictures are kept there for a look.
TEST_F(BenchmarkTest, RendersUnderDarkAndLightStyles)
{
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    for (const SRenderStyle& s : kRenderStyles) {
        CStyleEngine::instance().SetStyle(s.code, s.colour, true);
        QWidget main;
        CStyleEngine::instance().SetStyleSheetFromCSS(&main);
        HDRBenchmarkWindow w(&main);
        w.m_pClock = &RecordedClock;
        g_Clock = 0.0;
        w.show();
        w.done(0);
        w.show();
        for (double t : {2000.0, 12000.0, 22000.0, 32000.0, 42000.0, 52000.0}) {
            g_Clock = t;
            w.calcView();
        }
        w.m_pView->m_fFrameTime = 25.0f;
        for (int i = 0; i < 60; ++i)
            w.m_pView->grab();
        const QPixmap shot = w.grab();
        EXPECT_FALSE(shot.isNull());
        if (!dir.isEmpty())
            shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/benchmark_%1.png").arg(QLatin1String(s.name)));
        w.done(0);
    }
    g_Clock = 0.0;
}
