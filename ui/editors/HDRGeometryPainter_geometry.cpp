// One mask geometry in the painter's view: its values, the conversions to and
// from view pixels, hit tests, pointer handling, resize handles, drawing and
// the exchange with the geometry picker.

#include "ui/editors/HDRGeometryPainter.h"

#include "ui/postprocessing/hdrpositionpicker.h"

#include <QMouseEvent>

#include <cmath>

using _hlp::MathClamp;
using _hlp::MathRound;
using _hlp::SRange;
using _hlp::SRangedRect;

namespace {

double Distance(QPoint const& a, QPoint const& b)
{
    const double dx = double(a.x()) - double(b.x());
    const double dy = double(a.y()) - double(b.y());
    return std::sqrt(dx * dx + dy * dy);
}

bool IsWellFormed(SRangedRect<int> const& r) { return r.Left() <= r.Right() && r.Top() <= r.Bottom(); }

// A value read from a file may be NaN: it reads as 0.
float Finite(float v) { return v == v ? v : 0.0f; }

} // namespace

void SGeometryData::Reset()
{
    iType = eEmpty;
    fRadiusX = 0.0f;
    fRadiusY = 0.0f;
    fSharpness = 0.0f;
    fExponent = 0.0f;
    fIntensity = 0.0f;
    fCenterX = 0.0f;
    fCenterY = 0.0f;
}

// ---- CSizeHandle ---------------------------------------------------------------------

CSizeHandle::CSizeHandle(CSizeControl* control, unsigned int flags) : m_pControl(control), m_uiFlags(flags) { Reset(); }

void CSizeHandle::Reset()
{
    m_bVisible = m_bHovered = m_bPressed = false;
    m_iX = m_iY = 0;
    m_iOffsetX = m_iOffsetY = 0;
}

bool CSizeHandle::IsHitting(QPoint const& p) const { return Distance(p, Pos()) <= 9.0; }

void CSizeHandle::Update()
{
    m_bVisible = false;
    const CGeometry* g = m_pControl->Geometry();
    const SRangedRect<int> dim = g->GetDimension();
    if (!IsWellFormed(dim) || !IsWellFormed(g->GetImageFrame()))
        return;
    const QPoint c = g->GetCenter();
    m_iX = (m_uiFlags & 1) ? dim.Left() : (m_uiFlags & 4) ? dim.Right() : c.x();
    m_iY = (m_uiFlags & 2) ? dim.Top() : (m_uiFlags & 8) ? dim.Bottom() : c.y();
    bool visible = true;
    if (m_uiFlags & 5)
        visible = visible && std::abs(m_iX - c.x()) > 20;
    if (m_uiFlags & 10)
        visible = visible && std::abs(m_iY - c.y()) > 20;
    m_bVisible = visible;
}

void CSizeHandle::DrawCorner(QPainter& p, int sx, int sy) const
{
    static const int kCorner[11][2] = {{-1, -3}, {7, -3}, {9, -1}, {9, 1},  {7, 3},  {3, 3},
                                       {3, 7},   {1, 9},  {-1, 9}, {-3, 7}, {-3, -1}};
    QPoint points[11];
    for (int i = 0; i < 11; ++i)
        points[i] = Pos() + QPoint(sx * kCorner[i][0], sy * kCorner[i][1]);
    _gui::DrawPolygon(p, points, 11);
}

void CSizeHandle::DrawSide(QPainter& p, bool lying) const
{
    static const int kLying[8][2] = {{-9, -1}, {-7, -3}, {7, -3}, {9, -1}, {9, 1}, {7, 3}, {-7, 3}, {-9, 1}};
    QPoint points[8];
    for (int i = 0; i < 8; ++i)
        points[i] = Pos() + (lying ? QPoint(kLying[i][0], kLying[i][1]) : QPoint(kLying[i][1], kLying[i][0]));
    _gui::DrawPolygon(p, points, 8);
}

void CSizeHandle::Draw(QPainter& p) const
{
    if (!m_bVisible)
        return;
    p.save();
    p.setBrush(QBrush(m_bHovered ? QColor(255, 255, 255) : QColor(160, 160, 160), Qt::SolidPattern));
    p.setPen(QPen(QColor(32, 32, 32), 1, Qt::SolidLine));
    switch (m_uiFlags) {
    case 3:
        DrawCorner(p, 1, 1);
        break;
    case 6:
        DrawCorner(p, -1, 1);
        break;
    case 12:
        DrawCorner(p, -1, -1);
        break;
    case 9:
        DrawCorner(p, 1, -1);
        break;
    default:
        DrawSide(p, !(m_uiFlags & 5));
        break;
    }
    p.restore();
}

void CSizeHandle::OnMousePressEvent(QMouseEvent const* e)
{
    if (!m_bVisible || !m_bHovered || !_gui::IsActionButton(e->button()))
        return;
    const QPoint p = e->pos();
    m_iOffsetX = p.x() - m_iX;
    m_iOffsetY = p.y() - m_iY;
    m_bPressed = true;
}

void CSizeHandle::OnMouseMoveEvent(QMouseEvent const* e)
{
    CGeometry* g = m_pControl->Geometry();
    if (!m_bVisible || !IsWellFormed(g->GetImageFrame()))
        return;
    const QPoint q = e->pos() - QPoint(m_iOffsetX, m_iOffsetY);
    if (m_bPressed) {
        const QPoint c = g->GetCenter();
        const QPoint r = g->GetRadius();
        const int rx = (m_uiFlags & 1)   ? std::max(c.x() - q.x(), 22)
                       : (m_uiFlags & 4) ? std::max(q.x() - c.x(), 22)
                                         : r.x();
        const int ry = (m_uiFlags & 2)   ? std::max(c.y() - q.y(), 22)
                       : (m_uiFlags & 8) ? std::max(q.y() - c.y(), 22)
                                         : r.y();
        g->SetRadius(QPoint(rx, ry));
    } else if (e->buttons() == Qt::NoButton) {
        m_bHovered = IsHitting(q);
    }
}

void CSizeHandle::OnMouseReleaseEvent(QMouseEvent const* e)
{
    if (!m_bVisible || !_gui::IsActionButton(e->button()))
        return;
    m_bHovered = m_bPressed = false;
    m_iOffsetX = m_iOffsetY = 0;
}

// ---- CSizeControl ---------------------------------------------------------------------

CSizeControl::CSizeControl(CGeometry* geometry) : m_pGeometry(geometry)
{
    static const unsigned int kFlags[8] = {3, 6, 12, 9, 1, 2, 4, 8};
    for (int i = 0; i < 8; ++i)
        m_pHandles[i] = new CSizeHandle(this, kFlags[i]);
}

CSizeControl::~CSizeControl()
{
    for (CSizeHandle* h : m_pHandles)
        delete h;
}

void CSizeControl::Reset()
{
    for (CSizeHandle* h : m_pHandles)
        h->Reset();
}

void CSizeControl::Update()
{
    for (CSizeHandle* h : m_pHandles)
        h->Update();
}

void CSizeControl::Draw(QPainter& p) const
{
    for (CSizeHandle* h : m_pHandles)
        h->Draw(p);
}

bool CSizeControl::IsActive() const
{
    for (CSizeHandle* h : m_pHandles)
        if (h->IsActive())
            return true;
    return false;
}

void CSizeControl::OnMousePressEvent(QMouseEvent const* e)
{
    for (CSizeHandle* h : m_pHandles)
        h->OnMousePressEvent(e);
}

void CSizeControl::OnMouseMoveEvent(QMouseEvent const* e)
{
    for (CSizeHandle* h : m_pHandles)
        h->OnMouseMoveEvent(e);
}

void CSizeControl::OnMouseReleaseEvent(QMouseEvent const* e)
{
    for (CSizeHandle* h : m_pHandles)
        h->OnMouseReleaseEvent(e);
}

// ---- CGeometry ----------------------------------------------------------------------------

CGeometry::CGeometry(CGeometryLabel* label, unsigned int index)
    : QObject(nullptr), m_uiIndex(index), m_pLabel(label), m_iState(eIdle), m_iMoveX(0), m_iMoveY(0),
      m_pSizeControl(new CSizeControl(this))
{
    Reset();
}

CGeometry::~CGeometry() { delete m_pSizeControl; }

void CGeometry::SetData(SGeometryData const& data) { m_Data = data; }

void CGeometry::CopyData(CGeometry const& other)
{
    Reset();
    m_Data = other.m_Data;
}

void CGeometry::Reset()
{
    m_iState = eIdle;
    m_iMoveX = m_iMoveY = 0;
    m_Data.Reset();
    m_pSizeControl->Reset();
}

void CGeometry::SetDefaults(bool add)
{
    Reset();
    m_Data.iType = add ? SGeometryData::eAdd : SGeometryData::eSubtract;
    m_Data.fRadiusX = 0.25f;
    m_Data.fRadiusY = 0.25f;
    m_Data.fSharpness = 0.5f;
    m_Data.fExponent = 0.5f;
    m_Data.fIntensity = 1.0f;
    SetDefaultPosition();
}

void CGeometry::SetDefaultPosition()
{
    m_Data.fCenterX = 0.5f;
    m_Data.fCenterY = 0.5f;
}

void CGeometry::Select(bool on)
{
    if (on) {
        m_iState = eSelected;
        emit SigSelectionChanged();
    } else {
        m_iState = eIdle;
    }
}

void CGeometry::Select()
{
    if (m_iState == eIdle)
        Select(true);
}

void CGeometry::Deselect()
{
    if (m_iState != eIdle)
        Select(false);
}

void CGeometry::Resizing(bool on) { m_iState = on ? eResizing : eSelected; }

void CGeometry::Drag(bool on, QPoint const& p)
{
    if (on) {
        m_iState = eMoving;
        const QPoint c = GetCenter();
        m_iMoveX = p.x() - c.x();
        m_iMoveY = p.y() - c.y();
    } else {
        m_iState = eSelected;
        m_iMoveX = m_iMoveY = 0;
    }
}

SRangedRect<int> const& CGeometry::GetImageFrame() const { return m_pLabel->GetImageFrame(); }

SRangedRect<int> const& CGeometry::GetFrame() const { return m_pLabel->GetFrame(); }

QPoint CGeometry::GetCenter() const
{
    const SRangedRect<int>& f = GetImageFrame();
    if (f.IsEmpty())
        return QPoint(0, 0);
    const int x = f.Left() + MathRound(m_Data.fCenterX * float(f.Width()));
    const int y = f.Top() + MathRound(m_Data.fCenterY * float(f.Height()));
    return QPoint(MathClamp(x, f.Left(), f.Right()), MathClamp(y, f.Top(), f.Bottom()));
}

QPoint CGeometry::GetRadius() const
{
    const SRangedRect<int>& f = GetImageFrame();
    if (f.IsEmpty())
        return QPoint(0, 0);
    return QPoint(MathClamp(MathRound(m_Data.fRadiusX * float(f.Width())), 0, f.Width()),
                  MathClamp(MathRound(m_Data.fRadiusY * float(f.Height())), 0, f.Height()));
}

SRangedRect<int> CGeometry::GetDimension() const
{
    const SRangedRect<int>& f = GetImageFrame();
    SRangedRect<int> d;
    d.SetRange(SRange<int>(f.Left(), f.Right()), SRange<int>(f.Top(), f.Bottom()));
    const QPoint c = GetCenter(), r = GetRadius();
    d.Set(c.x() - r.x(), c.y() - r.y(), c.x() + r.x(), c.y() + r.y());
    return d;
}

SRangedRect<int> CGeometry::GetSafeBoundery() const
{
    const SRangedRect<int>& f = GetFrame();
    const SRangedRect<int> d = GetDimension();
    SRangedRect<int> s;
    s.SetRange(SRange<int>(f.Left(), f.Right()), SRange<int>(f.Top(), f.Bottom()));
    s.Set(d.Left() - 8, d.Top() - 8, d.Right() + 8, d.Bottom() + 8);
    return s;
}

void CGeometry::SetPos(QPoint const& p)
{
    const SRangedRect<int>& f = GetImageFrame();
    if (f.IsEmpty())
        return;
    m_Data.fCenterX = float(p.x() - f.Left()) / float(f.Width());
    m_Data.fCenterY = float(p.y() - f.Top()) / float(f.Height());
}

void CGeometry::Move(QPoint const& delta)
{
    if (m_iState == eSelected)
        SetPos(GetCenter() + delta);
}

void CGeometry::SetRadius(QPoint const& r)
{
    const SRangedRect<int>& f = GetImageFrame();
    if (f.IsEmpty())
        return;
    m_Data.fRadiusX = std::max(float(r.x()) / float(f.Width()), 0.0f);
    m_Data.fRadiusY = std::max(float(r.y()) / float(f.Height()), 0.0f);
}

bool CGeometry::IsHittingCenter(QPoint const& p) const { return Distance(p, GetCenter()) <= 12.0; }

bool CGeometry::IsHitting(QPoint const& p) const
{
    const SRangedRect<int> s = GetSafeBoundery();
    return p.x() >= s.Left() && p.x() <= s.Right() && p.y() >= s.Top() && p.y() <= s.Bottom();
}

void CGeometry::OnMousePressEvent(QMouseEvent const* e)
{
    if (!IsInUse() || !_gui::IsActionButton(e->button()))
        return;
    if (m_iState == eHovered) {
        m_pLabel->DeselectGeometries();
        Select(true);
    }
    if (m_iState != eSelected)
        return;
    if (!IsHitting(e->pos())) {
        m_pLabel->DeselectGeometries();
        return;
    }
    m_pSizeControl->OnMousePressEvent(e);
    if (m_pSizeControl->IsActive())
        Resizing(true);
    else
        Drag(true, e->pos());
}

void CGeometry::OnMouseMoveEvent(QMouseEvent const* e)
{
    if (!IsInUse())
        return;
    switch (m_iState) {
    case eIdle:
    case eHovered:
        if (e->buttons() == Qt::NoButton)
            m_iState = IsHittingCenter(e->pos()) ? eHovered : eIdle;
        break;
    case eSelected:
    case eResizing:
        m_pSizeControl->OnMouseMoveEvent(e);
        break;
    case eMoving:
        SetPos(e->pos() - QPoint(m_iMoveX, m_iMoveY));
        break;
    default:
        break;
    }
}

void CGeometry::OnMouseReleaseEvent(QMouseEvent const* e)
{
    if (!IsInUse())
        return;
    m_pSizeControl->OnMouseReleaseEvent(e);
    const bool action = _gui::IsActionButton(e->button());
    if (m_iState == eMoving && action) {
        Drag(false);
        OnMouseMoveEvent(e);
        emit SigUpdateGeometry();
    } else if (m_iState == eResizing && action) {
        Resizing(false);
        OnMouseMoveEvent(e);
        emit SigUpdateGeometry();
    } else {
        OnMouseMoveEvent(e);
    }
}

void CGeometry::Update()
{
    if (IsInUse())
        m_pSizeControl->Update();
}

// ---- drawing ---------------------------------------------------------------------------------

QColor CGeometry::GetColor() const
{
    if (m_Data.iType == SGeometryData::eAdd)
        return QColor(128, 255, 128);
    if (m_Data.iType == SGeometryData::eSubtract)
        return QColor(255, 128, 128);
    return QColor(0, 0, 0);
}

QColor CGeometry::GetLineColor() const { return m_iState >= eHovered ? QColor(255, 255, 255) : QColor(0, 0, 0); }

QPainter::CompositionMode CGeometry::GetLineCompositionMode(QPainter const& p) const
{
    return m_iState >= eSelected ? QPainter::CompositionMode_Difference : p.compositionMode();
}

void CGeometry::DrawBoundery(QPainter& p) const
{
    const SRangedRect<int> d = GetDimension();
    if (GetLineColor() == QColor(0, 0, 0) || !IsWellFormed(d))
        return;
    p.setBrush(Qt::NoBrush);
    p.setCompositionMode(GetLineCompositionMode(p));
    auto edge = [&](QPoint a, QPoint b, int length) {
        if (length <= 0)
            return;
        QPen pen(GetLineColor(), 1, Qt::CustomDashLine);
        pen.setDashPattern({length / 64.0, length / 32.0});
        p.setPen(pen);
        p.drawLine(a, b);
    };
    const int horizontal = d.Right() - d.Left();
    const int vertical = d.Bottom() - d.Top();
    edge(QPoint(d.Left(), d.Top()), QPoint(d.Right(), d.Top()), horizontal);
    edge(QPoint(d.Right(), d.Bottom()), QPoint(d.Left(), d.Bottom()), horizontal);
    edge(QPoint(d.Left(), d.Top()), QPoint(d.Left(), d.Bottom()), vertical);
    edge(QPoint(d.Right(), d.Bottom()), QPoint(d.Right(), d.Top()), vertical);
}

void CGeometry::DrawDimension(QPainter& p) const
{
    if (m_iState < eHovered || GetImageFrame().IsEmpty())
        return;
    const SRangedRect<int> d = GetDimension();
    const QPoint c = GetCenter();
    p.setCompositionMode(GetLineCompositionMode(p));
    p.setPen(QPen(GetLineColor(), 1, Qt::DotLine));
    p.drawLine(c, QPoint(d.Left(), c.y()));
    p.drawLine(c, QPoint(d.Right(), c.y()));
    p.drawLine(c, QPoint(c.x(), d.Top()));
    p.drawLine(c, QPoint(c.x(), d.Bottom()));
}

void CGeometry::DrawCenter(QPainter& p) const
{
    QColor fill = GetColor();
    QColor ring(0, 0, 0);
    if (m_iState == eIdle) {
        const float f = m_pLabel->FlashPhase();
        fill = _hlp::MathCycle(QColor(64, 64, 64), GetColor(), _hlp::MathLimitToMax(f, 2000.0f, 0.0f));
        ring = _hlp::MathCycle(QColor(0, 0, 0), QColor(128, 128, 128), _hlp::MathLimitToMax(f, 2000.0f, 0.5f));
    }
    const QPoint c = GetCenter();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(QPointF(c), 5.0, 5.0);
    p.setBrush(fill);
    p.drawEllipse(QPointF(c), 4.0, 4.0);
    p.setBrush(fill.lighter(120));
    p.drawEllipse(QPointF(c), 2.0, 2.0);
}

void CGeometry::DrawSizeControls(QPainter& p) const
{
    if (m_iState == eSelected || m_iState == eResizing)
        m_pSizeControl->Draw(p);
}

void CGeometry::OnPaint(QPainter& p) const
{
    if (!IsInUse() || !m_pLabel->ShowGeometries())
        return;
    p.save();
    DrawBoundery(p);
    p.restore();
    p.save();
    DrawDimension(p);
    p.restore();
    p.save();
    DrawCenter(p);
    p.restore();
    p.save();
    DrawSizeControls(p);
    p.restore();
}

// ---- exchange -------------------------------------------------------------------------------

void CGeometry::GetFlatData(float* v) const
{
    v[0] = m_Data.iType == SGeometryData::eAdd ? 1.0f : m_Data.iType == SGeometryData::eSubtract ? 2.0f : 0.0f;
    v[1] = m_Data.fRadiusX;
    v[2] = m_Data.fRadiusY;
    v[3] = m_Data.fSharpness;
    v[4] = m_Data.fExponent;
    v[5] = m_Data.fIntensity;
    v[6] = m_Data.fCenterX;
    v[7] = m_Data.fCenterY;
}

void CGeometry::GetData(float* values) const
{
    if (!values)
        return;
    if (m_pLabel->DisplayGeometriesMode() == 2 || m_iState >= eHovered)
        GetFlatData(values + 8 * m_uiIndex);
}

void CGeometry::GetData(HDRPositionPicker* picker) const
{
    if (!picker)
        return;
    float v[8];
    GetFlatData(v);
    picker->SetGeometry(m_uiIndex, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
}

void CGeometry::SetData(HDRPositionPicker const* picker)
{
    Reset();
    if (!picker)
        return;
    float v[8] = {};
    picker->GetGeometry(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], m_uiIndex);
    const int type = MathRound(v[0]);
    m_Data.iType = type == 1 ? SGeometryData::eAdd : type == 2 ? SGeometryData::eSubtract : SGeometryData::eEmpty;
    m_Data.fRadiusX = Finite(v[1]);
    m_Data.fRadiusY = Finite(v[2]);
    m_Data.fSharpness = Finite(v[3]);
    m_Data.fExponent = Finite(v[4]);
    m_Data.fIntensity = Finite(v[5]);
    m_Data.fCenterX = Finite(v[6]);
    m_Data.fCenterY = Finite(v[7]);
}
