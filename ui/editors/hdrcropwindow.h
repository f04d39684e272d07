#pragma once
// The crop and caption window: before a result is written the user draws a
// crop rectangle on a fitted view of the result and types a one-line
// caption with its size, position and background box. The main window makes
// it once and keeps it, so selection and caption survive from one save to
// the next until Reset().

#include "ui/editors/cropdata.h"
#include "ui/editors/hdrcropselection.h"
#include "ui/mainwindow/resultsaveflow.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/AK_GlobalWidgets.h"
#include "ui/views/viewrender.h"

#include <QDialog>
#include <QSize>

#include <functional>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class CCropWindow;

// The view: the fitted result with the selection, its grips and the caption
// preview drawn over it.
class CCropLabel : public _gui::CBaseLabel {
    Q_OBJECT
public:
    static constexpr int kBorder = 6; // the picture sits this far inside the label

    explicit CCropLabel(CCropWindow* parent);

    // The image frame from the part of the view the image covers (fractions
    // of the view); the selection takes it while it has none.
    void SetImageFrameRel(const _hlp::SRangedRectRel& frame, float aspect);
    void Update() { m_Selection.Update(); }
    void Reset() { m_Selection.Reset(); }
    _hlp::SRangedRectRel GetSelectionRel() const { return m_Selection.GetRel(); }
    bool HasSelection() const { return m_Selection.HasSelection(); }
    const _hlp::SRangedRect<int>& ImageFrame() const { return m_ImageFrame; }
    CCropSelection& Selection() { return m_Selection; }

    // The caption of data into target; with drawBox (the preview) its box.
    void DrawText(QPainter& painter, const _hlp::SRangedRect<int>& target, const SCropData& data, bool drawBox) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool HasPicture() const;

    CCropSelection m_Selection;
    _hlp::SRangedRect<int> m_ImageFrame;
};

class CCropWindow : public QDialog, public IResultCropWindow {
    Q_OBJECT
public:
    // The buffer the user currently sees and its size (null: none).
    using ImageSource = std::function<const unsigned short*(int* width, int* height)>;

    // The view takes 60 % of the screen's sides; an empty screen size means
    // the primary screen's.
    explicit CCropWindow(QWidget* parent, QSize screen = QSize());
    ~CCropWindow() override = default;

    // Runs the window; the selection (when there is one) and the caption
    // settings when accepted, a cancelled default result otherwise.
    SCropResult Show() override;
    // Defaults, whole-image selection, empty caption; no new picture.
    void Reset() override;
    // The caption over the painter's whole device, without a box.
    void DrawText(QPainter& painter, const SCropData& data) const override;
    const SCropData& GetCropData() const { return m_CropData; }

    // Renders the view from the current result.
    void Update();

    // The view's size on a screen: 60 % of each side, plus 12.
    static QSize ViewSizeForScreen(const QSize& screen);
    // The caption edit's width for a view width.
    static int CaptionEditWidth(int viewWidth);

    // Where the picture comes from: the main window's current result unless
    // set (tests).
    void SetImageSource(ImageSource source) { m_ImageSource = std::move(source); }

    // The controls, reachable for tests.
    CCropLabel* m_pCropLabel = nullptr;
    QLineEdit* m_pSubTitleEdit = nullptr;
    QPushButton* m_pBackgroundButton = nullptr;
    QPushButton* m_pPositionBottomButton = nullptr;
    QPushButton* m_pPositionTopButton = nullptr;
    QPushButton* m_pSizeSmallButton = nullptr;
    QPushButton* m_pSizeMediumButton = nullptr;
    QPushButton* m_pSizeLargeButton = nullptr;
    QPushButton* m_pResetButton = nullptr;
    QPushButton* m_pSaveButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    QButtonGroup* m_pPositionGroup = nullptr;
    QButtonGroup* m_pSizeGroup = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void OnUpdate();
    void OnBackgroundChanged(bool on);
    void OnSubTitleChanged(const QString& text);
    void OnSizeChanged(int id);
    void OnPositionChanged(int id);
    void OnResetClicked();
    void OnSaveClicked();
    void OnCancelClicked();

private:
    void Render();
    const unsigned short* CurrentImage(int* width, int* height) const;

    int m_iViewWidth = 0;
    int m_iViewHeight = 0;
    SCropData m_CropData;
    _hlp::CGrowingBuffer<unsigned int> m_ViewBuffer;
    ImageSource m_ImageSource;
    CViewRenderGate m_RenderGate{this};
};
