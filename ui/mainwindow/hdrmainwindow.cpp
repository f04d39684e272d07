#include "ui/mainwindow/hdrmainwindow.h"

#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "document/exposureseries.h"
#include "ui/mainwindow/busyscope.h"
#include "ui/editors/editorseams.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/options/ShortcutHelper.h"
#include "ui/options/apppaths.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/resourceinit.h"
#include "ui/toolkit/styleengine.h"

#include <QAction>
#include <QComboBox>
#include <QShortcut>
#include <QToolBar>
#include "ui/views/hdrimagepreview.h"
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

    if (factory)
        m_pStatistic = factory->CreateStatistic(this);
    count("m_iProgramStarted");

    CStyleEngine::instance().LoadStyleFromFolderSettings();
    setStyleSheetFromCSS();

    QIcon::setThemeName(QStringLiteral("silk"));

    createActions();
    createMenus();
    createToolBar();
    createProjectAndUndo(factory);

    setContextMenuPolicy(Qt::NoContextMenu);

    createDocks(factory);

    // The start page: the translation file holds its HTML.
    m_sStartText = tr("Lumivex Start");
    m_sStartText.replace(QStringLiteral("startup.png"), QStringLiteral("lumivexstartuppro.png"));
    m_sStartText.replace(QStringLiteral("<img src=\"images\\"), QStringLiteral("<img src=\"../images/"));
    m_sStartText.replace(QStringLiteral("CODE_HOMEPAGEURL"), m_sHomepageURL);

    createWindows(factory);
    disableActionsWithoutWindow();
    createImagePreview();

    createShortcuts();

    m_sImageFilter = tr("Alle Dateien") +
                     QStringLiteral(" (*.*);;JPEG (*.jpeg *.jpg *.jp2 *.jif);;TIFF (*.tif *.tiff *.tif32);;BMP (*.bmp)"
                                    ";;PNG (*.png);;PSD (*.psd);;PCX (*.pcx);;TARGA (*.tga);;Open EXR (*.exr)"
                                    ";;Radiance RGBE (*.hdr);;Portable Floatmap (*.pfm);;Canon RAW (*.cr2 *.crw)"
                                    ";;Fuji RAW (*.raf);;Hasselblad RAW (*.fff *.3fr);;Leica RAW (*.dng)"
                                    ";;Kodak RAW (*.kdc *.dcr);;Minolta RAW (*.mrw);;Nikon RAW (*.nef *.nrw *.nrf)"
                                    ";;Olympus RAW (*.orf);;Panasonic RAW (*.rw2 *.raw *.rwl);;Pentax RAW (*.pef)"
                                    ";;Samsung RAW (*.srw);;Sony RAW (*.sr2 *.srf *.arw);;Photo CD (*.pcd)"
                                    ";;Portable Pixmap (*.ppm);;others (*.koa *.iff *.lbm *.pict *.pct *.pic *.sgi)");
    m_sSaveFilter = QStringLiteral("TIF 8-Bit (*.tif);;Jpeg 8-Bit (*.jpg);;TIFF 16-Bit (*.tiff);;PNG 16-Bit (*.png)"
                                   ";;Jpeg 16-Bit (*.jp2)");
    m_sProjectFilter = QStringLiteral(";;") + tr("Lumivex Projektdatei") + QStringLiteral("(*.lumivexProject)");

    setWindowIcon(themeIcon("ProgrammSmybol"));
    updateWindowTitle();
    setAcceptDrops(true);

    restoreDefaultWindowState();
    count("m_iWindowsResetted", -1);

    persistentWindowState(false);
    hideAllSubWindows();

    for (IMainInfoDock* dock : {m_pInfoDockWidget, m_pInfoDockWidgetStart})
        if (dock)
            dock->UpdateText(m_sStartText);

    LoadAllTextures();

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

// ---- actions, menus and shortcuts ---------------------------------------------

QAction* HDRMainWindow::makeAction(const char* icon, const QString& text, bool enabled)
{
    auto* action = new QAction(themeIcon(icon), text, this);
    action->setEnabled(enabled);
    return action;
}

void HDRMainWindow::connectOptionalSlot(QAction* action, const char* slot)
{
    const QByteArray signature = QMetaObject::normalizedSignature(slot);
    const int index = metaObject()->indexOfSlot(signature.constData());
    if (index < 0)
        return; // that part of the program is not built yet
    connect(action, &QAction::triggered, this, [this, index] { metaObject()->method(index).invoke(this); });
}

bool HDRMainWindow::invokeOptionalSlot(const char* slot, QObject* target)
{
    if (!target)
        target = this;
    const QByteArray signature = QMetaObject::normalizedSignature(slot);
    const int index = target->metaObject()->indexOfSlot(signature.constData());
    return index >= 0 && target->metaObject()->method(index).invoke(target);
}

void HDRMainWindow::createActions()
{
    newProjectAct = makeAction("newProject", tr("Startseite"));
    connect(newProjectAct, &QAction::triggered, this, [this] { newProject(); });
    openProjectAct = makeAction("openProject", tr("Projekt öffnen..."));
    connect(openProjectAct, &QAction::triggered, this, [this] { openProject(QString()); });
    saveProjectAct = makeAction("saveProject", tr("Projekt speichern"), false);
    connect(saveProjectAct, &QAction::triggered, this, &HDRMainWindow::saveProject, Qt::UniqueConnection);
    saveProjectAsAct = makeAction("saveProjectAs", tr("Projekt speichern unter..."), false);
    connect(saveProjectAsAct, &QAction::triggered, this, &HDRMainWindow::saveProjectAs, Qt::UniqueConnection);
    loadImageAct = makeAction("loadImage", tr("lumivex Einzelbild laden..."));
    connect(loadImageAct, &QAction::triggered, this, [this] { loadImage(); });
    exposureSeriesBrowseAct = makeAction("batchbrowser", tr("Bilddaten-Browser..."));
    connect(exposureSeriesBrowseAct, &QAction::triggered, this, &HDRMainWindow::exposureSeriesBrowse);
    saveResultImageAct = makeAction("saveResultImage", tr("Ergebnisbild speichern..."), false);
    connect(saveResultImageAct, &QAction::triggered, this, [this] { saveResultImage(); });
    printResultImageAct = makeAction("ErgebnisbildDrucken", tr("Ergebnisbild drucken..."), false);
    connect(printResultImageAct, &QAction::triggered, this, &HDRMainWindow::printResultImage);
    sendResultImageToVorlixAct = makeAction(
        "sendResultImageToVorlix",
        QStringLiteral("<H3><p>") +
            tr("Überträgt das aktuelle Bild an die ausgewählte Anwendung der 'Vorlix'-Produktfamilie.") +
            QStringLiteral("</p></H3><p></p>"),
        false);
    connectOptionalSlot(sendResultImageToVorlixAct, "sendResultImageToVorlix()");

    // The family's programs (their INI files) fill the hand-off list.
    LoadAllVorlixSeriesIniInformation();
    m_pVorlixComboBox = new QComboBox();
    for (const QString& name : std::as_const(m_slVorlixDisplayNames))
        m_pVorlixComboBox->addItem(name);
    m_pVorlixComboBox->setToolTip(
        QStringLiteral("<H3><p>") +
        tr("Wählen Sie eine Anwendung der 'Vorlix'-Produktfamilie für die Übertragung.") +
        QStringLiteral("</p></H3><p></p>"));
    m_pVorlixComboBox->adjustSize();
    m_pVorlixComboBox->setFixedWidth(m_pVorlixComboBox->width());
    m_pVorlixComboBox->setMaxVisibleItems(30);
    {
        // Restoring the saved choice must not write it back.
        invokeOptionalSlot("LoadSelectedVorlixVersionFromIni()");
        const int changed = metaObject()->indexOfSlot("SelectedVorlixComboBoxChanged(int)");
        if (changed >= 0)
            connect(m_pVorlixComboBox, &QComboBox::currentIndexChanged, this,
                    [this, changed](int i) { metaObject()->method(changed).invoke(this, Q_ARG(int, i)); });
    }

    sendResultImageToAct = makeAction("sendResultImageTo", tr("Ergebnisbild extern öffnen"), false);
    connectOptionalSlot(sendResultImageToAct, "sendResultImageTo()");
    setUndoAct = makeAction("UndoSpeichern", tr("Undopunkt setzen"), false);
    connect(setUndoAct, &QAction::triggered, this, &HDRMainWindow::setUndo, Qt::UniqueConnection);
    getUndoAct = makeAction("UndoLaden", tr("Undopunkt holen"), false);
    connect(getUndoAct, &QAction::triggered, this, &HDRMainWindow::getUndo, Qt::UniqueConnection);
    timelineWindowAct = makeAction("Timeline", tr("Timeline"), false);
    timelineWindowAct->setCheckable(true);
    connect(timelineWindowAct, &QAction::triggered, this, &HDRMainWindow::OnTimelineWindowAct);
    panoramaViewAct = makeAction("panorama", tr("Panorama Viewer"));
    connect(panoramaViewAct, &QAction::triggered, this, &HDRMainWindow::panoramaView);
    compareWindowAct = makeAction("CompareWindow", tr("Compare Window"));
    compareWindowAct->setCheckable(true);
    connect(compareWindowAct, &QAction::triggered, this, &HDRMainWindow::OnCompareWindowAct);
    exitAct = makeAction("ProgramQuit", tr("Beenden"));
    connect(exitAct, &QAction::triggered, this, &HDRMainWindow::exit);
    postProcessingAct = makeAction("postProcessing", tr("Tonemapping/Post-Processing"), false);
    postProcessingAct->setCheckable(true);
    connect(postProcessingAct, &QAction::triggered, this, &HDRMainWindow::postProcessing);
    rawDevelopmentAct = makeAction("rawdevelopment", tr("RAW-Entwicklung lumivex..."));
    connect(rawDevelopmentAct, &QAction::triggered, this, &HDRMainWindow::rawDevelopment);
    restoreDefaultWindowStateAct = makeAction("ResetWindowPositions", tr("Fenster zurücksetzen"));
    connect(restoreDefaultWindowStateAct, &QAction::triggered, this, &HDRMainWindow::resetWindowState);
    propertiesAct = makeAction("properties", tr("Einstellungen..."));
    connect(propertiesAct, &QAction::triggered, this, &HDRMainWindow::properties);
    batchProcessingAct = makeAction("batch", tr("Stapelverarbeitung..."));
    connect(batchProcessingAct, &QAction::triggered, this, &HDRMainWindow::batchProcessing);
    homepageAct = makeAction("Web", tr("Lumivex Homepage"));
    connect(homepageAct, &QAction::triggered, this, &HDRMainWindow::homepage);
    updatePageAct = makeAction("Web", tr("Lumivex updatePage"));
    connect(updatePageAct, &QAction::triggered, this, &HDRMainWindow::updatePage);
    helpAct = makeAction("Help", tr("Hilfe"));
    connect(helpAct, &QAction::triggered, this, &HDRMainWindow::help);
    statisticAct = makeAction("Statistic", tr("Statistik"));
    connect(statisticAct, &QAction::triggered, this, &HDRMainWindow::statistic);
    benchmarkAct = makeAction("Benchmark", tr("Benchmark"));
    connect(benchmarkAct, &QAction::triggered, this, &HDRMainWindow::benchmark);
    aboutAct = makeAction("About", tr("Über Lumivex..."));
    connect(aboutAct, &QAction::triggered, this, &HDRMainWindow::about);
    showInfoAct = makeAction("help", tr("Informationsfenster"), false);
    showInfoAct->setCheckable(true);
    connect(showInfoAct, &QAction::triggered, this, &HDRMainWindow::showInfoClicked);
    showExifAct = makeAction("showExifInfo", tr("Exif"), false);
    showExifAct->setCheckable(true);
    connect(showExifAct, &QAction::triggered, this, &HDRMainWindow::showExifClicked);
    showHistogramAct = makeAction("histogramm", tr("Histogramm"), false);
    showHistogramAct->setCheckable(true);
    connect(showHistogramAct, &QAction::triggered, this, &HDRMainWindow::showHistogramClicked);
    showFullscreenAct = makeAction("HideInterface", tr("Interface ein/ausblenden"), false);
    showFullscreenAct->setCheckable(true);
    connect(showFullscreenAct, &QAction::triggered, this, &HDRMainWindow::showFullscreenClicked);
    showHistogramMenuAct = makeAction("histogramm", tr("Histogramm"), false);
    showHistogramMenuAct->setCheckable(true);
    connect(showHistogramMenuAct, &QAction::triggered, this, &HDRMainWindow::showHistogramClicked);

    m_pStyleChooser = new CStyleChooser(this, this);
    m_pStyleChooser->CreateActions(this);

    frameColorAct = makeAction("FrameColor", QString(), false);
    frameColorAct->setCheckable(true);
    frameColorAct->setChecked(true);
    connect(frameColorAct, &QAction::toggled, this, &HDRMainWindow::frameColorClicked);
}

void HDRMainWindow::createMenus()
{
    fileMenu = menuBar()->addMenu(tr("Datei"));
    fileMenu->addAction(newProjectAct);
    fileMenu->addSeparator();
    fileMenu->addAction(loadImageAct);
    fileMenu->addAction(exposureSeriesBrowseAct);
    fileMenu->addSeparator();
    fileMenu->addAction(saveResultImageAct);
    fileMenu->addAction(sendResultImageToAct);
    fileMenu->addSeparator();
    projectMenu = new QMenu(tr("Projekte..."), this);
    projectMenu->setIcon(themeIcon("menuProject"));
    projectMenu->addAction(openProjectAct);
    projectMenu->addAction(saveProjectAct);
    projectMenu->addAction(saveProjectAsAct);
    fileMenu->addMenu(projectMenu);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAct);

    editMenu = menuBar()->addMenu(tr("Bearbeiten"));
    editMenu->addAction(postProcessingAct);

    viewMenu = menuBar()->addMenu(tr("Ansicht"));
    viewMenu->addAction(showInfoAct);
    viewMenu->addAction(showExifAct);
    viewMenu->addAction(showHistogramMenuAct);
    viewMenu->addSeparator();
    viewMenu->addSeparator();
    m_pStyleChooser->CreateMenu(viewMenu);
    viewMenu->addSeparator();
    viewMenu->addAction(frameColorAct);
    viewMenu->addSeparator();
    viewMenu->addAction(restoreDefaultWindowStateAct);

    extrasMenu = menuBar()->addMenu(tr("Extras"));
    extrasMenu->addAction(batchProcessingAct);
    extrasMenu->addAction(rawDevelopmentAct);
    extrasMenu->addSeparator();
    extrasMenu->addAction(propertiesAct);
    extrasMenu->addSeparator();
    extrasMenu->addAction(setUndoAct);
    extrasMenu->addAction(getUndoAct);

    infoMenu = menuBar()->addMenu(tr("Information"));
    infoMenu->addAction(homepageAct);
    infoMenu->addAction(helpAct);
    infoMenu->addAction(updatePageAct);
    infoMenu->addSeparator();
    infoMenu->addAction(aboutAct);
}

void HDRMainWindow::createToolBar()
{
    toolBar = new QToolBar(this);
    toolBarImage = new QToolBar(this);
    const struct {
        QToolBar* bar;
        const char* name;
        QString title;
    } bars[] = {{toolBar, "toolBar", tr("Werkzeugleiste")}, {toolBarImage, "toolBarImage", tr("Bildfunktionen")}};
    for (const auto& b : bars) {
        b.bar->setObjectName(QLatin1String(b.name));
        b.bar->setOrientation(Qt::Horizontal);
        b.bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b.bar->setIconSize(QSize(32, 32));
        b.bar->toggleViewAction()->setEnabled(false);
        b.bar->setWindowTitle(b.title);
        b.bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    }
    setupToolBar(false);
}

void HDRMainWindow::setupToolBar(bool document)
{
    toolBar->clear();
    if (!document) {
        toolBar->addAction(exposureSeriesBrowseAct);
        toolBar->addSeparator();
        toolBar->addAction(loadImageAct);
        toolBar->addAction(openProjectAct);
        toolBar->addSeparator();
        toolBar->addAction(batchProcessingAct);
        return;
    }
    toolBar->addAction(newProjectAct);
    toolBar->addSeparator();
    toolBar->addAction(saveProjectAct);
    toolBar->addSeparator();
    toolBar->addAction(postProcessingAct);
    toolBar->addSeparator();
    toolBar->addAction(saveResultImageAct);
    if (!m_slVorlixDisplayNames.isEmpty()) {
        toolBar->addAction(sendResultImageToVorlixAct);
        m_pVorlixComboBox->setVisible(true);
        m_pVorlixComboBox->adjustSize();
        m_pVorlixComboBox->setFixedWidth(m_pVorlixComboBox->width());
        toolBar->addWidget(m_pVorlixComboBox);
    }
    toolBar->addSeparator();
    toolBar->addAction(sendResultImageToAct);
    toolBar->addSeparator();
    toolBar->addAction(setUndoAct);
    toolBar->addAction(getUndoAct);
    toolBar->addSeparator();
    toolBar->addAction(panoramaViewAct);
    toolBar->addAction(compareWindowAct);
    toolBar->addSeparator();
    toolBar->addAction(showInfoAct);
    toolBar->addAction(showExifAct);
    toolBar->addAction(showHistogramAct);
}

QAction* HDRMainWindow::ShortcutAction(const QString& name) const
{
    const std::pair<const char*, QAction*> actions[] = {
        {"newProjectAct", newProjectAct},
        {"openProjectAct", openProjectAct},
        {"saveProjectAct", saveProjectAct},
        {"saveProjectAsAct", saveProjectAsAct},
        {"loadImageAct", loadImageAct},
        {"saveResultImageAct", saveResultImageAct},
        {"sendResultImageToAct", sendResultImageToAct},
        {"setUndoAct", setUndoAct},
        {"getUndoAct", getUndoAct},
        {"exitAct", exitAct},
        {"postProcessingAct", postProcessingAct},
        {"rawDevelopmentAct", rawDevelopmentAct},
        {"restoreDefaultWindowStateAct", restoreDefaultWindowStateAct},
        {"propertiesAct", propertiesAct},
        {"batchProcessingAct", batchProcessingAct},
        {"homepageAct", homepageAct},
        {"helpAct", helpAct},
        {"aboutAct", aboutAct},
        {"showInfoAct", showInfoAct},
        {"showExifAct", showExifAct},
        {"showHistogramMenuAct", showHistogramMenuAct},
        {"showFullscreenAct", showFullscreenAct},
        {"frameColorAct", frameColorAct}};
    for (const auto& entry : actions)
        if (name == QLatin1String(entry.first))
            return entry.second;
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
    const struct {
        QShortcut** shortcut;
        const char* name;
        void (HDRImagePreview::*slot)();
    } zooms[] = {{&zoomInShortcut, "zoomIn", &HDRImagePreview::zoomInClicked},
                 {&zoomOutShortcut, "zoomOut", &HDRImagePreview::zoomOutClicked},
                 {&zoomActualSizeShortcut, "zoomActualSize", &HDRImagePreview::actualSizeClicked}};
    for (const auto& zoom : zooms) {
        *zoom.shortcut = helper.CreateShortcut(this, QLatin1String(zoom.name), 0);
        if (*zoom.shortcut && m_pImagePreview)
            connect(*zoom.shortcut, &QShortcut::activated, m_pImagePreview, zoom.slot);
    }
    if (m_pGeometryPainter)
        m_pGeometryPainter->CreateShortcuts(&helper);
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

void HDRMainWindow::SetShowInfoActChecked(bool checked)
{
    const bool blocked = showInfoAct->blockSignals(true);
    showInfoAct->setChecked(checked);
    showInfoAct->blockSignals(blocked);
    showInfoClicked();
}

void HDRMainWindow::showInfoClickedExternal(bool checked) { showInfoAct->setChecked(checked); }

void HDRMainWindow::SetPreviewRadiusText(const QString& text)
{
    if (m_pImagePreview)
        m_pImagePreview->SetRadiusText(text);
}

void HDRMainWindow::RefreshImagePreviewFrame()
{
    if (m_pImagePreview)
        m_pImagePreview->updateFrameColor(frameColorAct && frameColorAct->isChecked());
}

void HDRMainWindow::RefreshPresetsStage()
{
    if (m_pPresetsDock)
        m_pPresetsDock->RefreshStyle();
    if (!m_pExposureSeries)
        return;
    if (IsHDRStage()) {
        updateExposureDisplay(false, true, false);
        if (m_pExposureSeriesDock)
            m_pExposureSeriesDock->resetLabelHighlights();
    } else if (m_pPostProcessing) {
        // The selected tile again: its result shows on the new background.
        m_pPostProcessing->m_bForceApply = true;
        updatePostProcessing(m_pPostProcessing, m_pPresetsDock ? m_pPresetsDock->GetSelectedPresetGroupBox() : nullptr);
    }
}

void HDRMainWindow::RefreshPostProcessingDock()
{
    if (m_pPostProcessingDock)
        m_pPostProcessingDock->SetDynamicStyleSheets();
}

void HDRMainWindow::properties()
{
    count("m_iOptionsOpened");
    if (!m_pOptionsWindow)
        return;
    m_pOptionsWindow->Exec();
    if (!m_pExposureSeries || !m_pOptionsWindow->IsApplied())
        return;
    invokeOptionalSlot("AutoDeleteTimeline()");
    const bool hdrStage = IsHDRStage();
    {
        CBusyScope busy(this);
        HDRProgressThread progress(1, getProgressThreadDelay());
        m_pExposureSeries->HasStateChanged(true);
        m_pExposureSeries->HDR(false);
    }
    if (!hdrStage)
        recomputeAllPresets(1);
    else
        updateExposureDisplay(true, true, false);
}

void HDRMainWindow::exit() { close(); }

// ---- closing and dropping -------------------------------------------------------------

void HDRMainWindow::closeEvent(QCloseEvent* event)
{
    if (MP_UI_GetAnimMode() == 1 || MP_UI_GetIsCalculatingMode() == 1) {
        event->ignore();
        return;
    }
    // The save question may keep the window open; otherwise the undo folders go.
    if (!closeProjectAndUndo()) {
        event->ignore();
        return;
    }
    if (m_pPostProcessingDock)
        m_pPostProcessingDock->CollapsiblesToSettings();
    HDRProgressThread::ForcedQuit();
    event->accept();
    persistentWindowState(true);
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
