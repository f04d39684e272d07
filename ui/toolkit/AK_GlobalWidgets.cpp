#include "ui/toolkit/AK_GlobalWidgets.h"

#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>

namespace _gui {

using _hlp::MathClamp;
using _hlp::MathRound;

// ---- COpacitySlider -------------------------------------------------------

COpacitySlider::COpacitySlider(QWidget* parent) : COpacityBase<QSlider>(parent)
{
    setOrientation(Qt::Horizontal);
    setRange(0, 100);
    setSingleStep(5);
    setPageStep(0);
    setAttribute(Qt::WA_Hover); // hover events drive the handle highlight
}

int COpacitySlider::RelToValue(float x) const { return MathClamp(MathRound(x * 100.0f), 0, 100); }

float COpacitySlider::ValueToRel(int v) const
{
    return MathClamp(static_cast<float>(v) / 100.0f, 0.0f, 1.0f);
}

bool COpacitySlider::IsOnHandle(QPoint const& pos) const
{
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    return handle.contains(pos);
}

void COpacitySlider::UpdateActiveSubconstrols(QPoint const& pos)
{
    const int active = IsOnHandle(pos) ? static_cast<int>(QStyle::SC_SliderHandle) : 0;
    if (active == m_iActiveSubControls)
        return;
    m_iActiveSubControls = active;
    repaint();
}

bool COpacitySlider::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
        UpdateActiveSubconstrols(static_cast<QHoverEvent*>(e)->position().toPoint());
        break;
    default:
        break;
    }
    return QSlider::event(e);
}

void COpacitySlider::mousePressEvent(QMouseEvent* e)
{
    if (m_bIgnoreNextPress) {
        e->ignore();
        return;
    }
    QSlider::mousePressEvent(e);
}

void COpacitySlider::mouseReleaseEvent(QMouseEvent* e)
{
    m_bIgnoreNextPress = false;
    QSlider::mouseReleaseEvent(e);
}

void COpacitySlider::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (IsOnHandle(pos)) {
        setValue(m_iCenterValue);
        UpdateActiveSubconstrols(pos);
        m_bIgnoreNextPress = true;
    }
    // The default path hands the double click to mousePressEvent as a press.
    QSlider::mouseDoubleClickEvent(e);
}

void COpacitySlider::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setOpacity(m_fOpacity);
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    opt.activeSubControls = QStyle::SubControls(m_iActiveSubControls);
    style()->drawComplexControl(QStyle::CC_Slider, &opt, &p, this);
}

// ---- labels, group boxes and buttons ----------------------------------------

COpacityLabel::COpacityLabel(QString const& text, QWidget* parent) : COpacityBase<QLabel>(parent) { setText(text); }

void COpacityLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setOpacity(m_fOpacity);
    p.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop, text());
}

void COpacityGroupBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setOpacity(m_fOpacity);
    QStyleOptionGroupBox opt;
    initStyleOption(&opt);
    style()->drawComplexControl(QStyle::CC_GroupBox, &opt, &p, this);
}

void COpacityPushButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setOpacity(m_fOpacity);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    style()->drawControl(QStyle::CE_PushButton, &opt, &p, this);
}

// ---- HDROpacitySlider ---------------------------------------------------------

HDROpacitySlider::HDROpacitySlider(QWidget* parent, QString const& name, QString const& low, QString const& high)
    : QWidget(parent)
{
    m_bSmoothUpdate = false;
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignTop);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);

    QHBoxLayout* top = new QHBoxLayout();
    top->setSpacing(0);
    top->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    m_pLowLabel = new COpacityLabel(low, this);
    m_pNameLabel = new COpacityLabel(name, this);
    m_pHighLabel = new COpacityLabel(high, this);
    top->addWidget(m_pLowLabel, 0, Qt::AlignLeft);
    top->addWidget(m_pNameLabel, 0, Qt::AlignHCenter);
    top->addWidget(m_pHighLabel, 0, Qt::AlignRight);

    QHBoxLayout* bottom = new QHBoxLayout();
    bottom->setSpacing(0);
    bottom->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bottom);
    m_pSlider = new COpacitySlider(this);
    bottom->addWidget(m_pSlider);

    connect(m_pSlider, &QSlider::valueChanged, this, &HDROpacitySlider::SliderUpdated);
    connect(m_pSlider, &QSlider::sliderReleased, this, &HDROpacitySlider::SliderUpdated);
    SetOpacity(1.0f);
}

void HDROpacitySlider::SetValueF(float x) { m_pSlider->SetValueF(x); }

float HDROpacitySlider::GetValueF() const { return m_pSlider->GetValueF(); }

void HDROpacitySlider::SetCenterValueF(float x) { m_pSlider->SetCenterValueF(x); }

void HDROpacitySlider::SetOpacity(float opacity)
{
    m_pSlider->SetOpacity(opacity);
    m_pLowLabel->SetOpacity(opacity);
    m_pNameLabel->SetOpacity(opacity);
    m_pHighLabel->SetOpacity(opacity);
}

void HDROpacitySlider::SetEnabled(bool enabled) { m_pSlider->setEnabled(enabled); }

void HDROpacitySlider::SetStyleSheet(QString const& stops)
{
    if (stops.size() <= 1)
        return;
    m_pSlider->setStyleSheet(QStringLiteral("QSlider::groove:horizontal { background: qlineargradient(x1:0, y1:0, "
                                            "x2:1, y2:0, ") +
                             stops + QStringLiteral("); }"));
}

void HDROpacitySlider::TriggerAction(QAbstractSlider::SliderAction action) { m_pSlider->triggerAction(action); }

void HDROpacitySlider::SliderUpdated()
{
    const bool down = m_pSlider->isSliderDown();
    if (!down || m_bSmoothUpdate)
        emit SigValueUpdated();
    if (down) {
        if (m_bSmoothUpdate)
            emit SigControlUpdated();
    } else {
        emit SigControlFinished();
    }
}

// ---- CContextMenuPushButton and CBaseLabel -------------------------------------

CContextMenuPushButton::CContextMenuPushButton(QWidget* parent) : QPushButton(parent) {}

void CContextMenuPushButton::contextMenuEvent(QContextMenuEvent* e)
{
    if (isEnabled() && m_iContextMenuId != -1 && (!m_bCheckedOnly || isChecked()))
        emit SigContextMenu(m_iContextMenuId, e->globalPos());
    QWidget::contextMenuEvent(e); // ignores the event, so it reaches the parent too
}

CBaseLabel::CBaseLabel(QWidget* parent) : QLabel(parent), m_pBaseParent(parent) {}

} // namespace _gui
