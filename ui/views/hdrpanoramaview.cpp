#include "ui/views/hdrpanoramaview.h"

#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/views/viewhost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {
constexpr float kPitchLimit = 1.5707963f;
constexpr float kPi = 3.14159265358979f;
} // namespace

// ---- scroll area and label ----------------------------------------------------------

void panoviewQScrollArea::mousePressEvent(QMouseEvent* event)
{
    m_ptPress = event->position().toPoint();
    QScrollArea::mousePressEvent(event);
}

void panoviewQScrollArea::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton) {
        const QPoint p = event->position().toPoint();
        emit cursorDrag(m_ptPress.x() - p.x(), m_ptPress.y() - p.y());
    }
    QScrollArea::mouseMoveEvent(event);
}

void panoviewQScrollArea::wheelEvent(QWheelEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        emit wheelZoom(event->angleDelta().y());
    event->accept();
}

void panoviewQLabel::paintEvent(QPaintEvent*)
{
    const QPixmap pm = pixmap();
    if (pm.isNull())
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(rect(), pm);
}

// ---- dialog -------------------------------------------------------------------------

QSize HDRPanoramaView::CalcViewSize(const QSize& screen)
{
    float f = 0.8f;
    int w = 16, h = 16;
    for (int i = 0; i < 15; ++i) {
        const float widthF = f * static_cast<float>(screen.width());
        w = static_cast<int>(widthF) & ~15;
        h = static_cast<int>(widthF * 0.5f) & ~15;
        if (h < screen.height())
            break;
        f -= 0.05f;
    }
    // A screen too small for any view still gets one block.
    return QSize(w > 16 ? w : 16, h > 16 ? h : 16);
}

QString HDRPanoramaView::SettingsPath() { return lumivex::platform::userSettingsFolder() + QStringLiteral("panorama.ini"); }

HDRPanoramaView::HDRPanoramaView(QWidget* parent) : HDRInfoDialog(parent)
{
    setObjectName(QStringLiteral("panorama_window"));
    m_fTimerInterval = 1.0f;
    m_bMouseVertikalInvert = false;
    m_bMouseHorizontalInvert = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize view = CalcViewSize(screen ? screen->geometry().size() : QSize(1440, 900));
    m_iViewWidth = view.width();
    m_iViewHeight = view.height();
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol"), QIcon()));
    setWindowTitle(tr("Panorama Viewer"));

    auto* column = new QVBoxLayout;
    column->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    GetMainLayout()->addLayout(column);

    m_pScrollArea = new panoviewQScrollArea(this);
    column->addWidget(m_pScrollArea);
    m_pScrollArea->setAlignment(Qt::AlignCenter);
    m_pScrollArea->setCursor(HDRCursor::DragDirection);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->setFixedSize(m_iViewWidth, m_iViewHeight);
    m_pScrollArea->setMouseTracking(true);
    connect(m_pScrollArea, &panoviewQScrollArea::wheelZoom, this, &HDRPanoramaView::wheelZoom);
    connect(m_pScrollArea, &panoviewQScrollArea::cursorDrag, this, &HDRPanoramaView::cursorDrag);

    m_pViewLabel = new panoviewQLabel(m_pScrollArea);
    m_pViewLabel->setMouseTracking(false);
    m_pViewLabel->m_fLastRenderTime = 1000.0f;
    m_pScrollArea->setWidget(m_pViewLabel);
    m_pViewLabel->setScaledContents(true);
    m_pViewLabel->setFixedSize(m_iViewWidth, m_iViewHeight);

    auto* row = new QHBoxLayout;
    column->addLayout(row);
    auto makeButton = [&](const QString& text, const char* icon, int width, Qt::Alignment align, bool checkable,
                          const QString& tip) {
        auto* b = new QPushButton(text, this);
        if (icon)
            b->setIcon(QIcon::fromTheme(QLatin1String(icon), QIcon()));
        b->setFixedSize(width, 34);
        b->setCheckable(checkable);
        b->setToolTip(_gui::HtmlToolTip(tip));
        row->addWidget(b, 0, align | Qt::AlignBottom);
        return b;
    };
    m_pResetButton = makeButton(tr("Panorama Reset"), nullptr, 106, Qt::AlignLeft, false,
                                tr("tooltip Panoramaview reset"));
    m_pVertikalInvertButton = makeButton(QString(), "MouseInvertVertikal", 34, Qt::AlignRight, true,
                                         tr("tooltip Panoramaview MouseVertikalInvert"));
    m_pHorizontalInvertButton = makeButton(QString(), "MouseInvertHorizontal", 34, Qt::AlignLeft, true,
                                           tr("tooltip Panoramaview MouseHorizontalInvert"));
    m_pAutoButton = makeButton(tr("Panorama Automatic"), nullptr, 106, Qt::AlignLeft, true,
                               tr("tooltip Panoramaview automatic"));
    m_pExitButton = makeButton(tr("Panorama Exit"), nullptr, 106, Qt::AlignRight, false,
                               tr("tooltip Panoramaview verlassen"));
    connect(m_pResetButton, &QPushButton::clicked, this, &HDRPanoramaView::resetClicked);
    connect(m_pVertikalInvertButton, &QPushButton::clicked, this, &HDRPanoramaView::mouseVertikalInvertClicked);
    connect(m_pHorizontalInvertButton, &QPushButton::clicked, this, &HDRPanoramaView::mouseHorizontalInvertClicked);
    connect(m_pAutoButton, &QPushButton::clicked, this, &HDRPanoramaView::autoClicked);
    connect(m_pExitButton, &QPushButton::clicked, this, &HDRPanoramaView::exitClicked);

    resetClicked();
    m_iTourCounter = 0;
}

bool HDRPanoramaView::IsIdle() const
{
    return std::fabs(m_fZoom - m_fZoomTarget) < 0.01f && std::fabs(m_fYawSpeed) < 0.0001f &&
           std::fabs(m_fPitchSpeed) < 0.0001f && !m_bForceRedraw && !m_bAutoTour;
}

void HDRPanoramaView::calcView()
{
    // Nothing moves: the picture stays and no render is asked for.
    if (IsIdle())
        return;
    m_Gate.Run([this] { Tick(); });
}

void HDRPanoramaView::Tick()
{
    const double t0 = MP_UI_GetActualTime();
    const float I = m_fTimerInterval;
    const float z0 = m_fZoom;
    if (IsIdle()) // also after a deferred request
        return;
    m_fYaw += m_fYawSpeed * I / 30.0f;
    m_fPitch += m_fPitchSpeed * I / 30.0f;
    if (m_fPitch <= -kPitchLimit) {
        m_fPitch = -kPitchLimit;
        m_fPitchSpeed = 0.0f;
    } else if (m_fPitch >= kPitchLimit) {
        m_fPitch = kPitchLimit;
        m_fPitchSpeed = 0.0f;
    }
    if (m_bAutoTour) {
        m_iTourCounter += 4;
        const float n = static_cast<float>(m_iTourCounter);
        m_fYaw = static_cast<float>(kPi * std::sin(static_cast<double>(1.3f * n * 0.000473f * I / 30.0f)) +
                                    0.7721f * kPi * std::cos(static_cast<double>(1.3f * n * 0.000179f * I / 30.0f)));
        m_fPitch = static_cast<float>(0.12 * std::cos(static_cast<double>(1.2f * n * 0.0037f * I / 30.0f)) +
                                      0.12 * std::sin(static_cast<double>(1.2f * n * 0.0017f * I / 30.0f)));
    } else {
        const float g = 1.0f - 0.05f * I / 30.0f;
        m_fYawSpeed *= g;
        m_fPitchSpeed *= g;
    }
    m_fZoom = z0 + (m_fZoomTarget - z0) * 0.1f * I / 30.0f;

    IViewHost* host = ViewSeams::Host();
    int w = 0, h = 0;
    const unsigned short* src = host ? host->GetActualResultBuffer(&w, &h) : nullptr;
    const size_t bytes = static_cast<size_t>(m_iViewWidth) * static_cast<size_t>(m_iViewHeight) * 4;
    auto* view = src && w > 0 && h > 0 ? static_cast<unsigned int*>(MP_UpdateBuffer(bytes)) : nullptr;
    if (view) {
        MP_MT_CalcPanoramaView(m_iViewWidth, m_iViewHeight, m_iViewWidth, w, h, src, m_fYaw, m_fPitch, m_fZoom, view);
        m_pViewLabel->setPixmap(ViewPixmap(view, m_iViewWidth, m_iViewHeight));
    }
    m_pViewLabel->m_fLastRenderTime = static_cast<float>(MP_UI_CalcTimeDifference(t0));
    m_bForceRedraw = false;
}

void HDRPanoramaView::StopTour()
{
    m_bAutoTour = false;
    m_pAutoButton->setChecked(false);
}

void HDRPanoramaView::resetClicked()
{
    m_bForceRedraw = true;
    m_fYaw = -1.57f;
    m_fPitch = 0.0f;
    m_fYawSpeed = 0.003f;
    m_fPitchSpeed = 0.0f;
    m_fZoom = 1.3f;
    m_fZoomTarget = 1.0f;
    StopTour();
}

void HDRPanoramaView::mouseVertikalInvertClicked()
{
    m_bMouseVertikalInvert = m_pVertikalInvertButton->isChecked();
    MouseInvertToSettings();
}

void HDRPanoramaView::mouseHorizontalInvertClicked()
{
    m_bMouseHorizontalInvert = m_pHorizontalInvertButton->isChecked();
    MouseInvertToSettings();
}

void HDRPanoramaView::autoClicked()
{
    if (m_pAutoButton->isChecked()) {
        m_bAutoTour = true;
        m_fYawSpeed = 0.0f;
        m_fPitchSpeed = 0.0f;
        m_fZoomTarget = 1.0f;
    } else {
        m_bAutoTour = false;
    }
}

void HDRPanoramaView::exitClicked() { close(); }

void HDRPanoramaView::wheelZoom(qint32 delta)
{
    float target = (static_cast<float>(delta) * 0.004f + 1.0f) * m_fZoom;
    if (!(target >= 1.0f / 3.0f)) // also not-a-number
        target = 1.0f / 3.0f;
    if (target > 10.0f)
        target = 10.0f;
    m_fZoomTarget = target;
    StopTour();
}

void HDRPanoramaView::cursorDrag(qint32 dx, qint32 dy)
{
    const float s = std::sqrt(m_fZoom);
    m_fYawSpeed = static_cast<float>(dx) / (m_bMouseHorizontalInvert ? -15000.0f : 15000.0f) / s * 2.0f;
    m_fPitchSpeed = static_cast<float>(dy) / (m_bMouseVertikalInvert ? 7500.0f : -7500.0f) / s * 2.0f;
    StopTour();
}

void HDRPanoramaView::showEvent(QShowEvent* event)
{
    m_bForceRedraw = true;
    calcView();
    m_fTimerInterval = 1.5f * m_pViewLabel->m_fLastRenderTime + 1.0f;
    // One timer, also when the dialog is shown again after being minimised.
    delete m_pTimer;
    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &HDRPanoramaView::calcView);
    m_pTimer->start(static_cast<int>(m_fTimerInterval));
    MouseInvertFromSettings();
    QDialog::showEvent(event);
}

void HDRPanoramaView::done(int result)
{
    delete m_pTimer;
    m_pTimer = nullptr;
    QDialog::done(result);
}

void HDRPanoramaView::MouseInvertFromSettings()
{
    if (!QFile::exists(SettingsPath()))
        return;
    QSettings ini(SettingsPath(), QSettings::IniFormat);
    m_bMouseVertikalInvert = ini.value(QStringLiteral("mousevertikalinvert"), false).toBool();
    m_bMouseHorizontalInvert = ini.value(QStringLiteral("mousehorizontalinvert"), false).toBool();
    m_pVertikalInvertButton->setChecked(m_bMouseVertikalInvert);
    m_pHorizontalInvertButton->setChecked(m_bMouseHorizontalInvert);
}

void HDRPanoramaView::MouseInvertToSettings()
{
    lumivex::platform::ensureFolder(lumivex::platform::userSettingsFolder());
    QSettings ini(SettingsPath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("mousevertikalinvert"), m_bMouseVertikalInvert);
    ini.setValue(QStringLiteral("mousehorizontalinvert"), m_bMouseHorizontalInvert);
    ini.sync();
    if (ini.status() != QSettings::NoError) {
        HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"),
                          tr("Die Einstellungen konnten nicht gespeichert werden: %1")
                              .arg(QDir::toNativeSeparators(SettingsPath())),
                          QString(), tr("Ok"));
        box.exec();
    }
}
