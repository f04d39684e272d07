#pragma once
// HDRSlider, the labelled parameter control: a top row with the low-end text,
// the name, an editable value box with its unit and the high-end text, and
// below it the slider the user drags. It keeps an integer value on an integer
// range, rounds values to a grating, converts to and from fractions 0..1, has
// a centre value that a double press on the handle restores, and reports user
// changes through valueUpdated / controlUpdated / controlFinished. Programmatic
// setters never emit. Radius sliders adapt their range to the engine's
// calculation quality whenever they are painted.

#include <QAbstractSlider>
#include <QSlider>
#include <QSpinBox>
#include <QString>

#include <climits>

class QLabel;
class QSpacerItem;

// The visible slider: a click on the groove jumps to the clicked value, and
// held-down keys act at most once every m_dMinKeyInterval milliseconds.
class _QSlider : public QSlider {
    Q_OBJECT
public:
    _QSlider(Qt::Orientation orientation, QWidget* parent);

    double m_dMinKeyInterval = 100.0; // ms between two key presses that are acted on
    double m_dLastKeyTime = 0.0;      // wall-clock ms of the last key press acted on

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The value box: the wheel steps it only while it has keyboard focus, so a
// scrolling panel keeps scrolling when the pointer crosses it.
class _QSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit _QSpinBox(QWidget* parent) : QSpinBox(parent) {}

protected:
    void wheelEvent(QWheelEvent* event) override;
};

class HDRSlider : public QAbstractSlider {
    Q_OBJECT
public:
    // Range 0..100, no name or value shown.
    HDRSlider(QWidget* parent, const QString& low, const QString& high);
    // Range min..max, no name or value shown.
    HDRSlider(QWidget* parent, const QString& low, const QString& high, int min, int max);
    // Range 0..100 with the unit "%".
    HDRSlider(QWidget* parent, const QString& name, const QString& low, const QString& high, bool centred);
    HDRSlider(QWidget* parent, const QString& name, const QString& low, const QString& high, const QString& unit,
              int min, int max, bool centred);
    // A single step of 5 selects the automatic step; grooveStops of more than
    // one character are the stops of the groove's gradient.
    HDRSlider(QWidget* parent, const QString& name, const QString& low, const QString& high, const QString& unit,
              int min, int max, int singleStep, unsigned int grating, bool continuous, QString grooveStops,
              bool centred);
    ~HDRSlider() override;

    // The single step chosen for a range.
    static int AutomaticSingleStep(int min, int max);

    // ---- value (no signal is emitted) ----
    void SetValueInt(int v);
    int GetValueInt() const { return value(); }
    void SetValueF(float x);
    float GetValueF() const;
    void SetValueFloat(float x);
    float GetValueFloat() const;
    void SetResetToValueF(float x);
    void SetCenterValueInt(int c);
    int GetCenterValueInt() const { return m_iCenterValue; }
    void SetCenterValueF(float x);
    float GetCenterValueF() const;
    void SetCenterValueFloat(float x);
    float GetCenterValueFloat() const;
    void SetToCenterValue();
    void EmitValueUpdated();
    unsigned int GetGrating() const { return m_uiGrating; }

    // ---- appearance ----
    void SetName(QString name);
    QString GetName() const { return m_strName; }
    QString GetUnit() const { return m_strUnit; }
    void SetValueWidth(int w);
    void SetMidAreaVisible(bool visible);
    void SetValueVisible(bool visible);
    void SetEnabled(bool enabled);
    void SetValueFontStyle();
    void SetStyleSheet(QString stops);
    void TriggerAction(QAbstractSlider::SliderAction action);

    _QSlider* GetSlider() const { return m_pSlider; }
    _QSpinBox* GetSpinBox() const { return m_pSpinBox; }

    bool m_bContinuousUpdate = false;  // report while the handle is dragged
    bool m_bResetOnDoubleClick = true; // a double press restores the centre value
    bool m_bIsRadius = false;          // range follows the calculation quality

signals:
    void valueUpdated();
    void controlUpdated();
    void controlFinished();

public slots:
    void spinboxUpdated();
    void sliderUpdated();
    void sliderClicked();

private slots:
    void setValue(int v) { QAbstractSlider::setValue(v); }
    void setEnabled(bool enabled) { QWidget::setEnabled(enabled); }
    void updateSpinBoxValue(int v);

protected:
    void paintEvent(QPaintEvent* event) override;

    void Construct(const QString& name, const QString& low, const QString& high, const QString& unit, int min,
                   int max, int requestedStep, unsigned int grating, const QString& grooveStops, bool showNameAndValue,
                   bool centred);
    void CreateMidArea(const QString& name, const QString& unit);
    void CreateMidAreaCentered(const QString& name, const QString& unit);
    void CreateSpinBox();
    void AdaptRadiusRange();

    _QSpinBox* m_pSpinBox = nullptr;
    _QSlider* m_pSlider = nullptr;
    double m_dLastClickTime = 0.0;
    int m_iCenterValue = 0;
    unsigned int m_uiGrating = 1;
    QLabel* m_pNameLabel = nullptr;
    QLabel* m_pUnitLabel = nullptr;
    QString m_strName;
    QString m_strUnit;
    QSpacerItem* m_pSpacerLeft = nullptr;
    QSpacerItem* m_pSpacerRight = nullptr;
    int m_iInitialMin = 0;
    int m_iInitialMax = 0;
    int m_iLastReportedValue = INT_MAX; // INT_MAX: report the next value whatever it is
    class QHBoxLayout* m_pTopRow = nullptr;
};
