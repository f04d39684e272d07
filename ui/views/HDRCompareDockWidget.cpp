#include "ui/views/HDRCompareDockWidget.h"

#include "engine/MP_calc.h"
#include "ui/views/luminancelabel.h"
#include "ui/views/viewhost.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <algorithm>
#include <cfloat>
#include <cmath>

const char* const pcCOMPARE_WINDOW_CHECKED_ID = "comparewindowact/checked";

namespace {

QColor lineColour(int variant) { return QColor::fromRgb(static_cast<QRgb>(MP_UI_GetLineColor(variant))); }

bool isDiagonal(CCompareDivider::EOrientation o)
{
    return o == CCompareDivider::eO_DIAGONAL1 || o == CCompareDivider::eO_DIAGONAL2;
}

QPushButton* squareButton(QWidget* parent, const char* icon)
{
    auto* b = new QPushButton(parent);
    b->setFixedSize(30, 30);
    if (icon)
        b->setIcon(QIcon::fromTheme(QLatin1String(icon), QIcon()));
    return b;
}

QSpacerItem* expandingSpacer()
{
    return new QSpacerItem(_gui::AdjustWidth(0), 1, QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
}

} // namespace

// ---- divider ---------------------------------------------------------------------

void CCompareDivider::Reset()
{
    m_bHover = false;
    m_bActive = false;
    m_eOrientation = eO_NONE;
    m_ptGrabOffset = QPoint(0, 0);
    m_fPosition = 0.0f;
    m_rcFrame = _hlp::SRangedRect<int>();
}

void CCompareDivider::SetOrientation(EOrientation orientation)
{
    m_eOrientation = orientation;
    m_fPosition = 0.5f;
}

void CCompareDivider::SetImageFrame(const _hlp::SRangedRect<int>& rect)
{
    m_rcFrame = _hlp::SRangedRect<int>();
    if (rect.Width() <= 9 || rect.Height() <= 9)
        return;
    _hlp::SRangedRect<int> f;
    f.CopyRange(rect);
    f.Set(rect.Left(), rect.Top(), rect.Right() - 1, rect.Bottom() - 1);
    f.InheritRange();
    m_rcFrame = f;
}

bool CCompareDivider::IsAvailable() const { return !m_rcFrame.IsEmpty(); }

float CCompareDivider::GetDividerRailLen() const
{
    if (!IsAvailable())
        return 0.0f;
    const float W = static_cast<float>(m_rcFrame.Width()), H = static_cast<float>(m_rcFrame.Height());
    switch (m_eOrientation) {
    case eO_VERTICAL:
        return W;
    case eO_HORIZONTAL:
        return H;
    case eO_DIAGONAL1:
    case eO_DIAGONAL2:
        return (W > 0.0f && H > 0.0f) ? 2.0f * W * H / std::sqrt(W * W + H * H) : 0.0f;
    default:
        return 0.0f;
    }
}

QLineF CCompareDivider::GetDividerBase() const
{
    if (!IsAvailable())
        return QLineF();
    const float L = static_cast<float>(m_rcFrame.Left()), T = static_cast<float>(m_rcFrame.Top());
    const float R = static_cast<float>(m_rcFrame.Right()), B = static_cast<float>(m_rcFrame.Bottom());
    const float W = R - L, H = B - T;
    switch (m_eOrientation) {
    case eO_VERTICAL:
        return QLineF(L + 0.5f * W, T, L + 0.5f * W, B);
    case eO_HORIZONTAL:
        return QLineF(L, T + 0.5f * H, R, T + 0.5f * H);
    case eO_DIAGONAL1:
        return QLineF(R, T, L, B);
    case eO_DIAGONAL2:
        return QLineF(L, T, R, B);
    default:
        return QLineF();
    }
}

QLine CCompareDivider::GetDividerPoints() const
{
    if (!IsAvailable())
        return QLine();
    const QLineF base = GetDividerBase();
    const float x1 = static_cast<float>(base.x1()), y1 = static_cast<float>(base.y1());
    const float x2 = static_cast<float>(base.x2()), y2 = static_cast<float>(base.y2());
    const float dx = x2 - x1, dy = y2 - y1;
    const float cx = x1 + 0.5f * dx, cy = y1 + 0.5f * dy;
    const float norm = std::sqrt(dx * dx + dy * dy);
    const float len = GetDividerRailLen();
    float px = cx, py = cy;
    const float m = isDiagonal(m_eOrientation) ? 20.0f : 10.0f;
    if (norm > 0.0f && len > 2.0f * m) {
        const float ux = dy / norm, uy = -dx / norm;
        const float sx = cx - ux * len * 0.5f, sy = cy - uy * len * 0.5f;
        const float along = std::clamp(m_fPosition.Get() * len, m, std::max(len - m, m));
        px = sx + ux * along;
        py = sy + uy * along;
    }
    const float ox = px - cx, oy = py - cy;
    const QLine moved(_hlp::MathRound(x1 + ox), _hlp::MathRound(y1 + oy), _hlp::MathRound(x2 + ox),
                      _hlp::MathRound(y2 + oy));
    return ClipToRect(moved, m_rcFrame);
}

QLine CCompareDivider::ClipToRect(const QLine& line, const _hlp::SRangedRect<int>& rect) const
{
    const int L = rect.Left(), T = rect.Top(), R = rect.Right(), B = rect.Bottom();
    const float dx = static_cast<float>(line.dx()), dy = static_cast<float>(line.dy());
    const float s = dx != 0.0f ? dy / dx : 0.0f;
    const float r = dy != 0.0f ? dx / dy : 0.0f;
    auto clip = [&](QPoint p) {
        int x = p.x(), y = p.y();
        if (x < L) {
            y = y - static_cast<int>(static_cast<float>(x - L) * s);
            x = L;
        }
        if (y < T) {
            x = x - static_cast<int>(static_cast<float>(y - T) * r);
            y = T;
        }
        if (x > R) {
            y = y - static_cast<int>(static_cast<float>(x - R) * s);
            x = R;
        }
        if (y > B) {
            x = x - static_cast<int>(static_cast<float>(y - B) * r);
            y = B;
        }
        return QPoint(x, y);
    };
    return QLine(clip(line.p1()), clip(line.p2()));
}

std::pair<_hlp::SRangedPointRel, _hlp::SRangedPointRel> CCompareDivider::GetDividerPointsRel() const
{
    std::pair<_hlp::SRangedPointRel, _hlp::SRangedPointRel> out;
    if (!IsAvailable())
        return out;
    const QLine l = GetDividerPoints();
    const float L = static_cast<float>(m_rcFrame.Left()), T = static_cast<float>(m_rcFrame.Top());
    const float W = static_cast<float>(m_rcFrame.Width()), H = static_cast<float>(m_rcFrame.Height());
    out.first.Set((static_cast<float>(l.x1()) - L) / W, (static_cast<float>(l.y1()) - T) / H);
    out.second.Set((static_cast<float>(l.x2()) - L) / W, (static_cast<float>(l.y2()) - T) / H);
    return out;
}

QPoint CCompareDivider::GetDividerCenterPos() const
{
    const QLine l = GetDividerPoints();
    return QPoint(_hlp::MathRound(0.5f * static_cast<float>(l.x1() + l.x2())),
                  _hlp::MathRound(0.5f * static_cast<float>(l.y1() + l.y2())));
}

float CCompareDivider::GetDistance(const QPoint& p) const
{
    const QLine l = GetDividerPoints();
    const float x1 = static_cast<float>(l.x1()), y1 = static_cast<float>(l.y1());
    const float x2 = static_cast<float>(l.x2()), y2 = static_cast<float>(l.y2());
    const float n = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    if (n <= 0.0f)
        return FLT_MAX;
    const float px = static_cast<float>(p.x()), py = static_cast<float>(p.y());
    return ((y1 - py) * (x1 - x2) - (y1 - y2) * (x1 - px)) / n;
}

bool CCompareDivider::IsHittingDivider(const QPoint& p) const
{
    const float d = GetDistance(p);
    return std::fabs(d) <= 12.0f; // |int(d)| <= 12 for every finite d
}

bool CCompareDivider::IsHittingFrame(const QPoint& p) const
{
    return IsAvailable() && m_rcFrame.Left() <= p.x() && p.x() <= m_rcFrame.Right() && m_rcFrame.Top() <= p.y() &&
           p.y() <= m_rcFrame.Bottom();
}

bool CCompareDivider::Activate(const QPoint& p)
{
    if (m_bActive)
        return true;
    if (!m_bHover)
        return false;
    m_ptGrabOffset = p - GetDividerCenterPos();
    m_bActive = true;
    return true;
}

void CCompareDivider::OnMouseMove(const QPoint& p, bool noButtons)
{
    if (!IsAvailable())
        return;
    if (m_bActive) {
        const float len = GetDividerRailLen();
        if (len > 0.0f)
            m_fPosition = m_fPosition.Get() - GetDistance(p - m_ptGrabOffset) / len;
    } else if (noButtons) {
        m_bHover = IsHittingFrame(p) && IsHittingDivider(p);
    }
}

void CCompareDivider::OnMousePressEvent(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!IsAvailable() || !IsHittingFrame(p) || !_gui::IsActionButton(event->button()))
        return;
    if (Activate(p))
        return;
    const float len = GetDividerRailLen();
    if (len > 0.0f)
        m_fPosition = m_fPosition.Get() - GetDistance(p) / len;
    OnMouseMove(p, true);
    Activate(p);
}

void CCompareDivider::OnMouseMoveEvent(const QMouseEvent* event)
{
    OnMouseMove(event->position().toPoint(), event->buttons() == Qt::NoButton);
}

void CCompareDivider::OnMouseReleaseEvent(const QMouseEvent* event)
{
    if (!IsAvailable() || !_gui::IsActionButton(event->button()))
        return;
    m_bHover = false;
    m_bActive = false;
    m_ptGrabOffset = QPoint(0, 0);
    OnMouseMove(event->position().toPoint(), true);
}

void CCompareDivider::OnLeaveEvent(const QEvent*)
{
    m_bHover = false;
    m_bActive = false;
    m_ptGrabOffset = QPoint(0, 0);
}

void CCompareDivider::OnPaint(QPainter& painter)
{
    if (!IsAvailable())
        return;
    const int L = m_rcFrame.Left(), T = m_rcFrame.Top(), R = m_rcFrame.Right(), B = m_rcFrame.Bottom();
    painter.save();
    painter.setClipRect(QRect(QPoint(L, T), QPoint(R, B)));
    DrawDivider(painter);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(lineColour(0), 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawRect(QRect(QPoint(L + 1, T + 1), QPoint(R - 2, B - 2)));
    painter.setPen(QPen(lineColour(1), 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawRect(QRect(QPoint(L, T), QPoint(R - 1, B - 1)));
    painter.restore();
}

void CCompareDivider::DrawDivider(QPainter& painter)
{
    const QLine l = GetDividerPoints();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(lineColour(m_bHover ? 1 : 0), 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(l);
    painter.setPen(QPen(lineColour(m_bHover ? 2 : 1), 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(l);
}

// ---- label -------------------------------------------------------------------------

CCompareLabel::CCompareLabel(QWidget* parent) : _gui::CBaseLabel(parent), m_pDivider(new CCompareDivider)
{
    setMouseTracking(true);
    setMinimumSize(100, 100);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

CCompareLabel::~CCompareLabel() { delete m_pDivider; }

const unsigned short* CCompareLabel::GetLeftBuffer(int& width, int& height) const
{
    width = height = 0;
    IViewHost* host = ViewSeams::Host();
    if (!host)
        return nullptr;
    return host->IsHDRStage() ? host->GetActualMasterBuffer(&width, &height) : host->GetActualHDRBuffer(&width, &height);
}

const unsigned short* CCompareLabel::GetRightBuffer(int& width, int& height) const
{
    width = height = 0;
    IViewHost* host = ViewSeams::Host();
    if (!host)
        return nullptr;
    return host->IsHDRStage() ? host->GetActualHDRBuffer(&width, &height) : host->GetActualPPBuffer(&width, &height);
}

bool CCompareLabel::GetLeftShowGamma() const
{
    IViewHost* host = ViewSeams::Host();
    return host && host->IsGammaViewChecked();
}

bool CCompareLabel::GetRightShowGamma() const
{
    IViewHost* host = ViewSeams::Host();
    return host && host->IsHDRStage() && host->IsGammaViewChecked();
}

void CCompareLabel::Update(unsigned int lumMode, bool flip, const CLuminanceLabel* luminance)
{
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const unsigned short* left = GetLeftBuffer(w1, h1);
    const unsigned short* right = GetRightBuffer(w2, h2);
    if (!left || !right || w1 != w2 || h1 != h2 || w1 <= 0 || h1 <= 0)
        return;
    const QRect cr = contentsRect();
    const int W = cr.width(), H = cr.height();
    if (W <= 0 || H <= 0)
        return;
    _hlp::SRangedRectRel rel;
    float l = 0, t = 0, r = 0, b = 0;
    MP_UI_previewCompareViewCalcValues(W, H, w1, h1, &l, &t, &r, &b);
    rel.Set(l, t, r, b);
    _hlp::SRangedRect<int> view;
    view.SetRange(_hlp::SRange<int>(0, W), _hlp::SRange<int>(0, H));
    view.Set(0, 0, W, H);
    m_pDivider->SetImageFrame(_hlp::CombineRects<int>(view, rel));

    unsigned int* buffer = m_Buffer.Create(static_cast<unsigned int>(W) * static_cast<unsigned int>(H));
    if (!buffer)
        return;
    const auto points = m_pDivider->GetDividerPointsRel();
    const float lumLow = luminance ? luminance->GetPosRel(0).Get() : 0.0f;
    const float lumHigh = luminance ? luminance->GetPosRel(1).Get() : 1.0f;
    // A renderer that draws nothing keeps the last picture.
    if (!MP_UI_previewCompareViewLumMode(W, H, buffer, w1, h1, left, points.first.X(), points.first.Y(),
                                         points.second.X(), points.second.Y(), lumLow, lumHigh, right,
                                         GetLeftShowGamma() ? 1 : 0, GetRightShowGamma() ? 1 : 0, flip ? 1 : 0,
                                         static_cast<int>(lumMode)))
        return;
    setPixmap(ViewPixmap(buffer, W, H));
}

void CCompareLabel::mousePressEvent(QMouseEvent* event)
{
    if (!pixmap().isNull()) {
        m_pDivider->OnMousePressEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mousePressEvent(event);
}

void CCompareLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pixmap().isNull()) {
        m_pDivider->OnMouseReleaseEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseReleaseEvent(event);
}

void CCompareLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (!pixmap().isNull()) {
        m_pDivider->OnMouseMoveEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseMoveEvent(event);
}

void CCompareLabel::leaveEvent(QEvent* event)
{
    if (!pixmap().isNull()) {
        m_pDivider->OnLeaveEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::leaveEvent(event);
}

void CCompareLabel::paintEvent(QPaintEvent*)
{
    const QPixmap pm = pixmap();
    if (pm.isNull())
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, pm);
    m_pDivider->OnPaint(painter);
}

// ---- dock --------------------------------------------------------------------------

CCompareDockWidget::CCompareDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : QDockWidget(title, parent, flags)
{
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setContentsMargins(0, 0, 0, 0);
    SetFixedSize();

    auto* content = new QWidget(this);
    content->resize(size());
    auto* layout = new QVBoxLayout(content);
    _gui::AdjustLayout(layout);
    CreateUpperControls(layout);
    CreateImage(layout);
    CreateLowerControls(layout);
    setWidget(content);
    Reset();
}

void CCompareDockWidget::CreateUpperControls(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    layout->addLayout(row);
    layout->addSpacing(3);
    row->addSpacerItem(expandingSpacer());
    m_pOrientationGroup = new QButtonGroup(this);
    m_pOrientationGroup->setExclusive(true);
    static const char* const tips[4] = {
        QT_TR_NOOP("tooltip Compare Window Vertikal"), QT_TR_NOOP("tooltip Compare Window Horizontal"),
        QT_TR_NOOP("tooltip Compare Window Diagonal1"), QT_TR_NOOP("tooltip Compare Window Diagonal2")};
    for (int i = 0; i < 4; ++i) {
        m_apOrientationButtons[i] = squareButton(this, nullptr);
        m_apOrientationButtons[i]->setCheckable(true);
        m_apOrientationButtons[i]->setChecked(false);
        m_apOrientationButtons[i]->setToolTip(_gui::HtmlToolTip(tr(tips[i])));
        m_pOrientationGroup->addButton(m_apOrientationButtons[i], i);
        row->addWidget(m_apOrientationButtons[i], 0, Qt::AlignCenter);
    }
    row->addSpacing(_gui::AdjustWidth(10));
    m_pFlipButton = squareButton(this, "CompareBufferFlip");
    m_pFlipButton->setCheckable(true);
    m_pFlipButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Compare Window Buffer Flip")));
    row->addWidget(m_pFlipButton, 0, Qt::AlignCenter);
    row->addSpacerItem(expandingSpacer());
    connect(m_pOrientationGroup, &QButtonGroup::idPressed, this, &CCompareDockWidget::OnOrientationChanged);
    connect(m_pFlipButton, &QPushButton::toggled, this, &CCompareDockWidget::OnFlipSide);
}

void CCompareDockWidget::CreateImage(QVBoxLayout* layout)
{
    m_pCompareLabel = new CCompareLabel(this);
    layout->addWidget(m_pCompareLabel);
    connect(m_pCompareLabel, &CCompareLabel::SigUpdate, this, &CCompareDockWidget::OnUpdate);
}

void CCompareDockWidget::CreateLowerControls(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    layout->addLayout(row);
    row->addSpacerItem(expandingSpacer());
    m_pLuminanceButton = squareButton(this, "CompareLuminanceSelectOnOff");
    m_pLuminanceButton->setCheckable(true);
    m_pLuminanceButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Compare Window Luminance Toggle")));
    row->addWidget(m_pLuminanceButton, 0, Qt::AlignRight);
    connect(m_pLuminanceButton, &QPushButton::toggled, this, &CCompareDockWidget::OnLuminanceEnable);
    m_pLuminanceModeButton = squareButton(this, nullptr);
    m_pLuminanceModeButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Compare Window Luminance Mode")));
    row->addWidget(m_pLuminanceModeButton, 0, Qt::AlignRight);
    connect(m_pLuminanceModeButton, &QPushButton::pressed, this, &CCompareDockWidget::OnLuminanceMode);
    m_pLuminanceLabel = new CLuminanceLabel(this);
    m_pLuminanceLabel->setFixedHeight(29);
    m_pLuminanceLabel->setMinimumWidth(30);
    m_pLuminanceLabel->setMaximumWidth(600);
    m_pLuminanceLabel->setToolTip(_gui::HtmlToolTip(tr("tooltip Compare Window Luminance Thresholds")));
    row->addWidget(m_pLuminanceLabel, 1, Qt::AlignBottom);
    connect(m_pLuminanceLabel, &CLuminanceLabel::SigUpdate, this, &CCompareDockWidget::OnUpdate);
    row->addSpacerItem(expandingSpacer());
}

void CCompareDockWidget::Reset()
{
    m_pCompareLabel->Reset();
    m_pLuminanceLabel->Reset();
    m_apOrientationButtons[0]->setChecked(true);
    m_pCompareLabel->SetOrientation(CCompareDivider::eO_VERTICAL);
    {
        const QSignalBlocker b1(m_pFlipButton), b2(m_pLuminanceButton);
        m_pFlipButton->setChecked(false);
        m_pLuminanceButton->setChecked(false);
    }
    m_bFlipSide = false;
    m_bLuminanceEnabled = false;
    m_iLuminanceMode = 0;
    SetOrientationModeIcon();
    SetLuminanceModeIcon();
    EnableControls();
}

bool CCompareDockWidget::Refresh()
{
    if (!isVisible())
        return false;
    Update();
    return true;
}

void CCompareDockWidget::Update()
{
    m_Gate.Run([this] { Render(); });
}

void CCompareDockWidget::Render()
{
    const unsigned int lumMode = m_bLuminanceEnabled ? static_cast<unsigned int>(m_iLuminanceMode + 1) : 0u;
    m_pLuminanceLabel->Update(lumMode);
    m_pCompareLabel->Update(lumMode, m_bFlipSide, m_pLuminanceLabel);
    EnableControls();
    repaint();
}

void CCompareDockWidget::EnableControls()
{
    const bool available = m_pCompareLabel->IsCompareAvailable();
    for (QPushButton* b : m_apOrientationButtons)
        b->setEnabled(available);
    m_pFlipButton->setEnabled(available);
    m_pLuminanceModeButton->setEnabled(m_bLuminanceEnabled);
    m_pLuminanceLabel->setEnabled(m_bLuminanceEnabled);
    m_pLuminanceButton->setEnabled(true);
}

void CCompareDockWidget::SetFixedSize() { setFixedSize(312, 312); }

void CCompareDockWidget::SetDynamicSize()
{
    setMinimumSize(312, 312);
    setMaximumSize(16777215, 16777215);
}

void CCompareDockWidget::SetDefaultSizing(bool adjust)
{
    if (isFloating()) {
        SetDynamicSize();
        if (adjust)
            adjustSize();
    } else {
        SetFixedSize();
    }
}

void CCompareDockWidget::SetOrientationModeIcon()
{
    static const char* const names[4] = {"CompareVertikal", "CompareHorizontal", "CompareDiagonal1",
                                         "CompareDiagonal2"};
    for (int i = 0; i < 4; ++i) {
        QString name = QLatin1String(names[i]);
        if (m_bFlipSide)
            name += QLatin1String("Flipped");
        m_apOrientationButtons[i]->setIcon(QIcon::fromTheme(name, QIcon()));
    }
}

void CCompareDockWidget::SetLuminanceModeIcon()
{
    m_pLuminanceModeButton->setIcon(
        QIcon::fromTheme(QStringLiteral("CompareLuminanceSelect%1").arg(m_iLuminanceMode + 1), QIcon()));
}

void CCompareDockWidget::OnUpdate() { Update(); }

void CCompareDockWidget::OnOrientationChanged(int id)
{
    static const CCompareDivider::EOrientation o[4] = {CCompareDivider::eO_VERTICAL, CCompareDivider::eO_HORIZONTAL,
                                                       CCompareDivider::eO_DIAGONAL1, CCompareDivider::eO_DIAGONAL2};
    if (id >= 0 && id < 4)
        m_pCompareLabel->SetOrientation(o[id]);
    Update();
}

void CCompareDockWidget::OnFlipSide(bool flip)
{
    m_bFlipSide = flip;
    SetOrientationModeIcon();
    Update();
}

void CCompareDockWidget::OnLuminanceEnable(bool enable)
{
    m_bLuminanceEnabled = enable;
    Update();
}

void CCompareDockWidget::OnLuminanceMode()
{
    m_iLuminanceMode = (m_iLuminanceMode + 1) % 3;
    SetLuminanceModeIcon();
    Update();
}

void CCompareDockWidget::resizeEvent(QResizeEvent* event)
{
    Update();
    QDockWidget::resizeEvent(event);
}

void CCompareDockWidget::closeEvent(QCloseEvent* event)
{
    emit SigClosed();
    QDockWidget::closeEvent(event);
}

void CCompareDockWidget::showEvent(QShowEvent* event)
{
    SetDefaultSizing(false);
    Update();
    QDockWidget::showEvent(event);
}
