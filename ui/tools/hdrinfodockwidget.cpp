#include "ui/tools/hdrinfodockwidget.h"

#include "ui/tools/linkstyle.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QMainWindow>
#include <QTextBrowser>

HDRInfoDockWidget* g_pInfoDockWidget = nullptr;

HDRInfoDockWidget::HDRInfoDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : HDRDockWidget(title, parent, flags)
{
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    m_bIsTitleScreen = false;
    m_bFixedSize = false;
    // The dock base fixes the width of the program's docks; this one sizes freely.
    setMinimumWidth(1);
    setMaximumWidth(QWIDGETSIZE_MAX);

    m_pBrowser = new QTextBrowser(m_pContentWidget);
    m_pBrowser->setReadOnly(true);
    m_pBrowser->setOpenExternalLinks(true);
    m_pBrowser->setContextMenuPolicy(Qt::NoContextMenu);
    // The browser takes the content's height and its width less 10 px (see
    // resizeEvent): centred, without margins above or below that would cut it.
    m_pContentLayout->setContentsMargins(5, 0, 5, 0);
    m_pContentLayout->addWidget(m_pBrowser);
}

HDRInfoDockWidget::~HDRInfoDockWidget()
{
    if (g_pInfoDockWidget == this) {
        g_pInfoDockWidget = nullptr;
        if (ToolkitSeams::InfoDock() == static_cast<IInfoDock*>(this))
            ToolkitSeams::SetInfoDock(nullptr);
    }
}

void HDRInfoDockWidget::RegisterAsInfoDock()
{
    g_pInfoDockWidget = this;
    ToolkitSeams::SetInfoDock(this);
}

void HDRInfoDockWidget::UpdateText(const QString& html)
{
    m_strText = html;
    LinkStyle::SetHtml(m_pBrowser, html); // links follow the style from now on
}

void HDRInfoDockWidget::EnableFixedSize(bool on)
{
    m_bFixedSize = on;
    if (on) {
        ApplySizeRules();
        return;
    }
    setMinimumSize(1, 1);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void HDRInfoDockWidget::ApplySizeRules()
{
    if (!m_bFixedSize || !isVisible())
        return;
    if (isFloating()) {
        setMinimumWidth(312);
        setMaximumWidth(QWIDGETSIZE_MAX);
        setMinimumHeight(200);
        setMaximumHeight(QWIDGETSIZE_MAX);
        return;
    }
    const QMainWindow* main = qobject_cast<const QMainWindow*>(parentWidget());
    const Qt::DockWidgetArea area = main ? main->dockWidgetArea(this) : Qt::LeftDockWidgetArea;
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea) {
        setMinimumWidth(1);
        setMaximumWidth(QWIDGETSIZE_MAX);
        setFixedHeight(193);
    } else {
        setFixedWidth(312);
        setMinimumHeight(200);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void HDRInfoDockWidget::paintEvent(QPaintEvent* event) { HDRDockWidget::paintEvent(event); }

void HDRInfoDockWidget::resizeEvent(QResizeEvent* event)
{
    const int contentWidth = std::max(1, width() - 10);
    const int contentHeight = std::max(1, height() - 30);
    m_pContentWidget->setFixedSize(contentWidth, contentHeight);
    m_pBrowser->setFixedSize(std::max(1, contentWidth - 10), contentHeight);
    HDRDockWidget::resizeEvent(event);
}

void HDRInfoDockWidget::closeEvent(QCloseEvent* event)
{
    emit closeClicked();
    HDRDockWidget::closeEvent(event);
}

void HDRInfoDockWidget::showEvent(QShowEvent* event)
{
    ApplySizeRules();
    HDRDockWidget::showEvent(event);
}
