#pragma once
// HDRPositionPicker: the editor of every operator parameter that is not a
// slider or a blend mode: a point, a line through two points, a six-knot
// curve, a colour, and (never shown) the 32 mask geometries of an operator.
// It holds 128 (x, y) pairs, exactly the 256 floats of the parameter it edits,
// shows them in a box drawn by the engine's picker painter and reports a user
// edit with valueUpdated().

#include "document/globalstate.h"

#include <QLabel>
#include <QWidget>

#include <cstdint>
#include <vector>

class CPostProcessing;
class QComboBox;
class QPushButton;
class QSpinBox;
class QStackedWidget;

// The box: turns mouse events into coordinates 0..1 of its size.
class HDRPositionPickerLabel : public QLabel {
    Q_OBJECT
public:
    explicit HDRPositionPickerLabel(QWidget* parent = nullptr) : QLabel(parent) {}

signals:
    void mouseMove(float x, float y);
    void mouseDrag(float x, float y);
    void mousePress(float x, float y);
    void mouseRelease(float x, float y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPointF Normalised(const QPointF& p) const;
};

class HDRPositionPicker : public QWidget, public IGlobalStateReceiver {
    Q_OBJECT
public:
    enum EMode { eModePoint = 0, eModeLine = 1, eModeSpline = 3, eModeColor = 4, eModeGeometry = 5 };
    enum ESplineMode { eSplGradation = 0, eSplEffect = 1 };

    HDRPositionPicker(EMode mode, const QString& name, QWidget* parent = nullptr);
    ~HDRPositionPicker() override;

    // [spline mode][preset = combo index - 1][point][x, y]
    static float s_ppppfSplineDefaults[2][10][128][2];

    void SetPostProcessing(CPostProcessing* chain) { m_pPostProcessing = chain; }
    void SetPositionType(unsigned type) { m_uiPositionType = type; }
    void SetDefaultValue(float x, float y, unsigned i);
    void SetDefaultValue(int r, int g, int b);
    // colour mode: channels 0..1, truncated to whole 1/255 steps
    void SetDefaultValue(float r, float g, float b);
    void SetSplineMode(ESplineMode mode, unsigned preset);
    void ResetToDefaultValues();
    void SetPos(float x, float y, unsigned i);
    void setPos(float x, float y, unsigned i);
    void SetColor(int r, int g, int b);
    void SetColor(float r, float g, float b);
    void setColor(int r, int g, int b);
    void SetGeometry(unsigned n, float a, float b, float c, float d, float e, float f, float g, float h);
    void GetGeometry(float* a, float* b, float* c, float* d, float* e, float* f, float* g, float* h,
                     unsigned n) const;
    void GetValues(float* values) const;
    void GetDefaultValues(float* values) const;
    void RefreshComboBox();
    void UpdateDisplay();
    void UpdateExposureSeries();
    void ForceValueUpdate() { emit valueUpdated(); }
    void PosToColor(float x, float y, int* red, int* green, int* blue) const;
    void ColorToPos(int red, int green, int blue, float* x, float* y) const;
    void ClampMinDist(float& x, float& y, unsigned i) const;
    static void SetSpinBoxValue(QSpinBox* box, int value);

    int Mode() const { return m_eMode; }
    int SelectedPoint() const { return m_iSelectedPoint; }
    float X(unsigned i) const { return i < 128 ? m_pfValues[i][0] : 0.0f; }
    float Y(unsigned i) const { return i < 128 ? m_pfValues[i][1] : 0.0f; }
    ESplineMode SplineMode() const { return m_eSplineMode; }

    // widgets, for the dock and the tests
    HDRPositionPickerLabel* Box() const { return m_pBox; }
    QSpinBox* SpinBox(int i) const { return (i >= 0 && i < 3) ? m_pSpinBoxes[i] : nullptr; }
    QComboBox* GradationCombo() const { return m_pGradationCombo; }
    QComboBox* EffectCombo() const { return m_pEffectCombo; }
    QPushButton* PipetteButton() const { return m_pPipetteButton; }
    QStackedWidget* Stack() const { return m_pStack; }

    // IGlobalStateReceiver
    bool eventFilter(QObject* object, QEvent* event) override;
    void eventActivate() override;
    void eventDeactivate() override;

signals:
    void valueUpdated();

public slots:
    void spinboxEditingFinished();
    void comboBoxIndexChanged(int index);
    void mouseMove(float x, float y);
    void mouseDrag(float x, float y);
    void mousePress(float x, float y);
    void mouseRelease(float x, float y);
    void pipetteButtonClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetMode(EMode mode);
    int PointCount() const;
    // Clamps the colour to 0..255 and stores it with its disc position.
    void StoreColor(float (&values)[128][2], int& r, int& g, int& b) const;

    int m_eMode = -1;
    float m_pfValues[128][2] = {};
    float m_pfDefaultValues[128][2] = {};
    ESplineMode m_eSplineMode = eSplGradation;
    unsigned m_uiSplinePreset = 1;
    unsigned m_uiPositionType = 0;
    int m_iSelectedPoint = -1;
    CPostProcessing* m_pPostProcessing = nullptr;

    QLabel* m_pNameLabel = nullptr;
    QStackedWidget* m_pStack = nullptr;
    QWidget* m_pPage0 = nullptr;
    QPushButton* m_pPipetteButton = nullptr;
    QLabel* m_pLabels[3] = {};
    QSpinBox* m_pSpinBoxes[3] = {};
    QComboBox* m_pGradationCombo = nullptr;
    QComboBox* m_pEffectCombo = nullptr;
    HDRPositionPickerLabel* m_pBox = nullptr;

    // The preview scaled to the box, kept between redraws; rebuilt when the
    // preview, its size or the box size changes and on UpdateExposureSeries.
    std::vector<uint16_t> m_Backdrop;
    const uint16_t* m_pBackdropSource = nullptr;
    QSize m_BackdropSourceSize;
    QSize m_BackdropSize;

    bool m_bPicking = false;
    bool m_bPipetteUnderMouse = false;
    bool m_bOverrideCursor = false;
};
