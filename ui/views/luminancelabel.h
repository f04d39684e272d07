#pragma once
// The luminance bar beneath the comparison: a grey ramp with two draggable
// thresholds (lower and upper, 0..1, at least 0.05 apart); the ramp shows the
// marking of the comparison's luminance mode.

#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/AK_GlobalWidgets.h"

#include <QColor>
#include <QRect>

class CLuminanceLabel;
class QMouseEvent;
class QPainter;
class QEvent;

class CLuminanceHandle {
public:
    explicit CLuminanceHandle(CLuminanceLabel* label);

    int GetPos() const;
    _hlp::SRangedValueRel GetPosRel() const { return m_fPosRel; }
    void SetPosRel(const _hlp::SRangedValueRel& pos) { m_fPosRel = pos.Get(); }
    int GetOffsetX() const { return m_iOffsetX; }
    bool IsActive() const { return m_bActive; }
    bool IsHover() const { return m_bHover; }
    bool IsHitting(int x) const;
    void Reset();
    void OnMouseMove(int x, bool noButtons);
    void OnMousePressEvent(const QMouseEvent* event);
    void OnMouseMoveEvent(const QMouseEvent* event);
    void OnMouseReleaseEvent(const QMouseEvent* event);
    void OnLeaveEvent(const QEvent* event);
    void OnPaint(QPainter& painter);
    void DrawGrip(QPainter& painter, const QPoint& tip);

private:
    CLuminanceLabel* m_pLabel;
    _hlp::SRangedValueRel m_fPosRel;
    bool m_bHover = false;
    bool m_bActive = false;
    int m_iOffsetX = 0;
};

class CLuminanceLabel : public _gui::CBaseLabel {
    Q_OBJECT
public:
    static const float pfHANDLE_DEFAULT_POS[2];
    static const float fHANDLE_MIN_DIST_REL;

    explicit CLuminanceLabel(QWidget* parent);
    ~CLuminanceLabel() override;

    // Renders the ramp for the comparison's luminance mode (0: marking off).
    void Update(unsigned int lumMode);
    void Reset();
    _hlp::SRangedValueRel GetPosRel(unsigned int index) const;
    QRect GetGradientRect() const;
    int GetPos(_hlp::SRangedValueRel rel) const;
    _hlp::SRangedValueRel GetXPosRel(int x) const;
    // 0 or 1 for the dragged handle, 0xFFFFFFFF for none.
    unsigned int GetActiveHandle() const;
    QColor AdjustColor(QColor colour) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool HasPicture() const;

    CLuminanceHandle* m_apHandles[2];
    _hlp::CGrowingBuffer<unsigned int> m_Buffer;
};
