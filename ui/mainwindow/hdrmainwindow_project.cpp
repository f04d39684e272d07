// The main window's projects and undo points: saving, opening and discarding
// a project (the file logic lives in projectfiles.cpp), the undo points in
// the numbered folders of this instance's undo root, and the timeline dock.

#include "ui/mainwindow/hdrmainwindow.h"

#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/kernelrunner.h"
#include "document/project.h"
#include "engine/MP_calc.h"
#include "engine/core/settings.h"
#include "ui/mainwindow/projectfiles.h"
#include "ui/mainwindow/projectseams.h"
#include "ui/mainwindow/resultimagewriter.h"
#include "ui/mainwindow/resultsaveformat.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/modalhook.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>
#include <iostream>
#include <memory>
#include <new>
#include <vector>

namespace PF = ProjectFiles;

namespace {

QIcon themeIcon(const QString& name) { return QIcon::fromTheme(name, QIcon()); }

// The remembered folder of the project dialogs ("lastDialogPath").
// Sets an engine switch for the lifetime of the object and puts the old
// value back on every path.
class CSwitchScope {
public:
    CSwitchScope(int (*get)(), void (*set)(int), int value) : m_Set(set), m_iOld(get()) { set(value); }
    ~CSwitchScope() { m_Set(m_iOld); }
    CSwitchScope(const CSwitchScope&) = delete;
    CSwitchScope& operator=(const CSwitchScope&) = delete;

private:
    void (*m_Set)(int);
    int m_iOld;
};

// The timeline's view of the main window.
class CTimelineHost : public ITimelineUndoHost {
public:
    explicit CTimelineHost(HDRMainWindow* window) : m_pWindow(window) {}
    bool removeDir(const QString& path) override { return m_pWindow->removeDir(path); }
    void setUndoLevel(int level) override { m_pWindow->setUndoLevel(level); }
    void SaveUndo() override { m_pWindow->SaveUndo(); }
    void RestoreTimeline(int index) override { m_pWindow->RestoreTimeline(index); }
    int ChangeCounter() const override { return m_pWindow->m_iChangeCounter; }
    int UndoLevel() const override { return m_pWindow->m_iUndoLevel; }
    QString UndoRoot() const override { return m_pWindow->UndoRoot(); }

private:
    HDRMainWindow* m_pWindow;
};

QString undoProjectPath(const QString& root, int index)
{
    return PF::WithProjectSuffix(PF::UndoFolder(root, index) + QStringLiteral("/undo"));
}

// The pictures of an undo point, committed with its project by the save
// that SaveUndo starts.
std::vector<PF::SBesideFile>* g_pUndoPictures = nullptr;

struct SUndoPicturesScope {
    explicit SUndoPicturesScope(std::vector<PF::SBesideFile>* files) { g_pUndoPictures = files; }
    ~SUndoPicturesScope() { g_pUndoPictures = nullptr; }
    SUndoPicturesScope(const SUndoPicturesScope&) = delete;
    SUndoPicturesScope& operator=(const SUndoPicturesScope&) = delete;
};

std::vector<IProjectPainter*>& painters()
{
    static std::vector<IProjectPainter*> registered;
    return registered;
}

// The entry of the project filter that the project dialogs select. The
// filter starts with ";;", so its first entry is empty; selecting that one
// would list every file under an empty "Files of type".
QString ProjectEntry(const QString& filter)
{
    const QStringList entries = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    return entries.isEmpty() ? QString() : entries.last();
}

} // namespace

void ProjectSeams::AddPainter(IProjectPainter* painter)
{
    if (painter && std::find(painters().begin(), painters().end(), painter) == painters().end())
        painters().push_back(painter);
}

void ProjectSeams::RemovePainter(IProjectPainter* painter)
{
    painters().erase(std::remove(painters().begin(), painters().end(), painter), painters().end());
}

void ProjectSeams::ClearPainters()
{
    for (IProjectPainter* painter : std::vector<IProjectPainter*>(painters()))
        painter->Clear();
}

// ---- construction --------------------------------------------------------------------

void HDRMainWindow::createProjectAndUndo(IWindowFactory* factory)
{
    m_sProjectFilter = QStringLiteral(";;") + tr("Lumivex Projektdatei") + QStringLiteral("(*") +
                       QLatin1String(PF::kProjectSuffix) + QStringLiteral(")");

    // Actions another part of the window made already are kept as they are.
    auto make = [this](QAction*& action, const char* icon, const QString& text, bool enabled) {
        if (action)
            return false;
        action = new QAction(themeIcon(QLatin1String(icon)), text, this);
        action->setEnabled(enabled);
        return true;
    };
    if (make(newProjectAct, "newProject", tr("Startseite"), true)) {
        connect(newProjectAct, &QAction::triggered, this, [this] { newProject(); });
        if (fileMenu)
            fileMenu->insertAction(fileMenu->actions().value(0), newProjectAct);
    }
    if (make(openProjectAct, "openProject", tr("Projekt öffnen..."), true)) {
        connect(openProjectAct, &QAction::triggered, this, [this] { openProject(QString()); });
        if (projectMenu)
            projectMenu->insertAction(projectMenu->actions().value(0), openProjectAct);
    }
    if (saveProjectAct)
        connect(saveProjectAct, &QAction::triggered, this, &HDRMainWindow::saveProject, Qt::UniqueConnection);
    if (make(saveProjectAsAct, "saveProjectAs", tr("Projekt speichern unter..."), false)) {
        connect(saveProjectAsAct, &QAction::triggered, this, &HDRMainWindow::saveProjectAs);
        if (projectMenu)
            projectMenu->addAction(saveProjectAsAct);
    }
    if (make(setUndoAct, "UndoSpeichern", tr("Undopunkt setzen"), false)) {
        connect(setUndoAct, &QAction::triggered, this, &HDRMainWindow::setUndo);
        if (extrasMenu) {
            extrasMenu->addSeparator();
            extrasMenu->addAction(setUndoAct);
        }
    }
    if (make(getUndoAct, "UndoLaden", tr("Undopunkt holen"), false)) {
        connect(getUndoAct, &QAction::triggered, this, &HDRMainWindow::getUndo);
        if (extrasMenu)
            extrasMenu->addAction(getUndoAct);
    }
    if (make(timelineWindowAct, "Timeline", tr("Timeline"), false))
        timelineWindowAct->setCheckable(true);

    m_pUndoRoot = std::make_shared<PF::CUndoRoot>(m_sSettingsPath);
    m_pTimelineHost = std::make_shared<CTimelineHost>(this);
    if (factory)
        m_pTimelineDock = factory->CreateTimelineDock(this);
    if (m_pTimelineDock) {
        m_pTimelineDock->setObjectName(QStringLiteral("timeline_window"));
        m_pTimelineDock->SetUndoHost(m_pTimelineHost.get());
        addDockWidget(Qt::BottomDockWidgetArea, m_pTimelineDock);
        m_pTimelineDock->hide();
        connect(m_pTimelineDock, &HDRTimelineDockWidget::SigClosed, this, [this] {
            if (timelineWindowAct)
                timelineWindowAct->setChecked(false);
        });
    }
}

QString HDRMainWindow::UndoRoot() const
{
    return m_pUndoRoot ? m_pUndoRoot->Root() : m_sSettingsPath;
}

QSize HDRMainWindow::GetTimeLineImageSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int w = screen ? screen->geometry().width() / 3 : 0;
    return QSize(w, w * 3 / 4);
}

// ---- folder helpers ----------------------------------------------------------------------

bool HDRMainWindow::copyDir(QString source, QString target, bool overwrite)
{
    return PF::CopyDir(source, target, overwrite);
}

bool HDRMainWindow::removeDir(QString path) { return PF::RemoveDir(path); }

// ---- discarding ----------------------------------------------------------------------------

int HDRMainWindow::askToSaveProject(bool)
{
    QMessageBox box;
    QPushButton* yes = box.addButton(tr("Ja"), QMessageBox::ActionRole);
    box.addButton(tr("Nein"), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(tr("Abbrechen"), QMessageBox::ActionRole);
    box.setIcon(QMessageBox::Question);
    box.setText(tr("Warnung"));
    box.setInformativeText(tr("Projekt nicht gespeichert. Speichern?"));
    box.setStyleSheet(ReplaceStyleSheetCodes(QStringLiteral(
        "QLabel { color: #STYLE_TEXTCOLOR; } QMessageBox { background-color: #STYLE_BACKGROUND; } QPushButton { "
        "min-width:85px; min-height: 20px;  background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 "
        "#STYLE_BACKGROUND+3, stop: 1 #STYLE_BACKGROUND+2); border: 1px solid qlineargradient(x1: 0, y1: 0, x2: 0, "
        "y2: 1, stop: 0 #STYLE_BORDERCOLOR+1, stop: 1 #STYLE_BORDERCOLOR+3); border-radius: STYLE_BORDERRADIUS-1; "
        "color: #STYLE_TEXTCOLOR+1; } QPushButton:hover { background-color: qlineargradient(x1: 0, y1: 0, x2: 0, "
        "y2: 1, stop: 0 #STYLE_MAINCOLOR-2, stop: 1 #STYLE_MAINCOLOR-2); border-radius: STYLE_BORDERRADIUS-1; "
        "border: 1px solid #STYLE_MAINCOLOR+3; }")));
    _gui::ExecModal(&box, [&box] { return box.exec(); });
    if (box.clickedButton() == yes)
        return saveProject() ? 1 : -1; // a cancelled or failed save keeps the work
    if (box.clickedButton() == cancel)
        return -1;
    return 0;
}

bool HDRMainWindow::confirmDiscardProject()
{
    MP_UI_SetDisplayGammaHDRMode(0);
    if (MP_UI_GetAskForSaveProjectMode() && saveProjectAct && saveProjectAct->isEnabled())
        return askToSaveProject(true) != -1;
    return true;
}

void HDRMainWindow::resetProjectAndUndoState()
{
    if (m_pTimelineDock)
        m_pTimelineDock->Reset();
    ProjectSeams::ClearPainters();
    for (QAction* action : {saveProjectAct, saveProjectAsAct, setUndoAct, getUndoAct, timelineWindowAct})
        if (action)
            action->setEnabled(false);
    m_sProjectPath.clear();
    setUndoLevel(-1);
    m_iChangeCounter = 0;
}

bool HDRMainWindow::closeProjectAndUndo()
{
    if (m_pExposureSeries && !confirmDiscardProject())
        return false;
    clearUndo();
    return true;
}

// ---- saving ----------------------------------------------------------------------------------

bool HDRMainWindow::saveProject() { return m_sProjectPath.isEmpty() ? saveProjectAs() : saveProjectFile(); }

bool HDRMainWindow::saveProjectAs()
{
    const QString optionsFolder = GetPath(IOptionsWindow::ePATH_PROJECTS);
    const QString start = optionsFolder.isEmpty() ? pathfromFolderSettings(QStringLiteral("lastDialogPath")) : optionsFolder;
    QString name = m_pExposureSeries ? m_pExposureSeries->GetMergedFilename(100) : QString();
    if (name.isEmpty())
        name = tr("MyProject");
    QString selected = ProjectEntry(m_sProjectFilter);
    const QString chosen =
        m_ProjectDialogHook
            ? m_ProjectDialogHook(true)
            : QFileDialog::getSaveFileName(this, tr("Projekt speichern"), start + QLatin1Char('/') + name,
                                           m_sProjectFilter, &selected);
    if (chosen.isEmpty())
        return false;
    if (optionsFolder.isEmpty())
        pathToFolderSettings(chosen, QStringLiteral("lastDialogPath"), true);
    const QString path = PF::WithProjectSuffix(chosen);
    if (path != chosen && QFileInfo::exists(path)) {
        // The dialog asked about the name without the extension only.
        HDRMessageBox box(this, QMessageBox::Question, tr("Warnung"),
                          tr("Das Projekt %1 gibt es bereits. Soll es ersetzt werden?").arg(path), tr("Ja"),
                          tr("Nein"));
        _gui::ExecModal(&box, [&box] { return box.exec(); });
        if (!box.YesClicked())
            return false;
    }
    const QString previous = std::exchange(m_sProjectPath, path);
    count("m_iProjectsSaved");
    if (saveProjectFile())
        return true;
    m_sProjectPath = previous;
    updateWindowTitle();
    return false;
}

bool HDRMainWindow::saveProjectFile()
{
    m_iSaveMode = PF::kSaveMode;
    HDRProgressThread guard(1, 0);
    HDRProgressThread::OpenCategory(9, false);

    PF::SSaveRequest request;
    request.projectPath = m_sProjectPath;
    request.postProcessing = !IsHDRStage();
    request.saveMode = m_iSaveMode;
    request.saveTimeline = MP_UI_GetSaveTimeLineMode() != 0;
    request.undoLevel = m_iUndoLevel;
    request.undoRoot = UndoRoot();
    request.participants = [](QSettings& settings, const QString& folder) { return IProject::Save(settings, folder); };
    request.progress = [](float fraction) { HDRProgressThread::AddMessage(9, fraction); };
    if (g_pUndoPictures)
        request.besideFiles = *g_pUndoPictures;

    QString failed;
    if (PF::SaveProject(request, &failed) != PF::ESaveResult::Saved) {
        HDRProgressThread::AddMessage(9, tr("Dateifehler:") + QLatin1Char(' ') + failed + QLatin1Char(' ') +
                                             tr("konnte nicht erstellt werden"),
                                      2);
        if (saveProjectAct)
            saveProjectAct->setEnabled(true);
        return false;
    }
    HDRProgressThread::AddMessage(9, 1.0f);
    if (saveProjectAct)
        saveProjectAct->setEnabled(false);
    updateWindowTitle();
    return true;
}

// ---- opening ------------------------------------------------------------------------------------

void HDRMainWindow::openProject(QString path)
{
    if (m_pExposureSeries && !newProject())
        return;
    if (path.isEmpty()) {
        const QString optionsFolder = GetPath(IOptionsWindow::ePATH_PROJECTS);
        const QString start = optionsFolder.isEmpty() ? pathfromFolderSettings(QStringLiteral("lastDialogPath")) : optionsFolder;
        QString selected = ProjectEntry(m_sProjectFilter);
        path = m_ProjectDialogHook
                   ? m_ProjectDialogHook(false)
                   : QFileDialog::getOpenFileName(this, tr("Projekt laden"), start, m_sProjectFilter, &selected);
        if (!path.isEmpty() && optionsFolder.isEmpty())
            pathToFolderSettings(path, QStringLiteral("lastDialogPath"), true);
        count("m_iProjectsLoaded");
        if (path.isEmpty())
            return;
    }
    m_sProjectPath = path;
    openProjectFile();
}

void HDRMainWindow::openProjectFile()
{
    const PF::SNames names = PF::Names(m_sProjectPath);
    PF::RecoverProject(m_sProjectPath); // a save that stopped half-way is finished or undone
    if (!PF::ProjectComplete(m_sProjectPath)) {
        QMessageBox box(QMessageBox::Warning, tr("Warnung"), tr("Projektdateien unvollständig."),
                        QMessageBox::Cancel, this);
        _gui::ExecModal(&box, [&box] { return box.exec(); });
        m_sProjectPath.clear();
        updateWindowTitle();
        return;
    }
    QSettings settings(m_sProjectPath, QSettings::IniFormat);
    m_iSaveMode = PF::ReadSaveMode(settings);
    std::cout << "Loading with Mode: " << m_iSaveMode << std::endl;
    if (PF::ReadVersion(settings) != PF::kVersion) {
        HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"), tr("Projektdateien sind nicht kompatibel."),
                          QString(), tr("Ok"));
        _gui::ExecModal(&box, [&box] { return box.exec(); });
        m_sProjectPath.clear();
        return;
    }

    m_pExposureSeries = new CExposureSeries();
    bool loaded = false;
    {
        HDRProgressThread guard(1, 0);
        loaded = IProject::Load(settings, names.dataFolder);
    }
    if (m_pHDROperatorDock) {
        m_pExposureSeries->m_strKernelName = m_pHDROperatorDock->GetKernelName();
        m_pHDROperatorDock->GetParameterValues(m_pExposureSeries->m_pfParameterValues);
    }
    if (!loaded || m_pExposureSeries->m_vExposures.isEmpty()) {
        // The participant said what failed; nothing half-loaded stays. A
        // series read without its picture (no count in the file) failed
        // silently: the files are incomplete.
        if (loaded) {
            QMessageBox box(QMessageBox::Warning, tr("Warnung"), tr("Projektdateien unvollständig."),
                            QMessageBox::Cancel, this);
            _gui::ExecModal(&box, [&box] { return box.exec(); });
        }
        if (saveProjectAct)
            saveProjectAct->setEnabled(false);
        newProject();
        return;
    }
    {
        HDRProgressThread guard(1, getProgressThreadDelay());
        m_pExposureSeries->HasStateChanged(true);
        m_pExposureSeries->HDR(false, true);
    }
    postLoad(true, settings.value(QStringLiteral("PostProcessing")).toBool(), false);
    if (saveProjectAct)
        saveProjectAct->setEnabled(false);

    const int level = PF::RecoverableUndoLevel(names.dataFolder);
    if (level >= -1) {
        setUndoLevel(level);
        const QString root = UndoRoot();
        {
            HDRProgressThread guard(1, 0);
            HDRProgressThread::OpenCategory(16, false);
            HDRProgressThread::SetTitle(tr("Undo recovery"));
            HDRProgressThread::AddMessage(16, 0.0f);
            for (int i = 0; i <= level; ++i) {
                const QString source = PF::UndoFolder(names.dataFolder, i);
                const QString target = PF::UndoFolder(root, i);
                std::cout << "copyDir: " << source.toStdString() << " -> " << target.toStdString() << std::endl;
                removeDir(target);
                copyDir(source, target, true);
                HDRProgressThread::AddMessage(16, float(i + 1) / float(level + 1) * 0.8f);
            }
            if (m_pTimelineDock) {
                m_pTimelineDock->Reset();
                std::unique_ptr<uint16_t[]> thumbnail(new (std::nothrow) uint16_t[PF::kThumbBytes / 2]);
                for (int j = 0; thumbnail && j <= level; ++j) {
                    const QString folder = PF::UndoFolder(names.dataFolder, j) + QLatin1Char('/');
                    PF::ReadThumbnail(folder + QStringLiteral("undo.dat"), thumbnail.get());
                    const QString title =
                        QSettings(folder + QStringLiteral("datetime.ini"), QSettings::IniFormat)
                            .value(QStringLiteral("datetime"))
                            .toString();
                    m_pTimelineDock->AddItem(thumbnail.get(), PF::kThumbWidth, PF::kThumbHeight, j, title,
                                             j == level);
                    HDRProgressThread::AddMessage(16, float(j + 1) / float(level + 1) * 0.2f + 0.8f);
                }
            }
            HDRProgressThread::AddMessage(16, 1.0f);
        }
        AutoDeleteTimeline();
    }
    updateWindowTitle();
}

// ---- undo points ------------------------------------------------------------------------------

void HDRMainWindow::setUndoLevel(int level)
{
    m_iUndoLevel = level < 0 ? -1 : level;
    if (!getUndoAct)
        return;
    getUndoAct->setEnabled(level >= 0);
    QString icon;
    if (m_iUndoLevel < 0)
        icon = QStringLiteral("UndoLaden");
    else if (m_iUndoLevel <= 8)
        icon = QString::asprintf("UndoLaden%02d", m_iUndoLevel + 1);
    else if (m_iUndoLevel == 9)
        icon = QStringLiteral("UndoLaden10");
    else
        icon = QStringLiteral("UndoLaden10p");
    getUndoAct->setIcon(themeIcon(icon));
    getUndoAct->setProperty("iconName", icon);
}

void HDRMainWindow::SaveUndo()
{
    const QString projectPath = m_sProjectPath;
    const bool saveEnabled = saveProjectAct && saveProjectAct->isEnabled();
    const int previousLevel = m_iUndoLevel;
    const int previousCounter = m_iChangeCounter;
    CSwitchScope timeline(MP_UI_GetSaveTimeLineMode, MP_UI_SetSaveTimeLineMode, 0);

    setUndoLevel(m_iUndoLevel + 1);
    const int n = m_iUndoLevel;
    m_iChangeCounter = 2;
    const QString root = UndoRoot();
    const QString folder = PF::UndoFolder(root, n);
    m_sProjectPath = undoProjectPath(root, n);

    // A point that cannot be made completely leaves everything as it was.
    auto abandon = [&]() {
        setUndoLevel(previousLevel);
        m_iChangeCounter = previousCounter;
        m_sProjectPath = projectPath;
        if (saveProjectAct)
            saveProjectAct->setEnabled(saveEnabled);
        removeDir(folder);
        updateWindowTitle();
    };

    // The pictures are committed together with the point's project: a point
    // is either the old one or the new one, pictures included.
    int w = 0, h = 0;
    const unsigned short* result = GetActualResultBuffer(&w, &h);
    const QSize canvasSize = GetTimeLineImageSize();
    PF::SUndoPictures pictures;
    const PF::EUndoPictures made = PF::MakeUndoPictures(result, w, h, canvasSize.width(), canvasSize.height(),
                                                        unsigned(MP_UI_GetBackgroundColor()), pictures);
    if (made == PF::EUndoPictures::OutOfMemory) {
        {
            HDRProgressThread guard(1, 0);
            IExposure::SendOutOfMemMessage();
        }
        abandon();
        return;
    }
    // Without a result the point has no pictures; a picture that cannot be
    // written is only that picture lost. The preview picture is written
    // before the save, so that the writer's notes stay out of its progress.
    const bool hasPictures = made == PF::EUndoPictures::Done;
    QString preview;
    if (hasPictures && QDir().mkpath(folder)) {
        QTemporaryFile file(folder + QStringLiteral("/.undo-XXXXXX.jpg"));
        file.setAutoRemove(false);
        if (file.open()) {
            preview = file.fileName();
            file.close();
            if (!ResultImageWriter::SaveImageFile(preview, pictures.canvas.get(), 98, false, canvasSize.width(),
                                                  canvasSize.height(), QString(), nullptr)) {
                QFile::remove(preview);
                preview.clear();
            }
        }
    }
    std::vector<PF::SBesideFile> files = {
        {QStringLiteral("undo.jpg"),
         [&](const QString& path) { return !preview.isEmpty() && QFile::rename(preview, path); }},
        {QStringLiteral("undo.dat"),
         [&](const QString& path) { return hasPictures && PF::WriteThumbnail(path, pictures.thumbnail.get()); }},
        {QStringLiteral("datetime.ini"),
         [](const QString& path) {
             QSettings datetime(path, QSettings::IniFormat);
             datetime.setValue(QStringLiteral("datetime"), PF::UndoTimeText());
             datetime.sync();
             return datetime.status() == QSettings::NoError;
         }},
    };

    bool saved = false;
    {
        CSwitchScope compression(MP_UI_GetBufferCompressionMode, MP_UI_SetBufferCompressionMode, 1);
        CSwitchScope threads(MP_UI_GetUseMultithreadingMode, MP_UI_SetUseMultithreadingMode, 1);
        SUndoPicturesScope withPictures(&files);
        saved = saveProject();
    }
    if (!preview.isEmpty())
        QFile::remove(preview); // not taken by a failed save
    if (!saved) {
        abandon();
        return;
    }
    if (getUndoAct)
        getUndoAct->setEnabled(true);
    if (saveProjectAct)
        saveProjectAct->setEnabled(saveEnabled);

    if (m_pTimelineDock)
        m_pTimelineDock->AddItem(pictures.thumbnail.get(), PF::kThumbWidth, PF::kThumbHeight, n, PF::UndoTimeText(), true);
    count("m_iUndoSaved");
    m_sProjectPath = projectPath;
    updateWindowTitle();
}

void HDRMainWindow::setUndo()
{
    SaveUndo();
    AutoDeleteTimeline();
}

void HDRMainWindow::RestoreTimeline(int index)
{
    const QString projectPath = m_sProjectPath;
    const QString path = undoProjectPath(UndoRoot(), index);
    {
        CSwitchScope ask(MP_UI_GetAskForSaveProjectMode, MP_UI_SetAskForSaveProjectMode, 0);
        CSwitchScope compression(MP_UI_GetBufferCompressionMode, MP_UI_SetBufferCompressionMode, 1);
        const int level = m_iUndoLevel;
        const int lastIndex = m_pTimelineDock ? m_pTimelineDock->m_iLastIndex : level;
        newProject();
        openProject(path);
        if (m_pTimelineDock)
            m_pTimelineDock->m_iLastIndex = lastIndex;
        m_iUndoLevel = level;
    }
    if (getUndoAct)
        getUndoAct->setEnabled(true);
    // The restored state differs from the saved project: closing asks.
    if (saveProjectAct)
        saveProjectAct->setEnabled(m_pExposureSeries != nullptr);
    count("m_iUndoLoaded");
    m_sProjectPath = projectPath;
    updateWindowTitle();
    if (m_pTimelineDock)
        m_pTimelineDock->SetTitle();
}

void HDRMainWindow::getUndo()
{
    if (m_pTimelineDock)
        m_pTimelineDock->m_bKeepItems = true;
    const int level = m_iUndoLevel;
    RestoreTimeline(level);
    if (m_pTimelineDock)
        m_pTimelineDock->DeleteItem(level);
}

void HDRMainWindow::AutoDeleteTimeline()
{
    if (!m_pTimelineDock)
        return;
    static const int kMaxima[] = {1, 5, 10, 20, 50, 0x7FFFFFF};
    const int index = m_pOptionsWindow ? m_pOptionsWindow->GetUndoMaxAmountIndex() : -1;
    const int maximum = (index >= 0 && index < 6) ? kMaxima[index] : 1;
    const double minimumFree = m_pOptionsWindow ? m_pOptionsWindow->GetUndoSafetyGB() : 0.0;
    const int amount = m_pTimelineDock->GetAutoDeleteAmount(maximum, minimumFree);
    if (amount < 1)
        return;
    HDRProgressThread guard(1, 0);
    HDRProgressThread::OpenCategory(17, false);
    HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Undo-Daten bereinigen"));
    m_pTimelineDock->AutoDeleteCheck(maximum, minimumFree, amount);
}

void HDRMainWindow::clearUndo()
{
    const QString root = UndoRoot();
    const QStringList names = QDir(root).entryList(QDir::NoDotAndDotDot | QDir::AllDirs | QDir::Hidden, QDir::Unsorted);
    {
        HDRProgressThread guard(1, 0);
        HDRProgressThread::OpenCategory(17, false);
        HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Undo-Daten bereinigen"));
        const int total = int(names.size());
        for (int i = 0; i < total; ++i) {
            if (PF::IsUndoFolderName(names[i])) {
                const QString path = root + names[i];
                removeDir(path);
                std::cout << "removeDir: " << path.toStdString() << std::endl;
            }
            HDRProgressThread::AddMessage(17, float(i + 1) / float(total));
        }
        if (m_pTimelineDock)
            m_pTimelineDock->Reset();
    }
}
