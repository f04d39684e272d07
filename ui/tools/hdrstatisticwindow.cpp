#include "ui/tools/hdrstatisticwindow.h"

#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/tools/hdrstatistic.h"

#include <QBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QTextBrowser>

HDRStatisticWindow::HDRStatisticWindow(QWidget* parent, HDRStatistic* statistic)
    : HDRInfoDialog(parent), m_pStatistic(statistic)
{
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol"), QIcon()));
    setWindowTitle(tr("Statistic Window Title"));

    QVBoxLayout* layout = new QVBoxLayout();
    m_pMainLayout->addLayout(layout, 0);
    layout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_pTextBrowser = new _QTextBrowser(this);
    layout->addWidget(m_pTextBrowser, 0);
    m_pTextBrowser->setReadOnly(true);
    m_pTextBrowser->setFixedSize(600, 600);
    m_pTextBrowser->setContextMenuPolicy(Qt::NoContextMenu);
    m_pTextBrowser->setOpenExternalLinks(true);

    QHBoxLayout* buttons = new QHBoxLayout();
    layout->addLayout(buttons);
    m_pExitButton = new QPushButton(tr("Statistic Exit"), this);
    buttons->addWidget(m_pExitButton, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_pExitButton->setFixedSize(106, 34);
    m_pExitButton->setToolTip(_gui::HtmlToolTip(tr("tooltip StatistikWindow verlassen")));
    connect(m_pExitButton, &QPushButton::clicked, this, &HDRStatisticWindow::exitClicked);
}

HDRStatisticWindow::~HDRStatisticWindow() = default;

HDRStatistic* HDRStatisticWindow::Statistic() const
{
    if (m_pStatistic)
        return m_pStatistic;
    return g_pHDRMainWindow ? dynamic_cast<HDRStatistic*>(g_pHDRMainWindow->m_pStatistic) : nullptr;
}

void HDRStatisticWindow::exitClicked() { close(); }

void HDRStatisticWindow::done(int result) { QDialog::done(result); }

void HDRStatisticWindow::showEvent(QShowEvent* event)
{
    if (HDRStatistic* statistic = Statistic())
        m_pTextBrowser->setHtml(statistic->CreateText());
    QDialog::showEvent(event);
}
