#pragma once
// The mask geometry painter: edits the 32 geometries of one operator's
// geometry picker (soft superellipses that add to or cut from the area where
// the operator acts) over the current result image, and writes them back into
// the picker after every finished change.
//
// - SGeometryData: the values of one geometry (all fractions 0..1);
// - CGeometry with its resize frame (CSizeControl, eight CSizeHandle): one
//   interactive geometry in the view;
// - CGeometryLabel: the view, owner of the 32 geometries;
// - CGeometryPainter: the dialog.

#include "ui/editors/editorseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/AK_GlobalWidgets.h"
#include "ui/views/viewrender.h"

#include <QDialog>
#include <QObject>
#include <QPainter>

#include <functional>

class CGeometry;
class CGeometryLabel;
class CGeometryPainter;
class CSizeControl;
class HDRPositionPicker;
class HDRSlider;
class QButtonGroup;
class QHideEvent;
class QEnterEvent;
class QLabel;
class QMouseEvent;
class QPushButton;
class QShortcut;
class QTimer;
class QVBoxLayout;

struct SGeometryData {
    enum EType { eEmpty = 0, eAdd = 1, eSubtract = 2 };

    SGeometryData() { Reset(); }
    void Reset();

    int iType;
    _hlp::SRangedValueRel fRadiusX;
    _hlp::SRangedValueRel fRadiusY;
    _hlp::SRangedValueRel fSharpness;
    _hlp::SRangedValueRel fExponent;
    _hlp::SRangedValueRel fIntensity;
    _hlp::SRangedValueRel fCenterX;
    _hlp::SRangedValueRel fCenterY;
};

class CSizeHandle {
public:
    CSizeHandle(CSizeControl* control, unsigned int flags);
    void Reset();
    bool IsActive() const { return m_bVisible && m_bPressed; }
    bool IsHitting(QPoint const& p) const;
    void Update();
    void Draw(QPainter& p) const;
    void DrawCorner(QPainter& p, int sx, int sy) const;
    void DrawSide(QPainter& p, bool lying) const;
    void OnMousePressEvent(QMouseEvent const* e);
    void OnMouseMoveEvent(QMouseEvent const* e);
    void OnMouseReleaseEvent(QMouseEvent const* e);

    unsigned int Flags() const { return m_uiFlags; }
    bool IsVisible() const { return m_bVisible; }
    bool IsHovered() const { return m_bHovered; }
    QPoint Pos() const { return QPoint(m_iX, m_iY); }

private:
    CSizeControl* m_pControl;
    unsigned int m_uiFlags; // 1 left, 2 top, 4 right, 8 bottom
    bool m_bVisible;
    bool m_bHovered;
    bool m_bPressed;
    int m_iX;
    int m_iY;
    int m_iOffsetX;
    int m_iOffsetY;
};

class CSizeControl {
public:
    explicit CSizeControl(CGeometry* geometry);
    ~CSizeControl();
    CSizeControl(CSizeControl const&) = delete;
    CSizeControl& operator=(CSizeControl const&) = delete;

    void Reset();
    void Update();
    void Draw(QPainter& p) const;
    bool IsActive() const;
    void OnMousePressEvent(QMouseEvent const* e);
    void OnMouseMoveEvent(QMouseEvent const* e);
    void OnMouseReleaseEvent(QMouseEvent const* e);

    CGeometry* Geometry() const { return m_pGeometry; }
    CSizeHandle* Handle(unsigned int i) const { return i < 8 ? m_pHandles[i] : nullptr; }

private:
    CGeometry* m_pGeometry;
    CSizeHandle* m_pHandles[8];
};

class CGeometry : public QObject {
    Q_OBJECT
public:
    enum EState { eIdle = 0, eHovered = 1, eSelected = 2, eMoving = 3, eResizing = 4 };

    CGeometry(CGeometryLabel* label, unsigned int index);
    ~CGeometry() override;

    bool IsInUse() const { return m_Data.iType != SGeometryData::eEmpty; }
    bool IsSelected() const { return m_iState >= eSelected; }
    int State() const { return m_iState; }
    unsigned int Index() const { return m_uiIndex; }

    SGeometryData const& GetData() const { return m_Data; }
    void SetData(SGeometryData const& data);
    void CopyData(CGeometry const& other);
    void Reset();
    void SetDefaults(bool add);
    void SetDefaultPosition();

    void Select(bool on);
    void Select();
    void Deselect();
    void Resizing(bool on);
    void Drag(bool on, QPoint const& p = QPoint());

    QPoint GetCenter() const;
    QPoint GetRadius() const;
    _hlp::SRangedRect<int> GetDimension() const;
    _hlp::SRangedRect<int> GetSafeBoundery() const;
    void SetPos(QPoint const& p);
    void Move(QPoint const& delta);
    void SetRadius(QPoint const& r);

    bool IsHittingCenter(QPoint const& p) const;
    bool IsHitting(QPoint const& p) const;

    void OnMousePressEvent(QMouseEvent const* e);
    void OnMouseMoveEvent(QMouseEvent const* e);
    void OnMouseReleaseEvent(QMouseEvent const* e);

    void Update();
    void OnPaint(QPainter& p) const;

    void GetData(float* values) const;
    void GetData(HDRPositionPicker* picker) const;
    void SetData(HDRPositionPicker const* picker);
    // The eight floats of the flat form.
    void GetFlatData(float* values) const;

    QColor GetColor() const;
    QColor GetLineColor() const;
    QPainter::CompositionMode GetLineCompositionMode(QPainter const& p) const;
    _hlp::SRangedRect<int> const& GetImageFrame() const;
    _hlp::SRangedRect<int> const& GetFrame() const;
    CGeometryLabel* Label() const { return m_pLabel; }
    CSizeControl* SizeControl() const { return m_pSizeControl; }

signals:
    void SigUpdateGeometry();
    void SigSelectionChanged();

private:
    void DrawBoundery(QPainter& p) const;
    void DrawDimension(QPainter& p) const;
    void DrawCenter(QPainter& p) const;
    void DrawSizeControls(QPainter& p) const;

    unsigned int m_uiIndex;
    CGeometryLabel* m_pLabel;
    int m_iState;
    int m_iMoveX;
    int m_iMoveY;
    CSizeControl* m_pSizeControl;
    SGeometryData m_Data;
};

class CGeometryLabel : public _gui::CBaseLabel {
    Q_OBJECT
public:
    static constexpr unsigned int kSlots = 32;
    static constexpr unsigned int kNone = 0xFFFFFFFFu;

    explicit CGeometryLabel(CGeometryPainter* painter);
    ~CGeometryLabel() override;

    void Reset();
    bool IsGeometryInUse() const;
    unsigned int GetUnusedGeometry() const;
    bool IsGeometryUnused() const { return GetUnusedGeometry() < kSlots; }
    unsigned int GetHighestUsedGeometry() const;
    unsigned int GetSelectedGeometry() const;
    bool IsGeometrySelected() const { return GetSelectedGeometry() < kSlots; }
    _hlp::SRangedRect<int> const& GetFrame() const { return m_Frame; }
    _hlp::SRangedRect<int> const& GetImageFrame() const { return m_ImageFrame; }

    void SetGeometries(HDRPositionPicker const* picker);
    void GetGeometries(HDRPositionPicker* picker) const;
    void AddGeometry(bool add);
    void SelectGeometry(unsigned int i);
    void SelectOther(bool next);
    void DeselectGeometries();
    void DeleteSelectedGeometry();
    void DuplicateSelectedGeometry();
    void InvertSelectedGeometry();
    void MoveSelectedGeometry(QPoint const& delta);
    SGeometryData GetSelectedData() const;
    void SetSelectedData(SGeometryData const& data);

    void Update();
    void OnTimer(float ms);

    bool ShowGeometries() const;
    int DisplayGeometriesMode() const;
    float DisplayGeometriesIntensity() const;
    float FlashPhase() const { return m_fFlashPhase; }
    CGeometry* Geometry(unsigned int i) const { return i < kSlots ? m_pGeometries[i] : nullptr; }
    float const* OverlayList() const { return m_pfOverlay; }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    CGeometryPainter* Painter() const;
    bool HasPicture() const;
    // The engine part of Update.
    void Render(int viewWidth, int viewHeight, bool overlay);

    float m_fFlashPhase;
    _hlp::CGrowingBuffer<unsigned int> m_Pixels;
    _hlp::SRangedRect<int> m_Frame;
    _hlp::SRangedRect<int> m_ImageFrame;
    CGeometry* m_pGeometries[kSlots];
    float m_pfOverlay[256];
    CViewRenderGate m_RenderGate;
};

class CGeometryPainter : public QDialog, public IGeometryPainter {
    Q_OBJECT
public:
    // The image the view shows: RGB48 with its size, or null.
    using ResultSource = std::function<const unsigned short*(int* width, int* height)>;

    explicit CGeometryPainter(QWidget* parent);
    ~CGeometryPainter() override;

    // IGeometryPainter
    void Show(HDRPositionPicker* picker, const QString& title) override;
    bool Refresh() override;
    void CreateShortcuts(CShortcutHelper* helper) override;

    // Without one set, the main window's current result (through the views' host).
    void SetResultSource(ResultSource source) { m_ResultSource = std::move(source); }
    const unsigned short* GetResultImage(int* width, int* height) const;

    bool ShowGeometries() const { return m_bShowGeometries; }
    int DisplayGeometriesMode() const { return m_iDisplayMode; }
    float DisplayGeometriesIntensity() const { return m_fOverlayIntensity; }

    // ---- for the tests ----
    CGeometryLabel* GetLabel() const { return m_pLabel; }
    HDRPositionPicker* GetPicker() const { return m_pPicker; }
    HDRSlider* GetSlider(int i) const { return (i >= 0 && i < 3) ? m_pSliders[i] : nullptr; }
    QPushButton* GetResetButton() const { return m_pResetButton; }
    QPushButton* GetFinishButton() const { return m_pFinishButton; }
    QPushButton* GetAddPosButton() const { return m_pAddPosButton; }
    QPushButton* GetAddNegButton() const { return m_pAddNegButton; }
    QPushButton* GetInvertButton() const { return m_pInvertButton; }
    QPushButton* GetDuplicateButton() const { return m_pDuplicateButton; }
    QPushButton* GetDeleteButton() const { return m_pDeleteButton; }
    _gui::CContextMenuPushButton* GetDisplayButton(int i) const
    {
        return (i >= 0 && i < 3) ? m_pDisplayButtons[i] : nullptr;
    }
    QShortcut* GetShortcut(int i) const { return (i >= 0 && i < 18) ? m_pShortcuts[i] : nullptr; }
    QLabel* GetTitleLabel() const { return m_pTitle; }
    void SetShowGeometries(bool on) { m_bShowGeometries = on; }
    void Update();

public slots:
    void OnUpdate();
    void OnSliderControlUpdated();
    void OnSliderControlFinished();
    void OnReset();
    void OnAddPos();
    void OnAddNeg();
    void OnSelectOther(int next);
    void OnMoveGeometry(int id);
    void OnInvertSelected();
    void OnDuplicateSelected();
    void OnDeleteSelected();
    void OnFinish();
    void OnDisplayGeometriesChanged(int id);
    void OnContextmenu(int id, QPoint const& pos);
    void OnTimer();
    void OnUpdateGeometry();
    void OnSelectionChanged();

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void CreateTimer();
    void StartTimer();
    void StopTimer();
    void CreateTitle(QVBoxLayout* layout);
    void CreateUpperControls(QVBoxLayout* layout);
    void CreateImage(QVBoxLayout* layout);
    void CreateLowerControls(QVBoxLayout* layout);
    void ResetsDialogControls();
    void EnableShortcuts(bool on);
    void SyncSliderControls(bool toSliders);
    void AddGeometry(bool add);
    void GeometryContextMenu(QPoint const& pos);

    int m_iViewWidth;
    int m_iViewHeight;
    double m_dLastTick;
    bool m_bShortcutsCreated;
    bool m_bShowGeometries;
    float m_fOverlayIntensity;
    int m_iDisplayMode;
    HDRPositionPicker* m_pPicker;
    CGeometryLabel* m_pLabel = nullptr;
    QLabel* m_pTitle = nullptr;
    HDRSlider* m_pSliders[3] = {};
    QPushButton* m_pResetButton = nullptr;
    QPushButton* m_pFinishButton = nullptr;
    QPushButton* m_pAddPosButton = nullptr;
    QPushButton* m_pAddNegButton = nullptr;
    QPushButton* m_pInvertButton = nullptr;
    QPushButton* m_pDuplicateButton = nullptr;
    QPushButton* m_pDeleteButton = nullptr;
    _gui::CContextMenuPushButton* m_pDisplayButtons[3] = {};
    QShortcut* m_pShortcuts[18] = {};
    QButtonGroup* m_pDisplayGroup = nullptr;
    QTimer* m_pTimer = nullptr;
    ResultSource m_ResultSource;
};
