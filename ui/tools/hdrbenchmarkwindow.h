#pragma once
// HDRBenchmarkWindow measures how fast the engine's kernels run here: for 50
// seconds five kernel chains (phases of 10 s) run frame after frame on a
// 512 x 512 window of a built-in picture whose parameters change with time;
// every frame is shown under a speedometer needle for its frame time, each
// phase's speed is listed in megapixels per second and at the end a score in
// "Marks". Then an unscored animation runs until the window is closed.

#include "ui/toolkit/hdrdialogs.h"

#include <QColor>
#include <QImage>
#include <QLabel>

#include <cstdint>
#include <memory>

struct MP_Params;
class QTimer;
class QTextBrowser;
class QPushButton;

namespace Benchmark {

constexpr int kSide = 512;
constexpr int kSourceWidth = 2560;
constexpr int kPhases = 5;

// 1..5 inside a phase, 6 after 50 s, 0 on a boundary (or before the start).
int PhaseAt(double elapsedMs);
// The phase's displayed name (source text, context "Benchmark").
const char* PhaseName(int phase);
// Megapixels per second of a phase from its frame count and time sum.
float PhaseSpeed(float count, float sumMs);
// 10 x the sum of the five speeds.
float Marks(const float speeds[kPhases]);
// The needle's target angle for a frame time; frame times at or below 0 (no
// kernel ran, clock set back) keep `previous`.
float NeedleTarget(float frameTimeMs, float previous);
// The needle's colour for a shown angle (red .. yellow .. green).
QColor NeedleColour(float shownAngle);
// One pan step towards the target.
float PanStep(float pan, float target, float frameTimeMs);

// The kernels of a phase, in order (names without the "MP_calcPixel" prefix
// after it), and their parameters at time t into the block.
int PhaseKernels(int phase, const char* const** names);
void FillKernelParameters(int phase, int kernel, double elapsedMs, MP_Params* params);
// The target pan of a phase at time t.
float PhaseTargetPan(int phase, double elapsedMs);

} // namespace Benchmark

class benchmarkQLabel : public QLabel {
    Q_OBJECT
public:
    explicit benchmarkQLabel(QWidget* parent);

    float m_fFrameTime = 1000.0f;
    QImage m_Dial;
    float m_fTargetAngle = -120.0f;
    float m_fShownAngle = -120.0f;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class HDRBenchmarkWindow : public HDRInfoDialog {
    Q_OBJECT
public:
    explicit HDRBenchmarkWindow(QWidget* parent);
    ~HDRBenchmarkWindow() override;

    void SetText();
    // The result HTML for the present accumulators and elapsed time.
    QString ResultHtml() const;
    // Copies the source window at int(pan) into the work buffer (RGB48).
    void CopySourceWindow();
    // Renders the work buffer into the view buffer (RGB32, opaque).
    void RenderView();
    // True when both buffers and a full-size source picture exist.
    bool HasBuffers() const { return m_pWork && m_pViewBuffer && m_bSourceValid; }

    benchmarkQLabel* m_pView = nullptr;
    QTextBrowser* m_pBrowser = nullptr;
    QPushButton* m_pExitButton = nullptr;
    uint16_t* m_pWork = nullptr;
    uint32_t* m_pViewBuffer = nullptr;
    double m_dStart = 0.0;
    double m_dElapsed = 0.0;
    QTimer* m_pTimer = nullptr;
    float m_fInterval = 1.0f;
    float m_fPan = 0.0f;
    float m_fTargetPan = 0.0f;
    QImage m_Source;
    bool m_bSourceValid = false;
    QString m_strResult;
    float m_fPhaseCount[Benchmark::kPhases] = {};
    float m_fPhaseSum[Benchmark::kPhases] = {};

    // The clock (tests replace it).
    double (*m_pClock)() = nullptr;

public slots:
    void exitClicked();
    void done(int result) override;
    void calcView();

protected:
    void showEvent(QShowEvent* event) override;

private:
    double Now() const;
};
