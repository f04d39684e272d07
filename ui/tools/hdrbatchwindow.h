#pragma once
// HDRBatchWindow, the modal batch dialog with its two modes: batch processing
// (window mode 0: a source folder's images become series boxes with previews,
// "Starten" computes every checked series at full size and saves it into the
// target folder) and the image-data browser (mode 1: the same list, one series
// is opened as the document with "Als Projekt öffnen").
//
// Four kinds of worker thread: HDRBatchScanThread lists the source folder;
// HDRBatchLoadThread loads one file of the scan at idle priority;
// HDRBatchPreviewsThread only queues one preview request per box (the
// previews are computed on the GUI thread); HDRBatchProcessThread runs the
// batch (CBatchRunner, with its own decode and encode threads) on a snapshot
// taken at the start.

#include "ui/mainwindow/mainwindowseams.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/tools/batchjob.h"
#include "ui/tools/batchseams.h"

#include <FreeImage.h>

#include <QMutex>
#include <QRecursiveMutex>
#include <QThread>
#include <QVarLengthArray>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class CExposureBatch;
class HDRBatchExposureWidget;
class HDRBatchWindow;
class HDRExposureLabel;
class HDRProgressThread;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTimer;
class QVBoxLayout;

class HDRBatchLoadThread : public QThread {
    Q_OBJECT
public:
    HDRBatchLoadThread() = default;
    ~HDRBatchLoadThread() override = default;

    // Type from the content, else from the name; RAW files give their
    // embedded preview and JPEG files decode fast.
    static FIBITMAP* LoadPreviewBitmap(const QString& path);

    QString m_strFilePath;
    FIBITMAP* m_pBitmap = nullptr; // owned until the window takes or frees it
    float m_fLuminance = -1.0f;

protected:
    void run() override;
};

// Lists the source folder off the GUI thread (BatchFiles::ScanFolder); a
// newer folder cancels it: the walk ends at the next entry and its result is
// dropped.
class HDRBatchScanThread : public QThread {
    Q_OBJECT
public:
    HDRBatchScanThread(const QString& folder, bool recursive) : m_strFolder(folder), m_bRecursive(recursive) {}
    ~HDRBatchScanThread() override = default;

    const QString m_strFolder;
    const bool m_bRecursive;
    std::atomic<bool> m_bCancel{false};
    BatchFiles::SScanResult m_Result; // read after finished()

protected:
    void run() override;
};

class HDRBatchPreviewsThread : public QThread {
    Q_OBJECT
public:
    explicit HDRBatchPreviewsThread(unsigned count) : m_uiCount(count) {}
    ~HDRBatchPreviewsThread() override = default;

    unsigned m_uiCount;
    std::atomic<bool> m_bStop{false};

signals:
    void calculatePreview(quint32 index);

protected:
    void run() override;
};

class HDRBatchProcessThread : public QThread {
    Q_OBJECT
public:
    explicit HDRBatchProcessThread(HDRBatchWindow* window) : m_pBatchWindow(window) {}
    ~HDRBatchProcessThread() override = default;

    HDRBatchWindow* m_pBatchWindow;
    int m_iWritten = 0;

signals:
    void removeBatchExposure(quint32 index);

protected:
    void run() override;
};

class HDRBatchWindow : public HDRInfoDialog, public IBatchWindow {
    Q_OBJECT
public:
    HDRBatchWindow(QWidget* parent, IBatchOperatorSource* operatorSource, IBatchPresetSource* presetSource);
    ~HDRBatchWindow() override;

    // ---- IBatchWindow ----
    void setWindowMode(int mode) override;
    void setDragDropFolder(const QString& folder) override { m_strDragDropFolder = folder; }
    int Exec() override { return exec(); }
    QVector<SExposure> OpenAsProject() const override { return m_vecOpenAsProject; }
    QStringList SelectedFiles() const override { return m_lstSelectedFiles; }

    void disableBatchExposure(unsigned index);
    int getNumVisibleBatchExposures() const;
    void clearPreviewLabel();

    // ---- scan, series, previews ----
    void startImageLoading();
    void stopImageLoading();
    bool startLoadThreads();
    HDRBatchExposureWidget* addBatchExposureSeries(CExposureBatch* exposure);
    bool appendToBatchExposureSeries(int index, CExposureBatch* exposure);
    void clearBatchExposures();
    static bool caseInsensitiveLessThan(const QString& a, const QString& b);
    void startPreviewCalculation(int first, int second, bool withHDR);
    void stopPreviewCalculation();

    // ---- run ----
    void startBatchProcess();
    // The run's snapshot, taken by startBatchProcess on the GUI thread.
    QVector<SBatchJob> m_vecJobs;
    SBatchRunSettings m_RunSettings;

    // Folder dialog (title, start folder) -> chosen folder or empty; tests
    // answer it. The default runs a directories-only file dialog.
    static std::function<QString(const QString&, const QString&)> s_FolderDialog;
    // The user settings key file of the last dialog folder.
    static QString pathfromFolderSettings(const QString& key);
    static void pathToFolderSettings(const QString& key, const QString& path, bool folderOnly);

    // ---- members ----
    QStringList m_lstSelectedFiles;
    QGroupBox* m_pProcessingGroupBox = nullptr;
    QGroupBox* m_pOutputGroupBox = nullptr;
    IBatchOperatorSource* m_pHDROperatorDock = nullptr;
    IBatchPresetSource* m_pPresetsDockWidget = nullptr;
    QCheckBox* m_pRecursiveCheckBox = nullptr;
    QLineEdit* m_pSourcePathEdit = nullptr;
    QPushButton* m_pSourceButton = nullptr;
    QComboBox* m_pMatchModeComboBox = nullptr;
    QComboBox* m_pFormatComboBox = nullptr;
    QLineEdit* m_pTargetPathEdit = nullptr;
    QPushButton* m_pTargetButton = nullptr;
    QComboBox* m_pHDRPresetComboBox = nullptr;
    QComboBox* m_pPresetComboBox = nullptr;
    QCheckBox* m_pPanoramaCheckBox = nullptr;
    int m_iSavedPanoramaMode = 0;
    unsigned m_iSavedKernelOutput = 0;
    unsigned m_iSavedStructureType = 0;
    unsigned m_iSavedTonemappingMultipleMode = 0;
    QString m_strImagesTitle;
    QGroupBox* m_pImagesGroupBox = nullptr;
    QScrollArea* m_pScrollArea = nullptr;
    QWidget* m_pScrollContent = nullptr;
    QVBoxLayout* m_pSeriesLayout = nullptr;
    QVarLengthArray<HDRBatchExposureWidget*, 256> m_aBatchExposures;
    QLabel* m_pStatusLabel = nullptr;
    QProgressBar* m_pProgressBar = nullptr;
    HDRProgressThread* m_pProgressThread = nullptr;
    std::atomic<bool> m_bCancelRequested{false};
    QPushButton* m_pDefaultButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    QPushButton* m_pCloseBrowserButton = nullptr;
    QPushButton* m_pStartButton = nullptr;
    bool m_bStartRequested = false;
    QString m_strDragDropFolder;
    bool m_bLoading = false;
    QString m_strLoadPath;
    QVector<HDRBatchLoadThread*> m_vecLoadThreads;
    unsigned m_uiLoadedCount = 0;
    int m_iRunningLoadThreads = 0;
    HDRBatchPreviewsThread* m_pPreviewsThread = nullptr;
    bool m_bPreviewsFinished = false;
    int m_iPreviewFirst = -1;
    int m_iPreviewSecond = -1;
    HDRBatchProcessThread* m_pProcessThread = nullptr;
    QRecursiveMutex m_Mutex;
    QVector<SExposure> m_vecOpenAsProject;
    bool m_bPreviewWithHDR = true;
    int m_iWindowMode = 0;
    QString m_strSavedInfoText;
    // Preview requests of an older pass or list carry an older number.
    quint32 m_uiPreviewGeneration = 0;
    // The engine and dock state is put back once per show.
    bool m_bStateSaved = false;
    // Typed source text is applied after a pause (or at once on Return or
    // when the field loses the focus); text the program sets is applied at once.
    QTimer* m_pPathTimer = nullptr;
    static constexpr int kTypingPauseMs = 500;
    // The folder listing of the current scan; cancelled listings still ending.
    HDRBatchScanThread* m_pScanThread = nullptr;
    QVector<HDRBatchScanThread*> m_vecCancelledScans;
    // Called on the listing thread before it lists a folder (tests hold a
    // listing there).
    static std::function<void(const QString& folder)> s_ScanHook;

    static unsigned s_uiCurrentPPPresetIdx;
    static QLabel* s_pPreviewLabel;
    static HDRExposureLabel* s_pCurrentExposureLabel;
    static bool s_bContextMenuOpen;

public slots:
    void pathChanged(const QString& text);
    void selectSource();
    void selectTarget();
    void matchModeSelected(int index);
    void recursiveClicked();
    void operatorSelected(int index);
    void presetSelected(int index);
    void panoramaModeClicked();
    void defaultClicked();
    void cancelClicked();
    void startClicked();
    void rawDevelopmentClosed();
    void contextMenuOpenSeriesAsProject();
    void contextMenuRemoveSeries();
    void loadThreadFinished();
    void scanThreadFinished();
    void sourceTextChanged(const QString& text);
    void sourceEditingFinished();
    void targetTextChanged(const QString& text);
    void calculatePreview(quint32 index);
    void previewsThreadFinished();
    void progressCancelRequested();
    void batchProcessFinished();
    void removeBatchExposure(quint32 index) { disableBatchExposure(index); }
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Puts back the engine and dock state saved at show (once per show).
    void restoreSavedState();
    void runPreviewRequest(quint32 index, quint32 generation);
    void setImagesTitle(int count);
    // Ends the current folder listing (it finishes on its own; its result is dropped).
    void cancelScan();
    // The rest of a scan once its folder is listed: the load threads.
    void startListedImageLoading(const BatchFiles::SScanResult& result);
};
