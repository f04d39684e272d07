#include "ui/tools/hdrexifdockwidget.h"

#include "document/exposure.h"
#include "ui/toolkit/hdrcollapsible.h"
#include "ui/tools/tooldocks.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QTextBrowser>

namespace {
constexpr int kSectionWidth = 580;
constexpr int kCollapsedHeight = 50;
int OpenSectionHeight(int rows) { return 15 * rows + 65; }
} // namespace

HDRExifDockwidget::HDRExifDockwidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : HDRDockWidget(title, parent, flags)
{
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setMinimumSize(312, 312);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    m_pContentLayout->setContentsMargins(1, 1, 1, 1);
    m_pContentLayout->setSpacing(1);
    m_pContentLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (int k = 0; k < kSections; ++k) {
        m_apSections[k] = new HDRCollapsible(this);
        m_pContentLayout->addWidget(m_apSections[k]);
        m_apSections[k]->setStyleSheet(QStringLiteral("padding-top: 0px;"));
        m_apBrowsers[k] = new QTextBrowser(m_apSections[k]);
        m_apBrowsers[k]->setStyleSheet(QStringLiteral("padding-top: 6px;"));
        m_apBrowsers[k]->setReadOnly(true);
        // The section's height is measured for all rows: no scroll bar of its own.
        m_apBrowsers[k]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_apBrowsers[k]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_apBrowsers[k]->document()->setDocumentMargin(2);
        m_apSections[k]->AddWidget(m_apBrowsers[k], true, true);
        m_apSections[k]->Collapse(k < 2);
        m_apSections[k]->hide(); // until metadata is shown
    }
    for (HDRCollapsible* section : m_apSections)
        connect(section, &HDRCollapsible::collapse, this, &HDRExifDockwidget::resizeContent);

    QLabel* bottom = new QLabel(m_pContentWidget);
    bottom->setFixedHeight(10);
    m_pContentLayout->addWidget(bottom);

    ShowDefaultCategories();
}

void HDRExifDockwidget::ShowDefaultCategories()
{
    for (int k = 0; k < kSections; ++k) {
        const bool blocked = m_apSections[k]->blockSignals(true);
        m_apSections[k]->Collapse(k < 2);
        m_apSections[k]->blockSignals(blocked);
    }
}

void HDRExifDockwidget::UpdateExif(CExposure* exposure)
{
    if (!exposure) {
        ShowMetadata(QString(), {}, {});
        m_bShowsMetadata = false;
        setWindowTitle(m_strTitle);
        return;
    }
    const QMap<unsigned int, QString>& tables = exposure->GetExif();
    ShowMetadata(exposure->m_strFileName, exposure->GetExifTitles(), tables);
}

void HDRExifDockwidget::ShowMetadata(const QString& fileName, const QMap<unsigned int, QString>& headers,
                                     const QMap<unsigned int, QString>& tables)
{
    setWindowTitle(fileName + QStringLiteral(": ") + m_strTitle);
    m_bShowsMetadata = true;
    for (int k = 0; k < kSections; ++k) {
        const unsigned int key = unsigned(k + 1);
        if (!headers.contains(key)) {
            m_aiRowCounts[k] = 0;
            m_apBrowsers[k]->clear();
            m_apSections[k]->hide();
            continue;
        }
        const QString table = tables.value(key);
        m_apSections[k]->SetHeader(headers.value(key));
        m_apBrowsers[k]->setHtml(table);
        m_aiRowCounts[k] = int(table.count(QStringLiteral("<tr>"), Qt::CaseInsensitive));
        m_apSections[k]->show();
    }
    resizeContent();
}

void HDRExifDockwidget::resizeContent()
{
    if (!m_bShowsMetadata)
        return;
    int sum = 0;
    for (int k = 0; k < kSections; ++k) {
        HDRCollapsible* section = m_apSections[k];
        if (section->isHidden())
            continue;
        const int height = section->IsOpened() ? OpenSectionHeight(m_aiRowCounts[k]) : kCollapsedHeight;
        section->setFixedHeight(height);
        section->setFixedWidth(kSectionWidth);
        sum += height;
    }
    m_pContentWidget->setFixedWidth(kSectionWidth + 20);
    m_pContentWidget->setFixedHeight(sum + 50);
    setMaximumWidth(m_pContentWidget->width() + 20);
}

void HDRExifDockwidget::closeEvent(QCloseEvent* event)
{
    emit closeClicked();
    HDRDockWidget::closeEvent(event);
}

void HDRExifDockwidget::showEvent(QShowEvent* event)
{
    HDRDockWidget::showEvent(event);
    resizeContent();
    if (!isVisible())
        return;
    if (isFloating()) {
        setMinimumWidth(312);
        setMaximumWidth(m_pContentWidget->width() + 20);
    } else {
        setFixedWidth(312);
    }
}
