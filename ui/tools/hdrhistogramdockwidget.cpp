#include "ui/tools/hdrhistogramdockwidget.h"

#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/styleengine.h"
#include "ui/tools/tooldocks.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>

namespace {
QString LightenedStyle(QString style)
{
    return style.replace(QStringLiteral("color: red;"), QStringLiteral("color: #ff6e6e;"))
        .replace(QStringLiteral("color: green;"), QStringLiteral("color: #5fd35f;"))
        .replace(QStringLiteral("color: blue;"), QStringLiteral("color: #7aa2ff;"));
}
} // namespace

void _QLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit clicked();
}

HDRHistogramDockWidget::HDRHistogramDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : HDRDockWidget(title, parent, flags)
{
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    m_pContentLayout->setSizeConstraint(QLayout::SetFixedSize);

    struct SBox {
        QCheckBox** ppBox;
        const char* szText;
        const char* szTooltip;
        const char* szStyle;
        bool bChecked;
    };
    // On a dark style (light text) pure red, green and blue are hard to read:
    // the same hues, lighter.
    const QColor text(CStyleEngine::instance().ReplaceStyleSheetCodes(QStringLiteral("#STYLE_TEXTCOLOR")));
    const bool darkStyle = text.isValid() && text.lightness() > 128;
    const SBox boxes[] = {
        {&m_pLuminanceCheckBox, QT_TR_NOOP("Luminanz"), QT_TR_NOOP("tooltip Histogramm Luminanz"), nullptr, true},
        {&m_pRedCheckBox, QT_TR_NOOP("R"), QT_TR_NOOP("tooltip Histogramm Rotanteil"), "QCheckBox { color: red; }", true},
        {&m_pGreenCheckBox, QT_TR_NOOP("G"), QT_TR_NOOP("tooltip Histogramm Grünanteil"), "QCheckBox { color: green; }",
         true},
        {&m_pBlueCheckBox, QT_TR_NOOP("B"), QT_TR_NOOP("tooltip Histogramm Blauanteil"), "QCheckBox { color: blue; }",
         true},
        {&m_pCumulativeCheckBox, QT_TR_NOOP("kumulativ"), QT_TR_NOOP("tooltip Histogramm kumulativ"), nullptr, false},
    };
    QHBoxLayout* row = new QHBoxLayout();
    for (const SBox& box : boxes) {
        QCheckBox* check = new QCheckBox(tr(box.szText), m_pContentWidget);
        check->setToolTip(_gui::HtmlToolTip(tr(box.szTooltip)));
        if (box.szStyle)
            check->setStyleSheet(darkStyle ? LightenedStyle(QLatin1String(box.szStyle)) : QLatin1String(box.szStyle));
        check->setChecked(box.bChecked);
        connect(check, &QCheckBox::toggled, this, &HDRHistogramDockWidget::checkBoxToggled);
        row->addWidget(check);
        *box.ppBox = check;
    }
    m_pContentLayout->addLayout(row);

    m_pHistogramLabel = new _QLabel(m_pContentWidget);
    m_pHistogramLabel->setFixedSize(270, 160);
    connect(m_pHistogramLabel, &_QLabel::clicked, this, &HDRHistogramDockWidget::labelClicked);
    m_pContentLayout->addWidget(m_pHistogramLabel);

    m_pContentWidget->adjustSize();
    setFixedHeight(m_pContentWidget->height() + 25);
}

void HDRHistogramDockWidget::SetPixmap(const QPixmap& pixmap) { m_pHistogramLabel->setPixmap(pixmap); }

QSize HDRHistogramDockWidget::PictureSize() const { return m_pHistogramLabel->size(); }

void HDRHistogramDockWidget::Channels(bool* luminance, bool* red, bool* green, bool* blue, bool* cumulative) const
{
    *luminance = m_pLuminanceCheckBox->isChecked();
    *red = m_pRedCheckBox->isChecked();
    *green = m_pGreenCheckBox->isChecked();
    *blue = m_pBlueCheckBox->isChecked();
    *cumulative = m_pCumulativeCheckBox->isChecked();
}

void HDRHistogramDockWidget::checkBoxToggled() { emit updateHistogram(); }

void HDRHistogramDockWidget::labelClicked() { emit showHistogram(); }

void HDRHistogramDockWidget::closeEvent(QCloseEvent* event)
{
    emit closeClicked();
    HDRDockWidget::closeEvent(event);
}
