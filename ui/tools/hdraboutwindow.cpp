#include "ui/tools/hdraboutwindow.h"

#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/tools/linkstyle.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QPushButton>

namespace {
constexpr int kPaneWidth = 520;

QTextBrowser* AddPane(QVBoxLayout* layout, QWidget* parent, const QString& title, int height, const QString& text)
{
    QGroupBox* box = new QGroupBox(title, parent);
    box->setFixedWidth(kPaneWidth);
    QVBoxLayout* inner = new QVBoxLayout(box);
    _QTextBrowser* browser = new _QTextBrowser(box);
    browser->setFixedHeight(height);
    browser->setReadOnly(true);
    browser->setContextMenuPolicy(Qt::NoContextMenu);
    browser->setOpenExternalLinks(true);
    LinkStyle::SetHtml(browser, text);
    inner->addWidget(browser);
    layout->addWidget(box);
    return browser;
}
} // namespace

QString HDRAboutWindow::VersionText(const QString& aboutText, const QString& homepage)
{
    QString text = QStringLiteral("<H4>%1 %2 - %3%4 - ")
                       .arg(QCoreApplication::translate("Program", "VERSION_NAME LUMIVEX"),
                            QCoreApplication::translate("Program", "LUMIVEX VERSION_PRO"),
                            QStringLiteral("V1.14.02132"), QString());
    text += aboutText;
    text.replace(QStringLiteral("CODE_HOMEPAGEURL"), homepage, Qt::CaseInsensitive);
    return text;
}

HDRAboutWindow::HDRAboutWindow(QWidget* parent, const QString& homepage) : HDRInfoDialog(parent)
{
    setWindowIcon(QIcon::fromTheme(QStringLiteral("About"), QIcon()));
    setWindowTitle(tr("Über Lumivex"));

    QVBoxLayout* layout = new QVBoxLayout();
    m_pMainLayout->addLayout(layout, 0);
    layout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    const QString address =
        !homepage.isNull() ? homepage : (g_pHDRMainWindow ? g_pHDRMainWindow->m_sHomepageURL : QString());
    m_apBrowsers[0] = AddPane(layout, this, tr("About Groupbox Version"), 80,
                              VersionText(tr("LUMIVEX About copyright text & links"), address));
    m_apBrowsers[1] = AddPane(layout, this, tr("About Groupbox Credits"), 120, tr("About credits Liste"));
    m_apBrowsers[2] = AddPane(layout, this, tr("About Groupbox License"), 80, tr("About License Liste"));

    QHBoxLayout* buttons = new QHBoxLayout();
    layout->addLayout(buttons);
    m_pOkButton = new QPushButton(tr("OK"), this);
    m_pOkButton->setFixedSize(106, 34);
    m_pOkButton->setToolTip(_gui::HtmlToolTip(tr("About verlassen")));
    buttons->addWidget(m_pOkButton, 0, Qt::AlignRight | Qt::AlignBottom);
    connect(m_pOkButton, &QPushButton::clicked, this, &HDRAboutWindow::confirmClicked);
}

void HDRAboutWindow::confirmClicked() { close(); }

void HDRAboutWindow::done(int result) { QDialog::done(result); }

void HDRAboutWindow::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
