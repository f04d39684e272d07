#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/resourceinit.h"

#include "ui/toolkit/modalhook.h"
#include "ui/toolkit/toolkitseams.h"

#include <QBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QScrollBar>

// ---- HDRInfoDialog ----------------------------------------------------------

HDRInfoDialog::HDRInfoDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                   Qt::WindowCloseButtonHint);
    setWindowModality(Qt::WindowModal);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    setWindowOpacity(1.0);
    m_pMainLayout = new QHBoxLayout(this);
    m_pMainLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pMainLayout->setSizeConstraint(QLayout::SetFixedSize);
}

void HDRInfoDialog::CreateInfoArea()
{
    LumivexInitResources();
    QWidget* separator = new QWidget(this);
    separator->setFixedWidth(2);
    separator->setStyleSheet(QStringLiteral("border: 2px solid black;"));
    m_pMainLayout->addWidget(separator);

    m_pInfoLayout = new QVBoxLayout();
    m_pMainLayout->addLayout(m_pInfoLayout);
    m_pInfoLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_pInfoButton = new QPushButton(QIcon::fromTheme(QStringLiteral("help")), QString(), this);
    m_pInfoButton->setFixedSize(34, 34);
    m_pInfoButton->setCheckable(true);
    m_pInfoButton->setToolTip(_gui::HtmlToolTip(tr("Informationen")));
    connect(m_pInfoButton, &QPushButton::clicked, this, &HDRInfoDialog::infoButtonClicked);
    m_pInfoLayout->addWidget(m_pInfoButton);

    _QTextBrowser* browser = new _QTextBrowser(this);
    browser->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    browser->setFixedWidth(300);
    browser->setOpenExternalLinks(true);
    m_pInfoBrowser = browser;
    m_pInfoLayout->addWidget(m_pInfoBrowser);

    // The main window checks or unchecks its show-information action.
    connect(this, &HDRInfoDialog::showInfo, this, [](bool shown) {
        if (IToolkitMainWindow* window = ToolkitSeams::MainWindow())
            window->showInfoClickedExternal(shown);
    });
}

void HDRInfoDialog::showEvent(QShowEvent* event)
{
    if (m_pInfoButton && m_pInfoBrowser) {
        IToolkitMainWindow* window = ToolkitSeams::MainWindow();
        IInfoDock* dock = ToolkitSeams::InfoDock();
        const bool shown = window && window->IsShowInfoActChecked();
        m_pInfoButton->setChecked(shown);
        m_pInfoBrowser->setHtml(dock ? dock->InfoHtml() : QString());
        m_pInfoBrowser->setVisible(shown);
        if (dock)
            dock->SetInfoDockVisible(false);
    }
    Resize(true);
    QDialog::showEvent(event);
}

void HDRInfoDialog::infoButtonClicked()
{
    if (!m_pInfoButton || !m_pInfoBrowser)
        return;
    const bool shown = m_pInfoButton->isChecked();
    m_pInfoBrowser->setVisible(shown);
    emit showInfo(shown);
    Resize(false);
}

void HDRInfoDialog::done(int result)
{
    if (m_pInfoButton) {
        if (IToolkitMainWindow* window = ToolkitSeams::MainWindow())
            window->SetShowInfoActChecked(m_pInfoButton->isChecked());
    }
    QDialog::done(result);
}

void HDRInfoDialog::Resize(bool centre)
{
    adjustSize();
    if (!centre)
        return;
    adjustSize();
    IToolkitMainWindow* window = ToolkitSeams::MainWindow();
    if (!window)
        return;
    const QRect main = window->MainWindowGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(QPoint((main.left() + main.right()) / 2, (main.top() + main.bottom()) / 2));
    move(frame.topLeft());
}

int HDRInfoDialog::exec()
{
    return _gui::ExecModal(this, [this] { return QDialog::exec(); });
}

// ---- HDRMessageBox ------------------------------------------------------------

HDRMessageBox::HDRMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                             const QString& yes, const QString& no)
    : QMessageBox(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setIcon(icon);
    setWindowTitle(title);
    setText(text);
    setStyleSheet(QStringLiteral("QPushButton{min-width:50px; min-height: 20px}"));
    if (!yes.isEmpty())
        m_pYesButton = addButton(yes, QMessageBox::YesRole);
    m_pNoButton = addButton(no, QMessageBox::NoRole);
    setDefaultButton(m_pNoButton);
}

bool HDRMessageBox::YesClicked() const
{
    return m_pYesButton && clickedButton() == m_pYesButton;
}

void HDRMessageBox::SetYesIsStandardButton()
{
    if (m_pYesButton)
        setDefaultButton(m_pYesButton);
}

int HDRMessageBox::exec()
{
    return _gui::ExecModal(this, [this] { return QMessageBox::exec(); });
}

// ---- HDRInputDialog and HDRFileDialog -------------------------------------------

HDRInputDialog::HDRInputDialog(QWidget* parent, const QString& title, const QString& label, const QString& text,
                               const QString& ok, const QString& cancel)
    : QInputDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setInputMode(QInputDialog::TextInput);
    setWindowTitle(title);
    setLabelText(label + QString(50, QLatin1Char(' '))); // the blanks widen the dialog
    setTextValue(text);
    setOkButtonText(ok);
    setCancelButtonText(cancel);
}

int HDRInputDialog::exec()
{
    return _gui::ExecModal(this, [this] { return QInputDialog::exec(); });
}

HDRFileDialog::HDRFileDialog(QWidget* parent, const QString&, const QString&, const QString&, QFileDialog::FileMode,
                             QFileDialog::Option)
    : QFileDialog(parent, Qt::Dialog)
{
}

int HDRFileDialog::exec()
{
    return _gui::ExecModal(this, [this] { return QFileDialog::exec(); });
}
