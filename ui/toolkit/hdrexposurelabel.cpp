#include "ui/toolkit/hdrexposurelabel.h"

#include "ui/toolkit/styleengine.h"

HDRExposureLabel::HDRExposureLabel(QWidget* parent, Qt::WindowFlags flags) : QLabel(parent, flags)
{
    setFixedSize(104, 60);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
}

void HDRExposureLabel::SetChecked(bool checked)
{
    if (!m_bCheckable)
        return;
    UpdateStyle(checked);
    m_bChecked = checked;
}

void HDRExposureLabel::UpdateStyle(bool selected)
{
    QString sheet;
    if (selected) {
        sheet = QStringLiteral("QLabel { border-radius: STYLE_BORDERRADIUS; border-style: solid; border-width: %1px; "
                               "border-color: #STYLE_SELECTCOLOR; background: #STYLE_BACKGROUND; }")
                    .arg(m_uiBorderWidth);
    } else {
        sheet = QStringLiteral("QLabel { border-radius: STYLE_BORDERRADIUS-2; border-style: solid; border-width: %1px; "
                               "border-color: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 1, stop: 0 "
                               "#STYLE_BORDERCOLOR+2, stop: 1 #STYLE_BORDERCOLOR+3); background: #STYLE_BACKGROUND; }")
                    .arg(1);
    }
    setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(sheet));
}

void HDRExposureLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (m_bIgnoreClicks)
        return;
    const bool wasChecked = m_bChecked;
    emit clicked(); // receivers see the state before the press
    SetChecked((wasChecked && m_bStayChecked) ? true : !wasChecked);
}

void HDRExposureLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void HDRExposureLabel::enterEvent(QEnterEvent* event)
{
    emit entered();
    QWidget::enterEvent(event);
}

void HDRExposureLabel::leaveEvent(QEvent* event)
{
    emit left();
    QWidget::leaveEvent(event);
}

HDRExposureLabelWeightColor::HDRExposureLabelWeightColor(QWidget* parent, Qt::WindowFlags flags)
    : HDRExposureLabel(parent, flags)
{
    setFixedWidth(24);
}

void HDRExposureLabelWeightColor::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit clicked();
}
