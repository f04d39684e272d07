#include "ui/toolkit/hdrdockwidget.h"

#include "ui/toolkit/toolkitseams.h"

#include <QBoxLayout>
#include <QScrollArea>
#include <QScrollBar>

HDRDockWidget::HDRDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : QDockWidget(title, parent, flags)
{
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setFixedWidth(312);
    m_strTitle = title;

    m_pContentWidget = new QWidget();
    m_pContentWidget->setFixedWidth(width() - 10);

    m_pScrollArea = new QScrollArea();
    m_pScrollArea->setWidget(m_pContentWidget);
    // The content widget is no window, so its layout does not grow it: the
    // scroll area sizes it (its width stays fixed) as controls are added.
    m_pScrollArea->setWidgetResizable(true);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->horizontalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pScrollArea->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);

    m_pContentLayout = new QVBoxLayout(m_pContentWidget);
    setWidget(m_pScrollArea);

    SetHighlighted(false);
}

void HDRDockWidget::SetHighlighted(bool on)
{
    if (!on) {
        setWindowTitle(m_strTitle);
        return;
    }
    setWindowTitle(QStringLiteral(">> ") + m_strTitle + QStringLiteral(" <<"));
    QString text;
    GetInfoText(text);
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->UpdateText(text);
}
