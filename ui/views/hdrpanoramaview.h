#pragma once
// The panorama viewer: the current result taken as an equirectangular
// panorama and shown as a perspective view. Dragging sets a turning speed
// that decays, the wheel eases the zoom toward a target, an automatic tour
// lets the view wander; the two mouse-invert switches live in "panorama.ini".

#include "ui/toolkit/hdrdialogs.h"
#include "ui/views/viewrender.h"

#include <QLabel>
#include <QPoint>
#include <QScrollArea>
#include <QSize>

class QPushButton;
class QTimer;

class panoviewQScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit panoviewQScrollArea(QWidget* parent) : QScrollArea(parent) {}

signals:
    void wheelZoom(qint32 delta);
    void cursorDrag(qint32 dx, qint32 dy);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPoint m_ptPress;
};

class panoviewQLabel : public QLabel {
    Q_OBJECT
public:
    explicit panoviewQLabel(QWidget* parent) : QLabel(parent) {}
    float m_fLastRenderTime = 1000.0f; // milliseconds of the last render

protected:
    void paintEvent(QPaintEvent* event) override;
};

class HDRPanoramaView : public HDRInfoDialog {
    Q_OBJECT
public:
    explicit HDRPanoramaView(QWidget* parent);

    // The view size for a screen: 0.8 of its width (then less, in steps of
    // 0.05, at most 15 tries) with the low 4 bits cleared, half as high, until
    // the height is below the screen's.
    static QSize CalcViewSize(const QSize& screen);
    // "panorama.ini" in the user settings folder.
    static QString SettingsPath();

    void MouseInvertFromSettings();
    void MouseInvertToSettings();

    // State, for the owner and for tests.
    float Yaw() const { return m_fYaw; }
    float Pitch() const { return m_fPitch; }
    float Zoom() const { return m_fZoom; }
    float ZoomTarget() const { return m_fZoomTarget; }
    float YawSpeed() const { return m_fYawSpeed; }
    float PitchSpeed() const { return m_fPitchSpeed; }
    bool IsAutoTour() const { return m_bAutoTour; }
    int ViewWidth() const { return m_iViewWidth; }
    int ViewHeight() const { return m_iViewHeight; }
    float TimerInterval() const { return m_fTimerInterval; }
    QTimer* Timer() const { return m_pTimer; }
    panoviewQScrollArea* ScrollArea() const { return m_pScrollArea; }
    panoviewQLabel* ViewLabel() const { return m_pViewLabel; }
    QPushButton* ResetButton() const { return m_pResetButton; }
    QPushButton* VertikalInvertButton() const { return m_pVertikalInvertButton; }
    QPushButton* HorizontalInvertButton() const { return m_pHorizontalInvertButton; }
    QPushButton* AutoButton() const { return m_pAutoButton; }
    QPushButton* ExitButton() const { return m_pExitButton; }

public slots:
    void calcView();
    void resetClicked();
    void mouseVertikalInvertClicked();
    void mouseHorizontalInvertClicked();
    void autoClicked();
    void exitClicked();
    void wheelZoom(qint32 delta);
    void cursorDrag(qint32 dx, qint32 dy);
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool IsIdle() const;
    void Tick();
    void StopTour();

    panoviewQScrollArea* m_pScrollArea = nullptr;
    panoviewQLabel* m_pViewLabel = nullptr;
    QPushButton* m_pResetButton = nullptr;
    QPushButton* m_pVertikalInvertButton = nullptr;
    QPushButton* m_pHorizontalInvertButton = nullptr;
    QPushButton* m_pAutoButton = nullptr;
    QPushButton* m_pExitButton = nullptr;
    QTimer* m_pTimer = nullptr;
    int m_iViewWidth = 16;
    int m_iViewHeight = 16;
    float m_fYaw = 0.0f;
    float m_fPitch = 0.0f;
    float m_fYawSpeed = 0.0f;
    float m_fPitchSpeed = 0.0f;
    float m_fZoom = 1.0f;
    float m_fZoomTarget = 1.0f;
    bool m_bForceRedraw = false;
    bool m_bAutoTour = false;
    int m_iTourCounter = 0;
    bool m_bMouseVertikalInvert = false;
    bool m_bMouseHorizontalInvert = false;
    float m_fTimerInterval = 1.0f;
    CViewRenderGate m_Gate{this};
};
