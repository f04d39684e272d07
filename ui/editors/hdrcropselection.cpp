#include "ui/editors/hdrcropselection.h"

#include "engine/core/settings.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>

using _hlp::MathClamp;

namespace {

constexpr float kHoverDistance = 9.0f;

// Alignment, position of each grip: the four corners, top, bottom, left, right, centre.
constexpr unsigned int kAlignments[CCropSelection::kHandleCount] = {
    CCropHandle::eA_LEFT | CCropHandle::eA_TOP,     CCropHandle::eA_TOP | CCropHandle::eA_RIGHT,
    CCropHandle::eA_RIGHT | CCropHandle::eA_BOTTOM, CCropHandle::eA_LEFT | CCropHandle::eA_BOTTOM,
    CCropHandle::eA_TOP,                            CCropHandle::eA_BOTTOM,
    CCropHandle::eA_LEFT,                           CCropHandle::eA_RIGHT,
    CCropHandle::eA_CENTER};

QColor RgbColor(int rgb) { return QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff); }

} // namespace

// ---- CCropHandle ----

CCropHandle::CCropHandle(CCropSelection* owner) : m_pOwner(owner) {}

void CCropHandle::Reset()
{
    m_bEnabled = true;
    ClearState();
    m_Pos = QPoint();
}

void CCropHandle::ClearState()
{
    m_bHovered = false;
    m_bActive = false;
    m_Offset = QPoint();
}

bool CCropHandle::IsHitting(const QPoint& pos) const
{
    if (m_uiAlignment == eA_CENTER)
        return m_pOwner && m_pOwner->IsHitting(pos);
    const float dx = static_cast<float>(pos.x() - m_Pos.x());
    const float dy = static_cast<float>(pos.y() - m_Pos.y());
    return std::sqrt(dx * dx + dy * dy) <= kHoverDistance;
}

void CCropHandle::EvaluateHover(const QPoint& pos, Qt::MouseButtons buttons)
{
    if (!m_bEnabled || m_bActive || buttons != Qt::NoButton)
        return;
    m_bHovered = IsHitting(pos);
}

void CCropHandle::OnMousePressEvent(const QPoint& pos, Qt::MouseButton button)
{
    if (!_gui::IsActionButton(button) || !m_bEnabled || !m_bHovered)
        return;
    m_Offset = pos - m_Pos;
    m_bActive = true;
}

void CCropHandle::OnMouseMoveEvent(const QPoint& pos, Qt::MouseButtons buttons) { EvaluateHover(pos, buttons); }

void CCropHandle::OnMouseReleaseEvent(const QPoint& pos, Qt::MouseButton button)
{
    if (!_gui::IsActionButton(button) || !m_bEnabled)
        return;
    ClearState();
    EvaluateHover(pos, Qt::NoButton);
}

void CCropHandle::OnLeaveEvent()
{
    if (m_bEnabled)
        ClearState();
}

void CCropHandle::OnPaint(QPainter& painter) const
{
    if (!m_bEnabled || m_uiAlignment == eA_CENTER)
        return;
    const QPen oldPen = painter.pen();
    const QBrush oldBrush = painter.brush();
    painter.setPen(QPen(m_bHovered ? QColor(64, 64, 64) : QColor(32, 32, 32), 1, Qt::SolidLine));
    painter.setBrush(m_bHovered ? QColor(255, 255, 255) : QColor(160, 160, 160));
    switch (m_uiAlignment) {
    case eA_LEFT | eA_TOP:
        DrawCorner(painter, 1, 1);
        break;
    case eA_TOP | eA_RIGHT:
        DrawCorner(painter, -1, 1);
        break;
    case eA_RIGHT | eA_BOTTOM:
        DrawCorner(painter, -1, -1);
        break;
    case eA_LEFT | eA_BOTTOM:
        DrawCorner(painter, 1, -1);
        break;
    case eA_LEFT:
    case eA_RIGHT:
        DrawSide(painter, false);
        break;
    case eA_TOP:
    case eA_BOTTOM:
        DrawSide(painter, true);
        break;
    default:
        break;
    }
    painter.setPen(oldPen);
    painter.setBrush(oldBrush);
}

void CCropHandle::DrawCorner(QPainter& painter, int sx, int sy) const
{
    static const int X[11] = {-1, 7, 9, 9, 7, 3, 3, 1, -1, -3, -3};
    static const int Y[11] = {-3, -3, -1, 1, 3, 3, 7, 9, 9, 7, -1};
    QPoint points[11];
    for (int i = 0; i < 11; ++i)
        points[i] = m_Pos + QPoint(sx * X[i], sy * Y[i]);
    _gui::DrawPolygon(painter, points, 11);
}

void CCropHandle::DrawSide(QPainter& painter, bool horizontal) const
{
    static const int HX[8] = {-9, -7, 7, 9, 9, 7, -7, -9};
    static const int HY[8] = {-1, -3, -3, -1, 1, 3, 3, 1};
    static const int VX[8] = {-3, -1, 1, 3, 3, 1, -1, -3};
    static const int VY[8] = {-7, -9, -9, -7, 7, 9, 9, 7};
    QPoint points[8];
    for (int i = 0; i < 8; ++i)
        points[i] = m_Pos + (horizontal ? QPoint(HX[i], HY[i]) : QPoint(VX[i], VY[i]));
    _gui::DrawPolygon(painter, points, 8);
}

// ---- CCropSelection ----

CCropSelection::CCropSelection()
{
    for (int i = 0; i < kHandleCount; ++i) {
        m_pHandles[i] = new CCropHandle(this);
        m_pHandles[i]->SetAlignment(kAlignments[i]);
    }
}

CCropSelection::~CCropSelection()
{
    for (CCropHandle* handle : m_pHandles)
        delete handle;
}

void CCropSelection::SetFrame(const _hlp::SRangedRect<int>& frame, float aspect)
{
    if (!m_Frame.IsEmpty())
        return;
    m_fAspect = aspect;
    const _hlp::SRange<int> any(INT_MIN / 4, INT_MAX / 4);
    m_Frame.SetRange(any, any);
    m_Frame.Set(frame.Left(), frame.Top(), frame.Right() - 1, frame.Bottom() - 1);
    m_Frame.InheritRange();
    m_Selection = GetDefaultSelection();
}

_hlp::SRangedRect<int> CCropSelection::GetDefaultSelection() const
{
    // The whole frame, for a free aspect as for a fixed one: the result
    // writer fits a fixed aspect into whatever is selected.
    _hlp::SRangedRect<int> selection;
    selection.CopyRange(m_Frame);
    selection.Set(m_Frame.Left(), m_Frame.Top(), m_Frame.Right(), m_Frame.Bottom());
    return selection;
}

void CCropSelection::Update()
{
    if (m_Frame.IsEmpty())
        return;
    const int l = m_Selection.Left(), t = m_Selection.Top(), r = m_Selection.Right(), b = m_Selection.Bottom();
    const int cx = (l + r) / 2, cy = (t + b) / 2;
    const QPoint positions[kHandleCount] = {QPoint(l, t),  QPoint(r, t),  QPoint(r, b),  QPoint(l, b), QPoint(cx, t),
                                            QPoint(cx, b), QPoint(l, cy), QPoint(r, cy), QPoint(cx, cy)};
    const bool wide = m_Selection.Width() >= kMinimumSize;
    const bool high = m_Selection.Height() >= kMinimumSize;
    for (int i = 0; i < kHandleCount; ++i) {
        CCropHandle& handle = *m_pHandles[i];
        handle.SetPos(positions[i]);
        const unsigned int a = handle.GetAlignment();
        if (a == CCropHandle::eA_CENTER)
            handle.SetEnable(true);
        else if (a == CCropHandle::eA_LEFT || a == CCropHandle::eA_RIGHT)
            handle.SetEnable(wide);
        else if (a == CCropHandle::eA_TOP || a == CCropHandle::eA_BOTTOM)
            handle.SetEnable(high);
        else
            handle.SetEnable(wide && high);
    }
}

void CCropSelection::Reset()
{
    m_fAspect = -1.0f;
    m_Frame = _hlp::SRangedRect<int>();
    m_Selection = _hlp::SRangedRect<int>();
    for (CCropHandle* handle : m_pHandles)
        handle->Reset();
}

bool CCropSelection::HasSelection() const { return !m_Frame.IsEmpty() && m_Selection != m_Frame; }

_hlp::SRangedRectRel CCropSelection::GetRel() const
{
    _hlp::SRangedRectRel rel;
    rel.Set(0.0f, 0.0f, 1.0f, 1.0f);
    const int fw = m_Frame.Width();
    const int fh = m_Frame.Height();
    if (!HasSelection() || fw <= 0 || fh <= 0)
        return rel;
    const float w = static_cast<float>(fw);
    const float h = static_cast<float>(fh);
    rel.Set(static_cast<float>(std::max(m_Selection.Left() - m_Frame.Left(), 0)) / w,
            static_cast<float>(std::max(m_Selection.Top() - m_Frame.Top(), 0)) / h,
            static_cast<float>(std::max(m_Selection.Right() - m_Frame.Left(), 0)) / w,
            static_cast<float>(std::max(m_Selection.Bottom() - m_Frame.Top(), 0)) / h);
    return rel;
}

bool CCropSelection::IsHitting(const QPoint& pos) const
{
    return HasSelection() && pos.x() >= m_Selection.Left() && pos.x() <= m_Selection.Right() &&
           pos.y() >= m_Selection.Top() && pos.y() <= m_Selection.Bottom();
}

CCropHandle* CCropSelection::GetActiveHandle() const
{
    for (CCropHandle* handle : m_pHandles)
        if (handle->IsActive())
            return handle;
    return nullptr;
}

void CCropSelection::OnMousePressEvent(const QPoint& pos, Qt::MouseButton button)
{
    if (m_Frame.IsEmpty())
        return;
    for (CCropHandle* handle : m_pHandles)
        handle->OnMousePressEvent(pos, button);
}

void CCropSelection::OnMouseMoveEvent(const QPoint& pos, Qt::MouseButtons buttons)
{
    if (m_Frame.IsEmpty())
        return;
    if (CCropHandle* active = GetActiveHandle()) {
        Drag(*active, pos);
        return;
    }
    for (CCropHandle* handle : m_pHandles)
        handle->OnMouseMoveEvent(pos, buttons);
}

void CCropSelection::OnMouseReleaseEvent(const QPoint& pos, Qt::MouseButton button)
{
    if (m_Frame.IsEmpty())
        return;
    for (CCropHandle* handle : m_pHandles)
        handle->OnMouseReleaseEvent(pos, button);
}

void CCropSelection::OnLeaveEvent()
{
    if (m_Frame.IsEmpty())
        return;
    for (CCropHandle* handle : m_pHandles)
        handle->OnLeaveEvent();
}

void CCropSelection::Drag(CCropHandle& handle, const QPoint& pos)
{
    const _hlp::SRangedRect<int>& F = m_Frame;
    const int sl = m_Selection.Left(), st = m_Selection.Top(), sr = m_Selection.Right(), sb = m_Selection.Bottom();
    const int px = MathClamp(pos.x() - handle.GetOffset().x(), F.Left(), F.Right());
    const int py = MathClamp(pos.y() - handle.GetOffset().y(), F.Top(), F.Bottom());
    const unsigned int a = handle.GetAlignment();
    if (a == CCropHandle::eA_CENTER) {
        // Moves the selection; its size never changes, it slides along an edge.
        const int sw = sr - sl, sh = sb - st;
        int left = sl + px - handle.GetPos().x();
        int right = sr + px - handle.GetPos().x();
        if (left < F.Left()) {
            left = F.Left();
            right = left + sw;
        }
        int top = st + py - handle.GetPos().y();
        int bottom = sb + py - handle.GetPos().y();
        if (top < F.Top()) {
            top = F.Top();
            bottom = top + sh;
        }
        if (right > F.Right()) {
            right = F.Right();
            left = right - sw;
        }
        if (bottom > F.Bottom()) {
            bottom = F.Bottom();
            top = bottom - sh;
        }
        m_Selection.Set(left, top, right, bottom);
    } else {
        // Resizes, never below the minimum size and never beyond the frame.
        const int maxLeft = MathClamp(sr - kMinimumSize, F.Left(), F.Right());
        const int maxTop = MathClamp(sb - kMinimumSize, F.Top(), F.Bottom());
        const int minRight = MathClamp(sl + kMinimumSize, F.Left(), F.Right());
        const int minBottom = MathClamp(st + kMinimumSize, F.Top(), F.Bottom());
        if (a & CCropHandle::eA_LEFT)
            m_Selection.SetLeft(MathClamp(px, F.Left(), maxLeft));
        if (a & CCropHandle::eA_TOP)
            m_Selection.SetTop(MathClamp(py, F.Top(), maxTop));
        if (a & CCropHandle::eA_RIGHT)
            m_Selection.SetRight(MathClamp(px, minRight, F.Right()));
        if (a & CCropHandle::eA_BOTTOM)
            m_Selection.SetBottom(MathClamp(py, minBottom, F.Bottom()));
    }
    // The grips follow the edges at once, so the next move measures from
    // where the selection is now even when the picture is redrawn later.
    Update();
}

void CCropSelection::OnPaint(QPainter& painter) const
{
    if (m_Frame.IsEmpty())
        return;
    const QPen oldPen = painter.pen();
    painter.setPen(QPen(RgbColor(MP_UI_GetLineColor(1)), 1, Qt::DashDotLine));
    const int l = m_Selection.Left(), t = m_Selection.Top(), r = m_Selection.Right(), b = m_Selection.Bottom();
    painter.drawLine(l, t, r, t);
    painter.drawLine(l, t, l, b);
    painter.drawLine(r, t, r, b);
    painter.drawLine(l, b, r, b);
    painter.setPen(oldPen);
    if (IsHandleActive())
        return;
    for (const CCropHandle* handle : m_pHandles)
        handle->OnPaint(painter);
}
