#pragma once
// HDRMainWindow, the program's one top-level window. This part holds its
// frame: construction and closing, the style hooks, the options and style
// colour dialogs (made by a window factory), the quit, options, save-project
// and information actions with their menus and shortcuts, the title, the
// start message and the GUI-thread pixmap hand-off.

#include "document/imageloader.h"
#include "document/postprocessing.h"
#include "document/seriesseams.h"
#include "ui/mainwindow/mainwindowseams.h"
#include "ui/mainwindow/resultsaveflow.h"
#include "ui/toolkit/stylechooser.h"
#include "ui/views/viewhost.h"
#include "ui/toolkit/toolkitseams.h"

#include <QMainWindow>
#include <QMutex>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWaitCondition>

#include <functional>
#include <memory>

class QToolBar;

class CShortcutHelper;
class CExposure;
class CExposureSeries;
class IExposure;
class HDRImagePreview;
class HDRPixmapCreator;
class IBatchWindow;
class IOptionsWindow;
class IGeometryPainter;
class IStencilPainter;
class QAction;
class QComboBox;
class QDialog;
class QMenu;
class QShortcut;
class HDRTimelineDockWidget;
class ITimelineUndoHost;
namespace ProjectFiles { class CUndoRoot; }

// Makes the windows the main window owns; the application supplies the real
// dialogs, tests may supply none.
class IWindowFactory {
public:
    virtual ~IWindowFactory() = default;
    // The options dialog (it loads "options.ini" and pushes it into the engine).
    virtual IOptionsWindow* CreateOptionsWindow(QWidget* parent) = 0;
    // The style colour dialog of the free style (a QDialog).
    virtual IStyleColorDialog* CreateStyleSelectWindow(QWidget* parent) = 0;
    // The workflow windows of later parts; null while a window is not built.
    virtual IExposureSeriesDock* CreateExposureSeriesDock(QWidget*) { return nullptr; }
    virtual IHDROperatorDock* CreateHDROperatorDock(QWidget*) { return nullptr; }
    virtual IPresetsDock* CreatePresetsDock(QWidget*) { return nullptr; }
    virtual IPostProcessingDock* CreatePostProcessingDock(QWidget*) { return nullptr; }
    virtual IRawDevelopment* CreateRawDevelopment(QWidget*) { return nullptr; }
    virtual IUsageCounters* CreateStatistic(QObject*) { return nullptr; }
    // The docks around the stage; start is true for the start-page dock.
    virtual IMainInfoDock* CreateInfoDock(QWidget*, bool /*start*/) { return nullptr; }
    virtual IExifDock* CreateExifDock(QWidget*) { return nullptr; }
    virtual IHistogramDock* CreateHistogramDock(QWidget*) { return nullptr; }
    virtual ICompareDock* CreateCompareDock(QWidget*) { return nullptr; }
    // The batch window; it may read the main window's HDR operator and presets docks.
    virtual IBatchWindow* CreateBatchWindow(QWidget*) { return nullptr; }
    // Dialogs the window's openers run modally.
    virtual QDialog* CreateAboutWindow(QWidget*) { return nullptr; }
    virtual QDialog* CreateStatisticWindow(QWidget*) { return nullptr; }
    virtual QDialog* CreateBenchmarkWindow(QWidget*) { return nullptr; }
    virtual QDialog* CreatePanoramaView(QWidget*) { return nullptr; }
    virtual QDialog* CreatePresetCombineWindow(QWidget*) { return nullptr; }
    // The crop and caption window of the save (CCropWindow).
    virtual IResultCropWindow* CreateCropWindow(QWidget*) { return nullptr; }
    // The clone-correction and mask geometry painters (ui/editors/editorseams.h).
    virtual IStencilPainter* CreateStencilPainter(QWidget*) { return nullptr; }
    virtual IGeometryPainter* CreateGeometryPainter(QWidget*) { return nullptr; }
    // The undo timeline dock (ui/views/hdrtimelinedockwidget.h).
    virtual HDRTimelineDockWidget* CreateTimelineDock(QWidget*) { return nullptr; }
};

class HDRMainWindow : public QMainWindow,
                      public IToolkitMainWindow,
                      public IStyleRefreshHost,
                      public ISeriesMainWindow,
                      public IPostProcessingHost,
                      public IViewHost,
                      public IResultExportHost {
    Q_OBJECT
public:
    // The integer is not used. The window is built hidden; the start-up shows it.
    HDRMainWindow(int unused, QString startMessage, IWindowFactory* factory = nullptr);
    ~HDRMainWindow() override;

    // ---- pixmap hand-off ----
    // Converts the creator's image on the GUI thread and returns when done.
    void CreatePixmapThreadSafe(HDRPixmapCreator* creator);

    // ---- style (forwarded to the style engine) ----
    QString ReplaceStyleSheetCodes(QString sheet) const;
    bool setStyleSheetFromCSS();
    void setStyleCodeMenuActTextIcon();
    int StyleCodeFromFolderSettings() const;
    int StyleColorFromFolderSettings() const;
    bool StyleBorderFromFolderSettings() const;
    // The current style code, colour (0xRRGGBB) and rounded-border flag.
    int StyleCode() const;
    unsigned int StyleColor() const;
    bool StyleBorder() const;

    // ---- title and folders ----
    void updateWindowTitle();
    QString SettingsPath() const { return m_sSettingsPath; }

    // ---- IToolkitMainWindow ----
    QRect MainWindowGeometry() const override { return geometry(); }
    bool IsShowInfoActChecked() const override;
    void SetShowInfoActChecked(bool checked) override;
    void showInfoClickedExternal(bool checked) override;
    void SetPreviewRadiusText(const QString& text) override;

    // ---- IStyleRefreshHost ----
    QWidget* StyledMainWindow() override { return this; }
    void RefreshImagePreviewFrame() override;
    void RefreshPresetsStage() override;
    void RefreshPostProcessingDock() override;
    void UpdateCompareWindow() override;

    // ---- ISeriesMainWindow ----
    void MarkHDRStarted() override;
    void RefreshCompareWindow() override { UpdateCompareWindow(); }
    int GetSaveMode() const override { return m_iSaveMode; }

    // ---- IPostProcessingHost ----
    void PostProcessingStarted() override { MarkChanged(); }
    void PostProcessingTime(int milliseconds) override;

    // ---- IViewHost ----
    const unsigned short* GetActualResultBuffer(int* width, int* height) override;
    const unsigned short* GetActualHDRBuffer(int* width, int* height) override;
    const unsigned short* GetActualPPBuffer(int* width, int* height) override;
    const unsigned short* GetActualMasterBuffer(int* width, int* height) override;
    bool IsHDRStage() const override;
    bool IsGammaViewChecked() const override { return false; }
    SDocumentInfo DocumentInfo() const override;
    void ChangeOrientation(EOrientation) override {}
    void MarkChanged() override;
    void CountUsage(const char* key, int delta) override;
    void PreviewModeToggled(bool on) override { previewModeToggled(on); }
    void RealTimeModeToggled(bool on) override { realTimeModeToggled(on); }
    void RefreshClicked() override { refreshClicked(); }
    void WeightDrawQuit() override {}

    // ---- IResultExportHost ----
    QWidget* DialogParent() override { return this; }
    bool IsPostProcessingStage() const override;
    bool IsPreviewMode() const override;
    float PreviewScalingFactor() const override;
    void TogglePreviewMode() override;
    IResultCropWindow* CropWindow() override { return m_pCropWindow; }
    QString GetPath(int index) const override;
    QString MasterPath() const override;
    QString GetMergedFilename(int quality) const override;
    IUsageCounters* UsageCounter() override { return m_pStatistic; }
    SResultWriterContext WriterContext() override;

    // ---- workflow ----
    enum EDockWidget { eDW_NONE = 0, eDW_EXPOSURESERIES = 1, eDW_HDROPERATOR = 2, eDW_PRESETS = 3, eDW_POSTPROCESSING = 4 };
    void updateDockWidgets(int which);
    void loadExposureLatitude(QStringList paths);
    void loadExposureLatitudeVecSExp(QVector<SExposure>& exposures);
    void prepareExposureSeries();
    void postLoad(bool fromProject, bool projectInPostProcessing, bool unused);
    // Discards the document and returns to the start state; false when the
    // user keeps the current project.
    bool newProject();
    unsigned int getProgressThreadDelay() const;
    // ---- projects and undo points (hdrmainwindow_project.cpp) ----
    bool saveProjectFile();
    void openProjectFile();
    // 1 saved, 0 discard, -1 keep the document.
    int askToSaveProject(bool ask);
    void SaveUndo();
    void RestoreTimeline(int index);
    void setUndoLevel(int level);
    void AutoDeleteTimeline();
    // The folder of this instance's undo folders (trailing "/").
    QString UndoRoot() const;
    // The undo picture size: a third of the screen width, 4:3.
    QSize GetTimeLineImageSize() const;
    // Steps of newProject: gamma off and the save question (false: keep the
    // document); the project and undo state of the start page.
    bool confirmDiscardProject();
    void resetProjectAndUndoState();
    // closeEvent's part: the save question, then the undo folders go. False
    // keeps the window open.
    bool closeProjectAndUndo();
    void updateExposureDisplay(bool keepDisplayed, bool render, bool dockRefreshOnly);
    void showResultImage();
    // Makes the histogram of image (or of the chain's result, or none) at
    // w x h for the dock or the preview; its 32 x 28 twin becomes the
    // toolbar action's icon. A negative size is the image's own.
    void updateHistogramDisplay(IExposure* image, bool fromChain, int w, int h, bool toDock);
    // The dock's histogram of image (or of the chain's result) at its picture size.
    void dockHistogram(IExposure* image, bool fromChain);
    // Shows an exposure's picture (colour) or weight map; the same again returns to the result.
    void displayExposure(CExposure* exposure, bool colour);
    // Steps of the post-processing stage after the HDR result changed: the
    // selected tile is applied again and every thumbnail recomputed.
    void recomputeAllPresets(unsigned int categories);
    void updatePostProcessing(CPostProcessing* chain, IPresetTile* tile, bool thumbnail);
    void updatePostProcessing(CPostProcessing* chain, IPresetTile* tile);
    void editExposureLatitude();
    // The main window's pixmap on the central preview (also kept for tests).
    void ShowPreviewPixmap(const QPixmap& pixmap);
    // True while a load, recalculation or modal dialog of the window runs.
    bool IsBusy() const { return m_iBusy > 0; }

    CExposureSeries* m_pExposureSeries = nullptr;
    CPostProcessing* m_pPostProcessing = nullptr;
    CExposure* m_pDisplayedExposure = nullptr;
    bool m_bDisplayedAsColour = false;
    HDRImagePreview* m_pImagePreview = nullptr;
    QToolBar* toolBarImage = nullptr;
    QPixmap m_PreviewPixmap;
    QString m_sImageFilter;

    IExposureSeriesDock* m_pExposureSeriesDock = nullptr;
    IHDROperatorDock* m_pHDROperatorDock = nullptr;
    IPresetsDock* m_pPresetsDock = nullptr;
    IPostProcessingDock* m_pPostProcessingDock = nullptr;
    IExifDock* m_pExifDock = nullptr;
    IHistogramDock* m_pHistogramDock = nullptr;
    IMainInfoDock* m_pInfoDockWidget = nullptr;
    IMainInfoDock* m_pInfoDockWidgetStart = nullptr;
    ICompareDock* m_pCompareDock = nullptr;
    IRawDevelopment* m_pRAWDevelopment = nullptr;
    IUsageCounters* m_pStatistic = nullptr;
    IBatchWindow* m_pBatchWindow = nullptr;
    QDialog* m_pAboutWindow = nullptr;
    QDialog* m_pStatisticWindow = nullptr;
    QDialog* m_pBenchmarkWindow = nullptr;
    QDialog* m_pPanoramaView = nullptr;
    QDialog* m_pPresetCombineWindow = nullptr;
    IResultCropWindow* m_pCropWindow = nullptr;
    IGeometryPainter* m_pGeometryPainter = nullptr;
    IStencilPainter* m_pStencilPainter = nullptr;
    // A file path the window resolves in place of the file dialogs (tests).
    std::function<QStringList(bool several)> m_OpenDialogHook;

    // Actions, in their order of creation.
    QAction* newProjectAct = nullptr;
    QAction* openProjectAct = nullptr;
    QAction* saveProjectAct = nullptr;
    QAction* saveProjectAsAct = nullptr;
    QAction* loadImageAct = nullptr;
    QAction* exposureSeriesBrowseAct = nullptr;
    QAction* saveResultImageAct = nullptr;
    QAction* printResultImageAct = nullptr;
    QAction* sendResultImageToVorlixAct = nullptr;
    QAction* sendResultImageToAct = nullptr;
    QAction* setUndoAct = nullptr;
    QAction* getUndoAct = nullptr;
    QAction* timelineWindowAct = nullptr;
    QAction* panoramaViewAct = nullptr;
    QAction* compareWindowAct = nullptr;
    QAction* exitAct = nullptr;
    QAction* postProcessingAct = nullptr;
    QAction* rawDevelopmentAct = nullptr;
    QAction* restoreDefaultWindowStateAct = nullptr;
    QAction* propertiesAct = nullptr;
    QAction* batchProcessingAct = nullptr;
    QAction* homepageAct = nullptr;
    QAction* updatePageAct = nullptr;
    QAction* helpAct = nullptr;
    QAction* statisticAct = nullptr;
    QAction* benchmarkAct = nullptr;
    QAction* aboutAct = nullptr;
    QAction* showInfoAct = nullptr;
    QAction* showExifAct = nullptr;
    QAction* showHistogramAct = nullptr;
    QAction* showFullscreenAct = nullptr;
    QAction* showHistogramMenuAct = nullptr;
    QAction* frameColorAct = nullptr;
    QComboBox* m_pVorlixComboBox = nullptr;
    QShortcut* zoomInShortcut = nullptr;
    QShortcut* zoomOutShortcut = nullptr;
    QShortcut* zoomActualSizeShortcut = nullptr;

    QMenu* fileMenu = nullptr;
    QMenu* projectMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* extrasMenu = nullptr;
    QMenu* infoMenu = nullptr;
    QToolBar* toolBar = nullptr;

    IOptionsWindow* m_pOptionsWindow = nullptr;
    IStyleColorDialog* m_pStyleSelectWindow = nullptr;
    CStyleChooser* m_pStyleChooser = nullptr;

    QString m_sSettingsPath;
    QString m_sSaveFilter;
    QString m_sProjectFilter;
    QString m_sStartText;
    QString m_sProjectPath;
    QString m_sCaptionSuffix;
    QString m_sHomepageURL;
    QString m_sUpdatePageURL;
    // Installed programs of the family (display names and applications).
    QStringList m_slVorlixDisplayNames;
    QStringList m_slVorlixApplications;
    int m_iUndoLevel = -1;
    int m_iChangeCounter = 0;
    int m_iSaveMode = 8;
    // Projects and undo points.
    HDRTimelineDockWidget* m_pTimelineDock = nullptr;
    // Answers the project dialogs in place of a file dialog (tests): the
    // chosen path, empty for cancel.
    std::function<QString(bool save)> m_ProjectDialogHook;

    // ---- docks, layout, links ----
    // Refills the main toolbar: the start filling, or the document filling.
    void setupToolBar(bool document);
    // Writes (true) or reads (false) "window.ini".
    void persistentWindowState(bool save);
    // The default layout: toolbars, docks, 80 % of the screen, centred.
    void restoreDefaultWindowState();
    // The stored text of key in "lastsaveformat.ini"; empty without one.
    QString pathfromFolderSettings(const QString& key) const;
    void pathToFolderSettings(QString path, const QString& key, bool folderOnly);
    // The options folder of a kind of file dialog (IOptionsWindow::EPaths); empty without one.
    QString OptionsFolder(int kind) const;
    // Where an open dialog starts: the options folder, else the remembered
    // folder, else the pictures folder.
    QString DialogStartFolder(const QString& optionsFolder) const;
    // The help document of the current language.
    QString HelpPath() const;
    // Fills the texture store's needed slots from the "textures" folder.
    void LoadAllTextures();
    void LoadTexture(const QString& fileName, int slot, int width, int height, int bytesPerPixel, int type);
    void ClearAllSelectedExposureDockStates();

    // ---- hand-off, web animation and depth map (hdrmainwindow_handoff.cpp) ----
    // The family scan; fills m_slVorlixDisplayNames, m_slVorlixApplications
    // and m_slVorlixExecutables.
    void LoadAllVorlixSeriesIniInformation();
    void SaveSelectedVorlixVersionToIni();
    // Writes the result into the private hand-off folder and starts the program.
    void saveResultImageAndSendTo(QString application);
    // Starts the program the identifier names with the arguments; warns when it cannot.
    void startExternalProgram(QString application, QStringList arguments);
    // The post-processing dock's call: (false, 1, quality, 0, 0, 0, 0, 0, author, title).
    void CalcWebAnim(bool metadata, int unused, int quality, int size, int, int, int, int, QString author,
                     QString title);
    void SaveDepthMap();
    QStringList m_slVorlixExecutables; // the file the scan found for each entry

signals:
    void CreatePixmapThreadSafeSignal();

public slots:
    // Hand-off (hdrmainwindow_handoff.cpp).
    void LoadSelectedVorlixVersionFromIni();
    void SelectedVorlixComboBoxChanged(int);
    void sendResultImageToVorlix();
    void sendResultImageTo();
    // Saves the result (crop, dialog, preview question, write); with a path
    // no crop window or dialog. True only when a file was committed.
    bool saveResultImage(QString path = QString(), bool sendTo = false);
    // Prints the result the user sees; true when a page was printed.
    bool printResultImage();
    // A start message or a file-open path.
    void InterpretReceivedMessage(QString message);
    void loadImage(QString path = QString());
    void postProcessing();
    void refreshClicked();
    void realTimeModeToggled(bool on);
    void previewModeToggled(bool on);
    void activateExposure(CExposure* exposure, bool active);
    void globalWeightChanged(CExposure* exposure, float weight);
    void synExposureValueChanged(CExposure* exposure, float value);
    void deleteExposure(CExposure* exposure);
    void syntheticExposure(CExposure* exposure);
    void displayExposureColour(CExposure* exposure);
    void displayExposureWeightmap(CExposure* exposure);
    void showLimitsClicked();
    void geometryClicked();
    void updateHistogram();
    void showHistogram();
    void operatorUpdated();
    void operatorUpdatedForced();
    void UpdateHDRForced();
    void exit();
    void properties();
    // ---- projects and undo points (hdrmainwindow_project.cpp) ----
    // True only when the project was committed to disk.
    bool saveProject();
    bool saveProjectAs();
    void openProject() { openProject(QString()); }
    void openProject(QString path);
    bool copyDir(QString source, QString target, bool overwrite);
    bool removeDir(QString path);
    void setUndo();
    void getUndo();
    void clearUndo();
    void showInfoClicked();
    void styleSheetActClicked();
    void updateCurrentPostProcessing();
    // Stages and the docks around them.
    void dockVisibilityChanged(bool visible);
    void highlightPostProcessingDockWidget();
    void hideAllSubWindows();
    void infoDockClosed();
    void showExifClicked();
    void exifDockClosed();
    void showHistogramClicked();
    void histogramDockClosed();
    void OnCompareWindowAct();
    void OnCompareWindowClosed();
    void OnTimelineWindowAct() {}
    void OnTimelineWindowClosed();
    void showFullscreenClicked() {}
    void resetWindowState() { restoreDefaultWindowState(); }
    void frameColorClicked(bool checked);
    // Window openers.
    void statistic();
    void rawDevelopment();
    void benchmark();
    void panoramaView();
    void about();
    void exposureSeriesBrowse();
    void batchProcessing();
    void presetCombineClicked();
    // Links and help.
    void homepage();
    void updatePage();
    void help();
    // Signals of the preview and the windows that do nothing here.
    void alignScrollClicked() {}
    void alignRotateClicked() {}
    void alignZoomClicked() {}
    void alignDetailClicked() {}
    void alignMikroClicked() {}
    void weightDrawQuit() {}
    void SetPaintPanoramaActionByMode() {}
    void showHeatmapClicked() {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void pushToFront();
    // The project and undo actions, the timeline dock and the undo root.
    void createProjectAndUndo(IWindowFactory* factory);
    // The main-image run of a chain on the working copy.
    void runChainOnMainImage(CPostProcessing* chain, bool preview);
    // The thumbnail run of a chain for a tile from the given source.
    void runChainOnThumbnail(CPostProcessing* chain, IPresetTile* tile, unsigned short* source,
                             const QSize& sourceSize);
    void count(const char* key, int value = 1);
    // Steps 3 and 4 of a change in the HDR stage: recompute at once in
    // real-time mode (forced or when the state changed), else enable refresh.
    void recalculateAfterChange(bool compareState, bool force, bool keepDisplayed);
    // The message that arrived while the window was busy.
    void InterpretDeferredMessage();

    void LoadAllLinkIniInformation();
    QAction* makeAction(const char* icon, const QString& text, bool enabled = true);
    void createActions();
    void createMenus();
    void createToolBar();
    void createDocks(IWindowFactory* factory);
    void createWindows(IWindowFactory* factory);
    void createImagePreview();
    // Greys the commands whose window the factory did not make.
    void disableActionsWithoutWindow();
    // Runs one of the opener dialogs modally after counting key (when given).
    void runOpener(QDialog* dialog, const char* key);
    // The batch window in its batch (0) or browser (1) mode, then what it chose.
    void runBatchWindow(int mode);
    // Connects action's trigger to the slot of that signature when this
    // window has one (slots other parts of the program add).
    void connectOptionalSlot(QAction* action, const char* slot);
    // Calls the slot of that signature when the target (this window when
    // null) has one; false when not.
    bool invokeOptionalSlot(const char* slot, QObject* target = nullptr);
    void createShortcuts();
    // Sets the action's shortcut from the current category when the file has
    // one; the action keeps its own otherwise. Only while createShortcuts runs.
    void setShortcut(QAction* action, const QString& name);
    // The action a "Menu" shortcut name belongs to, or null (not built yet).
    QAction* ShortcutAction(const QString& name) const;

private slots:
    void CreatePixmapThreadSafeSlot();

private:
    // Hand-off of one worker's image to the GUI thread: workers take
    // m_HandOffSerial for the whole hand-off, so one runs at a time.
    QMutex m_HandOffSerial;
    QMutex m_PixmapMutex;
    QWaitCondition m_PixmapCondition;
    HDRPixmapCreator* m_pPendingCreator = nullptr;
    CShortcutHelper* m_pShortcutHelper = nullptr; // only while createShortcuts runs
    bool m_bPixmapDone = false;
    int m_iBusy = 0;
    QString m_sDeferredMessage;
    bool m_bMessageDeferred = false;
    friend class CBusyScope;
    std::shared_ptr<ProjectFiles::CUndoRoot> m_pUndoRoot;
    std::shared_ptr<ITimelineUndoHost> m_pTimelineHost;
};

// The main window; null before its construction.
extern HDRMainWindow* g_pHDRMainWindow;
