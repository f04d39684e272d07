#pragma once
// The central preview: the current picture (always a finished pixmap from the
// main window) in a panning scroll area at 5..1000 %, with the image toolbar's
// mode, zoom and orientation buttons and a status bar of size, camera, mouse
// position and pixel colour. The label inside draws the picture, a navigator
// while panning, the playback overlay and a 7 x 7 magnifier.

#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QScrollArea>
#include <QString>
#include <QWidget>

class HDRSlider;
class QAction;
class QPushButton;
class QToolBar;
class _QPreviewLabel;

class _QScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit _QScrollArea(QWidget* parent) : QScrollArea(parent) {}
    ~_QScrollArea() override = default;
    bool IsPanning() const { return m_bPanning; }

signals:
    void cursorDrag(qint32 dx, qint32 dy, quint32 hStart, quint32 vStart);
    void sizeUpdated();
    void drawQuit(); // never emitted
    void doubleClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPoint m_ptPressPos;
    int m_iPressH = 0;
    int m_iPressV = 0;
    bool m_bPanning = false;
};

class _QPreviewLabel : public QLabel {
    Q_OBJECT
public:
    explicit _QPreviewLabel(QWidget* scrollArea);
    ~_QPreviewLabel() override;

    // The pixmap pixel under a widget position.
    QPoint PixmapPixel(const QPoint& pos) const;
    QLabel* Magnifier() const { return m_pMagnifier; }
    int AnimationFrame() const { return m_iAnimationFrame; }

signals:
    void moveSignal(QPoint pixel, QRgb colour);
    void leaveSignal();
    void wheelZoom(qint32 delta, QPoint pixel);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateMagnifier(const QPixmap& pm, int px, int py);
    void PaintNavigator(QPainter& painter, const QPixmap& pm);
    void PaintPlaybackOverlay(QPainter& painter);

    _QScrollArea* m_pScrollArea;
    QLabel* m_pMagnifier;
    int m_iAnimationFrame = 0;
    QImage m_imgFilmStrip;
};

class HDRImagePreview : public QWidget {
    Q_OBJECT
public:
    HDRImagePreview(QWidget* parent, QToolBar* toolBar, QToolBar* secondToolBar);
    ~HDRImagePreview() override;

    void SetPixmap(const QPixmap& pixmap);
    void Clear();
    void SetRefreshButtonEnabled(bool enabled);
    void SetNextRefreshButtonEnabledIgnore(bool ignore) { m_bIgnoreNextRefreshEnable = ignore; }
    bool GetRefreshButtonEnabled() const;
    void SetInitialButtonState();
    void SetPreviewButtonVisible(bool visible);
    void EnableShowLimits();
    void DisableShowLimits();
    void EnableShowHeatmap() {}
    void DisableShowHeatmap() {}
    void SetIsHistogram(bool histogram);
    void SetDisplayText(const QString& text) { m_strDisplayText = text; }
    void SetRadiusText(const QString& text) { m_strRadiusText = text; }
    // The scroll area's size (the visible part of the picture).
    QSize GetScrollAreaSize() const;

    QPushButton* m_pPreviewModeButton = nullptr;
    QPushButton* m_pAdditionalButton = nullptr;
    bool m_bIsHistogram = false;
    bool m_bFrameFromImage = false;
    QString m_strDisplayText;

    // Parts, for the main window and tests.
    QPushButton* RealTimeButton() const { return m_pRealTimeButton; }
    QPushButton* RefreshButton() const { return m_pRefreshButton; }
    QPushButton* BorderPixelButton() const { return m_pBorderPixelButton; }
    QPushButton* FitButton() const { return m_pFitButton; }
    QPushButton* ActualSizeButton() const { return m_pActualSizeButton; }
    HDRSlider* ZoomSlider() const { return m_pZoomSlider; }
    _QScrollArea* ScrollArea() const { return m_pScrollArea; }
    _QPreviewLabel* PreviewLabel() const { return m_pPreviewLabel; }
    QLabel* SizeLabel() const { return m_pSizeLabel; }
    QLabel* InfoLabel() const { return m_pInfoLabel; }
    QLabel* PositionLabel() const { return m_pPositionLabel; }
    QLabel* RedLabel() const { return m_pRedLabel; }
    int ZoomValue() const;
    QString RadiusText() const { return m_strRadiusText; }

signals:
    void showLimitsClicked();
    void geometryClicked();
    void showHeatmapClicked();
    void alignScrollClicked();
    void alignRotateClicked();
    void alignZoomClicked();
    void alignDetailClicked();
    void alignMikroClicked();
    void weightSliderUpdated();
    void brushSliderUpdated();

public slots:
    void zoomInClicked();
    void zoomOutClicked();
    void actualSizeClicked();
    void fitToScreenClicked();
    void fitToScreenResize();
    void wheelZoom(qint32 delta, QPoint pixel);
    void cursorDrag(qint32 dx, qint32 dy, quint32 hStart, quint32 vStart);
    void doubleClick();
    void previewModeToggled(bool on);
    void realTimeModeToggled(bool on);
    void sliderValueUpdated();
    void resizeLabel(bool keepPosition = true);
    void updateFrameColor(bool fromImage);
    void updateShowLimits();
    void updateMirror();
    void updateFlip();
    void updateRotateLeft();
    void updateRotateRight();
    void updateStatusBar(QPoint pixel, QRgb colour);
    void clearStatusBar();
    void additionalButtonToggled(bool on);

private:
    void SetZoom(int value);
    void Orientation(const char* key, int operation);

    QAction* m_pPreviewModeAction = nullptr;
    QPushButton* m_pRealTimeButton = nullptr;
    QPushButton* m_pRefreshButton = nullptr;
    bool m_bIgnoreNextRefreshEnable = false;
    unsigned char m_ucFrameRGB[3] = {46, 46, 46};
    QPushButton* m_pBorderPixelButton = nullptr;
    QAction* m_pBorderPixelAction = nullptr;
    HDRSlider* m_pZoomSlider = nullptr;
    QPushButton* m_pActualSizeButton = nullptr;
    QPushButton* m_pFitButton = nullptr;
    QWidget* m_pAdditionalPlaceholder = nullptr;
    QAction* m_pAdditionalPlaceholderAction = nullptr;
    QPushButton* m_pMirrorButton = nullptr;
    QPushButton* m_pFlipButton = nullptr;
    QPushButton* m_pRotateLeftButton = nullptr;
    QPushButton* m_pRotateRightButton = nullptr;
    _QScrollArea* m_pScrollArea = nullptr;
    _QPreviewLabel* m_pPreviewLabel = nullptr;
    int m_iImageWidth = -1;
    int m_iImageHeight = -1;
    QLabel* m_pSizeLabel = nullptr;
    QLabel* m_pInfoLabel = nullptr;
    QLabel* m_pPositionCaptionLabel = nullptr;
    QLabel* m_pPositionLabel = nullptr;
    QLabel* m_pRedLabel = nullptr;
    QLabel* m_pGreenLabel = nullptr;
    QLabel* m_pBlueLabel = nullptr;
    QLabel* m_pSwatchLabel = nullptr;
    QString m_strRadiusText;
};

extern HDRImagePreview* g_pHDRImagePreview;
extern _QPreviewLabel* g_pPreviewImage;
