#pragma once
// The compare dock: the picture before and after the current stage in one
// letterboxed view, split by a draggable divider (vertical, horizontal or
// diagonal), with sides that can be swapped and a luminance marking chosen on
// the luminance bar below. The engine renders; the dock asks for buffers
// through the view host.

#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/AK_GlobalWidgets.h"
#include "ui/views/viewrender.h"

#include <QDockWidget>
#include <QLine>
#include <QLineF>

#include <utility>

class CLuminanceLabel;
class QButtonGroup;
class QPushButton;
class QVBoxLayout;
class QMouseEvent;
class QPainter;

// Settings key (window-state file) of the main window's compare action.
extern const char* const pcCOMPARE_WINDOW_CHECKED_ID;

class CCompareDivider {
public:
    enum EOrientation { eO_NONE = 0, eO_VERTICAL = 1, eO_HORIZONTAL = 2, eO_DIAGONAL1 = 3, eO_DIAGONAL2 = 4 };

    CCompareDivider() { Reset(); }

    void Reset();
    // A new orientation puts the divider back to the middle.
    void SetOrientation(EOrientation orientation);
    EOrientation GetOrientation() const { return m_eOrientation; }
    // The image frame in label pixels (right and bottom exclusive); one of 9
    // pixels or less leaves the divider unavailable.
    void SetImageFrame(const _hlp::SRangedRect<int>& rect);
    bool IsAvailable() const;
    float GetPosition() const { return m_fPosition.Get(); }
    bool IsHover() const { return m_bHover; }
    bool IsActive() const { return m_bActive; }

    float GetDividerRailLen() const;
    QLineF GetDividerBase() const;
    QLine GetDividerPoints() const;
    std::pair<_hlp::SRangedPointRel, _hlp::SRangedPointRel> GetDividerPointsRel() const;
    QPoint GetDividerCenterPos() const;
    QLine ClipToRect(const QLine& line, const _hlp::SRangedRect<int>& rect) const;
    float GetDistance(const QPoint& p) const;
    bool IsHittingDivider(const QPoint& p) const;
    bool IsHittingFrame(const QPoint& p) const;
    bool Activate(const QPoint& p);
    void OnMouseMove(const QPoint& p, bool noButtons);
    void OnMousePressEvent(const QMouseEvent* event);
    void OnMouseMoveEvent(const QMouseEvent* event);
    void OnMouseReleaseEvent(const QMouseEvent* event);
    void OnLeaveEvent(const QEvent* event);
    void OnPaint(QPainter& painter);
    void DrawDivider(QPainter& painter);

private:
    bool m_bHover = false;
    bool m_bActive = false;
    EOrientation m_eOrientation = eO_NONE;
    QPoint m_ptGrabOffset;
    _hlp::SRangedValueRel m_fPosition;
    _hlp::SRangedRect<int> m_rcFrame;
};

class CCompareLabel : public _gui::CBaseLabel {
    Q_OBJECT
public:
    explicit CCompareLabel(QWidget* parent);
    ~CCompareLabel() override;

    // Renders the comparison of the stage's two buffers; missing buffers or
    // buffers of different sizes leave the picture as it was.
    void Update(unsigned int lumMode, bool flip, const CLuminanceLabel* luminance);
    void Reset() { m_pDivider->Reset(); }
    void SetOrientation(CCompareDivider::EOrientation o) { m_pDivider->SetOrientation(o); }
    bool IsCompareAvailable() const { return m_pDivider->IsAvailable(); }
    const unsigned short* GetLeftBuffer(int& width, int& height) const;
    const unsigned short* GetRightBuffer(int& width, int& height) const;
    bool GetLeftShowGamma() const;
    bool GetRightShowGamma() const;
    std::pair<_hlp::SRangedPointRel, _hlp::SRangedPointRel> GetDividerPointsRel() const
    {
        return m_pDivider->GetDividerPointsRel();
    }
    CCompareDivider* Divider() const { return m_pDivider; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    _hlp::CGrowingBuffer<unsigned int> m_Buffer;
    CCompareDivider* m_pDivider;
};

class CCompareDockWidget : public QDockWidget {
    Q_OBJECT
public:
    CCompareDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

    // Re-renders when visible (true); a hidden dock does nothing (false).
    bool Refresh();
    void Reset();
    void SetDefaultSizing(bool adjust);

    void Update();
    CCompareLabel* CompareLabel() const { return m_pCompareLabel; }
    CLuminanceLabel* LuminanceLabel() const { return m_pLuminanceLabel; }
    QPushButton* OrientationButton(int i) const { return m_apOrientationButtons[i]; }
    QPushButton* FlipButton() const { return m_pFlipButton; }
    QPushButton* LuminanceButton() const { return m_pLuminanceButton; }
    QPushButton* LuminanceModeButton() const { return m_pLuminanceModeButton; }
    int LuminanceMode() const { return m_iLuminanceMode; }

signals:
    void SigClosed();

public slots:
    void OnUpdate();
    void OnOrientationChanged(int id);
    void OnFlipSide(bool flip);
    void OnLuminanceEnable(bool enable);
    void OnLuminanceMode();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Render();
    void EnableControls();
    void SetFixedSize();
    void SetDynamicSize();
    void SetOrientationModeIcon();
    void SetLuminanceModeIcon();
    void CreateUpperControls(QVBoxLayout* layout);
    void CreateImage(QVBoxLayout* layout);
    void CreateLowerControls(QVBoxLayout* layout);

    bool m_bFlipSide = false;
    bool m_bLuminanceEnabled = false;
    int m_iLuminanceMode = 0;
    CCompareLabel* m_pCompareLabel = nullptr;
    QPushButton* m_apOrientationButtons[4] = {};
    QPushButton* m_pFlipButton = nullptr;
    QPushButton* m_pLuminanceButton = nullptr;
    QPushButton* m_pLuminanceModeButton = nullptr;
    CLuminanceLabel* m_pLuminanceLabel = nullptr;
    QButtonGroup* m_pOrientationGroup = nullptr;
    CViewRenderGate m_Gate{this};
};
