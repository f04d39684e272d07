#pragma once
// The crop window's selection model: the image frame and the selection in
// label pixels (right and bottom inclusive), and the nine grips that move
// and resize it. No widget: the view label forwards its pointer events and
// its painter here.

#include "ui/toolkit/AK_Global.h"

#include <QPoint>

class QPainter;
class CCropSelection;

class CCropHandle {
public:
    enum EAlignment : unsigned int { eA_LEFT = 1, eA_TOP = 2, eA_RIGHT = 4, eA_BOTTOM = 8, eA_CENTER = 16 };

    explicit CCropHandle(CCropSelection* owner);

    // Hover, drag and grab offset cleared; the handle enabled.
    void Reset();
    void SetEnable(bool enable) { m_bEnabled = enable; }
    bool IsEnabled() const { return m_bEnabled; }
    void SetAlignment(unsigned int alignment) { m_uiAlignment = alignment; }
    unsigned int GetAlignment() const { return m_uiAlignment; }
    void SetPos(const QPoint& pos) { m_Pos = pos; }
    QPoint GetPos() const { return m_Pos; }
    QPoint GetOffset() const { return m_Offset; }
    bool IsActive() const { return m_bActive; }
    bool IsHovered() const { return m_bHovered; }
    // The centre handle: the point lies in the selection (which then differs
    // from the whole frame); any other: at most 9 pixels from the handle.
    bool IsHitting(const QPoint& pos) const;

    void OnMousePressEvent(const QPoint& pos, Qt::MouseButton button);
    void OnMouseMoveEvent(const QPoint& pos, Qt::MouseButtons buttons);
    void OnMouseReleaseEvent(const QPoint& pos, Qt::MouseButton button);
    void OnLeaveEvent();
    void OnPaint(QPainter& painter) const;

    // The L-shaped corner bracket, arms pointing along (sx, sy).
    void DrawCorner(QPainter& painter, int sx, int sy) const;
    // A bar along a horizontal (true) or vertical (false) edge.
    void DrawSide(QPainter& painter, bool horizontal) const;

private:
    void ClearState();
    void EvaluateHover(const QPoint& pos, Qt::MouseButtons buttons);

    CCropSelection* m_pOwner;
    bool m_bEnabled = true;
    bool m_bHovered = false;
    bool m_bActive = false;
    unsigned int m_uiAlignment = 0;
    QPoint m_Pos;
    QPoint m_Offset;
};

class CCropSelection {
public:
    static constexpr int kMinimumSize = 40;   // the selection never gets smaller
    static constexpr int kHandleCount = 9;

    CCropSelection();
    ~CCropSelection();
    CCropSelection(const CCropSelection&) = delete;
    CCropSelection& operator=(const CCropSelection&) = delete;

    // Takes the image frame (label pixels, right and bottom exclusive) while
    // none is stored, and selects the whole frame; later calls change nothing.
    void SetFrame(const _hlp::SRangedRect<int>& frame, float aspect);
    // The whole frame, ranges included.
    _hlp::SRangedRect<int> GetDefaultSelection() const;
    // Handle positions and enabled flags from the selection.
    void Update();
    // Aspect free, frame and selection cleared, every handle reset.
    void Reset();
    // The selection in fractions of the frame; (0, 0, 1, 1) without one.
    _hlp::SRangedRectRel GetRel() const;
    bool HasSelection() const;
    bool IsHitting(const QPoint& pos) const;
    CCropHandle* GetActiveHandle() const;
    bool IsHandleActive() const { return GetActiveHandle() != nullptr; }

    void OnMousePressEvent(const QPoint& pos, Qt::MouseButton button);
    void OnMouseMoveEvent(const QPoint& pos, Qt::MouseButtons buttons);
    void OnMouseReleaseEvent(const QPoint& pos, Qt::MouseButton button);
    void OnLeaveEvent();
    void OnPaint(QPainter& painter) const;

    const _hlp::SRangedRect<int>& Frame() const { return m_Frame; }
    const _hlp::SRangedRect<int>& Selection() const { return m_Selection; }
    float Aspect() const { return m_fAspect; }
    CCropHandle* Handle(int index) const { return m_pHandles[index]; }

private:
    void Drag(CCropHandle& handle, const QPoint& pos);

    float m_fAspect = -1.0f;
    _hlp::SRangedRect<int> m_Frame;
    _hlp::SRangedRect<int> m_Selection;
    CCropHandle* m_pHandles[kHandleCount];
};
