#include "ui/views/luminancelabel.h"

#include "engine/MP_calc.h"
#include "ui/views/viewrender.h"

#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>
#include <QPainter>
#include <QPainterPath>

namespace {
QColor lineColour(int variant) { return QColor::fromRgb(static_cast<QRgb>(MP_UI_GetLineColor(variant))); }
} // namespace

const float CLuminanceLabel::pfHANDLE_DEFAULT_POS[2] = {0.0f, 1.0f};
const float CLuminanceLabel::fHANDLE_MIN_DIST_REL = 0.05f;

// ---- handle ------------------------------------------------------------------

CLuminanceHandle::CLuminanceHandle(CLuminanceLabel* label) : m_pLabel(label) { Reset(); }

int CLuminanceHandle::GetPos() const { return m_pLabel->GetPos(m_fPosRel); }

bool CLuminanceHandle::IsHitting(int x) const { return std::abs(x - GetPos()) <= 8; }

void CLuminanceHandle::Reset()
{
    m_bHover = false;
    m_bActive = false;
    m_iOffsetX = 0;
    m_fPosRel = 0.0f;
}

void CLuminanceHandle::OnMouseMove(int x, bool noButtons)
{
    if (!m_bActive && noButtons)
        m_bHover = IsHitting(x);
}

void CLuminanceHandle::OnMousePressEvent(const QMouseEvent* event)
{
    if (m_bHover && _gui::IsActionButton(event->button())) {
        m_bActive = true;
        m_iOffsetX = GetPos() - event->position().toPoint().x();
    }
}

void CLuminanceHandle::OnMouseMoveEvent(const QMouseEvent* event)
{
    OnMouseMove(event->position().toPoint().x(), event->buttons() == Qt::NoButton);
}

void CLuminanceHandle::OnMouseReleaseEvent(const QMouseEvent* event)
{
    if (!_gui::IsActionButton(event->button()))
        return;
    m_bHover = false;
    m_bActive = false;
    m_iOffsetX = 0;
    OnMouseMove(event->position().toPoint().x(), true);
}

void CLuminanceHandle::OnLeaveEvent(const QEvent*)
{
    m_bHover = false;
    m_bActive = false;
    m_iOffsetX = 0;
}

void CLuminanceHandle::OnPaint(QPainter& painter)
{
    const QRect g = m_pLabel->GetGradientRect();
    const int x = GetPos();
    painter.setPen(m_bHover ? QColor(255, 0, 0) : QColor(192, 0, 0));
    painter.drawLine(x, g.top(), x, g.bottom());
    DrawGrip(painter, QPoint(x, g.bottom()));
}

void CLuminanceHandle::DrawGrip(QPainter& painter, const QPoint& tip)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(lineColour(m_bHover ? 1 : 0), 1, Qt::SolidLine));
    painter.setBrush(QBrush(lineColour(m_bHover ? 2 : 1), Qt::SolidPattern));
    const QPoint a = tip, b(tip.x() - 4, tip.y() + 8), c(tip.x() + 4, tip.y() + 8);
    const QPoint tri[3] = {a, b, c};
    painter.drawPolygon(tri, 3, Qt::OddEvenFill);
    painter.drawLine(a, b);
    painter.drawLine(b, c);
    painter.drawLine(c, a);
    painter.restore();
}

// ---- bar -----------------------------------------------------------------------

CLuminanceLabel::CLuminanceLabel(QWidget* parent) : _gui::CBaseLabel(parent)
{
    m_apHandles[0] = new CLuminanceHandle(this);
    m_apHandles[1] = new CLuminanceHandle(this);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMouseTracking(true);
    Reset();
}

CLuminanceLabel::~CLuminanceLabel()
{
    delete m_apHandles[0];
    delete m_apHandles[1];
}

void CLuminanceLabel::Reset()
{
    for (int i = 0; i < 2; ++i) {
        m_apHandles[i]->Reset();
        m_apHandles[i]->SetPosRel(pfHANDLE_DEFAULT_POS[i]);
    }
}

_hlp::SRangedValueRel CLuminanceLabel::GetPosRel(unsigned int index) const
{
    return index > 1 ? _hlp::SRangedValueRel(0.0f) : m_apHandles[index]->GetPosRel();
}

QRect CLuminanceLabel::GetGradientRect() const { return QRect(QPoint(4, 1), QPoint(width() - 5, height() - 12)); }

int CLuminanceLabel::GetPos(_hlp::SRangedValueRel rel) const
{
    const QRect g = GetGradientRect();
    const int pos = _hlp::MathRound(static_cast<float>(g.left()) + static_cast<float>(g.width()) * rel.Get());
    return std::clamp(pos, g.left(), std::max(g.left(), g.right()));
}

_hlp::SRangedValueRel CLuminanceLabel::GetXPosRel(int x) const
{
    const QRect g = GetGradientRect();
    if (g.width() <= 0)
        return _hlp::SRangedValueRel(0.0f);
    const int cx = std::clamp(x, g.left(), std::max(g.left(), g.right()));
    return _hlp::SRangedValueRel(static_cast<float>(cx - g.left()) / static_cast<float>(g.width()));
}

unsigned int CLuminanceLabel::GetActiveHandle() const
{
    if (m_apHandles[0]->IsActive())
        return 0;
    if (m_apHandles[1]->IsActive())
        return 1;
    return 0xFFFFFFFFu;
}

QColor CLuminanceLabel::AdjustColor(QColor colour) const { return isEnabled() ? colour : colour.darker(255); }

bool CLuminanceLabel::HasPicture() const { return !pixmap().isNull(); }

void CLuminanceLabel::Update(unsigned int lumMode)
{
    const QRect g = GetGradientRect();
    const int gw = g.width(), gh = g.height();
    if (gw <= 0 || gh <= 0)
        return;
    unsigned int* buffer = m_Buffer.Create(static_cast<unsigned int>(gw) * static_cast<unsigned int>(gh));
    if (!buffer)
        return;
    if (MP_UI_previewCompareViewBarLumMode(gw, gh, buffer, static_cast<int>(lumMode), 2, GetPosRel(0).Get(),
                                           GetPosRel(1).Get()))
        setPixmap(ViewPixmap(buffer, gw, gh));
}

void CLuminanceLabel::mousePressEvent(QMouseEvent* event)
{
    if (HasPicture()) {
        m_apHandles[0]->OnMousePressEvent(event);
        m_apHandles[1]->OnMousePressEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mousePressEvent(event);
}

void CLuminanceLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (HasPicture()) {
        m_apHandles[0]->OnMouseReleaseEvent(event);
        m_apHandles[1]->OnMouseReleaseEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseReleaseEvent(event);
}

void CLuminanceLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (HasPicture()) {
        const unsigned int a = GetActiveHandle();
        const int x = event->position().toPoint().x();
        const float d = fHANDLE_MIN_DIST_REL;
        if (a == 0) {
            const float v = std::clamp(GetXPosRel(x + m_apHandles[0]->GetOffsetX()).Get(), 0.0f, 1.0f - d);
            m_apHandles[0]->SetPosRel(v);
            m_apHandles[1]->SetPosRel(std::clamp(m_apHandles[1]->GetPosRel().Get(), v + d, 1.0f));
        } else if (a == 1) {
            const float v = std::clamp(GetXPosRel(x + m_apHandles[1]->GetOffsetX()).Get(), d, 1.0f);
            m_apHandles[1]->SetPosRel(v);
            m_apHandles[0]->SetPosRel(std::clamp(m_apHandles[0]->GetPosRel().Get(), 0.0f, v - d));
        } else {
            m_apHandles[0]->OnMouseMoveEvent(event);
            m_apHandles[1]->OnMouseMoveEvent(event);
        }
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseMoveEvent(event);
}

void CLuminanceLabel::leaveEvent(QEvent* event)
{
    if (HasPicture()) {
        m_apHandles[0]->OnLeaveEvent(event);
        m_apHandles[1]->OnLeaveEvent(event);
        emit SigUpdate();
    }
    _gui::CBaseLabel::leaveEvent(event);
}

void CLuminanceLabel::paintEvent(QPaintEvent*)
{
    if (!HasPicture())
        return;
    const QRect g = GetGradientRect();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(QRect(g.left(), g.top(), g.width(), g.height()), pixmap());
    if (isEnabled()) {
        painter.setPen(QColor(192, 0, 255));
        painter.drawLine(GetPos(0.05f), g.top(), GetPos(0.05f), g.bottom());
        painter.setPen(QColor(255, 192, 0));
        painter.drawLine(GetPos(0.95f), g.top(), GetPos(0.95f), g.bottom());
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(AdjustColor(lineColour(1)));
    painter.drawRect(QRect(QPoint(g.left(), g.top()), QPoint(g.right() - 1, g.bottom() - 1)));
    if (isEnabled()) {
        m_apHandles[0]->OnPaint(painter);
        m_apHandles[1]->OnPaint(painter);
    }
}
