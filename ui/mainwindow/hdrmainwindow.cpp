#include "ui/mainwindow/hdrmainwindow.h"

#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "document/exposureseries.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/options/ShortcutHelper.h"
#include "ui/options/apppaths.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/toolkit/resourceinit.h"
#include "ui/toolkit/styleengine.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QIcon>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QThread>

#include <iostream>

HDRMainWindow* g_pHDRMainWindow = nullptr;

namespace {

QIcon themeIcon(const char* name) { return QIcon::fromTheme(QLatin1String(name), QIcon()); }

// The commands of the "Menu" category of "shortcuts.ini", in look-up order.
const char* const kMenuShortcutNames[] = {
    "newProjectAct",      "openProjectAct",     "saveProjectAct",    "saveProjectAsAct",
    "loadImageAct",       "saveResultImageAct", "sendResultImageToAct", "setUndoAct",
    "getUndoAct",         "exitAct",            "postProcessingAct", "rawDevelopmentAct",
    "restoreDefaultWindowStateAct", "propertiesAct", "batchProcessingAct", "homepageAct",
    "helpAct",            "aboutAct",           "showInfoAct",       "showExifAct",
    "showHistogramMenuAct", "showFullscreenAct", "frameColorAct"};

} // namespace

HDRMainWindow::HDRMainWindow(int, QString startMessage, IWindowFactory* factory) : QMainWindow(nullptr)
{
    const double start = MP_UI_GetActualTime();
    g_pHDRMainWindow = this;
    ToolkitSeams::SetMainWindow(this);
    m_sSettingsPath = lumivex::platform::userSettingsFolder();

    LoadAllLinkIniInformation();

    LumivexInitResources();
    HDRCursor::Init();

    connect(this, &HDRMainWindow::CreatePixmapThreadSafeSignal, this, &HDRMainWindow::CreatePixmapThreadSafeSlot,
            Qt::AutoConnection);

    CStyleEngine::instance().LoadStyleFromFolderSettings();
    setStyleSheetFromCSS();

    QIcon::setThemeName(QStringLiteral("silk"));

    createActions();
    createMenus();
    createWorkflow(factory);
    createProjectAndUndo(factory);

    setContextMenuPolicy(Qt::NoContextMenu);

    // The start page: the translation file holds its HTML.
    m_sStartText = tr("Lumivex Start");
    m_sStartText.replace(QStringLiteral("startup.png"), QStringLiteral("lumivexstartuppro.png"));
    m_sStartText.replace(QStringLiteral("<img src=\"images\\"), QStringLiteral("<img src=\"../images/"));
    m_sStartText.replace(QStringLiteral("CODE_HOMEPAGEURL"), m_sHomepageURL);

    if (factory) {
        m_pOptionsWindow = factory->CreateOptionsWindow(this);
        if (m_pOptionsWindow && m_pOptionsWindow->Dialog())
            m_pOptionsWindow->Dialog()->setObjectName(QStringLiteral("options_window"));
        m_pStyleSelectWindow = factory->CreateStyleSelectWindow(this);
        if (QWidget* style = dynamic_cast<QWidget*>(m_pStyleSelectWindow))
            style->setObjectName(QStringLiteral("styleseelect_window"));
        m_pStyleChooser->SetStyleColorDialog(m_pStyleSelectWindow);
    }

    createShortcuts();

    setWindowIcon(themeIcon("ProgrammSmybol"));
    updateWindowTitle();
    setAcceptDrops(true);

    restoreDefaultWindowState();

    std::cout << static_cast<int>(MP_UI_CalcTimeDifference(start)) << " ms - MainWindow Init" << std::endl;

    InterpretReceivedMessage(startMessage);
}

HDRMainWindow::~HDRMainWindow()
{
    if (ViewSeams::Host() == this)
        ViewSeams::SetHost(nullptr);
    CSeriesSeams::SetMainWindow(nullptr);
    CPostProcessing::SetHost(nullptr);
    HDRPresetTimerStopHelper::SetPresetsDock(nullptr);
    delete m_pExposureSeries;
    m_pExposureSeries = nullptr;
    if (g_pHDRMainWindow == this)
        g_pHDRMainWindow = nullptr;
    if (ToolkitSeams::MainWindow() == this)
        ToolkitSeams::SetMainWindow(nullptr);
}

// ---- link settings ----------------------------------------------------------

void HDRMainWindow::LoadAllLinkIniInformation()
{
    m_sCaptionSuffix.clear();
    const QString path = lumivex::ApplicationFolder() + QStringLiteral("/settings/link_lumivex.ini");
    if (QFileInfo::exists(path)) {
        QSettings ini(path, QSettings::IniFormat);
        const QString caption = ini.value(QStringLiteral("captiontext")).toString();
        if (!caption.isEmpty())
            m_sCaptionSuffix = QStringLiteral(" - ") + caption;
    }
    m_sHomepageURL = tr("HomepageURL LUMIVEX PRO");
    m_sUpdatePageURL = tr("UpdatepageURL LUMIVEX PRO");
}

// ---- window layout ------------------------------------------------------------

void HDRMainWindow::restoreDefaultWindowState()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect full = screen->geometry();
    resize(static_cast<int>(static_cast<float>(full.width()) * 0.8f),
           static_cast<int>(static_cast<float>(full.height()) * 0.8f));
    const QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(QPoint((available.left() + available.right()) / 2, (available.top() + available.bottom()) / 2));
    move(frame.topLeft());
}

// ---- actions, menus and shortcuts ---------------------------------------------

void HDRMainWindow::createActions()
{
    saveProjectAct = new QAction(themeIcon("saveProject"), tr("Projekt speichern"), this);
    saveProjectAct->setEnabled(false);

    exitAct = new QAction(themeIcon("ProgramQuit"), tr("Beenden"), this);
    connect(exitAct, &QAction::triggered, this, &HDRMainWindow::exit);

    propertiesAct = new QAction(themeIcon("properties"), tr("Einstellungen..."), this);
    connect(propertiesAct, &QAction::triggered, this, &HDRMainWindow::properties);

    showInfoAct = new QAction(themeIcon("help"), tr("Informationsfenster"), this);
    showInfoAct->setCheckable(true);
    showInfoAct->setChecked(false);
    showInfoAct->setEnabled(false);
    connect(showInfoAct, &QAction::triggered, this, &HDRMainWindow::showInfoClicked);

    m_pStyleChooser = new CStyleChooser(this, this);
    m_pStyleChooser->CreateActions(this);
}

void HDRMainWindow::createMenus()
{
    fileMenu = menuBar()->addMenu(tr("Datei"));
    projectMenu = new QMenu(tr("Projekte..."), this);
    projectMenu->setIcon(themeIcon("menuProject"));
    projectMenu->addAction(saveProjectAct);
    fileMenu->addMenu(projectMenu);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAct);

    viewMenu = menuBar()->addMenu(tr("Ansicht"));
    viewMenu->addAction(showInfoAct);
    m_pStyleChooser->CreateMenu(viewMenu);

    extrasMenu = menuBar()->addMenu(tr("Extras"));
    extrasMenu->addAction(propertiesAct);
}

QAction* HDRMainWindow::ShortcutAction(const QString& name) const
{
    if (name == QLatin1String("saveProjectAct"))
        return saveProjectAct;
    if (name == QLatin1String("exitAct"))
        return exitAct;
    if (name == QLatin1String("propertiesAct"))
        return propertiesAct;
    if (name == QLatin1String("showInfoAct"))
        return showInfoAct;
    return nullptr;
}

void HDRMainWindow::setShortcut(QAction* action, const QString& name)
{
    if (!action || !m_pShortcutHelper)
        return;
    const QKeySequence sequence = m_pShortcutHelper->GetShortcut(name, 0);
    if (!sequence.isEmpty())
        action->setShortcut(sequence);
}

void HDRMainWindow::createShortcuts()
{
    CShortcutHelper helper(lumivex::ApplicationFolder() + QStringLiteral("/settings/shortcuts.ini"));
    m_pShortcutHelper = &helper;
    helper.SetCategory(QStringLiteral("Menu"));
    for (const char* name : kMenuShortcutNames)
        setShortcut(ShortcutAction(QLatin1String(name)), QLatin1String(name));
    helper.SetCategory(QStringLiteral("PaintToolBar"));
    helper.SetCategory(QStringLiteral("Other"));
    m_pShortcutHelper = nullptr;
}

// ---- style ---------------------------------------------------------------------

QString HDRMainWindow::ReplaceStyleSheetCodes(QString sheet) const
{
    return CStyleEngine::instance().ReplaceStyleSheetCodes(sheet);
}

bool HDRMainWindow::setStyleSheetFromCSS() { return CStyleEngine::instance().SetStyleSheetFromCSS(this); }

void HDRMainWindow::setStyleCodeMenuActTextIcon()
{
    if (m_pStyleChooser)
        m_pStyleChooser->setStyleCodeMenuActTextIcon();
}

int HDRMainWindow::StyleCodeFromFolderSettings() const
{
    return CStyleEngine::instance().StyleCodeFromFolderSettings();
}

int HDRMainWindow::StyleColorFromFolderSettings() const
{
    return CStyleEngine::instance().StyleColorFromFolderSettings();
}

bool HDRMainWindow::StyleBorderFromFolderSettings() const
{
    return CStyleEngine::instance().StyleBorderFromFolderSettings();
}

int HDRMainWindow::StyleCode() const { return CStyleEngine::instance().StyleCode(); }

unsigned int HDRMainWindow::StyleColor() const
{
    return static_cast<unsigned int>(CStyleEngine::instance().StyleColor());
}

bool HDRMainWindow::StyleBorder() const { return CStyleEngine::instance().StyleBorder(); }

void HDRMainWindow::styleSheetActClicked()
{
    if (m_pStyleChooser)
        m_pStyleChooser->ApplyChoice(qobject_cast<QAction*>(sender()));
}

// ---- title, information action, options ------------------------------------------

void HDRMainWindow::updateWindowTitle()
{
    QString project;
    if (!m_sProjectPath.isEmpty()) {
        project = QStringLiteral(" - ");
        if (saveProjectAct && saveProjectAct->isEnabled())
            project += QLatin1Char('*');
        project += m_sProjectPath;
    }
    setWindowTitle(QStringLiteral("%1 %2 %3%4%5%6%7")
                       .arg(QCoreApplication::translate("Program", "VERSION_NAME LUMIVEX"),
                            QCoreApplication::translate("Program", "LUMIVEX VERSION_PRO"), QString(), QString(),
                            QString(), m_sCaptionSuffix, project));
}

bool HDRMainWindow::IsShowInfoActChecked() const { return showInfoAct && showInfoAct->isChecked(); }

void HDRMainWindow::showInfoClicked()
{
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->SetInfoDockVisible(showInfoAct->isEnabled() && showInfoAct->isChecked());
}

void HDRMainWindow::SetShowInfoActChecked(bool checked)
{
    const bool blocked = showInfoAct->blockSignals(true);
    showInfoAct->setChecked(checked);
    showInfoAct->blockSignals(blocked);
    showInfoClicked();
}

void HDRMainWindow::showInfoClickedExternal(bool checked) { showInfoAct->setChecked(checked); }

void HDRMainWindow::SetPreviewRadiusText(const QString&) {}

void HDRMainWindow::properties()
{
    if (m_pOptionsWindow)
        m_pOptionsWindow->Exec();
}

void HDRMainWindow::exit() { close(); }

// ---- closing and dropping -------------------------------------------------------------

void HDRMainWindow::closeEvent(QCloseEvent* event)
{
    if (MP_UI_GetAnimMode() == 1 || MP_UI_GetIsCalculatingMode() == 1) {
        event->ignore();
        return;
    }
    if (!closeProjectAndUndo()) {
        event->ignore();
        return;
    }
    event->accept();
    QMainWindow::closeEvent(event);
}

void HDRMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

// ---- pixmap hand-off ----------------------------------------------------------------------

void HDRMainWindow::CreatePixmapThreadSafe(HDRPixmapCreator* creator)
{
    if (!creator)
        return;
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // The GUI thread converts its own image; a worker's hand-off under way
        // keeps its pending creator and flag.
        creator->m_Pixmap = creator->m_pImage ? QPixmap::fromImage(*creator->m_pImage) : QPixmap();
        return;
    }
    QMutexLocker serial(&m_HandOffSerial);
    {
        QMutexLocker lock(&m_PixmapMutex);
        m_pPendingCreator = creator;
        m_bPixmapDone = false;
    }
    emit CreatePixmapThreadSafeSignal();
    QMutexLocker lock(&m_PixmapMutex);
    while (!m_bPixmapDone)
        m_PixmapCondition.wait(&m_PixmapMutex, 5);
    m_pPendingCreator = nullptr;
}

void HDRMainWindow::CreatePixmapThreadSafeSlot()
{
    QMutexLocker lock(&m_PixmapMutex);
    if (!m_pPendingCreator || m_bPixmapDone)
        return;
    QImage* image = m_pPendingCreator->m_pImage;
    m_pPendingCreator->m_Pixmap = image ? QPixmap::fromImage(*image) : QPixmap();
    m_bPixmapDone = true;
    m_PixmapCondition.wakeAll();
}
