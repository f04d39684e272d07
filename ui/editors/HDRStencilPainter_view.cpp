// The clone-correction view (zoom, panning, unit editing and drawing) and the
// navigator.

#include "ui/editors/HDRStencilPainter.h"

#include "engine/core/settings.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using _hlp::MathClamp;

namespace {

QColor RgbColor(int rgb) { return QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff); }

QPoint Rounded(QPointF const& p) { return QPoint(_hlp::MathRound(float(p.x())), _hlp::MathRound(float(p.y()))); }

// The pointer as a fraction of the label's contents size; (0, 0) without one.
QPointF MousePosRel(QLabel const* label, QPoint const& p)
{
    const QRect contents = label->contentsRect();
    if (!contents.isValid())
        return QPointF(0.0, 0.0);
    return QPointF(double(p.x()) / contents.width(), double(p.y()) / contents.height());
}

double Lerp(double a, double b, double t) { return MathClamp(a + (b - a) * t, std::min(a, b), std::max(a, b)); }

} // namespace

// ---- drawing of one unit --------------------------------------------------------

QPen CStencilElement::Pen() const
{
    QColor colour(0xA0, 0xA0, 0xA0);
    if (m_pOwner->Label()->IsStencilEditEnabled()) {
        if (m_pOwner->IsSelected())
            colour = QColor(0xFF, 0xFF, 0xFF);
        else if (m_pOwner->IsMouseOver())
            colour = QColor(0xE0, 0xE0, 0x64);
    }
    return QPen(colour, 1, Qt::SolidLine);
}

QPen CStencil::LinePen() const { return m_pElements[0]->Pen(); }

void CStencilElement::OnPaint(QPainter& p) const
{
    p.save();
    p.setPen(Pen());
    const QPointF c = Pos();
    if (!m_pOwner->Label()->IsStencilEditEnabled()) {
        _gui::DrawShadowedCross(p, c, 6.0f);
        p.restore();
        return;
    }
    const QPoint centre = Rounded(c);
    const int r = static_cast<int>(Radius());
    if (m_eType == eDestination) {
        _gui::DrawShadowedEllipse(p, centre, r);
    } else {
        for (int k = 0; k < 8; ++k)
            _gui::DrawShadowedArc(p, centre, r, -11 + 45 * k, 22);
        if (!m_pOwner->GetData().bAutomatic) {
            // Four ticks from the corners of the bounding square mark a
            // source placed by hand.
            for (int sx : {-1, 1})
                for (int sy : {-1, 1}) {
                    const QPoint corner = centre + QPoint(sx * r, sy * r);
                    const QPoint half = centre + QPoint(sx * r / 2, sy * r / 2);
                    _gui::DrawShadowedLine(p, QLine(corner, half));
                }
        }
    }
    p.restore();
}

void CStencil::OnPaint(QPainter& p) const
{
    if (!m_bInUse)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const bool full = m_pLabel->ShowSources() || IsMouseOver() || IsSelected();
    if (full) {
        const QPointF src = SrcPos();
        const QPointF dst = DstPos();
        QPointF from = src, to = dst;
        if (m_pLabel->IsStencilEditEnabled()) {
            const QPointF d = dst - src;
            const double distance = std::sqrt(d.x() * d.x() + d.y() * d.y());
            const double r = Radius();
            if (distance > 0.0) {
                const QPointF unit = d / distance;
                from = src + unit * r;
                to = from + unit * std::max(distance - 2.0 * r, 0.0);
            }
        }
        p.setPen(LinePen());
        _gui::DrawShadowedLine(p, QLine(Rounded(from), Rounded(to)));
        m_pElements[1]->OnPaint(p);
    }
    m_pElements[0]->OnPaint(p);
    p.restore();
}

// ---- CStencilLabel ----------------------------------------------------------------

CStencilLabel::CStencilLabel(CStencilPainter* painter) : _gui::CBaseLabel(painter)
{
    setMouseTracking(true);
    for (unsigned int i = 0; i < kSlots; ++i)
        m_pStencils[i] = new CStencil(this);
    Reset();
}

CStencilLabel::~CStencilLabel()
{
    for (CStencil*& s : m_pStencils) {
        delete s;
        s = nullptr;
    }
}

CStencilPainter* CStencilLabel::Painter() const
{
    return static_cast<CStencilPainter*>(const_cast<QWidget*>(BaseParent()));
}

bool CStencilLabel::ShowSources() const { return Painter()->IsShowSources(); }

void CStencilLabel::Reset()
{
    m_fZoom = 1.0f;
    m_bPanning = false;
    m_bMouseInside = false;
    m_dZoomCenterX = m_dZoomCenterY = 0.5;
    m_dAspectW = m_dAspectH = 1.0;
    m_dMouseX = m_dMouseY = 0.0;
    m_dLastMouseX = m_dLastMouseY = 0.0;
    m_ContentRect = m_ImageRect = m_ImageArea = m_CenterLimits = QRectF();
    m_ImagePos.Reset();
    m_SpareData.Reset();
    m_RawData.Reset();
}

void CStencilLabel::CalcParam()
{
    m_ContentRect = m_ImageRect = m_ImageArea = QRectF();
    const SImageMetric& image = Painter()->GetImageMetric();
    const QRect contents = contentsRect();
    if (!contents.isValid() || !image.IsValid() || !(m_fZoom > 0.0f))
        return;
    if (!(contents.width() > 6 && contents.height() > 6))
        return;
    m_ContentRect = QRectF(contents.x() + 3, contents.y() + 3, contents.width() - 6, contents.height() - 6);
    m_ImageRect = QRectF(0, 0, image.uiWidth, image.uiHeight);
    const QSizeF fit = _hlp::MathAdjustAspect(m_ContentRect.size(), m_ImageRect.size());
    m_dAspectW = m_ContentRect.width() / fit.width();
    m_dAspectH = m_ContentRect.height() / fit.height();
    m_ImageArea = QRectF(m_ContentRect.topLeft(), QSizeF(fit.width() * m_fZoom, fit.height() * m_fZoom));

    // Per axis: the range of the zoom centre, and the area's shift that puts
    // the centre in the middle of the view (an image smaller than the view
    // is centred).
    struct SAxis {
        double lo, hi, shift;
    };
    auto axis = [](double cw, double aw, double& centre) {
        const double dx = cw - aw;
        const double c = dx - cw / 2.0;
        const double d = cw / 2.0;
        SAxis a{0.5, 0.5, 0.0};
        if (dx < 0.0) {
            a.lo = MathClamp((dx - c) / (d - c), 0.0, 1.0);
            a.hi = MathClamp((0.0 - c) / (d - c), 0.0, 1.0);
        }
        centre = MathClamp(centre, a.lo, a.hi);
        a.shift = MathClamp(c + (d - c) * (1.0 - centre), c, d);
        return a;
    };
    const SAxis h = axis(m_ContentRect.width(), m_ImageArea.width(), m_dZoomCenterX);
    const SAxis v = axis(m_ContentRect.height(), m_ImageArea.height(), m_dZoomCenterY);
    m_CenterLimits = QRectF(h.lo, v.lo, h.hi - h.lo, v.hi - v.lo);
    m_ImageArea.translate(h.shift, v.shift);
}

void CStencilLabel::Update()
{
    CalcParam();
    for (CStencil* s : m_pStencils)
        s->Update();
    repaint();
}

QPointF CStencilLabel::GetMousePosRel(QPoint const& p) const { return MousePosRel(this, p); }

QPointF CStencilLabel::GetImagePosRel(QPoint const& p) const
{
    const double cw = m_ContentRect.width(), ch = m_ContentRect.height();
    const double aw = m_ImageArea.width(), ah = m_ImageArea.height();
    if (!(cw > 0 && ch > 0 && aw > 0 && ah > 0))
        return QPointF(-1.0, -1.0);
    const QPointF m = GetMousePosRel(p);
    const double ax = m_ImageArea.x(), ay = m_ImageArea.y();
    return QPointF(Lerp(-ax, cw - ax, m.x()) / aw, Lerp(-ay, ch - ay, m.y()) / ah);
}

QPointF CStencilLabel::GetImagePos(QPointF const& rel) const
{
    if (m_ImageArea.isEmpty())
        return QPointF(0.0, 0.0);
    return QPointF(static_cast<float>(m_ImageArea.width() * rel.x() + m_ImageArea.x()),
                   static_cast<float>(m_ImageArea.height() * rel.y() + m_ImageArea.y()));
}

float CStencilLabel::RadiusRelToRadius(float radius) const
{
    if (m_ImageArea.isEmpty())
        return 0.0f;
    return static_cast<float>(radius * std::min(m_ImageArea.width(), m_ImageArea.height()));
}

bool CStencilLabel::IsStencilEditEnabled() const { return RadiusRelToRadius(SStencilData::kMinRadius) >= 6.0f; }

QRectF CStencilLabel::GetZoomRect() const
{
    const double cw = m_ContentRect.width(), ch = m_ContentRect.height();
    const double aw = m_ImageArea.width(), ah = m_ImageArea.height();
    if (!(cw > 0 && ch > 0 && aw > 0 && ah > 0))
        return QRectF(0, 0, 0, 0);
    const double dx = m_ImageArea.x() - m_ContentRect.x();
    const double dy = m_ImageArea.y() - m_ContentRect.y();
    const double left = dx >= 0 ? 0.0 : -dx / aw;
    const double width = dx >= 0 ? (cw - 2.0 * dx) / aw : cw / aw;
    const double top = dy >= 0 ? 0.0 : -dy / ah;
    const double height = dy >= 0 ? (ch - 2.0 * dy) / ah : ch / ah;
    return QRectF(left, top, width, height);
}

void CStencilLabel::Zoom(float factor)
{
    const double cw = m_ContentRect.width(), ch = m_ContentRect.height();
    const double w = m_ImageRect.width(), h = m_ImageRect.height();
    if (!(cw > 0 && ch > 0 && w > 0 && h > 0))
        return;
    const float maximum = static_cast<float>(std::max(std::max(10.0 * w / cw, 1.0), std::max(10.0 * h / ch, 1.0)));
    m_fZoom = MathClamp(factor * m_fZoom, 1.0f, maximum);
    CalcParam();
}

void CStencilLabel::OnWheel(int delta, QPoint const& p)
{
    Zoom(delta >= 0 ? 1.1f : 0.9090909f);
    const QPointF m = GetMousePosRel(p);
    m_dMouseX = m.x();
    m_dMouseY = m.y();
    m_ImagePos = GetImagePosRel(p);
    if (!IsStencilEditEnabled())
        emit SigSetNewStencil(false);
    emit SigUpdate();
}

void CStencilLabel::OnSetZoomCenter(QPointF const& c)
{
    m_dZoomCenterX = c.x();
    m_dZoomCenterY = c.y();
    emit SigUpdate();
}

void CStencilLabel::OnMouseMove(QPointF const& point, CImagePosRel const& pos, bool held)
{
    for (CStencil* s : m_pStencils)
        s->ClrMouseOver();
    const unsigned int selected = SelectedIdx();
    if (selected < kSlots)
        m_pStencils[selected]->OnMouseMove(point, pos, held);
    for (unsigned int i = kSlots; i-- > 0;) {
        m_pStencils[i]->OnMouseMove(point, pos, held);
        if (m_pStencils[i]->IsMouseOver())
            break;
    }
}

void CStencilLabel::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->pos();
    const QPointF m = GetMousePosRel(p);
    m_dMouseX = m.x();
    m_dMouseY = m.y();
    m_ImagePos = GetImagePosRel(p);
    Deselect();
    if (m_ImagePos.IsHittingImage()) {
        const bool action = _gui::IsActionButton(e->button());
        if (Painter()->IsNewStencilMode()) {
            emit SigSetNewStencil(false);
            if (IsStencilEditEnabled() && action) {
                const unsigned int before = GetNumStencils();
                AddStencil(m_ImagePos.ToPointF());
                if (GetNumStencils() > before && m_pLastAdded) {
                    // The same press can drag the new unit's destination.
                    OnMouseMove(QPointF(p), m_ImagePos, true);
                    m_pLastAdded->OnMousePress(m_ImagePos, true);
                }
            }
        } else if (IsMouseOver() && IsStencilEditEnabled()) {
            m_pStencils[MouseOverIdx()]->OnMousePress(m_ImagePos, action);
        } else if (action) {
            m_dLastMouseX = m_dMouseX;
            m_dLastMouseY = m_dMouseY;
            m_bPanning = true;
        }
    }
    emit SigUpdate();
}

void CStencilLabel::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->pos();
    const QPointF m = GetMousePosRel(p);
    m_dMouseX = m.x();
    m_dMouseY = m.y();
    m_ImagePos = GetImagePosRel(p);
    if (m_bPanning) {
        m_dZoomCenterX -= (m_dMouseX - m_dLastMouseX) * m_dAspectW / m_fZoom;
        m_dZoomCenterY -= (m_dMouseY - m_dLastMouseY) * m_dAspectH / m_fZoom;
        m_dLastMouseX = m_dMouseX;
        m_dLastMouseY = m_dMouseY;
    } else if (IsStencilEditEnabled()) {
        OnMouseMove(QPointF(p), m_ImagePos, _gui::IsActionButtonPressed(e->buttons()));
    }
    emit SigUpdate();
}

void CStencilLabel::mouseReleaseEvent(QMouseEvent*)
{
    if (!m_bPanning) {
        if (IsSelected())
            UpdateStencilData(SelectedIdx(), false);
        emit SigCreatePixmap();
    }
    m_bPanning = false;
    m_dLastMouseX = m_dLastMouseY = 0.0;
    emit SigUpdate();
}

void CStencilLabel::mouseDoubleClickEvent(QMouseEvent*)
{
    if (IsStencilEditEnabled() && IsMouseOver()) {
        if (m_pStencils[MouseOverIdx()]->MouseOverElement() == 2)
            emit SigToggleBestMatch();
        return;
    }
    m_fZoom = 1.0f;
    emit SigUpdate();
}

void CStencilLabel::wheelEvent(QWheelEvent* e) { OnWheel(e->angleDelta().y(), e->position().toPoint()); }

void CStencilLabel::enterEvent(QEnterEvent*)
{
    m_bMouseInside = true;
    emit SigUpdate();
}

void CStencilLabel::leaveEvent(QEvent*)
{
    m_bMouseInside = false;
    emit SigUpdate();
}

void CStencilLabel::DrawBorder(QPainter& p) const
{
    const QRect r = contentsRect();
    p.save();
    p.setPen(QPen(RgbColor(MP_UI_GetLineColor(0)), 1, Qt::SolidLine));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(QPen(RgbColor(MP_UI_GetLineColor(1)), 1, Qt::SolidLine));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.restore();
}

void CStencilLabel::DrawStencils(QPainter& p) const
{
    for (CStencil* s : m_pStencils)
        if (!s->IsMouseOver() && !s->IsSelected())
            s->OnPaint(p);
    for (CStencil* s : m_pStencils)
        if (s->IsMouseOver() && !s->IsSelected())
            s->OnPaint(p);
    for (CStencil* s : m_pStencils)
        if (s->IsSelected())
            s->OnPaint(p);
}

void CStencilLabel::DrawNewStencilCursor(QPainter& p) const
{
    if (!Painter()->IsNewStencilMode() || !m_bMouseInside || !m_ImagePos.IsHittingImage())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    const int r = static_cast<int>(RadiusRelToRadius(Painter()->GetNewStencilData().fRadius));
    _gui::DrawShadowedEllipse(p, Rounded(GetImagePos(m_ImagePos.ToPointF())), r);
    p.restore();
}

void CStencilLabel::paintEvent(QPaintEvent*)
{
    const QPixmap* pixmap = Painter()->GetPixmap(0);
    if (!_gui::IsPixmapValid(pixmap) || m_ContentRect.isEmpty() || m_ImageArea.isEmpty() || m_ImageRect.isEmpty())
        return;
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    DrawBorder(p);
    p.setClipRect(m_ContentRect);
    p.drawPixmap(m_ImageArea, *pixmap, m_ImageRect);
    if (Painter()->IsMouseInside()) {
        p.setClipRect(m_ContentRect & m_ImageArea);
        DrawStencils(p);
        DrawNewStencilCursor(p);
    }
}

// ---- CRadarLabel --------------------------------------------------------------------

CRadarLabel::CRadarLabel(CStencilPainter* painter) : _gui::CBaseLabel(painter)
{
    setMouseTracking(true);
    Reset();
}

CStencilPainter* CRadarLabel::Painter() const
{
    return static_cast<CStencilPainter*>(const_cast<QWidget*>(BaseParent()));
}

void CRadarLabel::Reset()
{
    m_bDragging = false;
    m_ContentRect = m_ImageRect = m_ImageArea = QRectF();
}

void CRadarLabel::CalcParam()
{
    m_ContentRect = m_ImageRect = m_ImageArea = QRectF();
    const SImageMetric& image = Painter()->GetImageMetric();
    const QRect contents = contentsRect();
    if (!contents.isValid() || !image.IsValid())
        return;
    m_ContentRect = QRectF(contents);
    m_ImageRect = QRectF(0, 0, image.uiWidth, image.uiHeight);
    const QSizeF area =
        _hlp::MathAdjustAspect(QSizeF(m_ContentRect.width() - 6, m_ContentRect.height() - 6), m_ImageRect.size());
    m_ImageArea = QRectF(QPointF(std::max(m_ContentRect.width() - area.width(), 0.0) / 2.0,
                                 std::max(m_ContentRect.height() - area.height(), 0.0) / 2.0),
                         area);
}

void CRadarLabel::Update()
{
    CalcParam();
    repaint();
}

QPointF CRadarLabel::GetMousePosRel(QPoint const& p) const { return MousePosRel(this, p); }

QPointF CRadarLabel::GetImagePosRel(QPoint const& p) const
{
    const double aw = m_ImageArea.width(), ah = m_ImageArea.height();
    if (!(aw > 0 && ah > 0))
        return QPointF(-1.0, -1.0);
    const QPointF m = GetMousePosRel(p);
    const double ax = m_ImageArea.x(), ay = m_ImageArea.y();
    return QPointF(Lerp(-ax, aw + ax, m.x()) / aw, Lerp(-ay, ah + ay, m.y()) / ah);
}

QPointF CRadarLabel::MapToImageAera(QPointF const& p) const
{
    if (m_ImageArea.isEmpty())
        return QPointF(0.0, 0.0);
    return QPointF(m_ImageArea.width() * p.x() + m_ImageArea.x(), m_ImageArea.height() * p.y() + m_ImageArea.y());
}

QRectF CRadarLabel::MapToImageAera(QRectF const& r) const
{
    return QRectF(MapToImageAera(r.topLeft()), MapToImageAera(r.bottomRight()));
}

void CRadarLabel::mousePressEvent(QMouseEvent* e)
{
    m_bDragging = true;
    emit SigSetZoomCenter(GetImagePosRel(e->pos()));
}

void CRadarLabel::mouseMoveEvent(QMouseEvent* e)
{
    if (m_bDragging)
        emit SigSetZoomCenter(GetImagePosRel(e->pos()));
}

void CRadarLabel::mouseReleaseEvent(QMouseEvent*) { m_bDragging = false; }

void CRadarLabel::wheelEvent(QWheelEvent* e) { emit SigWheel(e->angleDelta().y(), e->position().toPoint()); }

void CRadarLabel::paintEvent(QPaintEvent*)
{
    const QPixmap* pixmap = Painter()->GetPixmap(1);
    if (!_gui::IsPixmapValid(pixmap) || m_ImageRect.isEmpty() || m_ImageArea.isEmpty())
        return;
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.fillRect(m_ContentRect, RgbColor(MP_UI_GetBackgroundColor()));
    p.drawPixmap(m_ImageArea, *pixmap, m_ImageRect);
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    QRectF zoom = MapToImageAera(Painter()->GetZoomRect());
    zoom.setWidth(zoom.width() - 1.0);
    zoom.setHeight(zoom.height() - 1.0);
    if (zoom.width() >= 5.0 && zoom.height() >= 5.0)
        p.drawRect(zoom);
    else
        _gui::DrawCross(p, zoom.center(), 6.0f);
}
