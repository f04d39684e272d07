#include "ui/toolkit/hdrcollapsible.h"
#include "ui/toolkit/resourceinit.h"

#include "ui/toolkit/styleengine.h"

#include <QBoxLayout>
#include <QIcon>
#include <QLabel>

void HDRCollapsibleHeader::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    emit clicked();
}

HDRCollapsible::HDRCollapsible(QWidget* parent, Qt::WindowFlags) : QGroupBox(parent)
{
    LumivexInitResources();
    m_bOpened = true;
    m_pLayout = new QVBoxLayout(this);
    m_pLayout->setAlignment(Qt::AlignTop);
    m_pLayout->setSpacing(3);
    updateContentsMargins();

    QHBoxLayout* headerLayout = new QHBoxLayout();
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    headerLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pHeader = new HDRCollapsibleHeader(this);
    m_pHeader->setLayout(headerLayout);
    m_pLayout->addWidget(m_pHeader);
    connect(m_pHeader, &HDRCollapsibleHeader::clicked, this, &HDRCollapsible::collapseClicked);

    m_pArrowLabel = new QLabel(m_pHeader);
    ShowArrow(true);
    m_pArrowLabel->setFixedSize(22, 22);
    m_pArrowLabel->setAlignment(Qt::AlignCenter);
    headerLayout->addWidget(m_pArrowLabel);

    m_pHeaderLabel = new QLabel(QString(), m_pHeader);
    m_pHeaderLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pHeaderLabel->setFixedWidth(200);
    m_pHeaderLabel->setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(
        QStringLiteral("QLabel { font-size: 11px; font-weight: bold; } QLabel:hover { color: #STYLE_TEXTCOLOR-4; }")));
    headerLayout->addWidget(m_pHeaderLabel);
}

void HDRCollapsible::ShowArrow(bool open)
{
    const QIcon icon = QIcon::fromTheme(open ? QStringLiteral("CollapsableArrowUp") : QStringLiteral("CollapsableArrowDown"));
    m_pArrowLabel->setPixmap(icon.pixmap(16, 16));
}

void HDRCollapsible::SetHeader(const QString& title) { m_pHeaderLabel->setText(title); }

void HDRCollapsible::AddWidget(QWidget* widget, bool add, bool collapsible)
{
    if (!widget)
        return;
    if (add)
        m_pLayout->addWidget(widget);
    if (collapsible)
        m_vWidgets.append(widget);
}

void HDRCollapsible::InsertLayout(QLayout* layout, bool collapsible)
{
    if (!layout)
        return;
    m_pLayout->addLayout(layout);
    if (collapsible) {
        m_vLayouts.append(layout);
        m_vMargins.append(layout->contentsMargins());
    }
}

void HDRCollapsible::Collapse(bool open)
{
    for (QWidget* widget : m_vWidgets)
        widget->setVisible(open);
    for (qsizetype i = 0; i < m_vLayouts.size(); ++i)
        m_vLayouts[i]->setContentsMargins(open ? m_vMargins[i] : QMargins(0, 0, 0, 0));
    ShowArrow(open);
    m_bOpened = open;
    updateContentsMargins();
    emit collapse();
}

void HDRCollapsible::collapseClicked() { Collapse(!m_bOpened); }

void HDRCollapsible::updateContentsMargins() { m_pLayout->setContentsMargins(11, 2, 11, m_bOpened ? 11 : 2); }
