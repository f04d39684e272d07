#include "ui/toolkit/hdrslider.h"

#include "engine/MP_calc.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/toolkitseams.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QWheelEvent>

#include <cstdint>
#include <iostream>

using _hlp::MathClamp;
using _hlp::MathRound;

namespace {

const char* const kNoSpinButtons =
    "QSpinBox::up-button { width: 0px; height: 0px; } QSpinBox::down-button { width: 0px; height: 0px; }";

// min + offset, kept inside the int range (the model bounds it further).
int offsetValue(int min, float offset)
{
    const int64_t v = static_cast<int64_t>(min) + MP_safeTrunc(offset, INT_MIN, INT_MAX);
    return static_cast<int>(MathClamp<int64_t>(v, INT_MIN, INT_MAX));
}

// A fraction for the setters: clamped to 0..1, NaN as 0.
float unitFraction(float x)
{
    if (!(x == x))
        return 0.0f;
    return MathClamp(x, 0.0f, 1.0f);
}

} // namespace

// ---- _QSlider -----------------------------------------------------------------

_QSlider::_QSlider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {}

void _QSlider::mousePressEvent(QMouseEvent* event) { QSlider::mousePressEvent(event); }

void _QSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isSliderDown() && width() > 0) {
        // [0, w) maps onto [min - 1, max + 1) so that a click reaches both ends.
        const float x = static_cast<float>(event->position().x());
        const float span = static_cast<float>(static_cast<int64_t>(maximum()) - minimum() + 2);
        const float v = static_cast<float>(static_cast<int64_t>(minimum()) - 1) + span * (x / static_cast<float>(width()));
        setValue(MP_safeTrunc(v, INT_MIN, INT_MAX));
    }
    QSlider::mouseReleaseEvent(event);
}

void _QSlider::keyPressEvent(QKeyEvent* event)
{
    if (MP_UI_CalcTimeDifference(m_dLastKeyTime) >= m_dMinKeyInterval) {
        m_dLastKeyTime = MP_UI_GetActualTime();
        QAbstractSlider::keyPressEvent(event);
    } else {
        event->accept(); // dropped: neither acted on nor passed on
    }
}

// ---- _QSpinBox ----------------------------------------------------------------

void _QSpinBox::wheelEvent(QWheelEvent* event)
{
    if (hasFocus())
        QSpinBox::wheelEvent(event);
    else
        event->ignore();
}

// ---- HDRSlider ------------------------------------------------------------------

HDRSlider::HDRSlider(QWidget* parent, const QString& low, const QString& high) : QAbstractSlider(parent)
{
    Construct(QStringLiteral("UNDEFINED"), low, high, QStringLiteral("XXX"), 0, 100, 5, 1, QStringLiteral(" "), false,
              false);
}

HDRSlider::HDRSlider(QWidget* parent, const QString& low, const QString& high, int min, int max)
    : QAbstractSlider(parent)
{
    Construct(QStringLiteral("UNDEFINED"), low, high, QStringLiteral("XXX"), min, max, 5, 1, QStringLiteral(" "),
              false, false);
}

HDRSlider::HDRSlider(QWidget* parent, const QString& name, const QString& low, const QString& high, bool centred)
    : QAbstractSlider(parent)
{
    Construct(name, low, high, tr("%"), 0, 100, 5, 1, QStringLiteral(" "), true, centred);
}

HDRSlider::HDRSlider(QWidget* parent, const QString& name, const QString& low, const QString& high,
                     const QString& unit, int min, int max, bool centred)
    : QAbstractSlider(parent)
{
    Construct(name, low, high, unit, min, max, 5, 1, QStringLiteral(" "), true, centred);
}

HDRSlider::HDRSlider(QWidget* parent, const QString& name, const QString& low, const QString& high,
                     const QString& unit, int min, int max, int singleStep, unsigned int grating, bool continuous,
                     QString grooveStops, bool centred)
    : QAbstractSlider(parent)
{
    m_bContinuousUpdate = continuous;
    Construct(name, low, high, unit, min, max, singleStep, grating, grooveStops, true, centred);
}

HDRSlider::~HDRSlider() = default;

int HDRSlider::AutomaticSingleStep(int min, int max)
{
    const float range = static_cast<float>(static_cast<int64_t>(max) - min);
    const int s = MP_safeTrunc(range / 20.0f + 0.1f, INT_MIN, INT_MAX);
    if (s <= 1)
        return 1;
    if (s == 2)
        return 2;
    if (s <= 7)
        return 5;
    if (s <= 15)
        return 10;
    if (s <= 36)
        return 25;
    if (s <= 74)
        return 50;
    if (s <= 174)
        return 100;
    if (s <= 374)
        return 250;
    if (s <= 749)
        return 500;
    return 1000;
}

void HDRSlider::Construct(const QString& name, const QString& low, const QString& high, const QString& unit, int min,
                          int max, int requestedStep, unsigned int grating, const QString& grooveStops,
                          bool showNameAndValue, bool centred)
{
    setRange(min, max);
    m_dLastClickTime = 0.0;
    m_iLastReportedValue = INT_MAX;
    m_iInitialMin = min;
    m_iInitialMax = max;
    m_bIsRadius = false;

    setSingleStep(requestedStep == 5 ? AutomaticSingleStep(minimum(), maximum()) : requestedStep);
    setPageStep(0);

    SetCenterValueF(0.5f);
    m_uiGrating = grating == 0 ? 1 : grating;

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignTop);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pTopRow = new QHBoxLayout();
    m_pTopRow->setSpacing(0);
    m_pTopRow->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_pTopRow);

    QLabel* lowLabel = new QLabel(low, this);
    lowLabel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    lowLabel->setStyleSheet(QStringLiteral("font: 9px;"));
    m_pTopRow->addWidget(lowLabel);

    if (centred)
        CreateMidAreaCentered(name, unit);
    else
        CreateMidArea(name, unit);
    SetMidAreaVisible(showNameAndValue);

    QLabel* highLabel = new QLabel(high, this);
    highLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    highLabel->setStyleSheet(QStringLiteral("font: 9px;"));
    m_pTopRow->addWidget(highLabel);

    QHBoxLayout* bottomRow = new QHBoxLayout();
    bottomRow->setSpacing(0);
    bottomRow->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bottomRow);

    m_pSlider = new _QSlider(Qt::Horizontal, this);
    m_pSlider->m_dMinKeyInterval = 100.0;
    m_pSlider->m_dLastKeyTime = 0.0;
    m_pSlider->setFixedHeight(14);
    m_pSlider->setRange(minimum(), maximum());
    m_pSlider->setSingleStep(singleStep());
    m_pSlider->setPageStep(pageStep());
    m_pSlider->setTracking(true);
    bottomRow->addWidget(m_pSlider);
    if (grooveStops.size() > 1)
        SetStyleSheet(grooveStops);

    connect(m_pSlider, &QSlider::valueChanged, this, &HDRSlider::updateSpinBoxValue);
    connect(m_pSlider, &QSlider::valueChanged, this, &HDRSlider::sliderUpdated);
    connect(m_pSlider, &QSlider::sliderReleased, this, &HDRSlider::sliderUpdated);
    connect(m_pSlider, &QSlider::sliderPressed, this, &HDRSlider::sliderClicked);
}

void HDRSlider::CreateSpinBox()
{
    m_pSpinBox = new _QSpinBox(this);
    m_pSpinBox->setFocusPolicy(Qt::StrongFocus);
    m_pSpinBox->setFixedWidth(40);
    m_pSpinBox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_pSpinBox->setStyleSheet(QLatin1String(kNoSpinButtons));
    m_pSpinBox->setRange(minimum(), maximum());
    m_pSpinBox->setContextMenuPolicy(Qt::NoContextMenu);
    m_pSpinBox->setKeyboardTracking(false);
    connect(m_pSpinBox, &QSpinBox::valueChanged, this, &HDRSlider::spinboxUpdated);
}

void HDRSlider::CreateMidArea(const QString& name, const QString& unit)
{
    m_strName = name;
    m_pNameLabel = new QLabel(name, this);
    m_pNameLabel->setMinimumWidth(90);
    m_pNameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pNameLabel->setStyleSheet(QStringLiteral("font: 10px;"));
    m_pTopRow->addWidget(m_pNameLabel);
    m_pTopRow->addSpacing(2);
    CreateSpinBox();
    m_pTopRow->addWidget(m_pSpinBox);
    m_pTopRow->addSpacing(2);
    m_strUnit = unit;
    m_pUnitLabel = new QLabel(unit, this);
    m_pUnitLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pUnitLabel->setStyleSheet(QStringLiteral("font: 11px;"));
    m_pTopRow->addWidget(m_pUnitLabel);
}

void HDRSlider::CreateMidAreaCentered(const QString& name, const QString& unit)
{
    m_strName = name;
    m_strUnit = unit;
    QHBoxLayout* mid = new QHBoxLayout();
    m_pTopRow->addLayout(mid);
    mid->addStretch(8);
    m_pNameLabel = new QLabel(name, this);
    m_pNameLabel->setAlignment(Qt::AlignVCenter);
    m_pNameLabel->setStyleSheet(QStringLiteral("font: 10px;"));
    mid->addWidget(m_pNameLabel);
    m_pSpacerLeft = new QSpacerItem(4, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    mid->addSpacerItem(m_pSpacerLeft);
    CreateSpinBox();
    m_pSpinBox->setAlignment(Qt::AlignVCenter);
    mid->addWidget(m_pSpinBox);
    m_pSpacerRight = new QSpacerItem(4, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    mid->addSpacerItem(m_pSpacerRight);
    m_pUnitLabel = new QLabel(unit, this);
    m_pUnitLabel->setAlignment(Qt::AlignVCenter);
    m_pUnitLabel->setStyleSheet(QStringLiteral("font: 11px;"));
    mid->addWidget(m_pUnitLabel);
    mid->addStretch(8);
}

// ---- value ------------------------------------------------------------------------

void HDRSlider::SetValueInt(int v)
{
    // Nearest multiple of the grating, halves upwards (unsigned arithmetic).
    const unsigned int g = m_uiGrating;
    const unsigned int u = static_cast<unsigned int>(v) + g / 2u;
    const int grated = static_cast<int>(u - u % g);
    {
        const QSignalBlocker block(this);
        QAbstractSlider::setValue(grated);
    }
    if (m_pSpinBox) {
        const QSignalBlocker block(m_pSpinBox);
        m_pSpinBox->setValue(grated);
    }
    if (m_pSlider) {
        const QSignalBlocker block(m_pSlider);
        m_pSlider->setValue(grated);
    }
}

void HDRSlider::SetValueF(float x)
{
    x = unitFraction(x);
    const float span = static_cast<float>(maximum()) - static_cast<float>(minimum()) + 1.0f;
    SetValueInt(offsetValue(minimum(), span * x));
}

float HDRSlider::GetValueF() const
{
    const float span = static_cast<float>(maximum()) - static_cast<float>(minimum());
    if (!(span > 0.0f))
        return 0.0f;
    return static_cast<float>(static_cast<int64_t>(value()) - minimum()) / span;
}

void HDRSlider::SetValueFloat(float x)
{
    const float span = static_cast<float>(static_cast<int64_t>(maximum()) - minimum());
    const int64_t v = static_cast<int64_t>(minimum()) + MathRound(span * x);
    SetValueInt(static_cast<int>(MathClamp<int64_t>(v, minimum(), maximum())));
}

float HDRSlider::GetValueFloat() const
{
    if (maximum() <= minimum())
        return 0.0f;
    const float f = static_cast<float>(static_cast<int64_t>(value()) - minimum()) /
                    static_cast<float>(static_cast<int64_t>(maximum()) - minimum());
    return MathClamp(f, 0.0f, 1.0f);
}

void HDRSlider::SetResetToValueF(float x)
{
    SetValueF(x);
    if (m_pSlider)
        m_iLastReportedValue = m_pSlider->value();
}

void HDRSlider::SetCenterValueInt(int c) { m_iCenterValue = MathClamp(c, minimum(), maximum()); }

void HDRSlider::SetCenterValueF(float x)
{
    x = unitFraction(x);
    const float span = static_cast<float>(maximum()) - static_cast<float>(minimum());
    SetCenterValueInt(offsetValue(minimum(), span * x));
}

float HDRSlider::GetCenterValueF() const
{
    const float span = static_cast<float>(maximum()) - static_cast<float>(minimum());
    if (!(span > 0.0f))
        return 0.0f;
    return static_cast<float>(static_cast<int64_t>(m_iCenterValue) - minimum()) / span;
}

void HDRSlider::SetCenterValueFloat(float x)
{
    const float span = static_cast<float>(static_cast<int64_t>(maximum()) - minimum());
    const int64_t c = static_cast<int64_t>(minimum()) + MathRound(span * x);
    SetCenterValueInt(static_cast<int>(MathClamp<int64_t>(c, minimum(), maximum())));
}

float HDRSlider::GetCenterValueFloat() const
{
    if (maximum() <= minimum())
        return 0.0f;
    const float f = static_cast<float>(static_cast<int64_t>(m_iCenterValue) - minimum()) /
                    static_cast<float>(static_cast<int64_t>(maximum()) - minimum());
    return MathClamp(f, 0.0f, 1.0f);
}

void HDRSlider::SetToCenterValue()
{
    SetValueInt(m_iCenterValue);
    m_iLastReportedValue = INT_MAX;
}

void HDRSlider::EmitValueUpdated()
{
    if (!m_pSlider || m_pSlider->value() == m_iLastReportedValue)
        return;
    m_iLastReportedValue = m_pSlider->value();
    emit valueUpdated();
}

// ---- appearance ---------------------------------------------------------------------

void HDRSlider::SetName(QString name)
{
    m_strName = name;
    if (m_pNameLabel)
        m_pNameLabel->setText(name);
}

void HDRSlider::SetValueWidth(int w)
{
    if (m_pSpinBox)
        m_pSpinBox->setFixedWidth(w);
}

void HDRSlider::SetMidAreaVisible(bool visible)
{
    if (m_pNameLabel)
        m_pNameLabel->setVisible(visible);
    SetValueVisible(visible);
}

void HDRSlider::SetValueVisible(bool visible)
{
    if (m_pSpinBox && m_pUnitLabel) {
        m_pSpinBox->setVisible(visible);
        m_pUnitLabel->setVisible(visible);
    }
    const int w = visible ? 4 : 0;
    for (QSpacerItem* spacer : {m_pSpacerLeft, m_pSpacerRight}) {
        if (spacer)
            spacer->changeSize(w, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    if (layout())
        layout()->invalidate();
}

void HDRSlider::SetEnabled(bool enabled)
{
    {
        const QSignalBlocker block(this);
        QWidget::setEnabled(enabled);
    }
    SetValueFontStyle();
}

void HDRSlider::SetValueFontStyle()
{
    if (!m_pSpinBox)
        return;
    QString sheet = QLatin1String(kNoSpinButtons);
    if (!isEnabled()) {
        // The digits take the background colour and vanish.
        const QPalette& pal = m_pSpinBox->palette();
        const QColor c = pal.brush(pal.currentColorGroup(), m_pSpinBox->backgroundRole()).color();
        sheet += QStringLiteral(" ") + QString::asprintf("QSpinBox { color : rgba( %i, %i, %i, %i ); }", c.red(),
                                                         c.green(), c.blue(), c.alpha());
    }
    m_pSpinBox->setStyleSheet(sheet);
}

void HDRSlider::SetStyleSheet(QString stops)
{
    if (!m_pSlider || stops.size() <= 1)
        return;
    m_pSlider->setStyleSheet(QStringLiteral("QSlider::groove:horizontal { background: qlineargradient(x1:0, y1:0, "
                                            "x2:1, y2:0, ") +
                             stops + QStringLiteral("); }"));
}

void HDRSlider::TriggerAction(QAbstractSlider::SliderAction action)
{
    if (isEnabled() && m_pSlider)
        m_pSlider->triggerAction(action);
}

// ---- slots ------------------------------------------------------------------------------

void HDRSlider::updateSpinBoxValue(int v)
{
    if (!m_pSpinBox)
        return;
    const QSignalBlocker block(m_pSpinBox);
    m_pSpinBox->setValue(v);
}

void HDRSlider::sliderUpdated()
{
    const bool down = m_pSlider->isSliderDown();
    if (!down || m_bContinuousUpdate) {
        SetValueInt(m_pSlider->value());
        EmitValueUpdated();
    }
    if (down) {
        if (m_bContinuousUpdate)
            emit controlUpdated();
    } else {
        emit controlFinished();
    }
}

void HDRSlider::spinboxUpdated()
{
    SetValueInt(m_pSpinBox->value());
    const QSignalBlocker block(m_pSpinBox);
    EmitValueUpdated();
    emit controlFinished();
}

void HDRSlider::sliderClicked()
{
    if (!m_bResetOnDoubleClick)
        return;
    if (MP_UI_CalcTimeDifference(m_dLastClickTime) <= 200.0)
        SetToCenterValue();
    m_dLastClickTime = MP_UI_GetActualTime();
}

// ---- radius adaptation ------------------------------------------------------------------

void HDRSlider::AdaptRadiusRange()
{
    const float quality = MP_UI_GetCalculationQuality();
    int target = MP_safeTrunc(2.0f * static_cast<float>(m_iInitialMax) * quality + 0.5f, INT_MIN, INT_MAX);
    // However low the quality, the range keeps at least one step.
    if (target <= m_iInitialMin)
        target = m_iInitialMin < INT_MAX ? m_iInitialMin + 1 : INT_MAX;

    const int m = maximum();
    if (m != target) {
        std::cout << "SliderMax from " << m << " to " << target << std::endl;
        const QSignalBlocker blockSelf(this);
        const QSignalBlocker blockSlider(m_pSlider);
        const QSignalBlocker blockSpin(m_pSpinBox);
        const float f = GetValueF();
        const int c = GetCenterValueInt();
        setRange(m_iInitialMin, target);
        if (m > 0) {
            const float scaled = static_cast<float>(static_cast<int64_t>(c) - minimum()) *
                                     (static_cast<float>(target) / static_cast<float>(m)) +
                                 static_cast<float>(m_iInitialMin) + 0.5f;
            SetCenterValueInt(MP_safeTrunc(scaled, INT_MIN, INT_MAX));
        }
        if (m_pSlider)
            m_pSlider->setRange(minimum(), maximum());
        if (m_pSpinBox)
            m_pSpinBox->setRange(minimum(), maximum());
        SetValueF(f);
    }

    if (IToolkitMainWindow* window = ToolkitSeams::MainWindow())
        window->SetPreviewRadiusText(m_strName);
    const float span = static_cast<float>(static_cast<int64_t>(maximum()) - minimum());
    MP_UI_SetActualRadiusSize(static_cast<float>(minimum()) + GetValueF() * span);
}

void HDRSlider::paintEvent(QPaintEvent* event)
{
    if (m_bIsRadius)
        AdaptRadiusRange();
    QWidget::paintEvent(event);
}
