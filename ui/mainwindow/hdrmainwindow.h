#pragma once
// HDRMainWindow, the program's one top-level window. This part holds its
// frame: construction and closing, the style hooks, the options and style
// colour dialogs (made by a window factory), the quit, options, save-project
// and information actions with their menus and shortcuts, the title, the
// start message and the GUI-thread pixmap hand-off.

#include "ui/toolkit/stylechooser.h"
#include "ui/toolkit/toolkitseams.h"

#include <QMainWindow>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

class CShortcutHelper;
class HDRPixmapCreator;
class IOptionsWindow;
class QAction;
class QMenu;

// Makes the windows the main window owns; the application supplies the real
// dialogs, tests may supply none.
class IWindowFactory {
public:
    virtual ~IWindowFactory() = default;
    // The options dialog (it loads "options.ini" and pushes it into the engine).
    virtual IOptionsWindow* CreateOptionsWindow(QWidget* parent) = 0;
    // The style colour dialog of the free style (a QDialog).
    virtual IStyleColorDialog* CreateStyleSelectWindow(QWidget* parent) = 0;
};

class HDRMainWindow : public QMainWindow, public IToolkitMainWindow, public IStyleRefreshHost {
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
    void RefreshImagePreviewFrame() override {}
    void RefreshPresetsStage() override {}
    void RefreshPostProcessingDock() override {}
    void UpdateCompareWindow() override {}

    // Actions of this part.
    QAction* exitAct = nullptr;
    QAction* propertiesAct = nullptr;
    QAction* saveProjectAct = nullptr;
    QAction* showInfoAct = nullptr;

    QMenu* fileMenu = nullptr;
    QMenu* projectMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* extrasMenu = nullptr;

    IOptionsWindow* m_pOptionsWindow = nullptr;
    IStyleColorDialog* m_pStyleSelectWindow = nullptr;
    CStyleChooser* m_pStyleChooser = nullptr;

    QString m_sSettingsPath;
    QString m_sStartText;
    QString m_sProjectPath;
    QString m_sCaptionSuffix;
    QString m_sHomepageURL;
    QString m_sUpdatePageURL;
    int m_iUndoLevel = -1;
    int m_iChangeCounter = 0;
    int m_iSaveMode = 8;

signals:
    void CreatePixmapThreadSafeSignal();

public slots:
    // A start message or a file-open path.
    void InterpretReceivedMessage(QString message);
    void exit();
    void properties();
    void showInfoClicked();
    void styleSheetActClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;

    void LoadAllLinkIniInformation();
    // The default layout: 80 % of the screen, centred.
    void restoreDefaultWindowState();
    void createActions();
    void createMenus();
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
};

// The main window; null before its construction.
extern HDRMainWindow* g_pHDRMainWindow;
