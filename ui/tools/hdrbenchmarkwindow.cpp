#include "ui/tools/hdrbenchmarkwindow.h"

#include "document/kernelrunner.h"
#include "engine/MP_calc.h"
#include "engine/core/tasks.h"
#include "engine/views/preview.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/resourceinit.h"

#include <QBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// S(a, b, f) and C(a, b, f) at time t: f x t rounded to float first.
float S(float a, float b, float f, double t) { return a + b * std::sin(float(double(f) * t)); }
float C(float a, float b, float f, double t) { return a + b * std::cos(float(double(f) * t)); }

void curve(float* p)
{
    static const float k[12] = {0.0f, 1.0f, 0.2f, 1.0f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 1.0f, 1.0f, 1.0f};
    std::memcpy(p, k, sizeof(k));
}
void range(float* p)
{
    p[0] = 0.0f;
    p[1] = 100.0f;
}
void clear(float* p) { std::memset(p, 0, sizeof(float) * MP_MAX_PARAMETERSETS); }

const char* const kPhase1[] = {"MP_calcPixelPlastics", "MP_calcPixelColorIntensity", "MP_calcPixelSharpen"};
const char* const kPhase2[] = {"MP_calcPixelRotate", "MP_calcPixelLensCorrection"};
const char* const kPhase3[] = {"MP_calcPixelLocalContrast", "MP_calcPixelColorContrast", "MP_calcPixelSharpen"};
const char* const kPhase4[] = {"MP_calcPixelColorIntensity", "MP_calcPixelHueShift", "MP_calcPixelSharpen"};
const char* const kPhase5[] = {"MP_calcPixelPencilPaint"};
const char* const kAfter[] = {"MP_calcPixelRotate", "MP_calcPixelWarp"};

QString trB(const char* text) { return QCoreApplication::translate("Benchmark", text); }
QString trP(const char* text) { return QCoreApplication::translate("Program", text); }

} // namespace

// ---- Pure parts ---------------------------------------------------------------------------

int Benchmark::PhaseAt(double t)
{
    if (t > 50000.0)
        return 6;
    for (int k = 1; k <= kPhases; ++k)
        if (t > (k - 1) * 10000.0 && t < k * 10000.0)
            return k;
    return 0;
}

const char* Benchmark::PhaseName(int phase)
{
    static const char* const names[kPhases] = {QT_TRANSLATE_NOOP("Benchmark", "Strukturbeleuchtung"),
                                               QT_TRANSLATE_NOOP("Benchmark", "Geometrie"),
                                               QT_TRANSLATE_NOOP("Benchmark", "Details extrahieren"),
                                               QT_TRANSLATE_NOOP("Benchmark", "Farbtöne"),
                                               QT_TRANSLATE_NOOP("Benchmark", "Skizze")};
    return phase >= 1 && phase <= kPhases ? names[phase - 1] : "";
}

float Benchmark::PhaseSpeed(float count, float sumMs)
{
    if (!(count > 0.0f))
        return 0.0f;
    return 2000.0f / (sumMs / count + 0.001f) * 512.0f * 512.0f / 1000000.0f;
}

float Benchmark::Marks(const float speeds[kPhases])
{
    float sum = 0.0f;
    for (int k = 0; k < kPhases; ++k)
        sum += speeds[k];
    return 10.0f * sum;
}

float Benchmark::NeedleTarget(float frameTimeMs, float previous)
{
    if (!(frameTimeMs > 0.0f) || !std::isfinite(frameTimeMs))
        return previous;
    return 10.0f * (std::log(1000.0f / frameTimeMs + 1.0f) / std::log(1.35f)) - 120.0f;
}

QColor Benchmark::NeedleColour(float shown)
{
    static const int stops[3][3] = {{255, 0, 0}, {255, 255, 0}, {0, 255, 0}};
    float h = (120.0f + shown) / 240.0f * 2.0f;
    if (!std::isfinite(h))
        h = 0.0f;
    h = std::clamp(h, 0.0f, 2.0f);
    float c[3];
    if (h > 1.9999f) {
        for (int i = 0; i < 3; ++i)
            c[i] = 0.0001f * float(stops[1][i]) + 0.9999f * float(stops[2][i]);
    } else {
        const int k = int(h);
        const float f = h - float(k);
        for (int i = 0; i < 3; ++i)
            c[i] = (1.0f - f) * float(stops[k][i]) + f * float(stops[k + 1][i]);
    }
    return QColor(int(c[0]), int(c[1]), int(c[2]), 255);
}

float Benchmark::PanStep(float pan, float target, float frameTimeMs)
{
    float e = (target - pan) * 0.005f * frameTimeMs;
    if (!(frameTimeMs > 0.0f) || !std::isfinite(e)) // no time measured: the smallest step
        e = target > pan ? 1.0f : (target < pan ? -1.0f : 0.0f);
    if (e > 0.0f)
        return std::min(target, pan + std::max(e, 1.0f));
    if (e < 0.0f)
        return std::max(target, pan + std::min(e, -1.0f));
    return pan;
}

int Benchmark::PhaseKernels(int phase, const char* const** names)
{
    switch (phase) {
    case 1: *names = kPhase1; return 3;
    case 2: *names = kPhase2; return 2;
    case 3: *names = kPhase3; return 3;
    case 4: *names = kPhase4; return 3;
    case 5: *names = kPhase5; return 1;
    case 6: *names = kAfter; return 2;
    default: *names = nullptr; return 0;
    }
}

float Benchmark::PhaseTargetPan(int phase, double t)
{
    if (phase >= 1 && phase <= kPhases)
        return float((phase - 1) * 512);
    if (phase == 6)
        return 2047.0f * (0.5f + 0.5f * std::cos(float((t - 50000.0) * 0.000057)));
    return 0.0f;
}

void Benchmark::FillKernelParameters(int phase, int kernel, double t, MP_Params* P)
{
    auto p = [P](int k) { return P->p[k]; };
    const char* const* names = nullptr;
    const int n = PhaseKernels(phase, &names);
    if (kernel < 0 || kernel >= n)
        return;
    const QByteArray name = QByteArray(names[kernel]).mid(int(std::strlen("MP_calcPixel")));
    if (name == "Plastics") {
        p(0)[0] = 0.6f;
        p(1)[0] = S(0.85f, 0.15f, 0.0017f, t);
        p(2)[0] = S(0.5f, 0.5f, 0.0009f, t);
        p(2)[1] = C(0.5f, 0.5f, 0.0009f, t);
        p(3)[0] = 0.0f;
        p(3)[1] = 100.0f;
        clear(p(4));
    } else if (name == "ColorIntensity") {
        p(0)[0] = phase == 1 ? S(0.5f, 0.2f, 0.0015f, t) : S(0.5f, 0.25f, 0.0029f, t);
        curve(p(1));
        range(p(2));
        clear(p(3));
    } else if (name == "Sharpen") {
        p(0)[0] = phase == 4 ? 0.5f : 0.75f;
        curve(p(1));
        range(p(2));
        clear(p(3));
    } else if (name == "Rotate" && phase == 2) {
        p(0)[0] = S(0.5f, 0.05f, 0.0017f, t);
        p(1)[0] = S(0.5f, 0.15f, 0.0025f, t);
        p(2)[0] = S(0.1f, 0.1f, 0.0011f, t);
        p(3)[0] = p(3)[1] = 0.5f;
        range(p(4));
        clear(p(5));
    } else if (name == "Rotate") {
        p(0)[0] = 0.5f;
        p(1)[0] = S(0.5f, 0.05f, 0.00031f, t);
        p(2)[0] = S(0.3f, 0.1f, 0.00043f, t);
        p(3)[0] = p(3)[1] = 0.5f;
        range(p(4));
        clear(p(5));
    } else if (name == "LensCorrection") {
        p(0)[0] = S(0.45f, 0.25f, 0.0029f, t);
        p(1)[0] = p(1)[1] = 0.5f;
        range(p(2));
        clear(p(3));
    } else if (name == "LocalContrast") {
        p(0)[0] = 0.1f;
        p(1)[0] = S(0.5f, 0.5f, 0.0037f, t);
        curve(p(2));
        range(p(3));
        clear(p(4));
    } else if (name == "ColorContrast") {
        p(0)[0] = 0.25f;
        p(1)[0] = S(0.5f, 0.5f, 0.0025f, t);
        curve(p(2));
        range(p(3));
        clear(p(4));
    } else if (name == "HueShift") {
        const float f[6] = {0.0011f, 0.0012f, 0.0013f, 0.0014f, 0.0015f, 0.0016f};
        for (int k = 0; k < 6; ++k)
            p(k)[0] = S(0.5f, 0.35f, f[k], t);
        range(p(6));
        clear(p(7));
    } else if (name == "PencilPaint") {
        p(0)[0] = 0.75f;
        p(1)[0] = S(0.5f, 0.25f, 0.0027f, t);
        const float x[6] = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
        const float f[6] = {0.0011f, 0.0013f, 0.0015f, 0.0017f, 0.0019f, 0.0021f};
        for (int k = 0; k < 6; ++k) {
            p(2)[2 * k] = x[k];
            p(2)[2 * k + 1] = S(0.5f, 0.5f, f[k], t);
        }
        range(p(3));
        clear(p(4));
    } else if (name == "Warp") {
        p(0)[0] = 0.4f;
        p(1)[0] = 0.9f;
        p(2)[0] = S(0.5f, 0.35f, 0.00051f, t);
        p(2)[1] = C(0.5f, 0.35f, 0.00063f, t);
        curve(p(3));
        range(p(4));
        clear(p(5));
    }
}

// ---- The speedometer ------------------------------------------------------------------------

benchmarkQLabel::benchmarkQLabel(QWidget* parent) : QLabel(parent)
{
    LumivexInitResources();
    m_Dial = QImage(QStringLiteral(":/images/Tacho.png"));
    setMouseTracking(false);
}

void benchmarkQLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QPixmap picture = pixmap();
    if (!picture.isNull())
        painter.drawPixmap(QRect(0, 0, width(), height()), picture, picture.rect());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawImage(4, 4, m_Dial);

    m_fTargetAngle = Benchmark::NeedleTarget(m_fFrameTime, m_fTargetAngle);
    m_fShownAngle = m_fShownAngle + (m_fTargetAngle - m_fShownAngle) * 0.075f;
    if (!std::isfinite(m_fShownAngle))
        m_fShownAngle = -120.0f;

    painter.setPen(QPen(QColor(16, 16, 16), 1, Qt::SolidLine));
    painter.setBrush(Benchmark::NeedleColour(m_fShownAngle));
    painter.translate(m_Dial.width() / 2 + 4, m_Dial.height() / 2 + 4);
    painter.rotate(m_fShownAngle);
    const QPoint needle[4] = {QPoint(0, -26), QPoint(-5, 10), QPoint(0, 5), QPoint(5, 10)};
    painter.drawPolygon(needle, 4);
}

// ---- The window -----------------------------------------------------------------------------

HDRBenchmarkWindow::HDRBenchmarkWindow(QWidget* parent) : HDRInfoDialog(parent)
{
    LumivexInitResources();
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol")));
    setWindowTitle(tr("Benchmark Window Title"));

    auto* column = new QVBoxLayout();
    column->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_pMainLayout->addLayout(column);
    auto* row = new QHBoxLayout();
    column->addLayout(row);
    m_pView = new benchmarkQLabel(this);
    m_pView->setFixedSize(Benchmark::kSide, Benchmark::kSide);
    m_pView->setScaledContents(true);
    row->addWidget(m_pView);
    auto* browser = new _QTextBrowser(this);
    browser->setFixedSize(400, 512);
    browser->setReadOnly(true);
    browser->setOpenExternalLinks(true);
    browser->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pBrowser = browser;
    row->addWidget(m_pBrowser);
    m_pExitButton = new QPushButton(tr("Benchmark Exit"), this);
    m_pExitButton->setFixedSize(106, 34);
    m_pExitButton->setToolTip(_gui::HtmlToolTip(tr("tooltip BenchnarkWindow verlassen")));
    column->addWidget(m_pExitButton, 0, Qt::AlignRight | Qt::AlignBottom);
    connect(m_pExitButton, &QPushButton::clicked, this, &HDRBenchmarkWindow::exitClicked);

    const size_t pixels = size_t(Benchmark::kSide) * size_t(Benchmark::kSide);
    m_pWork = static_cast<uint16_t*>(std::calloc(pixels * 3, sizeof(uint16_t)));
    m_pViewBuffer = static_cast<uint32_t*>(std::calloc(pixels, sizeof(uint32_t)));
    m_Source = QImage(QStringLiteral(":/images/Benchmark1.png")).convertToFormat(QImage::Format_RGB32);
    m_bSourceValid = m_Source.width() >= Benchmark::kSourceWidth && m_Source.height() >= Benchmark::kSide;
    m_strResult.clear();
}

HDRBenchmarkWindow::~HDRBenchmarkWindow()
{
    m_pView->clear(); // its pixmap may still refer to the view buffer
    std::free(m_pWork);
    std::free(m_pViewBuffer);
}

double HDRBenchmarkWindow::Now() const { return m_pClock ? m_pClock() : MP_UI_GetActualTime(); }

void HDRBenchmarkWindow::showEvent(QShowEvent* event)
{
    m_dStart = Now();
    m_dElapsed = 0.0;
    std::fill(std::begin(m_fPhaseCount), std::end(m_fPhaseCount), 0.0f);
    std::fill(std::begin(m_fPhaseSum), std::end(m_fPhaseSum), 0.0f);
    m_fPan = m_fTargetPan = 0.0f;
    calcView();
    SetText();
    m_fInterval = 1.0f;
    delete m_pTimer;
    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &HDRBenchmarkWindow::calcView);
    m_pTimer->start(int(m_fInterval));
    QDialog::showEvent(event);
}

void HDRBenchmarkWindow::done(int result)
{
    if (m_pTimer) {
        m_pTimer->stop();
        delete m_pTimer;
        m_pTimer = nullptr;
    }
    QDialog::done(result);
}

void HDRBenchmarkWindow::exitClicked()
{
    m_pView->m_fTargetAngle = -120.0f;
    m_pView->m_fShownAngle = -120.0f;
    close();
}

namespace {

struct SFrameRows {
    const QImage* source;
    int left;
    uint16_t* work;
    uint32_t* view;
};

// Rows of the source window as RGB48 (each 8-bit value c becomes c x 256).
void copyRows(TaskFuncParams t)
{
    const SFrameRows* a = MP_taskArgs<SFrameRows>(t);
    for (int y = MP_taskStart(t), end = MP_taskEnd(t); y < end; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(a->source->constScanLine(y)) + a->left;
        uint16_t* dst = a->work + size_t(y) * Benchmark::kSide * 3;
        for (int x = 0; x < Benchmark::kSide; ++x) {
            const QRgb c = src[x];
            dst[3 * x] = uint16_t(qRed(c) << 8);
            dst[3 * x + 1] = uint16_t(qGreen(c) << 8);
            dst[3 * x + 2] = uint16_t(qBlue(c) << 8);
        }
    }
}

// Rows of the view, one to one, through the engine's colour view.
void viewRows(TaskFuncParams t)
{
    const SFrameRows* a = MP_taskArgs<SFrameRows>(t);
    const int start = MP_taskStart(t);
    const float rows = float(MP_taskEnd(t) - start);
    const float side = float(Benchmark::kSide);
    MP_UI_previewColorSimple(a->work + size_t(start) * Benchmark::kSide * 3, a->view + size_t(start) * Benchmark::kSide,
                             side, rows, side, side, rows, 0.0f, 0.0f, side, rows);
}

TaskFuncParams allRows(const SFrameRows* rows)
{
    TaskFuncParams t = MP_makeTask(nullptr, rows);
    MP_setTaskRange(t, 0, Benchmark::kSide);
    return t;
}

} // namespace

void HDRBenchmarkWindow::CopySourceWindow()
{
    if (!HasBuffers())
        return;
    const SFrameRows rows{&m_Source, std::clamp(int(m_fPan), 0, Benchmark::kSourceWidth - Benchmark::kSide), m_pWork,
                          m_pViewBuffer};
    // One thread: banding this small a picture costs more than it saves.
    copyRows(allRows(&rows));
}

void HDRBenchmarkWindow::RenderView()
{
    if (!HasBuffers())
        return;
    const SFrameRows rows{&m_Source, 0, m_pWork, m_pViewBuffer};
    viewRows(allRows(&rows));
}

void HDRBenchmarkWindow::calcView()
{
    const float rate = MP_UI_GetKernelSampleRate();
    const float exponent = MP_UI_GetKernelExponent();
    const int timing = MP_UI_GetShowExexcuteKernelOutput();
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetKernelExponent(3.5f);
    MP_UI_SetShowExexcuteKernelOutput(0);

    CopySourceWindow();
    m_dElapsed = Now() - m_dStart;
    float frameTime = 0.0f;
    const int phase = Benchmark::PhaseAt(m_dElapsed);
    // The engine runs one operation at a time: while another one runs the
    // frame only shows the picture.
    const bool ran = HasBuffers() && !CEngineGuard::IsBusy();
    if (ran) {
        const double t0 = Now();
        {
            CEngineGuard guard;
            MP_Params* P = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
            if (P) {
                P->loopstep = MP_UI_GetLoopstep();
                MP_UI_GetLuminanzConvRGB(&P->lumr, &P->lumg, &P->lumb);
                P->lummin = 0.1f;
                P->lummax = 0.9f;
                P->previewscalingfactor = 1.0f;
                P->kernel_exponent = MP_UI_GetKernelExponent();
                if (phase >= 1) {
                    m_fTargetPan = Benchmark::PhaseTargetPan(phase, m_dElapsed);
                    if (phase == 6)
                        m_fPan = m_fTargetPan;
                    const char* const* names = nullptr;
                    const int n = Benchmark::PhaseKernels(phase, &names);
                    for (int k = 0; k < n; ++k) {
                        Benchmark::FillKernelParameters(phase, k, m_dElapsed, P);
                        CKernelRunner::Run(names[k], Benchmark::kSide, Benchmark::kSide,
                                           reinterpret_cast<float*>(m_pWork), reinterpret_cast<float*>(m_pWork), 6,
                                           6, P, -1, 0.0f, 0.0f, k == 0, k == n - 1);
                    }
                }
                std::free(P);
            }
        }
        frameTime = float(Now() - t0);

        RenderView();
        // Every pixel is opaque: RGB32 needs no conversion on its way to a pixmap.
        QImage image(reinterpret_cast<uchar*>(m_pViewBuffer), Benchmark::kSide, Benchmark::kSide,
                     Benchmark::kSide * 4, QImage::Format_RGB32);
        HDRPixmapCreator creator(&image);
        m_pView->setPixmap(creator.m_Pixmap);

        if (phase >= 1 && phase <= Benchmark::kPhases) {
            m_fPhaseCount[phase - 1] += 1.0f;
            m_fPhaseSum[phase - 1] += frameTime;
        }
        m_pView->m_fFrameTime = frameTime;
    }
    m_fPan = Benchmark::PanStep(m_fPan, m_fTargetPan, frameTime);
    SetText();
    MP_UI_SetShowExexcuteKernelOutput(timing);
    MP_UI_SetKernelSampleRate(rate);
    MP_UI_SetKernelExponent(exponent);
    m_pView->update();
}

QString HDRBenchmarkWindow::ResultHtml() const
{
    QString html;
    html += QStringLiteral("<center><font size=\"4\"><u>");
    html += trP(QT_TRANSLATE_NOOP("Program", "VERSION_NAME LUMIVEX")) + QLatin1Char(' ') + trP(QT_TRANSLATE_NOOP("Program", "LUMIVEX VERSION_PRO")) + QStringLiteral(" - ") +
            QStringLiteral("V1.14.02132");
    html += QStringLiteral("</u><br/><br/></font>");
    html += QStringLiteral("<font size=\"6\">") + trB(QT_TRANSLATE_NOOP("Benchmark", "Benchmark")) + QStringLiteral("<br/><br/></font>");
    html += QStringLiteral("<font size=\"4\">");
    float speeds[Benchmark::kPhases];
    for (int k = 0; k < Benchmark::kPhases; ++k) {
        speeds[k] = Benchmark::PhaseSpeed(m_fPhaseCount[k], m_fPhaseSum[k]);
        if (!(m_fPhaseCount[k] > 0.0f))
            continue;
        html += QStringLiteral("<b>") + trB(Benchmark::PhaseName(k + 1)) + QStringLiteral("</b><br/>");
        const bool current = m_dElapsed >= k * 10000.0 && m_dElapsed < (k + 1) * 10000.0;
        if (current)
            html += QStringLiteral("<font color=\"#7f1f00\">");
        html += QString::asprintf("%6.2f ", double(speeds[k])) +
                QCoreApplication::translate("Statistic", "Megapixel/Sekunde") + QStringLiteral("<br/>");
        if (current)
            html += QStringLiteral("</font>");
        html += QStringLiteral("<br/>");
    }
    html += QStringLiteral("</font>");
    if (m_dElapsed > 50000.0) {
        html += QStringLiteral("<br/><font size=\"5\"><b>") + trB(QT_TRANSLATE_NOOP("Benchmark", "Ihr Ergebnis")) + QStringLiteral("</b><br/>");
        html += QString::asprintf("%6.0f ", double(Benchmark::Marks(speeds))) + QLatin1Char(' ') +
                trP(QT_TRANSLATE_NOOP("Program", "VERSION_NAME LUMIVEX")) + QLatin1Char('-') + trB(QT_TRANSLATE_NOOP("Benchmark", "Marks")) + QStringLiteral("<br/>");
    }
    html += QStringLiteral("</font></center>");
    return html;
}

void HDRBenchmarkWindow::SetText()
{
    m_strResult = ResultHtml();
    m_pBrowser->setHtml(m_strResult);
}
