#pragma once
// The clone-correction painter: up to 100 correction units, each copying a
// soft disc of the image from a source centre onto a destination centre
// (scratches, sensor dust). The units live only here: the painter shows their
// effect in its own view and hands nothing back.
//
// Positions are fractions of the image (x of the width, y of the height),
// radii fractions of the shorter image side.
//
// - SStencilData, CStencilElement, CStencil: one unit and its two circles;
// - CStencilLabel: the zoomable view, owner of the 100 unit slots;
// - CRadarLabel: the navigator with the visible part of the view;
// - CStencilPainter: the dialog.

#include "ui/editors/editorseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/AK_GlobalWidgets.h"
#include "ui/views/viewrender.h"

#include <QDialog>
#include <QPen>
#include <QPixmap>
#include <QPointF>
#include <QRectF>

#include <cstdint>

class CStencil;
class CStencilLabel;
class CStencilPainter;
class HDRPixmapCreator;
class HDRSlider;
class QEnterEvent;
class QHBoxLayout;
class QPainter;
class QPushButton;
class QVBoxLayout;

// One unit's values.
struct SStencilData {
    SStencilData();
    void Reset();

    static constexpr float kMinRadius = 0.009f;
    static constexpr float kMaxRadius = 0.05f;
    static constexpr float kDefaultRadius = 0.025f;
    // Slider position 0..1 <-> radius over kMinRadius..kMaxRadius.
    static float RadiusRelToPercent(float radius);
    static float PercentToRadiusRel(float percent);

    bool bAutomatic; // the source is found by the best-match search
    float fRadius;   // 0.009..0.05 of the shorter image side
    float fReserved; // carried along, read by nothing
    double dDstX;
    double dDstY;
    double dSrcX;
    double dSrcY;
};

// The unit count and five arrays of the units in use, in slot order.
struct SStencilRawData {
    SStencilRawData() { Reset(); }
    void Reset();

    unsigned int uiCount;
    float pfDstX[100];
    float pfDstY[100];
    float pfSrcX[100];
    float pfSrcY[100];
    float pfRadius[100];
};

// The image the painter works on (read only).
struct SImageMetric {
    SImageMetric() { Reset(); }
    void Reset() { Set(nullptr, 0, 0); }
    void Set(const unsigned short* data, unsigned int width, unsigned int height)
    {
        pData = data;
        uiWidth = width;
        uiHeight = height;
    }
    bool IsValid() const { return pData && uiWidth && uiHeight; }

    const unsigned short* pData;
    unsigned int uiWidth;
    unsigned int uiHeight;
};

// A relative image position.
struct CImagePosRel {
    CImagePosRel() { Reset(); }
    CImagePosRel& operator=(QPointF const& p)
    {
        x = p.x();
        y = p.y();
        return *this;
    }
    void Reset() { x = y = 0.0; }
    bool IsHittingImage() const { return x >= 0.0 && x < 1.0 && y >= 0.0 && y < 1.0; }
    QPointF ToPointF() const { return QPointF(x, y); }

    double x;
    double y;
};

// One of the two circles of a unit: the destination (1) or the source (2).
class CStencilElement {
public:
    enum EType { eDestination = 1, eSource = 2 };

    CStencilElement(CStencil* owner, EType type);
    void Reset();

    QPointF PosRel() const;
    void SetPosRel(QPointF const& p);
    QPointF Pos() const;
    float Radius() const;

    void OnMouseMove(QPointF const& point, CImagePosRel const& pos, bool held);
    void OnMousePress(CImagePosRel const& pos, bool action);
    void OnPaint(QPainter& p) const;
    QPen Pen() const;

    EType Type() const { return m_eType; }
    bool IsMouseOver() const { return m_bMouseOver; }
    void SetMouseOver(bool on) { m_bMouseOver = on; }
    bool IsGrabbed() const { return m_bGrabbed; }
    void SetGrabbed(bool on) { m_bGrabbed = on; }

private:
    CStencil* m_pOwner;
    EType m_eType;
    bool m_bMouseOver;
    bool m_bGrabbed;
    double m_dGrabX;
    double m_dGrabY;
};

// One unit slot of the view label.
class CStencil {
public:
    explicit CStencil(CStencilLabel* label);
    ~CStencil();
    CStencil(CStencil const&) = delete;
    CStencil& operator=(CStencil const&) = delete;

    void Reset();
    void SetData(SStencilData const& data);
    SStencilData const& GetData() const { return m_Data; }
    void CopyData(CStencil const& other);
    bool IsInUse() const { return m_bInUse; }

    bool Select(bool on);
    bool IsSelected() const;
    bool IsMouseOver() const;
    int MouseOverElement() const;
    void ClrMouseOver();

    void SetDstPosRel(QPointF const& p);
    void SetSrcPosRel(QPointF const& p);
    QPointF DstPos() const;
    QPointF SrcPos() const;
    float Radius() const;

    void Update();
    bool DetectCollision(CStencil const& other) const;

    void OnMousePress(CImagePosRel const& pos, bool action);
    void OnMouseMove(QPointF const& point, CImagePosRel const& pos, bool held);
    void OnPaint(QPainter& p) const;
    QPen LinePen() const;

    CStencilLabel* Label() const { return m_pLabel; }
    CStencilElement* Element(int i) const { return (i == 0 || i == 1) ? m_pElements[i] : nullptr; }

private:
    CStencilLabel* m_pLabel;
    bool m_bInUse;
    SStencilData m_Data;
    CStencilElement* m_pElements[2];
};

// The view: the corrected image with zoom and panning, the units over it, and
// the unit table.
class CStencilLabel : public _gui::CBaseLabel {
    Q_OBJECT
public:
    static constexpr unsigned int kSlots = 100;
    static constexpr unsigned int kNone = 0xFFFFFFFFu;

    explicit CStencilLabel(CStencilPainter* painter);
    ~CStencilLabel() override;

    CStencilPainter* Painter() const;

    // ---- view geometry and mappings ----
    void CalcParam();
    void Update();
    void Reset();
    QPointF GetMousePosRel(QPoint const& p) const;
    QPointF GetImagePosRel(QPoint const& p) const;
    QPointF GetImagePos(QPointF const& rel) const;
    float RadiusRelToRadius(float radius) const;
    bool IsStencilEditEnabled() const;
    QRectF GetZoomRect() const;
    void Zoom(float factor);
    bool ShowSources() const;

    float GetZoom() const { return m_fZoom; }
    QPointF GetZoomCenter() const { return QPointF(m_dZoomCenterX, m_dZoomCenterY); }
    QRectF const& ContentRect() const { return m_ContentRect; }
    QRectF const& ImageRect() const { return m_ImageRect; }
    QRectF const& ImageArea() const { return m_ImageArea; }
    QRectF const& CenterLimits() const { return m_CenterLimits; }
    bool IsPanning() const { return m_bPanning; }

    // ---- the units ----
    unsigned int GetNumStencils() const;
    bool IsStencilValid(unsigned int i) const;
    SStencilData const& GetStencilData(unsigned int i) const;
    void SetStencilData(unsigned int i, SStencilData const& data);
    unsigned int AddStencil(QPointF const& position);
    bool UpdateStencilData(unsigned int i, bool sort);
    void FindBestMatch(unsigned int i);
    void DetectCollisions(unsigned int k);
    void SortStencils();
    void DeleteSelected();
    void Clear();
    bool Select(unsigned int i);
    void Deselect();
    void SelectOther(unsigned int i, bool forward);
    unsigned int SelectedIdx() const;
    bool IsSelected() const { return SelectedIdx() < kSlots; }
    unsigned int MouseOverIdx() const;
    bool IsMouseOver() const { return MouseOverIdx() < kSlots; }
    SStencilRawData const& GetStencilRawData() const;
    CStencil* Stencil(unsigned int i) const { return i < kSlots ? m_pStencils[i] : nullptr; }

    // The hover pass (also run after placing a unit).
    void OnMouseMove(QPointF const& point, CImagePosRel const& pos, bool held);

signals:
    void SigSetNewStencil(bool on);
    void SigToggleBestMatch();
    void SigCreatePixmap();

public slots:
    void OnSetZoomCenter(QPointF const& c);
    void OnWheel(int delta, QPoint const& p);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void DrawBorder(QPainter& p) const;
    void DrawStencils(QPainter& p) const;
    void DrawNewStencilCursor(QPainter& p) const;
    // The search of one unit, with the engine held.
    void FindBestMatchNow(unsigned int i);
    unsigned int SlotOf(CStencil const* unit) const;

    float m_fZoom;
    bool m_bPanning;
    bool m_bMouseInside;
    double m_dZoomCenterX;
    double m_dZoomCenterY;
    double m_dAspectW;
    double m_dAspectH;
    double m_dMouseX;
    double m_dMouseY;
    double m_dLastMouseX;
    double m_dLastMouseY;
    QRectF m_ContentRect;
    QRectF m_ImageRect;
    QRectF m_ImageArea;
    QRectF m_CenterLimits;
    CImagePosRel m_ImagePos;
    mutable SStencilData m_SpareData;
    CStencil* m_pStencils[kSlots];
    mutable SStencilRawData m_RawData;
    CStencil* m_pLastAdded = nullptr; // the unit AddStencil placed last
};

// The navigator: the whole uncorrected image with the visible part framed.
class CRadarLabel : public _gui::CBaseLabel {
    Q_OBJECT
public:
    explicit CRadarLabel(CStencilPainter* painter);

    void Reset();
    void CalcParam();
    void Update();
    QPointF GetMousePosRel(QPoint const& p) const;
    QPointF GetImagePosRel(QPoint const& p) const;
    QPointF MapToImageAera(QPointF const& p) const;
    QRectF MapToImageAera(QRectF const& r) const;

    QRectF const& ImageArea() const { return m_ImageArea; }

signals:
    void SigSetZoomCenter(QPointF const& c);
    void SigWheel(int delta, QPoint const& p);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    CStencilPainter* Painter() const;

    bool m_bDragging;
    QRectF m_ContentRect;
    QRectF m_ImageRect;
    QRectF m_ImageArea;
};

class CStencilPainter : public QDialog, public IStencilPainter {
    Q_OBJECT
public:
    explicit CStencilPainter(QWidget* parent);
    ~CStencilPainter() override;

    // IStencilPainter
    void Show(const unsigned short* rgb48, unsigned int width, unsigned int height) override;
    void Clear() override;

    // The two halves of Show around the modal loop: the working buffers for
    // the image (false, nothing kept, when the memory cannot be had) and
    // their release. The image reference stays.
    bool OpenImage(const unsigned short* rgb48, unsigned int width, unsigned int height);
    void CloseImage();

    void Reset();
    void Update();
    void SetVariationEnabled(bool on);
    void SetStencilsEnabled(bool on);
    void SetShowSources(bool on);
    void SetNewStencil(bool on);

    // 0 the view (corrected image or variation), 1 the navigator (plain).
    QPixmap* GetPixmap(unsigned int index);
    unsigned int GetNumStencils() const;
    QRectF GetZoomRect() const;

    // ---- state the labels read ----
    SImageMetric const& GetImageMetric() const { return m_ImageMetric; }
    SStencilData const& GetNewStencilData() const { return m_NewStencilData; }
    bool IsNewStencilMode() const { return m_bNewStencil; }
    bool IsShowSources() const { return m_bShowSources; }
    bool IsStencilsEnabled() const { return m_bStencilsEnabled; }
    bool IsVariationEnabled() const { return m_bVariationEnabled; }
    bool IsMouseInside() const { return m_bMouseInside; }
    float GetVariationIntensity() const { return m_fVariationIntensity; }

    // ---- widgets, for the tests ----
    CStencilLabel* GetStencilLabel() const { return m_pStencilLabel; }
    CRadarLabel* GetRadarLabel() const { return m_pRadarLabel; }
    _gui::COpacityGroupBox* GetStencilGroup() const { return m_pStencilGroup; }
    QPushButton* GetVariationButton() const { return m_pVariationButton; }
    HDRSlider* GetVariationSlider() const { return m_pVariationSlider; }
    QPushButton* GetStencilsButton() const { return m_pStencilsButton; }
    QPushButton* GetSourcesButton() const { return m_pSourcesButton; }
    QPushButton* GetRecalcAllButton() const { return m_pRecalcAllButton; }
    QPushButton* GetDeleteAllButton() const { return m_pDeleteAllButton; }
    _gui::COpacityPushButton* GetNewStencilButton() const { return m_pNewStencilButton; }
    _gui::HDROpacitySlider* GetNewSizeSlider() const { return m_pNewSizeSlider; }
    _gui::HDROpacitySlider* GetSizeSlider() const { return m_pSizeSlider; }
    _gui::COpacityPushButton* GetBestMatchButton() const { return m_pBestMatchButton; }
    _gui::COpacityPushButton* GetDeleteButton() const { return m_pDeleteButton; }
    QPushButton* GetFinishButton() const { return m_pFinishButton; }

public slots:
    void OnUpdate();
    void OnSetNewStencil(bool on);
    void OnCreatePixmap();
    void OnEnableVariation(bool on);
    void OnVariationIntensityUpdated();
    void OnEnableStencils(bool on);
    void OnShowSources(bool on);
    void OnRecalcAll();
    void OnDeleteAll();
    void OnNewStencil(bool on);
    void OnNewSizeUpdated();
    void OnSizeUpdated();
    void OnSizeUpdateFinished();
    void OnBestMatch();
    void OnToggleBestMatch();
    void OnDeleteSelected();
    void OnFinish();

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void CreateImage(QHBoxLayout* layout);
    void CreateRadarControl(QVBoxLayout* layout);
    void CreateGeneralControls(QVBoxLayout* layout);
    void CreateStencilControl(QVBoxLayout* layout);
    void CreatePageControls(QVBoxLayout* layout);
    void UpdateConstrols();
    void UpdateSelectedSize(bool finished);
    void UpdateBestMatch(bool toggle);
    // Working buffers and pixmap creators for an image of this size; false
    // (nothing kept) when the memory cannot be had.
    bool CreateResources(unsigned int width, unsigned int height);
    void FreeResources();
    // Rebuilds the dirty view pictures, with the engine held.
    void BuildPixmaps();

    int m_iViewWidth;
    int m_iViewHeight;
    float m_fVariationIntensity;
    bool m_bCreatePixmap;
    bool m_bMouseInside;
    bool m_bNewStencil;
    bool m_bVariationEnabled;
    bool m_bStencilsEnabled;
    bool m_bShowSources;
    SImageMetric m_ImageMetric;
    SStencilData m_NewStencilData;
    _hlp::CGrowingBuffer<unsigned int> m_ARGBBuffer;      // the view's picture
    _hlp::CGrowingBuffer<unsigned int> m_RadarARGBBuffer; // the navigator's picture
    _hlp::CGrowingBuffer<unsigned short> m_WorkBuffer;    // the corrected copy
    HDRPixmapCreator* m_ppPixmapCreator[2];
    CViewRenderGate m_RenderGate;
    bool m_bBuildDeferred = false; // a rebuild waits for the engine

    CStencilLabel* m_pStencilLabel = nullptr;
    CRadarLabel* m_pRadarLabel = nullptr;
    QPushButton* m_pVariationButton = nullptr;
    HDRSlider* m_pVariationSlider = nullptr;
    QPushButton* m_pStencilsButton = nullptr;
    QPushButton* m_pSourcesButton = nullptr;
    QPushButton* m_pRecalcAllButton = nullptr;
    QPushButton* m_pDeleteAllButton = nullptr;
    _gui::COpacityGroupBox* m_pStencilGroup = nullptr;
    _gui::COpacityPushButton* m_pNewStencilButton = nullptr;
    _gui::HDROpacitySlider* m_pNewSizeSlider = nullptr;
    _gui::HDROpacitySlider* m_pSizeSlider = nullptr;
    _gui::COpacityPushButton* m_pBestMatchButton = nullptr;
    _gui::COpacityPushButton* m_pDeleteButton = nullptr;
    QPushButton* m_pFinishButton = nullptr;
};
